#include "platform/ui/DesktopWindowWin32.h"

#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/base/WideText.h"

namespace zxp::ui::win32 {

struct DesktopWindow::Impl {
  HWND hwnd = nullptr;
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // top-down rows of what the window shows
  std::vector<DesktopEvent> events;
  HCURSOR cursor = nullptr;
  int buttonsDown = 0;  // the mouse is captured while any is down, so drags out of the window go on
};

namespace {

constexpr wchar_t kClassName[] = L"ZorvaXPDesktop";
// The open desktop window: the owner of message boxes and of what we put on the clipboard.
HWND openWindow = nullptr;

HCURSOR arrowCursor() { return LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); }  // IDC_ARROW

DesktopWindow::Impl* implOf(HWND hwnd) {
  return reinterpret_cast<DesktopWindow::Impl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// Left and right Shift, Ctrl and Alt are told apart, as the window system's key state keeps them.
int sidedKey(WPARAM vk, LPARAM l) {
  const bool extended = (l >> 24) & 1;
  switch (vk) {
    case VK_SHIFT: return static_cast<int>(MapVirtualKeyW((l >> 16) & 0xFF, MAPVK_VSC_TO_VK_EX));
    case VK_CONTROL: return extended ? VK_RCONTROL : VK_LCONTROL;
    case VK_MENU: return extended ? VK_RMENU : VK_LMENU;
    default: return static_cast<int>(vk);
  }
}

void mouseButton(HWND hwnd, DesktopWindow::Impl& im, int button, bool down, LPARAM l) {
  DesktopEvent e;
  e.kind = DesktopEvent::Kind::MouseButton;
  e.x = GET_X_LPARAM(l);
  e.y = GET_Y_LPARAM(l);
  e.button = button;
  e.down = down;
  im.events.push_back(e);
  if (down && im.buttonsDown++ == 0) SetCapture(hwnd);
  if (!down && im.buttonsDown > 0 && --im.buttonsDown == 0) ReleaseCapture();
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  DesktopWindow::Impl* im = implOf(hwnd);
  if (!im) return DefWindowProcW(hwnd, msg, w, l);
  switch (msg) {
    case WM_MOUSEMOVE: {
      DesktopEvent e;
      e.x = GET_X_LPARAM(l);
      e.y = GET_Y_LPARAM(l);
      im->events.push_back(e);
      return 0;
    }
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: mouseButton(hwnd, *im, 0, true, l); return 0;
    case WM_LBUTTONUP: mouseButton(hwnd, *im, 0, false, l); return 0;
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: mouseButton(hwnd, *im, 1, true, l); return 0;
    case WM_RBUTTONUP: mouseButton(hwnd, *im, 1, false, l); return 0;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: mouseButton(hwnd, *im, 2, true, l); return 0;
    case WM_MBUTTONUP: mouseButton(hwnd, *im, 2, false, l); return 0;
    case WM_CAPTURECHANGED: im->buttonsDown = 0; return 0;
    case WM_MOUSEWHEEL: {
      POINT p{GET_X_LPARAM(l), GET_Y_LPARAM(l)};  // the wheel reports screen coordinates
      ScreenToClient(hwnd, &p);
      DesktopEvent e;
      e.kind = DesktopEvent::Kind::Wheel;
      e.x = p.x;
      e.y = p.y;
      e.wheelDelta = GET_WHEEL_DELTA_WPARAM(w);
      im->events.push_back(e);
      return 0;
    }
    // Keys, Alt and F10 included, go to the library's windows: the platform's menu loop is not
    // started by them.
    case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_KEYUP: case WM_SYSKEYUP: {
      if (msg == WM_SYSKEYDOWN && w == VK_F4 && (GetKeyState(VK_MENU) & 0x8000)) break;  // Alt+F4 closes
      DesktopEvent e;
      e.kind = DesktopEvent::Kind::Key;
      e.virtualKey = sidedKey(w, l);
      e.down = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
      im->events.push_back(e);
      return 0;
    }
    case WM_SYSCHAR: case WM_CHAR: return 0;  // characters come from the window system's own rule
    case WM_SETCURSOR:
      if (LOWORD(l) == HTCLIENT) {
        SetCursor(im->cursor ? im->cursor : arrowCursor());
        return TRUE;
      }
      break;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      BITMAPINFO bmi{};
      bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
      bmi.bmiHeader.biWidth = im->width;
      bmi.bmiHeader.biHeight = -im->height;  // top-down rows
      bmi.bmiHeader.biPlanes = 1;
      bmi.bmiHeader.biBitCount = 32;
      bmi.bmiHeader.biCompression = BI_RGB;
      SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(im->width), static_cast<DWORD>(im->height), 0, 0, 0,
                        static_cast<UINT>(im->height), im->pixels.data(), &bmi, DIB_RGB_COLORS);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_CLOSE: {
      DesktopEvent e;
      e.kind = DesktopEvent::Kind::Close;
      im->events.push_back(e);
      return 0;  // the event loop decides
    }
    default: break;
  }
  return DefWindowProcW(hwnd, msg, w, l);
}

bool visibleDesktop() {
  USEROBJECTFLAGS flags{};
  if (!GetUserObjectInformationW(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags, nullptr)) return true;
  return (flags.dwFlags & WSF_VISIBLE) != 0;
}

}  // namespace

