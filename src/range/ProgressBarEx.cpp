#include "range/ProgressBarEx.h"

#include "platform/gfx/GdiRaii.h"
#include "foundation/modGradient.h"
#include "platform/gfx/SysColors.h"
#include "platform/host/MemberTable.h"
#include "platform/host/PropertyBag.h"

namespace zxp::range {

using foundation::Redraw;

void ProgressBarEx::setGradientMode(GradientDType v) { letProperty(m_GradientMode, v, "GradientMode", Redraw::None); }
void ProgressBarEx::setGradientColor1(OLE_COLOR v) { letProperty(m_GradientColor1, v, "GradientColor1", Redraw::None); }
void ProgressBarEx::setGradientColor2(OLE_COLOR v) { letProperty(m_GradientColor2, v, "GradientColor2", Redraw::None); }
void ProgressBarEx::setBackColor(OLE_COLOR v) { letProperty(m_BackColor, v, "BackColor", Redraw::None); }
void ProgressBarEx::setScrollingStyle(ScrollingDType v) { letProperty(m_ScrollingStyle, v, "ScrollingStyle", Redraw::None); }
void ProgressBarEx::setOrientationStyle(OrientationDType v) {
  letProperty(m_OrientationStyle, v, "OrientationStyle", Redraw::None);
}

void ProgressBarEx::UserControl_InitProperties() {
  m_GradientMode = GradientDType::Horizantal;
  m_GradientColor1 = kGradientColor1;
  m_GradientColor2 = kGradientColor2;
  m_BackColor = kBackColor;
  m_ScrollingStyle = ScrollingDType::Standard;
  m_OrientationStyle = OrientationDType::HorizontalStyle;
}

void ProgressBarEx::UserControl_ReadProperties(host::PropertyBag& PropBag) {
  m_GradientMode = PropBag.read<GradientDType>("GradientMode", GradientDType::Horizantal);
  m_GradientColor1 = PropBag.read<OLE_COLOR>("GradientColor1", kGradientColor1);
  m_GradientColor2 = PropBag.read<OLE_COLOR>("GradientColor2", kGradientColor2);
  m_BackColor = PropBag.read<OLE_COLOR>("BackColor", kBackColor);
  m_ScrollingStyle = PropBag.read<ScrollingDType>("ScrollingStyle", ScrollingDType::Standard);
  m_OrientationStyle = PropBag.read<OrientationDType>("OrientationStyle", OrientationDType::HorizontalStyle);
  PaintProgressLine();
}

void ProgressBarEx::UserControl_WriteProperties(host::PropertyBag& PropBag) {
  PropBag.WriteProperty("GradientMode", m_GradientMode, GradientDType::Horizantal);
  PropBag.WriteProperty("GradientColor1", m_GradientColor1, kGradientColor1);
  PropBag.WriteProperty("GradientColor2", m_GradientColor2, kGradientColor2);
  PropBag.WriteProperty("BackColor", m_BackColor, kBackColor);
  PropBag.WriteProperty("ScrollingStyle", m_ScrollingStyle, ScrollingDType::Standard);
  PropBag.WriteProperty("OrientationStyle", m_OrientationStyle, OrientationDType::HorizontalStyle);
}

void ProgressBarEx::PaintProgressLine() {
  const HDC dc = UserControl.hDC();
  if (!dc) return;
  const int w = ScaleWidth(), h = ScaleHeight();
  switch (m_GradientMode) {
    case GradientDType::Horizantal:
      GradientFillVertical(dc, w, h, m_GradientColor2, m_GradientColor1);
      break;
    case GradientDType::Vertical:
      GradientFillAngle(dc, w, h, m_GradientColor1, m_GradientColor2, 180);
      break;
    case GradientDType::Center:
      GradientFillGlass(dc, 0, 2, w, h, m_GradientColor1, m_GradientColor2, 1);
      break;
    default:
      // A mode outside 0...2 paints no gradient: the surface keeps its back colour.
      UserControl.Cls();
      break;
  }
  if (m_ScrollingStyle != ScrollingDType::Standard) return;
  GdiObject band(CreateSolidBrush(translateColor(m_BackColor)));
  const HBRUSH brush = static_cast<HBRUSH>(band.get());
  if (m_OrientationStyle == OrientationDType::VerticalStyle) {
    for (int y = h - kBlockPitch; y > -2; y -= kBlockPitch) {
      const RECT r{0, y - 1, w, y + 1};
      FillRect(dc, &r, brush);
    }
  } else {
    for (int x = kBlockPitch; x < w + 1; x += kBlockPitch) {
      const RECT r{x - 1, 0, x + 1, h};
      FillRect(dc, &r, brush);
    }
  }
}

const host::MemberTable& ProgressBarEx::memberTable() const {
  using B = ProgressBarEx;
  static const host::MemberTable table = host::ClassMembers<B>("ProgressBarEx")
      .property("GradientMode", &B::GradientMode, &B::setGradientMode)
      .property("GradientColor1", &B::GradientColor1, &B::setGradientColor1)
      .property("GradientColor2", &B::GradientColor2, &B::setGradientColor2)
      .property("BackColor", &B::BackColor, &B::setBackColor)
      .property("ScrollingStyle", &B::ScrollingStyle, &B::setScrollingStyle)
      .property("OrientationStyle", &B::OrientationStyle, &B::setOrientationStyle)
      .build();
  return table;
}

// ---- Enumerations as type information shows them ----

const host::EnumType& describeEnum(GradientDType) {
  static const host::EnumType t{"GradientDType", {{"Horizantal", 0}, {"Vertical", 1}, {"Center", 2}}};
  return t;
}

const host::EnumType& describeEnum(ScrollingDType) {
  static const host::EnumType t{"ScrollingDType", {{"Standard", 0}, {"Smooth", 1}}};
  return t;
}

const host::EnumType& describeEnum(OrientationDType) {
  static const host::EnumType t{"OrientationDType", {{"HorizontalStyle", 0}, {"VerticalStyle", 1}}};
  return t;
}

}  // namespace zxp::range
