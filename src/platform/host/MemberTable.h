// Member tables: each class lists its public members once, with name, kind and dispatch
// identifier, and its events in declaration order. The host uses the table for late-bound calls
// by name (getProperty / letProperty / callMethod / bindEvent below), form files and property
// panels.
//
// Dispatch identifiers follow the host's numbering: members count from 0 in declaration order
// within their class; a property gets 0x680300nn and a method 0x600300nn, where nn is its place
// in that count. `About` is the exception: it always has the about-box identifier -552 and takes
// no place in the count. Events are numbered 1, 2, ... in declaration order.
//
//   static const MemberTable table = ClassMembers<MyControl>("MyControl")
//       .property("Caption", &MyControl::Caption, &MyControl::setCaption)
//       .method("Refresh", &MyControl::Refresh)
//       .about(&MyControl::About)
//       .event("Click", &MyControl::Click)
//       .event("MouseDown", &MyControl::MouseDown, {"Button", "Shift", "X", "Y"})
//       .build();
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/base/HostError.h"
#include "platform/host/Event.h"
#include "platform/host/Variant.h"

namespace zxp::host {

constexpr int32_t DISPID_ABOUTBOX = -552;
// The standard Click event's number: a control that declares Click as its stock event raises it
// under this number, and it takes no place in the count of its other events.
constexpr int32_t DISPID_CLICK = -600;
constexpr int32_t kPropertyDispIdBase = 0x68030000;
constexpr int32_t kMethodDispIdBase = 0x60030000;

// Anything with a member table: controls, forms, utility classes.
class Dispatchable {
 public:
  virtual ~Dispatchable() = default;
  virtual const class MemberTable& memberTable() const = 0;
};

enum class MemberKind : uint8_t { Property, Method };

// An enumeration as type information shows it: its interface name and its members' interface
// names and values in declaration order. A property whose C++ type is an enumeration refers to
// its description when the enumeration's namespace declares `describeEnum(E)` (found by
// argument-dependent lookup), so a host can show and offer the members by name.
struct EnumType {
  std::string name;
  std::vector<std::pair<std::string, int32_t>> members;
  // The member's name for a value, empty when no member has it.
  std::string_view nameOf(int32_t value) const;
};

struct Member {
  std::string name;
  MemberKind kind = MemberKind::Property;
  int32_t dispid = 0;
  // A property's value type, or a method's return type (Empty for none).
  Variant::Kind type = Variant::Kind::Empty;
  size_t argCount = 0;  // methods; the number of indexes of an indexed property
  size_t optionalArgs = 0;  // trailing arguments a caller may leave out; they arrive Empty
  std::function<Variant(Dispatchable&)> get;                            // properties
  std::function<void(Dispatchable&, const Variant&)> let;               // empty when read-only
  std::function<Variant(Dispatchable&, std::vector<Variant>&)> call;   // methods
  bool readOnly() const { return kind == MemberKind::Property && !let && !letAt; }
  // Indexed properties (Name(Index) or Name(Row, Column)): read and written through these two
  // with argCount indexes, never get/let.
  std::function<Variant(Dispatchable&, const std::vector<Variant>&)> getAt;
  std::function<void(Dispatchable&, const std::vector<Variant>&, const Variant&)> letAt;
  bool indexed() const { return static_cast<bool>(getAt); }
  // A method's declared defaults for its last defaults.size() arguments, used for arguments a
  // caller leaves out (instead of Empty).
  std::vector<Variant> defaults;
  // Parameter names in call order (a method's arguments, an indexed property's indexes); empty
  // when the table names none.
  std::vector<std::string> params;
  // A parameter array: the last parameter takes every remaining argument (none included) as one
  // Array, so the method accepts argCount - 1 arguments or more.
  bool varArgs = false;
  // The enumeration a property's value belongs to (nullptr for none).
  const EnumType* enumType = nullptr;
};

struct EventMember {
  std::string name;
  int32_t dispid = 0;
  std::vector<std::string> params;
  // Arguments go by reference (a handler may change them) unless the event passes them by value.
  bool byValue = false;
  std::function<EventBase&(Dispatchable&)> access;
};

class MemberTable {
 public:
  MemberTable() = default;
  explicit MemberTable(std::string className) : className_(std::move(className)) {}

