#include "buttons/ZorvaXPOptionButton.h"

#include "foundation/CaptionLayout.h"
#include "foundation/PenLines.h"
#include "foundation/modGradient.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/host/Form.h"
#include "platform/host/MemberTable.h"
#include "platform/host/PropertyBag.h"
#include "platform/ui/User.h"

namespace zxp::buttons {

using foundation::drawBox;
using foundation::Redraw;

namespace {

constexpr UINT kCaptionFlags = DT_LEFT | DT_WORDBREAK | DT_WORD_ELLIPSIS;

// Module-wide: a group is being cleared, so the members' Value setters do not start a group
// update of their own.
bool groupUpdateUnderWay = false;

}  // namespace

ZorvaXPOptionButton::ZorvaXPOptionButton() { tmrHover.setInterval(kHoverInterval); }

// ---- Properties -------------------------------------------------------------------------------

void ZorvaXPOptionButton::setAlign(VOptionAlign v) { letProperty(m_Align, v, "Align", Redraw::Resting); }
void ZorvaXPOptionButton::setButtonGradientColor1(OLE_COLOR v) {
  letProperty(m_ButtonGradientColor1, v, "ButtonGradientColor1", Redraw::Resting);
}
void ZorvaXPOptionButton::setButtonGradientColor2(OLE_COLOR v) {
  letProperty(m_ButtonGradientColor2, v, "ButtonGradientColor2", Redraw::Resting);
}
void ZorvaXPOptionButton::setAutoChangeBackColor(bool v) {
  letProperty(m_AutoChangeBackColor, v, "AutoChangeBackColor", Redraw::Resting);
}
void ZorvaXPOptionButton::setBackColor(OLE_COLOR v) { letProperty(m_BackColor, v, "BackColor", Redraw::Resting); }
void ZorvaXPOptionButton::setBackingStyle(VOBackingStyle v) {
  letProperty(m_BackingStyle, v, "BackingStyle", Redraw::Resting);
}
void ZorvaXPOptionButton::setGradientColor1(OLE_COLOR v) {
  letProperty(m_GradientColor1, v, "GradientColor1", Redraw::Resting);
}
void ZorvaXPOptionButton::setGradientColor2(OLE_COLOR v) {
  letProperty(m_GradientColor2, v, "GradientColor2", Redraw::Resting);
}
void ZorvaXPOptionButton::setBackStyle(VOBackStyle v) { letProperty(m_BackStyle, v, "BackStyle", Redraw::Resting); }
void ZorvaXPOptionButton::setBorderStyle(bool v) { letProperty(m_BorderStyle, v, "BorderStyle", Redraw::Resting); }
void ZorvaXPOptionButton::setBorderColor(OLE_COLOR v) {
  letProperty(m_BorderColor, v, "BorderColor", Redraw::Resting);
}
void ZorvaXPOptionButton::setCaption(const std::string& v) { letProperty(m_Caption, v, "Caption", Redraw::Resting); }
void ZorvaXPOptionButton::setBorderColorHover(OLE_COLOR v) {
  letProperty(m_BorderColorHover, v, "BorderColorHover", Redraw::Resting);
}
void ZorvaXPOptionButton::setForeColor(OLE_COLOR v) { letProperty(m_ForeColor, v, "ForeColor", Redraw::Resting); }
void ZorvaXPOptionButton::setForeColorHover(OLE_COLOR v) {
  letProperty(m_ForeColorHover, v, "ForeColorHover", Redraw::Resting);
}
void ZorvaXPOptionButton::setTickColor(OLE_COLOR v) { letProperty(m_TickColor, v, "TickColor", Redraw::Resting); }
void ZorvaXPOptionButton::setTickHoverColor(OLE_COLOR v) {
  letProperty(m_TickHoverColor, v, "TickHoverColor", Redraw::Resting);
}
void ZorvaXPOptionButton::setLocked(bool v) { letProperty(m_Locked, v, "Locked", Redraw::Resting); }
void ZorvaXPOptionButton::setDisabledForeColor(OLE_COLOR v) {
  letProperty(m_DisabledForeColor, v, "DisabledForeColor", Redraw::Resting);
}

void ZorvaXPOptionButton::setValue(bool v) {
  if (!UserMode() && !groupUpdateUnderWay) ClearGroup();
  letProperty(m_Value, v, "Value", Redraw::Resting);
}

// ---- The group --------------------------------------------------------------------------------

std::vector<ZorvaXPOptionButton*> ZorvaXPOptionButton::Group() const {
  std::vector<ZorvaXPOptionButton*> members;
  host::Extender* self = extender();
  if (!self || !self->Parent()) {
    members.push_back(const_cast<ZorvaXPOptionButton*>(this));
    return members;
  }
  const HWND container = self->containerWindow();
  for (host::Extender* e : self->Parent()->Controls()) {
    try {
      auto* member = dynamic_cast<ZorvaXPOptionButton*>(&e->object());
      if (member && e->containerWindow() == container) members.push_back(member);
    } catch (const std::exception&) {
      // A control that cannot be asked for its container is not a member.
    }
  }
  return members;
}

void ZorvaXPOptionButton::ClearGroup() {
  const bool outer = groupUpdateUnderWay;
  groupUpdateUnderWay = true;
  try {
    for (ZorvaXPOptionButton* member : Group()) member->setValue(false);
  } catch (...) {
    groupUpdateUnderWay = outer;
    throw;
  }
  groupUpdateUnderWay = outer;
}

// ---- Persistence ------------------------------------------------------------------------------

std::string ZorvaXPOptionButton::defaultCaption() const { return Ambient().DisplayName; }

void ZorvaXPOptionButton::UserControl_InitProperties() {
  m_Align = VOptionAlign::Align_Left;
  m_ButtonGradientColor1 = kButtonGradientColor1;
  m_ButtonGradientColor2 = kButtonGradientColor2;
  m_AutoChangeBackColor = true;
  m_BackColor = kBackColor;
  m_BackingStyle = VOBackingStyle::OBK_Opaque;
  m_GradientColor1 = kGradientColor1;
  m_GradientColor2 = kGradientColor2;
  m_BackStyle = VOBackStyle::OB_Gradient;
  m_BorderStyle = true;
  m_BorderColor = kBorderColor;
  m_Caption = defaultCaption();
  m_BorderColorHover = kBorderColorHover;
  m_ForeColor = kForeColor;
  m_ForeColorHover = kForeColorHover;
  m_TickColor = kTickColor;
  m_TickHoverColor = kTickHoverColor;
  m_Value = false;
  m_Locked = false;
  m_DisabledForeColor = kDisabledForeColor;
  UserControl.setFont(Ambient().Font);
}

void ZorvaXPOptionButton::UserControl_ReadProperties(host::PropertyBag& PropBag) {
  m_Align = PropBag.read<VOptionAlign>("Align", VOptionAlign::Align_Left);
  m_ButtonGradientColor1 = PropBag.read<OLE_COLOR>("ButtonGradientColor1", kButtonGradientColor1);
  m_ButtonGradientColor2 = PropBag.read<OLE_COLOR>("ButtonGradientColor2", kButtonGradientColor2);
  m_AutoChangeBackColor = PropBag.read<bool>("AutoChangeBackColor", true);
  m_BackColor = PropBag.read<OLE_COLOR>("BackColor", kBackColor);
  m_BackingStyle = PropBag.read<VOBackingStyle>("BackingStyle", VOBackingStyle::OBK_Opaque);
  m_GradientColor1 = PropBag.read<OLE_COLOR>("GradientColor1", kGradientColor1);
  m_GradientColor2 = PropBag.read<OLE_COLOR>("GradientColor2", kGradientColor2);
  m_BackStyle = PropBag.read<VOBackStyle>("BackStyle", VOBackStyle::OB_Gradient);
  m_BorderStyle = PropBag.read<bool>("BorderStyle", true);
  m_BorderColor = PropBag.read<OLE_COLOR>("BorderColor", kBorderColor);
  m_Caption = PropBag.readText("Caption", defaultCaption());
  m_BorderColorHover = PropBag.read<OLE_COLOR>("BorderColorHover", kBorderColorHover);
  m_ForeColor = PropBag.read<OLE_COLOR>("ForeColor", kForeColor);
  m_ForeColorHover = PropBag.read<OLE_COLOR>("ForeColorHover", kForeColorHover);
  m_TickColor = PropBag.read<OLE_COLOR>("TickColor", kTickColor);
  m_TickHoverColor = PropBag.read<OLE_COLOR>("TickHoverColor", kTickHoverColor);
  m_Value = PropBag.read<bool>("Value", false);
  m_Locked = PropBag.read<bool>("Locked", false);
  m_DisabledForeColor = PropBag.read<OLE_COLOR>("DisabledForeColor", kDisabledForeColor);
  UserControl.setEnabled(PropBag.read<bool>("Enabled", true));
  UserControl.setFont(PropBag.read<host::FontRef>("Font", Ambient().Font));
  setFontBold(PropBag.read<bool>("FontBold", false));
  setFontItalic(PropBag.read<bool>("FontItalic", false));
  setFontStrikethru(PropBag.read<bool>("FontStrikethru", false));
  setFontUnderline(PropBag.read<bool>("FontUnderline", false));
  UserControl.setMouseIcon(PropBag.read<host::PictureRef>("MouseIcon", host::PictureRef()));
  UserControl.setMousePointer(PropBag.read<int16_t>("MousePointer", 0));
  restingChanged();
}

void ZorvaXPOptionButton::UserControl_WriteProperties(host::PropertyBag& PropBag) {
  PropBag.WriteProperty("Align", m_Align, VOptionAlign::Align_Left);
  PropBag.WriteProperty("ButtonGradientColor1", m_ButtonGradientColor1, kButtonGradientColor1);
  PropBag.WriteProperty("ButtonGradientColor2", m_ButtonGradientColor2, kButtonGradientColor2);
  PropBag.WriteProperty("AutoChangeBackColor", m_AutoChangeBackColor, int16_t{1});
  PropBag.WriteProperty("BackColor", m_BackColor, kBackColor);
  PropBag.WriteProperty("BackingStyle", m_BackingStyle, VOBackingStyle::OBK_Opaque);
  PropBag.WriteProperty("GradientColor1", m_GradientColor1, kGradientColor1);
  PropBag.WriteProperty("GradientColor2", m_GradientColor2, kGradientColor2);
  PropBag.WriteProperty("BackStyle", m_BackStyle, VOBackStyle::OB_Gradient);
  PropBag.WriteProperty("BorderStyle", m_BorderStyle, true);
  PropBag.WriteProperty("BorderColor", m_BorderColor, kBorderColor);
  PropBag.WriteProperty("Caption", m_Caption, defaultCaption());
  PropBag.WriteProperty("BorderColorHover", m_BorderColorHover, kBorderColorHover);
  PropBag.WriteProperty("ForeColor", m_ForeColor, int16_t{0});
  PropBag.WriteProperty("ForeColorHover", m_ForeColorHover, kForeColorHover);
  PropBag.WriteProperty("TickColor", m_TickColor, kTickColor);
  PropBag.WriteProperty("TickHoverColor", m_TickHoverColor, kTickHoverColor);
  PropBag.WriteProperty("Value", m_Value, int16_t{0});
  PropBag.WriteProperty("Locked", m_Locked, int16_t{0});
  PropBag.WriteProperty("DisabledForeColor", m_DisabledForeColor, kDisabledForeColor);
  PropBag.WriteProperty("Enabled", Enabled(), true);
  PropBag.WriteProperty("Font", Font());
  PropBag.WriteProperty("FontBold", FontBold(), int16_t{0});
  PropBag.WriteProperty("FontItalic", FontItalic(), int16_t{0});
  PropBag.WriteProperty("FontStrikethru", FontStrikethru(), int16_t{0});
  PropBag.WriteProperty("FontUnderline", FontUnderline(), int16_t{0});
  PropBag.WriteProperty("MouseIcon", MouseIcon());
  PropBag.WriteProperty("MousePointer", MousePointer(), int16_t{0});
}

// ---- Drawing ----------------------------------------------------------------------------------

void ZorvaXPOptionButton::UserControl_Initialize() {
  picButton.create(UserControl.hWnd(), Rect::fromXYWH(4, 0, kButtonSize, kButtonSize));
  // The control keeps the focus; a press on picButton gives it to the control (below).
  picButton.setTakesFocusOnClick(false);
  picButton.setVisible(true);
  buttonListener_.listen(picButton, this, 0);
}

// Input on picButton, as on the control.
void ZorvaXPOptionButton::partMouseDown(int, int16_t& b, int16_t& s, float& x, float& y) {
  if (!Enabled()) return;
  if (GetFocus() != hWnd()) SetFocus(hWnd());
  Press(b, s, x, y, false);
}
void ZorvaXPOptionButton::partMouseUp(int, int16_t& b, int16_t& s, float& x, float& y) {
  if (Enabled()) Release(b, s, x, y);
}
void ZorvaXPOptionButton::partMouseMove(int, int16_t& b, int16_t& s, float& x, float& y) {
  if (!Enabled()) return;
  DrawHover();
  tmrHover.setEnabled(true);
  MouseMove.raise(b, s, x, y);
}
void ZorvaXPOptionButton::partClick(int) {
  if (Enabled()) Click.raise();
}
void ZorvaXPOptionButton::partDblClick(int) {
  if (Enabled()) DblClick.raise();
}

void ZorvaXPOptionButton::RedrawMe() {
  if (!UserControl.hDC() || !picButton.hDC()) return;
  const bool opaque = m_BackingStyle == VOBackingStyle::OBK_Opaque;
  UserControl.Cls();
  PlaceButton();
  if (opaque) DrawBackground(false);
  SetWindowRgn(picButton.hWnd(), CreateRoundRectRgn(0, 0, kButtonSize, kButtonSize, kButtonSize, kButtonSize), TRUE);
  DrawFace(false);
  DrawCaption(false);
  resetShape();
  if (opaque) {
    DrawBackground(false);
  } else if (m_BackStyle == VOBackStyle::OB_Gradient) {
    m_BackingStyle = VOBackingStyle::OBK_Opaque;
    DrawBackground(false);
  } else {
    ApplyTransparentShape();
  }
  DrawCaption(false);
  if (m_Value) DrawDot(false);
  setAccessKeyFromCaption(m_Caption);
}

void ZorvaXPOptionButton::PlaceButton() {
  picButton.Cls();
  const int w = picButton.ScaleWidth(), h = picButton.ScaleHeight();
  m_ButtonPos.x = m_Align == VOptionAlign::Align_Right ? ScaleWidth() - w - 4 : 4;
  m_ButtonPos.y = nearest((ScaleHeight() - h + 2) / 2.0);
  picButton.Move(m_ButtonPos.x, m_ButtonPos.y, kButtonSize, kButtonSize);
}

void ZorvaXPOptionButton::DrawFace(bool hover) {
  const HDC dc = picButton.hDC();
  const int w = picButton.ScaleWidth(), h = picButton.ScaleHeight();
  GradientFillVerticalAt(dc, 0, 0, w, h, m_ButtonGradientColor2, m_ButtonGradientColor1);
  drawBox(dc, hover ? kRingHover : kRing, 2, std::nullopt, RECT{0, 0, w - 1, h - 1}, 50, 50);
}

void ZorvaXPOptionButton::DrawPressedFace() {
  const HDC dc = picButton.hDC();
  const int w = picButton.ScaleWidth(), h = picButton.ScaleHeight();
  GradientFillVertical(dc, w, h, kWhite, kPressedTop);
  drawBox(dc, kRing, 2, std::nullopt, RECT{0, 0, w - 1, h - 1}, 50, 50);
}

void ZorvaXPOptionButton::DrawDot(bool hover) {
  const int w = picButton.ScaleWidth(), h = picButton.ScaleHeight();
  drawBox(picButton.hDC(), translateColor(hover ? m_BorderColorHover : m_BorderColor), 1,
          translateColor(hover ? m_TickHoverColor : m_TickColor), RECT{3, 3, w - 4, h - 4}, 50, 50);
}

void ZorvaXPOptionButton::DrawBackground(bool hover) {
  const HDC dc = UserControl.hDC();
  const int sw = ScaleWidth(), sh = ScaleHeight();
  if (m_BackStyle == VOBackStyle::OB_Gradient) {
    GradientFillVertical(dc, sw, sh, m_GradientColor2, m_GradientColor1);
  } else {
    if (m_AutoChangeBackColor) m_BackColor = ParentBackColor();
    UserControl.setBackColor(m_BackColor);
  }
  if (m_BorderStyle)
    drawBox(dc, translateColor(hover ? m_BorderColorHover : m_BorderColor), 1, std::nullopt, RECT{0, 0, sw, sh});
}

void ZorvaXPOptionButton::DrawCaption(bool hover) {
  const HDC dc = UserControl.hDC();
  UserControl.setForeColor(!Enabled() ? m_DisabledForeColor : hover ? m_ForeColorHover : m_ForeColor);
  SetBkMode(dc, TRANSPARENT);
  int left, right;
  if (m_Align == VOptionAlign::Align_Left) {
    left = kButtonSize + 4 + 4;
    right = nearest(ScaleWidth() - 2.0);
  } else if (m_Align == VOptionAlign::Align_Right) {
    left = 4;
    right = nearest(m_ButtonPos.x - 2.0);
  } else {
    m_CaptionRect = RECT{0, 0, 0, 0};
    return;
  }
  m_CaptionRect = foundation::CaptionBesideBox(dc, m_Caption, left, right, ScaleHeight(), kCaptionFlags);
  RECT r = m_CaptionRect;
  DrawText(dc, m_Caption, &r, kCaptionFlags);
}

void ZorvaXPOptionButton::DrawHover() {
  if (!UserControl.hDC() || !picButton.hDC()) return;
  DrawBackground(true);
  DrawCaption(true);
  DrawFace(true);
  if (m_Value) DrawDot(true);
}

// The circle at picButton's place and the caption's pixels that differ from the background.
void ZorvaXPOptionButton::ApplyTransparentShape() {
  const POINT b = m_ButtonPos;
  setShapeWithoutColor(m_CaptionRect, translateColor(UserControl.BackColor()),
                       CreateRoundRectRgn(b.x, b.y, b.x + kButtonSize, b.y + kButtonSize, kButtonSize, kButtonSize));
}

// ---- Input ------------------------------------------------------------------------------------

void ZorvaXPOptionButton::UserControl_Resize() {
  if (ScaleWidth() < kMinimumSize) setWidthTwips(pixelsToTwips(kMinimumSize));
  if (ScaleHeight() < kMinimumSize) setHeightTwips(pixelsToTwips(kMinimumSize));
  RedrawMe();
}

// A locked button leaves its group as it is (the class header's choice).
void ZorvaXPOptionButton::Press(int16_t& Button, int16_t& Shift, float& X, float& Y, bool eventFirst) {
  if (eventFirst) MouseDown.raise(Button, Shift, X, Y);
  if (!m_Locked) ClearGroup();
  DrawPressedFace();
  if (!eventFirst) MouseDown.raise(Button, Shift, X, Y);
}

void ZorvaXPOptionButton::Release(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  if (!m_Locked && !m_Value) {
    m_Value = true;  // the group was cleared by the press
    PropertyChanged("Value");
  }
  RedrawMe();
  MouseUp.raise(Button, Shift, X, Y);
}

void ZorvaXPOptionButton::UserControl_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  Press(Button, Shift, X, Y, true);
}

