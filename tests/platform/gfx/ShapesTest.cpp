#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/SysColors.h"

namespace zxp {
namespace {

using testing::Canvas;
using Pixels = std::set<std::pair<int, int>>;
using Colours = std::vector<COLORREF>;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kPen = RGB(200, 0, 0);
constexpr COLORREF kFill = RGB(0, 0, 200);

Pixels box(int l, int t, int r, int b) {
  Pixels out;
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x) out.insert({x, y});
  return out;
}

// A canvas with a pen (or none) and a brush (or none) selected.
struct ShapeCanvas : Canvas {
  GdiObject pen, brush;
  ShapeCanvas(int style, int width, bool withBrush = true, int size = 64) : Canvas(size, size) {
    pen = GdiObject(CreatePen(style, width, kPen));
    brush = GdiObject(withBrush ? CreateSolidBrush(kFill) : 0);
    SelectObject(dc, pen.get());
    SelectObject(dc, withBrush ? brush.get() : GetStockObject(NULL_BRUSH));
  }
  ~ShapeCanvas() {
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
  }
};

// The mirror image of a pixel set inside the box [l, r) x [t, b).
Pixels mirrored(const Pixels& p, int l, int t, int r, int b, bool horizontal) {
  Pixels out;
  for (auto [x, y] : p) out.insert(horizontal ? std::pair{l + r - 1 - x, y} : std::pair{x, t + b - 1 - y});
  return out;
}

TEST(Shapes, RectangleOutlineLiesInsideTheBoxAndTheBrushFillsTheRest) {
  ShapeCanvas c(PS_SOLID, 1);
  Rectangle(c.dc, 12, 10, 4, 2);  // reversed arguments are normalised
  Pixels frame = box(4, 2, 12, 10);
  Pixels inside = box(5, 3, 11, 9);
  for (auto p : inside) frame.erase(p);
  EXPECT_EQ(c.pixels(kPen), frame);
  EXPECT_EQ(c.pixels(kFill), inside);

  // Without a pen the brush covers one pixel less on the right and at the bottom.
  ShapeCanvas nullPen(PS_NULL, 1);
  Rectangle(nullPen.dc, 4, 2, 12, 10);
  EXPECT_EQ(nullPen.painted(), box(4, 2, 11, 9));
  // Without a brush the interior is left alone.
  ShapeCanvas nullBrush(PS_SOLID, 1, false);
  Rectangle(nullBrush.dc, 4, 2, 12, 10);
  EXPECT_EQ(nullBrush.painted(), frame);
}

TEST(Shapes, WidePensAreCentredOnTheOutlineOrInsideTheFrame) {
  ShapeCanvas centred(PS_SOLID, 4);
  Rectangle(centred.dc, 10, 10, 30, 30);
  // Width 4 reaches 2 pixels out on the left/top and 1 on the right/bottom (round outer corners).
  EXPECT_EQ(centred.at({{7, 20}, {8, 20}, {11, 20}, {12, 20}, {26, 20}, {27, 20}, {30, 20}, {31, 20}}),
            (Colours{kWhite, kPen, kPen, kFill, kFill, kPen, kPen, kWhite}));

  for (int width : {3, 4, 7}) {
    ShapeCanvas inside(PS_INSIDEFRAME, width);
    Rectangle(inside.dc, 10, 12, 40, 44);
    Ellipse(inside.dc, 42, 2, 62, 60);
    Pixels all = inside.painted();
    for (auto [x, y] : all) EXPECT_TRUE((x >= 10 && x < 40 && y >= 12 && y < 44) || (x >= 42 && x < 62 && y >= 2 && y < 60));
    for (int d = 0; d < width; ++d) EXPECT_EQ(inside.at(10 + d, 28), kPen) << width;
    EXPECT_EQ(inside.at({{10 + width, 28}, {39 - width, 28}, {40 - width, 28}, {42 + width - 1, 31}, {42 + width, 31}}),
              (Colours{kFill, kFill, kPen, kPen, kFill})) << width;
  }
}

TEST(Shapes, ThinOutlinesAreClosedCurvesAroundTheBrush) {
  ShapeCanvas c(PS_SOLID, 1, true, 80);
  Ellipse(c.dc, 5, 5, 75, 45);
  RoundRect(c.dc, 5, 50, 75, 78, 30, 20);
  // Every brush pixel's four neighbours are brush or pen: the outline has no gap.
  for (auto [x, y] : c.pixels(kFill))
    for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
      EXPECT_NE(c.at(x + dx, y + dy), kWhite) << x << "," << y;
  // And the outline is thin: a pen pixel has a non-pen 4-neighbour.
  for (auto [x, y] : c.pixels(kPen)) {
    int pen = 0;
    for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) pen += c.at(x + dx, y + dy) == kPen;
    EXPECT_LT(pen, 4) << x << "," << y;
  }
}

