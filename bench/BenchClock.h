// Timing for benchmarks that compare a routine with a baseline in the same run.
#pragma once

#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace zxp::bench {

// This thread's CPU time in seconds: unlike wall time it does not count the time other
// processes on a shared machine take from us.
inline double threadSeconds() {
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// The whole process's CPU time in seconds (every thread): for work that may run threads of its
// own, such as another toolkit's.
inline double processSeconds() {
  timespec ts;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// The median of the samples (the mean of the middle two for an even count); 0 for none.
inline double median(std::vector<double> samples) {
  if (samples.empty()) return 0;
  const size_t mid = samples.size() / 2;
  std::nth_element(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(mid), samples.end());
  const double upper = samples[mid];
  if (samples.size() % 2) return upper;
  return (*std::max_element(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(mid)) + upper) / 2;
}

// Runs `ours` and `baseline` alternately, `batch` calls each per iteration, and reports the
// counter `name` = baseline time / our time (1.0 is parity, higher means we are faster), and
// "us_per_call", the CPU time of one call of ours in microseconds.
template <class Ours, class Baseline>
void alternate(benchmark::State& state, size_t batch, Ours&& ours, Baseline&& baseline,
               const char* name = "ratio") {
  double mine = 0, theirs = 0;
  for (auto _ : state) {
    const double t0 = threadSeconds();
    for (size_t i = 0; i < batch; ++i) ours();
    const double t1 = threadSeconds();
    for (size_t i = 0; i < batch; ++i) baseline();
    const double t2 = threadSeconds();
    mine += t1 - t0;
    theirs += t2 - t1;
  }
  state.counters[name] = mine > 0 ? theirs / mine : 0;
  const double calls = static_cast<double>(state.iterations()) * static_cast<double>(batch);
  state.counters["us_per_call"] = calls > 0 ? mine * 1e6 / calls : 0;
}

}  // namespace zxp::bench
