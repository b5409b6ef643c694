// The README's example: the desktop it opens holds the whole window of the form it shows.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "platform/host/Form.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/User.h"

namespace zxp {
namespace {

TEST(Readme, TheExampleDesktopHoldsTheWholeForm) {
  std::ifstream in(std::string(ZXP_SOURCE_DIR) + "/README.md");
  std::ostringstream text;
  text << in.rdbuf();
  std::smatch m;
  const std::string readme = text.str();
  ASSERT_TRUE(std::regex_search(readme, m, std::regex(R"(SdlBackend::open\("[^"]*", \{(\d+), (\d+)\}\))")));
  const int width = std::stoi(m[1]), height = std::stoi(m[2]);
  ui::resetWindowSystem();
  {
    host::Form form;  // the example's form: default size, at the screen's top left corner
    RECT r{};
    GetWindowRect(form.hWnd(), &r);
    EXPECT_GE(r.left, 0);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.right, width);
    EXPECT_LE(r.bottom, height);
  }
  ui::resetWindowSystem();
}

}  // namespace
}  // namespace zxp
