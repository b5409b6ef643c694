// ZorvaXPSpin: the numeric up-down field. A real edit field (the platform's EDIT class, the
// constituent `Text`) shows the value at the left; the arrow pair `Button` (a ZorvaSpinScroll)
// stands at the right edge, full height; a 1-pixel border in BorderColor frames the control.
// The range and the value live in the arrow pair; the spin box clamps them (unlike the scroll
// bars), shows the value as decimal text and raises Change when the field's text changes.
//
// Stepping: pressing an arrow raises UpArrowMouseDown (DownArrowMoseDown), steps once at once
// and then every 200 ms (tmrValueUp, tmrValueDown) while held; each step first takes the value
// from the field's text (typed text wins), then steps by 1 unless at the limit. Releasing raises
// UpArrowMoseUp (DownArrowMoseUp) and stops at once.
//
// Keys in the field: Enter raises OnEnter, Escape OnKeyEsc; every character but backspace, space,
// period and the digits is refused (KeyAscii becomes 0); then KeyPress(KeyAscii) is raised, and a
// handler that changes KeyAscii changes what the field gets. While the field has the focus its
// background is BackColorHighlight and the border BorderColorHighlight.
//
// Our choices:
//   - the arrow pair is 15 pixels wide; the field starts 3 pixels in from the left edge;
//   - the control's surface around the field takes the field's current background colour, so
//     the focus highlight fills the whole box inside the border;
//   - the field's text is read as the host's Val does: blanks are ignored, text that is not a
//     number counts as 0, a fraction rounds half to even;
//   - the control's focus passes on to the field.
#pragma once

#include <cstdint>

#include "foundation/ControlBase.h"
#include "foundation/OwnedEditField.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/ui/User.h"
#include "range/ZorvaSpinScroll.h"

namespace zxp::range {

enum class AlignmentConstants : int32_t { vbLeftJustify = 0, vbRightJustify = 1, vbCenter = 2 };

// Type information for the enumerations above (the interface's names and values).
const host::EnumType& describeEnum(AlignmentConstants);

class ZorvaXPSpin final : public foundation::ControlBase {
 public:
  // Creation defaults.
  static constexpr OLE_COLOR kButtonGradientColor1 = ZorvaSpinScroll::kGradientColor1;
  static constexpr OLE_COLOR kButtonGradientColor2 = ZorvaSpinScroll::kGradientColor2;
  static constexpr OLE_COLOR kOnOverButtonGradientColor1 = ZorvaSpinScroll::kOnOverGradient1;
  static constexpr OLE_COLOR kOnOverButtonGradientColor2 = ZorvaSpinScroll::kOnOverGradient2;
  static constexpr OLE_COLOR kOnOverButtonBorderColor = ZorvaSpinScroll::kOnOverBorderColor;
  static constexpr OLE_COLOR kBorderColor = ZorvaSpinScroll::kBorderColor;
  static constexpr OLE_COLOR kBackColor = 0xFFFFFF;
  static constexpr OLE_COLOR kForeColor = 0x000000;
  static constexpr OLE_COLOR kBackColorHighlight = 0xC0FFFF;
  static constexpr OLE_COLOR kBorderColorHighlight = 0x0080FF;
  static constexpr int32_t kMaximum = ZorvaSpinScroll::kMaximum;
  static constexpr int32_t kMinimum = ZorvaSpinScroll::kMinimum;
  // The lower arrow colour of a disabled spin box.
  static constexpr OLE_COLOR kDisabledGradient2 = RGB(230, 230, 220);
  static constexpr int kButtonWidth = 15;
  static constexpr int kFieldLeft = 3;

  ZorvaXPSpin();

