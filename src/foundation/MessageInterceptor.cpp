#include "foundation/MessageInterceptor.h"

#include <algorithm>
#include <array>
#include <utility>

namespace zxp {

namespace {

// Window procedures are plain functions, so each intercepted window needs an entry point that
// knows its record. They come from a fixed pool of generated functions, one per slot.
constexpr size_t kEntryPoints = 256;

struct Slot {
  MessageInterceptor* owner = nullptr;
  size_t record = 0;
  bool used = false;
};

std::array<Slot, kEntryPoints>& slots() {
  static std::array<Slot, kEntryPoints> s;
  return s;
}

}  // namespace

struct InterceptorDispatch {
  template <size_t N>
  static LRESULT entry(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    Slot& s = slots()[N];
    if (!s.used || !s.owner) return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    return s.owner->dispatch(s.record, hWnd, uMsg, wParam, lParam);
  }

  template <size_t... I>
  static constexpr std::array<WNDPROC, sizeof...(I)> table(std::index_sequence<I...>) {
    return {&entry<I>...};
  }
};

namespace {

const std::array<WNDPROC, kEntryPoints>& entryPoints() {
  static const auto t = InterceptorDispatch::table(std::make_index_sequence<kEntryPoints>{});
  return t;
}

bool listed(int32_t count, const std::vector<UINT>& list, UINT uMsg) {
  if (count == ALL_MESSAGES) return true;
  if (count == 0) return false;
  return std::find(list.begin(), list.end(), uMsg) != list.end();
}

void addTo(int32_t& count, std::vector<UINT>& list, int32_t uMsg) {
  if (uMsg == ALL_MESSAGES) {
    count = ALL_MESSAGES;
    list.clear();
    return;
  }
  if (count == ALL_MESSAGES) return;  // already sees everything
  UINT m = static_cast<UINT>(uMsg);
  if (std::find(list.begin(), list.end(), m) != list.end()) return;
  auto freeEntry = std::find(list.begin(), list.end(), 0u);
  if (freeEntry != list.end())
    *freeEntry = m;
  else
    list.push_back(m);
  count = static_cast<int32_t>(list.size());
}

}  // namespace

int32_t MessageInterceptor::entryPointCapacity() { return static_cast<int32_t>(kEntryPoints); }

int32_t MessageInterceptor::entryPointsInUse() {
  return static_cast<int32_t>(std::count_if(slots().begin(), slots().end(), [](const Slot& s) { return s.used; }));
}

MessageInterceptor::Record* MessageInterceptor::find(HWND hWnd) {
  if (hWnd == 0) return nullptr;
  for (auto& r : records_)
    if (r.hWnd == hWnd) return &r;
  return nullptr;
}

int32_t MessageInterceptor::SubclassWindow(HWND hWnd) {
  if (!IsWindow(hWnd)) return -1;
  for (size_t i = 0; i < records_.size(); ++i)
    if (records_[i].hWnd == hWnd) return static_cast<int32_t>(i);

  auto& pool = slots();
  auto freeSlot = std::find_if(pool.begin(), pool.end(), [](const Slot& s) { return !s.used; });
  if (freeSlot == pool.end()) return -1;

  // A free record, or one more.
  size_t index = records_.size();
  for (size_t i = 0; i < records_.size(); ++i) {
    if (records_[i].hWnd == 0) {
      index = i;
      break;
    }
  }
  if (index == records_.size()) records_.emplace_back();

  size_t entry = static_cast<size_t>(freeSlot - pool.begin());
  *freeSlot = Slot{this, index, true};
  Record& r = records_[index];
  r = Record{};
  r.hWnd = hWnd;
  r.entry = static_cast<int32_t>(entry);
  r.previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entryPoints()[entry])));
  return static_cast<int32_t>(index);
}

bool MessageInterceptor::AddMessage(HWND hWnd, int32_t uMsg, int32_t When) {
  Record* r = find(hWnd);
  if (!r) return false;
  if (When & MSG_BEFORE) addTo(r->beforeCount, r->beforeMessages, uMsg);
  if (When & MSG_AFTER) addTo(r->afterCount, r->afterMessages, uMsg);
  return true;
}

bool MessageInterceptor::UnsubclassWindow(HWND hWnd) {
  Record* r = find(hWnd);
  if (!r) return false;
  bool restored = false;
  if (IsWindow(hWnd) && r->previous) {
    SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(r->previous));
    restored = true;
  }
  if (r->entry >= 0) slots()[static_cast<size_t>(r->entry)] = Slot{};
  *r = Record{};
  return restored;
}

void MessageInterceptor::UnsubclassAll() {
  for (size_t i = records_.size(); i-- > 0;) {
    if (records_[i].hWnd != 0) UnsubclassWindow(records_[i].hWnd);
  }
}

LRESULT MessageInterceptor::dispatch(size_t index, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  // Copy what the flow needs: a callback may change the record (add messages, unsubclass).
  if (index >= records_.size()) return DefWindowProcA(hWnd, uMsg, wParam, lParam);
  WNDPROC previous = records_[index].previous;
  auto isListed = [&](bool before) {
    if (index >= records_.size() || records_[index].hWnd == 0) return false;
    const Record& r = records_[index];
    return before ? listed(r.beforeCount, r.beforeMessages, uMsg) : listed(r.afterCount, r.afterMessages, uMsg);
  };

  LRESULT lReturn = 0;
  bool bHandled = false;
  HWND h = hWnd;
  UINT m = uMsg;
  WPARAM w = wParam;
  LPARAM l = lParam;
  if (isListed(true)) owner_.zSubclass_Proc(true, bHandled, lReturn, h, m, w, l);
  if (!bHandled) {
    lReturn = previous ? CallWindowProcA(previous, h, m, w, l) : DefWindowProcA(h, m, w, l);
    if (isListed(false)) owner_.zSubclass_Proc(false, bHandled, lReturn, h, m, w, l);
  }
  return lReturn;
}

}  // namespace zxp
