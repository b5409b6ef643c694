// Gallery page "dates": month calendars and date pickers (examples/dates.zxf). The page opens the
// month picker of calPickerOpen and drops down the calendar of dtpDropped, so the snapshot shows
// both; in the live gallery every calendar and picker works (the drop-down is a separate topmost
// window above the form, closed by a press anywhere else).
#include "Page.h"
#include "dates/ZorvaXPCalender.h"
#include "dates/ZorvaXPDPicker.h"
#include "platform/host/MemberTable.h"
#include "platform/ui/User.h"

namespace zxp::gallery {
namespace {

Page datesPage() {
  Page page = formFilePage("dates", "Dates", 6, exampleForm("dates"));
  page.form = [load = page.form](Point at) {
    std::unique_ptr<host::Form> form = load(at);
    if (host::Extender* cal = form->control("calPickerOpen")) cal->as<dates::ZorvaXPCalender>().showMonthPicker();
    if (host::Extender* dtp = form->control("dtpDropped")) dtp->as<dates::ZorvaXPDPicker>().ShowCalander();
    return form;
  };
  return page;
}

RegisterPage reg{datesPage()};

}  // namespace
}  // namespace zxp::gallery
