// The gallery's "platform" page: the window system's services in one picture. A form with two
// panels; a pop-up menu with owner-drawn colour items (the form answers WM_MEASUREITEM and
// WM_DRAWITEM) beside classic text items, a submenu arrow, a check mark and a grey item; the
// form's system menu opened by Alt+Space; and a drag from the left panel to the right one, its
// drag image (an image list's masked image) following the pointer over the screen composition;
// the form's menu bar with its Tools menu dropped down by Alt+T.
//
// On the desktop the page is a live form with the same menu bar: a click on the bar, Alt, F10
// or Alt+letter enter it, the arrows move across it and Escape leaves.
#include <cstring>

#include "Page.h"
#include "library/ClassTable.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Input.h"
#include "platform/ui/Menu.h"
#include "platform/ui/ModalLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/User.h"

namespace zxp::gallery {

namespace {

constexpr const char* kClass = "GalleryPlatform";
constexpr COLORREF kSwatches[] = {RGB(214, 69, 65), RGB(52, 152, 219), RGB(46, 204, 113)};
constexpr const char* kSwatchNames[] = {"Red", "Blue", "Green"};

LRESULT pageProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_MEASUREITEM) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
    mis->itemWidth = 150;
    mis->itemHeight = 24;
    return TRUE;
  }
  if (msg == WM_DRAWITEM) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(l);
    const int i = static_cast<int>(dis->itemData);
    RECT r = dis->rcItem;
    GdiObject bg(CreateSolidBrush(GetSysColor((dis->itemState & ODS_SELECTED) ? COLOR_HIGHLIGHT : COLOR_MENU)));
    FillRect(dis->hDC, &r, static_cast<HBRUSH>(bg.get()));
    RECT sw{r.left + 4, r.top + 4, r.left + 36, r.bottom - 4};
    GdiObject b(CreateSolidBrush(kSwatches[i]));
    FillRect(dis->hDC, &sw, static_cast<HBRUSH>(b.get()));
    FrameRect(dis->hDC, &sw, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetBkMode(dis->hDC, TRANSPARENT);
    SetTextColor(dis->hDC, GetSysColor((dis->itemState & ODS_SELECTED) ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    RECT tr{r.left + 44, r.top, r.right, r.bottom};
    DrawTextA(dis->hDC, kSwatchNames[i], -1, &tr, DT_SINGLELINE | DT_VCENTER);
    return TRUE;
  }
  return DefWindowProcA(h, msg, w, l);
}

// The form's menu bar: File, Edit, View, Format, Tools (with a check mark and a submenu) and Help.
HMENU makeMenuBar() {
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, 100, "&New\tCtrl+N");
  AppendMenuA(file, MF_STRING, 101, "&Open...\tCtrl+O");
  AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(file, MF_STRING, 102, "E&xit");
  HMENU edit = CreatePopupMenu();
  AppendMenuA(edit, MF_STRING | MF_GRAYED, 110, "&Undo\tCtrl+Z");
  AppendMenuA(edit, MF_STRING, 111, "Cu&t\tCtrl+X");
  AppendMenuA(edit, MF_STRING, 112, "&Copy\tCtrl+C");
  HMENU zoom = CreatePopupMenu();
  AppendMenuA(zoom, MF_STRING, 130, "&100%");
  AppendMenuA(zoom, MF_STRING, 131, "&200%");
  HMENU view = CreatePopupMenu();
  AppendMenuA(view, MF_STRING | MF_CHECKED, 120, "&Status bar");
  AppendMenuA(view, MF_STRING, 121, "&Grid lines");
  HMENU format = CreatePopupMenu();
  AppendMenuA(format, MF_STRING, 150, "&Font...");
  HMENU tools = CreatePopupMenu();
  AppendMenuA(tools, MF_STRING | MF_CHECKED, 160, "&Snap to grid");
  AppendMenuA(tools, MF_STRING | MF_GRAYED, 161, "&Macros");
  AppendMenuA(tools, MF_POPUP, zoom, "&Zoom");
  HMENU help = CreatePopupMenu();
  AppendMenuA(help, MF_STRING, 140, "&About");
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, file, "&File");
  AppendMenuA(bar, MF_POPUP, edit, "&Edit");
  AppendMenuA(bar, MF_POPUP, view, "&View");
  AppendMenuA(bar, MF_POPUP, format, "F&ormat");
  AppendMenuA(bar, MF_POPUP, tools, "&Tools");
  AppendMenuA(bar, MF_POPUP, help, "&Help");
  return bar;
}

