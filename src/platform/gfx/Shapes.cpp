// Closed shapes (Rectangle, RoundRect, Ellipse), rectangle and region fills, and single pixels.
//
// A closed shape is painted row by row from the geometry of ShapeGeometry.h: the pen on the
// shape's pixel path (swept with the pen's width for wide pens), the brush on the rest of the
// shape's pixels.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "platform/base/Scratch.h"
#include "platform/gfx/Drawing.h"

namespace zxp::gfx {

namespace {

enum class Kind { Rectangle, RoundRect, Ellipse };

// A row of a closed shape: the brush's spans and the pen's, each left to right.
struct ShapeRow {
  std::vector<Span> brush;
  std::vector<Span> pen;
  void clear() {
    brush.clear();
    pen.clear();
  }
  bool operator==(const ShapeRow& o) const {
    auto same = [](const std::vector<Span>& a, const std::vector<Span>& b) {
      return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](Span p, Span q) {
               return p.left == q.left && p.right == q.right;
             });
    };
    return same(brush, o.brush) && same(pen, o.pen);
  }
};

// Adds the parts of `area` outside the sorted, disjoint `holes` to `out`.
void subtractSpans(Span area, std::span<const Span> holes, std::vector<Span>& out) {
  int64_t x = area.left;
  for (const Span& h : holes) {
    if (h.right <= x) continue;
    if (h.left >= area.right) break;
    if (h.left > x) out.push_back(Span{x, h.left});
    x = std::max(x, h.right);
  }
  if (x < area.right) out.push_back(Span{x, area.right});
}

// Paints runs of identical rows as rectangles: the straight parts of a shape cost one fill.
// Rows are built into next(), then committed with add().
class RowPainter {
 public:
  RowPainter(DeviceContext& dc, const Pen& pen, const Brush& brush) : filler_(dc), pen_(pen), brush_(brush) {
    // The row buffers of the last painter on this thread are taken over, not allocated anew.
    std::swap(run_, spareRows()[0]);
    std::swap(next_, spareRows()[1]);
    run_.clear();
  }
  ~RowPainter() {
    flush();
    std::swap(run_, spareRows()[0]);
    std::swap(next_, spareRows()[1]);
  }
  RowPainter(const RowPainter&) = delete;
  RowPainter& operator=(const RowPainter&) = delete;

  const Box& clip() const { return filler_.clip(); }
  ShapeRow& next() {
    next_.clear();
    return next_;
  }
  // Repeats the row last added down to `bottom` (exclusive).
  void repeatTo(int64_t bottom) { bottom_ = std::max(bottom_, bottom); }
  void add(int64_t y) {
    if (y == bottom_ && next_ == run_) {
      ++bottom_;
      return;
    }
    flush();
    std::swap(run_, next_);
    top_ = y;
    bottom_ = y + 1;
  }

 private:
  void fill(Span s, Pixel p) { filler_.fill(Box{s.left, top_, s.right, bottom_}, p); }
  void flush() {
    if (top_ == bottom_) return;
    if (brush_.visible)
      for (const Span& s : run_.brush) fill(s, brush_.color);
    if (pen_.visible)
      for (const Span& s : run_.pen) fill(s, pen_.color);
    top_ = bottom_;
  }

  static std::array<ShapeRow, 2>& spareRows() {
    ZXP_SCRATCH std::array<ShapeRow, 2> spare;
    return spare;
  }

  BoxFiller filler_;
  Pen pen_;
  Brush brush_;
  ShapeRow run_, next_;
  int64_t top_ = 0, bottom_ = 0;
};

// A rectangle outline with a dashed pen: the interior as usual, the frame as a closed polyline so
// that the dash pattern runs around it.
void paintDashedRectangle(DeviceContext& dc, const Box& box, const Pen& pen, const Brush& brush) {
  {
    RowPainter painter(dc, Pen{}, brush);
    const Span rows = clipRows(painter.clip(), box.top + 1, box.bottom - 1);
    for (int64_t y = rows.left; y < rows.right; ++y) {
      if (box.width() > 2) painter.next().brush.push_back(Span{box.left + 1, box.right - 1});
      else painter.next();
      painter.add(y);
    }
  }
  const int64_t r = box.right - 1, b = box.bottom - 1;
  const Point64 path[] = {{box.left, box.top}, {r, box.top}, {r, b}, {box.left, b}, {box.left, box.top}};
  strokePolyline(dc, pen, path);
}

