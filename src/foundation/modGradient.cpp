#include "foundation/modGradient.h"

#include <algorithm>
#include <initializer_list>

#include "foundation/DibBuffer.h"
#include "foundation/GradientMath.h"
#include "foundation/PenLines.h"
#include "platform/gfx/GdiRaii.h"

namespace zxp {

namespace {

using detail::DibBuffer;

using foundation::drawLines;

COLORREF lighten(COLORREF c, int amount) {
  return RGB(std::min(GetRValue(c) + amount, 255), std::min(GetGValue(c) + amount, 255),
             std::min(GetBValue(c) + amount, 255));
}

// Fills every pixel of buffer row y (from the bottom) with entries[y].
void fillRows(DibBuffer& buffer, const Pixel* entries) {
  for (int32_t y = 0; y < buffer.height(); ++y)
    std::fill_n(buffer.row(y), buffer.width(), entries[y]);
}

// The buffer of GradientFillAngle; false (nothing to paint) for an empty size.
bool angleBuffer(DibBuffer& buffer, int32_t width, int32_t height, OLE_COLOR color1,
                 OLE_COLOR color2, float angle) {
  if (width < 1 || height < 1 || !buffer.allocate(width, height, false)) return false;
  gradient::fillAngleBuffer(buffer.data(), width, height, color1, color2, angle);
  return true;
}

}  // namespace

void GradientFillVertical(HDC dc, int32_t width, int32_t height, OLE_COLOR colorBottom,
                          OLE_COLOR colorTop) {
  GradientFillVerticalAt(dc, 0, 0, width, height, colorBottom, colorTop);
}

void GradientFillVerticalAt(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height,
                            OLE_COLOR colorBottom, OLE_COLOR colorTop) {
  DibBuffer buffer;
  if (height < 1 || !buffer.allocate(width, height, false)) return;
  std::vector<Pixel> ramp = gradient::colorRamp(colorBottom, colorTop, height);
  fillRows(buffer, ramp.data());
  buffer.paint(dc, x, y, width, height, 0, 0, width, height);
}

void GradientFillAngle(HDC dc, int32_t width, int32_t height, OLE_COLOR color1, OLE_COLOR color2,
                       float angle) {
  DibBuffer buffer;
  if (!angleBuffer(buffer, width, height, color1, color2, angle)) return;
  buffer.paint(dc, 0, 0, width, height, 0, 0, width, height);
}

void GradientFillHalf(HDC dc, int32_t width, int32_t bandHeight, OLE_COLOR color1,
                      OLE_COLOR color2, float angle, bool atLineOne, bool upperHalf) {
  DibBuffer buffer;
  if (!angleBuffer(buffer, width, bandHeight, color1, color2, angle)) return;
  int32_t top, height;
  if (atLineOne) {
    top = 1;
    height = bandHeight;
  } else if (upperHalf) {
    top = nearest(2.5);  // 2
    height = nearest(bandHeight * 6 / 4.0);
  } else {
    top = bandHeight;
    height = nearest(bandHeight + bandHeight / 4.0);
  }
  buffer.paint(dc, 0, top, width, height, 0, 0, width, bandHeight);
}

std::optional<int32_t> GradientFillPanel(HDC dc, int32_t x, int32_t y, int32_t width,
                                         int32_t height, OLE_COLOR faceColor, OLE_COLOR edgeColor) {
  if (dc == 0 || width < 0 || height < 0) return std::nullopt;
  std::vector<Pixel> entries = gradient::panelEntries(height, faceColor, edgeColor);  // throws below 3
  DibBuffer buffer;
  int32_t painted = 0;
  if (buffer.allocate(width, height, false)) {
    fillRows(buffer, entries.data());
    painted = buffer.paint(dc, x, y, width, height, 0, 0, width, height);
  }

  const COLORREF edge = edgeColor & 0x00FFFFFF;
  {
    GdiObject pen(CreatePen(PS_SOLID, 1, edge));
    Selection selectedPen(dc, pen.get());
    Selection hollow(dc, GetStockObject(NULL_BRUSH));
    if (selectedPen.ok()) {
      Rectangle(dc, x, y, x + width - 1, y + height);
      Rectangle(dc, x + 1, y + 1, x + width - 1, y + height);
    }
  }
  drawLines(dc, lighten(edge, 25), {{{x + 2, y + 2}, {x + 2, height}}});
  drawLines(dc, lighten(lighten(edge, 25), 25),
            {{{width, height - 2}, {width - 10, height - 2}}, {{1, height - 2}, {width, height - 2}}});
  return painted;
}

int32_t GradientFillGlass(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height,
                          OLE_COLOR color1, OLE_COLOR color2, int16_t edgeLines) {
  // A height of 0 has no lines to step through (its step would divide by height / 2 = 0).
  if (dc == 0 || width < 0 || height < 1) return 0;
  OLE_COLOR bottomColor = 0;
  std::vector<Pixel> entries = gradient::glassEntries(height, color1, color2, &bottomColor);
  DibBuffer buffer;
  int32_t painted = 0;
  if (buffer.allocate(width, height, false)) {
    fillRows(buffer, entries.data());
    painted = buffer.paint(dc, x, y, width, height, 0, 0, width, height);
  }
  if (edgeLines == 0) return painted;
  drawLines(dc, RGB(255, 255, 255), {{{x + width - 1, y + 1}, {x + width - 1, y + height - 1}}});
  drawLines(dc, bottomColor, {{{x + width - 2, y + 1}, {x + width - 2, y + height}}});
  drawLines(dc, RGB(171, 171, 171), {{{x, y - 1}, {x + width - 1, y - 1}}});
  return painted;
}

}  // namespace zxp
