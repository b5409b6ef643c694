#include "platform/gfx/ShapeGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zxp::gfx {

Box Box::normalized() const {
  return Box{std::min(left, right), std::min(top, bottom), std::max(left, right),
             std::max(top, bottom)};
}

std::array<Span, 2> spanMinus(Span a, Span hole) {
  if (a.empty()) return {Span{}, Span{}};
  if (hole.empty()) return {a, Span{}};
  return {Span{a.left, std::min(a.right, hole.left)}, Span{std::max(a.left, hole.right), a.right}};
}

// ---- RoundShape -------------------------------------------------------------------------------------

namespace {

// Sizes below these bounds square and multiply exactly in 64 or 128 bits.
constexpr int64_t kExact64 = int64_t{1} << 15;
constexpr int64_t kExact128 = int64_t{1} << 31;

// Whether the point (dx / 2, dy / 2), in half pixels from the centre of a w x h box, lies
// strictly inside the ellipse inscribed in the box: dx² h² < w² (h² - dy²).
bool insideEllipse(int64_t dx, int64_t dy, int64_t w, int64_t h) {
  if (w < kExact64 && h < kExact64) return dx * dx * h * h < w * w * (h * h - dy * dy);
  if (w < kExact128 && h < kExact128) {
    using I = __int128;
    return I{dx} * dx * h * h < I{w} * w * (I{h} * h - I{dy} * dy);
  }
  using L = long double;
  L ex = L(dx) / L(w);
  L ey = L(dy) / L(h);
  return ex * ex + ey * ey < 1;
}

// The largest |dx| of the parity of w + 1 inside the ellipse on the row dy (half-pixel units),
// or -1 when the row has no pixel inside.
int64_t widestDx(int64_t dy, int64_t w, int64_t h) {
  // An estimate in floating point, corrected below by the exact test.
  const int64_t a = std::llabs(dy);
  const double est = static_cast<double>(w) *
                     std::sqrt(static_cast<double>(h - a) * static_cast<double>(h + a)) /
                     static_cast<double>(h);
  int64_t d = static_cast<int64_t>(std::floor(est));
  const int64_t parity = (w + 1) & 1;
  if ((d & 1) != parity) --d;
  while (d >= 0 && !insideEllipse(d, dy, w, h)) d -= 2;
  while (d + 2 < w && insideEllipse(d + 2, dy, w, h)) d += 2;
  return d;
}

}  // namespace

RoundShape::RoundShape(Box box, int64_t cornerW, int64_t cornerH) : box_(box) {
  cw_ = std::clamp<int64_t>(cornerW, 0, std::max<int64_t>(box_.width(), 0));
  ch_ = std::clamp<int64_t>(cornerH, 0, std::max<int64_t>(box_.height(), 0));
  if (cw_ == 0 || ch_ == 0) cw_ = ch_ = 0;  // a corner without extent is a square corner
}

int64_t RoundShape::inset(int64_t y) const {
  if (cw_ == 0) return 0;
  const int64_t i = y - box_.top;
  const int64_t half = ch_ / 2;
  int64_t row;  // the corner ellipse's row
  if (i < half) row = i;
  else if (i >= box_.height() - half) row = i - (box_.height() - ch_);
  else return 0;
  // The centre row(s) run the full width and every row keeps its centre pixel(s), so that even
  // a very flat or very thin ellipse touches all four sides of its box.
  const int64_t dy = 2 * row + 1 - ch_;
  if (std::llabs(dy) <= 1) return 0;
  return std::min((cw_ - 1 - widestDx(dy, cw_, ch_)) / 2, (cw_ - 1) / 2);
}

Span RoundShape::row(int64_t y) const {
  if (box_.empty() || y < box_.top || y >= box_.bottom) return Span{};
  const int64_t k = inset(y);
  return Span{box_.left + k, box_.right - k};
}

Span RoundShape::interior(int64_t y) const {
  const Span r = row(y);
  const Span above = row(y - 1);
  const Span below = row(y + 1);
  if (r.empty() || above.empty() || below.empty()) return Span{};
  return Span{std::max({r.left + 1, above.left, below.left}),
              std::min({r.right - 1, above.right, below.right})};
}

// ---- Wide strokes -----------------------------------------------------------------------------------

