// The gallery's pages: each control family registers one page from its own source file.
// A page builds its content on demand; headless runs render every page to PNG.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/Surface.h"

namespace zxp::gallery {

struct Page {
  std::string name;   // file-name friendly: "shapes", "text", "buttons", ...
  std::string title;  // shown on the page's tab
  int order = 0;      // pages are listed by this, then by name
  // Renders the page's still picture (used for snapshots before the page is interactive).
  std::function<std::shared_ptr<gfx::Surface>()> render;
};

std::vector<Page>& pages();

// Registers a page at static-initialisation time: `static RegisterPage reg{{...}};`
struct RegisterPage {
  explicit RegisterPage(Page p) { pages().push_back(std::move(p)); }
};

}  // namespace zxp::gallery
