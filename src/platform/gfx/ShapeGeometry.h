// Pixel geometry of the GDI shapes: which pixels a line, a round rectangle, an ellipse, a wide
// pen's stroke or a polygon covers, one row at a time.
//
// The drawing calls (Lines.cpp, Shapes.cpp) and the region constructors (Regions.cpp) both ask
// this file, so a shape and the region of the same arguments cover the very same pixels. Nothing
// here knows about device contexts. Coordinates are 64-bit: the arguments are 32-bit, but their
// differences, the viewport offset and a wide pen's growth do not fit 32 bits. Callers ask only
// for the rows they need (the clip box), so an enormous shape costs what its visible part costs.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "platform/gfx/Types.h"

namespace zxp::gfx {

// A half-open box in 64-bit coordinates: left <= x < right, top <= y < bottom.
struct Box {
  int64_t left = 0;
  int64_t top = 0;
  int64_t right = 0;
  int64_t bottom = 0;

  static Box of(const Rect& r) { return Box{r.left, r.top, r.right, r.bottom}; }
  int64_t width() const { return right - left; }
  int64_t height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  Box normalized() const;
  Box inflated(int64_t dl, int64_t dt, int64_t dr, int64_t db) const {
    return Box{left - dl, top - dt, right + dr, bottom + db};
  }
};

// The pixels left <= x < right of one row; empty when right <= left.
struct Span {
  int64_t left = 0;
  int64_t right = 0;
  bool empty() const { return right <= left; }
};

// The parts of `a` outside `hole` (left piece, right piece; either may be empty).
std::array<Span, 2> spanMinus(Span a, Span hole);

// Clamps a 64-bit value into the 32-bit range (for handing spans to the 32-bit raster layer).
inline int32_t clamp32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// A round rectangle: the box with each corner cut along a quarter of a cornerW x cornerH ellipse.
// Corners as large as the box make an ellipse; corners of 0 the plain rectangle. A corner pixel
// belongs to the shape when its centre lies strictly inside the ellipse inscribed in a
// cornerW x cornerH box; besides, the corner ellipse's middle row(s) run the full width and each
// of its rows keeps the middle pixel(s), so that the shape reaches all four sides of its box,
// however flat. By construction every row's span is centred in the box and row
// top + i equals row bottom - 1 - i: the shape is mirror-symmetric left/right and top/bottom.
class RoundShape {
 public:
  // The box is taken as it is: a reversed box is an empty shape (callers normalise arguments).
  // Corners are clamped to the box; a corner of zero width or height is square.
  RoundShape(Box box, int64_t cornerW, int64_t cornerH);
  // An ellipse filling the box.
  static RoundShape ellipse(Box box) { return RoundShape(box, box.width(), box.height()); }

  const Box& box() const { return box_; }
  int64_t cornerW() const { return cw_; }
  int64_t cornerH() const { return ch_; }
  // The shape's pixels on row y (empty outside the box).
  Span row(int64_t y) const;
  // The pixels of row y whose four neighbours are all in the shape: what a 1-pixel outline
  // leaves for the interior. The outline of row y is row(y) minus interior(y).
  Span interior(int64_t y) const;

 private:
  int64_t inset(int64_t y) const;  // pixels cut from each end of row y
  Box box_;
  int64_t cw_;
  int64_t ch_;
};

// Walks the pixels of a 1-pixel line from (x0, y0) to (x1, y1), the last point excluded: along
// the major axis one pixel per step, the minor coordinate rounded to the nearest pixel (exact
// halves go to the smaller coordinate, so a line and its reverse differ only in their end points).
// Only the steps whose major coordinate lies inside `clip` are visited, so a line of 2^32 pixels
// costs what its visible part costs. Calls fn(x, y, step) with step the pixel's index along the
// whole line (for style patterns). Returns the line's length in steps.
template <class Fn>
int64_t walkLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1, const Box& clip, Fn&& fn);

// The rows a wide pen's stroke of the segment a-b can touch, and its pixels on row y. A pen of
// width w is a disc of diameter w swept along the segment (round caps), centred on it; for even
// widths the centre lies half a pixel up and left of the coordinate, so a horizontal line of
// width 2 at y covers rows y - 1 and y.
struct Segment {
  int64_t x0, y0, x1, y1;
};
Span strokeRows(const Segment& s, int64_t width);  // [top, bottom) as a Span over y
Span strokeRow(const Segment& s, int64_t width, int64_t y);

// The interior pixels of a polygon on row y, alternate (even-odd) fill: a pixel whose top-left
// point lies on a left or top edge is inside, one on a right or bottom edge outside, so the
// polygon (l,t) (r,t) (r,b) (l,b) covers exactly the rectangle [l, r) x [t, b).
// The spans are appended to `out` in increasing x.
struct Point64 {
  int64_t x = 0;
  int64_t y = 0;
};
void polygonRow(std::span<const Point64> pts, int64_t y, std::vector<Span>& out);
// The rows [top, bottom) of a polygon's bounding box, as a Span over y.
Span polygonRows(std::span<const Point64> pts);

// ---- walkLine ------------------------------------------------------------------------------------

template <class Fn>
int64_t walkLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1, const Box& clip, Fn&& fn) {
  const int64_t dx = x1 - x0;
  const int64_t dy = y1 - y0;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const int64_t n = std::max(std::llabs(dx), std::llabs(dy));
  if (n == 0) return 0;
  const int64_t major0 = xMajor ? x0 : y0;
  const int64_t minor0 = xMajor ? y0 : x0;
  const int64_t majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
  const int64_t minorDelta = xMajor ? dy : dx;
  const int64_t minorStep = minorDelta >= 0 ? 1 : -1;
  const int64_t lo = xMajor ? clip.left : clip.top;
  const int64_t hi = xMajor ? clip.right : clip.bottom;

  // The steps i in [0, n) with major0 + i * majorStep inside [lo, hi).
  int64_t first = majorStep > 0 ? lo - major0 : major0 - (hi - 1);
  int64_t last = majorStep > 0 ? hi - major0 : major0 - lo + 1;
  first = std::max<int64_t>(first, 0);
  last = std::min(last, n);
  if (first >= last) return n;

  // minor offset of step i = floor((2 * i * |minorDelta| + bias) / (2n)); the bias picks the
  // rounding of exact halves toward the smaller coordinate in either direction.
  const int64_t slope2 = 2 * std::llabs(minorDelta);
  const int64_t twoN = 2 * n;
  const __int128 bias = minorStep > 0 ? n - 1 : n;
  const __int128 start = static_cast<__int128>(first) * slope2 + bias;
  int64_t offset = static_cast<int64_t>(start / twoN);
  int64_t rem = static_cast<int64_t>(start % twoN);
  for (int64_t i = first; i < last; ++i) {
    const int64_t major = major0 + i * majorStep;
    const int64_t minor = minor0 + offset * minorStep;
    if (xMajor) fn(major, minor, i);
    else fn(minor, major, i);
    rem += slope2;
    if (rem >= twoN) {
      rem -= twoN;
      ++offset;
    }
  }
  return n;
}

}  // namespace zxp::gfx
