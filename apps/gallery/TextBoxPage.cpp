// Gallery page "textbox" (titled "Text"): single-line text boxes (required, with a button and
// its icon, numbers only, upper case, formatted when the focus leaves, disabled) and multi-line
// ones with and without the owner-drawn scroll bar and the status strip, one locked
// (examples/text.zxf). In the live gallery every box takes typing; the first one shows its focus
// look.
#include "Page.h"
#include "platform/ui/User.h"

namespace zxp::gallery {
namespace {

Page textBoxPage() {
  Page page = formFilePage("textbox", "Text", 3, exampleForm("text"));
  page.form = [load = page.form](Point at) {
    std::unique_ptr<host::Form> form = load(at);
    if (host::Extender* first = form->control("txtPlain")) SetFocus(first->object().hWnd());
    return form;
  };
  return page;
}

RegisterPage reg{textBoxPage()};

}  // namespace
}  // namespace zxp::gallery
