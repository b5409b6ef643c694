// System metrics and settings: the XP (Luna) values at 96 dpi, the screen's size and work area.
#include "platform/ui/Input.h"
#include "platform/ui/Screen.h"

namespace zxp {

int GetSystemMetrics(int index) {
  Size s = ui::screenSize();
  Rect wa = ui::workArea();
  switch (index) {
    case SM_CXSCREEN: return s.cx;
    case SM_CYSCREEN: return s.cy;
    case SM_CXVSCROLL: return 17;
    case SM_CYHSCROLL: return 17;
    case SM_CYCAPTION: return 26;
    case SM_CXBORDER: return 1;
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: return 3;
    case SM_CYDLGFRAME: return 3;
    case SM_CYVTHUMB: return 17;
    case SM_CXHTHUMB: return 17;
    case SM_CXICON: return 32;
    case SM_CYICON: return 32;
    case SM_CXCURSOR: return 32;
    case SM_CYCURSOR: return 32;
    case SM_CYMENU: return 20;
    case SM_CXFULLSCREEN: return wa.width();
    case SM_CYFULLSCREEN: return wa.height() - 26;
    case SM_CYVSCROLL: return 17;
    case SM_CXHSCROLL: return 17;
    case SM_SWAPBUTTON: return 0;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXSIZE: return 25;
    case SM_CYSIZE: return 25;
    case SM_CXFRAME: return 4;
    case SM_CYFRAME: return 4;
    case SM_CXMINTRACK: return 112;
    case SM_CYMINTRACK: return 27;
    case SM_CXDOUBLECLK: return 4;
    case SM_CYDOUBLECLK: return 4;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_CXEDGE: return 2;
    case SM_CYEDGE: return 2;
    case SM_CXSMICON: return 16;
    case SM_CYSMICON: return 16;
    case SM_CYSMCAPTION: return 18;
    case SM_CXMAXIMIZED: return wa.width() + 8;
    case SM_CYMAXIMIZED: return wa.height() + 8;
    case SM_CXDRAG: return 4;
    case SM_CYDRAG: return 4;
    case SM_CXMENUCHECK: return 13;
    case SM_MOUSEWHEELPRESENT: return 1;
    case SM_CXVIRTUALSCREEN: return s.cx;
    case SM_CYVIRTUALSCREEN: return s.cy;
    case SM_CMONITORS: return 1;
    case SM_CXFOCUSBORDER: return 1;
    case SM_CYFOCUSBORDER: return 1;
    default: return 0;
  }
}

BOOL SystemParametersInfoA(UINT action, UINT, void* pv, UINT) {
  switch (action) {
    case SPI_GETWORKAREA:
      if (!pv) return FALSE;
      *static_cast<RECT*>(pv) = ui::workArea();
      return TRUE;
    case SPI_SETWORKAREA:
      if (!pv) return FALSE;
      ui::setWorkArea(*static_cast<const RECT*>(pv));
      return TRUE;
    case SPI_GETMOUSEHOVERTIME:
      if (!pv) return FALSE;
      *static_cast<UINT*>(pv) = 400;
      return TRUE;
    case SPI_GETWHEELSCROLLLINES:
      if (!pv) return FALSE;
      *static_cast<UINT*>(pv) = 3;
      return TRUE;
    case SPI_GETDRAGFULLWINDOWS:
    case SPI_GETFLATMENU:
    case SPI_GETDROPSHADOW:
      if (!pv) return FALSE;
      *static_cast<BOOL*>(pv) = action == SPI_GETDRAGFULLWINDOWS || action == SPI_GETDROPSHADOW ? TRUE : FALSE;
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace zxp
