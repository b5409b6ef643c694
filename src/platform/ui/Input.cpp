// Mouse input and the input state: routing to the window under the cursor or the capture window,
// hit-testing with WM_NCHITTEST (HTTRANSPARENT passes through), WM_SETCURSOR, click activation,
// double clicks, the wheel, capture, focus, activation, mouse tracking, moving a window with the
// mouse, and cursor shapes. Keyboard input is in Keyboard.cpp.
#include "platform/ui/Input.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "platform/ui/Backend.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Hooks.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace zxp::ui {

Window* windowAt(Point screen, const std::vector<HWND>& skip);  // WindowPos.cpp

InputState& inputState() {
  static InputState s;
  return s;
}

namespace {

constexpr UINT WM_NCMOUSELEAVE = 0x02A2;

struct Target {
  Window* w = nullptr;
  LRESULT hit = HTNOWHERE;
};

bool inTree(HWND h, HWND root) {
  for (Window* x = windowFromHandle(h); x; x = x->parent)
    if (x->hwnd == root) return true;
  return false;
}

// The window that gets a mouse message at a screen point, and the hit code it answered.
Target mouseTarget(Point screen) {
  InputState& in = inputState();
  if (Window* c = windowFromHandle(in.capture)) return Target{c, HTCLIENT};
  std::vector<HWND> skip;
  for (int i = 0; i < 32; ++i) {
    Window* w = windowAt(screen, skip);
    if (!w) return Target{};
    if (!w->enabledFlag()) return Target{w, HTERROR};
    HWND h = w->hwnd;
    LRESULT hit = SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    if (!windowFromHandle(h)) continue;
    if (hit == HTTRANSPARENT) {
      skip.push_back(h);
      continue;
    }
    return Target{w, hit};
  }
  return Target{};
}

UINT nonClientOf(UINT clientMsg) { return clientMsg - WM_MOUSEMOVE + WM_NCMOUSEMOVE; }

void postMouse(HWND hwnd, UINT clientMsg, LRESULT hit, Point screen, bool client) {
  MSG m;
  m.hwnd = hwnd;
  m.time = GetTickCount();
  m.pt = screen;
  if (client) {
    POINT p = screen;
    ScreenToClient(hwnd, &p);
    m.message = clientMsg;
    m.wParam = mouseKeyFlags();
    m.lParam = MAKELPARAM(p.x, p.y);
  } else {
    m.message = nonClientOf(clientMsg);
    m.wParam = static_cast<WPARAM>(hit);
    m.lParam = MAKELPARAM(screen.x, screen.y);
  }
  eventLoop().post(m);
}

bool cursorOverForTracking(HWND hwnd, bool nonClient) {
  Window* w = windowFromHandle(hwnd);
  if (!w) return false;
  Point p = inputState().cursor;
  if (windowAt(p, {}) != w) return false;
  Point o = w->clientScreenOrigin();
  Size cs = w->clientSize();
  bool inClient = p.x >= o.x && p.y >= o.y && p.x < o.x + cs.cx && p.y < o.y + cs.cy;
  return nonClient ? !inClient : inClient;
}

void postLeave(HWND hwnd, bool nonClient) {
  MSG m;
  m.hwnd = hwnd;
  m.message = nonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE;
  m.time = GetTickCount();
  m.pt = inputState().cursor;
  eventLoop().post(m);
}

// Checks leave tracking after the cursor moved (or the capture ended).
void checkLeave() {
  InputState& in = inputState();
  if (!in.leaveTrack || in.capture) return;
  if (!windowFromHandle(in.leaveTrack)) {
    in.leaveTrack = 0;
    return;
  }
  if (!cursorOverForTracking(in.leaveTrack, in.leaveNonClient)) {
    HWND h = in.leaveTrack;
    in.leaveTrack = 0;  // sent once; tracking ends with it
    postLeave(h, in.leaveNonClient);
  }
}

void moveWindowWithMouse(Point p) {
  InputState& in = inputState();
  Window* w = windowFromHandle(in.moving);
  if (!w) {
    in.moving = 0;
    return;
  }
  Point origin = w->parent ? w->parent->clientScreenOrigin() : Point{0, 0};
  RECT r = Rect::fromXYWH(p.x - in.moveGrab.x - origin.x, p.y - in.moveGrab.y - origin.y, w->rect.width(),
                          w->rect.height());
  SendMessageA(w->hwnd, WM_MOVING, 0, reinterpret_cast<LPARAM>(&r));
  if (!windowFromHandle(in.moving)) return;
  SetWindowPos(in.moving, 0, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void endMouseMove() {
  InputState& in = inputState();
  HWND h = in.moving;
  in.moving = 0;
  if (windowFromHandle(h)) SendMessageA(h, WM_EXITSIZEMOVE, 0, 0);
}

// True when nothing is above w in its z-order band but its own owned windows.
bool atTopOfBand(Window* w) {
  if (!w->parent) return true;
  bool topmost = (w->exStyle & WS_EX_TOPMOST) != 0;
  for (Window* k : w->parent->children) {
    if (k == w) return true;
    if (k->owner == w->hwnd) continue;
    if (!topmost && (k->exStyle & WS_EX_TOPMOST)) continue;
    return false;
  }
  return true;
}

bool activatable(Window* top) {
  return top && !(top->exStyle & WS_EX_NOACTIVATE) && top->enabledFlag();
}

}  // namespace

WPARAM mouseKeyFlags() {
  const InputState& in = inputState();
  WPARAM f = 0;
  if (in.asyncKeys[VK_LBUTTON] & 0x80) f |= MK_LBUTTON;
  if (in.asyncKeys[VK_RBUTTON] & 0x80) f |= MK_RBUTTON;
  if (in.asyncKeys[VK_MBUTTON] & 0x80) f |= MK_MBUTTON;
  if (in.asyncKeys[VK_SHIFT] & 0x80) f |= MK_SHIFT;
  if (in.asyncKeys[VK_CONTROL] & 0x80) f |= MK_CONTROL;
  return f;
}

void injectMouseMove(Point p) {
  InputState& in = inputState();
  Size s = screenSize();
  p.x = std::clamp(p.x, 0, std::max(0, s.cx - 1));
  p.y = std::clamp(p.y, 0, std::max(0, s.cy - 1));
  in.cursor = p;
  if (in.moving) {
    moveWindowWithMouse(p);
    return;
  }
  checkLeave();
  if (in.hoverTrack) {
    int half = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
    if (std::abs(p.x - in.hoverAnchor.x) > half || std::abs(p.y - in.hoverAnchor.y) > half) {
      in.hoverAnchor = p;
      eventLoop().setHoverDeadline(eventLoop().now() + in.hoverTime);
    }
  }
  Target t = mouseTarget(p);
  if (!t.w) {
    SetCursor(LoadCursorA(0, IDC_ARROW));
    in.lastMouseHwnd = 0;
    return;
  }
  HWND h = t.w->hwnd;
  if (!in.capture) SendMessageA(h, WM_SETCURSOR, h, MAKELPARAM(static_cast<int>(t.hit), WM_MOUSEMOVE));
  if (!windowFromHandle(h)) return;
  in.lastMouseHwnd = h;
  in.lastHit = t.hit;
  if (t.hit == HTERROR) return;
  postMouse(h, WM_MOUSEMOVE, t.hit, p, t.hit == HTCLIENT);
}

void injectMouseButton(MouseButton button, bool down) {
  InputState& in = inputState();
  int vk = button == MouseButton::Left ? VK_LBUTTON : button == MouseButton::Right ? VK_RBUTTON : VK_MBUTTON;
  in.asyncKeys[vk] = down ? 0x80 : 0;
  if (in.moving) {
    if (!down && button == MouseButton::Left) endMouseMove();
    return;
  }
  UINT base = button == MouseButton::Left ? WM_LBUTTONDOWN : button == MouseButton::Right ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
  Point p = in.cursor;
  Target t = mouseTarget(p);
  if (!t.w) return;
  HWND h = t.w->hwnd;
  if (t.hit == HTERROR) {
    if (down) SendMessageA(h, WM_SETCURSOR, h, MAKELPARAM(static_cast<int>(HTERROR), base));
    return;
  }
  bool client = t.hit == HTCLIENT;
  if (!down) {
    postMouse(h, base + 1, t.hit, p, client);
    return;
  }
  bool eat = false;
  if (!in.capture) {
    Window* top = topLevelOf(t.w);
    if (top && top->hwnd != in.active && activatable(top)) {
      LRESULT r = SendMessageA(h, WM_MOUSEACTIVATE, top->hwnd, MAKELPARAM(static_cast<int>(t.hit), base));
      if (!windowFromHandle(h)) return;
      if (r == MA_ACTIVATE || r == MA_ACTIVATEANDEAT) activateWindow(top->hwnd, WA_CLICKACTIVE);
      eat = r == MA_ACTIVATEANDEAT || r == MA_NOACTIVATEANDEAT;
      if (!windowFromHandle(h)) return;
    }
    SendMessageA(h, WM_SETCURSOR, h, MAKELPARAM(static_cast<int>(t.hit), base));
    if (!windowFromHandle(h)) return;
  }
  if (eat) return;
  UINT downMsg = client ? base : nonClientOf(base);
  int64_t now = eventLoop().now();
  int halfX = GetSystemMetrics(SM_CXDOUBLECLK) / 2, halfY = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
  bool second = in.haveLastPress && in.lastPressMsg == downMsg && in.lastPressHwnd == h &&
                now - in.lastPressTime <= static_cast<int64_t>(in.doubleClickTime) &&
                std::abs(p.x - in.lastPressPos.x) <= halfX && std::abs(p.y - in.lastPressPos.y) <= halfY;
  bool dblWanted = !client || (t.w->cls->style & CS_DBLCLKS);
  if (second && dblWanted) {
    in.haveLastPress = false;  // a third press starts over
    postMouse(h, base + 2, t.hit, p, client);
    return;
  }
  in.haveLastPress = true;
  in.lastPressMsg = downMsg;
  in.lastPressHwnd = h;
  in.lastPressTime = now;
  in.lastPressPos = p;
  postMouse(h, base, t.hit, p, client);
}

void injectMouseWheel(int delta) {
  InputState& in = inputState();
  HWND h = windowFromHandle(in.focus) ? in.focus : 0;
  if (!h) {
    Target t = mouseTarget(in.cursor);
    h = t.w ? t.w->hwnd : 0;
  }
  if (!h) return;
  MSG m;
  m.hwnd = h;
  m.message = WM_MOUSEWHEEL;
  m.wParam = MAKEWPARAM(static_cast<int>(mouseKeyFlags()), delta);
  m.lParam = MAKELPARAM(in.cursor.x, in.cursor.y);
  m.time = GetTickCount();
  m.pt = in.cursor;
  eventLoop().post(m);
}

void noteRetrievedMouseMessage(const MSG&) {
  InputState& in = inputState();
  for (int vk : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON})
    in.keys[vk] = static_cast<BYTE>((in.keys[vk] & 1) | (in.asyncKeys[vk] & 0x80));
}

void activateWindow(HWND hwnd, WPARAM how) {
  InputState& in = inputState();
  HWND prev = windowFromHandle(in.active) ? in.active : 0;
  if (prev == hwnd) return;
  Window* w = windowFromHandle(hwnd);
  if (hwnd && !w) return;
  if (hwnd && hasHooks(WH_CBT)) {
    CBTACTIVATESTRUCT cbt;
    cbt.hWndActive = prev;
    if (callHooks(WH_CBT, HCBT_ACTIVATE, hwnd, reinterpret_cast<LPARAM>(&cbt))) return;
    if (!windowFromHandle(hwnd) || in.active == hwnd) return;
    prev = windowFromHandle(in.active) ? in.active : 0;
  }
  in.active = hwnd;
  if (prev) {
    SendMessageA(prev, WM_NCACTIVATE, FALSE, 0);
    if (windowFromHandle(prev))
      SendMessageA(prev, WM_ACTIVATE, MAKEWPARAM(static_cast<int>(WA_INACTIVE), IsIconic(prev) ? 1 : 0), hwnd);
  }
  if (!hwnd) {
    if (in.focus) SetFocus(0);
    return;
  }
  if (in.active != hwnd || !windowFromHandle(hwnd)) return;
  if (!atTopOfBand(w)) {
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!windowFromHandle(hwnd)) return;
  }
  SendMessageA(hwnd, WM_NCACTIVATE, TRUE, 0);
  if (windowFromHandle(hwnd))
    SendMessageA(hwnd, WM_ACTIVATE, MAKEWPARAM(static_cast<int>(how), IsIconic(hwnd) ? 1 : 0), prev);
}

