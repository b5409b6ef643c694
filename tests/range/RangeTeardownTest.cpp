// A form with every range control, used (hover, held arrows, paging, focus, the wheel watcher),
// leaves no window, drawing object or timer behind when it is torn down.

#include "range/RangeFixture.h"
#include "range/ZorvaXPHScrollBar.h"
#include "range/ZorvaXPProgressBar.h"
#include "range/ZorvaXPSpin.h"
#include "range/ZorvaXPVScrollBar.h"

namespace zxp::testing {
namespace {

using RangeTeardown = RangeTest;

TEST_F(RangeTeardown, AFormOfRangeControlsLeavesNothingBehind) {
  form.reset();
  const Leftovers before;
  makeForm(true);
  auto& h = place<range::ZorvaXPHScrollBar>("h", 200, 19, 10, 10);
  auto& v = place<range::ZorvaXPVScrollBar>("v", 17, 200, 250, 10);
  auto& s = place<range::ZorvaXPSpin>("s", 120, 22, 10, 50);
  place<range::ZorvaXPProgressBar>("p", 200, 20, 10, 90);
  input.moveTo(h.endArrow().hWnd()).press().advance(60);          // repeat and hover timers running
  input.moveTo(v.thumb().hWnd()).release().click();              // the wheel watcher is on
  input.moveTo(v.track().hWnd(), Point{8, 150}).press().advance(20);  // paging
  input.moveTo(s.arrows().upHalf().hWnd()).press().advance(10);  // stepping
  EXPECT_GT(ui::eventLoop().timerCount(), before.timers);
  form.reset();
  before.check();
}

}  // namespace
}  // namespace zxp::testing
