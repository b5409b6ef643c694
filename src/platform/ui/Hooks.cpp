// Thread hooks: chains per type, newest first, with CallNextHookEx walking toward the oldest.
// A hook removed while any hook call is running is only marked: its record stays in the chain
// (skipped) until the outermost hook call returns, so a chain walk never loses its place.
#include "platform/ui/Hooks.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/gfx/Handles.h"

namespace zxp::ui {

namespace {

struct HookRecord {
  HHOOK handle = 0;
  int type = 0;
  HOOKPROC proc = nullptr;
  bool dead = false;
};

struct HookObject : HandleObject {
  std::shared_ptr<HookRecord> rec;
};

constexpr int kFirstType = WH_MSGFILTER;
constexpr int kLastType = WH_MOUSE_LL;
constexpr int kTypes = kLastType - kFirstType + 1;

struct HookState {
  std::vector<std::shared_ptr<HookRecord>> chains[kTypes];
  std::vector<std::shared_ptr<HookRecord>> running;  // records whose procedure is running
  int depth = 0;
  bool deadInChains = false;  // a record was marked dead while hooks ran: purge when they end
};

HookState& state() {
  static HookState s;
  return s;
}

bool validType(int type) { return type >= kFirstType && type <= kLastType; }
std::vector<std::shared_ptr<HookRecord>>& chainOf(int type) { return state().chains[type - kFirstType]; }

// Takes out the records marked dead while hooks ran; nothing to do (the usual case, checked on
// every hook call) unless one was.
void purgeDead() {
  HookState& s = state();
  if (!s.deadInChains) return;
  s.deadInChains = false;
  for (auto& chain : s.chains)
    chain.erase(std::remove_if(chain.begin(), chain.end(), [](const auto& r) { return r->dead; }), chain.end());
}

LRESULT invoke(const std::shared_ptr<HookRecord>& rec, int code, WPARAM wParam, LPARAM lParam) {
  HookState& s = state();
  ++s.depth;
  s.running.push_back(rec);
  LRESULT r = rec->proc(code, wParam, lParam);
  s.running.pop_back();
  if (--s.depth == 0) purgeDead();
  return r;
}

// The first live record at or after index i of the chain.
std::shared_ptr<HookRecord> liveFrom(const std::vector<std::shared_ptr<HookRecord>>& chain, size_t i) {
  for (; i < chain.size(); ++i)
    if (!chain[i]->dead) return chain[i];
  return nullptr;
}

}  // namespace

bool hasHooks(int type) {
  if (!validType(type)) return false;
  for (const auto& r : chainOf(type))
    if (!r->dead) return true;
  return false;
}

size_t hookCount(int type) {
  if (!validType(type)) return 0;
  auto& c = chainOf(type);
  return static_cast<size_t>(std::count_if(c.begin(), c.end(), [](const auto& r) { return !r->dead; }));
}

LRESULT callHooks(int type, int code, WPARAM wParam, LPARAM lParam) {
  if (!validType(type)) return 0;
  auto first = liveFrom(chainOf(type), 0);
  if (!first) return 0;
  if (type != WH_DEBUG && hasHooks(WH_DEBUG)) {
    // The debug hooks see every other hook call first and may skip it.
    DEBUGHOOKINFO info;
    info.idThread = GetCurrentThreadId();
    info.idThreadInstaller = info.idThread;
    info.lParam = lParam;
    info.wParam = wParam;
    info.code = code;
    if (callHooks(WH_DEBUG, HC_ACTION, static_cast<WPARAM>(type), reinterpret_cast<LPARAM>(&info))) return 0;
    first = liveFrom(chainOf(type), 0);
    if (!first) return 0;
  }
  return invoke(first, code, wParam, lParam);
}

void removeAllHooks() {
  HookState& s = state();
  for (auto& chain : s.chains) {
    for (auto& r : chain) {
      if (!r->dead) handles().remove(r->handle);
      r->dead = true;
    }
    if (s.depth == 0) chain.clear();
    else s.deadInChains = true;
  }
}

}  // namespace zxp::ui

namespace zxp {

using namespace zxp::ui;

HHOOK SetWindowsHookExA(int idHook, HOOKPROC proc, HINSTANCE, DWORD threadId) {
  switch (idHook) {
    case WH_KEYBOARD:
    case WH_GETMESSAGE:
    case WH_CALLWNDPROC:
    case WH_MOUSE:
    case WH_CALLWNDPROCRET:
    case WH_CBT:
    case WH_DEBUG:
    case WH_FOREGROUNDIDLE:
      break;
    default:
      return 0;
  }
  if (!proc || (threadId != 0 && threadId != GetCurrentThreadId())) return 0;
  auto rec = std::make_shared<HookRecord>();
  rec->type = idHook;
  rec->proc = proc;
  auto obj = std::make_shared<HookObject>();
  obj->rec = rec;
  rec->handle = handles().add(ObjKind::Hook, obj);
  auto& chain = chainOf(idHook);
  chain.insert(chain.begin(), rec);
  return rec->handle;
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
  auto* obj = handles().peek<HookObject>(hook, ObjKind::Hook);
  if (!obj) return FALSE;
  std::shared_ptr<HookRecord> rec = obj->rec;
  rec->dead = true;
  handles().remove(hook);
  if (state().depth == 0) {
    auto& chain = chainOf(rec->type);
    chain.erase(std::remove(chain.begin(), chain.end(), rec), chain.end());
  } else {
    state().deadInChains = true;
  }
  return TRUE;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
  HookState& s = state();
  // As on the platform, the handle does not decide the place in the chain: inside a hook call
  // the chain continues after the innermost running hook, whichever handle the caller passes
  // (hooks commonly pass a module-wide handle that belongs to another hook of the chain).
  // Only outside any hook call does the handle say where to start.
  std::shared_ptr<HookRecord> from;
  if (!s.running.empty()) {
    from = s.running.back();
  } else if (auto* obj = handles().peek<HookObject>(hook, ObjKind::Hook)) {
    from = obj->rec;
  }
  if (!from) return 0;
  auto& chain = chainOf(from->type);
  auto it = std::find(chain.begin(), chain.end(), from);
  if (it == chain.end()) return 0;
  auto next = liveFrom(chain, static_cast<size_t>(it - chain.begin()) + 1);
  return next ? invoke(next, code, wParam, lParam) : 0;
}

}  // namespace zxp
