// ListData: the data beneath the list control ZorvaXPListBox, without any drawing. It holds the
// columns (four parallel lists: text, width, style, alignment, indexed from 1 and always of the
// same length), the rows (indexed from 1 to ListCount, kept compactly by ListRows; a row handed
// out by Item is the live clsLItem object the list refers to from then on), one selection flag
// per row, and the scalar state (current row, current column, extended selections). Members keep
// the control's interface names and rules, so the control forwards to them one to one:
//
// - Checked members (RemoveItem, FindItem, TextMatrix, CheckSpecifyRange, ...) answer an
//   out-of-range row or column with False, 0 or -1 and change nothing.
// - Unchecked members (Item, Selected, ItemData, List get, the second row of SwapItems,
//   RemoveColumn, the column getters) throw the host's "Subscript out of range" (HostError 9).
// - The list is in multi-column mode exactly when it has at least one column; in single-column
//   mode every row uses cell 1 only and every column argument counts as 1.
//
// Sorting (ResortCol) is the control's quicksort: the middle row (rounded half to even) is swapped
// to the front as pivot, rows that sort before it move left one by one, then each side is sorted.
// Where this gives the same result as the plain algorithm and where it departs:
// - As long as no row of a range compares equal to that range's pivot, the order is exactly the
//   plain algorithm's order.
// - Rows equal to the pivot would make the plain algorithm quadratic (a column of three distinct
//   values over a million rows). Here, after each partition, the rows equal to the pivot are
//   gathered next to it and not sorted again, so equal rows may end in another order than the
//   plain algorithm leaves them (the sort is not stable either way).
// - A range that still recurses deeper than about four times log2 of the row count (inputs built
//   against the middle pivot) is finished by a heap sort, so the stack and the time stay bounded.
// Keys are read once per sort: the numeric test and value of every cell are computed up front.
// When every cell of the column is a number (and numeric sorting is allowed) the rows sort on
// 16-byte (value, row) keys instead: the same order wherever values differ, and rows of equal
// value keep their order (in either direction).
//
// The owner (the control) is told about refreshes and inserts through the optional callbacks;
// while LockUpdate is true no refresh is requested.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "list/ListRows.h"
#include "list/clsLItem.h"

namespace zxp::host {
struct EnumType;
}  // namespace zxp::host

namespace zxp::host {
class PropertyBag;
class Variant;
}  // namespace zxp::host

namespace zxp::list {

enum class LHStyle : int32_t { Default = 0, CheckBox = 1, Button = 2 };
enum class LHAlignment : int32_t { Left = 0, Center = 1, Right = 2 };
enum class LSelectedMode : int32_t { LSMSingle = 0, LSMMultiple = 1, LSMExtend = 2 };
enum class LSelectedModeStyle : int32_t { LSMSCell = 0, LSMSFullRow = 1 };
enum class LSortMethod : int32_t { LSAcesnding = 0, LSDescending = 1 };

// Type information for the enumerations above (the interface's names and values).
const host::EnumType& describeEnum(LHStyle);
const host::EnumType& describeEnum(LHAlignment);
const host::EnumType& describeEnum(LSelectedMode);
const host::EnumType& describeEnum(LSelectedModeStyle);
const host::EnumType& describeEnum(LSortMethod);

// The font of the header cells of a spreadsheet export (the control passes its header font).
struct SheetFont {
  std::string Name = "Tahoma";
  int32_t Color = 0x800000;  // OLE colour: dark blue
  bool Bold = true;
};

class ListData {
 public:
  // ---- Settings the control owns and forwards --------------------------------------------
  bool AllowToSortAsNumeric = true;
  LSelectedMode SelectedMode = LSelectedMode::LSMSingle;
  LSelectedModeStyle SelectedModeStyle = LSelectedModeStyle::LSMSFullRow;
  bool LockUpdate = false;

