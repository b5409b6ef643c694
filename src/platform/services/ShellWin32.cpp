// The desktop's opener on Windows: the platform's own ShellExecuteW.
#include "platform/base/WideText.h"
#include "platform/host/NoCase.h"
#include "platform/services/Shell.h"

#include <windows.h>
#include <shellapi.h>

namespace zxp::services {

namespace {

class WindowsShell final : public ShellBackend {
 public:
  zxp::HINSTANCE execute(const ShellRequest& r) override {
    if (!host::equalsNoCase(r.operation, "open")) return 31;  // SE_ERR_NOASSOC
    if (r.file.empty()) return 2;                              // SE_ERR_FNF
    // The owner is one of the library's own windows, which the platform does not know: none.
    const ::HINSTANCE result =
        ShellExecuteW(nullptr, L"open", base::widen(r.file).c_str(),
                      r.parameters.empty() ? nullptr : base::widen(r.parameters).c_str(),
                      r.directory.empty() ? nullptr : base::widen(r.directory).c_str(), r.showCmd);
    const auto code = reinterpret_cast<INT_PTR>(result);
    return code > 32 ? 42 : static_cast<zxp::HINSTANCE>(code);
  }
};

}  // namespace

std::shared_ptr<ShellBackend> makeDesktopShell() { return std::make_shared<WindowsShell>(); }

}  // namespace zxp::services
