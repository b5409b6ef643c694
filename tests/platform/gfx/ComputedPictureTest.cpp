// The direct-write path: a computed picture must land exactly where StretchDIBits puts the same
// picture held in a buffer, and solid rectangles exactly where 1-pixel pen outlines go.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gfx/ComputedPicture.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/TestCanvas.h"

namespace zxp {
namespace {

using testing::TestCanvas;

constexpr uint32_t kBackground = 0xAB123456;

// A picture whose every pixel is distinct: (row, column) with a high byte, so a wrong row or
// column, or a lost high byte, shows.
uint32_t pictureAt(int32_t row, int32_t col) { return 0x7F000000u | static_cast<uint32_t>(row << 12 | col); }

// Sets up a DC as a test case asks: 0 plain, 1 a window origin, 2 a clip of two rectangles.
void setUp(HDC dc, int clipCase) {
  if (clipCase == 1) SetViewportOrgEx(dc, -3, 2, nullptr);
  if (clipCase == 2) {
    GdiObject a(CreateRectRgn(0, 0, 7, 30)), b(CreateRectRgn(10, 5, 30, 17));
    CombineRgn(a.get(), a.get(), b.get(), RGN_OR);
    SelectClipRgn(dc, a.get());
  }
}

bool same(TestCanvas& a, TestCanvas& b) {
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.at(x, y) != b.at(x, y)) return false;
  return true;
}

// Written row by row, or (kept 1:1 or enlarged) offered whole (`pixels`) or as one colour per row
// (stored bottom line first, as the gradients keep them, and painted in runs of rows without
// `write`), a picture must land on the pixels StretchDIBits gives it from a buffer, in every
// stretch mode, moved, clipped, and stretched in height.
TEST(ComputedPicture, PaintsWhatStretchDIBitsPaintsHoweverThePictureIsOffered) {
  for (int clipCase = 0; clipCase < 3; ++clipCase)
    for (int pw : {1, 5, 12})
      for (int ph : {1, 4, 9})
        for (int h : {ph, ph + 1, 2 * ph + 3, ph > 1 ? ph - 1 : 1})
          for (int mode : {BLACKONWHITE, COLORONCOLOR, HALFTONE})
            for (int x : {-2, 3})
              for (bool oneColourRows : {false, true}) {
                const auto at = [&](int32_t r, int32_t c) { return pictureAt(r, oneColourRows ? 0 : c); };
                const size_t n = static_cast<size_t>(pw) * ph;
                std::vector<uint32_t> bits(n), pixels(n), colours(static_cast<size_t>(ph));
                for (int r = 0; r < ph; ++r) {
                  colours[static_cast<size_t>(ph - 1 - r)] = at(r, 0);
                  for (int c = 0; c < pw; ++c) {
                    bits[static_cast<size_t>(ph - 1 - r) * pw + c] = at(r, c);  // bottom-up
                    pixels[static_cast<size_t>(r) * pw + c] = at(r, c);
                  }
                }
                TestCanvas blit(30, 30, true, kBackground), byRows(30, 30, false, kBackground),
                    offered(30, 30, false, kBackground);
                for (HDC dc : {blit.dc(), byRows.dc(), offered.dc()}) {
                  setUp(dc, clipCase);
                  SetStretchBltMode(dc, mode);
                }
                BITMAPINFO bmi = testing::dibInfo(pw, ph);
                StretchDIBits(blit.dc(), x, 1, pw, h, 0, 0, pw, ph, bits.data(), &bmi, DIB_RGB_COLORS, SRCCOPY);
                const auto rows = [&](int32_t row, int32_t col, uint32_t* dst, int32_t count) {
                  for (int32_t i = 0; i < count; ++i) dst[i] = at(row, col + i);
                };
                SCOPED_TRACE(::testing::Message() << pw << "x" << ph << " to height " << h << " mode " << mode << " at "
                                                  << x << " clip " << clipCase << " one colour " << oneColourRows);
                ComputedPicture picture = ComputedPicture::of(pw, ph, rows);
                if (!PaintComputedPicture(byRows.dc(), x, 1, pw, h, picture)) {
                  ASSERT_LT(h, ph);  // left to the caller's buffer path, but never a copy or enlargement
                  continue;
                }
                EXPECT_TRUE(same(byRows, blit));
                if (h < ph) continue;  // a shrunk picture is always written row by row
                if (oneColourRows) {
                  picture.rowColour = colours.data() + (ph - 1);
                  picture.rowColourStep = -1;
                } else {
                  picture.pixels = pixels.data();
                }
                picture.write = nullptr;  // the offered pixels alone must do
                ASSERT_TRUE(PaintComputedPicture(offered.dc(), x, 1, pw, h, picture));
                EXPECT_TRUE(same(offered, blit));
              }
}

// A frame written in the same pass as the rows must give what painting the picture and then
// filling the rectangles in order gives. The sides of a wide face are blended into the first and
// last blocks of each row instead of being stored on their own: for every width around the block
// size, at every column, with sides at and near both ends, a side in the middle, rows across,
// pieces above, below and off the picture, an empty piece, and overlaps (a later piece wins),
// through every clip, the pixels must be those of the picture painted and then framed.
TEST(ComputedPicture, FramedPictureMatchesPictureThenRectangles) {
  std::vector<uint32_t> colours(9);
  for (size_t r = 0; r < colours.size(); ++r) colours[r] = pictureAt(static_cast<int32_t>(r), 0);
  const auto rows = [&](int32_t row, int32_t, uint32_t* dst, int32_t n) {
    std::fill_n(dst, n, colours[static_cast<size_t>(8 - row)]);
  };
  for (int w = 1; w <= 40; ++w)
    for (int x : {0, 1, 5}) {
      ComputedPicture picture = ComputedPicture::of(w, 9, rows);
      picture.rowColour = colours.data() + 8;  // bottom line first, as the gradients keep them
      picture.rowColourStep = -1;
      const int r = x + w;  // the picture's right edge
      const std::vector<SolidRect> frame = {
          {RECT{x, 2, x + 1, 9}, RGB(1, 0, 0)},                  // the left side
          {RECT{r - 1, 2, r, 10}, RGB(2, 0, 0)},                 // the right side
          {RECT{x + 2, 3, x + 3, 8}, RGB(3, 0, 0)},              // a line inside, near the left
          {RECT{r - 16, 4, r - 15, 7}, RGB(4, 0, 0)},            // the first column of the last block
          {RECT{x + 15, 4, x + 16, 6}, RGB(5, 0, 0)},            // the last column of the first block
          {RECT{x + 16, 5, x + 17, 6}, RGB(6, 0, 0)},            // the first column past it
          {RECT{r - 2, 3, r, 5}, RGB(7, 0, 0)},                  // over the right side: later wins
          {RECT{x + w / 2, 6, x + w / 2 + 1, 8}, RGB(8, 0, 0)},  // the middle
          {RECT{x, 8, r + 3, 9}, RGB(9, 0, 0)},                  // a row running off the right
          {RECT{x + 2, 0, x + 7, 1}, RGB(10, 0, 0)},             // above the picture
          {RECT{x + 3, 4, x + 4, 40}, RGB(11, 0, 0)},            // a column running off the bottom
          {RECT{x + 4, 5, x + 4, 9}, RGB(12, 0, 0)}};            // empty
      for (int clipCase = 0; clipCase < 3; ++clipCase)
        for (bool bottomUp : {false, true}) {
          TestCanvas framed(48, 12, bottomUp, kBackground), apart(48, 12, bottomUp, kBackground);
          setUp(framed.dc(), clipCase);
          setUp(apart.dc(), clipCase);
          ASSERT_TRUE(PaintFramedPicture(framed.dc(), x, 1, w, 9, picture, frame.data(), frame.size()));
          ASSERT_TRUE(PaintComputedPicture(apart.dc(), x, 1, w, 9, picture));
          ASSERT_TRUE(FillSolidRects(apart.dc(), frame.data(), frame.size()));
          ASSERT_TRUE(same(framed, apart)) << w << " wide at " << x << " clip " << clipCase
                                           << (bottomUp ? " bottom-up" : "");
        }
    }
}

// The row fill and the row copy store in blocks at both ends and on cache-line boundaries
// between: every length and every start within a cache line must give exactly the run, with
// nothing written before or after it.
TEST(ComputedPicture, RowFillsAndCopiesWriteExactlyTheirRun) {
  std::vector<uint32_t> buffer(256);
  for (int start = 0; start < 16; ++start)
    for (int n = 0; n <= 100; ++n) {
      std::fill(buffer.begin(), buffer.end(), kBackground);
      uint32_t* base = buffer.data() + 16 + start;
      FillPixels(base, n, 0x01020304u);
      for (int i = -16; i < n + 16; ++i)
        ASSERT_EQ(base[i], i >= 0 && i < n ? 0x01020304u : kBackground) << start << " " << n << " " << i;
    }
  // The copy: a picture offering its pixels, painted at every column of a surface.
  for (int pw : {7, 16, 17, 40, 75})
    for (int x = 0; x < 16; ++x) {
      std::vector<uint32_t> pixels(static_cast<size_t>(pw) * 2);
      for (int r = 0; r < 2; ++r)
        for (int c = 0; c < pw; ++c) pixels[static_cast<size_t>(r) * pw + c] = pictureAt(r, c);
      const auto unused = [](int32_t, int32_t, uint32_t*, int32_t) {};
      ComputedPicture picture = ComputedPicture::of(pw, 2, unused);
      picture.pixels = pixels.data();
      TestCanvas c(100, 4, false, kBackground);
      ASSERT_TRUE(PaintComputedPicture(c.dc(), x, 1, pw, 2, picture));
      for (int y = 0; y < 4; ++y)
        for (int col = 0; col < 100; ++col) {
          const bool in = y >= 1 && y < 3 && col >= x && col < x + pw;
          ASSERT_EQ(c.at(col, y), in ? pictureAt(y - 1, col - x) : kBackground) << pw << " at " << x;
        }
    }
}

TEST(ComputedPicture, DeclinesWhatItDoesNotCoverAndBadInput) {
  TestCanvas c(10, 10, false, kBackground);
  const auto rows = [](int32_t, int32_t, uint32_t* dst, int32_t n) { std::fill_n(dst, n, 0u); };
  const ComputedPicture picture = ComputedPicture::of(4, 4, rows);
  // A horizontal stretch, a mirror, no DC.
  EXPECT_FALSE(PaintComputedPicture(c.dc(), 0, 0, 8, 4, picture) || PaintComputedPicture(c.dc(), 0, 0, -4, 4, picture) ||
               PaintComputedPicture(0, 0, 0, 4, 4, picture));
  EXPECT_EQ(c.at(0, 0), kBackground);
  const SolidRect r{RECT{0, 0, 2, 2}, RGB(1, 2, 3)};
  SetROP2(c.dc(), R2_XORPEN);  // another mix mode: the caller draws with a pen
  EXPECT_FALSE(FillSolidRects(c.dc(), &r, 1) || PaintFramedPicture(c.dc(), 0, 0, 4, 4, picture, &r, 1));
  EXPECT_EQ(c.at(0, 0), kBackground);
  SetROP2(c.dc(), R2_COPYPEN);
  EXPECT_TRUE(FillSolidRects(c.dc(), &r, 1));
  EXPECT_EQ(std::pair(c.at(1, 1), c.at(2, 2)), std::pair(0x00010203u, kBackground));
}

}  // namespace
}  // namespace zxp
