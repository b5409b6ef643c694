#include "platform/ui/ModalLoop.h"

#include <algorithm>

#include "platform/ui/Backend.h"
#include "platform/ui/EventLoop.h"

namespace zxp::ui {

namespace {
struct ModalState {
  int depth = 0;
  std::function<void()> driver;
};
ModalState& state() {
  static ModalState s;
  return s;
}
}  // namespace

int modalDepth() { return state().depth; }

void setModalDriver(std::function<void()> driver) { state().driver = std::move(driver); }
bool hasModalDriver() { return static_cast<bool>(state().driver); }
void resetModalLoop() { state() = ModalState{}; }

bool runModalLoop(const std::function<bool()>& done) {
  ModalState& st = state();
  struct Depth {
    int& d;
    explicit Depth(int& x) : d(x) { ++d; }
    ~Depth() { --d; }
  } depth(st.depth);
  EventLoop& loop = eventLoop();
  if (!loop.processPendingEvents()) return false;
  if (done()) return true;
  if (st.driver) {
    // Taken out first: a loop the driver starts in turn (a submenu is no new loop, a drag from
    // a menu is) must not call the same driver again.
    auto driver = std::move(st.driver);
    st.driver = nullptr;
    driver();
    if (done()) return true;
    if (!loop.processPendingEvents()) return false;
    if (done()) return true;
  }
  if (loop.clock().isVirtual()) {
    // Headless: what is queued is dispatched; then nothing else can come.
    for (int guard = 0; guard < 1000 && loop.queued() > 0 && !done(); ++guard)
      if (!loop.processPendingEvents()) return false;
    return done();
  }
  while (!done()) {
    if (!loop.processPendingEvents()) return false;
    if (done()) break;
    int64_t due = loop.nextTimerDue();
    int64_t wait = due < 0 ? 50 : std::max<int64_t>(0, due - loop.now());
    if (!backend().pumpInput(wait)) {
      PostQuitMessage(0);
      return false;
    }
  }
  return true;
}

}  // namespace zxp::ui
