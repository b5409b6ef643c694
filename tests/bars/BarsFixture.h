// Fixture for the bars' tests: a 600 x 240-pixel form in a fresh window system whose classes are
// the library's (so the bars may align themselves), helpers to place a bar, read its pixels and
// log its events by name.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "bars/ZorvaXPStatusBar.h"
#include "bars/ZorvaXPToolBar.h"
#include "library/ClassTable.h"
#include "platform/gfx/Gdi.h"
#include "platform/host/MemberTable.h"
#include "support/FormFixture.h"

namespace zxp::testing {

class BarsTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    makeForm(true, &library::classes(), pixelsToTwips(600), pixelsToTwips(240));
  }

  // A new bar (first placement: it docks itself at the top or bottom of the form).
  template <class T>
  T& place(const std::string& name) {
    return FormTest::place<T>(name, 600, 30, 0, 0);
  }
  static COLORREF px(const foundation::SurfaceWindow& s, int x, int y) { return GetPixel(s.hDC(), x, y); }
  // The bar's client point (x, y) for the input driver.
  void moveTo(const bars::ButtonStrip& bar, int x, int y) { input.moveTo(bar.hWnd(), Point{x, y}); }

  // The logged events other than the timers' ticks.
  std::vector<std::string> events() const {
    std::vector<std::string> out;
    for (const std::string& l : log)
      if (l != "Timer" && l != "MouseOverTimer") out.push_back(l);
    return out;
  }

};

}  // namespace zxp::testing
