// Menus: the item API, the system menu, and pop-up tracking driven by keys, mouse and time in the
// modal menu loop (owner-drawn items, submenus, timers, command delivery, placement, drawing).
#include "platform/ui/Menu.h"

#include <string>

#include "UiTestSupport.h"
#include "platform/gfx/Handles.h"
#include "platform/gfx/SysColors.h"
#include "platform/ui/ModalLoop.h"
#include "platform/ui/Screen.h"

namespace zxp::ui::testing {
namespace {

// The owner answers WM_MEASUREITEM with 120 x 22 and remembers what WM_DRAWITEM asked for.
std::vector<MEASUREITEMSTRUCT> measured;
std::vector<DRAWITEMSTRUCT> drawn;
LRESULT ownerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_MEASUREITEM) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
    measured.push_back(*mis);
    mis->itemWidth = 120;
    mis->itemHeight = 22;
  } else if (m == WM_DRAWITEM) {
    drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(l));
    return TRUE;
  }
  return loggingProc(h, m, w, l);
}

class Menus : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    measured.clear();
    drawn.clear();
    WNDCLASSA wc{.lpfnWndProc = ownerProc, .lpszClassName = "ZxpMenuOwner"};
    ASSERT_NE(RegisterClassA(&wc), 0);
    owner = CreateWindowExA(0, "ZxpMenuOwner", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300, 0,
                            0, 0, nullptr);
    ASSERT_NE(owner, 0u);
  }
  // A three-item text menu: New (1), Open (2, grey), Close (3).
  static HMENU textMenu() {
    HMENU m = CreatePopupMenu();
    AppendMenuA(m, MF_STRING, 1, "&New\tCtrl+N");
    AppendMenuA(m, MF_STRING | MF_GRAYED, 2, "&Open");
    AppendMenuA(m, MF_STRING, 3, "&Close");
    return m;
  }
  // The centre of item i of the tracked menu (items of equal height, 3-pixel frame).
  static Point itemCentre(int i, int count) {
    const Rect r = windowRect(trackedMenuWindow());
    const int h = (r.height() - 6) / count;
    return Point{r.left + r.width() / 2, r.top + 3 + i * h + h / 2};
  }
  HWND owner = 0;
};

