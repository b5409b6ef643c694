#include "platform/gfx/Region.h"

#include <utility>

namespace zxp::gfx {

Region::Region() { pixman_region32_init(&r_); }

Region::Region(const Rect& r) {
  if (r.empty())
    pixman_region32_init(&r_);
  else
    pixman_region32_init_rect(&r_, r.left, r.top, static_cast<unsigned>(r.width()),
                              static_cast<unsigned>(r.height()));
}

Region::~Region() { pixman_region32_fini(&r_); }

Region::Region(const Region& o) {
  pixman_region32_init(&r_);
  pixman_region32_copy(&r_, const_cast<pixman_region32_t*>(&o.r_));
}

Region& Region::operator=(const Region& o) {
  if (this != &o) pixman_region32_copy(&r_, const_cast<pixman_region32_t*>(&o.r_));
  return *this;
}

Region::Region(Region&& o) noexcept : Region() { std::swap(r_, o.r_); }

Region& Region::operator=(Region&& o) noexcept {
  if (this != &o) std::swap(r_, o.r_);
  return *this;
}

Region Region::fromRowSpans(int32_t top, const std::vector<std::pair<int32_t, int32_t>>& xs) {
  std::vector<pixman_box32_t> boxes;
  boxes.reserve(xs.size());
  for (size_t i = 0; i < xs.size(); ++i) {
    if (xs[i].second <= xs[i].first) continue;
    int32_t y = top + static_cast<int32_t>(i);
    boxes.push_back(pixman_box32_t{xs[i].first, y, xs[i].second, y + 1});
  }
  Region out;
  pixman_region32_fini(&out.r_);
  pixman_region32_init_rects(&out.r_, boxes.data(), static_cast<int>(boxes.size()));
  return out;
}

Region Region::fromRects(std::span<const Rect> rects) {
  std::vector<pixman_box32_t> boxes;
  boxes.reserve(rects.size());
  for (const Rect& r : rects)
    if (!r.empty()) boxes.push_back(pixman_box32_t{r.left, r.top, r.right, r.bottom});
  Region out;
  pixman_region32_fini(&out.r_);
  pixman_region32_init_rects(&out.r_, boxes.data(), static_cast<int>(boxes.size()));
  return out;
}

bool Region::empty() const { return !pixman_region32_not_empty(const_cast<pixman_region32_t*>(&r_)); }

Rect Region::box() const {
  if (empty()) return Rect{};
  const pixman_box32_t* b = pixman_region32_extents(const_cast<pixman_region32_t*>(&r_));
  return Rect{b->x1, b->y1, b->x2, b->y2};
}

bool Region::contains(Point p) const {
  return pixman_region32_contains_point(const_cast<pixman_region32_t*>(&r_), p.x, p.y, nullptr);
}

std::span<const pixman_box32_t> Region::rects() const {
  int n = 0;
  const pixman_box32_t* b = pixman_region32_rectangles(const_cast<pixman_region32_t*>(&r_), &n);
  return {b, static_cast<size_t>(n)};
}

Region Region::intersected(const Region& o) const {
  Region out;
  pixman_region32_intersect(&out.r_, const_cast<pixman_region32_t*>(&r_),
                            const_cast<pixman_region32_t*>(&o.r_));
  return out;
}

Region Region::united(const Region& o) const {
  Region out;
  pixman_region32_union(&out.r_, const_cast<pixman_region32_t*>(&r_),
                        const_cast<pixman_region32_t*>(&o.r_));
  return out;
}

Region Region::subtracted(const Region& o) const {
  Region out;
  pixman_region32_subtract(&out.r_, const_cast<pixman_region32_t*>(&r_),
                           const_cast<pixman_region32_t*>(&o.r_));
  return out;
}

Region Region::xored(const Region& o) const { return united(o).subtracted(intersected(o)); }

Region Region::intersected(const Rect& r) const {
  Region out;
  if (r.empty()) return out;
  pixman_region32_intersect_rect(&out.r_, const_cast<pixman_region32_t*>(&r_), r.left, r.top,
                                 static_cast<unsigned>(r.width()), static_cast<unsigned>(r.height()));
  return out;
}

void Region::translate(int32_t dx, int32_t dy) { pixman_region32_translate(&r_, dx, dy); }

bool Region::operator==(const Region& o) const {
  return pixman_region32_equal(const_cast<pixman_region32_t*>(&r_),
                               const_cast<pixman_region32_t*>(&o.r_));
}

}  // namespace zxp::gfx
