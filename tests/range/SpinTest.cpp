// The spin box and its arrow pair: stepping on the clock, the typed-text-first rule, key
// filtering, clamping, the focus colours, the disabled colour, persistence and the class entry.

#include "library/ClassTable.h"
#include "platform/gfx/SysColors.h"
#include "platform/ui/Edit.h"
#include "platform/ui/User.h"
#include "range/RangeFixture.h"
#include "range/ZorvaXPSpin.h"
#include "support/PixelTable.h"
#include "support/PropertyTable.h"

namespace zxp::testing {
namespace {

using range::AlignmentConstants;
using range::ZorvaSpinScroll;
using range::ZorvaXPSpin;

class Spin : public RangeTest {
 protected:
  ZorvaXPSpin& spin(const std::string& name = "spn", int y = 10) { return place<ZorvaXPSpin>(name, 120, 22, 10, y); }
  static std::string text(const ZorvaXPSpin& s) {
    char buf[64] = {};
    GetWindowTextA(s.field(), buf, sizeof buf);
    return buf;
  }
  void pressUp(const ZorvaXPSpin& s) { input.moveTo(s.arrows().upHalf().hWnd(), Point{7, 5}).press(); }
  void pressDown(const ZorvaXPSpin& s) { input.moveTo(s.arrows().downHalf().hWnd(), Point{7, 5}).press(); }
};

TEST_F(Spin, HoldingUpFromNearTheMaximumRaisesItsEventsAndStopsThere) {
  ZorvaXPSpin& s = spin();
  s.setValue(99998);
  logEvents(s);
  pressUp(s);
  input.advance(1000);
  EXPECT_EQ(std::tuple(s.Value(), text(s)), std::tuple(100000, "100000"));
  input.release();
  EXPECT_EQ(events({"MouseMove"}), (std::vector<std::string>{"UpArrowMouseDown", "Change", "UpArrowMouseDown", "Change",
                                                             "UpArrowMouseDown", "UpArrowMoseUp"}));
  EXPECT_FALSE(s.upTimer().running());
}

TEST_F(Spin, StepsOnceAtOnceThenEvery200MillisecondsAndStopsOnRelease) {
  ZorvaXPSpin& s = spin();
  pressDown(s);
  EXPECT_EQ(s.Value(), -1);
  input.advance(199);
  EXPECT_EQ(s.Value(), -1);
  input.advance(1);
  EXPECT_EQ(s.Value(), -2);
  input.advance(200).release();
  EXPECT_EQ(s.Value(), -3);
  input.advance(1000);
  EXPECT_EQ(s.Value(), -3);
  // At the minimum the down arrow loads the value and does not step.
  s.setMinimum(-3);
  logEvents(s);
  pressDown(s);
  input.release();
  EXPECT_EQ(s.Value(), -3);
  EXPECT_EQ(events({"MouseMove"}), (std::vector<std::string>{"DownArrowMoseDown", "DownArrowMoseUp"}));
  // A double click counts as a second press.
  input.moveTo(s.arrows().upHalf().hWnd(), Point{7, 5}).doubleClick();
  EXPECT_EQ(s.Value(), -1);
}

TEST_F(Spin, TypedTextComesFirstAndIsClamped) {
  ZorvaXPSpin& s = spin();
  SetFocus(s.field());
  SendMessageA(s.field(), EM_SETSEL, 0, -1);
  input.type("500000");
  EXPECT_EQ(text(s), "500000");
  EXPECT_EQ(s.Value(), 0);  // the field's text is taken at the next step
  logEvents(s);
  pressUp(s);
  input.release();
  EXPECT_EQ(s.Value(), 100000);
  EXPECT_EQ(events({"MouseMove"}), (std::vector<std::string>{"UpArrowMouseDown", "Change", "UpArrowMoseUp"}));
  // Blanks are left out and a fraction rounds half to even; text that is no number counts as 0.
  SetWindowTextA(s.field(), "1 2.5");
  pressUp(s);
  input.release();
  EXPECT_EQ(s.Value(), 13);
  SetWindowTextA(s.field(), ".");
  pressDown(s);
  input.release();
  EXPECT_EQ(s.Value(), -1);
}

TEST_F(Spin, TheFieldTakesDigitsOnlyAndRaisesItsKeyEvents) {
  ZorvaXPSpin& s = spin();
  SetFocus(s.field());
  SendMessageA(s.field(), EM_SETSEL, 0, -1);
  logEvents(s);
  input.type("a1b2c");
  EXPECT_EQ(text(s), "12");
  input.key(VK_RETURN).key(VK_ESCAPE);
  EXPECT_EQ(events({"MouseMove", "Change"}),
            (std::vector<std::string>{"KeyPress 0", "KeyPress 49", "KeyPress 0", "KeyPress 50", "KeyPress 0", "OnEnter",
                                      "KeyPress 0", "OnKeyEsc", "KeyPress 0"}));
  log.clear();
  input.type(" .-").key(VK_BACK);
  EXPECT_EQ(text(s), "12 ");
  EXPECT_EQ(events({"MouseMove", "Change"}),
            (std::vector<std::string>{"KeyPress 32", "KeyPress 46", "KeyPress 0", "KeyPress 8"}));
  // A KeyPress handler that changes KeyAscii changes what the field gets.
  s.KeyPress.connect([](int16_t& k) {
    if (k == '5') k = '7';
  });
  input.type("5");
  EXPECT_EQ(text(s), "12 7");
}

TEST_F(Spin, ValueIsClampedAndShownAndChangeFollowsTheField) {
  ZorvaXPSpin& s = spin();
  logEvents(s);
  s.setValue(250000);
  EXPECT_EQ(std::tuple(s.Value(), s.arrows().Value()), std::tuple(100000, 100000));
  s.setValue(-250000);
  EXPECT_EQ(text(s), "-100000");
  s.setValue(-100000);  // the same text: the field does not change
  EXPECT_EQ(events(), (std::vector<std::string>{"Change", "Change"}));
  EXPECT_EQ(form->changes().back().property, "Value");
}

TEST_F(Spin, FocusHighlightsTheFieldAndTheBorder) {
  ZorvaXPSpin& s = spin();
  ZorvaXPSpin& other = spin("other", 40);
  expectPixels(s.surface().hDC(), {{0, 0, translateColor(0xB99D7F)}, {1, 1, translateColor(0xFFFFFF)}});
  SetFocus(s.hWnd());  // the control passes the focus on to its field
  input.pump();
  EXPECT_EQ(std::pair(GetFocus(), s.fieldFocused()), std::pair(s.field(), true));
  expectPixels(s.surface().hDC(), {{0, 0, translateColor(0x0080FF)}, {1, 1, translateColor(0xC0FFFF)}});
  RECT fr{};
  GetClientRect(s.field(), &fr);
  EXPECT_EQ(px(s.field(), fr.right - 2, 1), translateColor(0xC0FFFF));
  SetFocus(other.field());
  input.pump();
  EXPECT_EQ(std::tuple(px(s.surface(), 0, 0), px(s.field(), fr.right - 2, 1), px(other.surface(), 0, 0)),
            std::tuple(translateColor(0xB99D7F), translateColor(0xFFFFFF), translateColor(0x0080FF)));
}

TEST_F(Spin, DisablingShowsTheDisabledColourAndEnablingRestoresTheSavedOne) {
  ZorvaXPSpin& s = spin();
  s.setButtonGradientColor2(0x00FF00);
  s.setEnabled(false);
  EXPECT_EQ(std::tuple(s.arrows().GradientColor2(), s.ButtonGradientColor2(), IsWindowEnabled(s.hWnd()) != 0),
            std::tuple(ZorvaXPSpin::kDisabledGradient2, ZorvaXPSpin::kDisabledGradient2, false));
  const auto& up = s.arrows().upHalf();
  const int h = up.ScaleHeight();
  EXPECT_EQ(px(up, 3, h - 2), gradientRow(0xFFFFFF, ZorvaXPSpin::kDisabledGradient2, h - 2, h));
  pressUp(s);
  input.release();
  EXPECT_EQ(s.Value(), 0);
  s.setEnabled(true);
  EXPECT_EQ(s.ButtonGradientColor2(), 0x00FF00u);
}

TEST_F(Spin, ArrowPairLooks) {
  ZorvaXPSpin& s = spin();
  const auto& up = s.arrows().upHalf();
  const auto& down = s.arrows().downHalf();
  EXPECT_EQ(std::tuple(up.ScaleWidth(), up.ScaleHeight(), down.ScaleHeight()),
            std::tuple(ZorvaXPSpin::kButtonWidth, 11, 11));
  // The glyphs: up points up (tip at the top), down points down.
  expectPixels(up.hDC(), {{0, 0, translateColor(0xB99D7F)}, {3, 1, gradientRow(0xFFFFFF, 0xECBE9E, 1, 11)},
                          {3, 9, gradientRow(0xFFFFFF, 0xECBE9E, 9, 11)}, {7, 4, ZorvaSpinScroll::kGlyph},
                          {5, 6, ZorvaSpinScroll::kGlyph}});
  EXPECT_NE(px(up, 5, 4), ZorvaSpinScroll::kGlyph);
  expectPixels(down.hDC(), {{7, 6, ZorvaSpinScroll::kGlyph}, {5, 4, ZorvaSpinScroll::kGlyph}});
  input.moveTo(down.hWnd(), Point{3, 3});
  EXPECT_EQ(std::tuple(px(down, 0, 0), px(up, 0, 0)), std::tuple(translateColor(0x0080FF), translateColor(0xB99D7F)));
  input.moveTo(form->hWnd(), Point{1, 1}).advance(10);
  EXPECT_EQ(px(down, 0, 0), translateColor(0xB99D7F));
  EXPECT_FALSE(s.arrows().downTimer().running());
}

TEST_F(Spin, PropertiesRoundTripWithTheirKeys) {
  ZorvaXPSpin& a = spin("a");
  host::PropertyBag defaults;
  a.WriteProperties(defaults);
  ASSERT_EQ(defaults.size(), 1u);  // the font has no default
  // Disabling keeps a copy of ButtonGradientColor2 under its own key.
  const std::vector<PropertyRow> rows = {
      {"ButtonGradientColor1", 0x000001}, {"ButtonGradientColor2", 0x000002}, {"BorderColor", 0x000003},
      {"BackColor", 0x000004}, {"ForeColor", 0x000005}, {"BackColorHighlight", 0x000006},
      {"BorderColorHighlight", 0x000007}, {"Maximum", 50}, {"Minimum", -50}, {"value", 33}, {"Enabled", false},
      {"MousePointer", 2}, {"Alignment", AlignmentConstants::vbRightJustify}, {"Locked", true},
      {"OnOverButtonGradientColor1", 0x000008}, {"OnOverButtonGradientColor2", 0x000009},
      {"OnOverButtonBorderColor", 0x00000A}};
  letAll(*form, "a", rows);
  host::PropertyBag bag;
  a.WriteProperties(bag);
  EXPECT_EQ(bagKeys(bag), keysOf(rows, {{"Font", "MousePointer"}, {"TemparyGradienateColor2", "OnOverButtonGradientColor1"}}));
  EXPECT_EQ(bag.read<OLE_COLOR>("ButtonGradientColor2", 0), ZorvaXPSpin::kDisabledGradient2);
  EXPECT_EQ(bag.read<OLE_COLOR>("TemparyGradienateColor2", 0), 0x000002u);
  EXPECT_EQ(bag.find("Alignment")->value.kind(), host::Variant::Kind::Long);

  auto& b = addFromBag<ZorvaXPSpin>("b", bag, 1800, 330);
  EXPECT_EQ(text(b), "33");
  EXPECT_TRUE(GetWindowLongA(b.field(), GWL_STYLE) & ES_RIGHT);
  host::PropertyBag again;
  b.WriteProperties(again);
  expectSameBag(again, bag);
  b.setEnabled(true);
  EXPECT_EQ(b.ButtonGradientColor2(), 0x000002u);  // the saved copy came back from the bag

  // A value outside the stored range is clamped on loading.
  host::PropertyBag bad;
  bad.WriteProperty("Maximum", host::Variant(int32_t{10}));
  bad.WriteProperty("value", host::Variant(int32_t{99}));
  auto& c = addFromBag<ZorvaXPSpin>("c", bad, 1800, 330);
  EXPECT_EQ(c.Value(), 10);
}

TEST_F(Spin, SmallSpinGrowsAndTheEventsOfBothParts) {
  ZorvaXPSpin& s = place<ZorvaXPSpin>("tiny", 10, 5);
  EXPECT_EQ(std::tuple(s.surface().ScaleWidth(), s.surface().ScaleHeight(), s.hwnd()),
            std::tuple(40, 18, static_cast<int32_t>(s.field())));
  EXPECT_TRUE(s.memberTable().find("hwnd")->readOnly());
  EXPECT_EQ(library::classes().find("ZorvaSpinScroll"), nullptr);  // private
  EXPECT_EQ(eventNames(s.memberTable()), (std::vector<std::string>{"UpArrowMouseDown", "UpArrowMoseUp", "DownArrowMoseDown", "DownArrowMoseUp",
                                             "OnEnter", "OnKeyEsc", "KeyPress", "Change", "MouseMove"}));
  EXPECT_EQ(eventNames(s.arrows().memberTable()), (std::vector<std::string>{"UpReleased", "DownReleased", "UpPressed", "DownPressed"}));
}

}  // namespace
}  // namespace zxp::testing
