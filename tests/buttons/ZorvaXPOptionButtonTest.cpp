// The option button: its picButton child (placement, round shape, face, dot), the caption and
// the transparent shape, the group rule (containers, Tab, Value by code at run and design time,
// locked members), input on picButton, hover polling, persistence, the class entry, and that a
// form of toggles leaves nothing behind.

#include "buttons/ToggleFixture.h"
#include "library/ClassTable.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "support/PropertyTable.h"

namespace zxp::testing {
namespace {

using O = ZorvaXPOptionButton;

// picButton's rectangle in the control's client area.
RECT buttonRect(const ZorvaXPOptionButton& o) {
  RECT r;
  GetWindowRect(o.buttonSurface().hWnd(), &r);
  POINT tl{r.left, r.top};
  ScreenToClient(o.hWnd(), &tl);
  return RECT{tl.x, tl.y, tl.x + (r.right - r.left), tl.y + (r.bottom - r.top)};
}

bool dotShown(const ZorvaXPOptionButton& o) {
  return GetPixel(o.buttonSurface().hDC(), 6, 6) == translateColor(o.TickColor());
}

// ---- picButton and the looks ----

using OptionLook = ToggleTest;

TEST_F(OptionLook, PicButtonIsARoundChildWindowBesideTheCaption) {
  ZorvaXPOptionButton& o = option("opt", 120, 23);
  const HWND b = o.buttonSurface().hWnd();
  EXPECT_EQ(GetParent(b), o.hWnd());
  RECT r = buttonRect(o);
  EXPECT_EQ(std::tuple(r.left, r.top, r.right - r.left, r.bottom - r.top, o.captionRect().left, o.captionRect().right),
            std::tuple(4, nearest((23 - 14 + 2) / 2.0), 14, 14, 22, 118));

  // The round shape, as any rasterisation of the circle has it: symmetric, holding the centre,
  // leaving out the corners.
  ASSERT_TRUE(hasShape(b));
  for (POINT c : {POINT{0, 0}, POINT{13, 0}, POINT{0, 13}, POINT{13, 13}}) EXPECT_FALSE(inShape(b, c.x, c.y));
  EXPECT_TRUE(inShape(b, 7, 7) && inShape(b, 6, 6));
  // Symmetric about the diagonal, and mirror-symmetric about its middle column and row (at 6 or
  // 6.5, depending on whether the right column and bottom row belong to the box).
  auto mirrored = [&](int m) {
    for (int y = 0; y < 14; ++y)
      for (int x = 0; x <= m; ++x)
        if (inShape(b, x, y) != inShape(b, m - x, y) || inShape(b, y, x) != inShape(b, y, m - x)) return false;
    return true;
  };
  for (int y = 0; y < 14; ++y)
    for (int x = 0; x < 14; ++x) EXPECT_EQ(inShape(b, x, y), inShape(b, y, x)) << x << "," << y;
  EXPECT_TRUE(mirrored(12) || mirrored(13));

  o.setAlign(VOptionAlign::Align_Right);
  r = buttonRect(o);
  EXPECT_EQ(std::tuple(r.left, o.captionRect().left, o.captionRect().right), std::tuple(120 - 14 - 4, 4, r.left - 2));

  // Any other Align: no caption at all.
  o.setAlign(static_cast<VOptionAlign>(5));
  EXPECT_EQ(std::tuple(o.captionRect().right - o.captionRect().left, buttonRect(o).left), std::tuple(0, 4));
}

TEST_F(OptionLook, FaceRingDotAndPressedFace) {
  ZorvaXPOptionButton& o = option();
  const auto& b = o.buttonSurface();
  EXPECT_FALSE(dotShown(o));
  const COLORREF restingCentre = px(b, 6, 6);
  auto ringCount = [&](COLORREF c) {
    int n = 0;
    for (int y = 0; y < 14; ++y)
      for (int x = 0; x < 14; ++x) n += px(b, x, y) == c;
    return n;
  };
  EXPECT_GT(ringCount(O::kRing), 10);
  EXPECT_GT(GetRValue(px(b, 7, 3)), GetRValue(px(b, 7, 10)));  // white at the top, blue below

  o.setBorderColor(0x00FF00);
  EXPECT_EQ(ringCount(0x00FF00), 0);
  o.setValue(true);
  EXPECT_TRUE(dotShown(o));
  EXPECT_GE(ringCount(0x00FF00), 8);  // the dot's outline

  // Hover: the ring and the dot take their hover colours.
  input.moveTo(o.hWnd(), Point{60, 11});
  EXPECT_GT(ringCount(O::kRingHover), 10);
  EXPECT_EQ(std::tuple(px(b, 6, 6), px(o, 0, 0), o.hoverTimer().Interval()),
            std::tuple(translateColor(O::kTickHoverColor), translateColor(O::kBorderColorHover), 13u));

  // The pressed face while the button is held: the group (this one too) is cleared.
  input.press();
  EXPECT_FALSE(o.Value());
  EXPECT_NE(px(b, 6, 6), restingCentre);
  EXPECT_GT(ringCount(O::kRing), 10);
  input.release();
  EXPECT_TRUE(o.Value() && dotShown(o));
}

TEST_F(OptionLook, TransparentShapeKeepsTheCircleAndTheLetters) {
  ZorvaXPOptionButton& o = option("opt", 160, 30);
  o.setCaption("Transparent option");
  o.setBackStyle(VOBackStyle::OB_Opaque);
  o.setBackingStyle(VOBackingStyle::OBK_Transparent);
  const RECT b = buttonRect(o), cap = o.captionRect();
  EXPECT_TRUE(inShape(o.hWnd(), b.left + 7, b.top + 7));
  EXPECT_FALSE(inShape(o.hWnd(), b.left, b.top) || inShape(o.hWnd(), 0, 0));
  const COLORREF background = translateColor(o.surface().BackColor());
  const Painted own = painted(o);
  int letters = 0, holes = 0;
  for (int y = cap.top; y < cap.bottom; ++y)
    for (int x = cap.left; x < cap.right; ++x) {
      const bool bg = own.at(x, y) == background;
      EXPECT_EQ(inShape(o.hWnd(), x, y), !bg) << x << "," << y;
      (bg ? holes : letters) += 1;
    }
  EXPECT_GT(letters, 20);
  EXPECT_GT(holes, 200);

  // A gradient background cannot be transparent: the style turns opaque and the shape goes.
  o.setBackStyle(VOBackStyle::OB_Gradient);
  EXPECT_EQ(o.BackingStyle(), VOBackingStyle::OBK_Opaque);
  EXPECT_FALSE(hasShape(o.hWnd()));
}

// ---- The group ----

class OptionGroup : public ToggleTest {
 protected:
  // Three option buttons in a container control and one on the form, all selected by code.
  void build() {
    add("fra", pixelsToTwips(5), pixelsToTwips(5), pixelsToTwips(150), pixelsToTwips(100));
    a = &option("optA", 120, 23, 5, 5, &ext("fra"));
    b = &option("optB", 120, 23, 5, 35, &ext("fra"));
    c = &option("optC", 120, 23, 5, 65, &ext("fra"));
    d = &option("optD", 120, 23, 170, 10);
    for (ZorvaXPOptionButton* o : {a, b, c, d}) o->setValue(true);
  }
  std::vector<bool> values() const { return {a->Value(), b->Value(), c->Value(), d->Value()}; }
  ZorvaXPOptionButton *a = nullptr, *b = nullptr, *c = nullptr, *d = nullptr;
};

TEST_F(OptionGroup, PressingOneClearsItsContainersGroupOnly) {
  build();
  EXPECT_EQ(values(), (std::vector<bool>{true, true, true, true}));  // by code at run time
  EXPECT_EQ(b->Group(), (std::vector<ZorvaXPOptionButton*>{a, b, c}));
  EXPECT_EQ(d->Group(), (std::vector<ZorvaXPOptionButton*>{d}));
  // A press on the control's own surface raises MouseDown before it clears the group and draws
  // the pressed face; the focus it brings selects the button first (MouseDown after drawing).
  std::vector<std::string> seen;
  b->MouseDown.connect([&](int16_t&, int16_t&, float&, float&) { seen.push_back(dotShown(*b) ? "dot" : "no dot"); });
  input.moveTo(b->hWnd(), Point{60, 11}).click();
  EXPECT_EQ(seen, (std::vector<std::string>{"no dot", "dot"}));
  EXPECT_EQ(values(), (std::vector<bool>{false, true, false, true}));
  EXPECT_EQ(std::tuple(dotShown(*a), dotShown(*b), dotShown(*d)), std::tuple(false, true, true));

  // Clicking picButton works the same way and gives the control the focus.
  std::vector<std::string> log;
  c->MouseDown.connect([&](int16_t&, int16_t&, float&, float&) {
    log.push_back(std::string("MouseDown pressed=") + (dotShown(*c) ? "no" : "yes"));
  });
  c->MouseUp.connect([&](int16_t&, int16_t&, float&, float&) { log.push_back("MouseUp"); });
  c->Click.connect([&] { log.push_back("Click"); });
  input.moveTo(c->buttonSurface().hWnd(), Point{7, 7}).click();
  EXPECT_EQ(values(), (std::vector<bool>{false, false, true, true}));
  EXPECT_EQ(GetFocus(), c->hWnd());
  // The focus selects first (MouseDown, MouseUp), then picButton's own press and release.
  EXPECT_EQ(log, (std::vector<std::string>{"MouseDown pressed=yes", "MouseUp", "MouseDown pressed=yes", "MouseUp",
                                           "Click"}));
}

TEST_F(OptionGroup, TabbingOntoAButtonOrItsAccessKeySelectsIt) {
  build();
  SetFocus(a->hWnd());
  EXPECT_EQ(values(), (std::vector<bool>{true, false, false, true}));
  int downs = 0, ups = 0;
  b->MouseDown.connect([&](int16_t&, int16_t&, float&, float&) { ++downs; });
  b->MouseUp.connect([&](int16_t&, int16_t&, float&, float&) { ++ups; });
  input.key(VK_TAB);
  ASSERT_EQ(GetFocus(), b->hWnd());
  EXPECT_EQ(values(), (std::vector<bool>{false, true, false, true}));
  EXPECT_EQ(std::tuple(downs, ups), std::tuple(1, 1));
  input.key(VK_SPACE);  // keys are only raised
  EXPECT_EQ(values(), (std::vector<bool>{false, true, false, true}));
  // The access key selects and clicks.
  c->setCaption("&Third");
  int clicks = 0;
  c->Click.connect([&] { ++clicks; });
  input.altKey('t');
  EXPECT_EQ(values(), (std::vector<bool>{false, false, true, true}));
  EXPECT_EQ(clicks, 1);
}

TEST_F(OptionGroup, ValueByCodeClearsTheGroupOnlyAtDesignTime) {
  build();
  a->setValue(true);
  EXPECT_EQ(values(), (std::vector<bool>{true, true, true, true}));

  makeForm(false);  // a designer
  build();
  form->clearChanges();
  b->setValue(true);
  EXPECT_EQ(values(), (std::vector<bool>{false, true, false, true}));
  // Each member's setter reported its change, the siblings' without a group update of their own.
  std::vector<std::string> changed;
  for (const auto& ch : form->changes()) changed.push_back(ch.control + "." + ch.property);
  EXPECT_EQ(changed, (std::vector<std::string>{"optA.Value", "optB.Value", "optC.Value", "optB.Value"}));
}

TEST_F(OptionGroup, ALockedButtonKeepsItsGroupAndShowsItsDot) {
  build();
  b->setLocked(true);
  EXPECT_TRUE(dotShown(*b));
  int downs = 0;
  b->MouseDown.connect([&](int16_t&, int16_t&, float&, float&) { ++downs; });
  input.moveTo(b->hWnd(), Point{60, 11}).click();
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(values(), (std::vector<bool>{true, true, true, true}));
  // Selecting another member still clears it.
  input.moveTo(a->hWnd(), Point{60, 11}).click();
  EXPECT_EQ(values(), (std::vector<bool>{true, false, false, true}));
  EXPECT_FALSE(dotShown(*b));
  // A locked button that is not selected stays unselected.
  input.moveTo(b->hWnd(), Point{60, 11}).click();
  EXPECT_FALSE(b->Value());
}

// ---- Hover, persistence, class, teardown ----

using OptionProperties = ToggleTest;

TEST_F(OptionProperties, HoverPollingReturnsTheRestingLook) {
  ZorvaXPOptionButton& o = option();
  input.moveTo(o.buttonSurface().hWnd(), Point{7, 7});
  EXPECT_EQ(px(o, 0, 0), translateColor(O::kBorderColorHover));
  EXPECT_TRUE(o.hoverTimer().running());
  input.moveTo(form->hWnd(), Point{1, 1});
  input.advance(12);
  EXPECT_EQ(px(o, 0, 0), translateColor(O::kBorderColorHover));  // 13 ms between ticks
  input.advance(1);
  EXPECT_EQ(px(o, 0, 0), translateColor(O::kBorderColor));
  EXPECT_FALSE(o.hoverTimer().running());
}

TEST_F(OptionProperties, KeysInDeclaredOrderRoundTripAndEvents) {
  ZorvaXPOptionButton& a = option("Option1");
  EXPECT_EQ(a.Caption(), "Option1");
  host::PropertyBag bag;
  a.WriteProperties(bag);
  EXPECT_EQ(bagKeys(bag), (std::vector<std::string>{"AutoChangeBackColor", "Font", "MouseIcon"}));

  a.setBackStyle(VOBackStyle::OB_Opaque);  // first: a gradient would make the style opaque again
  a.setAlign(VOptionAlign::Align_Right);  // by name, Align is the container's property
  // In the interface's order: the bag must hold the same keys in the same order, the font among them.
  const std::vector<PropertyRow> rows = {
      {"ButtonGradientColor1", 0x010101}, {"ButtonGradientColor2", 0x020202},
      {"AutoChangeBackColor", false}, {"BackColor", 0x030303}, {"BackingStyle", VOBackingStyle::OBK_Transparent},
      {"GradientColor1", 0x040404}, {"GradientColor2", 0x050505}, {"BackStyle", VOBackStyle::OB_Opaque},
      {"BorderStyle", false}, {"BorderColor", 0x060606}, {"Caption", "&Yes"}, {"BorderColorHover", 0x070707},
      {"ForeColor", 0x080808}, {"ForeColorHover", 0x090909}, {"TickColor", 0x0A0A0A}, {"TickHoverColor", 0x0B0B0B},
      {"Value", true}, {"Locked", true}, {"DisabledForeColor", 0x0C0C0C}, {"Enabled", false}, {"FontBold", true},
      {"FontItalic", true}, {"FontStrikethru", true}, {"FontUnderline", true}, {"MousePointer", 2}};
  letAll(*form, "Option1", rows);
  bag.clear();
  a.WriteProperties(bag);
  EXPECT_EQ(bagKeys(bag), keysOf(rows, {{"Align", "ButtonGradientColor1"}, {"Font", "FontBold"}, {"MouseIcon", "MousePointer"}}));
  const std::string text = form->save();
  EXPECT_EQ(host::Form::load(text, library::classes())->save(), text);

  EXPECT_EQ(eventNames(a.memberTable()), (std::vector<std::string>{"Click", "DblClick", "MouseDown", "MouseMove",
                                                                    "MouseUp", "KeyDown", "KeyPress", "KeyUp"}));
}

TEST_F(OptionProperties, AFormOfTogglesLeavesNothingBehind) {
  form.reset();
  ui::resetWindowSystem();
  const Leftovers before;
  makeForm(true);
  add("fra", pixelsToTwips(5), pixelsToTwips(5), pixelsToTwips(150), pixelsToTwips(60));
  ZorvaXPOptionButton& o = option("opt", 120, 23, 5, 5, &ext("fra"));
  ZorvaXPCheckBox& c = checkBox("chk", 120, 23, 170, 10);
  c.setBackStyle(CBackStyle::Default);
  c.setBackingStyle(CBackingStyle::CBK_Transparent);
  o.setBackStyle(VOBackStyle::OB_Opaque);
  o.setBackingStyle(VOBackingStyle::OBK_Transparent);
  input.moveTo(o.buttonSurface().hWnd(), Point{7, 7}).click();
  input.moveTo(c.hWnd(), Point{60, 11}).click();
  EXPECT_GT(ui::eventLoop().timerCount(), before.timers);
  form.reset();
  before.check();
}

}  // namespace
}  // namespace zxp::testing
