// Messages, subclassing chains, the queue, thread hooks and timers.
#include "UiTestSupport.h"

#include <string>

#include "platform/ui/Hooks.h"

namespace zxp::ui::testing {
namespace {

std::vector<std::string>& trace() {
  static std::vector<std::string> t;
  return t;
}

// ---- Subclassing ------------------------------------------------------------------------------

WNDPROC prevProc[4];

LRESULT originalProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER) {
    trace().push_back("original");
    return 10;
  }
  if (m == WM_GETMINMAXINFO) {
    reinterpret_cast<MINMAXINFO*>(l)->ptMaxSize = Point{111, 222};
    trace().push_back("original");
    return 0;
  }
  return DefWindowProcA(h, m, w, l);
}

template <int N>
LRESULT layerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m != WM_USER && m != WM_GETMINMAXINFO && m != WM_USER + 1) return CallWindowProcA(prevProc[N], h, m, w, l);
  trace().push_back("before " + std::to_string(N));
  if (m == WM_USER + 1 && N == 2) {
    // Layer 2 handles this message itself: the layers below never see it.
    trace().push_back("handled 2");
    return 99;
  }
  LRESULT r = CallWindowProcA(prevProc[N], h, m, w, l);
  if (m == WM_GETMINMAXINFO)
    trace().push_back("after " + std::to_string(N) + " sees " +
                      std::to_string(reinterpret_cast<MINMAXINFO*>(l)->ptMaxSize.x));
  else
    trace().push_back("after " + std::to_string(N));
  return r + N;  // each layer may change the result on the way out
}

using Messages = UiTest;

TEST_F(Messages, SubclassChainsRunBeforeAndAfterWithResultsByReference) {
  trace().clear();
  HWND w = popup(Rect{0, 0, 10, 10});
  subclass(w, originalProc);
  prevProc[1] = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(layerProc<1>)));
  prevProc[2] = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(layerProc<2>)));
  prevProc[3] = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(layerProc<3>)));

  EXPECT_EQ(SendMessageA(w, WM_USER, 0, 0), 10 + 1 + 2 + 3);
  EXPECT_EQ(trace(), (std::vector<std::string>{"before 3", "before 2", "before 1", "original", "after 1",
                                               "after 2", "after 3"}));
  // A structure passed by pointer: the outer layers see what the inner ones wrote.
  trace().clear();
  MINMAXINFO mmi;
  SendMessageA(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  EXPECT_EQ(mmi.ptMaxSize, (Point{111, 222}));
  EXPECT_EQ(trace().back(), "after 3 sees 111");
  // A layer that handles a message stops it.
  trace().clear();
  EXPECT_EQ(SendMessageA(w, WM_USER + 1, 0, 0), 99 + 3);
  EXPECT_EQ(trace(), (std::vector<std::string>{"before 3", "before 2", "handled 2", "after 3"}));
  // Unsubclassing in reverse order puts the original back.
  for (int layer : {3, 2, 1}) subclass(w, prevProc[layer]);
  trace().clear();
  EXPECT_EQ(SendMessageA(w, WM_USER, 0, 0), 10);
  EXPECT_EQ(trace(), (std::vector<std::string>{"original"}));
  EXPECT_EQ(CallWindowProcA(nullptr, w, WM_USER, 0, 0), 0);
  EXPECT_EQ(SetWindowLongPtrA(w, GWL_WNDPROC, 0), 0);  // a window always has a procedure
}

