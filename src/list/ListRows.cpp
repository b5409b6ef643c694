#include "list/ListRows.h"

#include <algorithm>
#include <cstring>

#include "list/RowText.h"
#include "platform/base/HostError.h"

namespace zxp::list {

namespace {
// An entry: the text's length as a base-128 varint, the text, then the ItemData when present.
size_t entrySize(size_t textSize, bool withData) {
  size_t n = 1;
  for (size_t s = textSize; s >= 0x80; s >>= 7) ++n;
  return n + textSize + (withData ? sizeof(int32_t) : 0);
}
std::string_view readText(const char* e) {
  size_t size = 0;
  int shift = 0;
  auto b = static_cast<unsigned char>(*e++);
  for (; b & 0x80; b = static_cast<unsigned char>(*e++), shift += 7) size |= size_t{b & 0x7Fu} << shift;
  size |= size_t{b} << shift;
  return {e, size};
}
}  // namespace

// ---- The pool -----------------------------------------------------------------------------------

std::string_view ListRows::text(const Rec& r) const {
  return r.at == kNoText ? std::string_view() : readText(entry(r.at));
}

bool ListRows::write(std::string_view text, bool withData, int32_t data, uint32_t& at) {
  if (text.size() > kMaxCompactText) return false;
  if (text.empty() && !withData) {
    at = kNoText;
    return true;
  }
  const auto need = static_cast<uint32_t>(entrySize(text.size(), withData));
  if (blocks_.empty() || used_ + need > blocks_.back().capacity) {
    // Blocks are never moved, so a text being written may lie in the pool itself. The first
    // blocks double from 256 bytes, so a short list holds a short pool.
    if (blocks_.size() == kMaxBlocks) return false;
    if (!blocks_.empty()) waste_ += blocks_.back().capacity - used_;  // the end of a full block
    const uint32_t scheduled = blocks_.size() < kBlockBits - 8 ? 256u << blocks_.size() : kBlock;
    const uint32_t capacity = std::max(scheduled, need);
    blocks_.push_back(Block{std::make_unique_for_overwrite<char[]>(capacity), capacity});
    used_ = 0;
  }
  at = static_cast<uint32_t>((blocks_.size() - 1) << kBlockBits) + used_;
  char* e = blocks_.back().bytes.get() + used_;
  for (size_t s = text.size();; s >>= 7) {
    *e++ = static_cast<char>(s >= 0x80 ? (s & 0x7F) | 0x80 : s);
    if (s < 0x80) break;
  }
  if (!text.empty()) std::memcpy(e, text.data(), text.size());
  if (withData) std::memcpy(e + text.size(), &data, sizeof data);
  used_ += need;
  live_ += need;
  return true;
}

void ListRows::dropEntry(const Rec& r) {
  if (r.at == kNoText) return;
  const size_t n = entrySize(text(r).size(), (r.flags & kData) != 0);
  live_ -= n;
  waste_ += n;
}

bool ListRows::rewrite(Rec& r, std::string_view newText, bool withData, int32_t data) {
  uint32_t at = 0;
  if (!write(newText, withData, data, at)) return false;
  dropEntry(r);
  r.at = at;
  r.flags = static_cast<uint8_t>(withData ? r.flags | kData : r.flags & ~kData);
  return true;
}

void ListRows::compactIfWasteful() {
  if (waste_ < kBlock || waste_ < live_) return;
  // The live entries are written again in display order into fresh blocks.
  std::vector<Block> old = std::move(blocks_);
  blocks_.clear();
  used_ = 0;
  waste_ = 0;
  live_ = 0;
  auto oldEntry = [&old](uint32_t at) { return old[at >> kBlockBits].bytes.get() + (at & (kBlock - 1)); };
  for (Rec& r : recs_) {
    if ((r.flags & kBoxed) || r.at == kNoText) continue;
    const char* e = oldEntry(r.at);
    const std::string_view t = readText(e);
    int32_t data = 0;
    if (r.flags & kData) std::memcpy(&data, t.data() + t.size(), sizeof data);
    // Cannot fail: the live entries fitted before, with the waste besides.
    const bool written = write(t, (r.flags & kData) != 0, data, r.at);
    (void)written;
  }
}

size_t ListRows::poolCapacity() const {
  size_t n = 0;
  for (const Block& b : blocks_) n += b.capacity;
  return n;
}

// ---- Boxed rows ---------------------------------------------------------------------------------

clsLItem& ListRows::box(size_t p) {
  Rec& r = recs_[p];
  if (r.flags & kBoxed) return *boxes_[r.at];
  RowRef row = makeRow();
  clsLItem& item = *row;
  item.lvInitColumns(r.cells);
  item.assignStored(text(r), r.pieces, (r.flags & kWholeCell) != 0);
  item.setiValue((r.flags & kValue) != 0);
  item.setiItemUnicode(attributes(p));
  item.setItemData(itemData(p));
  item.setiRow(r.iRow);
  dropEntry(r);
  r = Rec{keepBox(std::move(row)), 0, 0, 0, kBoxed};
  return item;
}

uint32_t ListRows::keepBox(RowRef row) {
  if (freeBoxes_.empty()) {
    boxes_.push_back(std::move(row));
    return static_cast<uint32_t>(boxes_.size() - 1);
  }
  const uint32_t index = freeBoxes_.back();
  freeBoxes_.pop_back();
  boxes_[index] = std::move(row);
  return index;
}

void ListRows::releaseBox(const Rec& r) {
  boxes_[r.at] = nullptr;
  freeBoxes_.push_back(r.at);
}

// ---- The rows as a whole ------------------------------------------------------------------------

void ListRows::appendEmpty() {
  Rec r;
  if (!write({}, false, 0, r.at)) return append(makeRow());  // a full pool
  recs_.push_back(r);
}

void ListRows::append(RowRef row) { recs_.push_back(Rec{keepBox(std::move(row)), 0, 0, 0, kBoxed}); }

void ListRows::erase(size_t p) {
  const Rec r = recs_[p];
  if (r.flags & kBoxed) {
    releaseBox(r);
  } else {
    dropEntry(r);
  }
  recs_.erase(recs_.begin() + static_cast<ptrdiff_t>(p));
  if (recs_.empty()) {
    clear();
  } else {
    compactIfWasteful();
  }
}

void ListRows::clear() {
  recs_ = std::vector<Rec>();
  blocks_ = std::vector<Block>();
  boxes_ = std::vector<RowRef>();
  freeBoxes_ = std::vector<uint32_t>();
  used_ = 0;
  waste_ = 0;
  live_ = 0;
}

void ListRows::permute(std::span<const uint32_t> order) {
  std::vector<Rec> sorted;
  sorted.reserve(recs_.size());
  for (uint32_t k : order) sorted.push_back(recs_[k]);
  recs_ = std::move(sorted);
}

RowRef ListRows::item(size_t p) {
  box(p);
  return boxes_[recs_[p].at];
}

void ListRows::set(size_t p, RowRef row) {
  Rec& r = recs_[p];
  if (r.flags & kBoxed) {
    boxes_[r.at] = std::move(row);
    return;
  }
  dropEntry(r);
  r = Rec{keepBox(std::move(row)), 0, 0, 0, kBoxed};
  compactIfWasteful();
}

// ---- One row: reads -----------------------------------------------------------------------------

void ListRows::checkColumn(const Rec& r, int32_t c) {
  if (c < 1 || c > r.cells) throw HostError(errSubscriptOutOfRange);
}

int32_t ListRows::cellCount(size_t p) const {
  if (const clsLItem* b = boxOf(p)) return b->cellCount();
  return recs_[p].cells;
}

std::string_view ListRows::cell(size_t p, int32_t c) const {
  if (const clsLItem* b = boxOf(p)) return b->iCell(c);
  const Rec& r = recs_[p];
  checkColumn(r, c);
  if (r.flags & kWholeCell) return c == 1 ? text(r) : std::string_view();
  return c <= r.pieces ? textPiece(text(r), c - 1) : std::string_view();
}

std::string_view ListRows::wholeText(size_t p) const {
  if (const clsLItem* b = boxOf(p)) return b->wholeText();
  return text(recs_[p]);
}

int32_t ListRows::normalIcon(size_t p, int32_t c) const {
  if (const clsLItem* b = boxOf(p)) return b->iNormalIcon(c);
  checkColumn(recs_[p], c);
  return 0;
}

int32_t ListRows::selectedIcon(size_t p, int32_t c) const {
  if (const clsLItem* b = boxOf(p)) return b->iSelectedIcon(c);
  checkColumn(recs_[p], c);
  return 0;
}

bool ListRows::value(size_t p) const {
  if (const clsLItem* b = boxOf(p)) return b->iValue();
  return (recs_[p].flags & kValue) != 0;
}

LItemUnicode ListRows::attributes(size_t p) const {
  if (const clsLItem* b = boxOf(p)) return b->iItemUnicode();
  const uint8_t f = recs_[p].flags;
  auto bit = [f](int n) { return static_cast<int16_t>((f >> n) & 1 ? -1 : 0); };
  return LItemUnicode{bit(0), bit(1), bit(2), bit(3)};
}

int32_t ListRows::itemData(size_t p) const {
  if (const clsLItem* b = boxOf(p)) return b->ItemData();
  const Rec& r = recs_[p];
  if (!(r.flags & kData)) return 0;
  const std::string_view t = text(r);
  int32_t data = 0;
  std::memcpy(&data, t.data() + t.size(), sizeof data);
  return data;
}

int32_t ListRows::rowNumber(size_t p) const {
  if (const clsLItem* b = boxOf(p)) return b->iRow();
  return recs_[p].iRow;
}

// ---- One row: writes ----------------------------------------------------------------------------

bool ListRows::initColumns(size_t p, int32_t count) {
  if (clsLItem* b = boxOf(p)) return b->lvInitColumns(count);
  if (count < 1) return false;
  if (count > kMaxCells) return box(p).lvInitColumns(count);
  Rec& r = recs_[p];
  r.pieces = static_cast<uint8_t>(std::min<int32_t>(r.pieces, count));
  r.cells = static_cast<uint16_t>(count);
  return true;
}

void ListRows::setCell(size_t p, int32_t c, std::string_view text) {
  if (!(recs_[p].flags & kBoxed)) checkColumn(recs_[p], c);
  // A cell written on its own is stored on its own: the row takes an object of its own.
  box(p).setiCell(c, text);
  compactIfWasteful();
}

void ListRows::assignPieces(size_t p, std::string_view newText, int32_t limit) {
  if (clsLItem* b = boxOf(p)) return b->assignPieces(newText, limit);
  Rec& r = recs_[p];
  const int32_t n = textPieceCount(newText, std::min<int32_t>(limit, r.cells));
  // The cells stay pieces of the text when none of the cells after the new pieces holds a text.
  const bool fits = (r.flags & kWholeCell) ? (n >= 1 || text(r).empty()) : n >= r.pieces;
  if (fits && n <= static_cast<int32_t>(kMaxPieces) &&
      rewrite(r, newText, (r.flags & kData) != 0, itemData(p))) {
    r.flags = static_cast<uint8_t>(r.flags & ~kWholeCell);
    r.pieces = static_cast<uint8_t>(n);
  } else {
    box(p).assignPieces(newText, limit);
  }
  compactIfWasteful();
}

void ListRows::assignWhole(size_t p, std::string_view newText) {
  if (clsLItem* b = boxOf(p)) return b->assignWhole(newText);
  Rec& r = recs_[p];
  // Cells 2 and later of a compact row hold text only as pieces of its text.
  bool othersEmpty = true;
  if (!(r.flags & kWholeCell)) {
    int32_t c = 1;
    forEachCell(p, r.pieces, [&](std::string_view cell) { othersEmpty = othersEmpty && (c++ == 1 || cell.empty()); });
  }
  if (othersEmpty && rewrite(r, newText, (r.flags & kData) != 0, itemData(p))) {
    r.flags = static_cast<uint8_t>(r.flags | kWholeCell);
    r.pieces = 0;
  } else {
    box(p).assignWhole(newText);
  }
  compactIfWasteful();
}

void ListRows::setNormalIcon(size_t p, int32_t c, int32_t index) {
  if (clsLItem* b = boxOf(p)) return b->setiNormalIcon(c, index);
  checkColumn(recs_[p], c);
  if (index != 0) box(p).setiNormalIcon(c, index);
}

void ListRows::setSelectedIcon(size_t p, int32_t c, int32_t index) {
  if (clsLItem* b = boxOf(p)) return b->setiSelectedIcon(c, index);
  checkColumn(recs_[p], c);
  if (index != 0) box(p).setiSelectedIcon(c, index);
}

void ListRows::setValue(size_t p, bool on) {
  if (clsLItem* b = boxOf(p)) return b->setiValue(on);
  Rec& r = recs_[p];
  r.flags = static_cast<uint8_t>(on ? r.flags | kValue : r.flags & ~kValue);
}

void ListRows::setAttributes(size_t p, const LItemUnicode& value) {
  if (clsLItem* b = boxOf(p)) return b->setiItemUnicode(value);
  Rec& r = recs_[p];
  const int bits = (value.fBold != 0 ? 1 : 0) | (value.fItalic != 0 ? 2 : 0) | (value.fUnderline != 0 ? 4 : 0) |
                   (value.fStrikeThrough != 0 ? 8 : 0);
  r.flags = static_cast<uint8_t>((r.flags & ~0x0F) | bits);
}

void ListRows::setItemData(size_t p, int32_t value) {
  if (clsLItem* b = boxOf(p)) return b->setItemData(value);
  Rec& r = recs_[p];
  if (r.flags & kData) {
    // The entry keeps the datum's place; a zero stays there.
    char* e = blocks_[r.at >> kBlockBits].bytes.get() + (r.at & (kBlock - 1));
    const std::string_view t = readText(e);
    std::memcpy(e + (t.data() + t.size() - e), &value, sizeof value);
    return;
  }
  if (value == 0) return;
  const std::string_view t = text(r);
  if (!rewrite(r, t, true, value)) box(p).setItemData(value);
  compactIfWasteful();
}

void ListRows::setRowNumber(size_t p, int32_t value) {
  if (clsLItem* b = boxOf(p)) return b->setiRow(value);
  recs_[p].iRow = value;
}

}  // namespace zxp::list
