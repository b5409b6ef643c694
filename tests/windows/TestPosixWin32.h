// The POSIX environment calls the tests make, on Windows (given to every source of
// zorvaxp-tests.exe after src/platform/base/PosixWin32.h).
#pragma once

#ifdef _WIN32
#include <io.h>
#include <stdlib.h>

inline int setenv(const char* name, const char* value, int overwrite) {
  if (!overwrite && getenv(name)) return 0;
  return _putenv_s(name, value) == 0 ? 0 : -1;
}
inline int unsetenv(const char* name) { return _putenv_s(name, "") == 0 ? 0 : -1; }
// std::filesystem::path::c_str() is a wide string on Windows.
inline int chmod(const wchar_t* path, int mode) { return _wchmod(path, mode); }
#endif
