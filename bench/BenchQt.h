// Qt's application object for benchmarks that measure Qt beside us (Qt 5 in zorvaxp-bench, Qt 6 in
// zorvaxp-qtbench: the include path of the program chooses).
#pragma once

#include <QApplication>

namespace zxp::bench {

// One application object for the process, on the offscreen platform unless one is chosen. It is
// never destroyed: Qt 6's own static objects outlive it and crash at exit once a window was shown.
inline QApplication& qtApplication() {
  static int argc = 1;
  static char name[] = "zorvaxp-bench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

}  // namespace zxp::bench
