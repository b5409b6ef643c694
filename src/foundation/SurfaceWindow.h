// A drawing surface: a child window with its own persistent pixels and device context, scaled
// in pixels, as every control has one (its "UserControl" surface) and some controls own more as
// constituent picture surfaces (picHeader, picDropDown, ...).
//
// Drawing goes straight to hDC (no double buffering). The surface keeps the properties the
// platform applies for the control: BackColor (what Cls clears to; setting it clears), ForeColor
// (the DC's text colour), Font (selected into the DC), Enabled (the window takes no input when
// False), MousePointer/MouseIcon (the cursor over it), and a general-purpose Tag text. It reports
// the window's input as events with the host's arguments: Button (1 left, 2 right, 4 middle),
// Shift (1 Shift, 2 Ctrl, 4 Alt), X and Y in pixels; KeyCode with Shift; KeyAscii.
//
// OLE drag and drop: with OLEDropMode manual (1) the surface is a drop target and raises
// OLEDragOver (State 0 enter, 2 over, 1 leave) and OLEDragDrop; the Effect a handler leaves is
// the surface's answer (preset from the key state: Ctrl copy, Shift move, else move when
// allowed). OLEDrag() starts a drag: OLEStartDrag (AllowedEffects preset to copy and move; a
// handler setting 0 cancels), OLESetData when a target asks for a format declared without data,
// OLEGiveFeedback while it runs, OLECompleteDrag with the effect at the end. With OLEDragMode
// automatic (1) a drag starts when the pointer moves past the drag distance with the left button
// held after a press on the surface. Data is a host DataObject (platform/host/DataObject.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/gfx/Handles.h"
#include "platform/gfx/Types.h"
#include "platform/host/Event.h"
#include "platform/host/Variant.h"

namespace zxp::foundation {

// The host's Shift argument from the keyboard state now: 1 Shift, 2 Ctrl, 4 Alt.
int16_t shiftState();
// The host's Button argument from a mouse message's MK_ key bits: 1 left, 2 right, 4 middle.
int16_t buttonsOf(uintptr_t mk);

// The one owner of a surface (the control built on it) hears every event of the surface through
// these calls, before the handlers connected to the event run: a control needs no connection
// of its own per event, which a form of hundreds of controls would pay for in memory.
class SurfaceListener {
 public:
  virtual void surfaceMouseDown(int16_t&, int16_t&, float&, float&) {}
  virtual void surfaceMouseUp(int16_t&, int16_t&, float&, float&) {}
  virtual void surfaceMouseMove(int16_t&, int16_t&, float&, float&) {}
  virtual void surfaceClick() {}
  virtual void surfaceDblClick() {}
  virtual void surfaceKeyDown(int16_t&, int16_t&) {}
  virtual void surfaceKeyUp(int16_t&, int16_t&) {}
  virtual void surfaceKeyPress(int16_t&) {}
  virtual void surfaceGotFocus() {}
  virtual void surfaceLostFocus() {}
  virtual void surfaceResize() {}
  virtual void surfacePaint() {}
  virtual void surfaceOLECompleteDrag(int32_t&) {}
  virtual void surfaceOLEDragDrop(host::Variant&, int32_t&, int16_t&, int16_t&, float&, float&) {}
  virtual void surfaceOLEDragOver(host::Variant&, int32_t&, int16_t&, int16_t&, float&, float&, int16_t&) {}
  virtual void surfaceOLEGiveFeedback(int32_t&, bool&) {}
  virtual void surfaceOLESetData(host::Variant&, int16_t&) {}
  virtual void surfaceOLEStartDrag(host::Variant&, int32_t&) {}

 protected:
  ~SurfaceListener() = default;
};

class SurfaceWindow {
 public:
  SurfaceWindow() = default;
  ~SurfaceWindow();
  SurfaceWindow(const SurfaceWindow&) = delete;
  SurfaceWindow& operator=(const SurfaceWindow&) = delete;

  // Creates the window as a hidden child of parent at r (pixels) and clears it to BackColor.
  // False when the window cannot be created.
  bool create(HWND parent, Rect r);
  // Creates the window as a hidden top-level pop-up owned by `owner` at r (screen pixels),
  // topmost and without a task-bar entry, for windows that must show outside their control
  // (a self-drawn tool tip). False when the window cannot be created.
  bool createPopup(HWND owner, Rect r);
  void destroy();
  bool exists() const { return hwnd_ != 0; }

