// The edit field's line layout: wrapping rules and the incremental re-layout, which must always
// agree with a layout made from scratch.
#include "platform/ui/EditLayout.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace zxp::ui {
namespace {

// Every character 10 pixels wide except 'W' (20); tabs every 40 pixels.
EditLayout::Params params(bool wrap, int32_t width) {
  EditLayout::Params p;
  p.wrap = wrap;
  p.width = width;
  p.tabWidth = 40;
  p.advance = [](char32_t c) { return c == U'W' ? 20 : 10; };
  return p;
}

std::vector<std::u32string> lines(const EditLayout& l, const std::u32string& text) {
  std::vector<std::u32string> out;
  for (int32_t i = 0; i < l.lineCount(); ++i) out.push_back(text.substr(l.line(i).start, l.line(i).length));
  return out;
}

TEST(EditLayoutTest, WrapsAtSpacesHangsBlanksAndBreaksLongWords) {
  EditLayout l;
  l.setParams(params(true, 100));  // ten narrow characters per line
  std::u32string t = U"aaaa bbbb cccc   dd\r\nWWWWWWW\r\n";
  l.rebuild(t);
  EXPECT_EQ(lines(l, t), (std::vector<std::u32string>{U"aaaa bbbb ", U"cccc   dd", U"WWWWW", U"WW", U""}));
  // The hanging space is not counted in the first line's width.
  EXPECT_EQ(std::tuple(l.line(0).soft, l.line(0).width, l.line(1).breakLength, l.line(2).width, l.line(4).start),
            std::tuple(true, 90, 2, 100, static_cast<int32_t>(t.size())));
  // A position at a soft break belongs to the next line; the caret's line end stays before
  // the hanging space.
  EXPECT_EQ(std::tuple(l.lineFromChar(10), l.lineEndForCaret(t, 0), l.lineEndForCaret(t, 1)), std::tuple(1, 9, 19));
  // x to the nearest boundary, past the end to the line's end.
  EXPECT_EQ(std::tuple(l.indexAtX(t, 1, 14), l.indexAtX(t, 1, 16), l.indexAtX(t, 1, 500)), std::tuple(11, 12, 19));

  // Without wrapping only CR LF breaks; with line breaks off there is one line.
  l.setParams(params(false, 100));
  l.rebuild(t);
  EXPECT_EQ(std::pair(l.lineCount(), l.maxWidth()), std::pair(3, 190));
  auto single = params(false, 100);
  single.lineBreaks = false;
  l.setParams(single);
  l.rebuild(t);
  EXPECT_EQ(l.lineCount(), 1);
}

TEST(EditLayoutTest, TabsAdvanceToTheNextStop) {
  EditLayout l;
  l.setParams(params(false, 0));
  std::u32string t = U"a\tbc\td";
  l.rebuild(t);
  EXPECT_EQ(std::pair(l.xOf(t, 0, 2), l.xOf(t, 0, 5)), std::pair(40, 80));
  std::vector<int32_t> adv;
  l.advances(t, 0, adv);
  EXPECT_EQ(adv, (std::vector<int32_t>{10, 30, 10, 10, 20, 10}));
}

// A window onto a line gives the characters that reach into it, with the advances and the x
// offset the whole line's advances give them (tabs counted from the line's start).
TEST(EditLayoutTest, AdvancesBetweenAreTheWholeLinesAdvancesThatReachTheWindow) {
  EditLayout l;
  l.setParams(params(false, 0));
  std::u32string t;
  for (int i = 0; i < 60; ++i) t += i % 7 == 0 ? U"\t" : i % 5 == 0 ? U"W" : U"ab";
  l.rebuild(t);
  std::vector<int32_t> whole, part;
  l.advances(t, 0, whole);
  for (const auto& [left, right] : {std::pair(-50, 30), std::pair(0, 0), std::pair(95, 180), std::pair(333, 334),
                                    std::pair(500, 100000), std::pair(100000, 200000)}) {
    int32_t from = -1, to = -1;
    const int32_t x = l.advancesBetween(t, 0, left, right, from, to, part);
    int32_t pen = 0, first = 0;
    while (first < static_cast<int32_t>(whole.size()) && pen + whole[static_cast<size_t>(first)] <= left)
      pen += whole[static_cast<size_t>(first++)];
    int32_t last = first, end = pen;
    while (last < static_cast<int32_t>(whole.size()) && end <= right) end += whole[static_cast<size_t>(last++)];
    EXPECT_EQ(std::tuple(from, to, x), std::tuple(first, last, pen)) << left << " " << right;
    EXPECT_EQ(part, std::vector<int32_t>(whole.begin() + first, whole.begin() + last)) << left << " " << right;
  }
}

// Random edits (typing runs, deletions, line breaks, pastes) re-laid out incrementally give the
// same lines as a layout from scratch.
TEST(EditLayoutTest, IncrementalUpdateMatchesRebuild) {
  std::mt19937 rng(12345);
  const std::u32string alphabet = U"abcW  \t";
  for (bool wrap : {true, false}) {
    EditLayout inc, full;
    inc.setParams(params(wrap, 95));
    full.setParams(params(wrap, 95));
    std::u32string text;
    inc.rebuild(text);
    for (int step = 0; step < 3000; ++step) {
      auto pos = static_cast<int32_t>(rng() % (text.size() + 1));
      int32_t removed = 0;
      std::u32string ins;
      switch (rng() % 6) {
        case 0: removed = std::min<int32_t>(static_cast<int32_t>(rng() % 8), static_cast<int32_t>(text.size()) - pos); break;
        case 1: ins = U"\r\n"; break;
        case 2: for (int k = 0; k < 12; ++k) ins += alphabet[rng() % alphabet.size()]; break;
        default: ins = std::u32string(1, alphabet[rng() % alphabet.size()]); break;
      }
      text.replace(static_cast<size_t>(pos), static_cast<size_t>(removed), ins);
      inc.update(text, pos, removed, static_cast<int32_t>(ins.size()));
      full.rebuild(text);
      ASSERT_EQ(inc.lineCount(), full.lineCount()) << "step " << step;
      for (int32_t i = 0; i < full.lineCount(); ++i) {
        const auto& a = inc.line(i);
        const auto& b = full.line(i);
        ASSERT_EQ(std::tuple(a.start, a.length, a.width, a.soft), std::tuple(b.start, b.length, b.width, b.soft))
            << "step " << step << " line " << i;
      }
    }
  }
}

}  // namespace
}  // namespace zxp::ui
