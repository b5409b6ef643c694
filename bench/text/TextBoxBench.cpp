// The text box: its full redraw beside a fill of the same area, typing into the multi-line box
// with the scroll bar kept in step beside a bare edit field, and OpenTextFile beside a plain read
// of the same file.
//
//   BM_TextBox_Redraw/160/21/0        single-line RedrawMe against a FillRect ("x_fill")
//   BM_TextBox_Redraw/600/400/1       multi-line with scroll bar and status strip
//   BM_TextBox_Type10k                10 000 characters (a line break every 60 words) typed one
//                                     by one into the 300 x 200 multi-line box, then into a bare
//                                     multi-line EDIT window of the same size in the same run:
//                                     "us_per_char", "bare_us_per_char", "x_bare" (bare / ours)
//   BM_TextBox_OpenTextFile/2         a 2 MB (10 MB) file through OpenTextFile: "MB_per_s", beside
//   BM_TextBox_OpenTextFile/10        "read_MB_per_s" of a plain read of the same file
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchForm.h"
#include "platform/services/FileIo.h"
#include "platform/ui/Edit.h"
#include "buttons/ZorvaTextButton.h"
#include "text/ZorvaXPTextBox.h"

namespace {

using namespace zxp;
using text::ZorvaXPTextBox;

std::string sampleText(size_t chars) {
  static const char* words[] = {"edit", "fields", "wrap", "their", "text", "at", "word", "boundaries", "as", "you", "type"};
  std::string s;
  for (int i = 0; s.size() < chars; ++i) {
    s += words[i % 11];
    s += (i % 60 == 59) ? '\r' : ' ';
  }
  s.resize(chars);
  return s;
}

void BM_TextBox_Redraw(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  const bool multi = state.range(2) != 0;
  bench::withControl<ZorvaXPTextBox>(w, h, [&](ZorvaXPTextBox& t) {
    if (multi) {
      t.setMultiLine(true);
      t.setStatusBar(true);
      t.setRequired(true);
      t.setText(sampleText(3000));
    }
    bench::redrawAgainstFill(state, t, w, h);
  });
}
BENCHMARK(BM_TextBox_Redraw)->Args({160, 21, 0})->Args({600, 400, 1});

// The text box's private button on its own, at its default 23 x 21 and a wide 120 x 40 with a
// caption.
void BM_TextButton_Redraw(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  bench::withControl<buttons::ZorvaTextButton>(w, h, [&](buttons::ZorvaTextButton& b) {
    if (w > 23) b.setCaption("Browse");
    bench::redrawAgainstFill(state, b, w, h);
  });
}
BENCHMARK(BM_TextButton_Redraw)->Args({23, 21})->Args({120, 40});

void BM_TextBox_Type10k(benchmark::State& state) {
  constexpr size_t kChars = 10000;
  const std::string text = sampleText(kChars);
  double ours = 0, bare = 0;
  for (auto _ : state) {
    bench::withControl<ZorvaXPTextBox>(300, 200, [&](ZorvaXPTextBox& t) {
      t.setMultiLine(true);
      t.setMaxLength(0);
      t.setText("");
      const HWND field = t.field();
      SetFocus(field);
      HWND plain = CreateWindowExA(0, WC_EDITA, "", WS_POPUP | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 283, 198,
                                   0, 0, 0, nullptr);
      SendMessageA(plain, WM_SETFONT, SendMessageA(field, WM_GETFONT, 0, 0), FALSE);
      SendMessageA(plain, EM_LIMITTEXT, 0, 0);
      const double t0 = bench::threadSeconds();
      for (char c : text) SendMessageA(field, WM_CHAR, static_cast<unsigned char>(c), 1);
      const double t1 = bench::threadSeconds();
      SetFocus(plain);
      const double t2 = bench::threadSeconds();
      for (char c : text) SendMessageA(plain, WM_CHAR, static_cast<unsigned char>(c), 1);
      const double t3 = bench::threadSeconds();
      ours += t1 - t0;
      bare += t3 - t2;
      benchmark::DoNotOptimize(t.scrollBar() ? t.scrollBar()->Value() : 0);
      DestroyWindow(plain);
    });
  }
  const double chars = static_cast<double>(state.iterations()) * kChars;
  state.counters["us_per_char"] = ours * 1e6 / chars;
  state.counters["bare_us_per_char"] = bare * 1e6 / chars;
  state.counters["x_bare"] = ours > 0 ? bare / ours : 0;
}
BENCHMARK(BM_TextBox_Type10k)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_TextBox_OpenTextFile(benchmark::State& state) {
  const size_t bytes = static_cast<size_t>(state.range(0)) << 20;
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("zxp-textbox-bench-" + std::to_string(::getpid()) + ".txt");
  {
    std::string content;
    content.reserve(bytes);
    const std::string line = "Line of text with an accent \xE9 and the euro \x80 sign, seventy-two bytes long..\r\n";
    while (content.size() < bytes) content += line;
    content.resize(bytes);
    std::ofstream(file, std::ios::binary) << content;
  }
  double opened = 0, read = 0;
  bench::withControl<ZorvaXPTextBox>(300, 200, [&](ZorvaXPTextBox& t) {
    t.setMultiLine(true);
    for (auto _ : state) {
      t.setText("");
      const double t0 = bench::threadSeconds();
      t.OpenTextFile(file.string());
      const double t1 = bench::threadSeconds();
      std::vector<uint8_t> raw;
      benchmark::DoNotOptimize(services::readRegularFile(file.string(), bytes + 1, raw));
      const double t2 = bench::threadSeconds();
      opened += t1 - t0;
      read += t2 - t1;
    }
  });
  std::filesystem::remove(file);
  const double mb = static_cast<double>(state.iterations()) * static_cast<double>(bytes) / (1 << 20);
  state.counters["MB_per_s"] = opened > 0 ? mb / opened : 0;
  state.counters["read_MB_per_s"] = read > 0 ? mb / read : 0;
}
BENCHMARK(BM_TextBox_OpenTextFile)->Arg(2)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
