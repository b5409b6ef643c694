// The bars: the full paint pass (background, separators, pictures, captions, grippers) of a tool
// bar of 5 and of 20 buttons beside one FillRect of the same area ("x_fill" = fill time / paint
// time; "us_per_call" is one pass); an idle polling tick of a status bar with Caps, Num, time
// and date panels (the clock held still) beside the tick of a bar without live panels, with
// "paints_per_tick" (0 when nothing changed); and hit-testing pointer positions across a
// 20-button bar ("ns_per_hit").
#include <benchmark/benchmark.h>

#include "BenchClock.h"
#include "BenchForm.h"
#include "bars/ZorvaXPStatusBar.h"
#include "bars/ZorvaXPToolBar.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/host/runtime/Date.h"
#include "platform/ui/TestInput.h"

namespace {

using namespace zxp;
using bars::THAlign;

void fillBar(bars::ZorvaXPToolBar& tb, int count) {
  tb.ClearAll();
  for (int i = 1; i <= count; ++i)
    tb.AddButton("Item " + std::to_string(i), THAlign::Center, 60, {}, THAlign::Left, true, true,
                 bars::TStyleDType::Normal_Text, {}, i % 4 == 0 ? bars::TMainStyleDType::DropDown : bars::TMainStyleDType::Normal,
                 i % 3 == 0);
}

void BM_ToolBarPaint(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const int w = count * 60 + 20, h = 29;
  bench::withControl<bars::ZorvaXPToolBar>(w, h, [&](bars::ZorvaXPToolBar& tb) {
    fillBar(tb, count);
    const HDC dc = tb.surface().hDC();
    GdiObject brush(CreateSolidBrush(RGB(10, 20, 30)));
    const RECT area{0, 0, w, h};
    bench::alternate(state, 8, [&] { tb.RedrawMe(true); },
                     [&] { FillRect(dc, &area, static_cast<HBRUSH>(brush.get())); }, "x_fill");
  });
}
BENCHMARK(BM_ToolBarPaint)->Arg(5)->Arg(20);

// One 10 ms step of the virtual clock: both polls tick once. With the clock held still and no key
// changed, the live bar reads four key states and formats two texts, and paints nothing.
void BM_StatusBarIdleTick(benchmark::State& state) {
  host::setNowSource([] { return host::Date{45000.5}; });
  double live = 0, plain = 0;
  uint64_t paints = 0, ticks = 0;
  bench::withControl<bars::ZorvaXPStatusBar>(600, 27, [&](bars::ZorvaXPStatusBar& sb) {
    using bars::SHAlign;
    using bars::StyleDType;
    sb.AddPanel("CAPS", SHAlign::Center, 50, {}, SHAlign::Left, true, true, StyleDType::Caps);
    sb.AddPanel("NUM", SHAlign::Center, 50, {}, SHAlign::Left, true, true, StyleDType::Num);
    sb.AddPanel("", SHAlign::Center, 80, {}, SHAlign::Left, true, true, StyleDType::CurrentTime);
    sb.AddPanel("", SHAlign::Center, 90, {}, SHAlign::Left, true, true, StyleDType::CurentDate);
    ui::TestInput in;
    const uint64_t before = sb.paintCount();
    for (auto _ : state) {
      const double t0 = bench::threadSeconds();
      for (int i = 0; i < 100; ++i) in.advance(10);
      live += bench::threadSeconds() - t0;
      ticks += 100;
    }
    paints = sb.paintCount() - before;
  });
  // The baseline: the same clock steps on a bar whose panels are plain text (no timer runs).
  bench::withControl<bars::ZorvaXPStatusBar>(600, 27, [&](bars::ZorvaXPStatusBar&) {
    ui::TestInput in;
    for (benchmark::IterationCount k = 0; k < state.iterations(); ++k) {
      const double t0 = bench::threadSeconds();
      for (int i = 0; i < 100; ++i) in.advance(10);
      plain += bench::threadSeconds() - t0;
    }
  });
  host::setNowSource({});
  state.counters["us_per_tick"] = ticks ? live * 1e6 / static_cast<double>(ticks) : 0;
  state.counters["us_per_tick_plain"] = ticks ? plain * 1e6 / static_cast<double>(ticks) : 0;
  state.counters["paints_per_tick"] = ticks ? static_cast<double>(paints) / static_cast<double>(ticks) : 0;
}
BENCHMARK(BM_StatusBarIdleTick);

// Hit tests of 1 000 000 pointer positions sweeping a 20-button bar, against a loop that only
// sums the same positions.
void BM_ToolBarHitTest(benchmark::State& state) {
  bench::withControl<bars::ZorvaXPToolBar>(1220, 29, [&](bars::ZorvaXPToolBar& tb) {
    fillBar(tb, 20);
    int64_t sink = 0;
    bench::alternate(
        state, 1,
        [&] {
          for (int i = 0; i < 1000000; ++i) sink += tb.HitTest(i % 1220, 1 + i % 27).Index;
        },
        [&] {
          for (int i = 0; i < 1000000; ++i) benchmark::DoNotOptimize(sink += i % 1220 + 1 + i % 27);
        },
        "x_sum");
    benchmark::DoNotOptimize(sink);
    state.counters["ns_per_hit"] = static_cast<double>(state.counters["us_per_call"]) * 1e3 / 1e6;
  });
}
BENCHMARK(BM_ToolBarHitTest)->Unit(benchmark::kMillisecond);

}  // namespace
