// Menus: the menu objects behind HMENU, the system menu, the menu bar handle, and the tracking of
// pop-up menus in "#32768" windows (see Menu.h).
#include "platform/ui/Menu.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/gfx/Font.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/Handles.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Input.h"
#include "platform/ui/ModalLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace zxp {

using ui::inputState;
using ui::runModalLoop;
using ui::screenSize;

namespace {

struct MenuItem {
  UINT type = MFT_STRING;
  UINT state = 0;
  UINT id = 0;
  HMENU sub = 0;
  ULONG_PTR data = 0;
  std::string text;
};

struct MenuObj : HandleObject {
  bool popup = false;
  std::vector<MenuItem> items;
};

MenuObj* menuObj(HMENU h) { return handles().peek<MenuObj>(h, ObjKind::Menu); }

// Every menu alive, so that the window system's reset can free what the application left.
std::vector<HMENU>& liveMenus() {
  static std::vector<HMENU> v;
  return v;
}

struct WindowMenus {
  std::map<HWND, HMENU> system;
  std::map<HWND, HMENU> bar;
};
WindowMenus& windowMenus() {
  static WindowMenus m;
  return m;
}

// An item found by command (searching submenus too, as the platform does) or by position.
struct Found {
  MenuObj* menu = nullptr;
  HMENU handle = 0;
  int index = -1;
  MenuItem* item() const { return menu ? &menu->items[static_cast<size_t>(index)] : nullptr; }
};

Found findItem(HMENU h, UINT item, bool byPosition, int depth = 0) {
  MenuObj* m = menuObj(h);
  if (!m || depth > 16) return {};
  if (byPosition) {
    if (item >= m->items.size()) return {};
    return Found{m, h, static_cast<int>(item)};
  }
  for (size_t i = 0; i < m->items.size(); ++i) {
    const MenuItem& it = m->items[i];
    if (!it.sub && it.id == item && !(it.type & MFT_SEPARATOR)) return Found{m, h, static_cast<int>(i)};
  }
  for (size_t i = 0; i < m->items.size(); ++i) {
    if (!m->items[i].sub) continue;
    Found f = findItem(m->items[i].sub, item, false, depth + 1);
    if (f.menu) return f;
  }
  return {};
}

HMENU newMenu(bool popup) {
  auto m = std::make_shared<MenuObj>();
  m->popup = popup;
  HMENU h = handles().add(ObjKind::Menu, m);
  liveMenus().push_back(h);
  return h;
}

void destroyMenuTree(HMENU h, int depth) {
  MenuObj* m = menuObj(h);
  if (!m || depth > 16) return;
  std::vector<HMENU> subs;
  for (const MenuItem& it : m->items)
    if (it.sub) subs.push_back(it.sub);
  handles().remove(h);
  auto& live = liveMenus();
  live.erase(std::remove(live.begin(), live.end(), h), live.end());
  for (HMENU s : subs) destroyMenuTree(s, depth + 1);
}

MenuItem itemFromFlags(UINT flags, UINT_PTR idOrSub, const char* text) {
  MenuItem it;
  it.type = flags & (MF_SEPARATOR | MF_OWNERDRAW | MF_BITMAP | MF_MENUBREAK | MF_MENUBARBREAK |
                     MF_RIGHTJUSTIFY | MFT_RADIOCHECK);
  it.state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
  if (flags & MF_POPUP) it.sub = static_cast<HMENU>(idOrSub);
  else it.id = static_cast<UINT>(idOrSub);
  if (flags & MF_OWNERDRAW) it.data = reinterpret_cast<ULONG_PTR>(text);
  else if (text && !(flags & (MF_SEPARATOR | MF_BITMAP))) it.text = text;
  return it;
}

bool insertAt(HMENU menu, size_t pos, MenuItem it) {
  MenuObj* m = menuObj(menu);
  if (!m) return false;
  if (it.sub && (!menuObj(it.sub) || it.sub == menu)) return false;
  pos = std::min(pos, m->items.size());
  m->items.insert(m->items.begin() + static_cast<std::ptrdiff_t>(pos), std::move(it));
  return true;
}

}  // namespace

HMENU CreateMenu() { return newMenu(false); }
HMENU CreatePopupMenu() { return newMenu(true); }

BOOL DestroyMenu(HMENU menu) {
  if (!menuObj(menu)) return FALSE;
  auto& wm = windowMenus();
  for (auto* map : {&wm.system, &wm.bar})
    for (auto it = map->begin(); it != map->end();)
      it = it->second == menu ? map->erase(it) : std::next(it);
  destroyMenuTree(menu, 0);
  return TRUE;
}

BOOL IsMenu(HMENU menu) { return menuObj(menu) ? TRUE : FALSE; }

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idOrSub, const char* item) {
  return insertAt(menu, SIZE_MAX, itemFromFlags(flags, idOrSub, item)) ? TRUE : FALSE;
}

BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSub, const char* item) {
  MenuObj* m = menuObj(menu);
  if (!m) return FALSE;
  HMENU target = menu;
  size_t pos = SIZE_MAX;
  if (flags & MF_BYPOSITION) {
    pos = position;
  } else {
    Found f = findItem(menu, position, false);
    if (f.menu) {
      target = f.handle;
      pos = static_cast<size_t>(f.index);
    }
  }
  return insertAt(target, pos, itemFromFlags(flags & ~MF_BYPOSITION, idOrSub, item)) ? TRUE : FALSE;
}

BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* mii) {
  if (!mii || !menuObj(menu)) return FALSE;
  MenuItem it;
  if (mii->fMask & (MIIM_FTYPE | MIIM_TYPE)) it.type = mii->fType;
  if (mii->fMask & MIIM_STATE) it.state = mii->fState;
  if (mii->fMask & MIIM_ID) it.id = mii->wID;
  if (mii->fMask & MIIM_SUBMENU) it.sub = mii->hSubMenu;
  if (mii->fMask & MIIM_DATA) it.data = mii->dwItemData;
  if ((mii->fMask & (MIIM_STRING | MIIM_TYPE)) && mii->dwTypeData &&
      !(it.type & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_BITMAP)))
    it.text = mii->dwTypeData;
  HMENU target = menu;
  size_t pos = SIZE_MAX;
  if (byPosition) {
    pos = item;
  } else {
    Found f = findItem(menu, item, false);
    if (f.menu) {
      target = f.handle;
      pos = static_cast<size_t>(f.index);
    }
  }
  return insertAt(target, pos, std::move(it)) ? TRUE : FALSE;
}

