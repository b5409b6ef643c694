#include "platform/host/Form.h"

#include <algorithm>
#include <functional>

#include "platform/base/CodePage.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/SysColors.h"
#include "platform/host/NoCase.h"
#include "platform/host/UnloadGuard.h"
#include "platform/ui/Edit.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Window.h"
#include "platform/ui/WindowClass.h"

namespace zxp::host {

namespace {

constexpr const char* kFormClass = "ZxpHostForm";
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

DWORD formStyle(int16_t borderStyle) {
  switch (borderStyle) {
    case 0: return WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
    case 2: return kFormStyle | WS_THICKFRAME | WS_MAXIMIZEBOX;
    default: return kFormStyle;
  }
}

// Every form that exists, loaded or not, in the order of creation.
std::vector<Form*>& liveForms() {
  static std::vector<Form*> forms;
  return forms;
}

// A window of its own on the desktop: not a child placed inside another window.
bool isTopLevel(HWND h) {
  return h && IsWindow(h) && (GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD) == 0 && !GetParent(h);
}

// Forms waiting for requestUnload's timer, by timer id.
std::vector<std::pair<UINT_PTR, Form*>>& pendingUnloads() {
  static std::vector<std::pair<UINT_PTR, Form*>> p;
  return p;
}

void unloadTimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(0, id);
  auto& p = pendingUnloads();
  for (auto it = p.begin(); it != p.end(); ++it) {
    if (it->first == id) {
      Form* f = it->second;
      p.erase(it);
      f->Unload();
      return;
    }
  }
}

// The forms whose owners are asked before a requested unload (UnloadGuard.h).
std::vector<std::pair<const Form*, std::function<bool()>>>& unloadGuards() {
  static std::vector<std::pair<const Form*, std::function<bool()>>> g;
  return g;
}

bool mayUnload(const Form& f) {
  for (const auto& [form, guard] : unloadGuards())
    if (form == &f) return guard();
  return true;
}

Form* formOf(HWND h) { return ui::windowObject<Form>(h); }

LRESULT formProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) return ui::storeCreateParam(h, wParam, lParam);
  Form* form = formOf(h);
  if (!form) return DefWindowProcA(h, msg, wParam, lParam);
  switch (msg) {
    case WM_ERASEBKGND:
      form->paintBackground();
      return 1;
    case WM_SIZE:
      form->layout();
      return 0;
    case WM_SETFOCUS: {
      // The form hands the focus on to its first control, as a dialog does.
      auto order = form->tabOrder();
      if (!order.empty()) SetFocus(order.front()->object().hWnd());
      return 0;
    }
    case WM_SYSCOMMAND:
      // Alt+letter arrives here from the focus window's WM_SYSCHAR.
      if ((wParam & 0xFFF0) == SC_KEYMENU && lParam > 0 && lParam < 256) {
        if (form->accessKey(static_cast<char>(lParam))) return 0;
      }
      break;
    case WM_CLOSE:
      // The close box, Alt+F4 and the system menu's Close unload the form, once this message
      // is done (its window procedure is on the stack now).
      form->requestUnload();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(h, msg, wParam, lParam);
}

// The form's window that holds h (h itself or an ancestor), with its form; nullptr when h is
// not inside a form.
Form* formHolding(HWND h) {
  char cls[32];
  for (; h; h = GetParent(h)) {
    if (GetClassNameA(h, cls, sizeof cls) && std::string_view(cls) == kFormClass) return formOf(h);
  }
  return nullptr;
}

