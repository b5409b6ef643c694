// The library's general module: helpers every control shares that are not drawing.
#pragma once

#include "platform/gfx/Handles.h"

namespace zxp {

// True when the cursor is not strictly inside the window's rectangle (screen coordinates): the
// window's own leftmost column and top row count as outside, as does everything on or beyond its
// right and bottom edges. Every hover timer of the library polls this to notice the cursor left.
bool CursorOutsideWindow(HWND hwnd);

}  // namespace zxp
