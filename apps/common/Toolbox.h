// The control list the gallery and the designer share: one row per public class of the library's
// class table, with the class's 16 x 15 toolbox picture and its name. Classes marked present are
// in black, the others grey; one class can be highlighted (the gallery's selected control's, the
// designer's current tool). A click on a row calls onPick with its class, a double click
// onActivate (the designer places a control of that class).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/Surface.h"
#include "platform/ui/User.h"

namespace zxp::appkit {

class Toolbox {
 public:
  static constexpr int kHeaderHeight = 24;
  static constexpr int kRowHeight = 22;

  struct Item {
    std::string className;
    int bitmap = 0;                        // the toolbox bitmap's resource number
    std::shared_ptr<gfx::Surface> picture;  // nullptr when the library has none
  };

  Toolbox(HWND parent, Rect where);
  ~Toolbox();
  Toolbox(const Toolbox&) = delete;
  Toolbox& operator=(const Toolbox&) = delete;

  HWND hWnd() const { return hwnd_; }
  const std::vector<Item>& items() const { return items_; }
  // The row of a class (any case), or -1.
  int find(std::string_view className) const;
  Rect rowRect(size_t index) const;

  // The classes the current page holds (drawn black) and the highlighted one.
  void setPresent(std::vector<std::string> classNames);
  void setHighlighted(const std::string& className);
  const std::string& highlighted() const { return highlighted_; }
  void setAccent(COLORREF top, COLORREF bottom);

  std::function<void(const std::string& className)> onPick;
  std::function<void(const std::string& className)> onActivate;

 private:
  static LRESULT proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void paint();

  HWND hwnd_ = 0;
  std::vector<Item> items_;
  std::vector<GdiObject> bitmaps_;  // beside items_
  std::vector<std::string> present_;
  std::string highlighted_;
  COLORREF accentTop_ = RGB(207, 197, 176);
  COLORREF accentBottom_ = RGB(233, 146, 39);
  GdiObject font_;
  GdiObject bold_;
};

}  // namespace zxp::appkit
