#include "foundation/Md5.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace zxp {

namespace {

constexpr uint32_t kInit[4] = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u};

inline uint32_t load32(const uint8_t* p) {
  // Assembled byte by byte so that it is right on any byte order; compilers emit one load.
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// The four step functions. G adds its two disjoint halves, so the half that does not depend
// on the newest word (b) can start early; the result is the same as RFC 1321's (b&d)|(c&~d).
#define ZXP_MD5_F(b, c, d) ((d) ^ ((b) & ((c) ^ (d))))
#define ZXP_MD5_H(b, c, d) ((b) ^ (c) ^ (d))
#define ZXP_MD5_I(b, c, d) ((c) ^ ((b) | ~(d)))

#define ZXP_MD5_STEP(f, a, b, c, d, x, t, s) \
  a += f(b, c, d) + (x) + (t);               \
  a = std::rotl(a, s) + (b)

#define ZXP_MD5_STEP_G(a, b, c, d, x, t, s) \
  a += ((c) & ~(d)) + (x) + (t);            \
  a += (b) & (d);                           \
  a = std::rotl(a, s) + (b)

}  // namespace

Md5::Md5() { reset(); }

void Md5::reset() {
  std::memcpy(state_, kInit, sizeof state_);
  length_ = 0;
  buffered_ = 0;
}