TEST_F(Messages, PostedMessagesRunInOrderBeforeInputAndQuitEndsTheLoop) {
  HWND a = popup(Rect{0, 0, 50, 50});
  HWND b = popup(Rect{100, 0, 150, 50});
  input.moveTo(a, Point{5, 5});
  clearLog();
  // Input already queued comes after messages posted later.
  injectMouseMove(Point{6, 6});
  PostMessageA(b, WM_USER + 1, 1, 2);
  PostMessageA(a, WM_USER + 2, 3, 4);
  EXPECT_EQ(eventLoop().queued(), 3u);
  EXPECT_TRUE(messagesOf(a, {WM_MOUSEMOVE, WM_USER + 2}).empty());  // nothing runs before the loop does
  input.pump();
  EXPECT_EQ(orderOf({WM_USER + 1, WM_USER + 2, WM_MOUSEMOVE}),
            (std::vector<std::pair<HWND, UINT>>{{b, WM_USER + 1}, {a, WM_USER + 2}, {a, WM_MOUSEMOVE}}));
  EXPECT_EQ(entriesOf(a, WM_USER + 2)[0].lParam, 4);
  // Thread messages have no window; PeekMessage can filter and leave messages in place.
  PostThreadMessageA(GetCurrentThreadId(), WM_USER + 3, 0, 0);
  PostMessageA(a, WM_USER + 4, 0, 0);
  MSG m;
  EXPECT_TRUE(PeekMessageA(&m, a, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, WM_USER + 4u);
  EXPECT_TRUE(PeekMessageA(&m, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(std::pair(m.message, m.hwnd), std::pair(WM_USER + 3u, HWND{0}));
  PostQuitMessage(3);
  EXPECT_FALSE(eventLoop().processPendingEvents());
  EXPECT_EQ(eventLoop().exitCode(), 3);
  EXPECT_EQ(entriesOf(a, WM_USER + 4).size(), 1u);  // delivered before the quit
}

// ---- Hooks ---------------------------------------------------------------------------------------

HHOOK hookA, hookB, hookC;
std::vector<CWPSTRUCT> seenSend;
std::vector<CWPRETSTRUCT> seenRet;

LRESULT hookAProc(int code, WPARAM w, LPARAM l) {
  trace().push_back("A");
  return CallNextHookEx(hookA, code, w, l);
}
LRESULT hookBProc(int code, WPARAM w, LPARAM l) {
  trace().push_back("B");
  if (code == HC_ACTION) seenSend.push_back(*reinterpret_cast<CWPSTRUCT*>(l));
  return CallNextHookEx(hookB, code, w, l);
}
LRESULT selfRemovingProc(int code, WPARAM w, LPARAM l) {
  trace().push_back("C");
  UnhookWindowsHookEx(hookC);  // removed inside its own call
  return CallNextHookEx(hookC, code, w, l);
}
LRESULT retProc(int code, WPARAM w, LPARAM l) {
  seenRet.push_back(*reinterpret_cast<CWPRETSTRUCT*>(l));
  return CallNextHookEx(0, code, w, l);
}

using Hooks = UiTest;

TEST_F(Hooks, WindowProcedureHooksFormAChainNewestFirst) {
  trace().clear();
  seenSend.clear();
  seenRet.clear();
  HWND w = popup(Rect{0, 0, 10, 10});
  input.pump();  // the first paint
  hookA = SetWindowsHookExA(WH_CALLWNDPROC, hookAProc, 0, GetCurrentThreadId());
  hookB = SetWindowsHookExA(WH_CALLWNDPROC, hookBProc, 0, 0);
  HHOOK ret = SetWindowsHookExA(WH_CALLWNDPROCRET, retProc, 0, 0);
  ASSERT_TRUE(hookA && hookB && ret);
  SendMessageA(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("x"));
  EXPECT_EQ(trace(), (std::vector<std::string>{"B", "A"}));
  ASSERT_EQ(seenSend.size() + seenRet.size(), 2u);
  EXPECT_EQ(std::tuple(seenSend.at(0).hwnd, seenSend[0].message, seenRet.at(0).lResult), std::tuple(w, UINT{WM_SETTEXT}, LRESULT{TRUE}));
  // Posted messages do not go through these hooks.
  trace().clear();
  PostMessageA(w, WM_USER, 0, 0);
  input.pump();
  EXPECT_TRUE(trace().empty());
  // A hook that removes itself inside its call still passes the call on, and is gone after.
  trace().clear();
  hookC = SetWindowsHookExA(WH_CALLWNDPROC, selfRemovingProc, 0, 0);
  SendMessageA(w, WM_NULL, 0, 0);
  EXPECT_EQ(trace(), (std::vector<std::string>{"C", "B", "A"}));
  trace().clear();
  SendMessageA(w, WM_NULL, 0, 0);
  EXPECT_EQ(trace(), (std::vector<std::string>{"B", "A"}));
  EXPECT_TRUE(UnhookWindowsHookEx(hookB));
  EXPECT_FALSE(UnhookWindowsHookEx(hookB));
  trace().clear();
  SendMessageA(w, WM_NULL, 0, 0);
  EXPECT_EQ(trace(), (std::vector<std::string>{"A"}));
  EXPECT_EQ(SetWindowsHookExA(WH_MOUSE, hookAProc, 0, 12345), 0u);  // another thread
}

HHOOK removerHook, victimHook;
LRESULT victimProc(int code, WPARAM w, LPARAM l) {
  trace().push_back("victim");
  return CallNextHookEx(victimHook, code, w, l);
}
LRESULT removerProc(int code, WPARAM w, LPARAM l) {
  trace().push_back("remover");
  UnhookWindowsHookEx(victimHook);  // the next hook in the chain goes away mid-walk
  return CallNextHookEx(removerHook, code, w, l);
}
LRESULT getMsgProc(int code, WPARAM w, LPARAM l) {
  auto* m = reinterpret_cast<MSG*>(l);
  if (code == HC_ACTION && w == PM_REMOVE && m->message == WM_USER) m->wParam = 42;  // may change it
  return CallNextHookEx(0, code, w, l);
}

TEST_F(Hooks, GetMessageHookSeesAndChangesRetrievedMessagesAndChainsSurviveRemoval) {
  trace().clear();
  HWND w = popup(Rect{0, 0, 10, 10});
  input.pump();  // the first paint
  HHOOK gm = SetWindowsHookExA(WH_GETMESSAGE, getMsgProc, 0, 0);
  victimHook = SetWindowsHookExA(WH_GETMESSAGE, victimProc, 0, 0);
  removerHook = SetWindowsHookExA(WH_GETMESSAGE, removerProc, 0, 0);
  clearLog();
  PostMessageA(w, WM_USER, 1, 0);
  input.pump();
  EXPECT_EQ(trace(), (std::vector<std::string>{"remover"}));  // the victim was skipped at once
  EXPECT_EQ(entriesOf(w, WM_USER).at(0).wParam, 42u);
  EXPECT_EQ(hookCount(WH_GETMESSAGE), 2u);
  UnhookWindowsHookEx(gm);
  UnhookWindowsHookEx(removerHook);
  EXPECT_FALSE(hasHooks(WH_GETMESSAGE));
}

// ---- Timers ----------------------------------------------------------------------------------------

std::vector<std::pair<UINT_PTR, DWORD>> ticks;
void recordTick(HWND, UINT msg, UINT_PTR id, DWORD time) {
  EXPECT_EQ(msg, WM_TIMER);
  EXPECT_EQ(time, GetTickCount());
  ticks.push_back({id, GetTickCount()});
}
void selfKillingTick(HWND h, UINT, UINT_PTR id, DWORD) {
  ticks.push_back({id, GetTickCount()});
  KillTimer(h, id);
}

using Timers = UiTest;

TEST_F(Timers, FireAtTheirVirtualTimesInDueOrder) {
  ticks.clear();
  HWND w = popup(Rect{0, 0, 10, 10});
  EXPECT_EQ(GetTickCount(), 0u);
  SetTimer(w, 1, 30, recordTick);
  SetTimer(w, 2, 20, recordTick);
  input.advance(19);
  input.pump();  // processing does not move the clock
  EXPECT_EQ(std::pair(ticks.size(), GetTickCount()), std::pair(size_t{0}, DWORD{19}));
  input.advance(41);  // to 60
  EXPECT_EQ(ticks, (std::vector<std::pair<UINT_PTR, DWORD>>{{2, 20}, {1, 30}, {2, 40}, {1, 60}, {2, 60}}));
  // Resetting a running timer restarts its interval from now.
  ticks.clear();
  SetTimer(w, 1, 30, recordTick);
  input.advance(30);
  EXPECT_EQ(ticks, (std::vector<std::pair<UINT_PTR, DWORD>>{{2, 80}, {1, 90}}));
  // Intervals below ten milliseconds run at ten.
  KillTimer(w, 1);
  KillTimer(w, 2);
  ticks.clear();
  SetTimer(w, 7, 1, recordTick);  // the controls' 1 ms hover timers
  SetTimer(w, 8, 3, recordTick);  // the 3 ms keyboard-lock polls
  input.advance(25);
  EXPECT_EQ(ticks, (std::vector<std::pair<UINT_PTR, DWORD>>{{7, 100}, {8, 100}, {7, 110}, {8, 110}}));
}

TEST_F(Timers, WindowTimersPostWmTimerAndStopWhenKilledOrDestroyed) {
  ticks.clear();
  HWND w = popup(Rect{0, 0, 10, 10});
  EXPECT_EQ(SetTimer(w, 5, 100, nullptr), 5u);
  clearLog();
  input.advance(250);
  auto t = entriesOf(w, WM_TIMER);
  EXPECT_EQ(std::pair(t.size(), t.at(0).wParam), std::pair(size_t{2}, WPARAM{5}));
  EXPECT_TRUE(KillTimer(w, 5));
  EXPECT_FALSE(KillTimer(w, 5));
  // A timer killed inside its own tick stops.
  SetTimer(w, 6, 10, selfKillingTick);
  input.advance(100);
  EXPECT_EQ(ticks.size(), 1u);
  // A window's timers die with it.
  SetTimer(w, 9, 10, recordTick);
  DestroyWindow(w);
  ticks.clear();
  input.advance(100);
  EXPECT_TRUE(ticks.empty());
  EXPECT_EQ(eventLoop().timerCount(), 0u);
}

TEST_F(Timers, TimersWithoutAWindowGetFreshIdentifiers) {
  ticks.clear();
  UINT_PTR a = SetTimer(0, 0, 15, recordTick);
  UINT_PTR b = SetTimer(0, 0, 15, recordTick);
  EXPECT_TRUE(a != 0 && a != b);
  EXPECT_EQ(SetTimer(0, a, 40, recordTick), a);  // an existing identifier is reset
  input.advance(40);
  EXPECT_EQ(ticks, (std::vector<std::pair<UINT_PTR, DWORD>>{{b, 15}, {b, 30}, {a, 40}}));
  EXPECT_TRUE(KillTimer(0, a) && KillTimer(0, b));
}

}  // namespace
}  // namespace zxp::ui::testing
