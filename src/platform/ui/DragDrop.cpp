// Drag and drop: data objects, registered drop targets, DoDragDrop's tracking and external drops
// (see DragDrop.h).
#include "platform/ui/DragDrop.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>

#include "platform/ui/Input.h"
#include "platform/ui/ModalLoop.h"
#include "platform/ui/Window.h"

namespace zxp {

namespace {
std::vector<std::string>& registeredFormats() {
  static std::vector<std::string> v;
  return v;
}
bool sameNoCase(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}
}  // namespace

UINT RegisterClipboardFormatA(const char* name) {
  if (!name || !*name) return 0;
  auto& v = registeredFormats();
  for (size_t i = 0; i < v.size(); ++i)
    if (sameNoCase(v[i], name)) return static_cast<UINT>(0xC000 + i);
  if (v.size() >= 0x3FFF) return 0;
  v.emplace_back(name);
  return static_cast<UINT>(0xC000 + v.size() - 1);
}

int GetClipboardFormatNameA(UINT format, char* buffer, int max) {
  auto& v = registeredFormats();
  if (format < 0xC000 || format - 0xC000 >= v.size() || !buffer || max <= 0) return 0;
  const std::string& n = v[format - 0xC000];
  int len = std::min(static_cast<int>(n.size()), max - 1);
  std::memcpy(buffer, n.data(), static_cast<size_t>(len));
  buffer[len] = '\0';
  return len;
}

namespace ui {

// ---- Data objects --------------------------------------------------------------------------------

namespace {
size_t& dataObjectCount() {
  static size_t n = 0;
  return n;
}
// Registered formats travel as the host's 16-bit signed numbers: 0xC001 and -16383 are one format.
int normalFormat(int f) { return f < 0 ? (f & 0xFFFF) : f; }
}  // namespace

DataObject::DataObject() { ++dataObjectCount(); }
DataObject::~DataObject() { --dataObjectCount(); }
size_t DataObject::liveCount() { return dataObjectCount(); }

std::shared_ptr<DataObject> DataObject::create() { return std::shared_ptr<DataObject>(new DataObject()); }

void DataObject::Clear() {
  entries_.clear();
  files_.clear();
}

bool DataObject::GetFormat(int format) const {
  format = normalFormat(format);
  if (format == static_cast<int>(CF_HDROP) && !files_.empty()) return true;
  return std::any_of(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.format == format; });
}

std::optional<std::string> DataObject::GetData(int format) {
  format = normalFormat(format);
  if (format == static_cast<int>(CF_HDROP) && !files_.empty()) {
    std::string all;
    for (size_t i = 0; i < files_.size(); ++i) all += (i ? "\r\n" : "") + files_[i];
    return all;
  }
  auto find = [&]() -> Entry* {
    for (Entry& e : entries_)
      if (e.format == format) return &e;
    return nullptr;
  };
  Entry* e = find();
  if (!e) return std::nullopt;
  if (!e->data && onRender && !rendering_) {
    rendering_ = true;
    onRender(*this, format);
    rendering_ = false;
    e = find();  // the source may have changed the list
    if (!e) return std::nullopt;
  }
  return e->data;
}

void DataObject::SetData(int format, std::optional<std::string> data) {
  format = normalFormat(format);
  if (format == static_cast<int>(CF_HDROP) && data) {
    // A file list given as data: one name per line.
    files_.clear();
    size_t start = 0;
    while (start <= data->size()) {
      size_t end = data->find_first_of("\r\n", start);
      std::string name = data->substr(start, end == std::string::npos ? std::string::npos : end - start);
      if (!name.empty()) files_.push_back(name);
      if (end == std::string::npos) break;
      start = end + 1;
    }
    return;
  }
  for (Entry& e : entries_)
    if (e.format == format) {
      if (data || !e.data) e.data = std::move(data);
      return;
    }
  entries_.push_back(Entry{format, std::move(data)});
}

std::vector<int> DataObject::formats() const {
  std::vector<int> out;
  for (const Entry& e : entries_) out.push_back(e.format);
  if (!files_.empty() &&
      std::find(out.begin(), out.end(), static_cast<int>(CF_HDROP)) == out.end())
    out.push_back(static_cast<int>(CF_HDROP));
  return out;
}

// ---- Sources and effects -------------------------------------------------------------------------

int32_t DropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
  if (escapePressed) return DRAGDROP_S_CANCEL;
  if (!(keyState & dragButton)) return DRAGDROP_S_DROP;
  return DRAG_S_OK;
}

int32_t DropSource::GiveFeedback(DWORD) { return DRAGDROP_S_USEDEFAULTCURSORS; }

