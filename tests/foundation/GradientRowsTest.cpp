// Wide rows of an angled gradient are walked in blocks through a table of entry offsets (with
// AVX2, a permutation of eight entries). Every pixel must still be the entry its definition
// names: (k * stepY + x * stepX) / 1000 of the ramp, extended with its end colour.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "foundation/GradientMath.h"

namespace zxp::gradient {
namespace {

// The picture's line s (from the top), from its definition.
std::vector<Pixel> referenceLine(int32_t width, int32_t height, OLE_COLOR c1, OLE_COLOR c2,
                                 float angle, int32_t s) {
  const AngleGeometry g = angleGeometry(width, height, angle);
  std::vector<Pixel> ramp = g.color1First ? colorRamp(c1, c2, g.axisLength) : colorRamp(c2, c1, g.axisLength);
  const int64_t k = g.fromTop ? s : height - 1 - s;
  std::vector<Pixel> line(static_cast<size_t>(width));
  for (int32_t x = 0; x < width; ++x) {
    const int64_t e = (k * g.stepY + int64_t{x} * g.stepX) / 1000;
    line[static_cast<size_t>(x)] = ramp[static_cast<size_t>(std::min<int64_t>(e, g.axisLength - 1))];
  }
  return line;
}

TEST(AngleRows, WideRowsAreTheEntriesTheirDefinitionNames) {
  const OLE_COLOR c1 = RGB(3, 200, 90), c2 = RGB(250, 10, 140);
  for (int32_t width : {256, 263, 700, 1921})
    for (int angle = 0; angle < 360; angle += 11) {
      const int32_t height = 37;
      const AngleRows rows(width, height, c1, c2, static_cast<float>(angle));
      std::vector<Pixel> line(static_cast<size_t>(width));
      for (int32_t s : {0, 1, 18, 36}) {
        rows.write(s, 0, line.data(), width);
        ASSERT_EQ(line, referenceLine(width, height, c1, c2, static_cast<float>(angle), s))
            << width << " wide, angle " << angle << ", line " << s;
        // A run that starts inside the row (the visible part of a clipped face).
        const int32_t left = 5;
        std::vector<Pixel> part(static_cast<size_t>(width - left));
        rows.write(s, left, part.data(), width - left);
        ASSERT_TRUE(std::equal(part.begin(), part.end(), line.begin() + left))
            << width << " wide, angle " << angle << ", line " << s << " from " << left;
      }
    }
}

}  // namespace
}  // namespace zxp::gradient
