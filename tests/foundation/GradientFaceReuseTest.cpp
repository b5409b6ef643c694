// Angled faces are painted again and again at the same size and colours, so a small face keeps
// its computed rows between calls. A kept row must be the whole row whatever part of it was
// asked for first, and a face must never be served another face's rows.
#include <gtest/gtest.h>

#include <vector>

#include "foundation/GradientMath.h"
#include "foundation/modGradient.h"
#include "platform/gfx/TestCanvas.h"

namespace zxp {
namespace {

using testing::TestCanvas;

struct Face {
  int32_t width, height;
  OLE_COLOR c1, c2;
  float angle;
};

// The face's pixel at (x, y) from the top-left, from the whole-picture computation.
std::vector<Pixel> reference(const Face& f) {
  std::vector<Pixel> bottomUp(static_cast<size_t>(f.width) * f.height);
  gradient::fillAngleBuffer(bottomUp.data(), f.width, f.height, f.c1, f.c2, f.angle);
  std::vector<Pixel> topDown(bottomUp.size());
  for (int32_t y = 0; y < f.height; ++y)
    for (int32_t x = 0; x < f.width; ++x)
      topDown[static_cast<size_t>(y) * f.width + x] = bottomUp[static_cast<size_t>(f.height - 1 - y) * f.width + x];
  return topDown;
}

// Paints the face on a fresh canvas of its size (with an optional clip) and reports the first
// pixel that differs from the reference inside the clip, or "" when none does.
std::string paintAndCompare(const Face& f, RECT clip = RECT{0, 0, 1 << 20, 1 << 20}) {
  TestCanvas c(f.width, f.height, false, 0x00ABCDEF);
  IntersectClipRect(c.dc(), clip.left, clip.top, clip.right, clip.bottom);
  GradientFillAngle(c.dc(), f.width, f.height, f.c1, f.c2, f.angle);
  const std::vector<Pixel> want = reference(f);
  for (int32_t y = 0; y < f.height; ++y)
    for (int32_t x = 0; x < f.width; ++x) {
      const bool inside = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
      const Pixel expected = inside ? want[static_cast<size_t>(y) * f.width + x] : 0x00ABCDEF;
      if ((c.at(x, y) & 0xFFFFFF) != expected)
        return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ")";
    }
  return "";
}

TEST(AngledFaceReuse, RowsFirstPaintedInPartAreWholeWhenPaintedAgain) {
  const Face f{75, 23, RGB(0, 84, 227), RGB(255, 255, 255), 30.0f};
  // The first paint sees only a window of the face: columns 20..40 of rows 5..11.
  EXPECT_EQ(paintAndCompare(f, RECT{20, 5, 40, 11}), "");
  // Then the whole face, twice: kept rows and newly computed ones side by side.
  EXPECT_EQ(paintAndCompare(f), "");
  EXPECT_EQ(paintAndCompare(f), "");
  // And a window again, starting inside a kept row.
  EXPECT_EQ(paintAndCompare(f, RECT{33, 0, 75, 23}), "");
}

TEST(AngledFaceReuse, FacesThatDifferInOneInputAreNeverServedEachOthersRows) {
  // More faces than are kept at once, each differing from the first in one input, painted
  // round after round so that kept faces are hit, evicted and computed again.
  const std::vector<Face> faces = {
      {75, 23, RGB(0, 84, 227), RGB(255, 255, 255), 130.0f},
      {75, 23, RGB(0, 84, 227), RGB(255, 255, 255), 131.0f},
      {75, 23, RGB(0, 84, 228), RGB(255, 255, 255), 130.0f},
      {75, 23, RGB(0, 84, 227), RGB(255, 255, 254), 130.0f},
      {76, 23, RGB(0, 84, 227), RGB(255, 255, 255), 130.0f},
      {75, 24, RGB(0, 84, 227), RGB(255, 255, 255), 130.0f},
  };
  for (int round = 0; round < 3; ++round)
    for (size_t i = 0; i < faces.size(); ++i)
      ASSERT_EQ(paintAndCompare(faces[i]), "") << "face " << i << ", round " << round;
  // Two faces in turn stay within what is kept.
  for (int round = 0; round < 4; ++round) {
    ASSERT_EQ(paintAndCompare(faces[0]), "") << round;
    ASSERT_EQ(paintAndCompare(faces[3]), "") << round;
  }
}

TEST(AngledFaceReuse, AStretchedGlassBandPaintsTheSameEveryTime) {
  // The upper band of a glass face is 13 computed lines stretched to 20 rows at line 2.
  auto paint = [] {
    TestCanvas c(75, 23, false, 0);
    GradientFillHalf(c.dc(), 75, 13, RGB(0, 84, 227), RGB(255, 255, 255), 130, false, true);
    return std::vector<uint32_t>(c.bits(), c.bits() + 75 * 23);
  };
  const std::vector<uint32_t> first = paint();
  // A large face of the same angle in between: too large to be kept, computed row by row.
  EXPECT_EQ(paintAndCompare(Face{640, 480, RGB(0, 84, 227), RGB(255, 255, 255), 130.0f}), "");
  EXPECT_EQ(paint(), first);
  EXPECT_EQ(paint(), first);
}

}  // namespace
}  // namespace zxp
