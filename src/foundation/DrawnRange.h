// Sizes a control keeps as any Long the caller set (a header height, an icon size) but draws
// within +-2^20 pixels: far past the largest surface (32767 pixels a side), so what shows is
// the same, and sums and differences of a few of them stay inside 32 bits.
#pragma once

#include <algorithm>
#include <cstdint>

namespace zxp::foundation {

constexpr int32_t kDrawnLimit = 1 << 20;

constexpr int32_t drawnLength(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, -kDrawnLimit, kDrawnLimit));
}

}  // namespace zxp::foundation
