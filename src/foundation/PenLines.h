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

}  // namespace zxp::foundation
