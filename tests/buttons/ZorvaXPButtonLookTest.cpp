// The push button's pixels: window shape, border and inner corners, hover frame, embossed and
// flat presses, disabled look, flat bevel, the gradient faces, and the caption and icon layout.

#include "buttons/ButtonFixture.h"
#include "foundation/modGradient.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/TestCanvas.h"
#include "platform/gfx/Text.h"
#include "platform/ui/Screen.h"
#include "support/Pictures.h"
#include "support/PixelTable.h"

namespace zxp::testing {
namespace {

using B = ZorvaXPButton;

constexpr int W = 120, H = 30;

// Draws the looks on demand: hover through a real mouse movement, pressed through a real press.
class ButtonLook : public ButtonTest {
 protected:
  ZorvaXPButton& plain(int w = W, int h = H) {
    ZorvaXPButton& b = button("cmd", w, h);
    b.setCaption("");
    return b;
  }
  void hover(ZorvaXPButton& b) { input.moveTo(b.hWnd(), Point{W / 2, H / 2}); }
  void press(ZorvaXPButton& b) { input.moveTo(b.hWnd(), Point{W / 2, H / 2}).press(); }
  void expectInnerCorners(const ZorvaXPButton& b, COLORREF c) {
    const int sw = b.surface().ScaleWidth(), sh = b.surface().ScaleHeight();
    expectPixels(b.surface().hDC(), {{1, 1, c}, {sw - 2, 1, c}, {1, sh - 2, c}, {sw - 2, sh - 2, c}});
  }
  // The four border lines, probed in their middles and next to the corners they leave open, and
  // the inner corners in `corners`.
  void expectBorder(const ZorvaXPButton& b, COLORREF c, COLORREF corners = B::kCornerColor) {
    expectInnerCorners(b, corners);
    const int sw = b.surface().ScaleWidth(), sh = b.surface().ScaleHeight();
    for (Point p : {Point{1, 0}, Point{sw / 2, 0}, Point{sw - 2, 0}, Point{1, sh - 1}, Point{sw - 2, sh - 1},
                    Point{0, 1}, Point{0, sh - 2}, Point{sw - 1, 1}, Point{sw - 1, sh - 2}})
      EXPECT_EQ(px(b, p.x, p.y), c) << "at " << p.x << "," << p.y;
    // No line reaches a corner pixel: the last point of each line is left out.
    for (Point p : {Point{0, 0}, Point{sw - 1, 0}, Point{0, sh - 1}, Point{sw - 1, sh - 1}})
      EXPECT_NE(px(b, p.x, p.y), c) << "corner " << p.x << "," << p.y;
  }
};

TEST_F(ButtonLook, TheWindowShapeLeavesOutTheFourCornerPixels) {
  ZorvaXPButton& b = plain();
  GdiObject rgn(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(b.hWnd(), static_cast<HRGN>(rgn.get())), ERROR);
  const auto in = [&](int x, int y) { return PtInRegion(static_cast<HRGN>(rgn.get()), x, y) != 0; };
  for (Point p : {Point{0, 0}, Point{W - 1, 0}, Point{0, H - 1}, Point{W - 1, H - 1}, Point{W, 5}})
    EXPECT_FALSE(in(p.x, p.y)) << p.x << "," << p.y;
  for (Point p : {Point{1, 0}, Point{0, 1}, Point{W - 2, H - 1}, Point{W - 1, H - 2}}) EXPECT_TRUE(in(p.x, p.y));

  // On screen the form shows through the corners.
  input.pump();
  auto screen = ui::composeScreen();
  RECT wr;
  GetWindowRect(b.hWnd(), &wr);
  const Pixel formColour = oleToPixel(translateColor(form->BackColor()));
  EXPECT_EQ(std::pair(screen->at(wr.left, wr.top) & 0xFFFFFF, screen->at(wr.right - 1, wr.bottom - 1) & 0xFFFFFF),
            std::pair(formColour, formColour));
  EXPECT_NE(screen->at(wr.left + 1, wr.top) & 0xFFFFFF, formColour);
}

TEST_F(ButtonLook, BorderAndInnerCornersInTheRestingHoverAndEmbossedLooks) {
  for (auto style : {ButtonStyleDType::Vista, ButtonStyleDType::XP}) {
    SCOPED_TRACE(static_cast<int>(style));
    ZorvaXPButton& b = plain();
    b.setButtonStyle(style);
    b.setBorderColorNormal(0x000080);
    b.setBorderColorHighlight(0x008000);
    b.setBorderColorClick(0x800000);
    expectBorder(b, 0x000080);
    hover(b);
    expectBorder(b, 0x008000);
    press(b);
    expectBorder(b, 0x800000);
    input.release();
    form->remove(ext("cmd"));
  }
}

TEST_F(ButtonLook, HoverFrameLines) {
  ZorvaXPButton& b = plain();
  hover(b);
  const int sw = W, sh = H, mx = W / 2, my = H / 2;
  expectPixels(b.surface().hDC(),
               {{mx, 1, B::kFrameTop}, {2, 1, B::kFrameTop}, {mx, 2, B::kFrameTop2}, {sw - 2, 2, B::kFrameTop2},
                {1, my, B::kFrameSide}, {2, my, B::kFrameSide2}, {sw - 2, my, B::kFrameSide},
                {sw - 3, my, B::kFrameSide2}, {mx, sh - 3, B::kFrameSide}, {mx, sh - 2, B::kFrameBottom2},
                {1, 3, B::kFrameSide},
                // The bottom lines come after the side lines and cover their ends.
                {2, sh - 3, B::kFrameSide}, {sw - 3, sh - 3, B::kFrameSide}, {2, sh - 2, B::kFrameBottom2}});
  expectInnerCorners(b, B::kCornerColor);  // no frame line reaches them

  // Without gradient the face is flat NormalColorHighlight inside the same frame.
  ZorvaXPButton& f = button("flat", W, H, 10, 60);
  f.setCaption("");
  f.setGradientColor(false);
  f.setButtonStyle(ButtonStyleDType::XP);
  input.moveTo(f.hWnd(), Point{W / 2, H / 2});
  expectPixels(f.surface().hDC(), {{mx, my, translateColor(B::kNormalColorHighlight)}, {1, my, B::kFrameSide},
                                   {mx, sh - 2, B::kFrameBottom2}});
}

TEST_F(ButtonLook, EmbossedShadowLinesForBothStyles) {
  ZorvaXPButton& v = plain();
  press(v);
  expectPixels(v.surface().hDC(), {{W - 2, H / 2, B::kPressShadow}, {W - 2, H - 3, B::kPressShadow},
                                   {W - 3, H / 2, B::kPressShadow2}, {W - 3, H - 2, B::kPressShadow2},
                                   {W - 2, 1, B::kCornerColor}});  // the border's corners come last
  EXPECT_NE(px(v, W / 2, H - 2), B::kPressShadow);
  input.release();
  form->remove(ext("cmd"));

  ZorvaXPButton& x = plain();
  x.setButtonStyle(ButtonStyleDType::XP);
  press(x);
  expectPixels(x.surface().hDC(), {{W / 2, H - 2, B::kPressShadow}, {2, H - 2, B::kPressShadow},
                                   {W / 2, H - 3, B::kPressShadow2}, {W - 2, H - 3, B::kPressShadow2},
                                   {W - 2, H - 2, B::kCornerColor}});
  EXPECT_NE(px(x, W - 2, H / 2), B::kPressShadow);

  // Embossed without gradient: flat highlight face and the border, no shadow.
  input.release();
  x.setGradientColor(false);
  input.moveTo(form->hWnd(), Point{1, 1}).moveTo(x.hWnd(), Point{5, 5}).press();
  EXPECT_EQ(px(x, W / 2, H - 2), translateColor(B::kNormalColorHighlight));
  EXPECT_EQ(px(x, W / 2, 0), translateColor(B::kBorderColorClick));
}

TEST_F(ButtonLook, FlatPressHasNeitherShadowNorBorder) {
  for (auto style : {ButtonStyleDType::Vista, ButtonStyleDType::XP}) {
    ZorvaXPButton& b = plain();
    b.setButtonStyle(style);
    b.setClickButtonStyle(ClickButtonStyleDType::Flat);
    press(b);
    // The vertical gradient from GradientColorHighlight on top to the light face at the bottom,
    // right to the edges.
    expectPixels(b.surface().hDC(), {{W / 2, 0, translateColor(B::kGradientColorHighlight)}, {1, 1, px(b, W / 2, 1)},
                                     {W / 2, H - 1, B::kLightFace}, {W - 2, H / 2, px(b, W / 2, H / 2)}});
    input.release();
    form->remove(ext("cmd"));
  }
  // Any non-zero ClickButtonStyle is the flat press; flat faces without gradient.
  ZorvaXPButton& b = plain();
  b.setClickButtonStyle(static_cast<ClickButtonStyleDType>(9));
  b.setGradientColor(false);
  press(b);
  for (Point p : {Point{0, 5}, Point{1, 1}, Point{W / 2, H - 2}, Point{W - 2, H / 2}})
    EXPECT_EQ(px(b, p.x, p.y), translateColor(B::kNormalColorHighlight));
}

TEST_F(ButtonLook, DisabledLook) {
  ZorvaXPButton& b = plain();
  b.setForeColorNormal(0x0000FF);
  b.setCaption("Off");
  b.setEnabled(false);
  expectBorder(b, B::kDisabledBorder, B::kDisabledBorder);
  expectPixels(b.surface().hDC(), {{4, H / 2, translateColor(B::kDisabledFace)}, {W / 2, 2, translateColor(B::kDisabledFace)}});
  EXPECT_EQ(b.surface().ForeColor(), 0x0000FFu);  // the text keeps the colour it had
  // The disabled window takes no input: no hover look.
  hover(b);
  EXPECT_EQ(px(b, 1, H / 2), translateColor(B::kDisabledFace));
  b.setEnabled(true);
  EXPECT_EQ(px(b, W / 2, 0), translateColor(B::kBorderColorNormal));
}

TEST_F(ButtonLook, FlatBevelWithoutGradient) {
  ZorvaXPButton& b = plain();
  const OLE_COLOR normal = 0xC0FFC0;
  b.setGradientColor(false);
  b.setNormalColor(normal);
  const int sw = W, sh = H, mx = W / 2, my = H / 2;
  const COLORREF n = translateColor(normal);
  expectPixels(b.surface().hDC(),
               {{mx, my, n}, {mx, 1, B::kBevelLight}, {mx, 2, B::kBevelLighter}, {mx, sh - 3, B::kBevelShadow},
                {mx, sh - 2, n}, {1, my, B::kBevelLight}, {2, my, B::kBevelLighter}, {sw - 2, my, n},
                {sw - 3, my, B::kBevelShadow},
                // Vertical lines come after the horizontal ones.
                {2, sh - 3, B::kBevelLighter}, {sw - 3, 2, B::kBevelShadow}, {sw - 3, 1, B::kBevelLight},
                {sw - 2, sh - 3, n}});
  expectInnerCorners(b, B::kCornerColor);

  // GradientColor True brings back the gradient and resets NormalColor to white.
  b.setGradientColor(true);
  EXPECT_EQ(b.NormalColor(), 0xFFFFFFu);
  EXPECT_NE(px(b, mx, 1), B::kBevelLight);
}

// The faces against the gradient routines they are painted with, drawn on a scratch DC.
TEST_F(ButtonLook, GradientFacesUseTheirRoutinesAndColours) {
  struct Case {
    ButtonStyleDType style;
    int look;  // 0 resting, 1 hover, 2 pressed
    std::function<void(HDC)> reference;
  };
  const OLE_COLOR c2 = B::kGradientColorVistaXP2, c1 = B::kGradientColorXP1, hi = B::kGradientColorHighlight;
  const int band = nearest(H / 2.0 + 1);
  // The Vista resting and hover faces: two half bands meeting at a light middle.
  const auto halves = [&](OLE_COLOR outer, OLE_COLOR middle) {
    return [=](HDC dc) {
      GradientFillHalf(dc, W, band, outer, middle, 130, false, true);
      GradientFillHalf(dc, W, band, middle, outer, 90, false, false);
    };
  };
  const std::vector<Case> cases = {
      {ButtonStyleDType::Vista, 0, halves(c2, 0xFFFFFF)},
      {ButtonStyleDType::Vista, 1, halves(hi, B::kLightFace)},
      {ButtonStyleDType::Vista, 2, [&](HDC dc) { GradientFillHalf(dc, W, H, B::kLightFace, hi, 130, false, true); }},
      {ButtonStyleDType::XP, 0, [&](HDC dc) { GradientFillVertical(dc, W, H, c2, c1); }},
      {ButtonStyleDType::XP, 1, [&](HDC dc) { GradientFillVertical(dc, W, H, hi, B::kLightFace); }},
      {ButtonStyleDType::XP, 2, [&](HDC dc) { GradientFillVertical(dc, W, H, B::kLightFace, hi); }},
      {static_cast<ButtonStyleDType>(5), 0, halves(c2, 0xFFFFFF)},  // out-of-range styles are drawn as Vista
  };
  TestCanvas ref(W, H);
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "style " << static_cast<int>(c.style) << " look " << c.look);
    ZorvaXPButton& b = plain();
    b.setButtonStyle(c.style);
    if (c.look == 1) hover(b);
    if (c.look == 2) press(b);
    c.reference(ref.dc());
    // Inside the border, frame and shadow lines.
    int mismatches = 0;
    for (int y = 3; y < H - 3; ++y)
      for (int x = 3; x < W - 3; ++x) mismatches += px(b, x, y) != GetPixel(ref.dc(), x, y);
    EXPECT_EQ(mismatches, 0);
    input.release();
    input.moveTo(form->hWnd(), Point{1, 1});
    form->remove(ext("cmd"));
  }
}