// ---- The platform's midpoint ellipse ------------------------------------------------------------

// A canvas read back as text: 'R' pen, 'B' brush, '.' background.
std::vector<std::string> picture(const Canvas& c, int w, int h) {
  std::vector<std::string> rows;
  for (int y = 0; y < h; ++y) {
    std::string s;
    for (int x = 0; x < w; ++x) s += c.at(x, y) == kPen ? 'R' : c.at(x, y) == kFill ? 'B' : '.';
    rows.push_back(s);
  }
  return rows;
}
using Picture = std::vector<std::string>;

// The platform's quadrant trace written out point by point (the production code indexes it by
// row): from the middle row's rightmost pixel of a w x h box, step left, down or both as the
// error term says, while left of the middle column.
std::vector<std::pair<int, int>> traceQuadrant(int w, int h) {
  const __int128 a = w - 1, b = h - 1;
  __int128 dx = 4 * b * b * (1 - a), dy = 4 * a * a * (1 + b % 2), err = dx + dy + a * a * (b % 2);
  std::vector<std::pair<int, int>> pts;
  for (int x = w - 1, y = h / 2; x >= w / 2;) {
    pts.push_back({x, y});
    const __int128 e2 = 2 * err;
    if (e2 >= dx) --x, dx += 8 * b * b, err += dx;
    if (e2 <= dy) ++y, dy += 8 * a * a, err += dy;
  }
  return pts;
}

// The outline of RoundRect(l, t, r, b, cw, ch): the trace in the lower right corner, mirrored
// into the others, the corners joined by straight lines (each quadrant's ends to their mirror).
Pixels tracedOutline(int l, int t, int r, int b, int cw, int ch) {
  cw = std::min(cw, r - l), ch = std::min(ch, b - t);
  Pixels out;
  if (cw <= 2 || ch <= 2) {
    for (auto p : box(l, t, r, b))
      if (p.first == l || p.first == r - 1 || p.second == t || p.second == b - 1) out.insert(p);
    return out;
  }
  auto q = traceQuadrant(cw, ch);
  auto add4 = [&](int x, int y) {
    for (int mx : {x, l + r - 1 - x})
      for (int my : {y, t + b - 1 - y}) out.insert({mx, my});
  };
  for (auto [x, y] : q) add4(r - cw + x, b - ch + y);
  const auto [x0, y0] = q.front();  // the middle row's end: straight sides between corners
  for (int y = t + ch - 1 - y0; y <= b - ch + y0; ++y) add4(r - cw + x0, y);
  const auto [x1, y1] = q.back();  // the last row: joined across
  for (int x = l + r - 1 - (r - cw + x1); x <= r - cw + x1; ++x) add4(x, b - ch + y1);
  return out;
}

TEST(Shapes, EllipseAndRoundRectFollowThePlatformsMidpointTrace) {
  ShapeCanvas e(PS_SOLID, 1, true, 16);
  Ellipse(e.dc, 0, 0, 14, 14);
  // The top and bottom rows at x = 5..8, the next ones at 3..10; only rows 5..8 span 0..13.
  EXPECT_EQ(picture(e, 16, 15), (Picture{".....RRRR.......", "...RRBBBBRR.....", "..RBBBBBBBBR....",
                                         ".RBBBBBBBBBBR...", ".RBBBBBBBBBBR...", "RBBBBBBBBBBBBR..",
                                         "RBBBBBBBBBBBBR..", "RBBBBBBBBBBBBR..", "RBBBBBBBBBBBBR..",
                                         ".RBBBBBBBBBBR...", ".RBBBBBBBBBBR...", "..RBBBBBBBBR....",
                                         "...RRBBBBRR.....", ".....RRRR.......", "................"}));
  // A 6 x 6 corner cuts 2 pixels, then 1, from the first two rows.
  ShapeCanvas rr(PS_SOLID, 1, true, 22);
  RoundRect(rr.dc, 0, 0, 20, 12, 6, 6);
  const Picture rows = picture(rr, 22, 12);
  EXPECT_EQ((Picture{rows[0], rows[1], rows[2], rows[10], rows[11]}),
            (Picture{"..RRRRRRRRRRRRRRRR....", ".RBBBBBBBBBBBBBBBBR...", "RBBBBBBBBBBBBBBBBBBR..",
                     ".RBBBBBBBBBBBBBBBBR...", "..RRRRRRRRRRRRRRRR...."}));
  // A corner as large as the box (or larger) is the ellipse.
  ShapeCanvas big(PS_SOLID, 1, true, 16);
  RoundRect(big.dc, 0, 0, 14, 14, 50, 14);
  EXPECT_EQ(picture(big, 16, 15), picture(e, 16, 15));
}

