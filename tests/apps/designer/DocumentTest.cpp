// The designer's model on its own: placing and naming controls, containers as parents, selection,
// snapping, gestures, undo/redo of each kind of edit, the clipboard's form-file text, files and
// run mode, with the library's real controls in a design-mode form.
#include <gtest/gtest.h>

#include "bars/ZorvaXPHookTab.h"
#include "buttons/ZorvaXPButton.h"
#include "buttons/ZorvaXPOptionButton.h"
#include "designer/Document.h"
#include "library/ClassTable.h"
#include "platform/base/HostError.h"
#include "platform/services/Recording.h"
#include "platform/ui/EventLoop.h"

namespace zxp::designer {
namespace {

using host::Extender;

class DesignerDocument : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::resetWindowSystem();
    doc = std::make_unique<Document>(library::classes());
  }
  void TearDown() override {
    doc.reset();
    ui::resetWindowSystem();
  }
  Extender& add(const std::string& cls, int x, int y, int w = 1200, int h = 480) {
    return doc->add(cls, Rect::fromXYWH(x, y, w, h));
  }
  std::vector<std::string> selectedNames() const {
    std::vector<std::string> names;
    for (const Extender* e : doc->selection()) names.push_back(e->Name());
    return names;
  }
  services::RecordingServices services;
  std::unique_ptr<Document> doc;
};

TEST_F(DesignerDocument, PlacesControlsNamedAsTheHostNamesThemWithTheirDesignDefaults) {
  Extender& one = add("ZorvaXPButton", 250, 130);
  Extender& two = add("ZorvaXPButton", 250, 1000);
  EXPECT_EQ(one.Name(), "ZorvaXPButton1");
  EXPECT_EQ(two.Name(), "ZorvaXPButton2");
  // InitProperties ran with the display name: the caption follows from it.
  EXPECT_EQ(one.as<buttons::ZorvaXPButton>().Caption(), "ZorvaXpButton1");
  // The drawn rectangle lands on the grid (120 twips).
  EXPECT_EQ(std::tuple(one.Left(), one.Top(), one.Width(), one.Height()), std::tuple(240, 120, 1200, 480));
  EXPECT_EQ(selectedNames(), std::vector<std::string>{"ZorvaXPButton2"});
  // A click rather than a drag still makes a control that can be seen and grabbed.
  Extender& dot = add("ZorvaXPCheckBox", 600, 600, 0, 0);
  EXPECT_GE(dot.Width(), Document::kMinSize);
  EXPECT_GE(dot.Height(), Document::kMinSize);
  // A freed name is taken again first.
  doc->select(&one);
  doc->removeSelection();
  EXPECT_EQ(doc->undoName(), "Delete ZorvaXPButton1");
  EXPECT_EQ(add("ZorvaXPButton", 0, 0).Name(), "ZorvaXPButton1");
  // Every public class can be placed.
  for (const host::ControlClass& c : library::classes().classes()) {
    if (!c.create) continue;
    EXPECT_NO_THROW(add(c.name, 3000, 3000)) << c.name;
  }
}

TEST_F(DesignerDocument, AnUnknownClassIsRefusedAndLeavesNoStep) {
  EXPECT_THROW(add("ZorvaNoSuchThing", 0, 0), HostError);
  EXPECT_FALSE(doc->canUndo());
  EXPECT_FALSE(doc->modified());
}

