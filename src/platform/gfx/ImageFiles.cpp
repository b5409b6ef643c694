// Bitmap, icon and cursor containers, PNG decoding, format sniffing, encoders and file reading.
#include "platform/gfx/ImageFiles.h"

#include <png.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <tuple>

#include "platform/services/FileIo.h"

namespace zxp::gfx {

namespace {

// Little-endian reads that never leave the data: every caller checks `has` first.
struct Reader {
  Bytes d;
  bool has(uint64_t off, uint64_t n) const { return off <= d.size() && n <= d.size() - off; }
  uint8_t u8(size_t off) const { return d[off]; }
  uint16_t u16(size_t off) const { return static_cast<uint16_t>(d[off] | (d[off + 1] << 8)); }
  uint32_t u32(size_t off) const {
    return static_cast<uint32_t>(d[off]) | (static_cast<uint32_t>(d[off + 1]) << 8) |
           (static_cast<uint32_t>(d[off + 2]) << 16) | (static_cast<uint32_t>(d[off + 3]) << 24);
  }
  int32_t i32(size_t off) const { return static_cast<int32_t>(u32(off)); }
};

void put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}
void put32(std::vector<uint8_t>& v, uint32_t x) {
  put16(v, x & 0xFFFF);
  put16(v, x >> 16);
}

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;

// A colour channel described by a bit mask, scaled to 8 bits.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint64_t max = 0;
  explicit Channel(uint32_t m = 0) : mask(m) {
    if (m) {
      shift = std::countr_zero(m);
      max = (uint64_t{1} << std::popcount(m)) - 1;
    }
  }
  uint32_t get(uint32_t px) const {
    if (!mask || !max) return 0;
    uint64_t v = (px & mask) >> shift;
    return static_cast<uint32_t>(std::min<uint64_t>(255, (v * 255 + max / 2) / max));
  }
};

// The parsed header of a device-independent bitmap.
struct Dib {
  int64_t width = 0;
  int64_t height = 0;  // as stored: negative for top-down
  int bpp = 0;
  uint32_t compression = kBiRgb;
  size_t headerSize = 0;
  size_t paletteEntries = 0;
  size_t paletteEntrySize = 4;
  uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
  bool core = false;
};

// Reads a BITMAPCOREHEADER / BITMAPINFOHEADER / V4 / V5 at `off`; `afterHeader` receives where
// the palette (or the three masks of a BI_BITFIELDS info header) starts.
bool parseDibHeader(const Reader& r, size_t off, Dib& dib, size_t& afterHeader, std::string& error) {
  if (!r.has(off, 4)) return error = "bitmap header truncated", false;
  size_t size = r.u32(off);
  if (size == 12) {
    if (!r.has(off, 12)) return error = "bitmap header truncated", false;
    dib.core = true;
    dib.width = r.u16(off + 4);
    dib.height = r.u16(off + 6);
    dib.bpp = r.u16(off + 10);
    dib.paletteEntrySize = 3;
  } else if (size >= 40 && size <= 256) {
    if (!r.has(off, size)) return error = "bitmap header truncated", false;
    dib.width = r.i32(off + 4);
    dib.height = r.i32(off + 8);
    dib.bpp = r.u16(off + 14);
    dib.compression = r.u32(off + 16);
    uint32_t clrUsed = r.u32(off + 32);
    if (dib.bpp <= 8) dib.paletteEntries = clrUsed ? std::min<uint32_t>(clrUsed, 1u << dib.bpp) : 1u << dib.bpp;
    if (size >= 52) {
      dib.masks[0] = r.u32(off + 40);
      dib.masks[1] = r.u32(off + 44);
      dib.masks[2] = r.u32(off + 48);
    }
    if (size >= 56) dib.masks[3] = r.u32(off + 52);
  } else {
    return error = "unknown bitmap header size", false;
  }
  dib.headerSize = size;
  if (dib.core && dib.bpp <= 8) dib.paletteEntries = size_t{1} << dib.bpp;
  afterHeader = off + size;
  // Masks of a plain info header follow it.
  if (!dib.core && size == 40 && (dib.compression == kBiBitfields || dib.compression == kBiAlphaBitfields)) {
    size_t n = dib.compression == kBiAlphaBitfields ? 4 : 3;
    if (!r.has(afterHeader, n * 4)) return error = "bitmap masks truncated", false;
    for (size_t i = 0; i < n; ++i) dib.masks[i] = r.u32(afterHeader + 4 * i);
    afterHeader += n * 4;
  }
  if (dib.width <= 0 || dib.width > kMaxSurfaceSide) return error = "bitmap width out of range", false;
  int64_t h = dib.height < 0 ? -dib.height : dib.height;
  if (h == 0 || h > 2 * int64_t{kMaxSurfaceSide}) return error = "bitmap height out of range", false;
  switch (dib.bpp) {
    case 1: case 4: case 8: case 24:
      if (dib.compression != kBiRgb) return error = "unsupported bitmap compression", false;
      break;
    case 16: case 32:
      if (dib.compression != kBiRgb && dib.compression != kBiBitfields && dib.compression != kBiAlphaBitfields)
        return error = "unsupported bitmap compression", false;
      break;
    default:
      return error = "unsupported bit count", false;
  }
  return true;
}

