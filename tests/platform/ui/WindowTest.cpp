// Windows: creation and destruction, geometry, placement and z-order, showing, styles, regions,
// hit-testing, painting, and handles that are gone.
#include "UiTestSupport.h"

#include "platform/gfx/DeviceContext.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace zxp::ui::testing {
namespace {

using Window = UiTest;

TEST_F(Window, CreationMessagesAndDestructionOrderParentFirstThenChildrenFirst) {
  size_t windowsBefore = handles().liveCount(ObjKind::Window);
  size_t dcsBefore = handles().liveCount(ObjKind::DC);
  HWND top = popup(Rect{10, 10, 210, 110});
  EXPECT_EQ(messagesOf(top, {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW}),
            (std::vector<UINT>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW}));
  EXPECT_EQ(entriesOf(top, WM_SIZE)[0].lParam, MAKELPARAM(200, 100));
  HWND kid = child(top, Rect{5, 5, 55, 55});
  HWND grandkid = child(kid, Rect{1, 1, 11, 11});
  EXPECT_EQ(std::tuple(GetParent(grandkid), GetParent(kid), GetParent(top)), std::tuple(kid, top, HWND{0}));
  clearLog();

  EXPECT_EQ(DestroyWindow(top), TRUE);
  EXPECT_EQ(orderOf({WM_DESTROY, WM_NCDESTROY}), (std::vector<std::pair<HWND, UINT>>{{top, WM_DESTROY},
                                                       {kid, WM_DESTROY}, {grandkid, WM_DESTROY},
                                                       {grandkid, WM_NCDESTROY}, {kid, WM_NCDESTROY},
                                                       {top, WM_NCDESTROY}}));
  EXPECT_FALSE(IsWindow(top) || IsWindow(kid) || IsWindow(grandkid));
  EXPECT_EQ(handles().liveCount(ObjKind::Window), windowsBefore);
  EXPECT_EQ(handles().liveCount(ObjKind::DC), dcsBefore);
}

TEST_F(Window, OwnedWindowsDieWithTheirOwnerAndStayAboveIt) {
  HWND owner = popup(Rect{0, 0, 100, 100});
  HWND other = popup(Rect{0, 0, 100, 100});
  HWND owned = CreateWindowExA(WS_EX_TOOLWINDOW, kTestClass, "", WS_POPUP | WS_VISIBLE, 10, 10, 20, 20, owner,
                               0, 0, nullptr);
  EXPECT_EQ(std::pair(GetParent(owned), GetWindow(owned, GW_OWNER)), std::pair(owner, owner));  // a pop-up's "parent" is its owner
  // Bringing the owner up brings its owned window along, above it.
  SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetWindowPos(owner, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetTopWindow(0), owned);
  EXPECT_EQ(GetWindow(owned, GW_HWNDNEXT), owner);
  DestroyWindow(owner);
  EXPECT_FALSE(IsWindow(owned));
  EXPECT_TRUE(IsWindow(other));
}

