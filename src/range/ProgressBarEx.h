// ProgressBarEx: the progress bar's private filled part (not registered; the constituent
// ProgressLine of ZorvaXPProgressBar). It only paints itself (PaintProgressLine, on every resize
// and when its owner asks): a gradient of GradientColor1 and GradientColor2 chosen by
// GradientMode (Horizantal: vertical gradient, GradientColor1 at the top; Vertical: right-to-left;
// Center: a glass bar with edge lines), then, for the Standard style, block separators in
// BackColor. Its setters only store; the owner sizes, places and repaints it.
//
// The separators (their exact place is ours to choose): 2-pixel bands across the bar's whole
// thickness, the width of the 2-pixel pen they stand for, every 10 pixels along the bar counted
// from where it grows (the left edge, or the bottom edge of an upright bar): the first block is
// 9 pixels, the band covers the 10th and 11th pixel, then 8-pixel blocks follow.
#pragma once

#include <cstdint>

#include "foundation/ControlBase.h"

namespace zxp::range {

enum class GradientDType : int32_t { Horizantal = 0, Vertical = 1, Center = 2 };
enum class ScrollingDType : int32_t { Standard = 0, Smooth = 1 };
enum class OrientationDType : int32_t { HorizontalStyle = 0, VerticalStyle = 1 };

// Type information for the enumerations above (the interface's names and values).
const host::EnumType& describeEnum(GradientDType);
const host::EnumType& describeEnum(ScrollingDType);
const host::EnumType& describeEnum(OrientationDType);

class ProgressBarEx final : public foundation::ControlBase {
 public:
  static constexpr OLE_COLOR kGradientColor1 = 0xFFFFFF;
  static constexpr OLE_COLOR kGradientColor2 = 0xE2A981;
  static constexpr OLE_COLOR kBackColor = 0xFFFFFF;
  static constexpr int kBlockPitch = 10;

  GradientDType GradientMode() const { return m_GradientMode; }
  void setGradientMode(GradientDType New_GradientMode);
  OLE_COLOR GradientColor1() const { return m_GradientColor1; }
  void setGradientColor1(OLE_COLOR New_GradientColor1);
  OLE_COLOR GradientColor2() const { return m_GradientColor2; }
  void setGradientColor2(OLE_COLOR New_GradientColor2);
  OLE_COLOR BackColor() const { return m_BackColor; }
  void setBackColor(OLE_COLOR New_BackColor);
  ScrollingDType ScrollingStyle() const { return m_ScrollingStyle; }
  void setScrollingStyle(ScrollingDType New_ScrollingStyle);
  OrientationDType OrientationStyle() const { return m_OrientationStyle; }
  void setOrientationStyle(OrientationDType New_OrientationStyle);

  // Gradient by GradientMode, then the separators of the Standard style.
  void PaintProgressLine();

  const host::MemberTable& memberTable() const override;

 protected:
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(host::PropertyBag& PropBag) override;
  void UserControl_Resize() override { PaintProgressLine(); }

 private:
  GradientDType m_GradientMode = GradientDType::Horizantal;
  OLE_COLOR m_GradientColor1 = kGradientColor1;
  OLE_COLOR m_GradientColor2 = kGradientColor2;
  OLE_COLOR m_BackColor = kBackColor;
  ScrollingDType m_ScrollingStyle = ScrollingDType::Standard;
  OrientationDType m_OrientationStyle = OrientationDType::HorizontalStyle;
};

}  // namespace zxp::range
