// Bitmaps: compatible bitmaps, DIB sections and reading a bitmap's pixels back (GetDIBits).
//
// Every bitmap is a 32-bit surface. A DIB section's surface keeps the memory order its header
// asks for (a positive biHeight is bottom-up: the first row in memory is the picture's bottom
// row), and the bits pointer the application gets addresses that memory directly.
#include <algorithm>
#include <cstring>

#include "platform/gfx/BlitEngine.h"

namespace zxp {

using namespace zxp::gfx;

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
  if (!dcFromHandle(hdc) || width < 0 || height < 0) return 0;
  // An empty size gets the stock 1 x 1 bitmap, as on the platform.
  if (width == 0 || height == 0) return stockBitmap();
  return CreateBitmapForSurface(Surface::create(width, height));
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* bmi, UINT usage, void** bits, HANDLE section,
                         DWORD offset) {
  // The DC only matters for palette-indexed colour tables, which 32-bit DIBs do not have.
  if (bits) *bits = nullptr;
  auto fmt = dibFormat(bmi, usage);
  if (!fmt || section != 0 || offset != 0) return 0;  // file-mapping sections are not supported
  auto surface = Surface::create(fmt->width, fmt->height, fmt->bottomUp);
  if (!surface) return 0;
  auto b = std::make_shared<BitmapObj>();
  b->surface = surface;
  b->dib = true;
  HBITMAP h = handles().add(ObjKind::Bitmap, b);
  if (bits) *bits = surface->bits();
  return h;
}

int GetDIBits(HDC hdc, HBITMAP hbm, UINT startScan, UINT lines, void* bits, BITMAPINFO* bmi, UINT usage) {
  BitmapObj* b = bitmapFromHandle(hbm);
  if (!dcFromHandle(hdc) || !b || !b->surface || !bmi || usage != DIB_RGB_COLORS) return 0;
  BITMAPINFOHEADER& h = bmi->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER)) return 0;
  const Surface& s = *b->surface;

  if (!bits) {
    // A query: describe the bitmap as a 32-bit DIB. A zero bit count asks for the whole header
    // (bottom-up); otherwise the caller's orientation is kept.
    if (h.biBitCount != 0 && h.biBitCount != 32) return 0;
    bool topDown = h.biBitCount != 0 && h.biHeight < 0;
    h.biWidth = s.width();
    h.biHeight = topDown ? -s.height() : s.height();
    h.biPlanes = 1;
    h.biBitCount = 32;
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(s.width()) * static_cast<DWORD>(s.height()) * 4;
    h.biClrUsed = 0;
    h.biClrImportant = 0;
    return s.height();
  }

  auto fmt = dibFormat(bmi, usage);
  if (!fmt) return 0;
  // Scan lines are counted from the bottom for a bottom-up request and from the top for a
  // top-down one; line i lands in row i of the caller's buffer (in its memory order). The copy
  // never goes past the bitmap nor past the height the caller's header describes.
  const int64_t available = std::min<int64_t>(s.height(), fmt->height);
  if (int64_t{startScan} >= available) return 0;
  const int32_t n = static_cast<int32_t>(std::min<int64_t>(lines, available - startScan));
  const int32_t cw = std::min(s.width(), fmt->width);
  auto* out = static_cast<uint32_t*>(bits);
  for (int32_t i = 0; i < n; ++i) {
    int32_t scan = static_cast<int32_t>(startScan) + i;
    int32_t srcRow = fmt->bottomUp ? s.height() - 1 - scan : scan;
    std::memcpy(out + static_cast<size_t>(i) * fmt->width, s.row(srcRow), static_cast<size_t>(cw) * 4);
  }
  return n;
}

}  // namespace zxp
