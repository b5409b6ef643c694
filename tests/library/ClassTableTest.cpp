// The library's public surface: every class of the type library with distinct fixed
// identifiers, the private controls left out, the controls' container flags and toolbox bitmaps
// About at -552 on every control, the number ranges of properties and methods.
#include <gtest/gtest.h>

#include <set>

#include "library/ClassTable.h"
#include "library/TypeLibrary.h"
#include "platform/ui/EventLoop.h"

namespace zxp::library {
namespace {

TEST(TypeLibrary, IdentifiersAreDistinctAndReadBack) {
  std::set<std::string> seen;
  for (const TypeLibraryEntry& e : typeLibrary()) {
    for (const Guid* g : {&e.clsid, &e.iid, &e.eventsIid}) {
      if (g->isNull()) continue;
      EXPECT_TRUE(seen.insert(g->toString()).second) << e.name;
      Guid back;
      ASSERT_TRUE(Guid::parse(g->toString(), back));
      EXPECT_EQ(back, *g);
    }
    if (e.kind == ClassKind::Control) {
      EXPECT_FALSE(e.iid.isNull()) << e.name;
      EXPECT_FALSE(e.eventsIid.isNull()) << e.name;
    }
  }
  Guid g;
  EXPECT_FALSE(Guid::parse("{A5015A55-1643-4C2E-8D0A-C8B283692A7}", g));
  EXPECT_FALSE(Guid::parse("A5015A55x1643-4C2E-8D0A-C8B283692A7A", g));
  EXPECT_TRUE(Guid::parse("a5015a55-1643-4c2e-8d0a-c8b283692a7a", g));
  EXPECT_EQ(g.toString(), "{A5015A55-1643-4C2E-8D0A-C8B283692A7A}");
}

TEST(TypeLibrary, PrivateControlsAreLeftOut) {
  for (const char* name : {"ZorvaTextButton", "ProgressBarEx", "ZorvaSpinScroll", "ZorvaYear4DBK", "ZorvaMonth4DBK"})
    EXPECT_EQ(findByName(name), nullptr) << name;
}

TEST(ClassTable, ControlsCarryTheDeclaredFlagsAndBitmaps) {
  const struct {
    const char* name;
    uint32_t misc;
    int bitmap;
  } declared[] = {
      {"ZorvaForm", 0x2c191, 30000},           {"ZorvaXPListBox", 0x30191, 30001},
      {"ZorvaXPProgressBar", 0x20191, 30002},  {"ZorvaXPDPicker", 0x20191, 30003},
      {"ZorvaXPCalender", 0x20191, 30004},     {"ZorvaXPTextBox", 0x20191, 30005},
      {"ZorvaXPSpin", 0x20191, 30006},         {"ZorvaXpImageList", 0x20591, 30007},
      {"ZorvaXPOptionButton", 0x20191, 30008}, {"ZorvaXPStatusBar", 0x28191, 30009},
      {"ZorvaXPHookTab", 0x30191, 30010},      {"ZorvaXPButton", 0x29191, 30011},
      {"ZorvaXPToolBar", 0x28191, 30012},      {"ZorvaXPVScrollBar", 0x28191, 30013},
      {"ZorvaXPLabel", 0x28191, 30014},        {"ZorvaXPFrame", 0x30191, 30015},
      {"ZorvaXPHScrollBar", 0x20191, 30016},   {"ZorvaXPCheckBox", 0x20191, 30017},
  };
  ui::resetWindowSystem();
  for (const auto& p : declared) {
    const TypeLibraryEntry* e = findByName(p.name);
    ASSERT_NE(e, nullptr) << p.name;
    EXPECT_EQ(e->kind, ClassKind::Control);
    const host::ControlClass* c = classes().find(p.name);
    if (!c) continue;  // a control whose family has not landed yet is not served
    EXPECT_EQ(c->miscStatus, p.misc) << p.name;
    EXPECT_EQ(c->toolboxBitmap, p.bitmap) << p.name;
    // About at -552; properties and methods numbered in their own ranges, counted together.
    auto control = c->create();
    const host::MemberTable& t = control->memberTable();
    const host::Member* about = t.find("About");
    ASSERT_NE(about, nullptr) << p.name;
    EXPECT_EQ(about->dispid, host::DISPID_ABOUTBOX) << p.name;
    int32_t next = 0;
    for (const host::Member& m : t.members()) {
      if (m.dispid == host::DISPID_ABOUTBOX) continue;
      const int32_t base = m.kind == host::MemberKind::Property ? host::kPropertyDispIdBase : host::kMethodDispIdBase;
      EXPECT_EQ(m.dispid, base + next) << p.name << "." << m.name;
      ++next;
    }
  }
  // Every served control has its row in the type library.
  for (const host::ControlClass& c : classes().classes()) EXPECT_NE(findByName(c.name), nullptr) << c.name;
  ui::resetWindowSystem();
}

// Every class's member table builds (a parameter list that does not match its member's arguments
// refuses to), private controls and utility classes included, and names no more parameters than
// the member takes.
TEST(ClassTable, EveryMemberTableBuildsWithItsParameterNames) {
  ui::resetWindowSystem();
  std::vector<const host::MemberTable*> tables;
  for (const host::ControlClass& c : classesWithPrivate().classes()) {
    auto control = c.create();
    ASSERT_NO_THROW(tables.push_back(&control->memberTable())) << c.name;
  }
  for (const TypeLibraryEntry& e : typeLibrary()) {
    Creation made = create(e);
    if (made.object) {
      ASSERT_NO_THROW(tables.push_back(&made.object->memberTable())) << e.name;
    }
  }
  size_t named = 0;
  for (const host::MemberTable* t : tables)
    for (const host::Member& m : t->members()) {
      if (!m.params.empty()) {
        EXPECT_EQ(m.params.size(), m.argCount) << t->className() << "." << m.name;
      }
      named += !m.params.empty();
    }
  EXPECT_GT(named, 100u);
  ui::resetWindowSystem();
}

}  // namespace
}  // namespace zxp::library
