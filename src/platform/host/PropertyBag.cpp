#include "platform/host/PropertyBag.h"

#include <cstdint>

#include "platform/host/NoCase.h"

namespace zxp::host {

// FNV-1a over the key's bytes in lower case, so that every spelling of a key meets.
size_t PropertyBag::NoCaseHash::operator()(std::string_view key) const {
  uint64_t h = 0xcbf29ce484222325ull;
  for (char c : key) {
    h ^= static_cast<unsigned char>(asciiLower(c));
    h *= 0x100000001b3ull;
  }
  return static_cast<size_t>(h);
}

bool PropertyBag::NoCaseEqual::operator()(std::string_view a, std::string_view b) const { return equalsNoCase(a, b); }

const PropertyBag::Entry* PropertyBag::find(std::string_view key) const {
  if (!index_.empty()) {
    const auto it = index_.find(key);
    return it == index_.end() ? nullptr : &entries_[it->second];
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
  for (size_t i = 0; i < entries_.size(); ++i) index_.emplace(entries_[i].key, i);
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
  if (entries_.size() <= kIndexFrom) return;
  if (index_.empty()) rebuildIndex();
  else index_.emplace(entries_.back().key, entries_.size() - 1);
}

bool PropertyBag::erase(std::string_view key) {
  const Entry* e = find(key);
  if (!e) return false;
  const size_t at = static_cast<size_t>(e - entries_.data());
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(at));
  if (entries_.size() <= kIndexFrom) {
    index_.clear();
    return true;
  }
  // The entries after the erased one move up by one.
  index_.erase(index_.find(key));
  for (auto& [k, i] : index_)
    if (i > at) --i;
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
