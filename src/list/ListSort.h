// The list's sort on precomputed keys: the comparison rules of the list control (numeric when
// allowed and both texts are numeric, else the binary order of the UTF-16 texts) and its
// quicksort with the guards described in ListData.h. Kept apart from ListData so that the
// benchmarks and tests can sort the same keys by other means with the same comparison.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace zxp::list {

struct SortKey {
  std::string_view text;
  double number = 0;     // the value of the text when `numeric`
  bool numeric = false;  // numeric sorting allowed and the text is numeric
  bool ascii = false;    // the text is all ASCII, so its bytes order it as its UTF-16 units do
  uint32_t row = 0;      // the 0-based row the key came from
};

// Makes the key of one cell text.
SortKey makeSortKey(std::string_view text, bool allowNumeric, uint32_t row);

// -1, 0 or 1: numbers when both keys are numeric, else the UTF-16 code units of the texts.
int compareSortKeys(const SortKey& a, const SortKey& b);

// Sorts the keys in place, ascending or descending, by the list's quicksort.
void quickSortKeys(std::span<SortKey> keys, bool descending);

// The key of a numeric cell when every cell of the column is numeric: half the size of a SortKey.
struct NumberKey {
  double number = 0;  // never NaN
  uint32_t row = 0;   // the 0-based row the key came from
};

// Sorts numeric keys by value, ascending or descending; keys of equal value keep their order
// (so keys made in row order end in row order among equals, in both directions). Keys of
// distinct values end exactly where quickSortKeys puts them.
void sortNumbers(std::span<NumberKey> keys, bool descending);

}  // namespace zxp::list
