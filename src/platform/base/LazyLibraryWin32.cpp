// LazyLibrary on Windows: the loader's LoadLibraryW and GetProcAddress. A library is named by its
// DLL file name; the loader's own search order applies (the program's folder first).
#include "platform/base/LazyLibrary.h"

#include <windows.h>

#include <string>

namespace zxp::base {

namespace {

std::wstring wide(const char* s) {
  std::wstring w;
  for (; *s; ++s) w += static_cast<wchar_t>(static_cast<unsigned char>(*s));  // DLL names are ASCII
  return w;
}

std::string lastError() {
  const DWORD code = GetLastError();
  char text[256] = {};
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                           sizeof text, nullptr);
  while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r' || text[n - 1] == ' ')) text[--n] = 0;
  return n ? std::string(text) : "error " + std::to_string(code);
}

}  // namespace

bool LazyLibrary::open(std::string* why) {
  if (isOpen()) return true;
  std::lock_guard lock(mutex_);
  if (isOpen()) return true;
  HMODULE handle = LoadLibraryW(wide(soname_).c_str());
  if (!handle) {
    if (why) *why = lastError();
    return false;
  }
  handle_.store(reinterpret_cast<void*>(handle), std::memory_order_release);
  return true;
}

bool LazyLibrary::openIfLoaded() {
  if (isOpen()) return true;
  std::lock_guard lock(mutex_);
  if (isOpen()) return true;
  HMODULE handle = GetModuleHandleW(wide(soname_).c_str());
  if (!handle) return false;
  handle_.store(reinterpret_cast<void*>(handle), std::memory_order_release);
  return true;
}

void* LazyLibrary::symbol(const char* name) {
  std::string why;
  if (!open(&why)) throw LazyLibraryError(std::string("cannot load ") + soname_ + " (needed for " + name + "): " + why);
  auto module = reinterpret_cast<HMODULE>(handle_.load(std::memory_order_acquire));
  void* address = reinterpret_cast<void*>(GetProcAddress(module, name));
  if (!address) throw LazyLibraryError(std::string("no symbol ") + name + " in " + soname_);
  return address;
}

}  // namespace zxp::base
