#include "Shell.h"

#include "PaintHelpers.h"

#include <algorithm>
#include <cstring>

#include "bars/ZorvaXPHookTab.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/host/EventTrace.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/User.h"

namespace zxp::gallery {

namespace {

constexpr const char* kShellClass = "ZxpGalleryShell";
// Where a live page's form window goes, from the page area's top-left corner.
constexpr Point kFormOffset{16, 16};

constexpr COLORREF kStripTop = RGB(250, 250, 247);
constexpr COLORREF kStripBottom = RGB(214, 223, 247);
constexpr COLORREF kTabBorder = RGB(145, 155, 156);
constexpr COLORREF kLogBack = RGB(255, 255, 255);
constexpr COLORREF kLogHeader = RGB(0, 51, 153);
constexpr COLORREF kLogText = RGB(0, 0, 0);
constexpr COLORREF kLogNewest = RGB(0, 110, 0);




gfx::FontDesc face(const char* name, double points, bool bold = false) {
  gfx::FontDesc d;
  d.name = name;
  d.size = points;
  d.setBold(bold);
  return d;
}

// The shell whose keyboard hook is installed (hook procedures carry no context).
Shell* hooked = nullptr;

// The first MouseMove of a run stays in the log, later ones of the same control replace it, so
// that moving the mouse does not push everything else out of view.
bool sameMoveRun(const std::string& last, const std::string& line) {
  size_t dot = line.find(".MouseMove(");
  return dot != std::string::npos && last.compare(0, dot + 11, line, 0, dot + 11) == 0;
}

}  // namespace

Shell::Shell(std::vector<Entry> pages)
    : pages_(std::move(pages)),
      tabFont_(face("Tahoma", 8.25, true).create()),
      logFont_(face("DejaVu Sans Mono", 8).create()) {
  WNDCLASSA wc;
  if (!GetClassInfoA(0, kShellClass, &wc)) {
    wc = WNDCLASSA{};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = kShellClass;
    wc.hCursor = LoadCursorA(0, IDC_ARROW);
    RegisterClassA(&wc);
  }
  Size screen = ui::screenSize();
  ui::setWorkArea(Rect{0, 0, screen.cx, screen.cy});
  // The strips never take the activation, so that the page's form keeps it.
  constexpr DWORD kStripEx = WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
  tabs_ = CreateWindowExA(kStripEx, kShellClass, "Pages", WS_POPUP | WS_VISIBLE, 0, 0, screen.cx, kTabHeight, 0, 0, 0,
                          nullptr);
  logWnd_ = CreateWindowExA(kStripEx, kShellClass, "Events", WS_POPUP | WS_VISIBLE, 0, screen.cy - kLogHeight, screen.cx,
                            kLogHeight, 0, 0, 0, nullptr);
  Rect area = pageArea();
  still_ = CreateWindowExA(kStripEx, kShellClass, "Still", WS_POPUP, area.left, area.top, area.width(), area.height(), 0,
                           0, 0, nullptr);
  for (HWND h : {tabs_, logWnd_, still_}) SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

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
  tabCtl.ClickOnTab.connect([this, &tabCtl](int32_t&) {
    select(static_cast<size_t>(tabCtl.SelectedTab() - 1));
    // The click gave the strip the focus; the page's form keeps the activation.
    if (form_ && IsWindowVisible(form_->hWnd())) SetActiveWindow(form_->hWnd());
  });
  InvalidateRect(tabs_, nullptr, FALSE);
  InvalidateRect(logWnd_, nullptr, FALSE);
  hooked = this;
  keyHook_ = SetWindowsHookExA(WH_KEYBOARD, keyHook, 0, GetCurrentThreadId());
  if (!pages_.empty()) select(0);
}

Shell::~Shell() {
  if (keyHook_) UnhookWindowsHookEx(keyHook_);
  if (tabCtl_) {
    tabCtl_->object().Terminate();
    tabCtl_.reset();
  }
  if (hooked == this) hooked = nullptr;
  form_.reset();
  for (HWND h : {tabs_, logWnd_, still_})
    if (IsWindow(h)) DestroyWindow(h);
}

Rect Shell::pageArea() const {
  Size screen = ui::screenSize();
  return Rect{0, kTabHeight, screen.cx, screen.cy - kLogHeight};
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

void Shell::select(size_t index) {
  if (index >= pages_.size()) return;
  if (index == current_) {
    // The current tab brings back a form that its close box has hidden.
    if (form_ && !IsWindowVisible(form_->hWnd())) {
      ShowWindow(form_->hWnd(), SW_SHOW);
      SetActiveWindow(form_->hWnd());
    }
    return;
  }
  current_ = index;
  if (bars::ZorvaXPHookTab* t = tabControl()) t->setSelectedTab(static_cast<int32_t>(index) + 1);
  form_.reset();
  ShowWindow(still_, SW_HIDE);
  log_.clear();
  const Entry& page = pages_[index];
  if (page.form) {
    Rect area = pageArea();
    try {
      form_ = page.form(Point{area.left + kFormOffset.x, area.top + kFormOffset.y});
    } catch (const std::exception& e) {
      appendLog(std::string("The page's form could not be loaded: ") + e.what());
    }
    if (form_) {
      host::traceEvents(*form_, [this](const std::string& line) { appendLog(line); });
      SetActiveWindow(form_->hWnd());
    } else {
      showStill(nullptr);  // an empty page that keeps the keyboard
    }
  } else {
    showStill(page.still);
    appendLog(page.still ? "A still page: its picture is drawn once, it raises no events."
                         : "The page's picture could not be drawn.");
  }
  InvalidateRect(tabs_, nullptr, FALSE);
  InvalidateRect(logWnd_, nullptr, FALSE);
}

void Shell::appendLog(const std::string& line) {
  if (!log_.empty() && sameMoveRun(log_.back(), line)) log_.back() = line;
  else log_.push_back(line);
  while (log_.size() > kLogKept) log_.pop_front();
  InvalidateRect(logWnd_, nullptr, FALSE);
}

void Shell::showStill(std::shared_ptr<gfx::Surface> picture) {
  stillPicture_ = std::move(picture);
  stillBitmap_.reset(stillPicture_ ? gfx::CreateBitmapForSurface(stillPicture_) : 0);
  Rect area = pageArea();
  int w = stillPicture_ ? std::min(area.width(), stillPicture_->width() + 2 * kFormOffset.x) : area.width();
  int h = stillPicture_ ? std::min(area.height(), stillPicture_->height() + 2 * kFormOffset.y) : area.height();
  // A picture that nearly fills the page keeps less margin rather than lose its edge.
  stillOffset_ = kFormOffset;
  if (stillPicture_) {
    stillOffset_.x = std::clamp((area.width() - stillPicture_->width()) / 2, 0, kFormOffset.x);
    stillOffset_.y = std::clamp((area.height() - stillPicture_->height()) / 2, 0, kFormOffset.y);
  }
  SetWindowPos(still_, 0, area.left, area.top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  // The still page takes the keyboard, so that the page keys keep working.
  ShowWindow(still_, SW_SHOW);
  SetActiveWindow(still_);
  SetFocus(still_);
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

LRESULT Shell::proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* shell = reinterpret_cast<Shell*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!shell) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_PAINT:
      if (hwnd == shell->tabs_) shell->paintTabs();
      else if (hwnd == shell->logWnd_) shell->paintLog();
      else shell->paintStill();
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

// Behind the tab control: only the strip's background shows, where the control does not reach.
void Shell::paintTabs() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(tabs_, &ps);
  RECT client{};
  GetClientRect(tabs_, &client);
  gradient(dc, client, kStripTop, kStripBottom, true);
  EndPaint(tabs_, &ps);
}

void Shell::paintLog() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(logWnd_, &ps);
  RECT client{};
  GetClientRect(logWnd_, &client);
  fillColour(dc, client, kLogBack);
  fillColour(dc, Rect{0, 0, client.right, 1}, kTabBorder);
  SetBkMode(dc, TRANSPARENT);
  {
    Selection sf(dc, tabFont_.get());
    SetTextColor(dc, kLogHeader);
    const char* title = "Events raised by the page's controls, newest last (Ctrl+PgDn, Ctrl+PgUp: next, previous page)";
    TextOutA(dc, 8, 5, title, static_cast<int>(std::strlen(title)));
  }
  Selection sf(dc, logFont_.get());
  size_t first = log_.size() > static_cast<size_t>(kLogLines) ? log_.size() - kLogLines : 0;
  int y = 22;
  for (size_t i = first; i < log_.size(); ++i, y += kLogLineHeight) {
    SetTextColor(dc, i + 1 == log_.size() ? kLogNewest : kLogText);
    TextOutA(dc, 12, y, log_[i].c_str(), static_cast<int>(log_[i].size()));
  }
  EndPaint(logWnd_, &ps);
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
