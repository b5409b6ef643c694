// A 32-bit pixel surface (0x00RRGGBB per pixel; the high byte is alpha where a caller uses it,
// as in per-pixel-alpha blends and layered windows).
//
// The surface owns one allocation. Its memory order is either top-down (row 0 first) or
// bottom-up (the bottom row first, as a device-independent bitmap with a positive height);
// row(y) always addresses the picture's row y counted from the top, so drawing code never cares.
//
// A top-down surface can also show pixels it shares with their owner (a kept control look)
// instead of its own, without copying them: reading goes to the shared pixels, and the first
// write through any non-const accessor copies them into the surface's own allocation first
// (copy on write). The shared pixels are kept alive until the next show() or the surface's end,
// so a pointer read from the surface stays valid while the surface is written.
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

  // Row y counted from the top of the picture. The non-const accessors are for writing: they
  // end the sharing of shown pixels.
  uint32_t* row(int32_t y) {
    return own() + static_cast<size_t>(bottomUp_ ? height_ - 1 - y : y) * width_;
  }
  const uint32_t* row(int32_t y) const {
    return bits() + static_cast<size_t>(bottomUp_ ? height_ - 1 - y : y) * width_;
  }
  uint32_t& at(int32_t x, int32_t y) { return row(y)[x]; }
  uint32_t at(int32_t x, int32_t y) const { return row(y)[x]; }

  // The allocation in memory order (for DIB sections: what the bits pointer addresses).
  uint32_t* bits() { return own(); }
  const uint32_t* bits() const { return shown_ ? shown_.get() : data_.data(); }
  size_t pixelCount() const { return data_.size(); }

  // Shows `pixels` (width x height, top-down, never changed by their owner) as this surface's
  // picture until the next write. False, showing nothing, for a bottom-up surface or a null
  // buffer.
  bool show(std::shared_ptr<const uint32_t[]> pixels);
  // Whether the picture is currently shared pixels (reading them costs nothing more).
  bool showsShared() const { return shown_ != nullptr; }

  void fill(uint32_t value);
  // Fills a rectangle that lies inside the surface (pixman's SIMD fill; rows in any order).
  void fillRect(const Rect& r, uint32_t value);

 private:
  Surface() = default;
  int32_t width_ = 0;
  int32_t height_ = 0;
  bool bottomUp_ = false;
  std::vector<uint32_t> data_;
  std::shared_ptr<const uint32_t[]> shown_;    // the pixels shown instead of data_, if any
  std::shared_ptr<const uint32_t[]> retired_;  // the last ones shown, alive for readers
  uint32_t* own() {
    if (shown_) [[unlikely]]
      takeShown();
    return data_.data();
  }
  // Copies the shown pixels into the surface's own allocation and stops sharing them.
  void takeShown();
};

}  // namespace zxp::gfx
