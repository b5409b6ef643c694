// clsHookingThunk, clsMWheel, clsTimer and clsDatePickerHook: their flows, their module-wide
// slots, and that nothing (hooks, timers, window procedures) outlives them.
#include <memory>
#include <vector>

#include "foundation/clsDatePickerHook.h"
#include "foundation/clsHookingThunk.h"
#include "foundation/clsMWheel.h"
#include "foundation/clsTimer.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Hooks.h"
#include "platform/ui/UiTestSupport.h"

namespace zxp {
namespace {

using ui::testing::UiTest;

class HookClassesTest : public UiTest {
 protected:
  HWND window(Rect r = Rect{100, 100, 300, 200}) { return popup(r); }
  // Points a timer at a window with an id and an interval, counts its ticks, and enables it.
  static void start(clsTimer& t, HWND w, int32_t id, int32_t interval, int& ticks) {
    t.Timer.connect([&ticks] { ++ticks; });
    t.sethwnd(static_cast<int32_t>(w));
    t.setTimerID(id);
    t.setInterval(interval);
    t.setEnabled(true);
  }
};

// ---- clsHookingThunk ------------------------------------------------------------------------

TEST_F(HookClassesTest, HookingThunkAttachesOncePerFormNameAndRaisesForEveryCall) {
  HWND w = window();
  clsHookingThunk hook;
  std::vector<int16_t> codes;
  std::vector<UINT> messages;
  hook.zProcessHooking.connect([&](eHookType& type, int16_t& code, WPARAM&, LPARAM& lParam) {
    EXPECT_EQ(type, eHookType::WH_CALLWNDPROC);
    codes.push_back(code);
    messages.push_back(reinterpret_cast<const CWPSTRUCT*>(lParam)->message);
    lParam = 0;  // a handler's change stays local: the next hook still gets the structure
  });
  hook.pvAttachHook(eHookType::WH_CALLWNDPROC, "Main window", "frmMain");
  HHOOK first = hook.hookHandle();
  ASSERT_NE(first, 0u);
  hook.pvAttachHook(eHookType::WH_CALLWNDPROC, "Main window", "FRMMAIN");  // same name, any case
  EXPECT_EQ(std::tuple(hook.hookHandle(), clsHookingThunk::registeredFormCount()), std::tuple(first, 1u));

  SendMessageA(w, WM_USER + 3, 0, 0);
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(std::tuple(messages.back(), codes.back()), std::tuple(WM_USER + 3, HC_ACTION));

  hook.pvDeattachHook(eHookType::WH_MOUSE);  // another type: nothing happens
  EXPECT_NE(hook.hookHandle(), 0u);
  hook.pvDeattachHook(eHookType::WH_CALLWNDPROC);
  EXPECT_EQ(hook.hookHandle(), 0u);
  EXPECT_FALSE(clsHookingThunk::formCollectionExists());  // dropped when empty
  size_t seen = messages.size();
  SendMessageA(w, WM_USER + 3, 0, 0);
  EXPECT_EQ(messages.size(), seen);
}

TEST_F(HookClassesTest, HookingThunkDestructionRemovesItsHookAndTheNewestInstanceGetsTheCalls) {
  HWND w = window();
  int oldCalls = 0, newCalls = 0;
  auto older = std::make_unique<clsHookingThunk>();
  older->zProcessHooking.connect([&](eHookType&, int16_t&, WPARAM&, LPARAM&) { ++oldCalls; });
  older->pvAttachHook(eHookType::WH_CALLWNDPROC, "", "formA");
  {
    clsHookingThunk newer;
    newer.zProcessHooking.connect([&](eHookType&, int16_t&, WPARAM&, LPARAM&) { ++newCalls; });
    newer.pvAttachHook(eHookType::WH_CALLWNDPROC, "", "formB");
    EXPECT_EQ(clsHookingThunk::activeInstance(), &newer);
    oldCalls = newCalls = 0;
    SendMessageA(w, WM_USER, 0, 0);
    EXPECT_EQ(oldCalls, 0);  // the module-wide slot holds the newest instance only
    EXPECT_GT(newCalls, 0);
  }
  // The slot passes back to the instance still attached, whose hook keeps working.
  EXPECT_EQ(clsHookingThunk::activeInstance(), older.get());
  EXPECT_EQ(clsHookingThunk::registeredFormCount(), 1u);
  oldCalls = 0;
  SendMessageA(w, WM_USER, 0, 0);
  EXPECT_GT(oldCalls, 0);
  older.reset();
  EXPECT_EQ(clsHookingThunk::activeInstance(), nullptr);
  EXPECT_FALSE(clsHookingThunk::formCollectionExists());
  EXPECT_EQ(ui::hookCount(WH_CALLWNDPROC), 0u);
}

int plainHookCalls = 0;
LRESULT plainHook(int code, WPARAM w, LPARAM l) {
  ++plainHookCalls;
  return CallNextHookEx(0, code, w, l);
}

// One instance attached under a second name holds one hook, not two: once it is gone, hooks
// installed before it are called again (a leftover hook with no instance would answer 0 without
// passing the call on).
TEST_F(HookClassesTest, HookingThunkUnderTwoNamesHoldsOneHookAndStarvesNoOlderHook) {
  HWND w = window();
  HHOOK older = SetWindowsHookExA(WH_CALLWNDPROC, plainHook, 0, 0);
  ASSERT_NE(older, 0u);
  {
    clsHookingThunk hook;
    hook.pvAttachHook(eHookType::WH_CALLWNDPROC, "A", "formA");
    hook.pvAttachHook(eHookType::WH_CALLWNDPROC, "B", "formB");
    EXPECT_EQ(ui::hookCount(WH_CALLWNDPROC), 2u);  // the plain hook and one of the instance
    EXPECT_EQ(clsHookingThunk::registeredFormCount(), 1u);
    EXPECT_EQ(hook.formName(), "formB");
    plainHookCalls = 0;
    SendMessageA(w, WM_USER, 0, 0);
    EXPECT_EQ(plainHookCalls, 1);
  }
  EXPECT_EQ(ui::hookCount(WH_CALLWNDPROC), 1u);
  EXPECT_FALSE(clsHookingThunk::formCollectionExists());
  plainHookCalls = 0;
  SendMessageA(w, WM_USER, 0, 0);
  EXPECT_EQ(plainHookCalls, 1);
  UnhookWindowsHookEx(older);
}

// The window-creation hook installs; the types a thread cannot have leave a zero handle and
// register nothing, so the name stays free for another attempt.
TEST_F(HookClassesTest, HookingThunkSupportsTheCbtHookAndFailsCleanlyForTypesAThreadCannotHave) {
  for (eHookType type : {eHookType::WH_MSGFILTER, eHookType::WH_JOURNALRECORD, eHookType::WH_JOURNALPLAYBACK,
                         eHookType::WH_SYSMSGFILTER, eHookType::WH_SHELL, eHookType::WH_KEYBOARD_LL,
                         eHookType::WH_MOUSE_LL}) {
    SCOPED_TRACE(static_cast<int>(type));
    clsHookingThunk hook;
    hook.pvAttachHook(type, "Main", "frmMain");
    EXPECT_EQ(hook.hookHandle(), 0u);
    EXPECT_FALSE(clsHookingThunk::formCollectionExists());
    EXPECT_EQ(clsHookingThunk::activeInstance(), nullptr);
  }
  clsHookingThunk hook;
  std::vector<int16_t> codes;
  hook.zProcessHooking.connect([&](eHookType& type, int16_t& code, WPARAM&, LPARAM&) {
    EXPECT_EQ(type, eHookType::WH_CBT);
    codes.push_back(code);
  });
  hook.pvAttachHook(eHookType::WH_CBT, "Main", "frmMain");
  ASSERT_NE(hook.hookHandle(), 0u);
  EXPECT_EQ(clsHookingThunk::registeredFormCount(), 1u);
  HWND w = window();
  ASSERT_NE(w, 0u);  // the thunk passes the call on: creation is not refused
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(codes.front(), HCBT_CREATEWND);
}

// ---- clsMWheel ---------------------------------------------------------------------------------

TEST_F(HookClassesTest, WheelRaisesOneForwardTwoBackwardSwallowsTheRestAndRestoresTheProcedure) {
  HWND w = window();
  SetFocus(w);
  LONG_PTR original = GetWindowLongPtrA(w, GWLP_WNDPROC);
  clsMWheel wheel;
  std::vector<int32_t> ways;
  wheel.Scrolling.connect([&](int32_t& way) { ways.push_back(way); });
  wheel.SetMe4Scrolling(static_cast<int32_t>(w));

  input.moveTo(w).wheel(1);
  input.wheel(-1);
  EXPECT_EQ(ways, (std::vector<int32_t>{1, 2}));

  input.keyDown(VK_CONTROL).wheel(1).keyUp(VK_CONTROL);  // a key held: swallowed
  EXPECT_EQ(wheel.ScrollWay(), 0);
  EXPECT_EQ(SendMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0), 0);  // two notches at once
  EXPECT_EQ(SendMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(MK_LBUTTON, -120), 0), 0);
  EXPECT_EQ(ways.size(), 2u);
  clearLog();
  SendMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_TRUE(messagesOf(w, {WM_MOUSEWHEEL}).empty());  // never passed on
  EXPECT_EQ(ways.size(), 3u);

