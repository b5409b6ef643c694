#include "Designer.h"

#include <algorithm>
#include <cstring>

#include "buttons/ZorvaXPButton.h"
#include "common/PaintHelpers.h"
#include "library/ClassTable.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/host/EventTrace.h"
#include "platform/host/NoCase.h"
#include "platform/host/UnloadGuard.h"
#include "platform/services/FileIo.h"
#include "platform/services/MessageBox.h"
#include "platform/services/Registry.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Edit.h"
#include "platform/gfx/Text.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Messages.h"
#include "platform/ui/ModalLoop.h"
#include "platform/ui/Screen.h"

// The component model's headers after the window system's (its result codes are macros).
#include "library/com/Automation.h"
#include "library/com/DispatchObject.h"
#include "library/com/PropertyPage.h"

namespace zxp::designer {

using namespace appkit;  // the shared painting helpers

namespace {

constexpr const char* kAreaClass = "ZxpDesignerArea";
constexpr const char* kAdornerClass = "ZxpDesignerAdorner";
constexpr COLORREF kAreaBack = RGB(171, 171, 171);
constexpr uint64_t kMaxFormFileSize = uint64_t{256} << 20;
constexpr Size kDefaultControl{1200, 480};  // twips, for a double click in the control list

enum Command : int { cmdNew = 1, cmdOpen, cmdRecent, cmdSave, cmdSaveAs, cmdUndo, cmdRedo, cmdCut, cmdCopy, cmdPaste,
                     cmdDelete, cmdGrid, cmdTabs, cmdRun };
struct StripButton {
  Command id;
  const char* name;
  const char* caption;
  int width;
};
constexpr StripButton kButtons[] = {
    {cmdNew, "cmdNew", "New", 48},       {cmdOpen, "cmdOpen", "Open", 52},
    {cmdRecent, "cmdRecent", "Recent", 60}, {cmdSave, "cmdSave", "Save", 52},
    {cmdSaveAs, "cmdSaveAs", "Save As", 64}, {cmdUndo, "cmdUndo", "Undo", 52},   {cmdRedo, "cmdRedo", "Redo", 52},
    {cmdCut, "cmdCut", "Cut", 44},       {cmdCopy, "cmdCopy", "Copy", 50},       {cmdPaste, "cmdPaste", "Paste", 52},
    {cmdDelete, "cmdDelete", "Delete", 56}, {cmdGrid, "cmdGrid", "Grid", 50},
    {cmdTabs, "cmdTabs", "Tab order", 76}, {cmdRun, "cmdRun", "Run (F5)", 72}};
constexpr int kPathWidth = 320;
constexpr UINT kF5 = 0x74;  // VK_F5
constexpr const char* kRecentKey = "HKEY_CURRENT_USER\\Software\\ZorvaXP\\Designer\\Recent";

Designer* hooked = nullptr;

constexpr UINT kPageClosing = WM_APP + 1;  // wParam: apply first (OK) or not (Cancel, closed)
constexpr UINT kPickerDone = WM_APP + 2;   // the file picker is over

bool isSoundProperty(std::string_view name) {
  for (size_t i = 0; i + 5 <= name.size(); ++i)
    if (host::equalsNoCase(name.substr(i, 5), "Sound")) return true;
  return false;
}

// The files a row's browse box offers: wave files for a sound path, the image files pictures load
// from for a picture; none for other rows.
std::vector<std::string> browsedExtensions(const PropertyRow& r) {
  if (r.kind == ValueKind::Text && isSoundProperty(r.name)) return {".wav"};
  if (r.kind == ValueKind::Picture) return {".bmp", ".ico", ".cur", ".png", ".jpg", ".jpeg", ".gif"};
  return {};
}
constexpr int kPageButtonsHeight = 40;     // the strip with OK, Apply and Cancel

// What a refused page value's code means, for the log.
std::string refusal(HRESULT hr) {
  switch (static_cast<uint32_t>(hr)) {
    case 0x80020005u: return "type mismatch";
    case 0x8002000Au: return "overflow";
    case 0x80020009u: return "the control refused the value";
    default: {
      char buf[32];
      std::snprintf(buf, sizeof buf, "error &H%08X", static_cast<uint32_t>(hr));
      return buf;
    }
  }
}

int twipsToPixels(int32_t t) { return t / 15; }

}  // namespace

Designer::Designer(std::string registryPath) : registryPath_(std::move(registryPath)) {
  if (!registryPath_.empty()) {
    services::Registry store(registryPath_);
    if (store.load())
      for (size_t i = 1; i <= kRecentKept; ++i)
        if (const services::RegistryValue* v = store.value(kRecentKey, "File" + std::to_string(i)))
          if (v->type == services::kRegSz && !v->text.empty()) recent_.emplace_back(v->text);
  }
  registerAppClass(kAreaClass, proc, IDC_ARROW);
  registerAppClass(kAdornerClass, proc, IDC_ARROW);
  const Size screen = ui::screenSize();
  ui::setWorkArea(Rect{0, 0, screen.cx, screen.cy});
  shell_ = std::make_unique<SkinShell>("frmDesigner", "ZorvaXP designer");
  // Closing the window (the skin's close button, Alt+F4) with edits not saved asks first, as New
  // and Open do; Cancel keeps the designer open.
  host::setUnloadGuard(*shell_->form(), [this] { return mayClose(); });
  shell_->onClosed = [this] {
    if (onClosed) onClosed();
  };
  shell_->onMessage = [this](const std::string& line) { say(line); };
  host::Form& main = *shell_->form();
  const HWND mainWnd = main.hWnd();

  // The command strip: the library's own buttons.
  int x = 6;
  const int y = shell_->top() + 3;
  for (const StripButton& b : kButtons) {
    host::ExtenderRecord r = host::ExtenderRecord::inPixels(x, y, b.width, kStripHeight - 6);
    r.tabStop = false;
    host::Extender& e = main.add(library::classes(), "ZorvaXPButton", b.name, r);
    auto& button = e.as<buttons::ZorvaXPButton>();
    button.setCaption(b.caption);
    const int id = b.id;
    button.Click.connect([this, id] { command(id); });
    x += b.width + 3;
  }
  path_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, x + 8, y + 1, kPathWidth,
                          kStripHeight - 8, mainWnd, 0, 0, nullptr);

