// The desktop's opener on Linux: xdg-open, started without a command shell.
#include <spawn.h>
#include <sys/wait.h>

#include "platform/host/NoCase.h"
#include "platform/services/Shell.h"

extern char** environ;

namespace zxp::services {

namespace {

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

std::shared_ptr<ShellBackend> makeDesktopShell() { return std::make_shared<XdgOpenShell>(); }

}  // namespace zxp::services