  // Other messages reach the window's own procedure.
  SendMessageA(w, WM_USER + 5, 0, 0);
  EXPECT_EQ(messagesOf(w, {WM_USER + 5}).size(), 1u);

  wheel.StopMe();
  EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), original);
  {
    clsMWheel again;  // destruction restores the procedure too
    again.SetMe4Scrolling(static_cast<int32_t>(w));
    EXPECT_NE(GetWindowLongPtrA(w, GWLP_WNDPROC), original);
  }
  EXPECT_EQ(std::tuple(GetWindowLongPtrA(w, GWLP_WNDPROC), clsMWheel::activeInstance()), std::tuple(original, nullptr));
}

// ---- clsTimer --------------------------------------------------------------------------------

TEST_F(HookClassesTest, TimerWithIdZeroNeverStarts) {
  clsTimer t;
  int ticks = 0;
  start(t, window(), 0, 20, ticks);
  EXPECT_TRUE(t.Enabled());
  EXPECT_FALSE(t.running());
  input.advance(200);
  EXPECT_EQ(ticks, 0);
}

TEST_F(HookClassesTest, TimerTicksAtItsIntervalAndStopsWhenDisabledOrDestroyed) {
  HWND w = window();
  size_t timersBefore = ui::eventLoop().timerCount();
  auto t = std::make_unique<clsTimer>();
  int ticks = 0;
  start(*t, w, 5, 50, ticks);
  EXPECT_EQ(clsTimer::activeInstance(), t.get());
  input.advance(49);
  EXPECT_EQ(ticks, 0);
  input.advance(1);
  EXPECT_EQ(ticks, 1);
  input.advance(100);
  EXPECT_EQ(ticks, 3);
  t->setEnabled(false);
  input.advance(200);
  EXPECT_EQ(ticks, 3);
  t->setInterval(10);  // takes effect at the next start
  t->setEnabled(true);
  input.advance(30);
  EXPECT_EQ(ticks, 6);
  t.reset();
  EXPECT_EQ(ui::eventLoop().timerCount(), timersBefore);
}

