// The desktop backend on Windows: the composed screen in one of the platform's own top-level
// windows (DesktopWindowWin32.cpp), real time, and the window's mouse and keyboard fed through
// the injection path the tests use (Input.h), as SdlBackend does on Linux. Keys arrive as the
// platform's virtual keys; characters come from the window system's own key-to-character rule.
// Cut and paste reach the platform's clipboard.
#include <memory>

#include "platform/ui/Backend.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/DesktopWindowWin32.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Input.h"
#include "platform/ui/Screen.h"
#include "platform/ui/User.h"

namespace zxp::ui {

namespace {

// The platform's clipboard, as the desktop window's.
class DesktopClipboard final : public ClipboardStore {
 public:
  std::optional<std::string> text() override { return win32::clipboardText(); }
  bool setText(std::string_view text) override { return win32::setClipboardText(text); }
};

class DesktopBackend final : public Backend {
 public:
  explicit DesktopBackend(std::unique_ptr<win32::DesktopWindow> window) : window_(std::move(window)) {}

  std::shared_ptr<Clock> makeClock() override { return std::make_shared<RealClock>(); }

  bool pumpInput(int64_t waitMs) override {
    for (int vk : {VK_CAPITAL, VK_NUMLOCK, VK_SCROLL}) setKeyToggle(vk, window_->lockKeyOn(vk));
    bool open = true;
    for (const win32::DesktopEvent& e : window_->pump(waitMs)) {
      using Kind = win32::DesktopEvent::Kind;
      switch (e.kind) {
        case Kind::MouseMove: injectMouseMove(Point{e.x, e.y}); break;
        case Kind::MouseButton:
          injectMouseMove(Point{e.x, e.y});
          injectMouseButton(e.button == 1 ? MouseButton::Right : e.button == 2 ? MouseButton::Middle : MouseButton::Left,
                            e.down);
          break;
        case Kind::Wheel:
          injectMouseMove(Point{e.x, e.y});
          injectMouseWheel(e.wheelDelta);
          break;
        case Kind::Key: injectKey(e.virtualKey, e.down); break;
        case Kind::Close: open = false; break;
      }
    }
    return open;
  }

  void present(const gfx::Surface& screen) override {
    for (const Rect& r : takeComposedArea()) {
      const Rect shown = r.intersect(Rect{0, 0, screen.width(), screen.height()});
      if (shown.empty()) continue;
      window_->show(shown.left, shown.top, shown.width(), shown.height(),
                    [&screen](int y) { return screen.row(y); });
    }
  }

  void cursorChanged(HCURSOR cursor) override {
    const int id = standardCursorId(cursor);
    window_->setCursor(id ? id : IDC_ARROW);  // custom icons show as the arrow on the desktop
  }

  void beep() override { window_->beep(); }

 private:
  std::unique_ptr<win32::DesktopWindow> window_;
};

}  // namespace

std::unique_ptr<Backend> openDesktopBackend(const char* title, Size screen) {
  auto window = win32::DesktopWindow::open(title, screen.cx, screen.cy);
  if (!window) return nullptr;
  setScreenSize(screen);
  setClipboardStore(std::make_unique<DesktopClipboard>());
  return std::make_unique<DesktopBackend>(std::move(window));
}

}  // namespace zxp::ui
