#include "platform/services/WorkbookAutomation.h"

#include <fcntl.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include "platform/base/Mkstemps.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <map>
#include <tuple>

#include "platform/base/HostError.h"
#include "platform/base/LazyLibrary.h"
#include "platform/host/runtime/Text.h"
#include "platform/services/Automation.h"
#include "platform/services/FileIo.h"
#include "platform/services/Shell.h"

namespace zxp::services {

namespace {

// libxlsxwriter (and the compression and crypto libraries it pulls in), opened when a workbook is
// first saved (base/LazyLibrary.h): a run that writes no workbook never loads them.
namespace xlsx {
#ifdef _WIN32
constinit base::LazyLibrary library{"libxlsxwriter.dll"};
#else
constinit base::LazyLibrary library{"libxlsxwriter.so.4"};
#endif
#define ZXP_XLSX_FUNCTION(name) constinit base::LazyFunction<decltype(::name)> name{library, #name}
ZXP_XLSX_FUNCTION(format_set_bold);
ZXP_XLSX_FUNCTION(format_set_font_color);
ZXP_XLSX_FUNCTION(format_set_font_name);
ZXP_XLSX_FUNCTION(format_set_font_size);
ZXP_XLSX_FUNCTION(format_set_italic);
ZXP_XLSX_FUNCTION(lxw_strerror);
ZXP_XLSX_FUNCTION(workbook_add_format);
ZXP_XLSX_FUNCTION(workbook_add_worksheet);
ZXP_XLSX_FUNCTION(workbook_close);
ZXP_XLSX_FUNCTION(workbook_new);
ZXP_XLSX_FUNCTION(worksheet_set_column);
ZXP_XLSX_FUNCTION(worksheet_write_blank);
ZXP_XLSX_FUNCTION(worksheet_write_boolean);
ZXP_XLSX_FUNCTION(worksheet_write_number);
ZXP_XLSX_FUNCTION(worksheet_write_string);
#undef ZXP_XLSX_FUNCTION
}  // namespace xlsx

using host::Variant;

constexpr int32_t kMaxRows = 1048576;
constexpr int32_t kMaxColumns = 16384;
constexpr uint64_t kMaxWorkbookBytes = uint64_t{4} << 30;

[[noreturn]] void fail(const std::string& what) { throw HostError(errApplicationDefined, what); }

struct CellFont {
  std::string name = "Calibri";
  int32_t color = 0;  // OLE colour
  bool bold = false;
  bool italic = false;
  double size = 11;
  bool operator<(const CellFont& o) const {
    return std::tie(name, color, bold, italic, size) < std::tie(o.name, o.color, o.bold, o.italic, o.size);
  }
};

struct CellData {
  Variant value;
  CellFont font;
  bool hasFont = false;
};

struct SheetData {
  std::string name;
  std::map<std::pair<int32_t, int32_t>, CellData> cells;  // (row, column), from 1
  std::map<int32_t, double> widths;                       // column -> width in characters
};

struct WorkbookData {
  std::vector<std::shared_ptr<SheetData>> sheets;
};

// ---- Writing a workbook ---------------------------------------------------------------------

// A cell holds at most 32 767 characters; a longer text keeps its beginning, so one long cell
// does not cost the whole workbook.
std::string cellText(std::string text) {
  constexpr size_t kMaxChars = 32767;
  if (text.size() <= kMaxChars) return text;
  size_t chars = 0;
  for (size_t pos = 0; pos < text.size(); pos += host::utf8CharLength(text, pos)) {
    if (++chars > kMaxChars) {
      text.resize(pos);
      break;
    }
  }
  return text;
}

// Writes the workbook to `path` with libxlsxwriter; false with a reason on failure.
bool writeXlsx(const WorkbookData& book, const std::string& path, std::string& reason) {
  if (std::string why; !xlsx::library.open(&why)) {
    reason = "workbooks cannot be written (" + why + ")";
    return false;
  }
  lxw_workbook* wb = xlsx::workbook_new(path.c_str());
  if (!wb) {
    reason = "cannot create the workbook";
    return false;
  }
  std::map<CellFont, lxw_format*> formats;
  auto formatOf = [&](const CellData& cell) -> lxw_format* {
    if (!cell.hasFont) return nullptr;
    auto it = formats.find(cell.font);
    if (it != formats.end()) return it->second;
    lxw_format* f = xlsx::workbook_add_format(wb);
    xlsx::format_set_font_name(f, cell.font.name.c_str());
    const auto ole = static_cast<uint32_t>(cell.font.color) & 0xFFFFFF;
    xlsx::format_set_font_color(f, ((ole & 0xFF) << 16) | (ole & 0xFF00) | (ole >> 16));
    if (cell.font.bold) xlsx::format_set_bold(f);
    if (cell.font.italic) xlsx::format_set_italic(f);
    xlsx::format_set_font_size(f, cell.font.size);
    formats.emplace(cell.font, f);
    return f;
  };
  lxw_error err = LXW_NO_ERROR;
  for (const auto& sheet : book.sheets) {
    lxw_worksheet* ws = xlsx::workbook_add_worksheet(wb, sheet->name.c_str());
    if (!ws) {
      err = LXW_ERROR_MEMORY_MALLOC_FAILED;
      break;
    }
    for (const auto& [column, width] : sheet->widths) {
      xlsx::worksheet_set_column(ws, static_cast<lxw_col_t>(column - 1), static_cast<lxw_col_t>(column - 1), width, nullptr);
    }
    for (const auto& [at, cell] : sheet->cells) {
      const auto r = static_cast<lxw_row_t>(at.first - 1);
      const auto c = static_cast<lxw_col_t>(at.second - 1);
      lxw_format* f = formatOf(cell);
      lxw_error e = LXW_NO_ERROR;
      switch (cell.value.kind()) {
        case Variant::Kind::Empty:
          if (f) e = xlsx::worksheet_write_blank(ws, r, c, f);
          break;
        case Variant::Kind::Boolean: e = xlsx::worksheet_write_boolean(ws, r, c, cell.value.toBool() ? 1 : 0, f); break;
        case Variant::Kind::Integer:
        case Variant::Kind::Long:
        case Variant::Kind::Single:
        case Variant::Kind::Double: e = xlsx::worksheet_write_number(ws, r, c, cell.value.toDouble(), f); break;
        default: e = xlsx::worksheet_write_string(ws, r, c, cellText(cell.value.toString()).c_str(), f); break;
      }
      if (e != LXW_NO_ERROR && err == LXW_NO_ERROR) err = e;
    }
  }
  const lxw_error closed = xlsx::workbook_close(wb);  // writes the file and frees the workbook
  if (err == LXW_NO_ERROR) err = closed;
  if (err != LXW_NO_ERROR) {
    reason = xlsx::lxw_strerror(err);
    return false;
  }
  return true;
}

// A new empty file in the temporary folder named prefix-XXXXXX.xlsx (kept; the caller owns it).
std::string newTemporaryWorkbookPath(std::string_view prefix) {
  std::error_code ec;
  std::string folder = std::filesystem::temp_directory_path(ec).string();
  if (ec || folder.empty()) folder = "/tmp";
  std::string pattern = folder + "/" + std::string(prefix) + "-XXXXXX.xlsx";
  const int fd = ::mkstemps(pattern.data(), 5);
  if (fd < 0) fail("Cannot create a temporary workbook.");
  ::close(fd);
  return pattern;
}

// Saves the workbook under `path`, atomically: libxlsxwriter writes a private temporary file,
// whose bytes then replace the target through the atomic file writer.
void saveWorkbook(const WorkbookData& book, const std::string& path) {
  const std::string cannotAccess = "Cannot access '" + path + "'.";
  if (path.empty()) fail(cannotAccess);
  const std::string scratch = newTemporaryWorkbookPath("zorvaxp-save");
  std::string reason;
  std::vector<uint8_t> bytes;
  const bool written = writeXlsx(book, scratch, reason) && readRegularFile(scratch, kMaxWorkbookBytes, bytes);
  std::error_code ec;
  std::filesystem::remove(scratch, ec);
  if (!written || !writeFileAtomically(path, bytes)) fail(cannotAccess);
}

// ---- The object model -------------------------------------------------------------------------

class Application;

class Font final : public AutomationObject {
 public:
  Font(std::shared_ptr<SheetData> sheet, int32_t row1, int32_t col1, int32_t row2, int32_t col2)
      : sheet_(std::move(sheet)), r1_(row1), c1_(col1), r2_(row2), c2_(col2) {}
  std::string typeName() const override { return "Font"; }
  const host::MemberTable& memberTable() const override {
    static const host::MemberTable table = host::ClassMembers<Font>("Font")
                                               .property("Name", &Font::Name, &Font::setName)
                                               .property("Color", &Font::Color, &Font::setColor)
                                               .property("Bold", &Font::Bold, &Font::setBold)
                                               .property("Italic", &Font::Italic, &Font::setItalic)
                                               .property("Size", &Font::Size, &Font::setSize)
                                               .build();
    return table;
  }
  std::string Name() const { return first().name; }
  void setName(std::string v) { each([&](CellFont& f) { f.name = v; }); }
  int32_t Color() const { return first().color; }
  void setColor(int32_t v) { each([&](CellFont& f) { f.color = v & 0xFFFFFF; }); }
  bool Bold() const { return first().bold; }
  void setBold(bool v) { each([&](CellFont& f) { f.bold = v; }); }
  bool Italic() const { return first().italic; }
  void setItalic(bool v) { each([&](CellFont& f) { f.italic = v; }); }
  double Size() const { return first().size; }
  void setSize(double v) {
    if (!(v >= 1 && v <= 409)) fail("Unable to set the Size property of the Font class");
    each([&](CellFont& f) { f.size = v; });
  }

