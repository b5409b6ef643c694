// zorvaxp-designer's window: the form designer on the library's own platform and controls.
//
// One skinned main form (appkit::SkinShell, like the gallery) holding
//   - a command strip: New, Open, Recent (a menu of the last files opened or saved), Save, Save As
//     (Open, Save As: on the path typed in the file field, or with none typed through the
//     file picker), Undo,
//     Redo, Cut, Copy, Paste, Delete, Grid (show/hide), Tab order and Run/Stop;
//   - on the left the control list (appkit::Toolbox): a click takes a class as the tool, and a
//     rectangle drawn on the form then places one at that size; a double click places one at once;
//   - in the middle the design area with the form being designed (a design-mode host form,
//     Document.h) and, above it, the adorner: the grid dots, the eight grab handles of each
//     selected control, the rubber band and the rectangle being drawn;
//   - on the right the property panel (appkit::PropertyPanel) of the selected control or form;
//   - along the bottom the event log: what the running form raises, and what the designer did.
// The design form's window is disabled, so every click on it reaches the design area, which turns
// it into selection, moves, resizes and placing; the controls never see design-time mouse input.
// A right click opens the arranging menu (align edges and centres, same size, space evenly, bring
// to front, send to back, the clipboard, and the grid: snapping on or off, 4, 8 or 16 pixels). In tab-order mode each control shows its TabIndex
// in a box at its corner and clicks on controls give them the places 0, 1, 2, ... in order.
// Keys: arrows move the selection one grid step (Shift+arrows resize it, Ctrl+arrows move by a
// pixel), Delete deletes, Ctrl+A/Z/Y/X/C/V select all, undo, redo, cut, copy, paste, Ctrl+N/O/S
// new, open, save, F5 runs and Shift+F5 (or F5 again) stops, Escape drops the tool or a drag.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Document.h"
#include "common/EventLog.h"
#include "common/FilePicker.h"
#include "common/FontChooser.h"
#include "common/PropertyPanel.h"
#include "common/SkinShell.h"
#include "common/Toolbox.h"

namespace zxp::designer {

class Designer {
 public:
  static constexpr int kStripHeight = 30;
  static constexpr int kToolboxWidth = 176;
  static constexpr int kPanelWidth = 330;
  static constexpr int kHandle = 6;             // a grab handle's side, in pixels
  static constexpr Point kFormOffset{16, 16};   // where the form's window sits in the design area
  static constexpr COLORREF kHandleFill = RGB(0, 0, 128);      // the first selected control's handles
  static constexpr COLORREF kHandleOther = RGB(255, 255, 255);  // the others' (outlined)
  static constexpr COLORREF kHandleBorder = RGB(0, 0, 0);
  static constexpr COLORREF kGridDot = RGB(0, 0, 0);
  static constexpr COLORREF kBand = RGB(0, 0, 0);  // the rubber band and the rectangle being drawn
  static constexpr COLORREF kTabBack = RGB(0, 84, 166);  // tab-order mode: the number boxes
  static constexpr COLORREF kTabText = RGB(255, 255, 255);
  static constexpr Size kTabBox{22, 14};
  // The arranging menu's commands (its item identifiers).
  enum Arrange : int {
    arrangeLefts = 100, arrangeCentres, arrangeRights, arrangeTops, arrangeMiddles, arrangeBottoms, arrangeSameWidth,
    arrangeSameHeight, arrangeSameSize, arrangeSpaceAcross, arrangeSpaceDown, arrangeFront, arrangeBack,
    arrangeCut, arrangeCopy, arrangePaste, arrangeDelete, gridSnap, grid4, grid8, grid16
  };

  static constexpr size_t kRecentKept = 6;
  // The recent files are kept in the registry file at `registryPath` (the user's store in the
  // app); an empty path keeps them for this run only (tests).
  explicit Designer(std::string registryPath = {});
  ~Designer();
  Designer(const Designer&) = delete;
  Designer& operator=(const Designer&) = delete;

