// Shared fixture for the window-system tests: a fresh window system per test, a test window
// class whose procedure records every message, and helpers to read the record.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/ui/EventLoop.h"
#include "platform/ui/TestInput.h"
#include "platform/ui/User.h"

namespace zxp::ui::testing {

struct Logged {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

inline std::vector<Logged>& messageLog() {
  static std::vector<Logged> log;
  return log;
}

inline LRESULT loggingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  messageLog().push_back(Logged{h, m, w, l});
  return DefWindowProcA(h, m, w, l);
}

constexpr const char* kTestClass = "ZxpTestWindow";      // CS_DBLCLKS, no background
constexpr const char* kPlainClass = "ZxpPlainWindow";    // no double clicks
constexpr const char* kBrushClass = "ZxpBrushWindow";    // white background brush

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetWindowSystem();
    messageLog().clear();
    WNDCLASSA wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = loggingProc;
    wc.hCursor = LoadCursorA(0, IDC_ARROW);
    wc.lpszClassName = kTestClass;
    ASSERT_NE(RegisterClassA(&wc), 0);
    wc.style = 0;
    wc.lpszClassName = kPlainClass;
    ASSERT_NE(RegisterClassA(&wc), 0);
    wc.hbrBackground = GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = kBrushClass;
    ASSERT_NE(RegisterClassA(&wc), 0);
  }
  void TearDown() override {
    resetWindowSystem();
    messageLog().clear();
  }

  // A visible pop-up (no frame) at screen rectangle r.
  HWND popup(Rect r, const char* cls = kTestClass, DWORD exStyle = 0) {
    return CreateWindowExA(exStyle, cls, "", WS_POPUP | WS_VISIBLE, r.left, r.top, r.width(), r.height(), 0,
                           0, 0, nullptr);
  }
  // A visible child at client rectangle r of parent.
  HWND child(HWND parent, Rect r, const char* cls = kTestClass, UINT id = 0) {
    return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE, r.left, r.top, r.width(), r.height(), parent,
                           id, 0, nullptr);
  }

  // The messages one window received (optionally only those listed), in order.
  static std::vector<UINT> messagesOf(HWND h, std::initializer_list<UINT> only = {}) {
    std::vector<UINT> out;
    for (const auto& e : messageLog()) {
      if (e.hwnd != h) continue;
      if (only.size() && std::find(only.begin(), only.end(), e.msg) == only.end()) continue;
      out.push_back(e.msg);
    }
    return out;
  }
  static std::vector<Logged> entriesOf(HWND h, UINT msg) {
    std::vector<Logged> out;
    for (const auto& e : messageLog())
      if (e.hwnd == h && e.msg == msg) out.push_back(e);
    return out;
  }
  static void clearLog() { messageLog().clear(); }
  // The listed messages across every window, with the window each went to, in order.
  static std::vector<std::pair<HWND, UINT>> orderOf(std::initializer_list<UINT> only) {
    std::vector<std::pair<HWND, UINT>> out;
    for (const auto& e : messageLog())
      if (std::find(only.begin(), only.end(), e.msg) != only.end()) out.push_back({e.hwnd, e.msg});
    return out;
  }
  static Rect windowRect(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
  }
  // Gives a window a test's own procedure.
  static void subclass(HWND h, LRESULT (*proc)(HWND, UINT, WPARAM, LPARAM)) {
    SetWindowLongPtrA(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
  }

  TestInput input;
};

}  // namespace zxp::ui::testing