DWORD standardDropEffect(DWORD keyState, DWORD allowed) {
  const bool ctrl = keyState & MK_CONTROL, shift = keyState & MK_SHIFT;
  DWORD want = DROPEFFECT_NONE;
  if (ctrl && shift) want = DROPEFFECT_LINK;
  else if (ctrl) want = DROPEFFECT_COPY;
  else if (shift) want = DROPEFFECT_MOVE;
  if (want) return (allowed & want) ? want : DROPEFFECT_NONE;
  for (DWORD e : {DROPEFFECT_MOVE, DROPEFFECT_COPY, DROPEFFECT_LINK})
    if (allowed & e) return e;
  return DROPEFFECT_NONE;
}

DWORD currentDragKeyState() {
  const BYTE* k = inputState().asyncKeys;
  DWORD s = 0;
  if (k[VK_LBUTTON] & 0x80) s |= MK_LBUTTON;
  if (k[VK_RBUTTON] & 0x80) s |= MK_RBUTTON;
  if (k[VK_MBUTTON] & 0x80) s |= MK_MBUTTON;
  if (k[VK_SHIFT] & 0x80) s |= MK_SHIFT;
  if (k[VK_CONTROL] & 0x80) s |= MK_CONTROL;
  if (k[VK_MENU] & 0x80) s |= MK_ALT;
  return s;
}

// ---- Targets ------------------------------------------------------------------------------------------

namespace {
std::map<HWND, std::shared_ptr<DropTarget>>& targets() {
  static std::map<HWND, std::shared_ptr<DropTarget>> m;
  return m;
}

// The registered target for the window under a screen point (or its nearest ancestor's).
HWND targetWindowAt(Point screen) {
  HWND h = WindowFromPoint(screen);
  for (Window* w = windowFromHandle(h); w && !w->isDesktop(); w = w->parent)
    if (targets().count(w->hwnd)) return w->hwnd;
  return 0;
}
}  // namespace

int32_t RegisterDragDrop(HWND hwnd, std::shared_ptr<DropTarget> target) {
  if (!IsWindow(hwnd)) return DRAGDROP_E_INVALIDHWND;
  if (!target) return DRAG_E_INVALIDARG;
  if (targets().count(hwnd)) return DRAGDROP_E_ALREADYREGISTERED;
  targets()[hwnd] = std::move(target);
  return DRAG_S_OK;
}

int32_t RevokeDragDrop(HWND hwnd) {
  if (!IsWindow(hwnd)) return DRAGDROP_E_INVALIDHWND;
  return targets().erase(hwnd) ? DRAG_S_OK : DRAGDROP_E_NOTREGISTERED;
}

DropTarget* dropTargetOf(HWND hwnd) {
  auto it = targets().find(hwnd);
  return it == targets().end() ? nullptr : it->second.get();
}

void dropTargetsForgetWindow(HWND hwnd) { targets().erase(hwnd); }

// ---- DoDragDrop -----------------------------------------------------------------------------------

namespace {

struct Drag {
  bool active = false;
  std::shared_ptr<DataObject> data;
  DropSource* source = nullptr;
  DWORD ok = 0;
  HWND tracker = 0;
  HWND target = 0;
  std::shared_ptr<DropTarget> targetRef;  // kept alive while it is the current target
  DWORD effect = DROPEFFECT_NONE;
  bool done = false;
  int32_t result = DRAGDROP_S_CANCEL;
  DWORD finalEffect = DROPEFFECT_NONE;
};
Drag& drag() {
  static Drag d;
  return d;
}

void leaveTarget() {
  Drag& d = drag();
  if (d.targetRef) d.targetRef->DragLeave();
  d.target = 0;
  d.targetRef.reset();
  d.effect = DROPEFFECT_NONE;
}

// The source shows its own cursor (S_OK) or asks for the default one of the effect the target
// chose: move before copy before link, as the platform ranks them when several bits are set;
// none is the "no" cursor.
void feedback() {
  Drag& d = drag();
  if (d.source->GiveFeedback(d.effect) != DRAGDROP_S_USEDEFAULTCURSORS) return;
  HCURSOR c = (d.effect & DROPEFFECT_MOVE)   ? dragCursor(kDragMoveCursor)
              : (d.effect & DROPEFFECT_COPY) ? dragCursor(kDragCopyCursor)
              : (d.effect & DROPEFFECT_LINK) ? dragCursor(kDragLinkCursor)
                                             : LoadCursorA(0, IDC_NO);
  SetCursor(c);
}

void finishDrag(int32_t how) {
  Drag& d = drag();
  if (d.done) return;
  const DWORD keys = currentDragKeyState();
  const POINT p = inputState().cursor;
  if (how == DRAGDROP_S_DROP && d.targetRef && d.effect != DROPEFFECT_NONE) {
    DWORD e = d.ok;
    auto t = d.targetRef;
    t->Drop(*d.data, keys, p, &e);
    d.finalEffect = e & d.ok;
    d.result = DRAGDROP_S_DROP;
    d.target = 0;
    d.targetRef.reset();
  } else {
    leaveTarget();
    d.finalEffect = DROPEFFECT_NONE;
    d.result = DRAGDROP_S_CANCEL;
  }
  d.done = true;
}

// The pointer moved or a modifier changed: ask the source, then the target under the pointer.
void step(bool escape) {
  Drag& d = drag();
  if (!d.active || d.done) return;
  const DWORD keys = currentDragKeyState();
  const int32_t q = d.source->QueryContinueDrag(escape ? TRUE : FALSE, keys);
  if (q == DRAGDROP_S_DROP || q == DRAGDROP_S_CANCEL) {
    finishDrag(q);
    return;
  }
  const POINT p = inputState().cursor;
  const HWND now = targetWindowAt(p);
  if (now != d.target) {
    leaveTarget();
    if (now) {
      d.target = now;
      d.targetRef = targets()[now];
      DWORD e = d.ok;
      d.targetRef->DragEnter(*d.data, keys, p, &e);
      d.effect = e & d.ok;
    }
  } else if (d.targetRef) {
    DWORD e = d.ok;
    d.targetRef->DragOver(keys, p, &e);
    d.effect = e & d.ok;
  }
  feedback();
}

LRESULT trackerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      step(false);
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
      step(msg == WM_KEYDOWN && wp == VK_ESCAPE);
      return 0;
    case WM_CAPTURECHANGED:
      if (drag().active && static_cast<HWND>(lp) != hwnd) finishDrag(DRAGDROP_S_CANCEL);
      return 0;
    default: return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

HWND makeTracker() {
  static const char* kClass = "ZorvaXPDragTracker";
  WNDCLASSA wc;
  wc.lpfnWndProc = trackerProc;
  wc.lpszClassName = kClass;
  RegisterClassA(&wc);  // fails harmlessly when it exists
  return CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClass, "", WS_POPUP, 0, 0, 0, 0, 0, 0, 0, nullptr);
}

}  // namespace

