#include "platform/gfx/Png.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/services/FileIo.h"

namespace zxp::gfx {

std::vector<uint8_t> encodePng(const Surface& s, bool withAlpha) {
  png_image img;
  std::memset(&img, 0, sizeof img);
  img.version = PNG_IMAGE_VERSION;
  img.width = static_cast<png_uint_32>(s.width());
  img.height = static_cast<png_uint_32>(s.height());
  // 0xAARRGGBB in little-endian memory is B, G, R, A.
  img.format = PNG_FORMAT_BGRA;  // opaque pictures get alpha 255 below
  std::vector<uint32_t> top(static_cast<size_t>(s.width()) * s.height());
  for (int32_t y = 0; y < s.height(); ++y) {
    const uint32_t* src = s.row(y);
    uint32_t* dst = top.data() + static_cast<size_t>(y) * s.width();
    for (int32_t x = 0; x < s.width(); ++x) dst[x] = withAlpha ? src[x] : (src[x] | 0xFF000000u);
  }
  // Encoded in memory (first asking for the size), so that the file is written in one piece.
  png_alloc_size_t size = 0;
  std::vector<uint8_t> out;
  if (png_image_write_to_memory(&img, nullptr, &size, 0, top.data(), 0, nullptr) && size > 0) {
    out.resize(size);
    if (!png_image_write_to_memory(&img, out.data(), &size, 0, top.data(), 0, nullptr)) out.clear();
    out.resize(std::min<size_t>(out.size(), size));
  }
  png_image_free(&img);
  return out;
}

bool writePng(const Surface& s, const std::string& path, bool withAlpha, std::string* error) {
  const std::vector<uint8_t> bytes = encodePng(s, withAlpha);
  if (bytes.empty()) {
    if (error) *error = "the picture could not be encoded";
    return false;
  }
  const services::FileOutcome written = services::writeFileAtomically(path, bytes);
  if (!written && error) *error = written.reason;
  return static_cast<bool>(written);
}

std::shared_ptr<Surface> readPng(const std::string& path) {
  png_image img;
  std::memset(&img, 0, sizeof img);
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&img, path.c_str())) return nullptr;
  img.format = PNG_FORMAT_BGRA;
  auto s = Surface::create(static_cast<int32_t>(img.width), static_cast<int32_t>(img.height));
  if (!s) {
    png_image_free(&img);
    return nullptr;
  }
  if (!png_image_finish_read(&img, nullptr, s->bits(), 0, nullptr)) {
    png_image_free(&img);
    return nullptr;
  }
  return s;
}

}  // namespace zxp::gfx
