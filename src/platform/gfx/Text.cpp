// Text output, measurement and DrawText on device contexts.
#include "platform/gfx/Text.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define ZXP_GLYPH_AVX2 1
#endif
#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/base/Scratch.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/FontEngine.h"
#include "platform/gfx/TextLayout.h"

#include <xxhash.h>

namespace zxp {

using namespace zxp::gfx;

namespace {

// The DC's font object; a DC always has one (new DCs start with SYSTEM_FONT).
FontObj* fontOf(DeviceContext& dc) {
  auto* f = dynamic_cast<FontObj*>(dc.state().fontObj.get());
  if (f && f->inst) return f;
  static FontObj* fallback = handles().peek<FontObj>(GetStockObject(SYSTEM_FONT), ObjKind::Font);
  return fallback && fallback->inst ? fallback : nullptr;
}

std::string_view textView(const char* text, int length) {
  if (!text) return {};
  if (length < 0) return std::string_view(text);
  return std::string_view(text, static_cast<size_t>(length));
}

// Fills a device rectangle inside `clip`.
void fillIn(Surface& s, std::span<const pixman_box32_t> clip, const Rect& r, Pixel p) {
  if (r.empty()) return;
  for (const auto& b : clip) {
    if (b.y1 >= r.bottom) break;
    Rect c = r.intersect(Rect{b.x1, b.y1, b.x2, b.y2});
    if (c.empty()) continue;
    for (int32_t y = c.top; y < c.bottom; ++y) std::fill(s.row(y) + c.left, s.row(y) + c.right, p);
  }
}

// A DC's clip rectangles, cut to a device rectangle when one is given (y-x banded, as the
// region's). Text is clipped to its rectangle on every call, and a DC's clip is a few
// rectangles (a window's shape, a control's clip): those are cut here without building a region;
// longer lists go through the region.
class ClipBoxes {
 public:
  ClipBoxes(const Region& clip, const Rect* cut) {
    const std::span<const pixman_box32_t> all = clip.rects();
    if (!cut) {
      boxes_ = all;
      return;
    }
    if (all.size() > local_.size()) {
      general_ = clip.intersected(*cut);
      boxes_ = general_.rects();
      return;
    }
    size_t n = 0;
    for (const auto& b : all) {
      const Rect r = Rect{b.x1, b.y1, b.x2, b.y2}.intersect(*cut);
      if (!r.empty()) local_[n++] = pixman_box32_t{r.left, r.top, r.right, r.bottom};
    }
    boxes_ = std::span<const pixman_box32_t>(local_.data(), n);
  }
  ClipBoxes(const ClipBoxes&) = delete;
  ClipBoxes& operator=(const ClipBoxes&) = delete;
  std::span<const pixman_box32_t> boxes() const { return boxes_; }

