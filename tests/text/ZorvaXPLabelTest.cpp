// The label: layout with and without picture and AutoSize, the looks of its states, transparency
// by window region seen on the composed screen, hover tracking and sounds, the link, the
// design-time sound check and persistence.

#include <algorithm>
#include <limits>

#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/ui/Screen.h"
#include "support/PixelTable.h"
#include "support/TempWave.h"
#include "text/TextFixture.h"

namespace zxp::testing {
namespace {

using text::BackStyle;
using text::PicSize;

// The caption's width as the label measures it, in its own surface font.
int captionWidth(const ZorvaXPLabel& l) {
  SIZE s{};
  GetTextExtentPoint32(l.surface().hDC(), l.Caption().data(), static_cast<int>(l.Caption().size()), &s);
  return s.cx;
}

// Whether any pixel of the rectangle has the colour.
bool anyPixel(HDC dc, RECT r, COLORREF c) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (GetPixel(dc, x, y) == c) return true;
  return false;
}

class Label : public TextTest {};

TEST_F(Label, AutoSizeFitsTheCaptionWithAndWithoutPicture) {
  ZorvaXPLabel& l = label("lbl", 10, 10, 300, 40);
  l.setCaption("Visit the project page");
  l.setAutoSize(true);
  const int cx = captionWidth(l);
  // Without a picture: (cx + 10) x 15 twips wide, (TextHeight + 1) x 15 twips high.
  EXPECT_GT(l.TextHeight(), 8);
  EXPECT_EQ(std::tuple(ext("lbl").Width(), ext("lbl").Height()), std::tuple((cx + 10) * 15, (l.TextHeight() + 1) * 15));

  // With a picture: p = PictureSize, the height 33 pixels.
  l.setPicture(solidIcon(0x3366CC));
  EXPECT_EQ(std::tuple(ext("lbl").Width(), ext("lbl").Height()), std::tuple((cx + 16 + 10) * 15, 495));
  // With a hover picture p is the larger of the two sizes.
  l.setPictureOnOver(solidIcon(0xCC6633, 24));
  l.setPictureOnOverSize(PicSize::IMG_24X24);
  EXPECT_EQ(ext("lbl").Width(), (cx + 24 + 10) * 15);

  // An empty caption: (p + 10) x 15 twips.
  l.setPicture(host::PictureRef());
  l.setCaption("");
  EXPECT_EQ(ext("lbl").Width(), 10 * 15);
}

// A width of the right pixels but other twips (a form file may hold one) is made exact when the
// label sizes itself, as loading its file again would make it: what it saves loads back the same.
TEST_F(Label, AutoSizeMakesTheTwipsExactSoTheFileLoadsBackTheSame) {
  ZorvaXPLabel& l = label("lbl", 10, 10, 300, 40);
  l.setCaption("Visit");
  l.setFontBold(true);
  const int cx = captionWidth(l);
  ext("lbl").setWidth((cx + 10) * 15 + 5);
  ASSERT_EQ(l.surface().ScaleWidth(), cx + 10);
  l.setAutoSize(true);
  EXPECT_EQ(ext("lbl").Width(), (cx + 10) * 15);
  const std::string saved = form->save();
  EXPECT_EQ(host::Form::load(saved, library::classes())->save(), saved);
}

TEST_F(Label, AutoSizeOfACaptionWiderThanTwipsCanHoldStopsAtTheLargestWidth) {
  // 200 000 capitals in a 2 048-point face are about 200 million pixels: more than 32-bit
  // twips hold. The width saturates instead of wrapping to a negative size the host refuses.
  ZorvaXPLabel& l = label("lbl", 10, 10, 300, 40);
  gfx::FontDesc huge;
  huge.name = "Tahoma";
  huge.size = 2048;
  l.setLabelFont(host::FontRef(std::make_shared<const gfx::FontDesc>(huge)));
  l.setCaption(std::string(200000, 'W'));
  ASSERT_GT(int64_t{captionWidth(l)} * 15, int64_t{std::numeric_limits<int32_t>::max()});
  l.setAutoSize(true);
  EXPECT_EQ(ext("lbl").Width(), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(ext("lbl").Height(), (l.TextHeight() + 1) * 15);
}

TEST_F(Label, SmallLabelsGrowAndTextStaysInsideItsMargins) {
  ZorvaXPLabel& l = label("lbl", 10, 10, 120, 24);
  ext("lbl").setWidth(8 * 15);
  EXPECT_EQ(ext("lbl").Width(), 20 * 15);
  ext("lbl").setHeight(5 * 15);
  // Below 10 pixels the height becomes 20, then grows to the caption's height if that is more.
  EXPECT_GE(ext("lbl").Height(), 20 * 15);

  // A label too low for its caption grows to TextHeight + 1.
  ext("lbl").Move(150, 150, 120 * 15, 12 * 15);
  EXPECT_EQ(ext("lbl").Height(), std::max(12, l.TextHeight() + 1) * 15);

  // The caption keeps 4 pixels from the left edge: columns 0..3 show only gradient and border.
  ext("lbl").Move(150, 150, 150 * 15, 24 * 15);
  l.setGradientOnOver(false);
  l.setBackColor(0xFFFFFF);
  const HDC dc = l.surface().hDC();
  const COLORREF white = RGB(255, 255, 255);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(px(dc, x, y), white) << x << "," << y;
  EXPECT_TRUE(anyPixel(dc, RECT{4, 0, 150, 24}, RGB(0, 0, 0)));
}

// Found by the monkey (sanitizer build): a PictureSize at the ends of the 32-bit range
// overflowed the layout's arithmetic. The value is kept as set and the label still draws.
TEST_F(Label, ExtremePictureSizesAreKeptAndLaidOutWithoutOverflow) {
  ZorvaXPLabel& l = label("lbl", 10, 10, 160, 40);
  l.setPicture(solidIcon(0x3366CC));
  l.setPictureOnOver(solidIcon(0x00FF00));
  for (int32_t v : {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()}) {
    l.setPictureSize(static_cast<text::PicSize>(v));
    l.setPictureOnOverSize(static_cast<text::PicSize>(v));
    EXPECT_EQ(static_cast<int32_t>(l.PictureSize()), v);
  }
  l.setPictureSize(text::PicSize::IMG_16X16);
  const int y0 = nearest((l.surface().ScaleHeight() - 16) / 2.0);
  EXPECT_EQ(px(l.surface().hDC(), 2, y0), RGB(0x33, 0x66, 0xCC));
}

TEST_F(Label, PictureSitsAtXTwoCentredAndGreysWhenDisabled) {
  ZorvaXPLabel& l = label("lbl", 10, 10, 160, 40);
  l.setPicture(solidIcon(0x3366CC));  // R 0x33, G 0x66, B 0xCC
  const HDC dc = l.surface().hDC();
  const int h = l.surface().ScaleHeight();
  const int y0 = nearest((h - 16) / 2.0);
  expectPixels(dc, {{2, y0, RGB(0x33, 0x66, 0xCC)}, {17, y0 + 15, RGB(0x33, 0x66, 0xCC)}});
  EXPECT_NE(px(dc, 18, y0), RGB(0x33, 0x66, 0xCC));

  // Disabled: the square in grey, level nearest((R + G + B) / 3), on a cleared surface; the
  // caption in 0x808080.
  l.setEnabled(false);
  const int level = nearest((0x33 + 0x66 + 0xCC) / 3.0);
  expectPixels(dc, {{2, y0, RGB(level, level, level)}, {17, y0 + 15, RGB(level, level, level)}});
  EXPECT_TRUE(anyPixel(dc, RECT{22, 0, 160, h}, RGB(128, 128, 128)));
  EXPECT_FALSE(anyPixel(dc, RECT{22, 0, 160, h}, RGB(0, 0, 0)));

  // A transparent label draws its picture at 16 x 16 whatever PictureSize says.
  l.setEnabled(true);
  l.setPictureSize(PicSize::IMG_32X32);
  EXPECT_EQ(px(dc, 2 + 31, nearest((h - 32) / 2.0) + 31), RGB(0x33, 0x66, 0xCC));
  l.setBackStyle(BackStyle::HBkTransparent);
  EXPECT_EQ(px(dc, 2, y0), RGB(0x33, 0x66, 0xCC));
  EXPECT_NE(px(dc, 2 + 20, y0 + 20), RGB(0x33, 0x66, 0xCC));
}

class LabelInput : public TextTest {
 protected:
  ZorvaXPLabel& logged() {
    ZorvaXPLabel& l = label("lbl", 20, 20, 160, 26);
    l.setCaption("Hover me");
    l.MouseOut.connect([this] { log.push_back("MouseOut"); });
    l.MouseDown.connect([this](int16_t&, int16_t&, float&, float&) { log.push_back("MouseDown"); });
    l.Click.connect([this] { log.push_back("Click"); });
    return l;
  }
  void outside() { input.moveTo(form->hWnd(), Point{400, 300}); }
  std::vector<std::string> log;
};

TEST_F(LabelInput, HoverRepaintsTracksTheCursorAndPlaysTheSoundOncePerEntry) {
  TempDir dir;
  ZorvaXPLabel& l = logged();
  l.setSoundOnOver(writeWave(dir.file("over.wav")));
  l.setSoundOnClicked(writeWave(dir.file("click.wav")));
  l.setUnderlineOnOver(true);
  const HDC dc = l.surface().hDC();
  const RECT inner{1, 1, 159, 25};

  input.moveTo(l.hWnd(), Point{50, 10});
  EXPECT_TRUE(anyPixel(dc, inner, translateColor(l.ForeColorOver())));
  // Underlined while hovered, though FontUnderline stays off.
  EXPECT_EQ(std::tuple(l.Font()->underline, l.FontUnderline(), l.checkerTimer().running(), l.checkerTimer().Name()),
            std::tuple(true, false, true, "tmrChecker"));
  input.moveBy(3, 0).moveBy(3, 0);
  ASSERT_EQ(services.sound->played.size(), 1u);  // once per entry

  input.press();
  EXPECT_TRUE(anyPixel(dc, inner, translateColor(l.ForeColorDown())));
  EXPECT_EQ(services.sound->played.size(), 2u);
  input.release();
  EXPECT_TRUE(anyPixel(dc, inner, translateColor(l.ForeColorOver())));

  outside();
  input.advance(10);
  EXPECT_FALSE(l.checkerTimer().running() || l.Font()->underline);
  EXPECT_TRUE(anyPixel(dc, inner, RGB(0, 0, 0)));
  EXPECT_FALSE(anyPixel(dc, inner, translateColor(l.ForeColorOver())));
  EXPECT_EQ(log, (std::vector<std::string>{"MouseDown", "Click", "MouseOut"}));
  input.moveTo(l.hWnd(), Point{50, 10});
  EXPECT_EQ(services.sound->played.size(), 3u);  // a new entry plays again
  // A label never takes the focus.
  EXPECT_FALSE(l.focused());
}

TEST_F(LabelInput, WithoutAllowForeColorOverNothingRepaintsAndTheHoverMarkStays) {
  TempDir dir;
  ZorvaXPLabel& l = logged();
  l.setSoundOnOver(writeWave(dir.file("over.wav")));
  l.setAllowForeColorOver(false);
  input.moveTo(l.hWnd(), Point{50, 10});
  EXPECT_FALSE(l.checkerTimer().running());
  EXPECT_FALSE(anyPixel(l.surface().hDC(), RECT{1, 1, 159, 25}, translateColor(l.ForeColorOver())));
  outside();
  input.advance(100);
  input.moveTo(l.hWnd(), Point{50, 10});
  EXPECT_EQ(services.sound->played.size(), 1u);  // the mark never clears
  EXPECT_TRUE(std::find(log.begin(), log.end(), "MouseOut") == log.end());
}

TEST_F(LabelInput, WithoutGradientOnOverEveryStateIsAFlatPanelWithoutBorder) {
  ZorvaXPLabel& l = logged();
  l.setGradientOnOver(false);
  l.setBackColor(0x00C0FF);  // R 255, G 192, B 0
  const HDC dc = l.surface().hDC();
  const COLORREF flat = RGB(255, 192, 0);
  auto flatFrame = [&] {
    return px(dc, 0, 0) == flat && px(dc, 159, 25) == flat && px(dc, 80, 0) == flat && px(dc, 0, 13) == flat &&
           px(dc, 159, 13) == flat;
  };
  EXPECT_TRUE(flatFrame());
  input.moveTo(l.hWnd(), Point{50, 10});
  EXPECT_TRUE(flatFrame() && anyPixel(dc, RECT{1, 1, 159, 25}, translateColor(l.ForeColorOver())));
  input.press();
  EXPECT_TRUE(flatFrame() && anyPixel(dc, RECT{1, 1, 159, 25}, translateColor(l.ForeColorDown())));
  input.release();
  EXPECT_TRUE(flatFrame());

  // With the gradient: a border in BorderColor and the gradient's top colour inside.
  l.setGradientOnOver(true);
  outside();
  input.advance(10);
  expectPixels(dc, {{0, 0, translateColor(l.BorderColor())}, {159, 25, translateColor(l.BorderColor())}});
  EXPECT_NE(px(dc, 1, 13), flat);
}

TEST_F(Label, TransparentLabelShowsAndPassesClicksToWhatIsBehindBetweenItsLetters) {
  // Siblings stack in creation order, the first on top: the label, then the panel behind it.
  ZorvaXPLabel& l = label("lbl", 20, 20, 200, 30);
  TestXP& back = panel("back", 0, 0, 300, 100);
  back.setColorNormal(0x00FF00);  // pure green behind
  int backPresses = 0, labelPresses = 0;
  back.MouseDown.connect([&](int16_t&, int16_t&, float&, float&) { ++backPresses; });
  l.MouseDown.connect([&](int16_t&, int16_t&, float&, float&) { ++labelPresses; });
  l.setCaption("W I D E");
  l.setBackStyle(BackStyle::HBkTransparent);
  form->setUserMode(true);

  const HDC dc = l.surface().hDC();
  const COLORREF key = translateColor(0x8000000F);
  GdiObject shape(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(l.hWnd(), static_cast<HRGN>(shape.get())), 0);
  auto screen = ui::composeScreen();
  ASSERT_TRUE(screen);
  int through = 0, shown = 0;
  Point gap{-1, -1}, ink{-1, -1};
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 200; ++x) {
      const Point s = screenOf(l.hWnd(), Point{x, y});
      const uint32_t onScreen = screen->at(s.x, s.y) & 0xFFFFFF;
      if (!PtInRegion(static_cast<HRGN>(shape.get()), x, y)) {
        EXPECT_EQ(onScreen, 0x00FF00u) << x << "," << y;  // the parent's pixels show
        ++through;
        if (gap.x < 0 && x > 30 && y == 15) gap = Point{x, y};
        continue;
      }
      // What stays is the label's own text: never the background colour.
      const COLORREF mine = px(dc, x, y);
      EXPECT_NE(mine, key);
      EXPECT_EQ(onScreen, static_cast<uint32_t>(GetRValue(mine) << 16 | GetGValue(mine) << 8 | GetBValue(mine)));
      ++shown;
      if (ink.x < 0) ink = Point{x, y};
    }
  }
  EXPECT_GT(through, 3000);
  EXPECT_GT(shown, 20);
  ASSERT_GE(gap.x, 0);
  ASSERT_GE(ink.x, 0);
  input.moveTo(l.hWnd(), gap).click();
  EXPECT_EQ(std::pair(backPresses, labelPresses), std::pair(1, 0));
  input.moveTo(l.hWnd(), ink).click();
  EXPECT_EQ(labelPresses, 1);
}

