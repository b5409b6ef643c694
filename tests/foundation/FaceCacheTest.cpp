// The shared face cache: a face is painted once per key and copied after that; the cache stays
// within its count and pixel bounds, dropping the least recently used face; the copy goes
// through the DC's clip; DCs that would paint differently get the face painted straight in; a
// cache that keeps faces on their second miss keeps only those; and the cache holds no handles.
#include "foundation/FaceCache.h"

#include <gtest/gtest.h>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Handles.h"
#include "platform/gfx/TestCanvas.h"

namespace zxp::foundation {
namespace {

using testing::TestCanvas;

const char kOwner = 0;

FaceKey keyOf(int w, int h, uint32_t colour) { return FaceKey{&kOwner, w, h, {colour}, {}}; }

class FaceCacheTest : public ::testing::Test {
 protected:
  FaceCacheTest() { cache.clear(); }
  ~FaceCacheTest() override { cache.clear(); }

  // Draws the face of `key` through `in` (the fixture's cache by default), filled with its first
  // value and a distinct pixel at its top-left corner, and counts how often the painter ran and
  // which DC it got.
  bool draw(HDC dc, const FaceKey& key, FaceCache* in = nullptr) {
    return (in ? *in : cache).draw(dc, key, [&](HDC target) {
      ++painted;
      lastTarget = target;
      const RECT all{0, 0, key.width, key.height};
      GdiObject brush(CreateSolidBrush(key.values[0]));
      FillRect(target, &all, static_cast<HBRUSH>(brush.get()));
      SetPixelV(target, 0, 0, 0x0000FF);
    });
  }

  FaceCache cache;
  int painted = 0;
  HDC lastTarget = 0;
};

TEST_F(FaceCacheTest, PaintsOnceThenCopiesWithTheSamePixels) {
  TestCanvas a(10, 6), b(10, 6);
  EXPECT_TRUE(draw(a.dc(), keyOf(10, 6, 0x00FF00)) && draw(b.dc(), keyOf(10, 6, 0x00FF00)));
  EXPECT_EQ(painted, 1);
  EXPECT_NE(lastTarget, a.dc());  // painted into a surface of the cache's own
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(a.at(x, y), b.at(x, y)) << x << "," << y;
  EXPECT_EQ(b.at(0, 0), 0xFF0000u);  // the corner pixel, RGB(255, 0, 0) as a 0x00RRGGBB pixel
  EXPECT_EQ(b.at(5, 3), 0x00FF00u);

  // Another value, size or owner is another face.
  const char otherOwner = 0;
  draw(b.dc(), keyOf(10, 6, 0x00FF01));
  draw(b.dc(), keyOf(10, 5, 0x00FF00));
  draw(b.dc(), FaceKey{&otherOwner, 10, 6, {0x00FF00}, {}});
  EXPECT_EQ(std::tuple(painted, cache.faceCount()), std::tuple(4, 4u));
}

TEST_F(FaceCacheTest, StaysWithinItsBoundsDroppingTheLeastRecentlyUsed) {
  TestCanvas canvas(8, 8);
  for (uint32_t i = 0; i < FaceCache::kMaxFaces; ++i) draw(canvas.dc(), keyOf(8, 8, i));
  draw(canvas.dc(), keyOf(8, 8, 0));  // the oldest face is used again
  painted = 0;
  for (uint32_t i = 0; i < 10; ++i) draw(canvas.dc(), keyOf(8, 8, 1000 + i));
  EXPECT_EQ(std::tuple(cache.faceCount(), painted), std::tuple(FaceCache::kMaxFaces, 10));
  draw(canvas.dc(), keyOf(8, 8, 0));  // kept: used recently
  EXPECT_EQ(painted, 10);
  draw(canvas.dc(), keyOf(8, 8, 1));  // dropped: the least recently used
  EXPECT_EQ(painted, 11);

  // Large faces: the pixel budget bounds them before the count does.
  const int side = 362;  // 362 * 362 is just below kMaxFacePixels
  ASSERT_LE(size_t{side} * side, FaceCache::kMaxFacePixels);
  TestCanvas big(side, side);
  for (uint32_t i = 0; i < 20; ++i) {
    draw(big.dc(), keyOf(side, side, i));
    ASSERT_LE(cache.pixelCount(), FaceCache::kMaxPixels);
  }
  EXPECT_GE(cache.faceCount(), FaceCache::kMaxPixels / (size_t{side} * side) - 1);
}

// A cache that keeps a face only on its second miss (the looks cache): a face drawn once is
// painted straight into the DC, with the same pixels a copy would have; one asked for again
// within the last few misses is kept and copied from then on; one whose first miss lies further
// back counts as new again.
TEST_F(FaceCacheTest, AKeepOnSecondMissCacheKeepsOnlyFacesAskedForAgainSoon) {
  FaceCache looks(4, 1 << 12, true);
  const auto drawLook = [&](HDC dc, uint32_t colour) { return draw(dc, keyOf(10, 6, colour), &looks); };
  TestCanvas first(10, 6), second(10, 6), third(10, 6);
  EXPECT_FALSE(drawLook(first.dc(), 0x00FF00));  // painted in place, remembered
  EXPECT_EQ(std::tuple(lastTarget, looks.faceCount()), std::tuple(first.dc(), 0u));
  EXPECT_TRUE(drawLook(second.dc(), 0x00FF00));  // the second miss: painted aside and kept
  EXPECT_NE(lastTarget, second.dc());
  EXPECT_TRUE(drawLook(third.dc(), 0x00FF00));  // a hit
  EXPECT_EQ(std::tuple(painted, looks.faceCount()), std::tuple(2, 1u));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 10; ++x) {
      ASSERT_EQ(first.at(x, y), second.at(x, y)) << x << "," << y;
      ASSERT_EQ(first.at(x, y), third.at(x, y)) << x << "," << y;
    }

