#pragma once
// The IUnknown part of the server's helper objects that answer one interface besides IUnknown
// (type information, enumerators, property pages): QueryInterface for the two, a thread-safe
// reference count starting at one for the creator, and the live-object count DllCanUnloadNow reads.

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
    if (!riid) return E_INVALIDARG;
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
  explicit SingleInterface(const IID& iid) : iid_(iid) { objectCreated(); }
  virtual ~SingleInterface() { objectDestroyed(); }

 private:
  const IID& iid_;
  std::atomic<ULONG> refs_{1};
};

}  // namespace zxp::library::com
