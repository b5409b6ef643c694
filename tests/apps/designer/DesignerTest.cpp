// The designer's window, headless: placing by drawing a rectangle, clicking, shift-clicking and
// rubber-band selection, dragging and handle resizing with snapping, keys, the grab handles' and
// grid's pixels, run and stop, and files (atomic, byte-identical, bad files not taken).
#include <gtest/gtest.h>

#include "DesignerFixture.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "bars/ZorvaXPHookTab.h"
#include "buttons/ZorvaXPButton.h"
#include "designer/Designer.h"
#include "library/ClassTable.h"
#include "platform/gfx/ImageFiles.h"
#include "platform/gfx/Surface.h"
#include "platform/services/Recording.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TestInput.h"

namespace zxp::designer {
namespace {

using host::Extender;

Pixel pixelOf(COLORREF c) { return makePixel(GetRValue(c), GetGValue(c), GetBValue(c)); }

std::string readFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class DesignerWindow : public DesignerFixture {
 protected:
  // A point of the design area from form coordinates in twips.
  Point at(int32_t xTwips, int32_t yTwips) const {
    const Point o = d->formOrigin();
    return Point{o.x + xTwips / 15, o.y + yTwips / 15};
  }
  Point centre(const Rect& r) const { return Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
  void pickTool(const std::string& cls) {
    const int row = d->toolbox().find(cls);
    ASSERT_GE(row, 0) << cls;
    input.moveTo(d->toolbox().hWnd(), centre(d->toolbox().rowRect(static_cast<size_t>(row)))).click();
  }
  void drag(Point from, Point to) {
    input.moveTo(d->designArea(), from).press();
    input.moveTo(d->designArea(), Point{(from.x + to.x) / 2, (from.y + to.y) / 2});
    input.moveTo(d->designArea(), to).release();
  }
  Extender& draw(const std::string& cls, Point from, Point to) {
    pickTool(cls);
    drag(from, to);
    EXPECT_EQ(d->document().selection().size(), 1u);
    return *d->document().selection().front();
  }
  // The composed screen's pixel at a point of the design area.
  Pixel screenAt(Point areaPoint) {
    input.pump();
    POINT p{areaPoint.x, areaPoint.y};
    ClientToScreen(d->designArea(), &p);
    return ui::composeScreen()->at(p.x, p.y) & 0xFFFFFF;
  }

};

TEST_F(DesignerWindow, ARectangleDrawnWithAToolPlacesAControlWithItsEightHandles) {
  Extender& b = draw("ZorvaXPButton", at(250, 250), at(1700, 800));
  EXPECT_EQ(b.Name(), "ZorvaXPButton1");
  EXPECT_EQ(d->document().bounds(b), Rect::fromXYWH(240, 240, 1440, 600));
  EXPECT_TRUE(d->tool().empty());  // the tool is used once
  EXPECT_EQ(d->panel().model().title(), "ZorvaXPButton1 (ZorvaXPButton)");

  // Each of the eight handles: filled in the lead colour, outlined, centred on its edge point.
  const Rect r = d->areaRect(b);
  for (int h = 1; h <= 8; ++h) {
    const Rect hr = Designer::handleRect(r, static_cast<Handle>(h));
    EXPECT_EQ(hr.width(), Designer::kHandle);
    EXPECT_EQ(screenAt(Point{hr.left, hr.top}), pixelOf(Designer::kHandleBorder)) << h;
    EXPECT_EQ(screenAt(Point{hr.left + 2, hr.top + 2}), pixelOf(Designer::kHandleFill)) << h;
    EXPECT_EQ(screenAt(Point{hr.right, hr.bottom}) == pixelOf(Designer::kHandleFill), false) << h;
  }
  // The control itself shows between the handles: the adorner covers only what it draws.
  const Pixel middle = screenAt(centre(r));
  EXPECT_NE(middle, pixelOf(Designer::kHandleFill));
  EXPECT_NE(middle, pixelOf(Designer::kHandleBorder));

  // A second control selected with Shift: its handles are white, the first keeps the lead.
  Extender& c = draw("ZorvaXPCheckBox", at(240, 1200), at(1680, 1560));
  input.moveTo(d->designArea(), centre(d->areaRect(b))).click();
  input.keyDown(VK_SHIFT);
  input.moveTo(d->designArea(), centre(d->areaRect(c))).click();
  input.keyUp(VK_SHIFT);
  ASSERT_EQ(d->document().selection().size(), 2u);
  const Rect second = Designer::handleRect(d->areaRect(c), Handle::Right);
  EXPECT_EQ(screenAt(Point{second.left + 2, second.top + 2}), pixelOf(Designer::kHandleOther));
  EXPECT_EQ(screenAt(Point{second.left, second.top}), pixelOf(Designer::kHandleBorder));
  const Rect first = Designer::handleRect(d->areaRect(b), Handle::Right);
  EXPECT_EQ(screenAt(Point{first.left + 2, first.top + 2}), pixelOf(Designer::kHandleFill));
  // Deselected: no handle is left on the screen.
  input.moveTo(d->designArea(), at(6000, 4800)).click();
  EXPECT_TRUE(d->document().selection().empty());
  EXPECT_NE(screenAt(Point{first.left + 2, first.top + 2}), pixelOf(Designer::kHandleFill));
  EXPECT_EQ(d->panel().model().title(), "Form1 (Form)");
}

TEST_F(DesignerWindow, ClicksShiftClicksAndTheRubberBandSelect) {
  Extender& a = draw("ZorvaXPButton", at(240, 240), at(1440, 720));
  Extender& b = draw("ZorvaXPButton", at(2400, 240), at(3600, 720));
  Extender& c = draw("ZorvaXPLabel", at(240, 2400), at(1440, 2880));
  input.moveTo(d->designArea(), centre(d->areaRect(a))).click();
  EXPECT_EQ(d->document().selection(), std::vector<Extender*>{&a});
  input.keyDown(VK_CONTROL);
  input.moveTo(d->designArea(), centre(d->areaRect(b))).click();
  input.keyUp(VK_CONTROL);
  EXPECT_EQ(d->document().selection(), (std::vector<Extender*>{&a, &b}));
  // A band from the empty form across the two buttons' lower parts.
  drag(at(120, 600), at(4000, 1000));
  EXPECT_EQ(d->document().selection(), (std::vector<Extender*>{&a, &b}));
  drag(at(120, 2000), at(600, 2600));
  EXPECT_EQ(d->document().selection(), std::vector<Extender*>{&c});
  // While the band is drawn its outline shows.
  input.moveTo(d->designArea(), at(4200, 3000)).press();
  input.moveTo(d->designArea(), at(5400, 4200));
  EXPECT_EQ(screenAt(at(4800, 3000)), pixelOf(Designer::kBand));
  input.release();
}

TEST_F(DesignerWindow, DraggingMovesAndAHandleResizesOnTheGridAsOneStepEach) {
  Extender& a = draw("ZorvaXPButton", at(240, 240), at(1440, 720));
  Extender& b = draw("ZorvaXPButton", at(240, 1200), at(1440, 1680));
  input.moveTo(d->designArea(), centre(d->areaRect(a))).click();
  input.keyDown(VK_SHIFT);
  input.moveTo(d->designArea(), centre(d->areaRect(b))).click();
  input.keyUp(VK_SHIFT);
  const Point from = centre(d->areaRect(a));
  input.moveTo(d->designArea(), from).press();
  for (int i = 1; i <= 5; ++i) input.moveTo(d->designArea(), Point{from.x + 3 * i, from.y + i});
  // The handles follow while the mouse is still down.
  const Rect moving = Designer::handleRect(d->areaRect(a), Handle::TopLeft);
  EXPECT_EQ(screenAt(Point{moving.left + 2, moving.top + 2}), pixelOf(Designer::kHandleFill));
  input.release();
  // 15 px right, 5 px down = 225, 75 twips: the lead's corner snaps to (480, 360).
  EXPECT_EQ(std::tuple(a.Left(), a.Top(), b.Left(), b.Top()), std::tuple(480, 360, 480, 1320));
  EXPECT_EQ(d->document().undoName(), "Move");

  input.moveTo(d->designArea(), centre(d->areaRect(a))).click();
  const Rect grip = Designer::handleRect(d->areaRect(a), Handle::BottomRight);
  input.moveTo(d->designArea(), centre(grip)).press();
  input.moveTo(d->designArea(), Point{centre(grip).x + 21, centre(grip).y + 9}).release();
  EXPECT_EQ(std::tuple(a.Width(), a.Height()), std::tuple(1560, 600));
  EXPECT_EQ(d->document().undoName(), "Size");
  input.chord({VK_CONTROL}, 'Z');
  EXPECT_EQ(d->document().undoName(), "Move");
}

TEST_F(DesignerWindow, KeysMoveResizeDeleteAndUndo) {
  draw("ZorvaXPButton", at(240, 240), at(1440, 720));
  Document& doc = d->document();
  auto lead = [&] { return doc.selection().front(); };
  input.key(VK_RIGHT);
  EXPECT_EQ(lead()->Left(), 360);
  input.chord({VK_SHIFT}, VK_DOWN);
  EXPECT_EQ(lead()->Height(), 600);
  input.chord({VK_CONTROL}, VK_LEFT);
  EXPECT_EQ(lead()->Left(), 345);  // one pixel, off the grid
  input.key(VK_DELETE);
  EXPECT_TRUE(doc.form().Controls().empty());
  input.chord({VK_CONTROL}, 'Z');
  ASSERT_EQ(doc.form().Controls().size(), 1u);
  EXPECT_EQ(doc.form().Controls().front()->Left(), 345);
  input.chord({VK_CONTROL}, 'Y');
  EXPECT_TRUE(doc.form().Controls().empty());
  input.chord({VK_CONTROL}, 'Z');
  // Copy and paste through the clipboard: a second control, named anew.
  input.moveTo(d->designArea(), centre(d->areaRect(*doc.form().Controls().front()))).click();
  input.chord({VK_CONTROL}, 'C');
  input.chord({VK_CONTROL}, 'V');
  ASSERT_EQ(doc.form().Controls().size(), 2u);
  EXPECT_EQ(doc.form().Controls().back()->Name(), "ZorvaXPButton2");
  // Escape drops a tool that was picked.
  pickTool("ZorvaXPLabel");
  input.key(VK_ESCAPE);
  EXPECT_TRUE(d->tool().empty());
}

TEST_F(DesignerWindow, TheGridShowsAndHides) {
  // A grid point of the empty form: (960, 960) twips is a dot.
  EXPECT_EQ(screenAt(at(960, 960)), pixelOf(Designer::kGridDot));
  d->toggleGrid();
  EXPECT_NE(screenAt(at(960, 960)), pixelOf(Designer::kGridDot));
  d->toggleGrid();
  d->document().setGrid(240);
  d->selectionChanged();
  EXPECT_EQ(screenAt(at(960, 960)), pixelOf(Designer::kGridDot));
  EXPECT_NE(screenAt(at(1080, 960)), pixelOf(Designer::kGridDot));
}

TEST_F(DesignerWindow, F5RunsTheFormInPlaceAndStoppingBringsTheDesignBack) {
  Extender& b = draw("ZorvaXPButton", at(240, 240), at(1440, 720));
  Extender& o1 = draw("ZorvaXPOptionButton", at(240, 1200), at(2400, 1560));
  draw("ZorvaXPOptionButton", at(240, 1800), at(2400, 2160));
  (void)o1;
  const std::string design = d->document().text();
  const Rect place = d->areaRect(b);
  input.key(0x74);  // F5
  ASSERT_TRUE(d->running());
  host::Form* run = d->document().running();
  EXPECT_TRUE(run->UserMode());
  EXPECT_FALSE(IsWindowVisible(d->adorner()));
  // The running form sits where the design form was, and its controls take the mouse.
  HWND runButton = run->control("ZorvaXPButton1")->object().hWnd();
  RECT rr{};
  GetWindowRect(runButton, &rr);
  POINT tl{place.left, place.top};
  ClientToScreen(d->designArea(), &tl);
  EXPECT_EQ(std::tuple(rr.left, rr.top), std::tuple(tl.x, tl.y));
  input.moveTo(runButton).click().advance(20);
  const auto& lines = d->log().lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "ZorvaXPButton1.Click"), lines.end());
  input.moveTo(run->control("ZorvaXPOptionButton2")->object().hWnd()).click().advance(20);
  // Edits are not taken while running.
  input.key(VK_DELETE);
  input.key(0x74);
  EXPECT_FALSE(d->running());
  EXPECT_EQ(d->document().text(), design);
  EXPECT_TRUE(IsWindowVisible(d->document().form().hWnd()));
  EXPECT_TRUE(IsWindowVisible(d->adorner()));
  // The design form's window takes no clicks of its own: a click selects.
  input.moveTo(d->designArea(), centre(d->areaRect(*d->document().form().control("ZorvaXPButton1")))).click();
  EXPECT_EQ(d->document().selection().front()->Name(), "ZorvaXPButton1");
  EXPECT_EQ(std::count(d->log().lines().begin(), d->log().lines().end(), "ZorvaXPButton1.Click"), 1);
}

TEST_F(DesignerWindow, FilesAreWrittenWholeKeptByteForByteAndBadOnesAreNotTaken) {
  draw("ZorvaXPButton", at(240, 240), at(1440, 720));
  const auto file = dir / "orders.zxf";
  ASSERT_TRUE(d->saveAs(file));
  const std::string saved = readFile(file);
  EXPECT_EQ(saved, d->document().text());
  EXPECT_FALSE(d->document().modified());
  // Reopened and saved without edits: the same bytes.
  ASSERT_TRUE(d->open(file));
  ASSERT_TRUE(d->save());
  EXPECT_EQ(readFile(file), saved);
  // What the designer saves loads in a plain host form, running.
  auto loaded = host::Form::load(saved, library::classes(), true);
  EXPECT_NE(loaded->control("ZorvaXPButton1"), nullptr);
  loaded.reset();

  // A malformed file: the log names its line; the form and the path stay, nothing is written.
  const auto bad = dir / "bad.zxf";
  const std::string badText = "ZorvaXP Form 1\nBegin Form F\n  Begin ZorvaXPButton b\n    @Left = x\n  End\nEnd\n";
  std::ofstream(bad, std::ios::binary) << badText;
  EXPECT_FALSE(d->open(bad));
  EXPECT_NE(d->log().lines().back().find("line 4"), std::string::npos) << d->log().lines().back();
  EXPECT_EQ(d->path(), file);
  ASSERT_NE(d->document().form().control("ZorvaXPButton1"), nullptr);
  input.moveTo(d->designArea(), centre(d->areaRect(*d->document().form().control("ZorvaXPButton1")))).click();
  input.key(VK_RIGHT);
  ASSERT_TRUE(d->save());
  EXPECT_EQ(readFile(bad), badText);
  EXPECT_NE(readFile(file), saved);
  // A file that cannot be written leaves the document modified.
  input.key(VK_RIGHT);
  EXPECT_FALSE(d->saveAs(dir / "no-such-folder" / "x.zxf"));
  EXPECT_TRUE(d->document().modified());
  EXPECT_FALSE(d->open(dir / "missing.zxf"));
}

TEST_F(DesignerWindow, AClickOnATabShowsItsPageToPlaceControlsOn) {
  Extender& tab = draw("ZorvaXPHookTab", at(240, 240), at(6240, 4080));
  auto& tabs = tab.as<bars::ZorvaXPHookTab>();
  ASSERT_GE(tabs.tabRects().size(), 2u);
  const bars::TabRect second = tabs.tabRects()[1];
  const Rect r = d->areaRect(tab);
  input.moveTo(d->designArea(), Point{r.left + second.Left + second.Width / 2, r.top + (second.Top + second.Bottom) / 2})
      .click();
  Extender& tabNow = *d->document().form().control("ZorvaXPHookTab1");
  EXPECT_EQ(tabNow.as<bars::ZorvaXPHookTab>().SelectedTab(), second.Index);
  EXPECT_EQ(d->document().undoName(), "Show tab");
  EXPECT_EQ(d->document().selection(), std::vector<Extender*>{&tabNow});
  // A control drawn on the page is the tab control's, on that tab; tab 1 hides it.
  Extender& b = draw("ZorvaXPButton", at(720, 1440), at(1920, 1920));
  EXPECT_EQ(b.Container(), &tabNow);
  const bars::TabRect first = tabNow.as<bars::ZorvaXPHookTab>().tabRects()[0];
  input.moveTo(d->designArea(), Point{r.left + first.Left + first.Width / 2, r.top + (first.Top + first.Bottom) / 2})
      .click();
  EXPECT_LT(d->document().form().control("ZorvaXPButton1")->Left(), -10000);
}

TEST_F(DesignerWindow, TabOrderModeShowsTheNumbersAndClicksSetThem) {
  Extender& a = draw("ZorvaXPButton", at(240, 240), at(1440, 720));
  draw("ZorvaXPButton", at(240, 1200), at(1440, 1680));
  draw("ZorvaXPButton", at(240, 2160), at(1440, 2640));
  input.moveTo(d->mainForm()->control("cmdTabs")->object().hWnd()).click();
  ASSERT_TRUE(d->tabOrderMode());
  // Each control's box, in the box colour, with its number's pixels in the text colour.
  for (const char* name : {"ZorvaXPButton1", "ZorvaXPButton2", "ZorvaXPButton3"}) {
    const Rect box = d->tabBox(*d->document().form().control(name));
    EXPECT_EQ(screenAt(Point{box.left + 1, box.top + 1}), pixelOf(Designer::kTabBack)) << name;
    int text = 0;
    for (int y = box.top; y < box.bottom; ++y)
      for (int x = box.left; x < box.right; ++x) text += screenAt(Point{x, y}) == pixelOf(Designer::kTabText);
    EXPECT_GT(text, 4) << name;
  }
  // Clicks give places 0, 1, 2 in their order, each an undo step; nothing moves.
  for (const char* name : {"ZorvaXPButton3", "ZorvaXPButton1", "ZorvaXPButton2"})
    input.moveTo(d->designArea(), centre(d->areaRect(*d->document().form().control(name)))).click();
  auto tab = [&](const char* name) { return d->document().form().control(name)->TabIndex(); };
  EXPECT_EQ(std::tuple(tab("ZorvaXPButton3"), tab("ZorvaXPButton1"), tab("ZorvaXPButton2")), std::tuple(0, 1, 2));
  EXPECT_EQ(d->document().undoName(), "Tab order");
  EXPECT_EQ(a.Left(), 240);
  // Escape leaves the mode and the boxes go.
  const Rect box = d->tabBox(*d->document().form().control("ZorvaXPButton1"));
  input.key(VK_ESCAPE);
  EXPECT_FALSE(d->tabOrderMode());
  EXPECT_NE(screenAt(Point{box.left + 1, box.top + 1}), pixelOf(Designer::kTabBack));
}

TEST_F(DesignerWindow, TheRightClickMenuArrangesTheSelection) {
  Extender& a = draw("ZorvaXPButton", at(240, 240), at(1440, 720));
  Extender& b = draw("ZorvaXPButton", at(2160, 360), at(2880, 720));
  Extender& c = draw("ZorvaXPButton", at(4800, 480), at(6000, 960));
  d->document().select(&a);
  d->document().toggle(&b);
  d->document().toggle(&c);
  d->selectionChanged();
  // The third item: space evenly across (the menu has the arrow keys, not the designer).
  input.whileModal([](ui::TestInput& menu) { menu.key(VK_DOWN).key(VK_DOWN).key(VK_DOWN).key(VK_RETURN); });
  input.moveTo(d->designArea(), centre(d->areaRect(b))).click(ui::MouseButton::Right);
  input.pump();
  EXPECT_EQ(d->document().undoName(), "Space evenly");
  EXPECT_EQ(b.Left() - (a.Left() + a.Width()), c.Left() - (b.Left() + b.Width()));
  // The commands themselves, as the menu runs them.
  d->arrange(Designer::arrangeTops);
  EXPECT_EQ(std::tuple(b.Top(), c.Top()), std::tuple(240, 240));
  d->arrange(Designer::arrangeSameSize);
  EXPECT_EQ(std::tuple(c.Width(), c.Height()), std::tuple(a.Width(), a.Height()));
  // All of the form sent to the back is the order it had: no step. One of them is.
  d->arrange(Designer::arrangeBack);
  EXPECT_EQ(d->document().undoName(), "Size");
  d->document().select(&c);
  d->arrange(Designer::arrangeBack);
  EXPECT_EQ(d->document().undoName(), "Send to back");
  EXPECT_EQ(d->document().form().Controls().front()->Name(), "ZorvaXPButton3");
  // The grid's size and snapping; the dots follow the size.
  d->arrange(Designer::grid16);
  EXPECT_EQ(d->document().grid(), 240);
  EXPECT_EQ(screenAt(at(3840, 3840)), pixelOf(Designer::kGridDot));
  EXPECT_NE(screenAt(at(3960, 3840)), pixelOf(Designer::kGridDot));
  d->arrange(Designer::grid4);
  EXPECT_EQ(d->document().grid(), 60);
  d->arrange(Designer::gridSnap);
  EXPECT_FALSE(d->document().snapping());
}

TEST_F(DesignerWindow, AFormBuiltHereRunsWithTheSamePixelsInAPlainHostForm) {
  draw("ZorvaXPFrame", at(240, 240), at(3840, 2160));
  draw("ZorvaXPLabel", at(480, 720), at(2880, 1200));  // inside the frame
  draw("ZorvaXPProgressBar", at(240, 2640), at(4800, 3000));
  draw("ZorvaXPLabel", at(4320, 240), at(6720, 720));
  host::letProperty(d->document().form().control("ZorvaXPLabel2")->object(), "Caption",
                    host::Variant(std::string("Total: 42")));
  d->document().propertyEdited("Set Caption");
  const std::string text = d->document().text();
  d->run();
  // A C++ program's form from the same text, on a free part of the screen.
  auto plain = host::Form::load(text, library::classes(), true, Point{880, 420});
  input.moveTo(Point{700, 860}).advance(50);
  auto screen = ui::composeScreen();
  host::Form& run = *d->document().running();
  for (const host::Extender* e : run.Controls()) {
    const HWND a = e->object().hWnd(), b = plain->control(e->Name())->object().hWnd();
    RECT ra{}, rb{};
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    ASSERT_EQ(std::tuple(ra.right - ra.left, ra.bottom - ra.top), std::tuple(rb.right - rb.left, rb.bottom - rb.top));
    int differ = 0;
    for (int y = 0; y < ra.bottom - ra.top; ++y)
      for (int x = 0; x < ra.right - ra.left; ++x)
        differ += screen->at(ra.left + x, ra.top + y) != screen->at(rb.left + x, rb.top + y);
    EXPECT_EQ(differ, 0) << e->Name();
  }
}

TEST_F(DesignerWindow, EditsNotSavedAreAskedForBeforeTheFormIsReplaced) {
  const auto file = dir / "kept.zxf";
  draw("ZorvaXPButton", at(240, 240), at(1440, 720));
  ASSERT_TRUE(d->saveAs(file));
  const std::string saved = readFile(file);
  input.key(VK_RIGHT);  // an edit not saved
  auto& boxes = *services.messageBoxes;
  // Cancel keeps the form as it is.
  boxes.answer = IDCANCEL;
  EXPECT_FALSE(d->newForm());
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown.back().text, "Save changes to kept.zxf?");
  EXPECT_EQ(boxes.shown.back().icon(), static_cast<UINT>(MB_ICONQUESTION));
  EXPECT_NE(d->document().form().control("ZorvaXPButton1"), nullptr);
  EXPECT_FALSE(d->open(file));
  EXPECT_TRUE(d->document().modified());
  // Yes saves, then the form goes.
  boxes.answer = IDYES;
  EXPECT_TRUE(d->newForm());
  EXPECT_NE(readFile(file), saved);
  EXPECT_EQ(d->document().form().control("ZorvaXPButton1"), nullptr);
  // No drops the edits; an unmodified form is not asked about.
  ASSERT_TRUE(d->open(file));
  input.moveTo(d->designArea(), centre(d->areaRect(*d->document().form().control("ZorvaXPButton1")))).click();
  input.key(VK_DELETE);
  boxes.answer = IDNO;
  const size_t asked = boxes.shown.size();
  EXPECT_TRUE(d->open(file));
  EXPECT_EQ(boxes.shown.size(), asked + 1);
  EXPECT_NE(d->document().form().control("ZorvaXPButton1"), nullptr);
  EXPECT_TRUE(d->newForm());
  EXPECT_EQ(boxes.shown.size(), asked + 1);
}