  area_ = CreateWindowExA(0, kAreaClass, "Design", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, mainWnd, 0, 0,
                          nullptr);
  SetWindowLongPtrA(area_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  toolbox_ = std::make_unique<Toolbox>(mainWnd, Rect{});
  panel_ = std::make_unique<PropertyPanel>(mainWnd, Rect{0, 0, kPanelWidth, 100});
  log_ = std::make_unique<EventLog>(mainWnd, "Events of the running form, and what the designer did");
  std::vector<std::string> all;
  for (const auto& item : toolbox_->items()) all.push_back(item.className);
  toolbox_->setPresent(std::move(all));
  toolbox_->onPick = [this](const std::string& c) { setTool(host::equalsNoCase(c, tool_) ? std::string() : c); };
  toolbox_->onActivate = [this](const std::string& c) { placeDefault(c); };
  panel_->onCustom = [this] { openPropertyPage(); };
  panel_->browsable = [](const PropertyRow& r) { return r.kind == ValueKind::Font || !browsedExtensions(r).empty(); };
  panel_->onBrowse = [this](size_t row) {
    if (row < panel_->model().rows().size() && panel_->model().rows()[row].kind == ValueKind::Font) browseFont(row);
    else browseFile(row);
  };
  panel_->onEdited = [this](const std::string& property, const std::string& value) {
    doc_->propertyEdited("Set " + property);
    say("Set " + panel_->model().title() + "." + property + " = " + value);
    placeAdorner();
  };
  shell_->onAccentChanged = [this] {
    toolbox_->setAccent(shell_->accentTop(), shell_->accentBottom());
    panel_->setAccent(shell_->accentTop(), shell_->accentBottom());
    log_->setAccent(shell_->accentTop(), shell_->accentBottom());
  };
  shell_->onAccentChanged();

  doc_ = std::make_unique<Document>(library::classes());
  doc_->onRebuilt = [this] {
    page_.reset();  // its control went with the old form
    siteForm(doc_->form().hWnd());
  };
  doc_->onChanged = [this] {
    updateTitle();
    selectionChanged();
  };
  layout();
  siteForm(doc_->form().hWnd());
  hooked = this;
  keyHook_ = SetWindowsHookExA(WH_KEYBOARD, keyHook, 0, GetCurrentThreadId());
  SetActiveWindow(mainWnd);
  SetFocus(area_);
  updateTitle();
  selectionChanged();
}

// An open property page: its frame (a form of the library's own with OK, Apply and Cancel), the
// page object and the control as a component object. The control's form is the document's, so
// the page must go before the form is rebuilt (undo, open, run).
struct Designer::PageHost {
  std::unique_ptr<host::Form> frame;
  IPropertyPage* page = nullptr;
  library::com::DispatchObject* object = nullptr;
  std::string title;
  host::Connection closed{};
  ~PageHost() {
    if (frame) frame->Unloaded.disconnect(closed);
    if (page) {
      if (frame) page->Deactivate();
      page->SetObjects(0, nullptr);
      page->Release();
    }
    if (object) object->Release();
    frame.reset();
  }
};

Designer::~Designer() {
  picker_.reset();
  chooser_.reset();
  page_.reset();
  if (keyHook_) UnhookWindowsHookEx(keyHook_);
  if (hooked == this) hooked = nullptr;
  doc_->onRebuilt = nullptr;
  doc_->onChanged = nullptr;
  panel_->show(nullptr, {});
  doc_.reset();
  for (HWND h : {adorner_, area_, path_})
    if (IsWindow(h)) {
      SetWindowLongPtrA(h, GWLP_USERDATA, 0);
      DestroyWindow(h);
    }
  toolbox_.reset();
  panel_.reset();
  log_.reset();
  shell_.reset();
}

void Designer::layout() {
  if (!shell_->alive()) return;
  RECT c{};
  GetClientRect(shell_->form()->hWnd(), &c);
  const int top = shell_->top();
  const int w = c.right, h = c.bottom;
  const int bodyTop = top + kStripHeight, bodyBottom = std::max(bodyTop, h - EventLog::kHeight);
  const UINT f = SWP_NOZORDER | SWP_NOACTIVATE;
  shell_->placeThemeButton(w - SkinShell::kThemeButtonWidth + 4, top + 3);
  SetWindowPos(toolbox_->hWnd(), 0, 0, bodyTop, kToolboxWidth, bodyBottom - bodyTop, f);
  SetWindowPos(panel_->hWnd(), 0, w - kPanelWidth, bodyTop, kPanelWidth, bodyBottom - bodyTop, f);
  SetWindowPos(area_, 0, kToolboxWidth, bodyTop, std::max(0, w - kToolboxWidth - kPanelWidth), bodyBottom - bodyTop, f);
  SetWindowPos(log_->hWnd(), 0, 0, bodyBottom, w, h - bodyBottom, f);
}

// The design form (or the running form) becomes a child of the design area, disabled while
// designing so that the mouse reaches the area and not the controls.
void Designer::siteForm(HWND f) {
  if (!f || !IsWindow(f)) return;
  SetParent(f, area_);
  SetWindowLongPtrA(f, GWL_STYLE, (GetWindowLongPtrA(f, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CHILD);
  SetWindowPos(f, HWND_BOTTOM, kFormOffset.x, kFormOffset.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  const bool designing = !doc_->running() || f != doc_->running()->hWnd();
  EnableWindow(f, designing ? FALSE : TRUE);
  // A new form window takes the activation when it is made: the designer's form keeps it, and
  // while designing the design area keeps the keyboard.
  if (shell_->alive()) SetActiveWindow(shell_->form()->hWnd());
  if (designing && !closing_) SetFocus(area_);
  if (designing) {
    if (!adorner_ || !IsWindow(adorner_)) {
      adorner_ = CreateWindowExA(WS_EX_NOACTIVATE, kAdornerClass, "Adorner", WS_CHILD | WS_DISABLED, 0, 0, 1, 1, area_,
                                 0, 0, nullptr);
      SetWindowLongPtrA(adorner_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    placeAdorner();
  }
}

Point Designer::formOrigin() const {
  const host::Form* f = doc_->running() ? doc_->running() : &doc_->form();
  POINT p{0, 0};
  ClientToScreen(f->hWnd(), &p);
  ScreenToClient(area_, &p);
  return Point{p.x, p.y};
}

Rect Designer::areaRect(const host::Extender& e) const {
  const Rect b = doc_->bounds(e);
  const Point o = formOrigin();
  return Rect::fromXYWH(o.x + twipsToPixels(b.left), o.y + twipsToPixels(b.top), twipsToPixels(b.width()),
                        twipsToPixels(b.height()));
}

Point Designer::toTwips(Point p) const {
  const Point o = formOrigin();
  return Point{pixelsToTwips(p.x - o.x), pixelsToTwips(p.y - o.y)};
}

Rect Designer::handleRect(const Rect& r, Handle h) {
  const int cx = r.left + r.width() / 2, cy = r.top + r.height() / 2;
  int x = cx, y = cy;
  switch (h) {
    case Handle::TopLeft: x = r.left, y = r.top; break;
    case Handle::Top: y = r.top; break;
    case Handle::TopRight: x = r.right - 1, y = r.top; break;
    case Handle::Right: x = r.right - 1; break;
    case Handle::BottomRight: x = r.right - 1, y = r.bottom - 1; break;
    case Handle::Bottom: y = r.bottom - 1; break;
    case Handle::BottomLeft: x = r.left, y = r.bottom - 1; break;
    case Handle::Left: x = r.left; break;
    case Handle::None: return Rect{};
  }
  return Rect::fromXYWH(x - kHandle / 2, y - kHandle / 2, kHandle, kHandle);
}

Handle Designer::handleAt(Point p, host::Extender** owner) const {
  if (doc_->running()) return Handle::None;
  for (host::Extender* e : doc_->selection()) {
    const Rect r = areaRect(*e);
    for (int h = static_cast<int>(Handle::TopLeft); h <= static_cast<int>(Handle::Left); ++h) {
      Rect hr = handleRect(r, static_cast<Handle>(h));
      hr = Rect{hr.left - 1, hr.top - 1, hr.right + 1, hr.bottom + 1};
      if (hr.contains(p)) {
        if (owner) *owner = e;
        return static_cast<Handle>(h);
      }
    }
  }
  return Handle::None;
}

// ---- The adorner ----

void Designer::placeAdorner() {
  if (!adorner_ || !IsWindow(adorner_)) return;
  if (doc_->running()) {
    ShowWindow(adorner_, SW_HIDE);
    return;
  }
  RECT c{};
  GetClientRect(area_, &c);
  // It covers the whole design area (handles on the form's edge and the band show), shaped by
  // its region to what it draws, so that the form shows through everywhere else.
  SetWindowPos(adorner_, HWND_TOP, 0, 0, c.right, c.bottom, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  SetWindowRgn(adorner_, adornerShape(), TRUE);
  InvalidateRect(adorner_, nullptr, FALSE);
}

std::vector<Point> Designer::gridDots() const {
  std::vector<Point> dots;
  if (!doc_->gridShown() || doc_->running()) return dots;
  const host::Form& form = doc_->form();
  const Point o = formOrigin();
  const Rect formRect = Rect::fromXYWH(o.x, o.y, twipsToPixels(form.ScaleWidth()), twipsToPixels(form.ScaleHeight()));
  // Dots on the form's own background: not over its controls. What the controls cover is marked
  // once per grid point, so the cost is the controls plus the dots, not their product.
  const int step = std::max(2, twipsToPixels(doc_->grid()));
  const int columns = (formRect.width() + step - 1) / step, rows = (formRect.height() + step - 1) / step;
  if (columns <= 0 || rows <= 0) return dots;
  std::vector<uint8_t> covered(static_cast<size_t>(columns) * static_cast<size_t>(rows), 0);
  for (const host::Extender* e : form.controlsIn(nullptr)) {
    const Rect r = areaRect(*e).offset(-formRect.left, -formRect.top);
    // The grid points x = i * step with r.left <= x < r.right.
    const int c0 = std::max(0, (r.left + step - 1) / step), c1 = std::min(columns, (r.right + step - 1) / step);
    const int r0 = std::max(0, (r.top + step - 1) / step), r1 = std::min(rows, (r.bottom + step - 1) / step);
    if (r.right <= 0 || r.bottom <= 0) continue;
    for (int y = r0; y < r1; ++y)
      std::fill_n(covered.begin() + static_cast<ptrdiff_t>(y) * columns + c0, std::max(0, c1 - c0), uint8_t{1});
  }
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < columns; ++x)
      if (!covered[static_cast<size_t>(y) * columns + x]) dots.push_back(Point{formRect.left + x * step, formRect.top + y * step});
  return dots;
}

Rect Designer::bandRect() const {
  if (drag_ != Drag::Band && drag_ != Drag::Place) return Rect{};
  return Rect{dragFrom_.x, dragFrom_.y, dragTo_.x, dragTo_.y}.normalized();
}

HRGN Designer::adornerShape() const {
  // The union of all the pieces at once, as region data (one call however many pieces).
  std::vector<RECT> pieces;
  auto add = [&](const Rect& r) { pieces.push_back(RECT{r.left, r.top, r.right, r.bottom}); };
  for (const Point& p : gridDots()) add(Rect::fromXYWH(p.x, p.y, 1, 1));
  for (const host::Extender* e : doc_->selection())
    for (int h = static_cast<int>(Handle::TopLeft); h <= static_cast<int>(Handle::Left); ++h)
      add(handleRect(areaRect(*e), static_cast<Handle>(h)));
  if (tabMode_ && !doc_->running())
    for (const host::Extender* e : doc_->form().Controls()) add(tabBox(*e));
  const Rect band = bandRect();
  if (!band.empty() || band.width() || band.height()) {
    add(Rect{band.left, band.top, band.right + 1, band.top + 1});
    add(Rect{band.left, band.bottom, band.right + 1, band.bottom + 1});
    add(Rect{band.left, band.top, band.left + 1, band.bottom + 1});
    add(Rect{band.right, band.top, band.right + 1, band.bottom + 1});
  }
  std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + pieces.size() * sizeof(RECT));
  RGNDATAHEADER header;
  header.nCount = static_cast<DWORD>(pieces.size());
  header.nRgnSize = static_cast<DWORD>(pieces.size() * sizeof(RECT));
  std::memcpy(data.data(), &header, sizeof header);
  if (!pieces.empty()) std::memcpy(data.data() + sizeof header, pieces.data(), pieces.size() * sizeof(RECT));
  HRGN shape = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data()));
  return shape ? shape : CreateRectRgn(0, 0, 0, 0);
}

void Designer::paintAdorner() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(adorner_, &ps);
  RECT client{};
  GetClientRect(adorner_, &client);
  for (const Point& p : gridDots()) SetPixel(dc, p.x, p.y, kGridDot);
  bool first = true;
  for (const host::Extender* e : doc_->selection()) {
    const Rect r = areaRect(*e);
    for (int h = static_cast<int>(Handle::TopLeft); h <= static_cast<int>(Handle::Left); ++h) {
      const Rect hr = handleRect(r, static_cast<Handle>(h));
      fillColour(dc, hr, first ? kHandleFill : kHandleOther);
      frame(dc, hr, kHandleBorder);
    }
    first = false;
  }
  if (tabMode_) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kTabText);
    for (const host::Extender* e : doc_->form().Controls()) {
      const Rect box = tabBox(*e);
      fillColour(dc, box, kTabBack);
      const std::string n = std::to_string(e->TabIndex());
      RECT rc{box.left, box.top, box.right, box.bottom};
      DrawTextA(dc, n.c_str(), static_cast<int>(n.size()), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
  }
  if (drag_ == Drag::Band || drag_ == Drag::Place) {
    const Rect band = bandRect();
    frame(dc, Rect{band.left, band.top, band.right + 1, band.bottom + 1}, kBand);
  }
  EndPaint(adorner_, &ps);
}

void Designer::selectionChanged() {
  if (!panel_) return;
  const auto& sel = doc_->selection();
  if (doc_->running()) {
    panel_->show(nullptr, {});
  } else if (sel.size() == 1) {
    host::Extender* e = sel.front();
    panel_->show(&e->object(), e->Name() + " (" + e->object().memberTable().className() + ")", e);
    if (library::com::pageFor(e->object().memberTable().className())) panel_->model().addCustomRow();
  } else if (sel.empty()) {
    panel_->show(&doc_->form(), doc_->form().Name() + " (Form)");
  } else {
    panel_->show(nullptr, std::to_string(sel.size()) + " controls");
  }
  placeAdorner();
}

// ---- Mouse ----

void Designer::mouseDown(Point p, bool shift) {
  if (doc_->running()) return;
  SetFocus(area_);
  SetCapture(area_);
  dragFrom_ = dragTo_ = p;
  if (tabMode_) {
    ReleaseCapture();
    if (host::Extender* e = doc_->controlAt(toTwips(p))) {
      doc_->setTabIndex(*e, nextTab_);
      say(e->Name() + ".TabIndex = " + std::to_string(nextTab_));
      ++nextTab_;
      selectionChanged();
    }
    return;
  }
  if (!tool_.empty()) {
    drag_ = Drag::Place;
    return;
  }
  host::Extender* owner = nullptr;
  const Handle h = handleAt(p, &owner);
  if (h != Handle::None) {
    drag_ = Drag::Size;
    dragHandle_ = h;
    doc_->beginGesture();
    return;
  }
  // A click on a tab of a tab control shows its page (and selects the tab control).
  if (!shift && doc_->showTabAt(toTwips(p))) {
    doc_->select(doc_->controlAt(toTwips(p)));
    drag_ = Drag::None;
    ReleaseCapture();
    selectionChanged();
    return;
  }
  host::Extender* e = doc_->controlAt(toTwips(p));
  if (shift) {
    doc_->toggle(e);
    drag_ = Drag::None;
    selectionChanged();
    return;
  }
  if (!e) {
    doc_->select(nullptr);
    drag_ = Drag::Band;
    selectionChanged();
    return;
  }
  if (!doc_->isSelected(e)) doc_->select(e);
  else if (doc_->selection().front() != e) {
    // The control grabbed leads (its corner snaps); the others keep their places.
    doc_->toggle(e);
    std::vector<host::Extender*> rest = doc_->selection();
    doc_->select(e);
    for (host::Extender* r : rest) doc_->toggle(r);
  }
  selectionChanged();
  drag_ = Drag::Move;
  doc_->beginGesture();
}

void Designer::mouseMove(Point p) {
  if (drag_ == Drag::None) return;
  dragTo_ = p;
  const int32_t dx = pixelsToTwips(p.x - dragFrom_.x), dy = pixelsToTwips(p.y - dragFrom_.y);
  if (drag_ == Drag::Move) doc_->moveBy(dx, dy);
  else if (drag_ == Drag::Size) doc_->resizeBy(dragHandle_, dx, dy);
  // The handles and the band move: the adorner takes its new shape.
  placeAdorner();
}

void Designer::mouseUp(Point p) {
  const Drag was = drag_;
  dragTo_ = p;
  drag_ = Drag::None;
  if (GetCapture() == area_) ReleaseCapture();
  switch (was) {
    case Drag::Move:
      doc_->endGesture("Move");
      break;
    case Drag::Size:
      doc_->endGesture("Size");
      break;
    case Drag::Band:
      if (dragFrom_.x != dragTo_.x || dragFrom_.y != dragTo_.y) {
        const Point a = toTwips(dragFrom_), b = toTwips(dragTo_);
        doc_->selectIn(Rect{a.x, a.y, b.x, b.y});
      }
      break;
    case Drag::Place: {
      const Point a = toTwips(dragFrom_), b = toTwips(dragTo_);
      const std::string cls = tool_;
      setTool({});
      try {
        host::Extender& e = doc_->add(cls, Rect{a.x, a.y, b.x, b.y});
        say("Placed " + e.Name());
      } catch (const std::exception& ex) {
        say("Could not place a " + cls + ": " + ex.what());
      }
      break;
    }
    case Drag::None:
      break;
  }
  selectionChanged();
}

std::vector<std::pair<std::string, Point>> Designer::landmarks() const {
  std::vector<std::pair<std::string, Point>> out;
  auto screenOf = [](HWND h, Point client) {
    POINT p{client.x, client.y};
    ClientToScreen(h, &p);
    return Point{p.x, p.y};
  };
  auto middle = [](const Rect& r) { return Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; };
  for (size_t i = 0; i < toolbox_->items().size(); ++i)
    out.emplace_back("tool:" + toolbox_->items()[i].className, screenOf(toolbox_->hWnd(), middle(toolbox_->rowRect(i))));
  for (const StripButton& b : kButtons)
    if (host::Extender* e = shell_->form()->control(b.name)) {
      RECT r{};
      GetWindowRect(e->object().hWnd(), &r);
      out.emplace_back(std::string("button:") + b.name, Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
  RECT r{};
  GetWindowRect(path_, &r);
  out.emplace_back("path", Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  out.emplace_back("form", screenOf(area_, formOrigin()));
  for (size_t i = 0; i < panel_->model().rows().size(); ++i) {
    const Rect v = panel_->valueRect(i);
    if (!v.empty()) out.emplace_back("property:" + panel_->model().rows()[i].name, screenOf(panel_->hWnd(), middle(v)));
  }
  return out;
}

// ---- Tab order and arranging ----

Rect Designer::tabBox(const host::Extender& e) const {
  const Rect r = areaRect(e);
  return Rect::fromXYWH(r.left, r.top, kTabBox.cx, kTabBox.cy);
}

void Designer::setTabOrderMode(bool on) {
  if (doc_->running()) on = false;
  tabMode_ = on;
  nextTab_ = 0;
  if (on) setTool({});
  if (shell_->alive())
    if (host::Extender* b = shell_->form()->control("cmdTabs"))
      host::letProperty(b->object(), "Caption", host::Variant(std::string(on ? "Tabs: done" : "Tab order")));
  say(on ? "Tab order: click the controls in the order Tab should visit them" : "Tab order set");
  placeAdorner();
}

void Designer::arrange(int command) {
  Document& d = *doc_;
  switch (command) {
    case arrangeLefts: d.align(AlignTo::Lefts); break;
    case arrangeCentres: d.align(AlignTo::Centres); break;
    case arrangeRights: d.align(AlignTo::Rights); break;
    case arrangeTops: d.align(AlignTo::Tops); break;
    case arrangeMiddles: d.align(AlignTo::Middles); break;
    case arrangeBottoms: d.align(AlignTo::Bottoms); break;
    case arrangeSameWidth: d.makeSameSize(true, false); break;
    case arrangeSameHeight: d.makeSameSize(false, true); break;
    case arrangeSameSize: d.makeSameSize(true, true); break;
    case arrangeSpaceAcross: d.spaceEvenly(true); break;
    case arrangeSpaceDown: d.spaceEvenly(false); break;
    case arrangeFront: d.bringToFront(); break;
    case arrangeBack: d.sendToBack(); break;
    case arrangeCut: cut(); break;
    case arrangeCopy: copy(); break;
    case arrangePaste: paste(); break;
    case arrangeDelete: remove(); break;
    case gridSnap: d.setSnapping(!d.snapping()); break;
    case grid4: d.setGrid(4 * 15); break;
    case grid8: d.setGrid(8 * 15); break;
    case grid16: d.setGrid(16 * 15); break;
    default: return;
  }
  selectionChanged();
}

int Designer::arrangeMenu(Point p) {
  const size_t n = doc_->selection().size();
  const UINT many = n >= 2 ? MF_ENABLED : MF_GRAYED, some = n >= 1 ? MF_ENABLED : MF_GRAYED;
  const UINT spread = doc_->topSelection().size() >= 3 ? MF_ENABLED : MF_GRAYED;
  HMENU align = CreatePopupMenu();
  AppendMenuA(align, MF_STRING | many, arrangeLefts, "Lefts");
  AppendMenuA(align, MF_STRING | many, arrangeCentres, "Centres");
  AppendMenuA(align, MF_STRING | many, arrangeRights, "Rights");
  AppendMenuA(align, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(align, MF_STRING | many, arrangeTops, "Tops");
  AppendMenuA(align, MF_STRING | many, arrangeMiddles, "Middles");
  AppendMenuA(align, MF_STRING | many, arrangeBottoms, "Bottoms");
  HMENU size = CreatePopupMenu();
  AppendMenuA(size, MF_STRING | many, arrangeSameWidth, "Same width");
  AppendMenuA(size, MF_STRING | many, arrangeSameHeight, "Same height");
  AppendMenuA(size, MF_STRING | many, arrangeSameSize, "Same size");
  HMENU grid = CreatePopupMenu();
  AppendMenuA(grid, MF_STRING | (doc_->snapping() ? MF_CHECKED : MF_UNCHECKED), gridSnap, "Snap to grid");
  AppendMenuA(grid, MF_SEPARATOR, 0, nullptr);
  for (const auto& [id, px] : {std::pair{grid4, 4}, std::pair{grid8, 8}, std::pair{grid16, 16}})
    AppendMenuA(grid, MF_STRING | (doc_->grid() == px * 15 ? MF_CHECKED : MF_UNCHECKED), id,
                (std::to_string(px) + " pixels").c_str());
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_POPUP | many, static_cast<UINT_PTR>(align), "Align");
  AppendMenuA(menu, MF_POPUP | many, static_cast<UINT_PTR>(size), "Make same size");
  AppendMenuA(menu, MF_STRING | spread, arrangeSpaceAcross, "Space evenly across");
  AppendMenuA(menu, MF_STRING | spread, arrangeSpaceDown, "Space evenly down");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING | some, arrangeFront, "Bring to front");
  AppendMenuA(menu, MF_STRING | some, arrangeBack, "Send to back");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING | some, arrangeCut, "Cut\tCtrl+X");
  AppendMenuA(menu, MF_STRING | some, arrangeCopy, "Copy\tCtrl+C");
  AppendMenuA(menu, MF_STRING, arrangePaste, "Paste\tCtrl+V");
  AppendMenuA(menu, MF_STRING | some, arrangeDelete, "Delete\tDel");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_POPUP, static_cast<UINT_PTR>(grid), "Grid");
  POINT sp{p.x, p.y};
  ClientToScreen(area_, &sp);
  const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, sp.x, sp.y, 0, area_, nullptr);
  DestroyMenu(menu);  // and its submenus
  if (chosen) arrange(chosen);
  return chosen;
}

// ---- Commands ----

void Designer::setTool(const std::string& className) {
  tool_ = className;
  toolbox_->setHighlighted(className);
}

void Designer::placeDefault(const std::string& className) {
  if (doc_->running()) return;
  const int32_t step = doc_->grid() * (1 + placed_ % 12);
  ++placed_;
  try {
    doc_->select(nullptr);
    host::Extender& e = doc_->add(className, Rect::fromXYWH(step, step, kDefaultControl.cx, kDefaultControl.cy));
    say("Placed " + e.Name());
  } catch (const std::exception& ex) {
    say("Could not place a " + className + ": " + ex.what());
  }
  setTool({});
  selectionChanged();
}

// ---- The file picker ----

void Designer::browseForm(bool saving) {
  std::error_code ec;
  const std::filesystem::path from = path_name_.empty() ? std::filesystem::current_path(ec) : path_name_.parent_path();
  RECT main{};
  GetWindowRect(shell_->form()->hWnd(), &main);
  picker_.reset();
  picker_ = std::make_unique<FilePicker>(saving ? "Save the form as" : "Open a form", std::vector<std::string>{".zxf"},
                                         from, saving, Point{main.left + 120, main.top + 90});
  picker_->onDone = [this] { PostMessageA(area_, kPickerDone, 0, 0); };
  picked_ = [this, saving](const std::filesystem::path& file) {
    if (saving) saveAs(file);
    else open(file);
  };
}

bool Designer::browseFile(size_t row) {
  if (row >= panel_->model().rows().size()) return false;
  const PropertyRow& r = panel_->model().rows()[row];
  std::vector<std::string> extensions = browsedExtensions(r);
  if (extensions.empty()) return false;
  const std::string property = r.name;
  host::Dispatchable* object = panel_->model().object();
  std::error_code ec;
  // A sound starts in its file's folder; a picture (whose row shows no path) in the form's.
  std::filesystem::path from = r.kind == ValueKind::Text ? std::filesystem::path(r.value) : path_name_;
  from = from.empty() || !from.has_parent_path() ? std::filesystem::current_path(ec) : from.parent_path();
  RECT main{};
  GetWindowRect(shell_->form()->hWnd(), &main);
  picker_.reset();
  picker_ = std::make_unique<FilePicker>(std::string(r.kind == ValueKind::Text ? "Choose a sound for " : "Choose a picture for ") + property,
                                         std::move(extensions), from, false, Point{main.left + 120, main.top + 90});
  picker_->onDone = [this] { PostMessageA(area_, kPickerDone, 0, 0); };
  picked_ = [this, property, object](const std::filesystem::path& file) { setAsTyped(object, property, file.string()); };
  return true;
}

bool Designer::browseFont(size_t row) {
  if (row >= panel_->model().rows().size() || panel_->model().rows()[row].kind != ValueKind::Font) return false;
  const PropertyRow& r = panel_->model().rows()[row];
  const std::string property = r.name;
  host::Dispatchable* object = panel_->model().object();
  gfx::FontDesc start;
  if (std::optional<gfx::FontDesc> f = PropertyModel::parseFont(r.value)) start = *f;
  RECT main{};
  GetWindowRect(shell_->form()->hWnd(), &main);
  chooser_.reset();
  chooser_ = std::make_unique<FontChooser>("Choose a font for " + property, start, Point{main.left + 140, main.top + 110});
  chooser_->onDone = [this] { PostMessageA(area_, kPickerDone, 0, 0); };
  chosenFont_ = [this, property, object](const gfx::FontDesc& font) {
    setAsTyped(object, property, PropertyModel::fontText(font));
  };
  return true;
}

// A value chosen in a picker or the font chooser: set as if typed in the panel, if the same
// object still shows there.
void Designer::setAsTyped(host::Dispatchable* object, const std::string& property, const std::string& text) {
  if (panel_->model().object() != object) return;
  const int r = panel_->model().find(property);
  if (r < 0) return;
  if (panel_->model().edit(static_cast<size_t>(r), text) && panel_->onEdited) panel_->onEdited(property, text);
  panel_->refresh();
}

void Designer::pickerDone() {
  // The designer takes the activation and the keyboard back from the picker or the chooser.
  auto takeBack = [this] {
    if (shell_->alive() && !closing_) {
      SetActiveWindow(shell_->form()->hWnd());
      SetFocus(area_);
    }
  };
  if (chooser_ && chooser_->done()) {
    const std::optional<gfx::FontDesc> chosen = chooser_->result();
    auto then = std::move(chosenFont_);
    chosenFont_ = nullptr;
    chooser_.reset();
    takeBack();
    if (chosen && then) then(*chosen);
  }
  if (!picker_ || !picker_->done()) return;
  const std::optional<std::filesystem::path> chosen = picker_->result();
  auto then = std::move(picked_);
  picked_ = nullptr;
  picker_.reset();
  takeBack();
  if (chosen && then) then(*chosen);
}

// ---- The property page ----

bool Designer::openPropertyPage() {
  page_.reset();
  if (doc_->running() || doc_->selection().size() != 1) {
    say("Select one control to open its property page");
    return false;
  }
  host::Extender& e = *doc_->selection().front();
  const std::string className = e.object().memberTable().className();
  const library::TypeLibraryEntry* entry = library::com::pageFor(className);
  if (!entry) {
    say(className + " has no property page");
    return false;
  }
  auto ph = std::make_unique<PageHost>();
  ph->object = library::com::DispatchObject::forSite(e);
  ph->page = library::com::createPropertyPage(*entry);
  if (!ph->object || !ph->page) return false;
  IUnknown* objects[] = {static_cast<IDispatch*>(ph->object)};
  PROPPAGEINFO info{};
  if (FAILED(ph->page->SetObjects(1, objects)) || FAILED(ph->page->GetPageInfo(&info))) {
    say("The " + std::string(entry->name) + " page does not open");
    return false;
  }
  ph->title = library::com::toUtf8(info.pszTitle);
  CoTaskMemFree(info.pszTitle);

  host::FormOptions o;
  o.name = "frmPropertyPage";
  o.caption = e.Name() + " - " + ph->title + " page";
  o.classes = &library::classes();
  o.clientWidth = pixelsToTwips(info.size.cx);
  o.clientHeight = pixelsToTwips(info.size.cy + kPageButtonsHeight);
  RECT main{};
  GetWindowRect(shell_->form()->hWnd(), &main);
  o.screenPos = Point{main.left + 80, main.top + 80};
  ph->frame = std::make_unique<host::Form>(o);
  const HWND frame = ph->frame->hWnd();
  struct Choice {
    const char* name;
    const char* caption;
    int action;  // 1 OK, 2 Apply, 0 Cancel
  };
  int x = info.size.cx - 3 * 78;
  for (const Choice& c : {Choice{"cmdOK", "OK", 1}, Choice{"cmdApply", "Apply", 2}, Choice{"cmdCancel", "Cancel", 0}}) {
    host::Extender& b = ph->frame->add(library::classes(), "ZorvaXPButton", c.name,
                                       host::ExtenderRecord::inPixels(x, info.size.cy + 8, 72, 24));
    b.as<buttons::ZorvaXPButton>().setCaption(c.caption);
    const int action = c.action;
    // Closing from inside the button's own click would take the button away under it: OK and
    // Cancel close once the click is done.
    b.as<buttons::ZorvaXPButton>().Click.connect([this, action] {
      if (action == 2) applyPropertyPage();
      else PostMessageA(area_, kPageClosing, action, 0);
    });
    x += 78;
  }
  const tagRECT where{0, 0, info.size.cx, info.size.cy};
  if (FAILED(ph->page->Activate(frame, &where, TRUE))) {
    say("The " + ph->title + " page does not open");
    return false;
  }
  ph->closed = ph->frame->Unloaded.connect([this] { PostMessageA(area_, kPageClosing, 0, 0); });  // closed by its box
  page_ = std::move(ph);
  say("Opened the " + page_->title + " page of " + e.Name());
  return true;
}

host::Form* Designer::pageFrame() const { return page_ ? page_->frame.get() : nullptr; }

HWND Designer::pageWindow() const {
  const HWND frame = page_ && page_->frame ? page_->frame->hWnd() : 0;
  for (HWND c = frame ? GetWindow(frame, GW_CHILD) : 0; c; c = GetWindow(c, GW_HWNDNEXT)) {
    char name[64] = {};
    GetClassNameA(c, name, sizeof name);
    if (std::string_view(name) == "ZxpPropertyPage") return c;
  }
  return 0;
}

bool Designer::applyPropertyPage() {
  if (!page_) return false;
  if (page_->page->IsPageDirty() != S_OK) return true;
  const HRESULT hr = page_->page->Apply();
  if (FAILED(hr)) {
    say("The " + page_->title + " page was not applied: " + refusal(hr));
    return false;
  }
  doc_->propertyEdited("Apply " + page_->title + " page");
  say("Applied the " + page_->title + " page");
  selectionChanged();
  return true;
}

bool Designer::closePropertyPage(bool apply) {
  if (!page_) return true;
  if (apply && page_->frame && !page_->frame->unloaded() && !applyPropertyPage()) return false;
  page_.reset();
  return true;
}

void Designer::say(const std::string& line) {
  if (log_) log_->append(line);
}

void Designer::updateTitle() {
  if (!shell_->alive()) return;
  const std::string name = path_name_.empty() ? std::string("(new form)") : path_name_.filename().string();
  shell_->form()->setCaption("ZorvaXP designer - " + name + (doc_ && doc_->modified() ? " *" : "") +
                             (doc_ && doc_->running() ? " [running]" : ""));
}

bool Designer::mayDiscard() {
  if (!doc_->modified()) return true;
  const std::string name = path_name_.empty() ? std::string("the new form") : path_name_.filename().string();
  const int answer = MessageBoxA(shell_->form()->hWnd(), ("Save changes to " + name + "?").c_str(), "ZorvaXP designer",
                                 MB_YESNOCANCEL | MB_ICONQUESTION);
  if (answer == IDYES) return save();
  return answer == IDNO;
}

bool Designer::mayClose() {
  if (closing_) return true;
  stop();
  if (!mayDiscard()) return false;
  closing_ = true;
  page_.reset();
  return true;
}

bool Designer::newForm() {
  stop();
  if (!mayDiscard()) return false;
  doc_->newForm();
  path_name_.clear();
  SetWindowTextA(path_, "");
  placed_ = 0;
  say("New form");
  updateTitle();
  return true;
}

bool Designer::open(const std::filesystem::path& file) {
  stop();
  std::vector<uint8_t> bytes;
  const services::FileOutcome read = services::readRegularFile(file.string(), kMaxFormFileSize, bytes);
  if (!read) {
    say("Cannot open " + file.string() + ": " + read.reason);
    return false;
  }
  if (!mayDiscard()) return false;
  try {
    doc_->open(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  } catch (const host::FormFileError& e) {
    say(file.string() + ": line " + std::to_string(e.line()) + ": " + e.message() + " (not opened)");
    return false;
  } catch (const std::exception& e) {
    say(file.string() + ": " + e.what() + " (not opened)");
    return false;
  }
  path_name_ = file;
  SetWindowTextA(path_, file.string().c_str());
  for (const auto& u : doc_->form().unknownKeys())
    say(file.string() + ": line " + std::to_string(u.line) + ": " + u.owner + " does not read " + u.key);
  say("Opened " + file.string());
  noteRecent(file);
  updateTitle();
  return true;
}

bool Designer::save() {
  if (path_name_.empty()) {
    char typed[1024] = {};
    GetWindowTextA(path_, typed, sizeof typed);
    if (!typed[0]) {
      browseForm(true);
      return false;
    }
    return saveAs(typed);
  }
  return saveAs(path_name_);
}

bool Designer::saveAs(const std::filesystem::path& file) {
  if (doc_->running()) stop();
  const services::FileOutcome wrote = services::writeFileAtomically(file.string(), doc_->text());
  if (!wrote) {
    say("Cannot save " + file.string() + ": " + wrote.reason);
    return false;
  }
  doc_->markSaved();
  path_name_ = file;
  SetWindowTextA(path_, file.string().c_str());
  say("Saved " + file.string());
  noteRecent(file);
  updateTitle();
  return true;
}

void Designer::noteRecent(const std::filesystem::path& file) {
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(file, ec);
  if (ec) full = file;
  recent_.erase(std::remove(recent_.begin(), recent_.end(), full), recent_.end());
  recent_.insert(recent_.begin(), full);
  if (recent_.size() > kRecentKept) recent_.resize(kRecentKept);
  if (registryPath_.empty()) return;
  // Read again first: another designer may have written the store since.
  services::Registry store(registryPath_);
  std::string error;
  if (!store.load(&error)) {
    say("The recent files are not kept: " + error);
    return;
  }
  store.deleteTree(kRecentKey);
  for (size_t i = 0; i < recent_.size(); ++i) store.setString(kRecentKey, "File" + std::to_string(i + 1), recent_[i].string());
  if (!store.save(&error)) say("The recent files are not kept: " + error);
}

bool Designer::chooseRecent() {
  HMENU menu = CreatePopupMenu();
  if (recent_.empty()) AppendMenuA(menu, MF_STRING | MF_GRAYED, 1, "(no recent files)");
  for (size_t i = 0; i < recent_.size(); ++i) {
    const std::string item = "&" + std::to_string(i + 1) + "  " + recent_[i].string();
    AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(i + 1), item.c_str());
  }
  RECT r{};
  if (host::Extender* b = shell_->form()->control("cmdRecent")) GetWindowRect(b->object().hWnd(), &r);
  const int chosen =
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, r.left, r.bottom, 0, area_, nullptr);
  DestroyMenu(menu);
  if (chosen < 1 || static_cast<size_t>(chosen) > recent_.size()) return false;
  const std::filesystem::path file = recent_[static_cast<size_t>(chosen) - 1];
  return open(file);
}

