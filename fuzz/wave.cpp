// libFuzzer target: wave files as the sound service reads them (decodeWave, behind PlaySoundA and
// every control's hover and click sounds). Any input must decode or be refused: never crash, hang
// or allocate without bound. What decodes has a positive rate, one or more channels and whole
// frames of its sample format, and is handed to the recording backend as a sound would be.
#include <SDL2/SDL.h>

#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/services/Sound.h"

using namespace zxp::services;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto wave = decodeWave(std::span<const uint8_t>(data, size));
  if (!wave) return 0;
  const size_t frameBytes = static_cast<size_t>(wave->channels) * (SDL_AUDIO_BITSIZE(wave->format) / 8);
  if (wave->frequency <= 0 || wave->channels <= 0 || frameBytes == 0) std::abort();
  if (wave->samples.size() % frameBytes != 0) std::abort();
  if (!(wave->durationMs() >= 0)) std::abort();
  RecordingSound sound;
  sound.play("fuzz.wav", *wave);
  return 0;
}
