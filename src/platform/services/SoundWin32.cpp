// Wave playback on Windows: the platform's own PlaySoundW plays the file asynchronously, so a
// sound goes to whatever output device the desktop has chosen, mixed by the platform. Our
// PlaySoundA has already read and checked the file (decodeWave); the backend hands the platform
// its name and keeps the playing time to answer playing().
#include "platform/base/WideText.h"
#include "platform/services/Sound.h"

#include <chrono>

#include <windows.h>
#include <mmsystem.h>

namespace zxp::services {

namespace {

class WindowsSound final : public SoundBackend {
 public:
  ~WindowsSound() override { stop(); }

  void play(const std::string& name, const Wave& wave) override {
    const std::wstring file = base::widen(name);
    if (!PlaySoundW(file.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT)) {
      end_ = {};
      return;  // no output device: silent, as on Linux
    }
    end_ = std::chrono::steady_clock::now() +
           std::chrono::microseconds(static_cast<int64_t>(wave.durationMs() * 1000.0));
  }

  void stop() override {
    PlaySoundW(nullptr, nullptr, 0);
    end_ = {};
  }

  bool playing() const override { return std::chrono::steady_clock::now() < end_; }

 private:
  std::chrono::steady_clock::time_point end_{};
};

}  // namespace

std::shared_ptr<SoundBackend> makeDesktopSound() { return std::make_shared<WindowsSound>(); }

}  // namespace zxp::services
