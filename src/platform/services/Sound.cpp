#include "platform/services/Sound.h"

#include "platform/base/SdlLibrary.h"

#include <cstring>

#include "platform/services/FileIo.h"

namespace zxp::services {

double Wave::durationMs() const {
  int frameBytes = channels * static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8);
  if (frequency <= 0 || frameBytes <= 0) return 0.0;
  return 1000.0 * static_cast<double>(samples.size() / static_cast<size_t>(frameBytes)) / frequency;
}

namespace {

uint32_t le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
void putLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// SDL reserves memory for the size a chunk header declares before it reads the chunk, so a
// 64-byte file declaring a 2 GB data chunk costs 2 GB. Every declared size larger than what the
// file still holds is cut to what it holds (as a truncated file reads) before SDL sees it.
// The decoder also takes a file that starts with "WAVE" (no RIFF header); its chunks follow at
// once. Anything else is no wave file: empty.
std::vector<uint8_t> withBoundedChunks(std::span<const uint8_t> bytes) {
  std::vector<uint8_t> out(bytes.begin(), bytes.end());
  const size_t n = out.size();
  auto tagAt = [&](size_t at, const char* tag) { return n >= at + 4 && std::memcmp(&out[at], tag, 4) == 0; };
  size_t pos = 0;
  if (tagAt(0, "RIFF") && n >= 12) {
    if (le32(&out[4]) > n - 8) putLe32(&out[4], static_cast<uint32_t>(n - 8));
    pos = 12;
  } else if (tagAt(0, "WAVE")) {
    pos = 4;
  } else {
    return {};
  }
  while (pos + 8 <= n) {
    const uint64_t declared = le32(&out[pos + 4]);
    const uint64_t available = n - (pos + 8);
    if (declared > available) {
      putLe32(&out[pos + 4], static_cast<uint32_t>(available));
      break;
    }
    pos += 8 + static_cast<size_t>(declared) + (declared & 1);  // chunks are padded to even sizes
  }
  return out;
}

}  // namespace

std::optional<Wave> decodeWave(std::span<const uint8_t> input) {
  if (input.empty() || input.size() > INT32_MAX) return std::nullopt;
  const std::vector<uint8_t> bytes = withBoundedChunks(input);
  if (bytes.empty()) return std::nullopt;
  SDL_RWops* rw = sdl::SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (!rw) return std::nullopt;
  SDL_AudioSpec wavFormat{};
  Uint8* buf = nullptr;
  Uint32 len = 0;
  if (!sdl::SDL_LoadWAV_RW(rw, 1, &wavFormat, &buf, &len)) return std::nullopt;
  Wave w;
  w.frequency = wavFormat.freq;
  w.format = wavFormat.format;
  w.channels = wavFormat.channels;
  // Only whole frames: a header whose block size disagrees with its channels can leave a partial
  // frame at the end, which no audio stream accepts (found by fuzzing).
  const Uint32 frameBytes = static_cast<Uint32>(w.channels) * (SDL_AUDIO_BITSIZE(w.format) / 8);
  if (frameBytes == 0) {
    sdl::SDL_FreeWAV(buf);
    return std::nullopt;
  }
  w.samples.assign(buf, buf + (len - len % frameBytes));
  sdl::SDL_FreeWAV(buf);
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
  // Only a regular file of bounded size: a folder, a device or a pipe would fail, never end or
  // block the calling (user-interface) thread.
  std::vector<uint8_t> bytes;
  if (!services::readRegularFile(pszSound, services::kMaxSoundFileSize, bytes)) return 0;
  auto wave = services::decodeWave(bytes);
  if (!wave) return 0;
  backend->play(pszSound, *wave);
  return 1;
}

}  // namespace zxp
