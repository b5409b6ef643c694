// The frame: the caption gap of the Standard look in each alignment, the Professional header,
// the header buttons, collapse and expand with the controls inside, the blended picture, the
// disabled look, the scale members and persistence.

#include <climits>
#include <utility>

#include "foundation/GradientMath.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/ui/Screen.h"
#include "support/PixelTable.h"
#include "text/TextFixture.h"

namespace zxp::testing {
namespace {

using text::AlignmentCtl2;
using text::VFIconSize;
using text::VFPicPos;
using text::vFrameAppearance;

constexpr COLORREF kRed = RGB(255, 0, 0);

class Frame : public TextTest {
 protected:
  // A Standard frame on a white body with a pure red border, W x H pixels.
  ZorvaXPFrame& standard(int w = 200, int h = 150) {
    ZorvaXPFrame& f = frame("fra", 10, 10, w, h);
    f.setAppearance(vFrameAppearance::Standard);
    f.setBackGradient(false);
    f.setBackColor(0xFFFFFF);
    f.setBorderColor(0x0000FF);
    f.setCaption("Options");
    return f;
  }
  static int textWidth(const ZorvaXPFrame& f) {
    SIZE s{};
    GetTextExtentPoint32(f.surface().hDC(), f.Caption().data(), static_cast<int>(f.Caption().size()), &s);
    return s.cx;
  }
  // The x ranges of y = 19 painted in the border colour, as [from, to) pairs.
  static std::vector<std::pair<int, int>> topLine(const ZorvaXPFrame& f) {
    std::vector<std::pair<int, int>> runs;
    const HDC dc = f.surface().hDC();
    const int w = f.surface().ScaleWidth();
    for (int x = 0; x < w; ++x) {
      if (GetPixel(dc, x, 19) != kRed) continue;
      if (!runs.empty() && runs.back().second == x)
        runs.back().second = x + 1;
      else
        runs.emplace_back(x, x + 1);
    }
    return runs;
  }
  using Runs = std::vector<std::pair<int, int>>;
};

TEST_F(Frame, StandardCaptionBreaksTheTopLineInEachAlignment) {
  ZorvaXPFrame& f = standard();
  const int w = 200, tw = textWidth(f);
  EXPECT_EQ(topLine(f), (Runs{{2, 10}, {tw + 13, w - 2}}));
  f.setCaptionPos(AlignmentCtl2::VP_AlignCenter);
  const int x0 = nearest((w - tw - 2) / 2.0);
  EXPECT_EQ(topLine(f), (Runs{{2, x0 - 1}, {x0 + 3 + tw, w - 2}}));
  f.setCaptionPos(AlignmentCtl2::VP_AlignRight);
  EXPECT_EQ(topLine(f), (Runs{{2, w - tw - 15}, {w - 13, w - 2}}));

  // With a 24-pixel icon the gap makes room for it; the icon sits at (10, 10) on the left.
  f.setIcon(solidIcon(0x22AA44, 24));
  f.setIconSize(VFIconSize::Medium_24x24);
  EXPECT_EQ(topLine(f), (Runs{{2, w - 24 - tw - 15}, {w - 10, w - 2}}));
  EXPECT_EQ(GetPixel(f.surface().hDC(), w - 15, 30), RGB(0x22, 0xAA, 0x44));
  f.setCaptionPos(AlignmentCtl2::VP_AlignLeft);
  EXPECT_EQ(topLine(f), (Runs{{2, 9}, {tw + 24 + 13, w - 2}}));
  expectPixels(f.surface().hDC(), {{10, 10, RGB(0x22, 0xAA, 0x44)}, {33, 33, RGB(0x22, 0xAA, 0x44)}});
}

TEST_F(Frame, StandardBorderAndRoundedCorners) {
  ZorvaXPFrame& f = standard(120, 80);
  const HDC dc = f.surface().hDC();
  for (int y = 21; y < 78; ++y) {
    EXPECT_EQ(GetPixel(dc, 0, y), kRed) << y;
    EXPECT_EQ(GetPixel(dc, 119, y), kRed) << y;
  }
  EXPECT_NE(GetPixel(dc, 0, 20), kRed);
  for (int x = 2; x < 118; ++x) EXPECT_EQ(GetPixel(dc, x, 79), kRed) << x;
  for (POINT p : {POINT{1, 78}, POINT{118, 78}, POINT{1, 20}, POINT{118, 20}}) EXPECT_EQ(GetPixel(dc, p.x, p.y), kRed);
  GdiObject rgn(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(f.hWnd(), static_cast<HRGN>(rgn.get())), 0);
  for (POINT p : {POINT{0, 0}, POINT{1, 0}, POINT{0, 1}, POINT{119, 0}, POINT{118, 0}, POINT{119, 1}, POINT{0, 79},
                  POINT{0, 78}, POINT{1, 79}, POINT{119, 79}, POINT{118, 79}, POINT{119, 78}})
    EXPECT_FALSE(PtInRegion(static_cast<HRGN>(rgn.get()), p.x, p.y)) << p.x << "," << p.y;
  EXPECT_TRUE(PtInRegion(static_cast<HRGN>(rgn.get()), 1, 1));
  // Neither header button shows in the Standard look.
  f.setCloseButton(true);
  f.setDropDownButton(true);
  EXPECT_FALSE(f.dropDownSurface().Visible() || f.hoverImageVisible());
}

TEST_F(Frame, ProfessionalHeaderLinesIconAndCaption) {
  ZorvaXPFrame& f = frame("fra", 10, 10, 200, 150);
  f.setBorderColor(0x0000FF);
  f.setIcon(solidIcon(0x22AA44));
  const HDC dc = f.surface().hDC();
  const COLORREF white = RGB(255, 255, 255), icon = RGB(0x22, 0xAA, 0x44);
  // The header's outline at y = 21, the white line under it, the body's outline; the icon at
  // (4, (HH - 16) / 2).
  expectPixels(dc, {{0, 0, kRed}, {100, 21, kRed}, {100, 22, white}, {1, 22, white}, {198, 22, white},
                    {100, 23, kRed}, {199, 149, kRed}, {4, 3, icon}});
  // A taller header moves the lines.
  f.setHeaderHeight(30);
  expectPixels(dc, {{100, 29, kRed}, {100, 30, white}, {4, 7, icon}});
  // A header lower than 3 pixels draws no panel and raises nothing.
  EXPECT_NO_THROW(f.setHeaderHeight(2));
}

// HeaderHeight and IconSize take any Long. A header far taller than the frame, up to 2^31 - 1
// pixels, looks like any other header taller than the frame, whatever the caption's place, with
// an icon of any size; and one far above it (a negative height) too.
TEST_F(Frame, HeadersAndIconsPastTheDrawingRangeLookLikeAnyOutsideTheFrame) {
  ZorvaXPFrame& f = frame("fra", 10, 10, 200, 150);
  f.setIcon(solidIcon(0x22AA44));
  const HDC dc = f.surface().hDC();
  auto picture = [&] {
    std::vector<COLORREF> out;
    for (int y = 0; y < 150; ++y)
      for (int x = 0; x < 200; ++x) out.push_back(GetPixel(dc, x, y));
    return out;
  };
  for (AlignmentCtl2 pos : {AlignmentCtl2::VP_AlignLeft, AlignmentCtl2::VP_AlignCenter, AlignmentCtl2::VP_AlignRight}) {
    f.setCaptionPos(pos);
    for (const auto& [far, near] : {std::pair{INT32_MAX, 1 << 22}, std::pair{INT32_MIN, -(1 << 22)}}) {
      f.setIconSize(static_cast<VFIconSize>(near));
      f.setHeaderHeight(near);
      const std::vector<COLORREF> expected = picture();
      f.setIconSize(static_cast<VFIconSize>(far));
      f.setHeaderHeight(far);
      EXPECT_EQ(picture(), expected) << static_cast<int>(pos) << " " << far;
    }
  }
}

class FrameButtons : public Frame {
 protected:
  ZorvaXPFrame& logged() {
    ZorvaXPFrame& f = frame("fra", 10, 10, 200, 150);
    f.DropDownButtonClick.connect([this](int16_t& b) { log.push_back("DropDownButtonClick " + std::to_string(b)); });
    f.CloseButtonClick.connect([this](int16_t& b) { log.push_back("CloseButtonClick " + std::to_string(b)); });
    return f;
  }
  void clickGlyph(const ZorvaXPFrame& f, Point p) { input.moveTo(f.dropDownSurface().hWnd(), p).click(); }
  std::vector<std::string> log;
};

TEST_F(FrameButtons, CollapseAndExpandFoldTheFrameAndItsControls) {
  ZorvaXPFrame& f = logged();
  TestXP& inner = panel("inner", 20, 60, 80, 30, &ext("fra"));
  int innerPresses = 0;
  inner.MouseDown.connect([&](int16_t&, int16_t&, float&, float&) { ++innerPresses; });
  f.setIcon(solidIcon(0x22AA44, 32));
  f.setIconSize(VFIconSize::Large_32x32);
  f.setDropDownButton(true);
  ASSERT_TRUE(f.dropDownSurface().Visible());
  EXPECT_EQ(f.glyph(), ZorvaXPFrame::kChevronExpanded);
  RECT g;
  GetWindowRect(f.dropDownSurface().hWnd(), &g);
  const Point glyphAt = screenOf(f.hWnd(), Point{200 - 9 - 8, nearest((22 - 11) / 2.0)});
  EXPECT_EQ(std::tuple(g.right - g.left, g.bottom - g.top, g.left, g.top), std::tuple(9, 11, glyphAt.x, glyphAt.y));
  // The chevron's red background is cut away: its window region misses the corner.
  GdiObject rgn(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(f.dropDownSurface().hWnd(), static_cast<HRGN>(rgn.get())), 0);
  EXPECT_FALSE(PtInRegion(static_cast<HRGN>(rgn.get()), 0, 0));
  EXPECT_TRUE(PtInRegion(static_cast<HRGN>(rgn.get()), 4, 2));

  const int expanded = ext("fra").Height();
  ASSERT_EQ(form->tabOrder().size(), 2u);
  input.moveTo(f.dropDownSurface().hWnd(), Point{4, 2});
  EXPECT_TRUE(f.hoverSurface().Visible());  // the hover square around the chevron
  input.click();
  EXPECT_EQ(std::tuple(f.Collapsed(), ext("fra").Height(), f.glyph(), f.IconSize()),
            std::tuple(true, (22 + 2) * 15, ZorvaXPFrame::kChevronCollapsed, VFIconSize::Small_16x16));
  // The downward chevron is painted whole, not clipped by the upward one's shape.
  const COLORREF ink = GetPixel(f.dropDownSurface().hDC(), 4, 2);
  expectPixels(f.dropDownSurface().hDC(), {{4, 8, RGB(33, 64, 132)}, {1, 5, RGB(33, 64, 132)}});
  EXPECT_NE(ink, RGB(33, 64, 132));
  EXPECT_EQ(log, (std::vector<std::string>{"DropDownButtonClick 1"}));
  // The controls inside are out of sight: no tab stop, no click reaches them.
  EXPECT_EQ(form->tabOrder().size(), 1u);
  input.moveTo(inner.hWnd(), Point{10, 10}).click();
  EXPECT_EQ(innerPresses, 0);
  auto screen = ui::composeScreen();
  const Point in = screenOf(inner.hWnd(), Point{10, 10});
  EXPECT_NE(screen->at(in.x, in.y) & 0xFFFFFF, 0x4080C0u);  // TestXP's resting colour

  clickGlyph(f, Point{4, 8});
  EXPECT_EQ(std::tuple(f.Collapsed(), ext("fra").Height(), f.IconSize(), f.glyph(), form->tabOrder().size()),
            std::tuple(false, expanded, VFIconSize::Large_32x32, ZorvaXPFrame::kChevronExpanded, 2u));
  input.moveTo(inner.hWnd(), Point{10, 10}).click();
  EXPECT_EQ(innerPresses, 1);

  // The hover square goes once the cursor has left.
  input.moveTo(f.dropDownSurface().hWnd(), Point{4, 2});
  EXPECT_TRUE(f.hoverSurface().Visible());
  input.moveTo(form->hWnd(), Point{400, 300}).advance(10);
  EXPECT_FALSE(f.hoverSurface().Visible() || f.hoverTimer().running());
}

TEST_F(FrameButtons, CloseButtonShowsItsThreeStatesAndLeavesTheFrameAlone) {
  ZorvaXPFrame& f = logged();
  f.setCloseButton(true);
  ASSERT_TRUE(f.dropDownSurface().Visible());
  EXPECT_EQ(f.glyph(), ZorvaXPFrame::kCloseNormal);
  const COLORREF normal = GetPixel(f.dropDownSurface().hDC(), 6, 1);
  input.moveTo(f.dropDownSurface().hWnd(), Point{6, 6});
  EXPECT_EQ(std::tuple(f.glyph(), GetPixel(f.dropDownSurface().hDC(), 6, 1) != normal), std::tuple(ZorvaXPFrame::kCloseHover, true));
  input.press();
  EXPECT_EQ(f.glyph(), ZorvaXPFrame::kClosePressed);
  input.release();
  EXPECT_EQ(f.glyph(), ZorvaXPFrame::kCloseHover);
  EXPECT_EQ(log, (std::vector<std::string>{"CloseButtonClick 1"}));
  EXPECT_TRUE(IsWindowVisible(f.hWnd()));
  input.moveTo(form->hWnd(), Point{400, 300}).advance(10);
  EXPECT_EQ(std::tuple(f.glyph(), GetPixel(f.dropDownSurface().hDC(), 6, 1)), std::tuple(ZorvaXPFrame::kCloseNormal, normal));

  // Both buttons: the close glyph; a click collapses and raises both, the drop-down first.
  f.setDropDownButton(true);
  log.clear();
  clickGlyph(f, Point{6, 6});
  EXPECT_TRUE(f.Collapsed());
  EXPECT_EQ(log, (std::vector<std::string>{"DropDownButtonClick 1", "CloseButtonClick 1"}));
  // On the right-aligned caption the button moves to the left side.
  f.setCaptionPos(AlignmentCtl2::VP_AlignRight);
  RECT g;
  GetWindowRect(f.dropDownSurface().hWnd(), &g);
  EXPECT_EQ(g.left, screenOf(f.hWnd(), Point{8, 0}).x);
}

TEST_F(Frame, SmallFramesGrow) {
  frame("fra", 10, 10, 15, 15);
  EXPECT_EQ(std::tuple(ext("fra").Height(), ext("fra").Width()), std::tuple(25 * 15, 30 * 15));
}

TEST_F(Frame, PictureBlendsAtZeroHalfAndFullStrength) {
  ZorvaXPFrame& f = standard(200, 150);
  f.setBackColor(0xD8E9EC);  // R 236, G 233, B 216
  f.setPicture(solidBitmap(0x0000FF, 10, 10));  // pure blue pixels
  const HDC dc = f.surface().hDC();
  // The blend per channel: nearest((256 - a) * back / 255 + picture * a / 255), at most 255.
  auto blend = [](int back, int pic, int a) { return std::min(255, nearest((256 - a) * back / 255.0 + pic * a / 255.0)); };
  for (int a : {0, 128, 255}) {
    f.setTransparencyLevel(static_cast<int16_t>(a));
    const COLORREF c = GetPixel(dc, 95 + 5, 70 + 5);
    EXPECT_EQ(c, RGB(blend(236, 0, a), blend(233, 0, a), blend(216, 255, a))) << a;
  }
  EXPECT_EQ(GetPixel(dc, 95 + 5, 70 + 5), RGB(1, 1, 255));
  // The corner places.
  f.setPicturePos(VFPicPos::VFPicBottomRight);
  EXPECT_NE(GetPixel(dc, 100, 75), RGB(1, 1, 255));
  for (auto [pos, x, y] : {std::tuple{VFPicPos::VFPicBottomRight, 199 - 3, 149 - 3}, {VFPicPos::VFPicBottomLeft, 3, 149 - 3},
                           {VFPicPos::VFPicTile, 3, 3}}) {
    f.setPicturePos(pos);
    EXPECT_EQ(GetPixel(dc, x, y), RGB(1, 1, 255)) << x << "," << y;
  }
  EXPECT_NE(GetPixel(dc, 13, 3), RGB(1, 1, 255));  // the tile is drawn once, not repeated
}

TEST_F(Frame, DisabledFrameGreysItsCaptionAndIconAndDisablesItsControls) {
  ZorvaXPFrame& f = standard();
  f.setIcon(solidIcon(0x2060C0));
  f.setForeColor(0x000000);
  TestXP& inner = panel("inner", 20, 60, 80, 30, &ext("fra"));
  int innerPresses = 0;
  inner.MouseDown.connect([&](int16_t&, int16_t&, float&, float&) { ++innerPresses; });
  f.setEnabled(false);
  const HDC dc = f.surface().hDC();
  const int level = nearest((0x20 + 0x60 + 0xC0) / 3.0);
  EXPECT_EQ(GetPixel(dc, 12, 12), RGB(level, level, level));
  bool disabledInk = false, blackInk = false;
  for (int y = 8; y < 28; ++y)
    for (int x = 28; x < 28 + textWidth(f); ++x) {
      disabledInk = disabledInk || GetPixel(dc, x, y) == RGB(0x5F, 0x5F, 0x5F);
      blackInk = blackInk || GetPixel(dc, x, y) == RGB(0, 0, 0);
    }
  EXPECT_EQ(std::tuple(disabledInk, blackInk, form->tabOrder().size()), std::tuple(true, false, 0u));
  input.moveTo(inner.hWnd(), Point{10, 10}).click();
  EXPECT_EQ(innerPresses, 0);
  f.setEnabled(true);
  input.moveTo(inner.hWnd(), Point{10, 10}).click();
  EXPECT_EQ(innerPresses, 1);
}

TEST_F(Frame, ScaleMembersAndSurfacePassThrough) {
  ZorvaXPFrame& f = frame("fra", 10, 10, 200, 150);
  EXPECT_EQ(std::tuple(f.ScaleMode(), f.ScaleWidth()), std::tuple(3, 200.0f));
  f.setScaleMode(1);
  EXPECT_FLOAT_EQ(f.ScaleHeight(), 150 * 15);
  host::callMethod(f, "ScaleMe", {host::Variant(0.0), host::Variant(0.0), host::Variant(1.0), host::Variant(2.0)});
  EXPECT_EQ(std::tuple(f.ScaleMode(), f.ScaleWidth(), f.ScaleHeight()), std::tuple(0, 1.0f, 2.0f));
  host::callMethod(f, "ScaleMe");
  EXPECT_EQ(f.ScaleMode(), 1);
  EXPECT_THROW(f.setScaleMode(9), HostError);
  EXPECT_EQ(host::getProperty(f, "hwnd").toLong(), static_cast<int32_t>(f.hWnd()));
  EXPECT_THROW(host::getProperty(f, "Controls"), HostError);
  panel("a", 10, 30, 50, 20, &ext("fra"));
  panel("b", 10, 60, 50, 20, &ext("fra"));
  panel("c", 300, 30, 50, 20);
  EXPECT_EQ(std::tuple(f.Controls().size(), f.Parent()), std::tuple(2u, form.get()));
}

TEST_F(Frame, RoundTripNestsItsControlsAndTearsDownClean) {
  const size_t windowsBefore = handles().liveCount(ObjKind::Window);
  ZorvaXPFrame& f = frame("ZorvaXPFrame2", 10, 10, 220, 160);
  EXPECT_EQ(f.Caption(), "ZorvaXPFrame2");
  f.setDropDownButton(true);
  f.setHeaderGradientMode(text::VHGradientMode::XP_Mode);
  f.setPicture(solidBitmap(0x808080, 4, 4));
  panel("inner", 20, 40, 80, 30, &ext("ZorvaXPFrame2"));
  const std::string saved = form->save();
  for (const char* line : {"  Begin ZorvaXPFrame ZorvaXPFrame2\n", "    Begin TestXP inner\n"})
    EXPECT_NE(saved.find(line), std::string::npos) << line;
  host::ClassRegistry both = library::classes();
  both.add(TestXP::controlClass());
  auto loaded = host::Form::load(saved, both);
  EXPECT_EQ(loaded->save(), saved);
  EXPECT_FALSE(loaded->modified());
  const auto& g = loaded->control("ZorvaXPFrame2")->as<ZorvaXPFrame>();
  EXPECT_TRUE(g.DropDownButton());
  EXPECT_EQ(GetParent(loaded->control("inner")->object().hWnd()), g.hWnd());
  loaded.reset();
  form->remove(ext("ZorvaXPFrame2"));
  EXPECT_EQ(std::tuple(handles().liveCount(ObjKind::Window), ui::eventLoop().timerCount()), std::tuple(windowsBefore, 0u));

  // A control nested in a label (not a container) is refused with its line.
  const std::string nested =
      "ZorvaXP Form 1\nBegin Form F\n  Begin ZorvaXPLabel L\n    @Width = 900\n    @Height = 300\n"
      "    Begin ZorvaXPLabel M\n      @Width = 900\n      @Height = 300\n    End\n  End\nEnd\n";
  EXPECT_EQ(loadErrorLine(nested, library::classes()), 6);
}

}  // namespace
}  // namespace zxp::testing
