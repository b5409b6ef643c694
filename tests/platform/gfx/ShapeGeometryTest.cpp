// WideStroke builds a long path's stroke with shortcuts (caps swept along straight runs, bands
// of unit steps left out where the caps cover them, spans gathered as growing runs per row).
// These tests hold it to the plain definition: the stroke of a path is the union of the strokes
// of its single steps, and a run of unit steps strokes like one segment with a cap at every
// point.
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "platform/gfx/ShapeGeometry.h"

namespace {

using namespace zxp::gfx;

using PixelSet = std::set<std::pair<int64_t, int64_t>>;  // (y, x)

// The stroke's pixels, checking on the way that each row's spans are sorted, non-empty and
// neither overlap nor touch (the painter relies on it).
PixelSet pixelsOf(const WideStroke& stroke) {
  PixelSet out;
  for (int64_t y = stroke.rows().left; y < stroke.rows().right; ++y) {
    const std::span<const Span> spans = stroke.row(y);
    for (size_t i = 0; i < spans.size(); ++i) {
      EXPECT_FALSE(spans[i].empty()) << "row " << y;
      if (i > 0) {
        EXPECT_GT(spans[i].left, spans[i - 1].right) << "row " << y;
      }
      for (int64_t x = spans[i].left; x < spans[i].right; ++x) out.insert({y, x});
    }
  }
  return out;
}

PixelSet strokeOf(const std::vector<Point64>& pts, bool closed, int64_t width, Span rows) {
  return pixelsOf(WideStroke(pts, closed, width, rows));
}

// The union of the strokes of every single step of the path (each with its two caps).
PixelSet unionOfSteps(const std::vector<Point64>& pts, bool closed, int64_t width, Span rows) {
  PixelSet out;
  const size_t n = pts.size();
  for (size_t i = 0; i < (closed ? n : n - 1); ++i) {
    const PixelSet step = strokeOf({pts[i], pts[(i + 1) % n]}, false, width, rows);
    out.insert(step.begin(), step.end());
  }
  return out;
}

TEST(ShapeGeometry, RunsOfUnitStepsStrokeLikeOneSegmentWithACapAtEveryPoint) {
  // The long segment's band is filled as one polygon and the single points' caps are plain,
  // so this checks both the per-direction decision to leave a unit band out and the diagonal
  // band repeated step by step.
  const Span all{-100, 100};
  for (int64_t width = 1; width <= 12; ++width)
    for (int64_t sx = -1; sx <= 1; ++sx)
      for (int64_t sy = -1; sy <= 1; ++sy) {
        if (sx == 0 && sy == 0) continue;
        for (int64_t k = 2; k <= 4; ++k) {
          SCOPED_TRACE(::testing::Message() << "pen " << width << " step " << sx << "," << sy << " x" << k);
          std::vector<Point64> run;
          for (int64_t i = 0; i <= k; ++i) run.push_back({3 + i * sx, 5 + i * sy});
          PixelSet expected = strokeOf({run.front(), run.back()}, false, width, all);
          for (const Point64& p : run) {
            const PixelSet cap = strokeOf({p}, false, width, all);
            expected.insert(cap.begin(), cap.end());
          }
          EXPECT_EQ(strokeOf(run, false, width, all), expected);
        }
      }
}

TEST(ShapeGeometry, AShapesStrokeIsTheUnionOfItsStepsStrokesForEverySizeAndClip) {
  for (int64_t width = 2; width <= 6; ++width)
    for (int64_t w = 1; w <= 31; w += 3)
      for (int64_t h = 2; h <= 30; h += 4)
        for (int64_t corner : {0, 3, 5, 8, 13, 40}) {
          SCOPED_TRACE(::testing::Message() << "pen " << width << " box " << w << "x" << h << " corner " << corner);
          const RoundShape shape(Box{10, 20, 10 + w, 20 + h}, corner, corner + w % 3);
          const std::vector<Point64> path = shape.pathPoints();
          // The whole stroke, and a clip window that cuts through its caps and bands.
          for (Span rows : {Span{-100, 200}, Span{21, 20 + h / 2 + 1}}) {
            const PixelSet fast = strokeOf(path, true, width, rows);
            EXPECT_EQ(fast, unionOfSteps(path, true, width, rows));
          }
        }
}

TEST(ShapeGeometry, RowsCrossedManyTimesKeepEverySpan) {
  // A zig-zag crosses its middle rows eleven times: more separate spans than a row gathers in
  // place, so the rest take the slower way and must still come out merged and complete.
  std::vector<Point64> zig;
  for (int64_t i = 0; i <= 11; ++i) zig.push_back({i * 9, i % 2 == 0 ? 0 : 40});
  for (int64_t width : {2, 3, 5}) {
    const WideStroke stroke(zig, false, width, Span{-100, 100});
    EXPECT_EQ(stroke.row(20).size(), 11u) << "pen " << width;
    EXPECT_EQ(pixelsOf(stroke), unionOfSteps(zig, false, width, Span{-100, 100})) << "pen " << width;
  }
  // A pixel path that doubles back over itself: the same spans arrive twice.
  const std::vector<Point64> back{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {2, 2}, {1, 1}, {0, 0}, {0, 1}, {0, 2}};
  for (int64_t width = 2; width <= 6; ++width)
    EXPECT_EQ(strokeOf(back, true, width, Span{-50, 50}), unionOfSteps(back, true, width, Span{-50, 50}));
}

}  // namespace