 private:
  std::array<pixman_box32_t, 8> local_;
  Region general_;
  std::span<const pixman_box32_t> boxes_;
};

// One pixel of a glyph: the destination where the coverage is 0 (all 32 bits kept), the colour
// where it is 255, else blendPixel. Without branches, since a glyph's coverage jumps between
// those cases from pixel to pixel: red and blue are blended in one multiply (each channel's sum
// stays below 2^16 in its own half-word, so blendPixel's rounding is exact there too), and the
// blend of coverage 0 or 255 gives back the destination's or the colour's channels.
inline uint32_t glyphPixel(uint32_t d, Pixel p, uint32_t a) {
  const uint32_t inv = 255 - a;
  uint32_t rb = (p & 0xFF00FFu) * a + (d & 0xFF00FFu) * inv + 0x800080u;
  rb = ((rb + ((rb >> 8) & 0xFF00FFu)) >> 8) & 0xFF00FFu;
  uint32_t g = ((p >> 8) & 0xFFu) * a + ((d >> 8) & 0xFFu) * inv + 128u;
  g = ((g + (g >> 8)) >> 8) & 0xFFu;
  const uint32_t high = a == 0 ? d & 0xFF000000u : (a == 255 ? p & 0xFF000000u : 0u);
  return rb | (g << 8) | high;
}

// A run of n glyph pixels: glyphPixel on each, four at a time with SSE2 where the machine has
// it (every channel's sum fits an unsigned 16-bit lane, as above). `room` (at least n) is how
// many pixels from `row` may be written: a pixel whose coverage is 0 comes back unchanged, so the
// last group of four may run past the run's end, its missing coverage masked to 0, while it stays
// inside the clip rectangle. `cov` must allow reading three bytes past the run (Glyph::kPad).
// There is no test per group for empty or full coverage: glyph edges change from group to group,
// and the mispredicted branches cost more than the blend they would save.
void blendGlyphRun(uint32_t* row, const uint8_t* cov, int32_t n, int32_t room, Pixel p) {
  int32_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i c255 = _mm_set1_epi16(255), c128 = _mm_set1_epi16(128);
  const __m128i colour = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(p)), zero);  // 2 pixels
  const __m128i highByte = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i colourHigh = _mm_and_si128(_mm_set1_epi32(static_cast<int>(p)), highByte);
  auto blend = [&](__m128i d16, __m128i a16) {
    const __m128i v = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(colour, a16),
                                                  _mm_mullo_epi16(d16, _mm_sub_epi16(c255, a16))),
                                    c128);
    return _mm_srli_epi16(_mm_add_epi16(v, _mm_srli_epi16(v, 8)), 8);
  };
  const int32_t groups = std::min(n + 3, room) & ~3;  // pixels covered by whole groups
  for (; i < groups; i += 4) {
    uint32_t four;
    std::memcpy(&four, cov + i, 4);
    if (n - i < 4) four &= 0xFFFFFFFFu >> (8 * (4 - (n - i)));  // bytes past the run read as 0
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i));
    const __m128i a16 = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(four)), zero);
    const __m128i aPairs = _mm_unpacklo_epi16(a16, a16);  // a0 a0 a1 a1 a2 a2 a3 a3
    const __m128i lo = blend(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi32(aPairs, aPairs));
    const __m128i hi = blend(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi32(aPairs, aPairs));
    const __m128i channels = _mm_andnot_si128(highByte, _mm_packus_epi16(lo, hi));
    const __m128i a32 = _mm_unpacklo_epi16(a16, zero);
    const __m128i high = _mm_or_si128(
        _mm_and_si128(_mm_cmpeq_epi32(a32, zero), _mm_and_si128(d, highByte)),
        _mm_and_si128(_mm_cmpeq_epi32(a32, _mm_set1_epi32(255)), colourHigh));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(row + i), _mm_or_si128(channels, high));
  }
#else
  (void)room;
#endif
  for (; i < n; ++i) row[i] = glyphPixel(row[i], p, cov[i]);
}

// The rows of one glyph inside one clip rectangle, for the blends below.
struct GlyphRows {
  uint32_t* dst;          // the destination pixel under glyph column `from`, first row
  ptrdiff_t dstStride;    // from one destination row to the next one down, in pixels
  const uint8_t* cov;     // the coverage of the first row
  int32_t width;          // the glyph's width: from one coverage row to the next
  const uint32_t* inked;  // the glyph's inked columns of the first row (Glyph::inked)
  int32_t rows;
  int32_t from, to;       // the glyph columns inside the clip rectangle
  int32_t room;           // the glyph columns that may be written: up to the clip's right edge
};

// Each row's inked columns inside the clip rectangle, as [first, last).
inline bool inkedSpan(const GlyphRows& g, int32_t y, int32_t& first, int32_t& last) {
  const uint32_t ink = g.inked[y];
  first = std::max(g.from, static_cast<int32_t>(ink & 0xFFFF));
  last = std::min(g.to, static_cast<int32_t>(ink >> 16));
  return first < last;
}

void blendGlyphRows(const GlyphRows& g, Pixel p) {
  uint32_t* dst = g.dst;
  const uint8_t* cov = g.cov;
  for (int32_t y = 0; y < g.rows; ++y, dst += g.dstStride, cov += g.width) {
    int32_t first, last;
    if (inkedSpan(g, y, first, last))
      blendGlyphRun(dst + (first - g.from), cov + first, last - first, g.room - first, p);
  }
}

