// The event loop: clocks, the queue (posted messages, input messages, WM_QUIT, generated WM_PAINT
// and WM_TIMER), timers, processing pending events, advancing virtual time, running an app.
#include "platform/ui/EventLoop.h"

#include <algorithm>
#include <bit>
#include <chrono>

#include "platform/ui/Backend.h"
#include "platform/ui/Hooks.h"
#include "platform/ui/Input.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace zxp::ui {

namespace {

int64_t steadyMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool inRange(UINT msg, UINT fmin, UINT fmax) {
  if (fmin == 0 && fmax == 0) return true;
  return msg >= fmin && msg <= fmax;
}

bool isInputMessage(UINT m) {
  return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK) ||
         m == WM_KEYDOWN || m == WM_KEYUP || m == WM_SYSKEYDOWN || m == WM_SYSKEYUP;
}

}  // namespace

RealClock::RealClock() : origin_(steadyMs()) {}
int64_t RealClock::now() const { return steadyMs() - origin_; }

EventLoop& eventLoop() {
  static EventLoop loop;
  return loop;
}

VirtualClock* virtualClock() {
  Clock& c = eventLoop().clock();
  return c.isVirtual() ? static_cast<VirtualClock*>(&c) : nullptr;
}

void EventLoop::reset(std::shared_ptr<Clock> c) {
  clock_ = std::move(c);
  paintOrder_.clear();
  paintOrderVersion_ = ~uint64_t{0};
  dirtyBits_.clear();
  queue_.clear();
  input_.clear();
  timers_.clear();
  timerSeq_ = 0;
  nextFreeId_ = 0x7FF0;
  hoverDue_ = -1;
  quit_ = false;
  quitPosted_ = false;
  exitCode_ = 0;
  lastMessageTime = 0;
  lastMessagePos = POINT{};
}

void EventLoop::post(const MSG& m) {
  if (isInputMessage(m.message)) input_.push_back(m);
  else queue_.push_back(m);
}

void EventLoop::postQuit(int code) {
  quitPosted_ = true;
  exitCode_ = code;
}

void EventLoop::purgeWindow(HWND hwnd) {
  auto same = [hwnd](const MSG& m) { return m.hwnd == hwnd; };
  queue_.erase(std::remove_if(queue_.begin(), queue_.end(), same), queue_.end());
  input_.erase(std::remove_if(input_.begin(), input_.end(), same), input_.end());
}

bool EventLoop::peek(MSG* out, HWND filter, UINT fmin, UINT fmax, bool remove) {
  checkHover();
  auto matches = [&](const MSG& m) { return (!filter || m.hwnd == filter) && inRange(m.message, fmin, fmax); };
  for (auto* q : {&queue_, &input_}) {
    auto it = std::find_if(q->begin(), q->end(), matches);
    if (it != q->end()) {
      *out = *it;
      if (remove) q->erase(it);
      return true;
    }
    if (q == &queue_ && quitPosted_ && !filter && inRange(WM_QUIT, fmin, fmax)) {
      *out = MSG{};
      out->message = WM_QUIT;
      out->wParam = static_cast<WPARAM>(exitCode_);
      out->time = GetTickCount();
      if (remove) quitPosted_ = false;
      return true;
    }
  }
  if (inRange(WM_PAINT, fmin, fmax) && nextPaint(out, filter)) return true;
  if (inRange(WM_TIMER, fmin, fmax) && nextTimer(out, filter, remove)) return true;
  return false;
}

void EventLoop::noteDirty(const Window* w) {
  // A stale order is rebuilt, with every window's region looked at, before the next search.
  if (paintOrderVersion_ != treeVersion() || w->paintIndex >= paintOrder_.size()) return;
  dirtyBits_[w->paintIndex / 64] |= uint64_t{1} << (w->paintIndex % 64);
}

bool EventLoop::nextPaint(MSG* out, HWND filter) {
  if (paintOrderVersion_ != treeVersion()) {
    // Depth first, parents before children, top-level windows from the top of the z-order.
    paintOrder_.clear();
    for (Window* t : desktop().children) forEachInTree(t, [&](Window* w) {
      w->paintIndex = paintOrder_.size();
      paintOrder_.push_back(w);
    });
    dirtyBits_.assign((paintOrder_.size() + 63) / 64, 0);
    for (const Window* w : paintOrder_)
      if (!w->updateRgn.empty()) dirtyBits_[w->paintIndex / 64] |= uint64_t{1} << (w->paintIndex % 64);
    paintOrderVersion_ = treeVersion();
  }
  Window* found = nullptr;
  for (size_t word = 0; word < dirtyBits_.size() && !found; ++word) {
    for (uint64_t bits = dirtyBits_[word]; bits; bits &= bits - 1) {
      const int bit = std::countr_zero(bits);
      Window* w = paintOrder_[word * 64 + static_cast<size_t>(bit)];
      if (w->updateRgn.empty()) {  // painted or validated since it was noted
        dirtyBits_[word] &= ~(uint64_t{1} << bit);
        continue;
      }
      if (w->destroying || !w->reallyVisible()) continue;
      if (filter && w->hwnd != filter) continue;
      found = w;
      break;
    }
  }
  if (!found) return false;
  *out = MSG{};
  out->hwnd = found->hwnd;
  out->message = WM_PAINT;
  out->time = GetTickCount();
  out->pt = inputState().cursor;
  return true;
}

