// DrawText's line rules on a synthetic font: every character 10 pixels wide except "i" (4) and
// "." (3), so expected lines can be worked out by hand.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace zxp::gfx
