// What DllRegisterServer writes and DllUnregisterServer removes, in the platform's key layout:
//
//   HKEY_CLASSES_ROOT\ZorvaXPProject.<Class>              @ = <Class>, \CLSID @ = {clsid}
//   HKEY_CLASSES_ROOT\CLSID\{clsid}                       @ = <Class>
//       InprocServer32   @ = <module path>, ThreadingModel = "Apartment"
//       ProgID           @ = ZorvaXPProject.<Class>
//       VersionIndependentProgID, TypeLib @ = {libid}, Version @ = "1.0"
//       Control, MiscStatus @ = "0" and MiscStatus\1 @ = <flags in decimal>,
//       ToolboxBitmap32 @ = "<module path>, <bitmap>"                        (controls only)
//   HKEY_CLASSES_ROOT\Interface\{iid}                     @ = _<Class> or __<Class>
//       ProxyStubClsid32 @ = the automation marshaller, TypeLib @ = {libid}, Version = "1.0"
//   HKEY_CLASSES_ROOT\TypeLib\{libid}\1.0                 @ = "ZorvaXP"
//       0\linux64 @ = <module path>, FLAGS @ = "2" (control library), HELPDIR @ = folder
//
// Property pages are registered as classes (no program identifier of their own beyond the
// table's); classes that clients cannot create get only their interfaces.
#pragma once

#include <string>

#include "platform/services/Registry.h"

namespace zxp::library::com {

void registerServer(services::Registry& registry, const std::string& modulePath);
void unregisterServer(services::Registry& registry);
// The file the server's code lives in (the shared library, or the program it is linked into).
std::string modulePath();

}  // namespace zxp::library::com
