#include "foundation/clsMWheel.h"

namespace zxp {

namespace {

struct WheelState {
  clsMWheel* active = nullptr;
  WNDPROC previous = nullptr;
};

WheelState& wheel() {
  static WheelState s;
  return s;
}

LRESULT wheelProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  WheelState& s = wheel();
  if (uMsg != WM_MOUSEWHEEL) {
    return s.previous ? CallWindowProcA(s.previous, hwnd, uMsg, wParam, lParam)
                      : DefWindowProcA(hwnd, uMsg, wParam, lParam);
  }
  // wParam as a signed 32-bit value: the delta in the high word, the key state in the low word.
  // Only a bare notch divides out to exactly +1 or -1.
  double v = static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(wParam))) / 120.0 / 65536.0;
  clsMWheel* a = s.active;
  if (!a) return 0;
  if (v == 1.0) {
    a->setScrollWay(1);
    a->ReaiseMe4Scrolling();
  } else if (v == -1.0) {
    a->setScrollWay(2);
    a->ReaiseMe4Scrolling();
  } else {
    a->setScrollWay(0);
  }
  return 0;
}

}  // namespace

clsMWheel::~clsMWheel() {
  StopMe();
  if (wheel().active == this) wheel().active = nullptr;
}

void clsMWheel::SetMe4Scrolling(int32_t hwnd) {
  hwnd_ = static_cast<HWND>(hwnd);
  LONG_PTR prev = SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&wheelProc));
  // A window that is already watched keeps its original procedure as the one to restore.
  if (prev && reinterpret_cast<WNDPROC>(prev) != &wheelProc) wheel().previous = reinterpret_cast<WNDPROC>(prev);
  wheel().active = this;
}

void clsMWheel::ReaiseMe4Scrolling() {
  int32_t way = scrollWay_;
  Scrolling.raise(way);
}

void clsMWheel::StopMe() {
  if (hwnd_ == 0) return;
  WheelState& s = wheel();
  if (s.previous && IsWindow(hwnd_) &&
      reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd_, GWLP_WNDPROC)) == &wheelProc) {
    SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s.previous));
  }
  hwnd_ = 0;
}

clsMWheel* clsMWheel::activeInstance() { return wheel().active; }

const host::MemberTable& clsMWheel::memberTable() const {
  static const host::MemberTable table = host::ClassMembers<clsMWheel>("clsMWheel")
                                             .property("ScrollWay", &clsMWheel::ScrollWay, &clsMWheel::setScrollWay)
                                             .method("SetMe4Scrolling", &clsMWheel::SetMe4Scrolling).params({"hwnd"})
                                             .method("ReaiseMe4Scrolling", &clsMWheel::ReaiseMe4Scrolling)
                                             .method("StopMe", &clsMWheel::StopMe)
                                             .event("Scrolling", &clsMWheel::Scrolling, {"Way"})
                                             .build();
  return table;
}

}  // namespace zxp
