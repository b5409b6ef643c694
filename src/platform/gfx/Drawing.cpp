#include "platform/gfx/Drawing.h"

#include "platform/gfx/SysColors.h"

namespace zxp::gfx {

Pen selectedPen(const DeviceContext& dc) {
  const PenObj* p = dc.state().penObj.get();
  if (!p || p->style == PS_NULL) return Pen{};
  return Pen{true, p->style, std::max(p->width, 1), oleToPixel(p->color)};
}

Brush selectedBrush(const DeviceContext& dc) {
  const BrushObj* b = dc.state().brushObj.get();
  if (!b || b->style == BS_NULL) return Brush{};
  return Brush{true, oleToPixel(b->color)};
}

bool resolveBrush(HBRUSH h, Brush& out) {
  constexpr HBRUSH kLastSysColorBrush = COLOR_MENUBAR + 1;
  if (h >= 1 && h <= kLastSysColorBrush) {
    out = Brush{true, oleToPixel(GetSysColor(static_cast<int>(h) - 1))};
    return true;
  }
  const BrushObj* b = brushFromHandle(h);
  if (!b) return false;
  out = b->style == BS_NULL ? Brush{} : Brush{true, oleToPixel(b->color)};
  return true;
}

Box clipBox(DeviceContext& dc) {
  if (!dc.surface()) return Box{};
  return Box::of(dc.clip().box());
}

Span clipRows(const Box& clip, int64_t top, int64_t bottom) {
  return Span{std::max(top, clip.top), std::min(bottom, clip.bottom)};
}

Rect clipRect(const Box& clip, const Box& b) {
  Box c{std::max(b.left, clip.left), std::max(b.top, clip.top), std::min(b.right, clip.right),
        std::min(b.bottom, clip.bottom)};
  if (c.empty()) return Rect{};
  return Rect{clamp32(c.left), clamp32(c.top), clamp32(c.right), clamp32(c.bottom)};
}

void fillRow(DeviceContext& dc, const Box& clip, int64_t y, Span s, Pixel p, int rop2) {
  if (y < clip.top || y >= clip.bottom) return;
  const int64_t left = std::max(s.left, clip.left);
  const int64_t right = std::min(s.right, clip.right);
  if (left < right) fillSpan(dc, clamp32(y), clamp32(left), clamp32(right), p, rop2);
}

BoxFiller::BoxFiller(DeviceContext& dc) : dc_(dc), clip_(clipBox(dc)), rop2_(dc.state().rop2) {
  if (dc.surface() && rop2_ == R2_COPYPEN && dc.clip().rects().size() == 1) direct_ = dc.surface();
}

void BoxFiller::fill(const Box& b, Pixel p) {
  const Rect r = clipRect(clip_, b);
  if (r.empty()) return;
  if (direct_) direct_->fillRect(r, p & 0x00FFFFFF);
  else fillRect(dc_, r, p, rop2_);
}

std::array<Box, 4> frameSides(const Box& b) {
  if (b.empty()) return {};
  const bool tall = b.height() > 1;
  const bool wide = b.width() > 1;
  return {Box{b.left, b.top, b.right, b.top + 1},
          tall ? Box{b.left, b.bottom - 1, b.right, b.bottom} : Box{},
          Box{b.left, b.top + 1, b.left + 1, b.bottom - 1},
          wide ? Box{b.right - 1, b.top + 1, b.right, b.bottom - 1} : Box{}};
}

}  // namespace zxp::gfx
