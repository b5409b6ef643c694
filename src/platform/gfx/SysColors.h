// System colours: the platform's colour scheme (the XP default blue scheme), GetSysColor and the
// one translation from OLE colours (where the high bit marks a system-colour index) to RGB.
#pragma once

#include "platform/gfx/Gdi.h"

namespace zxp {

constexpr int COLOR_SCROLLBAR = 0;
constexpr int COLOR_BACKGROUND = 1;
constexpr int COLOR_ACTIVECAPTION = 2;
constexpr int COLOR_INACTIVECAPTION = 3;
constexpr int COLOR_MENU = 4;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_MENUTEXT = 7;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_CAPTIONTEXT = 9;
constexpr int COLOR_ACTIVEBORDER = 10;
constexpr int COLOR_INACTIVEBORDER = 11;
constexpr int COLOR_APPWORKSPACE = 12;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;
constexpr int COLOR_HOTLIGHT = 26;
constexpr int COLOR_GRADIENTACTIVECAPTION = 27;
constexpr int COLOR_GRADIENTINACTIVECAPTION = 28;
constexpr int COLOR_MENUHILIGHT = 29;
constexpr int COLOR_MENUBAR = 30;
constexpr int COLOR_3DFACE = COLOR_BTNFACE;
constexpr int COLOR_3DSHADOW = COLOR_BTNSHADOW;
constexpr int COLOR_3DHIGHLIGHT = COLOR_BTNHIGHLIGHT;
constexpr int COLOR_3DHILIGHT = COLOR_BTNHIGHLIGHT;
constexpr int COLOR_BTNHILIGHT = COLOR_BTNHIGHLIGHT;

// The host's names for system colours as OLE colours (high bit set, index in the low byte).
constexpr OLE_COLOR vbButtonFace = 0x8000000Fu;
constexpr OLE_COLOR vbButtonText = 0x80000012u;
constexpr OLE_COLOR vbWindowBackground = 0x80000005u;
constexpr OLE_COLOR vbWindowText = 0x80000008u;
constexpr OLE_COLOR vbHighlight = 0x8000000Du;
constexpr OLE_COLOR vbHighlightText = 0x8000000Eu;
constexpr OLE_COLOR vbGrayText = 0x80000011u;

// The colour of a system-colour index; 0 for an unknown index, as the platform answers.
COLORREF GetSysColor(int index);
// A stock solid brush of a system colour (never deleted by the caller); 0 for an unknown index.
HBRUSH GetSysColorBrush(int index);

// OLE colour to COLORREF: system colours (0x800000nn) become their RGB value, direct colours
// lose the high byte. Returns S_OK, or E_INVALIDARG for an unknown system colour index.
constexpr int32_t S_OK = 0;
constexpr int32_t E_INVALIDARG = static_cast<int32_t>(0x80070057u);
int32_t OleTranslateColor(OLE_COLOR in, uint32_t palette, COLORREF* out);
// The same, returning the colour directly (black for an unknown system colour).
COLORREF translateColor(OLE_COLOR c);

}  // namespace zxp