 private:
  CellFont first() const {
    auto it = sheet_->cells.find({r1_, c1_});
    return it == sheet_->cells.end() ? CellFont{} : it->second.font;
  }
  template <class F>
  void each(F change) {
    for (int32_t r = r1_; r <= r2_; ++r) {
      for (int32_t c = c1_; c <= c2_; ++c) {
        CellData& cell = sheet_->cells[{r, c}];
        change(cell.font);
        cell.hasFont = true;
      }
    }
  }
  std::shared_ptr<SheetData> sheet_;
  int32_t r1_, c1_, r2_, c2_;
};

// A rectangle of cells, or (wholeColumns) every column of the sheet.
class Range final : public AutomationObject {
 public:
  Range(std::shared_ptr<SheetData> sheet, int32_t row1, int32_t col1, int32_t row2, int32_t col2, bool wholeColumns)
      : sheet_(std::move(sheet)), r1_(row1), c1_(col1), r2_(row2), c2_(col2), wholeColumns_(wholeColumns) {}
  std::string typeName() const override { return "Range"; }
  const host::MemberTable& memberTable() const override {
    static const host::MemberTable table = host::ClassMembers<Range>("Range")
                                               .property("Value", &Range::Value, &Range::setValue)
                                               .readOnlyProperty("Font", &Range::getFont)
                                               .method("AutoFit", &Range::AutoFit)
                                               .build();
    return table;
  }
  Variant Value() const {
    auto it = sheet_->cells.find({r1_, c1_});
    return it == sheet_->cells.end() ? Variant() : it->second.value;
  }
  void setValue(Variant v) {
    if (wholeColumns_) fail("Setting every cell of the sheet is not supported.");
    if (v.kind() == Variant::Kind::Object || v.kind() == Variant::Kind::Font ||
        v.kind() == Variant::Kind::Picture) {
      throw HostError(errTypeMismatch);
    }
    for (int32_t r = r1_; r <= r2_; ++r) {
      for (int32_t c = c1_; c <= c2_; ++c) sheet_->cells[{r, c}].value = v;
    }
  }
  host::ObjectRef getFont() const {
    if (wholeColumns_) fail("Formatting every cell of the sheet is not supported.");
    return std::make_shared<Font>(sheet_, r1_, c1_, r2_, c2_);
  }
  // Each column of the range gets the width of its longest text, counted in characters, plus one.
  void AutoFit() {
    std::map<int32_t, size_t> longest;
    for (const auto& [at, cell] : sheet_->cells) {
      if (at.second < c1_ || at.second > c2_) continue;
      if (!wholeColumns_ && (at.first < r1_ || at.first > r2_)) continue;
      if (cell.value.isEmpty()) continue;
      const size_t chars = host::utf8Characters(cell.value.toString()).size();
      size_t& best = longest[at.second];
      best = std::max(best, chars);
    }
    for (const auto& [column, chars] : longest) {
      sheet_->widths[column] = std::min(255.0, static_cast<double>(chars) + 1);
    }
  }

