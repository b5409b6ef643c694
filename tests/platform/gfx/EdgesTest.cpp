#include <gtest/gtest.h>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/SysColors.h"

namespace zxp {
namespace {

using testing::Canvas;

// The colours DrawEdge puts at the outer and inner corners of a 10 x 10 box at (0, 0).
struct Corners {
  int outerTL, outerBR, innerTL, innerBR;
};

void expectCorners(UINT edge, UINT flags, Corners want) {
  Canvas c(12, 12, RGB(1, 2, 3));
  RECT r{0, 0, 10, 10};
  EXPECT_EQ(DrawEdge(c.dc, &r, edge, flags | BF_RECT), TRUE);
  SCOPED_TRACE(::testing::Message() << "edge " << edge << " flags " << flags);
  // The top-right and bottom-left corners take the shadow; without BF_MIDDLE the inside stays.
  EXPECT_EQ(c.at({{0, 0}, {0, 5}, {9, 9}, {9, 0}, {0, 9}, {1, 1}, {8, 8}, {8, 1}, {5, 5}, {10, 10}}),
            (std::vector<COLORREF>{GetSysColor(want.outerTL), GetSysColor(want.outerTL), GetSysColor(want.outerBR),
                                   GetSysColor(want.outerBR), GetSysColor(want.outerBR), GetSysColor(want.innerTL),
                                   GetSysColor(want.innerBR), GetSysColor(want.innerBR), RGB(1, 2, 3), RGB(1, 2, 3)}));
}

TEST(Edges, BevelColoursFollowTheEdgeKindAndFlags) {
  expectCorners(EDGE_RAISED, 0, {COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW});
  expectCorners(EDGE_SUNKEN, 0, {COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT});
  expectCorners(EDGE_ETCHED, 0, {COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW});
  expectCorners(EDGE_BUMP, 0, {COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_3DDKSHADOW, COLOR_3DLIGHT});
  expectCorners(EDGE_RAISED, BF_SOFT, {COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_BTNSHADOW});
  expectCorners(EDGE_SUNKEN, BF_SOFT, {COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_3DLIGHT});
  expectCorners(EDGE_RAISED, BF_FLAT, {COLOR_BTNSHADOW, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE});
  expectCorners(EDGE_SUNKEN, BF_MONO, {COLOR_WINDOWFRAME, COLOR_WINDOWFRAME, COLOR_WINDOW, COLOR_WINDOW});
}

TEST(Edges, SidesMiddleAndAdjust) {
  Canvas c(20, 20, RGB(1, 2, 3));
  RECT r{2, 2, 12, 12};
  DrawEdge(c.dc, &r, BDR_RAISEDOUTER, BF_TOPLEFT | BF_MIDDLE | BF_ADJUST);
  EXPECT_EQ(r, (RECT{3, 3, 12, 12}));  // only the drawn sides move
  EXPECT_EQ(c.at(2, 2), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(c.at(11, 11), GetSysColor(COLOR_BTNFACE));  // no right/bottom side: the middle reaches it
  EXPECT_EQ(c.at(12, 5), RGB(1, 2, 3));
  RECT full{0, 0, 20, 20};
  DrawEdge(c.dc, &full, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  EXPECT_EQ(full, (RECT{2, 2, 18, 18}));
  EXPECT_EQ(DrawEdge(0, &full, EDGE_SUNKEN, BF_RECT), FALSE);
  EXPECT_EQ(DrawEdge(c.dc, nullptr, EDGE_SUNKEN, BF_RECT), FALSE);
}

TEST(Edges, FocusRectInvertsEveryOtherFramePixelAndUndoesItself) {
  Canvas c(20, 20);
  RECT r{3, 4, 13, 10};
  EXPECT_EQ(DrawFocusRect(c.dc, &r), TRUE);
  // Half of the 28 frame pixels: those at even x + y, on the device, not the rectangle.
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool frame = x >= 3 && x < 13 && y >= 4 && y < 10 && (x == 3 || x == 12 || y == 4 || y == 9);
      EXPECT_EQ(c.at(x, y), frame && (x + y) % 2 == 0 ? RGB(0, 0, 0) : RGB(255, 255, 255)) << x << "," << y;
    }
  DrawFocusRect(c.dc, &r);
  EXPECT_TRUE(c.painted().empty());
  // Also with a frame one pixel high, where top and bottom coincide.
  RECT flat{2, 15, 9, 16};
  DrawFocusRect(c.dc, &flat);
  EXPECT_EQ(c.painted().size(), 3u);  // x = 3, 5, 7
  DrawFocusRect(c.dc, &flat);
  EXPECT_TRUE(c.painted().empty());
}

}  // namespace
}  // namespace zxp
