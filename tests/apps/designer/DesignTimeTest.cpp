// The controls' own design-time behaviour inside the designer (the label's check of its sound
// paths, its transparent region rebuilt while it is sized), and a form built in the designer
// giving the same pixels in the designer's run mode, through host::Form in a C++ program and in
// zorvaxp-render.
#include <gtest/gtest.h>

#include "DesignerFixture.h"

#include <filesystem>
#include <fstream>
#include <map>

#include "designer/Designer.h"
#include "library/ClassTable.h"
#include "platform/gfx/Gdi.h"
#include "platform/services/Recording.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TestInput.h"
#include "render/Render.h"

namespace zxp::designer {
namespace {

class DesignTime : public DesignerFixture {
 protected:
  host::Extender& place(const std::string& cls, Rect twips) {
    host::Extender& e = d->document().add(cls, twips);
    d->selectionChanged();
    return e;
  }
  size_t row(const std::string& property) {
    const int r = d->panel().model().find(property);
    EXPECT_GE(r, 0) << property;
    return static_cast<size_t>(std::max(r, 0));
  }
  // The window region's box of a control (empty when it has none).
  static RECT regionBox(HWND h) {
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    RECT box{};
    if (GetWindowRgn(h, r) != ERROR) GetRgnBox(r, &box);
    DeleteObject(r);
    return box;
  }

};

TEST_F(DesignTime, ALabelsBadSoundPathShowsItsMessageBoxAndIsNotKept) {
  place("ZorvaXPLabel", Rect::fromXYWH(240, 240, 2400, 480));
  auto& boxes = *services.messageBoxes;
  const std::string before = d->document().text();
  // As typed in the property panel: the label's own check answers, and the path is not kept.
  EXPECT_TRUE(d->panel().model().edit(row("SoundOnOver"), "/nonexistent/hover.wav"));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "You have entered invalid file path. Please enter correct path name.");
  EXPECT_EQ(boxes.shown[0].caption, "Invalid File Path");
  EXPECT_EQ(boxes.shown[0].icon(), static_cast<UINT>(MB_ICONERROR));
  EXPECT_EQ(d->panel().model().rows()[row("SoundOnOver")].value, "");
  d->document().propertyEdited("Set SoundOnOver");
  EXPECT_EQ(d->document().text(), before);  // nothing to undo: the file is as it was
  // A path that can be read is kept without a word.
  const auto wave = std::filesystem::temp_directory_path() / ("zxp-dt-" + std::to_string(::getpid()) + ".wav");
  { std::ofstream(wave) << "RIFF"; }
  EXPECT_TRUE(d->panel().model().edit(row("SoundOnClicked"), wave.string()));
  EXPECT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(d->panel().model().rows()[row("SoundOnClicked")].value, wave.string());
  std::filesystem::remove(wave);
  // In run mode the same path raises no box: the check is the designer's alone.
  d->document().propertyEdited("Set SoundOnClicked");
  d->run();
  host::letProperty(d->document().running()->control("ZorvaXPLabel1")->object(), "SoundOnOver",
                    host::Variant(std::string("/nonexistent/hover.wav")));
  EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(DesignTime, ATransparentLabelsRegionIsRebuiltWhileItIsSized) {
  place("ZorvaXPLabel", Rect::fromXYWH(240, 240, 2400, 600));
  const int32_t transparent = 1;  // HBkTransparent
  ASSERT_TRUE(d->panel().model().set(row("BackStyle"), host::Variant(transparent)));
  d->document().propertyEdited("Set BackStyle");
  host::Extender* e = d->document().form().control("ZorvaXPLabel1");
  ASSERT_NE(e, nullptr);
  // The region is the caption's shape: narrower than the label and within its height.
  const RECT first = regionBox(e->object().hWnd());
  RECT client{};
  GetClientRect(e->object().hWnd(), &client);
  EXPECT_GT(first.right, first.left);
  EXPECT_LT(first.right - first.left, client.right);
  EXPECT_LT(first.bottom - first.top, client.bottom);
  // Made taller with a grab handle: the caption stays centred, and the region follows it.
  d->document().select(e);
  d->document().beginGesture();
  d->document().resizeBy(Handle::Bottom, 0, 600);
  d->document().endGesture("Size");
  e = d->document().form().control("ZorvaXPLabel1");
  const RECT taller = regionBox(e->object().hWnd());
  EXPECT_EQ(taller.bottom - taller.top, first.bottom - first.top);
  EXPECT_EQ(taller.top - first.top, 600 / 15 / 2);  // half of the 40 pixels added
}

// Each control's pixels on a composed screen, by name, with the control's place relative to its
// form's client origin.
struct Shot {
  Rect at;  // relative to the form's client origin
  std::vector<Pixel> pixels;
};
std::map<std::string, Shot> shoot(const host::Form& form, const gfx::Surface& screen, Point screenOrigin) {
  std::map<std::string, Shot> shots;
  for (const host::Extender* e : form.Controls()) {
    RECT r{};
    GetWindowRect(e->object().hWnd(), &r);
    POINT o{0, 0};
    ClientToScreen(form.hWnd(), &o);
    Shot s;
    s.at = Rect{r.left - o.x, r.top - o.y, r.right - o.x, r.bottom - o.y};
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) s.pixels.push_back(screen.at(x - screenOrigin.x, y - screenOrigin.y));
    shots[e->Name()] = std::move(s);
  }
  return shots;
}

TEST_F(DesignTime, AFormBuiltHereHasTheSamePixelsInRunModeInAHostFormAndInTheRenderer) {
  place("ZorvaXPFrame", Rect::fromXYWH(240, 240, 3600, 1920));
  place("ZorvaXPLabel", Rect::fromXYWH(480, 720, 2400, 480));  // inside the frame
  place("ZorvaXPButton", Rect::fromXYWH(4320, 1200, 1440, 480));
  place("ZorvaXPProgressBar", Rect::fromXYWH(240, 2640, 4560, 360));
  place("ZorvaXPCheckBox", Rect::fromXYWH(4320, 240, 2400, 480));
  host::letProperty(d->document().form().control("ZorvaXPButton1")->object(), "Caption",
                    host::Variant(std::string("Go")));
  host::letProperty(d->document().form().control("ZorvaXPProgressBar1")->object(), "Value", host::Variant(int32_t{40}));
  d->document().propertyEdited("Set");
  ASSERT_EQ(d->document().form().control("ZorvaXPLabel1")->Container(),
            d->document().form().control("ZorvaXPFrame1"));
  const std::string text = d->document().text();

  // The designer's run mode.
  d->run();
  input.moveTo(Point{700, 870}).advance(50);
  const auto runShots = shoot(*d->document().running(), *ui::composeScreen(), Point{0, 0});
  ASSERT_EQ(runShots.size(), 5u);
  d.reset();

  // A C++ program's form from the same text.
  ui::resetWindowSystem();
  ui::setScreenSize(Size{1400, 880});
  auto plain = host::Form::load(text, library::classes(), true, Point{200, 100});
  input.moveTo(Point{700, 870}).advance(50);
  const auto plainShots = shoot(*plain, *ui::composeScreen(), Point{0, 0});
  // Where the client area sits in the window with its frame (the renderer's picture starts at the
  // window's corner).
  RECT w{};
  GetWindowRect(plain->hWnd(), &w);
  POINT o{0, 0};
  ClientToScreen(plain->hWnd(), &o);
  const Point frame{o.x - w.left, o.y - w.top};
  plain.reset();

  // zorvaxp-render.
  auto rendered = render::renderForm(text, render::RenderRequest{}, library::classes());
  ASSERT_NE(rendered, nullptr);

  for (const auto& [name, run] : runShots) {
    const Shot& host = plainShots.at(name);
    EXPECT_EQ(host.at, run.at) << name;
    EXPECT_EQ(host.pixels == run.pixels, true) << name << ": run mode and host::Form differ";
    std::vector<Pixel> r;
    for (int y = run.at.top; y < run.at.bottom; ++y)
      for (int x = run.at.left; x < run.at.right; ++x) r.push_back(rendered->at(x + frame.x, y + frame.y));
    EXPECT_EQ(r == run.pixels, true) << name << ": run mode and zorvaxp-render differ";
  }
}

}  // namespace
}  // namespace zxp::designer
