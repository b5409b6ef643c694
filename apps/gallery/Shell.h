// The live gallery: a row of page tabs along the top of the screen (the tab strip of a
// ZorvaXPHookTab, sited in the strip window, whose body the strip clips away), the current page in the
// middle (a live form, or a still page's picture) and the event log along the bottom, which
// shows every event the page's controls raise, newest last. It runs on whatever backend the
// window system has: the desktop's (SDL2) in the app, the headless one in tests and for
// screenshots. Ctrl+PgDn and Ctrl+PgUp go to the next and previous page from anywhere.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "Page.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/ui/User.h"

namespace zxp::bars {
class ZorvaXPHookTab;
}

namespace zxp::gallery {

class Shell {
 public:
  struct Entry {
    std::string title;
    std::shared_ptr<gfx::Surface> still;  // a still page's picture
    FormBuilder form;                     // or a live page's form
  };

  static constexpr int kTabHeight = 28;
  static constexpr int kLogLines = 7;
  static constexpr int kLogLineHeight = 15;
  static constexpr int kLogHeight = kLogLines * kLogLineHeight + 24;
  static constexpr size_t kLogKept = 200;

  // Builds the shell's windows over the whole screen and shows the first page.
  explicit Shell(std::vector<Entry> pages);
  ~Shell();
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;

  void select(size_t index);
  size_t selected() const { return current_; }
  // The current live page's form (nullptr for a still page, or when the form failed to load).
  host::Form* form() const { return form_.get(); }
  // The log's lines, oldest first (the newest kLogKept).
  const std::deque<std::string>& log() const { return log_; }
  void appendLog(const std::string& line);

  HWND tabWindow() const { return tabs_; }
  // The tab control whose tabs are the pages.
  bars::ZorvaXPHookTab* tabControl() const;
  HWND logWindow() const { return logWnd_; }
  HWND stillWindow() const { return still_; }
  // A tab's rectangle in the tab strip's client area.
  Rect tabRect(size_t index) const;
  // Where pages go on the screen.
  Rect pageArea() const;

 private:
  static LRESULT proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT keyHook(int code, WPARAM wParam, LPARAM lParam);
  void paintTabs();
  void paintLog();
  void paintStill();
  void showStill(std::shared_ptr<gfx::Surface> picture);

  std::vector<Entry> pages_;
  size_t current_ = static_cast<size_t>(-1);
  std::unique_ptr<host::Form> form_;
  std::deque<std::string> log_;
  std::shared_ptr<gfx::Surface> stillPicture_;
  Point stillOffset_{0, 0};  // where the picture sits in the still page's window
  GdiObject stillBitmap_;
  GdiObject tabFont_;
  GdiObject logFont_;
  HWND tabs_ = 0;
  std::unique_ptr<host::Extender> tabCtl_;  // the page tabs, sited in tabs_
  HWND logWnd_ = 0;
  HWND still_ = 0;
  HHOOK keyHook_ = 0;
};

}  // namespace zxp::gallery
