// The list's row class as a component object: a creatable clsLItem that clients reach late-bound
// through its member table. The row itself stays the plain clsLItem the list keeps; this object
// holds one by shared reference (RowRef).
#pragma once

#include <memory>

#include "list/clsLItem.h"
#include "platform/host/MemberTable.h"

namespace zxp::library {

class LItemObject : public host::Dispatchable {
 public:
  LItemObject() : item_(list::makeRow()) {}
  explicit LItemObject(list::RowRef item) : item_(std::move(item)) {}
  const host::MemberTable& memberTable() const override;
  list::clsLItem& item() const { return *item_; }

  std::string iCell(int32_t iColumn) const { return std::string(item_->iCell(iColumn)); }
  void setiCell(int32_t iColumn, std::string text) { item_->setiCell(iColumn, text); }
  int32_t iRow() const { return item_->iRow(); }
  void setiRow(int32_t v) { item_->setiRow(v); }
  int32_t iSelectedIcon(int32_t c) const { return item_->iSelectedIcon(c); }
  void setiSelectedIcon(int32_t c, int32_t v) { item_->setiSelectedIcon(c, v); }
  int32_t iNormalIcon(int32_t c) const { return item_->iNormalIcon(c); }
  void setiNormalIcon(int32_t c, int32_t v) { item_->setiNormalIcon(c, v); }
  bool iValue() const { return item_->iValue(); }
  void setiValue(bool v) { item_->setiValue(v); }
  int32_t ItemData() const { return item_->ItemData(); }
  void setItemData(int32_t v) { item_->setItemData(v); }
  bool lvInitColumns(int32_t n) { return item_->lvInitColumns(n); }

 private:
  list::RowRef item_;
};

}  // namespace zxp::library