TEST_F(Menus, ItemApiStatesInfoAndBadHandles) {
  HMENU m = textMenu();
  HMENU sub = CreatePopupMenu();
  AppendMenuA(sub, MF_STRING, 40, "Deep");
  ASSERT_TRUE(AppendMenuA(m, MF_POPUP, sub, "&More"));
  EXPECT_EQ(std::pair(GetMenuItemID(m, 3), GetSubMenu(m, 3)), std::pair(0xFFFFFFFFu, sub));  // a submenu has no command
  // By command the search reaches into submenus.
  EXPECT_EQ(std::tuple(GetMenuState(m, 40, MF_BYCOMMAND), GetMenuState(m, 2, MF_BYCOMMAND), GetMenuState(m, 3, MF_BYPOSITION)),
            std::tuple(0u, UINT{MF_GRAYED}, MF_POPUP | (1u << 8)));
  EXPECT_EQ(CheckMenuItem(m, 1, MF_CHECKED), MF_UNCHECKED);
  EXPECT_EQ(CheckMenuItem(m, 1, MF_UNCHECKED), MF_CHECKED);
  EXPECT_EQ(EnableMenuItem(m, 2, MF_ENABLED), static_cast<BOOL>(MF_GRAYED));

  // Insert before command 3, by MENUITEMINFO, owner-drawn with item data.
  MENUITEMINFOA mii{.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STATE, .fType = MFT_OWNERDRAW,
                    .fState = MFS_CHECKED, .wID = 7, .dwItemData = 0xBEEF};
  ASSERT_TRUE(InsertMenuItemA(m, 3, FALSE, &mii));
  EXPECT_EQ(GetMenuItemID(m, 2), 7u);
  MENUITEMINFOA got{.fMask = mii.fMask};
  ASSERT_TRUE(GetMenuItemInfoA(m, 2, TRUE, &got));
  EXPECT_EQ(std::tuple(got.fType, got.dwItemData, got.fState), std::tuple(UINT{MFT_OWNERDRAW}, ULONG_PTR{0xBEEF}, UINT{MFS_CHECKED}));

  // Text: the length without a buffer, a cut copy with a short one.
  got = MENUITEMINFOA{.fMask = MIIM_STRING};
  ASSERT_TRUE(GetMenuItemInfoA(m, 0, TRUE, &got));
  EXPECT_EQ(got.cch, 11u);  // "&New\tCtrl+N"
  char buf[5];
  got.dwTypeData = buf;
  got.cch = sizeof buf;
  ASSERT_TRUE(GetMenuItemInfoA(m, 0, TRUE, &got));
  EXPECT_EQ(std::tuple(std::string(buf), got.cch), std::tuple("&New", 4u));
  got.fMask = MIIM_STRING;
  got.dwTypeData = const_cast<char*>("&Renamed");
  ASSERT_TRUE(SetMenuItemInfoA(m, 1, FALSE, &got));
  char name[32];
  EXPECT_EQ(GetMenuStringA(m, 1, name, sizeof name, MF_BYCOMMAND), 8);
  EXPECT_STREQ(name, "&Renamed");

  // Remove keeps the submenu, Delete destroys it.
  ASSERT_TRUE(RemoveMenu(m, 4, MF_BYPOSITION));
  EXPECT_TRUE(IsMenu(sub));
  ASSERT_TRUE(InsertMenuA(m, 0, MF_BYPOSITION | MF_POPUP, sub, "&More"));
  ASSERT_TRUE(DeleteMenu(m, 0, MF_BYPOSITION));
  EXPECT_FALSE(IsMenu(sub));

  // Bad handles and items fail without harm.
  EXPECT_EQ(GetMenuItemCount(0), -1);
  EXPECT_FALSE(AppendMenuA(0, MF_STRING, 1, "x") || AppendMenuA(m, MF_POPUP, m, "self") ||
               GetMenuItemInfoA(m, 99, TRUE, &got) || TrackPopupMenu(0, 0, 0, 0, 0, owner, nullptr) ||
               TrackPopupMenu(m, 0, 0, 0, 0, 0, nullptr));
  EXPECT_EQ(std::pair(GetMenuState(m, 999, MF_BYCOMMAND), CheckMenuItem(m, 999, MF_CHECKED)), std::pair(0xFFFFFFFFu, 0xFFFFFFFFu));

  ASSERT_TRUE(DestroyMenu(m));
  EXPECT_FALSE(DestroyMenu(m));
  EXPECT_EQ(handles().liveCount(ObjKind::Menu), 0u);
}

TEST_F(Menus, OwnerDrawnPopupMeasuresDrawsAndReturnsTheKeyboardCommand) {
  HMENU m = CreatePopupMenu();
  AppendMenuA(m, MF_OWNERDRAW, 10, reinterpret_cast<const char*>(uintptr_t{0x1111}));
  AppendMenuA(m, MF_OWNERDRAW, 11, reinterpret_cast<const char*>(uintptr_t{0x2222}));
  AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(m, MF_STRING, 12, "&Third");
  std::string cls(16, '\0');
  RECT menuRect{};
  input.whileModal([&](TestInput& in) {
    cls.resize(GetClassNameA(trackedMenuWindow(), cls.data(), 16));
    GetWindowRect(trackedMenuWindow(), &menuRect);
    EXPECT_EQ(GetCapture(), trackedMenuWindow());
    in.key(VK_DOWN).key(VK_DOWN).key(VK_RETURN);
  });
  clearLog();
  EXPECT_EQ(TrackPopupMenu(m, TPM_RETURNCMD, 150, 160, 0, owner, nullptr), 11);
  EXPECT_EQ(cls, "#32768");
  // At the point asked for; the owner's width inside the 3-pixel frame.
  EXPECT_EQ(std::tuple(menuRect.left, menuRect.top, menuRect.width()), std::tuple(150, 160, 120 + 6));
  ASSERT_EQ(measured.size(), 2u);
  EXPECT_EQ(std::tuple(measured[0].CtlType, measured[0].itemID, measured[1].itemData),
            std::tuple(UINT{ODT_MENU}, 10u, ULONG_PTR{0x2222}));
  // The second item was drawn selected, with its rectangle below the first (22 pixels high).
  bool selectedSeen = false;
  for (const auto& d : drawn)
    if (d.itemID == 11 && (d.itemState & ODS_SELECTED)) {
      selectedSeen = true;
      EXPECT_EQ(std::tuple(d.hwndItem, d.rcItem.top, d.rcItem.height(), d.itemData),
                std::tuple(HWND{m}, 3 + 22, 22, ULONG_PTR{0x2222}));
    }
  EXPECT_TRUE(selectedSeen);
  // The loop's messages, and no WM_COMMAND with TPM_RETURNCMD.
  auto seq = messagesOf(owner, {WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_EXITMENULOOP, WM_COMMAND});
  EXPECT_EQ(seq, (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_EXITMENULOOP}));
  auto sel = entriesOf(owner, WM_MENUSELECT);
  ASSERT_GE(sel.size(), 3u);
  EXPECT_EQ(LOWORD(static_cast<uintptr_t>(sel[1].wParam)), 11u);
  EXPECT_EQ(std::pair(sel.back().wParam, sel.back().lParam), std::pair(MAKEWPARAM(0, 0xFFFF), LPARAM{0}));  // closed
  EXPECT_EQ(trackedMenuWindow() | GetCapture(), 0u);
  EXPECT_TRUE(IsMenu(m));  // the menu window is gone; the menu stays the application's
}

