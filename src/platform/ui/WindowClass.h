// Registering an application window class once: the form, the control surfaces' layers, the
// property pages and the gallery each register their classes the first time a window of the
// class is made, and later calls find the class registered. Their window procedures find their
// object through the window's user data, stored from the create parameter on WM_NCCREATE.
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

// On WM_NCCREATE: keeps the create parameter (the object the window belongs to) in the window's
// user data and answers as the default procedure does, so the window is created.
inline LRESULT storeCreateParam(HWND h, WPARAM wParam, LPARAM lParam) {
  const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
  SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  return DefWindowProcA(h, WM_NCCREATE, wParam, lParam);
}

// The object kept in the window's user data (null before WM_NCCREATE or once cleared).
template <class T>
T* windowObject(HWND h) {
  return reinterpret_cast<T*>(GetWindowLongPtrA(h, GWLP_USERDATA));
}

}  // namespace zxp::ui
