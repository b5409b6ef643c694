// The library's class table: every public control class with its container flags (the OLE
// miscellaneous-status bits) and its toolbox bitmap. Hosts create the library's controls through
// it by class name: forms loaded from files, the gallery, zorvaxp-render.
#pragma once

#include "platform/host/ClassRegistry.h"

namespace zxp::library {

// Miscellaneous-status bits every control class carries: recompose on resize, cannot link
// inside, inside-out activation, activate when visible, set client site first.
constexpr uint32_t OLEMISC_RECOMPOSEONRESIZE = 0x00001;
constexpr uint32_t OLEMISC_CANTLINKINSIDE = 0x00010;
constexpr uint32_t OLEMISC_INSIDEOUT = 0x00080;
constexpr uint32_t OLEMISC_ACTIVATEWHENVISIBLE = 0x00100;
constexpr uint32_t OLEMISC_INVISIBLEATRUNTIME = 0x00400;
constexpr uint32_t OLEMISC_ACTSLIKEBUTTON = 0x01000;
constexpr uint32_t OLEMISC_NOUIACTIVATE = 0x04000;
constexpr uint32_t OLEMISC_ALIGNABLE = 0x08000;
constexpr uint32_t OLEMISC_SIMPLEFRAME = 0x10000;
constexpr uint32_t OLEMISC_SETCLIENTSITEFIRST = 0x20000;
constexpr uint32_t kControlMiscBase = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
                                      OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;

// The public control classes of the library, looked up by name without regard to case.
const host::ClassRegistry& classes();

}  // namespace zxp::library