BOOL RemoveMenu(HMENU menu, UINT item, UINT flags) {
  Found f = findItem(menu, item, (flags & MF_BYPOSITION) != 0);
  if (!f.menu) return FALSE;
  f.menu->items.erase(f.menu->items.begin() + f.index);
  return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT item, UINT flags) {
  Found f = findItem(menu, item, (flags & MF_BYPOSITION) != 0);
  if (!f.menu) return FALSE;
  HMENU sub = f.item()->sub;
  f.menu->items.erase(f.menu->items.begin() + f.index);
  if (sub) DestroyMenu(sub);
  return TRUE;
}

int GetMenuItemCount(HMENU menu) {
  MenuObj* m = menuObj(menu);
  return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int pos) {
  MenuObj* m = menuObj(menu);
  if (!m || pos < 0 || static_cast<size_t>(pos) >= m->items.size()) return 0xFFFFFFFFu;
  const MenuItem& it = m->items[static_cast<size_t>(pos)];
  return it.sub ? 0xFFFFFFFFu : it.id;
}

HMENU GetSubMenu(HMENU menu, int pos) {
  MenuObj* m = menuObj(menu);
  if (!m || pos < 0 || static_cast<size_t>(pos) >= m->items.size()) return 0;
  return m->items[static_cast<size_t>(pos)].sub;
}

BOOL GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA* mii) {
  if (!mii) return FALSE;
  Found f = findItem(menu, item, byPosition != FALSE);
  if (!f.menu) return FALSE;
  const MenuItem& it = *f.item();
  if (mii->fMask & (MIIM_FTYPE | MIIM_TYPE)) mii->fType = it.type;
  if (mii->fMask & MIIM_STATE) mii->fState = it.state;
  if (mii->fMask & MIIM_ID) mii->wID = it.id;
  if (mii->fMask & MIIM_SUBMENU) mii->hSubMenu = it.sub;
  if (mii->fMask & MIIM_DATA) mii->dwItemData = it.data;
  if (mii->fMask & (MIIM_STRING | MIIM_TYPE)) {
    // The platform's contract: with no buffer (or cch 0) only the length comes back; otherwise
    // the text is copied, cut to cch - 1 bytes, and cch is set to the copied length.
    const UINT len = static_cast<UINT>(it.text.size());
    if (!mii->dwTypeData || mii->cch == 0) {
      mii->cch = len;
    } else {
      const UINT n = std::min(len, mii->cch - 1);
      std::memcpy(mii->dwTypeData, it.text.data(), n);
      mii->dwTypeData[n] = '\0';
      mii->cch = n;
    }
  }
  return TRUE;
}

