// The blit API: BitBlt, StretchBlt, PatBlt, StretchDIBits, SetDIBitsToDevice, AlphaBlend,
// TransparentBlt and GradientFill. Arguments are logical coordinates of the DCs; the engine in
// BlitEngine.h does the clipped, stretched and mirrored pixel work in device coordinates.
#include <algorithm>
#include <cstring>

#include "platform/gfx/BlitEngine.h"
#include "platform/gfx/Drawing.h"

namespace zxp {

using namespace zxp::gfx;

namespace {

BlitArea deviceArea(const DeviceContext& dc, int x, int y, int64_t w, int64_t h) {
  Point o = dc.state().viewportOrg;
  return BlitArea{int64_t{x} + o.x, int64_t{y} + o.y, w, h};
}

// Bottom-up DIBs count the source rectangle's y from the bottom row, so that the area
// (x, ySrc, w, h) is the picture's rows ySrc ... ySrc + h - 1 counted upward. Returns the
// same area in top-down row coordinates (same mirroring).
int64_t topDownOrigin(int64_t ySrc, int64_t h, int32_t dibHeight) {
  // A positive extent covers bottom rows [ySrc, ySrc + h): top rows [H - ySrc - h, H - ySrc).
  // A negative one covers bottom rows [ySrc + h + 1, ySrc + 1): top rows
  // [H - ySrc - 1, H - ySrc - h - 1), whose origin for a negative extent is H - ySrc - h - 2.
  return h > 0 ? dibHeight - ySrc - h : dibHeight - ySrc - h - 2;
}

// A copy of a whole picture into a compatible bitmap of its size (a control keeping a copy of
// its look to restore parts of it later): the bitmap shares the source's pixels, and whichever
// side is written first copies them then. Not for a DIB section, whose bits the application
// may hold, nor through a clip or onto another surface's part.
bool shareWholePicture(DeviceContext& d, const BlitArea& da, const DeviceContext& s, const BlitArea& sa) {
  const BitmapObj* b = d.state().bitmapObj.get();
  Surface* to = d.surface();
  Surface* from = s.surface();
  if (!d.isMemory() || !b || b->dib || !to || !from) return false;
  const int64_t w = to->width(), h = to->height();
  const auto whole = [&](const BlitArea& a) { return a.x == 0 && a.y == 0 && a.w == w && a.h == h; };
  if (!whole(da) || !whole(sa) || s.surfaceOrigin() != Point{0, 0} || d.surfaceOrigin() != Point{0, 0}) return false;
  const auto boxes = d.clip().rects();
  if (boxes.size() != 1 || !(Rect{boxes[0].x1, boxes[0].y1, boxes[0].x2, boxes[0].y2} == to->bounds())) return false;
  return to->sharePixelsOf(*from);
}

}  // namespace

BOOL StretchBlt(HDC hdest, int x, int y, int w, int h, HDC hsrc, int xSrc, int ySrc, int wSrc, int hSrc,
                DWORD rop) {
  DeviceContext* d = dcFromHandle(hdest);
  if (!d) return FALSE;
  const uint8_t idx = rop3Index(rop);
  const Brush brush = selectedBrush(*d);  // the pattern; the null brush paints nothing
  DeviceContext* s = nullptr;
  if (rop3UsesSource(idx)) {
    s = dcFromHandle(hsrc);
    if (!s || !s->surface()) return FALSE;
    if ((wSrc == 0 || hSrc == 0) && w != 0 && h != 0) return FALSE;
  }
  if (rop3UsesPattern(idx) && !brush.visible) return TRUE;
  BlitArea da = deviceArea(*d, x, y, w, h);
  if (w == 0 || h == 0) return TRUE;
  if (!s) {
    ropFill(*d, areaRect(da), rop, brush.color);
    return TRUE;
  }
  const BlitArea sa = deviceArea(*s, xSrc, ySrc, wSrc, hSrc);
  if (rop == SRCCOPY && shareWholePicture(*d, da, *s, sa)) return TRUE;
  ropBlit(*d, da, PixelView::of(*s->surface()), sa, rop, brush.color);
  return TRUE;
}

BOOL BitBlt(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, DWORD rop) {
  return StretchBlt(dest, x, y, w, h, src, xSrc, ySrc, w, h, rop);
}

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
  DeviceContext* dc = dcFromHandle(hdc);
  const uint8_t idx = rop3Index(rop);
  if (!dc || rop3UsesSource(idx)) return FALSE;
  const Brush brush = selectedBrush(*dc);
  if (!brush.visible && rop3UsesPattern(idx)) return TRUE;
  if (w != 0 && h != 0) ropFill(*dc, areaRect(deviceArea(*dc, x, y, w, h)), rop, brush.color);
  return TRUE;
}

