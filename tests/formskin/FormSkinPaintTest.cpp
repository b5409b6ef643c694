// The title strip: its height, outline, caption placement and caption buttons.

#include "formskin/FormSkinFixture.h"
#include "support/Pictures.h"
#include "support/PixelTable.h"

namespace zxp::testing {
namespace {

using FormSkinPaint = FormSkinTest;
using formskin::Area;
using formskin::eCaptionAlign;
using formskin::FBorderStyles;

TEST_F(FormSkinPaint, TheStripIsDockedAtTheTopAndItsHeightIsClamped) {
  auto& s = makeSkinned();
  RECT r;
  GetWindowRect(strip(), &r);
  const RECT f = formRect();
  EXPECT_EQ(std::tuple(r.left, r.top, r.right - r.left, r.bottom - r.top), std::tuple(f.left, f.top, 400, 45));
  s.setTitleBarHeight(10);
  EXPECT_EQ(s.surface().ScaleHeight(), 24);
  s.setTitleBarHeight(60);
  EXPECT_EQ(s.surface().ScaleHeight(), 45);
  s.setTitleBarHeight(30);
  EXPECT_EQ(std::tuple(s.surface().ScaleHeight(), s.TitleBarHeight()), std::tuple(30, 30));
}

TEST_F(FormSkinPaint, OutlineEnhanceLineAndButtonRectangles) {
  auto& s = makeSkinned();
  s.setBorderColor(0x0000FF);
  s.setEnhanceColor(0x00FF00);
  const int w = 400, h = 45;
  expectPixels(skin().surface().hDC(),
               {{1, 0, 0x0000FF}, {0, 5, 0x0000FF}, {w - 1, 5, 0x0000FF}, {5, h - 1, 0x0000FF}, {1, 5, 0x00FF00}});
  EXPECT_NE(px(0, 0), 0x0000FFu);  // the rounded corners
  EXPECT_NE(px(w - 1, 0), 0x0000FFu);
  // Close: w-50..w-8 x 1..16, maximise 27 further left, overlapping by 2, minimise likewise.
  const RECT close = s.buttonRect(Area::Close), max = s.buttonRect(Area::Maximize), min = s.buttonRect(Area::Minimize);
  EXPECT_EQ(std::tuple(close.left, close.right, close.bottom, max.right - max.left, max.right, min.right),
            std::tuple(w - 50, w - 8, 16, 29, close.left + 2, max.left + 2));
  // Each button's outer frame in its colour (corners left out).
  EXPECT_EQ(px(close.left + 1, 1), translateColor(s.CloseButtonOuterBorder()));
  EXPECT_EQ(px(min.left + 1, 1), translateColor(s.ButtonsOuterBorder()));
  EXPECT_EQ(px(min.left + 2, 2), translateColor(s.ButtonsInnerBorder()));
}

TEST_F(FormSkinPaint, BorderStylesDecideWhichButtonsAreDrawn) {
  auto& s = makeSkinned();
  const RECT min = s.buttonRect(Area::Minimize), close = s.buttonRect(Area::Close);
  const COLORREF frame = translateColor(s.ButtonsOuterBorder());
  s.setBorderStyle(FBorderStyles::FBSSingle);
  EXPECT_NE(px(min.left + 1, 1), frame);
  EXPECT_EQ(px(close.left + 1, 1), translateColor(s.CloseButtonOuterBorder()));
  s.setBorderStyle(FBorderStyles::FBSNone);
  EXPECT_NE(px(close.left + 1, 1), translateColor(s.CloseButtonOuterBorder()));
}

TEST_F(FormSkinPaint, CaptionPlacement) {
  auto& s = makeSkinned();
  form->setCaption("Title");
  s.RedrawMe();
  EXPECT_EQ(s.captionText(), "Title");
  SIZE ts;
  GetTextExtentPoint32(s.surface().hDC(), "Title", 5, &ts);
  // Right-aligned without buttons: ends 5 pixels before the right edge.
  s.setBorderStyle(FBorderStyles::FBSNone);
  s.setCaptionAlignment(eCaptionAlign::eCARight);
  EXPECT_EQ(std::tuple(s.captionRect().right, s.captionRect().left), std::tuple(400 - 5, 400 - 5 - ts.cx));
  // Left: 5, raised to 10.
  s.setCaptionAlignment(eCaptionAlign::eCALeft);
  EXPECT_EQ(s.captionRect().left, 10);
  // Centred between 0 and the minimise button.
  s.setBorderStyle(FBorderStyles::FBSSizable);
  s.setCaptionAlignment(eCaptionAlign::eCACenter);
  const int limit = s.buttonRect(Area::Minimize).left;
  EXPECT_NEAR(s.captionRect().left, (limit - ts.cx) / 2, 1);
  EXPECT_EQ(s.captionRect().right, limit);
  // Too long to centre: starts at 10 (and is cut with an ellipsis at the limit).
  form->setCaption(std::string(200, 'W'));
  EXPECT_EQ(s.captionRect().left, 10);
}

TEST_F(FormSkinPaint, ALeftCaptionStartsFivePixelsPastTheIconAsDrawn) {
  auto& s = makeSkinned();
  form->setCaption("Title");
  s.setIcon(solidIcon(0xFF0000, 32));
  s.setCaptionAlignment(eCaptionAlign::eCALeft);
  EXPECT_EQ(s.captionRect().left, 10 + 32 + 5);
  s.setIconSize(formskin::eIconSize::eIS16x16);
  EXPECT_EQ(s.captionRect().left, 10 + 16 + 5);
  // IconSize set late bound to the largest Long: the caption goes past the icon as drawn
  // (2^20 pixels), out of sight; 2^31 - 1 + 15 wrapped round and put it at 10, over the icon.
  s.setIconSize(static_cast<formskin::eIconSize>(INT32_MAX));
  EXPECT_EQ(s.captionRect().left, s.buttonRect(Area::Icon).right + 5);
  EXPECT_GT(s.captionRect().left, 400);
  s.RedrawMe();
}

TEST_F(FormSkinPaint, CaptionShadowOnePixelRightAndDown) {
  auto& s = makeSkinned();
  s.setGradientColor1(0x000000);
  s.setGradientColor2(0x000000);
  s.setForeColor(0x0000FF);
  s.setFShadowColor(0x00FF00);
  form->setCaption("I");
  s.RedrawMe();
  const RECT cr = s.captionRect();
  int shadow = 0, text = 0;
  for (int y = 4; y < 44; ++y)
    for (int x = cr.left; x < cr.left + 12; ++x) {
      const COLORREF c = px(x, y);
      shadow += (c & 0xFF) < 64 && ((c >> 8) & 0xFF) > 128;  // green: the shadow
      text += (c & 0xFF) > 128 && ((c >> 8) & 0xFF) < 64;    // red: the text
    }
  EXPECT_GT(shadow, 0);
  EXPECT_GT(text, 0);
  s.setShadow4Text(false);
  shadow = 0;
  for (int y = 4; y < 44; ++y)
    for (int x = cr.left; x < cr.left + 12; ++x) shadow += ((px(x, y) >> 8) & 0xFF) > 128;
  EXPECT_EQ(shadow, 0);
}

TEST_F(FormSkinPaint, FormGradientFillsTheClientArea) {
  auto& s = makeSkinned();
  s.setFormGradientColor1(0xFF0000);
  s.setFormGradientColor2(0x0000FF);
  input.pump();
  HDC dc = GetDC(form->hWnd());
  EXPECT_EQ(GetPixel(dc, 200, 50), GetPixel(dc, 10, 50));  // vertical: rows are even
  const COLORREF top = GetPixel(dc, 200, 46), bottom = GetPixel(dc, 200, 299);
  EXPECT_GT((top >> 16) & 0xFF, (bottom >> 16) & 0xFF);
  EXPECT_LT(top & 0xFF, bottom & 0xFF);
  ReleaseDC(form->hWnd(), dc);
}

}  // namespace
}  // namespace zxp::testing
