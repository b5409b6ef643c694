#include "platform/gfx/ShapeGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/base/Scratch.h"

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
  round_ = true;
}

int RoundShape::outline(int64_t y, Span out[2]) const {
  const Box& b = box_;
  if (b.empty() || y < b.top || y >= b.bottom) return 0;
  if (!round_) {
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
  const int64_t firstRow = cornerTop + q()->firstRow();      // the lower corners' first row
  const int64_t firstMirror = b.top + (ch_ - 1) - q()->firstRow();  // ... mirrored upward
  int64_t j;
  if (y >= firstRow) j = y - cornerTop;
  else if (y <= firstMirror) j = (b.top + ch_ - 1) - y;
  else {
    // Between the corners: the straight sides.
    out[0] = Span{b.left, b.left + 1};
    out[1] = Span{b.right - 1, b.right};
    return b.width() > 1 ? 2 : 1;
  }
  const Span run = q()->path(j);
  if (run.empty()) return 0;
  const Span right{b.right - cw_ + run.left, b.right - cw_ + run.right};
  const Span left{b.left + b.right - right.right, b.left + b.right - right.left};
  if (j == q()->lastPathRow() || left.right >= right.left) {
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
  if (!round_) {
    const int64_t r = b.right - 1, btm = b.bottom - 1;
    return {{r, btm}, {b.left, btm}, {b.left, b.top}, {r, b.top}};
  }
  // A quadrant's trace has at most one pixel per column and row of the quarter corner.
  pts.reserve(static_cast<size_t>(2 * (cw_ + ch_) + 4));
  // The lower right quadrant in the trace's order, then its mirror images as the platform lists
  // them: left/right first (the middle point once when the ellipse spans an odd width), then
  // top/bottom (likewise for an odd height).
  for (int64_t j = q()->firstRow(); j <= q()->lastPathRow(); ++j) {
    const Span run = q()->path(j);
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

struct WideStroke::PenShapes {
  explicit PenShapes(int64_t width) : w(width), cap(capBox(width), width, width) {
    if (w <= kCachedCap)
      for (int64_t d = cap.box().top; d < cap.box().bottom; ++d) capRows.push_back(cap.row(d));
  }
  int64_t w;
  RoundRegion cap;
  std::vector<Span> capRows;
  // The band of a unit diagonal step without the caps at its two ends, per direction.
  std::array<std::vector<std::pair<int64_t, Span>>, 4> diagonalRest;
  std::array<bool, 4> diagonalKnown{};
  std::array<uint8_t, 9> unitCovered{};  // 0 not known yet, 1 covered, 2 not
};

WideStroke::PenShapes& WideStroke::penShapes(int64_t width) {
  ZXP_SCRATCH std::optional<PenShapes> last;
  if (!last || last->w != width) last.emplace(width);
  return *last;
}

WideStroke::WideStroke(std::span<const Point64> pts, bool closed, int64_t width, Span rows)
    : w_(std::max<int64_t>(width, 1)) {
  if (pts.empty()) return;
  int64_t top = pts[0].y, bottom = pts[0].y;
  for (const Point64& p : pts) {
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  rows_ = Span{std::max(rows.left, top - w_ / 2 - 1), std::min(rows.right, bottom + w_ + 1)};
  if (rows_.empty()) return;
  pen_ = &penShapes(w_);
  const size_t count = static_cast<size_t>(rows_.right - rows_.left);
  runs_.swap(spareRuns());
  if (runs_.size() < count) runs_.resize(count);
  for (size_t r = 0; r < count; ++r) runs_[r].n = 0;  // only n is read before a row is filled

  // Caps first: consecutive points one step apart along a row or a column are swept together.
  // Along a path each cap touches the one before, so a row gathers few runs, and the bands
  // added after them mostly widen those.
  const size_t n = pts.size();
  for (size_t i = 0; i < n;) {
    size_t k = i;
    if (i + 1 < n) {
      const int64_t sx = pts[i + 1].x - pts[i].x, sy = pts[i + 1].y - pts[i].y;
      if (std::llabs(sx) + std::llabs(sy) == 1)
        while (k + 1 < n && pts[k + 1].x - pts[k].x == sx && pts[k + 1].y - pts[k].y == sy) ++k;
    }
    if (k == i) addCap(pts[i]);
    else addCapRun(pts[i], pts[k]);
    i = k + 1;
  }

  // A run of unit steps has a cap at every point, so only what its band adds to those caps is
  // drawn. The union of the steps' bands is the band of the whole run (the rounding of the
  // half-widths depends on the direction only): along a row or a column one rectangle, unless
  // the caps cover it; along a diagonal the pixels of one step's band outside its end caps,
  // repeated at every step.
  const size_t last = closed ? n : n - 1;
  for (size_t i = 0; i < last;) {
    auto at = [&](size_t j) { return pts[j < n ? j : j - n]; };
    const Point64 a = pts[i], b = at(i + 1);
    const int64_t sx = b.x - a.x, sy = b.y - a.y;
    size_t k = i + 1;
    if (std::llabs(sx) > 1 || std::llabs(sy) > 1) {
      addSegment(a, b);
    } else {
      while (k < last && at(k + 1).x - pts[k].x == sx && at(k + 1).y - pts[k].y == sy) ++k;
      if (sx == 0 || sy == 0) {
        if (!unitBandCovered(sx, sy)) addSegment(a, at(k));
      } else {
        const auto& rest = diagonalRest(sx, sy);
        for (size_t j = i; j < k; ++j)
          for (const auto& [y, s] : rest) add(pts[j].y + y, pts[j].x + s.left, pts[j].x + s.right);
      }
    }
    i = k;
  }
  // Each row's runs (and the rare spans that did not fit) sorted by left end and merged, in
  // place; a row that ends with more runs than fit keeps them in merged_.
  std::sort(overflow_.begin(), overflow_.end(), [](const auto& p, const auto& q) {
    return p.first != q.first ? p.first < q.first : p.second.left < q.second.left;
  });
  std::vector<Span> many;
  size_t o = 0;
  for (size_t r = 0; r < count; ++r) {
    Runs& row = runs_[r];
    const int64_t y = rows_.left + static_cast<int64_t>(r);
    if (o < overflow_.size() && overflow_[o].first == y) {
      many.assign(row.run.begin(), row.run.begin() + static_cast<ptrdiff_t>(row.n));
      for (; o < overflow_.size() && overflow_[o].first == y; ++o) many.push_back(overflow_[o].second);
      row.n = static_cast<uint32_t>(mergeSpans(many.data(), many.size()));
      if (row.n <= kRuns) {
        std::copy_n(many.begin(), row.n, row.run.begin());
      } else {
        row.start = static_cast<uint32_t>(merged_.size());
        merged_.insert(merged_.end(), many.begin(), many.begin() + static_cast<ptrdiff_t>(row.n));
      }
    } else if (row.n > 1) {
      row.n = static_cast<uint32_t>(mergeSpans(row.run.data(), row.n));
    }
  }
  overflow_.clear();
  overflow_.shrink_to_fit();
  pen_ = nullptr;
}

WideStroke::~WideStroke() {
  std::vector<Runs>& spare = spareRuns();
  // A table for an unusually tall surface is not kept.
  constexpr size_t kKeptRows = 8192;
  if (runs_.capacity() > spare.capacity() && runs_.capacity() <= kKeptRows) spare.swap(runs_);
}

std::vector<WideStroke::Runs>& WideStroke::spareRuns() {
  ZXP_SCRATCH std::vector<Runs> spare;
  return spare;
}

// Sorts the spans by left end and merges those that overlap or touch, in place; returns how
// many are left.
size_t WideStroke::mergeSpans(Span* spans, size_t n) {
  for (size_t i = 1; i < n; ++i)
    for (size_t j = i; j > 0 && spans[j].left < spans[j - 1].left; --j) std::swap(spans[j], spans[j - 1]);
  size_t out = 0;
  for (size_t i = 1; i < n; ++i) {
    if (spans[i].left <= spans[out].right) spans[out].right = std::max(spans[out].right, spans[i].right);
    else spans[++out] = spans[i];
  }
  return n == 0 ? 0 : out + 1;
}

std::span<const Span> WideStroke::row(int64_t y) const {
  if (y < rows_.left || y >= rows_.right) return {};
  const Runs& r = runs_[static_cast<size_t>(y - rows_.left)];
  if (r.n <= kRuns) return std::span<const Span>(r.run.data(), r.n);
  return std::span<const Span>(merged_.data() + r.start, r.n);
}

[[gnu::always_inline]] inline void WideStroke::addTo(Runs& row, int64_t left, int64_t right) {
  if (right <= left) return;
  // Along a path the spans on a row mostly touch the one added just before, so the newest run
  // is tried first.
  for (size_t i = row.n; i-- > 0;) {
    Span& r = row.run[i];
    if (left <= r.right && r.left <= right) {
      r.left = std::min(r.left, left);
      r.right = std::max(r.right, right);
      return;
    }
  }
  if (row.n < kRuns) row.run[row.n++] = Span{left, right};
  else overflow_.emplace_back(rows_.left + (&row - runs_.data()), Span{left, right});
}

[[gnu::always_inline]] inline void WideStroke::add(int64_t y, int64_t left, int64_t right) {
  if (y >= rows_.left && y < rows_.right) addTo(runs_[static_cast<size_t>(y - rows_.left)], left, right);
}

void WideStroke::addCap(Point64 p) {
  const std::vector<Span>& cap = pen_->capRows;
  const int64_t top = p.y + pen_->cap.box().top;
  if (cap.empty() || top < rows_.left || top + w_ > rows_.right) {
    addCapRun(p, p);
    return;
  }
  // The whole cap lies within the rows kept: its rows go straight to theirs.
  Runs* row = runs_.data() + (top - rows_.left);
  for (const Span& c : cap) addTo(*row++, p.x + c.left, p.x + c.right);
}

void WideStroke::addCapRun(Point64 a, Point64 b) {
  const Box& cb = pen_->cap.box();
  const int64_t x0 = std::min(a.x, b.x), x1 = std::max(a.x, b.x);
  const int64_t y0 = std::min(a.y, b.y), y1 = std::max(a.y, b.y);
  // Cap rows are nested (wider toward the middle), so on row y the run's union is the cap row
  // nearest the cap's middle among those its points reach: row y - y0 above the run, the middle
  // row along it, row y - y1 below it.
  const int64_t first = std::max(y0 + cb.top, rows_.left), last = std::min(y1 + cb.bottom, rows_.right);
  if (first >= last) return;
  Runs* row = runs_.data() + (first - rows_.left);
  if (pen_->capRows.empty()) {
    for (int64_t y = first; y < last; ++y) {
      const Span c = pen_->cap.row(std::clamp(int64_t{0}, y - y1, y - y0));
      addTo(*row++, x0 + c.left, x1 + c.right);
    }
    return;
  }
  const Span* table = pen_->capRows.data() - cb.top;
  int64_t y = first;
  for (const int64_t end = std::min(y0, last); y < end; ++y)
    addTo(*row++, x0 + table[y - y0].left, x1 + table[y - y0].right);
  for (const int64_t end = std::min(y1 + 1, last); y < end; ++y)
    addTo(*row++, x0 + table[0].left, x1 + table[0].right);
  for (; y < last; ++y) addTo(*row++, x0 + table[y - y1].left, x1 + table[y - y1].right);
}

Span WideStroke::capRow(int64_t d) const {
  const std::vector<Span>& rows = pen_->capRows;
  if (!rows.empty()) {
    const int64_t i = d - pen_->cap.box().top;
    return i >= 0 && i < static_cast<int64_t>(rows.size()) ? rows[static_cast<size_t>(i)] : Span{};
  }
  return pen_->cap.row(d);
}

namespace {

// Whether s lies within the union of the single spans a and b.
bool within(Span s, Span a, Span b) {
  if (s.empty()) return true;
  auto inside = [&](Span c) { return !c.empty() && c.left <= s.left && s.right <= c.right; };
  if (!a.empty() && !b.empty() && a.left <= b.right && b.left <= a.right)
    return inside(Span{std::min(a.left, b.left), std::max(a.right, b.right)});
  return inside(a) || inside(b);
}

}  // namespace

bool WideStroke::unitBandCovered(int64_t sx, int64_t sy) {
  uint8_t& known = pen_->unitCovered[static_cast<size_t>((sx + 1) * 3 + (sy + 1))];
  if (known == 0) {
    // The w-pixel rectangle addSegment draws for this step, row by row.
    const Box r = sy == 0 ? Box{std::min<int64_t>(0, sx), -(w_ / 2), std::max<int64_t>(0, sx), w_ - w_ / 2}
                          : Box{-(w_ / 2), std::min<int64_t>(0, sy), w_ - w_ / 2, std::max<int64_t>(0, sy)};
    bool covered = true;
    for (int64_t y = r.top; y < r.bottom && covered; ++y) {
      const Span end = capRow(y - sy);
      covered = within(Span{r.left, r.right}, capRow(y), Span{end.left + sx, end.right + sx});
    }
    known = covered ? 1 : 2;
  }
  return known == 1;
}

const std::vector<std::pair<int64_t, Span>>& WideStroke::diagonalRest(int64_t dx, int64_t dy) {
  const size_t i = static_cast<size_t>((dx > 0 ? 1 : 0) + (dy > 0 ? 2 : 0));
  std::vector<std::pair<int64_t, Span>>& rest = pen_->diagonalRest[i];
  if (!pen_->diagonalKnown[i]) {
    std::vector<std::pair<int64_t, Span>> band;
    bandOf(Point64{0, 0}, Point64{dx, dy}, Span{-w_ - 2, w_ + 2}, band);
    for (const auto& [y, s] : band) {
      const Span end = capRow(y - dy);
      for (const Span piece : spanMinus(s, capRow(y)))
        for (const Span left : spanMinus(piece, Span{end.left + dx, end.right + dx}))
          if (!left.empty()) rest.emplace_back(y, left);
    }
    pen_->diagonalKnown[i] = true;
  }
  return rest;
}

void WideStroke::addSegment(Point64 a, Point64 b) {
  const int64_t dx = b.x - a.x, dy = b.y - a.y;
  if (dx == 0 && dy == 0) return;
  if (dy == 0 || dx == 0) {
    // A rectangle of the pen's width from the first point up to the last.
    const Box r = dy == 0 ? Box{std::min(a.x, b.x), a.y - w_ / 2, std::max(a.x, b.x), a.y - w_ / 2 + w_}
                          : Box{a.x - w_ / 2, std::min(a.y, b.y), a.x - w_ / 2 + w_, std::max(a.y, b.y)};
    for (int64_t y = std::max(r.top, rows_.left); y < std::min(r.bottom, rows_.right); ++y)
      add(y, r.left, r.right);
    return;
  }
  ZXP_SCRATCH std::vector<std::pair<int64_t, Span>> spans;
  spans.clear();
  bandOf(a, b, rows_, spans);
  for (const auto& [y, s] : spans) add(y, s.left, s.right);
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
  ZXP_SCRATCH std::vector<Span> row;
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
  ZXP_SCRATCH std::vector<int64_t> xs;
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
