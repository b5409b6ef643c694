// mkstemps on Windows, where the C runtime has none: fills the six X before the suffix with
// random letters and digits and creates the file exclusively, trying again on a clash.
#pragma once

#ifdef _WIN32
#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <string.h>
#include <sys/stat.h>

#include <random>

inline int mkstemps(char* pattern, int suffixLength) {
  const size_t n = strlen(pattern);
  if (suffixLength < 0 || n < static_cast<size_t>(suffixLength) + 6) {
    errno = EINVAL;
    return -1;
  }
  char* x = pattern + n - static_cast<size_t>(suffixLength) - 6;
  if (strncmp(x, "XXXXXX", 6) != 0) {
    errno = EINVAL;
    return -1;
  }
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    for (int i = 0; i < 6; ++i) x[i] = kLetters[random() % 36];
    const int fd = _open(pattern, _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}
#endif
