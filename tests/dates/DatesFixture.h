// Fixture for the date controls' tests: the range fixture's form and helpers, plus finding a
// colour inside a rectangle of a surface and clicking a calendar's day cell.
#pragma once

#include <string>

#include "dates/ZorvaXPCalender.h"
#include "range/RangeFixture.h"

namespace zxp::testing {

class DatesTest : public RangeTest {
 protected:
  dates::ZorvaXPCalender& calendar(const std::string& name = "cal", int x = 10, int y = 10) {
    return place<dates::ZorvaXPCalender>(name, 191, 199, x, y);
  }
  static bool hasColour(HDC dc, const RECT& r, COLORREF c) {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (GetPixel(dc, x, y) == c) return true;
    return false;
  }
  // The index of the first cell of the given kind showing `text`, -1 when none.
  static int cellIndex(const dates::ZorvaXPCalender& c, const std::string& text, const std::string& kind = "") {
    for (int i = 0; i < 42; ++i) {
      const dates::DayCell& d = c.dayCells()[static_cast<size_t>(i)];
      if (d.Text == text && d.Kind == kind) return i;
    }
    return -1;
  }
  void clickCell(const dates::ZorvaXPCalender& c, int i) {
    const dates::DayCell& d = c.dayCells()[static_cast<size_t>(i)];
    input.moveTo(c.hWnd(), Point{(d.Left + d.Right) / 2, (d.Top + d.Bottom) / 2}).click();
  }
  void pressHeader(const dates::ZorvaXPCalender& c, const RECT& r) {
    input.moveTo(c.header().hWnd(), Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2}).click();
  }
};

}  // namespace zxp::testing
