// The control base: what every control of the library does the same way.
//
// The host drives a control through the container contract (ControlObject: attach, Initialize,
// InitProperties or ReadProperties, Resize, WriteProperties, Terminate); the base runs the
// shared part of each step and calls the control's own handler, named as the control's events
// are named: UserControl_InitProperties, UserControl_ReadProperties(PropBag), ... Input on the
// control's surface comes to UserControl_MouseDown, UserControl_KeyPress, ...; their defaults
// raise the same-named event, so a control overrides only what it handles.
//
// Shared parts:
//   - Initialize loads "Shell32.dll" and creates the surface (UserControl) inside the container;
//     Terminate frees the library.
//   - The delegated properties Enabled, MousePointer, MouseIcon and Font live on the surface.
//   - Setters store, redraw the resting look where it shows the property, then tell the host
//     (letProperty). Sound-file properties are checked at design time (letSoundPath).
//   - The focus flag follows the focus; losing the focus also clears the pressed flag and
//     redraws the resting look. Tab and Shift+Tab move the focus through the form (the form
//     takes them before any control sees them).
//   - Hover tracking: a mouse movement starts the polling timer (trackHover); each tick asks
//     CursorOutsideWindow and, once the cursor has left, clears the hover mark, redraws the
//     resting look and stops the timer. The hover sound plays once per entry (PlayHoverSound),
//     marked by the text "OnOver" in the surface's Tag.
//   - Access keys come from the character after the first "&" of a caption; pressing one raises
//     Click unless the control handles UserControl_AccessKeyPress itself.
//   - About shows the library's about box.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "foundation/ControlTimer.h"
#include "foundation/SurfaceWindow.h"
#include "platform/host/ControlObject.h"
#include "platform/host/Event.h"
#include "platform/host/Extender.h"

namespace zxp::foundation {

// Whether a setter redraws the control's resting look at once.
enum class Redraw { None, Resting };

class ControlBase : public host::ControlObject, private SurfaceListener {
 public:
  ~ControlBase() override;

  // ---- The container contract (called by the host) ----
  void attach(host::Extender& extender) final;
  void Initialize() final;
  void InitProperties() final;
  void ReadProperties(host::PropertyBag& PropBag) final;
  void WriteProperties(host::PropertyBag& PropBag) final;
  void Resize() final;
  void Terminate() final;
  HWND hWnd() const final { return UserControl.hWnd(); }
  void AccessKeyPress(int16_t KeyAscii) final;
  void AmbientChanged(std::string_view PropertyName) final;

  // ---- Delegated properties (they live on the surface) ----
  bool Enabled() const { return UserControl.Enabled(); }
  void setEnabled(bool New_Enabled);
  int16_t MousePointer() const { return UserControl.MousePointer(); }
  void setMousePointer(int16_t New_MousePointer);
  host::PictureRef MouseIcon() const { return UserControl.MouseIcon(); }
  void setMouseIcon(host::PictureRef New_MouseIcon);
  host::FontRef Font() const { return UserControl.Font(); }
  void setFont(host::FontRef New_Font);
  // The font's attributes as properties of their own, for the controls that publish them: each
  // setter puts a copy of the font with the attribute changed on the surface, redraws the
  // resting look and reports the property's name.
  bool FontBold() const { return fontStyle(FontStyle::Bold); }
  void setFontBold(bool New_FontBold) { letFontStyle(FontStyle::Bold, New_FontBold, "FontBold"); }
  bool FontItalic() const { return fontStyle(FontStyle::Italic); }
  void setFontItalic(bool New_FontItalic) { letFontStyle(FontStyle::Italic, New_FontItalic, "FontItalic"); }
  bool FontUnderline() const { return fontStyle(FontStyle::Underline); }
  void setFontUnderline(bool New_FontUnderline) { letFontStyle(FontStyle::Underline, New_FontUnderline, "FontUnderline"); }
  bool FontStrikethru() const { return fontStyle(FontStyle::Strikethru); }
  void setFontStrikethru(bool New_FontStrikethru) {
    letFontStyle(FontStyle::Strikethru, New_FontStrikethru, "FontStrikethru");
  }

