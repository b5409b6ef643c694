// GIF decoding (the first frame) through stb_image, the one translation unit that compiles it.
// Only the GIF decoder is built in; the size is checked from the header before decoding.
#include <climits>

#include "platform/gfx/ImageFiles.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_GIF
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 32767
#include <stb_image.h>

namespace zxp::gfx {

std::optional<Image> decodeGif(Bytes file, std::string& error) {
  if (file.size() > static_cast<size_t>(INT_MAX)) return error = "GIF: file too large", std::nullopt;
  // The picture's size is the header's logical screen, read here: stb_image's header check
  // reports a refused size as "unknown image type", which would hide the real cause.
  if (file.size() < 13) return error = "GIF: header truncated", std::nullopt;
  const int64_t screenW = file[6] | (file[7] << 8), screenH = file[8] | (file[9] << 8);
  if (!imageSizeAllowed(screenW, screenH)) return error = "GIF: " + imageSizeRefused(screenW, screenH), std::nullopt;
  const auto* data = reinterpret_cast<const stbi_uc*>(file.data());
  const int len = static_cast<int>(file.size());
  int w = 0, h = 0, comp = 0;
  if (!stbi_info_from_memory(data, len, &w, &h, &comp)) return error = "GIF: damaged header", std::nullopt;
  if (!imageSizeAllowed(w, h)) return error = "GIF: " + imageSizeRefused(w, h), std::nullopt;
  stbi_uc* rgba = stbi_load_from_memory(data, len, &w, &h, &comp, 4);
  if (!rgba) return error = std::string("GIF: ") + stbi_failure_reason(), std::nullopt;
  auto s = Surface::create(w, h);
  if (!s) {
    stbi_image_free(rgba);
    return error = "out of memory", std::nullopt;
  }
  bool hasAlpha = false;
  for (int32_t y = 0; y < h; ++y) {
    uint32_t* row = s->row(y);
    const stbi_uc* src = rgba + static_cast<size_t>(y) * static_cast<size_t>(w) * 4;
    for (int32_t x = 0; x < w; ++x, src += 4) {
      row[x] = (uint32_t{src[3]} << 24) | (uint32_t{src[0]} << 16) | (uint32_t{src[1]} << 8) | src[2];
      hasAlpha |= src[3] != 0xFF;
    }
  }
  stbi_image_free(rgba);
  return Image{s, hasAlpha};
}

}  // namespace zxp::gfx
