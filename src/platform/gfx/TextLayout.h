// DrawText's line layout, apart from any device: access-key prefixes, hard line breaks, word
// wrapping, ellipses and tab stops, measured through a callback. Text.cpp draws what this lays
// out; DT_CALCRECT and drawing share it, so a measured rectangle is the one later filled.
//
// The layout reads the UTF-8 text where it lies and hands out one line at a time as a range of
// its bytes (LineBreaker), so a caller can stop after the lines it can show and never holds a
// copy of the text: the cost of a line is the cost of its own characters, whatever the length of
// the whole text. CellReader turns a line's range back into its characters for drawing.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/Text.h"
#include "platform/gfx/Types.h"

namespace zxp::gfx {

// UTF-8 to code points (decodeUtf8's rules: a malformed subsequence becomes U+FFFD).
std::u32string decodeUtf8(std::string_view s);
// Code points to UTF-8 (invalid code points become U+FFFD).
std::string encodeUtf8(std::u32string_view s);

// The well-formed UTF-8 character of two to four bytes at p[0] (a lead byte of 0x80 or more), n
// bytes readable: its length with its code point in cp, or 0 for a malformed sequence (which
// decodeUtf8 reads as U+FFFD). Inline, for the loops that measure long texts.
inline size_t wellFormedUtf8(const unsigned char* p, size_t n, char32_t& cp) {
  const unsigned char b = p[0];
  auto cont = [&](size_t i, unsigned char lo, unsigned char hi) { return i < n && p[i] >= lo && p[i] <= hi; };
  if (b >= 0xC2 && b <= 0xDF) {
    if (!cont(1, 0x80, 0xBF)) return 0;
    cp = (char32_t{b & 0x1Fu} << 6) | (p[1] & 0x3Fu);
    return 2;
  }
  if (b >= 0xE0 && b <= 0xEF) {
    if (!cont(1, b == 0xE0 ? 0xA0 : 0x80, b == 0xED ? 0x9F : 0xBF) || !cont(2, 0x80, 0xBF)) return 0;
    cp = (char32_t{b & 0x0Fu} << 12) | (char32_t{p[1] & 0x3Fu} << 6) | (p[2] & 0x3Fu);
    return 3;
  }
  if (b >= 0xF0 && b <= 0xF4) {
    if (!cont(1, b == 0xF0 ? 0x90 : 0x80, b == 0xF4 ? 0x8F : 0xBF) || !cont(2, 0x80, 0xBF) || !cont(3, 0x80, 0xBF))
      return 0;
    cp = (char32_t{b & 0x07u} << 18) | (char32_t{p[1] & 0x3Fu} << 12) | (char32_t{p[2] & 0x3Fu} << 6) | (p[3] & 0x3Fu);
    return 4;
  }
  return 0;
}

// One character of a laid-out line; `mark` is set on the character after an "&" prefix.
struct TextCell {
  char32_t ch = 0;
  bool mark = false;
};

struct TextLine {
  std::vector<TextCell> cells;
  int32_t width = 0;  // pixels, tabs expanded when the format asks for it
};

struct TextLayoutParams {
  UINT format = 0;          // the DT_ flags
  int32_t width = 0;        // the rectangle's width (wrapping and ellipsis limit)
  int32_t tabWidth = 64;    // distance between tab stops (DT_EXPANDTABS)
  // When > 0, line number maxLines (1-based) is the last one: it takes the rest of its paragraph
  // and an end ellipsis where that is too wide; nothing after it is laid out.
  int32_t maxLines = 0;
  std::function<int32_t(char32_t)> advance;  // advance width of one character in pixels
};

// One laid-out line: the characters of text[begin, end) (prefixes resolved, line breaks left
// out), followed by "..." when `ellipsis` is set; `width` includes the dots.
struct LineSpan {
  size_t begin = 0, end = 0;
  int32_t width = 0;
  bool ellipsis = false;
};

// The characters of a range of UTF-8 text as the layout sees them: "&&" is one "&", "&x" is x
// marked (unless the format has DT_NOPREFIX; DT_HIDEPREFIX drops the mark), a final lone "&"
// stays. A range must start where a character starts (as a LineSpan's does).
class CellReader {
 public:
  CellReader(std::string_view text, UINT format);
  // The character at byte `at` (< the text's size) and the byte after it.
  TextCell at(size_t at, size_t& next) const;

