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

class EventBase {
 public:
  using VariantHandler = std::function<void(std::vector<Variant>& args)>;
  virtual ~EventBase() = default;
  virtual size_t arity() const = 0;
  virtual Connection connectVariant(VariantHandler handler) = 0;
  virtual bool disconnect(Connection c) = 0;
  virtual bool connected() const = 0;

 protected:
  static Connection nextConnection() {
    static Connection next = 0;
    return ++next;
  }
};

template <class... Args>
class Event final : public EventBase {
 public:
  using Handler = std::function<void(Args&...)>;

  Event() = default;
  // An event belongs to its object: copying an object does not copy who listens to it.
  Event(const Event&) {}
  Event& operator=(const Event&) { return *this; }

  Connection connect(Handler h) {
    Connection c = nextConnection();
    if (!slots_) slots_ = std::make_unique<std::vector<std::shared_ptr<Slot>>>();
    slots_->push_back(std::make_shared<Slot>(Slot{c, std::move(h)}));
    return c;
  }

  bool disconnect(Connection c) override {
    if (!slots_) return false;
    for (auto it = slots_->begin(); it != slots_->end(); ++it) {
      if ((*it)->id == c) {
        slots_->erase(it);
        return true;
      }
    }
    return false;
  }

  bool connected() const override { return slots_ && !slots_->empty(); }
  size_t arity() const override { return sizeof...(Args); }

  // Calls every handler in the order they were connected. A handler may connect or disconnect
  // handlers (the change applies from the next raise).
  void raise(Args&... args) const {
    if (!slots_ || slots_->empty()) return;
    if (slots_->size() == 1) {  // the usual case: the snapshot is the one slot, no list copied
      const std::shared_ptr<Slot> only = slots_->front();
      only->handler(args...);
      return;
    }
    auto snapshot = *slots_;
    for (const auto& s : snapshot) s->handler(args...);
  }
  void operator()(Args&... args) const { raise(args...); }

  Connection connectVariant(VariantHandler handler) override {
    return connect([handler = std::move(handler)](Args&... args) {
      std::vector<Variant> values{Variant(args)...};
      handler(values);
      if (values.size() != sizeof...(Args)) return;
      size_t i = 0;
      ((args = variantAs<Args>(values[i++])), ...);
    });
  }

 private:
  struct Slot {
    Connection id;
    Handler handler;
  };
  // Made on the first connection: most events of a form's controls are never connected, and
  // an empty event is then one pointer.
  std::unique_ptr<std::vector<std::shared_ptr<Slot>>> slots_;
};

}  // namespace zxp::host
