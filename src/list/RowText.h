// The TAB pieces of a row's text, as a row's cells read them (clsLItem and the list's compact
// rows, ListRows).
#pragma once

#include <cstdint>
#include <string_view>

namespace zxp::list {

// Piece n (0-based) of a TAB-joined text that has at least n + 1 pieces.
inline std::string_view textPiece(std::string_view text, int32_t n) {
  size_t start = 0;
  for (; n > 0; --n) start = text.find('\t', start) + 1;
  const size_t end = text.find('\t', start);
  return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

// The number of pieces a row takes from a text: none for an empty text, else TABs + 1, at most
// `limit`.
inline int32_t textPieceCount(std::string_view text, int32_t limit) {
  if (text.empty() || limit < 1) return 0;
  int32_t n = 1;
  for (size_t p = text.find('\t'); p != std::string_view::npos && n < limit; p = text.find('\t', p + 1)) ++n;
  return n;
}

}  // namespace zxp::list
