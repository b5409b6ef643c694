// ZorvaXPProgressBar: how far Value has come towards Max, as a gradient bar (the constituent
// ProgressLine, a ProgressBarEx) inside a frame filled with BackColor and outlined in
// BorderColor. A horizontal bar grows from the left, an upright one from the bottom upwards;
// both keep 2 pixels of frame on every side. The scale always starts at 0: the bar is
// (length - 4) / Max x Value pixels long, hidden below 1 pixel. Every layout raises Progress,
// and Complete first when Value equals Max. The range setters clamp Max to at least Min, Min to
// at most Max, and Value to at most Max (there is no lower clamp). A new bar is 5130 twips wide;
// a surface narrower or lower than 9 pixels grows to 135 twips.
//
// Our choices: the bar's colours, modes and styles go to
// ProgressLine and repaint it without a layout; the frame's colours (BackColor, BorderColor) and
// OrientationStyle lay the control out again, and so raise Progress as every layout does.
#pragma once

#include <cstdint>

#include "foundation/ControlBase.h"
#include "range/ProgressBarEx.h"

namespace zxp::range {

class ZorvaXPProgressBar final : public foundation::ControlBase {
 public:
  static constexpr OLE_COLOR kGradientColor1 = ProgressBarEx::kGradientColor1;
  static constexpr OLE_COLOR kGradientColor2 = ProgressBarEx::kGradientColor2;
  static constexpr OLE_COLOR kBackColor = ProgressBarEx::kBackColor;
  static constexpr OLE_COLOR kBorderColor = 0xB99D7F;
  static constexpr int32_t kMax = 100;
  static constexpr int32_t kMin = 50;
  static constexpr int32_t kValue = 50;
  static constexpr int32_t kNewWidthTwips = 5130;

  ZorvaXPProgressBar() = default;

  // ---- Properties ----
  OLE_COLOR GradientColor1() const { return m_GradientColor1; }
  void setGradientColor1(OLE_COLOR New_GradientColor1);
  OLE_COLOR GradientColor2() const { return m_GradientColor2; }
  void setGradientColor2(OLE_COLOR New_GradientColor2);
  OLE_COLOR BackColor() const { return m_BackColor; }
  void setBackColor(OLE_COLOR New_BackColor);
  GradientDType GradientMode() const { return m_GradientMode; }
  void setGradientMode(GradientDType New_GradientMode);
  ScrollingDType ScrollingStyle() const { return m_ScrollingStyle; }
  void setScrollingStyle(ScrollingDType New_ScrollingStyle);
  OrientationDType OrientationStyle() const { return m_OrientationStyle; }
  void setOrientationStyle(OrientationDType New_OrientationStyle);
  OLE_COLOR BorderColor() const { return m_BorderColor; }
  void setBorderColor(OLE_COLOR New_BorderColor);
  int32_t Max() const { return m_Max; }
  void setMax(int32_t New_Max);
  int32_t Min() const { return m_Min; }
  void setMin(int32_t New_Min);
  int32_t Value() const { return m_Value; }
  void setValue(int32_t New_Value);

  // ---- Events ----
  host::Event<> Progress;
  host::Event<> Complete;

  // Frame, bar placement, Complete and Progress, then the bar repaints.
  void LayoutProgress();

  const ProgressBarEx& line() const { return *ProgressLine; }

  const host::MemberTable& memberTable() const override;

 protected:
  void UserControl_Initialize() override;
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(host::PropertyBag& PropBag) override;
  void UserControl_Resize() override { LayoutProgress(); }
  void UserControl_LostFocus() override {}

 private:
  void repaintLine();

  OLE_COLOR m_GradientColor1 = kGradientColor1;
  OLE_COLOR m_GradientColor2 = kGradientColor2;
  OLE_COLOR m_BackColor = kBackColor;
  GradientDType m_GradientMode = GradientDType::Horizantal;
  ScrollingDType m_ScrollingStyle = ScrollingDType::Standard;
  OrientationDType m_OrientationStyle = OrientationDType::HorizontalStyle;
  OLE_COLOR m_BorderColor = kBorderColor;
  int32_t m_Max = 0;
  int32_t m_Min = 0;
  int32_t m_Value = 0;

  ProgressBarEx* ProgressLine = nullptr;
};

}  // namespace zxp::range
