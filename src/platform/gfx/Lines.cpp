// Pen strokes and the line calls: LineTo, Polyline, Polygon.
#include <vector>

#include "platform/gfx/Drawing.h"

namespace zxp::gfx {

namespace {

// The dash patterns of the cosmetic pen styles, in pixels: on, off, on, off, ...
std::span<const int> dashPattern(int style) {
  static constexpr int kDash[] = {18, 6};
  static constexpr int kDot[] = {3, 3};
  static constexpr int kDashDot[] = {9, 6, 3, 6};
  static constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};
  switch (style) {
    case PS_DASH: return kDash;
    case PS_DOT: return kDot;
    case PS_DASHDOT: return kDashDot;
    case PS_DASHDOTDOT: return kDashDotDot;
    default: return {};
  }
}

// Whether pixel `pos` (counted along the whole polyline) falls on a dash.
bool onDash(std::span<const int> pattern, int64_t pos) {
  if (pattern.empty()) return true;
  int total = 0;
  for (int n : pattern) total += n;
  int64_t p = pos % total;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (p < pattern[i]) return i % 2 == 0;
    p -= pattern[i];
  }
  return true;
}

// Gathers consecutive pixels of one row and one colour into spans for fillSpan.
class RunWriter {
 public:
  RunWriter(DeviceContext& dc, int rop2) : dc_(dc), rop2_(rop2) {}
  ~RunWriter() { flush(); }
  RunWriter(const RunWriter&) = delete;
  RunWriter& operator=(const RunWriter&) = delete;

  void put(int64_t x, int64_t y, Pixel p) {
    if (open_ && y == y_ && p == p_ && (x == right_ || x == left_ - 1)) {
      if (x == right_) ++right_;
      else --left_;
      return;
    }
    flush();
    open_ = true;
    y_ = y;
    left_ = x;
    right_ = x + 1;
    p_ = p;
  }

  void flush() {
    if (open_) fillSpan(dc_, clamp32(y_), clamp32(left_), clamp32(right_), p_, rop2_);
    open_ = false;
  }

 private:
  DeviceContext& dc_;
  int rop2_;
  bool open_ = false;
  int64_t y_ = 0, left_ = 0, right_ = 0;
  Pixel p_ = 0;
};

// The pixels of a 1-pixel segment along a row or a column, its last point excluded, as a box
// (empty for a segment of no length).
Box straightSegmentBox(Point64 a, Point64 b) {
  if (a.y == b.y) return a.x <= b.x ? Box{a.x, a.y, b.x, a.y + 1} : Box{b.x + 1, a.y, a.x + 1, a.y + 1};
  return a.y <= b.y ? Box{a.x, a.y, a.x + 1, b.y} : Box{a.x, b.y + 1, a.x + 1, a.y + 1};
}

// A 1-pixel polyline. The gaps of a dashed pen take the background colour in OPAQUE mode.
void strokeThin(DeviceContext& dc, const Pen& pen, std::span<const Point64> pts) {
  // A solid pen along rows and columns only (borders, bevels, frames): each segment is one box,
  // filled straight through the clip instead of pixel by pixel.
  const auto straight = [](Point64 a, Point64 b) { return a.x == b.x || a.y == b.y; };
  bool allStraight = !pen.styled();
  for (size_t i = 0; allStraight && i + 1 < pts.size(); ++i) allStraight = straight(pts[i], pts[i + 1]);
  if (allStraight) {
    BoxFiller filler(dc);
    if (filler.clip().empty()) return;
    for (size_t i = 0; i + 1 < pts.size(); ++i) filler.fill(straightSegmentBox(pts[i], pts[i + 1]), pen.color);
    return;
  }
  const Box clip = clipBox(dc);
  if (clip.empty()) return;
  const std::span<const int> pattern = pen.styled() ? dashPattern(pen.style) : std::span<const int>{};
  const bool opaqueGaps = dc.state().bkMode == OPAQUE;
  const Pixel gap = oleToPixel(dc.state().bkColor);
  RunWriter out(dc, dc.state().rop2);
  int64_t travelled = 0;
  for (size_t i = 0; i + 1 < pts.size(); ++i) {
    const Point64 a = pts[i], b = pts[i + 1];
    travelled += walkLine(a.x, a.y, b.x, b.y, clip, [&](int64_t x, int64_t y, int64_t step) {
      if (onDash(pattern, travelled + step)) out.put(x, y, pen.color);
      else if (opaqueGaps) out.put(x, y, gap);
    });
  }
}

// A wide polyline: the union of its segments' bands and its points' round caps and joins
// (WideStroke), filled once, so no pixel is drawn twice.
void strokeWide(DeviceContext& dc, const Pen& pen, std::span<const Point64> pts) {
  BoxFiller filler(dc);
  const Box& clip = filler.clip();
  if (clip.empty()) return;
  const WideStroke stroke(pts, false, pen.width, Span{clip.top, clip.bottom});
  const Span rows = stroke.rows();
  for (int64_t y = rows.left; y < rows.right; ++y)
    for (const Span& s : stroke.row(y)) filler.fill(Box{s.left, y, s.right, y + 1}, pen.color);
}

}  // namespace

void strokePolyline(DeviceContext& dc, const Pen& pen, std::span<const Point64> pts) {
  if (!pen.visible || pts.size() < 2) return;
  if (pen.width > 1) strokeWide(dc, pen, pts);
  else strokeThin(dc, pen, pts);
}

}  // namespace zxp::gfx

// ==== The handle API ===============================================================================
namespace zxp {

using namespace zxp::gfx;

namespace {

std::vector<Point64> toDevice(const DeviceContext& dc, const POINT* pts, int count) {
  std::vector<Point64> out;
  out.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) out.push_back(toDevice64(dc, pts[i].x, pts[i].y));
  return out;
}

// The polygon's interior with the brush (alternate fill), row by row inside the clip.
void fillPolygon(DeviceContext& dc, const Brush& brush, std::span<const Point64> pts) {
  const Box clip = clipBox(dc);
  const Span bounds = polygonRows(pts);
  const Span rows = clipRows(clip, bounds.left, bounds.right);
  std::vector<Span> spans;
  for (int64_t y = rows.left; y < rows.right; ++y) {
    spans.clear();
    polygonRow(pts, y, spans);
    for (const Span& s : spans) fillRow(dc, clip, y, s, brush.color, dc.state().rop2);
  }
}

}  // namespace

BOOL LineTo(HDC hdc, int x, int y) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc) return FALSE;
  const Point cur = dc->state().cur;
  const Point64 pts[] = {toDevice64(*dc, cur.x, cur.y), toDevice64(*dc, x, y)};
  strokePolyline(*dc, selectedPen(*dc), pts);
  dc->state().cur = Point{x, y};
  return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* pts, int count) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc || !pts || count < 2) return FALSE;
  strokePolyline(*dc, selectedPen(*dc), toDevice(*dc, pts, count));
  return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* pts, int count) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc || !pts || count < 2) return FALSE;
  std::vector<Point64> path = toDevice(*dc, pts, count);
  const Brush brush = selectedBrush(*dc);
  if (brush.visible) fillPolygon(*dc, brush, path);
  path.push_back(path.front());  // the outline closes the figure
  strokePolyline(*dc, selectedPen(*dc), path);
  return TRUE;
}

}  // namespace zxp