  // Called for "refresh" (relayout and repaint) unless LockUpdate, and around each insertion.
  std::function<void()> onRefresh;
  std::function<void()> BeforeInsert;
  std::function<void()> AfterInsert;

  // ---- Columns -----------------------------------------------------------------------------
  void AddNewColumn(std::string_view lpStrColumnName, int32_t iColWidth = 0,
                    LHStyle iColStyle = LHStyle::Default, LHAlignment iColAlignment = LHAlignment::Left);
  // HostError 9 with no columns or iColumn outside 1..ColumnsCount.
  void RemoveColumn(int32_t iColumn);
  void ClearAllColumns();
  int32_t ColumnsCount() const { return static_cast<int32_t>(columns_.size()); }
  bool multiColumn() const { return !columns_.empty(); }

  // Column getters and setters throw HostError 9 outside 1..ColumnsCount.
  const std::string& ColumnText(int32_t iColumn) const;
  void setColumnText(int32_t iColumn, std::string_view text);
  int32_t ColumnWidth(int32_t iColumn) const;
  // Widths below 20 pixels are ignored.
  void setColumnWidth(int32_t iColumn, int32_t width);
  LHStyle ColumnStyle(int32_t iColumn) const;
  void setColumnStyle(int32_t iColumn, LHStyle style);
  LHAlignment ColumnAlignment(int32_t iColumn) const;
  void setColumnAlignment(int32_t iColumn, LHAlignment alignment);

  // Persisted columns: "ColumnsCount" (16-bit, default 0) and per column n "ColumnText"n (""),
  // "ColumnAlignment"n (1), "ColumnWidth"n (100), "ColumnStyle"n (0), written in that order.
  // Reading appends each stored column with AddNewColumn (text, width, style, alignment read in
  // that order); a bad value raises the bag's Type mismatch or Overflow.
  void WriteColumns(host::PropertyBag& PropBag) const;
  void ReadColumns(const host::PropertyBag& PropBag);

  // ---- Rows --------------------------------------------------------------------------------
  // Appends a row. In multi-column mode iText holds the cells joined by TAB and iIconCollection
  // the normal image indexes joined by ","; in single-column mode iText is cell 1.
  bool AddItem(std::string_view iText, bool iCheck = false, int32_t iData = 0, int32_t iNormalIcon = 0,
               int32_t iSelectedIcon = 0, bool bBold = false, bool bItalic = false, bool bUnderline = false,
               bool bStrikethought = false, std::string_view iIconCollection = {});
  // Appends the given row object itself (by reference).
  bool AddItemEx(RowRef lItem);
  // One AddItem per element, first to last, each converted to text (a value without a text
  // form, such as an object, raises the host's Type mismatch), all other arguments left out.
  bool AddItemsByArray(std::span<const std::string> iListArray);
  bool AddItemsByCollection(std::span<const host::Variant> iListCollection);
  bool AddItemsByParamArray(std::span<const host::Variant> iListCollection) {
    return AddItemsByCollection(iListCollection);
  }
  // Accepted for 1 <= iItemIndex <= ListIndex (the current row); see the .cpp for the rules.
  bool RemoveItem(int32_t iItemIndex);
  int32_t ClearAll();
  // iFirstIndex outside 1..ListCount does nothing; iLastIndex outside it throws HostError 9.
  void SwapItems(int32_t iFirstIndex, int32_t iLastIndex);
  bool ReplaceAItem(int32_t iItem, RowRef iClsListItem);
  // Accepted for 1 <= iItem <= ListIndex.
  bool ModifyItemText(int32_t iItem, std::string_view iText);
  void ModifyItemUnicode(int32_t iItem, bool bBold, bool bItalic, bool bUnderline, bool bStrikeThrough);

