// An index from names, compared without regard to case (ASCII, the host's rule), to positions in
// a list the caller keeps: a form file's property keys, a tab's child identifiers.
//
// The index holds no names of its own. It is one flat table probed linearly; each slot holds a
// position + 1 (0: empty) and 32 bits of its name's hash, so a lookup that misses rarely reads a
// name, and growing the table rehashes from the slots alone. Against a node-based hash map of
// strings this keeps a hundred thousand names in a few hundred kilobytes of one block, so that a
// lookup costs about the same for a thousand names as for a hundred thousand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/host/NoCase.h"

namespace zxp::host {

class NoCaseIndex {
 public:
  static constexpr size_t npos = static_cast<size_t>(-1);

  // The position of the name, keyAt(position) giving the name held there; npos when absent.
  template <class KeyAt>
  size_t find(std::string_view name, KeyAt&& keyAt) const {
    if (slots_.empty()) return npos;
    const uint32_t h = hash(name);
    const size_t mask = slots_.size() - 1;
    for (size_t i = h & mask;; i = (i + 1) & mask) {
      const uint64_t s = slots_[i];
      if (s == 0) return npos;
      if (static_cast<uint32_t>(s >> 32) == h) {
        const size_t pos = static_cast<size_t>(s & 0xFFFFFFFFu) - 1;
        if (equalsNoCase(keyAt(pos), name)) return pos;
      }
    }
  }
  // Records that `position` holds `name`; the caller has checked the name is not there yet.
  // Positions are below 2^32 - 1.
  void insert(std::string_view name, size_t position);
  // Room for n names without growing.
  void reserve(size_t n);
  void clear() {
    slots_.clear();
    count_ = 0;
  }
  size_t size() const { return count_; }

  // The hash every spelling of a name shares: FNV-1a over its bytes folded to lower case.
  static uint32_t hash(std::string_view name);

 private:
  void place(uint64_t slot);
  void grow(size_t slots);
  std::vector<uint64_t> slots_;  // a power of two in size, at most half full
  size_t count_ = 0;
};

}  // namespace zxp::host
