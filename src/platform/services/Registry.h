// The registry: the platform's per-user hierarchical store of keys and values, kept in one text
// file. Keys are paths of names separated by "\" under a root ("HKEY_CLASSES_ROOT",
// "HKEY_CURRENT_USER"), matched without regard to case and kept with the case they were created
// with; each key holds named values (the empty name is the key's default value), strings
// (REG_SZ, UTF-8) or 32-bit numbers (REG_DWORD).
//
// The file lives at $ZORVAXP_REGISTRY, else $XDG_CONFIG_HOME/zorvaxp/registry.reg, else
// ~/.config/zorvaxp/registry.reg. It is written whole and atomically (FileIo's
// writeFileAtomically), so a failed save leaves the previous store; its text is diff-friendly:
//
//   ZorvaXP Registry 1
//   [HKEY_CLASSES_ROOT\ZorvaXPProject.ZorvaXPButton\CLSID]
//   @="{...}"
//   "ThreadingModel"="Apartment"
//   "Count"=dword:0000002a
//
// On Windows the store is the platform's own registry unless $ZORVAXP_REGISTRY names a file:
// defaultPath() is then kSystemRegistry, reads go to the registry API, and save() applies the
// changes made since load() (createKey, set, deleteTree) with it (RegistryWin32.cpp). keys() and
// text() list only what this object holds, not the whole registry.
//
// A number is "dword:" and exactly eight hexadecimal digits. Reading a malformed file (a number
// with a sign, a "0x", a space or another width included) fails with its line number, and the
// store stays empty.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace zxp::services {

// The platform's value types REG_SZ and REG_DWORD.
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegDword = 4;

struct RegistryValue {
  uint32_t type = kRegSz;
  std::string text;    // kRegSz
  uint32_t number = 0; // kRegDword
};

class Registry {
 public:
  // The path that stands for the platform's own registry (Windows only).
  static constexpr std::string_view kSystemRegistry = "(system registry)";
  // The file of the current user's store (see above).
  static std::string defaultPath();

  explicit Registry(std::string path = defaultPath());
  const std::string& path() const { return path_; }

  // Reads the file; a missing file is an empty store. False with a reason for an unreadable or
  // malformed file.
  bool load(std::string* error = nullptr);
  // Writes the file atomically, creating its folder. False with a reason when it cannot.
  bool save(std::string* error = nullptr) const;

  // Creates a key and the keys above it.
  void createKey(std::string_view key);
  // Sets a value, creating its key.
  void setString(std::string_view key, std::string_view name, std::string_view value);
  void setDword(std::string_view key, std::string_view name, uint32_t value);
  // Deletes a key with everything below it; false when it was not there.
  bool deleteTree(std::string_view key);

  bool hasKey(std::string_view key) const;
  const RegistryValue* value(std::string_view key, std::string_view name) const;
  // The names of a key's values, its default value ("") first.
  std::vector<std::string> valueNames(std::string_view key) const;
  // The names of the keys directly below a key (a root name for "" ), in sorted order.
  std::vector<std::string> subkeys(std::string_view key) const;
  // Every key's full path in sorted order (a key before the keys below it).
  std::vector<std::string> keys() const;

  // The file's text; with a key, only that key and the keys below it (a listing).
  std::string text(std::string_view below = {}) const;
  // Reads a text as load does; false with "line N: ..." when malformed.
  bool parse(std::string_view text, std::string* error = nullptr);

 private:
  struct Key {
    std::string path;  // as created
    std::map<std::string, std::pair<std::string, RegistryValue>> values;  // lower-case name -> (name, value)
  };
  static std::string normalise(std::string_view key);  // trims separators, lower case
  Key& ensure(std::string_view key);

  std::string path_;
  std::map<std::string, Key> keys_;  // by lower-case path

 public:
  // A change to apply to the platform's registry on save().
  struct Change {
    enum class Kind { CreateKey, SetValue, DeleteTree } kind = Kind::CreateKey;
    std::string key, name;
    RegistryValue value;
  };

 private:
  bool system_ = false;  // the platform's registry (Windows)
  std::vector<Change> changes_;
};

// A class identifier written "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX" (hexadecimal digits of either
// case, braces optional), as the registry stores it, in the component model's GUID fields;
// false, and nothing written, for anything else.
bool parseClassId(std::string_view text, uint32_t& data1, uint16_t& data2, uint16_t& data3, uint8_t* data4);

// The platform's registry (Windows, RegistryWin32.cpp). Keys are full paths from a root name.
namespace systemregistry {
bool apply(const Registry::Change& change, std::string* error);
bool read(std::string_view key, std::string_view name, RegistryValue& out);
bool hasKey(std::string_view key);
std::vector<std::string> subkeys(std::string_view key);
std::vector<std::string> valueNames(std::string_view key);
}  // namespace systemregistry

}  // namespace zxp::services
