// Fixture for the list control's tests: a 400 x 300-pixel form with the library's classes, a
// list placed on it, helpers to fill rows and columns, read pixels and log events by name.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "library/ClassTable.h"
#include "list/ZorvaXPListBox.h"
#include "platform/gfx/Gdi.h"
#include "platform/host/MemberTable.h"
#include "support/FormFixture.h"

namespace zxp::testing {

class ListControl : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    makeForm(true, &library::classes(), pixelsToTwips(400), pixelsToTwips(300));
  }

  // A new list of w x h pixels at (10, top).
  list::ZorvaXPListBox& place(int w = 300, int h = 200, const std::string& name = "lst", int top = 10) {
    return form->add(std::make_unique<list::ZorvaXPListBox>(), name, FormTest::at(10, top, w, h)).as<list::ZorvaXPListBox>();
  }
  // A grid of `rows` rows over columns A, B, C (80 pixels each); cell texts "r<row>c<column>".
  static void fillGrid(list::ZorvaXPListBox& l, int rows, int columns = 3, int width = 80) {
    for (int c = 1; c <= columns; ++c) l.AddNewColumn(std::string(1, static_cast<char>('A' + c - 1)), width);
    l.setLockUpdate(true);
    for (int r = 1; r <= rows; ++r) {
      std::string text;
      for (int c = 1; c <= columns; ++c) text += (c > 1 ? "\t" : "") + ("r" + std::to_string(r) + "c" + std::to_string(c));
      l.AddItem(text);
    }
    l.setLockUpdate(false);
  }
  static COLORREF px(const list::ZorvaXPListBox& l, int x, int y) { return GetPixel(l.surface().hDC(), x, y); }
  // Client point of the list for the input driver.
  void at(const list::ZorvaXPListBox& l, int x, int y) { input.moveTo(l.hWnd(), Point{x, y}); }
  // The vertical middle of a laid-out row.
  static int rowY(const list::ZorvaXPListBox& l, int32_t row) {
    for (const auto& b : l.rowLayout())
      if (b.index == row) return (b.top + b.bottom) / 2;
    return -1;
  }

  // The logged events without mouse movement.
  std::vector<std::string> events() const {
    std::vector<std::string> out;
    for (const std::string& l : log)
      if (l.rfind("MouseMove", 0) != 0 && l.rfind("MouseEnter", 0) != 0 && l.rfind("MouseLeave", 0) != 0)
        out.push_back(l);
    return out;
  }

};

}  // namespace zxp::testing