void Designer::undo() {
  if (doc_->running() || !doc_->canUndo()) return;
  say("Undo " + doc_->undoName());
  doc_->undo();
}

void Designer::redo() {
  if (doc_->running() || !doc_->canRedo()) return;
  say("Redo " + doc_->redoName());
  doc_->redo();
}

void Designer::copy() {
  if (doc_->running() || doc_->selection().empty()) return;
  ui::setClipboardText(doc_->copySelection());
  say("Copied " + std::to_string(doc_->topSelection().size()) + " control(s)");
}

void Designer::cut() {
  if (doc_->running() || doc_->selection().empty()) return;
  ui::setClipboardText(doc_->cutSelection());
  selectionChanged();
}

void Designer::paste() {
  if (doc_->running()) return;
  const std::optional<std::string> text = ui::clipboardText();
  if (!text) return;
  try {
    auto added = doc_->paste(*text);
    say("Pasted " + std::to_string(added.size()) + " control(s)");
  } catch (const host::FormFileError& e) {
    say("The clipboard holds no controls: line " + std::to_string(e.line()) + ": " + e.message());
  } catch (const std::exception& e) {
    say(std::string("Cannot paste: ") + e.what());
  }
  selectionChanged();
}

void Designer::remove() {
  if (doc_->running() || doc_->selection().empty()) return;
  doc_->removeSelection();
  selectionChanged();
}

