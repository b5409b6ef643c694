// The event loop: the clock all time comes from, the posted-message queue, timers, and the calls
// that process pending events.
//
// Tests run on a VirtualClock, which moves only when the test advances it: advance() steps the
// clock from due timer to due timer, firing each in due order and processing what it posts, and
// never sleeps. Apps run on a RealClock, through a platform backend (Backend.h) that supplies
// real input and shows the screen.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "platform/ui/User.h"

namespace zxp::ui {

struct Window;

// Milliseconds on a monotonic time line.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual int64_t now() const = 0;
  // True for a clock that only moves when told (no waiting, ever).
  virtual bool isVirtual() const = 0;
};

class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(int64_t start = 0) : now_(start) {}
  int64_t now() const override { return now_; }
  bool isVirtual() const override { return true; }
  // Only the event loop moves the clock, so that timers fire on the way.
  void set(int64_t t) { if (t > now_) now_ = t; }

 private:
  int64_t now_;
};

class RealClock final : public Clock {
 public:
  RealClock();
  int64_t now() const override;
  bool isVirtual() const override { return false; }

 private:
  int64_t origin_;
};

struct Timer {
  HWND hwnd = 0;
  UINT_PTR id = 0;
  UINT interval = 0;
  TIMERPROC proc = nullptr;
  int64_t due = 0;
  uint64_t seq = 0;  // creation order, breaks ties between timers due at the same time
};

class EventLoop {
 public:
  Clock& clock() { return *clock_; }
  void setClock(std::shared_ptr<Clock> c) { clock_ = std::move(c); }
  int64_t now() const { return clock_->now(); }

  // Dispatches everything that is pending now: backend input, posted messages, paints, due
  // timers, and what they post in turn. Returns false once WM_QUIT was seen.
  bool processPendingEvents();
  // Virtual clock: moves time forward by ms, firing due timers in order at their own times.
  // Real clock: processes pending events, waiting through the backend up to ms.
  void advance(int64_t ms);
  // Runs until WM_QUIT (apps); returns the exit code.
  int run();
  // True while run() is running (a caller inside it can end it with PostQuitMessage).
  bool running() const { return runDepth_ > 0; }
  bool quitRequested() const { return quit_; }
  int exitCode() const { return exitCode_; }

  // ---- The queue ----
  // Posted messages come out before input messages (mouse, keys), as on the platform.
  void post(const MSG& m);
  void postQuit(int code);
  // Takes the next message matching the filter (posted/input, then WM_PAINT, then WM_TIMER).
  bool peek(MSG* out, HWND filter, UINT fmin, UINT fmax, bool remove);
  // Drops queued messages of a destroyed window.
  void purgeWindow(HWND hwnd);
  size_t queued() const { return queue_.size() + input_.size(); }

  // ---- Timers ----
  UINT_PTR setTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
  bool killTimer(HWND hwnd, UINT_PTR id);
  void killWindowTimers(HWND hwnd);
  bool timerExists(HWND hwnd, UINT_PTR id, TIMERPROC proc) const;
  // The earliest due time, or -1 when no timer runs.
  int64_t nextTimerDue() const;
  size_t timerCount() const { return timers_.size(); }

  // ---- Deadlines the input system asks for (mouse hover) ----
  void setHoverDeadline(int64_t t) { hoverDue_ = t; }
  int64_t hoverDeadline() const { return hoverDue_; }

  DWORD lastMessageTime = 0;
  POINT lastMessagePos;

  void reset(std::shared_ptr<Clock> c);

  // A window's update region became non-empty: the paint search must look at it again.
  void noteDirty(const Window* w);

 private:
  bool nextPaint(MSG* out, HWND filter);
  bool nextTimer(MSG* out, HWND filter, bool remove);

  std::shared_ptr<Clock> clock_ = std::make_shared<VirtualClock>();
  std::deque<MSG> queue_;  // posted
  std::deque<MSG> input_;  // mouse and key messages
  bool pumping_ = false;
  std::vector<Timer> timers_;
  uint64_t timerSeq_ = 0;
  UINT_PTR nextFreeId_ = 0x7FF0;
  int64_t hoverDue_ = -1;
  bool quit_ = false;
  int exitCode_ = 0;
  bool quitPosted_ = false;
  int runDepth_ = 0;
  // Windows in the order paints are handed out (depth first, parents before children, top-level
  // windows from the top of the z-order), rebuilt when the tree changes, and one bit per window
  // that may have an update region (set by noteDirty, cleared when the search finds the region
  // empty). The search visits only those, so a window that stays dirty while hidden does not
  // make every later paint walk the windows after it.
  std::vector<Window*> paintOrder_;
  uint64_t paintOrderVersion_ = ~uint64_t{0};
  std::vector<uint64_t> dirtyBits_;
};

EventLoop& eventLoop();

// The virtual clock in use, or nullptr when the loop runs on a real clock.
VirtualClock* virtualClock();

// Puts the whole window system back to its start: destroys every window, unregisters classes,
// removes hooks and timers, clears input state, and installs a fresh virtual clock at t = 0 and
// the headless backend. Tests call it before each case.
void resetWindowSystem();

}  // namespace zxp::ui
