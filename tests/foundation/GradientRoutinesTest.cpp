// The gradient and picture routines on real device contexts: where they paint, the pixels they
// leave, their results, their failures, and that they leave no GDI object behind.
#include <gtest/gtest.h>

#include <functional>

#include "foundation/GradientMath.h"
#include "foundation/modGradient.h"
#include "foundation/modPicEffects.h"
#include "platform/base/HostError.h"
#include "platform/gfx/Surface.h"
#include "platform/gfx/TestCanvas.h"

namespace zxp {
namespace {

constexpr Pixel kSentinel = 0x00123456;

using testing::TestCanvas;

// A pixel of a canvas without its high byte.
Pixel px(TestCanvas& c, int x, int y) { return c.at(x, y) & 0xFFFFFF; }
// True when every pixel of row y in [x0, x1) is p.
bool rowIs(TestCanvas& c, int y, int x0, int x1, Pixel p) {
  for (int x = x0; x < x1; ++x)
    if (px(c, x, y) != p) return false;
  return true;
}
bool untouched(TestCanvas& c) {
  for (int y = 0; y < c.height(); ++y)
    if (!rowIs(c, y, 0, c.width(), kSentinel)) return false;
  return true;
}

std::vector<Pixel> ramp(OLE_COLOR s, OLE_COLOR e, int n) { return gradient::colorRamp(s, e, n); }

// ---- modGradient -------------------------------------------------------------------------------

TEST(GradientFillVertical, BottomToTopRampOverTheWholeSurfaceArea) {
  TestCanvas c(6, 8, false, kSentinel);
  GradientFillVertical(c.dc(), 4, 5, RGB(255, 0, 0), RGB(0, 0, 255));  // red at the bottom
  auto r = ramp(RGB(255, 0, 0), RGB(0, 0, 255), 5);
  EXPECT_EQ(px(c, 0, 4), 0xFF0000u);  // the OLE red byte lands in the pixel's red byte
  EXPECT_EQ(px(c, 3, 0), 0x0000FFu);
  for (int y = 0; y < 5; ++y) EXPECT_TRUE(rowIs(c, y, 0, 4, r[4 - y])) << y;
  EXPECT_TRUE(rowIs(c, 5, 0, 6, kSentinel));
  EXPECT_EQ(px(c, 4, 0), kSentinel);

  TestCanvas one(3, 2, false, kSentinel);
  GradientFillVertical(one.dc(), 3, 1, RGB(255, 1, 100), RGB(3, 255, 51));
  EXPECT_TRUE(rowIs(one, 0, 0, 3, makePixel(128, 127, 75)));  // 255/2 + 3/2, 1/2 + 255/2, 100/2 + 51/2
  EXPECT_TRUE(rowIs(one, 1, 0, 3, kSentinel));
}

TEST(GradientFillVerticalAt, PaintsAtTheOffset) {
  TestCanvas c(8, 8, false, kSentinel);
  GradientFillVerticalAt(c.dc(), 2, 3, 3, 4, RGB(0, 0, 0), RGB(0, 90, 0));
  EXPECT_TRUE(rowIs(c, 6, 2, 5, 0x000000));
  EXPECT_TRUE(rowIs(c, 5, 2, 5, makePixel(0, 30, 0)));  // 90 * 1 / 3
  EXPECT_TRUE(rowIs(c, 4, 2, 5, makePixel(0, 60, 0)));
  EXPECT_TRUE(rowIs(c, 3, 2, 5, makePixel(0, 90, 0)));
  EXPECT_TRUE(rowIs(c, 2, 0, 8, kSentinel));
  EXPECT_TRUE(rowIs(c, 7, 0, 8, kSentinel));
  EXPECT_EQ(std::tuple(px(c, 1, 4), px(c, 5, 4)), std::tuple(kSentinel, kSentinel));
}

TEST(GradientFillAngle, CardinalAnglesRunBetweenTheEdges) {
  const OLE_COLOR c1 = RGB(255, 0, 0), c2 = RGB(0, 0, 255);
  auto across = ramp(c1, c2, 5), down = ramp(c1, c2, 3);
  auto acrossBack = ramp(c2, c1, 5), downBack = ramp(c2, c1, 3);
  // The pixels of a 6 x 4 canvas with a 5 x 3 face painted at `angle`, row by row.
  auto paint = [&](float angle) {
    TestCanvas c(6, 4, false, kSentinel);
    GradientFillAngle(c.dc(), 5, 3, c1, c2, angle);
    std::vector<Pixel> out;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 6; ++x) out.push_back(px(c, x, y));
    return out;
  };
  const auto a0 = paint(0), a90 = paint(90), a180 = paint(180), a270 = paint(270);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(a0[y * 6 + x], across[x]) << x << "," << y;          // Color1 on the left
      EXPECT_EQ(a90[y * 6 + x], down[2 - y]) << x << "," << y;       // Color1 at the bottom
      EXPECT_EQ(a180[y * 6 + x], acrossBack[x]) << x << "," << y;    // Color1 on the right
      EXPECT_EQ(a270[y * 6 + x], downBack[2 - y]) << x << "," << y;  // Color1 at the top
    }
  EXPECT_EQ(std::vector<Pixel>(a0.begin() + 18, a0.end()), std::vector<Pixel>(6, kSentinel));
  EXPECT_EQ(a0[5], kSentinel);
  EXPECT_TRUE(paint(450) == a90 && paint(-90) == a270);
}

