// The blit engine behind BitBlt, StretchBlt, StretchDIBits, SetDIBitsToDevice, AlphaBlend and
// TransparentBlt: the geometry of a (possibly stretched or mirrored) copy from a source picture
// onto a device context, clipped by the DC's clip region and by the source picture's bounds,
// and a row-oriented driver that hands each visible destination run to a pixel kernel.
//
// Geometry follows GDI:
//   - an area is an origin and a signed extent; a negative extent covers the pixels
//     [origin + extent + 1, origin + 1), and an axis is mirrored when the destination and source
//     extents have opposite signs;
//   - enlarging is nearest-neighbour: destination pixel i of n takes the source pixel of m under
//     its centre, and a centre exactly on the boundary of two source pixels takes the lower one:
//     ceil((2i + 1) * m / (2n)) - 1 (10 rows to 15 read 0, 0, 1, 2, 2, 3, ...);
//   - shrinking gathers: source pixel j goes to the destination pixel under its centre, by the
//     same rule (10 rows to 4 merge as {0, 1, 2}, {3, 4}, {5, 6, 7}, {8, 9}), and the DC's stretch
//     mode combines each group: AND (BLACKONWHITE, the default), OR (WHITEONBLACK), the average
//     of each channel (HALFTONE), or, for COLORONCOLOR (DELETESCANS), the one pixel the
//     nearest-neighbour rule picks; each axis shrinks or enlarges on its own;
//   - destination pixels whose source pixel lies outside the source picture are left unchanged.
// Kernels work on contiguous runs (destination pointer, source pointer, count); for stretched
// blits the driver gathers the source run first, so every kernel is a straight loop (or memcpy).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/gfx/DeviceContext.h"

namespace zxp::gfx {

// A read-only view of 32-bit pixels: row(y) is the picture's row y counted from the top,
// whatever the memory order (stride is negative for bottom-up memory).
struct PixelView {
  const uint32_t* top = nullptr;  // the pixel (x0, y0)
  ptrdiff_t stride = 0;           // in pixels
  int32_t width = 0;
  int32_t height = 0;
  int32_t x0 = 0;  // a view of part of a picture keeps the picture's coordinates
  int32_t y0 = 0;

  const uint32_t* at(int32_t x, int32_t y) const {
    return top + static_cast<ptrdiff_t>(y - y0) * stride + (x - x0);
  }
  static PixelView of(const Surface& s);
  // A buffer of width x height pixels, bottom row first when bottomUp.
  static PixelView ofBuffer(const void* bits, int32_t width, int32_t height, bool bottomUp);
  // True when the view's memory and the surface's memory share any byte.
  bool overlaps(const Surface& s) const;
};

// The source index (0 .. srcLen - 1) that destination index i (0 .. dstLen - 1) of a stretched
// axis reads: the source pixel under the destination pixel's centre, the lower one on a boundary.
// Lengths are at most 2^31, so (2i + 1) * srcLen stays below 2^63.
constexpr int64_t stretchedIndex(int64_t i, int64_t dstLen, int64_t srcLen) {
  return ((2 * i + 1) * srcLen - 1) / (2 * dstLen);
}

// An area in GDI terms: origin and signed extents (64-bit so that no sum overflows).
struct BlitArea {
  int64_t x = 0;
  int64_t y = 0;
  int64_t w = 0;
  int64_t h = 0;
};

// The clipped geometry of one blit. Destination coordinates are device coordinates.
class BlitPlan {
 public:
  // Plans drawing srcArea of a srcWidth x srcHeight picture onto dstArea of the DC. Both areas
  // must have non-zero extents.
  // stretchMode is the DC's mode for StretchBlt and StretchDIBits; the other blits stretch
  // nearest-neighbour (COLORONCOLOR).
  BlitPlan(DeviceContext& dc, const BlitArea& dstArea, const BlitArea& srcArea, int32_t srcWidth,
           int32_t srcHeight, int stretchMode = COLORONCOLOR);

