// Sound: asynchronous wave-file playback behind the platform's PlaySoundA.
//
// A call returns at once; a new sound stops the one playing. Where the sound goes is a backend:
// the recording backend (the default, and what tests use) keeps a list of what was played; the
// desktop backend plays through the desktop's audio device and stays silent when there is none.
// Applications install it with useDesktopServices() (Desktop.h).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/base/RecentLog.h"
#include "platform/gfx/Handles.h"
#include "platform/gfx/Types.h"

namespace zxp {

constexpr DWORD SND_SYNC = 0x0000;       // played asynchronously all the same: nothing blocks here
constexpr DWORD SND_ASYNC = 0x0001;
constexpr DWORD SND_NODEFAULT = 0x0002;  // implied: there is no default system sound
constexpr DWORD SND_MEMORY = 0x0004;     // pszSound points at a wave file in memory (not supported)
constexpr DWORD SND_LOOP = 0x0008;       // not supported: played once
constexpr DWORD SND_NOSTOP = 0x0010;     // do not interrupt a sound that is playing
constexpr DWORD SND_PURGE = 0x0040;
constexpr DWORD SND_FILENAME = 0x00020000;

// Plays the wave file named by pszSound; a null name stops the current sound. FALSE when the
// file cannot be read or is not a wave file, or with SND_NOSTOP while a sound plays. Only a
// regular file of at most services::kMaxSoundFileSize bytes plays; a folder, device or pipe is
// refused at once without blocking.
BOOL PlaySoundA(const char* pszSound, HMODULE hmod, DWORD fdwSound);

}  // namespace zxp

namespace zxp::services {

// The largest wave file played: 32 MiB, over three minutes of CD-quality stereo.
constexpr uint64_t kMaxSoundFileSize = uint64_t{32} << 20;

// Decoded PCM samples of a wave file, in the file's own sample format (SDL's format numbers).
struct Wave {
  int frequency = 0;
  uint16_t format = 0;
  int channels = 0;
  std::vector<uint8_t> samples;
  // Playing time in milliseconds.
  double durationMs() const;
};

// Reads a wave file (RIFF WAVE: PCM, IEEE float, ADPCM, mu-law, a-law); empty when the bytes
// are not one. Chunks that declare more bytes than the file holds are read as far as they go,
// and memory is only ever reserved for bytes that are there.
std::optional<Wave> decodeWave(std::span<const uint8_t> bytes);
// The bytes of a mono 16-bit PCM wave file holding the samples at the given rate.
std::vector<uint8_t> encodeWave(std::span<const int16_t> samples, int frequency);

class SoundBackend {
 public:
  virtual ~SoundBackend() = default;
  // Starts playing, replacing whatever plays; returns at once.
  virtual void play(const std::string& name, const Wave& wave) = 0;
  virtual void stop() = 0;
  virtual bool playing() const = 0;
};

// Keeps the latest sounds played (RecentLog), for tests and headless runs. A sound counts as playing from play() until
// the next stop() or play(); nothing ends on its own, so results do not depend on time.
class RecordingSound final : public SoundBackend {
 public:
  struct Played {
    std::string name;
    int frequency;
    int channels;
    size_t bytes;
  };
  void play(const std::string& name, const Wave& wave) override;
  void stop() override;
  bool playing() const override { return playing_; }

  RecentLog<Played> played;
  int stops = 0;

 private:
  bool playing_ = false;
};

// The desktop's audio: on Linux SDL2's (SdlSound.cpp), which opens the default output device on
// first use; on Windows the platform's PlaySoundW (SoundWin32.cpp). Silent when no device can be
// opened.
std::shared_ptr<SoundBackend> makeDesktopSound();

void setSoundBackend(std::shared_ptr<SoundBackend> backend);
std::shared_ptr<SoundBackend> soundBackend();

}  // namespace zxp::services
