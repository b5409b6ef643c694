// modRegion: window shapes cut out of what a control has painted. A control with a transparent
// background paints its caption, box or glyph on a key colour and then gives its window the
// shape of everything that is not the key colour, so its parent shows through (and takes the
// clicks) everywhere else.
#pragma once

#include "platform/gfx/Gdi.h"

namespace zxp {

// The region of the pixels of `area` (DC coordinates) that the DC shows in any colour but `key`
// (an OLE colour 0x00BBGGRR, high byte ignored): one rectangle per horizontal run of non-key
// pixels, united by the region algebra, so the cost grows with the area's pixels and runs, not
// with one region operation per pixel. Pixels outside the DC's surface count as non-key. The
// caller owns the handle (SetWindowRgn takes it over). An empty or reversed area gives an empty
// region; 0 only when the DC cannot be read.
HRGN RegionWithoutColor(HDC hdc, const RECT& area, COLORREF key);

// Gives a window the shape of its width x height rectangle without the four corner pixels (the
// one-pixel rounded corners of the XP buttons). The window owns the region afterwards.
void CutCornerPixels(HWND hwnd, int32_t width, int32_t height);

}  // namespace zxp
