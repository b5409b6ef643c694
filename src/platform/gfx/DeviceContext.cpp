// Device contexts, GDI objects and their selection; DC state; rectangle helpers; raster helpers.
#include "platform/gfx/DeviceContext.h"

#include "platform/gfx/Font.h"

#include <algorithm>
#include <cstring>

namespace zxp::gfx {

// ---- DeviceContext ------------------------------------------------------------------------------

DeviceContext::DeviceContext(bool memory, std::shared_ptr<Surface> target)
    : memory_(memory), target_(std::move(target)), systemClipIsShape_(!memory) {
  st_.pen = GetStockObject(BLACK_PEN);
  st_.penObj = handles().get<PenObj>(st_.pen, ObjKind::Pen);
  st_.brush = GetStockObject(WHITE_BRUSH);
  st_.brushObj = handles().get<BrushObj>(st_.brush, ObjKind::Brush);
  st_.font = GetStockObject(SYSTEM_FONT);
  st_.fontObj = handles().find(st_.font, ObjKind::Font);
}

DeviceContext::~DeviceContext() {
  // Release the bitmap selection so the bitmap can be deleted after its DC.
  auto release = [this](DCState& s) {
    if (s.bitmapObj && s.bitmapObj->selectedInto == handle_) s.bitmapObj->selectedInto = 0;
  };
  release(st_);
  for (auto& s : stack_) release(s);
}

void DeviceContext::retarget(std::shared_ptr<Surface> s) {
  target_ = std::move(s);
  clipValid_ = false;
}

void DeviceContext::setSystemClip(std::optional<Region> r, bool windowShape) {
  systemClip_ = std::move(r);
  systemClipIsShape_ = windowShape;
  if (systemClip_ && (origin_.x || origin_.y)) systemClip_->translate(-origin_.x, -origin_.y);
  clipValid_ = false;
}

void DeviceContext::setSurfaceOrigin(Point o) {
  const int64_t dx = int64_t{o.x} - origin_.x, dy = int64_t{o.y} - origin_.y;
  if (dx == 0 && dy == 0) return;
  // Whatever is kept relative to the surface moves the other way, in the current state and in
  // every saved one, so that it stays put in device coordinates.
  auto shift = [&](DCState& s) {
    s.viewportOrg = Point{clampToInt32(s.viewportOrg.x - dx), clampToInt32(s.viewportOrg.y - dy)};
    if (s.clip) s.clip->translate(clampToInt32(-dx), clampToInt32(-dy));
  };
  shift(st_);
  for (DCState& s : stack_) shift(s);
  if (systemClip_) systemClip_->translate(clampToInt32(-dx), clampToInt32(-dy));
  origin_ = o;
  clipValid_ = false;
}

void DeviceContext::setClip(std::optional<Region> r) {
  st_.clip = std::move(r);
  clipValid_ = false;
}

const Region& DeviceContext::clip() {
  noteDraw();
  if (!clipValid_) {
    const Rect bounds = target_ ? target_->bounds() : Rect{};
    clipIsSystem_ = false;
    if (systemClip_ && !st_.clip && !systemClip_->empty()) {
      // A window's DC with no clip of the application's: the system clip (the window's shape
      // and what covers it) is the clip whenever it lies within the surface, and a copy of it
      // would only double the memory of every shaped window.
      const Rect box = systemClip_->box();
      clipIsSystem_ = box.left >= bounds.left && box.top >= bounds.top && box.right <= bounds.right &&
                      box.bottom <= bounds.bottom;
    }
    if (clipIsSystem_) {
      clipCache_ = Region();
    } else {
      Region c(bounds);
      if (systemClip_) c = c.intersected(*systemClip_);
      if (st_.clip) c = c.intersected(*st_.clip);
      clipCache_ = std::move(c);
    }
    clipValid_ = true;
  }
  return clipIsSystem_ ? *systemClip_ : clipCache_;
}

int DeviceContext::save() {
  stack_.push_back(st_);
  return static_cast<int>(stack_.size());
}

bool DeviceContext::restore(int level) {
  int n = static_cast<int>(stack_.size());
  int target = level > 0 ? level : n + 1 + level;  // -1 is the most recent save
  if (target < 1 || target > n) return false;
  DCState restored = stack_[static_cast<size_t>(target - 1)];
  stack_.resize(static_cast<size_t>(target - 1));
  if (memory_ && restored.bitmap != st_.bitmap) {
    if (st_.bitmapObj && st_.bitmapObj->selectedInto == handle_) st_.bitmapObj->selectedInto = 0;
    if (restored.bitmapObj) {
      restored.bitmapObj->selectedInto = handle_;
      target_ = restored.bitmapObj->surface;
    }
  }
  st_ = std::move(restored);
  clipValid_ = false;
  return true;
}

// ---- Lookups ------------------------------------------------------------------------------------

DeviceContext* dcFromHandle(HDC dc) { return handles().peek<DeviceContext>(dc, ObjKind::DC); }
PenObj* penFromHandle(HPEN h) { return handles().peek<PenObj>(h, ObjKind::Pen); }
BrushObj* brushFromHandle(HBRUSH h) { return handles().peek<BrushObj>(h, ObjKind::Brush); }
BitmapObj* bitmapFromHandle(HBITMAP h) { return handles().peek<BitmapObj>(h, ObjKind::Bitmap); }
RegionObj* regionFromHandle(HRGN h) { return handles().peek<RegionObj>(h, ObjKind::Region); }

HDC CreateSurfaceDC(std::shared_ptr<Surface> surface) {
  auto dc = std::make_shared<DeviceContext>(false, std::move(surface));
  HDC h = handles().add(ObjKind::DC, dc);
  dc->setHandle(h);
  return h;
}

bool showSharedPixels(HDC hdc, const std::shared_ptr<uint32_t[]>& pixels, int32_t width, int32_t height) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc || dc->isMemory() || !pixels || !dc->clippedByShapeOnly()) return false;
  Surface* s = dc->surface();
  if (!s || s->bottomUp() || s->width() != width || s->height() != height) return false;
  const Point o = dc->surfaceOrigin(), v = dc->state().viewportOrg;
  if (o.x || o.y || v.x || v.y) return false;
  dc->noteDraw();
  return s->show(pixels);
}

