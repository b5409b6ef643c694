// The library's general module: helpers every control shares that are not drawing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/gfx/Handles.h"

namespace zxp {

// True when the cursor is not strictly inside the window's rectangle (screen coordinates): the
// window's own leftmost column and top row count as outside, as does everything on or beyond its
// right and bottom edges. Every hover timer of the library polls this to notice the cursor left.
bool CursorOutsideWindow(HWND hwnd);

// A default caption made from the display name the host gives a new control: `literal` followed
// by the display name from character `cut` on, so that ZorvaXPLabel3 gives "ZorvaXPLabel" + "3".
// The controls use the same text as the creation default and as the bag's default for the key.
std::string captionFromDisplayName(std::string_view displayName, std::string_view literal, size_t cut);

}  // namespace zxp