 private:
  std::shared_ptr<SheetData> sheet_;
  int32_t r1_, c1_, r2_, c2_;
  bool wholeColumns_;
};

class Workbook;

class Worksheet final : public AutomationObject {
 public:
  Worksheet(std::shared_ptr<WorkbookData> book, std::shared_ptr<SheetData> sheet)
      : book_(std::move(book)), sheet_(std::move(sheet)) {}
  std::string typeName() const override { return "Worksheet"; }
  const host::MemberTable& memberTable() const override {
    static const host::MemberTable table = host::ClassMembers<Worksheet>("Worksheet")
                                               .method("Cells", &Worksheet::Cells)
                                               .readOnlyProperty("Columns", &Worksheet::Columns)
                                               .property("Name", &Worksheet::Name, &Worksheet::setName)
                                               .method("SaveAs", &Worksheet::SaveAs)
                                               .build();
    return table;
  }
  host::ObjectRef Cells(int32_t row, int32_t column) {
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns) throw HostError(errApplicationDefined);
    return std::make_shared<Range>(sheet_, row, column, row, column, false);
  }
  host::ObjectRef Columns() const { return std::make_shared<Range>(sheet_, 1, 1, kMaxRows, kMaxColumns, true); }
  std::string Name() const { return sheet_->name; }
  void setName(std::string v) {
    if (v.empty() || v.size() > 31 || v.find_first_of("[]:*?/\\") != std::string::npos) {
      fail("You typed an invalid name for a sheet.");
    }
    sheet_->name = std::move(v);
  }
  void SaveAs(std::string Filename) { saveWorkbook(*book_, Filename); }

