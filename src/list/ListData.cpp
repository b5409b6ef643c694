#include "list/ListData.h"

#include <algorithm>
#include <cmath>

#include "list/ListSort.h"
#include "platform/base/CodePage.h"
#include "platform/base/HostError.h"
#include "platform/host/MemberTable.h"
#include "platform/host/PropertyBag.h"
#include "platform/host/Variant.h"
#include "platform/host/runtime/Format.h"
#include "platform/host/runtime/Numeric.h"
#include "platform/host/runtime/Text.h"
#include "platform/services/FileIo.h"

namespace zxp::list {

namespace {
constexpr int16_t kTrue = -1;
inline int16_t flag(bool b) { return b ? kTrue : 0; }
inline size_t at(int32_t i) { return static_cast<size_t>(i - 1); }

// Whole-text equality ignoring case, against an already upper-cased text. ASCII is compared byte
// by byte without building a copy; any other byte hands the cell to the runtime's UCase (which
// keeps the UTF-8 length, so texts of different lengths never match).
bool equalsUpper(std::string_view cell, std::string_view upper) {
  if (cell.size() != upper.size()) return false;
  for (size_t i = 0; i < cell.size(); ++i) {
    const auto a = static_cast<unsigned char>(cell[i]);
    const auto b = static_cast<unsigned char>(upper[i]);
    if (a >= 0x80 || b >= 0x80) return host::UCase(cell) == upper;
    const unsigned char ua = (a >= 'a' && a <= 'z') ? static_cast<unsigned char>(a - 32) : a;
    if (ua != b) return false;
  }
  return true;
}
}  // namespace

void ListData::refresh() const {
  if (!LockUpdate && onRefresh) onRefresh();
}

// ---- Columns --------------------------------------------------------------------------------

const ListData::Column& ListData::column(int32_t iColumn) const {
  if (iColumn < 1 || iColumn > ColumnsCount()) throw HostError(errSubscriptOutOfRange);
  return columns_[at(iColumn)];
}
ListData::Column& ListData::column(int32_t iColumn) {
  return const_cast<Column&>(static_cast<const ListData*>(this)->column(iColumn));
}

void ListData::AddNewColumn(std::string_view lpStrColumnName, int32_t iColWidth, LHStyle iColStyle,
                            LHAlignment iColAlignment) {
  columns_.push_back(Column{std::string(lpStrColumnName), iColWidth, iColStyle, iColAlignment});
  columnsChanged_ = true;
  refresh();
}

void ListData::RemoveColumn(int32_t iColumn) {
  column(iColumn);  // no columns, below 1 or beyond the count: subscript out of range
  columns_.erase(columns_.begin() + static_cast<ptrdiff_t>(at(iColumn)));
  columnsChanged_ = true;
  refresh();
}

void ListData::ClearAllColumns() {
  columns_.clear();
  refresh();
}

const std::string& ListData::ColumnText(int32_t iColumn) const { return column(iColumn).text; }
void ListData::setColumnText(int32_t iColumn, std::string_view text) {
  column(iColumn).text.assign(text);
  refresh();
}
int32_t ListData::ColumnWidth(int32_t iColumn) const { return column(iColumn).width; }
void ListData::setColumnWidth(int32_t iColumn, int32_t width) {
  Column& c = column(iColumn);
  if (width < 20) return;
  c.width = width;
  refresh();
}
LHStyle ListData::ColumnStyle(int32_t iColumn) const { return column(iColumn).style; }
void ListData::setColumnStyle(int32_t iColumn, LHStyle style) {
  column(iColumn).style = style;
  refresh();
}
LHAlignment ListData::ColumnAlignment(int32_t iColumn) const { return column(iColumn).alignment; }
void ListData::setColumnAlignment(int32_t iColumn, LHAlignment alignment) {
  column(iColumn).alignment = alignment;
  refresh();
}

void ListData::WriteColumns(host::PropertyBag& PropBag) const {
  PropBag.WriteProperty("ColumnsCount", static_cast<int16_t>(ColumnsCount()), int16_t{0});
  for (int32_t n = 1; n <= ColumnsCount(); ++n) {
    const Column& c = columns_[at(n)];
    const std::string suffix = std::to_string(n);
    PropBag.WriteProperty("ColumnText" + suffix, c.text, std::string());
    PropBag.WriteProperty("ColumnAlignment" + suffix, c.alignment, LHAlignment::Center);
    PropBag.WriteProperty("ColumnWidth" + suffix, c.width, int32_t{100});
    PropBag.WriteProperty("ColumnStyle" + suffix, c.style, LHStyle::Default);
  }
}

void ListData::ReadColumns(const host::PropertyBag& PropBag) {
  const int16_t count = PropBag.read<int16_t>("ColumnsCount", 0);
  for (int32_t n = 1; n <= count; ++n) {
    const std::string suffix = std::to_string(n);
    std::string text = PropBag.read<std::string>("ColumnText" + suffix, std::string());
    const int32_t width = PropBag.read<int32_t>("ColumnWidth" + suffix, 100);
    const int32_t style = PropBag.read<int32_t>("ColumnStyle" + suffix, 0);
    const int32_t alignment = PropBag.read<int32_t>("ColumnAlignment" + suffix, 1);
    AddNewColumn(text, width, static_cast<LHStyle>(style), static_cast<LHAlignment>(alignment));
  }
}

int32_t ListData::checkedColumn(int32_t iColumnIndex) const {
  if (!multiColumn()) return 1;
  return (iColumnIndex >= 1 && iColumnIndex <= ColumnsCount()) ? iColumnIndex : 0;
}

int32_t ListData::searchColumn(int32_t iColumnIndex) const {
  return (multiColumn() && iColumnIndex >= 1 && iColumnIndex <= ColumnsCount()) ? iColumnIndex : 1;
}

// ---- Rows -----------------------------------------------------------------------------------

size_t ListData::checkedRow(int32_t i) const {
  if (!rowInRange(i)) throw HostError(errSubscriptOutOfRange);
  return at(i);
}

void ListData::selectNewRow(int32_t previousIndex) {
  selected_.resize(rows_.size(), 0);
  const int32_t added = ListCount();
  selected_[at(added)] = 1;
  if (previousIndex < 1 || previousIndex > added - 1) return;
  // In extended cell selection the previous row keeps its flag while it lies inside the
  // extended row selection (given in either order).
  const bool keep = SelectedMode == LSelectedMode::LSMExtend && SelectedModeStyle == LSelectedModeStyle::LSMSCell &&
                    previousIndex >= std::min(extendedRowFirst_, extendedRowLast_) &&
                    previousIndex <= std::max(extendedRowFirst_, extendedRowLast_);
  if (!keep) selected_[at(previousIndex)] = 0;
}

void ListData::fillRow(size_t p, std::string_view text, bool check, int32_t data, std::string_view normalIcons,
                       std::string_view selectedIcons, const LItemUnicode& attributes) {
  const int32_t rowNumber = ListCount();
  if (!multiColumn()) {
    rows_.initColumns(p, std::max(rows_.cellCount(p), 1));
    rows_.assignWhole(p, text);
    rows_.setValue(p, check);
    rows_.setItemData(p, data);
    if (auto n = host::CLng(normalIcons)) rows_.setNormalIcon(p, 1, *n);
    if (auto s = host::CLng(selectedIcons)) rows_.setSelectedIcon(p, 1, *s);
    rows_.setRowNumber(p, rowNumber);
    rows_.setAttributes(p, attributes);
    return;
  }
  const int32_t count = ColumnsCount();
  if (columnsChanged_) {
    for (size_t r = 0; r < rows_.size(); ++r) rows_.initColumns(r, count);
    columnsChanged_ = false;
  }
  rows_.initColumns(p, count);
  // The cells are the text's pieces; an empty text leaves the row's cells and text as they are.
  if (!text.empty()) rows_.assignPieces(p, text, count);
  const host::TextList normal = host::Split(normalIcons, ",");
  const host::TextList selectedPieces = host::Split(selectedIcons, ",");
  for (int32_t c = 1; c <= count; ++c) {
    if (normal.has(c)) {
      if (auto n = host::CLng(normal(c))) rows_.setNormalIcon(p, c, *n);
    }
    if (selectedPieces.has(c)) {
      if (auto s = host::CLng(selectedPieces(c))) rows_.setSelectedIcon(p, c, *s);
    }
  }
  if (data != 0) rows_.setItemData(p, data);
  rows_.setRowNumber(p, rowNumber);
  rows_.setAttributes(p, attributes);
}

bool ListData::AddItem(std::string_view iText, bool iCheck, int32_t iData, int32_t iNormalIcon, int32_t iSelectedIcon,
                       bool bBold, bool bItalic, bool bUnderline, bool bStrikethought,
                       std::string_view iIconCollection) {
  if (BeforeInsert) BeforeInsert();
  const int32_t previous = listIndex_;
  rows_.appendEmpty();
  listIndex_ = ListCount();
  if (topIndex_ == 0) {
    topIndex_ = 1;
    currentColumn_ = 1;
  }
  const std::string normalIcons = multiColumn() ? std::string(iIconCollection) : std::to_string(iNormalIcon);
  const std::string selectedIcons = std::to_string(iSelectedIcon);
  selectNewRow(previous);
  fillRow(rows_.size() - 1, iText, iCheck, iData, normalIcons, selectedIcons,
          LItemUnicode{flag(bBold), flag(bItalic), flag(bUnderline), flag(bStrikethought)});
  refresh();
  if (AfterInsert) AfterInsert();
  return true;
}

bool ListData::AddItemEx(RowRef lItem) {
  if (!lItem) throw HostError(errObjectNotSet);
  if (BeforeInsert) BeforeInsert();
  const int32_t previous = listIndex_;
  rows_.append(std::move(lItem));
  listIndex_ = ListCount();
  if (topIndex_ == 0) {
    topIndex_ = 1;
    currentColumn_ = 1;
  }
  selectNewRow(previous);
  refresh();
  if (AfterInsert) AfterInsert();
  return true;
}

bool ListData::AddItemsByArray(std::span<const std::string> iListArray) {
  for (const std::string& text : iListArray) AddItem(text);
  return true;
}

bool ListData::AddItemsByCollection(std::span<const host::Variant> iListCollection) {
  for (const host::Variant& value : iListCollection) AddItem(value.toString());
  return true;
}

bool ListData::RemoveItem(int32_t iItemIndex) {
  if (iItemIndex < 1 || iItemIndex > listIndex_) return false;
  const int32_t count = ListCount();
  // ListIndex takes any number, so the current row may lie past the last row: a row that is not
  // there is out of the arrays' range, as indexing them would say.
  if (iItemIndex > count) throw HostError(errSubscriptOutOfRange);
  const bool wasLast = iItemIndex == count;
  if (!wasLast) {
    rows_.erase(at(iItemIndex));
    selected_.erase(selected_.begin() + static_cast<ptrdiff_t>(at(iItemIndex)));
    // The arrays still count `count` entries until they shrink below; the flag of the current
    // row is set on the shifted array, as the control does.
    if (listIndex_ < count) selected_[at(listIndex_)] = 1;
  } else {
    rows_.erase(rows_.size() - 1);
    selected_.pop_back();
    // The current last row goes: the new last row becomes current. (A ListIndex set past the
    // list leaves no row whose flag could be set.)
    if (listIndex_ == count) {
      listIndex_ = count - 1;
      if (listIndex_ != 0) selected_[at(listIndex_)] = 1;
    }
  }
  if (rows_.empty()) {
    ClearAll();
  } else {
    refresh();
  }
  return true;
}

int32_t ListData::ClearAll() {
  rows_.clear();
  selected_.clear();
  listIndex_ = -1;
  refresh();
  return -1;
}

void ListData::SwapItems(int32_t iFirstIndex, int32_t iLastIndex) {
  if (!rowInRange(iFirstIndex)) return;
  if (!rowInRange(iLastIndex)) throw HostError(errSubscriptOutOfRange);
  rows_.swap(at(iFirstIndex), at(iLastIndex));
  refresh();
}

bool ListData::ReplaceAItem(int32_t iItem, RowRef iClsListItem) {
  if (!rowInRange(iItem)) return false;
  if (!iClsListItem) throw HostError(errObjectNotSet);
  iClsListItem->lvInitColumns(multiColumn() ? rows_.cellCount(at(iItem)) : 1);
  rows_.set(at(iItem), std::move(iClsListItem));
  refresh();
  return true;
}

bool ListData::ModifyItemText(int32_t iItem, std::string_view iText) {
  if (iItem < 1 || iItem > listIndex_ || iItem > ListCount()) return false;
  const size_t p = at(iItem);
  if (!multiColumn()) {
    rows_.initColumns(p, std::max(rows_.cellCount(p), 1));
    rows_.assignWhole(p, iText);
  } else {
    rows_.initColumns(p, ColumnsCount());
    rows_.assignPieces(p, iText, ColumnsCount());
  }
  refresh();
  return true;
}

void ListData::ModifyItemUnicode(int32_t iItem, bool bBold, bool bItalic, bool bUnderline, bool bStrikeThrough) {
  rows_.setAttributes(checkedRow(iItem),
                      LItemUnicode{flag(bBold), flag(bItalic), flag(bUnderline), flag(bStrikeThrough)});
  refresh();
}

RowRef ListData::Item(int32_t iItem) const { return rows_.item(checkedRow(iItem)); }

RowView ListData::rowView(int32_t iItem) const { return RowView(rows_, checkedRow(iItem)); }

void ListData::setItem(int32_t iItem, RowRef item) {
  checkedRow(iItem);
  if (!item) throw HostError(errObjectNotSet);
  if (multiColumn()) {
    if (item->cellCount() < 1 || item->cellCount() < ColumnsCount()) item->lvInitColumns(ColumnsCount());
  } else if (item->cellCount() != 1) {
    item->lvInitColumns(1);
  }
  rows_.set(at(iItem), std::move(item));
  refresh();
}

std::string_view ListData::List(int32_t iItem) const { return rows_.wholeText(checkedRow(iItem)); }
int32_t ListData::ItemData(int32_t iItem) const { return rows_.itemData(checkedRow(iItem)); }
void ListData::setItemData(int32_t iItem, int32_t value) { rows_.setItemData(checkedRow(iItem), value); }

std::string ListData::TextMatrix(int32_t iRow, int32_t iColumn) const {
  const int32_t c = checkedColumn(iColumn);
  if (!rowInRange(iRow) || c == 0) return {};
  const size_t p = at(iRow);
  return c <= rows_.cellCount(p) ? std::string(rows_.cell(p, c)) : std::string();
}

void ListData::setTextMatrix(int32_t iRow, int32_t iColumn, std::string_view text) {
  const int32_t c = checkedColumn(iColumn);
  if (!rowInRange(iRow) || c == 0) return;
  const size_t p = at(iRow);
  if (rows_.cellCount(p) < c) rows_.initColumns(p, c);
  rows_.setCell(p, c, text);
  refresh();
}

bool ListData::Selected(int32_t iItem) const { return selected_[checkedRow(iItem)] != 0; }

void ListData::setSelected(int32_t iItem, bool value) {
  checkedRow(iItem);
  selected_[at(iItem)] = value ? 1 : 0;
  refresh();
}

int32_t ListData::SelectedCount() const {
  return static_cast<int32_t>(std::count(selected_.begin(), selected_.end(), uint8_t{1}));
}

void ListData::setListIndex(int32_t value) {
  listIndex_ = value;
  refresh();
}

void ListData::setRows(int32_t value) {
  if (value < 0) return;
  if (value > kMaxRowsAtOnce) throw HostError(errOutOfMemory, "Rows: at most 10000000 rows at once");
  const bool locked = LockUpdate;
  LockUpdate = true;
  ClearAll();
  for (int32_t i = 0; i < value; ++i) AddItem("");
  LockUpdate = locked;
  refresh();
}

int32_t ListData::SelectedColIndex() const {
  if (!multiColumn() || currentColumn_ < 0) return 1;
  return std::min(currentColumn_, ColumnsCount());
}

int32_t ListData::ActiveCellNormalIcon() const {
  const int32_t c = checkedColumn(SelectedColIndex());
  if (!rowInRange(listIndex_) || c == 0 || c > rows_.cellCount(at(listIndex_))) return 0;
  return rows_.normalIcon(at(listIndex_), c);
}

int32_t ListData::ActiveCellSelectedIcon() const {
  const int32_t c = checkedColumn(SelectedColIndex());
  if (!rowInRange(listIndex_) || c == 0 || c > rows_.cellCount(at(listIndex_))) return 0;
  return rows_.selectedIcon(at(listIndex_), c);
}

bool ListData::SetIconByImageList(int32_t iRowIndex, int32_t iColumnIndex, int32_t iNormalIconPos,
                                  int32_t iSelectedIconPos) {
  const int32_t c = checkedColumn(iColumnIndex);
  if (!rowInRange(iRowIndex) || c == 0) return false;
  const size_t p = at(iRowIndex);
  if (rows_.cellCount(p) < c) rows_.initColumns(p, c);
  if (iSelectedIconPos != -1) rows_.setSelectedIcon(p, c, iSelectedIconPos);
  if (iNormalIconPos != -1) rows_.setNormalIcon(p, c, iNormalIconPos);
  refresh();
  return true;
}

// ---- Check-box cells ------------------------------------------------------------------------

bool ListData::CheckAll(int32_t iColumnIndex) { return CheckSpecifyRange(iColumnIndex, 1, ListCount(), true); }
bool ListData::UnCheckAll(int32_t iColumnIndex) { return CheckSpecifyRange(iColumnIndex, 1, ListCount(), false); }

bool ListData::CheckSpecifyRange(int32_t iColumnIndex, int32_t iStartRow, int32_t iLastRow, bool BValue) {
  const int32_t c = checkedColumn(iColumnIndex);
  if (c == 0 || !rowInRange(iStartRow) || !rowInRange(iLastRow)) return false;
  iLastRow = std::max(iLastRow, iStartRow);
  for (int32_t r = iStartRow; r <= iLastRow; ++r) {
    const size_t p = at(r);
    if (multiColumn()) {
      if (rows_.cellCount(p) < c) rows_.initColumns(p, c);
      rows_.setCell(p, c, BValue ? "True" : "False");
    } else {
      rows_.setValue(p, BValue);
    }
  }
  refresh();
  return true;
}

// ---- Sorting, searching, aggregation --------------------------------------------------------

void ListData::ResortCol(int32_t iColNumber, LSortMethod iSortMethod) {
  if (ListCount() < 2) return;
  int32_t c = 1;
  if (multiColumn()) {
    if (iColNumber < 1 || iColNumber > ColumnsCount()) return;
    c = iColNumber;
  }
  const bool descending = iSortMethod == LSortMethod::LSDescending;
  const size_t n = rows_.size();
  auto cellText = [&](size_t i) { return c <= rows_.cellCount(i) ? rows_.cell(i, c) : std::string_view(); };
  std::vector<uint32_t> order(n);
  // A column of numbers sorts on (value, row) keys; the first cell that is no number sends the
  // column to the general keys.
  bool numbers = AllowToSortAsNumeric;
  if (numbers) {
    std::vector<NumberKey> keys(n);
    for (size_t i = 0; i < n && numbers; ++i) {
      const auto value = host::parseNumber(cellText(i));
      keys[i] = NumberKey{value.value_or(0), static_cast<uint32_t>(i)};
      numbers = value.has_value() && !std::isnan(*value);
    }
    if (numbers) {
      sortNumbers(keys, descending);
      for (size_t k = 0; k < n; ++k) order[k] = keys[k].row;
    }
  }
  if (!numbers) {
    std::vector<SortKey> keys;
    keys.reserve(n);
    for (size_t i = 0; i < n; ++i) keys.push_back(makeSortKey(cellText(i), AllowToSortAsNumeric, static_cast<uint32_t>(i)));
    quickSortKeys(keys, descending);
    for (size_t k = 0; k < n; ++k) order[k] = keys[k].row;
  }
  // Only the rows move; the selection flags stay with the positions.
  rows_.permute(order);
  refresh();
}

int32_t ListData::FindItem(std::string_view iFindString, int32_t iColumnIndex, int32_t iStartRowIndex) {
  if (!rowInRange(iStartRowIndex)) return 0;
  const int32_t c = searchColumn(iColumnIndex);
  const std::string wanted = host::UCase(iFindString);
  for (int32_t r = iStartRowIndex; r <= ListCount(); ++r) {
    const size_t p = at(r);
    if (c > rows_.cellCount(p)) continue;
    if (equalsUpper(rows_.cell(p, c), wanted)) return r;
  }
  return -1;
}

int32_t ListData::FindAndReplace(std::string_view iFindString, std::string_view iReplaceTxt, bool bReplaceAll,
                                 int32_t iColumnIndex, int32_t iStartRowIndex) {
  if (!rowInRange(iStartRowIndex)) return 0;
  const int32_t c = searchColumn(iColumnIndex);
  const std::string wanted = host::UCase(iFindString);
  const std::string replacement(iReplaceTxt);  // the text may be one of the list's own
  int32_t lastReplaced = -1;
  for (int32_t r = iStartRowIndex; r <= ListCount(); ++r) {
    const size_t p = at(r);
    if (c > rows_.cellCount(p) || !equalsUpper(rows_.cell(p, c), wanted)) continue;
    rows_.setCell(p, c, replacement);
    lastReplaced = r;
    if (!bReplaceAll) break;
  }
  if (lastReplaced != -1) refresh();
  return lastReplaced;
}

bool ListData::FormatAColumn(int32_t iColumnIndex, std::string_view iFormatString) {
  const int32_t c = checkedColumn(iColumnIndex);
  if (c == 0) return false;
  for (size_t p = 0; p < rows_.size(); ++p) {
    if (c > rows_.cellCount(p)) continue;
    rows_.setCell(p, c, host::Format(host::FormatValue(rows_.cell(p, c)), iFormatString, host::FirstDayOfWeek::Sunday,
                                     host::FirstWeekOfYear::Jan1));
  }
  refresh();
  return true;
}

double ListData::Sum(int32_t iColumnIndex) {
  const int32_t c = checkedColumn(iColumnIndex);
  if (rows_.empty() || c == 0) return 0;
  int32_t total = 0;
  for (size_t p = 0; p < rows_.size(); ++p) {
    if (c > rows_.cellCount(p)) continue;
    if (auto value = host::parseNumber(rows_.cell(p, c))) {
      auto next = host::CLng(*value + total);
      if (!next) throw HostError(errOverflow);
      total = *next;
    }
  }
  return total;
}

double ListData::Average(int32_t iColumnIndex) {
  const int32_t c = checkedColumn(iColumnIndex);
  if (rows_.empty() || c == 0) return 0;
  int32_t total = 0;
  int32_t count = 0;
  for (size_t p = 0; p < rows_.size(); ++p) {
    if (c > rows_.cellCount(p)) continue;
    if (auto value = host::parseNumber(rows_.cell(p, c))) {
      auto next = host::CLng(*value + total);
      if (!next) throw HostError(errOverflow);
      total = *next;
      ++count;
    }
  }
  return count == 0 ? 0.0 : static_cast<double>(total) / count;
}

// ---- Export ---------------------------------------------------------------------------------

std::string ListData::csvText() const {
  if (rows_.empty()) return "There is no item to display.\r\n";
  std::string out;
  auto field = [&out](std::string_view text) {
    out += '"';
    // TABs are removed before CR LF pairs are looked for, so a CR TAB LF also becomes one space.
    for (size_t i = 0; i < text.size(); ++i) {
      const char ch = text[i];
      if (ch == '\t') continue;
      if (ch == '\r') {
        size_t j = i + 1;
        while (j < text.size() && text[j] == '\t') ++j;
        if (j < text.size() && text[j] == '\n') {
          out += ' ';
          i = j;
          continue;
        }
      }
      out += ch;
    }
    out += "\",";
  };
  if (multiColumn()) {
    for (const Column& col : columns_) field(col.text);
  } else {
    out += "\"Column1\"";
  }
  out += "\r\n";
  const int32_t count = multiColumn() ? ColumnsCount() : 1;
  for (size_t p = 0; p < rows_.size(); ++p) {
    rows_.forEachCell(p, count, field);
    out += "\r\n";
  }
  out += "\r\n\r\n";
  out += kCreditLine;
  out += "\r\n";
  return out;
}

void ListData::ExportToCsv(std::string_view iStrPath) const {
  std::string path(iStrPath);
  if (path.size() < 4 || path.compare(path.size() - 4, 4, ".csv") != 0) path += ".csv";
  // A failed write leaves any old file whole and ends the export without a message.
  (void)services::writeFileAtomically(path, utf8ToCp1252(csvText()));
}

// ---- Enumerations as type information shows them ----

const host::EnumType& describeEnum(LHStyle) {
  static const host::EnumType t{"LHStyle", {{"Default", 0}, {"CheckBox", 1}, {"Button", 2}}};
  return t;
}

const host::EnumType& describeEnum(LHAlignment) {
  static const host::EnumType t{"LHAlignment", {{"Left", 0}, {"Center", 1}, {"Right", 2}}};
  return t;
}

const host::EnumType& describeEnum(LSelectedMode) {
  static const host::EnumType t{"LSelectedMode", {{"LSMSingle", 0}, {"LSMMultiple", 1}, {"LSMExtend", 2}}};
  return t;
}

const host::EnumType& describeEnum(LSelectedModeStyle) {
  static const host::EnumType t{"LSelectedModeStyle", {{"LSMSCell", 0}, {"LSMSFullRow", 1}}};
  return t;
}

const host::EnumType& describeEnum(LSortMethod) {
  static const host::EnumType t{"LSortMethod", {{"LSAcesnding", 0}, {"LSDescending", 1}}};
  return t;
}

}  // namespace zxp::list
