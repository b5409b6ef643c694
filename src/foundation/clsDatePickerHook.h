// clsDatePickerHook: a thread mouse hook that reports a left-button press anywhere in the
// application (client or non-client area) as MouseDownOnOut(X, Y) with the cursor's screen
// position. The date picker holds it while its calendar is dropped down.
//
// Module-wide: one slot with the instance whose hook is active. The hook procedure answers 0 to
// every call with a non-negative code without passing it on.
#pragma once

#include <cstdint>

#include "platform/host/Event.h"
#include "platform/host/MemberTable.h"
#include "platform/ui/User.h"

namespace zxp {

class clsDatePickerHook : public host::Dispatchable {
 public:
  clsDatePickerHook() = default;
  ~clsDatePickerHook() override;
  clsDatePickerHook(const clsDatePickerHook&) = delete;
  clsDatePickerHook& operator=(const clsDatePickerHook&) = delete;

  // Removes a hook still held, installs a WH_MOUSE hook for the current thread and becomes the
  // active instance. False (and no active instance) when the installation fails.
  bool StartHook();
  // Removes the hook and empties the slot; whether the removal succeeded.
  bool StopHook();
  // Raises MouseDownOnOut with the cursor's screen position (the arguments are not used).
  void RaiseMe(int16_t X, int16_t Y);

  host::Event<int16_t, int16_t> MouseDownOnOut;  // (X, Y), screen coordinates

  HHOOK hookHandle() const { return hook_; }
  static clsDatePickerHook* activeInstance();

  const host::MemberTable& memberTable() const override;

 private:
  HHOOK hook_ = 0;
};

}  // namespace zxp
