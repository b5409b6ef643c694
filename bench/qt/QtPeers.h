// Our forms as Qt Widgets forms, for benchmarks that measure the two toolkits on the same forms.
//
// One table maps each of our control classes to its nearest Qt widget. A loaded form of ours is
// turned into a tree of peers (class, name, geometry in pixels, text, state), and that one tree
// is written both as a Designer (.ui) file for Qt's form loader and built in code, so the .ui
// form and the code-built form always hold the same widgets in the same places.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace zxp::host {
class Form;
}

namespace zxp::bench::toolkit {

// The Qt widget standing for one of our controls.
struct Peer {
  std::string qtClass;  // "QPushButton", ...
  std::string name;
  int x = 0, y = 0, width = 0, height = 0;  // pixels, in the container
  std::string text;     // caption, title or text; empty for none
  bool enabled = true, visible = true;
  bool vertical = false;             // scroll bars
  int minimum = 0, maximum = 0, value = 0;  // progress and scroll bars (when maximum > minimum)
  int parts = 0;                     // tabs of a tab widget, columns of a table, buttons of a tool
                                     // bar, panels of a status bar
  std::vector<Peer> children;
};

struct PeerForm {
  std::string name;
  int width = 0, height = 0;  // the client area, pixels
  std::vector<Peer> controls;
  int count() const;          // peers, at every depth
};

// The Qt class for one of our classes: nullptr for a control with no window at run time (the
// image list), "" for a class the table does not know.
const char* qtClassFor(std::string_view ourClass);

// The peers of a loaded form's controls (with their final places, after alignment and
// automatic sizing). Throws std::runtime_error for a class the table does not know.
PeerForm peersOf(const host::Form& form);

// The form as a Designer file for QUiLoader.
std::string uiFile(const PeerForm& form);

// The same form built in code: a top-level widget the caller owns (not shown).
std::unique_ptr<QWidget> buildInCode(const PeerForm& form);

}  // namespace zxp::bench::toolkit