TEST_F(DesignerDocument, ContainersTakeWhatIsDrawnInsideAndCarryItAlong) {
  Extender& frame = add("ZorvaXPFrame", 480, 480, 3600, 2400);
  Extender& inner = add("ZorvaXPCheckBox", 960, 1200);
  Extender& outer = add("ZorvaXPCheckBox", 4800, 480);
  EXPECT_EQ(inner.Container(), &frame);
  EXPECT_EQ(outer.Container(), nullptr);
  // Left/Top are relative to the container; bounds() gives form coordinates.
  EXPECT_EQ(std::tuple(inner.Left(), inner.Top()), std::tuple(480, 720));
  EXPECT_EQ(doc->bounds(inner), Rect::fromXYWH(960, 1200, 1200, 480));
  EXPECT_EQ(doc->controlAt(Point{1000, 1300}), &inner);
  EXPECT_EQ(doc->controlAt(Point{600, 600}), &frame);
  EXPECT_EQ(doc->controlAt(Point{10, 10}), nullptr);

  // Moving the frame moves its child.
  doc->select(&frame);
  doc->moveSelection(240, 120);
  EXPECT_EQ(doc->bounds(inner), Rect::fromXYWH(1200, 1320, 1200, 480));

  // Dragging a control onto the frame puts it in; dragging it out takes it out.
  doc->select(&outer);
  doc->moveSelection(-3600, 1200);  // its corner at (1200, 1680): inside the frame
  EXPECT_EQ(outer.Container(), &frame);
  EXPECT_EQ(doc->bounds(outer), Rect::fromXYWH(1200, 1680, 1200, 480));
  doc->moveSelection(4800, 0);
  EXPECT_EQ(outer.Container(), nullptr);
  // A container never goes into itself or its children.
  doc->select(&frame);
  doc->moveSelection(120, 120);
  EXPECT_EQ(frame.Container(), nullptr);
}

TEST_F(DesignerDocument, ATabControlTakesControlsOntoTheTabShownAndHidesThemOnTheOthers) {
  Extender& tab = add("ZorvaXPHookTab", 240, 240, 4800, 3000);
  auto& tabs = tab.as<bars::ZorvaXPHookTab>();
  ASSERT_GE(tabs.TabsCount(), 2);
  tabs.setSelectedTab(2);
  doc->propertyEdited("Set SelectedTab");
  Extender& onTwo = add("ZorvaXPButton", 720, 1440);
  EXPECT_EQ(onTwo.Container(), &tab);
  // Saving records the shown tab's controls; back on tab 1 the button is hidden, on 2 shown.
  doc->propertyEdited("Add");
  tabs.setSelectedTab(1);
  EXPECT_LT(onTwo.Left(), -10000);
  EXPECT_EQ(doc->controlAt(Point{800, 1500}), &tab);
  tabs.setSelectedTab(2);
  EXPECT_EQ(doc->bounds(onTwo).left, 720);
  // The membership survives the file.
  const std::string text = doc->text();
  doc->open(text);
  Extender* reloaded = doc->form().control("ZorvaXPButton1");
  ASSERT_NE(reloaded, nullptr);
  EXPECT_EQ(reloaded->Container(), doc->form().control("ZorvaXPHookTab1"));
}

TEST_F(DesignerDocument, SelectionByClickToggleAndRubberBand) {
  Extender& a = add("ZorvaXPButton", 0, 0);
  Extender& b = add("ZorvaXPButton", 2400, 0);
  Extender& frame = add("ZorvaXPFrame", 0, 1200, 3600, 2400);
  add("ZorvaXPLabel", 240, 1680);
  doc->select(&a);
  doc->toggle(&b);
  EXPECT_EQ(selectedNames(), (std::vector<std::string>{"ZorvaXPButton1", "ZorvaXPButton2"}));
  doc->toggle(&a);
  EXPECT_EQ(selectedNames(), std::vector<std::string>{"ZorvaXPButton2"});
  // A band over the first button's right part and the frame's top: both; the label inside the
  // frame goes with the frame and is not selected on its own.
  doc->selectIn(Rect{900, 300, 200, 1800});
  EXPECT_EQ(selectedNames(), (std::vector<std::string>{"ZorvaXPButton1", "ZorvaXPFrame1"}));
  doc->selectAll();
  EXPECT_EQ(doc->selection().size(), 3u);
  EXPECT_TRUE(doc->isSelected(&frame));
  doc->select(nullptr);
  EXPECT_TRUE(doc->selection().empty());
}

