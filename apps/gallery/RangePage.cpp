// Gallery page "range": scroll bars, progress bars and spin boxes (examples/range.zxf). In the
// live gallery the scroll bar hsbLinked drives the progress bar pbLinked: each Change of the bar
// sets the progress bar's Value, and the event log shows the bar's Change and Scrolling.
#include "Page.h"
#include "platform/host/MemberTable.h"
#include "platform/ui/User.h"

namespace zxp::gallery {
namespace {

Page rangePage() {
  Page page = formFilePage("range", "Range", 2, exampleForm("range"));
  page.form = [load = page.form](Point at) {
    std::unique_ptr<host::Form> form = load(at);
    host::Extender* bar = form->control("hsbLinked");
    if (bar && form->control("pbLinked")) {
      host::Form* f = form.get();
      form->bindEvent("hsbLinked", "Change", [f, bar](std::vector<host::Variant>&) {
        f->let("pbLinked", "Value", host::getProperty(bar->object(), "Value"));
      });
    }
    // The first spin box shows its focus look.
    if (host::Extender* spin = form->control("spnFocused")) SetFocus(spin->object().hWnd());
    return form;
  };
  return page;
}

RegisterPage reg{rangePage()};

}  // namespace
}  // namespace zxp::gallery
