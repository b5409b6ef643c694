// Icon objects, DrawIconEx and friends, ExtractIcon, and the picture object with its loading
// and saving.
#include "platform/gfx/Picture.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/base/HostError.h"
#include "platform/gfx/DeviceContext.h"

namespace zxp::gfx {

struct IconObj : HandleObject {
  IconSet set;
  int primary = 0;

  const IconImage& main() const { return set.images[static_cast<size_t>(primary)]; }
  // The image to draw at w x h: an image of that size, or the best one scaled (kept for reuse).
  const IconImage& imageFor(int32_t w, int32_t h);

 private:
  struct Scaled {
    int32_t w, h;
    IconImage image;
  };
  std::vector<Scaled> scaled_;  // most recently made last, a few at most
};

namespace {

// Area-averaged resampling of a straight-alpha image (weights in premultiplied space), so that
// icons drawn smaller than their image keep their shape and soft edges.
std::shared_ptr<Surface> resampleAlpha(const Surface& src, int32_t w, int32_t h) {
  auto out = Surface::create(w, h);
  if (!out) return nullptr;
  const double fx = static_cast<double>(src.width()) / w, fy = static_cast<double>(src.height()) / h;
  for (int32_t y = 0; y < h; ++y) {
    const double y0 = y * fy, y1 = (y + 1) * fy;
    for (int32_t x = 0; x < w; ++x) {
      const double x0 = x * fx, x1 = (x + 1) * fx;
      double sa = 0, sr = 0, sg = 0, sb = 0, area = 0;
      for (int32_t sy = static_cast<int32_t>(y0); sy < std::min<double>(src.height(), std::ceil(y1)); ++sy) {
        const double wy = std::min<double>(sy + 1, y1) - std::max<double>(sy, y0);
        const uint32_t* row = src.row(sy);
        for (int32_t sx = static_cast<int32_t>(x0); sx < std::min<double>(src.width(), std::ceil(x1)); ++sx) {
          const double wgt = wy * (std::min<double>(sx + 1, x1) - std::max<double>(sx, x0));
          const uint32_t p = row[sx];
          const double a = (p >> 24) * wgt;
          sa += a;
          sr += pixelR(p) * a;
          sg += pixelG(p) * a;
          sb += pixelB(p) * a;
          area += wgt;
        }
      }
      uint32_t px = 0;
      if (sa > 0 && area > 0) {
        auto ch = [&](double v) { return static_cast<uint32_t>(std::clamp(std::floor(v / sa + 0.5), 0.0, 255.0)); };
        const auto a = static_cast<uint32_t>(std::clamp(std::floor(sa / area + 0.5), 0.0, 255.0));
        px = (a << 24) | (ch(sr) << 16) | (ch(sg) << 8) | ch(sb);
      }
      out->at(x, y) = px;
    }
  }
  return out;
}

// Nearest-neighbour scaling of a mask icon (colour and AND mask together), as the platform
// stretches masked icons.
IconImage resampleMasked(const IconImage& src, int32_t w, int32_t h) {
  IconImage out;
  out.alpha = false;
  out.bitCount = src.bitCount;
  out.color = Surface::create(w, h);
  if (!out.color) return out;
  out.mask.resize(static_cast<size_t>(w) * h);
  for (int32_t y = 0; y < h; ++y) {
    const int32_t sy = static_cast<int32_t>(int64_t{y} * src.height() / h);
    for (int32_t x = 0; x < w; ++x) {
      const int32_t sx = static_cast<int32_t>(int64_t{x} * src.width() / w);
      out.color->at(x, y) = src.color->at(sx, sy);
      out.mask[static_cast<size_t>(y) * w + x] = src.mask[static_cast<size_t>(sy) * src.width() + sx];
    }
  }
  return out;
}

}  // namespace

const IconImage& IconObj::imageFor(int32_t w, int32_t h) {
  const int best = bestIconImage(set, w, h);
  const IconImage& src = set.images[static_cast<size_t>(best)];
  if (src.width() == w && src.height() == h) return src;
  for (const auto& s : scaled_)
    if (s.w == w && s.h == h) return s.image;
  IconImage img;
  if (src.alpha) {
    img.alpha = true;
    img.bitCount = 32;
    img.color = resampleAlpha(*src.color, w, h);
    if (img.color) {
      img.mask.resize(img.color->pixelCount());
      for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) img.mask[static_cast<size_t>(y) * w + x] = (img.color->at(x, y) >> 24) == 0;
    }
  } else {
    img = resampleMasked(src, w, h);
  }
  if (!img.color) return src;
  if (scaled_.size() >= 4) scaled_.erase(scaled_.begin());
  scaled_.push_back(Scaled{w, h, std::move(img)});
  return scaled_.back().image;
}

