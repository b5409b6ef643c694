// One-pixel solid pen lines, as the controls draw their borders, bevels and frames: each line
// runs from its first point to its second, the second excluded (the platform's rule); the pen is
// selected for its lines only, then deselected and deleted.
#pragma once

#include <initializer_list>

#include "platform/gfx/GdiRaii.h"

namespace zxp::foundation {

struct Segment {
  Point from, to;
};

inline void drawLines(HDC dc, COLORREF color, std::initializer_list<Segment> segments) {
  GdiObject pen(CreatePen(PS_SOLID, 1, color));
  Selection selected(dc, pen.get());
  if (!selected.ok()) return;
  for (const Segment& s : segments) {
    MoveToEx(dc, s.from.x, s.from.y, nullptr);
    LineTo(dc, s.to.x, s.to.y);
  }
}

// The outline of the rectangle (left, top)-(right, bottom) as GDI's Rectangle draws it with a
// 1-pixel pen and no fill: the pixels of its edge, right and bottom excluded.
inline void drawOutline(HDC dc, COLORREF color, int left, int top, int right, int bottom) {
  if (right - left < 1 || bottom - top < 1) return;
  const int r = right - 1, b = bottom - 1;
  drawLines(dc, color, {{{left, top}, {r, top}}, {{r, top}, {r, b}}, {{r, b}, {left, b}}, {{left, b}, {left, top}}});
  SetPixelV(dc, left, top, color);  // a 1-pixel rectangle has no segment of its own
}

}  // namespace zxp::foundation
