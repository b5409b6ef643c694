// The objects behind GDI handles, and the device context with its state stack.
//
// This header is for the platform's own layers (gfx, ui, host): controls use the handle API of
// Gdi.h. A device context draws either onto a surface it was created for (a window's surface) or,
// as a memory DC, onto the bitmap selected into it. All drawing goes through the raster helpers
// at the end of this file, which apply the DC's effective clip: the surface bounds, the system
// clip set by the window manager (the window's region) and the application's clip region.
//
// A window's surface may hold only part of its client area (see ui/Window.h); the DC then carries
// the surface origin, the device point that the surface's top-left pixel shows. Inside the DC,
// the viewport origin and the clip regions are kept relative to the surface, so the raster code
// below works in surface pixels throughout; the handle API adds the surface origin back wherever
// the application sees device coordinates (the viewport origin, clip regions it selects or reads).
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/gfx/Gdi.h"
#include "platform/gfx/Region.h"
#include "platform/gfx/Surface.h"

namespace zxp::gfx {

struct PenObj : HandleObject {
  int style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
};

struct BrushObj : HandleObject {
  UINT style = BS_SOLID;
  COLORREF color = 0;
};

struct BitmapObj : HandleObject {
  std::shared_ptr<Surface> surface;
  bool dib = false;     // created by CreateDIBSection (its bits are the application's)
  HDC selectedInto = 0;  // a bitmap can be selected into one memory DC at a time
};

struct RegionObj : HandleObject {
  Region rgn;
};

// The state that SaveDC/RestoreDC save and restore.
// Selected objects are held by handle and by reference: an object deleted while selected stays
// usable by the DC until it is deselected (its handle is gone at once).
struct DCState {
  HPEN pen = 0;
  HBRUSH brush = 0;
  HFONT font = 0;
  HBITMAP bitmap = 0;  // memory DCs only
  std::shared_ptr<PenObj> penObj;
  std::shared_ptr<BrushObj> brushObj;
  std::shared_ptr<HandleObject> fontObj;
  std::shared_ptr<BitmapObj> bitmapObj;
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  int stretchMode = BLACKONWHITE;
  UINT textAlign = 0;
  Point cur{0, 0};
  Point viewportOrg{0, 0};     // relative to the surface (see surfaceOrigin)
  std::optional<Region> clip;  // application clip, surface pixels
};

class DeviceContext : public HandleObject {
 public:
  DeviceContext(bool memory, std::shared_ptr<Surface> target);
  ~DeviceContext() override;

  bool isMemory() const { return memory_; }
  HDC handle() const { return handle_; }
  void setHandle(HDC h) { handle_ = h; }

  // The surface drawn on: a memory DC's selected bitmap's surface, or the window surface.
  Surface* surface() const { return target_.get(); }
  const std::shared_ptr<Surface>& surfacePtr() const { return target_; }
  // Points the DC at another surface (a window that was resized got a new one).
  void retarget(std::shared_ptr<Surface> s);

  // The system clip (device coordinates), set by the window manager: the window's region.
  // nullopt means the whole surface. `windowShape`: the clip is the window's shape and nothing
  // else (not a paint's update region), so what lies outside it is no part of the window.
  void setSystemClip(std::optional<Region> r, bool windowShape = false);
  // True when drawing is clipped by the window's shape alone: no application clip, and a system
  // clip that is the window's shape.
  bool clippedByShapeOnly() const { return systemClipIsShape_ && !st_.clip; }

  // The device point shown by the surface's top-left pixel (0, 0 unless the surface holds only a
  // part of a larger client area). Moving it keeps the application's viewport origin and clip
  // regions where they were in device coordinates.
  Point surfaceOrigin() const { return origin_; }
  void setSurfaceOrigin(Point o);
  // Device coordinates (as the application sees them) to the DC's internal ones and back.
  Point fromDevice(Point p) const {
    return Point{clampToInt32(int64_t{p.x} - origin_.x), clampToInt32(int64_t{p.y} - origin_.y)};
  }
  Point toApplication(Point p) const {
    return Point{clampToInt32(int64_t{p.x} + origin_.x), clampToInt32(int64_t{p.y} + origin_.y)};
  }

  DCState& state() { return st_; }
  const DCState& state() const { return st_; }
  int save();
  bool restore(int level);
  int savedLevels() const { return static_cast<int>(stack_.size()); }

  // Sets or clears the application clip (device coordinates).
  void setClip(std::optional<Region> r);

  // The effective clip in device coordinates: surface ∩ system clip ∩ application clip. Every
  // drawing operation asks for it, so it also tells the draw notifier.
  const Region& clip();
  // A function told whenever something may be drawn through this DC (a window's DC: the screen
  // must be composed again, even for drawing outside WM_PAINT through a DC kept from GetDC). It
  // gets `context` back (the window whose pixels change); it runs on every drawing call, so it
  // must be cheap.
  void setDrawNotifier(void (*notify)(void*), void* context) {
    drawNotifier_ = notify;
    drawContext_ = context;
  }
  void noteDraw() const {
    if (drawNotifier_) drawNotifier_(drawContext_);
  }
  // Logical coordinates to surface pixels.
  // Saturating: positions and origins come from callers and may lie anywhere in the 32-bit range.
  Point toDevice(Point p) const {
    return Point{clampToInt32(int64_t{p.x} + st_.viewportOrg.x), clampToInt32(int64_t{p.y} + st_.viewportOrg.y)};
  }

