// The list's data model at 1 000 000 rows (CSV export at 100 000), each beside a baseline measured
// in the same run (thread CPU time; "ratio" = baseline time / our time, so 1.0 is parity and 0.5
// means we take twice as long):
// - AddItem of 5-column rows beside copying the same row texts into a vector of strings;
//   "bytes_per_row" is the heap the list holds per row (blocks the allocator maps on their own
//   included), "text_bytes_per_row" the row's text.
// - ResortCol (random numbers, random words, 3 distinct values) beside making the same keys and
//   std::sort with the same comparison.
// - FindItem of a missing text beside a plain loop comparing the same cells with ==.
// - ExportToCsv beside fwrite of the same bytes to the same folder ("MB_per_s" is ours).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "list/ListData.h"
#include "list/ListSort.h"
#include "platform/base/CodePage.h"

namespace {

using namespace zxp;
using namespace zxp::list;

constexpr int kRows = 1000000;
constexpr int kCsvRows = 100000;

std::string word(std::mt19937& rng) {
  std::string s;
  const int n = 3 + static_cast<int>(rng() % 8);
  for (int i = 0; i < n; ++i) s += static_cast<char>('a' + rng() % 26);
  return s;
}

std::vector<std::string> rowTexts(int columns, int count = kRows) {
  std::mt19937 rng(1);
  std::vector<std::string> rows;
  for (int r = 0; r < count; ++r) {
    std::string t;
    for (int c = 0; c < columns; ++c) {
      if (c) t += '\t';
      t += c == 0 ? std::to_string(rng() % 1000000) : word(rng);
    }
    rows.push_back(t);
  }
  return rows;
}

// The heap in use: the allocator's arenas and the large blocks it maps on their own, which its
// arena count leaves out (a big array of rows is one of those).
size_t heapInUse() {
  const auto m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

ListData gridOf(const std::vector<std::string>& rows, int columns) {
  ListData d;
  d.LockUpdate = true;
  for (int c = 1; c <= columns; ++c) d.AddNewColumn("C" + std::to_string(c), 100);
  for (const auto& r : rows) d.AddItem(r);
  return d;
}

void BM_ListAddItem5Columns(benchmark::State& state) {
  const auto rows = rowTexts(5);
  double mine = 0, theirs = 0, heap = 0;
  size_t textBytes = 0;
  for (const auto& r : rows) textBytes += r.size();
  for (auto _ : state) {
    const size_t before = heapInUse();
    double t0 = bench::threadSeconds();
    {
      ListData d = gridOf(rows, 5);
      mine += bench::threadSeconds() - t0;
      heap = static_cast<double>(heapInUse() - before);
      benchmark::DoNotOptimize(d.ListCount());
    }
    t0 = bench::threadSeconds();
    std::vector<std::string> copy;
    for (const auto& r : rows) copy.push_back(r);
    benchmark::DoNotOptimize(copy.data());
    theirs += bench::threadSeconds() - t0;
  }
  state.counters["ratio"] = theirs / mine;
  state.counters["ns_per_row"] = mine * 1e9 / (static_cast<double>(state.iterations()) * kRows);
  state.counters["bytes_per_row"] = heap / kRows;
  state.counters["text_bytes_per_row"] = static_cast<double>(textBytes) / kRows;
}
BENCHMARK(BM_ListAddItem5Columns)->Unit(benchmark::kMillisecond)->Iterations(1);

// range(0): 0 random numbers, 1 random words, 2 three distinct values; range(1): rows.
// "ratio" is std::sort's time over ours: above 1 when ours is faster.
void BM_ListResortCol(benchmark::State& state) {
  std::mt19937 rng(7);
  std::vector<std::string> texts;
  for (int64_t i = 0; i < state.range(1); ++i) {
    texts.push_back(state.range(0) == 0   ? std::to_string(rng() % 10000000)
                    : state.range(0) == 1 ? word(rng)
                                          : std::to_string(rng() % 3));
  }
  double mine = 0, theirs = 0;
  for (auto _ : state) {
    ListData d = gridOf(texts, 0);
    double t0 = bench::threadSeconds();
    d.ResortCol(1);
    mine += bench::threadSeconds() - t0;
    t0 = bench::threadSeconds();
    std::vector<SortKey> keys;
    keys.reserve(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) keys.push_back(makeSortKey(texts[i], true, static_cast<uint32_t>(i)));
    std::sort(keys.begin(), keys.end(),
                     [](const SortKey& a, const SortKey& b) { return compareSortKeys(a, b) < 0; });
    benchmark::DoNotOptimize(keys.data());
    theirs += bench::threadSeconds() - t0;
  }
  state.counters["ratio"] = theirs / mine;
  state.counters["ms_ours"] = mine * 1e3 / static_cast<double>(state.iterations());
  state.counters["ms_std_sort"] = theirs * 1e3 / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ListResortCol)
    ->Args({0, 100000})
    ->Args({0, kRows})
    ->Args({1, kRows})
    ->Args({2, kRows})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

void BM_ListFindItem(benchmark::State& state) {
  const auto rows = rowTexts(2);
  ListData d = gridOf(rows, 2);
  std::vector<std::string> cells;
  for (int32_t r = 1; r <= d.ListCount(); ++r) cells.push_back(d.TextMatrix(r, 2));
  const std::string missing = "nowhere";
  bench::alternate(
      state, 4, [&] { benchmark::DoNotOptimize(d.FindItem(missing, 2, 1)); },
      [&] {
        int32_t found = -1;
        for (size_t i = 0; i < cells.size(); ++i) {
          if (cells[i] == missing) {
            found = static_cast<int32_t>(i + 1);
            break;
          }
        }
        benchmark::DoNotOptimize(found);
      });
}
BENCHMARK(BM_ListFindItem)->Unit(benchmark::kMillisecond);

void BM_ListExportToCsv(benchmark::State& state) {
  const auto rows = rowTexts(5, kCsvRows);
  ListData d = gridOf(rows, 5);
  const auto dir = std::filesystem::temp_directory_path() / ("zxp-listbench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string ours = (dir / "ours.csv").string(), plain = (dir / "plain.csv").string();
  const std::string bytes = utf8ToCp1252(d.csvText());
  bench::alternate(
      state, 1, [&] { d.ExportToCsv(ours); },
      [&] {
        FILE* f = std::fopen(plain.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
      });
  state.counters["MB_per_s"] = static_cast<double>(bytes.size()) / state.counters["us_per_call"];
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ListExportToCsv)->Unit(benchmark::kMillisecond);

}  // namespace