// ---- Caption and icon layout ----

struct Box {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
  bool empty() const { return right < 0; }
  void add(int x, int y) {
    left = std::min(left, x);
    top = std::min(top, y);
    right = std::max(right, x + 1);
    bottom = std::max(bottom, y + 1);
  }
};

class ButtonLayout : public ButtonTest {
 protected:
  static constexpr COLORREF kFace = 0xFFFFFF;
  static constexpr COLORREF kIcon = RGB(255, 0, 0);
  static constexpr COLORREF kIconHi = RGB(0, 0, 255);

  // A flat white button, so that inside the bevel there is only the caption and the icon.
  ZorvaXPButton& flat(const std::string& caption, PicturePositionDType pos, int w = 160, int h = 70) {
    ZorvaXPButton& b = button("cmd", w, h);
    b.setGradientColor(false);
    b.setCaption(caption);
    b.setPicture(solidIcon(0xFF0000, 32));
    b.setPictureSize(PicSizeDtype::IMG_16X16);
    b.setPicturePosition(pos);
    return b;
  }
  // Where the icon colour is, and where the caption's ink is, inside the bevel.
  std::pair<Box, Box> boxes(const ZorvaXPButton& b, COLORREF icon = kIcon) {
    Box i, t;
    const int sw = b.surface().ScaleWidth(), sh = b.surface().ScaleHeight();
    for (int y = 3; y < sh - 3; ++y)
      for (int x = 3; x < sw - 3; ++x) {
        COLORREF c = px(b, x, y);
        if (c == icon) i.add(x, y);
        else if (c != kFace) t.add(x, y);
      }
    return {i, t};
  }
  // The caption's wrapped size at a width, measured as the button measures it.
  Size measure(const ZorvaXPButton& b, int width, UINT align) {
    RECT r{0, 0, width, b.surface().ScaleHeight()};
    DrawText(b.surface().hDC(), b.Caption(), &r, DT_WORDBREAK | DT_WORD_ELLIPSIS | align | DT_CALCRECT);
    return Size{r.right, r.bottom};
  }
};

