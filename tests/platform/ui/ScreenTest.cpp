// The screen's composition: z-order, regions, children inside their parent, layered windows with
// constant alpha, colour key and per-pixel alpha.
#include "UiTestSupport.h"

#include <functional>
#include <map>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/SysColors.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace zxp::ui::testing {
namespace {

using Screen = UiTest;

void paint(HWND w, Pixel p) {
  RECT r;
  GetClientRect(w, &r);
  gfx::fillRect(*gfx::dcFromHandle(GetDC(w)), r, p);
}

HWND painted(HWND w, Pixel p) {
  paint(w, p);
  return w;
}

// The pixels of a composed screen at the given points.
std::vector<Pixel> pixelsAt(const std::shared_ptr<gfx::Surface>& s, std::initializer_list<Point> points) {
  std::vector<Pixel> out;
  for (Point p : points) out.push_back(s->at(p.x, p.y));
  return out;
}

TEST_F(Screen, ComposesWindowsInZOrderThroughRegionsAndLayers) {
  const Pixel red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF, white = 0xFFFFFF;
  HWND a = popup(Rect{50, 50, 250, 200});
  paint(a, red);
  HWND kid = child(a, Rect{100, 100, 300, 140});  // sticks out of a: clipped to a's client area
  paint(kid, white);
  // b: a constant-alpha layer, half green over what lies below.
  HWND b = popup(Rect{200, 100, 400, 250}, kTestClass, WS_EX_LAYERED);
  paint(b, green);
  ASSERT_TRUE(SetLayeredWindowAttributes(b, 0, 128, LWA_ALPHA));
  // c: a plus-shaped region.
  HWND c = popup(Rect{300, 200, 400, 300});
  paint(c, blue);
  HRGN plus = CreateRectRgn(40, 0, 60, 100);
  HRGN bar = CreateRectRgn(0, 40, 100, 60);
  CombineRgn(plus, plus, bar, RGN_OR);
  DeleteObject(bar);
  SetWindowRgn(c, plus, TRUE);
  // d: per-pixel alpha from UpdateLayeredWindow; premultiplied half-transparent blue.
  HWND d = popup(Rect{0, 0, 1, 1}, kTestClass, WS_EX_LAYERED);
  HDC mem = CreateCompatibleDC(0);
  auto pic = gfx::Surface::create(60, 40);
  pic->fill(0x80000080u);  // A = 128, B = 128 (premultiplied)
  for (int x = 0; x < 10; ++x) pic->at(x, 0) = 0;  // fully transparent pixels
  HBITMAP bmp = gfx::CreateBitmapForSurface(pic);
  SelectObject(mem, bmp);
  POINT pos{600, 500};
  SIZE size{60, 40};
  POINT src{0, 0};
  BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ASSERT_TRUE(UpdateLayeredWindow(d, 0, &pos, &size, mem, &src, 0, &bf, ULW_ALPHA));
  EXPECT_FALSE(SetLayeredWindowAttributes(popup(Rect{0, 0, 1, 1}), 0, 1, LWA_ALPHA));  // not layered

  auto s = composeScreen();
  const Pixel desk = oleToPixel(GetSysColor(COLOR_BACKGROUND));
  EXPECT_EQ(pixelsAt(s, {{10, 10}, {60, 60}, {160, 160}}), (std::vector<Pixel>{desk, red, white}));  // the child in a
  // b blended: 128/255 green over red, over white (the child) and over the desktop.
  EXPECT_EQ(pixelsAt(s, {{220, 110}, {230, 160}}), (std::vector<Pixel>{makePixel(127, 128, 0), makePixel(127, 255, 127)}));
  Pixel overDesk = s->at(300, 120);
  EXPECT_EQ(pixelG(overDesk), 128 + (pixelG(desk) * 127 + 127) / 255);
  EXPECT_EQ(s->at(260, 160), overDesk);  // beyond a's client area the child is cut off
  // c: only the plus shape is drawn; outside the region b over the desktop shows through.
  EXPECT_EQ(pixelsAt(s, {{350, 210}, {310, 250}, {310, 210}}), (std::vector<Pixel>{blue, blue, overDesk}));
  // d: per-pixel alpha over the desktop; the transparent pixels are not there at all.
  Pixel half = s->at(620, 520);
  EXPECT_EQ(pixelB(half), 128 + (pixelB(desk) * 127 + 127) / 255);
  EXPECT_EQ(pixelR(half), (pixelR(desk) * 127 + 127) / 255);
  EXPECT_EQ(s->at(605, 500), desk);
  // Transparent pixels are not hit.
  EXPECT_EQ(std::pair(WindowFromPoint(Point{605, 500}), WindowFromPoint(Point{620, 520})), std::pair(HWND{0}, d));

  // Moving a window changes the picture; its surface keeps what was drawn.
  MoveWindow(c, 0, 300, 100, 100, TRUE);
  EXPECT_TRUE(screenDirty());
  s = composeScreen();
  EXPECT_EQ(s->at(50, 350), blue);
  // A window snapshot is its rectangle of the screen.
  auto snap = snapshotWindow(a);
  EXPECT_EQ(std::pair(snap->width(), snap->at(5, 5)), std::pair(200, red));
  DeleteDC(mem);
  DeleteObject(bmp);
}

TEST_F(Screen, ColourKeyAndFramesAndTheTaskBar) {
  HWND w = popup(Rect{10, 10, 110, 60}, kTestClass, WS_EX_LAYERED);
  paint(w, 0x00FF00);
  HDC dc = GetDC(w);
  gfx::fillRect(*gfx::dcFromHandle(dc), Rect{0, 0, 50, 50}, 0xFF00FF);
  SetLayeredWindowAttributes(w, RGB(255, 0, 255), 0, LWA_COLORKEY);
  auto s = composeScreen();
  const Pixel desk = oleToPixel(GetSysColor(COLOR_BACKGROUND));
  // The key colour is keyed out of both the picture and hit testing.
  EXPECT_EQ(pixelsAt(s, {{20, 20}, {80, 20}}), (std::vector<Pixel>{desk, 0x00FF00u}));
  EXPECT_EQ(std::pair(WindowFromPoint(Point{20, 20}), WindowFromPoint(Point{80, 20})), std::pair(HWND{0}, w));
  // The task bar strip below the work area.
  RECT wa;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &wa, 0);
  EXPECT_NE(s->at(5, wa.bottom + 5), desk);
  // A framed window: frame in the system colours around the client area.
  HWND f = CreateWindowExA(WS_EX_CLIENTEDGE, kTestClass, "Framed", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 200, 200,
                           150, 0, 0, 0, nullptr);
  paint(f, 0x123456);
  s = composeScreen();
  POINT c{0, 0};
  ClientToScreen(f, &c);
  EXPECT_EQ(s->at(c.x, c.y), 0x123456u);
  EXPECT_NE(s->at(c.x - 1, c.y - 1), 0x123456u);
  EXPECT_NE(s->at(210, 205), desk);  // the caption bar
}