// For every size: the pen covers the traced path (checked against the point-by-point trace
// above), the brush exactly the pixels between the path's ends on each row, and the shape is
// mirror-symmetric; from 4 pixels across, every path pixel lies within a pixel of the true
// ellipse through the box's outermost pixel centres, so the trace is an ellipse at every size,
// not only the pinned ones.
TEST(Shapes, TheTraceHoldsForEverySizeAndCorner) {
  for (int w = 1; w <= 34; ++w) {
    for (int h = 1; h <= 34; h += (w < 12 ? 1 : 3)) {
      for (auto [cw, ch] : {std::pair{w, h}, {6, 4}, {5, 9}, {3, 3}, {0, 3}, {w, 2}}) {
        ShapeCanvas c(PS_SOLID, 1, true, 40);
        RoundRect(c.dc, 2, 3, 2 + w, 3 + h, cw, ch);
        SCOPED_TRACE(::testing::Message() << w << "x" << h << " corner " << cw << "x" << ch);
        const Pixels pen = c.pixels(kPen);
        ASSERT_EQ(pen, tracedOutline(2, 3, 2 + w, 3 + h, cw, ch));
        EXPECT_EQ(pen, mirrored(pen, 2, 3, 2 + w, 3 + h, true));
        EXPECT_EQ(pen, mirrored(pen, 2, 3, 2 + w, 3 + h, false));
        // The brush: on rows of the path, exactly between its ends. The trace of a narrow, tall
        // ellipse stops when it reaches the middle column(s), short of its box's top and bottom
        // rows, which the region (traced one step further) still fills in those columns.
        Pixels inside, brush = c.pixels(kFill);
        for (int y = 0; y < 40; ++y) {
          int lo = 1000, hi = -1;
          for (auto [x, py] : pen)
            if (py == y) lo = std::min(lo, x), hi = std::max(hi, x);
          for (int x = lo + 1; x < hi; ++x)
            if (!pen.count({x, y})) inside.insert({x, y});
          if (hi < 0)
            for (int x = 0; x < 40; ++x)
              if (brush.count({x, y})) {
                EXPECT_TRUE(x == 2 + (w - 1) / 2 || x == 2 + w / 2) << x << "," << y;
                brush.erase({x, y});
              }
        }
        EXPECT_EQ(brush, inside);
        if (cw == w && ch == h && w >= 4 && h >= 4) {
          // The true ellipse passes within a pixel of each path pixel along its row or column.
          const double A = (w - 1) / 2.0, B = (h - 1) / 2.0;
          auto near = [](double d, double along, double across, double half) {
            if (std::abs(d) > half) return false;
            const double e = across * std::sqrt(1 - (d / half) * (d / half));
            return std::abs(std::abs(along) - e) <= 1.0 + 1e-9;
          };
          for (auto [x, y] : pen) {
            const double dx = x - 2 - A, dy = y - 3 - B;
            EXPECT_TRUE(near(dy, dx, A, B) || near(dx, dy, B, A)) << x << "," << y;
          }
        }
      }
    }
  }
}

// ---- Regions from shapes ----------------------------------------------------------------------------

Pixels regionPixels(HRGN rgn, int size = 48) {
  Pixels covered;
  for (int y = -1; y <= size; ++y)
    for (int x = -1; x <= size; ++x)
      if (PtInRegion(rgn, x, y)) covered.insert({x, y});
  return covered;
}

