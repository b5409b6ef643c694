// Platform headers come before the component header (its HRESULT macros would rewrite their constants).
#include "library/com/Automation.h"

#include "library/com/Enumerators.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <new>

#include "library/com/Server.h"
#include "library/com/SingleInterface.h"

namespace zxp::library::com {

namespace {

IUnknown* unknownOf(IConnectionPoint* p) { return p; }
IUnknown* unknownOf(const CONNECTDATA& c) { return c.pUnk; }

// The items of one enumeration, each holding one reference until the last enumerator goes.
template <class Item>
struct Snapshot {
  explicit Snapshot(std::vector<Item> v) : items(std::move(v)) {
    for (const Item& i : items)
      if (IUnknown* u = unknownOf(i)) u->AddRef();
  }
  ~Snapshot() {
    for (const Item& i : items)
      if (IUnknown* u = unknownOf(i)) u->Release();
  }
  Snapshot(const Snapshot&) = delete;
  Snapshot& operator=(const Snapshot&) = delete;
  std::vector<Item> items;
};

template <class Iface, class Item>
class Enumerator final : public SingleInterface<Iface> {
 public:
  Enumerator(std::shared_ptr<const Snapshot<Item>> s, const IID& iid, size_t at)
      : SingleInterface<Iface>(iid), snapshot_(std::move(s)), iid_(iid), at_(at) {}


  // Hands out up to `count` items, each AddRef'd for the caller; S_FALSE when fewer were left.
  HRESULT Next(ULONG count, Item* out, ULONG* fetched) override {
    if (fetched) *fetched = 0;
    if (!out || (count != 1 && !fetched)) return E_POINTER;
    const auto& items = snapshot_->items;
    ULONG n = 0;
    for (; n < count && at_ < items.size(); ++n, ++at_) {
      out[n] = items[at_];
      if (IUnknown* u = unknownOf(out[n])) u->AddRef();
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT Skip(ULONG count) override {
    const size_t left = snapshot_->items.size() - at_;
    if (count > left) {
      at_ = snapshot_->items.size();
      return S_FALSE;
    }
    at_ += count;
    return S_OK;
  }
  HRESULT Reset() override {
    at_ = 0;
    return S_OK;
  }
  HRESULT Clone(Iface** out) override {
    if (!out) return E_POINTER;
    *out = new (std::nothrow) Enumerator(snapshot_, iid_, at_);
    return *out ? S_OK : E_OUTOFMEMORY;
  }

 private:
  std::shared_ptr<const Snapshot<Item>> snapshot_;
  const IID& iid_;
  size_t at_;
};

template <class Iface, class Item>
Iface* makeEnumerator(const std::vector<Item>& items, const IID& iid) {
  try {
    auto snapshot = std::make_shared<const Snapshot<Item>>(items);
    return new Enumerator<Iface, Item>(std::move(snapshot), iid, 0);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace

IEnumConnectionPoints* enumConnectionPoints(const std::vector<IConnectionPoint*>& points) {
  return makeEnumerator<IEnumConnectionPoints>(points, IID_IEnumConnectionPoints);
}

IEnumConnections* enumConnections(const std::vector<CONNECTDATA>& connections) {
  return makeEnumerator<IEnumConnections>(connections, IID_IEnumConnections);
}

}  // namespace zxp::library::com
