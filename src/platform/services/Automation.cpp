#include "platform/services/Automation.h"

#include <mutex>

#include "platform/base/HostError.h"
#include "platform/host/NoCase.h"
#include "platform/services/WorkbookAutomation.h"

namespace zxp::services {

namespace {

struct Registration {
  std::string progId;
  AutomationFactory factory;
};

std::mutex& registryMutex() {
  static std::mutex m;
  return m;
}

std::vector<Registration> builtInClasses() {
  return {Registration{"Excel.Application", [] { return makeWorkbookApplication(); }}};
}

std::vector<Registration>& registry() {
  static std::vector<Registration> classes = builtInClasses();
  return classes;
}

host::Dispatchable& dispatchOf(const host::Variant& object) {
  const host::ObjectRef ref = object.toObject();  // Type mismatch for a value that is no object
  if (!ref) throw HostError(errObjectNotSet);
  auto* target = dynamic_cast<host::Dispatchable*>(ref.get());
  if (!target) throw HostError(errNotSupported);
  return *target;
}

}  // namespace

void registerAutomationClass(std::string progId, AutomationFactory factory) {
  std::lock_guard lock(registryMutex());
  auto& classes = registry();
  std::erase_if(classes, [&](const Registration& r) { return host::equalsNoCase(r.progId, progId); });
  if (factory) classes.push_back(Registration{std::move(progId), std::move(factory)});
}

void resetAutomationClasses() {
  std::lock_guard lock(registryMutex());
  registry() = builtInClasses();
}

host::Variant CreateObject(std::string_view progId) {
  AutomationFactory factory;
  {
    std::lock_guard lock(registryMutex());
    for (const Registration& r : registry()) {
      if (host::equalsNoCase(r.progId, progId)) factory = r.factory;
    }
  }
  std::shared_ptr<AutomationObject> object = factory ? factory() : nullptr;
  if (!object) throw HostError(errCantCreateObject);
  return host::Variant(host::ObjectRef(std::move(object)));
}

host::Variant invoke(const host::Variant& object, std::string_view name, std::vector<host::Variant> args) {
  host::Dispatchable& target = dispatchOf(object);
  const host::Member* m = target.memberTable().find(name);
  if (!m) throw HostError(errNotSupported);
  if (m->kind == host::MemberKind::Method) return host::callMethod(target, name, std::move(args));
  if (m->indexed()) {
    if (args.size() != 1) throw HostError(errWrongArgumentCount);
    return host::getIndexedProperty(target, name, args[0]);
  }
  if (!args.empty()) throw HostError(errWrongArgumentCount);
  return host::getProperty(target, name);
}

void assign(const host::Variant& object, std::string_view name, const host::Variant& value,
            std::vector<host::Variant> args) {
  host::Dispatchable& target = dispatchOf(object);
  if (args.empty()) {
    host::letProperty(target, name, value);
  } else if (args.size() == 1) {
    host::letIndexedProperty(target, name, args[0], value);
  } else {
    throw HostError(errWrongArgumentCount);
  }
}

}  // namespace zxp::services
