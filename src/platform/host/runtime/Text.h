// The host runtime's text helpers: case conversion, blank trimming, comparison and splitting.
//
// Texts are UTF-8. Case conversion covers the letters of the platform's ANSI code page
// (Windows-1252: ASCII, Latin-1 and the few extra letters such as Š/š, Œ/œ, Ž/ž, Ÿ/ÿ); other
// characters are kept as they are, as the host's UCase/LCase do on an English system. Bytes that
// are not valid UTF-8 are kept unchanged (and count as one U+FFFD where characters are counted or
// compared, as in CodePage.h).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zxp::host {

std::string UCase(std::string_view text);
std::string LCase(std::string_view text);

// The host trims spaces only (not tabs or line ends).
std::string_view LTrim(std::string_view text);
std::string_view RTrim(std::string_view text);
std::string_view Trim(std::string_view text);

enum class CompareMethod { Binary = 0, Text = 1 };

// StrComp: -1, 0 or 1. Binary compares the UTF-16 code units of the two texts (the host's
// strings are UTF-16), so case matters and "B" < "a". Text compares the upper-case forms, so
// "abc" equals "ABC" and "a" < "B".
int StrComp(std::string_view a, std::string_view b, CompareMethod method = CompareMethod::Binary);

// A list of texts indexed from 1, as the host's Split arrays are used by the controls.
class TextList {
 public:
  TextList() = default;
  explicit TextList(std::vector<std::string> items) : items_(std::move(items)) {}

  size_t count() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  // True when 1 <= index <= count().
  bool has(long index) const { return index >= 1 && static_cast<size_t>(index) <= items_.size(); }
  // Item `index` (1-based); outside 1..count() the host's "Subscript out of range" (9) is thrown
  // as a zxp::HostError.
  const std::string& operator()(long index) const;
  // Item `index`, or `fallback` when there is none.
  std::string_view itemOr(long index, std::string_view fallback) const;

  const std::vector<std::string>& items() const { return items_; }

 private:
  std::vector<std::string> items_;
};

// Split: the pieces of text between occurrences of separator (compared as `method` says). An
// empty text gives an empty list; an empty separator gives the whole text as one item. With
// limit > 0 at most `limit` items are made, the last holding the rest of the text.
TextList Split(std::string_view text, std::string_view separator = " ", long limit = -1,
               CompareMethod method = CompareMethod::Binary);

// The characters of a UTF-8 text, each as its own UTF-8 sequence (a malformed subsequence is a
// character of its own), for routines that place characters one by one.
std::vector<std::string_view> utf8Characters(std::string_view text);
// The length in bytes of the UTF-8 character (or malformed subsequence) at text[pos]; 0 at the
// end.
size_t utf8CharLength(std::string_view text, size_t pos);

}  // namespace zxp::host