void Designer::toggleGrid() {
  doc_->setGridShown(!doc_->gridShown());
  placeAdorner();
}

void Designer::run() {
  if (doc_->running()) {
    stop();
    return;
  }
  if (drag_ != Drag::None) mouseUp(dragTo_);
  host::Form* f = nullptr;
  try {
    f = doc_->run();
  } catch (const std::exception& e) {
    say(std::string("The form does not run: ") + e.what());
    return;
  }
  page_.reset();
  log_->clear();
  siteForm(f->hWnd());
  host::traceEvents(*f, [this](const std::string& line) { say(line); });
  f->Unloaded.connect([this] { PostMessageA(area_, WM_APP, 0, 0); });  // closed by itself: stop
  if (tabMode_) setTabOrderMode(false);
  if (host::Extender* b = shell_->form()->control("cmdRun")) host::letProperty(b->object(), "Caption", host::Variant(std::string("Stop (F5)")));
  say("Running (F5 stops)");
  placeAdorner();
  selectionChanged();
  updateTitle();
}

void Designer::stop() {
  if (!doc_->running()) return;
  doc_->stop();
  if (shell_->alive()) {
    if (host::Extender* b = shell_->form()->control("cmdRun"))
      host::letProperty(b->object(), "Caption", host::Variant(std::string("Run (F5)")));
    say("Stopped: the design state is back");
  }
  if (!closing_) {
    siteForm(doc_->form().hWnd());
    selectionChanged();
    updateTitle();
    SetFocus(area_);
  }
}