TEST_F(DesignerDocument, MovesAndResizesSnapToTheGridOrNot) {
  Extender& a = add("ZorvaXPButton", 240, 240);
  Extender& b = add("ZorvaXPButton", 240, 960);
  doc->select(&a);
  doc->toggle(&b);
  // The first selected control lands on the grid; the second keeps its distance.
  doc->moveSelection(70, 50);
  EXPECT_EQ(std::tuple(a.Left(), a.Top(), b.Left(), b.Top()), std::tuple(360, 240, 360, 960));
  doc->setSnapping(false);
  doc->moveSelection(70, 50);
  EXPECT_EQ(std::tuple(a.Left(), a.Top(), b.Top()), std::tuple(430, 290, 1010));
  doc->setSnapping(true);
  doc->setGrid(60);
  doc->select(&a);
  // Each handle moves its own edges, each edge to the nearest grid line (halves to even).
  doc->resizeSelection(Handle::BottomRight, 200, 100);  // right 1830 -> 1800, bottom 870 -> 840
  EXPECT_EQ(std::tuple(a.Left(), a.Top(), a.Width(), a.Height()), std::tuple(430, 290, 1370, 550));
  doc->resizeSelection(Handle::TopLeft, -100, -100);  // left 330 -> 360, top 190 -> 180
  EXPECT_EQ(std::tuple(a.Left(), a.Top()), std::tuple(360, 180));
  EXPECT_EQ(a.Left() + a.Width(), 1800);
  doc->resizeSelection(Handle::Left, 5000, 0);  // never narrower than the least size
  EXPECT_EQ(a.Width(), Document::kMinSize);
  doc->resizeSelection(Handle::Top, 0, 60);
  doc->resizeSelection(Handle::Right, 600, 0);
  doc->resizeSelection(Handle::Bottom, 0, 60);
  doc->resizeSelection(Handle::TopRight, 60, -60);
  doc->resizeSelection(Handle::BottomLeft, -60, 60);
  EXPECT_EQ(std::tuple(a.Left(), a.Top(), a.Width(), a.Height()), std::tuple(1620, 180, 840, 780));
  EXPECT_EQ(doc->grid(), 60);
  doc->setGrid(0);
  EXPECT_EQ(doc->grid(), 15);  // one pixel at least
}

TEST_F(DesignerDocument, AlignSizeAndSpaceOnTheFirstSelectedControl) {
  Extender& lead = add("ZorvaXPButton", 1200, 240, 1200, 480);
  Extender& b = add("ZorvaXPButton", 240, 1200, 600, 360);
  Extender& frame = add("ZorvaXPFrame", 3600, 2400, 2400, 1800);
  Extender& inner = add("ZorvaXPCheckBox", 3840, 2880, 960, 360);  // inside the frame
  doc->select(&lead);
  doc->toggle(&b);
  doc->toggle(&inner);
  struct Case {
    AlignTo to;
    int32_t b, inner;  // the lined-up coordinate each ends at, in form coordinates
    bool horizontal;
  };
  // The lead spans x 1200..2400, y 240..720.
  for (const Case& c : {Case{AlignTo::Lefts, 1200, 1200, true}, Case{AlignTo::Rights, 1800, 1440, true},
                        Case{AlignTo::Centres, 1500, 1320, true}, Case{AlignTo::Tops, 240, 240, false},
                        Case{AlignTo::Bottoms, 360, 360, false}, Case{AlignTo::Middles, 300, 300, false}}) {
    doc->align(c.to);
    const Rect rb = doc->bounds(b), ri = doc->bounds(inner);
    EXPECT_EQ(c.horizontal ? rb.left : rb.top, c.b) << static_cast<int>(c.to);
    EXPECT_EQ(c.horizontal ? ri.left : ri.top, c.inner) << static_cast<int>(c.to);
    EXPECT_EQ(doc->undoName(), "Align");
  }
  EXPECT_EQ(inner.Container(), &frame);  // lined up, not moved out of its container
  EXPECT_EQ(doc->bounds(lead), Rect::fromXYWH(1200, 240, 1200, 480));

  doc->makeSameSize(true, false);
  EXPECT_EQ(std::tuple(b.Width(), b.Height(), inner.Width()), std::tuple(1200, 360, 1200));
  doc->makeSameSize(false, true);
  EXPECT_EQ(std::tuple(b.Height(), inner.Height()), std::tuple(480, 480));
  doc->undo();  // the form is rebuilt: controls are found again by name
  Extender& b2 = *doc->form().control("ZorvaXPButton2");
  EXPECT_EQ(b2.Height(), 360);
  // One control selected: nothing to line up, no step.
  doc->select(&b2);
  const std::string name = doc->undoName();
  doc->align(AlignTo::Lefts);
  doc->makeSameSize(true, true);
  EXPECT_EQ(doc->undoName(), name);
}

