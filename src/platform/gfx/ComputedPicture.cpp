#include "platform/gfx/ComputedPicture.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <vector>

#include "platform/gfx/BlitEngine.h"

namespace zxp {

using namespace zxp::gfx;

namespace {

// Blocks of 8 and 16 pixels as the compiler's vectors: one store each where the processor has
// registers that wide, else a few narrower stores.
using Block8 = uint32_t __attribute__((vector_size(32), may_alias));
using Block16 = uint32_t __attribute__((vector_size(64), may_alias));

// A run of n pixels. From 17 pixels on: one unaligned block of 16 at the start, blocks of 16
// on 64-byte boundaries (no store crosses a cache line) and one unaligned block that ends the
// run, overlapping the one before it, so a row of 75 pixels costs 6 stores and no loop over a
// remainder. Inlined into each processor-specific clone.
[[gnu::always_inline]] inline void fillRun(uint32_t* dst, int32_t n, uint32_t value) {
  if (n < 8) {
    for (int32_t i = 0; i < n; ++i) dst[i] = value;
    return;
  }
  if (n <= 16) {
    const Block8 v = Block8{} + value;
    std::memcpy(dst, &v, sizeof v);
    std::memcpy(dst + n - 8, &v, sizeof v);
    return;
  }
  const Block16 v = Block16{} + value;
  std::memcpy(dst, &v, sizeof v);
  uint32_t* last = dst + n - 16;
  auto* p = reinterpret_cast<uint32_t*>((reinterpret_cast<uintptr_t>(dst) + 64) & ~uintptr_t{63});
  for (; p < last; p += 16) *reinterpret_cast<Block16*>(p) = v;
  std::memcpy(last, &v, sizeof v);
}

// Copies a run of n pixels as fillRun stores them: unaligned blocks of 16 at both ends and
// blocks on 64-byte boundaries of the destination between.
[[gnu::always_inline]] inline void copyRun(uint32_t* dst, const uint32_t* src, int32_t n) {
  if (n <= 16) {
    if (n < 8) {
      for (int32_t i = 0; i < n; ++i) dst[i] = src[i];
      return;
    }
    Block8 head, tail;
    std::memcpy(&head, src, sizeof head);
    std::memcpy(&tail, src + n - 8, sizeof tail);
    std::memcpy(dst, &head, sizeof head);
    std::memcpy(dst + n - 8, &tail, sizeof tail);
    return;
  }
  Block16 head, tail;
  std::memcpy(&head, src, sizeof head);
  std::memcpy(&tail, src + n - 16, sizeof tail);
  std::memcpy(dst, &head, sizeof head);
  const ptrdiff_t last = n - 16;
  ptrdiff_t i = ((reinterpret_cast<uintptr_t>(dst) + 64) & ~uintptr_t{63}) - reinterpret_cast<uintptr_t>(dst);
  for (i /= 4; i < last; i += 16) {
    Block16 v;
    std::memcpy(&v, src + i, sizeof v);
    *reinterpret_cast<Block16*>(dst + i) = v;
  }
  std::memcpy(dst + last, &tail, sizeof tail);
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
      copyRun(dst, picture.pixels + walk.source * picture.width + col, n);
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

namespace {

// A logical rectangle moved to surface coordinates (clamped at the ends of the 32-bit range).
inline Rect deviceRect(const RECT& r, Point o) {
  return Rect{clampToInt32(int64_t{r.left} + o.x), clampToInt32(int64_t{r.top} + o.y),
              clampToInt32(int64_t{r.right} + o.x), clampToInt32(int64_t{r.bottom} + o.y)};
}

// Fills a surface rectangle with one pixel value through the DC's clip rectangles.
void fillThroughClip(Surface* s, DeviceContext& dc, const Rect& area, Pixel p) {
  if (area.empty()) return;
  const ptrdiff_t stride = s->height() > 1 ? s->row(1) - s->row(0) : 0;  // negative bottom-up
  for (const auto& b : dc.clip().rects()) {
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

// Fills the part of r that lies outside `area` through the DC's clip: above and below it, then
// beside it.
[[gnu::noinline]] void fillOutside(Surface* s, DeviceContext& dc, const Rect& r, const Rect& area,
                                   Pixel p) {
  const Rect inside = r.intersect(area);
  if (inside.empty()) {
    fillThroughClip(s, dc, r, p);
    return;
  }
  fillThroughClip(s, dc, Rect{r.left, r.top, r.right, inside.top}, p);
  fillThroughClip(s, dc, Rect{r.left, inside.bottom, r.right, r.bottom}, p);
  fillThroughClip(s, dc, Rect{r.left, inside.top, inside.left, inside.bottom}, p);
  fillThroughClip(s, dc, Rect{inside.right, inside.top, r.right, inside.bottom}, p);
}

// A run of one frame rectangle's pixels within a band of rows, `left` counted from the band's
// first column.
struct BandSpan {
  int32_t left, width;
  uint32_t pixel;
};

// Writes `rows` rows of n pixels of one band of a framed picture: each row's colour (unless a
// frame rectangle covers the whole band), then the band's frame runs in order. A band crossed
// only by columns (a frame's sides) costs one store per column and row. Compiled like
// FillPixels.
#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target_clones("avx512f", "avx2", "default")))
#endif
void writeFramedRows(uint32_t* dst, ptrdiff_t stride, int32_t rows, int32_t n,
                     const uint32_t* colour, ptrdiff_t step, bool face, const BandSpan* spans,
                     int32_t count, bool columnsOnly) {
  if (columnsOnly) {
    for (int32_t r = 0; r < rows; ++r, dst += stride, colour += step) {
      fillRun(dst, n, *colour);
      for (int32_t i = 0; i < count; ++i) dst[spans[i].left] = spans[i].pixel;
    }
    return;
  }
  for (int32_t r = 0; r < rows; ++r, dst += stride, colour += step) {
    if (face) fillRun(dst, n, *colour);
    for (int32_t i = 0; i < count; ++i) fillRun(dst + spans[i].left, spans[i].width, spans[i].pixel);
  }
}

// The most frame rectangles painted in the same pass as their picture; a longer frame is
// filled after it.
constexpr size_t kMaxFramePass = 16;

}  // namespace

bool FillSolidRects(HDC hdc, const SolidRect* rects, size_t count) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc || dc->state().rop2 != R2_COPYPEN) return false;
  Surface* s = dc->surface();
  if (!s) return true;
  const Point o = dc->state().viewportOrg;
  for (size_t i = 0; i < count; ++i)
    fillThroughClip(s, *dc, deviceRect(rects[i].rect, o), oleToPixel(rects[i].color));
  return true;
}

namespace {

// A frame rectangle in surface coordinates with its pixel value.
struct Piece {
  int32_t left, top, right, bottom;
  Pixel pixel;
  friend bool operator==(const Piece&, const Piece&) = default;
};

// How a framed picture lands on a surface through a clip: bands of rows that the same frame
// runs cross, found once for a frame, an area and a clip, and kept for the next call with the
// same ones (a face is framed again and again at the same place). Finding the bands takes a
// pass over the pieces per band; the repeat costs a comparison.
struct FramePlan {
  struct Band {
    int32_t top, rows, left, width;
    int32_t firstSpan, spanCount;
    bool face, columnsOnly;
  };
  Rect area;
  std::vector<Piece> pieces;
  std::vector<Rect> clip;
  std::vector<Band> bands;
  std::vector<BandSpan> spans;

  bool matches(const Rect& a, const Piece* p, size_t count, std::span<const pixman_box32_t> boxes) const {
    if (!(area == a) || pieces.size() != count || clip.size() != boxes.size()) return false;
    for (size_t i = 0; i < count; ++i)
      if (!(pieces[i] == p[i])) return false;
    for (size_t i = 0; i < boxes.size(); ++i)
      if (!(clip[i] == Rect{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2})) return false;
    return true;
  }

  void make(const Rect& a, const Piece* p, size_t count, std::span<const pixman_box32_t> boxes) {
    area = a;
    pieces.assign(p, p + count);
    clip.clear();
    bands.clear();
    spans.clear();
    for (const auto& b : boxes) {
      const Rect box{b.x1, b.y1, b.x2, b.y2};
      clip.push_back(box);
      const Rect c = a.intersect(box);
      if (c.empty()) continue;
      // The frame's pieces on this clip rectangle, in order.
      Piece on[kMaxFramePass];
      int32_t n = 0;
      for (size_t i = 0; i < count; ++i) {
        const Piece q{std::max(p[i].left, c.left), std::max(p[i].top, c.top),
                      std::min(p[i].right, c.right), std::min(p[i].bottom, c.bottom), p[i].pixel};
        if (q.left < q.right && q.top < q.bottom) on[n++] = q;
      }
      // Each band ends where a piece starts or ends.
      for (int32_t top = c.top; top < c.bottom;) {
        int32_t bottom = c.bottom;
        Band band{top, 0, c.left, c.width(), static_cast<int32_t>(spans.size()), 0, true, true};
        for (int32_t i = 0; i < n; ++i) {
          const Piece& r = on[i];
          if (r.top > top) {
            bottom = std::min(bottom, r.top);
            continue;
          }
          if (r.bottom <= top) continue;
          bottom = std::min(bottom, r.bottom);
          if (r.left == c.left && r.right == c.right) {  // covers what came before
            spans.resize(static_cast<size_t>(band.firstSpan));
            band.face = false;
          }
          band.columnsOnly = band.columnsOnly && r.right - r.left == 1;
          spans.push_back(BandSpan{r.left - c.left, r.right - r.left, r.pixel});
        }
        band.rows = bottom - top;
        band.spanCount = static_cast<int32_t>(spans.size()) - band.firstSpan;
        band.columnsOnly = band.columnsOnly && band.face;
        bands.push_back(band);
        top = bottom;
      }
    }
  }
};

}  // namespace

bool PaintFramedPicture(HDC hdc, int x, int y, int w, int h, const ComputedPicture& picture,
                        const SolidRect* frame, size_t count) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc || dc->state().rop2 != R2_COPYPEN) return false;
  Surface* s = dc->surface();
  if (!s || !picture.rowColour || w <= 0 || h <= 0 || w != picture.width ||
      h != picture.height || count > kMaxFramePass) {
    if (!PaintComputedPicture(hdc, x, y, w, h, picture)) return false;
    return FillSolidRects(hdc, frame, count);
  }
  const Point o = dc->state().viewportOrg;
  const Rect area = areaRect(BlitArea{int64_t{x} + o.x, int64_t{y} + o.y, w, h});
  const int64_t firstRow = int64_t{y} + o.y;  // the surface row of the picture's top line
  Piece pieces[kMaxFramePass];
  for (size_t i = 0; i < count; ++i) {
    const Rect r = deviceRect(frame[i].rect, o);
    pieces[i] = Piece{r.left, r.top, r.right, r.bottom, oleToPixel(frame[i].color)};
  }
  const auto boxes = dc->clip().rects();
  thread_local FramePlan plan;
  if (!plan.matches(area, pieces, count, boxes)) plan.make(area, pieces, count, boxes);
  const ptrdiff_t stride = s->height() > 1 ? s->row(1) - s->row(0) : 0;
  for (const FramePlan::Band& band : plan.bands)
    writeFramedRows(s->row(band.top) + band.left, stride, band.rows, band.width,
                    picture.rowColour + (band.top - firstRow) * picture.rowColourStep,
                    picture.rowColourStep, band.face, plan.spans.data() + band.firstSpan,
                    band.spanCount, band.columnsOnly);
  // What lies off the picture, rectangle by rectangle.
  for (size_t i = 0; i < count; ++i) {
    const Piece& r = pieces[i];
    if (r.left >= r.right || r.top >= r.bottom) continue;
    if (r.left >= area.left && r.right <= area.right && r.top >= area.top && r.bottom <= area.bottom)
      continue;
    fillOutside(s, *dc, Rect{r.left, r.top, r.right, r.bottom}, area, r.pixel);
  }
  return true;
}

}  // namespace zxp