 private:
  std::string_view text_;
  bool prefixes_, underline_;
};

// Lays the text out line by line: each next() reads the characters of one more line only.
class LineBreaker {
 public:
  // The text and the parameters must outlive the breaker.
  LineBreaker(std::string_view text, const TextLayoutParams& p);
  // The next line; false when the text has no more (the first call always gives a line).
  bool next(LineSpan& line);
  // How many lines next() has given.
  int32_t lineCount() const { return state_.lines; }

  // Where the breaker stands between two lines: a breaker resumed there gives the same lines
  // from there on (for a caller that keeps places in a long text to come back to).
  struct Place {
    size_t pos = 0;
    bool paragraphStart = true;
    bool done = false;
    int32_t lines = 0;
  };
  Place place() const { return state_; }
  void resume(const Place& at) { state_ = at; }

  // The next character of text[at, end) (a line's range), at moved past it; false at the end.
  bool nextCell(size_t& at, size_t end, TextCell& c) const;
  // Width of the characters of text[begin, end) drawn from a line start.
  int32_t measure(size_t begin, size_t end) const;
  // The pen position after one character at pen position x (tab stops when expanding tabs).
  int32_t step(int32_t x, char32_t c) const {
    if (c == U'\t' && (p_.format & DT_EXPANDTABS) && p_.tabWidth > 0)
      return saturated((int64_t{x} / p_.tabWidth + 1) * p_.tabWidth);
    return saturated(int64_t{x} + advance(c));
  }

 private:
  // The character at `at` within the current paragraph; false at the paragraph's end (a line
  // break, or the end of the text). With DT_SINGLELINE line breaks are skipped instead. Most
  // characters are plain ASCII, neither a prefix nor a line break: those are read here.
  bool cellAt(size_t& at, TextCell& c, size_t& next) const {
    if (at < text_.size()) {
      const auto b = static_cast<unsigned char>(text_[at]);
      if (b < 0x80 && b != '&' && b != '\r' && b != '\n') {
        c = TextCell{b, false};
        next = at + 1;
        return true;
      }
    }
    return specialCellAt(at, c, next);
  }
  bool specialCellAt(size_t& at, TextCell& c, size_t& next) const;
  static int32_t saturated(int64_t x) { return x > INT32_MAX ? INT32_MAX : static_cast<int32_t>(x); }
  // Past the line break (or the end of the text) at `at`: the next paragraph, or done.
  void nextParagraph(size_t at);
  LineSpan whole(size_t from, size_t end, int32_t width, bool ellipsisAllowed) const;
  LineSpan ellipsify(size_t from, size_t to) const;
  int32_t advance(char32_t c) const {
    if (c < 128) {
      int32_t& a = ascii_[c];
      if (a < 0) a = p_.advance(c);
      return a;
    }
    Wide& w = wide_[c % kWide];
    if (w.ch != c) w = Wide{c, p_.advance(c)};
    return w.advance;
  }
  // Reads the plain characters from `at` on (ASCII other than a prefix, tab or line break, and
  // well-formed UTF-8 of more bytes) into the pen position x while x stays within `limit`;
  // returns where it stopped: at a character of another kind, or the first one that does not
  // fit. With `breaks`, each space is handed to onSpace(position, pen before it).
  template <bool breaks, class OnSpace>
  size_t plainRun(size_t at, int64_t& x, int64_t limit, bool& lastSpace, OnSpace&& onSpace) const;

  std::string_view text_;
  const TextLayoutParams& p_;
  CellReader cells_;
  bool wrap_, singleLine_;
  Place state_;
  mutable int32_t ascii_[128];  // advances of the ASCII characters, looked up on first use (-1)
  // Advances of other characters used last, one slot per code point modulo kWide (the text of
  // another script repeats a few hundred characters).
  struct Wide {
    char32_t ch = 0;  // 0 never matches: it is ASCII
    int32_t advance = 0;
  };
  static constexpr char32_t kWide = 64;
  mutable Wide wide_[kWide];
};

// Lays the text out into lines (at least one, possibly empty).
std::vector<TextLine> layoutText(std::u32string_view text, const TextLayoutParams& p);
// The same from UTF-8 read where it lies (a malformed sequence is one U+FFFD).
std::vector<TextLine> layoutUtf8(std::string_view utf8, const TextLayoutParams& p);

// Width of cells drawn from a line start (tab stops counted from there when expandTabs).
int32_t measureCells(const TextCell* cells, size_t n, const TextLayoutParams& p);

}  // namespace zxp::gfx
