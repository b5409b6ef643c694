// What the desktop test (DesktopTest.cpp) does with the platform's own windows, behind plain
// types: only DesktopProbe.cpp sees the platform's headers.
#pragma once

#include <cstdint>

namespace zxp::test::win32 {

// The desktop backend's top-level window; nullptr when there is none.
void* desktopWindow();
// A left button pressed (down) or released at a client point, posted as the platform's mouse
// messages; the pointer moves there first.
void postLeftButton(void* window, int x, int y, bool down);
// A key pressed and released, posted as the platform's key messages.
void postKeyPress(void* window, int virtualKey);
// The colour the platform shows at a client point, as 0x00RRGGBB.
uint32_t shownPixel(void* window, int x, int y);

}  // namespace zxp::test::win32
