// Pictures of one colour made on the spot, and the screen point of a window's client point.
#pragma once

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/Surface.h"
#include "platform/host/Variant.h"
#include "platform/ui/User.h"

namespace zxp::testing {

// An opaque n x n icon of one colour (0x00RRGGBB), optionally with a transparent left half.
inline host::PictureRef solidIcon(uint32_t rgb, int n = 16, bool transparentLeft = false) {
  auto s = gfx::Surface::create(n, n);
  s->fill(0xFF000000u | rgb);
  if (transparentLeft) s->fillRect(Rect{0, 0, n / 2, n}, 0);
  return gfx::Picture::fromIcon(gfx::createIconFromArgb(*s));
}

// A w x h bitmap of one colour (0x00RRGGBB).
inline host::PictureRef solidBitmap(uint32_t rgb, int w, int h) {
  auto s = gfx::Surface::create(w, h);
  s->fill(rgb);
  return gfx::Picture::fromBitmap(gfx::CreateBitmapForSurface(s));
}

inline Point screenOf(HWND h, Point p) {
  POINT q{p.x, p.y};
  ClientToScreen(h, &q);
  return Point{q.x, q.y};
}

}  // namespace zxp::testing
