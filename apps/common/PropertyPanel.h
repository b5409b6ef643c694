// The property panel: a child window listing the selected object's properties (PropertyModel) in
// two aligned columns, name and value, under a header with the object's name. A click on a value
// edits it in place: Booleans flip at once; an enumeration offers its members' names in a menu;
// numbers, texts, colours, fonts ("name, size pt, bold") and pictures (an image file's path;
// nothing clears it) open an edit field over the value; the items of an indexed property
// ("TabCaption(1)", ...) edit alike; "(Custom)" calls onCustom (Enter or leaving the field sets
// it, Escape gives up). Colours show a swatch beside their
// value; a click on the swatch offers plain and system colours in a menu. What the object refuses shows in red at the bottom of the panel. The list scrolls with
// the wheel, Page Up and Page Down, and a click in the scroll track.
#pragma once

#include <functional>
#include <string>

#include "PropertyModel.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/ui/User.h"

namespace zxp::appkit {

class PropertyPanel {
 public:
  static constexpr int kHeaderHeight = 40;  // the object's name and the column titles
  static constexpr int kRowHeight = 19;
  static constexpr int kErrorHeight = 34;  // the error strip at the bottom
  static constexpr int kScrollWidth = 10;

  PropertyPanel(HWND parent, Rect where);
  ~PropertyPanel();
  PropertyPanel(const PropertyPanel&) = delete;
  PropertyPanel& operator=(const PropertyPanel&) = delete;

  HWND hWnd() const { return hwnd_; }
  PropertyModel& model() { return model_; }
  const PropertyModel& model() const { return model_; }

  // Shows an object's properties and its site's (nullptr: none), from the top of the list.
  void show(host::Dispatchable* object, std::string title, host::Dispatchable* site = nullptr);
  // Reads the values again and repaints (the object may have changed by itself).
  void refresh();
  // The header's gradient colours (the apps pass their skin's title colours).
  void setAccent(COLORREF top, COLORREF bottom);

  // Where a row's value cell is, in the panel's client area (empty when scrolled out of view).
  Rect valueRect(size_t row) const;
  // Starts editing a row as a click on its value does; false when the row cannot be edited.
  bool beginEdit(size_t row);
  HWND editWindow() const { return edit_; }
  // The swatch's menu of colours for a colour row (modal); true when one was chosen and set.
  bool chooseColour(size_t row);
  // The menu of an enumeration row's members, the current one checked (modal); true when one
  // was chosen and set.
  bool chooseMember(size_t row);
  // Ends the edit in progress: true sets the typed value, false gives it up.
  void endEdit(bool commit);
  int firstVisible() const { return top_; }
  void scrollTo(int firstRow);
  int visibleRows() const;
  int nameColumnWidth() const { return nameWidth_; }

  // Rows the host offers a browse box for ("..." at the value's right end; a click on it calls
  // onBrowse with the row), such as sound paths; the value can still be typed.
  std::function<bool(const PropertyRow&)> browsable;
  std::function<void(size_t row)> onBrowse;
  // Where a browsable row's browse box is (empty when it has none or is out of view).
  Rect browseRect(size_t row) const;
  // A click on the "(Custom)" row (PropertyModel::addCustomRow): the host opens the page.
  std::function<void()> onCustom;
  // Called after every successful edit (the shell logs it).
  std::function<void(const std::string& property, const std::string& value)> onEdited;

 private:
  static LRESULT proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT editProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void paint();
  void click(Point p);
  Rect listRect() const;

  HWND hwnd_ = 0;
  HWND edit_ = 0;
  WNDPROC editBase_ = nullptr;
  int editRow_ = -1;
  bool ending_ = false;
  PropertyModel model_;
  int top_ = 0;  // the first row shown
  int nameWidth_ = 150;
  COLORREF accentTop_ = RGB(207, 197, 176);
  COLORREF accentBottom_ = RGB(233, 146, 39);
  GdiObject font_;
  GdiObject bold_;
};

}  // namespace zxp::appkit
