// Encoding a rendered form as PNG, as zorvaxp-render's last step does: the buttons example form's
// composed screen (opaque, so written as RGB), and the same picture with its alpha kept.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "library/ClassTable.h"
#include "platform/gfx/Png.h"
#include "render/Render.h"

namespace zxp {
namespace {

std::shared_ptr<gfx::Surface> renderedExample() {
  static std::shared_ptr<gfx::Surface> picture = [] {
    std::ifstream in(std::string(ZXP_EXAMPLES_DIR) + "/buttons.zxf", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return render::renderForm(text.str(), render::RenderRequest{}, library::classesWithPrivate(), "buttons.zxf");
  }();
  return picture;
}

void BM_Png_EncodeForm(benchmark::State& state) {
  const auto picture = renderedExample();
  const bool withAlpha = state.range(0) != 0;
  size_t bytes = 0;
  for (auto _ : state) {
    const std::vector<uint8_t> png = gfx::encodePng(*picture, withAlpha);
    bytes = png.size();
    benchmark::DoNotOptimize(png.data());
  }
  state.counters["png_bytes"] = static_cast<double>(bytes);
  state.counters["pixels"] = static_cast<double>(picture->width()) * picture->height();
}
BENCHMARK(BM_Png_EncodeForm)->ArgName("alpha")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zxp
