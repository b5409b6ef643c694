// The menu bar: its strip of the non-client area (client area, hit test, drawing), tracking it
// with the mouse (drop-downs switched across the bar) and with the keyboard (Alt, F10, Alt+letter,
// arrows, Escape), the notifications in order, and WM_MENUCHAR's answers.
#include <string>

#include "UiTestSupport.h"
#include "platform/gfx/Handles.h"
#include "platform/gfx/SysColors.h"
#include "platform/ui/Menu.h"
#include "platform/ui/ModalLoop.h"
#include "platform/ui/Screen.h"

namespace zxp::ui::testing {
namespace {

// What the owner answers to WM_MENUCHAR: an MNC_* code over an item position.
LRESULT menuCharAnswer = 0;
LRESULT answer(int pos, LRESULT code) { return static_cast<LRESULT>(MAKELPARAM(pos, static_cast<int>(code))); }
LRESULT barOwnerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_MENUCHAR) {
    messageLog().push_back(Logged{h, m, w, l});
    return menuCharAnswer;
  }
  return loggingProc(h, m, w, l);
}

constexpr int kFrame = 4, kCaption = 26, kBar = 20;  // SM_CXFRAME, SM_CYCAPTION, SM_CYMENU

class MenuBar : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    menuCharAnswer = 0;
    WNDCLASSA wc{.lpfnWndProc = barOwnerProc, .lpszClassName = "ZxpBarOwner"};
    ASSERT_NE(RegisterClassA(&wc), 0);
    owner = CreateWindowExA(0, "ZxpBarOwner", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300, 0, 0,
                            0, nullptr);
    ASSERT_NE(owner, 0u);
    file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 101, "&New");
    AppendMenuA(file, MF_STRING, 102, "&Open");
    edit = CreatePopupMenu();
    AppendMenuA(edit, MF_STRING, 201, "&Undo");
    AppendMenuA(edit, MF_STRING, 202, "Cu&t");
    bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, file, "&File");
    AppendMenuA(bar, MF_POPUP, edit, "&Edit");
    AppendMenuA(bar, MF_STRING, 301, "&Help");  // a command right on the bar
    ASSERT_TRUE(SetMenu(owner, bar));
    messageLog().clear();
  }
  // A screen point inside bar item i (found by scanning the bar's row).
  Point barItemPoint(int i) const {
    const int y = kFrame + kCaption + kBar / 2;
    for (int x = 0; x < 400; ++x)
      if (menuBarItemAt(owner, Point{x, y}) == i) return Point{100 + x + 3, 100 + y};
    ADD_FAILURE() << "no bar item " << i;
    return Point{0, 0};
  }
  // The wParams of one message the owner received, in order.
  std::vector<WPARAM> wParams(UINT msg) const {
    std::vector<WPARAM> out;
    for (const auto& e : entriesOf(owner, msg)) out.push_back(e.wParam);
    return out;
  }
  std::vector<WPARAM> commands() const { return wParams(WM_COMMAND); }
  std::vector<WPARAM> initPopups() const { return wParams(WM_INITMENUPOPUP); }
  HWND owner = 0;
  HMENU bar = 0, file = 0, edit = 0;
};

TEST_F(MenuBar, TakesItsStripUnderTheCaptionHitsAsMenuAndIsDrawn) {
  RECT cr;
  GetClientRect(owner, &cr);
  EXPECT_EQ(cr.height(), 300 - 2 * kFrame - kCaption - kBar);
  const Rect strip = menuBarRect(owner);
  EXPECT_EQ(strip, (Rect{kFrame, kFrame + kCaption, 400 - kFrame, kFrame + kCaption + kBar}));
  EXPECT_EQ(SendMessageA(owner, WM_NCHITTEST, 0, MAKELPARAM(100 + 30, 100 + kFrame + kCaption + 5)), HTMENU);
  EXPECT_EQ(SendMessageA(owner, WM_NCHITTEST, 0, MAKELPARAM(100 + 30, 100 + kFrame + 5)), HTCAPTION);
  // Items lie left to right from the frame, each wider than its text's few letters.
  const Point f = barItemPoint(0), e = barItemPoint(1), h = barItemPoint(2);
  EXPECT_TRUE(f.x == 100 + kFrame + 3 && e.x > f.x + 20 && h.x > e.x + 20) << f.x << " " << e.x << " " << h.x;
  EXPECT_EQ(menuBarItemAt(owner, Point{390, kFrame + kCaption + 5}), -1);  // past the last item

  // Drawn by the composition: the menu ground with dark text in the strip.
  auto shot = composeScreen();
  const Pixel ground = oleToPixel(GetSysColor(COLOR_MENUBAR));
  const Pixel text = oleToPixel(GetSysColor(COLOR_MENUTEXT));
  EXPECT_EQ(shot->at(100 + 380, 100 + kFrame + kCaption + 2), ground);
  int dark = 0;
  for (int y = 100 + kFrame + kCaption; y < 100 + kFrame + kCaption + kBar; ++y)
    for (int x = f.x - 3; x < e.x - 3; ++x) dark += shot->at(x, y) == text;
  EXPECT_GT(dark, 10);

  // Without the bar the client area takes the strip back; a child cannot have one.
  EXPECT_TRUE(SetMenu(owner, 0));
  GetClientRect(owner, &cr);
  EXPECT_EQ(cr.height(), 300 - 2 * kFrame - kCaption);
  EXPECT_TRUE(menuBarRect(owner).empty());
  HWND kid = child(owner, Rect{0, 0, 50, 50});
  EXPECT_FALSE(SetMenu(kid, bar));
  EXPECT_TRUE(DrawMenuBar(owner));
  EXPECT_FALSE(DrawMenuBar(0));
}

