// A form as a host value: what a control's Parent hands to late-bound callers. The object does
// not own the form; it reaches the form's members only while the form's window exists, so a
// caller that keeps it after the form has gone holds an object with no members (calls through
// it raise "Object variable not set", 91) rather than a dangling one.
#pragma once

#include <string>

#include "platform/host/Form.h"
#include "platform/host/Variant.h"

namespace zxp::host {

class FormObject final : public HostObject {
 public:
  explicit FormObject(Form& form) : form_(&form), hwnd_(form.hWnd()) {}
  std::string typeName() const override { return "Form"; }
  Dispatchable* members() override;

  // The form as an object; none for no form.
  static ObjectRef of(Form* form);

 private:
  Form* form_;
  HWND hwnd_;
};

}  // namespace zxp::host
