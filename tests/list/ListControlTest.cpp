// The list control's interface and input: its member table and persistence, selection by mouse
// in the three modes, header clicks that sort, column resizing, check glyphs, the wheel, the
// keyboard and a leak-free teardown.
#include <gtest/gtest.h>

#include "list/ListControlFixture.h"
#include "list/WorkbookReader.h"
#include "support/TempWave.h"
#include "range/ZorvaXPSpin.h"
#include "text/ZorvaXPTextBox.h"
#include "platform/gfx/Handles.h"
#include "platform/host/HostError.h"
#include "platform/host/PropertyBag.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/User.h"

namespace zxp::testing {
namespace {

using list::LHStyle;
using list::LSelectedMode;
using list::ZorvaXPListBox;

TEST_F(ListControl, EventsAndMembersCarryThePublishedNumbers) {
  auto& l = place();
  const host::MemberTable& t = l.memberTable();
  ASSERT_EQ(t.events().size(), 28u);
  EXPECT_EQ(t.findEvent("Click")->dispid, 1);
  EXPECT_EQ(t.findEvent("ListClick")->dispid, 13);
  EXPECT_EQ(t.findEvent("MouseDown")->dispid, 15);
  EXPECT_EQ(t.findEvent("RowClick")->dispid, 24);
  EXPECT_EQ(t.findEvent("MouseLeave")->dispid, 28);
  EXPECT_EQ(t.find("BackgroundStyle")->dispid, host::kPropertyDispIdBase);
  EXPECT_EQ(t.find("About")->dispid, host::DISPID_ABOUTBOX);
  // Late-bound calls reach the control; what cannot work here says so with 438.
  host::callMethod(l, "AddNewColumn", {host::Variant(std::string("Name")), host::Variant(int32_t{90})});
  host::callMethod(l, "AddItem", {host::Variant(std::string("x"))});
  EXPECT_EQ(host::getProperty(l, "ListCount").toString(), "1");
  try {
    host::callMethod(l, "AddItemsByArray", {host::Variant(std::string("a"))});
    FAIL();
  } catch (const HostError& e) {
    EXPECT_EQ(e.number(), 438);
  }
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
  EXPECT_EQ(copy.BackColor(), 0x123456u);
  EXPECT_TRUE(copy.ShowHeaders());
  EXPECT_FLOAT_EQ(copy.SelectedGradientAngle(), 46.0f);
  ASSERT_EQ(copy.ColumnsCount(), 2);
  EXPECT_EQ(copy.ColumnStyle(1), LHStyle::CheckBox);
  EXPECT_EQ(copy.ColumnWidth(2), 60);
  EXPECT_EQ(again->save(), saved);
  // Defaults are those published.
  auto& fresh = place(200, 100, "fresh");
  EXPECT_EQ(fresh.BorderColor(), 0xA56E3Au);
  EXPECT_EQ(fresh.SelectedModeStyle(), list::LSelectedModeStyle::LSMSFullRow);
  EXPECT_EQ(fresh.SelectedHeaderGradientStyle(), list::LBGStyle::XpStyle);
  EXPECT_EQ(fresh.TransparencyLevel(), 75);
  EXPECT_EQ(fresh.PictureCordWidth(), -1);
}

TEST_F(ListControl, ClicksSelectByModeWithShiftAndCtrl) {
  auto& l = place(300, 210);
  fillGrid(l, 8);
  logEvents(l);
  at(l, 100, rowY(l, 2));
  input.click();
  EXPECT_EQ(l.ListIndex(), 2);
  EXPECT_EQ(l.SelectedCount(), 1);
  EXPECT_TRUE(l.Selected(2));
  const std::vector<std::string> expected = {"ListIndexChange 2 8",         "ListClick 2 r2c1\tr2c2\tr2c3",
                                             "MouseDown 1 0 100 34",        "CellClick 2 2 81 23 161 45 r2c2",
                                             "RowClick 2 r2c1\tr2c2\tr2c3", "MouseUp 1 0 100 34",
                                             "Click"};
  EXPECT_EQ(events(), expected);

  l.setSelectedMode(LSelectedMode::LSMExtend);
  at(l, 100, rowY(l, 5));
  input.chord({VK_SHIFT}, 0);  // nothing: modifiers only
  input.keyDown(VK_SHIFT).click().keyUp(VK_SHIFT);
  EXPECT_EQ(l.ListIndex(), 5);
  EXPECT_EQ(l.SelectedCount(), 4);  // rows 2..5
  for (int r = 2; r <= 5; ++r) EXPECT_TRUE(l.Selected(r)) << r;
  at(l, 100, rowY(l, 3));
  input.keyDown(VK_CONTROL).click().keyUp(VK_CONTROL);
  EXPECT_FALSE(l.Selected(3));
  EXPECT_EQ(l.SelectedCount(), 3);
  at(l, 100, rowY(l, 7));
  input.click();
  EXPECT_EQ(l.SelectedCount(), 1);
  EXPECT_TRUE(l.Selected(7));

  l.setSelectedMode(LSelectedMode::LSMMultiple);
  at(l, 100, rowY(l, 1));
  input.click();
  EXPECT_TRUE(l.Selected(1));
  EXPECT_TRUE(l.Selected(7));
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
  EXPECT_EQ(l.TextMatrix(1, 1), "2");
  EXPECT_EQ(l.TextMatrix(4, 1), "100");
  EXPECT_EQ(l.sortedColumn(), 1);
  EXPECT_TRUE(l.sortedAscending());
  EXPECT_EQ(events()[0], "HeaderClick 1");
  EXPECT_EQ(events()[1], "HeaderAdvancedClick 1 1 40 10");
  input.advance(1000);  // not a double click
  input.click();
  EXPECT_EQ(l.TextMatrix(1, 1), "100");
  EXPECT_EQ(l.TextMatrix(4, 1), "2");
  EXPECT_FALSE(l.sortedAscending());
  // Another column sorts ascending again.
  at(l, 120, 10);
  input.advance(1000);
  input.click();
  EXPECT_TRUE(l.sortedAscending());
  EXPECT_EQ(l.sortedColumn(), 2);
  l.setAllowSortItems(false);
  input.advance(1000);
  input.click();
  EXPECT_TRUE(l.sortedAscending());
}

TEST_F(ListControl, AColumnDraggedNarrowerThan20Keeps20) {
  auto& l = place();
  fillGrid(l, 3);
  l.setShowHeaders(true);
  at(l, 80, 10);  // column 1's right edge
  input.press();
  at(l, 30, 10);
  input.release();
  EXPECT_EQ(l.ColumnWidth(1), 29);
  at(l, 30, 10);
  input.press();
  at(l, 5, 10);
  input.release();
  EXPECT_EQ(l.ColumnWidth(1), 20);
  EXPECT_EQ(l.columnLayout()[2].left, 21);
  l.setAllowToHeadersResizing(false);
  at(l, 20, 10);
  input.press();
  at(l, 100, 10);
  input.release();
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
  input.key(VK_END);
  EXPECT_EQ(l.ListIndex(), 50);
  EXPECT_EQ(l.topRow(), 42);
  input.key(VK_HOME);
  EXPECT_EQ(l.ListIndex(), 1);
  EXPECT_EQ(l.topRow(), 1);
  input.key(VK_NEXT);
  EXPECT_EQ(l.ListIndex(), 10);
  input.key(VK_UP);
  EXPECT_EQ(l.ListIndex(), 9);
  EXPECT_TRUE(l.Selected(9));
  EXPECT_EQ(l.SelectedCount(), 1);
  input.key(VK_RIGHT);
  EXPECT_EQ(l.SelectedColIndex(), 3);  // column 2 was clicked
}

TEST_F(ListControl, ArrowsRepeatWhileHeldAndRaiseVerticalScrolling) {
  auto& l = place(300, 210);
  fillGrid(l, 100);
  logEvents(l);
  at(l, 289, 195);  // the down arrow
  input.press();
  EXPECT_EQ(l.topRow(), 2);
  input.advance(100);
  EXPECT_EQ(l.topRow(), 6);
  input.release();
  input.advance(100);
  EXPECT_EQ(l.topRow(), 6);
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
  l.setDisplayToolTipsForListItems(false);
  at(l, 41, rowY(l, 2));
  at(l, 41, rowY(l, 1));
  input.advance(1500);
  EXPECT_FALSE(l.toolTipShown());
}

TEST_F(ListControl, ABoundEditorCommitsByEnterAndEscapeLeavesTheCell) {
  auto& l = place(300, 200);
  fillGrid(l, 5);
  host::ExtenderRecord r;
  r.left = r.top = pixelsToTwips(320);
  r.width = pixelsToTwips(60);
  r.height = pixelsToTwips(20);
  auto& txt = form->add(std::make_unique<text::ZorvaXPTextBox>(), "txtEdit", r).as<text::ZorvaXPTextBox>();
  auto& spn = form->add(std::make_unique<range::ZorvaXPSpin>(), "spnEdit", r).as<range::ZorvaXPSpin>();
  l.BindObject(host::Variant(std::string("txtEdit")), 2, 1);
  l.BindObject(host::Variant(std::string("spnEdit")), 3, 5);  // clamped to the last column
  EXPECT_FALSE(ext("txtEdit").Visible());
  EXPECT_EQ(l.boundEditor(2), &ext("txtEdit"));
  EXPECT_EQ(l.boundEditor(3), &ext("spnEdit"));
  logEvents(l);
  // A click on row 2, column 2 opens the text box over the cell with the cell's text.
  at(l, 100, rowY(l, 2));
  input.click();
  ASSERT_EQ(l.activeEditor(), &ext("txtEdit"));
  EXPECT_TRUE(ext("txtEdit").Visible());
  EXPECT_EQ(txt.Text(), "r2c2");
  EXPECT_EQ(ext("txtEdit").Left(), pixelsToTwips(10 + 81));
  EXPECT_EQ(ext("txtEdit").Width(), pixelsToTwips(80));
  EXPECT_EQ(events()[1], "BeforeCellEdit 2 2 r2c2");
  txt.setText("42");
  input.key(VK_RETURN);
  EXPECT_EQ(l.TextMatrix(2, 2), "42");
  EXPECT_FALSE(ext("txtEdit").Visible());
  EXPECT_EQ(l.activeEditor(), nullptr);
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

TEST_F(ListControl, ARowDraggedTwoRowsDownLandsAtTheMarkedInsertionPoint) {
  auto& l = place();
  fillGrid(l, 6);
  l.setDragSelected(true);
  at(l, 100, rowY(l, 2));
  input.press();
  // The lower half of row 3 marks the boundary before row 4.
  at(l, 100, rowY(l, 3) + 5);
  EXPECT_EQ(l.dropInsertionRow(), 4);
  at(l, 100, l.rowLayout()[3].bottom - 3);  // lower half of row 4
  EXPECT_EQ(l.dropInsertionRow(), 5);
  EXPECT_EQ(px(l, 150, l.rowLayout()[4].top), 0x000000u);  // the drop line
  EXPECT_EQ(l.ListIndex(), 2);  // dragging does not select
  input.release();
  EXPECT_EQ(l.TextMatrix(4, 1), "r2c1");
  EXPECT_EQ(l.TextMatrix(2, 1), "r3c1");
  EXPECT_EQ(l.TextMatrix(3, 1), "r4c1");
  EXPECT_EQ(l.ListIndex(), 4);
  EXPECT_TRUE(l.Selected(4));
  EXPECT_FALSE(l.Selected(2));
  EXPECT_EQ(l.dropInsertionRow(), 0);
  // Upwards: row 5 dropped above row 1 becomes the first row.
  input.advance(1000);
  at(l, 100, rowY(l, 5));
  input.press();
  at(l, 100, l.rowLayout()[0].top + 2);
  input.release();
  EXPECT_EQ(l.TextMatrix(1, 1), "r5c1");
  EXPECT_EQ(l.ListIndex(), 1);
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
  EXPECT_EQ(l.ListCount(), 0);
  EXPECT_EQ(l.ColumnsCount(), 0);
  l.SetupSpreadSheet(30, 4);
  EXPECT_EQ(l.ListCount(), 30);
  ASSERT_EQ(l.ColumnsCount(), 4);
  EXPECT_EQ(l.ColumnText(1), "No");
  EXPECT_EQ(l.ColumnWidth(1), 45);
  EXPECT_EQ(l.ColumnText(3), "Column3");
  EXPECT_TRUE(l.SetFirstColumnAsFixed());
  EXPECT_EQ(l.TextMatrix(7, 1), "7");
  EXPECT_FALSE(l.LockUpdate());
}

TEST_F(ListControl, AFormWithListsLeavesNothingBehind) {
  form.reset();
  const size_t handlesBefore = handles().liveCount();
  const size_t timersBefore = ui::eventLoop().timerCount();
  makeForm(true, &library::classes(), pixelsToTwips(400), pixelsToTwips(300));
  host::ExtenderRecord r;
  r.width = pixelsToTwips(60);
  r.height = pixelsToTwips(20);
  form->add(std::make_unique<text::ZorvaXPTextBox>(), "txtBefore", r);  // outlives the list's teardown
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
  EXPECT_EQ(handles().liveCount(), handlesBefore);
  EXPECT_EQ(ui::eventLoop().timerCount(), timersBefore);
}

}  // namespace
}  // namespace zxp::testing
