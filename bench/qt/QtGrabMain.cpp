// zorvaxp-qtgrab FORM.ui --out PNG: the Qt side of the whole-process benchmark. Loads a Designer
// file with Qt's form loader and saves a grab of the form to PNG, on Qt's offscreen platform
// unless QT_QPA_PLATFORM names another; the counterpart of zorvaxp-render FORM --out PNG.
#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QUiLoader>
#include <QWidget>

#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
  if (argc != 4 || std::strcmp(argv[2], "--out") != 0) {
    std::fprintf(stderr, "usage: zorvaxp-qtgrab FORM.ui --out PNG\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "zorvaxp-qtgrab: cannot read %s\n", argv[1]);
    return 1;
  }
  QUiLoader loader;
  std::unique_ptr<QWidget> form(loader.load(&file));
  if (!form) {
    std::fprintf(stderr, "zorvaxp-qtgrab: %s: %s\n", argv[1], qPrintable(loader.errorString()));
    return 1;
  }
  if (!form->grab().save(QString::fromLocal8Bit(argv[3]), "PNG")) {
    std::fprintf(stderr, "zorvaxp-qtgrab: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
