// DrawText's line layout, apart from any device: access-key prefixes, hard line breaks, word
// wrapping, ellipses and tab stops, measured through a callback. Text.cpp draws what this lays
// out; DT_CALCRECT and drawing share it, so a measured rectangle is the one later filled.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/Types.h"

namespace zxp::gfx {

// UTF-8 to code points (decodeUtf8's rules: a malformed subsequence becomes U+FFFD).
std::u32string decodeUtf8(std::string_view s);
// Code points to UTF-8 (invalid code points become U+FFFD).
std::string encodeUtf8(std::u32string_view s);

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

// Lays the text out into lines (at least one, possibly empty).
std::vector<TextLine> layoutText(std::u32string_view text, const TextLayoutParams& p);

// Width of cells drawn from a line start (tab stops counted from there when expandTabs).
int32_t measureCells(const TextCell* cells, size_t n, const TextLayoutParams& p);

}  // namespace zxp::gfx
