// The input path. The platform backend (a real mouse and keyboard) and the test driver
// (TestInput.h) both inject here, so a test sees what a user gets. Injected input becomes queued
// mouse and keyboard messages for the window under the cursor (or the capture window) and for
// the focus window; the event loop retrieves them through the hooks and dispatches them.
//
// Also here: the input state the window manager keeps (cursor position and shape, capture,
// focus, the active window, the key state) and the host's mouse-pointer constants.
#pragma once

#include <cstdint>

#include "platform/ui/User.h"

namespace zxp::ui {

enum class MouseButton { Left, Right, Middle };

struct InputState {
  Point cursor{0, 0};
  HCURSOR cursorShape = 0;
  HWND capture = 0;
  HWND focus = 0;
  HWND active = 0;
  BYTE keys[256] = {};       // as of the last keyboard message retrieved (GetKeyState)
  BYTE asyncKeys[256] = {};  // now (GetAsyncKeyState)
  UINT doubleClickTime = 500;

  // Double-click detection: the last button press.
  bool haveLastPress = false;
  UINT lastPressMsg = 0;  // the button-down message (client or non-client)
  HWND lastPressHwnd = 0;
  int64_t lastPressTime = 0;
  Point lastPressPos{0, 0};

  // Mouse tracking (TrackMouseEvent).
  HWND leaveTrack = 0;
  bool leaveNonClient = false;
  HWND hoverTrack = 0;
  UINT hoverTime = 400;
  Point hoverAnchor{0, 0};

  // The window under the cursor when the last mouse message was generated, and its hit code.
  HWND lastMouseHwnd = 0;
  LRESULT lastHit = HTNOWHERE;

  // Moving a window with the mouse (WM_SYSCOMMAND SC_MOVE), without a modal loop: the moves
  // that follow move the window until the button is released.
  HWND moving = 0;
  Point moveGrab{0, 0};  // the cursor's offset from the window's top-left corner

  bool altAlone = false;  // Alt is down and no other key was pressed since
  // A modal loop's window that takes every key and character (a tracked menu, a drag); 0: the
  // focus window gets them.
  HWND keyboardGrab = 0;
  int beeps = 0;
};

InputState& inputState();

// ---- Injection (the backend's and the test driver's way in) --------------------------------------
// The cursor moved to a screen point.
void injectMouseMove(Point screen);
void injectMouseButton(MouseButton button, bool down);
// A wheel turn: delta in multiples of WHEEL_DELTA (120), positive away from the user. The
// message goes to the focus window (the platform's rule), else to the window under the cursor.
void injectMouseWheel(int delta);
// A key went down or up (virtual key code); left/right variants count as the generic key too.
void injectKey(int vk, bool down);
// A character that comes without a key (text input from an input method): WM_CHAR to the
// focus window, in the ANSI code page (Windows-1252; others become '?').
void injectChar(uint32_t codepoint);
// Sets a toggle key's state (Caps Lock, Num Lock, Scroll Lock, Insert) without pressing it.
void setKeyToggle(int vk, bool on);

// ---- Internal steps the message path uses -------------------------------------------------------
// Activates a top-level window (0 deactivates): WM_NCACTIVATE and WM_ACTIVATE to both sides,
// brings it to the top of the z-order.
void activateWindow(HWND hwnd, WPARAM how);
// When the active window is hwnd or inside it: activates its owner or the next window.
void giveUpActivation(HWND hwnd);
// Before a window goes: drops tracking, capture, focus and activation that point into its tree.
void forgetWindowTree(HWND hwnd);
// Keeps the retrieved-message key state up to date.
void noteRetrievedKeyMessage(const MSG& m);
void noteRetrievedMouseMessage(const MSG& m);
// The character a key-down produces with the current key state; 0 for none.
uint32_t charForKey(int vk);
// Starts moving a window with the mouse (DefWindowProc's SC_MOVE).
void beginMouseMove(HWND hwnd);
// Fires WM_MOUSEHOVER when its deadline has come (called by the event loop).
void checkHover();
// The current MK_* flags.
WPARAM mouseKeyFlags();

// ---- Cursors for windows ---------------------------------------------------------------------
// A window's own cursor, shown over its client area before its class cursor (0: the class's).
BOOL SetWindowCursor(HWND hwnd, HCURSOR cursor);
HCURSOR GetWindowCursor(HWND hwnd);
// The host's mouse-pointer constants: 0 default (0: the window's class cursor), 1 arrow,
// 2 cross, 3 I-beam, 4 icon, 5 size, 6 size NE-SW, 7 size N-S, 8 size NW-SE, 9 size W-E,
// 10 up arrow, 11 hourglass, 12 no drop, 13 arrow and hourglass, 14 arrow and question mark,
// 15 size all, 99 custom (the given icon). Unknown values give 0.
constexpr int vbDefault = 0;
constexpr int vbCustom = 99;
HCURSOR cursorForMousePointer(int mousePointer, HCURSOR mouseIcon);
// The drag-and-drop feedback cursors (the arrow with a plus, with a box, with a link arrow),
// permanent like the standard ones; standardCursorId gives their ids below. A backend without
// such shapes shows the arrow.
constexpr int kDragCopyCursor = 0x7F60;
constexpr int kDragMoveCursor = 0x7F61;
constexpr int kDragLinkCursor = 0x7F62;
HCURSOR dragCursor(int id);

}  // namespace zxp::ui
