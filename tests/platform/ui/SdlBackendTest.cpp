// The desktop backend's key mapping and its refusal to open without a display.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/ui/SdlBackend.h"
#include "platform/ui/SdlClipboard.h"

namespace zxp::ui {
namespace {

TEST(SdlBackend, KeysMapToTheVirtualKeysOfTheUsLayout) {
  const std::pair<SDL_Keycode, int> rows[] = {{SDLK_a, 'A'},          {SDLK_z, 'Z'},          {SDLK_5, '5'},
                                              {SDLK_F10, VK_F10},      {SDLK_KP_9, VK_NUMPAD9}, {SDLK_KP_0, VK_NUMPAD0},
                                              {SDLK_RETURN, VK_RETURN}, {SDLK_LALT, VK_LMENU},  {SDLK_QUOTE, VK_OEM_7},
                                              {SDLK_VOLUMEUP, 0}};  // no virtual key
  for (const auto& [sdl, vk] : rows) EXPECT_EQ(virtualKeyFromSdl(sdl), vk) << sdl;
}

TEST(SdlBackend, OpensNothingWithoutADisplay) {
  const char* saved = std::getenv("SDL_VIDEODRIVER");
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  EXPECT_EQ(SdlBackend::open("test", Size{320, 200}), nullptr);
  if (saved) setenv("SDL_VIDEODRIVER", saved, 1); else unsetenv("SDL_VIDEODRIVER");
}

// The SDL clipboard store: in memory until SDL's video runs, then SDL's clipboard (the dummy
// video driver keeps it in SDL itself), with LF line ends for the desktop and CR LF coming back.
TEST(SdlBackend, ClipboardGoesThroughSdlWhileVideoRuns) {
  SdlClipboard store;
  EXPECT_EQ(store.text(), std::nullopt);
  EXPECT_TRUE(store.setText("kept"));
  EXPECT_EQ(store.text(), "kept");
  const char* saved = std::getenv("SDL_VIDEODRIVER");
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  const bool video = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  if (video) {
    EXPECT_TRUE(store.setText("a\r\nb"));
    char* raw = SDL_GetClipboardText();
    EXPECT_STREQ(raw, "a\nb");
    SDL_free(raw);
    setClipboardStore(std::make_unique<SdlClipboard>());
    EXPECT_EQ(clipboardText(), "a\r\nb");
    setClipboardStore(nullptr);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  if (saved) setenv("SDL_VIDEODRIVER", saved, 1); else unsetenv("SDL_VIDEODRIVER");
  if (!video) GTEST_SKIP() << "SDL's dummy video driver is not available";
}

}  // namespace
}  // namespace zxp::ui
