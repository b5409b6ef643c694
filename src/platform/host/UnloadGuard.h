// Asking a form's owner before the form closes at a user's request (the host's QueryUnload): the
// close box, Alt+F4, the system menu's Close and a control's requestUnload (a skin's close
// button) ask the form's guard first, and a guard that answers false keeps the form as it is.
// Form::Unload is not asked: a program that unloads a form means it. A designer uses this to offer
// saving the edits before its window goes.
#pragma once

#include <functional>

namespace zxp::host {

class Form;

// Sets (or, with an empty function, removes) the guard of a form; it goes with the form.
void setUnloadGuard(const Form& form, std::function<bool()> mayUnload);

}  // namespace zxp::host