// For every size: the region of (l, t, r, b) covers exactly what the shape of (l, t, r - 1, b - 1)
// paints with a pen (path and inside), and what the shape of (l, t, r, b) paints without one.
TEST(Shapes, RegionsEqualTheShapeOneSmallerAndTheShapeWithoutAPen) {
  for (int w = 1; w <= 30; ++w) {
    for (int h = 1; h <= 30; h += (w < 10 ? 1 : 4)) {
      for (auto [cw, ch] : {std::pair{w, h}, {7, 5}, {4, 12}, {0, 0}}) {
        const bool ellipse = cw == w && ch == h;
        SCOPED_TRACE(::testing::Message() << w << "x" << h << " corner " << cw << "x" << ch);
        GdiObject rgn(ellipse ? CreateEllipticRgn(3, 2, 3 + w, 2 + h) : CreateRoundRectRgn(3, 2, 3 + w, 2 + h, cw, ch));
        const Pixels covered = regionPixels(rgn.get());
        // The corner of a smaller shape is clamped to its box as the region clamps it; a corner
        // of 2 draws a rectangle but cuts a region, so that one size is left to the pins above.
        if (std::min(cw, w - 1) != 2 && std::min(ch, h - 1) != 2) {
          ShapeCanvas smaller(PS_SOLID, 1);
          if (ellipse) Ellipse(smaller.dc, 3, 2, 2 + w, 1 + h);
          else RoundRect(smaller.dc, 3, 2, 2 + w, 1 + h, cw, ch);
          EXPECT_EQ(smaller.painted(), covered);
        }
        ShapeCanvas noPen(PS_NULL, 1);
        if (ellipse) Ellipse(noPen.dc, 3, 2, 3 + w, 2 + h);
        else RoundRect(noPen.dc, 3, 2, 3 + w, 2 + h, cw, ch);
        EXPECT_EQ(noPen.painted(), covered);
      }
    }
  }
}

// ---- Wide pens ---------------------------------------------------------------------------------------

TEST(Shapes, WidePenCapsJoinsAndCurvesFollowThePlatform) {
  // A 3-pixel pen's round caps are plus shapes: the corners of their 3 x 3 squares stay empty.
  ShapeCanvas line(PS_SOLID, 3, false, 14);
  MoveToEx(line.dc, 3, 3, nullptr);
  LineTo(line.dc, 9, 3);
  EXPECT_EQ(picture(line, 14, 5), (Picture{"..............", "..............", "...RRRRRRR....",
                                            "..RRRRRRRRR...", "...RRRRRRR...."}));
  // So are the joins at a rectangle's corners: the corners are cut.
  ShapeCanvas rect(PS_SOLID, 3, false, 14);
  Rectangle(rect.dc, 2, 2, 11, 11);
  EXPECT_EQ(picture(rect, 14, 13),
            (Picture{"..............", "..RRRRRRRRR...", ".RRRRRRRRRRR..", ".RRRRRRRRRRR..", ".RRR.....RRR..",
                     ".RRR.....RRR..", ".RRR.....RRR..", ".RRR.....RRR..", ".RRR.....RRR..", ".RRRRRRRRRRR..",
                     ".RRRRRRRRRRR..", "..RRRRRRRRR...", ".............."}));
  // A 2-pixel pen sweeps its 2 x 2 square along the curve's pixel path: the diagonal stretches
  // come out thicker than the straight ones.
  ShapeCanvas round(PS_SOLID, 2, false, 15);
  RoundRect(round.dc, 0, 0, 13, 13, 50, 50);
  EXPECT_EQ(picture(round, 15, 14),
            (Picture{"..RRRRRRRR.....", ".RRRR..RRRR....", "RRRR....RRRR...", "RRR......RRRR..",
                     "RR........RRR..", "R..........RR..", "R..........RR..", "R..........RR..",
                     "RR........RRR..", "RRR......RRRR..", "RRRR....RRRR...", ".RRRRRRRRRR....",
                     "..RRRRRRRR.....", "..............."}));
}

