#include "library/LItemObject.h"

namespace zxp::library {

// The row's members in their published order. iItemUnicode is a record, which late-bound callers
// cannot pass: it keeps its place (and so the dispatch identifiers after it) and raises a type
// mismatch; the list control reads and writes it directly.
const host::MemberTable& LItemObject::memberTable() const {
  using L = LItemObject;
  static const host::MemberTable table = [] {
    host::MemberTable t = host::ClassMembers<L>("clsLItem")
        .indexedProperty("iCell", &L::iCell, &L::setiCell)
        .property("iRow", &L::iRow, &L::setiRow)
        .indexedProperty("iSelectedIcon", &L::iSelectedIcon, &L::setiSelectedIcon)
        .indexedProperty("iNormalIcon", &L::iNormalIcon, &L::setiNormalIcon)
        .property("iValue", &L::iValue, &L::setiValue)
        .build();
    host::Member record;
    record.name = "iItemUnicode";
    record.get = [](host::Dispatchable&) -> host::Variant { throw HostError(errTypeMismatch); };
    record.let = [](host::Dispatchable&, const host::Variant&) { throw HostError(errTypeMismatch); };
    t.addMember(std::move(record));
    const host::MemberTable rest = host::ClassMembers<L>("clsLItem")
        .property("ItemData", &L::ItemData, &L::setItemData)
        .method("lvInitColumns", &L::lvInitColumns)
        .build();
    for (const host::Member& m : rest.members()) t.addMember(m);
    return t;
  }();
  return table;
}

}  // namespace zxp::library
