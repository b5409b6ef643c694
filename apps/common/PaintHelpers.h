// Small painting helpers the apps (gallery, designer) and their shared panels use.
#pragma once

#include "platform/gfx/Font.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/ui/User.h"
#include "platform/ui/WindowClass.h"

namespace zxp::appkit {

// A font by face name, size in points and weight.
inline gfx::FontDesc face(const char* name, double points, bool bold = false) {
  gfx::FontDesc d;
  d.name = name;
  d.size = points;
  d.setBold(bold);
  return d;
}

// Registers one of an app's window classes, once (a later call finds it registered).
inline void registerAppClass(const char* name, WNDPROC proc, int cursor = IDC_ARROW, UINT style = 0) {
  ui::registerClassOnce(name, proc, style, cursor);
}

// Paints a window's update area in one colour (inside WM_PAINT).
inline void paintFilled(HWND hwnd, COLORREF c) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client{};
  GetClientRect(hwnd, &client);
  GdiObject brush(CreateSolidBrush(c));
  FillRect(dc, &client, static_cast<HBRUSH>(brush.get()));
  EndPaint(hwnd, &ps);
}

// A one-pixel frame just inside r.
inline void frame(HDC dc, Rect r, COLORREF c) {
  GdiObject pen(CreatePen(PS_SOLID, 1, c));
  Selection sp(dc, pen.get());
  Selection sb(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

inline void fillColour(HDC dc, Rect r, COLORREF c) {
  GdiObject brush(CreateSolidBrush(c));
  RECT rc = r;
  FillRect(dc, &rc, static_cast<HBRUSH>(brush.get()));
}

// A two-colour gradient over r: from `a` at the top (or left) to `b` at the bottom (or right).
inline void gradient(HDC dc, Rect r, COLORREF a, COLORREF b, bool vertical) {
  auto vertex = [](int32_t x, int32_t y, COLORREF c) {
    return TRIVERTEX{x, y, static_cast<COLOR16>(GetRValue(c) << 8), static_cast<COLOR16>(GetGValue(c) << 8),
                     static_cast<COLOR16>(GetBValue(c) << 8), 0};
  };
  TRIVERTEX v[2] = {vertex(r.left, r.top, a), vertex(r.right, r.bottom, b)};
  GRADIENT_RECT gr{0, 1};
  GradientFill(dc, v, 2, &gr, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

}  // namespace zxp::appkit
