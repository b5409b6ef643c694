// Where a caption goes when it stands beside a box (the check box's square, the option button's
// circle): between a left and a right edge, vertically centred in the surface.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/gfx/Gdi.h"

namespace zxp::foundation {

// The caption's rectangle from left to right: one line high (the height of the font selected in
// dc) and centred in surfaceHeight; when the text, measured at that width with `flags` (the
// flags it is drawn with, e.g. word wrapping and word ellipsis), needs more than one line, the
// rectangle takes the measured height and is centred again. Halves round to even.
RECT CaptionBesideBox(HDC dc, std::string_view text, int32_t left, int32_t right, int32_t surfaceHeight, UINT flags);

}  // namespace zxp::foundation
