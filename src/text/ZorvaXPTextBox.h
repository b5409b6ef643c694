// ZorvaXPTextBox: an edit field inside a thin coloured border that changes colours while the
// field has the focus. Built from real constituents: the platform's single-line EDIT window
// txtNormal and multi-line EDIT window txtMultiLineV (only one shown at a time; made when the box
// first turns multi-line), the owner-drawn vertical scroll bar VScroll (a ZorvaXPVScrollBar, made
// when first shown) in place of the field's own, and the private button Button (a
// ZorvaTextButton, made when first shown). The surface draws the border (DrawTextBoxBorder), the
// required marker (DrawRequiredMarker: an 8 x 8 outline at the top-left holding a five-row
// triangle in RequiredColor) and, in multi-line mode, the status strip (DrawStatusStrip: a
// separator, a line-by-line gradient, StatusText and the gripper dots).
//
// Single-line: the field is one font line high, centred, from x = 5 (12 when Required) to 2 px
// before the button or the right border; a surface lower than the field plus 2 grows. Filters
// run before KeyPress: Enter raises OnEnter, Escape OnKeyEsc, NumbersOnly discards anything but
// digits, backspace, space and period; UpperCase rewrites the text after each Change. With
// UseFormat, losing the focus replaces the text by the host runtime's Format(text, FormatType).
// Multi-line: the field fills the box left of VScroll above the optional 19-pixel status strip;
// switching to multi-line hides the button and clears the format for good. SyncTextScroll keeps
// VScroll and the field in step both ways.
//
// Files: OpenTextFile and SaveTextFile hold the file in the ANSI code page (Windows-1252; a
// character outside it is saved as "?") with CR LF line ends; the save is atomic, so a failed
// write leaves the old file whole. Both swallow their errors.
//
// Our choices:
//   - VScroll's Value is the field's first visible line and its Max the last line's number, so
//     the thumb at the bottom shows the last line at the top;
//   - Scrolling(1)/(2) scroll one line but never past the line Value names (the Value change that
//     comes with them has already put the text there);
//   - in multi-line mode the field starts 1 px inside the border (9 px when Required, clear of
//     the marker) and VScroll is 17 px wide at the right edge inside the border;
//   - the status strip takes the bottom 19 rows: a separator in the border colour, 17 lines from
//     StatusGradient1 moving 1/14 of the difference per line and stopping at StatusGradient2,
//     and the bottom border; the text starts 4 px in and ends before the gripper; the gripper's six
//     dots stand 3 px apart with their white pixel to the right;
//   - the default StatusText is "Ready";
//   - OpenTextFile keeps the file's line ends, turns a lone LF into CR LF and drops the one line
//     end that SaveTextFile appends, so a save and an open give back the same text; a file of
//     more than 256 MB is not read;
//   - focus colours follow the visible field's focus; SelStart, SelLength and SelText are not
//     persisted (they describe the live field);
//   - the forwarded mouse events carry the field's own pixel coordinates.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/ControlBase.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/ui/User.h"
#include "range/ZorvaXPSpin.h"
#include "range/ZorvaXPVScrollBar.h"
#include "buttons/ZorvaTextButton.h"

