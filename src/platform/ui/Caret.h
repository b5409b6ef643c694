// The caret: the thread's one blinking text cursor, owned by one window. Its calls have the
// platform's names and rules: CreateCaret makes a hidden caret (destroying any other), each
// HideCaret needs a ShowCaret to undo it, and the caret shows only when its hide count is back to
// zero. A shown caret is drawn by inverting its rectangle on the owner's surface (so drawing it
// twice restores the pixels) and blinks every GetCaretBlinkTime() ms on the event loop's clock;
// moving it shows it at once. A window that repaints under a shown caret hides it first and shows
// it afterwards, as BeginPaint/EndPaint do on the platform.
#pragma once

#include "platform/ui/User.h"

namespace zxp {

// A solid caret of width x height pixels in hwnd (width 0: the border width, 1 pixel). The
// bitmap argument is accepted for compatibility; every caret is drawn solid.
BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height);
// Destroys the caret of this thread, wherever it is.
BOOL DestroyCaret();
// hwnd: the caret's owner, or 0 for the caret wherever it is.
BOOL ShowCaret(HWND hwnd);
BOOL HideCaret(HWND hwnd);
// Client coordinates of the owner.
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(POINT* out);
UINT GetCaretBlinkTime();  // 530 ms unless changed
BOOL SetCaretBlinkTime(UINT ms);

}  // namespace zxp

namespace zxp::ui {

struct CaretInfo {
  HWND owner = 0;     // 0: no caret
  Rect rect;          // client coordinates of the owner
  int hideCount = 0;  // shown when 0
  bool drawn = false; // in the "on" phase of its blink: the rectangle is inverted now
};
CaretInfo caretInfo();
// Forgets the caret without drawing (the window system's reset).
void resetCaret();

}  // namespace zxp::ui
