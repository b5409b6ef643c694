#include "platform/ui/Clipboard.h"

namespace zxp::ui {

namespace {

std::unique_ptr<ClipboardStore>& store() {
  static std::unique_ptr<ClipboardStore> s = std::make_unique<MemoryClipboard>();
  return s;
}

// Lone LF and lone CR become CR LF; existing CR LF pairs stay.
std::string withCrLf(std::string_view in) {
  std::string out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    char c = in[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < in.size() && in[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

void setClipboardStore(std::unique_ptr<ClipboardStore> s) {
  store() = s ? std::move(s) : std::make_unique<MemoryClipboard>();
}

std::optional<std::string> clipboardText() {
  auto t = store()->text();
  if (!t) return std::nullopt;
  return withCrLf(*t);
}

bool setClipboardText(std::string_view text) { return store()->setText(text); }

}  // namespace zxp::ui
