#include "list/clsLItem.h"

#include "platform/host/HostError.h"

namespace zxp::list {

size_t clsLItem::slot(int32_t iColumn) const {
  if (iColumn < 1 || iColumn > cellCount_) throw HostError(errSubscriptOutOfRange);
  return static_cast<size_t>(iColumn - 1);
}

const std::string& clsLItem::iCell(int32_t iColumn) const { return cells_[slot(iColumn)]; }
void clsLItem::setiCell(int32_t iColumn, std::string_view text) { cells_[slot(iColumn)].assign(text); }

// The image arrays stay unallocated while every index in them is 0 (most rows have no icons).
int32_t clsLItem::icon(const std::vector<int32_t>& icons, int32_t iColumn) const {
  const size_t i = slot(iColumn);
  return icons.empty() ? 0 : icons[i];
}

void clsLItem::setIcon(std::vector<int32_t>& icons, int32_t iColumn, int32_t index) {
  const size_t i = slot(iColumn);
  if (icons.empty()) {
    if (index == 0) return;
    icons.resize(static_cast<size_t>(cellCount_), 0);
  }
  icons[i] = index;
}

int32_t clsLItem::iSelectedIcon(int32_t iColumn) const { return icon(selectedIcons_, iColumn); }
void clsLItem::setiSelectedIcon(int32_t iColumn, int32_t index) { setIcon(selectedIcons_, iColumn, index); }
int32_t clsLItem::iNormalIcon(int32_t iColumn) const { return icon(normalIcons_, iColumn); }
void clsLItem::setiNormalIcon(int32_t iColumn, int32_t index) { setIcon(normalIcons_, iColumn, index); }

bool clsLItem::lvInitColumns(int32_t iColumnsCount) {
  if (iColumnsCount < 1) return false;
  const auto n = static_cast<size_t>(iColumnsCount);
  cells_.resize(n);
  if (!selectedIcons_.empty()) selectedIcons_.resize(n, 0);
  if (!normalIcons_.empty()) normalIcons_.resize(n, 0);
  cellCount_ = iColumnsCount;
  return true;
}

}  // namespace zxp::list
