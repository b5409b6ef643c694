// The container contract: what the host needs from a control, and what a control gets from its
// host (ambient properties; the extender, Extender.h).
//
// A control's life, driven by the host:
//   attach(extender)        the host sites the control first (it knows its container and name)
//   Initialize()            the object is created: it makes its window inside its container
//   InitProperties()        a new instance placed in a designer: creation defaults
//   or ReadProperties(bag)  an existing instance loaded from its property bag
//   Resize()                the host has given the control its size
//   ... input, painting, property calls, events ...
//   WriteProperties(bag)    whenever the designer saves (any number of times)
//   Terminate()             the object goes away
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/gfx/Handles.h"
#include "platform/gfx/Types.h"
#include "platform/host/MemberTable.h"
#include "platform/host/PropertyBag.h"

namespace zxp::host {

// The OLE miscellaneous-status bits a control class declares to its container.
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

// The host's system-colour values used as ambient defaults.
constexpr OLE_COLOR vbButtonFace = 0x8000000F;
constexpr OLE_COLOR vbButtonText = 0x80000012;

// What the host tells its controls about their surroundings.
struct AmbientProperties {
  bool UserMode = true;     // False in a designer (design time), True when the form runs
  FontRef Font;             // the form's font
  std::string DisplayName;  // the name the host shows for the control ("ZorvaXPButton1")
  OLE_COLOR BackColor = vbButtonFace;
  OLE_COLOR ForeColor = vbButtonText;
};

class Extender;

class ControlObject : public Dispatchable {
 public:
  // The control learns its site before anything else (set client site first).
  virtual void attach(Extender& extender) = 0;
  virtual void Initialize() = 0;
  virtual void InitProperties() = 0;
  virtual void ReadProperties(PropertyBag& PropBag) = 0;
  virtual void WriteProperties(PropertyBag& PropBag) = 0;
  virtual void Resize() = 0;
  virtual void Terminate() = 0;

  // The control's window, which the host places, shows and hides; 0 before Initialize.
  virtual HWND hWnd() const = 0;
  // Whether the control can take the focus (tab order, access keys).
  virtual bool CanGetFocus() const { return true; }
  // One of the control's access keys was pressed (KeyAscii: the key's character).
  virtual void AccessKeyPress(int16_t KeyAscii) = 0;
  // An ambient property changed (its name).
  virtual void AmbientChanged(std::string_view PropertyName) = 0;
};

}  // namespace zxp::host
