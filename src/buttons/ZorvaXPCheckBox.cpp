#include "buttons/ZorvaXPCheckBox.h"

#include "foundation/CaptionLayout.h"
#include "foundation/PenLines.h"
#include "foundation/modGeneral.h"
#include "foundation/modGradient.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/host/MemberTable.h"
#include "platform/host/PropertyBag.h"
#include "platform/ui/User.h"

namespace zxp::buttons {

using foundation::drawBox;
using foundation::Redraw;

namespace {

// The caption is wrapped at word boundaries, a word too long for the width ends in an ellipsis,
// and "&" marks the access key.
constexpr UINT kCaptionFlags = DT_LEFT | DT_WORDBREAK | DT_WORD_ELLIPSIS;

}  // namespace

// ---- Properties -------------------------------------------------------------------------------

void ZorvaXPCheckBox::setBackStyle(CBackStyle v) { letProperty(m_BackStyle, v, "BackStyle", Redraw::Resting); }
void ZorvaXPCheckBox::setBackColor(OLE_COLOR v) { letProperty(m_BackColor, v, "BackColor", Redraw::Resting); }
void ZorvaXPCheckBox::setGradientColor1(OLE_COLOR v) {
  letProperty(m_GradientColor1, v, "GradientColor1", Redraw::Resting);
}
void ZorvaXPCheckBox::setGradientColor2(OLE_COLOR v) {
  letProperty(m_GradientColor2, v, "GradientColor2", Redraw::Resting);
}
void ZorvaXPCheckBox::setBorderStyle(bool v) { letProperty(m_BorderStyle, toVB(v), "BorderStyle", Redraw::Resting); }
void ZorvaXPCheckBox::setBorderColor(OLE_COLOR v) { letProperty(m_BorderColor, v, "BorderColor", Redraw::Resting); }
void ZorvaXPCheckBox::setBorderColorOnOver(OLE_COLOR v) {
  letProperty(m_BorderColorOnOver, v, "BorderColorOnOver", Redraw::Resting);
}
void ZorvaXPCheckBox::setAlignment(CAlignmentCtl1 v) { letProperty(m_Alignment, v, "Alignment", Redraw::Resting); }
void ZorvaXPCheckBox::setAutoChangeBackColor(bool v) {
  letProperty(m_AutoChangeBackColor, v, "AutoChangeBackColor", Redraw::Resting);
}
void ZorvaXPCheckBox::setCaption(const std::string& v) { letProperty(m_Caption, v, "Caption", Redraw::Resting); }
void ZorvaXPCheckBox::setBackingStyle(CBackingStyle v) {
  letProperty(m_BackingStyle, v, "BackingStyle", Redraw::Resting);
}
void ZorvaXPCheckBox::setForeColor(OLE_COLOR v) { letProperty(m_ForeColor, v, "ForeColor", Redraw::Resting); }
void ZorvaXPCheckBox::setForeColorHover(OLE_COLOR v) {
  letProperty(m_ForeColorHover, v, "ForeColorHover", Redraw::Resting);
}
void ZorvaXPCheckBox::setValue(CValueConst v) { letProperty(m_Value, v, "Value", Redraw::Resting); }
void ZorvaXPCheckBox::setLocked(bool v) { letProperty(m_Locked, v, "Locked", Redraw::Resting); }
void ZorvaXPCheckBox::setTickColor(OLE_COLOR v) { letProperty(m_TickColor, v, "TickColor", Redraw::Resting); }
void ZorvaXPCheckBox::setTickColorHover(OLE_COLOR v) {
  letProperty(m_TickColorHover, v, "TickColorHover", Redraw::Resting);
}
void ZorvaXPCheckBox::setDisabledForeColor(OLE_COLOR v) {
  letProperty(m_DisabledForeColor, v, "DisabledForeColor", Redraw::Resting);
}

// ---- Persistence ------------------------------------------------------------------------------

// "ZorvaXPCheckBox" and the display name from the character after that literal's length on, so
// that ZorvaXPCheckBox1 is captioned ZorvaXPCheckBox1.
std::string ZorvaXPCheckBox::defaultCaption() const {
  static constexpr std::string_view kLiteral = "ZorvaXPCheckBox";
  return captionFromDisplayName(Ambient().DisplayName, kLiteral, kLiteral.size());
}

void ZorvaXPCheckBox::UserControl_InitProperties() {
  m_BackStyle = CBackStyle::CGradient;
  m_BackColor = kBackColor;
  m_GradientColor1 = kGradientColor1;
  m_GradientColor2 = kGradientColor2;
  m_BorderStyle = vbTrue;
  m_BorderColor = kBorderColor;
  m_BorderColorOnOver = kBorderColorOnOver;
  m_Alignment = CAlignmentCtl1::CAlignLeft;
  m_AutoChangeBackColor = true;
  m_Caption = defaultCaption();
  m_BackingStyle = CBackingStyle::CBK_Opaque;
  UserControl.setFont(Ambient().Font);
  m_ForeColor = kForeColor;
  m_ForeColorHover = kForeColorHover;
  m_Value = CValueConst::Unchecked;
  m_Locked = false;
  m_TickColor = kTickColor;
  m_TickColorHover = kTickColorHover;
  m_DisabledForeColor = kDisabledForeColor;
}

// Booleans whose bag default is the 16-bit integer 1 (not True): True is always written, and an
// absent key reads back as 1, which is True.
void ZorvaXPCheckBox::UserControl_ReadProperties(host::PropertyBag& PropBag) {
  m_BackStyle = PropBag.read<CBackStyle>("BackStyle", CBackStyle::CGradient);
  m_BackColor = PropBag.read<OLE_COLOR>("BackColor", kBackColor);
  m_GradientColor1 = PropBag.read<OLE_COLOR>("GradientColor1", kGradientColor1);
  m_GradientColor2 = PropBag.read<OLE_COLOR>("GradientColor2", kGradientColor2);
  m_BorderStyle = PropBag.read<VBBool>("BorderStyle", VBBool{1});
  m_BorderColor = PropBag.read<OLE_COLOR>("BorderColor", kBorderColor);
  m_BorderColorOnOver = PropBag.read<OLE_COLOR>("BorderColorOnOver", kBorderColorOnOver);
  m_Alignment = PropBag.read<CAlignmentCtl1>("Alignment", CAlignmentCtl1::CAlignLeft);
  m_AutoChangeBackColor = PropBag.read<bool>("AutoChangeBackColor", true);
  m_Caption = PropBag.readText("Caption", defaultCaption());
  m_BackingStyle = PropBag.read<CBackingStyle>("BackingStyle", CBackingStyle::CBK_Opaque);
  UserControl.setFont(PropBag.read<host::FontRef>("Font", Ambient().Font));
  m_ForeColor = PropBag.read<OLE_COLOR>("ForeColor", kForeColor);
  m_ForeColorHover = PropBag.read<OLE_COLOR>("ForeColorHover", kForeColorHover);
  setFontBold(PropBag.read<bool>("FontBold", false));
  setFontItalic(PropBag.read<bool>("FontItalic", false));
  setFontUnderline(PropBag.read<bool>("FontUnderline", false));
  setFontStrikethru(PropBag.read<bool>("FontStrikethru", false));
  m_Value = PropBag.read<CValueConst>("Value", CValueConst::Unchecked);
  m_Locked = PropBag.read<bool>("Locked", false);
  m_TickColor = PropBag.read<OLE_COLOR>("TickColor", kTickColor);
  m_TickColorHover = PropBag.read<OLE_COLOR>("TickColorHover", kTickColorHover);
  UserControl.setEnabled(PropBag.read<bool>("Enabled", true));
  m_DisabledForeColor = PropBag.read<OLE_COLOR>("DisabledForeColor", kDisabledForeColor);
  UserControl.setMouseIcon(PropBag.read<host::PictureRef>("MouseIcon", host::PictureRef()));
  UserControl.setMousePointer(PropBag.read<int16_t>("MousePointer", 0));
  restingChanged();
}

void ZorvaXPCheckBox::UserControl_WriteProperties(host::PropertyBag& PropBag) {
  PropBag.WriteProperty("BackStyle", m_BackStyle, CBackStyle::CGradient);
  PropBag.WriteProperty("BackColor", m_BackColor, kBackColor);
  PropBag.WriteProperty("GradientColor1", m_GradientColor1, kGradientColor1);
  PropBag.WriteProperty("GradientColor2", m_GradientColor2, kGradientColor2);
  PropBag.WriteProperty("BorderStyle", host::Variant::fromVBBool(m_BorderStyle), int16_t{1});
  PropBag.WriteProperty("BorderColor", m_BorderColor, kBorderColor);
  PropBag.WriteProperty("BorderColorOnOver", m_BorderColorOnOver, kBorderColorOnOver);
  PropBag.WriteProperty("Alignment", m_Alignment, CAlignmentCtl1::CAlignLeft);
  PropBag.WriteProperty("AutoChangeBackColor", m_AutoChangeBackColor, int16_t{1});
  PropBag.WriteProperty("Caption", m_Caption, defaultCaption());
  PropBag.WriteProperty("BackingStyle", m_BackingStyle, CBackingStyle::CBK_Opaque);
  PropBag.WriteProperty("Font", Font());
  PropBag.WriteProperty("ForeColor", m_ForeColor, int16_t{0});
  PropBag.WriteProperty("ForeColorHover", m_ForeColorHover, kForeColorHover);
  PropBag.WriteProperty("FontBold", FontBold(), int16_t{0});
  PropBag.WriteProperty("FontItalic", FontItalic(), int16_t{0});
  PropBag.WriteProperty("FontUnderline", FontUnderline(), int16_t{0});
  PropBag.WriteProperty("FontStrikethru", FontStrikethru(), int16_t{0});
  PropBag.WriteProperty("Value", m_Value, CValueConst::Unchecked);
  PropBag.WriteProperty("Locked", m_Locked, int16_t{0});
  PropBag.WriteProperty("TickColor", m_TickColor, kTickColor);
  PropBag.WriteProperty("TickColorHover", m_TickColorHover, kTickColorHover);
  PropBag.WriteProperty("Enabled", Enabled(), true);
  PropBag.WriteProperty("DisabledForeColor", m_DisabledForeColor, kDisabledForeColor);
  PropBag.WriteProperty("MouseIcon", MouseIcon());
  PropBag.WriteProperty("MousePointer", MousePointer(), int16_t{0});
}

// ---- Drawing ----------------------------------------------------------------------------------

void ZorvaXPCheckBox::RedrawMe() { Draw(Look::Resting); }

void ZorvaXPCheckBox::Draw(Look look) {
  const HDC dc = UserControl.hDC();
  if (!dc) return;
  const int sw = ScaleWidth(), sh = ScaleHeight();
  const bool resting = look == Look::Resting;
  UserControl.Cls();
  resetShape();
  m_BoxX = m_Alignment == CAlignmentCtl1::CAlignRight ? nearest(sw - kBoxSize - 4.0) : 4;
  m_BoxY = nearest((sh - kBoxSize) / 2.0);

  if (m_BackStyle == CBackStyle::Default) {
    if (m_AutoChangeBackColor) m_BackColor = ParentBackColor();
    if (m_BackingStyle == CBackingStyle::CBK_Transparent) {
      // Box and caption on silver, then every silver pixel of the caption area leaves the shape.
      m_BackColor = kTransparentKey;
      if (m_ForeColor == kTransparentKey) m_ForeColor = 0;
      UserControl.setBackColor(kTransparentKey);
      m_BorderStyle = vbFalse;
      DrawBox(look);
      DrawCaption(resting ? m_ForeColor : m_ForeColorHover);
      ApplyTransparentShape();
    } else {
      UserControl.setBackColor(m_BackColor);
    }
  } else {
    m_BackingStyle = CBackingStyle::CBK_Opaque;
    GradientFillVertical(dc, sw, sh, m_GradientColor2, m_GradientColor1);
  }
  if (m_BorderStyle == vbTrue) DrawBorder(resting ? m_BorderColor : m_BorderColorOnOver);
  DrawBox(look);
  DrawCaption(resting ? m_ForeColor : m_ForeColorHover);
  const OLE_COLOR tick = resting ? m_TickColor : m_TickColorHover;
  if (m_Value == CValueConst::Checked)
    DrawTick(tick);
  else if (m_Value == CValueConst::Greyed)
    DrawGreyedMark(tick);
  setAccessKeyFromCaption(m_Caption);
}

void ZorvaXPCheckBox::DrawBorder(OLE_COLOR color) {
  drawBox(UserControl.hDC(), Enabled() ? translateColor(color) : kDisabledBorder, 1, std::nullopt,
          RECT{0, 0, ScaleWidth(), ScaleHeight()});
}

// Resting: a frame, a gap of one pixel, an 11 x 11 blend from light blue at the bottom to white
// at the top with its own inner frame. Hover: white with a light inner frame. Pressed: pale
// cyan with the inner frame in the frame's colour.
void ZorvaXPCheckBox::DrawBox(Look look) {
  const HDC dc = UserControl.hDC();
  const int x = m_BoxX, y = m_BoxY;
  const RECT frame{x, y, x + kBoxSize, y + kBoxSize};
  const RECT inner{x + 2, y + 2, x + 13, y + 13};
  switch (look) {
    case Look::Resting:
      drawBox(dc, kBoxFrame, 1, std::nullopt, frame);
      GradientFillVerticalAt(dc, x + 2, y + 2, 11, 11, kBoxBlendBottom, kWhite);
      drawBox(dc, kBoxInnerFrame, 1, std::nullopt, inner);
      break;
    case Look::Hover:
      GradientFillVerticalAt(dc, x, y, kBoxSize, kBoxSize, kWhite, kWhite);
      drawBox(dc, kBoxFrame, 1, std::nullopt, frame);
      drawBox(dc, kHoverInnerFrame, 1, std::nullopt, inner);
      break;
    case Look::Pressed:
      GradientFillVerticalAt(dc, x, y, kBoxSize, kBoxSize, kPressedFill, kPressedFill);
      drawBox(dc, kBoxFrame, 1, std::nullopt, frame);
      drawBox(dc, kBoxFrame, 1, std::nullopt, inner);
      break;
  }
}

// Two strokes three pixels wide: the long one from (x + 12 ... x + 14, t) down to the left over
// nine rows, the short one from (x + 1 ... x + 3, t + 5) down to the right over four rows; they
// meet at (x + 4 ... x + 6, t + 8).
void ZorvaXPCheckBox::DrawTick(OLE_COLOR color) {
  const HDC dc = UserControl.hDC();
  const COLORREF c = translateColor(color);
  const int x = m_BoxX, t = nearest((ScaleHeight() - kBoxSize) / 2.0 + 2);
  for (int k = 0; k <= 8; ++k)
    for (int i = 0; i < 3; ++i) SetPixelV(dc, x + 12 - k + i, t + k, c);
  for (int j = 0; j <= 3; ++j)
    for (int i = 0; i < 3; ++i) SetPixelV(dc, x + 1 + j + i, t + 5 + j, c);
}

void ZorvaXPCheckBox::DrawGreyedMark(OLE_COLOR color) {
  drawBox(UserControl.hDC(), kBoxFrame, 1, translateColor(color),
          RECT{m_BoxX + 2, m_BoxY + 2, m_BoxX + 13, m_BoxY + 13});
}

void ZorvaXPCheckBox::DrawCaption(OLE_COLOR color) {
  const HDC dc = UserControl.hDC();
  const int sw = ScaleWidth();
  UserControl.setForeColor(Enabled() ? color : m_DisabledForeColor);
  SetBkMode(dc, TRANSPARENT);
  const bool right = m_Alignment == CAlignmentCtl1::CAlignRight;
  const int left = right ? 4 : 23;
  const int rightEdge = right ? nearest(sw - 4.0 - kBoxSize - 4) : nearest(sw - 2.0);
  m_CaptionRect = foundation::CaptionBesideBox(dc, m_Caption, left, rightEdge, ScaleHeight(), kCaptionFlags);
  RECT r = m_CaptionRect;
  DrawText(dc, m_Caption, &r, kCaptionFlags);
}

void ZorvaXPCheckBox::ApplyTransparentShape() {
  setShapeWithoutColor(m_CaptionRect, translateColor(kTransparentKey),
                       CreateRectRgn(m_BoxX, m_BoxY, m_BoxX + kBoxSize, m_BoxY + kBoxSize));
}

// ---- Input ------------------------------------------------------------------------------------

void ZorvaXPCheckBox::ToggleValue() {
  if (m_Locked) return;
  switch (m_Value) {
    case CValueConst::Unchecked: m_Value = CValueConst::Checked; break;
    case CValueConst::Checked:
    case CValueConst::Greyed: m_Value = CValueConst::Unchecked; break;
    default: return;  // values outside 0..2 stay as they are
  }
  PropertyChanged("Value");
}

void ZorvaXPCheckBox::UserControl_Resize() {
  if (ScaleWidth() < kMinimumSize) setWidthTwips(pixelsToTwips(kMinimumSize));
  if (ScaleHeight() < kMinimumSize) setHeightTwips(pixelsToTwips(kMinimumSize));
  RedrawMe();
}

void ZorvaXPCheckBox::UserControl_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  Draw(Look::Pressed);
  MouseDown.raise(Button, Shift, X, Y);
}

