// The live gallery's shell, headless: one skinned form holding the page tabs, the control list,
// the page, the property panel and the event log; a click selects a control for the panel, the
// control list finds a class across pages, themes recolour the skin and the gallery's headers,
// and the skin's close box closes the gallery.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "bars/ZorvaXPHookTab.h"
#include "bars/ZorvaXPStatusBar.h"
#include "bars/ZorvaXPToolBar.h"
#include "gallery/DropDownMenus.h"
#include "formskin/ZorvaForm.h"
#include "gallery/Shell.h"
#include "library/ClassTable.h"
#include "library/ToolboxBitmaps.h"
#include "platform/services/Recording.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TestInput.h"
#include "support/TestControl.h"

namespace zxp::gallery {
namespace {

Pixel pixelOf(COLORREF c) { return makePixel(GetRValue(c), GetGValue(c), GetBValue(c)); }

class GalleryShell : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::resetWindowSystem();
    ui::setScreenSize(Size{1400, 880});
  }
  void TearDown() override { ui::resetWindowSystem(); }

  std::vector<Shell::Entry> entries() {
    auto picture = gfx::Surface::create(60, 40);
    picture->fill(makePixel(200, 0, 0));
    FormBuilder live = [this](Point at) {
      host::FormOptions o;
      o.screenPos = at;
      auto form = std::make_unique<host::Form>(o);
      form->add(registry, "TestXP", "cmdOne", host::ExtenderRecord::inPixels(20, 20, 100, 40));
      form->add(registry, "TestXP", "cmdTwo", host::ExtenderRecord::inPixels(20, 80, 100, 40));
      return form;
    };
    FormBuilder broken = [](Point) -> std::unique_ptr<host::Form> { throw host::FormFileError(3, "bad value"); };
    return {{"Still", picture, {}}, {"Live", nullptr, live}, {"Broken", nullptr, broken}};
  }
  void clickTab(const Shell& shell, size_t i) {
    Rect r = shell.tabRect(i);
    input.moveTo(shell.tabWindow(), Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2}).click();
  }
  static Rect screenRect(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return Rect{r.left, r.top, r.right, r.bottom};
  }
  // How many pixels of a window's picture inside `area` have the colour `colour` (or, when
  // `other` is set, any other colour).
  static int pixelsOf(HWND h, Rect area, Pixel colour, bool other = false) {
    auto shot = ui::snapshotWindow(h);
    EXPECT_TRUE(shot);
    int n = 0;
    for (int y = std::max(area.top, 0); shot && y < std::min(area.bottom, shot->height()); ++y)
      for (int x = std::max(area.left, 0); x < std::min(area.right, shot->width()); ++x)
        n += ((shot->at(x, y) & 0xFFFFFF) == colour) != other;
    return n;
  }

  services::RecordingServices services;
  ui::TestInput input;
  host::ClassRegistry registry = testing::testRegistry();
};

