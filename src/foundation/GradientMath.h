// The arithmetic behind the gradient and picture-effect routines (modGradient, modPicEffects),
// as pure functions: colour ramps, the geometry of an angled gradient, the panel's and the glass
// bar's stepped ramps, and the per-byte blend and grey formulas. The routines build their pixel
// buffers from these; tests check them directly.
//
// Colours come in as OLE colours (0x00BBGGRR, the high byte ignored); ramp entries are pixels
// (0x00RRGGBB). Divisions between integers truncate toward zero; nearest() rounds halves to even.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gfx/Types.h"

namespace zxp::gradient {

// Composes a pixel from channel values that are already >= 0; values above 255 count as 255.
constexpr Pixel composePixel(int32_t r, int32_t g, int32_t b) {
  return makePixel(r > 255 ? 255 : r, g > 255 ? 255 : g, b > 255 ? 255 : b);
}

// nearest(q / 4.0) in whole numbers: a quarter of q rounded to the nearest whole number, halves
// to the even neighbour, saturated to 32 bits. The half-face bands' heights are quarters of
// whole numbers, and rounding them in floating point cost more than the rest of placing a band.
constexpr int32_t nearestQuarter(int64_t q) {
  const int64_t whole = q >> 2, quarters = q & 3;  // q = 4 * whole + quarters, rounded down
  const int64_t r = quarters < 2 ? whole : quarters > 2 ? whole + 1 : whole + (whole & 1);
  return clampToInt32(r);
}

// Fills out[0..n) with the ramp from `start` to `end`: per channel s + ((e - s) * i) / (n - 1).
// Entry 0 is exactly `start`, entry n - 1 exactly `end`; with n = 1 the one entry is, per
// channel, s / 2 + e / 2 (each halved first). Nothing happens for n < 1.
void fillColorRamp(OLE_COLOR start, OLE_COLOR end, int32_t n, Pixel* out);
std::vector<Pixel> colorRamp(OLE_COLOR start, OLE_COLOR end, int32_t n);

// How an angled gradient covers a Width x Height rectangle (both >= 1).
struct AngleGeometry {
  int32_t quadrant = 0;    // q: 0..3, from the direction 90 - Angle rounded to whole degrees
  int32_t degrees = 0;     // r: the remainder within the quadrant, 0..89
  int32_t axisLength = 1;  // n: ramp entries, nearest(W sin r + H cos r) (q even) or
                           //    nearest(W cos r + H sin r) (q odd)
  int32_t stepX = 0;       // ramp position per pixel to the right, scaled by 1000
  int32_t stepY = 0;       // ramp position per row in walking order, scaled by 1000
  bool color1First = true; // the ramp runs Color1 -> Color2 (else Color2 -> Color1)
  bool fromTop = false;    // rows are walked from the top line down (else from the bottom up)
};
AngleGeometry angleGeometry(int32_t width, int32_t height, float angle);

// Fills a bottom-up Width x Height buffer (both >= 1) with the angled gradient from Color1 to
// Color2. The per-pixel loop is integer only: ramp entry = accumulator / 1000.
void fillAngleBuffer(Pixel* buffer, int32_t width, int32_t height, OLE_COLOR color1,
                     OLE_COLOR color2, float angle);
// The window (left, top, partWidth, partHeight) of that picture, `top` counted from its top
// line, into a bottom-up partWidth x partHeight buffer: exactly the pixels the whole buffer has
// there, at the cost of the part only. Nothing happens when the part is empty or leaves the
// picture.
void fillAngleBufferPart(Pixel* buffer, int32_t width, int32_t height, OLE_COLOR color1,
                         OLE_COLOR color2, float angle, int32_t left, int32_t top,
                         int32_t partWidth, int32_t partHeight);

// The rows of that picture, written one run at a time: the geometry and the colour ramp are
// computed once, then each row walks the ramp. Width and height must be >= 1.
class AngleRows {
 public:
  AngleRows(int32_t width, int32_t height, OLE_COLOR color1, OLE_COLOR color2, float angle);
  // The n pixels of line s (counted from the top) from column `left` on, into dst.
  void write(int32_t s, int32_t left, Pixel* dst, int32_t n) const;
  // True when every row is one colour (the gradient runs straight up or down).
  bool rowsAreOneColour() const { return g_.stepX == 0; }

 private:
  AngleGeometry g_;
  int32_t height_;
  std::vector<Pixel> ramp_;
};

// The panel's Height entries (entry 0 = bottom line): flat FaceColor at the top, a slope toward
// EdgeColor down to about two thirds of the height, and a slope back toward FaceColor to the
// bottom. Throws HostError 11 (division by zero) when Height < 3, because the step per channel
// is divided by Height / 3.
std::vector<Pixel> panelEntries(int32_t height, OLE_COLOR faceColor, OLE_COLOR edgeColor);
// The same into `out` (resized to Height), so that a caller can keep one buffer for every call.
void panelEntries(int32_t height, OLE_COLOR faceColor, OLE_COLOR edgeColor, std::vector<Pixel>& out);

// The glass bar's Height entries (entry 0 = bottom line): Color1 plus one step at about two
// sevenths of the height, moving by a constant step toward (and past) Color2 both upward and
// downward, limited to 0..255. Height >= 1. `bottomColor` receives the colour of entry 0 as an
// OLE colour (the colour the bar's inner edge line is drawn in).
std::vector<Pixel> glassEntries(int32_t height, OLE_COLOR color1, OLE_COLOR color2,
                                OLE_COLOR* bottomColor = nullptr);
// The same into `out` (resized to Height, or emptied for Height < 1).
void glassEntries(int32_t height, OLE_COLOR color1, OLE_COLOR color2, std::vector<Pixel>& out,
                  OLE_COLOR* bottomColor);

// One colour byte of the constant-alpha blend: nearest((256 - alpha) * a / 255 + p * alpha / 255),
// at most 255. alpha in 0..255. Exact in integers: the sum over 255 never lies on a half.
constexpr uint32_t blendByte(uint32_t background, uint32_t picture, uint32_t alpha) {
  uint32_t sum = (256 - alpha) * background + alpha * picture;
  uint32_t out = (2 * sum + 255) / 510;  // nearest(sum / 255): no ties, so round half up is exact
  return out > 255 ? 255 : out;
}

// The grey of a pixel: nearest((red + green + blue) / 3) in all three colour bytes; the high
// byte is kept. A sum over 3 never lies on a half either.
constexpr uint32_t greyByte(uint32_t r, uint32_t g, uint32_t b) { return (r + g + b + 1) / 3; }
constexpr Pixel greyPixel(Pixel p) {
  uint32_t g = greyByte((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  return (p & 0xFF000000u) | (g * 0x010101u);
}

}  // namespace zxp::gradient