#if defined(ZXP_GLYPH_AVX2)
// blendGlyphRows eight pixels at a time with AVX2, where the processor has it: a glyph row of
// eight pixels or fewer (most of a caption's) is one group. What a group of eight cannot reach
// without leaving the room goes to blendGlyphRun. The coverage must allow reading seven bytes
// past a row.
__attribute__((target("avx2"))) void blendGlyphRowsAvx2(const GlyphRows& g, Pixel p) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i c255 = _mm256_set1_epi16(255), c128 = _mm256_set1_epi16(128);
  const __m256i colour4 = _mm256_set1_epi32(static_cast<int>(p));
  const __m256i colour = _mm256_unpacklo_epi8(colour4, zero);  // the colour's channels, 16 bits each
  const __m256i highByte = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  const __m256i colourHigh = _mm256_and_si256(colour4, highByte);
  const __m256i full = _mm256_set1_epi32(255);
  uint32_t* dstRow = g.dst;
  const uint8_t* covRow = g.cov;
  for (int32_t y = 0; y < g.rows; ++y, dstRow += g.dstStride, covRow += g.width) {
    int32_t first, last;
    if (!inkedSpan(g, y, first, last)) continue;
    uint32_t* row = dstRow + (first - g.from);
    const uint8_t* cov = covRow + first;
    const int32_t n = last - first, room = g.room - first;
    const int32_t groups = std::min(n + 7, room) & ~7;  // pixels covered by whole groups
    int32_t i = 0;
    for (; i < groups; i += 8) {
      uint64_t eight;
      std::memcpy(&eight, cov + i, 8);
      if (n - i < 8) eight &= ~uint64_t{0} >> (8 * (8 - (n - i)));  // bytes past the run read as 0
      const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + i));
      const __m256i a32 = _mm256_cvtepu8_epi32(_mm_cvtsi64_si128(static_cast<long long>(eight)));  // a0 .. a7
      const __m256i aa = _mm256_or_si256(a32, _mm256_slli_epi32(a32, 16));  // each a in both halves
      // Within each 128-bit lane, unpacking the destination's bytes gives pixels 0 1 (lo) and
      // 2 3 (hi) of the lane's four; the coverage pairs are spread to match.
      const __m256i aLo = _mm256_unpacklo_epi32(aa, aa), aHi = _mm256_unpackhi_epi32(aa, aa);
      const __m256i dLo = _mm256_unpacklo_epi8(d, zero), dHi = _mm256_unpackhi_epi8(d, zero);
      const __m256i vLo = _mm256_add_epi16(
          _mm256_add_epi16(_mm256_mullo_epi16(colour, aLo), _mm256_mullo_epi16(dLo, _mm256_sub_epi16(c255, aLo))), c128);
      const __m256i vHi = _mm256_add_epi16(
          _mm256_add_epi16(_mm256_mullo_epi16(colour, aHi), _mm256_mullo_epi16(dHi, _mm256_sub_epi16(c255, aHi))), c128);
      const __m256i lo = _mm256_srli_epi16(_mm256_add_epi16(vLo, _mm256_srli_epi16(vLo, 8)), 8);
      const __m256i hi = _mm256_srli_epi16(_mm256_add_epi16(vHi, _mm256_srli_epi16(vHi, 8)), 8);
      const __m256i channels = _mm256_andnot_si256(highByte, _mm256_packus_epi16(lo, hi));
      const __m256i high = _mm256_or_si256(_mm256_and_si256(_mm256_cmpeq_epi32(a32, zero), _mm256_and_si256(d, highByte)),
                                           _mm256_and_si256(_mm256_cmpeq_epi32(a32, full), colourHigh));
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + i), _mm256_or_si256(channels, high));
    }
    if (i < n) blendGlyphRun(row + i, cov + i, n - i, room - i, p);
  }
}
#endif

using GlyphRowsBlend = void (*)(const GlyphRows&, Pixel);

// The widest glyph blend the processor runs.
GlyphRowsBlend glyphRowsBlend() {
#if defined(ZXP_GLYPH_AVX2)
  static const GlyphRowsBlend blend = __builtin_cpu_supports("avx2") ? blendGlyphRowsAvx2 : blendGlyphRows;
  return blend;
#else
  return blendGlyphRows;
#endif
}

