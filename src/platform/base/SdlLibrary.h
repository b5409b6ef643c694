// The SDL2 functions the platform calls (desktop window, input, clipboard, sound, message boxes),
// each opened from libSDL2 on its first call (base/LazyLibrary.h). Call them as sdl::SDL_Name(...):
// the same signature as SDL's own function. The headless window system never calls one, so a
// headless run never loads SDL2 or the display and sound libraries it pulls in.
#pragma once

#define SDL_MAIN_HANDLED  // our programs' main stays theirs on Windows too
#include <SDL2/SDL.h>

#include "platform/base/LazyLibrary.h"

namespace zxp::sdl {

#ifdef _WIN32
inline constinit base::LazyLibrary library{"SDL2.dll"};  // SDL's Windows build, beside the program
#else
inline constinit base::LazyLibrary library{"libSDL2-2.0.so.0"};
#endif

#define ZXP_SDL_FUNCTION(name) inline constinit base::LazyFunction<decltype(::name)> name{library, #name}
ZXP_SDL_FUNCTION(SDL_AudioStreamAvailable);
ZXP_SDL_FUNCTION(SDL_AudioStreamFlush);
ZXP_SDL_FUNCTION(SDL_AudioStreamGet);
ZXP_SDL_FUNCTION(SDL_AudioStreamPut);
ZXP_SDL_FUNCTION(SDL_ClearQueuedAudio);
ZXP_SDL_FUNCTION(SDL_CloseAudioDevice);
ZXP_SDL_FUNCTION(SDL_CreateRenderer);
ZXP_SDL_FUNCTION(SDL_CreateSystemCursor);
ZXP_SDL_FUNCTION(SDL_CreateTexture);
ZXP_SDL_FUNCTION(SDL_CreateWindow);
ZXP_SDL_FUNCTION(SDL_DestroyRenderer);
ZXP_SDL_FUNCTION(SDL_DestroyTexture);
ZXP_SDL_FUNCTION(SDL_DestroyWindow);
ZXP_SDL_FUNCTION(SDL_EventState);
ZXP_SDL_FUNCTION(SDL_FreeAudioStream);
ZXP_SDL_FUNCTION(SDL_FreeCursor);
ZXP_SDL_FUNCTION(SDL_FreeWAV);
ZXP_SDL_FUNCTION(SDL_GetClipboardText);
ZXP_SDL_FUNCTION(SDL_GetDisplayUsableBounds);
ZXP_SDL_FUNCTION(SDL_GetCurrentVideoDriver);
ZXP_SDL_FUNCTION(SDL_GetError);
ZXP_SDL_FUNCTION(SDL_GetGlobalMouseState);
ZXP_SDL_FUNCTION(SDL_GetModState);
ZXP_SDL_FUNCTION(SDL_GetQueuedAudioSize);
ZXP_SDL_FUNCTION(SDL_GetWindowPosition);
ZXP_SDL_FUNCTION(SDL_HasClipboardText);
ZXP_SDL_FUNCTION(SDL_InitSubSystem);
ZXP_SDL_FUNCTION(SDL_LoadWAV_RW);
ZXP_SDL_FUNCTION(SDL_LockTexture);
ZXP_SDL_FUNCTION(SDL_NewAudioStream);
ZXP_SDL_FUNCTION(SDL_OpenAudioDevice);
ZXP_SDL_FUNCTION(SDL_PauseAudioDevice);
ZXP_SDL_FUNCTION(SDL_PollEvent);
ZXP_SDL_FUNCTION(SDL_QueueAudio);
ZXP_SDL_FUNCTION(SDL_QuitSubSystem);
ZXP_SDL_FUNCTION(SDL_RWFromConstMem);
ZXP_SDL_FUNCTION(SDL_RenderClear);
ZXP_SDL_FUNCTION(SDL_RenderCopy);
ZXP_SDL_FUNCTION(SDL_RenderPresent);
ZXP_SDL_FUNCTION(SDL_SetClipboardText);
ZXP_SDL_FUNCTION(SDL_SetCursor);
ZXP_SDL_FUNCTION(SDL_ShowMessageBox);
ZXP_SDL_FUNCTION(SDL_UnlockTexture);
ZXP_SDL_FUNCTION(SDL_WaitEventTimeout);
ZXP_SDL_FUNCTION(SDL_WasInit);
ZXP_SDL_FUNCTION(SDL_free);
#undef ZXP_SDL_FUNCTION

}  // namespace zxp::sdl
