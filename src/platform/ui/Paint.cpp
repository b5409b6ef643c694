// Window DCs and the paint cycle: update regions, WM_PAINT, BeginPaint/EndPaint.
#include "platform/ui/EventLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace zxp {

using namespace zxp::ui;

namespace {

HDC screenDC() {
  static HDC dc = 0;
  if (!gfx::dcFromHandle(dc)) {
    dc = gfx::CreateSurfaceDC(composeScreen());
    // Drawing straight on the screen picture lasts until the next composition, which then
    // redoes the whole screen.
    if (auto* d = gfx::dcFromHandle(dc)) d->setDrawNotifier([](void*) { screenChanged(); }, nullptr);
  }
  return dc;
}

gfx::Region clientRegion(Window* w) {
  Size s = w->clientSize();
  return gfx::Region(Rect{0, 0, s.cx, s.cy});
}

void addUpdate(Window* w, const gfx::Region& r, bool erase) {
  gfx::Region add = r.intersected(clientRegion(w));
  if (add.empty()) return;
  w->updateRgn = w->updateRgn.united(add);
  eventLoop().noteDirty(w);
  if (erase) w->eraseOnPaint = true;
}

}  // namespace

HDC GetDC(HWND hwnd) {
  if (!hwnd) {
    HDC dc = screenDC();
    if (auto* d = gfx::dcFromHandle(dc)) d->retarget(composeScreen());
    return dc;
  }
  Window* w = windowFromHandle(hwnd);
  if (!w || w->isDesktop()) return w ? screenDC() : 0;
  windowDamaged(w);  // whoever asks for the DC is about to draw
  return w->dc;
}

int ReleaseDC(HWND hwnd, HDC dc) {
  if (!hwnd) return dc == screenDC() ? 1 : 0;
  Window* w = windowFromHandle(hwnd);
  if (!w || w->dc != dc) return 0;
  windowDamaged(w);
  return 1;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  if (!hwnd) {
    for (Window* t : desktop().children)
      forEachInTree(t, [&](Window* w) { addUpdate(w, clientRegion(w), erase); });
    return TRUE;
  }
  Window* w = windowFromHandle(hwnd);
  if (!w) return FALSE;
  addUpdate(w, rect ? gfx::Region(*rect) : clientRegion(w), erase);
  return TRUE;
}

BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
  Window* w = windowFromHandle(hwnd);
  if (!w) return FALSE;
  if (!rgn) return InvalidateRect(hwnd, nullptr, erase);
  auto* r = gfx::regionFromHandle(rgn);
  if (!r) return FALSE;
  addUpdate(w, r->rgn, erase);
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  Window* w = windowFromHandle(hwnd);
  if (!w) return FALSE;
  if (!rect) {
    w->updateRgn = gfx::Region();
    w->eraseOnPaint = false;
  } else {
    w->updateRgn = w->updateRgn.subtracted(gfx::Region(*rect));
  }
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, RECT* out, BOOL) {
  Window* w = windowFromHandle(hwnd);
  if (!w) return FALSE;
  if (out) *out = w->updateRgn.empty() ? Rect{} : w->updateRgn.box();
  return w->updateRgn.empty() ? FALSE : TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
  Window* w = windowFromHandle(hwnd);
  if (!w) return FALSE;
  if (!w->updateRgn.empty() && w->reallyVisible()) {
    MSG m;
    m.hwnd = hwnd;
    m.message = WM_PAINT;
    DispatchMessageA(&m);
  }
  return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN rgn, UINT flags) {
  Window* w = windowFromHandle(hwnd);
  if (!w) return FALSE;
  auto apply = [&](Window* x, bool self) {
    if (flags & RDW_INVALIDATE) {
      if (self && rgn) InvalidateRgn(x->hwnd, rgn, (flags & RDW_ERASE) != 0);
      else InvalidateRect(x->hwnd, self ? rect : nullptr, (flags & RDW_ERASE) != 0);
    }
    if (flags & RDW_VALIDATE) ValidateRect(x->hwnd, self ? rect : nullptr);
  };
  if (flags & RDW_ALLCHILDREN) {
    forEachInTree(w, [&](Window* x) { apply(x, x == w); });
  } else {
    apply(w, true);
  }
  if (flags & RDW_UPDATENOW) {
    if (flags & RDW_ALLCHILDREN) forEachInTree(w, [](Window* x) { UpdateWindow(x->hwnd); });
    else UpdateWindow(hwnd);
  }
  windowDamaged(w);
  return TRUE;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
  Window* w = windowFromHandle(hwnd);
  if (!w || !ps) return 0;
  gfx::Region upd = w->updateRgn;
  bool erase = w->eraseOnPaint;
  w->updateRgn = gfx::Region();
  w->eraseOnPaint = false;
  w->inPaint = true;
  // Painting is clipped to what was invalid (and to the window's region).
  if (auto* dc = gfx::dcFromHandle(w->dc)) {
    gfx::Region clip = upd;
    if (w->region) {
      gfx::Region r = *w->region;
      r.translate(-w->insets.left, -w->insets.top);
      clip = clip.intersected(r);
    }
    dc->setSystemClip(clip);
  }
  ps->hdc = w->dc;
  ps->rcPaint = upd.empty() ? Rect{} : upd.box();
  ps->fErase = FALSE;
  if (erase && !upd.empty()) {
    ps->fErase = SendMessageA(hwnd, WM_ERASEBKGND, static_cast<WPARAM>(w->dc), 0) ? FALSE : TRUE;
  }
  windowDamaged(w);
  return ps->hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT*) {
  Window* w = windowFromHandle(hwnd);
  if (!w) return FALSE;
  w->inPaint = false;
  updateSystemClip(w);
  return TRUE;
}

}  // namespace zxp
