// A scene of 200 push buttons of 75 x 23 pixels in rows of ten (750 x 460), painted whole, beside
// the same scene painted by a widely used widget toolkit in the same run. Ours: every button's
// full redraw (RedrawMe, with the face and looks caches as the buttons use them) and the
// composition of the damaged area onto the screen. The toolkit's: Qt's default desktop style
// (Fusion, with its pixmap cache) rendering a widget holding 200 push buttons of the same size
// and captions into a 750 x 460 image, on Qt's offscreen platform. "x_toolkit" is our time /
// the toolkit's time; "us_per_scene" is ours.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchQt.h"
#include "buttons/ZorvaXPButton.h"
#include "platform/host/Form.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Screen.h"

namespace {

using namespace zxp;
using buttons::ZorvaXPButton;

constexpr int kButtons = 200, kColumns = 10, kW = 75, kH = 23;

// The toolkit's scene: a widget of 750 x 460 holding the 200 buttons.
struct ToolkitScene {
  QApplication& app = bench::qtApplication();  // first: widgets need it
  QWidget scene;
  QImage image{kColumns * kW, kButtons / kColumns * kH, QImage::Format_ARGB32_Premultiplied};
  ToolkitScene() {
    scene.resize(image.width(), image.height());
    for (int i = 0; i < kButtons; ++i) {
      auto* b = new QPushButton(QString("Button %1").arg(i), &scene);  // owned by the scene
      b->setGeometry((i % kColumns) * kW, (i / kColumns) * kH, kW, kH);
    }
    scene.render(&image);  // the style's caches filled, as for our buttons
  }
  void paint() { scene.render(&image); }
};

void scene(benchmark::State& state, buttons::ButtonStyleDType style) {
  ToolkitScene theirs;
  ui::resetWindowSystem();
  ui::setScreenSize(Size{1280, 800});
  {
    host::FormOptions o;
    o.clientWidth = pixelsToTwips(kColumns * kW);
    o.clientHeight = pixelsToTwips(kButtons / kColumns * kH);
    host::Form form(o);
    std::vector<ZorvaXPButton*> buttons;
    for (int i = 0; i < kButtons; ++i) {
      auto& b = form.add(std::make_unique<ZorvaXPButton>(), "Button" + std::to_string(i),
                         host::ExtenderRecord::inPixels((i % kColumns) * kW, (i / kColumns) * kH, kW, kH))
                    .as<ZorvaXPButton>();
      b.setButtonStyle(style);
      b.setCaption("Button " + std::to_string(i));
      buttons.push_back(&b);
    }
    ui::eventLoop().processPendingEvents();
    ui::composeScreen();
    bench::alternate(state, 1,
                     [&] {
                       for (ZorvaXPButton* b : buttons) b->RedrawMe();
                       benchmark::DoNotOptimize(ui::composeScreen());
                     },
                     [&] { theirs.paint(); }, "toolkit_per_ours");
    const double ratio = state.counters["toolkit_per_ours"];
    state.counters["x_toolkit"] = ratio > 0 ? 1.0 / ratio : 0;
    state.counters["us_per_scene"] = state.counters["us_per_call"];
    state.counters.erase("us_per_call");
  }
  ui::resetWindowSystem();
}

void BM_ButtonScene200_Vista(benchmark::State& s) { scene(s, buttons::ButtonStyleDType::Vista); }
void BM_ButtonScene200_XP(benchmark::State& s) { scene(s, buttons::ButtonStyleDType::XP); }
BENCHMARK(BM_ButtonScene200_Vista)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ButtonScene200_XP)->Unit(benchmark::kMicrosecond);

}  // namespace