TEST_F(GalleryShell, OneSkinnedFormHoldsThePanesAndThePage) {
  Shell shell(entries());
  host::Form* main = shell.mainForm();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->BorderStyle(), 0);
  ASSERT_NE(shell.skin(), nullptr);
  EXPECT_EQ(GetActiveWindow(), main->hWnd());
  // Every pane is a child of the gallery's form, under the title strip, and none overlap.
  const Rect strip = screenRect(shell.skin()->hWnd());
  std::vector<Rect> panes;
  for (HWND h : {shell.tabWindow(), shell.toolbox().hWnd(), shell.pageWindow(), shell.panel().hWnd(), shell.logWindow()}) {
    EXPECT_EQ(GetParent(h), main->hWnd());
    Rect r = screenRect(h);
    EXPECT_GE(r.top, strip.bottom);
    for (const Rect& o : panes) EXPECT_TRUE(r.intersect(o).empty());
    panes.push_back(r);
  }
  EXPECT_EQ(shell.pageArea(), screenRect(shell.pageWindow()));

  // A live page's form is a child of the page area, so it moves with the gallery's form.
  clickTab(shell, 1);
  ASSERT_NE(shell.form(), nullptr);
  const HWND form = shell.form()->hWnd();
  EXPECT_EQ(std::tuple(GetParent(form), GetActiveWindow()), std::tuple(shell.pageWindow(), main->hWnd()));
  const Rect before = screenRect(form);
  SetWindowPos(main->hWnd(), 0, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  const Rect after = screenRect(form);
  EXPECT_EQ(std::tuple(after.left - before.left, after.top - before.top), std::tuple(40 - 6, 30 - 4));

  // The form's close box unloads it, once the message is done, and nothing of it stays
  // selected; its tab loads it again, as it does a form that unloaded itself.
  shell.selectControl(shell.form()->control("cmdOne"));
  SendMessageA(form, WM_CLOSE, 0, 0);
  input.advance(20);
  EXPECT_TRUE(shell.form()->unloaded());
  EXPECT_EQ(std::tuple(shell.selectedControl(), shell.panel().model().object()), std::tuple(nullptr, nullptr));
  EXPECT_FALSE(IsWindowVisible(shell.selectionRing()));
  input.advance(1000);  // not a double click
  clickTab(shell, 1);
  ASSERT_NE(shell.form(), nullptr);
  EXPECT_FALSE(shell.form()->unloaded());
  shell.form()->Unload();
  input.advance(1000);  // not a double click
  clickTab(shell, 1);
  ASSERT_NE(shell.form(), nullptr);
  EXPECT_FALSE(shell.form()->unloaded());
  EXPECT_TRUE(IsWindowVisible(shell.form()->hWnd()));

  // A page whose form fails shows why in the log; the shell goes on.
  clickTab(shell, 2);
  EXPECT_EQ(shell.form(), nullptr);
  ASSERT_EQ(shell.log().size(), 1u);
  EXPECT_NE(shell.log().back().find("line 3: bad value"), std::string::npos) << shell.log().back();
  clickTab(shell, 0);
  EXPECT_TRUE(IsWindowVisible(shell.stillWindow()));

  // Ctrl+PgDn and Ctrl+PgUp step through the pages, round the ends.
  input.chord({VK_CONTROL}, VK_NEXT);
  EXPECT_EQ(std::tuple(shell.selected(), shell.tabControl()->SelectedTab()), std::tuple(1u, 2));
  input.chord({VK_CONTROL}, VK_PRIOR);
  input.chord({VK_CONTROL}, VK_PRIOR);
  EXPECT_EQ(shell.selected(), 2u);
  input.key(VK_NEXT);  // without Ctrl: nothing
  EXPECT_EQ(shell.selected(), 2u);
}

