#include "foundation/modGradient.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <type_traits>
#include <vector>

#include "foundation/DibBuffer.h"
#include "foundation/GradientMath.h"
#include "foundation/PenLines.h"
#include "platform/base/HostError.h"
#include "platform/base/Scratch.h"
#include "platform/gfx/ComputedPicture.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/Surface.h"

namespace zxp {

namespace {

using foundation::lineRect;

using detail::DibBuffer;

using foundation::drawLines;

COLORREF lighten(COLORREF c, int amount) {
  return RGB(std::min(GetRValue(c) + amount, 255), std::min(GetGValue(c) + amount, 255),
             std::min(GetBValue(c) + amount, 255));
}

// The part of (x, y, width, height) that the DC's clip lets through, in logical coordinates:
// the routines compute and copy only these pixels, so a face far larger than its window costs
// only what can be seen. Empty for an empty size or a bad DC.
RECT clippedPart(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height) {
  RECT clip{};
  if (width < 1 || height < 1 || GetClipBox(dc, &clip) == ERROR) return RECT{};
  const int64_t left = std::max<int64_t>(clip.left, x), top = std::max<int64_t>(clip.top, y);
  const int64_t right = std::min<int64_t>(clip.right, int64_t{x} + width);
  const int64_t bottom = std::min<int64_t>(clip.bottom, int64_t{y} + height);
  if (left >= right || top >= bottom) return RECT{};
  return RECT{static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right),
              static_cast<int32_t>(bottom)};
}

// As clippedPart, and empty when a side is beyond the largest surface the platform makes: such
// a picture could never be built whole, and is not drawn.
RECT visiblePart(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height) {
  if (width > gfx::kMaxSurfaceSide || height > gfx::kMaxSurfaceSide) return RECT{};
  return clippedPart(dc, x, y, width, height);
}

bool isEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

// The colour entries of the last face painted on this thread, with what they were computed
// from: faces are painted again and again with the same colours at the same few sizes, so a
// repeated face neither allocates nor computes its entries again.
struct Entries {
  enum Kind { None, Ramp, Panel, Glass };
  Kind kind = None;
  int32_t height = 0;
  OLE_COLOR first = 0, second = 0;
  OLE_COLOR bottomColor = 0;  // the glass bar's bottom line, as an OLE colour
  std::vector<Pixel> pixels;

  // True when the entries of (kind, height, first, second) are already here; else marks them
  // as those and leaves the caller to compute `pixels`.
  bool reuse(Kind k, int32_t h, OLE_COLOR a, OLE_COLOR b) {
    if (kind == k && height == h && first == a && second == b) return true;
    kind = None;  // until the caller has filled them in
    height = h;
    first = a;
    second = b;
    return false;
  }
};
Entries& lastEntries() {
  ZXP_SCRATCH Entries entries;
  return entries;
}

// The angled pictures last painted on this thread (a glass face paints two bands per redraw, a
// form several faces): the geometry and the ramp of a repeated picture are not computed again.
// A picture whose rows are one colour keeps the colour of each row; a small one whose rows are
// not keeps its pixels: a button's face is painted again and again, and copying a row costs a
// fraction of walking the ramp along it. Either lets the painter fill whole runs of rows at once.
struct AngleSlot {
  int32_t width = 0, height = 0;
  OLE_COLOR color1 = 0, color2 = 0;
  float angle = 0;
  std::optional<gradient::AngleRows> rows;
  std::vector<Pixel> pixels;      // width x height, top line first; empty when not kept
  std::vector<Pixel> rowColours;  // per line from the top, when every row is one colour