void ZorvaXPCheckBox::UserControl_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  Draw(Look::Hover);
  // The timer polls only while no button is held; the release redraws the resting look.
  tmrHover.setEnabled(Button == 0);
  MouseMove.raise(Button, Shift, X, Y);
}

void ZorvaXPCheckBox::UserControl_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  MouseUp.raise(Button, Shift, X, Y);
  ToggleValue();
  RedrawMe();
}

void ZorvaXPCheckBox::UserControl_KeyDown(int16_t& KeyCode, int16_t& Shift) {
  KeyDown.raise(KeyCode, Shift);
  if (KeyCode == VK_SPACE) Draw(Look::Pressed);
}

void ZorvaXPCheckBox::UserControl_KeyUp(int16_t& KeyCode, int16_t& Shift) {
  KeyUp.raise(KeyCode, Shift);
  if (KeyCode != VK_SPACE) return;
  ToggleValue();
  RedrawMe();
  Click.raise();
}

// As a left-button release over the control (MouseUp, toggle, redraw), then Click.
void ZorvaXPCheckBox::UserControl_AccessKeyPress(int16_t& /*KeyAscii*/) {
  int16_t button = 1, shift = 0;
  float x = 0, y = 0;
  UserControl_MouseUp(button, shift, x, y);
  RedrawMe();
  Click.raise();
}

