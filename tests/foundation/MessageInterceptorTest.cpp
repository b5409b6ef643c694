// The message interceptor's flow: before/after phases, bHandled, by-reference results, the
// "every message" phase, stacking on one window and restoring the original procedure.
#include "foundation/MessageInterceptor.h"

#include <algorithm>
#include <memory>
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

// Intercepts `w` (as the interceptor's record `record`) and lists kAsk for the phases `when`.
void watch(MessageInterceptor& mi, HWND w, int32_t when = MSG_BEFORE, int32_t record = 0) {
  ASSERT_EQ(mi.SubclassWindow(w), record);
  mi.AddMessage(w, kAsk, when);
}

// A before callback that handles the message answers for it: neither the window's own procedure
// nor the after phase sees it. An after callback sees the previous procedure's answer and may
// replace it.
TEST_F(MessageInterceptorTest, BeforeHandlingEndsTheMessageAndAfterCallbacksReplaceTheResult) {
  HWND w = window();
  RecordingOwner owner;
  owner.handleBefore = true;
  owner.beforeResult = 1;
  MessageInterceptor mi(owner);
  watch(mi, w, MSG_BEFORE_AND_AFTER);
  clearLog();
  EXPECT_EQ(SendMessageA(w, kAsk, 0, 0), 1);
  EXPECT_TRUE(messagesOf(w, {kAsk}).empty());
  ASSERT_EQ(owner.calls.size(), 1u);
  EXPECT_TRUE(owner.calls[0].before);

  mi.AddMessage(w, WM_GETTEXTLENGTH, MSG_AFTER);
  SetWindowTextA(w, "abcd");
  owner.handleBefore = false;
  owner.replaceAfter = true;
  owner.afterResult = 42;
  owner.calls.clear();
  clearLog();
  EXPECT_EQ(SendMessageA(w, WM_GETTEXTLENGTH, 0, 0), 42);
  ASSERT_EQ(owner.calls.size(), 1u);
  EXPECT_FALSE(owner.calls[0].before);
  EXPECT_EQ(owner.calls[0].seen, 4);  // the previous procedure's answer
  EXPECT_EQ(messagesOf(w, {WM_GETTEXTLENGTH}).size(), 1u);
}

// The lists decide what the owner sees: an unlisted message passes straight through, the
// "all messages" phase sees messages on no list, and each message is listed once per phase.
TEST_F(MessageInterceptorTest, MessageListsDecideWhatTheOwnerSees) {
  HWND w = window(), v = window();
  RecordingOwner owner;
  MessageInterceptor mi(owner);
  mi.SubclassWindow(w);
  mi.SubclassWindow(v);
  mi.AddMessage(w, WM_MOVE, MSG_BEFORE);
  SendMessageA(w, kAsk, 0, 0);
  EXPECT_EQ(std::tuple(owner.count(kAsk), messagesOf(w, {kAsk}).size()), std::tuple(0u, 1u));
  mi.AddMessage(w, WM_MOVE, MSG_BEFORE_AND_AFTER);
  EXPECT_EQ(std::tuple(mi.records()[0].beforeCount, mi.records()[0].afterCount), std::tuple(1, 1));

  mi.AddMessage(v, ALL_MESSAGES, MSG_BEFORE);
  mi.AddMessage(v, kAsk, MSG_BEFORE);  // adding to an "all" phase changes nothing
  mi.AddMessage(v, kAsk, MSG_AFTER);
  mi.AddMessage(v, kAsk, MSG_BEFORE_AND_AFTER);
  SendMessageA(v, kAsk + 1, 0, 0);
  EXPECT_EQ(std::tuple(owner.count(kAsk + 1), mi.records()[1].beforeCount, mi.records()[1].afterCount),
            std::tuple(1u, ALL_MESSAGES, 1));
  SendMessageA(v, kAsk, 0, 0);
  EXPECT_EQ(owner.count(kAsk), 2u);  // before (through "all") and after, once each
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
  watch(mi, w);
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
    EXPECT_NE(GetWindowLongPtrA(b, GWLP_WNDPROC), originalB);
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

// Owners stacked on one window and removed in a given order: after each removal every owner still
// in place sees the message once, and so does the window's own procedure; at the end the window
// has its original procedure back and no layer is left.
void removeInOrder(HWND w, const std::vector<size_t>& order) {
  const LONG_PTR original = GetWindowLongPtrA(w, GWLP_WNDPROC);
  const int32_t layersBefore = MessageInterceptor::entryPointsInUse();
  const size_t n = order.size();
  std::vector<RecordingOwner> owners(n);
  std::vector<std::unique_ptr<MessageInterceptor>> interceptors;
  for (auto& o : owners) {
    interceptors.push_back(std::make_unique<MessageInterceptor>(o));
    watch(*interceptors.back(), w, MSG_BEFORE_AND_AFTER);
  }
  std::vector<bool> present(n, true);
  auto checkDelivery = [&] {
    for (auto& o : owners) o.calls.clear();
    auto& log = ui::testing::messageLog();
    log.clear();
    SendMessageA(w, kAsk, 0, 0);
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [&](const auto& e) { return e.hwnd == w && e.msg == kAsk; }), 1);
    for (size_t k = 0; k < n; ++k) EXPECT_EQ(owners[k].count(kAsk), present[k] ? 2u : 0u) << "owner " << k;
  };
  checkDelivery();
  for (size_t k : order) {
    SCOPED_TRACE(testing::Message() << "after removing owner " << k);
    EXPECT_TRUE(interceptors[k]->UnsubclassWindow(w));
    present[k] = false;
    checkDelivery();
  }
  EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), original);
  EXPECT_EQ(MessageInterceptor::entryPointsInUse(), layersBefore);
}

