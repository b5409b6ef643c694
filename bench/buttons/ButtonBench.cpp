// A full push-button redraw (RedrawMe: clear, cut the window shape, face, border, caption) at a
// toolbar size and at a large size, in both styles. The counter "x_fill" compares it with one
// FillRect of the same area on the same surface (baseline time / redraw time: the share of a
// redraw that a plain fill would cost), both in thread CPU time; "us_per_call" is one redraw.
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchForm.h"
#include "buttons/ZorvaXPButton.h"

namespace {

using namespace zxp;
using buttons::ZorvaXPButton;

void redraw(benchmark::State& state, buttons::ButtonStyleDType style) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  bench::withControl<ZorvaXPButton>(w, h, [&](ZorvaXPButton& b) {
    b.setButtonStyle(style);
    bench::redrawAgainstFill(state, b, w, h);
  }, "ZorvaXPButton1");
}

void BM_ButtonRedrawMe_Vista(benchmark::State& s) { redraw(s, buttons::ButtonStyleDType::Vista); }
void BM_ButtonRedrawMe_XP(benchmark::State& s) { redraw(s, buttons::ButtonStyleDType::XP); }

BENCHMARK(BM_ButtonRedrawMe_Vista)->Args({75, 23})->Args({300, 120});
BENCHMARK(BM_ButtonRedrawMe_XP)->Args({75, 23})->Args({300, 120});

}  // namespace
