// zorvaxp-regedit: lists the current user's registry (the store components register into).
//
//   zorvaxp-regedit [--file PATH] [KEY]
//
// Prints every key below KEY (default: everything) with its values, in the store's own text
// format. The store is $ZORVAXP_REGISTRY, else the per-user default (services/Registry.h), or the
// file given. Exits with 1 for an unreadable store or an unknown key, 2 for bad arguments.
#include <cstdio>
#include <string>

#include "platform/services/Registry.h"

int main(int argc, char** argv) {
  using zxp::services::Registry;
  std::string path = Registry::defaultPath();
  std::string key;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--file" && i + 1 < argc) {
      path = argv[++i];
    } else if (a == "--help" || a == "-h") {
      std::printf("usage: zorvaxp-regedit [--file PATH] [KEY]\n");
      return 0;
    } else if (!a.empty() && a[0] != '-' && key.empty()) {
      key = a;
    } else {
      std::fprintf(stderr, "zorvaxp-regedit: unexpected argument '%s'\n", a.c_str());
      return 2;
    }
  }
  Registry r(path);
  std::string error;
  if (!r.load(&error)) {
    std::fprintf(stderr, "zorvaxp-regedit: %s\n", error.c_str());
    return 1;
  }
  if (!key.empty() && !r.hasKey(key)) {
    std::fprintf(stderr, "zorvaxp-regedit: no key %s in %s\n", key.c_str(), path.c_str());
    return 1;
  }
  std::fputs(r.text(key).c_str(), stdout);
  return 0;
}
