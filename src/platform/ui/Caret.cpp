// The caret: one per thread, drawn by inversion on its owner's surface, blinking on a timer of
// the owner window (so the timer goes away with the window).
#include "platform/ui/Caret.h"

#include "platform/ui/Window.h"

namespace zxp::ui {

namespace {

constexpr UINT_PTR kBlinkTimerId = 0xCA7E;
constexpr UINT kDefaultBlinkTime = 530;

struct CaretData {
  CaretInfo info;
  UINT blinkTime = kDefaultBlinkTime;
};

CaretData& caret() {
  static CaretData c;
  return c;
}

bool ownerAlive() { return caret().info.owner && windowFromHandle(caret().info.owner); }

void invert() {
  CaretInfo& c = caret().info;
  HDC dc = GetDC(c.owner);
  PatBlt(dc, c.rect.left, c.rect.top, c.rect.width(), c.rect.height(), DSTINVERT);
  ReleaseDC(c.owner, dc);
  c.drawn = !c.drawn;
}

void blinkProc(HWND, UINT, UINT_PTR, DWORD) {
  if (!ownerAlive() || caret().info.hideCount > 0) return;
  invert();
}

// Shows the caret in its "on" phase and restarts the blink from there.
void drawAndRestartBlink() {
  CaretInfo& c = caret().info;
  if (!c.drawn) invert();
  SetTimer(c.owner, kBlinkTimerId, caret().blinkTime, blinkProc);
}

void undraw() {
  if (caret().info.drawn && ownerAlive()) invert();
  caret().info.drawn = false;
}

}  // namespace

CaretInfo caretInfo() {
  if (!ownerAlive()) return CaretInfo{};
  return caret().info;
}

void resetCaret() { caret() = CaretData{}; }

}  // namespace zxp::ui

namespace zxp {

using namespace zxp::ui;

BOOL CreateCaret(HWND hwnd, HBITMAP, int width, int height) {
  if (!windowFromHandle(hwnd)) return FALSE;
  DestroyCaret();
  CaretInfo& c = caret().info;
  c.owner = hwnd;
  c.rect = Rect::fromXYWH(0, 0, width > 0 ? width : GetSystemMetrics(SM_CXBORDER), height > 0 ? height : 1);
  c.hideCount = 1;
  c.drawn = false;
  return TRUE;
}

BOOL DestroyCaret() {
  CaretInfo& c = caret().info;
  if (!c.owner) return FALSE;
  undraw();
  if (ownerAlive()) KillTimer(c.owner, kBlinkTimerId);
  c = CaretInfo{};
  return TRUE;
}

BOOL ShowCaret(HWND hwnd) {
  CaretInfo& c = caret().info;
  if (!ownerAlive() || (hwnd && hwnd != c.owner)) return FALSE;
  if (c.hideCount > 0 && --c.hideCount == 0) drawAndRestartBlink();
  return TRUE;
}

BOOL HideCaret(HWND hwnd) {
  CaretInfo& c = caret().info;
  if (!ownerAlive() || (hwnd && hwnd != c.owner)) return FALSE;
  if (c.hideCount++ == 0) {
    undraw();
    KillTimer(c.owner, kBlinkTimerId);
  }
  return TRUE;
}

BOOL SetCaretPos(int x, int y) {
  CaretInfo& c = caret().info;
  if (!ownerAlive()) return FALSE;
  if (c.rect.left == x && c.rect.top == y) return TRUE;
  undraw();
  c.rect = Rect::fromXYWH(x, y, c.rect.width(), c.rect.height());
  if (c.hideCount == 0) drawAndRestartBlink();
  return TRUE;
}

BOOL GetCaretPos(POINT* out) {
  if (!out || !ownerAlive()) return FALSE;
  *out = POINT{caret().info.rect.left, caret().info.rect.top};
  return TRUE;
}

UINT GetCaretBlinkTime() { return caret().blinkTime; }

BOOL SetCaretBlinkTime(UINT ms) {
  caret().blinkTime = ms ? ms : kDefaultBlinkTime;
  return TRUE;
}

}  // namespace zxp
