#include "platform/gfx/Handles.h"

namespace zxp {

HandleTable& HandleTable::global() {
  static HandleTable table;
  return table;
}

HANDLE HandleTable::add(ObjKind kind, std::shared_ptr<HandleObject> obj, bool stock) {
  // After the counter wraps, handles still in use are skipped (the table never holds all 2^32).
  HANDLE h = next_;
  while (entries_.contains(h)) h = h == UINT32_MAX ? kFirstHandle : h + 1;
  next_ = h == UINT32_MAX ? kFirstHandle : h + 1;  // never hand out 0 (or the low range) after wrapping
  entries_.emplace(h, Entry{kind, stock, std::move(obj)});
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
  auto it = entries_.find(h);
  if (it == entries_.end()) return false;
  if (it->second.stock) return true;
  Slot& slot = cache_[h & (kCacheSlots - 1)];
  if (slot.handle == h) slot = Slot{};
  --live_[static_cast<size_t>(it->second.kind)];
  // Move the object out first: its destructor may call back into the table.
  auto obj = std::move(it->second.obj);
  entries_.erase(it);
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