TEST_F(Window, GeometryOfAFramedWindowAndItsChild) {
  HWND top = CreateWindowExA(0, kTestClass, "Form", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 50, 300, 200, 0, 0,
                             0, nullptr);
  RECT wr, cr;
  ASSERT_TRUE(GetWindowRect(top, &wr));
  EXPECT_EQ(wr, (Rect{100, 50, 400, 250}));
  ASSERT_TRUE(GetClientRect(top, &cr));
  int frame = GetSystemMetrics(SM_CXFRAME), cap = GetSystemMetrics(SM_CYCAPTION);
  EXPECT_EQ(cr, (Rect{0, 0, 300 - 2 * frame, 200 - 2 * frame - cap}));
  HWND kid = child(top, Rect{10, 20, 40, 35});
  GetWindowRect(kid, &wr);
  EXPECT_EQ(wr, (Rect{100 + frame + 10, 50 + frame + cap + 20, 100 + frame + 40, 50 + frame + cap + 35}));
  POINT p{0, 0};
  ClientToScreen(kid, &p);
  EXPECT_EQ(p, (Point{wr.left, wr.top}));
  ScreenToClient(top, &p);
  EXPECT_EQ(p, (Point{10, 20}));
  POINT pts[1] = {{1, 2}};
  MapWindowPoints(kid, top, pts, 1);
  EXPECT_EQ(pts[0], (Point{11, 22}));
  EXPECT_EQ(GetWindowTextLengthA(top), 4);

  // A child placed near the ends of the 32-bit range: screen positions saturate, never wrap
  // to the other end.
  HWND far = child(top, Rect{0, 0, 10, 10});
  MoveWindow(far, INT32_MAX - 5, INT32_MIN + 5, 10, 10, FALSE);
  GetWindowRect(far, &wr);
  EXPECT_EQ(std::pair(wr.left, wr.top), std::pair(INT32_MAX, 50 + frame + cap + INT32_MIN + 5));
  POINT q{INT32_MIN + 1, INT32_MAX - 1};
  ScreenToClient(top, &q);
  EXPECT_EQ(q, (Point{INT32_MIN, INT32_MAX - 1 - 50 - frame - cap}));
  POINT r[1] = {{INT32_MAX, 0}};
  MapWindowPoints(kid, top, r, 1);
  EXPECT_EQ(r[0].x, INT32_MAX);
}

