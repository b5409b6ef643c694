// The tab control and the image list: the tab control's full redraw (RedrawMe) at a small and a
// large size beside one FillRect of the same area ("x_fill" = fill time / redraw time); a tab
// switch on a tab control holding 200 children over four tabs (per switch, beside the same
// fill of its area); adding 1 000 icons to an image list (per icon) beside a bare DrawIconEx of
// the same icon at the same size ("x_drawiconex" = DrawIconEx time / add time). All in thread
// CPU time.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "BenchClock.h"
#include "BenchForm.h"
#include "bars/ZorvaXPHookTab.h"
#include "bars/ZorvaXpImageList.h"
#include "buttons/ZorvaXPButton.h"
#include "library/ClassTable.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/Surface.h"
#include "platform/host/Form.h"
#include "platform/ui/EventLoop.h"

namespace {

using namespace zxp;

host::FormOptions formFor(int w, int h) {
  host::FormOptions o;
  o.clientWidth = pixelsToTwips(w + 40);
  o.clientHeight = pixelsToTwips(h + 40);
  o.classes = &library::classes();
  return o;
}

host::PictureRef icon16() {
  auto s = gfx::Surface::create(16, 16);
  s->fill(0xFF3366CCu);
  s->fillRect(Rect{0, 0, 8, 8}, 0);
  return gfx::Picture::fromIcon(gfx::createIconFromArgb(*s));
}

// Four tabs, icons on two of them and a picture blended into the first tab's body.
void BM_HookTabRedrawMe(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  ui::resetWindowSystem();
  {
    host::Form form(formFor(w, h));
    auto& t = form.add(library::classes(), "ZorvaXPHookTab", "tab", host::ExtenderRecord::inPixels(10, 10, w, h)).as<bars::ZorvaXPHookTab>();
    t.AddTab("Fourth");
    t.setTabIcon(1, icon16());
    t.setTabIcon(3, icon16());
    auto pic = gfx::Surface::create(w / 2, h / 2);
    pic->fill(0x00808040);
    t.setTabPicture(1, gfx::Picture::fromBitmap(gfx::CreateBitmapForSurface(pic)));
    const HDC dc = t.surface().hDC();
    GdiObject brush(CreateSolidBrush(RGB(10, 20, 30)));
    const RECT area{0, 0, w, h};
    bench::alternate(state, 8, [&] { t.RedrawMe(); }, [&] { FillRect(dc, &area, static_cast<HBRUSH>(brush.get())); },
                     "x_fill");
  }
  ui::resetWindowSystem();
}

// One switch between tab 1 and tab 2 of four, with 50 buttons on each tab.
void BM_HookTabSwitch200Children(benchmark::State& state) {
  ui::resetWindowSystem();
  {
    const int w = 600, h = 500;
    host::Form form(formFor(w, h));
    auto& t = form.add(library::classes(), "ZorvaXPHookTab", "tab", host::ExtenderRecord::inPixels(10, 10, w, h)).as<bars::ZorvaXPHookTab>();
    t.AddTab("Fourth");
    host::Extender* box = form.control("tab");
    for (int tab = 1; tab <= 4; ++tab) {
      t.setSelectedTab(tab);
      for (int i = 0; i < 50; ++i)
        form.add(std::make_unique<buttons::ZorvaXPButton>(), "Button" + std::to_string(tab * 100 + i),
                 host::ExtenderRecord::inPixels(10 + (i % 5) * 110, 40 + (i / 5) * 44, 100, 40), box);
    }
    const HDC dc = t.surface().hDC();
    GdiObject brush(CreateSolidBrush(RGB(10, 20, 30)));
    const RECT area{0, 0, w, h};
    int32_t next = 1;
    bench::alternate(
        state, 4,
        [&] {
          t.setSelectedTab(next);
          next = next == 1 ? 2 : 1;
        },
        [&] { FillRect(dc, &area, static_cast<HBRUSH>(brush.get())); }, "x_fill");
    if (t.tabControls(3).size() != 50) state.SkipWithError("tab 3 lost its children");
  }
  ui::resetWindowSystem();
}

// 1 000 icons added to a 32-pixel list (emptied between rounds, untimed), beside 1 000 bare
// DrawIconEx calls of the same icon at 32 x 32 onto a surface of that size.
void BM_ImageListAdd1000Icons(benchmark::State& state) {
  ui::resetWindowSystem();
  {
    host::Form form(formFor(100, 100));
    auto& il = form.add(library::classes(), "ZorvaXpImageList", "il", host::ExtenderRecord::inPixels(0, 0, 45, 55)).as<bars::ZorvaXpImageList>();
    il.setIconSize(bars::IconSize::Icon32);
    const host::PictureRef icon = icon16();
    const HICON h = static_cast<HICON>(icon.Handle());
    MemoryDC dc(0);
    GdiObject target(gfx::CreateBitmapForSurface(gfx::Surface::create(32, 32)));
    Selection sel(dc.get(), target.get());
    double mine = 0, bare = 0;
    for (auto _ : state) {
      il.ClearAll();
      const double t0 = bench::threadSeconds();
      for (int i = 0; i < 1000; ++i) il.AddNewIconFromHandel(static_cast<int32_t>(h));
      const double t1 = bench::threadSeconds();
      for (int i = 0; i < 1000; ++i) DrawIconEx(dc.get(), 0, 0, h, 32, 32, 0, 0, DI_NORMAL);
      const double t2 = bench::threadSeconds();
      mine += t1 - t0;
      bare += t2 - t1;
    }
    const double icons = static_cast<double>(state.iterations()) * 1000;
    state.counters["us_per_icon"] = mine * 1e6 / icons;
    state.counters["us_per_drawiconex"] = bare * 1e6 / icons;
    state.counters["x_drawiconex"] = mine > 0 ? bare / mine : 0;
    if (il.ImageCount() != 1000) state.SkipWithError("icons were not added");
  }
  ui::resetWindowSystem();
}

BENCHMARK(BM_HookTabRedrawMe)->Args({200, 120})->Args({800, 600});
BENCHMARK(BM_HookTabSwitch200Children);
BENCHMARK(BM_ImageListAdd1000Icons)->Unit(benchmark::kMillisecond);

}  // namespace
