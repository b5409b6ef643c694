// The thread hook types beyond the message hooks: WH_CBT before window creation, destruction,
// activation and focus changes (each may be refused), WH_DEBUG before every other hook, and the
// types a thread cannot install.
#include <string>
#include <vector>

#include "platform/ui/Hooks.h"
#include "platform/ui/UiTestSupport.h"

namespace zxp::ui {
namespace {

using testing::UiTest;

struct CbtCall {
  int code;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<CbtCall> cbtCalls;
int refuseCode = -1;  // the CBT code the hook refuses

LRESULT cbtProc(int code, WPARAM w, LPARAM l) {
  cbtCalls.push_back(CbtCall{code, w, l});
  if (code == refuseCode) return 1;
  return CallNextHookEx(0, code, w, l);
}

class HookTypesTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    cbtCalls.clear();
    refuseCode = -1;
  }
  std::vector<int> codes() const {
    std::vector<int> out;
    for (const auto& c : cbtCalls) out.push_back(c.code);
    return out;
  }
};

TEST_F(HookTypesTest, CbtHookSeesAndMayRefuseCreationDestructionActivationAndFocus) {
  HHOOK h = SetWindowsHookExA(WH_CBT, cbtProc, 0, GetCurrentThreadId());
  HWND w = popup(Rect{0, 0, 50, 50});
  ASSERT_FALSE(cbtCalls.empty());
  // The creation structure is read inside the call only; here the pointer is just checked.
  EXPECT_EQ(std::tuple(cbtCalls.front().code, cbtCalls.front().wParam, cbtCalls.front().lParam != 0),
            std::tuple(int{HCBT_CREATEWND}, WPARAM{w}, true));
  HWND a = child(w, Rect{0, 0, 10, 10});
  HWND b = child(w, Rect{10, 0, 20, 10});
  SetActiveWindow(popup(Rect{60, 0, 90, 30}));
  cbtCalls.clear();
  SetActiveWindow(w);
  SetFocus(a);
  ASSERT_GE(cbtCalls.size(), 2u);
  EXPECT_EQ(std::pair(cbtCalls.front().code, cbtCalls.front().wParam), std::pair(int{HCBT_ACTIVATE}, WPARAM{w}));
  EXPECT_EQ(std::pair(cbtCalls.back().code, cbtCalls.back().wParam), std::pair(int{HCBT_SETFOCUS}, WPARAM{a}));

  refuseCode = HCBT_CREATEWND;
  clearLog();
  EXPECT_EQ(child(w, Rect{0, 0, 5, 5}), 0u);
  EXPECT_TRUE(orderOf({WM_NCCREATE}).empty());  // refused before it
  EXPECT_EQ(GetWindow(w, GW_CHILD), a);          // and is not among the children
  refuseCode = HCBT_SETFOCUS;
  SetFocus(b);
  EXPECT_EQ(GetFocus(), a);
  refuseCode = HCBT_DESTROYWND;
  EXPECT_FALSE(DestroyWindow(b));
  EXPECT_TRUE(IsWindow(b));
  refuseCode = -1;
  cbtCalls.clear();
  EXPECT_TRUE(DestroyWindow(b));
  EXPECT_EQ(codes(), (std::vector<int>{HCBT_DESTROYWND}));
  EXPECT_TRUE(UnhookWindowsHookEx(h));
}

std::vector<WPARAM> debugTypes;
bool skipByDebug = false;
LRESULT debugProc(int code, WPARAM w, LPARAM l) {
  debugTypes.push_back(w);
  if (skipByDebug) return 1;
  return CallNextHookEx(0, code, w, l);
}
int callWndCalls = 0;
LRESULT callWndProc(int code, WPARAM w, LPARAM l) {
  ++callWndCalls;
  return CallNextHookEx(0, code, w, l);
}

TEST_F(HookTypesTest, DebugHookSeesEveryOtherHookFirstAndMaySkipIt) {
  HWND w = popup(Rect{0, 0, 20, 20});
  HHOOK call = SetWindowsHookExA(WH_CALLWNDPROC, callWndProc, 0, 0);
  HHOOK debug = SetWindowsHookExA(WH_DEBUG, debugProc, 0, 0);
  ASSERT_TRUE(call && debug);
  debugTypes.clear();
  callWndCalls = 0;
  skipByDebug = false;
  SendMessageA(w, WM_USER, 0, 0);
  EXPECT_EQ(std::pair(debugTypes, callWndCalls), std::pair(std::vector<WPARAM>{WH_CALLWNDPROC}, 1));
  skipByDebug = true;
  clearLog();
  SendMessageA(w, WM_USER, 0, 0);
  EXPECT_EQ(callWndCalls, 1);
  EXPECT_EQ(messagesOf(w, {WM_USER}).size(), 1u);  // the message itself still arrives
}

TEST_F(HookTypesTest, TypesAThreadCannotInstallFailWithAZeroHandle) {
  for (int type : {WH_MSGFILTER, WH_JOURNALRECORD, WH_JOURNALPLAYBACK, WH_SYSMSGFILTER, WH_SHELL, WH_KEYBOARD_LL,
                   WH_MOUSE_LL, 8, 15, -2}) {
    EXPECT_EQ(SetWindowsHookExA(type, callWndProc, 0, 0), 0u) << type;
    EXPECT_EQ(hookCount(type), 0u) << type;
  }
  for (int type : {WH_KEYBOARD, WH_GETMESSAGE, WH_CALLWNDPROC, WH_CBT, WH_MOUSE, WH_DEBUG, WH_FOREGROUNDIDLE,
                   WH_CALLWNDPROCRET}) {
    EXPECT_TRUE(UnhookWindowsHookEx(SetWindowsHookExA(type, callWndProc, 0, 0))) << type;
  }
}

}  // namespace
}  // namespace zxp::ui
