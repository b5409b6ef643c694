// The live gallery's shell, headless: tabs switch pages without taking the activation from the
// page's form, and every event of the form's controls reaches the log.
#include <gtest/gtest.h>

#include "bars/ZorvaXPHookTab.h"
#include "gallery/Shell.h"
#include "platform/services/Recording.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TestInput.h"
#include "support/TestControl.h"

namespace zxp::gallery {
namespace {

class GalleryShell : public ::testing::Test {
 protected:
  void SetUp() override { ui::resetWindowSystem(); }
  void TearDown() override { ui::resetWindowSystem(); }

  std::vector<Shell::Entry> entries() {
    auto picture = gfx::Surface::create(60, 40);
    picture->fill(makePixel(200, 0, 0));
    FormBuilder live = [this](Point at) {
      host::FormOptions o;
      o.screenPos = at;
      auto form = std::make_unique<host::Form>(o);
      host::ExtenderRecord r;
      r.left = 300;
      r.top = 300;
      r.width = 1500;
      r.height = 600;
      form->add(registry, "TestXP", "cmdOne", r);
      r.top = 1200;
      form->add(registry, "TestXP", "cmdTwo", r);
      return form;
    };
    FormBuilder broken = [](Point) -> std::unique_ptr<host::Form> { throw host::FormFileError(3, "bad value"); };
    return {{"Still", picture, {}}, {"Live", nullptr, live}, {"Broken", nullptr, broken}};
  }
  void clickTab(const Shell& shell, size_t i) {
    Rect r = shell.tabRect(i);
    input.moveTo(shell.tabWindow(), Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2}).click();
  }

  services::RecordingServices services;
  ui::TestInput input;
  host::ClassRegistry registry = testing::testRegistry();
};

TEST_F(GalleryShell, TabsSwitchPagesAndTheFormKeepsTheActivation) {
  Shell shell(entries());
  EXPECT_EQ(shell.selected(), 0u);
  EXPECT_EQ(shell.form(), nullptr);
  EXPECT_TRUE(IsWindowVisible(shell.stillWindow()));
  // The strips and the page area share the screen without overlapping.
  RECT tabs{}, log{};
  GetWindowRect(shell.tabWindow(), &tabs);
  GetWindowRect(shell.logWindow(), &log);
  EXPECT_EQ(tabs.bottom, shell.pageArea().top);
  EXPECT_EQ(log.top, shell.pageArea().bottom);
  EXPECT_EQ(log.bottom, ui::screenSize().cy);

  clickTab(shell, 1);
  EXPECT_EQ(shell.selected(), 1u);
  ASSERT_NE(shell.form(), nullptr);
  EXPECT_FALSE(IsWindowVisible(shell.stillWindow()));
  HWND form = shell.form()->hWnd();
  EXPECT_EQ(GetActiveWindow(), form);
  RECT fr{};
  GetWindowRect(form, &fr);
  EXPECT_TRUE(shell.pageArea().contains(Point{fr.left, fr.top}));

  // Clicking the active tab again keeps the same form; the strip does not take the activation.
  clickTab(shell, 1);
  EXPECT_EQ(shell.form()->hWnd(), form);
  EXPECT_EQ(GetActiveWindow(), form);
  // The form's close box hides it; its tab shows it again.
  SendMessageA(form, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(form));
  clickTab(shell, 1);
  EXPECT_TRUE(IsWindowVisible(form));
  EXPECT_EQ(GetActiveWindow(), form);

  // A page whose form fails shows why in the log; the shell goes on.
  clickTab(shell, 2);
  EXPECT_EQ(shell.form(), nullptr);
  ASSERT_EQ(shell.log().size(), 1u);
  EXPECT_NE(shell.log().back().find("line 3: bad value"), std::string::npos) << shell.log().back();
  clickTab(shell, 0);
  EXPECT_TRUE(IsWindowVisible(shell.stillWindow()));

  // Ctrl+PgDn and Ctrl+PgUp step through the pages, round the ends, from a still page, a form
  // and a page whose form failed.
  input.chord({VK_CONTROL}, VK_NEXT);
  EXPECT_EQ(shell.selected(), 1u);
  input.chord({VK_CONTROL}, VK_PRIOR);
  EXPECT_EQ(shell.selected(), 0u);
  input.chord({VK_CONTROL}, VK_PRIOR);
  EXPECT_EQ(shell.selected(), 2u);
  input.chord({VK_CONTROL}, VK_NEXT);
  EXPECT_EQ(shell.selected(), 0u);
  input.key(VK_NEXT);  // without Ctrl: nothing
  EXPECT_EQ(shell.selected(), 0u);
}

TEST_F(GalleryShell, ThePageTabsAreATabControlThatFollowsThePageKeys) {
  Shell shell(entries());
  bars::ZorvaXPHookTab* tabs = shell.tabControl();
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->TabsCount(), 3);
  EXPECT_EQ(tabs->TabCaption(2), "Live");
  EXPECT_EQ(GetParent(tabs->hWnd()), shell.tabWindow());
  // The strip shows the tabs and clips the body away.
  RECT strip{};
  GetClientRect(shell.tabWindow(), &strip);
  EXPECT_LE(shell.tabRect(0).bottom, strip.bottom);
  EXPECT_GE(tabs->bodyRect().top, strip.bottom);
  input.chord({VK_CONTROL}, VK_NEXT);
  EXPECT_EQ(tabs->SelectedTab(), 2);
  clickTab(shell, 2);
  EXPECT_EQ(shell.selected(), 2u);
  EXPECT_EQ(tabs->SelectedTab(), 3);
}

TEST_F(GalleryShell, TheLogShowsTheFormsEventsNewestLast) {
  Shell shell(entries());
  shell.select(1);
  HWND one = shell.form()->control("cmdOne")->object().hWnd();
  HWND two = shell.form()->control("cmdTwo")->object().hWnd();
  input.moveTo(one, Point{5, 5}).moveTo(one, Point{6, 7}).moveTo(one, Point{14, 9}).click();
  input.moveTo(two, Point{3, 3});
  // A run of moves over one control keeps only its latest line.
  EXPECT_EQ(std::vector<std::string>(shell.log().begin(), shell.log().end()),
            (std::vector<std::string>{"cmdOne.MouseMove(0, 0, 14, 9)", "cmdOne.MouseDown(1, 0, 14, 9)", "cmdOne.Click",
                                      "cmdTwo.MouseMove(0, 0, 3, 3)"}));

  // The log window draws the newest line in its own colour.
  auto shot = ui::snapshotWindow(shell.logWindow());
  ASSERT_TRUE(shot);
  int newest = 0;
  for (int y = 0; y < shot->height(); ++y)
    for (int x = 0; x < shot->width(); ++x) newest += (shot->at(x, y) & 0xFFFFFF) == makePixel(0, 110, 0);
  EXPECT_GT(newest, 20);

  // The log keeps a bounded number of lines.
  for (size_t i = 0; i < Shell::kLogKept + 10; ++i) shell.appendLog("line " + std::to_string(i));
  EXPECT_EQ(shell.log().size(), Shell::kLogKept);
  EXPECT_EQ(shell.log().back(), "line " + std::to_string(Shell::kLogKept + 9));
}

}  // namespace
}  // namespace zxp::gallery