std::unique_ptr<DesktopWindow> DesktopWindow::open(const char* titleUtf8, int width, int height) {
  if (width <= 0 || height <= 0 || !visibleDesktop()) return nullptr;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  if (!GetClassInfoExW(instance, kClassName, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = arrowCursor();
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc)) return nullptr;
  }
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame{0, 0, width, height};
  AdjustWindowRect(&frame, style, FALSE);
  std::unique_ptr<DesktopWindow> w(new DesktopWindow());
  w->impl_ = std::make_unique<Impl>();
  Impl& im = *w->impl_;
  im.width = width;
  im.height = height;
  im.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  im.hwnd = CreateWindowExW(0, kClassName, base::widen(titleUtf8 ? titleUtf8 : "").c_str(), style, CW_USEDEFAULT,
                            CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                            instance, nullptr);
  if (!im.hwnd) return nullptr;
  openWindow = im.hwnd;
  SetWindowLongPtrW(im.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&im));
  ShowWindow(im.hwnd, SW_SHOW);
  UpdateWindow(im.hwnd);
  return w;
}

DesktopWindow::~DesktopWindow() {
  if (impl_ && impl_->hwnd) {
    SetWindowLongPtrW(impl_->hwnd, GWLP_USERDATA, 0);
    if (openWindow == impl_->hwnd) openWindow = nullptr;
    DestroyWindow(impl_->hwnd);
  }
}

std::vector<DesktopEvent> DesktopWindow::pump(int64_t waitMs) {
  Impl& im = *impl_;
  MSG msg;
  if (waitMs != 0 && im.events.empty() && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    const DWORD wait = waitMs < 0 ? 1000 : static_cast<DWORD>(std::min<int64_t>(waitMs, 0x7FFFFFFF));
    MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
  }
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  std::vector<DesktopEvent> out;
  out.swap(im.events);
  return out;
}

void DesktopWindow::show(int x, int y, int w, int h, const std::function<const uint32_t*(int)>& rowAt) {
  Impl& im = *impl_;
  const int left = std::max(0, x), top = std::max(0, y);
  const int right = std::min(im.width, x + w), bottom = std::min(im.height, y + h);
  if (left >= right || top >= bottom) return;
  for (int row = top; row < bottom; ++row)
    std::memcpy(&im.pixels[static_cast<size_t>(row) * im.width + left], rowAt(row) + left,
                static_cast<size_t>(right - left) * sizeof(uint32_t));
  const RECT r{left, top, right, bottom};
  InvalidateRect(im.hwnd, &r, FALSE);
  UpdateWindow(im.hwnd);
}

void DesktopWindow::setCursor(int standardCursorId) {
  HCURSOR c = LoadCursorW(nullptr, MAKEINTRESOURCEW(standardCursorId));
  impl_->cursor = c ? c : arrowCursor();
  POINT p;
  RECT client;
  if (GetCursorPos(&p) && ScreenToClient(impl_->hwnd, &p) && GetClientRect(impl_->hwnd, &client) &&
      PtInRect(&client, p))
    SetCursor(impl_->cursor);
}

void DesktopWindow::beep() { MessageBeep(MB_OK); }

bool DesktopWindow::lockKeyOn(int virtualKey) const { return (GetKeyState(virtualKey) & 1) != 0; }

int showMessageBox(const char* textUtf8, const char* captionUtf8, unsigned type) {
  return MessageBoxW(openWindow, base::widen(textUtf8 ? textUtf8 : "").c_str(),
                     base::widen(captionUtf8 ? captionUtf8 : "").c_str(), type);
}

namespace {

// Another program may hold the clipboard open for a moment: a few tries, 2 ms apart.
bool openClipboard() {
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (OpenClipboard(openWindow)) return true;
    Sleep(2);
  }
  return false;
}

}  // namespace

std::optional<std::string> clipboardText() {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !openClipboard()) return std::nullopt;
  std::optional<std::string> text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      // The text ends at its first NUL, and never past the memory block.
      const size_t limit = GlobalSize(data) / sizeof(wchar_t);
      size_t n = 0;
      while (n < limit && chars[n] != L'\0') ++n;
      text = base::narrow(std::wstring_view(chars, n));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

bool setClipboardText(std::string_view utf8) {
  const std::wstring wide = base::widen(utf8);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
  if (!block) return false;
  if (auto* chars = static_cast<wchar_t*>(GlobalLock(block))) {
    std::memcpy(chars, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(block);
  }
  if (!openClipboard()) {
    GlobalFree(block);
    return false;
  }
  EmptyClipboard();
  const bool taken = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
  CloseClipboard();
  if (!taken) GlobalFree(block);  // the clipboard owns the block only once it took it
  return taken;
}

}  // namespace zxp::ui::win32
