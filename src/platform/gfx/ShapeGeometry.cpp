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

// ---- The midpoint ellipse ---------------------------------------------------------------------------

namespace {

using I128 = __int128;

// Whether the point (dx / 2, dy / 2), in half pixels from the centre of a w x h box, lies
// strictly inside the ellipse inscribed in the box: dx² h² < w² (h² - dy²).
bool insideEllipse(int64_t dx, int64_t dy, int64_t w, int64_t h) {
  if (w < (int64_t{1} << 31) && h < (int64_t{1} << 31))
    return I128{dx} * dx * h * h < I128{w} * w * (I128{h} * h - I128{dy} * dy);
  using L = long double;
  L ex = L(dx) / L(w);
  L ey = L(dy) / L(h);
  return ex * ex + ey * ey < 1;
}

// The largest |dx| of the parity of w + 1 inside the ellipse on the row dy (half-pixel units),
// or -1 when the row has no pixel inside.
int64_t widestDx(int64_t dy, int64_t w, int64_t h) {
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

EllipseQuadrant::EllipseQuadrant(int64_t w, int64_t h) : w_(std::max<int64_t>(w, 1)), h_(std::max<int64_t>(h, 1)) {
  exact_ = w_ <= kExactEllipse && h_ <= kExactEllipse;
  if (!exact_) {
    lastPath_ = h_ - 1;
    return;
  }
  const size_t rows = static_cast<size_t>(h_ - h_ / 2);
  lo_.assign(rows, 0);
  hi_.assign(rows, -1);
  inset_.assign(rows, -1);
  // The trace: a = w - 1 and b = h - 1 are the diameters through pixel centres; err is the
  // ellipse's implicit function at the next candidate point, dx and dy its increments.
  const I128 a = w_ - 1, b = h_ - 1;
  const I128 asq = 8 * a * a, bsq = 8 * b * b;
  I128 dx = 4 * b * b * (1 - a);
  I128 dy = 4 * a * a * (1 + b % 2);
  I128 err = dx + dy + a * a * (b % 2);
  int64_t x = w_ - 1, y = h_ / 2;
  const int64_t pathEnd = w_ / 2;             // the outline stops left of the middle column
  const int64_t regionEnd = (w_ - 1) - w_ / 2;  // the region's trace one step later
  inset_[0] = 0;
  lastPath_ = y;
  while (x >= regionEnd) {
    const size_t j = static_cast<size_t>(y - h_ / 2);
    if (x >= pathEnd && y < h_) {
      if (hi_[j] < 0) hi_[j] = static_cast<int32_t>(x);
      lo_[j] = static_cast<int32_t>(x);
      lastPath_ = y;
    }
    const I128 e2 = 2 * err;
    if (e2 >= dx) {
      --x;
      dx += bsq;
      err += dx;
    }
    if (e2 <= dy) {
      ++y;
      dy += asq;
      err += dy;
      if (y < h_) inset_[static_cast<size_t>(y - h_ / 2)] = static_cast<int32_t>((w_ - 1) - x);
    }
  }
  // Rows the region's trace never entered keep the previous row's ends.
  for (size_t j = 1; j < rows; ++j)
    if (inset_[j] < 0) inset_[j] = inset_[j - 1];
}

int64_t EllipseQuadrant::trueInset(int64_t j) const {
  const int64_t dy = 2 * j + 1 - h_;
  if (std::llabs(dy) <= 1) return 0;
  return std::min((w_ - 1 - widestDx(dy, w_, h_)) / 2, (w_ - 1) / 2);
}

Span EllipseQuadrant::path(int64_t j) const {
  if (j < h_ / 2 || j > lastPath_) return Span{};
  if (exact_) {
    const size_t k = static_cast<size_t>(j - h_ / 2);
    return Span{lo_[k], int64_t{hi_[k]} + 1};
  }
  // The outermost pixel of the row, and on to one column beyond the next row's outermost.
  const int64_t hi = (w_ - 1) - trueInset(j);
  const int64_t next = j + 1 < h_ ? (w_ - 1) - trueInset(j + 1) : w_ / 2 - 1;
  return Span{std::max(std::min(hi, next + 1), w_ / 2), hi + 1};
}

int64_t EllipseQuadrant::inset(int64_t j) const {
  if (exact_) return inset_[static_cast<size_t>(std::clamp(j - h_ / 2, int64_t{0}, h_ - h_ / 2 - 1))];
  return trueInset(j);
}

// ---- Round regions -------------------------------------------------------------------------------------

RoundRegion::RoundRegion(Box box, int64_t cornerW, int64_t cornerH) : box_(box) {
  if (box_.empty()) return;
  cw_ = std::min(box_.width(), cornerW < 0 ? -cornerW : cornerW);
  ch_ = std::min(box_.height(), cornerH < 0 ? -cornerH : cornerH);
  if (cw_ >= 2 && ch_ >= 2) q_.emplace(cw_, ch_);
}

Span RoundRegion::row(int64_t y) const {
  if (box_.empty() || y < box_.top || y >= box_.bottom) return Span{};
  if (!q_) return Span{box_.left, box_.right};
  int64_t k = 0;
  if (y < box_.top + ch_ / 2) k = q_->inset((ch_ - 1) - (y - box_.top));
  else if (y >= box_.bottom - ch_ + ch_ / 2) k = q_->inset(y - (box_.bottom - ch_));
  return Span{box_.left + k, box_.right - k};
}

// ---- Round shapes --------------------------------------------------------------------------------------

namespace {

int64_t cornerOf(int64_t c, int64_t side) { return std::min(side, c < 0 ? -c : c); }

}  // namespace

RoundShape::RoundShape(Box box, int64_t cornerW, int64_t cornerH)
    : box_(box), fill_(box, cornerOf(cornerW, box.width()), cornerOf(cornerH, box.height())) {
  if (box_.empty()) return;
  cw_ = cornerOf(cornerW, box_.width());
  ch_ = cornerOf(cornerH, box_.height());
  if (cw_ <= 2 || ch_ <= 2) {
    fill_ = RoundRegion(box_, 0, 0);  // drawn as a plain rectangle
    return;
  }
  q_.emplace(cw_, ch_);
}

int RoundShape::outline(int64_t y, Span out[2]) const {
  const Box& b = box_;
  if (b.empty() || y < b.top || y >= b.bottom) return 0;
  if (!q_) {
    if (y == b.top || y == b.bottom - 1 || b.width() <= 2) {
      out[0] = Span{b.left, b.right};
      return 1;
    }
    out[0] = Span{b.left, b.left + 1};
    out[1] = Span{b.right - 1, b.right};
    return 2;
  }
  // Rows of the lower corners count j from the corner box's top; the upper corners mirror them.
  const int64_t cornerTop = b.bottom - ch_;
  const int64_t firstRow = cornerTop + q_->firstRow();      // the lower corners' first row
  const int64_t firstMirror = b.top + (ch_ - 1) - q_->firstRow();  // ... mirrored upward
  int64_t j;
  if (y >= firstRow) j = y - cornerTop;
  else if (y <= firstMirror) j = (b.top + ch_ - 1) - y;
  else {
    // Between the corners: the straight sides.
    out[0] = Span{b.left, b.left + 1};
    out[1] = Span{b.right - 1, b.right};
    return b.width() > 1 ? 2 : 1;
  }
  const Span run = q_->path(j);
  if (run.empty()) return 0;
  const Span right{b.right - cw_ + run.left, b.right - cw_ + run.right};
  const Span left{b.left + b.right - right.right, b.left + b.right - right.left};
  if (j == q_->lastPathRow() || left.right >= right.left) {
    // The trace's last row is joined across to its mirror image.
    out[0] = Span{left.left, right.right};
    return 1;
  }
  out[0] = left;
  out[1] = right;
  return 2;
}

std::vector<Point64> RoundShape::pathPoints() const {
  std::vector<Point64> pts;
  const Box& b = box_;
  if (b.empty()) return pts;
  if (!q_) {
    const int64_t r = b.right - 1, btm = b.bottom - 1;
    return {{r, btm}, {b.left, btm}, {b.left, b.top}, {r, b.top}};
  }
  // The lower right quadrant in the trace's order, then its mirror images as the platform lists
  // them: left/right first (the middle point once when the ellipse spans an odd width), then
  // top/bottom (likewise for an odd height).
  for (int64_t j = q_->firstRow(); j <= q_->lastPathRow(); ++j) {
    const Span run = q_->path(j);
    for (int64_t x = run.right - 1; x >= run.left; --x) pts.push_back({b.right - cw_ + x, b.bottom - ch_ + j});
  }
  const size_t n = pts.size();
  const bool skipX = cw_ % 2 == 1 && cw_ == b.width();
  for (size_t i = skipX ? 1 : 0; i < n; ++i) {
    const Point64 p = pts[n - 1 - i];
    pts.push_back({b.left + b.right - 1 - p.x, p.y});
  }
  const size_t m = pts.size();
  const bool skipY = ch_ % 2 == 1 && ch_ == b.height();
  for (size_t i = skipY ? 1 : 0; i < m; ++i) {
    const Point64 p = pts[m - 1 - i];
    pts.push_back({p.x, b.top + b.bottom - 1 - p.y});
  }
  return pts;
}

// ---- Wide strokes -----------------------------------------------------------------------------------

namespace {

// The platform's rounding of a non-negative half-width: halves up.
int64_t roundHalfUp(double v) { return static_cast<int64_t>(std::floor(v + 0.5)); }

// The cap's box: [-(w/2), w - w/2) on both axes.
Box capBox(int64_t w) { return Box{-(w / 2), -(w / 2), w - w / 2, w - w / 2}; }

}  // namespace

WideStroke::WideStroke(std::span<const Point64> pts, bool closed, int64_t width, Span rows)
    : w_(std::max<int64_t>(width, 1)), cap_(capBox(w_), w_, w_) {
  if (pts.empty()) return;
  int64_t top = pts[0].y, bottom = pts[0].y;
  for (const Point64& p : pts) {
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  rows_ = Span{std::max(rows.left, top - w_ / 2 - 1), std::min(rows.right, bottom + w_ + 1)};
  if (rows_.empty()) return;
  if (w_ <= kCachedCap)
    for (int64_t d = cap_.box().top; d < cap_.box().bottom; ++d) capRows_.push_back(cap_.row(d));

  gathered_.reserve(std::min<size_t>(pts.size() * static_cast<size_t>(std::min<int64_t>(w_, 64) + 2) * 2,
                                     size_t{1} << 20));
  // Runs of equal steps are one segment: the union of their bands is the band of the whole run
  // (the rounding of the half-widths depends on the direction only).
  const size_t n = pts.size();
  const size_t last = closed ? n : n - 1;
  for (size_t i = 0; i < last;) {
    const Point64 a = pts[i], b = pts[(i + 1) % n];
    const int64_t sx = b.x - a.x, sy = b.y - a.y;
    size_t k = i + 1;
    if (std::llabs(sx) <= 1 && std::llabs(sy) <= 1)
      while (k < last && pts[(k + 1) % n].x - pts[k].x == sx && pts[(k + 1) % n].y - pts[k].y == sy) ++k;
    addSegment(a, pts[k % n]);
    i = k;
  }
  // Caps: consecutive points one step apart along a row or a column are swept together.
  for (size_t i = 0; i < n;) {
    size_t k = i;
    if (i + 1 < n) {
      const int64_t sx = pts[i + 1].x - pts[i].x, sy = pts[i + 1].y - pts[i].y;
      if (std::llabs(sx) + std::llabs(sy) == 1)
        while (k + 1 < n && pts[k + 1].x - pts[k].x == sx && pts[k + 1].y - pts[k].y == sy) ++k;
    }
    addCapRun(pts[i], pts[k]);
    i = k + 1;
  }

  // Spans by row (a counting sort), each row's by left end, then merged.
  const size_t count = static_cast<size_t>(rows_.right - rows_.left);
  std::vector<uint32_t> first(count + 1, 0);
  for (const auto& [y, span] : gathered_) ++first[static_cast<size_t>(y - rows_.left) + 1];
  for (size_t r = 0; r < count; ++r) first[r + 1] += first[r];
  std::vector<Span> byRow(gathered_.size());
  std::vector<uint32_t> fill(first.begin(), first.end() - 1);
  for (const auto& [y, span] : gathered_) byRow[fill[static_cast<size_t>(y - rows_.left)]++] = span;
  start_.assign(count + 1, 0);
  merged_.reserve(byRow.size());
  for (size_t r = 0; r < count; ++r) {
    start_[r] = static_cast<uint32_t>(merged_.size());
    auto b = byRow.begin() + first[r], e = byRow.begin() + first[r + 1];
    std::sort(b, e, [](const Span& p, const Span& q) { return p.left < q.left; });
    const size_t rowStart = merged_.size();
    for (auto it = b; it != e; ++it) {
      if (merged_.size() > rowStart && it->left <= merged_.back().right)
        merged_.back().right = std::max(merged_.back().right, it->right);
      else merged_.push_back(*it);
    }
  }
  start_[count] = static_cast<uint32_t>(merged_.size());
  gathered_.clear();
  gathered_.shrink_to_fit();
}

std::span<const Span> WideStroke::row(int64_t y) const {
  if (y < rows_.left || y >= rows_.right) return {};
  const size_t r = static_cast<size_t>(y - rows_.left);
  return std::span<const Span>(merged_.data() + start_[r], start_[r + 1] - start_[r]);
}

void WideStroke::add(int64_t y, Span s) {
  if (s.empty() || y < rows_.left || y >= rows_.right) return;
  gathered_.emplace_back(y, s);
}

void WideStroke::addCapRun(Point64 a, Point64 b) {
  const Box& cb = cap_.box();
  const int64_t x0 = std::min(a.x, b.x), x1 = std::max(a.x, b.x);
  const int64_t y0 = std::min(a.y, b.y), y1 = std::max(a.y, b.y);
  // Cap rows are nested (wider toward the middle), so on row y the run's union is the cap row
  // nearest the cap's middle among those its points reach.
  const int64_t first = std::max(y0 + cb.top, rows_.left), last = std::min(y1 + cb.bottom, rows_.right);
  for (int64_t y = first; y < last; ++y) {
    const int64_t d = std::clamp(int64_t{0}, y - y1, y - y0);
    const Span c = capRow(d);
    if (!c.empty()) add(y, Span{x0 + c.left, x1 + c.right});
  }
}

Span WideStroke::capRow(int64_t d) const {
  if (!capRows_.empty()) {
    const int64_t i = d - cap_.box().top;
    return i >= 0 && i < static_cast<int64_t>(capRows_.size()) ? capRows_[static_cast<size_t>(i)] : Span{};
  }
  return cap_.row(d);
}

void WideStroke::addSegment(Point64 a, Point64 b) {
  const int64_t dx = b.x - a.x, dy = b.y - a.y;
  if (dx == 0 && dy == 0) return;
  if (dy == 0 || dx == 0) {
    // A rectangle of the pen's width from the first point up to the last.
    const Box r = dy == 0 ? Box{std::min(a.x, b.x), a.y - w_ / 2, std::max(a.x, b.x), a.y - w_ / 2 + w_}
                          : Box{a.x - w_ / 2, std::min(a.y, b.y), a.x - w_ / 2 + w_, std::max(a.y, b.y)};
    for (int64_t y = std::max(r.top, rows_.left); y < std::min(r.bottom, rows_.right); ++y)
      add(y, Span{r.left, r.right});
    return;
  }
  if (std::llabs(dx) == 1 && std::llabs(dy) == 1) {
    // A unit diagonal step of a pixel path: its band, worked out once per direction.
    auto& band = diagonal_[static_cast<size_t>((dx > 0 ? 1 : 0) + (dy > 0 ? 2 : 0))];
    if (band.empty()) bandOf(Point64{0, 0}, Point64{dx, dy}, Span{-w_ - 2, w_ + 2}, band);
    for (const auto& [y, s] : band) add(a.y + y, Span{a.x + s.left, a.x + s.right});
    return;
  }
  thread_local std::vector<std::pair<int64_t, Span>> spans;
  spans.clear();
  bandOf(a, b, rows_, spans);
  for (const auto& [y, s] : spans) add(y, s);
}

void WideStroke::bandOf(Point64 a, Point64 b, Span rows, std::vector<std::pair<int64_t, Span>>& out) const {
  const int64_t dx = b.x - a.x, dy = b.y - a.y;
  // The band's corners: half-widths across the segment, rounded, the wider half on one side.
  const double len = std::hypot(static_cast<double>(dx), static_cast<double>(dy));
  const double wx = static_cast<double>(w_) * static_cast<double>(std::llabs(dy)) / len;
  const double wy = static_cast<double>(w_) * static_cast<double>(std::llabs(dx)) / len;
  Point64 narrow{roundHalfUp(wx / 2), roundHalfUp(wy / 2)};
  Point64 wide{roundHalfUp((wx + 1) / 2), roundHalfUp((wy + 1) / 2)};
  if (dx < 0) {
    wide.y = -wide.y;
    narrow.y = -narrow.y;
  }
  if (dy < 0) {
    std::swap(narrow, wide);
    wide.x = -wide.x;
    narrow.x = -narrow.x;
  }
  const Point64 quad[] = {{a.x - narrow.x, a.y + narrow.y},
                          {a.x + wide.x, a.y - wide.y},
                          {b.x + wide.x, b.y - wide.y},
                          {b.x - narrow.x, b.y + narrow.y}};
  const Span ys = polygonRows(quad);
  const int64_t lo = std::max(ys.left, rows.left), hi = std::min(ys.right, rows.right);
  thread_local std::vector<Span> row;
  for (int64_t y = lo; y < hi; ++y) {
    row.clear();
    polygonRow(quad, y, row);
    for (const Span& s : row) out.emplace_back(y, s);
  }
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
  thread_local std::vector<int64_t> xs;
  xs.clear();
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