TEST_F(Window, MovingAndSizingSendPlacementMessagesAndKeepTheDcAndPixels) {
  HWND w = popup(Rect{0, 0, 40, 30});
  HDC dc = GetDC(w);
  gfx::fillRect(*gfx::dcFromHandle(dc), Rect{0, 0, 40, 30}, 0x123456);
  clearLog();
  ASSERT_TRUE(MoveWindow(w, 5, 6, 60, 50, TRUE));
  EXPECT_EQ(messagesOf(w, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
            (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}));
  EXPECT_EQ(std::pair(entriesOf(w, WM_SIZE)[0].lParam, entriesOf(w, WM_MOVE)[0].lParam),
            std::pair(MAKELPARAM(60, 50), MAKELPARAM(5, 6)));
  EXPECT_EQ(GetDC(w), dc);  // the same DC, now drawing on the larger surface
  auto* d = gfx::dcFromHandle(dc);
  ASSERT_NE(d->surface(), nullptr);
  EXPECT_EQ(std::tuple(d->surface()->width(), d->surface()->at(39, 29)), std::tuple(60, 0x123456u));
  // Moving only: no WM_SIZE.
  clearLog();
  SetWindowPos(w, 0, 7, 7, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(messagesOf(w, {WM_MOVE, WM_SIZE}), (std::vector<UINT>{WM_MOVE}));
  // A procedure may change the placement on its way.
  static auto clampProc = +[](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_WINDOWPOSCHANGING) reinterpret_cast<WINDOWPOS*>(lp)->cx = 25;
    return DefWindowProcA(h, m, wp, lp);
  };
  subclass(w, clampProc);
  SetWindowPos(w, 0, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(std::pair(windowRect(w).width(), windowRect(w).height()), std::pair(25, 100));
}

TEST_F(Window, SurfacesHoldAtMostTheScreenAndReportWhenTheyCannotBeMade) {
  // A child far larger than the 1024 x 768 screen keeps a screen-sized surface, over the part of
  // its client area on the screen (it starts 100 x 50 pixels off); its client size is what it
  // was asked for.
  HWND top = popup(Rect{0, 0, 600, 400});
  HWND huge = child(top, Rect{-100, -50, 6566, 13283});
  RECT cr;
  GetClientRect(huge, &cr);
  EXPECT_EQ(cr, (Rect{0, 0, 6666, 13333}));
  auto* d = gfx::dcFromHandle(GetDC(huge));
  ASSERT_NE(d->surface(), nullptr);
  EXPECT_EQ(std::pair(d->surface()->width(), d->surface()->height()), std::pair(1024, 768));
  RECT clip;
  GetClipBox(GetDC(huge), &clip);
  EXPECT_EQ(clip, (Rect{100, 50, 1124, 818}));
  EXPECT_TRUE(ui::windowsWithoutPixels(top).empty());

  // A larger screen lets more be kept, and the window is drawn again.
  ValidateRect(huge, nullptr);
  ui::setScreenSize(Size{2000, 1500});
  EXPECT_EQ(std::pair(d->surface()->width(), d->surface()->height()), std::pair(2000, 1500));
  EXPECT_TRUE(GetUpdateRect(huge, nullptr, FALSE));

  // On a screen of the largest size, a window of 10 000 x 10 000 pixels is beyond the largest
  // surface the platform makes: it is listed as having no pixels; hidden windows are not.
  ui::setScreenSize(Size{gfx::kMaxSurfaceSide, gfx::kMaxSurfaceSide});
  HWND wide = popup(Rect{0, 0, 10000, 10000});
  EXPECT_EQ(ui::windowsWithoutPixels(wide), (std::vector<HWND>{wide}));
  ShowWindow(wide, SW_HIDE);
  EXPECT_TRUE(ui::windowsWithoutPixels(wide).empty());
}

TEST_F(Window, ZOrderOfOverlappingWindowsWithTopmostBand) {
  HWND a = popup(Rect{0, 0, 100, 100});
  HWND b = popup(Rect{50, 50, 150, 150});
  HWND c = popup(Rect{25, 25, 125, 125});
  // Newest on top.
  auto at = [](std::initializer_list<Point> pts) {
    std::vector<HWND> out;
    for (Point p : pts) out.push_back(WindowFromPoint(p));
    return out;
  };
  EXPECT_EQ(at({{60, 60}, {140, 140}, {10, 10}}), (std::vector<HWND>{c, b, a}));
  SetWindowPos(c, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(at({{60, 60}, {30, 30}}), (std::vector<HWND>{b, a}));
  SetWindowPos(a, b, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);  // a just below b
  EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), a);
  // A topmost window stays above windows brought to the top later.
  SetWindowPos(c, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(std::tuple(GetTopWindow(0), GetWindowLongA(c, GWL_EXSTYLE) & WS_EX_TOPMOST), std::tuple(c, WS_EX_TOPMOST));
  SetWindowPos(c, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_FALSE(GetWindowLongA(c, GWL_EXSTYLE) & WS_EX_TOPMOST);
  // Hidden windows are not hit; children are, inside their parent's client area only.
  ShowWindow(c, SW_HIDE);
  EXPECT_EQ(WindowFromPoint(Point{30, 30}), a);
  HWND kid = child(a, Rect{20, 20, 200, 40});
  EXPECT_EQ(WindowFromPoint(Point{30, 30}), kid);
  EXPECT_EQ(WindowFromPoint(Point{130, 30}), 0u);  // beyond a's client area: bare desktop
  EXPECT_EQ(std::pair(ChildWindowFromPoint(a, Point{30, 30}), ChildWindowFromPoint(a, Point{5, 5})), std::pair(kid, a));
}

TEST_F(Window, RegionsClipHitTestingAndPaintingAndAreOwnedByTheWindow) {
  HWND below = popup(Rect{0, 0, 100, 100});
  HWND w = popup(Rect{0, 0, 100, 100});
  // An L shape: the left column and the bottom row.
  HRGN rgn = CreateRectRgn(0, 0, 20, 100);
  HRGN bottom = CreateRectRgn(0, 80, 100, 100);
  CombineRgn(rgn, rgn, bottom, RGN_OR);
  DeleteObject(bottom);
  size_t regions = handles().liveCount(ObjKind::Region);
  ASSERT_NE(SetWindowRgn(w, rgn, TRUE), 0);
  EXPECT_EQ(handles().liveCount(ObjKind::Region), regions - 1);  // the window took it
  EXPECT_EQ(GetObjectType(rgn), 0u);
  // Outside the region: the window below.
  EXPECT_EQ(std::tuple(WindowFromPoint(Point{10, 10}), WindowFromPoint(Point{90, 90}), WindowFromPoint(Point{50, 50})),
            std::tuple(w, w, below));
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(w, copy), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(copy, 5, 50));
  DeleteObject(copy);
  // Drawing through the window's DC only reaches the region.
  HDC dc = GetDC(w);
  gfx::fillRect(*gfx::dcFromHandle(dc), Rect{0, 0, 100, 100}, 0xFF0000);
  auto* s = gfx::dcFromHandle(dc)->surface();
  EXPECT_EQ(std::tuple(s->at(5, 5), s->at(50, 50), s->at(50, 90)), std::tuple(0xFF0000u, 0u, 0xFF0000u));
  // Removing the region restores the whole window.
  SetWindowRgn(w, 0, TRUE);
  EXPECT_EQ(WindowFromPoint(Point{50, 50}), w);
}

TEST_F(Window, ShowMaximiseMinimiseRestore) {
  static auto formProc = +[](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    messageLog().push_back(Logged{h, m, wp, lp});
    if (m == WM_GETMINMAXINFO) {
      // What the form skin does: the work area's right and bottom, placed at (0, 2).
      auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
      RECT wa;
      SystemParametersInfoA(SPI_GETWORKAREA, 0, &wa, 0);
      mmi->ptMaxSize = Point{wa.right, wa.bottom};
      mmi->ptMaxPosition = Point{0, 2};
      return 0;
    }
    return DefWindowProcA(h, m, wp, lp);
  };
  HWND w = CreateWindowExA(0, kTestClass, "", WS_POPUP, 100, 100, 200, 150, 0, 0, 0, nullptr);
  subclass(w, formProc);
  EXPECT_FALSE(IsWindowVisible(w));
  clearLog();
  EXPECT_FALSE(ShowWindow(w, SW_SHOW));
  EXPECT_EQ(messagesOf(w, {WM_SHOWWINDOW, WM_WINDOWPOSCHANGED}), (std::vector<UINT>{WM_SHOWWINDOW, WM_WINDOWPOSCHANGED}));
  clearLog();
  ShowWindow(w, SW_MAXIMIZE);
  EXPECT_TRUE(IsZoomed(w));
  EXPECT_EQ(windowRect(w), (Rect{0, 2, 1024, 2 + 738}));
  EXPECT_EQ(entriesOf(w, WM_SIZE).back().wParam, SIZE_MAXIMIZED);
  ShowWindow(w, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(w) && !IsZoomed(w));
  EXPECT_EQ(entriesOf(w, WM_SIZE).back().wParam, SIZE_MINIMIZED);
  ShowWindow(w, SW_RESTORE);
  EXPECT_EQ(windowRect(w), (Rect{100, 100, 300, 250}));  // back to the rectangle before maximising
  EXPECT_EQ(entriesOf(w, WM_SIZE).back().wParam, SIZE_RESTORED);
  clearLog();
  EXPECT_TRUE(ShowWindow(w, SW_HIDE));
  EXPECT_EQ(entriesOf(w, WM_SHOWWINDOW).at(0).wParam, static_cast<WPARAM>(FALSE));
  // System commands reach the same operations (SC_CLOSE: the system menu's test).
  ShowWindow(w, SW_SHOW);
  SendMessageA(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_TRUE(IsZoomed(w));
}

TEST_F(Window, WindowLongsStylesTextPropsAndParents) {
  HWND top = popup(Rect{0, 0, 100, 100});
  HWND other = popup(Rect{200, 0, 300, 100});
  HWND kid = child(top, Rect{10, 10, 20, 20}, kTestClass, 42);
  EXPECT_EQ(GetWindowLongA(kid, GWL_ID), 42);
  SetWindowLongPtrA(kid, GWL_USERDATA, 0x1234567890LL);  // pointer-sized
  EXPECT_EQ(GetWindowLongPtrA(kid, GWL_USERDATA), 0x1234567890LL);
  clearLog();
  LONG old = SetWindowLongA(kid, GWL_STYLE, static_cast<LONG>(WS_CHILD | WS_VISIBLE | WS_BORDER));
  EXPECT_EQ(static_cast<DWORD>(old), WS_CHILD | WS_VISIBLE);
  EXPECT_EQ(messagesOf(kid), (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED}));
  EXPECT_EQ(entriesOf(kid, WM_STYLECHANGED)[0].wParam, static_cast<WPARAM>(GWL_STYLE));
  // A style change takes effect on the frame with SWP_FRAMECHANGED.
  SetWindowPos(kid, 0, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  RECT cr;
  GetClientRect(kid, &cr);
  EXPECT_EQ(cr, (Rect{0, 0, 8, 8}));
  SetWindowTextA(top, "Hello");
  char buf[4];
  EXPECT_EQ(GetWindowTextA(top, buf, sizeof buf), 3);
  EXPECT_STREQ(buf, "Hel");
  SetPropA(top, "owner", 77);
  EXPECT_EQ(RemovePropA(top, "owner"), 77u);
  EXPECT_EQ(GetPropA(top, "owner"), 0u);
  // Re-parenting keeps the client position in the new parent.
  EXPECT_EQ(SetParent(kid, other), top);
  EXPECT_EQ(windowRect(kid).left, 210);
  EXPECT_TRUE(IsChild(other, kid) && !IsChild(top, kid));
  EXPECT_EQ(SetParent(other, kid), 0u);  // no cycles
}

TEST_F(Window, PaintCycleForWindowsThatWantOne) {
  HWND w = CreateWindowExA(0, kBrushClass, "", WS_POPUP, 0, 0, 30, 20, 0, 0, 0, nullptr);
  HDC dc = GetDC(w);
  gfx::fillRect(*gfx::dcFromHandle(dc), Rect{0, 0, 30, 20}, 0x00FF00);
  ShowWindow(w, SW_SHOWNA);
  clearLog();
  input.pump();  // showing invalidated the window: WM_PAINT with an erase
  EXPECT_EQ(messagesOf(w, {WM_PAINT, WM_ERASEBKGND}), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
  EXPECT_EQ(gfx::dcFromHandle(dc)->surface()->at(5, 5), 0xFFFFFFu);  // the class brush
  clearLog();
  input.pump();
  EXPECT_TRUE(messagesOf(w, {WM_PAINT}).empty());  // validated
  // An invalid rectangle limits what the paint cycle can touch.
  RECT part{0, 0, 10, 10};
  InvalidateRect(w, &part, FALSE);
  static auto paintProc = +[](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m != WM_PAINT) return DefWindowProcA(h, m, wp, lp);
    PAINTSTRUCT ps;
    HDC pdc = BeginPaint(h, &ps);
    messageLog().push_back(Logged{h, m, static_cast<WPARAM>(ps.rcPaint.right), ps.fErase});
    gfx::fillRect(*gfx::dcFromHandle(pdc), Rect{0, 0, 30, 20}, 0x0000FF);
    EndPaint(h, &ps);
    return 0;
  };
  subclass(w, paintProc);
  clearLog();
  UpdateWindow(w);  // at once, without the queue
  auto paints = entriesOf(w, WM_PAINT);
  ASSERT_EQ(paints.size(), 1u);
  EXPECT_EQ(paints[0].wParam, 10u);
  auto* s = gfx::dcFromHandle(dc)->surface();
  EXPECT_EQ(std::pair(s->at(5, 5), s->at(15, 15)), std::pair(0x0000FFu, 0xFFFFFFu));
  // After EndPaint the DC draws everywhere again.
  gfx::fillRect(*gfx::dcFromHandle(dc), Rect{0, 0, 30, 20}, 0x111111);
  EXPECT_EQ(s->at(15, 15), 0x111111u);
}

// The paint search visits only windows that may be dirty: a window that stays dirty while hidden
// must not hide the ones after it, nor be forgotten once it shows; a window before one already
// painted is found when it is invalidated later.
TEST_F(Window, PaintsReachEveryDirtyWindowInTreeOrderWhateverStaysHidden) {
  HWND top = popup(Rect{0, 0, 400, 100});
  std::vector<HWND> kids;
  for (int i = 0; i < 70; ++i) kids.push_back(child(top, Rect{i * 5, 0, i * 5 + 5, 10}, kBrushClass));
  ShowWindow(kids[1], SW_HIDE);
  input.pump();
  InvalidateRect(kids[1], nullptr, FALSE);  // dirty, but hidden
  for (int i : {69, 2, 66, 40}) InvalidateRect(kids[static_cast<size_t>(i)], nullptr, FALSE);
  auto paintedKids = [&] {
    std::vector<int> order;
    for (const Logged& e : messageLog()) {
      const auto at = std::find(kids.begin(), kids.end(), e.hwnd);
      if (e.msg == WM_PAINT && at != kids.end()) order.push_back(static_cast<int>(at - kids.begin()));
    }
    clearLog();
    return order;
  };
  clearLog();
  input.pump();
  EXPECT_EQ(paintedKids(), (std::vector<int>{2, 40, 66, 69}));
  InvalidateRect(kids[0], nullptr, FALSE);  // before every window painted so far
  input.pump();
  EXPECT_EQ(paintedKids(), (std::vector<int>{0}));
  ShowWindow(kids[1], SW_SHOWNA);
  input.pump();
  EXPECT_EQ(paintedKids(), (std::vector<int>{1}));
  input.pump();
  EXPECT_TRUE(paintedKids().empty());
}

TEST_F(Window, DestroyedAndUnknownHandlesFailQuietly) {
  HWND w = popup(Rect{0, 0, 10, 10});
  DestroyWindow(w);
  for (HWND h : {w, HWND{0}, HWND{0x7FFFFFF0}, GetStockObject(WHITE_BRUSH)}) {
    EXPECT_EQ(SendMessageA(h, WM_USER, 1, 2), 0);
    EXPECT_EQ(IsWindow(h), FALSE);
    EXPECT_EQ(DestroyWindow(h), FALSE);
    if (h) {
      EXPECT_EQ(GetDC(h), 0u);
    }
    RECT r;
    EXPECT_EQ(GetWindowRect(h, &r), FALSE);
    EXPECT_EQ(SetWindowPos(h, 0, 0, 0, 1, 1, 0), FALSE);
    if (h) {
      EXPECT_EQ(SetTimer(h, 1, 10, nullptr), 0u);
    }
  }
  EXPECT_EQ(PostMessageA(w, WM_USER, 0, 0), FALSE);
  EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, 0, 0, 0, nullptr), 0u);
  EXPECT_EQ(CreateWindowExA(0, kTestClass, "", WS_CHILD, 0, 0, 1, 1, w, 0, 0, nullptr), 0u);
}

