#include "platform/gfx/ComputedPicture.h"

#include <algorithm>

#include "platform/gfx/BlitEngine.h"

namespace zxp {

using namespace zxp::gfx;

bool PaintComputedPicture(HDC hdc, int x, int y, int w, int h, const ComputedPicture& picture) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc || !dc->surface() || w <= 0 || h <= 0 || picture.width <= 0 || picture.height <= 0)
    return false;
  if (w != picture.width) return false;  // a horizontal stretch reads columns out of order
  const Point o = dc->state().viewportOrg;
  const BlitArea dst{int64_t{x} + o.x, int64_t{y} + o.y, w, h};
  const BlitArea src{0, 0, picture.width, picture.height};
  if (h == picture.height) {
    // 1:1, the usual case: the visible part is the area cut to each clip rectangle.
    const Rect area = areaRect(dst);
    Surface* s = dc->surface();
    for (const auto& b : dc->clip().rects()) {
      const Rect c = area.intersect(Rect{b.x1, b.y1, b.x2, b.y2});
      if (c.empty()) continue;
      for (int32_t row = c.top; row < c.bottom; ++row)
        picture.write(picture.self, static_cast<int32_t>(row - dst.y),
                      static_cast<int32_t>(c.left - dst.x), s->row(row) + c.left, c.width());
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
  for (size_t i = 0; i < count; ++i) {
    const RECT& r = rects[i].rect;
    if (r.right <= r.left || r.bottom <= r.top) continue;
    const Rect area = areaRect(BlitArea{int64_t{r.left} + o.x, int64_t{r.top} + o.y,
                                        int64_t{r.right} - r.left, int64_t{r.bottom} - r.top});
    const Pixel p = oleToPixel(rects[i].color);
    for (const auto& b : clip) {
      const Rect c = area.intersect(Rect{b.x1, b.y1, b.x2, b.y2});
      if (c.empty()) continue;
      for (int32_t y = c.top; y < c.bottom; ++y) std::fill_n(s->row(y) + c.left, c.width(), p);
    }
  }
  return true;
}

}  // namespace zxp
