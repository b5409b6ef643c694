// Menus and drag images.
//
//   BM_PopupMenu_OpenClose30   a 30-item pop-up menu tracked and closed (window creation, the
//                              owner's WM_INITMENUPOPUP, layout of 30 text items, painting,
//                              closing), beside creating a window of the menu's size, filling it
//                              and destroying it. ratio = baseline time / ours.
//   BM_DragImage_Step/w/h      one step of a drag image of w x h pixels: ImageList_DragMove and
//                              the screen composition that shows it, beside a BitBlt of the same
//                              area (ratio_blit) and beside composing the same screen without a
//                              drag image (ratio_compose: what the image itself adds).
//   BM_MenuBar_Paint           a form's 8-item menu bar drawn (layout measured in the menu font,
//                              the ground, each item's text with its mnemonic underline) beside
//                              a FillRect of the same strip on the same DC. ratio = baseline time / ours.
#include <benchmark/benchmark.h>

#include "BenchClock.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/SysColors.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Menu.h"
#include "platform/ui/ModalLoop.h"
#include "platform/ui/Screen.h"

namespace {

using namespace zxp;

HWND benchWindow(int w, int h) {
  WNDCLASSA wc;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hbrBackground = GetStockObject(WHITE_BRUSH);
  wc.lpszClassName = "ZxpBenchPlain";
  RegisterClassA(&wc);
  return CreateWindowExA(0, "ZxpBenchPlain", "", WS_POPUP | WS_VISIBLE, 10, 10, w, h, 0, 0, 0, nullptr);
}

void BM_PopupMenu_OpenClose30(benchmark::State& state) {
  ui::resetWindowSystem();
  HWND owner = benchWindow(400, 300);
  HMENU m = CreatePopupMenu();
  for (int i = 0; i < 30; ++i) {
    std::string text = "&Item number " + std::to_string(i + 1) + "\tCtrl+" + std::to_string(i % 10);
    AppendMenuA(m, MF_STRING | (i % 7 == 3 ? MF_GRAYED : 0) | (i % 5 == 0 ? MF_CHECKED : 0), 100 + i, text.c_str());
  }
  // The menu's size, for the baseline window.
  RECT r{};
  ui::setModalDriver([&] { GetWindowRect(ui::trackedMenuWindow(), &r); });
  TrackPopupMenu(m, TPM_RETURNCMD, 50, 20, 0, owner, nullptr);
  bench::alternate(
      state, 20,
      [&] {
        // Headless with no input the loop closes the menu as soon as it is shown and painted.
        benchmark::DoNotOptimize(TrackPopupMenu(m, TPM_RETURNCMD, 50, 20, 0, owner, nullptr));
      },
      [&] {
        HWND w = benchWindow(r.width(), r.height());
        HDC dc = GetDC(w);
        RECT c{0, 0, r.width(), r.height()};
        FillRect(dc, &c, static_cast<HBRUSH>(COLOR_MENU + 1));
        ReleaseDC(w, dc);
        DestroyWindow(w);
      });
  state.counters["menu_w"] = r.width();
  state.counters["menu_h"] = r.height();
  DestroyMenu(m);
  ui::resetWindowSystem();
}
BENCHMARK(BM_PopupMenu_OpenClose30)->Unit(benchmark::kMicrosecond);

void BM_DragImage_Step(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  ui::resetWindowSystem();
  HWND form = benchWindow(800, 600);
  HDC screen = GetDC(0);
  GdiObject bmp(CreateCompatibleBitmap(screen, w, h));
  HIMAGELIST list = ImageList_Create(w, h, ILC_COLOR32 | ILC_MASK, 1, 0);
  ImageList_Add(list, bmp.get(), 0);
  ImageList_BeginDrag(list, 0, 0, 0);
  ImageList_DragEnter(form, 0, 0);
  MemoryDC src(0), dst(0);
  GdiObject a(CreateCompatibleBitmap(screen, w, h)), b(CreateCompatibleBitmap(screen, 800, 600));
  ReleaseDC(0, screen);
  Selection sa(src.get(), a.get()), sb(dst.get(), b.get());
  int step = 0;
  auto move = [&] {
    step = (step + 7) % (800 - w);
    ImageList_DragMove(step, step % (600 - h));
    benchmark::DoNotOptimize(ui::composeScreen());
  };
  bench::alternate(state, 10, move, [&] { BitBlt(dst.get(), step, 0, w, h, src.get(), 0, 0, SRCCOPY); }, "ratio_blit");
  double withImage = 0, without = 0;
  for (int i = 0; i < 20; ++i) {
    const double t0 = bench::threadSeconds();
    move();
    const double t1 = bench::threadSeconds();
    ImageList_DragShowNolock(FALSE);
    benchmark::DoNotOptimize(ui::composeScreen());
    const double t2 = bench::threadSeconds();
    ImageList_DragShowNolock(TRUE);
    withImage += t1 - t0;
    without += t2 - t1;
  }
  state.counters["ratio_compose"] = withImage > 0 ? without / withImage : 0;
  ImageList_EndDrag();
  ImageList_Destroy(list);
  ui::resetWindowSystem();
}
void BM_MenuBar_Paint(benchmark::State& state) {
  ui::resetWindowSystem();
  WNDCLASSA wc;
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "ZxpBenchFramed";
  RegisterClassA(&wc);
  HWND form = CreateWindowExA(0, "ZxpBenchFramed", "Bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 640, 400, 0, 0,
                              0, nullptr);
  HMENU bar = CreateMenu();
  for (const char* t : {"&File", "&Edit", "&View", "&Insert", "F&ormat", "&Tools", "&Window", "&Help"})
    AppendMenuA(bar, MF_POPUP, CreatePopupMenu(), t);
  SetMenu(form, bar);
  const Rect strip = ui::menuBarRect(form);
  HDC screen = GetDC(0);
  MemoryDC mem(0);
  GdiObject bmp(CreateCompatibleBitmap(screen, 640, 400));
  ReleaseDC(0, screen);
  Selection sel(mem.get(), bmp.get());
  RECT r = strip;
  bench::alternate(
      state, 20, [&] { ui::paintMenuBar(form, mem.get(), Point{0, 0}); },
      [&] { FillRect(mem.get(), &r, static_cast<HBRUSH>(COLOR_MENUBAR + 1)); });
  state.counters["bar_w"] = strip.width();
  state.counters["bar_h"] = strip.height();
  ui::resetWindowSystem();
}
BENCHMARK(BM_MenuBar_Paint)->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_DragImage_Step)->Args({32, 32})->Args({300, 20})->Unit(benchmark::kMicrosecond);

}  // namespace
