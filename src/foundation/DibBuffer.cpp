#include "foundation/DibBuffer.h"

#include <new>

#include "platform/gfx/Surface.h"

namespace zxp::detail {

bool DibBuffer::allocate(int32_t width, int32_t height, bool zeroed) {
  pixels_.reset();
  size_ = 0;
  info_ = BITMAPINFO{};
  if (width < 0 || height < 0) return false;
  const int64_t count = int64_t{width} * height;
  if (width > gfx::kMaxSurfaceSide || height > gfx::kMaxSurfaceSide || count > gfx::kMaxSurfacePixels)
    return false;
  const size_t n = static_cast<size_t>(count);
  try {
    pixels_ = zeroed ? std::make_unique<Pixel[]>(n) : std::make_unique_for_overwrite<Pixel[]>(n);
  } catch (const std::bad_alloc&) {
    return false;
  }
  size_ = n;
  info_.bmiHeader.biWidth = width;
  info_.bmiHeader.biHeight = height;
  return true;
}

int DibBuffer::paint(HDC dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh) const {
  return StretchDIBits(dc, x, y, w, h, sx, sy, sw, sh, pixels_.get(), &info_, DIB_RGB_COLORS,
                       SRCCOPY);
}

int DibBuffer::read(HDC dc, HBITMAP bitmap, int lines) {
  if (lines <= 0) return 0;
  return GetDIBits(dc, bitmap, 0, static_cast<UINT>(lines), pixels_.get(), &info_, DIB_RGB_COLORS);
}

}  // namespace zxp::detail