  const std::string& className() const { return className_; }
  const std::vector<Member>& members() const { return members_; }
  const std::vector<EventMember>& events() const { return events_; }
  // Lookup by name, without regard to case; nullptr when absent.
  const Member* find(std::string_view name) const;
  const Member* findDispId(int32_t dispid) const;
  const EventMember* findEvent(std::string_view name) const;

  void addMember(Member m);  // assigns the dispatch identifier as described above
  void addAbout(Member m);
  void addEvent(EventMember e);  // assigns the next event number
  void addStockEvent(EventMember e, int32_t dispid);  // keeps the given number, not counted
  // The member or event added last (for builders that qualify it); the table must have one.
  Member& lastMember() { return members_.back(); }
  EventMember& lastEvent() { return events_.back(); }

 private:
  std::string className_;
  std::vector<Member> members_;
  std::vector<EventMember> events_;
  int32_t count_ = 0;
  int32_t eventCount_ = 0;
};

// Late-bound access by name. Unknown names raise 438 (or 459 for events), setting a read-only
// property 383, a wrong argument count 450; conversions raise 13 or 6.
Variant getProperty(Dispatchable& object, std::string_view name);
void letProperty(Dispatchable& object, std::string_view name, const Variant& value);
Variant callMethod(Dispatchable& object, std::string_view name, std::vector<Variant> args = {});
// The same for a member already found (a call by dispatch identifier).
Variant callMember(Dispatchable& object, const Member& m, std::vector<Variant> args);
// Indexed properties: Name(Index) read and written by name (438 for an unknown name, 450 when the
// property is not indexed or the number of indexes differs, 383 for a read-only one).
Variant getIndexedProperty(Dispatchable& object, std::string_view name, const Variant& index);
void letIndexedProperty(Dispatchable& object, std::string_view name, const Variant& index, const Variant& value);
Variant getIndexedProperty(Dispatchable& object, std::string_view name, const std::vector<Variant>& indexes);
void letIndexedProperty(Dispatchable& object, std::string_view name, const std::vector<Variant>& indexes,
                        const Variant& value);
Connection bindEvent(Dispatchable& object, std::string_view eventName, EventBase::VariantHandler handler);
bool unbindEvent(Dispatchable& object, std::string_view eventName, Connection c);

// The Variant kind that stores a C++ value type.
template <class T>
constexpr Variant::Kind variantKindOf() {
  using K = Variant::Kind;
  if constexpr (std::is_enum_v<T>) return variantKindOf<std::underlying_type_t<T>>();
  else if constexpr (std::is_same_v<T, bool>) return K::Boolean;
  else if constexpr (std::is_same_v<T, int16_t>) return K::Integer;
  else if constexpr (std::is_same_v<T, int32_t> || std::is_same_v<T, uint32_t>) return K::Long;
  else if constexpr (std::is_same_v<T, float>) return K::Single;
  else if constexpr (std::is_same_v<T, double>) return K::Double;
  else if constexpr (std::is_same_v<T, std::string>) return K::String;
  else if constexpr (std::is_same_v<T, Date>) return K::Date;
  else if constexpr (std::is_same_v<T, FontRef>) return K::Font;
  else if constexpr (std::is_same_v<T, PictureRef>) return K::Picture;
  else if constexpr (std::is_same_v<T, ObjectRef>) return K::Object;
  else if constexpr (std::is_same_v<T, ArrayRef>) return K::Array;
  else if constexpr (std::is_same_v<T, int64_t> || std::is_same_v<T, uint64_t>) return K::Double;
  else if constexpr (std::is_same_v<T, void> || std::is_same_v<T, Variant>) return K::Empty;
  else static_assert(!sizeof(T*), "no Variant kind for this type");
}

namespace detail {
template <class>
struct MemberFn;
template <class C, class R, class... A>
struct MemberFn<R (C::*)(A...)> {
  using Ret = R;
  using Args = std::tuple<std::decay_t<A>...>;
  static constexpr size_t arity = sizeof...(A);
};
template <class C, class R, class... A>
struct MemberFn<R (C::*)(A...) const> : MemberFn<R (C::*)(A...)> {};

// The description of an enumeration type, or nullptr when its namespace declares none.
template <class T>
const EnumType* enumTypeOf() {
  if constexpr (std::is_enum_v<T>) {
    if constexpr (requires(T e) { describeEnum(e); }) return &describeEnum(T{});
  }
  return nullptr;
}

template <class C, class G, size_t... I>
Variant getWith(const C& obj, G getter, const std::vector<Variant>& idx, std::index_sequence<I...>) {
  using Args = typename MemberFn<G>::Args;
  return Variant((obj.*getter)(variantAs<std::tuple_element_t<I, Args>>(idx[I])...));
}

template <class C, class S, size_t... I>
void letWith(C& obj, S setter, const std::vector<Variant>& idx, const Variant& v, std::index_sequence<I...>) {
  using Args = typename MemberFn<S>::Args;
  (obj.*setter)(variantAs<std::tuple_element_t<I, Args>>(idx[I])...,
                variantAs<std::tuple_element_t<sizeof...(I), Args>>(v));
}

template <class C, class F, size_t... I>
Variant invokeWith(C& obj, F fn, std::vector<Variant>& args, std::index_sequence<I...>) {
  using Traits = MemberFn<F>;
  using R = typename Traits::Ret;
  if constexpr (std::is_void_v<R>) {
    (obj.*fn)(variantAs<std::tuple_element_t<I, typename Traits::Args>>(args[I])...);
    return Variant();
  } else {
    return Variant((obj.*fn)(variantAs<std::tuple_element_t<I, typename Traits::Args>>(args[I])...));
  }
}
}  // namespace detail

// Typed builder of a class's member table.
template <class C>
class ClassMembers {
 public:
  explicit ClassMembers(std::string className) : table_(std::move(className)) {}

