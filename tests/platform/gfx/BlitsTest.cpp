#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "platform/gfx/TestCanvas.h"

namespace zxp {
namespace {

using testing::dibInfo;
using testing::TestCanvas;

// Row y of a canvas as a vector, for compact comparisons.
std::vector<uint32_t> rowOf(TestCanvas& c, int y) {
  std::vector<uint32_t> r;
  for (int x = 0; x < c.width(); ++x) r.push_back(c.at(x, y));
  return r;
}

// The pixels at the given points.
std::vector<uint32_t> at(TestCanvas& c, std::initializer_list<std::pair<int, int>> points) {
  std::vector<uint32_t> r;
  for (auto [x, y] : points) r.push_back(c.at(x, y));
  return r;
}
using Px = std::vector<uint32_t>;

// ---- StretchDIBits and SetDIBitsToDevice -------------------------------------------------------

TEST(StretchDIBits, BottomUpBufferPaintsUprightAndCountsSourceRowsFromTheBottom) {
  TestCanvas c(4, 4, false, 0xEEEEEE);
  // A 4 x 4 bottom-up buffer: memory row 0 is the picture's bottom row.
  std::vector<uint32_t> buf(16);
  for (int i = 0; i < 16; ++i) buf[i] = 0x100 + i;
  BITMAPINFO bmi = dibInfo(4, 4);

  EXPECT_EQ(StretchDIBits(c.dc(), 0, 0, 4, 4, 0, 0, 4, 4, buf.data(), &bmi, DIB_RGB_COLORS, SRCCOPY), 4);
  EXPECT_EQ(rowOf(c, 0), (std::vector<uint32_t>{0x10C, 0x10D, 0x10E, 0x10F}));
  EXPECT_EQ(rowOf(c, 3), (std::vector<uint32_t>{0x100, 0x101, 0x102, 0x103}));

  // (1, 0, 2, 1) is the bottom row's columns 1 and 2; (1, 3, 2, 1) the top row's.
  c.fill(0);
  EXPECT_EQ(StretchDIBits(c.dc(), 0, 0, 2, 1, 1, 0, 2, 1, buf.data(), &bmi, DIB_RGB_COLORS, SRCCOPY), 1);
  EXPECT_EQ(StretchDIBits(c.dc(), 0, 1, 2, 1, 1, 3, 2, 1, buf.data(), &bmi, DIB_RGB_COLORS, SRCCOPY), 1);
  EXPECT_EQ(at(c, {{0, 0}, {1, 0}, {0, 1}}), (Px{0x101, 0x102, 0x10D}));
  // A two-row source area starting at the bottom paints its upper row first.
  EXPECT_EQ(StretchDIBits(c.dc(), 0, 2, 1, 2, 0, 0, 1, 2, buf.data(), &bmi, DIB_RGB_COLORS, SRCCOPY), 2);
  EXPECT_EQ(at(c, {{0, 2}, {0, 3}}), (Px{0x104, 0x100}));

  // A top-down buffer counts ySrc from the top.
  BITMAPINFO td = dibInfo(4, -4);
  EXPECT_EQ(StretchDIBits(c.dc(), 3, 3, 1, 1, 2, 1, 1, 1, buf.data(), &td, DIB_RGB_COLORS, SRCCOPY), 1);
  EXPECT_EQ(c.at(3, 3), 0x106u);
}

TEST(StretchDIBits, FailsOnBadInputWithoutPainting) {
  TestCanvas c(4, 4, false, 0x123456);
  std::vector<uint32_t> buf(16, 0xFF);
  BITMAPINFO bmi = dibInfo(4, 4), b24 = bmi, absurd = dibInfo(100000, 100000);
  b24.bmiHeader.biBitCount = 24;
  EXPECT_EQ(StretchDIBits(c.dc(), 0, 0, 4, 4, 0, 0, 4, 4, nullptr, &bmi, DIB_RGB_COLORS, SRCCOPY), 0);
  EXPECT_EQ(StretchDIBits(c.dc(), 0, 0, 4, 4, 0, 0, 4, 4, buf.data(), nullptr, DIB_RGB_COLORS, SRCCOPY), 0);
  EXPECT_EQ(StretchDIBits(c.dc(), 0, 0, 4, 4, 0, 0, 4, 4, buf.data(), &b24, DIB_RGB_COLORS, SRCCOPY), 0);
  EXPECT_EQ(StretchDIBits(c.dc(), 0, 0, 4, 4, 0, 0, 4, 4, buf.data(), &absurd, DIB_RGB_COLORS, SRCCOPY), 0);
  EXPECT_EQ(StretchDIBits(c.dc(), 0, 0, 0, 4, 0, 0, 4, 4, buf.data(), &bmi, DIB_RGB_COLORS, SRCCOPY), 0);
  EXPECT_EQ(StretchDIBits(0, 0, 0, 4, 4, 0, 0, 4, 4, buf.data(), &bmi, DIB_RGB_COLORS, SRCCOPY), 0);
  EXPECT_EQ(StretchDIBits(c.bitmap(), 0, 0, 4, 4, 0, 0, 4, 4, buf.data(), &bmi, DIB_RGB_COLORS, SRCCOPY), 0);
  EXPECT_EQ(c.at(0, 0), 0x123456u);
  // Far outside the surface: succeeds, paints nothing, reads nothing outside the buffer.
  EXPECT_EQ(StretchDIBits(c.dc(), INT_MIN, INT_MAX, INT_MAX, INT_MAX, INT_MIN, INT_MIN, INT_MAX, 4,
                          buf.data(), &bmi, DIB_RGB_COLORS, SRCCOPY), 4);
  EXPECT_EQ(c.at(0, 0), 0x123456u);
}

TEST(StretchDIBits, PaintsFromItsOwnDibSectionAsIfCopiedFirst) {
  TestCanvas c(4, 1);
  c.pattern();
  BITMAPINFO bmi = dibInfo(4, -1);
  EXPECT_EQ(StretchDIBits(c.dc(), 1, 0, 3, 1, 0, 0, 3, 1, c.bits(), &bmi, DIB_RGB_COLORS, SRCCOPY), 1);
  EXPECT_EQ(rowOf(c, 0), (std::vector<uint32_t>{0, 0, 1, 2}));
}

TEST(SetDIBitsToDevice, PaintsABandOfScanLines) {
  TestCanvas c(2, 4, false, 0xEEEEEE);
  // Scan lines 1 and 2 (counted from the bottom) of a 2 x 4 bottom-up picture.
  std::vector<uint32_t> band{0x10, 0x11, 0x20, 0x21};
  BITMAPINFO bmi = dibInfo(2, 4);
  EXPECT_EQ(SetDIBitsToDevice(c.dc(), 0, 0, 2, 4, 0, 0, 1, 2, band.data(), &bmi, DIB_RGB_COLORS), 2);
  EXPECT_EQ(Px(c.bits(), c.bits() + 8), (Px{0xEEEEEE, 0xEEEEEE, 0x20, 0x21, 0x10, 0x11, 0xEEEEEE, 0xEEEEEE}));
  EXPECT_EQ(SetDIBitsToDevice(c.dc(), 0, 0, 2, 4, 0, 0, 4, 2, band.data(), &bmi, DIB_RGB_COLORS), 0);
  EXPECT_EQ(SetDIBitsToDevice(c.dc(), 0, 0, 2, 4, 0, 0, 3, 9, band.data(), &bmi, DIB_RGB_COLORS), 1);
}

// ---- BitBlt, StretchBlt, PatBlt --------------------------------------------------------------------

TEST(BitBlt, EveryRasterOperationOnKnownPixels) {
  const uint32_t S = 0x00CC33AA, D = 0x00A5A50F, P = 0x00F00FC3;
  struct Case {
    DWORD rop;
    uint32_t expected;
  };
  const Case cases[] = {
      {SRCCOPY, S},           {SRCAND, S & D},           {SRCPAINT, S | D},         {SRCINVERT, S ^ D},
      {SRCERASE, S & ~D},     {NOTSRCCOPY, ~S},          {NOTSRCERASE, ~(S | D)},   {MERGEPAINT, ~S | D},
      {MERGECOPY, P & S},     {PATPAINT, P | ~S | D},    {PATCOPY, P},              {PATINVERT, P ^ D},
      {DSTINVERT, ~D},        {BLACKNESS, 0},            {WHITENESS, 0xFFFFFF},
      {0x00B8074A, ((D ^ P) & S) ^ P},  // PSDPxax
      {0x00E20746, ((P ^ D) & S) ^ D},  // DSPDxax
  };
  TestCanvas src(1, 1, false, S);
  GdiObject brush(CreateSolidBrush(pixelToOle(P)));
  for (const Case& k : cases) {
    TestCanvas dst(1, 1, false, D);
    SelectObject(dst.dc(), brush.get());
    EXPECT_EQ(BitBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, k.rop), TRUE) << std::hex << k.rop;
    EXPECT_EQ(dst.at(0, 0), k.expected & 0xFFFFFF) << std::hex << k.rop;
    SelectObject(dst.dc(), GetStockObject(WHITE_BRUSH));
  }
  // SRCCOPY carries the alpha byte; ROPs that combine produce plain 0x00RRGGBB pixels.
  TestCanvas alpha(1, 1, false, 0x80102030);
  TestCanvas dst(2, 1);
  BitBlt(dst.dc(), 0, 0, 1, 1, alpha.dc(), 0, 0, SRCCOPY);
  BitBlt(dst.dc(), 1, 0, 1, 1, alpha.dc(), 0, 0, SRCPAINT);
  EXPECT_EQ(rowOf(dst, 0), (Px{0x80102030, 0x00102030}));
  // ROPs without a source need no source DC; those with one fail without it.
  EXPECT_EQ(BitBlt(dst.dc(), 0, 0, 2, 1, 0, 0, 0, BLACKNESS), TRUE);
  EXPECT_EQ(BitBlt(dst.dc(), 0, 0, 2, 1, 0, 0, 0, SRCCOPY), FALSE);
  EXPECT_EQ(dst.at(1, 0), 0u);
}

TEST(PatBlt, UsesTheBrushAndNormalisesNegativeSizes) {
  TestCanvas c(6, 1, false, 0x000F0F);
  GdiObject brush(CreateSolidBrush(RGB(0x11, 0x22, 0x33)));
  SelectObject(c.dc(), brush.get());
  // A negative width covers [x + w + 1, x + 1): pixels 3, 4, 5 here.
  EXPECT_EQ(PatBlt(c.dc(), 5, 0, -3, 1, PATCOPY), TRUE);
  EXPECT_EQ(rowOf(c, 0), (std::vector<uint32_t>{0xF0F, 0xF0F, 0xF0F, 0x112233, 0x112233, 0x112233}));
  EXPECT_EQ(PatBlt(c.dc(), 0, 0, 1, 1, DSTINVERT), TRUE);
  EXPECT_EQ(PatBlt(c.dc(), 1, 0, 1, 1, PATINVERT), TRUE);
  EXPECT_EQ(at(c, {{0, 0}, {1, 0}}), (Px{0xFFF0F0, 0x112233 ^ 0xF0F}));
  EXPECT_EQ(PatBlt(c.dc(), 0, 0, 6, 1, SRCCOPY), FALSE);  // needs a source
  SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
  EXPECT_EQ(PatBlt(c.dc(), 0, 0, 6, 1, PATCOPY), TRUE);  // the null brush paints nothing
  EXPECT_EQ(c.at(3, 0), 0x112233u);
  EXPECT_EQ(PatBlt(c.dc(), 0, 0, 6, 1, WHITENESS), TRUE);
  EXPECT_EQ(c.at(3, 0), 0xFFFFFFu);
  EXPECT_EQ(PatBlt(0, 0, 0, 6, 1, WHITENESS), FALSE);
  SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
}

// Scrolling within one surface in all four directions, through one clip rectangle (rows walked
// in order) and through a clip of two rectangles (source copied away first).
TEST(BitBlt, OverlappingSourceAndDestinationBehaveLikeMemmove) {
  const int dirs[][2] = {{1, 1}, {-1, -1}, {2, -1}, {-2, 1}};
  for (bool complexClip : {false, true}) {
    for (const auto& d : dirs) {
      TestCanvas c(8, 6);
      c.pattern();
      std::vector<uint32_t> before(c.bits(), c.bits() + 48);
      if (complexClip) {
        GdiObject a(CreateRectRgn(0, 0, 3, 6)), b(CreateRectRgn(4, 0, 8, 6));
        CombineRgn(a.get(), a.get(), b.get(), RGN_OR);
        SelectClipRgn(c.dc(), a.get());
      }
      // Move the 4 x 3 block at (2, 2) by (dx, dy).
      ASSERT_EQ(BitBlt(c.dc(), 2 + d[0], 2 + d[1], 4, 3, c.dc(), 2, 2, SRCCOPY), TRUE);
      for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
          int sx = x - d[0], sy = y - d[1];
          bool inside = sx >= 2 && sx < 6 && sy >= 2 && sy < 5 && !(complexClip && x == 3);
          uint32_t expected = inside ? before[sy * 8 + sx] : before[y * 8 + x];
          ASSERT_EQ(c.at(x, y), expected) << "dir " << d[0] << "," << d[1] << " at " << x << "," << y;
        }
    }
  }
  // A stretched blit within one surface reads the original pixels too.
  TestCanvas c(4, 1);
  c.pattern();
  StretchBlt(c.dc(), 0, 0, 4, 1, c.dc(), 1, 0, 2, 1, SRCCOPY);
  EXPECT_EQ(rowOf(c, 0), (std::vector<uint32_t>{1, 1, 2, 2}));
}

