// Event tracing: binds a handler to every event of every control of a form, by name through the
// controls' member tables, and reports each raised event as one line of text in the host's
// call notation:  cmdOk.MouseDown(1, 0, 14, 9)   cmdOk.Click   Option1(2).Click
// Tools that show what a form raises (the gallery's event log, diagnostics) use it, so a new
// control class is traced without any code of its own.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/host/Form.h"

namespace zxp::host {

// The text of one event call: the control's name (with "(index)" for control arrays), the
// event's name and, when it has any, the arguments' values (text in double quotes).
std::string formatEventCall(const Extender& control, std::string_view eventName, const std::vector<Variant>& args);

// Binds the sink to every event of every control the form holds now; returns how many events
// were bound. The bindings live as long as the controls.
size_t traceEvents(Form& form, std::function<void(const std::string& line)> sink);

}  // namespace zxp::host
