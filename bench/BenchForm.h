// A control on a form of its own for benchmarks: a fresh window system, a form a little larger
// than the control, the control created new at w x h pixels; the system is reset afterwards.
#pragma once

#include <memory>
#include <string>

#include "BenchClock.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/host/Form.h"
#include "platform/ui/EventLoop.h"

namespace zxp::bench {

template <class T, class Body>
void withControl(int w, int h, Body&& body, const std::string& name = "ctl") {
  ui::resetWindowSystem();
  {
    host::FormOptions o;
    o.clientWidth = pixelsToTwips(w + 40);
    o.clientHeight = pixelsToTwips(h + 40);
    host::Form form(o);
    body(form.add(std::make_unique<T>(), name, host::ExtenderRecord::inPixels(10, 10, w, h)).template as<T>());
  }
  ui::resetWindowSystem();
}

// Times the control's full redraw (RedrawMe) against one FillRect of its w x h area on its own
// surface, alternately in the same run: the counters "x_fill" (fill time / redraw time) and
// "us_per_call" (one redraw).
template <class T>
void redrawAgainstFill(benchmark::State& state, T& control, int w, int h) {
  const HDC dc = control.surface().hDC();
  GdiObject brush(CreateSolidBrush(RGB(10, 20, 30)));
  const RECT area{0, 0, w, h};
  alternate(state, 8, [&] { control.RedrawMe(); },
            [&] { FillRect(dc, &area, static_cast<HBRUSH>(brush.get())); }, "x_fill");
}

}  // namespace zxp::bench