TEST_F(HookClassesTest, SecondActiveTimerTakesOverTheSlot) {
  HWND w = window();
  clsTimer a, b;
  int ticksA = 0, ticksB = 0;
  start(a, w, 1, 100, ticksA);
  start(b, w, 2, 100, ticksB);
  input.advance(100);
  // Both platform timers fired; the procedure raised the newest object's event both times.
  EXPECT_EQ(std::tuple(ticksA, ticksB), std::tuple(0, 2));
}

// ---- clsDatePickerHook -------------------------------------------------------------------------

TEST_F(HookClassesTest, ClickOutsideReportsTheCursorsScreenPosition) {
  HWND w = window(Rect{100, 100, 300, 200});
  HWND other = window(Rect{400, 100, 500, 200});
  clsDatePickerHook hook;
  std::vector<std::pair<int16_t, int16_t>> presses;
  hook.MouseDownOnOut.connect([&](int16_t& x, int16_t& y) { presses.emplace_back(x, y); });
  ASSERT_TRUE(hook.StartHook());
  EXPECT_EQ(clsDatePickerHook::activeInstance(), &hook);

  input.moveTo(other, Point{10, 20}).click();
  ASSERT_EQ(presses.size(), 1u);
  EXPECT_EQ(presses[0], (std::pair<int16_t, int16_t>{410, 120}));
  input.moveTo(w, Point{5, 5}).click(ui::MouseButton::Right);  // right button: not reported
  EXPECT_EQ(presses.size(), 1u);

  input.moveTo(Point{33, 44});
  hook.RaiseMe(0, 0);  // the arguments are not used: the cursor is
  EXPECT_EQ(presses.back(), (std::pair<int16_t, int16_t>{33, 44}));

  EXPECT_TRUE(hook.StopHook());
  EXPECT_EQ(clsDatePickerHook::activeInstance(), nullptr);
  EXPECT_FALSE(hook.StopHook());
  input.moveTo(other).click();
  EXPECT_EQ(presses.size(), 2u);
}

TEST_F(HookClassesTest, DatePickerHookRestartsWithoutLeakingAndIsRemovedOnDestruction) {
  {
    clsDatePickerHook hook;
    ASSERT_TRUE(hook.StartHook());
    ASSERT_TRUE(hook.StartHook());  // removes the hook it still holds first
    EXPECT_EQ(ui::hookCount(WH_MOUSE), 1u);
  }
  EXPECT_EQ(std::tuple(ui::hookCount(WH_MOUSE), clsDatePickerHook::activeInstance()), std::tuple(0u, nullptr));
}

}  // namespace
}  // namespace zxp