HBITMAP CreateBitmapForSurface(std::shared_ptr<Surface> surface) {
  if (!surface) return 0;
  auto b = std::make_shared<BitmapObj>();
  b->surface = std::move(surface);
  return handles().add(ObjKind::Bitmap, b);
}

std::shared_ptr<Surface> surfaceOfBitmap(HBITMAP h) {
  auto* b = bitmapFromHandle(h);
  return b ? b->surface : nullptr;
}

// ---- Raster helpers -------------------------------------------------------------------------------

uint32_t applyRop2(int rop2, uint32_t dst, uint32_t pen) {
  dst &= 0x00FFFFFF;
  pen &= 0x00FFFFFF;
  uint32_t r;
  switch (rop2) {
    case R2_BLACK: r = 0; break;
    case R2_NOTMERGEPEN: r = ~(dst | pen); break;
    case R2_MASKNOTPEN: r = dst & ~pen; break;
    case R2_NOTCOPYPEN: r = ~pen; break;
    case R2_MASKPENNOT: r = pen & ~dst; break;
    case R2_NOT: r = ~dst; break;
    case R2_XORPEN: r = dst ^ pen; break;
    case R2_NOTMASKPEN: r = ~(dst & pen); break;
    case R2_MASKPEN: r = dst & pen; break;
    case R2_NOTXORPEN: r = ~(dst ^ pen); break;
    case R2_NOP: r = dst; break;
    case R2_MERGENOTPEN: r = dst | ~pen; break;
    case R2_MERGEPENNOT: r = pen | ~dst; break;
    case R2_MERGEPEN: r = dst | pen; break;
    case R2_WHITE: r = 0xFFFFFF; break;
    case R2_COPYPEN:
    default: r = pen; break;
  }
  return r & 0x00FFFFFF;
}

