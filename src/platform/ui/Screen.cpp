// The screen and its composition. Each window's pixels live in its own surface; the screen is
// rebuilt from them, bottom to top, clipped by window rectangles, parents' client areas and
// window regions. Layered top-level windows are drawn into a window-sized picture first and
// blended with the screen below.
#include "platform/ui/Screen.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <optional>
#include <span>

#include "platform/gfx/FontEngine.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/ui/ChildGrid.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Window.h"

namespace zxp::ui {

namespace {

struct ScreenState {
  Size size{1024, 768};
  std::optional<Rect> work;  // set explicitly; otherwise the screen less the task bar
  std::shared_ptr<gfx::Surface> surface;
  bool dirty = true;
  // What the next composition redoes: everything, or the rectangles of the damaged windows.
  bool full = true;
  std::vector<HWND> damaged;
  std::vector<Rect> damageRects;  // their rectangles on the screen, while a composition starts
  std::vector<Rect> composed;  // what the last composition redid (screen coordinates)
  gfx::Region unpresented;     // what compositions redid since the backend last took it
};

ScreenState& scr() {
  static ScreenState s;
  return s;
}

Pixel sysPixel(int index) { return oleToPixel(GetSysColor(index)); }

// Fills r (destination coordinates) inside the clip.
void fillClipped(gfx::Surface& dst, const Rect& r, Pixel p, const gfx::Region& clip) {
  gfx::Region part = clip.intersected(r);
  for (const auto& b : part.rects())
    for (int y = b.y1; y < b.y2; ++y) std::fill(dst.row(y) + b.x1, dst.row(y) + b.x2, p);
}

// The non-client frame of a window from its styles, in the system colours.
// A DC and the caption font for drawing caption texts on the screen picture; both permanent
// (stock) objects, so that composing never shows up in handle counts.
HDC captionDC() {
  static HDC dc = [] {
    auto d = std::make_shared<gfx::DeviceContext>(false, nullptr);
    HDC h = handles().add(ObjKind::DC, d, /*stock=*/true);
    d->setHandle(h);
    return h;
  }();
  return dc;
}

HFONT captionFont() {
  static HFONT font = [] {
    auto f = std::make_shared<gfx::FontObj>();
    f->lf.lfHeight = -13;
    f->lf.lfWeight = FW_BOLD;
    std::strncpy(f->lf.lfFaceName, "Trebuchet MS", LF_FACESIZE - 1);
    f->inst = gfx::realizeFont(f->lf);
    return handles().add(ObjKind::Font, f, /*stock=*/true);
  }();
  return font;
}

void drawCaptionText(const std::shared_ptr<gfx::Surface>& dst, Window* w, Rect cap, const gfx::Region& clip,
                     bool active) {
  if (w->text.empty()) return;
  HDC dc = captionDC();
  auto* d = gfx::dcFromHandle(dc);
  d->retarget(dst);
  d->setSystemClip(clip.intersected(cap));
  SelectObject(dc, captionFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
  RECT r{cap.left + 6, cap.top, cap.right - 4, cap.bottom};
  DrawText(dc, w->text.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  d->retarget(nullptr);
}

void drawFrame(const std::shared_ptr<gfx::Surface>& dstPtr, Window* w, Point o, const gfx::Region& clip) {
  gfx::Surface& dst = *dstPtr;
  Rect win = Rect::fromXYWH(o.x, o.y, w->rect.width(), w->rect.height());
  Rect client = w->clientInWindow().offset(o.x, o.y);
  gfx::Region frame = clip.intersected(win).subtracted(gfx::Region(client));
  if (frame.empty()) return;
  bool active = false;
  for (Window* t = w; t; t = t->parent)
    if (t->hwnd == GetActiveWindow()) active = true;
  Rect outer = win;
  int border = 0;
  if (w->style & (WS_THICKFRAME | WS_DLGFRAME) || (w->exStyle & WS_EX_DLGMODALFRAME)) {
    fillClipped(dst, outer, sysPixel(COLOR_BTNFACE), frame);
    border = (w->style & WS_THICKFRAME) ? GetSystemMetrics(SM_CXFRAME) : GetSystemMetrics(SM_CXDLGFRAME);
    // A dark outline around the frame.
    Pixel dark = sysPixel(COLOR_3DDKSHADOW);
    fillClipped(dst, Rect{outer.left, outer.top, outer.right, outer.top + 1}, dark, frame);
    fillClipped(dst, Rect{outer.left, outer.bottom - 1, outer.right, outer.bottom}, dark, frame);
    fillClipped(dst, Rect{outer.left, outer.top, outer.left + 1, outer.bottom}, dark, frame);
    fillClipped(dst, Rect{outer.right - 1, outer.top, outer.right, outer.bottom}, dark, frame);
  } else if (w->style & WS_BORDER) {
    fillClipped(dst, outer, sysPixel(COLOR_WINDOWFRAME), frame);
    border = 1;
  }
  if ((w->style & WS_CAPTION) == WS_CAPTION) {
    int h = GetSystemMetrics((w->exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION) - 1;
    Rect cap{outer.left + border, outer.top + border, outer.right - border, outer.top + border + h};
    Pixel a = sysPixel(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    Pixel b = sysPixel(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
    int wdt = std::max(1, cap.width() - 1);
    gfx::Region part = frame.intersected(cap);
    for (const auto& r : part.rects()) {
      for (int y = r.y1; y < r.y2; ++y) {
        uint32_t* row = dst.row(y);
        for (int x = r.x1; x < r.x2; ++x) {
          int t = x - cap.left;
          auto mix = [&](int ca, int cb) { return ca + (cb - ca) * t / wdt; };
          row[x] = makePixel(mix(pixelR(a), pixelR(b)), mix(pixelG(a), pixelG(b)), mix(pixelB(a), pixelB(b)));
        }
      }
    }
    drawCaptionText(dstPtr, w, cap, frame, active);
  }
  // The menu bar under the caption, drawn by the menus with the caption's DC.
  Rect bar = menuBarRect(w->hwnd);
  if (!bar.empty()) {
    bar = bar.offset(o.x, o.y);
    HDC dc = captionDC();
    auto* d = gfx::dcFromHandle(dc);
    d->retarget(dstPtr);
    d->setSystemClip(frame.intersected(bar));
    paintMenuBar(w->hwnd, dc, o);
    d->retarget(nullptr);
  }
  if (w->exStyle & WS_EX_CLIENTEDGE) {
    int e = GetSystemMetrics(SM_CXEDGE);
    Rect r{client.left - e, client.top - e, client.right + e, client.bottom + e};
    auto edge = [&](Rect rr, Pixel tl, Pixel br) {
      fillClipped(dst, Rect{rr.left, rr.top, rr.right, rr.top + 1}, tl, frame);
      fillClipped(dst, Rect{rr.left, rr.top, rr.left + 1, rr.bottom}, tl, frame);
      fillClipped(dst, Rect{rr.left, rr.bottom - 1, rr.right, rr.bottom}, br, frame);
      fillClipped(dst, Rect{rr.right - 1, rr.top, rr.right, rr.bottom}, br, frame);
    };
    edge(r, sysPixel(COLOR_BTNSHADOW), sysPixel(COLOR_BTNHIGHLIGHT));
    edge(Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, sysPixel(COLOR_3DDKSHADOW), sysPixel(COLOR_3DLIGHT));
  }
}

// The area a composition step may paint. It is usually one rectangle (a damaged window's
// rectangle, cut by window and client rectangles), which is clipped with plain arithmetic; a
// window's shape of a few rectangles (a shaped button's) cut to a rectangle is a short list of
// rectangles, also without pixman; only larger shapes and frames turn it into a general region.
class Clip {
 public:
  explicit Clip(const Rect& r) : box_(r.empty() ? Rect{} : r) {}
  explicit Clip(gfx::Region r) : box_(r.box()) {
    if (r.rects().size() > 1) region_ = std::move(r);
  }
  bool empty() const { return box_.empty(); }
  // The bounding box; the clip itself when it is a rectangle.
  const Rect& box() const { return box_; }
  bool isRect() const { return !region_ && count_ == 0; }
  bool isList() const { return count_ != 0; }
  gfx::Region region() const {
    if (count_) return gfx::Region::fromRects(std::span<const Rect>(list_.data(), count_));
    return region_ ? *region_ : gfx::Region(box_);
  }
  Clip intersected(const Rect& r) const& {
    if (isRect()) return Clip(box_.intersect(r));
    if (contains(r, box_)) return *this;
    if (count_) return Clip(list_.data(), count_, r);
    return Clip(region_->intersected(r));
  }
  // The same for a clip that is not needed afterwards: a region that lies inside r is moved,
  // not copied.
  Clip intersected(const Rect& r) && {
    if (region_ && contains(r, box_)) return std::move(*this);
    return static_cast<const Clip&>(*this).intersected(r);
  }
  Clip intersected(const gfx::Region& r) const { return Clip(region().intersected(r)); }
  // The clip inside a window's shape `shape` placed with its origin at o.
  Clip intersectedShape(const gfx::Region& shape, Point o) const {
    const auto rects = shape.rects();
    if (rects.size() <= kListSize && (isRect() || count_)) {
      std::array<Rect, kListSize> placed;
      for (size_t i = 0; i < rects.size(); ++i)
        placed[i] = Rect{rects[i].x1 + o.x, rects[i].y1 + o.y, rects[i].x2 + o.x, rects[i].y2 + o.y};
      if (isRect()) return Clip(placed.data(), rects.size(), box_);
      // Two short lists of disjoint rectangles: their pairwise overlaps are disjoint too. A
      // damaged shaped window's own shape against itself gives back the same few rectangles.
      Clip out;
      for (size_t i = 0; i < count_; ++i)
        for (size_t j = 0; j < rects.size(); ++j) {
          const Rect r = list_[i].intersect(placed[j]);
          if (r.empty()) continue;
          if (out.count_ == kListSize) return intersected(shapeRegion(shape, o));
          out.add(r);
        }
      out.settle();
      return out;
    }
    return intersected(shapeRegion(shape, o));
  }
  // The clip made of n disjoint rectangles, each cut to `cut`.
  static Clip ofDisjoint(const Rect* rects, size_t n, const Rect& cut) {
    if (n <= kListSize) return Clip(rects, n, cut);
    return Clip(gfx::Region::fromRects(std::span<const Rect>(rects, n)).intersected(cut));
  }
  // Whether every pixel of the clip lies inside one of the rectangles `parts` (each placed at o
  // and cut to `within`): a short list is checked rectangle by rectangle.
  bool insideAny(std::span<const pixman_box32_t> parts, Point o, const Rect& within) const {
    if (!count_) return false;
    for (size_t i = 0; i < count_; ++i) {
      bool inside = false;
      for (const auto& b : parts)
        if (contains(Rect{b.x1 + o.x, b.y1 + o.y, b.x2 + o.x, b.y2 + o.y}.intersect(within), list_[i])) {
          inside = true;
          break;
        }
      if (!inside) return false;
    }
    return true;
  }
  template <class Fn>
  void forEachRect(const Fn& fn) const {
    if (count_) {
      for (size_t i = 0; i < count_; ++i) fn(list_[i]);
      return;
    }
    if (!region_) {
      if (!box_.empty()) fn(box_);
      return;
    }
    for (const auto& b : region_->rects()) fn(Rect{b.x1, b.y1, b.x2, b.y2});
  }
  static bool contains(const Rect& outer, const Rect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
  }

 private:
  static constexpr size_t kListSize = 8;
  Clip() = default;
  // The parts of n (at most kListSize) disjoint rectangles inside `cut`: a plain rectangle when
  // one is left.
  Clip(const Rect* rects, size_t n, const Rect& cut) {
    for (size_t i = 0; i < n; ++i) {
      const Rect r = rects[i].intersect(cut);
      if (!r.empty()) add(r);
    }
    settle();
  }
  void add(const Rect& r) {
    list_[count_++] = r;
    box_ = count_ == 1 ? r
                       : Rect{std::min(box_.left, r.left), std::min(box_.top, r.top), std::max(box_.right, r.right),
                              std::max(box_.bottom, r.bottom)};
  }
  void settle() {
    if (count_ == 1) count_ = 0;  // box_ is the clip
  }
  static gfx::Region shapeRegion(const gfx::Region& shape, Point o) {
    gfx::Region r = shape;
    r.translate(o.x, o.y);
    return r;
  }

  Rect box_;
  std::optional<gfx::Region> region_;  // set only when the clip is many rectangles
  std::array<Rect, kListSize> list_;   // the first count_ are the clip, when it is a few rectangles
  size_t count_ = 0;
};

// Copies `rows` rows of n pixels (rows `dstStride` and `srcStride` pixels apart) with the
// alpha byte cleared: the screen is opaque. Blocks of eight, the last one overlapping, so the
// compiler stores them with vector instructions; compiled for the widest the processor has.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(_WIN32)  // Windows has no ifunc to pick a clone
__attribute__((target_clones("avx2", "default")))
#endif
void copyOpaque(uint32_t* __restrict dst, ptrdiff_t dstStride, const uint32_t* __restrict src, ptrdiff_t srcStride,
                int rows, int n) {
  for (int r = 0; r < rows; ++r, dst += dstStride, src += srcStride) {
    if (n < 8) {
      for (int x = 0; x < n; ++x) dst[x] = src[x] & 0x00FFFFFFu;
      continue;
    }
    int x = 0;
    for (; x + 8 <= n; x += 8)
      for (int j = 0; j < 8; ++j) dst[x + j] = src[x + j] & 0x00FFFFFFu;
    if (x < n)
      for (int j = 0; j < 8; ++j) dst[n - 8 + j] = src[n - 8 + j] & 0x00FFFFFFu;
  }
}

// From one row of a surface to the next one down the picture, in pixels.
ptrdiff_t rowStride(const gfx::Surface& s) { return s.bottomUp() ? -ptrdiff_t{s.width()} : ptrdiff_t{s.width()}; }

// Copies the pixels of src that fall on r of dst (src's top-left pixel at o), opaque. A packed
// picture is read as it is kept: composing never unpacks a window's pixels; a uniform one is
// filled in.
void copyPixels(gfx::Surface& dst, const Rect& r, const gfx::Surface& src, Point o) {
  if (const std::optional<uint32_t> v = src.uniformValue()) {  // a form's background: nothing to read
    dst.fillRect(r, *v & 0x00FFFFFFu);
    return;
  }
  if (!src.packed()) {
    copyOpaque(dst.row(r.top) + r.left, rowStride(dst), src.row(r.top - o.y) + (r.left - o.x), rowStride(src),
               r.height(), r.width());
    return;
  }
  for (int32_t y = r.top; y < r.bottom; ++y) {
    uint32_t* d = dst.row(y) + r.left;
    src.readRow(y - o.y, r.left - o.x, r.width(), d);
    for (int32_t x = 0; x < r.width(); ++x) d[x] &= 0x00FFFFFFu;
  }
}

// The screen rectangle of a window's client pixels that its surface holds, with its top-left
// corner at o. Empty for layered windows and windows without a surface.
Rect opaquePixels(const Window* w, Point o) {
  if (!w->visibleFlag() || (w->exStyle & WS_EX_LAYERED) || !w->surface) return Rect{};
  const Rect ci = w->clientInWindow();
  const Rect client = ci.offset(o.x, o.y);
  const Rect pixels = Rect::fromXYWH(client.left + w->surfaceOrigin.x, client.top + w->surfaceOrigin.y,
                                     w->surface->width(), w->surface->height());
  return client.intersect(pixels);
}

// A screen rectangle that a window paints opaquely by itself: those pixels, and for a window
// with a region only inside the region's largest rectangle (a shaped button's is all but its
// corner rows).
Rect opaqueRect(const Window* w, Point o) {
  const Rect r = opaquePixels(w, o);
  if (!w->region || r.empty()) return r;
  Rect largest;
  int64_t largestArea = 0;
  for (const auto& b : w->region->rects()) {
    const int64_t area = (int64_t{b.x2} - b.x1) * (int64_t{b.y2} - b.y1);
    if (area > largestArea) {
      largestArea = area;
      largest = Rect{b.x1, b.y1, b.x2, b.y2};
    }
  }
  return r.intersect(largest.offset(o.x, o.y));
}

// Calls fn for the parts of r outside `hole` (at most four rectangles).
template <class Fn>
void forEachOutside(const Rect& r, const Rect& hole, const Fn& fn) {
  const Rect h = r.intersect(hole);
  if (h.empty()) {
    if (!r.empty()) fn(r);
    return;
  }
  if (h.top > r.top) fn(Rect{r.left, r.top, r.right, h.top});
  if (h.left > r.left) fn(Rect{r.left, h.top, h.left, h.bottom});
  if (h.right < r.right) fn(Rect{h.right, h.top, r.right, h.bottom});
  if (h.bottom < r.bottom) fn(Rect{r.left, h.bottom, r.right, r.bottom});
}

// The windows to draw for an area: a stack shared by the nested calls, each of which takes
// its own part on top and leaves the stack as it found it.
std::vector<Window*>& drawStack() {
  static std::vector<Window*> stack;
  return stack;
}

// The parts of a damaged area that a window's children hide, shared by the nested draws: each
// uses it before drawing its children.
std::vector<Rect>& hiddenParts() {
  static std::vector<Rect> parts;
  return parts;
}

// Pushes onto `out` the visible children of `parent` (top of the z-order first), whose
// rectangles are given relative to `origin` (the parent's client area on the screen), that
// reach into `area`, top first, down to the topmost one that hides all of it: what lies under
// that one need not be drawn. True when such a window was found. Otherwise `parts` (when
// given) receives the part of the area's box that each listed window paints opaquely: what lies
// under them need not be drawn either. The box is moved into the windows' coordinates once, so
// a child outside it costs four comparisons; a window with many children names the few that
// may reach into the box through its grid. An area of a few rectangles (a shaped window's own
// damage) is hidden by a shaped window that holds each of them in its shape.
bool windowsToDraw(const Window& parent, const Clip& area, Point origin, std::vector<Window*>& out,
                   std::vector<Rect>* parts = nullptr) {
  const Rect& box = area.box();
  const int64_t left = int64_t{box.left} - origin.x, right = int64_t{box.right} - origin.x;
  const int64_t top = int64_t{box.top} - origin.y, bottom = int64_t{box.bottom} - origin.y;
  auto visit = [&](Window* c) {
    const Rect& r = c->rect;
    if (r.left >= right || r.top >= bottom || r.right <= left || r.bottom <= top || !c->visibleFlag()) return false;
    out.push_back(c);
    const Point o{origin.x + r.left, origin.y + r.top};
    const Rect opaque = opaqueRect(c, o);
    if (Clip::contains(opaque, box)) return true;
    if (c->region && area.isList() && area.insideAny(c->region->rects(), o, opaquePixels(c, o))) return true;
    if (parts) {
      const Rect part = opaque.intersect(box);
      if (!part.empty()) parts->push_back(part);
    }
    return false;
  };
  return anyChildNear(parent, left, top, right, bottom, visit);
}

// Draws a window and its children, opaque, with its top-left corner at o.
void drawWindow(const std::shared_ptr<gfx::Surface>& dstPtr, Window* w, Point o, const Clip& clip) {
  gfx::Surface& dst = *dstPtr;
  const Rect bounds = Rect::fromXYWH(o.x, o.y, w->rect.width(), w->rect.height());
  // Most windows lie outside a small damaged area: a box test spares them everything else.
  if (clip.empty() || bounds.intersect(clip.box()).empty()) return;
  Clip wclip = clip.intersected(bounds);
  if (w->region) wclip = wclip.intersectedShape(*w->region, o);
  if (wclip.empty()) return;
  Rect ci = w->clientInWindow();
  Point co{o.x + ci.left, o.y + ci.top};
  const Rect clientRect = Rect::fromXYWH(co.x, co.y, ci.width(), ci.height());
  if ((w->insets.left || w->insets.top || w->insets.right || w->insets.bottom) &&
      !Clip::contains(clientRect, wclip.box()))
    drawFrame(dstPtr, w, o, wclip.region());
  Clip cclip = std::move(wclip).intersected(clientRect);
  if (cclip.empty()) return;
  // A child that hides the whole area spares the window's own pixels and the children below it.
  std::vector<Window*>& stack = drawStack();
  const size_t base = stack.size();
  const auto childOrigin = [&](const Window* c) { return Point{co.x + c->rect.left, co.y + c->rect.top}; };
  // A child that hides part of it (a shaped button hides all but its corners) spares the
  // window's own pixels there; where several children do (a form full of buttons), the window
  // draws only what none of them hides.
  std::vector<Rect>& parts = hiddenParts();
  parts.clear();
  const bool covered = windowsToDraw(*w, cclip, co, stack, &parts);
  if (w->surface && !covered) {
    // The surface may hold only part of the client area: its top-left pixel shows the client
    // point surfaceOrigin.
    const gfx::Surface& s = *w->surface;
    const Point so{co.x + w->surfaceOrigin.x, co.y + w->surfaceOrigin.y};
    const Rect pixels = Rect::fromXYWH(so.x, so.y, s.width(), s.height());
    const auto copy = [&](const Rect& r) { copyPixels(dst, r, s, so); };
    if (parts.size() > 1) {
      const gfx::Region own = cclip.region().intersected(pixels).subtracted(gfx::Region::fromRects(parts));
      for (const auto& b : own.rects()) copy(Rect{b.x1, b.y1, b.x2, b.y2});
    } else {
      const Rect hidden = parts.empty() ? Rect{} : parts.front();
      cclip.forEachRect([&](const Rect& b) { forEachOutside(b.intersect(pixels), hidden, copy); });
    }
  }
  for (size_t i = stack.size(); i-- > base;) drawWindow(dstPtr, stack[i], childOrigin(stack[i]), cclip);
  stack.resize(base);
}

inline uint32_t div255(uint32_t v) { return (v + 128 + ((v + 128) >> 8)) >> 8; }

// Blends a layered top-level window onto the screen.
void drawLayered(const std::shared_ptr<gfx::Surface>& dstPtr, Window* w, Point o, const Clip& clip) {
  gfx::Surface& dst = *dstPtr;
  int width = w->rect.width(), height = w->rect.height();
  if (width <= 0 || height <= 0) return;
  Clip wclip = clip.intersected(Rect::fromXYWH(o.x, o.y, width, height));
  if (w->region) {
    gfx::Region r = *w->region;
    r.translate(o.x, o.y);
    wclip = wclip.intersected(r);
  }
  if (wclip.empty()) return;
  std::shared_ptr<gfx::Surface> pic;
  Point po = o;  // where pic's (0, 0) lies on the screen
  if (w->ulwFlags) {
    // UpdateLayeredWindow: the window's surface is the picture, alpha included; no children.
    pic = w->surface;
    Rect ci = w->clientInWindow();
    po = Point{o.x + ci.left + w->surfaceOrigin.x, o.y + ci.top + w->surfaceOrigin.y};
  } else {
    pic = gfx::Surface::create(width, height);
    if (!pic) return;
    // Draw the window into its own picture with its region applied there.
    drawWindow(pic, w, Point{0, 0}, Clip(Rect{0, 0, width, height}));
  }
  if (!pic) return;
  bool perPixel = w->ulwFlags && (w->ulwFlags & ULW_ALPHA);
  bool keyed = w->ulwFlags ? (w->ulwFlags & ULW_COLORKEY) != 0 : (w->layeredFlags & LWA_COLORKEY) != 0;
  uint32_t alpha = 255;
  if (w->ulwFlags) alpha = (w->ulwFlags & ULW_OPAQUE) ? 255 : w->ulwBlend.SourceConstantAlpha;
  else if (w->layeredFlags & LWA_ALPHA) alpha = w->layeredAlpha;
  if (!w->ulwFlags && !w->layeredFlags) return;  // a layered window without a picture shows nothing
  Pixel key = oleToPixel(w->layeredKey);
  wclip.forEachRect([&](const Rect& b) {
    for (int y = b.top; y < b.bottom; ++y) {
      int sy = y - po.y;
      if (sy < 0 || sy >= pic->height()) continue;
      uint32_t* d = dst.row(y);
      const uint32_t* s = pic->row(sy);
      for (int x = b.left; x < b.right; ++x) {
        int sx = x - po.x;
        if (sx < 0 || sx >= pic->width()) continue;
        uint32_t sp = s[sx];
        if (keyed && (sp & 0xFFFFFF) == key) continue;
        uint32_t dp = d[x];
        if (perPixel) {
          // Premultiplied source: out = src * ca + dst * (1 - srcA * ca).
          uint32_t sa = div255((sp >> 24) * alpha);
          auto ch = [&](int shift) {
            uint32_t sc = div255(((sp >> shift) & 0xFF) * alpha);
            uint32_t dc = div255(((dp >> shift) & 0xFF) * (255 - sa));
            return std::min<uint32_t>(255, sc + dc) << shift;
          };
          d[x] = ch(16) | ch(8) | ch(0);
        } else if (alpha == 255) {
          d[x] = sp & 0xFFFFFF;
        } else {
          auto ch = [&](int shift) {
            uint32_t v = ((sp >> shift) & 0xFF) * alpha + ((dp >> shift) & 0xFF) * (255 - alpha);
            return div255(v) << shift;
          };
          d[x] = ch(16) | ch(8) | ch(0);
        }
      }
    }
  });
}

}  // namespace

Size screenSize() { return scr().size; }

void setScreenSize(Size s) {
  scr().size = Size{std::clamp(s.cx, 1, gfx::kMaxSurfaceSide), std::clamp(s.cy, 1, gfx::kMaxSurfaceSide)};
  scr().surface.reset();
  desktop();  // takes the new size
  // Window surfaces are bounded by the screen: a new size may let more of a window be kept.
  // Windows whose surface changed are drawn again.
  for (Window* top : std::vector<Window*>(desktop().children))
    forEachInTree(top, [](Window* w) {
      const gfx::Surface* before = w->surface.get();
      resizeSurface(w);
      if (w->surface.get() != before) InvalidateRect(w->hwnd, nullptr, TRUE);
    });
  screenChanged();
}

Rect workArea() {
  if (scr().work) return *scr().work;
  Size s = scr().size;
  return Rect{0, 0, s.cx, std::max(0, s.cy - kTaskBarHeight)};
}

void setWorkArea(const Rect& r) {
  scr().work = r;
  screenChanged();
}

namespace {
struct DisplayInfo {
  int bits = 32;
  int major = 5;
  int minor = 1;
};
DisplayInfo& displayInfo() {
  static DisplayInfo d;
  return d;
}
}  // namespace

int displayBitsPerPixel() { return displayInfo().bits; }
void setDisplayBitsPerPixel(int bits) { displayInfo().bits = bits; }
void setPlatformVersion(int major, int minor) {
  displayInfo().major = major;
  displayInfo().minor = minor;
}

void resetScreen() {
  displayInfo() = DisplayInfo{};
  scr().size = Size{1024, 768};
  scr().work.reset();
  scr().surface.reset();
  scr().dirty = true;
  scr().full = true;
  scr().composed.clear();
  scr().unpresented = gfx::Region();
  desktop();
}

void screenChanged() {
  ++screenVersion();
  scr().dirty = true;
  scr().full = true;
}

void windowDamaged(Window* w) {
  if (w->damaged) return;  // drawing calls come many at a time: the first one lists the window
  ScreenState& st = scr();
  if (st.damaged.size() >= kMaxDamagedWindows) {
    // Nobody has composed for a long while: the whole screen will be redone instead.
    for (HWND h : st.damaged)
      if (Window* d = windowFromHandle(h)) d->damaged = d->reshaped = false;
    st.damaged.clear();
    st.full = true;
  }
  w->damaged = true;
  st.dirty = true;
  st.damaged.push_back(w->hwnd);
  if (w->surface) w->surface->listForPacking();  // drawn on: packed again once composed
}

size_t damagedWindowCount() { return scr().damaged.size(); }
void windowReshaped(Window* w) {
  w->reshaped = true;
  windowDamaged(w);
}
bool screenDirty() { return scr().dirty; }

static std::function<void(gfx::Surface&)>& screenOverlay() {
  static std::function<void(gfx::Surface&)> f;
  return f;
}

void setScreenOverlay(std::function<void(gfx::Surface&)> overlay) {
  screenOverlay() = std::move(overlay);
  screenChanged();
}

// The area the next composition must redo; clears the damage. One damaged window (the usual
// case) is one rectangle, or the few rectangles of its shape, and needs no region work.
static Clip takeDamage(ScreenState& st, const Rect& screen) {
  const bool full = st.full, single = st.damaged.size() == 1;
  std::vector<Rect>& rects = st.damageRects;
  rects.clear();
  for (HWND h : st.damaged) {
    Window* w = windowFromHandle(h);
    if (!w) continue;
    const bool reshaped = w->reshaped;
    w->damaged = w->reshaped = false;
    if (full) continue;
    const Point o = w->screenOrigin();
    const Rect r = Rect::fromXYWH(o.x, o.y, w->rect.width(), w->rect.height()).intersect(screen);
    if (r.empty()) continue;
    // Drawing changes a shaped window's pixels inside its shape only: the rest of its
    // rectangle shows what lies below, unchanged.
    if (w->region && !reshaped && single) {
      for (const auto& b : w->region->rects()) {
        const Rect part = Rect{b.x1 + o.x, b.y1 + o.y, b.x2 + o.x, b.y2 + o.y}.intersect(r);
        if (!part.empty()) rects.push_back(part);
      }
      continue;
    }
    rects.push_back(r);
  }
  st.damaged.clear();
  st.full = false;
  if (full) return Clip(screen);
  if (rects.size() <= 1) return Clip(rects.empty() ? Rect{} : rects.front());
  if (single) return Clip::ofDisjoint(rects.data(), rects.size(), screen);  // one window's shape
  return Clip(gfx::Region::fromRects(rects));
}

// Fills r (destination coordinates) inside the clip.
static void fillClipped(gfx::Surface& dst, const Rect& r, Pixel p, const Clip& clip) {
  clip.forEachRect([&](const Rect& b) {
    const Rect part = b.intersect(r);
    for (int y = part.top; y < part.bottom; ++y) std::fill(dst.row(y) + part.left, dst.row(y) + part.right, p);
  });
}

// Draws the screen's picture inside `area` only: background, task bar, windows, overlay.
static void composeArea(const std::shared_ptr<gfx::Surface>& surface, const Clip& area) {
  gfx::Surface& s = *surface;
  Window& d = desktop();
  // A top-level window that hides the whole area spares the background and what lies below it.
  std::vector<Window*>& stack = drawStack();
  const size_t base = stack.size();
  const auto origin = [](const Window* w) { return Point{w->rect.left, w->rect.top}; };
  const bool background = !windowsToDraw(d, area, Point{0, 0}, stack);
  // Each top-level window is drawn only where no window above it paints opaquely, and the
  // background only where none does: forms opened over one another cost what shows of them,
  // not all of them at every composition. The stack lists the topmost first.
  std::vector<Clip> clips;
  clips.reserve(stack.size() - base);
  gfx::Region hidden;
  bool anyHidden = false;
  std::optional<gfx::Region> whole;  // the area as a region, made once some window hides part of it
  const auto visible = [&] {
    if (!anyHidden) return area;
    if (!whole) whole = area.region();
    return Clip(whole->subtracted(hidden));
  };
  for (size_t i = base; i < stack.size(); ++i) {
    clips.push_back(visible());
    const Rect opaque = opaqueRect(stack[i], origin(stack[i])).intersect(area.box());
    if (opaque.empty()) continue;
    hidden = anyHidden ? hidden.united(gfx::Region(opaque)) : gfx::Region(opaque);
    anyHidden = true;
  }
  if (background) {
    const Clip rest = visible();
    fillClipped(s, s.bounds(), sysPixel(COLOR_BACKGROUND), rest);
    Rect wa = workArea();
    if (wa.bottom < s.height()) {
      // The task bar strip.
      fillClipped(s, Rect{0, wa.bottom, s.width(), s.height()}, makePixel(36, 94, 220), rest);
      fillClipped(s, Rect{0, wa.bottom, s.width(), wa.bottom + 1}, makePixel(60, 130, 240), rest);
    }
  }
  for (size_t i = stack.size(); i-- > base;) {
    Window* w = stack[i];
    const Clip& clip = clips[i - base];
    if (clip.empty()) continue;
    if (w->exStyle & WS_EX_LAYERED) drawLayered(surface, w, origin(w), clip);
    else drawWindow(surface, w, origin(w), clip);
  }
  stack.resize(base);
  if (screenOverlay()) screenOverlay()(s);
}

// Whether the damaged area of w (inside its rectangle) shows w's own pixels and nothing else
// but the overlay, drawn after every composition: w is a frameless window whose surface holds
// all of its client area, without visible children, and it and each of its ancestors lie inside
// their parent's client area, under no visible sibling, with no ancestor shaped or layered. Then composing the area is copying w's pixels
// there, which spares the walk down the tree (the usual case: one control repainted on a form).
static bool uncovered(const Window* w) {
  if (!w->surface || w->surfaceOrigin != Point{0, 0} ||
      w->surface->width() != w->rect.width() || w->surface->height() != w->rect.height())
    return false;
  if (w->insets.left || w->insets.top || w->insets.right || w->insets.bottom) return false;
  for (const Window* c : w->children)
    if (c->visibleFlag()) return false;
  for (const Window* x = w; !x->isDesktop(); x = x->parent) {
    if (!x->visibleFlag() || (x->exStyle & WS_EX_LAYERED) || (x != w && x->region)) return false;
    const Window& p = *x->parent;
    const Rect& r = x->rect;
    if (!p.isDesktop()) {
      const Size pc = p.clientSize();
      if (r.left < 0 || r.top < 0 || r.right > pc.cx || r.bottom > pc.cy) return false;
    }
    // The siblings before x lie above it; the walk stops at x itself.
    bool covered = false;
    anyChildNear(p, r.left, r.top, r.right, r.bottom, [&](const Window* c) {
      if (c == x) return true;
      covered = c->visibleFlag() && c->rect.left < r.right && r.left < c->rect.right && c->rect.top < r.bottom &&
                r.top < c->rect.bottom;
      return covered;
    });
    if (covered) return false;
  }
  return true;
}

// Composes the damaged area of the screen.
static std::shared_ptr<gfx::Surface> composeDamage() {
  ScreenState& st = scr();
  if (!st.surface || st.surface->width() != st.size.cx || st.surface->height() != st.size.cy) {
    st.surface = gfx::Surface::create(st.size.cx, st.size.cy);
    st.full = true;
  }
  if (!st.surface) return nullptr;
  gfx::Surface& s = *st.surface;
  // Only the damaged area is drawn again; every step below stays inside `area`, so the rest of
  // the picture keeps what the last composition left there.
  Window* only = !st.full && st.damaged.size() == 1 ? windowFromHandle(st.damaged.front()) : nullptr;
  if (only && only->reshaped) only = nullptr;
  const Clip area = takeDamage(st, s.bounds());
  st.composed.clear();
  area.forEachRect([&](const Rect& b) { st.composed.push_back(b); });
  if (!area.empty()) {
    // A rectangle that holds everything not yet presented replaces it without a union.
    // A shaped window's few rectangles count as their box: presenting the unchanged corners
    // again costs less than the region work.
    const bool box = area.isRect() || area.isList();
    gfx::Region redone = box ? gfx::Region(area.box()) : area.region();
    if (st.unpresented.empty() || (box && Clip::contains(area.box(), st.unpresented.box())))
      st.unpresented = std::move(redone);
    else
      st.unpresented = st.unpresented.united(redone);
  }
  st.dirty = false;
  if (area.empty()) return st.surface;
  if (only && uncovered(only)) {
    // The area lies inside the window's rectangle (its shape's rectangles, for a shaped one),
    // which its surface fills.
    const gfx::Surface& ws = *only->surface;
    const Point o = only->screenOrigin();
    area.forEachRect([&](const Rect& r) { copyPixels(s, r, ws, o); });
    if (screenOverlay()) screenOverlay()(s);  // as after any composition
  } else {
    composeArea(st.surface, area);
  }
  return st.surface;
}

std::shared_ptr<gfx::Surface> composeScreen() {
  std::shared_ptr<gfx::Surface> screen = composeDamage();
  // What was drawn since the last composition is on the screen now: the windows keep their
  // pictures packed until they draw again.
  gfx::Surface::packIdle();
  return screen;
}

const std::vector<Rect>& composedArea() { return scr().composed; }

std::vector<Rect> takeComposedArea() {
  std::vector<Rect> out;
  for (const auto& b : scr().unpresented.rects()) out.push_back(Rect{b.x1, b.y1, b.x2, b.y2});
  scr().unpresented = gfx::Region();
  return out;
}

std::shared_ptr<gfx::Surface> snapshotWindow(HWND hwnd) {
  Window* w = windowFromHandle(hwnd);
  if (!w) return nullptr;
  RECT r;
  GetWindowRect(hwnd, &r);
  auto screen = composeScreen();
  if (!screen) return nullptr;
  Rect c = r.intersect(screen->bounds());
  if (c.empty()) return nullptr;
  auto out = gfx::Surface::create(c.width(), c.height());
  if (!out) return nullptr;
  for (int y = 0; y < c.height(); ++y)
    std::memcpy(out->row(y), screen->row(c.top + y) + c.left, sizeof(uint32_t) * static_cast<size_t>(c.width()));
  return out;
}

}  // namespace zxp::ui

namespace zxp {

DWORD GetVersion() {
  return static_cast<DWORD>((ui::displayInfo().major & 0xFF) | ((ui::displayInfo().minor & 0xFF) << 8)) |
         (2600u << 16);
}

int GetDeviceCaps(HDC, int index) {
  switch (index) {
    case BITSPIXEL: return ui::displayBitsPerPixel();
    case PLANES: return 1;
    case HORZRES: return ui::screenSize().cx;
    case VERTRES: return ui::screenSize().cy;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    default: return 0;
  }
}

}  // namespace zxp
