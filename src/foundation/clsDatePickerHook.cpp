#include "foundation/clsDatePickerHook.h"

namespace zxp {

namespace {

clsDatePickerHook*& active() {
  static clsDatePickerHook* a = nullptr;
  return a;
}

LRESULT mouseHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
  clsDatePickerHook* a = active();
  if (nCode < 0) return CallNextHookEx(a ? a->hookHandle() : 0, nCode, wParam, lParam);
  if (nCode == HC_ACTION && (wParam == WM_LBUTTONDOWN || wParam == WM_NCLBUTTONDOWN) && a && lParam) {
    const auto* info = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    a->RaiseMe(static_cast<int16_t>(info->pt.x), static_cast<int16_t>(info->pt.y));
  }
  return 0;
}

}  // namespace

clsDatePickerHook::~clsDatePickerHook() {
  if (hook_) StopHook();
  if (active() == this) active() = nullptr;
}

bool clsDatePickerHook::StartHook() {
  if (hook_) {
    UnhookWindowsHookEx(hook_);
    hook_ = 0;
  }
  hook_ = SetWindowsHookExA(WH_MOUSE, &mouseHookProc, 0, GetCurrentThreadId());
  if (!hook_) {
    active() = nullptr;
    return false;
  }
  active() = this;
  return true;
}

bool clsDatePickerHook::StopHook() {
  bool ok = hook_ != 0 && UnhookWindowsHookEx(hook_) != FALSE;
  hook_ = 0;
  active() = nullptr;
  return ok;
}

void clsDatePickerHook::RaiseMe(int16_t, int16_t) {
  POINT p;
  GetCursorPos(&p);
  int16_t x = static_cast<int16_t>(p.x);
  int16_t y = static_cast<int16_t>(p.y);
  MouseDownOnOut.raise(x, y);
}

clsDatePickerHook* clsDatePickerHook::activeInstance() { return active(); }

const host::MemberTable& clsDatePickerHook::memberTable() const {
  static const host::MemberTable table = host::ClassMembers<clsDatePickerHook>("clsDatePickerHook")
                                             .method("StartHook", &clsDatePickerHook::StartHook)
                                             .method("StopHook", &clsDatePickerHook::StopHook)
                                             .method("RaiseMe", &clsDatePickerHook::RaiseMe)
                                             .event("MouseDownOnOut", &clsDatePickerHook::MouseDownOnOut, {"X", "Y"})
                                             .build();
  return table;
}

}  // namespace zxp