int64_t dibStride(int64_t width, int bpp) { return ((width * bpp + 31) / 32) * 4; }

// Decodes `height` rows of DIB pixels (bottom-up unless topDown) into top-down straight ARGB with
// alpha 255; `alphaBytes` receives the source's alpha (32 bits BI_RGB: the fourth byte; with
// masks: the alpha mask) or stays empty when the format has none.
std::shared_ptr<Surface> decodeDibPixels(const Reader& r, const Dib& dib, size_t paletteOff, size_t bitsOff,
                                         int32_t width, int32_t height, bool topDown,
                                         std::vector<uint8_t>& alphaBytes, std::string& error) {
  if (int64_t{width} * height > kMaxPicturePixels) return error = "bitmap too large", nullptr;
  // The palette.
  std::vector<uint32_t> palette(dib.paletteEntries, 0);
  if (dib.paletteEntries) {
    if (!r.has(paletteOff, dib.paletteEntries * dib.paletteEntrySize)) return error = "palette truncated", nullptr;
    for (size_t i = 0; i < dib.paletteEntries; ++i) {
      size_t o = paletteOff + i * dib.paletteEntrySize;
      palette[i] = 0xFF000000u | (uint32_t{r.u8(o + 2)} << 16) | (uint32_t{r.u8(o + 1)} << 8) | r.u8(o);
    }
  }
  const int64_t stride = dibStride(width, dib.bpp);
  if (!r.has(bitsOff, static_cast<uint64_t>(stride) * static_cast<uint64_t>(height)))
    return error = "bitmap bits truncated", nullptr;
  auto out = Surface::create(width, height);
  if (!out) return error = "out of memory", nullptr;

  bool masked = dib.compression != kBiRgb;
  Channel red(masked ? dib.masks[0] : dib.bpp == 16 ? 0x7C00u : 0x00FF0000u);
  Channel green(masked ? dib.masks[1] : dib.bpp == 16 ? 0x03E0u : 0x0000FF00u);
  Channel blue(masked ? dib.masks[2] : dib.bpp == 16 ? 0x001Fu : 0x000000FFu);
  Channel alpha(masked ? dib.masks[3] : dib.bpp == 32 ? 0xFF000000u : 0u);
  if (alpha.mask) alphaBytes.assign(static_cast<size_t>(width) * height, 0);

  for (int32_t y = 0; y < height; ++y) {
    const size_t rowOff = bitsOff + static_cast<size_t>(stride) * static_cast<size_t>(topDown ? y : height - 1 - y);
    const uint8_t* src = r.d.data() + rowOff;
    uint32_t* dst = out->row(y);
    for (int32_t x = 0; x < width; ++x) {
      uint32_t px;
      switch (dib.bpp) {
        case 1: {
          size_t i = (src[x >> 3] >> (7 - (x & 7))) & 1;
          px = i < palette.size() ? palette[i] : 0xFF000000u;
          break;
        }
        case 4: {
          size_t i = (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
          px = i < palette.size() ? palette[i] : 0xFF000000u;
          break;
        }
        case 8: {
          size_t i = src[x];
          px = i < palette.size() ? palette[i] : 0xFF000000u;
          break;
        }
        case 24:
          px = 0xFF000000u | (uint32_t{src[3 * x + 2]} << 16) | (uint32_t{src[3 * x + 1]} << 8) | src[3 * x];
          break;
        default: {
          uint32_t v = dib.bpp == 16 ? uint32_t{src[2 * x]} | (uint32_t{src[2 * x + 1]} << 8)
                                     : uint32_t{src[4 * x]} | (uint32_t{src[4 * x + 1]} << 8) |
                                           (uint32_t{src[4 * x + 2]} << 16) | (uint32_t{src[4 * x + 3]} << 24);
          px = 0xFF000000u | (red.get(v) << 16) | (green.get(v) << 8) | blue.get(v);
          if (alpha.mask) alphaBytes[static_cast<size_t>(y) * width + x] = static_cast<uint8_t>(alpha.get(v));
          break;
        }
      }
      dst[x] = px;
    }
  }
  return out;
}

bool anyNonZero(const std::vector<uint8_t>& v) {
  return std::any_of(v.begin(), v.end(), [](uint8_t b) { return b != 0; });
}

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

bool isPng(Bytes d) { return d.size() >= 8 && std::memcmp(d.data(), kPngSignature, 8) == 0; }

}  // namespace