  // A read-write property from a getter `T Name() const` and a setter `void setName(T)`.
  template <class G, class S>
  ClassMembers& property(std::string name, G getter, S setter) {
    using T = std::decay_t<std::invoke_result_t<G, const C&>>;
    using A = std::tuple_element_t<0, typename detail::MemberFn<S>::Args>;
    Member m = makeGetter<T>(std::move(name), getter);
    m.let = [setter](Dispatchable& o, const Variant& v) { (static_cast<C&>(o).*setter)(variantAs<A>(v)); };
    table_.addMember(std::move(m));
    return *this;
  }

  template <class G>
  ClassMembers& readOnlyProperty(std::string name, G getter) {
    using T = std::decay_t<std::invoke_result_t<G, const C&>>;
    table_.addMember(makeGetter<T>(std::move(name), getter));
    return *this;
  }

  // A method; its last `optionalArgs` parameters are optional (left out, they arrive Empty).
  template <class F>
  ClassMembers& method(std::string name, F fn, size_t optionalArgs = 0) {
    Member m = makeMethod(std::move(name), fn);
    m.optionalArgs = std::min(optionalArgs, m.argCount);
    table_.addMember(std::move(m));
    return *this;
  }

  // A method whose trailing optional arguments have declared defaults: a caller that leaves
  // them out gets these values (the last defaults.size() parameters), not Empty.
  template <class F>
  ClassMembers& methodWithDefaults(std::string name, F fn, std::vector<Variant> defaults) {
    Member m = makeMethod(std::move(name), fn);
    m.optionalArgs = std::min(defaults.size(), m.argCount);
    defaults.resize(m.optionalArgs);
    m.defaults = std::move(defaults);
    table_.addMember(std::move(m));
    return *this;
  }

