// The gradient routines on a surface of the face's size (1920 x 1080, and a button's 75 x 23,
// where the cost of a call counts), each beside a memset of the same number of bytes timed in
// the same iterations. The counter "x_memset" is routine time / memset time, the memset writing
// as many bytes as the routine writes (for most routines the face's; see GradientFillHalf). Both
// are measured in the thread's CPU time (page faults included), so that other processes on a
// busy machine do not skew the ratio; small faces are painted in batches so that reading the
// clock does not weigh on them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "BenchClock.h"
#include "foundation/GradientMath.h"
#include "foundation/modGradient.h"
#include "platform/gfx/DeviceContext.h"

namespace {

using namespace zxp;

// The face's size: the benchmark's arguments (width, height).
struct Size {
  int w, h;
};
Size faceSize(const benchmark::State& s) {
  return Size{static_cast<int>(s.range(0)), static_cast<int>(s.range(1))};
}

// `rowsWritten`: the rows of the face's width the routine stores, when not the face's height.
void againstMemset(benchmark::State& state, const std::function<void(HDC)>& routine,
                   int rowsWritten = 0) {
  const Size size = faceSize(state);
  auto surface = gfx::Surface::create(size.w, size.h);
  HDC dc = gfx::CreateSurfaceDC(surface);
  const int rows = rowsWritten > 0 ? rowsWritten : size.h;
  std::vector<uint32_t> baseline(static_cast<size_t>(size.w) * rows);
  const int batch = std::clamp(1920 * 1080 / (size.w * size.h), 1, 256);
  double routineSeconds = 0, memsetSeconds = 0;
  int fill = 0;
  for (auto _ : state) {
    double t0 = bench::threadSeconds();
    for (int i = 0; i < batch; ++i) routine(dc);
    double t1 = bench::threadSeconds();
    for (int i = 0; i < batch; ++i) {
      std::memset(baseline.data(), ++fill & 0xFF, baseline.size() * sizeof(uint32_t));
      benchmark::DoNotOptimize(baseline.data());
      benchmark::ClobberMemory();
    }
    double t2 = bench::threadSeconds();
    double r = t1 - t0;
    routineSeconds += r;
    memsetSeconds += t2 - t1;
    state.SetIterationTime(r);
  }
  const double calls = static_cast<double>(state.iterations()) * batch;
  state.counters["memset_us"] = memsetSeconds * 1e6 / calls;
  state.counters["us_per_call"] = routineSeconds * 1e6 / calls;
  state.counters["x_memset"] = routineSeconds / memsetSeconds;
  state.SetBytesProcessed(static_cast<int64_t>(calls) * static_cast<int64_t>(baseline.size()) * 4);
  DeleteDC(dc);
}

const OLE_COLOR kLight = RGB(255, 255, 255), kDark = RGB(0, 84, 227);

void BM_GradientFillVertical(benchmark::State& s) {
  const Size z = faceSize(s);
  againstMemset(s, [z](HDC dc) { GradientFillVertical(dc, z.w, z.h, kDark, kLight); });
}
void BM_GradientFillVerticalAt(benchmark::State& s) {
  const Size z = faceSize(s);
  againstMemset(s, [z](HDC dc) { GradientFillVerticalAt(dc, 0, 0, z.w, z.h, kDark, kLight); });
}
void BM_GradientFillAngle(benchmark::State& s) {
  const Size z = faceSize(s);
  const float angle = static_cast<float>(s.range(2));
  againstMemset(s, [z, angle](HDC dc) { GradientFillAngle(dc, z.w, z.h, kDark, kLight, angle); });
}
// A face of the largest size on the same surface: only the part that lands on the surface is
// computed, so it should cost what a face of the surface's size costs.
void BM_GradientFillAngleLargerThanItsSurface(benchmark::State& s) {
  againstMemset(s, [](HDC dc) { GradientFillAngle(dc, 32767, 32767, kDark, kLight, 30.0f); });
}
void BM_GradientFillHalf(benchmark::State& s) {
  // Both bands of a glass face: bandHeight = nearest(height / 2 + 1) (541 for 1080). The upper
  // band covers rows 2 to 2 + nearestQuarter(6 * band), the lower one rows band to band +
  // nearestQuarter(5 * band), both cut at the face's bottom: they overlap, so the two calls store
  // more rows than the face has (29 for 23, 1351 for 1080), and the memset stores as many.
  const Size z = faceSize(s);
  const int band = nearest(z.h / 2.0 + 1);
  const auto rowsOf = [&z](int top, int64_t height) {
    const int64_t bottom = std::min<int64_t>(top + height, z.h);
    return static_cast<int>(std::clamp<int64_t>(bottom - top, 0, z.h));
  };
  const int written = rowsOf(2, gradient::nearestQuarter(int64_t{band} * 6)) +
                      rowsOf(band, gradient::nearestQuarter(int64_t{band} * 5));
  againstMemset(
      s,
      [z, band](HDC dc) {
        GradientFillHalf(dc, z.w, band, kLight, kDark, 90, false, true);
        GradientFillHalf(dc, z.w, band, kDark, kLight, 90, false, false);
      },
      written);
}
void BM_GradientFillPanel(benchmark::State& s) {
  const Size z = faceSize(s);
  againstMemset(s, [z](HDC dc) { GradientFillPanel(dc, 0, 0, z.w, z.h, kLight, kDark); });
}
void BM_GradientFillGlass(benchmark::State& s) {
  const Size z = faceSize(s);
  againstMemset(s, [z](HDC dc) { GradientFillGlass(dc, 0, 1, z.w, z.h - 1, kLight, kDark, 1); });
}

#define ZXP_FACE_SIZES Args({1920, 1080})->Args({75, 23})
BENCHMARK(BM_GradientFillVertical)->ZXP_FACE_SIZES->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GradientFillVerticalAt)->ZXP_FACE_SIZES->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GradientFillAngle)
    ->ArgsProduct({{1920}, {1080}, {0, 90, 30, 135}})
    ->ArgsProduct({{75}, {23}, {0, 30, 45, 90, 135, 180, 270}})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GradientFillAngleLargerThanItsSurface)->Args({1920, 1080})->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GradientFillHalf)->ZXP_FACE_SIZES->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GradientFillPanel)->ZXP_FACE_SIZES->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GradientFillGlass)->ZXP_FACE_SIZES->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
