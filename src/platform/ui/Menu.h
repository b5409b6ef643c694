// Menus (user32): menu handles in the handle table, their items, the window's system menu, a
// window's menu bar handle, and pop-up menus tracked in a modal loop.
//
// A pop-up menu is a real top-level window of the system class "#32768" (WS_POPUP, tool window,
// topmost), so a subclassing interceptor or a CBT hook sees it being created. TrackPopupMenu
// sends the owner WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_MEASUREITEM for each owner-drawn item,
// then shows the menu and runs a modal loop (ModalLoop.h) in which timers keep firing. While the
// menu is tracked it holds the mouse capture and the keyboard: arrows move the highlight (and
// open or close submenus), Enter chooses, Escape closes one level, a mnemonic ("&F") chooses its
// item or opens its submenu; a click on an item chooses it, a click outside every open level
// cancels. Each highlight change sends WM_MENUSELECT, owner-drawn items get WM_DRAWITEM. At the
// end WM_MENUSELECT (0xFFFF, 0) and WM_EXITMENULOOP; the chosen command is returned with
// TPM_RETURNCMD, else posted as WM_COMMAND (WM_SYSCOMMAND for a window's system menu).
// Headless, the loop gives up (as Escape) when no input is queued and no test driver runs.
//
// Items that are not owner-drawn are drawn in the platform's classic look: COLOR_MENU ground,
// COLOR_MENUTEXT text with its "&" mnemonic underlined, COLOR_HIGHLIGHT bar with
// COLOR_HIGHLIGHTTEXT, COLOR_GRAYTEXT for disabled items, a tick for checked items, a small
// triangle for submenus, an etched line for separators.
//
// The menu bar of a window (SetMenu/GetMenu, freed with the window) takes SM_CYMENU pixels of the
// non-client area under the caption: the default WM_NCCALCSIZE shrinks the client area by it, the
// screen composition draws it (COLOR_MENUBAR ground, one cell per item, the selected item on
// COLOR_MENUHILIGHT) and WM_NCHITTEST answers HTMENU over it. A click there (WM_NCLBUTTONDOWN,
// then WM_SYSCOMMAND SC_MOUSEMENU) tracks the bar: WM_ENTERMENULOOP, WM_INITMENU, the item's
// drop-down opened under it as a "#32768" level, moving the mouse across the bar or pressing
// Left/Right at the drop-down's first level switches drop-downs. Alt alone or F10 (WM_SYSKEYUP,
// then SC_KEYMENU with 0) selects the first bar item; Alt+letter (SC_KEYMENU with the letter)
// opens the item with that mnemonic; Escape goes back one level and then leaves. A letter no item
// claims is offered to the owner as WM_MENUCHAR and its MNC_* answer is followed. A chosen
// command is posted as WM_COMMAND.
#pragma once

#include <string>

#include "platform/ui/User.h"

