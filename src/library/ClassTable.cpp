#include "library/ClassTable.h"

namespace zxp::library {

const host::ClassRegistry& classes() {
  static const host::ClassRegistry table = [] {
    host::ClassRegistry r;
    return r;
  }();
  return table;
}

}  // namespace zxp::library
