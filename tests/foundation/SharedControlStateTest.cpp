// State that controls share or make only on first use, so that a form of many controls stays
// small: surfaces showing the same font object share one font handle, a control timer's owner
// hears each tick without a connection, and an event nobody connected still binds late.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/ControlTimer.h"
#include "foundation/SurfaceWindow.h"
#include "platform/base/HostError.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/Text.h"
#include "platform/gfx/Handles.h"
#include "platform/host/Event.h"
#include "platform/ui/EventLoop.h"
#include "support/FormFixture.h"

namespace zxp::testing {
namespace {

using SharedControlState = FormTest;

HGDIOBJ fontOf(const foundation::SurfaceWindow& s) { return GetCurrentObject(s.hDC(), OBJ_FONT); }

int textWidth(const foundation::SurfaceWindow& s, const char* text) {
  SIZE size{};
  GetTextExtentPoint32A(s.hDC(), text, static_cast<int>(std::string(text).size()), &size);
  return size.cx;
}

TEST_F(SharedControlState, SurfacesWithTheSameFontShareOneHandleUntilTheLastLetsGo) {
  auto big = std::make_shared<gfx::FontDesc>();
  big->name = "Arial";
  big->size = 16;
  auto small = std::make_shared<gfx::FontDesc>(*big);
  small->size = 8;
  const size_t before = handles().liveCount();

  auto a = std::make_unique<foundation::SurfaceWindow>();
  foundation::SurfaceWindow b, c;
  ASSERT_TRUE(a->create(form->hWnd(), Rect::fromXYWH(0, 0, 40, 20)));
  ASSERT_TRUE(b.create(form->hWnd(), Rect::fromXYWH(0, 30, 40, 20)));
  ASSERT_TRUE(c.create(form->hWnd(), Rect::fromXYWH(0, 60, 40, 20)));
  const size_t windows = handles().liveCount();
  const size_t perSurface = (windows - before) / 3;  // its window and DC
  a->setFont(big);
  b.setFont(big);
  c.setFont(small);
  EXPECT_EQ(fontOf(*a), fontOf(b));
  EXPECT_NE(fontOf(b), fontOf(c));
  EXPECT_EQ(handles().liveCount(), windows + 2);  // one handle per font object
  const int wide = textWidth(b, "Shared");
  EXPECT_GT(wide, textWidth(c, "Shared"));

  // Setting the same font again, or another surface letting go, leaves the handle working.
  b.setFont(big);
  a.reset();
  EXPECT_EQ(textWidth(b, "Shared"), wide);
  EXPECT_EQ(handles().liveCount(), windows - perSurface + 2);  // a's window went, the fonts stayed

  // Moving to the other font shares that one; the first font's handle goes with its last user.
  b.setFont(small);
  EXPECT_EQ(std::tuple(fontOf(b), handles().liveCount()), std::tuple(fontOf(c), windows - perSurface + 1));
  b.destroy();
  c.destroy();
  EXPECT_EQ(handles().liveCount(), before);
}

TEST_F(SharedControlState, ATimersOwnerHearsEachTickFirstAndMayStopOrDestroyIt) {
  struct Owner {
    std::vector<std::string>* log;
    std::unique_ptr<foundation::ControlTimer> timer;
    enum { Keep, Stop, Destroy, Refuse } action = Keep;
    static void tick(void* self) {
      auto* o = static_cast<Owner*>(self);
      o->log->push_back("owner");
      if (o->action == Stop) o->timer->setEnabled(false);
      if (o->action == Destroy) o->timer.reset();
      if (o->action == Refuse) throw HostError(380, "refused");
    }
  };
  std::vector<std::string> log;
  Owner owner{&log, std::make_unique<foundation::ControlTimer>("tmrTest", 10)};
  owner.timer->setOwnerTick(&Owner::tick, &owner);
  owner.timer->Timer.connect([&] { log.push_back("handler"); });
  owner.timer->setEnabled(true);
  ui::eventLoop().advance(10);
  EXPECT_EQ(log, (std::vector<std::string>{"owner", "handler"}));

  // Stopping in the owner's tick still lets this tick's handlers run, and ends the ticks.
  log.clear();
  owner.action = Owner::Stop;
  ui::eventLoop().advance(30);
  EXPECT_EQ(log, (std::vector<std::string>{"owner", "handler"}));
  EXPECT_FALSE(owner.timer->running());

  // A timer its owner destroys raises nothing more.
  log.clear();
  owner.action = Owner::Destroy;
  owner.timer->setEnabled(true);
  ui::eventLoop().advance(30);
  EXPECT_EQ(log, (std::vector<std::string>{"owner"}));
  EXPECT_EQ(owner.timer, nullptr);

  // An owner's tick that fails leaves nothing of its tick behind: destroying the timer later
  // (and any other) does not reach into the failed tick's stack (the sanitizer build checks).
  owner.timer = std::make_unique<foundation::ControlTimer>("tmrTest", 10);
  owner.timer->setOwnerTick(&Owner::tick, &owner);
  owner.action = Owner::Refuse;
  owner.timer->setEnabled(true);
  try {
    ui::eventLoop().advance(10);
  } catch (const HostError&) {
  }
  owner.timer.reset();
  foundation::ControlTimer other("tmrOther", 10);
}

TEST(EventsNeverConnected, BindLateWithTheirOwnArityAndCopiesStartEmpty) {
  host::Event<int16_t, std::string> a;
  host::Event<int16_t, std::string> b;  // same argument types: the same shared empty list
  host::Event<> c;
  host::EventBase& byName = a;
  EXPECT_EQ(std::tuple(byName.arity(), static_cast<host::EventBase&>(c).arity()), std::tuple(2u, 0u));
  const host::Connection k = byName.connectVariant([](std::vector<host::Variant>& args) {
    args[0] = host::Variant(int16_t{7});
    args[1] = host::Variant(std::string("changed"));
  });
  EXPECT_TRUE(a.connected());
  EXPECT_FALSE(b.connected());  // connecting one event leaves the others of its kind empty
  int16_t n = 1;
  std::string s = "text";
  a.raise(n, s);
  EXPECT_EQ(std::tuple(n, s), std::tuple(7, "changed"));
  b.raise(n, s);  // nothing connected: nothing changes

  host::Event<int16_t, std::string> copy(a);  // listeners belong to the original
  EXPECT_FALSE(copy.connected());
  EXPECT_TRUE(byName.disconnect(k) && !a.connected());
}

}  // namespace
}  // namespace zxp::testing
