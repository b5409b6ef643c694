#include "DesktopProbe.h"

#include <windows.h>

namespace zxp::test::win32 {

void* desktopWindow() { return FindWindowW(L"ZorvaXPDesktop", nullptr); }

void postLeftButton(void* window, int x, int y, bool down) {
  const HWND hwnd = static_cast<HWND>(window);
  PostMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  PostMessageW(hwnd, down ? WM_LBUTTONDOWN : WM_LBUTTONUP, down ? MK_LBUTTON : 0, MAKELPARAM(x, y));
}

void postKeyPress(void* window, int virtualKey) {
  const HWND hwnd = static_cast<HWND>(window);
  const UINT scan = MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC);
  PostMessageW(hwnd, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 1 | (static_cast<LPARAM>(scan) << 16));
  PostMessageW(hwnd, WM_KEYUP, static_cast<WPARAM>(virtualKey),
               1 | (static_cast<LPARAM>(scan) << 16) | (LPARAM{1} << 30) | (LPARAM{1} << 31));
}

uint32_t shownPixel(void* window, int x, int y) {
  const HWND hwnd = static_cast<HWND>(window);
  const HDC dc = GetDC(hwnd);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(hwnd, dc);
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

}  // namespace zxp::test::win32
