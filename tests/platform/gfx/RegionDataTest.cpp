// Region data: GetRegionData and ExtCreateRegion carry a region through its rectangles and back,
// and malformed data is refused rather than read past its end.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/gfx/GdiRaii.h"

namespace zxp {
namespace {

std::vector<char> dataOf(HRGN rgn) {
  const DWORD need = GetRegionData(rgn, 0, nullptr);
  std::vector<char> buf(need);
  EXPECT_EQ(GetRegionData(rgn, need, reinterpret_cast<RGNDATA*>(buf.data())), need);
  return buf;
}

TEST(RegionData, RoundTripsThroughItsRectangles) {
  GdiObject a(CreateRectRgn(0, 0, 10, 4)), b(CreateRectRgn(3, 2, 7, 12)), u(CreateRectRgn(0, 0, 0, 0));
  CombineRgn(u.get(), a.get(), b.get(), RGN_OR);
  std::vector<char> buf = dataOf(u.get());
  const auto* d = reinterpret_cast<const RGNDATA*>(buf.data());
  EXPECT_EQ(sizeof(RGNDATAHEADER), 32u);
  EXPECT_EQ(d->rdh.nCount, 2u);  // y-x banded: rows 0-4 wide, rows 4-12 narrow
  EXPECT_EQ(d->rdh.rcBound, (RECT{0, 0, 10, 12}));
  EXPECT_EQ(GetRegionData(u.get(), static_cast<DWORD>(buf.size() - 1), reinterpret_cast<RGNDATA*>(buf.data())), 0u);
  GdiObject back(ExtCreateRegion(nullptr, static_cast<DWORD>(buf.size()), d));
  ASSERT_TRUE(back);
  EXPECT_TRUE(EqualRgn(back.get(), u.get()));
}

TEST(RegionData, OverlappingUnsortedRectanglesUniteAndBadDataIsRefused) {
  const RECT rects[] = {{5, 5, 9, 9}, {0, 0, 6, 6}, {2, 2, 2, 8}, {8, 0, 3, 1}};  // one empty, one reversed
  std::vector<char> buf(sizeof(RGNDATAHEADER) + sizeof rects);
  RGNDATAHEADER h;
  h.nCount = 4;
  std::memcpy(buf.data(), &h, sizeof h);
  std::memcpy(buf.data() + sizeof h, rects, sizeof rects);
  const auto* d = reinterpret_cast<const RGNDATA*>(buf.data());
  GdiObject r(ExtCreateRegion(nullptr, static_cast<DWORD>(buf.size()), d));
  ASSERT_TRUE(r);
  EXPECT_TRUE(PtInRegion(r.get(), 0, 0) && PtInRegion(r.get(), 8, 8) && PtInRegion(r.get(), 5, 5));
  EXPECT_FALSE(PtInRegion(r.get(), 8, 0) || PtInRegion(r.get(), 0, 8) || PtInRegion(r.get(), 9, 9));

  EXPECT_EQ(ExtCreateRegion(nullptr, static_cast<DWORD>(buf.size() - 1), d), 0u);  // short by a byte
  EXPECT_EQ(ExtCreateRegion(nullptr, 16, d), 0u);
  EXPECT_EQ(ExtCreateRegion(nullptr, 100, nullptr), 0u);
  XFORM shear;
  shear.eM12 = 0.5f;
  EXPECT_EQ(ExtCreateRegion(&shear, static_cast<DWORD>(buf.size()), d), 0u);
  XFORM identity;
  GdiObject same(ExtCreateRegion(&identity, static_cast<DWORD>(buf.size()), d));
  EXPECT_TRUE(EqualRgn(same.get(), r.get()));
  auto* bad = reinterpret_cast<RGNDATA*>(buf.data());
  bad->rdh.nCount = 0x10000000;  // would read far past the buffer
  EXPECT_EQ(ExtCreateRegion(nullptr, static_cast<DWORD>(buf.size()), bad), 0u);
  bad->rdh.nCount = 4;
  bad->rdh.iType = 2;
  EXPECT_EQ(ExtCreateRegion(nullptr, static_cast<DWORD>(buf.size()), bad), 0u);
  EXPECT_EQ(GetRegionData(0, 0, nullptr), 0u);
}

}  // namespace
}  // namespace zxp
