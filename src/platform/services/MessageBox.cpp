#include "platform/services/MessageBox.h"

#include "platform/base/SdlLibrary.h"

namespace zxp::services {

int RecordingMessageBox::show(HWND owner, const std::string& text, const std::string& caption, UINT type) {
  shown.push_back(Shown{owner, text, caption, type});
  return answer;
}

namespace {

std::shared_ptr<MessageBoxBackend>& backendSlot() {
  static std::shared_ptr<MessageBoxBackend> backend = std::make_shared<RecordingMessageBox>();
  return backend;
}

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

std::shared_ptr<MessageBoxBackend> makeSdlMessageBox() { return std::make_shared<SdlMessageBox>(); }

void setMessageBoxBackend(std::shared_ptr<MessageBoxBackend> backend) {
  backendSlot() = backend ? std::move(backend) : std::make_shared<RecordingMessageBox>();
}

std::shared_ptr<MessageBoxBackend> messageBoxBackend() { return backendSlot(); }

}  // namespace zxp::services

namespace zxp {

int MessageBoxA(HWND hWnd, const char* lpText, const char* lpCaption, UINT uType) {
  // The platform's default caption is "Error" when none is given.
  return services::messageBoxBackend()->show(hWnd, lpText ? lpText : "", lpCaption ? lpCaption : "Error", uType);
}

int16_t MsgBox(std::string_view prompt, int16_t buttons, std::string_view title) {
  std::string t(title);
  std::string p(prompt);
  return static_cast<int16_t>(MessageBoxA(0, p.c_str(), t.c_str(), static_cast<UINT>(buttons)));
}

}  // namespace zxp
