// The designer's model: the form being designed, the selection, the grid, the undo stack and the
// clipboard's form-file text. It draws nothing; the views (Designer.h) show it and turn the mouse
// and the keyboard into its operations, and tests drive it directly.
//
// The form is a real host form in design mode (ambient UserMode False), so every design-time
// behaviour of the controls happens for real: new controls run InitProperties with the display
// name the host gives them, an option button's Value clears its group, invisible-at-run-time
// classes show. Positions are twips; "form coordinates" are twips from the form's client origin,
// a control's own Left/Top are relative to its container (the form, a frame, a tab control).
//
// Undo and redo keep the form file's text before each step (and the selection): one step per
// gesture (a whole drag, one property set, one paste). Our choice: a step is a snapshot, not an
// inverse operation, so every kind of edit - the controls' own side effects included - undoes
// the same way, and undoing rebuilds the form from its text exactly as a load does.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/ClassRegistry.h"
#include "platform/host/Form.h"

namespace zxp::designer {

// What Align lines up: edges or centres, across the selection, on the first selected control.
enum class AlignTo : uint8_t { Lefts, Centres, Rights, Tops, Middles, Bottoms };

// The eight grab handles, clockwise from the top-left corner.
enum class Handle : uint8_t { None, TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left };

class Document {
 public:
  static constexpr int32_t kDefaultGrid = 120;  // twips: 8 pixels
  static constexpr int32_t kNewFormWidth = 7200;
  static constexpr int32_t kNewFormHeight = 5400;
  // The smallest control a drawn rectangle or a resize makes, in twips.
  static constexpr int32_t kMinSize = 120;

  explicit Document(const host::ClassRegistry& registry);
  ~Document();
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  // ---- The form and its file ----
  // An empty form named Form1, not modified, with no undo history.
  void newForm();
  // Loads a form file in design mode. A malformed file raises host::FormFileError (with its line)
  // and leaves the document as it was.
  void open(std::string_view text);
  // The form file. Unmodified since it was opened or saved, it is the very text opened or saved
  // (so saving without edits writes the same bytes); otherwise what the controls write now.
  std::string text() const;
  // After the text was written to disk: the document is not modified from here on.
  void markSaved();
  bool modified() const { return version_ != savedVersion_; }
  host::Form& form() const { return *form_; }
  // Where the form's window goes on the screen (and where it goes again after a rebuild).
  void setScreenPos(Point p) { screenPos_ = p; }
  // Called whenever the form was replaced by a new one (open, new, undo, redo): the views site
  // the new window. Extender pointers held from before are stale after it.
  std::function<void()> onRebuilt;
  // Called after every step that changed the document (edits, undo, redo).
  std::function<void()> onChanged;

  // ---- Grid ----
  int32_t grid() const { return grid_; }
  void setGrid(int32_t twips) { grid_ = twips < 15 ? 15 : twips; }
  bool snapping() const { return snap_; }
  void setSnapping(bool on) { snap_ = on; }
  bool gridShown() const { return gridShown_; }
  void setGridShown(bool on) { gridShown_ = on; }
  // A position rounded to the nearest grid line (unchanged when snapping is off).
  int32_t snap(int32_t twips) const;

  // ---- Geometry ----
  // A control's rectangle in form coordinates.
  Rect bounds(const host::Extender& e) const;
  // The topmost control under a point of the form (the innermost, when containers nest); controls
  // of hidden tab pages are not there. nullptr: the form itself.
  host::Extender* controlAt(Point formTwips) const;
  // The innermost container (a class that is a simple frame) whose rectangle holds the point,
  // leaving out `except` and what it holds; nullptr: the form.
  host::Extender* containerAt(Point formTwips, const host::Extender* except = nullptr) const;

  // ---- Selection ----
  const std::vector<host::Extender*>& selection() const { return selection_; }
  bool isSelected(const host::Extender* e) const;
  void select(host::Extender* e);   // just this one (nullptr: nothing)
  void toggle(host::Extender* e);   // Shift/Ctrl+click: in or out
  // Rubber band: every control whose rectangle meets the band (form coordinates), leaving out
  // the children of controls that are selected with them.
  void selectIn(Rect formTwips);
  void selectAll();
  // The selection without the controls whose container is also selected (what moves and what
  // is copied: a container takes its children along).
  std::vector<host::Extender*> topSelection() const;

