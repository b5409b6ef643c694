// The screen: its size, the work area (the screen less the task bar strip at the bottom), and
// the composition of all visible windows, bottom to top, through their regions, with layered
// windows blended by their constant alpha, colour key or per-pixel alpha. Children are drawn
// inside their parent's client area in their own z-order; non-client frames are drawn from the
// windows' styles in the system colours.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/gfx/Surface.h"
#include "platform/ui/User.h"

namespace zxp::ui {

Size screenSize();
// Resizes the screen (the backend's display, or a test's choice). The default is 1024 x 768.
void setScreenSize(Size s);
Rect workArea();
void setWorkArea(const Rect& r);
// The display's colour depth (GetDeviceCaps BITSPIXEL; 32 unless a test sets another) and the
// platform's version that GetVersion reports (5.1 unless a test sets another).
int displayBitsPerPixel();
void setDisplayBitsPerPixel(int bits);
void setPlatformVersion(int major, int minor);

// Composes the screen now and returns the picture (one call gives a snapshot). The surface is
// the screen's own and is redrawn by the next call; copy it to keep it, never draw on it.
// Composition is incremental: it redoes only the rectangles of the windows drawn on since the
// last call (windowDamaged), or the whole screen after anything that moves, shows, hides or
// restyles windows (screenChanged). Afterwards the windows drawn on keep their pictures packed
// until they draw again (gfx::Surface::packIdle).
std::shared_ptr<gfx::Surface> composeScreen();
// The rectangles (screen coordinates) the last composeScreen() redid: what a backend needs to
// present again. Empty when nothing had changed.
const std::vector<Rect>& composedArea();
// The rectangles redone by all compositions since the last call (the backend's share: it copies
// only these to the display).
std::vector<Rect> takeComposedArea();
// The screen's pixels under a window's rectangle (within the screen), as composed now.
std::shared_ptr<gfx::Surface> snapshotWindow(HWND hwnd);
// True when something visible changed since the last composition.
bool screenDirty();
// How many windows the next composition lists as drawn on. A program that never composes (a
// headless script) keeps drawing: past kMaxDamagedWindows the list gives way to redoing the
// whole screen, so it stays bounded.
size_t damagedWindowCount();
constexpr size_t kMaxDamagedWindows = 1024;
// Something drawn over the composed windows (the drag image): called at the end of each
// composition with the screen picture; nullptr removes it. Call screenChanged() (Window.h) when
// what it draws changes. A composition that redoes only damaged rectangles calls it too, so it
// must put opaque pixels only (drawn again over themselves they change nothing).
void setScreenOverlay(std::function<void(gfx::Surface&)> overlay);

// Back to the default size and work area (the window system's reset).
void resetScreen();

}  // namespace zxp::ui
