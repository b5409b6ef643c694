// Gallery page "edit": a single-line and a multi-line edit field with text and a selection,
// framed the way the text box frames its field. The page's windows are built on a host window
// given by the caller, so the still renderer and the live gallery share them.
#pragma once

#include <memory>

#include "platform/gfx/GdiRaii.h"
#include "platform/ui/User.h"

namespace zxp::gallery {

class EditPage {
 public:
  // Builds the page as a child panel of `host` filling `area` (host client coordinates).
  EditPage(HWND host, Rect area);
  ~EditPage();  // destroys the panel and the fields with it
  EditPage(const EditPage&) = delete;
  EditPage& operator=(const EditPage&) = delete;

  HWND panel() const { return panel_; }
  HWND singleLine() const { return single_; }
  HWND multiLine() const { return multi_; }

 private:
  static LRESULT panelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void paintPanel();

  GdiObject fieldFont_;
  GdiObject labelFont_;
  GdiObject fieldBrush_;
  GdiObject focusBrush_;
  HWND panel_ = 0;
  HWND single_ = 0;
  HWND multi_ = 0;
};

}  // namespace zxp::gallery
