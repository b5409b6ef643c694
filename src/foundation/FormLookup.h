// Finding another control of the same form by name: how a control reaches the one a property of
// its names, such as the image list whose name the list control's ImageList holds.
#pragma once

#include <string_view>

#include "foundation/ControlBase.h"
#include "platform/host/Form.h"

namespace zxp::foundation {

// The control named `name` (and `index`, for control arrays) on the form that holds `self`;
// nullptr when absent or when `self` is not on a form.
inline host::Extender* controlOnForm(const ControlBase& self, std::string_view name, int16_t index = -1) {
  const host::Extender* e = self.extender();
  if (!e || !e->Parent()) return nullptr;
  return e->Parent()->control(name, index);
}

// The same, when it is a T; nullptr for a control of another class.
template <class T>
T* controlOnFormAs(const ControlBase& self, std::string_view name, int16_t index = -1) {
  host::Extender* e = controlOnForm(self, name, index);
  return e ? dynamic_cast<T*>(&e->object()) : nullptr;
}

}  // namespace zxp::foundation
