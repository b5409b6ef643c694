// The check box: its box, tick and greyed mark at their pixels, the caption's geometry, the
// backgrounds (gradient, the parent's colour, transparent over a painted parent), the input
// table with its event order and value changes, persistence and the class entry.

#include <set>

#include "buttons/ToggleFixture.h"
#include "foundation/modGradient.h"
#include "library/ClassTable.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/ui/Screen.h"
#include "support/PixelTable.h"
#include "support/PropertyTable.h"

namespace zxp::testing {
namespace {

using C = ZorvaXPCheckBox;

// Which box look is showing, by the inner frame's colour.
std::string look(const ZorvaXPCheckBox& c) {
  const POINT b = c.boxPosition();
  switch (GetPixel(c.surface().hDC(), b.x + 2, b.y + 5)) {
    case C::kBoxInnerFrame: return "resting";
    case C::kHoverInnerFrame: return "hover";
    case C::kBoxFrame: return "pressed";
    default: return "?";
  }
}

// ---- Looks ----

using CheckBoxLook = ToggleTest;

// The published tick: a long stroke (x + 12 - k ... x + 14 - k, t + k), k = 0..8, and a short
// one (x + 1 + j ... x + 3 + j, t + 5 + j), j = 0..3, with t = nearest((SH - 15) / 2 + 2).
TEST_F(CheckBoxLook, TickAndGreyedMarkSitAtTheirPixelsAtOddAndEvenHeights) {
  for (int h : {23, 26}) {
    SCOPED_TRACE(h);
    ZorvaXPCheckBox& c = checkBox("chk" + std::to_string(h), 120, h, 10, h * 3);
    const int x = 4, y = nearest((h - 15) / 2.0), t = nearest((h - 15) / 2.0 + 2);
    EXPECT_EQ(std::pair(c.boxPosition().x, c.boxPosition().y), std::pair(LONG{x}, LONG{y}));
    std::set<std::pair<int, int>> tick;
    for (int k = 0; k <= 8; ++k)
      for (int i = 0; i < 3; ++i) tick.insert({x + 12 - k + i, t + k});
    for (int j = 0; j <= 3; ++j)
      for (int i = 0; i < 3; ++i) tick.insert({x + 1 + j + i, t + 5 + j});

    c.setValue(CValueConst::Checked);
    const COLORREF color = translateColor(C::kTickColor);
    for (int py = y; py < y + 15; ++py)
      for (int pxl = x; pxl < x + 15; ++pxl)
        EXPECT_EQ(px(c, pxl, py) == color, tick.count({pxl, py}) == 1) << pxl << "," << py;

    // Greyed: the inner square filled with the tick colour, outlined in the frame colour.
    c.setValue(CValueConst::Greyed);
    for (int py = y + 2; py <= y + 12; ++py)
      for (int pxl = x + 2; pxl <= x + 12; ++pxl) {
        const bool edge = pxl == x + 2 || pxl == x + 12 || py == y + 2 || py == y + 12;
        EXPECT_EQ(px(c, pxl, py), edge ? C::kBoxFrame : color) << pxl << "," << py;
      }
    EXPECT_NE(px(c, x + 1, y + 7), color);
  }
}

TEST_F(CheckBoxLook, RestingHoverAndPressedBoxes) {
  ZorvaXPCheckBox& c = checkBox();
  const int x = 4, y = 4;
  // Resting: frame, a one-pixel gap of background, the inner frame, the blend (white at top).
  expectPixels(c.surface().hDC(), {{x, y, C::kBoxFrame}, {x + 14, y + 14, C::kBoxFrame}, {x + 2, y + 2, C::kBoxInnerFrame},
                                   {x + 12, y + 12, C::kBoxInnerFrame}});
  EXPECT_EQ(px(c, x + 15, y + 7), px(c, x + 1, y + 7));  // the gap shows the background
  const COLORREF top = px(c, x + 7, y + 3), bottom = px(c, x + 7, y + 11);
  EXPECT_GT(GetRValue(top), GetRValue(bottom));  // white at the top, light blue at the bottom
  EXPECT_EQ(look(c), "resting");

  input.moveTo(c.hWnd(), Point{60, 11});
  EXPECT_EQ(look(c), "hover");
  expectPixels(c.surface().hDC(),
               {{x + 1, y + 7, C::kWhite}, {x + 7, y + 7, C::kWhite}, {0, 0, translateColor(C::kBorderColorOnOver)}});

  input.press();
  EXPECT_EQ(look(c), "pressed");
  expectPixels(c.surface().hDC(), {{x + 7, y + 7, C::kPressedFill}, {x + 1, y + 7, C::kPressedFill}});
  input.release();  // the release redraws the resting look under the cursor
  EXPECT_EQ(std::tuple(look(c), px(c, 0, 0)), std::tuple("resting", translateColor(C::kBorderColor)));
}

TEST_F(CheckBoxLook, CaptionRectangleInBothAlignments) {
  ZorvaXPCheckBox& c = checkBox("chk", 100, 23);
  TEXTMETRIC tm;
  GetTextMetrics(c.surface().hDC(), &tm);
  const int top = nearest((23 - tm.tmHeight) / 2.0);
  const RECT left = c.captionRect();
  EXPECT_EQ(std::tuple(left.left, left.right, left.top, left.bottom), std::tuple(23, 98, top, top + tm.tmHeight));

  c.setAlignment(CAlignmentCtl1::CAlignRight);
  expectPixels(c.surface().hDC(), {{81, 4, C::kBoxFrame}, {95, 18, C::kBoxFrame}});
  // The caption spans x = 4 ... 76.
  EXPECT_EQ(std::tuple(c.boxPosition().x, c.captionRect().left, c.captionRect().right), std::tuple(81, 4, 77));

  // A caption that wraps takes the measured height, centred again.
  ZorvaXPCheckBox& tall = checkBox("tall", 90, 80, 10, 60);
  tall.setCaption("one two three four five six seven");
  const RECT r = tall.captionRect();
  const int measured = r.bottom - r.top;
  EXPECT_GT(measured, tm.tmHeight);
  EXPECT_EQ(r.top, nearest((80 - measured) / 2.0));
}

TEST_F(CheckBoxLook, GradientPlainAndDisabledBackgrounds) {
  ZorvaXPCheckBox& c = checkBox("chk", 120, 40);
  c.setCaption("");
  c.setBorderStyle(false);
  c.setGradientColor1(0x0000FF);
  c.setGradientColor2(0xFF0000);
  // GradientColor1 on the top line, GradientColor2 at the bottom.
  expectPixels(c.surface().hDC(), {{60, 0, 0x0000FF}, {60, 39, 0xFF0000}});
  c.setBorderStyle(true);
  expectPixels(c.surface().hDC(), {{0, 0, translateColor(C::kBorderColor)}, {119, 39, translateColor(C::kBorderColor)}});

  // Default background with AutoChangeBackColor: the parent form's colour.
  form->setBackColor(0x00336699);
  c.setBackStyle(CBackStyle::Default);
  EXPECT_EQ(std::tuple(c.BackColor(), px(c, 60, 2)), std::tuple(0x00336699u, 0x00336699u));
  c.setAutoChangeBackColor(false);
  c.setBackColor(0x00445566);
  EXPECT_EQ(px(c, 60, 2), 0x00445566u);

  c.setBorderStyle(false);
  EXPECT_EQ(px(c, 0, 0), 0x00445566u);
  c.setBorderStyle(true);
  c.setEnabled(false);
  EXPECT_EQ(px(c, 0, 0), C::kDisabledBorder);
}

// ---- The transparent shape ----

using CheckBoxTransparent = ToggleTest;

TEST_F(CheckBoxTransparent, TheComposedScreenShowsTheParentBetweenTheLetters) {
  TestXP& parent = add("pic", pixelsToTwips(5), pixelsToTwips(5), pixelsToTwips(260), pixelsToTwips(60));
  ZorvaXPCheckBox& c = checkBox("chk", 220, 30, 10, 10, &ext("pic"));
  c.setBackStyle(CBackStyle::Default);
  c.setBackingStyle(CBackingStyle::CBK_Transparent);
  c.setCaption("Wide transparent caption");
  // The parent paints a gradient after the check box has cut its shape.
  GradientFillVertical(parent.surface().hDC(), 260, 60, 0x00FF8000, 0x0000FFFF);

  const RECT cap = c.captionRect();
  const POINT box = c.boxPosition();
  const COLORREF silver = translateColor(C::kTransparentKey);
  auto screen = ui::composeScreen();
  RECT wr;
  GetWindowRect(c.hWnd(), &wr);
  RECT pr;
  GetWindowRect(parent.hWnd(), &pr);
  EXPECT_NE(px(parent, 5, 15), px(parent, 5, 55));  // the parent really is a gradient

  const Painted own = painted(c);
  int lettersSeen = 0, parentBetweenLetters = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 220; ++x) {
      const bool inBox = x >= box.x && x < box.x + 15 && y >= box.y && y < box.y + 15;
      const bool inCaption = x >= cap.left && x < cap.right && y >= cap.top && y < cap.bottom;
      const bool shown = inBox || (inCaption && own.at(x, y) != silver);
      ASSERT_EQ(inShape(c.hWnd(), x, y), shown) << x << "," << y;
      const Pixel onScreen = screen->at(wr.left + x, wr.top + y);
      const COLORREF under = px(parent, wr.left - pr.left + x, wr.top - pr.top + y);
      ASSERT_EQ(onScreen, oleToPixel(shown ? own.at(x, y) : under)) << x << "," << y;
      if (inCaption && shown && own.at(x, y) == 0) ++lettersSeen;
      if (inCaption && !shown) ++parentBetweenLetters;
    }
  EXPECT_GT(lettersSeen, 20);
  EXPECT_GT(parentBetweenLetters, 200);
}

TEST_F(CheckBoxTransparent, SilverCaptionTurnsBlackAndTheBorderGoes) {
  ZorvaXPCheckBox& c = checkBox();
  c.setBackStyle(CBackStyle::Default);
  c.setForeColor(C::kTransparentKey);
  EXPECT_EQ(c.ForeColor(), C::kTransparentKey);  // opaque: kept
  c.setBackingStyle(CBackingStyle::CBK_Transparent);
  EXPECT_EQ(std::tuple(c.ForeColor(), c.BackColor(), c.BorderStyle(), inShape(c.hWnd(), 0, 0)),
            std::tuple(0u, C::kTransparentKey, false, false));

  // A gradient background turns the transparency off again, and the full shape returns.
  c.setBackStyle(CBackStyle::CGradient);
  EXPECT_EQ(c.BackingStyle(), CBackingStyle::CBK_Opaque);
  EXPECT_FALSE(hasShape(c.hWnd()));
}

// ---- Input ----

class CheckBoxInput : public ToggleTest {
 protected:
  ZorvaXPCheckBox& logged(const std::string& name = "chk", int x = 10) {
    ZorvaXPCheckBox& c = checkBox(name, 120, 23, x, 10);
    auto note = [this, &c](const std::string& e) { log.push_back(e + ":" + look(c)); };
    c.Click.connect([=] { note("Click"); });
    c.DblClick.connect([=] { note("DblClick"); });
    c.MouseDown.connect([=](int16_t&, int16_t&, float&, float&) { note("MouseDown"); });
    c.MouseUp.connect([=](int16_t&, int16_t&, float&, float&) { note("MouseUp"); });
    c.KeyDown.connect([=](int16_t& k, int16_t&) { note("KeyDown " + std::to_string(k)); });
    c.KeyPress.connect([=](int16_t& k) { note("KeyPress " + std::to_string(k)); });
    c.KeyUp.connect([=](int16_t& k, int16_t&) { note("KeyUp " + std::to_string(k)); });
    return c;
  }
  std::vector<std::string> log;
};

TEST_F(CheckBoxInput, ClicksCycleGreyedUncheckedChecked) {
  ZorvaXPCheckBox& c = logged();
  c.setValue(CValueConst::Greyed);
  input.moveTo(c.hWnd(), Point{60, 11});
  log.clear();
  input.click();
  EXPECT_EQ(log, (std::vector<std::string>{"MouseDown:pressed", "MouseUp:pressed", "Click:resting"}));
  EXPECT_EQ(c.Value(), CValueConst::Unchecked);
  input.click();
  EXPECT_EQ(c.Value(), CValueConst::Checked);
  input.click();
  EXPECT_EQ(c.Value(), CValueConst::Unchecked);

  // Locked: the same events, the value stays.
  c.setValue(CValueConst::Checked);
  c.setLocked(true);
  input.advance(1000);  // long enough after the last click not to make a double click
  log.clear();
  input.click();
  EXPECT_EQ(log, (std::vector<std::string>{"MouseDown:pressed", "MouseUp:pressed", "Click:resting"}));
  EXPECT_EQ(c.Value(), CValueConst::Checked);

  // A value outside 0..2 is stored, drawn without a mark and never toggled.
  c.setLocked(false);
  c.setValue(static_cast<CValueConst>(7));
  input.click();
  EXPECT_EQ(static_cast<int>(c.Value()), 7);
  EXPECT_NE(px(c, 4 + 12, 6), translateColor(C::kTickColor));
}

TEST_F(CheckBoxInput, SpaceFocusAndAccessKey) {
  ZorvaXPCheckBox& c = logged();
  SetFocus(c.hWnd());
  EXPECT_EQ(look(c), "hover");  // receiving the focus
  log.clear();
  input.key(VK_SPACE);
  EXPECT_EQ(log, (std::vector<std::string>{"KeyDown 32:hover", "KeyPress 32:pressed", "KeyUp 32:pressed",
                                           "Click:resting"}));
  EXPECT_EQ(c.Value(), CValueConst::Checked);
  input.key('A');  // other keys are only raised
  EXPECT_EQ(c.Value(), CValueConst::Checked);

  c.setCaption("I &agree");
  EXPECT_EQ(c.AccessKeys(), "a");
  log.clear();
  input.altKey('a');
  EXPECT_EQ(c.Value(), CValueConst::Unchecked);
  std::vector<std::string> mouseAndClick;
  for (const std::string& e : log)
    if (e.rfind("Key", 0) != 0) mouseAndClick.push_back(e);
  EXPECT_EQ(mouseAndClick, (std::vector<std::string>{"MouseUp:resting", "Click:resting"}));

  ZorvaXPCheckBox& other = logged("other", 140);
  SetFocus(other.hWnd());
  EXPECT_EQ(look(c), "resting");  // losing the focus
}

TEST_F(CheckBoxInput, HoverPollingAndValueByCode) {
  ZorvaXPCheckBox& c = logged();
  input.moveTo(c.hWnd(), Point{60, 11});
  EXPECT_EQ(std::tuple(c.hoverTimer().running(), c.hoverTimer().Name()), std::tuple(true, "tmrHover"));
  input.press().moveBy(1, 0);
  EXPECT_FALSE(c.hoverTimer().Enabled());  // off while a button is held
  input.release().moveBy(1, 0);
  EXPECT_EQ(look(c), "hover");
  input.moveTo(form->hWnd(), Point{1, 1});
  EXPECT_EQ(look(c), "hover");
  input.advance(10);
  EXPECT_EQ(std::tuple(look(c), c.hoverTimer().running()), std::tuple("resting", false));

  log.clear();
  form->clearChanges();
  c.setValue(CValueConst::Checked);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(px(c, 4 + 5, 6 + 8), translateColor(C::kTickColor));
  ASSERT_EQ(form->changes().size(), 1u);
  EXPECT_EQ(form->changes()[0].property, "Value");
}

TEST_F(CheckBoxInput, ResizeKeepsAtLeast23Pixels) {
  ZorvaXPCheckBox& c = checkBox("chk", 10, 10);
  EXPECT_EQ(std::tuple(c.surface().ScaleWidth(), c.surface().ScaleHeight()), std::tuple(23, 23));
  ext("chk").setHeight(pixelsToTwips(12));
  EXPECT_EQ(c.surface().ScaleHeight(), 23);
  ext("chk").setHeight(pixelsToTwips(40));
  EXPECT_EQ(std::tuple(c.surface().ScaleHeight(), c.boxPosition().y), std::tuple(40, nearest((40 - 15) / 2.0)));
}

// ---- Persistence and class ----

using CheckBoxProperties = ToggleTest;

TEST_F(CheckBoxProperties, DefaultsTheBooleansWhoseBagDefaultIsOneAndTheEvents) {
  ZorvaXPCheckBox& a = checkBox("ZorvaXPCheckBox1");
  EXPECT_EQ(eventNames(a.memberTable()), (std::vector<std::string>{"Click", "DblClick", "KeyDown", "KeyPress", "KeyUp",
                                                                   "MouseDown", "MouseMove", "MouseUp"}));
  EXPECT_EQ(a.Caption(), "ZorvaXPCheckBox1");
  EXPECT_EQ(checkBox("chkAgree", 120, 23, 10, 40).Caption(), "ZorvaXPCheckBox");
  host::PropertyBag bag;
  a.WriteProperties(bag);
  // True differs from the bag default 1, so these two are always written; the font and the mouse
  // icon are objects without a default, written even when empty.
  EXPECT_EQ(bagKeys(bag), (std::vector<std::string>{"BorderStyle", "AutoChangeBackColor", "Font", "MouseIcon"}));
  EXPECT_EQ(bag.find("BorderStyle")->value.kind(), host::Variant::Kind::Boolean);

  // Absent, they read back as the integer 1: True to a reader, but the border is drawn only for
  // exactly True, so a check box loaded without the key has none.
  bag.erase("BorderStyle");
  bag.erase("AutoChangeBackColor");
  ZorvaXPCheckBox& b = addFromBag<ZorvaXPCheckBox>("chkB", bag, pixelsToTwips(120), pixelsToTwips(23));
  EXPECT_TRUE(b.BorderStyle() && b.AutoChangeBackColor());
  const COLORREF border = translateColor(ZorvaXPCheckBox::kBorderColor);
  EXPECT_EQ(px(a, 0, 0), border);
  EXPECT_NE(px(b, 0, 0), border);
  EXPECT_NE(px(b, 60, 22), border);
  // Every other absent key read back as its default; the 1 still held equals the bag default, so
  // only the other three keys are written again, and the next load draws no border either.
  host::PropertyBag again;
  b.WriteProperties(again);
  EXPECT_EQ(bagKeys(again), (std::vector<std::string>{"AutoChangeBackColor", "Font", "MouseIcon"}));
  // Set through the interface it is True again, and drawn.
  b.setBorderStyle(true);
  EXPECT_EQ(px(b, 0, 0), border);
}

TEST_F(CheckBoxProperties, EveryPropertyRoundTripsInPublishedOrder) {
  ZorvaXPCheckBox& a = checkBox("chkA");
  a.setAutoChangeBackColor(false);  // first: otherwise BackColor follows the form
  // In published order: the bag must hold the same keys in the same order, the font among them.
  const std::vector<PropertyRow> rows = {
      {"BackStyle", CBackStyle::Default}, {"BackColor", 0x010203}, {"GradientColor1", 0x040506},
      {"GradientColor2", 0x070809}, {"BorderStyle", false}, {"BorderColor", 0x111111},
      {"BorderColorOnOver", 0x222222}, {"Alignment", CAlignmentCtl1::CAlignRight}, {"AutoChangeBackColor", false},
      {"Caption", "&Remember me"}, {"ForeColor", 0x333333}, {"ForeColorHover", 0x444444}, {"FontBold", true},
      {"FontItalic", true}, {"FontUnderline", true}, {"FontStrikethru", true}, {"Value", CValueConst::Greyed},
      {"Locked", true}, {"TickColor", 0x555555}, {"TickColorHover", 0x666666}, {"Enabled", false},
      {"DisabledForeColor", 0x777777}, {"MousePointer", 11}};
  letAll(*form, "chkA", rows);
  EXPECT_TRUE(a.Font()->bold() && a.Font()->strikethrough);

  host::PropertyBag bag;
  a.WriteProperties(bag);
  EXPECT_EQ(bagKeys(bag), keysOf(rows, {{"Font", "ForeColor"}, {"MouseIcon", "MousePointer"}}));
  EXPECT_EQ(std::tuple(bag.find("Value")->value.kind(), bag.find("Alignment")->value.kind()),
            std::tuple(host::Variant::Kind::Integer, host::Variant::Kind::Integer));

  // Saved in a form file, loaded and saved again: the same text.
  const std::string text = form->save();
  auto again = host::Form::load(text, library::classes());
  EXPECT_EQ(std::tuple(again->save(), again->control("chkA")->as<ZorvaXPCheckBox>().AccessKeys()),
            std::tuple(text, "R"));
}

TEST_F(CheckBoxProperties, BadValuesInAFormFile) {
  const std::string text =
      "ZorvaXP Form 1\nBegin Form frm\n  Begin ZorvaXPCheckBox chk\n    @Width = 1800\n    @Height = 345\n"
      "    Value = Integer 9\n    Alignment = Integer -4\n  End\nEnd\n";
  auto f = host::Form::load(text, library::classes());
  const auto& c = f->control("chk")->as<ZorvaXPCheckBox>();
  // Any alignment but right draws on the left.
  EXPECT_EQ(std::tuple(static_cast<int>(c.Value()), c.boxPosition().x), std::tuple(9, 4));

  const std::string wrong =
      "ZorvaXP Form 1\nBegin Form frm\n  Begin ZorvaXPCheckBox chk\n    Value = String \"lots\"\n  End\nEnd\n";
  EXPECT_EQ(loadErrorLine(wrong, library::classes()), 4);
}

}  // namespace
}  // namespace zxp::testing
