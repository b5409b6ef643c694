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

  size_t arity() const { return kind().arity; }
  Connection connectVariant(VariantHandler handler) { return kind().connectVariant(*this, std::move(handler)); }
  bool disconnect(Connection c) {
    for (SlotBase** link = &head_; !(*link)->isEnd(); link = &(*link)->next) {
      SlotBase* s = *link;
      if (s->id != c) continue;
      *link = s->next;
      release(s, kind().destroy);
      return true;
    }
    return false;
  }
  bool connected() const { return !head_->isEnd(); }

  EventBase(const EventBase&) = delete;
  EventBase& operator=(const EventBase&) = delete;

 protected:
  struct SlotBase;
  // What an event's argument types decide.
  struct Kind {
    size_t arity;
    Connection (*connectVariant)(EventBase& event, VariantHandler handler);
    void (*destroy)(SlotBase* slot);
  };
  // A connected handler, one allocation each, in a singly linked list that ends at the event
  // type's end mark (which carries the Kind, so an event is one pointer). A raise holds the
  // slots it calls, so a handler may disconnect others, or destroy the event, meanwhile.
  struct SlotBase {
    SlotBase* next = nullptr;
    Connection id = 0;  // 0 for the end mark
    uint32_t holds = 1;  // the list's own, and one per raise under way
    bool isEnd() const { return id == 0; }
  };
  struct EndMark : SlotBase {
    const Kind* kind;
  };

  explicit EventBase(EndMark* end) : head_(end) {}
  ~EventBase() {
    if (head_->isEnd()) return;  // never connected, as most of a control's events
    const Kind& k = kind();
    for (SlotBase* s = head_; !s->isEnd();) {
      SlotBase* next = s->next;
      release(s, k.destroy);
      s = next;
    }
  }

  const Kind& kind() const {
    const SlotBase* s = head_;
    while (!s->isEnd()) s = s->next;
    return *static_cast<const EndMark*>(s)->kind;
  }
  static void release(SlotBase* s, void (*destroy)(SlotBase*)) {
    if (--s->holds == 0) destroy(s);
  }
  // New handlers go last: they are called in the order they were connected.
  void append(SlotBase* slot) {
    SlotBase** link = &head_;
    while (!(*link)->isEnd()) link = &(*link)->next;
    slot->next = *link;
    *link = slot;
  }
  static Connection nextConnection() {
    static Connection next = 0;
    return ++next;
  }

  SlotBase* head_;
};

template <class... Args>
class Event final : public EventBase {
 public:
  using Handler = std::function<void(Args&...)>;

  Event() : EventBase(&endMark()) {}
  // An event belongs to its object: copying an object does not copy who listens to it.
  Event(const Event&) : EventBase(&endMark()) {}
  Event& operator=(const Event&) { return *this; }

  Connection connect(Handler h) {
    auto* slot = new Slot;
    slot->id = nextConnection();
    slot->handler = std::move(h);
    append(slot);
    return slot->id;
  }

  // Calls every handler in the order they were connected. A handler may connect or disconnect
  // handlers (the change applies from the next raise), or destroy the event.
  void raise(Args&... args) const {
    SlotBase* first = head_;
    if (first->isEnd()) return;
    if (first->next->isEnd()) {  // the usual case: one handler, nothing to list
      Held held(first);
      static_cast<Slot*>(first)->handler(args...);
      return;
    }
    std::vector<Held> snapshot;
    for (SlotBase* s = first; !s->isEnd(); s = s->next) snapshot.emplace_back(s);
    for (const Held& h : snapshot) static_cast<Slot*>(h.slot)->handler(args...);
  }
  void operator()(Args&... args) const { raise(args...); }

 private:
  struct Slot : SlotBase {
    Handler handler;
  };
  // A raise's hold on a slot.
  struct Held {
    SlotBase* slot;
    explicit Held(SlotBase* s) : slot(s) { ++s->holds; }
    Held(Held&& o) noexcept : slot(std::exchange(o.slot, nullptr)) {}
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    Held& operator=(Held&&) = delete;
    ~Held() {
      if (slot) release(slot, &destroySlot);
    }
  };

  static void destroySlot(SlotBase* s) { delete static_cast<Slot*>(s); }
  static Connection connectVariantTo(EventBase& base, VariantHandler handler) {
    return static_cast<Event&>(base).connect([handler = std::move(handler)](Args&... args) {
      std::vector<Variant> values{Variant(args)...};
      handler(values);
      if (values.size() != sizeof...(Args)) return;
      size_t i = 0;
      ((args = variantAs<Args>(values[i++])), ...);
    });
  }
  static EndMark& endMark() {
    static constexpr Kind kind{sizeof...(Args), &connectVariantTo, &destroySlot};
    // Never destroyed, so events in objects of static storage may outlive any order of exit.
    static EndMark* const end = new EndMark{{nullptr, 0, 1}, &kind};
    return *end;
  }
};

}  // namespace zxp::host
