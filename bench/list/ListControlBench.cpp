// The list control on screen: a full repaint (RedrawMe) of a 5-column grid with a header at
// 300 x 200 and 600 x 400 pixels beside one FillRect of the same area ("x_fill" = fill time /
// repaint time); the repaint of a grid of 1 000 000 rows beside the same grid of 100 rows in the
// same run ("x_100rows" = 100-row time / 1M-row time, 1.0 when the row count costs nothing);
// scrolling by one row over a flat background beside a full repaint ("x_full", with
// "rows_per_scroll" painted: the rows that come in, the rest is copied); and a
// header click that sorts 100 000 rows and repaints ("ms_per_click").
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "BenchClock.h"
#include "BenchForm.h"
#include "list/ZorvaXPListBox.h"
#include "platform/ui/TestInput.h"

namespace {

using namespace zxp;
using list::ZorvaXPListBox;

void fillRows(ZorvaXPListBox& l, int32_t rows) {
  for (int c = 1; c <= 5; ++c) l.AddNewColumn("Column " + std::to_string(c), 110);
  l.setShowHeaders(true);
  l.setLockUpdate(true);
  for (int32_t r = 1; r <= rows; ++r) {
    const std::string n = std::to_string((r * 7919) % 100003);
    l.AddItem(n + "\tname " + n + "\t" + std::to_string(r % 97) + "\tcity\t" + std::to_string(r));
  }
  l.setLockUpdate(false);
}

ZorvaXPListBox& addList(host::Form& form, const std::string& name, int w, int h) {
  host::ExtenderRecord r;
  r.left = r.top = pixelsToTwips(10);
  r.width = pixelsToTwips(w);
  r.height = pixelsToTwips(h);
  return form.add(std::make_unique<ZorvaXPListBox>(), name, r).as<ZorvaXPListBox>();
}

void BM_ListRepaint(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = w * 2 / 3;
  bench::withControl<ZorvaXPListBox>(w, h, [&](ZorvaXPListBox& l) {
    fillRows(l, 100);
    l.setListIndex(3);
    bench::redrawAgainstFill(state, l, w, h);
  });
}
BENCHMARK(BM_ListRepaint)->Arg(300)->Arg(600);

void BM_ListRepaintMillionRows(benchmark::State& state) {
  ui::resetWindowSystem();
  {
    host::FormOptions o;
    o.clientWidth = pixelsToTwips(640);
    o.clientHeight = pixelsToTwips(440);
    host::Form form(o);
    ZorvaXPListBox& big = addList(form, "big", 600, 400);
    ZorvaXPListBox& small = addList(form, "small", 600, 400);
    fillRows(big, 1000000);
    fillRows(small, 100);
    big.setTopRow(500000);
    bench::alternate(state, 4, [&] { big.RedrawMe(); }, [&] { small.RedrawMe(); }, "x_100rows");
  }
  ui::resetWindowSystem();
}
BENCHMARK(BM_ListRepaintMillionRows)->Unit(benchmark::kMicrosecond);

void BM_ListScrollOneRow(benchmark::State& state) {
  bench::withControl<ZorvaXPListBox>(600, 400, [&](ZorvaXPListBox& l) {
    l.setBackgroundStyle(list::LBStyle::Normal);
    fillRows(l, 1000000);
    l.setTopRow(1000);
    int32_t way = 1;
    bench::alternate(state, 4, [&] {
      l.setTopRow(l.topRow() + way);
      way = -way;
    }, [&] { l.RedrawMe(); }, "x_full");
    const int64_t start = l.rowsPainted();
    l.setTopRow(l.topRow() + 1);
    state.counters["rows_per_scroll"] = static_cast<double>(l.rowsPainted() - start);
  });
}
BENCHMARK(BM_ListScrollOneRow);

void BM_ListHeaderClickSort(benchmark::State& state) {
  bench::withControl<ZorvaXPListBox>(600, 400, [&](ZorvaXPListBox& l) {
    fillRows(l, 100000);
    ui::TestInput input;
    input.moveTo(l.hWnd(), Point{50, 10});
    double total = 0;
    for (auto _ : state) {
      const double t0 = bench::threadSeconds();
      input.click();
      total += bench::threadSeconds() - t0;
      input.advance(1000);  // the next click is not a double click
    }
    state.counters["ms_per_click"] = state.iterations() ? total * 1e3 / static_cast<double>(state.iterations()) : 0;
  });
}
BENCHMARK(BM_ListHeaderClickSort)->Unit(benchmark::kMillisecond)->Iterations(6);

}  // namespace
