#include <gtest/gtest.h>

#include <filesystem>

#include "foundation/AboutBox.h"
#include "platform/gfx/SysColors.h"
#include "platform/services/Library.h"
#include "platform/ui/Input.h"
#include "support/FormFixture.h"
#include "support/TempWave.h"

namespace zxp::testing {
namespace {

using ControlBase = FormTest;

COLORREF pixelOf(const TestXP& c, int x = 3, int y = 3) { return GetPixel(c.surface().hDC(), x, y); }

TEST_F(ControlBase, LifecycleAndTheShellLibrary) {
  EXPECT_EQ(services::libraryRefCount("Shell32.dll"), 0);
  TestXP& a = add("Test1");
  EXPECT_EQ(a.lifecycle, (std::vector<std::string>{"Initialize", "InitProperties", "Resize"}));
  EXPECT_EQ(a.Caption(), "Test1");  // InitProperties takes the ambient display name
  ASSERT_TRUE(a.Font());
  EXPECT_EQ(*a.Font(), *form->Font());  // and the ambient font
  TestXP& b = add("Test2", 300, 1200);
  EXPECT_EQ(services::libraryRefCount("Shell32.dll"), 2);
  HWND h = b.hWnd();
  EXPECT_TRUE(IsWindow(h));
  form->remove(ext("Test2"));
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(services::libraryRefCount("Shell32.dll"), 1);
  form.reset();
  EXPECT_EQ(services::libraryRefCount("Shell32.dll"), 0);
}

TEST_F(ControlBase, DefaultsAreOmittedFromTheBagAndReadBack) {
  TestXP& a = add("Test1");
  host::PropertyBag bag;
  a.WriteProperties(bag);
  // Every property is at its default: only the objects, persisted without a default, are written.
  EXPECT_EQ(bagKeys(bag), (std::vector<std::string>{"Picture", "Font", "MouseIcon"}));

  // A control loading that bag reads it instead of initialising, and takes its own name.
  TestXP& b = addFromBag<TestXP>("Test2", bag, 900, 300);
  EXPECT_EQ(b.lifecycle, (std::vector<std::string>{"Initialize", "ReadProperties", "Resize"}));
  EXPECT_EQ(b.Caption(), "Test2");
  EXPECT_EQ(pixelOf(b), translateColor(TestXP::kNormal));  // drawn once at the end of the read

  // Non-default values travel; writing a default again removes the key.
  b.setStyle(TestXP::StyleType::Raised);
  b.setHiglightMouseOver(false);
  b.setEnabled(false);
  host::PropertyBag bag2;
  b.WriteProperties(bag2);
  EXPECT_EQ(bag2.ReadProperty("Style").kind(), host::Variant::Kind::Integer);
  EXPECT_EQ(bag2.ReadProperty("HiglightMouseOver").toVBBool(), vbFalse);
  EXPECT_EQ(bag2.ReadProperty("Enabled").kind(), host::Variant::Kind::Boolean);
  b.setStyle(TestXP::StyleType::Flat);
  b.WriteProperties(bag2);
  EXPECT_FALSE(bag2.contains("Style"));
}

TEST_F(ControlBase, SettersStoreThenRedrawThenNotify) {
  TestXP& a = add("Test1");
  size_t drawsBefore = a.drawn.size();
  size_t changesBefore = form->changes().size();
  a.setCaption("Hello");
  ASSERT_EQ(a.drawn.size(), drawsBefore + 1);
  EXPECT_EQ(a.drawn.back().what, "resting Hello");         // stored before the redraw
  EXPECT_EQ(a.drawn.back().changesBefore, changesBefore);  // notified after it
  ASSERT_EQ(form->changes().size(), changesBefore + 1);
  EXPECT_EQ(form->changes().back().control, "Test1");
  EXPECT_EQ(form->changes().back().property, "Caption");
  EXPECT_TRUE(form->modified());

  // A property of the hover look is stored and reported without a redraw.
  a.setColorHover(0x123456);
  EXPECT_EQ(std::tuple(a.drawn.size(), form->changes().back().property), std::tuple(drawsBefore + 1, "ColorHover"));

  // The same through the member table, by name.
  form->let("Test1", "ColorNormal", int32_t{0x00FF00});
  EXPECT_EQ(pixelOf(a), translateColor(0x00FF00));
  EXPECT_EQ(form->changes().back().property, "ColorNormal");
  EXPECT_EQ(form->get("Test1", "Caption").toString(), "Hello");
  EXPECT_EQ(form->get("Test1", "Left").toLong(), 300);  // extender properties first
}

TEST_F(ControlBase, DelegatedPropertiesLiveOnTheSurface) {
  TestXP& a = add("Test1");
  HWND h = a.hWnd();
  size_t draws = a.drawn.size();

  a.setEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(h));
  EXPECT_EQ(a.drawn.size(), draws + 1);  // Enabled changes the resting look
  EXPECT_EQ(form->changes().back().property, "Enabled");
  a.setEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(h));

