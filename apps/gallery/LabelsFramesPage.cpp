// Gallery page "Labels and frames" (examples/labels-frames.zxf): a click on a link label opens
// its Hyperlink through the shell (the browser, on the desktop), and the frame fraCollapsed is
// folded up the way a user does it, by a click on its chevron.
#include "Page.h"
#include "platform/host/MemberTable.h"
#include "platform/ui/User.h"
#include "text/ZorvaXPFrame.h"
#include "text/ZorvaXPLabel.h"

namespace zxp::gallery {
namespace {

Page labelsFramesPage() {
  Page page = formFilePage("labels-frames", "Labels and frames", 4, exampleForm("labels-frames"));
  page.form = [load = page.form](Point at) {
    std::unique_ptr<host::Form> form = load(at);
    for (const char* link : {"lblLink", "lblTransparent2"}) {
      if (auto* label = form->controlAs<text::ZorvaXPLabel>(link))
        label->Click.connect([label] { label->ExecuteLink(); });
    }
    if (auto* frame = form->controlAs<text::ZorvaXPFrame>("fraCollapsed")) {
      const HWND chevron = frame->dropDownSurface().hWnd();
      SendMessageA(chevron, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 2));
      SendMessageA(chevron, WM_LBUTTONUP, 0, MAKELPARAM(4, 2));
    }
    return form;
  };
  return page;
}

RegisterPage reg{labelsFramesPage()};

}  // namespace
}  // namespace zxp::gallery
