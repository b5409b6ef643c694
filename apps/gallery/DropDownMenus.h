// The Bars page's answer to its tool bars' drop-down buttons. A tool bar only raises
// PopUpMainMenu(index, caption, x, y) when its arrow zone is pressed, with the button's left and
// bottom in the bar's pixels; what opens is the application's. The gallery opens a pop-up menu of
// a few commands there, under the button, and shows the command chosen in the first panel of the
// form's status bar (sbMain), as an application would act on it.
#pragma once

#include <string>
#include <vector>

#include "platform/host/Form.h"

namespace zxp::gallery {

// The commands of the drop-down menu, in order (command identifiers 1, 2, ...).
const std::vector<std::string>& dropDownCommands();

// Connects every tool bar of the form; returns how many there were.
int connectDropDownMenus(host::Form& form);

}  // namespace zxp::gallery
