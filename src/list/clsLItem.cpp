#include "list/clsLItem.h"

#include "platform/host/HostError.h"

namespace zxp::list {

clsLItem::~clsLItem() {
  // Released rows forget their cells and their place, so a stale reference held by a caller
  // reads as an empty row rather than as the row that used to be there.
  cells_.clear();
  selectedIcons_.clear();
  normalIcons_.clear();
  rowTop = rowBottom = iRow_ = 0;
}

size_t clsLItem::slot(int32_t iColumn) const {
  if (iColumn < 1 || iColumn > cellCount_) throw HostError(errSubscriptOutOfRange);
  return static_cast<size_t>(iColumn - 1);
}

const std::string& clsLItem::iCell(int32_t iColumn) const { return cells_[slot(iColumn)]; }
void clsLItem::setiCell(int32_t iColumn, std::string_view text) { cells_[slot(iColumn)].assign(text); }

int32_t clsLItem::iSelectedIcon(int32_t iColumn) const { return selectedIcons_[slot(iColumn)]; }
void clsLItem::setiSelectedIcon(int32_t iColumn, int32_t index) { selectedIcons_[slot(iColumn)] = index; }
int32_t clsLItem::iNormalIcon(int32_t iColumn) const { return normalIcons_[slot(iColumn)]; }
void clsLItem::setiNormalIcon(int32_t iColumn, int32_t index) { normalIcons_[slot(iColumn)] = index; }

bool clsLItem::lvInitColumns(int32_t iColumnsCount) {
  if (iColumnsCount < 1) return false;
  const auto n = static_cast<size_t>(iColumnsCount);
  cells_.resize(n);
  selectedIcons_.resize(n, 0);
  normalIcons_.resize(n, 0);
  cellCount_ = iColumnsCount;
  return true;
}

}  // namespace zxp::list