namespace zxp::text {

enum class ScrollBarsConst : int32_t { VerticalScroll = 0, None = 1 };
enum class ButtonAlignConst : int32_t { Left = 0, Right = 1 };

// Type information for the enumerations above (the interface's names and values).
const host::EnumType& describeEnum(ScrollBarsConst);
const host::EnumType& describeEnum(ButtonAlignConst);
using range::AlignmentConstants;

class ZorvaXPTextBox final : public foundation::ControlBase {
 public:
  // Creation defaults.
  static constexpr OLE_COLOR kRequiredColor = 0x0061FF;
  static constexpr OLE_COLOR kBackColor = 0xFFFFFF;
  static constexpr OLE_COLOR kBackColorOver = 0xC0FFFF;
  static constexpr OLE_COLOR kBorderColor = 0xB99D7F;
  static constexpr OLE_COLOR kBorderColorOver = 0x0080FF;
  static constexpr OLE_COLOR kForeColor = 0x000000;
  static constexpr OLE_COLOR kForeColorOver = 0x000000;
  static constexpr OLE_COLOR kScrollBarGradient1 = 0xFDE5D3;
  static constexpr OLE_COLOR kScrollBarGradient2 = 0xECBE9E;
  static constexpr OLE_COLOR kStatusForeColor = 0x800000;
  static constexpr OLE_COLOR kStatusGradient1 = 0xFCE2CD;
  static constexpr OLE_COLOR kStatusGradient2 = 0xE5AF89;
  static constexpr OLE_COLOR kButtonForeColor = 0xFF0000;
  static constexpr OLE_COLOR kButtonGradientColor1 = 0xFFFFFF;
  static constexpr OLE_COLOR kButtonGradientColor2 = 0xF0C797;
  static constexpr int32_t kButtonWidth = 20;
  static constexpr const char* kStatusText = "Ready";
  static constexpr const char* kButtonCaption = "...";
  // Fixed geometry and colours.
  static constexpr COLORREF kGripDot = RGB(69, 109, 166);
  static constexpr int kMinSingle = 19, kMinMulti = 41, kMinMultiStatus = 59;
  static constexpr int kStatusHeight = 19;  // the separator's distance from the bottom edge
  static constexpr int kScrollWidth = 17;
  static constexpr uint64_t kMaxFileBytes = 256ull << 20;

  ZorvaXPTextBox();

  // ---- Properties ----
  std::string Text() const;
  void setText(const std::string& New_Text);
  bool MultiLine() const { return m_MultiLine; }
  void setMultiLine(bool New_MultiLine);
  bool Locked() const { return m_Locked; }
  void setLocked(bool New_Locked);
  bool Required() const { return m_Required; }
  void setRequired(bool New_Required);
  OLE_COLOR RequiredColor() const { return m_RequiredColor; }
  void setRequiredColor(OLE_COLOR New_RequiredColor);
  OLE_COLOR BackColor() const { return m_BackColor; }
  void setBackColor(OLE_COLOR New_BackColor);
  OLE_COLOR BackColorOver() const { return m_BackColorOver; }
  void setBackColorOver(OLE_COLOR New_BackColorOver);
  OLE_COLOR BorderColor() const { return m_BorderColor; }
  void setBorderColor(OLE_COLOR New_BorderColor);
  OLE_COLOR BorderColorOver() const { return m_BorderColorOver; }
  void setBorderColorOver(OLE_COLOR New_BorderColorOver);
  OLE_COLOR ForeColor() const { return m_ForeColor; }
  void setForeColor(OLE_COLOR New_ForeColor);
  OLE_COLOR ForeColorOver() const { return m_ForeColorOver; }
  void setForeColorOver(OLE_COLOR New_ForeColorOver);
  void setFont(host::FontRef New_Font);
  AlignmentConstants Alignment() const { return m_Alignment; }
  void setAlignment(AlignmentConstants New_Alignment);
  int32_t MaxLength() const { return m_MaxLength; }
  void setMaxLength(int32_t New_MaxLength);
  ScrollBarsConst ScrollBars() const { return m_ScrollBars; }
  void setScrollBars(ScrollBarsConst New_ScrollBars);
  OLE_COLOR ScrollBarGradient1() const { return m_ScrollBarGradient1; }
  void setScrollBarGradient1(OLE_COLOR New_ScrollBarGradient1);
  OLE_COLOR ScrollBarGradient2() const { return m_ScrollBarGradient2; }
  void setScrollBarGradient2(OLE_COLOR New_ScrollBarGradient2);
  bool StatusBar() const { return m_StatusBar; }
  void setStatusBar(bool New_StatusBar);
  const std::string& StatusText() const { return m_StatusText; }
  void setStatusText(const std::string& New_StatusText);
  OLE_COLOR StatusForeColor() const { return m_StatusForeColor; }
  void setStatusForeColor(OLE_COLOR New_StatusForeColor);
  OLE_COLOR StatusGradient1() const { return m_StatusGradient1; }
  void setStatusGradient1(OLE_COLOR New_StatusGradient1);
  OLE_COLOR StatusGradient2() const { return m_StatusGradient2; }
  void setStatusGradient2(OLE_COLOR New_StatusGradient2);
  bool ShowGripper() const { return m_ShowGripper; }
  void setShowGripper(bool New_ShowGripper);
  bool ButtonVisible() const { return m_ButtonVisible; }
  void setButtonVisible(bool New_ButtonVisible);
  std::string ButtonCaption() const;
  void setButtonCaption(const std::string& New_ButtonCaption);
  int32_t ButtonWidth() const { return m_ButtonWidth; }
  void setButtonWidth(int32_t New_ButtonWidth);
  ButtonAlignConst ButtonAlign() const { return m_ButtonAlign; }
  void setButtonAlign(ButtonAlignConst New_ButtonAlign);
  host::PictureRef ButtonPicture() const;
  void setButtonPicture(host::PictureRef New_ButtonPicture);
  host::PictureRef ButtonPictureOnOver() const;
  void setButtonPictureOnOver(host::PictureRef New_ButtonPictureOnOver);
  OLE_COLOR ButtonForeColor() const;
  void setButtonForeColor(OLE_COLOR New_ButtonForeColor);
  host::FontRef ButtonFont() const;
  void setButtonFont(host::FontRef New_ButtonFont);
  OLE_COLOR ButtonGradientColor1() const;
  void setButtonGradientColor1(OLE_COLOR New_ButtonGradientColor1);
  OLE_COLOR ButtonGradientColor2() const;
  void setButtonGradientColor2(OLE_COLOR New_ButtonGradientColor2);
  bool ButtonEnabled() const;
  void setButtonEnabled(bool New_ButtonEnabled);
  bool UpperCase() const { return m_UpperCase; }
  void setUpperCase(bool New_UpperCase);
  bool NumbersOnly() const { return m_NumbersOnly; }
  void setNumbersOnly(bool New_NumbersOnly);
  bool OnOverSelAll() const { return m_OnOverSelAll; }
  void setOnOverSelAll(bool New_OnOverSelAll);
  bool UseFormat() const { return m_UseFormat; }
  void setUseFormat(bool New_UseFormat);
  const std::string& FormatType() const { return m_FormatType; }
  void setFormatType(const std::string& New_FormatType);
  int32_t SelStart() const;
  void setSelStart(int32_t New_SelStart);
  int32_t SelLength() const;
  void setSelLength(int32_t New_SelLength);
  std::string SelText() const;
  void setSelText(const std::string& New_SelText);
  void setEnabled(bool New_Enabled);
  // The visible field's window.
  int32_t hwnd() const { return static_cast<int32_t>(field()); }

