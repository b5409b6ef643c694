// The gallery's sheet of the gradient and picture-effect routines: every routine with a few
// colour pairs and angles. Each sample is painted on its own tile (the fills that always start
// at (0, 0) need a surface of their own) and copied onto the sheet.
#include <cstring>
#include <functional>

#include "Page.h"
#include "foundation/modGradient.h"
#include "foundation/modPicEffects.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/Text.h"

namespace zxp::gallery {
namespace {

constexpr Pixel kSheet = 0xECE9D8;  // the XP dialog face
constexpr int kGap = 12;

struct Pair {
  OLE_COLOR a, b;
};
const Pair kPairs[] = {
    {RGB(255, 255, 255), RGB(214, 208, 197)},  // button face
    {RGB(0, 84, 227), RGB(61, 149, 255)},      // title bar blue
    {RGB(255, 0, 0), RGB(0, 0, 255)},          // red to blue
    {RGB(34, 139, 34), RGB(240, 255, 240)},    // green to mint
};

// Paints a tile of w x h (pre-filled with `back`) with `paint` and copies it onto the sheet.
void tile(gfx::Surface& sheet, int x, int y, int w, int h, const std::function<void(HDC)>& paint,
          Pixel back = kSheet) {
  auto surface = gfx::Surface::create(w, h);
  surface->fill(back);
  HDC dc = gfx::CreateSurfaceDC(surface);
  paint(dc);
  DeleteDC(dc);
  for (int ty = 0; ty < h; ++ty)
    for (int tx = 0; tx < w; ++tx)
      if (x + tx < sheet.width() && y + ty < sheet.height()) sheet.at(x + tx, y + ty) = surface->at(tx, ty);
}

// A 32 x 32 picture: a magenta background (the usual transparent key) around a coloured disc
// with a white highlight.
std::shared_ptr<gfx::Surface> samplePicture() {
  auto s = gfx::Surface::create(32, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      int dx = x - 15, dy = y - 15;
      int d2 = dx * dx + dy * dy;
      Pixel p = 0xFF00FF;
      if (d2 < 14 * 14) p = makePixel(40 + x * 6, 120 + y * 4, 220 - x * 3);
      if ((x - 11) * (x - 11) + (y - 10) * (y - 10) < 12) p = 0xFFFFFF;
      s->at(x, y) = p;
    }
  return s;
}

std::shared_ptr<gfx::Surface> render() {
  auto sheet = gfx::Surface::create(940, 590);
  sheet->fill(kSheet);
  HDC sheetDC = gfx::CreateSurfaceDC(sheet);
  int y = 6;
  // A caption line above each row of samples.
  auto caption = [&](const char* text) {
    Selection font(sheetDC, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(sheetDC, TRANSPARENT);
    SetTextColor(sheetDC, RGB(60, 60, 60));
    TextOut(sheetDC, kGap, y, text, static_cast<int>(std::strlen(text)));
    y += 16;
  };

  // GradientFillVertical and GradientFillVerticalAt with each colour pair.
  caption("GradientFillVertical (bottom colour first), then GradientFillVerticalAt at (10, 10) with the pair swapped");
  int x = kGap;
  for (const Pair& p : kPairs) {
    tile(*sheet, x, y, 100, 60, [&](HDC dc) { GradientFillVertical(dc, 100, 60, p.a, p.b); });
    x += 100 + kGap;
  }
  for (const Pair& p : kPairs) {
    tile(*sheet, x, y, 100, 60, [&](HDC dc) { GradientFillVerticalAt(dc, 10, 10, 80, 40, p.b, p.a); });
    x += 100 + kGap;
  }
  y += 60 + kGap;

  // GradientFillAngle every 45 degrees, then a few odd angles with other pairs.
  caption("GradientFillAngle, red to blue, at 0, 45, 90 ... 315 degrees");
  x = kGap;
  for (int angle = 0; angle < 360; angle += 45) {
    tile(*sheet, x, y, 100, 60,
         [&](HDC dc) { GradientFillAngle(dc, 100, 60, kPairs[2].a, kPairs[2].b, static_cast<float>(angle)); });
    x += 100 + kGap;
  }
  y += 60 + kGap;
  caption("GradientFillAngle at 10, 30, 60, 100, 200, 330, -30 and 450 degrees");
  x = kGap;
  const float odd[] = {10, 30, 60, 100, 200, 330, -30, 450};
  for (int i = 0; i < 8; ++i) {
    const Pair& p = kPairs[i % 4 == 2 ? 1 : i % 4];
    tile(*sheet, x, y, 100, 60, [&](HDC dc) { GradientFillAngle(dc, 100, 60, p.a, p.b, odd[i]); });
    x += 100 + kGap;
  }
  y += 60 + kGap;

  // Glass faces from two GradientFillHalf bands (upper band, then the lower band over it), and
  // a band at line one.
  caption("GradientFillHalf: glass faces 24, 40 and 60 high (upper band, then lower band); last: AtLineOne at 0 degrees");
  x = kGap;
  for (int h : {24, 40, 60}) {
    for (const Pair& p : {kPairs[0], kPairs[1]}) {
      tile(*sheet, x, y, 110, 60, [&](HDC dc) {
        int band = nearest(h / 2.0 + 1);
        GradientFillHalf(dc, 110, band, p.a, p.b, 90, false, true);
        GradientFillHalf(dc, 110, band, p.b, p.a, 90, false, false);
      });
      x += 110 + kGap;
    }
  }
  tile(*sheet, x, y, 110, 60,
       [&](HDC dc) { GradientFillHalf(dc, 110, 30, kPairs[3].a, kPairs[3].b, 0, true, false); });
  y += 60 + kGap;

  // GradientFillPanel: bars of a few heights and colour pairs.
  caption("GradientFillPanel: face and edge colours, 22 and 40 high");
  x = kGap;
  const Pair panels[] = {{RGB(255, 255, 255), RGB(0, 60, 116)},
                         {RGB(236, 233, 216), RGB(172, 168, 153)},
                         {RGB(200, 220, 255), RGB(0, 84, 227)},
                         {RGB(255, 240, 200), RGB(200, 120, 0)}};
  for (int h : {22, 40}) {
    for (const Pair& p : panels) {
      tile(*sheet, x, y, 100, 40, [&](HDC dc) { GradientFillPanel(dc, 0, 0, 100, h, p.a, p.b); });
      x += 100 + kGap;
    }
  }
  y += 40 + kGap;

  // GradientFillGlass with and without edge lines.
  caption("GradientFillGlass at (0, 1), 30 high: with edge lines, then without");
  x = kGap;
  for (int edge : {1, 0}) {
    for (const Pair& p : {Pair{RGB(255, 255, 255), RGB(150, 190, 250)}, Pair{RGB(120, 200, 255), RGB(0, 60, 160)},
                          Pair{RGB(250, 250, 250), RGB(180, 180, 180)}, Pair{RGB(255, 220, 120), RGB(220, 120, 0)}}) {
      tile(*sheet, x, y, 100, 40, [&](HDC dc) {
        GradientFillGlass(dc, 0, 1, 100, 30, p.a, p.b, static_cast<int16_t>(edge));
      });
      x += 100 + kGap;
    }
  }
  y += 40 + kGap;

  // Picture effects over a background gradient: the picture as is (keyed), blended at 64, 128,
  // 192 and 255, painted grey, and the area turned grey in place.
  caption("DrawPictureTransparent, AlphaBlendPicture at 64, 128, 192, 255, DrawPictureGrey, GreyArea, stretched DrawPictureTransparent");
  auto picture = samplePicture();
  HBITMAP bitmap = gfx::CreateBitmapForSurface(picture);
  x = kGap;
  auto effect = [&](const std::function<void(HDC)>& paint) {
    tile(*sheet, x, y, 80, 64, [&](HDC dc) {
      GradientFillAngle(dc, 80, 64, RGB(255, 230, 150), RGB(90, 140, 230), 20);
      paint(dc);
    });
    x += 80 + kGap;
  };
  effect([&](HDC dc) { DrawPictureTransparent(dc, bitmap, 24, 16, 32, 32, 24, 16, 32, 32, 0xFF00FF); });
  for (int alpha : {64, 128, 192, 255})
    effect([&](HDC dc) { AlphaBlendPicture(dc, bitmap, 24, 16, 32, 32, 0, 0, 32, 32, alpha); });
  effect([&](HDC dc) { DrawPictureGrey(dc, bitmap, 24, 16, 32, 32); });
  effect([&](HDC dc) { GreyArea(dc, 1, 10, 10, 60, 44); });
  effect([&](HDC dc) { DrawPictureTransparent(dc, bitmap, 8, 8, 64, 48, 8, 8, 32, 32, 0xFF00FF); });
  DeleteObject(bitmap);
  DeleteDC(sheetDC);
  return sheet;
}

RegisterPage reg{stillPage("gradients", "Gradients", 10, render)};

}  // namespace
}  // namespace zxp::gallery
