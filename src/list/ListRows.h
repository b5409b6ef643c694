// ListRows: the rows of a list, kept compactly. A list may hold millions of rows, and a row that
// is one object on the heap costs three times its text; so the list keeps each row as a 12-byte
// record in an array in display order, and its whole text in a text pool owned by the list (a
// few blocks of contiguous memory, each entry the text's length and bytes). Reading a column for
// a sort walks the records in order and finds each text in the pool, instead of following one
// pointer per row across the heap.
//
// A compact row holds what most rows hold: the text it was added with, its cells as that text's
// TAB pieces (or cell 1 as the whole text), a cell count, the check flag and the attribute bits,
// the row number and, in its pool entry, a nonzero ItemData. A row that needs more (a cell written
// on its own, an image index, more than 255 pieces or 65 535 cells, a text over 4 KiB) moves into
// a clsLItem of its own, and the record refers to that object: a boxed row.
//
// Live rows. A row handed out (item) is always a boxed row: a compact row moves into its own
// object first, and the list keeps referring to that object, so the caller holds the list's live
// row, sees later changes, and keeps the row when the list lets it go. Rows given to the list
// (append, set) are kept as the caller's objects in the same way.
//
// The pool grows in blocks (the first ones doubling from 256 bytes up to 1 MiB, then 1 MiB each;
// blocks never move, so a text being written may come from the pool itself); a rewritten text
// leaves its old entry as waste, and once the waste passes the live bytes (and 1 MiB) the pool is
// rewritten in display order. A pool that would pass 4 GiB takes no more texts: further rows
// are boxed.
//
// Positions are 0-based; columns are 1-based and checked against the row's cell count as in
// clsLItem (HostError 9 outside it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "list/clsLItem.h"

namespace zxp::list {

class ListRows {
 public:
  ListRows() = default;
  // Not copied: a copy would have to choose between sharing the rows handed out and not.
  ListRows(const ListRows&) = delete;
  ListRows& operator=(const ListRows&) = delete;
  ListRows(ListRows&&) noexcept = default;
  ListRows& operator=(ListRows&&) noexcept = default;
  ~ListRows() = default;

  size_t size() const { return recs_.size(); }
  bool empty() const { return recs_.empty(); }

  // ---- The rows as a whole -------------------------------------------------------------------
  // Appends an empty row (no cells, empty text).
  void appendEmpty();
  // Appends the caller's row object itself.
  void append(RowRef row);
  void erase(size_t p);
  void clear();
  void swap(size_t p, size_t q) { std::swap(recs_[p], recs_[q]); }
  // Reorders the rows: row k becomes the old row order[k] (a permutation of 0..size-1).
  void permute(std::span<const uint32_t> order);
  // The row as a live object (see above).
  RowRef item(size_t p);
  // Makes the caller's row object row p.
  void set(size_t p, RowRef row);

  // ---- One row: reads ------------------------------------------------------------------------
  int32_t cellCount(size_t p) const;
  std::string_view cell(size_t p, int32_t c) const;
  // The whole text, cells joined by TAB.
  std::string_view wholeText(size_t p) const;
  // Calls visit(text) for cells 1 to count, "" beyond the cell count (as clsLItem::forEachCell).
  template <class Visit>
  void forEachCell(size_t p, int32_t count, Visit&& visit) const {
    const Rec& r = recs_[p];
    if (r.flags & kBoxed) return boxes_[r.at]->forEachCell(count, visit);
    std::string_view rest = text(r);
    int32_t c = 1;
    if (r.flags & kWholeCell) {
      if (count >= 1 && r.cells >= 1) {
        visit(rest);
        ++c;
      }
    } else {
      for (; c <= count && c <= r.pieces; ++c) {
        const size_t tab = rest.find('\t');
        visit(rest.substr(0, tab));
        rest.remove_prefix(tab == std::string_view::npos ? rest.size() : tab + 1);
      }
    }
    for (; c <= count; ++c) visit(std::string_view());
  }
  int32_t normalIcon(size_t p, int32_t c) const;
  int32_t selectedIcon(size_t p, int32_t c) const;
  bool value(size_t p) const;
  LItemUnicode attributes(size_t p) const;
  int32_t itemData(size_t p) const;
  int32_t rowNumber(size_t p) const;

