#include "platform/host/FormObject.h"

#include <memory>

#include "platform/ui/User.h"

namespace zxp::host {

Dispatchable* FormObject::members() { return hwnd_ && IsWindow(hwnd_) ? form_ : nullptr; }

ObjectRef FormObject::of(Form* form) {
  if (!form) return nullptr;
  return std::make_shared<FormObject>(*form);
}

}  // namespace zxp::host
