// What the designer's window tests share: a fresh window system on a 1400 x 880 screen, a
// designer with recorded services, real input, and a scratch folder of the test's own.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "designer/Designer.h"
#include "platform/services/Recording.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TestInput.h"

namespace zxp::designer {

class DesignerFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::resetWindowSystem();
    ui::setScreenSize(Size{1400, 880});
    d = std::make_unique<Designer>();
    input.pump();
    dir = std::filesystem::temp_directory_path() /
          ("zxp-" + std::string(::testing::UnitTest::GetInstance()->current_test_suite()->name()) + "-" +
           std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
  }
  void TearDown() override {
    d.reset();
    ui::resetWindowSystem();
    std::filesystem::remove_all(dir);
  }

  services::RecordingServices services;
  std::unique_ptr<Designer> d;
  ui::TestInput input;
  std::filesystem::path dir;
};

}  // namespace zxp::designer
