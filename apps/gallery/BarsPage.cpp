// Gallery page "bars": tool bars in the three gradient modes with pictures, separators, a
// drop-down button, toggle buttons and tool tips, and status bars with text, lock, time and date
// panels and resizable edges (examples/bars.zxf). In the live gallery the clock panels tick and
// the lock panels follow the desktop's Caps, Num and Scroll Lock; the event log shows each
// bar's Click, PopUpMainMenu and HeaderSizing.
#include "Page.h"

namespace zxp::gallery {
namespace {

RegisterPage reg{formFilePage("bars", "Bars", 5, exampleForm("bars"))};

}  // namespace
}  // namespace zxp::gallery
