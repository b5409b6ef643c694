// Region handles and DC clipping: pixman does the algebra, this file gives it GDI's API.
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/ShapeGeometry.h"

#include <cstring>
#include <vector>

namespace zxp {

using namespace zxp::gfx;

namespace {

int regionType(const Region& r) {
  if (r.empty()) return NULLREGION;
  return r.rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// Curved regions are built row by row; rows beyond this distance from the origin lie outside
// every surface (whose sides are at most 32767), so they are left out instead of costing memory.
constexpr int64_t kCurvedRegionLimit = int64_t{1} << 16;

// The region of a round region's rows.
Region regionOf(const RoundRegion& shape) {
  const Box& b = shape.box();
  const int64_t top = std::max(b.top, -kCurvedRegionLimit);
  const int64_t bottom = std::min(b.bottom, kCurvedRegionLimit);
  if (b.empty() || top >= bottom) return Region();
  std::vector<std::pair<int32_t, int32_t>> xs;
  xs.reserve(static_cast<size_t>(bottom - top));
  for (int64_t y = top; y < bottom; ++y) {
    const Span s = shape.row(y);
    xs.emplace_back(clamp32(s.left), clamp32(s.right));
  }
  return Region::fromRowSpans(static_cast<int32_t>(top), xs);
}

// The box of a round region: the arguments' box without its right column and bottom row.
Box argsBox(int left, int top, int right, int bottom) {
  return Box{left, top, right, bottom}.normalized().inflated(0, 0, -1, -1);
}

}  // namespace

HRGN gfx::createRegionHandle(Region r) {
  auto obj = std::make_shared<RegionObj>();
  obj->rgn = std::move(r);
  return handles().add(ObjKind::Region, obj);
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return createRegionHandle(Region(Rect{left, top, right, bottom}.normalized()));
}

HRGN CreateRectRgnIndirect(const RECT* r) {
  return r ? CreateRectRgn(r->left, r->top, r->right, r->bottom) : 0;
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
  return createRegionHandle(regionOf(RoundRegion(argsBox(left, top, right, bottom), ellipseWidth, ellipseHeight)));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
  // The corner is the whole box, clamped (like any corner) to the box without its right column
  // and bottom row.
  const Box b = Box{left, top, right, bottom}.normalized();
  return createRegionHandle(regionOf(RoundRegion(argsBox(left, top, right, bottom), b.width(), b.height())));
}

HRGN CreateEllipticRgnIndirect(const RECT* r) {
  return r ? CreateEllipticRgn(r->left, r->top, r->right, r->bottom) : 0;
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
  RegionObj* d = regionFromHandle(dest);
  RegionObj* a = regionFromHandle(src1);
  if (!d || !a) return ERROR;
  if (mode == RGN_COPY) {
    d->rgn = a->rgn;
    return regionType(d->rgn);
  }
  RegionObj* b = regionFromHandle(src2);
  if (!b) return ERROR;
  switch (mode) {
    case RGN_AND: d->rgn = a->rgn.intersected(b->rgn); break;
    case RGN_OR: d->rgn = a->rgn.united(b->rgn); break;
    case RGN_XOR: d->rgn = a->rgn.xored(b->rgn); break;
    case RGN_DIFF: d->rgn = a->rgn.subtracted(b->rgn); break;
    default: return ERROR;
  }
  return regionType(d->rgn);
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
  RegionObj* r = regionFromHandle(rgn);
  return r && r->rgn.contains(Point{x, y}) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN rgn, const RECT* rc) {
  RegionObj* r = regionFromHandle(rgn);
  if (!r || !rc) return FALSE;
  return r->rgn.intersected(rc->normalized()).empty() ? FALSE : TRUE;
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
  RegionObj* r = regionFromHandle(rgn);
  if (!r) return ERROR;
  r->rgn.translate(dx, dy);
  return regionType(r->rgn);
}

int GetRgnBox(HRGN rgn, RECT* out) {
  RegionObj* r = regionFromHandle(rgn);
  if (!r || !out) return ERROR;
  *out = r->rgn.box();
  return regionType(r->rgn);
}

BOOL EqualRgn(HRGN a, HRGN b) {
  RegionObj* ra = regionFromHandle(a);
  RegionObj* rb = regionFromHandle(b);
  if (!ra || !rb) return ERROR;
  return ra->rgn == rb->rgn ? TRUE : FALSE;
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
  RegionObj* r = regionFromHandle(rgn);
  if (!r) return FALSE;
  r->rgn = Region(Rect{left, top, right, bottom}.normalized());
  return TRUE;
}

int SelectClipRgn(HDC hdc, HRGN rgn) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc) return ERROR;
  if (rgn == 0) {
    dc->setClip(std::nullopt);
    return regionType(dc->clip());
  }
  RegionObj* r = regionFromHandle(rgn);
  if (!r) return ERROR;
  // A copy (the application may delete its region afterwards), relative to the DC's surface.
  Region rel = r->rgn;
  const Point o = dc->surfaceOrigin();
  if (o.x || o.y) rel.translate(-o.x, -o.y);
  dc->setClip(std::move(rel));
  return regionType(dc->clip());
}

