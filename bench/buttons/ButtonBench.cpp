// A full push-button redraw (RedrawMe: clear, cut the window shape, face, border, caption) at a
// toolbar size and at a large size, in both styles. The counter "x_fill" compares it with one
// FillRect of the same area on the same surface (baseline time / redraw time: the share of a
// redraw that a plain fill would cost), both in thread CPU time; "us_per_call" is one redraw.
// The *_AgainstFillAndCaption pair times the same redraw against its floor in the same run: one
// FillRect of the area plus one DrawText of the button's caption with the button's font and
// flags into the button's own DC; "x_floor" is redraw time / floor time.
// The *_FaceCache pair times the redraw as the button does it (its whole look copied from the
// looks cache when it was drawn last, else its face from the shared face cache) against the
// same redraw with both caches bypassed, everything painted in place, alternately in one run:
// "x_painted" is painted-in-place time / cached time. The plain redraw benchmarks above redraw
// one unchanged button, so they time the copy of its kept look wherever the look fits the
// looks cache.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "BenchForm.h"
#include "buttons/ZorvaXPButton.h"
#include "foundation/FaceCache.h"
#include "platform/gfx/Text.h"

namespace {

using namespace zxp;
using buttons::ZorvaXPButton;

void redraw(benchmark::State& state, buttons::ButtonStyleDType style) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  bench::withControl<ZorvaXPButton>(w, h, [&](ZorvaXPButton& b) {
    b.setButtonStyle(style);
    bench::redrawAgainstFill(state, b, w, h);
  }, "ZorvaXPButton1");
}

// The redraw against a fill of the area plus the caption drawn once, centred as the button
// centres it.
void redrawAgainstFillAndCaption(benchmark::State& state, buttons::ButtonStyleDType style) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  bench::withControl<ZorvaXPButton>(w, h, [&](ZorvaXPButton& b) {
    b.setButtonStyle(style);
    b.RedrawMe();  // the font selected and the caption's glyphs cached, as for the redraws
    const HDC dc = b.surface().hDC();
    const std::string caption = b.Caption();
    GdiObject brush(CreateSolidBrush(RGB(10, 20, 30)));
    const RECT area{0, 0, w, h};
    RECT measured{0, 0, w, h};
    DrawText(dc, caption, &measured, DT_WORDBREAK | DT_WORD_ELLIPSIS | DT_CENTER | DT_CALCRECT);
    const RECT place{0, (h - (measured.bottom - measured.top)) / 2, w, h};
    bench::alternate(state, 8, [&] { b.RedrawMe(); },
                     [&] {
                       FillRect(dc, &area, static_cast<HBRUSH>(brush.get()));
                       SetBkMode(dc, TRANSPARENT);
                       RECT r = place;
                       DrawText(dc, caption, &r, DT_WORDBREAK | DT_WORD_ELLIPSIS | DT_CENTER);
                     },
                     "floor_per_redraw");
    const double ratio = state.counters["floor_per_redraw"];
    state.counters["x_floor"] = ratio > 0 ? 1.0 / ratio : 0;
  }, "ZorvaXPButton1");
}

void BM_ButtonRedrawMe_Vista(benchmark::State& s) { redraw(s, buttons::ButtonStyleDType::Vista); }
void BM_ButtonRedrawMe_XP(benchmark::State& s) { redraw(s, buttons::ButtonStyleDType::XP); }

BENCHMARK(BM_ButtonRedrawMe_Vista)->Args({75, 23})->Args({300, 120});
BENCHMARK(BM_ButtonRedrawMe_XP)->Args({75, 23})->Args({300, 120});

void BM_ButtonRedrawMe_Vista_AgainstFillAndCaption(benchmark::State& s) {
  redrawAgainstFillAndCaption(s, buttons::ButtonStyleDType::Vista);
}
void BM_ButtonRedrawMe_XP_AgainstFillAndCaption(benchmark::State& s) {
  redrawAgainstFillAndCaption(s, buttons::ButtonStyleDType::XP);
}
BENCHMARK(BM_ButtonRedrawMe_Vista_AgainstFillAndCaption)->Args({300, 120});
BENCHMARK(BM_ButtonRedrawMe_XP_AgainstFillAndCaption)->Args({300, 120});

void redrawAgainstPaintedFace(benchmark::State& state, buttons::ButtonStyleDType style) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  auto bypass = [](bool b) {
    foundation::FaceCache::shared().setBypassed(b);
    foundation::FaceCache::looks().setBypassed(b);
  };
  bench::withControl<ZorvaXPButton>(w, h, [&](ZorvaXPButton& b) {
    b.setButtonStyle(style);
    bench::alternate(state, 8, [&] { b.RedrawMe(); },
                     [&] {
                       bypass(true);
                       b.RedrawMe();
                       bypass(false);
                     },
                     "x_painted");
  }, "ZorvaXPButton1");
}

void BM_ButtonRedrawMe_Vista_FaceCache(benchmark::State& s) { redrawAgainstPaintedFace(s, buttons::ButtonStyleDType::Vista); }
void BM_ButtonRedrawMe_XP_FaceCache(benchmark::State& s) { redrawAgainstPaintedFace(s, buttons::ButtonStyleDType::XP); }
BENCHMARK(BM_ButtonRedrawMe_Vista_FaceCache)->Args({75, 23})->Args({300, 120});
BENCHMARK(BM_ButtonRedrawMe_XP_FaceCache)->Args({75, 23})->Args({300, 120});

}  // namespace
