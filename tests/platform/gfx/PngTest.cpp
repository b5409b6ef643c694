// PNG encoding: the colour type chosen for the picture and a lossless round trip through libpng's
// reader, for bottom-up and top-down surfaces.
#include <gtest/gtest.h>

#include <string>

#include "platform/gfx/ImageFiles.h"
#include "platform/gfx/Png.h"
#include "platform/gfx/Surface.h"

namespace zxp::gfx {
namespace {

// IHDR's colour type: byte 25 of the file (8 signature bytes, chunk length and type, then width,
// height and bit depth).
int colourType(const std::vector<uint8_t>& png) { return png.size() > 25 ? png[25] : -1; }

std::shared_ptr<Surface> pattern(bool bottomUp, uint32_t alphaAt00) {
  auto s = Surface::create(37, 5, bottomUp);
  for (int32_t y = 0; y < s->height(); ++y)
    for (int32_t x = 0; x < s->width(); ++x)
      s->row(y)[x] = 0xFF000000u | static_cast<uint32_t>(x * 7) << 16 | static_cast<uint32_t>(y * 40) << 8 |
                     static_cast<uint32_t>((x + y) & 0xFF);
  s->row(0)[0] = (s->row(0)[0] & 0x00FFFFFFu) | alphaAt00 << 24;
  return s;
}

void expectSamePixels(const Surface& a, const Surface& b, uint32_t alphaOr) {
  ASSERT_EQ(a.width(), b.width());
  ASSERT_EQ(a.height(), b.height());
  for (int32_t y = 0; y < a.height(); ++y)
    for (int32_t x = 0; x < a.width(); ++x)
      ASSERT_EQ(a.row(y)[x] | alphaOr, b.row(y)[x]) << x << "," << y;
}

std::shared_ptr<Surface> decode(const std::vector<uint8_t>& png) {
  std::string error;
  auto image = decodePng(Bytes(png.data(), png.size()), error);
  EXPECT_TRUE(image.has_value()) << error;
  return image ? image->pixels : nullptr;
}

TEST(Png, OpaquePicturesAreWrittenAsRgbAndReadBackExactly) {
  for (bool bottomUp : {false, true}) {
    for (bool withAlpha : {false, true}) {
      const auto s = pattern(bottomUp, 0xFF);
      const std::vector<uint8_t> png = encodePng(*s, withAlpha);
      EXPECT_EQ(colourType(png), 2) << "RGB";
      const auto back = decode(png);
      ASSERT_TRUE(back);
      expectSamePixels(*s, *back, 0);
    }
  }
}

TEST(Png, TransparencyIsKeptOnlyWhenAskedFor) {
  const auto s = pattern(true, 0x40);
  const std::vector<uint8_t> rgba = encodePng(*s, true);
  EXPECT_EQ(colourType(rgba), 6) << "RGBA";
  const auto back = decode(rgba);
  ASSERT_TRUE(back);
  expectSamePixels(*s, *back, 0);
  // Without alpha the picture is opaque: alpha 255 everywhere, colours unchanged.
  const std::vector<uint8_t> rgb = encodePng(*s, false);
  EXPECT_EQ(colourType(rgb), 2);
  const auto opaque = decode(rgb);
  ASSERT_TRUE(opaque);
  expectSamePixels(*s, *opaque, 0xFF000000u);
}

}  // namespace
}  // namespace zxp::gfx
