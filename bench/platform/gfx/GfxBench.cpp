// The drawing layer's bulk operations on a 1920 x 1080 surface beside baselines over the same
// bytes, measured in the same run:
//   FillRect            vs memset and pixman_fill
//   BitBlt SRCCOPY      vs memcpy and pixman_blt
//   StretchDIBits 1:1   vs memcpy
//   AlphaBlend (constant alpha 128) vs pixman's OVER with a solid alpha mask
// The *_vs_* benchmarks run our call and the baseline alternately and report
// ratio = baseline time / our time (1.0 is parity; the target for FillRect and BitBlt is 0.8).
// The single benchmarks give each side's bytes per second on its own.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstring>
#include <vector>

#include "BenchClock.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/GdiRaii.h"

namespace {

using namespace zxp;

constexpr int kW = 1920;
constexpr int kH = 1080;
constexpr size_t kBytes = size_t{kW} * kH * 4;

// A memory DC drawing on a 1920 x 1080 DIB section.
struct Canvas {
  MemoryDC dc{0};
  GdiObject bmp;
  HGDIOBJ prev = 0;
  uint32_t* bits = nullptr;

  Canvas() {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biWidth = kW;
    bmi.bmiHeader.biHeight = -kH;
    void* p = nullptr;
    bmp = GdiObject(CreateDIBSection(dc.get(), &bmi, DIB_RGB_COLORS, &p, 0, 0));
    bits = static_cast<uint32_t*>(p);
    prev = SelectObject(dc.get(), bmp.get());
    for (size_t i = 0; i < size_t{kW} * kH; ++i) bits[i] = static_cast<uint32_t>(i * 2654435761u);
  }
  ~Canvas() { SelectObject(dc.get(), prev); }
};

void bytes(benchmark::State& state, int perIteration = 1) {
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kBytes) * perIteration);
}

// ---- Fills ----------------------------------------------------------------------------------------

struct FillSetup {
  Canvas c;
  GdiObject brush{CreateSolidBrush(RGB(0x5A, 0x6B, 0x7C))};
  RECT r{0, 0, kW, kH};
  void ours() { FillRect(c.dc.get(), &r, brush.get()); }
  void memsetSame() { std::memset(c.bits, 0x5A, kBytes); }
  void pixman() { pixman_fill(c.bits, kW, 32, 0, 0, kW, kH, 0x7C6B5A); }
};

void BM_FillRect(benchmark::State& state) {
  FillSetup s;
  for (auto _ : state) s.ours();
  bytes(state);
}
void BM_Memset(benchmark::State& state) {
  FillSetup s;
  for (auto _ : state) {
    s.memsetSame();
    benchmark::ClobberMemory();
  }
  bytes(state);
}
void BM_PixmanFill(benchmark::State& state) {
  FillSetup s;
  for (auto _ : state) s.pixman();
  bytes(state);
}
void BM_FillRect_vs_memset(benchmark::State& state) {
  FillSetup s;
  bench::alternate(state, 1, [&] { s.ours(); }, [&] { s.memsetSame(); benchmark::ClobberMemory(); });
  bytes(state, 2);
}
void BM_FillRect_vs_pixman(benchmark::State& state) {
  FillSetup s;
  bench::alternate(state, 1, [&] { s.ours(); }, [&] { s.pixman(); });
  bytes(state, 2);
}

// ---- Copies ---------------------------------------------------------------------------------------

struct CopySetup {
  Canvas src, dst;
  BITMAPINFO bmi{};
  CopySetup() {
    bmi.bmiHeader.biWidth = kW;
    bmi.bmiHeader.biHeight = kH;
  }
  void bitblt() { BitBlt(dst.dc.get(), 0, 0, kW, kH, src.dc.get(), 0, 0, SRCCOPY); }
  void stretchDIBits() {
    StretchDIBits(dst.dc.get(), 0, 0, kW, kH, 0, 0, kW, kH, src.bits, &bmi, DIB_RGB_COLORS, SRCCOPY);
  }
  void memcpySame() {
    std::memcpy(dst.bits, src.bits, kBytes);
    benchmark::ClobberMemory();
  }
  void pixman() { pixman_blt(src.bits, dst.bits, kW, kW, 32, 32, 0, 0, 0, 0, kW, kH); }
};