  // Writes the n pixels of line `row` from column `col` on into dst.
  void write(int32_t row, int32_t col, Pixel* dst, int32_t n) const {
    if (!rowColours.empty()) {
      FillPixels(dst, n, rowColours[static_cast<size_t>(row)]);
    } else if (!pixels.empty()) {
      std::memcpy(dst, pixels.data() + static_cast<size_t>(row) * static_cast<size_t>(width) + col,
                  sizeof(Pixel) * static_cast<size_t>(n));
    } else {
      rows->write(row, col, dst, n);
    }
  }
};
// The largest picture whose pixels a slot keeps (128 KB): a large button's face, not a window's.
constexpr int64_t kKeptAnglePixels = 32 * 1024;

AngleSlot& angleRows(int32_t width, int32_t height, OLE_COLOR color1, OLE_COLOR color2,
                     float angle) {
  ZXP_SCRATCH std::array<AngleSlot, 4> slots;
  ZXP_SCRATCH size_t next = 0;
  for (AngleSlot& s : slots)
    if (s.rows && s.width == width && s.height == height && s.color1 == color1 &&
        s.color2 == color2 && s.angle == angle)
      return s;
  AngleSlot& s = slots[next];
  next = (next + 1) % slots.size();
  s.rows.reset();
  s.rows.emplace(width, height, color1, color2, angle);
  s.width = width;
  s.height = height;
  s.color1 = color1;
  s.color2 = color2;
  s.angle = angle;
  s.pixels.clear();
  s.rowColours.clear();
  const int64_t area = int64_t{width} * height;
  if (s.rows->rowsAreOneColour()) {
    s.rowColours.resize(static_cast<size_t>(height));
    for (int32_t row = 0; row < height; ++row)
      s.rows->write(row, 0, &s.rowColours[static_cast<size_t>(row)], 1);
  } else if (area <= kKeptAnglePixels) {
    s.pixels.resize(static_cast<size_t>(area));
    for (int32_t row = 0; row < height; ++row)
      s.rows->write(row, 0, s.pixels.data() + static_cast<size_t>(row) * width, width);
  }
  return s;
}

// Paints the rows of a face whose line i from its top has the colour entries[height - 1 - i]
// (entry 0 = bottom line), placed at (x, y), then its frame lines when `frame` has any. The rows
// (and the frame with them) are written straight into the DC's surface; a DC that cannot take
// them gets the visible part as a buffer and one blit. True when the frame was painted too;
// false leaves the frame to the caller's pens.
bool paintRows(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height, const Pixel* entries,
               const SolidRect* frame = nullptr, size_t frameCount = 0) {
  const bool inRange = width >= 1 && height >= 1 && width <= gfx::kMaxSurfaceSide &&
                       height <= gfx::kMaxSurfaceSide;
  if (!inRange) return frameCount > 0 && FillSolidRects(dc, frame, frameCount);
  const auto rows = [entries, height](int32_t row, int32_t, uint32_t* dst, int32_t n) {
    FillPixels(dst, n, entries[height - 1 - row]);
  };
  ComputedPicture picture = ComputedPicture::of(width, height, rows);
  picture.rowColour = entries + (height - 1);
  picture.rowColourStep = -1;
  if (frameCount > 0 && PaintFramedPicture(dc, x, y, width, height, picture, frame, frameCount))
    return true;
  if (!PaintComputedPicture(dc, x, y, width, height, picture)) {
    const RECT part = visiblePart(dc, x, y, width, height);
    if (!isEmpty(part)) {
      const int32_t w = part.right - part.left, h = part.bottom - part.top;
      DibBuffer buffer;
      if (buffer.allocate(w, h, false)) {
        const int32_t firstLine = part.top - y;  // line of the face on the part's top row
        for (int32_t b = 0; b < h; ++b)          // b: buffer row from the bottom
          std::fill_n(buffer.row(b), w, entries[height - 1 - (firstLine + h - 1 - b)]);
        buffer.paint(dc, part.left, part.top, w, h, 0, 0, w, h);
      }
    }
  }
  return frameCount > 0 && FillSolidRects(dc, frame, frameCount);
}

// Paints the GradientFillAngle picture of width x bandHeight at (0, top), stretched to height
// rows; written straight into the DC's surface when it can take it, else the visible columns
// are computed into a buffer and blitted.
void paintAngle(HDC dc, int32_t top, int32_t width, int32_t bandHeight, int32_t height,
                OLE_COLOR color1, OLE_COLOR color2, float angle) {
  if (width < 1 || bandHeight < 1 || width > gfx::kMaxSurfaceSide ||
      bandHeight > gfx::kMaxSurfaceSide)
    return;
  AngleSlot& band = angleRows(width, bandHeight, color1, color2, angle);
  const auto rows = [&band](int32_t row, int32_t col, uint32_t* dst, int32_t n) {
    band.write(row, col, dst, n);
  };
  ComputedPicture picture = ComputedPicture::of(width, bandHeight, rows);
  if (!band.rowColours.empty()) picture.rowColour = band.rowColours.data();
  else if (!band.pixels.empty()) picture.pixels = band.pixels.data();
  if (PaintComputedPicture(dc, 0, top, width, height, picture)) return;
  // The picture is stretched only vertically: the visible columns are computed with every band
  // line, and stretched as the whole band would be.
  const RECT part = clippedPart(dc, 0, top, width, height);
  if (isEmpty(part)) return;
  const int32_t w = part.right - part.left;
  DibBuffer buffer;
  if (!buffer.allocate(w, bandHeight, false)) return;
  for (int32_t line = 0; line < bandHeight; ++line)
    band.write(line, part.left, buffer.row(bandHeight - 1 - line), w);
  buffer.paint(dc, part.left, top, w, height, 0, 0, w, bandHeight);
}

// The outline Rectangle(left, top, right, bottom) draws with a 1-pixel pen and no brush, for a
// box at least 2 x 2: its four sides, stored in out[0..3] in `color`. Written in place rather
// than returned and copied: a copy reads back whole rectangles that were just stored field by
// field, which stalls the processor's store forwarding.
void outlineInto(SolidRect* out, int32_t left, int32_t top, int32_t right, int32_t bottom,
                 COLORREF color) {
  out[0] = SolidRect{RECT{left, top, right, top + 1}, color};
  out[1] = SolidRect{RECT{left, bottom - 1, right, bottom}, color};
  out[2] = SolidRect{RECT{left, top + 1, left + 1, bottom - 1}, color};
  out[3] = SolidRect{RECT{right - 1, top + 1, right, bottom - 1}, color};
}

// Sets the current position where the last of a routine's pen lines would have left it.
void endLinesAt(HDC dc, Point p) { MoveToEx(dc, p.x, p.y, nullptr); }

}  // namespace