TEST_F(ButtonLayout, CaptionAloneIsCentred) {
  ZorvaXPButton& b = button("cmd", 160, 70);
  b.setGradientColor(false);
  b.setCaption("Centre");
  auto [icon, text] = boxes(b);
  ASSERT_FALSE(text.empty());
  EXPECT_NEAR((text.left + text.right) / 2, 80, 2);
  EXPECT_NEAR((text.top + text.bottom) / 2, 35, 3);
}

TEST_F(ButtonLayout, IconPositions) {
  const int sw = 160, sh = 70, size = 16;
  {
    ZorvaXPButton& b = flat("Left", PicturePositionDType::Left);
    const Size t = measure(b, sw - (size + 4), DT_LEFT);
    const int left = std::max(nearest((sw - (t.cx - size - 4)) / 2.0), size + 7);
    auto [icon, text] = boxes(b);
    EXPECT_EQ(std::tuple(icon.left, icon.top, icon.right - icon.left), std::tuple(left - size - 4, nearest((sh - size) / 2.0), size));
    EXPECT_GE(text.left, left);
    EXPECT_LE(text.right, left + t.cx);
    form->remove(ext("cmd"));
  }
  {
    ZorvaXPButton& b = flat("Right", PicturePositionDType::Right);
    const Size t = measure(b, sw - (size + 4), DT_LEFT);
    const int left = nearest((sw - (t.cx + size + 4)) / 2.0);
    auto [icon, text] = boxes(b);
    EXPECT_EQ(std::pair(icon.left, icon.top), std::pair(left + t.cx + 4, nearest((sh - size) / 2.0)));
    EXPECT_GE(text.left, left);
    EXPECT_LT(text.right, icon.left);
    form->remove(ext("cmd"));
  }
  {
    ZorvaXPButton& b = flat("Top", PicturePositionDType::Top);
    const Size t = measure(b, sw, DT_CENTER);
    const int top = nearest((sh - t.cy + size) / 2.0);
    auto [icon, text] = boxes(b);
    EXPECT_EQ(std::pair(icon.left, icon.top), std::pair(nearest((sw - size) / 2.0), top - size - 4));
    EXPECT_GE(text.top, top);
    EXPECT_LE(text.bottom, top + t.cy);
    form->remove(ext("cmd"));
  }
  {
    ZorvaXPButton& b = flat("Bottom", PicturePositionDType::Bottom);
    const Size t = measure(b, sw, DT_CENTER);
    const int top = nearest((sh - t.cy - size) / 2.0);
    auto [icon, text] = boxes(b);
    EXPECT_EQ(std::pair(icon.left, icon.top), std::pair(nearest((sw - size) / 2.0), top + t.cy + 4));
    EXPECT_GE(text.top, top);
    EXPECT_LT(text.bottom, icon.top);
    form->remove(ext("cmd"));
  }
  {
    ZorvaXPButton& b = flat("", PicturePositionDType::Center);
    auto [icon, text] = boxes(b);
    EXPECT_EQ(std::pair(icon.left, icon.top), std::pair(nearest((sw - size) / 2.0), nearest((sh - size) / 2.0)));
    EXPECT_TRUE(text.empty());
  }
}

