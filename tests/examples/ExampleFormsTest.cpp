// Every example form the project ships (examples/*.zxf) loads through the library's class
// table, saves, and loads back to the same text: the gallery compiles them in and zorvaxp-render
// is pointed at them, so a change to the host's rules or to a control's keys shows up here.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "library/ClassTable.h"
#include "platform/gfx/Handles.h"
#include "platform/host/Form.h"
#include "platform/host/FormFile.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace zxp {
namespace {

TEST(ExampleForms, EachLoadsSavesAndReloadsToTheSameText) {
  const std::filesystem::path dir = std::filesystem::path(ZXP_SOURCE_DIR) / "examples";
  int seen = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().extension() != ".zxf") continue;
    ++seen;
    SCOPED_TRACE(entry.path().filename().string());
    ui::resetWindowSystem();
    const size_t before = handles().liveCount();
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::string saved;
    try {
      std::unique_ptr<host::Form> form = host::Form::load(text.str(), library::classesWithPrivate());
      ui::eventLoop().processPendingEvents();
      saved = form->save();
    } catch (const host::FormFileError& e) {
      ADD_FAILURE() << "line " << e.line() << ": " << e.what();
      continue;
    }
    std::unique_ptr<host::Form> again = host::Form::load(saved, library::classesWithPrivate());
    EXPECT_EQ(again->save(), saved);
    for (const auto& k : again->unknownKeys()) ADD_FAILURE() << "line " << k.line << ": " << k.key << " of " << k.owner;
    again.reset();
    EXPECT_EQ(handles().liveCount(), before) << "drawing objects left behind";
  }
  EXPECT_GE(seen, 4);
  ui::resetWindowSystem();
}

// Every window that claims to show a uniform picture (what composition fills in instead of
// reading) holds that value in every pixel, after a form's load and paint and after a second
// paint of everything: the claim must end with any drawing, however its pixels came.
TEST(ExampleForms, WindowsShowingAUniformPictureHoldItInEveryPixel) {
  const std::filesystem::path dir = std::filesystem::path(ZXP_SOURCE_DIR) / "examples";
  int uniform = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().extension() != ".zxf") continue;
    SCOPED_TRACE(entry.path().filename().string());
    ui::resetWindowSystem();
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::unique_ptr<host::Form> form = host::Form::load(text.str(), library::classesWithPrivate());
    for (int pass = 0; pass < 2; ++pass) {
      ui::eventLoop().processPendingEvents();
      ui::composeScreen();
      ui::forEachInTree(ui::windowFromHandle(form->hWnd()), [&](ui::Window* w) {
        if (!w->surface || !w->surface->uniformValue()) return;
        ++uniform;
        const gfx::Surface& s = *w->surface;
        const uint32_t v = *s.uniformValue();
        int differ = 0;
        for (int y = 0; y < s.height(); ++y)
          for (int x = 0; x < s.width(); ++x) differ += s.row(y)[x] != v;
        EXPECT_EQ(differ, 0) << w->cls->name << " " << s.width() << "x" << s.height();
      });
      RedrawWindow(form->hWnd(), nullptr, 0, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
  }
  EXPECT_GT(uniform, 10);
  ui::resetWindowSystem();
}

// A control of each class, as a designer places it, saves keys it knows again on loading: a
// file the library wrote never warns of unknown properties.
TEST(ExampleForms, EveryClassReadsBackEveryKeyItSaves) {
  ui::resetWindowSystem();
  host::Form form;
  int n = 0;
  for (const host::ControlClass& c : library::classes().classes()) {
    host::ExtenderRecord at;
    at.left = 120 + (n % 4) * 2400;
    at.top = 120 + (n / 4) * 1500;
    at.width = 2200;
    at.height = 1300;
    form.add(library::classes(), c.name, "c" + std::to_string(n++), at);
  }
  ASSERT_GE(n, 17);
  std::unique_ptr<host::Form> again = host::Form::load(form.save(), library::classes());
  for (const auto& k : again->unknownKeys()) ADD_FAILURE() << k.key << " of " << k.owner;
  again.reset();
  ui::resetWindowSystem();
}

}  // namespace
}  // namespace zxp
