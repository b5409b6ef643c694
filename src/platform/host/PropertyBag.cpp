#include "platform/host/PropertyBag.h"

#include <algorithm>

#include "platform/host/NoCase.h"

namespace zxp::host {

const PropertyBag::Entry* PropertyBag::find(std::string_view key) const {
  for (const Entry& e : entries_) {
    if (equalsNoCase(e.key, key)) return &e;
  }
  return nullptr;
}

PropertyBag::Entry* PropertyBag::findMutable(std::string_view key) {
  return const_cast<Entry*>(static_cast<const PropertyBag*>(this)->find(key));
}

Variant PropertyBag::ReadProperty(std::string_view key, const Variant& defaultValue) const {
  lastKeyRead_ = std::string(key);
  const Entry* e = find(key);
  if (!e) return defaultValue;
  e->wasRead = true;
  return e->value;
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
}

bool PropertyBag::erase(std::string_view key) {
  auto it = std::find_if(entries_.begin(), entries_.end(),
                         [&](const Entry& e) { return equalsNoCase(e.key, key); });
  if (it == entries_.end()) return false;
  entries_.erase(it);
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