TEST_F(DesignerDocument, SpacingEvenlyKeepsTheOutermostAndEqualsTheGaps) {
  Extender& a = add("ZorvaXPButton", 0, 240, 600, 360);
  Extender& c = add("ZorvaXPButton", 4800, 240, 1200, 360);
  Extender& b = add("ZorvaXPButton", 960, 960, 960, 360);
  Extender& e = add("ZorvaXPButton", 1200, 1440, 600, 360);
  doc->select(&a);
  doc->toggle(&c);
  doc->toggle(&b);
  doc->toggle(&e);
  doc->spaceEvenly(true);
  // From 0 to 6000 with 600 + 960 + 600 + 1200 wide controls: three gaps of 880.
  EXPECT_EQ(std::tuple(a.Left(), b.Left(), e.Left(), c.Left()), std::tuple(0, 1480, 3320, 4800));
  EXPECT_EQ(b.Left() - (a.Left() + a.Width()), e.Left() - (b.Left() + b.Width()));
  EXPECT_EQ(e.Left() - (b.Left() + b.Width()), c.Left() - (e.Left() + e.Width()));
  doc->spaceEvenly(false);
  // Down, in the order of their tops (a and c share 240): from 240 to 1800, four 360-high
  // controls, three gaps of 40.
  EXPECT_EQ(std::tuple(a.Top(), c.Top(), b.Top(), e.Top()), std::tuple(240, 640, 1040, 1440));
  EXPECT_EQ(doc->undoName(), "Space evenly");
}

TEST_F(DesignerDocument, FrontAndBackAreTheOrderOfTheFileAndOfHitTesting) {
  Extender& under = add("ZorvaXPLabel", 240, 240, 1200, 480);
  add("ZorvaXPButton", 480, 360, 1200, 480);
  EXPECT_EQ(doc->controlAt(Point{600, 400})->Name(), "ZorvaXPButton1");
  doc->select(&under);
  doc->bringToFront();
  EXPECT_EQ(doc->controlAt(Point{600, 400})->Name(), "ZorvaXPLabel1");
  EXPECT_EQ(doc->undoName(), "Bring to front");
  ASSERT_EQ(doc->selection().size(), 1u);
  EXPECT_EQ(doc->selection().front()->Name(), "ZorvaXPLabel1");
  const std::string text = doc->text();
  EXPECT_LT(text.find("Begin ZorvaXPButton"), text.find("Begin ZorvaXPLabel"));
  doc->sendToBack();
  EXPECT_EQ(doc->controlAt(Point{600, 400})->Name(), "ZorvaXPButton1");
  doc->undo();
  EXPECT_EQ(doc->text(), text);
  doc->undo();
  EXPECT_EQ(doc->controlAt(Point{600, 400})->Name(), "ZorvaXPButton1");
}

TEST_F(DesignerDocument, TabOrderIsSetOneClickAStep) {
  Extender& a = add("ZorvaXPButton", 240, 240);
  Extender& b = add("ZorvaXPButton", 240, 960);
  Extender& c = add("ZorvaXPButton", 240, 1680);
  EXPECT_EQ(std::tuple(a.TabIndex(), b.TabIndex(), c.TabIndex()), std::tuple(0, 1, 2));
  doc->setTabIndex(c, 0);
  EXPECT_EQ(std::tuple(c.TabIndex(), a.TabIndex(), b.TabIndex()), std::tuple(0, 1, 2));
  doc->setTabIndex(b, 0);
  EXPECT_EQ(std::tuple(b.TabIndex(), c.TabIndex(), a.TabIndex()), std::tuple(0, 1, 2));
  EXPECT_EQ(doc->undoName(), "Tab order");
  // A place the control already has is no step.
  doc->setTabIndex(b, 0);
  doc->undo();
  auto tabIndex = [&](const char* name) { return doc->form().control(name)->TabIndex(); };
  EXPECT_EQ(std::tuple(tabIndex("ZorvaXPButton3"), tabIndex("ZorvaXPButton1"), tabIndex("ZorvaXPButton2")),
            std::tuple(0, 1, 2));
  doc->undo();
  EXPECT_EQ(std::tuple(tabIndex("ZorvaXPButton1"), tabIndex("ZorvaXPButton2"), tabIndex("ZorvaXPButton3")),
            std::tuple(0, 1, 2));
  EXPECT_EQ(doc->undoName(), "Add ZorvaXPButton3");
}

