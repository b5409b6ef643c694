// Message boxes: a title, a text, an icon and buttons, answered modally.
//
// The recording backend (the default, used by tests) keeps the latest boxes it was asked to show
// (RecentLog) and answers with a preset button; the desktop backend (Desktop.h) shows a modal
// window.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/RecentLog.h"
#include "platform/gfx/Handles.h"
#include "platform/gfx/Types.h"

namespace zxp {

constexpr UINT MB_OK = 0x00;
constexpr UINT MB_OKCANCEL = 0x01;
constexpr UINT MB_ABORTRETRYIGNORE = 0x02;
constexpr UINT MB_YESNOCANCEL = 0x03;
constexpr UINT MB_YESNO = 0x04;
constexpr UINT MB_RETRYCANCEL = 0x05;
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x40;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_TYPEMASK = 0x0F;
constexpr UINT MB_ICONMASK = 0xF0;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// The host's MsgBox constants (same numbers as the MB_ flags and ID answers).
constexpr int16_t vbOKOnly = 0;
constexpr int16_t vbOKCancel = 1;
constexpr int16_t vbYesNo = 4;
constexpr int16_t vbCritical = 16;
constexpr int16_t vbQuestion = 32;
constexpr int16_t vbExclamation = 48;
constexpr int16_t vbInformation = 64;

int MessageBoxA(HWND hWnd, const char* lpText, const char* lpCaption, UINT uType);

// The host's MsgBox: shows prompt with the buttons and icon of `buttons` under `title`, and
// returns the button pressed (vbOK = 1, ...).
int16_t MsgBox(std::string_view prompt, int16_t buttons = vbOKOnly, std::string_view title = {});

}  // namespace zxp

namespace zxp::services {

class MessageBoxBackend {
 public:
  virtual ~MessageBoxBackend() = default;
  virtual int show(HWND owner, const std::string& text, const std::string& caption, UINT type) = 0;
};

class RecordingMessageBox final : public MessageBoxBackend {
 public:
  struct Shown {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
    UINT icon() const { return type & MB_ICONMASK; }
  };
  int show(HWND owner, const std::string& text, const std::string& caption, UINT type) override;

  RecentLog<Shown> shown;
  int answer = IDOK;  // what every box answers
};

// A modal message box on the desktop: SDL2's on Linux, the platform's own on Windows.
std::shared_ptr<MessageBoxBackend> makeDesktopMessageBox();

void setMessageBoxBackend(std::shared_ptr<MessageBoxBackend> backend);
std::shared_ptr<MessageBoxBackend> messageBoxBackend();

}  // namespace zxp::services
