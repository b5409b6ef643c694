#include "platform/gfx/Handles.h"

namespace zxp {

HandleTable& HandleTable::global() {
  static HandleTable table;
  return table;
}

HandleTable::~HandleTable() {
  // Objects are released after the table is emptied: a destructor that calls back (removing a
  // handle it owns) then finds a valid, empty table.
  std::vector<std::shared_ptr<HandleObject>> objects;
  for (Entry& e : slots_)
    if (e.handle != 0) objects.push_back(std::move(e.obj));
  slots_.clear();
  mask_ = 0;
  used_ = 0;
  objects.clear();
}

void HandleTable::grow() {
  const size_t oldSize = slots_.size();
  const size_t newSize = oldSize == 0 ? 1024 : oldSize * 2;
  slots_.resize(newSize);
  mask_ = newSize - 1;
  // An entry in slot i moves to i + oldSize when the new low bit of its handle is set; the slot
  // it lands on is in the new upper half, which starts out empty.
  for (size_t i = 0; i < oldSize; ++i) {
    Entry& e = slots_[i];
    if (e.handle != 0 && (e.handle & oldSize) != 0) {
      slots_[i + oldSize] = std::move(e);
      e = Entry{};
    }
  }
}

HANDLE HandleTable::add(ObjKind kind, std::shared_ptr<HandleObject> obj, bool stock) {
  if ((used_ + 1) * 4 > slots_.size() * 3) grow();
  // Pass over values whose slot is taken: after the counter wraps, this skips every handle still
  // in use, since a live handle sits in the slot its own low bits name.
  HANDLE h = next_;
  while (slots_[h & mask_].handle != 0) h = h == UINT32_MAX ? kFirstHandle : h + 1;
  next_ = h == UINT32_MAX ? kFirstHandle : h + 1;  // never hand out 0 (or the low range) after wrapping
  slots_[h & mask_] = Entry{h, kind, stock, std::move(obj)};
  ++used_;
  if (!stock) ++live_[static_cast<size_t>(kind)];
  return h;
}

std::shared_ptr<HandleObject> HandleTable::find(HANDLE h, ObjKind kind) const {
  const Entry* e = entry(h);
  if (!e || e->kind != kind) return nullptr;
  return e->obj;
}

ObjKind HandleTable::kindOf(HANDLE h) const {
  const Entry* e = entry(h);
  return e ? e->kind : ObjKind::None;
}

bool HandleTable::isStock(HANDLE h) const {
  const Entry* e = entry(h);
  return e && e->stock;
}

bool HandleTable::remove(HANDLE h) {
  const Entry* found = entry(h);
  if (!found) return false;
  if (found->stock) return true;
  Entry& e = slots_[h & mask_];
  --live_[static_cast<size_t>(e.kind)];
  --used_;
  // Free the slot first: the object's destructor may call back into the table.
  auto obj = std::move(e.obj);
  e = Entry{};
  obj.reset();
  return true;
}

size_t HandleTable::liveCount(ObjKind kind) const { return live_[static_cast<size_t>(kind)]; }

size_t HandleTable::liveCount() const {
  size_t n = 0;
  for (size_t c : live_) n += c;
  return n;
}

}  // namespace zxp