void fillSpan(DeviceContext& dc, int32_t y, int32_t x0, int32_t x1, Pixel p, int rop2) {
  Surface* s = dc.surface();
  if (!s) return;
  p &= 0x00FFFFFF;
  forEachClippedSpan(dc, y, x0, x1, [&](int32_t yy, int32_t a, int32_t e) {
    if (rop2 == R2_COPYPEN) {
      s->fillRect(Rect{a, yy, e, yy + 1}, p);
    } else {
      uint32_t* row = s->row(yy);
      for (int32_t x = a; x < e; ++x) row[x] = applyRop2(rop2, row[x], p);
    }
  });
}

namespace {

// Fills a rectangle that lies inside the surface.
void paintRect(Surface& s, const Rect& c, Pixel p, int rop2) {
  if (rop2 == R2_COPYPEN) {
    s.fillRect(c, p);
    return;
  }
  for (int32_t y = c.top; y < c.bottom; ++y) {
    uint32_t* row = s.row(y);
    for (int32_t x = c.left; x < c.right; ++x) row[x] = applyRop2(rop2, row[x], p);
  }
}

}  // namespace

bool fillWholeWindowShared(DeviceContext& dc, const Rect& r, Pixel p) {
  Surface* s = dc.surface();
  if (!s || dc.isMemory() || !(dc.surfaceOrigin() == Point{0, 0})) return false;
  const Rect whole = s->bounds();
  if (!(r.intersect(whole) == whole)) return false;
  const auto boxes = dc.clip().rects();
  return boxes.size() == 1 && Rect{boxes[0].x1, boxes[0].y1, boxes[0].x2, boxes[0].y2} == whole &&
         s->fillShared(p & 0x00FFFFFF);
}

void fillRect(DeviceContext& dc, const Rect& r, Pixel p, int rop2) {
  Surface* s = dc.surface();
  if (!s || r.empty()) return;
  if (rop2 == R2_COPYPEN && s->packable() && fillWholeWindowShared(dc, r, p)) return;
  p &= 0x00FFFFFF;
  for (const auto& b : dc.clip().rects()) {
    Rect c = r.intersect(Rect{b.x1, b.y1, b.x2, b.y2});
    if (!c.empty()) paintRect(*s, c, p, rop2);
  }
}

void fillRegion(DeviceContext& dc, const Region& r, Pixel p, int rop2) {
  Surface* s = dc.surface();
  if (!s) return;
  p &= 0x00FFFFFF;
  const Region visible = r.intersected(dc.clip());
  for (const auto& b : visible.rects()) paintRect(*s, Rect{b.x1, b.y1, b.x2, b.y2}, p, rop2);
}

BOOL clearSurface(HDC hdc, COLORREF color) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc || !dc->surface()) return FALSE;
  dc->noteDraw();
  dc->surface()->fill(oleToPixel(color));
  return TRUE;
}

void plot(DeviceContext& dc, int32_t x, int32_t y, Pixel p, int rop2) {
  Surface* s = dc.surface();
  if (!s || !dc.clip().contains(Point{x, y})) return;
  uint32_t& d = s->at(x, y);
  d = applyRop2(rop2, d, p);
}

}  // namespace zxp::gfx

// ==== The handle API ===============================================================================
namespace zxp {

using namespace zxp::gfx;

namespace {

HGDIOBJ makeStock(int which) {
  switch (which) {
    case WHITE_BRUSH:
    case LTGRAY_BRUSH:
    case GRAY_BRUSH:
    case DKGRAY_BRUSH:
    case BLACK_BRUSH:
    case NULL_BRUSH: {
      static const COLORREF colors[] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                                        RGB(64, 64, 64), RGB(0, 0, 0), 0};
      auto b = std::make_shared<BrushObj>();
      b->style = which == NULL_BRUSH ? BS_NULL : BS_SOLID;
      b->color = colors[which];
      return handles().add(ObjKind::Brush, b, true);
    }
    case WHITE_PEN:
    case BLACK_PEN:
    case NULL_PEN: {
      auto p = std::make_shared<PenObj>();
      p->style = which == NULL_PEN ? PS_NULL : PS_SOLID;
      p->color = which == WHITE_PEN ? RGB(255, 255, 255) : 0;
      return handles().add(ObjKind::Pen, p, true);
    }
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case ANSI_VAR_FONT:
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
    case SYSTEM_FIXED_FONT:
    case DEFAULT_GUI_FONT:
      return createStockFont(which);
    default:
      return 0;
  }
}

// The 1 x 1 bitmap every memory DC starts with.
HBITMAP defaultBitmap() {
  static HBITMAP h = [] {
    auto b = std::make_shared<BitmapObj>();
    b->surface = Surface::create(1, 1);
    return handles().add(ObjKind::Bitmap, b, true);
  }();
  return h;
}

}  // namespace