TEST_F(Menus, MouseClickPostsTheCommandAndSkipsDisabledItems) {
  HMENU m = textMenu();
  input.whileModal([&](TestInput& in) {
    in.moveTo(itemCentre(1, 3)).click();  // the grey item: nothing happens
    EXPECT_NE(trackedMenuWindow(), 0u);
    in.moveTo(itemCentre(2, 3)).click();
  });
  clearLog();
  EXPECT_TRUE(TrackPopupMenu(m, 0, 50, 60, 0, owner, nullptr));
  input.pump();
  auto cmds = entriesOf(owner, WM_COMMAND);
  ASSERT_EQ(cmds.size(), 1u);
  EXPECT_EQ(cmds[0].wParam, MAKEWPARAM(3, 0));
}

TEST_F(Menus, EscapeClickOutsideAndNoInputReturnZero) {
  HMENU m = textMenu();
  input.whileModal([](TestInput& in) { in.key(VK_DOWN).key(VK_ESCAPE); });
  EXPECT_EQ(TrackPopupMenu(m, TPM_RETURNCMD, 10, 10, 0, owner, nullptr), 0);
  input.whileModal([](TestInput& in) { in.moveTo(Point{900, 700}).click(); });
  EXPECT_EQ(TrackPopupMenu(m, TPM_RETURNCMD, 10, 10, 0, owner, nullptr), 0);
  // Headless with nothing queued the loop gives up at once, as with Escape.
  clearLog();
  EXPECT_FALSE(TrackPopupMenu(m, 0, 10, 10, 0, owner, nullptr));
  input.pump();
  EXPECT_TRUE(entriesOf(owner, WM_COMMAND).empty());
  EXPECT_EQ(messagesOf(owner, {WM_ENTERMENULOOP, WM_EXITMENULOOP}),
            (std::vector<UINT>{WM_ENTERMENULOOP, WM_EXITMENULOOP}));
  EXPECT_EQ(modalDepth(), 0);
}