// Tab and Shift+Tab belong to the form, whichever of its windows has the focus (a control's
// surface, a window inside a control such as an edit field, or the form itself): as a dialog's
// message loop does, the form takes the key before it is translated or dispatched, moves the
// focus through its tab order and leaves a WM_NULL in its place, so no window sees the key or
// its character. A window that asks for Tab through WM_GETDLGCODE (DLGC_WANTTAB) keeps it.
LRESULT tabKeyHook(int code, WPARAM wParam, LPARAM lParam) {
  auto* m = reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && m && m->message == WM_KEYDOWN &&
      (GetKeyState(VK_CONTROL) & 0x8000) == 0 && (GetKeyState(VK_MENU) & 0x8000) == 0) {
    const WPARAM key = m->wParam;
    if (key == static_cast<WPARAM>(VK_TAB)) {
      Form* form = formHolding(m->hwnd);
      // A window that asks for the Tab key (DLGC_WANTTAB) keeps it.
      const auto wants = SendMessageA(m->hwnd, WM_GETDLGCODE, m->wParam, reinterpret_cast<LPARAM>(m));
      if (form && (wants & DLGC_WANTTAB) == 0) {
        m->message = WM_NULL;
        form->moveFocus((GetKeyState(VK_SHIFT) & 0x8000) == 0);
        return 0;
      }
    } else if (key == static_cast<WPARAM>(VK_RETURN) || key == static_cast<WPARAM>(VK_ESCAPE)) {
      // Enter and Escape go to the form's default and cancel buttons, as in a dialog: a window
      // that wants every key (a multi-line edit field) keeps them, and Enter stays with a focused
      // control that acts like a button (it presses itself).
      Form* form = formHolding(m->hwnd);
      const auto wants = SendMessageA(m->hwnd, WM_GETDLGCODE, m->wParam, reinterpret_cast<LPARAM>(m));
      const bool enter = key == static_cast<WPARAM>(VK_RETURN);
      if (form && (wants & DLGC_WANTALLKEYS) == 0) {
        Extender* active = form->ActiveControl();
        const bool keeps = enter && active && active->hasMiscStatus(OLEMISC_ACTSLIKEBUTTON);
        if (!keeps && form->defaultKey(enter ? 13 : 27)) {
          m->message = WM_NULL;
          return 0;
        }
      }
    }
  }
  return CallNextHookEx(0, code, wParam, lParam);
}

void registerFormClass() { ui::registerClassOnce(kFormClass, formProc, CS_DBLCLKS); }

using NameTable = std::unordered_map<std::string, std::vector<Extender*>>;

// Takes a control out of the form's controls by name.
void dropName(NameTable& names, const Extender& control) {
  auto named = names.find(lowerKey(control.Name()));
  if (named == names.end()) return;
  auto& list = named->second;
  list.erase(std::remove(list.begin(), list.end(), &control), list.end());
  if (list.empty()) names.erase(named);
}

// Terminates and destroys every control of a form (its Controls collection, the extenders it owns
// and its names, passed in), for the destructor and Unload. Controls go last added first, so
// contents go before their containers, each told first (Terminate), then no longer found by name
// and destroyed with its window; nothing is searched or renumbered per control, so the teardown is
// linear in the number of controls. The caller empties the tab order first: a control's top-level
// window (a drop-down) that is active when it goes hands the activation, and so the focus, back to
// the form while it is torn down.
void removeAllControls(Form& form, std::vector<Extender*>& order, std::vector<std::unique_ptr<Extender>>& owned,
                       NameTable& names) {
  while (!order.empty()) {
    Extender* e = order.back();
    if (owned.empty() || owned.back().get() != e) {
      form.remove(*e);  // not the most recent one owned (cannot happen through add): the general way
      continue;
    }
    e->object().Terminate();
    // A control that removed itself in Terminate is gone already.
    if (order.empty() || order.back() != e) continue;
    dropName(names, *e);
    order.pop_back();
    owned.pop_back();
  }
  names.clear();
}

std::string displayName(const Extender& e) {
  return e.inArray() ? e.Name() + "(" + std::to_string(e.Index()) + ")" : e.Name();
}

}  // namespace

Form::Form(const FormOptions& o)
    : name_(o.name), classes_(o.classes), userMode_(o.userMode), borderStyle_(o.borderStyle) {
  font_ = std::make_shared<const gfx::FontDesc>();
  registerFormClass();
  const DWORD style = formStyle(borderStyle_);
  Rect in = ui::nonClientInsets(style, 0);
  int w = twipsToPixels(o.clientWidth) + in.left + in.right;
  int h = twipsToPixels(o.clientHeight) + in.top + in.bottom;
  std::string caption = o.caption.empty() ? o.name : o.caption;
  hwnd_ = CreateWindowExA(0, kFormClass, caption.c_str(), style | (o.visible ? WS_VISIBLE : 0), o.screenPos.x,
                          o.screenPos.y, w, h, 0, 0, 0, this);
  if (!hwnd_) throw HostError(errOutOfMemory, "the form's window cannot be created");
  liveForms().push_back(this);
  tabHook_ = SetWindowsHookExA(WH_GETMESSAGE, tabKeyHook, 0, GetCurrentThreadId());
}

