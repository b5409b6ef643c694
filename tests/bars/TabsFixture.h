// Fixture for the tab control and image list tests: a form that knows the library's classes (so
// the tab control is a container), helpers to place controls in pixels, and solid pictures.
#pragma once

#include <memory>
#include <string>

#include "bars/ZorvaXPHookTab.h"
#include "bars/ZorvaXpImageList.h"
#include "library/ClassTable.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/Surface.h"
#include "support/FormFixture.h"
#include "support/Pictures.h"

namespace zxp::testing {

using bars::ZorvaXPHookTab;
using bars::ZorvaXpImageList;

class TabsTest : public FormTest {
 protected:
  void SetUp() override {
    ui::resetWindowSystem();
    makeTabsForm(true);
  }
  void makeTabsForm(bool userMode) {
    makeForm(userMode, &library::classes(), pixelsToTwips(640), pixelsToTwips(480));
  }
  ZorvaXPHookTab& tabs(const std::string& name = "tab", int x = 10, int y = 10, int w = 400, int h = 250) {
    return form->add(library::classes(), "ZorvaXPHookTab", name, at(x, y, w, h)).as<ZorvaXPHookTab>();
  }
  ZorvaXpImageList& images(const std::string& name = "il") {
    return form->add(library::classes(), "ZorvaXpImageList", name, at(0, 0, 45, 55)).as<ZorvaXpImageList>();
  }
  // A test control (a plain panel) at pixels, on the form or in a container.
  host::Extender& panel(const std::string& name, int x, int y, int w = 60, int h = 20,
                        host::Extender* container = nullptr) {
    return form->add(registry, "TestXP", name, at(x, y, w, h), container);
  }
  static COLORREF px(HDC dc, int x, int y) { return GetPixel(dc, x, y); }
};

}  // namespace zxp::testing
