#include "platform/host/MemberTable.h"

#include <algorithm>
#include <iterator>

#include "platform/host/NoCase.h"

namespace zxp::host {

std::string_view EnumType::nameOf(int32_t value) const {
  for (const auto& [name, v] : members)
    if (v == value) return name;
  return {};
}

const Member* MemberTable::find(std::string_view name) const {
  for (const Member& m : members_) {
    if (equalsNoCase(m.name, name)) return &m;
  }
  return nullptr;
}

const Member* MemberTable::findDispId(int32_t dispid) const {
  for (const Member& m : members_) {
    if (m.dispid == dispid) return &m;
  }
  return nullptr;
}

const EventMember* MemberTable::findEvent(std::string_view name) const {
  for (const EventMember& e : events_) {
    if (equalsNoCase(e.name, name)) return &e;
  }
  return nullptr;
}

void MemberTable::addMember(Member m) {
  m.dispid = (m.kind == MemberKind::Property ? kPropertyDispIdBase : kMethodDispIdBase) + count_++;
  members_.push_back(std::move(m));
}

void MemberTable::addAbout(Member m) {
  m.dispid = DISPID_ABOUTBOX;
  members_.push_back(std::move(m));
}

void MemberTable::addEvent(EventMember e) {
  e.dispid = ++eventCount_;
  events_.push_back(std::move(e));
}

void MemberTable::addStockEvent(EventMember e, int32_t dispid) {
  e.dispid = dispid;
  events_.push_back(std::move(e));
}

namespace {
const Member& findOrRaise(Dispatchable& object, std::string_view name) {
  const Member* m = object.memberTable().find(name);
  if (!m) throw HostError(errNotSupported);
  return *m;
}

const EventMember& findEventOrRaise(Dispatchable& object, std::string_view name) {
  const EventMember* e = object.memberTable().findEvent(name);
  if (!e) throw HostError(errNoSuchEvent);
  return *e;
}
}  // namespace

Variant getProperty(Dispatchable& object, std::string_view name) {
  const Member& m = findOrRaise(object, name);
  if (m.kind != MemberKind::Property) {
    // A method without arguments can be read like a property, as the host allows.
    if (m.argCount != 0) throw HostError(errWrongArgumentCount);
    std::vector<Variant> none;
    return m.call(object, none);
  }
  if (m.indexed()) throw HostError(errWrongArgumentCount);
  return m.get(object);
}

void letProperty(Dispatchable& object, std::string_view name, const Variant& value) {
  const Member& m = findOrRaise(object, name);
  if (m.kind != MemberKind::Property) throw HostError(errWrongArgumentCount);
  if (m.indexed()) throw HostError(errWrongArgumentCount);
  if (!m.let) throw HostError(errPropertyReadOnly);
  m.let(object, value);
}

Variant getIndexedProperty(Dispatchable& object, std::string_view name, const Variant& index) {
  return getIndexedProperty(object, name, std::vector<Variant>{index});
}

void letIndexedProperty(Dispatchable& object, std::string_view name, const Variant& index, const Variant& value) {
  letIndexedProperty(object, name, std::vector<Variant>{index}, value);
}

Variant getIndexedProperty(Dispatchable& object, std::string_view name, const std::vector<Variant>& indexes) {
  const Member& m = findOrRaise(object, name);
  if (!m.indexed() || indexes.size() != m.argCount) throw HostError(errWrongArgumentCount);
  return m.getAt(object, indexes);
}

void letIndexedProperty(Dispatchable& object, std::string_view name, const std::vector<Variant>& indexes,
                        const Variant& value) {
  const Member& m = findOrRaise(object, name);
  if (!m.indexed() || indexes.size() != m.argCount) throw HostError(errWrongArgumentCount);
  if (!m.letAt) throw HostError(errPropertyReadOnly);
  m.letAt(object, indexes, value);
}

Variant callMethod(Dispatchable& object, std::string_view name, std::vector<Variant> args) {
  return callMember(object, findOrRaise(object, name), std::move(args));
}

Variant callMember(Dispatchable& object, const Member& m, std::vector<Variant> args) {
  if (m.kind == MemberKind::Property) {
    if (m.indexed()) {
      if (args.size() != m.argCount) throw HostError(errWrongArgumentCount);
      return m.getAt(object, args);
    }
    if (!args.empty()) throw HostError(errWrongArgumentCount);
    return m.get(object);
  }
  if (m.varArgs) {
    // The fixed parameters first, then every further argument gathered into the last one.
    const size_t fixed = m.argCount - 1;
    if (args.size() < fixed) throw HostError(errWrongArgumentCount);
    std::vector<Variant> rest(std::make_move_iterator(args.begin() + static_cast<ptrdiff_t>(fixed)),
                              std::make_move_iterator(args.end()));
    args.resize(fixed);
    args.push_back(Variant::array(std::move(rest)));
    return m.call(object, args);
  }
  if (args.size() > m.argCount || args.size() + m.optionalArgs < m.argCount) {
    throw HostError(errWrongArgumentCount);
  }
  const size_t given = args.size();
  args.resize(m.argCount);  // optional arguments left out are Empty, or their declared default
  const size_t firstDefault = m.argCount - m.defaults.size();
  for (size_t i = std::max(given, firstDefault); i < m.argCount; ++i) args[i] = m.defaults[i - firstDefault];
  return m.call(object, args);
}

Connection bindEvent(Dispatchable& object, std::string_view eventName, EventBase::VariantHandler handler) {
  return findEventOrRaise(object, eventName).access(object).connectVariant(std::move(handler));
}

bool unbindEvent(Dispatchable& object, std::string_view eventName, Connection c) {
  return findEventOrRaise(object, eventName).access(object).disconnect(c);
}

}  // namespace zxp::host
