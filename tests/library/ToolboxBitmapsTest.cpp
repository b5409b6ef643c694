#include "library/ToolboxBitmaps.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "library/ClassTable.h"

namespace zxp::library {
namespace {

std::vector<uint32_t> pixels(const gfx::Surface& s) {
  std::vector<uint32_t> out;
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x) out.push_back(s.at(x, y));
  return out;
}

// Every resource is a 16 x 15 picture of its own (no two alike, none blank) on the toolbox grey,
// and every served control's toolbox bitmap is one of them.
TEST(ToolboxBitmaps, EachResourceIsADistinctPicture) {
  std::map<std::vector<uint32_t>, int> seen;
  for (int id : bitmapResources()) {
    auto s = bitmapResource(id);
    ASSERT_NE(s, nullptr) << id;
    EXPECT_EQ(std::tuple(s->width(), s->height()), std::tuple(16, 15));
    const std::vector<uint32_t> p = pixels(*s);
    int drawn = 0;
    for (uint32_t c : p) drawn += c != kToolboxBackground;
    EXPECT_GE(drawn, 12) << id;
    auto [it, fresh] = seen.emplace(p, id);
    EXPECT_TRUE(fresh) << id << " looks like " << it->second;
  }
  EXPECT_EQ(seen.size(), 23u);
  for (const host::ControlClass& c : classes().classes()) EXPECT_NE(bitmapResource(c.toolboxBitmap), nullptr) << c.name;
  EXPECT_EQ(std::tuple(bitmapResource(100), bitmapResource(30018)), std::tuple(nullptr, nullptr));
}

}  // namespace
}  // namespace zxp::library
