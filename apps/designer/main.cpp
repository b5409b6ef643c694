// zorvaxp-designer [FORM]                 the form designer in a desktop window, FORM opened
// zorvaxp-designer --screenshot PNG [FORM] the designer's screen, headless, as a PNG: FORM opened
//                                         (or a small example form built by placing controls),
//                                         one control selected so that its grab handles show
// zorvaxp-designer --landmarks W H        where the parts of the window are on a W x H screen,
//                                         with a ZorvaXPButton placed and selected (for scripts)
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Designer.h"
#include "platform/gfx/Png.h"
#include "platform/services/Desktop.h"
#include "platform/services/Registry.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/SdlBackend.h"
#include "platform/ui/TestInput.h"

namespace {

using namespace zxp;

constexpr const char* kUsage =
    "usage: zorvaxp-designer [FORM]\n       zorvaxp-designer --screenshot PNG [FORM]\n";
constexpr Size kScreen{1400, 880};
constexpr Size kDesktopFrame{16, 48};

// A small form made the way a person makes one: drawn rectangles, a frame holding options.
void exampleForm(designer::Designer& d) {
  designer::Document& doc = d.document();
  doc.form().setCaption("Orders");
  auto& frame = doc.add("ZorvaXPFrame", Rect::fromXYWH(360, 360, 3600, 1920));
  (void)frame;
  doc.add("ZorvaXPOptionButton", Rect::fromXYWH(600, 840, 2400, 360));
  doc.add("ZorvaXPOptionButton", Rect::fromXYWH(600, 1320, 2400, 360));
  doc.add("ZorvaXPLabel", Rect::fromXYWH(4320, 360, 2400, 480));
  doc.add("ZorvaXPTextBox", Rect::fromXYWH(4320, 960, 2400, 360));
  doc.add("ZorvaXPProgressBar", Rect::fromXYWH(360, 2640, 6360, 360));
  doc.add("ZorvaXPButton", Rect::fromXYWH(5280, 3480, 1440, 480));
  auto& ok = doc.add("ZorvaXPButton", Rect::fromXYWH(3600, 3480, 1440, 480));
  doc.select(&ok);
  d.selectionChanged();
}

int screenshot(const char* png, const char* form) {
  ui::resetWindowSystem();
  ui::setScreenSize(kScreen);
  bool ok = false;
  std::string error;
  {
    designer::Designer d;
    if (form) {
      if (!d.open(form)) {
        std::fprintf(stderr, "zorvaxp-designer: %s\n", d.log().lines().empty() ? "cannot open" : d.log().lines().back().c_str());
        ui::resetWindowSystem();
        return 1;
      }
      if (!d.document().form().Controls().empty()) d.document().select(d.document().form().Controls().front());
      d.selectionChanged();
    } else {
      exampleForm(d);
    }
    ui::TestInput input;
    input.pump();
    auto shot = ui::composeScreen();
    ok = shot && gfx::writePng(*shot, png, false, &error);
  }
  ui::resetWindowSystem();
  if (!ok) {
    std::fprintf(stderr, "zorvaxp-designer: could not write %s%s%s\n", png, error.empty() ? "" : ": ", error.c_str());
    return 1;
  }
  std::printf("%s\n", png);
  return 0;
}

int landmarks(int w, int h) {
  ui::resetWindowSystem();
  ui::setScreenSize(Size{w, h});
  {
    designer::Designer d;
    d.document().add("ZorvaXPButton", Rect::fromXYWH(240, 240, 1200, 480));
    d.selectionChanged();
    for (const auto& [name, p] : d.landmarks()) std::printf("%s %d %d\n", name.c_str(), p.x, p.y);
  }
  ui::resetWindowSystem();
  return 0;
}

int live(const char* form) {
  Size screen = kScreen;
  if (auto usable = ui::SdlBackend::usableDisplaySize())
    screen = Size{std::min(kScreen.cx, usable->cx - kDesktopFrame.cx), std::min(kScreen.cy, usable->cy - kDesktopFrame.cy)};
  auto sdl = ui::SdlBackend::open("ZorvaXP designer", screen);
  if (!sdl) {
    std::fprintf(stderr, "zorvaxp-designer: no display; use --screenshot PNG [FORM] for a picture\n");
    return 1;
  }
  ui::resetWindowSystem();
  ui::setBackend(std::move(sdl));
  ui::setScreenSize(screen);
  services::useDesktopServices();
  int exitCode = 0;
  {
    designer::Designer d(services::Registry::defaultPath());
    if (form) d.open(form);
    exitCode = ui::eventLoop().run();
  }
  ui::resetWindowSystem();
  return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::printf("%s", kUsage);
    return 0;
  }
  if (argc > 1 && std::strcmp(argv[1], "--screenshot") == 0) {
    if (argc < 3 || argc > 4) {
      std::fprintf(stderr, "zorvaxp-designer: --screenshot needs a PNG and at most one form\n%s", kUsage);
      return 2;
    }
    return screenshot(argv[2], argc == 4 ? argv[3] : nullptr);
  }
  if (argc == 4 && std::strcmp(argv[1], "--landmarks") == 0) {
    const int w = std::atoi(argv[2]), h = std::atoi(argv[3]);
    if (w < 640 || h < 480 || w > 8192 || h > 8192) {
      std::fprintf(stderr, "zorvaxp-designer: --landmarks needs a screen of 640 x 480 to 8192 x 8192\n");
      return 2;
    }
    return landmarks(w, h);
  }
  if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
    std::fprintf(stderr, "zorvaxp-designer: unexpected argument %s\n%s", argv[argc - 1], kUsage);
    return 2;
  }
  return live(argc == 2 ? argv[1] : nullptr);
}
