#include "list/LItemObject.h"

#include "platform/base/HostError.h"

namespace zxp::list {

host::ObjectRef LItemObject::wrap(RowRef row) { return std::make_shared<LItemObject>(std::move(row)); }

RowRef LItemObject::rowOf(const host::ObjectRef& object) {
  if (!object) throw HostError(errObjectNotSet);
  auto* row = dynamic_cast<LItemObject*>(object.get());
  if (!row) throw HostError(errTypeMismatch);
  return row->row();
}

// The row's members in the interface's order. iItemUnicode is a record, which late-bound callers
// cannot pass: it keeps its place (and so the dispatch identifiers after it) and raises a type
// mismatch; the list control reads and writes it directly.
const host::MemberTable& LItemObject::memberTable() const {
  using L = LItemObject;
  static const host::MemberTable table = [] {
    host::MemberTable t = host::ClassMembers<L>("clsLItem")
        .indexedProperty("iCell", &L::iCell, &L::setiCell).params({"iColumn"})
        .property("iRow", &L::iRow, &L::setiRow)
        .indexedProperty("iSelectedIcon", &L::iSelectedIcon, &L::setiSelectedIcon).params({"iColumn"})
        .indexedProperty("iNormalIcon", &L::iNormalIcon, &L::setiNormalIcon).params({"iColumn"})
        .property("iValue", &L::iValue, &L::setiValue)
        .build();
    host::Member record;
    record.name = "iItemUnicode";
    record.get = [](host::Dispatchable&) -> host::Variant { throw HostError(errTypeMismatch); };
    record.let = [](host::Dispatchable&, const host::Variant&) { throw HostError(errTypeMismatch); };
    t.addMember(std::move(record));
    const host::MemberTable rest = host::ClassMembers<L>("clsLItem")
        .property("ItemData", &L::ItemData, &L::setItemData)
        .method("lvInitColumns", &L::lvInitColumns).params({"iColumnsCount"})
        .build();
    for (const host::Member& m : rest.members()) t.addMember(m);
    return t;
  }();
  return table;
}

}  // namespace zxp::list
