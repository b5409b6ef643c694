// A window's surface packed between its drawings: packing and unpacking give back every pixel
// (alpha byte included) whatever the mix of runs, single pixels and repeated rows; a row read
// from the packed form matches the unpacked row at every offset; packing refuses what it must
// not touch (bitmaps, shared or borrowed pixels, pictures that would not shrink); and any access
// unpacks first, so drawing through a DC sees the picture it left.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/GdiRaii.h"

namespace zxp::gfx {
namespace {

std::vector<uint32_t> pixelsOf(const Surface& s) {
  std::vector<uint32_t> out;
  for (int y = 0; y < s.height(); ++y) out.insert(out.end(), s.row(y), s.row(y) + s.width());
  return out;
}

// A control-like picture: rows of a vertical gradient with a border, some rows repeated, a
// stretch of text-like single pixels, runs of one and two pixels (also at a row's end) and a few
// pixels that differ only in the alpha byte. The text takes its colours from `inks` different
// ones (0: any colour).
std::shared_ptr<Surface> controlLike(int w, int h, unsigned seed, uint32_t inks = 0) {
  std::mt19937 rng(seed);
  auto s = Surface::create(w, h);
  uint32_t ink = 0;
  for (int y = 0; y < h; ++y) {
    uint32_t* r = s->row(y);
    const uint32_t shade = 0x00101010u * static_cast<uint32_t>((y / 2) % 15);
    for (int x = 0; x < w; ++x) r[x] = 0x00203040u + shade;
    r[0] = r[w - 1] = 0x00000080u;
    if (y % 5 == 2) {
      for (int x = 3; x < w / 2; ++x)  // "text", some alpha bits set
        r[x] = inks ? 0x01000001u * (ink++ % inks) : rng() & 0x01FFFFFFu;
      r[w - 2] = 0x00ABCDEFu;                                      // a run of one before the border
      if (w > 6) r[w - 4] = r[w - 3] = 0x00123456u;                // a run of two
    }
  }
  return s;
}

// Pictures of any colours, of as many as a palette holds and of one more; rows of 300 pixels
// make runs and stretches of single pixels longer than one code covers.
TEST(PackedPixels, PackAndUnpackKeepEveryPixelAndRowsReadAtAnyOffset) {
  for (unsigned seed : {1u, 2u, 3u}) {
    for (auto [w, h] : {std::pair{40, 30}, std::pair{16, 11}, std::pair{110, 23}, std::pair{300, 9}}) {
      const uint32_t inks = seed == 1 ? 0 : seed == 2 ? 230 : 250;  // with the picture's own: ~256, ~276
      SCOPED_TRACE(testing::Message() << w << "x" << h << " seed " << seed);
      auto s = controlLike(w, h, seed, inks);
      const std::vector<uint32_t> before = pixelsOf(*s);
      s->setPackable();
      ASSERT_TRUE(s->pack());
      ASSERT_TRUE(s->packed());
      EXPECT_LT(s->pictureBytes(), before.size() * sizeof(uint32_t) / 2);
      // Read from the packed form: every span of every row.
      std::vector<uint32_t> span(static_cast<size_t>(w));
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          for (int n : {1, 2, w - x}) {
            if (x + n > w) continue;
            s->readRow(y, x, n, span.data());
            ASSERT_TRUE(std::equal(span.begin(), span.begin() + n, before.begin() + y * w + x))
                << "row " << y << " from " << x << " for " << n;
          }
      EXPECT_TRUE(s->packed());  // reading rows left it packed
      EXPECT_EQ(pixelsOf(*s), before);  // a read through row() unpacks
      EXPECT_FALSE(s->packed());
    }
  }
}

// A picture of at most 256 colours is kept at a byte an index; one more colour falls back to a
// word a pixel, as does a picture whose codes pass what 16-bit row offsets reach.
TEST(PackedPixels, PicturesOfFewColoursPackToAByteAPixel) {
  auto paletteSized = [](uint32_t colours) {
    auto s = Surface::create(256, 8);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 256; ++x) s->at(x, y) = (static_cast<uint32_t>(x + y) % colours) * 0x00010101u;
    s->setPackable();
    return s;
  };
  auto few = paletteSized(256), more = paletteSized(257);
  const auto fewPixels = pixelsOf(*few), morePixels = pixelsOf(*more);
  ASSERT_TRUE(few->pack());
  EXPECT_LT(few->pictureBytes(), 256u * 8u * 2u);  // a byte an index, palette and codes aside
  EXPECT_EQ(pixelsOf(*few), fewPixels);
  EXPECT_FALSE(more->pack());  // single pixels at a word each: no saving
  EXPECT_EQ(pixelsOf(*more), morePixels);
  // 500 x 400 pixels in runs of five of 200 colours, shifted on every row: 80 000 bytes of codes.
  auto tall = Surface::create(500, 400);
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 500; ++x) tall->at(x, y) = static_cast<uint32_t>(((x + y) / 5) % 200);
  const auto tallPixels = pixelsOf(*tall);
  tall->setPackable();
  ASSERT_TRUE(tall->pack());  // in runs of words
  std::vector<uint32_t> row(500);
  tall->readRow(399, 0, 500, row.data());
  EXPECT_TRUE(std::equal(row.begin(), row.end(), tallPixels.end() - 500));
  EXPECT_EQ(pixelsOf(*tall), tallPixels);
}

