// The predefined window classes of the window system, registered on first use.
#include <cctype>
#include <string>

#include "platform/ui/Edit.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Window.h"

namespace zxp::ui {

bool registerSystemClass(const char* name) {
  if (!name) return false;
  std::string n = name;
  for (char& c : n) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (n == "EDIT") {
    registerEditClass();
    return true;
  }
  if (n == "#32768") {
    registerMenuClass();
    return true;
  }
  return false;
}

}  // namespace zxp::ui
