#include "platform/base/Module.h"

#include "platform/base/WideText.h"

#include <windows.h>

namespace zxp::base {

std::string modulePath() {
  HMODULE module = nullptr;
  if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&modulePath), &module)) {
    wchar_t path[32768];
    const DWORD n = GetModuleFileNameW(module, path, 32768);
    if (n > 0 && n < 32768) return narrow(std::wstring_view(path, n));
  }
  return "zorvaxp.dll";
}

}  // namespace zxp::base
