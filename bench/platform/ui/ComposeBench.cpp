// Screen composition and the cost of a whole form, on a 1280 x 800 screen.
//
//   BM_Compose_Hover               a form of 200 push buttons (75 x 23, ten columns); the cursor
//                                  enters one button (input, hover redraw, compose) and leaves it
//                                  for the form (input, hover timer tick, resting redraw,
//                                  compose); "blits_per_hover" = one such change / one BitBlt of
//                                  the button's 75 x 23 pixels between memory DCs, same run; each
//                                  iteration times 64 changes and 512 blits
//   BM_Compose_FullScreen          the same form composed from scratch (as after a window moved)
//                                  beside a memcpy of the screen's bytes: "x_memcpy" = memcpy
//                                  time / compose time
//   BM_Form_FirstPaint_Mixed       a form file of 200 mixed controls: parse, create, the pending
//                                  paints and one composed screen; "us_per_control"
//   BM_Surface_PackFormPictures    the window pictures that form's first paint leaves (those of
//                                  their own, copied out) packed one after another:
//                                  "us_per_picture" (one pack) and "packed_per_raw" (packed
//                                  bytes / their pixels' bytes)
//   BM_Form_MemoryPerControl/N     heap bytes one 75 x 23 push button adds to a form of the
//                                  same size, painted: "bytes_per_control", and
//                                  "beyond_pixels" (less its 6 900 bytes of pixels)
// All times are thread CPU time (bench/BenchClock.h): the machine is shared.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchForm.h"
#include "library/ClassTable.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/host/Form.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TestInput.h"
#include "platform/ui/Window.h"

