// A 32-bit pixel buffer with the bitmap header that describes it, for the gradient and picture
// routines: Width x Height pixels, bottom row first (positive height), 32 bits per pixel, no
// compression. The routines compute a picture into it and paint it with one StretchDIBits call.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/gfx/Gdi.h"

namespace zxp::detail {

class DibBuffer {
 public:
  // Sizes the buffer and its header. False for a negative size, for one larger than the
  // platform's largest surface, or when memory runs out; the buffer is then empty. The pixels
  // are 0 unless `zeroed` is false, for callers that write every pixel anyway.
  bool allocate(int32_t width, int32_t height, bool zeroed = true);

  int32_t width() const { return info_.bmiHeader.biWidth; }
  int32_t height() const { return info_.bmiHeader.biHeight; }
  Pixel* data() { return pixels_.get(); }
  const Pixel* data() const { return pixels_.get(); }
  size_t size() const { return size_; }
  // Row y counted from the bottom line.
  Pixel* row(int32_t y) { return pixels_.get() + static_cast<size_t>(y) * width(); }
  BITMAPINFO& info() { return info_; }

  // StretchDIBits of source (sx, sy, sw, sh) to (x, y, w, h), DIB_RGB_COLORS and SRCCOPY;
  // returns the number of lines painted.
  int paint(HDC dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh) const;
  // GetDIBits of up to `lines` lines of a bitmap, from its bottom line, into the buffer (never
  // more than the buffer's header describes); returns the number of lines read.
  int read(HDC dc, HBITMAP bitmap, int lines);

 private:
  BITMAPINFO info_{};
  std::unique_ptr<Pixel[]> pixels_;
  size_t size_ = 0;
};

}  // namespace zxp::detail