void ZorvaXPOptionButton::UserControl_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  Release(Button, Shift, X, Y);
}

void ZorvaXPOptionButton::UserControl_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  DrawHover();
  tmrHover.setEnabled(true);
  MouseMove.raise(Button, Shift, X, Y);
}

// Receiving the focus selects the button as a click would: MouseDown and MouseUp are raised.
void ZorvaXPOptionButton::UserControl_GotFocus() {
  if (m_Locked) return;
  m_Value = false;
  int16_t button = 1, shift = 0;
  float x = 0, y = 0;
  Press(button, shift, x, y, false);
  Release(button, shift, x, y);
}

void ZorvaXPOptionButton::UserControl_AccessKeyPress(int16_t& /*KeyAscii*/) {
  if (!m_Locked) m_Value = false;
  int16_t button = 1, shift = 0;
  float x = 0, y = 0;
  Release(button, shift, x, y);
  Click.raise();
}

// ---- Class ------------------------------------------------------------------------------------

const host::MemberTable& ZorvaXPOptionButton::memberTable() const {
  using O = ZorvaXPOptionButton;
  static const host::MemberTable table = host::ClassMembers<O>("ZorvaXPOptionButton")
      .property("Align", &O::Align, &O::setAlign)
      .property("ButtonGradientColor1", &O::ButtonGradientColor1, &O::setButtonGradientColor1)
      .property("ButtonGradientColor2", &O::ButtonGradientColor2, &O::setButtonGradientColor2)
      .property("AutoChangeBackColor", &O::AutoChangeBackColor, &O::setAutoChangeBackColor)
      .property("BackColor", &O::BackColor, &O::setBackColor)
      .property("BackingStyle", &O::BackingStyle, &O::setBackingStyle)
      .property("GradientColor1", &O::GradientColor1, &O::setGradientColor1)
      .property("GradientColor2", &O::GradientColor2, &O::setGradientColor2)
      .property("BackStyle", &O::BackStyle, &O::setBackStyle)
      .property("BorderStyle", &O::BorderStyle, &O::setBorderStyle)
      .property("BorderColor", &O::BorderColor, &O::setBorderColor)
      .property("Caption", &O::Caption, &O::setCaption)
      .property("BorderColorHover", &O::BorderColorHover, &O::setBorderColorHover)
      .property("ForeColor", &O::ForeColor, &O::setForeColor)
      .property("ForeColorHover", &O::ForeColorHover, &O::setForeColorHover)
      .property("TickColor", &O::TickColor, &O::setTickColor)
      .property("TickHoverColor", &O::TickHoverColor, &O::setTickHoverColor)
      .property("Value", &O::Value, &O::setValue)
      .property("Locked", &O::Locked, &O::setLocked)
      .property("DisabledForeColor", &O::DisabledForeColor, &O::setDisabledForeColor)
      .property("Enabled", &O::Enabled, &O::setEnabled)
      .property("Font", &O::Font, &O::setFont)
      .property("FontBold", &O::FontBold, &O::setFontBold)
      .property("FontItalic", &O::FontItalic, &O::setFontItalic)
      .property("FontStrikethru", &O::FontStrikethru, &O::setFontStrikethru)
      .property("FontUnderline", &O::FontUnderline, &O::setFontUnderline)
      .property("MouseIcon", &O::MouseIcon, &O::setMouseIcon)
      .property("MousePointer", &O::MousePointer, &O::setMousePointer)
      .method("RedrawMe", &O::RedrawMe)
      .method("Refresh", &O::Refresh)
      .about(&O::About)
      .event("Click", &O::Click)
      .event("DblClick", &O::DblClick)
      .event("MouseDown", &O::MouseDown, {"Button", "Shift", "X", "Y"})
      .event("MouseMove", &O::MouseMove, {"Button", "Shift", "X", "Y"})
      .event("MouseUp", &O::MouseUp, {"Button", "Shift", "X", "Y"})
      .event("KeyDown", &O::KeyDown, {"KeyCode", "Shift"})
      .event("KeyPress", &O::KeyPress, {"KeyAscii"})
      .event("KeyUp", &O::KeyUp, {"KeyCode", "Shift"})
      .build();
  return table;
}

// ---- Enumerations as type information shows them ----

const host::EnumType& describeEnum(VOptionAlign) {
  static const host::EnumType t{"VOptionAlign", {{"Align - Left", 0}, {"Align - Right", 1}}};
  return t;
}

const host::EnumType& describeEnum(VOBackingStyle) {
  static const host::EnumType t{"VOBackingStyle", {{"OBK -Transparent", 0}, {"OBK -Opaque", 1}}};
  return t;
}

const host::EnumType& describeEnum(VOBackStyle) {
  static const host::EnumType t{"VOBackStyle", {{"OB -Opaque", 0}, {"OB -Gradient", 1}}};
  return t;
}

}  // namespace zxp::buttons
