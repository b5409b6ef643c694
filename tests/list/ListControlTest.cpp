// The list control's interface and input: its member table and persistence, selection by mouse
// in the three modes, header clicks that sort, column resizing, check glyphs, the wheel, the
// keyboard and a leak-free teardown.

#include "dates/ZorvaXPDPicker.h"
#include "list/LItemObject.h"
#include "list/ListControlFixture.h"
#include "list/WorkbookReader.h"
#include "platform/base/HostError.h"
#include "platform/host/DataObject.h"
#include "platform/host/PropertyBag.h"
#include "platform/host/runtime/Format.h"
#include "platform/ui/DragDrop.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Screen.h"
#include "platform/ui/User.h"
#include "range/ZorvaXPSpin.h"
#include "support/Checks.h"
#include "support/TempWave.h"
#include "text/ZorvaXPTextBox.h"

namespace zxp::testing {
namespace {

// Column c's texts, first row to last.
std::vector<std::string> columnTexts(const list::ZorvaXPListBox& l, int c) {
  std::vector<std::string> out;
  for (int32_t r = 1; r <= l.ListCount(); ++r) out.push_back(l.TextMatrix(r, c));
  return out;
}
using Texts = std::vector<std::string>;

using list::LHStyle;
using list::LSelectedMode;
using list::ZorvaXPListBox;

// Found by the monkey (sanitizer build, a stack overflow): a list shrunk to no height after it
// had painted, then given a new background colour, went from RedrawMe to RedrawList and back
// for ever, since its background could not be built. It paints nothing until it has an area.
TEST_F(ListControl, ABackgroundChangeWithNoAreaPaintsNothingAndComesBackWithTheArea) {
  list::ZorvaXPListBox& l = place();
  fillGrid(l, 5);
  host::Extender& e = *form->control("lst");
  e.setHeight(0);
  l.setBackColor(0x00FF00);
  l.RedrawList();
  EXPECT_EQ(l.BackColor(), 0x00FF00u);
  e.setHeight(pixelsToTwips(200));
  l.RedrawMe();
  EXPECT_EQ(e.pixelRect().height(), 200);
  EXPECT_NE(px(l, 150, 190), CLR_INVALID);
}

TEST_F(ListControl, EventsAndMembersCarryTheDeclaredNumbers) {
  auto& l = place();
  const host::MemberTable& t = l.memberTable();
  ASSERT_EQ(t.events().size(), 28u);
  std::vector<int32_t> ids;
  for (const char* e : {"Click", "ListClick", "MouseDown", "RowClick", "MouseLeave"}) ids.push_back(t.findEvent(e)->dispid);
  ids.push_back(t.find("BackgroundStyle")->dispid);
  ids.push_back(t.find("About")->dispid);
  EXPECT_EQ(ids, (std::vector<int32_t>{1, 13, 15, 24, 28, host::kPropertyDispIdBase, host::DISPID_ABOUTBOX}));
  // Late-bound calls reach the control; a text where an array belongs is a type mismatch.
  host::callMethod(l, "AddNewColumn", {host::Variant(std::string("Name")), host::Variant(int32_t{90})});
  host::callMethod(l, "AddItem", {host::Variant(std::string("x"))});
  EXPECT_EQ(host::getProperty(l, "ListCount").toString(), "1");
  try {
    host::callMethod(l, "AddItemsByArray", {host::Variant(std::string("a"))});
    FAIL();
  } catch (const HostError& e) {
    EXPECT_EQ(e.number(), errTypeMismatch);
  }
}

TEST_F(ListControl, TheInterfaceHasItsThreeHundredAndThirteenMembers) {
  auto& l = place();
  const host::MemberTable& t = l.memberTable();
  // A property's get and its let count apart, as the interface's functions do.
  size_t members = 0;
  for (const host::Member& m : t.members()) members += m.kind == host::MemberKind::Property && (m.let || m.letAt) ? 2 : 1;
  EXPECT_EQ(members, 313u);
  // The cells are properties with two indexes and a let; Parent is there, not persisted.
  for (const char* name : {"TextMatrix", "Cell"}) {
    const host::Member* m = t.find(name);
    ASSERT_NE(m, nullptr) << name;
    EXPECT_EQ(std::tuple(m->kind, m->argCount, static_cast<bool>(m->letAt)),
              std::tuple(host::MemberKind::Property, size_t{2}, true))
        << name;
  }
  ASSERT_NE(t.find("Parent"), nullptr);
  EXPECT_EQ(t.find("Parent")->type, host::Variant::Kind::Object);
  // The row adders answer Boolean; ListClick alone passes its arguments by value.
  for (const char* name : {"AddItem", "AddItemEx", "AddItemsByArray", "AddItemsByCollection", "AddItemsByParamArray"})
    EXPECT_EQ(t.find(name)->type, host::Variant::Kind::Boolean) << name;
  for (const host::EventMember& e : t.events()) EXPECT_EQ(e.byValue, e.name == "ListClick") << e.name;
}

TEST_F(ListControl, LateBoundCellsRowsAndArrays) {
  auto& l = place();
  l.AddNewColumn("A");
  l.AddNewColumn("B");
  for (int r = 1; r <= 5; ++r) l.AddItem("r" + std::to_string(r) + "\tx");
  using V = host::Variant;
  host::letIndexedProperty(l, "TextMatrix", {V(int32_t{2}), V(int32_t{2})}, "set");
  host::letIndexedProperty(l, "Cell", {V(int32_t{3}), V(int32_t{1})}, "cell");
  EXPECT_EQ(std::tuple(l.TextMatrix(2, 2), l.TextMatrix(3, 1)), std::tuple("set", "cell"));

  // Item hands out the live row as a clsLItem object; its members change the list's row.
  const V row = host::getIndexedProperty(l, "Item", V(int32_t{4}));
  ASSERT_EQ(row.kind(), host::Variant::Kind::Object);
  EXPECT_EQ(row.typeName(), "clsLItem");
  host::Dispatchable* members = row.toObject()->members();
  ASSERT_NE(members, nullptr);
  host::letIndexedProperty(*members, "iCell", V(int32_t{1}), "through the row");
  EXPECT_EQ(l.TextMatrix(4, 1), "through the row");
  // ... and the Item let, AddItemEx and ReplaceAItem take such objects.
  host::letIndexedProperty(l, "Item", V(int32_t{1}), row);
  EXPECT_EQ(l.Item(1), l.Item(4));
  auto fresh = std::make_shared<list::LItemObject>();
  fresh->lvInitColumns(2);
  EXPECT_TRUE(host::callMethod(l, "AddItemEx", {V(host::ObjectRef(fresh))}).toBool());
  EXPECT_TRUE(host::callMethod(l, "ReplaceAItem", {V(int32_t{2}), row}).toBool());
  EXPECT_EQ(std::tuple(l.ListCount(), l.Item(2), l.TextMatrix(2, 1)), std::tuple(6, l.Item(4), "through the row"));
  auto number = [&](auto&& fn) {
    try {
      fn();
    } catch (const HostError& e) {
      return e.number();
    }
    return 0;
  };
  EXPECT_EQ((std::vector<int>{number([&] { host::getIndexedProperty(l, "Item", V(int32_t{99})); }),
                              number([&] { host::letIndexedProperty(l, "Item", V(int32_t{1}), V("text")); }),
                              number([&] { host::callMethod(l, "AddItemEx", {V(host::ObjectRef())}); })}),
            (std::vector<int>{errSubscriptOutOfRange, errTypeMismatch, errObjectNotSet}));

  // Arrays and parameter arrays: one row per element, as text.
  EXPECT_TRUE(host::callMethod(l, "AddItemsByArray", {V::array({V("a"), V(int32_t{2})})}).toBool());
  EXPECT_TRUE(host::callMethod(l, "AddItemsByParamArray", {V("p1"), V("p2"), V(int32_t{3})}).toBool());
  EXPECT_EQ(columnTexts(l, 1), (Texts{"through the row", "through the row", "cell", "through the row", "r5",
                                      "", "a", "2", "p1", "p2", "3"}));

  // Parent: the form, as an object with the form's members.
  const V parent = host::getProperty(l, "Parent");
  ASSERT_NE(parent.toObject()->members(), nullptr);
  EXPECT_EQ(&parent.toObject()->members()->memberTable(), &l.extender()->Parent()->memberTable());
}

TEST_F(ListControl, SpreadsheetExportGoesThroughTheDataWithTheHeaderFontsFace) {
  auto& l = place();
  auto font = std::make_shared<gfx::FontDesc>();
  font->name = "Verdana";
  l.setHeaderFont(font);
  l.AddNewColumn("Name", 90);
  l.AddItem("Ada");
  TempDir dir;
  host::callMethod(l, "ExportToExcelAsAFile", {host::Variant(dir.file("out"))});
  const std::string book = readWorkbook(dir.file("out.xls"));
  EXPECT_NE(book.find("cell A1 bold=1 font=Verdana color=FF000080 value=Name\n"), std::string::npos) << book;
  EXPECT_NE(book.find("cell A2 bold=0 font=Calibri color=none value=Ada\n"), std::string::npos) << book;
}

TEST_F(ListControl, PropertiesAndColumnsRoundTripThroughAFormFile) {
  auto& l = place();
  l.setBackColor(0x123456);
  l.setShowHeaders(true);
  l.setSelectedGradientAngle(45.6f);  // persisted as a whole number
  l.setGridLines(list::LGridLines::LGLVertical);
  l.setScrollBars(list::LScrollBars::LSNone);
  l.AddNewColumn("Name", 120, LHStyle::CheckBox, list::LHAlignment::Right);
  l.AddNewColumn("Age", 60);
  host::PropertyBag bag;
  l.WriteProperties(bag);
  EXPECT_EQ(bag.ReadProperty("SelectedGradientAngle").toString(), "46");
  EXPECT_EQ(bag.ReadProperty("ColumnText1").toString(), "Name");
  const std::string saved = form->save();
  auto again = host::Form::load(saved, library::classes());
  auto& copy = again->control("lst")->as<ZorvaXPListBox>();
  ASSERT_EQ(copy.ColumnsCount(), 2);
  EXPECT_EQ(std::tuple(copy.BackColor(), copy.ShowHeaders(), copy.SelectedGradientAngle(), copy.ColumnStyle(1), copy.ColumnWidth(2)),
            std::tuple(0x123456u, true, 46.0f, LHStyle::CheckBox, 60));
  EXPECT_EQ(again->save(), saved);
}

TEST_F(ListControl, ClicksSelectByModeWithShiftAndCtrl) {
  auto& l = place(300, 210);
  fillGrid(l, 8);
  logEvents(l);
  at(l, 100, rowY(l, 2));
  input.click();
  EXPECT_EQ(std::tuple(l.ListIndex(), l.SelectedCount(), l.Selected(2)), std::tuple(2, 1, true));
  const std::vector<std::string> expected = {"ListIndexChange 2 8",         "ListClick 2 r2c1\tr2c2\tr2c3",
                                             "MouseDown 1 0 100 34",        "CellClick 2 2 81 23 161 45 r2c2",
                                             "RowClick 2 r2c1\tr2c2\tr2c3", "MouseUp 1 0 100 34",
                                             "Click"};
  EXPECT_EQ(events(), expected);

  l.setSelectedMode(LSelectedMode::LSMExtend);
  at(l, 100, rowY(l, 5));
  input.chord({VK_SHIFT}, 0);  // nothing: modifiers only
  input.keyDown(VK_SHIFT).click().keyUp(VK_SHIFT);
  EXPECT_EQ(std::pair(l.ListIndex(), l.SelectedCount()), std::pair(5, 4));  // rows 2..5
  for (int r = 2; r <= 5; ++r) EXPECT_TRUE(l.Selected(r)) << r;
  at(l, 100, rowY(l, 3));
  input.keyDown(VK_CONTROL).click().keyUp(VK_CONTROL);
  EXPECT_EQ(std::pair(l.Selected(3), l.SelectedCount()), std::pair(false, 3));
  at(l, 100, rowY(l, 7));
  input.click();
  EXPECT_EQ(std::pair(l.Selected(7), l.SelectedCount()), std::pair(true, 1));

  l.setSelectedMode(LSelectedMode::LSMMultiple);
  at(l, 100, rowY(l, 1));
  input.click();
  EXPECT_TRUE(l.Selected(1) && l.Selected(7));
  input.advance(1000);  // not a double click
  input.click();
  EXPECT_FALSE(l.Selected(1));
}

TEST_F(ListControl, ARightClickSelectsOnlyWhenAllowedButAlwaysRaisesMouseDown) {
  auto& l = place();
  fillGrid(l, 4);
  logEvents(l);
  at(l, 100, rowY(l, 1));
  input.click(ui::MouseButton::Right);
  EXPECT_EQ(l.ListIndex(), 4);
  ASSERT_FALSE(events().empty());
  EXPECT_EQ(events()[0].rfind("MouseDown 2", 0), 0u);
  l.setAllowToSelectUsingRightMButton(true);
  input.click(ui::MouseButton::Right);
  EXPECT_EQ(l.ListIndex(), 1);
}

TEST_F(ListControl, AHeaderClickSortsAndASecondClickReverses) {
  auto& l = place();
  l.AddNewColumn("N", 80);
  l.AddNewColumn("T", 80);
  for (const char* n : {"10", "9", "100", "2"}) l.AddItem(std::string(n) + "\tx" + n);
  l.setShowHeaders(true);
  logEvents(l);
  at(l, 40, 10);
  input.click();
  EXPECT_EQ(columnTexts(l, 1), (Texts{"2", "9", "10", "100"}));
  EXPECT_EQ(std::pair(l.sortedColumn(), l.sortedAscending()), std::pair(1, true));
  const Texts header = events();
  ASSERT_GE(header.size(), 2u);
  EXPECT_EQ(Texts(header.begin(), header.begin() + 2), (Texts{"HeaderClick 1", "HeaderAdvancedClick 1 1 40 10"}));
  input.advance(1000);  // not a double click
  input.click();
  EXPECT_EQ(columnTexts(l, 1), (Texts{"100", "10", "9", "2"}));
  EXPECT_FALSE(l.sortedAscending());
  // Another column sorts ascending again.
  at(l, 120, 10);
  input.advance(1000);
  input.click();
  EXPECT_EQ(std::pair(l.sortedColumn(), l.sortedAscending()), std::pair(2, true));
  l.setAllowSortItems(false);
  input.advance(1000);
  input.click();
  EXPECT_TRUE(l.sortedAscending());
}

TEST_F(ListControl, AColumnDraggedNarrowerThan20Keeps20) {
  auto& l = place();
  fillGrid(l, 3);
  l.setShowHeaders(true);
  auto drag = [&](int from, int to) {
    at(l, from, 10);
    input.press();
    at(l, to, 10);
    input.release();
  };
  drag(80, 30);  // from column 1's right edge
  EXPECT_EQ(l.ColumnWidth(1), 29);
  drag(30, 5);
  EXPECT_EQ(std::pair(l.ColumnWidth(1), l.columnLayout()[2].left), std::pair(20, 21));
  l.setAllowToHeadersResizing(false);
  drag(20, 100);
  EXPECT_EQ(l.ColumnWidth(1), 20);
}

TEST_F(ListControl, CheckGlyphsAndSpaceToggleCheckCells) {
  auto& l = place();
  l.AddNewColumn("Done", 60, LHStyle::CheckBox);
  l.AddNewColumn("Task", 100);
  l.AddItem("1\tfirst");
  l.AddItem("False\tsecond");
  const auto& row1 = l.rowLayout()[0];
  // The glyph sits 9 pixels into the cell (cell left 1), centred vertically.
  at(l, 1 + 9 + 8, (row1.top + row1.bottom) / 2);
  input.click();
  EXPECT_EQ(l.TextMatrix(1, 1), "False");
  input.advance(1000);  // not a double click
  input.click();
  EXPECT_EQ(l.TextMatrix(1, 1), "True");
  at(l, 50, (row1.top + row1.bottom) / 2);  // beside the glyph: no change
  input.advance(1000);
  input.click();
  EXPECT_EQ(l.TextMatrix(1, 1), "True");
  input.key(VK_DOWN);
  EXPECT_EQ(l.ListIndex(), 2);
  input.key(VK_SPACE);  // the current column is 1 (the check column)
  EXPECT_EQ(l.TextMatrix(2, 1), "True");
  // Single-column lists toggle the row's check flag.
  auto& s = place(200, 60, "single", 220);
  s.setCustomStyle(LHStyle::CheckBox);
  s.AddItem("a");
  at(s, 1 + 9 + 8, rowY(s, 1));
  input.advance(1000);
  input.click();
  EXPECT_TRUE(s.Item(1)->iValue());
}

TEST_F(ListControl, TheWheelScrollsThreeRowsForOneNotchAndNothingForTwo) {
  auto& l = place(300, 210);
  fillGrid(l, 100);
  at(l, 100, 50);
  input.click();  // the wheel goes to the focused window
  logEvents(l);
  l.setTopRow(10);
  input.wheel(1);
  EXPECT_EQ(l.topRow(), 7);
  input.wheel(-1);
  EXPECT_EQ(l.topRow(), 10);
  input.wheel(2);
  EXPECT_EQ(l.topRow(), 10);
  const auto ev = events();
  EXPECT_NE(std::find(ev.begin(), ev.end(), "MouseWheel 2"), ev.end());
  l.setTopRow(2);
  input.wheel(1);
  EXPECT_EQ(l.topRow(), 1);
}

TEST_F(ListControl, KeysMoveTheCurrentRowAndKeepItInView) {
  auto& l = place(300, 210);
  fillGrid(l, 50);
  at(l, 100, rowY(l, 1));
  input.click();
  // The current row and the top row after each key.
  std::vector<std::pair<int32_t, int32_t>> seen;
  for (int vk : {VK_END, VK_HOME}) {
    input.key(vk);
    seen.push_back({l.ListIndex(), l.topRow()});
  }
  EXPECT_EQ(seen, (std::vector<std::pair<int32_t, int32_t>>{{50, 42}, {1, 1}}));
  input.key(VK_NEXT);
  EXPECT_EQ(l.ListIndex(), 10);
  input.key(VK_UP);
  EXPECT_EQ(std::tuple(l.ListIndex(), l.Selected(9), l.SelectedCount()), std::tuple(9, true, 1));
  input.key(VK_RIGHT);
  EXPECT_EQ(l.SelectedColIndex(), 3);  // column 2 was clicked
}

TEST_F(ListControl, ArrowsRepeatWhileHeldAndRaiseVerticalScrolling) {
  auto& l = place(300, 210);
  fillGrid(l, 100);
  logEvents(l);
  at(l, 289, 195);  // the down arrow
  std::vector<int32_t> tops;
  input.press();
  tops.push_back(l.topRow());
  input.advance(100);
  tops.push_back(l.topRow());
  input.release().advance(100);
  tops.push_back(l.topRow());
  EXPECT_EQ(tops, (std::vector<int32_t>{2, 6, 6}));
  const auto ev = events();
  EXPECT_NE(std::find(ev.begin(), ev.end(), "VerticalScrolling 2 1 1"), ev.end());
}

TEST_F(ListControl, TheTooltipShowsAfterOneSecondOnACutOffCellOnly) {
  auto& l = place();
  l.AddNewColumn("Text", 80);
  l.AddNewColumn("More", 80);
  l.AddItem("a rather long text that the cell cuts off\tx");
  l.AddItem("ab\ty");
  at(l, 40, rowY(l, 1));
  input.advance(990);
  EXPECT_FALSE(l.toolTipShown());
  input.advance(20);
  ASSERT_TRUE(l.toolTipShown());
  RECT r{};
  GetWindowRect(l.toolTipWindow(), &r);
  EXPECT_GT(r.right - r.left, 80);  // wide enough for the whole text
  at(l, 40, rowY(l, 2));
  EXPECT_FALSE(l.toolTipShown());
  input.advance(1500);
  EXPECT_FALSE(l.toolTipShown());  // "ab" fits its cell
  // A press hides it and the timer waits for the next rest.
  at(l, 40, rowY(l, 1));
  input.advance(1010);
  ASSERT_TRUE(l.toolTipShown());
  input.press();
  EXPECT_FALSE(l.toolTipShown());
  input.release();
  // The fixed first column leaves room for its row arrow: a text that fits a plain cell of the
  // same width is cut off there.
  l.setSetFirstColumnAsFixed(true);
  l.setColumnWidth(1, 40);
  l.setTextMatrix(2, 1, "12345");
  at(l, 20, rowY(l, 1));
  at(l, 20, rowY(l, 2));
  input.advance(1010);
  EXPECT_TRUE(l.toolTipShown());
  l.setSetFirstColumnAsFixed(false);
  at(l, 21, rowY(l, 1));
  at(l, 20, rowY(l, 2));
  input.advance(1010);
  EXPECT_FALSE(l.toolTipShown());
  l.setDisplayToolTipsForListItems(false);
  at(l, 41, rowY(l, 2));
  at(l, 41, rowY(l, 1));
  input.advance(1500);
  EXPECT_FALSE(l.toolTipShown());
}

TEST_F(ListControl, ABoundEditorCommitsByEnterAndEscapeLeavesTheCell) {
  auto& l = place(300, 200);
  fillGrid(l, 5);
  const host::ExtenderRecord r = FormTest::at(320, 320, 60, 20);
  auto& txt = form->add(std::make_unique<text::ZorvaXPTextBox>(), "txtEdit", r).as<text::ZorvaXPTextBox>();
  auto& spn = form->add(std::make_unique<range::ZorvaXPSpin>(), "spnEdit", r).as<range::ZorvaXPSpin>();
  l.BindObject(host::Variant(std::string("txtEdit")), 2, 1);
  l.BindObject(host::Variant(std::string("spnEdit")), 3, 5);  // clamped to the last column
  EXPECT_FALSE(ext("txtEdit").Visible());
  EXPECT_EQ(std::pair(l.boundEditor(2), l.boundEditor(3)), std::pair(&ext("txtEdit"), &ext("spnEdit")));
  logEvents(l);
  // A click on row 2, column 2 opens the text box over the cell with the cell's text.
  at(l, 100, rowY(l, 2));
  input.click();
  ASSERT_EQ(l.activeEditor(), &ext("txtEdit"));
  EXPECT_TRUE(ext("txtEdit").Visible());
  EXPECT_EQ(txt.Text(), "r2c2");
  EXPECT_EQ(std::pair(ext("txtEdit").Left(), ext("txtEdit").Width()), std::pair(pixelsToTwips(10 + 81), pixelsToTwips(80)));
  EXPECT_EQ(events()[1], "BeforeCellEdit 2 2 r2c2");
  // The editor lies on top of the cell: a click there reaches the editor, not the list.
  POINT cell{120, rowY(l, 2)};
  ClientToScreen(l.hWnd(), &cell);
  const HWND hit = WindowFromPoint(cell);
  EXPECT_TRUE(hit == txt.hWnd() || IsChild(txt.hWnd(), hit));
  txt.setText("42");
  input.key(VK_RETURN);
  EXPECT_EQ(std::tuple(l.TextMatrix(2, 2), ext("txtEdit").Visible(), l.activeEditor()),
            std::tuple("42", false, nullptr));
  // Escape closes without writing.
  input.advance(1000);
  at(l, 100, rowY(l, 2));
  input.click();
  txt.setText("99");
  input.key(VK_ESCAPE);
  EXPECT_EQ(l.TextMatrix(2, 2), "42");
  EXPECT_FALSE(ext("txtEdit").Visible());
  // A spin box edits numbers.
  l.setTextMatrix(4, 3, "7");
  input.advance(1000);
  at(l, 200, rowY(l, 4));
  input.click();
  ASSERT_EQ(l.activeEditor(), &ext("spnEdit"));
  EXPECT_EQ(spn.Value(), 7);
  spn.setValue(12);
  input.key(VK_RETURN);
  EXPECT_EQ(l.TextMatrix(4, 3), "12");
  l.UnBindObject(2);
  EXPECT_EQ(l.boundEditor(2), nullptr);
  EXPECT_THROW(l.BindObject(host::Variant(std::string("nothing")), 1, 1), HostError);
}

// Press on row 7, drag to row 10, release: the editor opens on row 10, the row the selection,
// CellClick and RowClick name, and typing edits that row; the editor leaves row 7 as soon as
// the drag moves the current row.
TEST_F(ListControl, AnEditorOpensOnTheRowAPressDragReleaseLeavesCurrent) {
  auto& l = place(300, 260);
  fillGrid(l, 12);
  auto& txt = form->add(std::make_unique<text::ZorvaXPTextBox>(), "txtEdit", FormTest::at(320, 320, 60, 20))
                  .as<text::ZorvaXPTextBox>();
  l.BindObject(host::Variant(std::string("txtEdit")), 2, 1);
  ASSERT_GE(rowY(l, 10), 0);
  logEvents(l);
  at(l, 100, rowY(l, 7));
  input.press();
  ASSERT_EQ(l.activeEditor(), &ext("txtEdit"));
  EXPECT_EQ(txt.Text(), "r7c2");
  at(l, 100, rowY(l, 8));
  EXPECT_EQ(l.ListIndex(), 8);
  EXPECT_EQ(l.activeEditor(), nullptr);
  EXPECT_FALSE(ext("txtEdit").Visible());
  at(l, 100, rowY(l, 10));
  input.release();
  EXPECT_EQ(std::tuple(l.ListIndex(), l.Selected(10), l.Selected(7)), std::tuple(10, true, false));
  ASSERT_EQ(l.activeEditor(), &ext("txtEdit"));
  EXPECT_TRUE(ext("txtEdit").Visible());
  EXPECT_EQ(txt.Text(), "r10c2");
  const auto& band = l.rowLayout();
  const auto row10 = std::find_if(band.begin(), band.end(), [](const auto& b) { return b.index == 10; });
  ASSERT_NE(row10, band.end());
  EXPECT_EQ(ext("txtEdit").Top(), ext("lst").Top() + pixelsToTwips(row10->top));
  std::vector<std::string> edits, clicks;
  for (const std::string& e : events()) {
    if (e.rfind("BeforeCellEdit", 0) == 0) edits.push_back(e);
    if (e.rfind("CellClick", 0) == 0 || e.rfind("RowClick", 0) == 0) clicks.push_back(e.substr(0, e.find(' ', 10)));
  }
  EXPECT_EQ(edits, (Texts{"BeforeCellEdit 7 2 r7c2", "BeforeCellEdit 10 2 r10c2"}));
  EXPECT_EQ(clicks, (Texts{"CellClick 10", "RowClick 10"}));
  // Typing edits row 10; row 7 keeps its text.
  txt.setText("typed");
  input.key(VK_RETURN);
  EXPECT_EQ(std::pair(l.TextMatrix(10, 2), l.TextMatrix(7, 2)), std::pair(std::string("typed"), std::string("r7c2")));

  // A press and release on one row opens the editor once.
  input.advance(1000);
  log.clear();
  at(l, 100, rowY(l, 4));
  input.click();
  edits.clear();
  for (const std::string& e : events())
    if (e.rfind("BeforeCellEdit", 0) == 0) edits.push_back(e);
  EXPECT_EQ(edits, (Texts{"BeforeCellEdit 4 2 r4c2"}));
  EXPECT_EQ(l.activeEditor(), &ext("txtEdit"));
}

TEST_F(ListControl, AnOpenEditorCommitsWhenTheFocusLeavesIt) {
  auto& l = place(300, 200);
  fillGrid(l, 5, 4);  // column 4 has no editor
  host::ExtenderRecord r = FormTest::at(320, 320, 70, 20);
  form->add(std::make_unique<text::ZorvaXPTextBox>(), "txtEdit", r);
  form->add(std::make_unique<range::ZorvaXPSpin>(), "spnEdit", r);
  auto& dtp = form->add(std::make_unique<dates::ZorvaXPDPicker>(), "dtpEdit", r).as<dates::ZorvaXPDPicker>();
  r.top = pixelsToTwips(250);
  form->add(std::make_unique<text::ZorvaXPTextBox>(), "txtOther", r);
  l.BindObjectArray(host::Variant(std::string("dtpEdit, txtEdit, spnEdit")));
  logEvents(l);
  auto focusInside = [](host::Extender& e) {
    const HWND f = GetFocus();
    return f == e.object().hWnd() || IsChild(e.object().hWnd(), f);
  };

  // Text box: the focus sits in its inner field; a click on another row commits what was typed.
  at(l, 100, rowY(l, 2));
  input.click();
  ASSERT_EQ(l.activeEditor(), &ext("txtEdit"));
  ASSERT_TRUE(focusInside(ext("txtEdit")));
  EXPECT_NE(GetFocus(), ext("txtEdit").object().hWnd());
  input.key(VK_END).type("7");
  input.advance(1000);
  at(l, 270, rowY(l, 4));
  input.click();
  EXPECT_EQ(std::tuple(l.TextMatrix(2, 2), ext("txtEdit").Visible(), l.activeEditor(), l.ListIndex()),
            std::tuple("r2c27", false, nullptr, 4));
  EXPECT_EQ(GetFocus(), l.hWnd());  // the click put the focus on the list and left it there

  // Spin box: the focus goes to another control of the form.
  l.setTextMatrix(3, 3, "7");
  input.advance(1000);
  at(l, 200, rowY(l, 3));
  input.click();
  ASSERT_EQ(l.activeEditor(), &ext("spnEdit"));
  ASSERT_TRUE(focusInside(ext("spnEdit")));
  input.key(VK_END).type("5");
  input.moveTo(ext("txtOther").object().hWnd()).click();
  EXPECT_EQ(l.TextMatrix(3, 3), "75");
  EXPECT_FALSE(ext("spnEdit").Visible());
  EXPECT_TRUE(focusInside(ext("txtOther")));  // the commit does not pull the focus back

  // Date picker: the date typed into its field is taken in as the focus leaves.
  l.setTextMatrix(5, 1, "04-05-2026");
  input.advance(1000);
  at(l, 40, rowY(l, 5));
  input.click();
  ASSERT_EQ(l.activeEditor(), &ext("dtpEdit"));
  ASSERT_TRUE(focusInside(ext("dtpEdit")));
  EXPECT_EQ(host::Format(host::FormatValue(dtp.Value()), dtp.FormatDate()), "04-05-2026");
  input.key(VK_HOME).type("17112025");  // the field overwrites digit by digit
  input.moveTo(ext("txtOther").object().hWnd()).click();
  EXPECT_EQ(std::tuple(l.TextMatrix(5, 1), l.activeEditor()), std::tuple("17-11-2025", nullptr));
  // A day picked in the date picker's dropped-down calendar (a window of its own) is still
  // editing; the focus leaving afterwards commits the picked day.
  input.advance(1000);
  at(l, 40, rowY(l, 5));
  input.click();
  ASSERT_EQ(l.activeEditor(), &ext("dtpEdit"));
  input.moveTo(dtp.dropDown().hWnd(), Point{8, 9}).click();
  ASSERT_TRUE(dtp.calendarShowing());
  const dates::ZorvaXPCalender& cal = dtp.calendar();
  for (const dates::DayCell& d : cal.dayCells())
    if (d.Text == "20" && d.Kind.empty()) input.moveTo(cal.hWnd(), Point{(d.Left + d.Right) / 2, (d.Top + d.Bottom) / 2}).click();
  EXPECT_FALSE(dtp.calendarShowing());
  EXPECT_EQ(l.activeEditor(), &ext("dtpEdit"));
  input.moveTo(ext("txtOther").object().hWnd()).click();
  EXPECT_EQ(l.TextMatrix(5, 1), "20-11-2025");

  // Escape still closes without writing, and focus moves after it commit nothing.
  input.advance(1000);
  at(l, 100, rowY(l, 1));
  input.click();
  input.key(VK_END).type("x").key(VK_ESCAPE);
  input.moveTo(ext("txtOther").object().hWnd()).click();
  EXPECT_EQ(l.TextMatrix(1, 2), "r1c2");
  // Each opening raised BeforeCellEdit once, and nothing else edit-related followed.
  int edits = 0;
  for (const std::string& e : events()) edits += e.rfind("BeforeCellEdit", 0) == 0;
  EXPECT_EQ(edits, 5);
}

namespace {
int otherPaints = 0;
LRESULT countPaints(HWND h, UINT m, WPARAM w, LPARAM lp) {
  if (m == WM_PAINT) {
    PAINTSTRUCT ps;
    BeginPaint(h, &ps);
    EndPaint(h, &ps);
    ++otherPaints;
    return 0;
  }
  return DefWindowProcA(h, m, w, lp);
}
}  // namespace

TEST_F(ListControl, TheThumbFollowsTheMouseOnTimerTicksWhileOtherWindowsPaint) {
  auto& l = place(300, 210);
  fillGrid(l, 1000);
  logEvents(l);
  WNDCLASSA wc{};
  wc.lpfnWndProc = &countPaints;
  wc.lpszClassName = "ListTestPaintCounter";
  RegisterClassA(&wc);
  const HWND other = CreateWindowExA(0, "ListTestPaintCounter", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, 0, 0, 0, nullptr);
  input.pump();
  otherPaints = 0;
  int thumbY = -1;
  for (int y = 21; y < 190 && thumbY < 0; ++y)
    if (l.hitTest(289, y) == ZorvaXPListBox::Part::VThumb) thumbY = y + 2;
  ASSERT_GT(thumbY, 0);
  at(l, 289, thumbY);
  input.press();
  at(l, 289, thumbY + 40);
  EXPECT_EQ(l.topRow(), 1);  // the drag moves on its ticks, not on the mouse message
  InvalidateRect(other, nullptr, FALSE);
  input.advance(25);
  EXPECT_EQ(otherPaints, 1);  // dispatched during the drag
  EXPECT_GT(l.topRow(), 1);
  EXPECT_EQ(l.hitTest(289, thumbY + 40), ZorvaXPListBox::Part::VThumb);
  const auto ev = events();
  ASSERT_FALSE(ev.empty());
  EXPECT_EQ(ev.back().rfind("VerticalScrolling 1 1 ", 0), 0u) << ev.back();
  // Back up again: the list follows on the next tick.
  const int32_t down = l.topRow();
  at(l, 289, thumbY + 20);
  input.advance(25);
  EXPECT_LT(l.topRow(), down);
  EXPECT_GT(l.topRow(), 1);
  // Below the track the last page shows and the drag ends; moving back no longer scrolls.
  at(l, 289, 205);
  input.advance(25);
  EXPECT_EQ(l.rowLayout().back().index, 1000);
  const int32_t last = l.topRow();
  at(l, 289, thumbY);
  input.advance(100);
  EXPECT_EQ(l.topRow(), last);
  input.release();
  DestroyWindow(other);
}

TEST_F(ListControl, ARowDraggedTwoRowsDownLandsAtTheMarkedInsertionPoint) {
  auto& l = place();
  fillGrid(l, 6);
  l.setDragSelected(true);
  l.setDragLineBorderColor(0x0000FF);  // red
  at(l, 100, rowY(l, 2));
  input.press();
  const ZorvaXPListBox::Band row2 = l.rowLayout()[1];
  POINT origin{0, 0};
  ClientToScreen(l.hWnd(), &origin);
  const uint32_t under = ui::composeScreen()->at(origin.x + 150, origin.y + rowY(l, 4));
  // The lower half of row 3 marks the boundary before row 4.
  at(l, 100, rowY(l, 3) + 5);
  EXPECT_EQ(l.dropInsertionRow(), 4);
  // The drag image: row 2's band as painted, framed in red, moved with the pointer by the
  // distance the pointer went, and semi-transparent over what lies under it.
  ASSERT_TRUE(l.dragImageShown());
  const Rect img = ui::dragImageRect();
  const int dy = rowY(l, 3) + 5 - rowY(l, 2);
  EXPECT_EQ(img, (Rect{origin.x + 1, origin.y + row2.top + dy, origin.x + row2.right, origin.y + row2.bottom + dy}));
  const auto screen = ui::composeScreen();
  EXPECT_EQ(screen->at(img.left, img.top + 3), 0xFF0000u);
  EXPECT_EQ(screen->at(img.left + 50, img.bottom - 1), 0xFF0000u);
  const uint32_t seen = screen->at(origin.x + 150, origin.y + rowY(l, 4) - 2);
  EXPECT_NE(seen, under);
  EXPECT_NE(seen, px(l, 150, rowY(l, 2)) & 0xFFFFFFu);
  at(l, 100, l.rowLayout()[3].bottom - 3);  // lower half of row 4
  EXPECT_EQ(l.dropInsertionRow(), 5);
  EXPECT_EQ(px(l, 150, l.rowLayout()[4].top), 0x000000u);  // the drop line
  EXPECT_EQ(l.ListIndex(), 2);  // dragging does not select
  input.release();
  EXPECT_EQ(columnTexts(l, 1), (Texts{"r1c1", "r3c1", "r4c1", "r2c1", "r5c1", "r6c1"}));
  EXPECT_EQ(std::tuple(l.ListIndex(), l.Selected(4), l.Selected(2), l.dropInsertionRow()), std::tuple(4, true, false, 0));
  EXPECT_FALSE(l.dragImageShown());
  EXPECT_TRUE(ui::dragImageRect().empty());
  // Upwards: row 5 dropped above row 1 becomes the first row.
  input.advance(1000);
  at(l, 100, rowY(l, 5));
  input.press();
  at(l, 100, l.rowLayout()[0].top + 2);
  input.release();
  EXPECT_EQ(std::tuple(l.TextMatrix(1, 1), l.ListIndex()), std::tuple("r5c1", 1));
}

TEST_F(ListControl, AnOleDragOffersTheSelectedRowsAsTextAndShowsTheRow) {
  auto& l = place(300, 120, "lst", 10);
  fillGrid(l, 6);
  auto& target = place(300, 100, "lstTarget", 160);
  target.setOLEDropMode(1);
  l.setOLEDragMode(1);
  l.setSelectedMode(LSelectedMode::LSMExtend);
  std::string dropped;
  target.OLEDragDrop.connect([&](host::Variant& d, int32_t&, int16_t&, int16_t&, float&, float&) {
    dropped = host::dataObjectOf(d)->GetData(host::vbCFText).toString();
  });
  std::vector<std::string> sourceEvents;
  l.OLEStartDrag.connect([&](host::Variant&, int32_t&) { sourceEvents.push_back("OLEStartDrag"); });
  l.OLECompleteDrag.connect([&](int32_t& e) { sourceEvents.push_back("OLECompleteDrag " + std::to_string(e)); });
  // Rows 2 to 4 selected by a Shift+press on row 4, which then drags them.
  at(l, 100, rowY(l, 2));
  input.click();
  input.advance(1000);
  at(l, 100, rowY(l, 4));
  bool imageDuringDrag = false;
  input.keyDown(VK_SHIFT).press().keyUp(VK_SHIFT);
  input.whileModal([&](ui::TestInput& in) {
    in.advance(20);
    imageDuringDrag = l.dragImageShown() && !ui::dragImageRect().empty();
    in.moveTo(target.hWnd(), Point{50, 30}).release();
  });
  at(l, 110, rowY(l, 4) + 6);  // past the drag distance: the drag runs here
  EXPECT_TRUE(imageDuringDrag);
  EXPECT_EQ(dropped, "r2c1\tr2c2\tr2c3\r\nr3c1\tr3c2\tr3c3\r\nr4c1\tr4c2\tr4c3");
  EXPECT_EQ(sourceEvents, (std::vector<std::string>{"OLEStartDrag", "OLECompleteDrag 2"}));
  EXPECT_FALSE(l.dragImageShown());
  EXPECT_TRUE(ui::dragImageRect().empty());
  EXPECT_EQ(l.TextMatrix(2, 1), "r2c1");  // the source keeps its rows: moving them is the application's
  // A handler's own text wins; a press on the scroll bar never starts a drag.
  l.OLEStartDrag.connect([](host::Variant& d, int32_t&) {
    host::dataObjectOf(d)->SetData(std::string("mine"), host::Variant(int16_t{host::vbCFText}));
  });
  at(l, 100, rowY(l, 3));
  input.press();
  input.whileModal([&](ui::TestInput& in) { in.moveTo(target.hWnd(), Point{50, 30}).release(); });
  l.OLEDrag();
  EXPECT_EQ(dropped, "mine");
  // Text dropped from outside the application reaches the target's OLEDragDrop as a copy, and
  // the list adds nothing by itself.
  POINT drop{40, 30};
  ClientToScreen(target.hWnd(), &drop);
  EXPECT_EQ(ui::injectTextDrop(Point{drop.x, drop.y}, "from\toutside"), DROPEFFECT_COPY);
  EXPECT_EQ(std::tuple(dropped, target.ListCount()), std::tuple("from\toutside", 0));
  sourceEvents.clear();
  at(l, 289, 60);
  input.press();
  at(l, 289, 80);
  input.release();
  EXPECT_TRUE(sourceEvents.empty());
}

TEST_F(ListControl, MouseEnterReportsScreenCoordinates) {
  auto& l = place();
  fillGrid(l, 3);
  logEvents(l);
  at(l, 20, 30);
  ASSERT_FALSE(log.empty());
  POINT p{20, 30};
  ClientToScreen(l.hWnd(), &p);
  EXPECT_EQ(log[0], "MouseEnter " + std::to_string(p.x) + " " + std::to_string(p.y));
}

TEST_F(ListControl, SpreadSheetSetUpAndItsEdgeCases) {
  auto& l = place();
  l.SetupSpreadSheet(1, 1);
  EXPECT_EQ(std::pair(l.ListCount(), l.ColumnsCount()), std::pair(0, 0));
  l.SetupSpreadSheet(30, 4);
  ASSERT_EQ(std::pair(l.ListCount(), l.ColumnsCount()), std::pair(30, 4));
  EXPECT_EQ(std::tuple(l.ColumnText(1), l.ColumnWidth(1), l.ColumnText(3), l.SetFirstColumnAsFixed(), l.TextMatrix(7, 1),
                       l.LockUpdate()),
            std::tuple("No", 45, "Column3", true, "7", false));
}

TEST_F(ListControl, AFormWithListsLeavesNothingBehind) {
  form.reset();
  const Leftovers before;
  makeForm(true, &library::classes(), pixelsToTwips(400), pixelsToTwips(300));
  form->add(std::make_unique<text::ZorvaXPTextBox>(), "txtBefore", FormTest::at(0, 0, 60, 20));  // outlives the list's teardown
  auto& l = place(300, 210);
  fillGrid(l, 100, 6);
  l.BindObject(host::Variant(std::string("txtBefore")), 1, 2);
  at(l, 40, rowY(l, 2));
  input.click();
  ASSERT_NE(l.activeEditor(), nullptr);
  l.setShowHeaders(true);
  at(l, 289, 100);  // hover a scroll bar part: its timer runs
  at(l, 289, 195);
  input.press();
  input.advance(60);
  form.reset();
  before.check();
}

}  // namespace
}  // namespace zxp::testing
