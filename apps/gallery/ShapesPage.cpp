// The gallery's "shapes" page: the drawing layer's pens, lines, rectangles, round rectangles,
// ellipses, 3-D edges, focus rectangles and clip regions, drawn through the handle API.
#include <cmath>
#include <numbers>

#include "Page.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/SysColors.h"

namespace zxp::gallery {

namespace {

constexpr int kWidth = 720;
constexpr int kHeight = 600;

void drawWith(HDC dc, HPEN pen, HBRUSH brush, auto&& draw) {
  Selection p(dc, pen);
  Selection b(dc, brush);
  draw();
}

// A fan of 1-pixel lines, wide lines with round caps, and the dash styles along a zig-zag.
void linesRow(HDC dc) {
  for (int i = 0; i < 16; ++i) {
    double a = i * std::numbers::pi / 30;
    MoveToEx(dc, 10, 110, nullptr);
    LineTo(dc, 10 + static_cast<int>(100 * std::cos(a)), 110 - static_cast<int>(100 * std::sin(a)));
  }
  const int widths[] = {2, 3, 5, 9};
  for (int i = 0; i < 4; ++i) {
    GdiObject pen(CreatePen(PS_SOLID, widths[i], RGB(0, 84, 227)));
    drawWith(dc, pen.get(), GetStockObject(NULL_BRUSH), [&] {
      MoveToEx(dc, 140, 20 + i * 25, nullptr);
      LineTo(dc, 260, 40 + i * 22);
    });
  }
  const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT};
  for (int i = 0; i < 5; ++i) {
    GdiObject pen(CreatePen(styles[i], 1, RGB(160, 0, 0)));
    drawWith(dc, pen.get(), GetStockObject(NULL_BRUSH), [&] {
      const POINT zigzag[] = {{290, 20 + i * 20}, {340, 35 + i * 20}, {390, 20 + i * 20}, {440, 35 + i * 20}};
      Polyline(dc, zigzag, 4);
    });
  }
  // A filled polygon with a wide outline, and an XOR line crossing it.
  GdiObject pen(CreatePen(PS_SOLID, 3, RGB(0, 110, 0)));
  GdiObject brush(CreateSolidBrush(RGB(190, 240, 190)));
  drawWith(dc, pen.get(), brush.get(), [&] {
    const POINT star[] = {{520, 20}, {545, 100}, {475, 50}, {565, 50}, {495, 100}};
    Polygon(dc, star, 5);
  });
  GdiObject gold(CreateSolidBrush(RGB(255, 200, 40)));
  drawWith(dc, GetStockObject(BLACK_PEN), gold.get(), [&] { Rectangle(dc, 600, 30, 690, 90); });
  GdiObject xorPen(CreatePen(PS_SOLID, 5, RGB(255, 255, 255)));
  drawWith(dc, xorPen.get(), GetStockObject(NULL_BRUSH), [&] {
    int old = SetROP2(dc, R2_XORPEN);
    MoveToEx(dc, 590, 20, nullptr);
    LineTo(dc, 700, 100);
    SetROP2(dc, old);
  });
}

// Rectangles: pen and brush, no pen, no brush, wide, inside frame, dashed.
void rectanglesRow(HDC dc) {
  GdiObject fill(CreateSolidBrush(RGB(255, 220, 150)));
  GdiObject wide(CreatePen(PS_SOLID, 7, RGB(200, 80, 0)));
  GdiObject inside(CreatePen(PS_INSIDEFRAME, 7, RGB(200, 80, 0)));
  GdiObject dashed(CreatePen(PS_DASH, 1, RGB(0, 0, 0)));
  drawWith(dc, GetStockObject(BLACK_PEN), fill.get(), [&] { Rectangle(dc, 10, 140, 100, 210); });
  drawWith(dc, GetStockObject(NULL_PEN), fill.get(), [&] { Rectangle(dc, 120, 140, 210, 210); });
  drawWith(dc, GetStockObject(BLACK_PEN), GetStockObject(NULL_BRUSH), [&] { Rectangle(dc, 230, 140, 320, 210); });
  drawWith(dc, wide.get(), fill.get(), [&] { Rectangle(dc, 345, 145, 435, 205); });
  drawWith(dc, inside.get(), fill.get(), [&] { Rectangle(dc, 460, 140, 550, 210); });
  drawWith(dc, dashed.get(), fill.get(), [&] { Rectangle(dc, 570, 140, 700, 210); });
}

// Round rectangles and ellipses, thin and wide, with and without pens.
void roundRow(HDC dc) {
  GdiObject fill(CreateSolidBrush(RGB(200, 220, 255)));
  GdiObject wide(CreatePen(PS_SOLID, 4, RGB(0, 60, 160)));
  GdiObject inside(CreatePen(PS_INSIDEFRAME, 6, RGB(0, 60, 160)));
  drawWith(dc, GetStockObject(BLACK_PEN), fill.get(), [&] {
    RoundRect(dc, 10, 230, 110, 300, 20, 20);
    RoundRect(dc, 120, 230, 200, 300, 40, 16);
    Ellipse(dc, 210, 230, 300, 300);
    Ellipse(dc, 310, 240, 330, 260);
    Ellipse(dc, 340, 240, 343, 243);
    Ellipse(dc, 350, 240, 356, 246);
  });
  drawWith(dc, wide.get(), fill.get(), [&] {
    Ellipse(dc, 370, 235, 450, 295);
    RoundRect(dc, 465, 235, 545, 295, 24, 24);
  });
  drawWith(dc, inside.get(), fill.get(), [&] { Ellipse(dc, 560, 230, 630, 300); });
  drawWith(dc, GetStockObject(NULL_PEN), fill.get(), [&] { Ellipse(dc, 640, 230, 710, 300); });
}

// DrawEdge's borders on a button face, and focus rectangles.
void edgesRow(HDC dc) {
  RECT panel{0, 315, kWidth, 430};
  FillRect(dc, &panel, GetSysColorBrush(COLOR_BTNFACE));
  const UINT edges[] = {EDGE_RAISED, EDGE_SUNKEN, EDGE_ETCHED, EDGE_BUMP, BDR_RAISEDOUTER, BDR_SUNKENOUTER};
  for (int i = 0; i < 6; ++i) {
    RECT r{10 + i * 78, 325, 80 + i * 78, 365};
    DrawEdge(dc, &r, edges[i], BF_RECT | BF_MIDDLE);
  }
  const UINT flags[] = {BF_RECT | BF_SOFT, BF_RECT | BF_FLAT, BF_RECT | BF_MONO, BF_TOPLEFT, BF_BOTTOMRIGHT};
  for (int i = 0; i < 5; ++i) {
    RECT r{10 + i * 78, 375, 80 + i * 78, 415};
    DrawEdge(dc, &r, EDGE_RAISED, flags[i]);
  }
  RECT adjusted{480, 375, 560, 415};
  DrawEdge(dc, &adjusted, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  FillRect(dc, &adjusted, GetSysColorBrush(COLOR_WINDOW));
  RECT focus{575, 325, 705, 365};
  DrawFocusRect(dc, &focus);
  RECT focus2{575, 375, 705, 415};
  FillRect(dc, &focus2, GetSysColorBrush(COLOR_HIGHLIGHT));
  DrawFocusRect(dc, &focus2);
}

// A clip region in use: stripes through an elliptic-minus-round-rect clip; region fills and frames.
void clipRow(HDC dc) {
  GdiObject clip(CreateEllipticRgn(10, 445, 250, 590));
  GdiObject hole(CreateRoundRectRgn(80, 490, 180, 545, 20, 20));
  CombineRgn(clip.get(), clip.get(), hole.get(), RGN_DIFF);
  SaveDC(dc);
  SelectClipRgn(dc, clip.get());
  GdiObject pen(CreatePen(PS_SOLID, 3, RGB(220, 60, 120)));
  drawWith(dc, pen.get(), GetStockObject(NULL_BRUSH), [&] {
    for (int x = -150; x < 260; x += 12) {
      MoveToEx(dc, x, 445, nullptr);
      LineTo(dc, x + 150, 590);
    }
  });
  RestoreDC(dc, -1);

  GdiObject a(CreateEllipticRgn(280, 450, 400, 580));
  GdiObject b(CreateRectRgn(340, 480, 460, 560));
  GdiObject both(CreateRectRgn(0, 0, 0, 0));
  CombineRgn(both.get(), a.get(), b.get(), RGN_XOR);
  GdiObject fill(CreateSolidBrush(RGB(120, 180, 90)));
  GdiObject frame(CreateSolidBrush(RGB(40, 60, 30)));
  FillRgn(dc, both.get(), fill.get());
  FrameRgn(dc, both.get(), frame.get(), 2, 2);

  // The viewport origin moves everything: the same round rectangle drawn at three origins.
  GdiObject warm(CreateSolidBrush(RGB(255, 200, 120)));
  drawWith(dc, GetStockObject(BLACK_PEN), warm.get(), [&] {
    for (int i = 0; i < 3; ++i) {
      SetViewportOrgEx(dc, 490 + i * 70, 450 + i * 40, nullptr);
      RoundRect(dc, 0, 0, 80, 50, 16, 16);
    }
    SetViewportOrgEx(dc, 0, 0, nullptr);
  });
}

std::shared_ptr<gfx::Surface> renderShapes() {
  auto surface = gfx::Surface::create(kWidth, kHeight);
  if (!surface) return nullptr;
  HDC dc = gfx::CreateSurfaceDC(surface);
  gfx::clearSurface(dc, RGB(255, 255, 255));
  linesRow(dc);
  rectanglesRow(dc);
  roundRow(dc);
  edgesRow(dc);
  clipRow(dc);
  DeleteDC(dc);
  return surface;
}

RegisterPage reg{stillPage("shapes", "Shapes", 10, renderShapes)};

}  // namespace

}  // namespace zxp::gallery
