// Window shapes cut from painted pixels: the region must hold exactly the non-key pixels of the
// area, whatever the pattern, and leave nothing behind.
#include <gtest/gtest.h>

#include <random>

#include "foundation/modRegion.h"
#include "platform/gfx/TestCanvas.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/User.h"

namespace zxp {
namespace {

using testing::TestCanvas;

constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr Pixel kKeyPixel = 0xFF00FF;

// Every pixel of the canvas is in the region exactly when it lies in `area` and is not the key.
void expectExactShape(TestCanvas& c, HRGN rgn, const RECT& area) {
  for (int y = -1; y <= c.height(); ++y)
    for (int x = -1; x <= c.width(); ++x) {
      const bool inArea = x >= area.left && x < area.right && y >= area.top && y < area.bottom;
      const bool inside = x >= 0 && y >= 0 && x < c.width() && y < c.height();
      const bool expected = inArea && (!inside || (c.at(x, y) & 0xFFFFFF) != kKeyPixel);
      ASSERT_EQ(PtInRegion(rgn, x, y) != 0, expected) << x << "," << y;
    }
}

TEST(RegionWithoutColor, HoldsExactlyTheNonKeyPixelsOfRandomPicturesUpToTheSurfacesEdges) {
  std::mt19937 rng(7);
  for (int round = 0; round < 20; ++round) {
    const int w = 1 + static_cast<int>(rng() % 40), h = 1 + static_cast<int>(rng() % 12);
    TestCanvas c(w, h, round % 2 == 0, kKeyPixel);
    // Dots, then longer runs, up to whole rows (every fourth round): of any colour, and of
    // colours one bit away from the key (kept).
    const unsigned density = 1 + round % 4;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (rng() % 4 < density) c.at(x, y) = rng() % 4 ? rng() & 0xFFFFFF : kKeyPixel ^ (1u << (rng() % 24));
    // Areas reaching past the surface: the pixels there are not the key, so they stay.
    const RECT area{static_cast<int>(rng() % 3) - 1, static_cast<int>(rng() % 3) - 1,
                    w + static_cast<int>(rng() % 3) - 1, h + static_cast<int>(rng() % 3) - 1};
    HRGN rgn = RegionWithoutColor(c.dc(), area, kKey);
    ASSERT_NE(rgn, 0u);
    expectExactShape(c, rgn, area);
    DeleteObject(rgn);
  }
}

TEST(RegionWithoutColor, EmptyAreasBadDCsAndNoLeftovers) {
  TestCanvas c(8, 8, false, 0);
  const size_t before = handles().liveCount();
  HRGN empty = RegionWithoutColor(c.dc(), RECT{5, 5, 5, 9}, kKey);
  RECT box{1, 1, 1, 1};
  EXPECT_EQ(GetRgnBox(empty, &box), NULLREGION);
  DeleteObject(empty);
  HRGN reversed = RegionWithoutColor(c.dc(), RECT{6, 6, 2, 2}, kKey);
  EXPECT_EQ(GetRgnBox(reversed, &box), NULLREGION);
  DeleteObject(reversed);
  EXPECT_EQ(RegionWithoutColor(0, RECT{0, 0, 4, 4}, kKey), 0u);
  HRGN all = RegionWithoutColor(c.dc(), RECT{0, 0, 8, 8}, kKey);
  EXPECT_EQ(GetRgnBox(all, &box), SIMPLEREGION);  // black everywhere: one rectangle
  DeleteObject(all);
  EXPECT_EQ(handles().liveCount(), before);
}

// The button shape: the window's rectangle without its four corner pixels, at every small size
// (where corners coincide) and at a usual one; a new shape replaces the last.
TEST(CutCornerPixels, LeavesOutExactlyTheFourCorners) {
  ui::resetWindowSystem();
  const HWND w = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 80, 30, 0, 0, 0, nullptr);
  ASSERT_NE(w, 0u);
  for (const auto& [width, height] : std::vector<std::pair<int, int>>{
           {1, 1}, {1, 4}, {4, 1}, {2, 2}, {2, 5}, {3, 3}, {5, 2}, {4, 6}, {75, 23}}) {
    CutCornerPixels(w, width, height);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(w, shape), 0);
    for (int y = -1; y <= height; ++y)
      for (int x = -1; x <= width; ++x) {
        const bool corner = (x == 0 || x == width - 1) && (y == 0 || y == height - 1);
        const bool expected = x >= 0 && y >= 0 && x < width && y < height && !corner;
        ASSERT_EQ(PtInRegion(shape, x, y) != 0, expected) << width << "x" << height << " at " << x << "," << y;
      }
    DeleteObject(shape);
  }
  DestroyWindow(w);
  ui::resetWindowSystem();
}

}  // namespace
}  // namespace zxp
