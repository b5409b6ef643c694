// DrawText's line rules on a synthetic font: every character 10 pixels wide except "i" (4) and
// "." (3), so expected lines can be worked out by hand.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "platform/gfx/Text.h"
#include "platform/gfx/TextLayout.h"

namespace zxp::gfx {
namespace {

TextLayoutParams params(UINT format, int32_t width) {
  TextLayoutParams p;
  p.format = format;
  p.width = width;
  p.tabWidth = 40;
  p.advance = [](char32_t c) { return c == U'i' ? 4 : c == U'.' ? 3 : 10; };
  return p;
}

std::vector<std::string> texts(const std::vector<TextLine>& lines) {
  std::vector<std::string> out;
  for (const auto& l : lines) {
    std::u32string s;
    for (const auto& c : l.cells) s.push_back(c.ch);
    out.push_back(encodeUtf8(s));
  }
  return out;
}

using Lines = std::vector<std::string>;

// A small seeded generator for the model tests: next(n) is in [0, n).
struct Lcg {
  uint32_t seed;
  uint32_t operator()(uint32_t n) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % n;
  }
};

TEST(TextLayout, WordBreaksAtSpacesAndDropsTheBreakingSpaces) {
  // "aaa bbb" is 70 wide; with "ccc" it would be 110.
  // A left-aligned line keeps the one space after its last word where it fits.
  auto lines = layoutText(U"aaa bbb ccc", params(DT_WORDBREAK, 100));
  EXPECT_EQ(texts(lines), (Lines{"aaa bbb ", "ccc"}));
  EXPECT_EQ(lines[0].width, 80);
  // Several spaces at a break vanish on both sides of it but that one; leading spaces stay.
  EXPECT_EQ(texts(layoutText(U"  aaa    bbbbbbb", params(DT_WORDBREAK, 90))), (Lines{"  aaa ", "bbbbbbb"}));
  EXPECT_EQ(texts(layoutText(U"  aaa    bbbbbbb", params(DT_WORDBREAK | DT_CENTER, 90))),
            (Lines{"  aaa", "bbbbbbb"}));
  // Exactly fitting text is one line, trailing spaces included.
  EXPECT_EQ(texts(layoutText(U"aaaaa ", params(DT_WORDBREAK, 60))), (Lines{"aaaaa "}));
  // A break exactly at the limit.
  EXPECT_EQ(texts(layoutText(U"aaaaa bbbbb", params(DT_WORDBREAK, 50))), (Lines{"aaaaa", "bbbbb"}));
}

TEST(TextLayout, OverLongWordStaysWholeOrIsCutWithAWordEllipsis) {
  auto whole = layoutText(U"abcdefghij xy", params(DT_WORDBREAK, 55));
  EXPECT_EQ(texts(whole), (Lines{"abcdefghij", "xy"}));
  EXPECT_EQ(whole[0].width, 94);  // wider than the rectangle: DT_CALCRECT widens to it
  auto cut = layoutText(U"abcdefghij xy", params(DT_WORDBREAK | DT_WORD_ELLIPSIS, 55));
  // "abcd" (4 x 10, the "i" is not reached) + "..." (9) = 49 <= 55; one more letter would be 59.
  EXPECT_EQ(texts(cut), (Lines{"abcd...", "xy"}));
  EXPECT_EQ(cut[0].width, 49);
  // Words that fit are not touched by the word ellipsis (the first line keeps its space).
  EXPECT_EQ(texts(layoutText(U"ab cd", params(DT_WORDBREAK | DT_WORD_ELLIPSIS, 30))), (Lines{"ab ", "cd"}));
}

TEST(TextLayout, EndEllipsisOnSingleLinesAndOnTheLastVisibleLine) {
  EXPECT_EQ(texts(layoutText(U"abcdefgh", params(DT_SINGLELINE | DT_END_ELLIPSIS, 50))), (Lines{"abcd..."}));
  EXPECT_EQ(texts(layoutText(U"abcdefgh", params(DT_SINGLELINE | DT_WORD_ELLIPSIS, 50))), (Lines{"abcd..."}));
  EXPECT_EQ(texts(layoutText(U"abcd", params(DT_SINGLELINE | DT_END_ELLIPSIS, 50))), (Lines{"abcd"}));
  // Without an ellipsis flag nothing is cut.
  EXPECT_EQ(texts(layoutText(U"abcdefgh", params(DT_SINGLELINE, 50))), (Lines{"abcdefgh"}));
  // Room for two lines: the second takes the rest of the paragraph and ends in "...".
  auto p = params(DT_WORDBREAK | DT_END_ELLIPSIS, 70);
  p.maxLines = 2;
  EXPECT_EQ(texts(layoutText(U"aaa bbb ccc ddd eee", p)), (Lines{"aaa bbb", "ccc dd..."}));
  // When the rest fits, no ellipsis.
  EXPECT_EQ(texts(layoutText(U"aaa bbb ccc", p)), (Lines{"aaa bbb", "ccc"}));
  // A rectangle too even for "..." keeps the dots (clipped when drawn).
  EXPECT_EQ(texts(layoutText(U"abc", params(DT_SINGLELINE | DT_END_ELLIPSIS, 5))), (Lines{"..."}));
}

TEST(TextLayout, PrefixesMarkTheNextCharacterAndDoubleAmpersandIsLiteral) {
  auto lines = layoutText(U"&File && E&xit&", params(DT_SINGLELINE, 500));
  ASSERT_EQ(texts(lines), (Lines{"File & Exit&"}));
  std::vector<size_t> marked;
  for (size_t i = 0; i < lines[0].cells.size(); ++i)
    if (lines[0].cells[i].mark) marked.push_back(i);
  EXPECT_EQ(marked, (std::vector<size_t>{0, 8}));  // "F" and "x"; the final lone "&" stays
  auto raw = layoutText(U"&File &&", params(DT_SINGLELINE | DT_NOPREFIX, 500));
  EXPECT_EQ(texts(raw), (Lines{"&File &&"}));
  auto hidden = layoutText(U"&File", params(DT_SINGLELINE | DT_HIDEPREFIX, 500));
  EXPECT_EQ(texts(hidden), (Lines{"File"}));
  EXPECT_FALSE(hidden[0].cells[0].mark);
}

TEST(TextLayout, LineBreaksCrLfCrAndLf) {
  auto p = params(0, 500);
  EXPECT_EQ(texts(layoutText(U"a\r\nb\rc\nd\n\re", p)), (Lines{"a", "b", "c", "d", "e"}));
  EXPECT_EQ(texts(layoutText(U"a\r\n\r\nb", p)), (Lines{"a", "", "b"}));
  EXPECT_EQ(texts(layoutText(U"a\r\n", p)), (Lines{"a"}));  // a final break opens no line
  EXPECT_EQ(texts(layoutText(U"", p)), (Lines{""}));
  EXPECT_EQ(texts(layoutText(U"a\r\nb", params(DT_SINGLELINE, 500))), (Lines{"ab"}));
  // Wrapping works per paragraph.
  EXPECT_EQ(texts(layoutText(U"aaa bbb\r\nccc", params(DT_WORDBREAK, 50))), (Lines{"aaa ", "bbb", "ccc"}));
}

TEST(TextLayout, TabsExpandToStopsOnlyWithExpandTabs) {
  auto lines = layoutText(U"a\tb", params(DT_EXPANDTABS, 500));
  EXPECT_EQ(lines[0].width, 50);  // "a" to 10, tab to 40, "b" to 50
  EXPECT_EQ(layoutText(U"a\tb", params(0, 500))[0].width, 30);  // a tab is just a character
  EXPECT_EQ(layoutText(U"aaaa\tb", params(DT_EXPANDTABS, 500))[0].width, 90);  // 40 is a stop: next is 80
}

// On a wrapped, left-aligned line the space after the last word belongs to the line when it
// fits, so DT_CALCRECT reports that line one space wider; centred and right-aligned lines end at
// the word. For every width, each wrapped line but the last is its words plus that space exactly
// when the space fits.
TEST(TextLayout, LeftAlignedWrappedLinesKeepTheSpaceAfterTheirLastWord) {
  EXPECT_EQ(layoutText(U"aaaa bb", params(DT_WORDBREAK, 55))[0].width, 50);
  EXPECT_EQ(layoutText(U"aaaa bb", params(DT_WORDBREAK, 45))[0].width, 40);  // the space does not fit
  EXPECT_EQ(layoutText(U"aaaa bb", params(DT_WORDBREAK | DT_CENTER, 55))[0].width, 40);
  EXPECT_EQ(layoutText(U"aaaa bb", params(DT_WORDBREAK | DT_RIGHT, 55))[0].width, 40);
  const std::u32string text = U"ab cde  f ghjk lmnop q  rs";
  for (UINT align : {UINT{DT_LEFT}, UINT{DT_CENTER}, UINT{DT_RIGHT}}) {
    for (int32_t width = 60; width <= 200; width += 5) {
      const auto lines = layoutText(text, params(DT_WORDBREAK | align, width));
      for (size_t i = 0; i + 1 < lines.size(); ++i) {
        const auto& cells = lines[i].cells;
        ASSERT_FALSE(cells.empty());
        size_t words = cells.size();
        while (words > 0 && cells[words - 1].ch == U' ') --words;
        const int32_t wordsWidth = static_cast<int32_t>(words) * 10;
        const bool keep = align == DT_LEFT && wordsWidth + 10 <= width;
        EXPECT_EQ(cells.size(), words + (keep ? 1 : 0)) << width << " line " << i;
      }
    }
  }
}

// ---- The layout read line by line, against the former layout of the whole text ----------------
//
// The reference below lays the whole text out at once, as DrawText once did (decoded, prefixes
// resolved, split into paragraphs, each wrapped): the line-by-line layout must give the same
// lines for every text, format, width and line limit.
namespace reference {

int32_t refMeasure(const TextCell* cells, size_t n, const TextLayoutParams& p);

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
  line.width = refMeasure(b, n, p);
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
  line.width = refMeasure(line.cells.data(), line.cells.size(), p);
  return line;
}

// A line that is not wrapped: cut with an ellipsis when the format asks for it and it is too wide.
TextLine wholeLine(const TextCell* b, size_t n, const TextLayoutParams& p) {
  TextLine line = makeLine(b, n, p);
  if (line.width > p.width && (p.format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS)))
    return ellipsify(b, n, p);
  return line;
}

