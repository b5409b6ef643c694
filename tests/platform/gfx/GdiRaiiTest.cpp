#include <gtest/gtest.h>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/GdiRaii.h"

namespace zxp {
namespace {

// The owners release on scope exit, and a selection ends before its object is deleted, so a
// bitmap selected into a memory DC is deleted rather than left behind.
TEST(GdiRaii, OwnersReleaseInReverseOrderAndLeaveNothingBehind) {
  size_t before = handles().liveCount();
  {
    MemoryDC mem(0);
    ASSERT_TRUE(mem);
    GdiObject bmp(gfx::CreateBitmapForSurface(gfx::Surface::create(4, 4)));
    GdiObject pen(CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
    Selection selBmp(mem.get(), bmp.get());
    Selection selPen(mem.get(), pen.get());
    EXPECT_TRUE(selBmp.ok());
    EXPECT_TRUE(selPen.ok());
    EXPECT_EQ(GetCurrentObject(mem.get(), OBJ_PEN), pen.get());
    EXPECT_EQ(GetCurrentObject(mem.get(), OBJ_BITMAP), bmp.get());
  }
  EXPECT_EQ(handles().liveCount(), before);
}

TEST(GdiRaii, FailedSelectionRestoresNothingAndMovedOwnersDeleteOnce) {
  size_t before = handles().liveCount();
  {
    GdiObject pen(CreatePen(PS_SOLID, 1, 0));
    Selection bad(0, pen.get());
    EXPECT_FALSE(bad.ok());
    GdiObject moved(std::move(pen));
    EXPECT_FALSE(pen);
    EXPECT_TRUE(moved);
    MemoryDC a(0);
    MemoryDC b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_TRUE(b);
  }
  EXPECT_EQ(handles().liveCount(), before);
}

}  // namespace
}  // namespace zxp