TEST_F(DesignerWindow, ClosingTheWindowWithEditsNotSavedAsksFirst) {
  bool closed = false;
  d->onClosed = [&] { closed = true; };
  auto& boxes = *services.messageBoxes;
  // Nothing edited: the window closes without a question.
  {
    Designer fresh;
    input.advance(20);
    bool gone = false;
    fresh.onClosed = [&] { gone = true; };
    const size_t asked = boxes.shown.size();
    PostMessageA(fresh.mainForm()->hWnd(), WM_CLOSE, 0, 0);
    input.advance(20);
    EXPECT_TRUE(gone);
    EXPECT_EQ(boxes.shown.size(), asked);
  }
  draw("ZorvaXPButton", at(240, 240), at(1440, 720));
  d->run();  // a running form is stopped before the question
  // Alt+F4 (WM_CLOSE) and the skin's close button (the form's requestUnload) ask; Cancel keeps it.
  boxes.answer = IDCANCEL;
  PostMessageA(d->mainForm()->hWnd(), WM_CLOSE, 0, 0);
  input.advance(20);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown.back().text, "Save changes to the new form?");
  EXPECT_FALSE(closed);
  EXPECT_TRUE(d->shell().alive());
  EXPECT_FALSE(d->running());
  d->mainForm()->requestUnload();
  input.advance(20);
  EXPECT_EQ(boxes.shown.size(), 2u);
  EXPECT_TRUE(d->shell().alive());
  // No lets it go.
  boxes.answer = IDNO;
  d->mainForm()->requestUnload();
  input.advance(20);
  EXPECT_EQ(boxes.shown.size(), 3u);
  EXPECT_TRUE(closed);
  EXPECT_FALSE(d->shell().alive());
}