// Draws one glyph with its pen position at (x, baseline) in device coordinates, inside the clip
// rectangles `clip` (y-x banded). Each row is drawn over its inked columns only.
void drawGlyph(Surface& s, std::span<const pixman_box32_t> clip, const Glyph& g, int32_t x, int32_t baseline,
               Pixel p) {
  if (g.width == 0 || g.height == 0) return;
  const Rect box = Rect::fromXYWH(x + g.left, baseline - g.top, g.width, g.height);
  const GlyphRowsBlend blend = glyphRowsBlend();
  const ptrdiff_t stride = s.bottomUp() ? -ptrdiff_t{s.width()} : ptrdiff_t{s.width()};
  for (const auto& b : clip) {
    if (b.y1 >= box.bottom) break;
    const Rect c = box.intersect(Rect{b.x1, b.y1, b.x2, b.y2});
    if (c.empty()) continue;
    const int32_t top = c.top - box.top;
    blend(GlyphRows{s.row(c.top) + c.left, stride, g.coverage.data() + static_cast<size_t>(top) * g.width, g.width,
                    g.inked.data() + top, c.height(), c.left - box.left, c.right - box.left, b.x2 - box.left},
          p);
  }
}

struct RunStyle {
  Pixel color = 0;
  bool underline = false;   // the font's underline, under the whole run
  bool strikeOut = false;
  bool expandTabs = false;
  int32_t tabWidth = 0;
  const int* dx = nullptr;  // per-character advances (ExtTextOut)
  // Device x past which no glyph of the run can show: drawing stops there, and the underline
  // and strike-out take `width`, the run's width measured beforehand.
  int32_t stopAt = INT32_MAX;
  int32_t width = 0;
};

// Draws a run of cells whose cell box starts at (x, top), device coordinates; `next(cell)` gives
// the run's cells one by one. Marked cells get the access-key underline. Returns the run's width.
template <class NextCell>
int32_t drawRun(Surface& s, std::span<const pixman_box32_t> clip, FontInstance& font, NextCell&& next, int32_t x,
                int32_t top, const RunStyle& st) {
  const FontMetrics& m = font.metrics();
  const int32_t baseline = top + m.ascent;
  int32_t pen = 0;
  TextCell cell;
  for (size_t i = 0; next(cell); ++i) {
    if (int64_t{x} + pen > st.stopAt) {
      pen = st.width;
      break;
    }
    const char32_t c = cell.ch;
    int32_t nextPen;
    if (c == U'\t' && st.expandTabs && st.tabWidth > 0) {
      nextPen = (pen / st.tabWidth + 1) * st.tabWidth;
    } else {
      const Glyph& g = font.glyph(c);
      drawGlyph(s, clip, g, x + pen, baseline, st.color);
      nextPen = pen + (st.dx ? st.dx[i] : g.advance);
    }
    if (cell.mark) {
      Rect u = Rect{x + pen, baseline + m.underlinePos, x + nextPen, baseline + m.underlinePos + m.underlineThickness};
      fillIn(s, clip, u, st.color);
    }
    pen = nextPen;
  }
  if (st.underline)
    fillIn(s, clip, Rect{x, baseline + m.underlinePos, x + pen, baseline + m.underlinePos + m.underlineThickness},
           st.color);
  if (st.strikeOut)
    fillIn(s, clip, Rect{x, baseline - m.strikeoutPos, x + pen, baseline - m.strikeoutPos + m.strikeoutThickness},
           st.color);
  return pen;
}

// What DrawText keeps of a text it laid out: the number of lines and the widest (all DT_CALCRECT
// needs, and the height drawing returns), and the lines themselves when there are few, else the
// places where every kPlaceEvery-th line starts, so that drawing lays out only the lines it can
// show and the few before them. Controls measure their caption (DT_CALCRECT) and then draw it,
// often at another width, and repaint the same caption again and again: the two latest layouts
// on the thread are kept, keyed by all that makes the lines. The font is held weakly, so the key
// cannot match a later font that happens to take its place.
// The key of a kept text: a short text itself, a long one its length and 128-bit hash, so that
// keeping a caption of megabytes costs one pass over it and no copy. Two long texts of one length
// meet under one key with a chance of 2^-128: our choice over holding a copy of each.
class TextKey {
 public:
  TextKey() = default;
  explicit TextKey(std::string_view text) { assign(text); }
  void assign(std::string_view text) {
    size_ = text.size();
    if (size_ < kHashFrom) {
      short_.assign(text);
      hash_ = XXH128_hash_t{0, 0};
    } else {
      short_.clear();
      hash_ = XXH3_128bits(text.data(), text.size());
    }
  }
  bool operator==(const TextKey& o) const {
    return size_ == o.size_ && (size_ < kHashFrom ? short_ == o.short_ : XXH128_isEqual(hash_, o.hash_) != 0);
  }
  size_t size() const { return size_; }

