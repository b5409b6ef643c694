// The desktop backend: an SDL2 window that shows the composed screen, real time, and the real
// mouse and keyboard fed through the same injection path the tests use (Input.h).
//
// The platform's screen is the SDL window's client area: window positions are screen
// coordinates inside it. The SDL window is the whole platform screen: pop-up, tool and menu
// windows are composed inside it above the form (a top-level window never becomes an SDL window
// of its own), so they stack, clip and take input exactly as the headless tests see them; a
// pop-up that extends past the form shows beside it, within the screen. Files and text dropped
// on the window from other applications arrive as drops (DragDrop.h). Keys are mapped to virtual keys on the US layout; characters come from
// the window system's own key-to-character rule, so typing behaves the same as in tests.
#pragma once

#include <memory>
#include <optional>

#include "platform/ui/Backend.h"

namespace zxp::ui {

class SdlBackend final : public Backend {
 public:
  // Opens the desktop window with the given title and screen size; nullptr when there is no
  // display (no video driver, no DISPLAY/WAYLAND_DISPLAY) or SDL cannot start.
  static std::unique_ptr<SdlBackend> open(const char* title, Size screen);
  // The part of the primary display that windows may use (without task bars and docks), so
  // that an app can choose a screen size that fits; nothing when there is no display.
  static std::optional<Size> usableDisplaySize();
  ~SdlBackend() override;

  std::shared_ptr<Clock> makeClock() override;
  bool pumpInput(int64_t waitMs) override;
  void present(const gfx::Surface& screen) override;
  void cursorChanged(HCURSOR cursor) override;
  // Copies the desktop's Caps, Num and Scroll Lock states into the key state.
  void syncLockKeys();

 private:
  SdlBackend() = default;
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The virtual key for an SDL key code; 0 when the key has none.
int virtualKeyFromSdl(int sdlKeycode);

}  // namespace zxp::ui
