// zorvaxp-render end to end: the states come from real input and change the control's pixels;
// bad files, names and arguments fail with a clear message and their exit code.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "library/ClassTable.h"
#include "platform/gfx/Png.h"
#include "render/Render.h"
#include "support/TempWave.h"
#include "support/TestControl.h"

namespace zxp::render {
namespace {

// Two test controls; their hover look is a different back colour.
constexpr const char* kForm = R"(ZorvaXP Form 1
Begin Form frmTest
  ClientWidth = Long 3000
  ClientHeight = Long 1500
  Begin TestXP A
    @Left = 150
    @Top = 150
    @Width = 1200
    @Height = 600
    ColorNormal = Long &H00C08040
    ColorHover = Long &H0040C0F0
  End
  Begin TestXP B
    @Left = 1500
    @Top = 150
    @Width = 1200
    @Height = 600
  End
End
)";

class Render : public ::testing::Test {
 protected:
  // The pixel at the centre of control A (at 10, 10 in the 200 x 100 client area, 80 x 40). The
  // picture is the form's window: the client area inside a frame of equal sides, under a caption.
  static uint32_t centreOfA(const gfx::Surface& s) {
    int border = (s.width() - 200) / 2;
    int clientTop = s.height() - 100 - border;
    return s.at(border + 50, clientTop + 30) & 0xFFFFFF;
  }
  // Runs the program; its exit code is kept in `code`.
  std::string run(std::vector<std::string> args) {
    std::ostringstream out, err;
    code = runRender(args, out, err, registry);
    return out.str() + err.str();
  }
  // Writes `text` to a file of the temporary folder and returns its path.
  std::string write(const char* name, const std::string& text) {
    std::ofstream(dir.file(name)) << text;
    return dir.file(name);
  }
  host::ClassRegistry registry = testing::testRegistry();
  testing::TempDir dir;
  int code = -1;
};

// (Which pixels each state may change is checked on the shipped example buttons below.)
TEST_F(Render, HoverAndPressComeFromInputAndChangeTheControlsPixels) {
  auto resting = renderForm(kForm, RenderRequest{}, registry);
  RenderRequest request;
  request.hover = "A";
  auto hover = renderForm(kForm, request, registry);
  request.hover.clear();
  request.press = "A";
  auto press = renderForm(kForm, request, registry);
  ASSERT_TRUE(resting && hover && press);
  EXPECT_EQ(centreOfA(*resting), oleToPixel(0x00C08040));
  EXPECT_EQ(centreOfA(*hover), oleToPixel(0x0040C0F0));
  // The press moves the cursor there first, so the hover look shows under the held button.
  EXPECT_EQ(centreOfA(*press), oleToPixel(0x0040C0F0));
}

TEST_F(Render, WritesThePictureAndReportsBadInputClearly) {
  const std::string form = write("form.zxf", kForm), png = dir.file("a.png");
  EXPECT_EQ(run({form, "--out", png, "--hover", "A", "--focus", "B"}), png + "\n");
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(gfx::readPng(png));

  for (std::string unreadable : {dir.file("missing.zxf"), dir.path().string()}) {
    std::string text = run({unreadable, "--out", png});
    EXPECT_EQ(code, 1);
    EXPECT_NE(text.find("cannot read " + unreadable), std::string::npos) << text;
  }

  // A damaged form names its line, an unknown control its name.
  const std::string broken =
      write("broken.zxf", "ZorvaXP Form 1\nBegin Form F\n  Begin TestXP A\n    @Left = twelve\n  End\nEnd\n");
  std::string text;
  for (const auto& [args, says] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{broken, "--out", png}, "broken.zxf:4:"},
           {{form, "--out", png, "--press", "Nobody"}, "no control named \"Nobody\""}}) {
    text = run(args);
    EXPECT_EQ(code, 1) << says;
    EXPECT_NE(text.find(says), std::string::npos) << text;
  }

  // Argument errors: exit code 2 and the usage.
  for (const auto& args : std::vector<std::vector<std::string>>{
           {form}, {"--out", png}, {form, "--out"}, {form, "--out", png, "--glow", "A"}, {form, form, "--out", png}}) {
    text = run(args);
    EXPECT_EQ(code, 2) << args.size();
    EXPECT_NE(text.find("usage: zorvaxp-render"), std::string::npos) << text;
  }
  text = run({"--help"});
  EXPECT_EQ(std::tuple(code, text), std::tuple(0, usageText()));
}

