// The desktop's sound output through SDL2's queued audio: a new sound clears the queue and
// queues its samples, converted to the device's format; playback runs on SDL's audio thread.
#include <SDL2/SDL.h>

#include "platform/services/Sound.h"

namespace zxp::services {

namespace {

class SdlSound final : public SoundBackend {
 public:
  ~SdlSound() override {
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    if (initialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  void play(const std::string&, const Wave& wave) override {
    if (!open()) return;  // no audio device: silent
    SDL_ClearQueuedAudio(device_);
    SDL_AudioStream* stream = SDL_NewAudioStream(wave.format, static_cast<Uint8>(wave.channels), wave.frequency,
                                                 have_.format, have_.channels, have_.freq);
    if (!stream) return;
    if (SDL_AudioStreamPut(stream, wave.samples.data(), static_cast<int>(wave.samples.size())) == 0 &&
        SDL_AudioStreamFlush(stream) == 0) {
      std::vector<uint8_t> out(static_cast<size_t>(SDL_AudioStreamAvailable(stream)));
      int got = SDL_AudioStreamGet(stream, out.data(), static_cast<int>(out.size()));
      if (got > 0) SDL_QueueAudio(device_, out.data(), static_cast<Uint32>(got));
    }
    SDL_FreeAudioStream(stream);
    SDL_PauseAudioDevice(device_, 0);
  }

  void stop() override {
    if (device_ != 0) SDL_ClearQueuedAudio(device_);
  }

  bool playing() const override { return device_ != 0 && SDL_GetQueuedAudioSize(device_) > 0; }

 private:
  bool open() {
    if (device_ != 0) return true;
    if (failed_) return false;
    if (!initialised_) {
      if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        failed_ = true;
        return false;
      }
      initialised_ = true;
    }
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have_, SDL_AUDIO_ALLOW_ANY_CHANGE);
    if (device_ == 0) failed_ = true;
    return device_ != 0;
  }

  bool initialised_ = false;
  bool failed_ = false;
  SDL_AudioDeviceID device_ = 0;
  SDL_AudioSpec have_{};
};

}  // namespace

std::shared_ptr<SoundBackend> makeSdlSound() { return std::make_shared<SdlSound>(); }

}  // namespace zxp::services
