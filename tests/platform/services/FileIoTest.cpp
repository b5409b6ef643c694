// Reading untrusted files without blocking or unbounded reads, and writing files atomically.
#include "platform/services/FileIo.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/gfx/Png.h"
#include "support/TempWave.h"

namespace zxp::services {
namespace {

namespace fs = std::filesystem;

std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Files in the folder other than the ones named: a failed write must leave no temporary behind.
std::vector<std::string> namesIn(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Lowers the file-size limit for the scope (a full disk in miniature); the signal the kernel
// sends for an oversized write is ignored, so the write fails with EFBIG instead.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit lower{bytes, old_.rlim_max};
    setrlimit(RLIMIT_FSIZE, &lower);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  sighandler_t oldHandler_;
};

TEST(FileIo, WritesReplaceWholeFilesAndKeepTheirPermissions) {
  zxp::testing::TempDir dir;
  const std::string path = dir.file("out.txt");
  ASSERT_TRUE(writeFileAtomically(path, std::string_view("first")));
  EXPECT_EQ(contents(path), "first");
  chmod(path.c_str(), 0640);
  ASSERT_TRUE(writeFileAtomically(path, std::string_view("second, longer")));
  EXPECT_EQ(contents(path), "second, longer");
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"out.txt"});

  // Through a symbolic link the file it names is replaced; the link stays a link.
  const std::string link = dir.file("link.txt");
  ASSERT_EQ(symlink(path.c_str(), link.c_str()), 0);
  ASSERT_TRUE(writeFileAtomically(link, std::string_view("via link")));
  EXPECT_EQ(contents(path), "via link");
  EXPECT_TRUE(fs::is_symlink(link));
}

TEST(FileIo, AFailedWriteLeavesTheOldFileAndNamesTheReason) {
  zxp::testing::TempDir dir;
  const std::string path = dir.file("keep.txt");
  ASSERT_TRUE(writeFileAtomically(path, std::string_view("precious")));
  {
    FileSizeLimit limit(4);
    const FileOutcome r = writeFileAtomically(path, std::string_view("far more than four bytes"));
    EXPECT_FALSE(r);
    EXPECT_EQ(r.error, EFBIG);
    EXPECT_EQ(r.reason, std::strerror(EFBIG));
  }
  EXPECT_EQ(contents(path), "precious");
  EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"keep.txt"});

  // A copy over the file follows the same rules.
  const std::string big = dir.file("big.txt");
  {
    std::ofstream(big) << "a source larger than the limit";
    FileSizeLimit limit(4);
    EXPECT_EQ(copyFileAtomically(big, path).error, EFBIG);
  }
  EXPECT_EQ(contents(path), "precious");
  ASSERT_TRUE(copyFileAtomically(big, path));
  EXPECT_EQ(contents(path), "a source larger than the limit");
  EXPECT_EQ(copyFileAtomically("/dev/zero", path).error, EINVAL);
  EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"big.txt", "keep.txt"}));
  ASSERT_TRUE(writeFileAtomically(path, std::string_view("precious")));

  // A missing folder and a read-only file fail the same way: nothing changes.
  EXPECT_EQ(writeFileAtomically(dir.file("no/such/file"), std::string_view("x")).error, ENOENT);
  chmod(path.c_str(), 0444);
  const FileOutcome readOnly = writeFileAtomically(path, std::string_view("x"));
  EXPECT_EQ(readOnly.error, EACCES);
  EXPECT_EQ(contents(path), "precious");
}

TEST(FileIo, DevicesPipesAndFoldersAreNeverReplaced) {
  zxp::testing::TempDir dir;
  const std::string fifo = dir.file("pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& target : {fifo, std::string("/dev/null")}) {
    const FileOutcome r = writeFileAtomically(target, std::string_view("data"));
    EXPECT_EQ(r.error, EINVAL) << target;
    EXPECT_EQ(r.reason, "not a regular file") << target;
  }
  struct stat st;
  ASSERT_EQ(lstat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  ASSERT_EQ(stat("/dev/null", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
  EXPECT_EQ(writeFileAtomically(dir.path().string(), std::string_view("x")).error, EISDIR);
  EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"pipe"});
}

TEST(FileIo, PngWritesAreAtomicToo) {
  zxp::testing::TempDir dir;
  const std::string png = dir.file("shot.png");
  auto surface = gfx::Surface::create(40, 30);
  ASSERT_TRUE(gfx::writePng(*surface, png));
  const std::string before = contents(png);
  {
    FileSizeLimit limit(16);
    std::string why;
    EXPECT_FALSE(gfx::writePng(*surface, png, false, &why));
    EXPECT_EQ(why, std::strerror(EFBIG));
  }
  EXPECT_EQ(contents(png), before);  // libpng on its own would have removed it
  const std::string fifo = dir.file("pipe.png");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::string why;
  EXPECT_FALSE(gfx::writePng(*surface, fifo, false, &why));
  EXPECT_EQ(why, "not a regular file");
  EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST(FileIo, ReadsOnlyRegularFilesOfBoundedSize) {
  zxp::testing::TempDir dir;
  const std::string path = dir.file("data.bin");
  ASSERT_TRUE(writeFileAtomically(path, std::string_view("0123456789")));
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(readRegularFile(path, 10, bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "0123456789");
  EXPECT_EQ(readRegularFile(path, 9, bytes).error, EFBIG);
  EXPECT_TRUE(bytes.empty());

  // Neither a folder, nor a pipe without a writer (opening it would wait), nor an endless device.
  const std::string fifo = dir.file("pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(readRegularFile(dir.path().string(), 1 << 20, bytes).error, EISDIR);
  EXPECT_EQ(readRegularFile(fifo, 1 << 20, bytes).error, EINVAL);
  EXPECT_EQ(readRegularFile("/dev/zero", 1 << 20, bytes).error, EINVAL);
  EXPECT_EQ(readRegularFile(dir.file("missing"), 1 << 20, bytes).error, ENOENT);
  EXPECT_TRUE(isReadableRegularFile(path));
  EXPECT_FALSE(isReadableRegularFile(fifo));
  EXPECT_FALSE(isReadableRegularFile("/dev/zero"));
  EXPECT_FALSE(isReadableRegularFile(dir.path().string()));
}

}  // namespace
}  // namespace zxp::services