// A 1-pixel outline: the pen on the shape's path, the brush on the rest of the shape.
void paintThinShape(DeviceContext& dc, const RoundShape& shape, const Pen& pen, const Brush& brush) {
  RowPainter painter(dc, pen, brush);
  const Span rows = clipRows(painter.clip(), shape.box().top, shape.box().bottom);
  Span outline[2];
  for (int64_t y = rows.left; y < rows.right; ++y) {
    ShapeRow& row = painter.next();
    const int n = shape.outline(y, outline);
    row.pen.assign(outline, outline + n);
    subtractSpans(shape.row(y), row.pen, row.brush);
    painter.add(y);
  }
}

// The pixels the brush alone covers, when there is no pen.
void paintArea(DeviceContext& dc, const RoundRegion& area, const Brush& brush) {
  RowPainter painter(dc, Pen{}, brush);
  const Span rows = clipRows(painter.clip(), area.box().top, area.box().bottom);
  for (int64_t y = rows.left; y < rows.right; ++y) {
    const Span s = area.row(y);
    ShapeRow& row = painter.next();
    if (!s.empty()) row.brush.push_back(s);
    painter.add(y);
  }
}

// The rows [top, bottom) of a wide stroke along a closed path, painted with the brush on the
// rest of the shape's row.
void paintStrokeRows(RowPainter& painter, const RoundShape& shape, std::span<const Point64> path, int64_t w,
                     Span rows) {
  const WideStroke stroke(path, true, w, rows);
  const Span r = stroke.rows();
  for (int64_t y = r.left; y < r.right; ++y) {
    ShapeRow& row = painter.next();
    const std::span<const Span> pens = stroke.row(y);
    row.pen.assign(pens.begin(), pens.end());
    subtractSpans(shape.row(y), row.pen, row.brush);
    painter.add(y);
  }
}

// The rows of a closed path's wide stroke (and its shape) that are all alike: the rows between
// the two ends of the path's longest vertical segment (the straight sides of a round rectangle),
// less the reach of the pen's caps and bands at its ends, when no point of the path lies
// between those ends and no other than vertical segments cross them, and the shape's row spans
// its whole width at both ends (rows widen toward the middle, so then they do so all across).
// Such a row holds the pen's rectangles along the vertical sides and the brush between them, so
// one row stands for all. Empty when there is no such stretch of at least `atLeast` rows.
Span plainRows(const RoundShape& shape, std::span<const Point64> path, int64_t w, int64_t atLeast) {
  const size_t n = path.size();
  if (n < 2 || shape.box().height() < atLeast + 2 * (w + 1)) return Span{};
  int64_t above = 0, below = 0;
  for (size_t i = 0; i < n; ++i) {
    const Point64& a = path[i];
    const Point64& b = path[i + 1 < n ? i + 1 : 0];
    if (a.x == b.x && std::llabs(b.y - a.y) > below - above) {
      above = std::min(a.y, b.y);
      below = std::max(a.y, b.y);
    }
  }
  const Span plain{above + w + 1, below - w - 1};
  if (plain.right - plain.left < atLeast) return Span{};
  for (size_t i = 0; i < n; ++i) {
    const Point64& a = path[i];
    const Point64& b = path[i + 1 < n ? i + 1 : 0];
    if (a.y > above && a.y < below) return Span{};
    if (a.x != b.x && std::min(a.y, b.y) <= above && std::max(a.y, b.y) >= below) return Span{};
  }
  const Box& box = shape.box();
  const Span widest = shape.row(box.top + box.height() / 2);
  for (const int64_t y : {plain.left, plain.right - 1}) {
    const Span s = shape.row(y);
    if (s.left != widest.left || s.right != widest.right) return Span{};
  }
  return plain;
}

// A tall shape's straight sides make many equal rows: its stroke is built above and below them
// (a stroke's cost is per row), and their first row stands for all, once they are this many.
constexpr int64_t kWorthSplitting = 32;

