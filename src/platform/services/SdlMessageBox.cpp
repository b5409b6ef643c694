// Message boxes on the Linux desktop: SDL2's modal message box, with the buttons and icon the
// MB_* flags ask for (the Windows build shows the platform's own, MessageBoxWin32.cpp).
#include <vector>

#include "platform/base/SdlLibrary.h"
#include "platform/services/MessageBox.h"

namespace zxp::services {

namespace {

class SdlMessageBox final : public MessageBoxBackend {
 public:
  int show(HWND, const std::string& text, const std::string& caption, UINT type) override {
    struct Btn {
      int id;
      const char* label;
    };
    std::vector<Btn> buttons;
    switch (type & MB_TYPEMASK) {
      case MB_OKCANCEL: buttons = {{IDOK, "OK"}, {IDCANCEL, "Cancel"}}; break;
      case MB_ABORTRETRYIGNORE: buttons = {{IDABORT, "Abort"}, {IDRETRY, "Retry"}, {IDIGNORE, "Ignore"}}; break;
      case MB_YESNOCANCEL: buttons = {{IDYES, "Yes"}, {IDNO, "No"}, {IDCANCEL, "Cancel"}}; break;
      case MB_YESNO: buttons = {{IDYES, "Yes"}, {IDNO, "No"}}; break;
      case MB_RETRYCANCEL: buttons = {{IDRETRY, "Retry"}, {IDCANCEL, "Cancel"}}; break;
      default: buttons = {{IDOK, "OK"}}; break;
    }
    std::vector<SDL_MessageBoxButtonData> data;
    for (size_t i = 0; i < buttons.size(); ++i) {
      Uint32 flags = 0;
      if (i == 0) flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
      if (i + 1 == buttons.size()) flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
      data.push_back(SDL_MessageBoxButtonData{flags, buttons[i].id, buttons[i].label});
    }
    Uint32 iconFlag = SDL_MESSAGEBOX_INFORMATION;
    UINT icon = type & MB_ICONMASK;
    if (icon == MB_ICONHAND) iconFlag = SDL_MESSAGEBOX_ERROR;
    else if (icon == MB_ICONEXCLAMATION) iconFlag = SDL_MESSAGEBOX_WARNING;
    SDL_MessageBoxData box{iconFlag, nullptr, caption.c_str(), text.c_str(), static_cast<int>(data.size()),
                           data.data(), nullptr};
    int pressed = 0;
    if (sdl::SDL_ShowMessageBox(&box, &pressed) != 0) return buttons.front().id;  // no display: first button
    return pressed > 0 ? pressed : buttons.back().id;
  }
};

}  // namespace

std::shared_ptr<MessageBoxBackend> makeDesktopMessageBox() { return std::make_shared<SdlMessageBox>(); }

}  // namespace zxp::services