int32_t refMeasure(const TextCell* cells, size_t n, const TextLayoutParams& p) {
  int32_t x = 0;
  for (size_t i = 0; i < n; ++i) x = step(x, cells[i].ch, p);
  return x;
}

std::vector<TextLine> referenceLayout(std::u32string_view text, const TextLayoutParams& p) {
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
        const bool keepSpace = leftAligned && c[e].ch == U' ' && refMeasure(c + pos, e + 1 - pos, p) <= p.width;
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


}  // namespace reference

TEST(TextLayout, LineByLineLayoutGivesTheLinesOfTheWholeTextLayout) {
  const char32_t alphabet[] = {U'a', U'b', U'i', U'.', U' ', U' ', U'\t', U'&', U'\r', U'\n', U'\u00e9', U'\u4e2d'};
  const UINT flags[] = {DT_WORDBREAK, DT_SINGLELINE, DT_END_ELLIPSIS, DT_WORD_ELLIPSIS, DT_EXPANDTABS,
                        DT_NOPREFIX, DT_HIDEPREFIX, DT_CENTER, DT_RIGHT};
  Lcg next{7};
  for (int round = 0; round < 20000; ++round) {
    std::u32string text;
    const uint32_t length = next(4) == 0 ? next(120) : next(24);
    for (uint32_t i = 0; i < length; ++i) text.push_back(alphabet[next(std::size(alphabet))]);
    UINT format = 0;
    for (UINT f : flags)
      if (next(3) == 0) format |= f;
    TextLayoutParams p = params(format, static_cast<int32_t>(next(130)));
    if (next(3) == 0) p.maxLines = static_cast<int32_t>(next(5));
    const auto want = reference::referenceLayout(text, p);
    const auto got = layoutText(text, p);
    const std::string what = "text \"" + encodeUtf8(text) + "\" format " + std::to_string(format) + " width " +
                             std::to_string(p.width) + " maxLines " + std::to_string(p.maxLines);
    ASSERT_EQ(texts(got), texts(want)) << what;
    for (size_t i = 0; i < got.size(); ++i) {
      ASSERT_EQ(got[i].width, want[i].width) << what << " line " << i;
      for (size_t k = 0; k < got[i].cells.size(); ++k) ASSERT_EQ(got[i].cells[k].mark, want[i].cells[k].mark) << what;
    }
  }
}

