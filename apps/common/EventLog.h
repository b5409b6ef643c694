// The event log the gallery and the designer share: a child window showing the newest lines of
// what the controls of a running form raise (host::traceEvents feeds it), under a title strip in
// the app's accent colours, the newest line in green.
//
// Lines are kept compact: a line said again right after itself counts up in place ("line (N
// times)"); so does an event a control raises on its own again and again (an event whose name
// ends in "Timer", as the bars' clock and hover timers raise), wherever its line is, so that what
// a click raises stays in view; later MouseMove lines of one control replace the run's last one.
#pragma once

#include <deque>
#include <string>

#include "platform/gfx/GdiRaii.h"
#include "platform/ui/User.h"

namespace zxp::appkit {

class EventLog {
 public:
  static constexpr int kLines = 7;
  static constexpr int kLineHeight = 15;
  static constexpr int kHeight = kLines * kLineHeight + 24;
  static constexpr size_t kKept = 200;

  EventLog(HWND parent, std::string title);
  ~EventLog();
  EventLog(const EventLog&) = delete;
  EventLog& operator=(const EventLog&) = delete;

  HWND hWnd() const { return hwnd_; }
  // The lines, oldest first (the newest kKept).
  const std::deque<std::string>& lines() const { return lines_; }
  void append(const std::string& line);
  void clear();
  void setTitle(std::string title);
  void setAccent(COLORREF top, COLORREF bottom);

 private:
  static LRESULT proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void paint();

  HWND hwnd_ = 0;
  std::string title_;
  std::deque<std::string> lines_;
  COLORREF accentTop_ = RGB(207, 197, 176);
  COLORREF accentBottom_ = RGB(233, 146, 39);
  GdiObject titleFont_;
  GdiObject font_;
};

}  // namespace zxp::appkit