 private:
  static constexpr size_t kHashFrom = 1024;
  size_t size_ = 0;
  std::string short_;
  XXH128_hash_t hash_{0, 0};
};

struct KeptLayout {
  TextKey text;
  std::weak_ptr<FontInstance> font;
  UINT format = 0;  // without DT_CALCRECT, which does not change the lines
  int32_t width = 0, tabWidth = 0, maxLines = 0;
  int32_t lines = 0, widest = 0;
  std::vector<LineSpan> spans;               // every line, when there are at most kKeptLines
  std::vector<LineBreaker::Place> places;    // else where lines 0, kPlaceEvery, 2 kPlaceEvery ... start
};
constexpr size_t kKeptLines = 1024;
constexpr int32_t kPlaceEvery = 64;

const KeptLayout& layoutOnce(std::string_view text, const std::shared_ptr<FontInstance>& font,
                             const TextLayoutParams& lp) {
  ZXP_SCRATCH std::array<KeptLayout, 2> kept;
  ZXP_SCRATCH size_t newest = 0;
  const UINT format = lp.format & ~DT_CALCRECT;
  const TextKey key(text);
  // Lines that neither wrap nor end in "..." do not depend on the width: a caption measured in
  // one rectangle and drawn in another is laid out once.
  const bool wraps = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE);
  const int32_t width = wraps || (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS)) ? lp.width : 0;
  for (size_t i = 0; i < kept.size(); ++i) {
    const KeptLayout& k = kept[i];
    if (k.font.lock() == font && k.format == format && k.width == width && k.tabWidth == lp.tabWidth &&
        k.maxLines == lp.maxLines && k.text == key) {
      newest = i;
      return k;
    }
  }
  newest = 1 - newest;
  KeptLayout& k = kept[newest];
  k.font.reset();  // no key matches until the lines and their key are both in place
  k.spans.clear();
  k.places.clear();
  k.lines = k.widest = 0;
  LineBreaker breaker(text, lp);
  LineSpan line;
  for (LineBreaker::Place at = breaker.place(); breaker.next(line); at = breaker.place()) {
    if (at.lines % kPlaceEvery == 0) k.places.push_back(at);
    if (k.spans.size() <= kKeptLines) k.spans.push_back(line);
    k.widest = std::max(k.widest, line.width);
  }
  k.lines = breaker.lineCount();
  if (k.spans.size() > kKeptLines) std::vector<LineSpan>().swap(k.spans);
  else k.places.clear();
  k.text = key;
  k.font = font;
  k.format = format;
  k.width = width;
  k.tabWidth = lp.tabWidth;
  k.maxLines = lp.maxLines;
  return k;
}

int64_t floorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

std::vector<TextCell> plainCells(std::string_view text) {
  std::u32string cps = decodeUtf8(text);
  std::vector<TextCell> cells(cps.size());
  for (size_t i = 0; i < cps.size(); ++i) cells[i].ch = cps[i];
  return cells;
}

}  // namespace

UINT SetTextAlign(HDC hdc, UINT align) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc) return GDI_ERROR;
  UINT prev = dc->state().textAlign;
  dc->state().textAlign = align;
  return prev;
}

UINT GetTextAlign(HDC hdc) {
  DeviceContext* dc = dcFromHandle(hdc);
  return dc ? dc->state().textAlign : GDI_ERROR;
}

