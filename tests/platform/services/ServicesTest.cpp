#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <tuple>

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
  EXPECT_EQ(std::tuple(rec.sound->played[0].frequency, rec.sound->played[0].bytes), std::tuple(8000, 1600u));
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

TEST(Sound, PlaysOnlyRegularFilesOfBoundedSizeAndNeverWaits) {
  RecordingServices rec;
  zxp::testing::TempDir dir;
  // A folder, a pipe without a writer (opening it for reading would wait for one) and an endless
  // device are refused at once; none of them may throw, hang or fill the memory.
  const std::string fifo = dir.file("pipe.wav");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {dir.path().string(), fifo, std::string("/dev/zero"), std::string("/dev/null")})
    EXPECT_EQ(PlaySoundA(path.c_str(), 0, SND_ASYNC | SND_FILENAME), 0) << path;
  // A wave file longer than the limit is not read at all (a sparse file: no disk is used).
  const std::string huge = zxp::testing::writeWave(dir.file("huge.wav"));
  ASSERT_EQ(truncate(huge.c_str(), static_cast<off_t>(kMaxSoundFileSize + 1)), 0);
  EXPECT_EQ(PlaySoundA(huge.c_str(), 0, SND_ASYNC), 0);
  EXPECT_TRUE(rec.sound->played.empty());
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
  EXPECT_EQ(std::tuple(w->channels, w->frequency), std::tuple(1, 8000));
  const std::vector<int16_t> tone{0, 1000, -1000, 32767, -32768};
  auto back = decodeWave(encodeWave(tone, 22050));
  ASSERT_TRUE(back);
  ASSERT_EQ(back->samples.size(), 10u);
  for (size_t i = 0; i < tone.size(); ++i)
    EXPECT_EQ(static_cast<int16_t>(back->samples[2 * i] | back->samples[2 * i + 1] << 8), tone[i]);
  bytes.resize(20);
  EXPECT_FALSE(decodeWave(bytes) || decodeWave(std::vector<uint8_t>{}));
}

// The largest block the audio library asks for while it runs; its allocations pass through to
// the C library, so mixing with blocks allocated before is safe.
class LargestAllocation {
 public:
  LargestAllocation() {
    SDL_GetMemoryFunctions(&malloc_, &calloc_, &realloc_, &free_);
    largest() = 0;
    SDL_SetMemoryFunctions(
        [](size_t n) { return note(n), std::malloc(n); },
        [](size_t k, size_t n) { return note(k * n), std::calloc(k, n); },
        [](void* p, size_t n) { return note(n), std::realloc(p, n); }, [](void* p) { std::free(p); });
  }
  ~LargestAllocation() { SDL_SetMemoryFunctions(malloc_, calloc_, realloc_, free_); }
  size_t bytes() const { return largest(); }

 private:
  static size_t& largest() {
    static size_t n = 0;
    return n;
  }
  static void note(size_t n) { largest() = std::max(largest(), n); }
  SDL_malloc_func malloc_;
  SDL_calloc_func calloc_;
  SDL_realloc_func realloc_;
  SDL_free_func free_;
};