TEST_F(DesignerDocument, ADragIsOneStepAndCancellingPutsEverythingBack) {
  Extender& a = add("ZorvaXPButton", 240, 240);
  const std::string before = doc->text();
  doc->select(&a);
  doc->beginGesture();
  for (int i = 1; i <= 20; ++i) doc->moveBy(i * 30, i * 12);
  EXPECT_TRUE(doc->inGesture());
  doc->endGesture("Move");
  EXPECT_EQ(std::tuple(a.Left(), a.Top()), std::tuple(840, 480));
  EXPECT_EQ(doc->undoName(), "Move");
  doc->undo();
  EXPECT_EQ(doc->text(), before);
  EXPECT_EQ(doc->undoName(), "Add ZorvaXPButton1");

  Extender& again = *doc->form().control("ZorvaXPButton1");
  doc->select(&again);
  doc->beginGesture();
  doc->resizeBy(Handle::Right, 600, 0);
  doc->cancelGesture();
  EXPECT_EQ(again.Width(), 1200);
  EXPECT_EQ(doc->text(), before);
  EXPECT_FALSE(doc->canRedo() && doc->redoName() != "Move");
  // A gesture that changed nothing is no step.
  doc->beginGesture();
  doc->moveBy(10, 10);
  doc->endGesture("Move");
  EXPECT_EQ(doc->undoName(), "Add ZorvaXPButton1");
}

TEST_F(DesignerDocument, EveryKindOfEditUndoesAndRedoesAsOneStep) {
  struct Case {
    const char* name;
    std::function<void(Document&)> edit;
  };
  const std::vector<Case> cases = {
      {"add", [](Document& d) { d.add("ZorvaXPSpin", Rect::fromXYWH(3000, 240, 1200, 360)); }},
      {"delete", [](Document& d) { d.select(d.form().control("ZorvaXPFrame1")); d.removeSelection(); }},
      {"move", [](Document& d) { d.select(d.form().control("ZorvaXPLabel1")); d.moveSelection(480, 0); }},
      {"resize",
       [](Document& d) { d.select(d.form().control("ZorvaXPFrame1")); d.resizeSelection(Handle::Bottom, 0, 480); }},
      {"property",
       [](Document& d) {
         host::letProperty(d.form().control("ZorvaXPLabel1")->object(), "Caption", host::Variant(std::string("Hi")));
         d.propertyEdited("Set Caption");
       }},
      {"form property",
       [](Document& d) {
         d.form().setCaption("Orders");
         d.propertyEdited("Set Caption");
       }},
      {"paste", [](Document& d) { d.select(d.form().control("ZorvaXPLabel1")); d.paste(d.copySelection()); }},
      {"cut", [](Document& d) { d.select(d.form().control("ZorvaXPLabel1")); d.cutSelection(); }},
  };
  for (const Case& c : cases) {
    doc->newForm();
    add("ZorvaXPFrame", 240, 240, 2400, 1800);
    add("ZorvaXPLabel", 480, 720);
    const std::string before = doc->text();
    const size_t steps = 2;
    c.edit(*doc);
    const std::string after = doc->text();
    EXPECT_NE(after, before) << c.name;
    EXPECT_TRUE(doc->modified()) << c.name;
    doc->undo();
    EXPECT_EQ(doc->text(), before) << c.name;
    doc->redo();
    EXPECT_EQ(doc->text(), after) << c.name;
    // Back to the start takes exactly the steps that were made.
    doc->undo();
    for (size_t i = 0; i < steps; ++i) doc->undo();
    EXPECT_FALSE(doc->canUndo()) << c.name;
    EXPECT_FALSE(doc->modified()) << c.name;
  }
  // A new edit after an undo drops what could be redone.
  add("ZorvaXPButton", 0, 0);
  doc->undo();
  EXPECT_TRUE(doc->canRedo());
  add("ZorvaXPLabel", 0, 0);
  EXPECT_FALSE(doc->canRedo());
}

