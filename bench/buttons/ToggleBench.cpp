// The toggles' full redraw (RedrawMe) at a dialog size and at a large size, for the check box
// (gradient background, checked) and the option button (gradient background, selected; this
// includes placing and shaping picButton), and the check box's transparent shape: the region
// built from a 300 x 60 caption area, one rectangle per run of non-key pixels. Each is timed
// beside one FillRect of the same area on the same surface in the same run: "x_fill" = fill
// time / our time; "us_per_call" is one call of ours; "px_per_us" is the caption pixels the
// region build handles per microsecond.
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchClock.h"
#include "BenchForm.h"
#include "buttons/ZorvaXPCheckBox.h"
#include "buttons/ZorvaXPOptionButton.h"
#include "foundation/modRegion.h"
#include "platform/gfx/GdiRaii.h"

namespace {

using namespace zxp;
using buttons::ZorvaXPCheckBox;
using buttons::ZorvaXPOptionButton;
using bench::withControl;

void BM_CheckBoxRedrawMe(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  withControl<ZorvaXPCheckBox>(w, h, [&](ZorvaXPCheckBox& c) {
    c.setCaption("Remember my choice");
    c.setValue(buttons::CValueConst::Checked);
    bench::redrawAgainstFill(state, c, w, h);
  });
}

void BM_OptionButtonRedrawMe(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  withControl<ZorvaXPOptionButton>(w, h, [&](ZorvaXPOptionButton& o) {
    o.setCaption("Remember my choice");
    o.setValue(true);
    bench::redrawAgainstFill(state, o, w, h);
  });
}

// The whole transparent redraw (it draws, scans the caption area and sets the shape).
void BM_CheckBoxRedrawMe_Transparent(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  withControl<ZorvaXPCheckBox>(w, h, [&](ZorvaXPCheckBox& c) {
    c.setCaption("Remember my choice");
    c.setBackStyle(buttons::CBackStyle::Default);
    c.setBackingStyle(buttons::CBackingStyle::CBK_Transparent);
    bench::redrawAgainstFill(state, c, w, h);
  });
}

// The region of a 300 x 60 caption area (a two-line caption on the silver key).
void BM_TransparentShape_300x60(benchmark::State& state) {
  constexpr int w = 300 + 23 + 2, h = 60;
  withControl<ZorvaXPCheckBox>(w, h, [&](ZorvaXPCheckBox& c) {
    c.setCaption("A caption long enough to wrap onto a second line of this three hundred pixel area");
    c.setBackStyle(buttons::CBackStyle::Default);
    c.setBackingStyle(buttons::CBackingStyle::CBK_Transparent);
    const HDC dc = c.surface().hDC();
    const RECT area{23, 0, 323, 60};
    // The baseline fills an area of the same size elsewhere, so that the caption stays intact.
    MemoryDC scratch(dc);
    GdiObject bitmap(CreateCompatibleBitmap(dc, 300, 60));
    Selection selected(scratch.get(), bitmap.get());
    GdiObject brush(CreateSolidBrush(RGB(10, 20, 30)));
    const RECT scratchArea{0, 0, 300, 60};
    bench::alternate(
        state, 8,
        [&] {
          HRGN r = RegionWithoutColor(dc, area, ZorvaXPCheckBox::kTransparentKey);
          benchmark::DoNotOptimize(r);
          DeleteObject(r);
        },
        [&] { FillRect(scratch.get(), &scratchArea, static_cast<HBRUSH>(brush.get())); }, "x_fill");
    state.counters["px_per_us"] = 300.0 * 60.0 / state.counters["us_per_call"];
  });
}

BENCHMARK(BM_CheckBoxRedrawMe)->Args({120, 23})->Args({300, 60});
BENCHMARK(BM_OptionButtonRedrawMe)->Args({120, 23})->Args({300, 60});
BENCHMARK(BM_CheckBoxRedrawMe_Transparent)->Args({120, 23})->Args({300, 60});
BENCHMARK(BM_TransparentShape_300x60);

}  // namespace