int StretchDIBits(HDC hdc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                  int srcWidth, int srcHeight, const void* bits, const BITMAPINFO* bmi, UINT usage,
                  DWORD rop) {
  DeviceContext* dc = dcFromHandle(hdc);
  auto fmt = dibFormat(bmi, usage);
  if (!dc || !bits || !fmt) return 0;
  if (destWidth == 0 || destHeight == 0 || srcWidth == 0 || srcHeight == 0) return 0;
  const Brush brush = selectedBrush(*dc);
  if (rop3UsesPattern(rop3Index(rop)) && !brush.visible) return srcHeight;
  BlitArea src{xSrc, ySrc, srcWidth, srcHeight};
  if (fmt->bottomUp) src.y = topDownOrigin(ySrc, srcHeight, fmt->height);
  ropBlit(*dc, deviceArea(*dc, xDest, yDest, destWidth, destHeight),
          PixelView::ofBuffer(bits, fmt->width, fmt->height, fmt->bottomUp), src, rop, brush.color);
  // The platform reports the source rectangle's height as the number of lines copied, whether or
  // not the clip let them through.
  return srcHeight;
}

int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* bmi, UINT usage) {
  DeviceContext* dc = dcFromHandle(hdc);
  auto fmt = dibFormat(bmi, usage);
  if (!dc || !bits || !fmt) return 0;
  // The buffer holds `lines` scan lines from startScan on (counted from the bottom for a bottom-up
  // DIB, from the top for a top-down one): a band of the whole picture.
  if (int64_t{startScan} >= fmt->height) return 0;
  const int32_t n = static_cast<int32_t>(std::min<int64_t>(lines, int64_t{fmt->height} - startScan));
  if (n == 0) return 0;
  if (w == 0 || h == 0) return n;
  const int64_t ext = std::min<int64_t>(w, INT32_MAX), exty = std::min<int64_t>(h, INT32_MAX);
  const int64_t bandTop = fmt->bottomUp ? int64_t{fmt->height} - startScan - n : int64_t{startScan};
  const int64_t srcTop = fmt->bottomUp ? topDownOrigin(ySrc, exty, fmt->height) : int64_t{ySrc};
  ropBlit(*dc, deviceArea(*dc, xDest, yDest, ext, exty), PixelView::ofBuffer(bits, fmt->width, n, fmt->bottomUp),
          BlitArea{xSrc, srcTop - bandTop, ext, exty}, SRCCOPY, 0);
  return n;
}

BOOL AlphaBlend(HDC hdest, int x, int y, int w, int h, HDC hsrc, int xSrc, int ySrc, int wSrc, int hSrc,
                BLENDFUNCTION blend) {
  DeviceContext* d = dcFromHandle(hdest);
  DeviceContext* s = dcFromHandle(hsrc);
  if (!d || !s || !s->surface()) return FALSE;
  if (blend.BlendOp != AC_SRC_OVER || blend.BlendFlags != 0 || (blend.AlphaFormat & ~AC_SRC_ALPHA)) return FALSE;
  // No mirroring and no empty areas; the source area must lie inside the source surface.
  if (w <= 0 || h <= 0 || wSrc <= 0 || hSrc <= 0) return FALSE;
  BlitArea sa = deviceArea(*s, xSrc, ySrc, wSrc, hSrc);
  Rect srcRect = areaRect(sa);
  if (srcRect.intersect(s->surface()->bounds()) != srcRect) return FALSE;
  BlitArea da = deviceArea(*d, x, y, w, h);
  // Source and destination may not overlap on one surface.
  if (s->surface() == d->surface() && !areaRect(da).intersect(srcRect).empty()) return FALSE;

  BlitPlan plan(*d, da, sa, s->surface()->width(), s->surface()->height());
  const uint32_t sca = blend.SourceConstantAlpha;
  const PixelView src = PixelView::of(*s->surface());
  if (!(blend.AlphaFormat & AC_SRC_ALPHA)) {
    if (sca == 0) return TRUE;  // leaves the destination as it is
    // dst = (src * a + dst * (255 - a)) / 255 on each of the four bytes, rounded to nearest.
    // With t = that sum + 128, (t + (t >> 8)) >> 8 is the rounded quotient for every sum that
    // can occur; all of it fits 16 bits, so the byte loop vectorises.
    blitRuns(*d, plan, src, [sca](uint32_t* dp, const uint32_t* sp, int32_t n) {
      const uint16_t a = static_cast<uint16_t>(sca), inv = static_cast<uint16_t>(255 - sca);
      auto* d8 = reinterpret_cast<uint8_t*>(dp);
      const auto* s8 = reinterpret_cast<const uint8_t*>(sp);
      for (int32_t i = 0; i < n * 4; ++i) {
        uint16_t t = static_cast<uint16_t>(s8[i] * a + d8[i] * inv + 128);
        d8[i] = static_cast<uint8_t>((t + (t >> 8)) >> 8);
      }
    });
    return TRUE;
  }
  // Per-pixel alpha: the source is premultiplied; with the constant alpha c applied first,
  // src' = src * c / 255 (alpha too), dst = src' + dst * (255 - alpha') / 255, each byte at most 255.
  blitRuns(*d, plan, src, [sca](uint32_t* dp, const uint32_t* sp, int32_t n) {
    auto div255 = [](uint32_t v) { return (v + 127) / 255; };
    for (int32_t i = 0; i < n; ++i) {
      uint32_t sv = sp[i], dv = dp[i];
      uint32_t a = sv >> 24;
      if (sca != 255) a = div255(a * sca);
      uint32_t inv = 255 - a;
      uint32_t out = 0;
      for (int shift = 0; shift < 32; shift += 8) {
        uint32_t sc = (sv >> shift) & 0xFF;
        if (shift == 24) sc = a;
        else if (sca != 255) sc = div255(sc * sca);
        uint32_t v = sc + div255(((dv >> shift) & 0xFF) * inv);
        out |= std::min<uint32_t>(v, 255) << shift;
      }
      dp[i] = out;
    }
  });
  return TRUE;
}

