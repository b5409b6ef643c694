// Gallery page "toggles": the check box and the option button in every value, alignment,
// background and state, with one option group on the form and one inside a gradient-painted
// container whose transparent members show its paint (examples/toggles.zxf).
#include "Page.h"

namespace zxp::gallery {
namespace {

RegisterPage reg{formFilePage("toggles", "Toggles", 2, exampleForm("toggles"))};

}  // namespace
}  // namespace zxp::gallery