TEST_F(MessageInterceptorTest, StackedOwnersComeOffInEveryOrder) {
  for (size_t n : {2u, 3u}) {
    std::vector<size_t> order(n);
    for (size_t k = 0; k < n; ++k) order[k] = k;
    do {
      SCOPED_TRACE(testing::Message() << n << " owners, order " << order[0] << order[1] << (n > 2 ? std::to_string(order[2]) : ""));
      removeInOrder(window(), order);
    } while (std::next_permutation(order.begin(), order.end()));
  }
}

// A window subclassed by someone else between two interceptors: both still see their messages,
// and removing them in either order keeps the foreign procedure and the window's own in the chain.
LRESULT foreignProc(HWND h, UINT m, WPARAM w, LPARAM l);
WNDPROC foreignPrevious = nullptr;
int foreignCalls = 0;
LRESULT foreignProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == kAsk) ++foreignCalls;
  return CallWindowProcA(foreignPrevious, h, m, w, l);
}

TEST_F(MessageInterceptorTest, AForeignProcedureBetweenTwoOwnersStaysInTheChain) {
  for (bool lowerFirst : {true, false}) {
    SCOPED_TRACE(lowerFirst ? "lower owner removed first" : "upper owner removed first");
    HWND w = window();
    RecordingOwner lower, upper;
    MessageInterceptor first(lower), second(upper);
    watch(first, w);
    foreignPrevious = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&foreignProc)));
    watch(second, w);
    auto send = [&] {
      lower.calls.clear();
      upper.calls.clear();
      foreignCalls = 0;
      clearLog();
      SendMessageA(w, kAsk, 0, 0);
      EXPECT_EQ(std::tuple(foreignCalls, messagesOf(w, {kAsk}).size()), std::tuple(1, 1u));
    };
    send();
    EXPECT_EQ(std::tuple(lower.count(kAsk), upper.count(kAsk)), std::tuple(1u, 1u));
    (lowerFirst ? first : second).UnsubclassWindow(w);
    send();
    EXPECT_EQ(std::tuple(lower.count(kAsk), upper.count(kAsk)), std::tuple(lowerFirst ? 0u : 1u, lowerFirst ? 1u : 0u));
    (lowerFirst ? second : first).UnsubclassWindow(w);
    send();
    EXPECT_EQ(lower.count(kAsk) + upper.count(kAsk), 0u);
  }
}

// Interception is not limited to a fixed number of windows.
TEST_F(MessageInterceptorTest, ManyWindowsAreInterceptedAtOnce) {
  RecordingOwner owner;
  MessageInterceptor mi(owner);
  std::vector<HWND> windows;
  for (int k = 0; k < 600; ++k) {
    windows.push_back(window());
    watch(mi, windows.back(), MSG_BEFORE, k);
  }
  for (HWND w : windows) SendMessageA(w, kAsk, 0, 0);
  EXPECT_EQ(owner.count(kAsk), windows.size());
  mi.UnsubclassAll();
  for (HWND w : windows) DestroyWindow(w);
}

// An owner that removes itself while its callback runs: the message still reaches the window.
class SelfRemovingOwner : public iSubclass {
 public:
  MessageInterceptor* mi = nullptr;
  void zSubclass_Proc(bool, bool&, LRESULT&, HWND& h, UINT& m, WPARAM&, LPARAM&) override {
    if (m == kAsk) mi->UnsubclassWindow(h);
  }
};

TEST_F(MessageInterceptorTest, AnOwnerMayRemoveItselfDuringACallback) {
  HWND w = window();
  const LONG_PTR original = GetWindowLongPtrA(w, GWLP_WNDPROC);
  RecordingOwner below;
  SelfRemovingOwner self;
  MessageInterceptor first(below), second(self);
  self.mi = &second;
  watch(first, w);
  watch(second, w);
  clearLog();
  SendMessageA(w, kAsk, 0, 0);
  EXPECT_EQ(std::tuple(below.count(kAsk), messagesOf(w, {kAsk}).size()), std::tuple(1u, 1u));
  first.UnsubclassWindow(w);
  EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), original);
}

TEST_F(MessageInterceptorTest, DestroyedWindowsAndBadHandlesFailQuietly) {
  RecordingOwner owner;
  MessageInterceptor mi(owner);
  EXPECT_EQ(std::tuple(mi.SubclassWindow(0), mi.SubclassWindow(0xDEAD)), std::tuple(-1, -1));
  HWND w = window();
  mi.SubclassWindow(w);
  DestroyWindow(w);
  EXPECT_FALSE(mi.UnsubclassWindow(w));  // gone: record freed, nothing to restore
  mi.UnsubclassAll();
}

}  // namespace
}  // namespace zxp
