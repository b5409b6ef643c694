// Pen outlines for the controls' drawing. One-pixel solid pen lines, as the controls draw their borders, bevels and frames: each line
// runs from its first point to its second, the second excluded (the platform's rule); the pen is
// selected for its lines only, then deselected and deleted.
#pragma once

#include <initializer_list>
#include <optional>

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

// A rectangle (ellipse 0 x 0) or round rectangle (corner ellipse ew x eh), as the platform's
// Rectangle and RoundRect draw them: outlined with a solid pen of penWidth pixels in `pen` and
// filled with `fill`, or left hollow (what was there shows through) without a fill.
inline void drawBox(HDC dc, COLORREF pen, int penWidth, std::optional<COLORREF> fill, RECT r, int ew = 0, int eh = 0) {
  GdiObject penObject(CreatePen(PS_SOLID, penWidth, pen));
  GdiObject brushObject(fill ? CreateSolidBrush(*fill) : 0);
  Selection selectedPen(dc, penObject.get());
  Selection selectedBrush(dc, fill ? brushObject.get() : GetStockObject(NULL_BRUSH));
  if (!selectedPen.ok() || !selectedBrush.ok()) return;
  if (ew == 0 && eh == 0)
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
  else
    RoundRect(dc, r.left, r.top, r.right, r.bottom, ew, eh);
}

}  // namespace zxp::foundation
