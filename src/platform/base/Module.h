// The module (shared library or program) that holds the library's code, as the loader sees it.
#pragma once

#include <string>

namespace zxp::base {

// The module's file, absolute: libzorvaxp.so (dladdr, Module.cpp) or zorvaxp.dll
// (GetModuleHandleExW, ModuleWin32.cpp); the program's file when the library is linked in.
std::string modulePath();

// The platform's name in a type library's registration (TypeLib\{id}\ver\0\<platform>).
#ifdef _WIN32
constexpr const char* kTypeLibraryPlatform = "win64";
#else
constexpr const char* kTypeLibraryPlatform = "linux64";
#endif

}  // namespace zxp::base
