// Icons and pictures: drawing with transparency at every control size, each file format on
// valid and corrupted input, saving and loading as bytes, ExtractIcon, and handle leaks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>

#include "ImageFixtures.h"
#include "platform/base/HostError.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Picture.h"

namespace zxp {
namespace {

using namespace zxp::testing;
using gfx::Bytes;

// A background in which every pixel differs from its neighbours.
std::shared_ptr<gfx::Surface> patterned(int w, int h) {
  auto s = gfx::Surface::create(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s->at(x, y) = makePixel(x * 5 % 256, y * 7 % 256, (x + y) * 3 % 256);
  return s;
}

Pixel rgb(Pixel p) { return p & 0xFFFFFF; }

// The colours (high byte dropped) of a surface's four top-left pixels, row by row.
std::vector<Pixel> quad(const gfx::Surface& s) {
  return {rgb(s.at(0, 0)), rgb(s.at(1, 0)), rgb(s.at(0, 1)), rgb(s.at(1, 1))};
}
using Px = std::vector<Pixel>;

TEST(Icons, TransparentPartsStayUntouchedAtEverySize) {
  const std::vector<int> sizes = {16, 32, 48};
  const std::vector<uint32_t> colors = {0xFF0000, 0x00FF00, 0x0000FF};
  HICON icon = gfx::createIcon(discIcons(sizes, colors), 1);
  ASSERT_NE(icon, 0u);
  for (int size : {16, 24, 28, 32, 48}) {
    auto bg = patterned(80, 80);
    auto s = patterned(80, 80);
    HDC dc = gfx::CreateSurfaceDC(s);
    ASSERT_EQ(DrawIconEx(dc, 10, 12, icon, size, size, 0, 0, DI_NORMAL), TRUE);
    // The disc's colour at the centre: the exact-size image where there is one, else the next
    // larger image scaled down (24 and 28 come from 32).
    const Pixel expect = size == 16 ? 0xFF0000 : size <= 32 ? 0x00FF00 : 0x0000FF;
    EXPECT_EQ(rgb(s->at(10 + size / 2, 12 + size / 2)), expect) << size;
    for (int y = 0; y < 80; ++y)
      for (int x = 0; x < 80; ++x) {
        const bool inBox = x >= 10 && x < 10 + size && y >= 12 && y < 12 + size;
        // Outside the box, and in the disc's transparent corners, nothing changes.
        const double dx = x - 10 + 0.5 - size / 2.0, dy = y - 12 + 0.5 - size / 2.0;
        const bool corner = dx * dx + dy * dy > (size / 2.0 + 1) * (size / 2.0 + 1);
        if (!inBox || corner) {
          EXPECT_EQ(s->at(x, y), bg->at(x, y)) << size << " at " << x << "," << y;
        }
      }
    DeleteDC(dc);
  }
  DestroyIcon(icon);
}

TEST(Icons, MaskIconsUseAndThenXorAndTheFlagsSelectTheParts) {
  // 2 x 2: opaque red, transparent, inverting white (mask 1, colour white), opaque black.
  const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0xFFFFFF};
  auto entry = paletteIconEntry(2, 2, 4, palette, {1, 0, 2, 0}, {0, 1, 1, 0});
  std::string error;
  auto set = gfx::decodeIco(icoFile({entry}, {{2, 2}}), error);
  ASSERT_TRUE(set) << error;
  EXPECT_FALSE(set->images[0].alpha);
  HICON icon = gfx::createIcon(std::move(*set));
  auto s = gfx::Surface::create(2, 2);
  HDC dc = gfx::CreateSurfaceDC(s);
  auto draw = [&](UINT flags) {
    s->fill(0x123456);
    return DrawIconEx(dc, 0, 0, icon, 0, 0, 0, 0, flags);
  };
  // Opaque red, the transparent pixel untouched, the inverted one, opaque black.
  ASSERT_EQ(draw(DI_NORMAL), TRUE);
  EXPECT_EQ(quad(*s), (Px{0xFF0000, 0x123456, 0x123456 ^ 0xFFFFFF, 0x000000}));
  draw(DI_MASK);
  EXPECT_EQ(quad(*s), (Px{0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000}));
  draw(DI_IMAGE);
  EXPECT_EQ(quad(*s), (Px{0xFF0000, 0x000000, 0xFFFFFF, 0x000000}));
  EXPECT_EQ(draw(0), FALSE);
  EXPECT_EQ(quad(*s), Px(4, 0x123456));
  // Clipping and the flicker-free brush.
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  s->fill(0x123456);
  HRGN clip = CreateRectRgn(0, 0, 1, 2);
  SelectClipRgn(dc, clip);
  DrawIconEx(dc, 0, 0, icon, 2, 2, 0, green, DI_NORMAL);
  EXPECT_EQ(std::pair(rgb(s->at(1, 1)), rgb(s->at(0, 1))), std::pair(0x123456u, 0x00FF00u ^ 0xFFFFFFu));  // (1, 1) clipped
  DeleteObject(clip);
  DeleteObject(green);
  DeleteDC(dc);
  DestroyIcon(icon);
}

TEST(Icons, HandlesThatAreNotIconsDrawNothing) {
  auto bg = patterned(40, 40);
  auto s = patterned(40, 40);
  HDC dc = gfx::CreateSurfaceDC(s);
  gfx::Image img{discImage(16, 0xFF00FF), true};
  auto loaded = gfx::loadPicture(gfx::encodeBmp(img));
  ASSERT_TRUE(loaded.ok()) << loaded.error;
  EXPECT_EQ(loaded.picture.Type(), vbPicTypeBitmap);
  EXPECT_EQ(DrawIconEx(dc, 0, 0, loaded.picture.Handle(), 16, 16, 0, 0, DI_NORMAL), FALSE);
  EXPECT_EQ(DrawIconEx(dc, 0, 0, 0, 16, 16, 0, 0, DI_NORMAL), FALSE);
  EXPECT_EQ(DrawIconEx(dc, 0, 0, 1, 16, 16, 0, 0, DI_NORMAL), FALSE);
  EXPECT_EQ(std::memcmp(s->bits(), bg->bits(), s->pixelCount() * 4), 0);
  EXPECT_EQ(DestroyIcon(loaded.picture.Handle()), FALSE);
  DeleteDC(dc);
}

TEST(Pictures, IconFilesKeepEveryImageAndPickTheBestFit) {
  auto bytes = gfx::encodeIco(discIcons({16, 32, 48}, {0xFF0000, 0x00FF00, 0x0000FF}));
  struct Case { Size ask; int got; } cases[] = {{{}, 32}, {{16, 16}, 16}, {{24, 24}, 32}, {{40, 40}, 48}, {{64, 64}, 48}};
  for (const auto& c : cases) {
    auto r = gfx::loadPicture(bytes, c.ask);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(std::tuple(r.picture.Type(), r.picture.width(), r.picture.height()), std::tuple(vbPicTypeIcon, c.got, c.got));
  }
  auto r = gfx::loadPicture(bytes);
  EXPECT_EQ(r.picture.Width(), 847);  // 32 px in HIMETRIC
  // Every image stays available: drawing at 16 uses the 16-pixel image.
  auto s = gfx::Surface::create(16, 16);
  HDC dc = gfx::CreateSurfaceDC(s);
  DrawIconEx(dc, 0, 0, r.picture.Handle(), 16, 16, 0, 0, DI_NORMAL);
  EXPECT_EQ(rgb(s->at(8, 8)), 0xFF0000u);
  DeleteDC(dc);
}

TEST(Pictures, IconImageFormatsPaletteTrueColourAndPng) {
  const std::vector<uint32_t> pal = {0x000000, 0x112233, 0x445566, 0x778899};
  const std::vector<uint8_t> idx = {0, 1, 2, 3, 3, 2, 1, 0, 1, 1, 2, 2, 3, 0, 3, 0};
  const std::vector<uint8_t> mask = {0, 0, 0, 0, 1, 1, 1, 1, 0, 1, 0, 1, 0, 0, 0, 0};
  for (int bpp : {1, 4, 8}) {
    std::vector<uint8_t> ix = idx;
    std::vector<uint32_t> p = pal;
    if (bpp == 1) {
      for (auto& i : ix) i &= 1;
      p.resize(2);
    }
    std::string error;
    auto im = gfx::decodeIconImage(paletteIconEntry(4, 4, bpp, p, ix, mask), error);
    ASSERT_TRUE(im) << error;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) {
        const size_t i = static_cast<size_t>(y * 4 + x);
        EXPECT_EQ(im->color->at(x, y), p[ix[i]]) << bpp;
        EXPECT_EQ(im->mask[i], mask[i]);
      }
  }
  // A PNG-compressed entry among DIB entries.
  auto disc = discImage(64, 0x336699);
  auto ico = icoFile({pngBytes(*disc), paletteIconEntry(4, 4, 4, pal, idx, mask)}, {{64, 64}, {4, 4}});
  std::string error;
  auto set = gfx::decodeIco(ico, error);
  ASSERT_TRUE(set) << error;
  ASSERT_EQ(set->images.size(), 2u);
  EXPECT_TRUE(set->images[0].alpha);
  EXPECT_EQ(set->images[0].color->at(32, 32), disc->at(32, 32));
  EXPECT_EQ(set->images[0].mask[0], 1);
  EXPECT_EQ(gfx::bestIconImage(*set, 4, 4), 1);
  EXPECT_EQ(gfx::bestIconImage(*set, 48, 48), 0);
}

TEST(Pictures, CursorsKeepTheirHotspot) {
  auto entry = gfx::encodeIco(discIcons({32}, {0x0000FF}));
  auto cur = icoFile({std::vector<uint8_t>(entry.begin() + 22, entry.end())}, {{32, 32}}, true, {5, 7});
  auto r = gfx::loadPicture(cur);
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.picture.Type(), vbPicTypeIcon);
  ICONINFO info;
  ASSERT_EQ(GetIconInfo(r.picture.Handle(), &info), TRUE);
  EXPECT_EQ(std::tuple(info.fIcon, info.xHotspot, info.yHotspot), std::tuple(FALSE, 5u, 7u));
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
}