// The pen's pixels of the last wide-pen shape stroked on this thread, relative to its box's
// top-left corner. A stroke depends on the box's size, the corners and the pen's width, not on
// where the box lies, and controls paint the same shapes over and over (a button's face on every
// paint, a row of equal buttons), so their stroke is worked out once. Only shapes of at most
// kRows rows are kept (others are stroked within the clip's rows each time); the rows inside
// `plain` all equal its first row and are not kept.
struct ShapeStroke {
  static constexpr int64_t kRows = 1024;
  int64_t width = -1, height = -1, cw = -1, ch = -1, pen = -1;
  Span rows;   // the rows kept, relative to the box's top
  Span plain;  // likewise; empty when there is no such stretch
  std::vector<uint32_t> first;  // row r - rows.left holds spans [first[r], first[r + 1])
  std::vector<Span> spans;      // relative to the box's left

  std::span<const Span> row(int64_t r) const {
    if (r > plain.left && r < plain.right) r = plain.left;
    if (r < rows.left || r >= rows.right) return {};
    const size_t i = static_cast<size_t>(r - rows.left);
    return std::span<const Span>(spans.data() + first[i], first[i + 1] - first[i]);
  }
};

// The stroke of `shape` with a w-pixel pen, from the thread's last one when it is the same
// shape; null when the shape is too tall to keep.
const ShapeStroke* shapeStroke(const RoundShape& shape, int64_t cw, int64_t ch, int64_t w) {
  const Box& b = shape.box();
  if (b.height() + 2 * w + 4 > ShapeStroke::kRows) return nullptr;
  cw = std::min(b.width(), cw < 0 ? -cw : cw);
  ch = std::min(b.height(), ch < 0 ? -ch : ch);
  ZXP_SCRATCH ShapeStroke last;
  ShapeStroke& s = last;
  if (s.width == b.width() && s.height == b.height() && s.cw == cw && s.ch == ch && s.pen == w) return &s;
  s.width = s.height = -1;  // not valid until built
  const std::vector<Point64> path = shape.pathPoints();
  const Span plain = plainRows(shape, path, w, kWorthSplitting);
  const Span all{b.top - w - 2, b.bottom + w + 2};
  s.rows = Span{all.left - b.top, all.right - b.top};
  s.plain = plain.empty() ? Span{} : Span{plain.left - b.top, plain.right - b.top};
  s.first.assign(1, 0);
  s.spans.clear();
  auto keep = [&](Span rows) {
    const WideStroke stroke(path, true, w, rows);
    for (int64_t y = rows.left; y < rows.right; ++y) {
      for (const Span& p : stroke.row(y)) s.spans.push_back(Span{p.left - b.left, p.right - b.left});
      s.first.push_back(static_cast<uint32_t>(s.spans.size()));
    }
  };
  if (plain.empty()) {
    keep(all);
  } else {
    keep(Span{all.left, plain.left + 1});
    s.first.insert(s.first.end(), static_cast<size_t>(plain.right - plain.left - 1), s.first.back());
    keep(Span{plain.right, all.right});
  }
  s.width = b.width();
  s.height = b.height();
  s.cw = cw;
  s.ch = ch;
  s.pen = w;
  return &s;
}

// The rows [rows.left, rows.right) of a kept stroke, with the brush on the rest of the shape.
void paintKeptRows(RowPainter& painter, const RoundShape& shape, const ShapeStroke& stroke, Span rows) {
  const Box& b = shape.box();
  for (int64_t y = rows.left; y < rows.right; ++y) {
    ShapeRow& row = painter.next();
    for (const Span& p : stroke.row(y - b.top)) row.pen.push_back(Span{p.left + b.left, p.right + b.left});
    subtractSpans(shape.row(y), row.pen, row.brush);
    painter.add(y);
  }
}

