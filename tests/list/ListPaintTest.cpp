// The list control's painting: visible rows only (clipped at the row area's bottom), the fixed
// column while scrolling sideways, selection fills in both styles and both gradient variants,
// grid lines, the border, the scroll bar thumb and the angle gradient's two variants.

#include <cstdlib>

#include "list/ListControlFixture.h"
#include "platform/gfx/GdiRaii.h"

namespace zxp::testing {
namespace {

using list::LBGStyle;
using list::LGridLines;
using list::LSelectionStyle;
using list::ZorvaXPListBox;
using Part = ZorvaXPListBox::Part;

int channelDistance(COLORREF a, COLORREF b) {
  int d = 0;
  for (int s : {0, 8, 16}) d = std::max(d, std::abs(static_cast<int>((a >> s) & 0xFF) - static_cast<int>((b >> s) & 0xFF)));
  return d;
}

TEST_F(ListControl, OnlyVisibleRowsAreLaidOutAtLeast22HighAndTheLastIsClippedAtTheRowAreaBottom) {
  auto& l = place(300, 210);
  fillGrid(l, 100);
  // Row area 1..209: nine whole rows of 22 pixels and a tenth cut off by the bottom border.
  EXPECT_EQ(l.MaxVerticalDisplayItems(), 9);
  ASSERT_EQ(l.rowLayout().size(), 10u);
  EXPECT_EQ(l.rowLayout().back().top, 1 + 9 * 22);
  EXPECT_GT(l.rowLayout().back().bottom, 209);
  EXPECT_EQ(px(l, 50, 209), 0xA56E3Au);  // the border, not row 10's pixels
  EXPECT_NE(px(l, 50, 208), 0xA56E3Au);

  // The cost does not grow with the row count: a full repaint paints the visible rows only, and
  // scrolling by one row paints the rows of the new view.
  auto& big = place(300, 210, "big");
  fillGrid(big, 20000);
  const int64_t before = l.rowsPainted(), beforeBig = big.rowsPainted();
  l.RedrawMe();
  big.RedrawMe();
  EXPECT_EQ(std::tuple(l.rowsPainted() - before, big.rowsPainted() - beforeBig), std::tuple(10, 10));
  const int64_t scrolled = big.rowsPainted();
  big.setTopRow(2);
  EXPECT_EQ(big.topRow(), 2);
  EXPECT_LE(big.rowsPainted() - scrolled, 10);
  // A row height below 22 becomes 22 at the next layout.
  l.setRowHeight(10);
  EXPECT_EQ(std::tuple(l.RowHeight(), l.rowLayout()[0].bottom - l.rowLayout()[0].top), std::tuple(22, 22));
}

TEST_F(ListControl, ScrollingOneRowOverAFlatBackgroundPaintsTheIncomingRowsOnlyAndLooksLikeARepaint) {
  auto& l = place(300, 210);
  l.setBackgroundStyle(list::LBStyle::Normal);
  fillGrid(l, 100, 5);
  l.setSetFirstColumnAsFixed(true);
  l.setSelected(100, false);
  l.setSelected(4, true);
  l.setListIndex(4);
  auto snapshot = [&] {
    std::vector<COLORREF> out;
    for (int y = 0; y < 210; ++y)
      for (int x = 0; x < 300; ++x) out.push_back(px(l, x, y));
    return out;
  };
  for (int32_t step : {1, 2, -1, -2, 5}) {
    const int64_t before = l.rowsPainted();
    l.setTopRow(l.topRow() + step);
    EXPECT_LE(l.rowsPainted() - before, std::abs(step) + 1) << step;
    const std::vector<COLORREF> scrolled = snapshot();
    l.RedrawMe();
    EXPECT_EQ(scrolled, snapshot()) << step;
  }
}

TEST_F(ListControl, TheFixedColumnStaysWhileTheOthersScrollSideways) {
  auto& l = place(300, 200);
  fillGrid(l, 20, 6);
  l.setSetFirstColumnAsFixed(true);
  ASSERT_TRUE(l.horizontalBarShown());
  const int y = rowY(l, 2);
  const COLORREF fixedPixel = px(l, 10, y);
  const int column2Left = l.columnLayout()[2].left;
  EXPECT_EQ(column2Left, 81);
  // A press on the right arrow of the horizontal bar scrolls one step.
  at(l, 300 - 1 - 20 - 10, 200 - 11);
  input.click();
  EXPECT_GT(l.horizontalOffset(), 0);
  EXPECT_EQ(std::tuple(l.columnLayout()[1].left, l.columnLayout()[1].right, l.columnLayout()[2].left, px(l, 10, y)),
            std::tuple(1, 81, column2Left - l.horizontalOffset(), fixedPixel));
}

TEST_F(ListControl, SelectionFillsFollowTheStyleAndTheGradientVariantSwapsTheColours) {
  auto& l = place();
  fillGrid(l, 5);  // the last row added is the current, selected row
  ASSERT_TRUE(l.Selected(5));
  const auto& band = l.rowLayout()[4];
  l.setSelectionStyle(LSelectionStyle::LSSNormal);
  EXPECT_EQ(px(l, 150, band.top + 3), 0xE6B47Du);
  EXPECT_NE(px(l, 150, l.rowLayout()[0].top + 3), 0xE6B47Du);  // an unselected row
  // Angle 270 runs bottom to top: VistaStyle has colour 2 at the top, XpStyle colour 1.
  l.setSelectionStyle(LSelectionStyle::LSSGradient);
  const COLORREF vistaTop = px(l, 150, band.top);
  EXPECT_LE(channelDistance(vistaTop, 0xFEFCE2), 12);
  l.setSelectedGradientStyle(LBGStyle::XpStyle);
  const COLORREF xpTop = px(l, 150, band.top);
  EXPECT_LE(channelDistance(xpTop, 0xF0CB4A), 12);
  // Full-row selection runs from x = 2; the pixel at x = 1 is the background.
  EXPECT_NE(px(l, 1, band.top + 3), px(l, 2, band.top + 3));
}

TEST_F(ListControl, GridLinesAreDrawnByModeAndInTheSelectedGridColourInsideASelection) {
  auto& l = place();
  fillGrid(l, 5);
  const auto& row1 = l.rowLayout()[0];
  const int right1 = l.columnLayout()[1].right;
  EXPECT_EQ(px(l, 150, row1.bottom - 1), 0xBEBEBEu);
  EXPECT_EQ(px(l, right1 - 1, row1.top + 5), 0xBEBEBEu);
  EXPECT_EQ(px(l, right1 - 1, l.rowLayout()[4].top + 5), 0x000000u);  // row 5 is selected
  l.setGridLines(LGridLines::LGLVertical);
  EXPECT_NE(px(l, 150, row1.bottom - 1), 0xBEBEBEu);
  EXPECT_EQ(px(l, right1 - 1, row1.top + 5), 0xBEBEBEu);
  l.setGridLines(LGridLines::LGLNone);
  EXPECT_NE(px(l, right1 - 1, row1.top + 5), 0xBEBEBEu);
}

TEST_F(ListControl, ACellButtonIs19PixelsWideFrom21LeftOfTheCellsRightEdge) {
  // The button's frame is drawn in BorderColor; the edge is the column's closing line in a grid,
  // the control's width in a plain list without a vertical bar.
  const COLORREF frame = 0xA56E3Au;
  auto buttonSpan = [&](const list::ZorvaXPListBox& l, int y, int from, int to) {
    int first = -1, last = -1;
    for (int x = from; x < to; ++x)
      if (px(l, x, y) == frame) {
        if (first < 0) first = x;
        last = x;
      }
    return std::pair(first, last);
  };
  auto& g = place(300, 120);
  fillGrid(g, 2);
  g.setGridLines(LGridLines::LGLNone);
  g.setColumnStyle(2, list::LHStyle::Button);
  const auto& row = g.rowLayout()[0];
  const int edge = g.columnLayout()[2].right - 1;
  EXPECT_EQ(buttonSpan(g, row.top + 6, g.columnLayout()[2].left, edge + 1), std::pair(edge - 21, edge - 21 + 18));
  EXPECT_EQ(std::tuple(px(g, edge - 21, row.top + 2), px(g, edge - 21, row.bottom - 3)), std::tuple(frame, frame));

  auto& plain = place(200, 100, "plain", 150);
  plain.AddItem("one");
  plain.setCustomStyle(list::LHStyle::Button);
  const auto& r1 = plain.rowLayout()[0];
  EXPECT_EQ(buttonSpan(plain, r1.top + 6, 2, 199), std::pair(200 - 21, 200 - 21 + 18));
}

TEST_F(ListControl, TheBorderTakesTheFocusColourWhileFocused) {
  auto& l = place();
  fillGrid(l, 3);
  EXPECT_EQ(px(l, 0, 0), 0xA56E3Au);
  at(l, 100, rowY(l, 1));
  input.click();
  EXPECT_TRUE(l.focused());
  EXPECT_EQ(std::tuple(px(l, 0, 0), px(l, 299, 199)), std::tuple(0xE99227u, 0xE99227u));
}

TEST_F(ListControl, TheThumbIsAtLeast20PixelsAndTouchesTheTrackEnds) {
  auto& l = place(300, 210);
  fillGrid(l, 100);
  ASSERT_TRUE(l.verticalBarShown());
  const int x = 300 - 11;
  // Track 21..189; at the top the thumb starts one pixel into it and is 20 pixels long.
  EXPECT_EQ(std::tuple(l.hitTest(x, 5), l.hitTest(x, 21), l.hitTest(x, 22), l.hitTest(x, 41), l.hitTest(x, 42)),
            std::tuple(Part::VUp, Part::VTrack, Part::VThumb, Part::VThumb, Part::VTrack));
  l.setTopRow(1000);
  EXPECT_EQ(std::tuple(l.topRow(), l.hitTest(x, 187), l.hitTest(x, 188), l.hitTest(x, 195)),
            std::tuple(100 - 9 + 1, Part::VThumb, Part::VTrack, Part::VDown));
}

TEST_F(ListControl, HeadersShowTheCaptionsOverTheHeaderGradientWithTheirLines) {
  auto& l = place();
  fillGrid(l, 5);
  l.setShowHeaders(true);
  // Rows start below the header strip (22 + 2), the white line at y = 22, the border line at 23.
  // The rows start at 24; the last pixel of column 1 is its separator.
  EXPECT_EQ(std::tuple(l.rowLayout()[0].top, px(l, 40, 22), px(l, 40, 23), px(l, l.columnLayout()[1].right - 1, 10)),
            std::tuple(24, 0xFFFFFFu, 0xA56E3Au, 0xFFFFFFu));
  // The header gradient runs from colour 2 at the top to colour 1 at the bottom (angle 270); the
  // current column (1 after AddItem) wears the selected header gradient, the others rest.
  EXPECT_EQ(l.SelectedColIndex(), 1);
  EXPECT_LE(channelDistance(px(l, 150, 1), 0xF0C797), 16);
  EXPECT_LE(channelDistance(px(l, 150, 21), 0xB75F31), 16);
  // (The selected gradient is mirrored: colour 2 in the middle, colour 1 towards the edges.)
  EXPECT_LE(channelDistance(px(l, 40, 11), 0xFBB613), 16);
  EXPECT_LE(channelDistance(px(l, 40, 2), 0xFEFBCF), 32);
  // A click on a cell of column 2 makes it current: its header takes the look, column 1 rests.
  at(l, 120, rowY(l, 2));
  input.click();
  EXPECT_EQ(l.SelectedColIndex(), 2);
  EXPECT_LE(channelDistance(px(l, 120, 11), 0xFBB613), 16);
  EXPECT_LE(channelDistance(px(l, 40, 1), 0xF0C797), 16);
  EXPECT_LE(channelDistance(px(l, 40, 21), 0xB75F31), 16);
}

TEST_F(ListControl, TheTwoGradientVariantsDiffer) {
  MemoryDC dc(0);
  GdiObject bmp(CreateCompatibleBitmap(dc.get(), 10, 21));
  Selection s(dc.get(), bmp.get());
  const RECT r{0, 0, 10, 21};
  ZorvaXPListBox::fillAngleGradient(dc.get(), r, 0x000000, 0xFFFFFF, 90.0f, LBGStyle::VistaStyle);
  EXPECT_LE(channelDistance(GetPixel(dc.get(), 5, 0), 0x000000), 16);
  EXPECT_LE(channelDistance(GetPixel(dc.get(), 5, 10), 0x808080), 16);
  EXPECT_LE(channelDistance(GetPixel(dc.get(), 5, 20), 0xFFFFFF), 16);
  ZorvaXPListBox::fillAngleGradient(dc.get(), r, 0x000000, 0xFFFFFF, 90.0f, LBGStyle::XpStyle);
  EXPECT_LE(channelDistance(GetPixel(dc.get(), 5, 0), 0x000000), 30);
  EXPECT_LE(channelDistance(GetPixel(dc.get(), 5, 10), 0xFFFFFF), 16);
  EXPECT_LE(channelDistance(GetPixel(dc.get(), 5, 20), 0x000000), 30);
  // Angle 0 runs left to right.
  ZorvaXPListBox::fillAngleGradient(dc.get(), r, 0x0000FF, 0xFF0000, 0.0f, LBGStyle::VistaStyle);
  EXPECT_LE(channelDistance(GetPixel(dc.get(), 0, 10), 0x0000FF), 30);
  EXPECT_LE(channelDistance(GetPixel(dc.get(), 9, 10), 0xFF0000), 30);
}

}  // namespace
}  // namespace zxp::testing