TEST_F(DesignerWindow, OpenAndSaveWithNoPathTypedUseThePicker) {
  auto press = [&](host::Form& f, const char* name) {
    // Past the double-click time: a second click on the same button soon after is its DblClick.
    input.moveTo(d->designArea(), Point{300, 300}).advance(600);
    input.moveTo(f.control(name)->object().hWnd(), Point{10, 10}).click();
    input.pump();
  };
  draw("ZorvaXPButton", at(240, 240), at(1440, 720));
  // Save of a new form: the picker, in the designer's folder; what is typed there is written.
  press(*d->mainForm(), "cmdSave");
  ASSERT_NE(d->picker(), nullptr);
  d->picker()->openFolder(dir);
  d->picker()->setName("picked.zxf");
  press(d->picker()->form(), "cmdOK");
  EXPECT_EQ(d->picker(), nullptr);
  EXPECT_EQ(d->path(), dir / "picked.zxf");
  EXPECT_TRUE(std::filesystem::exists(dir / "picked.zxf"));
  // Open with the path field emptied: the picker lists the folder's forms; choosing one opens it.
  ASSERT_TRUE(d->newForm());
  SetWindowTextA(d->pathField(), "");
  press(*d->mainForm(), "cmdOpen");
  ASSERT_NE(d->picker(), nullptr);
  d->picker()->openFolder(dir);
  const auto& entries = d->picker()->entries();
  const auto it = std::find(entries.begin(), entries.end(), "picked.zxf");
  ASSERT_NE(it, entries.end());
  d->picker()->activate(static_cast<size_t>(it - entries.begin()));
  input.pump();
  EXPECT_EQ(d->path(), dir / "picked.zxf");
  EXPECT_NE(d->document().form().control("ZorvaXPButton1"), nullptr);
  // Cancel changes nothing.
  SetWindowTextA(d->pathField(), "");
  press(*d->mainForm(), "cmdOpen");
  ASSERT_NE(d->picker(), nullptr);
  press(d->picker()->form(), "cmdCancel");
  EXPECT_EQ(d->picker(), nullptr);
  EXPECT_EQ(d->path(), dir / "picked.zxf");
}

