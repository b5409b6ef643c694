// The message path: SendMessage with the window-procedure hooks, PostMessage, CallWindowProc,
// and the queue calls (PeekMessage/GetMessage with the mouse, keyboard and get-message hooks,
// TranslateMessage, DispatchMessage).
#include <algorithm>

#include "platform/ui/Backend.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Hooks.h"
#include "platform/ui/Input.h"
#include "platform/ui/Window.h"

namespace zxp {

using namespace zxp::ui;

namespace {

int sendDepth = 0;

bool isMouseMessage(UINT m) {
  return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK);
}

bool isKeyMessage(UINT m) {
  return m == WM_KEYDOWN || m == WM_KEYUP || m == WM_SYSKEYDOWN || m == WM_SYSKEYUP;
}

}  // namespace

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<Window> w = windowRef(hwnd);
  if (!w) return 0;
  ++sendDepth;
  if (hasHooks(WH_CALLWNDPROC)) {
    CWPSTRUCT cwp{lParam, wParam, msg, hwnd};
    callHooks(WH_CALLWNDPROC, HC_ACTION, 1, reinterpret_cast<LPARAM>(&cwp));
    if (!windowFromHandle(hwnd)) {
      --sendDepth;
      return 0;
    }
  }
  WNDPROC proc = w->proc;
  LRESULT r = proc ? proc(hwnd, msg, wParam, lParam) : 0;
  if (hasHooks(WH_CALLWNDPROCRET)) {
    CWPRETSTRUCT ret{r, lParam, wParam, msg, hwnd};
    callHooks(WH_CALLWNDPROCRET, HC_ACTION, 1, reinterpret_cast<LPARAM>(&ret));
  }
  --sendDepth;
  return r;
}

BOOL InSendMessage() { return sendDepth > 0 ? TRUE : FALSE; }

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd && !windowFromHandle(hwnd)) return FALSE;
  MSG m;
  m.hwnd = hwnd;
  m.message = msg;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = GetTickCount();
  m.pt = inputState().cursor;
  eventLoop().post(m);
  return TRUE;
}

BOOL PostThreadMessageA(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (threadId != GetCurrentThreadId()) return FALSE;
  return PostMessageA(0, msg, wParam, lParam);
}

void PostQuitMessage(int exitCode) { eventLoop().postQuit(exitCode); }

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  return proc(hwnd, msg, wParam, lParam);
}

BOOL PeekMessageA(MSG* out, HWND hwnd, UINT fmin, UINT fmax, UINT flags) {
  EventLoop& loop = eventLoop();
  bool remove = (flags & PM_REMOVE) != 0;
  for (;;) {
    MSG m;
    if (!loop.peek(&m, hwnd, fmin, fmax, remove)) return FALSE;
    int code = remove ? HC_ACTION : HC_NOREMOVE;
    bool discard = false;
    if (isMouseMessage(m.message) && hasHooks(WH_MOUSE)) {
      MOUSEHOOKSTRUCT mh;
      mh.pt = m.pt;
      mh.hwnd = m.hwnd;
      mh.wHitTestCode = static_cast<UINT>(m.message >= WM_MOUSEFIRST ? HTCLIENT : static_cast<LRESULT>(m.wParam));
      discard = callHooks(WH_MOUSE, code, m.message, reinterpret_cast<LPARAM>(&mh)) != 0;
    } else if (isKeyMessage(m.message) && hasHooks(WH_KEYBOARD)) {
      discard = callHooks(WH_KEYBOARD, code, m.wParam, m.lParam) != 0;
    }
    if (discard) {
      MSG drop;
      if (!remove) loop.peek(&drop, hwnd, m.message, m.message, true);
      if (isKeyMessage(m.message)) noteRetrievedKeyMessage(m);
      continue;
    }
    if (remove) {
      if (isKeyMessage(m.message)) noteRetrievedKeyMessage(m);
      if (isMouseMessage(m.message)) noteRetrievedMouseMessage(m);
    }
    if (hasHooks(WH_GETMESSAGE)) callHooks(WH_GETMESSAGE, HC_ACTION, remove ? PM_REMOVE : PM_NOREMOVE,
                                           reinterpret_cast<LPARAM>(&m));
    loop.lastMessageTime = m.time;
    loop.lastMessagePos = m.pt;
    if (out) *out = m;
    return TRUE;
  }
}

BOOL GetMessageA(MSG* out, HWND hwnd, UINT fmin, UINT fmax) {
  EventLoop& loop = eventLoop();
  for (;;) {
    if (PeekMessageA(out, hwnd, fmin, fmax, PM_REMOVE)) return out && out->message == WM_QUIT ? FALSE : TRUE;
    if (loop.clock().isVirtual()) {
      // Nothing can happen until the test moves the clock: waiting would never end.
      if (out) *out = MSG{};
      return -1;
    }
    // The queue is empty: the thread is about to go idle.
    if (hasHooks(WH_FOREGROUNDIDLE)) callHooks(WH_FOREGROUNDIDLE, HC_ACTION, 0, 0);
    int64_t due = loop.nextTimerDue();
    int64_t wait = due < 0 ? -1 : std::max<int64_t>(0, due - loop.now());
    if (!backend().pumpInput(wait)) PostQuitMessage(0);
  }
}

BOOL TranslateMessage(const MSG* m) {
  if (!m) return FALSE;
  if (m->message != WM_KEYDOWN && m->message != WM_SYSKEYDOWN) return m->message == WM_KEYUP || m->message == WM_SYSKEYUP;
  uint32_t ch = charForKey(static_cast<int>(m->wParam));
  if (!ch) return TRUE;
  MSG c = *m;
  c.message = m->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
  c.wParam = ch;
  eventLoop().post(c);
  return TRUE;
}

LRESULT DispatchMessageA(const MSG* m) {
  if (!m) return 0;
  if (m->message == WM_TIMER && m->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(m->lParam);
    // Only a timer that still runs calls its procedure.
    if (!eventLoop().timerExists(m->hwnd, m->wParam, proc)) return 0;
    proc(m->hwnd, WM_TIMER, m->wParam, m->time);
    return 0;
  }
  std::shared_ptr<Window> w = windowRef(m->hwnd);
  if (!w || !w->proc) return 0;
  LRESULT r = w->proc(m->hwnd, m->message, m->wParam, m->lParam);
  if (m->message == WM_PAINT && windowFromHandle(m->hwnd) && !w->updateRgn.empty()) {
    // A procedure that did not validate would be asked to paint for ever.
    w->updateRgn = gfx::Region();
    w->eraseOnPaint = false;
  }
  return r;
}

DWORD GetMessageTime() { return eventLoop().lastMessageTime; }

DWORD GetMessagePos() {
  POINT p = eventLoop().lastMessagePos;
  return static_cast<DWORD>(MAKELPARAM(p.x, p.y));
}

DWORD GetCurrentThreadId() { return 0x0F00; }

}  // namespace zxp