void Designer::command(int id) {
  switch (id) {
    case cmdNew: newForm(); break;
    case cmdOpen: {
      char typed[1024] = {};
      GetWindowTextA(path_, typed, sizeof typed);
      if (typed[0]) open(typed);
      else browseForm(false);
      break;
    }
    case cmdRecent: chooseRecent(); break;
    case cmdSave: save(); break;
    case cmdSaveAs: {
      char typed[1024] = {};
      GetWindowTextA(path_, typed, sizeof typed);
      if (typed[0]) saveAs(typed);
      else browseForm(true);
      break;
    }
    case cmdUndo: undo(); break;
    case cmdRedo: redo(); break;
    case cmdCut: cut(); break;
    case cmdCopy: copy(); break;
    case cmdPaste: paste(); break;
    case cmdDelete: remove(); break;
    case cmdGrid: toggleGrid(); break;
    case cmdTabs: setTabOrderMode(!tabMode_); break;
    case cmdRun: run(); break;
    default: break;
  }
  // The keyboard goes back to the design area, unless a picker opened for this command.
  if (!closing_ && IsWindow(area_) && id != cmdOpen && id != cmdSaveAs && !picker_) SetFocus(area_);
}

bool Designer::key(UINT vk, bool shift, bool ctrl) {
  if (vk == kF5) {
    if (shift) stop();
    else run();
    return true;
  }
  if (ctrl && (vk == 'N' || vk == 'O' || vk == 'S')) {
    command(vk == 'N' ? cmdNew : vk == 'O' ? cmdOpen : cmdSave);
    return true;
  }
  // Escape drops a picked tool or a drag in progress, wherever the focus is.
  if (vk == VK_ESCAPE && tabMode_) {
    setTabOrderMode(false);
    return true;
  }
  if (vk == VK_ESCAPE && (!tool_.empty() || drag_ != Drag::None)) {
    if (drag_ == Drag::Move || drag_ == Drag::Size) doc_->cancelGesture();
    drag_ = Drag::None;
    if (GetCapture() == area_) ReleaseCapture();
    setTool({});
    selectionChanged();
    return true;
  }
  if (GetFocus() != area_ || doc_->running()) return false;
  if (ctrl) {
    switch (vk) {
      case 'A': doc_->selectAll(); selectionChanged(); return true;
      case 'Z': undo(); return true;
      case 'Y': redo(); return true;
      case 'X': cut(); return true;
      case 'C': copy(); return true;
      case 'V': paste(); return true;
      default: break;
    }
  }
  if (vk == VK_DELETE) {
    remove();
    return true;
  }
  if (vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN) {
    if (doc_->selection().empty()) return true;
    // One grid step; Ctrl: one pixel, off the grid.
    const int32_t step = ctrl ? 15 : doc_->grid();
    const int32_t dx = vk == VK_LEFT ? -step : vk == VK_RIGHT ? step : 0;
    const int32_t dy = vk == VK_UP ? -step : vk == VK_DOWN ? step : 0;
    const bool snapping = doc_->snapping();
    if (ctrl) doc_->setSnapping(false);
    if (shift) doc_->resizeSelection(dx ? Handle::Right : Handle::Bottom, dx, dy);
    else doc_->moveSelection(dx, dy);
    doc_->setSnapping(snapping);
    selectionChanged();
    return true;
  }
  return false;
}

