// Gallery page "buttons": the push button in every style and state (examples/buttons.zxf).
#include "Page.h"

namespace zxp::gallery {
namespace {

RegisterPage reg{formFilePage("buttons", "Buttons", 1, exampleForm("buttons"))};

}  // namespace
}  // namespace zxp::gallery