  // ---- One row: writes (each as the clsLItem member of the same name) ------------------------
  bool initColumns(size_t p, int32_t count);
  void setCell(size_t p, int32_t c, std::string_view text);
  void assignPieces(size_t p, std::string_view text, int32_t limit);
  void assignWhole(size_t p, std::string_view text);
  void setNormalIcon(size_t p, int32_t c, int32_t index);
  void setSelectedIcon(size_t p, int32_t c, int32_t index);
  void setValue(size_t p, bool on);
  void setAttributes(size_t p, const LItemUnicode& value);
  void setItemData(size_t p, int32_t value);
  void setRowNumber(size_t p, int32_t value);

  // ---- Storage, for tests --------------------------------------------------------------------
  bool boxed(size_t p) const { return (recs_[p].flags & kBoxed) != 0; }
  // Bytes of the pool's blocks, and of the entries no row refers to any more.
  size_t poolCapacity() const;
  size_t poolWaste() const { return waste_; }

  static constexpr size_t kMaxCompactText = 4096;
  static constexpr uint32_t kMaxPieces = 255;
  static constexpr int32_t kMaxCells = 65535;

 private:
  struct Rec {
    uint32_t at = 0;     // compact: the pool offset of the entry; boxed: the index in boxes_
    int32_t iRow = 0;
    uint16_t cells = 0;  // the cell count
    uint8_t pieces = 0;  // cells 1..pieces are the TAB pieces of the text
    uint8_t flags = 0;
  };
  static_assert(sizeof(Rec) == 12);
  // Bits 0-3 are the attribute record, as in clsLItem.
  static constexpr uint8_t kValue = 1 << 4;
  static constexpr uint8_t kWholeCell = 1 << 5;  // cell 1 is the whole text
  static constexpr uint8_t kData = 1 << 6;       // the entry carries a nonzero ItemData
  static constexpr uint8_t kBoxed = 1 << 7;

  static constexpr uint32_t kBlockBits = 20;
  static constexpr uint32_t kBlock = 1u << kBlockBits;
  static constexpr size_t kMaxBlocks = size_t{1} << (32 - kBlockBits);
  // An empty text with no ItemData takes no bytes: its row refers to this offset, the last byte
  // of the last block, where no entry can start (every entry written takes two bytes or more).
  static constexpr uint32_t kNoText = UINT32_MAX;

  struct Block {
    std::unique_ptr<char[]> bytes;
    uint32_t capacity = 0;
  };

  const char* entry(uint32_t at) const {
    return blocks_[at >> kBlockBits].bytes.get() + (at & (kBlock - 1));
  }
  std::string_view text(const Rec& r) const;
  // Writes an entry and returns its offset; false when the pool cannot take it.
  bool write(std::string_view text, bool withData, int32_t data, uint32_t& at);
  // The entry of a compact row is rewritten: with a new text, or with its data.
  bool rewrite(Rec& r, std::string_view text, bool withData, int32_t data);
  void dropEntry(const Rec& r);
  void compactIfWasteful();
  clsLItem& box(size_t p);
  clsLItem* boxOf(size_t p) const {
    const Rec& r = recs_[p];
    return (r.flags & kBoxed) ? boxes_[r.at].get() : nullptr;
  }
  // Keeps a row object in boxes_ and returns its index.
  uint32_t keepBox(RowRef row);
  void releaseBox(const Rec& r);
  static void checkColumn(const Rec& r, int32_t c);

  std::vector<Rec> recs_;
  std::vector<Block> blocks_;
  uint32_t used_ = 0;  // bytes used in the last block
  size_t waste_ = 0;
  size_t live_ = 0;
  std::vector<RowRef> boxes_;
  std::vector<uint32_t> freeBoxes_;
};

// A read-only view of one row of a list: the reading members of clsLItem, without handing the
// row out. Valid until the list changes.
class RowView {
 public:
  RowView(const ListRows& rows, size_t p) : rows_(&rows), p_(p) {}
  int32_t cellCount() const { return rows_->cellCount(p_); }
  std::string_view iCell(int32_t c) const { return rows_->cell(p_, c); }
  std::string_view wholeText() const { return rows_->wholeText(p_); }
  int32_t iNormalIcon(int32_t c) const { return rows_->normalIcon(p_, c); }
  int32_t iSelectedIcon(int32_t c) const { return rows_->selectedIcon(p_, c); }
  bool iValue() const { return rows_->value(p_); }
  LItemUnicode iItemUnicode() const { return rows_->attributes(p_); }
  int32_t ItemData() const { return rows_->itemData(p_); }
  int32_t iRow() const { return rows_->rowNumber(p_); }

 private:
  const ListRows* rows_;
  size_t p_;
};

}  // namespace zxp::list
