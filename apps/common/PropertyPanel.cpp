#include "PropertyPanel.h"

#include <algorithm>
#include <cstdint>

#include "PaintHelpers.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Messages.h"

namespace zxp::appkit {

namespace {

constexpr const char* kPanelClass = "ZxpAppProperties";
constexpr UINT WM_ENDEDIT = WM_APP + 41;  // wParam: commit

constexpr COLORREF kBack = RGB(255, 255, 255);
constexpr COLORREF kStripe = RGB(244, 247, 252);
constexpr COLORREF kHeading = RGB(226, 231, 242);
constexpr COLORREF kGrid = RGB(222, 226, 234);
constexpr COLORREF kName = RGB(20, 20, 20);
constexpr COLORREF kValue = RGB(0, 0, 140);
constexpr COLORREF kReadOnly = RGB(128, 128, 128);
constexpr COLORREF kError = RGB(190, 0, 0);
constexpr COLORREF kTitle = RGB(255, 255, 255);
constexpr COLORREF kTrack = RGB(236, 236, 240);
constexpr COLORREF kThumb = RGB(170, 176, 190);

// The colours a swatch's menu offers: plain colours, then the system colours a control's
// defaults use.
struct NamedColour {
  const char* name;
  OLE_COLOR colour;
};
constexpr NamedColour kColourChoices[] = {
    {"Black", 0x000000},         {"White", 0xFFFFFF},          {"Red", 0x0000FF},        {"Green", 0x008000},
    {"Blue", 0xFF0000},          {"Yellow", 0x00FFFF},         {"Orange", 0x0080FF},     {"Purple", 0x800080},
    {"Gray", 0x808080},          {"Silver", 0xC0C0C0},         {"Navy", 0x800000},       {"Teal", 0x808000},
    {"Button Face", 0x8000000F}, {"Button Text", 0x80000012},  {"Window", 0x80000005},   {"Window Text", 0x80000008},
    {"Highlight", 0x8000000D},   {"Highlight Text", 0x8000000E},
};
constexpr size_t kPlainColours = 12;

PropertyPanel* panelOf(HWND h) { return ui::windowObject<PropertyPanel>(h); }

void text(HDC dc, int x, int y, const std::string& s) { TextOutA(dc, x, y, s.c_str(), static_cast<int>(s.size())); }

}  // namespace

PropertyPanel::PropertyPanel(HWND parent, Rect where)
    : font_(face("Tahoma", 8.25).create()), bold_(face("Tahoma", 8.25, true).create()) {
  registerAppClass(kPanelClass, proc);
  hwnd_ = CreateWindowExA(0, kPanelClass, "Properties", WS_CHILD | WS_VISIBLE, where.left, where.top, where.width(),
                          where.height(), parent, 0, 0, nullptr);
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  nameWidth_ = std::max(120, where.width() / 2);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

PropertyPanel::~PropertyPanel() {
  if (edit_ && IsWindow(edit_)) DestroyWindow(edit_);
  if (IsWindow(hwnd_)) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void PropertyPanel::show(host::Dispatchable* object, std::string title, host::Dispatchable* site) {
  if (edit_) endEdit(false);
  model_.select(object, std::move(title), site);
  top_ = 0;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void PropertyPanel::refresh() {
  if (!model_.object()) return;
  model_.refresh();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void PropertyPanel::setAccent(COLORREF top, COLORREF bottom) {
  accentTop_ = top;
  accentBottom_ = bottom;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

Rect PropertyPanel::listRect() const {
  RECT c{};
  GetClientRect(hwnd_, &c);
  return Rect{0, kHeaderHeight, c.right - kScrollWidth, std::max<int>(kHeaderHeight, c.bottom - kErrorHeight)};
}

int PropertyPanel::visibleRows() const { return std::max(1, listRect().height() / kRowHeight); }

void PropertyPanel::scrollTo(int firstRow) {
  const int rows = static_cast<int>(model_.rows().size());
  const int top = std::clamp(firstRow, 0, std::max(0, rows - visibleRows()));
  if (top == top_) return;
  if (edit_) endEdit(true);
  top_ = top;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

Rect PropertyPanel::valueRect(size_t row) const {
  const int shown = static_cast<int>(row) - top_;
  if (row >= model_.rows().size() || shown < 0 || shown >= visibleRows()) return Rect{};
  Rect list = listRect();
  const int y = list.top + shown * kRowHeight;
  return Rect{nameWidth_ + 1, y, list.right, y + kRowHeight - 1};
}

Rect PropertyPanel::browseRect(size_t row) const {
  const Rect cell = valueRect(row);
  if (cell.empty() || !browsable || !browsable(model_.rows()[row])) return Rect{};
  return Rect{cell.right - 20, cell.top + 1, cell.right - 2, cell.bottom - 1};
}

bool PropertyPanel::beginEdit(size_t row) {
  if (edit_) endEdit(true);
  if (row >= model_.rows().size() || !model_.rows()[row].editable) return false;
  // Bring the row into view first.
  if (static_cast<int>(row) < top_) scrollTo(static_cast<int>(row));
  else if (static_cast<int>(row) >= top_ + visibleRows()) scrollTo(static_cast<int>(row) - visibleRows() + 1);
  const PropertyRow& r = model_.rows()[row];
  if (r.kind == ValueKind::Custom) {
    if (onCustom) onCustom();
    return true;
  }
  if (r.kind == ValueKind::Boolean) {
    if (model_.toggle(row) && onEdited) onEdited(r.name, model_.rows()[row].value);
    InvalidateRect(hwnd_, nullptr, FALSE);
    return true;
  }
  if (r.kind == ValueKind::Enum) {
    chooseMember(row);
    return true;
  }
  Rect cell = valueRect(row);
  if (r.kind == ValueKind::Colour) cell.left += 20;  // beside the swatch
  edit_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, cell.left, cell.top,
                          cell.width(), cell.height() + 1, hwnd_, 0, 0, nullptr);
  if (!edit_) return false;
  editRow_ = static_cast<int>(row);
  SendMessageA(edit_, WM_SETFONT, static_cast<WPARAM>(font_.get()), 0);
  SetWindowTextA(edit_, r.value.c_str());
  SendMessageA(edit_, EM_SETSEL, 0, -1);
  SetWindowLongPtrA(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  editBase_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc)));
  SetFocus(edit_);
  InvalidateRect(hwnd_, nullptr, FALSE);
  return true;
}

void PropertyPanel::endEdit(bool commit) {
  if (!edit_ || ending_) return;
  ending_ = true;
  HWND e = edit_;
  const int row = editRow_;
  std::string typed;
  if (commit) {
    const int n = GetWindowTextLengthA(e);
    typed.resize(static_cast<size_t>(n) + 1);
    GetWindowTextA(e, typed.data(), n + 1);
    typed.resize(static_cast<size_t>(n));
  }
  edit_ = 0;
  editRow_ = -1;
  if (GetFocus() == e) SetFocus(hwnd_);
  DestroyWindow(e);
  ending_ = false;
  if (commit && row >= 0 && static_cast<size_t>(row) < model_.rows().size() &&
      typed != model_.rows()[static_cast<size_t>(row)].value) {
    if (model_.edit(static_cast<size_t>(row), typed) && onEdited)
      onEdited(model_.rows()[static_cast<size_t>(row)].name, model_.rows()[static_cast<size_t>(row)].value);
  }
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void PropertyPanel::click(Point p) {
  SetFocus(hwnd_);
  Rect list = listRect();
  RECT c{};
  GetClientRect(hwnd_, &c);
  if (p.x >= list.right && p.y >= list.top && p.y < list.bottom) {
    // The scroll track: a page up or down from the thumb.
    const int rows = static_cast<int>(model_.rows().size());
    if (rows <= visibleRows()) return;
    const int thumbTop = list.top + list.height() * top_ / rows;
    scrollTo(top_ + (p.y < thumbTop ? -visibleRows() : visibleRows()));
    return;
  }
  if (!list.contains(p)) return;
  const size_t row = static_cast<size_t>(top_ + (p.y - list.top) / kRowHeight);
  if (row >= model_.rows().size()) return;
  if (const Rect b = browseRect(row); !b.empty() && b.contains(p)) {
    if (edit_) endEdit(true);
    if (onBrowse) onBrowse(row);
    return;
  }
  const int swatch = nameWidth_ + 6;
  if (model_.rows()[row].kind == ValueKind::Colour && model_.rows()[row].editable && p.x >= swatch &&
      p.x < swatch + 16)
    chooseColour(row);
  else if (p.x > nameWidth_)
    beginEdit(row);
}

bool PropertyPanel::chooseColour(size_t row) {
  if (edit_) endEdit(true);
  if (row >= model_.rows().size() || model_.rows()[row].kind != ValueKind::Colour) return false;
  const OLE_COLOR current = static_cast<OLE_COLOR>(model_.rows()[row].raw.toLong());
  HMENU menu = CreatePopupMenu();
  for (size_t i = 0; i < std::size(kColourChoices); ++i) {
    if (i == kPlainColours) AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    const UINT check = kColourChoices[i].colour == current ? MF_CHECKED : MF_UNCHECKED;
    AppendMenuA(menu, MF_STRING | check, i + 1, kColourChoices[i].name);
  }
  const Rect cell = valueRect(row);
  POINT at{cell.left + 5, cell.bottom};
  ClientToScreen(hwnd_, &at);
  const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, hwnd_, nullptr);
  DestroyMenu(menu);
  if (chosen < 1 || static_cast<size_t>(chosen) > std::size(kColourChoices)) return false;
  const bool ok = model_.set(row, host::Variant(kColourChoices[chosen - 1].colour));
  if (ok && onEdited) onEdited(model_.rows()[row].name, model_.rows()[row].value);
  InvalidateRect(hwnd_, nullptr, FALSE);
  return ok;
}

bool PropertyPanel::chooseMember(size_t row) {
  if (edit_) endEdit(true);
  const auto members = model_.choices(row);
  if (members.empty()) return false;
  const PropertyRow& r = model_.rows()[row];
  const int32_t current = r.raw.isNumeric() ? r.raw.toLong() : INT32_MIN;
  HMENU menu = CreatePopupMenu();
  for (size_t i = 0; i < members.size(); ++i) {
    const std::string item = members[i].first + "  (" + std::to_string(members[i].second) + ")";
    AppendMenuA(menu, MF_STRING | (members[i].second == current ? MF_CHECKED : MF_UNCHECKED), i + 1, item.c_str());
  }
  const Rect cell = valueRect(row);
  POINT at{cell.left + 5, cell.bottom};
  ClientToScreen(hwnd_, &at);
  const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, hwnd_, nullptr);
  DestroyMenu(menu);
  if (chosen < 1 || static_cast<size_t>(chosen) > members.size()) return false;
  const bool ok = model_.choose(row, static_cast<size_t>(chosen - 1));
  if (ok && onEdited) onEdited(model_.rows()[row].name, model_.rows()[row].value);
  InvalidateRect(hwnd_, nullptr, FALSE);
  return ok;
}

void PropertyPanel::paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT client{};
  GetClientRect(hwnd_, &client);
  fillColour(dc, client, kBack);
  SetBkMode(dc, TRANSPARENT);

  // Header: the object's name on the accent gradient, then the column titles.
  gradient(dc, Rect{0, 0, client.right, 22}, accentTop_, accentBottom_, true);
  {
    Selection sf(dc, bold_.get());
    SetTextColor(dc, kTitle);
    text(dc, 8, 4, model_.object() ? model_.title() : std::string("Click a control to see its properties"));
    SetTextColor(dc, kName);
    text(dc, 8, 24, "Property");
    text(dc, nameWidth_ + 6, 24, "Value");
  }
  fillColour(dc, Rect{0, kHeaderHeight - 1, client.right, kHeaderHeight}, kGrid);

  Selection sf(dc, font_.get());
  const Rect list = listRect();
  const auto& rows = model_.rows();
  const int shown = std::min<int>(visibleRows() + 1, static_cast<int>(rows.size()) - top_);
  for (int i = 0; i < shown; ++i) {
    const PropertyRow& r = rows[static_cast<size_t>(top_ + i)];
    const int y = list.top + i * kRowHeight;
    if (y >= list.bottom) break;
    if (r.kind == ValueKind::Heading) {
      fillColour(dc, Rect{0, y, list.right, y + kRowHeight}, kHeading);
      Selection sb(dc, bold_.get());
      SetTextColor(dc, kName);
      text(dc, 8, y + 3, r.name);
      continue;
    }
    if ((top_ + i) % 2) fillColour(dc, Rect{0, y, list.right, y + kRowHeight}, kStripe);
    fillColour(dc, Rect{0, y + kRowHeight - 1, list.right, y + kRowHeight}, kGrid);
    fillColour(dc, Rect{nameWidth_, y, nameWidth_ + 1, y + kRowHeight}, kGrid);  // the column rule
    SetTextColor(dc, kName);
    RECT nameCell{8, y, nameWidth_ - 3, y + kRowHeight - 1};
    DrawTextA(dc, r.name.c_str(), static_cast<int>(r.name.size()), &nameCell,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    int x = nameWidth_ + 6;
    if (r.kind == ValueKind::Colour && r.raw.isNumeric()) {
      const COLORREF c = translateColor(static_cast<OLE_COLOR>(r.raw.toLong()));
      fillColour(dc, Rect{x, y + 3, x + 14, y + 15}, c);
      frame(dc, Rect{x, y + 3, x + 14, y + 15}, RGB(90, 90, 90));
      x += 20;
    } else if (r.kind == ValueKind::Boolean) {
      frame(dc, Rect{x, y + 3, x + 13, y + 16}, RGB(28, 81, 128));
      if (r.raw.toBool()) {
        fillColour(dc, Rect{x + 3, y + 6, x + 10, y + 13}, RGB(33, 161, 33));
      }
      x += 19;
    }
    SetTextColor(dc, r.editable ? kValue : kReadOnly);
    const Rect browse = browseRect(static_cast<size_t>(top_ + i));
    if (!browse.empty()) {
      frame(dc, browse, RGB(90, 90, 90));
      SetTextColor(dc, kName);
      RECT dots{browse.left, browse.top, browse.right, browse.bottom};
      DrawTextA(dc, "...", 3, &dots, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      SetTextColor(dc, r.editable ? kValue : kReadOnly);
    }
    if (static_cast<int>(top_ + i) != editRow_) {
      RECT valueCell{x, y, (browse.empty() ? list.right : browse.left) - 3, y + kRowHeight - 1};
      DrawTextA(dc, r.value.c_str(), static_cast<int>(r.value.size()), &valueCell,
                DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
  }

  // Scroll track and thumb.
  fillColour(dc, Rect{list.right, list.top, client.right, list.bottom}, kTrack);
  const int count = static_cast<int>(rows.size());
  if (count > visibleRows()) {
    const int h = list.height();
    const int t = list.top + h * top_ / count;
    const int b = list.top + h * std::min(count, top_ + visibleRows()) / count;
    fillColour(dc, Rect{list.right + 2, t, client.right - 2, std::max(b, t + 8)}, kThumb);
  }

  // The error strip.
  // (over the part of a row that reaches below the list)
  const Rect strip{0, list.bottom, client.right, client.bottom};
  fillColour(dc, strip, kBack);
  fillColour(dc, Rect{strip.left, strip.top, strip.right, strip.top + 1}, kGrid);
  if (!model_.error().empty()) {
    SetTextColor(dc, kError);
    RECT r{strip.left + 8, strip.top + 3, strip.right - 6, strip.bottom - 2};
    DrawTextA(dc, model_.error().c_str(), static_cast<int>(model_.error().size()), &r, DT_WORDBREAK | DT_END_ELLIPSIS);
  } else if (model_.object()) {
    SetTextColor(dc, kReadOnly);
    const std::string hint = "Click a value to change it; grey values are read-only.";
    text(dc, 8, strip.top + 3, hint);
  }
  EndPaint(hwnd_, &ps);
}

LRESULT PropertyPanel::editProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  PropertyPanel* panel = panelOf(hwnd);
  if (!panel) return DefWindowProcA(hwnd, msg, wParam, lParam);
  WNDPROC base = panel->editBase_;
  switch (msg) {
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | CallWindowProcA(base, hwnd, msg, wParam, lParam);
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        // The field goes once this key is done with it.
        PostMessageA(panel->hwnd_, WM_ENDEDIT, wParam == VK_RETURN, 0);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == '\r' || wParam == 27) return 0;
      break;
    case WM_KILLFOCUS:
      if (!panel->ending_) PostMessageA(panel->hwnd_, WM_ENDEDIT, 1, 0);
      break;
    default:
      break;
  }
  return CallWindowProcA(base, hwnd, msg, wParam, lParam);
}

LRESULT PropertyPanel::proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  PropertyPanel* panel = panelOf(hwnd);
  if (!panel) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_PAINT:
      panel->paint();
      return 0;
    case WM_LBUTTONDOWN:
      panel->click(Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_MOUSEWHEEL:
      panel->scrollTo(panel->top_ - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 3);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_NEXT) panel->scrollTo(panel->top_ + panel->visibleRows());
      else if (wParam == VK_PRIOR) panel->scrollTo(panel->top_ - panel->visibleRows());
      return 0;
    case WM_ENDEDIT:
      panel->endEdit(wParam != 0);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace zxp::appkit
