// The gallery's "windows" page: the window system's screen composition of a few overlapping
// windows: a framed window with a child, a window with an elliptic region, a constant-alpha
// layered window and a per-pixel-alpha layered window, over the desktop and its task bar.
#include <cmath>
#include <cstring>

#include "Page.h"
#include "common/PaintHelpers.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/User.h"

namespace zxp::gallery {

using namespace appkit;  // the shared painting helpers

namespace {

constexpr const char* kClass = "GalleryWindow";


void label(HDC dc, RECT r, const char* text, COLORREF color, UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  DrawText(dc, text, -1, &r, format);
}

HWND create(DWORD ex, const char* title, DWORD style, Rect r, HWND parent = 0) {
  return CreateWindowExA(ex, kClass, title, style, r.left, r.top, r.width(), r.height(), parent, 0, 0, nullptr);
}

std::shared_ptr<gfx::Surface> render() {
  ui::resetWindowSystem();
  ui::setScreenSize(Size{800, 560});
  WNDCLASSA wc;
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = kClass;
  RegisterClassA(&wc);

  // A framed window with a sunken child panel.
  HWND form = create(0, "Windows", WS_OVERLAPPEDWINDOW | WS_VISIBLE, Rect::fromXYWH(30, 30, 400, 290));
  HDC dc = GetDC(form);
  RECT cr;
  GetClientRect(form, &cr);
  gfx::fillRect(*gfx::dcFromHandle(dc), cr, oleToPixel(GetSysColor(COLOR_BTNFACE)));
  label(dc, RECT{12, 8, 380, 60},
        "Each window keeps its own surface; the screen composes them in z-order through their "
        "regions and layers.",
        RGB(0, 0, 0), DT_WORDBREAK);
  HWND panel = create(WS_EX_CLIENTEDGE, "", WS_CHILD | WS_VISIBLE, Rect::fromXYWH(12, 60, 250, 150), form);
  HDC pdc = GetDC(panel);
  GetClientRect(panel, &cr);
  gradient(pdc, cr, RGB(255, 255, 255), RGB(198, 214, 247), true);
  label(pdc, cr, "child window (client edge)", RGB(0, 51, 153));

  // A window with an elliptic region.
  HWND oval = create(WS_EX_TOOLWINDOW, "", WS_POPUP | WS_VISIBLE, Rect::fromXYWH(330, 200, 250, 170));
  HDC odc = GetDC(oval);
  GetClientRect(oval, &cr);
  gradient(odc, cr, RGB(255, 153, 0), RGB(255, 230, 120), false);
  label(odc, cr, "window region", RGB(90, 40, 0));
  SetWindowRgn(oval, CreateEllipticRgn(0, 0, 250, 170), TRUE);

  // A layered window with a constant alpha.
  HWND glass = create(WS_EX_LAYERED | WS_EX_TOOLWINDOW, "", WS_POPUP | WS_VISIBLE, Rect::fromXYWH(260, 300, 280, 150));
  HDC gdc = GetDC(glass);
  GetClientRect(glass, &cr);
  gradient(gdc, cr, RGB(0, 84, 227), RGB(61, 149, 255), true);
  label(gdc, cr, "layered, alpha 150", RGB(255, 255, 255));
  SetLayeredWindowAttributes(glass, 0, 150, LWA_ALPHA);

  // A per-pixel-alpha window: a soft green disc, premultiplied.
  HWND glow = create(WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "", WS_POPUP | WS_VISIBLE, Rect{0, 0, 1, 1});
  constexpr int kGlow = 200;
  auto pic = gfx::Surface::create(kGlow, kGlow);
  for (int y = 0; y < kGlow; ++y) {
    for (int x = 0; x < kGlow; ++x) {
      double d = std::hypot(x - kGlow / 2 + 0.5, y - kGlow / 2 + 0.5) / (kGlow / 2);
      int a = d >= 1 ? 0 : static_cast<int>(std::lround(255 * (1 - d * d)));
      pic->at(x, y) = (static_cast<uint32_t>(a) << 24) | makePixel(40 * a / 255, 200 * a / 255, 90 * a / 255);
    }
  }
  GdiObject bmp(gfx::CreateBitmapForSurface(pic));
  MemoryDC mem(0);
  Selection sel(mem.get(), bmp.get());
  POINT pos{540, 40};
  SIZE size{kGlow, kGlow};
  POINT src{0, 0};
  BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  UpdateLayeredWindow(glow, 0, &pos, &size, mem.get(), &src, 0, &bf, ULW_ALPHA);

  SetActiveWindow(form);
  ui::eventLoop().processPendingEvents();
  auto screen = ui::composeScreen();
  std::shared_ptr<gfx::Surface> out;
  if (screen) {
    out = gfx::Surface::create(screen->width(), screen->height());
    std::memcpy(out->bits(), screen->bits(), screen->pixelCount() * sizeof(uint32_t));
  }
  ui::resetWindowSystem();
  return out;
}

RegisterPage reg{stillPage("windows", "Windows", 30, render)};

}  // namespace

}  // namespace zxp::gallery
