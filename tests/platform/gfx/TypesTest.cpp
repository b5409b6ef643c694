// Rectangle arithmetic on values from callers: sizes and offsets saturate instead of overflowing
// (the sanitizer build turns any overflow into a failure).
#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "platform/gfx/Types.h"

namespace zxp {
namespace {

TEST(Rect, ExtremeCoordinatesSaturate) {
  const Rect all{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
  EXPECT_EQ(std::tuple(all.width(), all.height(), all.empty()), std::tuple(INT32_MAX, INT32_MAX, false));
  const Rect reversed{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  EXPECT_EQ(std::tuple(reversed.width(), reversed.empty()), std::tuple(INT32_MIN, true));
  EXPECT_EQ(reversed.normalized(), all);

  EXPECT_EQ(Rect::fromXYWH(INT32_MAX, 5, INT32_MAX, 10), (Rect{INT32_MAX, 5, INT32_MAX, 15}));
  EXPECT_EQ(Rect::fromXYWH(10, INT32_MIN, -20, INT32_MIN), (Rect{10, INT32_MIN, -10, INT32_MIN}));
  EXPECT_EQ(Rect::fromXYWH(1, 2, 3, 4), (Rect{1, 2, 4, 6}));

  EXPECT_EQ((Rect{0, 0, 10, 10}.offset(INT32_MAX, INT32_MIN)), (Rect{INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN + 10}));
  EXPECT_EQ(all.intersect(Rect{1, 2, 3, 4}), (Rect{1, 2, 3, 4}));
  EXPECT_EQ(std::tuple(clampToInt32(int64_t{INT32_MAX} + 1), clampToInt32(int64_t{INT32_MIN} - 1), clampToInt32(-7)),
            std::tuple(INT32_MAX, INT32_MIN, -7));
}

}  // namespace
}  // namespace zxp
