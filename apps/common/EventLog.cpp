#include "EventLog.h"

#include <algorithm>

#include "PaintHelpers.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Text.h"

namespace zxp::appkit {

namespace {

constexpr const char* kLogClass = "ZxpAppEventLog";
constexpr COLORREF kBack = RGB(255, 255, 255);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kNewest = RGB(0, 110, 0);

// The first MouseMove of a run stays in the log, later ones of the same control replace it, so
// that moving the mouse does not push everything else out of view.
bool sameMoveRun(const std::string& last, const std::string& line) {
  size_t dot = line.find(".MouseMove(");
  return dot != std::string::npos && last.compare(0, dot + 11, line, 0, dot + 11) == 0;
}

// "line (N times)": how often `line` has been said, 0 when `last` is not its repeat line.
int repeatCount(const std::string& last, const std::string& line) {
  const std::string_view tail = " times)";
  if (last.size() <= line.size() + 2 + tail.size() || last.compare(0, line.size(), line) != 0 ||
      last.compare(line.size(), 2, " (") != 0 || last.compare(last.size() - tail.size(), tail.size(), tail) != 0)
    return 0;
  const std::string n = last.substr(line.size() + 2, last.size() - line.size() - 2 - tail.size());
  if (n.empty() || n.find_first_not_of("0123456789") != std::string::npos || n.size() > 9) return 0;
  return std::stoi(n);
}

bool repeatOf(const std::string& last, const std::string& line) { return repeatCount(last, line) > 0; }

// An event a control raises by itself, periodically: its name (after the control's name and the
// dot, before any arguments) ends in "Timer".
bool periodicEvent(const std::string& line) {
  const size_t dot = line.find('.');
  if (dot == std::string::npos) return false;
  const size_t end = std::min(line.find('(', dot), line.size());
  const std::string_view name = std::string_view(line).substr(dot + 1, end - dot - 1);
  return name.size() >= 5 && name.substr(name.size() - 5) == "Timer";
}

}  // namespace

EventLog::EventLog(HWND parent, std::string title)
    : title_(std::move(title)),
      titleFont_(face("Tahoma", 8.25, true).create()),
      font_(face("DejaVu Sans Mono", 8).create()) {
  registerAppClass(kLogClass, proc);
  hwnd_ = CreateWindowExA(0, kLogClass, "Events", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, 0, 0, nullptr);
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

EventLog::~EventLog() {
  if (IsWindow(hwnd_)) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void EventLog::append(const std::string& said) {
  // Tabs (a list row's cells arrive tab-separated) are shown as \t: TextOut would draw them as
  // missing-glyph boxes.
  std::string line;
  for (char ch : said) line += ch == '\t' ? std::string("\\t") : std::string(1, ch);
  if (periodicEvent(line)) {
    // One counted line per periodic event, where it first appeared.
    for (auto it = lines_.rbegin(); it != lines_.rend(); ++it) {
      if (*it != line && !repeatOf(*it, line)) continue;
      const int times = *it == line ? 2 : repeatCount(*it, line) + 1;
      *it = line + " (" + std::to_string(times) + " times)";
      InvalidateRect(hwnd_, nullptr, FALSE);
      return;
    }
  }
  if (!lines_.empty() && sameMoveRun(lines_.back(), line)) {
    lines_.back() = line;
  } else if (!lines_.empty() && (lines_.back() == line || repeatOf(lines_.back(), line))) {
    // A line said again (a timer's event) counts up instead of filling the log.
    const int times = lines_.back() == line ? 2 : repeatCount(lines_.back(), line) + 1;
    lines_.back() = line + " (" + std::to_string(times) + " times)";
  } else {
    lines_.push_back(line);
  }
  while (lines_.size() > kKept) lines_.pop_front();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void EventLog::clear() {
  lines_.clear();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void EventLog::setTitle(std::string title) {
  title_ = std::move(title);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void EventLog::setAccent(COLORREF top, COLORREF bottom) {
  accentTop_ = top;
  accentBottom_ = bottom;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void EventLog::paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT client{};
  GetClientRect(hwnd_, &client);
  fillColour(dc, client, kBack);
  gradient(dc, Rect{0, 0, client.right, 20}, accentTop_, accentBottom_, true);
  SetBkMode(dc, TRANSPARENT);
  {
    Selection sf(dc, titleFont_.get());
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutA(dc, 8, 3, title_.c_str(), static_cast<int>(title_.size()));
  }
  Selection sf(dc, font_.get());
  size_t first = lines_.size() > static_cast<size_t>(kLines) ? lines_.size() - kLines : 0;
  int y = 22;
  for (size_t i = first; i < lines_.size(); ++i, y += kLineHeight) {
    SetTextColor(dc, i + 1 == lines_.size() ? kNewest : kText);
    TextOutA(dc, 12, y, lines_[i].c_str(), static_cast<int>(lines_[i].size()));
  }
  EndPaint(hwnd_, &ps);
}

LRESULT EventLog::proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* log = ui::windowObject<EventLog>(hwnd);
  if (log && msg == WM_PAINT) {
    log->paint();
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace zxp::appkit
