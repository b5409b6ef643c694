// OwnedEditField: a control's constituent edit field (the platform's EDIT class) and what every
// owner does with one the same way: it creates the field as a child of the control's surface,
// answers the field's colour request (WM_CTLCOLOREDIT / WM_CTLCOLORSTATIC) in the surface with the
// owner's current text and background colours, puts the control's font on it, and reads and
// writes its text. The owner sees the field's keys, mouse and notifications through EditHooks.
//
// The surface's window procedure is subclassed while the field exists and restored by destroy(),
// which the owner calls when it terminates (the destructor does it too).
#pragma once

#include <functional>
#include <string>

#include "platform/gfx/GdiRaii.h"
#include "platform/host/Variant.h"
#include "platform/ui/Edit.h"
#include "platform/ui/User.h"

namespace zxp::foundation {

class OwnedEditField {
 public:
  OwnedEditField() = default;
  ~OwnedEditField();
  OwnedEditField(const OwnedEditField&) = delete;
  OwnedEditField& operator=(const OwnedEditField&) = delete;

  // Creates the field (style: WS_CHILD | WS_VISIBLE | `style`) at (x, y) in `surface`, installs
  // `hooks` and subclasses the surface for the colour request. False when it cannot.
  bool create(HWND surface, DWORD style, int x, int y, EditHooks hooks);
  void destroy();
  HWND hWnd() const { return field_; }
  operator HWND() const { return field_; }

  // The colours the field is painted with (OLE colours, system colours allowed); repaints.
  void setColors(OLE_COLOR fore, OLE_COLOR back);
  void setFont(const host::FontRef& font);
  // ES_LEFT, ES_RIGHT or ES_CENTER.
  void setAlignment(DWORD esAlign);
  void setReadOnly(bool readOnly);
  void Move(int x, int y, int width, int height);

  std::string text() const;
  void setText(const std::string& text);
  // The caret position (start of the selection) and the selection.
  int selStart() const;
  void select(int start, int end);

  // A position in the field's client area as a position in the owner's surface.
  POINT toSurface(POINT inField) const;
  // The host's Button (1 left, 2 right, 4 middle) and Shift (1 Shift, 2 Ctrl) arguments from a
  // mouse message's key flags.
  static int16_t buttonOf(WPARAM keys);
  static int16_t shiftOf(WPARAM keys);

 private:
  static LRESULT surfaceProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  HWND surface_ = 0;
  HWND field_ = 0;
  WNDPROC surfaceDefault_ = nullptr;
  OLE_COLOR fore_ = 0x80000008, back_ = 0x80000005;
  GdiObject font_;
  GdiObject brush_;
};

}  // namespace zxp::foundation
