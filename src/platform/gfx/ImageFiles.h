// Image files as bytes: the bitmap (.bmp), icon (.ico) and cursor (.cur) containers parsed here
// with strict bounds checks, PNG through libpng, JPEG through libjpeg, GIF (the first frame)
// through stb_image, icons inside executables and libraries (PE resources), and the encoders
// that save pictures.
//
// Every decoder treats its input as hostile: sizes are checked before anything is allocated, and
// a truncated, oversized or inconsistent file gives an error text, never a partial picture.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/gfx/Surface.h"

namespace zxp::gfx {

using Bytes = std::span<const uint8_t>;

// The largest picture decoded from a file (pixels); larger claims are refused before decoding.
constexpr int64_t kMaxPicturePixels = int64_t{1} << 24;
// The largest side of one icon image.
constexpr int32_t kMaxIconSide = 1024;
// The largest file read from disk for a picture or an icon.
constexpr size_t kMaxImageFileSize = size_t{64} << 20;

enum class ImageFormat { Unknown, Bmp, Ico, Cur, Png, Jpeg, Gif, Exe };
ImageFormat sniffImageFormat(Bytes data);

// The reason given for bytes in none of the formats read here.
extern const char kUnknownPictureFormat[];
// Whether a picture of w x h pixels is decoded: both sides 1 to kMaxSurfaceSide and at most
// kMaxPicturePixels in all. Otherwise imageSizeRefused says why, the same words for every format:
// "image of W x H pixels is too large (...)" or "image of W x H pixels is empty".
bool imageSizeAllowed(int64_t width, int64_t height);
std::string imageSizeRefused(int64_t width, int64_t height);

// A decoded picture: 0xAARRGGBB pixels with straight (not premultiplied) alpha, top-down.
// Without hasAlpha every alpha byte is 255.
struct Image {
  std::shared_ptr<Surface> pixels;
  bool hasAlpha = false;
};

// One image of an icon or cursor.
//   alpha:  `color` holds straight-alpha ARGB and the pixel's alpha decides how it is drawn;
//   !alpha: `color` is the XOR image (high byte 0) drawn through `mask`.
// `mask` is the AND mask, one byte per pixel (1: transparent, keep the destination; 0: opaque).
struct IconImage {
  std::shared_ptr<Surface> color;
  std::vector<uint8_t> mask;
  bool alpha = false;
  int bitCount = 32;
  Point hotspot{};  // cursors only
  int32_t width() const { return color ? color->width() : 0; }
  int32_t height() const { return color ? color->height() : 0; }
};

// The images of one icon or cursor resource, in file order.
struct IconSet {
  std::vector<IconImage> images;
  bool cursor = false;
};

// Each decoder returns nullopt and sets `error` on failure.
std::optional<Image> decodeBmp(Bytes file, std::string& error);  // with its BITMAPFILEHEADER
std::optional<Image> decodePng(Bytes file, std::string& error);
std::optional<Image> decodeJpeg(Bytes file, std::string& error);
std::optional<Image> decodeGif(Bytes file, std::string& error);  // the first frame
std::optional<Image> decodeImage(Bytes file, std::string& error);     // any picture format above
std::optional<IconSet> decodeIco(Bytes file, std::string& error);     // .ico and .cur
// One icon image as stored in icon files and resources: a DIB (header, palette, XOR and AND
// bitmaps, height doubled) or a PNG stream.
std::optional<IconImage> decodeIconImage(Bytes data, std::string& error);

// Icons in a PE executable or library: the number of icon groups, and one group by position
// (index >= 0) or by resource identifier (index < 0 stands for the identifier -index).
std::optional<size_t> countExeIcons(Bytes file, std::string& error);
std::optional<IconSet> decodeExeIcon(Bytes file, int64_t index, std::string& error);

// The image of an icon set that best fits a size: the exact size with the most colours, else the
// smallest larger image (scaled down), else the largest one. -1 for an empty set.
int bestIconImage(const IconSet& set, int32_t width, int32_t height);

// Encoders for saving pictures: a BMP (32 bits with an alpha mask when hasAlpha, else 24 bits)
// of a top-down straight-alpha image, and an ICO/CUR file with one 32-bit entry per image.
std::vector<uint8_t> encodeBmp(const Image& image);
std::vector<uint8_t> encodeIco(const IconSet& set);

// Reads a whole regular file (never a folder, device or pipe; at most kMaxImageFileSize bytes);
// nullopt with an error text naming the reason otherwise.
std::optional<std::vector<uint8_t>> readImageFile(const std::string& path, std::string& error);

}  // namespace zxp::gfx
