// The objects behind window handles and the window tree. For the platform's own layers (ui,
// host); controls use the handle API of User.h.
//
// The desktop is the root of the tree: top-level windows are its children (topmost ones first),
// child windows hang under their parents, each sibling list ordered from the top of the z-order
// down. A window's rectangle is kept in its parent's client coordinates (the screen for
// top-level windows); its client area is the rectangle less the non-client insets of its styles.
// Each window owns a persistent surface of its client size and one DC drawing on it. A surface is
// never larger than the screen on either side: a window larger than the screen keeps a screen-
// sized part of its client area, placed over the part that lies on the screen (its surface
// origin, carried by the window's DC and honoured by composition; it follows the window when the
// window, an ancestor or the screen moves or changes size). What lies beyond is never drawn, and
// the screen shows the parent there, so the cost of a window is bounded by what can be shown.
// windowsWithoutPixels() lists the windows whose surface could not be made at all.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Region.h"
#include "platform/gfx/Surface.h"
#include "platform/ui/User.h"

namespace zxp::ui {

struct WindowClass {
  std::string name;
  ATOM atom = 0;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int cbWndExtra = 0;
  HINSTANCE instance = 0;
  HICON icon = 0;
  HCURSOR cursor = 0;
  HBRUSH background = 0;
};

struct Window : HandleObject {
  HWND hwnd = 0;
  HINSTANCE instance = 0;  // beside hwnd: 32-bit fields in pairs leave no padding
  std::shared_ptr<WindowClass> cls;
  DWORD style = 0;
  DWORD exStyle = 0;
  WNDPROC proc = nullptr;
  LONG_PTR userData = 0;
  LONG_PTR id = 0;  // GWL_ID: the child identifier (the hMenu argument of a child window)
  std::string text;
  std::vector<BYTE> extra;  // the class's cbWndExtra bytes
  // SetPropA's named values, made on the first one (most windows have none).
  std::unique_ptr<std::map<std::string, uintptr_t>> props;

  Window* parent = nullptr;  // the desktop for top-level windows; nullptr for the desktop itself
  HWND owner = 0;
  HDC dc = 0;  // the one DC on the surface (GetDC); kept beside owner to leave no padding
  std::vector<Window*> children;  // top of the z-order first

  Rect rect;    // in the parent's client coordinates
  Rect insets;  // non-client widths: left, top, right, bottom
  std::optional<gfx::Region> region;  // window coordinates

  std::shared_ptr<gfx::Surface> surface;  // the client area's pixels; null when it is empty
  Point surfaceOrigin{0, 0};  // the client point shown by the surface's top-left pixel
  gfx::Region updateRgn;  // client coordinates (after growing it, call eventLoop().noteDirty)
  size_t paintIndex = SIZE_MAX;  // the place in the event loop's paint order
  bool eraseOnPaint = false;
  bool inPaint = false;

  // Layered windows.
  BYTE layeredAlpha = 255;
  COLORREF layeredKey = 0;
  DWORD layeredFlags = 0;  // LWA_* from SetLayeredWindowAttributes
  bool perPixelAlpha = false;  // the picture came from UpdateLayeredWindow with ULW_ALPHA
  BLENDFUNCTION ulwBlend;
  DWORD ulwFlags = 0;

  HCURSOR cursor = 0;  // a cursor of this window's own, before the class cursor
  Rect restoreRect;    // the rectangle to restore a minimised or maximised window to
  bool destroying = false;
  bool created = false;
  bool damaged = false;  // listed for the next screen composition (windowDamaged)
  bool reshaped = false;  // and its whole rectangle changed, not only inside its shape

  bool isDesktop() const { return parent == nullptr; }
  bool isChild() const { return (style & WS_CHILD) != 0; }
  bool topLevel() const { return parent && parent->isDesktop(); }
  bool visibleFlag() const { return (style & WS_VISIBLE) != 0; }
  bool enabledFlag() const { return (style & WS_DISABLED) == 0; }
  // The client rectangle in window coordinates and in client coordinates.
  Rect clientInWindow() const;
  Size clientSize() const;
  // The window's top-left corner and its client origin in screen coordinates.
  Point screenOrigin() const;
  Point clientScreenOrigin() const;
  // Visible here and in all its ancestors.
  bool reallyVisible() const;
};

// ---- Lookups ------------------------------------------------------------------------------------
// The window behind a handle; nullptr when zero, destroyed or not a window.
Window* windowFromHandle(HWND hwnd);
std::shared_ptr<Window> windowRef(HWND hwnd);
Window& desktop();
// The top-level window containing w (w itself when top-level).
Window* topLevelOf(Window* w);
// The non-client insets that a window's styles give it (borders, frame, caption).
Rect nonClientInsets(DWORD style, DWORD exStyle);

std::shared_ptr<WindowClass> findClass(const char* name);
void unregisterAllClasses();
// The system's own classes ("EDIT") exist without being registered by the application: the first
// look-up of such a name registers it (also after unregisterAllClasses). False for other names.
bool registerSystemClass(const char* name);
// Sends WM_NCCALCSIZE and takes the client rectangle the procedure leaves as the insets.
void recalcClient(Window* w);

// ---- Tree operations used across the window manager ----------------------------------------------
// Inserts w into parent's children: after `after` (nullptr: on top of its band). Topmost
// top-level windows stay above the others.
void linkChild(Window* parent, Window* w, Window* after);
void unlinkChild(Window* w);
// Counts changes to the tree (links, unlinks, destruction): what caches an order of the windows
// compares.
uint64_t& treeVersion();
// Sets the client surface to the current client size (at most the screen's size on each side,
// then over the part of the client area that lies on the screen), keeping the old pixels where
// they were in the client area; new pixels take the class background colour (black when it has
// none).
void resizeSurface(Window* w);
// Moves the surfaces of the windows larger than the screen over the part of their client area
// that lies on the screen now, after windows moved or the screen changed size; a window whose
// surface moved is drawn again.
void placeLargeSurfaces();
// The visible windows in root's tree (root included) with a non-empty client area but no surface:
// their pixels could not be allocated, so nothing they draw can be seen.
std::vector<HWND> windowsWithoutPixels(HWND root);
// Updates the DC's system clip from the window's region.
void updateSystemClip(Window* w);
// Calls fn(w) for w and all its descendants, parents before children.
template <class Fn>
void forEachInTree(Window* w, Fn&& fn) {
  fn(w);
  auto kids = w->children;  // fn may change the list
  for (Window* c : kids) forEachInTree(c, fn);
}

// Marks the whole screen as changed (the backend presents it at the next chance): what moves,
// shows, hides or restyles windows.
void screenChanged();
// Marks only the screen area of w (its window rectangle, frame included) as changed: what draws
// on a window's pixels. The next composition redoes the damaged areas only, so the change must
// not reach beyond the window's own rectangle. Drawing on a shaped window changes only what lies
// inside its shape, and only that is redone.
void windowDamaged(Window* w);
// The same for a window whose whole rectangle changed in place (a new shape or frame).
void windowReshaped(Window* w);

}  // namespace zxp::ui
