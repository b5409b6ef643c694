// Raising an event while its handlers change it: connections and disconnections made by a
// handler apply from the next raise, with one handler as with several, and a handler may even
// destroy the event it was raised from.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/host/Event.h"

namespace zxp::host {
namespace {

TEST(EventRaise, ChangesMadeByHandlersApplyFromTheNextRaise) {
  for (int handlers : {1, 3}) {
    Event<int> e;
    std::vector<std::string> log;
    Connection self = 0;
    self = e.connect([&](int& v) {
      log.push_back("first " + std::to_string(v));
      e.disconnect(self);
      e.connect([&](int& w) { log.push_back("added " + std::to_string(w)); });
    });
    for (int i = 1; i < handlers; ++i) e.connect([&, i](int& v) { log.push_back("other" + std::to_string(i) + " " + std::to_string(v)); });
    int one = 1, two = 2;
    e.raise(one);
    e.raise(two);
    std::vector<std::string> want{"first 1"};
    for (int i = 1; i < handlers; ++i) want.push_back("other" + std::to_string(i) + " 1");
    for (int i = 1; i < handlers; ++i) want.push_back("other" + std::to_string(i) + " 2");
    want.push_back("added 2");
    EXPECT_EQ(log, want) << handlers << " handlers";
  }
}

TEST(EventRaise, AHandlerMayDestroyTheEventItIsRaisedFrom) {
  for (int handlers : {1, 2}) {
    auto e = std::make_unique<Event<std::string>>();
    int calls = 0;
    e->connect([&](std::string& s) {
      ++calls;
      e.reset();
      s += " gone";  // the handler itself is still alive
    });
    if (handlers == 2) e->connect([&](std::string&) { ++calls; });
    std::string arg = "event";
    e->raise(arg);
    EXPECT_EQ(arg, "event gone");
    EXPECT_EQ(calls, handlers);  // the snapshot still runs the second handler
  }
}

TEST(EventRaise, AnEventNeverConnectedHasNothingToRaiseOrDisconnect) {
  Event<> e;
  EXPECT_FALSE(e.connected());
  EXPECT_FALSE(e.disconnect(1));
  e.raise();
  const Connection c = e.connect([] {});
  EXPECT_TRUE(e.connected());
  EXPECT_TRUE(e.disconnect(c));
  EXPECT_FALSE(e.connected());
  EXPECT_FALSE(e.disconnect(c));
}

TEST(EventRaise, DisconnectingAnyHandlerKeepsTheOthersInOrderAndTheEventBindableByName) {
  Event<int16_t, int16_t> e;
  std::vector<std::string> log;
  const Connection a = e.connect([&](int16_t& x, int16_t&) { log.push_back("a" + std::to_string(x)); });
  const Connection b = e.connect([&](int16_t& x, int16_t&) { log.push_back("b" + std::to_string(x)); });
  e.connect([&](int16_t& x, int16_t&) { log.push_back("c" + std::to_string(x)); });
  EXPECT_TRUE(e.disconnect(b));
  EXPECT_EQ(e.arity(), 2u);
  e.connectVariant([&](std::vector<Variant>& args) {
    log.push_back("named");
    args[1] = Variant(int16_t{7});
  });
  int16_t x = 1, y = 0;
  e.raise(x, y);
  EXPECT_EQ(log, (std::vector<std::string>{"a1", "c1", "named"}));
  EXPECT_EQ(y, 7);  // what the named handler stored reaches the raiser
  EXPECT_TRUE(e.disconnect(a));
  EXPECT_FALSE(e.disconnect(b));
  log.clear();
  e.raise(x, y);
  EXPECT_EQ(log, (std::vector<std::string>{"c1", "named"}));
}

}  // namespace
}  // namespace zxp::host