  // ---- Edits: each is one undo step ----
  // Places a new control of a class at a rectangle of the form (snapped; at least kMinSize), in
  // the innermost container at its top-left corner, named as the host names controls
  // (ZorvaXPButton1, ZorvaXPButton2, ...), and selects it. HostError 5 for an unknown class.
  host::Extender& add(const std::string& className, Rect formTwips);
  // A name free in the form: the class name followed by the first number not in use.
  std::string freeName(const std::string& className) const;
  void removeSelection();
  // Moves or resizes the selection by a delta; snapping applies to the first selected control's
  // moved edges and the same delta goes to the others.
  void moveSelection(int32_t dx, int32_t dy);
  void resizeSelection(Handle h, int32_t dx, int32_t dy);
  // A property of the selection (or of the form) was set through the property panel: records
  // the step when the form's file changed.
  void propertyEdited(const std::string& what);
  // Lines the selection up on its first control's edge or centre (form coordinates).
  void align(AlignTo to);
  // Gives the selection the first control's width, height or both.
  void makeSameSize(bool width, bool height);
  // Spreads three or more controls so that the gaps between them are equal, the outermost two
  // staying where they are (across: left to right; else top to bottom).
  void spaceEvenly(bool across);
  // Puts the selected controls above (front) or below (back) their siblings: the z-order is the
  // order of the controls in their container, as the form file keeps it.
  void bringToFront();
  void sendToBack();
  // A click on a tab of a tab control (ZorvaXPHookTab) shows that tab's page, so that controls can
  // be placed on it: true (one step, "Show tab") when the point is on a tab other than the shown
  // one. The point is in form coordinates.
  bool showTabAt(Point formTwips);
  // Gives a control the place n in the tab order (the others renumber).
  void setTabIndex(host::Extender& e, int16_t n);

  // ---- Gestures: a drag is one step ----
  // Remembers the selection's rectangles; moveBy/resizeBy place them relative to those (so a
  // drag never accumulates rounding); endGesture records one step (and moves each moved control
  // into the container under its new top-left corner); cancelGesture puts everything back.
  void beginGesture();
  void moveBy(int32_t dx, int32_t dy);
  void resizeBy(Handle h, int32_t dx, int32_t dy);
  void endGesture(const std::string& what);
  void cancelGesture();
  bool inGesture() const { return gesture_; }

  // ---- Undo and redo ----
  bool canUndo() const { return !undo_.empty(); }
  bool canRedo() const { return !redo_.empty(); }
  // The name of the step that undo (redo) would take back ("Move", "Set Caption", ...).
  std::string undoName() const { return undo_.empty() ? std::string() : undo_.back().what; }
  std::string redoName() const { return redo_.empty() ? std::string() : redo_.back().what; }
  void undo();
  void redo();

  // ---- Clipboard: controls as form-file text ----
  // The selected controls (with what they contain) as a form file holding just them.
  std::string copySelection() const;
  // Copies, then deletes the selection (one step).
  std::string cutSelection();
  // Adds the controls of a form file's text to the form (in the selected container, or on the
  // form), renaming those whose names are taken and moving them one grid step when they would lie
  // exactly over the control they were copied from; selects them. A malformed text raises
  // host::FormFileError and changes nothing.
  std::vector<host::Extender*> paste(std::string_view text);

  // ---- Run mode ----
  // Runs the form: a new form built from the file's text with UserMode True, in the design
  // form's place; the design form is hidden, untouched. Stop drops the running form and shows
  // the design form again, as it was. The running form (nullptr when not running).
  host::Form* run();
  void stop();
  host::Form* running() const { return run_.get(); }

 private:
  struct Step {
    std::string what;
    std::string text;  // the form file before (undo) or after (redo) the step
    uint64_t version;
    std::vector<std::pair<std::string, int16_t>> selection;
  };
  std::vector<std::pair<std::string, int16_t>> selectionKeys() const;
  void restore(const Step& s);
  void rebuild(std::string_view text);
  // Records a step from current_ to the form as it is now, if it changed.
  bool record(const std::string& what);
  void changed();
  void adopt(std::unique_ptr<host::Form> f);
  host::Extender& addRecord(const host::ControlRecord& r, host::Extender* container, const std::string& name,
                            const host::ExtenderRecord& at);
  void reparent(host::Extender& e);
  void reorder(bool toFront);

  const host::ClassRegistry& registry_;
  std::unique_ptr<host::Form> form_;
  std::unique_ptr<host::Form> run_;
  Point screenPos_{0, 0};
  std::vector<host::Extender*> selection_;
  int32_t grid_ = kDefaultGrid;
  bool snap_ = true;
  bool gridShown_ = true;
  std::string current_;   // the form file after the last step
  std::string savedText_;  // what was opened or saved (empty: nothing yet)
  uint64_t version_ = 0, savedVersion_ = 0, nextVersion_ = 1;
  std::vector<Step> undo_, redo_;
  bool gesture_ = false;
  std::string gestureText_;
  std::vector<host::ExtenderRecord> gestureStart_;  // beside selection_
};

}  // namespace zxp::designer
