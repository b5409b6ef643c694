// The scroll bars: the value model, arrows, track paging, thumb dragging, the vertical bar's
// wheel, the looks, persistence, the class entries and a clean teardown. Both orientations run
// the same design; the tests use each where it differs.

#include <climits>

#include "library/ClassTable.h"
#include "platform/ui/User.h"
#include "range/RangeFixture.h"
#include "range/ZorvaXPHScrollBar.h"
#include "range/ZorvaXPVScrollBar.h"
#include "support/PixelTable.h"
#include "support/PropertyTable.h"

namespace zxp::testing {
namespace {

using range::ScrollBarBase;
using range::ZorvaXPHScrollBar;
using range::ZorvaXPVScrollBar;

// A 200-pixel bar: the track is 162 pixels, the thumb 21 at LargeChange 1 and Max 255, so it
// travels 141 pixels.
class ScrollBars : public RangeTest {
 protected:
  ZorvaXPHScrollBar& hbar(const std::string& name = "hsb") { return place<ZorvaXPHScrollBar>(name, 200, 19); }
  ZorvaXPVScrollBar& vbar(const std::string& name = "vsb") { return place<ZorvaXPVScrollBar>(name, 17, 200, 250, 10); }
  static int placeOf(const ScrollBarBase& b, int value) {
    return nearest(static_cast<double>(b.trackLength() - b.thumbLength()) / b.Max() * value);
  }
  // Presses on the track at a position along it (the middle of its thickness).
  void pressTrack(const ScrollBarBase& b, bool vertical, int along) {
    input.moveTo(b.track().hWnd(), vertical ? Point{8, along} : Point{along, 9}).press();
  }
};

// ---- The value model ----

TEST_F(ScrollBars, ValueOutsideTheRangeBecomesZeroAndEverySetRaisesChange) {
  ZorvaXPHScrollBar& b = hbar();
  b.setMax(20);
  b.setMin(10);
  EXPECT_EQ(b.Value(), 10);  // Min moves Value
  logEvents(b);
  b.setValue(15);
  b.setValue(15);
  EXPECT_EQ(log, (std::vector<std::string>{"Change", "Change"}));
  // Out of range is not clamped: it becomes 0, even though 0 lies below Min.
  for (auto [in, out] : {std::pair{21, 0}, {9, 0}, {20, 20}}) {
    b.setValue(in);
    EXPECT_EQ(b.Value(), out) << in;
  }
  EXPECT_EQ(form->changes().back().property, "Value");
}

TEST_F(ScrollBars, MaxBelowMinOrOneGives255AndLeavesValue) {
  ZorvaXPHScrollBar& b = hbar();
  b.setValue(30);
  b.setMax(0);
  EXPECT_EQ(b.Max(), 255);
  b.setMax(40);
  b.setMin(5);
  for (int m : {4, -7}) {
    b.setMax(m);
    EXPECT_EQ(b.Max(), 255) << m;
  }
  EXPECT_EQ(b.Value(), 5);
}

TEST_F(ScrollBars, TheThumbMapsValueWithMaxAloneAndIsAtLeast21Pixels) {
  ZorvaXPHScrollBar& b = hbar();
  EXPECT_EQ(std::pair(b.trackLength(), b.thumbLength()), std::pair(162, 21));
  b.setMax(200);
  b.setMin(100);
  b.setValue(150);
  EXPECT_EQ(b.thumbStart(), nearest(141.0 / 200 * 150));  // the track start stands for 0, not Min
  b.setLargeChange(100);
  EXPECT_EQ(std::pair(b.thumbLength(), b.thumbStart()), std::pair(81, nearest(81.0 / 200 * 150)));  // 162 / 200 x 100
  b.setLargeChange(0);  // no new length: the thumb keeps its size
  EXPECT_EQ(b.thumbLength(), 81);
  b.setLargeChange(2);
  EXPECT_EQ(b.thumbLength(), 21);
}

TEST_F(ScrollBars, MinimumSizes) {
  ZorvaXPHScrollBar& h = place<ZorvaXPHScrollBar>("h", 20, 5);
  EXPECT_EQ(std::tuple(h.surface().ScaleHeight(), h.surface().ScaleWidth(), ext("h").Height()), std::tuple(19, 39, 285));
  ZorvaXPVScrollBar& v = place<ZorvaXPVScrollBar>("v", 5, 20, 100, 10);
  EXPECT_EQ(std::tuple(v.surface().ScaleWidth(), v.surface().ScaleHeight(), ext("v").Width()), std::tuple(17, 39, 255));
}

// ---- Arrows ----

TEST_F(ScrollBars, HoldingAnArrowStepsEvery50MillisecondsAndAClickAloneChangesNothing) {
  ZorvaXPHScrollBar& b = hbar();
  logEvents(b);
  input.moveTo(b.endArrow().hWnd(), Point{9, 9}).click();
  EXPECT_EQ(b.Value(), 0);
  EXPECT_EQ(events(), (std::vector<std::string>{"RightArrowClick"}));
  input.advance(1000);  // past the double-click time: the next press is a press of its own
  log.clear();
  input.press().advance(49);
  EXPECT_EQ(b.Value(), 0);
  input.advance(1);
  EXPECT_EQ(b.Value(), 1);
  input.advance(100);
  EXPECT_EQ(b.Value(), 3);
  input.release().advance(200);
  EXPECT_EQ(b.Value(), 3);
  EXPECT_EQ(events(), (std::vector<std::string>{"RightArroyHoling", "Change", "RightArroyHoling", "Change",
                                                "RightArroyHoling", "Change", "RightArrowClick"}));
  log.clear();
  // (The right arrow's hover timer, which stops both repeat timers once the cursor has left it,
  // gets its tick before the press.)
  input.moveTo(b.startArrow().hWnd(), Point{9, 9}).advance(20).press().advance(50).release();
  EXPECT_EQ(b.Value(), 2);
  EXPECT_EQ(events(), (std::vector<std::string>{"LeftArrowHolding", "Change", "LeftArrowClick"}));
}

TEST_F(ScrollBars, HoldingAnArrowAtALimitStopsEveryTimerAndNeverWraps) {
  ZorvaXPHScrollBar& b = hbar();
  b.setMax(2);
  b.setValue(1);
  input.moveTo(b.endArrow().hWnd(), Point{9, 9}).press().advance(50);
  EXPECT_EQ(b.Value(), 2);
  input.advance(50);
  EXPECT_EQ(b.Value(), 2);
  EXPECT_FALSE(b.anyTimerRunning());
  input.advance(500).release();
  EXPECT_EQ(b.Value(), 2);

  ZorvaXPVScrollBar& v = vbar();
  logEvents(v);
  input.moveTo(v.startArrow().hWnd(), Point{8, 9}).press().advance(500);
  EXPECT_EQ(v.Value(), 0);
  EXPECT_FALSE(v.anyTimerRunning());
  EXPECT_EQ(events(), (std::vector<std::string>{}));
  input.release();
}

TEST_F(ScrollBars, ArrowAndThumbHoverEndByPollingAndLeavingWhileHeldStopsTheRepeat) {
  ZorvaXPHScrollBar& b = hbar();
  input.moveTo(b.thumb().hWnd(), Point{10, 9});
  EXPECT_EQ(px(b.thumb(), 0, 0), ScrollBarBase::kOutlineHot);
  input.moveTo(b.track().hWnd(), Point{100, 9});
  input.advance(10);
  EXPECT_EQ(px(b.thumb(), 0, 0), ScrollBarBase::kOutlineNormal);
  EXPECT_FALSE(b.anyTimerRunning());

  ZorvaXPVScrollBar& v = vbar();
  input.moveTo(v.endArrow().hWnd(), Point{8, 9});
  EXPECT_EQ(px(v.endArrow(), 0, 0), ScrollBarBase::kOutlineHot);
  input.press();
  input.moveTo(form->hWnd(), Point{1, 1});  // still held, but outside
  input.advance(10);
  EXPECT_EQ(px(v.endArrow(), 0, 0), ScrollBarBase::kOutlineNormal);
  input.advance(200);
  EXPECT_EQ(v.Value(), 0);
  EXPECT_FALSE(v.anyTimerRunning());
  input.release();
}

// ---- Track paging ----

TEST_F(ScrollBars, HorizontalPagingStepsBy3UntilTheThumbReachesThePointerAndPaintsItsStretch) {
  ZorvaXPHScrollBar& b = hbar();
  logEvents(b);
  const COLORREF plain = px(b.track(), 100, 9);
  pressTrack(b, false, 150);
  EXPECT_EQ(b.track().Tag(), "Right");
  // The stretch to the track's end is painted in the arrows' gradient while paging.
  EXPECT_EQ(px(b.track(), 100, 1), gradientRow(0xFDE5D3, 0xECBE9E, 1, 19));
  int ticks = 0;
  while (b.anyTimerRunning() && ticks < 200) {
    input.advance(10);
    ++ticks;
  }
  // The first value in steps of 3 whose thumb covers pixel 150 of the track.
  int expected = 0;
  while (placeOf(b, expected) + 21 <= 150) expected += 3;
  // One step per 10 ms tick (the 1 ms interval runs at 10 ms).
  EXPECT_EQ(std::tuple(b.Value(), ticks, b.track().Tag()), std::tuple(expected, expected / 3, ""));
  EXPECT_LE(b.thumbStart(), 150);
  EXPECT_GT(b.thumbStart() + b.thumbLength(), 150);
  EXPECT_EQ(events({"Change"}), (std::vector<std::string>{}));  // no Scrolling while paging
  input.advance(100).release();
  EXPECT_EQ(b.Value(), expected);
  EXPECT_EQ(px(b.track(), 10, 9), plain);  // the release redraws the plain track

  // Towards the start, from near the end, with the release stopping it early.
  b.setValue(240);
  pressTrack(b, false, 5);
  EXPECT_EQ(b.track().Tag(), "Left");
  input.advance(30);
  EXPECT_EQ(b.Value(), 231);
  input.release().advance(100);
  EXPECT_EQ(b.Value(), 231);
  EXPECT_FALSE(b.anyTimerRunning());
}

TEST_F(ScrollBars, PagingToTheEndsSetsMinAndMax) {
  ZorvaXPHScrollBar& b = hbar();
  b.setMax(10);
  b.setValue(8);
  pressTrack(b, false, 161);
  input.advance(10);
  EXPECT_EQ(b.Value(), 10);  // 8 + 3 would pass Max
  EXPECT_FALSE(b.anyTimerRunning());
  input.release();
  b.setValue(2);
  pressTrack(b, false, 0);
  input.advance(10);
  EXPECT_EQ(b.Value(), 0);
  input.release();
}

TEST_F(ScrollBars, VerticalPagingStepsBy1AndRaisesScrolling) {
  ZorvaXPVScrollBar& v = vbar();
  logEvents(v);
  pressTrack(v, true, 60);
  EXPECT_EQ(v.track().Tag(), "Down");
  input.advance(30);
  EXPECT_EQ(v.Value(), 3);
  EXPECT_EQ(events(), (std::vector<std::string>{"Change", "Scrolling 2", "Change", "Scrolling 2", "Change", "Scrolling 2"}));
  input.advance(2000);
  int expected = 0;
  while (placeOf(v, expected) + 21 <= 60) ++expected;
  EXPECT_EQ(v.Value(), expected);
  input.release();
  log.clear();
  pressTrack(v, true, 2);
  input.advance(10).release();
  EXPECT_EQ(v.Value(), expected - 1);
  EXPECT_EQ(events(), (std::vector<std::string>{"Change", "Scrolling 1"}));
}

// ---- Thumb dragging ----

TEST_F(ScrollBars, DraggingPastEitherEndGivesMinAndMax) {
  ZorvaXPHScrollBar& b = hbar();
  b.setMax(100);
  b.setMin(10);
  logEvents(b);
  input.moveTo(b.thumb().hWnd(), Point{10, 9}).press();
  input.moveBy(1000, 0);
  EXPECT_EQ(std::pair(b.Value(), b.thumbStart()), std::pair(100, 141));
  input.moveBy(-2000, 0);
  EXPECT_EQ(b.Value(), 10);  // Min, not 0
  input.release();
  EXPECT_EQ(events(), (std::vector<std::string>{"Change", "Scrolling 1", "Change", "Scrolling 2"}));
}

TEST_F(ScrollBars, DraggingSetsValueFromTheThumbsPlace) {
  ZorvaXPHScrollBar& b = hbar();
  b.setMax(141);  // one unit per pixel
  logEvents(b);
  input.moveTo(b.thumb().hWnd(), Point{10, 9}).press().moveBy(40, 0);
  EXPECT_EQ(std::pair(b.Value(), b.thumbStart()), std::pair(40, 40));
  input.moveBy(0, 5);  // no movement along the bar: same value, no Scrolling
  input.moveBy(-15, 0);
  EXPECT_EQ(b.Value(), 25);
  input.release();
  EXPECT_EQ(events(), (std::vector<std::string>{"Change", "Scrolling 1", "Change", "Change", "Scrolling 2"}));
}

TEST_F(ScrollBars, VerticalDraggingRaisesHoldingOnScrollBodyAndScrollingOneWhenEqual) {
  ZorvaXPVScrollBar& v = vbar();
  v.setMax(141);
  logEvents(v);
  input.moveTo(v.thumb().hWnd(), Point{8, 10}).press();
  input.moveBy(0, 20).moveBy(3, 0).release();
  EXPECT_EQ(v.Value(), 20);
  EXPECT_EQ(events(), (std::vector<std::string>{"HoldingOnScrollBody", "Change", "Scrolling 1", "HoldingOnScrollBody",
                                                "Change", "Scrolling 1", "HoldingOnScrollBody", "HoldingOnScrollBody"}));
}

// ---- The vertical bar's wheel ----

TEST_F(ScrollBars, TheWheelStepsWhileFocusedAndAtMinYieldsZero) {
  ZorvaXPVScrollBar& v = vbar();
  v.setMax(10);
  v.setMin(2);
  v.setValue(5);
  logEvents(v);
  input.wheel(1);
  EXPECT_EQ(std::tuple(v.Value(), v.wheelWatcher()), std::tuple(5, nullptr));  // not focused: no watcher
  input.moveTo(v.thumb().hWnd()).click();  // a click gives the bar the focus
  ASSERT_NE(v.wheelWatcher(), nullptr);
  log.clear();
  input.wheel(1);
  EXPECT_EQ(v.Value(), 4);
  input.wheel(-1);
  EXPECT_EQ(v.Value(), 5);
  EXPECT_EQ(events(), (std::vector<std::string>{"Scrolling 1", "Change", "Change", "Scrolling 2"}));
  // Two notches at once, or a key held, are swallowed.
  input.wheel(2);
  input.keyDown(VK_CONTROL).wheel(1).keyUp(VK_CONTROL);
  EXPECT_EQ(v.Value(), 5);
  v.setValue(10);
  log.clear();
  input.wheel(-1);
  EXPECT_EQ(v.Value(), 10);
  EXPECT_EQ(events(), (std::vector<std::string>{}));
  v.setValue(2);
  input.wheel(1);
  EXPECT_EQ(v.Value(), 0);  // Min - 1 is out of range
  // Also at the bottom of the 32-bit range, where Min - 1 does not fit.
  v.setMin(INT32_MIN);
  v.setValue(INT32_MIN);
  input.wheel(1);
  EXPECT_EQ(v.Value(), 0);
  v.setMin(2);
  // Losing the focus stops the watcher and gives the window its procedure back.
  ZorvaXPHScrollBar& h = hbar();
  input.moveTo(h.thumb().hWnd()).click();
  EXPECT_EQ(v.wheelWatcher(), nullptr);
  v.setValue(5);
  input.moveTo(v.hWnd()).wheel(1);
  EXPECT_EQ(v.Value(), 5);
}

// ---- Looks ----

TEST_F(ScrollBars, ArrowLooks) {
  ZorvaXPHScrollBar& b = hbar();
  const auto& a = b.startArrow();
  // The glyph: a left-pointing triangle, its tip at (7, 9), its base 7 pixels high at x = 10.
  expectPixels(a.hDC(), {{0, 0, ScrollBarBase::kOutlineNormal}, {18, 18, ScrollBarBase::kOutlineNormal},
                         {2, 1, gradientRow(0xFDE5D3, 0xECBE9E, 1, 19)}, {2, 17, gradientRow(0xFDE5D3, 0xECBE9E, 17, 19)},
                         {7, 9, ScrollBarBase::kGlyph}, {10, 6, ScrollBarBase::kGlyph}, {10, 12, ScrollBarBase::kGlyph}});
  EXPECT_NE(px(a, 7, 8), ScrollBarBase::kGlyph);
  // The right arrow's tip and base.
  expectPixels(b.endArrow().hDC(), {{10, 9, ScrollBarBase::kGlyph}, {7, 6, ScrollBarBase::kGlyph}});

  input.moveTo(a.hWnd(), Point{5, 5});
  EXPECT_EQ(px(a, 0, 0), ScrollBarBase::kOutlineHot);
  EXPECT_EQ(px(a, 2, 1), gradientRow(0xCDFBFD, 0xA0DAFE, 1, 19));
  b.setOnOverGradient1(0x0000FF);  // stored only: the hover look keeps its colours until redrawn
  EXPECT_EQ(px(a, 2, 1), gradientRow(0xCDFBFD, 0xA0DAFE, 1, 19));
  input.press();
  EXPECT_EQ(px(a, 2, 1), gradientRow(0xA0DAFE, 0x0000FF, 1, 19));  // the pair exchanged
  input.release();
}

TEST_F(ScrollBars, ThumbGripAndGradient) {
  ZorvaXPHScrollBar& h = hbar();
  const auto& t = h.thumb();
  ASSERT_EQ(t.ScaleWidth(), 21);
  // top = nearest((19 - 10) / 2) = 4, x = nearest((21 - 9) / 2) = 6: white at 8, 10, 12, blue beside.
  for (int x : {8, 10, 12}) {
    EXPECT_EQ(px(t, x, 4), RGB(255, 255, 255)) << x;
    EXPECT_EQ(px(t, x, 13), RGB(255, 255, 255)) << x;
    EXPECT_NE(px(t, x, 14), RGB(255, 255, 255)) << x;  // the last point is left out
    EXPECT_EQ(px(t, x + 1, 4), ScrollBarBase::kGripDark) << x;
  }
  EXPECT_EQ(px(t, 0, 5), ScrollBarBase::kOutlineNormal);
  // GradientFillAngle at 180 degrees: GradientColor1 on the right, GradientColor2 on the left.
  EXPECT_GT(GetRValue(px(t, 19, 2)), GetRValue(px(t, 1, 2)));

  ZorvaXPVScrollBar& v = vbar();
  const auto& vt = v.thumb();
  // Turned by 90 degrees: left = nearest((17 - 10) / 2) = 4, y = nearest((21 - 9) / 2) = 6.
  for (int y : {8, 10, 12}) {
    EXPECT_EQ(px(vt, 4, y), RGB(255, 255, 255)) << y;
    EXPECT_EQ(px(vt, 13, y), RGB(255, 255, 255)) << y;
    EXPECT_EQ(px(vt, 4, y + 1), ScrollBarBase::kGripDark) << y;
  }
}

TEST_F(ScrollBars, DisabledLookAndInput) {
  ZorvaXPHScrollBar& h = hbar();
  h.setEnabled(false);
  EXPECT_EQ(std::tuple(px(h.startArrow(), 2, 2), px(h.endArrow(), 0, 0), px(h.track(), 80, 9)),
            std::tuple(ScrollBarBase::kDisabledFill, ScrollBarBase::kDisabledOutline, ScrollBarBase::kDisabledFill));
  h.setMax(100);  // a layout keeps the disabled look
  EXPECT_FALSE(h.thumb().Visible());
  input.moveTo(h.endArrow().hWnd(), Point{9, 9}).press().advance(200).release();
  EXPECT_EQ(h.Value(), 0);  // the platform withholds input
  h.setEnabled(true);
  EXPECT_TRUE(h.thumb().Visible());
  EXPECT_EQ(px(h.startArrow(), 0, 0), ScrollBarBase::kOutlineNormal);
  EXPECT_NE(px(h.track(), 80, 9), ScrollBarBase::kDisabledFill);

  ZorvaXPVScrollBar& v = vbar();
  v.setEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(v.thumb().hWnd()) || IsWindowEnabled(v.startArrow().hWnd()));
  v.setEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(v.track().hWnd()));
}