TEST(GradientFillHalf, BandsLandWhereAGlassFaceNeedsThem) {
  // Angle 90 puts Color2 on the band's top line and Color1 on its bottom line.
  const OLE_COLOR c1 = RGB(0, 0, 0), c2 = RGB(255, 255, 255);
  struct Case {
    bool atLineOne, upperHalf;
    int top, height;
  };
  // BandHeight 10: upper band at y = 2, 15 high; lower band at y = 10, nearest(12.5) = 12 high.
  for (Case k : {Case{false, true, 2, 15}, Case{false, false, 10, 12}, Case{true, false, 1, 10},
                 Case{true, true, 1, 10}}) {
    TestCanvas c(7, 30, false, kSentinel);
    GradientFillHalf(c.dc(), 6, 10, c1, c2, 90, k.atLineOne, k.upperHalf);
    EXPECT_TRUE(rowIs(c, k.top - 1, 0, 7, kSentinel)) << k.top;
    EXPECT_TRUE(rowIs(c, k.top, 0, 6, 0xFFFFFF)) << k.top;
    EXPECT_TRUE(rowIs(c, k.top + k.height - 1, 0, 6, 0x000000)) << k.top;
    EXPECT_TRUE(rowIs(c, k.top + k.height, 0, 7, kSentinel)) << k.top;
    EXPECT_EQ(px(c, 6, k.top), kSentinel);
  }
}

// The faces' steps; where their edge lines fall is checked against lines drawn with real pens
// (GradientEdgeLines below) for every small size, place, origin and clip.
TEST(GradientFillPanel, FaceSteps) {
  // Height 9, t = 3: red steps (10 - 100) / 3 = -30 and stops at 0, green (255 - 200) / 3 = 18.
  const OLE_COLOR face = RGB(100, 200, 50), edge = RGB(10, 255, 50);
  TestCanvas c(24, 12, false, kSentinel);
  EXPECT_EQ(GradientFillPanel(c.dc(), 0, 0, 20, 9, face, edge), std::optional<int32_t>(9));
  const int red[9] = {100, 100, 70, 40, 10, 0, 10, 40, 70};  // from the top line down
  const int green[9] = {200, 200, 218, 236, 254, 255, 254, 236, 218};
  for (int y = 2; y < 7; ++y) EXPECT_EQ(px(c, 10, y), makePixel(red[y], green[y], 50)) << y;
  EXPECT_EQ(px(c, 19, 8), makePixel(red[8], green[8], 50));  // the right column keeps the fill
  EXPECT_EQ(px(c, 19, 0), makePixel(100, 200, 50));
  EXPECT_TRUE(rowIs(c, 9, 0, 24, kSentinel));
}

TEST(GradientFillGlass, BarRows) {
  // Height 7: steps -29 / +29, the bright line at entry 2 (third line from the bottom).
  const OLE_COLOR c1 = RGB(200, 100, 50), c2 = RGB(100, 200, 50);
  const int red[7] = {55, 84, 113, 142, 171, 142, 113};  // from the top line down
  const int green[7] = {245, 216, 187, 158, 129, 158, 187};
  TestCanvas bar(16, 12, false, kSentinel);
  EXPECT_EQ(GradientFillGlass(bar.dc(), 2, 3, 10, 7, c1, c2, 0), 7);
  for (int y = 0; y < 7; ++y) EXPECT_TRUE(rowIs(bar, 3 + y, 2, 12, makePixel(red[y], green[y], 50))) << y;
  EXPECT_TRUE(rowIs(bar, 2, 0, 16, kSentinel) && rowIs(bar, 10, 0, 16, kSentinel));
  OLE_COLOR bottom = 0;
  gradient::glassEntries(7, c1, c2, &bottom);
  EXPECT_EQ(bottom, RGB(113, 187, 50));  // the colour of the inner right line
}