TEST(StretchBlt, NearestNeighbourRoundingAndMirroring) {
  TestCanvas src(4, 1);
  src.pattern();  // 0 1 2 3
  TestCanvas dst(8, 1, false, 0xEE);
  // 1/2 down keeping one pixel of each pair: the centres fall on boundaries, the lower pixel wins.
  SetStretchBltMode(dst.dc(), COLORONCOLOR);
  StretchBlt(dst.dc(), 0, 0, 2, 1, src.dc(), 0, 0, 4, 1, SRCCOPY);
  EXPECT_EQ(rowOf(dst, 0), (std::vector<uint32_t>{0, 2, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}));
  // A negative destination width mirrors; it covers [x + w + 1, x + 1).
  dst.fill(0xEE);
  StretchBlt(dst.dc(), 4, 0, -4, 1, src.dc(), 0, 0, 4, 1, SRCCOPY);
  EXPECT_EQ(rowOf(dst, 0), (std::vector<uint32_t>{0xEE, 3, 2, 1, 0, 0xEE, 0xEE, 0xEE}));
  // Negative on both sides: no mirror. A mirrored 2x stretch.
  dst.fill(0xEE);
  StretchBlt(dst.dc(), 3, 0, -4, 1, src.dc(), 3, 0, -4, 1, SRCCOPY);
  StretchBlt(dst.dc(), 4, 0, 4, 1, src.dc(), 3, 0, -2, 1, SRCCOPY);
  EXPECT_EQ(rowOf(dst, 0), (std::vector<uint32_t>{0, 1, 2, 3, 3, 3, 2, 2}));
  // Vertical mirror through a negative destination height.
  TestCanvas col(1, 3);
  col.pattern();
  TestCanvas flipped(1, 3);
  StretchBlt(flipped.dc(), 0, 2, 1, -3, col.dc(), 0, 0, 1, 3, SRCCOPY);
  EXPECT_EQ(at(flipped, {{0, 0}, {0, 2}}), (Px{0x200, 0x000}));
}