  // The live row object (HostError 9 outside 1..ListCount).
  RowRef Item(int32_t iItem) const;
  void setItem(int32_t iItem, RowRef row);
  // The row read in place, without handing it out (HostError 9 outside 1..ListCount); for the
  // control's painting and input. Valid until the list changes.
  RowView rowView(int32_t iItem) const;
  // The row's whole text; the view stays valid until the list is changed.
  std::string_view List(int32_t iItem) const;
  void setList(int32_t iItem, std::string_view iText) { ModifyItemText(iItem, iText); }
  int32_t ItemData(int32_t iItem) const;
  void setItemData(int32_t iItem, int32_t value);
  // A cell's text; a row or (multi-column) column out of range reads "" and is not written.
  std::string TextMatrix(int32_t iRow, int32_t iColumn) const;
  void setTextMatrix(int32_t iRow, int32_t iColumn, std::string_view text);
  std::string Cell(int32_t iRowIndex, int32_t iColumnIndex) const { return TextMatrix(iRowIndex, iColumnIndex); }
  void setCell(int32_t iRowIndex, int32_t iColumnIndex, std::string_view text) {
    setTextMatrix(iRowIndex, iColumnIndex, text);
  }
  bool Selected(int32_t iItem) const;
  void setSelected(int32_t iItem, bool value);
  int32_t SelectedCount() const;

  int32_t ListCount() const { return static_cast<int32_t>(rows_.size()); }
  int32_t ListIndex() const { return listIndex_; }
  void setListIndex(int32_t value);
  int32_t Rows() const { return ListCount(); }
  // Clears the list and appends that many empty rows (negative values do nothing).
  // Our choice: at most kMaxRowsAtOnce rows in one assignment; more raise error 7 (out of
  // memory) and leave the list as it was, rather than allocate row after row for minutes.
  static constexpr int32_t kMaxRowsAtOnce = 10'000'000;
  void setRows(int32_t value);
  // The current column clamped to the column count; 1 in single-column mode or below 0.
  int32_t SelectedColIndex() const;
  void setSelectedColIndex(int32_t value) { currentColumn_ = value; }
  int32_t topIndex() const { return topIndex_; }
  int16_t ExtendedCellFirst() const { return extendedCellFirst_; }
  int16_t ExtendedCellLast() const { return extendedCellLast_; }
  void setExtendedCells(int16_t first, int16_t last) { extendedCellFirst_ = first; extendedCellLast_ = last; }
  void setExtendedRows(int32_t first, int32_t last) { extendedRowFirst_ = first; extendedRowLast_ = last; }

  // The cell at (ListIndex, current column). Without a current row (or beyond the row's cells)
  // reads give "" or 0 and writes are ignored, as for TextMatrix.
  std::string SelectedCell() const { return TextMatrix(listIndex_, SelectedColIndex()); }
  void setSelectedCell(std::string_view text) { setTextMatrix(listIndex_, SelectedColIndex(), text); }
  std::string ActiveCellValue() const { return SelectedCell(); }
  void setActiveCellValue(std::string_view text) { setSelectedCell(text); }
  int32_t ActiveCellNormalIcon() const;
  void setActiveCellNormalIcon(int32_t index) { SetIconByImageList(listIndex_, SelectedColIndex(), index, -1); }
  int32_t ActiveCellSelectedIcon() const;
  void setActiveCellSelectedIcon(int32_t index) { SetIconByImageList(listIndex_, SelectedColIndex(), -1, index); }

  bool SetIconByImageList(int32_t iRowIndex, int32_t iColumnIndex, int32_t iNormalIconPos = 0,
                          int32_t iSelectedIconPos = 0);

  // ---- Check-box cells ---------------------------------------------------------------------
  bool CheckAll(int32_t iColumnIndex);
  bool UnCheckAll(int32_t iColumnIndex);
  bool CheckSpecifyRange(int32_t iColumnIndex, int32_t iStartRow, int32_t iLastRow, bool BValue);

