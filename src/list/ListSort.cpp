#include "list/ListSort.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/host/runtime/Numeric.h"
#include "platform/host/runtime/Text.h"

namespace zxp::list {

SortKey makeSortKey(std::string_view text, bool allowNumeric, uint32_t row) {
  SortKey key;
  key.text = text;
  key.row = row;
  key.ascii = std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (allowNumeric) {
    if (auto value = host::parseNumber(text)) {
      key.numeric = true;
      key.number = *value;
    }
  }
  return key;
}

namespace {

// The binary order of the UTF-16 texts. UTF-8 byte order equals code point order, which equals
// UTF-16 order except between supplementary characters and U+E000..U+FFFF; so when the texts
// first differ at two ASCII bytes (or one is a prefix of the other ending in ASCII) the bytes
// decide, and every other case goes to the runtime's full comparison.
int compareTexts(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  const auto* pa = reinterpret_cast<const unsigned char*>(a.data());
  const auto* pb = reinterpret_cast<const unsigned char*>(b.data());
  size_t i = 0;
  while (i < n && pa[i] == pb[i]) ++i;
  if (i < n) {
    if (pa[i] < 0x80 && pb[i] < 0x80) return pa[i] < pb[i] ? -1 : 1;
  } else if (a.size() == b.size()) {
    return 0;
  } else if (n == 0 || pa[n - 1] < 0x80) {
    return a.size() < b.size() ? -1 : 1;
  }
  return host::StrComp(a, b, host::CompareMethod::Binary);
}

// The direction-adjusted comparison: below 0 when `a` sorts before `b`.
inline int ordered(const SortKey& a, const SortKey& b, bool descending) {
  const int c = compareSortKeys(a, b);
  return descending ? -c : c;
}

// The pivot position: (lo + hi) / 2 rounded to the nearest integer, halves to even.
inline size_t middle(size_t lo, size_t hi) {
  const size_t sum = lo + hi;
  size_t mid = sum / 2;
  if ((sum & 1) != 0 && (mid & 1) != 0) ++mid;  // x.5 goes to the even neighbour
  return mid;
}

void heapSortRange(std::span<SortKey> keys, size_t lo, size_t hi, bool descending) {
  // The heap operations only index within the range, so they stay in bounds even when mixed
  // numeric and text comparisons are not transitive.
  auto less = [descending](const SortKey& a, const SortKey& b) { return ordered(a, b, descending) < 0; };
  std::make_heap(keys.begin() + lo, keys.begin() + hi + 1, less);
  std::sort_heap(keys.begin() + lo, keys.begin() + hi + 1, less);
}

void sortRange(std::span<SortKey> keys, size_t lo, size_t hi, bool descending, int depthLeft) {
  while (hi > lo) {
    if (depthLeft-- <= 0) {
      heapSortRange(keys, lo, hi, descending);
      return;
    }
    std::swap(keys[lo], keys[middle(lo, hi)]);
    const SortKey pivot = keys[lo];
    size_t last = lo;
    size_t equal = 0;
    for (size_t i = lo + 1; i <= hi; ++i) {
      const int c = ordered(keys[i], pivot, descending);
      if (c < 0) {
        ++last;
        std::swap(keys[last], keys[i]);
      } else if (c == 0) {
        ++equal;
      }
    }
    std::swap(keys[lo], keys[last]);
    // Rows equal to the pivot sit somewhere right of it; gather them beside it so they are not
    // sorted again. Without equal rows this step is skipped and the order is the plain one.
    size_t rightStart = last + 1;
    if (equal > 0) {
      for (size_t i = last + 1; i <= hi && equal > 0; ++i) {
        if (ordered(keys[i], pivot, descending) == 0) {
          std::swap(keys[rightStart], keys[i]);
          ++rightStart;
          --equal;
        }
      }
    }
    // The left side is sorted first, as in the plain algorithm; the right side continues in
    // this loop, so only the left side uses the stack (and the depth limit bounds it).
    if (last > lo) sortRange(keys, lo, last - 1, descending, depthLeft);
    lo = rightStart;
  }
}

}  // namespace

int compareSortKeys(const SortKey& a, const SortKey& b) {
  if (a.numeric && b.numeric) return a.number < b.number ? -1 : (b.number < a.number ? 1 : 0);
  if (a.ascii && b.ascii) {
    const int c = a.text.compare(b.text);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  return compareTexts(a.text, b.text);
}

void quickSortKeys(std::span<SortKey> keys, bool descending) {
  if (keys.size() < 2) return;
  const int depth = 4 * static_cast<int>(std::bit_width(keys.size())) + 8;
  sortRange(keys, 0, keys.size() - 1, descending, depth);
}

void sortNumbers(std::span<NumberKey> keys, bool descending) {
  const size_t n = keys.size();
  if (n < 2) return;
  // A stable radix sort on the values' bits, turned so that unsigned order is numeric order
  // (-0 counts as 0, as it compares equal to it). Stability keeps equal values in row order; the
  // byte positions that all keys share (most of them, for integers or few distinct values) are
  // skipped.
  struct Item {
    uint64_t bits;
    uint32_t index;  // into a copy of the keys
  };
  std::vector<Item> items(n), spare(n);
  std::vector<std::array<size_t, 256>> counts(8, std::array<size_t, 256>{});
  for (size_t i = 0; i < n; ++i) {
    const double v = keys[i].number == 0 ? 0.0 : keys[i].number;
    uint64_t b = std::bit_cast<uint64_t>(v);
    b = (b >> 63) ? ~b : b | (uint64_t{1} << 63);
    if (descending) b = ~b;
    items[i] = Item{b, static_cast<uint32_t>(i)};
    for (int d = 0; d < 8; ++d) ++counts[d][(b >> (8 * d)) & 0xFF];
  }
  for (int d = 0; d < 8; ++d) {
    auto& count = counts[d];
    if (count[(items[0].bits >> (8 * d)) & 0xFF] == n) continue;  // one value for every key
    size_t start = 0;
    for (size_t& c : count) start += std::exchange(c, start);
    for (const Item& item : items) spare[count[(item.bits >> (8 * d)) & 0xFF]++] = item;
    items.swap(spare);
  }
  const std::vector<NumberKey> original(keys.begin(), keys.end());
  for (size_t k = 0; k < n; ++k) keys[k] = original[items[k].index];
}

}  // namespace zxp::list
