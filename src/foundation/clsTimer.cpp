#include "foundation/clsTimer.h"

namespace zxp {

namespace {

clsTimer*& active() {
  static clsTimer* a = nullptr;
  return a;
}

void timerProc(HWND, UINT uMsg, UINT_PTR, DWORD) {
  if (uMsg == WM_TIMER && active()) active()->RaiseMe();
}

}  // namespace

clsTimer::~clsTimer() {
  stop();
  if (active() == this) active() = nullptr;
}

void clsTimer::setEnabled(bool New_Enabled) {
  enabled_ = New_Enabled;
  if (timerId_ == 0) return;
  if (enabled_)
    start();
  else
    stop();
}

void clsTimer::start() {
  // The platform replaces a running timer of the same (hwnd, id); so do we.
  UINT_PTR id = SetTimer(hwnd_, static_cast<UINT_PTR>(static_cast<uint32_t>(timerId_)),
                         static_cast<UINT>(interval_), &timerProc);
  if (id == 0) return;
  running_ = true;
  runningHwnd_ = hwnd_;
  runningId_ = hwnd_ ? static_cast<UINT_PTR>(static_cast<uint32_t>(timerId_)) : id;
  active() = this;
}

void clsTimer::stop() {
  if (!running_) return;
  KillTimer(runningHwnd_, runningId_);
  running_ = false;
}

void clsTimer::RaiseMe() { Timer.raise(); }

clsTimer* clsTimer::activeInstance() { return active(); }

const host::MemberTable& clsTimer::memberTable() const {
  static const host::MemberTable table = host::ClassMembers<clsTimer>("clsTimer")
                                             .property("Enabled", &clsTimer::Enabled, &clsTimer::setEnabled)
                                             .property("Interval", &clsTimer::Interval, &clsTimer::setInterval)
                                             .property("hwnd", &clsTimer::hwnd, &clsTimer::sethwnd)
                                             .property("TimerID", &clsTimer::TimerID, &clsTimer::setTimerID)
                                             .method("RaiseMe", &clsTimer::RaiseMe)
                                             .event("Timer", &clsTimer::Timer)
                                             .build();
  return table;
}

}  // namespace zxp
