#include "platform/base/Module.h"

#include <dlfcn.h>

#include <filesystem>

namespace zxp::base {

std::string modulePath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&modulePath), &info) && info.dli_fname) {
    std::error_code ec;
    auto p = std::filesystem::canonical(info.dli_fname, ec);
    return ec ? std::string(info.dli_fname) : p.string();
  }
  return "libzorvaxp.so";
}

}  // namespace zxp::base