TEST_F(DesignerWindow, ASoundPathIsChosenWithThePickerOrTyped) {
  { std::ofstream(dir / "click.wav") << "RIFF"; }
  draw("ZorvaXPLabel", at(240, 240), at(2400, 720));
  const int row = d->panel().model().find("SoundOnClicked");
  ASSERT_GE(row, 0);
  d->panel().scrollTo(row);
  const Rect box = d->panel().browseRect(static_cast<size_t>(row));
  ASSERT_FALSE(box.empty());
  EXPECT_TRUE(d->panel().browseRect(static_cast<size_t>(d->panel().model().find("Caption"))).empty());
  input.moveTo(d->panel().hWnd(), centre(box)).click();
  ASSERT_NE(d->picker(), nullptr);
  d->picker()->openFolder(dir);
  EXPECT_EQ(d->picker()->entries(), (std::vector<std::string>{"[..]", "click.wav"}));  // wave files only
  d->picker()->activate(1);
  input.pump();
  EXPECT_EQ(d->picker(), nullptr);
  host::Dispatchable& label = d->document().form().control("ZorvaXPLabel1")->object();
  EXPECT_EQ(host::getProperty(label, "SoundOnClicked").toString(), (dir / "click.wav").string());
  EXPECT_EQ(d->document().undoName(), "Set SoundOnClicked");
}

