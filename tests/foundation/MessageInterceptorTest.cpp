// The message interceptor's flow: before/after phases, bHandled, by-reference results, the
// "every message" phase, stacking on one window and restoring the original procedure.
#include "foundation/MessageInterceptor.h"

#include <string>
#include <vector>

#include "platform/gfx/Handles.h"
#include "platform/ui/UiTestSupport.h"

namespace zxp {
namespace {

using ui::testing::UiTest;

constexpr UINT kAsk = WM_USER + 7;  // the logging window answers 0 through DefWindowProc

// An owner that records its calls and can be told how to answer.
class RecordingOwner : public iSubclass {
 public:
  struct Call {
    bool before;
    UINT msg;
    LRESULT seen;
  };
  std::vector<Call> calls;
  bool handleBefore = false;
  LRESULT beforeResult = 0;
  bool replaceAfter = false;
  LRESULT afterResult = 0;

  void zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND&, UINT& uMsg, WPARAM&,
                      LPARAM&) override {
    calls.push_back(Call{bBefore, uMsg, lReturn});
    if (bBefore && handleBefore) {
      bHandled = true;
      lReturn = beforeResult;
    }
    if (!bBefore && replaceAfter) lReturn = afterResult;
  }
  size_t count(UINT msg) const {
    size_t n = 0;
    for (const auto& c : calls) n += c.msg == msg;
    return n;
  }
};

class MessageInterceptorTest : public UiTest {
 protected:
  HWND window() { return popup(Rect{10, 10, 110, 60}); }
};

TEST_F(MessageInterceptorTest, BeforeCallbackThatHandlesSuppressesThePreviousProcedureAndTheAfterPhase) {
  HWND w = window();
  RecordingOwner owner;
  owner.handleBefore = true;
  owner.beforeResult = 1;
  {
    MessageInterceptor mi(owner);
    ASSERT_EQ(mi.SubclassWindow(w), 0);
    mi.AddMessage(w, kAsk, MSG_BEFORE_AND_AFTER);
    clearLog();
    EXPECT_EQ(SendMessageA(w, kAsk, 0, 0), 1);
    // The window's own procedure never saw it, nor did the after phase.
    EXPECT_TRUE(messagesOf(w, {kAsk}).empty());
    ASSERT_EQ(owner.calls.size(), 1u);
    EXPECT_TRUE(owner.calls[0].before);
  }
}

TEST_F(MessageInterceptorTest, AfterCallbackSeesAndReplacesTheResult) {
  HWND w = window();
  RecordingOwner owner;
  MessageInterceptor mi(owner);
  mi.SubclassWindow(w);
  mi.AddMessage(w, WM_GETTEXTLENGTH, MSG_AFTER);
  SetWindowTextA(w, "abcd");
  owner.replaceAfter = true;
  owner.afterResult = 42;
  clearLog();
  EXPECT_EQ(SendMessageA(w, WM_GETTEXTLENGTH, 0, 0), 42);
  ASSERT_EQ(owner.calls.size(), 1u);
  EXPECT_FALSE(owner.calls[0].before);
  EXPECT_EQ(owner.calls[0].seen, 4);  // the previous procedure's answer
  EXPECT_EQ(messagesOf(w, {WM_GETTEXTLENGTH}).size(), 1u);
}

TEST_F(MessageInterceptorTest, UnlistedMessagesPassStraightThrough) {
  HWND w = window();
  RecordingOwner owner;
  MessageInterceptor mi(owner);
  mi.SubclassWindow(w);
  mi.AddMessage(w, WM_MOVE, MSG_BEFORE);
  SendMessageA(w, kAsk, 0, 0);
  EXPECT_EQ(owner.count(kAsk), 0u);
  EXPECT_EQ(messagesOf(w, {kAsk}).size(), 1u);
}

TEST_F(MessageInterceptorTest, AllMessagesPhaseSeesMessagesOnNoList) {
  HWND w = window();
  RecordingOwner owner;
  MessageInterceptor mi(owner);
  mi.SubclassWindow(w);
  mi.AddMessage(w, ALL_MESSAGES, MSG_BEFORE);
  mi.AddMessage(w, kAsk, MSG_BEFORE);  // adding to an "all" phase changes nothing
  SendMessageA(w, kAsk, 0, 0);
  SendMessageA(w, kAsk + 1, 0, 0);
  EXPECT_EQ(owner.count(kAsk), 1u);
  EXPECT_EQ(owner.count(kAsk + 1), 1u);
  EXPECT_EQ(mi.records()[0].beforeCount, ALL_MESSAGES);
  EXPECT_EQ(mi.records()[0].afterCount, 0);
}

TEST_F(MessageInterceptorTest, AddMessageListsEachMessageOnce) {
  HWND w = window();
  RecordingOwner owner;
  MessageInterceptor mi(owner);
  mi.SubclassWindow(w);
  mi.AddMessage(w, kAsk, MSG_AFTER);
  mi.AddMessage(w, kAsk, MSG_BEFORE_AND_AFTER);
  EXPECT_EQ(mi.records()[0].afterCount, 1);
  EXPECT_EQ(mi.records()[0].beforeCount, 1);
  EXPECT_FALSE(mi.AddMessage(window(), kAsk, MSG_AFTER));  // not intercepted
}

TEST_F(MessageInterceptorTest, ByReferenceArgumentsChangedBeforeReachThePreviousProcedure) {
  HWND w = window();
  struct Rewriter : iSubclass {
    void zSubclass_Proc(bool bBefore, bool&, LRESULT&, HWND&, UINT& uMsg, WPARAM& wParam, LPARAM&) override {
      if (bBefore) {
        uMsg = kAsk + 1;
        wParam = 77;
      }
    }
  } owner;
  MessageInterceptor mi(owner);
  mi.SubclassWindow(w);
  mi.AddMessage(w, kAsk, MSG_BEFORE);
  clearLog();
  SendMessageA(w, kAsk, 0, 0);
  auto seen = entriesOf(w, kAsk + 1);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].wParam, 77u);
}

