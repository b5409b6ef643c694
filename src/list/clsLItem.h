// clsLItem: one row of the list control. A row holds one text cell per column (only cell 1 in
// single-column mode), a normal and a selected image index per cell, its text attributes, the
// caller's datum and the check flag of a single-column row. The list keeps rows by shared
// reference, so the object handed out by the list's Item is the live row, not a copy.
//
// Indexed members (iCell, iSelectedIcon, iNormalIcon) take a column from 1 to the cell count and
// throw the host's "Subscript out of range" (HostError 9) outside it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zxp::list {

// The text attributes of a row: four 16-bit Booleans (0 or -1), 8 bytes in all.
struct LItemUnicode {
  int16_t fBold = 0;
  int16_t fItalic = 0;
  int16_t fUnderline = 0;
  int16_t fStrikeThrough = 0;

  bool operator==(const LItemUnicode&) const = default;
};
static_assert(sizeof(LItemUnicode) == 8);

class clsLItem {
 public:
  // A row lives as long as the list or a caller holds it; its arrays go with it.
  clsLItem() = default;

  // Cell text of column iColumn (1-based).
  const std::string& iCell(int32_t iColumn) const;
  void setiCell(int32_t iColumn, std::string_view text);

  int32_t iRow() const { return iRow_; }
  void setiRow(int32_t value) { iRow_ = value; }

  int32_t iSelectedIcon(int32_t iColumn) const;
  void setiSelectedIcon(int32_t iColumn, int32_t index);
  int32_t iNormalIcon(int32_t iColumn) const;
  void setiNormalIcon(int32_t iColumn, int32_t index);

  bool iValue() const { return iValue_; }
  void setiValue(bool value) { iValue_ = value; }

  // A copy of the 8-byte attribute record.
  LItemUnicode iItemUnicode() const { return unicode_; }
  void setiItemUnicode(const LItemUnicode& value) { unicode_ = value; }

  int32_t ItemData() const { return itemData_; }
  void setItemData(int32_t value) { itemData_ = value; }

  // Sizes the three per-cell arrays to 1..iColumnsCount keeping their contents (new cells are
  // empty with image index 0) and returns true; a count below 1 changes nothing and returns false.
  bool lvInitColumns(int32_t iColumnsCount);

  // ---- Library-internal state --------------------------------------------------------------
  int32_t cellCount() const { return cellCount_; }
  // The text the row was added with, cells still joined by TAB (what the list's List reads).
  const std::string& wholeText() const { return wholeText_; }
  void setWholeText(std::string_view text) { wholeText_.assign(text); }
  // Pixel extent of the row in the last layout pass.
  int32_t rowTop = 0;
  int32_t rowBottom = 0;

 private:
  size_t slot(int32_t iColumn) const;  // 0-based index, or HostError 9
  int32_t icon(const std::vector<int32_t>& icons, int32_t iColumn) const;
  void setIcon(std::vector<int32_t>& icons, int32_t iColumn, int32_t index);

  std::vector<std::string> cells_;
  std::vector<int32_t> selectedIcons_;
  std::vector<int32_t> normalIcons_;
  int32_t iRow_ = 0;
  LItemUnicode unicode_;
  int32_t itemData_ = 0;
  bool iValue_ = false;
  std::string wholeText_;
  int32_t cellCount_ = 0;
};

}  // namespace zxp::list
