// Small checks the control tests share: the keys a control wrote, the events it declares, the
// line a damaged form file fails at, and that a torn-down form left no handle or timer behind.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/Handles.h"
#include "platform/host/Form.h"
#include "platform/host/FormFile.h"
#include "platform/host/MemberTable.h"
#include "platform/ui/EventLoop.h"

namespace zxp::testing {

// The keys of a property bag in the order they were written.
inline std::vector<std::string> bagKeys(const host::PropertyBag& bag) {
  std::vector<std::string> keys;
  for (const auto& e : bag.entries()) keys.push_back(e.key);
  return keys;
}

// Two bags hold the same keys in the same order with equal values.
inline void expectSameBag(const host::PropertyBag& a, const host::PropertyBag& b) {
  ASSERT_EQ(bagKeys(a), bagKeys(b));
  for (size_t i = 0; i < a.size(); ++i)
    EXPECT_TRUE(a.entries()[i].value == b.entries()[i].value) << a.entries()[i].key;
}

// The names of the events a member table declares, in order.
inline std::vector<std::string> eventNames(const host::MemberTable& t) {
  std::vector<std::string> names;
  for (const host::EventMember& e : t.events()) names.push_back(e.name);
  return names;
}

// The line a form file fails to load at; 0 when it loads.
inline int loadErrorLine(std::string_view text, const host::ClassRegistry& classes) {
  try {
    host::Form::load(text, classes);
  } catch (const host::FormFileError& e) {
    return e.line();
  }
  return 0;
}

// Counts the live handles and timers when made; check() expects the same counts again.
struct Leftovers {
  size_t handles = zxp::handles().liveCount();
  size_t timers = ui::eventLoop().timerCount();
  void check() const {
    EXPECT_EQ(zxp::handles().liveCount(), handles);
    EXPECT_EQ(ui::eventLoop().timerCount(), timers);
  }
};

}  // namespace zxp::testing