void giveUpActivation(HWND hwnd) {
  InputState& in = inputState();
  if (!in.active || !inTree(in.active, hwnd)) return;
  Window* w = windowFromHandle(hwnd);
  HWND next = 0;
  if (Window* o = w ? windowFromHandle(w->owner) : nullptr;
      o && o->reallyVisible() && o->enabledFlag() && !(o->style & WS_MINIMIZE))
    next = o->hwnd;
  if (!next) {
    for (Window* t : desktop().children) {
      if (t != w && !t->destroying && t->visibleFlag() && t->enabledFlag() && !(t->style & WS_MINIMIZE) &&
          !(t->exStyle & (WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW))) {
        next = t->hwnd;
        break;
      }
    }
  }
  activateWindow(next, WA_ACTIVE);
}

void forgetWindowTree(HWND hwnd) {
  InputState& in = inputState();
  if (in.capture && inTree(in.capture, hwnd)) ReleaseCapture();
  if (in.focus && inTree(in.focus, hwnd)) {
    HWND f = in.focus;
    in.focus = 0;
    SendMessageA(f, WM_KILLFOCUS, 0, 0);
  }
  giveUpActivation(hwnd);
  if (in.active && inTree(in.active, hwnd)) in.active = 0;
  if (in.leaveTrack && inTree(in.leaveTrack, hwnd)) in.leaveTrack = 0;
  if (in.hoverTrack && inTree(in.hoverTrack, hwnd)) {
    in.hoverTrack = 0;
    eventLoop().setHoverDeadline(-1);
  }
  if (in.moving && inTree(in.moving, hwnd)) in.moving = 0;
  if (in.lastPressHwnd && inTree(in.lastPressHwnd, hwnd)) in.haveLastPress = false;
}

