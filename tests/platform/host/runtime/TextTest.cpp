// Text helpers: case conversion, trimming, comparison and splitting into 1-based lists.
#include "platform/host/runtime/Text.h"

#include <gtest/gtest.h>

#include "platform/base/HostError.h"

namespace zxp::host {
namespace {

struct CaseRow {
  const char* text;
  const char* upper;
  const char* lower;
};

TEST(RuntimeText, UpperAndLowerCase) {
  const CaseRow rows[] = {
      {"abc XYZ 123", "ABC XYZ 123", "abc xyz 123"},
      {"\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89", "\xC3\xA9t\xC3\xA9"},       // été / ÉTÉ
      {"\xC3\xBF \xC5\xA1 \xC5\x93", "\xC5\xB8 \xC5\xA0 \xC5\x92", "\xC3\xBF \xC5\xA1 \xC5\x93"},  // ÿ š œ
      {"\xC3\x9F", "\xC3\x9F", "\xC3\x9F"},                                   // ß has no single capital
      {"\xC3\xB7\xC3\x97", "\xC3\xB7\xC3\x97", "\xC3\xB7\xC3\x97"},           // ÷ × are not letters
      {"\xCE\xB1", "\xCE\xB1", "\xCE\xB1"},                                   // α: outside the code page
      {"a\xFF" "b", "A\xFF" "B", "a\xFF" "b"},                                // invalid byte kept
      {"", "", ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.text);
    EXPECT_EQ(UCase(r.text), r.upper);
    EXPECT_EQ(LCase(r.upper), LCase(r.text));
    EXPECT_EQ(LCase(r.text), r.lower);
  }
}

TEST(RuntimeText, TrimRemovesSpacesOnly) {
  const std::pair<const char*, const char*> rows[] = {
      {"  a b  ", "a b"}, {"", ""}, {"    ", ""}, {"\ta\t", "\ta\t"}, {"x", "x"}};
  for (const auto& [in, out] : rows) EXPECT_EQ(Trim(in), out) << in;
  EXPECT_EQ(std::tuple(LTrim("  a  "), RTrim("  a  ")), std::tuple("a  ", "  a"));
}

struct CompareRow {
  const char* a;
  const char* b;
  CompareMethod method;
  int expected;
};

TEST(RuntimeText, StrCompBinaryAndText) {
  using M = CompareMethod;
  const CompareRow rows[] = {
      {"a", "b", M::Binary, -1},       {"b", "a", M::Binary, 1},      {"abc", "abc", M::Binary, 0},
      {"B", "a", M::Binary, -1},       {"B", "a", M::Text, 1},        {"abc", "ABC", M::Binary, 1},
      {"abc", "ABC", M::Text, 0},      {"", "", M::Binary, 0},        {"a", "", M::Binary, 1},
      {"", "a", M::Text, -1},          {"ab", "abc", M::Binary, -1},  {"10", "9", M::Binary, -1},
      {"\xC3\xA9", "\xC3\x89", M::Text, 0},  // é / É
      // UTF-16 order: U+FFFD sorts after the surrogate pair of U+1F600, unlike code point order.
      {"\xEF\xBF\xBD", "\xF0\x9F\x98\x80", M::Binary, 1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << "\"" << r.a << "\" vs \"" << r.b << "\"");
    EXPECT_EQ(StrComp(r.a, r.b, r.method), r.expected);
  }
}

struct SplitRow {
  const char* text;
  const char* separator;
  long limit;
  CompareMethod method;
  std::vector<std::string> items;
};

TEST(RuntimeText, SplitIntoOneBasedLists) {
  using M = CompareMethod;
  const SplitRow rows[] = {
      {"a\tb\tc", "\t", -1, M::Binary, {"a", "b", "c"}}, {"1,2", ",", -1, M::Binary, {"1", "2"}},
      {"", ",", -1, M::Binary, {}}, {"abc", "", -1, M::Binary, {"abc"}}, {"a,,b", ",", -1, M::Binary, {"a", "", "b"}},
      {",a,", ",", -1, M::Binary, {"", "a", ""}}, {"aXbxc", "x", -1, M::Binary, {"aXb", "c"}},
      {"aXbxc", "x", -1, M::Text, {"a", "b", "c"}}, {"a,b,c", ",", 2, M::Binary, {"a", "b,c"}},
      {"a,b,c", ",", 0, M::Binary, {}}, {"a::b", "::", -1, M::Binary, {"a", "b"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.text);
    EXPECT_EQ(Split(r.text, r.separator, r.limit, r.method).items(), r.items);
  }
  const TextList list = Split("x,y", ",");
  EXPECT_EQ(std::tuple(list.count(), list(1), list(2), list.itemOr(3, "none")), std::tuple(2u, "x", "y", "none"));
  EXPECT_TRUE(list.has(2) && !list.has(0) && !list.has(3));
  try {
    (void)list(0);
    FAIL() << "index 0 must raise";
  } catch (const HostError& e) {
    EXPECT_EQ(e.number(), errSubscriptOutOfRange);
  }
}

TEST(RuntimeText, Utf8Characters) {
  const auto chars = utf8Characters("a\xC3\xA9\xF0\x9F\x98\x80\xFF");
  EXPECT_EQ(chars, (std::vector<std::string_view>{"a", "\xC3\xA9", "\xF0\x9F\x98\x80", "\xFF"}));
  EXPECT_EQ(utf8CharLength("\xE2\x82", 0), 2u);  // a truncated sequence is one character
  EXPECT_EQ(utf8CharLength("a", 1), 0u);
}

}  // namespace
}  // namespace zxp::host
