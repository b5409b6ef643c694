// Placement: SetWindowPos with its messages, z-order bands and owned windows; ShowWindow with
// minimise, maximise and restore; EnableWindow; window regions; hit-testing (WindowFromPoint);
// layered-window attributes.
#include <algorithm>
#include <cstring>

#include "platform/ui/ChildGrid.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Input.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace zxp::ui {

namespace {

// Puts o directly above w among w's siblings.
void placeAbove(Window* o, Window* w) {
  unlinkChild(o);
  auto& kids = w->parent->children;
  auto it = std::find(kids.begin(), kids.end(), w);
  Window* before = it == kids.begin() ? nullptr : *(it - 1);
  linkChild(w->parent, o, before);
}

void applyZOrder(Window* w, HWND after, UINT flags) {
  Window* p = w->parent;
  if (!p) return;
  if (p->isDesktop()) {
    if (after == HWND_TOPMOST) {
      w->exStyle |= WS_EX_TOPMOST;
      after = HWND_TOP;
    } else if (after == HWND_NOTOPMOST) {
      w->exStyle &= ~WS_EX_TOPMOST;
      after = HWND_TOP;
    } else if (after == HWND_BOTTOM) {
      w->exStyle &= ~WS_EX_TOPMOST;
    }
  }
  if (after == HWND_TOP) {
    linkChild(p, w, nullptr);
  } else if (after == HWND_BOTTOM) {
    unlinkChild(w);
    linkChild(p, w, p->children.empty() ? nullptr : p->children.back());
  } else {
    Window* a = windowFromHandle(after);
    if (!a || a->parent != p || a == w) return;
    linkChild(p, w, a);
  }
  // Owned windows stay above their owner.
  if (p->isDesktop() && !(flags & SWP_NOOWNERZORDER) && after != HWND_BOTTOM) {
    std::vector<Window*> owned;
    for (Window* t : p->children)
      if (t->owner == w->hwnd) owned.push_back(t);
    for (Window* o : owned) placeAbove(o, w);
  }
}

MINMAXINFO defaultMinMax(Window* w) {
  MINMAXINFO mmi;
  Rect wa = workArea();
  int frame = w->insets.left;
  mmi.ptMaxSize = Point{wa.width() + 2 * frame, wa.height() + 2 * frame};
  mmi.ptMaxPosition = Point{wa.left - frame, wa.top - frame};
  bool framed = (w->style & (WS_CAPTION | WS_THICKFRAME)) != 0;
  mmi.ptMinTrackSize = framed ? Point{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)}
                              : Point{0, 0};
  Size s = screenSize();
  mmi.ptMaxTrackSize = Point{s.cx + 12, s.cy + 12};
  return mmi;
}

bool canActivate(Window* w) {
  return w->topLevel() && !(w->exStyle & WS_EX_NOACTIVATE) && w->enabledFlag() && !w->isChild();
}

}  // namespace

// The window under a point, skipping the windows in `skip` as if they were not there.
Window* windowAt(Point screen, const std::vector<HWND>& skip) {
  // Whether the child c of a window is hit at p (the parent's client coordinates).
  auto hits = [&](Window* c, Point p) {
    // The rectangle first: it rules out nearly every window of a crowded form at once.
    if (!c->rect.contains(p)) return false;
    if (!c->visibleFlag() || c->destroying) return false;
    if (std::find(skip.begin(), skip.end(), c->hwnd) != skip.end()) return false;
    Point pw{p.x - c->rect.left, p.y - c->rect.top};
    if (c->region && !c->region->contains(pw)) return false;
    if (c->exStyle & WS_EX_LAYERED) {
      if (c->exStyle & WS_EX_TRANSPARENT) return false;
      Point pc{pw.x - c->insets.left - c->surfaceOrigin.x, pw.y - c->insets.top - c->surfaceOrigin.y};
      if (c->surface && pc.x >= 0 && pc.y >= 0 && pc.x < c->surface->width() && pc.y < c->surface->height()) {
        uint32_t px = 0;
        c->surface->readRow(pc.y, pc.x, 1, &px);  // a hit test leaves a packed picture packed
        if (c->perPixelAlpha && (px >> 24) == 0) return false;
        bool keyed = c->perPixelAlpha ? (c->ulwFlags & ULW_COLORKEY) : (c->layeredFlags & LWA_COLORKEY);
        if (keyed && (px & 0xFFFFFF) == oleToPixel(c->layeredKey)) return false;
      }
    }
    return true;
  };
  // The topmost child hit: a window with many children names the few near the point.
  auto hit = [&](Window* parent, Point p) -> Window* {
    Window* found = nullptr;
    anyChildNear(*parent, p.x, p.y, int64_t{p.x} + 1, int64_t{p.y} + 1, [&](Window* c) {
      if (hits(c, p)) found = c;
      return found != nullptr;
    });
    return found;
  };
  Window* w = hit(&desktop(), screen);
  if (!w) return nullptr;
  for (;;) {
    Point o = w->clientScreenOrigin();
    Point pc{screen.x - o.x, screen.y - o.y};
    Size cs = w->clientSize();
    if (pc.x < 0 || pc.y < 0 || pc.x >= cs.cx || pc.y >= cs.cy) break;
    // Children lie in the parent's client coordinates; the hit test above uses rect.
    Window* c = hit(w, pc);
    if (!c || !c->enabledFlag()) break;
    w = c;
  }
  return w;
}

}  // namespace zxp::ui

