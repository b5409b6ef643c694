// ZorvaXPCheckBox: the three-state check box (Unchecked, Checked, Greyed). A 15 x 15 box drawn in
// the XP style stands 4 pixels from the left edge (CAlignLeft) or the right edge (CAlignRight),
// vertically centred; the caption fills the rest of the width, wrapped with word ellipsis and
// centred vertically. Checked draws a tick of two 3-pixel-wide strokes, Greyed a filled square.
// The background is a vertical gradient (CGradient), a plain colour (Default; with
// AutoChangeBackColor the parent form's colour) or, with CBK-Transparent, nothing: the window's
// shape is then cut down to the box and the caption's letters, so the parent shows through
// everywhere else (the caption area is drawn on the silver key colour and every silver pixel is
// left out of the shape).
//
// Looks: resting (RedrawMe), hover (mouse movement, focus; the polling timer tmrHover returns the
// resting look once the cursor has left) and pressed (mouse press, Space down). A mouse release,
// Space up or the access key toggles the value unless Locked: Unchecked -> Checked, Checked or
// Greyed -> Unchecked; values outside 0..2 are stored, drawn without a mark and never toggled.
// `Value` set by code redraws and raises no event.
//
// Choices: a BackStyle other than Default draws the gradient background, an Alignment other than
// CAlignRight the left-aligned layout.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/ControlBase.h"

namespace zxp::buttons {

enum class CBackStyle : int16_t { Default = 0, CGradient = 1 };
enum class CAlignmentCtl1 : int16_t { CAlignLeft = 0, CAlignRight = 1 };
enum class CBackingStyle : int16_t { CBK_Opaque = 0, CBK_Transparent = 1 };
enum class CValueConst : int16_t { Unchecked = 0, Checked = 1, Greyed = 2 };

// Type information for the enumerations above (the interface's names and values).
const host::EnumType& describeEnum(CBackStyle);
const host::EnumType& describeEnum(CAlignmentCtl1);
const host::EnumType& describeEnum(CBackingStyle);
const host::EnumType& describeEnum(CValueConst);

class ZorvaXPCheckBox final : public foundation::ControlBase {
 public:
  // Fixed colours (COLORREF, 0x00BBGGRR).
  static constexpr COLORREF kBoxFrame = RGB(127, 157, 185);
  static constexpr COLORREF kBoxBlendBottom = RGB(217, 232, 246);
  static constexpr COLORREF kBoxInnerFrame = RGB(177, 207, 235);
  static constexpr COLORREF kHoverInnerFrame = RGB(175, 228, 249);
  static constexpr COLORREF kPressedFill = RGB(222, 249, 250);
  static constexpr COLORREF kWhite = 0xFFFFFF;
  static constexpr OLE_COLOR kTransparentKey = 0xC0C0C0;  // silver
  static constexpr COLORREF kDisabledBorder = 0x808080;
  static constexpr int kBoxSize = 15;
  static constexpr int kMinimumSize = 23;  // pixels, either dimension

  // Creation defaults.
  static constexpr OLE_COLOR kBackColor = 0xD8E9EC;
  static constexpr OLE_COLOR kGradientColor1 = 0xFFFFFF;
  static constexpr OLE_COLOR kGradientColor2 = 0xF0C797;
  static constexpr OLE_COLOR kBorderColor = 0xB99D7F;
  static constexpr OLE_COLOR kBorderColorOnOver = 0xFBB613;
  static constexpr OLE_COLOR kForeColor = 0;
  static constexpr OLE_COLOR kForeColorHover = 0xD69703;
  static constexpr OLE_COLOR kTickColor = 0x99615F;
  static constexpr OLE_COLOR kTickColorHover = 0xE08A43;
  static constexpr OLE_COLOR kDisabledForeColor = 0x808080;

  ZorvaXPCheckBox() = default;

