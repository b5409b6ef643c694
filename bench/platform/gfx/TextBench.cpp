// Text speed: drawing and measuring a 40-character caption in "MS Sans Serif" 8 pt with its
// glyphs cached, as a control does on every repaint, per call.
//
// BM_DrawCaption40       DrawText, single line, centred both ways, transparent background.
// BM_MeasureCaption40    DrawText with DT_CALCRECT (the same layout, nothing drawn).
// BM_ExtentCaption40     GetTextExtentPoint32 of the caption.
// BM_ButtonCaption40     the push button's pair: measure wrapped with word ellipsis, then draw.
// BM_FillCaptionBox      baseline: filling the caption's cell box (width x line height) with
//                        the raster helper, the least any drawing of that area costs.
// BM_CaptionAgainstCairo the draw of BM_DrawCaption40 beside cairo's show_text of the same 40
//                        characters in the same face (DejaVu Sans, the file the default font
//                        resolves to) at the same pixel size, into an image surface of the same
//                        size, glyphs cached by both; "ratio" = cairo's time / ours (1.0 is
//                        parity, higher means we are faster).
// BM_MeasureAgainstDraw  DT_CALCRECT beside the draw of the same caption; "ratio" = draw time /
//                        measure time.
// BM_DrawIcon32          DrawIconEx of a 32-pixel alpha icon at its own size, and at 24
//                        (BM_DrawIcon24Scaled, the scaled image is cached after the first call).
#include <benchmark/benchmark.h>

#include <cairo-ft.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstring>

#include "BenchClock.h"

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/Text.h"

