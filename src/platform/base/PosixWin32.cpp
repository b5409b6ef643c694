// The stand-ins of PosixWin32.h that need the platform's own calls.
#include "platform/base/PosixWin32.h"

#include <windows.h>

#include <cerrno>
#include <string>

namespace {

// Files open in binary mode, as on POSIX systems: the C runtime's default for open() and fopen()
// without "b" is text mode, which would turn every "\n" written into "\r\n". Set when the
// library is loaded; the default is the process's, so a host that loads zorvaxp.dll gets it too.
const bool kBinaryMode = [] {
  _fmode = _O_BINARY;
  return true;
}();

std::wstring wideFromUtf8(const char* s) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0);
  std::wstring w(n > 0 ? static_cast<size_t>(n) : 1, L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, s, -1, w.data(), n);
  w.resize(w.size() - 1);
  return w;
}

int errnoFromLastError() {
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return ENOENT;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: return EACCES;
    case ERROR_NOT_SAME_DEVICE: return EXDEV;
    case ERROR_DISK_FULL: return ENOSPC;
    default: return EIO;
  }
}

int moveFile(const std::wstring& from, const std::wstring& to, DWORD flags) {
  if (MoveFileExW(from.c_str(), to.c_str(), flags)) return 0;
  errno = errnoFromLastError();
  return -1;
}

}  // namespace

extern "C" int zxp_renameat2(int, const char* from, int, const char* to, unsigned flags) {
  if (flags & ~RENAME_NOREPLACE) {
    errno = EINVAL;
    return -1;
  }
  const DWORD replace = (flags & RENAME_NOREPLACE) ? 0 : MOVEFILE_REPLACE_EXISTING;
  return moveFile(wideFromUtf8(from), wideFromUtf8(to), replace | MOVEFILE_WRITE_THROUGH);
}

extern "C" int zxp_rename_replacing(const char* from, const char* to) {
  return moveFile(wideFromUtf8(from), wideFromUtf8(to), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

int zxp_rename_replacing_wide(const char* from, const wchar_t* to) {
  return moveFile(wideFromUtf8(from), to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}
