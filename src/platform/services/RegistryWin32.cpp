// The platform's own registry behind services::Registry on Windows: RegCreateKeyExW,
// RegSetValueExW, RegDeleteTreeW, RegGetValueW and the enumerations. Values are REG_SZ (UTF-8
// here, UTF-16 in the registry) and REG_DWORD, as in the file store.
#include "platform/base/WideText.h"
#include "platform/host/NoCase.h"
#include "platform/services/Registry.h"

#include <windows.h>

namespace zxp::services::systemregistry {

namespace {

struct Path {
  HKEY root = nullptr;
  std::wstring sub;
};

// "HKEY_CLASSES_ROOT\A\B" -> (HKEY_CLASSES_ROOT, L"A\B"); no root for an unknown root name.
Path split(std::string_view key) {
  while (!key.empty() && key.front() == '\\') key.remove_prefix(1);
  while (!key.empty() && key.back() == '\\') key.remove_suffix(1);
  const size_t at = key.find('\\');
  const std::string_view rootName = key.substr(0, at);
  Path p;
  if (host::equalsNoCase(rootName, "HKEY_CLASSES_ROOT")) p.root = HKEY_CLASSES_ROOT;
  else if (host::equalsNoCase(rootName, "HKEY_CURRENT_USER")) p.root = HKEY_CURRENT_USER;
  else if (host::equalsNoCase(rootName, "HKEY_LOCAL_MACHINE")) p.root = HKEY_LOCAL_MACHINE;
  else if (host::equalsNoCase(rootName, "HKEY_USERS")) p.root = HKEY_USERS;
  if (at != std::string_view::npos) p.sub = base::widen(key.substr(at + 1));
  return p;
}

bool fail(LSTATUS status, std::string_view what, std::string_view key, std::string* error) {
  if (error) *error = std::string(what) + " " + std::string(key) + ": error " + std::to_string(status);
  return false;
}

class OpenKey {
 public:
  OpenKey(const Path& p, REGSAM access) {
    if (p.root && RegOpenKeyExW(p.root, p.sub.c_str(), 0, access, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ~OpenKey() {
    if (key_) RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

bool apply(const Registry::Change& c, std::string* error) {
  const Path p = split(c.key);
  if (!p.root) return fail(ERROR_INVALID_HANDLE, "no such root:", c.key, error);
  using Kind = Registry::Change::Kind;
  if (c.kind == Kind::DeleteTree) {
    const LSTATUS s = RegDeleteTreeW(p.root, p.sub.c_str());
    if (s != ERROR_SUCCESS && s != ERROR_FILE_NOT_FOUND) return fail(s, "cannot delete", c.key, error);
    if (s == ERROR_SUCCESS && !p.sub.empty()) RegDeleteKeyW(p.root, p.sub.c_str());  // the key itself
    return true;
  }
  HKEY key = nullptr;
  LSTATUS s = RegCreateKeyExW(p.root, p.sub.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  if (s != ERROR_SUCCESS) return fail(s, "cannot create", c.key, error);
  if (c.kind == Kind::SetValue) {
    const std::wstring name = base::widen(c.name);
    if (c.value.type == kRegDword) {
      const DWORD n = c.value.number;
      s = RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&n), sizeof n);
    } else {
      const std::wstring text = base::widen(c.value.text);
      s = RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
  }
  RegCloseKey(key);
  return s == ERROR_SUCCESS || fail(s, "cannot set a value of", c.key, error);
}

bool read(std::string_view key, std::string_view name, RegistryValue& out) {
  const Path p = split(key);
  if (!p.root) return false;
  const std::wstring value = base::widen(name);
  DWORD type = 0, size = 0;
  if (RegGetValueW(p.root, p.sub.c_str(), value.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, nullptr, &size) !=
      ERROR_SUCCESS)
    return false;
  std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
  if (RegGetValueW(p.root, p.sub.c_str(), value.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, buffer.data(),
                   &size) != ERROR_SUCCESS)
    return false;
  if (type == REG_DWORD) {
    out.type = kRegDword;
    out.number = *reinterpret_cast<const DWORD*>(buffer.data());
  } else {
    out.type = kRegSz;
    out.text = base::narrow(std::wstring_view(buffer.c_str()));
  }
  return true;
}

bool hasKey(std::string_view key) {
  const Path p = split(key);
  return OpenKey(p, KEY_READ).get() != nullptr;
}

std::vector<std::string> subkeys(std::string_view key) {
  std::vector<std::string> out;
  OpenKey k(split(key), KEY_READ);
  if (!k.get()) return out;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD n = 256;
    if (RegEnumKeyExW(k.get(), i, name, &n, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    out.push_back(base::narrow(std::wstring_view(name, n)));
  }
  return out;
}

std::vector<std::string> valueNames(std::string_view key) {
  std::vector<std::string> out;
  OpenKey k(split(key), KEY_READ);
  if (!k.get()) return out;
  wchar_t name[16384];
  for (DWORD i = 0;; ++i) {
    DWORD n = 16384;
    if (RegEnumValueW(k.get(), i, name, &n, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    out.push_back(base::narrow(std::wstring_view(name, n)));
  }
  return out;
}

}  // namespace zxp::services::systemregistry
