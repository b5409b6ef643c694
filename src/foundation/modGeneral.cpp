#include "foundation/modGeneral.h"

#include "platform/ui/User.h"

namespace zxp {

bool CursorOutsideWindow(HWND hwnd) {
  RECT r{};  // stays empty for a window that no longer exists: the cursor is then outside
  POINT p{};
  GetWindowRect(hwnd, &r);
  GetCursorPos(&p);
  const bool inside = r.left < p.x && p.x < r.right && r.top < p.y && p.y < r.bottom;
  return !inside;
}

std::string captionFromDisplayName(std::string_view displayName, std::string_view literal, size_t cut) {
  std::string out(literal);
  if (displayName.size() > cut) out += displayName.substr(cut);
  return out;
}

}  // namespace zxp
