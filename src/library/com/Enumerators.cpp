#include "library/com/Enumerators.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <new>

#include "library/com/Server.h"

namespace zxp::library::com {

namespace {

bool same(const IID* a, const IID& b) { return a && std::memcmp(a, &b, sizeof b) == 0; }

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
class Enumerator final : public Iface {
 public:
  Enumerator(std::shared_ptr<const Snapshot<Item>> s, const IID& iid, size_t at)
      : snapshot_(std::move(s)), iid_(iid), at_(at) {
    objectCreated();
  }
  Enumerator(const Enumerator&) = delete;
  Enumerator& operator=(const Enumerator&) = delete;

  HRESULT QueryInterface(const IID* riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!riid) return E_INVALIDARG;
    if (!same(riid, IID_IUnknown) && !same(riid, iid_)) return E_NOINTERFACE;
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
  ~Enumerator() { objectDestroyed(); }

  std::shared_ptr<const Snapshot<Item>> snapshot_;
  const IID& iid_;
  size_t at_;
  std::atomic<ULONG> refs_{1};
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