TEST_F(DesignerDocument, UndoBringsBackTheSelectionOfItsStep) {
  Extender& a = add("ZorvaXPButton", 240, 240);
  add("ZorvaXPButton", 240, 960);
  doc->select(&a);
  doc->moveSelection(240, 0);
  doc->select(nullptr);
  doc->undo();
  EXPECT_EQ(selectedNames(), std::vector<std::string>{"ZorvaXPButton1"});
}

TEST_F(DesignerDocument, TheClipboardIsFormFileTextThatGoesBackAndForth) {
  Extender& frame = add("ZorvaXPFrame", 240, 240, 2400, 1800);
  Extender& label = add("ZorvaXPLabel", 480, 720);
  host::letProperty(label.object(), "Caption", host::Variant(std::string("Inside")));
  doc->propertyEdited("Set Caption");
  doc->select(&frame);
  doc->toggle(&label);  // selected with its container: copied once, inside it
  const std::string text = doc->copySelection();
  EXPECT_EQ(text.find("Begin ZorvaXPFrame ZorvaXPFrame1"), text.find("Begin ZorvaXPFrame"));
  EXPECT_NE(text.find("Begin ZorvaXPLabel ZorvaXPLabel1"), std::string::npos);
  EXPECT_EQ(text.find("Begin ZorvaXPLabel"), text.rfind("Begin ZorvaXPLabel"));
  // Parsed as a form file it holds the frame with the label inside.
  const host::FormRecord rec = host::parseFormFile(text);
  ASSERT_EQ(rec.controls.size(), 1u);
  ASSERT_EQ(rec.controls[0].children.size(), 1u);

  // Pasted into the same form: new names, one grid step away, the label still inside.
  doc->select(nullptr);
  auto pasted = doc->paste(text);
  ASSERT_EQ(pasted.size(), 1u);
  EXPECT_EQ(pasted[0]->Name(), "ZorvaXPFrame2");
  EXPECT_EQ(std::tuple(pasted[0]->Left(), pasted[0]->Top()), std::tuple(360, 360));
  auto inside = doc->form().controlsIn(pasted[0]);
  ASSERT_EQ(inside.size(), 1u);
  EXPECT_EQ(inside[0]->Name(), "ZorvaXPLabel2");
  EXPECT_EQ(host::getProperty(inside[0]->object(), "Caption").toString(), "Inside");
  EXPECT_EQ(selectedNames(), std::vector<std::string>{"ZorvaXPFrame2"});

  // Into another form: the names are free there and kept; into a selected frame: inside it.
  Document other(library::classes());
  Extender& target = other.add("ZorvaXPFrame", Rect::fromXYWH(0, 0, 6000, 4000));
  other.select(&target);
  auto there = other.paste(text);
  ASSERT_EQ(there.size(), 1u);
  EXPECT_EQ(there[0]->Container(), &target);
  EXPECT_EQ(there[0]->Name(), "ZorvaXPFrame2");  // ZorvaXPFrame1 is the target's name
  EXPECT_NE(other.form().control("ZorvaXPLabel1"), nullptr);
}

TEST_F(DesignerDocument, APasteOfBadTextChangesNothing) {
  add("ZorvaXPButton", 240, 240);
  const std::string before = doc->text();
  try {
    doc->paste("ZorvaXP Form 1\nBegin Form F\n  Begin ZorvaXPButton\nEnd\n");
    FAIL() << "no error";
  } catch (const host::FormFileError& e) {
    EXPECT_GT(e.line(), 0);
  }
  EXPECT_THROW(doc->paste("ZorvaXP Form 1\nBegin Form F\n  Begin NoSuchClass X\n  End\nEnd\n"), std::exception);
  EXPECT_EQ(doc->text(), before);
  EXPECT_EQ(doc->undoName(), "Add ZorvaXPButton1");
  EXPECT_EQ(doc->form().Controls().size(), 1u);
}

