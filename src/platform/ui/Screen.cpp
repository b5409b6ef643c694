// The screen and its composition. Each window's pixels live in its own surface; the screen is
// rebuilt from them, bottom to top, clipped by window rectangles, parents' client areas and
// window regions. Layered top-level windows are drawn into a window-sized picture first and
// blended with the screen below.
#include "platform/ui/Screen.h"

#include <algorithm>
#include <cstring>

#include "platform/gfx/FontEngine.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
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

// Draws a window and its children, opaque, with its top-left corner at o.
void drawWindow(const std::shared_ptr<gfx::Surface>& dstPtr, Window* w, Point o, const gfx::Region& clip) {
  gfx::Surface& dst = *dstPtr;
  const Rect bounds = Rect::fromXYWH(o.x, o.y, w->rect.width(), w->rect.height());
  // Most windows lie outside a small damaged area: a box test spares them the region work.
  if (clip.empty() || bounds.intersect(clip.box()).empty()) return;
  gfx::Region wclip = clip.intersected(bounds);
  if (w->region) {
    gfx::Region r = *w->region;
    r.translate(o.x, o.y);
    wclip = wclip.intersected(r);
  }
  if (wclip.empty()) return;
  if (w->insets.left || w->insets.top || w->insets.right || w->insets.bottom) drawFrame(dstPtr, w, o, wclip);
  Rect ci = w->clientInWindow();
  Point co{o.x + ci.left, o.y + ci.top};
  gfx::Region cclip = wclip.intersected(Rect::fromXYWH(co.x, co.y, ci.width(), ci.height()));
  if (cclip.empty()) return;
  if (w->surface) {
    // The surface may hold only part of the client area: its top-left pixel shows the client
    // point surfaceOrigin.
    const gfx::Surface& s = *w->surface;
    const Point so{co.x + w->surfaceOrigin.x, co.y + w->surfaceOrigin.y};
    for (const auto& b : cclip.rects()) {
      int x0 = std::max(b.x1, so.x), x1 = std::min(b.x2, so.x + s.width());
      for (int y = b.y1; y < b.y2; ++y) {
        int sy = y - so.y;
        if (sy < 0 || sy >= s.height() || x0 >= x1) continue;
        const uint32_t* src = s.row(sy) + (x0 - so.x);
        uint32_t* d = dst.row(y) + x0;
        for (int x = 0; x < x1 - x0; ++x) d[x] = src[x] & 0x00FFFFFF;
      }
    }
  }
  for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
    Window* c = *it;
    if (!c->visibleFlag()) continue;
    drawWindow(dstPtr, c, Point{co.x + c->rect.left, co.y + c->rect.top}, cclip);
  }
}

inline uint32_t div255(uint32_t v) { return (v + 128 + ((v + 128) >> 8)) >> 8; }

// Blends a layered top-level window onto the screen.
void drawLayered(const std::shared_ptr<gfx::Surface>& dstPtr, Window* w, Point o, const gfx::Region& clip) {
  gfx::Surface& dst = *dstPtr;
  int width = w->rect.width(), height = w->rect.height();
  if (width <= 0 || height <= 0) return;
  gfx::Region wclip = clip.intersected(Rect::fromXYWH(o.x, o.y, width, height));
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
    gfx::Region local(Rect{0, 0, width, height});
    drawWindow(pic, w, Point{0, 0}, local);
  }
  if (!pic) return;
  bool perPixel = w->ulwFlags && (w->ulwFlags & ULW_ALPHA);
  bool keyed = w->ulwFlags ? (w->ulwFlags & ULW_COLORKEY) != 0 : (w->layeredFlags & LWA_COLORKEY) != 0;
  uint32_t alpha = 255;
  if (w->ulwFlags) alpha = (w->ulwFlags & ULW_OPAQUE) ? 255 : w->ulwBlend.SourceConstantAlpha;
  else if (w->layeredFlags & LWA_ALPHA) alpha = w->layeredAlpha;
  if (!w->ulwFlags && !w->layeredFlags) return;  // a layered window without a picture shows nothing
  Pixel key = oleToPixel(w->layeredKey);
  for (const auto& b : wclip.rects()) {
    for (int y = b.y1; y < b.y2; ++y) {
      int sy = y - po.y;
      if (sy < 0 || sy >= pic->height()) continue;
      uint32_t* d = dst.row(y);
      const uint32_t* s = pic->row(sy);
      for (int x = b.x1; x < b.x2; ++x) {
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
  }
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
  scr().dirty = true;
  scr().full = true;
}

void windowDamaged(Window* w) {
  if (w->damaged) return;  // drawing calls come many at a time: the first one lists the window
  w->damaged = true;
  scr().dirty = true;
  scr().damaged.push_back(w->hwnd);
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

// The area the next composition must redo, as a region of the screen; clears the damage.
static gfx::Region takeDamage(ScreenState& st, const Rect& screen) {
  const bool full = st.full;
  gfx::Region area;
  for (HWND h : st.damaged) {
    Window* w = windowFromHandle(h);
    if (!w) continue;
    w->damaged = false;
    if (full) continue;
    const Point o = w->screenOrigin();
    const Rect r = Rect::fromXYWH(o.x, o.y, w->rect.width(), w->rect.height()).intersect(screen);
    if (!r.empty()) area = area.united(gfx::Region(r));
  }
  st.damaged.clear();
  st.full = false;
  return full ? gfx::Region(screen) : area;
}

// Draws the screen's picture inside `area` only: background, task bar, windows, overlay.
static void composeArea(const std::shared_ptr<gfx::Surface>& surface, const gfx::Region& area) {
  gfx::Surface& s = *surface;
  fillClipped(s, s.bounds(), sysPixel(COLOR_BACKGROUND), area);
  Rect wa = workArea();
  if (wa.bottom < s.height()) {
    // The task bar strip.
    fillClipped(s, Rect{0, wa.bottom, s.width(), s.height()}, makePixel(36, 94, 220), area);
    fillClipped(s, Rect{0, wa.bottom, s.width(), wa.bottom + 1}, makePixel(60, 130, 240), area);
  }
  Window& d = desktop();
  for (auto it = d.children.rbegin(); it != d.children.rend(); ++it) {
    Window* w = *it;
    if (!w->visibleFlag()) continue;
    Point o{w->rect.left, w->rect.top};
    if (w->exStyle & WS_EX_LAYERED) drawLayered(surface, w, o, area);
    else drawWindow(surface, w, o, area);
  }
  if (screenOverlay()) screenOverlay()(s);
}

std::shared_ptr<gfx::Surface> composeScreen() {
  ScreenState& st = scr();
  if (!st.surface || st.surface->width() != st.size.cx || st.surface->height() != st.size.cy) {
    st.surface = gfx::Surface::create(st.size.cx, st.size.cy);
    st.full = true;
  }
  if (!st.surface) return nullptr;
  gfx::Surface& s = *st.surface;
  // Only the damaged area is drawn again; every step below stays inside `area`, so the rest of
  // the picture keeps what the last composition left there.
  const gfx::Region area = takeDamage(st, s.bounds());
  st.composed.clear();
  for (const auto& b : area.rects()) st.composed.push_back(Rect{b.x1, b.y1, b.x2, b.y2});
  if (!area.empty()) st.unpresented = st.unpresented.united(area);
  st.dirty = false;
  if (!area.empty()) composeArea(st.surface, area);
  return st.surface;
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