// Controls keep their window's DC and draw through it from timers and input handlers, outside
// any paint: each such drawing must mark the screen for the next composition (the desktop
// backend presents only then), and composing must not mark it again by itself.
TEST_F(Screen, DrawingThroughAKeptWindowDcMarksTheScreenChanged) {
  HWND w = popup(Rect{10, 10, 60, 40});
  HDC dc = GetDC(w);
  composeScreen();
  composeScreen();
  EXPECT_FALSE(screenDirty());
  RECT r{0, 0, 10, 10};
  for (auto draw : std::initializer_list<std::function<void()>>{
           [&] { FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))); },
           [&] { SetPixel(dc, 3, 3, RGB(255, 0, 0)); }, [&] { gfx::clearSurface(dc, RGB(0, 0, 255)); }}) {
    composeScreen();
    draw();
    EXPECT_TRUE(screenDirty());
  }
  // A memory DC draws nothing on the screen.
  composeScreen();
  HDC mem = CreateCompatibleDC(dc);
  FillRect(mem, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_FALSE(screenDirty());
  DeleteDC(mem);
}

// Composition redoes only the rectangles of the windows drawn on since the last one, and the
// picture it leaves equals a composition of the whole screen; anything that moves windows
// redoes everything. The backend's share of the area collects across compositions.
std::vector<uint32_t> pixelsOf(const gfx::Surface& s) {
  std::vector<uint32_t> out;
  for (int y = 0; y < s.height(); ++y) out.insert(out.end(), s.row(y), s.row(y) + s.width());
  return out;
}

std::vector<uint32_t> fullComposition() {
  screenChanged();
  return pixelsOf(*composeScreen());
}

