// A window's surface showing pixels it shares (a kept look) instead of a copy of them: the
// picture is the same as after a copying blit; the first write takes a private copy and leaves
// the owner's pixels alone (or, once nobody else holds them, takes them over); reads taken
// before a write stay valid through it; and the DCs where sharing would show a different picture
// (memory DCs, other sizes, moved origins, clips other than the window's shape) refuse.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/gfx/ComputedPicture.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/GdiRaii.h"

namespace zxp::gfx {
namespace {

constexpr int kW = 6, kH = 4;

// kW x kH top-down pixels numbered from `base`.
std::shared_ptr<uint32_t[]> picture(uint32_t base) {
  std::shared_ptr<uint32_t[]> p(new uint32_t[kW * kH]);
  for (int i = 0; i < kW * kH; ++i) p[i] = base + static_cast<uint32_t>(i);
  return p;
}

std::vector<uint32_t> pixelsOf(const Surface& s) {
  std::vector<uint32_t> out;
  for (int y = 0; y < s.height(); ++y) out.insert(out.end(), s.row(y), s.row(y) + s.width());
  return out;
}

struct WindowDC {
  std::shared_ptr<Surface> surface = Surface::create(kW, kH);
  HDC dc = CreateSurfaceDC(surface);
  ~WindowDC() { DeleteDC(dc); }
};

TEST(SharedPixels, AreShownUntilTheFirstWriteWhichLeavesTheOwnersPixelsAlone) {
  WindowDC w;
  auto look = picture(0x100);
  ASSERT_TRUE(showSharedPixels(w.dc, look, kW, kH));
  EXPECT_TRUE(w.surface->showsShared());
  EXPECT_EQ(pixelsOf(*w.surface), std::vector<uint32_t>(look.get(), look.get() + kW * kH));
  EXPECT_EQ(GetPixel(w.dc, 2, 1), pixelToOle(0x100 + kW + 2));

  SetPixelV(w.dc, 2, 1, RGB(0, 0, 0xFF));  // a write: the surface takes its own copy first
  EXPECT_FALSE(w.surface->showsShared());
  EXPECT_EQ(w.surface->at(2, 1), 0x0000FFu);
  EXPECT_EQ(w.surface->at(3, 1), 0x100u + kW + 3);
  EXPECT_EQ(look[kW + 2], 0x100u + kW + 2);

  // Another look replaces the first without a copy, and a fill writes over it privately.
  auto other = picture(0x200);
  ASSERT_TRUE(showSharedPixels(w.dc, other, kW, kH));
  EXPECT_EQ(w.surface->at(0, 0), 0x200u);
  const RECT all{0, 0, kW, kH};
  GdiObject brush(CreateSolidBrush(RGB(9, 9, 9)));
  FillRect(w.dc, &all, static_cast<HBRUSH>(brush.get()));
  EXPECT_EQ(w.surface->at(5, 3), 0x090909u);
  EXPECT_EQ(other[0], 0x200u);

  // Pixels nobody else holds any more become the surface's own without a copy: a surface never
  // keeps two pictures.
  auto last = picture(0x300);
  const uint32_t* where = last.get();
  ASSERT_TRUE(showSharedPixels(w.dc, last, kW, kH));
  last.reset();
  SetPixelV(w.dc, 0, 0, RGB(1, 2, 3));
  EXPECT_EQ(std::as_const(*w.surface).bits(), where);
  EXPECT_EQ(std::tuple(w.surface->at(0, 0), w.surface->at(1, 0)), std::tuple(0x010203u, 0x301u));
}

// The surface may hold the last reference to the pixels it shows: a blit from the surface onto
// itself reads them while its first write ends the sharing.
TEST(SharedPixels, AnOverlappingBlitOntoItselfReadsTheSharedPixelsSafely) {
  WindowDC w;
  ASSERT_TRUE(showSharedPixels(w.dc, picture(0x300), kW, kH));
  BitBlt(w.dc, 1, 0, kW - 1, kH, w.dc, 0, 0, SRCCOPY);
  for (int y = 0; y < kH; ++y) {
    EXPECT_EQ(w.surface->at(0, y), 0x300u + y * kW);
    for (int x = 1; x < kW; ++x) ASSERT_EQ(w.surface->at(x, y), 0x300u + y * kW + x - 1) << x << "," << y;
  }
}

TEST(SharedPixels, AreRefusedWhereTheyWouldShowAnotherPicture) {
  auto look = picture(0x400);
  {
    WindowDC w;
    EXPECT_FALSE(showSharedPixels(w.dc, look, kW, kH - 1));  // another size
    SetViewportOrgEx(w.dc, 1, 0, nullptr);
    EXPECT_FALSE(showSharedPixels(w.dc, look, kW, kH));  // a moved origin
    SetViewportOrgEx(w.dc, 0, 0, nullptr);
    IntersectClipRect(w.dc, 0, 0, 2, 2);
    EXPECT_FALSE(showSharedPixels(w.dc, look, kW, kH));  // an application clip
    SelectClipRgn(w.dc, 0);
    auto* dc = dcFromHandle(w.dc);
    dc->setSystemClip(Region(Rect{0, 0, 3, 3}));  // a paint's update region
    EXPECT_FALSE(showSharedPixels(w.dc, look, kW, kH));
    dc->setSystemClip(Region(Rect{0, 1, kW, kH}), true);  // the window's shape: shown
    EXPECT_TRUE(showSharedPixels(w.dc, look, kW, kH));
    EXPECT_FALSE(showSharedPixels(w.dc, nullptr, kW, kH));
  }
  auto bottomUp = Surface::create(kW, kH, true);
  HDC dc = CreateSurfaceDC(bottomUp);
  EXPECT_FALSE(showSharedPixels(dc, look, kW, kH));
  DeleteDC(dc);
  MemoryDC memory(0);
  GdiObject bitmap(CreateCompatibleBitmap(0, kW, kH));
  Selection selected(memory.get(), bitmap.get());
  EXPECT_FALSE(showSharedPixels(memory.get(), look, kW, kH));
  EXPECT_FALSE(showSharedPixels(0, look, kW, kH));
}

// A control clearing its whole window picture: every surface of that size cleared to that colour
// shows one kept uniform picture (a window cleared and never drawn holds no pixels of its own);
// the first write copies it. A clear through a clip, of part of the picture, of a bottom-up
// surface or on a memory DC writes its own pixels as before.
TEST(SharedPixels, AWholeWindowClearSharesOneUniformPictureUntilTheFirstWrite) {
  const SolidRect all{RECT{0, 0, kW, kH}, RGB(1, 2, 3)};
  const std::vector<uint32_t> uniform(kW * kH, 0x010203u);
  WindowDC a, b;
  ASSERT_TRUE(FillSolidRects(a.dc, &all, 1));
  ASSERT_TRUE(FillSolidRects(b.dc, &all, 1));
  EXPECT_TRUE(a.surface->showsShared());
  EXPECT_EQ(std::as_const(*a.surface).bits(), std::as_const(*b.surface).bits());
  EXPECT_EQ(pixelsOf(*a.surface), uniform);
  SetPixelV(a.dc, 1, 1, RGB(0, 0, 0xFF));
  EXPECT_FALSE(a.surface->showsShared());
  EXPECT_EQ(a.surface->at(1, 1), 0x0000FFu);
  EXPECT_EQ(pixelsOf(*b.surface), uniform);
  // The only surface showing a uniform picture still copies it on a write: the next clear to that
  // colour must find it uniform.
  {
    WindowDC lone;
    const SolidRect other{RECT{0, 0, kW, kH}, RGB(7, 8, 9)};
    ASSERT_TRUE(FillSolidRects(lone.dc, &other, 1));
    SetPixelV(lone.dc, 0, 0, RGB(0, 0, 0xFF));
    WindowDC next;
    ASSERT_TRUE(FillSolidRects(next.dc, &other, 1));
    EXPECT_EQ(pixelsOf(*next.surface), std::vector<uint32_t>(kW * kH, 0x070809u));
  }
  // A rectangle larger than the picture still covers just the picture.
  const SolidRect beyond{RECT{-5, -5, kW + 5, kH + 5}, RGB(1, 2, 3)};
  ASSERT_TRUE(FillSolidRects(a.dc, &beyond, 1));
  EXPECT_EQ(std::as_const(*a.surface).bits(), std::as_const(*b.surface).bits());

  WindowDC c;
  IntersectClipRect(c.dc, 0, 0, kW, kH - 1);
  ASSERT_TRUE(FillSolidRects(c.dc, &all, 1));
  EXPECT_FALSE(c.surface->showsShared());
  EXPECT_EQ(c.surface->at(0, kH - 1), 0u);
  SelectClipRgn(c.dc, 0);
  const SolidRect part{RECT{0, 0, kW, kH - 1}, RGB(1, 2, 3)};
  ASSERT_TRUE(FillSolidRects(c.dc, &part, 1));
  EXPECT_FALSE(c.surface->showsShared());

  auto bottomUp = Surface::create(kW, kH, true);
  HDC dc = CreateSurfaceDC(bottomUp);
  ASSERT_TRUE(FillSolidRects(dc, &all, 1));
  EXPECT_FALSE(bottomUp->showsShared());
  EXPECT_EQ(bottomUp->at(kW - 1, kH - 1), 0x010203u);
  DeleteDC(dc);
  // A memory DC's bitmap may have its bits handed out: it is written, never shared.
  BITMAPINFO info{};
  info.bmiHeader.biWidth = kW;
  info.bmiHeader.biHeight = -kH;
  void* bits = nullptr;
  GdiObject dib(CreateDIBSection(0, &info, DIB_RGB_COLORS, &bits, 0, 0));
  MemoryDC memory(0);
  Selection selected(memory.get(), dib.get());
  ASSERT_TRUE(FillSolidRects(memory.get(), &all, 1));
  EXPECT_EQ(static_cast<const uint32_t*>(bits)[kW * kH - 1], 0x010203u);
}

// A whole window picture copied into a compatible bitmap of its size (a kept copy of a look)
// shares the pixels; a write on either side copies first and leaves the other alone. A part of
// the picture or a DIB section (whose bits the caller holds) is copied as before.
// FillRect with a solid brush over the whole of a window's picture (a form clearing its
// background) shares the uniform picture too; over a surface that is not a window's picture, through
// a clip, over part of it or in another ROP2 mode it writes the surface's own pixels.
TEST(SharedPixels, AWindowFilledWholeWithABrushSharesTheUniformPicture) {
  GdiObject brush(CreateSolidBrush(RGB(1, 2, 3)));
  const auto fill = [&](HDC dc, RECT r) { return FillRect(dc, &r, static_cast<HBRUSH>(brush.get())); };
  const std::vector<uint32_t> uniform(kW * kH, 0x010203u);
  WindowDC a, b, plain;
  a.surface->setPackable();
  b.surface->setPackable();
  ASSERT_TRUE(fill(a.dc, RECT{-3, -3, kW + 3, kH + 3}));
  ASSERT_TRUE(fill(b.dc, RECT{0, 0, kW, kH}));
  EXPECT_TRUE(a.surface->showsShared());
  EXPECT_EQ(std::as_const(*a.surface).bits(), std::as_const(*b.surface).bits());
  EXPECT_EQ(pixelsOf(*a.surface), uniform);
  SetPixelV(a.dc, 1, 1, RGB(0, 0, 0xFF));  // the first write takes a copy
  EXPECT_EQ(a.surface->at(1, 1), 0x0000FFu);
  EXPECT_EQ(pixelsOf(*b.surface), uniform);

  ASSERT_TRUE(fill(plain.dc, RECT{0, 0, kW, kH}));  // not a window's picture
  EXPECT_FALSE(plain.surface->showsShared());
  EXPECT_EQ(pixelsOf(*plain.surface), uniform);

  WindowDC c;
  c.surface->setPackable();
  IntersectClipRect(c.dc, 1, 0, kW, kH);
  ASSERT_TRUE(fill(c.dc, RECT{0, 0, kW, kH}));
  EXPECT_FALSE(c.surface->showsShared());
  EXPECT_EQ(c.surface->at(0, 0), 0u);
  SelectClipRgn(c.dc, 0);
  ASSERT_TRUE(fill(c.dc, RECT{0, 0, kW - 1, kH}));
  EXPECT_FALSE(c.surface->showsShared());
  ASSERT_TRUE(InvertRect(c.dc, std::data({RECT{0, 0, kW, kH}})));
  EXPECT_FALSE(c.surface->showsShared());
  EXPECT_EQ(pixelsOf(*c.surface), std::vector<uint32_t>(kW * kH, 0xFEFDFCu));
}

// A new window picture shows the kept uniform picture of its colour, whatever its size, and
// takes pixels of its own on its first write. A kept picture outlives the windows that showed it,
// for the next window of that colour.
TEST(SharedPixels, NewWindowPicturesShowOneUniformPictureAColourWhateverTheirSize) {
  auto small = Surface::createUniform(3, 2, 0x00446688u), large = Surface::createUniform(40, 30, 0x00446688u);
  auto black = Surface::createUniform(5, 5, 0);
  ASSERT_TRUE(small && large && black);
  EXPECT_TRUE(small->showsShared() && large->showsShared() && black->showsShared());
  EXPECT_EQ(pixelsOf(*large), std::vector<uint32_t>(40 * 30, 0x00446688u));
  EXPECT_EQ(pixelsOf(*small), std::vector<uint32_t>(3 * 2, 0x00446688u));
  EXPECT_EQ(pixelsOf(*black), std::vector<uint32_t>(5 * 5, 0u));
  // The larger one made a larger picture; a second window of that size shares it.
  auto again = Surface::createUniform(40, 30, 0x00446688u);
  EXPECT_EQ(std::as_const(*again).bits(), std::as_const(*large).bits());
  large->at(39, 29) = 0x00FFFFFFu;  // a write copies: the others still read the uniform picture
  EXPECT_FALSE(large->showsShared());
  EXPECT_EQ(std::as_const(*again).at(39, 29), 0x00446688u);
  const uint32_t* kept = std::as_const(*again).bits();
  small.reset();
  again.reset();
  auto later = Surface::createUniform(20, 20, 0x00446688u);
  EXPECT_EQ(std::as_const(*later).bits(), kept);
  // Out of range: no surface, as create().
  EXPECT_EQ(Surface::createUniform(0, 5, 0), nullptr);
  // What composition fills instead of reading: known while nothing has written the picture.
  EXPECT_EQ(later->uniformValue(), std::optional<uint32_t>(0x00446688u));
  EXPECT_EQ(large->uniformValue(), std::nullopt);  // written
  auto twin = Surface::create(20, 20);
  ASSERT_TRUE(twin->sharePixelsOf(*later));
  EXPECT_EQ(twin->uniformValue(), std::optional<uint32_t>(0x00446688u));
  ASSERT_TRUE(twin->show(std::shared_ptr<uint32_t[]>(new uint32_t[20 * 20]())));  // not uniform any more
  EXPECT_EQ(twin->uniformValue(), std::nullopt);
  ASSERT_TRUE(later->sharePixelsOf(*twin));  // a uniform one takes another's picture
  EXPECT_EQ(later->uniformValue(), std::nullopt);
  // A bitmap that took a uniform picture and was drawn on since is no uniform picture when a
  // window takes its pixels (the tab control's copy of its look comes back this way).
  auto window = Surface::createUniform(8, 8, 0x00ECE9D8u), bitmap = Surface::create(8, 8);
  ASSERT_TRUE(bitmap->sharePixelsOf(*window));
  bitmap->at(3, 3) = 0x00010203u;
  ASSERT_TRUE(window->sharePixelsOf(*bitmap));
  EXPECT_EQ(window->uniformValue(), std::nullopt);
  EXPECT_EQ(bitmap->uniformValue(), std::nullopt);
  EXPECT_EQ(std::as_const(*window).at(3, 3), 0x00010203u);
}

TEST(SharedPixels, AWholePictureBlitIntoACompatibleBitmapSharesUntilEitherSideWrites) {
  WindowDC w;
  auto look = picture(0x500);
  ASSERT_TRUE(showSharedPixels(w.dc, look, kW, kH));
  SetPixelV(w.dc, 0, 0, RGB(0, 0, 1));  // the window's own pixels now
  const std::vector<uint32_t> before = pixelsOf(*w.surface);
  MemoryDC memory(w.dc);
  GdiObject bitmap(CreateCompatibleBitmap(w.dc, kW, kH));
  {
    Selection selected(memory.get(), bitmap.get());
    ASSERT_TRUE(BitBlt(memory.get(), 0, 0, kW, kH, w.dc, 0, 0, SRCCOPY));
    const Surface& kept = *bitmapFromHandle(static_cast<HBITMAP>(bitmap.get()))->surface;
    EXPECT_TRUE(kept.showsShared());
    EXPECT_EQ(kept.bits(), std::as_const(*w.surface).bits());
    SetPixelV(w.dc, 1, 1, RGB(0, 0, 2));
    EXPECT_EQ(pixelsOf(kept), before);
    EXPECT_EQ(GetPixel(w.dc, 1, 1), RGB(0, 0, 2));
    // Shared again, and this time the bitmap is written first.
    ASSERT_TRUE(BitBlt(memory.get(), 0, 0, kW, kH, w.dc, 0, 0, SRCCOPY));
    SetPixelV(memory.get(), 2, 2, RGB(0, 0, 3));
    EXPECT_EQ(GetPixel(w.dc, 2, 2), pixelToOle(0x500 + 2 * kW + 2));
    EXPECT_EQ(GetPixel(memory.get(), 2, 2), RGB(0, 0, 3));
  }
  {
    GdiObject other(CreateCompatibleBitmap(w.dc, kW, kH));
    Selection selected(memory.get(), other.get());
    ASSERT_TRUE(BitBlt(memory.get(), 0, 0, kW - 1, kH, w.dc, 0, 0, SRCCOPY));  // a part: copied
    EXPECT_FALSE(bitmapFromHandle(static_cast<HBITMAP>(other.get()))->surface->showsShared());
    EXPECT_EQ(GetPixel(memory.get(), 1, 1), RGB(0, 0, 2));
  }
  BITMAPINFO info{};
  info.bmiHeader.biWidth = kW;
  info.bmiHeader.biHeight = -kH;
  void* bits = nullptr;
  GdiObject dib(CreateDIBSection(0, &info, DIB_RGB_COLORS, &bits, 0, 0));
  Selection selected(memory.get(), dib.get());
  ASSERT_TRUE(BitBlt(memory.get(), 0, 0, kW, kH, w.dc, 0, 0, SRCCOPY));  // into the caller's bits
  EXPECT_EQ(static_cast<const uint32_t*>(bits)[kW + 1], 0x000002u);
}

}  // namespace
}  // namespace zxp::gfx