IconObj* iconFromHandle(HICON h) { return handles().peek<IconObj>(h, ObjKind::Icon); }

HICON createIcon(IconSet set, int primary) {
  if (set.images.empty()) return 0;
  for (const auto& im : set.images)
    if (!im.color || im.mask.size() != im.color->pixelCount()) return 0;
  auto obj = std::make_shared<IconObj>();
  obj->primary = std::clamp(primary, 0, static_cast<int>(set.images.size()) - 1);
  obj->set = std::move(set);
  return handles().add(ObjKind::Icon, obj);
}

HICON createIconFromArgb(const Surface& argb) {
  IconImage im;
  im.alpha = true;
  im.color = Surface::create(argb.width(), argb.height());
  if (!im.color) return 0;
  im.mask.resize(im.color->pixelCount());
  for (int32_t y = 0; y < argb.height(); ++y)
    for (int32_t x = 0; x < argb.width(); ++x) {
      im.color->at(x, y) = argb.at(x, y);
      im.mask[static_cast<size_t>(y) * argb.width() + x] = (argb.at(x, y) >> 24) == 0;
    }
  IconSet set;
  set.images.push_back(std::move(im));
  return createIcon(std::move(set));
}

// ---- Pictures -------------------------------------------------------------------------------

struct Picture::Data {
  int16_t type = vbPicTypeNone;
  HANDLE handle = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool alpha = false;
  std::vector<uint8_t> source;
  ~Data() {
    if (type == vbPicTypeBitmap) DeleteObject(handle);
    if (type == vbPicTypeIcon) DestroyIcon(handle);
  }
};

struct PictureAccess {
  static Picture make(int16_t type, HANDLE handle, int32_t width, int32_t height, bool alpha,
                      std::vector<uint8_t> source = {}) {
    auto d = std::make_shared<Picture::Data>();
    d->type = type;
    d->handle = handle;
    d->width = width;
    d->height = height;
    d->alpha = alpha;
    d->source = std::move(source);
    Picture p;
    p.d_ = std::move(d);
    return p;
  }
};

namespace {

Picture bitmapPicture(const Image& img, std::vector<uint8_t> source) {
  // Bitmaps hold premultiplied alpha where the image has transparency, else a high byte of 0.
  auto s = Surface::create(img.pixels->width(), img.pixels->height(), true);
  if (!s) return Picture();
  for (int32_t y = 0; y < s->height(); ++y) {
    const uint32_t* src = img.pixels->row(y);
    uint32_t* dst = s->row(y);
    for (int32_t x = 0; x < s->width(); ++x) {
      uint32_t p = src[x];
      if (!img.hasAlpha) {
        dst[x] = p & 0xFFFFFF;
        continue;
      }
      uint32_t a = p >> 24;
      dst[x] = (a << 24) | (blendPixel(0, p, a) & 0xFFFFFF);
    }
  }
  HBITMAP h = CreateBitmapForSurface(s);
  if (!h) return Picture();
  return PictureAccess::make(vbPicTypeBitmap, h, s->width(), s->height(), img.hasAlpha, std::move(source));
}

Picture iconPicture(IconSet set, Size size, std::vector<uint8_t> source) {
  const int primary = bestIconImage(set, size.cx, size.cy);
  HICON h = createIcon(std::move(set), primary);
  IconObj* obj = iconFromHandle(h);
  if (!obj) return Picture();
  return PictureAccess::make(vbPicTypeIcon, h, obj->main().width(), obj->main().height(), obj->main().alpha,
                             std::move(source));
}

// HIMETRIC units (0.01 mm) per pixel at 96 DPI.
constexpr double kHimetricPerPixel = 2540.0 / 96.0;

constexpr uint8_t kSavedTag[4] = {'l', 't', 0, 0};

}  // namespace

