#include <gtest/gtest.h>

#include <fstream>

#include "platform/services/Library.h"
#include "platform/services/Recording.h"
#include "support/TempWave.h"

namespace zxp::services {
namespace {

TEST(Sound, PlaysWaveFilesAndANewSoundReplacesThePrevious) {
  RecordingServices rec;
  zxp::testing::TempDir dir;
  std::string a = zxp::testing::writeWave(dir.file("a.wav"), 800);
  std::string b = zxp::testing::writeWave(dir.file("b.wav"), 80);
  std::ofstream(dir.file("bad.wav")) << "not a wave";

  EXPECT_EQ(PlaySoundA(a.c_str(), 0, SND_ASYNC | SND_FILENAME), 1);
  EXPECT_TRUE(rec.sound->playing());
  ASSERT_EQ(rec.sound->played.size(), 1u);
  EXPECT_EQ(rec.sound->played[0].frequency, 8000);
  EXPECT_EQ(rec.sound->played[0].bytes, 1600u);
  // SND_NOSTOP refuses to interrupt; a plain call replaces.
  EXPECT_EQ(PlaySoundA(b.c_str(), 0, SND_ASYNC | SND_NOSTOP), 0);
  EXPECT_EQ(PlaySoundA(b.c_str(), 0, SND_ASYNC), 1);
  ASSERT_EQ(rec.sound->played.size(), 2u);
  EXPECT_EQ(rec.sound->played[1].name, b);
  // Missing and malformed files play nothing.
  EXPECT_EQ(PlaySoundA(dir.file("missing.wav").c_str(), 0, SND_ASYNC), 0);
  EXPECT_EQ(PlaySoundA(dir.file("bad.wav").c_str(), 0, SND_ASYNC), 0);
  EXPECT_EQ(rec.sound->played.size(), 2u);
  // A null name stops.
  EXPECT_EQ(PlaySoundA(nullptr, 0, 0), 1);
  EXPECT_FALSE(rec.sound->playing());
}

TEST(Sound, DecodesDurationAndRejectsTruncatedFiles) {
  zxp::testing::TempDir dir;
  std::string path = zxp::testing::writeWave(dir.file("t.wav"), 8000);
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto w = decodeWave(bytes);
  ASSERT_TRUE(w);
  EXPECT_DOUBLE_EQ(w->durationMs(), 1000.0);
  // The encoder's samples come back as they went in (little-endian 16-bit, mono).
  EXPECT_EQ(w->channels, 1);
  EXPECT_EQ(w->frequency, 8000);
  const std::vector<int16_t> tone{0, 1000, -1000, 32767, -32768};
  auto back = decodeWave(encodeWave(tone, 22050));
  ASSERT_TRUE(back);
  ASSERT_EQ(back->samples.size(), 10u);
  for (size_t i = 0; i < tone.size(); ++i)
    EXPECT_EQ(static_cast<int16_t>(back->samples[2 * i] | back->samples[2 * i + 1] << 8), tone[i]);
  bytes.resize(20);
  EXPECT_FALSE(decodeWave(bytes));
  EXPECT_FALSE(decodeWave(std::vector<uint8_t>{}));
}

TEST(MessageBoxAndShell, AreRecorded) {
  RecordingServices rec;
  rec.messageBoxes->answer = IDNO;
  EXPECT_EQ(MsgBox("Really?", vbYesNo | vbQuestion, "Title"), IDNO);
  ASSERT_EQ(rec.messageBoxes->shown.size(), 1u);
  EXPECT_EQ(rec.messageBoxes->shown[0].text, "Really?");
  EXPECT_EQ(rec.messageBoxes->shown[0].caption, "Title");
  EXPECT_EQ(rec.messageBoxes->shown[0].icon(), MB_ICONQUESTION);

  EXPECT_GT(ShellExecuteA(0, nullptr, "http://example.org/", nullptr, nullptr, 1), 32u);
  ASSERT_EQ(rec.shell->requests.size(), 1u);
  EXPECT_EQ(rec.shell->requests[0].operation, "open");
  EXPECT_EQ(rec.shell->requests[0].file, "http://example.org/");
}

TEST(Library, LoadsSystemLibrariesWithReferenceCounts) {
  size_t live = handles().liveCount(ObjKind::Module);
  HMODULE a = LoadLibraryA("Shell32.dll");
  HMODULE b = LoadLibraryA("SHELL32");
  ASSERT_NE(a, 0u);
  EXPECT_EQ(a, b);
  EXPECT_EQ(libraryRefCount("shell32.dll"), 2);
  EXPECT_EQ(GetModuleHandleA("Shell32.dll"), a);
  EXPECT_EQ(LoadLibraryA("NoSuchLibrary.dll"), 0u);
  EXPECT_EQ(FreeLibrary(a), 1);
  EXPECT_EQ(libraryRefCount("Shell32.dll"), 1);
  EXPECT_EQ(FreeLibrary(b), 1);
  EXPECT_EQ(libraryRefCount("Shell32.dll"), 0);
  EXPECT_EQ(GetModuleHandleA("Shell32.dll"), 0u);
  EXPECT_EQ(FreeLibrary(a), 0);  // stale handle
  EXPECT_EQ(handles().liveCount(ObjKind::Module), live);
}

}  // namespace
}  // namespace zxp::services