TEST_F(Menus, SubmenuOpensWithRightClosesWithLeftAndByMnemonic) {
  HMENU m = textMenu();
  HMENU sub = CreatePopupMenu();
  AppendMenuA(sub, MF_STRING, 41, "&Alpha");
  AppendMenuA(sub, MF_STRING, 42, "&Beta");
  AppendMenuA(m, MF_POPUP, sub, "&Recent");
  std::vector<HWND> levels;
  input.whileModal([&](TestInput& in) {
    in.key(VK_UP);  // wraps to the last item, the submenu
    levels.push_back(trackedMenuWindow());
    in.key(VK_RIGHT);
    levels.push_back(trackedMenuWindow());
    in.key(VK_LEFT);
    levels.push_back(trackedMenuWindow());
    in.type("r");  // the mnemonic opens it again
    levels.push_back(trackedMenuWindow());
    in.type("b");
  });
  clearLog();
  EXPECT_EQ(TrackPopupMenu(m, TPM_RETURNCMD, 10, 10, 0, owner, nullptr), 42);
  ASSERT_EQ(levels.size(), 4u);
  EXPECT_FALSE(IsWindow(levels[1]));  // the submenu, closed by Left
  EXPECT_EQ(levels[2], levels[0]);
  EXPECT_NE(levels[3], levels[0]);
  // WM_INITMENUPOPUP for the top menu, then twice for the submenu (its position in the low word).
  auto init = entriesOf(owner, WM_INITMENUPOPUP);
  ASSERT_EQ(init.size(), 3u);
  EXPECT_EQ(std::tuple(init[0].wParam, init[1].wParam, init[1].lParam), std::tuple(WPARAM{m}, WPARAM{sub}, MAKELPARAM(3, 0)));
  // Each closed level: the submenu by Left, then the submenu and the top menu at the end.
  auto uninit = entriesOf(owner, WM_UNINITMENUPOPUP);
  ASSERT_EQ(uninit.size(), 3u);
  EXPECT_EQ(std::pair(uninit[0].wParam, uninit[2].wParam), std::pair(WPARAM{sub}, WPARAM{m}));
  DestroyMenu(m);
  EXPECT_FALSE(IsMenu(sub));
}

TEST_F(Menus, TimersKeepFiringDuringTheMenuLoop) {
  HMENU m = textMenu();
  SetTimer(owner, 5, 50, nullptr);
  clearLog();
  input.whileModal([](TestInput& in) { in.advance(120).key(VK_ESCAPE); });
  TrackPopupMenu(m, 0, 10, 10, 0, owner, nullptr);
  EXPECT_EQ(entriesOf(owner, WM_TIMER).size(), 2u);
}

TEST_F(Menus, SystemMenuItemsStatesAndCloseAsSysCommand) {
  HMENU sys = GetSystemMenu(owner, FALSE);
  EXPECT_EQ(GetSystemMenu(owner, FALSE), sys);
  std::vector<UINT> ids;
  for (int i = 0; i < 7; ++i) ids.push_back(GetMenuItemID(sys, i));
  EXPECT_EQ(ids, (std::vector<UINT>{SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, 0u, SC_CLOSE}));
  // A normal window: Restore is grey, the rest enabled.
  EXPECT_EQ(std::tuple(GetMenuState(sys, SC_RESTORE, MF_BYCOMMAND) & MF_GRAYED, GetMenuState(sys, SC_MAXIMIZE, MF_BYCOMMAND) & MF_GRAYED,
                       GetMenuState(sys, SC_CLOSE, MF_BYCOMMAND) & MF_DEFAULT),
            std::tuple(UINT{MF_GRAYED}, 0u, UINT{MF_DEFAULT}));
  input.whileModal([](TestInput& in) { in.type("c"); });
  clearLog();
  EXPECT_TRUE(TrackPopupMenu(sys, 0, 110, 110, 0, owner, nullptr));
  // Posted, not sent: it arrives when the loop runs. Its menu-select flags say MF_SYSMENU.
  EXPECT_TRUE(entriesOf(owner, WM_SYSCOMMAND).empty());
  input.pump();
  auto sc = entriesOf(owner, WM_SYSCOMMAND);
  ASSERT_EQ(sc.size(), 1u);
  EXPECT_EQ(sc[0].wParam, SC_CLOSE);
  // DefWindowProc closed the window, which took its system menu along.
  EXPECT_FALSE(IsWindow(owner) || IsMenu(sys));
  EXPECT_EQ(handles().liveCount(ObjKind::Menu), 0u);
}

TEST_F(Menus, RevertedSystemMenuAndMenuBarAreFreedWithTheWindow) {
  HMENU sys = GetSystemMenu(owner, FALSE);
  DeleteMenu(sys, SC_SIZE, MF_BYCOMMAND);
  EXPECT_EQ(GetSystemMenu(owner, TRUE), 0u);
  EXPECT_FALSE(IsMenu(sys));
  EXPECT_EQ(GetMenuItemCount(GetSystemMenu(owner, FALSE)), 7);
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, textMenu(), "&File");
  ASSERT_TRUE(SetMenu(owner, bar));
  EXPECT_EQ(GetMenu(owner), bar);
  DestroyWindow(owner);
  EXPECT_EQ(handles().liveCount(ObjKind::Menu), 0u);
  // Menus the application never freed go with the window system's reset.
  CreatePopupMenu();
  resetWindowSystem();
  EXPECT_EQ(handles().liveCount(ObjKind::Menu), 0u);
}

