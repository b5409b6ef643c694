// zorvaxp-registry-check.exe registered DLL | unregistered DLL
//
// Run under Wine after `regsvr32 /s zorvaxp.dll` (registered) and after `regsvr32 /s /u`
// (unregistered). The expected entries are what the server's registration writes for that DLL
// path, made into a file-backed store of our own; each of its values must then be in the
// platform's registry with the same type and data, and after unregistering none of its class,
// program id, interface or type library keys may be left. Prints each difference and exits with
// their count (capped at 100), so that ctest reports the first ones.
#include <cstdio>
#include <set>
#include <string>

#include "library/com/Registration.h"
#include "platform/services/Registry.h"

using zxp::services::Registry;

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s registered|unregistered DLL\n", argv[0]);
    return 100;
  }
  const std::string mode = argv[1];
  Registry expected("expected-registry.reg");  // never saved: only held in memory
  zxp::library::com::registerServer(expected, argv[2]);
  Registry system{std::string(Registry::kSystemRegistry)};
  if (!system.load()) return 100;

  int differences = 0, checked = 0;
  auto differ = [&](const std::string& what) {
    if (++differences <= 20) std::printf("%s\n", what.c_str());
  };
  for (const std::string& key : expected.keys()) {
    const std::vector<std::string> names = expected.valueNames(key);
    if (mode == "registered") {
      if (!system.hasKey(key)) differ("missing key " + key);
      for (const std::string& name : names) {
        ++checked;
        const auto* want = expected.value(key, name);
        const auto* got = system.value(key, name);
        if (!got) differ("missing value " + key + " [" + name + "]");
        else if (got->type != want->type || got->text != want->text || got->number != want->number)
          differ("wrong value " + key + " [" + name + "]: '" + got->text + "', want '" + want->text + "'");
      }
    } else if (mode == "unregistered") {
      // The shared roots stay; every key the server owns must be gone.
      static const std::set<std::string> shared = {"HKEY_CLASSES_ROOT", "HKEY_CLASSES_ROOT\\CLSID",
                                                   "HKEY_CLASSES_ROOT\\Interface", "HKEY_CLASSES_ROOT\\TypeLib"};
      if (shared.count(key)) continue;
      ++checked;
      if (system.hasKey(key)) differ("left behind: " + key);
    } else {
      std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
      return 100;
    }
  }
  std::printf("%s: %d checked, %d differences\n", mode.c_str(), checked, differences);
  return checked == 0 ? 100 : (differences > 100 ? 100 : differences);
}