// A few hundred colours (a push button's gradients and text): two-byte indexes, where the runs
// form would not halve the picture. Four equal rows of 200 colours (packed with one-byte indexes
// until the 257th colour turns up), then rows of runs of three, every fourth row single pixels.
TEST(PackedPixels, PicturesOfAFewHundredColoursPackToTwoBytesAnIndex) {
  auto s = Surface::create(600, 20);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 600; ++x) {
      const uint32_t k = y < 4        ? static_cast<uint32_t>(x / 3) % 200
                         : y % 4 == 0 ? static_cast<uint32_t>(x + y) % 300
                                      : static_cast<uint32_t>(x / 3 + y) % 300;
      s->at(x, y) = 0xFF000000u | k * 0x00010203u;
    }
  const auto pixels = pixelsOf(*s);
  s->setPackable();
  ASSERT_TRUE(s->pack());
  EXPECT_LT(s->pictureBytes(), 600u * 20u * 3u / 2u);  // the runs form needs more than 2.6 bytes a pixel
  // Rows read packed, from inside single pixels and from inside a run, then the whole picture.
  for (int y : {2, 4, 5}) {
    std::vector<uint32_t> row(7);
    s->readRow(y, 301, 7, row.data());
    EXPECT_TRUE(std::equal(row.begin(), row.end(), pixels.begin() + y * 600 + 301)) << y;
  }
  ASSERT_TRUE(s->packed());
  EXPECT_EQ(pixelsOf(*s), pixels);
}

TEST(PackedPixels, PackingRefusesWhatItMustNotTouchOrCannotShrink) {
  // Not a window's surface.
  auto plain = Surface::create(20, 10);
  EXPECT_FALSE(plain->pack());
  // Noise does not shrink: kept as it is.
  auto noisy = Surface::create(20, 10);
  std::mt19937 rng(7);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) noisy->at(x, y) = rng();
  const auto noise = pixelsOf(*noisy);
  noisy->setPackable();
  EXPECT_FALSE(noisy->pack());
  EXPECT_EQ(pixelsOf(*noisy), noise);
  // Pixels shown shared (a kept look), or borrowed by a bitmap that shares them.
  auto shown = Surface::create(20, 10);
  shown->setPackable();
  ASSERT_TRUE(shown->fillShared(0x00336699u));
  EXPECT_FALSE(shown->pack());
  auto lent = controlLike(20, 10, 1);
  lent->setPackable();
  auto copy = Surface::create(20, 10);
  ASSERT_TRUE(copy->sharePixelsOf(*lent));
  EXPECT_FALSE(lent->pack());
  copy.reset();  // once nobody else holds them, they are the surface's own to pack
  EXPECT_TRUE(lent->pack());
  // A bottom-up picture (a DIB's memory order) and one too large to pack around every drawing.
  auto dib = Surface::create(20, 10, true);
  dib->setPackable();
  EXPECT_FALSE(dib->pack());
  auto huge = Surface::create(1024, 512);
  huge->setPackable();
  EXPECT_FALSE(huge->pack());
}

// A packed surface lends its picture as it is: a bitmap sharing it sees the pixels, and the
// packed form is gone for good (nothing would keep the two in step).
TEST(PackedPixels, SharingAPackedPictureUnpacksItFirst) {
  auto s = controlLike(30, 12, 4);
  const auto before = pixelsOf(*s);
  s->setPackable();
  ASSERT_TRUE(s->pack());
  auto copy = Surface::create(30, 12);
  ASSERT_TRUE(copy->sharePixelsOf(*s));
  EXPECT_FALSE(s->packed());
  EXPECT_EQ(pixelsOf(*copy), before);
  EXPECT_EQ(pixelsOf(*s), before);
}

// Drawing on a packed window surface through its DC: the drawing lands on the picture it left,
// the surface waits for the next packIdle() and packs again there.
TEST(PackedPixels, DrawingUnpacksAndTheNextIdlePacksAgain) {
  auto s = controlLike(40, 20, 5);
  s->setPackable();
  Surface::packIdle();  // a surface made packable waits in the list
  ASSERT_TRUE(s->packed());
  const auto before = pixelsOf(*s);
  ASSERT_TRUE(s->pack());
  HDC dc = CreateSurfaceDC(s);
  GdiObject brush(CreateSolidBrush(RGB(1, 2, 3)));
  const RECT box{5, 5, 9, 8};
  FillRect(dc, &box, static_cast<HBRUSH>(brush.get()));
  EXPECT_FALSE(s->packed());
  std::vector<uint32_t> expected = before;
  for (int y = 5; y < 8; ++y)
    for (int x = 5; x < 9; ++x) expected[y * 40 + x] = 0x010203u;
  EXPECT_EQ(GetPixel(dc, 0, 0), pixelToOle(before[0]));
  Surface::packIdle();
  EXPECT_TRUE(s->packed());
  EXPECT_EQ(pixelsOf(*s), expected);
  DeleteDC(dc);
  // A surface gone before the idle pass is simply skipped.
  {
    auto gone = controlLike(40, 20, 6);
    gone->setPackable();
  }
  Surface::packIdle();
}

}  // namespace
}  // namespace zxp::gfx
