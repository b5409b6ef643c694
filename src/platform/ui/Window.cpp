// Window classes, the window tree, creation and destruction, relations, window data and text.
// Placement (SetWindowPos, ShowWindow) is in WindowPos.cpp, painting in Paint.cpp.
#include "platform/ui/Window.h"

#include "platform/ui/DragDrop.h"
#include "platform/ui/Menu.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <unordered_map>

#include "platform/ui/DragDrop.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Hooks.h"
#include "platform/ui/Input.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Screen.h"

namespace zxp::ui {

namespace {

std::string lowerName(const char* s) {
  std::string r = s ? s : "";
  for (char& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return r;
}

std::unordered_map<std::string, std::shared_ptr<WindowClass>>& classes() {
  static std::unordered_map<std::string, std::shared_ptr<WindowClass>> map;
  return map;
}
ATOM nextAtom = 0xC000;

}  // namespace

// ---- Window ------------------------------------------------------------------------------------

Rect Window::clientInWindow() const {
  Rect r{insets.left, insets.top, rect.width() - insets.right, rect.height() - insets.bottom};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

Size Window::clientSize() const {
  Rect c = clientInWindow();
  return Size{c.width(), c.height()};
}

Point Window::screenOrigin() const {
  if (!parent) return Point{rect.left, rect.top};
  // Positions are any 32-bit value a caller set; their sums saturate rather than wrap.
  Point p = parent->clientScreenOrigin();
  return Point{clampToInt32(int64_t{p.x} + rect.left), clampToInt32(int64_t{p.y} + rect.top)};
}

Point Window::clientScreenOrigin() const {
  Point p = screenOrigin();
  return Point{clampToInt32(int64_t{p.x} + insets.left), clampToInt32(int64_t{p.y} + insets.top)};
}

bool Window::reallyVisible() const {
  for (const Window* w = this; w; w = w->parent) {
    if (!w->isDesktop() && !w->visibleFlag()) return false;
  }
  return true;
}

// ---- Lookups -----------------------------------------------------------------------------------

Window& desktop() {
  static std::shared_ptr<Window> d = [] {
    auto w = std::make_shared<Window>();
    w->cls = std::make_shared<WindowClass>();
    w->cls->name = "#32769";
    w->style = WS_VISIBLE | WS_CLIPCHILDREN;
    w->hwnd = handles().add(ObjKind::Window, w, /*stock=*/true);
    w->created = true;
    return w;
  }();
  Size s = screenSize();
  d->rect = Rect{0, 0, s.cx, s.cy};
  return *d;
}

Window* windowFromHandle(HWND hwnd) {
  Window* w = handles().peek<Window>(hwnd, ObjKind::Window);
  return w;
}

// Every object listed as a window is a Window, so the reference is cast, not checked again, and
// moved out rather than copied: a message keeps its window alive for the price of one count.
std::shared_ptr<Window> windowRef(HWND hwnd) {
  return std::static_pointer_cast<Window>(handles().find(hwnd, ObjKind::Window));
}

Window* topLevelOf(Window* w) {
  while (w && w->parent && !w->parent->isDesktop()) w = w->parent;
  return w && w->parent ? w : nullptr;
}

Rect nonClientInsets(DWORD style, DWORD exStyle) {
  int frame = 0;
  if (style & WS_THICKFRAME) frame = GetSystemMetrics(SM_CXFRAME);
  else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) frame = GetSystemMetrics(SM_CXDLGFRAME);
  else if (style & WS_BORDER) frame = GetSystemMetrics(SM_CXBORDER);
  Rect r{frame, frame, frame, frame};
  if ((style & WS_CAPTION) == WS_CAPTION)
    r.top += GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
  int edge = 0;
  if (exStyle & WS_EX_CLIENTEDGE) edge += GetSystemMetrics(SM_CXEDGE);
  if (exStyle & WS_EX_STATICEDGE) edge += GetSystemMetrics(SM_CXBORDER);
  r.left += edge;
  r.top += edge;
  r.right += edge;
  r.bottom += edge;
  return r;
}

// ---- Tree ----------------------------------------------------------------------------------------

uint64_t& treeVersion() {
  static uint64_t v = 0;
  return v;
}

void linkChild(Window* parent, Window* w, Window* after) {
  ++treeVersion();
  auto& kids = parent->children;
  // Only a window already among the children needs taking out first (a new one is not).
  if (w->parent == parent) kids.erase(std::remove(kids.begin(), kids.end(), w), kids.end());
  w->parent = parent;
  auto pos = kids.begin();
  if (after) {
    // Searched from the bottom of the z-order: new children go after the last one.
    auto it = std::find(kids.rbegin(), kids.rend(), after);
    pos = it == kids.rend() ? kids.end() : it.base();
  }
  if (parent->isDesktop()) {
    // Topmost windows form the upper band; a window never crosses into the other band.
    bool top = (w->exStyle & WS_EX_TOPMOST) != 0;
    auto bandEnd = std::find_if(kids.begin(), kids.end(),
                                [](Window* k) { return (k->exStyle & WS_EX_TOPMOST) == 0; });
    if (top && pos > bandEnd) pos = bandEnd;
    if (!top && pos < bandEnd) pos = bandEnd;
  }
  kids.insert(pos, w);
}

void unlinkChild(Window* w) {
  if (!w->parent) return;
  ++treeVersion();
  auto& kids = w->parent->children;
  // A window is listed once. Searched from the bottom of the z-order, where the newest child
  // windows are, so tearing down many children newest first costs one step each.
  auto it = std::find(kids.rbegin(), kids.rend(), w);
  if (it != kids.rend()) kids.erase(std::next(it).base());
}

namespace {

// The windows whose surface holds only part of their client area: placeLargeSurfaces() moves
// theirs after windows move. Few windows are larger than the screen, so the list is short.
std::vector<Window*>& largeWindows() {
  static std::vector<Window*> list;
  return list;
}

void noteLarge(Window* w, bool large) {
  auto& list = largeWindows();
  auto it = std::find(list.begin(), list.end(), w);
  if (large && it == list.end()) list.push_back(w);
  if (!large && it != list.end()) list.erase(it);
}

// Where a surface of `surf` pixels goes in a client area of `client` pixels: over the part that
// lies on the screen. The screen's left and top edges cut the client area at -clientScreen;
// the surface starts there (or at the client's own edge when that is on the screen) and never
// runs past the client's right or bottom edge.
Point surfaceOriginFor(Window* w, Size client, Size surf) {
  if (surf.cx >= client.cx && surf.cy >= client.cy) return Point{0, 0};
  const Point cs = w->clientScreenOrigin();
  auto place = [](int32_t clientEdge, int32_t clientLen, int32_t surfLen) {
    return static_cast<int32_t>(std::clamp<int64_t>(-int64_t{clientEdge}, 0, int64_t{clientLen} - surfLen));
  };
  return Point{place(cs.x, client.cx, surf.cx), place(cs.y, client.cy, surf.cy)};
}

}  // namespace

void resizeSurface(Window* w) {
  if (w->style & WS_MINIMIZE) return;  // an iconic window keeps its picture for the restore
  const Size client = w->clientSize();
  // No more of a window can ever be shown at once than the screen holds: the surface is at most
  // the screen's size, placed over the part of the client area that lies on the screen, so a
  // huge control costs its visible part, not its nominal size.
  const Size screen = screenSize();
  const Size s{std::min(client.cx, screen.cx), std::min(client.cy, screen.cy)};
  const Point origin = surfaceOriginFor(w, client, s);
  noteLarge(w, s.cx < client.cx || s.cy < client.cy);
  auto& old = w->surface;
  const Point oldOrigin = w->surfaceOrigin;
  if (old && old->width() == s.cx && old->height() == s.cy && origin == oldOrigin) return;
  std::shared_ptr<gfx::Surface> fresh;
  if (s.cx > 0 && s.cy > 0) {
    Pixel bg = 0;
    if (auto* b = gfx::brushFromHandle(w->cls->background)) bg = oleToPixel(b->color);
    // A new window, or one that has shown nothing but its background yet, shows the kept picture
    // of its background until it draws; a resized one that kept other pixels is written at once
    // with them, so it takes pixels of its own from the start.
    const bool plain = !old || old->uniformValue() == std::optional<uint32_t>(bg);
    fresh = plain ? gfx::Surface::createUniform(s.cx, s.cy, bg) : gfx::Surface::create(s.cx, s.cy);
    if (fresh) {
      fresh->setPackable();
      if (!plain) {
        if (bg != 0) fresh->fill(bg);  // a new surface is black already
        // The pixels of the client area that both surfaces hold stay.
        const Rect keep = Rect::fromXYWH(oldOrigin.x, oldOrigin.y, old->width(), old->height())
                              .intersect(Rect::fromXYWH(origin.x, origin.y, s.cx, s.cy));
        // Read as they are kept: the old picture is let go, so a packed one is not unpacked.
        for (int y = keep.top; y < keep.bottom; ++y)
          old->readRow(y - oldOrigin.y, keep.left - oldOrigin.x, keep.width(),
                       fresh->row(y - origin.y) + (keep.left - origin.x));
      }
    }
  }
  const bool moved = old && fresh && origin != oldOrigin;
  w->surface = fresh;
  w->surfaceOrigin = origin;
  if (auto* dc = gfx::dcFromHandle(w->dc)) {
    dc->retarget(fresh);
    dc->setSurfaceOrigin(origin);
  }
  // A surface moved over another part of the client area holds none of that part's drawing yet.
  if (moved) InvalidateRect(w->hwnd, nullptr, TRUE);
}

void placeLargeSurfaces() {
  if (largeWindows().empty()) return;
  for (Window* w : std::vector<Window*>(largeWindows()))
    if (windowFromHandle(w->hwnd) == w && !w->destroying) resizeSurface(w);
}

std::vector<HWND> windowsWithoutPixels(HWND root) {
  std::vector<HWND> out;
  Window* r = windowFromHandle(root);
  if (!r) return out;
  forEachInTree(r, [&](Window* w) {
    const Size s = w->clientSize();
    if (w->reallyVisible() && !w->surface && s.cx > 0 && s.cy > 0 && !(w->style & WS_MINIMIZE))
      out.push_back(w->hwnd);
  });
  return out;
}

void updateSystemClip(Window* w) {
  auto* dc = gfx::dcFromHandle(w->dc);
  if (!dc) return;
  if (!w->region) {
    dc->setSystemClip(std::nullopt, true);
    return;
  }
  gfx::Region r = *w->region;
  r.translate(-w->insets.left, -w->insets.top);
  dc->setSystemClip(std::move(r), true);
}

// ---- Classes --------------------------------------------------------------------------------------

std::shared_ptr<WindowClass> findClass(const char* name) {
  auto it = classes().find(lowerName(name));
  if (it == classes().end() && registerSystemClass(name)) it = classes().find(lowerName(name));
  return it == classes().end() ? nullptr : it->second;
}

void unregisterAllClasses() { classes().clear(); }

// Sends WM_NCCALCSIZE and takes the client rectangle the procedure leaves.
void recalcClient(Window* w) {
  RECT r = w->rect;
  SendMessageA(w->hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r));
  if (!windowFromHandle(w->hwnd)) return;
  if (w->style & WS_MINIMIZE) r = Rect{w->rect.left, w->rect.top, w->rect.left, w->rect.top};
  r.left = std::clamp(r.left, w->rect.left, w->rect.right);
  r.top = std::clamp(r.top, w->rect.top, w->rect.bottom);
  r.right = std::clamp(r.right, r.left, w->rect.right);
  r.bottom = std::clamp(r.bottom, r.top, w->rect.bottom);
  w->insets = Rect{r.left - w->rect.left, r.top - w->rect.top, w->rect.right - r.right,
                   w->rect.bottom - r.bottom};
}

}  // namespace zxp::ui

