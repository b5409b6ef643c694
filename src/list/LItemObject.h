// The list's row class as a host object: what late-bound clients hold for a row (a clsLItem made
// by its class factory, or one the list's Item hands out), reached through its member table. The
// row itself stays the plain clsLItem the list keeps; this object holds one by shared reference
// (RowRef), so a row handed out and changed by a client is the list's live row.
#pragma once

#include <memory>

#include "list/clsLItem.h"
#include "platform/host/MemberTable.h"

namespace zxp::list {

class LItemObject final : public host::HostObject, public host::Dispatchable {
 public:
  LItemObject() : item_(makeRow()) {}
  explicit LItemObject(RowRef item) : item_(std::move(item)) {}
  const host::MemberTable& memberTable() const override;
  std::string typeName() const override { return "clsLItem"; }
  host::Dispatchable* members() override { return this; }

  clsLItem& item() const { return *item_; }
  const RowRef& row() const { return item_; }

  // A row as a host object (a new object holding the live row).
  static host::ObjectRef wrap(RowRef row);
  // The row an object holds: a clsLItem object; Type mismatch (13) for any other object, and
  // "Object variable not set" (91) for a reference that holds nothing.
  static RowRef rowOf(const host::ObjectRef& object);

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
  RowRef item_;
};

}  // namespace zxp::list
