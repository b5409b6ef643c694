#include <gtest/gtest.h>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/GdiRaii.h"

namespace zxp {
namespace {

TEST(Regions, CombineModesAnswerTheirTypeAndPixels) {
  GdiObject a(CreateRectRgn(0, 0, 10, 10)), b(CreateRectRgn(5, 5, 15, 15)), d(CreateRectRgn(0, 0, 0, 0));
  RECT box;
  EXPECT_EQ(CombineRgn(d.get(), a.get(), b.get(), RGN_AND), SIMPLEREGION);
  EXPECT_EQ(GetRgnBox(d.get(), &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{5, 5, 10, 10}));
  EXPECT_EQ(CombineRgn(d.get(), a.get(), b.get(), RGN_OR), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(d.get(), 14, 14) && PtInRegion(d.get(), 0, 0) && !PtInRegion(d.get(), 14, 0));
  EXPECT_EQ(CombineRgn(d.get(), a.get(), b.get(), RGN_XOR), COMPLEXREGION);
  EXPECT_TRUE(!PtInRegion(d.get(), 7, 7) && PtInRegion(d.get(), 2, 2) && PtInRegion(d.get(), 12, 12));
  EXPECT_EQ(CombineRgn(d.get(), a.get(), b.get(), RGN_DIFF), COMPLEXREGION);
  EXPECT_TRUE(!PtInRegion(d.get(), 7, 7) && PtInRegion(d.get(), 2, 2) && !PtInRegion(d.get(), 12, 12));
  EXPECT_EQ(CombineRgn(d.get(), b.get(), 0, RGN_COPY), SIMPLEREGION);
  EXPECT_EQ(EqualRgn(d.get(), b.get()), TRUE);
  EXPECT_EQ(CombineRgn(d.get(), a.get(), a.get(), RGN_DIFF), NULLREGION);
  EXPECT_EQ(GetRgnBox(d.get(), &box), NULLREGION);
  EXPECT_EQ(box, (RECT{0, 0, 0, 0}));
  // Right and bottom edges are outside; OffsetRgn moves every pixel.
  EXPECT_FALSE(PtInRegion(a.get(), 10, 5));
  EXPECT_EQ(OffsetRgn(a.get(), -3, 2), SIMPLEREGION);
  EXPECT_TRUE(PtInRegion(a.get(), -3, 2) && !PtInRegion(a.get(), 7, 2));
  RECT probe{6, 11, 8, 20};
  EXPECT_EQ(RectInRegion(a.get(), &probe), TRUE);
  // Bad handles and modes fail.
  EXPECT_EQ((std::vector<int>{CombineRgn(d.get(), a.get(), b.get(), 99), CombineRgn(d.get(), a.get(), 0, RGN_AND),
                              CombineRgn(0, a.get(), b.get(), RGN_OR), OffsetRgn(0, 1, 1), GetRgnBox(12345, &box)}),
            std::vector<int>(5, ERROR));
  EXPECT_EQ(PtInRegion(0, 0, 0), FALSE);
}

TEST(Regions, CurvedRegionsCombineWithRectangles) {
  GdiObject e(CreateEllipticRgn(0, 0, 20, 10)), r(CreateRoundRectRgn(0, 0, 20, 10, 20, 10));
  EXPECT_EQ(EqualRgn(e.get(), r.get()), TRUE);  // full-size corners make an ellipse
  // Shape regions leave out the right column and the bottom row; corners below 2 make
  // rectangles, and reversed arguments are normalised.
  GdiObject sq(CreateRoundRectRgn(20, 10, 0, 0, 1, 40)), rect(CreateRectRgn(0, 0, 19, 9));
  EXPECT_EQ(EqualRgn(sq.get(), rect.get()), TRUE);
  GdiObject d(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(CombineRgn(d.get(), rect.get(), e.get(), RGN_DIFF), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(d.get(), 0, 0) && PtInRegion(d.get(), 18, 8) && !PtInRegion(d.get(), 10, 5));
  RECT box;
  GetRgnBox(e.get(), &box);
  EXPECT_EQ(box, (RECT{0, 0, 19, 9}));
  const RECT r20{20, 10, 0, 0};
  GdiObject reversed(CreateEllipticRgn(20, 10, 0, 0)), indirect(CreateEllipticRgnIndirect(&r20));
  EXPECT_TRUE(EqualRgn(e.get(), reversed.get()) && EqualRgn(e.get(), indirect.get()));
  GdiObject empty(CreateEllipticRgn(5, 5, 5, 50));
  EXPECT_EQ(GetRgnBox(empty.get(), &box), NULLREGION);
}

TEST(Regions, ClipRegionsLimitDrawingInLogicalCoordinates) {
  testing::Canvas c(30, 30);
  GdiObject clip(CreateEllipticRgn(5, 5, 25, 25));
  EXPECT_EQ(SelectClipRgn(c.dc, clip.get()), COMPLEXREGION);
  clip.reset();  // the DC keeps its own copy
  RECT all{0, 0, 30, 30};
  FillRect(c.dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  GdiObject same(CreateEllipticRgn(5, 5, 25, 25));
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x)
      EXPECT_EQ(c.at(x, y) == 0, PtInRegion(same.get(), x, y) == TRUE) << x << "," << y;
  GdiObject copy(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetClipRgn(c.dc, copy.get()), 1);
  EXPECT_EQ(EqualRgn(copy.get(), same.get()), TRUE);
  EXPECT_EQ(SelectClipRgn(c.dc, 0), SIMPLEREGION);
  EXPECT_EQ(GetClipRgn(c.dc, copy.get()), 0);
}

}  // namespace
}  // namespace zxp
