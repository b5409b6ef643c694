// Input: mouse routing and message order, double clicks, capture, mouse-leave tracking,
// the wheel, activation, focus, keyboard sequences and key state, cursors, moving a window with
// the mouse, the mouse hook.
#include "UiTestSupport.h"

#include "platform/ui/Input.h"

namespace zxp::ui::testing {
namespace {

using Input = UiTest;

const std::initializer_list<UINT> kButtons = {WM_MOUSEMOVE,   WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                                              WM_RBUTTONDOWN, WM_RBUTTONUP,   WM_MOUSELEAVE};

TEST_F(Input, ClickMessageOrderAndLayouts) {
  HWND top = popup(Rect{100, 100, 300, 300});
  HWND btn = child(top, Rect{10, 10, 90, 40});
  input.moveTo(btn, Point{5, 6});
  clearLog();
  input.click();
  // The hit test and the cursor come before the press; press and release go to the button.
  EXPECT_EQ(messagesOf(btn, {WM_NCHITTEST, WM_SETCURSOR, WM_LBUTTONDOWN, WM_LBUTTONUP}),
            (std::vector<UINT>{WM_NCHITTEST, WM_SETCURSOR, WM_LBUTTONDOWN, WM_NCHITTEST, WM_LBUTTONUP}));
  // On the release the button is no longer held.
  auto down = entriesOf(btn, WM_LBUTTONDOWN)[0];
  EXPECT_EQ(std::tuple(down.wParam, down.lParam, entriesOf(btn, WM_LBUTTONUP)[0].wParam),
            std::tuple(WPARAM{MK_LBUTTON}, MAKELPARAM(5, 6), WPARAM{0}));
  EXPECT_TRUE(messagesOf(top, kButtons).empty());
  // The set-cursor message names the button message it is for.
  EXPECT_EQ(entriesOf(btn, WM_SETCURSOR)[0].lParam, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  // The right button, with Shift held.
  clearLog();
  input.keyDown(VK_SHIFT).click(MouseButton::Right).keyUp(VK_SHIFT);
  EXPECT_EQ(messagesOf(btn, kButtons), (std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONUP}));
  EXPECT_EQ(entriesOf(btn, WM_RBUTTONDOWN)[0].wParam, MK_RBUTTON | MK_SHIFT);
}

TEST_F(Input, DoubleClicksFollowTheTimeAndDistanceRules) {
  HWND dbl = popup(Rect{0, 0, 100, 100});
  HWND plain = popup(Rect{200, 0, 300, 100}, kPlainClass);
  input.moveTo(dbl, Point{50, 50});
  clearLog();
  input.doubleClick();
  EXPECT_EQ(messagesOf(dbl, kButtons),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
  // A third press starts over.
  clearLog();
  input.click();
  EXPECT_EQ(messagesOf(dbl, kButtons), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
  // Exactly the double-click time apart still counts, one millisecond more does not; within two
  // pixels of the first press (SM_CXDOUBLECLK 4 wide) counts, three pixels does not.
  struct Row { unsigned ms; int dx, dy; size_t doubles; };
  for (const Row r : {Row{500, 0, 0, 1}, Row{501, 0, 0, 0}, Row{0, 2, -2, 1}, Row{0, 3, 0, 0}}) {
    SCOPED_TRACE(::testing::Message() << r.ms << " ms, " << r.dx << "," << r.dy);
    input.advance(600);
    clearLog();
    input.click().advance(r.ms).moveBy(r.dx, r.dy).click();
    EXPECT_EQ(messagesOf(dbl, {WM_LBUTTONDBLCLK}).size(), r.doubles);
  }
  // A class without CS_DBLCLKS gets two plain presses.
  input.moveTo(plain).advance(600);
  clearLog();
  input.doubleClick();
  EXPECT_EQ(messagesOf(plain, kButtons),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST_F(Input, CaptureRoutesMouseMessagesOutsideTheWindow) {
  HWND a = popup(Rect{100, 100, 200, 200});
  HWND b = popup(Rect{300, 100, 400, 200});
  input.moveTo(a, Point{10, 10}).press();
  EXPECT_EQ(SetCapture(a), 0u);
  clearLog();
  input.moveTo(Point{350, 150});  // over b
  EXPECT_TRUE(messagesOf(b, kButtons).empty());
  auto moves = entriesOf(a, WM_MOUSEMOVE);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(std::pair(moves[0].lParam, moves[0].wParam), std::pair(MAKELPARAM(250, 50), WPARAM{MK_LBUTTON}));
  // Left of and above a: negative client coordinates; the cursor itself stays on the screen.
  auto lastMove = [&] { return entriesOf(a, WM_MOUSEMOVE).back().lParam; };
  input.moveTo(Point{90, 80});
  EXPECT_EQ(std::pair(GET_X_LPARAM(lastMove()), GET_Y_LPARAM(lastMove())), std::pair(-10, -20));
  input.moveTo(a, Point{-120, -130});
  EXPECT_EQ(std::pair(GET_X_LPARAM(lastMove()), GET_Y_LPARAM(lastMove())), std::pair(-100, -100));
  input.moveTo(Point{350, 150}).release();
  EXPECT_EQ(entriesOf(a, WM_LBUTTONUP).size(), 1u);
  // Capture moves: the loser hears of it.
  clearLog();
  SetCapture(b);
  auto changed = entriesOf(a, WM_CAPTURECHANGED);
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(static_cast<HWND>(changed[0].lParam), b);
  ReleaseCapture();
  EXPECT_EQ(entriesOf(b, WM_CAPTURECHANGED).size(), 1u);
  EXPECT_EQ(GetCapture(), 0u);
  // A captured window that goes away releases the capture.
  SetCapture(a);
  DestroyWindow(a);
  EXPECT_EQ(GetCapture(), 0u);
}

TEST_F(Input, MouseLeaveIsSentOnceAfterTracking) {
  HWND w = popup(Rect{0, 0, 100, 100});
  HWND other = popup(Rect{100, 0, 200, 100});
  input.moveTo(w, Point{10, 10});
  TRACKMOUSEEVENT tme{.dwFlags = TME_LEAVE, .hwndTrack = w};
  ASSERT_TRUE(TrackMouseEvent(&tme));
  TRACKMOUSEEVENT q{.dwFlags = TME_QUERY};
  TrackMouseEvent(&q);
  EXPECT_EQ(std::pair(q.hwndTrack, q.dwFlags & TME_LEAVE), std::pair(w, DWORD{TME_LEAVE}));
  clearLog();
  input.moveTo(w, Point{50, 50});
  EXPECT_TRUE(messagesOf(w, {WM_MOUSELEAVE}).empty());
  input.moveTo(other).moveTo(other, Point{1, 1}).moveTo(Point{500, 500});
  EXPECT_EQ(messagesOf(w, {WM_MOUSELEAVE}).size(), 1u);
  // Tracking a window the cursor is not over gives the leave at once.
  clearLog();
  TrackMouseEvent(&tme);
  input.pump();
  EXPECT_EQ(messagesOf(w, {WM_MOUSELEAVE}).size(), 1u);
  // Under capture the leave waits for the release.
  input.moveTo(w);
  TrackMouseEvent(&tme);
  SetCapture(w);
  clearLog();
  input.moveTo(other);
  EXPECT_TRUE(messagesOf(w, {WM_MOUSELEAVE}).empty());
  ReleaseCapture();
  input.pump();
  EXPECT_EQ(messagesOf(w, {WM_MOUSELEAVE}).size(), 1u);
  // Hover: once the cursor rests.
  input.moveTo(w);
  tme.dwFlags = TME_HOVER;
  tme.dwHoverTime = 100;
  TrackMouseEvent(&tme);
  clearLog();
  input.advance(99);
  EXPECT_TRUE(messagesOf(w, {WM_MOUSEHOVER}).empty());  // not before the hover time
  input.advance(1);
  EXPECT_EQ(messagesOf(w, {WM_MOUSEHOVER}).size(), 1u);
}

TEST_F(Input, SetCursorPosMovesLikeTheMouse) {
  HWND w = popup(Rect{10, 10, 50, 50});
  EXPECT_TRUE(SetCursorPos(49, 49));
  input.pump();
  EXPECT_EQ(entriesOf(w, WM_MOUSEMOVE).back().lParam, MAKELPARAM(39, 39));
  POINT p;
  GetCursorPos(&p);
  EXPECT_EQ(p, (POINT{49, 49}));
}

TEST_F(Input, WheelGoesToTheFocusWindowWithDeltaAndKeyState) {
  HWND top = popup(Rect{0, 0, 200, 200});
  HWND bar = child(top, Rect{0, 0, 20, 200});
  HWND other = child(top, Rect{50, 0, 100, 50});
  input.moveTo(other);
  SetFocus(bar);
  clearLog();
  // The wheel watcher's rule: wParam / 120 / 65536 is exactly 1 for one notch forward (delta
  // 120 in the high word, no keys in the low one).
  auto notches = [&](size_t i) {
    return static_cast<double>(static_cast<int32_t>(entriesOf(bar, WM_MOUSEWHEEL)[i].wParam)) / 120 / 65536;
  };
  input.wheel(1).wheel(-1).keyDown(VK_CONTROL).wheel(1).keyUp(VK_CONTROL);
  EXPECT_EQ(std::pair(notches(0), notches(1)), std::pair(1.0, -1.0));
  EXPECT_EQ(GET_KEYSTATE_WPARAM(entriesOf(bar, WM_MOUSEWHEEL)[2].wParam), static_cast<int>(MK_CONTROL));
  // Unhandled, it climbs to the parent (DefWindowProc).
  EXPECT_EQ(entriesOf(top, WM_MOUSEWHEEL).size(), 3u);
  EXPECT_TRUE(entriesOf(other, WM_MOUSEWHEEL).empty());
}

TEST_F(Input, FocusMessagesNameTheOtherWindow) {
  HWND top = popup(Rect{0, 0, 200, 200});
  HWND a = child(top, Rect{0, 0, 50, 50});
  HWND b = child(top, Rect{60, 0, 110, 50});
  SetFocus(a);
  clearLog();
  EXPECT_EQ(SetFocus(b), a);
  EXPECT_EQ(orderOf({WM_SETFOCUS, WM_KILLFOCUS}),
            (std::vector<std::pair<HWND, UINT>>{{a, WM_KILLFOCUS}, {b, WM_SETFOCUS}}));
  EXPECT_EQ(static_cast<HWND>(entriesOf(a, WM_KILLFOCUS)[0].wParam), b);
  EXPECT_EQ(static_cast<HWND>(entriesOf(b, WM_SETFOCUS)[0].wParam), a);
  clearLog();
  EXPECT_EQ(SetFocus(b), b);  // no change, no messages
  EXPECT_TRUE(messageLog().empty());
  DestroyWindow(b);
  EXPECT_EQ(GetFocus(), 0u);
  EXPECT_EQ(SetFocus(0), 0u);
}

TEST_F(Input, DisabledWindowsLoseAndCannotTakeTheFocus) {
  HWND top = popup(Rect{0, 0, 200, 200});
  HWND a = child(top, Rect{0, 0, 50, 50});
  HWND frame = child(top, Rect{60, 0, 160, 100});
  HWND inner = child(frame, Rect{0, 0, 40, 40});
  SetFocus(a);
  EnableWindow(frame, FALSE);
  clearLog();
  // Neither the disabled window nor a window inside it: the call fails and nothing moves.
  EXPECT_EQ(SetFocus(frame), 0u);
  EXPECT_EQ(SetFocus(inner), 0u);
  EXPECT_EQ(GetFocus(), a);
  EXPECT_TRUE(entriesOf(a, WM_KILLFOCUS).empty() && entriesOf(inner, WM_SETFOCUS).empty());
  EXPECT_TRUE(EnableWindow(frame, TRUE));  // was disabled
  EXPECT_EQ(SetFocus(inner), a);
  // Disabling the focus window takes the focus away; disabled windows are not hit.
  clearLog();
  EXPECT_FALSE(EnableWindow(inner, FALSE));  // was enabled
  EXPECT_EQ(GetFocus(), 0u);
  EXPECT_EQ(messagesOf(inner, {WM_KILLFOCUS, WM_ENABLE}), (std::vector<UINT>{WM_KILLFOCUS, WM_ENABLE}));
  EXPECT_EQ(WindowFromPoint(Point{65, 5}), frame);
}

TEST_F(Input, ClickingAnInactiveWindowActivatesItAndBringsItUp) {
  HWND a = popup(Rect{0, 0, 100, 100});
  HWND b = popup(Rect{50, 50, 150, 150});
  EXPECT_EQ(GetFocus(), b);  // DefWindowProc gives an activated window the focus
  input.moveTo(Point{10, 10});
  clearLog();
  input.press();
  EXPECT_EQ(GetTopWindow(0), a);
  EXPECT_EQ(messagesOf(a, {WM_MOUSEACTIVATE, WM_ACTIVATE, WM_LBUTTONDOWN}),
            (std::vector<UINT>{WM_MOUSEACTIVATE, WM_ACTIVATE, WM_LBUTTONDOWN}));
  EXPECT_EQ(LOWORD(entriesOf(a, WM_ACTIVATE)[0].wParam), WA_CLICKACTIVE);
  EXPECT_EQ(LOWORD(entriesOf(b, WM_ACTIVATE)[0].wParam), WA_INACTIVE);
  input.release();
  // A window that does not want to be activated by a click, and eats it.
  static auto noActivate = +[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    messageLog().push_back(Logged{h, m, w, l});
    if (m == WM_MOUSEACTIVATE) return MA_NOACTIVATEANDEAT;
    return DefWindowProcA(h, m, w, l);
  };
  subclass(b, noActivate);
  input.moveTo(Point{140, 140});
  clearLog();
  input.click();
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(messagesOf(b, kButtons), (std::vector<UINT>{WM_LBUTTONUP}));
}

TEST_F(Input, KeySequencesForTypingAndAccessKeys) {
  HWND top = popup(Rect{0, 0, 100, 100});
  HWND edit = child(top, Rect{0, 0, 50, 20});
  SetFocus(edit);
  const std::initializer_list<UINT> keys = {WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR};
  using P = std::pair<UINT, WPARAM>;
  auto sequence = [&] {
    std::vector<P> seq;
    for (auto& e : messageLog())
      if (e.hwnd == edit && std::find(keys.begin(), keys.end(), e.msg) != keys.end()) seq.push_back({e.msg, e.wParam});
    return seq;
  };
  clearLog();
  input.type("aB!");
  EXPECT_EQ(sequence(), (std::vector<P>{{WM_KEYDOWN, 'A'},
                                 {WM_CHAR, 'a'}, {WM_KEYUP, 'A'}, {WM_KEYDOWN, VK_SHIFT}, {WM_KEYDOWN, 'B'},
                                 {WM_CHAR, 'B'}, {WM_KEYUP, 'B'}, {WM_KEYUP, VK_SHIFT}, {WM_KEYDOWN, VK_SHIFT},
                                 {WM_KEYDOWN, '1'}, {WM_CHAR, '!'}, {WM_KEYUP, '1'},
                                 {WM_KEYUP, VK_SHIFT}}));
  // Key-message lParam: repeat count 1, scan code, transition bits on the release.
  const LPARAM down = entriesOf(edit, WM_KEYDOWN)[0].lParam;
  EXPECT_EQ(std::pair(down & 0xFFFF, (down >> 16) & 0xFF), std::pair(LPARAM{1}, LPARAM{0x1E}));  // the A key
  EXPECT_EQ(static_cast<uint32_t>(entriesOf(edit, WM_KEYUP)[0].lParam) >> 30, 3u);
  // Alt + letter: system keys and a system character; Alt's own release is a plain key-up.
  clearLog();
  input.altKey('f');
  EXPECT_EQ(sequence(), (std::vector<P>{{WM_SYSKEYDOWN, VK_MENU},
                                 {WM_SYSKEYDOWN, 'F'}, {WM_SYSCHAR, 'f'}, {WM_SYSKEYUP, 'F'},
                                 {WM_KEYUP, VK_MENU}}));
  EXPECT_TRUE(entriesOf(edit, WM_SYSKEYDOWN)[1].lParam & (1 << 29));  // the context bit
  // The top-level window hears the access key as a menu key.
  auto cmd = entriesOf(top, WM_SYSCOMMAND);
  ASSERT_EQ(cmd.size(), 1u);
  EXPECT_EQ(std::pair(cmd[0].wParam, cmd[0].lParam), std::pair(WPARAM{SC_KEYMENU}, LPARAM{'f'}));
  // Alt alone ends with a system key-up.
  clearLog();
  input.key(VK_MENU);
  EXPECT_EQ(messagesOf(edit, keys), (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSKEYUP}));
  // Control characters, and characters without a key.
  clearLog();
  input.chord({VK_CONTROL}, 'C').type("é");
  auto chars = entriesOf(edit, WM_CHAR);
  ASSERT_EQ(chars.size(), 2u);
  EXPECT_EQ(std::pair(chars[0].wParam, chars[1].wParam), std::pair(WPARAM{3}, WPARAM{0xE9}));  // é in Windows-1252
}

TEST_F(Input, KeyStateAndToggles) {
  HWND top = popup(Rect{0, 0, 100, 100});
  SetFocus(top);
  input.key(VK_CAPITAL);
  EXPECT_EQ(GetKeyState(VK_CAPITAL), 1);  // toggled on, not held
  input.keyDown(VK_CAPITAL);
  EXPECT_LT(GetKeyState(VK_CAPITAL), 0);  // held: the high bit
  EXPECT_NE(GetAsyncKeyState(VK_CAPITAL) & 0x8000, 0);
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);  // toggled off again by the press
  input.keyUp(VK_CAPITAL);
  for (int vk : {VK_NUMLOCK, VK_SCROLL, VK_INSERT}) {
    input.key(vk);
    EXPECT_EQ(GetKeyState(vk) & 1, 1) << vk;
  }
  // Caps Lock turns letters into capitals; typing asks for what it wants.
  input.setToggle(VK_CAPITAL, true);
  clearLog();
  input.key('Q');
  EXPECT_EQ(entriesOf(top, WM_CHAR)[0].wParam, static_cast<WPARAM>('Q'));
  clearLog();
  input.type("q");
  EXPECT_EQ(entriesOf(top, WM_CHAR)[0].wParam, static_cast<WPARAM>('q'));
  // Left and right keys count as the generic key.
  input.keyDown(VK_LSHIFT);
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
  input.keyUp(VK_LSHIFT);
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
}

LRESULT discardRightClicks(int code, WPARAM w, LPARAM l) {
  auto* mh = reinterpret_cast<MOUSEHOOKSTRUCT*>(l);
  messageLog().push_back(Logged{mh->hwnd, static_cast<UINT>(w) | 0x10000u, static_cast<WPARAM>(mh->pt.x), mh->wHitTestCode});
  if (code == HC_ACTION && (w == WM_RBUTTONDOWN || w == WM_RBUTTONUP)) return 1;
  return CallNextHookEx(0, code, w, l);
}

TEST_F(Input, MouseHookSeesEveryMouseMessageAndMayDiscardIt) {
  HWND w = popup(Rect{100, 100, 200, 200});
  input.moveTo(w, Point{10, 10});
  ASSERT_NE(SetWindowsHookExA(WH_MOUSE, discardRightClicks, 0, GetCurrentThreadId()), 0u);
  clearLog();
  input.click().click(MouseButton::Right);
  auto hooked = entriesOf(w, WM_LBUTTONDOWN | 0x10000u);
  ASSERT_EQ(hooked.size(), 1u);
  EXPECT_EQ(std::pair(hooked[0].wParam, hooked[0].lParam), std::pair(WPARAM{110}, LPARAM{HTCLIENT}));  // screen x
  EXPECT_EQ(messagesOf(w, kButtons), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
  // A press in the non-client area is seen as WM_NCLBUTTONDOWN (the click-outside hook's case).
  static auto captionHit = +[](HWND hh, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    messageLog().push_back(Logged{hh, m, wp, lp});
    if (m == WM_NCHITTEST) return HTCAPTION;
    return DefWindowProcA(hh, m, wp, lp);
  };
  HWND other = popup(Rect{300, 100, 400, 200});
  subclass(other, captionHit);
  input.moveTo(other);
  clearLog();
  input.press();
  ASSERT_EQ(entriesOf(other, WM_NCLBUTTONDOWN | 0x10000u).size(), 1u);
  EXPECT_EQ(entriesOf(other, WM_NCLBUTTONDOWN | 0x10000u)[0].lParam, HTCAPTION);
}

LRESULT swallowKeyX(int code, WPARAM w, LPARAM l) {
  if (code == HC_ACTION && w == 'X') return 1;
  return CallNextHookEx(0, code, w, l);
}

TEST_F(Input, KeyboardHookMayDiscardKeys) {
  HWND w = popup(Rect{0, 0, 10, 10});
  SetFocus(w);
  ASSERT_NE(SetWindowsHookExA(WH_KEYBOARD, swallowKeyX, 0, 0), 0u);
  clearLog();
  input.type("xy");
  EXPECT_EQ(messagesOf(w, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}), (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
  EXPECT_EQ(entriesOf(w, WM_CHAR)[0].wParam, static_cast<WPARAM>('y'));
}

TEST_F(Input, TransparentHitTestsPassToTheWindowBelow) {
  HWND below = popup(Rect{0, 0, 100, 100});
  HWND above = popup(Rect{0, 0, 100, 100});
  static auto transparent = +[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_NCHITTEST) return HTTRANSPARENT;
    return loggingProc(h, m, w, l);
  };
  subclass(above, transparent);
  EXPECT_EQ(WindowFromPoint(Point{50, 50}), above);  // geometry alone finds it
  input.moveTo(Point{50, 50});
  clearLog();
  input.click();
  EXPECT_EQ(messagesOf(below, {WM_LBUTTONDOWN}).size(), 1u);
  EXPECT_TRUE(messagesOf(above, {WM_LBUTTONDOWN}).empty());
}

TEST_F(Input, CursorShapesPerWindowAndMousePointerConstants) {
  HWND a = popup(Rect{0, 0, 100, 100});
  HWND b = popup(Rect{100, 0, 200, 100});
  HCURSOR arrow = LoadCursorA(0, IDC_ARROW);
  HCURSOR beam = LoadCursorA(0, IDC_IBEAM);
  EXPECT_EQ(LoadCursorA(0, IDC_ARROW), arrow);  // shared
  EXPECT_EQ(LoadCursorA(0, 12345), 0u);
  SetWindowCursor(b, cursorForMousePointer(3, 0));
  input.moveTo(a);
  EXPECT_EQ(GetCursor(), arrow);  // the class cursor
  input.moveTo(b);
  EXPECT_EQ(GetCursor(), beam);
  SetWindowCursor(b, cursorForMousePointer(vbCustom, 0xABCDEF));
  EXPECT_EQ(GetCursor(), 0xABCDEFu);  // applied at once while over it
  EXPECT_EQ(std::tuple(standardCursorId(cursorForMousePointer(15, 0)), standardCursorId(cursorForMousePointer(11, 0)),
                       standardCursorId(cursorForMousePointer(1, 0))),
            std::tuple(IDC_SIZEALL, IDC_WAIT, IDC_ARROW));
  EXPECT_EQ(cursorForMousePointer(vbDefault, 5) | cursorForMousePointer(16, 5), 0u);
}

TEST_F(Input, CaptionDragMovesTheWindowWhileTheButtonIsHeld) {
  // The form skin's way: release the capture, send WM_NCLBUTTONDOWN with HTCAPTION.
  static auto dragProc = +[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    messageLog().push_back(Logged{h, m, w, l});
    if (m == WM_LBUTTONDOWN) {
      ReleaseCapture();
      SendMessageA(h, WM_NCLBUTTONDOWN, static_cast<WPARAM>(HTCAPTION), 0);
      return 0;
    }
    return DefWindowProcA(h, m, w, l);
  };
  HWND form = popup(Rect{100, 100, 300, 250});
  subclass(form, dragProc);
  input.moveTo(form, Point{20, 5}).press();
  input.moveBy(30, 10).moveBy(5, 5);
  EXPECT_EQ(windowRect(form), (Rect{135, 115, 335, 265}));
  clearLog();
  input.release();
  EXPECT_EQ(messagesOf(form, {WM_EXITSIZEMOVE}).size(), 1u);
  input.moveBy(50, 50);
  EXPECT_EQ(windowRect(form).left, 135);  // the drag ended with the release
}

TEST_F(Input, SystemSettings) {
  RECT wa;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &wa, 0));
  EXPECT_EQ(wa, (Rect{0, 0, 1024, 768 - kTaskBarHeight}));
  UINT lines = 0;
  EXPECT_FALSE(SystemParametersInfoA(0xFFFF, 0, &lines, 0));
  SetDoubleClickTime(300);
  EXPECT_EQ(GetDoubleClickTime(), 300u);
  SetDoubleClickTime(0);  // back to the default
  EXPECT_EQ(GetDoubleClickTime(), 500u);
}

}  // namespace
}  // namespace zxp::ui::testing
