#include "foundation/FaceCache.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>
#include <string_view>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/GdiRaii.h"

namespace zxp::foundation {

namespace {

// The header of a face's pixels: top-down, 32 bits per pixel.
BITMAPINFO faceInfo(int32_t width, int32_t height) {
  BITMAPINFO info{};
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  return info;
}

}  // namespace

FaceCache& FaceCache::shared() {
  static FaceCache cache;
  return cache;
}

FaceCache& FaceCache::looks() {
  static FaceCache cache(kMaxLooks, kMaxLookPixels, true, true);
  return cache;
}

void FaceCache::clear() {
  faces_.clear();
  pixels_ = 0;
  recentMisses_.fill(0);
}

bool FaceCache::missedRecently(const FaceKey& key) {
  // A hash stands for the key: two keys sharing one only means a face kept that is not drawn
  // again.
  uint64_t h = std::hash<std::string_view>()(key.text);
  const auto mix = [&h](uint64_t v) { h = (h ^ v) * 0x100000001B3ull; };
  mix(reinterpret_cast<uintptr_t>(key.owner));
  mix(static_cast<uint32_t>(key.width));
  mix(static_cast<uint32_t>(key.height));
  for (uint32_t v : key.values) mix(v);
  h |= 1;  // never the empty slot's 0
  if (std::find(recentMisses_.begin(), recentMisses_.end(), h) != recentMisses_.end()) return true;
  recentMisses_[nextMiss_] = h;
  nextMiss_ = (nextMiss_ + 1) % kRecentMisses;
  return false;
}

bool FaceCache::drawFace(HDC dc, const FaceKey& key, PaintFn paint, const void* painter) {
  const int64_t area = int64_t{key.width} * key.height;
  // One look at the DC's state: where it would paint differently from a plain memory DC, the
  // face is painted in place.
  const gfx::DeviceContext* d = gfx::dcFromHandle(dc);
  const bool cacheable = d && !bypassed_ && key.width > 0 && key.height > 0 &&
                         area <= static_cast<int64_t>(maxPixels_ / 8) && d->state().rop2 == R2_COPYPEN &&
                         d->state().viewportOrg.x == 0 && d->state().viewportOrg.y == 0;
  if (!cacheable) {
    paint(painter, dc);
    return false;
  }
  // Shrinking stretches follow the DC's stretch mode, so a face is painted with the mode of the
  // DC it is shown in.
  const int stretchMode = d->state().stretchMode;
  Face* face = nullptr;
  for (Face& f : faces_)
    if (f.stretchMode == stretchMode && f.key == key) {
      face = &f;
      break;
    }
  if (!face && keepOnSecondMiss_ && !missedRecently(key)) {
    paint(painter, dc);
    return false;
  }
  if (!face) face = paintNew(dc, key, stretchMode, paint, painter);
  if (!face) {
    paint(painter, dc);
    return false;
  }
  face->used = ++clock_;
  blit(dc, *face);
  return true;
}

FaceCache::Face* FaceCache::paintNew(HDC dc, const FaceKey& key, int stretchMode, PaintFn paint, const void* painter) {
  const size_t area = static_cast<size_t>(key.width) * static_cast<size_t>(key.height);
  Face face{key, stretchMode, 0, nullptr};
  try {
    face.pixels = std::make_shared_for_overwrite<uint32_t[]>(area);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  {
    MemoryDC memory(dc);
    if (!memory) return nullptr;
    const BITMAPINFO info = faceInfo(key.width, key.height);
    void* bits = nullptr;
    GdiObject bitmap(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, 0, 0));
    if (!bitmap || !bits) return nullptr;
    Selection selected(memory.get(), bitmap.get());
    if (!selected.ok()) return nullptr;
    SetStretchBltMode(memory.get(), stretchMode);
    paint(painter, memory.get());
    std::memcpy(face.pixels.get(), bits, area * sizeof(uint32_t));
  }
  // Room for the new face: the least recently used ones leave.
  while (!faces_.empty() && (faces_.size() >= maxFaces_ || pixels_ + area > maxPixels_)) {
    auto last = std::min_element(faces_.begin(), faces_.end(),
                                 [](const Face& a, const Face& b) { return a.used < b.used; });
    pixels_ -= static_cast<size_t>(last->key.width) * static_cast<size_t>(last->key.height);
    faces_.erase(last);
  }
  faces_.push_back(std::move(face));
  pixels_ += area;
  return &faces_.back();
}

void FaceCache::blit(HDC dc, const Face& face) const {
  if (shareWhole_ && gfx::showSharedPixels(dc, face.pixels, face.key.width, face.key.height)) return;
  const BITMAPINFO info = faceInfo(face.key.width, face.key.height);
  SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(face.key.width), static_cast<DWORD>(face.key.height), 0, 0, 0,
                    static_cast<UINT>(face.key.height), face.pixels.get(), &info, DIB_RGB_COLORS);
}

}  // namespace zxp::foundation
