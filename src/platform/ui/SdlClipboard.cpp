#include "platform/ui/SdlClipboard.h"

#include "platform/base/SdlLibrary.h"

namespace zxp::ui {

namespace {
// A process without SDL2 loaded has no video running, and asking must not load it.
bool videoRunning() { return sdl::library.openIfLoaded() && sdl::SDL_WasInit(SDL_INIT_VIDEO) != 0; }
}  // namespace

std::optional<std::string> SdlClipboard::text() {
  if (!videoRunning()) return fallback_.text();
  if (!sdl::SDL_HasClipboardText()) return std::nullopt;
  char* t = sdl::SDL_GetClipboardText();
  if (!t) return std::nullopt;
  std::string s = t;
  sdl::SDL_free(t);
  return s;
}

bool SdlClipboard::setText(std::string_view text) {
  if (!videoRunning()) return fallback_.setText(text);
  std::string lf;
  lf.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    lf += text[i];
  }
  return sdl::SDL_SetClipboardText(lf.c_str()) == 0;
}

}  // namespace zxp::ui