  // An indexed property from `T Name(I...) const` and `void setName(I..., T)`, with one index
  // or more.
  template <class G, class S>
  ClassMembers& indexedProperty(std::string name, G getter, S setter) {
    using T = std::decay_t<typename detail::MemberFn<G>::Ret>;
    constexpr size_t n = detail::MemberFn<G>::arity;
    static_assert(detail::MemberFn<S>::arity == n + 1, "the setter takes the indexes and the value");
    Member m;
    m.name = std::move(name);
    m.kind = MemberKind::Property;
    m.type = variantKindOf<T>();
    m.enumType = detail::enumTypeOf<T>();
    m.argCount = n;
    m.getAt = [getter](Dispatchable& o, const std::vector<Variant>& i) {
      return detail::getWith(static_cast<const C&>(o), getter, i, std::make_index_sequence<n>{});
    };
    m.letAt = [setter](Dispatchable& o, const std::vector<Variant>& i, const Variant& v) {
      detail::letWith(static_cast<C&>(o), setter, i, v, std::make_index_sequence<n>{});
    };
    table_.addMember(std::move(m));
    return *this;
  }

  // Names the parameters of the member added last, in call order: one name per argument (per
  // index of an indexed property).
  ClassMembers& params(std::initializer_list<const char*> names) {
    Member& m = table_.lastMember();
    if (names.size() != m.argCount) throw std::logic_error(m.name + ": one parameter name per argument");
    m.params.assign(names.begin(), names.end());
    return *this;
  }

  // Makes the method added last take a parameter array: its last parameter (an ArrayRef)
  // receives every argument from that place on.
  ClassMembers& paramArray() {
    Member& m = table_.lastMember();
    m.varArgs = true;
    m.optionalArgs = 0;
    return *this;
  }

  // Makes the event added last pass its arguments by value.
  ClassMembers& byValue() {
    table_.lastEvent().byValue = true;
    return *this;
  }

  // The about-box method, dispatch identifier -552.
  template <class F>
  ClassMembers& about(F fn, std::string name = "About") {
    table_.addAbout(makeMethod(std::move(name), fn));
    return *this;
  }

  // An event member `Event<Args...> C::*` (of C or of a base class of C).
  template <class B, class... Args>
  ClassMembers& event(std::string name, Event<Args...> B::*ev, std::initializer_list<const char*> params = {}) {
    EventMember e;
    e.name = std::move(name);
    for (const char* p : params) e.params.emplace_back(p);
    e.access = [ev](Dispatchable& o) -> EventBase& { return static_cast<C&>(o).*ev; };
    table_.addEvent(std::move(e));
    return *this;
  }

  // A stock event (such as Click with DISPID_CLICK): its fixed number, outside the count.
  template <class B, class... Args>
  ClassMembers& stockEvent(std::string name, Event<Args...> B::*ev, int32_t dispid,
                           std::initializer_list<const char*> params = {}) {
    EventMember e;
    e.name = std::move(name);
    for (const char* p : params) e.params.emplace_back(p);
    e.access = [ev](Dispatchable& o) -> EventBase& { return static_cast<C&>(o).*ev; };
    table_.addStockEvent(std::move(e), dispid);
    return *this;
  }

  MemberTable build() { return std::move(table_); }

 private:
  template <class T, class G>
  static Member makeGetter(std::string name, G getter) {
    Member m;
    m.name = std::move(name);
    m.kind = MemberKind::Property;
    m.type = variantKindOf<T>();
    m.enumType = detail::enumTypeOf<T>();
    m.get = [getter](Dispatchable& o) { return Variant(std::invoke(getter, static_cast<const C&>(o))); };
    return m;
  }

  template <class F>
  static Member makeMethod(std::string name, F fn) {
    using Traits = detail::MemberFn<F>;
    Member m;
    m.name = std::move(name);
    m.kind = MemberKind::Method;
    m.type = variantKindOf<std::decay_t<typename Traits::Ret>>();
    m.argCount = Traits::arity;
    m.call = [fn](Dispatchable& o, std::vector<Variant>& args) {
      return detail::invokeWith(static_cast<C&>(o), fn, args, std::make_index_sequence<Traits::arity>{});
    };
    return m;
  }

  MemberTable table_;
};

}  // namespace zxp::host
