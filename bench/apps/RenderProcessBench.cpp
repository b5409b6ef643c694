// The renderer's whole process: start zorvaxp-render on an example form, let it write its PNG, and
// wait for it. Wall time is the benchmark's time; the child's CPU time (user + system, from wait4)
// is the counter cpu_ms, which is the figure we compare with other toolkits. ZXP_RENDER_BIN in the
// environment runs another build of the renderer (for before/after figures in one run).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchProcess.h"

namespace {

using namespace zxp;

void BM_RenderProcess_FormToPng(benchmark::State& state) {
  const char* override = std::getenv("ZXP_RENDER_BIN");
  const std::string bin = override && *override ? override : ZXP_RENDER_BIN;
  const std::string form = std::string(ZXP_EXAMPLES_DIR) + "/buttons.zxf";
  const std::string out = "/tmp/zxp-bench-render-" + std::to_string(getpid()) + ".png";
  double cpu = 0;
  for (auto _ : state) {
    const bench::ChildCost c = bench::runChild(bin, {form, "--out", out});
    if (!c.ok) {
      state.SkipWithError(("the renderer failed: " + bin).c_str());
      break;
    }
    state.SetIterationTime(c.wallSeconds);
    cpu += c.cpuSeconds;
  }
  std::remove(out.c_str());
  state.counters["cpu_ms"] = benchmark::Counter(cpu * 1000, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RenderProcess_FormToPng)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);

}  // namespace
