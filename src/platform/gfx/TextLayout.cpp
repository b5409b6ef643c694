// DrawText's line layout: prefixes, line breaks, word wrapping, ellipses, tabs.
#include "platform/gfx/TextLayout.h"

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

using Cells = std::vector<TextCell>;

bool isBreakSpace(char32_t c) { return c == U' ' || c == U'\t'; }

// Advances x over one cell (tab stops when expanding tabs).
int32_t step(int32_t x, char32_t c, const TextLayoutParams& p) {
  if (c == U'\t' && (p.format & DT_EXPANDTABS) && p.tabWidth > 0) return (x / p.tabWidth + 1) * p.tabWidth;
  return x + p.advance(c);
}

// Resolves prefixes: "&&" is one "&", "&x" marks x; a final lone "&" stays as it is.
Cells resolvePrefixes(std::u32string_view text, UINT format) {
  Cells cells;
  cells.reserve(text.size());
  bool prefixes = !(format & DT_NOPREFIX);
  bool underline = !(format & DT_HIDEPREFIX);
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (prefixes && c == U'&' && i + 1 < text.size()) {
      char32_t next = text[++i];
      cells.push_back(TextCell{next, next != U'&' && underline});
      continue;
    }
    cells.push_back(TextCell{c, false});
  }
  return cells;
}

// Splits at CR LF, LF CR, CR and LF. A break at the very end starts no further paragraph.
std::vector<Cells> splitParagraphs(const Cells& cells, UINT format) {
  std::vector<Cells> paras;
  if (format & DT_SINGLELINE) {
    Cells one;
    for (const auto& c : cells)
      if (c.ch != U'\r' && c.ch != U'\n') one.push_back(c);
    paras.push_back(std::move(one));
    return paras;
  }
  Cells cur;
  for (size_t i = 0; i < cells.size(); ++i) {
    char32_t c = cells[i].ch;
    if (c == U'\r' || c == U'\n') {
      if (i + 1 < cells.size()) {
        char32_t d = cells[i + 1].ch;
        if ((c == U'\r' && d == U'\n') || (c == U'\n' && d == U'\r')) ++i;
      }
      paras.push_back(std::move(cur));
      cur.clear();
      if (i + 1 == cells.size()) return paras;
      continue;
    }
    cur.push_back(cells[i]);
  }
  paras.push_back(std::move(cur));
  return paras;
}

TextLine makeLine(const TextCell* b, size_t n, const TextLayoutParams& p) {
  TextLine line;
  line.cells.assign(b, b + n);
  line.width = measureCells(b, n, p);
  return line;
}

// The longest start of the cells that fits in `width` together with "...", followed by "...".
TextLine ellipsify(const TextCell* b, size_t n, const TextLayoutParams& p) {
  int32_t dots = 3 * p.advance(U'.');
  size_t k = 0;
  int32_t x = 0;
  while (k < n) {
    int32_t nx = step(x, b[k].ch, p);
    if (nx + dots > p.width) break;
    x = nx;
    ++k;
  }
  TextLine line = makeLine(b, k, p);
  for (int i = 0; i < 3; ++i) line.cells.push_back(TextCell{U'.', false});
  line.width = measureCells(line.cells.data(), line.cells.size(), p);
  return line;
}

// A line that is not wrapped: cut with an ellipsis when the format asks for it and it is too wide.
TextLine wholeLine(const TextCell* b, size_t n, const TextLayoutParams& p) {
  TextLine line = makeLine(b, n, p);
  if (line.width > p.width && (p.format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS)))
    return ellipsify(b, n, p);
  return line;
}

}  // namespace

int32_t measureCells(const TextCell* cells, size_t n, const TextLayoutParams& p) {
  int32_t x = 0;
  for (size_t i = 0; i < n; ++i) x = step(x, cells[i].ch, p);
  return x;
}

std::vector<TextLine> layoutText(std::u32string_view text, const TextLayoutParams& p) {
  std::vector<TextLine> lines;
  Cells cells = resolvePrefixes(text, p.format);
  std::vector<Cells> paras = splitParagraphs(cells, p.format);
  bool wrap = (p.format & DT_WORDBREAK) && !(p.format & DT_SINGLELINE);
  // The next line is the last one / the last one has been laid out.
  auto isLast = [&] { return p.maxLines > 0 && static_cast<int32_t>(lines.size()) + 1 >= p.maxLines; };
  auto full = [&] { return p.maxLines > 0 && static_cast<int32_t>(lines.size()) >= p.maxLines; };

  for (const Cells& para : paras) {
    const TextCell* c = para.data();
    const size_t n = para.size();
    if (!wrap) {
      lines.push_back(wholeLine(c, n, p));
      continue;
    }
    size_t pos = 0;
    bool first = true;
    while (first || pos < n) {
      if (!first) {
        while (pos < n && isBreakSpace(c[pos].ch)) ++pos;  // the spaces a wrap broke at
        if (pos == n) break;
      }
      first = false;
      if (isLast()) {
        // The last line that fits takes the rest of its paragraph, cut with "..." if too wide.
        TextLine rest = makeLine(c + pos, n - pos, p);
        lines.push_back(rest.width > p.width && (p.format & DT_END_ELLIPSIS) ? ellipsify(c + pos, n - pos, p)
                                                                             : std::move(rest));
        return lines;
      }
      // How many characters fit from pos on.
      size_t fit = 0;
      int32_t x = 0;
      while (pos + fit < n) {
        int32_t nx = step(x, c[pos + fit].ch, p);
        if (nx > p.width) break;
        x = nx;
        ++fit;
      }
      if (pos + fit == n) {  // the rest fits
        lines.push_back(makeLine(c + pos, n - pos, p));
        pos = n;
        break;
      }
      // The last space at or before the first character that does not fit, with text before it.
      size_t b = pos + fit;
      while (b > pos && !isBreakSpace(c[b].ch)) --b;
      size_t e = b;
      while (e > pos && isBreakSpace(c[e - 1].ch)) --e;
      if (b > pos && e > pos) {
        // A left-aligned line keeps the space after its last word when that space still fits;
        // centred and right-aligned lines end at the word.
        const bool leftAligned = !(p.format & (DT_CENTER | DT_RIGHT));
        const bool keepSpace = leftAligned && c[e].ch == U' ' && measureCells(c + pos, e + 1 - pos, p) <= p.width;
        lines.push_back(makeLine(c + pos, keepSpace ? e + 1 - pos : e - pos, p));
        pos = b;
        continue;
      }
      // The first word alone is too wide: it stays whole (clipped), or is cut with "...".
      size_t w = pos;
      while (w < n && isBreakSpace(c[w].ch)) ++w;
      while (w < n && !isBreakSpace(c[w].ch)) ++w;
      lines.push_back((p.format & DT_WORD_ELLIPSIS) ? ellipsify(c + pos, w - pos, p) : makeLine(c + pos, w - pos, p));
      pos = w;
    }
    if (full()) break;
  }
  if (lines.empty()) lines.emplace_back();
  return lines;
}

}  // namespace zxp::gfx