  // ---- Sorting, searching, aggregation -----------------------------------------------------
  void ResortCol(int32_t iColNumber, LSortMethod iSortMethod = LSortMethod::LSAcesnding);
  // Whole-cell, case-insensitive search from iStartRowIndex: the first matching row, -1 for
  // none, 0 when the start row is outside 1..ListCount.
  int32_t FindItem(std::string_view iFindString, int32_t iColumnIndex = 0, int32_t iStartRowIndex = 0);
  int32_t FindAndReplace(std::string_view iFindString, std::string_view iReplaceTxt, bool bReplaceAll = false,
                         int32_t iColumnIndex = 0, int32_t iStartRowIndex = 0);
  // Replaces every cell of the column by its text through the host's Format (weeks start on
  // Sunday, the first week holds January 1); False for a column out of range.
  bool FormatAColumn(int32_t iColumnIndex, std::string_view iFormatString);
  // Running total rounded (half to even) to a 32-bit integer at every numeric cell; HostError 6
  // when it leaves the 32-bit range.
  double Sum(int32_t iColumnIndex);
  double Average(int32_t iColumnIndex);

  // ---- Export ------------------------------------------------------------------------------
  // The grid as comma-separated text in Windows-1252, written atomically; ".csv" is appended
  // when the path does not end in it (case-sensitive). Failures end the export silently.
  void ExportToCsv(std::string_view iStrPath) const;
  // The bytes ExportToCsv writes (UTF-8, before the code-page conversion).
  std::string csvText() const;
  // The credit line that closes an export.
  static constexpr std::string_view kCreditLine = "Exported by the ZorvaXP list control.";

  // Spreadsheet export through the automation object "Excel.Application" (ListSpreadsheet.cpp):
  // row 1 holds the column texts in headerFont ("Column 1" in single-column mode), the rows
  // follow from row 2, the columns are fitted to their texts and the credit line goes two rows
  // below the data; an empty list gives the one cell "There is no item to display.". Without
  // the automation object, or on any error of it, the export ends silently.
  // ExportToExcel shows the workbook (Visible = True); ExportToExcelAsAFile saves it with SaveAs
  // under the path with ".xls" appended and quits. With the built-in automation object the saved
  // file is a modern (.xlsx) workbook whatever its name.
  void ExportToExcel(const SheetFont& headerFont = {}) const;
  void ExportToExcelAsAFile(std::string_view iStrPath, const SheetFont& headerFont = {}) const;

 private:
  struct Column {
    std::string text;
    int32_t width = 0;
    LHStyle style = LHStyle::Default;
    LHAlignment alignment = LHAlignment::Left;
  };

  const Column& column(int32_t iColumn) const;
  Column& column(int32_t iColumn);
  bool rowInRange(int32_t i) const { return i >= 1 && i <= ListCount(); }
  size_t checkedRow(int32_t i) const;  // the 0-based position; HostError 9 outside 1..ListCount
  // The column a checked member works on: 1 in single-column mode, 0 when out of range.
  int32_t checkedColumn(int32_t iColumnIndex) const;
  // The column FindItem and friends search: out of range (and single-column mode) become 1.
  int32_t searchColumn(int32_t iColumnIndex) const;
  void fillRow(size_t p, std::string_view text, bool check, int32_t data, std::string_view normalIcons,
               std::string_view selectedIcons, const LItemUnicode& attributes);
  void selectNewRow(int32_t previousIndex);
  void refresh() const;

  std::vector<Column> columns_;
  // Mutable: handing a row out (Item) moves a compact row into an object of its own, which
  // changes nothing a caller can read.
  mutable ListRows rows_;
  std::vector<uint8_t> selected_;  // one flag per row
  int32_t listIndex_ = -1;
  int32_t currentColumn_ = 0;
  int32_t topIndex_ = 0;
  int32_t extendedRowFirst_ = 0;
  int32_t extendedRowLast_ = 0;
  int16_t extendedCellFirst_ = 0;
  int16_t extendedCellLast_ = 0;
  bool columnsChanged_ = false;
};

}  // namespace zxp::list