  // Keys missed once each, more of them than the misses remembered: none is kept, and the first
  // of them has been forgotten by the time it comes back.
  for (uint32_t i = 0; i <= FaceCache::kRecentMisses; ++i) EXPECT_FALSE(drawLook(first.dc(), 0x100 + i));
  EXPECT_FALSE(drawLook(first.dc(), 0x100));
  EXPECT_EQ(looks.faceCount(), 1u);
  // The last one missed is still remembered.
  EXPECT_TRUE(drawLook(first.dc(), 0x100 + FaceCache::kRecentMisses));
  EXPECT_EQ(looks.faceCount(), 2u);
  // Clearing forgets the misses too.
  looks.clear();
  EXPECT_FALSE(drawLook(first.dc(), 0x00FF00));
}

// A whole-look cache shows a kept look in a window by sharing its pixels; drawing on the window
// afterwards changes the window only, never the kept look.
TEST_F(FaceCacheTest, AWholeLookCacheSharesAKeptLookWithAWindow) {
  FaceCache looks(4, 1 << 12, true, true);
  const auto paint = [](HDC t) {
    const RECT all{0, 0, 10, 6};
    GdiObject brush(CreateSolidBrush(0x00FF00));
    FillRect(t, &all, static_cast<HBRUSH>(brush.get()));
  };
  const auto surface = gfx::Surface::create(10, 6), fresh = gfx::Surface::create(10, 6);
  const HDC window = gfx::CreateSurfaceDC(surface), other = gfx::CreateSurfaceDC(fresh);
  looks.draw(window, keyOf(10, 6, 1), paint);
  EXPECT_FALSE(surface->showsShared());  // a first miss is painted in place
  EXPECT_TRUE(looks.draw(window, keyOf(10, 6, 1), paint));
  EXPECT_TRUE(surface->showsShared());
  SetPixelV(window, 4, 4, 0x0000FF);
  EXPECT_TRUE(looks.draw(other, keyOf(10, 6, 1), paint));
  EXPECT_EQ(std::tuple(surface->at(4, 4), fresh->at(4, 4)), std::tuple(0xFF0000u, 0x00FF00u));
  DeleteDC(window);
  DeleteDC(other);
}

TEST_F(FaceCacheTest, PaintsStraightIntoTheDcWhereACopyCouldDiffer) {
  TestCanvas canvas(20, 20), huge(400, 400);
  EXPECT_FALSE(draw(huge.dc(), keyOf(400, 400, 1)));  // too large to keep
  EXPECT_EQ(lastTarget, huge.dc());
  EXPECT_FALSE(draw(canvas.dc(), keyOf(0, 5, 1)));  // empty
  SetROP2(canvas.dc(), R2_XORPEN);  // lines would mix with what is there
  EXPECT_FALSE(draw(canvas.dc(), keyOf(20, 20, 2)));
  SetROP2(canvas.dc(), R2_COPYPEN);
  SetViewportOrgEx(canvas.dc(), 3, 0, nullptr);
  EXPECT_FALSE(draw(canvas.dc(), keyOf(20, 20, 2)));
  SetViewportOrgEx(canvas.dc(), 0, 0, nullptr);
  cache.setBypassed(true);
  EXPECT_FALSE(draw(canvas.dc(), keyOf(20, 20, 2)));
  cache.setBypassed(false);
  EXPECT_EQ(cache.faceCount(), 0u);
  EXPECT_TRUE(draw(canvas.dc(), keyOf(20, 20, 2)));
}

TEST_F(FaceCacheTest, TheCopyGoesThroughTheClipAndHoldsNoHandles) {
  TestCanvas first(12, 12), second(12, 12, false, 0x123456);
  draw(first.dc(), keyOf(12, 12, 0xFFFFFF));
  const size_t handles = zxp::handles().liveCount();
  IntersectClipRect(second.dc(), 2, 3, 7, 9);
  EXPECT_TRUE(draw(second.dc(), keyOf(12, 12, 0xFFFFFF)));
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool inside = x >= 2 && x < 7 && y >= 3 && y < 9;
      ASSERT_EQ(second.at(x, y), inside ? 0xFFFFFFu : 0x123456u) << x << "," << y;
    }
  draw(second.dc(), keyOf(12, 12, 0xABCDEF));  // a miss makes and frees its own surface
  EXPECT_EQ(zxp::handles().liveCount(), handles);
}

}  // namespace
}  // namespace zxp::foundation
