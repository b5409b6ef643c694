// A 32-bit pixel surface (0x00RRGGBB per pixel; the high byte is alpha where a caller uses it,
// as in per-pixel-alpha blends and layered windows).
//
// The surface owns one allocation. Its memory order is either top-down (row 0 first) or
// bottom-up (the bottom row first, as a device-independent bitmap with a positive height);
// row(y) always addresses the picture's row y counted from the top, so drawing code never cares.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/Types.h"

namespace zxp::gfx {

// The largest surface the platform creates: each side at most 32767 pixels and at most
// 2^26 pixels (256 MiB) in all. Larger requests fail instead of allocating without bound.
constexpr int32_t kMaxSurfaceSide = 32767;
constexpr int64_t kMaxSurfacePixels = int64_t{1} << 26;

class Surface {
 public:
  // Creates a surface filled with 0 (black). Fails (returns nullptr) for sizes below 1 or above
  // the limits, or when memory is exhausted.
  static std::shared_ptr<Surface> create(int32_t width, int32_t height, bool bottomUp = false);

  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  bool bottomUp() const { return bottomUp_; }
  Rect bounds() const { return Rect{0, 0, width_, height_}; }

  // Row y counted from the top of the picture.
  uint32_t* row(int32_t y) {
    return data_.data() + static_cast<size_t>(bottomUp_ ? height_ - 1 - y : y) * width_;
  }
  const uint32_t* row(int32_t y) const {
    return data_.data() + static_cast<size_t>(bottomUp_ ? height_ - 1 - y : y) * width_;
  }
  uint32_t& at(int32_t x, int32_t y) { return row(y)[x]; }
  uint32_t at(int32_t x, int32_t y) const { return row(y)[x]; }

  // The allocation in memory order (for DIB sections: what the bits pointer addresses).
  uint32_t* bits() { return data_.data(); }
  const uint32_t* bits() const { return data_.data(); }
  size_t pixelCount() const { return data_.size(); }

  void fill(uint32_t value);
  // Fills a rectangle that lies inside the surface (pixman's SIMD fill; rows in any order).
  void fillRect(const Rect& r, uint32_t value);

 private:
  Surface() = default;
  int32_t width_ = 0;
  int32_t height_ = 0;
  bool bottomUp_ = false;
  std::vector<uint32_t> data_;
};

}  // namespace zxp::gfx
