// Spreadsheet export of the list through the automation object "Excel.Application": the saved
// workbook read back with an independent reader, the calls the export makes, and its silent end
// without an automation object.

#include "list/ListData.h"
#include "list/WorkbookReader.h"
#include "platform/services/Automation.h"
#include "platform/services/Recording.h"
#include "support/TempWave.h"

namespace zxp::list {
namespace {

struct ListSpreadsheet : ::testing::Test {
  ~ListSpreadsheet() override { services::resetAutomationClasses(); }
  testing::TempDir dir;
};

TEST_F(ListSpreadsheet, GridIsSavedWithBoldHeadersCellsWidthsAndCreditLine) {
  ListData d;
  d.AddNewColumn("Name", 100);
  d.AddNewColumn("Town", 100);
  d.AddItem("Ren\xC3\xA9\tParis");
  d.AddItem("Al\t");  // an empty cell is left empty
  d.ExportToExcelAsAFile(dir.file("grid"));
  ASSERT_TRUE(std::filesystem::exists(dir.file("grid.xls")));
  const std::string credit(ListData::kCreditLine);
  EXPECT_EQ(testing::readWorkbook(dir.file("grid.xls")),
            "sheet Sheet1\n"
            "cell A1 bold=1 font=Tahoma color=FF000080 value=Name\n"
            "cell B1 bold=1 font=Tahoma color=FF000080 value=Town\n"
            "cell A2 bold=0 font=Calibri color=none value=Ren\xC3\xA9\n"
            "cell B2 bold=0 font=Calibri color=none value=Paris\n"
            "cell A3 bold=0 font=Calibri color=none value=Al\n"
            "cell A5 bold=0 font=Calibri color=none value=" + credit + "\n"
            "width A 5.7\n"
            "width B 6.7\n");
}

TEST_F(ListSpreadsheet, SingleColumnHeaderTheControlsFontAndAnEmptyList) {
  ListData d;
  d.AddItem("one");
  SheetFont font;
  font.Name = "DejaVu Sans";
  font.Bold = false;
  font.Color = 0x0000FF;
  d.ExportToExcelAsAFile(dir.file("single"), font);
  const std::string text = testing::readWorkbook(dir.file("single.xls"));
  EXPECT_NE(text.find("cell A1 bold=0 font=DejaVu Sans color=FFFF0000 value=Column 1\n"), std::string::npos) << text;
  EXPECT_NE(text.find("cell A2 bold=0 font=Calibri color=none value=one\n"), std::string::npos) << text;

  ListData empty;
  empty.ExportToExcelAsAFile(dir.file("empty"));
  EXPECT_EQ(testing::readWorkbook(dir.file("empty.xls")),
            "sheet Sheet1\ncell A1 bold=0 font=Calibri color=none value=There is no item to display.\n");
}

TEST_F(ListSpreadsheet, ShowingOpensTheWorkbookAndFailuresEndSilently) {
  services::RecordingServices rec;
  ListData d;
  d.AddItem("shown");
  d.ExportToExcel();
  ASSERT_EQ(rec.shell->requests.size(), 1u);
  const std::string shown = rec.shell->requests[0].file;
  EXPECT_NE(testing::readWorkbook(shown).find("value=shown\n"), std::string::npos);
  std::filesystem::remove(shown);

  // An unwritable path: no file and no error.
  d.ExportToExcelAsAFile(dir.file("missing/x"));
  EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));

  // Without the automation object nothing happens.
  services::registerAutomationClass("Excel.Application", nullptr);
  d.ExportToExcel();
  d.ExportToExcelAsAFile(dir.file("none"));
  EXPECT_EQ(rec.shell->requests.size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(dir.file("none.xls")));
}

}  // namespace
}  // namespace zxp::list
