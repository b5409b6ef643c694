// A region: a set of pixels as y-x banded rectangles, with pixman doing the algebra.
// Value type (copyable, movable); the GDI handle API (CreateRectRgn, CombineRgn, ...) wraps it.
#pragma once

#include <pixman.h>

#include <span>
#include <vector>

#include "platform/gfx/Types.h"

namespace zxp::gfx {

class Region {
 public:
  Region();
  explicit Region(const Rect& r);
  ~Region();
  Region(const Region& o);
  Region& operator=(const Region& o);
  Region(Region&& o) noexcept;
  Region& operator=(Region&& o) noexcept;

  // A region from spans: for each row y in [top, top + xs.size()), the pixels
  // xs[i].first <= x < xs[i].second (empty spans allowed).
  static Region fromRowSpans(int32_t top, const std::vector<std::pair<int32_t, int32_t>>& xs);

  // The union of rectangles given in any order, overlapping or not (empty ones are skipped).
  static Region fromRects(std::span<const Rect> rects);

  bool empty() const;
  Rect box() const;
  bool contains(Point p) const;
  // The rectangles, y-x banded (sorted by top, then left).
  std::span<const pixman_box32_t> rects() const;

  Region intersected(const Region& o) const;
  Region united(const Region& o) const;
  Region subtracted(const Region& o) const;
  Region xored(const Region& o) const;
  Region intersected(const Rect& r) const;
  void translate(int32_t dx, int32_t dy);
  bool operator==(const Region& o) const;

  pixman_region32_t* raw() { return &r_; }
  const pixman_region32_t* raw() const { return &r_; }

 private:
  pixman_region32_t r_;
};

}  // namespace zxp::gfx
