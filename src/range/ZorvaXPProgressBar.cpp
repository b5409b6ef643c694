#include "range/ZorvaXPProgressBar.h"

#include "foundation/PenLines.h"
#include "platform/gfx/SysColors.h"
#include "platform/host/MemberTable.h"
#include "platform/host/PropertyBag.h"
#include "platform/ui/User.h"

namespace zxp::range {

namespace {
constexpr int kMinSize = 9;
constexpr int32_t kMinSizeTwips = 135;
}  // namespace

void ZorvaXPProgressBar::UserControl_Initialize() {
  host::ExtenderRecord r;
  r.left = r.top = pixelsToTwips(2);
  r.width = r.height = pixelsToTwips(1);
  r.visible = false;
  r.tabStop = false;
  ProgressLine = &addConstituent<ProgressBarEx>("ProgressLine", r);
}

// ---- Properties ---------------------------------------------------------------------------------

void ZorvaXPProgressBar::repaintLine() {
  if (ProgressLine) ProgressLine->PaintProgressLine();
}

void ZorvaXPProgressBar::setGradientColor1(OLE_COLOR v) {
  m_GradientColor1 = v;
  ProgressLine->setGradientColor1(v);
  repaintLine();
  PropertyChanged("GradientColor1");
}

void ZorvaXPProgressBar::setGradientColor2(OLE_COLOR v) {
  m_GradientColor2 = v;
  ProgressLine->setGradientColor2(v);
  repaintLine();
  PropertyChanged("GradientColor2");
}

void ZorvaXPProgressBar::setBackColor(OLE_COLOR v) {
  m_BackColor = v;
  ProgressLine->setBackColor(v);
  LayoutProgress();
  PropertyChanged("BackColor");
}

void ZorvaXPProgressBar::setGradientMode(GradientDType v) {
  m_GradientMode = v;
  ProgressLine->setGradientMode(v);
  repaintLine();
  PropertyChanged("GradientMode");
}

void ZorvaXPProgressBar::setScrollingStyle(ScrollingDType v) {
  m_ScrollingStyle = v;
  ProgressLine->setScrollingStyle(v);
  repaintLine();
  PropertyChanged("ScrollingStyle");
}

void ZorvaXPProgressBar::setOrientationStyle(OrientationDType v) {
  m_OrientationStyle = v;
  ProgressLine->setOrientationStyle(v);
  LayoutProgress();
  PropertyChanged("OrientationStyle");
}

void ZorvaXPProgressBar::setBorderColor(OLE_COLOR v) {
  m_BorderColor = v;
  LayoutProgress();
  PropertyChanged("BorderColor");
}

void ZorvaXPProgressBar::setMax(int32_t v) {
  m_Max = v < m_Min ? m_Min : v;
  LayoutProgress();
  PropertyChanged("Max");
}

void ZorvaXPProgressBar::setMin(int32_t v) {
  m_Min = v > m_Max ? m_Max : v;
  setValue(m_Value);
  LayoutProgress();
  PropertyChanged("Min");
}

void ZorvaXPProgressBar::setValue(int32_t v) {
  m_Value = v > m_Max ? m_Max : v;
  LayoutProgress();
  PropertyChanged("value");
}

// ---- Persistence --------------------------------------------------------------------------------

void ZorvaXPProgressBar::UserControl_InitProperties() {
  setGradientColor1(kGradientColor1);
  setGradientColor2(kGradientColor2);
  setBackColor(kBackColor);
  setGradientMode(GradientDType::Horizantal);
  setScrollingStyle(ScrollingDType::Standard);
  setOrientationStyle(OrientationDType::HorizontalStyle);
  setBorderColor(kBorderColor);
  setMax(kMax);
  setMin(kMin);
  setValue(kValue);
  setWidthTwips(kNewWidthTwips);
}

void ZorvaXPProgressBar::UserControl_ReadProperties(host::PropertyBag& PropBag) {
  setGradientColor1(PropBag.read<OLE_COLOR>("GradientColor1", kGradientColor1));
  setGradientColor2(PropBag.read<OLE_COLOR>("GradientColor2", kGradientColor2));
  setBackColor(PropBag.read<OLE_COLOR>("BackColor", kBackColor));
  setGradientMode(PropBag.read<GradientDType>("GradientMode", GradientDType::Horizantal));
  setScrollingStyle(PropBag.read<ScrollingDType>("ScrollingStyle", ScrollingDType::Standard));
  setOrientationStyle(PropBag.read<OrientationDType>("OrientationStyle", OrientationDType::HorizontalStyle));
  setBorderColor(PropBag.read<OLE_COLOR>("BorderColor", kBorderColor));
  setMax(PropBag.read<int32_t>("Max", kMax));
  setMin(PropBag.read<int32_t>("Min", kMin));
  setValue(PropBag.read<int32_t>("Value", kValue));
}

void ZorvaXPProgressBar::UserControl_WriteProperties(host::PropertyBag& PropBag) {
  PropBag.WriteProperty("GradientColor1", m_GradientColor1, kGradientColor1);
  PropBag.WriteProperty("GradientColor2", m_GradientColor2, kGradientColor2);
  PropBag.WriteProperty("BackColor", m_BackColor, kBackColor);
  PropBag.WriteProperty("GradientMode", m_GradientMode, GradientDType::Horizantal);
  PropBag.WriteProperty("ScrollingStyle", m_ScrollingStyle, ScrollingDType::Standard);
  PropBag.WriteProperty("OrientationStyle", m_OrientationStyle, OrientationDType::HorizontalStyle);
  PropBag.WriteProperty("BorderColor", m_BorderColor, kBorderColor);
  PropBag.WriteProperty("Max", m_Max, kMax);
  PropBag.WriteProperty("Min", m_Min, kMin);
  PropBag.WriteProperty("Value", m_Value, kValue);
}

// ---- Layout -------------------------------------------------------------------------------------

void ZorvaXPProgressBar::LayoutProgress() {
  if (!UserControl.exists() || !ProgressLine) return;
  if (ScaleWidth() < kMinSize) setWidthTwips(kMinSizeTwips);
  if (ScaleHeight() < kMinSize) setHeightTwips(kMinSizeTwips);
  const int w = ScaleWidth(), h = ScaleHeight();
  const HDC dc = UserControl.hDC();
  foundation::fillSolid(dc, translateColor(m_BackColor), RECT{0, 0, w, h});
  foundation::drawOutline(dc, translateColor(m_BorderColor), 0, 0, w, h);

  bool repainted = false;  // a bar whose size changed has painted itself in its resize
  if (m_Max > 0) {
    const bool upright = m_OrientationStyle == OrientationDType::VerticalStyle;
    const float along = static_cast<float>(upright ? h : w) - 4;
    const float L = m_Value <= 0 ? 0.0f : along / static_cast<float>(m_Max) * static_cast<float>(m_Value);
    host::Extender* bar = ProgressLine->extender();
    if (L >= 1 && bar) {
      const int length = nearest(L);
      const int before = upright ? ProgressLine->surface().ScaleHeight() : ProgressLine->surface().ScaleWidth();
      repainted = before != length;
      if (upright)
        bar->Move(pixelsToTwips(2), pixelsToTwips(h - 2 - length), pixelsToTwips(w - 4), pixelsToTwips(length));
      else
        bar->Move(pixelsToTwips(2), pixelsToTwips(2), pixelsToTwips(length), pixelsToTwips(h - 4));
      bar->setVisible(true);
    } else if (bar) {
      bar->setVisible(false);
    }
  }
  if (m_Value == m_Max) Complete.raise();
  Progress.raise();
  if (!repainted) repaintLine();
}

// ---- Class --------------------------------------------------------------------------------------

const host::MemberTable& ZorvaXPProgressBar::memberTable() const {
  using B = ZorvaXPProgressBar;
  static const host::MemberTable table = host::ClassMembers<B>("ZorvaXPProgressBar")
      .property("GradientColor1", &B::GradientColor1, &B::setGradientColor1)
      .property("GradientColor2", &B::GradientColor2, &B::setGradientColor2)
      .property("BackColor", &B::BackColor, &B::setBackColor)
      .property("GradientMode", &B::GradientMode, &B::setGradientMode)
      .property("ScrollingStyle", &B::ScrollingStyle, &B::setScrollingStyle)
      .property("OrientationStyle", &B::OrientationStyle, &B::setOrientationStyle)
      .property("BorderColor", &B::BorderColor, &B::setBorderColor)
      .property("Max", &B::Max, &B::setMax)
      .property("Min", &B::Min, &B::setMin)
      .property("Value", &B::Value, &B::setValue)
      .about(&B::About)
      .event("Progress", &B::Progress)
      .event("Complete", &B::Complete)
      .build();
  return table;
}

}  // namespace zxp::range