// A transparent label read from a form file shows its caption: its shape is cut once the caption
// is painted, not from the blank surface it has while its properties are read.
TEST_F(Label, ATransparentLabelLoadedFromAFileShowsItsCaption) {
  const std::string text =
      "ZorvaXP Form 1\nBegin Form F\n  ClientWidth = Long 3000\n  ClientHeight = Long 900\n"
      "  BackColor = Long &H0000FF00&\n"
      "  Begin ZorvaXPLabel lbl\n    @Left = 150\n    @Top = 150\n    @Width = 2400\n    @Height = 300\n"
      "    Caption = String \"W I D E\"\n    BackStyle = Long 1\n    ForeColor = Long &H000000FF&\n  End\nEnd\n";
  auto loaded = host::Form::load(text, library::classes());
  ui::eventLoop().processPendingEvents();
  const HWND h = loaded->control("lbl")->as<ZorvaXPLabel>().hWnd();
  auto screen = ui::composeScreen();
  ASSERT_TRUE(screen);
  int red = 0, green = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 160; ++x) {
      const Point s = screenOf(h, Point{x, y});
      const uint32_t c = screen->at(s.x, s.y) & 0xFFFFFF;
      red += c == 0xFF0000u;  // the caption's ink
      green += c == 0x00FF00u;  // the form behind, between the letters
    }
  }
  EXPECT_GT(red, 5);
  EXPECT_GT(green, 2000);
}

