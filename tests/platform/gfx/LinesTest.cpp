#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/GdiRaii.h"

namespace zxp {
namespace {

using testing::Canvas;
using Pixels = std::set<std::pair<int, int>>;
using Colours = std::vector<COLORREF>;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

Pixels line(int x0, int y0, int x1, int y1) {
  Canvas c(64, 64);
  MoveToEx(c.dc, x0, y0, nullptr);
  LineTo(c.dc, x1, y1);
  return c.painted();
}

TEST(Lines, ExcludeTheLastPointAndMoveTheCurrentPosition) {
  Canvas c(20, 20);
  MoveToEx(c.dc, 2, 5, nullptr);
  EXPECT_EQ(LineTo(c.dc, 8, 5), TRUE);
  EXPECT_EQ(c.painted(), (Pixels{{2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}}));
  POINT cur;
  GetCurrentPositionEx(c.dc, &cur);
  EXPECT_EQ(cur, (POINT{8, 5}));
  // The next line starts at the excluded point.
  LineTo(c.dc, 8, 7);
  EXPECT_EQ(c.at({{8, 5}, {8, 6}, {8, 7}}), (Colours{kBlack, kBlack, kWhite}));
  // A line to its own start draws nothing.
  EXPECT_EQ(line(4, 4, 4, 4), Pixels{});
  EXPECT_EQ(line(0, 0, 5, 5), (Pixels{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}));
}

TEST(Lines, AreConnectedAndALineAndItsReverseDifferOnlyInTheirEnds) {
  std::srand(7);
  for (int n = 0; n < 200; ++n) {
    int x0 = std::rand() % 64, y0 = std::rand() % 64, x1 = std::rand() % 64, y1 = std::rand() % 64;
    Pixels fwd = line(x0, y0, x1, y1);
    Pixels back = line(x1, y1, x0, y0);
    size_t steps = static_cast<size_t>(std::max(std::abs(x1 - x0), std::abs(y1 - y0)));
    ASSERT_EQ(fwd.size(), steps) << x0 << "," << y0 << " -> " << x1 << "," << y1;
    if (steps == 0) continue;
    EXPECT_TRUE(fwd.count({x0, y0}) && !fwd.count({x1, y1}));
    fwd.insert({x1, y1});
    back.insert({x0, y0});
    EXPECT_EQ(fwd, back) << x0 << "," << y0 << " -> " << x1 << "," << y1;
    // 8-connected: every pixel but the first has a neighbour among the others.
    for (auto [x, y] : fwd) {
      int neighbours = 0;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) neighbours += (dx || dy) && fwd.count({x + dx, y + dy});
      EXPECT_GE(neighbours, 1);
    }
  }
}

TEST(Lines, ApplyRop2ViewportAndNullPen) {
  Canvas c(20, 20, RGB(10, 20, 30));
  GdiObject pen(CreatePen(PS_SOLID, 1, RGB(255, 0, 255)));
  Selection sel(c.dc, pen.get());
  SetROP2(c.dc, R2_XORPEN);
  MoveToEx(c.dc, 1, 1, nullptr);
  LineTo(c.dc, 15, 9);
  EXPECT_EQ(c.at(1, 1), RGB(10 ^ 255, 20, 30 ^ 255));
  MoveToEx(c.dc, 1, 1, nullptr);
  LineTo(c.dc, 15, 9);
  EXPECT_EQ(c.painted(), Pixels{});  // XOR twice restores

  SetROP2(c.dc, R2_COPYPEN);
  SetViewportOrgEx(c.dc, 5, 6, nullptr);
  MoveToEx(c.dc, 0, 0, nullptr);
  LineTo(c.dc, 2, 0);
  EXPECT_EQ(c.painted(), (Pixels{{5, 6}, {6, 6}}));

  SelectObject(c.dc, GetStockObject(NULL_PEN));
  LineTo(c.dc, 9, 9);
  EXPECT_EQ(c.painted().size(), 2u);
  POINT cur;
  GetCurrentPositionEx(c.dc, &cur);
  EXPECT_EQ(cur, (POINT{9, 9}));
}

// Lines along rows and columns are filled as boxes: in every direction and length they cover
// the pixels from the first point towards the last, the last excluded, through a clip of two
// bands, and XOR applies once per pixel (a polyline's shared corners are not drawn twice).
TEST(Lines, StraightLinesInEveryDirectionThroughABandedClipAndXor) {
  const COLORREF bg = RGB(10, 20, 30), ink = RGB(200, 100, 50);
  const COLORREF xored = RGB(10 ^ 200, 20 ^ 100, 30 ^ 50);
  auto inClip = [](int x, int y) { return (y >= 4 && y < 12) || (x >= 20 && x < 30 && y >= 16 && y < 40); };
  std::srand(11);
  for (int n = 0; n < 120; ++n) {
    Canvas c(40, 40, bg);
    GdiObject pen(CreatePen(PS_SOLID, 1, ink));
    Selection sel(c.dc, pen.get());
    SetROP2(c.dc, R2_XORPEN);
    GdiObject clip(CreateRectRgn(0, 4, 40, 12));
    GdiObject band(CreateRectRgn(20, 16, 30, 40));
    CombineRgn(static_cast<HRGN>(clip.get()), static_cast<HRGN>(clip.get()), static_cast<HRGN>(band.get()), RGN_OR);
    SelectClipRgn(c.dc, static_cast<HRGN>(clip.get()));
    const int a = std::rand() % 48 - 4, b = std::rand() % 48 - 4, fixed = std::rand() % 40;
    const bool horizontal = n % 2 == 0;
    MoveToEx(c.dc, horizontal ? a : fixed, horizontal ? fixed : a, nullptr);
    LineTo(c.dc, horizontal ? b : fixed, horizontal ? fixed : b);
    Pixels expected;
    for (int i = a; i != b; i += a < b ? 1 : -1) {
      const int x = horizontal ? i : fixed, y = horizontal ? fixed : i;
      if (x >= 0 && x < 40 && y >= 0 && y < 40 && inClip(x, y)) expected.insert({x, y});
    }
    ASSERT_EQ(c.pixels(xored), expected) << a << " -> " << b << " at " << fixed << (horizontal ? " across" : " down");
    ASSERT_EQ(c.painted(), expected);
  }
  // A closed outline: each corner once, so XOR leaves every pixel of the frame changed.
  Canvas c(20, 20, bg);
  GdiObject pen(CreatePen(PS_SOLID, 1, ink));
  Selection sel(c.dc, pen.get());
  SetROP2(c.dc, R2_XORPEN);
  const POINT frame[] = {{2, 3}, {12, 3}, {12, 9}, {2, 9}, {2, 3}};
  Polyline(c.dc, frame, 5);
  EXPECT_EQ(c.pixels(xored).size(), 2u * 10 + 2u * 6);
  EXPECT_EQ(c.painted().size(), 2u * 10 + 2u * 6);
}

TEST(Lines, AbsurdCoordinatesAreClippedWithoutOverflowOrDelay) {
  Canvas c(50, 40);
  constexpr int kFar = 1 << 30;
  MoveToEx(c.dc, -kFar, 5, nullptr);
  LineTo(c.dc, kFar, 5);
  EXPECT_EQ(c.painted().size(), 50u);
  MoveToEx(c.dc, -kFar, -kFar, nullptr);
  LineTo(c.dc, kFar, kFar);  // through (i, i)
  for (int i = 0; i < 40; ++i) EXPECT_EQ(c.at(i, i), kBlack) << i;
  // The extremes of the coordinate range, also moved further out by the viewport.
  MoveToEx(c.dc, INT32_MIN, INT32_MAX, nullptr);
  LineTo(c.dc, INT32_MAX, INT32_MIN);
  SetViewportOrgEx(c.dc, INT32_MAX, INT32_MAX, nullptr);
  LineTo(c.dc, INT32_MAX, INT32_MAX);
  GdiObject wide(CreatePen(PS_SOLID, 9, kBlack));
  SelectObject(c.dc, wide.get());
  SetViewportOrgEx(c.dc, 0, 0, nullptr);
  MoveToEx(c.dc, -kFar, 30, nullptr);
  LineTo(c.dc, kFar, 30);
  EXPECT_EQ(c.at({{0, 26}, {49, 34}, {25, 35}}), (Colours{kBlack, kBlack, kWhite}));
  SelectObject(c.dc, GetStockObject(BLACK_PEN));
}

TEST(Lines, DashStylesContinueAlongAPolylineAndFillGapsWhenOpaque) {
  Canvas c(40, 10);
  GdiObject dot(CreatePen(PS_DOT, 1, kBlack));
  Selection sel(c.dc, dot.get());
  SetBkColor(c.dc, RGB(255, 0, 0));
  const POINT pts[] = {{0, 2}, {4, 2}, {10, 2}};
  Polyline(c.dc, pts, 3);
  // 3 on, 3 off, running on through the vertex at x = 4.
  const COLORREF red = RGB(255, 0, 0);
  EXPECT_EQ(c.at({{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}, {7, 2}, {8, 2}, {9, 2}}),
            (Colours{kBlack, kBlack, kBlack, red, red, red, kBlack, kBlack, kBlack, red}));
  SetBkMode(c.dc, TRANSPARENT);
  MoveToEx(c.dc, 0, 5, nullptr);
  LineTo(c.dc, 30, 5);
  EXPECT_EQ(c.at({{3, 5}, {6, 5}}), (Colours{kWhite, kBlack}));
  // Wider dashed pens are drawn solid.
  GdiObject wideDash(CreatePen(PS_DASH, 3, kBlack));
  SelectObject(c.dc, wideDash.get());
  MoveToEx(c.dc, 0, 8, nullptr);
  LineTo(c.dc, 39, 8);
  for (int x = 0; x < 39; ++x) EXPECT_EQ(c.at(x, 8), kBlack) << x;
  SelectObject(c.dc, dot.get());
}

TEST(Lines, WidePensAreBandsWithRoundCapsAndJoins) {
  auto wide = [](int width, int x0, int y0, int x1, int y1, int rop2 = R2_COPYPEN) {
    auto c = std::make_unique<Canvas>(40, 40, kBlack);
    GdiObject pen(CreatePen(PS_SOLID, width, kWhite));
    Selection sel(c->dc, pen.get());
    SetROP2(c->dc, rop2);
    const POINT pts[] = {{x0, y0}, {x1, y1}, {x1, y1 + 10}};
    Polyline(c->dc, pts, 3);
    return c;
  };
  // Width 2: rows y - 1 and y (width 3 is pinned with the shapes' caps).
  EXPECT_EQ(wide(2, 10, 10, 20, 10)->at({{15, 9}, {15, 10}, {15, 11}, {15, 8}}), (Colours{kWhite, kWhite, kBlack, kBlack}));
  // Width 7: round caps leave the corners of the cap's square empty.
  EXPECT_EQ(wide(7, 10, 10, 20, 10)->at({{7, 10}, {7, 7}, {15, 7}}), (Colours{kWhite, kBlack, kWhite}));
  // The round join is drawn once: with XOR, the corner is not toggled back.
  auto joint = wide(5, 10, 10, 20, 10, R2_XORPEN);
  for (int d = -2; d <= 2; ++d) {
    EXPECT_EQ(joint->at(20 + d, 10), kWhite) << d;
    EXPECT_EQ(joint->at(20, 10 + d), kWhite) << d;
    EXPECT_EQ(joint->at(20 + d / 2, 10 + d), kWhite) << d;
  }
}

TEST(Lines, PolygonFillsLikeARectangleAndOutlinesItsVertices) {
  Canvas c(30, 30);
  GdiObject brush(CreateSolidBrush(RGB(0, 0, 255)));
  Selection b(c.dc, brush.get());
  Selection p(c.dc, GetStockObject(NULL_PEN));
  const POINT square[] = {{2, 3}, {12, 3}, {12, 9}, {2, 9}};
  Polygon(c.dc, square, 4);
  Pixels expect;
  for (int y = 3; y < 9; ++y)
    for (int x = 2; x < 12; ++x) expect.insert({x, y});
  EXPECT_EQ(c.painted(), expect);
  SelectObject(c.dc, GetStockObject(BLACK_PEN));
  const POINT square2[] = {{2, 13}, {12, 13}, {12, 19}, {2, 19}};
  Polygon(c.dc, square2, 4);
  EXPECT_EQ(c.at({{12, 19}, {11, 18}, {13, 19}}), (Colours{kBlack, RGB(0, 0, 255), kWhite}));
  EXPECT_EQ(Polygon(c.dc, square, 1), FALSE);
}

}  // namespace
}  // namespace zxp