  // Nothing of the destination is visible (or no source pixel maps onto a visible pixel).
  bool empty() const { return visible_.empty(); }
  // The bounding box of the visible destination pixels.
  const Rect& visible() const { return visible_; }
  // 1:1 and not mirrored: source = destination + (offsetX, offsetY).
  bool identity() const { return identity_; }
  int32_t offsetX() const { return offX_; }
  int32_t offsetY() const { return offY_; }
  // The source column / row for a visible destination column / row.
  int32_t srcX(int32_t dx) const { return identity_ ? dx + offX_ : mapX_[dx - visible_.left]; }
  int32_t srcY(int32_t dy) const { return identity_ ? dy + offY_ : mapY_[dy - visible_.top]; }
  // Neighbouring visible columns read neighbouring source columns, left to right (always so for
  // 1:1; for a stretch only when it is vertical alone), so a row's run reads one source run.
  bool straightColumns() const { return identity_ || straightColumns_; }
  // The bounding box of the source pixels that the visible destination reads.
  Rect sourceBox() const;
  // A shrinking axis whose stretch mode combines groups of source pixels.
  bool merging() const { return mergeOp_ != 0; }
  // The pixels of destination row y, columns [x0, x1), gathered from the source: each the
  // source pixel its column and row map to, or the combination of its groups when merging.
  void gather(const PixelView& src, int32_t y, int32_t x0, int32_t x1, uint32_t* out) const;

  // Calls fn(rect) for each visible destination rectangle (the clip's rectangles within
  // visible()), top to bottom.
  template <class Fn>
  void forEachRect(DeviceContext& dc, Fn&& fn) const {
    if (empty()) return;
    for (const auto& b : dc.clip().rects()) {
      Rect c = visible_.intersect(Rect{b.x1, b.y1, b.x2, b.y2});
      if (!c.empty()) fn(c);
    }
  }

