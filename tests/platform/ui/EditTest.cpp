// The edit field driven through real input (TestInput): typing, selection with mouse and keys,
// clipboard, undo, read-only, the length limit, the owner's key hooks, notifications, layout and
// scrolling, the caret, colours and the position messages.
#include "platform/ui/Edit.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/ui/Caret.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Screen.h"
#include "platform/ui/UiTestSupport.h"

namespace zxp::ui::testing {
namespace {

constexpr UINT kEditId = 7;
constexpr COLORREF kFieldBack = RGB(255, 255, 192);

// The parent answers WM_CTLCOLOREDIT with a light yellow background and dark blue text.
LRESULT parentProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  messageLog().push_back(Logged{h, m, w, l});
  if (m == WM_CTLCOLOREDIT) {
    static GdiObject brush(CreateSolidBrush(kFieldBack));
    SetTextColor(static_cast<HDC>(w), RGB(0, 0, 128));
    SetBkColor(static_cast<HDC>(w), kFieldBack);
    return static_cast<LRESULT>(brush.get());
  }
  return DefWindowProcA(h, m, w, l);
}

class EditTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    WNDCLASSA wc{.lpfnWndProc = parentProc, .lpszClassName = "ZxpEditParent"};
    ASSERT_NE(RegisterClassA(&wc), 0);
    parent = CreateWindowExA(0, "ZxpEditParent", "", WS_POPUP | WS_VISIBLE, 50, 50, 400, 300, 0, 0, 0, nullptr);
    font = GdiObject(CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Courier New"));
    HDC dc = GetDC(parent);
    Selection sel(dc, font.get());
    SIZE s{};
    GetTextExtentPoint32(dc, "0123456789", 10, &s);
    adv = s.cx / 10;
    TEXTMETRIC tm;
    GetTextMetrics(dc, &tm);
    lineHeight = tm.tmHeight;
  }

