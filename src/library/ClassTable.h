// The library's class table: every public control class with its container flags (the OLE
// miscellaneous-status bits) and its toolbox bitmap. Hosts create the library's controls through
// it by class name: forms loaded from files, the gallery, zorvaxp-render.
#pragma once

#include "platform/host/ClassRegistry.h"

namespace zxp::library {

// Miscellaneous-status bits every control class carries: recompose on resize, cannot link
// inside, inside-out activation, activate when visible, set client site first.
constexpr uint32_t kControlMiscBase = host::OLEMISC_RECOMPOSEONRESIZE | host::OLEMISC_CANTLINKINSIDE |
                                      host::OLEMISC_INSIDEOUT | host::OLEMISC_ACTIVATEWHENVISIBLE |
                                      host::OLEMISC_SETCLIENTSITEFIRST;

// The public control classes of the library, looked up by name without regard to case.
const host::ClassRegistry& classes();
// The public classes plus the library's private controls (the text button and the month and
// year pickers the date controls use inside), so that forms showing them on their own can be
// loaded by the renderer and the example tests. Never registered or offered to hosts.
const host::ClassRegistry& classesWithPrivate();

}  // namespace zxp::library
