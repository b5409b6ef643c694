#include "range/ScrollBarBase.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "foundation/PenLines.h"
#include "foundation/modGeneral.h"
#include "foundation/modGradient.h"
#include "platform/host/PropertyBag.h"
#include "platform/ui/User.h"

namespace zxp::range {

using foundation::drawLines;
using foundation::drawOutline;
using foundation::fillSolid;
using foundation::SurfaceWindow;

namespace {
constexpr int kMinThickness = 18;  // below this the bar grows to its standard thickness
constexpr int kTestStep = 3;       // paging stops when a step of 3 would leave the range
}  // namespace

ScrollBarBase::ScrollBarBase(const Parts& parts)
    : ControlBase("tmrHover"),
      parts_(parts),
      tmrStart(parts.tmrStart, 50),
      tmrEnd(parts.tmrEnd, 50),
      tmrStartSpeed(parts.tmrStartSpeed, 1),
      tmrEndSpeed(parts.tmrEndSpeed, 1),
      tmrCheckStart(parts.tmrCheckStart, 1),
      tmrCheckEnd(parts.tmrCheckEnd, 1),
      tmrCheckScroll("tmrCheckScroll", 1) {}

// ---- Geometry -----------------------------------------------------------------------------------

// Saturating (Rect::fromXYWH): a part of a bar whose range runs past 32 bits may sit anywhere.
Rect ScrollBarBase::placeAlong(int along, int length, int across, int thickness) const {
  if (parts_.vertical) return Rect::fromXYWH(across, along, thickness, length);
  return Rect::fromXYWH(along, across, length, thickness);
}

int ScrollBarBase::lengthOf(const SurfaceWindow& s) const {
  return parts_.vertical ? s.ScaleHeight() : s.ScaleWidth();
}

int ScrollBarBase::thicknessOf(const SurfaceWindow& s) const {
  return parts_.vertical ? s.ScaleWidth() : s.ScaleHeight();
}

int ScrollBarBase::trackLength() const { return lengthOf(picBody); }
int ScrollBarBase::thumbLength() const { return lengthOf(picScroll); }

int ScrollBarBase::thumbStart() const {
  RECT r{};
  if (!GetWindowRect(picScroll.hWnd(), &r)) return 0;
  POINT p{r.left, r.top};
  ScreenToClient(picBody.hWnd(), &p);
  return parts_.vertical ? p.y : p.x;
}

std::array<const foundation::ControlTimer*, 8> ScrollBarBase::timers() const {
  return {&tmrStart, &tmrEnd, &tmrStartSpeed, &tmrEndSpeed, &tmrCheckStart, &tmrCheckEnd, &tmrCheckScroll, &tmrHover};
}

bool ScrollBarBase::anyTimerRunning() const {
  for (const foundation::ControlTimer* t : timers())
    if (t->running()) return true;
  return false;
}

// ---- Lifecycle ----------------------------------------------------------------------------------

void ScrollBarBase::UserControl_Initialize() {
  const HWND self = hWnd();
  picStart.create(self, Rect{0, 0, 1, 1});
  picEnd.create(self, Rect{0, 0, 1, 1});
  picBody.create(self, Rect{0, 0, 1, 1});
  picScroll.create(picBody.hWnd(), Rect{0, 0, 1, 1});
  for (SurfaceWindow* s : {&picStart, &picEnd, &picBody, &picScroll}) {
    s->setTakesFocusOnClick(false);
    s->setVisible(true);
  }
  connectParts();
}

// The parts are heard through their listeners and the timers through their owner ticks: no
// connected handler of its own for any of them.
void ScrollBarBase::connectParts() {
  SurfaceWindow* parts[] = {&picStart, &picEnd, &picBody, &picScroll};
  for (int i = 0; i < 4; ++i) partListeners_[i].listen(*parts[i], this, i);
  tmrStart.setOwnerTick([](void* b) { static_cast<ScrollBarBase*>(b)->arrowRepeat(false); }, this);
  tmrEnd.setOwnerTick([](void* b) { static_cast<ScrollBarBase*>(b)->arrowRepeat(true); }, this);
  tmrCheckStart.setOwnerTick([](void* b) { static_cast<ScrollBarBase*>(b)->arrowHoverCheck(false); }, this);
  tmrCheckEnd.setOwnerTick([](void* b) { static_cast<ScrollBarBase*>(b)->arrowHoverCheck(true); }, this);
  tmrStartSpeed.setOwnerTick([](void* b) { static_cast<ScrollBarBase*>(b)->pagingTick(false); }, this);
  tmrEndSpeed.setOwnerTick([](void* b) { static_cast<ScrollBarBase*>(b)->pagingTick(true); }, this);
  tmrCheckScroll.setOwnerTick([](void* b) { static_cast<ScrollBarBase*>(b)->thumbHoverCheck(); }, this);
}

void ScrollBarBase::partMouseDown(int part, int16_t& button, int16_t&, float& x, float& y) {
  switch (part) {
    case kStartArrow:
    case kEndArrow: arrowMouseDown(part == kEndArrow); break;
    case kTrack: trackMouseDown(button, x, y); break;
    default: thumbMouseDown(button, x, y); break;
  }
}

void ScrollBarBase::partMouseUp(int part, int16_t&, int16_t&, float&, float&) {
  switch (part) {
    case kStartArrow:
    case kEndArrow: arrowMouseUp(part == kEndArrow); break;
    case kTrack: trackMouseUp(); break;
    default: thumbMouseUp(); break;
  }
}

void ScrollBarBase::partMouseMove(int part, int16_t& button, int16_t&, float& x, float& y) {
  if (part == kStartArrow || part == kEndArrow) arrowMouseMove(part == kEndArrow, button);
  else if (part == kThumb) thumbMouseMove(button, x, y);
}

void ScrollBarBase::partClick(int part) {
  if (part == kStartArrow || part == kEndArrow) raiseArrowClick(part == kEndArrow);
}

void ScrollBarBase::UserControl_InitProperties() {
  setGradientColor1(kGradientColor1);
  setGradientColor2(kGradientColor2);
  setOnOverGradient1(kOnOverGradient1);
  setOnOverGradient2(kOnOverGradient2);
  setMax(255);
  setMin(0);
  setValue(0);
  setLargeChange(1);
  setEnabled(true);
}

void ScrollBarBase::UserControl_ReadProperties(host::PropertyBag& PropBag) {
  setGradientColor1(PropBag.read<OLE_COLOR>("GradientColor1", kGradientColor1));
  setGradientColor2(PropBag.read<OLE_COLOR>("GradientColor2", kGradientColor2));
  setOnOverGradient1(PropBag.read<OLE_COLOR>("OnOverGradient1", kOnOverGradient1));
  setOnOverGradient2(PropBag.read<OLE_COLOR>("OnOverGradient2", kOnOverGradient2));
  setLargeChange(PropBag.read<int32_t>("LargeChange", 1));
  setMin(PropBag.read<int32_t>("Min", 0));
  setMax(PropBag.read<int32_t>("Max", 255));
  setValue(PropBag.read<int32_t>("Value", 0));
  setMousePointer(PropBag.read<int16_t>("MousePointer", 0));
  setMouseIcon(PropBag.read<host::PictureRef>("MouseIcon", host::PictureRef()));
  setEnabled(PropBag.read<bool>("Enabled", true));
}

void ScrollBarBase::UserControl_WriteProperties(host::PropertyBag& PropBag) {
  PropBag.WriteProperty("GradientColor1", m_GradientColor1, kGradientColor1);
  PropBag.WriteProperty("GradientColor2", m_GradientColor2, kGradientColor2);
  PropBag.WriteProperty("OnOverGradient1", m_OnOverGradient1, kOnOverGradient1);
  PropBag.WriteProperty("OnOverGradient2", m_OnOverGradient2, kOnOverGradient2);
  PropBag.WriteProperty("LargeChange", m_LargeChange, int32_t{1});
  PropBag.WriteProperty("Min", m_Min, int32_t{0});
  PropBag.WriteProperty("Max", m_Max, int32_t{255});
  PropBag.WriteProperty("Value", m_Value, int32_t{0});
  PropBag.WriteProperty("MousePointer", MousePointer(), int16_t{0});
  PropBag.WriteProperty("MouseIcon", MouseIcon());
  PropBag.WriteProperty("Enabled", Enabled(), true);
}

// ---- Properties ---------------------------------------------------------------------------------

void ScrollBarBase::setGradientColor1(OLE_COLOR v) { letProperty(m_GradientColor1, v, "GradientColor1", foundation::Redraw::Resting); }
void ScrollBarBase::setGradientColor2(OLE_COLOR v) { letProperty(m_GradientColor2, v, "GradientColor2", foundation::Redraw::Resting); }
void ScrollBarBase::setOnOverGradient1(OLE_COLOR v) { letProperty(m_OnOverGradient1, v, "OnOverGradient1", foundation::Redraw::None); }
void ScrollBarBase::setOnOverGradient2(OLE_COLOR v) { letProperty(m_OnOverGradient2, v, "OnOverGradient2", foundation::Redraw::None); }
void ScrollBarBase::setLargeChange(int32_t v) { letProperty(m_LargeChange, v, "LargeChange", foundation::Redraw::Resting); }

void ScrollBarBase::setMin(int32_t v) {
  m_Min = v;
  setValue(m_Min);
  restingChanged();
  PropertyChanged("Min");
}

void ScrollBarBase::setMax(int32_t v) {
  m_Max = (v < m_Min || v < 1) ? 255 : v;
  restingChanged();
  PropertyChanged("Max");
}

void ScrollBarBase::setValue(int32_t v) {
  m_Value = (v > m_Max || v < m_Min) ? 0 : v;
  placeThumb();
  Change.raise();
  PropertyChanged("Value");
}

void ScrollBarBase::setMousePointer(int16_t v) {
  for (SurfaceWindow* s : {&picStart, &picEnd, &picBody, &picScroll}) s->setMousePointer(v);
  ControlBase::setMousePointer(v);
}

void ScrollBarBase::setMouseIcon(host::PictureRef v) {
  for (SurfaceWindow* s : {&picStart, &picEnd, &picBody, &picScroll}) s->setMouseIcon(v);
  ControlBase::setMouseIcon(std::move(v));
}

void ScrollBarBase::setEnabled(bool v) {
  UserControl.setEnabled(v);
  enableParts(v);
  if (v)
    RedrawMe();
  else
    DrawDisabled();
  PropertyChanged("Enabled");
}

// ---- Layout and drawing -------------------------------------------------------------------------

void ScrollBarBase::RedrawMe() {
  if (!UserControl.exists()) return;
  const bool v = parts_.vertical;
  if ((v ? ScaleWidth() : ScaleHeight()) < kMinThickness) {
    if (v)
      setWidthTwips(parts_.minThicknessTwips);
    else
      setHeightTwips(parts_.minThicknessTwips);
  }
  if ((v ? ScaleHeight() : ScaleWidth()) < kMinLength) {
    if (v)
      setHeightTwips(pixelsToTwips(kMinLength));
    else
      setWidthTwips(pixelsToTwips(kMinLength));
  }
  const int length = v ? ScaleHeight() : ScaleWidth();
  const int thickness = v ? ScaleWidth() : ScaleHeight();
  const int track = std::max(0, length - 2 * kArrowLength);

  auto move = [](SurfaceWindow& s, const Rect& r) { s.Move(r.left, r.top, r.width(), r.height()); };
  move(picStart, placeAlong(0, kArrowLength, 0, thickness));
  move(picEnd, placeAlong(length - kArrowLength, kArrowLength, 0, thickness));
  move(picBody, placeAlong(kArrowLength, track, 0, thickness));

  if (m_LargeChange != 0 && m_Max != 0)
    thumbLength_ = std::max(kMinThumb, nearest(static_cast<double>(track) / m_Max * m_LargeChange));
  move(picScroll, placeAlong(thumbStart(), thumbLength_, 0, thickness));
  placeThumb();

  if (!Enabled()) {
    DrawDisabled();
    return;
  }
  picScroll.setVisible(true);
  picBody.Cls();
  DrawScrollArrows();
  DrawScrollThumb();
}

void ScrollBarBase::placeThumb() {
  if (m_Max == 0 || !picScroll.exists()) return;
  const int at = nearest(static_cast<double>(trackLength() - thumbLength()) / m_Max * m_Value);
  const Rect r = placeAlong(at, thumbLength(), 0, thicknessOf(picBody));
  picScroll.Move(r.left, r.top, r.width(), r.height());
}

// The arrow's glyph: a triangle 7 pixels across and 4 deep, its tip towards its end of the bar.
void ScrollBarBase::paintArrow(bool end, OLE_COLOR top, OLE_COLOR bottom, COLORREF outline, COLORREF glyph) {
  SurfaceWindow& s = arrow(end);
  const HDC dc = s.hDC();
  if (!dc) return;
  const int w = s.ScaleWidth(), h = s.ScaleHeight();
  s.Cls();
  GradientFillVertical(dc, w, h, bottom, top);
  drawOutline(dc, outline, 0, 0, w, h);
  using foundation::ArrowDirection;
  const ArrowDirection direction = parts_.vertical ? (end ? ArrowDirection::Down : ArrowDirection::Up)
                                                   : (end ? ArrowDirection::Right : ArrowDirection::Left);
  foundation::drawArrowGlyph(dc, glyph, w, h, direction, 4);
}

void ScrollBarBase::DrawScrollArrows() {
  for (bool end : {false, true}) paintArrow(end, m_GradientColor1, m_GradientColor2, kOutlineNormal, kGlyph);
}

void ScrollBarBase::DrawArrowOver(bool end) { paintArrow(end, m_OnOverGradient1, m_OnOverGradient2, kOutlineHot, kGlyph); }

void ScrollBarBase::DrawArrowDown(bool end) { paintArrow(end, m_OnOverGradient2, m_OnOverGradient1, kOutlineHot, kGlyph); }

void ScrollBarBase::paintThumb(OLE_COLOR c1, OLE_COLOR c2, COLORREF outline) {
  const HDC dc = picScroll.hDC();
  if (!dc) return;
  const int w = picScroll.ScaleWidth(), h = picScroll.ScaleHeight();
  picScroll.Cls();
  GradientFillAngle(dc, w, h, c1, c2, 180);
  DrawThumbGrip();
  drawOutline(dc, outline, 0, 0, w, h);
}

void ScrollBarBase::DrawScrollThumb() { paintThumb(m_GradientColor1, m_GradientColor2, kOutlineNormal); }
void ScrollBarBase::DrawThumbOver() { paintThumb(m_OnOverGradient1, m_OnOverGradient2, kOutlineHot); }
void ScrollBarBase::DrawThumbDown() { paintThumb(m_OnOverGradient1, m_OnOverGradient2, kOutlineHot); }

// Three white lines 10 pixels long two pixels apart, each with a blue line beside it, centred on
// the thumb across the bar.
void ScrollBarBase::DrawThumbGrip() {
  const HDC dc = picScroll.hDC();
  const int across0 = nearest((thicknessOf(picScroll) - 10) / 2.0);
  int along = nearest((lengthOf(picScroll) - 9) / 2.0);
  auto line = [&](COLORREF c, int a) {
    if (parts_.vertical)
      drawLines(dc, c, {{{across0, a}, {across0 + 10, a}}});
    else
      drawLines(dc, c, {{{a, across0}, {a, across0 + 10}}});
  };
  for (int i = 0; i < 3; ++i) {
    along += 2;
    line(kGripLight, along);
  }
  along -= 6;
  for (int i = 0; i < 3; ++i) {
    along += 2;
    line(kGripDark, along + 1);
  }
}

void ScrollBarBase::DrawDisabled() {
  for (bool end : {false, true}) paintArrow(end, kDisabledFill, kDisabledFill, kDisabledOutline, kGlyphDisabled);
  if (picBody.hDC()) fillSolid(picBody.hDC(), kDisabledFill, RECT{0, 0, picBody.ScaleWidth(), picBody.ScaleHeight()});
  picScroll.setVisible(false);
}

// The track from the thumb to its end on the paging side, in the resting arrow gradient.
void ScrollBarBase::paintHighlightedStretch() {
  const HDC dc = picBody.hDC();
  if (!dc) return;
  // The thumb may lie anywhere a position can (its window is placed from any Value): the
  // track's ends are worked out in 64 bits.
  const int thickness = thicknessOf(picBody);
  const int64_t start = thumbStart();
  int64_t from = 0, to = start;
  if (picBody.Tag() == parts_.towardsEnd) {
    from = start + thumbLength();
    to = trackLength();
  }
  if (to <= from) return;
  const Rect r = placeAlong(clampToInt32(from), clampToInt32(to - from), 0, thickness);
  GradientFillVerticalAt(dc, r.left, r.top, r.width(), r.height(), m_GradientColor2, m_GradientColor1);
}

// ---- Behaviour ----------------------------------------------------------------------------------

void ScrollBarBase::StopAllTimers() {
  for (foundation::ControlTimer* t :
       {&tmrStart, &tmrEnd, &tmrStartSpeed, &tmrEndSpeed, &tmrCheckStart, &tmrCheckEnd, &tmrCheckScroll, &tmrHover})
    t->setEnabled(false);
}

bool ScrollBarBase::CursorOnThumb() const {
  RECT r{};
  POINT p{};
  if (!GetWindowRect(picScroll.hWnd(), &r) || !GetCursorPos(&p)) return false;
  return PtInRect(&r, p) != 0;
}

void ScrollBarBase::focusBar() {
  if (GetFocus() != hWnd()) SetFocus(hWnd());
}

void ScrollBarBase::arrowMouseMove(bool end, int16_t button) {
  if (button != 0) return;
  DrawArrowOver(end);
  (end ? tmrCheckEnd : tmrCheckStart).setEnabled(true);
}

void ScrollBarBase::arrowMouseDown(bool end) {
  focusBar();
  DrawArrowDown(end);
  (end ? tmrEnd : tmrStart).setEnabled(true);
}

void ScrollBarBase::arrowMouseUp(bool end) {
  DrawScrollArrows();
  (end ? tmrEnd : tmrStart).setEnabled(false);
  picBody.setTag("");
}

void ScrollBarBase::arrowRepeat(bool end) {
  if (m_Value == (end ? m_Max : m_Min)) {
    StopAllTimers();
    picBody.setTag("");
    return;
  }
  raiseArrowHolding(end);
  setValue(end ? m_Value + 1 : m_Value - 1);
}

void ScrollBarBase::arrowHoverCheck(bool end) {
  if (!CursorOutsideWindow(arrow(end).hWnd())) return;
  DrawScrollArrows();
  (end ? tmrCheckEnd : tmrCheckStart).setEnabled(false);
  tmrStart.setEnabled(false);
  tmrEnd.setEnabled(false);
}

void ScrollBarBase::trackMouseDown(int16_t button, float x, float y) {
  focusBar();
  if (button != 1) return;
  const float at = parts_.vertical ? y : x;
  picBody.Cls();
  const bool towardsEnd = at > thumbStart() + thumbLength();
  picBody.setTag(towardsEnd ? parts_.towardsEnd : parts_.towardsStart);
  paintHighlightedStretch();
  (towardsEnd ? tmrEndSpeed : tmrStartSpeed).setEnabled(true);
}

void ScrollBarBase::trackMouseUp() {
  StopAllTimers();
  picBody.setTag("");
  RedrawMe();
}

void ScrollBarBase::pagingTick(bool end) {
  const int64_t value = m_Value;
  if (end ? value + kTestStep > m_Max : value - kTestStep < m_Min) {
    setValue(end ? m_Max : m_Min);
    picBody.setTag("");
    StopAllTimers();
    return;
  }
  if (picBody.Tag() != (end ? parts_.towardsEnd : parts_.towardsStart)) return;
  picBody.Cls();
  paintHighlightedStretch();
  setValue(end ? m_Value + parts_.pageStep : m_Value - parts_.pageStep);
  if (parts_.vertical) raiseScrolling(end ? 2 : 1);
  if (CursorOnThumb()) {
    picBody.Cls();
    StopAllTimers();
    picBody.setTag("");
  }
}

void ScrollBarBase::thumbMouseDown(int16_t button, float x, float y) {
  focusBar();
  grabOffset_ = parts_.vertical ? y : x;
  picScroll.setTag(std::to_string(m_Value));
  DrawThumbDown();
  if (button == 1 || button == 2) raiseHoldingOnScrollBody();
}

void ScrollBarBase::thumbMouseMove(int16_t button, float x, float y) {
  if (button == 0) {
    DrawThumbOver();
    tmrCheckScroll.setEnabled(true);
    return;
  }
  if (m_Max == 0) return;
  const int travel = trackLength() - thumbLength();
  const double k = static_cast<double>(travel) / m_Max;
  const double wanted = thumbStart() + ((parts_.vertical ? y : x) - grabOffset_);
  if (wanted < k * m_Min) {
    setValue(m_Min);
  } else if (wanted >= travel) {
    setValue(m_Max);
  } else {
    const Rect r = placeAlong(static_cast<int>(wanted), thumbLength(), 0, thicknessOf(picBody));
    picScroll.Move(r.left, r.top, r.width(), r.height());
    setValue(nearest(wanted / k));
  }
  const int64_t previous = std::atoll(picScroll.Tag().c_str());
  if (parts_.vertical) {
    raiseScrolling(m_Value < previous ? 2 : 1);
  } else if (m_Value != previous) {
    raiseScrolling(m_Value > previous ? 1 : 2);
  }
  picScroll.setTag(std::to_string(m_Value));
  tmrCheckScroll.setEnabled(false);
  raiseHoldingOnScrollBody();
}

void ScrollBarBase::thumbMouseUp() {
  raiseHoldingOnScrollBody();
  tmrCheckScroll.setEnabled(false);
  picBody.setTag("");
  RedrawMe();
}

void ScrollBarBase::thumbHoverCheck() {
  if (CursorOnThumb()) return;
  RedrawMe();
  tmrCheckScroll.setEnabled(false);
  tmrCheckStart.setEnabled(false);
  tmrCheckEnd.setEnabled(false);
  tmrStart.setEnabled(false);
  tmrEnd.setEnabled(false);
}

}  // namespace zxp::range
