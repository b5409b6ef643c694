// The list's compact row storage: rows handed out stay the list's live rows through sorts,
// rewrites and the pool's compaction; texts taken from the list itself are written back safely;
// rows beyond the compact limits keep every member.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "list/ListData.h"
#include "list/ListRows.h"

namespace zxp::list {
namespace {

using Texts = std::vector<std::string>;

Texts columnCells(const ListData& d, int32_t c) {
  Texts out;
  for (int32_t r = 1; r <= d.ListCount(); ++r) out.push_back(d.TextMatrix(r, c));
  return out;
}

// A row's text of `width` bytes in two columns: its number, a TAB, then filler.
std::string rowText(int n, size_t width, char fill) {
  std::string t = std::to_string(n) + '\t';
  t.resize(width, fill);
  return t;
}

TEST(ListRowsLive, AHeldRowStaysLiveThroughSortsRewritesAndCompaction) {
  ListData d;
  d.LockUpdate = true;
  d.AddNewColumn("n", 50);
  d.AddNewColumn("t", 50);
  constexpr int kRows = 3000;
  for (int i = 0; i < kRows; ++i) d.AddItem(rowText(i, 400, 'a'));
  RowRef held = d.Item(10);
  // Every text rewritten twice: the old entries pass the live bytes and the pool is compacted.
  for (char fill : {'b', 'c'}) {
    for (int i = 1; i <= kRows; ++i) d.ModifyItemText(i, rowText(i - 1, 400, fill));
  }
  EXPECT_EQ(std::tuple(held->iCell(1), held->iCell(2).substr(0, 3)), std::tuple("9", "ccc"));
  // Changes reach both ways: through the held row and through the list.
  held->setiCell(2, "mine");
  EXPECT_EQ(d.TextMatrix(10, 2), "mine");
  d.ModifyItemText(10, "-1\tlist's");
  EXPECT_EQ(std::tuple(held->iCell(1), held->iCell(2)), std::tuple("-1", "list's"));
  // A descending numeric sort moves the held row (value -1) to the end, the others in order.
  d.ResortCol(1, LSortMethod::LSDescending);
  EXPECT_TRUE(d.Item(kRows) == held);
  const Texts numbers = columnCells(d, 1);
  for (int r = 1; r < kRows; ++r) {
    const int expected = r <= kRows - 10 ? kRows - r : kRows - r - 1;
    ASSERT_EQ(numbers[static_cast<size_t>(r - 1)], std::to_string(expected)) << r;
    ASSERT_EQ(d.TextMatrix(r, 2), rowText(expected, 400, 'c').substr(std::to_string(expected).size() + 1)) << r;
  }
  // Removed from the list, the row keeps its cells.
  d.setListIndex(kRows);
  EXPECT_TRUE(d.RemoveItem(kRows));
  EXPECT_EQ(std::tuple(held->iCell(2), held.use_count(), d.ListCount()), std::tuple("list's", 1u, kRows - 1));
}

TEST(ListRowsStorage, ThePoolIsCompactedOnceItsWasteExceedsItsLiveTexts) {
  ListRows rows;
  constexpr int kRows = 4000;
  for (int i = 0; i < kRows; ++i) {
    rows.appendEmpty();
    rows.initColumns(rows.size() - 1, 2);
    rows.assignPieces(rows.size() - 1, rowText(i, 300, 'a'), 2);
    rows.setItemData(rows.size() - 1, i);
  }
  const size_t full = rows.poolCapacity();
  for (int i = 0; i < kRows; ++i) rows.assignPieces(static_cast<size_t>(i), rowText(i, 300, 'b'), 2);
  // Compaction writes the live entries again: the pool ends no larger than with one text a row.
  EXPECT_LE(rows.poolCapacity(), full + (size_t{1} << 20));
  EXPECT_LT(rows.poolWaste(), size_t{2} << 20);
  for (int i = 0; i < kRows; ++i) {
    const auto p = static_cast<size_t>(i);
    ASSERT_EQ(std::tuple(rows.cell(p, 1), rows.wholeText(p), rows.itemData(p), rows.boxed(p)),
              std::tuple(std::to_string(i), rowText(i, 300, 'b'), i, false))
        << i;
  }
}

// A text read from the list is a view into its pool; writing it back, into another row or a new
// one, must copy it before the pool moves or drops anything.
TEST(ListRowsStorage, TextsTakenFromTheListItselfAreWrittenBackWhole) {
  ListData d;
  d.LockUpdate = true;
  d.AddNewColumn("a", 50);
  d.AddNewColumn("b", 50);
  d.AddItem("first\tone");
  // Each new row copies the last one's text while the pool starts new blocks.
  for (int i = 0; i < 2000; ++i) d.AddItem(d.List(d.ListCount()));
  d.setListIndex(d.ListCount());
  const std::string longText = rowText(7, 3000, 'z');
  d.ModifyItemText(1, longText);
  for (int32_t r = 2; r <= d.ListCount(); ++r) ASSERT_TRUE(d.ModifyItemText(r, d.List(r - 1))) << r;
  for (int32_t r = 1; r <= d.ListCount(); ++r) ASSERT_EQ(d.List(r), longText) << r;
  // Its own text given back to a row, and another row's text into one cell.
  EXPECT_TRUE(d.ModifyItemText(5, d.List(5)));
  d.setTextMatrix(6, 2, d.List(7));
  EXPECT_EQ(std::tuple(d.List(5), d.TextMatrix(6, 2)), std::tuple(longText, longText));
  d.FindAndReplace("7", d.List(8), true, 1, 1);
  EXPECT_EQ(d.TextMatrix(d.ListCount(), 1), longText);
}

// Reads through the list and through the handed-out row, before and after the row left the
// compact storage, for every kind of content.
TEST(ListRowsStorage, RowsBeyondTheCompactLimitsAndHandedOutRowsKeepEveryMember) {
  ListData d;
  d.LockUpdate = true;
  for (int c = 1; c <= 300; ++c) d.AddNewColumn("c" + std::to_string(c), 30);
  std::string wide;  // 300 pieces: more than a compact row keeps
  for (int c = 1; c <= 300; ++c) wide += (c > 1 ? "\t" : "") + std::to_string(c);
  const std::string huge(5000, 'h');  // longer than a compact text
  d.AddItem(wide, false, 5, 0, 0, true, false, true);
  d.AddItem(huge + "\tsecond", false, -7);
  d.AddItem("plain\tcells", false, 0, 0, 0, false, true);
  d.setItemData(3, 9);
  d.setItemData(3, 0);
  auto snapshot = [&d](int32_t r) {
    const RowView v = d.rowView(r);
    Texts cells;
    for (int32_t c = 1; c <= v.cellCount(); ++c) cells.push_back(std::string(v.iCell(c)));
    return std::tuple(cells, std::string(v.wholeText()), v.ItemData(), v.iRow(), v.iItemUnicode(), v.iValue());
  };
  for (int32_t r = 1; r <= 3; ++r) {
    const auto before = snapshot(r);
    RowRef row = d.Item(r);
    EXPECT_EQ(snapshot(r), before) << r;
    Texts cells;
    for (int32_t c = 1; c <= row->cellCount(); ++c) cells.push_back(std::string(row->iCell(c)));
    EXPECT_EQ(std::tuple(cells, std::string(row->wholeText()), row->ItemData(), row->iRow(), row->iItemUnicode(),
                         row->iValue()),
              before)
        << r;
  }
  EXPECT_EQ(std::tuple(d.TextMatrix(1, 300), d.TextMatrix(2, 1).size(), d.ItemData(2), d.ItemData(3)),
            std::tuple("300", huge.size(), -7, 0));
}

}  // namespace
}  // namespace zxp::list
