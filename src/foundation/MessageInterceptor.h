// The message interceptor: lets a control (the form skin, the list) see the messages of chosen
// windows before and after the windows' own processing.
//
// The owner keeps a growable table of records, one per intercepted window. SubclassWindow makes
// the interceptor's entry point the window's procedure and adds a layer for this owner to the
// window's chain, keeping the procedure it replaced: several owners stack on one window, each
// passing messages on to what it replaced, and may be removed in any order (the chain is
// re-linked around a removed layer; see MessageInterceptor.cpp). There is no fixed limit on
// intercepted windows or layers; AddMessage lists
// messages for the before phase (When bit 2), the after phase (bit 1) or both (3); a message
// number of -1 lists every message for the phase. For a listed message the entry point calls the
// owner's zSubclass_Proc:
//   1. lReturn = 0, bHandled = False;
//   2. listed before: zSubclass_Proc(True, bHandled, lReturn, hWnd, uMsg, wParam, lParam);
//   3. unless bHandled: lReturn = the previous procedure's result; then, listed after:
//      zSubclass_Proc(False, bHandled, lReturn, hWnd, uMsg, wParam, lParam);
//   4. lReturn is the message's result.
// So a before-callback that sets bHandled suppresses the previous procedure and the after-callback,
// and an after-callback may replace the result it sees.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/ui/User.h"

namespace zxp {

// What the owner of an interceptor implements. Every argument but bBefore is by reference.
class iSubclass {
 public:
  virtual ~iSubclass() = default;
  virtual void zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND& lng_hWnd, UINT& uMsg,
                              WPARAM& wParam, LPARAM& lParam) = 0;
};

// AddMessage's When bits, and the message number that stands for every message.
constexpr int32_t MSG_AFTER = 1;
constexpr int32_t MSG_BEFORE = 2;
constexpr int32_t MSG_BEFORE_AND_AFTER = MSG_AFTER | MSG_BEFORE;
constexpr int32_t ALL_MESSAGES = -1;

class MessageInterceptor {
 public:
  explicit MessageInterceptor(iSubclass& owner) : owner_(owner) {}
  ~MessageInterceptor() { UnsubclassAll(); }
  MessageInterceptor(const MessageInterceptor&) = delete;
  MessageInterceptor& operator=(const MessageInterceptor&) = delete;

  // Intercepts hWnd; returns the record's index, or -1 when hWnd is not a window. A window
  // already intercepted by this owner keeps its record.
  int32_t SubclassWindow(HWND hWnd);
  // Lists uMsg (or every message, with -1) for the phases in When. False for a window that this
  // owner does not intercept.
  bool AddMessage(HWND hWnd, int32_t uMsg, int32_t When);
  // Takes this owner's layer out of the window's chain (the window gets back the procedure the
  // layer replaced when the layer was the newest) and frees the record. False when hWnd is not intercepted
  // by this owner or the window is gone (the record is freed all the same).
  bool UnsubclassWindow(HWND hWnd);
  // UnsubclassWindow for every record in use, last to first, ignoring failures.
  void UnsubclassAll();

  // The records as the owner keeps them (for inspection; index = SubclassWindow's result).
  struct Record {
    HWND hWnd = 0;           // 0: free
    int32_t entry = -1;      // this owner's layer in the window's chain
    WNDPROC previous = nullptr;  // the procedure the layer replaced (the entry point when a layer lies under it)
    int32_t afterCount = 0;  // -1: every message
    int32_t beforeCount = 0;
    std::vector<UINT> afterMessages;
    std::vector<UINT> beforeMessages;
  };
  const std::vector<Record>& records() const { return records_; }

  // How many layers are in use on all windows (owners and windows intercepted right now).
  static int32_t entryPointsInUse();

 private:
  friend struct InterceptorDispatch;
  Record* find(HWND hWnd);
  LRESULT dispatch(size_t index, size_t layer, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

  iSubclass& owner_;
  std::vector<Record> records_;
};

}  // namespace zxp