Form::~Form() {
  std::erase(liveForms(), this);
  std::erase_if(unloadGuards(), [this](const auto& g) { return g.first == this; });
  if (unloadTimer_) {
    KillTimer(0, unloadTimer_);
    std::erase_if(pendingUnloads(), [this](const auto& p) { return p.second == this; });
  }
  if (tabHook_) UnhookWindowsHookEx(tabHook_);
  tabs_.clear();
  removeAllControls(*this, order_, owned_, byName_);
  tabs_.clear();
  if (hwnd_) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void Form::Unload() {
  if (!hwnd_) return;
  if (unloadTimer_) {
    KillTimer(0, unloadTimer_);
    std::erase_if(pendingUnloads(), [this](const auto& p) { return p.second == this; });
    unloadTimer_ = 0;
  }
  const bool topLevel = isTopLevel(hwnd_);
  ShowWindow(hwnd_, SW_HIDE);
  tabs_.clear();
  removeAllControls(*this, order_, owned_, byName_);
  if (tabHook_) UnhookWindowsHookEx(tabHook_);
  tabHook_ = 0;
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
  hwnd_ = 0;
  Unloaded.raise();
  // The application ends with its last top-level form, by whichever route it went (the close
  // box, Alt+F4, a skin's close button, Unload): the event loop's run() returns. Forms that are
  // children of another window (a page inside a host window) do not count, nor does a form
  // unloaded while no loop runs.
  if (topLevel && ui::eventLoop().running() &&
      std::none_of(liveForms().begin(), liveForms().end(),
                   [](const Form* f) { return !f->unloaded() && isTopLevel(f->hWnd()); }))
    PostQuitMessage(0);
}

void setUnloadGuard(const Form& form, std::function<bool()> guard) {
  auto& all = unloadGuards();
  std::erase_if(all, [&](const auto& g) { return g.first == &form; });
  if (guard) all.emplace_back(&form, std::move(guard));
}

void Form::requestUnload() {
  if (!hwnd_ || unloadTimer_) return;
  if (!mayUnload(*this)) return;  // its owner keeps it
  unloadTimer_ = SetTimer(0, 0, 0, unloadTimerProc);
  if (unloadTimer_) pendingUnloads().emplace_back(unloadTimer_, this);
}

std::string Form::Caption() const {
  int n = GetWindowTextLengthA(hwnd_);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  GetWindowTextA(hwnd_, s.data(), n + 1);
  s.resize(static_cast<size_t>(n));
  return s;
}

void Form::setCaption(const std::string& New_Caption) { SetWindowTextA(hwnd_, New_Caption.c_str()); }

int32_t Form::ScaleWidth() const {
  RECT r;
  GetClientRect(hwnd_, &r);
  return pixelsToTwips(r.width());
}

int32_t Form::ScaleHeight() const {
  RECT r;
  GetClientRect(hwnd_, &r);
  return pixelsToTwips(r.height());
}

void Form::setClientSize(int32_t widthTwips, int32_t heightTwips) {
  Rect in = ui::nonClientInsets(static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)),
                                static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_EXSTYLE)));
  SetWindowPos(hwnd_, 0, 0, 0, twipsToPixels(widthTwips) + in.left + in.right,
               twipsToPixels(heightTwips) + in.top + in.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::paintBackground() {
  HDC dc = GetDC(hwnd_);
  RECT r;
  GetClientRect(hwnd_, &r);
  GdiObject brush(CreateSolidBrush(translateColor(backColor_)));
  FillRect(dc, &r, brush.get());
  ReleaseDC(hwnd_, dc);
}

// ---- Ambient properties --------------------------------------------------------------------------

void Form::announce(std::string_view ambientName) {
  auto controls = order_;
  for (Extender* e : controls) e->object().AmbientChanged(ambientName);
}

void Form::setUserMode(bool b) {
  userMode_ = b;
  for (Extender* e : order_) e->applyVisibility();
  announce("UserMode");
}

void Form::setFont(FontRef f) {
  font_ = f ? std::move(f) : std::make_shared<const gfx::FontDesc>();
  announce("Font");
}

void Form::setBackColor(OLE_COLOR c) {
  backColor_ = c;
  InvalidateRect(hwnd_, nullptr, TRUE);
  announce("BackColor");
}

void Form::setForeColor(OLE_COLOR c) {
  foreColor_ = c;
  announce("ForeColor");
}

AmbientProperties Form::ambientFor(const Extender& e) const {
  AmbientProperties a;
  a.UserMode = userMode_;
  a.Font = font_;
  a.DisplayName = displayName(e);
  a.BackColor = backColor_;
  a.ForeColor = foreColor_;
  return a;
}

// ---- Controls ----------------------------------------------------------------------------------------

Extender& Form::add(std::unique_ptr<ControlObject> control, const std::string& name, const ExtenderRecord& values,
                    Extender* container, PropertyBag* bag) {
  if (!control) throw HostError(errInvalidProcedureCall, "no control to add");
  const ControlClass* cls = classes_ ? classes_->find(control->memberTable().className()) : nullptr;
  return addSited(std::move(control), cls ? cls->miscStatus : 0, name, values, container, bag);
}

Extender& Form::addSited(std::unique_ptr<ControlObject> control, uint32_t miscStatus, const std::string& name,
                         const ExtenderRecord& values, Extender* container, PropertyBag* bag) {
  const std::string& cls = control->memberTable().className();
  if (container && !container->hasMiscStatus(OLEMISC_SIMPLEFRAME))
    throw HostError(errInvalidProcedureCall, container->Name() + " cannot contain controls (" + cls + " " + name + ")");
  if (values.align != Align::vbAlignNone && (miscStatus & OLEMISC_ALIGNABLE) == 0)
    throw HostError(errNotSupported, name + " cannot be aligned: " + cls + " is not alignable");
  if ((values.defaultButton || values.cancelButton) && (miscStatus & OLEMISC_ACTSLIKEBUTTON) == 0)
    throw HostError(errNotSupported, name + " cannot be a default or cancel button: " + cls + " does not act like a button");
  if (name.empty()) throw HostError(errInvalidProcedureCall, "a control needs a name");
  checkNameFree(name, values.index, 0);
  if (values.defaultButton) clearDefaultButtons();
  if (values.cancelButton) clearCancelButtons();
  auto owned = std::make_unique<Extender>(std::move(control), name, values, this, container);
  Extender& e = *owned;
  e.setMiscStatus(miscStatus);
  owned_.push_back(std::move(owned));
  order_.push_back(&e);
  byName_[lowerKey(name)].push_back(&e);
  renumberTabs(e, values.tabIndex < 0 ? INT32_MAX : values.tabIndex);
  try {
    ControlObject& c = e.object();
    c.attach(e);
    c.Initialize();
    if (bag) c.ReadProperties(*bag);
    else c.InitProperties();
    if (e.Align() != Align::vbAlignNone && !loading_) layout();
    c.Resize();
    e.applyVisibility();
  } catch (...) {
    remove(e);
    throw;
  }
  return e;
}

Extender& Form::add(const ClassRegistry& registry, const std::string& className, const std::string& name,
                    const ExtenderRecord& values, Extender* container, PropertyBag* bag) {
  const ControlClass* cls = registry.find(className);
  if (!cls) throw HostError(errInvalidProcedureCall, "unknown control class " + className);
  return addSited(cls->create(), cls->miscStatus, name, values, container, bag);
}

Extender* Form::defaultButton() const {
  for (Extender* e : order_) {
    if (e->Default()) return e;
  }
  return nullptr;
}

Extender* Form::cancelButton() const {
  for (Extender* e : order_) {
    if (e->Cancel()) return e;
  }
  return nullptr;
}

void Form::clearDefaultButtons() {
  for (Extender* e : order_) e->clearDefaultRaw();
}

void Form::clearCancelButtons() {
  for (Extender* e : order_) e->clearCancelRaw();
}

namespace {
// Whether the window and every window up to the form take input.
bool enabledUpTo(HWND h, HWND form) {
  for (; h && h != form; h = GetParent(h)) {
    if (!IsWindowEnabled(h)) return false;
  }
  return true;
}

// Whether some of the window shows through its containers' client areas up to the form: a
// control inside a collapsed frame, or moved off a tab control's page, is out of sight although
// its window is visible.
bool inSight(HWND h, HWND form) {
  RECT seen;
  if (!IsWindowVisible(h) || !GetWindowRect(h, &seen)) return false;
  for (HWND p = GetParent(h); p; p = GetParent(p)) {
    RECT client;
    GetClientRect(p, &client);
    POINT origin{0, 0};
    ClientToScreen(p, &origin);
    OffsetRect(&client, origin.x, origin.y);
    if (!IntersectRect(&seen, &seen, &client)) return false;
    if (p == form) break;
  }
  return true;
}
}  // namespace

bool Form::defaultKey(int16_t keyAscii) {
  Extender* target = keyAscii == 13 ? defaultButton() : cancelButton();
  if (!target) return false;
  HWND h = target->object().hWnd();
  if (!h || !inSight(h, hwnd_) || !enabledUpTo(h, hwnd_)) return false;
  target->object().AccessKeyPress(keyAscii);
  return true;
}

void Form::remove(Extender& control) {
  for (Extender* child : controlsIn(&control)) remove(*child);
  control.object().Terminate();
  forget(control);
  // Destroying the control object also destroys its window.
  owned_.erase(std::remove_if(owned_.begin(), owned_.end(), [&](const auto& p) { return p.get() == &control; }),
               owned_.end());
}

// Takes a control out of the collection, the name index and the tab order (places 0..N-1 stay).
void Form::forget(Extender& control) {
  order_.erase(std::remove(order_.begin(), order_.end(), &control), order_.end());
  dropName(byName_, control);
  const int32_t at = control.tabPosition();
  if (at >= 0 && static_cast<size_t>(at) < tabs_.size() && tabs_[static_cast<size_t>(at)] == &control) {
    tabs_.erase(tabs_.begin() + at);
    renumberFrom(static_cast<size_t>(at));
  }
}

void Form::checkNameFree(const std::string& name, const std::optional<int16_t>& index, int line) const {
  auto named = byName_.find(lowerKey(name));
  if (named == byName_.end()) return;
  for (Extender* e : named->second) {
    if (!index || !e->inArray() || e->Index() == *index) {
      if (line > 0) throw FormFileError(line, "the name '" + excerpt(name) + "' is already in use");
      throw HostError(errInvalidProcedureCall, "the name " + excerpt(name) + " is already in use");
    }
  }
}

std::vector<Extender*> Form::controlsIn(const Extender* container) const {
  std::vector<Extender*> out;
  for (Extender* e : order_) {
    if (e->Container() == container) out.push_back(e);
  }
  return out;
}

Extender* Form::control(std::string_view name, int16_t index) const {
  auto named = byName_.find(lowerKey(name));
  if (named == byName_.end()) return nullptr;
  for (Extender* e : named->second) {
    if (index < 0 || e->Index() == index) return e;
  }
  return nullptr;
}

void Form::renumberFrom(size_t first) {
  for (size_t i = first; i < tabs_.size(); ++i) tabs_[i]->setTabPositionRaw(static_cast<int32_t>(i));
}

void Form::renumberTabs(Extender& moved, int32_t to) {
  size_t from = tabs_.size();
  const int32_t had = moved.tabPosition();
  if (had >= 0 && static_cast<size_t>(had) < tabs_.size() && tabs_[static_cast<size_t>(had)] == &moved) {
    from = static_cast<size_t>(had);
    tabs_.erase(tabs_.begin() + had);
  }
  const size_t at = std::min<size_t>(static_cast<size_t>(std::max<int32_t>(to, 0)), tabs_.size());
  tabs_.insert(tabs_.begin() + static_cast<std::ptrdiff_t>(at), &moved);
  renumberFrom(std::min(from, at));
}

void Form::layout() {
  if (layingOut_) {
    relayout_ = true;
    return;
  }
  layingOut_ = true;
  // A control that resizes itself while being placed asks for another pass; a few settle it.
  for (int pass = 0; pass < 4; ++pass) {
    relayout_ = false;
    // The edges are kept wide: a control may be up to 2^31 - 1 twips tall or wide, and a stack of
    // them runs past the 32-bit range; what a control is given saturates.
    int64_t left = 0, top = 0, right = ScaleWidth(), bottom = ScaleHeight();
    for (Extender* e : order_) {
      if (e->Container() || e->Align() == Align::vbAlignNone || !e->Visible()) continue;
      const int64_t w = e->Width(), h = e->Height();
      const auto across = [](int64_t from, int64_t to) { return clampToInt32(std::max<int64_t>(0, to - from)); };
      switch (e->Align()) {
        case Align::vbAlignTop:
          e->placeAt(clampToInt32(left), clampToInt32(top), across(left, right), clampToInt32(h));
          top += e->Height();
          break;
        case Align::vbAlignBottom:
          e->placeAt(clampToInt32(left), clampToInt32(bottom - h), across(left, right), clampToInt32(h));
          bottom -= e->Height();
          break;
        case Align::vbAlignLeft:
          e->placeAt(clampToInt32(left), clampToInt32(top), clampToInt32(w), across(top, bottom));
          left += e->Width();
          break;
        case Align::vbAlignRight:
          e->placeAt(clampToInt32(right - w), clampToInt32(top), clampToInt32(w), across(top, bottom));
          right -= e->Width();
          break;
        default:
          break;
      }
    }
    if (!relayout_) break;
  }
  layingOut_ = false;
}

// ---- Focus and keys -------------------------------------------------------------------------------

std::vector<Extender*> Form::tabOrder() const {
  std::vector<Extender*> out;
  for (Extender* e : tabs_) {
    HWND h = e->object().hWnd();
    if (!h || !e->TabStop() || !e->object().CanGetFocus() || !inSight(h, hwnd_)) continue;
    // Disabled controls, and controls inside a disabled container, are skipped.
    if (enabledUpTo(h, hwnd_)) out.push_back(e);
  }
  return out;
}

Extender* Form::ActiveControl() const {
  // The innermost control whose window is the focus window or holds it.
  for (HWND w = GetFocus(); w && w != hwnd_; w = GetParent(w)) {
    for (Extender* e : order_) {
      if (e->object().hWnd() == w) return e;
    }
  }
  return nullptr;
}

void Form::moveFocus(bool forward, const Extender* from) {
  auto order = tabOrder();
  if (order.empty()) return;
  if (!from) from = ActiveControl();
  Extender* target = nullptr;
  auto it = std::find(order.begin(), order.end(), from);
  if (it == order.end()) {
    // From a control outside the tab order: the next one by tab index.
    int32_t at = from ? from->tabPosition() : -1;
    if (forward) {
      auto next = std::find_if(order.begin(), order.end(), [&](Extender* e) { return e->tabPosition() > at; });
      target = next != order.end() ? *next : order.front();
    } else {
      auto prev = std::find_if(order.rbegin(), order.rend(), [&](Extender* e) { return from && e->tabPosition() < at; });
      target = prev != order.rend() ? *prev : order.back();
    }
  } else {
    size_t i = static_cast<size_t>(it - order.begin());
    size_t n = order.size();
    target = order[forward ? (i + 1) % n : (i + n - 1) % n];
  }
  SetFocus(target->object().hWnd());
}

bool Form::accessKey(char key) {
  std::vector<Extender*> candidates;
  for (Extender* e : order_) {
    HWND h = e->object().hWnd();
    if (!h || !inSight(h, hwnd_) || !enabledUpTo(h, hwnd_)) continue;
    // The keys are whole UTF-8 characters; a byte inside a longer one is no key of its own.
    const std::string& keys = e->AccessKeys();
    for (size_t i = 0, length = 1; i < keys.size(); i += length) {
      decodeUtf8(std::string_view(keys).substr(i), length);
      if (length == 1 && asciiLower(keys[i]) == asciiLower(key)) {
        candidates.push_back(e);
        break;
      }
    }
  }
  if (candidates.empty()) return false;
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](Extender* a, Extender* b) { return a->tabPosition() < b->tabPosition(); });
  // Repeated presses of a shared key walk through its controls.
  Extender* active = ActiveControl();
  Extender* target = candidates.front();
  if (active) {
    for (Extender* c : candidates) {
      if (c->tabPosition() > active->tabPosition()) {
        target = c;
        break;
      }
    }
  }
  if (target->object().CanGetFocus()) SetFocus(target->object().hWnd());
  target->object().AccessKeyPress(static_cast<int16_t>(static_cast<unsigned char>(key)));
  return true;
}

