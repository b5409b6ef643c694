// Properties every drawing call shares: clipped by the clip region and the surface, failing on bad
// handles, and leaking no handle.
#include <gtest/gtest.h>

#include <functional>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/GdiRaii.h"

namespace zxp {
namespace {

using testing::Canvas;

struct Call {
  const char* name;
  std::function<void(HDC)> draw;
};

// One of each drawing call, with a wide pen, a dashed one and XOR where it matters.
std::vector<Call> everyCall() {
  auto withPen = [](int style, int width, std::function<void(HDC)> f) {
    return [=](HDC dc) {
      GdiObject pen(CreatePen(style, width, RGB(200, 30, 30)));
      GdiObject brush(CreateSolidBrush(RGB(30, 30, 200)));
      Selection p(dc, pen.get());
      Selection b(dc, brush.get());
      f(dc);
    };
  };
  static const POINT zig[] = {{-5, 3}, {20, 38}, {38, 0}, {45, 30}};
  return {
      {"LineTo", withPen(PS_SOLID, 1, [](HDC dc) { MoveToEx(dc, -3, 2, nullptr); LineTo(dc, 39, 33); })},
      {"wide Polyline", withPen(PS_SOLID, 6, [](HDC dc) { Polyline(dc, zig, 4); })},
      {"dashed Polyline", withPen(PS_DASHDOT, 1, [](HDC dc) { Polyline(dc, zig, 4); })},
      {"Polygon", withPen(PS_SOLID, 1, [](HDC dc) { Polygon(dc, zig, 4); })},
      {"Rectangle", withPen(PS_SOLID, 1, [](HDC dc) { Rectangle(dc, 3, 4, 33, 30); })},
      {"wide Rectangle", withPen(PS_SOLID, 5, [](HDC dc) { Rectangle(dc, 3, 4, 33, 30); })},
      {"dashed Rectangle", withPen(PS_DOT, 1, [](HDC dc) { Rectangle(dc, 3, 4, 33, 30); })},
      {"RoundRect", withPen(PS_SOLID, 1, [](HDC dc) { RoundRect(dc, 1, 2, 39, 35, 14, 9); })},
      {"Ellipse", withPen(PS_INSIDEFRAME, 3, [](HDC dc) { Ellipse(dc, -4, 2, 30, 44); })},
      {"XOR Ellipse", withPen(PS_SOLID, 1, [](HDC dc) { SetROP2(dc, R2_XORPEN); Ellipse(dc, 5, 5, 35, 25); })},
      {"FillRect", [](HDC dc) { RECT r{4, -2, 30, 20}; FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))); }},
      {"FrameRect", [](HDC dc) { RECT r{4, 2, 30, 20}; FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH))); }},
      {"InvertRect", [](HDC dc) { RECT r{4, 2, 30, 20}; InvertRect(dc, &r); }},
      {"DrawFocusRect", [](HDC dc) { RECT r{4, 2, 30, 20}; DrawFocusRect(dc, &r); }},
      {"DrawEdge", [](HDC dc) { RECT r{4, 2, 30, 20}; DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE); }},
      {"SetPixel", [](HDC dc) { for (int i = 0; i < 40; ++i) SetPixel(dc, i, (i * 7) % 40, RGB(9, 9, 9)); }},
      {"FillRgn", [](HDC dc) {
         GdiObject r(CreateEllipticRgn(0, 0, 40, 30));
         FillRgn(dc, r.get(), static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
       }},
      {"FrameRgn", [](HDC dc) {
         GdiObject r(CreateRoundRectRgn(0, 0, 40, 30, 12, 12));
         FrameRgn(dc, r.get(), static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)), 2, 3);
       }},
  };
}

TEST(DrawingCalls, AreClippedByTheClipRegionAndViewport) {
  for (const Call& call : everyCall()) {
    SCOPED_TRACE(call.name);
    Canvas free(40, 40, RGB(240, 240, 240)), clipped(40, 40, RGB(240, 240, 240));
    call.draw(free.dc);
    GdiObject clip(CreateEllipticRgn(6, 3, 33, 36));
    GdiObject hole(CreateRectRgn(15, 15, 22, 22));
    CombineRgn(clip.get(), clip.get(), hole.get(), RGN_DIFF);
    SelectClipRgn(clipped.dc, clip.get());
    call.draw(clipped.dc);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x)
        ASSERT_EQ(clipped.at(x, y), PtInRegion(clip.get(), x, y) ? free.at(x, y) : clipped.background)
            << x << "," << y;
    // The same picture drawn through a viewport origin, shifted by it (by an even x + y, which
    // keeps the focus rectangle's device-fixed checkerboard in step).
    Canvas moved(40, 40, RGB(240, 240, 240));
    SetViewportOrgEx(moved.dc, 3, -1, nullptr);
    call.draw(moved.dc);
    for (int y = 0; y < 39; ++y)
      for (int x = 3; x < 40; ++x) ASSERT_EQ(moved.at(x, y), free.at(x - 3, y + 1)) << x << "," << y;
  }
}

TEST(DrawingCalls, FailOnBadHandles) {
  const HDC bad = 0xDEAD;
  RECT r{0, 0, 5, 5};
  POINT pts[] = {{0, 0}, {3, 3}};
  const HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  EXPECT_EQ((std::vector<int>{LineTo(bad, 1, 1), Polyline(bad, pts, 2), Polygon(bad, pts, 2), Rectangle(bad, 0, 0, 5, 5),
                              RoundRect(bad, 0, 0, 5, 5, 2, 2), Ellipse(bad, 0, 0, 5, 5), FillRect(bad, &r, black),
                              FrameRect(bad, &r, black), InvertRect(bad, &r), DrawFocusRect(bad, &r)}),
            std::vector<int>(10, FALSE));
  EXPECT_EQ(SetPixel(bad, 0, 0, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(bad, 0, 0), CLR_INVALID);
  EXPECT_EQ(gfx::clearSurface(bad, 0), FALSE);
  Canvas c(8, 8);
  GdiObject pen(CreatePen(PS_SOLID, 1, 0));
  GdiObject rgn(CreateRectRgn(0, 0, 4, 4));
  EXPECT_EQ(FillRect(c.dc, &r, pen.get()), 0);  // a pen is not a brush
  EXPECT_EQ(FillRect(c.dc, nullptr, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
  EXPECT_EQ(FillRgn(c.dc, rgn.get(), 0xBEEF), FALSE);
  EXPECT_EQ(FillRgn(c.dc, pen.get(), static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), FALSE);
  EXPECT_EQ(FrameRgn(bad, rgn.get(), static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), 1, 1), FALSE);
  EXPECT_EQ(Polyline(c.dc, nullptr, 2), FALSE);
  EXPECT_EQ(CreateEllipticRgnIndirect(nullptr), 0u);
  EXPECT_TRUE(c.painted().empty());
}

TEST(DrawingCalls, LeaveNoHandleBehind) {
  const size_t before = handles().liveCount();
  {
    Canvas c(40, 40);
    GdiObject rgn(CreateRoundRectRgn(0, 0, 20, 20, 5, 5));
    SelectClipRgn(c.dc, rgn.get());  // the DC's own copy of the clip goes with the DC
    for (const Call& call : everyCall()) call.draw(c.dc);
  }
  EXPECT_EQ(handles().liveCount(), before);
}

}  // namespace
}  // namespace zxp
