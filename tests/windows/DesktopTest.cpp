// The desktop backend on Windows, run under Wine with a display (xvfb-run): a form with a button
// shows in one of the platform's own windows; a click posted to that window as the platform's
// mouse messages reaches the button as Click, a key reaches the focused button, and the window
// shows the composed screen's pixels; message boxes and the clipboard are the platform's own. Exits with the number of failed checks; says "no visible
// desktop" and exits 0 when there is no display to test with.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "DesktopProbe.h"
#include "buttons/ZorvaXPButton.h"
#include "platform/host/Form.h"
#include "platform/services/Desktop.h"
#include "platform/services/MessageBox.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Screen.h"
#include "platform/ui/User.h"

using namespace zxp;

namespace {

int failures = 0;

void check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "check failed: %s\n", what);
  ++failures;
}

// Runs the event loop (real time) until done() or two seconds have passed.
template <class Done>
bool runUntil(Done done) {
  for (int i = 0; i < 200 && !done(); ++i) ui::eventLoop().advance(10);
  return done();
}

}  // namespace

int main() {
  auto desktop = ui::openDesktopBackend("ZorvaXP desktop test", Size{400, 300});
  if (!desktop) {
    std::puts("no visible desktop: nothing to test");
    return 0;
  }
  ui::setBackend(std::move(desktop));
  void* window = test::win32::desktopWindow();
  check(window != nullptr, "the platform has the desktop window");
  if (!window) return failures;

  host::Form form;
  host::ExtenderRecord place;
  place.left = 360, place.top = 360, place.width = 1500, place.height = 450;
  auto& ok = form.add(std::make_unique<buttons::ZorvaXPButton>(), "cmdOK", place).as<buttons::ZorvaXPButton>();
  ok.setCaption("&OK");
  int clicks = 0, spaceDowns = 0, spacePresses = 0;
  ok.Click.connect([&clicks] { ++clicks; });
  ok.KeyDown.connect([&spaceDowns](int16_t key, int16_t) { spaceDowns += key == VK_SPACE; });
  ok.KeyPress.connect([&spacePresses](int16_t ascii) { spacePresses += ascii == ' '; });

  // The composed screen reaches the platform's window: its pixels are the screen's.
  runUntil([] { return false; });
  const auto screen = ui::composeScreen();
  RECT r{};
  GetWindowRect(ok.hWnd(), &r);
  const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  int same = 0, tried = 0;
  for (int y = r.top; y < r.bottom; y += 3)
    for (int x = r.left; x < r.right; x += 7, ++tried)
      same += (screen->row(y)[x] & 0xFFFFFFu) == test::win32::shownPixel(window, x, y);
  std::printf("the window shows %d of %d sampled button pixels as composed\n", same, tried);
  check(tried > 0 && same == tried, "the window shows the composed button");

  // A click on the button through the platform's mouse messages.
  test::win32::postLeftButton(window, cx, cy, true);
  test::win32::postLeftButton(window, cx, cy, false);
  check(runUntil([&] { return clicks == 1; }), "a click posted to the window clicks the button");
  check(GetFocus() == ok.hWnd(), "the clicked button has the focus");

  // Space reaches the focused button as a key and, through the window system's own rule, as a
  // character.
  test::win32::postKeyPress(window, VK_SPACE);
  check(runUntil([&] { return spaceDowns == 1 && spacePresses == 1; }),
        "Space posted to the window reaches the focused button as KeyDown and KeyPress");

  // Cut and paste reach the platform's clipboard, both ways, in UTF-8 here and UTF-16 there.
  check(ui::setClipboardText("first line\r\nsecond: \xC3\xA9t\xC3\xA9"), "the clipboard takes our text");
  const std::string there = test::win32::nativeClipboardText();
  std::printf("the platform's clipboard holds \"%s\"\n", there.c_str());
  check(there == "first line\r\nsecond: \xC3\xA9t\xC3\xA9", "the platform reads the text we put on the clipboard");
  check(test::win32::setNativeClipboardText(window, "from the platform\r\n\xE2\x82\xAC 5"),
        "the platform puts text on the clipboard");
  check(ui::clipboardText() == std::optional<std::string>("from the platform\r\n\xE2\x82\xAC 5"),
        "we read the text the platform put on the clipboard");

  // A message box is the platform's own, owned by the desktop window, and its answer comes back.
  services::useDesktopServices();
  test::win32::answerMessageBox("ZorvaXP question", IDNO);
  const int answer = MsgBox("Save the changes to \xE2\x80\x9C" "Form1\xE2\x80\x9D?", vbYesNo | vbQuestion,
                            "ZorvaXP question");
  const test::win32::SeenMessageBox box = test::win32::answeredMessageBox();
  std::printf("the message box said \"%s\" and answered %d\n", box.text.c_str(), answer);
  check(box.found, "a message box of the platform's showed");
  check(box.text.find("Save the changes to \xE2\x80\x9C" "Form1\xE2\x80\x9D?") != std::string::npos,
        "the message box shows our text");
  check(box.owner == window, "the desktop window owns the message box");
  check(answer == IDNO, "the button pressed is the answer");

  if (failures == 0) std::puts("the desktop window showed the form and took its input; the clipboard and message boxes were the platform's");
  return failures;
}
