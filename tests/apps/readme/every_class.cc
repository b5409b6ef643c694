// A program of one's own that uses all of the library: every public control class on one form,
// and a list exported to a spreadsheet file, so that linking it needs every library the archive
// uses. ReadmeBuild.cmake builds it with the README's build line, as it does the README's example.
// (Named .cc so that the project's test program, which takes every tests/**/*.cpp, leaves it.)
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "library/ClassTable.h"
#include "list/ZorvaXPListBox.h"
#include "platform/host/Form.h"

int main(int argc, char** argv) {
  using namespace zxp;
  if (argc != 2) return 2;
  host::FormOptions o;
  o.classes = &library::classes();
  host::Form form(o);
  int placed = 0;
  for (const host::ControlClass& c : library::classes().classes()) {
    host::ExtenderRecord at;
    at.top = 300 * placed;
    form.add(library::classes(), c.name, "ctl" + std::to_string(placed++), at);
  }
  auto& list = form.add(std::make_unique<list::ZorvaXPListBox>(), "lstExport", host::ExtenderRecord{})
                   .as<list::ZorvaXPListBox>();
  list.AddNewColumn("A", 80);
  list.AddItem("exported");
  const std::filesystem::path file = std::filesystem::path(argv[1]) / "every_class.xls";  // the export adds ".xls"
  list.ExportToExcelAsAFile((std::filesystem::path(argv[1]) / "every_class").string());
  const bool good = placed == static_cast<int>(library::classes().classes().size()) && std::filesystem::exists(file);
  std::puts(good ? "every class ok" : "every class FAILED");
  return good ? 0 : 1;
}
