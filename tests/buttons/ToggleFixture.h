// Fixture for the check box and option button tests: a form in a fresh window system with
// recording services, helpers to place the toggles (sized in pixels, on the form or inside a
// container control) and to read their pixels, window shapes and the composed screen.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "buttons/ZorvaXPCheckBox.h"
#include "buttons/ZorvaXPOptionButton.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/ui/User.h"
#include "support/FormFixture.h"

namespace zxp::testing {

using buttons::CAlignmentCtl1;
using buttons::CBackingStyle;
using buttons::CBackStyle;
using buttons::CValueConst;
using buttons::VOBackingStyle;
using buttons::VOBackStyle;
using buttons::VOptionAlign;
using buttons::ZorvaXPCheckBox;
using buttons::ZorvaXPOptionButton;

class ToggleTest : public FormTest {
 protected:
  ZorvaXPCheckBox& checkBox(const std::string& name = "chk", int w = 120, int h = 23, int x = 10, int y = 10,
                            host::Extender* container = nullptr) {
    return place<ZorvaXPCheckBox>(name, w, h, x, y, container);
  }
  ZorvaXPOptionButton& option(const std::string& name = "opt", int w = 120, int h = 23, int x = 10, int y = 10,
                              host::Extender* container = nullptr) {
    return place<ZorvaXPOptionButton>(name, w, h, x, y, container);
  }

  static COLORREF px(const foundation::ControlBase& c, int x, int y) { return GetPixel(c.surface().hDC(), x, y); }
  static COLORREF px(const foundation::SurfaceWindow& s, int x, int y) { return GetPixel(s.hDC(), x, y); }

  // What the control painted, including where its window shape leaves the pixels out (GetPixel
  // reads only what the shape shows): the surface copied once, as colours (0x00BBGGRR).
  struct Painted {
    int width = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  };
  static Painted painted(const foundation::ControlBase& c) {
    const int w = c.surface().ScaleWidth(), h = c.surface().ScaleHeight();
    MemoryDC mem(c.surface().hDC());
    BITMAPINFO bmi{};
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = -h;
    void* bits = nullptr;
    GdiObject section(CreateDIBSection(mem.get(), &bmi, DIB_RGB_COLORS, &bits, 0, 0));
    Selection selected(mem.get(), section.get());
    BitBlt(mem.get(), 0, 0, w, h, c.surface().hDC(), 0, 0, SRCCOPY);
    Painted p;
    p.width = w;
    const Pixel* src = static_cast<const Pixel*>(bits);
    for (int i = 0; i < w * h; ++i) p.pixels.push_back(pixelToOle(src[i] & 0xFFFFFFu));
    return p;
  }

  // Whether (x, y) is inside the window's shape (true everywhere for a window without one).
  static bool inShape(HWND hwnd, int x, int y) {
    GdiObject rgn(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(hwnd, static_cast<HRGN>(rgn.get())) == ERROR) return true;
    return PtInRegion(static_cast<HRGN>(rgn.get()), x, y) != 0;
  }
  static bool hasShape(HWND hwnd) {
    GdiObject rgn(CreateRectRgn(0, 0, 0, 0));
    return GetWindowRgn(hwnd, static_cast<HRGN>(rgn.get())) != ERROR;
  }
};

}  // namespace zxp::testing
