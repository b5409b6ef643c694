// The scroll bar design shared by ZorvaXPHScrollBar and ZorvaXPVScrollBar: one class that works
// along a main axis (x for the horizontal bar, y for the vertical one), so every rule below is
// written once for both orientations.
//
// The bar is built from four picture surfaces: the arrow buttons at the two ends (19 pixels long,
// the whole thickness), the track between them and the thumb, a child of the track. Each surface
// paints itself with two-colour gradients: arrows with a vertical gradient, the thumb with a
// right-to-left gradient and a grip of three short lines; hover and pressed looks use the
// OnOver colours and an orange outline. The arrow glyphs are drawn here as small filled
// triangles (dark blue, grey when disabled).
//
// The value model: Value lies in Min..Max or is 0; the thumb maps Value with Max alone (the track
// start stands for 0). Arrows repeat every 50 ms while held (a click shorter than that changes
// nothing), the track pages towards the pointer on its 1 ms timer (the platform's 10 ms minimum
// applies) until the thumb reaches the pointer, and dragging the thumb sets Value from its place.
// Hover looks end by polling (CursorOutsideWindow) on 1 ms timers.
//
// Our choices:
//   - the highlighted stretch painted while the track is held runs from the thumb's edge to the
//     track's end on the paging side, in the resting arrow gradient;
//   - the track's own colour is the surface default, the button-face system colour;
//   - pressing any part of the bar gives the bar the focus (the parts never take it themselves),
//     so the vertical bar's wheel works after a click;
//   - a layout (RedrawMe, a resize) also places the thumb at Value's position, and a disabled bar
//     keeps its disabled look through a layout.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "foundation/ControlBase.h"
#include "foundation/PartListener.h"
#include "platform/host/MemberTable.h"

namespace zxp::range {

class ScrollBarBase : public foundation::ControlBase {
 public:
  // Fixed colours of the drawing (COLORREF, 0x00BBGGRR).
  static constexpr COLORREF kOutlineNormal = 0xE2A981;  // R129,G169,B226
  static constexpr COLORREF kOutlineHot = 0x0080FF;     // R255,G128,B0
  static constexpr COLORREF kDisabledFill = RGB(230, 230, 220);
  static constexpr COLORREF kDisabledOutline = RGB(204, 204, 171);
  static constexpr COLORREF kGripLight = RGB(255, 255, 255);
  static constexpr COLORREF kGripDark = RGB(140, 176, 248);
  static constexpr COLORREF kGlyph = RGB(77, 97, 133);
  static constexpr COLORREF kGlyphDisabled = RGB(172, 168, 153);

  // Creation defaults.
  static constexpr OLE_COLOR kGradientColor1 = 0xFDE5D3;
  static constexpr OLE_COLOR kGradientColor2 = 0xECBE9E;
  static constexpr OLE_COLOR kOnOverGradient1 = 0xCDFBFD;
  static constexpr OLE_COLOR kOnOverGradient2 = 0xA0DAFE;

  static constexpr int kArrowLength = 19;   // pixels along the bar
  static constexpr int kMinThumb = 21;      // the shortest thumb
  static constexpr int kMinLength = 39;     // below this the bar grows to 585 twips

