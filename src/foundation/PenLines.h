// Pen and brush helpers for the controls' drawing: one-pixel solid lines for borders, bevels and
// frames (each line runs from its first point to its second, the second excluded, as the
// platform draws them), outlines, arrow glyphs, filled and outlined boxes. Every pen and brush
// is selected for its own drawing only, then deselected and deleted; lines along rows and
// columns need no pen at all.
#pragma once

#include <algorithm>
#include <array>
#include <initializer_list>
#include <optional>
#include <utility>

#include "platform/gfx/ComputedPicture.h"
#include "platform/gfx/GdiRaii.h"

namespace zxp::foundation {

struct Segment {
  Point from, to;
};

// The pixels of a 1-pixel line from `from` to `to` that runs along a row or a column, as a
// rectangle: the first point included, the last excluded (empty when they coincide).
inline RECT lineRect(Point from, Point to) {
  // In 64 bits: a line ending at the edge of the 32-bit range covers up to that edge.
  auto span = [](int64_t a, int64_t b) {
    return b >= a ? std::pair{clampToInt32(a), clampToInt32(b)} : std::pair{clampToInt32(b + 1), clampToInt32(a + 1)};
  };
  if (from.y == to.y) {
    const auto [l, r] = span(from.x, to.x);
    return RECT{l, from.y, r, clampToInt32(int64_t{from.y} + 1)};
  }
  const auto [t, b] = span(from.y, to.y);
  return RECT{from.x, t, clampToInt32(int64_t{from.x} + 1), b};
}

inline void drawLines(HDC dc, COLORREF color, std::initializer_list<Segment> segments) {
  // Lines along rows and columns are rectangles of pixels: they are written straight to the
  // surface, without making, selecting and deleting a pen, wherever the DC copies pen pixels
  // as they are. The current position ends where the pen would have left it.
  constexpr size_t kDirect = 8;
  if (segments.size() > 0 && segments.size() <= kDirect &&
      std::all_of(segments.begin(), segments.end(),
                  [](const Segment& s) { return s.from.x == s.to.x || s.from.y == s.to.y; })) {
    std::array<SolidRect, kDirect> rects;
    size_t n = 0;
    for (const Segment& s : segments) rects[n++] = SolidRect{lineRect(s.from, s.to), color};
    if (FillSolidRects(dc, rects.data(), n)) {
      const Point end = (segments.end() - 1)->to;
      MoveToEx(dc, end.x, end.y, nullptr);
      return;
    }
  }
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

// Which way an arrow glyph points.
enum class ArrowDirection { Left, Right, Up, Down };

// A small filled triangle drawn row by row: `depth` rows from a 1-pixel tip to a base
// 2 * depth - 1 pixels across, pointing `direction`, centred in a width x height box at (0, 0).
inline void drawArrowGlyph(HDC dc, COLORREF color, int width, int height, ArrowDirection direction, int depth) {
  const bool horizontal = direction == ArrowDirection::Left || direction == ArrowDirection::Right;
  const bool towardsEnd = direction == ArrowDirection::Right || direction == ArrowDirection::Down;
  const int along0 = ((horizontal ? width : height) - depth) / 2;
  const int centre = ((horizontal ? height : width) - 1) / 2;
  GdiObject pen(CreatePen(PS_SOLID, 1, color));
  Selection selected(dc, pen.get());
  if (!selected.ok()) return;
  for (int i = 0; i < depth; ++i) {
    const int along = towardsEnd ? along0 + depth - 1 - i : along0 + i;
    const Point from = horizontal ? Point{along, centre - i} : Point{centre - i, along};
    const Point to = horizontal ? Point{along, centre + i + 1} : Point{centre + i + 1, along};
    MoveToEx(dc, from.x, from.y, nullptr);
    LineTo(dc, to.x, to.y);
  }
}

// Fills the rectangle r with a solid colour.
inline void fillSolid(HDC dc, COLORREF color, const RECT& r) {
  GdiObject brush(CreateSolidBrush(color));
  FillRect(dc, &r, static_cast<HBRUSH>(brush.get()));
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