bool EventLoop::nextTimer(MSG* out, HWND filter, bool remove) {
  int64_t t = now();
  Timer* best = nullptr;
  for (Timer& tm : timers_) {
    if (tm.due > t || (filter && tm.hwnd != filter)) continue;
    if (!best || tm.due < best->due || (tm.due == best->due && tm.seq < best->seq)) best = &tm;
  }
  if (!best) return false;
  *out = MSG{};
  out->hwnd = best->hwnd;
  out->message = WM_TIMER;
  out->wParam = best->id;
  out->lParam = reinterpret_cast<LPARAM>(best->proc);
  out->time = static_cast<DWORD>(t);
  out->pt = inputState().cursor;
  if (remove) {
    // One tick per retrieval: a timer that fell behind does not fire its missed ticks.
    best->due += best->interval;
    if (best->due <= t) best->due = t + best->interval;
  }
  return true;
}

UINT_PTR EventLoop::setTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (hwnd && !windowFromHandle(hwnd)) return 0;
  elapse = std::clamp<UINT>(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  auto existing = std::find_if(timers_.begin(), timers_.end(),
                               [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (!hwnd && (id == 0 || existing == timers_.end())) {
    // A timer without a window gets a fresh identifier.
    do {
      id = nextFreeId_++;
      if (nextFreeId_ == 0) nextFreeId_ = 1;
    } while (std::any_of(timers_.begin(), timers_.end(),
                         [&](const Timer& t) { return t.hwnd == 0 && t.id == id; }));
    existing = timers_.end();
  }
  Timer t{hwnd, id, elapse, proc, now() + elapse, timerSeq_++};
  if (existing != timers_.end()) *existing = t;
  else timers_.push_back(t);
  return hwnd ? (id ? id : 1) : id;
}

bool EventLoop::killTimer(HWND hwnd, UINT_PTR id) {
  auto it = std::find_if(timers_.begin(), timers_.end(),
                         [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == timers_.end()) return false;
  timers_.erase(it);
  return true;
}

void EventLoop::killWindowTimers(HWND hwnd) {
  timers_.erase(std::remove_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.hwnd == hwnd; }),
                timers_.end());
}

bool EventLoop::timerExists(HWND hwnd, UINT_PTR id, TIMERPROC proc) const {
  return std::any_of(timers_.begin(), timers_.end(),
                     [&](const Timer& t) { return t.hwnd == hwnd && t.id == id && t.proc == proc; });
}

int64_t EventLoop::nextTimerDue() const {
  int64_t due = hoverDue_;
  for (const Timer& t : timers_)
    if (due < 0 || t.due < due) due = t.due;
  return due;
}

bool EventLoop::processPendingEvents() {
  if (!pumping_) {
    pumping_ = true;
    if (!backend().pumpInput(0)) PostQuitMessage(0);
    pumping_ = false;
  }
  MSG m;
  size_t guard = 0;
  while (PeekMessageA(&m, 0, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      quit_ = true;
      exitCode_ = static_cast<int>(m.wParam);
      return false;
    }
    TranslateMessage(&m);
    DispatchMessageA(&m);
    if (++guard > 1000000) break;  // a window that keeps posting to itself
  }
  if (backend().presents() && screenDirty()) backend().present(*composeScreen());
  return !quit_;
}

void EventLoop::advance(int64_t ms) {
  ms = std::max<int64_t>(ms, 0);
  if (!clock_->isVirtual()) {
    int64_t deadline = now() + ms;
    for (;;) {
      processPendingEvents();
      int64_t t = now();
      if (t >= deadline || quit_) break;
      int64_t due = nextTimerDue();
      int64_t wait = deadline - t;
      if (due >= 0) wait = std::min(wait, std::max<int64_t>(0, due - t));
      if (!backend().pumpInput(wait)) PostQuitMessage(0);
    }
    return;
  }
  auto* vc = static_cast<VirtualClock*>(clock_.get());
  int64_t target = vc->now() + ms;
  processPendingEvents();
  int stuck = 0;
  for (;;) {
    int64_t due = nextTimerDue();
    if (due < 0 || due > target) break;
    if (due <= vc->now() && ++stuck > 2) break;
    if (due > vc->now()) stuck = 0;
    vc->set(due);
    processPendingEvents();
  }
  vc->set(target);
  processPendingEvents();
}

int EventLoop::run() {
  quit_ = false;
  ++runDepth_;
  struct Leave {
    int& depth;
    ~Leave() { --depth; }
  } leave{runDepth_};
  while (processPendingEvents()) {
    int64_t due = nextTimerDue();
    if (clock_->isVirtual()) {
      if (due < 0) break;  // nothing will ever happen again
      advance(std::max<int64_t>(0, due - now()));
      continue;
    }
    int64_t wait = due < 0 ? -1 : std::max<int64_t>(0, due - now());
    if (!backend().pumpInput(wait)) PostQuitMessage(0);
  }
  return exitCode_;
}

}  // namespace zxp::ui

namespace zxp {

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  return ui::eventLoop().setTimer(hwnd, id, elapse, proc);
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) { return ui::eventLoop().killTimer(hwnd, id) ? TRUE : FALSE; }

DWORD GetTickCount() { return static_cast<DWORD>(ui::eventLoop().now()); }

}  // namespace zxp
