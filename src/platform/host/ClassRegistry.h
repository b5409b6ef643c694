// The host's table of control classes: a class name gives a factory and the class's container
// flags. Forms loaded from files create their controls through it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/ControlObject.h"

namespace zxp::host {

struct ControlClass {
  std::string name;
  uint32_t miscStatus = 0;  // OLEMISC_* bits
  int toolboxBitmap = 0;    // the class's toolbox bitmap resource
  std::function<std::unique_ptr<ControlObject>()> create;
};

class ClassRegistry {
 public:
  // Adds or replaces a class.
  void add(ControlClass c);
  // Lookup without regard to case; nullptr when unknown.
  const ControlClass* find(std::string_view name) const;
  const std::vector<ControlClass>& classes() const { return classes_; }

 private:
  std::vector<ControlClass> classes_;
};

}  // namespace zxp::host
