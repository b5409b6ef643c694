// The property bag: the host's persistence store for one control (or one form).
//
// A control reads each persisted property with its creation default and writes it with the same
// default; a value equal to its default is omitted from the bag, so a later read falls back to
// the default and gets the same value. Keys are property names, compared without regard to case
// (the host's rule) and kept in the order they were first written, so that saved forms list a
// control's properties in its own order.
//
// A bag with more than a few keys also keeps an index from the key (without case) to its entry,
// so a lookup costs the same for ten keys or a hundred thousand: a form file's parser checks
// every line's key for a duplicate, and a control reads every key it knows, so a scan of the keys
// per lookup would make loading quadratic in the number of property lines. The index is a flat
// table of positions (NoCaseIndex) that holds no copy of the keys.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/NoCaseIndex.h"
#include "platform/host/Variant.h"

namespace zxp::host {

class PropertyBag {
 public:
  struct Entry {
    std::string key;
    Variant value;
    int line = 0;  // the form-file line the value came from (0 when written by code)
    mutable bool wasRead = false;  // set by ReadProperty and read: the key is one a reader knows
  };

  // The stored value, or the default when the key is absent.
  Variant ReadProperty(std::string_view key, const Variant& defaultValue = Variant()) const;
  // Typed read: the stored value converted to T, or the default. A stored value that cannot be
  // converted raises Type mismatch (13) or Overflow (6), as the host's assignment would.
  template <class T>
  T read(std::string_view key, const T& defaultValue) const {
    const Entry* e = find(key);
    lastKeyRead_.assign(key);
    if (!e) return defaultValue;
    e->wasRead = true;
    return variantAs<T>(e->value);
  }

  // Reads a text as read<std::string> does. A bag handed over (the loader's, read once by the one
  // control it was parsed for) gives a stored string away instead of copying it, so that a
  // caption of many megabytes is not copied on its way into its control; the entry then holds "".
  std::string readText(std::string_view key, std::string defaultValue);
  void handOver() { handedOver_ = true; }

  // Marks a key as one the reader knows without using its value: a key a control still writes
  // for older readers but ignores itself, so that loading the control's own output lists no
  // unknown key.
  void acknowledge(std::string_view key) const {
    if (const Entry* e = find(key)) e->wasRead = true;
  }

  // Stores the value; with a default, a value equal to the default is omitted (and any value
  // stored earlier under the key is removed). Fonts and pictures are objects and are written
  // whatever the default.
  void WriteProperty(std::string_view key, const Variant& value);
  void WriteProperty(std::string_view key, const Variant& value, const Variant& defaultValue);

  // Raw access, for form files and designers.
  const Entry* find(std::string_view key) const;
  bool contains(std::string_view key) const { return find(key) != nullptr; }
  void set(std::string_view key, Variant value, int line = 0);
  bool erase(std::string_view key);
  const std::vector<Entry>& entries() const { return entries_; }
  size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  void clear() {
    entries_.clear();
    index_.clear();
  }

  // The entries no reader asked for: after a control has read its bag, the keys it does not know
  // (a misspelt property name in a form file), in bag order.
  std::vector<const Entry*> unreadEntries() const;

  // The key of the latest read; lets a loader say which property a failed read was about.
  const std::string& lastKeyRead() const { return lastKeyRead_; }

 private:
  // Bags up to this size are searched key by key: cheaper than hashing for the usual few keys.
  static constexpr size_t kIndexFrom = 16;

  Entry* findMutable(std::string_view key);
  void rebuildIndex();
  std::vector<Entry> entries_;
  // Key -> position in entries_, kept while the bag has more than kIndexFrom entries.
  NoCaseIndex index_;
  mutable std::string lastKeyRead_;
  bool handedOver_ = false;
};

}  // namespace zxp::host
