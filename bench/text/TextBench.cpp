// The label and the frame: a full redraw (RedrawMe) at a small and a large size beside one
// FillRect of the same area on the same surface ("x_fill" = fill time / redraw time, both in
// thread CPU time); the transparent label's region build for a 300 x 40 label beside the same
// fill; and a collapse plus expand of a frame holding 50 buttons (two clicks on its chevron),
// per pair in microseconds.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "BenchClock.h"
#include "BenchForm.h"
#include "buttons/ZorvaXPButton.h"
#include "foundation/modRegion.h"
#include "library/ClassTable.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/SysColors.h"
#include "platform/host/Form.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/User.h"
#include "text/ZorvaXPFrame.h"
#include "text/ZorvaXPLabel.h"

namespace {

using namespace zxp;

host::FormOptions formFor(int w, int h) {
  host::FormOptions o;
  o.clientWidth = pixelsToTwips(w + 40);
  o.clientHeight = pixelsToTwips(h + 40);
  o.classes = &library::classes();
  return o;
}

template <class T>
void redraw(benchmark::State& state, void (*setup)(T&)) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  ui::resetWindowSystem();
  {
    host::Form form(formFor(w, h));
    auto& c = form.add(std::make_unique<T>(), "Control1", host::ExtenderRecord::inPixels(10, 10, w, h)).template as<T>();
    setup(c);
    const HDC dc = c.surface().hDC();
    GdiObject brush(CreateSolidBrush(RGB(10, 20, 30)));
    const RECT area{0, 0, w, h};
    bench::alternate(state, 8, [&] { c.RedrawMe(); }, [&] { FillRect(dc, &area, static_cast<HBRUSH>(brush.get())); },
                     "x_fill");
  }
  ui::resetWindowSystem();
}

void BM_LabelRedrawMe(benchmark::State& s) {
  redraw<text::ZorvaXPLabel>(s, [](text::ZorvaXPLabel& l) { l.setCaption("Visit the project page"); });
}
void BM_FrameRedrawMe_Professional(benchmark::State& s) {
  redraw<text::ZorvaXPFrame>(s, [](text::ZorvaXPFrame& f) { f.setDropDownButton(true); });
}
void BM_FrameRedrawMe_Standard(benchmark::State& s) {
  redraw<text::ZorvaXPFrame>(s, [](text::ZorvaXPFrame& f) { f.setAppearance(text::vFrameAppearance::Standard); });
}

// The region a transparent 300 x 40 label keeps: its caption band minus the background pixels.
void BM_LabelTransparentRegion(benchmark::State& state) {
  ui::resetWindowSystem();
  {
    host::Form form(formFor(300, 40));
    auto& l = form.add(std::make_unique<text::ZorvaXPLabel>(), "Label1", host::ExtenderRecord::inPixels(10, 10, 300, 40)).as<text::ZorvaXPLabel>();
    l.setCaption("A transparent label of three hundred pixels");
    l.setBackStyle(text::BackStyle::HBkTransparent);
    const HDC dc = l.surface().hDC();
    const COLORREF key = translateColor(0x8000000F);
    const RECT band{2, 0, 297, 40};
    GdiObject brush(CreateSolidBrush(RGB(10, 20, 30)));
    const RECT area{0, 0, 300, 40};
    bench::alternate(
        state, 8,
        [&] {
          HRGN r = RegionWithoutColor(dc, band, key);
          DeleteObject(r);
        },
        [&] { FillRect(dc, &area, static_cast<HBRUSH>(brush.get())); }, "x_fill");
  }
  ui::resetWindowSystem();
}

// Collapse and expand (two clicks on the chevron) of a frame holding 50 buttons.
void BM_FrameCollapseExpand50(benchmark::State& state) {
  ui::resetWindowSystem();
  {
    host::Form form(formFor(600, 600));
    auto& f = form.add(std::make_unique<text::ZorvaXPFrame>(), "Frame1", host::ExtenderRecord::inPixels(10, 10, 560, 560)).as<text::ZorvaXPFrame>();
    f.setDropDownButton(true);
    for (int i = 0; i < 50; ++i) {
      form.add(std::make_unique<buttons::ZorvaXPButton>(), "Button" + std::to_string(i),
               host::ExtenderRecord::inPixels(10 + (i % 5) * 108, 30 + (i / 5) * 50, 100, 40), form.control("Frame1"));
    }
    const HWND chevron = f.dropDownSurface().hWnd();
    auto click = [&] {
      SendMessageA(chevron, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 2));
      SendMessageA(chevron, WM_LBUTTONUP, 0, MAKELPARAM(4, 2));
    };
    for (auto _ : state) {
      click();
      click();
    }
    if (f.Collapsed()) state.SkipWithError("the frame stayed collapsed");
  }
  ui::resetWindowSystem();
}

BENCHMARK(BM_LabelRedrawMe)->Args({120, 24})->Args({400, 60});
BENCHMARK(BM_FrameRedrawMe_Professional)->Args({200, 150})->Args({600, 400});
BENCHMARK(BM_FrameRedrawMe_Standard)->Args({200, 150})->Args({600, 400});
BENCHMARK(BM_LabelTransparentRegion);
BENCHMARK(BM_FrameCollapseExpand50)->Unit(benchmark::kMicrosecond);

}  // namespace
