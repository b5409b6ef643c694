// modPicEffects: picture effects over a device context: a bitmap blended over what is painted
// with a constant alpha, a bitmap painted in grey, an area turned grey in place, and a bitmap with
// one colour keyed out. Each reads pixels into bottom-up 32-bit buffers, computes the result and
// paints it with one StretchDIBits call. Every memory DC and DIB section a routine creates is
// released before it returns.
//
// Results are the lines painted (the result of StretchDIBits), 0 on failure; failures are
// silent: zero handles, negative sizes, an alpha outside 0..255, a bitmap that cannot be read.
#pragma once

#include <cstdint>

#include "platform/gfx/Gdi.h"

namespace zxp {

// Blends srcWidth x srcHeight pixels of `bitmap` over the DC's area at (x, y): per colour byte
// nearest((256 - alpha) * background / 255 + picture * alpha / 255), at most 255. The factor
// 256 - alpha makes alpha 0 brighten the background slightly. The blended buffer is painted to
// (x, y, width, height) from source (srcX, srcY, srcWidth, srcHeight).
int32_t AlphaBlendPicture(HDC dc, HBITMAP bitmap, int32_t x, int32_t y, int32_t width,
                          int32_t height, int32_t srcX, int32_t srcY, int32_t srcWidth,
                          int32_t srcHeight, int32_t alpha);

// Paints width x height pixels of `bitmap` at (x, y) in grey: nearest((b + g + r) / 3).
int32_t DrawPictureGrey(HDC dc, HBITMAP bitmap, int32_t x, int32_t y, int32_t width, int32_t height);

// Turns the DC's area (x, y, width, height) grey in place, reading it pixel by pixel (meant for
// small areas). `bitmap` must be non-zero and is otherwise not used.
int32_t GreyArea(HDC dc, HBITMAP bitmap, int32_t x, int32_t y, int32_t width, int32_t height);

// Paints `bitmap` (srcWidth x srcHeight) over the DC's area at (backX, backY) with every pixel
// equal to transparentColor left out, to (x, y, width, height). The key is compared with the raw
// 0x00RRGGBB pixel; callers use magenta 0xFF00FF, which reads the same in either byte order.
int32_t DrawPictureTransparent(HDC dc, HBITMAP bitmap, int32_t x, int32_t y, int32_t width,
                               int32_t height, int32_t backX, int32_t backY, int32_t srcWidth,
                               int32_t srcHeight, Pixel transparentColor);

}  // namespace zxp