// ---- Notifications and late binding ----------------------------------------------------------------

void Form::noteChange(const Extender& e, std::string_view property) {
  changes_.push_back(PropertyChange{displayName(e), std::string(property)});
}

Connection Form::bindEvent(std::string_view controlName, std::string_view eventName, EventBase::VariantHandler h,
                           int16_t index) {
  Extender* e = control(controlName, index);
  if (!e) throw HostError(errNotSupported, "no control named " + std::string(controlName));
  return host::bindEvent(e->object(), eventName, std::move(h));
}

Variant Form::get(std::string_view controlName, std::string_view property, int16_t index) const {
  Extender* e = control(controlName, index);
  if (!e) throw HostError(errNotSupported, "no control named " + std::string(controlName));
  if (e->memberTable().find(property)) return getProperty(*e, property);
  return getProperty(e->object(), property);
}

void Form::let(std::string_view controlName, std::string_view property, const Variant& value, int16_t index) {
  Extender* e = control(controlName, index);
  if (!e) throw HostError(errNotSupported, "no control named " + std::string(controlName));
  if (e->memberTable().find(property)) letProperty(*e, property, value);
  else letProperty(e->object(), property, value);
}

const MemberTable& Form::memberTable() const {
  static const MemberTable table = ClassMembers<Form>("Form")
                                       .property("Caption", &Form::Caption, &Form::setCaption)
                                       .property("BackColor", &Form::BackColor, &Form::setBackColor)
                                       .property("ForeColor", &Form::ForeColor, &Form::setForeColor)
                                       .property("Font", &Form::Font, &Form::setFont)
                                       .readOnlyProperty("ScaleWidth", &Form::ScaleWidth)
                                       .readOnlyProperty("ScaleHeight", &Form::ScaleHeight)
                                       .build();
  return table;
}

