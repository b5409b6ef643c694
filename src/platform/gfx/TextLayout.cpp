// DrawText's line layout: prefixes, line breaks, word wrapping, ellipses, tabs.
#include "platform/gfx/TextLayout.h"

#include <algorithm>
#include <climits>
#include <iterator>

#include "platform/base/CodePage.h"
#include "platform/gfx/Text.h"

namespace zxp::gfx {

std::u32string decodeUtf8(std::string_view s) {
  std::u32string out;
  out.reserve(s.size());
  while (!s.empty()) {
    size_t len = 1;
    out.push_back(zxp::decodeUtf8(s, len));
    s.remove_prefix(len);
  }
  return out;
}

std::string encodeUtf8(std::u32string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char32_t cp : s) appendUtf8(out, cp);
  return out;
}

namespace {

bool isBreakSpace(char32_t c) { return c == U' ' || c == U'\t'; }

// Pen positions saturate at the 32-bit range rather than overflow on an endless line.
int32_t saturate(int64_t x) { return x > INT32_MAX ? INT32_MAX : static_cast<int32_t>(x); }

}  // namespace

// ---- Characters ---------------------------------------------------------------------------------

CellReader::CellReader(std::string_view text, UINT format)
    : text_(text), prefixes_(!(format & DT_NOPREFIX)), underline_(!(format & DT_HIDEPREFIX)) {}

TextCell CellReader::at(size_t at, size_t& next) const {
  auto decode = [&](size_t i, size_t& len) -> char32_t {
    const auto b = static_cast<unsigned char>(text_[i]);
    if (b < 0x80) {
      len = 1;
      return b;
    }
    return zxp::decodeUtf8(text_.substr(i), len);
  };
  size_t len = 1;
  const char32_t c = decode(at, len);
  if (prefixes_ && c == U'&' && at + 1 < text_.size()) {
    const char32_t marked = decode(at + 1, len);
    next = at + 1 + len;
    return TextCell{marked, marked != U'&' && underline_};
  }
  next = at + len;
  return TextCell{c, false};
}

// ---- Lines ----------------------------------------------------------------------------------------

LineBreaker::LineBreaker(std::string_view text, const TextLayoutParams& p)
    : text_(text),
      p_(p),
      cells_(text, p.format),
      wrap_((p.format & DT_WORDBREAK) && !(p.format & DT_SINGLELINE)),
      singleLine_(p.format & DT_SINGLELINE) {
  std::fill(std::begin(ascii_), std::end(ascii_), -1);
}

bool LineBreaker::specialCellAt(size_t& at, TextCell& c, size_t& next) const {
  while (at < text_.size()) {
    const auto b = static_cast<unsigned char>(text_[at]);
    if (b == '\r' || b == '\n') {  // a line break byte is one whatever stands after it
      if (!singleLine_) return false;
      ++at;
      continue;
    }
    c = cells_.at(at, next);
    if (c.ch != U'\r' && c.ch != U'\n') return true;
    if (!singleLine_) return false;
    at = next;  // one line: the breaks are left out
  }
  return false;
}

bool LineBreaker::nextCell(size_t& at, size_t end, TextCell& c) const {
  size_t next = at;
  if (at >= end || !cellAt(at, c, next) || at >= end) return false;
  at = next;
  return true;
}

int32_t LineBreaker::measure(size_t begin, size_t end) const {
  int32_t x = 0;
  TextCell c;
  while (nextCell(begin, end, c)) x = step(x, c.ch);
  return x;
}

void LineBreaker::nextParagraph(size_t at) {
  // A break is CR LF, LF CR, CR or LF; a break at the very end starts no further paragraph.
  const size_t n = text_.size();
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text_[i]); };
  if (at < n && (byte(at) == '\r' || byte(at) == '\n') && (at + 1 >= n || byte(at + 1) != '&')) {
    // The usual case, read from the bytes: a break not followed by a prefix.
    size_t next = at + 1;
    if (next < n && byte(next) == (byte(at) == '\r' ? '\n' : '\r')) ++next;
    at = next;
  } else if (at < n) {
    size_t next = at;
    const char32_t c = cells_.at(at, next).ch;
    if (next < text_.size()) {
      size_t after = next;
      const char32_t d = cells_.at(next, after).ch;
      if ((c == U'\r' && d == U'\n') || (c == U'\n' && d == U'\r')) next = after;
    }
    at = next;
  }
  if (at >= text_.size()) {
    state_.done = true;
    return;
  }
  state_.pos = at;
  state_.paragraphStart = true;
}

