// The desktop's clipboard through SDL2, for apps that run on the SDL backend (SdlBackend::open
// installs it). While SDL's video subsystem is not running it keeps the text in memory instead.
#pragma once

#include "platform/ui/Clipboard.h"

namespace zxp::ui {

class SdlClipboard final : public ClipboardStore {
 public:
  std::optional<std::string> text() override;
  // The desktop gets LF line ends; SDL converts them where the desktop wants others.
  bool setText(std::string_view text) override;

 private:
  MemoryClipboard fallback_;
};

}  // namespace zxp::ui