 private:
  Rect visible_;
  bool identity_ = false;
  bool straightColumns_ = false;
  int32_t offX_ = 0;
  int32_t offY_ = 0;
  std::vector<int32_t> mapX_;
  std::vector<int32_t> mapY_;
  // When merging: per visible destination column / row the source range [first, end) it
  // combines, within the source picture (one pixel, the mapped one, along an axis not shrunk).
  int mergeOp_ = 0;  // 0 none, else the stretch mode
  std::vector<std::pair<int32_t, int32_t>> groupX_;
  std::vector<std::pair<int32_t, int32_t>> groupY_;
};

// Kernel signature: void(uint32_t* dst, const uint32_t* src, int32_t n).
// Runs the kernel over every visible destination run of the plan, reading src. Handles a source
// that shares memory with the destination surface (scrolling within one surface, a DIB section
// painted from its own bits) as memmove would: the result is as if the source had been copied
// away first.
template <class Kernel>
void blitRuns(DeviceContext& dc, const BlitPlan& plan, const PixelView& src, Kernel&& kernel);

// Runs kernel(uint32_t* dst, int32_t n) over every visible run of a destination rectangle
// (device coordinates).
template <class Kernel>
void fillRuns(DeviceContext& dc, const Rect& r, Kernel&& kernel) {
  Surface* s = dc.surface();
  if (!s || r.empty()) return;
  for (const auto& b : dc.clip().rects()) {
    Rect c = r.intersect(Rect{b.x1, b.y1, b.x2, b.y2});
    if (c.empty()) continue;
    for (int32_t y = c.top; y < c.bottom; ++y) kernel(s->row(y) + c.left, c.width());
  }
}

// The ROP3 index (bits 16..23 of a raster operation) and what it reads.
constexpr uint8_t rop3Index(DWORD rop) { return static_cast<uint8_t>((rop >> 16) & 0xFF); }
constexpr bool rop3UsesSource(uint8_t idx) { return ((idx >> 2) & 0x33) != (idx & 0x33); }
constexpr bool rop3UsesPattern(uint8_t idx) { return ((idx >> 4) & 0x0F) != (idx & 0x0F); }
// Evaluates any ROP3 on pattern, source and destination bits.
uint32_t applyRop3(uint8_t idx, uint32_t p, uint32_t s, uint32_t d);

// Blits srcArea of src onto dstArea (device coordinates) of the DC with a raster operation.
// pattern is the brush pixel (ignored by ROPs without a pattern). SRCCOPY copies all 32 bits of
// each pixel; every other ROP produces 0x00RRGGBB pixels.
void ropBlit(DeviceContext& dc, const BlitArea& dstArea, const PixelView& src,
             const BlitArea& srcArea, DWORD rop, Pixel pattern);
// A ROP that reads no source over a device rectangle (PatBlt, and BitBlt with such ROPs).
void ropFill(DeviceContext& dc, const Rect& r, DWORD rop, Pixel pattern);

// The pixel layout a BITMAPINFO describes, for the format the platform reads and writes:
// 32 bits per pixel, BI_RGB, DIB_RGB_COLORS, biWidth > 0, biHeight != 0 (positive: bottom-up),
// sizes within the surface limits. nullopt for anything else.
struct DibFormat {
  int32_t width = 0;
  int32_t height = 0;  // always positive
  bool bottomUp = true;
  size_t bytes() const { return static_cast<size_t>(width) * static_cast<size_t>(height) * 4; }
};
std::optional<DibFormat> dibFormat(const BITMAPINFO* bmi, UINT usage);

// The device rectangle covered by an area: a negative extent covers [x + w + 1, x + 1).
// Clamped to the 32-bit range.
Rect areaRect(const BlitArea& a);

// ---- Template definitions ----------------------------------------------------------------------

namespace detail {
std::vector<uint32_t>& scratchRow(size_t n);
}

template <class Kernel>
void blitRuns(DeviceContext& dc, const BlitPlan& plan, const PixelView& src, Kernel&& kernel) {
  Surface* dst = dc.surface();
  if (!dst || plan.empty()) return;

  PixelView view = src;
  std::vector<uint32_t> snapshot;
  if (src.overlaps(*dst)) {
    // The source is (part of) the destination's memory. A 1:1 blit from the same surface through
    // one clip rectangle runs rows in an order that reads each source row before it is
    // overwritten; anything else copies the source pixels it needs away first.
    const PixelView whole = PixelView::of(*dst);
    const bool sameSurface = src.top == whole.top && src.stride == whole.stride && src.x0 == 0 && src.y0 == 0;
    if (sameSurface && plan.identity() && dc.clip().rects().size() == 1) {
      Rect c = plan.visible();
      std::vector<uint32_t>& tmp = detail::scratchRow(static_cast<size_t>(c.width()));
      const bool upward = plan.offsetY() < 0;  // source above: walk bottom to top
      for (int32_t i = 0; i < c.height(); ++i) {
        int32_t y = upward ? c.bottom - 1 - i : c.top + i;
        const uint32_t* s = src.at(c.left + plan.offsetX(), y + plan.offsetY());
        std::copy(s, s + c.width(), tmp.data());
        kernel(dst->row(y) + c.left, tmp.data(), c.width());
      }
      return;
    }
    Rect box = plan.sourceBox();
    snapshot.resize(static_cast<size_t>(box.width()) * box.height());
    for (int32_t y = box.top; y < box.bottom; ++y)
      std::copy(src.at(box.left, y), src.at(box.left, y) + box.width(),
                snapshot.data() + static_cast<size_t>(y - box.top) * box.width());
    view = PixelView{snapshot.data(), box.width(), box.width(), box.height(), box.left, box.top};
  }

  if (plan.identity()) {
    // Rows go in the source's memory order (a bottom-up buffer from its last row), which keeps
    // the reads ascending through memory.
    const bool upward = view.stride < 0;
    plan.forEachRect(dc, [&](const Rect& c) {
      for (int32_t i = 0; i < c.height(); ++i) {
        int32_t y = upward ? c.bottom - 1 - i : c.top + i;
        kernel(dst->row(y) + c.left, view.at(c.left + plan.offsetX(), y + plan.offsetY()), c.width());
      }
    });
    return;
  }
  if (plan.merging()) {
    std::vector<uint32_t>& tmp = detail::scratchRow(static_cast<size_t>(plan.visible().width()));
    plan.forEachRect(dc, [&](const Rect& c) {
      for (int32_t y = c.top; y < c.bottom; ++y) {
        plan.gather(view, y, c.left, c.right, tmp.data());
        kernel(dst->row(y) + c.left, tmp.data(), c.width());
      }
    });
    return;
  }
  if (plan.straightColumns()) {
    // A vertical stretch alone: each destination row is one run of its source row.
    plan.forEachRect(dc, [&](const Rect& c) {
      for (int32_t y = c.top; y < c.bottom; ++y)
        kernel(dst->row(y) + c.left, view.at(plan.srcX(c.left), plan.srcY(y)), c.width());
    });
    return;
  }
  std::vector<uint32_t>& tmp = detail::scratchRow(static_cast<size_t>(plan.visible().width()));
  plan.forEachRect(dc, [&](const Rect& c) {
    for (int32_t y = c.top; y < c.bottom; ++y) {
      const uint32_t* s = view.at(view.x0, plan.srcY(y));
      for (int32_t x = c.left; x < c.right; ++x)
        tmp[static_cast<size_t>(x - c.left)] = s[plan.srcX(x) - view.x0];
      kernel(dst->row(y) + c.left, tmp.data(), c.width());
    }
  });
}

}  // namespace zxp::gfx
