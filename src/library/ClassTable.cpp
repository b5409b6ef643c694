#include "library/ClassTable.h"

#include <memory>

#include "buttons/ZorvaXPButton.h"
#include "buttons/ZorvaXPCheckBox.h"
#include "buttons/ZorvaXPOptionButton.h"

namespace zxp::library {

namespace {

template <class T>
host::ControlClass control(std::string name, uint32_t miscStatus, int toolboxBitmap) {
  return host::ControlClass{std::move(name), kControlMiscBase | miscStatus, toolboxBitmap,
                            [] { return std::make_unique<T>(); }};
}

}  // namespace

const host::ClassRegistry& classes() {
  static const host::ClassRegistry table = [] {
    host::ClassRegistry r;
    r.add(control<buttons::ZorvaXPOptionButton>("ZorvaXPOptionButton", 0, 30008));
    r.add(control<buttons::ZorvaXPButton>("ZorvaXPButton", host::OLEMISC_ACTSLIKEBUTTON | host::OLEMISC_ALIGNABLE, 30011));
    r.add(control<buttons::ZorvaXPCheckBox>("ZorvaXPCheckBox", 0, 30017));
    return r;
  }();
  return table;
}

}  // namespace zxp::library
