#include "foundation/FaceCache.h"

#include <algorithm>
#include <cstring>
#include <new>

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
  static FaceCache cache(kMaxLooks, kMaxLookPixels);
  return cache;
}

void FaceCache::clear() {
  faces_.clear();
  pixels_ = 0;
}

bool FaceCache::drawFace(HDC dc, const FaceKey& key, PaintFn paint, const void* painter) {
  const int64_t area = int64_t{key.width} * key.height;
  POINT origin{0, 0};
  const bool cacheable = !bypassed_ && key.width > 0 && key.height > 0 && area <= static_cast<int64_t>(maxPixels_ / 8) &&
                         GetROP2(dc) == R2_COPYPEN && GetViewportOrgEx(dc, &origin) && origin.x == 0 &&
                         origin.y == 0;
  if (!cacheable) {
    paint(painter, dc);
    return false;
  }
  // Shrinking stretches follow the DC's stretch mode, so a face is painted with the mode of the
  // DC it is shown in.
  const int stretchMode = GetStretchBltMode(dc);
  auto found = std::find_if(faces_.begin(), faces_.end(),
                            [&](const Face& f) { return f.key == key && f.stretchMode == stretchMode; });
  if (found != faces_.end()) {
    std::rotate(faces_.begin(), found, found + 1);
  } else if (!paintNew(dc, key, stretchMode, paint, painter)) {
    paint(painter, dc);
    return false;
  }
  blit(dc, faces_.front());
  return true;
}

bool FaceCache::paintNew(HDC dc, const FaceKey& key, int stretchMode, PaintFn paint, const void* painter) {
  const size_t area = static_cast<size_t>(key.width) * static_cast<size_t>(key.height);
  Face face{key, stretchMode, nullptr};
  try {
    face.pixels = std::make_unique_for_overwrite<uint32_t[]>(area);
  } catch (const std::bad_alloc&) {
    return false;
  }
  {
    MemoryDC memory(dc);
    if (!memory) return false;
    const BITMAPINFO info = faceInfo(key.width, key.height);
    void* bits = nullptr;
    GdiObject bitmap(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, 0, 0));
    if (!bitmap || !bits) return false;
    Selection selected(memory.get(), bitmap.get());
    if (!selected.ok()) return false;
    SetStretchBltMode(memory.get(), stretchMode);
    paint(painter, memory.get());
    std::memcpy(face.pixels.get(), bits, area * sizeof(uint32_t));
  }
  // Room for the new face: the least recently used ones leave.
  while (!faces_.empty() && (faces_.size() >= maxFaces_ || pixels_ + area > maxPixels_)) {
    const Face& last = faces_.back();
    pixels_ -= static_cast<size_t>(last.key.width) * static_cast<size_t>(last.key.height);
    faces_.pop_back();
  }
  faces_.insert(faces_.begin(), std::move(face));
  pixels_ += area;
  return true;
}

void FaceCache::blit(HDC dc, const Face& face) const {
  const BITMAPINFO info = faceInfo(face.key.width, face.key.height);
  SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(face.key.width), static_cast<DWORD>(face.key.height), 0, 0, 0,
                    static_cast<UINT>(face.key.height), face.pixels.get(), &info, DIB_RGB_COLORS);
}

}  // namespace zxp::foundation
