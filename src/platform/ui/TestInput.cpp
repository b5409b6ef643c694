#include "platform/ui/TestInput.h"

#include "platform/base/CodePage.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/ModalLoop.h"

namespace zxp::ui {

TestInput& TestInput::pump() {
  eventLoop().processPendingEvents();
  return *this;
}

int64_t TestInput::now() const { return eventLoop().now(); }

TestInput& TestInput::moveTo(Point screen) {
  injectMouseMove(screen);
  return pump();
}

TestInput& TestInput::moveTo(HWND hwnd, Point client) {
  POINT p = client;
  ClientToScreen(hwnd, &p);
  return moveTo(p);
}

TestInput& TestInput::moveTo(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return moveTo(hwnd, Point{r.width() / 2, r.height() / 2});
}

TestInput& TestInput::moveBy(int dx, int dy) {
  Point c = inputState().cursor;
  return moveTo(Point{c.x + dx, c.y + dy});
}

TestInput& TestInput::press(MouseButton b) {
  injectMouseButton(b, true);
  return pump();
}

TestInput& TestInput::release(MouseButton b) {
  injectMouseButton(b, false);
  return pump();
}

TestInput& TestInput::click(MouseButton b) { return press(b).release(b); }

TestInput& TestInput::doubleClick(MouseButton b) { return click(b).click(b); }

TestInput& TestInput::wheel(int notches) { return wheelDelta(notches * WHEEL_DELTA); }

TestInput& TestInput::wheelDelta(int delta) {
  injectMouseWheel(delta);
  return pump();
}

TestInput& TestInput::keyDown(int vk) {
  injectKey(vk, true);
  return pump();
}

TestInput& TestInput::keyUp(int vk) {
  injectKey(vk, false);
  return pump();
}

TestInput& TestInput::key(int vk) { return keyDown(vk).keyUp(vk); }

TestInput& TestInput::chord(std::initializer_list<int> modifiers, int vk) {
  for (int m : modifiers) keyDown(m);
  key(vk);
  for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) keyUp(*it);
  return *this;
}

TestInput& TestInput::type(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    size_t len = 1;
    char32_t cp = decodeUtf8(text.substr(i), len);
    i += len;
    SHORT scan = cp < 0x80 ? VkKeyScanA(static_cast<char>(cp)) : -1;
    if (scan == -1) {
      injectChar(cp);
      pump();
      continue;
    }
    int vk = scan & 0xFF;
    int shifts = (scan >> 8) & 0xFF;
    // Caps Lock turns letters around; type what was asked for.
    if (vk >= 'A' && vk <= 'Z' && (GetKeyState(VK_CAPITAL) & 1)) shifts ^= 1;
    if (shifts & 1) keyDown(VK_SHIFT);
    if (shifts & 2) keyDown(VK_CONTROL);
    key(vk);
    if (shifts & 2) keyUp(VK_CONTROL);
    if (shifts & 1) keyUp(VK_SHIFT);
  }
  return *this;
}

TestInput& TestInput::altKey(char letter) {
  SHORT scan = VkKeyScanA(letter);
  int vk = scan == -1 ? static_cast<unsigned char>(letter) : (scan & 0xFF);
  return keyDown(VK_MENU).key(vk).keyUp(VK_MENU);
}

TestInput& TestInput::setToggle(int vk, bool on) {
  setKeyToggle(vk, on);
  return *this;
}

TestInput& TestInput::whileModal(std::function<void(TestInput&)> fn) {
  setModalDriver([fn = std::move(fn)] {
    TestInput in;
    fn(in);
  });
  return *this;
}

TestInput& TestInput::advance(int64_t ms) {
  eventLoop().advance(ms);
  return *this;
}

}  // namespace zxp::ui