 private:
  std::shared_ptr<WorkbookData> book_;
  std::shared_ptr<SheetData> sheet_;
};

class Sheets final : public AutomationObject {
 public:
  explicit Sheets(std::shared_ptr<WorkbookData> book) : book_(std::move(book)) {}
  std::string typeName() const override { return "Sheets"; }
  const host::MemberTable& memberTable() const override {
    static const host::MemberTable table = host::ClassMembers<Sheets>("Sheets")
                                               .method("Item", &Sheets::Item)
                                               .readOnlyProperty("Count", &Sheets::Count)
                                               .build();
    return table;
  }
  // By position from 1, or by sheet name.
  host::ObjectRef Item(Variant Index) const {
    if (Index.kind() == Variant::Kind::String) {
      for (const auto& s : book_->sheets) {
        if (s->name == Index.toString()) return std::make_shared<Worksheet>(book_, s);
      }
      throw HostError(errSubscriptOutOfRange);
    }
    const int32_t i = Index.toLong();
    if (i < 1 || i > Count()) throw HostError(errSubscriptOutOfRange);
    return std::make_shared<Worksheet>(book_, book_->sheets[static_cast<size_t>(i - 1)]);
  }
  int32_t Count() const { return static_cast<int32_t>(book_->sheets.size()); }

 private:
  std::shared_ptr<WorkbookData> book_;
};

class Workbook final : public AutomationObject {
 public:
  explicit Workbook(std::shared_ptr<WorkbookData> book) : book_(std::move(book)) {}
  std::string typeName() const override { return "Workbook"; }
  const host::MemberTable& memberTable() const override {
    static const host::MemberTable table = host::ClassMembers<Workbook>("Workbook")
                                               .readOnlyProperty("Worksheets", &Workbook::Worksheets)
                                               .method("SaveAs", &Workbook::SaveAs)
                                               .method("Close", &Workbook::Close)
                                               .build();
    return table;
  }
  host::ObjectRef Worksheets() const { return std::make_shared<Sheets>(book_); }
  void SaveAs(std::string Filename) { saveWorkbook(*book_, Filename); }
  void Close();
  std::weak_ptr<Application> owner;

