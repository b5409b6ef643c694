// Closing forms ends the application: the event loop's run() returns once the last top-level
// form is gone, whichever way it went (Alt+F4, the system menu's Close, a skin's close button,
// Unload), and not while a top-level form is left; a page form inside another window and a form
// unloaded before the loop runs do not count.
#include <gtest/gtest.h>

#include <functional>

#include "formskin/ZorvaForm.h"
#include "library/ClassTable.h"
#include "platform/host/Form.h"
#include "platform/services/Recording.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Input.h"
#include "platform/ui/User.h"

namespace zxp::host {
namespace {

class FormClose : public ::testing::Test {
 protected:
  void SetUp() override { ui::resetWindowSystem(); }
  void TearDown() override { ui::resetWindowSystem(); }

  // Runs the event loop and calls `act` on the first tick of a 20 ms timer. Returns run()'s exit
  // code: 0 when the loop ended on its own, 99 when it still ran five seconds (virtual) later.
  static int runAndThen(std::function<void()> act) {
    static std::function<void()> pending;
    static int ticks;
    pending = std::move(act);
    ticks = 0;
    const UINT_PTR timer = SetTimer(0, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
      if (++ticks == 1 && pending) std::exchange(pending, nullptr)();
      if (ticks == 250) PostQuitMessage(99);
    });
    const int code = ui::eventLoop().run();
    KillTimer(0, timer);
    return code;
  }
  static FormOptions at(int x) {
    FormOptions o;
    o.screenPos = Point{x, 10};
    return o;
  }

  services::RecordingServices services;
};

TEST_F(FormClose, AltF4OnTheLastFormEndsTheLoop) {
  Form form(at(10));
  SetActiveWindow(form.hWnd());
  SetFocus(form.hWnd());
  EXPECT_EQ(runAndThen([] {
              ui::injectKey(VK_MENU, true);
              ui::injectKey(VK_F4, true);
              ui::injectKey(VK_F4, false);
              ui::injectKey(VK_MENU, false);
            }),
            0);
  EXPECT_TRUE(form.unloaded());
}

TEST_F(FormClose, TheLoopEndsWithTheLastTopLevelFormOnly) {
  Form first(at(10)), second(at(400));
  Form page(at(20));  // a form placed inside the second one, as the gallery shows its pages
  SetParent(page.hWnd(), second.hWnd());
  SetWindowLongPtrA(page.hWnd(), GWL_STYLE, GetWindowLongPtrA(page.hWnd(), GWL_STYLE) | WS_CHILD);
  static HWND firstWindow;
  firstWindow = first.hWnd();
  // The system menu's Close unloads the first form; the second keeps the loop running.
  EXPECT_EQ(runAndThen([] { PostMessageA(firstWindow, WM_SYSCOMMAND, SC_CLOSE, 0); }), 99);
  EXPECT_TRUE(first.unloaded());
  EXPECT_FALSE(second.unloaded());
  // A form inside another window is no top-level form.
  static Form* toUnload;
  toUnload = &page;
  EXPECT_EQ(runAndThen([] { toUnload->Unload(); }), 99);
  EXPECT_TRUE(page.unloaded());
  // The last one's Unload ends it.
  toUnload = &second;
  EXPECT_EQ(runAndThen([] { toUnload->Unload(); }), 0);
  EXPECT_TRUE(second.unloaded());
}

TEST_F(FormClose, AFormUnloadedBeforeTheLoopRunsLeavesTheLoopAlone) {
  Form early(at(10));
  early.Unload();
  Form main(at(400));
  EXPECT_EQ(runAndThen(nullptr), 99);
  static HWND window;
  window = main.hWnd();
  EXPECT_EQ(runAndThen([] { PostMessageA(window, WM_CLOSE, 0, 0); }), 0);
  EXPECT_TRUE(main.unloaded());
}

TEST_F(FormClose, ASkinsCloseButtonEndsTheLoop) {
  FormOptions o = at(10);
  o.borderStyle = 0;
  o.classes = &library::classes();
  Form form(o);
  ExtenderRecord strip;
  strip.width = form.ScaleWidth();
  strip.height = 450;
  strip.align = Align::vbAlignTop;
  auto& skin = form.add(library::classes(), "ZorvaForm", "Skin", strip).as<formskin::ZorvaForm>();
  int clicks = 0;
  skin.CloseButtonClick.connect([&] { ++clicks; });
  const RECT r = skin.buttonRect(formskin::Area::Close);
  static POINT centre;
  centre = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(skin.hWnd(), &centre);
  EXPECT_EQ(runAndThen([] {
              ui::injectMouseMove(Point{centre.x, centre.y});
              ui::injectMouseButton(ui::MouseButton::Left, true);
              ui::injectMouseButton(ui::MouseButton::Left, false);
            }),
            0);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(form.unloaded());
}

}  // namespace
}  // namespace zxp::host