BOOL GetTextMetrics(HDC hdc, TEXTMETRIC* tm) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc || !tm) return FALSE;
  FontObj* f = fontOf(*dc);
  if (!f) return FALSE;
  const FontMetrics& m = f->inst->metrics();
  TEXTMETRIC t;
  t.tmHeight = m.height;
  t.tmAscent = m.ascent;
  t.tmDescent = m.descent;
  t.tmInternalLeading = m.internalLeading;
  t.tmExternalLeading = m.externalLeading;
  t.tmAveCharWidth = m.aveCharWidth;
  t.tmMaxCharWidth = m.maxCharWidth;
  t.tmWeight = f->lf.lfWeight == FW_DONTCARE ? FW_NORMAL : f->lf.lfWeight;
  t.tmDigitizedAspectX = kLogPixels;
  t.tmDigitizedAspectY = kLogPixels;
  t.tmFirstChar = 0x20;
  t.tmLastChar = 0xFF;
  t.tmDefaultChar = 0x1F;
  t.tmBreakChar = 0x20;
  t.tmItalic = f->lf.lfItalic ? 1 : 0;
  t.tmUnderlined = f->lf.lfUnderline ? 1 : 0;
  t.tmStruckOut = f->lf.lfStrikeOut ? 1 : 0;
  // The low bit is set for variable pitch (the platform's inverted meaning).
  t.tmPitchAndFamily = static_cast<BYTE>((m.fixedPitch ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR | TMPF_TRUETYPE |
                                         (f->lf.lfPitchAndFamily & 0xF0));
  t.tmCharSet = f->lf.lfCharSet;
  *tm = t;
  return TRUE;
}

BOOL GetTextExtentPoint32(HDC hdc, const char* text, int length, SIZE* size) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc || !size || (!text && length != 0)) return FALSE;
  FontObj* f = fontOf(*dc);
  if (!f) return FALSE;
  // One pass over the bytes, without a decoded copy: a caption may be megabytes long. The width
  // of the last long text is kept per thread (keyed by text and font, as DrawText's layouts): a
  // label that sizes itself to its caption measures it on every paint.
  struct KeptExtent {
    TextKey text;
    std::weak_ptr<FontInstance> font;
    int32_t width = 0;
  };
  constexpr size_t kKeptFrom = 4096;
  ZXP_SCRATCH KeptExtent kept;
  const std::string_view sv = textView(text, length);
  const int32_t height = f->inst->metrics().height;
  const TextKey key = sv.size() >= kKeptFrom ? TextKey(sv) : TextKey();
  if (sv.size() >= kKeptFrom && kept.font.lock() == f->inst && kept.text == key) {
    *size = SIZE{kept.width, height};
    return TRUE;
  }
  // ASCII advances are looked up once each into a local table: the bulk of a long text is then
  // a byte and a table read per character.
  int32_t ascii[128];
  std::fill(std::begin(ascii), std::end(ascii), -1);
  FontInstance& font = *f->inst;
  int64_t w = 0;
  for (size_t i = 0; i < sv.size();) {
    const auto b = static_cast<unsigned char>(sv[i]);
    if (b < 0x80) {
      int32_t& a = ascii[b];
      if (a < 0) a = font.advance(b);
      w += a;
      ++i;
      continue;
    }
    char32_t cp = 0;
    size_t len = wellFormedUtf8(reinterpret_cast<const unsigned char*>(sv.data()) + i, sv.size() - i, cp);
    if (len == 0) cp = zxp::decodeUtf8(sv.substr(i), len);
    w += font.advance(cp);
    i += len;
  }
  const auto width = static_cast<int32_t>(std::min<int64_t>(w, INT32_MAX));
  if (sv.size() >= kKeptFrom) {
    kept.font.reset();
    kept.text = key;
    kept.width = width;
    kept.font = f->inst;
  }
  *size = SIZE{width, height};
  return TRUE;
}

BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, const RECT* rect, const char* text, UINT length,
                const int* dx) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc || (!text && length != 0)) return FALSE;
  FontObj* f = fontOf(*dc);
  Surface* s = dc->surface();
  if (!f || !s) return FALSE;
  FontInstance& font = *f->inst;
  const DCState& st = dc->state();

  std::optional<Rect> cut;
  if (rect && (options & ETO_CLIPPED)) {
    Rect r = rect->normalized();
    Point a = dc->toDevice(Point{r.left, r.top});
    cut = Rect::fromXYWH(a.x, a.y, r.width(), r.height());
  }
  const ClipBoxes clipBoxes(dc->clip(), cut ? &*cut : nullptr);
  const std::span<const pixman_box32_t> clip = clipBoxes.boxes();
  if (rect && (options & ETO_OPAQUE)) {
    Rect r = rect->normalized();
    Point a = dc->toDevice(Point{r.left, r.top});
    fillIn(*s, clip, Rect::fromXYWH(a.x, a.y, r.width(), r.height()), oleToPixel(st.bkColor));
  }

  std::vector<TextCell> cells = plainCells(std::string_view(text ? text : "", length));
  int32_t width = 0;
  for (size_t i = 0; i < cells.size(); ++i) width += dx ? dx[i] : font.advance(cells[i].ch);

  const UINT align = st.textAlign;
  Point org = (align & TA_UPDATECP) ? st.cur : Point{x, y};
  int32_t left = org.x;
  if ((align & TA_CENTER) == TA_CENTER) left -= width / 2;
  else if (align & TA_RIGHT) left -= width;
  const FontMetrics& m = font.metrics();
  int32_t top = org.y;
  if ((align & TA_BASELINE) == TA_BASELINE) top -= m.ascent;
  else if (align & TA_BOTTOM) top -= m.height;

  Point d = dc->toDevice(Point{left, top});
  if (st.bkMode == OPAQUE) fillIn(*s, clip, Rect::fromXYWH(d.x, d.y, width, m.height), oleToPixel(st.bkColor));
  RunStyle rs;
  rs.color = oleToPixel(st.textColor);
  rs.underline = f->lf.lfUnderline != 0;
  rs.strikeOut = f->lf.lfStrikeOut != 0;
  rs.dx = dx;
  size_t at = 0;
  drawRun(*s, clip, font, [&](TextCell& c) { return at < cells.size() ? (c = cells[at++], true) : false; }, d.x, d.y,
          rs);

  if (align & TA_UPDATECP) {
    if ((align & TA_CENTER) == TA_CENTER) {
      // the current position stays
    } else if (align & TA_RIGHT) {
      dc->state().cur.x = org.x - width;
    } else {
      dc->state().cur.x = org.x + width;
    }
  }
  return TRUE;
}

BOOL TextOut(HDC hdc, int x, int y, const char* text, int length) {
  if (length < 0) return FALSE;
  return ExtTextOut(hdc, x, y, 0, nullptr, text, static_cast<UINT>(length), nullptr);
}

