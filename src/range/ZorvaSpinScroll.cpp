#include "range/ZorvaSpinScroll.h"

#include "foundation/PenLines.h"
#include "foundation/modGeneral.h"
#include "foundation/modGradient.h"
#include "platform/gfx/SysColors.h"
#include "platform/host/MemberTable.h"
#include "platform/host/PropertyBag.h"
#include "platform/ui/User.h"

namespace zxp::range {

using foundation::Redraw;

ZorvaSpinScroll::ZorvaSpinScroll() : tmrPUp("tmrPUp", 1), tmrPDown("tmrPDown", 1) {}

void ZorvaSpinScroll::setBorderColor(OLE_COLOR v) { letProperty(m_BorderColor, v, "BorderColor", Redraw::Resting); }
void ZorvaSpinScroll::setGradientColor1(OLE_COLOR v) { letProperty(m_GradientColor1, v, "GradientColor1", Redraw::Resting); }
void ZorvaSpinScroll::setGradientColor2(OLE_COLOR v) { letProperty(m_GradientColor2, v, "GradientColor2", Redraw::Resting); }
void ZorvaSpinScroll::setOnOverGradient1(OLE_COLOR v) { letProperty(m_OnOverGradient1, v, "OnOverGradient1", Redraw::Resting); }
void ZorvaSpinScroll::setOnOverGradient2(OLE_COLOR v) { letProperty(m_OnOverGradient2, v, "OnOverGradient2", Redraw::Resting); }
void ZorvaSpinScroll::setOnOverBorderColor(OLE_COLOR v) {
  letProperty(m_OnOverBorderColor, v, "OnOverBorderColor", Redraw::Resting);
}

void ZorvaSpinScroll::UserControl_Initialize() {
  for (bool down : {false, true}) {
    foundation::SurfaceWindow& s = half(down);
    s.create(hWnd(), Rect{0, 0, 1, 1});
    s.setTakesFocusOnClick(false);
    s.setVisible(true);
    halfListeners_[down].listen(s, this, down);
  }
  tmrPUp.setOwnerTick([](void* o) { static_cast<ZorvaSpinScroll*>(o)->hoverCheck(false); }, this);
  tmrPDown.setOwnerTick([](void* o) { static_cast<ZorvaSpinScroll*>(o)->hoverCheck(true); }, this);
}

void ZorvaSpinScroll::UserControl_InitProperties() {
  m_BorderColor = kBorderColor;
  m_GradientColor1 = kGradientColor1;
  m_GradientColor2 = kGradientColor2;
  m_OnOverGradient1 = kOnOverGradient1;
  m_OnOverGradient2 = kOnOverGradient2;
  m_Maximum = kMaximum;
  m_Minimum = kMinimum;
  m_Value = 0;
  m_OnOverBorderColor = kOnOverBorderColor;
}

void ZorvaSpinScroll::UserControl_ReadProperties(host::PropertyBag& PropBag) {
  m_BorderColor = PropBag.read<OLE_COLOR>("BorderColor", kBorderColor);
  m_GradientColor1 = PropBag.read<OLE_COLOR>("GradientColor1", kGradientColor1);
  m_GradientColor2 = PropBag.read<OLE_COLOR>("GradientColor2", kGradientColor2);
  m_OnOverGradient1 = PropBag.read<OLE_COLOR>("OnOverGradient1", kOnOverGradient1);
  m_OnOverGradient2 = PropBag.read<OLE_COLOR>("OnOverGradient2", kOnOverGradient2);
  m_Maximum = PropBag.read<int32_t>("Maximum", kMaximum);
  m_Minimum = PropBag.read<int32_t>("Minimum", kMinimum);
  m_Value = PropBag.read<int32_t>("value", 0);
  m_OnOverBorderColor = PropBag.read<OLE_COLOR>("OnOverBorderColor", kOnOverBorderColor);
  UserControl_Resize();
}

void ZorvaSpinScroll::UserControl_WriteProperties(host::PropertyBag& PropBag) {
  PropBag.WriteProperty("BorderColor", m_BorderColor, kBorderColor);
  PropBag.WriteProperty("GradientColor1", m_GradientColor1, kGradientColor1);
  PropBag.WriteProperty("GradientColor2", m_GradientColor2, kGradientColor2);
  PropBag.WriteProperty("OnOverGradient1", m_OnOverGradient1, kOnOverGradient1);
  PropBag.WriteProperty("OnOverGradient2", m_OnOverGradient2, kOnOverGradient2);
  PropBag.WriteProperty("Maximum", m_Maximum, kMaximum);
  PropBag.WriteProperty("Minimum", m_Minimum, kMinimum);
  PropBag.WriteProperty("value", m_Value, int32_t{0});
  PropBag.WriteProperty("OnOverBorderColor", m_OnOverBorderColor, kOnOverBorderColor);
}

// The upper half takes height / 2 pixels, the lower half the rest.
void ZorvaSpinScroll::UserControl_Resize() {
  const int w = ScaleWidth(), h = ScaleHeight();
  picUp.Move(0, 0, w, h / 2);
  picDown.Move(0, h / 2, w, h - h / 2);
  DrawSpinArrows();
}

void ZorvaSpinScroll::paintHalf(bool down, bool hover) {
  foundation::SurfaceWindow& s = half(down);
  const HDC dc = s.hDC();
  if (!dc) return;
  const int w = s.ScaleWidth(), h = s.ScaleHeight();
  s.Cls();
  if (hover)
    GradientFillAngle(dc, w, h, m_OnOverGradient1, m_OnOverGradient2, 180);
  else
    GradientFillVertical(dc, w, h, m_GradientColor2, m_GradientColor1);
  foundation::drawOutline(dc, translateColor(hover ? m_OnOverBorderColor : m_BorderColor), 0, 0, w, h);
  foundation::drawArrowGlyph(dc, kGlyph, w, h, down ? foundation::ArrowDirection::Down : foundation::ArrowDirection::Up, 3);
}

void ZorvaSpinScroll::DrawSpinArrows() {
  paintHalf(false, false);
  paintHalf(true, false);
}

void ZorvaSpinScroll::DrawSpinArrowOver(bool down) {
  paintHalf(down, true);
  (down ? tmrPDown : tmrPUp).setEnabled(true);
}

void ZorvaSpinScroll::hoverCheck(bool down) {
  if (!CursorOutsideWindow(half(down).hWnd())) return;
  paintHalf(down, false);
  (down ? tmrPDown : tmrPUp).setEnabled(false);
}

const host::MemberTable& ZorvaSpinScroll::memberTable() const {
  using B = ZorvaSpinScroll;
  static const host::MemberTable table = host::ClassMembers<B>("ZorvaSpinScroll")
      .property("BorderColor", &B::BorderColor, &B::setBorderColor)
      .property("GradientColor1", &B::GradientColor1, &B::setGradientColor1)
      .property("GradientColor2", &B::GradientColor2, &B::setGradientColor2)
      .property("OnOverGradient1", &B::OnOverGradient1, &B::setOnOverGradient1)
      .property("OnOverGradient2", &B::OnOverGradient2, &B::setOnOverGradient2)
      .property("Maximum", &B::Maximum, &B::setMaximum)
      .property("Minimum", &B::Minimum, &B::setMinimum)
      .property("Value", &B::Value, &B::setValue)
      .property("OnOverBorderColor", &B::OnOverBorderColor, &B::setOnOverBorderColor)
      .event("UpReleased", &B::UpReleased)
      .event("DownReleased", &B::DownReleased)
      .event("UpPressed", &B::UpPressed)
      .event("DownPressed", &B::DownPressed)
      .build();
  return table;
}

}  // namespace zxp::range