namespace zxp {

using namespace zxp::ui;

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  Window* w = windowFromHandle(hwnd);
  if (!w || w->isDesktop()) return FALSE;
  auto keep = windowRef(hwnd);
  WINDOWPOS wp{hwnd, insertAfter, x, y, std::max(cx, 0), std::max(cy, 0), flags};
  if (flags & SWP_NOMOVE) {
    wp.x = w->rect.left;
    wp.y = w->rect.top;
  }
  if (flags & SWP_NOSIZE) {
    wp.cx = w->rect.width();
    wp.cy = w->rect.height();
  }
  if (!(flags & SWP_NOSENDCHANGING)) {
    SendMessageA(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
    if (!windowFromHandle(hwnd)) return FALSE;
  }
  flags = wp.flags;
  bool wasVisible = w->reallyVisible();
  Rect oldRect = w->rect;
  Rect oldClient = w->clientInWindow();
  Size oldClientSize = w->clientSize();

  if (!(flags & SWP_NOZORDER)) applyZOrder(w, wp.hwndInsertAfter, flags);
  if (!(flags & SWP_NOMOVE)) w->rect = Rect::fromXYWH(wp.x, wp.y, w->rect.width(), w->rect.height());
  if (!(flags & SWP_NOSIZE))
    w->rect = Rect::fromXYWH(w->rect.left, w->rect.top, std::max(wp.cx, 0), std::max(wp.cy, 0));
  bool sized = w->rect.width() != oldRect.width() || w->rect.height() != oldRect.height();
  if (sized || (flags & SWP_FRAMECHANGED)) {
    recalcClient(w);
    if (!windowFromHandle(hwnd)) return FALSE;
  }
  resizeSurface(w);
  updateSystemClip(w);
  if (flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
  if (flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;

  Rect newClient = w->clientInWindow();
  Size newClientSize = w->clientSize();
  bool clientSized = newClientSize.cx != oldClientSize.cx || newClientSize.cy != oldClientSize.cy;
  bool clientMoved = w->rect.left + newClient.left != oldRect.left + oldClient.left ||
                     w->rect.top + newClient.top != oldRect.top + oldClient.top;
  bool nowVisible = w->reallyVisible();

  // Repaint what needs it: everything on showing or with CS_H/VREDRAW, else the new parts.
  if (!(flags & SWP_NOREDRAW)) {
    if ((nowVisible && !wasVisible) ||
        (clientSized && (w->cls->style & (CS_HREDRAW | CS_VREDRAW)))) {
      InvalidateRect(hwnd, nullptr, TRUE);
    } else if (clientSized) {
      gfx::Region fresh(Rect{0, 0, newClientSize.cx, newClientSize.cy});
      fresh = fresh.subtracted(gfx::Region(Rect{0, 0, oldClientSize.cx, oldClientSize.cy}));
      if (!fresh.empty()) {
        w->updateRgn = w->updateRgn.united(fresh);
        eventLoop().noteDirty(w);
        w->eraseOnPaint = true;
      }
    }
  }
  // The windows larger than the screen inside a moved window see another part of it now.
  if (clientMoved) placeLargeSurfaces();
  // A window that kept its place, size, z-order and visibility (a new frame, a new shape)
  // changed the screen only inside its own rectangle: that is recomposed, not the whole screen.
  const bool inPlace = (flags & SWP_NOZORDER) && w->rect == oldRect && wasVisible == nowVisible;
  if (inPlace && nowVisible) windowReshaped(w);
  else if (!inPlace && (wasVisible || nowVisible)) screenChanged();

  if (wasVisible && !nowVisible) giveUpActivation(hwnd);
  if (!(flags & SWP_NOACTIVATE) && nowVisible && canActivate(w) &&
      ((flags & SWP_SHOWWINDOW) || !(flags & SWP_NOZORDER))) {
    activateWindow(hwnd, WA_ACTIVE);
    if (!windowFromHandle(hwnd)) return TRUE;
  }

  if (!clientSized) wp.flags |= 0x0800;  // SWP_NOCLIENTSIZE
  if (!clientMoved) wp.flags |= 0x1000;  // SWP_NOCLIENTMOVE
  wp.x = w->rect.left;
  wp.y = w->rect.top;
  wp.cx = w->rect.width();
  wp.cy = w->rect.height();
  SendMessageA(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, 0, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) { return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

BOOL ShowWindow(HWND hwnd, int cmd) {
  Window* w = windowFromHandle(hwnd);
  if (!w || w->isDesktop()) return FALSE;
  auto keep = windowRef(hwnd);
  bool wasVisible = w->visibleFlag();
  UINT noAct = (w->isChild() ? (SWP_NOACTIVATE | SWP_NOZORDER) : 0);
  auto showMsg = [&](bool show) {
    if (show != wasVisible) SendMessageA(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    return windowFromHandle(hwnd) != nullptr;
  };
  auto leaveNormal = [&] {
    if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) w->restoreRect = w->rect;
  };
  switch (cmd) {
    case SW_HIDE:
      if (!wasVisible) return FALSE;
      if (!showMsg(false)) return TRUE;
      SetWindowPos(hwnd, 0, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      return TRUE;
    case SW_MAXIMIZE: {
      if ((w->style & WS_MAXIMIZE) && wasVisible) return TRUE;
      leaveNormal();
      w->style &= ~WS_MINIMIZE;
      MINMAXINFO mmi = defaultMinMax(w);
      SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
      if (!windowFromHandle(hwnd) || !showMsg(true)) return wasVisible;
      w->style |= WS_MAXIMIZE;
      SetWindowPos(hwnd, HWND_TOP, mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, mmi.ptMaxSize.x,
                   mmi.ptMaxSize.y, SWP_SHOWWINDOW | SWP_FRAMECHANGED | noAct);
      return wasVisible;
    }
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE: {
      if ((w->style & WS_MINIMIZE) && wasVisible) return TRUE;
      leaveNormal();
      if (!showMsg(true)) return wasVisible;
      w->style |= WS_MINIMIZE;
      w->style &= ~WS_MAXIMIZE;
      SetWindowPos(hwnd, 0, -32000, -32000, 160, 31,
                   SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOACTIVATE);
      // A minimised window gives up the activation.
      if (windowFromHandle(hwnd)) giveUpActivation(hwnd);
      return wasVisible;
    }
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWNOACTIVATE:
    case SW_SHOWDEFAULT: {
      UINT act = cmd == SW_SHOWNOACTIVATE ? SWP_NOACTIVATE : 0;
      if (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) {
        if (!showMsg(true)) return wasVisible;
        w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
        Rect r = w->restoreRect;
        SetWindowPos(hwnd, HWND_TOP, r.left, r.top, r.width(), r.height(),
                     SWP_SHOWWINDOW | SWP_FRAMECHANGED | act | noAct);
        return wasVisible;
      }
      if (!showMsg(true)) return wasVisible;
      SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | act | noAct);
      return wasVisible;
    }
    case SW_SHOW:
    case SW_SHOWNA:
    default: {
      UINT act = cmd == SW_SHOWNA ? (SWP_NOACTIVATE | SWP_NOZORDER) : 0;
      if (!showMsg(true)) return wasVisible;
      if (wasVisible && cmd == SW_SHOWNA) return wasVisible;
      SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | act | noAct);
      return wasVisible;
    }
  }
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  Window* w = windowFromHandle(hwnd);
  if (!w || w->isDesktop()) return FALSE;
  bool wasDisabled = !w->enabledFlag();
  if (enable && wasDisabled) {
    w->style &= ~WS_DISABLED;
    SendMessageA(hwnd, WM_ENABLE, TRUE, 0);
  } else if (!enable && !wasDisabled) {
    w->style |= WS_DISABLED;
    InputState& in = inputState();
    if (in.capture == hwnd) ReleaseCapture();
    if (windowFromHandle(hwnd) && in.focus == hwnd) SetFocus(0);
    if (windowFromHandle(hwnd)) SendMessageA(hwnd, WM_ENABLE, FALSE, 0);
  }
  return wasDisabled ? TRUE : FALSE;
}

int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) {
  Window* w = windowFromHandle(hwnd);
  if (!w || w->isDesktop()) return 0;
  if (region) {
    auto* r = gfx::regionFromHandle(region);
    if (!r) return 0;
    w->region = r->rgn;
    DeleteObject(region);  // the window owns the region now; nobody else may use the handle
  } else {
    w->region.reset();
  }
  updateSystemClip(w);
  // The window keeps its place: SetWindowPos recomposes its rectangle, which holds every pixel
  // the new shape shows or hides.
  SetWindowPos(hwnd, 0, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (redraw ? 0 : SWP_NOREDRAW));
  return 1;
}

int GetWindowRgn(HWND hwnd, HRGN out) {
  Window* w = windowFromHandle(hwnd);
  auto* r = gfx::regionFromHandle(out);
  if (!w || !r || !w->region) return ERROR;
  r->rgn = *w->region;
  if (r->rgn.empty()) return NULLREGION;
  return r->rgn.rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

HWND WindowFromPoint(POINT p) {
  Window* w = windowAt(p, {});
  return w ? w->hwnd : 0;
}

HWND ChildWindowFromPoint(HWND parent, POINT p) {
  Window* w = windowFromHandle(parent);
  if (!w) return 0;
  Size cs = w->clientSize();
  if (p.x < 0 || p.y < 0 || p.x >= cs.cx || p.y >= cs.cy) return 0;
  for (Window* c : w->children) {
    if (!c->rect.contains(p)) continue;
    if (c->region && !c->region->contains(Point{p.x - c->rect.left, p.y - c->rect.top})) continue;
    return c->hwnd;
  }
  return parent;
}

// ---- Layered windows -----------------------------------------------------------------------------

BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF key, BYTE alpha, DWORD flags) {
  Window* w = windowFromHandle(hwnd);
  if (!w || !(w->exStyle & WS_EX_LAYERED)) return FALSE;
  w->layeredKey = key & 0xFFFFFF;
  w->layeredAlpha = alpha;
  w->layeredFlags = flags & (LWA_ALPHA | LWA_COLORKEY);
  w->perPixelAlpha = false;
  w->ulwFlags = 0;
  screenChanged();
  return TRUE;
}

BOOL GetLayeredWindowAttributes(HWND hwnd, COLORREF* key, BYTE* alpha, DWORD* flags) {
  Window* w = windowFromHandle(hwnd);
  if (!w || !(w->exStyle & WS_EX_LAYERED) || w->ulwFlags) return FALSE;
  if (key) *key = w->layeredKey;
  if (alpha) *alpha = w->layeredAlpha;
  if (flags) *flags = w->layeredFlags;
  return TRUE;
}

BOOL UpdateLayeredWindow(HWND hwnd, HDC, const POINT* pos, const SIZE* size, HDC src,
                         const POINT* srcPos, COLORREF key, const BLENDFUNCTION* blend, DWORD flags) {
  Window* w = windowFromHandle(hwnd);
  if (!w || !(w->exStyle & WS_EX_LAYERED) || w->layeredFlags) return FALSE;
  if (pos || size) {
    Rect r = w->rect;
    if (!w->topLevel()) return FALSE;
    SetWindowPos(hwnd, 0, pos ? pos->x : r.left, pos ? pos->y : r.top, size ? size->cx : r.width(),
                 size ? size->cy : r.height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | (pos ? 0 : SWP_NOMOVE) | (size ? 0 : SWP_NOSIZE));
    if (!windowFromHandle(hwnd)) return FALSE;
  }
  if (src) {
    auto* sdc = gfx::dcFromHandle(src);
    if (!sdc || !sdc->surface()) return FALSE;
    const gfx::Surface& s = *sdc->surface();
    if (w->surface) {
      Point sp = srcPos ? *srcPos : Point{0, 0};
      sp = Point{sp.x + w->surfaceOrigin.x, sp.y + w->surfaceOrigin.y};  // the surface's first client pixel
      gfx::Surface& d = *w->surface;
      bool keepAlpha = (flags & ULW_ALPHA) != 0;
      for (int y = 0; y < d.height(); ++y) {
        int sy = sp.y + y;
        uint32_t* drow = d.row(y);
        for (int x = 0; x < d.width(); ++x) {
          int sx = sp.x + x;
          uint32_t v = (sy >= 0 && sx >= 0 && sy < s.height() && sx < s.width()) ? s.at(sx, sy) : 0;
          drow[x] = keepAlpha ? v : (v | 0xFF000000u);
        }
      }
    }
  }
  w->ulwFlags = flags & (ULW_ALPHA | ULW_COLORKEY | ULW_OPAQUE);
  w->perPixelAlpha = (flags & ULW_ALPHA) != 0;
  w->layeredKey = key & 0xFFFFFF;
  if (blend) w->ulwBlend = *blend;
  screenChanged();
  return TRUE;
}

}  // namespace zxp