void BM_BitBlt(benchmark::State& state) {
  CopySetup s;
  for (auto _ : state) s.bitblt();
  bytes(state);
}
void BM_StretchDIBits(benchmark::State& state) {
  CopySetup s;
  for (auto _ : state) s.stretchDIBits();
  bytes(state);
}
void BM_Memcpy(benchmark::State& state) {
  CopySetup s;
  for (auto _ : state) s.memcpySame();
  bytes(state);
}
void BM_PixmanBlt(benchmark::State& state) {
  CopySetup s;
  for (auto _ : state) s.pixman();
  bytes(state);
}
void BM_BitBlt_vs_memcpy(benchmark::State& state) {
  CopySetup s;
  bench::alternate(state, 1, [&] { s.bitblt(); }, [&] { s.memcpySame(); });
  bytes(state, 2);
}
void BM_BitBlt_vs_pixman(benchmark::State& state) {
  CopySetup s;
  bench::alternate(state, 1, [&] { s.bitblt(); }, [&] { s.pixman(); });
  bytes(state, 2);
}
void BM_StretchDIBits_vs_memcpy(benchmark::State& state) {
  CopySetup s;
  bench::alternate(state, 1, [&] { s.stretchDIBits(); }, [&] { s.memcpySame(); });
  bytes(state, 2);
}

// ---- Constant-alpha blend -------------------------------------------------------------------------

struct BlendSetup {
  CopySetup copy;
  pixman_image_t* src = pixman_image_create_bits(PIXMAN_a8r8g8b8, kW, kH, copy.src.bits, kW * 4);
  pixman_image_t* dst = pixman_image_create_bits(PIXMAN_a8r8g8b8, kW, kH, copy.dst.bits, kW * 4);
  pixman_image_t* mask;
  BlendSetup() {
    pixman_color_t half{0, 0, 0, 0x8080};
    mask = pixman_image_create_solid_fill(&half);
  }
  ~BlendSetup() {
    pixman_image_unref(src);
    pixman_image_unref(dst);
    pixman_image_unref(mask);
  }
  void ours() {
    AlphaBlend(copy.dst.dc.get(), 0, 0, kW, kH, copy.src.dc.get(), 0, 0, kW, kH, BLENDFUNCTION{AC_SRC_OVER, 0, 128, 0});
  }
  void pixman() { pixman_image_composite32(PIXMAN_OP_OVER, src, mask, dst, 0, 0, 0, 0, 0, 0, kW, kH); }
};

void BM_AlphaBlend(benchmark::State& state) {
  BlendSetup s;
  for (auto _ : state) s.ours();
  bytes(state);
}
void BM_PixmanOverSolidMask(benchmark::State& state) {
  BlendSetup s;
  for (auto _ : state) s.pixman();
  bytes(state);
}
void BM_AlphaBlend_vs_pixman(benchmark::State& state) {
  BlendSetup s;
  bench::alternate(state, 1, [&] { s.ours(); }, [&] { s.pixman(); });
  bytes(state, 2);
}

BENCHMARK(BM_FillRect)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Memset)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PixmanFill)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillRect_vs_memset)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillRect_vs_pixman)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BitBlt)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StretchDIBits)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PixmanBlt)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BitBlt_vs_memcpy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BitBlt_vs_pixman)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StretchDIBits_vs_memcpy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AlphaBlend)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PixmanOverSolidMask)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AlphaBlend_vs_pixman)->Unit(benchmark::kMicrosecond);

}  // namespace