namespace zxp {

// AppendMenu / InsertMenu / ModifyMenu flags and GetMenuState results.
constexpr UINT MF_STRING = 0x00000000;
constexpr UINT MF_BYCOMMAND = 0x00000000;
constexpr UINT MF_ENABLED = 0x00000000;
constexpr UINT MF_UNCHECKED = 0x00000000;
constexpr UINT MF_GRAYED = 0x00000001;
constexpr UINT MF_DISABLED = 0x00000002;
constexpr UINT MF_BITMAP = 0x00000004;
constexpr UINT MF_CHECKED = 0x00000008;
constexpr UINT MF_POPUP = 0x00000010;
constexpr UINT MF_MENUBARBREAK = 0x00000020;
constexpr UINT MF_MENUBREAK = 0x00000040;
constexpr UINT MF_HILITE = 0x00000080;
constexpr UINT MF_OWNERDRAW = 0x00000100;
constexpr UINT MF_BYPOSITION = 0x00000400;
constexpr UINT MF_SEPARATOR = 0x00000800;
constexpr UINT MF_DEFAULT = 0x00001000;
constexpr UINT MF_SYSMENU = 0x00002000;
constexpr UINT MF_RIGHTJUSTIFY = 0x00004000;
constexpr UINT MF_MOUSESELECT = 0x00008000;

constexpr UINT MFT_STRING = MF_STRING;
constexpr UINT MFT_BITMAP = MF_BITMAP;
constexpr UINT MFT_MENUBARBREAK = MF_MENUBARBREAK;
constexpr UINT MFT_MENUBREAK = MF_MENUBREAK;
constexpr UINT MFT_OWNERDRAW = MF_OWNERDRAW;
constexpr UINT MFT_RADIOCHECK = 0x00000200;
constexpr UINT MFT_SEPARATOR = MF_SEPARATOR;
constexpr UINT MFT_RIGHTORDER = 0x00002000;
constexpr UINT MFT_RIGHTJUSTIFY = MF_RIGHTJUSTIFY;

constexpr UINT MFS_GRAYED = 0x00000003;
constexpr UINT MFS_DISABLED = MFS_GRAYED;
constexpr UINT MFS_CHECKED = MF_CHECKED;
constexpr UINT MFS_HILITE = MF_HILITE;
constexpr UINT MFS_ENABLED = MF_ENABLED;
constexpr UINT MFS_UNCHECKED = MF_UNCHECKED;
constexpr UINT MFS_UNHILITE = 0x00000000;
constexpr UINT MFS_DEFAULT = MF_DEFAULT;

constexpr UINT MIIM_STATE = 0x00000001;
constexpr UINT MIIM_ID = 0x00000002;
constexpr UINT MIIM_SUBMENU = 0x00000004;
constexpr UINT MIIM_CHECKMARKS = 0x00000008;
constexpr UINT MIIM_TYPE = 0x00000010;
constexpr UINT MIIM_DATA = 0x00000020;
constexpr UINT MIIM_STRING = 0x00000040;
constexpr UINT MIIM_BITMAP = 0x00000080;
constexpr UINT MIIM_FTYPE = 0x00000100;

// TrackPopupMenu flags.
constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_HORIZONTAL = 0x0000;
constexpr UINT TPM_VERTICAL = 0x0040;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;
constexpr UINT TPM_RECURSE = 0x0001;

// WM_MENUSELECT's "menu closed" flags word.
constexpr UINT MENUSELECT_CLOSED = 0xFFFF;
constexpr UINT WM_UNINITMENUPOPUP = 0x0125;
constexpr UINT WM_MENUCHAR = 0x0120;
// WM_MENUCHAR answers (high word of the result; the low word is an item position).
constexpr LRESULT MNC_IGNORE = 0;
constexpr LRESULT MNC_CLOSE = 1;
constexpr LRESULT MNC_EXECUTE = 2;
constexpr LRESULT MNC_SELECT = 3;
// WM_SYSCOMMAND for a click on the menu bar (lParam: the screen point).
constexpr WPARAM SC_MOUSEMENU = 0xF090;

// Owner-draw structures (WM_MEASUREITEM / WM_DRAWITEM with CtlType ODT_MENU).
constexpr UINT ODT_MENU = 1;
constexpr UINT ODA_DRAWENTIRE = 0x0001;
constexpr UINT ODA_SELECT = 0x0002;
constexpr UINT ODA_FOCUS = 0x0004;
constexpr UINT ODS_SELECTED = 0x0001;
constexpr UINT ODS_GRAYED = 0x0002;
constexpr UINT ODS_DISABLED = 0x0004;
constexpr UINT ODS_CHECKED = 0x0008;
constexpr UINT ODS_FOCUS = 0x0010;
constexpr UINT ODS_DEFAULT = 0x0020;
struct MEASUREITEMSTRUCT {
  UINT CtlType = 0;
  UINT CtlID = 0;
  UINT itemID = 0;
  UINT itemWidth = 0;
  UINT itemHeight = 0;
  ULONG_PTR itemData = 0;
};
struct DRAWITEMSTRUCT {
  UINT CtlType = 0;
  UINT CtlID = 0;
  UINT itemID = 0;
  UINT itemAction = 0;
  UINT itemState = 0;
  HWND hwndItem = 0;  // for menus: the menu handle
  HDC hDC = 0;
  RECT rcItem;
  ULONG_PTR itemData = 0;
};

struct MENUITEMINFOA {
  UINT cbSize = sizeof(MENUITEMINFOA);
  UINT fMask = 0;
  UINT fType = 0;
  UINT fState = 0;
  UINT wID = 0;
  HMENU hSubMenu = 0;
  HBITMAP hbmpChecked = 0;
  HBITMAP hbmpUnchecked = 0;
  ULONG_PTR dwItemData = 0;
  char* dwTypeData = nullptr;  // the text (GetMenuItemInfoA copies into it, cch bytes)
  UINT cch = 0;
  HBITMAP hbmpItem = 0;
};

struct TPMPARAMS {
  UINT cbSize = sizeof(TPMPARAMS);
  RECT rcExclude;  // screen rectangle the menu must not cover
};


HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and, recursively, its submenus. FALSE for a bad handle.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);

