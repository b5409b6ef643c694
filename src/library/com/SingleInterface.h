#pragma once
// The IUnknown part of the server's objects that answer one interface besides IUnknown (class
// factories, type information, enumerators, property pages): QueryInterface for the two, a
// thread-safe reference count starting at one for the creator, and the live-object count
// DllCanUnloadNow reads.

#include <atomic>

#include "library/com/Automation.h"
#include "library/com/Server.h"

namespace zxp::library::com {

template <class Iface>
class SingleInterface : public Iface {
 public:
  SingleInterface(const SingleInterface&) = delete;
  SingleInterface& operator=(const SingleInterface&) = delete;

  HRESULT QueryInterface(const IID* riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!riid) return nullIidAnswer_;
    if (!sameIid(riid, IID_IUnknown) && !sameIid(riid, iid_)) return E_NOINTERFACE;
    AddRef();
    *ppv = static_cast<Iface*>(this);
    return S_OK;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  // nullIidAnswer: what QueryInterface answers for a null interface id.
  explicit SingleInterface(const IID& iid, HRESULT nullIidAnswer = E_INVALIDARG)
      : iid_(iid), nullIidAnswer_(nullIidAnswer) {
    objectCreated();
  }
  virtual ~SingleInterface() { objectDestroyed(); }

 private:
  const IID& iid_;
  const HRESULT nullIidAnswer_;
  std::atomic<ULONG> refs_{1};
};

}  // namespace zxp::library::com
