// The date controls: the calendar's full redraw at its fixed 191 x 199 pixels and one month
// step (grid, header and today line redrawn), the date picker's redraw at a small and a large
// size, and one open-and-close cycle of the picker's pop-up calendar; each beside one FillRect of
// the control's area on its own surface ("x_fill" = fill time / our time, thread CPU time;
// "us_per_call" is one call of ours).
#include <benchmark/benchmark.h>

#include "BenchClock.h"
#include "BenchForm.h"
#include "dates/ZorvaXPCalender.h"
#include "dates/ZorvaMonth4DBK.h"
#include "dates/ZorvaXPDPicker.h"
#include "dates/ZorvaYear4DBK.h"
#include "platform/gfx/GdiRaii.h"

namespace {

using namespace zxp;

template <class T, class Ours>
void besideFill(benchmark::State& state, int w, int h, Ours ours) {
  bench::withControl<T>(w, h, [&](T& c) {
    const HDC dc = c.surface().hDC();
    GdiObject brush(CreateSolidBrush(RGB(10, 20, 30)));
    const RECT area{0, 0, w, h};
    bench::alternate(state, 8, [&] { ours(c); }, [&] { FillRect(dc, &area, static_cast<HBRUSH>(brush.get())); },
                     "x_fill");
  });
}

void BM_CalendarRedrawMe(benchmark::State& s) {
  besideFill<dates::ZorvaXPCalender>(s, 191, 199, [](dates::ZorvaXPCalender& c) { c.RedrawMe(true, true, true); });
}

// One step forward or back per call, alternating, so the shown month stays near its start.
void BM_CalendarMonthStep(benchmark::State& s) {
  bool forward = true;
  besideFill<dates::ZorvaXPCalender>(s, 191, 199, [&](dates::ZorvaXPCalender& c) {
    if (forward) c.nextMonth();
    else c.previousMonth();
    forward = !forward;
  });
}

// The calendar's private month and year pickers on their own, at their fixed sizes: seven rows.
void BM_Month4DBKRedrawMe(benchmark::State& s) {
  besideFill<dates::ZorvaMonth4DBK>(s, 70, 157, [](dates::ZorvaMonth4DBK& p) { p.RedrawMe(); });
}
void BM_Year4DBKRedrawMe(benchmark::State& s) {
  besideFill<dates::ZorvaYear4DBK>(s, 33, 157, [](dates::ZorvaYear4DBK& p) { p.RedrawMe(); });
}

void BM_DPickerRedrawMe(benchmark::State& s) {
  const int w = static_cast<int>(s.range(0)), h = static_cast<int>(s.range(1));
  besideFill<dates::ZorvaXPDPicker>(s, w, h, [](dates::ZorvaXPDPicker& p) { p.RedrawMe(); });
}

// Opening redraws the 191 x 199 calendar and shows it as a topmost window; the baseline fills
// the calendar's area on the calendar's surface.
void BM_DPickerPopupCycle(benchmark::State& s) {
  bench::withControl<dates::ZorvaXPDPicker>(120, 21, [&](dates::ZorvaXPDPicker& p) {
    const HDC dc = p.calendar().surface().hDC();
    GdiObject brush(CreateSolidBrush(RGB(10, 20, 30)));
    const RECT area{0, 0, 191, 199};
    bench::alternate(
        s, 8,
        [&] {
          p.ShowCalander();
          p.HideCalander();
        },
        [&] { FillRect(dc, &area, static_cast<HBRUSH>(brush.get())); }, "x_fill");
  });
}

// A form with one date picker created, laid out and shown, then torn down: the picker's part of a
// form's load and first paint (its drop-down calendar stays hidden).
void BM_DPickerLoad(benchmark::State& s) {
  for (auto _ : s) bench::withControl<dates::ZorvaXPDPicker>(120, 21, [](dates::ZorvaXPDPicker& p) {
    benchmark::DoNotOptimize(&p);
  });
}

// The length of every month of a year (the month grid asks for two per redraw).
void BM_CalendarMonthLengths(benchmark::State& s) {
  bench::withControl<dates::ZorvaXPCalender>(191, 199, [&](dates::ZorvaXPCalender& c) {
    int32_t year = 1990;
    for (auto _ : s) {
      int sum = 0;
      for (int32_t m = 1; m <= 12; ++m) sum += c.getLastDayOfMonth(m, year);
      benchmark::DoNotOptimize(sum);
      year = year == 2030 ? 1990 : year + 1;
    }
  });
}

BENCHMARK(BM_DPickerLoad);
BENCHMARK(BM_CalendarMonthLengths);
BENCHMARK(BM_CalendarRedrawMe);
BENCHMARK(BM_CalendarMonthStep);
BENCHMARK(BM_Month4DBKRedrawMe);
BENCHMARK(BM_Year4DBKRedrawMe);
BENCHMARK(BM_DPickerRedrawMe)->Args({120, 21})->Args({600, 60});
BENCHMARK(BM_DPickerPopupCycle);

}  // namespace
