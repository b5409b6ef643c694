// Loading and saving a form of 200 controls, reported per control.
//
//   BM_FormFile_Parse   text -> records (the parser alone)
//   BM_FormFile_Write   records -> text (the writer alone)
//   BM_Form_Load        text -> a live form: parsing, 200 controls created, sited, their windows
//                       made, ReadProperties run (the form's destruction is not timed)
//   BM_Form_Save        a live form -> text: WriteProperties of each control and the writer
//   BM_Copy_Baseline    copying the same text, for scale
// "per_control" is the time for one control. The controls are the tests' small control
// (tests/support/TestControl.h): a dozen properties of every value type, most not at their
// defaults, and a 16 x 16 icon picture on every tenth control.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "../../../tests/support/TestControl.h"
#include "platform/host/FormFile.h"

namespace {

constexpr int kControls = 200;

const std::string& formText() {
  static const std::string text = [] {
    zxp::host::FormOptions o;
    o.name = "Bench";
    o.clientWidth = 15000;
    o.clientHeight = 12000;
    zxp::host::Form form(o);
    auto argb = zxp::gfx::Surface::create(16, 16);
    argb->fill(0xFF204080u);
    zxp::gfx::Picture icon = zxp::gfx::Picture::fromIcon(zxp::gfx::createIconFromArgb(*argb));
    for (int i = 0; i < kControls; ++i) {
      zxp::host::ExtenderRecord r;
      r.left = (i % 10) * 1500;
      r.top = (i / 10) * 600;
      r.width = 1400;
      r.height = 500;
      auto& c = form.add(std::make_unique<zxp::testing::TestXP>(), "Control" + std::to_string(i), r)
                    .as<zxp::testing::TestXP>();
      c.setCaption("&Caption of control " + std::to_string(i));
      c.setColorNormal(0x00102030u + static_cast<uint32_t>(i));
      c.setHiglightMouseOver(i % 2 == 0);
      c.setStyle(zxp::testing::TestXP::StyleType::Raised);
      c.setRatio(0.25f * static_cast<float>(i));
      c.setScale(1.0 / (i + 3));
      c.setCreated(zxp::host::Date(45000.5 + i));
      c.setSoundOnOver("sounds/over" + std::to_string(i) + ".wav");
      if (i % 10 == 0) c.setPicture(icon);
    }
    return form.save();
  }();
  return text;
}

zxp::host::ClassRegistry& registry() {
  static zxp::host::ClassRegistry r = zxp::testing::testRegistry();
  return r;
}

void perControl(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * kControls);
  state.counters["per_control"] = benchmark::Counter(
      static_cast<double>(kControls), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["bytes_per_control"] = static_cast<double>(formText().size()) / kControls;
}

void BM_FormFile_Parse(benchmark::State& state) {
  const std::string& text = formText();
  for (auto _ : state) benchmark::DoNotOptimize(zxp::host::parseFormFile(text));
  perControl(state);
}

void BM_FormFile_Write(benchmark::State& state) {
  zxp::host::FormRecord rec = zxp::host::parseFormFile(formText());
  for (auto _ : state) benchmark::DoNotOptimize(zxp::host::writeFormFile(rec));
  perControl(state);
}

void BM_Form_Load(benchmark::State& state) {
  const std::string& text = formText();
  for (auto _ : state) {
    auto form = zxp::host::Form::load(text, registry());
    state.PauseTiming();
    form.reset();
    state.ResumeTiming();
  }
  perControl(state);
}

void BM_Form_Save(benchmark::State& state) {
  auto form = zxp::host::Form::load(formText(), registry());
  for (auto _ : state) benchmark::DoNotOptimize(form->save());
  perControl(state);
}

void BM_Copy_Baseline(benchmark::State& state) {
  const std::string& text = formText();
  for (auto _ : state) {
    std::string copy = text;
    benchmark::DoNotOptimize(copy.data());
  }
  perControl(state);
}

BENCHMARK(BM_FormFile_Parse)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FormFile_Write)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Form_Load)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Form_Save)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Copy_Baseline)->Unit(benchmark::kMicrosecond);

}  // namespace