TEST_F(GalleryShell, AClickSelectsAControlForThePanelAndEditsReachIt) {
  Shell shell(entries());
  shell.select(1);
  // The page's form itself is selected at first.
  EXPECT_EQ(std::tuple(shell.selectedControl(), shell.panel().model().object()), std::tuple(nullptr, shell.form()));

  // A control's own mouse hook that ends the hook chain (as the date picker's does while its
  // calendar is open) does not keep the press from selecting.
  HHOOK greedy = SetWindowsHookExA(
      WH_MOUSE, [](int, WPARAM, LPARAM) -> LRESULT { return 0; }, 0, GetCurrentThreadId());
  auto& two = shell.form()->control("cmdTwo")->as<testing::TestXP>();
  input.moveTo(two.hWnd(), Point{5, 5}).click();
  UnhookWindowsHookEx(greedy);
  ASSERT_NE(shell.selectedControl(), nullptr);
  EXPECT_EQ(std::tuple(shell.selectedControl()->Name(), shell.panel().model().title(), shell.toolbox().highlighted()),
            std::tuple("cmdTwo", "cmdTwo (TestXP)", "TestXP"));
  // The click still reached the control.
  EXPECT_EQ(shell.log().back(), "cmdTwo.Click");
  // The ring frames the control, in the same parent, on top.
  ASSERT_TRUE(IsWindowVisible(shell.selectionRing()));
  const Rect ring = screenRect(shell.selectionRing()), ctl = screenRect(two.hWnd());
  EXPECT_EQ(GetParent(shell.selectionRing()), GetParent(two.hWnd()));
  EXPECT_LT(ring.left, ctl.left);
  EXPECT_GT(ring.right, ctl.right);
  EXPECT_EQ(ring.width() - ctl.width(), ring.height() - ctl.height());

  // Editing a text in place: the field over the value, typed text, Enter.
  PropertyPanel& panel = shell.panel();
  const size_t caption = static_cast<size_t>(panel.model().find("Caption"));
  ASSERT_TRUE(panel.beginEdit(caption));
  ASSERT_NE(panel.editWindow(), 0u);
  EXPECT_EQ(GetFocus(), panel.editWindow());
  input.key(VK_END).type(" now").key(VK_RETURN);
  input.pump();
  EXPECT_EQ(std::tuple(panel.editWindow(), two.Caption()), std::tuple(0u, "cmdTwo now"));
  EXPECT_EQ(shell.log().back(), "Set cmdTwo (TestXP).Caption = cmdTwo now");
  // Escape gives the edit up.
  ASSERT_TRUE(panel.beginEdit(caption));
  input.type("gone").key(VK_ESCAPE);
  input.pump();
  EXPECT_EQ(two.Caption(), "cmdTwo now");

  // A click on a colour's swatch offers colours in a menu.
  const size_t colour = static_cast<size_t>(panel.model().find("ColorNormal"));
  const Rect swatchRow = panel.valueRect(colour);
  input.whileModal([](ui::TestInput& menu) {
    for (int i = 0; i < 7; ++i) menu.key(VK_DOWN);
    menu.key(VK_RETURN);
  });
  input.moveTo(panel.hWnd(), Point{swatchRow.left + 10, swatchRow.top + 8}).click();
  input.pump();
  EXPECT_EQ(two.ColorNormal(), 0x0080FFu);  // the seventh colour, orange
  EXPECT_EQ(shell.log().back(), "Set cmdTwo (TestXP).ColorNormal = &H000080FF&");

  // An enumeration shows its member's name; a click on it offers the names in a menu.
  const size_t style = static_cast<size_t>(panel.model().find("Style"));
  EXPECT_EQ(panel.model().rows()[style].value, "Flat");
  const Rect styleCell = panel.valueRect(style);
  input.whileModal([](ui::TestInput& menu) { menu.key(VK_DOWN).key(VK_DOWN).key(VK_RETURN); });
  input.moveTo(panel.hWnd(), Point{styleCell.left + 10, styleCell.top + 8}).click();
  input.pump();
  EXPECT_EQ(two.Style(), testing::TestXP::StyleType::Raised);
  EXPECT_EQ(shell.log().back(), "Set cmdTwo (TestXP).Style = Raised");

  // A click on a Boolean's value flips it; a refused value shows its error in red.
  const size_t enabled = static_cast<size_t>(panel.model().find("Enabled"));
  const Rect cell = panel.valueRect(enabled);
  ASSERT_FALSE(cell.empty());
  input.moveTo(panel.hWnd(), Point{cell.left + 8, cell.top + 5}).click();
  EXPECT_FALSE(two.Enabled());
  const size_t ratio = static_cast<size_t>(panel.model().find("Ratio"));
  ASSERT_TRUE(panel.beginEdit(ratio));
  SetWindowTextA(panel.editWindow(), "not a number");
  input.key(VK_RETURN);
  input.pump();
  EXPECT_NE(panel.model().error().find("Error 13"), std::string::npos) << panel.model().error();
  const Rect whole = screenRect(panel.hWnd());
  const Rect errorStrip{0, whole.height() - PropertyPanel::kErrorHeight, whole.width(), whole.height()};
  EXPECT_GT(pixelsOf(panel.hWnd(), errorStrip, makePixel(190, 0, 0)), 20);

  // A click on the form's background selects the form; leaving the page drops the selection.
  input.moveTo(shell.form()->hWnd(), Point{2, 2}).click();
  EXPECT_EQ(shell.selectedControl(), nullptr);
  EXPECT_FALSE(IsWindowVisible(shell.selectionRing()));
  shell.select(0);
  EXPECT_EQ(shell.panel().model().object(), nullptr);
}

TEST_F(GalleryShell, ALongPropertyListScrollsAndEditsBringTheirRowIntoView) {
  FormBuilder skinned = [](Point at) {
    host::FormOptions o;
    o.screenPos = at;
    o.borderStyle = 0;
    auto form = std::make_unique<host::Form>(o);
    host::ExtenderRecord r = host::ExtenderRecord::inPixels(0, 0, 320, 45);
    r.align = host::Align::vbAlignTop;
    form->add(library::classes(), "ZorvaForm", "Skin", r);
    return form;
  };
  Shell shell({{"Skinned", nullptr, skinned}});
  ASSERT_TRUE(shell.pickClass("ZorvaForm"));
  PropertyPanel& panel = shell.panel();
  const int rows = static_cast<int>(panel.model().rows().size());
  ASSERT_GT(rows, panel.visibleRows());  // the skin's 59 colours and more do not fit
  const size_t last = static_cast<size_t>(rows - 1);
  EXPECT_TRUE(panel.valueRect(last).empty());
  // The wheel scrolls three rows a notch, and never past the ends.
  const Rect cell0 = panel.valueRect(0);
  input.moveTo(panel.hWnd(), Point{cell0.left, cell0.top + 2}).click().key(VK_ESCAPE);
  input.pump();
  input.wheel(-1);
  EXPECT_EQ(panel.firstVisible(), 3);
  for (int i = 0; i < 40; ++i) input.wheel(-1);
  EXPECT_EQ(panel.firstVisible(), rows - panel.visibleRows());
  EXPECT_FALSE(panel.valueRect(last).empty());
  input.key(VK_PRIOR);
  EXPECT_EQ(panel.firstVisible(), rows - 2 * panel.visibleRows());
  panel.scrollTo(-5);
  EXPECT_EQ(panel.firstVisible(), 0);
  // Editing a row out of view scrolls to it first.
  ASSERT_TRUE(panel.beginEdit(last));
  EXPECT_FALSE(panel.valueRect(last).empty());
  panel.endEdit(false);
}

