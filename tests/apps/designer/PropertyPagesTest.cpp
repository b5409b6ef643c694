// The designer's "(Custom)" row: each class's property page opened through the component
// interfaces, its collection editors (images, panels, tabs, buttons, columns; the label's sounds
// among its plain fields), Apply as one undo step, a refused value, and the page's scrolling.
// Also the indexed properties' rows in the property panel.
#include <gtest/gtest.h>

#include "DesignerFixture.h"

#include <filesystem>
#include <functional>

#include "designer/Designer.h"
#include "library/ClassTable.h"
#include "platform/gfx/Png.h"
#include "platform/services/Recording.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TestInput.h"

#include "library/com/PropertyPage.h"

namespace zxp::designer {
namespace {

using library::com::PageSpot;

class DesignerPages : public DesignerFixture {
 protected:
  // Places a control and opens its page from the panel's "(Custom)" row, as a click does.
  host::Extender& placeAndOpen(const std::string& cls) {
    host::Extender& e = d->document().add(cls, Rect::fromXYWH(240, 240, 4800, 1800));
    d->selectionChanged();
    const int custom = d->panel().model().find("(Custom)");
    EXPECT_EQ(custom, 0) << cls;
    EXPECT_TRUE(d->panel().beginEdit(static_cast<size_t>(std::max(custom, 0))));
    input.pump();
    EXPECT_NE(d->pageWindow(), 0u) << cls;
    return *d->document().form().control(e.Name());
  }
  void type(HWND field, const std::string& text) {
    ASSERT_NE(field, 0u);
    SetWindowTextA(field, text.c_str());
  }
  // Pages the view until the link shows (as a user scrolls to it), then clicks it.
  void clickLink(PageSpot s) {
    const HWND page = d->pageWindow();
    RECT client{};
    GetClientRect(page, &client);
    std::optional<Point> p = library::com::pageLink(page, s);
    for (int i = 0; i < 20 && p && (p->y < 0 || p->y >= client.bottom); ++i) {
      SendMessageA(page, WM_KEYDOWN, p->y < 0 ? VK_PRIOR : VK_NEXT, 0);
      p = library::com::pageLink(page, s);
    }
    ASSERT_TRUE(p.has_value());
    ASSERT_TRUE(p->y >= 0 && p->y < client.bottom);
    input.moveTo(page, *p).click();
  }
  // Types a new item's text in a collection's add field and clicks Add.
  void addItem(int collection, const std::string& text) {
    const size_t n = library::com::pageItems(d->pageWindow(), collection);
    type(library::com::pageField(d->pageWindow(), PageSpot{collection, n, 0}), text);
    clickLink(PageSpot{collection, n, 0});
    EXPECT_EQ(library::com::pageItems(d->pageWindow(), collection), n + 1);
  }
  HWND cell(int collection, size_t item, size_t column) {
    return library::com::pageField(d->pageWindow(), PageSpot{collection, item, column});
  }
  host::Dispatchable& control(const std::string& name) { return d->document().form().control(name)->object(); }
  std::string get(const std::string& name, const std::string& property, int32_t index = 0) {
    host::Dispatchable& o = control(name);
    return (index ? host::getIndexedProperty(o, property, host::Variant(index)) : host::getProperty(o, property))
        .toString();
  }
  // Apply through the frame's own button, then the step it made, undone and redone.
  void applyAndCheckUndo(const std::string& title, const std::function<void()>& checkApplied,
                         const std::function<void()>& checkBefore) {
    const std::string before = d->document().text();
    ASSERT_NE(d->pageFrame(), nullptr);
    ASSERT_TRUE(d->applyPropertyPage()) << d->log().lines().back();
    checkApplied();
    EXPECT_EQ(d->document().undoName(), "Apply " + title + " page");
    EXPECT_EQ(d->pageWindow() != 0, true);  // Apply keeps the page open
    d->undo();
    EXPECT_EQ(d->pageWindow(), 0u);  // the page's control went with the old form
    EXPECT_EQ(d->document().text(), before);
    checkBefore();
    d->redo();
    checkApplied();
  }

};

TEST_F(DesignerPages, OnlyClassesWithAPageHaveTheCustomRow) {
  d->document().add("ZorvaXPButton", Rect::fromXYWH(240, 240, 1200, 480));
  d->selectionChanged();
  EXPECT_EQ(d->panel().model().find("(Custom)"), -1);
  EXPECT_FALSE(d->openPropertyPage());
  EXPECT_EQ(d->pageFrame(), nullptr);
  // Typing into the row is not an edit.
  d->document().add("ZorvaXPLabel", Rect::fromXYWH(240, 1240, 1200, 480));
  d->selectionChanged();
  ASSERT_EQ(d->panel().model().find("(Custom)"), 0);
  EXPECT_FALSE(d->panel().model().edit(0, "x"));
}

TEST_F(DesignerPages, TheLabelPageSetsPlainValuesAndSounds) {
  placeAndOpen("ZorvaXPLabel");
  const auto wave = dir / "over.wav";
  {
    // Any readable file does for the path check; playing is not asked for at design time.
    std::FILE* f = std::fopen(wave.string().c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("RIFF", f);
    std::fclose(f);
  }
  type(library::com::pagePropertyField(d->pageWindow(), "Caption"), "Hello");
  type(library::com::pagePropertyField(d->pageWindow(), "SoundOnOver"), wave.string());
  applyAndCheckUndo(
      "Label",
      [&] {
        EXPECT_EQ(get("ZorvaXPLabel1", "Caption"), "Hello");
        EXPECT_EQ(get("ZorvaXPLabel1", "SoundOnOver"), wave.string());
      },
      [&] {
        EXPECT_EQ(get("ZorvaXPLabel1", "Caption"), "ZorvaXPLabel1");
        EXPECT_EQ(get("ZorvaXPLabel1", "SoundOnOver"), "");
      });
}

TEST_F(DesignerPages, TheTabPageEditsAddsAndRemovesTabs) {
  placeAndOpen("ZorvaXPHookTab");
  const int32_t tabs = host::getProperty(control("ZorvaXPHookTab1"), "TabsCount").toLong();
  ASSERT_GE(tabs, 2);
  type(cell(0, 0, 0), "First");     // TabCaption of tab 1
  clickLink(PageSpot{0, 1, 0});      // Remove tab 2
  addItem(0, "Extra");
  type(cell(0, static_cast<size_t>(tabs) - 1, 1), "False");  // the new tab's AutoTabWidth
  type(cell(0, static_cast<size_t>(tabs) - 1, 2), "90");     // and TabWidth
  applyAndCheckUndo(
      "Tab",
      [&] {
        EXPECT_EQ(host::getProperty(control("ZorvaXPHookTab1"), "TabsCount").toLong(), tabs);
        EXPECT_EQ(get("ZorvaXPHookTab1", "TabCaption", 1), "First");
        EXPECT_EQ(get("ZorvaXPHookTab1", "TabCaption", tabs), "Extra");
        EXPECT_EQ(get("ZorvaXPHookTab1", "TabWidth", tabs), "90");
      },
      [&] {
        EXPECT_EQ(get("ZorvaXPHookTab1", "TabCaption", 1), "ZRTab1");
        EXPECT_EQ(get("ZorvaXPHookTab1", "TabCaption", 2), "ZRTab2");
      });
}

TEST_F(DesignerPages, TheStatusBarPageEditsItsPanels) {
  placeAndOpen("ZorvaXPStatusBar");
  const int32_t panels = host::getProperty(control("ZorvaXPStatusBar1"), "HeadersCount").toLong();
  const std::string firstCaption = get("ZorvaXPStatusBar1", "HeaderCaption", 1);
  type(cell(0, 0, 0), "Ready");
  type(cell(0, 0, 1), "150");
  addItem(0, "Clock");
  applyAndCheckUndo(
      "StatusBar",
      [&] {
        EXPECT_EQ(host::getProperty(control("ZorvaXPStatusBar1"), "HeadersCount").toLong(), panels + 1);
        EXPECT_EQ(get("ZorvaXPStatusBar1", "HeaderCaption", 1), "Ready");
        EXPECT_EQ(get("ZorvaXPStatusBar1", "HeaderWidth", 1), "150");
        EXPECT_EQ(get("ZorvaXPStatusBar1", "HeaderCaption", panels + 1), "Clock");
      },
      [&] {
        EXPECT_EQ(host::getProperty(control("ZorvaXPStatusBar1"), "HeadersCount").toLong(), panels);
        EXPECT_EQ(get("ZorvaXPStatusBar1", "HeaderCaption", 1), firstCaption);
      });
}

TEST_F(DesignerPages, TheToolBarPageEditsItsButtons) {
  placeAndOpen("ZorvaXPToolBar");
  const int32_t buttons = host::getProperty(control("ZorvaXPToolBar1"), "HeadersCount").toLong();
  ASSERT_GE(buttons, 2);
  const std::string second = get("ZorvaXPToolBar1", "HeaderCaption", 2);
  clickLink(PageSpot{0, 0, 0});  // Remove button 1
  addItem(0, "Print");
  type(cell(0, static_cast<size_t>(buttons) - 1, 2), "Prints the form");  // the new button's ToolTip
  applyAndCheckUndo(
      "ToolBar",
      [&] {
        EXPECT_EQ(host::getProperty(control("ZorvaXPToolBar1"), "HeadersCount").toLong(), buttons);
        EXPECT_EQ(get("ZorvaXPToolBar1", "HeaderCaption", 1), second);
        EXPECT_EQ(get("ZorvaXPToolBar1", "HeaderCaption", buttons), "Print");
        EXPECT_EQ(get("ZorvaXPToolBar1", "ToolTip", buttons), "Prints the form");
      },
      [&] { EXPECT_EQ(get("ZorvaXPToolBar1", "HeaderCaption", 2), second); });
}

TEST_F(DesignerPages, TheListBoxPageAddsColumns) {
  placeAndOpen("ZorvaXPListBox");
  const int32_t columns = host::getProperty(control("ZorvaXPListBox1"), "ColumnsCount").toLong();
  addItem(0, "Name");
  addItem(0, "Size");
  type(cell(0, static_cast<size_t>(columns) + 1, 1), "70");  // Size's ColumnWidth
  applyAndCheckUndo(
      "ListBox",
      [&] {
        EXPECT_EQ(host::getProperty(control("ZorvaXPListBox1"), "ColumnsCount").toLong(), columns + 2);
        EXPECT_EQ(get("ZorvaXPListBox1", "ColumnText", columns + 1), "Name");
        EXPECT_EQ(get("ZorvaXPListBox1", "ColumnText", columns + 2), "Size");
        EXPECT_EQ(get("ZorvaXPListBox1", "ColumnWidth", columns + 2), "70");
      },
      [&] { EXPECT_EQ(host::getProperty(control("ZorvaXPListBox1"), "ColumnsCount").toLong(), columns); });
}

TEST_F(DesignerPages, TheImageListPageAddsImagesFromFilesWithTheirKeys) {
  placeAndOpen("ZorvaXpImageList");
  auto picture = gfx::Surface::create(16, 16);
  picture->fill(0x0000FF00);
  const auto file = dir / "green.png";
  ASSERT_TRUE(gfx::writePng(*picture, file.string()));
  const int32_t images = host::getProperty(control("ZorvaXpImageList1"), "ImageCount").toLong();
  addItem(0, file.string());
  type(cell(0, static_cast<size_t>(images), 0), "green");  // the new image's Key
  applyAndCheckUndo(
      "ImageList",
      [&] {
        EXPECT_EQ(host::getProperty(control("ZorvaXpImageList1"), "ImageCount").toLong(), images + 1);
        EXPECT_EQ(get("ZorvaXpImageList1", "Key", images + 1), "green");
      },
      [&] { EXPECT_EQ(host::getProperty(control("ZorvaXpImageList1"), "ImageCount").toLong(), images); });
}

TEST_F(DesignerPages, ARefusedValueKeepsThePageOpenAndDirtyAndMakesNoStep) {
  placeAndOpen("ZorvaXPHookTab");
  const std::string undoBefore = d->document().undoName();
  type(cell(0, 0, 2), "wide");  // TabWidth is a number
  EXPECT_FALSE(d->applyPropertyPage());
  EXPECT_EQ(d->document().undoName(), undoBefore);
  EXPECT_NE(d->pageWindow(), 0u);
  EXPECT_FALSE(d->closePropertyPage(true));  // OK with a refused value: still open
  EXPECT_NE(d->pageWindow(), 0u);
  EXPECT_TRUE(d->closePropertyPage(false));  // Cancel
  EXPECT_EQ(d->pageFrame(), nullptr);
  EXPECT_EQ(d->document().undoName(), undoBefore);
}

TEST_F(DesignerPages, OkAndCancelAreTheFramesOwnButtons) {
  placeAndOpen("ZorvaXPHookTab");
  type(cell(0, 0, 0), "Changed");
  auto press = [&](const char* name) {
    ASSERT_NE(d->pageFrame(), nullptr);
    host::Extender* button = d->pageFrame()->control(name);
    ASSERT_NE(button, nullptr) << name;
    input.moveTo(button->object().hWnd(), Point{10, 10}).click();
    input.pump();
  };
  press("cmdCancel");
  EXPECT_EQ(d->pageFrame(), nullptr);
  EXPECT_EQ(get("ZorvaXPHookTab1", "TabCaption", 1), "ZRTab1");
  d->selectionChanged();
  ASSERT_TRUE(d->openPropertyPage());
  type(cell(0, 0, 0), "Changed");
  press("cmdOK");
  EXPECT_EQ(d->pageFrame(), nullptr);
  EXPECT_EQ(get("ZorvaXPHookTab1", "TabCaption", 1), "Changed");
  EXPECT_EQ(d->document().undoName(), "Apply Tab page");
}

TEST_F(DesignerPages, APageTallerThanItsWindowScrolls) {
  placeAndOpen("ZorvaXPToolBar");
  for (int i = 0; i < 30; ++i) addItem(0, "B" + std::to_string(i));
  const HWND page = d->pageWindow();
  const HWND first = cell(0, 0, 0);
  RECT before{}, after{};
  GetWindowRect(first, &before);
  for (int i = 0; i < 10; ++i) SendMessageA(page, WM_KEYDOWN, VK_PRIOR, 0);
  ASSERT_EQ(library::com::pageScroll(page), 0);
  GetWindowRect(first, &before);
  input.moveTo(page, Point{2, 2}).click().wheel(-1);  // a click gives the page the wheel
  const int scrolled = library::com::pageScroll(page);
  EXPECT_GT(scrolled, 0);
  GetWindowRect(first, &after);
  EXPECT_EQ(after.top, before.top - scrolled);  // the fields move with the view
  // The last Add link is reachable after scrolling to the end.
  SendMessageA(page, WM_KEYDOWN, VK_NEXT, 0);
  SendMessageA(page, WM_KEYDOWN, VK_NEXT, 0);
  SendMessageA(page, WM_KEYDOWN, VK_NEXT, 0);
  RECT client{};
  GetClientRect(page, &client);
  const auto link = library::com::pageLink(page, PageSpot{0, library::com::pageItems(page, 0), 0});
  ASSERT_TRUE(link.has_value());
  EXPECT_LT(link->y, client.bottom);
  EXPECT_GE(link->y, 0);
  ASSERT_TRUE(d->applyPropertyPage());
  EXPECT_EQ(host::getProperty(control("ZorvaXPToolBar1"), "HeadersCount").toLong(),
            static_cast<int32_t>(library::com::pageItems(page, 0)));
}

TEST_F(DesignerPages, IndexedPropertiesHaveARowPerItemInThePanel) {
  d->document().add("ZorvaXPHookTab", Rect::fromXYWH(240, 240, 4800, 1800));
  d->selectionChanged();
  appkit::PropertyModel& m = d->panel().model();
  const int second = m.find("TabCaption(2)");
  ASSERT_GE(second, 0);
  EXPECT_EQ(m.rows()[static_cast<size_t>(second)].value, "ZRTab2");
  EXPECT_TRUE(m.rows()[static_cast<size_t>(second)].editable);
  EXPECT_EQ(m.find("TabCaption(0)"), -1);  // the tabs count from 1
  const int32_t tabs = host::getProperty(control("ZorvaXPHookTab1"), "TabsCount").toLong();
  EXPECT_EQ(m.find("TabCaption(" + std::to_string(tabs + 1) + ")"), -1);
  EXPECT_GE(m.find("TabCaption(" + std::to_string(tabs) + ")"), 0);
  // An item edits as its type does (a Boolean toggles) and is one undo step.
  ASSERT_TRUE(m.edit(static_cast<size_t>(second), "Second"));
  d->panel().onEdited("TabCaption(2)", "Second");
  EXPECT_EQ(get("ZorvaXPHookTab1", "TabCaption", 2), "Second");
  EXPECT_EQ(d->document().undoName(), "Set TabCaption(2)");
  const int enabled = d->panel().model().find("TabEnabled(1)");
  ASSERT_GE(enabled, 0);
  EXPECT_EQ(d->panel().model().rows()[static_cast<size_t>(enabled)].kind, appkit::ValueKind::Boolean);
  ASSERT_TRUE(d->panel().beginEdit(static_cast<size_t>(enabled)));
  EXPECT_EQ(get("ZorvaXPHookTab1", "TabEnabled", 1), "False");
  // A refused item keeps its value and says why.
  const int width = d->panel().model().find("TabWidth(1)");
  ASSERT_GE(width, 0);
  const std::string oldWidth = get("ZorvaXPHookTab1", "TabWidth", 1);
  EXPECT_FALSE(d->panel().model().edit(static_cast<size_t>(width), "wide"));
  EXPECT_FALSE(d->panel().model().error().empty());
  EXPECT_EQ(get("ZorvaXPHookTab1", "TabWidth", 1), oldWidth);
  d->undo();
  EXPECT_EQ(get("ZorvaXPHookTab1", "TabCaption", 2), "Second");  // the toggle undone first
  d->undo();
  EXPECT_EQ(get("ZorvaXPHookTab1", "TabCaption", 2), "ZRTab2");
}

}  // namespace
}  // namespace zxp::designer
