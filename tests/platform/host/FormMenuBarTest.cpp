// A host form with a menu bar: the keys a focused control gets still enter the form's bar (Alt,
// Alt+letter), a click on the bar drops its menu down, and the controls keep their client area.
#include "platform/ui/Menu.h"
#include "platform/ui/Screen.h"
#include "support/FormFixture.h"

namespace zxp::testing {
namespace {

class FormMenuBar : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    add("cmdOne");
    ShowWindow(form->hWnd(), SW_SHOW);
    SetActiveWindow(form->hWnd());
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 101, "&New");
    bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, file, "&File");
    ASSERT_TRUE(SetMenu(form->hWnd(), bar));
    SetFocus(ext("cmdOne").object().hWnd());
  }
  HMENU bar = 0;
};

TEST_F(FormMenuBar, KeysFromAFocusedControlAndClicksReachTheFormsBar) {
  const HWND control = ext("cmdOne").object().hWnd();
  ASSERT_EQ(GetFocus(), control);
  // Alt alone selects the bar (nothing dropped down yet); Escape leaves.
  bool entered = false;
  HWND dropped = 0;
  input.whileModal([&](ui::TestInput& in) {
    entered = true;
    dropped = ui::trackedMenuWindow();
    in.key(VK_ESCAPE);
  });
  input.key(VK_MENU);
  EXPECT_TRUE(entered);
  EXPECT_EQ(dropped, 0u);
  // Alt+F drops File's menu down under the bar.
  dropped = 0;
  input.whileModal([&](ui::TestInput& in) {
    dropped = ui::trackedMenuWindow();
    in.key(VK_ESCAPE).key(VK_ESCAPE);
  });
  input.altKey('F');
  ASSERT_NE(dropped, 0u);
  EXPECT_FALSE(IsWindow(dropped));
  // A click on the bar does the same; the focus comes back to the control afterwards.
  RECT wr;
  GetWindowRect(form->hWnd(), &wr);
  const Rect strip = ui::menuBarRect(form->hWnd());
  ASSERT_FALSE(strip.empty());
  RECT menu{};
  input.whileModal([&](ui::TestInput& in) {
    GetWindowRect(ui::trackedMenuWindow(), &menu);
    in.key(VK_ESCAPE).key(VK_ESCAPE);
  });
  input.moveTo(Point{wr.left + strip.left + 8, wr.top + strip.top + 8}).click();
  EXPECT_EQ(menu.top, wr.top + strip.bottom);
  EXPECT_EQ(GetFocus(), control);
  // The client area begins under the bar.
  POINT c{0, 0};
  ClientToScreen(form->hWnd(), &c);
  EXPECT_GE(c.y, wr.top + strip.bottom);
}

}  // namespace
}  // namespace zxp::testing