TEST_F(MenuBar, AClickDropsTheMenuDownAndTheMouseSwitchesItAcrossTheBar) {
  HWND first = 0, second = 0;
  RECT firstRect{}, secondRect{};
  Pixel selected = 0;
  input.whileModal([&](TestInput& in) {
    first = trackedMenuWindow();
    GetWindowRect(first, &firstRect);
    auto shot = composeScreen();
    selected = shot->at(barItemPoint(0).x, barItemPoint(0).y - 6);
    in.moveTo(barItemPoint(1));  // along the bar: Edit's menu replaces File's
    second = trackedMenuWindow();
    GetWindowRect(second, &secondRect);
    // Cut, the second item of Edit's menu.
    const int h = (secondRect.height() - 6) / 2;
    in.moveTo(Point{secondRect.left + 20, secondRect.top + 3 + h + h / 2}).click();
  });
  input.moveTo(barItemPoint(0)).click();
  EXPECT_EQ(selected, oleToPixel(GetSysColor(COLOR_MENUHILIGHT)));
  ASSERT_TRUE(first && second);
  EXPECT_FALSE(IsWindow(first));
  // Each drop-down hangs under its bar item.
  const int below = 100 + kFrame + kCaption + kBar;
  EXPECT_EQ(std::tuple(firstRect.left, firstRect.top, secondRect.left, secondRect.top),
            std::tuple(100 + kFrame, below, barItemPoint(1).x - 3, below));
  EXPECT_EQ(commands(), (std::vector<WPARAM>{202}));
  EXPECT_EQ(initPopups(), (std::vector<WPARAM>{file, edit}));
  // The loop's notifications in the platform's order, the bar's WM_INITMENU naming the bar.
  auto seq = messagesOf(owner, {WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_EXITMENULOOP, WM_COMMAND});
  EXPECT_EQ(seq, (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_INITMENUPOPUP,
                                    WM_EXITMENULOOP, WM_COMMAND}));
  EXPECT_EQ(wParams(WM_INITMENU), (std::vector<WPARAM>{bar}));
  EXPECT_EQ(GetCapture() | inputState().keyboardGrab, 0u);

  // A click on the item whose menu is down closes everything; a click on a bar command runs it.
  messageLog().clear();
  input.whileModal([&](TestInput& in) { in.moveTo(barItemPoint(0)).click(); });
  input.moveTo(barItemPoint(0)).click();
  EXPECT_TRUE(commands().empty());
  input.moveTo(barItemPoint(2)).click();
  EXPECT_EQ(commands(), (std::vector<WPARAM>{301}));
}

TEST_F(MenuBar, ADropDownThatDoesNotFitBelowOpensAboveItsItemAndStaysOnTheScreen) {
  const Size screen = screenSize();
  SetWindowPos(owner, 0, screen.cx - 60, screen.cy - 80, 400, 300, SWP_NOZORDER);
  const Rect w = windowRect(owner);
  RECT menu{};
  input.whileModal([&](TestInput& in) {
    GetWindowRect(trackedMenuWindow(), &menu);
    in.key(VK_ESCAPE).key(VK_ESCAPE);
  });
  input.altKey('E');
  ASSERT_GT(menu.height(), 0);
  EXPECT_EQ(menu.bottom, w.top + kFrame + kCaption);  // right above Edit's cell
  EXPECT_TRUE(menu.left >= 0 && menu.right <= screen.cx);
}

