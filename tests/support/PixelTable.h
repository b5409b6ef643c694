// Pixel checks written as a table: each row a point and the colour expected there.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "platform/gfx/Gdi.h"

namespace zxp::testing {

// A point of a device context and its expected colour (0x00BBGGRR).
struct PixelAt {
  int x, y;
  COLORREF color;
};

// Expects each row's colour at its point, naming the point of any that differs.
inline void expectPixels(HDC dc, std::initializer_list<PixelAt> rows) {
  for (const PixelAt& r : rows) EXPECT_EQ(GetPixel(dc, r.x, r.y), r.color) << "at " << r.x << "," << r.y;
}

}  // namespace zxp::testing