  a.setMousePointer(11);  // hourglass
  EXPECT_EQ(ui::GetWindowCursor(h), ui::cursorForMousePointer(11, 0));
  EXPECT_EQ(form->changes().back().property, "MousePointer");

  auto argb = gfx::Surface::create(16, 16);
  argb->fill(0xFF0000FFu);
  gfx::Picture icon = gfx::Picture::fromIcon(gfx::createIconFromArgb(*argb));
  a.setMouseIcon(icon);
  a.setMousePointer(ui::vbCustom);
  EXPECT_EQ(ui::GetWindowCursor(h), static_cast<HCURSOR>(icon.Handle()));

  gfx::FontDesc tahoma;
  tahoma.name = "Tahoma";
  tahoma.size = 12;
  tahoma.setBold(true);
  a.setFont(std::make_shared<const gfx::FontDesc>(tahoma));
  char face[LF_FACESIZE] = {};
  GetTextFace(a.surface().hDC(), LF_FACESIZE, face);
  EXPECT_STREQ(face, "Tahoma");
  EXPECT_EQ(form->changes().back().property, "Font");
}

TEST_F(ControlBase, HoverLookEndsWithinOneTickWithoutAnotherMouseMessage) {
  TestXP& a = add("Test1");
  int moves = 0;
  a.MouseMove.connect([&](int16_t&, int16_t&, float&, float&) { ++moves; });

  input.moveTo(a.hWnd());
  EXPECT_EQ(std::tuple(a.drawn.back().what, pixelOf(a)), std::tuple("hover", translateColor(TestXP::kHover)));
  EXPECT_TRUE(a.hoverTimer().running());
  EXPECT_EQ(a.hoverTimer().Interval(), 1u);  // runs at the platform's 10 ms minimum

  // The cursor jumps onto the form: the control hears nothing of it.
  int movesInside = moves;
  input.moveTo(form->hWnd(), Point{2, 2});
  EXPECT_EQ(moves, movesInside);
  input.advance(9);
  EXPECT_EQ(a.drawn.back().what, "hover");
  input.advance(1);  // the first tick
  EXPECT_EQ(std::tuple(a.drawn.back().what, pixelOf(a)), std::tuple("resting Test1", translateColor(TestXP::kNormal)));
  EXPECT_FALSE(a.hoverTimer().running());
  EXPECT_EQ(moves, movesInside);

  // The top row of the window counts as outside (CursorOutsideWindow's strict test).
  input.moveTo(a.hWnd());
  RECT r;
  GetWindowRect(a.hWnd(), &r);
  SetCursorPos(r.left + 5, r.top);
  input.advance(10);
  EXPECT_FALSE(a.hoverTimer().running());

  // Without the highlight, movements draw nothing and start no timer.
  a.setHiglightMouseOver(false);
  size_t draws = a.drawn.size();
  input.moveTo(a.hWnd()).moveBy(3, 1);
  EXPECT_EQ(a.drawn.size(), draws);
  EXPECT_FALSE(a.hoverTimer().running());
}

