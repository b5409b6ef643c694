// Message boxes on Windows: the platform's own MessageBoxW, modal to the desktop window. The MB_*
// flags and the ID* answers are the platform's numbers, so they pass through unchanged.
#include "platform/services/MessageBox.h"
#include "platform/ui/DesktopWindowWin32.h"

namespace zxp::services {

namespace {

class WindowsMessageBox final : public MessageBoxBackend {
 public:
  int show(HWND, const std::string& text, const std::string& caption, UINT type) override {
    return ui::win32::showMessageBox(text.c_str(), caption.c_str(), type);
  }
};

}  // namespace

std::shared_ptr<MessageBoxBackend> makeDesktopMessageBox() { return std::make_shared<WindowsMessageBox>(); }

}  // namespace zxp::services