// ---- Persistence and class ----

TEST_F(ScrollBars, PropertiesRoundTripInTheirOrderAndLoadWithTheirFallbacks) {
  ZorvaXPVScrollBar& a = vbar("a");
  host::PropertyBag defaults;
  a.WriteProperties(defaults);
  EXPECT_EQ(bagKeys(defaults), (std::vector<std::string>{"MouseIcon"}));  // an object: no default
  const std::vector<PropertyRow> rows = {
      {"GradientColor1", 0x010203}, {"GradientColor2", 0x040506}, {"OnOverGradient1", 0x070809},
      {"OnOverGradient2", 0x0A0B0C}, {"LargeChange", 7}, {"Min", -5}, {"Max", 500}, {"Value", 42},
      {"MousePointer", 11}, {"Enabled", false}};
  letAll(*form, "a", rows);
  host::PropertyBag bag;
  a.WriteProperties(bag);
  EXPECT_EQ(bagKeys(bag), keysOf(rows, {{"MouseIcon", "Enabled"}}));
  EXPECT_EQ(bag.find("Max")->value.kind(), host::Variant::Kind::Long);
  // Read back and written again, the same bag: every value travelled.
  auto& b = addFromBag<ZorvaXPVScrollBar>("b", bag, 255, 3000);
  EXPECT_EQ(b.thumb().MousePointer(), 11);
  host::PropertyBag again;
  b.WriteProperties(again);
  expectSameBag(again, bag);

  // Bad values: Max below Min falls back to 255, a Value outside the range to 0.
  host::PropertyBag bad;
  bad.WriteProperty("Min", host::Variant(int32_t{10}));
  bad.WriteProperty("Max", host::Variant(int32_t{3}));
  bad.WriteProperty("Value", host::Variant(int32_t{400}));
  auto& c = addFromBag<ZorvaXPHScrollBar>("c", bad, 255, 3000);
  EXPECT_EQ(std::pair(c.Max(), c.Value()), std::pair(255, 0));
}

