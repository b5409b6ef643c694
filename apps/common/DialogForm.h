// What the apps' small dialogs made of the library's controls share (the file picker, the font
// chooser): a form of a given client size at a screen position, the OK and Cancel buttons along
// its bottom right, and reading an edit field's text.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/host/Form.h"

namespace zxp::appkit {

std::unique_ptr<host::Form> makeDialogForm(const char* name, const std::string& title, Size clientSize, Point screenPos);
// "cmdOK" (captioned okCaption) and "cmdCancel", 80 x 24 pixels each, ending `margin` pixels from
// the form's right edge, at `top`.
void addOkCancel(host::Form& form, int top, int margin, const char* okCaption, std::function<void()> onOk,
                 std::function<void()> onCancel);
// An edit field's whole text ("" for no field).
std::string editText(HWND field);

}  // namespace zxp::appkit
