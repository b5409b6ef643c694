// Typing 10 000 characters one by one into a multi-line edit field (300 x 200 pixels, Tahoma
// 8.25, word wrap), each one re-wrapped at once; reported per character. The field re-lays out
// only the lines the character touches, so the cost per character stays flat as the text grows.
//
//   BM_Edit_Type10k/at_end:0/paint:0   characters appended at the caret, layout only
//   BM_Edit_Type10k/at_end:0/paint:1   the same with the field repainted after every character
//   BM_Edit_Type10k/at_end:1/...       every character inserted at the start of the text (the
//                                      lines after it shift: the linear part of the cost)
//   BM_Baseline_LayoutFromScratch      the yardstick: laying the whole text out again after each
//                                      character, which is what a non-incremental field would do
#include <benchmark/benchmark.h>

#include <string>

#include "platform/gfx/FontEngine.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/ui/Edit.h"
#include "platform/ui/EditLayout.h"
#include "platform/ui/EventLoop.h"

namespace {

using namespace zxp;

constexpr int kChars = 10000;

// Words of varied length with a paragraph break every 400 characters or so.
std::string sampleText() {
  static const char* words[] = {"edit", "fields", "wrap", "their", "text", "at", "word", "boundaries", "as", "you", "type"};
  std::string s;
  for (int i = 0; static_cast<int>(s.size()) < kChars; ++i) {
    s += words[i % 11];
    s += (i % 60 == 59) ? '\r' : ' ';
  }
  s.resize(kChars);
  return s;
}

void BM_Edit_Type10k(benchmark::State& state) {
  const bool atStart = state.range(0) != 0, paint = state.range(1) != 0;
  const std::string text = sampleText();
  gfx::FontDesc d;
  d.name = "Tahoma";
  GdiObject font(d.create());
  for (auto _ : state) {
    state.PauseTiming();
    ui::resetWindowSystem();
    HWND edit = CreateWindowExA(0, WC_EDITA, "", WS_POPUP | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 300, 200,
                                0, 0, 0, nullptr);
    SendMessageA(edit, WM_SETFONT, font.get(), FALSE);
    SendMessageA(edit, EM_LIMITTEXT, 0, 0);
    SetFocus(edit);
    state.ResumeTiming();
    for (char c : text) {
      if (atStart) SendMessageA(edit, EM_SETSEL, 0, 0);
      SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);  // '\r' is Enter: CR LF
      if (paint) UpdateWindow(edit);
    }
    state.PauseTiming();
    benchmark::DoNotOptimize(SendMessageA(edit, EM_GETLINECOUNT, 0, 0));
    DestroyWindow(edit);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kChars);
}
BENCHMARK(BM_Edit_Type10k)->ArgNames({"at_end", "paint"})->Args({0, 0})->Args({0, 1})->Args({1, 0})->Unit(benchmark::kMillisecond);

void BM_Baseline_LayoutFromScratch(benchmark::State& state) {
  const std::string text = sampleText();
  LOGFONT lf = [] { gfx::FontDesc d; d.name = "Tahoma"; return d.toLogFont(); }();
  auto inst = gfx::realizeFont(lf);
  ui::EditLayout layout;
  ui::EditLayout::Params p;
  p.wrap = true;
  p.width = 298;
  p.advance = [inst](char32_t c) { return inst->advance(c); };
  layout.setParams(p);
  for (auto _ : state) {
    std::u32string typed;
    for (char c : text) {
      if (c == '\r') typed += U"\r\n";
      else typed += static_cast<char32_t>(c);
      layout.rebuild(typed);
    }
    benchmark::DoNotOptimize(layout.lineCount());
  }
  state.SetItemsProcessed(state.iterations() * kChars);
}
BENCHMARK(BM_Baseline_LayoutFromScratch)->Unit(benchmark::kMillisecond);

}  // namespace
