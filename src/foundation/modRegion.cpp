#include "foundation/modRegion.h"

#include <cstring>
#include <vector>

#include "platform/gfx/GdiRaii.h"
#include "platform/ui/User.h"

namespace zxp {

HRGN RegionWithoutColor(HDC hdc, const RECT& area, COLORREF key) {
  const int32_t w = area.right - area.left;
  const int32_t h = area.bottom - area.top;
  if (w <= 0 || h <= 0) return CreateRectRgn(0, 0, 0, 0);

  // Copy the area once into a top-down 32-bit section and scan it there: one blit instead of a
  // GetPixel per pixel.
  MemoryDC mem(hdc);
  if (!mem) return 0;
  BITMAPINFO bmi{};
  bmi.bmiHeader.biWidth = w;
  bmi.bmiHeader.biHeight = -h;
  void* bits = nullptr;
  GdiObject section(CreateDIBSection(mem.get(), &bmi, DIB_RGB_COLORS, &bits, 0, 0));
  if (!section || !bits) return 0;
  Selection selected(mem.get(), section.get());
  if (!selected.ok()) return 0;
  // Pixels the blit cannot reach (outside the DC's surface) must not read as the key.
  const Pixel keyPixel = oleToPixel(key);
  const Pixel notKey = keyPixel ^ 1u;
  Pixel* pixels = static_cast<Pixel*>(bits);
  for (size_t i = 0, n = static_cast<size_t>(w) * static_cast<size_t>(h); i < n; ++i) pixels[i] = notKey;
  if (!BitBlt(mem.get(), 0, 0, w, h, hdc, area.left, area.top, SRCCOPY)) return 0;

  // The runs, straight into region data: a 32-byte header followed by the rectangles.
  std::vector<RECT> runs;
  for (int32_t y = 0; y < h; ++y) {
    const Pixel* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(w);
    int32_t x = 0;
    while (x < w) {
      while (x < w && (row[x] & 0xFFFFFFu) == keyPixel) ++x;
      const int32_t start = x;
      while (x < w && (row[x] & 0xFFFFFFu) != keyPixel) ++x;
      if (x > start) runs.push_back(RECT{area.left + start, area.top + y, area.left + x, area.top + y + 1});
    }
  }
  std::vector<char> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
  RGNDATAHEADER header;
  header.nCount = static_cast<DWORD>(runs.size());
  header.nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
  header.rcBound = area;
  std::memcpy(data.data(), &header, sizeof header);
  if (!runs.empty()) std::memcpy(data.data() + sizeof header, runs.data(), runs.size() * sizeof(RECT));
  return ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data()));
}

void CutCornerPixels(HWND hwnd, int32_t width, int32_t height) {
  if (width >= 3 && height >= 3) {
    // The three bands of the shape (top row, the rows between, bottom row) in one region build,
    // rather than a rectangle less four one-pixel regions.
    struct {
      RGNDATAHEADER header;
      RECT bands[3];
    } data;
    data.header.nCount = 3;
    data.header.nRgnSize = sizeof data.bands;
    data.header.rcBound = RECT{0, 0, width, height};
    data.bands[0] = RECT{1, 0, width - 1, 1};
    data.bands[1] = RECT{0, 1, width, height - 1};
    data.bands[2] = RECT{1, height - 1, width - 1, height};
    HRGN shape = ExtCreateRegion(nullptr, sizeof data, reinterpret_cast<const RGNDATA*>(&data));
    if (shape && !SetWindowRgn(hwnd, shape, TRUE)) DeleteObject(shape);
    return;
  }
  HRGN shape = CreateRectRgn(0, 0, width, height);
  const POINT corners[] = {{0, 0}, {width - 1, 0}, {0, height - 1}, {width - 1, height - 1}};
  for (const POINT& c : corners) {
    GdiObject corner(CreateRectRgn(c.x, c.y, c.x + 1, c.y + 1));
    CombineRgn(shape, shape, static_cast<HRGN>(corner.get()), RGN_DIFF);
  }
  if (!SetWindowRgn(hwnd, shape, TRUE)) DeleteObject(shape);
}

}  // namespace zxp
