// Test helpers: a scratch directory removed at the end of the test, and a tiny wave file in it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/services/Sound.h"

namespace zxp::testing {

class TempDir {
 public:
  TempDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("zxp-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Writes a mono 16-bit PCM wave file of `samples` samples at 8000 Hz; returns its path.
inline std::string writeWave(const std::string& path, uint32_t samples = 80) {
  std::vector<int16_t> v(samples);
  for (uint32_t i = 0; i < samples; ++i) v[i] = static_cast<int16_t>((i % 16) * 1000);
  std::vector<uint8_t> b = services::encodeWave(v, 8000);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
  return path;
}

}  // namespace zxp::testing