// A wide pen follows the shape's 1-pixel path (kept inside the box for PS_INSIDEFRAME), each of
// its pixels a point of a closed polyline stroked with the pen; the brush covers the rest of the
// shape. Corners too large to trace exactly get a ring between the shape grown and shrunk by
// the pen instead.
void paintWideShape(DeviceContext& dc, const Box& box, Kind kind, int64_t cw, int64_t ch, const Pen& pen,
                    const Brush& brush) {
  const int64_t w = pen.width;
  const Box b = pen.insideFrame() ? box.inflated(-(w / 2), -(w / 2), -((w - 1) / 2), -((w - 1) / 2)) : box;
  if (kind == Kind::Ellipse) {
    cw = b.width();
    ch = b.height();
  }
  const RoundShape shape(b, cw, ch);
  RowPainter painter(dc, pen, brush);
  const Box& clip = painter.clip();
  if (shape.traced()) {
    if (const ShapeStroke* kept = shapeStroke(shape, cw, ch, w)) {
      const Box& sb = shape.box();
      const Span rows = clipRows(clip, sb.top + kept->rows.left, sb.top + kept->rows.right);
      const Span plain{std::max(sb.top + kept->plain.left, rows.left),
                       std::min(sb.top + kept->plain.right, rows.right)};
      if (plain.empty()) {
        paintKeptRows(painter, shape, *kept, rows);
      } else {
        paintKeptRows(painter, shape, *kept, Span{rows.left, plain.left + 1});
        painter.repeatTo(plain.right);
        paintKeptRows(painter, shape, *kept, Span{plain.right, rows.right});
      }
      return;
    }
    const std::vector<Point64> path = shape.pathPoints();
    // The stroke is built within the clip's rows only.
    const Span rows = clipRows(clip, clip.top, clip.bottom);
    Span plain = plainRows(shape, path, w, kWorthSplitting);
    plain = Span{std::max(plain.left, rows.left), std::min(plain.right, rows.right)};
    if (plain.right - plain.left < kWorthSplitting) {
      paintStrokeRows(painter, shape, path, w, rows);
      return;
    }
    paintStrokeRows(painter, shape, path, w, Span{rows.left, plain.left + 1});
    painter.repeatTo(plain.right);
    paintStrokeRows(painter, shape, path, w, Span{plain.right, rows.right});
    return;
  }
  const RoundShape outer(b.inflated(w / 2, w / 2, (w - 1) / 2 + 1, (w - 1) / 2 + 1), cw + w - 1, ch + w - 1);
  const RoundShape inner(b.inflated(-((w + 1) / 2), -((w + 1) / 2), -(w / 2), -(w / 2)), cw - w - 1, ch - w - 1);
  const Span rows = clipRows(clip, outer.box().top, outer.box().bottom);
  for (int64_t y = rows.left; y < rows.right; ++y) {
    ShapeRow& row = painter.next();
    const Span in = inner.row(y);
    if (!in.empty()) row.brush.push_back(in);
    subtractSpans(outer.row(y), row.brush, row.pen);
    painter.add(y);
  }
}

void paintShape(DeviceContext& dc, const Box& args, Kind kind, int64_t cw, int64_t ch) {
  const Box box = args.normalized();
  const Pen pen = selectedPen(dc);
  const Brush brush = selectedBrush(dc);
  if (kind == Kind::Ellipse) {
    cw = box.width();
    ch = box.height();
  }
  if (!pen.visible) {
    // Without a pen the brush covers what the region of the same arguments covers: one pixel
    // less on the right and at the bottom, the corners clamped to that smaller box.
    paintArea(dc, RoundRegion(box.inflated(0, 0, -1, -1), cw, ch), brush);
  } else if (pen.width > 1) {
    paintWideShape(dc, box, kind, cw, ch, pen, brush);
  } else if (pen.styled() && kind == Kind::Rectangle) {
    paintDashedRectangle(dc, box, pen, brush);
  } else {
    // A solid 1-pixel outline (dashed pens draw round shapes solid).
    paintThinShape(dc, RoundShape(box, cw, ch), pen, brush);
  }
}

// The pixel (x, y) in device coordinates when it lies inside the clip.
bool visiblePixel(DeviceContext& dc, const Point64& p) {
  if (!dc.surface() || p.x < INT32_MIN || p.x > INT32_MAX || p.y < INT32_MIN || p.y > INT32_MAX)
    return false;
  return dc.clip().contains(Point{static_cast<int32_t>(p.x), static_cast<int32_t>(p.y)});
}

Region shifted(Region r, int32_t dx, int32_t dy) {
  r.translate(dx, dy);
  return r;
}

// Erosion along one axis: the pixels p of `a` with p + (k, 0) in `a` for every |k| <= nx (or
// p + (0, k) for |k| <= ny; one of nx, ny is 0). The radius doubles at each step, so a huge
// radius costs a few region operations.
Region erode(const Region& a, int32_t nx, int32_t ny) {
  const int32_t n = std::max(nx, ny);
  const int32_t ux = nx > 0 ? 1 : 0, uy = ny > 0 ? 1 : 0;
  Region e = a.intersected(shifted(a, ux, uy)).intersected(shifted(a, -ux, -uy));
  for (int32_t r = 1; r < n && !e.empty();) {
    const int32_t step = std::min(r, n - r);
    e = shifted(e, step * ux, step * uy).intersected(shifted(e, -step * ux, -step * uy));
    r += step;
  }
  return e;
}