void Md5::blocks(const uint8_t* data, size_t count) {
  uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
  for (; count > 0; --count, data += 64) {
    uint32_t x[16];
    for (int i = 0; i < 16; ++i) x[i] = load32(data + 4 * i);
    const uint32_t aa = a, bb = b, cc = c, dd = d;

    // Round 1: F, words in order, rotations 7 12 17 22.
    ZXP_MD5_STEP(ZXP_MD5_F, a, b, c, d, x[0], 0xd76aa478u, 7);
    ZXP_MD5_STEP(ZXP_MD5_F, d, a, b, c, x[1], 0xe8c7b756u, 12);
    ZXP_MD5_STEP(ZXP_MD5_F, c, d, a, b, x[2], 0x242070dbu, 17);
    ZXP_MD5_STEP(ZXP_MD5_F, b, c, d, a, x[3], 0xc1bdceeeu, 22);
    ZXP_MD5_STEP(ZXP_MD5_F, a, b, c, d, x[4], 0xf57c0fafu, 7);
    ZXP_MD5_STEP(ZXP_MD5_F, d, a, b, c, x[5], 0x4787c62au, 12);
    ZXP_MD5_STEP(ZXP_MD5_F, c, d, a, b, x[6], 0xa8304613u, 17);
    ZXP_MD5_STEP(ZXP_MD5_F, b, c, d, a, x[7], 0xfd469501u, 22);
    ZXP_MD5_STEP(ZXP_MD5_F, a, b, c, d, x[8], 0x698098d8u, 7);
    ZXP_MD5_STEP(ZXP_MD5_F, d, a, b, c, x[9], 0x8b44f7afu, 12);
    ZXP_MD5_STEP(ZXP_MD5_F, c, d, a, b, x[10], 0xffff5bb1u, 17);
    ZXP_MD5_STEP(ZXP_MD5_F, b, c, d, a, x[11], 0x895cd7beu, 22);
    ZXP_MD5_STEP(ZXP_MD5_F, a, b, c, d, x[12], 0x6b901122u, 7);
    ZXP_MD5_STEP(ZXP_MD5_F, d, a, b, c, x[13], 0xfd987193u, 12);
    ZXP_MD5_STEP(ZXP_MD5_F, c, d, a, b, x[14], 0xa679438eu, 17);
    ZXP_MD5_STEP(ZXP_MD5_F, b, c, d, a, x[15], 0x49b40821u, 22);

    // Round 2: G, words (1 + 5i) mod 16, rotations 5 9 14 20.
    ZXP_MD5_STEP_G(a, b, c, d, x[1], 0xf61e2562u, 5);
    ZXP_MD5_STEP_G(d, a, b, c, x[6], 0xc040b340u, 9);
    ZXP_MD5_STEP_G(c, d, a, b, x[11], 0x265e5a51u, 14);
    ZXP_MD5_STEP_G(b, c, d, a, x[0], 0xe9b6c7aau, 20);
    ZXP_MD5_STEP_G(a, b, c, d, x[5], 0xd62f105du, 5);
    ZXP_MD5_STEP_G(d, a, b, c, x[10], 0x02441453u, 9);
    ZXP_MD5_STEP_G(c, d, a, b, x[15], 0xd8a1e681u, 14);
    ZXP_MD5_STEP_G(b, c, d, a, x[4], 0xe7d3fbc8u, 20);
    ZXP_MD5_STEP_G(a, b, c, d, x[9], 0x21e1cde6u, 5);
    ZXP_MD5_STEP_G(d, a, b, c, x[14], 0xc33707d6u, 9);
    ZXP_MD5_STEP_G(c, d, a, b, x[3], 0xf4d50d87u, 14);
    ZXP_MD5_STEP_G(b, c, d, a, x[8], 0x455a14edu, 20);
    ZXP_MD5_STEP_G(a, b, c, d, x[13], 0xa9e3e905u, 5);
    ZXP_MD5_STEP_G(d, a, b, c, x[2], 0xfcefa3f8u, 9);
    ZXP_MD5_STEP_G(c, d, a, b, x[7], 0x676f02d9u, 14);
    ZXP_MD5_STEP_G(b, c, d, a, x[12], 0x8d2a4c8au, 20);

    // Round 3: H, words (5 + 3i) mod 16, rotations 4 11 16 23.
    ZXP_MD5_STEP(ZXP_MD5_H, a, b, c, d, x[5], 0xfffa3942u, 4);
    ZXP_MD5_STEP(ZXP_MD5_H, d, a, b, c, x[8], 0x8771f681u, 11);
    ZXP_MD5_STEP(ZXP_MD5_H, c, d, a, b, x[11], 0x6d9d6122u, 16);
    ZXP_MD5_STEP(ZXP_MD5_H, b, c, d, a, x[14], 0xfde5380cu, 23);
    ZXP_MD5_STEP(ZXP_MD5_H, a, b, c, d, x[1], 0xa4beea44u, 4);
    ZXP_MD5_STEP(ZXP_MD5_H, d, a, b, c, x[4], 0x4bdecfa9u, 11);
    ZXP_MD5_STEP(ZXP_MD5_H, c, d, a, b, x[7], 0xf6bb4b60u, 16);
    ZXP_MD5_STEP(ZXP_MD5_H, b, c, d, a, x[10], 0xbebfbc70u, 23);
    ZXP_MD5_STEP(ZXP_MD5_H, a, b, c, d, x[13], 0x289b7ec6u, 4);
    ZXP_MD5_STEP(ZXP_MD5_H, d, a, b, c, x[0], 0xeaa127fau, 11);
    ZXP_MD5_STEP(ZXP_MD5_H, c, d, a, b, x[3], 0xd4ef3085u, 16);
    ZXP_MD5_STEP(ZXP_MD5_H, b, c, d, a, x[6], 0x04881d05u, 23);
    ZXP_MD5_STEP(ZXP_MD5_H, a, b, c, d, x[9], 0xd9d4d039u, 4);
    ZXP_MD5_STEP(ZXP_MD5_H, d, a, b, c, x[12], 0xe6db99e5u, 11);
    ZXP_MD5_STEP(ZXP_MD5_H, c, d, a, b, x[15], 0x1fa27cf8u, 16);
    ZXP_MD5_STEP(ZXP_MD5_H, b, c, d, a, x[2], 0xc4ac5665u, 23);

    // Round 4: I, words 7i mod 16, rotations 6 10 15 21.
    ZXP_MD5_STEP(ZXP_MD5_I, a, b, c, d, x[0], 0xf4292244u, 6);
    ZXP_MD5_STEP(ZXP_MD5_I, d, a, b, c, x[7], 0x432aff97u, 10);
    ZXP_MD5_STEP(ZXP_MD5_I, c, d, a, b, x[14], 0xab9423a7u, 15);
    ZXP_MD5_STEP(ZXP_MD5_I, b, c, d, a, x[5], 0xfc93a039u, 21);
    ZXP_MD5_STEP(ZXP_MD5_I, a, b, c, d, x[12], 0x655b59c3u, 6);
    ZXP_MD5_STEP(ZXP_MD5_I, d, a, b, c, x[3], 0x8f0ccc92u, 10);
    ZXP_MD5_STEP(ZXP_MD5_I, c, d, a, b, x[10], 0xffeff47du, 15);
    ZXP_MD5_STEP(ZXP_MD5_I, b, c, d, a, x[1], 0x85845dd1u, 21);
    ZXP_MD5_STEP(ZXP_MD5_I, a, b, c, d, x[8], 0x6fa87e4fu, 6);
    ZXP_MD5_STEP(ZXP_MD5_I, d, a, b, c, x[15], 0xfe2ce6e0u, 10);
    ZXP_MD5_STEP(ZXP_MD5_I, c, d, a, b, x[6], 0xa3014314u, 15);
    ZXP_MD5_STEP(ZXP_MD5_I, b, c, d, a, x[13], 0x4e0811a1u, 21);
    ZXP_MD5_STEP(ZXP_MD5_I, a, b, c, d, x[4], 0xf7537e82u, 6);
    ZXP_MD5_STEP(ZXP_MD5_I, d, a, b, c, x[11], 0xbd3af235u, 10);
    ZXP_MD5_STEP(ZXP_MD5_I, c, d, a, b, x[2], 0x2ad7d2bbu, 15);
    ZXP_MD5_STEP(ZXP_MD5_I, b, c, d, a, x[9], 0xeb86d391u, 21);

    a += aa;
    b += bb;
    c += cc;
    d += dd;
  }
  state_[0] = a;
  state_[1] = b;
  state_[2] = c;
  state_[3] = d;
}