TEST_F(Label, InTheDesignerATransparentLabelReshapesToANewCaption) {
  makeTextForm(false);
  ZorvaXPLabel& l = label("lbl", 20, 20, 200, 30);
  l.setCaption("I");
  l.setBackStyle(BackStyle::HBkTransparent);
  l.setCaption("WWWWWWWWWW");  // the resize step rebuilds the shape at design time
  GdiObject shape(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(l.hWnd(), static_cast<HRGN>(shape.get())), 0);
  int beyond = 0;  // shape pixels right of where the old caption ended
  for (int y = 0; y < 30; ++y)
    for (int x = 40; x < 200; ++x) beyond += PtInRegion(static_cast<HRGN>(shape.get()), x, y) ? 1 : 0;
  EXPECT_GT(beyond, 50);
}

TEST_F(Label, ExecuteLinkOpensTheHyperlinkThroughTheShell) {
  ZorvaXPLabel& l = label("lbl");
  l.setHyperlink("https://www.example.org/a b");
  host::callMethod(l, "ExecuteLink");
  ASSERT_EQ(services.shell->requests.size(), 1u);
  const services::ShellRequest& r = services.shell->requests[0];
  EXPECT_EQ(std::tuple(r.operation, r.file, r.owner, r.parameters, r.showCmd),
            std::tuple("Open", "https://www.example.org/a b", l.hWnd(), "", 9));
  l.setHyperlink("");
  l.ExecuteLink();
  EXPECT_EQ(services.shell->requests.size(), 1u);
}

