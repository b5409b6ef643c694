// How rendering a form file grows with what one control holds, timed through the renderer's own
// path (zorvaxp-render without reading the file and writing the PNG: parse, create, read the
// properties, show, settle, compose the screen, tear down).
//
//   BM_Render_PropertyLines/N   one push button with N property lines (N - 1 of them keys it
//                               does not know, each warned about)
//   BM_Render_TabChildren/N     a tab control whose first tab lists N children
//   BM_Render_Caption/K/MB      a caption (a text box's Text) of MB megabytes of words on
//                               control kind K: 0 label, 1 label with AutoSize, 2 push button,
//                               3 text box, 4 multi-line text box
//   BM_Render_CaptionText/T/K   the same at 64 MB for the kinds K 0 to 4, with text T other
//                               than plain words: 1 Chinese words (three bytes a character),
//                               2 access-key prefixes ("&&" and "&x" everywhere), 3 short lines
//                               (a line break every five bytes)
//
// "per_line" is the time for one property line: a lookup that scans the keys per line makes it
// grow with N, linear work keeps it the same at 1 000 and 100 000 lines.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "library/ClassTable.h"
#include "render/Render.h"

namespace {

using namespace zxp;

constexpr const char* kHead = "ZorvaXP Form 1\nBegin Form Bench\n  ClientWidth = Long 6000\n  ClientHeight = Long 3000\n";

const std::string& propertyLinesForm(int lines) {
  static std::map<int, std::string> cache;
  std::string& text = cache[lines];
  if (text.empty()) {
    text = std::string(kHead) +
           "  Begin ZorvaXPButton Button1\n    @Left = 150\n    @Top = 150\n    @Width = 1500\n    @Height = 450\n"
           "    Caption = String \"Lines\"\n";
    for (int i = 1; i < lines; ++i) text += "    Extra" + std::to_string(i) + " = Long " + std::to_string(i) + "\n";
    text += "  End\nEnd\n";
  }
  return text;
}

const std::string& tabChildrenForm(int children) {
  static std::map<int, std::string> cache;
  std::string& text = cache[children];
  if (text.empty()) {
    text = std::string(kHead) +
           "  Begin ZorvaXPHookTab Tabs1\n    @Left = 150\n    @Top = 150\n    @Width = 4500\n    @Height = 2250\n"
           "    TabsCount = Long 2\n    TabCtlCount1 = Long " +
           std::to_string(children) + "\n";
    for (int i = 1; i <= children; ++i)
      text += "    TabCtlOf1ID" + std::to_string(i) + " = String \"Child" + std::to_string(i) + "\"\n";
    text += "  End\nEnd\n";
  }
  return text;
}

const std::string& captionForm(int kind, int megabytes, int shape = 0) {
  static std::map<std::tuple<int, int, int>, std::string> cache;
  std::string& text = cache[{kind, megabytes, shape}];
  if (text.empty()) {
    static const char* const kControls[] = {
        "ZorvaXPLabel Label1\n    @Width = 2250\n    @Height = 450\n    Caption = String \"",
        "ZorvaXPLabel Label1\n    @Width = 2250\n    @Height = 450\n    AutoSize = Boolean True\n    Caption = String \"",
        "ZorvaXPButton Button1\n    @Width = 1500\n    @Height = 450\n    Caption = String \"",
        "ZorvaXPTextBox Text1\n    @Width = 2250\n    @Height = 450\n    Text = String \"",
        "ZorvaXPTextBox Text1\n    @Width = 2250\n    @Height = 1200\n    MultiLine = Boolean True\n    Text = String \"",
    };
    static const char* const kShapes[] = {
        "Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor. ",
        "\u4e2d\u6587\u7684\u6587\u5b57 \u8fd9\u662f\u4e00\u4e2a\u6807\u7b7e\u3002 ",
        "&&Lorem &ipsum &dolor && sit &amet, ",
        "Lor\\r\\n",  // the form file's escapes for CR LF
    };
    text = std::string(kHead) + "  Begin " + kControls[kind];
    const std::string words = kShapes[shape];
    const size_t size = static_cast<size_t>(megabytes) << 20;
    text.reserve(text.size() + size + 64);
    for (size_t n = 0; n < size; n += words.size()) text += words;
    text += "\"\n  End\nEnd\n";
  }
  return text;
}

void render(benchmark::State& state, const std::string& text) {
  const auto& registry = library::classes();
  std::vector<std::string> warnings;
  for (auto _ : state) {
    warnings.clear();
    benchmark::DoNotOptimize(render::renderForm(text, render::RenderRequest{}, registry, "bench", &warnings));
  }
  state.counters["warnings"] = static_cast<double>(warnings.size());
}

void perLine(benchmark::State& state) {
  state.counters["per_line"] = benchmark::Counter(static_cast<double>(state.range(0)),
                                                  benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Render_PropertyLines(benchmark::State& state) {
  render(state, propertyLinesForm(static_cast<int>(state.range(0))));
  perLine(state);
}
BENCHMARK(BM_Render_PropertyLines)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_Render_TabChildren(benchmark::State& state) {
  render(state, tabChildrenForm(static_cast<int>(state.range(0))));
  perLine(state);
}
BENCHMARK(BM_Render_TabChildren)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_Render_Caption(benchmark::State& state) {
  render(state, captionForm(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))));
}
BENCHMARK(BM_Render_Caption)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {4, 64}})
    ->ArgNames({"kind", "MB"})
    ->Unit(benchmark::kMillisecond);

void BM_Render_CaptionText(benchmark::State& state) {
  render(state, captionForm(static_cast<int>(state.range(1)), 64, static_cast<int>(state.range(0))));
}
BENCHMARK(BM_Render_CaptionText)
    ->ArgsProduct({{1, 2, 3}, {0, 1, 2, 3, 4}})
    ->ArgNames({"text", "kind"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
