#include "platform/base/LazyLibrary.h"

#include <dlfcn.h>

namespace zxp::base {

bool LazyLibrary::open(std::string* why) {
  if (isOpen()) return true;
  std::lock_guard<std::mutex> lock(mutex_);
  if (isOpen()) return true;
  void* handle = dlopen(soname_, RTLD_LAZY | RTLD_LOCAL);
  if (!handle) {
    if (why) {
      const char* reason = dlerror();
      *why = reason ? reason : "unknown reason";
    }
    return false;
  }
  handle_.store(handle, std::memory_order_release);
  return true;
}

bool LazyLibrary::openIfLoaded() {
  if (isOpen()) return true;
  std::lock_guard<std::mutex> lock(mutex_);
  if (isOpen()) return true;
  void* handle = dlopen(soname_, RTLD_LAZY | RTLD_LOCAL | RTLD_NOLOAD);
  if (!handle) return false;
  handle_.store(handle, std::memory_order_release);
  return true;
}

void* LazyLibrary::symbol(const char* name) {
  std::string why;
  if (!open(&why)) throw LazyLibraryError(std::string("cannot load ") + soname_ + " (needed for " + name + "): " + why);
  dlerror();
  void* address = dlsym(handle_.load(std::memory_order_acquire), name);
  if (!address) throw LazyLibraryError(std::string("no symbol ") + name + " in " + soname_);
  return address;
}

}  // namespace zxp::base
