// The live gallery: one borderless form skinned by a ZorvaForm (its painted title strip, caption
// buttons acting on the real window, frame pieces and shadow), holding
//   - along the top, under the title strip: the page tabs (the tab strip of a ZorvaXPHookTab,
//     sited in a strip window that clips its body away) and the theme button, which offers the
//     seventeen themes of the skin in a menu;
//   - on the left the control list (Toolbox.h): every public class with its toolbox picture;
//   - in the middle the current page: a live form placed inside the gallery's form as a child
//     window, or a still page's picture;
//   - on the right the property panel (PropertyPanel.h) of the selected control;
//   - along the bottom the event log, which shows every event the page's controls raise.
// A click on a control of the page selects it (a ring marks it, the panel shows its properties);
// a click on the page's form itself selects the form. It runs on whatever backend the window
// system has: the desktop's (SDL2) in the app, the headless one in tests and for screenshots.
// Ctrl+PgDn and Ctrl+PgUp go to the next and previous page from anywhere.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Page.h"
#include "common/EventLog.h"
#include "common/PropertyPanel.h"
#include "common/SkinShell.h"
#include "common/Toolbox.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/ui/User.h"

namespace zxp::bars {
class ZorvaXPHookTab;
}
namespace zxp::formskin {
class ZorvaForm;
}

namespace zxp::gallery {

using appkit::EventLog;
using appkit::PropertyPanel;
using appkit::SkinShell;
using appkit::Toolbox;

class Shell {
 public:
  struct Entry {
    std::string title;
    std::shared_ptr<gfx::Surface> still;  // a still page's picture
    FormBuilder form;                     // or a live page's form
  };

  static constexpr int kTabHeight = 28;
  static constexpr int kLogHeight = EventLog::kHeight;
  static constexpr int kToolboxWidth = 176;
  static constexpr int kPanelWidth = 360;
  static constexpr int kPanelMinWidth = 236;
  static constexpr int kToolboxMinWidth = 164;
  // The page area's width that holds the widest example form (the dates page) with its margins.
  static constexpr int kPageWidth = 852;
  // The screen that holds the control list, the widest page and the whole property panel.
  static constexpr Size kWideScreen{1400, 880};
  // Room the desktop's own title bar and frame take around the gallery's window.
  static constexpr Size kDesktopFrame{16, 48};
  static constexpr Size kSmallestScreen{800, 600};
  static constexpr int kThemeButtonWidth = SkinShell::kThemeButtonWidth;
  static constexpr int kThemeCount = SkinShell::kThemeCount;

  // The gallery's screen (its desktop window's size) on a display whose usable area is `usable`:
  // kWideScreen where it fits, else as much of it as the display leaves after the desktop's
  // title bar and frame (never below kSmallestScreen). A narrower screen narrows the property
  // panel, then the control list, so that the page keeps its room.
  static Size screenFor(std::optional<Size> usable);
  struct Columns {
    int toolbox = kToolboxWidth;
    int panel = kPanelWidth;
  };
  // The control list's and the property panel's widths for a gallery form of client width w.
  static Columns columnsFor(int w);

  // Builds the gallery's form over the screen (a few pixels in, so that its shadow shows) and
  // shows the first page.
  explicit Shell(std::vector<Entry> pages);
  ~Shell();
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;

  void select(size_t index);
  size_t selected() const { return current_; }
  // The current live page's form (nullptr for a still page, or when the form failed to load).
  host::Form* form() const { return form_.get(); }
  // The gallery's own form and its skin.
  host::Form* mainForm() const { return main_ ? main_->form() : nullptr; }
  formskin::ZorvaForm* skin() const;
  // The log's lines, oldest first (the newest kLogKept). A line said again right after itself
  // counts up in place ("line (N times)"); so does an event a control raises on its own again
  // and again (an event whose name ends in "Timer", as the bars' clock and hover timers raise),
  // wherever its line is, so that what a click raises stays in view.
  const std::deque<std::string>& log() const { return log_->lines(); }
  void appendLog(const std::string& line);

  // ---- Themes ----
  int theme() const;
  // Applies a theme (1..17) to the skin through its member table, and the skin's colours to the
  // gallery's own headers.
  void setTheme(int theme);
  static const char* themeName(int theme) { return SkinShell::themeName(theme); }  // "" outside 1..17
  // Opens the theme menu under the theme button (modal; what is chosen is applied).
  void chooseTheme();

  // ---- Selection ----
  // Selects a control of the current page (nullptr: the page's form, or nothing on a still
  // page): the ring marks it and the panel shows its properties.
  void selectControl(host::Extender* control);
  host::Extender* selectedControl() const { return selectedControl_; }
  // Selects the first control of a class: on the current page if it has one, else on the first
  // page holding one (which is shown). False when no page holds the class.
  bool pickClass(const std::string& className);
  HWND selectionRing() const { return ring_; }

  HWND tabWindow() const { return tabs_; }
  // The tab control whose tabs are the pages.
  bars::ZorvaXPHookTab* tabControl() const;
  HWND logWindow() const { return log_->hWnd(); }
  HWND stillWindow() const { return still_; }
  HWND pageWindow() const { return pageHost_; }
  Toolbox& toolbox() const { return *toolbox_; }
  PropertyPanel& panel() const { return *panel_; }
  // A tab's rectangle in the tab strip's client area.
  Rect tabRect(size_t index) const;
  // Where pages go, in screen coordinates.
  Rect pageArea() const;

  // Called when the gallery's form closes (the app ends its loop).
  std::function<void()> onClosed;

 private:
  static LRESULT proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT keyHook(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT mouseHook(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT sizeHook(int code, WPARAM wParam, LPARAM lParam);
  void layout();
  void paintStill();
  void showStill(std::shared_ptr<gfx::Surface> picture);
  void dropPage();
  void placeRing();
  void applySkinColours();
  const std::vector<std::string>& classesOfPage(size_t index);

  std::vector<Entry> pages_;
  std::vector<std::optional<std::vector<std::string>>> pageClasses_;  // found when first needed
  size_t current_ = static_cast<size_t>(-1);
  std::unique_ptr<SkinShell> main_;
  std::unique_ptr<host::Form> form_;
  std::shared_ptr<gfx::Surface> stillPicture_;
  Point stillOffset_{0, 0};  // where the picture sits in the still page's window
  GdiObject stillBitmap_;
  HWND tabs_ = 0;
  std::unique_ptr<host::Extender> tabCtl_;  // the page tabs, sited in tabs_
  std::unique_ptr<EventLog> log_;
  HWND pageHost_ = 0;
  HWND still_ = 0;
  HWND ring_ = 0;
  std::unique_ptr<Toolbox> toolbox_;
  std::unique_ptr<PropertyPanel> panel_;
  host::Extender* selectedControl_ = nullptr;
  HHOOK keyHook_ = 0;
  HHOOK mouseHook_ = 0;
  HHOOK sizeHook_ = 0;
  bool closing_ = false;
};

}  // namespace zxp::gallery
