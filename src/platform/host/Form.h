// Forms: the host's top-level window holding controls.
//
// A form sites its controls (Extender.h), gives them ambient properties, lays out the aligned
// ones along its edges, keeps the tab order and moves the focus on Tab and Shift+Tab, routes
// Alt+letter to the control that registered the letter, records property-changed notifications
// (so a designer knows the form was modified) and lets the application bind event handlers by
// name. Forms are loaded from and saved to form files (FormFile.h) through a class registry.
//
// The form honours what each control's class declares in the registry (Extender.h): controls
// nest only inside simple frames, align only when alignable, stay hidden while the form runs when
// invisible at run time; Enter goes to the default button and Escape to the cancel button (their
// AccessKeyPress with 13 or 27) unless the focus window keeps the key.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/RecentLog.h"
#include "platform/host/ClassRegistry.h"
#include "platform/host/Extender.h"
#include "platform/host/FormFile.h"

namespace zxp::host {

struct FormOptions {
  std::string name = "Form1";
  std::string caption;  // the name when empty
  int32_t clientWidth = 4800;   // twips
  int32_t clientHeight = 3600;  // twips
  bool userMode = true;         // False: the form is in a designer
  Point screenPos{0, 0};        // where the window goes, in pixels
  bool visible = true;
  // The border: 0 none (a borderless pop-up, for forms that draw their own title bar, such as
  // one skinned by ZorvaForm), 1 fixed single (caption, system menu, minimise box), 2 sizable.
  int16_t borderStyle = 1;
  // The classes the form knows: a control added without naming its class (add(control, ...))
  // takes its container flags from the entry for its class name here; none when absent.
  const ClassRegistry* classes = nullptr;
};

class Form : public Dispatchable {
 public:
  explicit Form(const FormOptions& options = {});
  ~Form() override;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  HWND hWnd() const { return hwnd_; }
  const std::string& Name() const { return name_; }
  std::string Caption() const;
  void setCaption(const std::string& New_Caption);
  int32_t ScaleWidth() const;   // client width in twips
  int32_t ScaleHeight() const;  // client height in twips
  void setClientSize(int32_t widthTwips, int32_t heightTwips);
  int16_t BorderStyle() const { return borderStyle_; }

  // ---- Unloading ----
  // Unloads the form: hides it, terminates and removes every control, destroys the window and
  // raises Unloaded (the owner may then free the Form). Call it from outside the form's own
  // message handling; controls use requestUnload. Closing the form's window (its close box,
  // Alt+F4, the system menu) unloads it too. When the last top-level form unloads while the
  // event loop runs, run() returns.
  void Unload();
  // Unloads the form once the message being dispatched now is done: a one-shot timer procedure
  // that the event loop calls with no window procedure of the form or its controls on the stack.
  void requestUnload();
  bool unloaded() const { return hwnd_ == 0; }
  Event<> Unloaded;

  // ---- Ambient properties the form gives its controls (each change is announced) ----
  bool UserMode() const { return userMode_; }
  void setUserMode(bool b);
  FontRef Font() const { return font_; }
  void setFont(FontRef f);
  OLE_COLOR BackColor() const { return backColor_; }
  void setBackColor(OLE_COLOR c);
  OLE_COLOR ForeColor() const { return foreColor_; }
  void setForeColor(OLE_COLOR c);

  // ---- Controls ----
  // Sites a control: the host calls attach, Initialize, then InitProperties for a new instance
  // (bag null) or ReadProperties(bag), then Resize, and shows it. The name must be unique, or
  // shared only by members of one control array with distinct indexes (HostError 5 otherwise).
  Extender& add(std::unique_ptr<ControlObject> control, const std::string& name, const ExtenderRecord& values,
                Extender* container = nullptr, PropertyBag* bag = nullptr);
  // The same through the class registry; HostError 5 for an unknown class.
  Extender& add(const ClassRegistry& registry, const std::string& className, const std::string& name,
                const ExtenderRecord& values, Extender* container = nullptr, PropertyBag* bag = nullptr);
  // The form's default and cancel buttons (Extender::Default, Cancel), nullptr when none.
  Extender* defaultButton() const;
  Extender* cancelButton() const;
  // What Enter (13) or Escape (27) at form level does: the default or cancel button, if there is
  // one that is visible and enabled, gets AccessKeyPress with the key. False when none took it.
  bool defaultKey(int16_t keyAscii);
  // Terminates and removes a control and the controls inside it.
  void remove(Extender& control);

  // The Controls collection: every control of the form, containers' contents included, in the
  // order they were added.
  const std::vector<Extender*>& Controls() const { return order_; }
  // The controls directly inside a container (nullptr: directly on the form).
  std::vector<Extender*> controlsIn(const Extender* container) const;
  // By name (and index, for control arrays); nullptr when absent.
  Extender* control(std::string_view name, int16_t index = -1) const;
  template <class T>
  T* controlAs(std::string_view name, int16_t index = -1) const {
    Extender* e = control(name, index);
    return e ? dynamic_cast<T*>(&e->object()) : nullptr;
  }

