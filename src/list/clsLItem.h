// clsLItem: one row of the list control. A row holds one text cell per column (only cell 1 in
// single-column mode), a normal and a selected image index per cell, its text attributes, the
// caller's datum and the check flag of a single-column row. The list keeps most rows compactly
// (ListRows.h); a row it hands out by Item, or is given, is a clsLItem the list then holds by
// shared reference (RowRef, below), so the object handed out is the live row, not a copy.
//
// Indexed members (iCell, iSelectedIcon, iNormalIcon) take a column from 1 to the cell count and
// throw the host's "Subscript out of range" (HostError 9) outside it.
//
// Storage. A list may hold millions of rows, so a row keeps one text: the text it was added with
// (what the list's List reads), stored inside the row object when it is short. As long as the
// cells are the TAB-separated pieces of that text (the first `pieces` cells; later ones empty),
// or cell 1 is the whole text (a single-column row), no cell is stored separately: iCell finds
// its piece in the text. A cell written on its own (setiCell, or a new text with fewer pieces
// than before) turns the row into one with a separate list of cell texts, and rows with image
// indexes keep them in that same side record. The attribute record is kept as four bits, so its
// members read back 0 or -1 (True).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
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

class RowRef;

class clsLItem {
 public:
  // A row lives as long as the list or a caller holds it; its arrays go with it.
  clsLItem();
  clsLItem(const clsLItem& other);
  clsLItem& operator=(const clsLItem& other);
  ~clsLItem();

  // Cell text of column iColumn (1-based). The view stays valid until the row is changed.
  std::string_view iCell(int32_t iColumn) const;
  void setiCell(int32_t iColumn, std::string_view text);

  int32_t iRow() const { return iRow_; }
  void setiRow(int32_t value) { iRow_ = value; }

  int32_t iSelectedIcon(int32_t iColumn) const;
  void setiSelectedIcon(int32_t iColumn, int32_t index);
  int32_t iNormalIcon(int32_t iColumn) const;
  void setiNormalIcon(int32_t iColumn, int32_t index);

  bool iValue() const { return (flags_ & kValue) != 0; }
  void setiValue(bool value) { setFlag(kValue, value); }

  // A copy of the attribute record (each member 0 or -1).
  LItemUnicode iItemUnicode() const;
  void setiItemUnicode(const LItemUnicode& value);

  int32_t ItemData() const { return itemData_; }
  void setItemData(int32_t value) { itemData_ = value; }

  // Sizes the three per-cell arrays to 1..iColumnsCount keeping their contents (new cells are
  // empty with image index 0) and returns true; a count below 1 changes nothing and returns false.
  bool lvInitColumns(int32_t iColumnsCount);

  // ---- Library-internal state --------------------------------------------------------------
  int32_t cellCount() const { return cellCount_; }
  // The text the row was added with, cells still joined by TAB (what the list's List reads).
  std::string_view wholeText() const;
  // Calls visit(text) for cells 1 to count in order, "" for those beyond the cell count; a row
  // whose cells are pieces of its text is walked in one pass.
  template <class Visit>
  void forEachCell(int32_t count, Visit&& visit) const {
    int32_t c = 1;
    if (!(flags_ & (kOwnCells | kWholeCell))) {
      std::string_view rest = wholeText();
      for (; c <= count && c <= pieces_; ++c) {
        const size_t tab = rest.find('\t');
        visit(rest.substr(0, tab));
        rest.remove_prefix(tab == std::string_view::npos ? rest.size() : tab + 1);
      }
    }
    for (; c <= count; ++c) visit(c <= cellCount_ ? iCell(c) : std::string_view());
  }
  // Sets the whole text and takes its TAB pieces as cells 1 to at most `limit` (within the cell
  // count); the cells after the last piece keep their texts.
  void assignPieces(std::string_view text, int32_t limit);
  // Sets the whole text and makes it cell 1 as it stands (a single-column row).
  void assignWhole(std::string_view text);
  // Sets the whole text of a row with no separately stored cells, with cells 1 to `pieces` as its
  // TAB pieces, or cell 1 as the whole text when `wholeCell` (how the list's compact rows keep
  // theirs; see ListRows.h). The cell count stays.
  void assignStored(std::string_view text, int32_t pieces, bool wholeCell);

 private:
  friend class RowRef;
  struct Side;  // separately stored cells and image indexes
  static constexpr uint8_t kValue = 1 << 4;     // bits 0-3: the attribute record
  static constexpr uint8_t kWholeCell = 1 << 5;  // cell 1 is the whole text
  static constexpr uint8_t kOwnCells = 1 << 6;   // cells live in side_->cells
  static constexpr size_t kInline = 55;          // whole texts up to this length live in the row

  size_t slot(int32_t iColumn) const;  // 0-based index, or HostError 9
  void setFlag(uint8_t bit, bool on) { flags_ = static_cast<uint8_t>(on ? flags_ | bit : flags_ & ~bit); }
  Side& side();
  void setText(std::string_view text);
  // Moves the cells into side_->cells (a no-op when they are there already).
  void ownCells();
  std::vector<int32_t>* icons(bool selected) const;

  std::unique_ptr<Side> side_;
  int32_t iRow_ = 0;
  int32_t itemData_ = 0;
  int32_t cellCount_ = 0;
  int32_t pieces_ = 0;     // cells 1..pieces_ are the TAB pieces of the whole text
  uint32_t textSize_ = 0;  // the whole text: in inline_ when it fits, else in side_->text
  uint32_t refs_ = 0;      // the RowRefs that hold this row (never copied with the row)
  uint8_t flags_ = 0;
  char inline_[kInline];
};

// A shared reference to a row, counted in the row itself: one pointer per reference and one
// allocation per row, where a std::shared_ptr would add a control block to every row of a list
// of millions. The count is not atomic: rows belong to the user-interface thread. A row on the
// stack or inside another object is not held this way; RowRef only holds rows made by makeRow.
class RowRef {
 public:
  RowRef() = default;
  RowRef(std::nullptr_t) {}
  RowRef(const RowRef& other) : p_(other.p_) { retain(); }
  RowRef(RowRef&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
  RowRef& operator=(RowRef other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~RowRef() { release(); }

  clsLItem* get() const { return p_; }
  clsLItem& operator*() const { return *p_; }
  clsLItem* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  bool operator==(const RowRef& other) const { return p_ == other.p_; }
  // How many references hold the row (0 for none).
  uint32_t use_count() const { return p_ ? p_->refs_ : 0; }

  // A new row: empty, no cells.
  static RowRef make() { return RowRef(new clsLItem()); }

 private:
  explicit RowRef(clsLItem* p) : p_(p) { retain(); }
  void retain() {
    if (p_) ++p_->refs_;
  }
  void release() {
    if (p_ && --p_->refs_ == 0) delete p_;
    p_ = nullptr;
  }
  clsLItem* p_ = nullptr;
};

inline RowRef makeRow() { return RowRef::make(); }

}  // namespace zxp::list