// Bitmap files written by hand: the header fields, palette and row order each format uses.
std::vector<uint8_t> bmpFile(int w, int h, int bpp, uint32_t compression, const std::vector<uint32_t>& palette,
                             const std::vector<uint8_t>& rows, uint32_t headerSize = 40,
                             const std::vector<uint32_t>& masks = {}) {
  const auto u = [](auto x) { return static_cast<uint32_t>(x); };
  const int entry = headerSize == 12 ? 3 : 4;  // the old core header's palette has no fourth byte
  const uint32_t off = 14 + headerSize + (headerSize == 40 ? u(masks.size()) * 4 : 0) + u(palette.size() * entry);
  ByteVec f = {'B', 'M'};
  put(f, {{off + u(rows.size()), 4}, {0, 4}, {off, 4}, {headerSize, 4}});
  if (headerSize == 12) {
    put(f, {{u(w), 2}, {u(h), 2}, {1, 2}, {u(bpp), 2}});
  } else {
    put(f, {{u(w), 4}, {u(h), 4}, {1, 2}, {u(bpp), 2}, {compression, 4}, {u(rows.size()), 4}, {0, 8},
            {u(palette.size()), 4}, {0, 4}});
    // The colour masks: inside a longer header, or after a 40-byte one.
    for (size_t i = 0; i < (headerSize - 40) / 4; ++i) put(f, {{i < masks.size() ? masks[i] : 0, 4}});
    if (headerSize == 40)
      for (uint32_t m : masks) put(f, {{m, 4}});
  }
  for (uint32_t c : palette) put(f, {{c, entry}});
  f.insert(f.end(), rows.begin(), rows.end());
  return f;
}

