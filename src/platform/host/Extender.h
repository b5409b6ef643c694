// The extender: the host's side of one sited control. It holds what the container keeps about a
// control rather than the control itself (name, control-array index, position and size in twips,
// alignment, tab stop and tab index, visibility, its container), places the control's window
// accordingly, and is the control's way to its host: ambient properties, the property-changed
// notification, access keys, focus moves and its own size.
//
// Positions and sizes are twips (15 per pixel) relative to the container's client area; the
// window sits at the whole pixels they give.
//
// The control's class declares to the container what it may do, through its OLE
// miscellaneous-status bits (MiscStatus): only a class that acts like a button may be the form's
// Default or Cancel button, only an alignable class may take an Align other than none, only a
// simple frame may contain other controls, and a class invisible at run time never shows its
// window while the form runs (a designer shows it).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/host/ControlObject.h"
#include "platform/host/FormFile.h"

namespace zxp::host {

class Form;

class Extender : public Dispatchable {
 public:
  // Sites a control: on a form (form set; container null for the form itself) or as a
  // constituent child inside another control's window (form null, parentWindow given,
  // ambientSource: the parent's extender, whose ambient properties it shares).
  Extender(std::unique_ptr<ControlObject> control, std::string name, const ExtenderRecord& values, Form* form,
           Extender* container, HWND parentWindow = 0, Extender* ambientSource = nullptr);
  ~Extender() override;
  Extender(const Extender&) = delete;
  Extender& operator=(const Extender&) = delete;

  ControlObject& object() const { return *control_; }
  template <class T>
  T& as() const {
    return dynamic_cast<T&>(*control_);
  }

  // ---- Extender properties ----
  const std::string& Name() const { return name_; }
  // The control-array index, or -1 for a control that is not in an array.
  int16_t Index() const { return index_.value_or(-1); }
  bool inArray() const { return index_.has_value(); }
  int32_t Left() const { return values_.left; }
  int32_t Top() const { return values_.top; }
  int32_t Width() const { return values_.width; }
  int32_t Height() const { return values_.height; }
  void setLeft(int32_t twips);
  void setTop(int32_t twips);
  void setWidth(int32_t twips);
  void setHeight(int32_t twips);
  void Move(int32_t left, int32_t top, int32_t width, int32_t height);
  host::Align Align() const { return values_.align; }
  void setAlign(host::Align a);
  bool TabStop() const { return values_.tabStop; }
  void setTabStop(bool b) { values_.tabStop = b; }
  // The place in the form's tab order as the 16-bit TabIndex property shows it: a form keeps a
  // 32-bit order (tabPosition), so that more than 32 767 controls never wrap to a negative index;
  // places beyond 32 767 read as 32 767.
  int16_t TabIndex() const { return values_.tabIndex; }
  // Takes the place n in its form's tab order; the others move up or down to keep 0..N-1.
  void setTabIndex(int16_t n);
  // The place in the form's tab order, 0..N-1 (-1 for a control not on a form).
  int32_t tabPosition() const { return tabPosition_; }
  bool Visible() const { return values_.visible; }
  void setVisible(bool b);
  // The form's default button (Enter) and cancel button (Escape): at most one of each per form;
  // setting one clears the others. Error 438 for a class that does not act like a button.
  bool Default() const { return values_.defaultButton; }
  void setDefault(bool b);
  bool Cancel() const { return values_.cancelButton; }
  void setCancel(bool b);
  // The control that contains this one (a frame, a tab control), or nullptr for the form.
  Extender* Container() const { return container_; }
  void setContainer(Extender* container);
  Form* Parent() const { return form_; }

  const MemberTable& memberTable() const override;

  // ---- What the control's class declares (OLEMISC_* bits, from the class registry) ----
  uint32_t MiscStatus() const { return miscStatus_; }
  bool hasMiscStatus(uint32_t bits) const { return (miscStatus_ & bits) == bits; }
  // Only for the form, before the control is attached.
  void setMiscStatus(uint32_t bits) { miscStatus_ = bits; }
  // Whether the window shows now: Visible (and not invisible at run time) while the form runs,
  // always in a designer.
  bool shows() const;
  // Shows or hides the window as shows() says.
  void applyVisibility();

  // ---- The control's way to its host ----
  AmbientProperties Ambient() const;
  // The property-changed notification: the designer marks the form modified.
  void PropertyChanged(std::string_view propertyName);
  // The characters whose Alt+key go to this control (case is ignored).
  void setAccessKeys(std::string keys) { accessKeys_ = std::move(keys); }
  const std::string& AccessKeys() const { return accessKeys_; }
  // Moves the focus to the next (or previous) control in the form's tab order (Tab, Shift+Tab).
  void moveFocus(bool forward);
  // The window that the control's window belongs in.
  HWND containerWindow() const;
  // The window's rectangle in the container's client area, in pixels.
  Rect pixelRect() const;
  // Puts the control's window where the extender says.
  void place();

  ExtenderRecord record() const;
  // Only for the form: sets the rectangle and places the window without a new layout.
  void placeAt(int32_t left, int32_t top, int32_t width, int32_t height);
  // Only for the form's tab-order bookkeeping and its one default and cancel button.
  void setTabPositionRaw(int32_t n) {
    tabPosition_ = n;
    values_.tabIndex = static_cast<int16_t>(n < 0 ? -1 : (n > INT16_MAX ? INT16_MAX : n));
  }
  void clearDefaultRaw() { values_.defaultButton = false; }
  void clearCancelRaw() { values_.cancelButton = false; }

 private:
  std::unique_ptr<ControlObject> control_;
  std::string name_;
  std::optional<int16_t> index_;
  ExtenderRecord values_;
  Form* form_;
  Extender* container_;
  HWND parentWindow_;
  Extender* ambientSource_;
  std::string accessKeys_;
  int32_t tabPosition_ = -1;
  uint32_t miscStatus_ = 0;
};

}  // namespace zxp::host
