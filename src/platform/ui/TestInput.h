// The input driver for tests: mouse, wheel, keys and time, injected through the same path as a
// real backend's input (Input.h), with the pending events processed after each step, so a test
// reads like a user's actions and sees what a user would get. Nothing sleeps: advance() moves the
// virtual clock and fires the timers that come due on the way.
//
//   TestInput in;
//   in.moveTo(button).click();              // WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP
//   in.type("Ab1");                         // KeyDown/KeyPress(WM_CHAR)/KeyUp per character
//   in.altKey('F');                         // WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP, WM_KEYUP
//   in.advance(100);                        // timers fire at their virtual times
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "platform/ui/Input.h"

namespace zxp::ui {

class TestInput {
 public:
  // The cursor moves to a screen point, to a client point of a window, or to a window's centre.
  TestInput& moveTo(Point screen);
  TestInput& moveTo(HWND hwnd, Point client);
  TestInput& moveTo(HWND hwnd);
  TestInput& moveBy(int dx, int dy);
  TestInput& press(MouseButton b = MouseButton::Left);
  TestInput& release(MouseButton b = MouseButton::Left);
  TestInput& click(MouseButton b = MouseButton::Left);
  // Two clicks at the cursor with no time between them.
  TestInput& doubleClick(MouseButton b = MouseButton::Left);
  // Wheel notches (WHEEL_DELTA each), positive away from the user; or a raw delta.
  TestInput& wheel(int notches);
  TestInput& wheelDelta(int delta);

  TestInput& keyDown(int vk);
  TestInput& keyUp(int vk);
  // Down and up.
  TestInput& key(int vk);
  // A key with modifier keys held (VK_SHIFT, VK_CONTROL, VK_MENU): modifiers down, key, modifiers up.
  TestInput& chord(std::initializer_list<int> modifiers, int vk);
  // Types text (UTF-8): each character by its key on the US layout (with Shift where needed),
  // giving WM_KEYDOWN, WM_CHAR, WM_KEYUP; characters without a key come as WM_CHAR alone.
  TestInput& type(std::string_view text);
  // Alt + a letter (an access key): WM_SYSKEYDOWN Alt, WM_SYSKEYDOWN letter, WM_SYSCHAR,
  // WM_SYSKEYUP letter, WM_KEYUP Alt.
  TestInput& altKey(char letter);
  TestInput& setToggle(int vk, bool on);

  // Feeds the next modal loop (a tracked pop-up menu, DoDragDrop): fn runs once inside it, after
  // the menu is shown or the drag has begun, and drives it with this same driver's calls.
  //   in.whileModal([](TestInput& m) { m.key(VK_DOWN).key(VK_RETURN); });
  //   UINT cmd = TrackPopupMenu(menu, TPM_RETURNCMD, x, y, 0, owner, nullptr);
  TestInput& whileModal(std::function<void(TestInput&)> fn);

  // Moves the virtual clock forward, firing due timers in order.
  TestInput& advance(int64_t ms);
  // Processes what is pending without moving the clock.
  TestInput& pump();
  int64_t now() const;
  Point cursor() const { return inputState().cursor; }
};

}  // namespace zxp::ui
