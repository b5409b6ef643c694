// The server's exported entry points: class factories, the unload test, registration, and the
// registry and input calls a host needs to reach the server from plain C.
#include "library/com/Server.h"

#include <atomic>
#include <cstring>
#include <new>

#include "library/com/Automation.h"
#include "library/com/DispatchObject.h"
#include "library/com/PropertyPage.h"
#include "library/com/Registration.h"
#include "library/com/SingleInterface.h"
#include "platform/base/HostError.h"
#include "platform/services/Registry.h"
#include "platform/ui/TestInput.h"
#include "platform/ui/User.h"

namespace zxp::library::com {

namespace {

std::atomic<long> gObjects{0};
std::atomic<long> gLocks{0};

// One factory per class of the type library, alive while a client holds it.
// A factory asked for a null interface id answers that it has no such interface.
class ClassFactory final : public SingleInterface<IClassFactory> {
 public:
  explicit ClassFactory(const TypeLibraryEntry& e) : SingleInterface(IID_IClassFactory, E_NOINTERFACE), entry_(e) {}

  HRESULT CreateInstance(IUnknown* outer, const IID* riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!riid) return E_INVALIDARG;
    if (outer) return CLASS_E_NOAGGREGATION;
    if (entry_.kind == ClassKind::PropertyPage) {
      IPropertyPage* page = createPropertyPage(entry_);
      if (!page) return E_OUTOFMEMORY;
      const HRESULT hr = page->QueryInterface(riid, ppv);
      page->Release();
      return hr;
    }
    DispatchObject* o = nullptr;
    try {
      o = DispatchObject::create(entry_);
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    } catch (const std::exception&) {
      return E_FAIL;
    }
    if (!o) return CLASS_E_CLASSNOTAVAILABLE;
    const HRESULT hr = o->QueryInterface(riid, ppv);
    o->Release();
    return hr;
  }
  HRESULT LockServer(int32_t lock) override {
    if (lock) ++gLocks;
    else if (gLocks > 0) --gLocks;
    return S_OK;
  }

 private:
  const TypeLibraryEntry& entry_;
};

}  // namespace

void objectCreated() { ++gObjects; }
void objectDestroyed() { --gObjects; }
long liveObjects() { return gObjects; }
long serverLocks() { return gLocks; }

}  // namespace zxp::library::com

using namespace zxp;
using namespace zxp::library;
using namespace zxp::library::com;

extern "C" {

HRESULT DllGetClassObject(const CLSID* rclsid, const IID* riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!rclsid || !riid) return E_INVALIDARG;
  const TypeLibraryEntry* e = findByClsid(asGuid(*rclsid));
  if (!e || !registered(*e)) return CLASS_E_CLASSNOTAVAILABLE;
  auto* f = new (std::nothrow) ClassFactory(*e);
  if (!f) return E_OUTOFMEMORY;
  const HRESULT hr = f->QueryInterface(riid, ppv);
  f->Release();
  return hr;
}

HRESULT DllCanUnloadNow(void) { return liveObjects() == 0 && serverLocks() == 0 ? S_OK : S_FALSE; }

HRESULT DllRegisterServer(void) {
  try {
    services::Registry r;
    if (!r.load()) return SELFREG_E_CLASS;
    registerServer(r, modulePath());
    return r.save() ? S_OK : SELFREG_E_CLASS;
  } catch (const std::exception&) {
    return SELFREG_E_CLASS;
  }
}

HRESULT DllUnregisterServer(void) {
  try {
    services::Registry r;
    if (!r.load()) return SELFREG_E_CLASS;
    unregisterServer(r);
    return r.save() ? S_OK : SELFREG_E_CLASS;
  } catch (const std::exception&) {
    return SELFREG_E_CLASS;
  }
}

HRESULT ZorvaXPInputMoveToWindow(HWND hwnd) {
  if (!IsWindow(hwnd)) return E_INVALIDARG;
  ui::TestInput().moveTo(hwnd);
  return S_OK;
}

HRESULT ZorvaXPInputClick(void) {
  ui::TestInput().click();
  return S_OK;
}

HRESULT ZorvaXPInputAdvance(int32_t milliseconds) {
  if (milliseconds < 0) return E_INVALIDARG;
  ui::TestInput().advance(milliseconds);
  return S_OK;
}

}  // extern "C"
