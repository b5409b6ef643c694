// Sorting the list: the numeric/text comparison rules, the quicksort's exact order compared with
// a direct transcription of the plain algorithm, columns of numbers with equal values, and the
// guards against equal keys and deep recursion.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "list/ListData.h"
#include "list/ListSort.h"
#include "platform/host/runtime/Numeric.h"
#include "platform/host/runtime/Text.h"

namespace zxp::list {
namespace {

// The plain algorithm, transcribed directly: recursive, Lomuto partition around the middle row.
struct Plain {
  bool numeric;
  bool descending;
  int compare(const std::string& a, const std::string& b) const {
    if (numeric && host::IsNumeric(a) && host::IsNumeric(b)) {
      const double x = *host::parseNumber(a), y = *host::parseNumber(b);
      return x < y ? -1 : (x > y ? 1 : 0);
    }
    return host::StrComp(a, b, host::CompareMethod::Binary);
  }
  void sort(std::vector<std::string>& v, long lo, long hi) const {
    if (hi <= lo) return;
    const long mid = static_cast<long>(std::nearbyint((lo + hi) / 2.0));  // FE_TONEAREST: halves to even
    std::swap(v[lo], v[mid]);
    const std::string pivot = v[lo];
    long last = lo;
    for (long i = lo + 1; i <= hi; ++i) {
      const int c = compare(v[i], pivot);
      if (descending ? c > 0 : c < 0) std::swap(v[++last], v[i]);
    }
    std::swap(v[lo], v[last]);
    sort(v, lo, last - 1);
    sort(v, last + 1, hi);
  }
};

std::vector<std::string> column(const ListData& d) {
  std::vector<std::string> v;
  for (int32_t i = 1; i <= d.ListCount(); ++i) v.push_back(d.TextMatrix(i, 1));
  return v;
}

ListData listOf(const std::vector<std::string>& texts) {
  ListData d;
  d.LockUpdate = true;
  for (const auto& t : texts) d.AddItem(t);
  return d;
}

TEST(ListSortRules, NumbersSortAsNumbersOnlyWhenAllowed) {
  ListData d = listOf({"10", "9", "100"});
  d.ResortCol(1, LSortMethod::LSAcesnding);
  EXPECT_EQ(column(d), (std::vector<std::string>{"9", "10", "100"}));
  d.AllowToSortAsNumeric = false;
  d.ResortCol(1, LSortMethod::LSAcesnding);
  EXPECT_EQ(column(d), (std::vector<std::string>{"10", "100", "9"}));
  d.AllowToSortAsNumeric = true;
  d.ResortCol(1, LSortMethod::LSDescending);
  EXPECT_EQ(column(d), (std::vector<std::string>{"100", "10", "9"}));
}

TEST(ListSortRules, TextOrderIsCaseSensitiveUtf16) {
  // Binary UTF-16 order: "B" < "a"; U+FF21 (a BMP letter) sorts after a character beyond the
  // BMP (a surrogate pair starts with 0xD8..), though its code point is smaller.
  ListData d = listOf({"a", "B", "\xEF\xBC\xA1", "\xF0\x9F\x98\x80", "", "ab"});
  d.ResortCol(1);
  EXPECT_EQ(column(d), (std::vector<std::string>{"", "B", "a", "ab", "\xF0\x9F\x98\x80", "\xEF\xBC\xA1"}));
  SortKey x = makeSortKey("1e3", true, 0), y = makeSortKey("999", true, 1), z = makeSortKey("x", true, 2);
  EXPECT_GT(compareSortKeys(x, y), 0);  // both numeric: 1000 > 999
  EXPECT_LT(compareSortKeys(x, z), 0);  // text: "1" < "x"
}

TEST(ListSortRules, RowsMoveWithTheirObjectsAndFlagsStayWithPositions) {
  ListData d;
  d.AddNewColumn("k", 50);
  d.AddNewColumn("v", 50);
  d.AddItem("3\tc");
  d.AddItem("1\ta");
  d.AddItem("2\tb");
  auto rowA = d.Item(2);
  d.ResortCol(1);
  EXPECT_EQ(std::tuple(d.TextMatrix(1, 2), d.TextMatrix(3, 2), d.Item(1)), std::tuple("a", "c", rowA));
  EXPECT_TRUE(d.Selected(3));  // the flag of position 3 did not move with row "2"
}

std::vector<std::string> randomTexts(std::mt19937& rng, size_t n, bool numbers) {
  std::vector<std::string> v;
  std::uniform_int_distribution<int> len(0, 6), ch(0, 61), num(-100000, 100000);
  while (v.size() < n) {
    std::string s;
    if (numbers) {
      s = std::to_string(num(rng));
      if (num(rng) % 3 == 0) s += ".5";
    } else {
      const int l = len(rng);
      for (int i = 0; i < l; ++i) {
        const int c = ch(rng);
        s += static_cast<char>(c < 10 ? '0' + c : c < 36 ? 'a' + c - 10 : 'A' + c - 36);
      }
    }
    v.push_back(s);
  }
  return v;
}

TEST(ListSortDifferential, DistinctKeysGiveExactlyThePlainOrder) {
  std::mt19937 rng(26);
  for (int round = 0; round < 60; ++round) {
    const size_t n = 1 + static_cast<size_t>(round) * 7;
    std::vector<std::string> texts = randomTexts(rng, n * 2, round % 3 == 0);
    if (round % 3 == 2) {  // numbers and words mixed
      auto more = randomTexts(rng, n, true);
      texts.insert(texts.end(), more.begin(), more.end());
    }
    // Distinct keys only: no text repeats, and no two numeric texts have the same value.
    std::vector<std::string> distinct;
    std::vector<double> values;
    for (const auto& t : texts) {
      if (std::find(distinct.begin(), distinct.end(), t) != distinct.end()) continue;
      if (auto v = host::parseNumber(t)) {
        if (std::find(values.begin(), values.end(), *v) != values.end()) continue;
        values.push_back(*v);
      }
      distinct.push_back(t);
      if (distinct.size() == n) break;
    }
    for (bool numeric : {true, false}) {
      for (bool descending : {false, true}) {
        std::vector<std::string> expected = distinct;
        Plain{numeric, descending}.sort(expected, 0, static_cast<long>(expected.size()) - 1);
        ListData d = listOf(distinct);
        d.AllowToSortAsNumeric = numeric;
        d.ResortCol(1, descending ? LSortMethod::LSDescending : LSortMethod::LSAcesnding);
        ASSERT_EQ(column(d), expected) << "round " << round << " numeric " << numeric << " desc " << descending;
      }
    }
  }
}

// A column of numbers sorts by value, and rows of equal value ("1", "1.0", "1.00"; "-0" and
// "0") keep their order in both directions, whatever the signs and magnitudes; a single word in
// the column sends it back to the text-aware keys.
TEST(ListSortNumbers, EqualValuesKeepTheirRowOrderInBothDirections) {
  std::mt19937 rng(48);
  const char* forms[] = {"", ".0", ".00"};
  const char* extremes[] = {"-0", "0", "-2.5", "2.5", "1E+300", "-1E+300", "1E-300", "-1E-300", "4503599627370497"};
  for (size_t n : {2u, 3u, 17u, 1000u, 20000u}) {
    std::vector<std::string> texts;
    for (size_t i = 0; i < n; ++i) {
      const int pick = static_cast<int>(rng() % 4);
      texts.push_back(pick == 0   ? extremes[rng() % 9]
                      : pick == 1 ? "-" + std::to_string(rng() % 12) + forms[rng() % 3]
                                  : std::to_string(rng() % 12) + forms[rng() % 3]);
      ASSERT_TRUE(host::parseNumber(texts.back())) << texts.back();
    }
    for (bool descending : {false, true}) {
      std::vector<std::string> expected = texts;
      std::stable_sort(expected.begin(), expected.end(), [descending](const std::string& a, const std::string& b) {
        const double x = *host::parseNumber(a), y = *host::parseNumber(b);
        return descending ? y < x : x < y;
      });
      ListData d = listOf(texts);
      d.ResortCol(1, descending ? LSortMethod::LSDescending : LSortMethod::LSAcesnding);
      ASSERT_EQ(column(d), expected) << n << " " << descending;
    }
  }
  ListData mixed = listOf({"10", "9", "x", "10.0"});
  mixed.ResortCol(1);
  EXPECT_EQ(column(mixed), (std::vector<std::string>{"9", "10", "10.0", "x"}));
}

// Inputs that break a plain quicksort: few distinct values over many rows (some 10^10
// comparisons), already sorted or reversed runs and all-equal keys (deep recursion), and mixed
// keys without a total order ("9" < "10" numerically, "10" < "1a" < "9" as texts). Each must
// finish with every row present once, sorted wherever an order exists.
TEST(ListSortGuards, HostileInputsFinishWithEveryRowOnceAndSorted) {
  std::mt19937 rng(3);
  const char* pool[] = {"9", "10", "1a", "x", "100", "1b", "08"};
  const std::vector<std::function<std::string(int)>> patterns = {
      [&](int) { return std::to_string(rng() % 3); }, [](int i) { return std::to_string(i); },
      [](int i) { return std::to_string(300000 - i); }, [](int) { return std::string("same"); },
      [&](int) { return pool[rng() % 7] + std::to_string(rng() % 4 == 0 ? rng() % 10 : 0); }};
  for (size_t pattern = 0; pattern < patterns.size(); ++pattern) {
    SCOPED_TRACE(pattern);
    // The keys view their texts: the texts are all made before the first key.
    std::vector<std::string> texts;
    for (int i = 0; i < 200000; ++i) texts.push_back(patterns[pattern](i));
    std::vector<SortKey> keys;
    for (size_t i = 0; i < texts.size(); ++i) keys.push_back(makeSortKey(texts[i], true, static_cast<uint32_t>(i)));
    for (bool descending : {false, true}) {
      quickSortKeys(keys, descending);
      std::vector<bool> seen(keys.size());
      for (const auto& k : keys) {
        ASSERT_LT(k.row, seen.size());
        ASSERT_FALSE(seen[k.row]);
        seen[k.row] = true;
      }
      if (pattern == patterns.size() - 1) continue;  // intransitive: no order to check
      for (size_t i = 1; i < keys.size(); ++i)
        ASSERT_LE(compareSortKeys(keys[i - 1], keys[i]) * (descending ? -1 : 1), 0) << i;
    }
  }
}

}  // namespace
}  // namespace zxp::list