void GradientFillVertical(HDC dc, int32_t width, int32_t height, OLE_COLOR colorBottom,
                          OLE_COLOR colorTop) {
  GradientFillVerticalAt(dc, 0, 0, width, height, colorBottom, colorTop);
}

void GradientFillVerticalAt(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height,
                            OLE_COLOR colorBottom, OLE_COLOR colorTop) {
  if (width < 1 || height < 1 || width > gfx::kMaxSurfaceSide || height > gfx::kMaxSurfaceSide)
    return;
  Entries& ramp = lastEntries();
  if (!ramp.reuse(Entries::Ramp, height, colorBottom, colorTop)) {
    ramp.pixels.resize(static_cast<size_t>(height));
    gradient::fillColorRamp(colorBottom, colorTop, height, ramp.pixels.data());
    ramp.kind = Entries::Ramp;
  }
  paintRows(dc, x, y, width, height, ramp.pixels.data());
}

void GradientFillAngle(HDC dc, int32_t width, int32_t height, OLE_COLOR color1, OLE_COLOR color2,
                       float angle) {
  if (width < 1 || height < 1 || width > gfx::kMaxSurfaceSide || height > gfx::kMaxSurfaceSide)
    return;
  paintAngle(dc, 0, width, height, height, color1, color2, angle);
}

void GradientFillHalf(HDC dc, int32_t width, int32_t bandHeight, OLE_COLOR color1,
                      OLE_COLOR color2, float angle, bool atLineOne, bool upperHalf) {
  int32_t top, height;
  if (atLineOne) {
    top = 1;
    height = bandHeight;
  } else if (upperHalf) {
    top = nearest(2.5);  // 2
    height = gradient::nearestQuarter(int64_t{bandHeight} * 6);
  } else {
    top = bandHeight;
    height = gradient::nearestQuarter(int64_t{bandHeight} * 5);  // bandHeight + bandHeight / 4
  }
  paintAngle(dc, top, width, bandHeight, height, color1, color2, angle);
}

