// Installs fresh recording backends for sound, message boxes and the shell for the lifetime of
// the object, and restores the previous backends afterwards. Tests use it to see what a control
// played, showed or opened.
#pragma once

#include <memory>

#include "platform/services/MessageBox.h"
#include "platform/services/Shell.h"
#include "platform/services/Sound.h"

namespace zxp::services {

class RecordingServices {
 public:
  RecordingServices()
      : prevSound_(soundBackend()), prevBox_(messageBoxBackend()), prevShell_(shellBackend()) {
    setSoundBackend(sound);
    setMessageBoxBackend(messageBoxes);
    setShellBackend(shell);
  }
  ~RecordingServices() {
    setSoundBackend(prevSound_);
    setMessageBoxBackend(prevBox_);
    setShellBackend(prevShell_);
  }
  RecordingServices(const RecordingServices&) = delete;
  RecordingServices& operator=(const RecordingServices&) = delete;

  std::shared_ptr<RecordingSound> sound = std::make_shared<RecordingSound>();
  std::shared_ptr<RecordingMessageBox> messageBoxes = std::make_shared<RecordingMessageBox>();
  std::shared_ptr<RecordingShell> shell = std::make_shared<RecordingShell>();

 private:
  std::shared_ptr<SoundBackend> prevSound_;
  std::shared_ptr<MessageBoxBackend> prevBox_;
  std::shared_ptr<ShellBackend> prevShell_;
};

}  // namespace zxp::services
