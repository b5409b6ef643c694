// The form designer with a 2 000-control form open (buttons, labels and check boxes in rows):
//   - BM_DesignerOpen2000: opening the form file in the designer's model (a design-mode load);
//     goal: under 1 s.
//   - BM_DesignerDrag100of2000: one mouse move of a drag that carries 100 selected controls, as
//     the designer handles it (100 windows moved on the grid, the adorner's new shape and paint)
//     and the screen composed as the desktop would show it; goal: under 8 ms per move. The
//     counters split each move's CPU time into the designer's part and the composition's.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "BenchClock.h"
#include "designer/Designer.h"
#include "library/ClassTable.h"
#include "platform/host/FormFile.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TestInput.h"

namespace {

using namespace zxp;

constexpr int kControls = 2000;
constexpr int kSelected = 100;

// 40 rows of 50 small controls, 64 x 20 pixels apart.
std::string bigForm() {
  host::FormRecord form;
  form.name = "Big";
  form.properties.WriteProperty("ClientWidth", int32_t{50 * 64 * 15});
  form.properties.WriteProperty("ClientHeight", int32_t{40 * 20 * 15 + 120});
  static const char* const kClasses[] = {"ZorvaXPButton", "ZorvaXPLabel", "ZorvaXPCheckBox"};
  for (int i = 0; i < kControls; ++i) {
    host::ControlRecord c;
    c.className = kClasses[i % 3];
    c.name = "c" + std::to_string(i);
    c.extender = host::ExtenderRecord::inPixels((i % 50) * 64 + 4, (i / 50) * 20 + 4, 60, 16);
    form.controls.push_back(std::move(c));
  }
  return host::writeFormFile(form);
}

void BM_DesignerOpen2000(benchmark::State& state) {
  ui::resetWindowSystem();
  ui::setScreenSize(Size{1400, 880});
  const std::string text = bigForm();
  {
    designer::Document doc(library::classes());
    for (auto _ : state) {
      doc.open(text);
      benchmark::DoNotOptimize(doc.form().Controls().size());
    }
    state.counters["controls"] = static_cast<double>(doc.form().Controls().size());
  }
  ui::resetWindowSystem();
}
BENCHMARK(BM_DesignerOpen2000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DesignerDrag100of2000(benchmark::State& state) {
  ui::resetWindowSystem();
  ui::setScreenSize(Size{1400, 880});
  {
    auto d = std::make_unique<designer::Designer>();
    designer::Document& doc = d->document();
    doc.open(bigForm());
    // The first 100 controls of the first rows that the design area shows.
    doc.select(nullptr);
    for (int i = 0; i < kSelected; ++i) doc.toggle(doc.form().control("c" + std::to_string(i)));
    d->selectionChanged();
    ui::TestInput input;
    const Rect lead = d->areaRect(*doc.selection().front());
    const Point from{lead.left + 10, lead.top + 8};
    input.moveTo(d->designArea(), from).press();
    ui::composeScreen();
    int step = 0;
    double handling = 0, composing = 0;
    for (auto _ : state) {
      // Back and forth over two grid steps, so that every move changes where the controls are.
      ++step;
      const int dx = (step % 4) * 4;
      const double t0 = bench::threadSeconds();
      input.moveTo(d->designArea(), Point{from.x + dx, from.y + (step % 2) * 3});
      const double t1 = bench::threadSeconds();
      benchmark::DoNotOptimize(ui::composeScreen());
      const double t2 = bench::threadSeconds();
      handling += t1 - t0;
      composing += t2 - t1;
    }
    input.release();
    const double n = static_cast<double>(state.iterations());
    state.counters["moved"] = static_cast<double>(doc.selection().size());
    // CPU milliseconds per move: the designer's handling (moves, adorner) and the composition.
    state.counters["ms_designer"] = handling * 1e3 / n;
    state.counters["ms_compose"] = composing * 1e3 / n;
  }
  ui::resetWindowSystem();
}
BENCHMARK(BM_DesignerDrag100of2000)->Unit(benchmark::kMillisecond);

}  // namespace
