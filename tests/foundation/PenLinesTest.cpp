// drawLines paints lines along rows and columns without a pen: every pixel, the clip, the
// viewport origin, other mix modes and the current position must come out as the pen draws them.
#include <gtest/gtest.h>

#include <vector>

#include "foundation/PenLines.h"
#include "platform/gfx/TestCanvas.h"

namespace zxp {
namespace {

using foundation::Segment;
using testing::TestCanvas;

// What a selected 1-pixel pen draws for the same segments: MoveToEx and LineTo per segment.
void penLines(HDC dc, COLORREF color, std::initializer_list<Segment> segments) {
  GdiObject pen(CreatePen(PS_SOLID, 1, color));
  Selection selected(dc, pen.get());
  for (const Segment& s : segments) {
    MoveToEx(dc, s.from.x, s.from.y, nullptr);
    LineTo(dc, s.to.x, s.to.y);
  }
}

struct Canvas {
  const char* what;
  bool bottomUp;
  POINT viewport;
  RECT clip;  // empty: no clip
  int rop2;
};

std::vector<uint32_t> pixels(TestCanvas& c) {
  std::vector<uint32_t> out;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) out.push_back(c.at(x, y));
  return out;
}

TEST(DrawLines, PaintsWhatTheSelectedPenPaints) {
  const std::initializer_list<Segment> frame = {
      {{1, 0}, {29, 0}}, {{1, 19}, {29, 19}}, {{0, 1}, {0, 19}}, {{29, 1}, {29, 19}},  // a border
      {{20, 5}, {3, 5}}, {{7, 15}, {7, 2}},                                           // drawn backwards
      {{4, 4}, {4, 4}},                                                                // a point: nothing
      {{-5, 10}, {40, 10}}};                                                           // off both sides
  const std::initializer_list<Segment> slanted = {{{2, 2}, {12, 9}}, {{0, 3}, {20, 3}}};
  for (const Canvas& s : {Canvas{"plain", false, {0, 0}, {}, R2_COPYPEN}, Canvas{"bottom-up", true, {0, 0}, {}, R2_COPYPEN},
                         Canvas{"moved origin", false, {3, -2}, {}, R2_COPYPEN},
                         Canvas{"clipped", false, {0, 0}, {2, 3, 17, 12}, R2_COPYPEN},
                         Canvas{"xor mix", false, {0, 0}, {}, R2_XORPEN}}) {
    for (const auto* segments : {&frame, &slanted}) {
      SCOPED_TRACE(s.what);
      TestCanvas mine(32, 22, s.bottomUp), theirs(32, 22, s.bottomUp);
      for (TestCanvas* c : {&mine, &theirs}) {
        c->pattern(0x400000);
        SetViewportOrgEx(c->dc(), s.viewport.x, s.viewport.y, nullptr);
        if (s.clip.right > s.clip.left) IntersectClipRect(c->dc(), s.clip.left, s.clip.top, s.clip.right, s.clip.bottom);
        SetROP2(c->dc(), s.rop2);
      }
      foundation::drawLines(mine.dc(), RGB(10, 20, 30), *segments);
      penLines(theirs.dc(), RGB(10, 20, 30), *segments);
      EXPECT_EQ(pixels(mine), pixels(theirs));
      POINT a{}, b{};
      GetCurrentPositionEx(mine.dc(), &a);
      GetCurrentPositionEx(theirs.dc(), &b);
      EXPECT_EQ(std::tuple(a.x, a.y), std::tuple(b.x, b.y));
    }
  }
}

}  // namespace
}  // namespace zxp