  // ---- Methods ----
  // Layout and paint.
  void RedrawMe();
  std::string GetSelectedText() const;
  // Text becomes the file's contents; any error leaves Text as it was.
  void OpenTextFile(const std::string& lpstrFilePath);
  // Writes Text and a line end to the file, atomically; errors are swallowed.
  void SaveTextFile(const std::string& lpstrFilePath);
  void ToLowerCase();
  void ToUpperCase();

  // ---- Events (Click ... MouseUp come from the control base) ----
  host::Event<> ButtonClick;
  host::Event<> Change;
  host::Event<> OnKeyEsc;
  host::Event<> OnEnter;

  // ---- State a host or a test may look at ----
  HWND field() const { return m_MultiLine ? txtMultiLineV : txtNormal; }
  HWND singleLineField() const { return txtNormal; }
  // The multi-line field, once the box has been multi-line (0 before).
  HWND multiLineField() const { return txtMultiLineV; }
  // The bar, once the box has shown it (nullptr before).
  range::ZorvaXPVScrollBar* scrollBar() const { return VScroll; }
  // The button, made here when the box has not shown it yet.
  buttons::ZorvaTextButton& button() { return ensureButton(); }
  bool fieldFocused() const { return m_FieldFocused; }
  // Whether the multi-line field has more lines than it shows (plus one).
  bool SyncTextScroll();

  const host::MemberTable& memberTable() const override;

