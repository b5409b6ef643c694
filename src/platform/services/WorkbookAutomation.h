// The platform's built-in "Excel.Application": an automation object that answers the calls of a
// spreadsheet application's object model that a program needs to fill and save a workbook, and
// writes real workbooks with libxlsxwriter.
//
//   Application  .Workbooks  .Worksheets (of the active workbook)  .ActiveWorkbook
//                .Visible (get/let)  .Quit
//   Workbooks    .Add -> Workbook  .Item(i)  .Count
//   Workbook     .Worksheets  .SaveAs(Filename)  .Close
//   Worksheets   .Item(i) -> Worksheet  .Count
//   Worksheet    .Cells(row, column) -> Range  .Columns -> Range  .Name  .SaveAs(Filename)
//   Range        .Value (get/let)  .Font -> Font  .AutoFit
//   Font         .Name  .Color (an OLE colour 0x00BBGGRR)  .Bold  .Italic  .Size
//
// A new workbook has one sheet, "Sheet1". Cells keep what they were given: texts are written as
// texts (at most the format's 32 767 characters; a longer text keeps its beginning), numbers as
// numbers, Booleans as Booleans. AutoFit sets the width of every column the
// range covers to the length of its longest text (in characters, plus one), at the time it is
// called. Rows and columns count from 1, within the format's 1 048 576 rows and 16 384 columns;
// anything else raises error 1004.
//
// Saving: SaveAs writes the whole workbook atomically (a complete new file or the old one left
// as it was); the file is a modern Office Open XML workbook (.xlsx content) whatever name it is
// given. Setting Visible to True saves the active workbook to a new temporary file and asks the
// shell to "open" it, so the desktop's spreadsheet application shows it. A failed save raises
// error 1004 naming the file. Quit closes every workbook without saving.
#pragma once

#include <cstdint>
#include <memory>

namespace zxp::services {

class AutomationObject;

constexpr int32_t errApplicationDefined = 1004;

std::shared_ptr<AutomationObject> makeWorkbookApplication();

}  // namespace zxp::services