// Enlarging: a destination pixel whose centre falls exactly on the boundary of two source pixels
// takes the lower one (10 rows to 15 read 0, 0, 1, 2, 2, 3, ...). For every pair of sizes,
// destination pixel i of n reads the source pixel j of m whose span (j, j + 1] holds its centre
// (2i + 1) m / (2n), along rows and columns alike.
TEST(StretchBlt, EnlargingTakesTheLowerPixelOnABoundary) {
  TestCanvas src(10, 10);
  src.pattern();  // y << 8 | x
  TestCanvas dst(15, 15);
  StretchBlt(dst.dc(), 0, 0, 15, 15, src.dc(), 0, 0, 10, 10, SRCCOPY);
  const int expected[] = {0, 0, 1, 2, 2, 3, 4, 4, 5, 6, 6, 7, 8, 8, 9};
  for (int i = 0; i < 15; ++i) {
    EXPECT_EQ(dst.at(i, 0), static_cast<uint32_t>(expected[i])) << i;
    EXPECT_EQ(dst.at(0, i), static_cast<uint32_t>(expected[i] << 8)) << i;
  }
  for (int m = 1; m <= 20; ++m) {
    TestCanvas line(m, 1);
    line.pattern();
    for (int n = m; n <= 48; ++n) {
      TestCanvas out(n, 1);
      StretchBlt(out.dc(), 0, 0, n, 1, line.dc(), 0, 0, m, 1, SRCCOPY);
      for (int i = 0; i < n; ++i) {
        const int64_t j = out.at(i, 0), centre2n = int64_t{2 * i + 1} * m;  // the centre times 2n
        EXPECT_TRUE(2 * n * j < centre2n && centre2n <= 2 * n * (j + 1)) << m << "->" << n << " pixel " << i;
      }
    }
  }
}

