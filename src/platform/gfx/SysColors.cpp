#include "platform/gfx/SysColors.h"

#include <array>

namespace zxp {

namespace {

constexpr int kSysColorCount = 31;

// The XP default (blue) scheme.
constexpr std::array<COLORREF, kSysColorCount> kScheme = {
    RGB(212, 208, 200),  // COLOR_SCROLLBAR
    RGB(0, 78, 152),     // COLOR_BACKGROUND
    RGB(0, 84, 227),     // COLOR_ACTIVECAPTION
    RGB(122, 150, 223),  // COLOR_INACTIVECAPTION
    RGB(255, 255, 255),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(212, 208, 200),  // COLOR_ACTIVEBORDER
    RGB(212, 208, 200),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(49, 106, 197),   // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(236, 233, 216),  // COLOR_BTNFACE
    RGB(172, 168, 153),  // COLOR_BTNSHADOW
    RGB(172, 168, 153),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(216, 228, 248),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(113, 111, 100),  // COLOR_3DDKSHADOW
    RGB(241, 239, 226),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(181, 181, 181),  // 25, unused by the platform
    RGB(0, 0, 128),      // COLOR_HOTLIGHT
    RGB(61, 149, 255),   // COLOR_GRADIENTACTIVECAPTION
    RGB(157, 185, 235),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(49, 106, 197),   // COLOR_MENUHILIGHT
    RGB(236, 233, 216),  // COLOR_MENUBAR
};

}  // namespace

COLORREF GetSysColor(int index) {
  if (index < 0 || index >= kSysColorCount) return 0;
  return kScheme[static_cast<size_t>(index)];
}

HBRUSH GetSysColorBrush(int index) {
  static std::array<HBRUSH, kSysColorCount> brushes{};
  if (index < 0 || index >= kSysColorCount) return 0;
  HBRUSH& b = brushes[static_cast<size_t>(index)];
  if (!b) {
    // A permanent brush: registered as a stock object so DeleteObject leaves it alone.
    HBRUSH made = CreateSolidBrush(kScheme[static_cast<size_t>(index)]);
    auto obj = handles().find(made, ObjKind::Brush);
    handles().remove(made);
    b = handles().add(ObjKind::Brush, obj, true);
  }
  return b;
}

int32_t OleTranslateColor(OLE_COLOR in, uint32_t /*palette*/, COLORREF* out) {
  COLORREF c;
  if (in & 0x80000000u) {
    uint32_t index = in & 0xFFFFu;
    if ((in & 0x7FFF0000u) != 0 || index >= kSysColorCount) return E_INVALIDARG;
    c = kScheme[index];
  } else {
    c = in & 0x00FFFFFFu;
  }
  if (out) *out = c;
  return S_OK;
}

COLORREF translateColor(OLE_COLOR c) {
  COLORREF out = 0;
  return OleTranslateColor(c, 0, &out) == S_OK ? out : 0;
}

}  // namespace zxp