// flags: MF_STRING (text in `item`), MF_SEPARATOR, MF_OWNERDRAW (`item` pointer value becomes the
// item data), MF_POPUP (idOrSub is the submenu handle), plus MF_GRAYED/MF_DISABLED/MF_CHECKED.
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idOrSub, const char* item);
BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSub, const char* item);
// Inserts before the item `item` (a command or, with byPosition, a position; past the end appends).
BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* mii);
// Removes an item (its submenu is kept); DeleteMenu also destroys the submenu.
BOOL RemoveMenu(HMENU menu, UINT item, UINT flags);
BOOL DeleteMenu(HMENU menu, UINT item, UINT flags);
int GetMenuItemCount(HMENU menu);  // -1 for a bad handle
UINT GetMenuItemID(HMENU menu, int pos);  // 0xFFFFFFFF for a submenu or bad position
HMENU GetSubMenu(HMENU menu, int pos);
BOOL GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA* mii);
BOOL SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* mii);
// The item's MF_* state flags (for a submenu the item count in the high byte); 0xFFFFFFFF when
// there is no such item.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
// Return the previous MF_CHECKED / MF_GRAYED|MF_DISABLED state, 0xFFFFFFFF when no such item.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
int GetMenuStringA(HMENU menu, UINT item, char* buffer, int max, UINT flags);

// The window's system menu: Restore, Move, Size, Minimize, Maximize, a separator and Close
// ("&Restore" SC_RESTORE ... "&Close\tAlt+F4" SC_CLOSE), created on first use. revert TRUE puts
// the standard menu back and returns 0.
HMENU GetSystemMenu(HWND hwnd, BOOL revert);

// The window's menu bar (a menu made with CreateMenu); the old one is not destroyed.
BOOL SetMenu(HWND hwnd, HMENU menu);
HMENU GetMenu(HWND hwnd);
BOOL DrawMenuBar(HWND hwnd);

// Shows `menu` at (x, y) screen coordinates for `owner` and tracks it until an item is chosen or
// the menu is cancelled. TPM_RETURNCMD: returns the command (0 when cancelled). Otherwise returns
// TRUE when an item was chosen, posting WM_COMMAND (WM_SYSCOMMAND for the owner's system menu).
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* unused);
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params);
// Closes the menu being tracked (as Escape at the top level).
BOOL EndMenu();

namespace ui {
// The "#32768" class (registered on first use, like EDIT).
void registerMenuClass();
// The pop-up menu window being tracked (the deepest open level), 0 when none.
HWND trackedMenuWindow();
// The menu bar's rectangle in window coordinates (empty when the window has none) and the bar
// item at a window point (-1: none).
Rect menuBarRect(HWND hwnd);
int menuBarItemAt(HWND hwnd, Point windowPoint);
// Draws the window's menu bar with dc, whose coordinates put the window's top-left corner at
// origin (the screen composition's DC).
void paintMenuBar(HWND hwnd, HDC dc, Point origin);
// Tracks the window's menu bar from bar item `item`: open drops its menu down, keyboard selects
// the first item of it (and lets Escape go back to the bar). FALSE when there is no bar or a
// menu is already tracked.
BOOL trackMenuBar(HWND hwnd, int item, bool open, bool keyboard);
// The bar item whose mnemonic is ch (-1: none).
int menuBarMnemonic(HWND hwnd, char ch);
// Frees the system menu and the menu bar of a window being destroyed.
void menusForgetWindow(HWND hwnd);
// Drops every menu and the tracking state (the window system's reset).
void resetMenus();
}  // namespace ui

}  // namespace zxp