TEST_F(MenuBar, AltAloneAndF10SelectTheBarArrowsSwitchAndEscapeGoesBackThenLeaves) {
  std::vector<HWND> open;
  input.whileModal([&](TestInput& in) {
    open.push_back(trackedMenuWindow());  // only the bar is selected
    in.key(VK_RIGHT).key(VK_DOWN);        // Edit's menu, Undo highlighted
    open.push_back(trackedMenuWindow());
    in.key(VK_LEFT);  // File's menu, New highlighted
    open.push_back(trackedMenuWindow());
    in.key(VK_ESCAPE);  // back to the bar, File still selected
    open.push_back(trackedMenuWindow());
    in.key(VK_RETURN).key(VK_DOWN).key(VK_RETURN);  // File > Open
  });
  input.key(VK_MENU);
  ASSERT_EQ(open.size(), 4u);
  EXPECT_EQ((std::vector<bool>{open[0] != 0, open[1] != 0, open[2] != 0, open[3] != 0}),
            (std::vector<bool>{false, true, true, false}));
  EXPECT_EQ(initPopups(), (std::vector<WPARAM>{edit, file, file}));
  EXPECT_EQ(commands(), (std::vector<WPARAM>{102}));
  // WM_MENUSELECT named bar item 0 first, as a pop-up item of the bar, by position.
  auto firstOnBar = std::find_if(messageLog().begin(), messageLog().end(), [&](const Logged& e) {
    return e.msg == WM_MENUSELECT && static_cast<HMENU>(e.lParam) == bar;
  });
  ASSERT_NE(firstOnBar, messageLog().end());
  EXPECT_EQ(std::tuple(LOWORD(firstOnBar->wParam), HIWORD(firstOnBar->wParam) & MF_POPUP), std::tuple(0, MF_POPUP));

  // F10 enters the same way; Escape on the bar leaves with nothing chosen.
  messageLog().clear();
  bool entered = false;
  input.whileModal([&](TestInput& in) {
    entered = true;
    in.key(VK_ESCAPE);
  });
  input.key(VK_F10);
  EXPECT_TRUE(entered);
  EXPECT_TRUE(commands().empty());
  EXPECT_EQ(messagesOf(owner, {WM_EXITMENULOOP}).size(), 1u);
  // Alt after another key (Alt+Tab style) does not enter the menu.
  messageLog().clear();
  input.keyDown(VK_MENU).key('X').keyUp(VK_MENU);
  EXPECT_TRUE(messagesOf(owner, {WM_ENTERMENULOOP}).empty());
}

TEST_F(MenuBar, AltLetterOpensByMnemonicAndMenuCharAnswersAreFollowed) {
  input.whileModal([](TestInput& in) { in.type("t"); });  // Cut by its mnemonic
  input.altKey('E');
  EXPECT_EQ(initPopups(), (std::vector<WPARAM>{edit}));
  EXPECT_EQ(commands(), (std::vector<WPARAM>{202}));

  // No bar item has Q: the owner is asked, with the letter and the bar; MNC_EXECUTE 1 opens Edit.
  messageLog().clear();
  menuCharAnswer = answer(1, MNC_EXECUTE);
  input.whileModal([](TestInput& in) { in.key(VK_RETURN); });
  input.altKey('Q');
  auto asked = entriesOf(owner, WM_MENUCHAR);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(std::tuple(LOWORD(asked[0].wParam), static_cast<HMENU>(asked[0].lParam)), std::tuple('q', bar));
  EXPECT_EQ(commands(), (std::vector<WPARAM>{201}));  // Undo, the first item, highlighted by the keyboard

  // In a drop-down: MNC_SELECT highlights the answered item, MNC_EXECUTE chooses it.
  messageLog().clear();
  menuCharAnswer = answer(1, MNC_SELECT);
  input.whileModal([](TestInput& in) { in.type("z").key(VK_RETURN); });
  input.altKey('F');
  EXPECT_EQ(commands(), (std::vector<WPARAM>{102}));
  asked = entriesOf(owner, WM_MENUCHAR);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(std::tuple(static_cast<HMENU>(asked[0].lParam), HIWORD(asked[0].wParam) & MF_POPUP), std::tuple(file, MF_POPUP));

  // MNC_CLOSE ends the menu, so a following Enter chooses nothing; after MNC_IGNORE the menu is
  // still open and Enter chooses its highlighted item.
  messageLog().clear();
  menuCharAnswer = answer(0, MNC_CLOSE);
  input.whileModal([](TestInput& in) { in.type("z").key(VK_RETURN); });
  input.altKey('F');
  EXPECT_TRUE(commands().empty());
  EXPECT_EQ(messagesOf(owner, {WM_EXITMENULOOP}).size(), 1u);
  menuCharAnswer = answer(0, MNC_IGNORE);
  input.whileModal([](TestInput& in) { in.type("z").key(VK_RETURN); });
  input.altKey('F');
  EXPECT_EQ(commands(), (std::vector<WPARAM>{101}));
  EXPECT_EQ(GetCapture(), 0u);
  // Everything is freed with the window.
  DestroyWindow(owner);
  EXPECT_EQ(handles().liveCount(ObjKind::Menu), 0u);
}

}  // namespace
}  // namespace zxp::ui::testing