int GetClipRgn(HDC hdc, HRGN out) {
  DeviceContext* dc = dcFromHandle(hdc);
  RegionObj* r = regionFromHandle(out);
  if (!dc || !r) return -1;
  if (!dc->state().clip) return 0;
  r->rgn = *dc->state().clip;
  const Point o = dc->surfaceOrigin();
  if (o.x || o.y) r->rgn.translate(o.x, o.y);
  return 1;
}

int GetClipBox(HDC hdc, RECT* out) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc || !out) return ERROR;
  Rect b = dc->clip().box();
  Point o = dc->state().viewportOrg;
  *out = b.offset(-o.x, -o.y);
  return regionType(dc->clip());
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc) return ERROR;
  Point o = dc->state().viewportOrg;
  Region r(Rect{left, top, right, bottom}.normalized().offset(o.x, o.y));
  dc->setClip(dc->state().clip ? dc->state().clip->intersected(r) : r);
  return regionType(dc->clip());
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc) return ERROR;
  Point o = dc->state().viewportOrg;
  Region r(Rect{left, top, right, bottom}.normalized().offset(o.x, o.y));
  Region base = dc->state().clip ? *dc->state().clip
                                 : Region(dc->surface() ? dc->surface()->bounds() : Rect{});
  dc->setClip(base.subtracted(r));
  return regionType(dc->clip());
}

HRGN ExtCreateRegion(const XFORM* xform, DWORD count, const RGNDATA* data) {
  if (xform && (xform->eM11 != 1 || xform->eM12 != 0 || xform->eM21 != 0 || xform->eM22 != 1 ||
                xform->eDx != 0 || xform->eDy != 0))
    return 0;
  if (!data || count < sizeof(RGNDATAHEADER)) return 0;
  const RGNDATAHEADER& h = data->rdh;
  if (h.dwSize != sizeof(RGNDATAHEADER) || h.iType != RDH_RECTANGLES) return 0;
  const uint64_t need = sizeof(RGNDATAHEADER) + uint64_t{h.nCount} * sizeof(RECT);
  if (need > count) return 0;
  std::vector<Rect> rects(h.nCount);
  if (h.nCount) std::memcpy(rects.data(), data->Buffer, h.nCount * sizeof(RECT));
  return createRegionHandle(Region::fromRects(rects));
}

DWORD GetRegionData(HRGN rgn, DWORD count, RGNDATA* data) {
  RegionObj* r = regionFromHandle(rgn);
  if (!r) return 0;
  const auto boxes = r->rgn.rects();
  const uint64_t need = sizeof(RGNDATAHEADER) + uint64_t{boxes.size()} * sizeof(RECT);
  if (need > 0xFFFFFFFFu) return 0;
  if (!data) return static_cast<DWORD>(need);
  if (count < need) return 0;
  RGNDATAHEADER h;
  h.nCount = static_cast<DWORD>(boxes.size());
  h.nRgnSize = static_cast<DWORD>(boxes.size() * sizeof(RECT));
  h.rcBound = r->rgn.box();
  data->rdh = h;
  for (size_t i = 0; i < boxes.size(); ++i) {
    const RECT rc{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2};
    std::memcpy(data->Buffer + i * sizeof(RECT), &rc, sizeof(RECT));
  }
  return static_cast<DWORD>(need);
}

}  // namespace zxp
