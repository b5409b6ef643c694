// A control's timer: a constituent child that raises Timer every Interval milliseconds while it
// is enabled. Timers are created disabled; the platform's minimum interval (10 ms) applies to
// shorter ones, and an interval of 0 keeps the timer from running. Ticks come from the event
// loop between messages, on the user-interface thread.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/host/Event.h"

namespace zxp::foundation {

class ControlTimer {
 public:
  // `name` is a string of static storage (a literal): every control has timers, and a copy of
  // each name would cost a string apiece.
  explicit ControlTimer(const char* name, uint32_t interval = 0);
  ~ControlTimer();
  ControlTimer(const ControlTimer&) = delete;
  ControlTimer& operator=(const ControlTimer&) = delete;

  std::string_view Name() const { return name_; }
  bool Enabled() const { return enabled_; }
  void setEnabled(bool b);
  uint32_t Interval() const { return interval_; }
  void setInterval(uint32_t ms);
  // Whether the platform timer is running (enabled with a non-zero interval).
  bool running() const { return id_ != 0; }

  // The owner's own handler, called on each tick before the handlers connected to Timer (null
  // for none). It costs no allocation, unlike a connection, so every control's polling timer
  // uses it. The handler may stop or destroy the timer.
  void setOwnerTick(void (*tick)(void* owner), void* owner) {
    ownerTick_ = tick;
    owner_ = owner;
  }

  host::Event<> Timer;

 private:
  void restart();
  void stop();
  static void tick(uintptr_t id);
  friend struct ControlTimerProc;

  const char* name_;
  uint32_t interval_;
  bool enabled_ = false;
  uintptr_t id_ = 0;
  void (*ownerTick_)(void*) = nullptr;
  void* owner_ = nullptr;
};

}  // namespace zxp::foundation
