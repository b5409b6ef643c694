// The gallery's pages: each control family registers one page from its own source file.
//
// A page is either live or still:
//   - live: a function that builds a host form at a screen position (most simply a form file's
//     text loaded with the library's classes: formFilePage below). The live gallery shows the
//     form itself, real input goes to its controls and every event they raise is logged; headless,
//     the form is drawn to a PNG.
//   - still: a function that renders a picture (pages that show the drawing layer itself).
//
//   static RegisterPage reg{formFilePage("buttons", "Buttons", 10, exampleForm("buttons"))};
//   static RegisterPage reg{stillPage("shapes", "Shapes", 10, renderShapes)};
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/Surface.h"
#include "platform/host/Form.h"

namespace zxp::gallery {

using FormBuilder = std::function<std::unique_ptr<host::Form>(Point screenPos)>;

struct Page {
  std::string name;   // file-name friendly: "shapes", "text", "buttons", ...
  std::string title;  // shown on the page's tab
  int order = 0;      // pages are listed by this, then by name
  // A still page's picture. It may reset the window system, so it runs before the live shell.
  std::function<std::shared_ptr<gfx::Surface>()> render;
  // A live page's form.
  FormBuilder form;
};

// A still page.
Page stillPage(std::string name, std::string title, int order, std::function<std::shared_ptr<gfx::Surface>()> render);

// A live page showing a form file's text, loaded with the library's classes. The text must
// outlive the page (embedded example forms do).
Page formFilePage(std::string name, std::string title, int order, std::string_view formText);

// The text of an example form compiled into the gallery (examples/<name>.zxf); empty when absent.
std::string_view exampleForm(std::string_view name);

// The page a user names on the command line: by its name or its tab title, in any case (names
// first); nullptr when no page has it.
const Page* findPage(const std::vector<Page>& list, std::string_view nameOrTitle);

// Every registered page, sorted by order, then name.
std::vector<Page>& pages();
std::vector<Page> sortedPages();

// Registers a page at static-initialisation time: `static RegisterPage reg{{...}};`
struct RegisterPage {
  explicit RegisterPage(Page p) { pages().push_back(std::move(p)); }
};

}  // namespace zxp::gallery
