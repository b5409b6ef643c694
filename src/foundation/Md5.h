// The MD5 message digest (RFC 1321), incremental: update() any number of times, then digest().
// This is the digest behind GZorva.zGZorva_MD5; it works on bytes, the caller decides which.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace zxp {

class Md5 {
 public:
  using Digest = std::array<uint8_t, 16>;

  Md5();
  void update(const void* data, size_t size);
  // Pads, appends the message length in bits and returns the four state words byte by byte,
  // lowest byte first. The object is spent afterwards (reset() to use it again).
  Digest digest();
  void reset();

  static Digest of(const void* data, size_t size);
  // 32 hexadecimal digits in digest byte order, uppercase as the library publishes them.
  static std::string hexUpper(const Digest& digest);

 private:
  void blocks(const uint8_t* data, size_t count);

  uint32_t state_[4];
  uint64_t length_ = 0;  // bytes seen so far
  uint8_t buffer_[64];
  size_t buffered_ = 0;
};

}  // namespace zxp
