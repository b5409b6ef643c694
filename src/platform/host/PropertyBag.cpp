#include "platform/host/PropertyBag.h"

#include <utility>

#include "platform/host/NoCase.h"

namespace zxp::host {

const PropertyBag::Entry* PropertyBag::find(std::string_view key) const {
  if (index_.size() != 0) {
    const size_t at = index_.find(key, [this](size_t i) -> std::string_view { return entries_[i].key; });
    return at == NoCaseIndex::npos ? nullptr : &entries_[at];
  }
  for (const Entry& e : entries_) {
    if (equalsNoCase(e.key, key)) return &e;
  }
  return nullptr;
}

void PropertyBag::rebuildIndex() {
  index_.clear();
  if (entries_.size() <= kIndexFrom) return;
  index_.reserve(entries_.size());
  for (size_t i = 0; i < entries_.size(); ++i) index_.insert(entries_[i].key, i);
}

PropertyBag::Entry* PropertyBag::findMutable(std::string_view key) {
  return const_cast<Entry*>(static_cast<const PropertyBag*>(this)->find(key));
}

Variant PropertyBag::ReadProperty(std::string_view key, const Variant& defaultValue) const {
  lastKeyRead_.assign(key);
  const Entry* e = find(key);
  if (!e) return defaultValue;
  e->wasRead = true;
  return e->value;
}

std::string PropertyBag::readText(std::string_view key, std::string defaultValue) {
  lastKeyRead_.assign(key);
  Entry* e = findMutable(key);
  if (!e) return defaultValue;
  e->wasRead = true;
  if (std::string* s = e->value.getIf<std::string>(); s && handedOver_) return std::exchange(*s, std::string());
  return variantAs<std::string>(e->value);
}

std::vector<const PropertyBag::Entry*> PropertyBag::unreadEntries() const {
  std::vector<const Entry*> out;
  for (const Entry& e : entries_) {
    if (!e.wasRead) out.push_back(&e);
  }
  return out;
}

void PropertyBag::set(std::string_view key, Variant value, int line) {
  if (Entry* e = findMutable(key)) {
    e->value = std::move(value);
    e->line = line;
    return;
  }
  entries_.push_back(Entry{std::string(key), std::move(value), line});
  if (entries_.size() <= kIndexFrom) return;
  if (index_.size() == 0) rebuildIndex();
  else index_.insert(entries_.back().key, entries_.size() - 1);
}

bool PropertyBag::erase(std::string_view key) {
  const Entry* e = find(key);
  if (!e) return false;
  const size_t at = static_cast<size_t>(e - entries_.data());
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(at));
  // The entries after the erased one move up by one: the index is built again (erasing is rare,
  // and the vector's erase costs as much).
  rebuildIndex();
  return true;
}

void PropertyBag::WriteProperty(std::string_view key, const Variant& value) { set(key, value); }

void PropertyBag::WriteProperty(std::string_view key, const Variant& value, const Variant& defaultValue) {
  // Fonts and pictures are objects: an object is never equal to a default, so it is always
  // written (an empty picture as none) and a bag never loses one by omission.
  const bool object = value.kind() == Variant::Kind::Font || value.kind() == Variant::Kind::Picture;
  if (!object && value == defaultValue) {
    erase(key);
    return;
  }
  set(key, value);
}

}  // namespace zxp::host
