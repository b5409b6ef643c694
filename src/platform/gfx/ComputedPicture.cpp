#include "platform/gfx/ComputedPicture.h"

#include <algorithm>

#include "platform/gfx/BlitEngine.h"

namespace zxp {

using namespace zxp::gfx;

namespace {

// A run of n pixels, in blocks of 8 that the compiler turns into one store each: a run of at
// least 8 ends with one more block that overlaps the last full one, so a row of 75 pixels
// costs 10 stores and no loop over a remainder. Inlined into each processor-specific clone.
[[gnu::always_inline]] inline void fillRun(uint32_t* dst, int32_t n, uint32_t value) {
  if (n < 8) {
    for (int32_t i = 0; i < n; ++i) dst[i] = value;
    return;
  }
  int32_t i = 0;
  for (; i + 8 <= n; i += 8)
    for (int32_t j = 0; j < 8; ++j) dst[i + j] = value;
  if (i < n)
    for (int32_t j = 0; j < 8; ++j) dst[n - 8 + j] = value;
}

}  // namespace

// Compiled for AVX-512, AVX2 and the baseline, and picked when the program loads: a button's
// rows are a few hundred bytes, where the width of each store decides the cost.
#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target_clones("avx512f", "avx2", "default")))
#endif
void FillPixels(uint32_t* dst, int32_t n, uint32_t value) {
  fillRun(dst, n, value);
}

namespace {

// Which picture row lands on each surface row of a run: the next one (1:1), or the rows of a
// vertical enlargement, stepped as a quotient and a remainder (see PaintComputedPicture).
struct RowWalk {
  int64_t source;
  int64_t rest = 0, den = 1, grow = 0;
  bool stretched = false;
};

// Writes `rows` surface rows of n pixels from dst on (rows `stride` pixels apart) from a
// picture that offers its row colours or its pixels, column `col` on: one call per run of
// rows, so a small face costs no call per row. Compiled like FillPixels.
#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target_clones("avx512f", "avx2", "default")))
#endif
void writeRows(uint32_t* dst, ptrdiff_t stride, int32_t rows, int32_t n,
               const ComputedPicture& picture, int32_t col, RowWalk walk) {
  for (int32_t r = 0; r < rows; ++r, dst += stride) {
    if (picture.rowColour) {
      fillRun(dst, n, picture.rowColour[walk.source * picture.rowColourStep]);
    } else {
      const uint32_t* in = picture.pixels + walk.source * picture.width + col;
      for (int32_t i = 0; i < n; ++i) dst[i] = in[i];
    }
    if (!walk.stretched) {
      ++walk.source;
      continue;
    }
    walk.rest += walk.grow;
    while (walk.rest >= walk.den) {  // enlarging: grow < den, so at most once
      walk.rest -= walk.den;
      ++walk.source;
    }
  }
}

}  // namespace

bool PaintComputedPicture(HDC hdc, int x, int y, int w, int h, const ComputedPicture& picture) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc || !dc->surface() || w <= 0 || h <= 0 || picture.width <= 0 || picture.height <= 0)
    return false;
  if (w != picture.width) return false;  // a horizontal stretch reads columns out of order
  const Point o = dc->state().viewportOrg;
  const BlitArea dst{int64_t{x} + o.x, int64_t{y} + o.y, w, h};
  const BlitArea src{0, 0, picture.width, picture.height};
  if (h >= picture.height) {
    // 1:1, the usual case, or enlarged vertically: every row of the area has a source row, so
    // the visible part is the area cut to each clip rectangle.
    const Rect area = areaRect(dst);
    Surface* s = dc->surface();
    const bool stretched = h > picture.height;
    for (const auto& b : dc->clip().rects()) {
      const Rect c = area.intersect(Rect{b.x1, b.y1, b.x2, b.y2});
      if (c.empty()) continue;
      const int32_t col = static_cast<int32_t>(c.left - dst.x);
      if (picture.rowColour || picture.pixels) {
        const ptrdiff_t stride = c.height() > 1 ? s->row(c.top + 1) - s->row(c.top) : 0;
        RowWalk walk{c.top - dst.y};
        if (stretched) {
          const int64_t i0 = c.top - dst.y;
          walk.den = 2 * int64_t{h};
          walk.grow = 2 * int64_t{picture.height};
          walk.source = stretchedIndex(i0, h, picture.height);
          walk.rest = (2 * i0 + 1) * picture.height - 1 - walk.source * walk.den;
          walk.stretched = true;
        }
        writeRows(s->row(c.top) + c.left, stride, c.height(), c.width(), picture, col, walk);
        continue;
      }
      if (!stretched) {
        for (int32_t row = c.top; row < c.bottom; ++row)
          picture.write(picture.self, static_cast<int32_t>(row - dst.y), col, s->row(row) + c.left,
                        c.width());
        continue;
      }
      // stretchedIndex(i) = ((2i + 1) * srcLen - 1) / (2 * dstLen), stepped from row to row as
      // a quotient and a remainder: the numerator grows by 2 * srcLen per row.
      const int64_t i0 = c.top - dst.y, den = 2 * int64_t{h}, grow = 2 * int64_t{picture.height};
      int64_t source = stretchedIndex(i0, h, picture.height);
      int64_t rest = (2 * i0 + 1) * picture.height - 1 - source * den;
      for (int32_t row = c.top; row < c.bottom; ++row) {
        picture.write(picture.self, static_cast<int32_t>(source), col, s->row(row) + c.left, c.width());
        rest += grow;
        while (rest >= den) {  // enlarging: grow < den, so at most once
          rest -= den;
          ++source;
        }
      }
    }
    return true;
  }
  const BlitPlan plan(*dc, dst, src, picture.width, picture.height, dc->state().stretchMode);
  if (plan.empty()) return true;
  if (plan.merging() || !plan.straightColumns()) return false;
  Surface* s = dc->surface();
  plan.forEachRect(*dc, [&](const Rect& c) {
    const int32_t col = plan.srcX(c.left);
    for (int32_t row = c.top; row < c.bottom; ++row)
      picture.write(picture.self, plan.srcY(row), col, s->row(row) + c.left, c.width());
  });
  return true;
}

bool FillSolidRects(HDC hdc, const SolidRect* rects, size_t count) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc || dc->state().rop2 != R2_COPYPEN) return false;
  Surface* s = dc->surface();
  if (!s) return true;
  const Point o = dc->state().viewportOrg;
  const auto& clip = dc->clip().rects();
  const ptrdiff_t stride = s->height() > 1 ? s->row(1) - s->row(0) : 0;  // negative bottom-up
  for (size_t i = 0; i < count; ++i) {
    const RECT& r = rects[i].rect;
    if (r.right <= r.left || r.bottom <= r.top) continue;
    const Rect area{clampToInt32(int64_t{r.left} + o.x), clampToInt32(int64_t{r.top} + o.y),
                    clampToInt32(int64_t{r.right} + o.x), clampToInt32(int64_t{r.bottom} + o.y)};
    const Pixel p = oleToPixel(rects[i].color);
    for (const auto& b : clip) {
      const Rect c = area.intersect(Rect{b.x1, b.y1, b.x2, b.y2});
      if (c.empty()) continue;
      uint32_t* d = s->row(c.top) + c.left;
      if (c.width() == 1) {  // a column of a frame: one store per row
        for (int32_t y = c.top; y < c.bottom; ++y, d += stride) *d = p;
      } else {
        for (int32_t y = c.top; y < c.bottom; ++y, d += stride) FillPixels(d, c.width(), p);
      }
    }
  }
  return true;
}

}  // namespace zxp