const char kUnknownPictureFormat[] = "unknown format (not an icon, cursor, bitmap, PNG, JPEG or GIF file)";

bool imageSizeAllowed(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxSurfaceSide && height <= kMaxSurfaceSide &&
         width * height <= kMaxPicturePixels;
}

std::string imageSizeRefused(int64_t width, int64_t height) {
  const std::string size = "image of " + std::to_string(width) + " x " + std::to_string(height) + " pixels";
  if (width <= 0 || height <= 0) return size + " is empty";
  return size + " is too large (at most " + std::to_string(kMaxSurfaceSide) + " a side and " +
         std::to_string(kMaxPicturePixels) + " in all)";
}

ImageFormat sniffImageFormat(Bytes d) {
  if (isPng(d)) return ImageFormat::Png;
  if (d.size() >= 2 && d[0] == 'B' && d[1] == 'M') return ImageFormat::Bmp;
  if (d.size() >= 3 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF) return ImageFormat::Jpeg;
  if (d.size() >= 6 && std::memcmp(d.data(), "GIF8", 4) == 0 && (d[4] == '7' || d[4] == '9') && d[5] == 'a')
    return ImageFormat::Gif;
  if (d.size() >= 4 && d[0] == 0 && d[1] == 0 && d[3] == 0 && (d[2] == 1 || d[2] == 2))
    return d[2] == 1 ? ImageFormat::Ico : ImageFormat::Cur;
  if (d.size() >= 2 && d[0] == 'M' && d[1] == 'Z') return ImageFormat::Exe;
  return ImageFormat::Unknown;
}

std::optional<Image> decodeBmp(Bytes file, std::string& error) {
  Reader r{file};
  if (!r.has(0, 14) || file[0] != 'B' || file[1] != 'M') return error = "not a bitmap file", std::nullopt;
  uint32_t bitsOff = r.u32(10);
  Dib dib;
  size_t paletteOff = 0;
  if (!parseDibHeader(r, 14, dib, paletteOff, error)) return std::nullopt;
  const bool topDown = dib.height < 0;
  if (topDown && dib.core) return error = "bitmap height out of range", std::nullopt;
  const int64_t h = topDown ? -dib.height : dib.height;
  if (h > kMaxSurfaceSide) return error = "bitmap height out of range", std::nullopt;
  // A palette shorter than its depth allows ends where the bits begin.
  if (bitsOff > paletteOff && dib.paletteEntries * dib.paletteEntrySize > bitsOff - paletteOff)
    dib.paletteEntries = (bitsOff - paletteOff) / dib.paletteEntrySize;
  // Some writers leave the bits offset 0: the bits then follow the palette.
  size_t afterPalette = paletteOff + dib.paletteEntries * dib.paletteEntrySize;
  size_t bits = bitsOff ? bitsOff : afterPalette;
  std::vector<uint8_t> alphaBytes;
  auto s = decodeDibPixels(r, dib, paletteOff, bits, static_cast<int32_t>(dib.width), static_cast<int32_t>(h),
                           topDown, alphaBytes, error);
  if (!s) return std::nullopt;
  Image img{s, false};
  // Only a header that declares an alpha mask makes the fourth byte alpha; files whose alpha is
  // all zero are opaque pictures written carelessly.
  bool declaredAlpha = dib.compression != kBiRgb && dib.masks[3] != 0;
  if (declaredAlpha && anyNonZero(alphaBytes)) {
    img.hasAlpha = true;
    for (int32_t y = 0; y < s->height(); ++y)
      for (int32_t x = 0; x < s->width(); ++x)
        s->at(x, y) = (s->at(x, y) & 0xFFFFFF) | (uint32_t{alphaBytes[static_cast<size_t>(y) * s->width() + x]} << 24);
  }
  return img;
}

