// The date controls in form files: the shipped example loads with its values (its round trip is
// checked with every example); wrongly typed values name their line; a calendar's out-of-range
// month and year load clamped.

#include <fstream>
#include <sstream>

#include "dates/DatesFixture.h"
#include "dates/ZorvaXPDPicker.h"
#include "library/ClassTable.h"

namespace zxp::testing {
namespace {

using DatesFormFile = DatesTest;

std::string exampleText() {
  std::ifstream in(std::string(ZXP_SOURCE_DIR) + "/examples/dates.zxf", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST_F(DatesFormFile, TheExampleLoadsWithItsValues) {
  const std::string text = exampleText();
  ASSERT_FALSE(text.empty());
  form.reset();
  std::unique_ptr<host::Form> loaded = host::Form::load(text, library::classes());
  auto& pic = loaded->control("calPicture")->as<dates::ZorvaXPCalender>();
  EXPECT_FALSE(pic.Picture().empty());
  EXPECT_EQ(pic.TransparencyLevel(), 70);
  EXPECT_TRUE(pic.Shadow4Today());
  EXPECT_EQ(pic.SelectedDate(), 29);
  auto& ymd = loaded->control("dtpYYMMDD")->as<dates::ZorvaXPDPicker>();
  EXPECT_EQ(std::tuple(ymd.Mask(), ymd.text()), std::tuple(dates::MaskType::YY_MM_DD, "24.07.24"));
  EXPECT_TRUE(loaded->control("dtpLocked")->as<dates::ZorvaXPDPicker>().Locked());
  EXPECT_TRUE(loaded->control("dtpRequired")->as<dates::ZorvaXPDPicker>().Required());
}

TEST_F(DatesFormFile, BadValuesNameTheirLineOrLoadClamped) {
  const std::string bad =
      "ZorvaXP Form 1\nBegin Form frm\n  Begin ZorvaXPDPicker dtp\n    @Width = 1800\n    @Height = 315\n"
      "    Mask = String \"day first\"\n  End\nEnd\n";
  form.reset();
  EXPECT_EQ(loadErrorLine(bad, library::classes()), 6);
  const std::string clamped =
      "ZorvaXP Form 1\nBegin Form frm\n  Begin ZorvaXPCalender cal\n    @Width = 100\n    @Height = 100\n"
      "    SelectedMonth = Long 14\n    SelectedYear = Long 12000\n    TransparencyLevel = Long 999\n  End\nEnd\n";
  std::unique_ptr<host::Form> f = host::Form::load(clamped, library::classes());
  auto& c = f->control("cal")->as<dates::ZorvaXPCalender>();
  // The transparency level is stored as it stands; the blend then draws nothing.
  EXPECT_EQ(std::tuple(c.SelectedMonth(), c.SelectedYear(), c.TransparencyLevel(), f->control("cal")->Width()),
            std::tuple(12, 9999, 999, 2865));
}

}  // namespace
}  // namespace zxp::testing
