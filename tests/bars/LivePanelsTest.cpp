// Live panels on the virtual clock: the lock panels follow keys typed through the input path on
// the next poll, clock panels follow Now, an idle poll paints nothing, and a form of bars with
// every timer running leaves nothing behind.

#include "bars/BarsFixture.h"
#include "platform/host/runtime/Date.h"
#include "platform/ui/User.h"

namespace zxp::testing {
namespace {

using bars::SHAlign;
using bars::StyleDType;
using bars::ZorvaXPStatusBar;

class LivePanels : public BarsTest {
 protected:
  void TearDown() override {
    BarsTest::TearDown();
    host::setVirtualStartDate(start_);
  }
  ZorvaXPStatusBar& liveBar() {
    auto& sb = place<ZorvaXPStatusBar>("sb");
    sb.AddPanel("CAPS", SHAlign::Center, 50, {}, SHAlign::Left, true, true, StyleDType::Caps);
    sb.AddPanel("NUM", SHAlign::Center, 50, {}, SHAlign::Left, true, true, StyleDType::Num);
    sb.AddPanel("", SHAlign::Center, 80, {}, SHAlign::Left, true, true, StyleDType::CurrentTime);
    sb.AddPanel("", SHAlign::Center, 90, {}, SHAlign::Left, true, true, StyleDType::CurentDate);
    return sb;
  }
  host::Date start_ = host::virtualStartDate();
};

TEST_F(LivePanels, CapsLockTypedThroughInputEnablesItsPanelOnTheNextPoll) {
  auto& sb = liveBar();
  EXPECT_TRUE(sb.keyTimer().Enabled());
  EXPECT_EQ(sb.keyTimer().Interval(), 3u);
  EXPECT_FALSE(sb.Enabled(3) || sb.Enabled(4));
  input.key(VK_CAPITAL);
  EXPECT_FALSE(sb.Enabled(3));  // nothing repaints before the poll
  input.advance(10);
  EXPECT_TRUE(sb.Enabled(3));
  EXPECT_FALSE(sb.Enabled(4));
  input.key(VK_CAPITAL).advance(10);
  EXPECT_FALSE(sb.Enabled(3));
}

TEST_F(LivePanels, ClockPanelsFollowTheVirtualClockAcrossMidnight) {
  host::setVirtualStartDate(host::Date{host::DateSerial(2024, 3, 9)->serial + host::TimeSerial(23, 59, 58)->serial});
  auto& sb = liveBar();
  EXPECT_EQ(std::tuple(sb.buttonRects()[4].Caption, sb.buttonRects()[5].Caption), std::tuple("23:59:58", "09-03-2024"));
  input.advance(1000);
  EXPECT_EQ(sb.buttonRects()[4].Caption, "23:59:59");
  input.advance(1000);
  EXPECT_EQ(std::tuple(sb.buttonRects()[4].Caption, sb.buttonRects()[5].Caption), std::tuple("00:00:00", "10-03-2024"));
}

TEST_F(LivePanels, AnIdlePollPaintsNothing) {
  auto& sb = liveBar();
  int ticks = 0;
  sb.Timer.connect([&] { ++ticks; });
  const uint64_t before = sb.paintCount();
  input.advance(990);  // the clock still shows 00:00:00 and no key changed
  EXPECT_GT(ticks, 50);
  EXPECT_EQ(sb.paintCount(), before);
  input.advance(20);
  EXPECT_EQ(sb.paintCount(), before + 1);  // the second turned over
}

TEST_F(LivePanels, AtDesignTimeThePollsSwitchThemselvesOff) {
  makeForm(false, &library::classes(), pixelsToTwips(600), pixelsToTwips(240));
  auto& sb = liveBar();
  input.advance(20);
  EXPECT_FALSE(sb.keyTimer().Enabled() || sb.timeTimer().Enabled());
}

TEST_F(LivePanels, AFormOfBarsWithEveryTimerRunningLeavesNothingBehind) {
  form.reset();
  const Leftovers before;
  makeForm(true, &library::classes(), pixelsToTwips(600), pixelsToTwips(240));
  auto& tb = place<bars::ZorvaXPToolBar>("tb");
  tb.AddButton("Tip", bars::THAlign::Left, 60, {}, bars::THAlign::Left, true, true, bars::TStyleDType::CurrentTime,
               {}, bars::TMainStyleDType::Normal, false, false, bars::TButtonValue::UnPressed, "a tip");
  liveBar();
  moveTo(tb, 80, 10);
  EXPECT_TRUE(IsWindowVisible(tb.toolTipWindow().hWnd()));
  input.advance(30);
  EXPECT_GT(ui::eventLoop().timerCount(), before.timers);
  form.reset();
  before.check();
}

}  // namespace
}  // namespace zxp::testing
