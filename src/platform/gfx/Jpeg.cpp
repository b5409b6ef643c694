// JPEG decoding through libjpeg(-turbo). Errors come back from the library by longjmp to the one
// function that called it; the state that must survive the jump lives in the caller's frame.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

#include "platform/base/LazyLibrary.h"
#include "platform/gfx/ImageFiles.h"

namespace zxp::gfx {

namespace {

// libjpeg, opened on the first JPEG decoded (base/LazyLibrary.h): a run without JPEG pictures
// never loads it.
namespace lib {
#ifdef _WIN32
constinit base::LazyLibrary jpeg{"libjpeg-62.dll"};
#else
constinit base::LazyLibrary jpeg{"libjpeg.so.62"};
#endif
#define ZXP_JPEG_FUNCTION(name) constinit base::LazyFunction<decltype(::name)> name{jpeg, #name}
ZXP_JPEG_FUNCTION(jpeg_std_error);
ZXP_JPEG_FUNCTION(jpeg_CreateDecompress);
ZXP_JPEG_FUNCTION(jpeg_destroy_decompress);
ZXP_JPEG_FUNCTION(jpeg_finish_decompress);
ZXP_JPEG_FUNCTION(jpeg_mem_src);
ZXP_JPEG_FUNCTION(jpeg_read_header);
ZXP_JPEG_FUNCTION(jpeg_read_scanlines);
ZXP_JPEG_FUNCTION(jpeg_start_decompress);
#undef ZXP_JPEG_FUNCTION
}  // namespace lib

struct JpegJob {
  jpeg_decompress_struct cinfo{};
  jpeg_error_mgr err{};
  jpeg_progress_mgr progress{};
  std::jmp_buf jump{};
  char message[JMSG_LENGTH_MAX] = {};
  long warnings = 0;
  std::shared_ptr<Surface> out;
  std::vector<uint8_t> row;
};

JpegJob& jobOf(j_common_ptr c) { return *static_cast<JpegJob*>(c->client_data); }

[[noreturn]] void onError(j_common_ptr c) {
  JpegJob& job = jobOf(c);
  (*c->err->format_message)(c, job.message);
  std::longjmp(job.jump, 1);
}

// Corrupt data makes the library warn and go on. A file that ends early is an error (not a
// picture padded with grey); endless warnings and scans end the decoding too, so a hostile file
// cannot keep it busy.
void onMessage(j_common_ptr c, int level) {
  JpegJob& job = jobOf(c);
  if (level < 0 && c->err->msg_code == JWRN_JPEG_EOF) {
    (*c->err->format_message)(c, job.message);
    std::longjmp(job.jump, 1);
  }
  if (level < 0 && ++job.warnings > 10000) {
    std::snprintf(job.message, sizeof job.message, "too many corrupt-data warnings");
    std::longjmp(job.jump, 1);
  }
}

void onProgress(j_common_ptr c) {
  JpegJob& job = jobOf(c);
  if (job.cinfo.input_scan_number > 500) {
    std::snprintf(job.message, sizeof job.message, "too many scans");
    std::longjmp(job.jump, 1);
  }
}

// Runs the library; false (with job.message) on any error.
bool run(JpegJob& job, Bytes file) {
  job.cinfo.err = lib::jpeg_std_error(&job.err);
  job.err.error_exit = onError;
  job.err.emit_message = onMessage;
  job.cinfo.client_data = &job;
  if (setjmp(job.jump)) {
    lib::jpeg_destroy_decompress(&job.cinfo);
    return false;
  }
  lib::jpeg_CreateDecompress(&job.cinfo, JPEG_LIB_VERSION, sizeof(jpeg_decompress_struct));
  job.progress.progress_monitor = onProgress;
  job.cinfo.progress = &job.progress;
  job.cinfo.mem->max_memory_to_use = 256L << 20;
  lib::jpeg_mem_src(&job.cinfo, file.data(), static_cast<unsigned long>(file.size()));
  lib::jpeg_read_header(&job.cinfo, TRUE);
  const int64_t w = job.cinfo.image_width, h = job.cinfo.image_height;
  if (!imageSizeAllowed(w, h)) {
    std::snprintf(job.message, sizeof job.message, "%s", imageSizeRefused(w, h).c_str());
    lib::jpeg_destroy_decompress(&job.cinfo);
    return false;
  }
  job.cinfo.out_color_space = JCS_RGB;
  lib::jpeg_start_decompress(&job.cinfo);
  job.out = Surface::create(static_cast<int32_t>(job.cinfo.output_width), static_cast<int32_t>(job.cinfo.output_height));
  if (!job.out || job.cinfo.output_components != 3) {
    std::snprintf(job.message, sizeof job.message, job.out ? "unsupported output" : "out of memory");
    lib::jpeg_destroy_decompress(&job.cinfo);
    return false;
  }
  job.row.resize(static_cast<size_t>(job.cinfo.output_width) * 3);
  while (job.cinfo.output_scanline < job.cinfo.output_height) {
    const int32_t y = static_cast<int32_t>(job.cinfo.output_scanline);
    JSAMPROW rows[1] = {job.row.data()};
    if (lib::jpeg_read_scanlines(&job.cinfo, rows, 1) != 1) break;
    uint32_t* dst = job.out->row(y);
    for (int32_t x = 0; x < job.out->width(); ++x) {
      const uint8_t* p = job.row.data() + 3 * x;
      dst[x] = 0xFF000000u | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    }
  }
  lib::jpeg_finish_decompress(&job.cinfo);
  lib::jpeg_destroy_decompress(&job.cinfo);
  return true;
}

}  // namespace

std::optional<Image> decodeJpeg(Bytes file, std::string& error) {
  std::string why;
  if (!lib::jpeg.open(&why)) {
    error = "JPEG: decoding is not available (" + why + ")";
    return std::nullopt;
  }
  auto job = std::make_unique<JpegJob>();
  if (!run(*job, file)) {
    error = std::string("JPEG: ") + job->message;
    return std::nullopt;
  }
  return Image{job->out, false};
}

}  // namespace zxp::gfx