// Shrinking: each source row (or column) goes to the destination row under its centre, the lower
// one on a boundary (10 rows to 4 merge as {0, 1, 2}, {3, 4}, {5, 6, 7}, {8, 9}), and the DC's
// stretch mode combines each group: AND by default (BLACKONWHITE), OR (WHITEONBLACK), the pixel
// an enlargement would take (COLORONCOLOR), or the average of each channel (HALFTONE).
TEST(StretchBlt, ShrinkingCombinesSourceRowsByTheStretchMode) {
  TestCanvas rows(1, 10), cols(10, 1), grey(1, 10);
  for (int k = 0; k < 10; ++k) {
    rows.at(0, k) = 1u << k;
    cols.at(k, 0) = ~(1u << k);
    grey.at(0, k) = 0x010101u * static_cast<uint32_t>(k * 10);
  }
  TestCanvas dst(4, 4);
  EXPECT_EQ(GetStretchBltMode(dst.dc()), BLACKONWHITE);
  StretchBlt(dst.dc(), 0, 0, 4, 1, cols.dc(), 0, 0, 10, 1, SRCCOPY);
  EXPECT_EQ(rowOf(dst, 0), (std::vector<uint32_t>{~0x7u, ~0x18u, ~0xE0u, ~0x300u}));
  EXPECT_EQ(SetStretchBltMode(dst.dc(), WHITEONBLACK), BLACKONWHITE);
  StretchBlt(dst.dc(), 0, 0, 1, 4, rows.dc(), 0, 0, 1, 10, SRCCOPY);
  EXPECT_EQ(at(dst, {{0, 0}, {0, 1}, {0, 2}, {0, 3}}), (Px{0x7, 0x18, 0xE0, 0x300}));
  SetStretchBltMode(dst.dc(), COLORONCOLOR);
  StretchBlt(dst.dc(), 1, 0, 1, 4, rows.dc(), 0, 0, 1, 10, SRCCOPY);
  EXPECT_EQ(at(dst, {{1, 0}, {1, 1}, {1, 2}, {1, 3}}), (Px{1u << 1, 1u << 3, 1u << 6, 1u << 8}));
  SetStretchBltMode(dst.dc(), HALFTONE);
  StretchBlt(dst.dc(), 2, 0, 1, 4, grey.dc(), 0, 0, 1, 10, SRCCOPY);
  EXPECT_EQ(at(dst, {{2, 0}, {2, 1}, {2, 2}, {2, 3}}), (Px{0x0A0A0A, 0x232323, 0x3C3C3C, 0x555555}));
  // Modes outside the platform's four are refused.
  EXPECT_EQ(SetStretchBltMode(dst.dc(), 0) | SetStretchBltMode(dst.dc(), 5), 0);
  EXPECT_EQ(GetStretchBltMode(dst.dc()), HALFTONE);

  // For every pair of sizes (OR shows which rows merged): the groups are consecutive, cover every
  // source row once, and source row j lands in destination row i when 2mi < (2j + 1) n <= 2m(i + 1).
  for (int m = 2; m <= 32; ++m) {
    TestCanvas bits(1, m);
    for (int k = 0; k < m; ++k) bits.at(0, k) = 1u << k;
    for (int n = 1; n < m; ++n) {
      TestCanvas out(1, n);
      SetStretchBltMode(out.dc(), WHITEONBLACK);
      const BITMAPINFO info = dibInfo(1, -m);  // top-down, like the canvas
      StretchDIBits(out.dc(), 0, 0, 1, n, 0, 0, 1, m, bits.bits(), &info, DIB_RGB_COLORS, SRCCOPY);
      for (int j = 0; j < m; ++j) {
        int i = 0;
        while (int64_t{2 * j + 1} * n > int64_t{2} * m * (i + 1)) ++i;
        for (int d = 0; d < n; ++d)
          EXPECT_EQ((out.at(0, d) >> j) & 1u, d == i ? 1u : 0u) << m << "->" << n << " row " << j;
      }
    }
  }
}