namespace zxp {

using namespace zxp::ui;

ATOM RegisterClassA(const WNDCLASSA* wc) {
  if (!wc || !wc->lpszClassName || !*wc->lpszClassName) return 0;
  std::string key = lowerName(wc->lpszClassName);
  if (classes().count(key)) return 0;
  auto c = std::make_shared<WindowClass>();
  c->name = wc->lpszClassName;
  c->atom = nextAtom++;
  c->style = wc->style;
  c->proc = wc->lpfnWndProc ? wc->lpfnWndProc : DefWindowProcA;
  c->cbWndExtra = std::clamp(wc->cbWndExtra, 0, 40);
  c->instance = wc->hInstance;
  c->icon = wc->hIcon;
  c->cursor = wc->hCursor;
  c->background = wc->hbrBackground;
  classes()[key] = c;
  return c->atom;
}

BOOL UnregisterClassA(const char* className, HINSTANCE) {
  return classes().erase(lowerName(className)) ? TRUE : FALSE;
}

BOOL GetClassInfoA(HINSTANCE, const char* className, WNDCLASSA* out) {
  auto c = findClass(className);
  if (!c || !out) return FALSE;
  *out = WNDCLASSA{c->style, c->proc, 0, c->cbWndExtra, c->instance, c->icon, c->cursor,
                   c->background, nullptr, c->name.c_str()};
  return TRUE;
}

int GetClassNameA(HWND hwnd, char* buffer, int size) {
  Window* w = windowFromHandle(hwnd);
  if (!w || !buffer || size <= 0) return 0;
  int n = std::min<int>(static_cast<int>(w->cls->name.size()), size - 1);
  std::memcpy(buffer, w->cls->name.data(), n);
  buffer[n] = 0;
  return n;
}

ULONG_PTR GetClassLongPtrA(HWND hwnd, int index) {
  Window* w = windowFromHandle(hwnd);
  if (!w) return 0;
  const WindowClass& c = *w->cls;
  switch (index) {
    case GCLP_HBRBACKGROUND: return c.background;
    case GCLP_HCURSOR: return c.cursor;
    case GCLP_HICON: return c.icon;
    case GCLP_WNDPROC: return reinterpret_cast<ULONG_PTR>(c.proc);
    case GCL_STYLE: return c.style;
    default: return 0;
  }
}

ULONG_PTR SetClassLongPtrA(HWND hwnd, int index, LONG_PTR value) {
  Window* w = windowFromHandle(hwnd);
  if (!w) return 0;
  WindowClass& c = *w->cls;
  ULONG_PTR old = GetClassLongPtrA(hwnd, index);
  switch (index) {
    case GCLP_HBRBACKGROUND: c.background = static_cast<HBRUSH>(value); break;
    case GCLP_HCURSOR: c.cursor = static_cast<HCURSOR>(value); break;
    case GCLP_HICON: c.icon = static_cast<HICON>(value); break;
    case GCLP_WNDPROC: c.proc = reinterpret_cast<WNDPROC>(value); break;
    case GCL_STYLE: c.style = static_cast<UINT>(value); break;
    default: return 0;
  }
  return old;
}

DWORD GetClassLongA(HWND hwnd, int index) { return static_cast<DWORD>(GetClassLongPtrA(hwnd, index)); }
DWORD SetClassLongA(HWND hwnd, int index, LONG value) {
  return static_cast<DWORD>(SetClassLongPtrA(hwnd, index, value));
}

// ---- Creation ----------------------------------------------------------------------------------------

HWND CreateWindowExA(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance,
                     void* param) {
  auto cls = findClass(className);
  if (!cls) return 0;
  Window* parentW = &desktop();
  HWND owner = 0;
  if (style & WS_CHILD) {
    parentW = windowFromHandle(parent);
    if (!parentW) return 0;
  } else if (parent) {
    Window* o = windowFromHandle(parent);
    if (!o) return 0;
    o = topLevelOf(o);
    owner = o ? o->hwnd : 0;
  }
  if (!(style & (WS_CHILD | WS_POPUP))) {
    // Overlapped windows always have a caption.
    style |= WS_CAPTION | WS_CLIPSIBLINGS;
    exStyle |= WS_EX_WINDOWEDGE;
  }
  Size scr = screenSize();
  bool overlapped = !(style & (WS_CHILD | WS_POPUP));
  if (x == CW_USEDEFAULT) {
    x = overlapped ? 40 : 0;
    y = overlapped ? 40 : 0;
  }
  if (width == CW_USEDEFAULT) {
    width = overlapped ? scr.cx * 3 / 4 : 0;
    height = overlapped ? scr.cy * 3 / 4 : 0;
  }
  width = std::max(width, 0);
  height = std::max(height, 0);

  auto w = std::make_shared<Window>();
  w->cls = cls;
  w->style = style & ~WS_VISIBLE;
  w->exStyle = exStyle;
  w->proc = cls->proc;
  w->instance = instance;
  w->owner = owner;
  w->id = (style & WS_CHILD) ? static_cast<LONG_PTR>(menuOrId) : 0;
  w->extra.assign(static_cast<size_t>(cls->cbWndExtra), 0);
  w->rect = Rect::fromXYWH(x, y, width, height);
  w->insets = nonClientInsets(w->style, w->exStyle);
  HWND hwnd = handles().add(ObjKind::Window, w);
  w->hwnd = hwnd;
  if (parentW->isDesktop()) linkChild(parentW, w.get(), nullptr);
  else linkChild(parentW, w.get(), parentW->children.empty() ? nullptr : parentW->children.back());
  w->dc = gfx::CreateSurfaceDC(nullptr);
  // Controls keep their window's DC and draw through it from timers and input handlers too.
  if (auto* dc = gfx::dcFromHandle(w->dc))
    dc->setDrawNotifier([](void* win) { windowDamaged(static_cast<Window*>(win)); }, w.get());

  CREATESTRUCTA cs;
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menuOrId;
  cs.hwndParent = parent;
  cs.cx = width;
  cs.cy = height;
  cs.x = x;
  cs.y = y;
  cs.style = static_cast<LONG>(style);
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;

  if (w->topLevel() && (style & (WS_THICKFRAME | WS_CAPTION))) {
    MINMAXINFO mmi;
    Rect wa = workArea();
    mmi.ptMaxSize = Point{wa.width(), wa.height()};
    mmi.ptMaxPosition = Point{wa.left, wa.top};
    mmi.ptMinTrackSize = Point{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    mmi.ptMaxTrackSize = Point{scr.cx + 12, scr.cy + 12};
    SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  }
  if (!IsWindow(hwnd)) return 0;
  if (hasHooks(WH_CBT)) {
    CBT_CREATEWNDA cbt;
    cbt.lpcs = &cs;
    if (callHooks(WH_CBT, HCBT_CREATEWND, hwnd, reinterpret_cast<LPARAM>(&cbt))) {
      DestroyWindow(hwnd);
      return 0;
    }
    if (!IsWindow(hwnd)) return 0;
  }
  if (!SendMessageA(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    DestroyWindow(hwnd);
    return 0;
  }
  if (!IsWindow(hwnd)) return 0;
  recalcClient(w.get());
  resizeSurface(w.get());
  updateSystemClip(w.get());
  if (SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hwnd);
    return 0;
  }
  if (!IsWindow(hwnd)) return 0;
  Rect ci = w->clientInWindow();
  SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(ci.width(), ci.height()));
  SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(w->rect.left + ci.left, w->rect.top + ci.top));
  if (!IsWindow(hwnd)) return 0;
  w->created = true;
  if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
  return IsWindow(hwnd) ? hwnd : 0;
}

