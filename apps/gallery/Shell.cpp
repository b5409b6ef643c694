#include "Shell.h"

#include "common/PaintHelpers.h"

#include <algorithm>
#include <cstring>

#include "bars/ZorvaXPHookTab.h"
#include "buttons/ZorvaXPButton.h"
#include "formskin/ZorvaForm.h"
#include "library/ClassTable.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/host/EventTrace.h"
#include "platform/host/NoCase.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Screen.h"
#include "platform/ui/User.h"

namespace zxp::gallery {

using namespace appkit;  // the shared painting helpers

namespace {

constexpr const char* kShellClass = "ZxpGalleryShell";
// Where a live page's form window goes, from the page area's top-left corner.
constexpr Point kFormOffset{12, 12};
constexpr int kRingWidth = 2;
constexpr int kRingGap = 2;

constexpr COLORREF kStripTop = RGB(250, 250, 247);
constexpr COLORREF kStripBottom = RGB(214, 223, 247);
constexpr COLORREF kPageBack = RGB(236, 238, 244);
constexpr COLORREF kRing = RGB(255, 128, 0);

// The shell whose hooks are installed (hook procedures carry no context).
Shell* hooked = nullptr;

HWND createPane(const char* title, DWORD style, Rect r, HWND parent, Shell* shell) {
  HWND h = CreateWindowExA(0, kShellClass, title, style, r.left, r.top, r.width(), r.height(), parent, 0, 0, nullptr);
  SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(shell));
  return h;
}

std::string classOf(const host::Extender& e) { return e.object().memberTable().className(); }

}  // namespace

Shell::Shell(std::vector<Entry> pages) : pages_(std::move(pages)), pageClasses_(pages_.size()) {
  registerAppClass(kShellClass, proc);
  Size screen = ui::screenSize();
  ui::setWorkArea(Rect{0, 0, screen.cx, screen.cy});
  main_ = std::make_unique<SkinShell>("frmGallery", "ZorvaXP gallery");
  // The page goes before the gallery's form does, while the page's windows still exist.
  main_->onClosing = [this] { dropPage(); };
  main_->onClosed = [this] {
    if (onClosed) onClosed();
  };
  main_->onMessage = [this](const std::string& line) { appendLog(line); };
  main_->onAccentChanged = [this] { applySkinColours(); };
  const HWND main = main_->form()->hWnd();

  tabs_ = createPane("Pages", WS_CHILD | WS_VISIBLE, Rect{}, main, this);
  log_ = std::make_unique<EventLog>(
      main, "Events raised by the page's controls, newest last (Ctrl+PgDn, Ctrl+PgUp: next, previous page)");
  pageHost_ = createPane("Page", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, Rect{}, main, this);
  still_ = createPane("Still", WS_CHILD, Rect{}, pageHost_, this);
  toolbox_ = std::make_unique<Toolbox>(main, Rect{});
  panel_ = std::make_unique<PropertyPanel>(main, Rect{0, 0, kPanelWidth, 100});
  toolbox_->onPick = [this](const std::string& name) {
    if (!pickClass(name)) appendLog("No page shows a " + name + ".");
  };
  panel_->onEdited = [this](const std::string& property, const std::string& value) {
    appendLog("Set " + panel_->model().title() + "." + property + " = " + value);
    placeRing();  // the control may have moved or changed size
  };

  // The page tabs: a tab control sited in the strip as a constituent child is, one tab per page
  // (titles cut to the 20 characters a tab caption holds); the strip shows its tabs and clips
  // its body away. A click on a tab, the selected one included, selects that page.
  host::ExtenderRecord r;
  r.width = pixelsToTwips(screen.cx);
  r.height = pixelsToTwips(bars::ZorvaXPHookTab::kMinHeight);
  tabCtl_ = std::make_unique<host::Extender>(std::make_unique<bars::ZorvaXPHookTab>(), "tabPages", r, nullptr, nullptr,
                                             tabs_, nullptr);
  bars::ZorvaXPHookTab& tabCtl = tabCtl_->as<bars::ZorvaXPHookTab>();
  tabCtl.attach(*tabCtl_);
  tabCtl.Initialize();
  tabCtl.InitProperties();
  tabCtl.Resize();
  ShowWindow(tabCtl.hWnd(), SW_SHOWNA);
  while (tabCtl.TabsCount() > 0) tabCtl.RemoveTab(1);
  tabCtl.setBackColorParent(kStripBottom);
  for (const Entry& p : pages_) tabCtl.AddTab(p.title.substr(0, bars::ZorvaXPHookTab::kMaxCaption));
  tabCtl.ClickOnTab.connect([this, &tabCtl](int32_t&) { select(static_cast<size_t>(tabCtl.SelectedTab() - 1)); });

  layout();
  applySkinColours();
  hooked = this;
  keyHook_ = SetWindowsHookExA(WH_KEYBOARD, keyHook, 0, GetCurrentThreadId());
  mouseHook_ = SetWindowsHookExA(WH_GETMESSAGE, mouseHook, 0, GetCurrentThreadId());
  sizeHook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, sizeHook, 0, GetCurrentThreadId());
  SetActiveWindow(main);
  if (!pages_.empty()) select(0);
}