  // ---- Properties ----
  CBackStyle BackStyle() const { return m_BackStyle; }
  void setBackStyle(CBackStyle New_BackStyle);
  OLE_COLOR BackColor() const { return m_BackColor; }
  void setBackColor(OLE_COLOR New_BackColor);
  OLE_COLOR GradientColor1() const { return m_GradientColor1; }
  void setGradientColor1(OLE_COLOR New_GradientColor1);
  OLE_COLOR GradientColor2() const { return m_GradientColor2; }
  void setGradientColor2(OLE_COLOR New_GradientColor2);
  bool BorderStyle() const { return m_BorderStyle != vbFalse; }
  void setBorderStyle(bool New_BorderStyle);
  OLE_COLOR BorderColor() const { return m_BorderColor; }
  void setBorderColor(OLE_COLOR New_BorderColor);
  OLE_COLOR BorderColorOnOver() const { return m_BorderColorOnOver; }
  void setBorderColorOnOver(OLE_COLOR New_BorderColorOnOver);
  CAlignmentCtl1 Alignment() const { return m_Alignment; }
  void setAlignment(CAlignmentCtl1 New_Alignment);
  bool AutoChangeBackColor() const { return m_AutoChangeBackColor; }
  void setAutoChangeBackColor(bool New_AutoChangeBackColor);
  const std::string& Caption() const { return m_Caption; }
  void setCaption(const std::string& New_Caption);
  CBackingStyle BackingStyle() const { return m_BackingStyle; }
  void setBackingStyle(CBackingStyle New_BackingStyle);
  OLE_COLOR ForeColor() const { return m_ForeColor; }
  void setForeColor(OLE_COLOR New_ForeColor);
  OLE_COLOR ForeColorHover() const { return m_ForeColorHover; }
  void setForeColorHover(OLE_COLOR New_ForeColorHover);
  CValueConst Value() const { return m_Value; }
  // Stores, redraws and reports; raises no event.
  void setValue(CValueConst New_Value);
  bool Locked() const { return m_Locked; }
  void setLocked(bool New_Locked);
  OLE_COLOR TickColor() const { return m_TickColor; }
  void setTickColor(OLE_COLOR New_TickColor);
  OLE_COLOR TickColorHover() const { return m_TickColorHover; }
  void setTickColorHover(OLE_COLOR New_TickColorHover);
  OLE_COLOR DisabledForeColor() const { return m_DisabledForeColor; }
  void setDisabledForeColor(OLE_COLOR New_DisabledForeColor);

  // ---- Methods ----
  // The whole control in its resting look.
  void RedrawMe();
  void Refresh() { RedrawMe(); }

  // Where the box and the caption were last drawn (surface pixels).
  POINT boxPosition() const { return {m_BoxX, m_BoxY}; }
  RECT captionRect() const { return m_CaptionRect; }

  const host::MemberTable& memberTable() const override;

 protected:
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(host::PropertyBag& PropBag) override;
  void UserControl_Resize() override;
  void UserControl_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_KeyDown(int16_t& KeyCode, int16_t& Shift) override;
  void UserControl_KeyUp(int16_t& KeyCode, int16_t& Shift) override;
  void UserControl_AccessKeyPress(int16_t& KeyAscii) override;
  void UserControl_GotFocus() override { Draw(Look::Hover); }
  void UserControl_LostFocus() override;

  void redrawResting() override { RedrawMe(); }
  bool resizeRedrawsResting() const override { return true; }
  void redrawHover() override { Draw(Look::Hover); }

 private:
  enum class Look { Resting, Hover, Pressed };

  std::string defaultCaption() const;
  // One full look: background, border, box, caption and mark, each in the look's colours.
  void Draw(Look look);
  void DrawBorder(OLE_COLOR color);
  void DrawBox(Look look);
  void DrawTick(OLE_COLOR color);
  void DrawGreyedMark(OLE_COLOR color);
  void DrawCaption(OLE_COLOR color);
  // The window's shape becomes the box plus the caption's non-silver pixels.
  void ApplyTransparentShape();
  // A user's toggle (mouse release, Space up, access key), unless Locked.
  void ToggleValue();

  CBackStyle m_BackStyle = CBackStyle::CGradient;
  OLE_COLOR m_BackColor = kBackColor;
  OLE_COLOR m_GradientColor1 = kGradientColor1;
  OLE_COLOR m_GradientColor2 = kGradientColor2;
  // A 16-bit Boolean as the bag hands it over: a form file without the key leaves the bag's default
  // 1 here, which reads as True but is not exactly True, so no border is drawn.
  VBBool m_BorderStyle = vbTrue;
  OLE_COLOR m_BorderColor = kBorderColor;
  OLE_COLOR m_BorderColorOnOver = kBorderColorOnOver;
  CAlignmentCtl1 m_Alignment = CAlignmentCtl1::CAlignLeft;
  bool m_AutoChangeBackColor = true;
  std::string m_Caption;
  CBackingStyle m_BackingStyle = CBackingStyle::CBK_Opaque;
  OLE_COLOR m_ForeColor = kForeColor;
  OLE_COLOR m_ForeColorHover = kForeColorHover;
  CValueConst m_Value = CValueConst::Unchecked;
  bool m_Locked = false;
  OLE_COLOR m_TickColor = kTickColor;
  OLE_COLOR m_TickColorHover = kTickColorHover;
  OLE_COLOR m_DisabledForeColor = kDisabledForeColor;

  int m_BoxX = 4, m_BoxY = 0;
  RECT m_CaptionRect{0, 0, 0, 0};
};

}  // namespace zxp::buttons
