// How form loading, one paint and teardown grow with the number of controls.
//
//   BM_Form_LoadPaintTeardown/N   a form file of N push buttons (in rows on one form) -> a live
//                                 form (parsing, creating, siting, ReadProperties), the pending
//                                 paints and one composed screen, then the form's destruction;
//                                 all timed (thread CPU time: the machine is shared)
// "per_control" is the time for one control. Linear (or n log n) work keeps it about the same at
// 1 000 and 100 000 controls; work that scans every control per control makes it grow 100-fold.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

#include "library/ClassTable.h"
#include "platform/host/Form.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace {

const std::string& formText(int controls) {
  static std::map<int, std::string> cache;
  auto& text = cache[controls];
  if (text.empty()) {
    text = "ZorvaXP Form 1\nBegin Form Bench\n  Caption = String \"Bench\"\n  ClientWidth = Long 15000\n"
           "  ClientHeight = Long 12000\n";
    for (int i = 0; i < controls; ++i) {
      const int left = (i % 10) * 1500, top = (i / 10 % 20) * 600;
      text += "  Begin ZorvaXPButton Button" + std::to_string(i) + "\n    @Left = " + std::to_string(left) +
              "\n    @Top = " + std::to_string(top) + "\n    @Width = 1400\n    @Height = 500\n" +
              "    Caption = String \"Button " + std::to_string(i) + "\"\n  End\n";
    }
    text += "End\n";
  }
  return text;
}

void BM_Form_LoadPaintTeardown(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string& text = formText(n);
  const auto& registry = zxp::library::classes();
  for (auto _ : state) {
    auto form = zxp::host::Form::load(text, registry);
    zxp::ui::eventLoop().processPendingEvents();  // the paints the new windows asked for
    benchmark::DoNotOptimize(zxp::ui::composeScreen());
    form.reset();
  }
  state.counters["per_control"] =
      benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Form_LoadPaintTeardown)->Arg(1000)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
