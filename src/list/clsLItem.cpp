#include "list/clsLItem.h"

#include <algorithm>
#include <cstring>

#include "list/RowText.h"
#include "platform/base/HostError.h"

namespace zxp::list {

struct clsLItem::Side {
  std::string text;  // the whole text when it does not fit in the row
  std::vector<std::string> cells;
  // The image arrays stay unallocated while every index in them is 0 (most rows have no icons).
  std::vector<int32_t> selectedIcons;
  std::vector<int32_t> normalIcons;
};

clsLItem::clsLItem(const clsLItem& other)
    : side_(other.side_ ? std::make_unique<Side>(*other.side_) : nullptr),
      iRow_(other.iRow_),
      itemData_(other.itemData_),
      cellCount_(other.cellCount_),
      pieces_(other.pieces_),
      textSize_(other.textSize_),
      flags_(other.flags_) {
  std::memcpy(inline_, other.inline_, sizeof inline_);
}

clsLItem& clsLItem::operator=(const clsLItem& other) {
  if (this != &other) {
    clsLItem copy(other);
    side_ = std::move(copy.side_);
    iRow_ = copy.iRow_;
    itemData_ = copy.itemData_;
    cellCount_ = copy.cellCount_;
    pieces_ = copy.pieces_;
    textSize_ = copy.textSize_;
    flags_ = copy.flags_;
    std::memcpy(inline_, copy.inline_, sizeof inline_);
  }
  return *this;
}

clsLItem::clsLItem() = default;
clsLItem::~clsLItem() = default;

clsLItem::Side& clsLItem::side() {
  if (!side_) side_ = std::make_unique<Side>();
  return *side_;
}

size_t clsLItem::slot(int32_t iColumn) const {
  if (iColumn < 1 || iColumn > cellCount_) throw HostError(errSubscriptOutOfRange);
  return static_cast<size_t>(iColumn - 1);
}

std::string_view clsLItem::wholeText() const {
  if (textSize_ <= kInline) return {inline_, textSize_};
  return side_->text;
}

void clsLItem::setText(std::string_view text) {
  if (text.size() <= kInline) {
    if (!text.empty()) std::memmove(inline_, text.data(), text.size());  // may be our own text
    if (side_) side_->text = std::string();
  } else {
    side().text.assign(text);
  }
  textSize_ = static_cast<uint32_t>(text.size());
}

std::string_view clsLItem::iCell(int32_t iColumn) const {
  const size_t i = slot(iColumn);
  if (flags_ & kOwnCells) return side_->cells[i];
  if (flags_ & kWholeCell) return i == 0 ? wholeText() : std::string_view();
  return iColumn <= pieces_ ? textPiece(wholeText(), iColumn - 1) : std::string_view();
}

void clsLItem::ownCells() {
  if (flags_ & kOwnCells) return;
  std::vector<std::string> cells(static_cast<size_t>(cellCount_));
  for (int32_t c = 1; c <= cellCount_; ++c) cells[static_cast<size_t>(c - 1)] = iCell(c);
  side().cells = std::move(cells);
  setFlag(kOwnCells, true);
  setFlag(kWholeCell, false);
  pieces_ = 0;
}

void clsLItem::setiCell(int32_t iColumn, std::string_view text) {
  const size_t i = slot(iColumn);
  ownCells();
  side_->cells[i].assign(text);
}

void clsLItem::assignPieces(std::string_view text, int32_t limit) {
  const int32_t n = textPieceCount(text, std::min(limit, cellCount_));
  // The cells stay pieces of the text when none of the cells after the new pieces holds a text.
  bool fits = false;
  if (flags_ & kOwnCells) {
    fits = false;
  } else if (flags_ & kWholeCell) {
    fits = n >= 1 || textSize_ == 0;
  } else {
    fits = n >= pieces_;
  }
  if (fits) {
    setText(text);
    setFlag(kWholeCell, false);
    pieces_ = n;
    return;
  }
  ownCells();
  for (int32_t c = 1; c <= n; ++c) side_->cells[static_cast<size_t>(c - 1)] = textPiece(text, c - 1);
  setText(text);
}

void clsLItem::assignWhole(std::string_view text) {
  bool othersEmpty = true;
  for (int32_t c = 2; c <= cellCount_ && othersEmpty; ++c) othersEmpty = iCell(c).empty();
  if (!(flags_ & kOwnCells) && othersEmpty) {
    setText(text);
    setFlag(kWholeCell, true);
    pieces_ = 0;
    return;
  }
  ownCells();
  side_->cells[0].assign(text);
  setText(text);
}

void clsLItem::assignStored(std::string_view text, int32_t pieces, bool wholeCell) {
  setText(text);
  setFlag(kWholeCell, wholeCell);
  pieces_ = wholeCell ? 0 : std::min(pieces, cellCount_);
}

LItemUnicode clsLItem::iItemUnicode() const {
  auto bit = [this](int n) { return static_cast<int16_t>((flags_ >> n) & 1 ? -1 : 0); };
  return LItemUnicode{bit(0), bit(1), bit(2), bit(3)};
}

void clsLItem::setiItemUnicode(const LItemUnicode& value) {
  setFlag(1, value.fBold != 0);
  setFlag(2, value.fItalic != 0);
  setFlag(4, value.fUnderline != 0);
  setFlag(8, value.fStrikeThrough != 0);
}

std::vector<int32_t>* clsLItem::icons(bool selected) const {
  if (!side_) return nullptr;
  return selected ? &side_->selectedIcons : &side_->normalIcons;
}

int32_t clsLItem::iSelectedIcon(int32_t iColumn) const {
  const size_t i = slot(iColumn);
  const auto* v = icons(true);
  return v && !v->empty() ? (*v)[i] : 0;
}

int32_t clsLItem::iNormalIcon(int32_t iColumn) const {
  const size_t i = slot(iColumn);
  const auto* v = icons(false);
  return v && !v->empty() ? (*v)[i] : 0;
}

void clsLItem::setiSelectedIcon(int32_t iColumn, int32_t index) {
  const size_t i = slot(iColumn);
  if (index == 0 && (!side_ || side_->selectedIcons.empty())) return;
  auto& v = side().selectedIcons;
  if (v.empty()) v.resize(static_cast<size_t>(cellCount_), 0);
  v[i] = index;
}

void clsLItem::setiNormalIcon(int32_t iColumn, int32_t index) {
  const size_t i = slot(iColumn);
  if (index == 0 && (!side_ || side_->normalIcons.empty())) return;
  auto& v = side().normalIcons;
  if (v.empty()) v.resize(static_cast<size_t>(cellCount_), 0);
  v[i] = index;
}

bool clsLItem::lvInitColumns(int32_t iColumnsCount) {
  if (iColumnsCount < 1) return false;
  const auto n = static_cast<size_t>(iColumnsCount);
  if (side_) {
    if (flags_ & kOwnCells) side_->cells.resize(n);
    if (!side_->selectedIcons.empty()) side_->selectedIcons.resize(n, 0);
    if (!side_->normalIcons.empty()) side_->normalIcons.resize(n, 0);
  }
  pieces_ = std::min(pieces_, iColumnsCount);
  cellCount_ = iColumnsCount;
  return true;
}

}  // namespace zxp::list