// ---- Edge lines written straight to the surface ------------------------------------------------
// The panel's and the glass bar's lines are filled as rectangles when the DC draws pens as plain
// copies. They must cover exactly the pixels the 1-pixel pen lines cover, for every size, place,
// window origin and clip, and leave the current position where the pen would. The reference:
// the same call on a DC whose pens draw nothing (R2_NOP: the face alone), then the lines drawn
// with a pen as the routines describe them.

void penLine(HDC dc, COLORREF color, Point from, Point to) {
  GdiObject pen(CreatePen(PS_SOLID, 1, color));
  Selection selected(dc, pen.get());
  MoveToEx(dc, from.x, from.y, nullptr);
  LineTo(dc, to.x, to.y);
}

COLORREF lighter(COLORREF c) {
  return RGB(std::min(GetRValue(c) + 25, 255), std::min(GetGValue(c) + 25, 255),
             std::min(GetBValue(c) + 25, 255));
}

void panelWithPens(HDC dc, int x, int y, int w, int h, COLORREF face, COLORREF edge) {
  SetROP2(dc, R2_NOP);
  GradientFillPanel(dc, x, y, w, h, face, edge);
  SetROP2(dc, R2_COPYPEN);
  {
    GdiObject pen(CreatePen(PS_SOLID, 1, edge));
    Selection selected(dc, pen.get());
    Selection hollow(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, x, y, x + w - 1, y + h);
    Rectangle(dc, x + 1, y + 1, x + w - 1, y + h);
  }
  penLine(dc, lighter(edge), {x + 2, y + 2}, {x + 2, h});
  penLine(dc, lighter(lighter(edge)), {w, h - 2}, {w - 10, h - 2});
  penLine(dc, lighter(lighter(edge)), {1, h - 2}, {w, h - 2});
}

void glassWithPens(HDC dc, int x, int y, int w, int h, COLORREF c1, COLORREF c2) {
  SetROP2(dc, R2_NOP);
  GradientFillGlass(dc, x, y, w, h, c1, c2, 1);
  SetROP2(dc, R2_COPYPEN);
  OLE_COLOR bottom = 0;
  gradient::glassEntries(h, c1, c2, &bottom);
  penLine(dc, RGB(255, 255, 255), {x + w - 1, y + 1}, {x + w - 1, y + h - 1});
  penLine(dc, bottom, {x + w - 2, y + 1}, {x + w - 2, y + h});
  penLine(dc, RGB(171, 171, 171), {x, y - 1}, {x + w - 1, y - 1});
}

// Runs `fast` and `reference` on two canvases set up alike and expects the same pixels and the
// same current position.
void expectSameAsPens(const char* what, int x, int y, int w, int h, int clipCase,
                      const std::function<void(HDC)>& fast,
                      const std::function<void(HDC)>& reference) {
  TestCanvas a(24, 20, false, kSentinel), b(24, 20, false, kSentinel);
  for (HDC dc : {a.dc(), b.dc()}) {
    if (clipCase == 1) SetViewportOrgEx(dc, 3, -2, nullptr);
    if (clipCase == 2) {  // a clip of two rectangles with a hole between them
      GdiObject r1(CreateRectRgn(0, 0, 9, 20)), r2(CreateRectRgn(12, 4, 24, 13));
      CombineRgn(r1.get(), r1.get(), r2.get(), RGN_OR);
      SelectClipRgn(dc, r1.get());
    }
  }
  fast(a.dc());
  reference(b.dc());
  POINT pa{}, pb{};
  GetCurrentPositionEx(a.dc(), &pa);
  GetCurrentPositionEx(b.dc(), &pb);
  EXPECT_EQ(pa.x, pb.x) << what << " " << x << "," << y << " " << w << "x" << h << " clip " << clipCase;
  EXPECT_EQ(pa.y, pb.y) << what << " " << x << "," << y << " " << w << "x" << h << " clip " << clipCase;
  for (int py = 0; py < 20; ++py)
    for (int px2 = 0; px2 < 24; ++px2)
      if (a.at(px2, py) != b.at(px2, py)) {
        ADD_FAILURE() << what << " " << x << "," << y << " " << w << "x" << h << " clip "
                      << clipCase << ": pixel " << px2 << "," << py;
        return;
      }
}

