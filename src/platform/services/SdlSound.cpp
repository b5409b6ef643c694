// The desktop's sound output through SDL2's queued audio: a new sound clears the queue and
// queues its samples, converted to the device's format; playback runs on SDL's audio thread.
#include "platform/base/SdlLibrary.h"
#ifndef _WIN32
#include <dlfcn.h>
#endif

#include <cstdio>

#include "platform/services/Sound.h"

namespace zxp::services {

namespace {

#ifndef _WIN32
void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}
#endif

// ALSA's library prints every failed probe to stderr (eight lines on a machine without a sound
// card). SDL loads it on demand; loading it first and giving it a silent error handler keeps
// those lines away. Without ALSA there is nothing to silence.
void quietAlsaMessages() {
#ifdef _WIN32
  // SDL plays through the platform's own audio on Windows: no ALSA to silence.
#else
  static const bool done = [] {
    void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);  // kept loaded: SDL uses it
    if (!alsa) return true;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    auto setHandler = reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (setHandler) setHandler(ignoreAlsaMessage);
    return true;
  }();
  (void)done;
#endif
}

class SdlSound final : public SoundBackend {
 public:
  ~SdlSound() override {
    if (device_ != 0) sdl::SDL_CloseAudioDevice(device_);
    if (initialised_) sdl::SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  void play(const std::string&, const Wave& wave) override {
    if (!open()) return;  // no audio device: silent
    sdl::SDL_ClearQueuedAudio(device_);
    SDL_AudioStream* stream = sdl::SDL_NewAudioStream(wave.format, static_cast<Uint8>(wave.channels), wave.frequency,
                                                 have_.format, have_.channels, have_.freq);
    if (!stream) return;
    if (sdl::SDL_AudioStreamPut(stream, wave.samples.data(), static_cast<int>(wave.samples.size())) == 0 &&
        sdl::SDL_AudioStreamFlush(stream) == 0) {
      std::vector<uint8_t> out(static_cast<size_t>(sdl::SDL_AudioStreamAvailable(stream)));
      int got = sdl::SDL_AudioStreamGet(stream, out.data(), static_cast<int>(out.size()));
      if (got > 0) sdl::SDL_QueueAudio(device_, out.data(), static_cast<Uint32>(got));
    }
    sdl::SDL_FreeAudioStream(stream);
    sdl::SDL_PauseAudioDevice(device_, 0);
  }

  void stop() override {
    if (device_ != 0) sdl::SDL_ClearQueuedAudio(device_);
  }

  bool playing() const override { return device_ != 0 && sdl::SDL_GetQueuedAudioSize(device_) > 0; }

 private:
  bool open() {
    if (device_ != 0) return true;
    if (failed_) return false;
    quietAlsaMessages();
    if (!initialised_) {
      if (sdl::SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return noDevice();
      initialised_ = true;
    }
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    device_ = sdl::SDL_OpenAudioDevice(nullptr, 0, &want, &have_, SDL_AUDIO_ALLOW_ANY_CHANGE);
    return device_ != 0 || noDevice();
  }

  // Sounds stay silent from now on; said once, in one line.
  bool noDevice() {
    failed_ = true;
    std::fprintf(stderr, "zorvaxp: no audio device (%s); sounds are silent\n", sdl::SDL_GetError());
    return false;
  }

  bool initialised_ = false;
  bool failed_ = false;
  SDL_AudioDeviceID device_ = 0;
  SDL_AudioSpec have_{};
};

}  // namespace

std::shared_ptr<SoundBackend> makeDesktopSound() { return std::make_shared<SdlSound>(); }

}  // namespace zxp::services