TEST_F(GalleryShell, TheControlListShowsEveryClassAndFindsItsPage) {
  Shell shell(entries());
  const auto& classes = library::classes().classes();
  ASSERT_EQ(shell.toolbox().items().size(), classes.size());
  for (size_t i = 0; i < classes.size(); ++i) {
    const Toolbox::Item& item = shell.toolbox().items()[i];
    EXPECT_EQ(item.className, classes[i].name);
    ASSERT_NE(item.picture, nullptr) << item.className;
    EXPECT_EQ(std::tuple(item.picture->width(), item.picture->height()),
              std::tuple(library::kToolboxWidth, library::kToolboxHeight));
  }
  // The list draws each picture: the button's row shows pixels of its picture.
  const Rect row = shell.toolbox().rowRect(0);
  EXPECT_GT(pixelsOf(shell.toolbox().hWnd(), Rect{0, row.top, 30, row.bottom}, makePixel(250, 250, 252), true), 20);

  // From the still page, a class held by the live page shows that page and selects its first.
  EXPECT_TRUE(shell.pickClass("testxp"));
  EXPECT_EQ(shell.selected(), 1u);
  ASSERT_NE(shell.selectedControl(), nullptr);
  EXPECT_EQ(shell.selectedControl()->Name(), "cmdOne");
  EXPECT_FALSE(shell.pickClass("ZorvaXPCalender"));
  EXPECT_EQ(shell.selected(), 1u);
  // A click on a row the page lacks says so in the log.
  const Rect calendarRow = shell.toolbox().rowRect(static_cast<size_t>(shell.toolbox().find("ZorvaXPCalender")));
  input.moveTo(shell.toolbox().hWnd(), Point{40, calendarRow.top + 5}).click();
  EXPECT_EQ(shell.log().back(), "No page shows a ZorvaXPCalender.");
}

TEST_F(GalleryShell, AThemeSwitchRecoloursTheSkinAndTheGallery) {
  Shell shell(entries());
  formskin::ZorvaForm& skin = *shell.skin();
  EXPECT_EQ(shell.theme(), 1);
  auto stripBefore = ui::snapshotWindow(skin.hWnd());
  for (int theme : {9, 4, 17}) {
    shell.setTheme(theme);
    ui::eventLoop().processPendingEvents();
    EXPECT_EQ(shell.theme(), theme);
    // The panel's and the log's headers start from the skin's first gradient colour.
    const Pixel accent = pixelOf(skin.GradientColor1() & 0xFFFFFF);
    EXPECT_EQ(ui::snapshotWindow(shell.panel().hWnd())->at(2, 0) & 0xFFFFFF, accent) << theme;
    EXPECT_EQ(ui::snapshotWindow(shell.logWindow())->at(2, 0) & 0xFFFFFF, accent) << theme;
    EXPECT_EQ(shell.log().back(), "Theme " + std::to_string(theme) + ": " + Shell::themeName(theme));
  }
  // The theme button's menu applies the theme chosen in it.
  input.whileModal([](ui::TestInput& menu) {
    for (int i = 0; i < 3; ++i) menu.key(VK_DOWN);
    menu.key(VK_RETURN);
  });
  input.moveTo(shell.mainForm()->control("cmdTheme")->object().hWnd(), Point{20, 8}).click();
  input.pump();
  EXPECT_EQ(std::tuple(shell.theme(), shell.log().back()), std::tuple(3, "Theme 3: Modern XP"));

  // The title strip itself was repainted in other colours.
  auto stripAfter = ui::snapshotWindow(skin.hWnd());
  int changed = 0;
  for (int y = 0; y < stripAfter->height(); ++y)
    for (int x = 0; x < stripAfter->width(); ++x) changed += stripAfter->at(x, y) != stripBefore->at(x, y);
  EXPECT_GT(changed, stripAfter->width() * stripAfter->height() / 2);
  EXPECT_STREQ(Shell::themeName(0), "");
  EXPECT_STREQ(Shell::themeName(18), "");
}