Picture Picture::fromBitmap(HBITMAP bitmap, bool hasAlpha) {
  auto s = surfaceOfBitmap(bitmap);
  if (!s) return Picture();
  return PictureAccess::make(vbPicTypeBitmap, bitmap, s->width(), s->height(), hasAlpha);
}

Picture Picture::fromIcon(HICON icon) {
  IconObj* obj = iconFromHandle(icon);
  if (!obj) return Picture();
  return PictureAccess::make(vbPicTypeIcon, icon, obj->main().width(), obj->main().height(), obj->main().alpha);
}

int16_t Picture::Type() const { return d_ ? d_->type : vbPicTypeNone; }
HANDLE Picture::Handle() const { return d_ ? d_->handle : 0; }
int32_t Picture::width() const { return d_ ? d_->width : 0; }
int32_t Picture::height() const { return d_ ? d_->height : 0; }
int32_t Picture::Width() const { return nearest(width() * kHimetricPerPixel); }
int32_t Picture::Height() const { return nearest(height() * kHimetricPerPixel); }
bool Picture::hasAlpha() const { return d_ && d_->alpha; }
std::span<const uint8_t> Picture::sourceBytes() const {
  return d_ ? std::span<const uint8_t>(d_->source) : std::span<const uint8_t>();
}

PictureLoad loadPicture(std::span<const uint8_t> bytes, Size iconSize) {
  PictureLoad out;
  if (bytes.empty()) return out;
  // Bytes written by savePicture carry a tag and a length.
  if (bytes.size() >= 4 && std::memcmp(bytes.data(), kSavedTag, 4) == 0) {
    if (bytes.size() < 8) return PictureLoad{Picture(), "picture data truncated"};
    const uint32_t len = uint32_t{bytes[4]} | (uint32_t{bytes[5]} << 8) | (uint32_t{bytes[6]} << 16) |
                         (uint32_t{bytes[7]} << 24);
    if (len > bytes.size() - 8) return PictureLoad{Picture(), "picture data truncated"};
    bytes = bytes.subspan(8, len);
    if (bytes.empty()) return out;
  }
  std::string error;
  std::vector<uint8_t> source(bytes.begin(), bytes.end());
  switch (sniffImageFormat(bytes)) {
    case ImageFormat::Ico:
    case ImageFormat::Cur: {
      auto set = decodeIco(bytes, error);
      if (!set) return PictureLoad{Picture(), error};
      out.picture = iconPicture(std::move(*set), iconSize, std::move(source));
      break;
    }
    case ImageFormat::Bmp:
    case ImageFormat::Png:
    case ImageFormat::Jpeg:
    case ImageFormat::Gif: {
      auto img = decodeImage(bytes, error);
      if (!img) return PictureLoad{Picture(), error};
      out.picture = bitmapPicture(*img, std::move(source));
      break;
    }
    default:
      return PictureLoad{Picture(), kUnknownPictureFormat};
  }
  if (out.picture.empty()) out.error = "out of memory";
  return out;
}

PictureLoad loadPictureFile(const std::string& path, Size iconSize) {
  std::string error;
  auto data = readImageFile(path, error);
  if (!data) return PictureLoad{Picture(), error};
  return loadPicture(*data, iconSize);
}

Picture LoadPicture(const std::string& path) {
  if (path.empty()) return Picture();
  std::string error;
  auto data = readImageFile(path, error);
  if (!data) throw HostError(errFileNotFound);
  PictureLoad r = loadPicture(*data);
  if (!r.ok()) throw HostError(481, "Invalid picture");
  return r.picture;
}

std::vector<uint8_t> savePicture(const Picture& picture) {
  std::vector<uint8_t> file;
  if (picture.empty()) return file;
  if (!picture.sourceBytes().empty()) {
    file.assign(picture.sourceBytes().begin(), picture.sourceBytes().end());
  } else if (picture.Type() == vbPicTypeIcon) {
    if (IconObj* obj = iconFromHandle(picture.Handle())) file = encodeIco(obj->set);
  } else if (auto s = surfaceOfBitmap(picture.Handle())) {
    // Back from premultiplied to straight alpha for the file.
    Image img{Surface::create(s->width(), s->height()), picture.hasAlpha()};
    if (!img.pixels) return {};
    for (int32_t y = 0; y < s->height(); ++y)
      for (int32_t x = 0; x < s->width(); ++x) {
        uint32_t p = s->at(x, y);
        uint32_t a = p >> 24;
        if (!img.hasAlpha) {
          img.pixels->at(x, y) = 0xFF000000u | (p & 0xFFFFFF);
        } else if (a == 0) {
          img.pixels->at(x, y) = 0;
        } else {
          auto un = [&](int v) { return std::min<uint32_t>(255, (static_cast<uint32_t>(v) * 255 + a / 2) / a); };
          img.pixels->at(x, y) = (a << 24) | (un(pixelR(p)) << 16) | (un(pixelG(p)) << 8) | un(pixelB(p));
        }
      }
    file = encodeBmp(img);
  }
  if (file.empty()) return file;
  std::vector<uint8_t> out(kSavedTag, kSavedTag + 4);
  const auto n = static_cast<uint32_t>(file.size());
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(n >> (8 * i)));
  out.insert(out.end(), file.begin(), file.end());
  return out;
}

}  // namespace zxp::gfx

