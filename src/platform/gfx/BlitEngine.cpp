// The blit engine: geometry of stretched and mirrored blits, ROP kernels, DIB header checks.
#include "platform/gfx/BlitEngine.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/base/Scratch.h"
#include "platform/gfx/ShapeGeometry.h"

namespace zxp::gfx {

namespace {

// One axis of an area after normalisation: the covered coordinates [start, start + len).
struct Axis {
  int64_t start;
  int64_t len;
  bool negative;
};

constexpr int64_t kMaxExtent = int64_t{1} << 31;

Axis axisOf(int64_t origin, int64_t extent) {
  extent = std::clamp(extent, -kMaxExtent, kMaxExtent);
  if (extent < 0) return Axis{origin + extent + 1, -extent, true};
  return Axis{origin, extent, false};
}

// The source coordinate for destination coordinate dc: the source pixel under the destination
// pixel's centre, the lower one when the centre lies on a boundary, counted from the other end
// when the axis is mirrored.
int64_t mapCoord(const Axis& d, const Axis& s, bool mirror, int64_t dc) {
  int64_t i = dc - d.start;
  if (mirror) i = d.len - 1 - i;
  return s.start + stretchedIndex(i, d.len, s.len);
}

// The first source index j (counted along the axis) whose centre maps to destination index i or
// beyond when shrinking: the least j with ceil((2j + 1) n / (2m)) - 1 >= i, that is
// (2j + 1) n > 2mi.
int64_t groupStart(int64_t i, int64_t n, int64_t m) {
  // The least integer above (2mi - n) / (2n).
  const __int128 num = __int128{2} * m * i - n, den = __int128{2} * n;
  __int128 q = num / den;
  if (num % den != 0 && num < 0) --q;
  return static_cast<int64_t>(std::clamp<__int128>(q + 1, 0, m));
}

// The source range that destination coordinate dc combines (shrinking axis), cut to [0, limit).
std::pair<int32_t, int32_t> groupOf(const Axis& d, const Axis& s, bool mirror, int64_t dc, int32_t limit) {
  int64_t i = dc - d.start;
  if (mirror) i = d.len - 1 - i;
  const int64_t first = s.start + groupStart(i, d.len, s.len);
  const int64_t end = s.start + groupStart(i + 1, d.len, s.len);
  return {static_cast<int32_t>(std::clamp<int64_t>(first, 0, limit)),
          static_cast<int32_t>(std::clamp<int64_t>(end, 0, limit))};
}

// Maps the destination coordinates [c0, c1) of one axis onto the source [0, srcLimit): returns
// the sub-range of destination coordinates whose source lies inside, and fills map with their
// source coordinates. The mapping is monotonic, so the valid coordinates are contiguous.
std::pair<int32_t, int32_t> mapAxis(const Axis& d, const Axis& s, bool mirror, int32_t c0, int32_t c1,
                                    int32_t srcLimit, std::vector<int32_t>& map) {
  if (d.len == s.len && !mirror) {
    // 1:1 along this axis (the other one is stretched): a shift, no division per coordinate.
    const int64_t shift = s.start - d.start;
    const int32_t first = static_cast<int32_t>(std::max<int64_t>(c0, -shift));
    const int32_t last = static_cast<int32_t>(std::min<int64_t>(c1, srcLimit - shift));
    if (first >= last) return {0, 0};
    map.resize(static_cast<size_t>(last - first));
    for (int32_t c = first; c < last; ++c) map[static_cast<size_t>(c - first)] = static_cast<int32_t>(c + shift);
    return {first, last};
  }
  // Each coordinate's source once; the mapping is monotonic, so the valid ones are contiguous.
  map.resize(static_cast<size_t>(std::max(c1 - c0, 0)));
  int32_t first = c1, last = c0;
  for (int32_t c = c0; c < c1; ++c) {
    const int64_t v = mapCoord(d, s, mirror, c);
    if (v < 0 || v >= srcLimit) continue;
    map[static_cast<size_t>(c - c0)] = static_cast<int32_t>(v);
    first = std::min(first, c);
    last = std::max(last, c + 1);
  }
  if (first >= last) {
    map.clear();
    return {0, 0};
  }
  map.erase(map.begin() + (last - c0), map.end());
  map.erase(map.begin(), map.begin() + (first - c0));
  return {first, last};
}

}  // namespace

// ---- PixelView ------------------------------------------------------------------------------------

PixelView PixelView::of(const Surface& s) {
  return PixelView{s.row(0), s.bottomUp() ? -ptrdiff_t{s.width()} : ptrdiff_t{s.width()}, s.width(),
                   s.height(), 0, 0};
}

PixelView PixelView::ofBuffer(const void* bits, int32_t width, int32_t height, bool bottomUp) {
  const auto* p = static_cast<const uint32_t*>(bits);
  if (bottomUp)
    return PixelView{p + static_cast<ptrdiff_t>(height - 1) * width, -ptrdiff_t{width}, width, height, 0, 0};
  return PixelView{p, ptrdiff_t{width}, width, height, 0, 0};
}

bool PixelView::overlaps(const Surface& s) const {
  if (!top || width <= 0 || height <= 0) return false;
  const uint32_t* first = stride >= 0 ? top : top + (height - 1) * stride;
  uintptr_t lo = reinterpret_cast<uintptr_t>(first);
  uintptr_t hi = lo + (static_cast<uintptr_t>(height - 1) * static_cast<uintptr_t>(std::abs(stride)) +
                       static_cast<uintptr_t>(width)) * 4;
  uintptr_t slo = reinterpret_cast<uintptr_t>(s.bits());
  uintptr_t shi = slo + s.pixelCount() * 4;
  return lo < shi && slo < hi;
}

// ---- BlitPlan -------------------------------------------------------------------------------------

Rect areaRect(const BlitArea& a) {
  Axis x = axisOf(a.x, a.w);
  Axis y = axisOf(a.y, a.h);
  return Rect{clamp32(x.start), clamp32(y.start), clamp32(x.start + x.len), clamp32(y.start + y.len)};
}

BlitPlan::BlitPlan(DeviceContext& dc, const BlitArea& dstArea, const BlitArea& srcArea, int32_t srcWidth,
                   int32_t srcHeight, int stretchMode) {
  if (dstArea.w == 0 || dstArea.h == 0 || srcArea.w == 0 || srcArea.h == 0) return;
  Rect clipBox = dc.clip().box();
  Rect d = areaRect(dstArea).intersect(clipBox);
  if (d.empty()) return;
  Axis dx = axisOf(dstArea.x, dstArea.w), dy = axisOf(dstArea.y, dstArea.h);
  Axis sx = axisOf(srcArea.x, srcArea.w), sy = axisOf(srcArea.y, srcArea.h);
  bool mirrorX = dx.negative != sx.negative, mirrorY = dy.negative != sy.negative;

  if (dx.len == sx.len && dy.len == sy.len && !mirrorX && !mirrorY) {
    // 1:1: the visible part is the destination ∩ the source bounds moved onto the destination.
    int64_t ox = sx.start - dx.start, oy = sy.start - dy.start;
    Rect srcOnDst{clamp32(-ox), clamp32(-oy), clamp32(srcWidth - ox), clamp32(srcHeight - oy)};
    visible_ = d.intersect(srcOnDst);
    if (visible_.empty()) return;
    identity_ = true;
    offX_ = static_cast<int32_t>(ox);
    offY_ = static_cast<int32_t>(oy);
    return;
  }
  auto [x0, x1] = mapAxis(dx, sx, mirrorX, d.left, d.right, srcWidth, mapX_);
  auto [y0, y1] = mapAxis(dy, sy, mirrorY, d.top, d.bottom, srcHeight, mapY_);
  visible_ = Rect{x0, y0, x1, y1};
  if (visible_.empty()) {
    visible_ = Rect{};
    return;
  }
  straightColumns_ = true;
  for (size_t i = 1; i < mapX_.size() && straightColumns_; ++i) straightColumns_ = mapX_[i] == mapX_[i - 1] + 1;

  const bool shrinkX = sx.len > dx.len, shrinkY = sy.len > dy.len;
  if (stretchMode == COLORONCOLOR || (!shrinkX && !shrinkY)) return;
  mergeOp_ = stretchMode;
  auto groups = [](const Axis& d, const Axis& s, bool mirror, bool shrink, int32_t c0, int32_t c1, int32_t limit,
                   const std::vector<int32_t>& map, std::vector<std::pair<int32_t, int32_t>>& out) {
    out.resize(static_cast<size_t>(c1 - c0));
    for (int32_t c = c0; c < c1; ++c) {
      const int32_t m = map[static_cast<size_t>(c - c0)];
      out[static_cast<size_t>(c - c0)] = shrink ? groupOf(d, s, mirror, c, limit) : std::pair{m, m + 1};
    }
  };
  groups(dx, sx, mirrorX, shrinkX, visible_.left, visible_.right, srcWidth, mapX_, groupX_);
  groups(dy, sy, mirrorY, shrinkY, visible_.top, visible_.bottom, srcHeight, mapY_, groupY_);
}

void BlitPlan::gather(const PixelView& src, int32_t y, int32_t x0, int32_t x1, uint32_t* out) const {
  const int32_t n = x1 - x0;
  if (!merging()) {
    const uint32_t* s = src.at(src.x0, srcY(y));
    for (int32_t x = x0; x < x1; ++x) out[x - x0] = s[srcX(x) - src.x0];
    return;
  }
  const auto [r0, r1] = groupY_[static_cast<size_t>(y - visible_.top)];
  const auto* gx = groupX_.data() + (x0 - visible_.left);
  if (mergeOp_ == HALFTONE) {
    // The average of each byte over the group, rounded to nearest.
    ZXP_SCRATCH std::vector<uint64_t> sums;
    sums.assign(static_cast<size_t>(n) * 4, 0);
    for (int32_t r = r0; r < r1; ++r) {
      const uint32_t* s = src.at(src.x0, r);
      for (int32_t i = 0; i < n; ++i)
        for (int32_t c = gx[i].first; c < gx[i].second; ++c)
          for (int k = 0; k < 4; ++k) sums[static_cast<size_t>(i) * 4 + k] += (s[c - src.x0] >> (8 * k)) & 0xFF;
    }
    for (int32_t i = 0; i < n; ++i) {
      const uint64_t count = uint64_t(r1 - r0) * uint64_t(gx[i].second - gx[i].first);
      uint32_t v = 0;
      for (int k = 0; k < 4; ++k)
        if (count) v |= static_cast<uint32_t>((sums[static_cast<size_t>(i) * 4 + k] + count / 2) / count) << (8 * k);
      out[i] = v;
    }
    return;
  }
  const bool andScans = mergeOp_ == BLACKONWHITE;
  const uint32_t init = andScans ? 0xFFFFFFFFu : 0u;
  std::fill(out, out + n, init);
  for (int32_t r = r0; r < r1; ++r) {
    const uint32_t* s = src.at(src.x0, r);
    for (int32_t i = 0; i < n; ++i) {
      uint32_t v = out[i];
      for (int32_t c = gx[i].first; c < gx[i].second; ++c) {
        const uint32_t p = s[c - src.x0];
        v = andScans ? (v & p) : (v | p);
      }
      out[i] = v;
    }
  }
}

Rect BlitPlan::sourceBox() const {
  if (empty()) return Rect{};
  if (identity_) return visible_.offset(offX_, offY_);
  auto [xa, xb] = std::minmax_element(mapX_.begin(), mapX_.end());
  auto [ya, yb] = std::minmax_element(mapY_.begin(), mapY_.end());
  Rect box{*xa, *ya, *xb + 1, *yb + 1};
  // Merged groups reach beyond the mapped pixels.
  for (const auto& [first, end] : groupX_)
    if (first < end) box = Rect{std::min(box.left, first), box.top, std::max(box.right, end), box.bottom};
  for (const auto& [first, end] : groupY_)
    if (first < end) box = Rect{box.left, std::min(box.top, first), box.right, std::max(box.bottom, end)};
  return box;
}

namespace detail {
std::vector<uint32_t>& scratchRow(size_t n) {
  ZXP_SCRATCH std::vector<uint32_t> row;
  if (row.size() < n) row.resize(n);
  return row;
}
}  // namespace detail

// ---- Raster operations ------------------------------------------------------------------------------

uint32_t applyRop3(uint8_t idx, uint32_t p, uint32_t s, uint32_t d) {
  // Bit (4P + 2S + D) of the index is the result for that combination of input bits: the
  // result is the union of the minterms whose bit is set.
  uint32_t r = 0;
  for (int bit = 0; bit < 8; ++bit) {
    if (!((idx >> bit) & 1)) continue;
    r |= ((bit & 4) ? p : ~p) & ((bit & 2) ? s : ~s) & ((bit & 1) ? d : ~d);
  }
  return r;
}

namespace {

constexpr uint32_t kRgb = 0x00FFFFFF;

template <class F>
auto perPixel(F f) {
  return [f](uint32_t* d, const uint32_t* s, int32_t n) {
    for (int32_t i = 0; i < n; ++i) d[i] = f(s[i], d[i]) & kRgb;
  };
}

}  // namespace

void ropFill(DeviceContext& dc, const Rect& r, DWORD rop, Pixel pattern) {
  const uint8_t idx = rop3Index(rop);
  const uint32_t p = pattern & kRgb;
  switch (idx) {
    case rop3Index(BLACKNESS): fillRect(dc, r, 0); return;
    case rop3Index(WHITENESS): fillRect(dc, r, kRgb); return;
    case rop3Index(PATCOPY): fillRect(dc, r, p); return;
    case 0xAA: return;  // the destination itself
    case rop3Index(DSTINVERT):
      fillRuns(dc, r, [](uint32_t* d, int32_t n) {
        for (int32_t i = 0; i < n; ++i) d[i] = ~d[i] & kRgb;
      });
      return;
    case rop3Index(PATINVERT):
      fillRuns(dc, r, [p](uint32_t* d, int32_t n) {
        for (int32_t i = 0; i < n; ++i) d[i] = (d[i] ^ p) & kRgb;
      });
      return;
    default:
      fillRuns(dc, r, [idx, p](uint32_t* d, int32_t n) {
        for (int32_t i = 0; i < n; ++i) d[i] = applyRop3(idx, p, 0, d[i]) & kRgb;
      });
      return;
  }
}

void ropBlit(DeviceContext& dc, const BlitArea& dstArea, const PixelView& src, const BlitArea& srcArea,
             DWORD rop, Pixel pattern) {
  const uint8_t idx = rop3Index(rop);
  if (!rop3UsesSource(idx)) {
    ropFill(dc, areaRect(dstArea).intersect(dc.clip().box()), rop, pattern);
    return;
  }
  BlitPlan plan(dc, dstArea, srcArea, src.width, src.height, dc.state().stretchMode);
  if (plan.empty()) return;
  const uint32_t p = pattern & kRgb;
  switch (idx) {
    case rop3Index(SRCCOPY):
      blitRuns(dc, plan, src, [](uint32_t* d, const uint32_t* s, int32_t n) {
        std::memcpy(d, s, static_cast<size_t>(n) * 4);
      });
      return;
    case rop3Index(SRCAND): blitRuns(dc, plan, src, perPixel([](uint32_t s, uint32_t d) { return s & d; })); return;
    case rop3Index(SRCPAINT): blitRuns(dc, plan, src, perPixel([](uint32_t s, uint32_t d) { return s | d; })); return;
    case rop3Index(SRCINVERT): blitRuns(dc, plan, src, perPixel([](uint32_t s, uint32_t d) { return s ^ d; })); return;
    case rop3Index(SRCERASE): blitRuns(dc, plan, src, perPixel([](uint32_t s, uint32_t d) { return s & ~d; })); return;
    case rop3Index(NOTSRCCOPY): blitRuns(dc, plan, src, perPixel([](uint32_t s, uint32_t) { return ~s; })); return;
    case rop3Index(NOTSRCERASE): blitRuns(dc, plan, src, perPixel([](uint32_t s, uint32_t d) { return ~(s | d); })); return;
    case rop3Index(MERGEPAINT): blitRuns(dc, plan, src, perPixel([](uint32_t s, uint32_t d) { return ~s | d; })); return;
    case rop3Index(MERGECOPY): blitRuns(dc, plan, src, perPixel([p](uint32_t s, uint32_t) { return p & s; })); return;
    case rop3Index(PATPAINT): blitRuns(dc, plan, src, perPixel([p](uint32_t s, uint32_t d) { return p | ~s | d; })); return;
    default:
      blitRuns(dc, plan, src, perPixel([idx, p](uint32_t s, uint32_t d) { return applyRop3(idx, p, s, d); }));
      return;
  }
}

// ---- DIB headers ------------------------------------------------------------------------------------

std::optional<DibFormat> dibFormat(const BITMAPINFO* bmi, UINT usage) {
  if (!bmi || usage != DIB_RGB_COLORS) return std::nullopt;
  const BITMAPINFOHEADER& h = bmi->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biPlanes != 1 || h.biBitCount != 32 ||
      h.biCompression != BI_RGB)
    return std::nullopt;
  int64_t w = h.biWidth;
  int64_t ht = h.biHeight < 0 ? -int64_t{h.biHeight} : int64_t{h.biHeight};
  if (w < 1 || ht < 1 || w > kMaxSurfaceSide || ht > kMaxSurfaceSide || w * ht > kMaxSurfacePixels)
    return std::nullopt;
  return DibFormat{static_cast<int32_t>(w), static_cast<int32_t>(ht), h.biHeight > 0};
}

}  // namespace zxp::gfx
