// The text box's private button: its resting, hover, pressed and disabled looks read back from
// the surface, the icon and caption layout, the hover icon swap and restore on the polling timer,
// the single click notification and the default width.

#include "buttons/ZorvaTextButton.h"
#include "buttons/ZorvaXPButton.h"
#include "foundation/GradientMath.h"
#include "range/RangeFixture.h"
#include "support/Pictures.h"
#include "support/PixelTable.h"
#include "support/PropertyTable.h"

namespace zxp::testing {
namespace {

using buttons::ZorvaTextButton;
using buttons::ZorvaXPButton;

class TextButton : public RangeTest {
 protected:
  ZorvaTextButton& make(int w = 23, int h = 21) { return place<ZorvaTextButton>("btn", w, h); }
  static COLORREF at(const ZorvaTextButton& b, int x, int y) { return px(b.surface(), x, y); }
};

TEST_F(TextButton, ANewButtonIsZorv23PixelsWideWithTheRestingGradientAndBorder) {
  ZorvaTextButton& b = make(60, 21);
  EXPECT_EQ(b.Caption(), "Zorv");
  EXPECT_EQ(b.surface().ScaleWidth(), 23);  // ButtonWidth sets the width
  const int sh = b.surface().ScaleHeight();
  // White at the top, RGB(129, 169, 226) at the bottom (inside the border).
  const COLORREF border = RGB(0, 60, 116), corner = RGB(122, 149, 168);
  expectPixels(b.surface().hDC(), {{11, 1, gradientRow(0xFFFFFF, 0xE2A981, 1, sh)},
                                   {11, sh - 2, gradientRow(0xFFFFFF, 0xE2A981, sh - 2, sh)}, {5, 0, border},
                                   {0, 5, border}, {22, 5, border}, {1, 1, corner}, {21, sh - 2, corner}});
  // The window leaves out its corner pixels.
  HRGN r = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(b.hWnd(), r), ERROR);
  EXPECT_FALSE(PtInRegion(r, 0, 0));
  EXPECT_TRUE(PtInRegion(r, 1, 0));
  EXPECT_FALSE(PtInRegion(r, 22, sh - 1));
  DeleteObject(r);
  // A width of 0 comes back as 23 at the next redraw.
  b.setButtonWidth(0);
  EXPECT_EQ(b.ButtonWidth(), 23);
  b.setButtonWidth(40);
  EXPECT_EQ(b.surface().ScaleWidth(), 40);
}

TEST_F(TextButton, IconAndCaptionArePlacedByAlignmentAndCaption) {
  ZorvaTextButton& b = make();
  b.setButtonWidth(80);
  b.setButtonPicture(solidIcon(0x00FF00));
  const int sw = 80, sh = b.surface().ScaleHeight();
  // Alignment 0: the icon 2 pixels in, the caption from 20 to SW - 2, centred.
  EXPECT_EQ(b.iconRect().left, 2);
  EXPECT_EQ(b.iconRect().top, (sh - 16) / 2);
  EXPECT_EQ(at(b, 2, b.iconRect().top), RGB(0, 255, 0));
  EXPECT_EQ(b.captionRect().left, 20);
  EXPECT_EQ(b.captionRect().right, sw - 2);
  // Alignment 1: the icon 3 pixels from the right edge, the caption left of it.
  b.setAlignment(1);
  EXPECT_EQ(b.iconRect().left, sw - 16 - 3);
  EXPECT_EQ(at(b, sw - 4, b.iconRect().top + 5), RGB(0, 255, 0));
  EXPECT_EQ(b.captionRect().left, 1);
  EXPECT_EQ(b.captionRect().right, sw - 16 - 3 - 1);
  // Any other alignment: the caption from 0 to SW - 2.
  b.setAlignment(7);
  EXPECT_EQ(std::tuple(b.captionRect().left, b.iconRect().left), std::tuple(0, sw - 16 - 3));
  // Without a caption the icon is centred.
  b.setCaption("");
  EXPECT_EQ(b.iconRect().left, (sw - 16) / 2);
  // Without a picture the caption starts at (SW - TW) / 2 + 1 and runs to SW.
  b.setButtonPicture(host::PictureRef());
  b.setCaption("...");
  EXPECT_EQ(b.captionRect().right, sw);
  EXPECT_GT(b.captionRect().left, 30);
  EXPECT_LT(b.captionRect().left, 40);
}

TEST_F(TextButton, HoverSwapsTheIconOnlyWithAHoverPictureAndLeavingRestoresIt) {
  ZorvaTextButton& b = make();
  b.setButtonWidth(40);
  const host::PictureRef normal = solidIcon(0x0000FF), over = solidIcon(0xFF0000);
  b.setButtonPicture(normal);
  logEvents(b);
  input.moveTo(b.hWnd(), Point{10, 10});
  EXPECT_EQ(b.iconPicture().Handle(), normal.Handle());  // no hover picture: no swap
  // The hover frame of the push button is there.
  expectPixels(b.surface().hDC(), {{38, 5, ZorvaXPButton::kFrameSide}, {37, 5, ZorvaXPButton::kFrameSide2},
                                   {10, 1, ZorvaXPButton::kFrameTop}});
  EXPECT_TRUE(b.hoverTimer().running());
  b.setButtonPictureOver(over);
  input.moveTo(b.hWnd(), Point{12, 10});
  EXPECT_EQ(b.iconPicture().Handle(), over.Handle());
  EXPECT_EQ(at(b, b.iconRect().left + 4, b.iconRect().top + 4), RGB(255, 0, 0));
  // The polling timer notices the cursor left: ButtonPicture again, resting look, timer off.
  input.moveTo(Point{400, 400}).advance(20);
  EXPECT_EQ(b.iconPicture().Handle(), normal.Handle());
  EXPECT_EQ(at(b, 1, 5), gradientRow(0xFFFFFF, 0xE2A981, 5, b.surface().ScaleHeight()));
  EXPECT_FALSE(b.hoverTimer().running());
  // Movements raised nothing.
  EXPECT_TRUE(log.empty());
}

TEST_F(TextButton, PressShowsTheGradientUpsideDownAndOnlyTheReleaseClicks) {
  ZorvaTextButton& b = make();
  logEvents(b);
  const int sh = b.surface().ScaleHeight();
  input.moveTo(b.hWnd(), Point{10, 10}).press();
  EXPECT_EQ(at(b, 11, 1), gradientRow(0xE2A981, 0xFFFFFF, 1, sh));
  EXPECT_EQ(at(b, 11, sh - 2), gradientRow(0xE2A981, 0xFFFFFF, sh - 2, sh));
  EXPECT_TRUE(log.empty());
  input.release();
  EXPECT_EQ(log, (std::vector<std::string>{"Click"}));
  EXPECT_EQ(at(b, 11, 1), gradientRow(0xFFFFFF, 0xE2A981, 1, sh));  // redrawn at rest
  // A right-button release notifies as well.
  input.click(ui::MouseButton::Right);
  EXPECT_EQ(log.size(), 2u);
  // The access key of the caption notifies too.
  b.setCaption("&Go");
  input.altKey('G');
  EXPECT_EQ(log.size(), 3u);
}

TEST_F(TextButton, DisabledLookGreysTheIcon) {
  ZorvaTextButton& b = make();
  b.setButtonWidth(40);
  b.setButtonPicture(solidIcon(0x3060F0));  // RGB(48, 96, 240)
  b.setEnabled(false);
  expectPixels(b.surface().hDC(), {{30, 0, RGB(171, 171, 144)}, {1, 1, RGB(171, 171, 144)}, {30, 3, RGB(231, 231, 224)}});
  const BYTE g = static_cast<BYTE>((48 + 96 + 240 + 1) / 3);
  EXPECT_EQ(at(b, b.iconRect().left + 8, b.iconRect().top + 8), RGB(g, g, g));
  // Enabled again, the icon shows its own colour.
  b.setEnabled(true);
  EXPECT_EQ(at(b, b.iconRect().left + 8, b.iconRect().top + 8), RGB(48, 96, 240));
}

TEST_F(TextButton, PropertiesRoundTripInTheirOrder) {
  ZorvaTextButton& a = make();
  const std::vector<PropertyRow> rows = {{"Alignment", 1}, {"GradientColor1", 0x000001}, {"GradientColor2", 0x000002},
                                         {"Caption", "Go"}, {"ButtonWidth", 30}, {"ForeColor", 0x000003},
                                         {"Enabled", false}};
  letAll(*form, "btn", rows);
  host::PropertyBag bag;
  a.WriteProperties(bag);
  EXPECT_EQ(bagKeys(bag), keysOf(rows, {{"ButtonPicture", "ButtonWidth"}, {"ButtonPictureOver", "ForeColor"},
                                        {"Font", "ForeColor"}}));
  auto& b = addFromBag<ZorvaTextButton>("b", bag, 600, 315);
  EXPECT_EQ(std::tuple(b.Caption(), b.surface().ScaleWidth()), std::tuple("Go", 30));
  EXPECT_FALSE(b.Enabled());
  EXPECT_EQ(eventNames(b.memberTable()), std::vector<std::string>{"Click"});
}

}  // namespace
}  // namespace zxp::testing
