// The user interface's frames: DrawEdge's 3-D borders and DrawFocusRect's dotted frame.
#include "platform/gfx/Drawing.h"
#include "platform/gfx/SysColors.h"

namespace zxp::gfx {

namespace {

// The colours of one border: the top and left sides, the bottom and right sides.
struct BorderColors {
  int topLeft;
  int bottomRight;
};

// Raised borders are lit from the top left, sunken ones from the bottom right. The outer border
// takes the stronger pair (3DLIGHT / 3DDKSHADOW when raised); BF_SOFT swaps the top-left colours
// of the outer and inner border, putting the strongest light (or shade) outside.
BorderColors bevelColors(bool outer, bool raised, bool soft) {
  if (raised) {
    const int light = (outer != soft) ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT;
    return {light, outer ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW};
  }
  const int shade = (outer != soft) ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW;
  return {shade, outer ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT};
}

// The colours of the outer or inner border for DrawEdge's flags.
BorderColors borderColors(bool outer, bool raised, UINT flags) {
  if (flags & BF_MONO) {
    const int c = outer ? COLOR_WINDOWFRAME : COLOR_WINDOW;
    return {c, c};
  }
  if (flags & BF_FLAT) {
    const int c = outer ? COLOR_BTNSHADOW : COLOR_BTNFACE;
    return {c, c};
  }
  return bevelColors(outer, raised, (flags & BF_SOFT) != 0);
}

void fillBox(DeviceContext& dc, const Box& clip, const Box& b, int sysColor) {
  fillRect(dc, clipRect(clip, b), oleToPixel(GetSysColor(sysColor)));
}

// Draws one 1-pixel border on the sides the flags name and returns the box inside it. The
// bottom and right sides run the full length, so the top-right and bottom-left corner pixels
// take the bottom-right colour; the top and left sides stop one pixel short.
Box drawBorder(DeviceContext& dc, const Box& clip, const Box& b, UINT flags, BorderColors c) {
  if (flags & BF_LEFT) fillBox(dc, clip, Box{b.left, b.top, b.left + 1, b.bottom - 1}, c.topLeft);
  if (flags & BF_TOP) fillBox(dc, clip, Box{b.left, b.top, b.right - 1, b.top + 1}, c.topLeft);
  if (flags & BF_RIGHT) fillBox(dc, clip, Box{b.right - 1, b.top, b.right, b.bottom}, c.bottomRight);
  if (flags & BF_BOTTOM) fillBox(dc, clip, Box{b.left, b.bottom - 1, b.right, b.bottom}, c.bottomRight);
  return Box{b.left + ((flags & BF_LEFT) ? 1 : 0), b.top + ((flags & BF_TOP) ? 1 : 0),
             b.right - ((flags & BF_RIGHT) ? 1 : 0), b.bottom - ((flags & BF_BOTTOM) ? 1 : 0)};
}

}  // namespace

}  // namespace zxp::gfx

// ==== The handle API ===============================================================================
namespace zxp {

using namespace zxp::gfx;

BOOL DrawEdge(HDC hdc, RECT* r, UINT edge, UINT flags) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc || !r) return FALSE;
  const Box clip = clipBox(*dc);
  Box box = toDevice64(*dc, *r);
  if (edge & BDR_OUTER)
    box = drawBorder(*dc, clip, box, flags, borderColors(true, (edge & BDR_RAISEDOUTER) != 0, flags));
  if (edge & BDR_INNER)
    box = drawBorder(*dc, clip, box, flags, borderColors(false, (edge & BDR_RAISEDINNER) != 0, flags));
  if (flags & BF_MIDDLE) fillBox(*dc, clip, box, (flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE);
  if (flags & BF_ADJUST) {
    const Point o = dc->state().viewportOrg;
    *r = Rect{clamp32(box.left - o.x), clamp32(box.top - o.y), clamp32(box.right - o.x),
              clamp32(box.bottom - o.y)};
  }
  return TRUE;
}

BOOL DrawFocusRect(HDC hdc, const RECT* r) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc || !r) return FALSE;
  // Every other pixel of the frame is inverted, in a checkerboard fixed to the device (the pixel
  // at an even x + y), so a second call restores the picture exactly.
  const Box clip = clipBox(*dc);
  for (const Box& side : frameSides(toDevice64(*dc, *r))) {
    const Rect c = clipRect(clip, side);
    for (int32_t y = c.top; y < c.bottom; ++y)
      for (int32_t x = c.left + ((c.left + y) & 1); x < c.right; x += 2) plot(*dc, x, y, 0, R2_NOT);
  }
  return TRUE;
}

}  // namespace zxp
