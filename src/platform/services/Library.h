// Named system libraries. The platform's own libraries ("Shell32.dll", "User32.dll", ...) are
// part of this process; loading one gives a module handle and counts a reference, freeing it
// drops the reference, and the handle goes away with the last one. Names compare without regard
// to case, with or without the ".dll" extension. Unknown names fail with a zero handle.
#pragma once

#include <string_view>

#include "platform/gfx/Handles.h"
#include "platform/gfx/Types.h"

namespace zxp {

HMODULE LoadLibraryA(const char* lpLibFileName);
BOOL FreeLibrary(HMODULE hLibModule);
// The handle of a loaded library, without counting a reference; 0 when it is not loaded.
HMODULE GetModuleHandleA(const char* lpModuleName);

}  // namespace zxp

namespace zxp::services {

// References currently held on the named library (0 when not loaded).
int libraryRefCount(std::string_view name);

}  // namespace zxp::services
