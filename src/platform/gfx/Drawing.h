// What the line and shape calls share: the selected pen and brush as drawing sees them, logical to
// device coordinates in 64 bits, clipped row fills, and pen strokes along a polyline.
// Internal to the drawing layer (Lines.cpp, Shapes.cpp, Edges.cpp).
#pragma once

#include <span>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/ShapeGeometry.h"

namespace zxp::gfx {

// The selected pen. `visible` is false for PS_NULL. Wide pens (width > 1) are geometric: solid,
// round caps and joins. Width-1 pens may carry a dash style.
struct Pen {
  bool visible = false;
  int style = PS_SOLID;
  int64_t width = 1;
  Pixel color = 0;
  bool insideFrame() const { return style == PS_INSIDEFRAME; }
  bool styled() const { return width == 1 && style >= PS_DASH && style <= PS_DASHDOTDOT; }
};
Pen selectedPen(const DeviceContext& dc);

// The selected brush; `visible` is false for the null brush.
struct Brush {
  bool visible = false;
  Pixel color = 0;
};
Brush selectedBrush(const DeviceContext& dc);

// A brush handle's colour. Besides brush objects this accepts the platform's shorthand
// (HBRUSH)(COLOR_xxx + 1) for a system colour. False for a bad handle; `visible` false for the
// null brush.
bool resolveBrush(HBRUSH h, Brush& out);

// Logical to device coordinates without overflow.
inline Point64 toDevice64(const DeviceContext& dc, int64_t x, int64_t y) {
  return Point64{x + dc.state().viewportOrg.x, y + dc.state().viewportOrg.y};
}
inline Box toDevice64(const DeviceContext& dc, const Rect& r) {
  const Point o = dc.state().viewportOrg;
  return Box{int64_t{r.left} + o.x, int64_t{r.top} + o.y, int64_t{r.right} + o.x,
             int64_t{r.bottom} + o.y};
}

// The box of the DC's effective clip (empty when nothing can be drawn).
Box clipBox(DeviceContext& dc);
// The rows of [top, bottom) inside the clip box, as a Span over y.
Span clipRows(const Box& clip, int64_t top, int64_t bottom);
// A device-coordinate box cut to the clip box, as a 32-bit rectangle (empty when outside).
Rect clipRect(const Box& clip, const Box& b);
// Fills the span s of row y through the clip with the DC's ROP2 (or the given one).
void fillRow(DeviceContext& dc, const Box& clip, int64_t y, Span s, Pixel p, int rop2);

// Fills many boxes through one DC's clip, as a shape's rows or a stroke's spans are filled.
// The clip is looked at once: when it is a single rectangle (the usual case) each box is cut
// to it and written straight to the surface, so a span costs one intersection; otherwise each
// box goes through fillRect and every clip rectangle. The DC's clip and ROP2 must not change
// while the filler is in use.
class BoxFiller {
 public:
  explicit BoxFiller(DeviceContext& dc);
  const Box& clip() const { return clip_; }
  void fill(const Box& b, Pixel p);

 private:
  DeviceContext& dc_;
  Box clip_;
  int rop2_;
  Surface* direct_ = nullptr;  // set when the clip is one rectangle and the ROP2 is R2_COPYPEN
};

// The four 1-pixel sides of a box's frame, without overlap: top and bottom rows across the whole
// width, left and right columns between them. Sides that would repeat a pixel are empty.
std::array<Box, 4> frameSides(const Box& b);

// Strokes a polyline (device coordinates) with the pen, through the DC's ROP2. A 1-pixel pen draws
// each segment without its last point, its dash pattern continuing from segment to segment; a wide
// pen draws the union of its segments' strokes once, so no pixel is drawn twice.
void strokePolyline(DeviceContext& dc, const Pen& pen, std::span<const Point64> pts);

}  // namespace zxp::gfx