TEST_F(GalleryShell, TheSkinsCloseBoxClosesTheGallery) {
  int closed = 0;
  {
    Shell shell(entries());
    shell.onClosed = [&] { ++closed; };
    shell.select(1);
    const RECT close = shell.skin()->buttonRect(formskin::Area::Close);
    input.moveTo(shell.skin()->hWnd(), Point{(close.left + close.right) / 2, (close.top + close.bottom) / 2}).click();
    input.advance(50);
    EXPECT_EQ(std::tuple(closed, shell.form()), std::tuple(1, nullptr));
    EXPECT_TRUE(shell.mainForm()->unloaded());
  }
  // Nothing of the gallery is left behind.
  EXPECT_EQ(std::tuple(closed, GetActiveWindow()), std::tuple(1, 0u));
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
  EXPECT_GT(pixelsOf(shell.logWindow(), Rect{0, 0, 1 << 16, 1 << 16}, makePixel(0, 110, 0)), 20);

  // A line said again counts up in place.
  for (int i = 0; i < 3; ++i) shell.appendLog("sbMain.Timer");
  EXPECT_EQ(shell.log().back(), "sbMain.Timer (3 times)");
  shell.appendLog("sbMain.Timer (3 times)");  // a line that only looks like a count
  EXPECT_EQ(shell.log().back(), "sbMain.Timer (3 times) (2 times)");
  // Periodic events (a name ending in Timer) keep one counted line each where they first
  // appeared, however they interleave: a click's lines stay in view under them.
  shell.appendLog("tbMain.MouseOverTimer");
  shell.appendLog("cmdOne.Click");
  for (int i = 0; i < 50; ++i) {
    shell.appendLog("sbMain.Timer");
    shell.appendLog("tbMain.MouseOverTimer");
    shell.appendLog("Option1(2).Timer");
  }
  EXPECT_EQ(std::vector<std::string>(shell.log().end() - 4, shell.log().end()),
            (std::vector<std::string>{"tbMain.MouseOverTimer (51 times)", "cmdOne.Click", "sbMain.Timer (50 times)",
                                      "Option1(2).Timer (50 times)"}));
  shell.appendLog("cmdOne.Timers(1)");  // not a Timer event
  shell.appendLog("cmdOne.Timers(1)");
  EXPECT_EQ(shell.log().back(), "cmdOne.Timers(1) (2 times)");
  shell.appendLog("cmdOne.Click");
  shell.appendLog("cmdOne.Timers(1)");
  EXPECT_EQ(shell.log().back(), "cmdOne.Timers(1)");

  // The log keeps a bounded number of lines.
  for (size_t i = 0; i < EventLog::kKept + 10; ++i) shell.appendLog("line " + std::to_string(i));
  EXPECT_EQ(shell.log().size(), EventLog::kKept);
  EXPECT_EQ(shell.log().back(), "line " + std::to_string(EventLog::kKept + 9));
}

