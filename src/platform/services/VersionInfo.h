// The platform's file version information: the version resource that a library or program
// carries, in the platform's own layout, and the reader that finds it in a file.
//
// The resource is the fixed part of the platform's version block: the header (length 92,
// value length 52, binary), the UTF-16 key "VS_VERSION_INFO", padding to four bytes, then the
// fixed file information starting with the signature 0xFEEF04BD and holding the file and
// product versions as two 32-bit words each (major.minor in the high word's halves,
// build.revision in the low word's). All numbers are little-endian. Files of this library carry
// one (see foundation/LibraryVersion.h); the platform's own executables carry the same block
// inside their resources, so the reader finds theirs as well.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace zxp::services {

struct FileVersion {
  uint16_t major = 0;
  uint16_t minor = 0;
  uint16_t build = 0;
  uint16_t revision = 0;

  // "major.minor.build.revision", the file version as dotted parts.
  std::string text() const;
  friend constexpr bool operator==(const FileVersion&, const FileVersion&) = default;
};

constexpr size_t kVersionResourceSize = 92;
using VersionResource = std::array<uint8_t, kVersionResourceSize>;

constexpr VersionResource makeVersionResource(FileVersion file, FileVersion product) {
  VersionResource r{};
  size_t at = 0;
  const auto put16 = [&](uint32_t v) {
    r[at++] = static_cast<uint8_t>(v);
    r[at++] = static_cast<uint8_t>(v >> 8);
  };
  const auto put32 = [&](uint32_t v) {
    put16(v & 0xFFFF);
    put16(v >> 16);
  };
  put16(kVersionResourceSize);  // length of the block
  put16(52);                    // length of the fixed file information
  put16(0);                     // binary value
  for (const char c : std::string_view("VS_VERSION_INFO")) put16(static_cast<uint8_t>(c));
  put16(0);  // the key's terminating NUL
  put16(0);  // padding to a 32-bit boundary
  put32(0xFEEF04BDu);                                // signature
  put32(0x00010000u);                                // structure version 1.0
  put32(uint32_t(file.major) << 16 | file.minor);    // file version, high word
  put32(uint32_t(file.build) << 16 | file.revision); // file version, low word
  put32(uint32_t(product.major) << 16 | product.minor);
  put32(uint32_t(product.build) << 16 | product.revision);
  put32(0x3Fu);       // flags mask
  put32(0);           // flags
  put32(0x00040004u); // operating system: 32-bit Windows NT
  put32(2);           // file type: dynamic-link library
  put32(0);           // subtype
  put32(0);           // date, high
  put32(0);           // date, low
  return r;
}

// The file version of the first version block found in the bytes.
std::optional<FileVersion> findFileVersion(std::span<const uint8_t> bytes);
// The file version of a regular file (native path); empty when the file has none, cannot be
// read, or is not a regular file. The first 256 MiB of a file are searched.
std::optional<FileVersion> readFileVersion(const std::string& nativePath);

}  // namespace zxp::services
