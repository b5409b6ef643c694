// The gallery's ways to run: live on the desktop, headless to PNGs, and a headless screenshot of
// the live shell.
#include <algorithm>
#include <cstdio>

#include "Gallery.h"
#include "Page.h"
#include "Shell.h"
#include "platform/gfx/Png.h"
#include "platform/services/Desktop.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/SdlBackend.h"
#include "platform/ui/TestInput.h"
#include "render/Render.h"

namespace zxp::gallery {

namespace {

// Screenshots show the wide layout: room for the control list, the largest page and the
// property panel side by side. The live gallery fits its display (Shell::screenFor).
constexpr Size kScreen = Shell::kWideScreen;

// The shell's pages: still pages rendered now (their renderers reset the window system, so they
// run before the shell's windows exist).
std::vector<Shell::Entry> shellEntries(const std::vector<Page>& list) {
  std::vector<Shell::Entry> entries;
  for (const Page& p : list) entries.push_back(Shell::Entry{p.title, p.render ? p.render() : nullptr, p.form});
  return entries;
}

}  // namespace

bool runLive(int& exitCode) {
  const Size screen = Shell::screenFor(ui::SdlBackend::usableDisplaySize());
  auto sdl = ui::SdlBackend::open("ZorvaXP gallery", screen);
  if (!sdl) return false;
  std::vector<Shell::Entry> entries = shellEntries(sortedPages());
  ui::resetWindowSystem();
  ui::setBackend(std::move(sdl));
  ui::setScreenSize(screen);
  services::useDesktopServices();
  {
    // The loop ends when the gallery's form closes (its close button, Alt+F4) or the desktop
    // window does.
    Shell shell(std::move(entries));
    exitCode = ui::eventLoop().run();
  }
  ui::resetWindowSystem();
  return true;
}

int renderPages(const std::filesystem::path& outDir) {
  std::error_code ec;
  std::filesystem::create_directories(outDir, ec);
  if (ec) {
    std::fprintf(stderr, "gallery: cannot create the folder %s: %s\n", outDir.c_str(), ec.message().c_str());
    return 1;
  }
  int failures = 0;
  for (const Page& page : sortedPages()) {
    std::shared_ptr<gfx::Surface> surface;
    std::string error;
    if (page.render) {
      surface = page.render();
    } else if (page.form) {
      try {
        surface = render::renderForm(page.form, render::RenderRequest{}, page.name);
      } catch (const render::RenderError& e) {
        error = e.what();
      }
    }
    auto path = outDir / ("gallery-" + page.name + ".png");
    if (surface && !gfx::writePng(*surface, path.string(), false, &error)) error = path.string() + ": " + error;
    if (!surface || !error.empty()) {
      std::fprintf(stderr, "gallery: could not render page %s%s%s\n", page.name.c_str(), error.empty() ? "" : ": ",
                   error.c_str());
      ++failures;
      continue;
    }
    std::printf("%s\n", std::filesystem::absolute(path).c_str());
  }
  return failures;
}

bool shellScreenshot(const std::string& name, const std::filesystem::path& png) {
  std::vector<Page> list = sortedPages();
  const Page* page = findPage(list, name);
  if (!page) {
    std::string names;
    for (const Page& p : list) names += (names.empty() ? "" : ", ") + p.name + " (\"" + p.title + "\")";
    std::fprintf(stderr, "gallery: no page named %s; the pages are %s\n", name.c_str(), names.c_str());
    return false;
  }
  const size_t index = static_cast<size_t>(page - list.data());
  std::vector<Shell::Entry> entries = shellEntries(list);
  bool ok = false;
  std::string error;
  {
    ui::resetWindowSystem();
    ui::setScreenSize(kScreen);
    Shell shell(entries);
    shell.select(index);
    ui::TestInput input;
    input.pump();
    if (host::Form* form = shell.form()) {
      // Click the second control (which selects it for the property panel), then rest the
      // cursor on the first: the log shows what they raised.
      const auto& controls = form->Controls();
      if (controls.size() > 1) input.moveTo(controls[1]->object().hWnd()).click().advance(20);
      if (!controls.empty()) input.moveTo(controls[0]->object().hWnd()).advance(20);
    }
    auto shot = ui::composeScreen();
    ok = shot && gfx::writePng(*shot, png.string(), false, &error);
  }
  ui::resetWindowSystem();
  if (ok) std::printf("%s\n", std::filesystem::absolute(png).c_str());
  else std::fprintf(stderr, "gallery: could not write %s%s%s\n", png.c_str(), error.empty() ? "" : ": ", error.c_str());
  return ok;
}

}  // namespace zxp::gallery