TEST(GradientEdgeLines, PanelAndGlassLinesCoverWhatTheirPensCover) {
  const COLORREF face = RGB(240, 240, 200), edge = RGB(20, 240, 90);  // green saturates when lightened
  for (int clipCase = 0; clipCase < 3; ++clipCase)
    for (int x : {0, 2, -1})
      for (int y : {0, 3})
        for (int w = 0; w <= 14; ++w)
          for (int h = 1; h <= 14; ++h) {
            if (h >= 3)
              expectSameAsPens(
                  "panel", x, y, w, h, clipCase,
                  [&](HDC dc) { GradientFillPanel(dc, x, y, w, h, face, edge); },
                  [&](HDC dc) { panelWithPens(dc, x, y, w, h, face, edge); });
            expectSameAsPens(
                "glass", x, y, w, h, clipCase,
                [&](HDC dc) { GradientFillGlass(dc, x, y, w, h, face, edge, 1); },
                [&](HDC dc) { glassWithPens(dc, x, y, w, h, face, edge); });
          }
}

TEST(GradientEdgeLines, AnotherMixModeStillReachesThePens) {
  // R2_NOT inverts where the pens draw: the lines must go through the pen path, not be copied.
  TestCanvas c(12, 10, false, kSentinel);
  SetROP2(c.dc(), R2_NOT);
  GradientFillPanel(c.dc(), 0, 0, 10, 9, RGB(200, 200, 200), RGB(0, 0, 0));
  EXPECT_EQ(px(c, 0, 0), 0x373737u);  // the face's grey (200) inverted by the outer frame
  EXPECT_EQ(px(c, 1, 1), 0x373737u);  // ... and by the inner one
}

// ---- modPicEffects -----------------------------------------------------------------------------

TEST(AlphaBlendPicture, BlendsWithTheWeight256MinusAlpha) {
  // Background (200, 50, 10), picture (100, 150, 250); per byte nearest(((256 - A) a + A p) / 255).
  struct Case {
    int alpha;
    Pixel expected;
  };
  for (Case k : {Case{0, makePixel(201, 50, 10)}, Case{128, makePixel(151, 100, 131)},
                 Case{255, makePixel(101, 150, 250)}}) {
    TestCanvas c(6, 5, false, makePixel(200, 50, 10));
    TestCanvas pic(3, 2, false, makePixel(100, 150, 250));
    EXPECT_EQ(AlphaBlendPicture(c.dc(), pic.bitmap(), 1, 2, 3, 2, 0, 0, 3, 2, k.alpha), 2) << k.alpha;
    EXPECT_TRUE(rowIs(c, 2, 1, 4, k.expected)) << k.alpha;
    EXPECT_TRUE(rowIs(c, 3, 1, 4, k.expected)) << k.alpha;
    EXPECT_EQ(std::tuple(px(c, 0, 2), px(c, 4, 3)), std::tuple(makePixel(200, 50, 10), makePixel(200, 50, 10)));
    EXPECT_TRUE(rowIs(c, 1, 0, 6, makePixel(200, 50, 10)) && rowIs(c, 4, 0, 6, makePixel(200, 50, 10)));
  }
  TestCanvas white(2, 2, false, 0xFFFFFF);
  TestCanvas black(2, 2, false, 0);
  EXPECT_EQ(AlphaBlendPicture(white.dc(), black.bitmap(), 0, 0, 2, 2, 0, 0, 2, 2, 0), 2);
  EXPECT_EQ(px(white, 1, 1), 0xFFFFFFu);  // 256 * 255 / 255 = 256, shown as 255
}

TEST(DrawPictureGrey, PaintsTheRoundedMeanOfTheThreeBytes) {
  TestCanvas c(4, 3, false, kSentinel);
  TestCanvas pic(2, 2, false, 0);
  pic.at(0, 0) = makePixel(10, 20, 31);  // 61 / 3 = 20.33 -> 20
  pic.at(1, 0) = makePixel(10, 20, 32);  // 62 / 3 = 20.67 -> 21
  pic.at(0, 1) = makePixel(255, 255, 255);
  pic.at(1, 1) = makePixel(0, 0, 1);  // 0.33 -> 0
  EXPECT_EQ(DrawPictureGrey(c.dc(), pic.bitmap(), 1, 1, 2, 2), 2);
  EXPECT_EQ(px(c, 1, 1), 0x141414u);
  EXPECT_EQ(px(c, 2, 1), 0x151515u);
  EXPECT_EQ(px(c, 1, 2), 0xFFFFFFu);
  EXPECT_EQ(px(c, 2, 2), 0x000000u);
  EXPECT_EQ(px(c, 0, 1), kSentinel);
  EXPECT_EQ(px(c, 3, 2), kSentinel);
}