  // ---- Properties ----
  OLE_COLOR ButtonGradientColor1() const;
  void setButtonGradientColor1(OLE_COLOR New_ButtonGradientColor1);
  OLE_COLOR ButtonGradientColor2() const;
  // Sets the arrow pair's lower colour and the saved copy that enabling restores.
  void setButtonGradientColor2(OLE_COLOR New_ButtonGradientColor2);
  OLE_COLOR OnOverButtonGradientColor1() const;
  void setOnOverButtonGradientColor1(OLE_COLOR New_OnOverButtonGradientColor1);
  OLE_COLOR OnOverButtonGradientColor2() const;
  void setOnOverButtonGradientColor2(OLE_COLOR New_OnOverButtonGradientColor2);
  OLE_COLOR OnOverButtonBorderColor() const;
  void setOnOverButtonBorderColor(OLE_COLOR New_OnOverButtonBorderColor);
  OLE_COLOR BorderColor() const;
  void setBorderColor(OLE_COLOR New_BorderColor);
  OLE_COLOR BackColor() const { return m_BackColor; }
  void setBackColor(OLE_COLOR New_BackColor);
  OLE_COLOR ForeColor() const { return m_ForeColor; }
  void setForeColor(OLE_COLOR New_ForeColor);
  OLE_COLOR BackColorHighlight() const { return m_BackColorHighlight; }
  void setBackColorHighlight(OLE_COLOR New_BackColorHighlight);
  OLE_COLOR BorderColorHighlight() const { return m_BorderColorHighlight; }
  void setBorderColorHighlight(OLE_COLOR New_BorderColorHighlight);
  int32_t Maximum() const;
  void setMaximum(int32_t New_Maximum);
  int32_t Minimum() const;
  void setMinimum(int32_t New_Minimum);
  int32_t Value() const;
  // Clamped to Minimum..Maximum; the field shows it.
  void setValue(int32_t New_Value);
  // Disabled: the arrows' lower colour becomes RGB(230, 230, 220) and the window takes no input;
  // enabled: the saved ButtonGradientColor2 comes back.
  void setEnabled(bool New_Enabled);
  void setFont(host::FontRef New_Font);
  AlignmentConstants Alignment() const { return m_Alignment; }
  void setAlignment(AlignmentConstants New_Alignment);
  bool Locked() const { return m_Locked; }
  void setLocked(bool New_Locked);
  // The field's window.
  int32_t hwnd() const { return static_cast<int32_t>(Text.hWnd()); }

  // ---- Methods ----
  // Layout and full redraw: minimum size, field, arrow pair, border.
  void RedrawMe();

  // ---- Events (KeyPress and MouseMove come from the control base) ----
  host::Event<> UpArrowMouseDown;
  host::Event<> UpArrowMoseUp;
  host::Event<> DownArrowMoseDown;
  host::Event<> DownArrowMoseUp;
  host::Event<> OnEnter;
  host::Event<> OnKeyEsc;
  host::Event<> Change;

  // ---- State a host or a test may look at ----
  HWND field() const { return Text.hWnd(); }
  ZorvaSpinScroll& arrows() const { return *Button; }
  const foundation::ControlTimer& upTimer() const { return tmrValueUp; }
  const foundation::ControlTimer& downTimer() const { return tmrValueDown; }
  OLE_COLOR savedGradientColor2() const { return m_TemparyGradienateColor2; }
  bool fieldFocused() const { return m_FieldFocused; }
  // The number the field shows, as the host's Val reads it (typed digits reach Value only at the
  // next step; the list's in-place editing commits what the field shows).
  int32_t fieldNumber() const;

  const host::MemberTable& memberTable() const override;

 protected:
  void UserControl_Initialize() override;
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(host::PropertyBag& PropBag) override;
  void UserControl_Resize() override { RedrawMe(); }
  void UserControl_GotFocus() override;
  void UserControl_LostFocus() override {}
  void UserControl_Terminate() override;
  void redrawResting() override { RedrawMe(); }
  bool resizeRedrawsResting() const override { return true; }

 private:
  void fieldNotified(WORD code);
  void fieldKey(UINT message, WPARAM& code);
  void DrawSpinBorder();
  void applyFieldFont();
  void applyFieldColors();
  void step(bool up);
  void showValue();

  OLE_COLOR m_BackColor = kBackColor;
  OLE_COLOR m_ForeColor = kForeColor;
  OLE_COLOR m_BackColorHighlight = kBackColorHighlight;
  OLE_COLOR m_BorderColorHighlight = kBorderColorHighlight;
  OLE_COLOR m_TemparyGradienateColor2 = kButtonGradientColor2;
  AlignmentConstants m_Alignment = AlignmentConstants::vbLeftJustify;
  bool m_Locked = false;
  bool m_FieldFocused = false;

  foundation::OwnedEditField Text;
  ZorvaSpinScroll* Button = nullptr;
  foundation::ControlTimer tmrValueUp, tmrValueDown;
};

}  // namespace zxp::range
