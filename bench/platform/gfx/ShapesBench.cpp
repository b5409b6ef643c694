// The drawing layer's shapes and lines beside a plain fill of the same area (FillRect itself is
// measured against memset and pixman in GfxBench.cpp).
//
// BM_Shapes_FillBaseline fills the shape's bounding box with pixman (the fastest way to set the
// same number of pixels); the shape benchmarks report pixels per second, so their ratio to the
// baseline shows the cost of the geometry. BM_Shapes_HugeEllipse and BM_Shapes_FarLine draw shapes
// of 2^31 pixels across whose visible part is the surface: their time must stay that of the
// surface, not of the shape.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/GdiRaii.h"

namespace {

using namespace zxp;

struct Target {
  std::shared_ptr<gfx::Surface> surface = gfx::Surface::create(512, 512);
  HDC dc = gfx::CreateSurfaceDC(surface);
  ~Target() { DeleteDC(dc); }
};

void BM_Shapes_FillBaseline(benchmark::State& state) {
  Target t;
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    pixman_fill(t.surface->bits(), t.surface->width(), 32, 0, 0, n, n, 0x00336699);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * n * n);
}

void BM_Shapes_Rectangle(benchmark::State& state) {
  Target t;
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) Rectangle(t.dc, 0, 0, n, n);
  state.SetItemsProcessed(state.iterations() * n * n);
}

void BM_Shapes_Ellipse(benchmark::State& state) {
  Target t;
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) Ellipse(t.dc, 0, 0, n, n);
  state.SetItemsProcessed(state.iterations() * n * n);
}

void BM_Shapes_WideRoundRect(benchmark::State& state) {
  Target t;
  GdiObject pen(CreatePen(PS_SOLID, 5, RGB(0, 0, 128)));
  Selection sel(t.dc, pen.get());
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) RoundRect(t.dc, 4, 4, n - 4, n - 4, 40, 40);
  state.SetItemsProcessed(state.iterations() * n * n);
}

// As WideRoundRect, but every call changes the corners, so no call reuses the previous call's
// stroke: the cost of a shape drawn for the first time.
void BM_Shapes_WideRoundRectFresh(benchmark::State& state) {
  Target t;
  GdiObject pen(CreatePen(PS_SOLID, 5, RGB(0, 0, 128)));
  Selection sel(t.dc, pen.get());
  const int n = static_cast<int>(state.range(0));
  int corner = 40;
  for (auto _ : state) {
    RoundRect(t.dc, 4, 4, n - 4, n - 4, corner, corner);
    corner = corner == 40 ? 41 : 40;
  }
  state.SetItemsProcessed(state.iterations() * n * n);
}

void BM_Shapes_HugeEllipse(benchmark::State& state) {
  Target t;
  for (auto _ : state) Ellipse(t.dc, -(1 << 30), -(1 << 30), 1 << 30, 1 << 30);
  state.SetItemsProcessed(state.iterations() * 512 * 512);
}

void BM_Shapes_DiagonalLine(benchmark::State& state) {
  Target t;
  for (auto _ : state) {
    MoveToEx(t.dc, 0, 3, nullptr);
    LineTo(t.dc, 511, 500);
  }
  state.SetItemsProcessed(state.iterations() * 511);
}

void BM_Shapes_FarLine(benchmark::State& state) {
  Target t;
  for (auto _ : state) {
    MoveToEx(t.dc, -(1 << 30), -(1 << 30) + 7, nullptr);
    LineTo(t.dc, 1 << 30, (1 << 30) + 7);
  }
  state.SetItemsProcessed(state.iterations() * 512);
}

void BM_Shapes_WidePolyline(benchmark::State& state) {
  Target t;
  GdiObject pen(CreatePen(PS_SOLID, 7, RGB(0, 128, 0)));
  Selection sel(t.dc, pen.get());
  const POINT zig[] = {{10, 10}, {500, 100}, {10, 200}, {500, 300}, {10, 400}, {500, 500}};
  for (auto _ : state) Polyline(t.dc, zig, 6);
}

BENCHMARK(BM_Shapes_FillBaseline)->Arg(64)->Arg(512);
BENCHMARK(BM_Shapes_Rectangle)->Arg(64)->Arg(512);
BENCHMARK(BM_Shapes_Ellipse)->Arg(64)->Arg(512);
BENCHMARK(BM_Shapes_WideRoundRect)->Arg(64)->Arg(512);
BENCHMARK(BM_Shapes_WideRoundRectFresh)->Arg(64)->Arg(512);
BENCHMARK(BM_Shapes_HugeEllipse);
BENCHMARK(BM_Shapes_DiagonalLine);
BENCHMARK(BM_Shapes_FarLine);
BENCHMARK(BM_Shapes_WidePolyline);

}  // namespace