Shell::~Shell() {
  if (keyHook_) UnhookWindowsHookEx(keyHook_);
  if (mouseHook_) UnhookWindowsHookEx(mouseHook_);
  if (sizeHook_) UnhookWindowsHookEx(sizeHook_);
  if (hooked == this) hooked = nullptr;
  dropPage();
  if (tabCtl_) {
    tabCtl_->object().Terminate();
    tabCtl_.reset();
  }
  for (HWND h : {still_, tabs_, pageHost_})
    if (IsWindow(h)) {
      SetWindowLongPtrA(h, GWLP_USERDATA, 0);
      DestroyWindow(h);
    }
  toolbox_.reset();
  panel_.reset();
  log_.reset();
  main_.reset();
}

Size Shell::screenFor(std::optional<Size> usable) {
  if (!usable) return kWideScreen;
  const int w = usable->cx - kDesktopFrame.cx, h = usable->cy - kDesktopFrame.cy;
  return Size{std::clamp(w, kSmallestScreen.cx, kWideScreen.cx), std::clamp(h, kSmallestScreen.cy, kWideScreen.cy)};
}

Shell::Columns Shell::columnsFor(int w) {
  Columns c;
  int lacking = kToolboxWidth + kPanelWidth + kPageWidth - w;  // what the page lacks at full widths
  const int fromPanel = std::clamp(lacking, 0, kPanelWidth - kPanelMinWidth);
  c.panel -= fromPanel;
  lacking -= fromPanel;
  c.toolbox -= std::clamp(lacking, 0, kToolboxWidth - kToolboxMinWidth);
  return c;
}

formskin::ZorvaForm* Shell::skin() const { return main_ ? main_->skin() : nullptr; }

// Places the panes in the gallery form's client area, under the title strip.
void Shell::layout() {
  if (!main_ || !main_->alive()) return;
  RECT c{};
  GetClientRect(main_->form()->hWnd(), &c);
  const int top = main_->top();
  const int w = c.right, h = c.bottom;
  const int bodyTop = top + kTabHeight, bodyBottom = std::max(bodyTop, h - kLogHeight);
  const UINT f = SWP_NOZORDER | SWP_NOACTIVATE;
  SetWindowPos(tabs_, 0, 0, top, std::max(0, w - kThemeButtonWidth), kTabHeight, f);
  main_->placeThemeButton(w - kThemeButtonWidth + 4, top + 2);
  const Columns cols = columnsFor(w);
  SetWindowPos(toolbox_->hWnd(), 0, 0, bodyTop, cols.toolbox, bodyBottom - bodyTop, f);
  SetWindowPos(panel_->hWnd(), 0, w - cols.panel, bodyTop, cols.panel, bodyBottom - bodyTop, f);
  SetWindowPos(pageHost_, 0, cols.toolbox, bodyTop, std::max(0, w - cols.toolbox - cols.panel), bodyBottom - bodyTop,
               f);
  SetWindowPos(log_->hWnd(), 0, 0, bodyBottom, w, h - bodyBottom, f);
  for (HWND pane : {tabs_, log_->hWnd(), pageHost_, toolbox_->hWnd(), panel_->hWnd()}) InvalidateRect(pane, nullptr, FALSE);
}

