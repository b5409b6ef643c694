#include "platform/host/NoCaseIndex.h"

#include <bit>
#include <stdexcept>

namespace zxp::host {

uint32_t NoCaseIndex::hash(std::string_view name) {
  uint32_t h = 2166136261u;
  for (char c : name) {
    h ^= static_cast<unsigned char>(asciiLower(c));
    h *= 16777619u;
  }
  return h;
}

void NoCaseIndex::place(uint64_t slot) {
  const size_t mask = slots_.size() - 1;
  size_t i = static_cast<uint32_t>(slot >> 32) & mask;
  while (slots_[i] != 0) i = (i + 1) & mask;
  slots_[i] = slot;
}

void NoCaseIndex::grow(size_t slots) {
  std::vector<uint64_t> old(slots, 0);
  old.swap(slots_);
  for (uint64_t s : old)
    if (s != 0) place(s);
}

void NoCaseIndex::reserve(size_t n) {
  const size_t want = std::bit_ceil(std::max<size_t>(16, n * 2));
  if (want > slots_.size()) grow(want);
}

void NoCaseIndex::insert(std::string_view name, size_t position) {
  if (position >= 0xFFFFFFFFu) throw std::length_error("name index: too many names");
  if ((count_ + 1) * 2 > slots_.size()) grow(std::max<size_t>(16, slots_.size() * 2));
  place(uint64_t{hash(name)} << 32 | (position + 1));
  ++count_;
}

}  // namespace zxp::host
