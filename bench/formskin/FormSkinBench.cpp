// The form skin: the title strip's full repaint (RedrawMe without the form gradient) at 800 and
// 1600 pixels wide beside one FillRect of the same area on the same surface ("x_fill" = fill
// time / repaint time, thread CPU time; "us_per_call" = one repaint), and moving the skinned form
// by 100 one-pixel steps with SetWindowPos, each step moving the frame pieces and the shadow
// strips with it ("us_per_step", thread CPU time per step).
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchClock.h"
#include "formskin/ZorvaForm.h"
#include "library/ClassTable.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/host/Form.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Screen.h"

namespace {

using namespace zxp;

template <class Body>
void withSkinnedForm(int w, int h, Body&& body) {
  ui::resetWindowSystem();
  ui::setScreenSize(Size{w + 200, h + 200});
  {
    host::FormOptions o;
    o.borderStyle = 0;
    o.screenPos = {50, 50};
    o.classes = &library::classes();
    o.clientWidth = pixelsToTwips(w);
    o.clientHeight = pixelsToTwips(h);
    host::Form form(o);
    host::ExtenderRecord r;
    r.width = pixelsToTwips(w);
    r.height = pixelsToTwips(45);
    auto& skin = form.add(library::classes(), "ZorvaForm", "Skin", r).as<formskin::ZorvaForm>();
    body(form, skin);
  }
  ui::resetWindowSystem();
}

void BM_FormSkinTitleStrip(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0));
  withSkinnedForm(w, 300, [&](host::Form&, formskin::ZorvaForm& skin) {
    skin.setFormGradient(false);
    const HDC dc = skin.surface().hDC();
    const int h = skin.surface().ScaleHeight();
    GdiObject brush(CreateSolidBrush(RGB(10, 20, 30)));
    const RECT area{0, 0, w, h};
    bench::alternate(state, 8, [&] { skin.RedrawMe(); },
                     [&] { FillRect(dc, &area, static_cast<HBRUSH>(brush.get())); }, "x_fill");
  });
}

void BM_FormSkinMove(benchmark::State& state) {
  withSkinnedForm(600, 400, [&](host::Form& form, formskin::ZorvaForm&) {
    const HWND h = form.hWnd();
    double seconds = 0;
    int64_t steps = 0;
    for (auto _ : state) {
      const double t0 = bench::threadSeconds();
      for (int i = 0; i < 100; ++i)
        SetWindowPos(h, 0, 50 + (i & 1 ? 100 - i : i), 50 + i / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      seconds += bench::threadSeconds() - t0;
      steps += 100;
    }
    state.counters["us_per_step"] = seconds * 1e6 / static_cast<double>(steps);
  });
}

BENCHMARK(BM_FormSkinTitleStrip)->Arg(800)->Arg(1600);
BENCHMARK(BM_FormSkinMove);

}  // namespace
