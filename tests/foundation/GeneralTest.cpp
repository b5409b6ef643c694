#include "foundation/modGeneral.h"

#include "platform/ui/UiTestSupport.h"

namespace zxp {
namespace {

using CursorOutsideWindowTest = ui::testing::UiTest;

// The window covers screen x 100..299 and y 50..199; "inside" is strictly between its edges.
TEST_F(CursorOutsideWindowTest, OnlyTheStrictInteriorCountsAsInside) {
  HWND w = popup(Rect{100, 50, 300, 200});
  ASSERT_NE(w, 0u);
  struct Case {
    Point at;
    bool outside;
  };
  for (Case c : {Case{{100, 80}, true},    // the window's left column
                 Case{{101, 80}, false},   // one pixel right of it
                 Case{{299, 80}, false},   // the window's last column
                 Case{{300, 80}, true},    // the right edge (exclusive)
                 Case{{150, 50}, true},    // the top row
                 Case{{150, 51}, false},
                 Case{{150, 199}, false},  // the last row
                 Case{{150, 200}, true},   // the bottom edge
                 Case{{20, 20}, true}}) {
    input.moveTo(c.at);
    EXPECT_EQ(CursorOutsideWindow(w), c.outside) << c.at.x << "," << c.at.y;
  }
}

TEST_F(CursorOutsideWindowTest, AGoneWindowHasTheCursorOutside) {
  HWND w = popup(Rect{0, 0, 50, 50});
  input.moveTo(Point{25, 25});
  EXPECT_FALSE(CursorOutsideWindow(w));
  DestroyWindow(w);
  EXPECT_TRUE(CursorOutsideWindow(w) && CursorOutsideWindow(0));
}

}  // namespace
}  // namespace zxp