// For every width: a wide pen's stroke of a shape covers its 1-pixel path, holds a cap (the
// region of the w x w ellipse around the point) at every pixel of that path, stays within those
// caps grown by the band between neighbouring points, and the brush fills the rest of the shape.
TEST(Shapes, WideStrokesAreCapsSweptAlongThePixelPath) {
  for (int width : {2, 3, 4, 5, 8}) {
    for (auto [w, h, cw, ch] : {std::array{20, 14, 20, 14}, {17, 23, 8, 6}, {12, 12, 0, 0}, {25, 9, 25, 9}}) {
      SCOPED_TRACE(::testing::Message() << "pen " << width << " shape " << w << "x" << h);
      ShapeCanvas thin(PS_SOLID, 1, false, 48);
      ShapeCanvas wide(PS_SOLID, width, true, 48);
      RoundRect(thin.dc, 10, 10, 10 + w, 10 + h, cw, ch);
      RoundRect(wide.dc, 10, 10, 10 + w, 10 + h, cw, ch);
      const Pixels path = thin.pixels(kPen), stroke = wide.pixels(kPen);
      GdiObject cap(CreateEllipticRgn(-(width / 2), -(width / 2), (width + 1) / 2 + 1, (width + 1) / 2 + 1));
      const Pixels capPixels = regionPixels(cap.get(), 8);
      for (auto [px, py] : path)
        for (auto [cx, cy] : capPixels) ASSERT_TRUE(stroke.count({px + cx, py + cy})) << px << "," << py;
      for (auto [x, y] : stroke) {
        bool near = false;
        for (auto [px, py] : path) near |= std::abs(x - px) <= width && std::abs(y - py) <= width;
        EXPECT_TRUE(near) << x << "," << y;
      }
      ShapeCanvas area(PS_SOLID, 1, true, 48);
      RoundRect(area.dc, 10, 10, 10 + w, 10 + h, cw, ch);
      const Pixels shape = area.painted(), brush = wide.pixels(kFill);
      for (auto p : shape) EXPECT_TRUE(stroke.count(p) || brush.count(p));
      for (auto p : brush) EXPECT_TRUE(shape.count(p));
    }
  }
}

// A tall shape's straight sides give many equal rows, which are worked out once; drawn through a
// clip of one row at a time (too few rows to share anything) every row must come out the same,
// for every pen width, both pen styles, corners from none to the whole box, and the shape
// partly off the canvas, and shapes too tall to keep their stroke. Through a clip of several rectangles, and with a ROP2 other than
// copying, the shape is the same inside the clip and nothing changes outside it.
TEST(Shapes, TallWideShapesEqualTheirRowsDrawnOneByOne) {
  constexpr int kSize = 160;
  for (int style : {PS_SOLID, PS_INSIDEFRAME}) {
    for (int width : {2, 3, 5, 8, 13}) {
      for (auto [l, t, r, b, cw, ch] : {std::array{10, 8, 60, 150, 40, 40}, {20, -30, 41, 141, 9, 24},
                                        {5, 5, 150, 110, 150, 30}, {30, 2, 70, 157, 40, 155},
                                        {12, 20, 100, 140, 0, 0}, {40, 10, 47, 150, 7, 7},
                                        {10, -600, 60, 700, 40, 40}, {20, -900, 90, 1300, 70, 1000}}) {
        SCOPED_TRACE(::testing::Message() << "style " << style << " pen " << width << " shape " << l << "," << t
                                          << "," << r << "," << b << " corner " << cw << "x" << ch);
        ShapeCanvas whole(style, width, true, kSize);
        RoundRect(whole.dc, l, t, r, b, cw, ch);
        ShapeCanvas rows(style, width, true, kSize);
        for (int y = 0; y < kSize; ++y) {
          IntersectClipRect(rows.dc, 0, y, kSize, y + 1);
          RoundRect(rows.dc, l, t, r, b, cw, ch);
          SelectClipRgn(rows.dc, 0);
        }
        ASSERT_EQ(whole.pixels(kPen), rows.pixels(kPen));
        ASSERT_EQ(whole.pixels(kFill), rows.pixels(kFill));

        // Two bands with a gap between them, crossing the straight sides.
        ShapeCanvas banded(style, width, true, kSize);
        GdiObject clip(CreateRectRgn(0, 30, kSize, 70));
        GdiObject lower(CreateRectRgn(15, 90, kSize - 15, 140));
        CombineRgn(clip.get(), clip.get(), lower.get(), RGN_OR);
        SelectClipRgn(banded.dc, clip.get());
        RoundRect(banded.dc, l, t, r, b, cw, ch);
        // XOR with white through one band: every painted pixel is written exactly once.
        ShapeCanvas xored(style, width, true, kSize);
        IntersectClipRect(xored.dc, 0, 40, kSize, 130);
        SetROP2(xored.dc, R2_XORPEN);
        RoundRect(xored.dc, l, t, r, b, cw, ch);
        for (int y = 0; y < kSize; ++y)
          for (int x = 0; x < kSize; ++x) {
            const bool inClip = PtInRegion(clip.get(), x, y) != FALSE;
            ASSERT_EQ(banded.at(x, y), inClip ? whole.at(x, y) : kWhite) << x << "," << y;
            const bool inBand = y >= 40 && y < 130;
            const bool painted = inBand && whole.at(x, y) != kWhite;
            ASSERT_EQ(xored.at(x, y), painted ? (whole.at(x, y) ^ kWhite) : kWhite) << x << "," << y;
          }
      }
    }
  }
}

