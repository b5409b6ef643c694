// The push button's faces come from the shared face cache, and its last few whole looks (face
// and caption) from the looks cache: every look, in every style, gradient or flat, with plain
// and system colours, at the smallest size and after size, colour, caption and font changes,
// must leave exactly the pixels (and BackColor, text colour and pen position) that painting the
// look in place leaves; and buttons of one size share one face per look.

#include "buttons/ButtonFixture.h"
#include "foundation/FaceCache.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Surface.h"
#include "platform/ui/User.h"

namespace zxp::testing {
namespace {

using foundation::FaceCache;
using B = ZorvaXPButton;

// What a look leaves behind: every pixel of the window, whole (alpha byte too), and the state the
// looks set. The surface's pixels outside the window's shape are no part of it (a kept look
// shown by sharing brings its own there) and read as 0.
struct Shot {
  std::string step;
  std::vector<uint32_t> pixels;
  OLE_COLOR back = 0;
  COLORREF text = 0;
  POINT pen{};
};

struct Colours {
  OLE_COLOR vistaXP2, xp1, highlight, normal, normalHighlight, borderNormal, borderHighlight, borderClick;
};

struct Config {
  ButtonStyleDType style;
  bool gradient;
  Colours colours;
  int w, h;
};

class ButtonFace : public ButtonTest {
 protected:
  ~ButtonFace() override { bypass(false); }

  static void bypass(bool b) {
    FaceCache::shared().setBypassed(b);
    FaceCache::looks().setBypassed(b);
  }

  static Shot shot(const ZorvaXPButton& b, std::string step) {
    const HDC dc = b.surface().hDC();
    const gfx::Surface& s = *gfx::dcFromHandle(dc)->surface();
    Shot out{std::move(step), {}, b.surface().BackColor(), GetTextColor(dc), {}};
    const HRGN shape = CreateRectRgn(0, 0, 0, 0);
    const bool shaped = GetWindowRgn(b.hWnd(), shape) != ERROR;
    for (int y = 0; y < s.height(); ++y)
      for (int x = 0; x < s.width(); ++x) out.pixels.push_back(!shaped || PtInRegion(shape, x, y) ? s.at(x, y) : 0);
    DeleteObject(shape);
    GetCurrentPositionEx(dc, &out.pen);
    return out;
  }