  Document& document() { return *doc_; }
  host::Form* mainForm() const { return shell_->form(); }
  appkit::SkinShell& shell() { return *shell_; }
  appkit::Toolbox& toolbox() { return *toolbox_; }
  appkit::PropertyPanel& panel() { return *panel_; }
  appkit::EventLog& log() { return *log_; }
  HWND designArea() const { return area_; }
  HWND adorner() const { return adorner_; }
  HWND pathField() const { return path_; }

  // ---- Files ----
  // Before the form is replaced (New, Open, Recent) with edits not saved, a message box asks
  // "Save changes to NAME?": Yes saves first (and a failed save keeps the form), No drops the
  // edits, Cancel keeps the form. True when the form may go.
  bool mayDiscard();
  // Closing the window asks the same (and stops a running form first): true when it may close.
  bool mayClose();
  // New empty form (the path field is cleared); false when kept (mayDiscard).
  bool newForm();
  // Opens a form file. On failure the log says why (with the line for a malformed file), and the
  // form and the path it will be saved to stay as they were (so do they when mayDiscard says no).
  // True when opened.
  bool open(const std::filesystem::path& file);
  // Saves to the current path (Save As when there is none). True when written.
  bool save();
  // Writes the form to a file, atomically, and makes it the current path.
  bool saveAs(const std::filesystem::path& file);
  const std::filesystem::path& path() const { return path_name_; }
  // The files last opened or saved, newest first.
  const std::vector<std::filesystem::path>& recentFiles() const { return recent_; }
  // Opens the Recent menu under its button (modal) and opens the file chosen; false when none.
  bool chooseRecent();

  // ---- Tools and commands ----
  // The class a drawn rectangle places (empty: the selection tool).
  void setTool(const std::string& className);
  const std::string& tool() const { return tool_; }
  // Places a control of a class at its default size, one grid step below the last one placed.
  void placeDefault(const std::string& className);
  void undo();
  void redo();
  void cut();
  void copy();
  void paste();
  void remove();
  void toggleGrid();
  // Tab-order mode: on (the next click gives place 0) or off.
  void setTabOrderMode(bool on);
  bool tabOrderMode() const { return tabMode_; }
  // Where a control's number box is in tab-order mode (design-area pixels).
  Rect tabBox(const host::Extender& e) const;
  // Runs one command of the arranging menu.
  void arrange(int command);
  // Opens the arranging menu at a point of the design area (modal); returns what was chosen.
  int arrangeMenu(Point areaPoint);
  // F5: runs the form in the design area (events go to the log); again (or stop()) stops.
  void run();
  void stop();
  bool running() const { return doc_->running() != nullptr; }
  // Handles a key as the designer's accelerators do; true when it was taken.
  bool key(UINT vk, bool shift, bool ctrl);

  // ---- The file picker (appkit::FilePicker) ----
  // Open and Save As with nothing typed in the path field (and Save of a form that has no file
  // yet) open the picker on form files (.zxf); what is chosen is opened or saved to. The property
  // panel's sound paths (properties named ...Sound...) and pictures have a browse box that opens
  // it on wave files or on the image files pictures load from, and sets the chosen path as typing
  // it would. The picker open now (nullptr: none).
  void browseForm(bool saving);
  bool browseFile(size_t row);
  appkit::FilePicker* picker() const { return picker_.get(); }
  // Font properties' browse box opens the font chooser on the row's font; what is chosen is set
  // as typing its text would. The chooser open now (nullptr: none).
  bool browseFont(size_t row);
  void setAsTyped(host::Dispatchable* object, const std::string& property, const std::string& text);
  appkit::FontChooser* fontChooser() const { return chooser_.get(); }