int DrawText(HDC hdc, const char* text, int length, RECT* rect, UINT format) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc || !rect || (!text && length != 0)) return 0;
  FontObj* f = fontOf(*dc);
  if (!f) return 0;
  FontInstance& font = *f->inst;
  const FontMetrics& m = font.metrics();
  const int32_t lineHeight = m.height + ((format & DT_EXTERNALLEADING) ? m.externalLeading : 0);
  const Rect r = *rect;
  const bool calc = format & DT_CALCRECT;
  std::string_view sv = textView(text, length);

  if (sv.empty()) {
    if (calc) {
      rect->right = rect->left;
      rect->bottom = clampToInt32(int64_t{rect->top} + ((format & DT_SINGLELINE) ? lineHeight : 0));
    }
    return lineHeight;
  }

  TextLayoutParams lp;
  lp.format = format;
  // The rectangle comes from the caller: its extent and every position below saturate at the
  // 32-bit range rather than overflow.
  lp.width = r.width();
  lp.tabWidth = 8 * m.aveCharWidth;
  if ((format & DT_TABSTOP) && ((format >> 8) & 0xFF)) lp.tabWidth = static_cast<int32_t>((format >> 8) & 0xFF) * m.aveCharWidth;
  lp.advance = [&font](char32_t c) { return font.advance(c); };
  // Drawing an end-ellipsised wrapped paragraph: the last line wholly inside the rectangle takes
  // the rest of its paragraph and the ellipsis.
  if (!calc && (format & DT_WORDBREAK) && (format & DT_END_ELLIPSIS) && !(format & (DT_NOCLIP | DT_SINGLELINE)))
    lp.maxLines = std::max(1, r.height() / std::max(1, lineHeight));
  const KeptLayout& layout = layoutOnce(sv, f->inst, lp);

  const int32_t textHeight = clampToInt32(static_cast<int64_t>(layout.lines) * lineHeight);
  if (calc) {
    rect->right = clampToInt32(int64_t{rect->left} + layout.widest);
    rect->bottom = clampToInt32(int64_t{rect->top} + textHeight);
    return textHeight;
  }

  int32_t y = r.top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER) y = clampToInt32(r.top + (int64_t{r.bottom} - r.top - lineHeight) / 2);
    else if (format & DT_BOTTOM) y = clampToInt32(int64_t{r.bottom} - lineHeight);
  }
  const int32_t result = clampToInt32(int64_t{y} - r.top + textHeight);

  Surface* s = dc->surface();
  if (!s) return result;
  std::optional<Rect> cut;
  if (!(format & DT_NOCLIP)) {
    Point a = dc->toDevice(Point{r.left, r.top});
    cut = Rect::fromXYWH(a.x, a.y, r.width(), r.height());
  }
  const ClipBoxes clipBoxes(dc->clip(), cut ? &*cut : nullptr);
  const std::span<const pixman_box32_t> clip = clipBoxes.boxes();
  if (clip.empty()) return result;
  // Only the lines that can reach the clip are laid out again and drawn, with a margin of two
  // lines for glyphs that rise above or hang below their line; a line stops where its glyphs
  // are past the clip's right edge.
  int64_t clipTop = INT64_MAX, clipBottom = INT64_MIN, clipRight = INT64_MIN;
  for (const auto& b : clip) {
    clipTop = std::min<int64_t>(clipTop, b.y1);
    clipBottom = std::max<int64_t>(clipBottom, b.y2);
    clipRight = std::max<int64_t>(clipRight, b.x2);
  }
  const int64_t firstTop = int64_t{dc->toDevice(Point{r.left, y}).y};
  const int64_t margin = 2 * int64_t{lineHeight};
  const int64_t first = std::max<int64_t>(0, floorDiv(clipTop - margin - firstTop, lineHeight));
  const int64_t last = std::min<int64_t>(layout.lines - 1, floorDiv(clipBottom + margin - firstTop, lineHeight));

  const DCState& st = dc->state();
  RunStyle rs;
  rs.color = oleToPixel(st.textColor);
  rs.underline = f->lf.lfUnderline != 0;
  rs.strikeOut = f->lf.lfStrikeOut != 0;
  rs.expandTabs = format & DT_EXPANDTABS;
  rs.tabWidth = lp.tabWidth;
  rs.stopAt = clampToInt32(clipRight + margin + m.maxCharWidth);
  const Pixel bk = oleToPixel(st.bkColor);
  LineBreaker breaker(sv, lp);
  auto drawLine = [&](int64_t index, const LineSpan& line) {
    const int32_t top = clampToInt32(int64_t{y} + index * lineHeight);
    int32_t x = r.left;
    if (format & DT_CENTER) x = clampToInt32((int64_t{r.left} + r.right - line.width) / 2);
    else if (format & DT_RIGHT) x = clampToInt32(int64_t{r.right} - line.width);
    Point d = dc->toDevice(Point{x, top});
    if (st.bkMode == OPAQUE) fillIn(*s, clip, Rect::fromXYWH(d.x, d.y, line.width, lineHeight), bk);
    size_t at = line.begin;
    int dots = line.ellipsis ? 3 : 0;
    rs.width = line.width;
    drawRun(*s, clip, font,
            [&](TextCell& c) {
              if (breaker.nextCell(at, line.end, c)) return true;
              if (dots == 0) return false;
              --dots;
              c = TextCell{U'.', false};
              return true;
            },
            d.x, d.y, rs);
  };
  if (first > last) return result;
  if (!layout.spans.empty()) {
    for (int64_t i = first; i <= last; ++i) drawLine(i, layout.spans[static_cast<size_t>(i)]);
    return result;
  }
  breaker.resume(layout.places[static_cast<size_t>(first / kPlaceEvery)]);
  LineSpan line;
  for (int64_t i = first / kPlaceEvery * kPlaceEvery; i <= last && breaker.next(line); ++i)
    if (i >= first) drawLine(i, line);
  return result;
}

}  // namespace zxp
