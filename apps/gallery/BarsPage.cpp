// Gallery page "bars": tool bars in the three gradient modes with pictures, separators, a
// drop-down button, toggle buttons and tool tips, and status bars with text, lock, time and date
// panels and resizable edges (examples/bars.zxf). In the live gallery the clock panels tick and
// the lock panels follow the desktop's Caps, Num and Scroll Lock; the drop-down buttons open a
// menu (DropDownMenus.h); the event log shows each bar's Click, PopUpMainMenu and HeaderSizing,
// and one counted line for each bar's periodic Timer and MouseOverTimer.
#include "DropDownMenus.h"
#include "Page.h"

namespace zxp::gallery {
namespace {

Page barsPage() {
  Page page = formFilePage("bars", "Bars", 5, exampleForm("bars"));
  page.form = [load = page.form](Point at) {
    std::unique_ptr<host::Form> form = load(at);
    connectDropDownMenus(*form);
    return form;
  };
  return page;
}

RegisterPage reg{barsPage()};

}  // namespace
}  // namespace zxp::gallery
