// What the desktop test (DesktopTest.cpp) does with the platform's own windows, behind plain
// types: only DesktopProbe.cpp sees the platform's headers.
#pragma once

#include <cstdint>
#include <string>

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


// The platform's clipboard text, read and written with its own calls (UTF-8 here).
std::string nativeClipboardText();
bool setNativeClipboardText(void* owner, const std::string& text);

// What a platform message box showed and who owned it, as seen from outside.
struct SeenMessageBox {
  bool found = false;
  std::string text;  // the texts of its static controls, one after the other
  void* owner = nullptr;
};
// Starts watching, on a thread of its own, for a message box with this caption; when it shows,
// records it and presses the button `answer` (an ID* number). answeredMessageBox() waits for
// the watch to end (at most five seconds) and says what it saw.
void answerMessageBox(const std::string& caption, int answer);
SeenMessageBox answeredMessageBox();

}  // namespace zxp::test::win32