namespace {

using L = long double;
constexpr L kInf = std::numeric_limits<L>::infinity();

struct Interval {
  L lo = kInf;
  L hi = -kInf;
  bool empty() const { return !(lo < hi); }
  void unite(const Interval& o) {
    if (o.empty()) return;
    lo = std::min(lo, o.lo);
    hi = std::max(hi, o.hi);
  }
};

// The x with lo <= c * x + d <= hi.
Interval linearRange(L c, L d, L lo, L hi) {
  if (c == 0) return (lo <= d && d <= hi) ? Interval{-kInf, kInf} : Interval{};
  L a = (lo - d) / c;
  L b = (hi - d) / c;
  return Interval{std::min(a, b), std::max(a, b)};
}

Interval discRow(L cx, L cy, L r, L sy) {
  L t = r * r - (sy - cy) * (sy - cy);
  if (t <= 0) return Interval{};
  L h = std::sqrt(t);
  return Interval{cx - h, cx + h};
}

// The part of row sy whose projection falls on the segment and whose distance to it is below r.
Interval bandRow(const Segment& s, L r, L sy) {
  L dx = L(s.x1 - s.x0);
  L dy = L(s.y1 - s.y0);
  if (dx == 0 && dy == 0) return Interval{};
  L len2 = dx * dx + dy * dy;
  L ry = sy - L(s.y0);
  // projection: 0 <= (x - x0) dx + ry dy <= len2, with x measured from x0
  Interval along = linearRange(dx, ry * dy, 0, len2);
  // distance: |(x - x0) dy - ry dx| < r * len
  L rl = r * std::sqrt(len2);
  Interval across = linearRange(dy, -ry * dx, -rl, rl);
  Interval both{std::max(along.lo, across.lo), std::min(along.hi, across.hi)};
  if (both.empty()) return Interval{};
  return Interval{both.lo + L(s.x0), both.hi + L(s.x0)};
}

int64_t toInt64(L v) {
  constexpr L kLimit = static_cast<L>(int64_t{1} << 62);
  return static_cast<int64_t>(std::clamp(v, -kLimit, kLimit));
}

}  // namespace

Span strokeRows(const Segment& s, int64_t width) {
  return Span{std::min(s.y0, s.y1) - width / 2 - 1, std::max(s.y0, s.y1) + width / 2 + 2};
}

Span strokeRow(const Segment& s, int64_t width, int64_t y) {
  const L off = (width % 2 == 0) ? L(0.5) : L(0);
  const L r = L(width) / 2;
  const L sy = L(y) + off;
  Interval x = discRow(L(s.x0), L(s.y0), r, sy);
  x.unite(discRow(L(s.x1), L(s.y1), r, sy));
  x.unite(bandRow(s, r, sy));
  if (x.empty()) return Span{};
  // pixels px with lo < px + off < hi
  return Span{toInt64(std::floor(x.lo - off)) + 1, toInt64(std::ceil(x.hi - off))};
}

// ---- Polygons -----------------------------------------------------------------------------------------

namespace {

int64_t ceilDiv(__int128 num, int64_t den) {
  if (den < 0) {
    num = -num;
    den = -den;
  }
  __int128 q = num / den;
  if (num % den > 0) ++q;
  return static_cast<int64_t>(q);
}

}  // namespace

void polygonRow(std::span<const Point64> pts, int64_t y, std::vector<Span>& out) {
  std::vector<int64_t> xs;
  const size_t n = pts.size();
  for (size_t i = 0; i < n; ++i) {
    const Point64& a = pts[i];
    const Point64& b = pts[(i + 1) % n];
    if (a.y == b.y) continue;
    if (y < std::min(a.y, b.y) || y >= std::max(a.y, b.y)) continue;
    __int128 num = static_cast<__int128>(y - a.y) * (b.x - a.x);
    xs.push_back(a.x + ceilDiv(num, b.y - a.y));
  }
  std::sort(xs.begin(), xs.end());
  for (size_t i = 0; i + 1 < xs.size(); i += 2)
    if (xs[i] < xs[i + 1]) out.push_back(Span{xs[i], xs[i + 1]});
}

Span polygonRows(std::span<const Point64> pts) {
  if (pts.empty()) return Span{};
  auto [lo, hi] = std::minmax_element(pts.begin(), pts.end(),
                                      [](const Point64& a, const Point64& b) { return a.y < b.y; });
  return Span{lo->y, hi->y};
}

}  // namespace zxp::gfx
