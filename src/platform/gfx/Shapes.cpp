// Closed shapes (Rectangle, RoundRect, Ellipse), rectangle and region fills, and single pixels.
//
// A closed shape is painted row by row from two round shapes of ShapeGeometry.h: the outer one
// is everything the call paints, the inner one the brush's part; the pen paints the ring between.
#include "platform/gfx/Drawing.h"

namespace zxp::gfx {

namespace {

enum class Kind { Rectangle, RoundRect, Ellipse };

RoundShape shapeIn(const Box& box, Kind kind, int64_t cw, int64_t ch) {
  return kind == Kind::Ellipse ? RoundShape::ellipse(box) : RoundShape(box, cw, ch);
}

// A row of a closed shape: the brush's span and the pen's pieces either side of it.
struct ShapeRow {
  Span brush;
  std::array<Span, 2> pen;
  bool operator==(const ShapeRow& o) const {
    auto same = [](Span a, Span b) { return a.left == b.left && a.right == b.right; };
    return same(brush, o.brush) && same(pen[0], o.pen[0]) && same(pen[1], o.pen[1]);
  }
};

// Paints runs of identical rows as rectangles: the straight parts of a shape cost one fill.
class RowPainter {
 public:
  RowPainter(DeviceContext& dc, const Pen& pen, const Brush& brush)
      : dc_(dc), clip_(clipBox(dc)), rop2_(dc.state().rop2), pen_(pen), brush_(brush) {}
  ~RowPainter() { flush(); }
  RowPainter(const RowPainter&) = delete;
  RowPainter& operator=(const RowPainter&) = delete;

  const Box& clip() const { return clip_; }
  void add(int64_t y, const ShapeRow& row) {
    if (y == bottom_ && row == run_) {
      ++bottom_;
      return;
    }
    flush();
    run_ = row;
    top_ = y;
    bottom_ = y + 1;
  }

 private:
  void fill(Span s, Pixel p) {
    fillRect(dc_, clipRect(clip_, Box{s.left, top_, s.right, bottom_}), p, rop2_);
  }
  void flush() {
    if (top_ == bottom_) return;
    if (brush_.visible) fill(run_.brush, brush_.color);
    if (pen_.visible)
      for (const Span& s : run_.pen) fill(s, pen_.color);
    top_ = bottom_;
  }

  DeviceContext& dc_;
  Box clip_;
  int rop2_;
  Pen pen_;
  Brush brush_;
  ShapeRow run_;
  int64_t top_ = 0, bottom_ = 0;
};

// Paints each visible row of `outer`: the brush on brushRow(y), the pen on the rest.
template <class BrushRow>
void paintRows(DeviceContext& dc, const RoundShape& outer, const Pen& pen, const Brush& brush,
               BrushRow&& brushRow) {
  RowPainter painter(dc, pen, brush);
  const Span rows = clipRows(painter.clip(), outer.box().top, outer.box().bottom);
  for (int64_t y = rows.left; y < rows.right; ++y) {
    const Span inside = brushRow(y);
    painter.add(y, ShapeRow{inside, spanMinus(outer.row(y), inside)});
  }
}

// A rectangle outline with a dashed pen: the interior as usual, the frame as a closed polyline so
// that the dash pattern runs around it.
void paintDashedRectangle(DeviceContext& dc, const Box& box, const Pen& pen, const Brush& brush) {
  const RoundShape shape(box, 0, 0);
  paintRows(dc, shape, Pen{}, brush, [&](int64_t y) { return shape.interior(y); });
  const int64_t r = box.right - 1, b = box.bottom - 1;
  const Point64 path[] = {{box.left, box.top}, {r, box.top}, {r, b}, {box.left, b}, {box.left, box.top}};
  strokePolyline(dc, pen, path);
}

// A wide pen is centred on the outline (or, PS_INSIDEFRAME, kept inside the box) and has round
// joins: its outer edge is the shape grown by the pen, with corners grown by the pen too.
void paintWideOutline(DeviceContext& dc, const Box& box, Kind kind, int64_t cw, int64_t ch,
                      const Pen& pen, const Brush& brush) {
  const int64_t w = pen.width;
  const Box outerBox = pen.insideFrame() ? box : box.inflated(w / 2, w / 2, (w - 1) / 2, (w - 1) / 2);
  const Box innerBox = outerBox.inflated(-w, -w, -w, -w);
  const int64_t ocw = kind == Kind::Ellipse ? outerBox.width() : cw + w - 1;
  const int64_t och = kind == Kind::Ellipse ? outerBox.height() : ch + w - 1;
  const RoundShape outer(outerBox, ocw, och);
  const RoundShape inner(innerBox, ocw - 2 * w, och - 2 * w);
  paintRows(dc, outer, pen, brush, [&](int64_t y) { return inner.row(y); });
}

void paintShape(DeviceContext& dc, const Box& args, Kind kind, int64_t cw, int64_t ch) {
  const Box box = args.normalized();
  const Pen pen = selectedPen(dc);
  const Brush brush = selectedBrush(dc);
  if (!pen.visible) {
    // Without a pen the brush covers the outline's interior: one pixel less on the right and
    // at the bottom.
    const RoundShape area = shapeIn(box.inflated(0, 0, -1, -1), kind, cw, ch);
    paintRows(dc, area, pen, brush, [&](int64_t y) { return area.row(y); });
  } else if (pen.width > 1) {
    paintWideOutline(dc, box, kind, cw, ch, pen, brush);
  } else if (pen.styled() && kind == Kind::Rectangle) {
    paintDashedRectangle(dc, box, pen, brush);
  } else {
    // A solid 1-pixel outline (dashed pens draw round shapes solid).
    const RoundShape shape = shapeIn(box, kind, cw, ch);
    paintRows(dc, shape, pen, brush, [&](int64_t y) { return shape.interior(y); });
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
  return pixelToOle(dc->surface()->at(static_cast<int32_t>(p.x), static_cast<int32_t>(p.y)));
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
