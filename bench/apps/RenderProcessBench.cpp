// The renderer's whole process: start zorvaxp-render on an example form, let it write its PNG, and
// wait for it. Wall time is the benchmark's time; the child's CPU time (user + system, from wait4)
// is the counter cpu_ms, which is the figure we compare with other toolkits. ZXP_RENDER_BIN in the
// environment runs another build of the renderer (for before/after figures in one run).
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct ChildCost {
  double wallSeconds = 0;
  double cpuSeconds = 0;
  bool ok = false;
};

ChildCost runOnce(const std::string& bin, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(bin.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  ChildCost cost;
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, bin.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return cost;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return cost;
  cost.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  cost.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  cost.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return cost;
}

void BM_RenderProcess_FormToPng(benchmark::State& state) {
  const char* override = std::getenv("ZXP_RENDER_BIN");
  const std::string bin = override && *override ? override : ZXP_RENDER_BIN;
  const std::string form = std::string(ZXP_EXAMPLES_DIR) + "/buttons.zxf";
  const std::string out = "/tmp/zxp-bench-render-" + std::to_string(getpid()) + ".png";
  double cpu = 0;
  for (auto _ : state) {
    const ChildCost c = runOnce(bin, {form, "--out", out});
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
