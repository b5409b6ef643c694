// The status bar: what it shares with the tool bar at its own sizes (8-pixel hit tolerance,
// full-height faces, a separator after every panel, the grip), what it lacks, and its keys.

#include "bars/BarsFixture.h"
#include "platform/host/PropertyBag.h"

namespace zxp::testing {
namespace {

using bars::SHAlign;
using bars::StyleDType;
using bars::ZorvaXPStatusBar;

using StatusBar = BarsTest;

constexpr COLORREF kBorder = 10841658;
constexpr COLORREF kEtch = RGB(80, 127, 176);
constexpr COLORREF kDot = 10906949;

TEST_F(StatusBar, ANewBarHasTwoPanelsSeparatorsAndGripAndDocksAtTheBottom) {
  auto& sb = place<ZorvaXPStatusBar>("sb");
  ASSERT_EQ(sb.HeadersCount(), 2);
  EXPECT_EQ(std::tuple(sb.HeaderCaption(1), sb.HeaderCaption(2), sb.HeaderWidth(1), sb.PicAlignment(2)),
            std::tuple("Ready", "ZorvaXpStatusBar", 100, SHAlign::Left));
  EXPECT_FALSE(sb.HoverColor() || sb.MouseDownColor());
  EXPECT_EQ(sb.extender()->Align(), host::Align::vbAlignBottom);
  const auto& s = sb.surface();
  ASSERT_EQ(s.ScaleHeight(), 27);  // 405 twips
  const int W = s.ScaleWidth(), H = s.ScaleHeight();
  for (int x : {100, 200}) {
    EXPECT_EQ(px(s, x, 3), kEtch) << x;
    EXPECT_EQ(px(s, x + 1, 3), 0xFFFFFFu) << x;
  }
  // The grip: six dark pixels in the last 19 columns, each with a white partner.
  int dark = 0;
  for (int y = 0; y < H; ++y)
    for (int x = W - 19; x < W - 1; ++x)
      if (px(s, x, y) == kDot) {
        ++dark;
        EXPECT_EQ(px(s, x + 1, y + 1), 0xFFFFFFu) << x << "," << y;
      }
  EXPECT_EQ(dark, 6);
  // No highlight while hover faces are off.
  moveTo(sb, 50, 10);
  EXPECT_NE(px(s, 103, 10), kBorder);
}

TEST_F(StatusBar, PanelsAreHitEightPixelsPastTheirEdgeAndFacesCoverTheFullHeight) {
  auto& sb = place<ZorvaXPStatusBar>("sb");
  EXPECT_EQ(sb.HitTest(207, 10).Index, 2);  // 7 pixels right of the last panel
  EXPECT_FALSE(sb.HitTest(208, 10).Hit || sb.HitTest(0, 10).Hit);
  EXPECT_EQ(sb.HitTest(105, 10).Index, 1);

  sb.setHoverColor(true);
  moveTo(sb, 150, 10);
  const auto& s = sb.surface();
  EXPECT_EQ(px(s, 100, 10), kBorder);  // frame (Left, 0)-(Right + 4, Bottom), over the etch
  EXPECT_EQ(px(s, 203, 10), kBorder);
  EXPECT_NE(px(s, 204, 10), kBorder);

  // A press shows the pressed face, toggles nothing and a release over the panel clicks it.
  sb.setMouseDownColor(true);
  logEvents(sb);
  input.click();
  EXPECT_EQ(events(), (std::vector<std::string>{"MouseDown", "Click 2"}));
}

TEST_F(StatusBar, WhatTheToolBarHasAndTheStatusBarLacksIsAbsent) {
  auto& sb = place<ZorvaXPStatusBar>("sb");
  const host::MemberTable& t = sb.memberTable();
  for (const char* name : {"MainStyle", "ButtonSeparator", "ButtonChecked", "ButtonValue", "ToolTip", "CaptionAlingment",
                           "ShowGripperLeft", "ShowGripperRight", "ForeColorToolTip", "ToolTipColor1", "AddButton",
                           "RemoveButton", "ChangeButton"})
    EXPECT_EQ(t.find(name), nullptr) << name;
  EXPECT_EQ(t.findEvent("PopUpMainMenu"), nullptr);
  for (const char* name : {"AddPanel", "ChangePanel", "RemoveColumn", "ShowGripper", "ShowSeperators", "Tag"})
    EXPECT_NE(t.find(name), nullptr) << name;
  host::callMethod(sb, "AddPanel", {host::Variant(std::string("Late"))});
  EXPECT_EQ(std::tuple(sb.HeaderWidth(3), sb.HeaderAlignment(3)), std::tuple(100, SHAlign::Left));
}

TEST_F(StatusBar, EightKeysPerPanelAndATagDoesNotSurviveASave) {
  auto& sb = place<ZorvaXPStatusBar>("sb");
  sb.setTag(1, "runtime only");
  sb.setHeaderWidth(2, 140);
  host::PropertyBag bag;
  sb.WriteProperties(bag);
  for (const auto& e : bag.entries()) EXPECT_EQ(e.key.rfind("Tag", 0), std::string::npos) << e.key;
  EXPECT_EQ(bag.ReadProperty("HeaderWidth2").toString(), "140");
  const std::string saved = form->save();
  form.reset();
  auto loaded = host::Form::load(saved, library::classes());
  auto& again = loaded->control("sb")->as<ZorvaXPStatusBar>();
  EXPECT_EQ(std::tuple(again.Tag(1), again.HeaderWidth(2), loaded->save()), std::tuple("", 140, saved));

  again.RemoveColumn(2);
  again.RemoveColumn(1);
  EXPECT_EQ(again.HeadersCount(), 0);
}

TEST_F(StatusBar, BadCountsLoadAsNoPanelsAndWrongTypesNameTheirLine) {
  form.reset();
  const auto file = [](const std::string& keys) {
    return "ZorvaXP Form 1\nBegin Form frm\n  Begin ZorvaXPStatusBar sb\n    @Width = 6000\n    @Height = 405\n" +
           keys + "  End\nEnd\n";
  };
  auto loaded = host::Form::load(file("    HeadersCount = Long -4\n"), library::classes());
  EXPECT_EQ(loaded->control("sb")->as<ZorvaXPStatusBar>().HeadersCount(), 0);
  loaded.reset();
  EXPECT_EQ(loadErrorLine(file("    HeadersCount = Long 1\n    HeaderWidth1 = String \"wide\"\n"), library::classes()),
            7);
}

TEST_F(StatusBar, DraggingAPanelEdgeBelow25Gives26) {
  auto& sb = place<ZorvaXPStatusBar>("sb");
  sb.setOnPanelWidthChanging(true);
  moveTo(sb, 104, 10);
  EXPECT_EQ(standardCursorId(GetCursor()), IDC_SIZEWE);
  input.press();
  moveTo(sb, 20, 10);
  input.release();
  EXPECT_EQ(sb.HeaderWidth(1), 26);
  EXPECT_EQ(sb.buttonRects()[1].Left, 26);  // the next panel follows at once
}

}  // namespace
}  // namespace zxp::testing