#undef ZXP_MD5_F
#undef ZXP_MD5_H
#undef ZXP_MD5_I
#undef ZXP_MD5_STEP
#undef ZXP_MD5_STEP_G

void Md5::update(const void* data, size_t size) {
  const auto* p = static_cast<const uint8_t*>(data);
  length_ += size;
  if (buffered_ > 0) {
    const size_t take = std::min(size, 64 - buffered_);
    std::memcpy(buffer_ + buffered_, p, take);
    buffered_ += take;
    p += take;
    size -= take;
    if (buffered_ < 64) return;
    blocks(buffer_, 1);
    buffered_ = 0;
  }
  // Whole blocks straight from the caller's memory, the tail into the buffer.
  blocks(p, size / 64);
  p += size / 64 * 64;
  size %= 64;
  std::memcpy(buffer_, p, size);
  buffered_ = size;
}

Md5::Digest Md5::digest() {
  // A single 1 bit, zeros up to 56 bytes mod 64, then the length in bits, little-endian.
  const uint64_t bits = length_ * 8;
  uint8_t pad[72] = {0x80};
  const size_t padLength = (buffered_ < 56 ? 56 : 120) - buffered_;
  for (int i = 0; i < 8; ++i) pad[padLength + i] = static_cast<uint8_t>(bits >> (8 * i));
  update(pad, padLength + 8);

  Digest out;
  for (int w = 0; w < 4; ++w) {
    for (int i = 0; i < 4; ++i) out[4 * w + i] = static_cast<uint8_t>(state_[w] >> (8 * i));
  }
  return out;
}

Md5::Digest Md5::of(const void* data, size_t size) {
  Md5 md5;
  md5.update(data, size);
  return md5.digest();
}

std::string Md5::hexUpper(const Digest& digest) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out(32, '0');
  for (size_t i = 0; i < digest.size(); ++i) {
    out[2 * i] = kDigits[digest[i] >> 4];
    out[2 * i + 1] = kDigits[digest[i] & 0x0F];
  }
  return out;
}

}  // namespace zxp