// A 1280 x 1024 display (or any other) holds the whole gallery: its window fits what the
// display leaves, and the page area still holds the widest example form, the list and the
// panel giving up width for it.
TEST_F(GalleryShell, TheGalleryFitsTheDisplayAndKeepsRoomForTheWidestPage) {
  EXPECT_EQ(Shell::screenFor(std::nullopt), Shell::kWideScreen);
  EXPECT_EQ(Shell::screenFor(Size{2560, 1440}), Shell::kWideScreen);
  EXPECT_EQ(Shell::screenFor(Size{640, 480}), Shell::kSmallestScreen);
  const Size screen = Shell::screenFor(Size{1280, 1024});
  EXPECT_LE(screen.cx + Shell::kDesktopFrame.cx, 1280);
  EXPECT_LE(screen.cy + Shell::kDesktopFrame.cy, 1024);
  EXPECT_EQ(std::tuple(Shell::columnsFor(1388).toolbox, Shell::columnsFor(1388).panel),
            std::tuple(Shell::kToolboxWidth, Shell::kPanelWidth));

  ui::setScreenSize(screen);
  Shell shell(entries());
  const Rect main = screenRect(shell.mainForm()->hWnd());
  EXPECT_TRUE(main.left >= 0 && main.top >= 0 && main.right <= screen.cx && main.bottom <= screen.cy);
  std::vector<Rect> panes;
  for (HWND h : {shell.tabWindow(), shell.toolbox().hWnd(), shell.pageWindow(), shell.panel().hWnd(), shell.logWindow()}) {
    const Rect r = screenRect(h);
    EXPECT_FALSE(r.empty());
    EXPECT_TRUE(r.left >= main.left && r.right <= main.right && r.bottom <= main.bottom);
    for (const Rect& o : panes) EXPECT_TRUE(r.intersect(o).empty());
    panes.push_back(r);
  }
  // The widest example form (the dates page) fits beside its offset.
  std::ifstream in(std::string(ZXP_SOURCE_DIR) + "/examples/dates.zxf");
  std::ostringstream text;
  text << in.rdbuf();
  auto dates = host::Form::load(text.str(), library::classes(), true, Point{0, 0});
  const Rect datesWindow = screenRect(dates->hWnd());
  EXPECT_GE(shell.pageArea().width(), datesWindow.width() + 12);
}

TEST(GalleryPages, APageIsFoundByItsNameOrItsTabTitleInAnyCase) {
  std::vector<Page> list = {stillPage("fonts", "Fonts", 1, nullptr), stillPage("textbox", "Text", 2, nullptr),
                            stillPage("formskin", "Form skin", 3, nullptr), stillPage("grid", "Grid", 4, nullptr)};
  auto found = [&](std::string_view s) -> std::string {
    const Page* p = findPage(list, s);
    return p ? p->name : "";
  };
  EXPECT_EQ(found("grid"), "grid");
  EXPECT_EQ(found("Grid"), "grid");
  EXPECT_EQ(found("Text"), "textbox");
  EXPECT_EQ(found("TEXTBOX"), "textbox");
  EXPECT_EQ(found("form skin"), "formskin");
  EXPECT_EQ(found("Form skin"), "formskin");
  EXPECT_EQ(found("Form"), "");
  EXPECT_EQ(found(""), "");
}

// The Bars page's drop-down button opens a menu under itself; the command chosen there shows in
// the status bar.
TEST_F(GalleryShell, AToolBarsDropDownButtonOpensItsMenu) {
  std::ifstream in(std::string(ZXP_SOURCE_DIR) + "/examples/bars.zxf");
  std::ostringstream text;
  text << in.rdbuf();
  auto form = host::Form::load(text.str(), library::classes(), true, Point{10, 10});
  ASSERT_EQ(connectDropDownMenus(*form), 3);
  auto* bar = form->controlAs<bars::ZorvaXPToolBar>("tbQuorin");
  auto* status = form->controlAs<bars::ZorvaXPStatusBar>("sbMain");
  ASSERT_TRUE(bar && status);
  input.pump();
  const bars::ButtonRect* menuButton = nullptr;
  for (const bars::ButtonRect& r : bar->buttonRects())
    if (r.Caption == "Menu") menuButton = &r;
  ASSERT_NE(menuButton, nullptr);
  const Point arrow{menuButton->Right - 4, (menuButton->Top + menuButton->Bottom) / 2};
  ASSERT_TRUE(bar->HitTest(arrow.x, arrow.y).InDropDown);
  int shown = 0;
  POINT under{menuButton->Left, menuButton->Bottom};
  ClientToScreen(bar->hWnd(), &under);
  Rect menuAt;
  input.whileModal([&](ui::TestInput& menu) {
    ++shown;
    // The menu's window (the menu class), under the button.
    char cls[16];
    for (HWND h = GetWindow(GetDesktopWindow(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
      if (IsWindowVisible(h) && GetClassNameA(h, cls, sizeof cls) && std::string_view(cls) == "#32768") {
        menuAt = screenRect(h);
        break;
      }
    menu.key(VK_DOWN).key(VK_DOWN).key(VK_RETURN);
  });
  input.moveTo(bar->hWnd(), arrow).click();
  input.pump();
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(std::tuple(menuAt.left, menuAt.top), std::tuple(under.x, under.y));
  EXPECT_EQ(status->HeaderCaption(1), "Menu: " + dropDownCommands()[1]);
}

}  // namespace
}  // namespace zxp::gallery
