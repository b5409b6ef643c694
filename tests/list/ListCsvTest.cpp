// CSV export of the list: the exact bytes (quoting, the comma after every field, TAB removal,
// CR LF to one space, Windows-1252), the ".csv" rule and silent failure.

#include <iterator>

#include "list/ListData.h"
#include "support/TempWave.h"

namespace zxp::list {
namespace {

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ListCsv, GridIsWrittenByteForByte) {
  testing::TempDir dir;
  ListData d;
  d.AddNewColumn("Name", 100);
  d.AddNewColumn("Note \xE2\x82\xAC", 100);  // the euro sign is byte 0x80 in Windows-1252
  d.AddItem("Ren\xC3\xA9\tsays \"hi\"");      // an accented letter and quotes kept as they are
  d.AddItem("x\ty");
  d.setTextMatrix(2, 1, "t\tab");                // TABs inside a cell are dropped
  d.setTextMatrix(2, 2, "line1\r\t\nline2\r");  // CR (TAB) LF becomes one space, a lone CR stays
  d.ExportToCsv(dir.file("out"));
  const std::string expected =
      "\"Name\",\"Note \x80\",\r\n"
      "\"Ren\xE9\",\"says \"hi\"\",\r\n"
      "\"tab\",\"line1 line2\r\",\r\n"
      "\r\n\r\n" + std::string(ListData::kCreditLine) + "\r\n";
  EXPECT_EQ(readBytes(dir.file("out.csv")), expected);
}

TEST(ListCsv, SingleColumnEmptyListAndExtensionRules) {
  testing::TempDir dir;
  ListData d;
  d.ExportToCsv(dir.file("empty.csv"));
  EXPECT_EQ(readBytes(dir.file("empty.csv")), "There is no item to display.\r\n");
  d.AddItem("one");
  d.AddItem("two\r\n");
  d.ExportToCsv(dir.file("single.CSV"));  // the check is case-sensitive
  EXPECT_FALSE(std::filesystem::exists(dir.file("single.CSV")));
  EXPECT_EQ(readBytes(dir.file("single.CSV.csv")),
            "\"Column1\"\r\n\"one\",\r\n\"two \",\r\n\r\n\r\n" + std::string(ListData::kCreditLine) + "\r\n");
  // An existing file is replaced whole.
  d.ClearAll();
  d.ExportToCsv(dir.file("single.CSV.csv"));
  EXPECT_EQ(readBytes(dir.file("single.CSV.csv")), "There is no item to display.\r\n");
}

TEST(ListCsv, UnwritablePathsEndTheExportSilently) {
  testing::TempDir dir;
  ListData d;
  d.AddItem("x");
  std::filesystem::create_directories(dir.file("folder.csv"));
  EXPECT_NO_THROW(d.ExportToCsv(dir.file("folder.csv")));  // a folder is never replaced
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder.csv")));
  EXPECT_NO_THROW(d.ExportToCsv(dir.file("missing/sub/file")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
}

}  // namespace
}  // namespace zxp::list