HBITMAP gfx::stockBitmap() { return defaultBitmap(); }

HGDIOBJ GetStockObject(int which) {
  static HGDIOBJ stock[DEFAULT_GUI_FONT + 1] = {};
  if (which < 0 || which > DEFAULT_GUI_FONT) return 0;
  if (!stock[which]) stock[which] = makeStock(which);
  return stock[which];
}

HPEN CreatePen(int style, int width, COLORREF color) {
  if (style < PS_SOLID || style > PS_INSIDEFRAME) return 0;
  auto p = std::make_shared<PenObj>();
  p->style = style;
  p->width = std::max(width, 1);
  // Styled (dashed, dotted) pens are cosmetic: wider ones draw as solid, as the platform does.
  if (width > 1 && style >= PS_DASH && style <= PS_DASHDOTDOT) p->style = PS_SOLID;
  p->color = color & 0x00FFFFFF;
  return handles().add(ObjKind::Pen, p);
}

HBRUSH CreateSolidBrush(COLORREF color) {
  auto b = std::make_shared<BrushObj>();
  b->style = BS_SOLID;
  b->color = color & 0x00FFFFFF;
  return handles().add(ObjKind::Brush, b);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
  if (!lb) return 0;
  if (lb->lbStyle == BS_NULL) {
    auto b = std::make_shared<BrushObj>();
    b->style = BS_NULL;
    return handles().add(ObjKind::Brush, b);
  }
  if (lb->lbStyle != BS_SOLID) return 0;  // hatched and pattern brushes are not supported
  return CreateSolidBrush(lb->lbColor);
}

BOOL DeleteObject(HGDIOBJ obj) {
  ObjKind k = handles().kindOf(obj);
  switch (k) {
    case ObjKind::Pen:
    case ObjKind::Brush:
    case ObjKind::Font:
    case ObjKind::Region:
      return handles().remove(obj) ? TRUE : FALSE;
    case ObjKind::Bitmap: {
      auto* b = bitmapFromHandle(obj);
      if (b && b->selectedInto && !handles().isStock(obj)) return FALSE;  // still selected
      return handles().remove(obj) ? TRUE : FALSE;
    }
    default:
      return FALSE;
  }
}