TEST_F(ControlBase, HoverSoundOncePerEntryAndItsPathCheckedAtDesignTimeOnly) {
  TempDir dir;
  std::string missing = dir.file("missing.wav");

  makeForm(false);  // a designer
  TestXP& d = add("Test1");
  d.setSoundOnOver(missing);
  ASSERT_EQ(services.messageBoxes->shown.size(), 1u);
  const auto& box = services.messageBoxes->shown[0];
  EXPECT_EQ(box.text, "You have entered invalid file path. Please enter correct path name.");
  EXPECT_EQ(box.caption, "Invalid File Path");
  EXPECT_EQ(box.icon(), MB_ICONHAND);
  EXPECT_EQ(d.SoundOnOver(), "");
  EXPECT_EQ(form->changes().back().property, "SoundOnOver");  // still reported
  // An existing file passes the check.
  std::string good = writeWave(dir.file("good.wav"));
  d.setSoundOnOver(good);
  EXPECT_EQ(std::tuple(d.SoundOnOver(), services.messageBoxes->shown.size()), std::tuple(good, 1u));

  makeForm(true);  // the running application
  TestXP& r = add("Test1");
  r.setSoundOnOver(missing);
  EXPECT_EQ(std::tuple(r.SoundOnOver(), services.messageBoxes->shown.size()), std::tuple(missing, 1u));
  input.moveTo(r.hWnd()).moveBy(1, 0);
  EXPECT_TRUE(services.sound->played.empty());  // no sound while the file is missing
  EXPECT_EQ(r.surface().Tag(), "OnOver");
  // The tick that sees the cursor outside clears the mark; once the file exists, the next entry
  // plays it, once however the cursor moves inside.
  input.moveTo(form->hWnd(), Point{2, 2}).advance(10);
  EXPECT_EQ(r.surface().Tag(), "");
  writeWave(missing);
  input.moveTo(r.hWnd()).moveBy(2, 0).moveBy(2, 1);
  ASSERT_EQ(services.sound->played.size(), 1u);
  EXPECT_EQ(std::tuple(services.sound->played[0].name, r.surface().Tag()), std::tuple(missing, "OnOver"));
  input.moveTo(form->hWnd(), Point{2, 2}).advance(10);
  input.moveTo(r.hWnd()).moveBy(1, 1);
  EXPECT_EQ(services.sound->played.size(), 2u);
}

TEST_F(ControlBase, AccessKeysComeFromTheCaption) {
  using foundation::ControlBase;
  EXPECT_EQ(ControlBase::accessKeyOf("&About"), "A");
  EXPECT_EQ(ControlBase::accessKeyOf("Save &as"), "a");
  EXPECT_EQ(ControlBase::accessKeyOf("Save&"), std::nullopt);
  EXPECT_EQ(ControlBase::accessKeyOf("Plain"), std::nullopt);
  EXPECT_EQ(ControlBase::accessKeyOf("A&b&c"), "b");
  // A character of several bytes is kept whole, never cut to its first byte.
  EXPECT_EQ(ControlBase::accessKeyOf("&\xC3\x9C" "ber"), "\xC3\x9C");          // U+00DC
  EXPECT_EQ(ControlBase::accessKeyOf("Caf&\xE2\x82\xAC"), "\xE2\x82\xAC");  // U+20AC, last
  EXPECT_EQ(ControlBase::accessKeyOf("&\xF0\x9F\x98\x80!"), "\xF0\x9F\x98\x80");

  TestXP& about = add("Test1");
  TestXP& save = add("Test2", 300, 1200);
  TestXP& other = add("Test3", 300, 2100);
  about.setCaption("&About");
  save.setCaption("Save&");
  other.setCaption("Other");
  EXPECT_EQ(std::tuple(about.AccessKeys(), ext("Test1").AccessKeys(), save.AccessKeys()), std::tuple("A", "A", ""));
  int aboutClicks = 0, saveClicks = 0;
  about.Click.connect([&] { ++aboutClicks; });
  save.Click.connect([&] { ++saveClicks; });

  SetFocus(other.hWnd());
  input.altKey('A');
  EXPECT_EQ(aboutClicks, 1);
  EXPECT_TRUE(about.focused());  // the access key also gives the focus
  input.altKey('S');
  EXPECT_EQ(saveClicks, 0);
  EXPECT_TRUE(about.focused());
  // Keys pressed without Alt are ordinary keys.
  input.type("a");
  EXPECT_EQ(aboutClicks, 1);
}

TEST_F(ControlBase, FocusFlagsAndTheDefaultLostFocusRedraw) {
  TestXP& a = add("Test1");
  TestXP& b = add("Test2", 300, 1200);
  input.moveTo(a.hWnd()).press();
  EXPECT_TRUE(a.focused());  // a click gives the focus
  EXPECT_TRUE(a.pressed());
  input.release();
  size_t draws = a.drawn.size();
  SetFocus(b.hWnd());
  EXPECT_FALSE(a.focused() || a.pressed());
  EXPECT_EQ(std::tuple(a.drawn.size(), a.drawn.back().what.rfind("resting", 0)), std::tuple(draws + 1, 0u));
  EXPECT_TRUE(b.focused());
}