// The longest start of the characters that fits in the width together with "...", then "...".
LineSpan LineBreaker::ellipsify(size_t from, size_t to) const {
  const int64_t dots = 3 * int64_t{advance(U'.')};
  int32_t x = 0;
  size_t k = from;
  TextCell c;
  for (size_t at = k; nextCell(at, to, c);) {
    const int32_t nx = step(x, c.ch);
    if (nx + dots > p_.width) break;
    x = nx;
    k = at;
  }
  return LineSpan{from, k, step(step(step(x, U'.'), U'.'), U'.'), true};
}

// The characters from `from` to the paragraph's end as one line (width already measured), cut
// with an ellipsis when allowed and too wide.
LineSpan LineBreaker::whole(size_t from, size_t end, int32_t width, bool ellipsisAllowed) const {
  if (width > p_.width && ellipsisAllowed) return ellipsify(from, end);
  return LineSpan{from, end, width, false};
}

template <bool breaks, class OnSpace>
size_t LineBreaker::plainRun(size_t at, int64_t& x, int64_t limit, bool& lastSpace, OnSpace&& onSpace) const {
  // Locals only, so that nothing in the loop goes through memory.
  const auto* bytes = reinterpret_cast<const unsigned char*>(text_.data());
  const size_t n = text_.size();
  const bool prefixes = !(p_.format & DT_NOPREFIX);
  int64_t px = x;
  bool space = lastSpace;
  size_t i = at;
  while (i < n) {
    const unsigned char b = bytes[i];
    size_t len = 1;
    int32_t a;
    if (b < 0x80) {
      if (b == '\t' || b == '\r' || b == '\n') break;
      if (b == '&' && prefixes) {
        // "&&" is one "&" and "&x" is x marked: one character of two bytes. A prefix before
        // anything else (a space, a tab, a line break, more bytes, the end) is left to CellReader.
        if (i + 1 >= n) break;
        const unsigned char m = bytes[i + 1];
        if (m >= 0x80 || m == ' ' || m == '\t' || m == '\r' || m == '\n') break;
        a = advance(m);
        len = 2;
      } else {
        a = advance(b);
      }
    } else {
      char32_t cp = 0;
      len = wellFormedUtf8(bytes + i, n - i, cp);
      if (len == 0) break;
      a = advance(cp);
    }
    if constexpr (breaks) {
      const bool isSpace = b == ' ';
      if (isSpace) onSpace(i, px, space);
      space = isSpace;
    }
    const int64_t nx = px + a;
    if (nx > limit) break;
    px = nx;
    i += len;
  }
  x = px;
  lastSpace = space;
  return i;
}

