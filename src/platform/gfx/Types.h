// Value types shared by every layer: points, sizes, rectangles, colours, pixels, rounding.
//
// Rectangles follow the platform's rule: left/top inclusive, right/bottom exclusive. Colours come
// in two layouts: the OLE colour 0x00BBGGRR (red in the low byte) that properties and GDI calls
// take, and the pixel 0x00RRGGBB (blue in the low byte) of 32-bit device-independent bitmaps.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zxp {

using BOOL = int32_t;
using UINT = uint32_t;
using LONG = int32_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using BYTE = uint8_t;

// The host's 16-bit Boolean: True is -1 (all bits set), False 0.
using VBBool = int16_t;
constexpr VBBool vbTrue = -1;
constexpr VBBool vbFalse = 0;
constexpr VBBool toVB(bool b) { return b ? vbTrue : vbFalse; }

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  friend constexpr bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int32_t cx = 0;
  int32_t cy = 0;
  friend constexpr bool operator==(const Size&, const Size&) = default;
};

// A 64-bit result brought into the 32-bit range, saturating at its ends. Arithmetic on
// coordinates that come from callers (property values, API arguments) goes through 64 bits and
// this, so that no extreme value overflows.
constexpr int32_t clampToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// A GDI rectangle: the pixels with left <= x < right and top <= y < bottom. Sizes and offsets
// saturate at the 32-bit range instead of wrapping (a rectangle from INT32_MIN to INT32_MAX is
// INT32_MAX wide).
struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  static constexpr Rect fromXYWH(int32_t x, int32_t y, int32_t w, int32_t h) {
    return Rect{x, y, clampToInt32(int64_t{x} + w), clampToInt32(int64_t{y} + h)};
  }
  constexpr int32_t width() const { return clampToInt32(int64_t{right} - left); }
  constexpr int32_t height() const { return clampToInt32(int64_t{bottom} - top); }
  constexpr bool empty() const { return right <= left || bottom <= top; }
  constexpr bool contains(Point p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  constexpr Rect offset(int32_t dx, int32_t dy) const {
    return Rect{clampToInt32(int64_t{left} + dx), clampToInt32(int64_t{top} + dy), clampToInt32(int64_t{right} + dx),
                clampToInt32(int64_t{bottom} + dy)};
  }
  constexpr Rect intersect(const Rect& o) const {
    Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
           std::min(bottom, o.bottom)};
    if (r.empty()) return Rect{};
    return r;
  }
  // Swaps left/right and top/bottom where they are reversed, as GDI does for shape arguments.
  constexpr Rect normalized() const {
    return Rect{std::min(left, right), std::min(top, bottom), std::max(left, right),
                std::max(top, bottom)};
  }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// OLE colour / COLORREF: 0x00BBGGRR. Values with the high bit set are system-colour indices.
using OLE_COLOR = uint32_t;
using COLORREF = uint32_t;
// A 32-bit DIB pixel: 0x00RRGGBB.
using Pixel = uint32_t;

constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;

constexpr COLORREF RGB(int r, int g, int b) {
  return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }

// Swaps the red and blue bytes; the high byte is dropped.
constexpr Pixel oleToPixel(OLE_COLOR c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr OLE_COLOR pixelToOle(Pixel p) {
  return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}
constexpr Pixel makePixel(int r, int g, int b) {
  return static_cast<Pixel>(((r & 0xFF) << 16) | ((g & 0xFF) << 8) | (b & 0xFF));
}
constexpr int pixelR(Pixel p) { return static_cast<int>((p >> 16) & 0xFF); }
constexpr int pixelG(Pixel p) { return static_cast<int>((p >> 8) & 0xFF); }
constexpr int pixelB(Pixel p) { return static_cast<int>(p & 0xFF); }

// Lays colour `src` over `dst` with coverage a (0: dst, 255: src), each channel rounded to the
// nearest level; the high byte of the result is 0. Used for glyph and icon edges.
constexpr Pixel blendPixel(Pixel dst, Pixel src, uint32_t a) {
  const uint32_t inv = 255 - a;
  Pixel out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    uint32_t v = ((src >> shift) & 0xFF) * a + ((dst >> shift) & 0xFF) * inv + 128;
    out |= ((v + (v >> 8)) >> 8) << shift;  // v / 255, rounded
  }
  return out;
}

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
// Values outside the 32-bit range saturate.
inline int32_t nearest(double x) {
  if (std::isnan(x)) return 0;
  // Computed explicitly rather than through the floating-point rounding mode, so that a caller
  // that changes the mode cannot alter drawing results.
  double f = std::floor(x);
  double diff = x - f;
  double r;
  if (diff > 0.5) r = f + 1;
  else if (diff < 0.5) r = f;
  else r = (std::fmod(f, 2.0) == 0.0) ? f : f + 1;
  if (r >= 2147483647.0) return INT32_MAX;
  if (r <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(r);
}

// Integer division truncating toward zero (C++'s own rule, named for readability at call sites).
constexpr int32_t idiv(int32_t a, int32_t b) { return a / b; }

// Twips: the host's unit for control positions and sizes, 15 per pixel. A pixel size beyond
// what 32-bit twips hold (143 million pixels: a one-line caption of tens of megabytes) saturates.
constexpr int32_t kTwipsPerPixel = 15;
constexpr int32_t pixelsToTwips(int32_t px) { return clampToInt32(int64_t{px} * kTwipsPerPixel); }
constexpr int32_t twipsToPixels(int32_t tw) { return tw / kTwipsPerPixel; }

}  // namespace zxp
