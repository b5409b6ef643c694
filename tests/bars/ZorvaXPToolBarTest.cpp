// The tool bar: its buttons (the spacer, defaults, persistence order, removal),
// hit-testing at the exact edges, toggles, drop-downs, drag-to-resize, the tool tip window and
// the looks we pin (separators, gripper dots, arrows, faces).

#include <algorithm>
#include <cctype>
#include <tuple>

#include "bars/BarsFixture.h"
#include "foundation/PenLines.h"
#include "platform/base/HostError.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/Text.h"
#include "platform/host/PropertyBag.h"
#include "platform/ui/User.h"
#include "support/PixelTable.h"
#include "support/PropertyTable.h"

namespace zxp::testing {
namespace {

using bars::THAlign;
using bars::TButtonValue;
using bars::TMainStyleDType;
using bars::TStyleDType;
using bars::ZorvaXPToolBar;

using ToolBar = BarsTest;

constexpr COLORREF kBorder = 10841658;
constexpr COLORREF kEtch = RGB(80, 127, 176);
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kDot = 10906949;

auto fields(const bars::StripButton& b) {
  return std::tuple(b.HeaderCaption, b.HeaderAlignment, b.HeaderWidth, b.PanelIcon, b.PicAlignment, b.Visible,
                    b.Enabled, b.Style, b.MainStyle, b.Tag, b.ButtonSeparator, b.ButtonChecked, b.ButtonValue,
                    b.ToolTip);
}

// The per-button fields' key words, in the order they are written.
constexpr const char* kButtonWords[] = {"HeaderCaption",   "HeaderAlignment", "HeaderWidth", "PanelIcon", "PicAlign",
                                        "Visible",         "Enabled",         "Style",       "MainStyle", "Tag",
                                        "ButtonSeparator", "ButtonChecked",   "ButtonValue", "ToolTip"};

// A per-button key: a field word followed by a decimal index and nothing else.
bool isButtonKey(const std::string& key) {
  for (const char* word : kButtonWords) {
    const std::string w(word);
    if (key.size() > w.size() && key.compare(0, w.size(), w) == 0 &&
        std::all_of(key.begin() + static_cast<std::ptrdiff_t>(w.size()), key.end(),
                    [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }))
      return true;
  }
  return false;
}

// A bar with the spacer, button 2 (15..65) and a 40-pixel button 3 (65..105).
ZorvaXPToolBar& barOfThree(ZorvaXPToolBar& tb) {
  tb.AddButton("Three", THAlign::Center, 40);
  return tb;
}

TEST_F(ToolBar, ANewBarHasTheHiddenSpacerAndOneButtonAndDocksAtTheTop) {
  auto& tb = place<ZorvaXPToolBar>("tb");
  ASSERT_EQ(tb.HeadersCount(), 2);
  EXPECT_EQ(std::tuple(tb.HeaderCaption(1), tb.HeaderWidth(1), tb.Visible(1), tb.Enabled(1)),
            std::tuple("ShowGriperLeft", 15, false, false));
  EXPECT_EQ(std::tuple(tb.HeaderWidth(2), tb.HeaderAlignment(2), tb.PicAlignment(2)), std::tuple(50, THAlign::Center, THAlign::Center));
  // 435 twips high, docked at the top.
  EXPECT_EQ(std::tuple(tb.extender()->Align(), tb.surface().ScaleHeight(), tb.surface().ScaleWidth()),
            std::tuple(host::Align::vbAlignTop, 29, 600));
  // Visible content starts at x = 15: the spacer's width is kept though it is hidden.
  EXPECT_EQ(std::tuple(tb.buttonRects()[1].Left, tb.buttonRects()[1].Right), std::tuple(15, 65));
}

TEST_F(ToolBar, ButtonKeysFollowTheControlWideKeysInDeclaredOrder) {
  auto& tb = place<ZorvaXPToolBar>("tb");
  tb.ClearAll();
  for (int i = 1; i <= 3; ++i)
    tb.AddButton("B" + std::to_string(i), THAlign::Right, 70, {}, THAlign::Right, false, false,
                 TStyleDType::CurentDate, "t", TMainStyleDType::DropDown, true, true, TButtonValue::Pressed, "tip");
  host::PropertyBag bag;
  tb.WriteProperties(bag);
  std::vector<std::string> indexed;
  size_t lastWide = 0, firstIndexed = bag.entries().size();
  for (size_t k = 0; k < bag.entries().size(); ++k) {
    const std::string& key = bag.entries()[k].key;
    if (isButtonKey(key)) {
      indexed.push_back(key);
      firstIndexed = std::min(firstIndexed, k);
    } else {
      lastWide = k;
    }
  }
  EXPECT_LT(lastWide, firstIndexed);
  std::vector<std::string> expected;
  for (const char* n : {"1", "2", "3"})
    for (const char* word : kButtonWords) expected.push_back(std::string(word) + n);
  EXPECT_EQ(std::tuple(indexed, bag.ReadProperty("HeadersCount").toString()), std::tuple(expected, "3"));
}

// Every control-wide key, each set to a value other than its default through the member table,
// is written in the interface's order.
TEST_F(ToolBar, ControlWideKeysAreWrittenInDeclaredOrder) {
  auto& tb = place<ZorvaXPToolBar>("tb");
  const std::vector<PropertyRow> values{
      {"GradientColor1", 1}, {"GradientColor2", 2}, {"GradientMode", 2}, {"BorderColor", 3}, {"HoverColor1", 4},
      {"HoverColor2", 5}, {"MouseDownColor1", 6}, {"MouseDownColor2", 7}, {"ForeColor", 8}, {"ForeColorHover", 9},
      {"ForeColorDisabled", 10}, {"ShowGripperLeft", false}, {"ShowGripperRight", true}, {"HoverColor", false},
      {"MouseDownColor", false}, {"OnPanelWidthChanging", true}, {"MousePointer", int16_t{2}}, {"FormatDate", "yyyy"},
      {"FormatTime", "hh"}, {"CaptionAlingment", 1}, {"ForeColorToolTip", 11}, {"ToolTipColor1", 12},
      {"ToolTipColor2", 13}};
  for (const auto& [name, value] : values) host::letProperty(tb, name, value);
  host::PropertyBag bag;
  tb.WriteProperties(bag);
  std::vector<std::string> wide;
  for (const auto& e : bag.entries())
    if (!isButtonKey(e.key)) wide.push_back(e.key);
  EXPECT_EQ(wide, keysOf(values, {{"Font", "ShowGripperLeft"}, {"MouseIcon", "FormatDate"}}));
  // A bar read back from those keys has the same values.
  tb.ReadProperties(bag);
  for (const auto& [name, value] : values) EXPECT_EQ(host::getProperty(tb, name).toString(), value.toString()) << name;
}

TEST_F(ToolBar, AFormFileRoundTripsEveryButtonField) {
  auto& tb = place<ZorvaXPToolBar>("tb");
  tb.AddButton("Open", THAlign::Left, 80, {}, THAlign::Right, true, true, TStyleDType::Normal_Text, "tag",
               TMainStyleDType::DropDown, true, true, TButtonValue::Pressed, "Open a file");
  tb.setGradientMode(bars::THGradientMode::Quorin);
  const std::string saved = form->save();
  form.reset();
  auto loaded = host::Form::load(saved, library::classes());
  // Saved again, the same text: every field (none at its default) was read back.
  EXPECT_EQ(loaded->save(), saved);
}

TEST_F(ToolBar, RemovingTheMiddleButtonMovesEveryFieldOfTheLastDown) {
  auto& tb = place<ZorvaXPToolBar>("tb");
  tb.ClearAll();
  tb.AddButton("A", THAlign::Left, 30);
  tb.AddButton("B", THAlign::Center, 40, {}, THAlign::Center, true, true, TStyleDType::Normal_Text, "b");
  tb.AddButton("C", THAlign::Right, 55, {}, THAlign::Right, false, false, TStyleDType::CurentDate, "c",
               TMainStyleDType::DropDown, true, true, TButtonValue::Pressed, "tip C");
  const auto third = fields(tb.button(3));
  tb.RemoveButton(2);
  ASSERT_EQ(tb.HeadersCount(), 2);
  EXPECT_EQ(std::tuple(fields(tb.button(2)), tb.HeaderCaption(1)), std::tuple(third, "A"));

  // Outside 1..count nothing happens; the only button goes as ClearAll.
  tb.RemoveButton(0);
  tb.RemoveButton(3);
  EXPECT_EQ(tb.HeadersCount(), 2);
  tb.RemoveButton(1);
  tb.RemoveButton(1);
  EXPECT_EQ(std::tuple(tb.HeadersCount(), tb.buttonRects().size()), std::tuple(0, 0u));
}

TEST_F(ToolBar, IndexedMembersCheckTheIndexAndMethodsTakeTheDeclaredDefaults) {
  auto& tb = place<ZorvaXPToolBar>("tb");
  auto errorOf = [](auto&& f) {
    try {
      f();
    } catch (const HostError& e) {
      return e.number();
    }
    return 0;
  };
  EXPECT_EQ(errorOf([&] { tb.HeaderCaption(0); }), 9);
  EXPECT_EQ(errorOf([&] { tb.ChangeButton(3, "x"); }), 9);
  EXPECT_EQ(errorOf([&] { host::getIndexedProperty(tb, "ToolTip", host::Variant(int32_t{3})); }), 9);
  EXPECT_EQ(errorOf([&] { host::getProperty(tb, "ToolTip"); }), 450);
  EXPECT_EQ(errorOf([&] { host::letProperty(tb, "HeadersCount", host::Variant(int32_t{5})); }), 383);

  host::callMethod(tb, "AddButton", {host::Variant(std::string("Late"))});
  ASSERT_EQ(tb.HeadersCount(), 3);
  EXPECT_EQ(std::tuple(tb.HeaderWidth(3), tb.HeaderAlignment(3), tb.Visible(3), tb.Enabled(3)),
            std::tuple(100, THAlign::Left, true, true));
  host::letIndexedProperty(tb, "HeaderWidth", host::Variant(int32_t{3}), host::Variant(int32_t{80}));
  EXPECT_EQ(host::getIndexedProperty(tb, "HeaderWidth", host::Variant(int32_t{3})).toString(), "80");
  EXPECT_EQ(tb.HeaderCaption(3), "Late");  // the other fields are kept by the indexed setter
}

TEST_F(ToolBar, HitTestingStopsAtTheExactEdges) {
  auto& tb = barOfThree(place<ZorvaXPToolBar>("tb"));
  tb.setMainStyle(3, TMainStyleDType::DropDown);
  EXPECT_FALSE(tb.HitTest(15, 10).Hit);  // Left itself is outside, and the spacer is never hit
  // Button 2 reaches Right + 4 and comes first.
  for (auto [x, index] : {std::pair{16, 2}, {66, 2}, {69, 3}, {108, 3}}) EXPECT_EQ(tb.HitTest(x, 10).Index, index) << x;
  for (auto [x, y, hit] : {std::tuple{109, 10, false}, {50, 0, false}, {50, 28, true}, {50, 29, false}})
    EXPECT_EQ(tb.HitTest(x, y).Hit, hit) << x << "," << y;
  for (auto [x, in] : {std::pair{95, false}, {96, true}, {104, true}, {105, false}})
    EXPECT_EQ(tb.HitTest(x, 10).InDropDown, in) << x;
  tb.setEnabled(3, false);
  EXPECT_FALSE(tb.HitTest(100, 10).Hit);
}

TEST_F(ToolBar, PressingAToggleTwiceReleasesItAndDropDownsRaiseTheirMenuFirst) {
  auto& tb = barOfThree(place<ZorvaXPToolBar>("tb"));
  tb.setButtonChecked(3, true);
  moveTo(tb, 80, 10);
  input.click();
  EXPECT_EQ(tb.ButtonValue(3), TButtonValue::Pressed);
  input.moveTo(Point{300, 200}).advance(1000);
  EXPECT_EQ(px(tb.surface(), 65, 3), kBorder);  // held down: the pressed face's frame
  moveTo(tb, 80, 10);
  input.click();
  EXPECT_EQ(tb.ButtonValue(3), TButtonValue::UnPressed);
  // A second press within the double-click time is a double click: DblClick instead of the
  // press, so nothing toggles; the release over the button still clicks it.
  logEvents(tb);
  input.click();
  EXPECT_EQ(tb.ButtonValue(3), TButtonValue::UnPressed);
  EXPECT_EQ(events(), (std::vector<std::string>{"DblClick", "Click 3"}));
  log.clear();

  tb.setMouseDownColor(false);
  input.advance(1000).click();
  EXPECT_EQ(tb.ButtonValue(3), TButtonValue::UnPressed);

  tb.setMainStyle(3, TMainStyleDType::DropDown);
  input.advance(1000);
  log.clear();
  moveTo(tb, 100, 10);
  input.press();
  EXPECT_EQ(events(), (std::vector<std::string>{"PopUpMainMenu 3 Three 65 29", "MouseDown"}));
  input.release();
  EXPECT_EQ(events().back(), "Click 3");
}

TEST_F(ToolBar, DraggingAnEdgeResizesWithTheSizeCursorAndTheMinimum) {
  auto& tb = barOfThree(place<ZorvaXPToolBar>("tb"));
  tb.setOnPanelWidthChanging(true);
  logEvents(tb);
  moveTo(tb, 107, 10);
  EXPECT_EQ(standardCursorId(GetCursor()), IDC_SIZEWE);
  input.press();
  moveTo(tb, 75, 10);
  EXPECT_EQ(events().back(), "HeaderSizing 3 75 10");
  input.release();
  EXPECT_EQ(tb.HeaderWidth(3), 26);  // 10 is below 25

  // Past the double-click time each time: a second press soon after is a double click. 24 becomes 26.
  for (auto [from, width] : {std::pair{93, 25}, {92, 26}}) {
    input.advance(1000);
    moveTo(tb, from, 10);
    input.press();
    moveTo(tb, from - 3, 10);
    input.release();
    EXPECT_EQ(tb.HeaderWidth(3), width) << from;
  }
  moveTo(tb, 30, 10);
  EXPECT_EQ(standardCursorId(GetCursor()), IDC_ARROW);
}

TEST_F(ToolBar, TheToolTipIsATopLevelWindowBelowTheButtonAndGoesOnLeaveAndPress) {
  auto& tb = barOfThree(place<ZorvaXPToolBar>("tb"));
  tb.setToolTip(3, "Open a file");
  const HWND tip = tb.toolTipWindow().hWnd();
  ASSERT_NE(tip, 0u);
  const DWORD style = static_cast<DWORD>(GetWindowLongA(tip, GWL_STYLE));
  EXPECT_EQ(style & (WS_POPUP | WS_CHILD), static_cast<DWORD>(WS_POPUP));
  EXPECT_EQ(GetParent(tip), GetAncestor(tb.hWnd(), GA_ROOT));  // a pop-up's parent is its owner
  EXPECT_FALSE(IsWindowVisible(tip));

  moveTo(tb, 80, 10);
  ASSERT_TRUE(IsWindowVisible(tip));
  RECT bar{}, r{};
  GetWindowRect(tb.hWnd(), &bar);
  GetWindowRect(tip, &r);
  SIZE text{};
  GetTextExtentPoint32(tb.toolTipWindow().hDC(), "Open a file", 11, &text);
  EXPECT_EQ(std::tuple(r.left, r.top, r.right - r.left, r.bottom - r.top, tb.toolTipText()),
            std::tuple(bar.left + 65, bar.top + 29 + 4, text.cx + 8, text.cy + 6, "Open a file"));

  input.moveTo(Point{300, 200});
  EXPECT_TRUE(IsWindowVisible(tip));  // until the hover timer sees the cursor gone
  input.advance(20);
  EXPECT_FALSE(IsWindowVisible(tip));

  moveTo(tb, 80, 10);
  EXPECT_TRUE(IsWindowVisible(tip));
  input.press();
  EXPECT_FALSE(IsWindowVisible(tip));
  input.release();

  // Button 1 never shows one, even visible, enabled and with a text.
  tb.ChangeButton(1, "First", THAlign::Left, 15, {}, THAlign::Left, true, true, TStyleDType::Normal_Text, {},
                  TMainStyleDType::Normal, false, false, TButtonValue::UnPressed, "never");
  moveTo(tb, 5, 10);
  EXPECT_EQ(tb.hoveredIndex(), 1);
  EXPECT_FALSE(IsWindowVisible(tip));
}

TEST_F(ToolBar, SeparatorsGrippersArrowsAndFacesSitWhereTheyBelong) {
  auto& tb = barOfThree(place<ZorvaXPToolBar>("tb"));
  tb.setButtonSeparator(2, true);
  tb.setMainStyle(3, TMainStyleDType::DropDown);
  const auto& s = tb.surface();
  // The separator, the outer frame, and the drop-down arrow: 5-3-1 pixels from y0 = 14, ending
  // 2 pixels inside the right edge.
  expectPixels(s.hDC(), {{65, 3, kEtch}, {65, 25, kEtch}, {66, 3, kWhite}, {0, 0, kBorder}, {599, 28, kBorder},
                         {100, 16, kBorder}});
  EXPECT_NE(px(s, 65, 2), kEtch);
  for (int x = 98; x <= 102; ++x) EXPECT_EQ(px(s, x, 14), kBorder) << x;
  for (int x = 99; x <= 101; ++x) EXPECT_EQ(px(s, x, 15), kBorder) << x;
  // Left gripper: four dots from nearest(29 / 2 - 7) = 8 (a half goes to the even side).
  for (int y : {8, 12, 16, 20})
    expectPixels(s.hDC(), {{7, y, kDot}, {8, y + 1, kDot}, {9, y + 1, kWhite}, {8, y + 2, kWhite}});

  // Hover face of button 3 (XP): a frame (65, 3)-(106, 26) and the drop-down divider at x = 95.
  tb.setGradientMode(bars::THGradientMode::XP_Gradient);
  moveTo(tb, 80, 10);
  EXPECT_EQ(tb.hoveredIndex(), 3);
  expectPixels(s.hDC(), {{65, 3, kBorder}, {105, 25, kBorder}, {95, 10, kBorder}});
  EXPECT_NE(px(s, 106, 10), kBorder);
}

// A 16 x 16 bitmap of one colour with a magenta (left out) top-left pixel.
host::PictureRef solidPicture(COLORREF color) {
  HDC mem = CreateCompatibleDC(0);
  HBITMAP bmp = CreateCompatibleBitmap(mem, 16, 16);
  {
    Selection selected(mem, bmp);
    foundation::fillSolid(mem, color, RECT{0, 0, 16, 16});
    SetPixelV(mem, 0, 0, RGB(255, 0, 255));
  }
  DeleteDC(mem);
  return gfx::Picture::fromBitmap(bmp);
}

TEST_F(ToolBar, PicturesSitBesideOrAboveTheirCaptions) {
  auto& tb = barOfThree(place<ZorvaXPToolBar>("tb"));
  constexpr COLORREF red = RGB(200, 20, 20);
  const auto& s = tb.surface();
  // Custom mode, left text and left picture: the picture at Left + 3, y = (29 - 16) / 2 = 6.
  tb.ChangeButton(3, "Pic", THAlign::Left, 40, solidPicture(red), THAlign::Left);
  expectPixels(s.hDC(), {{68 + 15, 6 + 15, red}, {68 + 1, 6, red}});
  // The magenta pixel shows the bar through; nothing red beside the picture.
  for (Point p : {Point{68, 6}, Point{67, 10}, Point{84, 10}}) EXPECT_NE(px(s, p.x, p.y), red) << p.x;

  // Bottom mode: the picture centred at Left + 40 / 2 - 8 = 77, y = (41 - 16) / 4 = 6.
  tb.setCaptionAlingment(bars::TCaptionAlignment::Bottom);
  tb.extender()->setHeight(pixelsToTwips(41));
  ASSERT_EQ(s.ScaleHeight(), 41);
  expectPixels(s.hDC(), {{77 + 1, 6, red}, {77 + 15, 6 + 15, red}});
  EXPECT_NE(px(s, 76, 10), red);
  EXPECT_NE(px(s, 93, 10), red);
}

TEST_F(ToolBar, AResizedBarKeepsItsMinimumHeight) {
  auto& tb = place<ZorvaXPToolBar>("tb");
  tb.extender()->setHeight(pixelsToTwips(10));
  EXPECT_EQ(tb.surface().ScaleHeight(), 22);
  tb.setCaptionAlingment(bars::TCaptionAlignment::Bottom);
  tb.extender()->setHeight(pixelsToTwips(30));
  EXPECT_EQ(tb.surface().ScaleHeight(), 41);
}

}  // namespace
}  // namespace zxp::testing
