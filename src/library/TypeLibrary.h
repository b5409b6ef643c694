// The type library of the library's component server: every class it describes, with its fixed
// identifiers (class, default dispatch interface `_<ClassName>`, outgoing event interface
// `__<ClassName>`), its kind and how clients may create it. The identifiers are fixed here in the
// source and never generated at run time, so a registration made by one build stays valid for
// the next.
//
// A control class is served (registered, created through its class factory) once it also has a
// row in the class table (ClassTable.h), which holds its container flags, toolbox bitmap and
// factory; a row here alone reserves the class's identifiers.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/ClassRegistry.h"
#include "platform/host/MemberTable.h"

namespace zxp::library {

// A globally unique identifier, laid out as the component model's GUID.
struct Guid {
  uint32_t Data1 = 0;
  uint16_t Data2 = 0;
  uint16_t Data3 = 0;
  std::array<uint8_t, 8> Data4{};

  bool isNull() const { return *this == Guid{}; }
  bool operator==(const Guid&) const = default;
  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case, as the registry writes it.
  std::string toString() const;
  // Reads the form above, braces optional; false for anything else.
  static bool parse(std::string_view text, Guid& out);
};

// Reads "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX" at compile time (a malformed literal does not compile).
consteval Guid guid(const char (&s)[37]) {
  auto hex = [&](int i) -> uint8_t {
    char c = s[i];
    if (c >= '0' && c <= '9') return static_cast<uint8_t>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<uint8_t>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return static_cast<uint8_t>(c - 'a' + 10);
    throw "bad hexadecimal digit";
  };
  auto bytes = [&](int at, int n) {
    uint32_t v = 0;
    for (int i = 0; i < n * 2; ++i) v = v << 4 | hex(at + i);
    return v;
  };
  if (s[8] != '-' || s[13] != '-' || s[18] != '-' || s[23] != '-') throw "bad separators";
  Guid g;
  g.Data1 = bytes(0, 4);
  g.Data2 = static_cast<uint16_t>(bytes(9, 2));
  g.Data3 = static_cast<uint16_t>(bytes(14, 2));
  g.Data4[0] = static_cast<uint8_t>(bytes(19, 1));
  g.Data4[1] = static_cast<uint8_t>(bytes(21, 1));
  for (int i = 0; i < 6; ++i) g.Data4[2 + i] = static_cast<uint8_t>(bytes(24 + 2 * i, 1));
  return g;
}

enum class ClassKind : uint8_t { TypeLibrary, Control, Class, PropertyPage };
// Who may create an object: any client, any client through the one predeclared instance
// (global), or only the library itself.
enum class Instancing : uint8_t { Creatable, Global, NotCreatable };

struct TypeLibraryEntry {
  std::string_view name;
  ClassKind kind;
  Instancing instancing;
  Guid clsid;       // the type library's own identifier on its row
  Guid iid;         // the default dispatch interface _<name> (null for pages)
  Guid eventsIid;   // the outgoing interface __<name>; null when the class raises no events
};

constexpr std::string_view kServerName = "ZorvaXPProject";
constexpr std::string_view kTypeLibraryName = "ZorvaXP";
constexpr uint16_t kTypeLibraryMajor = 1;
constexpr uint16_t kTypeLibraryMinor = 0;

// Every row, the type library first.
const std::vector<TypeLibraryEntry>& typeLibrary();
const Guid& typeLibraryId();
const TypeLibraryEntry* findByName(std::string_view name);  // without regard to case
const TypeLibraryEntry* findByClsid(const Guid& clsid);
const TypeLibraryEntry* findByIid(const Guid& iid);  // default or event interface

// registered: the row is written into the registry by DllRegisterServer (a served control, a
// creatable or global class, a property page).
// create: what a client can create for a row: a control from the class table, a utility class, or the
// global instance; nullptr for a row that creates nothing (not creatable, a page, a control whose
// class has not landed in the class table).
struct Creation {
  std::unique_ptr<host::Dispatchable> owned;  // empty for the global instance
  // A class whose objects travel as host values (a row, clsLItem): shared, so that an object a
  // client passes back is the same host object.
  host::ObjectRef shared;
  host::Dispatchable* object = nullptr;
  const host::ControlClass* control = nullptr;  // set for controls: the class-table row
};
bool registered(const TypeLibraryEntry& e);
Creation create(const TypeLibraryEntry& e);

// "ZorvaXPProject.<ClassName>"
std::string progId(const TypeLibraryEntry& e);

}  // namespace zxp::library
