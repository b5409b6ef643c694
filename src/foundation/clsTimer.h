// clsTimer: a platform timer (hwnd, TimerID, Interval) that raises Timer() on each tick.
//
// Setting Enabled stores the flag and, when TimerID is not 0, starts (True) or stops (False) the
// timer; Interval, hwnd and TimerID take effect at the next start. With TimerID 0 the timer never
// starts. Module-wide: one slot with the timer object started last; the timer procedure raises
// Timer() on that object, whatever the timer's identifier.
#pragma once

#include <cstdint>

#include "platform/host/Event.h"
#include "platform/host/MemberTable.h"
#include "platform/ui/User.h"

namespace zxp {

class clsTimer : public host::Dispatchable {
 public:
  clsTimer() = default;
  ~clsTimer() override;
  clsTimer(const clsTimer&) = delete;
  clsTimer& operator=(const clsTimer&) = delete;

  bool Enabled() const { return enabled_; }
  void setEnabled(bool New_Enabled);
  int32_t Interval() const { return interval_; }
  void setInterval(int32_t New_Interval) { interval_ = New_Interval; }
  int32_t hwnd() const { return static_cast<int32_t>(hwnd_); }
  void sethwnd(int32_t New_hwnd) { hwnd_ = static_cast<HWND>(New_hwnd); }
  int32_t TimerID() const { return timerId_; }
  void setTimerID(int32_t New_TimerID) { timerId_ = New_TimerID; }

  // Raises Timer().
  void RaiseMe();

  host::Event<> Timer;

  // True while a platform timer of this object runs.
  bool running() const { return running_; }
  static clsTimer* activeInstance();

  const host::MemberTable& memberTable() const override;

 private:
  void start();
  void stop();

  bool enabled_ = false;
  int32_t interval_ = 0;
  HWND hwnd_ = 0;
  int32_t timerId_ = 0;
  bool running_ = false;
  HWND runningHwnd_ = 0;
  UINT_PTR runningId_ = 0;
};

}  // namespace zxp
