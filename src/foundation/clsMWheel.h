// clsMWheel: watches the mouse wheel of one window by replacing its window procedure, and raises
// Scrolling(Way) for exactly one notch with no mouse button or modifier key held: Way 1 forward
// (away from the user), 2 backward. Every other wheel message is swallowed, every other message
// goes on to the window's previous procedure.
//
// Module-wide state: the watched window's previous procedure and one slot with the watcher that
// started last; a second watcher takes the slot over (and StopMe restores only the last saved
// procedure).
#pragma once

#include <cstdint>

#include "platform/host/Event.h"
#include "platform/host/MemberTable.h"
#include "platform/ui/User.h"

namespace zxp {

class clsMWheel : public host::Dispatchable {
 public:
  clsMWheel() = default;
  ~clsMWheel() override;
  clsMWheel(const clsMWheel&) = delete;
  clsMWheel& operator=(const clsMWheel&) = delete;

  // 0 none, 1 wheel forward, 2 wheel backward.
  int32_t ScrollWay() const { return scrollWay_; }
  void setScrollWay(int32_t New_ScrollWay) { scrollWay_ = New_ScrollWay; }

  // Watches hwnd: its procedure becomes the wheel procedure, the previous one is kept.
  void SetMe4Scrolling(int32_t hwnd);
  // Raises Scrolling(ScrollWay).
  void ReaiseMe4Scrolling();
  // Puts the previous procedure back.
  void StopMe();

  host::Event<int32_t> Scrolling;  // (Way)

  HWND watchedWindow() const { return hwnd_; }
  static clsMWheel* activeInstance();

  const host::MemberTable& memberTable() const override;

 private:
  int32_t scrollWay_ = 0;
  HWND hwnd_ = 0;
};

}  // namespace zxp
