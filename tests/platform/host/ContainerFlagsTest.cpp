// What the container does with the class table's flags: default and cancel buttons (Enter and
// Escape at form level), alignment only for alignable classes, invisible-at-run-time classes,
// and nesting only inside simple frames, which carry their controls with them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/Edit.h"
#include "platform/ui/User.h"
#include "support/FormFixture.h"

namespace zxp::testing {
namespace {

class ContainerFlags : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    auto like = [](const char* name, uint32_t flags) {
      host::ControlClass c = TestXP::controlClass();
      c.name = name;
      c.miscStatus = flags;
      return c;
    };
    registry.add(like("TestPlain", 0x20191));
    registry.add(like("TestHidden", 0x20191 | host::OLEMISC_INVISIBLEATRUNTIME));
  }
  TestXP& addAs(const char* cls, const std::string& name, int32_t left = 300, host::Extender* container = nullptr,
                host::ExtenderRecord r = {}) {
    r.left = left;
    r.top = 300;
    r.width = 1200;
    r.height = 450;
    return form->add(registry, cls, name, r, container).as<TestXP>();
  }
  void logClicks(TestXP& c, const std::string& name) {
    c.Click.connect([this, name] { log.push_back(name); });
  }
  std::vector<std::string> log;
};

TEST_F(ContainerFlags, EnterAndEscapeGoToTheDefaultAndCancelButtons) {
  TestXP& ok = addAs("TestXP", "cmdOK", 300);
  TestXP& cancel = addAs("TestXP", "cmdCancel", 1800);
  TestXP& plain = addAs("TestPlain", "txt", 3300);
  logClicks(ok, "OK");
  logClicks(cancel, "Cancel");
  int plainKeys = 0;
  plain.KeyDown.connect([&](int16_t&, int16_t&) { ++plainKeys; });
  ext("cmdOK").setDefault(true);
  ext("cmdCancel").setCancel(true);

  SetFocus(plain.hWnd());
  input.key(VK_RETURN).key(VK_ESCAPE);
  EXPECT_EQ(log, (std::vector<std::string>{"OK", "Cancel"}));
  EXPECT_EQ(plainKeys, 0);  // the form took both keys
  // A focused control that acts like a button keeps Enter; Escape still cancels.
  log.clear();
  SetFocus(cancel.hWnd());
  input.key(VK_RETURN).key(VK_ESCAPE);
  EXPECT_EQ(log, (std::vector<std::string>{"Cancel"}));
  // One default per form: a new one takes over; a disabled default takes nothing.
  ext("cmdCancel").setDefault(true);
  EXPECT_FALSE(ext("cmdOK").Default());
  log.clear();
  SetFocus(plain.hWnd());
  cancel.setEnabled(false);
  input.key(VK_RETURN);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(plainKeys, 1);  // the key went on to the focus window
  // Only classes that act like buttons can be either.
  EXPECT_THROW(ext("txt").setDefault(true), HostError);
  EXPECT_THROW(host::letProperty(ext("txt"), "Cancel", host::Variant(true)), HostError);

  // The form file keeps them.
  const std::string saved = form->save();
  EXPECT_NE(saved.find("@Cancel = True"), std::string::npos);
  auto loaded = host::Form::load(saved, registry);
  EXPECT_EQ(loaded->defaultButton()->Name(), "cmdCancel");
  EXPECT_EQ(loaded->save(), saved);
}

TEST_F(ContainerFlags, EnterStaysWithAWindowThatWantsAllKeys) {
  TestXP& ok = addAs("TestXP", "cmdOK", 300);
  logClicks(ok, "OK");
  ext("cmdOK").setDefault(true);
  TestXP& holder = addAs("TestPlain", "holder", 1800);
  HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 60, 20, holder.hWnd(), 0, 0,
                              nullptr);
  ASSERT_TRUE(edit);
  SetFocus(edit);
  input.key(VK_RETURN);
  EXPECT_TRUE(log.empty());
  DestroyWindow(edit);
}

TEST_F(ContainerFlags, OnlyAlignableClassesAlign) {
  addAs("TestPlain", "plain");
  EXPECT_THROW(ext("plain").setAlign(host::Align::vbAlignTop), HostError);
  EXPECT_EQ(ext("plain").Align(), host::Align::vbAlignNone);
  EXPECT_NO_THROW(ext("plain").setAlign(host::Align::vbAlignNone));
  addAs("TestXP", "bar");
  ext("bar").setAlign(host::Align::vbAlignBottom);
  EXPECT_EQ(ext("bar").Top() + ext("bar").Height(), form->ScaleHeight());
  host::ExtenderRecord r;
  r.align = host::Align::vbAlignLeft;
  EXPECT_THROW(addAs("TestPlain", "plain2", 300, nullptr, r), HostError);
  EXPECT_EQ(form->control("plain2"), nullptr);
  // In a form file: refused with the control's line.
  EXPECT_EQ(loadErrorLine("ZorvaXP Form 1\nBegin Form F\n  Begin TestPlain p\n    @Align = 1\n  End\nEnd\n", registry), 3);
}

TEST_F(ContainerFlags, InvisibleAtRunTimeShowsOnlyInTheDesigner) {
  TestXP& h = addAs("TestHidden", "img");
  ext("img").setVisible(true);
  EXPECT_TRUE(ext("img").Visible());
  EXPECT_FALSE(IsWindowVisible(h.hWnd()));
  EXPECT_TRUE(form->tabOrder().empty());
  form->setUserMode(false);
  EXPECT_TRUE(IsWindowVisible(h.hWnd()));
  form->setUserMode(true);
  EXPECT_FALSE(IsWindowVisible(h.hWnd()));
}

TEST_F(ContainerFlags, OnlySimpleFramesHoldControlsAndTheyCarryThem) {
  addAs("TestPlain", "plain");
  EXPECT_THROW(addAs("TestXP", "in1", 150, &ext("plain")), HostError);
  EXPECT_EQ(form->control("in1"), nullptr);
  TestXP& frame = addAs("TestXP", "frame", 1800);
  TestXP& inner = addAs("TestXP", "inner", 150, &ext("frame"));
  EXPECT_THROW(ext("inner").setContainer(&ext("plain")), HostError);
  int presses = 0;
  inner.MouseDown.connect([&](int16_t&, int16_t&, float&, float&) { ++presses; });

  // Hidden with the frame, disabled with it, out of sight when the frame is too small.
  ext("frame").setVisible(false);
  EXPECT_FALSE(IsWindowVisible(inner.hWnd()));
  ext("frame").setVisible(true);
  frame.setEnabled(false);
  EXPECT_EQ(form->tabOrder().size(), 1u);  // the plain control only
  input.moveTo(inner.hWnd(), Point{5, 5}).click();
  EXPECT_EQ(presses, 0);
  frame.setEnabled(true);
  input.moveTo(inner.hWnd(), Point{5, 5}).click();
  EXPECT_EQ(presses, 1);
  ext("frame").setHeight(60);  // 4 pixels: the control at 20 pixels is clipped away
  EXPECT_EQ(form->tabOrder().size(), 2u);
}

}  // namespace
}  // namespace zxp::testing
