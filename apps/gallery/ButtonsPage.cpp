// Gallery page "buttons": the push button in every style and state (examples/buttons.zxf), with
// sounds on one button: two short tones made here, as wave files in the temporary folder.
#include <cmath>
#include <filesystem>
#include <numbers>

#include "Page.h"
#include "platform/services/FileIo.h"
#include "platform/services/Sound.h"

namespace zxp::gallery {
namespace {

// A sine tone sliding from one pitch to another, fading out; returns its path ("" on failure).
std::string writeTone(const std::filesystem::path& path, double fromHz, double toHz, double ms) {
  constexpr int kRate = 22050;
  const int n = static_cast<int>(kRate * ms / 1000);
  std::vector<int16_t> samples(static_cast<size_t>(n));
  double phase = 0;
  for (int i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / n;
    phase += 2 * std::numbers::pi * (fromHz + (toHz - fromHz) * t) / kRate;
    samples[static_cast<size_t>(i)] = static_cast<int16_t>(9000 * (1 - t) * (1 - t) * std::sin(phase));
  }
  std::vector<uint8_t> bytes = services::encodeWave(samples, kRate);
  return services::writeFileAtomically(path.string(), bytes) ? path.string() : std::string();
}

Page buttonsPage() {
  Page page = formFilePage("buttons", "Buttons", 1, exampleForm("buttons"));
  page.form = [load = page.form](Point at) {
    std::unique_ptr<host::Form> form = load(at);
    std::error_code ec;
    auto dir = std::filesystem::temp_directory_path(ec) / "zorvaxp-gallery";
    std::filesystem::create_directories(dir, ec);
    if (!ec && form->control("cmdSounds")) {
      form->let("cmdSounds", "SoundOnOver", host::Variant(writeTone(dir / "over.wav", 660, 990, 60)));
      form->let("cmdSounds", "SoundOnClicked", host::Variant(writeTone(dir / "click.wav", 1400, 500, 35)));
    }
    return form;
  };
  return page;
}

RegisterPage reg{buttonsPage()};

}  // namespace
}  // namespace zxp::gallery
