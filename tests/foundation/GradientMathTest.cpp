// The gradient arithmetic checked against values worked out by hand from its definition
// (truncating integer division, halves rounded to even) and against the closed forms it must
// agree with.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

#include "foundation/GradientMath.h"
#include "platform/base/HostError.h"

namespace zxp::gradient {
namespace {

constexpr OLE_COLOR kRed = 0x0000FF;   // OLE colour: red in the low byte
constexpr OLE_COLOR kBlue = 0xFF0000;

TEST(ColorRamp, EndsAreExactInnerEntriesTruncateAndOneEntryIsTheMean) {
  // Red falls 255 -> 0 over 5 entries: 255 + (-255 * i) / 4 gives -63, -127, -191 (toward zero,
  // not -64, -128, -192), blue rises 0 + (255 * i) / 4.
  auto ramp = colorRamp(kRed, kBlue, 5);
  ASSERT_EQ(ramp.size(), 5u);
  // Red ends up in the pixel's red byte (bits 16-23): the bytes are swapped, not copied.
  EXPECT_EQ(ramp, (std::vector<Pixel>{0xFF0000, 0xC0003F, 0x80007F, 0x4000BF, 0x0000FF}));
  for (int32_t n : {2, 3, 7, 256, 1000}) {
    auto r = colorRamp(RGB(12, 200, 77), RGB(250, 3, 77), n);
    EXPECT_EQ(r.front(), makePixel(12, 200, 77)) << n;
    EXPECT_EQ(r.back(), makePixel(250, 3, 77)) << n;
  }
  // The high byte of an OLE colour is ignored.
  EXPECT_EQ(colorRamp(0x7F000000u | kRed, kRed, 2).front(), 0xFF0000u);
  // One entry: s / 2 + e / 2 per channel, 127 + 1, 0 + 127, 50 + 25 (not (s + e) / 2).
  EXPECT_EQ(colorRamp(RGB(255, 1, 100), RGB(3, 255, 51), 1), (std::vector<Pixel>{makePixel(128, 127, 75)}));
  EXPECT_TRUE(colorRamp(kRed, kBlue, 0).empty());
}

TEST(AngleGeometry, CardinalAnglesTheirEquivalentsAndHalfDegrees) {
  // 0: left to right (rows from the top, +1000 per pixel), 90: bottom to top, 180 and 270 the
  // same axes with the colours swapped. Whole turns and negative angles land on the same
  // geometry; the direction 90 - Angle is rounded half to even: 89.5 -> 90 (as Angle 0).
  struct Row {
    float angle;
    int quadrant, axisLength, stepX, stepY;
    bool color1First;
  };
  for (Row r : {Row{0, 1, 30, 1000, 0, true}, Row{720, 1, 30, 1000, 0, true}, Row{0.5f, 1, 30, 1000, 0, true},
                Row{90, 0, 20, 0, 1000, true}, Row{450, 0, 20, 0, 1000, true}, Row{180, 3, 30, 1000, 0, false},
                Row{270, 2, 20, 0, 1000, false}, Row{-90, 2, 20, 0, 1000, false}}) {
    SCOPED_TRACE(r.angle);
    const auto g = angleGeometry(30, 20, r.angle);
    EXPECT_EQ(std::tuple(g.quadrant, g.degrees, g.axisLength, g.stepX, g.stepY, g.color1First),
              std::tuple(r.quadrant, 0, r.axisLength, r.stepX, r.stepY, r.color1First));
  }
  EXPECT_FALSE(angleGeometry(30, 20, 90.0f).fromTop);
  EXPECT_EQ(angleGeometry(30, 20, 1.5f).quadrant, 0);  // 88.5 -> 88
  EXPECT_EQ(angleGeometry(30, 20, 1.5f).degrees, 88);
}

TEST(AngleGeometry, AxisLengthIsTheRectangleProjectedOnTheDirection) {
  const double rad = std::numbers::pi / 180;
  for (int32_t w : {1, 2, 9, 64, 333, 1920}) {
    for (int32_t h : {1, 3, 17, 100, 1080}) {
      for (int angle = -180; angle < 540; angle += 7) {
        auto g = angleGeometry(w, h, static_cast<float>(angle));
        double r = g.degrees * rad;
        double expected = g.quadrant % 2 == 0 ? w * std::sin(r) + h * std::cos(r)
                                              : w * std::cos(r) + h * std::sin(r);
        ASSERT_EQ(g.axisLength, nearest(expected)) << w << "x" << h << " at " << angle;
        // Steps are the direction's sine and cosine in thousandths.
        double along = g.quadrant % 2 == 0 ? r : std::numbers::pi / 2 - r;
        ASSERT_EQ(g.stepX, nearest(std::sin(along) * 1000));
        ASSERT_EQ(g.stepY, nearest(std::cos(along) * 1000));
      }
    }
  }
}

TEST(AngleBuffer, FortyFiveDegreesWalksTheRampInThousandths) {
  // 4 x 3 at 45: n = nearest(4 sin 45 + 3 cos 45) = nearest(4.95) = 5, steps 707 both ways.
  // Bottom row positions 0, 707, 1414, 2121; each row up adds 707.
  std::vector<Pixel> buf(12);
  fillAngleBuffer(buf.data(), 4, 3, RGB(0, 0, 0), RGB(200, 100, 40), 45.0f);
  auto ramp = colorRamp(RGB(0, 0, 0), RGB(200, 100, 40), 5);
  const int idx[3][4] = {{0, 0, 1, 2}, {0, 1, 2, 2}, {1, 2, 2, 3}};  // bottom row first
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(buf[y * 4 + x], ramp[idx[y][x]]) << x << "," << y;
  // At -45 (q = 1) the rows are walked from the top: the top-left pixel is Color1.
  fillAngleBuffer(buf.data(), 4, 3, RGB(0, 0, 0), RGB(200, 100, 40), -45.0f);
  EXPECT_EQ(std::tuple(buf[8], buf[3]), std::tuple(ramp[0], ramp[3]));
}

TEST(AngleBuffer, PixelsCarriedPastTheAxisByRoundedStepsGetTheEndColour) {
  // 1920 x 1080 at 6 degrees: n = 2022, steps 105 and 995 carry the top-right pixel to position
  // (1919 * 105 + 1079 * 995) / 1000 = 2022, one past the last entry.
  auto g = angleGeometry(1920, 1080, 6.0f);
  ASSERT_EQ(std::tuple(g.axisLength, (1919 * g.stepX + 1079 * g.stepY) / 1000), std::tuple(2022, 2022));
  std::vector<Pixel> buf(1920 * 1080);
  fillAngleBuffer(buf.data(), 1920, 1080, RGB(0, 0, 0), RGB(255, 255, 255), 6.0f);
  EXPECT_EQ(std::tuple(buf.back(), buf.front()), std::tuple(0xFFFFFFu, 0u));
}

TEST(AngleBuffer, APartIsExactlyTheWindowOfTheWholeBuffer) {
  // Every window of every direction class (both walking orders, zero and non-zero steps, the
  // ramp's extension past the axis) must equal the same pixels of the whole buffer: the part is
  // computed from products where the whole is computed from running sums.
  const int w = 37, h = 23;
  for (float angle : {0.0f, 6.0f, 30.0f, 45.0f, 90.0f, 135.0f, 200.0f, 270.0f, -45.0f, 359.6f}) {
    std::vector<Pixel> whole(w * h);
    fillAngleBuffer(whole.data(), w, h, RGB(10, 200, 30), RGB(250, 5, 120), angle);
    for (auto [left, top, pw, ph] : {std::array{0, 0, w, h}, std::array{5, 3, 11, 7},
                                     std::array{w - 1, h - 1, 1, 1}, std::array{0, 9, w, 1},
                                     std::array{20, 0, 17, 23}}) {
      std::vector<Pixel> part(pw * ph, 0xDEADBEEF);
      fillAngleBufferPart(part.data(), w, h, RGB(10, 200, 30), RGB(250, 5, 120), angle, left, top,
                          pw, ph);
      for (int s = 0; s < ph; ++s)  // s: line of the part from its top; buffers are bottom-up
        for (int x = 0; x < pw; ++x)
          ASSERT_EQ(part[(ph - 1 - s) * pw + x], whole[(h - 1 - (top + s)) * w + left + x])
              << "angle " << angle << " part " << left << "," << top << " pixel " << x << "," << s;
    }
  }
  // A part outside the picture, or an empty one, leaves the buffer alone.
  std::vector<Pixel> part(4, 0xDEADBEEF);
  fillAngleBufferPart(part.data(), w, h, 0, 0xFFFFFF, 30.0f, w - 1, 0, 2, 2);
  fillAngleBufferPart(part.data(), w, h, 0, 0xFFFFFF, 30.0f, 0, -1, 2, 2);
  fillAngleBufferPart(part.data(), w, h, 0, 0xFFFFFF, 30.0f, 0, 0, 0, 2);
  EXPECT_EQ(part, std::vector<Pixel>(4, 0xDEADBEEF));
}

TEST(PanelEntries, SlopesFromTheFaceTowardTheEdgeAndBack) {
  // Height 9: t = 3. Steps (10 - 100) / 3 = -30, (255 - 200) / 3 = 18 (55 / 3 truncated), 0.
  // Upper slope writes entries 6..2 with 1..5 steps, the lower slope entries 0..3 with 1..4
  // steps (it wins at 2 and 3); 7 and 8 stay FaceColor. Red stops at 0, green shows 255 for 272.
  auto e = panelEntries(9, RGB(100, 200, 50), RGB(10, 255, 50));
  const int red[9] = {70, 40, 10, 0, 10, 40, 70, 100, 100};
  const int green[9] = {218, 236, 254, 255, 254, 236, 218, 200, 200};
  ASSERT_EQ(e.size(), 9u);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(e[i], makePixel(red[i], green[i], 50)) << i;

  // Height 8: t = 2, step (60 - 0) / 2 = 30 on blue: from the top F, F+1 .. F+4, F+3 .. F+1 steps.
  auto b = panelEntries(8, RGB(0, 0, 0), RGB(0, 0, 60));
  const int blue[8] = {30, 60, 90, 120, 90, 60, 30, 0};  // entry 0 = bottom line
  for (int i = 0; i < 8; ++i) EXPECT_EQ(b[i], makePixel(0, 0, blue[i])) << i;
}

TEST(PanelEntries, BelowHeightThreeTheStepDividesByZero) {
  for (int32_t h : {0, 1, 2}) {
    try {
      panelEntries(h, RGB(1, 2, 3), RGB(4, 5, 6));
      ADD_FAILURE() << "no error for height " << h;
    } catch (const HostError& e) {
      EXPECT_EQ(e.number(), 11);
      EXPECT_STREQ(e.what(), "Division by zero");
    }
  }
}

TEST(GlassEntries, StepsClampAtZeroAndShowAsFullAbove) {
  // (The height-7 steps and the bottom colour are checked pixel by pixel with the glass bar.)
  // Red step -6 (-5.71), green +4 (4.29): clamped at 0 below and shown as 255 above.
  auto c = glassEntries(7, RGB(20, 240, 0), RGB(0, 255, 0));
  EXPECT_EQ(std::tuple(c[6], c[3], c[0]), std::tuple(makePixel(0, 255, 0), makePixel(8, 248, 0), makePixel(2, 252, 0)));
}

TEST(GlassEntries, StepRoundsHalvesToEven) {
  // Height 4 halves to 2: 5 / 2 = 2.5 -> 2, 7 / 2 = 3.5 -> 4, -5 / 2 = -2.5 -> -2; k0 = nearest(1.14) = 1.
  auto e = glassEntries(4, RGB(100, 100, 100), RGB(105, 107, 95));
  EXPECT_EQ(std::tuple(e[1], e[3], e[0]),
            std::tuple(makePixel(102, 104, 98), makePixel(106, 112, 94), makePixel(104, 108, 96)));
}

TEST(PictureArithmetic, BlendAndGreyMatchTheirRoundedFormulas) {
  // 256 - Alpha: Alpha 0 brightens (200 -> 200.78 -> 201; 255 -> 256 -> 255), Alpha 255 lets
  // the background add at most one level; the sum is capped at 255.
  EXPECT_EQ(blendByte(200, 100, 128), 151u);  // 150.59, an alpha the sweep below skips
  for (uint32_t alpha = 0; alpha < 256; alpha += 3)
    for (uint32_t a = 0; a < 256; ++a)
      for (uint32_t p = 0; p < 256; ++p) {
        int32_t expected = nearest((256.0 - alpha) * a / 255 + p * static_cast<double>(alpha) / 255);
        ASSERT_EQ(blendByte(a, p, alpha), static_cast<uint32_t>(std::min(expected, 255)))
            << a << " " << p << " " << alpha;
      }
  for (uint32_t s = 0; s <= 765; ++s)
    ASSERT_EQ(greyByte(s, 0, 0), static_cast<uint32_t>(nearest(s / 3.0))) << s;
  EXPECT_EQ(greyPixel(0x00102030), 0x00202020u);
  EXPECT_EQ(greyPixel(0x12000001), 0x12000000u);  // 1 / 3 rounds to 0; the high byte stays
}

}  // namespace
}  // namespace zxp::gradient