TEST(Pictures, BitmapFilesInEveryDepthAndOrientation) {
  auto check = [](const std::vector<uint8_t>& file, std::vector<Pixel> expect, bool alpha = false) {
    std::string error;
    auto img = gfx::decodeBmp(file, error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->hasAlpha, alpha);
    ASSERT_EQ(img->pixels->width(), 2);
    ASSERT_EQ(img->pixels->height(), 2);
    std::vector<Pixel> got = {img->pixels->at(0, 0), img->pixels->at(1, 0), img->pixels->at(0, 1), img->pixels->at(1, 1)};
    if (!alpha)
      for (auto& p : expect) p |= 0xFF000000u;
    EXPECT_EQ(got, expect);
  };
  // 24 bits, bottom-up: the first row in the file is the picture's bottom row; rows pad to 4.
  check(bmpFile(2, 2, 24, 0, {}, {0x03, 0x02, 0x01, 0x06, 0x05, 0x04, 0, 0, 0x0C, 0x0B, 0x0A, 0x0F, 0x0E, 0x0D, 0, 0}),
        {0x0A0B0C, 0x0D0E0F, 0x010203, 0x040506});
  // Top-down (negative height).
  check(bmpFile(2, -2, 24, 0, {}, {0x03, 0x02, 0x01, 0x06, 0x05, 0x04, 0, 0, 0x0C, 0x0B, 0x0A, 0x0F, 0x0E, 0x0D, 0, 0}),
        {0x010203, 0x040506, 0x0A0B0C, 0x0D0E0F});
  // 8, 4 and 1 bits through a palette.
  const std::vector<uint32_t> pal = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  check(bmpFile(2, 2, 8, 0, pal, {2, 3, 0, 0, 0, 1, 0, 0}), {0x000000, 0xFF0000, 0x00FF00, 0x0000FF});
  check(bmpFile(2, 2, 4, 0, pal, {0x23, 0, 0, 0, 0x01, 0, 0, 0}), {0x000000, 0xFF0000, 0x00FF00, 0x0000FF});
  check(bmpFile(2, 2, 1, 0, {0x000000, 0xFFFFFF}, {0x40, 0, 0, 0, 0x80, 0, 0, 0}), {0xFFFFFF, 0x000000, 0x000000, 0xFFFFFF});
  // An index past the palette reads as black.
  check(bmpFile(2, 2, 8, 0, {0xFFFFFF}, {0, 7, 0, 0, 0, 0, 0, 0}), {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x000000});
  // 16 bits, 5-5-5 and 5-6-5 bit fields.
  check(bmpFile(2, 2, 16, 0, {}, {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0xFF, 0x7F}), {0x0000FF, 0xFFFFFF, 0xFF0000, 0x00FF00});
  check(bmpFile(2, 2, 16, 3, {}, {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0x00, 0x00}, 40, {0xF800, 0x07E0, 0x001F}),
        {0x0000FF, 0x000000, 0xFF0000, 0x00FF00});
  // 32 bits with an alpha mask in a V4 header: alpha kept.
  check(bmpFile(2, 2, 32, 3, {}, {0, 0, 0xFF, 0x80, 0, 0xFF, 0, 0xFF, 0xFF, 0, 0, 0x00, 1, 2, 3, 0x40}, 108,
                {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}),
        {0x000000FF, 0x40030201, 0x80FF0000, 0xFF00FF00}, true);
  // The old core header with a 3-byte palette.
  check(bmpFile(2, 2, 8, 0, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF}, {2, 3, 0, 0, 0, 1, 0, 0}, 12),
        {0x000000, 0xFF0000, 0x00FF00, 0x0000FF});
}