// ==== The handle API ===============================================================================
namespace zxp {

using namespace zxp::gfx;

BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT /*step*/, HBRUSH flickerFreeBrush,
                UINT flags) {
  DeviceContext* dc = dcFromHandle(hdc);
  IconObj* obj = iconFromHandle(icon);
  if (!dc || !obj || !(flags & DI_NORMAL) || cx < 0 || cy < 0) return FALSE;
  if (cx == 0) cx = (flags & DI_DEFAULTSIZE) ? kIconSize : obj->main().width();
  if (cy == 0) cy = (flags & DI_DEFAULTSIZE) ? kIconSize : obj->main().height();
  if (cx > kMaxIconSide * 4 || cy > kMaxIconSide * 4) return FALSE;
  const IconImage& img = obj->imageFor(cx, cy);
  Surface* s = dc->surface();
  if (!s) return FALSE;
  const Point o = dc->toDevice(Point{x, y});
  const Rect box = Rect::fromXYWH(o.x, o.y, cx, cy);
  if (flickerFreeBrush)
    if (BrushObj* b = brushFromHandle(flickerFreeBrush); b && b->style == BS_SOLID) fillRect(*dc, box, oleToPixel(b->color));
  const bool image = flags & DI_IMAGE, mask = flags & DI_MASK;
  for (const auto& b : dc->clip().rects()) {
    if (b.y1 >= box.bottom) break;
    const Rect c = box.intersect(Rect{b.x1, b.y1, b.x2, b.y2});
    for (int32_t py = c.top; py < c.bottom; ++py) {
      uint32_t* row = s->row(py);
      const int32_t sy = py - o.y;
      const uint32_t* src = img.color->row(sy);
      const uint8_t* m = img.mask.data() + static_cast<size_t>(sy) * img.width();
      for (int32_t px = c.left; px < c.right; ++px) {
        const int32_t sx = px - o.x;
        const uint32_t p = src[sx];
        uint32_t v = row[px] & 0xFFFFFF;
        if (img.alpha) {
          if (image) {
            const uint32_t a = p >> 24;
            if (a == 0) continue;  // transparent: untouched
            v = a == 255 ? (p & 0xFFFFFF) : blendPixel(v, p, a);
          } else {
            v = m[sx] ? 0xFFFFFF : 0;
          }
        } else {
          if (mask) v = image ? (m[sx] ? v : 0) : (m[sx] ? 0xFFFFFF : 0);
          if (image) v = mask ? (v ^ (p & 0xFFFFFF)) : (p & 0xFFFFFF);
        }
        row[px] = v;
      }
    }
  }
  return TRUE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) {
  return DrawIconEx(dc, x, y, icon, 0, 0, 0, 0, DI_NORMAL | DI_DEFAULTSIZE);
}

BOOL DestroyIcon(HICON icon) {
  if (!iconFromHandle(icon)) return FALSE;
  return handles().remove(icon) ? TRUE : FALSE;
}

HICON CopyIcon(HICON icon) {
  IconObj* obj = iconFromHandle(icon);
  if (!obj) return 0;
  return createIcon(obj->set, obj->primary);
}