TEST_F(ButtonLayout, AWideCaptionNeverPushesTheLeftIconCloserThanThreePixels) {
  ZorvaXPButton& b = flat("Unbreakablecaptionmuchwiderthanthebutton", PicturePositionDType::Left, 120, 40);
  auto [icon, text] = boxes(b);
  EXPECT_EQ(icon.left, 3);
  EXPECT_GE(text.left, 16 + 7);
  // A 32-pixel icon keeps the same guard.
  b.setPictureSize(PicSizeDtype::IMG_32X32);
  std::tie(icon, text) = boxes(b);
  EXPECT_EQ(std::pair(icon.left, icon.right - icon.left), std::pair(3, 32));
}

TEST_F(ButtonLayout, ExtremeIconSizesLayOutWithoutOverflow) {
  // Sizes are stored as set; the layout's arithmetic on them must not overflow (the sanitizer
  // build checks). An icon too large or negative to draw leaves no pixel of it.
  for (int32_t size : {INT32_MAX, INT32_MIN, -1, 1 << 24}) {
    for (auto pos : {PicturePositionDType::Left, PicturePositionDType::Right, PicturePositionDType::Top,
                     PicturePositionDType::Bottom, PicturePositionDType::Center}) {
      SCOPED_TRACE(::testing::Message() << size << " at " << static_cast<int>(pos));
      ZorvaXPButton& b = flat("&Go", pos);
      b.setPictureSize(static_cast<PicSizeDtype>(size));
      b.setPictureHighlight(solidIcon(0x0000FF, 24));
      b.setPictureSizeHighlight(static_cast<PicSizeDtype>(size));
      input.moveTo(b.hWnd()).press().release().moveTo(Point{1000, 1000}).advance(50);
      EXPECT_TRUE(boxes(b).first.empty());
      form->remove(ext("cmd"));
    }
  }
}