DWORD GetObjectType(HGDIOBJ obj) {
  switch (handles().kindOf(obj)) {
    case ObjKind::Pen: return OBJ_PEN;
    case ObjKind::Brush: return OBJ_BRUSH;
    case ObjKind::Font: return OBJ_FONT;
    case ObjKind::Bitmap: return OBJ_BITMAP;
    case ObjKind::Region: return OBJ_REGION;
    case ObjKind::DC: {
      auto* dc = dcFromHandle(obj);
      return dc && dc->isMemory() ? OBJ_MEMDC : OBJ_DC;
    }
    default: return 0;
  }
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc) return 0;
  DCState& st = dc->state();
  switch (handles().kindOf(obj)) {
    case ObjKind::Pen: {
      HGDIOBJ prev = st.pen;
      st.penObj = handles().get<PenObj>(obj, ObjKind::Pen);
      st.pen = obj;
      return prev;
    }
    case ObjKind::Brush: {
      HGDIOBJ prev = st.brush;
      st.brushObj = handles().get<BrushObj>(obj, ObjKind::Brush);
      st.brush = obj;
      return prev;
    }
    case ObjKind::Font: {
      HGDIOBJ prev = st.font;
      st.fontObj = handles().find(obj, ObjKind::Font);
      st.font = obj;
      return prev;
    }
    case ObjKind::Bitmap: {
      if (!dc->isMemory()) return 0;
      auto b = handles().get<BitmapObj>(obj, ObjKind::Bitmap);
      if (!b || !b->surface) return 0;
      if (b->selectedInto && b->selectedInto != hdc && !handles().isStock(obj)) return 0;
      HGDIOBJ prev = st.bitmap ? st.bitmap : defaultBitmap();
      if (st.bitmapObj && st.bitmapObj->selectedInto == hdc) st.bitmapObj->selectedInto = 0;
      if (!handles().isStock(obj)) b->selectedInto = hdc;
      st.bitmap = obj;
      st.bitmapObj = b;
      dc->retarget(b->surface);
      return prev;
    }
    case ObjKind::Region:
      return static_cast<HGDIOBJ>(SelectClipRgn(hdc, obj));
    default:
      return 0;
  }
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc) return 0;
  switch (type) {
    case OBJ_PEN: return dc->state().pen;
    case OBJ_BRUSH: return dc->state().brush;
    case OBJ_FONT: return dc->state().font;
    case OBJ_BITMAP: return dc->isMemory() ? (dc->state().bitmap ? dc->state().bitmap : defaultBitmap()) : 0;
    default: return 0;
  }
}

int GetObject(HGDIOBJ obj, int size, void* out) {
  switch (handles().kindOf(obj)) {
    case ObjKind::Bitmap: {
      auto* b = bitmapFromHandle(obj);
      if (!b || !b->surface) return 0;
      if (!out) return static_cast<int>(sizeof(BITMAP));
      if (size < static_cast<int>(sizeof(BITMAP))) return 0;
      BITMAP bm;
      bm.bmWidth = b->surface->width();
      bm.bmHeight = b->surface->height();
      bm.bmWidthBytes = b->surface->width() * 4;
      bm.bmBits = b->dib ? b->surface->bits() : nullptr;
      std::memcpy(out, &bm, sizeof bm);
      return static_cast<int>(sizeof bm);
    }
    case ObjKind::Brush: {
      auto* b = brushFromHandle(obj);
      if (!b) return 0;
      if (!out) return static_cast<int>(sizeof(LOGBRUSH));
      if (size < static_cast<int>(sizeof(LOGBRUSH))) return 0;
      LOGBRUSH lb{b->style, b->color, 0};
      std::memcpy(out, &lb, sizeof lb);
      return static_cast<int>(sizeof lb);
    }
    case ObjKind::Font:
      return fontGetObject(obj, size, out);
    default:
      return 0;
  }
}

HDC CreateCompatibleDC(HDC other) {
  if (other && !dcFromHandle(other)) return 0;
  auto b = handles().get<BitmapObj>(defaultBitmap(), ObjKind::Bitmap);
  auto dc = std::make_shared<DeviceContext>(true, b->surface);
  HDC h = handles().add(ObjKind::DC, dc);
  dc->setHandle(h);
  return h;
}

BOOL DeleteDC(HDC hdc) {
  if (!dcFromHandle(hdc)) return FALSE;
  return handles().remove(hdc) ? TRUE : FALSE;
}

int SaveDC(HDC hdc) {
  DeviceContext* dc = dcFromHandle(hdc);
  return dc ? dc->save() : 0;
}

BOOL RestoreDC(HDC hdc, int level) {
  DeviceContext* dc = dcFromHandle(hdc);
  return dc && dc->restore(level) ? TRUE : FALSE;
}

#define ZXP_DC_ACCESSOR(Setter, Getter, field, Type, failValue)   \
  Type Setter(HDC hdc, Type v) {                                  \
    DeviceContext* dc = dcFromHandle(hdc);                        \
    if (!dc) return failValue;                                    \
    Type prev = dc->state().field;                                \
    dc->state().field = v;                                        \
    return prev;                                                  \
  }                                                               \
  Type Getter(HDC hdc) {                                          \
    DeviceContext* dc = dcFromHandle(hdc);                        \
    return dc ? dc->state().field : failValue;                    \
  }

