// Late-bound objects: creation by program identifier and the host's errors, and the built-in
// "Excel.Application" workbook writer read back with an independent reader.
#include "platform/services/Automation.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "list/WorkbookReader.h"
#include "platform/base/HostError.h"
#include "platform/services/Recording.h"
#include "platform/services/WorkbookAutomation.h"
#include "support/TempWave.h"

namespace zxp::services {
namespace {

using host::Variant;

int errorOf(auto&& call) {
  try {
    call();
  } catch (const HostError& e) {
    return e.number();
  }
  return 0;
}

class Counter final : public AutomationObject {
 public:
  std::string typeName() const override { return "Counter"; }
  const host::MemberTable& memberTable() const override {
    static const host::MemberTable table = host::ClassMembers<Counter>("Counter")
                                               .property("Value", &Counter::Value, &Counter::setValue)
                                               .method("Add", &Counter::Add)
                                               .build();
    return table;
  }
  int32_t Value() const { return value_; }
  void setValue(int32_t v) { value_ = v; }
  int32_t Add(int32_t n) { return value_ += n; }

 private:
  int32_t value_ = 0;
};

struct AutomationTest : ::testing::Test {
  ~AutomationTest() override { resetAutomationClasses(); }
};

TEST_F(AutomationTest, CreationByIdentifierAndTheHostsErrors) {
  try {
    CreateObject("No.Such.Class");
    FAIL();
  } catch (const HostError& e) {
    EXPECT_EQ(e.number(), 429);
    EXPECT_EQ(e.description(), "ActiveX component can't create object");
  }
  registerAutomationClass("Test.Counter", [] { return std::make_shared<Counter>(); });
  const Variant counter = CreateObject("test.COUNTER");  // identifiers ignore case
  EXPECT_EQ(counter.typeName(), "Counter");
  assign(counter, "value", Variant(int32_t{40}));
  EXPECT_EQ(invoke(counter, "Add", {Variant(int32_t{2})}).toLong(), 42);
  EXPECT_EQ(invoke(counter, "Value").toLong(), 42);
  EXPECT_EQ(errorOf([&] { invoke(counter, "Missing"); }), 438);
  EXPECT_EQ(errorOf([&] { invoke(counter, "Value", {Variant(int32_t{1})}); }), 450);
  EXPECT_EQ(errorOf([&] { invoke(Variant(host::ObjectRef()), "Value"); }), 91);
  EXPECT_EQ(errorOf([&] { invoke(Variant(), "Value"); }), 91);

  // A factory that yields nothing, and a removed class, cannot create.
  registerAutomationClass("Test.Counter", [] { return std::shared_ptr<AutomationObject>(); });
  EXPECT_EQ(errorOf([] { CreateObject("Test.Counter"); }), 429);
  registerAutomationClass("Excel.Application", nullptr);
  EXPECT_EQ(errorOf([] { CreateObject("Excel.Application"); }), 429);
  resetAutomationClasses();
  EXPECT_EQ(errorOf([] { CreateObject("Test.Counter"); }), 429);
  EXPECT_EQ(CreateObject("Excel.Application").typeName(), "Application");
}

TEST_F(AutomationTest, WorkbookCellsFontsWidthsAndSave) {
  testing::TempDir dir;
  const Variant app = CreateObject("Excel.Application");
  EXPECT_EQ(errorOf([&] { invoke(app, "Worksheets"); }), 91);  // no workbook yet
  const Variant book = invoke(invoke(app, "Workbooks"), "Add");
  const Variant sheets = invoke(book, "Worksheets");
  EXPECT_EQ(invoke(sheets, "Count").toLong(), 1);
  EXPECT_EQ(errorOf([&] { invoke(sheets, "Item", {Variant(int32_t{2})}); }), 9);
  const Variant sheet = invoke(sheets, "Item", {Variant("Sheet1")});
  auto cell = [&](int32_t r, int32_t c) { return invoke(sheet, "Cells", {Variant(r), Variant(c)}); };
  EXPECT_EQ(errorOf([&] { cell(0, 1); }), errApplicationDefined);
  EXPECT_EQ(errorOf([&] { cell(1, 16385); }), errApplicationDefined);

  assign(cell(1, 1), "Value", Variant("Caf\xC3\xA9"));
  const Variant font = invoke(cell(1, 1), "Font");
  assign(font, "Name", Variant("Tahoma"));
  assign(font, "Color", Variant(int32_t{0x0000FF}));  // OLE red
  assign(font, "Bold", Variant(true));
  EXPECT_TRUE(invoke(invoke(cell(1, 1), "Font"), "Bold").toBool());
  assign(cell(2, 1), "Value", Variant(2.5));
  assign(cell(2, 2), "Value", Variant("a longer text"));
  EXPECT_EQ(invoke(cell(2, 1), "Value").toDouble(), 2.5);
  invoke(invoke(sheet, "Columns"), "AutoFit");

  // A save into a missing folder fails with 1004 and leaves nothing behind.
  EXPECT_EQ(errorOf([&] { invoke(book, "SaveAs", {Variant(dir.file("none/x.xlsx"))}); }), errApplicationDefined);
  const std::string path = dir.file("book.xls");
  invoke(book, "SaveAs", {Variant(path)});
  EXPECT_EQ(testing::readWorkbook(path),
            "sheet Sheet1\n"
            "cell A1 bold=1 font=Tahoma color=FFFF0000 value=Caf\xC3\xA9\n"
            "cell A2 bold=0 font=Calibri color=none value=2.5\n"
            "cell B2 bold=0 font=Calibri color=none value=a longer text\n"
            "width A 5.7\n"
            "width B 14.7\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temporary left
  // A text beyond a cell's 32 767 characters keeps its beginning; the rest of the book is saved.
  assign(cell(5, 1), "Value", Variant(std::string(32766, 'x') + "\xC3\xA9yz"));
  invoke(book, "SaveAs", {Variant(path)});
  EXPECT_NE(testing::readWorkbook(path).find("value=" + std::string(32766, 'x') + "\xC3\xA9\n"), std::string::npos);
  invoke(app, "Quit");
  EXPECT_EQ(invoke(invoke(app, "Workbooks"), "Count").toLong(), 0);
}

TEST_F(AutomationTest, ShowingTheApplicationOpensASavedWorkbookThroughTheShell) {
  RecordingServices rec;
  const Variant app = CreateObject("Excel.Application");
  const Variant book = invoke(invoke(app, "Workbooks"), "Add");
  const Variant sheet = invoke(invoke(app, "Worksheets"), "Item", {Variant(int32_t{1})});
  assign(invoke(sheet, "Cells", {Variant(int32_t{3}), Variant(int32_t{2})}), "Value", Variant("shown"));
  assign(app, "Visible", Variant(true));
  EXPECT_TRUE(invoke(app, "Visible").toBool());
  ASSERT_EQ(rec.shell->requests.size(), 1u);
  EXPECT_EQ(rec.shell->requests[0].operation, "open");
  const std::string shown = rec.shell->requests[0].file;
  EXPECT_EQ(std::filesystem::path(shown).extension(), ".xlsx");
  EXPECT_EQ(testing::readWorkbook(shown), "sheet Sheet1\ncell B3 bold=0 font=Calibri color=none value=shown\n");
  std::filesystem::remove(shown);
}

}  // namespace
}  // namespace zxp::services