  // A field `chars` monospaced characters wide (within its 1-pixel margins) and `lines` high.
  HWND edit(DWORD style, int chars, int lines = 1, const char* text = "") {
    HWND h = CreateWindowExA(0, "Edit", text, WS_CHILD | WS_VISIBLE | style, 10, 10, chars * adv + 2,
                             lines * lineHeight, parent, kEditId, 0, nullptr);
    SendMessageA(h, WM_SETFONT, font.get(), TRUE);
    return h;
  }
  static std::string text(HWND h) {
    char buf[4096] = {};
    GetWindowTextA(h, buf, sizeof buf);
    return buf;
  }
  static std::pair<int, int> sel(HWND h) {
    DWORD a = 0, b = 0;
    SendMessageA(h, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    return {static_cast<int>(a), static_cast<int>(b)};
  }
  static void setSel(HWND h, int a, int b) { SendMessageA(h, EM_SETSEL, static_cast<WPARAM>(a), b); }
  // Moves the mouse onto the left half of character `index`.
  void pointAt(HWND h, int index) {
    LRESULT p = SendMessageA(h, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
    input.moveTo(h, Point{static_cast<SHORT>(LOWORD(p)) + 1, static_cast<SHORT>(HIWORD(p)) + 2});
  }
  // Notification codes the parent received from the field, in order.
  std::vector<WORD> notes() const {
    std::vector<WORD> out;
    for (const auto& e : entriesOf(parent, WM_COMMAND))
      if (LOWORD(e.wParam) == kEditId) out.push_back(HIWORD(e.wParam));
    return out;
  }
  int count(WORD code) const {
    auto n = notes();
    return static_cast<int>(std::count(n.begin(), n.end(), code));
  }
  static int line(HWND h, UINT msg, WPARAM w = 0) { return static_cast<int>(SendMessageA(h, msg, w, 0)); }

  HWND parent = 0;
  GdiObject font;
  int adv = 0;
  int lineHeight = 0;
};

TEST_F(EditTest, TypingOverwritingAndDeletingAtBothEnds) {
  HWND e = edit(ES_AUTOHSCROLL, 30);
  input.moveTo(e).click().type("Hello, World!");
  EXPECT_EQ(std::pair(text(e), sel(e)), std::pair(std::string("Hello, World!"), std::make_pair(13, 13)));
  setSel(e, 7, 12);
  EXPECT_EQ(GetEditSelText(e), "World");
  input.type("there");
  EXPECT_EQ(text(e), "Hello, there!");
  input.key(VK_BACK);  // removes the character before the caret
  EXPECT_EQ(text(e), "Hello, ther!");
  input.key(VK_END).key(VK_DELETE);  // nothing after the caret
  input.key(VK_END).key(VK_BACK);
  EXPECT_EQ(text(e), "Hello, ther");
  input.key(VK_HOME).key(VK_BACK);  // nothing before the caret
  input.key(VK_DELETE);
  EXPECT_EQ(std::pair(text(e), sel(e)), std::pair(std::string("ello, ther"), std::make_pair(0, 0)));
  // Characters outside ASCII: positions count characters, buffers bytes.
  input.key(VK_END).type("\xC3\xA9");  // é
  EXPECT_EQ(text(e), "ello, ther\xC3\xA9");
  EXPECT_EQ(std::tuple(sel(e).first, sel(e).second, GetWindowTextLengthA(e)), std::tuple(11, 11, 12));
  char small[12];
  EXPECT_EQ(GetWindowTextA(e, small, sizeof small), 10);  // never half a character
}

// The field keeps texts of characters up to U+00FF one byte each and widens on the first larger
// one: every operation must give the same characters whichever form the text is in.
TEST_F(EditTest, CharactersPastLatin1WidenTheTextAndChangeNothingElse) {
  HWND e = edit(ES_AUTOHSCROLL, 30, 1, "caf\xC3\xA9 \xC3\xBF");  // café ÿ
  EXPECT_EQ(std::tuple(text(e), GetWindowTextLengthA(e)), std::tuple("caf\xC3\xA9 \xC3\xBF", 8));
  SetFocus(e);
  input.key(VK_END).type("\xE2\x82\xAC");  // € (U+20AC) widens the text
  EXPECT_EQ(std::tuple(text(e), sel(e).first, GetWindowTextLengthA(e)), std::tuple("caf\xC3\xA9 \xC3\xBF\xE2\x82\xAC", 7, 11));
  setSel(e, 3, 4);
  EXPECT_EQ(GetEditSelText(e), "\xC3\xA9");
  input.chord({VK_CONTROL}, 'Z');  // undoes the typing: the same characters, still wide
  EXPECT_EQ(text(e), "caf\xC3\xA9 \xC3\xBF");
  // Setting the same characters in the narrow form is no change.
  const int changes = count(EN_CHANGE);
  SetWindowTextA(e, "caf\xC3\xA9 \xC3\xBF");
  EXPECT_EQ(count(EN_CHANGE), changes);
  SetWindowTextA(e, "caf\xC3\xA9!");
  EXPECT_EQ(count(EN_CHANGE), changes + 1);

  // Upper case takes ÿ past U+00FF (to Ÿ, U+0178); a malformed byte reads as U+FFFD.
  HWND upper = edit(ES_AUTOHSCROLL | ES_UPPERCASE, 10, 1, "\xC3\xBF\xC3\xA9x");
  EXPECT_EQ(text(upper), "\xC5\xB8\xC3\x89X");
  SetWindowTextA(e, "a\xFF" "b");
  EXPECT_EQ(std::tuple(text(e), GetWindowTextLengthA(e)), std::tuple("a\xEF\xBF\xBD" "b", 5));
  // Whole characters only, in either form.
  SetWindowTextA(e, "\xC3\xA9\xC3\xA9");
  char two[4];
  const int got = GetWindowTextA(e, two, sizeof two);
  EXPECT_EQ(std::tuple(got, std::string(two)), std::tuple(2, "\xC3\xA9"));
}

TEST_F(EditTest, MultiLineBreaksAndDeletesCrLfAsOne) {
  HWND e = edit(ES_MULTILINE | ES_AUTOVSCROLL, 20, 4);
  input.moveTo(e).click().type("ab").key(VK_RETURN).type("cd");
  EXPECT_EQ(text(e), "ab\r\ncd");
  EXPECT_EQ(line(e, EM_GETLINECOUNT), 2);
  input.key(VK_HOME).key(VK_LEFT);  // one step back over CR LF
  EXPECT_EQ(sel(e), std::make_pair(2, 2));
  input.key(VK_DELETE);
  EXPECT_EQ(text(e), "abcd");
  input.key(VK_RETURN).key(VK_BACK);
  EXPECT_EQ(text(e), "abcd");
  // Up and Down keep the column they started from.
  SetWindowTextA(e, "abcdef\r\nab\r\nabcdef");
  setSel(e, 5, 5);
  input.key(VK_DOWN);
  EXPECT_EQ(sel(e).second, 10);  // the end of the short line
  input.key(VK_DOWN);
  EXPECT_EQ(sel(e).second, 17);  // back in column 5
}

TEST_F(EditTest, WordJumpsShiftSelectionAndSelectAll) {
  HWND e = edit(ES_AUTOHSCROLL, 40, 1, "one two  three");
  SetFocus(e);
  // Each step's keys and the selection after them: a word jump goes past both spaces, Left
  // collapses a selection to its start, Shift+Home selects back from the anchor.
  struct Step { std::initializer_list<int> mods; int key; int times; std::pair<int, int> sel; };
  const Step steps[] = {{{VK_CONTROL}, VK_RIGHT, 1, {4, 4}}, {{VK_CONTROL}, VK_RIGHT, 1, {9, 9}},
                        {{VK_CONTROL}, VK_RIGHT, 1, {14, 14}}, {{VK_CONTROL}, VK_LEFT, 1, {9, 9}},
                        {{VK_CONTROL}, VK_LEFT, 1, {4, 4}}, {{VK_CONTROL, VK_SHIFT}, VK_RIGHT, 1, {4, 9}},
                        {{VK_SHIFT}, VK_LEFT, 2, {4, 7}}, {{}, VK_LEFT, 1, {4, 4}},
                        {{VK_SHIFT}, VK_END, 1, {4, 14}}, {{VK_SHIFT}, VK_HOME, 1, {0, 4}},
                        {{VK_CONTROL}, 'A', 1, {0, 14}}};
  for (const Step& st : steps) {
    for (int i = 0; i < st.times; ++i) input.chord(st.mods, st.key);
    EXPECT_EQ(sel(e), st.sel) << "after key " << st.key;
  }
  input.chord({VK_CONTROL}, VK_BACK);
  EXPECT_EQ(text(e), "");
}

TEST_F(EditTest, MouseClickDragShiftClickAndDoubleClick) {
  HWND e = edit(ES_AUTOHSCROLL, 40, 1, "alpha beta  gamma");
  pointAt(e, 3);
  input.click();
  EXPECT_EQ(std::pair(GetFocus(), sel(e)), std::pair(e, std::make_pair(3, 3)));
  pointAt(e, 1);
  input.press();
  pointAt(e, 8);
  input.release();
  EXPECT_EQ(sel(e), std::make_pair(1, 8));
  pointAt(e, 14);
  input.keyDown(VK_SHIFT).click().keyUp(VK_SHIFT);
  EXPECT_EQ(sel(e), std::make_pair(1, 14));
  input.advance(1000);
  pointAt(e, 7);
  input.doubleClick();
  EXPECT_EQ(sel(e), std::make_pair(6, 12));  // "beta" and the spaces after it
  // A drag that leaves the field to the left selects to the start.
  input.advance(1000);
  pointAt(e, 9);
  input.press().moveBy(-200, 0).release();
  EXPECT_EQ(sel(e), std::make_pair(0, 9));
}

TEST_F(EditTest, ClipboardRoundTripAndUndo) {
  HWND e = edit(ES_AUTOHSCROLL, 40, 1, "copy me");
  SetFocus(e);
  input.chord({VK_CONTROL, VK_SHIFT}, VK_RIGHT);  // "copy "
  input.chord({VK_CONTROL}, 'C');
  EXPECT_EQ(clipboardText(), "copy ");
  input.key(VK_END).chord({VK_CONTROL}, 'V');
  EXPECT_EQ(text(e), "copy mecopy ");
  input.chord({VK_CONTROL}, 'Z');
  EXPECT_EQ(text(e), "copy me");
  input.chord({VK_CONTROL}, 'Z');  // undoing the undo
  EXPECT_EQ(text(e), "copy mecopy ");
  input.chord({VK_CONTROL}, VK_HOME).chord({VK_SHIFT}, VK_RIGHT).chord({VK_CONTROL}, 'X');
  EXPECT_EQ(text(e), "opy mecopy ");
  EXPECT_EQ(clipboardText(), "c");
  // A typing run is undone as one, Backspaces included.
  SetWindowTextA(e, "");
  EXPECT_EQ(SendMessageA(e, EM_CANUNDO, 0, 0), FALSE);
  input.type("abcd").key(VK_BACK).type("x");
  input.chord({VK_CONTROL}, 'Z');
  EXPECT_EQ(text(e), "");
  // The desktop's LF line ends come out as CR LF; a single line takes only the first line.
  setClipboardText("one\ntwo");
  EXPECT_EQ(clipboardText(), "one\r\ntwo");
  input.chord({VK_SHIFT}, VK_INSERT);
  EXPECT_EQ(text(e), "one");
  HWND m = edit(ES_MULTILINE | ES_AUTOVSCROLL, 20, 3);
  SetFocus(m);
  input.chord({VK_CONTROL}, 'V');
  EXPECT_EQ(text(m), "one\r\ntwo");
  EXPECT_EQ(line(m, EM_GETLINECOUNT), 2);
}

TEST_F(EditTest, ReadOnlyRefusesEditsButSelectsAndCopies) {
  HWND e = edit(ES_AUTOHSCROLL | ES_READONLY, 30, 1, "fixed text");
  pointAt(e, 0);
  input.click().type("xy").key(VK_DELETE).key(VK_BACK);
  input.chord({VK_SHIFT}, VK_END).chord({VK_CONTROL}, 'X').chord({VK_CONTROL}, 'V');
  EXPECT_EQ(std::pair(text(e), sel(e)), std::pair(std::string("fixed text"), std::make_pair(0, 10)));
  input.chord({VK_CONTROL}, 'C');
  EXPECT_EQ(clipboardText(), "fixed text");
  EXPECT_EQ(count(EN_CHANGE), 0);
  EXPECT_FALSE(entriesOf(parent, WM_CTLCOLORSTATIC).empty());  // read-only fields ask for static colours
  // The program can still change it; the user can once it is writable again.
  SendMessageA(e, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("new"));
  EXPECT_EQ(text(e), "new");
  SendMessageA(e, EM_SETREADONLY, FALSE, 0);
  input.type("!");
  EXPECT_EQ(text(e), "new!");
}

TEST_F(EditTest, LengthLimitCutsInputShort) {
  HWND e = edit(ES_AUTOHSCROLL, 30);
  SendMessageA(e, EM_LIMITTEXT, 5, 0);
  SetFocus(e);
  input.type("abcdefg");
  EXPECT_EQ(text(e), "abcde");
  EXPECT_EQ(count(EN_MAXTEXT), 2);
  setSel(e, 1, 3);  // typing over a selection needs no room
  input.type("X");
  EXPECT_EQ(text(e), "aXde");
  setClipboardText("123456");
  input.chord({VK_CONTROL}, 'V');
  EXPECT_EQ(text(e), "aX1de");
  SetWindowTextA(e, "longer than five");  // the program is not limited
  EXPECT_EQ(text(e), "longer than five");
  SendMessageA(e, EM_LIMITTEXT, 0, 0);
  EXPECT_EQ(SendMessageA(e, EM_GETLIMITTEXT, 0, 0), kEditMaxLimit);
}

TEST_F(EditTest, KeyHooksDiscardAndReplaceCharacters) {
  HWND e = edit(ES_AUTOHSCROLL, 30, 1, "0123");
  std::vector<UINT> seen;
  EditHooks hooks;
  hooks.key = [&](UINT msg, WPARAM& code, LPARAM) {
    seen.push_back(msg);
    if (msg == WM_CHAR && code == 'x') code = 0;             // discarded
    if (msg == WM_CHAR && code == 'a') code = 'b';           // replaced
    if (msg == WM_KEYDOWN && code == VK_DELETE) code = 0;    // swallowed, as the date picker does
  };
  int mouseDowns = 0;
  int caretAtMouseDown = -1;
  hooks.mouse = [&](UINT msg, WPARAM, LPARAM) {
    if (msg == WM_LBUTTONDOWN) {
      ++mouseDowns;
      caretAtMouseDown = sel(e).second;  // the field has already moved the caret
    }
  };
  ASSERT_TRUE(SetEditHooks(e, hooks));
  pointAt(e, 2);
  input.click();
  EXPECT_EQ(std::pair(mouseDowns, caretAtMouseDown), std::pair(1, 2));
  seen.clear();
  input.type("xa");
  EXPECT_EQ(seen, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
  EXPECT_EQ(text(e), "01b23");
  input.key(VK_DELETE);
  EXPECT_EQ(text(e), "01b23");
  // Overwrite typing as the date picker does it: select the character under the caret first.
  hooks.key = [&](UINT msg, WPARAM&, LPARAM) {
    if (msg == WM_CHAR) {
      int c = sel(e).second;
      SendMessageA(e, EM_SETSEL, static_cast<WPARAM>(c), c + 1);
    }
  };
  SetEditHooks(e, hooks);
  input.key(VK_HOME).type("98");
  EXPECT_EQ(text(e), "98b23");
  EXPECT_FALSE(SetEditHooks(parent, hooks));
}

TEST_F(EditTest, ChangeIsNotifiedExactlyOncePerChange) {
  HWND e = edit(ES_AUTOHSCROLL, 30);
  SetFocus(e);
  clearLog();
  input.type("abc");
  EXPECT_EQ(notes(), (std::vector<WORD>{EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE}));
  clearLog();
  input.key(VK_HOME).key(VK_BACK).key(VK_LEFT).chord({VK_CONTROL}, 'X');  // no change at all
  SendMessageA(e, WM_CLEAR, 0, 0);
  SetWindowTextA(e, "abc");  // the same text
  EXPECT_EQ(count(EN_CHANGE), 0);
  SetWindowTextA(e, "xyz");
  SendMessageA(e, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("12"));
  input.chord({VK_CONTROL}, 'Z');
  input.chord({VK_CONTROL}, 'A').chord({VK_CONTROL}, 'X');
  EXPECT_EQ(std::pair(count(EN_CHANGE), count(EN_UPDATE)), std::pair(4, 4));
  // The focus notifications.
  clearLog();
  SetFocus(parent);
  SetFocus(e);
  EXPECT_EQ(notes(), (std::vector<WORD>{EN_KILLFOCUS, EN_SETFOCUS}));
}

TEST_F(EditTest, OwnerMayDestroyTheFieldFromItsChangeNotification) {
  HWND e = edit(ES_AUTOHSCROLL, 30);
  EditHooks hooks;
  hooks.notify = [&](WORD code) {
    if (code == EN_UPDATE) DestroyWindow(e);
  };
  SetEditHooks(e, hooks);
  SetFocus(e);
  input.type("a");
  EXPECT_FALSE(IsWindow(e));
  EXPECT_EQ(caretInfo().owner, 0u);
}

TEST_F(EditTest, WrappingLineCountAndVerticalScrolling) {
  // Ten characters per line, two lines tall.
  HWND e = edit(ES_MULTILINE | ES_AUTOVSCROLL, 10, 2, "aaaa bbbb cccc dddd eeee");
  // The line count, where line 1 starts, the length of the line holding character 12, the line of 22.
  EXPECT_EQ((std::vector<int>{line(e, EM_GETLINECOUNT), line(e, EM_LINEINDEX, 1), line(e, EM_LINELENGTH, 12),
                              line(e, EM_LINEFROMCHAR, 22)}),
            (std::vector<int>{3, 10, 10, 2}));
  char buf[32] = {};
  *reinterpret_cast<WORD*>(buf) = sizeof buf;
  EXPECT_EQ(SendMessageA(e, EM_GETLINE, 2, reinterpret_cast<LPARAM>(buf)), 4);
  EXPECT_EQ(std::string(buf, 4), "eeee");
  SetFocus(e);
  input.chord({VK_CONTROL}, VK_END);
  EXPECT_EQ(std::pair(line(e, EM_GETFIRSTVISIBLELINE), count(EN_VSCROLL)), std::pair(1, 1));  // the caret's line came into view
  input.key(VK_RETURN).type("ff");
  EXPECT_EQ(std::pair(line(e, EM_GETLINECOUNT), line(e, EM_GETFIRSTVISIBLELINE)), std::pair(4, 2));
  input.chord({VK_CONTROL}, VK_HOME);
  EXPECT_EQ(line(e, EM_GETFIRSTVISIBLELINE), 0);
  // Scrolling by message, by page and by the wheel; the first visible line may reach the last.
  EXPECT_TRUE(SendMessageA(e, EM_LINESCROLL, 0, 2));
  EXPECT_EQ(line(e, EM_GETFIRSTVISIBLELINE), 2);
  EXPECT_EQ(SendMessageA(e, EM_SCROLL, SB_PAGEDOWN, 0), MAKELRESULT(1, TRUE));
  EXPECT_EQ(SendMessageA(e, EM_SCROLL, SB_LINEDOWN, 0), MAKELRESULT(0, TRUE));
  input.moveTo(e).wheel(1);
  EXPECT_EQ(line(e, EM_GETFIRSTVISIBLELINE), 0);
  SendMessageA(e, EM_LINESCROLL, 0, 1);
  SendMessageA(e, EM_SCROLLCARET, 0, 0);
  EXPECT_EQ(line(e, EM_GETFIRSTVISIBLELINE), 0);
  // A narrower rectangle wraps again.
  RECT r{1, 0, 1 + 5 * adv, 2 * lineHeight};
  SendMessageA(e, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(line(e, EM_GETLINECOUNT), 6);
  // Without ES_AUTOVSCROLL text taller than the field is refused.
  HWND fixed = edit(ES_MULTILINE, 10, 2);
  SetFocus(fixed);
  input.type("a").key(VK_RETURN).type("b").key(VK_RETURN).type("c");
  EXPECT_EQ(text(fixed), "a\r\nbc");
}

// A field is given its text before its size (as a control creates its field at zero size and
// then reads its properties): the lines follow the size it has when asked, edits made before
// anyone asked land in the text, and a text read into a short buffer is cut at whole characters.
TEST_F(EditTest, TextGivenBeforeItsSizeFollowsTheSizeItShows) {
  HWND e = edit(ES_MULTILINE | ES_AUTOVSCROLL, 0, 2);
  SetWindowTextA(e, "aaaa bbbb cccc dddd");
  SendMessageA(e, EM_SETSEL, 19, 19);
  SendMessageA(e, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(" eeee"));
  SetWindowPos(e, 0, 0, 0, 10 * adv + 2, 2 * lineHeight, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ((std::vector<int>{line(e, EM_GETLINECOUNT), line(e, EM_LINEINDEX, 2), line(e, EM_LINEFROMCHAR, 23)}),
            (std::vector<int>{3, 20, 2}));
  // Asked while narrow, one character a line (the hanging spaces stay on their line).
  SetWindowPos(e, 0, 0, 0, 2, 2 * lineHeight, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(line(e, EM_GETLINECOUNT), 20);

  HWND wide = edit(0, 10, 1, "a\xC3\xA9\xE2\x82\xAC!");  // a, e acute (2 bytes), euro sign (3 bytes), !
  EXPECT_EQ(GetWindowTextLengthA(wide), 7);
  char buf[8];
  for (int room = 1; room <= 8; ++room) {
    std::fill(std::begin(buf), std::end(buf), 'x');
    const int got = GetWindowTextA(wide, buf, room);
    const std::string want = std::string("a\xC3\xA9\xE2\x82\xAC!").substr(0, room <= 1 ? 0 : room <= 3 ? 1 : room <= 6 ? 3 : room == 7 ? 6 : 7);
    EXPECT_EQ(std::string(buf, static_cast<size_t>(got)), want) << room;
    EXPECT_EQ(buf[got], '\0') << room;
  }
}

TEST_F(EditTest, HorizontalScrollKeepsTheCaretInView) {
  HWND e = edit(ES_AUTOHSCROLL, 10);
  SetFocus(e);
  input.type("abcdefghijklmnopqrstuvwxyz");
  POINT c{};
  ASSERT_TRUE(GetCaretPos(&c));
  RECT client{};
  GetClientRect(e, &client);
  EXPECT_TRUE(c.x >= 0 && c.x < client.right) << c.x;
  EXPECT_GT(line(e, EM_GETFIRSTVISIBLELINE), 10);
  EXPECT_GT(count(EN_HSCROLL), 0);
  input.key(VK_HOME);
  GetCaretPos(&c);
  EXPECT_EQ(std::pair(int{c.x}, line(e, EM_GETFIRSTVISIBLELINE)), std::pair(1, 0));  // at the left margin
  // Without ES_AUTOHSCROLL the field takes only what fits.
  HWND fixed = edit(0, 10);
  SetFocus(fixed);
  input.type("abcdefghijklmnop");
  EXPECT_EQ(text(fixed), "abcdefghij");
  EXPECT_GT(count(EN_MAXTEXT), 0);
}

TEST_F(EditTest, CaretBlinksOnlyWhileFocused) {
  HWND e = edit(ES_AUTOHSCROLL, 10, 1, "abc");
  EXPECT_EQ(caretInfo().owner, 0u);  // none before the focus
  pointAt(e, 1);
  input.click();
  CaretInfo c = caretInfo();
  ASSERT_EQ(c.owner, e);
  EXPECT_EQ(std::pair(c.rect, c.drawn), std::pair(Rect::fromXYWH(1 + adv, 0, 1, lineHeight), true));
  // The caret inverts the yellow background it stands on.
  auto pixelAtCaret = [&] {
    POINT p{c.rect.left, lineHeight - 1};
    ClientToScreen(e, &p);
    return composeScreen()->row(p.y)[p.x] & 0xFFFFFF;
  };
  EXPECT_EQ(pixelAtCaret(), oleToPixel(kFieldBack) ^ 0xFFFFFF);
  input.advance(GetCaretBlinkTime());
  EXPECT_FALSE(caretInfo().drawn);
  EXPECT_EQ(pixelAtCaret(), oleToPixel(kFieldBack));
  input.advance(GetCaretBlinkTime());
  EXPECT_TRUE(caretInfo().drawn);
  input.type("x");  // repainting under the caret keeps one caret, on at once after the move
  EXPECT_EQ(std::pair(caretInfo().drawn, caretInfo().rect.left), std::pair(true, 1 + 2 * adv));
  // An in-place editor is sent WM_SETFOCUS on top of getting the focus: still one caret.
  SendMessageA(e, WM_SETFOCUS, 0, 0);
  input.pump();
  EXPECT_EQ(std::pair(caretInfo().owner, caretInfo().rect.left), std::pair(e, 1 + 2 * adv));
  SetFocus(parent);
  EXPECT_EQ(caretInfo().owner, 0u);
  c.rect = Rect::fromXYWH(1 + 2 * adv, 0, 1, lineHeight);
  input.pump();
  EXPECT_EQ(pixelAtCaret(), oleToPixel(kFieldBack));
  input.advance(5 * GetCaretBlinkTime());
  EXPECT_EQ(pixelAtCaret(), oleToPixel(kFieldBack));
}

TEST_F(EditTest, ColoursSelectionAndAlignment) {
  HWND e = edit(ES_AUTOHSCROLL | ES_RIGHT | ES_NOHIDESEL, 10, 1, "ab");
  input.pump();
  auto shot = snapshotWindow(e);
  ASSERT_TRUE(shot);
  EXPECT_EQ(shot->row(0)[0], oleToPixel(kFieldBack));  // the parent's brush
  // Right aligned: the first character starts two characters before the rectangle's end.
  LRESULT p = SendMessageA(e, EM_POSFROMCHAR, 0, 0);
  EXPECT_EQ(static_cast<SHORT>(LOWORD(p)), 1 + 8 * adv);
  EXPECT_EQ(SendMessageA(e, EM_POSFROMCHAR, 2, 0), -1);  // past the last character
  LRESULT hit = SendMessageA(e, EM_CHARFROMPOS, 0, MAKELPARAM(1 + 9 * adv + 1, 3));
  EXPECT_EQ(LOWORD(hit), 1);
  // A selection shown without the focus (ES_NOHIDESEL) in the highlight colours.
  setSel(e, 0, 2);
  input.pump();
  shot = snapshotWindow(e);
  EXPECT_EQ(shot->row(1)[1 + 8 * adv], oleToPixel(GetSysColor(COLOR_HIGHLIGHT)));
  // Margins move the formatting rectangle.
  SendMessageA(e, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(4, 3));
  EXPECT_EQ(SendMessageA(e, EM_GETMARGINS, 0, 0), MAKELRESULT(4, 3));
  RECT r{};
  SendMessageA(e, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(std::pair(int{r.left}, int{r.right}), std::pair(4, 10 * adv + 2 - 3));
}

TEST_F(EditTest, InputStyles) {
  HWND num = edit(ES_AUTOHSCROLL | ES_NUMBER, 10);
  SetFocus(num);
  input.type("1a2-3");
  EXPECT_EQ(std::tuple(text(num), inputState().beeps), std::tuple("123", 2));
  HWND upper = edit(ES_AUTOHSCROLL | ES_UPPERCASE, 10, 1, "mixed");
  EXPECT_EQ(text(upper), "MIXED");
  SetFocus(upper);
  input.key(VK_END).type("ab\xC3\xA9");
  EXPECT_EQ(text(upper), "MIXEDAB\xC3\x89");
  HWND pass = edit(ES_AUTOHSCROLL | ES_PASSWORD, 10, 1, "secret");
  SetFocus(pass);
  input.chord({VK_CONTROL}, 'A').chord({VK_CONTROL}, 'C');
  EXPECT_EQ(clipboardText(), std::nullopt);  // a password is never copied
  EXPECT_EQ(std::tuple(SendMessageA(pass, EM_GETPASSWORDCHAR, 0, 0), text(pass)), std::tuple(LRESULT{'*'}, "secret"));
}

}  // namespace
}  // namespace zxp::ui::testing
