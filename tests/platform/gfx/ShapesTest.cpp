#include <gtest/gtest.h>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/SysColors.h"

namespace zxp {
namespace {

using testing::Canvas;
using Pixels = std::set<std::pair<int, int>>;

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
  EXPECT_EQ(centred.at(8, 20), kPen);
  EXPECT_EQ(centred.at(7, 20), kWhite);
  EXPECT_EQ(centred.at(30, 20), kPen);
  EXPECT_EQ(centred.at(31, 20), kWhite);
  EXPECT_EQ(centred.at(11, 20), kPen);
  EXPECT_EQ(centred.at(12, 20), kFill);
  EXPECT_EQ(centred.at(26, 20), kFill);
  EXPECT_EQ(centred.at(27, 20), kPen);

  for (int width : {3, 4, 7}) {
    ShapeCanvas inside(PS_INSIDEFRAME, width);
    Rectangle(inside.dc, 10, 12, 40, 44);
    Ellipse(inside.dc, 42, 2, 62, 60);
    Pixels all = inside.painted();
    for (auto [x, y] : all) EXPECT_TRUE((x >= 10 && x < 40 && y >= 12 && y < 44) || (x >= 42 && x < 62 && y >= 2 && y < 60));
    for (int d = 0; d < width; ++d) EXPECT_EQ(inside.at(10 + d, 28), kPen) << width;
    EXPECT_EQ(inside.at(10 + width, 28), kFill) << width;
    EXPECT_EQ(inside.at(39 - width, 28), kFill) << width;
    EXPECT_EQ(inside.at(40 - width, 28), kPen) << width;
    EXPECT_EQ(inside.at(42 + width - 1, 31), kPen) << width;
    EXPECT_EQ(inside.at(42 + width, 31), kFill) << width;
  }
}

TEST(Shapes, RoundRectanglesAndEllipsesAreMirrorSymmetricAndTouchTheirBox) {
  for (int w = 1; w <= 24; w += 3) {
    for (int h = 1; h <= 24; h += 2) {
      for (auto [cw, ch] : {std::pair{w, h}, {6, 4}, {5, 9}, {0, 3}}) {
        for (int style : {PS_SOLID, PS_NULL}) {
          for (int width : {1, 4}) {
            ShapeCanvas c(style, width);
            RoundRect(c.dc, 20, 20, 20 + w, 20 + h, cw, ch);
            const int r = style == PS_NULL ? 19 + w : 20 + w, b = style == PS_NULL ? 19 + h : 20 + h;
            const int grow = style == PS_NULL ? 0 : width / 2;
            const int growRB = style == PS_NULL ? 0 : (width - 1) / 2;
            for (COLORREF col : {kPen, kFill}) {
              Pixels p = c.pixels(col);
              EXPECT_EQ(p, mirrored(p, 20 - grow, 20 - grow, r + growRB, b + growRB, true)) << w << "x" << h;
              EXPECT_EQ(p, mirrored(p, 20 - grow, 20 - grow, r + growRB, b + growRB, false)) << w << "x" << h;
            }
            Pixels all = c.painted();
            if (style == PS_NULL && (w == 1 || h == 1)) {
              EXPECT_TRUE(all.empty());
              continue;
            }
            int minX = 1000, maxX = -1, minY = 1000, maxY = -1;
            for (auto [x, y] : all) {
              minX = std::min(minX, x), maxX = std::max(maxX, x);
              minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
            SCOPED_TRACE(::testing::Message() << w << "x" << h << " corner " << cw << "x" << ch
                                              << " style " << style << " width " << width);
            EXPECT_EQ(minX, 20 - grow);
            EXPECT_EQ(minY, 20 - grow);
            EXPECT_EQ(maxX, r - 1 + growRB);
            EXPECT_EQ(maxY, b - 1 + growRB);
          }
        }
      }
    }
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

TEST(Shapes, RegionsCoverExactlyTheShapesPixels) {
  for (auto [l, t, r, b, cw, ch] : {std::array{3, 4, 40, 30, 12, 8}, {0, 0, 17, 9, 17, 9},
                                   {10, 2, 11, 60, 4, 4}, {5, 5, 60, 61, 55, 56}, {2, 2, 9, 9, 0, 0}}) {
    for (bool ellipse : {false, true}) {
      ShapeCanvas shape(PS_SOLID, 1);
      GdiObject rgn(ellipse ? CreateEllipticRgn(l, t, r, b) : CreateRoundRectRgn(l, t, r, b, cw, ch));
      if (ellipse) Ellipse(shape.dc, l, t, r, b);
      else RoundRect(shape.dc, l, t, r, b, cw, ch);
      Pixels covered;
      for (int y = -1; y < 65; ++y)
        for (int x = -1; x < 65; ++x)
          if (PtInRegion(rgn.get(), x, y)) covered.insert({x, y});
      EXPECT_EQ(shape.painted(), covered) << l << "," << t << "," << r << "," << b;
      Canvas filled;
      GdiObject brush(CreateSolidBrush(kFill));
      FillRgn(filled.dc, rgn.get(), brush.get());
      EXPECT_EQ(filled.painted(), covered);
    }
  }
  RECT r{4, 4, 20, 12};
  GdiObject a(CreateEllipticRgn(4, 4, 20, 12)), b(CreateEllipticRgnIndirect(&r));
  EXPECT_EQ(EqualRgn(a.get(), b.get()), TRUE);
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
  EXPECT_EQ(PtInRegion(rgn.get(), 0, 0), TRUE);
  GdiObject round(CreateRoundRectRgn(INT32_MIN, 0, INT32_MAX, 100, 1 << 28, 50));
  EXPECT_EQ(PtInRegion(round.get(), 0, 50), TRUE);
}

TEST(Shapes, FillFrameAndInvertRectIgnoreTheSelectedObjects) {
  ShapeCanvas c(PS_SOLID, 3);
  SetROP2(c.dc, R2_XORPEN);
  GdiObject green(CreateSolidBrush(RGB(0, 255, 0)));
  RECT r{2, 3, 8, 7};
  EXPECT_EQ(FillRect(c.dc, &r, green.get()), 1);
  EXPECT_EQ(c.painted(), box(2, 3, 8, 7));
  EXPECT_EQ(c.at(2, 3), RGB(0, 255, 0));
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
  EXPECT_EQ(f.at(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(f.at(2, 2), RGB(255, 0, 255));
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
  EXPECT_EQ(c.at(2, 5), kPen);
  EXPECT_EQ(c.at(3, 5), kPen);
  EXPECT_EQ(c.at(4, 5), kWhite);
  EXPECT_EQ(c.at(5, 2), kPen);
  EXPECT_EQ(c.at(5, 3), kWhite);
  EXPECT_EQ(c.at(15, 8), kPen);   // the top of the second square
  EXPECT_EQ(c.at(10, 10), kWhite);  // inside the union
  EXPECT_EQ(c.at(19, 19), kPen);
  EXPECT_EQ(FrameRgn(c.dc, both.get(), brush.get(), 0, 1), FALSE);
}

TEST(Shapes, PixelsAreReadAndWrittenInsideTheClipOnly) {
  Canvas c(10, 10);
  SetROP2(c.dc, R2_XORPEN);  // not used by SetPixel
  EXPECT_EQ(SetPixel(c.dc, 3, 4, 0x12345678), 0x00345678u);
  EXPECT_EQ(GetPixel(c.dc, 3, 4), 0x00345678u);
  EXPECT_EQ(c.surface->at(3, 4), 0x00785634u);
  EXPECT_EQ(SetPixel(c.dc, 10, 0, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(c.dc, -1, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(c.dc, 0, INT32_MAX), CLR_INVALID);
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
