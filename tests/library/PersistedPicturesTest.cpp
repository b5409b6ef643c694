// Pictures and mouse icons have no default in the property bag: every control writes each of its
// picture properties, an empty one as an empty picture, so a bag never loses one by omission.
#include <gtest/gtest.h>

#include "library/ClassTable.h"
#include "support/FormFixture.h"

namespace zxp::testing {
namespace {

using PersistedPictures = FormTest;

TEST_F(PersistedPictures, EveryControlWritesItsEmptyPicturesAsNone) {
  makeForm(true, &library::classes(), 9600, 7200);
  int checked = 0;
  for (const host::ControlClass& c : library::classes().classes()) {
    host::Extender& e = form->add(c.create(), c.name + "1", at(10, 10, 120, 60));
    host::PropertyBag bag;
    e.object().WriteProperties(bag);
    for (const host::Member& m : e.object().memberTable().members()) {
      if (m.kind != host::MemberKind::Property || m.type != host::Variant::Kind::Picture || m.indexed() ||
          m.readOnly())
        continue;
      if (!m.get(e.object()).toPicture().empty()) continue;  // a built-in picture is written anyway
      const host::PropertyBag::Entry* entry = bag.find(m.name);
      ASSERT_NE(entry, nullptr) << c.name << "." << m.name;
      EXPECT_EQ(entry->value.kind(), host::Variant::Kind::Picture) << c.name << "." << m.name;
      ++checked;
    }
  }
  EXPECT_GT(checked, 20);
}

}  // namespace
}  // namespace zxp::testing