TEST_F(Render, NeverOverwritesItsInputAndRefusesUnreachableStates) {
  const std::string form = write("form.zxf", kForm);
  // --out naming the form file (directly or through another spelling of its path) is refused.
  for (const std::string& out : {form, dir.path().string() + "/./form.zxf"}) {
    const std::string text = run({form, "--out", out});
    EXPECT_EQ(code, 2) << text;
    EXPECT_NE(text.find("names the form file itself"), std::string::npos) << text;
  }
  std::ifstream in(form);
  std::ostringstream kept;
  kept << in.rdbuf();
  EXPECT_EQ(kept.str(), kForm);

  // A failed write says why and leaves the old picture; a pipe as --out is neither written nor removed.
  const std::string fifo = dir.file("pipe.png");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::string text = run({form, "--out", fifo});
  EXPECT_EQ(code, 1);
  EXPECT_NE(text.find("cannot write " + fifo + ": not a regular file"), std::string::npos) << text;
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
  text = run({form, "--out", dir.file("none/a.png")});
  EXPECT_EQ(code, 1);
  EXPECT_NE(text.find("cannot write " + dir.file("none/a.png") + ": "), std::string::npos) << text;
  EXPECT_NE(text.find("No such file or directory"), std::string::npos) << text;

  // The focus on a disabled control is a state no user can reach.
  std::string disabled = kForm;
  disabled.replace(disabled.find("  End\n  Begin TestXP B"), 0, "    Enabled = Boolean False\n");
  write("disabled.zxf", disabled);
  text = run({dir.file("disabled.zxf"), "--out", dir.file("d.png"), "--focus", "A"});
  EXPECT_EQ(code, 1);
  EXPECT_NE(text.find("control \"A\" is disabled and cannot take the focus"), std::string::npos) << text;
  EXPECT_FALSE(std::filesystem::exists(dir.file("d.png")));
  EXPECT_EQ(run({dir.file("disabled.zxf"), "--out", dir.file("d.png"), "--focus", "B"}), dir.file("d.png") + "\n");
}

TEST_F(Render, WarnsAboutPropertiesNoControlKnows) {
  std::string text = kForm;
  text.replace(text.find("    ColorHover"), 0, "    ColourNormal = Long 5\n");
  const std::string form = write("typo.zxf", text);
  const std::string output = run({form, "--out", dir.file("t.png")});
  EXPECT_EQ(code, 0);
  EXPECT_NE(output.find("zorvaxp-render: warning: " + form + ":11: unknown property ColourNormal of A"),
            std::string::npos)
      << output;
}

// A form of many misspelt keys: the first ten are named, the rest counted in one line.
TEST_F(Render, NamesTheFirstTenUnknownPropertiesAndCountsTheRest) {
  auto formWith = [&](int keys) {
    std::string extra;
    for (int i = 0; i < keys; ++i) extra += "    Typo" + std::to_string(i) + " = Long 5\n";
    std::string text = kForm;
    text.replace(text.find("    ColorHover"), 0, extra);
    return write(("typos" + std::to_string(keys) + ".zxf").c_str(), text);
  };
  auto lines = [](const std::string& output, const std::string& needle) {
    size_t n = 0;
    for (size_t at = output.find(needle); at != std::string::npos; at = output.find(needle, at + 1)) ++n;
    return n;
  };
  std::string output = run({formWith(5000), "--out", dir.file("t.png")});
  EXPECT_EQ(code, 0);
  EXPECT_EQ(lines(output, "unknown property Typo"), 10u) << output;
  EXPECT_NE(output.find(":11: unknown property Typo0 of A"), std::string::npos) << output;
  EXPECT_NE(output.find(":20: unknown property Typo9 of A"), std::string::npos) << output;
  EXPECT_NE(output.find("zorvaxp-render: warning: 4990 more unknown properties not shown\n"), std::string::npos)
      << output;

  output = run({formWith(11), "--out", dir.file("t.png")});
  EXPECT_EQ(lines(output, "unknown property Typo"), 10u) << output;
  EXPECT_NE(output.find("warning: 1 more unknown property not shown\n"), std::string::npos) << output;
  output = run({formWith(10), "--out", dir.file("t.png")});
  EXPECT_EQ(lines(output, "unknown property Typo"), 10u) << output;
  EXPECT_EQ(output.find("not shown"), std::string::npos) << output;
}

