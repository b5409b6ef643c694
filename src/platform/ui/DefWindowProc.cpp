// The system's default handling of the messages this window manager uses.
#include <algorithm>
#include <cstring>

#include "platform/ui/EventLoop.h"
#include "platform/ui/Input.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace zxp {

using namespace zxp::ui;

namespace {

// The non-client hit code of a window point (window coordinates) for a framed window.
LRESULT frameHitTest(Window* w, Point p) {
  Rect c = w->clientInWindow();
  if (c.contains(p)) return HTCLIENT;
  if (!Rect{0, 0, w->rect.width(), w->rect.height()}.contains(p)) return HTNOWHERE;
  if (w->style & WS_THICKFRAME) {
    int f = GetSystemMetrics(SM_CXFRAME);
    bool left = p.x < f, right = p.x >= w->rect.width() - f;
    bool top = p.y < f, bottom = p.y >= w->rect.height() - f;
    if (top && left) return HTTOPLEFT;
    if (top && right) return HTTOPRIGHT;
    if (bottom && left) return HTBOTTOMLEFT;
    if (bottom && right) return HTBOTTOMRIGHT;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    if (top) return HTTOP;
    if (bottom) return HTBOTTOM;
  }
  // The caption ends where the menu bar (when there is one) begins.
  const Rect bar = menuBarRect(w->hwnd);
  if (bar.contains(p)) return HTMENU;
  const int captionBottom = bar.empty() ? c.top : bar.top;
  if ((w->style & WS_CAPTION) == WS_CAPTION && p.y < captionBottom &&
      p.y >= w->insets.top - (bar.empty() ? 0 : bar.height()) - GetSystemMetrics(SM_CYCAPTION)) {
    return HTCAPTION;
  }
  return HTBORDER;
}

HCURSOR cursorForHit(LRESULT hit) {
  switch (hit) {
    case HTLEFT:
    case HTRIGHT: return LoadCursorA(0, IDC_SIZEWE);
    case HTTOP:
    case HTBOTTOM: return LoadCursorA(0, IDC_SIZENS);
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: return LoadCursorA(0, IDC_SIZENWSE);
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: return LoadCursorA(0, IDC_SIZENESW);
    default: return LoadCursorA(0, IDC_ARROW);
  }
}

}  // namespace

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = windowFromHandle(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      if (cs && cs->lpszName) w->text = cs->lpszName;
      return TRUE;
    }
    case WM_NCCALCSIZE: {
      auto* r = reinterpret_cast<RECT*>(lParam);
      if (!r) return 0;
      Rect in = nonClientInsets(w->style, w->exStyle);
      // A top-level window's menu bar lies between the caption and the client area.
      if (!(w->style & WS_CHILD) && GetMenu(hwnd)) in.top += GetSystemMetrics(SM_CYMENU);
      *r = RECT{r->left + in.left, r->top + in.top, r->right - in.right, r->bottom - in.bottom};
      return 0;
    }
    case WM_SETTEXT: {
      auto* t = reinterpret_cast<const char*>(lParam);
      w->text = t ? t : "";
      if ((w->style & WS_CAPTION) == WS_CAPTION) screenChanged();
      return TRUE;
    }
    case WM_GETTEXT: {
      auto* buf = reinterpret_cast<char*>(lParam);
      int size = static_cast<int>(wParam);
      if (!buf || size <= 0) return 0;
      int n = std::min<int>(static_cast<int>(w->text.size()), size - 1);
      std::memcpy(buf, w->text.data(), static_cast<size_t>(n));
      buf[n] = 0;
      return n;
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND: {
      auto* brush = gfx::brushFromHandle(w->cls->background);
      auto* dc = gfx::dcFromHandle(static_cast<HDC>(wParam));
      if (!brush || !dc || brush->style == BS_NULL) return 0;
      Size s = w->clientSize();
      gfx::fillRect(*dc, Rect{0, 0, s.cx, s.cy}, oleToPixel(brush->color));
      return 1;
    }
    case WM_WINDOWPOSCHANGING: {
      auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
      if (wp && !(wp->flags & SWP_NOSIZE) && w->topLevel() && (w->style & WS_THICKFRAME) &&
          !(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) {
        MINMAXINFO mmi;
        Rect wa = workArea();
        Size scr = screenSize();
        mmi.ptMaxSize = Point{wa.width(), wa.height()};
        mmi.ptMaxPosition = Point{wa.left, wa.top};
        mmi.ptMinTrackSize = Point{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
        mmi.ptMaxTrackSize = Point{scr.cx + 12, scr.cy + 12};
        SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
        wp->cx = std::clamp(wp->cx, mmi.ptMinTrackSize.x, std::max(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x));
        wp->cy = std::clamp(wp->cy, mmi.ptMinTrackSize.y, std::max(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y));
      }
      return 0;
    }
    case WM_WINDOWPOSCHANGED: {
      auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (!wp) return 0;
      Rect c = w->clientInWindow();
      if (!(wp->flags & 0x1000))  // SWP_NOCLIENTMOVE
        SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(w->rect.left + c.left, w->rect.top + c.top));
      if (!(wp->flags & 0x0800) && windowFromHandle(hwnd)) {  // SWP_NOCLIENTSIZE
        WPARAM kind = (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED
                      : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                 : SIZE_RESTORED;
        SendMessageA(hwnd, WM_SIZE, kind, MAKELPARAM(c.width(), c.height()));
      }
      return 0;
    }
    case WM_NCHITTEST: {
      Point o = w->screenOrigin();
      Point p{GET_X_LPARAM(lParam) - o.x, GET_Y_LPARAM(lParam) - o.y};
      return frameHitTest(w, p);
    }
    case WM_SETCURSOR: {
      // A parent may decide for its children first.
      if (w->isChild() && w->parent && !w->parent->isDesktop()) {
        if (SendMessageA(w->parent->hwnd, WM_SETCURSOR, wParam, lParam)) return TRUE;
      }
      LRESULT hit = static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(lParam)));
      if (hit == HTERROR) {
        UINT m = HIWORD(static_cast<uintptr_t>(lParam));
        if (m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN) MessageBeep(0);
        return FALSE;
      }
      if (hit == HTCLIENT && static_cast<HWND>(wParam) == hwnd) {
        HCURSOR c = w->cursor ? w->cursor : w->cls->cursor;
        if (c) SetCursor(c);
        return FALSE;
      }
      if (static_cast<HWND>(wParam) == hwnd) SetCursor(cursorForHit(hit));
      return FALSE;
    }
    case WM_MOUSEACTIVATE:
      if (w->isChild() && w->parent && !w->parent->isDesktop()) {
        LRESULT r = SendMessageA(w->parent->hwnd, WM_MOUSEACTIVATE, wParam, lParam);
        if (r) return r;
      }
      return MA_ACTIVATE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !(w->style & WS_MINIMIZE)) {
        HWND f = inputState().focus;
        if (!f || (f != hwnd && !IsChild(hwnd, f))) SetFocus(hwnd);
      }
      return 0;
    case WM_NCACTIVATE:
      screenChanged();
      return TRUE;
    case WM_MOUSEWHEEL:
      // Unhandled wheel turns go up to the parent.
      if (w->isChild() && w->parent && !w->parent->isDesktop())
        return SendMessageA(w->parent->hwnd, msg, wParam, lParam);
      return 0;
    case WM_NCLBUTTONDOWN:
      switch (static_cast<LRESULT>(wParam)) {
        case HTCAPTION:
          SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
          break;
        case HTMENU:
          SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU, lParam);
          break;
        default:
          break;
      }
      return 0;
    case WM_NCLBUTTONDBLCLK:
      if (static_cast<LRESULT>(wParam) == HTCAPTION && (w->style & WS_MAXIMIZEBOX) && (w->style & WS_THICKFRAME))
        SendMessageA(hwnd, WM_SYSCOMMAND, (w->style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, lParam);
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_MOVE: beginMouseMove(hwnd); return 0;
        case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); return 0;
        case SC_MAXIMIZE: ShowWindow(hwnd, SW_MAXIMIZE); return 0;
        case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); return 0;
        case SC_CLOSE: SendMessageA(hwnd, WM_CLOSE, 0, 0); return 0;
        case SC_MOUSEMENU: {
          // A click on the menu bar drops the clicked item's menu down.
          Point o = w->screenOrigin();
          const int item = menuBarItemAt(hwnd, Point{GET_X_LPARAM(lParam) - o.x, GET_Y_LPARAM(lParam) - o.y});
          if (item >= 0) trackMenuBar(hwnd, item, true, false);
          return 0;
        }
        case SC_KEYMENU:
          // 0 (Alt alone, F10): the menu bar's first item is selected. A letter: the bar item
          // with that mnemonic drops its menu down; a letter no item has is offered to the
          // window as WM_MENUCHAR. Alt+Space opens the system menu below the window's top-left
          // corner.
          if (lParam != ' ' && GetMenu(hwnd)) {
            if (lParam == 0) {
              trackMenuBar(hwnd, 0, false, true);
              return 0;
            }
            int item = menuBarMnemonic(hwnd, static_cast<char>(lParam));
            if (item < 0) {
              const LRESULT r = SendMessageA(hwnd, WM_MENUCHAR, MAKEWPARAM(static_cast<int>(lParam & 0xFF), 0),
                                             static_cast<LPARAM>(GetMenu(hwnd)));
              const LRESULT answer = HIWORD(static_cast<uintptr_t>(r));
              if (answer == MNC_EXECUTE || answer == MNC_SELECT) item = LOWORD(static_cast<uintptr_t>(r));
              else if (answer == MNC_IGNORE) MessageBeep(0);
              if (item >= 0) trackMenuBar(hwnd, item, answer == MNC_EXECUTE, true);
              return 0;
            }
            trackMenuBar(hwnd, item, true, true);
            return 0;
          }
          if (lParam == ' ' && (w->style & WS_SYSMENU)) {
            RECT r;
            GetWindowRect(hwnd, &r);
            const int caption = (w->style & WS_CAPTION) == WS_CAPTION ? GetSystemMetrics(SM_CYCAPTION) : 0;
            TrackPopupMenu(GetSystemMenu(hwnd, FALSE), TPM_LEFTALIGN | TPM_TOPALIGN, r.left + 4,
                           r.top + 4 + caption, 0, hwnd, nullptr);
          }
          return 0;
        default: return 0;
      }
    case WM_SYSKEYDOWN:
      if (wParam == static_cast<WPARAM>(VK_F4) && (lParam & (1 << 29))) {
        Window* top = topLevelOf(w);
        if (top) SendMessageA(top->hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return 0;
    case WM_SYSKEYUP:
      // Alt released alone (the keyboard sends its key-up as a system key only then) or F10
      // without Shift: the top-level window enters its menu.
      if (wParam == static_cast<WPARAM>(VK_MENU) ||
          (wParam == static_cast<WPARAM>(VK_F10) && !(GetKeyState(VK_SHIFT) & 0x8000))) {
        Window* top = topLevelOf(w);
        if (top) SendMessageA(top->hwnd, WM_SYSCOMMAND, SC_KEYMENU, 0);
      }
      return 0;
    case WM_SYSCHAR: {
      // Alt+letter: the top-level window's menu handling gets the key.
      Window* top = topLevelOf(w);
      if (top && wParam != VK_ESCAPE) SendMessageA(top->hwnd, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wParam));
      return 0;
    }
    case WM_GETMINMAXINFO:
    case WM_CREATE:
    case WM_DESTROY:
    case WM_NCDESTROY:
    default:
      return 0;
  }
}

}  // namespace zxp
