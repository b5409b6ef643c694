// The seam between the window system and the machine it runs on. A backend supplies the clock,
// collects real input and feeds it through the injection calls of Input.h, and presents the
// composed screen. The headless backend (tests, PNG rendering) has a virtual clock, no input of
// its own and presents nothing; a desktop backend (SDL2 on Linux, the platform's own window on
// Windows) plugs in here without any change to the window system.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/gfx/Surface.h"
#include "platform/ui/EventLoop.h"

namespace zxp::ui {

class Backend {
 public:
  virtual ~Backend() = default;
  // The clock the event loop runs on (installed when the backend is set).
  virtual std::shared_ptr<Clock> makeClock() = 0;
  // Collects pending input and injects it (Input.h). Waits at most waitMs for the first event
  // (0: do not wait; negative: until one comes). Returns false when the user asked to quit.
  virtual bool pumpInput(int64_t waitMs) = 0;
  // Shows the composed screen (called when it changed).
  virtual void present(const gfx::Surface& screen) = 0;
  // False for a backend that shows nothing (the loop then never composes for it).
  virtual bool presents() const { return true; }
  // The cursor shape changed (SetCursor).
  virtual void cursorChanged(HCURSOR) {}
  // MessageBeep.
  virtual void beep() {}
};

class HeadlessBackend final : public Backend {
 public:
  std::shared_ptr<Clock> makeClock() override { return std::make_shared<VirtualClock>(); }
  bool pumpInput(int64_t) override { return true; }
  void present(const gfx::Surface&) override {}
  bool presents() const override { return false; }
};

// The desktop of this system as a backend: SDL2's window on Linux (SdlBackend), the platform's
// own top-level window on Windows (DesktopBackendWin32.cpp); nullptr when there is no display.
std::unique_ptr<Backend> openDesktopBackend(const char* title, Size screen);

// Installs a backend and its clock (the window system starts headless).
void setBackend(std::unique_ptr<Backend> backend);
Backend& backend();

}  // namespace zxp::ui