constexpr std::string_view kLiveForm = R"(ZorvaXP Form 1
Begin Form frmPlatform
  Caption = String "Platform services"
  ClientWidth = Long 6600
  ClientHeight = Long 2400
  Font = Font "Tahoma" 8.25
  Begin ZorvaXPLabel lblHint
    @Left = 240
    @Top = 240
    @Width = 6000
    @Height = 1200
    @TabIndex = 0
    Caption = String "A live menu bar: click an item, or press Alt or F10 and the arrow keys, or Alt+T. Escape leaves."
  End
End
)";

// The live page: a small form with the menu bar; the bar goes with the form's window.
std::unique_ptr<host::Form> liveForm(Point screenPos) {
  auto form = host::Form::load(kLiveForm, library::classes(), true, screenPos);
  if (form) SetMenu(form->hWnd(), makeMenuBar());
  return form;
}

// Copies the screen's pixels inside r (screen coordinates) from src into dst.
void pasteRect(gfx::Surface& dst, const gfx::Surface& src, const RECT& r) {
  Rect c = r.intersect(src.bounds()).intersect(dst.bounds());
  for (int y = c.top; y < c.bottom; ++y)
    std::memcpy(dst.row(y) + c.left, src.row(y) + c.left, sizeof(uint32_t) * static_cast<size_t>(c.width()));
}