namespace {

using namespace zxp;

constexpr const char* kCaption = "Measure first, then draw: forty letters.";
static_assert(std::char_traits<char>::length(kCaption) == 40);

struct Canvas {
  Canvas() {
    surface = gfx::Surface::create(320, 40);
    surface->fill(0xFFFFFF);
    dc = gfx::CreateSurfaceDC(surface);
    gfx::FontDesc d;  // "MS Sans Serif" 8.25 pt
    font = d.create();
    SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    RECT r{0, 0, 320, 40};
    DrawText(dc, kCaption, -1, &r, DT_SINGLELINE);  // fills the glyph cache
  }
  ~Canvas() {
    DeleteDC(dc);
    DeleteObject(font);
  }
  std::shared_ptr<gfx::Surface> surface;
  HDC dc = 0;
  HFONT font = 0;
};

void BM_DrawCaption40(benchmark::State& state) {
  Canvas c;
  for (auto _ : state) {
    RECT r{0, 0, 320, 40};
    benchmark::DoNotOptimize(DrawText(c.dc, kCaption, -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER));
  }
}
BENCHMARK(BM_DrawCaption40);

void BM_MeasureCaption40(benchmark::State& state) {
  Canvas c;
  for (auto _ : state) {
    RECT r{0, 0, 320, 40};
    benchmark::DoNotOptimize(DrawText(c.dc, kCaption, -1, &r, DT_SINGLELINE | DT_CALCRECT));
  }
}
BENCHMARK(BM_MeasureCaption40);

void BM_ExtentCaption40(benchmark::State& state) {
  Canvas c;
  SIZE sz;
  for (auto _ : state) {
    GetTextExtentPoint32(c.dc, kCaption, 40, &sz);
    benchmark::DoNotOptimize(sz);
  }
}
BENCHMARK(BM_ExtentCaption40);

void BM_ButtonCaption40(benchmark::State& state) {
  Canvas c;
  const UINT flags = DT_CENTER | DT_WORDBREAK | DT_WORD_ELLIPSIS;
  for (auto _ : state) {
    RECT m{0, 0, 120, 40};
    const int ht = DrawText(c.dc, kCaption, -1, &m, flags | DT_CALCRECT);
    RECT r{0, (40 - ht) / 2, 120, 40};
    benchmark::DoNotOptimize(DrawText(c.dc, kCaption, -1, &r, flags));
  }
}
BENCHMARK(BM_ButtonCaption40);

void BM_FillCaptionBox(benchmark::State& state) {
  Canvas c;
  SIZE sz;
  GetTextExtentPoint32(c.dc, kCaption, 40, &sz);
  auto* dc = gfx::dcFromHandle(c.dc);
  for (auto _ : state) {
    gfx::fillRect(*dc, Rect{0, 13, sz.cx, 13 + sz.cy}, 0xFFFFFF);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FillCaptionBox);

// cairo drawing the caption in DejaVu Sans at `pixels` per em into a 320 x 40 image surface,
// black on white, the way a toolkit built on it draws a label.
struct CairoCaption {
  explicit CairoCaption(double pixels) {
    FT_Init_FreeType(&library);
    FT_New_Face(library, "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 0, &face);
    surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 320, 40);
    cr = cairo_create(surface);
    cairo_font_face_t* ff = cairo_ft_font_face_create_for_ft_face(face, 0);
    cairo_set_font_face(cr, ff);
    cairo_font_face_destroy(ff);  // the context keeps its reference
    cairo_set_font_size(cr, pixels);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    draw();  // fills cairo's glyph cache
  }
  ~CairoCaption() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
  }
  void draw() {
    cairo_move_to(cr, 20, 25);
    cairo_show_text(cr, kCaption);
  }
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
};

void BM_CaptionAgainstCairo(benchmark::State& state) {
  Canvas c;
  TEXTMETRIC tm{};
  GetTextMetrics(c.dc, &tm);
  CairoCaption cairo(static_cast<double>(tm.tmHeight - tm.tmInternalLeading));
  state.counters["em_pixels"] = static_cast<double>(tm.tmHeight - tm.tmInternalLeading);
  bench::alternate(
      state, 50,
      [&] {
        RECT r{0, 0, 320, 40};
        benchmark::DoNotOptimize(DrawText(c.dc, kCaption, -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER));
      },
      [&] {
        cairo.draw();
        cairo_surface_flush(cairo.surface);
      });
}
BENCHMARK(BM_CaptionAgainstCairo);

void BM_MeasureAgainstDraw(benchmark::State& state) {
  Canvas c;
  bench::alternate(
      state, 50,
      [&] {
        RECT r{0, 0, 320, 40};
        benchmark::DoNotOptimize(DrawText(c.dc, kCaption, -1, &r, DT_SINGLELINE | DT_CALCRECT));
      },
      [&] {
        RECT r{0, 0, 320, 40};
        benchmark::DoNotOptimize(DrawText(c.dc, kCaption, -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER));
      });
}
BENCHMARK(BM_MeasureAgainstDraw);

HICON makeIcon() {
  auto argb = gfx::Surface::create(32, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const int dx = x - 16, dy = y - 16;
      argb->at(x, y) = dx * dx + dy * dy < 225 ? 0xFF3366CCu : (dx * dx + dy * dy < 256 ? 0x803366CCu : 0u);
    }
  return gfx::createIconFromArgb(*argb);
}

void BM_DrawIcon32(benchmark::State& state) {
  Canvas c;
  HICON icon = makeIcon();
  for (auto _ : state) benchmark::DoNotOptimize(DrawIconEx(c.dc, 4, 4, icon, 32, 32, 0, 0, DI_NORMAL));
  DestroyIcon(icon);
}
BENCHMARK(BM_DrawIcon32);

void BM_DrawIcon24Scaled(benchmark::State& state) {
  Canvas c;
  HICON icon = makeIcon();
  for (auto _ : state) benchmark::DoNotOptimize(DrawIconEx(c.dc, 4, 4, icon, 24, 24, 0, 0, DI_NORMAL));
  DestroyIcon(icon);
}
BENCHMARK(BM_DrawIcon24Scaled);

}  // namespace
