// Fixture for label and frame tests: a form that knows the library's classes (so a frame is a
// container), helpers to place labels, frames and test controls in pixels, and solid pictures.
#pragma once

#include <memory>
#include <string>

#include "library/ClassTable.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/Surface.h"
#include "support/FormFixture.h"
#include "support/Pictures.h"
#include "text/ZorvaXPFrame.h"
#include "text/ZorvaXPLabel.h"

namespace zxp::testing {

using text::ZorvaXPFrame;
using text::ZorvaXPLabel;

class TextTest : public FormTest {
 protected:
  void SetUp() override {
    ui::resetWindowSystem();
    makeTextForm(true);
  }
  void makeTextForm(bool userMode) { makeForm(userMode, &library::classes(), pixelsToTwips(480), pixelsToTwips(360)); }
  ZorvaXPLabel& label(const std::string& name, int x = 10, int y = 10, int w = 120, int h = 24,
                      host::Extender* container = nullptr) {
    return form->add(std::make_unique<ZorvaXPLabel>(), name, at(x, y, w, h), container).as<ZorvaXPLabel>();
  }
  ZorvaXPFrame& frame(const std::string& name, int x = 10, int y = 10, int w = 200, int h = 150) {
    return form->add(std::make_unique<ZorvaXPFrame>(), name, at(x, y, w, h)).as<ZorvaXPFrame>();
  }
  // A test control (a plain panel in a flat colour) at pixels, on the form or in a container.
  TestXP& panel(const std::string& name, int x, int y, int w, int h, host::Extender* container = nullptr) {
    return form->add(registry, "TestXP", name, at(x, y, w, h), container).as<TestXP>();
  }
  static COLORREF px(HDC dc, int x, int y) { return GetPixel(dc, x, y); }
};

}  // namespace zxp::testing