std::optional<Image> decodePng(Bytes file, std::string& error) {
  png_image img;
  std::memset(&img, 0, sizeof img);
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&img, file.data(), file.size())) {
    error = std::string("PNG: ") + img.message;
    png_image_free(&img);
    return std::nullopt;
  }
  if (!imageSizeAllowed(img.width, img.height)) {
    error = "PNG: " + imageSizeRefused(img.width, img.height);
    png_image_free(&img);
    return std::nullopt;
  }
  const bool alpha = (img.format & PNG_FORMAT_FLAG_ALPHA) != 0;  // tRNS chunks count as alpha
  img.format = PNG_FORMAT_BGRA;
  auto s = Surface::create(static_cast<int32_t>(img.width), static_cast<int32_t>(img.height));
  if (!s) {
    png_image_free(&img);
    return error = "out of memory", std::nullopt;
  }
  if (!png_image_finish_read(&img, nullptr, s->bits(), 0, nullptr)) {
    error = std::string("PNG: ") + img.message;
    png_image_free(&img);
    return std::nullopt;
  }
  png_image_free(&img);
  bool hasAlpha = false;
  if (alpha)
    for (size_t i = 0; i < s->pixelCount() && !hasAlpha; ++i) hasAlpha = (s->bits()[i] >> 24) != 0xFF;
  return Image{s, hasAlpha};
}

std::optional<Image> decodeImage(Bytes file, std::string& error) {
  switch (sniffImageFormat(file)) {
    case ImageFormat::Bmp: return decodeBmp(file, error);
    case ImageFormat::Png: return decodePng(file, error);
    case ImageFormat::Jpeg: return decodeJpeg(file, error);
    case ImageFormat::Gif: return decodeGif(file, error);
    default: return error = kUnknownPictureFormat, std::nullopt;
  }
}

// ---- Icons ----------------------------------------------------------------------------------

std::optional<IconImage> decodeIconImage(Bytes data, std::string& error) {
  IconImage icon;
  if (isPng(data)) {
    auto img = decodePng(data, error);
    if (!img) return std::nullopt;
    if (img->pixels->width() > kMaxIconSide || img->pixels->height() > kMaxIconSide)
      return error = "icon image too large", std::nullopt;
    icon.color = img->pixels;
    icon.alpha = true;
    icon.mask.resize(icon.color->pixelCount());
    for (int32_t y = 0; y < icon.height(); ++y)
      for (int32_t x = 0; x < icon.width(); ++x)
        icon.mask[static_cast<size_t>(y) * icon.width() + x] = (icon.color->at(x, y) >> 24) == 0 ? 1 : 0;
    return icon;
  }
  Reader r{data};
  Dib dib;
  size_t paletteOff = 0;
  if (!parseDibHeader(r, 0, dib, paletteOff, error)) return std::nullopt;
  if (dib.core || dib.height <= 0) return error = "icon bitmap header invalid", std::nullopt;
  const int64_t w = dib.width;
  const int64_t h = dib.height / 2;  // the XOR image and the AND mask, one above the other
  if (h <= 0 || w > kMaxIconSide || h > kMaxIconSide) return error = "icon size out of range", std::nullopt;
  const size_t xorOff = paletteOff + dib.paletteEntries * dib.paletteEntrySize;
  std::vector<uint8_t> alphaBytes;
  auto color = decodeDibPixels(r, dib, paletteOff, xorOff, static_cast<int32_t>(w), static_cast<int32_t>(h), false,
                               alphaBytes, error);
  if (!color) return std::nullopt;
  icon.color = color;
  icon.bitCount = dib.bpp;
  icon.alpha = dib.bpp == 32 && anyNonZero(alphaBytes);
  // The AND mask: 1 bit per pixel, bottom-up. 32-bit images with alpha may leave it out.
  const size_t andOff = xorOff + static_cast<size_t>(dibStride(w, dib.bpp) * h);
  const int64_t andStride = dibStride(w, 1);
  icon.mask.assign(static_cast<size_t>(w * h), 0);
  if (r.has(andOff, static_cast<uint64_t>(andStride * h))) {
    for (int64_t y = 0; y < h; ++y) {
      const uint8_t* row = data.data() + andOff + static_cast<size_t>(andStride * (h - 1 - y));
      for (int64_t x = 0; x < w; ++x)
        icon.mask[static_cast<size_t>(y * w + x)] = (row[x >> 3] >> (7 - (x & 7))) & 1;
    }
  } else if (!icon.alpha) {
    return error = "icon mask truncated", std::nullopt;
  } else {
    for (size_t i = 0; i < alphaBytes.size(); ++i) icon.mask[i] = alphaBytes[i] == 0 ? 1 : 0;
  }
  for (int32_t y = 0; y < icon.height(); ++y) {
    uint32_t* row = icon.color->row(y);
    for (int32_t x = 0; x < icon.width(); ++x) {
      size_t i = static_cast<size_t>(y) * icon.width() + x;
      // Alpha images carry their alpha; mask images keep the plain XOR colour (high byte 0).
      row[x] = (row[x] & 0xFFFFFF) | (icon.alpha ? uint32_t{alphaBytes[i]} << 24 : 0u);
    }
  }
  return icon;
}

