// Pixel geometry of the GDI shapes: which pixels a line, a round rectangle, an ellipse, a wide
// pen's stroke or a polygon covers, one row at a time.
//
// The drawing calls (Lines.cpp, Shapes.cpp) and the region constructors (Regions.cpp) both ask
// this file. A shape and the region of the same arguments differ as on the platform: a region
// leaves out the box's right column and bottom row, so CreateEllipticRgn(l, t, r, b) covers what
// Ellipse(l, t, r - 1, b - 1) paints. Nothing here knows about device contexts. Coordinates are
// 64-bit: the arguments are 32-bit, but their differences, the viewport offset and a wide pen's
// growth do not fit 32 bits. Callers ask only for the rows they need (the clip box), so an
// enormous shape costs what its visible part costs.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
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

struct Point64 {
  int64_t x = 0;
  int64_t y = 0;
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

// One quadrant of the platform's midpoint ellipse in a w x h box (w, h >= 1): the lower right
// quarter, rows j = h / 2 ... h - 1 of the box counted from its top, columns counted from its
// left. The platform traces the quadrant with an incremental error term (Zingl's algorithm),
// starting at the middle row's rightmost pixel and stepping left, down or both; the outline of
// Ellipse and RoundRect is that trace mirrored into the other quadrants, and the region
// constructors use the same trace to cut each row's ends. The two differ slightly: the outline
// stops at the middle column, the region runs one step further, and the region records a row's
// inset when the trace enters the row (its outermost pixel).
//
// Up to kExactEllipse pixels per side the trace is run exactly, once per shape (its cost is the
// quadrant's width plus height). Larger ellipses (only their visible part is ever drawn, and no
// surface is that large) follow the true ellipse through pixel centres, which the trace matches
// to within one pixel.
class EllipseQuadrant {
 public:
  static constexpr int64_t kExactEllipse = int64_t{1} << 16;
  EllipseQuadrant(int64_t w, int64_t h);

  int64_t width() const { return w_; }
  int64_t height() const { return h_; }
  bool exact() const { return exact_; }
  int64_t firstRow() const { return h_ / 2; }
  // The last row that holds outline pixels (the trace may end above the bottom row of a very
  // narrow ellipse).
  int64_t lastPathRow() const { return lastPath_; }
  // The outline's columns on row j, [lo, hi + 1); empty outside firstRow() ... lastPathRow().
  Span path(int64_t j) const;
  // The pixels the region cuts from each end of row j (firstRow() <= j < height()); 0 on the
  // middle row.
  int64_t inset(int64_t j) const;

 private:
  int64_t w_, h_;
  int64_t lastPath_ = 0;
  bool exact_ = false;
  // Exact trace, indexed by j - firstRow().
  std::vector<int32_t> lo_, hi_, inset_;
  int64_t trueInset(int64_t j) const;  // from the true ellipse (large sizes)
};

// The region CreateRoundRectRgn builds for a box (right column and bottom row already left out
// by the caller): corners as large as the box make an ellipse, corners below 2 a rectangle.
// Rows above the middle mirror those below it; the middle rows run the full width.
class RoundRegion {
 public:
  RoundRegion(Box box, int64_t cornerW, int64_t cornerH);
  const Box& box() const { return box_; }
  Span row(int64_t y) const;
  // The corners' quadrant; null for a rectangle.
  const EllipseQuadrant* quadrant() const { return q_ ? &*q_ : nullptr; }

 private:
  Box box_;
  int64_t cw_ = 0, ch_ = 0;
  std::optional<EllipseQuadrant> q_;
};

// The outline of RoundRect(box, cornerW, cornerH) (Ellipse: corners as large as the box) drawn
// with a 1-pixel pen: a closed path of pixels. Its corners are the quadrants of a midpoint
// ellipse, mirrored left/right and top/bottom (so the path is mirror-symmetric in its box by
// construction), joined by straight lines along the sides; the trace's last row is joined
// across. Corners of 2 or less make the plain rectangle frame. The box is [left, right) x
// [top, bottom) and the path runs through its outermost pixels.
class RoundShape {
 public:
  // The box is taken as it is: a reversed box is an empty shape (callers normalise arguments).
  RoundShape(Box box, int64_t cornerW, int64_t cornerH);
  static RoundShape ellipse(Box box) { return RoundShape(box, box.width(), box.height()); }

  const Box& box() const { return box_; }
  bool square() const { return !round_; }
  // Square, or with corners traced exactly (see EllipseQuadrant).
  bool traced() const { return !round_ || q()->exact(); }
  // The pixels on or inside the path on row y: the region of the box grown by one pixel to the
  // right and bottom (what the brush may cover). Empty outside the box.
  Span row(int64_t y) const { return fill_.row(y); }
  // The path's pixels on row y: up to two spans, left to right; returns how many.
  int outline(int64_t y, Span out[2]) const;
  // The path's pixels in drawing order, closed (the last joins the first): what a wide pen
  // follows. Only for shapes whose corners are traced exactly (or square).
  std::vector<Point64> pathPoints() const;

