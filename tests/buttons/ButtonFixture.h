// Fixture for push-button tests: a form in a fresh window system with recording services, and
// helpers to add buttons sized in pixels and to read their pixels.
#pragma once

#include <memory>
#include <string>

#include "buttons/ZorvaXPButton.h"
#include "platform/gfx/Gdi.h"
#include "support/FormFixture.h"

namespace zxp::testing {

using buttons::ButtonStyleDType;
using buttons::ClickButtonStyleDType;
using buttons::PicSizeDtype;
using buttons::PicturePositionDType;
using buttons::ZorvaXPButton;

class ButtonTest : public FormTest {
 protected:
  // A button at (x, y) of the form, w x h pixels inside.
  ZorvaXPButton& button(const std::string& name, int w = 75, int h = 23, int x = 10, int y = 10) {
    return place<ZorvaXPButton>(name, w, h, x, y);
  }
  static COLORREF px(const ZorvaXPButton& b, int x, int y) { return GetPixel(b.surface().hDC(), x, y); }
};

}  // namespace zxp::testing
