#include "DropDownMenus.h"

#include "bars/ZorvaXPStatusBar.h"
#include "bars/ZorvaXPToolBar.h"
#include "platform/ui/Menu.h"
#include "platform/ui/User.h"

namespace zxp::gallery {

const std::vector<std::string>& dropDownCommands() {
  static const std::vector<std::string> commands = {"New", "Open", "Save", "Print"};
  return commands;
}

int connectDropDownMenus(host::Form& form) {
  int bars = 0;
  for (host::Extender* e : form.Controls()) {
    auto* bar = dynamic_cast<bars::ZorvaXPToolBar*>(&e->object());
    if (!bar) continue;
    ++bars;
    bar->PopUpMainMenu.connect([bar, &form](int32_t&, std::string& caption, float& x, float& y) {
      HMENU menu = CreatePopupMenu();
      const auto& commands = dropDownCommands();
      for (size_t i = 0; i < commands.size(); ++i)
        AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(i + 1), commands[i].c_str());
      POINT at{static_cast<LONG>(x), static_cast<LONG>(y)};
      ClientToScreen(bar->hWnd(), &at);
      const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0,
                                        bar->hWnd(), nullptr);
      DestroyMenu(menu);
      if (chosen < 1 || chosen > static_cast<int>(commands.size())) return;
      if (auto* status = form.controlAs<bars::ZorvaXPStatusBar>("sbMain"))
        status->setHeaderCaption(1, caption + ": " + commands[static_cast<size_t>(chosen - 1)]);
    });
  }
  return bars;
}

}  // namespace zxp::gallery
