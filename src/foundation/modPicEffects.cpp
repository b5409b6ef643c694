#include "foundation/modPicEffects.h"

#include "foundation/DibBuffer.h"
#include "foundation/GradientMath.h"
#include "platform/gfx/GdiRaii.h"

namespace zxp {

namespace {

using detail::DibBuffer;

// Copies the DC's area (sx, sy, sw, sh) into a DIB section shaped like `buffer`, at
// (0, 0, dw, dh), and reads `lines` lines of it into the buffer. Returns the lines read; 0 when
// the memory DC or the DIB section cannot be made. Both are released before returning.
int captureArea(HDC dc, DibBuffer& buffer, int dw, int dh, int sx, int sy, int sw, int sh, int lines) {
  MemoryDC memory(0);
  if (!memory) return 0;
  void* bits = nullptr;
  GdiObject section(CreateDIBSection(memory.get(), &buffer.info(), DIB_RGB_COLORS, &bits, 0, 0));
  if (!section) return 0;
  Selection selected(memory.get(), section.get());
  if (!selected.ok()) return 0;
  StretchBlt(memory.get(), 0, 0, dw, dh, dc, sx, sy, sw, sh, SRCCOPY);
  return buffer.read(memory.get(), section.get(), lines);
}

}  // namespace

int32_t AlphaBlendPicture(HDC dc, HBITMAP bitmap, int32_t x, int32_t y, int32_t width,
                          int32_t height, int32_t srcX, int32_t srcY, int32_t srcWidth,
                          int32_t srcHeight, int32_t alpha) {
  if (dc == 0 || bitmap == 0 || width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0 ||
      alpha < 0 || alpha > 255)
    return 0;
  DibBuffer background, picture;
  if (!background.allocate(srcWidth, srcHeight) || !picture.allocate(srcWidth, srcHeight)) return 0;
  if (captureArea(dc, background, width, height, x, y, srcWidth, srcHeight, height) == 0) return 0;
  if (picture.read(dc, bitmap, srcHeight) == 0) return 0;

  const uint32_t a = static_cast<uint32_t>(alpha);
  Pixel* bg = background.data();
  const Pixel* pic = picture.data();
  for (size_t i = 0, n = background.size(); i < n; ++i) {
    const Pixel b = bg[i], p = pic[i];
    bg[i] = (b & 0xFF000000u) | (gradient::blendByte((b >> 16) & 0xFF, (p >> 16) & 0xFF, a) << 16) |
            (gradient::blendByte((b >> 8) & 0xFF, (p >> 8) & 0xFF, a) << 8) |
            gradient::blendByte(b & 0xFF, p & 0xFF, a);
  }
  return background.paint(dc, x, y, width, height, srcX, srcY, srcWidth, srcHeight);
}

int32_t DrawPictureGrey(HDC dc, HBITMAP bitmap, int32_t x, int32_t y, int32_t width, int32_t height) {
  if (dc == 0 || bitmap == 0 || width < 0 || height < 0) return 0;
  DibBuffer buffer;
  if (!buffer.allocate(width, height) || buffer.read(dc, bitmap, height) == 0) return 0;
  Pixel* px = buffer.data();
  for (size_t i = 0, n = buffer.size(); i < n; ++i) px[i] = gradient::greyPixel(px[i]);
  return buffer.paint(dc, x, y, width, height, 0, 0, width, height);
}

int32_t GreyArea(HDC dc, HBITMAP bitmap, int32_t x, int32_t y, int32_t width, int32_t height) {
  if (dc == 0 || bitmap == 0 || width < 0 || height < 0) return 0;
  DibBuffer buffer;
  if (!buffer.allocate(width, height, false)) return 0;
  // Top row first, each row right to left, stored from the last element backward: the buffer
  // ends up holding the area bottom row first, the right way round.
  Pixel* out = buffer.data() + buffer.size();
  for (int32_t row = y; row < y + height; ++row) {
    for (int32_t col = x + width - 1; col >= x; --col) {
      COLORREF c = GetPixel(dc, col, row);
      *--out = gradient::greyByte(GetRValue(c), GetGValue(c), GetBValue(c)) * 0x010101u;
    }
  }
  return buffer.paint(dc, x, y, width, height, 0, 0, width, height);
}

int32_t DrawPictureTransparent(HDC dc, HBITMAP bitmap, int32_t x, int32_t y, int32_t width,
                               int32_t height, int32_t backX, int32_t backY, int32_t srcWidth,
                               int32_t srcHeight, Pixel transparentColor) {
  if (dc == 0 || width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0) return 0;
  DibBuffer background, picture;
  if (!background.allocate(srcWidth, srcHeight) || !picture.allocate(srcWidth, srcHeight)) return 0;
  if (captureArea(dc, background, srcWidth, srcHeight, backX, backY, width, height, srcHeight) == 0)
    return 0;
  if (picture.read(dc, bitmap, srcHeight) == 0) return 0;

  Pixel* bg = background.data();
  const Pixel* pic = picture.data();
  for (size_t i = 0, n = background.size(); i < n; ++i)
    if (pic[i] != transparentColor) bg[i] = pic[i];
  return background.paint(dc, x, y, width, height, 0, 0, srcWidth, srcHeight);
}

}  // namespace zxp
