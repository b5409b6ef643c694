#include "platform/gfx/ComputedPicture.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <type_traits>
#include <vector>

#include "platform/base/Scratch.h"
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
#if defined(__x86_64__) && defined(__GNUC__) && !defined(_WIN32)  // Windows has no ifunc to pick a clone
__attribute__((target_clones("avx512f", "avx2", "default")))
#endif
void FillPixels(uint32_t* dst, int32_t n, uint32_t value) {
  fillRun(dst, n, value);
}

namespace {

// Which picture row lands on each surface row of a run: the next one (1:1), or the rows of a
// vertical enlargement, stepped as a quotient and a remainder (see PaintComputedPicture). 1:1
// is the enlargement by 1 (grow == den), so both step alike.
struct RowWalk {
  int64_t source;
  int64_t rest = 0, den = 1, grow = 1;

  // Moves to the picture row of the next surface row. Enlarging, grow <= den, so the source
  // moves on by 0 or 1; taken without a branch, as the rows that repeat follow no pattern the
  // processor could predict.
  void next() {
    rest += grow;
    const bool moves = rest >= den;
    source += moves;
    rest -= moves ? den : 0;
  }
};

// Writes `rows` surface rows of n pixels from dst on (rows `stride` pixels apart) from a
// picture that offers its row colours or its pixels, column `col` on, the rows picked by the
// RowWalk {source, rest, den, grow}: one call per run of rows, so a small face costs no call per
// row. The walk comes as separate numbers: a struct passed by value goes through the stack in
// pieces and is read back whole, which stalls the call on the processor's store forwarding.
// Compiled like FillPixels.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(_WIN32)  // Windows has no ifunc to pick a clone
__attribute__((target_clones("avx512f", "avx2", "default")))
#endif
void writeRows(uint32_t* dst, ptrdiff_t stride, int32_t rows, int32_t n,
               const ComputedPicture& picture, int32_t col, int64_t source, int64_t rest,
               int64_t den, int64_t grow) {
  RowWalk walk{source, rest, den, grow};
  for (int32_t r = 0; r < rows; ++r, dst += stride) {
    if (picture.rowColour) {
      fillRun(dst, n, picture.rowColour[walk.source * picture.rowColourStep]);
    } else {
      copyRun(dst, picture.pixels + walk.source * picture.width + col, n);
    }
    walk.next();
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
      // stretchedIndex(i) = ((2i + 1) * srcLen - 1) / (2 * dstLen), stepped from row to row as
      // a quotient and a remainder: the numerator grows by 2 * srcLen per row.
      RowWalk walk{c.top - dst.y};
      if (stretched) {
        const int64_t i0 = c.top - dst.y;
        walk.den = 2 * int64_t{h};
        walk.grow = 2 * int64_t{picture.height};
        walk.source = i0 == 0 ? 0 : stretchedIndex(i0, h, picture.height);  // enlarging: row 0 reads row 0
        walk.rest = (2 * i0 + 1) * picture.height - 1 - walk.source * walk.den;
      }
      if (picture.rowColour || picture.pixels) {
        const ptrdiff_t stride = c.height() > 1 ? s->row(c.top + 1) - s->row(c.top) : 0;
        writeRows(s->row(c.top) + c.left, stride, c.height(), c.width(), picture, col, walk.source,
                  walk.rest, walk.den, walk.grow);
        continue;
      }
      for (int32_t row = c.top; row < c.bottom; ++row, walk.next())
        picture.write(picture.self, static_cast<int32_t>(walk.source), col, s->row(row) + c.left, c.width());
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

// A run of pixels within a band of rows, `left` counted from the band's first column: one frame
// rectangle's pixel, or (fromRow) each row's own colour.
struct BandSpan {
  int32_t left, width;
  uint32_t pixel;
  bool fromRow = false;
};

// The frame pixels of a band's rows that lie within the first and the last 16 pixels of each
// row, as blocks to blend with the row's colour: a mask lane of all ones takes the frame pixel.
struct EdgeBlocks {
  uint32_t head[16], headMask[16];
  uint32_t tail[16], tailMask[16];
};

// A band of rows of a framed picture that the same frame runs cross, in surface coordinates,
// with its runs (spans[firstSpan ..], `left` counted from the band's first column) and, when
// its frame pixels all lie within 16 pixels of its ends, its edge blocks.
struct FrameBand {
  int32_t top, rows, left, width;
  int32_t firstSpan, spanCount;
  int32_t edges;  // index of its EdgeBlocks, or -1
  bool face;      // false when a frame rectangle covers the whole band
};

// Writes `rows` rows of n pixels of one band of a framed picture. With `edges` (a band at least
// 17 wide whose frame pixels all lie within 16 pixels of its ends: a frame's sides), each row is
// the row fill with the frame pixels blended into its first and last block, so the frame costs
// no store of its own. Else each row's colour (unless `face` is false), then the band's runs in
// order.
[[gnu::always_inline]] inline void writeBand(uint32_t* dst, ptrdiff_t stride, int32_t rows,
                                             int32_t n, const uint32_t* colour, ptrdiff_t step,
                                             bool face, const BandSpan* spans, int32_t count,
                                             const EdgeBlocks* edges) {
  if (edges) {
    Block16 head, headMask, tail, tailMask;
    std::memcpy(&head, edges->head, sizeof head);
    std::memcpy(&headMask, edges->headMask, sizeof headMask);
    std::memcpy(&tail, edges->tail, sizeof tail);
    std::memcpy(&tailMask, edges->tailMask, sizeof tailMask);
    for (int32_t r = 0; r < rows; ++r, dst += stride, colour += step) {
      const Block16 v = Block16{} + *colour;
      // The blocks between first, as fillRun stores them; the two end blocks, which overlap
      // them, last.
      uint32_t* last = dst + n - 16;
      auto* p = reinterpret_cast<uint32_t*>((reinterpret_cast<uintptr_t>(dst) + 64) & ~uintptr_t{63});
      for (; p < last; p += 16) *reinterpret_cast<Block16*>(p) = v;
      const Block16 first = (head & headMask) | (v & ~headMask);
      const Block16 end = (tail & tailMask) | (v & ~tailMask);
      std::memcpy(dst, &first, sizeof first);
      std::memcpy(last, &end, sizeof end);
    }
    return;
  }
  for (int32_t r = 0; r < rows; ++r, dst += stride, colour += step) {
    if (face) fillRun(dst, n, *colour);
    for (int32_t i = 0; i < count; ++i)
      fillRun(dst + spans[i].left, spans[i].width, spans[i].fromRow ? *colour : spans[i].pixel);
  }
}

// Writes every band of a framed picture whose top line is surface row firstRow, row y of the
// surface at row0 + y * stride: one call for the whole face. Compiled like FillPixels.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(_WIN32)  // Windows has no ifunc to pick a clone
__attribute__((target_clones("avx512f", "avx2", "default")))
#endif
void writeBands(uint32_t* row0, ptrdiff_t stride, const FrameBand* bands, size_t count,
                const BandSpan* spans, const EdgeBlocks* edges, const uint32_t* rowColour,
                ptrdiff_t step, int64_t firstRow) {
  for (const FrameBand* band = bands; band != bands + count; ++band)
    writeBand(row0 + band->top * stride + band->left, stride, band->rows, band->width,
              rowColour + (band->top - firstRow) * step, step, band->face, spans + band->firstSpan,
              band->spanCount, band->edges < 0 ? nullptr : edges + band->edges);
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
  if (count == 1 && fillWholeWindowShared(*dc, deviceRect(rects[0].rect, o), oleToPixel(rects[0].color)))
    return true;
  for (size_t i = 0; i < count; ++i)
    fillThroughClip(s, *dc, deviceRect(rects[i].rect, o), oleToPixel(rects[i].color));
  return true;
}

namespace {

// A frame rectangle in surface coordinates with its pixel value.
struct Piece {
  int32_t left, top, right, bottom;
  Pixel pixel;
};

static_assert(std::has_unique_object_representations_v<SolidRect>,
              "frames are compared byte for byte");

// How a framed picture lands on a surface through a clip: bands of rows that the same frame
// runs cross, and the frame's pixels off the picture, found once for a frame, an origin, an area
// and a clip, and kept for the next call with the same ones (a face is framed again and again at
// the same place). Finding them takes a pass over the pieces per band; the repeat costs a
// comparison of what the caller passed.
struct FramePlan {
  using Band = FrameBand;
  Rect area;
  Point origin;
  std::vector<SolidRect> frame;
  std::vector<Rect> clip;
  std::vector<Band> bands;
  std::vector<BandSpan> spans;
  std::vector<EdgeBlocks> edges;
  std::vector<Piece> outside;  // what lies off the picture, clipped, filled after it in order

  bool matches(const Rect& a, Point o, const SolidRect* f, size_t count,
               std::span<const pixman_box32_t> boxes) const {
    if (!(area == a) || !(origin == o) || frame.size() != count || clip.size() != boxes.size())
      return false;
    if (count > 0 && std::memcmp(frame.data(), f, count * sizeof(SolidRect)) != 0) return false;
    for (size_t i = 0; i < boxes.size(); ++i)
      if (!(clip[i] == Rect{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2})) return false;
    return true;
  }

  void make(const Rect& a, Point o, const SolidRect* f, size_t count,
            std::span<const pixman_box32_t> boxes) {
    area = a;
    origin = o;
    frame.assign(f, f + count);
    clip.clear();
    bands.clear();
    spans.clear();
    edges.clear();
    outside.clear();
    Piece p[kMaxFramePass];
    for (size_t i = 0; i < count; ++i) {
      const Rect r = deviceRect(f[i].rect, o);
      p[i] = Piece{r.left, r.top, r.right, r.bottom, oleToPixel(f[i].color)};
    }
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
        Band band{top, 0, c.left, c.width(), static_cast<int32_t>(spans.size()), 0, -1, true};
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
          spans.push_back(BandSpan{r.left - c.left, r.right - r.left, r.pixel});
        }
        band.rows = bottom - top;
        band.spanCount = static_cast<int32_t>(spans.size()) - band.firstSpan;
        addEdges(band);
        if (band.edges < 0) disjoin(band);
        bands.push_back(band);
        top = bottom;
      }
    }
    // The parts of each piece off the picture: above and below it, then beside it, through
    // each clip rectangle.
    for (size_t i = 0; i < count; ++i) {
      const Rect r{p[i].left, p[i].top, p[i].right, p[i].bottom};
      if (r.empty()) continue;
      const Rect inside = r.intersect(a);
      if (inside == r) continue;
      const Rect parts[4] = {inside.empty() ? r : Rect{r.left, r.top, r.right, inside.top},
                             inside.empty() ? Rect{} : Rect{r.left, inside.bottom, r.right, r.bottom},
                             inside.empty() ? Rect{} : Rect{r.left, inside.top, inside.left, inside.bottom},
                             inside.empty() ? Rect{} : Rect{inside.right, inside.top, r.right, inside.bottom}};
      for (const Rect& part : parts)
        for (const Rect& box : clip) {
          const Rect c = part.intersect(box);
          if (!c.empty()) outside.push_back(Piece{c.left, c.top, c.right, c.bottom, p[i].pixel});
        }
    }
  }

  // Replaces a band's face and frame runs, which overlap (a later run wins), by runs that do not,
  // in column order, so that each pixel of its rows is stored once: a band that a frame line
  // crosses would otherwise store the line's pixels twice.
  void disjoin(Band& band) {
    if (band.spanCount == 0) return;
    owner.assign(static_cast<size_t>(band.width), -1);  // -1: the row's colour
    for (int32_t i = 0; i < band.spanCount; ++i) {
      const BandSpan& r = spans[static_cast<size_t>(band.firstSpan + i)];
      std::fill_n(owner.begin() + r.left, r.width, band.firstSpan + i);
    }
    // Neighbouring columns of the same pixel (or both the row's colour) make one run.
    const auto pixelOf = [this](int32_t run) { return spans[static_cast<size_t>(run)].pixel; };
    const auto same = [&pixelOf](int32_t a, int32_t b) {
      return a == b || (a >= 0 && b >= 0 && pixelOf(a) == pixelOf(b));
    };
    runs.clear();
    for (int32_t x = 0; x < band.width;) {
      const int32_t who = owner[static_cast<size_t>(x)];
      int32_t end = x + 1;
      while (end < band.width && same(owner[static_cast<size_t>(end)], who)) ++end;
      if (who >= 0 || band.face)
        runs.push_back(who < 0 ? BandSpan{x, end - x, 0, true}
                               : BandSpan{x, end - x, pixelOf(who), false});
      x = end;
    }
    spans.resize(static_cast<size_t>(band.firstSpan));
    spans.insert(spans.end(), runs.begin(), runs.end());
    band.spanCount = static_cast<int32_t>(runs.size());
    band.face = false;
  }

  std::vector<int32_t> owner;  // disjoin's work space: the run that ends up at each column
  std::vector<BandSpan> runs;

  // Gives the band edge blocks when it is wide enough and its frame pixels all lie within 16
  // pixels of its ends.
  void addEdges(Band& band) {
    if (!band.face || band.spanCount == 0 || band.width < 17) return;
    const BandSpan* s = spans.data() + band.firstSpan;
    const int32_t tailStart = band.width - 16;
    for (int32_t i = 0; i < band.spanCount; ++i)
      if (s[i].left + s[i].width > 16 && s[i].left < tailStart) return;
    EdgeBlocks e{};
    for (int32_t i = 0; i < band.spanCount; ++i)
      for (int32_t x = s[i].left; x < s[i].left + s[i].width; ++x) {
        if (x < 16) {
          e.head[x] = s[i].pixel;
          e.headMask[x] = ~0u;
        }
        if (x >= tailStart) {
          e.tail[x - tailStart] = s[i].pixel;
          e.tailMask[x - tailStart] = ~0u;
        }
      }
    band.edges = static_cast<int32_t>(edges.size());
    edges.push_back(e);
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
  const auto boxes = dc->clip().rects();
  ZXP_SCRATCH FramePlan plan;
  if (!plan.matches(area, o, frame, count, boxes)) plan.make(area, o, frame, count, boxes);
  const ptrdiff_t stride = s->height() > 1 ? s->row(1) - s->row(0) : 0;
  writeBands(s->row(0), stride, plan.bands.data(), plan.bands.size(), plan.spans.data(),
             plan.edges.data(), picture.rowColour, picture.rowColourStep, firstRow);
  for (const Piece& r : plan.outside) {
    uint32_t* d = s->row(r.top) + r.left;
    for (int32_t row = r.top; row < r.bottom; ++row, d += stride) FillPixels(d, r.right - r.left, r.pixel);
  }
  return true;
}

}  // namespace zxp