// A stretch in height alone copies each destination row as one run of its source row: the
// same pixels as any other stretch, through clip holes, mirrored and at the source's edge.
TEST(StretchBlt, VerticalStretchAloneThroughClipAndMirror) {
  TestCanvas src(4, 2);
  src.pattern();
  TestCanvas dst(6, 4, false, 0xEE);
  GdiObject clip(CreateRectRgn(0, 0, 6, 4)), hole(CreateRectRgn(2, 1, 3, 3));
  CombineRgn(clip.get(), clip.get(), hole.get(), RGN_DIFF);
  SelectClipRgn(dst.dc(), clip.get());
  StretchBlt(dst.dc(), 1, 0, 3, 4, src.dc(), 1, 0, 3, 2, SRCCOPY);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool painted = x >= 1 && x < 4 && !(x == 2 && y >= 1 && y < 3);
      EXPECT_EQ(dst.at(x, y), painted ? src.at(x, y / 2) : 0xEEu) << x << "," << y;
    }
  SelectClipRgn(dst.dc(), 0);
  dst.fill(0xEE);
  StretchBlt(dst.dc(), 1, 3, 3, -4, src.dc(), 1, 0, 3, 2, SRCCOPY);  // upside down
  for (int y = 0; y < 4; ++y) EXPECT_EQ(dst.at(2, y), src.at(2, (3 - y) / 2)) << y;
  // Columns past the source's right edge stay as they were.
  dst.fill(0xEE);
  StretchBlt(dst.dc(), 0, 0, 4, 4, src.dc(), 2, 0, 4, 2, SRCCOPY);
  EXPECT_EQ(rowOf(dst, 3), (std::vector<uint32_t>{src.at(2, 1), src.at(3, 1), 0xEE, 0xEE, 0xEE, 0xEE}));
}

