// Events: what a control raises to its host. Arguments are passed by reference, so a handler may
// change them (the raiser sees the change, though controls do not read them back).
//
//   host::Event<int16_t, int16_t, float, float> MouseDown;          // in the control
//   MouseDown.connect([](int16_t& Button, int16_t& Shift, float& X, float& Y) { ... });
//   MouseDown.raise(button, shift, x, y);                            // lvalues
//
// Every event can also be bound by name with a handler that receives the arguments as Variants
// (EventBase::connectVariant); values the handler stores into them are written back to the
// raiser's arguments, as by-reference arguments of a late-bound handler are.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "platform/host/Variant.h"

namespace zxp::host {

using Connection = uint64_t;

// What every event shares, whatever its arguments: late binding by name (connectVariant),
// disconnecting and the connected test. An event is one pointer and has no virtual table: the
// pointer leads to its handler list, and an event nobody has connected to points at a shared,
// empty list of its argument types. That list also carries what depends on the argument types
// (the arity and the adapter for Variant handlers), so the common part needs no virtual calls.
class EventBase {
 public:
  using VariantHandler = std::function<void(std::vector<Variant>& args)>;

  size_t arity() const { return list_->kind->arity; }
  Connection connectVariant(VariantHandler handler) { return list_->kind->connectVariant(*this, std::move(handler)); }
  bool disconnect(Connection c) {
    auto& slots = list_->slots;
    for (auto it = slots.begin(); it != slots.end(); ++it) {
      if ((*it)->id == c) {
        slots.erase(it);
        return true;
      }
    }
    return false;
  }
  bool connected() const { return !list_->slots.empty(); }

  EventBase(const EventBase&) = delete;
  EventBase& operator=(const EventBase&) = delete;

 protected:
  struct SlotBase {
    Connection id;
  };
  // What an event's argument types decide.
  struct Kind {
    size_t arity;
    Connection (*connectVariant)(EventBase& event, VariantHandler handler);
  };
  struct SlotList {
    const Kind* kind;
    bool owned;  // false for the shared empty list of an event never connected
    std::vector<std::shared_ptr<SlotBase>> slots;
  };

  explicit EventBase(SlotList* empty) : list_(empty) {}
  ~EventBase() {
    if (list_->owned) delete list_;
  }

  // The event's own list, made on the first connection (most events of a form's controls are
  // never connected).
  SlotList& ownList() {
    if (!list_->owned) list_ = new SlotList{list_->kind, true, {}};
    return *list_;
  }
  static Connection nextConnection() {
    static Connection next = 0;
    return ++next;
  }

  SlotList* list_;
};

template <class... Args>
class Event final : public EventBase {
 public:
  using Handler = std::function<void(Args&...)>;

  Event() : EventBase(&emptyList()) {}
  // An event belongs to its object: copying an object does not copy who listens to it.
  Event(const Event&) : EventBase(&emptyList()) {}
  Event& operator=(const Event&) { return *this; }

  Connection connect(Handler h) {
    Connection c = nextConnection();
    auto slot = std::make_shared<Slot>();
    slot->id = c;
    slot->handler = std::move(h);
    ownList().slots.push_back(std::move(slot));
    return c;
  }

  // Calls every handler in the order they were connected. A handler may connect or disconnect
  // handlers (the change applies from the next raise), or destroy the event.
  void raise(Args&... args) const {
    const auto& slots = list_->slots;
    if (slots.empty()) return;
    if (slots.size() == 1) {  // the usual case: the snapshot is the one slot, no list copied
      const std::shared_ptr<SlotBase> only = slots.front();
      static_cast<Slot&>(*only).handler(args...);
      return;
    }
    auto snapshot = slots;
    for (const auto& s : snapshot) static_cast<Slot&>(*s).handler(args...);
  }
  void operator()(Args&... args) const { raise(args...); }

 private:
  struct Slot : SlotBase {
    Handler handler;
  };

  static Connection connectVariantTo(EventBase& base, VariantHandler handler) {
    return static_cast<Event&>(base).connect([handler = std::move(handler)](Args&... args) {
      std::vector<Variant> values{Variant(args)...};
      handler(values);
      if (values.size() != sizeof...(Args)) return;
      size_t i = 0;
      ((args = variantAs<Args>(values[i++])), ...);
    });
  }
  static SlotList& emptyList() {
    static constexpr Kind kind{sizeof...(Args), &connectVariantTo};
    // Never destroyed, so events in objects of static storage may outlive any order of exit.
    static SlotList* const empty = new SlotList{&kind, false, {}};
    return *empty;
  }
};

}  // namespace zxp::host
