#include "library/com/Registration.h"

#include <filesystem>

#include "library/ClassTable.h"
#include "library/TypeLibrary.h"
#include "platform/base/Module.h"

namespace zxp::library::com {

namespace {

constexpr std::string_view kRoot = "HKEY_CLASSES_ROOT";
// The automation marshaller that every dispatch interface names as its proxy.
constexpr std::string_view kAutomationProxy = "{00020424-0000-0000-C000-000000000046}";

std::string under(std::string_view a, std::string_view b) { return std::string(a) + "\\" + std::string(b); }

std::string version() { return std::to_string(kTypeLibraryMajor) + "." + std::to_string(kTypeLibraryMinor); }

void registerInterface(services::Registry& r, const Guid& iid, const std::string& name) {
  if (iid.isNull()) return;
  const std::string key = under(under(kRoot, "Interface"), iid.toString());
  r.setString(key, "", name);
  r.setString(under(key, "ProxyStubClsid32"), "", kAutomationProxy);
  r.setString(under(key, "TypeLib"), "", typeLibraryId().toString());
  r.setString(under(key, "TypeLib"), "Version", version());
}

}  // namespace

std::string modulePath() { return base::modulePath(); }

void registerServer(services::Registry& r, const std::string& module) {
  const std::string libid = typeLibraryId().toString();
  const std::string libKey = under(under(under(kRoot, "TypeLib"), libid), version());
  r.setString(libKey, "", std::string(kTypeLibraryName));
  r.setString(under(under(libKey, "0"), base::kTypeLibraryPlatform), "", module);
  r.setString(under(libKey, "FLAGS"), "", "2");
  r.setString(under(libKey, "HELPDIR"), "", std::filesystem::path(module).parent_path().string());

  for (const TypeLibraryEntry& e : typeLibrary()) {
    if (e.kind == ClassKind::TypeLibrary) continue;
    const std::string name(e.name);
    registerInterface(r, e.iid, "_" + name);
    registerInterface(r, e.eventsIid, "__" + name);
    if (!registered(e)) continue;
    const std::string clsid = e.clsid.toString();
    const std::string prog = progId(e);
    r.setString(under(kRoot, prog), "", name);
    r.setString(under(under(kRoot, prog), "CLSID"), "", clsid);
    const std::string key = under(under(kRoot, "CLSID"), clsid);
    r.setString(key, "", name);
    r.setString(under(key, "InprocServer32"), "", module);
    r.setString(under(key, "InprocServer32"), "ThreadingModel", "Apartment");
    r.setString(under(key, "ProgID"), "", prog);
    r.setString(under(key, "VersionIndependentProgID"), "", prog);
    r.setString(under(key, "TypeLib"), "", libid);
    r.setString(under(key, "Version"), "", version());
    if (e.kind == ClassKind::Control) {
      const host::ControlClass* c = classes().find(e.name);
      r.createKey(under(key, "Control"));
      r.setString(under(key, "MiscStatus"), "", "0");
      r.setString(under(under(key, "MiscStatus"), "1"), "", std::to_string(c->miscStatus));
      r.setString(under(key, "ToolboxBitmap32"), "", module + ", " + std::to_string(c->toolboxBitmap));
    }
  }
}

void unregisterServer(services::Registry& r) {
  for (const TypeLibraryEntry& e : typeLibrary()) {
    if (e.kind == ClassKind::TypeLibrary) {
      r.deleteTree(under(under(kRoot, "TypeLib"), e.clsid.toString()));
      continue;
    }
    if (!e.iid.isNull()) r.deleteTree(under(under(kRoot, "Interface"), e.iid.toString()));
    if (!e.eventsIid.isNull()) r.deleteTree(under(under(kRoot, "Interface"), e.eventsIid.toString()));
    r.deleteTree(under(under(kRoot, "CLSID"), e.clsid.toString()));
    r.deleteTree(under(kRoot, progId(e)));
  }
}

}  // namespace zxp::library::com
