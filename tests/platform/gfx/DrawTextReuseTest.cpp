// DrawText keeps the lines of the last text it laid out, so that measuring a caption and then
// drawing it (and repainting it) lays it out once. Whatever changes the lines - the font, the
// width, the alignment, the prefix and tab flags, the text - must give a new layout.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/Text.h"
#include "platform/gfx/TextCanvas.h"

namespace zxp {
namespace {

constexpr UINT kWrap = DT_WORDBREAK | DT_WORD_ELLIPSIS;

using Page = testing::TextCanvas;

// DT_CALCRECT's rectangle for the text at a width, as {right, bottom}.
std::pair<int, int> measure(HDC dc, const std::string& text, int width, UINT format) {
  RECT r{0, 0, width, 80};
  DrawText(dc, text, &r, format | DT_CALCRECT);
  return {r.right, r.bottom};
}

// The same measurement with the kept layout pushed out by another text first.
std::pair<int, int> measureFresh(HDC dc, const std::string& text, int width, UINT format) {
  RECT other{0, 0, 7, 7};
  DrawText(dc, "~unrelated~", &other, DT_CALCRECT);
  return measure(dc, text, width, format);
}

TEST(DrawTextReuse, EveryInputOfTheLayoutIsPartOfWhatIsKept) {
  Page page(200, 80);
  const std::string text = "Wrapped caption && more words";
  // Width: the same text wraps into more lines when narrower.
  const auto wide = measure(page.dc, text, 190, kWrap);
  const auto narrow = measure(page.dc, text, 50, kWrap);
  EXPECT_GT(narrow.second, wide.second);
  EXPECT_EQ(narrow, measureFresh(page.dc, text, 50, kWrap));
  EXPECT_EQ(measure(page.dc, text, 190, kWrap), wide);
  // Alignment: a wrapped left-aligned line keeps its trailing space, a centred one does not.
  const auto left = measure(page.dc, "aaa bbb ccc ddd", 60, kWrap);
  const auto centred = measure(page.dc, "aaa bbb ccc ddd", 60, kWrap | DT_CENTER);
  EXPECT_EQ(centred, measureFresh(page.dc, "aaa bbb ccc ddd", 60, kWrap | DT_CENTER));
  EXPECT_EQ(left, measureFresh(page.dc, "aaa bbb ccc ddd", 60, kWrap));
  // Prefixes: "&&" is one "&" unless DT_NOPREFIX keeps both.
  const auto prefixed = measure(page.dc, "A&&B", 190, 0);
  const auto literal = measure(page.dc, "A&&B", 190, DT_NOPREFIX);
  EXPECT_GT(literal.first, prefixed.first);
  // Tabs: expanded only with DT_EXPANDTABS, and to the stop DT_TABSTOP sets.
  const auto tabs8 = measure(page.dc, "a\tb", 190, DT_EXPANDTABS);
  const auto tabs2 = measure(page.dc, "a\tb", 190, DT_EXPANDTABS | DT_TABSTOP | (2 << 8));
  EXPECT_LT(tabs2.first, tabs8.first);
  EXPECT_EQ(tabs8, measureFresh(page.dc, "a\tb", 190, DT_EXPANDTABS));
  // The text: a text that shares the start of the kept one is a different text.
  EXPECT_EQ(measure(page.dc, "Wrapped", 190, kWrap), measureFresh(page.dc, "Wrapped", 190, kWrap));
}

TEST(DrawTextReuse, AnotherFontOrAFontMadeAgainLaysTheTextOutAgain) {
  Page page(200, 80);
  const std::string text = "Font change";
  const auto small = measure(page.dc, text, 190, kWrap);
  const HFONT large = Page::fontOf(20, "MS Sans Serif");
  const HGDIOBJ old = SelectObject(page.dc, large);
  const auto big = measure(page.dc, text, 190, kWrap);
  EXPECT_GT(big.first, small.first);
  EXPECT_GT(big.second, small.second);
  SelectObject(page.dc, old);
  EXPECT_EQ(measure(page.dc, text, 190, kWrap), small);
  // The large font deleted and a font of another face made in its place.
  DeleteObject(large);
  const HFONT other = Page::fontOf(20, "Courier New");
  SelectObject(page.dc, other);
  EXPECT_EQ(measure(page.dc, text, 190, kWrap), measureFresh(page.dc, text, 190, kWrap));
  SelectObject(page.dc, old);
  DeleteObject(other);
}

TEST(DrawTextReuse, DrawingAfterMeasuringPaintsWhatDrawingAlonePaints) {
  const std::string text = "Measured &then drawn, wrapped";
  Page alone(200, 80), after(200, 80);
  RECT r{10, 10, 90, 70};
  DrawText(alone.dc, text, &r, kWrap | DT_CENTER);
  DrawText(alone.dc, text, &r, kWrap | DT_CENTER);  // a repaint over the same pixels
  RECT m{10, 10, 90, 70};
  DrawText(after.dc, text, &m, kWrap | DT_CENTER | DT_CALCRECT);
  RECT d{10, 10, 90, 70};
  DrawText(after.dc, text, &d, kWrap | DT_CENTER);
  DrawText(after.dc, text, &d, kWrap | DT_CENTER);  // a repaint over the same pixels
  for (int32_t y = 0; y < alone.surface->height(); ++y)
    ASSERT_EQ(std::memcmp(alone.surface->row(y), after.surface->row(y), alone.surface->width() * 4u), 0) << y;
}

// A long text is laid out again only around what shows: a window onto the middle of a wrapped
// text of thousands of lines (past the lines kept whole), and onto the end of one long line,
// shows the pixels the same text has there on a page that holds all of it. Centred, with an
// access key, underlined and on an opaque background, so every part of a line is checked.
TEST(DrawTextReuse, AWindowOntoALongTextShowsWhatTheWholeTextHasThere) {
  std::string words;
  for (int i = 0; i < 2600; ++i) words += (i % 5 == 0 ? "&wrapped " : i % 3 ? "words go " : "on\r\n");
  const HFONT underlined = [] {
    gfx::FontDesc d;
    d.name = "MS Sans Serif";
    d.size = 8;
    d.underline = true;
    return d.create();
  }();
  for (const bool opaque : {false, true}) {
    Page whole(120, 30000), window(120, 60);
    for (Page* p : {&whole, &window}) {
      SelectObject(p->dc, underlined);
      if (opaque) {
        SetBkMode(p->dc, OPAQUE);
        SetBkColor(p->dc, RGB(200, 220, 240));
      }
    }
    RECT all{0, 0, 120, 30000};
    RECT measured = all;
    const int height = DrawText(whole.dc, words, &measured, kWrap | DT_CENTER | DT_CALCRECT);
    ASSERT_GT(height / whole.lineHeight(), 1100);  // more lines than are kept whole
    ASSERT_LT(height, 30000);
    DrawText(whole.dc, words, &all, kWrap | DT_CENTER);
    for (const int top : {-20000, -12345, -height + 40}) {
      window.clear();
      RECT shifted{0, top, 120, top + 30000};
      DrawText(window.dc, words, &shifted, kWrap | DT_CENTER);
      for (int y = 0; y < 60; ++y)
        ASSERT_EQ(std::memcmp(window.surface->row(y), whole.surface->row(y - top), 120 * 4u), 0) << top << " row " << y;
    }
  }
  // One line of 3000 characters, right-aligned: a window onto its end and onto its middle.
  std::string line;
  for (int i = 0; i < 600; ++i) line += i % 4 ? "ab&cd" : "w&&ide";
  Page whole(30000, 20), window(100, 20);
  SelectObject(whole.dc, underlined);
  SelectObject(window.dc, underlined);
  RECT all{0, 0, 30000, 20};
  DrawText(whole.dc, line, &all, DT_SINGLELINE | DT_RIGHT);
  for (const int left : {-29900, -15000}) {
    window.clear();
    RECT shifted{left, 0, left + 30000, 20};
    DrawText(window.dc, line, &shifted, DT_SINGLELINE | DT_RIGHT);
    for (int y = 0; y < 20; ++y)
      ASSERT_EQ(std::memcmp(window.surface->row(y), whole.surface->row(y) - left, 100 * 4u), 0) << left << " row " << y;
  }
  for (Page* p : {&whole, &window}) SelectObject(p->dc, p->font);
  DeleteObject(underlined);
}

}  // namespace
}  // namespace zxp