TEST(BitBlt, ClippedByRegionViewportAndSourceBounds) {
  TestCanvas src(4, 4, false, 0xAAAAAA);
  TestCanvas dst(6, 6, false, 0x111111);
  // A clip with a hole: only the ring is painted.
  GdiObject outer(CreateRectRgn(0, 0, 6, 6)), hole(CreateRectRgn(2, 2, 4, 4));
  CombineRgn(outer.get(), outer.get(), hole.get(), RGN_DIFF);
  SelectClipRgn(dst.dc(), outer.get());
  EXPECT_EQ(StretchBlt(dst.dc(), 0, 0, 6, 6, src.dc(), 0, 0, 4, 4, SRCCOPY), TRUE);
  EXPECT_EQ(at(dst, {{1, 1}, {2, 2}, {3, 3}, {5, 5}}), (Px{0xAAAAAA, 0x111111, 0x111111, 0xAAAAAA}));
  SelectClipRgn(dst.dc(), 0);

  // Source pixels outside the source surface leave the destination as it is.
  dst.fill(0x111111);
  EXPECT_EQ(BitBlt(dst.dc(), 0, 0, 6, 1, src.dc(), -2, 0, SRCCOPY), TRUE);
  EXPECT_EQ(rowOf(dst, 0), (std::vector<uint32_t>{0x111111, 0x111111, 0xAAAAAA, 0xAAAAAA, 0xAAAAAA, 0xAAAAAA}));

  // Logical coordinates go through each DC's viewport origin.
  dst.fill(0x111111);
  src.pattern();
  SetViewportOrgEx(dst.dc(), 2, 1, nullptr);
  SetViewportOrgEx(src.dc(), -1, 0, nullptr);
  BitBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 2, 3, SRCCOPY);
  EXPECT_EQ(dst.at(2, 1), 0x0301u);

  // Coordinates and sizes at the ends of the integer range do nothing and do not crash.
  dst.fill(0x111111);
  EXPECT_EQ(BitBlt(dst.dc(), INT_MAX, INT_MAX, INT_MAX, INT_MAX, src.dc(), 0, 0, SRCCOPY), TRUE);
  EXPECT_EQ(StretchBlt(dst.dc(), INT_MIN, 0, INT_MAX, 6, src.dc(), INT_MIN, 0, -INT_MAX, 4, SRCCOPY), TRUE);
  EXPECT_EQ(StretchBlt(dst.dc(), 0, 0, INT_MIN, INT_MIN, src.dc(), 0, 0, 4, 4, SRCINVERT), TRUE);
  EXPECT_EQ(dst.at(5, 5), 0x111111u);
}

// ---- AlphaBlend, TransparentBlt, GradientFill ----------------------------------------------------

TEST(AlphaBlend, ConstantAlphaRoundsEveryByteToNearest) {
  // Source byte s = x, destination byte d = y in all four bytes of each pixel.
  TestCanvas src(256, 256), dst(256, 256);
  for (int alpha : {0, 1, 128, 200, 255}) {
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x) {
        src.at(x, y) = 0x01010101u * x;
        dst.at(x, y) = 0x01010101u * y;
      }
    BLENDFUNCTION bf{AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0};
    ASSERT_EQ(AlphaBlend(dst.dc(), 0, 0, 256, 256, src.dc(), 0, 0, 256, 256, bf), TRUE);
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x) {
        uint32_t e = (x * alpha + y * (255 - alpha) + 127) / 255;
        ASSERT_EQ(dst.at(x, y), 0x01010101u * e) << "alpha " << alpha << " s " << x << " d " << y;
      }
  }
}

