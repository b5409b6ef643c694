// Gallery page "formskin": a borderless form skinned by ZorvaForm (examples/formskin.zxf), and
// `zorvaxp-gallery --themes OUTDIR`, which writes the form once per theme as it shows on a screen:
// the form with its frame pieces and shadow around it, formskin-theme-NN.png for NN = 01..17.
#include <cstdio>

#include "Gallery.h"
#include "Page.h"
#include "library/ClassTable.h"
#include "platform/gfx/Png.h"
#include "platform/host/MemberTable.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/User.h"

namespace zxp::gallery {
namespace {

RegisterPage reg{formFilePage("formskin", "Form skin", 20, exampleForm("formskin"))};

}  // namespace

int renderThemes(const std::filesystem::path& outDir) {
  std::error_code ec;
  std::filesystem::create_directories(outDir, ec);
  if (ec) {
    std::fprintf(stderr, "gallery: cannot create the folder %s: %s\n", outDir.c_str(), ec.message().c_str());
    return 1;
  }
  int failures = 0;
  constexpr int kMargin = 16;  // room for the frame pieces and the shadow
  for (int theme = 1; theme <= 17; ++theme) {
    ui::resetWindowSystem();
    std::unique_ptr<host::Form> form =
        host::Form::load(exampleForm("formskin"), library::classes(), true, Point{kMargin, kMargin});
    form->let("Skin", "Themes", host::Variant(static_cast<int32_t>(theme)));
    ui::eventLoop().processPendingEvents();
    RECT r;
    GetWindowRect(form->hWnd(), &r);
    auto screen = ui::composeScreen();
    const int w = r.width() + 2 * kMargin, h = r.height() + 2 * kMargin;
    auto picture = gfx::Surface::create(w, h);
    for (int y = 0; y < h && y < screen->height(); ++y)
      for (int x = 0; x < w && x < screen->width(); ++x) picture->at(x, y) = screen->at(x, y);
    char name[32];
    std::snprintf(name, sizeof name, "formskin-theme-%02d.png", theme);
    const auto path = outDir / name;
    std::string error;
    if (!gfx::writePng(*picture, path.string(), false, &error)) {
      std::fprintf(stderr, "gallery: %s: %s\n", path.c_str(), error.c_str());
      ++failures;
      continue;
    }
    std::printf("%s\n", std::filesystem::absolute(path).c_str());
  }
  ui::resetWindowSystem();
  return failures;
}

}  // namespace zxp::gallery