// ---- Destruction -------------------------------------------------------------------------------------

namespace {

void sendDestroyMessages(Window* w) {
  auto keep = windowRef(w->hwnd);
  SendMessageA(w->hwnd, WM_DESTROY, 0, 0);
  // The children are kept alive until this window is done, so the list stays readable while
  // they go down with it.
  std::vector<std::shared_ptr<Window>> kids;
  kids.reserve(w->children.size());
  for (Window* c : w->children) kids.push_back(windowRef(c->hwnd));
  for (const auto& c : kids) {
    if (c && windowFromHandle(c->hwnd)) sendDestroyMessages(c.get());
  }
  SendMessageA(w->hwnd, WM_NCDESTROY, 0, 0);
  // Free what the window holds.
  eventLoop().killWindowTimers(w->hwnd);
  eventLoop().purgeWindow(w->hwnd);
  // The children going down with this window stay listed (unlinking each would cost a search of
  // the list per child); the list is dropped at once here.
  for (const auto& c : kids)
    if (c) c->parent = nullptr;
  w->children.clear();
  if (!(w->parent && w->parent->destroying)) unlinkChild(w);
  ++treeVersion();
  if (auto* dc = gfx::dcFromHandle(w->dc)) dc->setDrawNotifier(nullptr, nullptr);
  if (w->dc) handles().remove(w->dc);
  w->dc = 0;
  w->surface.reset();
  noteLarge(w, false);
  handles().remove(w->hwnd);
}

}  // namespace

