// The desktop backend on Windows, run under Wine with a display (xvfb-run): a form with a button
// shows in one of the platform's own windows; a click posted to that window as the platform's
// mouse messages reaches the button as Click, a key reaches the focused button, and the window
// shows the composed screen's pixels. Exits with the number of failed checks; says "no visible
// desktop" and exits 0 when there is no display to test with.
#include <cstdio>
#include <memory>

#include "DesktopProbe.h"
#include "buttons/ZorvaXPButton.h"
#include "platform/host/Form.h"
#include "platform/ui/Backend.h"
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

  if (failures == 0) std::puts("the desktop window showed the form and took its input");
  return failures;
}