void panel(HWND form, Rect r, COLORREF c, const char* text) {
  HDC dc = GetDC(form);
  RECT rr = r;
  GdiObject b(CreateSolidBrush(c));
  FillRect(dc, &rr, static_cast<HBRUSH>(b.get()));
  DrawEdge(dc, &rr, EDGE_SUNKEN, BF_RECT);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  DrawTextA(dc, text, -1, &rr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  ReleaseDC(form, dc);
}

std::shared_ptr<gfx::Surface> copyOf(const gfx::Surface& s) {
  auto out = gfx::Surface::create(s.width(), s.height());
  if (out) std::memcpy(out->bits(), s.bits(), s.pixelCount() * sizeof(uint32_t));
  return out;
}

std::shared_ptr<gfx::Surface> render() {
  ui::resetWindowSystem();
  ui::setScreenSize(Size{800, 560});
  WNDCLASSA wc;
  wc.lpfnWndProc = pageProc;
  wc.hbrBackground = static_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClass;
  RegisterClassA(&wc);
  HWND form = CreateWindowExA(0, kClass, "Platform services", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 30, 560, 380, 0,
                              0, 0, nullptr);
  SetMenu(form, makeMenuBar());
  SetActiveWindow(form);
  ui::eventLoop().processPendingEvents();
  {
    HDC dc = GetDC(form);
    RECT c;
    GetClientRect(form, &c);
    FillRect(dc, &c, static_cast<HBRUSH>(COLOR_BTNFACE + 1));
    ReleaseDC(form, dc);
  }
  panel(form, Rect{16, 16, 256, 200}, RGB(255, 255, 255), "Drag source");
  panel(form, Rect{288, 16, 528, 200}, RGB(255, 250, 220), "Drop target");

  // The drag: a 48 x 32 image with a transparent corner cut, over the drop target.
  HDC screenDc = GetDC(0);
  GdiObject img(CreateCompatibleBitmap(screenDc, 48, 32));
  ReleaseDC(0, screenDc);
  {
    MemoryDC mem(0);
    Selection sel(mem.get(), img.get());
    RECT all{0, 0, 48, 32};
    GdiObject key(CreateSolidBrush(RGB(255, 0, 255)));
    FillRect(mem.get(), &all, static_cast<HBRUSH>(key.get()));
    RECT card{0, 0, 44, 28};
    GdiObject face(CreateSolidBrush(RGB(49, 106, 197)));
    FillRect(mem.get(), &card, static_cast<HBRUSH>(face.get()));
    SetBkMode(mem.get(), TRANSPARENT);
    SetTextColor(mem.get(), RGB(255, 255, 255));
    DrawTextA(mem.get(), "row 3", -1, &card, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  HIMAGELIST list = ImageList_Create(48, 32, ILC_COLOR32 | ILC_MASK, 1, 0);
  ImageList_AddMasked(list, img.get(), RGB(255, 0, 255));
  ImageList_BeginDrag(list, 0, 8, 8);
  ImageList_DragEnter(form, 420, 150);

  // The pop-up menu, opened over the source panel with its second colour item highlighted.
  HMENU sub = CreatePopupMenu();
  AppendMenuA(sub, MF_STRING, 30, "&Small");
  AppendMenuA(sub, MF_STRING, 31, "&Large");
  HMENU menu = CreatePopupMenu();
  for (int i = 0; i < 3; ++i) AppendMenuA(menu, MF_OWNERDRAW, 10 + i, reinterpret_cast<const char*>(uintptr_t(i)));
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING | MF_CHECKED, 20, "&Grid lines\tCtrl+G");
  AppendMenuA(menu, MF_STRING | MF_GRAYED, 21, "&Paste");
  AppendMenuA(menu, MF_POPUP, sub, "&Size");
  std::shared_ptr<gfx::Surface> out;
  ui::setModalDriver([&] {
    ui::injectKey(VK_DOWN, true);
    ui::injectKey(VK_DOWN, false);
    ui::injectKey(VK_DOWN, true);
    ui::injectKey(VK_DOWN, false);
    ui::eventLoop().processPendingEvents();
    out = copyOf(*ui::composeScreen());
    ui::injectKey(VK_ESCAPE, true);
    ui::injectKey(VK_ESCAPE, false);
  });
  POINT at{200, 120};
  ClientToScreen(form, &at);
  TrackPopupMenu(menu, TPM_RETURNCMD, at.x, at.y, 0, form, nullptr);

  // The menu bar with Tools dropped down (Alt+T) and its Zoom submenu open, pasted in the same way
  // before the system menu, which opens over the bar.
  ui::setModalDriver([&] {
    ui::injectKey(VK_DOWN, true);
    ui::injectKey(VK_DOWN, false);
    ui::injectKey(VK_DOWN, true);
    ui::injectKey(VK_DOWN, false);
    ui::injectKey(VK_RIGHT, true);
    ui::injectKey(VK_RIGHT, false);
    ui::eventLoop().processPendingEvents();
    auto shot = ui::composeScreen();
    RECT r;
    GetWindowRect(form, &r);
    if (out) {
      pasteRect(*out, *shot, Rect{r.left, r.top, r.right, r.top + 60});
      for (HWND h = ui::trackedMenuWindow(); h; h = GetWindow(h, GW_HWNDNEXT)) {
        char cls[16] = {};
        GetClassNameA(h, cls, sizeof cls);
        if (std::strcmp(cls, "#32768") != 0 || !IsWindowVisible(h)) continue;
        GetWindowRect(h, &r);
        pasteRect(*out, *shot, r);
      }
    }
    ui::injectKey(VK_ESCAPE, true);
    ui::injectKey(VK_ESCAPE, false);
    ui::injectKey(VK_ESCAPE, true);
    ui::injectKey(VK_ESCAPE, false);
    ui::injectKey(VK_ESCAPE, true);
    ui::injectKey(VK_ESCAPE, false);
  });
  SendMessageA(form, WM_SYSCOMMAND, SC_KEYMENU, 't');

  // The system menu (Alt+Space), pasted beside it from a second composition.
  ui::setModalDriver([&] {
    auto sys = ui::composeScreen();
    RECT r;
    GetWindowRect(ui::trackedMenuWindow(), &r);
    if (out) pasteRect(*out, *sys, r);
    ui::injectKey(VK_ESCAPE, true);
    ui::injectKey(VK_ESCAPE, false);
  });
  SendMessageA(form, WM_SYSCOMMAND, SC_KEYMENU, ' ');


  ImageList_EndDrag();
  ImageList_Destroy(list);
  DestroyMenu(menu);
  ui::resetWindowSystem();
  return out;
}

Page platformPage() {
  Page p = stillPage("platform", "Platform", 35, render);
  p.form = liveForm;  // the desktop shows the live form; the picture is the headless page
  return p;
}

RegisterPage reg{platformPage()};

}  // namespace

}  // namespace zxp::gallery