 private:
  std::shared_ptr<WorkbookData> book_;
};

class Application final : public AutomationObject, public std::enable_shared_from_this<Application> {
 public:
  std::string typeName() const override { return "Application"; }
  const host::MemberTable& memberTable() const override {
    static const host::MemberTable table =
        host::ClassMembers<Application>("Application")
            .readOnlyProperty("Workbooks", &Application::Workbooks)
            .readOnlyProperty("Worksheets", &Application::Worksheets)
            .readOnlyProperty("ActiveWorkbook", &Application::ActiveWorkbook)
            .property("Visible", &Application::Visible, &Application::setVisible)
            .method("Quit", &Application::Quit)
            .build();
    return table;
  }
  host::ObjectRef Workbooks() const;
  host::ObjectRef Worksheets() const {
    if (books_.empty()) throw HostError(errObjectNotSet);
    return std::make_shared<Sheets>(books_.back());
  }
  host::ObjectRef ActiveWorkbook() const;
  bool Visible() const { return visible_; }
  // Showing the application shows its active workbook: saved to a new temporary workbook that
  // the shell opens with the desktop's spreadsheet application.
  void setVisible(bool v) {
    if (v && !visible_ && !books_.empty()) {
      const std::string path = newTemporaryWorkbookPath("zorvaxp-workbook");
      saveWorkbook(*books_.back(), path);
      ShellExecuteA(0, "open", path.c_str(), nullptr, nullptr, 1);
    }
    visible_ = v;
  }
  void Quit() {
    books_.clear();
    visible_ = false;
  }

  std::shared_ptr<WorkbookData> addWorkbook() {
    auto book = std::make_shared<WorkbookData>();
    auto sheet = std::make_shared<SheetData>();
    sheet->name = "Sheet1";
    book->sheets.push_back(std::move(sheet));
    books_.push_back(book);
    return book;
  }
  const std::vector<std::shared_ptr<WorkbookData>>& books() const { return books_; }
  void close(const std::shared_ptr<WorkbookData>& book) { std::erase(books_, book); }

 private:
  std::vector<std::shared_ptr<WorkbookData>> books_;
  std::shared_ptr<Application> self() const;
  bool visible_ = false;
};

class WorkbookList final : public AutomationObject {
 public:
  explicit WorkbookList(std::shared_ptr<Application> app) : app_(std::move(app)) {}
  std::string typeName() const override { return "Workbooks"; }
  const host::MemberTable& memberTable() const override {
    static const host::MemberTable table = host::ClassMembers<WorkbookList>("Workbooks")
                                               .method("Add", &WorkbookList::Add)
                                               .method("Item", &WorkbookList::Item)
                                               .readOnlyProperty("Count", &WorkbookList::Count)
                                               .build();
    return table;
  }
  host::ObjectRef Add() { return wrap(app_->addWorkbook()); }
  host::ObjectRef Item(int32_t Index) const {
    if (Index < 1 || Index > Count()) throw HostError(errSubscriptOutOfRange);
    return wrap(app_->books()[static_cast<size_t>(Index - 1)]);
  }
  int32_t Count() const { return static_cast<int32_t>(app_->books().size()); }

 private:
  host::ObjectRef wrap(std::shared_ptr<WorkbookData> book) const {
    auto w = std::make_shared<Workbook>(std::move(book));
    w->owner = app_;
    return w;
  }
  std::shared_ptr<Application> app_;
};

// Reading a property hands out objects that change the application, as the object model does.
std::shared_ptr<Application> Application::self() const { return std::const_pointer_cast<Application>(shared_from_this()); }

host::ObjectRef Application::Workbooks() const { return std::make_shared<WorkbookList>(self()); }

void Workbook::Close() {
  if (auto app = owner.lock()) app->close(book_);
}

host::ObjectRef Application::ActiveWorkbook() const {
  if (books_.empty()) return nullptr;
  auto w = std::make_shared<Workbook>(books_.back());
  w->owner = self();
  return w;
}

}  // namespace

std::shared_ptr<AutomationObject> makeWorkbookApplication() { return std::make_shared<Application>(); }

}  // namespace zxp::services