// ---- Files -------------------------------------------------------------------------------------------

namespace {

// Runs fn, turning a host error into a form-file error at the line of the value being read.
template <class Fn>
void withLine(const PropertyBag& bag, int fallbackLine, const std::string& who, Fn&& fn) {
  try {
    fn();
  } catch (const FormFileError&) {
    throw;
  } catch (const HostError& e) {
    const PropertyBag::Entry* entry = bag.find(bag.lastKeyRead());
    int line = entry && entry->line > 0 ? entry->line : fallbackLine;
    std::string what = excerpt(who);
    if (entry) what += ", property " + excerpt(entry->key);
    throw FormFileError(line, what + ": " + e.description());
  }
}

// The controls in the records, the ones inside containers included.
size_t countControls(const std::vector<ControlRecord>& records) {
  size_t n = records.size();
  for (const ControlRecord& r : records) n += countControls(r.children);
  return n;
}

}  // namespace

void Form::noteUnread(const PropertyBag& bag, const std::string& owner) {
  for (const PropertyBag::Entry* e : bag.unreadEntries()) unknownKeys_.push_back(UnknownKey{e->line, owner, e->key});
}

void Form::loadControls(std::vector<ControlRecord>& records, Extender* container, const ClassRegistry& registry,
                        std::vector<std::pair<Extender*, int16_t>>& fileTabIndexes) {
  for (ControlRecord& r : records) {
    const ControlClass* cls = registry.find(r.className);
    if (!cls) throw FormFileError(r.line, "unknown control class '" + excerpt(r.className) + "'");
    checkNameFree(r.name, r.extender.index, r.line > 0 ? r.line : 1);
    // The control reads the record's own bag: the records are the loader's, and a caption of
    // many megabytes is not copied on its way in.
    PropertyBag& bag = r.properties;
    bag.handOver();
    ExtenderRecord values = r.extender;
    values.tabIndex = -1;  // appended in file order; the file's indexes are applied once all are loaded
    Extender* added = nullptr;
    withLine(bag, r.line, r.name,
             [&] { added = &addSited(cls->create(), cls->miscStatus, r.name, values, container, &bag); });
    noteUnread(bag, r.name);
    fileTabIndexes.emplace_back(added, r.extender.tabIndex);
    loadControls(r.children, added, registry, fileTabIndexes);
    // The control has drawn its pictures: packed now, their pixels are free for the next
    // control's, and a form's load never holds all its pictures unpacked at once.
    gfx::Surface::packIdle();
  }
}

