#include "platform/services/Library.h"

#include <array>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/host/NoCase.h"

namespace zxp::services {

namespace {

// The libraries this platform provides.
constexpr std::array<std::string_view, 13> kSystemLibraries = {
    "kernel32", "user32", "gdi32", "shell32", "comctl32", "comdlg32", "oleaut32",
    "ole32",    "winmm",  "msimg32", "version", "advapi32", "msvbvm60"};

struct Module : HandleObject {
  std::string name;
  int refs = 0;
};

// Canonical key: lower case, without a ".dll" extension; empty when not a system library.
std::string canonical(std::string_view name) {
  std::string s;
  for (char c : name) s.push_back(host::asciiLower(c));
  if (s.size() > 4 && s.compare(s.size() - 4, 4, ".dll") == 0) s.resize(s.size() - 4);
  for (std::string_view lib : kSystemLibraries) {
    if (s == lib) return s;
  }
  return {};
}

std::unordered_map<std::string, HMODULE>& loaded() {
  static std::unordered_map<std::string, HMODULE> map;
  return map;
}

}  // namespace

int libraryRefCount(std::string_view name) {
  auto it = loaded().find(canonical(name));
  if (it == loaded().end()) return 0;
  auto* m = handles().peek<Module>(it->second, ObjKind::Module);
  return m ? m->refs : 0;
}

}  // namespace zxp::services

namespace zxp {

using services::Module;

HMODULE LoadLibraryA(const char* lpLibFileName) {
  if (!lpLibFileName) return 0;
  std::string key = services::canonical(lpLibFileName);
  if (key.empty()) return 0;
  auto& map = services::loaded();
  auto it = map.find(key);
  if (it != map.end()) {
    if (auto* m = handles().peek<Module>(it->second, ObjKind::Module)) {
      ++m->refs;
      return it->second;
    }
  }
  auto m = std::make_shared<Module>();
  m->name = key;
  m->refs = 1;
  HMODULE h = handles().add(ObjKind::Module, m);
  map[key] = h;
  return h;
}

BOOL FreeLibrary(HMODULE hLibModule) {
  auto* m = handles().peek<Module>(hLibModule, ObjKind::Module);
  if (!m) return 0;
  if (--m->refs == 0) {
    services::loaded().erase(m->name);
    handles().remove(hLibModule);
  }
  return 1;
}

HMODULE GetModuleHandleA(const char* lpModuleName) {
  if (!lpModuleName) return 0;
  auto& map = services::loaded();
  auto it = map.find(services::canonical(lpModuleName));
  return it == map.end() ? 0 : it->second;
}

}  // namespace zxp