// Bytes that are not well-formed UTF-8 among plain text: the breaker, reading the bytes where
// they lie, lays out what the reference lays out for the decoded text (each broken sequence one
// U+FFFD), with the same widths.
TEST(TextLayout, BrokenUtf8IsLaidOutAsItsReplacementCharacters) {
  const std::string pieces[] = {"a", "b", "i", ".", " ", "\xC3\xA9", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80",
                                "\x80", "\xC3", "\xE4\xB8", "\xF5", "\xED\xA0\x80", "\xC0\xAF", "&", "\t"};
  Lcg next{11};
  for (int round = 0; round < 5000; ++round) {
    std::string raw;
    const uint32_t length = next(40);
    for (uint32_t i = 0; i < length; ++i) raw += pieces[next(std::size(pieces))];
    const UINT format = next(2) ? DT_WORDBREAK : DT_SINGLELINE;
    const TextLayoutParams p = params(format | (next(2) ? DT_EXPANDTABS : 0), static_cast<int32_t>(next(130)));
    const auto want = reference::referenceLayout(decodeUtf8(raw), p);
    const auto got = layoutUtf8(raw, p);
    ASSERT_EQ(texts(got), texts(want)) << "round " << round << " format " << p.format << " width " << p.width;
    for (size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i].width, want[i].width) << "round " << round;
  }
}