  // ---- The class's property page ("(Custom)" in the property panel) ----
  // Opens the page that the selected control's class names (through ISpecifyPropertyPages) in
  // a window of its own, with OK, Apply and Cancel; the page edits the control through its
  // component interfaces. False (and a line in the log) when the selection is not one control
  // whose class has a page.
  bool openPropertyPage();
  // The frame holding the page (a form with the buttons cmdOK, cmdApply, cmdCancel) and the
  // page's own window (its fields); nullptr and 0 when no page is open.
  host::Form* pageFrame() const;
  HWND pageWindow() const;
  // Apply: the page's changes go to the control as one undo step ("Apply Tab page"); false, with
  // the reason in the log and the page left open and dirty, when the control refuses a value.
  bool applyPropertyPage();
  // OK (apply, then close; a refused value keeps the page open) or Cancel (close).
  bool closePropertyPage(bool apply);

  // ---- Geometry, for the views and tests ----
  // Where the form's client area is, in the design area's client coordinates.
  Point formOrigin() const;
  // A control's rectangle in the design area's client pixels.
  Rect areaRect(const host::Extender& e) const;
  // The grab handle squares of a rectangle, in the order of Handle (TopLeft first).
  static Rect handleRect(const Rect& r, Handle h);
  // The handle of a selected control under a point of the design area (Handle::None: none).
  Handle handleAt(Point areaPoint, host::Extender** owner = nullptr) const;
  // Repaints the adorner and shows the selection in the property panel.
  void selectionChanged();

  // Named points of the window in screen pixels, for scripted sessions that drive the live app
  // from outside (tests/apps/designer/xsession.sh): "tool:<class>" (a control-list row),
  // "button:<name>" (the command strip), "path", "form" (the form's client origin), and
  // "property:<name>" for the rows the property panel shows now.
  std::vector<std::pair<std::string, Point>> landmarks() const;

  std::function<void()> onClosed;

 private:
  enum class Drag : uint8_t { None, Move, Size, Band, Place };
  struct PageHost;
  static LRESULT proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT keyHook(int code, WPARAM wParam, LPARAM lParam);
  void layout();
  void siteForm(HWND form);
  void placeAdorner();
  void paintAdorner();
  std::vector<Point> gridDots() const;  // design-area pixels
  Rect bandRect() const;
  HRGN adornerShape() const;
  void paintStrip();
  void mouseDown(Point p, bool shift);
  void mouseMove(Point p);
  void mouseUp(Point p);
  void command(int id);
  void say(const std::string& line);
  void updateTitle();
  void noteRecent(const std::filesystem::path& file);
  Point toTwips(Point areaPoint) const;

  std::unique_ptr<appkit::SkinShell> shell_;
  std::unique_ptr<Document> doc_;
  std::unique_ptr<appkit::Toolbox> toolbox_;
  std::unique_ptr<appkit::PropertyPanel> panel_;
  std::unique_ptr<appkit::EventLog> log_;
  HWND strip_ = 0;
  HWND area_ = 0;
  HWND adorner_ = 0;
  HWND path_ = 0;
  HHOOK keyHook_ = 0;
  std::filesystem::path path_name_;
  std::string registryPath_;
  std::vector<std::filesystem::path> recent_;
  std::string tool_;
  Drag drag_ = Drag::None;
  Handle dragHandle_ = Handle::None;
  Point dragFrom_{0, 0};  // design-area pixels
  Point dragTo_{0, 0};
  int placed_ = 0;
  bool tabMode_ = false;
  int16_t nextTab_ = 0;
  bool closing_ = false;
  std::unique_ptr<PageHost> page_;
  std::unique_ptr<appkit::FilePicker> picker_;
  std::function<void(const std::filesystem::path&)> picked_;  // what the chosen file is for
  std::unique_ptr<appkit::FontChooser> chooser_;
  std::function<void(const gfx::FontDesc&)> chosenFont_;  // what the chosen font is for
  void pickerDone();
};

}  // namespace zxp::designer
