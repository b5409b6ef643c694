#include "DesktopProbe.h"

#include <windows.h>

#include <cstring>
#include <thread>

#include "platform/base/WideText.h"

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

std::string nativeClipboardText() {
  if (!OpenClipboard(nullptr)) return "(the clipboard would not open)";
  std::string text = "(no text on the clipboard)";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = base::narrow(chars);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

bool setNativeClipboardText(void* owner, const std::string& text) {
  const std::wstring wide = base::widen(text);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
  if (!block) return false;
  std::memcpy(GlobalLock(block), wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(block);
  if (!OpenClipboard(static_cast<HWND>(owner))) return false;
  EmptyClipboard();
  const bool taken = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
  CloseClipboard();
  return taken;
}

namespace {

std::thread watcher;
SeenMessageBox seen;

BOOL CALLBACK collectStaticText(HWND child, LPARAM into) {
  wchar_t cls[16] = {};
  GetClassNameW(child, cls, 16);
  if (lstrcmpiW(cls, L"Static") != 0) return TRUE;
  wchar_t text[512] = {};
  if (GetWindowTextW(child, text, 512) > 0) *reinterpret_cast<std::string*>(into) += base::narrow(text);
  return TRUE;
}

}  // namespace

void answerMessageBox(const std::string& caption, int answer) {
  seen = SeenMessageBox{};
  watcher = std::thread([caption = base::widen(caption), answer] {
    for (int i = 0; i < 500; ++i) {
      if (HWND box = FindWindowW(L"#32770", caption.c_str()); box && IsWindowVisible(box)) {
        seen.found = true;
        seen.owner = GetWindow(box, GW_OWNER);
        EnumChildWindows(box, collectStaticText, reinterpret_cast<LPARAM>(&seen.text));
        PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
        return;
      }
      Sleep(10);
    }
  });
}

SeenMessageBox answeredMessageBox() {
  if (watcher.joinable()) watcher.join();
  return seen;
}

}  // namespace zxp::test::win32
