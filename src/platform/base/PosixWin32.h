// The POSIX calls the platform layer's file, time and process code makes, on Windows: given to
// every source of the Windows build (cmake/Windows.cmake includes it first), so that this code
// runs unchanged on mingw-w64's C runtime. Each stand-in maps onto the platform's own call:
// replacing a file is MoveFileExW with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH, a
// rename that must not replace is MoveFileExW without it, syncing a file is _commit.
//
// Our choices: Windows has no symbolic links in the POSIX sense here, so lstat is stat and
// S_ISLNK is never true; it has no permission bits beyond read-only, so fchmod keeps the file as
// it is; open()'s O_NONBLOCK, O_CLOEXEC and O_NOCTTY have no meaning for files and are 0. Files
// open in binary mode (PosixWin32.cpp sets the C runtime's default).
#pragma once

#ifdef _WIN32

#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <direct.h>

#ifndef O_NONBLOCK
#define O_NONBLOCK 0
#endif
#ifndef O_CLOEXEC
#define O_CLOEXEC 0
#endif
#ifndef O_NOCTTY
#define O_NOCTTY 0
#endif
#ifndef S_ISLNK
#define S_ISLNK(m) 0
#endif
#ifndef EDQUOT
#define EDQUOT 10069 /* the platform's WSAEDQUOT: no C runtime error has this meaning */
#endif
#define AT_FDCWD (-100)
#define RENAME_NOREPLACE 1u

#ifdef __cplusplus
extern "C" {
#endif
/* rename without replacing (the only flag): fails with EEXIST when `to` exists. */
int zxp_renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags);
/* Replaces `to` with `from` (POSIX rename): MoveFileExW with MOVEFILE_REPLACE_EXISTING. */
int zxp_rename_replacing(const char* from, const char* to);
#ifdef __cplusplus
}

inline int lstat(const char* path, struct stat* st) { return stat(path, st); }
inline int fsync(int fd) { return _commit(fd); }
inline int fchmod(int, unsigned) { return 0; }
inline int mkdir(const char* path, unsigned) { return _mkdir(path); }
inline struct tm* localtime_r(const time_t* t, struct tm* out) { return localtime_s(out, t) == 0 ? out : nullptr; }
inline struct tm* gmtime_r(const time_t* t, struct tm* out) { return gmtime_s(out, t) == 0 ? out : nullptr; }
inline int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags) {
  return zxp_renameat2(fromDir, from, toDir, to, flags);
}
inline void* memmem(const void* haystack, size_t n, const void* needle, size_t m) {
  if (m == 0) return const_cast<void*>(haystack);
  const unsigned char* h = static_cast<const unsigned char*>(haystack);
  for (size_t i = 0; m <= n && i <= n - m; ++i)
    if (h[i] == *static_cast<const unsigned char*>(needle) && memcmp(h + i, needle, m) == 0)
      return const_cast<unsigned char*>(h + i);
  return nullptr;
}
// std::filesystem::path::c_str() is a wide string on Windows; these take it as it is.
inline int open(const wchar_t* path, int flags, int mode = 0) { return _wopen(path, flags, mode); }
inline int stat(const wchar_t* path, struct stat* st) {
  struct _stat64 s;
  if (_wstat64(path, &s) != 0) return -1;
  *st = {};
  st->st_mode = s.st_mode;
  st->st_size = static_cast<decltype(st->st_size)>(s.st_size);
  st->st_mtime = static_cast<decltype(st->st_mtime)>(s.st_mtime);
  st->st_atime = static_cast<decltype(st->st_atime)>(s.st_atime);
  st->st_ctime = static_cast<decltype(st->st_ctime)>(s.st_ctime);
  return 0;
}
int zxp_rename_replacing_wide(const char* from, const wchar_t* to);
inline int rename(const char* from, const wchar_t* to) { return zxp_rename_replacing_wide(from, to); }
#endif

#endif  // _WIN32
