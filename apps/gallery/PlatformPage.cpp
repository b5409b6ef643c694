// The gallery's "platform" page: the window system's services in one picture. A form with two
// panels; a pop-up menu with owner-drawn colour items (the form answers WM_MEASUREITEM and
// WM_DRAWITEM) beside classic text items, a submenu arrow, a check mark and a grey item; the
// form's system menu opened by Alt+Space; and a drag from the left panel to the right one, its
// drag image (an image list's masked image) following the pointer over the screen composition.
#include <cstring>

#include "Page.h"
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

  // The system menu (Alt+Space), pasted beside it from a second composition.
  ui::setModalDriver([&] {
    auto sys = ui::composeScreen();
    RECT r;
    GetWindowRect(ui::trackedMenuWindow(), &r);
    Rect c = r.intersect(sys->bounds());
    for (int y = c.top; y < c.bottom && out; ++y)
      std::memcpy(out->row(y) + c.left, sys->row(y) + c.left, sizeof(uint32_t) * static_cast<size_t>(c.width()));
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

RegisterPage reg{stillPage("platform", "Platform", 35, render)};

}  // namespace

}  // namespace zxp::gallery
