// A full push-button redraw (RedrawMe: clear, cut the window shape, face, border, caption) at a
// toolbar size and at a large size, in both styles. The counter "x_fill" compares it with one
// FillRect of the same area on the same surface (baseline time / redraw time: the share of a
// redraw that a plain fill would cost), both in thread CPU time; "us_per_call" is one redraw.
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchClock.h"
#include "buttons/ZorvaXPButton.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/host/Form.h"
#include "platform/ui/EventLoop.h"

namespace {

using namespace zxp;
using buttons::ZorvaXPButton;

void redraw(benchmark::State& state, buttons::ButtonStyleDType style) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  ui::resetWindowSystem();
  {
    host::FormOptions o;
    o.clientWidth = pixelsToTwips(w + 40);
    o.clientHeight = pixelsToTwips(h + 40);
    host::Form form(o);
    host::ExtenderRecord r;
    r.left = r.top = pixelsToTwips(10);
    r.width = pixelsToTwips(w);
    r.height = pixelsToTwips(h);
    auto& b = form.add(std::make_unique<ZorvaXPButton>(), "ZorvaXPButton1", r).as<ZorvaXPButton>();
    b.setButtonStyle(style);
    const HDC dc = b.surface().hDC();
    GdiObject brush(CreateSolidBrush(RGB(10, 20, 30)));
    const RECT area{0, 0, w, h};
    bench::alternate(state, 8, [&] { b.RedrawMe(); }, [&] { FillRect(dc, &area, static_cast<HBRUSH>(brush.get())); },
                     "x_fill");
  }
  ui::resetWindowSystem();
}

void BM_ButtonRedrawMe_Vista(benchmark::State& s) { redraw(s, buttons::ButtonStyleDType::Vista); }
void BM_ButtonRedrawMe_XP(benchmark::State& s) { redraw(s, buttons::ButtonStyleDType::XP); }

BENCHMARK(BM_ButtonRedrawMe_Vista)->Args({75, 23})->Args({300, 120});
BENCHMARK(BM_ButtonRedrawMe_XP)->Args({75, 23})->Args({300, 120});

}  // namespace