BOOL DestroyWindow(HWND hwnd) {
  Window* w = windowFromHandle(hwnd);
  if (!w || w->isDesktop() || w->destroying) return FALSE;
  auto keep = windowRef(hwnd);
  // A window whose creation is still under way (refused by a CBT hook, or failing in
  // WM_NCCREATE or WM_CREATE) is destroyed without asking.
  if (w->created && hasHooks(WH_CBT) && callHooks(WH_CBT, HCBT_DESTROYWND, hwnd, 0)) return FALSE;
  if (!windowFromHandle(hwnd)) return TRUE;
  // Owned windows go first.
  std::vector<HWND> owned;
  for (Window* t : desktop().children)
    if (t->owner == hwnd) owned.push_back(t->hwnd);
  for (HWND o : owned) DestroyWindow(o);
  if (!windowFromHandle(hwnd) || w->destroying) return FALSE;
  forEachInTree(w, [](Window* x) { x->destroying = true; });
  if (w->visibleFlag() && w->created) {
    SetWindowPos(hwnd, 0, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  forgetWindowTree(hwnd);
  if (!windowFromHandle(hwnd)) return TRUE;
  // The window's system menu, menu bar and drop target go with it.
  forEachInTree(w, [](Window* x) {
    menusForgetWindow(x->hwnd);
    dropTargetsForgetWindow(x->hwnd);
  });
  sendDestroyMessages(w);
  screenChanged();
  return TRUE;
}

BOOL IsWindow(HWND hwnd) {
  Window* w = windowFromHandle(hwnd);
  return w ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
  Window* w = windowFromHandle(hwnd);
  return w && w->reallyVisible() ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
  Window* w = windowFromHandle(hwnd);
  return w && w->enabledFlag() ? TRUE : FALSE;
}

BOOL IsChild(HWND parent, HWND hwnd) {
  Window* w = windowFromHandle(hwnd);
  Window* p = windowFromHandle(parent);
  if (!w || !p) return FALSE;
  // Descendants along the chain of child windows (an owned pop-up is not a child).
  for (Window* a = w; a && a->isChild(); a = a->parent) {
    if (a->parent == p) return TRUE;
  }
  return FALSE;
}

BOOL IsIconic(HWND hwnd) {
  Window* w = windowFromHandle(hwnd);
  return w && (w->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hwnd) {
  Window* w = windowFromHandle(hwnd);
  return w && (w->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

HWND GetDesktopWindow() { return desktop().hwnd; }

// ---- Relations -----------------------------------------------------------------------------------------

HWND GetParent(HWND hwnd) {
  Window* w = windowFromHandle(hwnd);
  if (!w || w->isDesktop()) return 0;
  if (w->isChild()) return w->parent && !w->parent->isDesktop() ? w->parent->hwnd : 0;
  if (w->style & WS_POPUP) return w->owner;
  return 0;
}

HWND SetParent(HWND hwnd, HWND newParent) {
  Window* w = windowFromHandle(hwnd);
  if (!w || w->isDesktop()) return 0;
  Window* p = newParent ? windowFromHandle(newParent) : &desktop();
  if (!p) return 0;
  for (Window* a = p; a; a = a->parent)
    if (a == w) return 0;  // no cycles
  HWND old = w->parent ? w->parent->hwnd : 0;
  bool wasVisible = w->reallyVisible();
  unlinkChild(w);
  linkChild(p, w, nullptr);
  if (p->isDesktop()) w->owner = 0;
  placeLargeSurfaces();  // the window (or one inside it) may lie elsewhere on the screen now
  if (wasVisible || w->reallyVisible()) screenChanged();
  return old;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
  Window* w = windowFromHandle(hwnd);
  if (!w || w->isDesktop()) return 0;
  switch (flags) {
    case GA_PARENT: return w->parent ? w->parent->hwnd : 0;
    case GA_ROOT: {
      Window* t = topLevelOf(w);
      return t ? t->hwnd : 0;
    }
    case GA_ROOTOWNER: {
      Window* t = topLevelOf(w);
      while (t && t->owner) {
        Window* o = windowFromHandle(t->owner);
        if (!o) break;
        t = o;
      }
      return t ? t->hwnd : 0;
    }
    default: return 0;
  }
}

HWND GetWindow(HWND hwnd, UINT cmd) {
  Window* w = windowFromHandle(hwnd);
  if (!w) return 0;
  if (cmd == GW_CHILD) return w->children.empty() ? 0 : w->children.front()->hwnd;
  if (cmd == GW_OWNER) return w->owner;
  if (!w->parent) return 0;
  auto& sib = w->parent->children;
  auto it = std::find(sib.begin(), sib.end(), w);
  switch (cmd) {
    case GW_HWNDFIRST: return sib.front()->hwnd;
    case GW_HWNDLAST: return sib.back()->hwnd;
    case GW_HWNDNEXT: return (it == sib.end() || it + 1 == sib.end()) ? 0 : (*(it + 1))->hwnd;
    case GW_HWNDPREV: return (it == sib.begin() || it == sib.end()) ? 0 : (*(it - 1))->hwnd;
    default: return 0;
  }
}

HWND GetTopWindow(HWND hwnd) {
  Window* w = hwnd ? windowFromHandle(hwnd) : &desktop();
  if (!w || w->children.empty()) return 0;
  return w->children.front()->hwnd;
}

// ---- Window data -----------------------------------------------------------------------------------------

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index) {
  Window* w = windowFromHandle(hwnd);
  if (!w) return 0;
  switch (index) {
    case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWL_HINSTANCE: return static_cast<LONG_PTR>(w->instance);
    case GWL_HWNDPARENT: return static_cast<LONG_PTR>(w->isChild() && w->parent ? w->parent->hwnd : w->owner);
    case GWL_ID: return w->id;
    case GWL_STYLE: return static_cast<LONG_PTR>(static_cast<LONG>(w->style));
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(static_cast<LONG>(w->exStyle));
    case GWL_USERDATA: return w->userData;
    default: break;
  }
  if (index >= 0 && static_cast<size_t>(index) + sizeof(LONG_PTR) <= w->extra.size()) {
    LONG_PTR v;
    std::memcpy(&v, w->extra.data() + index, sizeof v);
    return v;
  }
  return 0;
}

namespace {

LONG_PTR setStyle(Window* w, int index, DWORD value) {
  HWND hwnd = w->hwnd;
  DWORD& field = index == GWL_STYLE ? w->style : w->exStyle;
  STYLESTRUCT ss{field, value};
  SendMessageA(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
  if (!windowFromHandle(hwnd)) return 0;
  DWORD old = field;
  field = ss.styleNew;
  if (index == GWL_EXSTYLE && (old & WS_EX_LAYERED) && !(field & WS_EX_LAYERED)) {
    w->layeredFlags = 0;
    w->perPixelAlpha = false;
    w->ulwFlags = 0;
  }
  ss.styleOld = old;
  SendMessageA(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
  screenChanged();
  return static_cast<LONG_PTR>(static_cast<LONG>(old));
}

}  // namespace

LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
  Window* w = windowFromHandle(hwnd);
  if (!w || w->isDesktop()) return 0;
  LONG_PTR old = GetWindowLongPtrA(hwnd, index);
  switch (index) {
    case GWL_WNDPROC:
      if (!value) return 0;
      w->proc = reinterpret_cast<WNDPROC>(value);
      return old;
    case GWL_HINSTANCE: w->instance = static_cast<HINSTANCE>(value); return old;
    case GWL_HWNDPARENT:
      if (!w->isChild()) {
        Window* o = windowFromHandle(static_cast<HWND>(value));
        w->owner = o ? topLevelOf(o)->hwnd : 0;
      }
      return old;
    case GWL_ID: w->id = value; return old;
    case GWL_STYLE:
    case GWL_EXSTYLE: return setStyle(w, index, static_cast<DWORD>(value));
    case GWL_USERDATA: w->userData = value; return old;
    default: break;
  }
  if (index >= 0 && static_cast<size_t>(index) + sizeof(LONG_PTR) <= w->extra.size()) {
    std::memcpy(w->extra.data() + index, &value, sizeof value);
    return old;
  }
  return 0;
}

LONG GetWindowLongA(HWND hwnd, int index) {
  Window* w = windowFromHandle(hwnd);
  if (!w) return 0;
  if (index >= 0) {
    if (static_cast<size_t>(index) + sizeof(LONG) > w->extra.size()) return 0;
    LONG v;
    std::memcpy(&v, w->extra.data() + index, sizeof v);
    return v;
  }
  return static_cast<LONG>(GetWindowLongPtrA(hwnd, index));
}

LONG SetWindowLongA(HWND hwnd, int index, LONG value) {
  Window* w = windowFromHandle(hwnd);
  if (!w) return 0;
  if (index >= 0) {
    if (static_cast<size_t>(index) + sizeof(LONG) > w->extra.size()) return 0;
    LONG old;
    std::memcpy(&old, w->extra.data() + index, sizeof old);
    std::memcpy(w->extra.data() + index, &value, sizeof value);
    return old;
  }
  if (index == GWL_WNDPROC) return 0;  // a procedure pointer does not fit in 32 bits
  if (index == GWL_STYLE || index == GWL_EXSTYLE)
    return static_cast<LONG>(SetWindowLongPtrA(hwnd, index, static_cast<LONG_PTR>(static_cast<DWORD>(value))));
  return static_cast<LONG>(SetWindowLongPtrA(hwnd, index, value));
}

BOOL SetWindowTextA(HWND hwnd, const char* text) {
  if (!windowFromHandle(hwnd)) return FALSE;
  return SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE : FALSE;
}

int GetWindowTextA(HWND hwnd, char* buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = 0;
  if (!windowFromHandle(hwnd)) return 0;
  return static_cast<int>(SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(size),
                                       reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthA(HWND hwnd) {
  if (!windowFromHandle(hwnd)) return 0;
  return static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetPropA(HWND hwnd, const char* name, uintptr_t data) {
  Window* w = windowFromHandle(hwnd);
  if (!w || !name) return FALSE;
  if (!w->props) w->props = std::make_unique<std::map<std::string, uintptr_t>>();
  (*w->props)[name] = data;
  return TRUE;
}

uintptr_t GetPropA(HWND hwnd, const char* name) {
  Window* w = windowFromHandle(hwnd);
  if (!w || !name || !w->props) return 0;
  auto it = w->props->find(name);
  return it == w->props->end() ? 0 : it->second;
}

uintptr_t RemovePropA(HWND hwnd, const char* name) {
  Window* w = windowFromHandle(hwnd);
  if (!w || !name || !w->props) return 0;
  auto it = w->props->find(name);
  if (it == w->props->end()) return 0;
  uintptr_t v = it->second;
  w->props->erase(it);
  return v;
}

// ---- Geometry -------------------------------------------------------------------------------------------

BOOL GetWindowRect(HWND hwnd, RECT* out) {
  Window* w = windowFromHandle(hwnd);
  if (!w || !out) return FALSE;
  Point o = w->screenOrigin();
  *out = Rect::fromXYWH(o.x, o.y, w->rect.width(), w->rect.height());
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* out) {
  Window* w = windowFromHandle(hwnd);
  if (!w || !out) return FALSE;
  Size s = w->clientSize();
  *out = Rect{0, 0, s.cx, s.cy};
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* p) {
  Window* w = windowFromHandle(hwnd);
  if (!w || !p) return FALSE;
  Point o = w->clientScreenOrigin();
  p->x = clampToInt32(int64_t{p->x} - o.x);
  p->y = clampToInt32(int64_t{p->y} - o.y);
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* p) {
  Window* w = windowFromHandle(hwnd);
  if (!w || !p) return FALSE;
  Point o = w->clientScreenOrigin();
  p->x = clampToInt32(int64_t{p->x} + o.x);
  p->y = clampToInt32(int64_t{p->y} + o.y);
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
  Point a{0, 0}, b{0, 0};
  if (from) {
    Window* w = windowFromHandle(from);
    if (!w) return 0;
    a = w->clientScreenOrigin();
  }
  if (to) {
    Window* w = windowFromHandle(to);
    if (!w) return 0;
    b = w->clientScreenOrigin();
  }
  const int32_t dx = clampToInt32(int64_t{a.x} - b.x), dy = clampToInt32(int64_t{a.y} - b.y);
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x = clampToInt32(int64_t{points[i].x} + dx);
    points[i].y = clampToInt32(int64_t{points[i].y} + dy);
  }
  return static_cast<int>(MAKELPARAM(dx, dy));
}

}  // namespace zxp
