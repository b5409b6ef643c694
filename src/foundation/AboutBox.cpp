#include "foundation/AboutBox.h"

#include "platform/services/MessageBox.h"

namespace zxp::foundation {

namespace {
bool visible = false;
}

bool AboutBox::Visible() { return visible; }

void AboutBox::Show(HWND owner) {
  if (visible) return;
  visible = true;
  struct Reset {
    ~Reset() { visible = false; }
  } reset;
  MessageBoxA(owner,
              "ZorvaXP controls\n\nOwner-drawn controls in the XP and Vista look: buttons, check boxes, "
              "option buttons, labels, frames, text boxes, scroll bars, spin boxes, progress bars, tool and "
              "status bars, tabs, image lists, calendars, date pickers, lists and a form skin.",
              "About ZorvaXP", MB_OK | MB_ICONINFORMATION);
}

}  // namespace zxp::foundation
