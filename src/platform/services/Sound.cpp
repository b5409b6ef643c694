#include "platform/services/Sound.h"

#include <SDL2/SDL.h>

#include <fstream>
#include <iterator>

namespace zxp::services {

double Wave::durationMs() const {
  int frameBytes = channels * static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8);
  if (frequency <= 0 || frameBytes <= 0) return 0.0;
  return 1000.0 * static_cast<double>(samples.size() / static_cast<size_t>(frameBytes)) / frequency;
}

std::optional<Wave> decodeWave(std::span<const uint8_t> bytes) {
  if (bytes.empty() || bytes.size() > INT32_MAX) return std::nullopt;
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (!rw) return std::nullopt;
  SDL_AudioSpec wavFormat{};
  Uint8* buf = nullptr;
  Uint32 len = 0;
  if (!SDL_LoadWAV_RW(rw, 1, &wavFormat, &buf, &len)) return std::nullopt;
  Wave w;
  w.frequency = wavFormat.freq;
  w.format = wavFormat.format;
  w.channels = wavFormat.channels;
  w.samples.assign(buf, buf + len);
  SDL_FreeWAV(buf);
  return w;
}

std::vector<uint8_t> encodeWave(std::span<const int16_t> samples, int frequency) {
  std::vector<uint8_t> b;
  auto le16 = [&](uint32_t x) {
    b.push_back(static_cast<uint8_t>(x & 0xFF));
    b.push_back(static_cast<uint8_t>((x >> 8) & 0xFF));
  };
  auto le32 = [&](uint32_t x) {
    le16(x & 0xFFFF);
    le16(x >> 16);
  };
  auto tag = [&](const char* t) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(t[i]));
  };
  const auto dataBytes = static_cast<uint32_t>(samples.size() * 2);
  b.reserve(44 + dataBytes);
  tag("RIFF");
  le32(36 + dataBytes);
  tag("WAVE");
  tag("fmt ");
  le32(16);
  le16(1);  // PCM
  le16(1);  // mono
  le32(static_cast<uint32_t>(frequency));
  le32(static_cast<uint32_t>(frequency) * 2);  // bytes per second
  le16(2);                                     // bytes per frame
  le16(16);                                    // bits per sample
  tag("data");
  le32(dataBytes);
  for (int16_t v : samples) le16(static_cast<uint16_t>(v));
  return b;
}

void RecordingSound::play(const std::string& name, const Wave& wave) {
  played.push_back(Played{name, wave.frequency, wave.channels, wave.samples.size()});
  playing_ = true;
}

void RecordingSound::stop() {
  ++stops;
  playing_ = false;
}

namespace {
std::shared_ptr<SoundBackend>& backendSlot() {
  static std::shared_ptr<SoundBackend> backend = std::make_shared<RecordingSound>();
  return backend;
}
}  // namespace

void setSoundBackend(std::shared_ptr<SoundBackend> backend) {
  backendSlot() = backend ? std::move(backend) : std::make_shared<RecordingSound>();
}

std::shared_ptr<SoundBackend> soundBackend() { return backendSlot(); }

}  // namespace zxp::services

namespace zxp {

BOOL PlaySoundA(const char* pszSound, HMODULE, DWORD fdwSound) {
  auto backend = services::soundBackend();
  if (!pszSound || (fdwSound & SND_PURGE)) {
    backend->stop();
    return 1;
  }
  if (fdwSound & SND_MEMORY) return 0;
  if ((fdwSound & SND_NOSTOP) && backend->playing()) return 0;
  std::ifstream in(pszSound, std::ios::binary);
  if (!in) return 0;
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto wave = services::decodeWave(bytes);
  if (!wave) return 0;
  backend->play(pszSound, *wave);
  return 1;
}

}  // namespace zxp