namespace {

using namespace zxp;

constexpr int kButtonW = 75, kButtonH = 23;

// A form of `n` push buttons of 75 x 23 pixels in rows of ten, touching, on a form sized for
// `room` buttons (by default n).
std::string buttonForm(int n, int room = -1) {
  if (room < 0) room = n;
  std::string text = "ZorvaXP Form 1\nBegin Form Bench\n  Caption = String \"Bench\"\n  ClientWidth = Long " +
                     std::to_string(10 * kButtonW * 15 + 300) + "\n  ClientHeight = Long " +
                     std::to_string((room + 9) / 10 * kButtonH * 15 + 300) + "\n";
  for (int i = 0; i < n; ++i) {
    const int left = (i % 10) * kButtonW * 15, top = (i / 10) * kButtonH * 15;
    text += "  Begin ZorvaXPButton Button" + std::to_string(i) + "\n    @Left = " + std::to_string(left) +
            "\n    @Top = " + std::to_string(top) + "\n    @Width = " + std::to_string(kButtonW * 15) +
            "\n    @Height = " + std::to_string(kButtonH * 15) + "\n    Caption = String \"Button " +
            std::to_string(i) + "\"\n  End\n";
  }
  return text + "End\n";
}

struct ScreenOf1280 {
  ScreenOf1280() {
    ui::resetWindowSystem();
    ui::setScreenSize(Size{1280, 800});
  }
  ~ScreenOf1280() { ui::resetWindowSystem(); }
};

// `count` changes, alternately onto the button and off it onto the form at `away`. Kept out of
// line so that a profiler can collect the changes alone (callgrind --toggle-collect).
[[gnu::noinline]] void hoverChanges(ui::TestInput& in, HWND button, HWND form, Point away, int count, bool& inside) {
  for (int c = 0; c < count; ++c) {
    if (!inside) {
      in.moveTo(button, Point{kButtonW / 2, kButtonH / 2}).pump();
    } else {
      in.moveTo(form, away).advance(10);
    }
    inside = !inside;
    benchmark::DoNotOptimize(ui::composeScreen());
  }
}

void BM_Compose_Hover(benchmark::State& state) {
  ScreenOf1280 screen;
  auto form = host::Form::load(buttonForm(200), library::classes());
  ui::eventLoop().processPendingEvents();
  ui::composeScreen();
  const HWND button = form->control("Button55")->object().hWnd();
  ui::TestInput in;
  const HWND formWindow = form->hWnd();
  RECT client;
  GetClientRect(formWindow, &client);
  in.moveTo(formWindow, Point{client.right - 5, client.bottom - 5}).advance(20);
  ui::composeScreen();

  // The baseline: the button's rectangle copied between two memory DCs.
  GdiObject srcBitmap(CreateCompatibleBitmap(0, kButtonW, kButtonH)), dstBitmap(CreateCompatibleBitmap(0, kButtonW, kButtonH));
  const HDC src = CreateCompatibleDC(0), dst = CreateCompatibleDC(0);
  Selection s1(src, srcBitmap.get()), s2(dst, dstBitmap.get());

  // Both sides are timed in batches: reading the thread's CPU clock is a system call that costs
  // several blits by itself, and would otherwise be counted as part of each change.
  bool inside = false;
  double mine = 0, blits = 0;
  constexpr int kChanges = 64, kBlits = 512;
  for (auto _ : state) {
    const double t0 = bench::threadSeconds();
    hoverChanges(in, button, formWindow, Point{client.right - 5, client.bottom - 5}, kChanges, inside);
    const double t1 = bench::threadSeconds();
    for (int i = 0; i < kBlits; ++i) BitBlt(dst, 0, 0, kButtonW, kButtonH, src, 0, 0, SRCCOPY);
    const double t2 = bench::threadSeconds();
    mine += (t1 - t0) / kChanges;
    blits += (t2 - t1) / kBlits;
  }
  DeleteDC(src);
  DeleteDC(dst);
  state.counters["blits_per_hover"] = blits > 0 ? mine / blits : 0;
  state.counters["us_per_hover"] = mine * 1e6 / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Compose_Hover);

void BM_Compose_FullScreen(benchmark::State& state) {
  ScreenOf1280 screen;
  auto form = host::Form::load(buttonForm(200), library::classes());
  ui::eventLoop().processPendingEvents();
  std::vector<uint32_t> a(1280 * 800, 1), b(1280 * 800);
  bench::alternate(state, 1,
                   [&] {
                     ui::screenChanged();
                     benchmark::DoNotOptimize(ui::composeScreen());
                   },
                   [&] {
                     std::memcpy(b.data(), a.data(), a.size() * sizeof(uint32_t));
                     benchmark::DoNotOptimize(b.data());
                   },
                   "x_memcpy");
}
BENCHMARK(BM_Compose_FullScreen);

void BM_Form_FirstPaint_Mixed(benchmark::State& state) {
  ScreenOf1280 screen;
  const std::string text = bench::mixedForm();
  double mine = 0;
  for (auto _ : state) {
    const double t0 = bench::threadSeconds();
    auto form = host::Form::load(text, library::classes());
    ui::eventLoop().processPendingEvents();
    benchmark::DoNotOptimize(ui::composeScreen());
    mine += bench::threadSeconds() - t0;
    form.reset();
  }
  state.counters["us_per_control"] = mine * 1e6 / static_cast<double>(state.iterations()) / 200;
}
BENCHMARK(BM_Form_FirstPaint_Mixed)->Unit(benchmark::kMillisecond);

void BM_Surface_PackFormPictures(benchmark::State& state) {
  ScreenOf1280 screen;
  std::vector<std::shared_ptr<gfx::Surface>> pictures;
  {
    auto form = host::Form::load(bench::mixedForm(), library::classes());
    ui::eventLoop().processPendingEvents();
    ui::composeScreen();
    ui::forEachInTree(&ui::desktop(), [&](ui::Window* w) {
      const gfx::Surface* s = w->surface.get();
      if (!s || s->showsShared() || s->width() * s->height() > (1 << 18)) return;
      auto copy = gfx::Surface::create(s->width(), s->height());
      for (int y = 0; y < s->height(); ++y) s->readRow(y, 0, s->width(), copy->row(y));
      copy->setPackable();
      pictures.push_back(std::move(copy));
    });
  }
  double raw = 0, packed = 0, spent = 0;
  for (auto _ : state) {
    for (auto& p : pictures) benchmark::DoNotOptimize(p->row(0));  // unpacked again, untimed
    const double t0 = bench::threadSeconds();
    for (auto& p : pictures) p->pack();
    spent += bench::threadSeconds() - t0;
  }
  for (auto& p : pictures) {
    raw += static_cast<double>(p->width() * p->height()) * sizeof(uint32_t);
    packed += static_cast<double>(p->pictureBytes());
  }
  state.counters["pictures"] = static_cast<double>(pictures.size());
  state.counters["us_per_picture"] =
      spent * 1e6 / static_cast<double>(state.iterations()) / static_cast<double>(pictures.size());
  state.counters["packed_per_raw"] = packed / raw;
}
BENCHMARK(BM_Surface_PackFormPictures)->Unit(benchmark::kMillisecond);

// Heap in use, from the allocator's own count.
size_t heapInUse() { return mallinfo2().uordblks; }

void BM_Form_MemoryPerControl(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  ScreenOf1280 screen;
  // The form of the same size without its buttons is measured first and taken off, so that
  // neither the form's own share (its window's pixels grow with its size) nor lazily made
  // caches (fonts, glyphs) are counted.
  const std::string empty = buttonForm(0, n), full = buttonForm(n);
  auto heapOfForm = [](const std::string& text) {
    const size_t before = heapInUse();
    auto form = host::Form::load(text, library::classes());
    ui::eventLoop().processPendingEvents();
    ui::composeScreen();
    const size_t after = heapInUse();
    form.reset();
    ui::composeScreen();
    return static_cast<double>(after) - static_cast<double>(before);
  };
  double perControl = 0;
  for (auto _ : state) {
    heapOfForm(buttonForm(10));  // warms the caches
    const double bare = heapOfForm(empty);
    perControl = (heapOfForm(full) - bare) / n;
  }
  state.counters["bytes_per_control"] = perControl;
  state.counters["beyond_pixels"] = perControl - kButtonW * kButtonH * 4;
}
BENCHMARK(BM_Form_MemoryPerControl)->Arg(200)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