TEST_F(ScrollBars, EventsAndTheWidthOfTheScrollingDirection) {
  ZorvaXPHScrollBar& h = hbar();
  ZorvaXPVScrollBar& v = vbar();
  EXPECT_EQ(eventNames(h.memberTable()), (std::vector<std::string>{"Change", "Scrolling", "RightArrowClick", "RightArroyHoling",
                                                              "LeftArrowClick", "LeftArrowHolding"}));
  EXPECT_EQ(eventNames(v.memberTable()), (std::vector<std::string>{"Change", "Scrolling", "DownArrowClick", "DownArrowHolding",
                                                              "UpArrowClick", "UpArrowHolding", "HoldingOnScrollBody"}));
  // SWay is 32-bit on the horizontal bar, 16-bit on the vertical one.
  int16_t way16 = 0;
  int32_t way32 = 0;
  v.Scrolling.connect([&](int16_t& w) { way16 = w; });
  h.Scrolling.connect([&](int32_t& w) { way32 = w; });
  h.setMax(141);
  v.setMax(141);
  input.moveTo(h.thumb().hWnd(), Point{10, 9}).press().moveBy(5, 0).release();
  input.moveTo(v.thumb().hWnd(), Point{8, 10}).press().moveBy(0, 5).release();
  EXPECT_EQ(std::pair(way32, int32_t{way16}), std::pair(1, 1));
}

}  // namespace
}  // namespace zxp::testing
