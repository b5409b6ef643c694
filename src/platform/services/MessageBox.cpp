#include "platform/services/MessageBox.h"

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

}  // namespace

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
