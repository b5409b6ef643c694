// The platform's own top-level window for the Windows desktop backend (DesktopBackendWin32.cpp):
// it shows a copy of the composed screen and reports the mouse, keyboard and close requests that
// reach it. Only DesktopWindowWin32.cpp sees the platform's headers; this interface uses plain
// types, so the backend can use the window system's own names (HWND, VK_*) beside it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zxp::ui::win32 {

struct DesktopEvent {
  enum class Kind { MouseMove, MouseButton, Wheel, Key, Close };
  Kind kind = Kind::MouseMove;
  int x = 0, y = 0;     // client coordinates (mouse events)
  int button = 0;       // 0 left, 1 right, 2 middle
  bool down = false;    // buttons and keys
  int virtualKey = 0;   // keys: the platform's virtual key, left and right modifiers told apart
  int wheelDelta = 0;   // multiples of 120 upward
};

class DesktopWindow {
 public:
  // A shown window whose client area is width x height; nullptr when the process has no visible
  // desktop (a service's window station) or the window cannot be made.
  static std::unique_ptr<DesktopWindow> open(const char* titleUtf8, int width, int height);
  ~DesktopWindow();

  // What reached the window: waits at most waitMs for the first message (0: none; negative: up
  // to a second), then takes every message waiting.
  std::vector<DesktopEvent> pump(int64_t waitMs);
  // Copies the rectangle (x, y, w, h) of a 32-bit 0x00RRGGBB picture, whose row y starts at
  // rowAt(y), into what the window shows, and has it repainted.
  void show(int x, int y, int w, int h, const std::function<const uint32_t*(int)>& rowAt);
  // The cursor over the client area: one of the platform's standard cursor ids (IDC_*).
  void setCursor(int standardCursorId);
  void beep();
  // The toggle states of Caps Lock, Num Lock and Scroll Lock on the platform's keyboard.
  bool lockKeyOn(int virtualKey) const;

 private:
  DesktopWindow() = default;

 public:
  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// The platform's own message box, modal to the open desktop window when there is one: `type`
// holds the MB_* flags (buttons, icon, default button), the answer is the pressed button's ID*.
int showMessageBox(const char* textUtf8, const char* captionUtf8, unsigned type);

// The platform's clipboard as text (its Unicode text format), owned by the open desktop window:
// nullopt when it holds no text or another program keeps it open; false when it refused.
std::optional<std::string> clipboardText();
bool setClipboardText(std::string_view utf8);

}  // namespace zxp::ui::win32