std::optional<IconSet> decodeIco(Bytes file, std::string& error) {
  Reader r{file};
  if (!r.has(0, 6) || r.u16(0) != 0 || (r.u16(2) != 1 && r.u16(2) != 2))
    return error = "not an icon file", std::nullopt;
  IconSet set;
  set.cursor = r.u16(2) == 2;
  const size_t count = r.u16(4);
  if (count == 0) return error = "icon file without images", std::nullopt;
  if (!r.has(6, count * 16)) return error = "icon directory truncated", std::nullopt;
  // Every entry must lie inside the file; only the first kMaxImages are decoded, within a budget.
  constexpr size_t kMaxImages = 64;
  int64_t budget = kMaxPicturePixels;
  for (size_t i = 0; i < count; ++i) {
    const size_t e = 6 + i * 16;
    const uint32_t size = r.u32(e + 8);
    const uint32_t offset = r.u32(e + 12);
    if (size == 0 || !r.has(offset, size)) return error = "icon directory points past the end", std::nullopt;
    if (i >= kMaxImages) continue;
    auto img = decodeIconImage(file.subspan(offset, size), error);
    if (!img) return std::nullopt;
    budget -= int64_t{img->width()} * img->height();
    if (budget < 0) return error = "icon file too large", std::nullopt;
    if (set.cursor) img->hotspot = Point{r.u16(e + 4), r.u16(e + 6)};
    set.images.push_back(std::move(*img));
  }
  return set;
}

int bestIconImage(const IconSet& set, int32_t width, int32_t height) {
  if (width <= 0) width = 32;
  if (height <= 0) height = width;
  int best = -1;
  auto rank = [&](const IconImage& im) {
    // Lower is better: exact size, then the smallest larger one, then the largest smaller one;
    // within a size, more colours first.
    int64_t area = int64_t{im.width()} * im.height();
    int group = im.width() == width && im.height() == height ? 0 : (im.width() >= width && im.height() >= height) ? 1 : 2;
    int64_t sizeKey = group == 1 ? area : group == 2 ? -area : 0;
    int depth = im.alpha ? 64 : im.bitCount;
    return std::tuple<int, int64_t, int>{group, sizeKey, -depth};
  };
  for (size_t i = 0; i < set.images.size(); ++i)
    if (best < 0 || rank(set.images[i]) < rank(set.images[static_cast<size_t>(best)])) best = static_cast<int>(i);
  return best;
}

// ---- Encoders -------------------------------------------------------------------------------