// A wide-pen shape's stroke is kept for the next shape of the same size, corners and pen on
// the thread. Each drawing of a sequence that moves, reshapes, clips and re-pens a shape must
// equal the same drawing on a thread that drew nothing before.
TEST(Shapes, WideShapesDrawnAgainEqualAFreshDrawing) {
  struct Draw {
    int style, width, l, t, r, b, cw, ch;
    bool clipped;
  };
  const Draw draws[] = {
      {PS_SOLID, 5, 4, 4, 60, 60, 40, 40, false},       {PS_SOLID, 5, 11, 7, 67, 63, 40, 40, false},
      {PS_SOLID, 5, -9, 30, 47, 86, 40, 40, false},     {PS_SOLID, 5, 11, 7, 67, 63, 40, 40, true},
      {PS_SOLID, 5, 11, 7, 67, 63, 20, 40, false},      {PS_SOLID, 5, 11, 7, 67, 63, 40, 20, false},
      {PS_SOLID, 6, 11, 7, 67, 63, 40, 20, false},      {PS_INSIDEFRAME, 6, 11, 7, 67, 63, 40, 20, false},
      {PS_SOLID, 6, 11, 7, 67, 63, 90, 90, false},      {PS_SOLID, 6, 11, 7, 67, 63, 56, 56, false},
      {PS_SOLID, 3, 2, 2, 40, 75, 16, 16, false},       {PS_SOLID, 3, 40, 2, 2, 75, -16, 16, true},
  };
  auto paint = [](const Draw& d, Canvas& c) {
    GdiObject pen(CreatePen(d.style, d.width, kPen)), brush(CreateSolidBrush(kFill));
    Selection selectedPen(c.dc, pen.get()), selectedBrush(c.dc, brush.get());
    if (d.clipped) IntersectClipRect(c.dc, 0, 20, 80, 50);
    RoundRect(c.dc, d.l, d.t, d.r, d.b, d.cw, d.ch);
  };
  for (size_t i = 0; i < std::size(draws); ++i) {
    SCOPED_TRACE(::testing::Message() << "drawing " << i);
    Canvas again(80, 90), fresh(80, 90);
    paint(draws[i], again);
    std::thread([&] { paint(draws[i], fresh); }).join();
    ASSERT_EQ(again.pixels(kPen), fresh.pixels(kPen));
    ASSERT_EQ(again.pixels(kFill), fresh.pixels(kFill));
  }
}

TEST(Shapes, HugeShapesCostOnlyTheirVisiblePart) {
  constexpr int kFar = 1 << 30;
  ShapeCanvas c(PS_SOLID, 1);
  Ellipse(c.dc, -kFar, -kFar, kFar, kFar);
  EXPECT_EQ(c.pixels(kFill).size(), 64u * 64u);
  ShapeCanvas wide(PS_SOLID, 1 << 20);
  RoundRect(wide.dc, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX);
  Rectangle(wide.dc, -kFar, 10, kFar, 20);
  EXPECT_EQ(wide.painted().size(), 64u * 64u);
  GdiObject rgn(CreateEllipticRgn(-kFar, -kFar, kFar, kFar));
  GdiObject round(CreateRoundRectRgn(INT32_MIN, 0, INT32_MAX, 100, 1 << 28, 50));
  EXPECT_TRUE(PtInRegion(rgn.get(), 0, 0) && PtInRegion(round.get(), 0, 50));
}

