// The half-face bands are placed with heights rounded in whole numbers: they must be exactly
// what rounding the quarter in floating point gives, halves to even, through the 32-bit limits.
#include <gtest/gtest.h>

#include <cstdint>

#include "foundation/GradientMath.h"

namespace zxp {
namespace {

TEST(GradientBandHeight, WholeNumberQuartersRoundAsNearestDoes) {
  // Every band height a surface can hold, times 5 and 6, and the negative side.
  for (int64_t q = -200000; q <= 200000; ++q)
    ASSERT_EQ(gradient::nearestQuarter(q), nearest(static_cast<double>(q) / 4.0)) << q;
  // Around the ends of the 32-bit range, where the result saturates.
  for (int64_t edge : {int64_t{INT32_MAX} * 4, int64_t{INT32_MIN} * 4})
    for (int64_t q = edge - 12; q <= edge + 12; ++q)
      ASSERT_EQ(gradient::nearestQuarter(q), nearest(static_cast<double>(q) / 4.0)) << q;
}

}  // namespace
}  // namespace zxp