  HWND hWnd() const { return hwnd_; }
  HDC hDC() const { return hdc_; }
  int32_t ScaleWidth() const;   // client width in pixels
  int32_t ScaleHeight() const;  // client height in pixels
  // Places the window in its parent's client area (pixels).
  void Move(int32_t x, int32_t y, int32_t width, int32_t height);
  bool Visible() const;
  void setVisible(bool b);

  OLE_COLOR BackColor() const { return backColor_; }
  void setBackColor(OLE_COLOR c);  // and clears the surface to it
  OLE_COLOR ForeColor() const { return foreColor_; }
  void setForeColor(OLE_COLOR c);
  // Clears the whole surface to BackColor.
  void Cls();
  const std::string& Tag() const;
  void setTag(std::string t);

  bool Enabled() const;
  void setEnabled(bool b);
  int16_t MousePointer() const { return mousePointer_; }
  void setMousePointer(int16_t p);
  host::PictureRef MouseIcon() const { return mouseIcon_; }
  void setMouseIcon(host::PictureRef icon);
  host::FontRef Font() const { return font_; }
  void setFont(host::FontRef f);

  int16_t OLEDragMode() const { return oleDragMode_; }
  void setOLEDragMode(int16_t m) { oleDragMode_ = m; }
  int16_t OLEDropMode() const { return oleDropMode_; }
  // Registers the surface as a drop target (1) or revokes it (0); other values are stored and
  // act as none.
  void setOLEDropMode(int16_t m);
  // Starts an OLE drag from the surface (runs until the drop or cancel).
  void OLEDrag();

  // Whether a click gives the surface the focus.
  void setTakesFocusOnClick(bool b) { takesFocus_ = b; }
  bool hasFocus() const;

  // The owner that hears each event before the handlers connected to it (see SurfaceListener);
  // null for none. The listener must outlive the surface or be cleared first.
  void setListener(SurfaceListener* l) { listener_ = l; }

  host::Event<int16_t, int16_t, float, float> MouseDown, MouseUp, MouseMove;
  host::Event<> Click, DblClick;
  host::Event<int16_t, int16_t> KeyDown, KeyUp;
  host::Event<int16_t> KeyPress;
  host::Event<> GotFocus, LostFocus, Resize, Paint;
  host::Event<int32_t> OLECompleteDrag;
  host::Event<host::Variant, int32_t, int16_t, int16_t, float, float> OLEDragDrop;
  host::Event<host::Variant, int32_t, int16_t, int16_t, float, float, int16_t> OLEDragOver;
  host::Event<int32_t, bool> OLEGiveFeedback;
  host::Event<host::Variant, int16_t> OLESetData;
  host::Event<host::Variant, int32_t> OLEStartDrag;

 private:
  friend struct SurfaceProc;
  friend struct SurfaceDropTarget;
  void applyCursor();
  void registerDropTarget();
  int64_t handle(unsigned msg, uintptr_t wParam, intptr_t lParam, bool& handled);
  // create and createPopup: the window with the given styles.
  bool createWindow(HWND parent, Rect r, DWORD style, DWORD exStyle);

  // Ordered by size, so that a surface (one per control) carries no padding.
  HWND hwnd_ = 0;
  HDC hdc_ = 0;
  HFONT hfont_ = 0;  // shared with the other surfaces showing font_
  OLE_COLOR backColor_ = 0x8000000F;  // the button-face system colour
  OLE_COLOR foreColor_ = 0x80000012;  // the button-text system colour
  int buttonsDown_ = 0;       // the Button bits of presses not yet released
  int16_t mousePointer_ = 0;
  int16_t oleDragMode_ = 0;
  int16_t oleDropMode_ = 0;
  bool takesFocus_ = true;
  bool leftPressHere_ = false;  // a left press began here, so its release is a click
  Point pressAt_{0, 0};  // where the left press began (automatic drags)
  std::unique_ptr<std::string> tag_;  // made when first set: most surfaces never have one
  host::PictureRef mouseIcon_;
  host::FontRef font_;
  SurfaceListener* listener_ = nullptr;

  // Tells the listener, then raises the event.
  template <class... Args>
  void notify(void (SurfaceListener::*heard)(Args&...), const host::Event<Args...>& event, Args&... args) {
    if (listener_) (listener_->*heard)(args...);
    event.raise(args...);
  }
};

}  // namespace zxp::foundation
