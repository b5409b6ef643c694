// A surface tells its one listener (the control built on it) about each event before the
// handlers connected to the event, with the same arguments by reference.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/SurfaceWindow.h"
#include "platform/gfx/SysColors.h"
#include "support/FormFixture.h"

namespace zxp::testing {
namespace {

using SurfaceListening = FormTest;

struct Recorder : foundation::SurfaceListener {
  std::vector<std::string>* log = nullptr;
  void surfaceMouseDown(int16_t&, int16_t&, float& x, float&) override {
    log->push_back("listener down");
    x += 100;  // seen by the handlers that follow
  }
  void surfaceClick() override { log->push_back("listener click"); }
  void surfaceKeyPress(int16_t& a) override {
    log->push_back("listener key");
    a = 'Z';
  }
};

TEST_F(SurfaceListening, TheListenerHearsFirstAndItsChangesReachTheHandlers) {
  foundation::SurfaceWindow surface;
  ASSERT_TRUE(surface.create(form->hWnd(), Rect::fromXYWH(10, 10, 40, 20)));
  ShowWindow(surface.hWnd(), SW_SHOW);
  std::vector<std::string> log;
  Recorder recorder;
  recorder.log = &log;
  surface.setListener(&recorder);
  surface.MouseDown.connect([&](int16_t&, int16_t&, float& x, float&) { log.push_back("handler down " + std::to_string(static_cast<int>(x))); });
  surface.Click.connect([&] { log.push_back("handler click"); });
  surface.KeyPress.connect([&](int16_t& a) { log.push_back(std::string("handler key ") + static_cast<char>(a)); });

  ui::TestInput in;
  in.moveTo(surface.hWnd(), Point{5, 5}).click();
  SetFocus(surface.hWnd());
  in.key('A');
  EXPECT_EQ(log, (std::vector<std::string>{"listener down", "handler down 105", "listener click", "handler click",
                                           "listener key", "handler key Z"}));

  // Without a listener the connected handlers still hear everything.
  log.clear();
  surface.setListener(nullptr);
  in.moveTo(surface.hWnd(), Point{25, 5}).click();  // far enough not to be a double click
  EXPECT_EQ(log, (std::vector<std::string>{"handler down 25", "handler click"}));
}

TEST_F(SurfaceListening, AControlHearsItsSurfaceBeforeOtherHandlersOfTheSurface) {
  TestXP& c = add("Test1");
  std::vector<std::string> log;
  c.MouseDown.connect([&](int16_t&, int16_t&, float&, float&) { log.push_back("control's MouseDown"); });
  const_cast<foundation::SurfaceWindow&>(c.surface()).MouseDown.connect([&](int16_t&, int16_t&, float&, float&) { log.push_back("surface handler"); });
  ui::TestInput in;
  in.moveTo(c.hWnd(), Point{3, 3}).press().release();
  EXPECT_EQ(log, (std::vector<std::string>{"control's MouseDown", "surface handler"}));
}

using SurfaceClearing = FormTest;

// Cls paints BackColor (a system colour translated) over the whole client area, through the
// DC's clip and whatever its mix mode, and nothing outside the clip.
TEST_F(SurfaceClearing, ClsPaintsTheBackColourThroughTheClipWhateverTheMixMode) {
  foundation::SurfaceWindow surface;
  ASSERT_TRUE(surface.create(form->hWnd(), Rect::fromXYWH(10, 10, 40, 20)));
  const HDC dc = surface.hDC();
  auto pixel = [&](int x, int y) { return GetPixel(dc, x, y); };
  for (int rop2 : {R2_COPYPEN, R2_XORPEN}) {
    SCOPED_TRACE(rop2);
    surface.setBackColor(RGB(1, 2, 3));
    SetROP2(dc, rop2);
    IntersectClipRect(dc, 5, 5, 30, 15);
    surface.setBackColor(0x80000000 | COLOR_BTNFACE);  // clears again, inside the clip
    EXPECT_EQ(pixel(5, 5), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(pixel(29, 14), GetSysColor(COLOR_BTNFACE));
    SelectClipRgn(dc, 0);
    EXPECT_EQ(std::tuple(pixel(4, 5), pixel(30, 14)), std::tuple(RGB(1, 2, 3), RGB(1, 2, 3)));
    SetROP2(dc, R2_COPYPEN);
  }
}

}  // namespace
}  // namespace zxp::testing