TEST_F(DesignerDocument, AFileOpenedAndSavedWithoutEditsKeepsItsBytes) {
  // Written by hand: a comment, odd spacing and keys in an order of its own.
  const std::string file =
      "ZorvaXP Form 1\n' made by hand\nBegin Form Orders\n  Caption = String \"Orders\"\n"
      "   Begin ZorvaXPButton cmdOk\n      @Left = 240\n      @Top = 240\n      @Width = 1200\n      @Height = 480\n"
      "      Caption = String \"OK\"\n   End\nEnd\n";
  doc->open(file);
  EXPECT_FALSE(doc->modified());
  EXPECT_EQ(doc->text(), file);
  EXPECT_FALSE(doc->form().UserMode());
  doc->select(doc->form().control("cmdOk"));
  doc->moveSelection(120, 0);
  EXPECT_TRUE(doc->modified());
  EXPECT_NE(doc->text(), file);
  doc->undo();
  EXPECT_FALSE(doc->modified());
  EXPECT_EQ(doc->text(), file);
  // What the designer writes reads back to the same text.
  doc->redo();
  const std::string saved = doc->text();
  doc->markSaved();
  EXPECT_FALSE(doc->modified());
  doc->open(saved);
  EXPECT_EQ(doc->text(), saved);
  EXPECT_EQ(doc->form().save(), saved);
}

TEST_F(DesignerDocument, ABadFileIsReportedWithItsLineAndTheFormStays) {
  add("ZorvaXPButton", 240, 240);
  const std::string before = doc->text();
  try {
    doc->open("ZorvaXP Form 1\nBegin Form F\n  Begin ZorvaXPButton b\n    @Left = twelve\n  End\nEnd\n");
    FAIL() << "no error";
  } catch (const host::FormFileError& e) {
    EXPECT_EQ(e.line(), 4);
  }
  EXPECT_EQ(doc->text(), before);
  EXPECT_TRUE(doc->canUndo());
}

TEST_F(DesignerDocument, DesignTimeBehaviourIsTheControlsOwn) {
  Extender& o1 = add("ZorvaXPOptionButton", 240, 240);
  Extender& o2 = add("ZorvaXPOptionButton", 240, 960);
  Extender& images = add("ZorvaXpImageList", 3000, 240, 480, 480);
  auto& b1 = o1.as<buttons::ZorvaXPOptionButton>();
  auto& b2 = o2.as<buttons::ZorvaXPOptionButton>();
  b1.setValue(true);
  b2.setValue(true);  // at design time this clears the group
  EXPECT_FALSE(b1.Value());
  EXPECT_TRUE(b2.Value());
  // Invisible at run time, visible while designing.
  EXPECT_TRUE(IsWindowVisible(images.object().hWnd()));

  // Running: a form of its own with UserMode True, in which the option buttons only store.
  doc->propertyEdited("Set Value");
  const std::string design = doc->text();
  host::Form* run = doc->run();
  ASSERT_NE(run, nullptr);
  EXPECT_TRUE(run->UserMode());
  EXPECT_FALSE(IsWindowVisible(doc->form().hWnd()));
  EXPECT_FALSE(IsWindowVisible(run->control("ZorvaXpImageList1")->object().hWnd()));
  run->controlAs<buttons::ZorvaXPOptionButton>("ZorvaXPOptionButton1")->setValue(true);
  run->control("ZorvaXPOptionButton2")->Move(0, 0, 100, 100);
  // Stopping gives the design state back as it was, not as the run left it.
  doc->stop();
  EXPECT_EQ(doc->running(), nullptr);
  EXPECT_TRUE(IsWindowVisible(doc->form().hWnd()));
  EXPECT_EQ(doc->text(), design);
  EXPECT_FALSE(doc->form().controlAs<buttons::ZorvaXPOptionButton>("ZorvaXPOptionButton1")->Value());
}

}  // namespace
}  // namespace zxp::designer