namespace {

// GradientFillPanel's work: the lines painted, or -1 for no DC or a negative size.
int32_t paintPanel(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height,
                                     OLE_COLOR faceColor, OLE_COLOR edgeColor) {
  if (dc == 0 || width < 0 || height < 0) return -1;
  if (height / 3 == 0) throw HostError(errDivisionByZero);
  // Lines painted as one copy of the whole face would report them: its height, or 0 when there
  // is nothing to copy or the face is larger than any surface.
  const bool face = width >= 1 && width <= gfx::kMaxSurfaceSide && height <= gfx::kMaxSurfaceSide;
  const int32_t painted = face ? height : 0;
  const Pixel* entries = nullptr;
  if (face) {
    Entries& last = lastEntries();
    if (!last.reuse(Entries::Panel, height, faceColor, edgeColor)) {
      gradient::panelEntries(height, faceColor, edgeColor, last.pixels);
      last.kind = Entries::Panel;
    }
    entries = last.pixels.data();
  }

  const COLORREF edge = edgeColor & 0x00FFFFFF;
  const COLORREF inner = lighten(edge, 25), bottom = lighten(lighten(edge, 25), 25);
  if (width < 4) {
    if (face) paintRows(dc, x, y, width, height, entries);
  } else {
    // The frame, the inner left line and the bottom lines, written with the face's rows when
    // the DC draws pen lines as plain copies.
    SolidRect lines[11];
    outlineInto(lines, x, y, x + width - 1, y + height, edge);
    outlineInto(lines + 4, x + 1, y + 1, x + width - 1, y + height, edge);
    lines[8] = SolidRect{lineRect({x + 2, y + 2}, {x + 2, height}), inner};
    lines[9] = SolidRect{lineRect({width, height - 2}, {width - 10, height - 2}), bottom};
    lines[10] = SolidRect{lineRect({1, height - 2}, {width, height - 2}), bottom};
    const bool framed = face ? paintRows(dc, x, y, width, height, entries, lines, std::size(lines))
                             : FillSolidRects(dc, lines, std::size(lines));
    if (framed) {
      endLinesAt(dc, {width, height - 2});
      return painted;
    }
  }
  {
    GdiObject pen(CreatePen(PS_SOLID, 1, edge));
    Selection selectedPen(dc, pen.get());
    Selection hollow(dc, GetStockObject(NULL_BRUSH));
    if (selectedPen.ok()) {
      Rectangle(dc, x, y, x + width - 1, y + height);
      Rectangle(dc, x + 1, y + 1, x + width - 1, y + height);
    }
  }
  drawLines(dc, inner, {{{x + 2, y + 2}, {x + 2, height}}});
  drawLines(dc, bottom,
            {{{width, height - 2}, {width - 10, height - 2}}, {{1, height - 2}, {width, height - 2}}});
  return painted;
}

}  // namespace

std::optional<int32_t> GradientFillPanel(HDC dc, int32_t x, int32_t y, int32_t width,
                                         int32_t height, OLE_COLOR faceColor, OLE_COLOR edgeColor) {
  const int32_t painted = paintPanel(dc, x, y, width, height, faceColor, edgeColor);
  // The optional made from one 64-bit value (the number, then the flag that it is there), so
  // that it is returned in a register: the compiler builds `return painted;` in memory, in two
  // stores read back as one, a store-forwarding stall on every call. The routine's tests check
  // both results.
  using Result = std::optional<int32_t>;
  static_assert(sizeof(Result) == sizeof(uint64_t) && std::is_trivially_copyable_v<Result>);
  return std::bit_cast<Result>(painted < 0 ? uint64_t{0}
                                           : uint64_t{1} << 32 | static_cast<uint32_t>(painted));
}

int32_t GradientFillGlass(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height,
                          OLE_COLOR color1, OLE_COLOR color2, int16_t edgeLines) {
  // A height of 0 has no lines to step through (its step would divide by height / 2 = 0).
  if (dc == 0 || width < 0 || height < 1) return 0;
  OLE_COLOR bottomColor = 0;
  const Pixel* rows = nullptr;  // the bar's entries, when its face is painted
  if (height <= gfx::kMaxSurfaceSide) {
    Entries& entries = lastEntries();
    if (!entries.reuse(Entries::Glass, height, color1, color2)) {
      gradient::glassEntries(height, color1, color2, entries.pixels, &entries.bottomColor);
      entries.kind = Entries::Glass;
    }
    bottomColor = entries.bottomColor;
    if (width >= 1 && width <= gfx::kMaxSurfaceSide) rows = entries.pixels.data();
  }
  const int32_t painted = rows ? height : 0;
  if (edgeLines == 0) {
    if (rows) paintRows(dc, x, y, width, height, rows);
    return painted;
  }
  // The edge lines, written with the bar's rows when the DC draws pen lines as plain copies.
  const SolidRect lines[] = {
      {lineRect({x + width - 1, y + 1}, {x + width - 1, y + height - 1}), RGB(255, 255, 255)},
      {lineRect({x + width - 2, y + 1}, {x + width - 2, y + height}), bottomColor},
      {lineRect({x, y - 1}, {x + width - 1, y - 1}), RGB(171, 171, 171)}};
  const bool framed = rows ? paintRows(dc, x, y, width, height, rows, lines, std::size(lines))
                           : FillSolidRects(dc, lines, std::size(lines));
  if (framed) {
    endLinesAt(dc, {x + width - 1, y - 1});
    return painted;
  }
  drawLines(dc, RGB(255, 255, 255), {{{x + width - 1, y + 1}, {x + width - 1, y + height - 1}}});
  drawLines(dc, bottomColor, {{{x + width - 2, y + 1}, {x + width - 2, y + height}}});
  drawLines(dc, RGB(171, 171, 171), {{{x, y - 1}, {x + width - 1, y - 1}}});
  return painted;
}

}  // namespace zxp