void ZorvaXPCheckBox::UserControl_LostFocus() {
  RedrawMe();
  ClearHoverMark();
}

// ---- Class ------------------------------------------------------------------------------------

const host::MemberTable& ZorvaXPCheckBox::memberTable() const {
  using C = ZorvaXPCheckBox;
  static const host::MemberTable table = host::ClassMembers<C>("ZorvaXPCheckBox")
      .property("BackStyle", &C::BackStyle, &C::setBackStyle)
      .property("BackColor", &C::BackColor, &C::setBackColor)
      .property("GradientColor1", &C::GradientColor1, &C::setGradientColor1)
      .property("GradientColor2", &C::GradientColor2, &C::setGradientColor2)
      .property("BorderStyle", &C::BorderStyle, &C::setBorderStyle)
      .property("BorderColor", &C::BorderColor, &C::setBorderColor)
      .property("BorderColorOnOver", &C::BorderColorOnOver, &C::setBorderColorOnOver)
      .property("Alignment", &C::Alignment, &C::setAlignment)
      .property("AutoChangeBackColor", &C::AutoChangeBackColor, &C::setAutoChangeBackColor)
      .property("Caption", &C::Caption, &C::setCaption)
      .property("BackingStyle", &C::BackingStyle, &C::setBackingStyle)
      .property("Font", &C::Font, &C::setFont)
      .property("ForeColor", &C::ForeColor, &C::setForeColor)
      .property("ForeColorHover", &C::ForeColorHover, &C::setForeColorHover)
      .property("FontBold", &C::FontBold, &C::setFontBold)
      .property("FontItalic", &C::FontItalic, &C::setFontItalic)
      .property("FontUnderline", &C::FontUnderline, &C::setFontUnderline)
      .property("FontStrikethru", &C::FontStrikethru, &C::setFontStrikethru)
      .property("Value", &C::Value, &C::setValue)
      .property("Locked", &C::Locked, &C::setLocked)
      .property("TickColor", &C::TickColor, &C::setTickColor)
      .property("TickColorHover", &C::TickColorHover, &C::setTickColorHover)
      .property("Enabled", &C::Enabled, &C::setEnabled)
      .property("DisabledForeColor", &C::DisabledForeColor, &C::setDisabledForeColor)
      .property("MouseIcon", &C::MouseIcon, &C::setMouseIcon)
      .property("MousePointer", &C::MousePointer, &C::setMousePointer)
      .method("RedrawMe", &C::RedrawMe)
      .method("Refresh", &C::Refresh)
      .about(&C::About)
      .event("Click", &C::Click)
      .event("DblClick", &C::DblClick)
      .event("KeyDown", &C::KeyDown, {"KeyCode", "Shift"})
      .event("KeyPress", &C::KeyPress, {"KeyAscii"})
      .event("KeyUp", &C::KeyUp, {"KeyCode", "Shift"})
      .event("MouseDown", &C::MouseDown, {"Button", "Shift", "X", "Y"})
      .event("MouseMove", &C::MouseMove, {"Button", "Shift", "X", "Y"})
      .event("MouseUp", &C::MouseUp, {"Button", "Shift", "X", "Y"})
      .build();
  return table;
}

// ---- Enumerations as type information shows them ----

const host::EnumType& describeEnum(CBackStyle) {
  static const host::EnumType t{"CBackStyle", {{"Default", 0}, {"CGradient", 1}}};
  return t;
}

const host::EnumType& describeEnum(CAlignmentCtl1) {
  static const host::EnumType t{"CAlignmentCtl1", {{"CAlignLeft", 0}, {"CAlignRight", 1}}};
  return t;
}

const host::EnumType& describeEnum(CBackingStyle) {
  static const host::EnumType t{"CBackingStyle", {{"CBK-Opaque", 0}, {"CBK-Transparent", 1}}};
  return t;
}

const host::EnumType& describeEnum(CValueConst) {
  static const host::EnumType t{"CValueConst", {{"Unchecked", 0}, {"Checked", 1}, {"Greyed", 2}}};
  return t;
}

}  // namespace zxp::buttons
