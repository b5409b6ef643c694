// Type information for the server's objects, read from the member tables (nothing here lists a
// member a second time): the default dispatch interface `_<Class>` (a property is a get function
// and, when writable, a put function under the same identifier; a method is one function), the
// outgoing interface `__<Class>` (one function per event, with its parameter names), the class
// itself (a coclass naming both, which can create an object) and the type library that holds
// every class. Functions carry the parameter names their member table gives; a parameter array
// is the last parameter, a SAFEARRAY of VARIANT, with cParamsOpt -1. A property of an
// enumeration type refers to the enumeration (VT_USERDEFINED; GetRefTypeInfo gives a TKIND_ENUM
// type with the members' names and values).
//
// Member tables are built once per class and live as long as the program, so type information
// may outlive the objects it was asked from. Descriptions handed out (GetTypeAttr, GetFuncDesc,
// GetLibAttr) are released through the object that made them; releasing anything else is ignored.
#pragma once

#include "library/TypeLibrary.h"
#include "zorvaxp/zorvaxp_com.h"

namespace zxp::library::com {

// The member table of a class of the type library, nullptr for a class that has none (a page, a
// class only the library creates). A control's table is read from an unsited instance, once.
const host::MemberTable* memberTableOf(const TypeLibraryEntry& entry);

// New type information objects (AddRef'd once), nullptr when memory runs out. `entry` may be
// null for objects outside the type library (fonts, pictures): the interface then has a null
// identifier and the table's class name.
ITypeInfo* dispatchTypeInfo(const host::MemberTable& table, const TypeLibraryEntry* entry);
ITypeInfo* eventsTypeInfo(const host::MemberTable& table, const TypeLibraryEntry& entry);
ITypeInfo* classTypeInfo(const TypeLibraryEntry& entry);
// An enumeration (TKIND_ENUM): one constant variable per member, memid = its place, value VT_I4.
ITypeInfo* enumTypeInfo(const host::EnumType& e);
ITypeLib* typeLib();

}  // namespace zxp::library::com
