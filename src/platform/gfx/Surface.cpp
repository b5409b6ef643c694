#include "platform/gfx/Surface.h"

#include <pixman.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <mutex>
#include <new>
#include <tuple>

namespace zxp::gfx {

namespace {

// Zero-filled pixels from calloc, which need not clear memory fresh from the system (and the
// allocator maps large pictures from the system on their own): creating a surface that is
// painted over at once no longer clears it twice.
std::shared_ptr<uint32_t[]> zeroedPixels(size_t count) {
  void* p = std::calloc(count, sizeof(uint32_t));
  if (!p) throw std::bad_alloc();
  return std::shared_ptr<uint32_t[]>(static_cast<uint32_t*>(p), [](uint32_t* q) { std::free(q); });
}

}  // namespace

std::shared_ptr<Surface> Surface::create(int32_t width, int32_t height, bool bottomUp) {
  if (width < 1 || height < 1 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) return nullptr;
  if (int64_t{width} * height > kMaxSurfacePixels) return nullptr;
  std::shared_ptr<Surface> s(new (std::nothrow) Surface());
  if (!s) return nullptr;
  s->count_ = static_cast<size_t>(width) * static_cast<size_t>(height);
  try {
    s->pixels_ = zeroedPixels(s->count_);
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

bool Surface::sharePixelsOf(Surface& from) {
  if (&from == this || bottomUp_ || from.bottomUp_ || from.width_ != width_ || from.height_ != height_) return false;
  pixels_ = from.pixels_;
  shared_ = true;
  from.shared_ = true;
  return true;
}

void Surface::fill(uint32_t value) { fillRect(bounds(), value); }

bool Surface::fillShared(uint32_t value) {
  if (bottomUp_) return false;
  // The kept uniform pictures, by size and value. The table holds each one too, so a surface that
  // writes always copies first (it never takes over a picture the table would hand out again);
  // the pictures no surface shows any more are let go before another one is made.
  struct Key {
    int32_t width, height;
    uint32_t value;
    bool operator<(const Key& o) const {
      return std::tie(width, height, value) < std::tie(o.width, o.height, o.value);
    }
  };
  static std::mutex lock;
  static std::map<Key, std::shared_ptr<uint32_t[]>> kept;
  std::lock_guard<std::mutex> hold(lock);
  const Key key{width_, height_, value};
  auto it = kept.find(key);
  if (it == kept.end()) {
    std::erase_if(kept, [](const auto& e) { return e.second.use_count() == 1; });
    std::shared_ptr<uint32_t[]> pixels;
    try {
      pixels = zeroedPixels(count_);
    } catch (const std::bad_alloc&) {
      return false;
    }
    if (value != 0) std::fill_n(pixels.get(), count_, value);
    it = kept.emplace(key, std::move(pixels)).first;
  }
  pixels_ = it->second;
  shared_ = true;
  return true;
}

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
