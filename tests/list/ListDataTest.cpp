// The list's data model: current-row and selection rules of adding and removing rows, the
// errors and fallbacks of bad indexes, columns, searching, sums and check ranges.
#include <gtest/gtest.h>


#include <functional>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "list/ListData.h"
#include "platform/base/HostError.h"
#include "platform/host/PropertyBag.h"
#include "platform/host/Variant.h"

namespace zxp::list {
namespace {

int errorNumber(const std::function<void()>& f) {
  try {
    f();
  } catch (const HostError& e) {
    return e.number();
  }
  return 0;
}

ListData grid(int columns, const std::vector<std::string>& rows) {
  ListData d;
  for (int c = 1; c <= columns; ++c) d.AddNewColumn("H" + std::to_string(c), 100);
  for (const auto& r : rows) d.AddItem(r);
  return d;
}

// Row r's cells, first column to last, and column c's cells, first row to last.
using Texts = std::vector<std::string>;
Texts rowCells(const ListData& d, int32_t r) {
  Texts out;
  for (int32_t c = 1; c <= d.ColumnsCount(); ++c) out.push_back(d.TextMatrix(r, c));
  return out;
}
Texts columnCells(const ListData& d, int32_t c) {
  Texts out;
  for (int32_t r = 1; r <= d.ListCount(); ++r) out.push_back(d.TextMatrix(r, c));
  return out;
}

std::vector<bool> flags(const ListData& d) {
  std::vector<bool> v;
  for (int32_t i = 1; i <= d.ListCount(); ++i) v.push_back(d.Selected(i));
  return v;
}

// Found by the monkey: Rows set to the largest Long allocated rows for minutes. Past the limit
// the assignment is refused and the list keeps its rows.
TEST(ListDataRows, RowsBeyondTheLimitAreRefusedWithOutOfMemory) {
  ListData d;
  d.setRows(3);
  EXPECT_EQ(d.ListCount(), 3);
  for (int32_t n : {std::numeric_limits<int32_t>::max(), ListData::kMaxRowsAtOnce + 1}) {
    try {
      d.setRows(n);
      ADD_FAILURE() << n << " accepted";
    } catch (const HostError& e) {
      EXPECT_EQ(e.number(), errOutOfMemory);
    }
  }
  EXPECT_EQ(d.ListCount(), 3);
}

TEST(ListDataRows, AddingMakesTheNewRowCurrentAndTheOnlySelectedInSingleMode) {
  ListData d;
  EXPECT_EQ(d.ListIndex(), -1);
  int before = 0, after = 0, refreshes = 0;
  d.BeforeInsert = [&] { EXPECT_EQ(before, after); ++before; };
  d.AfterInsert = [&] { ++after; };
  d.onRefresh = [&] { ++refreshes; };
  EXPECT_TRUE(d.AddItem("one", true, 7, 3, 4, true, false, true) && d.AddItem("two") && d.AddItem("three"));
  EXPECT_EQ(std::tuple(before, after, refreshes, d.ListIndex()), std::tuple(3, 3, 3, 3));
  EXPECT_EQ(flags(d), (std::vector<bool>{false, false, true}));
  auto first = d.Item(1);
  EXPECT_EQ(std::tuple(first->iCell(1), first->iValue(), first->ItemData(), first->iNormalIcon(1), first->iSelectedIcon(1)),
            std::tuple("one", true, 7, 3, 4));
  EXPECT_EQ(first->iItemUnicode(), (LItemUnicode{-1, 0, -1, 0}));
  // Item hands out the live row.
  first->setiCell(1, "changed");
  EXPECT_EQ(d.TextMatrix(1, 1), "changed");
  // LockUpdate silences refreshes.
  d.LockUpdate = true;
  d.AddItem("four");
  EXPECT_EQ(refreshes, 3);
}

TEST(ListDataRows, ExtendedCellSelectionKeepsThePreviousRowInsideTheRange) {
  ListData d = grid(2, {"a", "b"});
  d.SelectedMode = LSelectedMode::LSMExtend;
  d.SelectedModeStyle = LSelectedModeStyle::LSMSCell;
  d.setExtendedRows(3, 1);  // either order
  d.AddItem("c");           // previous row 2 is inside 1..3: keeps its flag
  EXPECT_EQ(flags(d), (std::vector<bool>{false, true, true}));
  d.setExtendedRows(1, 2);
  d.AddItem("d");           // previous row 3 is outside: cleared
  EXPECT_EQ(flags(d), (std::vector<bool>{false, true, false, true}));
}

TEST(ListDataRows, MultiColumnRowsSplitTextAndIconsAndFollowNewColumns) {
  ListData d = grid(3, {});
  d.AddItem("a\tb\tc\textra", false, 0, 0, 5, false, false, false, false, "1,x,3");
  auto r = d.Item(1);
  EXPECT_EQ(std::tuple(r->cellCount(), r->iCell(3)), std::tuple(3, "c"));
  // "x" is not numeric.
  EXPECT_EQ((std::vector<int32_t>{r->iNormalIcon(1), r->iNormalIcon(2), r->iNormalIcon(3), r->iSelectedIcon(1)}),
            (std::vector<int32_t>{1, 0, 3, 5}));
  EXPECT_EQ(d.List(1), "a\tb\tc\textra");
  d.AddItem("short");
  EXPECT_EQ(rowCells(d, 2), (Texts{"short", "", ""}));
  // A new column reaches every existing row at the next insertion.
  d.AddNewColumn("H4", 50);
  d.AddItem("p\tq\tr\ts");
  EXPECT_EQ(d.Item(1)->cellCount(), 4);
  // Row 1's text's fourth piece came after the last column.
  EXPECT_EQ(std::tuple(rowCells(d, 1), d.TextMatrix(3, 4)), std::tuple((Texts{"a", "b", "c", ""}), "s"));
}

// A row keeps only its whole text while its cells are that text's pieces; these cases move a row
// between that form and separately stored cells and check that no cell or text is lost.
TEST(ListDataRows, CellsAndWholeTextSurviveEveryChangeOfTheRowsStorage) {
  ListData d = grid(3, {"a\tb\tc", "x\ty\tz"});
  // A cell written on its own: the whole text stays what the row was added with.
  d.setTextMatrix(1, 2, "B");
  EXPECT_EQ(std::tuple(d.List(1), rowCells(d, 1)), std::tuple("a\tb\tc", (Texts{"a", "B", "c"})));
  // A new text with fewer pieces keeps the later cells, in either storage.
  d.setListIndex(2);
  EXPECT_TRUE(d.ModifyItemText(2, "p"));
  EXPECT_EQ(std::tuple(d.List(2), rowCells(d, 2)), std::tuple("p", (Texts{"p", "y", "z"})));
  EXPECT_TRUE(d.ModifyItemText(1, "q"));
  EXPECT_EQ(d.TextMatrix(1, 2), "B");
  // The row's own text given back to it, and texts too long to live inside the row object.
  EXPECT_TRUE(d.ModifyItemText(2, d.List(2)));
  EXPECT_EQ(d.List(2), "p");
  const std::string longCell(300, 'w');
  EXPECT_TRUE(d.ModifyItemText(2, longCell + "\t2\t3"));
  EXPECT_EQ(rowCells(d, 2), (Texts{longCell, "2", "3"}));
  EXPECT_TRUE(d.ModifyItemText(2, "s\tt\tu"));
  EXPECT_EQ(std::tuple(d.List(2), rowCells(d, 2), d.FindItem("T", 2, 1)),
            std::tuple("s\tt\tu", (Texts{"s", "t", "u"}), 2));
  // A held row is an independent copy when copied.
  clsLItem copy = *d.Item(1);
  d.Item(1)->setiCell(1, "changed");
  EXPECT_EQ(std::pair(copy.iCell(1), copy.iCell(2)), std::pair(std::string_view("q"), std::string_view("B")));
  // A row the caller holds outlives its removal from the list, and one reference can be shared.
  RowRef held = d.Item(2);
  RowRef second = held;
  EXPECT_EQ(held.use_count(), 3u);
  d.ClearAll();
  EXPECT_EQ(std::tuple(second.use_count(), held->iCell(2)), std::tuple(2u, "t"));
  EXPECT_TRUE(d.AddItemEx(held));
  EXPECT_EQ(d.List(1), "s\tt\tu");

  // Single-column rows: cell 1 is the whole text, TABs included.
  ListData single = grid(0, {"one\ttwo"});
  EXPECT_EQ(std::tuple(single.TextMatrix(1, 1), single.Item(1)->cellCount(), single.FindItem("ONE\tTWO", 0, 1)),
            std::tuple("one\ttwo", 1, 1));
  EXPECT_TRUE(single.ModifyItemText(1, ""));
  EXPECT_EQ(std::string(single.List(1)) + single.TextMatrix(1, 1), "");
}

TEST(ListDataRowObject, AttributesReadBackAsTrueOrFalse) {
  clsLItem r;
  r.setiItemUnicode(LItemUnicode{1, 0, -1, 5});
  EXPECT_EQ(r.iItemUnicode(), (LItemUnicode{-1, 0, -1, -1}));
  r.setiValue(true);
  r.setiItemUnicode(LItemUnicode{});
  EXPECT_TRUE(r.iValue());  // the check flag is kept beside the attribute bits
  EXPECT_EQ(r.iItemUnicode(), LItemUnicode{});
}

TEST(ListDataRows, RemoveItemFollowsTheCurrentRowRules) {
  ListData d = grid(0, {"1", "2", "3", "4", "5"});
  d.setListIndex(3);
  EXPECT_FALSE(d.RemoveItem(5));  // beyond the current row
  EXPECT_FALSE(d.RemoveItem(0));
  EXPECT_EQ(d.ListCount(), 5);

  // Removing a middle row: rows and flags move up; the current row number stays and its flag is set.
  EXPECT_TRUE(d.RemoveItem(2));
  EXPECT_EQ(std::tuple(columnCells(d, 1), d.ListIndex()), std::tuple((Texts{"1", "3", "4", "5"}), 3));
  EXPECT_EQ(flags(d), (std::vector<bool>{false, false, true, true}));

  // Removing the current last row makes the new last row current and selected.
  d.setListIndex(4);
  d.setSelected(4, false);
  EXPECT_TRUE(d.RemoveItem(4));
  EXPECT_EQ(std::tuple(d.ListIndex(), d.ListCount(), d.Selected(3)), std::tuple(3, 3, true));

  // A current row set past the last row (ListIndex takes any number) lets a missing row through
  // the first check: it is out of range, and nothing changes.
  d.setListIndex(1 << 24);
  EXPECT_THROW(d.RemoveItem(13), HostError);
  EXPECT_EQ(std::tuple(columnCells(d, 1), d.ListCount()), std::tuple((Texts{"1", "3", "4"}), 3));
}

TEST(ListDataRows, RemovingWhileIteratingEmptiesTheListCleanly) {
  ListData d = grid(2, {"a\t1", "b\t2", "c\t3", "d\t4"});
  // Remove every row holding an even number while walking down, as a caller would.
  for (int32_t i = 1; i <= d.ListCount();) {
    if (std::stoi(d.TextMatrix(i, 2)) % 2 == 0) {
      d.setListIndex(d.ListCount());
      ASSERT_TRUE(d.RemoveItem(i));
    } else {
      ++i;
    }
  }
  EXPECT_EQ(columnCells(d, 1), (Texts{"a", "c"}));
  // Removing from the back down to nothing ends in the cleared state.
  while (d.ListCount() > 0) ASSERT_TRUE(d.RemoveItem(d.ListCount()));
  EXPECT_EQ(std::pair(d.ListIndex(), d.SelectedCount()), std::pair(-1, 0));
  EXPECT_FALSE(d.RemoveItem(1));
  EXPECT_EQ(d.ClearAll(), -1);
}

TEST(ListDataRows, RowsAndReplaceAndSwap) {
  ListData d = grid(2, {"a\t1", "b\t2", "c\t3"});
  auto b = d.Item(2);
  d.SwapItems(1, 3);
  EXPECT_EQ(std::tuple(d.TextMatrix(1, 1), d.Item(2)), std::tuple("c", b));
  EXPECT_EQ(flags(d), (std::vector<bool>{false, false, true}));  // flags stay with positions
  d.SwapItems(9, 1);  // first index out of range: nothing
  EXPECT_EQ(d.TextMatrix(1, 1), "c");

  auto fresh = makeRow();
  EXPECT_TRUE(d.ReplaceAItem(2, fresh));
  EXPECT_EQ(fresh->cellCount(), 2);
  EXPECT_FALSE(d.ReplaceAItem(4, makeRow()));

  EXPECT_TRUE(d.ModifyItemText(1, "x\ty"));
  EXPECT_EQ(std::tuple(d.TextMatrix(1, 2), d.List(1)), std::tuple("y", "x\ty"));

  const std::vector<host::Variant> values{host::Variant(int32_t{12}), host::Variant(2.5), host::Variant(true)};
  d.AddItemsByParamArray(values);
  EXPECT_EQ(std::tuple(columnCells(d, 1), d.ListIndex()), std::tuple((Texts{"x", "", "a", "12", "2.5", "True"}), 6));

  d.setRows(4);
  EXPECT_EQ(std::tuple(d.ListCount(), d.TextMatrix(4, 1), d.ListIndex()), std::tuple(4, "", 4));
}

TEST(ListDataRows, ActiveCellIsTheCurrentRowAtTheCurrentColumn) {
  ListData d = grid(3, {"a\tb\tc", "d\te\tf"});
  d.setSelectedColIndex(2);
  EXPECT_EQ(d.SelectedCell(), "e");
  d.setListIndex(1);
  d.setActiveCellValue("B");
  d.setActiveCellNormalIcon(4);
  d.setActiveCellSelectedIcon(6);
  EXPECT_EQ(std::tuple(d.TextMatrix(1, 2), d.Item(1)->iNormalIcon(2), d.ActiveCellSelectedIcon()), std::tuple("B", 4, 6));
  d.setActiveCellNormalIcon(-1);  // -1 leaves the index as it is
  EXPECT_EQ(d.ActiveCellNormalIcon(), 4);
  d.setListIndex(-1);  // no current row: reads are empty, writes ignored
  EXPECT_EQ(std::pair(d.ActiveCellValue(), d.ActiveCellNormalIcon()), std::pair(std::string(), 0));
  d.setSelectedCell("x");
  EXPECT_EQ(d.TextMatrix(1, 2), "B");
}

TEST(ListDataErrors, UncheckedMembersRaiseSubscriptOutOfRange) {
  ListData d = grid(2, {"a\tb"});
  ListData none;
  const std::function<void()> calls[] = {[&] { d.Item(2); },          [&] { d.Selected(2); },
                                         [&] { d.ItemData(5); },      [&] { d.List(2); },
                                         [&] { d.SwapItems(1, 2); },  [&] { d.RemoveColumn(3); },
                                         [&] { d.ColumnText(3); },    [&] { d.Item(1)->iCell(3); },
                                         [&] { none.RemoveColumn(1); }};
  for (size_t i = 0; i < std::size(calls); ++i) EXPECT_EQ(errorNumber(calls[i]), errSubscriptOutOfRange) << "call " << i;
  // Nothing changed on the way.
  EXPECT_EQ(std::tuple(d.ListCount(), rowCells(d, 1)), std::tuple(1, (Texts{"a", "b"})));
}

TEST(ListDataErrors, CheckedMembersAnswerFalseZeroOrMinusOne) {
  ListData d = grid(2, {"a\t1"});
  EXPECT_EQ(d.TextMatrix(2, 1), "");
  d.setTextMatrix(1, 3, "no");
  d.setTextMatrix(0, 1, "no");
  EXPECT_EQ(d.List(1), "a\t1");
  EXPECT_FALSE(d.CheckSpecifyRange(3, 1, 1, true) || d.CheckSpecifyRange(1, 1, 2, true) ||
               d.SetIconByImageList(2, 1, 1, 1) || d.ModifyItemText(2, "x"));
  EXPECT_EQ(std::tuple(d.FindItem("a", 1, 2), d.FindAndReplace("a", "b", false, 1, 0), d.Sum(5), d.Average(0)),
            std::tuple(0, 0, 0, 0.0));
  EXPECT_EQ(d.TextMatrix(1, 1), "a");
  d.ResortCol(9);  // column out of range: nothing
}

TEST(ListDataColumns, WidthsBelowTwentyAreIgnoredAndClearingFallsBackToOneColumn) {
  ListData d = grid(3, {"a\tb\tc"});
  d.setColumnWidth(2, 19);
  EXPECT_EQ(d.ColumnWidth(2), 100);
  d.setColumnWidth(2, 20);
  EXPECT_EQ(d.ColumnWidth(2), 20);
  d.RemoveColumn(2);
  EXPECT_EQ(std::pair(d.ColumnsCount(), d.ColumnText(2)), std::pair(2, std::string("H3")));
  d.setSelectedColIndex(7);
  EXPECT_EQ(d.SelectedColIndex(), 2);
  d.ClearAllColumns();
  EXPECT_EQ(std::pair(d.multiColumn(), d.SelectedColIndex()), std::pair(false, 1));
  EXPECT_EQ(d.TextMatrix(1, 99), "a");  // single-column mode: any column is cell 1
}

TEST(ListDataColumns, PersistedColumnsRoundTripWithTheirKeysAndDefaults) {
  ListData d;
  d.AddNewColumn("Name", 100, LHStyle::Default, LHAlignment::Center);  // all defaults but the text
  d.AddNewColumn("", 45, LHStyle::CheckBox, LHAlignment::Right);
  host::PropertyBag bag;
  d.WriteColumns(bag);
  // Keys ignore case.
  EXPECT_EQ(std::tuple(bag.read<int16_t>("ColumnsCount", 0), bag.read<std::string>("ColumnText1", "?"),
                       bag.read<int32_t>("columnwidth2", 0), bag.read<int32_t>("ColumnAlignment2", 0)),
            std::tuple(2, "Name", 45, 2));
  ListData back;
  back.ReadColumns(bag);
  ASSERT_EQ(back.ColumnsCount(), 2);
  EXPECT_EQ(std::tuple(back.ColumnText(1), back.ColumnWidth(1), back.ColumnAlignment(1), back.ColumnWidth(2),
                       back.ColumnStyle(2), back.ColumnAlignment(2)),
            std::tuple("Name", 100, LHAlignment::Center, 45, LHStyle::CheckBox, LHAlignment::Right));
  host::PropertyBag bad;
  bad.WriteProperty("ColumnsCount", int16_t{1});
  bad.WriteProperty("ColumnWidth1", "wide");
  EXPECT_EQ(errorNumber([&] { ListData().ReadColumns(bad); }), errTypeMismatch);
}

TEST(ListDataSearch, FindMatchesWholeCellsIgnoringCase) {
  ListData d = grid(2, {"x\tABCD", "y\tABC", "z\tabc", "w\télan"});
  EXPECT_EQ(d.FindItem("abc"), 0);           // no start row
  EXPECT_EQ(d.FindItem("abc", 2, 1), 2);     // ABCD is not a whole-cell match
  EXPECT_EQ(d.FindItem("abc", 2, 3), 3);
  EXPECT_EQ(d.FindItem("ÉLAN", 2, 1), 4);    // case folding of accented letters
  EXPECT_EQ(d.FindItem("Y", 9, 1), 2);       // a column out of range searches column 1

  EXPECT_EQ(d.FindAndReplace("abc", "done", false, 2, 1), 2);
  EXPECT_EQ(d.TextMatrix(3, 2), "abc");
  d.setTextMatrix(2, 2, "abc");
  EXPECT_EQ(d.FindAndReplace("ABC", "all", true, 2, 1), 3);
  EXPECT_EQ(columnCells(d, 2), (Texts{"ABCD", "all", "all", "élan"}));
  EXPECT_EQ(d.FindAndReplace("ABC", "all", true, 2, 1), -1);
}

TEST(ListDataAggregate, RunningTotalIsRoundedHalfToEvenAtEveryCell) {
  ListData d = grid(2, {"a\t1.5", "b\t2.5", "c\tword", "d\t"});
  EXPECT_EQ(d.Sum(2), 4);  // 1.5 -> 2, 2 + 2.5 = 4.5 -> 4
  EXPECT_DOUBLE_EQ(d.Average(2), 2.0);
  EXPECT_EQ(d.Average(1), 0);  // no numeric cell
  ListData halves = grid(1, {"0.5", "0.5", "0.5"});
  EXPECT_EQ(halves.Sum(1), 0);  // every step rounds 0.5 down to the even 0
  ListData big = grid(1, {"2147483647", "1"});
  EXPECT_EQ(errorNumber([&] { big.Sum(1); }), errOverflow);
}

TEST(ListDataAggregate, FormatAColumnRewritesNumbersAndDatesOnly) {
  ListData d = grid(2, {"a\t1234.5", "b\tword", "c\t2024-01-07"});
  EXPECT_TRUE(d.FormatAColumn(2, "#,##0.00"));
  EXPECT_EQ(std::pair(d.TextMatrix(1, 2), d.TextMatrix(2, 2)), std::pair(std::string("1,234.50"), std::string("word")));
  EXPECT_TRUE(d.FormatAColumn(2, "ww"));  // 7 January 2024 is a Sunday: week 2 from Sunday
  EXPECT_EQ(d.TextMatrix(3, 2), "2");
  EXPECT_FALSE(d.FormatAColumn(3, "0"));
}

TEST(ListDataCheck, RangesWriteTrueFalseCellsOrTheRowFlag) {
  ListData d = grid(2, {"a", "b", "c", "d", "e"});
  EXPECT_TRUE(d.CheckSpecifyRange(2, 5, 2, true));  // last below start: row 5 only
  EXPECT_EQ(columnCells(d, 2), (Texts{"", "", "", "", "True"}));
  EXPECT_TRUE(d.UnCheckAll(2));
  EXPECT_EQ(columnCells(d, 2), Texts(5, "False"));
  ListData single = grid(0, {"a", "b"});
  EXPECT_TRUE(single.CheckAll(42) && (single.Item(1)->iValue() && single.Item(2)->iValue()));
  EXPECT_EQ(single.TextMatrix(1, 1), "a");
}

TEST(ListDataRowObject, InitColumnsKeepsContentAndRefusesCountsBelowOne) {
  clsLItem r;
  EXPECT_FALSE(r.lvInitColumns(0));
  EXPECT_EQ(std::tuple(r.cellCount(), errorNumber([&] { r.iCell(1); })), std::tuple(0, errSubscriptOutOfRange));
  EXPECT_TRUE(r.lvInitColumns(3));
  r.setiCell(2, "keep");
  r.setiNormalIcon(3, 9);
  EXPECT_TRUE(r.lvInitColumns(2));
  EXPECT_EQ(std::tuple(r.iCell(2), errorNumber([&] { r.iNormalIcon(3); })), std::tuple("keep", errSubscriptOutOfRange));
  EXPECT_TRUE(r.lvInitColumns(3));
  EXPECT_EQ(r.iNormalIcon(3), 0);  // regrown cells start empty
}

}  // namespace
}  // namespace zxp::list
