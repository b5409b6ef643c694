// The range controls' full redraws at a small and a large size, each beside one FillRect of the
// same area on the same surface ("x_fill" = fill time / redraw time, both in thread CPU time;
// "us_per_call" is one redraw), and a thumb drag across a 1000-pixel track through the injected
// input path: "events_per_s" is how many Change events per CPU second the bar sustains while the
// thumb follows the pointer pixel by pixel (every move is a real WM_MOUSEMOVE).
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchClock.h"
#include "BenchForm.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/host/Form.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/TestInput.h"
#include "range/ZorvaSpinScroll.h"
#include "range/ZorvaXPHScrollBar.h"
#include "range/ZorvaXPProgressBar.h"
#include "range/ZorvaXPSpin.h"
#include "range/ZorvaXPVScrollBar.h"

namespace {

using namespace zxp;

// Sites a control of class T, w x h pixels, on a fresh form and compares `redraw` with a fill.
template <class T, class Redraw>
void redrawBeside(benchmark::State& state, Redraw redraw) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  bench::withControl<T>(w, h, [&](T& c) {
    c.extender()->setWidth(pixelsToTwips(w));  // the progress bar makes itself 342 wide
    const HDC dc = c.surface().hDC();
    GdiObject brush(CreateSolidBrush(RGB(10, 20, 30)));
    const RECT area{0, 0, w, h};
    bench::alternate(state, 8, [&] { redraw(c); }, [&] { FillRect(dc, &area, static_cast<HBRUSH>(brush.get())); },
                     "x_fill");
  });
}

void BM_HScrollBarRedrawMe(benchmark::State& s) {
  redrawBeside<range::ZorvaXPHScrollBar>(s, [](range::ZorvaXPHScrollBar& b) { b.RedrawMe(); });
}
void BM_VScrollBarRedrawMe(benchmark::State& s) {
  redrawBeside<range::ZorvaXPVScrollBar>(s, [](range::ZorvaXPVScrollBar& b) { b.RedrawMe(); });
}
void BM_SpinRedrawMe(benchmark::State& s) {
  redrawBeside<range::ZorvaXPSpin>(s, [](range::ZorvaXPSpin& b) { b.RedrawMe(); });
}
// The spin box's private arrow pair on its own: both arrows' gradients, outlines and glyphs.
void BM_SpinScrollDrawSpinArrows(benchmark::State& s) {
  redrawBeside<range::ZorvaSpinScroll>(s, [](range::ZorvaSpinScroll& b) { b.DrawSpinArrows(); });
}
void BM_ProgressBarLayout(benchmark::State& s) {
  redrawBeside<range::ZorvaXPProgressBar>(s, [](range::ZorvaXPProgressBar& b) { b.LayoutProgress(); });
}

BENCHMARK(BM_HScrollBarRedrawMe)->Args({120, 19})->Args({1000, 40});
BENCHMARK(BM_VScrollBarRedrawMe)->Args({17, 120})->Args({40, 1000});
BENCHMARK(BM_SpinRedrawMe)->Args({80, 22})->Args({400, 60});
BENCHMARK(BM_SpinScrollDrawSpinArrows)->Args({15, 22})->Args({40, 120});
BENCHMARK(BM_ProgressBarLayout)->Args({150, 20})->Args({1000, 60});

// A horizontal bar with a 1000-pixel track: the pointer takes the thumb from the start to the end
// one pixel per move, then puts it back.
void BM_HScrollBarThumbDrag1000(benchmark::State& state) {
  ui::resetWindowSystem();
  {
    host::FormOptions o;
    o.clientWidth = pixelsToTwips(1100);
    o.clientHeight = pixelsToTwips(60);
    host::Form form(o);
    host::ExtenderRecord r;
    r.left = r.top = pixelsToTwips(10);
    r.width = pixelsToTwips(1000 + 2 * range::ScrollBarBase::kArrowLength);
    r.height = pixelsToTwips(19);
    auto& b = form.add(std::make_unique<range::ZorvaXPHScrollBar>(), "hsb", r).as<range::ZorvaXPHScrollBar>();
    b.setMax(1000);
    int64_t changes = 0;
    b.Change.connect([&] { ++changes; });
    ui::TestInput input;
    const int travel = b.trackLength() - b.thumbLength();
    double seconds = 0, perDrag = 0;
    for (auto _ : state) {
      b.setValue(0);
      input.moveTo(b.thumb().hWnd(), Point{10, 9}).press();
      changes = 0;
      const double t0 = bench::threadSeconds();
      for (int i = 0; i < travel + 1; ++i) input.moveBy(1, 0);
      seconds += bench::threadSeconds() - t0;
      input.release();
      perDrag = static_cast<double>(changes);
      if (b.Value() != 1000) state.SkipWithError("the drag did not reach Max");
    }
    state.counters["changes_per_drag"] = perDrag;
    state.counters["events_per_s"] = seconds > 0 ? perDrag * static_cast<double>(state.iterations()) / seconds : 0;
  }
  ui::resetWindowSystem();
}

BENCHMARK(BM_HScrollBarThumbDrag1000)->Unit(benchmark::kMillisecond);

}  // namespace