// The screen area that drawing on `drawn` changes: its rectangle, inside its shape if it has
// one.
gfx::Region drawnArea(HWND drawn) {
  RECT wr{};
  GetWindowRect(drawn, &wr);
  gfx::Region area(wr);
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  if (GetWindowRgn(drawn, shape) != ERROR) {
    gfx::Region r = gfx::regionFromHandle(shape)->rgn;
    r.translate(wr.left, wr.top);
    area = area.intersected(r);
  }
  DeleteObject(shape);
  return area.intersected(Rect{0, 0, screenSize().cx, screenSize().cy});
}

// Draws `drawn` in `colour` for a full composition, then again over a scribbled screen for a
// partial one: inside what drawing on the window changes (its rectangle, inside its shape) the
// partial picture must equal the full one, and outside it the scribble must stay, so a pixel
// the composition wrongly skips or touches shows.
void expectPartialMatchesFull(HWND drawn, Pixel colour) {
  const Pixel scribble = 0xABCDEF;
  paint(drawn, colour);
  const std::vector<uint32_t> expected = fullComposition();
  composeScreen()->fill(scribble);
  paint(drawn, colour);
  const std::vector<uint32_t> part = pixelsOf(*composeScreen());
  const gfx::Region area = drawnArea(drawn);
  const int width = screenSize().cx;
  size_t wrong = 0;
  for (size_t i = 0; i < part.size(); ++i) {
    const Point p{static_cast<int>(i % width), static_cast<int>(i / width)};
    if (part[i] != (area.contains(p) ? expected[i] : scribble)) ++wrong;
  }
  EXPECT_EQ(wrong, 0u);
}