TEST_F(DesignerWindow, APictureIsChosenWithThePickerAmongImageFilesOnly) {
  {
    gfx::Image image{gfx::Surface::create(4, 4), false};
    const std::vector<uint8_t> bmp = gfx::encodeBmp(image);
    std::ofstream(dir / "pic.bmp", std::ios::binary).write(reinterpret_cast<const char*>(bmp.data()),
                                                            static_cast<std::streamsize>(bmp.size()));
    std::ofstream(dir / "notes.txt") << "not a picture";
  }
  ASSERT_TRUE(d->saveAs(dir / "form.zxf"));  // the picker starts in the form's folder
  draw("ZorvaXPLabel", at(240, 240), at(2400, 720));
  const int row = d->panel().model().find("Picture");
  ASSERT_GE(row, 0);
  d->panel().scrollTo(row);
  const Rect box = d->panel().browseRect(static_cast<size_t>(row));
  ASSERT_FALSE(box.empty());
  input.moveTo(d->panel().hWnd(), centre(box)).click();
  ASSERT_NE(d->picker(), nullptr);
  EXPECT_EQ(d->picker()->entries(), (std::vector<std::string>{"[..]", "pic.bmp"}));
  d->picker()->activate(1);
  input.pump();
  EXPECT_EQ(d->picker(), nullptr);
  host::Dispatchable& label = d->document().form().control("ZorvaXPLabel1")->object();
  EXPECT_FALSE(host::getProperty(label, "Picture").isNothing());
  EXPECT_EQ(d->document().undoName(), "Set Picture");
}

