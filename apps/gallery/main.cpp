// zorvaxp-gallery: shows every page of the gallery. Until the window system and the controls
// exist, each page is a still picture, written as out/gallery-<page>.png.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "Page.h"
#include "platform/gfx/Png.h"

namespace zxp::gallery {
std::vector<Page>& pages() {
  static std::vector<Page> list;
  return list;
}
}  // namespace zxp::gallery

int main(int argc, char** argv) {
  using namespace zxp::gallery;
  std::filesystem::path outDir = argc > 1 ? argv[1] : "out";
  std::filesystem::create_directories(outDir);
  auto& list = pages();
  std::sort(list.begin(), list.end(), [](const Page& a, const Page& b) {
    return a.order != b.order ? a.order < b.order : a.name < b.name;
  });
  int failures = 0;
  for (const auto& page : list) {
    auto surface = page.render();
    auto path = outDir / ("gallery-" + page.name + ".png");
    if (!surface || !zxp::gfx::writePng(*surface, path.string())) {
      std::fprintf(stderr, "gallery: could not render page %s\n", page.name.c_str());
      ++failures;
      continue;
    }
    std::printf("%s\n", std::filesystem::absolute(path).c_str());
  }
  return failures == 0 ? 0 : 1;
}
