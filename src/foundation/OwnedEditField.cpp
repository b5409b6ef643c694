#include "foundation/OwnedEditField.h"

#include <algorithm>

#include "platform/gfx/Font.h"
#include "platform/gfx/SysColors.h"

namespace zxp::foundation {

namespace {
constexpr const char* kOwnerProp = "ZorvaOwnedEditField";
}  // namespace

OwnedEditField::~OwnedEditField() { destroy(); }

bool OwnedEditField::create(HWND surface, DWORD style, int x, int y, EditHooks hooks) {
  destroy();
  field_ = CreateWindowExA(0, WC_EDITA, "", WS_CHILD | WS_VISIBLE | style, x, y, 1, 1, surface, 1, 0, nullptr);
  if (!field_) return false;
  surface_ = surface;
  SetEditHooks(field_, std::move(hooks));
  SetPropA(surface_, kOwnerProp, reinterpret_cast<uintptr_t>(this));
  surfaceDefault_ =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(surface_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&surfaceProc)));
  return true;
}

void OwnedEditField::destroy() {
  if (field_ && IsWindow(field_)) SetEditHooks(field_, EditHooks{});
  if (surface_ && IsWindow(surface_) && surfaceDefault_) {
    SetWindowLongPtrA(surface_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(surfaceDefault_));
    RemovePropA(surface_, kOwnerProp);
  }
  if (field_ && IsWindow(field_)) DestroyWindow(field_);
  field_ = 0;
  surface_ = 0;
  surfaceDefault_ = nullptr;
  font_.reset();
  brush_.reset();
}

LRESULT OwnedEditField::surfaceProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<OwnedEditField*>(GetPropA(hwnd, kOwnerProp));
  if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if ((msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORSTATIC) && static_cast<HWND>(lParam) == self->field_) {
    const HDC dc = static_cast<HDC>(wParam);
    SetTextColor(dc, translateColor(self->fore_));
    SetBkColor(dc, translateColor(self->back_));
    self->brush_.reset(CreateSolidBrush(translateColor(self->back_)));
    return static_cast<LRESULT>(self->brush_.get());
  }
  return CallWindowProcA(self->surfaceDefault_, hwnd, msg, wParam, lParam);
}

void OwnedEditField::setColors(OLE_COLOR fore, OLE_COLOR back) {
  fore_ = fore;
  back_ = back;
  if (field_) InvalidateRect(field_, nullptr, TRUE);
}

void OwnedEditField::setFont(const host::FontRef& font) {
  font_.reset(font ? font->create() : 0);
  if (field_) SendMessageA(field_, WM_SETFONT, static_cast<WPARAM>(font_.get()), TRUE);
}

void OwnedEditField::setAlignment(DWORD esAlign) {
  if (!field_) return;
  LONG style = GetWindowLongA(field_, GWL_STYLE) & ~static_cast<LONG>(ES_CENTER | ES_RIGHT);
  SetWindowLongA(field_, GWL_STYLE, style | static_cast<LONG>(esAlign & (ES_CENTER | ES_RIGHT)));
  InvalidateRect(field_, nullptr, TRUE);
}

void OwnedEditField::setReadOnly(bool readOnly) {
  if (field_) SendMessageA(field_, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void OwnedEditField::Move(int x, int y, int width, int height) {
  if (!field_) return;
  MoveWindow(field_, x, y, std::max(1, width), std::max(1, height), TRUE);
  InvalidateRect(field_, nullptr, TRUE);
}

std::string OwnedEditField::text() const {
  if (!field_) return {};
  const int n = std::max(0, GetWindowTextLengthA(field_));
  std::string t(static_cast<size_t>(n) + 1, '\0');
  GetWindowTextA(field_, t.data(), n + 1);
  t.resize(std::min(static_cast<size_t>(n), t.find('\0') == std::string::npos ? t.size() : t.find('\0')));
  return t;
}

void OwnedEditField::setText(const std::string& text) {
  if (field_) SetWindowTextA(field_, text.c_str());
}

int OwnedEditField::selStart() const {
  if (!field_) return 0;
  DWORD start = 0, end = 0;
  SendMessageA(field_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(start);
}

void OwnedEditField::select(int start, int end) {
  if (field_) SendMessageA(field_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

POINT OwnedEditField::toSurface(POINT inField) const {
  RECT r{};
  GetWindowRect(field_, &r);
  POINT p{r.left, r.top};
  ScreenToClient(surface_, &p);
  return POINT{inField.x + p.x, inField.y + p.y};
}

int16_t OwnedEditField::buttonOf(WPARAM keys) {
  return static_cast<int16_t>(((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) | ((keys & MK_MBUTTON) ? 4 : 0));
}

int16_t OwnedEditField::shiftOf(WPARAM keys) {
  return static_cast<int16_t>(((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0));
}

}  // namespace zxp::foundation
