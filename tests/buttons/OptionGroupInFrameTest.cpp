// Option buttons inside a frame form their own group: the group follows the container window,
// so a click in the frame clears only the frame's buttons and a click on the form only the
// form's, here with the controls nested in the frame by a form file.

#include "buttons/ToggleFixture.h"
#include "library/ClassTable.h"
#include "text/ZorvaXPFrame.h"

namespace zxp::testing {
namespace {

class OptionGroupInFrame : public ToggleTest {
 protected:
  void SetUp() override {
    ToggleTest::SetUp();
    makeForm(true, &library::classes());
  }
  std::vector<bool> values() const {
    std::vector<bool> out;
    for (ZorvaXPOptionButton* o : opts) out.push_back(o->Value());
    return out;
  }
  std::vector<ZorvaXPOptionButton*> opts;
};

TEST_F(OptionGroupInFrame, AFormFileNestsTheGroupInItsFrame) {
  const char* text =
      "ZorvaXP Form 1\n"
      "Begin Form frmGroups\n"
      "  ClientWidth = Long 6000\n"
      "  ClientHeight = Long 3000\n"
      "  Begin ZorvaXPFrame fra\n"
      "    @Left = 150\n    @Top = 150\n    @Width = 3000\n    @Height = 1800\n"
      "    Begin ZorvaXPOptionButton optA\n      @Left = 150\n      @Top = 375\n      @Width = 1800\n      @Height = 345\n    End\n"
      "    Begin ZorvaXPOptionButton optB\n      @Left = 150\n      @Top = 825\n      @Width = 1800\n      @Height = 345\n    End\n"
      "  End\n"
      "  Begin ZorvaXPOptionButton optC\n    @Left = 3450\n    @Top = 300\n    @Width = 1800\n    @Height = 345\n  End\n"
      "End\n";
  form = host::Form::load(text, library::classes(), true, {10, 10});
  for (const char* n : {"optA", "optB", "optC"}) opts.push_back(&ext(n).as<ZorvaXPOptionButton>());
  EXPECT_EQ(ext("optA").Container(), &ext("fra"));
  input.moveTo(opts[0]->hWnd(), Point{60, 11}).click();
  input.moveTo(opts[2]->hWnd(), Point{60, 11}).click();
  input.moveTo(opts[1]->hWnd(), Point{60, 11}).click();
  EXPECT_EQ(values(), (std::vector<bool>{false, true, true}));
}

}  // namespace
}  // namespace zxp::testing