void beginMouseMove(HWND hwnd) {
  InputState& in = inputState();
  Window* w = windowFromHandle(hwnd);
  if (!w || !(in.asyncKeys[VK_LBUTTON] & 0x80) || (w->style & WS_MAXIMIZE)) return;
  Point o = w->screenOrigin();
  in.moving = hwnd;
  in.moveGrab = Point{in.cursor.x - o.x, in.cursor.y - o.y};
  in.haveLastPress = false;
  SendMessageA(hwnd, WM_ENTERSIZEMOVE, 0, 0);
}

void checkHover() {
  InputState& in = inputState();
  EventLoop& loop = eventLoop();
  int64_t due = loop.hoverDeadline();
  if (due < 0 || loop.now() < due) return;
  loop.setHoverDeadline(-1);
  HWND h = in.hoverTrack;
  in.hoverTrack = 0;
  if (!windowFromHandle(h)) return;
  POINT p = in.cursor;
  ScreenToClient(h, &p);
  MSG m;
  m.hwnd = h;
  m.message = WM_MOUSEHOVER;
  m.wParam = mouseKeyFlags();
  m.lParam = MAKELPARAM(p.x, p.y);
  m.time = GetTickCount();
  m.pt = in.cursor;
  loop.post(m);
}

// ---- Cursors --------------------------------------------------------------------------------------