  // ---- Properties ----
  OLE_COLOR GradientColor1() const { return m_GradientColor1; }
  void setGradientColor1(OLE_COLOR New_GradientColor1);
  OLE_COLOR GradientColor2() const { return m_GradientColor2; }
  void setGradientColor2(OLE_COLOR New_GradientColor2);
  OLE_COLOR OnOverGradient1() const { return m_OnOverGradient1; }
  void setOnOverGradient1(OLE_COLOR New_OnOverGradient1);
  OLE_COLOR OnOverGradient2() const { return m_OnOverGradient2; }
  void setOnOverGradient2(OLE_COLOR New_OnOverGradient2);
  int32_t LargeChange() const { return m_LargeChange; }
  void setLargeChange(int32_t New_LargeChange);
  int32_t Min() const { return m_Min; }
  // Min, then Value = Min (through the Value setter), then a redraw.
  void setMin(int32_t New_Min);
  int32_t Max() const { return m_Max; }
  // Below Min or below 1 gives 255. Value is left alone.
  void setMax(int32_t New_Max);
  int32_t Value() const { return m_Value; }
  // Outside Min..Max gives 0 (not clamped); places the thumb; raises Change on every set.
  void setValue(int32_t New_Value);
  // Applied to every part of the bar.
  void setMousePointer(int16_t New_MousePointer);
  void setMouseIcon(host::PictureRef New_MouseIcon);
  // Disabled: the disabled look; enabled: RedrawMe.
  void setEnabled(bool New_Enabled);

  // ---- Methods ----
  // Layout and full redraw: minimum sizes, arrow buttons, track, thumb length and place.
  void RedrawMe();

  host::Event<> Change;

  // ---- State a host or a test may look at ----
  const foundation::SurfaceWindow& startArrow() const { return picStart; }  // picLeft / picUp
  const foundation::SurfaceWindow& endArrow() const { return picEnd; }      // picRight / picDown
  const foundation::SurfaceWindow& track() const { return picBody; }
  const foundation::SurfaceWindow& thumb() const { return picScroll; }
  // Every timer of the bar, hover timer of the control base included.
  std::array<const foundation::ControlTimer*, 8> timers() const;
  bool anyTimerRunning() const;
  // The thumb's start along the track and its length, in pixels.
  int thumbStart() const;
  int thumbLength() const;
  int trackLength() const;

 protected:
  // The names of the parts in one orientation, and its own numbers.
  struct Parts {
    bool vertical;
    const char* tmrStart;       // tmrLeft / tmrTop: repeat while the start arrow is held
    const char* tmrEnd;         // tmrRight / tmrDown
    const char* tmrStartSpeed;  // tmrLeftSpeed / tmrTopSpeed: paging towards the start
    const char* tmrEndSpeed;    // tmrRightSpeed / tmrSpeedDown
    const char* tmrCheckStart;  // tmrCheckLeft / tmrCheckUp: hover end on the start arrow
    const char* tmrCheckEnd;    // tmrCheckRight / tmrCheckDown
    const char* towardsStart;   // the track's tag while paging towards the start
    const char* towardsEnd;
    int32_t minThicknessTwips;  // what a bar thinner than 18 pixels grows to
    int pageStep;               // the value step per paging tick
  };
  explicit ScrollBarBase(const Parts& parts);

  // The member table's part both orientations share, in the interface's order: the properties,
  // RedrawMe, About and the first event, Change. Each orientation adds its own events.
  template <class B>
  static host::ClassMembers<B> sharedMembers(const char* className) {
    host::ClassMembers<B> m(className);
    m.property("GradientColor1", &B::GradientColor1, &B::setGradientColor1)
        .property("GradientColor2", &B::GradientColor2, &B::setGradientColor2)
        .property("OnOverGradient1", &B::OnOverGradient1, &B::setOnOverGradient1)
        .property("OnOverGradient2", &B::OnOverGradient2, &B::setOnOverGradient2)
        .property("LargeChange", &B::LargeChange, &B::setLargeChange)
        .property("Min", &B::Min, &B::setMin)
        .property("Max", &B::Max, &B::setMax)
        .property("Value", &B::Value, &B::setValue)
        .property("MousePointer", &B::MousePointer, &B::setMousePointer)
        .property("MouseIcon", &B::MouseIcon, &B::setMouseIcon)
        .property("Enabled", &B::Enabled, &B::setEnabled)
        .method("RedrawMe", &B::RedrawMe)
        .about(&B::About)
        .event("Change", &B::Change);
    return m;
  }