bool LineBreaker::next(LineSpan& line) {
  Place& s = state_;
  TextCell c;
  size_t after = 0;
  while (!s.done) {
    if (!s.paragraphStart) {
      // After a wrapped line: the spaces it broke at; at the paragraph's end, the next one.
      size_t at = s.pos;
      // A line that ended at a line break (the usual case for short lines) needs no cell read.
      const bool atBreak = !singleLine_ && at < text_.size() && (text_[at] == '\r' || text_[at] == '\n');
      if (!atBreak)
        while (cellAt(at, c, after) && wrap_ && isBreakSpace(c.ch)) at = after;
      if (atBreak || !cellAt(at, c, after)) {
        if (wrap_ && p_.maxLines > 0 && s.lines >= p_.maxLines) {
          s.done = true;
          break;
        }
        nextParagraph(at);
        continue;
      }
      s.pos = at;
    }
    s.paragraphStart = false;
    const size_t pos = s.pos;
    ++s.lines;
    // The rest of the paragraph, measured: [pos, end). Runs of plain ASCII characters (no
    // prefix, tab or line break) are summed straight from the bytes, the bulk of a long line.
    auto rest = [&](size_t& end) {
      int64_t x = 0;
      size_t at = pos;
      bool unused = false;
      while (true) {
        at = plainRun<false>(at, x, INT64_MAX, unused, [](size_t, int64_t, bool) {});
        if (!cellAt(at, c, after)) break;
        x = step(saturate(x), c.ch);
        at = after;
      }
      end = at;
      return saturate(x);
    };
    if (!wrap_) {
      size_t end = pos;
      const int32_t width = rest(end);
      s.pos = end;
      line = whole(pos, end, width, p_.format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS));
      return true;
    }
    if (p_.maxLines > 0 && s.lines >= p_.maxLines) {
      // The last line that fits takes the rest of its paragraph, cut with "..." if too wide.
      size_t end = pos;
      const int32_t width = rest(end);
      s.done = true;
      line = whole(pos, end, width, p_.format & DT_END_ELLIPSIS);
      return true;
    }
    // The characters that fit from pos on, noting the last space after pos (up to and including
    // the first character that does not fit) and where the spaces before it begin.
    int32_t x = 0;
    size_t at = pos;
    bool prevSpace = false, fits = true, haveBreak = false;
    size_t breakAt = 0, runStart = 0, runNext = 0, wordEnd = 0, wordEndNext = 0;
    int32_t runX = 0, wordEndX = 0;
    char32_t runCh = 0, wordEndCh = 0;
    // A space (or tab) at `where`, the pen before it at `before`, after a space or not: where the
    // line may break, and where the spaces before that break begin.
    const auto noteSpace = [&](size_t where, int64_t before, bool afterSpace, char32_t ch, size_t next) {
      if (!afterSpace) runStart = where, runX = static_cast<int32_t>(before), runCh = ch, runNext = next;
      if (where > pos) {
        haveBreak = true;
        breakAt = where;
        wordEnd = runStart, wordEndX = runX, wordEndCh = runCh, wordEndNext = runNext;
      }
    };
    while (true) {
      // Plain characters, the bulk of any text, are read straight from the bytes until one does
      // not fit (a space that does not fit is noted again below, to the same effect).
      {
        int64_t px = x;
        at = plainRun<true>(at, px, p_.width, prevSpace, [&](size_t i, int64_t before, bool afterSpace) {
          noteSpace(i, before, afterSpace, U' ', i + 1);
        });
        x = static_cast<int32_t>(px);
      }
      if (!cellAt(at, c, after)) break;
      const bool space = isBreakSpace(c.ch);
      if (space) noteSpace(at, x, prevSpace, c.ch, after);
      prevSpace = space;
      const int32_t nx = step(x, c.ch);
      if (nx > p_.width) {
        fits = false;
        break;
      }
      x = nx;
      at = after;
    }
    if (fits) {  // the rest fits
      s.pos = at;
      line = LineSpan{pos, at, x, false};
      return true;
    }
    if (haveBreak && wordEnd > pos) {
      // A left-aligned line keeps the space after its last word when that space still fits;
      // centred and right-aligned lines end at the word.
      const bool leftAligned = !(p_.format & (DT_CENTER | DT_RIGHT));
      const int32_t withSpace = step(wordEndX, wordEndCh);
      const bool keepSpace = leftAligned && wordEndCh == U' ' && withSpace <= p_.width;
      s.pos = breakAt;
      line = keepSpace ? LineSpan{pos, wordEndNext, withSpace, false} : LineSpan{pos, wordEnd, wordEndX, false};
      return true;
    }
    // The first word alone is too wide: it stays whole (clipped), or is cut with "...".
    size_t w = pos;
    while (cellAt(w, c, after) && isBreakSpace(c.ch)) w = after;
    while (cellAt(w, c, after) && !isBreakSpace(c.ch)) w = after;
    s.pos = w;
    line = (p_.format & DT_WORD_ELLIPSIS) ? ellipsify(pos, w) : LineSpan{pos, w, measure(pos, w), false};
    return true;
  }
  return false;
}

int32_t measureCells(const TextCell* cells, size_t n, const TextLayoutParams& p) {
  LineBreaker steps({}, p);
  int32_t x = 0;
  for (size_t i = 0; i < n; ++i) x = steps.step(x, cells[i].ch);
  return x;
}

std::vector<TextLine> layoutText(std::u32string_view text, const TextLayoutParams& p) {
  return layoutUtf8(encodeUtf8(text), p);
}

std::vector<TextLine> layoutUtf8(std::string_view utf8, const TextLayoutParams& p) {
  LineBreaker breaker(utf8, p);
  std::vector<TextLine> lines;
  LineSpan span;
  while (breaker.next(span)) {
    TextLine line;
    TextCell c;
    for (size_t at = span.begin; breaker.nextCell(at, span.end, c);) line.cells.push_back(c);
    if (span.ellipsis)
      for (int i = 0; i < 3; ++i) line.cells.push_back(TextCell{U'.', false});
    line.width = span.width;
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace zxp::gfx