// A region in logical coordinates moved to device coordinates.
Region toDevice(const DeviceContext& dc, Region r) {
  r.translate(dc.state().viewportOrg.x, dc.state().viewportOrg.y);
  return r;
}

}  // namespace

}  // namespace zxp::gfx

// ==== The handle API ===============================================================================
namespace zxp {

using namespace zxp::gfx;

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc) return FALSE;
  paintShape(*dc, toDevice64(*dc, Rect{left, top, right, bottom}), Kind::Rectangle, 0, 0);
  return TRUE;
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc) return FALSE;
  paintShape(*dc, toDevice64(*dc, Rect{left, top, right, bottom}), Kind::RoundRect, ellipseWidth,
             ellipseHeight);
  return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc) return FALSE;
  paintShape(*dc, toDevice64(*dc, Rect{left, top, right, bottom}), Kind::Ellipse, 0, 0);
  return TRUE;
}

int FillRect(HDC hdc, const RECT* r, HBRUSH hbr) {
  DeviceContext* dc = dcFromHandle(hdc);
  Brush brush;
  if (!dc || !r || !resolveBrush(hbr, brush)) return 0;
  if (brush.visible) fillRect(*dc, clipRect(clipBox(*dc), toDevice64(*dc, *r)), brush.color);
  return 1;
}

int FrameRect(HDC hdc, const RECT* r, HBRUSH hbr) {
  DeviceContext* dc = dcFromHandle(hdc);
  Brush brush;
  if (!dc || !r || !resolveBrush(hbr, brush)) return 0;
  if (!brush.visible) return 1;
  const Box clip = clipBox(*dc);
  for (const Box& side : frameSides(toDevice64(*dc, *r))) fillRect(*dc, clipRect(clip, side), brush.color);
  return 1;
}

BOOL InvertRect(HDC hdc, const RECT* r) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc || !r) return FALSE;
  fillRect(*dc, clipRect(clipBox(*dc), toDevice64(*dc, *r)), 0, R2_NOT);
  return TRUE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF c) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc) return CLR_INVALID;
  const Point64 p = toDevice64(*dc, x, y);
  if (!visiblePixel(*dc, p)) return CLR_INVALID;
  // SetPixel writes the colour itself: the DC's ROP2 does not apply.
  dc->surface()->at(static_cast<int32_t>(p.x), static_cast<int32_t>(p.y)) = oleToPixel(c);
  return c & 0x00FFFFFF;
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF c) {
  return SetPixel(hdc, x, y, c) != CLR_INVALID ? TRUE : FALSE;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc) return CLR_INVALID;
  const Point64 p = toDevice64(*dc, x, y);
  if (!visiblePixel(*dc, p)) return CLR_INVALID;
  // Read through the const surface: a read must not make shared pixels the surface's own.
  const Surface& s = *dc->surface();
  return pixelToOle(s.at(static_cast<int32_t>(p.x), static_cast<int32_t>(p.y)));
}

BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH hbr) {
  DeviceContext* dc = dcFromHandle(hdc);
  RegionObj* r = regionFromHandle(rgn);
  Brush brush;
  if (!dc || !r || !resolveBrush(hbr, brush)) return FALSE;
  if (brush.visible) fillRegion(*dc, toDevice(*dc, r->rgn), brush.color);
  return TRUE;
}

BOOL FrameRgn(HDC hdc, HRGN rgn, HBRUSH hbr, int w, int h) {
  DeviceContext* dc = dcFromHandle(hdc);
  RegionObj* r = regionFromHandle(rgn);
  Brush brush;
  if (!dc || !r || !resolveBrush(hbr, brush) || w < 1 || h < 1) return FALSE;
  if (!brush.visible) return TRUE;
  // The frame: the pixels at most w columns from the region's outside horizontally or h rows
  // vertically, that is the region minus its erosions.
  const Region area = toDevice(*dc, r->rgn);
  const Region core = erode(area, w, 0).intersected(erode(area, 0, h));
  fillRegion(*dc, area.subtracted(core), brush.color);
  return TRUE;
}

}  // namespace zxp
