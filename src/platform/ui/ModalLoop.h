// The nested message loop that menu tracking and DoDragDrop run: it dispatches messages and
// timers like the main loop until its owner says it is done.
//
// On a real clock the loop waits for input through the backend. On the tests' virtual clock
// nothing ever arrives by itself, so a test hands the loop a driver first (whileModal): the loop
// calls it once, after the modal state is set up, and the driver feeds input and time through
// TestInput as a user would. When the driver has returned (or there is none) and nothing is
// queued, the loop gives up and its owner cancels (a menu closes as with Escape, a drag ends as
// with Escape), so a headless run never hangs.
#pragma once

#include <functional>

namespace zxp::ui {

// Runs until done() is true. Returns false when it gave up (headless, nothing more to do) or
// the application is quitting.
bool runModalLoop(const std::function<bool()>& done);
// How many modal loops run now (nested ones count).
int modalDepth();

// The driver the next modal loop calls once (tests); replaces one already set.
void setModalDriver(std::function<void()> driver);
bool hasModalDriver();
// Drops a pending driver and the depth (the window system's reset).
void resetModalLoop();

}  // namespace zxp::ui