bool dragInProgress() { return drag().active; }

int32_t DoDragDrop(std::shared_ptr<DataObject> data, DropSource* source, DWORD okEffects, DWORD* effect) {
  if (!data || !effect) return DRAG_E_INVALIDARG;
  if (drag().active) return DRAG_E_INVALIDARG;  // one drag at a time
  DropSource fallback;
  Drag& d = drag();
  d = Drag{};
  d.active = true;
  d.data = data;
  d.source = source ? source : &fallback;
  d.ok = okEffects;
  const DWORD held = currentDragKeyState() & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON);
  if (held) d.source->dragButton = held & MK_LBUTTON ? MK_LBUTTON : held & MK_RBUTTON ? MK_RBUTTON : MK_MBUTTON;
  d.tracker = makeTracker();
  const HWND prevGrab = inputState().keyboardGrab;
  // Whatever happens (a handler may throw), the mouse, the keyboard and the tracker come back.
  auto restore = [&] {
    inputState().keyboardGrab = prevGrab;
    if (d.tracker) {
      if (GetCapture() == d.tracker) ReleaseCapture();
      DestroyWindow(d.tracker);
    }
    SetCursor(LoadCursorA(0, IDC_ARROW));
  };
  try {
    if (d.tracker) {
      SetCapture(d.tracker);
      inputState().keyboardGrab = d.tracker;
      step(false);  // the target under the pointer now
      runModalLoop([] { return drag().done; });
    }
    if (!d.done) finishDrag(DRAGDROP_S_CANCEL);  // gave up (headless) or no tracker
  } catch (...) {
    restore();
    d = Drag{};
    throw;
  }
  restore();
  *effect = d.finalEffect;
  const int32_t result = d.result;
  d = Drag{};
  return result;
}

// ---- External drops ---------------------------------------------------------------------------------

namespace {
DWORD externalDrop(Point screen, const std::shared_ptr<DataObject>& data) {
  HWND h = targetWindowAt(screen);
  if (!h) return DROPEFFECT_NONE;
  auto t = targets()[h];
  const DWORD keys = currentDragKeyState();
  DWORD e = DROPEFFECT_COPY;
  t->DragEnter(*data, keys, screen, &e);
  if (!(e & DROPEFFECT_COPY)) {
    t->DragLeave();
    return DROPEFFECT_NONE;
  }
  e = DROPEFFECT_COPY;
  t->Drop(*data, keys, screen, &e);
  return e & DROPEFFECT_COPY;
}
}  // namespace

DWORD injectFileDrop(Point screen, const std::vector<std::string>& files) {
  auto data = DataObject::create();
  data->Files() = files;
  return externalDrop(screen, data);
}

DWORD injectTextDrop(Point screen, const std::string& text) {
  auto data = DataObject::create();
  data->SetData(static_cast<int>(CF_TEXT), text);
  return externalDrop(screen, data);
}

void resetDragDrop() {
  targets().clear();
  drag() = Drag{};
}

}  // namespace ui
}  // namespace zxp
