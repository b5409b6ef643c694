#include "platform/services/Shell.h"

namespace zxp::services {

HINSTANCE RecordingShell::execute(const ShellRequest& request) {
  requests.push_back(request);
  return result;
}

namespace {

std::shared_ptr<ShellBackend>& backendSlot() {
  static std::shared_ptr<ShellBackend> backend = std::make_shared<RecordingShell>();
  return backend;
}

}  // namespace

void setShellBackend(std::shared_ptr<ShellBackend> backend) {
  backendSlot() = backend ? std::move(backend) : std::make_shared<RecordingShell>();
}

std::shared_ptr<ShellBackend> shellBackend() { return backendSlot(); }

}  // namespace zxp::services

namespace zxp {

HINSTANCE ShellExecuteA(HWND hwnd, const char* lpOperation, const char* lpFile, const char* lpParameters,
                        const char* lpDirectory, int nShowCmd) {
  services::ShellRequest r;
  r.owner = hwnd;
  r.operation = (lpOperation && *lpOperation) ? lpOperation : "open";
  r.file = lpFile ? lpFile : "";
  r.parameters = lpParameters ? lpParameters : "";
  r.directory = lpDirectory ? lpDirectory : "";
  r.showCmd = nShowCmd;
  return services::shellBackend()->execute(r);
}

}  // namespace zxp
