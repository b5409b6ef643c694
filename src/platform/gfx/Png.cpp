#include "platform/gfx/Png.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

#include "platform/services/FileIo.h"

namespace zxp::gfx {

namespace {

void appendToVector(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void noFlush(png_structp) {}

bool hasTransparency(const Surface& s) {
  for (int32_t y = 0; y < s.height(); ++y) {
    const uint32_t* row = s.row(y);
    for (int32_t x = 0; x < s.width(); ++x)
      if ((row[x] >> 24) != 0xFF) return true;
  }
  return false;
}

// What one run of libpng's writer needs; kept apart so that nothing changes across its setjmp.
struct PngJob {
  png_structp png;
  png_infop info;
  std::vector<uint8_t>* out;
  png_bytepp rows;
  png_uint_32 width;
  png_uint_32 height;
  bool rgba;
};

bool runWriter(const PngJob& job) {
  if (setjmp(png_jmpbuf(job.png))) return false;
  png_set_write_fn(job.png, job.out, appendToVector, noFlush);
  png_set_IHDR(job.png, job.info, job.width, job.height, 8, job.rgba ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(job.png, job.info);
  // 0xAARRGGBB in little-endian memory is B, G, R, A.
  png_set_bgr(job.png);
  if (!job.rgba) png_set_filler(job.png, 0, PNG_FILLER_AFTER);
  png_write_image(job.png, job.rows);
  png_write_end(job.png, nullptr);
  return true;
}

}  // namespace

// One pass of libpng's writer straight from the surface's rows into a growing buffer: no copy of
// the pixels and no sizing pass. Our choice: a picture with no transparent pixel is written as RGB
// (three bytes a pixel, the fourth stripped by libpng as filler), which decodes to the same pixels
// with alpha 255; only a picture with transparency is written as RGBA.
std::vector<uint8_t> encodePng(const Surface& s, bool withAlpha) {
  std::vector<uint8_t> out;
  if (s.width() <= 0 || s.height() <= 0) return out;
  const bool rgba = withAlpha && hasTransparency(s);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return out;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return out;
  }
  std::vector<png_bytep> rows(static_cast<size_t>(s.height()));
  for (int32_t y = 0; y < s.height(); ++y)
    rows[static_cast<size_t>(y)] = reinterpret_cast<png_bytep>(const_cast<uint32_t*>(s.row(y)));
  // Room for a typical screen's compressed picture, so the buffer rarely grows.
  out.reserve(static_cast<size_t>(s.width()) * s.height() / 4 + 1024);
  const PngJob job{png, info, &out, rows.data(), static_cast<png_uint_32>(s.width()),
                   static_cast<png_uint_32>(s.height()), rgba};
  if (!runWriter(job)) out.clear();
  png_destroy_write_struct(&png, &info);
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