 protected:
  void UserControl_Initialize() override;
  void UserControl_InitProperties() override;
  std::string defaultText() const;
  void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(host::PropertyBag& PropBag) override;
  void UserControl_Resize() override { RedrawMe(); }
  void UserControl_GotFocus() override;
  void UserControl_LostFocus() override {}
  void UserControl_Terminate() override;
  void redrawResting() override { RedrawMe(); }
  bool resizeRedrawsResting() const override { return true; }

 private:
  static LRESULT surfaceProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT ctlColor(HDC dc);
  HWND makeField(DWORD style);
  void fieldNotified(HWND from, WORD code);
  void fieldKey(HWND from, UINT message, WPARAM& code);
  void fieldMouse(HWND from, UINT message, WPARAM keys, LPARAM position);
  void focusChanged(bool gained);
  void applyFont();
  void applyAlignment();
  int lineHeight() const;
  void DrawTextBoxBorder();
  void DrawRequiredMarker();
  void DrawStatusStrip();
  // VScroll's Max from the field's lines, its Value from the first visible line, enabled when
  // scrolling is needed; each set only when it changes.
  void syncBar();
  range::ZorvaXPVScrollBar& ensureBar();
  buttons::ZorvaTextButton& ensureButton();
  HWND ensureMultiLineField();
  void scrollTextTo(int32_t firstLine);
  void barScrolling(int16_t way);
  int32_t firstVisibleLine() const;
  int32_t lastLine() const;

  bool m_MultiLine = false;
  bool m_Locked = false;
  bool m_Required = false;
  OLE_COLOR m_RequiredColor = kRequiredColor;
  OLE_COLOR m_BackColor = kBackColor;
  OLE_COLOR m_BackColorOver = kBackColorOver;
  OLE_COLOR m_BorderColor = kBorderColor;
  OLE_COLOR m_BorderColorOver = kBorderColorOver;
  OLE_COLOR m_ForeColor = kForeColor;
  OLE_COLOR m_ForeColorOver = kForeColorOver;
  AlignmentConstants m_Alignment = AlignmentConstants::vbLeftJustify;
  int32_t m_MaxLength = 0;
  ScrollBarsConst m_ScrollBars = ScrollBarsConst::VerticalScroll;
  bool m_StatusBar = false;
  std::string m_StatusText = kStatusText;
  OLE_COLOR m_StatusForeColor = kStatusForeColor;
  OLE_COLOR m_StatusGradient1 = kStatusGradient1;
  OLE_COLOR m_StatusGradient2 = kStatusGradient2;
  bool m_ShowGripper = true;
  bool m_ButtonVisible = false;
  int32_t m_ButtonWidth = kButtonWidth;
  ButtonAlignConst m_ButtonAlign = ButtonAlignConst::Left;
  bool m_UpperCase = false;
  bool m_NumbersOnly = false;
  bool m_OnOverSelAll = false;
  bool m_UseFormat = false;
  std::string m_FormatType;

  bool m_FieldFocused = false;
  bool syncing_ = false;  // the bar is being set from the text: its events do not scroll back
  HWND txtNormal = 0;
  HWND txtMultiLineV = 0;
  range::ZorvaXPVScrollBar* VScroll = nullptr;  // made when first shown (ensureBar)
  OLE_COLOR m_ScrollBarGradient1 = kScrollBarGradient1;
  OLE_COLOR m_ScrollBarGradient2 = kScrollBarGradient2;
  // Button is made the first time the box shows it (ensureButton); until then its properties
  // wait here. Most text boxes never show one, and the button is a control of its own.
  buttons::ZorvaTextButton* Button = nullptr;
  struct ButtonProperties {
    std::string caption = kButtonCaption;
    host::PictureRef picture, pictureOver;
    OLE_COLOR foreColor = kButtonForeColor;
    host::FontRef font;
    OLE_COLOR gradient1 = kButtonGradientColor1, gradient2 = kButtonGradientColor2;
    bool enabled = true;
  } buttonProperties_;
  GdiObject fieldFont_;
  GdiObject fieldBrush_;
  WNDPROC surfaceDefault_ = nullptr;
};

}  // namespace zxp::text
