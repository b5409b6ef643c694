// Registering an application window class once: the form, the control surfaces' layers, the
// property pages and the gallery each register their classes the first time a window of the
// class is made, and later calls find the class registered.
#pragma once

#include "platform/ui/User.h"

namespace zxp::ui {

inline void registerClassOnce(const char* name, WNDPROC proc, UINT style = 0, int cursor = IDC_ARROW) {
  WNDCLASSA wc;
  if (GetClassInfoA(0, name, &wc)) return;
  wc = WNDCLASSA{};
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hCursor = LoadCursorA(0, cursor);
  wc.lpszClassName = name;
  RegisterClassA(&wc);
}

}  // namespace zxp::ui