  // Shows the library's about box modally, unless it is already visible.
  void About();
  // Starts an OLE drag from the control's surface (OLEStartDrag ... OLECompleteDrag).
  void OLEDrag() { UserControl.OLEDrag(); }

  // ---- Events every control may raise (its member table lists its own, in its order) ----
  host::Event<> Click;
  host::Event<> DblClick;
  host::Event<int16_t, int16_t, float, float> MouseDown;
  host::Event<int16_t, int16_t, float, float> MouseUp;
  host::Event<int16_t, int16_t, float, float> MouseMove;
  host::Event<int16_t, int16_t> KeyDown;
  host::Event<int16_t, int16_t> KeyUp;
  host::Event<int16_t> KeyPress;
  // Drag-and-drop notifications, passed on unchanged from the surface's own: OLECompleteDrag
  // (Effect), OLEDragDrop (Data, Effect, Button, Shift, X, Y), OLEDragOver (the same and State),
  // OLEGiveFeedback (Effect, DefaultCursors), OLESetData (Data, DataFormat), OLEStartDrag (Data,
  // AllowedEffects). Data is the host's DataObject (platform/host/DataObject.h), held in a Variant
  // of kind Object. The surface raises them once its OLEDropMode is manual (a target) or a drag
  // starts from it (OLEDrag, or OLEDragMode automatic).
  host::Event<int32_t> OLECompleteDrag;
  host::Event<host::Variant, int32_t, int16_t, int16_t, float, float> OLEDragDrop;
  host::Event<host::Variant, int32_t, int16_t, int16_t, float, float, int16_t> OLEDragOver;
  host::Event<int32_t, bool> OLEGiveFeedback;
  host::Event<host::Variant, int16_t> OLESetData;
  host::Event<host::Variant, int32_t> OLEStartDrag;

  // ---- State a host or a test may look at ----
  bool focused() const { return focused_; }
  bool pressed() const { return pressed_; }
  host::Extender* extender() const { return extender_; }
  const SurfaceWindow& surface() const { return UserControl; }
  const ControlTimer& hoverTimer() const { return tmrHover; }
  const std::string& AccessKeys() const;
  // The character after the first "&" of a caption, whole (all its UTF-8 bytes); none without
  // "&" or when "&" is last.
  static std::optional<std::string> accessKeyOf(std::string_view caption);

 protected:
  // True while the host creates or loads the control (InitProperties, ReadProperties); the host
  // sizes it (Resize) right after.
  bool settingUp() const { return settingUp_; }

  // hoverTimerName: the name of the control's polling timer ("tmrHover"; "tmr1" in the button).
  explicit ControlBase(const char* hoverTimerName = "tmrHover");  // a literal (ControlTimer)

