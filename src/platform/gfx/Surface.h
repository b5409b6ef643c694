// A 32-bit pixel surface (0x00RRGGBB per pixel; the high byte is alpha where a caller uses it,
// as in per-pixel-alpha blends and layered windows).
//
// The surface holds one allocation. Its memory order is either top-down (row 0 first) or
// bottom-up (the bottom row first, as a device-independent bitmap with a positive height);
// row(y) always addresses the picture's row y counted from the top, so drawing code never cares.
//
// A top-down surface can also show pixels it shares with their owner (a kept control look)
// instead of its own, without copying them; its own allocation is let go meanwhile, so a
// surface never holds more than one picture's memory. Reading goes to the shared pixels; the
// first write through any non-const accessor makes them the surface's own again (copy on
// write: a copy while anyone else holds them, else the shared allocation itself). A pointer
// read from the surface stays valid while the surface is written: the pixels it points into are
// either written in place or kept by their other holder.
//
// A window's surface is also packable: between its drawings it may keep its picture packed (each
// row as runs of one colour and stretches of single pixels, as a byte an index into the
// picture's colours when it has at most 256; a row equal to the one above it costs nothing),
// which holds a form's control pictures in about a sixth of their memory. The
// screen packs what it has just composed; any access to the pixels unpacks them first, so
// drawing code never sees the difference. Packing is the one event that moves the pixels: a
// pointer read from a packable surface lasts until the next packIdle(). Composition reads rows
// straight from the packed form (readRow) without unpacking.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/gfx/Types.h"

namespace zxp::gfx {

// The largest surface the platform creates: each side at most 32767 pixels and at most
// 2^26 pixels (256 MiB) in all. Larger requests fail instead of allocating without bound.
constexpr int32_t kMaxSurfaceSide = 32767;
constexpr int64_t kMaxSurfacePixels = int64_t{1} << 26;

class Surface : public std::enable_shared_from_this<Surface> {
 public:
  // Creates a surface filled with 0 (black). Fails (returns nullptr) for sizes below 1 or above
  // the limits, or when memory is exhausted.
  static std::shared_ptr<Surface> create(int32_t width, int32_t height, bool bottomUp = false);
  // Creates a top-down surface that shows every pixel as `value` from the kept uniform picture
  // (fillShared) and takes pixels of its own only on its first write: a window's new picture,
  // which is often cleared whole (or drawn over whole) before anything reads it.
  static std::shared_ptr<Surface> createUniform(int32_t width, int32_t height, uint32_t value);

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
  // Copies n pixels of row y from column x to out, reading a packed picture without unpacking it.
  void readRow(int32_t y, int32_t x, int32_t n, uint32_t* out) const;
  uint32_t& at(int32_t x, int32_t y) { return row(y)[x]; }
  uint32_t at(int32_t x, int32_t y) const { return row(y)[x]; }

  // The allocation in memory order (for DIB sections: what the bits pointer addresses).
  uint32_t* bits() { return own(); }
  const uint32_t* bits() const {
    if (packed_) [[unlikely]]
      unpack();
    return pixels_.get();
  }
  size_t pixelCount() const { return count_; }

  // Shows `pixels` (width x height, top-down, never changed by their owner while shared) as
  // this surface's picture until the next write. False, showing nothing, for a bottom-up surface
  // or a null buffer.
  bool show(std::shared_ptr<uint32_t[]> pixels);
  // Shows the picture of `from` (same size, both top-down) without copying it: from then on both
  // surfaces share those pixels until either writes, which copies first. False, changing
  // nothing, for different sizes, a bottom-up surface or the same surface.
  bool sharePixelsOf(Surface& from);
  // Whether the picture is currently shared pixels.
  bool showsShared() const { return shared_; }
  // The value of every pixel while the surface shows a kept uniform picture (fillShared, or shared
  // from a surface showing one) and nothing has written it since; nullopt otherwise.
  std::optional<uint32_t> uniformValue() const {
    return shared_ && uniform_ ? std::optional<uint32_t>(uniformValue_) : std::nullopt;
  }

  // Lets the surface be packed between drawings (a window's client surface; never a bitmap's,
  // whose bits the application may hold), and lists it for the next packIdle().
  void setPackable();
  bool packable() const { return packable_; }
  bool packed() const { return packed_ != nullptr; }
  // The bytes the picture takes now: its pixels, or its packed form.
  size_t pictureBytes() const { return packed_ ? packedWords_ * sizeof(uint32_t) : count_ * sizeof(uint32_t); }
  // Packs the pixels of a packable surface that are its own and that nobody else holds; false
  // (changing nothing) when packing would save less than half of the memory or is not allowed.
  bool pack();
  // Packs every packable surface made, unpacked or written since the last call. What the screen
  // calls once it has composed the pictures.
  static void packIdle();
  // Lists a packable surface for the next packIdle() (what drawing on a window's pixels does).
  void listForPacking() const;

  void fill(uint32_t value);
  // Shows every pixel as `value` without writing a pixel of its own: the picture is one kept
  // uniform picture shared by every surface filled with this value, whatever its size, until the
  // surface's first write (copy on write, as for show()). False, changing nothing, for a
  // bottom-up surface or when memory is exhausted.
  bool fillShared(uint32_t value);
  // Fills a rectangle that lies inside the surface (pixman's SIMD fill; rows in any order).
  void fillRect(const Rect& r, uint32_t value);

 private:
  Surface() = default;
  // A surface of that size without pixels; nullptr for sizes out of range or without memory.
  static std::shared_ptr<Surface> sized(int32_t width, int32_t height, bool bottomUp);
  // Fields in order of size: a window holds a surface, and padding would cost in every one.
  int32_t width_ = 0;
  int32_t height_ = 0;
  size_t count_ = 0;
  // The picture: the surface's own pixels, or shared ones, or (null) packed in packed_. Unpacking
  // on a read changes how the same picture is kept, hence mutable.
  mutable std::shared_ptr<uint32_t[]> pixels_;
  // The packed picture (its two forms are laid out in Surface.cpp).
  mutable std::unique_ptr<uint32_t[]> packed_;
  mutable size_t packedWords_ = 0;
  uint32_t uniformValue_ = 0;
  bool bottomUp_ = false;
  bool packable_ = false;
  mutable bool listed_ = false;  // waits in the list of packIdle()
  bool shared_ = false;  // pixels_ is shown shared: not to be written
  bool uniform_ = false;  // and is a kept uniform picture of uniformValue_
  uint32_t* own() {
    if (shared_ || packed_) [[unlikely]]
      takeShown();
    return pixels_.get();
  }
  void unpack() const;
  void dropPacked() const;
  // Makes the shown pixels the surface's own: copied while anyone else holds them.
  void takeShown();
};

}  // namespace zxp::gfx