TEST(Pictures, PngJpegAndTheFirstGifFrame) {
  auto disc = discImage(20, 0x20A040);
  auto png = gfx::loadPicture(pngBytes(*disc));
  ASSERT_TRUE(png.ok()) << png.error;
  EXPECT_EQ(png.picture.Type(), vbPicTypeBitmap);
  EXPECT_TRUE(png.picture.hasAlpha());
  auto s = gfx::surfaceOfBitmap(png.picture.Handle());
  EXPECT_EQ(s->at(10, 10), 0xFF20A040u);  // opaque centre
  EXPECT_EQ(s->at(0, 0), 0u);             // transparent corner, premultiplied to 0

  auto opaque = gfx::Surface::create(16, 8);
  opaque->fill(0xFFC08040);
  auto jpg = gfx::loadPicture(jpegBytes(*opaque));
  ASSERT_TRUE(jpg.ok()) << jpg.error;
  EXPECT_FALSE(jpg.picture.hasAlpha());
  Pixel p = gfx::surfaceOfBitmap(jpg.picture.Handle())->at(8, 4);
  EXPECT_TRUE(std::abs(pixelR(p) - 0xC0) <= 3 && std::abs(pixelG(p) - 0x80) <= 3 && std::abs(pixelB(p) - 0x40) <= 3) << std::hex << p;
  EXPECT_EQ(p >> 24, 0u);

  const uint32_t palette[4] = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  auto gif = gfx::loadPicture(gifBytes(2, 2, palette, {{1, 2, 3, 0}, {3, 3, 3, 3}}, 0));
  ASSERT_TRUE(gif.ok()) << gif.error;
  auto g = gfx::surfaceOfBitmap(gif.picture.Handle());
  EXPECT_EQ((Px{g->at(0, 0), g->at(1, 0), g->at(0, 1), g->at(1, 1)}), (Px{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0}));  // last: transparent
  EXPECT_TRUE(gif.picture.hasAlpha());
}

