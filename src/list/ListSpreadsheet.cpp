// The list's spreadsheet export: late-bound calls on the automation object "Excel.Application",
// the same calls a program makes on a spreadsheet application's object model.
#include <optional>
#include <stdexcept>

#include "list/ListData.h"
#include "platform/base/HostError.h"
#include "platform/services/Automation.h"

namespace zxp::list {

namespace {

using host::Variant;
using services::assign;
using services::invoke;

constexpr std::string_view kNoItems = "There is no item to display.";

// Fills the first worksheet of a new workbook of `app` and returns the workbook.
Variant fillWorkbook(const Variant& app, const ListData& list, const SheetFont& headerFont) {
  const Variant book = invoke(invoke(app, "Workbooks"), "Add");
  const Variant sheet = invoke(invoke(book, "Worksheets"), "Item", {Variant(int32_t{1})});
  auto cell = [&sheet](int32_t row, int32_t column) {
    return invoke(sheet, "Cells", {Variant(row), Variant(column)});
  };
  if (list.ListCount() == 0) {
    assign(cell(1, 1), "Value", Variant(kNoItems));
  } else {
    const int32_t columns = list.multiColumn() ? list.ColumnsCount() : 1;
    for (int32_t c = 1; c <= columns; ++c) {
      const Variant header = cell(1, c);
      assign(header, "Value", Variant(list.multiColumn() ? list.ColumnText(c) : std::string("Column 1")));
      const Variant font = invoke(header, "Font");
      assign(font, "Name", Variant(headerFont.Name));
      assign(font, "Color", Variant(headerFont.Color));
      assign(font, "Bold", Variant(headerFont.Bold));
    }
    for (int32_t r = 1; r <= list.ListCount(); ++r) {
      for (int32_t c = 1; c <= columns; ++c) {
        const std::string text = list.TextMatrix(r, c);
        if (!text.empty()) assign(cell(r + 1, c), "Value", Variant(text));
      }
    }
    invoke(invoke(sheet, "Columns"), "AutoFit");
    assign(cell(list.ListCount() + 3, 1), "Value", Variant(ListData::kCreditLine));
  }
  return book;
}

// The application object, or nothing when no automation class answers to the name.
std::optional<Variant> spreadsheetApplication() {
  try {
    return services::CreateObject("Excel.Application");
  } catch (const HostError&) {
    return std::nullopt;
  }
}

}  // namespace

void ListData::ExportToExcel(const SheetFont& headerFont) const {
  const auto app = spreadsheetApplication();
  if (!app) return;
  try {
    fillWorkbook(*app, *this, headerFont);
    assign(*app, "Visible", Variant(true));
  } catch (const std::exception&) {
    // The export ends without a message, as every export error does.
  }
}

void ListData::ExportToExcelAsAFile(std::string_view iStrPath, const SheetFont& headerFont) const {
  const auto app = spreadsheetApplication();
  if (!app) return;
  try {
    const Variant book = fillWorkbook(*app, *this, headerFont);
    invoke(book, "SaveAs", {Variant(std::string(iStrPath) + ".xls")});
  } catch (const std::exception&) {
    // As above: silent.
  }
  try {
    invoke(*app, "Quit");
  } catch (const std::exception&) {
  }
}

}  // namespace zxp::list