TEST_F(ButtonLayout, PositionOutsideTheRangeDrawsNeitherCaptionNorIcon) {
  ZorvaXPButton& b = flat("&Nothing", static_cast<PicturePositionDType>(7));
  auto [icon, text] = boxes(b);
  EXPECT_TRUE(icon.empty() && text.empty());
  EXPECT_EQ(b.AccessKeys(), "N");  // the access key is still taken from the caption
}

TEST_F(ButtonLayout, HighlightIconInTheHoverLookAndBitmapsNotDrawn) {
  ZorvaXPButton& b = flat("Hi", PicturePositionDType::Center);
  b.setPictureHighlight(solidIcon(0x0000FF, 24));
  b.setPictureSizeHighlight(PicSizeDtype::IMG_24X24);
  input.moveTo(b.hWnd(), Point{5, 5});
  EXPECT_TRUE(b.pictureMode());
  const Box icon = boxes(b, kIconHi).first;
  EXPECT_EQ(std::pair(icon.right - icon.left, icon.left), std::pair(24, nearest((160 - 24) / 2.0)));
  input.moveTo(form->hWnd(), Point{1, 1}).advance(10);
  EXPECT_FALSE(b.pictureMode());
  EXPECT_EQ(boxes(b).first.right - boxes(b).first.left, 16);

  // A picture that is not an icon goes to the icon drawing and does not appear.
  GdiObject bmp(CreateCompatibleBitmap(0, 16, 16));
  b.setPicture(gfx::Picture::fromBitmap(static_cast<HBITMAP>(bmp.release())));
  EXPECT_TRUE(boxes(b).first.empty());
  EXPECT_FALSE(boxes(b).second.empty());  // the caption is still there
}

TEST_F(ButtonLook, SmallButtonsGrowTo120TwipsOnTheirNextFullRedraw) {
  ZorvaXPButton& b = button("cmd", 5, 30);
  EXPECT_EQ(std::tuple(ext("cmd").Width(), b.surface().ScaleWidth(), ext("cmd").Height()), std::tuple(120, 8, pixelsToTwips(30)));
  ext("cmd").setHeight(90);  // 6 pixels
  EXPECT_EQ(std::pair(ext("cmd").Height(), b.surface().ScaleHeight()), std::pair(120, 8));
  // The shape follows the final size.
  GdiObject rgn(CreateRectRgn(0, 0, 0, 0));
  GetWindowRgn(b.hWnd(), static_cast<HRGN>(rgn.get()));
  RECT box;
  GetRgnBox(static_cast<HRGN>(rgn.get()), &box);
  EXPECT_EQ(std::pair(box.right, box.bottom), std::pair(8, 8));
}

}  // namespace
}  // namespace zxp::testing