TEST(Pictures, SaveAndLoadAsBytes) {
  // Nothing saves as nothing and loads as nothing.
  EXPECT_TRUE(gfx::savePicture(gfx::Picture()).empty());
  auto none = gfx::loadPicture({});
  EXPECT_TRUE(none.ok());
  EXPECT_TRUE(none.picture.empty());
  // A picture from a file saves that file.
  auto file = gfx::encodeIco(discIcons({16, 32}, {0xFF0000, 0x00FF00}));
  auto loaded = gfx::loadPicture(file);
  auto saved = gfx::savePicture(loaded.picture);
  ASSERT_EQ(saved.size(), file.size() + 8);
  EXPECT_EQ(std::memcmp(saved.data(), "lt\0\0", 4), 0);
  EXPECT_TRUE(std::equal(file.begin(), file.end(), saved.begin() + 8));
  auto back = gfx::loadPicture(saved);
  ASSERT_TRUE(back.ok());
  EXPECT_EQ(std::pair(back.picture.Type(), back.picture.width()), std::pair(vbPicTypeIcon, 32));
  // A picture made in memory saves its pixels: an icon as ICO, an alpha bitmap as a BMP.
  auto disc = discImage(24, 0x8040C0);
  gfx::Picture icon = gfx::Picture::fromIcon(gfx::createIconFromArgb(*disc));
  auto iconBack = gfx::loadPicture(gfx::savePicture(icon));
  ASSERT_TRUE(iconBack.ok()) << iconBack.error;
  ICONINFO a, b;
  GetIconInfo(icon.Handle(), &a);
  GetIconInfo(iconBack.picture.Handle(), &b);
  auto sa = gfx::surfaceOfBitmap(a.hbmColor), sb = gfx::surfaceOfBitmap(b.hbmColor);
  EXPECT_EQ(std::memcmp(sa->bits(), sb->bits(), sa->pixelCount() * 4), 0);
  for (HBITMAP h : {a.hbmColor, a.hbmMask, b.hbmColor, b.hbmMask}) DeleteObject(h);

  auto png = gfx::loadPicture(pngBytes(*disc));
  HBITMAP copy = CreateBitmapForSurface(gfx::surfaceOfBitmap(png.picture.Handle()));
  gfx::Picture bitmap = gfx::Picture::fromBitmap(copy, true);
  auto bmpBack = gfx::loadPicture(gfx::savePicture(bitmap));
  ASSERT_TRUE(bmpBack.ok()) << bmpBack.error;
  auto s1 = gfx::surfaceOfBitmap(png.picture.Handle()), s2 = gfx::surfaceOfBitmap(bmpBack.picture.Handle());
  EXPECT_EQ(std::memcmp(s1->bits(), s2->bits(), s1->pixelCount() * 4), 0);
}

