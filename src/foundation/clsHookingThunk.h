// clsHookingThunk: one thread hook, registered under a form's name, that raises
// zProcessHooking for every hook call with a non-negative code.
//
// Module-wide state (one per process, as the library keeps it): the keyed collection of the
// registered form names (key = form name, compared without regard to case; item = caption),
// created on first use and dropped when it becomes empty, and one slot holding the instance that
// attached last — the hook procedure notifies only that instance. When that instance detaches,
// the slot passes back to the newest instance still attached.
//
// One instance holds at most one hook: attaching under a second form name first detaches the
// first (its hook is removed and its name unregistered). A hook type that the platform cannot
// install for a thread (see SetWindowsHookExA in platform/ui/User.h: the journal, low-level,
// system message-filter, message-filter and shell hooks) leaves hookHandle() at 0 and registers
// no name, so a later attach under that name may succeed with another type.
#pragma once

#include <cstdint>
#include <string>

#include "platform/host/Event.h"
#include "platform/host/MemberTable.h"
#include "platform/ui/User.h"

namespace zxp {

// The platform's hook numbers.
enum class eHookType : int32_t {
  WH_MSGFILTER = -1,
  WH_JOURNALRECORD = 0,
  WH_JOURNALPLAYBACK = 1,
  WH_KEYBOARD = 2,
  WH_GETMESSAGE = 3,
  WH_CALLWNDPROC = 4,
  WH_CBT = 5,
  WH_SYSMSGFILTER = 6,
  WH_MOUSE = 7,
  WH_DEBUG = 9,
  WH_SHELL = 10,
  WH_FOREGROUNDIDLE = 11,
  WH_CALLWNDPROCRET = 12,
  WH_KEYBOARD_LL = 13,
  WH_MOUSE_LL = 14,
};

// Type information for the enumerations above (the interface's names and values).
const host::EnumType& describeEnum(eHookType);

class clsHookingThunk : public host::Dispatchable {
 public:
  clsHookingThunk() = default;
  ~clsHookingThunk() override;
  clsHookingThunk(const clsHookingThunk&) = delete;
  clsHookingThunk& operator=(const clsHookingThunk&) = delete;

  // Registers sFormName and installs a thread hook of lHookType, unless that form name is
  // registered already (then nothing happens). The instance becomes the active one. When the
  // hook cannot be installed, hookHandle() stays 0 and nothing is registered.
  void pvAttachHook(eHookType lHookType, const std::string& sFormCaption, const std::string& sFormName);
  // With the stored type and a hook installed: removes the hook and unregisters the form name.
  void pvDeattachHook(eHookType lHookType);
  // Raises zProcessHooking(type, intCode, wParam, lParam); returns an empty value.
  host::Variant z_Sub_Hooking_Sink(int16_t intCode, WPARAM wParam, LPARAM lParam);

  // (lHookType, intCode, wParam, lParam): lParam is the hook's own (a pointer for the
  // window-procedure and mouse hooks); a handler's change to it stays local.
  host::Event<eHookType, int16_t, WPARAM, LPARAM> zProcessHooking;

  HHOOK hookHandle() const { return hook_; }
  eHookType hookType() const { return type_; }
  const std::string& formName() const { return formName_; }

  // The registered form names (0 when the collection does not exist).
  static size_t registeredFormCount();
  static bool formCollectionExists();
  static clsHookingThunk* activeInstance();

  const host::MemberTable& memberTable() const override;

 private:
  eHookType type_ = eHookType::WH_MSGFILTER;
  HHOOK hook_ = 0;
  std::string formName_;
  std::string formCaption_;
};

}  // namespace zxp
