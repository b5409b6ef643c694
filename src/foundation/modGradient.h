// modGradient: the gradient fills every control paints its faces with. Each routine paints what
// one StretchDIBits call of its bottom-up picture would paint; the rows are written straight into
// the DC's surface where the DC allows it (platform/gfx/ComputedPicture.h), else the visible part
// is computed into a buffer and blitted. Only the part the DC's clip lets through is computed (the
// pixels are those of the whole picture), so a face much larger than its window costs what can be
// seen; a face with a side beyond the largest surface (32767) is not drawn. The panel and the
// glass bar then draw their edge lines as 1-pixel pens draw them: written straight to the surface
// when the DC's mix mode is R2_COPYPEN, else with pens that are deselected and deleted before
// the routine returns; the current position ends where the last line leaves it.
//
// Colours are OLE colours (0x00BBGGRR); the three low bytes are used as they stand, so callers
// pass direct colours, not system-colour indices. Failures are silent, except the panel's
// division by zero below a height of 3, which reaches the caller as HostError 11.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/gfx/Gdi.h"

namespace zxp {

// Fills (0, 0, width, height) from ColorBottom on the lowest line to ColorTop on the top line.
// A height of 1 paints the per-channel mean of the two colours.
void GradientFillVertical(HDC dc, int32_t width, int32_t height, OLE_COLOR colorBottom,
                          OLE_COLOR colorTop);

// As GradientFillVertical, painted at (x, y). An empty or negative size, or a buffer that
// cannot be allocated, paints nothing and is not reported.
void GradientFillVerticalAt(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height,
                            OLE_COLOR colorBottom, OLE_COLOR colorTop);

// Fills (0, 0, width, height) with a linear gradient from Color1 toward Color2 in the direction
// `angle`, in degrees counter-clockwise from rightward: 0 runs left to right, 90 bottom to top,
// 180 right to left, 270 top to bottom. The direction is rounded to whole degrees. Nothing is
// painted when width or height is below 1.
void GradientFillAngle(HDC dc, int32_t width, int32_t height, OLE_COLOR color1, OLE_COLOR color2,
                       float angle);

// One band of a glass face: the GradientFillAngle picture of width x bandHeight, stretched to
//   atLineOne:            (0, 1) at width x bandHeight;
//   else upperHalf:       (0, 2) at width x nearest(bandHeight * 6 / 4);
//   else (lower band):    (0, bandHeight) at width x nearest(bandHeight + bandHeight / 4).
// A glass face of height H is painted with bandHeight = nearest(H / 2 + 1), first the upper band,
// then the lower band over the lower part of it.
void GradientFillHalf(HDC dc, int32_t width, int32_t bandHeight, OLE_COLOR color1,
                      OLE_COLOR color2, float angle, bool atLineOne, bool upperHalf);

// A three-zone bar at (x, y): flat FaceColor at the top, a slope toward EdgeColor down to about
// two thirds of the height and back toward FaceColor at the bottom, framed in EdgeColor with a
// lighter inner line on the left and near the bottom. Returns the lines painted, or nothing when
// the DC is 0 or a size is negative. Throws HostError 11 (division by zero) when height is 0..2.
// The left inner line ends at y = height and the bottom lines run from x = 1 to x = width on
// y = height - 2: those coordinates are not offset by (x, y).
std::optional<int32_t> GradientFillPanel(HDC dc, int32_t x, int32_t y, int32_t width,
                                         int32_t height, OLE_COLOR faceColor, OLE_COLOR edgeColor);

// A glass bar at (x, y): Color1 plus one step at about two sevenths of the height from the
// bottom, moving by a constant step toward (and past) Color2 up and down. With edgeLines
// non-zero it adds a white line at the right edge, a line in the bar's bottom colour beside it
// and a grey line (171, 171, 171) one line above the bar. Returns the lines painted, 0 when the
// DC is 0, a size is negative or the height is 0.
int32_t GradientFillGlass(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height,
                          OLE_COLOR color1, OLE_COLOR color2, int16_t edgeLines);

}  // namespace zxp
