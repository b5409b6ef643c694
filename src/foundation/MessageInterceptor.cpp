#include "foundation/MessageInterceptor.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace zxp {

namespace {

// Every intercepted window gets one entry point, `InterceptorDispatch::entry`, and a chain of
// layers, one per SubclassWindow on that window, oldest first. The window's procedure is the
// entry point whenever the newest layer is ours; each layer remembers the procedure it replaced:
// the entry point itself when the layer below is ours too, or a foreign procedure (a window
// subclassed by someone else between two interceptors). Layers are never bound to a fixed pool
// of functions, so there is no limit on how many windows or owners intercept at once, and a
// layer removed in any order leaves a correct chain:
//  - a removed layer becomes a pass-through, which forwards to what it replaced;
//  - once nothing is dispatching on the window, pass-throughs at the top of the chain are
//    dropped (the window gets back the procedure the top one replaced), and those below are
//    spliced out (the layer above takes over the procedure they replaced).
// A pass-through that a foreign procedure above still calls into stays until the window goes.
struct Layer {
  MessageInterceptor* owner = nullptr;  // null: removed, passes messages through
  size_t record = 0;
  WNDPROC previous = nullptr;  // the procedure this layer replaced
};

struct Chain {
  std::vector<Layer> layers;
  int depth = 0;  // messages being dispatched on the window right now
  // When a layer calls a foreign procedure that it replaced, that procedure calls back into the
  // entry point to reach the layers below: the entry point then continues at this layer index.
  // Each entry is consumed by the first call that follows it.
  struct Continuation {
    size_t layer;
    bool armed;
  };
  std::vector<Continuation> continuations;
};

std::unordered_map<HWND, Chain>& chains() {
  static std::unordered_map<HWND, Chain> c;
  return c;
}

}  // namespace

struct InterceptorDispatch {
  static LRESULT entry(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    auto it = chains().find(hWnd);
    if (it == chains().end() || it->second.layers.empty()) return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    Chain& c = it->second;  // stays valid: chains are erased only while depth is 0
    size_t start = c.layers.size() - 1;
    if (!c.continuations.empty() && c.continuations.back().armed) {
      start = c.continuations.back().layer;
      c.continuations.back().armed = false;
    }
    ++c.depth;
    const LRESULT r = run(hWnd, c, start, uMsg, wParam, lParam);
    if (--c.depth == 0) compact(hWnd);
    return r;
  }

  // Runs layer i: its owner's flow, or a pass-through.
  static LRESULT run(HWND hWnd, Chain& c, size_t i, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    const Layer layer = c.layers[i];
    if (layer.owner) return layer.owner->dispatch(layer.record, i, hWnd, uMsg, wParam, lParam);
    return below(hWnd, i, uMsg, wParam, lParam);
  }

  // What layer i replaced: the layer under it, or the foreign procedure it keeps.
  // The chain is hWnd's; the call goes to `target` (an owner may have changed the window handle
  // it passes on).
  static LRESULT below(HWND hWnd, size_t i, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return below(hWnd, i, hWnd, uMsg, wParam, lParam);
  }
  static LRESULT below(HWND hWnd, size_t i, HWND target, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    auto it = chains().find(hWnd);
    if (it == chains().end() || i >= it->second.layers.size()) return DefWindowProcA(target, uMsg, wParam, lParam);
    Chain& c = it->second;
    const WNDPROC previous = c.layers[i].previous;
    if (previous == &entry && i > 0) {
      if (target != hWnd) return SendMessageA(target, uMsg, wParam, lParam);
      return run(hWnd, c, i - 1, uMsg, wParam, lParam);
    }
    if (!previous) return DefWindowProcA(target, uMsg, wParam, lParam);
    if (i == 0 || target != hWnd) return CallWindowProcA(previous, target, uMsg, wParam, lParam);
    c.continuations.push_back(Chain::Continuation{i - 1, true});
    const LRESULT r = CallWindowProcA(previous, hWnd, uMsg, wParam, lParam);
    c.continuations.pop_back();
    return r;
  }

  // Drops and splices out pass-through layers (only while nothing dispatches on the window).
  static void compact(HWND hWnd) {
    auto it = chains().find(hWnd);
    if (it == chains().end() || it->second.depth != 0) return;
    Chain& c = it->second;
    if (!IsWindow(hWnd)) {
      chains().erase(it);
      return;
    }
    auto current = [&] { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hWnd, GWLP_WNDPROC)); };
    while (!c.layers.empty() && !c.layers.back().owner && current() == &entry) {
      const WNDPROC previous = c.layers.back().previous;
      c.layers.pop_back();
      if (previous != &entry) SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    }
    // A pass-through under one of ours: the layer above takes over what it replaced.
    for (size_t i = c.layers.size(); i-- > 1;) {
      const size_t k = i - 1;
      if (!c.layers[k].owner && c.layers[i].previous == &entry) {
        c.layers[i].previous = c.layers[k].previous;
        if (c.layers[i].owner) c.layers[i].owner->records_[c.layers[i].record].previous = c.layers[i].previous;
        c.layers.erase(c.layers.begin() + static_cast<std::ptrdiff_t>(k));
        for (size_t j = k; j < c.layers.size(); ++j)
          if (c.layers[j].owner) c.layers[j].owner->records_[c.layers[j].record].entry = static_cast<int32_t>(j);
      }
    }
    if (c.layers.empty()) chains().erase(it);
  }
};

namespace {

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

int32_t MessageInterceptor::entryPointsInUse() {
  int32_t n = 0;
  for (const auto& [hWnd, chain] : chains())
    for (const auto& layer : chain.layers) n += layer.owner != nullptr;
  return n;
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

  // A free record, or one more.
  size_t index = records_.size();
  for (size_t i = 0; i < records_.size(); ++i) {
    if (records_[i].hWnd == 0) {
      index = i;
      break;
    }
  }
  if (index == records_.size()) records_.emplace_back();

  Chain& chain = chains()[hWnd];
  const WNDPROC previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&InterceptorDispatch::entry)));
  chain.layers.push_back(Layer{this, index, previous});
  Record& r = records_[index];
  r = Record{};
  r.hWnd = hWnd;
  r.entry = static_cast<int32_t>(chain.layers.size() - 1);
  r.previous = previous;
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
  const bool alive = IsWindow(hWnd) != 0;
  auto it = chains().find(hWnd);
  if (it != chains().end()) {
    auto& layers = it->second.layers;
    const size_t k = static_cast<size_t>(r->entry);
    if (k < layers.size() && layers[k].owner == this) layers[k].owner = nullptr;
    InterceptorDispatch::compact(hWnd);
  }
  *r = Record{};
  return alive;
}

void MessageInterceptor::UnsubclassAll() {
  for (size_t i = records_.size(); i-- > 0;) {
    if (records_[i].hWnd != 0) UnsubclassWindow(records_[i].hWnd);
  }
}

LRESULT MessageInterceptor::dispatch(size_t index, size_t layer, HWND hWnd, UINT uMsg, WPARAM wParam,
                                     LPARAM lParam) {
  // The callback may change the record (add messages, unsubclass): look it up each time.
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
    lReturn = InterceptorDispatch::below(hWnd, layer, h, m, w, l);
    if (isListed(false)) owner_.zSubclass_Proc(false, bHandled, lReturn, h, m, w, l);
  }
  return lReturn;
}

}  // namespace zxp