TEST(Sound, ChunksDeclaringMoreThanTheFileHoldsCostNoMoreThanTheFile) {
  // A 64-byte mu-law file whose data chunk declares 2 155 360 288 bytes (found by fuzzing: the
  // decoder reserved the declared size before reading).
  const std::vector<uint8_t> file{
      'R', 'I', 'F', 'F', 0x46, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 0x12, 0, 0, 0, 7, 0, 1, 0,
      0x40, 0x1f, 0, 0, 0x40, 0x1f, 0, 0, 1, 0, 8, 0, 0, 0, 'd', 'a', 't', 'a', 0x20, 0x30, 0x78, 0x80,
      0x88, 0x90, 0x98, 0xa0, 0xa8, 0xb0, 0xb8, 0xc0, 0xc8, 0xd0, 0xd8, 0xe0, 0xe8, 0xf0, 0xf8, 0x00};
  // The same for a PCM file cut short inside its data, and one whose RIFF size is too large.
  std::vector<uint8_t> cut = encodeWave(std::vector<int16_t>(100, 1234), 8000);
  cut.resize(44 + 60);
  std::vector<uint8_t> riff = encodeWave(std::vector<int16_t>(10, 5), 8000);
  riff[4] = riff[5] = riff[6] = riff[7] = 0xFF;
  // A 7-channel 8-bit file whose header claims 1-byte frames, holding 32 bytes: 4 whole frames
  // (found by fuzzing: the partial fifth came back too).
  std::vector<uint8_t> seven = encodeWave(std::vector<int16_t>(16, 7), 8000);
  seven[22] = 7;                 // channels
  seven[32] = 1;                 // block align
  seven[34] = 8;                 // bits per sample
  // A file without its RIFF header, starting at "WAVE" and holding another header further on,
  // whose data chunk declares 4 GB (found by fuzzing: the chunks of such files were not bounded).
  const std::vector<uint8_t> bare{
      0x57, 0x41, 0x56, 0x45, 0x66, 0x6d, 0x74, 0x20, 0x12, 0x00, 0x00, 0x00, 0x06, 0x00, 0x01, 0x00,
      0x40, 0x1f, 0x52, 0x49, 0x46, 0x46, 0x46, 0x00, 0x00, 0x00, 0x57, 0x41, 0x56, 0x45, 0x66, 0x6d,
      0x74, 0x20, 0x12, 0x00, 0x00, 0x00, 0x06, 0x00, 0x01, 0x00, 0x40, 0x1f, 0x00, 0x00, 0x40, 0x1f,
      0x00, 0x00, 0x01, 0x00, 0x08, 0x00, 0x00, 0x00, 0x64, 0x61, 0x74, 0x61, 0x20, 0x00, 0x00, 0xf0, 0xf8
  };
  for (const std::vector<uint8_t>* bytes :
       std::initializer_list<const std::vector<uint8_t>*>{&file, &cut, &riff, &seven, &bare}) {
    LargestAllocation probe;
    const auto w = decodeWave(*bytes);
    EXPECT_LE(probe.bytes(), 4096u + 8 * bytes->size());
    if (w) {
      EXPECT_LE(w->samples.size(), 4 * bytes->size());
      EXPECT_EQ(w->samples.size() % (static_cast<size_t>(w->channels) * (SDL_AUDIO_BITSIZE(w->format) / 8)), 0u);
    }
  }
  const auto sevenWave = decodeWave(seven);
  ASSERT_TRUE(sevenWave);
  EXPECT_EQ(std::tuple(sevenWave->channels, sevenWave->samples.size()), std::tuple(7, 28u));
}

TEST(MessageBoxAndShell, AreRecorded) {
  RecordingServices rec;
  rec.messageBoxes->answer = IDNO;
  EXPECT_EQ(MsgBox("Really?", vbYesNo | vbQuestion, "Title"), IDNO);
  ASSERT_EQ(rec.messageBoxes->shown.size(), 1u);
  const auto& box = rec.messageBoxes->shown[0];
  EXPECT_EQ(std::tuple(box.text, box.caption, box.icon()), std::tuple("Really?", "Title", MB_ICONQUESTION));

  EXPECT_GT(ShellExecuteA(0, nullptr, "http://example.org/", nullptr, nullptr, 1), 32u);
  ASSERT_EQ(rec.shell->requests.size(), 1u);
  EXPECT_EQ(std::tuple(rec.shell->requests[0].operation, rec.shell->requests[0].file), std::tuple("open", "http://example.org/"));
}

// The recording backends are a headless process's defaults: a long run must not keep every box
// and document it was ever asked for, only the latest, in order, with a count of all.
TEST(MessageBoxAndShell, RecordsKeepOnlyTheLatestInOrderAndCountAll) {
  RecordingServices rec;
  const size_t keep = decltype(rec.messageBoxes->shown)::kKeep, asked = 5 * keep + 3;
  for (size_t i = 0; i < asked; ++i) {
    (void)MsgBox(std::to_string(i));
    (void)ShellExecuteA(0, nullptr, std::to_string(i).c_str(), nullptr, nullptr, 1);
  }
  const auto& shown = rec.messageBoxes->shown;
  EXPECT_EQ(shown.total(), asked);
  EXPECT_GE(shown.size(), keep);
  EXPECT_LT(shown.size(), 2 * keep);
  EXPECT_EQ(shown.back().text, std::to_string(asked - 1));
  for (size_t i = 0; i < shown.size(); ++i)
    ASSERT_EQ(shown[i].text, std::to_string(asked - shown.size() + i));
  const auto& requests = rec.shell->requests;
  EXPECT_EQ(std::tuple(requests.total(), requests.size(), requests.back().file),
            std::tuple(asked, shown.size(), std::to_string(asked - 1)));
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
  EXPECT_EQ(std::tuple(libraryRefCount("Shell32.dll"), GetModuleHandleA("Shell32.dll")), std::tuple(0, 0u));
  EXPECT_EQ(FreeLibrary(a), 0);  // stale handle
  EXPECT_EQ(handles().liveCount(ObjKind::Module), live);
}

}  // namespace
}  // namespace zxp::services