std::unique_ptr<Form> Form::load(std::string_view text, const ClassRegistry& registry, bool userMode, Point screenPos) {
  FormRecord rec = parseFormFile(text);
  FormOptions o;
  o.name = rec.name;
  o.userMode = userMode;
  o.screenPos = screenPos;
  const PropertyBag& p = rec.properties;
  FontRef font;
  OLE_COLOR back = vbButtonFace, fore = vbButtonText;
  withLine(p, 2, "form " + rec.name, [&] {
    // Each value is checked right after its read, so that an error names its own key and line.
    auto size = [&](const char* key, int32_t fallback) {
      const int32_t v = p.read<int32_t>(key, fallback);
      if (v < 0) throw HostError(errInvalidPropertyValue);
      return v;
    };
    o.caption = p.read<std::string>("Caption", rec.name);
    o.borderStyle = p.read<int16_t>("BorderStyle", 1);
    if (o.borderStyle < 0 || o.borderStyle > 2) throw HostError(errInvalidPropertyValue);
    o.clientWidth = size("ClientWidth", o.clientWidth);
    o.clientHeight = size("ClientHeight", o.clientHeight);
    back = p.read<OLE_COLOR>("BackColor", vbButtonFace);
    fore = p.read<OLE_COLOR>("ForeColor", vbButtonText);
    font = p.read<FontRef>("Font", nullptr);
  });
  o.classes = &registry;
  auto form = std::make_unique<Form>(o);
  // FormOptions takes an empty caption as "the name"; a file's empty caption stays empty, so that
  // what a form saves loads back the same (found by fuzzing the save -> load -> save path).
  form->setCaption(o.caption);
  form->backColor_ = back;
  form->foreColor_ = fore;
  if (font) form->font_ = font;
  form->noteUnread(p, "form " + rec.name);
  // Room for every control up front: no list or table grows (copying or rehashing itself) while
  // loading.
  const size_t count = countControls(rec.controls);
  form->byName_.reserve(count);
  form->owned_.reserve(count);
  form->order_.reserve(count);
  form->tabs_.reserve(count);
  std::vector<std::pair<Extender*, int16_t>> tabs;
  tabs.reserve(count);
  form->loading_ = true;
  form->loadControls(rec.controls, nullptr, registry, tabs);
  form->loading_ = false;
  // Tab indexes as the file gives them (missing ones after, in file order), renumbered 0..N-1.
  std::stable_sort(tabs.begin(), tabs.end(), [](const auto& a, const auto& b) {
    auto key = [](int16_t t) { return t < 0 ? INT32_MAX : int32_t{t}; };
    return key(a.second) < key(b.second);
  });
  form->tabs_.clear();
  for (const auto& t : tabs) form->tabs_.push_back(t.first);
  form->renumberFrom(0);
  form->layout();
  return form;
}

void Form::collectRecords(const Extender* container, std::vector<ControlRecord>& out) const {
  for (Extender* e : order_) {
    if (e->Container() != container) continue;
    ControlRecord r;
    r.className = e->object().memberTable().className();
    r.name = e->Name();
    r.extender = e->record();
    e->object().WriteProperties(r.properties);
    collectRecords(e, r.children);
    out.push_back(std::move(r));
  }
}

FormRecord Form::record() const {
  FormRecord f;
  f.name = name_;
  f.properties.WriteProperty("Caption", Caption(), name_);
  f.properties.WriteProperty("BorderStyle", borderStyle_, int16_t{1});
  f.properties.WriteProperty("ClientWidth", ScaleWidth());
  f.properties.WriteProperty("ClientHeight", ScaleHeight());
  f.properties.WriteProperty("BackColor", backColor_, vbButtonFace);
  f.properties.WriteProperty("ForeColor", foreColor_, vbButtonText);
  f.properties.WriteProperty("Font", font_);
  collectRecords(nullptr, f.controls);
  return f;
}

std::string Form::save() const { return writeFormFile(record()); }

}  // namespace zxp::host