TEST(AlphaBlend, PerPixelPremultipliedAlpha) {
  TestCanvas src(2, 1), dst(4, 2, false, 0x00FFFFFF);
  src.at(0, 0) = 0x80400000;  // alpha 128, premultiplied red 0x40
  src.at(1, 0) = 0xFF0000FF;  // opaque blue
  BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  EXPECT_EQ(AlphaBlend(dst.dc(), 0, 0, 2, 1, src.dc(), 0, 0, 2, 1, bf), TRUE);
  // d' = s + d * (255 - 128) / 255: red 0x40 + 127, green and blue 127, alpha 128.
  EXPECT_EQ(at(dst, {{0, 0}, {1, 0}}), (Px{0x80BF7F7F, 0xFF0000FF}));
  // With a constant alpha of 128 as well, the source (alpha included) is scaled first:
  // alpha 64, red 32; d' = 32 + 255 * 191 / 255.
  bf.SourceConstantAlpha = 128;
  EXPECT_EQ(AlphaBlend(dst.dc(), 0, 1, 1, 1, src.dc(), 0, 0, 1, 1, bf), TRUE);
  EXPECT_EQ(dst.at(0, 1), 0x40DFBFBFu);
  // Stretched 2x.
  bf.SourceConstantAlpha = 255;
  EXPECT_EQ(AlphaBlend(dst.dc(), 2, 1, 2, 1, src.dc(), 1, 0, 1, 1, bf), TRUE);
  EXPECT_EQ(at(dst, {{2, 1}, {3, 1}}), (Px{0xFF0000FF, 0xFF0000FF}));
}

TEST(AlphaBlend, FailsOnMirroredEmptyOrOutsideAreasAndOverlap) {
  TestCanvas src(4, 4, false, 0xFFFFFF), dst(4, 4, false, 0x123456);
  BLENDFUNCTION bf{AC_SRC_OVER, 0, 128, 0};
  EXPECT_EQ(AlphaBlend(dst.dc(), 4, 0, -4, 4, src.dc(), 0, 0, 4, 4, bf), FALSE);
  EXPECT_EQ(AlphaBlend(dst.dc(), 0, 0, 4, 4, src.dc(), 0, 4, 4, -4, bf), FALSE);
  EXPECT_EQ(AlphaBlend(dst.dc(), 0, 0, 0, 4, src.dc(), 0, 0, 4, 4, bf), FALSE);
  EXPECT_EQ(AlphaBlend(dst.dc(), 0, 0, 4, 4, src.dc(), 1, 0, 4, 4, bf), FALSE);   // past the right edge
  EXPECT_EQ(AlphaBlend(dst.dc(), 0, 0, 4, 4, src.dc(), -1, 0, 2, 2, bf), FALSE);  // before the left edge
  EXPECT_EQ(AlphaBlend(dst.dc(), 1, 1, 2, 2, dst.dc(), 0, 0, 2, 2, bf), FALSE);   // overlapping, one surface
  EXPECT_EQ(AlphaBlend(0, 0, 0, 4, 4, src.dc(), 0, 0, 4, 4, bf), FALSE);
  EXPECT_EQ(AlphaBlend(dst.dc(), 0, 0, 4, 4, 0, 0, 0, 4, 4, bf), FALSE);
  BLENDFUNCTION badOp{1, 0, 128, 0}, badFlags{AC_SRC_OVER, 1, 128, 0}, badFormat{AC_SRC_OVER, 0, 128, 2};
  for (const BLENDFUNCTION& b : {badOp, badFlags, badFormat})
    EXPECT_EQ(AlphaBlend(dst.dc(), 0, 0, 4, 4, src.dc(), 0, 0, 4, 4, b), FALSE);
  EXPECT_EQ(dst.at(0, 0), 0x123456u);
  EXPECT_EQ(AlphaBlend(dst.dc(), 2, 2, 2, 2, dst.dc(), 0, 0, 2, 2, bf), TRUE);  // apart on one surface
}

TEST(TransparentBlt, KeysOutTheColourAndStretches) {
  TestCanvas src(2, 1), dst(4, 1, false, 0x111111);
  src.at(0, 0) = 0xFF00FF;  // magenta: RGB(255, 0, 255) reads the same in either byte order
  src.at(1, 0) = 0x00FF00;
  EXPECT_EQ(TransparentBlt(dst.dc(), 0, 0, 4, 1, src.dc(), 0, 0, 2, 1, RGB(255, 0, 255)), TRUE);
  EXPECT_EQ(rowOf(dst, 0), (std::vector<uint32_t>{0x111111, 0x111111, 0x00FF00, 0x00FF00}));
  // The key is a COLORREF: red in its low byte.
  src.at(0, 0) = 0x0000FF;  // blue pixel
  dst.fill(0x111111);
  TransparentBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, 1, 1, RGB(0, 0, 255));
  EXPECT_EQ(dst.at(0, 0), 0x111111u);
  EXPECT_EQ(TransparentBlt(dst.dc(), 0, 0, -1, 1, src.dc(), 0, 0, 1, 1, 0), FALSE);
  EXPECT_EQ(TransparentBlt(dst.dc(), 0, 0, 1, 1, dst.bitmap(), 0, 0, 1, 1, 0), FALSE);
}

