// ZorvaSpinScroll: the spin box's private arrow pair (not registered; a constituent child of
// ZorvaXPSpin). Two picture surfaces, picUp the upper half and picDown the lower half, each with
// a small arrow glyph centred in it. At rest each half is a vertical gradient, GradientColor1 at
// the top and GradientColor2 at the bottom, outlined in BorderColor; under the cursor a half shows
// a right-to-left gradient of the OnOver colours outlined in OnOverBorderColor until its 1 ms
// timer (tmrPUp, tmrPDown) sees the cursor outside. Pressing a half (a double click counts as a
// press) raises UpPressed/DownPressed, releasing it UpReleased/DownReleased. The pair holds the
// spin box's range and value but does nothing with them: their setters only store.
#pragma once

#include <cstdint>

#include "foundation/ControlBase.h"
#include "foundation/PartListener.h"

namespace zxp::range {

class ZorvaSpinScroll final : public foundation::ControlBase {
 public:
  // Defaults (the spin box's own; it sets them all when it is created).
  static constexpr OLE_COLOR kBorderColor = 0xB99D7F;
  static constexpr OLE_COLOR kGradientColor1 = 0xFFFFFF;
  static constexpr OLE_COLOR kGradientColor2 = 0xECBE9E;
  static constexpr OLE_COLOR kOnOverGradient1 = 0xCDFBFD;
  static constexpr OLE_COLOR kOnOverGradient2 = 0xA0DAFE;
  static constexpr OLE_COLOR kOnOverBorderColor = 0x0080FF;
  static constexpr int32_t kMaximum = 100000;
  static constexpr int32_t kMinimum = -100000;
  static constexpr COLORREF kGlyph = RGB(77, 97, 133);

  ZorvaSpinScroll();

  // ---- Properties ----
  OLE_COLOR BorderColor() const { return m_BorderColor; }
  void setBorderColor(OLE_COLOR New_BorderColor);
  OLE_COLOR GradientColor1() const { return m_GradientColor1; }
  void setGradientColor1(OLE_COLOR New_GradientColor1);
  OLE_COLOR GradientColor2() const { return m_GradientColor2; }
  void setGradientColor2(OLE_COLOR New_GradientColor2);
  OLE_COLOR OnOverGradient1() const { return m_OnOverGradient1; }
  void setOnOverGradient1(OLE_COLOR New_OnOverGradient1);
  OLE_COLOR OnOverGradient2() const { return m_OnOverGradient2; }
  void setOnOverGradient2(OLE_COLOR New_OnOverGradient2);
  int32_t Maximum() const { return m_Maximum; }
  void setMaximum(int32_t New_Maximum) { m_Maximum = New_Maximum; }
  int32_t Minimum() const { return m_Minimum; }
  void setMinimum(int32_t New_Minimum) { m_Minimum = New_Minimum; }
  int32_t Value() const { return m_Value; }
  void setValue(int32_t New_Value) { m_Value = New_Value; }
  OLE_COLOR OnOverBorderColor() const { return m_OnOverBorderColor; }
  void setOnOverBorderColor(OLE_COLOR New_OnOverBorderColor);

  // ---- Events ----
  host::Event<> UpReleased;
  host::Event<> DownReleased;
  host::Event<> UpPressed;
  host::Event<> DownPressed;

  // Both halves at rest.
  void DrawSpinArrows();

  const foundation::SurfaceWindow& upHalf() const { return picUp; }
  const foundation::SurfaceWindow& downHalf() const { return picDown; }
  const foundation::ControlTimer& upTimer() const { return tmrPUp; }
  const foundation::ControlTimer& downTimer() const { return tmrPDown; }

  const host::MemberTable& memberTable() const override;

 protected:
  void UserControl_Initialize() override;
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(host::PropertyBag& PropBag) override;
  void UserControl_Resize() override;
  void redrawResting() override { DrawSpinArrows(); }

 private:
  foundation::SurfaceWindow& half(bool down) { return down ? picDown : picUp; }
  void paintHalf(bool down, bool hover);
  void DrawSpinArrowOver(bool down);
  void hoverCheck(bool down);
  friend class foundation::PartListener<ZorvaSpinScroll>;
  void partMouseDown(int down, int16_t&, int16_t&, float&, float&) { (down ? DownPressed : UpPressed).raise(); }
  void partMouseUp(int down, int16_t&, int16_t&, float&, float&) { (down ? DownReleased : UpReleased).raise(); }
  void partMouseMove(int down, int16_t&, int16_t&, float&, float&) { DrawSpinArrowOver(down != 0); }
  void partClick(int) {}
  void partDblClick(int down) { (down ? DownPressed : UpPressed).raise(); }  // a double click presses too

  OLE_COLOR m_BorderColor = kBorderColor;
  OLE_COLOR m_GradientColor1 = kGradientColor1;
  OLE_COLOR m_GradientColor2 = kGradientColor2;
  OLE_COLOR m_OnOverGradient1 = kOnOverGradient1;
  OLE_COLOR m_OnOverGradient2 = kOnOverGradient2;
  int32_t m_Maximum = kMaximum;
  int32_t m_Minimum = kMinimum;
  int32_t m_Value = 0;
  OLE_COLOR m_OnOverBorderColor = kOnOverBorderColor;

  foundation::PartListener<ZorvaSpinScroll> halfListeners_[2];  // before the halves: outlives them
  foundation::SurfaceWindow picUp, picDown;
  foundation::ControlTimer tmrPUp, tmrPDown;
};

}  // namespace zxp::range
