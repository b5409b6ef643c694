// The message path: messages per second through a window whose procedure is subclassed three
// deep (each layer passes the message on with CallWindowProc), beside a plain call of the same
// procedure chain as the baseline, and the posted-message round trip through the queue.
#include <benchmark/benchmark.h>

#include "platform/ui/EventLoop.h"
#include "platform/ui/User.h"

namespace zxp {
namespace {

WNDPROC prev[3];
LRESULT counter = 0;

LRESULT baseProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER) return counter += static_cast<LRESULT>(w);
  return DefWindowProcA(h, m, w, l);
}
template <int N>
LRESULT layer(HWND h, UINT m, WPARAM w, LPARAM l) {
  return CallWindowProcA(prev[N], h, m, w, l);
}

HWND makeSubclassedWindow() {
  ui::resetWindowSystem();
  WNDCLASSA wc;
  wc.lpfnWndProc = baseProc;
  wc.lpszClassName = "BenchWindow";
  RegisterClassA(&wc);
  HWND h = CreateWindowExA(0, "BenchWindow", "", WS_POPUP, 0, 0, 10, 10, 0, 0, 0, nullptr);
  prev[0] = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(layer<0>)));
  prev[1] = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(layer<1>)));
  prev[2] = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(layer<2>)));
  return h;
}

// Baseline: the same three layers and procedure called directly, without the window manager.
void BM_DirectCallThreeLayers(benchmark::State& state) {
  HWND h = makeSubclassedWindow();
  WNDPROC top = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(h, GWL_WNDPROC));
  WPARAM i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(top(h, WM_USER, ++i, 0));
  state.counters["msgs/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  ui::resetWindowSystem();
}
BENCHMARK(BM_DirectCallThreeLayers);

// SendMessage: handle lookup, the window kept alive during the call, the hook checks, 3 layers.
void BM_SendMessageThreeDeepSubclass(benchmark::State& state) {
  HWND h = makeSubclassedWindow();
  WPARAM i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(SendMessageA(h, WM_USER, ++i, 0));
  state.counters["msgs/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  ui::resetWindowSystem();
}
BENCHMARK(BM_SendMessageThreeDeepSubclass);

// PostMessage and the loop's dispatch of it (queue, hooks, translate, dispatch), 64 at a time.
void BM_PostAndDispatchThreeDeepSubclass(benchmark::State& state) {
  HWND h = makeSubclassedWindow();
  ui::eventLoop().processPendingEvents();
  for (auto _ : state) {
    for (int k = 0; k < 64; ++k) PostMessageA(h, WM_USER, 1, 0);
    ui::eventLoop().processPendingEvents();
  }
  state.counters["msgs/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * 64, benchmark::Counter::kIsRate);
  ui::resetWindowSystem();
}
BENCHMARK(BM_PostAndDispatchThreeDeepSubclass);

}  // namespace
}  // namespace zxp
