// Gallery page "Tabs and images" (examples/tabs-images.zxf): three tab controls, and the image
// list ilIcons drawn into the frame fraImages the way an application uses it: found by name,
// each picture copied plainly (its mask colour shows) and then with the mask colour left out,
// at two positions per row. A click on a tab switches it, and with it the controls shown.
#include "Page.h"
#include "bars/ZorvaXpImageList.h"
#include "foundation/FormLookup.h"
#include "text/ZorvaXPFrame.h"

namespace zxp::gallery {
namespace {

// Draws every picture of the list into the frame: a plain row and a masked row.
void drawImages(text::ZorvaXPFrame& frame) {
  auto* list = foundation::controlOnFormAs<bars::ZorvaXpImageList>(frame, "ilIcons");
  if (!list) return;
  const int32_t dc = frame.hdc();
  const int32_t step = static_cast<int32_t>(list->IconSize()) + 10;
  for (int32_t i = 1; i <= list->ImageCount(); ++i) {
    list->DrawImageByIndex(i, dc, 16 + (i - 1) * step, 40);
    list->DrawIconWithMask(i, dc, 16 + (i - 1) * step, 80);
  }
  // The same pictures by key, masked, further down.
  int32_t x = 16;
  for (const char* key : {"gem", "warn", "mail"}) {
    auto* l = list;
    const int32_t index = l->getPictureIndex(key);
    l->DrawIconWithMask(index, dc, x, 130);
    x += step;
  }
}

Page tabsImagesPage() {
  Page page = formFilePage("tabs-images", "Tabs and images", 5, exampleForm("tabs-images"));
  page.form = [load = page.form](Point at) {
    std::unique_ptr<host::Form> form = load(at);
    if (auto* frame = form->controlAs<text::ZorvaXPFrame>("fraImages")) drawImages(*frame);
    return form;
  };
  return page;
}

RegisterPage reg{tabsImagesPage()};

}  // namespace
}  // namespace zxp::gallery