TEST_F(DesignerWindow, AFontIsChosenWithTheChooserStartingFromTheControlsFont) {
  draw("ZorvaXPLabel", at(240, 240), at(2400, 720));
  const int row = d->panel().model().find("Font");
  ASSERT_GE(row, 0);
  d->panel().scrollTo(row);
  const Rect box = d->panel().browseRect(static_cast<size_t>(row));
  ASSERT_FALSE(box.empty());
  input.moveTo(d->panel().hWnd(), centre(box)).click();
  ASSERT_NE(d->fontChooser(), nullptr);
  host::Dispatchable& label = d->document().form().control("ZorvaXPLabel1")->object();
  const host::FontRef before = host::getProperty(label, "Font").toFont();
  ASSERT_TRUE(before);
  const std::optional<gfx::FontDesc> start = d->fontChooser()->current();
  ASSERT_TRUE(start);
  EXPECT_EQ(std::tuple(start->name, start->size), std::tuple(before->name, before->size));
  d->fontChooser()->setFace("Verdana");
  d->fontChooser()->setSize("14");
  d->fontChooser()->setStyle("chkItalic", true);
  ASSERT_TRUE(d->fontChooser()->accept());
  input.pump();
  EXPECT_EQ(d->fontChooser(), nullptr);
  const host::FontRef after = host::getProperty(label, "Font").toFont();
  ASSERT_TRUE(after);
  EXPECT_EQ(std::tuple(after->name, after->size, after->italic), std::tuple("Verdana", 14.0, true));
  EXPECT_EQ(d->document().undoName(), "Set Font");
}

