// Cost of one Format call with the two patterns the controls use most: "dd-mm-yyyy" (the tool
// bar's date panel and the date picker's text) and "#,##0.00" (a formatted grid column).
//
// Each pattern is measured on its own and beside a baseline doing the nearest thing with
// snprintf into a std::string in the same run (day-month-year with "%02d-%02d-%04d" from the same
// date parts; "%.2f" for the number, which has no thousands separators and rounds differently,
// so it is only a yardstick). The values vary per iteration so no result is cached anywhere.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "platform/host/runtime/Format.h"

namespace {

using zxp::host::Date;
using zxp::host::Format;

constexpr int kValues = 1024;

Date dateAt(int i) { return Date{45000.0 + i * 3.25}; }
double numberAt(int i) { return (i - 512) * 1234.5678 + i / 7.0; }

void BM_Format_DayMonthYear(benchmark::State& state) {
  int i = 0;
  for (auto _ : state) {
    std::string s = Format(dateAt(i), "dd-mm-yyyy");
    benchmark::DoNotOptimize(s);
    i = (i + 1) % kValues;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Format_DayMonthYear);

void BM_Baseline_DayMonthYear_snprintf(benchmark::State& state) {
  int i = 0;
  for (auto _ : state) {
    const zxp::host::DateParts p = zxp::host::splitDate(dateAt(i));
    char buf[32];
    const int n = std::snprintf(buf, sizeof buf, "%02d-%02d-%04d", p.day, p.month, p.year);
    std::string s(buf, static_cast<size_t>(n));
    benchmark::DoNotOptimize(s);
    i = (i + 1) % kValues;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Baseline_DayMonthYear_snprintf);

void BM_Format_Thousands(benchmark::State& state) {
  int i = 0;
  for (auto _ : state) {
    std::string s = Format(numberAt(i), "#,##0.00");
    benchmark::DoNotOptimize(s);
    i = (i + 1) % kValues;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Format_Thousands);

void BM_Baseline_Fixed2_snprintf(benchmark::State& state) {
  int i = 0;
  for (auto _ : state) {
    char buf[64];
    const int n = std::snprintf(buf, sizeof buf, "%.2f", numberAt(i));
    std::string s(buf, static_cast<size_t>(n));
    benchmark::DoNotOptimize(s);
    i = (i + 1) % kValues;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Baseline_Fixed2_snprintf);

// A numeric text, as a grid column holds it: the numeric test runs first.
void BM_Format_ThousandsFromText(benchmark::State& state) {
  int i = 0;
  for (auto _ : state) {
    std::string s = Format("1234567.891", "#,##0.00");
    benchmark::DoNotOptimize(s);
    i = (i + 1) % kValues;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Format_ThousandsFromText);

// A date pattern of one long run of a letter (a property a user filled with "MMMM...M"): the
// pattern is read token by token, each looking at no more than the longest token, so the time
// grows linearly with the run (the fitted complexity shows it).
void BM_Format_LongMonthRun(benchmark::State& state) {
  const std::string pattern(static_cast<size_t>(state.range(0)), 'M');
  const Date day(45322.0);
  for (auto _ : state) {
    std::string s = Format(day, pattern);
    benchmark::DoNotOptimize(s);
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Format_LongMonthRun)->RangeMultiplier(4)->Range(1 << 10, 1 << 16)->Complexity();

}  // namespace