// Every prefix of a valid file, and deterministic random corruptions, load or fail cleanly.
void expectCleanFailures(const std::vector<uint8_t>& valid) {
  for (size_t n = 0; n < valid.size(); n += std::max<size_t>(1, valid.size() / 300)) {
    auto r = gfx::loadPicture(Bytes(valid.data(), n));
    if (n > 0 && n < valid.size() - 1) {
      EXPECT_FALSE(r.ok() && r.picture.empty()) << n;  // never "success without a picture"
    }
    if (!r.ok()) {
      EXPECT_TRUE(r.picture.empty());
    }
  }
  std::mt19937 rng(1234);
  for (int round = 0; round < 300; ++round) {
    auto bad = valid;
    for (int k = 0; k < 4; ++k) bad[rng() % bad.size()] = static_cast<uint8_t>(rng());
    auto r = gfx::loadPicture(bad);
    EXPECT_EQ(r.ok(), !r.picture.empty());
  }
}

TEST(Pictures, TruncatedAndCorruptedFilesFailCleanly) {
  auto disc = discImage(16, 0x123456);
  const uint32_t palette[4] = {0, 0xFF, 0xFF00, 0xFF0000};
  expectCleanFailures(gfx::encodeIco(discIcons({16, 32}, {0xFF, 0xFF00})));
  expectCleanFailures(gfx::encodeBmp(gfx::Image{disc, true}));
  expectCleanFailures(pngBytes(*disc));
  expectCleanFailures(jpegBytes(*disc));
  expectCleanFailures(gifBytes(2, 2, palette, {{1, 2, 3, 0}}, -1));
  // Truncated files are errors, not pictures.
  auto ico = gfx::encodeIco(discIcons({16}, {0xFF}));
  EXPECT_FALSE(gfx::loadPicture(Bytes(ico.data(), ico.size() - 1)).ok());
  auto bmp = gfx::encodeBmp(gfx::Image{disc, false});
  EXPECT_FALSE(gfx::loadPicture(Bytes(bmp.data(), bmp.size() - 1)).ok());
  auto jpg = jpegBytes(*disc);  // not a picture padded with grey
  EXPECT_FALSE(gfx::loadPicture(Bytes(jpg.data(), jpg.size() * 2 / 3)).ok());
  // Unknown bytes and a saved-picture header claiming more than there is.
  EXPECT_EQ(gfx::loadPicture(std::vector<uint8_t>{1, 2, 3, 4, 5}).error,
            "unknown format (not an icon, cursor, bitmap, PNG, JPEG or GIF file)");
  EXPECT_FALSE(gfx::loadPicture(std::vector<uint8_t>{'l', 't', 0, 0, 0xFF, 0xFF, 0, 0, 'B', 'M'}).ok());
}

TEST(Pictures, LyingHeadersAreRefusedBeforeAllocating) {
  // A bitmap header claiming 65536 x 32768 pixels (2^31) in a 100-byte file.
  auto huge = bmpFile(65536, 32768, 24, 0, {}, std::vector<uint8_t>(40, 0));
  std::string error;
  EXPECT_FALSE(gfx::decodeBmp(huge, error));
  EXPECT_FALSE(error.empty());
  auto tall = bmpFile(30000, 30000, 32, 0, {}, std::vector<uint8_t>(40, 0));
  EXPECT_FALSE(gfx::decodeBmp(tall, error));
  EXPECT_EQ(error, "bitmap too large");
  auto negative = bmpFile(4, static_cast<int>(0x80000000u), 24, 0, {}, std::vector<uint8_t>(40, 0));
  EXPECT_FALSE(gfx::decodeBmp(negative, error));
  // An icon directory pointing past the end, or claiming 65535 entries.
  auto ico = gfx::encodeIco(discIcons({16}, {0xFF}));
  auto past = ico;
  past[6 + 12] = 0xF0;  // the entry's offset
  EXPECT_EQ(gfx::loadPicture(past).error, "icon directory points past the end");
  auto many = ico;
  many[4] = many[5] = 0xFF;
  EXPECT_EQ(gfx::loadPicture(many).error, "icon directory truncated");
  auto big = ico;
  big[6 + 8] = big[6 + 9] = big[6 + 10] = 0xFF;  // the entry's size
  EXPECT_FALSE(gfx::loadPicture(big).ok());
  // An icon entry whose DIB claims a huge size.
  auto dib = std::vector<uint8_t>(ico.begin() + 22, ico.end());
  dib[4] = 0xFF;
  dib[5] = 0xFF;
  EXPECT_FALSE(gfx::decodeIconImage(dib, error));
  // PNG headers claiming 2^31 pixels fail before decoding.
  auto png = pngBytes(*discImage(4, 0xFF));
  png[16] = 0x00;
  png[17] = 0x01;  // width 65536 + 4 (the CRC no longer matches either)
  EXPECT_FALSE(gfx::loadPicture(png).ok());
}