TEST_F(Label, SoundPathsAreCheckedInTheDesignerOnly) {
  makeTextForm(false);
  ZorvaXPLabel& l = label("lbl");
  l.setSoundOnClicked("/no/such/file.wav");
  EXPECT_EQ(l.SoundOnClicked(), "");
  ASSERT_EQ(services.messageBoxes->shown.size(), 1u);
  EXPECT_EQ(services.messageBoxes->shown[0].caption, "Invalid File Path");
  makeTextForm(true);
  ZorvaXPLabel& r = label("lbl");
  r.setSoundOnOver("/no/such/file.wav");
  EXPECT_EQ(r.SoundOnOver(), "/no/such/file.wav");
  input.moveTo(r.hWnd(), Point{30, 10});
  EXPECT_TRUE(services.sound->played.empty());
}

TEST_F(Label, DefaultsCaptionContainerColourAndRoundTrip) {
  ZorvaXPLabel& a = label("ZorvaXPLabel3");
  EXPECT_EQ(std::tuple(a.Caption(), label("lblOther", 10, 50).Caption()), std::tuple("ZorvaXPLabel3", "ZorvaXPLabel"));
  EXPECT_FALSE(form->modified());  // creation defaults are not changes
  // AutoChangeBackColor takes the container's colour: the form's, or a frame's.
  EXPECT_EQ(a.BackColor(), form->BackColor());
  ZorvaXPFrame& f = frame("fra", 200, 100, 200, 150);
  f.setBackColor(0x123456);
  ZorvaXPLabel& inside = label("lblIn", 10, 40, 100, 24, &ext("fra"));
  EXPECT_EQ(inside.BackColor(), 0x123456u);

  a.setAutoSize(true);
  a.setBackStyle(BackStyle::HBkTransparent);
  a.setAlignment(text::AlignmentConst::HAlignCenter);
  a.setFontBold(true);
  a.setPicture(solidIcon(0x102030));
  a.setHyperlink("https://example.org/");
  const std::string saved = form->save();
  for (const char* line : {"FastTransparentUtilitiy = Integer 0", "AutoSize = Integer 1", "FontBold = Integer 1"})
    EXPECT_NE(saved.find(line), std::string::npos) << line;
  auto loaded = host::Form::load(saved, library::classes());
  EXPECT_EQ(loaded->save(), saved);
  EXPECT_FALSE(loaded->modified());
  const auto& b = loaded->control("ZorvaXPLabel3")->as<ZorvaXPLabel>();
  EXPECT_EQ(std::tuple(b.BackStyle(), b.FontBold(), b.Font()->bold()),
            std::tuple(BackStyle::HBkTransparent, true, true));

  // Wrong types are reported with their line.
  std::string bad = saved;
  bad.replace(bad.find("AutoSize = Integer 1"), 20, "AutoSize = String \"x\"");
  EXPECT_GT(loadErrorLine(bad, library::classes()), 5);
}

TEST_F(Label, MembersAndNoLeaks) {
  const auto& t = ZorvaXPLabel().memberTable();
  ASSERT_EQ(t.events().size(), 6u);
  EXPECT_EQ(t.events().back().name, "MouseOut");

  form.reset();
  ui::resetWindowSystem();
  const Leftovers before;
  makeTextForm(true);
  ZorvaXPLabel& l = label("lbl");
  l.setPicture(solidIcon(0x808080));
  l.setBackStyle(BackStyle::HBkTransparent);
  input.moveTo(l.hWnd(), Point{20, 10});
  form.reset();
  before.check();
}

}  // namespace
}  // namespace zxp::testing