TEST_F(ControlBase, AboutShowsOneModalBoxAtATime) {
  TestXP& a = add("Test1");
  // A box that, while shown, is asked again (a timer or a second click during the modal loop).
  struct Reentrant final : services::MessageBoxBackend {
    TestXP* control = nullptr;
    int shown = 0;
    bool visibleDuring = false;
    int show(HWND, const std::string& text, const std::string& caption, UINT) override {
      ++shown;
      EXPECT_EQ(caption, "About ZorvaXP");
      EXPECT_FALSE(text.empty());
      visibleDuring = foundation::AboutBox::Visible();
      control->About();
      return IDOK;
    }
  };
  auto box = std::make_shared<Reentrant>();
  box->control = &a;
  services::setMessageBoxBackend(box);
  host::callMethod(a, "About");
  EXPECT_EQ(box->shown, 1);
  EXPECT_TRUE(box->visibleDuring);
  EXPECT_FALSE(foundation::AboutBox::Visible());
  a.About();
  EXPECT_EQ(box->shown, 2);
  services::setMessageBoxBackend(services.messageBoxes);
}

TEST_F(ControlBase, MouseEventsReachHandlersByReference) {
  TestXP& a = add("Test1");
  std::vector<float> seen;
  form->bindEvent("Test1", "MouseDown", [&](std::vector<host::Variant>& args) {
    seen = {static_cast<float>(args[0].toInteger()), static_cast<float>(args[1].toInteger()), args[2].toSingle(),
            args[3].toSingle()};
    args[0] = int16_t{4};
  });
  int16_t after = 0;
  a.MouseDown.connect([&](int16_t& Button, int16_t&, float&, float&) { after = Button; });
  int clicks = 0;
  a.Click.connect([&] { ++clicks; });
  input.moveTo(a.hWnd(), Point{7, 5});
  input.keyDown(VK_SHIFT).click().keyUp(VK_SHIFT);
  ASSERT_EQ(seen.size(), 4u);
  // Left button, Shift, X and Y in pixels; the named handler changed Button for the handlers
  // after it.
  EXPECT_EQ(std::tuple(seen[0], seen[1], seen[2], seen[3], after, clicks), std::tuple(1.0f, 1.0f, 7.0f, 5.0f, 4, 1));
}

// A control built from another one.
class Holder final : public foundation::ControlBase {
 public:
  TestXP* child = nullptr;
  const host::MemberTable& memberTable() const override {
    static const host::MemberTable table = host::ClassMembers<Holder>("Holder").build();
    return table;
  }

 protected:
  void UserControl_Initialize() override {
    host::ExtenderRecord r;
    r.left = 150;
    r.top = 150;
    r.width = 600;
    r.height = 300;
    child = &addConstituent<TestXP>("Button", r);
  }
};

TEST_F(ControlBase, ConstituentControlsLiveInsideTheirParent) {
  makeForm(false);
  host::ExtenderRecord r;
  r.width = 1500;
  r.height = 900;
  Holder& h = form->add(std::make_unique<Holder>(), "Holder1", r).as<Holder>();
  ASSERT_TRUE(h.child);
  EXPECT_EQ(GetParent(h.child->hWnd()), h.hWnd());
  EXPECT_TRUE(IsWindowVisible(h.child->hWnd()));
  EXPECT_EQ(h.child->lifecycle, (std::vector<std::string>{"Initialize", "InitProperties", "Resize"}));
  EXPECT_FALSE(h.child->extender()->Ambient().UserMode);  // the parent's ambient properties
  EXPECT_EQ(h.child->Caption(), "Button");
  EXPECT_EQ(form->Controls().size(), 1u);  // not one of the form's controls
  EXPECT_EQ(services::libraryRefCount("Shell32.dll"), 2);
  // The child's changes are its parent's business, not the form's.
  size_t changes = form->changes().size();
  h.child->setCaption("x");
  EXPECT_EQ(form->changes().size(), changes);
  form.reset();
  EXPECT_EQ(services::libraryRefCount("Shell32.dll"), 0);
}

}  // namespace
}  // namespace zxp::testing
