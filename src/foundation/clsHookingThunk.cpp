#include "foundation/clsHookingThunk.h"

#include <algorithm>
#include <map>
#include <vector>
#include <memory>

#include "platform/host/NoCase.h"

namespace zxp {

namespace {

struct NoCaseLess {
  bool operator()(const std::string& a, const std::string& b) const {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
      char x = host::asciiLower(a[i]);
      char y = host::asciiLower(b[i]);
      if (x != y) return x < y;
    }
    return a.size() < b.size();
  }
};

using FormNames = std::map<std::string, std::string, NoCaseLess>;

std::unique_ptr<FormNames>& forms() {
  static std::unique_ptr<FormNames> f;
  return f;
}

// The attached instances, oldest first; the last one is the active instance. When the active
// instance detaches, the slot passes to the newest one still attached, so no installed hook of
// this class is ever left without an instance to notify (such a hook would answer 0 without
// passing the call on, starving the hooks installed before it).
std::vector<clsHookingThunk*>& attached() {
  static std::vector<clsHookingThunk*> a;
  return a;
}

clsHookingThunk* active() { return attached().empty() ? nullptr : attached().back(); }

void forget(clsHookingThunk* t) { attached().erase(std::remove(attached().begin(), attached().end(), t), attached().end()); }

HHOOK& activeHook() {
  static HHOOK h = 0;
  return h;
}

LRESULT hookProc(int nCode, WPARAM wParam, LPARAM lParam) {
  int16_t intCode = static_cast<int16_t>(nCode);
  HHOOK next = activeHook();
  if (intCode < 0) return CallNextHookEx(next, nCode, wParam, lParam);
  clsHookingThunk* a = active();
  if (!a) return 0;
  a->z_Sub_Hooking_Sink(intCode, wParam, lParam);
  return CallNextHookEx(next, nCode, wParam, lParam);
}

}  // namespace

clsHookingThunk::~clsHookingThunk() {
  pvDeattachHook(type_);
  // The slot must not outlive its instance.
  forget(this);
}

void clsHookingThunk::pvAttachHook(eHookType lHookType, const std::string& sFormCaption,
                                   const std::string& sFormName) {
  if (forms() && forms()->count(sFormName)) return;
  // One instance holds one hook: attached under another name already, it lets go of that hook
  // and that name first (otherwise the first hook would outlive the instance).
  if (hook_ != 0) pvDeattachHook(type_);
  type_ = lHookType;
  hook_ = SetWindowsHookExA(static_cast<int>(lHookType), &hookProc, 0, GetCurrentThreadId());
  // A type the platform cannot install leaves a zero handle and registers nothing.
  if (hook_ == 0) return;
  if (!forms()) forms() = std::make_unique<FormNames>();
  (*forms())[sFormName] = sFormCaption;
  formName_ = sFormName;
  formCaption_ = sFormCaption;
  activeHook() = hook_;
  forget(this);
  attached().push_back(this);
}

void clsHookingThunk::pvDeattachHook(eHookType lHookType) {
  if (lHookType != type_ || hook_ == 0) return;
  UnhookWindowsHookEx(hook_);
  if (activeHook() == hook_) activeHook() = 0;
  hook_ = 0;
  forget(this);
  if (clsHookingThunk* next = active()) activeHook() = next->hook_;
  if (forms()) {
    forms()->erase(formName_);
    if (forms()->empty()) forms().reset();
  }
  formName_.clear();
  formCaption_.clear();
}

host::Variant clsHookingThunk::z_Sub_Hooking_Sink(int16_t intCode, WPARAM wParam, LPARAM lParam) {
  eHookType type = type_;
  LPARAM localLParam = lParam;
  zProcessHooking.raise(type, intCode, wParam, localLParam);
  return host::Variant();
}

size_t clsHookingThunk::registeredFormCount() { return forms() ? forms()->size() : 0; }
bool clsHookingThunk::formCollectionExists() { return forms() != nullptr; }
clsHookingThunk* clsHookingThunk::activeInstance() { return active(); }

const host::MemberTable& clsHookingThunk::memberTable() const {
  static const host::MemberTable table = host::ClassMembers<clsHookingThunk>("clsHookingThunk")
                                             .method("pvAttachHook", &clsHookingThunk::pvAttachHook).params({"lHookType", "sFormCaption", "sFormName"})
                                             .method("pvDeattachHook", &clsHookingThunk::pvDeattachHook).params({"lHookType"})
                                             .method("z_Sub_Hooking_Sink", &clsHookingThunk::z_Sub_Hooking_Sink).params({"intCode", "wParam", "lParam"})
                                             .event("zProcessHooking", &clsHookingThunk::zProcessHooking,
                                                    {"lHookType", "intCode", "wParam", "lParam"})
                                             .build();
  return table;
}

// ---- Enumerations as type information shows them ----

const host::EnumType& describeEnum(eHookType) {
  static const host::EnumType t{"eHookType", {{"WH_MSGFILTER", -1}, {"WH_JOURNALRECORD", 0}, {"WH_JOURNALPLAYBACK", 1}, {"WH_KEYBOARD", 2}, {"WH_GETMESSAGE", 3}, {"WH_CALLWNDPROC", 4}, {"WH_CBT", 5}, {"WH_SYSMSGFILTER", 6}, {"WH_MOUSE", 7}, {"WH_DEBUG", 9}, {"WH_SHELL", 10}, {"WH_FOREGROUNDIDLE", 11}, {"WH_CALLWNDPROCRET", 12}, {"WH_KEYBOARD_LL", 13}, {"WH_MOUSE_LL", 14}}};
  return t;
}

}  // namespace zxp
