// The page registry and its kinds of page. (exampleForm is generated from examples/*.zxf at build
// time: cmake/EmbedForms.cmake.)
#include <algorithm>

#include "Page.h"
#include "library/ClassTable.h"
#include "platform/host/NoCase.h"

namespace zxp::gallery {

Page stillPage(std::string name, std::string title, int order, std::function<std::shared_ptr<gfx::Surface>()> render) {
  Page p;
  p.name = std::move(name);
  p.title = std::move(title);
  p.order = order;
  p.render = std::move(render);
  return p;
}

Page formFilePage(std::string name, std::string title, int order, std::string_view formText) {
  Page p;
  p.name = std::move(name);
  p.title = std::move(title);
  p.order = order;
  p.form = [formText](Point screenPos) { return host::Form::load(formText, library::classes(), true, screenPos); };
  return p;
}

const Page* findPage(const std::vector<Page>& list, std::string_view nameOrTitle) {
  for (const Page& p : list)
    if (host::equalsNoCase(p.name, nameOrTitle)) return &p;
  for (const Page& p : list)
    if (host::equalsNoCase(p.title, nameOrTitle)) return &p;
  return nullptr;
}

std::vector<Page>& pages() {
  static std::vector<Page> list;
  return list;
}

std::vector<Page> sortedPages() {
  std::vector<Page> list = pages();
  std::stable_sort(list.begin(), list.end(), [](const Page& a, const Page& b) {
    return a.order != b.order ? a.order < b.order : a.name < b.name;
  });
  return list;
}

}  // namespace zxp::gallery