// A form larger than the screen the form is loaded on, holding a control far larger than any
// surface: the picture shows the whole form, the control drawn wherever it can be seen. A form
// whose own pixels cannot be made is refused, naming its size.
TEST_F(Render, FormsLargerThanTheFirstScreenAndHugeControlsDrawTheirWholePicture) {
  const std::string form = R"(ZorvaXP Form 1
Begin Form frmHuge
  ClientWidth = Long 30000
  ClientHeight = Long 15000
  Begin TestXP A
    @Left = 150
    @Top = 150
    @Width = 1500000
    @Height = 3000000
    ColorNormal = Long &H00C08040
  End
End
)";
  auto picture = renderForm(form, RenderRequest{}, registry);
  ASSERT_TRUE(picture);
  const int border = (picture->width() - 2000) / 2;
  const int clientTop = picture->height() - 1000 - border;
  for (Point p : {Point{20, 20}, Point{1500, 300}, Point{1990, 990}})
    EXPECT_EQ(picture->at(border + p.x, clientTop + p.y) & 0xFFFFFF, oleToPixel(0x00C08040)) << p.x << "," << p.y;

  std::string tooLarge = form;
  tooLarge.replace(tooLarge.find("ClientWidth = Long 30000"), 24, "ClientWidth = Long 150000");
  tooLarge.replace(tooLarge.find("ClientHeight = Long 15000"), 25, "ClientHeight = Long 150000");
  const std::string text = run({write("large.zxf", tooLarge), "--out", dir.file("l.png")});
  EXPECT_EQ(code, 1);
  EXPECT_NE(text.find("(10000 x 10000 pixels) could not be drawn"), std::string::npos) << text;
  EXPECT_FALSE(std::filesystem::exists(dir.file("l.png")));
}

// The shipped example form with the library's own buttons: each state changes the pixels of the
// button it names, and only those.
TEST_F(Render, TheExampleButtonsChangeOnlyWhereTheStateIs) {
  std::ifstream in(std::string(ZXP_SOURCE_DIR) + "/examples/buttons.zxf", std::ios::binary);
  ASSERT_TRUE(in);
  std::ostringstream text;
  text << in.rdbuf();
  const host::ClassRegistry& library = library::classes();
  auto resting = renderForm(text.str(), RenderRequest{}, library, "buttons.zxf");
  ASSERT_TRUE(resting);
  // The form's client area starts under the caption; both buttons are 110 x 30 at y = 12.
  int border = (resting->width() - 608) / 2;
  int clientTop = resting->height() - 282 - border;  // the client area is 608 x 282
  struct Target {
    const char* name;
    Rect rect;  // in the picture
  };
  for (Target t : {Target{"cmdVista", Rect::fromXYWH(border + 12, clientTop + 12, 110, 30)},
                   Target{"cmdXP", Rect::fromXYWH(border + 131, clientTop + 12, 110, 30)}}) {
    std::vector<std::shared_ptr<gfx::Surface>> states;
    for (int s = 0; s < 3; ++s) {
      RenderRequest request;
      (s == 0 ? request.hover : s == 1 ? request.press : request.focus) = t.name;
      states.push_back(renderForm(text.str(), request, library, "buttons.zxf"));
      ASSERT_TRUE(states.back());
    }
    auto differences = [&](const gfx::Surface& a, const gfx::Surface& b, bool inside) {
      int n = 0;
      for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
          if (t.rect.contains(Point{x, y}) == inside && (a.at(x, y) & 0xFFFFFF) != (b.at(x, y) & 0xFFFFFF)) ++n;
      return n;
    };
    const gfx::Surface& hover = *states[0];
    const gfx::Surface& press = *states[1];
    const gfx::Surface& focus = *states[2];
    // Hover and press change most of the face; the press differs from the hover look.
    EXPECT_GT(differences(*resting, hover, true), 110 * 30 / 2) << t.name;
    EXPECT_GT(differences(*resting, press, true), 110 * 30 / 2) << t.name;
    EXPECT_GT(differences(hover, press, true), 110 * 30 / 4) << t.name;
    // A focused button shows the hover look.
    EXPECT_EQ(differences(hover, focus, true), 0) << t.name;
    for (const gfx::Surface* s : {&hover, &press, &focus}) EXPECT_EQ(differences(*resting, *s, false), 0) << t.name;
  }
}

}  // namespace
}  // namespace zxp::render
