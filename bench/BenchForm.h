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

// A form file of `count` controls of eight kinds (push button, check box, option button, label,
// progress bar, horizontal scroll bar, text box, spin), in rows of ten cells of 120 x 40 pixels,
// each control 110 x 23; the form is sized for 200 of them whatever the count.
inline std::string mixedForm(int count = 200, const std::string& name = "Mixed") {
  static const char* const kinds[] = {"ZorvaXPButton",  "ZorvaXPCheckBox",    "ZorvaXPOptionButton",
                                      "ZorvaXPLabel",   "ZorvaXPProgressBar", "ZorvaXPHScrollBar",
                                      "ZorvaXPTextBox", "ZorvaXPSpin"};
  std::string text = "ZorvaXP Form 1\nBegin Form " + name + "\n  Caption = String \"" + name +
                     "\"\n  ClientWidth = Long 18300\n  ClientHeight = Long 12300\n";
  for (int i = 0; i < count; ++i) {
    const char* kind = kinds[i % 8];
    const int left = (i % 10) * 1800, top = (i / 10) * 600;
    text += std::string("  Begin ") + kind + " Control" + std::to_string(i) + "\n    @Left = " +
            std::to_string(left) + "\n    @Top = " + std::to_string(top) +
            "\n    @Width = 1650\n    @Height = 345\n  End\n";
  }
  return text + "End\n";
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