TEST_F(MessageInterceptorTest, UnsubclassingRestoresTheOriginalProcedureWithSeveralRecords) {
  HWND a = window();
  HWND b = window();
  LONG_PTR originalA = GetWindowLongPtrA(a, GWLP_WNDPROC);
  LONG_PTR originalB = GetWindowLongPtrA(b, GWLP_WNDPROC);
  RecordingOwner owner;
  int32_t before = MessageInterceptor::entryPointsInUse();
  {
    MessageInterceptor mi(owner);
    EXPECT_EQ(mi.SubclassWindow(a), 0);
    EXPECT_EQ(mi.SubclassWindow(b), 1);
    EXPECT_EQ(mi.SubclassWindow(a), 0);  // already intercepted: same record
    EXPECT_NE(GetWindowLongPtrA(a, GWLP_WNDPROC), originalA);
    EXPECT_NE(GetWindowLongPtrA(a, GWLP_WNDPROC), GetWindowLongPtrA(b, GWLP_WNDPROC));
    EXPECT_TRUE(mi.UnsubclassWindow(a));
    EXPECT_EQ(GetWindowLongPtrA(a, GWLP_WNDPROC), originalA);
    EXPECT_EQ(mi.records()[0].hWnd, 0u);  // freed ...
    EXPECT_EQ(mi.SubclassWindow(a), 0);   // ... and reused
    EXPECT_FALSE(mi.UnsubclassWindow(window()));
  }  // destruction unsubclasses everything
  EXPECT_EQ(GetWindowLongPtrA(a, GWLP_WNDPROC), originalA);
  EXPECT_EQ(GetWindowLongPtrA(b, GWLP_WNDPROC), originalB);
  EXPECT_EQ(MessageInterceptor::entryPointsInUse(), before);
}

TEST_F(MessageInterceptorTest, TwoOwnersStackOnOneWindowAndEachCallsTheProcedureItReplaced) {
  HWND w = window();
  RecordingOwner inner, outer;
  MessageInterceptor first(inner), second(outer);
  first.SubclassWindow(w);
  first.AddMessage(w, kAsk, MSG_AFTER);
  second.SubclassWindow(w);
  second.AddMessage(w, kAsk, MSG_BEFORE);
  clearLog();
  SendMessageA(w, kAsk, 0, 0);
  EXPECT_EQ(outer.count(kAsk), 1u);
  EXPECT_EQ(inner.count(kAsk), 1u);
  EXPECT_EQ(messagesOf(w, {kAsk}).size(), 1u);
  second.UnsubclassAll();
  first.UnsubclassAll();
}

TEST_F(MessageInterceptorTest, DestroyedWindowsAndBadHandlesFailQuietly) {
  RecordingOwner owner;
  MessageInterceptor mi(owner);
  EXPECT_EQ(mi.SubclassWindow(0), -1);
  EXPECT_EQ(mi.SubclassWindow(0xDEAD), -1);
  HWND w = window();
  mi.SubclassWindow(w);
  DestroyWindow(w);
  EXPECT_FALSE(mi.UnsubclassWindow(w));  // gone: record freed, nothing to restore
  mi.UnsubclassAll();
}

}  // namespace
}  // namespace zxp
