// The file picker of the library's own controls: what it lists, how folders open, what OK takes
// and refuses, and its buttons.
#include <gtest/gtest.h>

#include <fstream>

#include "common/FilePicker.h"
#include "platform/services/Recording.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TestInput.h"

namespace zxp::appkit {
namespace {

namespace fs = std::filesystem;

class FilePickerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::resetWindowSystem();
    ui::setScreenSize(Size{1000, 700});
    dir = fs::temp_directory_path() / ("zxp-picker-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "forms" / "old");
    fs::create_directories(dir / "Beta");
    for (const char* f : {"b.zxf", "A.ZXF", "notes.txt", "forms/inner.zxf"}) std::ofstream(dir / f) << "x";
  }
  void TearDown() override {
    ui::resetWindowSystem();
    fs::remove_all(dir);
  }
  void press(FilePicker& p, const char* button) {
    input.moveTo(p.form().control(button)->object().hWnd(), Point{10, 10}).click();
    input.pump();
  }
  services::RecordingServices services;
  ui::TestInput input;
  fs::path dir;
};

TEST_F(FilePickerTest, ListsFoldersThenTheWantedFilesAndOpensFolders) {
  FilePicker p("Open a form", {".zxf"}, dir, false);
  EXPECT_EQ(p.entries(), (std::vector<std::string>{"[..]", "[Beta]", "[forms]", "A.ZXF", "b.zxf"}));
  EXPECT_EQ(p.status(), dir.string());
  p.activate(2);  // [forms]
  EXPECT_EQ(p.folder(), dir / "forms");
  EXPECT_EQ(p.entries(), (std::vector<std::string>{"[..]", "[old]", "inner.zxf"}));
  p.activate(0);  // [..]
  EXPECT_EQ(p.folder(), dir);
  EXPECT_FALSE(p.done());
  // A folder that cannot be listed leaves the list as it was and says why.
  p.openFolder(dir / "missing");
  EXPECT_EQ(p.folder(), dir);
  EXPECT_NE(p.status().find("Cannot open"), std::string::npos);
  // A double click on a file chooses it.
  int told = 0;
  p.onDone = [&] { ++told; };
  p.activate(4);
  EXPECT_TRUE(p.done());
  EXPECT_EQ(told, 1);
  EXPECT_EQ(p.result(), dir / "b.zxf");
}

TEST_F(FilePickerTest, OkTakesATypedPathAndRefusesWhatCannotBeOpenedOrSaved) {
  FilePicker open("Open a form", {".zxf"}, dir, false);
  EXPECT_FALSE(open.accept());  // nothing typed
  open.setName("missing.zxf");
  EXPECT_FALSE(open.accept());
  EXPECT_EQ(open.status(), "No such file: " + (dir / "missing.zxf").string());
  open.setName("forms");  // a folder typed opens it
  EXPECT_FALSE(open.accept());
  EXPECT_EQ(open.folder(), dir / "forms");
  open.setName((dir / "notes.txt").string());  // an absolute path; any file may be typed
  press(open, "cmdOK");
  EXPECT_TRUE(open.done());
  EXPECT_EQ(open.result(), dir / "notes.txt");

  FilePicker save("Save the form as", {".zxf"}, dir, true);
  save.setName("nowhere/new.zxf");
  EXPECT_FALSE(save.accept());
  EXPECT_EQ(save.status(), "No such folder: " + (dir / "nowhere").string());
  save.setName("new.zxf");
  EXPECT_TRUE(save.accept());
  EXPECT_EQ(save.result(), dir / "new.zxf");

  FilePicker cancelled("Open a form", {".zxf"}, dir, false);
  cancelled.setName("b.zxf");
  press(cancelled, "cmdCancel");
  EXPECT_TRUE(cancelled.done());
  EXPECT_FALSE(cancelled.result().has_value());
}

}  // namespace
}  // namespace zxp::appkit
