// The library's about box: a modal dialog that every control's About method shows. Only one is
// shown at a time: a request while it is visible does nothing.
#pragma once

#include "platform/gfx/Handles.h"

namespace zxp::foundation {

class AboutBox {
 public:
  static void Show(HWND owner);
  static bool Visible();
};

}  // namespace zxp::foundation
