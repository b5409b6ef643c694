// The push button's behaviour: input and events, looks over time, sounds, persistence, the
// default caption, setters and the class entry.

#include "buttons/ButtonFixture.h"
#include "library/ClassTable.h"
#include "platform/gfx/SysColors.h"
#include "platform/ui/User.h"
#include "support/PropertyTable.h"
#include "support/TempWave.h"

namespace zxp::testing {
namespace {

// Tells the looks apart by their border colours, which the test makes distinct.
class ButtonInput : public ButtonTest {
 protected:
  ZorvaXPButton& logged(const std::string& name = "cmd", int x = 10) {
    ZorvaXPButton& b = button(name, 75, 23, x, 10);
    b.setBorderColorNormal(0x000080);
    b.setBorderColorHighlight(0x008000);
    b.setBorderColorClick(0x800000);
    auto note = [this, &b](const std::string& e) { log.push_back(e + ":" + look(b)); };
    b.Click.connect([=] { note("Click"); });
    b.DblClick.connect([=] { note("DblClick"); });
    b.MouseDown.connect([=](int16_t&, int16_t&, float&, float&) { note("MouseDown"); });
    b.MouseUp.connect([=](int16_t&, int16_t&, float&, float&) { note("MouseUp"); });
    b.KeyDown.connect([=](int16_t& k, int16_t&) { note("KeyDown " + std::to_string(k)); });
    b.KeyPress.connect([=](int16_t& k) { note("KeyPress " + std::to_string(k)); });
    b.KeyUp.connect([=](int16_t& k, int16_t&) { note("KeyUp " + std::to_string(k)); });
    b.OnEnter.connect([=] { note("OnEnter"); });
    b.OnKeyEsc.connect([=] { note("OnKeyEsc"); });
    return b;
  }
  std::string look(const ZorvaXPButton& b) {
    switch (px(b, 20, 0)) {
      case 0x000080: return "resting";
      case 0x008000: return "hover";
      case 0x800000: return "pressed";
      default: return "?";
    }
  }
  void outside() { input.moveTo(form->hWnd(), Point{1, 1}); }
  std::vector<std::string> log;
};

// Space shows the pressed look, then hover, and raises no Click; Enter and Escape raise their
// events before KeyPress.
TEST_F(ButtonInput, SpaceEnterAndEscapeRaiseTheirEventsInOrder) {
  ZorvaXPButton& b = logged();
  SetFocus(b.hWnd());
  EXPECT_EQ(look(b), "hover");  // receiving the focus shows the hover look
  log.clear();
  input.key(VK_RETURN).key(VK_ESCAPE).key('A');
  EXPECT_EQ(log, (std::vector<std::string>{"KeyDown 13:hover", "OnEnter:hover", "KeyPress 13:hover", "KeyUp 13:hover",
                                           "KeyDown 27:hover", "OnKeyEsc:hover", "KeyPress 27:hover", "KeyUp 27:hover",
                                           "KeyDown 65:hover", "KeyPress 97:hover", "KeyUp 65:hover"}));
  EXPECT_FALSE(b.pressed());
  log.clear();
  input.key(VK_SPACE);
  EXPECT_EQ(log, (std::vector<std::string>{"KeyDown 32:hover", "KeyPress 32:pressed", "KeyUp 32:hover"}));
  EXPECT_TRUE(b.pressed());
}

TEST_F(ButtonInput, MousePressReleaseClickAndDoubleClick) {
  ZorvaXPButton& b = logged();
  input.moveTo(b.hWnd(), Point{30, 10});
  EXPECT_EQ(look(b), "hover");
  input.press().release();
  EXPECT_EQ(log, (std::vector<std::string>{"MouseDown:pressed", "MouseUp:hover", "Click:hover"}));
  // The pressed flag stays until the focus leaves: movements no longer redraw, and the timer
  // keeps the hover look while the button has the focus.
  EXPECT_TRUE(b.pressed() && b.focused());
  outside();
  input.advance(50);
  EXPECT_EQ(look(b), "hover");
  ZorvaXPButton& other = logged("other", 100);
  SetFocus(other.hWnd());
  EXPECT_EQ(look(b), "resting");
  EXPECT_FALSE(b.pressed() || b.focused());
  // A double click shows the pressed look.
  input.advance(1000).moveTo(b.hWnd(), Point{30, 10}).doubleClick();
  EXPECT_NE(std::find(log.begin(), log.end(), "DblClick:pressed"), log.end());
}

TEST_F(ButtonInput, TheTimerReturnsTheRestingLookWithinOneTick) {
  ZorvaXPButton& b = logged();
  input.moveTo(b.hWnd(), Point{30, 10});
  EXPECT_EQ(std::tuple(look(b), b.hoverTimer().running(), b.hoverTimer().Name()), std::tuple("hover", true, "tmr1"));
  outside();
  EXPECT_EQ(look(b), "hover");  // nothing tells the button the cursor left, until the tick
  input.advance(10);
  EXPECT_EQ(std::tuple(look(b), b.hoverTimer().running()), std::tuple("resting", false));

  // A property that only the hover look shows waits for the next hover redraw.
  input.moveTo(b.hWnd(), Point{30, 10});
  const COLORREF before = px(b, 1, 10);
  b.setForeColorHighlight(0x00FF00);
  b.setBorderColorHighlight(0x123456);
  EXPECT_EQ(std::tuple(px(b, 1, 10), look(b)), std::tuple(before, "hover"));
  input.moveBy(1, 0);
  EXPECT_EQ(px(b, 20, 0), 0x123456u);

  // Without HiglightMouseOver movements leave the resting look and start no timer.
  outside();
  input.advance(10);
  b.setHiglightMouseOver(false);
  input.moveTo(b.hWnd(), Point{30, 10});
  EXPECT_EQ(std::tuple(look(b), b.hoverTimer().running()), std::tuple("resting", false));
}

TEST_F(ButtonInput, HoverMarkAndSounds) {
  TempDir dir;
  const std::string over = writeWave(dir.file("over.wav"));
  const std::string clicked = writeWave(dir.file("clicked.wav"));
  ZorvaXPButton& b = logged();
  b.setSoundOnOver(over);
  b.setSoundOnClicked(clicked);
  input.moveTo(b.hWnd(), Point{30, 10}).moveBy(1, 0).moveBy(1, 1);
  ASSERT_EQ(services.sound->played.size(), 1u);
  EXPECT_EQ(std::tuple(services.sound->played[0].name, b.surface().Tag()), std::tuple(over, "OnOver"));
  outside();
  input.advance(10);
  EXPECT_EQ(b.surface().Tag(), "");
  input.moveTo(b.hWnd(), Point{30, 10}).press();
  ASSERT_EQ(services.sound->played.size(), 3u);
  EXPECT_EQ(std::tuple(services.sound->played[1].name, services.sound->played[2].name), std::tuple(over, clicked));
  input.release();

  // A path whose file has gone plays nothing, and is kept (run time).
  std::filesystem::remove(clicked);
  input.press().release();
  EXPECT_EQ(std::tuple(services.sound->played.size(), b.SoundOnClicked()), std::tuple(3u, clicked));
}

TEST_F(ButtonInput, AccessKeyRaisesClick) {
  ZorvaXPButton& b = logged();
  b.setCaption("&Save");
  EXPECT_EQ(b.AccessKeys(), "S");
  input.altKey('s');
  EXPECT_NE(std::find(log.begin(), log.end(), "Click:hover"), log.end());
}

// ---- Properties and persistence ----

using ButtonProperties = ButtonTest;

TEST_F(ButtonProperties, DefaultCaptionFromTheDisplayName) {
  EXPECT_EQ(button("ZorvaXPButton1").Caption(), "ZorvaXpButton1");
  EXPECT_EQ(button("cmdOK", 75, 23, 10, 40).Caption(), "ZorvaXp");
  EXPECT_EQ(button("Command12", 75, 23, 10, 70).Caption(), "ZorvaXp12");
}

TEST_F(ButtonProperties, DefaultsAreOmittedAndReadBack) {
  ZorvaXPButton& a = button("ZorvaXPButton1");
  host::PropertyBag bag;
  a.WriteProperties(bag);
  // Only the objects, which have no default: the font and the three pictures, empty ones as none.
  ASSERT_EQ(bagKeys(bag), (std::vector<std::string>{"Font", "Picture", "PictureHighlight", "MouseIcon"}));
  for (const char* picture : {"Picture", "PictureHighlight", "MouseIcon"})
    EXPECT_EQ(std::pair(bag.find(picture)->value.kind(), bag.find(picture)->value.toPicture().empty()),
              std::pair(host::Variant::Kind::Picture, true))
        << picture;

  ZorvaXPButton& b = addFromBag<ZorvaXPButton>("ZorvaXPButton2", bag, 1125, 345);
  EXPECT_EQ(b.Caption(), "ZorvaXpButton2");
  // Every absent key read back as its default: writing again omits them all the same way.
  host::PropertyBag again;
  b.WriteProperties(again);
  expectSameBag(again, bag);
  // ReadProperties ends with a full redraw: the shape is cut and the resting look drawn.
  EXPECT_EQ(std::tuple(px(b, 1, 1), px(b, 20, 0)), std::tuple(ZorvaXPButton::kCornerColor, translateColor(0xC00000)));
}

TEST_F(ButtonProperties, EveryPropertyRoundTripsWithItsKeyAndWidth) {
  ZorvaXPButton& a = button("cmdA");
  // In the interface's order: the bag must hold the same keys in the same order, objects among them.
  const std::vector<PropertyRow> rows = {
      {"ButtonStyle", ButtonStyleDType::XP}, {"GradientColorXP1", 0x010203}, {"GradientColorVistaXP2", 0x040506},
      {"HiglightMouseOver", false}, {"ClickButtonStyle", ClickButtonStyleDType::Flat},
      {"GradientColorHighlight", 0x070809}, {"Caption", "&Go"}, {"ForeColorNormal", 0x111111},
      {"ForeColorHighlight", 0x222222}, {"ForeColorClick", 0x333333}, {"PictureSize", PicSizeDtype::IMG_28X28},
      {"PicturePosition", PicturePositionDType::Bottom}, {"PictureSizeHighlight", PicSizeDtype::IMG_32X32},
      {"NormalColor", 0x444444}, {"NormalColorHighlight", 0x555555}, {"GradientColor", false}, {"Enabled", false},
      {"MousePointer", 11}, {"SoundOnOver", "over.wav"},  // run time: stored unchecked
      {"SoundOnClicked", "click.wav"}, {"BorderColorClick", 0x666666}, {"BorderColorNormal", 0x777777},
      {"BorderColorHighlight", 0x888888}};
  letAll(*form, "cmdA", rows);
  EXPECT_EQ(form->changes().size(), rows.size());
  EXPECT_EQ(form->changes().back().property, "BorderColorHighlight");

  host::PropertyBag bag;
  a.WriteProperties(bag);
  EXPECT_EQ(bagKeys(bag), keysOf(rows, {{"Font", "ForeColorNormal"}, {"Picture", "PictureSize"},
                                        {"PictureHighlight", "PictureSizeHighlight"}, {"MouseIcon", "SoundOnOver"}}));
  // Enumerations at their declared widths.
  std::vector<host::Variant::Kind> kinds;
  for (const char* key : {"ButtonStyle", "PicturePosition", "ClickButtonStyle", "PictureSize", "HiglightMouseOver"})
    kinds.push_back(bag.find(key)->value.kind());
  using K = host::Variant::Kind;
  EXPECT_EQ(kinds, (std::vector<K>{K::Integer, K::Integer, K::Long, K::Long, K::Boolean}));

  ZorvaXPButton& b = addFromBag<ZorvaXPButton>("cmdB", bag, 1125, 345);
  host::PropertyBag again;
  b.WriteProperties(again);
  expectSameBag(again, bag);
  EXPECT_EQ(b.AccessKeys(), "G");
}

TEST_F(ButtonProperties, OutOfRangeEnumerationsAreStoredUnchanged) {
  ZorvaXPButton& a = button("cmdA");
  a.setButtonStyle(static_cast<ButtonStyleDType>(-3));
  a.setClickButtonStyle(static_cast<ClickButtonStyleDType>(77));
  a.setPicturePosition(static_cast<PicturePositionDType>(12));
  host::PropertyBag bag;
  a.WriteProperties(bag);
  EXPECT_EQ(std::tuple(bag.read<int16_t>("ButtonStyle", 0), bag.read<int32_t>("ClickButtonStyle", 0),
                       bag.read<int16_t>("PicturePosition", 0)),
            std::tuple(-3, 77, 12));
}

TEST_F(ButtonProperties, SettersRedrawTheRestingLookOnlyWhereItShows) {
  ZorvaXPButton& a = button("cmdA");
  a.setBorderColorNormal(0x0000FF);
  EXPECT_EQ(px(a, 20, 0), 0x0000FFu);
  a.setGradientColorXP1(0x00FF00);  // resting face: redrawn at once (Vista face unchanged)
  a.setButtonStyle(ButtonStyleDType::XP);
  EXPECT_GE(GetGValue(px(a, 20, 1)), 0xF0);  // the XP face's top line is near GradientColorXP1
  const COLORREF face = px(a, 20, 12);
  a.setGradientColorHighlight(0x0000FF);  // hover and pressed looks only
  a.setNormalColorHighlight(0x0000FF);
  a.setClickButtonStyle(ClickButtonStyleDType::Flat);
  EXPECT_EQ(std::tuple(px(a, 20, 12), form->changes().back().property), std::tuple(face, "ClickButtonStyle"));
}

TEST_F(ButtonProperties, EventsInDeclaredOrderAndLateBinding) {
  ZorvaXPButton& a = button("cmdA");
  EXPECT_EQ(eventNames(a.memberTable()),
            (std::vector<std::string>{"Click", "DblClick", "MouseUp", "MouseDown", "KeyPress", "OnEnter", "OnKeyEsc",
                                      "KeyUp", "KeyDown", "MouseMove", "OLECompleteDrag", "OLEDragDrop", "OLEDragOver",
                                      "OLEGiveFeedback", "OLESetData", "OLEStartDrag"}));
  // Late-bound: OnEnter bound by name fires on Enter.
  int enters = 0;
  form->bindEvent("cmdA", "OnEnter", [&](std::vector<host::Variant>&) { ++enters; });
  SetFocus(a.hWnd());
  input.key(VK_RETURN);
  EXPECT_EQ(enters, 1);
  // Class names are found whatever their case.
  ASSERT_NE(library::classes().find("zorvaxpbutton"), nullptr);
  EXPECT_EQ(library::classes().find("zorvaxpbutton")->name, "ZorvaXPButton");
}

}  // namespace
}  // namespace zxp::testing
