#include "platform/gfx/Surface.h"

#include <pixman.h>

#include <algorithm>
#include <new>

namespace zxp::gfx {

std::shared_ptr<Surface> Surface::create(int32_t width, int32_t height, bool bottomUp) {
  if (width < 1 || height < 1 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) return nullptr;
  if (int64_t{width} * height > kMaxSurfacePixels) return nullptr;
  std::shared_ptr<Surface> s(new (std::nothrow) Surface());
  if (!s) return nullptr;
  s->count_ = static_cast<size_t>(width) * static_cast<size_t>(height);
  try {
    s->pixels_ = std::make_shared<uint32_t[]>(s->count_, 0u);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  s->width_ = width;
  s->height_ = height;
  s->bottomUp_ = bottomUp;
  return s;
}

bool Surface::show(std::shared_ptr<uint32_t[]> pixels) {
  if (!pixels || bottomUp_) return false;
  pixels_ = std::move(pixels);
  shared_ = true;
  return true;
}

void Surface::takeShown() {
  shared_ = false;
  if (pixels_.use_count() == 1) return;  // nobody else holds them any more: they are ours
  std::shared_ptr<uint32_t[]> own = std::make_shared_for_overwrite<uint32_t[]>(count_);
  std::copy_n(pixels_.get(), count_, own.get());
  pixels_ = std::move(own);
}

void Surface::fill(uint32_t value) { fillRect(bounds(), value); }

void Surface::fillRect(const Rect& r, uint32_t value) {
  if (r.empty()) return;
  if (r.width() < 16) {  // a few pixels: cheaper than pixman's dispatch
    for (int32_t y = r.top; y < r.bottom; ++y)
      for (int32_t x = r.left; x < r.right; ++x) row(y)[x] = value;
    return;
  }
  if (r.height() == 1) {  // one row (a shape's row span): a plain fill, without pixman's dispatch
    std::fill(row(r.top) + r.left, row(r.top) + r.right, value);
    return;
  }
  // In memory the rectangle's rows are contiguous either way: a bottom-up surface holds picture
  // rows [top, bottom) at memory rows [height - bottom, height - top).
  const int32_t memTop = bottomUp_ ? height_ - r.bottom : r.top;
  if (pixman_fill(own(), width_, 32, r.left, memTop, r.width(), r.height(), value)) return;
  for (int32_t y = r.top; y < r.bottom; ++y) std::fill(row(y) + r.left, row(y) + r.right, value);
}

}  // namespace zxp::gfx
