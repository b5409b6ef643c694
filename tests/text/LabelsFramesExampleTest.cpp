// The shipped example form of labels and frames: it loads, round-trips, renders in every state
// zorvaxp-render offers, and a hover or press changes the pixels of the control it names only.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "library/ClassTable.h"
#include "platform/host/Form.h"
#include "platform/ui/EventLoop.h"
#include "render/Render.h"

namespace zxp::render {
namespace {

std::string exampleText() {
  std::ifstream in(std::string(ZXP_SOURCE_DIR) + "/examples/labels-frames.zxf", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

int differences(const gfx::Surface& a, const gfx::Surface& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if ((a.at(x, y) & 0xFFFFFF) != (b.at(x, y) & 0xFFFFFF)) ++n;
  return n;
}

TEST(LabelsFramesExample, LoadsRoundTripsAndRendersEachState) {
  const std::string text = exampleText();
  ASSERT_FALSE(text.empty());
  const host::ClassRegistry& library = library::classes();
  {
    ui::resetWindowSystem();
    auto form = host::Form::load(text, library);
    EXPECT_EQ(form->controlsIn(form->control("fraDropDown")).size(), 3u);
    const std::string saved = form->save();
    auto again = host::Form::load(saved, library);
    EXPECT_EQ(again->save(), saved);
  }
  ui::resetWindowSystem();
  auto resting = renderForm(text, RenderRequest{}, library, "labels-frames.zxf");
  ASSERT_TRUE(resting);
  RenderRequest hover;
  hover.hover = "lblLink";
  auto hovered = renderForm(text, hover, library, "labels-frames.zxf");
  ASSERT_TRUE(hovered);
  // The hover gradient covers most of the 220 x 24 label, and nothing else changes.
  EXPECT_GT(differences(*resting, *hovered), 220 * 24 / 2);
  EXPECT_LT(differences(*resting, *hovered), 220 * 24 + 1);
  RenderRequest press;
  press.press = "cmdProOne";
  auto pressed = renderForm(text, press, library, "labels-frames.zxf");
  ASSERT_TRUE(pressed);
  EXPECT_GT(differences(*resting, *pressed), 76 * 24 / 2);
  EXPECT_LT(differences(*resting, *pressed), 76 * 24 + 1);
}

}  // namespace
}  // namespace zxp::render