// A line breaker resumed at a place it gave earlier goes on with the same lines.
TEST(TextLayout, ABreakerResumedAtAPlaceGivesTheSameLines) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += (i % 7 == 0 ? "&word\r\n" : i % 3 ? "ab " : "iiii\t");
  const TextLayoutParams p = params(DT_WORDBREAK | DT_EXPANDTABS, 45);
  LineBreaker whole(text, p);
  std::vector<LineSpan> lines;
  std::vector<LineBreaker::Place> places;
  for (LineBreaker::Place at = whole.place(); whole.next(lines.emplace_back()); at = whole.place()) places.push_back(at);
  lines.pop_back();
  ASSERT_GT(lines.size(), 100u);
  for (size_t from : {size_t{0}, size_t{1}, size_t{37}, lines.size() - 1}) {
    LineBreaker again(text, p);
    again.resume(places[from]);
    LineSpan l;
    for (size_t i = from; i < lines.size(); ++i) {
      ASSERT_TRUE(again.next(l)) << from;
      ASSERT_EQ(std::tuple(l.begin, l.end, l.width, l.ellipsis),
                std::tuple(lines[i].begin, lines[i].end, lines[i].width, lines[i].ellipsis))
          << from << " line " << i;
    }
    EXPECT_FALSE(again.next(l));
    EXPECT_EQ(again.lineCount(), static_cast<int32_t>(lines.size()));
  }
}

}  // namespace
}  // namespace zxp::gfx