  // ---- Focus and keys ----
  // The controls that Tab visits, in tab-index order: tab stops that can take the focus and are
  // visible and enabled.
  std::vector<Extender*> tabOrder() const;
  // The control that has the focus (or contains the focus window), nullptr when none.
  Extender* ActiveControl() const;
  // Moves the focus to the next or previous control in the tab order, from `from` (or from the
  // active control), wrapping around.
  void moveFocus(bool forward, const Extender* from = nullptr);
  // What Alt+key does: the first control after the active one (in tab order, then the others)
  // whose access keys hold the key gets the focus if it can take it, then its AccessKeyPress.
  // False when no control has the key.
  bool accessKey(char key);

  // ---- Notifications and events ----
  struct PropertyChange {
    std::string control;  // the control's name, with "(index)" for control arrays
    std::string property;
  };
  // The latest changes reported by the controls (a long-lived form may see millions), oldest
  // first; total() counts all of them since the last clearChanges.
  const RecentLog<PropertyChange>& changes() const { return changes_; }
  bool modified() const { return !changes_.empty(); }
  void clearChanges() { changes_.clear(); }
  // Binds a handler to a control's event by names; arguments arrive by reference.
  Connection bindEvent(std::string_view controlName, std::string_view eventName, EventBase::VariantHandler h,
                       int16_t index = -1);

  // Late-bound property access on a control: its extender's properties first, then its own.
  Variant get(std::string_view controlName, std::string_view property, int16_t index = -1) const;
  void let(std::string_view controlName, std::string_view property, const Variant& value, int16_t index = -1);

  // ---- Files ----
  // Builds a form from a form file, creating its controls through the registry and letting each
  // read its property bag. Raises FormFileError with the line for malformed files, unknown
  // classes, duplicate names, controls inside a class that is not a container (no
  // OLEMISC_SIMPLEFRAME) and values a control cannot read.
  static std::unique_ptr<Form> load(std::string_view text, const ClassRegistry& registry, bool userMode = true,
                                    Point screenPos = {0, 0});
  // A property in the loaded file that its control (or the form) never read: a misspelt or
  // foreign key. Loading goes on without it; tools show these as warnings.
  struct UnknownKey {
    int line;
    std::string owner;  // the control's name, or "form <name>"
    std::string key;
  };
  const std::vector<UnknownKey>& unknownKeys() const { return unknownKeys_; }
  // Lets every control write its properties and returns the form file.
  std::string save() const;
  FormRecord record() const;

  const MemberTable& memberTable() const override;

  // ---- For extenders and the form's window ----
  void noteChange(const Extender& e, std::string_view property);
  void layout();                      // places the aligned controls
  // Puts `moved` at place `to` of the tab order (clamped to the end) and renumbers the places
  // between its old and new place.
  void renumberTabs(Extender& moved, int32_t to);
  AmbientProperties ambientFor(const Extender& e) const;
  void paintBackground();
  void clearDefaultButtons();
  void clearCancelButtons();

 private:
  void announce(std::string_view ambientName);
  Extender& addSited(std::unique_ptr<ControlObject> control, uint32_t miscStatus, const std::string& name,
                     const ExtenderRecord& values, Extender* container, PropertyBag* bag);
  void collectRecords(const Extender* container, std::vector<ControlRecord>& out) const;
  void noteUnread(const PropertyBag& bag, const std::string& owner);
  void loadControls(std::vector<ControlRecord>& records, Extender* container, const ClassRegistry& registry,
                    std::vector<std::pair<Extender*, int16_t>>& fileTabIndexes);
  void forget(Extender& control);
  void checkNameFree(const std::string& name, const std::optional<int16_t>& index, int line) const;
  void renumberFrom(size_t first);

  std::string name_;
  const ClassRegistry* classes_ = nullptr;
  HWND hwnd_ = 0;
  bool userMode_ = true;
  FontRef font_;
  OLE_COLOR backColor_ = vbButtonFace;
  OLE_COLOR foreColor_ = vbButtonText;
  std::vector<std::unique_ptr<Extender>> owned_;
  std::vector<Extender*> order_;  // the Controls collection, in the order of adding
  // The same controls by name (lower case), each list in the order of adding, and in tab order.
  // Loading, looking up and tearing down stay linear in the number of controls with them.
  std::unordered_map<std::string, std::vector<Extender*>> byName_;
  std::vector<Extender*> tabs_;
  bool loading_ = false;  // Form::load defers the layout of aligned controls to its end
  RecentLog<PropertyChange> changes_;
  std::vector<UnknownKey> unknownKeys_;
  HHOOK tabHook_ = 0;  // takes Tab and Shift+Tab for the tab order (Form.cpp, tabKeyHook)
  bool layingOut_ = false;
  bool relayout_ = false;
  int16_t borderStyle_ = 1;
  uintptr_t unloadTimer_ = 0;
};

}  // namespace zxp::host
