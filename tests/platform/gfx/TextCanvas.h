// A white canvas with a DC, a font selected, black text and transparent mode, for text tests,
// and the comparisons they read it back with.
#pragma once

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Text.h"

namespace zxp::testing {

constexpr Pixel kTextWhite = 0xFFFFFF;

class TextCanvas {
 public:
  explicit TextCanvas(int w = 240, int h = 120, const char* face = "MS Sans Serif", double pt = 8) {
    surface = gfx::Surface::create(w, h);
    surface->fill(kTextWhite);
    dc = gfx::CreateSurfaceDC(surface);
    font = fontOf(pt, face);
    SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
  }
  ~TextCanvas() {
    DeleteDC(dc);
    DeleteObject(font);
  }
  TextCanvas(const TextCanvas&) = delete;
  TextCanvas& operator=(const TextCanvas&) = delete;

  static HFONT fontOf(double pt, const char* face) {
    gfx::FontDesc d;
    d.name = face;
    d.size = pt;
    return d.create();
  }
  void clear() { surface->fill(kTextWhite); }
  // A copy of the pixels drawn so far.
  std::shared_ptr<gfx::Surface> snapshot() const {
    auto copy = gfx::Surface::create(surface->width(), surface->height());
    std::memcpy(copy->bits(), surface->bits(), surface->pixelCount() * 4);
    return copy;
  }
  int lineHeight() const {
    TEXTMETRIC tm;
    GetTextMetrics(dc, &tm);
    return tm.tmHeight;
  }
  int width(const char* s) const {
    SIZE sz;
    GetTextExtentPoint32(dc, s, static_cast<int>(std::strlen(s)), &sz);
    return sz.cx;
  }
  std::shared_ptr<gfx::Surface> surface;
  HDC dc = 0;
  HFONT font = 0;
};

// The bounding box of every pixel that is not white.
inline Rect inkBox(const gfx::Surface& s) {
  Rect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (int32_t y = 0; y < s.height(); ++y)
    for (int32_t x = 0; x < s.width(); ++x)
      if ((s.at(x, y) & 0xFFFFFF) != kTextWhite)
        box = Rect{std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1), std::max(box.bottom, y + 1)};
  return box.left == INT32_MAX ? Rect{} : box;
}

inline bool samePixels(const gfx::Surface& a, const gfx::Surface& b) {
  for (int32_t y = 0; y < a.height(); ++y)
    if (std::memcmp(a.row(y), b.row(y), static_cast<size_t>(a.width()) * 4) != 0) return false;
  return true;
}

}  // namespace zxp::testing
