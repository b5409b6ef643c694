// The component server's call overhead. A property put through IDispatch::Invoke by dispatch
// identifier, and by name (GetIDsOfNames then Invoke, as a late-bound host does on every call),
// each timed beside the typed C++ setter of the same property in the same run: "ratio" = setter
// time / Invoke time (the share of a late-bound call that the setter itself costs),
// "us_per_call" = one Invoke. The property is the row class's ItemData (a plain store, so the
// figures are the dispatch cost alone) and the push button's Caption (a setter that redraws).
// Creation: 10 000 push buttons made through the class factory and released, per object.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "BenchClock.h"
#include "buttons/ZorvaXPButton.h"
#include "list/LItemObject.h"
#include "library/TypeLibrary.h"
#include "library/com/Automation.h"
#include "library/com/DispatchObject.h"
#include "platform/ui/EventLoop.h"
#include "zorvaxp/zorvaxp_com.h"

namespace {

using namespace zxp;
using namespace zxp::library;
using namespace zxp::library::com;

IDispatch* make(const char* name) {
  IClassFactory* f = nullptr;
  DllGetClassObject(asIid(findByName(name)->clsid), &IID_IClassFactory, reinterpret_cast<void**>(&f));
  IDispatch* d = nullptr;
  f->CreateInstance(nullptr, &IID_IDispatch, reinterpret_cast<void**>(&d));
  f->Release();
  return d;
}

HRESULT putById(IDispatch* d, DISPID id, VARIANT& v) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS p{&v, &named, 1, 1};
  return d->Invoke(id, &IID_NULL, 0, DISPATCH_PROPERTYPUT, &p, nullptr, nullptr, nullptr);
}

HRESULT putByName(IDispatch* d, OLECHAR* name, VARIANT& v) {
  DISPID id = 0;
  d->GetIDsOfNames(&IID_NULL, &name, 1, 0, &id);
  return putById(d, id, v);
}

template <class Setter>
void invokeBeside(benchmark::State& state, const char* cls, const char* property, VARIANT value, bool byName,
                  Setter&& typed) {
  ui::resetWindowSystem();
  IDispatch* d = make(cls);
  std::u16string name = toUtf16(property);
  OLECHAR* n = reinterpret_cast<OLECHAR*>(name.data());
  DISPID id = 0;
  d->GetIDsOfNames(&IID_NULL, &n, 1, 0, &id);
  host::Dispatchable& object = DispatchObject::from(d)->object();
  bench::alternate(
      state, 64,
      [&] { benchmark::DoNotOptimize(byName ? putByName(d, n, value) : putById(d, id, value)); },
      [&] { typed(object); });
  VariantClear(&value);
  d->Release();
  ui::resetWindowSystem();
}

VARIANT i4(int32_t x) {
  VARIANT v{};
  v.vt = VT_I4;
  v.lVal = x;
  return v;
}

VARIANT text(const char* s) {
  VARIANT v{};
  v.vt = VT_BSTR;
  v.bstrVal = allocBstr(s);
  return v;
}

void BM_InvokePut_ItemData_ById(benchmark::State& s) {
  invokeBeside(s, "clsLItem", "ItemData", i4(42), false,
               [](host::Dispatchable& o) { static_cast<list::LItemObject&>(o).setItemData(42); });
}
void BM_InvokePut_ItemData_ByName(benchmark::State& s) {
  invokeBeside(s, "clsLItem", "ItemData", i4(42), true,
               [](host::Dispatchable& o) { static_cast<list::LItemObject&>(o).setItemData(42); });
}
void BM_InvokePut_ButtonCaption_ById(benchmark::State& s) {
  invokeBeside(s, "ZorvaXPButton", "Caption", text("OK"), false,
               [](host::Dispatchable& o) { static_cast<buttons::ZorvaXPButton&>(o).setCaption("OK"); });
}
void BM_InvokePut_ButtonCaption_ByName(benchmark::State& s) {
  invokeBeside(s, "ZorvaXPButton", "Caption", text("OK"), true,
               [](host::Dispatchable& o) { static_cast<buttons::ZorvaXPButton&>(o).setCaption("OK"); });
}
BENCHMARK(BM_InvokePut_ItemData_ById);
BENCHMARK(BM_InvokePut_ItemData_ByName);
BENCHMARK(BM_InvokePut_ButtonCaption_ById);
BENCHMARK(BM_InvokePut_ButtonCaption_ByName);

void BM_CreateRelease10000Buttons(benchmark::State& state) {
  ui::resetWindowSystem();
  IClassFactory* f = nullptr;
  DllGetClassObject(asIid(findByName("ZorvaXPButton")->clsid), &IID_IClassFactory, reinterpret_cast<void**>(&f));
  std::vector<IDispatch*> objects(10000);
  double seconds = 0;
  for (auto _ : state) {
    const double t0 = bench::threadSeconds();
    for (IDispatch*& d : objects) f->CreateInstance(nullptr, &IID_IDispatch, reinterpret_cast<void**>(&d));
    for (IDispatch* d : objects) d->Release();
    seconds += bench::threadSeconds() - t0;
  }
  f->Release();
  state.counters["us_per_object"] = seconds * 1e6 / (static_cast<double>(state.iterations()) * 10000.0);
  ui::resetWindowSystem();
}
BENCHMARK(BM_CreateRelease10000Buttons)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace
