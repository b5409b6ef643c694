// Gallery page "Grid" (examples/grid.zxf): the list control as a picture list, a task list with
// check-box and button cells, and a spreadsheet-like grid from SetupSpreadSheet. Rows are never
// saved in a form, so the page fills them the way an application does; the sheet holds 100 000
// generated rows, sorted by a click on a header and scrolled by wheel, keys and scroll bars; its
// cells are edited in place by the form's text box, spin box (Amount) and date picker (Date).
// Tasks move by dragging them (DragSelected); picture rows dragged onto the task list (an OLE
// drag of their text) become new tasks, as an application would take a drop.
#include <string>

#include "Page.h"
#include "list/ZorvaXPListBox.h"
#include "platform/host/DataObject.h"

namespace zxp::gallery {
namespace {

using list::ZorvaXPListBox;

void fillPictures(ZorvaXPListBox& l) {
  const char* names[] = {"Home folder", "Inbox", "Warnings", "Treasures", "Red alerts", "Violet notes",
                         "Archive", "Drafts"};
  for (int i = 0; i < 8; ++i)
    l.AddItem(names[i], false, i, i % 6 + 1, i % 6 + 1, i == 1, i == 4, false, i == 6);
  l.setSelected(8, false);
  l.setListIndex(2);
  l.setSelected(2, true);
}

void fillTasks(ZorvaXPListBox& l) {
  const char* tasks[] = {"Write report", "Call Anna", "Pay invoices", "Book train", "Plan review", "Water plants"};
  for (int i = 0; i < 6; ++i)
    l.AddItem(std::string(i % 2 == 0 ? "True" : "False") + "\t" + tasks[i] + "\tEdit");
  l.setSelected(6, false);
  l.setListIndex(3);
  l.setSelected(3, true);
}

void fillSheet(ZorvaXPListBox& l, int32_t rows) {
  l.SetupSpreadSheet(rows, 7, host::Variant(std::string("txtCell")));
  l.BindObject(host::Variant(std::string("spnCell")), 3, 1);
  l.BindObject(host::Variant(std::string("dtpCell")), 4, 1);
  l.setLockUpdate(true);
  const char* cities[] = {"Oslo", "Lima", "Perth", "Quito", "Riga", "Sofia", "Turin"};
  for (int32_t r = 1; r <= rows; ++r) {
    l.setTextMatrix(r, 2, cities[r % 7]);
    l.setTextMatrix(r, 3, std::to_string((r * 7919) % 1000));
    l.setTextMatrix(r, 4, "1" + std::to_string(r % 9) + "-0" + std::to_string(1 + r % 9) + "-" + std::to_string(2000 + r % 25));
    l.setTextMatrix(r, 5, r % 3 == 0 ? "open" : "closed");
  }
  for (int32_t c = 2; c <= 7; ++c) l.setColumnText(c, std::string("Column") + std::to_string(c));
  l.setColumnText(2, "City");
  l.setColumnText(3, "Amount");
  l.setColumnText(4, "Date");
  l.setColumnText(5, "State");
  l.setSelected(rows, false);
  for (int32_t r = 3; r <= 5; ++r) l.setSelected(r, true);
  l.setLockUpdate(false);
  l.setListIndex(3);
}

Page gridPage() {
  Page page = formFilePage("grid", "Grid", 7, exampleForm("grid"));
  page.form = [load = page.form](Point at) {
    std::unique_ptr<host::Form> form = load(at);
    if (auto* l = form->controlAs<ZorvaXPListBox>("lstPictures")) fillPictures(*l);
    if (auto* l = form->controlAs<ZorvaXPListBox>("lstTasks")) {
      fillTasks(*l);
      l->OLEDragDrop.connect([l](host::Variant& data, int32_t&, int16_t&, int16_t&, float&, float&) {
        auto d = host::dataObjectOf(data);
        if (!d || !d->GetFormat(host::vbCFText)) return;
        const std::string text = d->GetData(host::vbCFText).toString();
        size_t start = 0;
        while (start < text.size()) {
          size_t end = text.find("\r\n", start);
          if (end == std::string::npos) end = text.size();
          const std::string line = text.substr(start, end - start);
          if (!line.empty()) l->AddItem("False\t" + line.substr(0, line.find('\t')) + "\tEdit");
          start = end + 2;
        }
      });
    }
    if (auto* l = form->controlAs<ZorvaXPListBox>("lstSheet")) fillSheet(*l, 100000);
    return form;
  };
  return page;
}

RegisterPage reg{gridPage()};

}  // namespace
}  // namespace zxp::gallery