 private:
  Box box_;
  int64_t cw_ = 0, ch_ = 0;
  RoundRegion fill_;
  // Round corners trace the same quadrant as the region of the brush: fill_ holds it.
  bool round_ = false;
  const EllipseQuadrant* q() const { return fill_.quadrant(); }
};

// Walks the pixels of a 1-pixel line from (x0, y0) to (x1, y1), the last point excluded: along
// the major axis one pixel per step, the minor coordinate rounded to the nearest pixel (exact
// halves go to the smaller coordinate, so a line and its reverse differ only in their end points).
// Only the steps whose major coordinate lies inside `clip` are visited, so a line of 2^32 pixels
// costs what its visible part costs. Calls fn(x, y, step) with step the pixel's index along the
// whole line (for style patterns). Returns the line's length in steps.
template <class Fn>
int64_t walkLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1, const Box& clip, Fn&& fn);

// A wide pen's stroke along a polyline, as the platform builds it: every segment is a band of
// the pen's width (a horizontal or vertical segment the w-pixel-wide rectangle from its first
// point up to, not including, its last; any other the quadrilateral whose half-widths across the
// segment are rounded to whole pixels, filled like a polygon), and every point gets a round cap
// or join: the region of the ellipse in the w x w box [-(w/2), w - w/2) around it (for a 3-pixel
// pen a plus, for a 2-pixel pen a 2 x 2 square up and left of the point). The stroke is the
// union of all of these. Only the rows in `rows` are computed.
//
// A curve's pixel path has a point at every pixel, so the work is kept per point small: runs of
// equal steps are one band, a run along a row or a column sweeps its caps at once, a unit step
// adds only the part of its band outside the caps at its two ends (worked out once per
// direction), and each row gathers its spans as a few growing runs, a new span widening the run
// it touches, so nothing needs sorting but the few runs a row ends with.
class WideStroke {
 public:
  WideStroke(std::span<const Point64> pts, bool closed, int64_t width, Span rows);
  ~WideStroke();
  WideStroke(const WideStroke&) = delete;
  WideStroke& operator=(const WideStroke&) = delete;
  // The rows that may hold pixels (within `rows`), as a Span over y.
  Span rows() const { return rows_; }
  // The stroke's pixels on row y, left to right, without overlaps.
  std::span<const Span> row(int64_t y) const;

 private:
  void add(int64_t y, int64_t left, int64_t right);
  void addCap(Point64 p);
  void addCapRun(Point64 a, Point64 b);  // caps at every point of a horizontal or vertical run
  void addSegment(Point64 a, Point64 b);
  // Whether the band of the unit step (sx, sy) along a row or a column lies within the caps at
  // its two ends.
  bool unitBandCovered(int64_t sx, int64_t sy);
  int64_t w_;
  Span rows_;
  // Row y's spans, runs_[y - rows_.left]: while they are gathered a few runs (the rest in
  // overflow_), then merged. A row left with more than kRuns spans keeps them in merged_.
  static constexpr size_t kRuns = 4;
  struct Runs {
    std::array<Span, kRuns> run;
    uint32_t n = 0;
    uint32_t start = 0;
  };
  std::vector<Runs> runs_;
  // The row table of the last stroke built on this thread, kept for the next one: a pixel
  // path is stroked on every paint, and sizing the table afresh each time costs as much as
  // the stroke's caps.
  static std::vector<Runs>& spareRuns();
  std::vector<std::pair<int64_t, Span>> overflow_;
  std::vector<Span> merged_;
  void addTo(Runs& row, int64_t left, int64_t right);
  static size_t mergeSpans(Span* spans, size_t n);
  // Pen shapes that repeat along a pixel path, relative to their point: the cap, its rows (for
  // pens up to kCachedCap pixels), what the band of a unit diagonal step adds to its end caps
  // in each direction, and whether a straight unit step's band lies within its end caps. They depend on the width only, so
  // the last width's are kept per thread; pen_ points at them while the stroke is built.
  static constexpr int64_t kCachedCap = 64;
  struct PenShapes;
  static PenShapes& penShapes(int64_t width);
  PenShapes* pen_ = nullptr;
  Span capRow(int64_t d) const;
  // The pixels of the band of the unit diagonal step (dx, dy) from (0, 0) outside its end caps.
  const std::vector<std::pair<int64_t, Span>>& diagonalRest(int64_t dx, int64_t dy);
  // The band of the segment a-b on the rows `rows`, appended to out.
  void bandOf(Point64 a, Point64 b, Span rows, std::vector<std::pair<int64_t, Span>>& out) const;
};

// The interior pixels of a polygon on row y, alternate (even-odd) fill: a pixel whose top-left
// point lies on a left or top edge is inside, one on a right or bottom edge outside, so the
// polygon (l,t) (r,t) (r,b) (l,b) covers exactly the rectangle [l, r) x [t, b).
// The spans are appended to `out` in increasing x.
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