BOOL SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* mii) {
  if (!mii) return FALSE;
  Found f = findItem(menu, item, byPosition != FALSE);
  if (!f.menu) return FALSE;
  if ((mii->fMask & MIIM_SUBMENU) && mii->hSubMenu && !menuObj(mii->hSubMenu)) return FALSE;
  MenuItem& it = *f.item();
  if (mii->fMask & (MIIM_FTYPE | MIIM_TYPE)) it.type = mii->fType;
  if (mii->fMask & MIIM_STATE) it.state = mii->fState;
  if (mii->fMask & MIIM_ID) it.id = mii->wID;
  if (mii->fMask & MIIM_SUBMENU) it.sub = mii->hSubMenu;
  if (mii->fMask & MIIM_DATA) it.data = mii->dwItemData;
  if ((mii->fMask & (MIIM_STRING | MIIM_TYPE)) && mii->dwTypeData) it.text = mii->dwTypeData;
  return TRUE;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  Found f = findItem(menu, item, (flags & MF_BYPOSITION) != 0);
  if (!f.menu) return 0xFFFFFFFFu;
  const MenuItem& it = *f.item();
  UINT s = it.state | it.type;
  if (it.sub) {
    s |= MF_POPUP;
    s = (s & 0xFF) | (static_cast<UINT>(std::max(0, GetMenuItemCount(it.sub))) << 8);
  }
  return s;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
  Found f = findItem(menu, item, (check & MF_BYPOSITION) != 0);
  if (!f.menu) return 0xFFFFFFFFu;
  MenuItem& it = *f.item();
  DWORD old = it.state & MF_CHECKED;
  it.state = (it.state & ~MF_CHECKED) | (check & MF_CHECKED);
  return old;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
  Found f = findItem(menu, item, (enable & MF_BYPOSITION) != 0);
  if (!f.menu) return static_cast<BOOL>(-1);
  MenuItem& it = *f.item();
  BOOL old = static_cast<BOOL>(it.state & (MF_GRAYED | MF_DISABLED));
  it.state = (it.state & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return old;
}

int GetMenuStringA(HMENU menu, UINT item, char* buffer, int max, UINT flags) {
  Found f = findItem(menu, item, (flags & MF_BYPOSITION) != 0);
  if (!f.menu) return 0;
  const std::string& t = f.item()->text;
  if (!buffer || max <= 0) return static_cast<int>(t.size());
  int n = std::min(static_cast<int>(t.size()), max - 1);
  std::memcpy(buffer, t.data(), static_cast<size_t>(n));
  buffer[n] = '\0';
  return n;
}

// ---- System menu and menu bar -------------------------------------------------------------------

namespace {

HMENU makeSystemMenu() {
  HMENU m = CreatePopupMenu();
  AppendMenuA(m, MF_STRING, SC_RESTORE, "&Restore");
  AppendMenuA(m, MF_STRING, SC_MOVE, "&Move");
  AppendMenuA(m, MF_STRING, SC_SIZE, "&Size");
  AppendMenuA(m, MF_STRING, SC_MINIMIZE, "Mi&nimize");
  AppendMenuA(m, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
  AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(m, MF_STRING | MF_DEFAULT, SC_CLOSE, "&Close\tAlt+F4");
  return m;
}

// Enables the system menu's items for the window's state and styles, as the platform does
// before showing it: Restore only when minimised or maximised, Size only for a sizable window
// that is not, Minimize and Maximize by their boxes and the state.
void updateSystemMenu(HWND hwnd, HMENU m) {
  const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  const bool iconic = IsIconic(hwnd), zoomed = IsZoomed(hwnd);
  auto en = [&](UINT id, bool on) { EnableMenuItem(m, id, on ? MF_ENABLED : MF_GRAYED); };
  en(SC_RESTORE, iconic || zoomed);
  en(SC_MOVE, !zoomed);
  en(SC_SIZE, (style & WS_THICKFRAME) && !iconic && !zoomed);
  en(SC_MINIMIZE, (style & WS_MINIMIZEBOX) && !iconic);
  en(SC_MAXIMIZE, (style & WS_MAXIMIZEBOX) && !zoomed);
}

}  // namespace

HMENU GetSystemMenu(HWND hwnd, BOOL revert) {
  if (!IsWindow(hwnd)) return 0;
  auto& sys = windowMenus().system;
  auto it = sys.find(hwnd);
  if (revert) {
    if (it != sys.end()) {
      HMENU old = it->second;
      sys.erase(it);
      DestroyMenu(old);
    }
    return 0;
  }
  if (it != sys.end() && IsMenu(it->second)) return it->second;
  HMENU m = makeSystemMenu();
  sys[hwnd] = m;
  updateSystemMenu(hwnd, m);
  return m;
}

BOOL SetMenu(HWND hwnd, HMENU menu) {
  if (!IsWindow(hwnd) || (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD)) return FALSE;
  if (menu && !IsMenu(menu)) return FALSE;
  if (menu) windowMenus().bar[hwnd] = menu;
  else windowMenus().bar.erase(hwnd);
  // The bar takes (or gives back) its strip of the non-client area.
  SetWindowPos(hwnd, 0, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

HMENU GetMenu(HWND hwnd) {
  auto& bar = windowMenus().bar;
  auto it = bar.find(hwnd);
  return it != bar.end() && IsMenu(it->second) ? it->second : 0;
}

BOOL DrawMenuBar(HWND hwnd) {
  if (!IsWindow(hwnd)) return FALSE;
  return RedrawWindow(hwnd, nullptr, 0, RDW_FRAME | RDW_INVALIDATE);
}

// ---- Tracking ----------------------------------------------------------------------------------------

namespace {

constexpr int kFrame = 3;        // the raised edge and one pixel of padding around the items
constexpr int kCheckColumn = 18;  // the column left of the text (check marks)
constexpr int kArrowColumn = 18;  // the column right of the text (submenu arrows)
constexpr int kSeparatorHeight = 9;
constexpr int kMinItemHeight = 17;

struct Level {
  HMENU menu = 0;
  HWND hwnd = 0;
  int sel = -1;
  std::vector<Rect> rects;  // item rectangles in the window's client coordinates
};

struct Tracking {
  bool active = false;
  HWND owner = 0;
  UINT flags = 0;
  bool sysMenu = false;
  std::vector<Level> levels;
  bool done = false;
  UINT command = 0;
  bool chosen = false;
  HWND prevGrab = 0;
  HMENU bar = 0;    // the owner's menu bar when the bar is tracked (0: a pop-up menu)
  int barSel = -1;  // the selected bar item
  HWND grabber = 0;  // hidden "#32768" window holding the mouse and keyboard while the bar is tracked
};
Tracking& tracking() {
  static Tracking t;
  return t;
}

LRESULT menuWndProc(HWND, UINT, WPARAM, LPARAM);

HFONT menuFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

// The default item (MF_DEFAULT) is drawn and measured in the bold variant of the menu font,
// made for the moment it is used.
GdiObject boldMenuFont() {
  LOGFONT lf{};
  if (!gfx::fontGetObject(menuFont(), sizeof lf, &lf)) return GdiObject();
  lf.lfWeight = 700;
  return GdiObject(CreateFontIndirect(&lf));
}

bool isSeparator(const MenuItem& it) { return (it.type & MFT_SEPARATOR) != 0; }
bool isDisabled(const MenuItem& it) { return (it.state & (MF_GRAYED | MF_DISABLED)) != 0; }
bool selectable(const MenuItem& it) { return !isSeparator(it); }

void notify(UINT msg, WPARAM wp, LPARAM lp) {
  Tracking& t = tracking();
  if (IsWindow(t.owner)) SendMessageA(t.owner, msg, wp, lp);
}

// Lays out the items of a level: owner-drawn items are measured by the owner (WM_MEASUREITEM);
// text items by the menu font. Returns the window size.
Size layoutLevel(Level& lv, HDC dc) {
  MenuObj* m = menuObj(lv.menu);
  lv.rects.clear();
  if (!m) return Size{2 * kFrame, 2 * kFrame};
  Selection font(dc, menuFont());
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  const int textHeight = std::max(kMinItemHeight, static_cast<int>(tm.tmHeight) + 4);
  int width = 0, y = kFrame;
  std::vector<int> heights;
  for (MenuItem& it : m->items) {
    int w = 0, h = textHeight;
    if (isSeparator(it)) {
      h = kSeparatorHeight;
    } else if (it.type & MFT_OWNERDRAW) {
      MEASUREITEMSTRUCT mis;
      mis.CtlType = ODT_MENU;
      mis.itemID = it.id;
      mis.itemData = it.data;
      mis.itemHeight = static_cast<UINT>(textHeight);
      notify(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
      w = static_cast<int>(std::min<UINT>(mis.itemWidth, 4096));
      h = static_cast<int>(std::min<UINT>(mis.itemHeight, 4096));
    } else {
      std::string label = it.text, accel;
      if (auto tab = label.find('\t'); tab != std::string::npos) {
        accel = label.substr(tab + 1);
        label.resize(tab);
      }
      GdiObject bold = (it.state & MF_DEFAULT) ? boldMenuFont() : GdiObject();
      std::optional<Selection> boldSel;
      if (bold) boldSel.emplace(dc, bold.get());
      RECT r{0, 0, 0, 0};
      DrawTextA(dc, label.c_str(), -1, &r, DT_SINGLELINE | DT_CALCRECT);
      w = kCheckColumn + r.width() + kArrowColumn;
      if (!accel.empty()) {
        RECT a{0, 0, 0, 0};
        DrawTextA(dc, accel.c_str(), -1, &a, DT_SINGLELINE | DT_CALCRECT);
        w += a.width() + 12;
      }
    }
    width = std::max(width, w);
    lv.rects.push_back(Rect{kFrame, y, 0, y + h});
    y += h;
  }
  width = std::max(width, 40);
  for (Rect& r : lv.rects) r.right = kFrame + width;
  return Size{width + 2 * kFrame, y + kFrame};
}

void drawTick(HDC dc, int x, int y, COLORREF c) {
  // The classic 7 x 7 check mark, three pixels thick.
  static const int kRise[7] = {2, 3, 4, 3, 2, 1, 0};
  for (int i = 0; i < 7; ++i)
    for (int k = 0; k < 3; ++k) SetPixelV(dc, x + i, y + kRise[i] + k, c);
}

void drawArrow(HDC dc, int x, int yMid, COLORREF c) {
  for (int i = 0; i < 4; ++i)
    for (int k = -(3 - i); k <= 3 - i; ++k) SetPixelV(dc, x + i, yMid + k, c);
}

void drawLabel(HDC dc, const std::string& text, RECT r, COLORREF c) {
  std::string label = text, accel;
  if (auto tab = label.find('\t'); tab != std::string::npos) {
    accel = label.substr(tab + 1);
    label.resize(tab);
  }
  SetTextColor(dc, c);
  DrawTextA(dc, label.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  if (!accel.empty()) DrawTextA(dc, accel.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
}

void paintItem(Level& lv, int i, HDC dc) {
  MenuObj* m = menuObj(lv.menu);
  if (!m || i < 0 || static_cast<size_t>(i) >= m->items.size()) return;
  const MenuItem& it = m->items[static_cast<size_t>(i)];
  RECT r = lv.rects[static_cast<size_t>(i)];
  const bool sel = i == lv.sel;
  if (it.type & MFT_OWNERDRAW) {
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_MENU;
    dis.itemID = it.id;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = (sel ? ODS_SELECTED : 0) | ((it.state & MF_GRAYED) ? ODS_GRAYED : 0) |
                    ((it.state & MF_DISABLED) ? ODS_DISABLED : 0) |
                    ((it.state & MF_CHECKED) ? ODS_CHECKED : 0) | ((it.state & MF_DEFAULT) ? ODS_DEFAULT : 0);
    dis.hwndItem = lv.menu;
    dis.hDC = dc;
    dis.rcItem = r;
    dis.itemData = it.data;
    FillRect(dc, &r, static_cast<HBRUSH>(COLOR_MENU + 1));
    notify(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    return;
  }
  if (isSeparator(it)) {
    FillRect(dc, &r, static_cast<HBRUSH>(COLOR_MENU + 1));
    const int y = (r.top + r.bottom) / 2 - 1;
    RECT a{r.left + 1, y, r.right - 1, y + 1}, b{r.left + 1, y + 1, r.right - 1, y + 2};
    FillRect(dc, &a, static_cast<HBRUSH>(COLOR_BTNSHADOW + 1));
    FillRect(dc, &b, static_cast<HBRUSH>(COLOR_BTNHIGHLIGHT + 1));
    return;
  }
  FillRect(dc, &r, static_cast<HBRUSH>((sel ? COLOR_HIGHLIGHT : COLOR_MENU) + 1));
  const bool disabled = isDisabled(it);
  COLORREF text = GetSysColor(sel ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
  if (disabled) text = GetSysColor(COLOR_GRAYTEXT);
  SetBkMode(dc, TRANSPARENT);
  GdiObject bold = (it.state & MF_DEFAULT) ? boldMenuFont() : GdiObject();
  std::optional<Selection> boldSel;
  if (bold) boldSel.emplace(dc, bold.get());
  RECT tr{r.left + kCheckColumn, r.top, r.right - kArrowColumn, r.bottom};
  if (disabled && !sel) {
    // The classic embossed grey: a white copy one pixel down and right under the grey text.
    RECT e = tr;
    e.left += 1;
    e.right += 1;
    e.top += 1;
    e.bottom += 1;
    drawLabel(dc, it.text, e, GetSysColor(COLOR_BTNHIGHLIGHT));
  }
  drawLabel(dc, it.text, tr, text);
  const int mid = (r.top + r.bottom) / 2;
  if (it.state & MF_CHECKED) {
    if (it.type & MFT_RADIOCHECK) {
      for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
          if (dx * dx + dy * dy <= 5) SetPixelV(dc, r.left + 8 + dx, mid + dy, text);
    } else {
      drawTick(dc, r.left + 5, mid - 4, text);
    }
  }
  if (it.sub) drawArrow(dc, r.right - 10, mid, text);
}

Level* levelOf(HWND hwnd) {
  for (Level& lv : tracking().levels)
    if (lv.hwnd == hwnd) return &lv;
  return nullptr;
}

void paintLevel(Level& lv, HDC dc) {
  RECT c;
  GetClientRect(lv.hwnd, &c);
  FillRect(dc, &c, static_cast<HBRUSH>(COLOR_MENU + 1));
  RECT e = c;
  DrawEdge(dc, &e, EDGE_RAISED, BF_RECT);
  Selection font(dc, menuFont());
  for (size_t i = 0; i < lv.rects.size(); ++i) paintItem(lv, static_cast<int>(i), dc);
}

void redrawLevel(Level& lv) {
  if (HDC dc = GetDC(lv.hwnd)) {
    paintLevel(lv, dc);
    ReleaseDC(lv.hwnd, dc);
    ValidateRect(lv.hwnd, nullptr);
  }
}

void sendMenuSelect(const Level& lv, bool mouse) {
  MenuObj* m = menuObj(lv.menu);
  if (!m || (tracking().flags & TPM_NONOTIFY)) return;
  if (lv.sel < 0) {
    notify(WM_MENUSELECT, MAKEWPARAM(0, 0), static_cast<LPARAM>(lv.menu));
    return;
  }
  const MenuItem& it = m->items[static_cast<size_t>(lv.sel)];
  UINT flags = (it.state | it.type) & 0xFFFF;
  if (it.sub) flags |= MF_POPUP;
  if (mouse) flags |= MF_MOUSESELECT;
  if (tracking().sysMenu) flags |= MF_SYSMENU;
  const UINT idOrPos = it.sub ? static_cast<UINT>(lv.sel) : it.id;
  notify(WM_MENUSELECT, MAKEWPARAM(static_cast<int>(idOrPos & 0xFFFF), static_cast<int>(flags)),
         static_cast<LPARAM>(lv.menu));
}

void select(size_t levelIndex, int sel, bool mouse) {
  Tracking& t = tracking();
  if (levelIndex >= t.levels.size()) return;
  Level& lv = t.levels[levelIndex];
  if (lv.sel == sel) return;
  lv.sel = sel;
  redrawLevel(lv);
  sendMenuSelect(lv, mouse);
}

// Closes the open levels beyond the first `count`; the keyboard goes to the deepest one left (or
// to the bar's grabber when none is left).
void closeLevelsFrom(size_t count) {
  Tracking& t = tracking();
  while (t.levels.size() > count) {
    Level lv = t.levels.back();
    t.levels.pop_back();
    if (!(t.flags & TPM_NONOTIFY)) notify(WM_UNINITMENUPOPUP, static_cast<WPARAM>(lv.menu), 0);
    DestroyWindow(lv.hwnd);
  }
  if (!t.levels.empty()) inputState().keyboardGrab = t.levels.back().hwnd;
  else if (t.grabber) inputState().keyboardGrab = t.grabber;
}

void closeLevelsAbove(size_t keep) { closeLevelsFrom(keep + 1); }

// Opens a level for `menu` whose top-left corner wants to be at p; `avoid` (screen) is the parent
// item, which a level that does not fit to the right is placed to the left of. A bar item's
// drop-down (dropDown) that does not fit below its item opens above it instead.
bool openLevel(HMENU menu, Point p, UINT flags, const Rect* avoid, int posInParent, bool dropDown = false) {
  Tracking& t = tracking();
  if (!(t.flags & TPM_NONOTIFY))
    notify(WM_INITMENUPOPUP, static_cast<WPARAM>(menu),
           MAKELPARAM(posInParent < 0 ? 0 : posInParent, t.sysMenu ? 1 : 0));
  if (!menuObj(menu) || !t.active) return false;
  HWND h = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, "#32768", "",
                           WS_POPUP | WS_CLIPSIBLINGS, p.x, p.y, 1, 1, t.owner, 0, 0, nullptr);
  if (!h) return false;
  Level lv;
  lv.menu = menu;
  lv.hwnd = h;
  Size sz;
  {
    HDC dc = GetDC(h);
    sz = layoutLevel(lv, dc);
    ReleaseDC(h, dc);
  }
  // Alignment, then kept on the screen: flipped to the other side of the point (or of the parent
  // item) when it does not fit, and pushed inside as a last resort.
  const Size screen = screenSize();
  int x = p.x, y = p.y;
  if (flags & TPM_RIGHTALIGN) x -= sz.cx;
  else if (flags & TPM_CENTERALIGN) x -= sz.cx / 2;
  if (flags & TPM_BOTTOMALIGN) y -= sz.cy;
  else if (flags & TPM_VCENTERALIGN) y -= sz.cy / 2;
  if (dropDown && avoid) {
    if (y + sz.cy > screen.cy) y = avoid->top - sz.cy;
  } else {
    if (x + sz.cx > screen.cx) x = avoid ? avoid->left - sz.cx + kFrame : x - sz.cx;
    if (y + sz.cy > screen.cy) y = avoid ? avoid->bottom - sz.cy + kFrame : y - sz.cy;
  }
  x = std::clamp(x, 0, std::max(0, screen.cx - sz.cx));
  y = std::clamp(y, 0, std::max(0, screen.cy - sz.cy));
  SetWindowPos(h, HWND_TOPMOST, x, y, sz.cx, sz.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  t.levels.push_back(lv);
  redrawLevel(t.levels.back());
  inputState().keyboardGrab = h;
  return true;
}

void openSubmenu(size_t levelIndex) {
  Tracking& t = tracking();
  if (levelIndex >= t.levels.size()) return;
  Level& lv = t.levels[levelIndex];
  MenuObj* m = menuObj(lv.menu);
  if (!m || lv.sel < 0) return;
  const MenuItem& it = m->items[static_cast<size_t>(lv.sel)];
  if (!it.sub || isDisabled(it)) return;
  if (t.levels.size() > levelIndex + 1 && t.levels[levelIndex + 1].menu == it.sub) return;
  closeLevelsAbove(levelIndex);
  Rect r = t.levels[levelIndex].rects[static_cast<size_t>(t.levels[levelIndex].sel)];
  POINT tl{r.left, r.top}, br{r.right, r.bottom};
  ClientToScreen(t.levels[levelIndex].hwnd, &tl);
  ClientToScreen(t.levels[levelIndex].hwnd, &br);
  Rect item{tl.x, tl.y, br.x, br.y};
  openLevel(it.sub, Point{item.right + kFrame - 1, item.top - kFrame}, 0, &item, t.levels[levelIndex].sel);
}

void finish(bool chosen, UINT command) {
  Tracking& t = tracking();
  if (t.done) return;
  t.done = true;
  t.chosen = chosen;
  t.command = command;
}

// Highlights the first selectable item of a level (a level opened by the keyboard).
void selectFirst(size_t levelIndex) {
  Tracking& t = tracking();
  if (levelIndex >= t.levels.size()) return;
  MenuObj* m = menuObj(t.levels[levelIndex].menu);
  for (size_t i = 0; m && i < m->items.size(); ++i)
    if (selectable(m->items[i])) {
      select(levelIndex, static_cast<int>(i), false);
      return;
    }
}

// Chooses the selected item of a level: a command ends the tracking, a submenu opens.
void choose(size_t levelIndex, bool mouse) {
  Tracking& t = tracking();
  Level& lv = t.levels[levelIndex];
  MenuObj* m = menuObj(lv.menu);
  if (!m || lv.sel < 0) return;
  const MenuItem& it = m->items[static_cast<size_t>(lv.sel)];
  if (isSeparator(it) || isDisabled(it)) return;
  if (it.sub) {
    openSubmenu(levelIndex);
    if (!mouse && t.levels.size() > levelIndex + 1) selectFirst(t.levels.size() - 1);
    return;
  }
  finish(true, it.id);
}

// The lower-case letter after an item text's single "&" (0: none).
int mnemonicOf(const std::string& text) {
  for (size_t k = 0; k + 1 < text.size(); ++k) {
    if (text[k] != '&') continue;
    if (text[k + 1] == '&') {
      ++k;
      continue;
    }
    return std::tolower(static_cast<unsigned char>(text[k + 1]));
  }
  return 0;
}

// ---- The menu bar while tracked ----

constexpr int kBarItemPad = 6;  // left and right of a bar item's text

// The bar and its item cells in window coordinates, measured with dc in the menu font.
struct BarLayout {
  Rect bar;
  std::vector<Rect> items;
};
BarLayout barLayout(HWND hwnd, HDC dc) {
  BarLayout out;
  ui::Window* w = ui::windowFromHandle(hwnd);
  MenuObj* m = menuObj(GetMenu(hwnd));
  if (!w || !m || (w->style & WS_CHILD)) return out;
  // Under the frame and the caption, over the client edge: the insets without the edges.
  const Rect base = ui::nonClientInsets(w->style, w->exStyle & ~(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
  out.bar = Rect{base.left, base.top, w->rect.width() - base.right, base.top + GetSystemMetrics(SM_CYMENU)};
  if (out.bar.empty()) return out;
  Selection font(dc, menuFont());
  int x = out.bar.left;
  for (const MenuItem& it : m->items) {
    int width = 0;
    if (!isSeparator(it) && !it.text.empty()) {
      RECT r{0, 0, 0, 0};
      DrawTextA(dc, it.text.c_str(), -1, &r, DT_SINGLELINE | DT_CALCRECT);
      width = r.width() + 2 * kBarItemPad;
    }
    out.items.push_back(Rect{x, out.bar.top, x + width, out.bar.bottom});
    x += width;
  }
  return out;
}

BarLayout barLayout(HWND hwnd) {
  HDC dc = GetDC(hwnd);
  BarLayout out = barLayout(hwnd, dc);
  ReleaseDC(hwnd, dc);
  return out;
}

const MenuItem* barItem(int i) {
  MenuObj* m = menuObj(tracking().bar);
  if (!m || i < 0 || static_cast<size_t>(i) >= m->items.size()) return nullptr;
  return &m->items[static_cast<size_t>(i)];
}

// Selects bar item i (redrawn by the composition) and says so with WM_MENUSELECT.
void selectBar(int i, bool mouse) {
  Tracking& t = tracking();
  const MenuItem* it = barItem(i);
  if (!it || i == t.barSel) return;
  t.barSel = i;
  ui::screenChanged();
  UINT flags = (it->state | it->type) & 0xFFFF;
  if (it->sub) flags |= MF_POPUP;
  if (mouse) flags |= MF_MOUSESELECT;
  const UINT idOrPos = it->sub ? static_cast<UINT>(i) : it->id;
  notify(WM_MENUSELECT, MAKEWPARAM(static_cast<int>(idOrPos & 0xFFFF), static_cast<int>(flags)),
         static_cast<LPARAM>(t.bar));
}

// Selects bar item i and drops its menu down under it (the keyboard also highlights the menu's
// first item); an item without a menu is only selected.
void openBarItem(int i, bool keyboard) {
  Tracking& t = tracking();
  const MenuItem* it = barItem(i);
  if (!it) return;
  if (i == t.barSel && !t.levels.empty()) return;
  closeLevelsFrom(0);
  selectBar(i, !keyboard);
  if (!it->sub || isDisabled(*it)) return;
  BarLayout lay = barLayout(t.owner);
  if (static_cast<size_t>(i) >= lay.items.size()) return;
  RECT wr;
  GetWindowRect(t.owner, &wr);
  const Rect cell = lay.items[static_cast<size_t>(i)].offset(wr.left, wr.top);
  if (openLevel(it->sub, Point{cell.left, cell.bottom}, 0, &cell, i, true) && keyboard) selectFirst(0);
}

// Moves along the bar by step (wrapping), keeping a drop-down open when one is.
void moveOnBar(int step) {
  Tracking& t = tracking();
  const int n = GetMenuItemCount(t.bar);
  if (n <= 0) return;
  const int next = ((t.barSel < 0 ? 0 : t.barSel) + step + n) % n;
  if (t.levels.empty()) selectBar(next, false);
  else openBarItem(next, true);
}

// Chooses bar item i: its drop-down opens, or its command ends the tracking.
void chooseBarItem(int i, bool keyboard) {
  const MenuItem* it = barItem(i);
  if (!it || isSeparator(*it)) return;
  if (it->sub) openBarItem(i, keyboard);
  else if (!isDisabled(*it)) finish(true, it->id);
  else selectBar(i, !keyboard);
}

// A letter no item claims goes to the owner as WM_MENUCHAR; its answer closes the menu, chooses or
// selects an item of the menu the letter was typed in, or is ignored with a beep.
void askMenuChar(char ch) {
  Tracking& t = tracking();
  const bool onBar = t.bar && t.levels.empty();
  const HMENU menu = onBar ? t.bar : (t.levels.empty() ? 0 : t.levels.back().menu);
  UINT type = onBar ? 0 : MF_POPUP;
  if (t.sysMenu) type |= MF_SYSMENU;
  const LRESULT r = IsWindow(t.owner)
                        ? SendMessageA(t.owner, WM_MENUCHAR,
                                       MAKEWPARAM(static_cast<unsigned char>(ch), static_cast<int>(type)),
                                       static_cast<LPARAM>(menu))
                        : 0;
  const LRESULT answer = HIWORD(static_cast<uintptr_t>(r));
  const int pos = LOWORD(static_cast<uintptr_t>(r));
  if (answer == MNC_CLOSE) {
    finish(false, 0);
    return;
  }
  if (answer == MNC_EXECUTE || answer == MNC_SELECT) {
    if (onBar) {
      if (answer == MNC_EXECUTE) chooseBarItem(pos, true);
      else selectBar(pos, false);
      return;
    }
    MenuObj* m = menuObj(menu);
    if (m && static_cast<size_t>(pos) < m->items.size() && selectable(m->items[static_cast<size_t>(pos)])) {
      select(t.levels.size() - 1, pos, false);
      if (answer == MNC_EXECUTE) choose(t.levels.size() - 1, false);
      return;
    }
  }
  MessageBeep(0);
}

// The bar item under a screen point (-1: none, or not over the bar).
int barItemAtScreen(Point screen) {
  RECT wr;
  if (!GetWindowRect(tracking().owner, &wr)) return -1;
  return ui::menuBarItemAt(tracking().owner, Point{screen.x - wr.left, screen.y - wr.top});
}

// The mouse over the bar while it is tracked; true when the bar took the event.
bool onBarMouse(UINT msg, Point screen) {
  Tracking& t = tracking();
  const int i = barItemAtScreen(screen);
  if (i < 0) return false;
  switch (msg) {
    case WM_MOUSEMOVE:
      // With a drop-down open the mouse drags it along the bar; otherwise it moves the highlight.
      if (t.levels.empty()) selectBar(i, true);
      else openBarItem(i, false);
      return true;
    case WM_LBUTTONDOWN:
      // A click on the item whose menu is down closes it all; another item drops its menu down.
      if (i == t.barSel && !t.levels.empty()) finish(false, 0);
      else if (barItem(i) && barItem(i)->sub) openBarItem(i, false);
      else selectBar(i, true);
      return true;
    case WM_LBUTTONUP:
      if (barItem(i) && !barItem(i)->sub && i == t.barSel) chooseBarItem(i, false);
      return true;
    default: return true;
  }
}

// Keys while the bar is selected and nothing is dropped down.
void onBarKey(int vk) {
  Tracking& t = tracking();
  switch (vk) {
    case VK_LEFT: moveOnBar(-1); break;
    case VK_RIGHT: moveOnBar(1); break;
    case VK_DOWN:
    case VK_UP:
    case VK_RETURN: chooseBarItem(t.barSel, true); break;
    case VK_ESCAPE:
    case VK_MENU:
    case VK_F10: finish(false, 0); break;
    default: break;
  }
}

int nextSelectable(const MenuObj& m, int from, int step) {
  const int n = static_cast<int>(m.items.size());
  if (n == 0) return -1;
  int i = from;
  for (int k = 0; k < n; ++k) {
    i = i < 0 ? (step > 0 ? 0 : n - 1) : (i + step + n) % n;
    if (selectable(m.items[static_cast<size_t>(i)])) return i;
  }
  return -1;
}

void onKey(int vk) {
  Tracking& t = tracking();
  if (t.bar && t.levels.empty()) {
    onBarKey(vk);
    return;
  }
  if (t.levels.empty()) return;
  const size_t top = t.levels.size() - 1;
  Level& lv = t.levels[top];
  MenuObj* m = menuObj(lv.menu);
  if (!m) return;
  switch (vk) {
    case VK_DOWN: select(top, nextSelectable(*m, lv.sel, 1), false); break;
    case VK_UP: select(top, nextSelectable(*m, lv.sel, -1), false); break;
    case VK_HOME: select(top, nextSelectable(*m, -1, 1), false); break;
    case VK_END: select(top, nextSelectable(*m, -1, -1), false); break;
    case VK_RIGHT:
      if (lv.sel >= 0 && m->items[static_cast<size_t>(lv.sel)].sub) choose(top, false);
      else if (t.bar) moveOnBar(1);  // from a drop-down to the next bar item's
      break;
    case VK_LEFT:
      if (top > 0) closeLevelsAbove(top - 1);
      else if (t.bar) moveOnBar(-1);
      break;
    case VK_ESCAPE:
      if (top > 0) closeLevelsAbove(top - 1);
      else if (t.bar) closeLevelsFrom(0);  // back to the selected bar item
      else finish(false, 0);
      break;
    case VK_RETURN: choose(top, false); break;
    case VK_MENU:
    case VK_F10: finish(false, 0); break;
    default: break;
  }
}

// A mnemonic: the item whose "&" letter it is; one match chooses it, several cycle through them.
void onChar(char ch) {
  Tracking& t = tracking();
  const int lower = std::tolower(static_cast<unsigned char>(ch));
  if (t.bar && t.levels.empty()) {
    const int i = ui::menuBarMnemonic(t.owner, ch);
    if (i >= 0) chooseBarItem(i, true);
    else askMenuChar(ch);
    return;
  }
  if (t.levels.empty()) return;
  const size_t top = t.levels.size() - 1;
  Level& lv = t.levels[top];
  MenuObj* m = menuObj(lv.menu);
  if (!m) return;
  std::vector<int> hits;
  for (size_t i = 0; i < m->items.size(); ++i) {
    const MenuItem& it = m->items[i];
    if (!selectable(it) || (it.type & MFT_OWNERDRAW)) continue;
    if (mnemonicOf(it.text) == lower) hits.push_back(static_cast<int>(i));
  }
  if (hits.empty()) {
    askMenuChar(ch);
    return;
  }
  if (hits.size() == 1) {
    select(top, hits[0], false);
    choose(top, false);
    return;
  }
  auto after = std::upper_bound(hits.begin(), hits.end(), lv.sel);
  select(top, after == hits.end() ? hits[0] : *after, false);
}

// Where a screen point lies: the deepest level containing it and the item there (-1: none).
std::pair<int, int> hitTest(Point screen) {
  Tracking& t = tracking();
  for (int li = static_cast<int>(t.levels.size()) - 1; li >= 0; --li) {
    Level& lv = t.levels[static_cast<size_t>(li)];
    RECT wr;
    GetWindowRect(lv.hwnd, &wr);
    if (!wr.contains(screen)) continue;
    POINT c = screen;
    ScreenToClient(lv.hwnd, &c);
    for (size_t i = 0; i < lv.rects.size(); ++i)
      if (lv.rects[i].contains(c)) return {li, static_cast<int>(i)};
    return {li, -1};
  }
  return {-1, -1};
}

void onMouse(UINT msg, Point screen) {
  Tracking& t = tracking();
  auto [li, item] = hitTest(screen);
  if (li < 0 && t.bar && onBarMouse(msg, screen)) return;
  switch (msg) {
    case WM_MOUSEMOVE:
      if (li < 0) return;
      if (item >= 0 && !selectable(menuObj(t.levels[static_cast<size_t>(li)].menu)->items[static_cast<size_t>(item)]))
        item = -1;
      select(static_cast<size_t>(li), item, true);
      if (item >= 0) {
        // Hovering a submenu item opens it; hovering another item closes deeper levels.
        const MenuItem& it = menuObj(t.levels[static_cast<size_t>(li)].menu)->items[static_cast<size_t>(item)];
        if (it.sub) openSubmenu(static_cast<size_t>(li));
        else closeLevelsAbove(static_cast<size_t>(li));
      }
      return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (li < 0) finish(false, 0);  // a click outside every level cancels
      return;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      if (msg == WM_RBUTTONUP && !(t.flags & TPM_RIGHTBUTTON)) return;
      if (li >= 0 && item >= 0) {
        select(static_cast<size_t>(li), item, true);
        choose(static_cast<size_t>(li), true);
      }
      return;
    default: return;
  }
}

LRESULT menuWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (Level* lv = levelOf(hwnd)) paintLevel(*lv, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: {
      if (!tracking().active) return 0;
      POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ClientToScreen(hwnd, &p);
      onMouse(msg, p);
      return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (tracking().active) onKey(static_cast<int>(wp));
      return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
      if (tracking().active && wp > ' ') onChar(static_cast<char>(wp));
      return 0;
    case WM_CAPTURECHANGED: {
      // Someone else took the mouse: the menu closes.
      const Tracking& t = tracking();
      const HWND holder = t.grabber ? t.grabber : (t.levels.empty() ? 0 : t.levels.front().hwnd);
      if (t.active && holder == hwnd && static_cast<HWND>(lp) != hwnd) finish(false, 0);
      return 0;
    }
    default: return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

// Closes every level and gives back the mouse and the keyboard (also when a handler throws).
void endTracking() {
  Tracking& t = tracking();
  const HWND holder = t.grabber ? t.grabber : (t.levels.empty() ? 0 : t.levels.front().hwnd);
  if (holder && GetCapture() == holder) ReleaseCapture();
  closeLevelsFrom(0);
  if (t.grabber) DestroyWindow(t.grabber);
  t.grabber = 0;
  inputState().keyboardGrab = t.prevGrab;
  t.active = false;
  if (t.bar) ui::screenChanged();  // the bar loses its highlight
}

}  // namespace

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params) {
  Tracking& t = tracking();
  if (!IsMenu(menu) || !IsWindow(owner)) return FALSE;
  if (t.active) return FALSE;  // one menu at a time (ERROR_POPUP_ALREADY_ACTIVE)
  t = Tracking{};
  t.active = true;
  t.owner = owner;
  t.flags = flags;
  auto sys = windowMenus().system.find(owner);
  t.sysMenu = sys != windowMenus().system.end() && sys->second == menu;
  if (t.sysMenu) updateSystemMenu(owner, menu);
  t.prevGrab = inputState().keyboardGrab;

  notify(WM_ENTERMENULOOP, TRUE, 0);
  Rect avoid;
  const Rect* avoidPtr = nullptr;
  if (params && params->cbSize >= sizeof(TPMPARAMS)) {
    avoid = params->rcExclude;
    avoidPtr = &avoid;
  }
  auto closeAll = endTracking;
  bool ok = false;
  try {
    ok = openLevel(menu, Point{x, y}, flags, avoidPtr, -1);
    if (ok) {
      SetCapture(t.levels.front().hwnd);
      runModalLoop([] { return tracking().done || !IsWindow(tracking().owner); });
    }
  } catch (...) {
    closeAll();
    throw;
  }
  const bool chosen = t.chosen;
  const UINT command = t.command;
  const HWND ownerNow = t.owner;
  const bool sysMenu = t.sysMenu;
  closeAll();
  if (IsWindow(ownerNow)) {
    if (!(flags & TPM_NONOTIFY))
      SendMessageA(ownerNow, WM_MENUSELECT, MAKEWPARAM(0, static_cast<int>(MENUSELECT_CLOSED)), 0);
    SendMessageA(ownerNow, WM_EXITMENULOOP, TRUE, 0);
  }
  if (!ok) return FALSE;
  if (flags & TPM_RETURNCMD) return chosen ? static_cast<BOOL>(command) : 0;
  if (chosen && IsWindow(ownerNow) && !(flags & TPM_NONOTIFY)) {
    if (sysMenu) PostMessageA(ownerNow, WM_SYSCOMMAND, command, MAKELPARAM(x, y));
    else PostMessageA(ownerNow, WM_COMMAND, MAKEWPARAM(static_cast<int>(command & 0xFFFF), 0), 0);
  }
  return chosen ? TRUE : FALSE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL EndMenu() {
  if (!tracking().active) return FALSE;
  finish(false, 0);
  return TRUE;
}

namespace ui {

void registerMenuClass() {
  WNDCLASSA wc;
  wc.style = CS_SAVEBITS | CS_DROPSHADOW;
  wc.lpfnWndProc = menuWndProc;
  wc.hCursor = LoadCursorA(0, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(COLOR_MENU + 1);
  wc.lpszClassName = "#32768";
  RegisterClassA(&wc);
}

Rect menuBarRect(HWND hwnd) {
  ui::Window* w = ui::windowFromHandle(hwnd);
  if (!w || (w->style & WS_CHILD) || !GetMenu(hwnd)) return Rect{};
  const Rect base = ui::nonClientInsets(w->style, w->exStyle & ~(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
  Rect r{base.left, base.top, w->rect.width() - base.right, base.top + GetSystemMetrics(SM_CYMENU)};
  return r.empty() ? Rect{} : r;
}

int menuBarItemAt(HWND hwnd, Point p) {
  if (!menuBarRect(hwnd).contains(p)) return -1;
  const BarLayout lay = barLayout(hwnd);
  for (size_t i = 0; i < lay.items.size(); ++i)
    if (lay.items[i].contains(p)) return static_cast<int>(i);
  return -1;
}

void paintMenuBar(HWND hwnd, HDC dc, Point origin) {
  const BarLayout lay = barLayout(hwnd, dc);
  MenuObj* m = menuObj(GetMenu(hwnd));
  if (!m || lay.bar.empty()) return;
  const Tracking& t = tracking();
  const int sel = t.active && t.bar && t.owner == hwnd ? t.barSel : -1;
  // The flat look of the platform's bar: its own ground colour, the selected item in the menu
  // highlight colour.
  RECT bar = lay.bar.offset(origin.x, origin.y);
  FillRect(dc, &bar, static_cast<HBRUSH>(COLOR_MENUBAR + 1));
  Selection font(dc, menuFont());
  SetBkMode(dc, TRANSPARENT);
  for (size_t i = 0; i < lay.items.size() && i < m->items.size(); ++i) {
    const MenuItem& it = m->items[i];
    RECT r = lay.items[i].offset(origin.x, origin.y);
    if (r.empty()) continue;
    const bool on = static_cast<int>(i) == sel;
    if (on) FillRect(dc, &r, static_cast<HBRUSH>(COLOR_MENUHILIGHT + 1));
    SetTextColor(dc, GetSysColor(isDisabled(it) ? COLOR_GRAYTEXT : on ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    DrawTextA(dc, it.text.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
}

int menuBarMnemonic(HWND hwnd, char ch) {
  MenuObj* m = menuObj(GetMenu(hwnd));
  const int lower = std::tolower(static_cast<unsigned char>(ch));
  for (size_t i = 0; m && lower && i < m->items.size(); ++i)
    if (!isSeparator(m->items[i]) && mnemonicOf(m->items[i].text) == lower) return static_cast<int>(i);
  return -1;
}

BOOL trackMenuBar(HWND hwnd, int item, bool open, bool keyboard) {
  Tracking& t = tracking();
  const HMENU bar = GetMenu(hwnd);
  if (!bar || t.active || GetMenuItemCount(bar) <= 0) return FALSE;
  t = Tracking{};
  t.active = true;
  t.owner = hwnd;
  t.bar = bar;
  t.prevGrab = inputState().keyboardGrab;
  notify(WM_ENTERMENULOOP, FALSE, 0);
  notify(WM_INITMENU, static_cast<WPARAM>(bar), 0);
  try {
    if (IsMenu(bar) && IsWindow(hwnd)) {
      // An invisible menu window holds the capture and the keyboard while nothing is dropped down.
      t.grabber = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "#32768", "", WS_POPUP, 0, 0, 0, 0, hwnd,
                                  0, 0, nullptr);
    }
    if (t.grabber) {
      SetCapture(t.grabber);
      inputState().keyboardGrab = t.grabber;
      item = std::clamp(item, 0, GetMenuItemCount(bar) - 1);
      if (open) chooseBarItem(item, keyboard);
      else selectBar(item, !keyboard);
      runModalLoop([] { return tracking().done || !IsWindow(tracking().owner); });
    }
  } catch (...) {
    endTracking();
    throw;
  }
  const bool chosen = t.chosen;
  const UINT command = t.command;
  endTracking();
  if (IsWindow(hwnd)) {
    SendMessageA(hwnd, WM_MENUSELECT, MAKEWPARAM(0, static_cast<int>(MENUSELECT_CLOSED)), 0);
    SendMessageA(hwnd, WM_EXITMENULOOP, FALSE, 0);
    if (chosen) PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(static_cast<int>(command & 0xFFFF), 0), 0);
  }
  return TRUE;
}

HWND trackedMenuWindow() {
  const Tracking& t = tracking();
  return t.active && !t.levels.empty() ? t.levels.back().hwnd : 0;
}

void menusForgetWindow(HWND hwnd) {
  auto& wm = windowMenus();
  for (auto* map : {&wm.system, &wm.bar}) {
    auto it = map->find(hwnd);
    if (it == map->end()) continue;
    HMENU m = it->second;
    map->erase(it);
    DestroyMenu(m);
  }
  if (tracking().active && tracking().owner == hwnd) finish(false, 0);
}

void resetMenus() {
  auto& wm = windowMenus();
  wm.system.clear();
  wm.bar.clear();
  tracking() = Tracking{};
  auto live = liveMenus();
  for (HMENU m : live) destroyMenuTree(m, 0);
  liveMenus().clear();
}

}  // namespace ui

}  // namespace zxp