ZXP_DC_ACCESSOR(SetTextColor, GetTextColor, textColor, COLORREF, CLR_INVALID)
ZXP_DC_ACCESSOR(SetBkColor, GetBkColor, bkColor, COLORREF, CLR_INVALID)
#undef ZXP_DC_ACCESSOR

int SetBkMode(HDC hdc, int mode) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  int prev = dc->state().bkMode;
  dc->state().bkMode = mode;
  return prev;
}
int GetBkMode(HDC hdc) {
  DeviceContext* dc = dcFromHandle(hdc);
  return dc ? dc->state().bkMode : 0;
}
int SetROP2(HDC hdc, int rop2) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc || rop2 < R2_BLACK || rop2 > R2_WHITE) return 0;
  int prev = dc->state().rop2;
  dc->state().rop2 = rop2;
  return prev;
}
int GetROP2(HDC hdc) {
  DeviceContext* dc = dcFromHandle(hdc);
  return dc ? dc->state().rop2 : 0;
}
int SetStretchBltMode(HDC hdc, int mode) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc || mode < BLACKONWHITE || mode > HALFTONE) return 0;
  int prev = dc->state().stretchMode;
  dc->state().stretchMode = mode;
  return prev;
}
int GetStretchBltMode(HDC hdc) {
  DeviceContext* dc = dcFromHandle(hdc);
  return dc ? dc->state().stretchMode : 0;
}

BOOL SetViewportOrgEx(HDC hdc, int x, int y, POINT* old) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->toApplication(dc->state().viewportOrg);
  dc->state().viewportOrg = dc->fromDevice(Point{x, y});
  return TRUE;
}
BOOL GetViewportOrgEx(HDC hdc, POINT* out) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc || !out) return FALSE;
  *out = dc->toApplication(dc->state().viewportOrg);
  return TRUE;
}
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, POINT* old) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->toApplication(dc->state().viewportOrg);
  dc->state().viewportOrg.x += dx;
  dc->state().viewportOrg.y += dy;
  return TRUE;
}

BOOL MoveToEx(HDC hdc, int x, int y, POINT* old) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->state().cur;
  dc->state().cur = Point{x, y};
  return TRUE;
}
BOOL GetCurrentPositionEx(HDC hdc, POINT* out) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc || !out) return FALSE;
  *out = dc->state().cur;
  return TRUE;
}

// ---- Rectangle helpers ----------------------------------------------------------------------------

BOOL SetRect(RECT* r, int left, int top, int right, int bottom) {
  if (!r) return FALSE;
  *r = RECT{left, top, right, bottom};
  return TRUE;
}
BOOL SetRectEmpty(RECT* r) { return SetRect(r, 0, 0, 0, 0); }
BOOL CopyRect(RECT* dst, const RECT* src) {
  if (!dst || !src) return FALSE;
  *dst = *src;
  return TRUE;
}
BOOL OffsetRect(RECT* r, int dx, int dy) {
  if (!r) return FALSE;
  *r = r->offset(dx, dy);
  return TRUE;
}
BOOL InflateRect(RECT* r, int dx, int dy) {
  if (!r) return FALSE;
  *r = RECT{r->left - dx, r->top - dy, r->right + dx, r->bottom + dy};
  return TRUE;
}
BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  *dst = a->intersect(*b);
  return dst->empty() ? FALSE : TRUE;
}
BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  if (a->empty()) *dst = *b;
  else if (b->empty()) *dst = *a;
  else
    *dst = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                std::max(a->bottom, b->bottom)};
  return dst->empty() ? FALSE : TRUE;
}
BOOL IsRectEmpty(const RECT* r) { return !r || r->empty() ? TRUE : FALSE; }
BOOL PtInRect(const RECT* r, POINT p) { return r && r->contains(p) ? TRUE : FALSE; }
BOOL EqualRect(const RECT* a, const RECT* b) { return a && b && *a == *b ? TRUE : FALSE; }

}  // namespace zxp
