// The desktop backend on Linux: SDL2's window (the Windows build has DesktopBackendWin32.cpp).
#include "platform/ui/Backend.h"
#include "platform/ui/SdlBackend.h"

namespace zxp::ui {

std::unique_ptr<Backend> openDesktopBackend(const char* title, Size screen) { return SdlBackend::open(title, screen); }

}  // namespace zxp::ui
