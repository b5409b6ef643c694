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

}  // namespace zxp