  // ---- The control's handlers (defaults: nothing, or raise the same-named event) ----
  virtual void UserControl_Initialize() {}
  virtual void UserControl_InitProperties() {}
  virtual void UserControl_ReadProperties(host::PropertyBag& PropBag) { (void)PropBag; }
  virtual void UserControl_WriteProperties(host::PropertyBag& PropBag) { (void)PropBag; }
  virtual void UserControl_Resize() {}
  virtual void UserControl_Paint() {}
  virtual void UserControl_Terminate() {}
  virtual void UserControl_Click() { Click.raise(); }
  virtual void UserControl_DblClick() { DblClick.raise(); }
  virtual void UserControl_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) {
    MouseDown.raise(Button, Shift, X, Y);
  }
  virtual void UserControl_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) {
    MouseUp.raise(Button, Shift, X, Y);
  }
  virtual void UserControl_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) {
    MouseMove.raise(Button, Shift, X, Y);
  }
  virtual void UserControl_KeyDown(int16_t& KeyCode, int16_t& Shift) { KeyDown.raise(KeyCode, Shift); }
  virtual void UserControl_KeyUp(int16_t& KeyCode, int16_t& Shift) { KeyUp.raise(KeyCode, Shift); }
  virtual void UserControl_KeyPress(int16_t& KeyAscii) { KeyPress.raise(KeyAscii); }
  // Called after the focus flag is set.
  virtual void UserControl_GotFocus() {}
  // Called after the focus and pressed flags are cleared; the default redraws the resting look.
  virtual void UserControl_LostFocus() { redrawResting(); }
  virtual void UserControl_AccessKeyPress(int16_t& KeyAscii) {
    (void)KeyAscii;
    Click.raise();
  }
  virtual void UserControl_AmbientChanged(std::string_view PropertyName) { (void)PropertyName; }
  // A tick of the polling timer; the default is the shared hover-tracking tick.
  virtual void tmrHover_Timer();

  // The control's resting look (what setters that change it redraw) and hover look.
  virtual void redrawResting() {}
  // Runs once InitProperties or ReadProperties has set every property: a control that leaves
  // its painting out while it is set up paints here.
  virtual void setUpDone() {}
  virtual void redrawHover() {}
  // True when UserControl_Resize always ends with a full redraw of the resting look.
  virtual bool resizeRedrawsResting() const { return false; }

  // ---- Helpers for the control's code ----
  // A setter changed the resting look: redraws it at once, or, while the control is set up,
  // once when every property is set (a form's load sets a dozen such properties per control, and
  // each redraw is a full one).
  void restingChanged();
  // Stores a property, redraws the resting look when asked, then notifies the host.
  template <class T, class U>
  void letProperty(T& field, U&& value, std::string_view name, Redraw redraw) {
    field = std::forward<U>(value);
    if (redraw == Redraw::Resting) restingChanged();
    PropertyChanged(name);
  }
  // A sound-file property: stored; at design time a non-empty path to a file that cannot be
  // opened shows "You have entered invalid file path. ..." and leaves the property empty. The
  // change is reported in every case.
  void letSoundPath(std::string& field, const std::string& New_Path, std::string_view name);
  // The host's property-changed notification.
  void PropertyChanged(std::string_view name);
  host::AmbientProperties Ambient() const;
  bool UserMode() const { return Ambient().UserMode; }
  // The background colour of the object the host reports as the control's parent (its form);
  // the ambient background colour for a control that has no parent form.
  OLE_COLOR ParentBackColor() const;


  // Transparent backgrounds: the window's shape becomes the pixels of `area` that the surface
  // shows in any colour but `key`, united with `whole` (the part that stays whole, such as a
  // check box's box; the helper deletes it). resetShape gives back the full rectangle, and does
  // nothing when no shape is set (removing one repaints what is behind the window).
  void setShapeWithoutColor(const RECT& area, COLORREF key, HRGN whole);
  void resetShape();

  void setPressed(bool b) { pressed_ = b; }
  // Step 1 of hover tracking: the hover look unless pressed, and the polling timer on.
  void trackHover();
  // Whether the hover tick keeps the hover look while the control has the focus.
  void setHoverStaysWhileFocused(bool b) { hoverStaysWhileFocused_ = b; }
  // Plays the sound once per entry of the cursor (the "OnOver" mark in the surface's Tag).
  void PlayHoverSound(const std::string& path);
  void ClearHoverMark() { UserControl.setTag(""); }
  bool hoverMarked() const { return UserControl.Tag() == kHoverMark; }
  // Plays a wave file asynchronously when the path is not empty and the file can be opened now.
  static bool PlaySoundFile(const std::string& path);
  // Whether the path is not empty and names a file that can be opened for reading now.
  static bool SoundFileExists(const std::string& path);

  // The keys whose Alt+key reach this control.
  void setAccessKeys(std::string keys);
  void setAccessKeyFromCaption(std::string_view caption);

  // A constituent child control (a control this one is built from, such as the spin box's arrow
  // pair): sited inside this control's window at `values` (twips), with this control's ambient
  // properties; created new (InitProperties), sized and shown. It lives until this control
  // terminates. Call from UserControl_Initialize or later.
  template <class T>
  T& addConstituent(const std::string& name, const host::ExtenderRecord& values) {
    auto child = std::make_unique<T>();
    static_cast<ControlBase*>(child.get())->setUpBy_ = this;
    return static_cast<T&>(siteConstituent(std::move(child), name, values));
  }

  // The control's own size, set through the host in twips.
  void setWidthTwips(int32_t twips);
  void setHeightTwips(int32_t twips);
  int32_t ScaleWidth() const { return UserControl.ScaleWidth(); }
  int32_t ScaleHeight() const { return UserControl.ScaleHeight(); }

  static constexpr const char* kHoverMark = "OnOver";

  SurfaceWindow UserControl;
  ControlTimer tmrHover;

 private:
  enum class FontStyle { Bold, Italic, Underline, Strikethru };
  bool fontStyle(FontStyle which) const;
  void letFontStyle(FontStyle which, bool value, std::string_view name);
  // After InitProperties or ReadProperties: the waiting constituents redrawn, the resting look
  // unless Resize draws it, then setUpDone.
  void finishSetUp();
  void connectSurface();
  // The surface's events, heard as its listener.
  void surfaceMouseDown(int16_t& b, int16_t& s, float& x, float& y) override { UserControl_MouseDown(b, s, x, y); }
  void surfaceMouseUp(int16_t& b, int16_t& s, float& x, float& y) override { UserControl_MouseUp(b, s, x, y); }
  void surfaceMouseMove(int16_t& b, int16_t& s, float& x, float& y) override { UserControl_MouseMove(b, s, x, y); }
  void surfaceClick() override { UserControl_Click(); }
  void surfaceDblClick() override { UserControl_DblClick(); }
  void surfaceKeyDown(int16_t& k, int16_t& s) override { UserControl_KeyDown(k, s); }
  void surfaceKeyUp(int16_t& k, int16_t& s) override { UserControl_KeyUp(k, s); }
  void surfaceKeyPress(int16_t& a) override { UserControl_KeyPress(a); }
  void surfaceGotFocus() override;
  void surfaceLostFocus() override;
  void surfaceResize() override;
  void surfacePaint() override { UserControl_Paint(); }
  // The six drag-and-drop notifications pass on unchanged (by reference, so the host's answers
  // reach the surface).
  void surfaceOLECompleteDrag(int32_t& e) override { OLECompleteDrag.raise(e); }
  void surfaceOLEDragDrop(host::Variant& d, int32_t& e, int16_t& b, int16_t& s, float& x, float& y) override {
    OLEDragDrop.raise(d, e, b, s, x, y);
  }
  void surfaceOLEDragOver(host::Variant& d, int32_t& e, int16_t& b, int16_t& s, float& x, float& y,
                          int16_t& st) override {
    OLEDragOver.raise(d, e, b, s, x, y, st);
  }
  void surfaceOLEGiveFeedback(int32_t& e, bool& c) override { OLEGiveFeedback.raise(e, c); }
  void surfaceOLESetData(host::Variant& d, int16_t& f) override { OLESetData.raise(d, f); }
  void surfaceOLEStartDrag(host::Variant& d, int32_t& a) override { OLEStartDrag.raise(d, a); }
  host::ControlObject& siteConstituent(std::unique_ptr<host::ControlObject> child, const std::string& name,
                                       const host::ExtenderRecord& values);

  host::Extender* extender_ = nullptr;
  HMODULE shell32_ = 0;
  bool focused_ = false;
  bool pressed_ = false;
  bool live_ = false;  // the host has sized the control: surface resizes reach UserControl_Resize
  // The host is creating or loading the control (InitProperties, ReadProperties): setters that
  // run then do not report property changes, which would mark a freshly loaded form modified.
  bool settingUp_ = false;
  bool restingPending_ = false;  // a setter asked for the resting look while the control was set up
  // The control this one is a constituent of: while that one is set up, this one's resting look
  // waits too (a text box's ReadProperties sets a dozen looks of its button).
  ControlBase* setUpBy_ = nullptr;
  bool hoverStaysWhileFocused_ = false;
  bool shaped_ = false;  // the window has a shape set by setShapeWithoutColor
  // What most controls never have (access keys, constituent children), made on first use.
  struct Rare {
    std::string accessKeys;
    std::vector<std::unique_ptr<host::Extender>> constituents;
  };
  std::unique_ptr<Rare> rare_;
};

}  // namespace zxp::foundation
