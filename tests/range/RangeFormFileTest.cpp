// The range controls in form files: the shipped example loads with its values (its round trip is
// checked with every example), and a wrongly typed value names its line.

#include <fstream>
#include <sstream>

#include "library/ClassTable.h"
#include "range/RangeFixture.h"
#include "range/ZorvaXPProgressBar.h"
#include "range/ZorvaXPSpin.h"
#include "range/ZorvaXPVScrollBar.h"

namespace zxp::testing {
namespace {

using RangeFormFile = RangeTest;

std::string exampleText() {
  std::ifstream in(std::string(ZXP_SOURCE_DIR) + "/examples/range.zxf", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST_F(RangeFormFile, TheExampleLoadsWithItsValues) {
  const std::string text = exampleText();
  ASSERT_FALSE(text.empty());
  form.reset();
  std::unique_ptr<host::Form> loaded = host::Form::load(text, library::classes());
  EXPECT_EQ(loaded->control("vsbMain")->as<range::ZorvaXPVScrollBar>().Value(), 90);
  EXPECT_FALSE(loaded->control("vsbDisabled")->as<range::ZorvaXPVScrollBar>().Enabled());
  EXPECT_EQ(loaded->control("spnRight")->as<range::ZorvaXPSpin>().Value(), -250);
  EXPECT_EQ(loaded->control("pbGlass")->as<range::ZorvaXPProgressBar>().GradientMode(), range::GradientDType::Center);
}

TEST_F(RangeFormFile, AWronglyTypedValueNamesItsLine) {
  const std::string text =
      "ZorvaXP Form 1\nBegin Form frm\n  Begin ZorvaXPHScrollBar hsb\n    @Width = 3000\n    @Height = 285\n"
      "    Max = String \"many\"\n  End\nEnd\n";
  form.reset();
  EXPECT_EQ(loadErrorLine(text, library::classes()), 6);
}

}  // namespace
}  // namespace zxp::testing
