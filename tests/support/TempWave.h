// Test helpers: a scratch directory removed at the end of the test, and a tiny wave file in it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

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
  auto le16 = [](std::vector<uint8_t>& v, uint16_t x) { v.push_back(x & 0xFF); v.push_back(x >> 8); };
  auto le32 = [&](std::vector<uint8_t>& v, uint32_t x) { le16(v, x & 0xFFFF); le16(v, x >> 16); };
  std::vector<uint8_t> b;
  uint32_t dataBytes = samples * 2;
  b.insert(b.end(), {'R', 'I', 'F', 'F'});
  le32(b, 36 + dataBytes);
  b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  le32(b, 16);
  le16(b, 1);      // PCM
  le16(b, 1);      // mono
  le32(b, 8000);   // sample rate
  le32(b, 16000);  // byte rate
  le16(b, 2);      // block align
  le16(b, 16);     // bits per sample
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  le32(b, dataBytes);
  for (uint32_t i = 0; i < samples; ++i) le16(b, static_cast<uint16_t>((i % 16) * 1000));
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
  return path;
}

}  // namespace zxp::testing