  // Places a button of `c` and takes it through every look, with the cache used or bypassed.
  std::vector<Shot> run(const Config& c, bool bypass, const std::string& name) {
    this->bypass(bypass);
    std::vector<Shot> shots;
    ZorvaXPButton& b = button(name, c.w, c.h);
    b.setCaption("Ok");
    b.setButtonStyle(c.style);
    b.setGradientColor(c.gradient);
    b.setGradientColorVistaXP2(c.colours.vistaXP2);
    b.setGradientColorXP1(c.colours.xp1);
    b.setGradientColorHighlight(c.colours.highlight);
    b.setNormalColor(c.colours.normal);
    b.setNormalColorHighlight(c.colours.normalHighlight);
    b.setBorderColorNormal(c.colours.borderNormal);
    b.setBorderColorHighlight(c.colours.borderHighlight);
    b.setBorderColorClick(c.colours.borderClick);
    shots.push_back(shot(b, "resting"));
    SetFocus(b.hWnd());
    shots.push_back(shot(b, "hover (focus)"));
    input.keyDown(VK_SPACE);
    shots.push_back(shot(b, "embossed press"));
    input.keyUp(VK_SPACE);
    shots.push_back(shot(b, "hover after press"));
    b.setClickButtonStyle(ClickButtonStyleDType::Flat);
    input.keyDown(VK_SPACE);
    shots.push_back(shot(b, "flat press"));
    input.keyUp(VK_SPACE);
    b.setEnabled(false);
    shots.push_back(shot(b, "disabled"));
    b.setEnabled(true);
    shots.push_back(shot(b, "resting after disabled"));
    // Size and colour changes after faces were drawn (and kept) must not show a kept face.
    ext(name).setWidth(pixelsToTwips(c.w + 13));
    shots.push_back(shot(b, "wider"));
    ext(name).setHeight(pixelsToTwips(c.h + 2));
    shots.push_back(shot(b, "taller"));
    b.setBorderColorNormal(0x00FF00);
    shots.push_back(shot(b, "new border colour"));
    b.setGradientColorVistaXP2(0x4080C0);
    b.setNormalColor(0x80C0F0);
    shots.push_back(shot(b, "new face colour"));
    b.setButtonStyle(c.style == ButtonStyleDType::XP ? ButtonStyleDType::Vista : ButtonStyleDType::XP);
    shots.push_back(shot(b, "other style"));
    b.setGradientColor(!c.gradient);
    shots.push_back(shot(b, "gradient switched"));
    SetFocus(0);
    shots.push_back(shot(b, "resting after focus left"));
    // A kept whole look must not outlive its caption, font or text colour.
    b.setCaption("Cancel &now");
    shots.push_back(shot(b, "new caption"));
    b.setFontBold(true);
    shots.push_back(shot(b, "bold"));
    b.setFontUnderline(true);
    shots.push_back(shot(b, "underlined"));
    b.setForeColorNormal(0x0000C0);
    shots.push_back(shot(b, "new text colour"));
    SetFocus(b.hWnd());
    shots.push_back(shot(b, "hover again"));
    SetFocus(0);
    shots.push_back(shot(b, "resting again"));
    this->bypass(false);
    return shots;
  }
};

TEST_F(ButtonFace, EveryLookFromTheCacheMatchesTheLookPaintedInPlace) {
  const Colours defaults{B::kGradientColorVistaXP2, B::kGradientColorXP1, B::kGradientColorHighlight,
                         B::kNormalColor,           B::kNormalColorHighlight, B::kBorderColorNormal,
                         B::kBorderColorHighlight,  B::kBorderColorClick};
  const Colours custom{0x3366CC, 0xEEDDCC, 0x00A5FF, 0xC0FFC0, 0xFFE0E0, 0x202020, 0x0000FF, 0x00FF00};
  // System colours: translated for the border and flat faces, taken as they stand by gradients.
  const Colours system{0x8000000F, 0x80000005, 0x8000000D, 0x80000005,
                       0x8000000F, 0x80000012, 0x8000000D, 0x80000010};
  int n = 0;
  for (auto style : {ButtonStyleDType::Vista, ButtonStyleDType::XP, static_cast<ButtonStyleDType>(7)})
    for (bool gradient : {true, false})
      for (const Colours& colours : {defaults, custom, system})
        for (auto [w, h] : {std::pair{8, 8}, std::pair{75, 23}, std::pair{121, 46}}) {
          const Config c{style, gradient, colours, w, h};
          SCOPED_TRACE("style " + std::to_string(static_cast<int>(style)) + (gradient ? " gradient " : " flat ") +
                       std::to_string(w) + "x" + std::to_string(h) + " colours " + std::to_string(colours.vistaXP2));
          const std::vector<Shot> painted = run(c, true, "p" + std::to_string(n));
          // Twice with the cache: once filling it, once served from it.
          for (int pass = 0; pass < 2; ++pass) {
            const std::vector<Shot> cached = run(c, false, "c" + std::to_string(n) + "_" + std::to_string(pass));
            ASSERT_EQ(cached.size(), painted.size());
            for (size_t i = 0; i < painted.size(); ++i) {
              SCOPED_TRACE(painted[i].step + " pass " + std::to_string(pass));
              const Shot &want = painted[i], &got = cached[i];
              ASSERT_EQ(got.pixels.size(), want.pixels.size());
              for (size_t p = 0; p < want.pixels.size(); ++p)
                ASSERT_EQ(got.pixels[p], want.pixels[p]) << "pixel " << p;
              EXPECT_EQ(std::tuple(got.back, got.text, got.pen.x, got.pen.y),
                        std::tuple(want.back, want.text, want.pen.x, want.pen.y));
            }
          }
          ++n;
        }
}

TEST_F(ButtonFace, ButtonsOfOneSizeShareOneFacePerLook) {
  FaceCache::shared().clear();
  FaceCache::looks().clear();
  std::vector<ZorvaXPButton*> buttons;
  for (int i = 0; i < 30; ++i) {
    buttons.push_back(&button("b" + std::to_string(i), 75, 23, (i % 5) * 80, (i / 5) * 25));
    buttons.back()->setCaption("Button " + std::to_string(i));
  }
  EXPECT_EQ(FaceCache::shared().faceCount(), 1u);  // the resting face
  for (ZorvaXPButton* b : buttons) SetFocus(b->hWnd());
  EXPECT_EQ(FaceCache::shared().faceCount(), 2u);  // and the hover face
  // Whole looks are each button's own: drawn once in turn, none is worth keeping...
  EXPECT_LE(FaceCache::looks().faceCount(), 1u);
  // ...while a pointer going over one button and off it again keeps both of its looks.
  FaceCache::looks().clear();
  for (int round = 0; round < 3; ++round) {
    SetFocus(buttons[3]->hWnd());
    SetFocus(buttons[4]->hWnd());
  }
  EXPECT_EQ(FaceCache::looks().faceCount(), FaceCache::kMaxLooks);
  // A size of its own is a face of its own, and never more than the cache holds.
  for (int i = 0; i < 60; ++i) button("s" + std::to_string(i), 20 + i, 23, 0, 200);
  EXPECT_EQ(FaceCache::shared().faceCount(), FaceCache::kMaxFaces);
  FaceCache::shared().clear();
}

}  // namespace
}  // namespace zxp::testing
