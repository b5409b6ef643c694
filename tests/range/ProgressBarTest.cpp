// The progress bar and its bar: placement in both orientations, the range setters, Progress and
// Complete, the minimum and new sizes, the gradient modes and block separators, persistence and
// the class entry.

#include <algorithm>

#include "library/ClassTable.h"
#include "platform/gfx/SysColors.h"
#include "platform/ui/User.h"
#include "range/RangeFixture.h"
#include "range/ZorvaXPProgressBar.h"
#include "support/PropertyTable.h"

namespace zxp::testing {
namespace {

using range::GradientDType;
using range::OrientationDType;
using range::ScrollingDType;
using range::ZorvaXPProgressBar;

class Progress : public RangeTest {
 protected:
  // A bar w x h pixels (InitProperties makes it 342 wide first; the size is set again after).
  ZorvaXPProgressBar& bar(int w, int h, const std::string& name = "pb") {
    ZorvaXPProgressBar& p = place<ZorvaXPProgressBar>(name, w, h);
    ext(name).setWidth(pixelsToTwips(w));
    return p;
  }
  // The bar's place inside the control, or an empty rectangle when it is hidden.
  static RECT barRect(const ZorvaXPProgressBar& p) {
    if (!p.line().surface().Visible()) return RECT{};
    RECT r{};
    GetWindowRect(p.line().hWnd(), &r);
    POINT tl{r.left, r.top};
    ScreenToClient(p.hWnd(), &tl);
    return RECT{tl.x, tl.y, tl.x + r.width(), tl.y + r.height()};
  }
  static void setRange(ZorvaXPProgressBar& p, int32_t max, int32_t min, int32_t value) {
    p.setMin(std::min(min, p.Max()));  // first, so that Max is not held up by the old Min
    p.setMax(max);
    p.setMin(min);
    p.setValue(value);
  }
};

TEST_F(Progress, BarLengthFollowsValueOverMaxFromZero) {
  ZorvaXPProgressBar& p = bar(304, 20);
  setRange(p, 300, 0, 1);
  EXPECT_EQ(barRect(p), (RECT{2, 2, 3, 18}));  // 300 / 300 x 1 = a 1-pixel bar
  p.setValue(0);
  EXPECT_EQ(barRect(p), RECT{});
  p.setValue(150);
  EXPECT_EQ(barRect(p), (RECT{2, 2, 152, 18}));
  // Below Min: drawn in proportion to Max all the same.
  p.setMin(200);
  EXPECT_EQ(std::tuple(p.Value(), barRect(p)), std::tuple(150, (RECT{2, 2, 152, 18})));
  p.setValue(-5);
  EXPECT_EQ(barRect(p), RECT{});
}

TEST_F(Progress, AnUprightBarGrowsFromTheBottomUpwards) {
  ZorvaXPProgressBar& p = bar(20, 104);
  p.setOrientationStyle(OrientationDType::VerticalStyle);
  setRange(p, 100, 0, 25);
  EXPECT_EQ(barRect(p), (RECT{2, 77, 18, 102}));
  p.setValue(100);
  EXPECT_EQ(barRect(p), (RECT{2, 2, 18, 102}));
}

TEST_F(Progress, EveryLayoutRaisesProgressAndAFullBarCompleteFirst) {
  ZorvaXPProgressBar& p = bar(100, 20);
  logEvents(p);
  p.setValue(70);
  EXPECT_EQ(log, (std::vector<std::string>{"Progress"}));
  log.clear();
  p.setValue(500);  // clamped to Max
  EXPECT_EQ(p.Value(), 100);
  EXPECT_EQ(log, (std::vector<std::string>{"Complete", "Progress"}));
  log.clear();
  ext("pb").setHeight(pixelsToTwips(30));
  EXPECT_EQ(log, (std::vector<std::string>{"Complete", "Progress"}));
  EXPECT_EQ(form->changes().back().property, "value");
}

TEST_F(Progress, RangeSettersClamp) {
  ZorvaXPProgressBar& p = bar(100, 20);
  EXPECT_EQ(std::tuple(p.Max(), p.Min(), p.Value()), std::tuple(100, 50, 50));
  p.setMin(120);
  EXPECT_EQ(p.Min(), 100);
  p.setMax(20);
  EXPECT_EQ(p.Max(), 100);
  p.setMin(10);
  p.setMax(20);
  EXPECT_EQ(p.Max(), 20);
  EXPECT_EQ(p.Value(), 50);  // Max does not touch Value
  p.setMin(5);
  EXPECT_EQ(p.Value(), 20);  // Min sets Value again, which clamps it to Max
}

TEST_F(Progress, NewAndMinimumSizes) {
  ZorvaXPProgressBar& p = place<ZorvaXPProgressBar>("pb", 100, 1);
  EXPECT_EQ(std::tuple(ext("pb").Width(), p.surface().ScaleWidth(), p.surface().ScaleHeight()),
            std::tuple(5130, 342, 9));
  ext("pb").setWidth(30);
  EXPECT_EQ(std::tuple(p.surface().ScaleWidth(), ext("pb").Width()), std::tuple(9, 135));
}

TEST_F(Progress, FrameGradientsAndBlocks) {
  ZorvaXPProgressBar& p = bar(105, 20);
  setRange(p, 100, 0, 100);
  EXPECT_EQ(std::pair(px(p.surface(), 0, 0), px(p.surface(), 1, 1)),
            std::pair(translateColor(0xB99D7F), translateColor(0xFFFFFF)));
  const auto& line = p.line().surface();
  ASSERT_EQ(std::tuple(line.ScaleWidth(), line.ScaleHeight()), std::tuple(101, 16));
  // Horizantal: a vertical gradient, GradientColor1 on the top line, GradientColor2 at the bottom.
  EXPECT_EQ(px(line, 3, 0), translateColor(0xFFFFFF));
  EXPECT_EQ(px(line, 3, 15), translateColor(0xE2A981));
  // Standard: 2-pixel separators in BackColor after a 9-pixel block, every 10 pixels.
  for (int x : {9, 10, 19, 20, 99, 100}) EXPECT_EQ(px(line, x, 15), translateColor(0xFFFFFF)) << x;
  for (int x : {8, 11, 18, 21}) EXPECT_EQ(px(line, x, 15), translateColor(0xE2A981)) << x;
  p.setBackColor(0x0000FF);
  EXPECT_EQ(px(line, 9, 15), translateColor(0x0000FF));
  EXPECT_EQ(px(p.surface(), 1, 1), translateColor(0x0000FF));
  p.setScrollingStyle(ScrollingDType::Smooth);
  EXPECT_EQ(px(line, 9, 15), translateColor(0xE2A981));

  // Vertical: right to left, GradientColor1 on the right.
  p.setGradientMode(GradientDType::Vertical);
  EXPECT_EQ(px(line, 100, 5), translateColor(0xFFFFFF));
  EXPECT_EQ(px(line, 0, 5), translateColor(0xE2A981));
  // Center: the glass bar painted from y = 2 with its white edge line on the right.
  p.setGradientMode(GradientDType::Center);
  EXPECT_EQ(px(line, 100, 6), translateColor(0xFFFFFF));
  EXPECT_EQ(px(line, 5, 1), RGB(171, 171, 171));  // the grey line above the bar

  // An upright bar's separators run across it, counted from the bottom.
  ZorvaXPProgressBar& u = bar(20, 44, "up");
  u.setOrientationStyle(OrientationDType::VerticalStyle);
  setRange(u, 40, 0, 40);
  const auto& ul = u.line().surface();
  ASSERT_EQ(ul.ScaleHeight(), 40);
  EXPECT_EQ(std::tuple(px(ul, 5, 29), px(ul, 5, 30)), std::tuple(translateColor(0xFFFFFF), translateColor(0xFFFFFF)));
  EXPECT_NE(px(ul, 5, 31), translateColor(0xFFFFFF));
  EXPECT_NE(px(ul, 5, 28), translateColor(0xFFFFFF));
}

TEST_F(Progress, PropertiesRoundTripAndEvents) {
  ZorvaXPProgressBar& a = bar(120, 20, "a");
  const std::vector<PropertyRow> rows = {
      {"GradientColor1", 0x000001}, {"GradientColor2", 0x000002}, {"BackColor", 0x000003},
      {"GradientMode", GradientDType::Center}, {"ScrollingStyle", ScrollingDType::Smooth},
      {"OrientationStyle", OrientationDType::VerticalStyle}, {"BorderColor", 0x000004}, {"Max", 400}, {"Min", -10},
      {"Value", 77}};
  letAll(*form, "a", rows);
  host::PropertyBag bag;
  a.WriteProperties(bag);
  EXPECT_EQ(bagKeys(bag), keysOf(rows));
  auto& b = addFromBag<ZorvaXPProgressBar>("b", bag, 1500, 300);
  // A loaded bar keeps its size.
  EXPECT_EQ(std::tuple(b.line().GradientMode(), b.line().OrientationStyle(), ext("b").Width()),
            std::tuple(GradientDType::Center, OrientationDType::VerticalStyle, 1500));
  host::PropertyBag again;
  b.WriteProperties(again);
  expectSameBag(again, bag);

  // Out-of-range enumerations are stored unchanged and paint no gradient.
  b.setGradientMode(static_cast<GradientDType>(9));
  host::PropertyBag odd;
  b.WriteProperties(odd);
  EXPECT_EQ(odd.read<int32_t>("GradientMode", 0), 9);

  EXPECT_EQ(library::classes().find("ProgressBarEx"), nullptr);  // private
  EXPECT_EQ(eventNames(b.memberTable()), (std::vector<std::string>{"Progress", "Complete"}));
}

}  // namespace
}  // namespace zxp::testing
