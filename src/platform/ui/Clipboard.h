// The clipboard, for text. Edit fields cut, copy and paste through it. Its store is replaceable:
// the window system starts with an in-memory store (tests, headless runs), and a desktop backend
// installs one that reaches the desktop's clipboard (SDL2's). Text is UTF-8; what comes out has
// CR LF line ends, as the platform's clipboard text does, whatever the store holds.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zxp::ui {

class ClipboardStore {
 public:
  virtual ~ClipboardStore() = default;
  // The text on the clipboard; nullopt when it holds no text.
  virtual std::optional<std::string> text() = 0;
  // Replaces the clipboard's contents with text; false when the store refused.
  virtual bool setText(std::string_view text) = 0;
};

class MemoryClipboard final : public ClipboardStore {
 public:
  std::optional<std::string> text() override { return text_; }
  bool setText(std::string_view t) override {
    text_ = std::string(t);
    return true;
  }

 private:
  std::optional<std::string> text_;
};

// Installs a store (nullptr: a fresh in-memory one).
void setClipboardStore(std::unique_ptr<ClipboardStore> store);
// The clipboard's text with line breaks as CR LF; nullopt when it holds none.
std::optional<std::string> clipboardText();
bool setClipboardText(std::string_view text);

}  // namespace zxp::ui
