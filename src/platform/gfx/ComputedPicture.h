// Painting a picture that is computed row by row (a gradient, a ramp of colours) straight into
// the surface of a device context, without storing it in a buffer first.
//
// PaintComputedPicture(dc, x, y, w, h, picture) paints exactly what StretchDIBits(dc, x, y, w,
// h, 0, 0, pw, ph, bits, ..., SRCCOPY) paints when `bits` hold the whole pw x ph picture: the
// same clip, the same rows for a stretch (nearest-neighbour enlarging, or the DC's stretch mode
// when shrinking). The picture writes its pixels on request: write(row, col, dst, n) stores the
// n pixels of its row `row` (counted from its top) from column `col` on into dst, only for the
// rows and columns that can be seen. It covers copies whose columns map one to one (no
// horizontal stretch, no mirroring) and rows that are not merged; for anything else it paints
// nothing and returns false, and the caller takes the buffer-and-blit path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "platform/gfx/Gdi.h"

namespace zxp {

// Stores n copies of a pixel value from dst on: the row fill of the pictures and rectangles
// below, and of any picture's one-colour rows. Uses the widest stores the processor has.
void FillPixels(uint32_t* dst, int32_t n, uint32_t value);

// A rectangle (logical coordinates, right and bottom excluded) and its colour.
struct SolidRect {
  RECT rect;
  COLORREF color;
};

// A picture of width x height pixels whose rows are written on request.
struct ComputedPicture {
  int32_t width = 0;
  int32_t height = 0;
  void (*write)(const void* self, int32_t row, int32_t col, uint32_t* dst, int32_t n) = nullptr;
  const void* self = nullptr;
  // Optional shortcuts that let the painter fill whole runs of rows in one call instead of
  // calling `write` row by row (write must still give the same pixels):
  // - rowColour: every row is one colour, row r's being rowColour[r * rowColourStep];
  // - pixels: the whole picture, top row first, `width` pixels per row.
  const uint32_t* rowColour = nullptr;
  ptrdiff_t rowColourStep = 1;
  const uint32_t* pixels = nullptr;

  // A picture whose rows `fn(row, col, dst, n)` writes; fn must outlive the picture.
  template <class Fn>
  static ComputedPicture of(int32_t width, int32_t height, const Fn& fn) {
    return ComputedPicture{width, height,
                           [](const void* f, int32_t row, int32_t col, uint32_t* dst, int32_t n) {
                             (*static_cast<const Fn*>(f))(row, col, dst, n);
                           },
                           &fn};
  }
};

// True when the picture was painted (or nothing of it can be seen); false, with nothing
// painted, for a bad DC, an empty size or a stretch this path does not cover.
bool PaintComputedPicture(HDC dc, int x, int y, int w, int h, const ComputedPicture& picture);

// Fills the rectangles in order through the DC's clip, as 1-pixel pen lines and outlines of the
// same pixels would paint them with the DC's mix mode R2_COPYPEN, without a pen: a routine that
// frames what it painted (a panel's edges) writes its lines straight into the surface. Empty
// rectangles paint nothing. False, with nothing painted, for a bad DC or another mix mode.
bool FillSolidRects(HDC dc, const SolidRect* rects, size_t count);

// PaintComputedPicture(dc, x, y, w, h, picture) followed by FillSolidRects(dc, frame, count):
// the same pixels, but a picture painted 1:1 that offers its row colours gets the parts of its
// frame that lie on it written in the same pass over its rows, so framing a face costs a few
// stores per row instead of a second walk over the surface. Parts of the frame off the picture
// are filled afterwards, in order. False, with nothing painted, for a bad DC, another mix mode
// than R2_COPYPEN, or a picture PaintComputedPicture declines: the caller then paints the
// picture and its frame its own way.
bool PaintFramedPicture(HDC dc, int x, int y, int w, int h, const ComputedPicture& picture,
                        const SolidRect* frame, size_t count);

}  // namespace zxp
