#include "Toolbox.h"

#include <algorithm>

#include "PaintHelpers.h"
#include "library/ClassTable.h"
#include "library/ToolboxBitmaps.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Text.h"
#include "platform/host/NoCase.h"
#include "platform/ui/Messages.h"

namespace zxp::appkit {

namespace {

constexpr const char* kToolboxClass = "ZxpAppToolbox";
constexpr COLORREF kBack = RGB(250, 250, 252);
constexpr COLORREF kPresent = RGB(0, 0, 0);
constexpr COLORREF kAbsent = RGB(150, 150, 150);
constexpr COLORREF kHighlight = RGB(255, 231, 162);
constexpr COLORREF kHighlightBorder = RGB(194, 138, 48);
constexpr COLORREF kRule = RGB(222, 226, 234);

}  // namespace

Toolbox::Toolbox(HWND parent, Rect where)
    : font_(face("Tahoma", 8.25).create()), bold_(face("Tahoma", 8.25, true).create()) {
  registerAppClass(kToolboxClass, proc, IDC_HAND, CS_DBLCLKS);
  for (const host::ControlClass& c : library::classes().classes()) {
    Item item{c.name, c.toolboxBitmap, library::bitmapResource(c.toolboxBitmap)};
    bitmaps_.emplace_back(item.picture ? gfx::CreateBitmapForSurface(item.picture) : 0);
    items_.push_back(std::move(item));
  }
  hwnd_ = CreateWindowExA(0, kToolboxClass, "Controls", WS_CHILD | WS_VISIBLE, where.left, where.top, where.width(),
                          where.height(), parent, 0, 0, nullptr);
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  InvalidateRect(hwnd_, nullptr, FALSE);
}

Toolbox::~Toolbox() {
  if (IsWindow(hwnd_)) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

int Toolbox::find(std::string_view className) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (host::equalsNoCase(items_[i].className, className)) return static_cast<int>(i);
  return -1;
}

Rect Toolbox::rowRect(size_t index) const {
  RECT c{};
  GetClientRect(hwnd_, &c);
  const int y = kHeaderHeight + static_cast<int>(index) * kRowHeight;
  return Rect{0, y, c.right, y + kRowHeight};
}

void Toolbox::setPresent(std::vector<std::string> classNames) {
  present_ = std::move(classNames);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void Toolbox::setHighlighted(const std::string& className) {
  highlighted_ = className;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void Toolbox::setAccent(COLORREF top, COLORREF bottom) {
  accentTop_ = top;
  accentBottom_ = bottom;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void Toolbox::paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT client{};
  GetClientRect(hwnd_, &client);
  fillColour(dc, client, kBack);
  fillColour(dc, Rect{client.right - 1, 0, client.right, client.bottom}, kRule);
  SetBkMode(dc, TRANSPARENT);
  gradient(dc, Rect{0, 0, client.right, kHeaderHeight - 2}, accentTop_, accentBottom_, true);
  {
    Selection sf(dc, bold_.get());
    SetTextColor(dc, RGB(255, 255, 255));
    const char* title = "Controls";
    TextOutA(dc, 8, 4, title, 8);
  }
  Selection sf(dc, font_.get());
  MemoryDC mem(dc);
  for (size_t i = 0; i < items_.size(); ++i) {
    const Item& item = items_[i];
    const Rect r = rowRect(i);
    const bool here = std::any_of(present_.begin(), present_.end(),
                                  [&](const std::string& n) { return host::equalsNoCase(n, item.className); });
    if (!highlighted_.empty() && host::equalsNoCase(highlighted_, item.className)) {
      fillColour(dc, Rect{r.left + 2, r.top + 1, r.right - 3, r.bottom - 1}, kHighlight);
      frame(dc, Rect{r.left + 2, r.top + 1, r.right - 3, r.bottom - 1}, kHighlightBorder);
    }
    if (bitmaps_[i]) {
      Selection sb(mem.get(), bitmaps_[i].get());
      // The toolbox grey is the pictures' transparent colour.
      TransparentBlt(dc, 8, r.top + 3, library::kToolboxWidth, library::kToolboxHeight, mem.get(), 0, 0,
                     library::kToolboxWidth, library::kToolboxHeight, library::kToolboxBackground);
    }
    SetTextColor(dc, here ? kPresent : kAbsent);
    TextOutA(dc, 32, r.top + 4, item.className.c_str(), static_cast<int>(item.className.size()));
  }
  EndPaint(hwnd_, &ps);
}

LRESULT Toolbox::proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* box = ui::windowObject<Toolbox>(hwnd);
  if (!box) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_PAINT:
      box->paint();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const int y = GET_Y_LPARAM(lParam) - kHeaderHeight;
      const auto& handler = msg == WM_LBUTTONDOWN ? box->onPick : box->onActivate;
      if (y >= 0 && y / kRowHeight < static_cast<int>(box->items_.size()) && handler) {
        const std::string name = box->items_[static_cast<size_t>(y / kRowHeight)].className;
        handler(name);
      }
      return 0;
    }
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace zxp::appkit
