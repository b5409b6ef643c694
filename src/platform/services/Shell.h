// The shell's "open": hands a document, folder or address to the desktop's opener.
//
// The recording backend (the default, used by tests) keeps the latest requests (RecentLog); the
// desktop backend (Desktop.h) is the desktop's opener (makeDesktopShell). As on the original
// platform, a result above 32 means success.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/base/RecentLog.h"
#include "platform/gfx/Handles.h"

namespace zxp {

constexpr HINSTANCE SE_ERR_FNF = 2;
constexpr HINSTANCE SE_ERR_NOASSOC = 31;

// Performs lpOperation ("open", or null for the default verb, which is "open") on lpFile.
HINSTANCE ShellExecuteA(HWND hwnd, const char* lpOperation, const char* lpFile, const char* lpParameters,
                        const char* lpDirectory, int nShowCmd);

}  // namespace zxp

namespace zxp::services {

struct ShellRequest {
  HWND owner = 0;
  std::string operation;  // "open" when the caller passed none
  std::string file;
  std::string parameters;
  std::string directory;
  int showCmd = 0;
};

class ShellBackend {
 public:
  virtual ~ShellBackend() = default;
  virtual HINSTANCE execute(const ShellRequest& request) = 0;
};

class RecordingShell final : public ShellBackend {
 public:
  HINSTANCE execute(const ShellRequest& request) override;
  RecentLog<ShellRequest> requests;
  HINSTANCE result = 42;  // what every request returns
};

// The desktop's opener for "open" (SE_ERR_NOASSOC for other verbs, SE_ERR_FNF when the opener
// cannot be started). On Linux it runs `xdg-open FILE` (ShellXdg.cpp); on Windows it is the
// platform's ShellExecuteW (ShellWin32.cpp). Nothing goes through a command shell.
std::shared_ptr<ShellBackend> makeDesktopShell();

void setShellBackend(std::shared_ptr<ShellBackend> backend);
std::shared_ptr<ShellBackend> shellBackend();

}  // namespace zxp::services
