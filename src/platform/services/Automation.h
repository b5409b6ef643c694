// Automation: objects created by program identifier at run time ("late binding") and driven by
// name through their member tables, as the host's CreateObject and its late-bound calls do.
//
// A registry maps program identifiers (compared without regard to case) to factories. It starts
// with the platform's built-in classes; today that is "Excel.Application", a workbook writer on
// libxlsxwriter (WorkbookAutomation.h). An application or test may register its own factory under
// any identifier, replacing a built-in one, and resetAutomationClasses() restores the built-ins.
//
// Errors are the host's: an identifier nobody registered, or a factory that yields nothing,
// raises 429 ("ActiveX component can't create object"); a call on Nothing raises 91; a name the
// object does not have raises 438; a wrong argument count 450.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/MemberTable.h"
#include "platform/host/Variant.h"

namespace zxp::services {

// An object reachable by late binding: a host object (a Variant can carry it) with a member table.
class AutomationObject : public host::HostObject, public host::Dispatchable {};

using AutomationFactory = std::function<std::shared_ptr<AutomationObject>()>;

// Registers (or, with an empty factory, removes) the class of a program identifier.
void registerAutomationClass(std::string progId, AutomationFactory factory);
// Forgets every registration and restores the built-in classes.
void resetAutomationClasses();

// A new object of the class registered under progId, as an Object Variant; HostError 429 when
// there is none.
host::Variant CreateObject(std::string_view progId);

// Late-bound calls on an Object Variant, by member name:
// - invoke: a property read (with one argument an indexed read) or a method call with args;
// - assign: a property write (with one argument an indexed write).
host::Variant invoke(const host::Variant& object, std::string_view name, std::vector<host::Variant> args = {});
void assign(const host::Variant& object, std::string_view name, const host::Variant& value,
            std::vector<host::Variant> args = {});

}  // namespace zxp::services