BOOL TransparentBlt(HDC hdest, int x, int y, int w, int h, HDC hsrc, int xSrc, int ySrc, int wSrc, int hSrc,
                    UINT transparentColor) {
  DeviceContext* d = dcFromHandle(hdest);
  DeviceContext* s = dcFromHandle(hsrc);
  if (!d || !s || !s->surface()) return FALSE;
  if (w <= 0 || h <= 0 || wSrc <= 0 || hSrc <= 0) return FALSE;
  BlitPlan plan(*d, deviceArea(*d, x, y, w, h), deviceArea(*s, xSrc, ySrc, wSrc, hSrc), s->surface()->width(),
                s->surface()->height());
  // Source pixels of the key colour (compared on red, green and blue) leave the destination as is.
  const uint32_t key = oleToPixel(transparentColor);
  blitRuns(*d, plan, PixelView::of(*s->surface()), [key](uint32_t* dp, const uint32_t* sp, int32_t n) {
    for (int32_t i = 0; i < n; ++i)
      if ((sp[i] ^ key) & 0x00FFFFFF) dp[i] = sp[i];
  });
  return TRUE;
}

namespace {

// The colour at position pos of len between two vertices, as a 32-bit pixel with alpha:
// each 16-bit channel is interpolated linearly and its high byte taken.
struct GradientEnds {
  const TRIVERTEX* a;
  const TRIVERTEX* b;
  Pixel at(int64_t pos, int64_t len) const {
    auto ch = [&](COLOR16 ca, COLOR16 cb) {
      return static_cast<uint32_t>((int64_t{ca} * (len - pos) + int64_t{cb} * pos) / len) >> 8;
    };
    return ch(a->Alpha, b->Alpha) << 24 | ch(a->Red, b->Red) << 16 | ch(a->Green, b->Green) << 8 |
           ch(a->Blue, b->Blue);
  }
};

}  // namespace

BOOL GradientFill(HDC hdc, const TRIVERTEX* vertices, uint32_t nVertices, const void* mesh, uint32_t nMesh,
                  DWORD mode) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc || !vertices || !mesh) return FALSE;
  if (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V) return FALSE;
  const auto* rects = static_cast<const GRADIENT_RECT*>(mesh);
  for (uint32_t i = 0; i < nMesh; ++i)
    if (rects[i].UpperLeft >= nVertices || rects[i].LowerRight >= nVertices) return FALSE;
  Surface* surface = dc->surface();
  if (!surface) return TRUE;
  const Point o = dc->state().viewportOrg;
  const bool horizontal = mode == GRADIENT_FILL_RECT_H;

  for (uint32_t i = 0; i < nMesh; ++i) {
    const TRIVERTEX* a = &vertices[rects[i].UpperLeft];
    const TRIVERTEX* b = &vertices[rects[i].LowerRight];
    // The colours follow the vertices: the one further left (or up) starts the ramp.
    if (horizontal ? a->x > b->x : a->y > b->y) std::swap(a, b);
    const int64_t x0 = int64_t{std::min(a->x, b->x)} + o.x, x1 = int64_t{std::max(a->x, b->x)} + o.x;
    const int64_t y0 = int64_t{std::min(a->y, b->y)} + o.y, y1 = int64_t{std::max(a->y, b->y)} + o.y;
    const Rect area = areaRect(BlitArea{x0, y0, x1 - x0, y1 - y0});
    const Rect vis = area.intersect(dc->clip().box());
    if (vis.empty()) continue;
    const GradientEnds ends{a, b};
    if (horizontal) {
      // One row of colours for the visible columns, copied onto every visible row.
      std::vector<uint32_t>& ramp = detail::scratchRow(static_cast<size_t>(vis.width()));
      for (int32_t x = vis.left; x < vis.right; ++x)
        ramp[static_cast<size_t>(x - vis.left)] = ends.at(x - x0, x1 - x0);
      for (const auto& box : dc->clip().rects()) {
        Rect c = vis.intersect(Rect{box.x1, box.y1, box.x2, box.y2});
        for (int32_t y = c.top; y < c.bottom; ++y)
          std::memcpy(surface->row(y) + c.left, ramp.data() + (c.left - vis.left),
                      static_cast<size_t>(c.width()) * 4);
      }
    } else {
      for (int32_t y = vis.top; y < vis.bottom; ++y)
        fillRuns(*dc, Rect{vis.left, y, vis.right, y + 1},
                 [p = ends.at(y - y0, y1 - y0)](uint32_t* d, int32_t n) { std::fill(d, d + n, p); });
    }
  }
  return TRUE;
}

}  // namespace zxp