namespace {

struct CursorObject : HandleObject {
  int id = 0;
};

}  // namespace

BOOL SetWindowCursor(HWND hwnd, HCURSOR cursor) {
  Window* w = windowFromHandle(hwnd);
  if (!w) return FALSE;
  w->cursor = cursor;
  // Show it at once when the cursor is over the window's client area.
  InputState& in = inputState();
  if (in.lastMouseHwnd == hwnd && in.lastHit == HTCLIENT && !in.capture)
    SendMessageA(hwnd, WM_SETCURSOR, hwnd, MAKELPARAM(static_cast<int>(HTCLIENT), WM_MOUSEMOVE));
  return TRUE;
}

HCURSOR GetWindowCursor(HWND hwnd) {
  Window* w = windowFromHandle(hwnd);
  return w ? w->cursor : 0;
}

HCURSOR cursorForMousePointer(int mousePointer, HCURSOR mouseIcon) {
  static const int ids[] = {0,          IDC_ARROW,   IDC_CROSS,  IDC_IBEAM,  IDC_ICON,
                            IDC_SIZE,   IDC_SIZENESW, IDC_SIZENS, IDC_SIZENWSE, IDC_SIZEWE,
                            IDC_UPARROW, IDC_WAIT,   IDC_NO,     IDC_APPSTARTING, IDC_HELP,
                            IDC_SIZEALL};
  if (mousePointer == vbCustom) return mouseIcon;
  if (mousePointer <= 0 || mousePointer > 15) return 0;
  return LoadCursorA(0, ids[mousePointer]);
}

}  // namespace zxp::ui

