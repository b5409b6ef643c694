// The component object that clients hold: IDispatch over a member table, the connection point
// of the class's outgoing event interface (named by IProvideClassInfo2), and IOleWindow and
// ISpecifyPropertyPages for controls. One class serves every
// object of the library, whatever its class: the member table says what it can do.
//
// A control created through its class factory is sited on a run-mode form of its own (the
// library's container window), at the form's top-left corner; releasing the last reference
// terminates the control and closes the form.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "library/TypeLibrary.h"
#include "platform/host/Event.h"
#include "platform/host/Form.h"
#include "zorvaxp/zorvaxp_com.h"

namespace zxp::library::com {

// Another component object carried inside a host value (a VARIANT's VT_DISPATCH argument).
class ForeignObject final : public host::HostObject {
 public:
  explicit ForeignObject(IUnknown* unknown);
  ~ForeignObject() override;
  ForeignObject(const ForeignObject&) = delete;
  ForeignObject& operator=(const ForeignObject&) = delete;
  std::string typeName() const override { return "Object"; }
  IDispatch* dispatch() const { return dispatch_; }  // nullptr when the object has none

 private:
  IUnknown* unknown_;
  IDispatch* dispatch_ = nullptr;
};

class DispatchObject final : public IDispatch,
                             public IConnectionPointContainer,
                             public IOleWindow,
                             public IProvideClassInfo2,
                             public ISpecifyPropertyPages {
 public:
  // A new object of a class of the type library (AddRef'd once), or nullptr when the row
  // creates nothing. HostError from a control's start-up propagates.
  static DispatchObject* create(const TypeLibraryEntry& entry);
  // A font, picture or other host object handed out in a VARIANT (AddRef'd once).
  static DispatchObject* forValue(const host::Variant& value);
  // Our object behind an interface pointer, nullptr for another server's object.
  static DispatchObject* from(IUnknown* unknown);
  // A form the host built or loaded, owned by the object (AddRef'd once).
  static DispatchObject* forForm(std::unique_ptr<host::Form> form);
  // A control sited on the form that `formObject` owns; the object keeps that form alive.
  static DispatchObject* forControl(DispatchObject& formObject, host::Extender& site);
  // A control on a form that the caller owns and keeps alive for as long as it holds the object
  // (a designer's form, whose controls it hands to property pages): no reference to the form.
  static DispatchObject* forSite(host::Extender& site);

  // The form this object owns (forForm, or the private form of a control made by its factory);
  // nullptr for others.
  host::Form* form() const { return form_.get(); }
  // Whether this is a host's form (forForm), rather than a control with a private form.
  bool isForm() const { return form_ && !site_; }
  // The control's site, nullptr for objects that are no control (nor one whose form has
  // unloaded: see gone()).
  host::Extender* site() const { return gone() ? nullptr : site_; }
  // Whether this is a control whose form has unloaded (closed by its user, say): the form took
  // the control with it, and calls raise "Object variable not set" (91).
  bool gone() const;

  // Objects go when their last reference is released; the destructor is public only for the
  // factories' unique_ptr while an object is being built.
  ~DispatchObject();

  // The object whose members the calls reach; for a host value (a row, a form), the object it
  // stands for now (HostError 91 once that has gone).
  host::Dispatchable& object() const;
  // The object as a host value: the font or picture itself, else a reference to this object.
  host::Variant asVariant();

  // IUnknown
  HRESULT QueryInterface(const IID* riid, void** ppv) override;
  ULONG AddRef() override;
  ULONG Release() override;
  // IDispatch
  HRESULT GetTypeInfoCount(UINT* count) override;
  HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT GetIDsOfNames(const IID* riid, OLECHAR** names, UINT count, LCID lcid, DISPID* ids) override;
  HRESULT Invoke(DISPID id, const IID* riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* excep, UINT* argErr) override;
  // IConnectionPointContainer
  HRESULT EnumConnectionPoints(IEnumConnectionPoints** out) override;
  HRESULT FindConnectionPoint(const IID* riid, IConnectionPoint** out) override;
  // IOleWindow
  HRESULT GetWindow(HWND* hwnd) override;
  HRESULT ContextSensitiveHelp(int32_t) override { return E_NOTIMPL; }
  // IProvideClassInfo2: the class's type information and its outgoing interface
  HRESULT GetClassInfo(ITypeInfo** info) override;
  HRESULT GetGUID(DWORD kind, GUID* guid) override;
  // ISpecifyPropertyPages (controls that have a page): the page's class identifier
  HRESULT GetPages(CAUUID* pages) override;

 private:
  class EventPoint;
  struct Advice {
    DWORD cookie;
    IDispatch* sink;
    std::vector<std::pair<host::EventBase*, host::Connection>> connections;
  };

  DispatchObject();
  HRESULT advise(IUnknown* sink, DWORD* cookie);
  HRESULT unadvise(DWORD cookie);
  void unadviseAll();
  HRESULT fail(const std::exception& e, int32_t number, EXCEPINFO* excep) const;
  HRESULT invokeMember(const host::Member& m, host::Dispatchable& target, WORD flags, DISPPARAMS* params,
                       VARIANT* result, UINT* argErr);
  // The site whose members a control also answers (see GetIDsOfNames); nullptr for objects that
  // are no control, and for a control whose form has gone.
  host::Extender* memberSite() const;
  // A member of the control's site by its identifier; nullptr for others.
  const host::Member* siteMember(DISPID id) const;

  std::atomic<ULONG> refs_{1};
  const TypeLibraryEntry* entry_ = nullptr;
  std::string source_;  // the program identifier EXCEPINFO names
  std::unique_ptr<host::Form> form_;
  DispatchObject* formOwner_ = nullptr;  // a control placed on a host's form: that form's object
  host::Extender* site_ = nullptr;
  std::unique_ptr<host::Dispatchable> owned_;
  host::Dispatchable* object_ = nullptr;
  host::Variant value_;  // fonts, pictures and other host objects (a row, a form)
  host::HostObject* hostObject_ = nullptr;  // the host object in value_ whose members calls reach
  std::unique_ptr<EventPoint> events_;
  std::vector<Advice> advice_;
  DWORD nextCookie_ = 1;
};

}  // namespace zxp::library::com
