#include <gtest/gtest.h>

#include "platform/gfx/DeviceContext.h"

namespace zxp {
namespace {

TEST(Handles, StaleAndWrongKindHandlesFailWithoutCrashing) {
  size_t before = HandleTable::global().liveCount();
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  HDC dc = CreateCompatibleDC(0);
  ASSERT_NE(pen, 0u);
  ASSERT_NE(dc, 0u);
  EXPECT_EQ(GetObjectType(pen), OBJ_PEN);
  EXPECT_EQ(GetObjectType(dc), OBJ_MEMDC);
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