TEST(GreyArea, GreysTheAreaInPlaceTheRightWayRound) {
  // Distinct pixels in every position: reading right to left into a buffer filled from its end
  // must give back the area unmirrored and upright.
  TestCanvas c(5, 4, false, kSentinel);
  const Pixel area[2][3] = {{makePixel(30, 0, 0), makePixel(0, 60, 0), makePixel(0, 0, 90)},
                            {makePixel(120, 0, 0), makePixel(0, 150, 0), makePixel(0, 0, 180)}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) c.at(1 + x, 1 + y) = area[y][x];
  EXPECT_EQ(GreyArea(c.dc(), 1, 1, 1, 3, 2), 2);
  const Pixel grey[2][3] = {{0x0A0A0A, 0x141414, 0x1E1E1E}, {0x282828, 0x323232, 0x3C3C3C}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(px(c, 1 + x, 1 + y), grey[y][x]) << x << "," << y;
  EXPECT_TRUE(rowIs(c, 0, 0, 5, kSentinel) && rowIs(c, 3, 0, 5, kSentinel));
  EXPECT_EQ(px(c, 4, 1), kSentinel);
}

TEST(DrawPictureTransparent, KeysOnTheRawPixel) {
  // The key 0x00112233 is a pixel: the picture pixel (0x11, 0x22, 0x33) is left out, the one with
  // red and blue swapped is painted.
  TestCanvas c(4, 3, false, kSentinel);
  TestCanvas pic(2, 1, false, 0);
  pic.at(0, 0) = 0x112233;
  pic.at(1, 0) = 0x332211;
  EXPECT_EQ(DrawPictureTransparent(c.dc(), pic.bitmap(), 1, 1, 2, 1, 1, 1, 2, 1, 0x112233), 1);
  EXPECT_EQ(px(c, 1, 1), kSentinel);
  EXPECT_EQ(px(c, 2, 1), 0x332211u);

  TestCanvas m(4, 3, false, kSentinel);
  TestCanvas magenta(2, 2, false, 0xFF00FF);
  magenta.at(1, 1) = 0x00FF00;
  EXPECT_EQ(DrawPictureTransparent(m.dc(), magenta.bitmap(), 2, 1, 2, 2, 2, 1, 2, 2, 0xFF00FF), 2);
  EXPECT_EQ(px(m, 2, 1), kSentinel);
  EXPECT_EQ(px(m, 3, 2), 0x00FF00u);
}

// Every routine meets empty and negative sizes, a missing DC or picture and an alpha outside a
// byte: it reports nothing painted (the panel below height 3 raises the host's division by
// zero), and leaves the canvas, the DC's pen and brush and the live GDI objects as they were.
TEST(GradientRoutines, BadArgumentsPaintNothing) {
  const OLE_COLOR a = RGB(10, 20, 30), b = RGB(200, 100, 0);
  using Call = std::function<int64_t(HDC, HBITMAP)>;
  const auto nothing = [](std::function<void(HDC)> call) -> Call {
    return [call](HDC dc, HBITMAP) { return call(dc), int64_t{0}; };
  };
  const auto panel = [&](int w, int h, bool dc) -> Call {
    return [=](HDC d, HBITMAP) -> int64_t {
      try {
        return GradientFillPanel(dc ? d : 0, 0, 0, w, h, a, b).value_or(-1);
      } catch (const HostError& e) {
        return e.number();
      }
    };
  };
  const std::vector<std::tuple<const char*, Call, int64_t>> rows = {
      {"vertical at, width 0", nothing([](HDC dc) { GradientFillVerticalAt(dc, 0, 0, 0, 4, 0, 0xFFFFFF); }), 0},
      {"vertical at, height 0", nothing([](HDC dc) { GradientFillVerticalAt(dc, 0, 0, 4, 0, 0, 0xFFFFFF); }), 0},
      {"vertical at, width -3", nothing([](HDC dc) { GradientFillVerticalAt(dc, 0, 0, -3, 4, 0, 0xFFFFFF); }), 0},
      {"vertical at, height -3", nothing([](HDC dc) { GradientFillVerticalAt(dc, 0, 0, 4, -3, 0, 0xFFFFFF); }), 0},
      {"vertical at, no dc", nothing([](HDC) { GradientFillVerticalAt(0, 0, 0, 4, 4, 0, 0xFFFFFF); }), 0},
      {"angle, width 0", nothing([&](HDC dc) { GradientFillAngle(dc, 0, 4, a, b, 0); }), 0},
      {"angle, height 0", nothing([&](HDC dc) { GradientFillAngle(dc, 4, 0, a, b, 0); }), 0},
      {"angle, width -1", nothing([&](HDC dc) { GradientFillAngle(dc, -1, 4, a, b, 45); }), 0},
      {"half, band 0", nothing([&](HDC dc) { GradientFillHalf(dc, 4, 0, a, b, 90, false, true); }), 0},
      {"panel, height 0", panel(8, 0, true), 11},
      {"panel, height 2", panel(8, 2, true), 11},
      {"panel, no dc", panel(8, 9, false), -1},
      {"panel, width -1", panel(-1, 9, true), -1},
      {"panel, height -9", panel(8, -9, true), -1},
      {"glass, no dc", [&](HDC, HBITMAP) { return int64_t{GradientFillGlass(0, 0, 0, 4, 4, a, b, 1)}; }, 0},
      {"glass, width -1", [&](HDC dc, HBITMAP) { return int64_t{GradientFillGlass(dc, 0, 0, -1, 4, a, b, 1)}; }, 0},
      {"glass, height -1", [&](HDC dc, HBITMAP) { return int64_t{GradientFillGlass(dc, 0, 0, 4, -1, a, b, 1)}; }, 0},
      {"glass, height 0", [&](HDC dc, HBITMAP) { return int64_t{GradientFillGlass(dc, 0, 1, 4, 0, a, b, 1)}; }, 0},
      {"alpha 256", [](HDC dc, HBITMAP p) { return int64_t{AlphaBlendPicture(dc, p, 0, 0, 2, 2, 0, 0, 2, 2, 256)}; },
       0},
      {"alpha -1", [](HDC dc, HBITMAP p) { return int64_t{AlphaBlendPicture(dc, p, 0, 0, 2, 2, 0, 0, 2, 2, -1)}; }, 0},
      {"alpha, no dc", [](HDC, HBITMAP p) { return int64_t{AlphaBlendPicture(0, p, 0, 0, 2, 2, 0, 0, 2, 2, 100)}; }, 0},
      {"alpha, no picture",
       [](HDC dc, HBITMAP) { return int64_t{AlphaBlendPicture(dc, 0, 0, 0, 2, 2, 0, 0, 2, 2, 100)}; }, 0},
      {"alpha, width -2",
       [](HDC dc, HBITMAP p) { return int64_t{AlphaBlendPicture(dc, p, 0, 0, 2, 2, 0, 0, -2, 2, 100)}; }, 0},
      {"grey, no picture", [](HDC dc, HBITMAP) { return int64_t{DrawPictureGrey(dc, 0, 1, 1, 2, 2)}; }, 0},
      {"grey, no dc", [](HDC, HBITMAP p) { return int64_t{DrawPictureGrey(0, p, 1, 1, 2, 2)}; }, 0},
      {"grey, width -2", [](HDC dc, HBITMAP p) { return int64_t{DrawPictureGrey(dc, p, 1, 1, -2, 2)}; }, 0},
      {"grey area, bitmap 0", [](HDC dc, HBITMAP) { return int64_t{GreyArea(dc, 0, 0, 0, 2, 2)}; }, 0},
      {"grey area, no dc", [](HDC, HBITMAP) { return int64_t{GreyArea(0, 1, 0, 0, 2, 2)}; }, 0},
      {"grey area, height -2", [](HDC dc, HBITMAP) { return int64_t{GreyArea(dc, 1, 0, 0, 2, -2)}; }, 0},
      {"transparent, no dc",
       [](HDC, HBITMAP p) { return int64_t{DrawPictureTransparent(0, p, 1, 1, 2, 1, 1, 1, 2, 1, 0)}; }, 0},
      {"transparent, no picture",
       [](HDC dc, HBITMAP) { return int64_t{DrawPictureTransparent(dc, 0, 1, 1, 2, 1, 1, 1, 2, 1, 0)}; }, 0},
      {"transparent, width -2",
       [](HDC dc, HBITMAP p) { return int64_t{DrawPictureTransparent(dc, p, 1, 1, 2, 1, 1, 1, -2, 1, 0)}; }, 0},
  };
  for (const auto& [what, call, expected] : rows) {
    SCOPED_TRACE(what);
    TestCanvas c(8, 8, false, kSentinel), pic(2, 2, false, 0xFFFFFF);
    const size_t before = handles().liveCount();
    const HGDIOBJ pen = GetCurrentObject(c.dc(), OBJ_PEN), brush = GetCurrentObject(c.dc(), OBJ_BRUSH);
    EXPECT_EQ(call(c.dc(), pic.bitmap()), expected);
    EXPECT_TRUE(untouched(c));
    EXPECT_EQ(std::tuple(handles().liveCount(), GetCurrentObject(c.dc(), OBJ_PEN), GetCurrentObject(c.dc(), OBJ_BRUSH)),
              std::tuple(before, pen, brush));
  }
}

// ---- Resources -----------------------------------------------------------------------------------

// Each routine once on a canvas without a clip and once clipped to an inner rectangle (and once
// with the viewport moved): inside the clip the pixels must be the same, outside untouched.
TEST(GradientRoutines, ComputeOnlyWhatIsVisibleWithTheSamePixels) {
  const std::vector<std::pair<const char*, std::function<void(HDC)>>> routines = {
      {"vertical", [](HDC dc) { GradientFillVertical(dc, 50, 40, RGB(255, 0, 0), RGB(0, 0, 255)); }},
      {"verticalAt", [](HDC dc) { GradientFillVerticalAt(dc, 3, 4, 41, 33, RGB(9, 80, 0), RGB(0, 90, 200)); }},
      {"angle30", [](HDC dc) { GradientFillAngle(dc, 50, 40, RGB(0, 0, 0), RGB(255, 200, 100), 30.0f); }},
      {"angle135", [](HDC dc) { GradientFillAngle(dc, 47, 39, RGB(7, 0, 0), RGB(0, 200, 100), 135.0f); }},
      {"half", [](HDC dc) { GradientFillHalf(dc, 50, 21, RGB(200, 0, 0), RGB(0, 0, 90), 90.0f, false, true); }},
      {"panel", [](HDC dc) { GradientFillPanel(dc, 2, 1, 45, 36, RGB(240, 240, 200), RGB(20, 60, 90)); }},
      {"glass", [](HDC dc) { GradientFillGlass(dc, 1, 2, 46, 35, RGB(30, 90, 200), RGB(200, 220, 255), 1); }},
  };
  for (const auto& [name, draw] : routines) {
    TestCanvas whole(50, 40, false, kSentinel);
    draw(whole.dc());
    TestCanvas clipped(50, 40, false, kSentinel);
    IntersectClipRect(clipped.dc(), 13, 9, 31, 27);
    draw(clipped.dc());
    TestCanvas moved(50, 40, false, kSentinel);
    SetViewportOrgEx(moved.dc(), -20, -15, nullptr);  // logical (20, 15) lands on pixel (0, 0)
    draw(moved.dc());
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 50; ++x) {
        const bool inside = x >= 13 && x < 31 && y >= 9 && y < 27;
        ASSERT_EQ(px(clipped, x, y), inside ? px(whole, x, y) : kSentinel) << name << " " << x << "," << y;
        if (x < 30 && y < 25) {
          ASSERT_EQ(px(moved, x, y), px(whole, x + 20, y + 15)) << name << " " << x << "," << y;
        }
      }
  }
}