namespace zxp {

using namespace zxp::ui;

namespace {

// One permanent cursor handle per id.
HCURSOR permanentCursor(int id) {
  static std::map<int, HCURSOR> cache;
  auto it = cache.find(id);
  if (it != cache.end()) return it->second;
  auto c = std::make_shared<CursorObject>();
  c->id = id;
  HCURSOR h = handles().add(ObjKind::Icon, c, /*stock=*/true);
  cache[id] = h;
  return h;
}

}  // namespace

HCURSOR LoadCursorA(HINSTANCE, int id) {
  switch (id) {
    case IDC_ARROW: case IDC_IBEAM: case IDC_WAIT: case IDC_CROSS: case IDC_UPARROW: case IDC_SIZE:
    case IDC_ICON: case IDC_SIZENWSE: case IDC_SIZENESW: case IDC_SIZEWE: case IDC_SIZENS:
    case IDC_SIZEALL: case IDC_NO: case IDC_HAND: case IDC_APPSTARTING: case IDC_HELP:
      return permanentCursor(id);
    default:
      return 0;
  }
}

HCURSOR ui::dragCursor(int id) {
  return id == kDragCopyCursor || id == kDragMoveCursor || id == kDragLinkCursor ? permanentCursor(id) : 0;
}

int standardCursorId(HCURSOR cursor) {
  auto* c = dynamic_cast<CursorObject*>(handles().find(cursor, ObjKind::Icon).get());
  return c ? c->id : 0;
}

HCURSOR SetCursor(HCURSOR cursor) {
  InputState& in = inputState();
  HCURSOR prev = in.cursorShape;
  if (prev != cursor) {
    in.cursorShape = cursor;
    backend().cursorChanged(cursor);
  }
  return prev;
}

HCURSOR GetCursor() { return inputState().cursorShape; }

BOOL GetCursorPos(POINT* out) {
  if (!out) return FALSE;
  *out = inputState().cursor;
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  injectMouseMove(Point{x, y});
  return TRUE;
}

HWND SetCapture(HWND hwnd) {
  InputState& in = inputState();
  HWND prev = windowFromHandle(in.capture) ? in.capture : 0;
  if (!windowFromHandle(hwnd)) return prev;
  if (prev == hwnd) return prev;
  in.capture = hwnd;
  if (prev) SendMessageA(prev, WM_CAPTURECHANGED, 0, static_cast<LPARAM>(hwnd));
  return prev;
}

BOOL ReleaseCapture() {
  InputState& in = inputState();
  HWND prev = in.capture;
  in.capture = 0;
  if (windowFromHandle(prev)) SendMessageA(prev, WM_CAPTURECHANGED, 0, 0);
  checkLeave();
  return TRUE;
}

HWND GetCapture() {
  HWND c = inputState().capture;
  return windowFromHandle(c) ? c : 0;
}

UINT GetDoubleClickTime() { return inputState().doubleClickTime; }

BOOL SetDoubleClickTime(UINT ms) {
  inputState().doubleClickTime = ms ? ms : 500;
  return TRUE;
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme) {
  if (!tme || tme->cbSize != sizeof(TRACKMOUSEEVENT)) return FALSE;
  InputState& in = inputState();
  if (tme->dwFlags & TME_QUERY) {
    tme->dwFlags = 0;
    tme->hwndTrack = 0;
    if (windowFromHandle(in.leaveTrack)) {
      tme->dwFlags |= TME_LEAVE | (in.leaveNonClient ? TME_NONCLIENT : 0);
      tme->hwndTrack = in.leaveTrack;
    }
    if (windowFromHandle(in.hoverTrack)) {
      tme->dwFlags |= TME_HOVER;
      tme->hwndTrack = in.hoverTrack;
      tme->dwHoverTime = in.hoverTime;
    }
    return TRUE;
  }
  HWND h = tme->hwndTrack;
  if (!windowFromHandle(h)) return FALSE;
  bool nonClient = (tme->dwFlags & TME_NONCLIENT) != 0;
  if (tme->dwFlags & TME_CANCEL) {
    if ((tme->dwFlags & TME_LEAVE) && in.leaveTrack == h) in.leaveTrack = 0;
    if ((tme->dwFlags & TME_HOVER) && in.hoverTrack == h) {
      in.hoverTrack = 0;
      eventLoop().setHoverDeadline(-1);
    }
    return TRUE;
  }
  if (tme->dwFlags & TME_LEAVE) {
    if (!cursorOverForTracking(h, nonClient)) {
      in.leaveTrack = 0;
      postLeave(h, nonClient);
    } else {
      in.leaveTrack = h;
      in.leaveNonClient = nonClient;
    }
  }
  if (tme->dwFlags & TME_HOVER) {
    in.hoverTrack = h;
    UINT t = tme->dwHoverTime == HOVER_DEFAULT ? 400 : tme->dwHoverTime;
    in.hoverTime = std::max<UINT>(t, 1);
    in.hoverAnchor = in.cursor;
    eventLoop().setHoverDeadline(eventLoop().now() + in.hoverTime);
  }
  return TRUE;
}

HWND SetFocus(HWND hwnd) {
  InputState& in = inputState();
  HWND prev = windowFromHandle(in.focus) ? in.focus : 0;
  if (!hwnd) {
    if (prev && hasHooks(WH_CBT) && callHooks(WH_CBT, HCBT_SETFOCUS, 0, static_cast<LPARAM>(prev))) return 0;
    in.focus = 0;
    if (prev) SendMessageA(prev, WM_KILLFOCUS, 0, 0);
    return prev;
  }
  Window* w = windowFromHandle(hwnd);
  if (!w || w->isDesktop()) return 0;
  if (hwnd == prev) return prev;
  // A disabled window, or one inside a disabled parent, cannot take the focus: the call fails
  // and the focus stays where it was, as on the platform.
  for (Window* p = w; p && !p->isDesktop(); p = p->parent) {
    if (!p->enabledFlag()) return 0;
  }
  Window* top = topLevelOf(w);
  if (top && top->hwnd != in.active && !(top->style & WS_CHILD)) {
    activateWindow(top->hwnd, WA_ACTIVE);
    if (!windowFromHandle(hwnd)) return 0;
  }
  HWND old = windowFromHandle(in.focus) ? in.focus : 0;
  if (old == hwnd) return prev;
  if (hasHooks(WH_CBT)) {
    if (callHooks(WH_CBT, HCBT_SETFOCUS, hwnd, static_cast<LPARAM>(old))) return 0;
    if (!windowFromHandle(hwnd)) return 0;
    old = windowFromHandle(in.focus) ? in.focus : 0;
    if (old == hwnd) return prev;
  }
  in.focus = hwnd;
  if (old) SendMessageA(old, WM_KILLFOCUS, hwnd, 0);
  if (in.focus == hwnd && windowFromHandle(hwnd)) SendMessageA(hwnd, WM_SETFOCUS, old, 0);
  return prev;
}

HWND GetFocus() {
  HWND f = inputState().focus;
  return windowFromHandle(f) ? f : 0;
}

HWND SetActiveWindow(HWND hwnd) {
  HWND prev = GetActiveWindow();
  Window* w = windowFromHandle(hwnd);
  if (hwnd && (!w || !w->topLevel())) return 0;
  activateWindow(hwnd, WA_ACTIVE);
  return prev;
}

HWND GetActiveWindow() {
  HWND a = inputState().active;
  return windowFromHandle(a) ? a : 0;
}

HWND GetForegroundWindow() { return GetActiveWindow(); }

BOOL SetForegroundWindow(HWND hwnd) {
  Window* w = windowFromHandle(hwnd);
  if (!w) return FALSE;
  Window* top = topLevelOf(w);
  activateWindow(top ? top->hwnd : hwnd, WA_ACTIVE);
  return TRUE;
}

BOOL MessageBeep(UINT) {
  ++inputState().beeps;
  backend().beep();
  return TRUE;
}

}  // namespace zxp