Rect Shell::pageArea() const {
  RECT c{};
  GetClientRect(pageHost_, &c);
  POINT p{0, 0};
  ClientToScreen(pageHost_, &p);
  return Rect{p.x, p.y, p.x + c.right, p.y + c.bottom};
}

bars::ZorvaXPHookTab* Shell::tabControl() const {
  return tabCtl_ ? &tabCtl_->as<bars::ZorvaXPHookTab>() : nullptr;
}

Rect Shell::tabRect(size_t index) const {
  if (const bars::ZorvaXPHookTab* t = tabControl())
    for (const bars::TabRect& r : t->tabRects())
      if (r.Index == static_cast<int32_t>(index) + 1) return Rect{r.Left, r.Top, r.Left + r.Width, r.Bottom};
  return Rect{};
}

// ---- Pages ----

void Shell::dropPage() {
  selectControl(nullptr);
  panel_->show(nullptr, {});
  if (ring_ && IsWindow(ring_)) DestroyWindow(ring_);
  ring_ = 0;
  form_.reset();
}

void Shell::select(size_t index) {
  if (index >= pages_.size()) return;
  if (index == current_) {
    // The current tab brings back a form that was hidden, and loads again one that unloaded
    // (its close box, Alt+F4 or a skinned page's close button).
    if (!form_ || !form_->unloaded()) {
      if (form_ && !IsWindowVisible(form_->hWnd())) ShowWindow(form_->hWnd(), SW_SHOW);
      return;
    }
  }
  current_ = index;
  if (bars::ZorvaXPHookTab* t = tabControl()) t->setSelectedTab(static_cast<int32_t>(index) + 1);
  dropPage();
  ShowWindow(still_, SW_HIDE);
  log_->clear();
  const Entry& page = pages_[index];
  if (page.form) {
    Rect area = pageArea();
    try {
      form_ = page.form(Point{area.left + kFormOffset.x, area.top + kFormOffset.y});
    } catch (const std::exception& e) {
      appendLog(std::string("The page's form could not be loaded: ") + e.what());
    }
    if (form_) {
      // The page's form becomes a child of the page area: it moves with the gallery and is
      // clipped to the area. Its controls keep their own focus and tab order.
      const HWND f = form_->hWnd();
      SetParent(f, pageHost_);
      SetWindowLongPtrA(f, GWL_STYLE, (GetWindowLongPtrA(f, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CHILD);
      SetWindowPos(f, HWND_TOP, kFormOffset.x, kFormOffset.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
      // A page that unloads (its close box, Alt+F4) takes its controls along: nothing of it
      // stays selected.
      form_->Unloaded.connect([this] {
        selectedControl_ = nullptr;
        panel_->show(nullptr, {});
        toolbox_->setHighlighted({});
        placeRing();
      });
      host::traceEvents(*form_, [this](const std::string& line) {
        appendLog(line);
        // The selected control may have changed itself (a value, a check): the panel follows.
        if (panel_->model().object() && !panel_->editWindow()) panel_->refresh();
      });
      std::vector<std::string> classes;
      for (const host::Extender* e : form_->Controls()) classes.push_back(classOf(*e));
      pageClasses_[index] = classes;
      toolbox_->setPresent(std::move(classes));
      selectControl(nullptr);
    } else {
      toolbox_->setPresent({});
      showStill(nullptr);
    }
  } else {
    toolbox_->setPresent({});
    showStill(page.still);
    appendLog(page.still ? "A still page: its picture is drawn once, it raises no events."
                         : "The page's picture could not be drawn.");
  }
  if (main_ && main_->alive()) SetActiveWindow(main_->form()->hWnd());
  InvalidateRect(tabs_, nullptr, FALSE);
  InvalidateRect(pageHost_, nullptr, FALSE);
}

const std::vector<std::string>& Shell::classesOfPage(size_t index) {
  static const std::vector<std::string> none;
  if (index >= pages_.size()) return none;
  if (!pageClasses_[index]) {
    std::vector<std::string> classes;
    if (pages_[index].form) {
      // Build the page once out of sight to see what it holds.
      try {
        std::unique_ptr<host::Form> f = pages_[index].form(Point{-30000, -30000});
        for (const host::Extender* e : f->Controls()) classes.push_back(classOf(*e));
      } catch (const std::exception&) {
      }
      if (main_ && main_->alive()) SetActiveWindow(main_->form()->hWnd());
    }
    pageClasses_[index] = std::move(classes);
  }
  return *pageClasses_[index];
}

bool Shell::pickClass(const std::string& className) {
  auto firstOf = [&](host::Form& f) -> host::Extender* {
    for (host::Extender* e : f.Controls())
      if (host::equalsNoCase(classOf(*e), className)) return e;
    return nullptr;
  };
  if (form_) {
    if (host::Extender* e = firstOf(*form_)) {
      selectControl(e);
      return true;
    }
  }
  for (size_t i = 0; i < pages_.size(); ++i) {
    if (i == current_) continue;
    const auto& classes = classesOfPage(i);
    if (std::none_of(classes.begin(), classes.end(),
                     [&](const std::string& c) { return host::equalsNoCase(c, className); }))
      continue;
    select(i);
    if (form_) {
      if (host::Extender* e = firstOf(*form_)) {
        selectControl(e);
        return true;
      }
    }
  }
  return false;
}

// ---- Selection ----

void Shell::selectControl(host::Extender* control) {
  selectedControl_ = control;
  if (control) {
    panel_->show(&control->object(), control->Name() + " (" + classOf(*control) + ")", control);
    toolbox_->setHighlighted(classOf(*control));
  } else {
    if (form_) panel_->show(form_.get(), form_->Name() + " (Form)");
    else panel_->show(nullptr, {});
    toolbox_->setHighlighted({});
  }
  placeRing();
}

// The ring: a child window beside the selected control, shaped by its region to a frame around
// the control, on top of its siblings.
void Shell::placeRing() {
  if (!selectedControl_ || !form_) {
    if (ring_ && IsWindow(ring_)) ShowWindow(ring_, SW_HIDE);
    return;
  }
  const HWND target = selectedControl_->object().hWnd();
  const HWND parent = GetParent(target);
  if (!target || !parent) return;
  if (!ring_ || !IsWindow(ring_) || GetParent(ring_) != parent) {
    if (ring_ && IsWindow(ring_)) DestroyWindow(ring_);
    ring_ = CreateWindowExA(WS_EX_TRANSPARENT | WS_EX_NOACTIVATE, kShellClass, "Selection", WS_CHILD, 0, 0, 1, 1,
                            parent, 0, 0, nullptr);
    SetWindowLongPtrA(ring_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  RECT r{};
  GetWindowRect(target, &r);
  POINT tl{r.left, r.top};
  ScreenToClient(parent, &tl);
  const int d = kRingWidth + kRingGap;
  const int w = r.right - r.left + 2 * d, h = r.bottom - r.top + 2 * d;
  HRGN outer = CreateRectRgn(0, 0, w, h);
  HRGN inner = CreateRectRgn(kRingWidth, kRingWidth, w - kRingWidth, h - kRingWidth);
  CombineRgn(outer, outer, inner, RGN_DIFF);
  DeleteObject(inner);
  SetWindowPos(ring_, HWND_TOP, tl.x - d, tl.y - d, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  SetWindowRgn(ring_, outer, TRUE);
  InvalidateRect(ring_, nullptr, FALSE);
}

// ---- Themes ----

int Shell::theme() const { return main_ ? main_->theme() : 0; }

void Shell::setTheme(int theme) {
  if (main_) main_->setTheme(theme);
}

void Shell::chooseTheme() {
  if (main_) main_->chooseTheme();
}

// The skin's colours go to the gallery's own headers.
void Shell::applySkinColours() {
  if (!main_ || !toolbox_ || !panel_ || !log_) return;
  toolbox_->setAccent(main_->accentTop(), main_->accentBottom());
  panel_->setAccent(main_->accentTop(), main_->accentBottom());
  log_->setAccent(main_->accentTop(), main_->accentBottom());
  InvalidateRect(tabs_, nullptr, FALSE);
}

// ---- Log and painting ----

void Shell::appendLog(const std::string& line) { log_->append(line); }

void Shell::showStill(std::shared_ptr<gfx::Surface> picture) {
  stillPicture_ = std::move(picture);
  stillBitmap_.reset(stillPicture_ ? gfx::CreateBitmapForSurface(stillPicture_) : 0);
  RECT c{};
  GetClientRect(pageHost_, &c);
  Rect area{0, 0, c.right, c.bottom};
  int w = stillPicture_ ? std::min(area.width(), stillPicture_->width() + 2 * kFormOffset.x) : area.width();
  int h = stillPicture_ ? std::min(area.height(), stillPicture_->height() + 2 * kFormOffset.y) : area.height();
  // A picture that nearly fills the page keeps less margin rather than lose its edge.
  stillOffset_ = kFormOffset;
  if (stillPicture_) {
    stillOffset_.x = std::clamp((area.width() - stillPicture_->width()) / 2, 0, kFormOffset.x);
    stillOffset_.y = std::clamp((area.height() - stillPicture_->height()) / 2, 0, kFormOffset.y);
  }
  SetWindowPos(still_, 0, 0, 0, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(still_, SW_SHOWNA);
  InvalidateRect(still_, nullptr, FALSE);
}

LRESULT Shell::keyHook(int code, WPARAM wParam, LPARAM lParam) {
  const bool keyDown = (static_cast<uint32_t>(lParam) & 0x80000000u) == 0;
  if (code == HC_ACTION && hooked && keyDown && (wParam == VK_NEXT || wParam == VK_PRIOR) && GetKeyState(VK_CONTROL) < 0) {
    const size_t n = hooked->pages_.size();
    if (n) hooked->select((hooked->current_ + (wParam == VK_NEXT ? 1 : n - 1)) % n);
    return 1;
  }
  return CallNextHookEx(0, code, wParam, lParam);
}

// A press on the page selects what is under it (the innermost control of the page's form that
// holds the window, or the form itself); the press still goes on to its window. The press is
// seen as it leaves the queue, since a control's own mouse hook may end the mouse hook chain.
LRESULT Shell::mouseHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* m = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && m && hooked && hooked->form_ &&
      (m->message == WM_LBUTTONDOWN || m->message == WM_RBUTTONDOWN)) {
    const HWND page = hooked->form_->hWnd();
    if (page && (m->hwnd == page || IsChild(page, m->hwnd)) && m->hwnd != hooked->ring_) {
      host::Extender* found = nullptr;
      for (HWND h = m->hwnd; h && h != page && !found; h = GetParent(h))
        for (host::Extender* e : hooked->form_->Controls())
          if (e->object().hWnd() == h) {
            found = e;
            break;
          }
      if (found != hooked->selectedControl_ || !hooked->panel_->model().object()) hooked->selectControl(found);
    }
  }
  return CallNextHookEx(0, code, wParam, lParam);
}

// The gallery's form changed size (maximised, restored): the panes follow.
LRESULT Shell::sizeHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && hooked && m && m->message == WM_SIZE && hooked->main_ && hooked->main_->alive() &&
      m->hwnd == hooked->main_->form()->hWnd())
    hooked->layout();
  return CallNextHookEx(0, code, wParam, lParam);
}

LRESULT Shell::proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* shell = ui::windowObject<Shell>(hwnd);
  if (!shell) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_PAINT:
      if (hwnd == shell->tabs_) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT client{};
        GetClientRect(hwnd, &client);
        gradient(dc, client, kStripTop, kStripBottom, true);
        EndPaint(hwnd, &ps);
      } else if (hwnd == shell->still_) {
        shell->paintStill();
      } else {
        paintFilled(hwnd, hwnd == shell->pageHost_ ? kPageBack : kRing);  // the page area, the ring
      }
      return 0;
    case WM_SIZE:
      if (hwnd == shell->pageHost_ && !shell->form_ && IsWindowVisible(shell->still_))
        shell->showStill(shell->stillPicture_);
      return 0;
    case WM_DESTROY:
      // The gallery's form is going (its close box): the page goes first, while its windows exist.
      if (hwnd == shell->pageHost_) shell->dropPage();
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

void Shell::paintStill() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(still_, &ps);
  RECT client{};
  GetClientRect(still_, &client);
  fillColour(dc, client, GetSysColor(COLOR_BTNFACE));
  if (stillBitmap_) {
    MemoryDC mem(dc);
    Selection sb(mem.get(), stillBitmap_.get());
    BitBlt(dc, stillOffset_.x, stillOffset_.y, stillPicture_->width(), stillPicture_->height(), mem.get(), 0, 0, SRCCOPY);
  }
  EndPaint(still_, &ps);
}

}  // namespace zxp::gallery