std::vector<uint8_t> encodeBmp(const Image& image) {
  std::vector<uint8_t> out;
  if (!image.pixels) return out;
  const Surface& s = *image.pixels;
  const int32_t w = s.width(), h = s.height();
  const int bpp = image.hasAlpha ? 32 : 24;
  const uint32_t header = image.hasAlpha ? 108 : 40;
  const uint32_t stride = static_cast<uint32_t>(dibStride(w, bpp));
  const uint32_t bitsOff = 14 + header;
  const uint32_t total = bitsOff + stride * static_cast<uint32_t>(h);
  out.reserve(total);
  out.push_back('B');
  out.push_back('M');
  put32(out, total);
  put32(out, 0);
  put32(out, bitsOff);
  put32(out, header);
  put32(out, static_cast<uint32_t>(w));
  put32(out, static_cast<uint32_t>(h));  // bottom-up
  put16(out, 1);
  put16(out, static_cast<uint32_t>(bpp));
  put32(out, image.hasAlpha ? kBiBitfields : kBiRgb);
  put32(out, stride * static_cast<uint32_t>(h));
  put32(out, 3780);  // 96 DPI in pixels per metre
  put32(out, 3780);
  put32(out, 0);
  put32(out, 0);
  if (image.hasAlpha) {
    put32(out, 0x00FF0000);
    put32(out, 0x0000FF00);
    put32(out, 0x000000FF);
    put32(out, 0xFF000000);
    put32(out, 0x73524742);  // 'sRGB'
    out.resize(out.size() + 36 + 12, 0);  // endpoints and gamma, unused
  }
  for (int32_t y = h - 1; y >= 0; --y) {
    const uint32_t* row = s.row(y);
    size_t start = out.size();
    for (int32_t x = 0; x < w; ++x) {
      out.push_back(static_cast<uint8_t>(row[x]));
      out.push_back(static_cast<uint8_t>(row[x] >> 8));
      out.push_back(static_cast<uint8_t>(row[x] >> 16));
      if (bpp == 32) out.push_back(static_cast<uint8_t>(row[x] >> 24));
    }
    out.resize(start + stride, 0);
  }
  return out;
}

std::vector<uint8_t> encodeIco(const IconSet& set) {
  std::vector<uint8_t> out;
  put16(out, 0);
  put16(out, set.cursor ? 2 : 1);
  put16(out, static_cast<uint32_t>(set.images.size()));
  std::vector<std::vector<uint8_t>> blobs;
  for (const auto& im : set.images) {
    std::vector<uint8_t> b;
    const int32_t w = im.width(), h = im.height();
    const uint32_t andStride = static_cast<uint32_t>(dibStride(w, 1));
    put32(b, 40);
    put32(b, static_cast<uint32_t>(w));
    put32(b, static_cast<uint32_t>(2 * h));
    put16(b, 1);
    put16(b, 32);
    put32(b, kBiRgb);
    put32(b, static_cast<uint32_t>(w * h * 4) + andStride * static_cast<uint32_t>(h));
    b.resize(b.size() + 16, 0);
    for (int32_t y = h - 1; y >= 0; --y) {
      const uint32_t* row = im.color->row(y);
      for (int32_t x = 0; x < w; ++x) put32(b, im.alpha ? row[x] : (row[x] & 0xFFFFFF));
    }
    for (int32_t y = h - 1; y >= 0; --y) {
      size_t start = b.size();
      b.resize(start + andStride, 0);
      for (int32_t x = 0; x < w; ++x)
        if (im.mask[static_cast<size_t>(y) * w + x]) b[start + static_cast<size_t>(x >> 3)] |= static_cast<uint8_t>(0x80 >> (x & 7));
    }
    blobs.push_back(std::move(b));
  }
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(set.images.size());
  for (size_t i = 0; i < set.images.size(); ++i) {
    const auto& im = set.images[i];
    out.push_back(static_cast<uint8_t>(im.width() >= 256 ? 0 : im.width()));
    out.push_back(static_cast<uint8_t>(im.height() >= 256 ? 0 : im.height()));
    out.push_back(0);
    out.push_back(0);
    put16(out, set.cursor ? static_cast<uint32_t>(im.hotspot.x) : 1);
    put16(out, set.cursor ? static_cast<uint32_t>(im.hotspot.y) : 32);
    put32(out, static_cast<uint32_t>(blobs[i].size()));
    put32(out, offset);
    offset += static_cast<uint32_t>(blobs[i].size());
  }
  for (const auto& b : blobs) out.insert(out.end(), b.begin(), b.end());
  return out;
}

std::optional<std::vector<uint8_t>> readImageFile(const std::string& path, std::string& error) {
  std::vector<uint8_t> data;
  const services::FileOutcome read = services::readRegularFile(path, kMaxImageFileSize, data);
  if (!read) return error = "cannot read " + path + ": " + read.reason, std::nullopt;
  return data;
}

}  // namespace zxp::gfx