// A face far larger than its surface draws the part that lands on it, whatever its nominal size;
// a side beyond the largest surface draws nothing and reports nothing painted.
TEST(GradientRoutines, AHugeFaceCostsOnlyTheSurfaceItLandsOn) {
  const int big = gfx::kMaxSurfaceSide;
  TestCanvas c(20, 10, false, kSentinel);
  GradientFillAngle(c.dc(), big, big, RGB(0, 0, 0), RGB(255, 255, 255), 30.0f);
  std::vector<Pixel> part(20 * 10);
  gradient::fillAngleBufferPart(part.data(), big, big, RGB(0, 0, 0), RGB(255, 255, 255), 30.0f, 0,
                                0, 20, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(px(c, x, y), part[(9 - y) * 20 + x]) << x << "," << y;

  TestCanvas v(20, 10, false, kSentinel);
  GradientFillVerticalAt(v.dc(), 0, -(big - 10), 30000, big, RGB(255, 0, 0), RGB(0, 0, 255));
  auto r = ramp(RGB(255, 0, 0), RGB(0, 0, 255), big);
  for (int y = 0; y < 10; ++y) EXPECT_TRUE(rowIs(v, y, 0, 20, r[9 - y])) << y;  // the bottom lines

  TestCanvas p(20, 10, false, kSentinel);
  EXPECT_EQ(GradientFillPanel(p.dc(), 0, 0, 20, big, RGB(240, 240, 200), RGB(20, 60, 90)), big);
  auto entries = gradient::panelEntries(big, RGB(240, 240, 200), RGB(20, 60, 90));
  EXPECT_TRUE(rowIs(p, 5, 3, 15, entries[big - 1 - 5]));
  EXPECT_EQ(GradientFillGlass(p.dc(), 0, 0, 20, big, RGB(30, 90, 200), RGB(200, 220, 255), 0), big);

  TestCanvas none(20, 10, false, kSentinel);
  GradientFillVertical(none.dc(), big + 1, 5, RGB(255, 0, 0), RGB(0, 0, 255));
  GradientFillAngle(none.dc(), 5, big + 1, RGB(255, 0, 0), RGB(0, 0, 255), 30.0f);
  GradientFillHalf(none.dc(), big + 1, 5, RGB(255, 0, 0), RGB(0, 0, 255), 90.0f, true, false);
  EXPECT_EQ(GradientFillGlass(none.dc(), 0, 0, 20, big + 1, RGB(1, 2, 3), RGB(4, 5, 6), 0), 0);
  EXPECT_TRUE(untouched(none));
  // The panel still frames itself; its face is not drawn.
  EXPECT_EQ(GradientFillPanel(none.dc(), 0, 0, 20, big + 1, RGB(1, 2, 3), RGB(4, 5, 6)), 0);
  EXPECT_EQ(GradientFillPanel(none.dc(), 0, 0, INT32_MAX, 50, RGB(1, 2, 3), RGB(4, 5, 6)), 0);
}

TEST(GradientRoutines, LeaveNoGdiObjectBehindOnAnyPath) {
  TestCanvas c(40, 30, false, kSentinel);
  TestCanvas pic(8, 8, false, 0x808080);
  HBITMAP stale = gfx::CreateBitmapForSurface(gfx::Surface::create(2, 2));
  DeleteObject(stale);
  const OLE_COLOR a = RGB(10, 20, 30), b = RGB(200, 100, 0);
  std::vector<std::pair<const char*, std::function<void()>>> calls = {
      {"vertical", [&] { GradientFillVertical(c.dc(), 20, 10, a, b); }},
      {"angle", [&] { GradientFillAngle(c.dc(), 20, 10, a, b, 33); }},
      {"half", [&] { GradientFillHalf(c.dc(), 20, 10, a, b, 90, false, true); }},
      {"panel", [&] { GradientFillPanel(c.dc(), 0, 0, 20, 10, a, b); }},
      {"glass", [&] { GradientFillGlass(c.dc(), 0, 1, 20, 10, a, b, -1); }},
      {"alpha", [&] { AlphaBlendPicture(c.dc(), pic.bitmap(), 0, 0, 8, 8, 0, 0, 8, 8, 100); }},
      {"alpha, stale bitmap", [&] { AlphaBlendPicture(c.dc(), stale, 0, 0, 8, 8, 0, 0, 8, 8, 100); }},
      {"alpha, no section", [&] { AlphaBlendPicture(c.dc(), pic.bitmap(), 0, 0, 8, 8, 0, 0, 0, 8, 100); }},
      {"grey", [&] { DrawPictureGrey(c.dc(), pic.bitmap(), 0, 0, 8, 8); }},
      {"grey area", [&] { GreyArea(c.dc(), 1, 0, 0, 8, 8); }},
      {"transparent", [&] { DrawPictureTransparent(c.dc(), pic.bitmap(), 0, 0, 8, 8, 0, 0, 8, 8, 0xFF00FF); }},
      {"transparent, stale bitmap", [&] { DrawPictureTransparent(c.dc(), stale, 0, 0, 8, 8, 0, 0, 8, 8, 0xFF00FF); }},
      {"transparent, no section",
       [&] { DrawPictureTransparent(c.dc(), pic.bitmap(), 0, 0, 8, 8, 0, 0, 8, 0, 0xFF00FF); }},
  };
  const HGDIOBJ pen = GetCurrentObject(c.dc(), OBJ_PEN), brush = GetCurrentObject(c.dc(), OBJ_BRUSH);
  for (auto& [name, call] : calls) {
    size_t before = handles().liveCount();
    call();
    EXPECT_EQ(handles().liveCount(), before) << name;
    EXPECT_EQ(GetCurrentObject(c.dc(), OBJ_PEN), pen) << name;  // the DC's own pen is back
    EXPECT_EQ(GetCurrentObject(c.dc(), OBJ_BRUSH), brush) << name;
  }
}

}  // namespace
}  // namespace zxp
