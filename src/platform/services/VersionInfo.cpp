#include "platform/services/VersionInfo.h"

#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace zxp::services {

namespace {

constexpr size_t kKeyOffset = 6;      // the key follows the three header words
constexpr size_t kKeyBytes = 32;      // "VS_VERSION_INFO" and its NUL in UTF-16
constexpr size_t kValueOffset = 40;   // the fixed information, after the padding
constexpr size_t kScanLimit = 256u << 20;

constexpr std::array<uint8_t, kKeyBytes> kKey = [] {
  std::array<uint8_t, kKeyBytes> key{};
  const char text[] = "VS_VERSION_INFO";
  for (size_t i = 0; i < 15; ++i) key[2 * i] = static_cast<uint8_t>(text[i]);
  return key;
}();

uint16_t read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t read32(const uint8_t* p) { return read16(p) | uint32_t(read16(p + 2)) << 16; }

}  // namespace

std::string FileVersion::text() const {
  return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(build) + "." +
         std::to_string(revision);
}

std::optional<FileVersion> findFileVersion(std::span<const uint8_t> bytes) {
  const uint8_t* const begin = bytes.data();
  const uint8_t* const end = begin + bytes.size();
  const uint8_t* at = begin;
  while (end - at >= static_cast<ptrdiff_t>(kKeyBytes)) {
    const auto* key = static_cast<const uint8_t*>(memmem(at, end - at, kKey.data(), kKey.size()));
    if (key == nullptr) break;
    at = key + 1;
    if (key - begin < static_cast<ptrdiff_t>(kKeyOffset)) continue;
    const uint8_t* block = key - kKeyOffset;
    if (end - block < static_cast<ptrdiff_t>(kVersionResourceSize)) continue;
    // A real block: fixed information of 52 bytes, binary, with its signature.
    if (read16(block + 2) != 52 || read16(block + 4) != 0) continue;
    const uint8_t* value = block + kValueOffset;
    if (read32(value) != 0xFEEF04BDu) continue;
    const uint32_t ms = read32(value + 8), ls = read32(value + 12);
    return FileVersion{static_cast<uint16_t>(ms >> 16), static_cast<uint16_t>(ms),
                       static_cast<uint16_t>(ls >> 16), static_cast<uint16_t>(ls)};
  }
  return std::nullopt;
}

std::optional<FileVersion> readFileVersion(const std::string& nativePath) {
  const int fd = open(nativePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return std::nullopt;
  struct stat st;
  std::optional<FileVersion> version;
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    // Read in chunks; each chunk starts with the tail of the previous one, so a block that
    // straddles two reads is seen whole.
    constexpr size_t kChunk = 1u << 20;
    constexpr size_t kOverlap = kVersionResourceSize - 1;
    std::vector<uint8_t> buffer(kChunk + kOverlap);
    size_t kept = 0, total = 0;
    while (!version && total < kScanLimit) {
      const ssize_t got = read(fd, buffer.data() + kept, kChunk);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      total += static_cast<size_t>(got);
      const size_t filled = kept + static_cast<size_t>(got);
      version = findFileVersion(std::span<const uint8_t>(buffer.data(), filled));
      kept = std::min(kOverlap, filled);
      memmove(buffer.data(), buffer.data() + filled - kept, kept);
    }
  }
  close(fd);
  return version;
}

}  // namespace zxp::services