LRESULT Designer::keyHook(int code, WPARAM wParam, LPARAM lParam) {
  const bool keyDown = (static_cast<uint32_t>(lParam) & 0x80000000u) == 0;
  // A menu (the arranging menu, the theme menu) or a drag loop keeps its keys.
  if (code == HC_ACTION && hooked && keyDown && ui::modalDepth() == 0 &&
      hooked->key(static_cast<UINT>(wParam), GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0))
    return 1;
  return CallNextHookEx(0, code, wParam, lParam);
}

LRESULT Designer::proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* d = ui::windowObject<Designer>(hwnd);
  if (!d) return DefWindowProcA(hwnd, msg, wParam, lParam);
  const Point p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (msg) {
    case WM_PAINT:
      if (hwnd == d->adorner_) d->paintAdorner();
      else paintFilled(hwnd, kAreaBack);
      return 0;
    case WM_LBUTTONDOWN:
      if (hwnd == d->area_) d->mouseDown(p, (wParam & (MK_SHIFT | MK_CONTROL)) != 0);
      return 0;
    case WM_MOUSEMOVE:
      if (hwnd == d->area_) d->mouseMove(p);
      return 0;
    case WM_LBUTTONUP:
      if (hwnd == d->area_) d->mouseUp(p);
      return 0;
    case WM_RBUTTONUP:
      // The control under the click joins (or makes) the selection, then the menu opens.
      if (hwnd == d->area_ && !d->running() && d->drag_ == Drag::None && !d->tabMode_) {
        host::Extender* e = d->doc_->controlAt(d->toTwips(p));
        if (e && !d->doc_->isSelected(e)) d->doc_->select(e);
        d->selectionChanged();
        d->arrangeMenu(p);
      }
      return 0;
    case WM_SIZE:
      if (hwnd == d->area_) d->placeAdorner();
      return 0;
    case WM_APP:
      if (hwnd == d->area_) d->stop();
      return 0;
    case kPageClosing:
      if (hwnd == d->area_) d->closePropertyPage(wParam != 0);
      return 0;
    case kPickerDone:
      if (hwnd == d->area_) d->pickerDone();
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace zxp::designer