TEST_F(Screen, RedoesOnlyTheDamagedWindowsAndMatchesAFullComposition) {
  HWND a = popup(Rect{50, 50, 250, 200});
  paint(a, 0xFF0000);
  HWND kid = child(a, Rect{20, 30, 80, 60});
  paint(kid, 0xFFFFFF);
  HWND over = popup(Rect{200, 100, 400, 250});  // above a, covering its right part
  paint(over, 0x0000FF);
  HWND fading = popup(Rect{100, 20, 180, 120}, kTestClass, WS_EX_LAYERED);
  paint(fading, 0x00FF00);
  ASSERT_TRUE(SetLayeredWindowAttributes(fading, 0, 100, LWA_ALPHA));
  composeScreen();
  takeComposedArea();

  // Nothing drawn: nothing redone.
  composeScreen();
  EXPECT_TRUE(composedArea().empty());

  // The child under the layered window: its rectangle only, blended as before.
  paint(kid, 0x123456);
  std::vector<uint32_t> part = pixelsOf(*composeScreen());
  EXPECT_EQ(composedArea(), (std::vector<Rect>{{70, 80, 130, 110}}));
  EXPECT_EQ(part, fullComposition());

  // a, partly under `over`: a's rectangle, and `over` stays on top.
  paint(a, 0x00FFFF);
  part = pixelsOf(*composeScreen());
  EXPECT_EQ(composedArea(), (std::vector<Rect>{{50, 50, 250, 200}}));
  EXPECT_EQ(part, fullComposition());
  takeComposedArea();

  // Two windows drawn between compositions: both rectangles; the backend gets them together
  // with the next composition's.
  paint(kid, 0x654321);
  paint(over, 0x445566);
  part = pixelsOf(*composeScreen());
  EXPECT_EQ(gfx::Region::fromRects(composedArea()), gfx::Region(Rect{70, 80, 130, 110}).united(gfx::Region(Rect{200, 100, 400, 250})));
  paint(fading, 0x000000);
  composeScreen();
  EXPECT_EQ(gfx::Region::fromRects(takeComposedArea()),
            gfx::Region::fromRects(std::vector<Rect>{{70, 80, 130, 110}, {200, 100, 400, 250}, {100, 20, 180, 120}}));
  EXPECT_TRUE(takeComposedArea().empty());

  // The backend's share grows with each composition, whether the new area lies inside the
  // earlier ones or holds them (apart from them: the two windows above).
  paint(kid, 0x111111);
  composeScreen();
  paint(a, 0x222222);  // holds kid
  composeScreen();
  paint(kid, 0x333333);  // inside a
  composeScreen();
  EXPECT_EQ(gfx::Region::fromRects(takeComposedArea()), gfx::Region(Rect{50, 50, 250, 200}));

  // Moving a window redoes the whole screen.
  SetWindowPos(over, 0, 220, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  part = pixelsOf(*composeScreen());
  EXPECT_EQ(composedArea(), (std::vector<Rect>{{0, 0, screenSize().cx, screenSize().cy}}));
  EXPECT_EQ(part, fullComposition());
}

// A program that draws and never composes (a headless script) keeps a bounded list of drawn
// windows: past the limit the next composition redoes the whole screen, which still matches, and
// windows drawn after it are listed again.
TEST_F(Screen, DamageThatNobodyComposesStaysBounded) {
  HWND a = popup(Rect{10, 10, 110, 60});
  composeScreen();
  for (size_t i = 0; i < 3 * kMaxDamagedWindows; ++i) {
    HWND w = child(a, Rect{0, 0, 10, 10});
    paint(w, 0x102030);
    DestroyWindow(w);
  }
  EXPECT_LE(damagedWindowCount(), kMaxDamagedWindows);
  paint(a, 0x405060);
  const std::vector<uint32_t> part = pixelsOf(*composeScreen());
  EXPECT_EQ(composedArea(), (std::vector<Rect>{{0, 0, screenSize().cx, screenSize().cy}}));
  EXPECT_EQ(part, fullComposition());
  EXPECT_EQ(damagedWindowCount(), 0u);
  paint(a, 0x708090);
  EXPECT_EQ(damagedWindowCount(), 1u);
  composeScreen();
  EXPECT_EQ(composedArea(), (std::vector<Rect>{{10, 10, 110, 60}}));
}

// A window that changes its shape or its frame in place changes the screen inside its own
// rectangle only: that rectangle is recomposed, and shows the parent where the new shape leaves
// a corner and the window where it covers one again. Anything that reorders windows still
// redoes the whole screen.
TEST_F(Screen, AWindowReshapedInPlaceRecomposesItsRectangleOnly) {
  HWND form = popup(Rect{40, 40, 340, 240});
  paint(form, 0xFF0000);
  HWND kid = child(form, Rect{10, 10, 110, 70});
  paint(kid, 0x00FF00);
  HWND other = child(form, Rect{150, 10, 250, 70});
  paint(other, 0x0000FF);
  composeScreen();
  const Rect wr = windowRect(kid);
  const std::vector<Rect> kidArea{wr};
  const std::vector<Rect> everything{Rect{0, 0, screenSize().cx, screenSize().cy}};
  struct Step {
    const char* what;
    std::function<void()> change;
    std::vector<Rect> area;
    Pixel corner;  // the screen's pixel at the window's top-left corner afterwards
  };
  const Step steps[] = {
      {"cut to an ellipse", [&] { SetWindowRgn(kid, CreateEllipticRgn(0, 0, 100, 60), TRUE); }, kidArea, 0xFF0000},
      {"a frame change in place", [&] { SetWindowPos(kid, 0, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED); },
       kidArea, 0xFF0000},
      {"the shape taken away", [&] { SetWindowRgn(kid, 0, TRUE); }, kidArea, 0x00FF00},
      {"sent to the bottom", [&] { SetWindowPos(kid, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }, everything,
       0x00FF00},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    takeComposedArea();
    step.change();
    const std::vector<uint32_t> part = pixelsOf(*composeScreen());
    EXPECT_EQ(composedArea(), step.area);
    EXPECT_EQ(part[static_cast<size_t>(wr.top) * screenSize().cx + wr.left], step.corner);
    EXPECT_EQ(part, fullComposition());
  }
}

// Drawing straight on the screen through the desktop's DC lasts until the next composition,
// which redoes the whole screen, as it did before compositions became partial.
TEST_F(Screen, DrawingOnTheScreenDcIsUndoneByTheNextComposition) {
  HWND a = popup(Rect{10, 10, 60, 40});
  paint(a, 0xFF0000);
  const std::vector<uint32_t> before = pixelsOf(*composeScreen());
  HDC screen = GetDC(0);
  RECT r{0, 0, 300, 300};
  FillRect(screen, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ReleaseDC(0, screen);
  EXPECT_EQ(pixelsOf(*composeScreen()), before);
}

TEST_F(Screen, AWindowWiderThanTheScreenShowsThePartThatLiesOnTheScreen) {
  // On the 1024 x 768 screen, a child 3000 pixels wide starting 1500 pixels left of the screen:
  // what can be seen of it begins more than a screen width from its left edge. Its parent is
  // larger than the screen too.
  const Pixel red = 0xFF0000, blue = 0x0000FF, green = 0x00FF00, white = 0xFFFFFF;
  HWND top = popup(Rect{0, 0, 2000, 600});
  paint(top, white);
  HWND wide = child(top, Rect{-1500, 100, 1500, 200});
  HDC dc = GetDC(wide);
  HBRUSH redBrush = CreateSolidBrush(RGB(255, 0, 0)), blueBrush = CreateSolidBrush(RGB(0, 0, 255));
  HBRUSH greenBrush = CreateSolidBrush(RGB(0, 255, 0));
  // Drawing is in client coordinates, as a control draws: red all over, a blue mark at client
  // x 1600 to 1610 placed through the viewport origin, which reads back as it was set.
  RECT all{0, 0, 3000, 100}, mark{0, 0, 10, 100};
  FillRect(dc, &all, redBrush);
  SetViewportOrgEx(dc, 1600, 0, nullptr);
  POINT org{};
  GetViewportOrgEx(dc, &org);
  EXPECT_EQ(org, (POINT{1600, 0}));
  FillRect(dc, &mark, blueBrush);
  SetViewportOrgEx(dc, 0, 0, nullptr);
  // A clip region selected in client coordinates reads back unchanged and clips there.
  HRGN clip = CreateRectRgn(1700, 0, 1710, 100);
  SelectClipRgn(dc, clip);
  HRGN got = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetClipRgn(dc, got), 1);
  EXPECT_TRUE(EqualRgn(got, clip));
  FillRect(dc, &all, greenBrush);
  SelectClipRgn(dc, 0);
  // Client x 1550, 1595, 1605, 1705, 1715, the right edge of the screen, and the parent above.
  EXPECT_EQ(pixelsAt(composeScreen(), {{50, 150}, {95, 150}, {105, 150}, {205, 150}, {215, 150}, {1020, 150}, {50, 50}}),
            (std::vector<Pixel>{red, red, blue, green, red, red, white}));

  // The parent moves left: the surfaces move over the parts on the screen now (the child's up to
  // its right edge, 900 pixels in) and both windows are asked to draw them.
  ValidateRect(top, nullptr);
  ValidateRect(wide, nullptr);
  SetWindowPos(top, 0, -600, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(GetUpdateRect(top, nullptr, FALSE));
  EXPECT_TRUE(GetUpdateRect(wide, nullptr, FALSE));
  paint(top, white);
  FillRect(dc, &all, blueBrush);
  RECT end{2990, 0, 3000, 100};
  FillRect(dc, &end, redBrush);
  // Client x 2100 and 2985, 2995 (the last pixels), and past the child its parent.
  EXPECT_EQ(pixelsAt(composeScreen(), {{0, 150}, {885, 150}, {895, 150}, {905, 150}}),
            (std::vector<Pixel>{blue, blue, red, white}));
  for (HGDIOBJ o : {HGDIOBJ(redBrush), HGDIOBJ(blueBrush), HGDIOBJ(greenBrush), HGDIOBJ(clip), HGDIOBJ(got)})
    DeleteObject(o);
  ReleaseDC(wide, dc);
}

// A partial composition redraws every pixel of the damaged rectangle from the windows, leaving
// out only what an opaque window hides. The screen picture is scribbled over first, so a pixel
// the composition wrongly skips keeps the scribble and shows.
TEST_F(Screen, APartialCompositionRedrawsEveryPixelOfTheDamageThatCanBeSeen) {
  HWND form = popup(Rect{40, 40, 340, 240});
  paint(form, 0xFF0000);
  HWND round = child(form, Rect{10, 10, 70, 40});  // the form shows at its corners
  ASSERT_TRUE(SetWindowRgn(round, CreateEllipticRgn(0, 0, 60, 30), TRUE));
  paint(round, 0x00FF00);
  HWND hidden = child(form, Rect{0, 0, 80, 50});  // above `round`, hidden: hides nothing
  paint(hidden, 0x0000FF);
  ShowWindow(hidden, SW_HIDE);
  HWND below = child(form, Rect{100, 10, 160, 60});
  paint(below, 0x111111);
  HWND cover = child(form, Rect{90, 0, 170, 70});  // above `below`, hiding all of it
  paint(cover, 0x222222);
  HWND top = child(form, Rect{120, 20, 140, 40});  // above `cover`
  paint(top, 0x333333);
  // A layered pop-up over part of `cover`, and a round pop-up across the task bar strip.
  HWND glass = popup(Rect{150, 30, 250, 90}, kTestClass, WS_EX_LAYERED);
  paint(glass, 0x00FFFF);
  ASSERT_TRUE(SetLayeredWindowAttributes(glass, 0, 128, LWA_ALPHA));
  const int bar = workArea().bottom;
  HWND disc = popup(Rect{400, bar - 20, 440, bar + 20});
  ASSERT_TRUE(SetWindowRgn(disc, CreateEllipticRgn(0, 0, 40, 40), TRUE));
  paint(disc, 0x444444);

  struct Case {
    const char* what;
    HWND drawn;
    Pixel colour;
  };
  for (const Case& c : {Case{"a window with a region, under a hidden one", round, 0x00AA00},
                        Case{"a window hidden by a sibling", below, 0x555555},
                        Case{"the sibling on top of the hiding one", top, 0x666666},
                        Case{"the hiding window under a layered one", cover, 0x777777},
                        Case{"a round pop-up over the background and the task bar", disc, 0x888888}}) {
    SCOPED_TRACE(c.what);
    expectPartialMatchesFull(c.drawn, c.colour);
    EXPECT_EQ(gfx::Region::fromRects(composedArea()), drawnArea(c.drawn));
  }
}

// A window drawn on alone, that nothing covers or clips, is copied straight to the screen; every
// window that something does cover or clip (its parent's client area or shape, a sibling or a
// pop-up above, its own children) must still be composed as a full composition shows it.
TEST_F(Screen, AWindowDrawnAloneIsCopiedStraightOnlyWhereNothingCoversOrClipsIt) {
  HWND form = painted(popup(Rect{40, 40, 440, 340}), 0x102030);
  HWND panel = painted(child(form, Rect{10, 10, 210, 150}), 0x203040);
  HWND nested = painted(child(panel, Rect{20, 20, 80, 60}), 0x304050);
  // Beyond the panel's client area:
  HWND sticking = painted(child(panel, Rect{150, 100, 260, 180}), 0x405060);
  HWND oval = child(form, Rect{230, 10, 390, 150});
  ASSERT_TRUE(SetWindowRgn(oval, CreateEllipticRgn(0, 0, 160, 140), TRUE));
  paint(oval, 0x506070);
  // Its corner lies outside the parent's shape:
  HWND inOval = painted(child(oval, Rect{0, 0, 60, 50}), 0x607080);
  HWND plus = child(form, Rect{10, 170, 110, 270});
  HRGN shape = CreateRectRgn(40, 0, 60, 100), bar = CreateRectRgn(0, 40, 100, 60);
  CombineRgn(shape, shape, bar, RGN_OR);
  DeleteObject(bar);
  ASSERT_TRUE(SetWindowRgn(plus, shape, TRUE));
  paint(plus, 0x708090);
  HWND over = painted(child(form, Rect{150, 180, 250, 260}), 0x8090A0);
  HWND under = painted(child(form, Rect{200, 200, 300, 280}), 0x90A0B0);  // created later: below `over`
  for (int i = 0; i < 24; ++i) paint(child(form, Rect{10 + 12 * i, 285, 20 + 12 * i, 295}), 0x111111 * (i % 8));
  // Another form, a pop-up over one corner of it.
  HWND other = painted(popup(Rect{500, 40, 700, 240}), 0xA0B0C0);
  HWND cornered = painted(child(other, Rect{10, 10, 110, 110}), 0xB0C0D0);
  paint(popup(Rect{560, 60, 640, 120}), 0xC0D0E0);
  composeScreen();
  struct Case {
    const char* what;
    HWND drawn;
  };
  Pixel colour = 0x00AA00;
  for (const Case& c : {Case{"a grandchild", nested}, Case{"a child beyond its parent", sticking},
                        Case{"a parent under its children", panel}, Case{"a child inside a shaped parent", inOval},
                        Case{"a child under a sibling", under}, Case{"a child on top of one", over},
                        Case{"a child under a pop-up", cornered}, Case{"a shaped child", plus}}) {
    SCOPED_TRACE(c.what);
    expectPartialMatchesFull(c.drawn, colour += 0x010203);  // a colour of its own
  }
  // A plus of three rectangles is recomposed as those three rectangles.
  EXPECT_EQ(composedArea(), std::vector<Rect>({{90, 210, 110, 250}, {50, 250, 150, 270}, {90, 270, 110, 310}}));
}

// A window with many children finds those under a damaged area through a grid of their
// rectangles, and leaves out its own pixels under a child's opaque part. Children of every size
// (one across the whole form, thin ones, an empty one, shaped ones),
// overlapping in z-order, hidden ones, and children moved, shown, added and destroyed between
// compositions: each drawn child's partial composition equals a full one, and leaves nothing of
// the scribble inside its rectangle. The same grid finds the window under the pointer: with
// every window in a colour of its own, the window each point hits is the one whose colour the
// screen shows there.
TEST_F(Screen, AWindowWithManyChildrenRedrawsAndHitTestsEachOfThemAsAFullWalkDoes) {
  setScreenSize(Size{640, 440});  // every check composes the whole screen once
  HWND form = popup(Rect{20, 20, 620, 420});
  paint(form, 0x102030);
  std::vector<HWND> kids;
  for (int i = 0; i < 40; ++i) {
    const int x = (i % 8) * 70 + (i % 3) * 9, y = (i / 8) * 70 + (i % 5) * 7;
    const int w = 40 + (i % 4) * 25, h = 30 + (i % 3) * 30;
    kids.push_back(child(form, Rect{x, y, x + w, y + h}));
    paint(kids.back(), static_cast<Pixel>(0x030507 * (i + 1)));
  }
  HWND wide = child(form, Rect{-10, 150, 700, 160});  // across every column
  paint(wide, 0x00FF00);
  HWND tall = child(form, Rect{333, -5, 336, 500});  // across every row
  paint(tall, 0x0000FF);
  HWND empty = child(form, Rect{100, 100, 100, 130});
  HWND round = child(form, Rect{200, 200, 280, 260});
  ASSERT_TRUE(SetWindowRgn(round, CreateEllipticRgn(0, 0, 80, 60), TRUE));
  paint(round, 0xFF00FF);
  // A shape whose largest rectangle leaves the form showing above it and on both sides, over
  // part of a window drawn under it.
  HWND bumpy = child(form, Rect{420, 250, 500, 310});
  HRGN bump = CreateRectRgn(0, 25, 80, 30);
  HRGN body = CreateRectRgn(10, 0, 70, 60);
  CombineRgn(body, body, bump, RGN_OR);
  DeleteObject(bump);
  ASSERT_TRUE(SetWindowRgn(bumpy, body, TRUE));
  paint(bumpy, 0xFFFF00);
  HWND underBumpy = child(form, Rect{470, 280, 560, 340});  // later children lie below
  paint(underBumpy, 0x00FF80);
  ShowWindow(kids[12], SW_HIDE);
  ShowWindow(kids[13], SW_HIDE);
  composeScreen();

  const auto check = expectPartialMatchesFull;
  auto checkAll = [&](Pixel base) {
    for (size_t i = 0; i < kids.size(); i += 3) {  // each row and column of the grid has some
      SCOPED_TRACE(i);
      check(kids[i], base + static_cast<Pixel>(i));
    }
    check(wide, base ^ 0xFF);
    check(tall, base ^ 0xFF00);
    check(round, base ^ 0xFF0000);
    check(bumpy, base ^ 0x00FFFF);
    check(underBumpy, base ^ 0x0080FF);
  };
  auto checkHits = [&] {
    std::vector<HWND> all = kids;
    all.insert(all.end(), {wide, tall, round, bumpy, underBumpy});
    std::map<Pixel, HWND> owner{{0x102030, form}};
    paint(form, 0x102030);
    for (size_t i = 0; i < all.size(); ++i) {
      const Pixel colour = 0x400000 + static_cast<Pixel>(i) * 0x000203;
      paint(all[i], colour);
      owner[colour] = all[i];
    }
    const std::vector<uint32_t> shown = fullComposition();
    const int width = screenSize().cx;
    size_t tested = 0, wrong = 0;
    for (int y = 20; y < 420; y += 3)
      for (int x = 20; x < 620; x += 3) {
        const auto it = owner.find(shown[static_cast<size_t>(y) * width + x] & 0xFFFFFF);
        ASSERT_NE(it, owner.end()) << x << "," << y;
        ++tested;
        if (WindowFromPoint(POINT{x, y}) != it->second) ++wrong;
      }
    EXPECT_EQ(wrong, 0u) << "of " << tested;
  };
  checkAll(0x404040);
  checkHits();
  // A hidden child moved (the screen is not told: nothing showed) and then shown; one brought
  // to the top; then visible ones moved and resized across the form, the z-order unchanged.
  SetWindowPos(kids[12], 0, 300, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(kids[12], SW_SHOWNA);
  SetWindowPos(kids[30], HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  checkAll(0x808080);
  checkHits();
  SetWindowPos(kids[3], 0, 10, 330, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(kids[9], 0, 400, 10, 150, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  checkAll(0x909090);
  checkHits();
  // One destroyed and a new one on top of the others.
  DestroyWindow(kids[20]);
  kids.erase(kids.begin() + 20);
  kids.push_back(child(form, Rect{50, 50, 400, 300}));
  SetWindowPos(kids.back(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  paint(kids.back(), 0x999999);
  checkAll(0xC0C0C0);
  checkHits();
  check(empty, 0x123456);
}

// Windows keep their pictures packed once composed (one filled whole shows a shared uniform
// picture instead). Composing reads them packed (a window moved
// away shows the one below as it was drawn), reading a window's DC unpacks it to the same pixels,
// and a drawing on a packed window lands on the picture it had.
TEST_F(Screen, PackedWindowPicturesComposeAndReadAsTheyWereDrawn) {
  HWND below = popup(Rect{40, 40, 160, 90});
  HWND above = popup(Rect{60, 50, 120, 80});
  paint(above, 0x0000FF);
  // A picture of gradient rows, a stretch of single pixels and repeated rows.
  const auto look = [](int x, int y) -> Pixel {
    if (y % 7 == 3 && x > 10 && x < 60) return makePixel(x * 5 % 256, y * 9 % 256, (x * y) % 256);
    return makePixel(40 + y / 2 * 6, 90, 200 - y / 2 * 3);
  };
  HDC dc = GetDC(below);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 120; ++x) SetPixelV(dc, x, y, pixelToOle(look(x, y)));
  composeScreen();
  Window* w = windowFromHandle(below);
  ASSERT_TRUE(w->surface->packed());
  ASSERT_TRUE(windowFromHandle(above)->surface->showsShared());  // filled whole: a shared picture

  ShowWindow(above, SW_HIDE);  // the whole screen again, below read from its packed picture
  auto s = composeScreen();
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 120; ++x) ASSERT_EQ(s->at(40 + x, 40 + y), look(x, y)) << x << "," << y;

  // Read through the DC into a bitmap: unpacked, the same pixels.
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bmp = CreateCompatibleBitmap(dc, 120, 50);
  HGDIOBJ old = SelectObject(mem, bmp);
  ASSERT_TRUE(BitBlt(mem, 0, 0, 120, 50, dc, 0, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(mem, 20, 10), pixelToOle(look(20, 10)));
  EXPECT_EQ(GetPixel(mem, 119, 49), pixelToOle(look(119, 49)));
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);

  composeScreen();  // the bitmap that shared the picture is gone: packed again
  ASSERT_TRUE(w->surface->packed());
  SetPixelV(dc, 5, 5, RGB(1, 2, 3));  // onto the packed picture
  s = composeScreen();
  EXPECT_EQ(s->at(45, 45), makePixel(1, 2, 3));
  EXPECT_EQ(s->at(46, 45), look(6, 5));
  EXPECT_EQ(s->at(40 + 30, 40 + 10), look(30, 10));

  // A packed window made larger keeps its picture where it was.
  composeScreen();
  ASSERT_TRUE(w->surface->packed());
  SetWindowPos(below, 0, 0, 0, 130, 60, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_EQ(w->surface->width(), 130);
  EXPECT_EQ(std::tuple(w->surface->at(30, 10), w->surface->at(119, 49), w->surface->at(5, 5)),
            std::tuple(look(30, 10), look(119, 49), makePixel(1, 2, 3)));
  ReleaseDC(below, dc);
}

}  // namespace
}  // namespace zxp::ui::testing