TEST(GradientFill, HorizontalAndVerticalEndpoints) {
  TestCanvas c(256, 4);
  TRIVERTEX v[2];
  v[0].x = 0, v[0].y = 0, v[0].Red = 0, v[0].Green = 0xFF00, v[0].Blue = 0x8000;
  v[1].x = 256, v[1].y = 2, v[1].Red = 0xFF00, v[1].Green = 0, v[1].Blue = 0x8000;
  GRADIENT_RECT r{0, 1};
  EXPECT_EQ(GradientFill(c.dc(), v, 2, &r, 1, GRADIENT_FILL_RECT_H), TRUE);
  // Exactly the first vertex, one step short of the second, half way, and below the rectangle.
  EXPECT_EQ(at(c, {{0, 0}, {255, 1}, {128, 0}, {0, 2}}), (Px{0x00FF80, 0xFE0080, 0x7F7F80, 0}));
  // Vertices given right to left: the colours stay with their vertices.
  GRADIENT_RECT swapped{1, 0};
  c.fill(0);
  GradientFill(c.dc(), v, 2, &swapped, 1, GRADIENT_FILL_RECT_H);
  EXPECT_EQ(c.at(0, 0), 0x00FF80u);
  // Vertical: top row is the upper vertex's colour.
  v[1].x = 1, v[1].y = 4;
  GradientFill(c.dc(), v, 2, &r, 1, GRADIENT_FILL_RECT_V);
  EXPECT_EQ(at(c, {{0, 0}, {0, 3}}), (Px{0x00FF80, 0xBF3F80}));  // (0xFF00 * 3 / 4) >> 8
  GRADIENT_RECT bad{0, 2};
  EXPECT_EQ(GradientFill(c.dc(), v, 2, &bad, 1, GRADIENT_FILL_RECT_H), FALSE);
  EXPECT_EQ(GradientFill(c.dc(), v, 2, &r, 1, 2), FALSE);  // triangles are not supported
  EXPECT_EQ(GradientFill(0, v, 2, &r, 1, GRADIENT_FILL_RECT_H), FALSE);
}

// ---- Leaks ---------------------------------------------------------------------------------------

TEST(Blits, NoObjectOutlivesASequenceIncludingFailures) {
  size_t before = handles().liveCount();
  {
    TestCanvas a(16, 16), b(8, 8);
    BITMAPINFO bmi = dibInfo(8, 8);
    std::vector<uint32_t> buf(64, 0x336699);
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 100, 0};
    StretchDIBits(a.dc(), 0, 0, 16, 16, 0, 0, 8, 8, buf.data(), &bmi, DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(GetDIBits(a.dc(), b.bitmap(), 0, 8, buf.data(), &bmi, DIB_RGB_COLORS), 8);  // through another DC
    EXPECT_EQ(buf[63], 0u);
    BitBlt(a.dc(), 0, 0, 8, 8, b.dc(), 0, 0, SRCCOPY);
    AlphaBlend(a.dc(), 0, 0, 8, 8, b.dc(), 0, 0, 8, 8, bf);
    AlphaBlend(a.dc(), 0, 0, 8, 8, b.dc(), 4, 4, 8, 8, bf);  // fails
    TransparentBlt(a.dc(), 0, 0, 8, 8, b.dc(), 0, 0, 8, 8, 0);
    BitBlt(a.dc(), 0, 0, 8, 8, 0, 0, 0, SRCCOPY);            // fails
    HBITMAP selected = CreateCompatibleBitmap(a.dc(), 4, 4);
    HDC mem = CreateCompatibleDC(a.dc());
    SelectObject(mem, selected);
    EXPECT_EQ(DeleteObject(selected), FALSE);  // still selected
    DeleteDC(mem);
    EXPECT_EQ(DeleteObject(selected), TRUE);
  }
  EXPECT_EQ(handles().liveCount(), before);
}

}  // namespace
}  // namespace zxp