  // What the orientations raise in their own words.
  virtual void raiseScrolling(int way) = 0;
  virtual void raiseArrowClick(bool end) = 0;
  virtual void raiseArrowHolding(bool end) = 0;
  // The vertical bar's extras: HoldingOnScrollBody, wheel and enabling its parts.
  virtual void raiseHoldingOnScrollBody() {}
  virtual void enableParts(bool) {}

  void UserControl_Initialize() override;
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(host::PropertyBag& PropBag) override;
  void UserControl_Resize() override { RedrawMe(); }
  void UserControl_LostFocus() override {}
  void redrawResting() override { RedrawMe(); }
  bool resizeRedrawsResting() const override { return true; }

  // The parts' listeners (declared first: they outlive the surfaces), and the parts' surfaces,
  // for the vertical bar's own enabling.
  enum Part { kStartArrow, kEndArrow, kTrack, kThumb };
  foundation::PartListener<ScrollBarBase> partListeners_[4];
  foundation::SurfaceWindow picStart, picEnd, picBody, picScroll;

 private:
  // Rect along the main axis: `along`/`length` on it, `across`/`thickness` on the other.
  Rect placeAlong(int along, int length, int across, int thickness) const;
  int lengthOf(const foundation::SurfaceWindow& s) const;
  int thicknessOf(const foundation::SurfaceWindow& s) const;
  foundation::SurfaceWindow& arrow(bool end) { return end ? picEnd : picStart; }

  // ---- Drawing ----
  void DrawScrollArrows();
  void DrawScrollThumb();
  void DrawArrowOver(bool end);
  void DrawArrowDown(bool end);
  void DrawThumbOver();
  void DrawThumbDown();
  void DrawThumbGrip();
  void DrawDisabled();
  void paintArrow(bool end, OLE_COLOR top, OLE_COLOR bottom, COLORREF outline, COLORREF glyph);
  void paintThumb(OLE_COLOR c1, OLE_COLOR c2, COLORREF outline);
  void paintHighlightedStretch();
  void placeThumb();

  // ---- Behaviour ----
  void StopAllTimers();
  bool CursorOnThumb() const;
  void connectParts();
  friend class foundation::PartListener<ScrollBarBase>;
  void partMouseDown(int part, int16_t& button, int16_t& shift, float& x, float& y);
  void partMouseUp(int part, int16_t& button, int16_t& shift, float& x, float& y);
  void partMouseMove(int part, int16_t& button, int16_t& shift, float& x, float& y);
  void partClick(int part);
  void partDblClick(int) {}
  void focusBar();
  void arrowMouseMove(bool end, int16_t button);
  void arrowMouseDown(bool end);
  void arrowMouseUp(bool end);
  void arrowRepeat(bool end);
  void arrowHoverCheck(bool end);
  void trackMouseDown(int16_t button, float x, float y);
  void trackMouseUp();
  void pagingTick(bool end);
  void thumbMouseDown(int16_t button, float x, float y);
  void thumbMouseMove(int16_t button, float x, float y);
  void thumbMouseUp();
  void thumbHoverCheck();

  Parts parts_;
  // Fields start at the host's zero values: a bar loaded from a bag has Max 0 until "Max" is read.
  OLE_COLOR m_GradientColor1 = 0;
  OLE_COLOR m_GradientColor2 = 0;
  OLE_COLOR m_OnOverGradient1 = 0;
  OLE_COLOR m_OnOverGradient2 = 0;
  int32_t m_LargeChange = 0;
  int32_t m_Min = 0;
  int32_t m_Max = 0;
  int32_t m_Value = 0;

  foundation::ControlTimer tmrStart, tmrEnd, tmrStartSpeed, tmrEndSpeed, tmrCheckStart, tmrCheckEnd, tmrCheckScroll;
  int thumbLength_ = kMinThumb;
  float grabOffset_ = 0;  // where the thumb was taken, inside it, along the bar
};

}  // namespace zxp::range