TEST_F(DesignerWindow, RecentFilesAreKeptInTheRegistryAndReopenFromTheirMenu) {
  const std::string store = (dir / "registry.reg").string();
  d.reset();
  d = std::make_unique<Designer>(store);
  input.pump();
  draw("ZorvaXPButton", at(240, 240), at(1440, 720));
  const auto a = dir / "a.zxf", b = dir / "b.zxf";
  ASSERT_TRUE(d->saveAs(b));
  ASSERT_TRUE(d->saveAs(a));
  ASSERT_TRUE(d->open(b));  // to the front again, not twice
  EXPECT_EQ(d->recentFiles(), (std::vector<std::filesystem::path>{b, a}));
  EXPECT_FALSE(d->open(dir / "missing.zxf"));  // a failed open is not remembered
  EXPECT_EQ(d->recentFiles().size(), 2u);

  // A later session finds them, and the menu's second item opens the older file.
  d.reset();
  d = std::make_unique<Designer>(store);
  input.pump();
  EXPECT_EQ(d->recentFiles(), (std::vector<std::filesystem::path>{b, a}));
  input.whileModal([](ui::TestInput& menu) { menu.key(VK_DOWN).key(VK_DOWN).key(VK_RETURN); });
  input.moveTo(d->mainForm()->control("cmdRecent")->object().hWnd()).click();
  input.pump();
  EXPECT_EQ(d->path(), a);
  EXPECT_NE(d->document().form().control("ZorvaXPButton1"), nullptr);
  // Without a store nothing outlives the designer.
  d.reset();
  d = std::make_unique<Designer>();
  EXPECT_TRUE(d->recentFiles().empty());
}

TEST_F(DesignerWindow, ADoubleClickInTheControlListPlacesOneAndThePanelEditsIt) {
  const int row = d->toolbox().find("ZorvaXPLabel");
  input.moveTo(d->toolbox().hWnd(), centre(d->toolbox().rowRect(static_cast<size_t>(row)))).doubleClick();
  Extender* label = d->document().form().control("ZorvaXPLabel1");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(d->panel().model().object(), &label->object());
  // An edit in the panel is one undo step.
  const int caption = d->panel().model().find("Caption");
  ASSERT_GE(caption, 0);
  ASSERT_TRUE(d->panel().model().edit(static_cast<size_t>(caption), "Total"));
  d->panel().onEdited("Caption", "Total");
  EXPECT_EQ(d->document().undoName(), "Set Caption");
  d->undo();
  EXPECT_NE(host::getProperty(d->document().form().control("ZorvaXPLabel1")->object(), "Caption").toString(), "Total");
}

}  // namespace
}  // namespace zxp::designer
