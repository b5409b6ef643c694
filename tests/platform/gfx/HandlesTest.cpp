#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "platform/gfx/DeviceContext.h"

namespace zxp {
namespace {

// A brush's colour, or CLR_INVALID for a handle that names no brush.
COLORREF colourOf(HBRUSH h) {
  LOGBRUSH lb{};
  return GetObject(h, sizeof lb, &lb) == static_cast<int>(sizeof lb) ? lb.lbColor : CLR_INVALID;
}

TEST(Handles, StaleAndWrongKindHandlesFailWithoutCrashing) {
  size_t before = HandleTable::global().liveCount();
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  HDC dc = CreateCompatibleDC(0);
  EXPECT_EQ(std::pair(GetObjectType(pen), GetObjectType(dc)), std::pair(DWORD{OBJ_PEN}, DWORD{OBJ_MEMDC}));
  // A pen is not a DC, a DC is not a pen.
  EXPECT_EQ(SetBkMode(pen, OPAQUE), 0);
  EXPECT_EQ(DeleteObject(dc), FALSE);
  EXPECT_EQ(DeleteObject(pen), TRUE);
  EXPECT_EQ(DeleteObject(pen), FALSE);  // stale
  EXPECT_EQ(SelectObject(dc, pen), 0u);
  EXPECT_EQ(DeleteDC(dc), TRUE);
  EXPECT_EQ(DeleteDC(dc), FALSE);
  EXPECT_EQ(HandleTable::global().liveCount(), before);
}

TEST(Handles, AWrappedCounterSkipsHandlesInUse) {
  HandleTable& table = HandleTable::global();
  const size_t before = table.liveCount();
  const HBRUSH stock = GetStockObject(WHITE_BRUSH);
  HBRUSH low = CreateSolidBrush(RGB(1, 2, 3));
  // Near the end of the 32-bit range: the next handles are the last two, then the counter wraps.
  const HANDLE counter = table.setNextHandleForTesting(UINT32_MAX - 1);
  HBRUSH a = CreateSolidBrush(RGB(4, 5, 6));
  HBRUSH b = CreateSolidBrush(RGB(7, 8, 9));
  EXPECT_EQ(a, UINT32_MAX - 1);
  EXPECT_EQ(b, UINT32_MAX);
  // Back at the bottom the counter passes over every live handle: the stock brush, the brush
  // made before and the two just made keep their objects.
  table.setNextHandleForTesting(std::min(stock, low));
  std::vector<HBRUSH> fresh;
  for (int i = 0; i < 4; ++i) fresh.push_back(CreateSolidBrush(RGB(10, 11, 12)));
  for (HBRUSH h : fresh) {
    EXPECT_TRUE(h != 0 && h != stock && h != low) << h;
    EXPECT_EQ(colourOf(h), RGB(10, 11, 12));
  }
  EXPECT_EQ((std::vector<COLORREF>{colourOf(stock), colourOf(low), colourOf(a)}),
            (std::vector<COLORREF>{RGB(255, 255, 255), RGB(1, 2, 3), RGB(4, 5, 6)}));
  // A handle given out at the top of the range is followed by the bottom, never by 0.
  DeleteObject(b);
  table.setNextHandleForTesting(UINT32_MAX);
  HBRUSH top = CreateSolidBrush(0);
  HBRUSH next = CreateSolidBrush(0);
  EXPECT_EQ(top, UINT32_MAX);
  EXPECT_TRUE(next != 0 && next != low) << next;
  for (HBRUSH h : fresh) DeleteObject(h);
  for (HBRUSH h : {low, a, top, next}) DeleteObject(h);
  EXPECT_EQ(table.liveCount(), before);
  table.setNextHandleForTesting(counter);  // other tests expect fresh handles above the old ones
}

TEST(Handles, ManyLiveObjectsKeepTheirHandlesAsTheTableGrows) {
  // Enough objects to make the table double several times, with holes left by deletions and a
  // long-lived object from before: every live handle keeps naming its own object, every deleted
  // one stays stale, and new handles never repeat a live one.
  HandleTable& table = HandleTable::global();
  const size_t before = table.liveCount();
  const HBRUSH old = CreateSolidBrush(RGB(9, 9, 9));
  std::vector<HBRUSH> brushes;
  std::set<size_t> deletedIndexes;
  for (size_t i = 0; i < 20000; ++i) {
    brushes.push_back(CreateSolidBrush(static_cast<COLORREF>(i)));
    if (i % 3 == 0) {  // delete an older one, so that holes are spread over the whole table
      DeleteObject(brushes[i / 2]);
      deletedIndexes.insert(i / 2);
    }
  }
  std::set<HBRUSH> seen(brushes.begin(), brushes.end());
  EXPECT_EQ(seen.size(), brushes.size());
  for (size_t i = 0; i < brushes.size(); ++i) {
    if (deletedIndexes.count(i)) {
      EXPECT_EQ(GetObjectType(brushes[i]), 0u) << i;
    } else {
      EXPECT_EQ(colourOf(brushes[i]), static_cast<COLORREF>(i)) << i;
    }
  }
  EXPECT_EQ(colourOf(old), RGB(9, 9, 9));
  EXPECT_EQ(table.liveCount(), before + 1 + brushes.size() - deletedIndexes.size());
  for (size_t i = 0; i < brushes.size(); ++i)
    if (!deletedIndexes.count(i)) DeleteObject(brushes[i]);
  DeleteObject(old);
  EXPECT_EQ(table.liveCount(), before);
}

TEST(Handles, SaveAndRestoreDcState) {
  HDC dc = CreateCompatibleDC(0);
  SetTextColor(dc, RGB(10, 20, 30));
  int level = SaveDC(dc);
  EXPECT_EQ(level, 1);
  SetTextColor(dc, RGB(1, 1, 1));
  SetBkMode(dc, TRANSPARENT);
  EXPECT_EQ(SaveDC(dc), 2);
  SetTextColor(dc, RGB(2, 2, 2));
  EXPECT_EQ(RestoreDC(dc, 1), TRUE);
  EXPECT_EQ(GetTextColor(dc), RGB(10, 20, 30));
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  EXPECT_EQ(RestoreDC(dc, -1), FALSE);  // nothing left to restore
  DeleteDC(dc);
}

}  // namespace
}  // namespace zxp