HICON CreateIconIndirect(const ICONINFO* info) {
  if (!info) return 0;
  auto color = surfaceOfBitmap(info->hbmColor);
  auto maskBits = surfaceOfBitmap(info->hbmMask);
  if (!color && !maskBits) return 0;
  const Surface& ref = color ? *color : *maskBits;
  if (color && maskBits && (maskBits->width() != color->width() || maskBits->height() < color->height())) return 0;
  IconImage im;
  im.color = Surface::create(ref.width(), ref.height());
  if (!im.color) return 0;
  im.mask.assign(im.color->pixelCount(), 0);
  bool alpha = false;
  if (color)
    for (size_t i = 0; i < color->pixelCount() && !alpha; ++i) alpha = (color->bits()[i] >> 24) != 0;
  for (int32_t y = 0; y < ref.height(); ++y)
    for (int32_t x = 0; x < ref.width(); ++x) {
      const size_t i = static_cast<size_t>(y) * ref.width() + x;
      if (maskBits) im.mask[i] = (maskBits->at(x, y) & 0xFFFFFF) != 0;
      uint32_t p = color ? color->at(x, y) : 0;
      if (alpha) {
        // The colour bitmap holds premultiplied alpha, as a 32-bit DIB for AlphaBlend does.
        const uint32_t a = p >> 24;
        auto un = [&](int v) { return a ? std::min<uint32_t>(255, (static_cast<uint32_t>(v) * 255 + a / 2) / a) : 0u; };
        p = (a << 24) | (un(pixelR(p)) << 16) | (un(pixelG(p)) << 8) | un(pixelB(p));
        if (!maskBits) im.mask[i] = a == 0;
      } else {
        p &= 0xFFFFFF;
      }
      im.color->at(x, y) = p;
    }
  im.alpha = alpha;
  im.hotspot = info->fIcon ? Point{} : Point{static_cast<int32_t>(info->xHotspot), static_cast<int32_t>(info->yHotspot)};
  IconSet set;
  set.cursor = !info->fIcon;
  set.images.push_back(std::move(im));
  return createIcon(std::move(set));
}

BOOL GetIconInfo(HICON icon, ICONINFO* info) {
  IconObj* obj = iconFromHandle(icon);
  if (!obj || !info) return FALSE;
  const IconImage& im = obj->main();
  auto color = Surface::create(im.width(), im.height());
  auto mask = Surface::create(im.width(), im.height());
  if (!color || !mask) return FALSE;
  for (int32_t y = 0; y < im.height(); ++y)
    for (int32_t x = 0; x < im.width(); ++x) {
      const uint32_t p = im.color->at(x, y);
      const uint32_t a = p >> 24;
      color->at(x, y) = im.alpha ? ((a << 24) | (blendPixel(0, p, a) & 0xFFFFFF)) : (p & 0xFFFFFF);
      mask->at(x, y) = im.mask[static_cast<size_t>(y) * im.width() + x] ? 0xFFFFFF : 0;
    }
  info->fIcon = obj->set.cursor ? FALSE : TRUE;
  info->xHotspot = static_cast<DWORD>(obj->set.cursor ? im.hotspot.x : im.width() / 2);
  info->yHotspot = static_cast<DWORD>(obj->set.cursor ? im.hotspot.y : im.height() / 2);
  info->hbmColor = CreateBitmapForSurface(color);
  info->hbmMask = CreateBitmapForSurface(mask);
  return TRUE;
}

HICON ExtractIcon(HINSTANCE /*instance*/, const char* file, UINT index) {
  if (!file) return 0;
  std::string error;
  auto data = readImageFile(file, error);
  if (!data) return 0;
  const bool count = index == 0xFFFFFFFFu;
  const Bytes bytes(*data);
  switch (sniffImageFormat(bytes)) {
    case ImageFormat::Ico:
    case ImageFormat::Cur: {
      auto set = decodeIco(bytes, error);
      if (count) return set ? 1 : 0;
      if (!set || index != 0) return 0;
      const int primary = bestIconImage(*set, kIconSize, kIconSize);
      return createIcon(std::move(*set), primary);
    }
    case ImageFormat::Exe: {
      if (count) {
        auto n = countExeIcons(bytes, error);
        return n ? static_cast<HICON>(std::min<size_t>(*n, 0xFFFFFFFEu)) : 0;
      }
      auto set = decodeExeIcon(bytes, static_cast<int32_t>(index), error);
      if (!set) return 0;
      const int primary = bestIconImage(*set, kIconSize, kIconSize);
      return createIcon(std::move(*set), primary);
    }
    default:
      return count ? 0 : 1;  // an existing file that holds no icons
  }
}

}  // namespace zxp
