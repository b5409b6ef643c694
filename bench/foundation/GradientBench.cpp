// The gradient routines on a 1920 x 1080 surface, each beside a memset of the same number of
// bytes timed in the same iterations. The counter "x_memset" is routine time / memset time.
// Both are measured in the thread's CPU time (page faults included), so that other processes
// on a busy machine do not skew the ratio.
#include <benchmark/benchmark.h>

#include <cstring>
#include <functional>
#include <vector>

#include "BenchClock.h"
#include "foundation/modGradient.h"
#include "platform/gfx/DeviceContext.h"

namespace {

using namespace zxp;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

void againstMemset(benchmark::State& state, const std::function<void(HDC)>& routine) {
  auto surface = gfx::Surface::create(kWidth, kHeight);
  HDC dc = gfx::CreateSurfaceDC(surface);
  std::vector<uint32_t> baseline(static_cast<size_t>(kWidth) * kHeight);
  double routineSeconds = 0, memsetSeconds = 0;
  int fill = 0;
  for (auto _ : state) {
    double t0 = bench::threadSeconds();
    routine(dc);
    double t1 = bench::threadSeconds();
    std::memset(baseline.data(), ++fill & 0xFF, baseline.size() * sizeof(uint32_t));
    benchmark::DoNotOptimize(baseline.data());
    benchmark::ClobberMemory();
    double t2 = bench::threadSeconds();
    double r = t1 - t0;
    routineSeconds += r;
    memsetSeconds += t2 - t1;
    state.SetIterationTime(r);
  }
  state.counters["memset_ms"] = memsetSeconds * 1e3 / static_cast<double>(state.iterations());
  state.counters["x_memset"] = routineSeconds / memsetSeconds;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight * 4);
  DeleteDC(dc);
}

const OLE_COLOR kLight = RGB(255, 255, 255), kDark = RGB(0, 84, 227);

void BM_GradientFillVertical(benchmark::State& s) {
  againstMemset(s, [](HDC dc) { GradientFillVertical(dc, kWidth, kHeight, kDark, kLight); });
}
void BM_GradientFillVerticalAt(benchmark::State& s) {
  againstMemset(s, [](HDC dc) { GradientFillVerticalAt(dc, 0, 0, kWidth, kHeight, kDark, kLight); });
}
void BM_GradientFillAngle(benchmark::State& s) {
  const float angle = static_cast<float>(s.range(0));
  againstMemset(s, [angle](HDC dc) { GradientFillAngle(dc, kWidth, kHeight, kDark, kLight, angle); });
}
// A face of the largest size on the same surface: only the part that lands on the surface is
// computed, so it should cost what a face of the surface's size costs.
void BM_GradientFillAngleLargerThanItsSurface(benchmark::State& s) {
  againstMemset(s, [](HDC dc) { GradientFillAngle(dc, 32767, 32767, kDark, kLight, 30.0f); });
}
void BM_GradientFillHalf(benchmark::State& s) {
  // Both bands of a full-screen glass face: bandHeight = nearest(1080 / 2 + 1) = 541.
  againstMemset(s, [](HDC dc) {
    GradientFillHalf(dc, kWidth, 541, kLight, kDark, 90, false, true);
    GradientFillHalf(dc, kWidth, 541, kDark, kLight, 90, false, false);
  });
}
void BM_GradientFillPanel(benchmark::State& s) {
  againstMemset(s, [](HDC dc) { GradientFillPanel(dc, 0, 0, kWidth, kHeight, kLight, kDark); });
}
void BM_GradientFillGlass(benchmark::State& s) {
  againstMemset(s, [](HDC dc) { GradientFillGlass(dc, 0, 1, kWidth, kHeight - 1, kLight, kDark, 1); });
}

BENCHMARK(BM_GradientFillVertical)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GradientFillVerticalAt)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GradientFillAngle)->Arg(0)->Arg(90)->Arg(30)->Arg(135)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GradientFillAngleLargerThanItsSurface)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GradientFillHalf)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GradientFillPanel)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GradientFillGlass)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