 private:
  bool memory_;
  HDC handle_ = 0;
  std::shared_ptr<Surface> target_;
  std::optional<Region> systemClip_;  // surface pixels
  Point origin_{0, 0};
  DCState st_;
  std::vector<DCState> stack_;
  Region clipCache_;
  bool clipValid_ = false;
  bool clipIsSystem_ = false;  // clip() is the system clip itself (clipCache_ left empty)
  bool systemClipIsShape_;     // see clippedByShapeOnly; a window DC starts unclipped
  void (*drawNotifier_)(void*) = nullptr;
  void* drawContext_ = nullptr;
};

// ---- Lookups (nullptr for zero, stale or wrong-kind handles) ---------------------------------
DeviceContext* dcFromHandle(HDC dc);
PenObj* penFromHandle(HPEN h);
BrushObj* brushFromHandle(HBRUSH h);
BitmapObj* bitmapFromHandle(HBITMAP h);
RegionObj* regionFromHandle(HRGN h);

// A DC that draws onto the given surface (a window's own DC). Deleted with DeleteDC.
HDC CreateSurfaceDC(std::shared_ptr<Surface> surface);
// Puts width x height top-down pixels at (0, 0) of a window's DC as a SRCCOPY blit of all of
// them would, without copying: the window's surface shows them (Surface::show) until its next
// write. Only where that is the same picture: a window DC whose surface is top-down and exactly
// that size, with no origin moved, clipped by the window's shape alone (the surface's pixels
// outside the shape are no part of the window: the screen never shows them and GetPixel does not
// read them).
// False, doing nothing, anywhere else: the caller blits.
bool showSharedPixels(HDC dc, const std::shared_ptr<uint32_t[]>& pixels, int32_t width, int32_t height);
// A handle for a surface that already exists (a picture, a window surface) as a bitmap object.
HBITMAP CreateBitmapForSurface(std::shared_ptr<Surface> surface);
std::shared_ptr<Surface> surfaceOfBitmap(HBITMAP h);
// The 1 x 1 bitmap every memory DC starts with; a stock object (DeleteObject leaves it alive).
HBITMAP stockBitmap();
// A new region handle owning the given region.
HRGN createRegionHandle(Region r);
// Stock fonts are made by the text layer; GetStockObject asks it for SYSTEM_FONT and friends.
HFONT createStockFont(int which);

// ---- Raster helpers: device coordinates, clipped by the DC's effective clip ----------------------
// The pixel operation applied when a pen or brush colour meets the destination (the DC's ROP2).
uint32_t applyRop2(int rop2, uint32_t dst, uint32_t pen);

// Fills [x0, x1) on row y with a pixel value through the DC's ROP2 mode.
void fillSpan(DeviceContext& dc, int32_t y, int32_t x0, int32_t x1, Pixel p, int rop2 = R2_COPYPEN);
// A solid fill of a whole window picture that nothing clips (a window clearing its surface): the
// surface shows a shared uniform picture instead of writing its own (Surface::fillShared), so a
// window cleared and never drawn on (a form's background, a hidden drop-down) costs no memory of
// its own and no writing. False, changing nothing, for anything else.
bool fillWholeWindowShared(DeviceContext& dc, const Rect& r, Pixel p);
// Fills a rectangle; the fast path for R2_COPYPEN is a per-row fill of each clip rectangle, and a
// window's picture (a packable surface) filled whole shows a shared one (fillWholeWindowShared).
void fillRect(DeviceContext& dc, const Rect& r, Pixel p, int rop2 = R2_COPYPEN);
// Plots one pixel if it lies inside the clip.
void plot(DeviceContext& dc, int32_t x, int32_t y, Pixel p, int rop2 = R2_COPYPEN);
// Fills the pixels of a region (device coordinates) that lie inside the clip.
void fillRegion(DeviceContext& dc, const Region& r, Pixel p, int rop2 = R2_COPYPEN);

// Fills the whole surface of a DC with a colour, ignoring clip, viewport and ROP2: the background
// clearing before a window or a snapshot is painted. FALSE for a bad handle or a DC without surface.
BOOL clearSurface(HDC dc, COLORREF color);
// Calls fn(y, x0, x1) for each clipped piece of the span [x0, x1) on row y.
template <class Fn>
void forEachClippedSpan(DeviceContext& dc, int32_t y, int32_t x0, int32_t x1, Fn&& fn) {
  if (x1 <= x0) return;
  for (const auto& b : dc.clip().rects()) {
    if (b.y1 > y) break;  // banded: later rectangles start below
    if (b.y2 <= y) continue;
    int32_t a = std::max(x0, b.x1);
    int32_t e = std::min(x1, b.x2);
    if (a < e) fn(y, a, e);
  }
}

}  // namespace zxp::gfx
