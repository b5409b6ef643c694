#include "foundation/ControlTimer.h"

#include <unordered_map>

#include "platform/ui/User.h"

namespace zxp::foundation {

namespace {
// Running timers by their platform identifier (window-less timers get unique identifiers).
std::unordered_map<uintptr_t, ControlTimer*>& liveTimers() {
  static std::unordered_map<uintptr_t, ControlTimer*> map;
  return map;
}

// The timers whose tick is running, innermost first: a timer destroyed by its owner's handler
// takes itself off, so the tick does not go on to raise its Timer event.
struct TickFrame {
  ControlTimer* timer;
  TickFrame* outer;
};
TickFrame* ticking = nullptr;
}  // namespace

struct ControlTimerProc {
  static void proc(HWND, UINT, UINT_PTR id, DWORD) { ControlTimer::tick(id); }
};

ControlTimer::ControlTimer(const char* name, uint32_t interval) : name_(name), interval_(interval) {}

ControlTimer::~ControlTimer() {
  for (TickFrame* f = ticking; f; f = f->outer) {
    if (f->timer == this) f->timer = nullptr;
  }
  stop();
}

void ControlTimer::setEnabled(bool b) {
  if (b == enabled_ && (!b || running())) return;
  enabled_ = b;
  restart();
}

void ControlTimer::setInterval(uint32_t ms) {
  interval_ = ms;
  restart();
}

void ControlTimer::restart() {
  stop();
  if (!enabled_ || interval_ == 0) return;
  id_ = SetTimer(0, 0, interval_, &ControlTimerProc::proc);
  if (id_) liveTimers()[id_] = this;
}

void ControlTimer::stop() {
  if (!id_) return;
  KillTimer(0, id_);
  auto it = liveTimers().find(id_);
  if (it != liveTimers().end() && it->second == this) liveTimers().erase(it);
  id_ = 0;
}

void ControlTimer::tick(uintptr_t id) {
  auto it = liveTimers().find(id);
  if (it == liveTimers().end()) {
    KillTimer(0, id);  // a timer whose owner is gone
    return;
  }
  ControlTimer* timer = it->second;
  if (timer->ownerTick_) {
    // The frame is taken off again however the handler leaves, an error included: a frame left
    // behind would be a dead stack slot that the next timer destroyed walks into.
    struct Scope {
      TickFrame frame;
      explicit Scope(ControlTimer* t) : frame{t, ticking} { ticking = &frame; }
      ~Scope() { ticking = frame.outer; }
      Scope(const Scope&) = delete;
      Scope& operator=(const Scope&) = delete;
    } scope(timer);
    timer->ownerTick_(timer->owner_);
    if (!scope.frame.timer) return;  // the owner's handler destroyed the timer
  }
  timer->Timer.raise();
}

}  // namespace zxp::foundation