TEST_F(Menus, PopupStaysOnTheScreenAndDrawsTheClassicLook) {
  HMENU m = textMenu();
  CheckMenuItem(m, 1, MF_CHECKED);
  const Size screen = screenSize();
  RECT r{};
  std::shared_ptr<gfx::Surface> shot;
  input.whileModal([&](TestInput& in) {
    GetWindowRect(trackedMenuWindow(), &r);
    in.key(VK_DOWN);  // highlights New
    shot = gfx::Surface::create(screen.cx, screen.cy);
    auto s = composeScreen();
    for (int y = 0; y < screen.cy; ++y) std::copy_n(s->row(y), screen.cx, shot->row(y));
    in.key(VK_ESCAPE);
  });
  TrackPopupMenu(m, TPM_RETURNCMD, screen.cx - 5, screen.cy - 5, 0, owner, nullptr);
  // Flipped to the left of and above the point, so it lies wholly on the screen.
  EXPECT_EQ(std::pair(r.right, r.bottom), std::pair(screen.cx - 5, screen.cy - 5));
  ASSERT_TRUE(shot);
  const int h = (r.height() - 6) / 3;
  auto px = [&](int x, int y) { return shot->at(r.left + x, r.top + y); };
  auto sys = [](int idx) { return oleToPixel(GetSysColor(idx)); };
  // The highlight bar over the first item's right part; the menu ground under the others.
  EXPECT_EQ(px(r.width() - 6, 3 + h / 2), sys(COLOR_HIGHLIGHT));
  EXPECT_EQ(px(r.width() - 6, 3 + 2 * h + h / 2), sys(COLOR_MENU));
  // The check mark is drawn in the highlight text colour in the left column.
  bool tick = false;
  for (int y = 3; y < 3 + h; ++y)
    for (int x = 3; x < 3 + 18; ++x) tick |= px(x, y) == sys(COLOR_HIGHLIGHTTEXT);
  EXPECT_TRUE(tick);
  // The grey item's text uses COLOR_GRAYTEXT somewhere.
  bool grey = false;
  for (int y = 3 + h; y < 3 + 2 * h; ++y)
    for (int x = 21; x < r.width() - 20; ++x) grey |= px(x, y) == sys(COLOR_GRAYTEXT);
  EXPECT_TRUE(grey);
}

TEST_F(Menus, TheDefaultItemIsBoldAndDrawingLeavesNoObjects) {
  HMENU plain = CreatePopupMenu(), bold = CreatePopupMenu();
  AppendMenuA(plain, MF_STRING, 1, "Wide caption for measuring");
  AppendMenuA(bold, MF_STRING | MF_DEFAULT, 1, "Wide caption for measuring");
  const size_t before = handles().liveCount();
  auto width = [&](HMENU m) {
    RECT r{};
    input.whileModal([&](TestInput& in) {
      GetWindowRect(trackedMenuWindow(), &r);
      in.key(VK_DOWN).key(VK_ESCAPE);
    });
    TrackPopupMenu(m, TPM_RETURNCMD, 10, 10, 0, owner, nullptr);
    return r.width();
  };
  EXPECT_GT(width(bold), width(plain));
  EXPECT_EQ(handles().liveCount(), before);
}

TEST_F(Menus, AltSpaceOpensTheSystemMenuBelowTheCaption) {
  HWND opened = 0;
  RECT r{};
  input.whileModal([&](TestInput& in) {
    opened = trackedMenuWindow();
    GetWindowRect(opened, &r);
    in.key(VK_ESCAPE);
  });
  input.altKey(' ');
  ASSERT_NE(opened, 0u);
  const Rect w = windowRect(owner);
  EXPECT_EQ(r.left, w.left + 4);
  EXPECT_GT(r.top, w.top + 4);
  EXPECT_TRUE(!IsWindow(opened) && IsWindow(owner));
}

}  // namespace
}  // namespace zxp::ui::testing