// A picture refused for its size says so once, with the format and the size it claims: the GIF
// header's own check must not come back as "unknown image type".
TEST(Pictures, RefusedSizesNameTheFormatAndTheSizeOnce) {
  const std::string tooLarge = " is too large (at most 32767 a side and 16777216 in all)";
  const uint32_t palette[4] = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  auto gifOf = [&](uint16_t w, uint16_t h) {
    auto gif = gifBytes(2, 2, palette, {{1, 2, 3, 0}}, -1);
    gif[6] = static_cast<uint8_t>(w), gif[7] = static_cast<uint8_t>(w >> 8);
    gif[8] = static_cast<uint8_t>(h), gif[9] = static_cast<uint8_t>(h >> 8);
    return gif;
  };
  EXPECT_EQ(gfx::loadPicture(gifOf(40000, 2)).error, "GIF: image of 40000 x 2 pixels" + tooLarge);
  EXPECT_EQ(gfx::loadPicture(gifOf(5000, 5000)).error, "GIF: image of 5000 x 5000 pixels" + tooLarge);
  EXPECT_EQ(gfx::loadPicture(gifOf(0, 2)).error, "GIF: image of 0 x 2 pixels is empty");
  const ByteVec small = gifOf(2, 2);
  EXPECT_EQ(gfx::loadPicture(Bytes(small.data(), 12)).error, "GIF: header truncated");
  EXPECT_TRUE(gfx::loadPicture(gifOf(2, 2)).ok());

  // The JPEG frame header (SOF0: length, precision, then height and width, big-endian).
  auto jpg = jpegBytes(*discImage(8, 0x808080));
  size_t sof = 2;
  while (sof + 9 < jpg.size() && !(jpg[sof] == 0xFF && jpg[sof + 1] == 0xC0)) ++sof;
  ASSERT_LT(sof + 9, jpg.size());
  jpg[sof + 5] = 0x75, jpg[sof + 6] = 0x30;  // 30000 rows
  jpg[sof + 7] = 0x75, jpg[sof + 8] = 0x30;  // of 30000 pixels
  EXPECT_EQ(gfx::loadPicture(jpg).error, "JPEG: image of 30000 x 30000 pixels" + tooLarge);

  // The PNG header with its checksum made right, so that only the size is wrong.
  auto png = pngBytes(*discImage(4, 0xFF));
  png[16] = 0x00, png[17] = 0x00, png[18] = 0x9C, png[19] = 0x40;  // width 40000
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 12; i < 12 + 4 + 13; ++i) {  // the chunk's type and data
    crc ^= png[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  crc ^= 0xFFFFFFFFu;
  for (int k = 0; k < 4; ++k) png[29 + k] = static_cast<uint8_t>(crc >> (24 - 8 * k));
  EXPECT_EQ(gfx::loadPicture(png).error, "PNG: image of 40000 x 4 pixels" + tooLarge);
}

TEST(Pictures, ExtractIconFromIconFilesAndExecutables) {
  auto icoPath = writeTemp("extract.ico", gfx::encodeIco(discIcons({16, 32}, {0xFF0000, 0x00FF00})));
  EXPECT_EQ(ExtractIcon(0, icoPath.c_str(), 0xFFFFFFFFu), 1u);
  HICON a = ExtractIcon(0, icoPath.c_str(), 0);
  ASSERT_NE(a, 0u);
  EXPECT_EQ(gfx::Picture::fromIcon(a).width(), 32);  // the platform's default size
  EXPECT_EQ(ExtractIcon(0, icoPath.c_str(), 1), 0u);
  EXPECT_EQ(ExtractIcon(0, "/nonexistent/zxp.ico", 0), 0u);
  auto txt = writeTemp("extract.txt", {'h', 'e', 'l', 'l', 'o'});
  EXPECT_EQ(ExtractIcon(0, txt.c_str(), 0), 1u);  // an existing file without icons
  EXPECT_EQ(ExtractIcon(0, txt.c_str(), 0xFFFFFFFFu), 0u);

  auto exe = writeTemp("extract.dll", peFile({{100, discIcons({16, 32}, {0xFF0000, 0x00FF00})},
                                              {101, discIcons({32}, {0x0000FF})}}));
  EXPECT_EQ(ExtractIcon(0, exe.c_str(), 0xFFFFFFFFu), 2u);
  auto centre = [](HICON h) {
    auto s = gfx::Surface::create(32, 32);
    HDC dc = gfx::CreateSurfaceDC(s);
    DrawIconEx(dc, 0, 0, h, 32, 32, 0, 0, DI_NORMAL);
    DeleteDC(dc);
    DestroyIcon(h);
    return rgb(s->at(16, 16));
  };
  EXPECT_EQ(centre(ExtractIcon(0, exe.c_str(), 0)), 0x00FF00u);
  EXPECT_EQ(centre(ExtractIcon(0, exe.c_str(), 1)), 0x0000FFu);
  EXPECT_EQ(centre(ExtractIcon(0, exe.c_str(), static_cast<UINT>(-101))), 0x0000FFu);  // by identifier
  EXPECT_EQ(ExtractIcon(0, exe.c_str(), 2), 0u);
  // A damaged executable gives nothing.
  auto pe = peFile({{100, discIcons({16}, {0xFF0000})}});
  pe.resize(0x200 + (pe.size() - 0x200) / 2);  // the icon data is cut
  auto damaged = writeTemp("damaged.dll", pe);
  EXPECT_EQ(ExtractIcon(0, damaged.c_str(), 0), 0u);
}

TEST(Pictures, LoadPictureRaisesHostErrors) {
  const auto errorOf = [](const std::string& path) {
    try {
      gfx::LoadPicture(path);
    } catch (const HostError& e) {
      return e.number();
    }
    return 0;
  };
  EXPECT_TRUE(gfx::LoadPicture("").empty());
  EXPECT_EQ(errorOf("/nonexistent/picture.bmp"), 53);
  EXPECT_EQ(errorOf(writeTemp("junk.bmp", {'B', 'M', 1, 2, 3})), 481);
  auto good = writeTemp("good.bmp", gfx::encodeBmp(gfx::Image{discImage(8, 0xFF), false}));
  EXPECT_EQ(gfx::LoadPicture(good).Type(), vbPicTypeBitmap);
}

TEST(Pictures, PicturesAndIconsDoNotLeakHandles) {
  const size_t before = handles().liveCount();
  {
    auto ico = gfx::encodeIco(discIcons({16, 32}, {0xFF, 0xFF00}));
    for (int i = 0; i < 10; ++i) {
      auto r = gfx::loadPicture(ico);
      gfx::Picture copy = r.picture;
      EXPECT_EQ(copy, r.picture);
      auto b = gfx::loadPicture(pngBytes(*discImage(8, 0xFF)));
      HICON c = CopyIcon(r.picture.Handle());
      ICONINFO info;
      GetIconInfo(c, &info);
      HICON d = CreateIconIndirect(&info);
      DeleteObject(info.hbmColor);
      DeleteObject(info.hbmMask);
      DestroyIcon(c);
      DestroyIcon(d);
      EXPECT_FALSE(gfx::loadPicture(Bytes(ico.data(), 30)).ok());
    }
  }
  EXPECT_EQ(handles().liveCount(), before);
}

}  // namespace
}  // namespace zxp
