#include "platform/host/EventTrace.h"

#include <memory>

namespace zxp::host {

std::string formatEventCall(const Extender& control, std::string_view eventName, const std::vector<Variant>& args) {
  std::string line = control.Name();
  if (control.inArray()) line += "(" + std::to_string(control.Index()) + ")";
  line += ".";
  line += eventName;
  if (args.empty()) return line;
  line += "(";
  for (size_t i = 0; i < args.size(); ++i) {
    if (i) line += ", ";
    const Variant& a = args[i];
    if (a.kind() == Variant::Kind::String) line += "\"" + a.toString() + "\"";
    else if (a.kind() == Variant::Kind::Font || a.kind() == Variant::Kind::Picture || a.kind() == Variant::Kind::Object) line += a.typeName();
    else line += a.toString();
  }
  return line + ")";
}

size_t traceEvents(Form& form, std::function<void(const std::string& line)> sink) {
  auto shared = std::make_shared<std::function<void(const std::string&)>>(std::move(sink));
  size_t bound = 0;
  for (Extender* e : form.Controls()) {
    for (const EventMember& ev : e->object().memberTable().events()) {
      bindEvent(e->object(), ev.name, [shared, e, name = ev.name](std::vector<Variant>& args) {
        (*shared)(formatEventCall(*e, name, args));
      });
      ++bound;
    }
  }
  return bound;
}

}  // namespace zxp::host
