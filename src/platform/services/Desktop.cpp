#include "platform/services/Desktop.h"

#include "platform/services/MessageBox.h"
#include "platform/services/Shell.h"
#include "platform/services/Sound.h"

namespace zxp::services {

void useDesktopServices() {
  setSoundBackend(makeDesktopSound());
  setMessageBoxBackend(makeDesktopMessageBox());
  setShellBackend(makeDesktopShell());
}

}  // namespace zxp::services
