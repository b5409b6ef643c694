#include "platform/services/Shell.h"

#include <spawn.h>
#include <sys/wait.h>

#include "platform/host/NoCase.h"

extern char** environ;

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

class XdgOpenShell final : public ShellBackend {
 public:
  HINSTANCE execute(const ShellRequest& r) override {
    if (!host::equalsNoCase(r.operation, "open")) return SE_ERR_NOASSOC;
    if (r.file.empty()) return SE_ERR_FNF;
    std::string prog = "xdg-open";
    std::string file = r.file;
    char* argv[] = {prog.data(), file.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) != 0) return SE_ERR_FNF;
    // xdg-open hands the file over and exits quickly; reap it so no zombie remains.
    int status = 0;
    waitpid(pid, &status, 0);
    return (WIFEXITED(status) && WEXITSTATUS(status) == 0) ? 42 : SE_ERR_FNF;
  }
};

}  // namespace

std::shared_ptr<ShellBackend> makeXdgOpenShell() { return std::make_shared<XdgOpenShell>(); }

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
