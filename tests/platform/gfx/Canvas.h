// A test canvas: a surface with its own DC, cleared to a background colour, and helpers to read
// back what a drawing call painted.
#pragma once

#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "platform/gfx/DeviceContext.h"

namespace zxp::testing {

struct Canvas {
  std::shared_ptr<gfx::Surface> surface;
  HDC dc = 0;
  COLORREF background;

  explicit Canvas(int w = 64, int h = 64, COLORREF bg = RGB(255, 255, 255)) : background(bg) {
    surface = gfx::Surface::create(w, h);
    dc = gfx::CreateSurfaceDC(surface);
    gfx::clearSurface(dc, bg);
  }
  ~Canvas() { DeleteDC(dc); }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  int width() const { return surface->width(); }
  int height() const { return surface->height(); }
  // The colour at (x, y) as a COLORREF.
  COLORREF at(int x, int y) const { return pixelToOle(surface->at(x, y) & 0xFFFFFF); }
  // The colours at several points, for comparing a handful of pixels at once.
  std::vector<COLORREF> at(std::initializer_list<std::pair<int, int>> points) const {
    std::vector<COLORREF> out;
    for (auto [x, y] : points) out.push_back(at(x, y));
    return out;
  }
  // The pixels of one colour (or, by default, all that differ from the background).
  std::set<std::pair<int, int>> pixels(COLORREF c) const { return collect([&](COLORREF p) { return p == c; }); }
  std::set<std::pair<int, int>> painted() const {
    return collect([&](COLORREF p) { return p != background; });
  }

 private:
  template <class Pred>
  std::set<std::pair<int, int>> collect(Pred&& pred) const {
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < height(); ++y)
      for (int x = 0; x < width(); ++x)
        if (pred(at(x, y))) out.emplace(x, y);
    return out;
  }
};

}  // namespace zxp::testing
