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

}  // namespace
}  // namespace zxp