TEST(Shapes, FillFrameAndInvertRectIgnoreTheSelectedObjects) {
  ShapeCanvas c(PS_SOLID, 3);
  SetROP2(c.dc, R2_XORPEN);
  GdiObject green(CreateSolidBrush(RGB(0, 255, 0)));
  RECT r{2, 3, 8, 7};
  EXPECT_EQ(FillRect(c.dc, &r, green.get()), 1);
  EXPECT_EQ(c.painted(), box(2, 3, 8, 7));
  EXPECT_EQ(c.pixels(RGB(0, 255, 0)), box(2, 3, 8, 7));
  // The system-colour shorthand (COLOR_xxx + 1).
  RECT r2{10, 3, 12, 5};
  FillRect(c.dc, &r2, static_cast<HBRUSH>(COLOR_HIGHLIGHT + 1));
  EXPECT_EQ(c.at(10, 3), GetSysColor(COLOR_HIGHLIGHT));

  Canvas f(20, 20);
  RECT fr{2, 2, 9, 6};
  EXPECT_EQ(FrameRect(f.dc, &fr, green.get()), 1);
  Pixels frame = box(2, 2, 9, 6);
  for (auto p : box(3, 3, 8, 5)) frame.erase(p);
  EXPECT_EQ(f.painted(), frame);
  RECT inv{0, 0, 20, 20};
  InvertRect(f.dc, &inv);
  EXPECT_EQ(f.at({{0, 0}, {2, 2}}), (Colours{RGB(0, 0, 0), RGB(255, 0, 255)}));
  InvertRect(f.dc, &inv);
  EXPECT_EQ(f.painted(), frame);
}

TEST(Shapes, FillsLandOnTheSameRowsOfBottomUpSurfaces) {
  for (bool bottomUp : {false, true}) {
    auto surface = gfx::Surface::create(40, 10, bottomUp);
    HDC dc = gfx::CreateSurfaceDC(surface);
    gfx::clearSurface(dc, kWhite);
    RECT wide{2, 1, 38, 3}, narrow{5, 6, 8, 9};
    FillRect(dc, &wide, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    FillRect(dc, &narrow, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 40; ++x) {
        const bool in = PtInRect(&wide, POINT{x, y}) || PtInRect(&narrow, POINT{x, y});
        EXPECT_EQ(surface->at(x, y), in ? 0u : 0xFFFFFFu) << bottomUp << " " << x << "," << y;
      }
    DeleteDC(dc);
  }
}

TEST(Shapes, FrameRgnDrawsInsideTheRegionsBoundary) {
  Canvas c(30, 30);
  GdiObject a(CreateRectRgn(2, 2, 12, 12)), b(CreateRectRgn(8, 8, 20, 20)), both(CreateRectRgn(0, 0, 0, 0));
  CombineRgn(both.get(), a.get(), b.get(), RGN_OR);
  GdiObject brush(CreateSolidBrush(kPen));
  EXPECT_EQ(FrameRgn(c.dc, both.get(), brush.get(), 2, 1), TRUE);
  // Two pixels wide, one high; the top of the second square, inside the union, its far corner.
  EXPECT_EQ(c.at({{2, 5}, {3, 5}, {4, 5}, {5, 2}, {5, 3}, {15, 8}, {10, 10}, {19, 19}}),
            (Colours{kPen, kPen, kWhite, kPen, kWhite, kPen, kWhite, kPen}));
  EXPECT_EQ(FrameRgn(c.dc, both.get(), brush.get(), 0, 1), FALSE);
}

TEST(Shapes, PixelsAreReadAndWrittenInsideTheClipOnly) {
  Canvas c(10, 10);
  SetROP2(c.dc, R2_XORPEN);  // not used by SetPixel
  EXPECT_EQ(SetPixel(c.dc, 3, 4, 0x12345678), 0x00345678u);
  EXPECT_EQ(GetPixel(c.dc, 3, 4), 0x00345678u);
  EXPECT_EQ(c.surface->at(3, 4), 0x00785634u);
  EXPECT_EQ(Colours({SetPixel(c.dc, 10, 0, 0), GetPixel(c.dc, -1, 0), GetPixel(c.dc, 0, INT32_MAX)}),
            Colours(3, CLR_INVALID));
  EXPECT_EQ(SetPixelV(c.dc, 9, 9, 0), TRUE);
  IntersectClipRect(c.dc, 0, 0, 5, 5);
  EXPECT_EQ(GetPixel(c.dc, 7, 7), CLR_INVALID);
  EXPECT_EQ(SetPixelV(c.dc, 7, 7, 0), FALSE);
  SetViewportOrgEx(c.dc, 1, 1, nullptr);
  EXPECT_EQ(GetPixel(c.dc, 2, 3), 0x00345678u);
  SetViewportOrgEx(c.dc, INT32_MAX, 0, nullptr);
  EXPECT_EQ(GetPixel(c.dc, INT32_MAX, 0), CLR_INVALID);
}

}  // namespace
}  // namespace zxp
