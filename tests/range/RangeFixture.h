// Fixture for the range controls' tests: a form in a fresh window system with recording
// services, helpers to add a control sized in pixels, to read a surface's pixels and to log
// events by name.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/Gdi.h"
#include "platform/host/MemberTable.h"
#include "support/FormFixture.h"

namespace zxp::testing {

class RangeTest : public FormTest {
 protected:
  static COLORREF px(const foundation::SurfaceWindow& s, int x, int y) { return GetPixel(s.hDC(), x, y); }
  static COLORREF px(HWND h, int x, int y) {
    HDC dc = GetDC(h);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(h, dc);
    return c;
  }
  // The colour of row y (0 = top) of a vertical gradient of height h from `top` to `bottom`, as
  // GradientFillVertical's ramp computes it.
  static COLORREF gradientRow(OLE_COLOR top, OLE_COLOR bottom, int y, int h) {
    auto channel = [&](int shift) {
      int s = static_cast<int>((bottom >> shift) & 0xFF), e = static_cast<int>((top >> shift) & 0xFF);
      return static_cast<uint32_t>(s + (e - s) * (h - 1 - y) / (h - 1)) << shift;
    };
    return static_cast<COLORREF>(channel(0) | channel(8) | channel(16));
  }
  // Logs every event of a control by name, with its arguments: "Scrolling 2".
  // The logged events without those named in `skip`.
  std::vector<std::string> events(std::initializer_list<const char*> skip = {}) const {
    std::vector<std::string> out;
    for (const std::string& l : log) {
      bool drop = false;
      for (const char* s : skip)
        if (l.rfind(s, 0) == 0) drop = true;
      if (!drop) out.push_back(l);
    }
    return out;
  }
};

}  // namespace zxp::testing
