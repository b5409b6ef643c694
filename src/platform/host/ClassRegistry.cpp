#include "platform/host/ClassRegistry.h"

#include "platform/host/NoCase.h"

namespace zxp::host {

void ClassRegistry::add(ControlClass c) {
  for (ControlClass& existing : classes_) {
    if (equalsNoCase(existing.name, c.name)) {
      existing = std::move(c);
      return;
    }
  }
  classes_.push_back(std::move(c));
}

const ControlClass* ClassRegistry::find(std::string_view name) const {
  for (const ControlClass& c : classes_) {
    if (equalsNoCase(c.name, name)) return &c;
  }
  return nullptr;
}

}  // namespace zxp::host
