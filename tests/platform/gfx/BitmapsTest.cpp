#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/gfx/TestCanvas.h"

namespace zxp {
namespace {

using testing::dibInfo;
using testing::TestCanvas;
using Px = std::vector<uint32_t>;

TEST(Bitmaps, DibSectionMemoryOrderFollowsTheSignOfTheHeight) {
  for (bool bottomUp : {true, false}) {
    MemoryDC dc(0);
    BITMAPINFO bmi = dibInfo(3, bottomUp ? 2 : -2);
    void* bits = nullptr;
    GdiObject bmp(CreateDIBSection(dc.get(), &bmi, DIB_RGB_COLORS, &bits, 0, 0));
    ASSERT_TRUE(bmp);
    ASSERT_NE(bits, nullptr);
    auto* px = static_cast<uint32_t*>(bits);
    px[0] = 0x112233;  // the first pixel in memory
    auto surface = gfx::surfaceOfBitmap(bmp.get());
    // Bottom-up: the first row in memory is the picture's bottom row.
    EXPECT_EQ(surface->at(0, bottomUp ? 1 : 0), 0x112233u);
    BITMAP bm;
    ASSERT_EQ(GetObject(bmp.get(), sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(std::tuple(bm.bmWidth, bm.bmHeight, bm.bmBits), std::tuple(3, 2, bits));
  }
}

TEST(Bitmaps, DibSectionRejectsUnsupportedAndAbsurdHeaders) {
  auto attempt = [](BITMAPINFO bmi, UINT usage = DIB_RGB_COLORS, HANDLE section = 0) {
    void* bits = reinterpret_cast<void*>(1);
    HBITMAP h = CreateDIBSection(0, &bmi, usage, &bits, section, 0);
    EXPECT_EQ(bits, nullptr);
    if (h) DeleteObject(h);
    return h;
  };
  size_t before = handles().liveCount();
  BITMAPINFO ok = dibInfo(4, 4);
  BITMAPINFO b24 = ok, bitfields = ok, w0 = ok, h0 = ok, wneg = ok, huge = dibInfo(100000, 100000),
             wide = dibInfo(40000, 1), small = ok;
  b24.bmiHeader.biBitCount = 24;
  bitfields.bmiHeader.biCompression = BI_BITFIELDS;
  w0.bmiHeader.biWidth = 0;
  h0.bmiHeader.biHeight = 0;
  wneg.bmiHeader.biWidth = -4;
  small.bmiHeader.biSize = 12;
  for (const BITMAPINFO& bad : {b24, bitfields, w0, h0, wneg, huge, wide, small}) EXPECT_EQ(attempt(bad), 0u);
  EXPECT_EQ(attempt(ok, 1), 0u);        // palette-indexed colours
  EXPECT_EQ(attempt(ok, 0, 42), 0u);    // file-mapping section
  EXPECT_EQ(CreateDIBSection(0, nullptr, DIB_RGB_COLORS, nullptr, 0, 0), 0u);
  EXPECT_EQ(handles().liveCount(), before);
}

TEST(Bitmaps, CompatibleBitmapSizes) {
  MemoryDC dc(0);
  GdiObject bmp(CreateCompatibleBitmap(dc.get(), 5, 7));
  BITMAP bm;
  ASSERT_EQ(GetObject(bmp.get(), sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(std::tuple(bm.bmWidth, bm.bmHeight, bm.bmBits), std::tuple(5, 7, nullptr));  // not a DIB section

  size_t before = handles().liveCount();
  HBITMAP empty = CreateCompatibleBitmap(dc.get(), 0, 10);  // the stock 1 x 1 bitmap
  ASSERT_NE(empty, 0u);
  EXPECT_EQ(GetObject(empty, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmWidth, 1);
  EXPECT_EQ(DeleteObject(empty), TRUE);
  EXPECT_EQ(CreateCompatibleBitmap(dc.get(), -1, 10), 0u);
  EXPECT_EQ(CreateCompatibleBitmap(dc.get(), 100000, 100000), 0u);
  EXPECT_EQ(CreateCompatibleBitmap(0, 10, 10), 0u);
  EXPECT_EQ(CreateCompatibleBitmap(bmp.get(), 10, 10), 0u);  // a bitmap is not a DC
  EXPECT_EQ(handles().liveCount(), before);
}

TEST(Bitmaps, GetDIBitsCountsLinesFromTheBottomForBottomUpRequests) {
  TestCanvas c(3, 4);
  c.pattern();  // pixel (x, y) = y << 8 | x
  BITMAPINFO bmi = dibInfo(3, 4);
  std::vector<uint32_t> buf(12, 0xDEADBEEF);

  // Lines 0 and 1 of a bottom-up read are the picture's two bottom rows, bottom first.
  EXPECT_EQ(GetDIBits(c.dc(), c.bitmap(), 0, 2, buf.data(), &bmi, DIB_RGB_COLORS), 2);
  EXPECT_EQ((Px{buf[0], buf[2], buf[3], buf[6]}), (Px{0x0300, 0x0302, 0x0200, 0xDEADBEEF}));  // then untouched

  // startScan 3 is the top row; more lines than exist are cut at the top.
  EXPECT_EQ(GetDIBits(c.dc(), c.bitmap(), 3, 10, buf.data(), &bmi, DIB_RGB_COLORS), 1);
  EXPECT_EQ(buf[0], 0x0000u);
  EXPECT_EQ(GetDIBits(c.dc(), c.bitmap(), 4, 1, buf.data(), &bmi, DIB_RGB_COLORS), 0);
  EXPECT_EQ(GetDIBits(c.dc(), c.bitmap(), 0, 100, buf.data(), &bmi, DIB_RGB_COLORS), 4);
  EXPECT_EQ((Px{buf[0], buf[11]}), (Px{0x0300, 0x0002}));

  // A top-down request counts from the top.
  BITMAPINFO td = dibInfo(3, -4);
  EXPECT_EQ(GetDIBits(c.dc(), c.bitmap(), 1, 2, buf.data(), &td, DIB_RGB_COLORS), 2);
  EXPECT_EQ((Px{buf[0], buf[5]}), (Px{0x0100, 0x0202}));

  // A header smaller than the bitmap limits what is written: 2 columns, 2 lines.
  BITMAPINFO narrow = dibInfo(2, 2);
  std::fill(buf.begin(), buf.end(), 0xDEADBEEF);
  EXPECT_EQ(GetDIBits(c.dc(), c.bitmap(), 0, 4, buf.data(), &narrow, DIB_RGB_COLORS), 2);
  EXPECT_EQ((Px{buf[1], buf[2], buf[4]}), (Px{0x0301, 0x0200, 0xDEADBEEF}));
}

TEST(Bitmaps, GetDIBitsQueryAndBadInput) {
  TestCanvas c(6, 5);
  BITMAPINFO q{};
  q.bmiHeader.biBitCount = 0;
  EXPECT_EQ(GetDIBits(c.dc(), c.bitmap(), 0, 0, nullptr, &q, DIB_RGB_COLORS), 5);
  const auto& h = q.bmiHeader;
  EXPECT_EQ(std::tuple(h.biWidth, h.biHeight, int{h.biBitCount}, h.biSizeImage), std::tuple(6, 5, 32, 6u * 5 * 4));

  std::vector<uint32_t> buf(30);
  BITMAPINFO bmi = dibInfo(6, 5);
  BITMAPINFO b24 = bmi;
  b24.bmiHeader.biBitCount = 24;
  HBITMAP stale = CreateCompatibleBitmap(c.dc(), 2, 2);
  DeleteObject(stale);
  // No DC, no bitmap, a DC for the bitmap, no header, 24 bits, a deleted bitmap.
  for (auto [dc, bmp, info] : {std::tuple{HDC{0}, c.bitmap(), &bmi}, {c.dc(), HBITMAP{0}, &bmi}, {c.dc(), c.dc(), &bmi},
                               {c.dc(), c.bitmap(), nullptr}, {c.dc(), c.bitmap(), &b24}, {c.dc(), stale, &bmi}})
    EXPECT_EQ(GetDIBits(dc, bmp, 0, 5, buf.data(), info, DIB_RGB_COLORS), 0);
}

}  // namespace
}  // namespace zxp
