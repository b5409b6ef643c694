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
  static host::ExtenderRecord at(int x, int y, int w, int h) {
    host::ExtenderRecord r;
    r.left = pixelsToTwips(x);
    r.top = pixelsToTwips(y);
    r.width = pixelsToTwips(w);
    r.height = pixelsToTwips(h);
    return r;
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
  // An icon of one colour (0x00RRGGBB), n x n, with an optional transparent left half.
  static host::PictureRef solidIcon(uint32_t rgb, int n = 16, bool transparentLeft = false) {
    auto s = gfx::Surface::create(n, n);
    s->fill(0xFF000000u | rgb);
    if (transparentLeft) s->fillRect(Rect{0, 0, n / 2, n}, 0);
    return gfx::Picture::fromIcon(gfx::createIconFromArgb(*s));
  }
  static host::PictureRef solidBitmap(uint32_t rgb, int w, int h) {
    auto s = gfx::Surface::create(w, h);
    s->fill(rgb);
    return gfx::Picture::fromBitmap(gfx::CreateBitmapForSurface(s));
  }
  static COLORREF px(HDC dc, int x, int y) { return GetPixel(dc, x, y); }
  static Point screenOf(HWND h, Point p) {
    POINT q{p.x, p.y};
    ClientToScreen(h, &q);
    return Point{q.x, q.y};
  }
};

}  // namespace zxp::testing
