// Switches the services from their recording backends (the default, for tests and headless runs)
// to the desktop's: SDL2 sound, modal SDL message boxes, xdg-open for the shell's "open".
#pragma once

namespace zxp::services {

void useDesktopServices();

}  // namespace zxp::services