TEST_F(Window, AProcedureThatDestroysItsOwnWindowDoesNotBreakTheLoop) {
  static auto suicidal = +[](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    messageLog().push_back(Logged{h, m, wp, lp});
    if (m == WM_USER) {
      DestroyWindow(h);
      EXPECT_FALSE(DestroyWindow(h));  // already gone
      return 7;
    }
    if (m == WM_DESTROY) {
      EXPECT_FALSE(DestroyWindow(h));  // already on its way
    }
    return DefWindowProcA(h, m, wp, lp);
  };
  HWND w = popup(Rect{0, 0, 10, 10});
  HWND other = popup(Rect{20, 0, 30, 10});
  subclass(w, suicidal);
  EXPECT_EQ(SendMessageA(w, WM_USER, 0, 0), 7);
  EXPECT_FALSE(IsWindow(w));
  // Messages posted to it before are dropped; the loop goes on for others.
  HWND w2 = popup(Rect{0, 0, 10, 10});
  subclass(w2, suicidal);
  PostMessageA(w2, WM_USER, 0, 0);
  PostMessageA(w2, WM_USER + 1, 0, 0);
  PostMessageA(other, WM_USER + 2, 0, 0);
  clearLog();
  input.pump();
  EXPECT_FALSE(IsWindow(w2));
  EXPECT_EQ(messagesOf(other, {WM_USER + 2}), (std::vector<UINT>{WM_USER + 2}));
  EXPECT_TRUE(messagesOf(w2, {WM_USER + 1}).empty());
}

}  // namespace
}  // namespace zxp::ui::testing
