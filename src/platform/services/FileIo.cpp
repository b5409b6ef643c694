#include "platform/services/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/services/FileServices.h"

namespace zxp::services {

namespace {

constexpr const char* kNotRegular = "not a regular file";

// Closes a descriptor when it goes out of scope.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Closes now and reports the close's own failure (a delayed write error shows here).
  int closeNow() {
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

FileOutcome refuseKind(mode_t mode) {
  if (S_ISDIR(mode)) return FileOutcome::failure(EISDIR);
  return FileOutcome::failure(EINVAL, kNotRegular);
}

int writeAll(int fd, std::span<const uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += static_cast<size_t>(n);
  }
  return 0;
}

// A temporary name beside the target, unique within this process and unlikely to meet another's.
std::string temporaryNameFor(const std::filesystem::path& target) {
  static std::atomic<uint64_t> counter{0};
  const uint64_t n = counter.fetch_add(1) ^ (static_cast<uint64_t>(::getpid()) << 32);
  std::filesystem::path tmp = target;
  tmp.replace_filename("." + target.filename().string() + ".tmp-" + std::to_string(n) + "-" +
                       std::to_string(static_cast<unsigned>(std::rand() & 0xFFFF)));
  return tmp.string();
}

}  // namespace

FileOutcome FileOutcome::failure(int err, std::string_view why) {
  FileOutcome f;
  f.error = err;
  f.reason = why.empty() ? std::string(std::strerror(err)) : std::string(why);
  return f;
}

FileOutcome readRegularFile(const std::string& nativePath, uint64_t maxBytes, std::vector<uint8_t>& bytes) {
  bytes.clear();
  // Non-blocking, so that opening a pipe without a writer (or a terminal) returns at once.
  Fd fd(::open(nativePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (fd.get() < 0) return FileOutcome::failure(errno);
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) return FileOutcome::failure(errno);
  if (!S_ISREG(st.st_mode)) return refuseKind(st.st_mode);
  if (static_cast<uint64_t>(st.st_size) > maxBytes) return FileOutcome::failure(EFBIG);
  bytes.resize(static_cast<size_t>(st.st_size));
  size_t done = 0;
  // A file that grows while it is read is cut at the size it had when opened.
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      bytes.clear();
      return FileOutcome::failure(err);
    }
    if (n == 0) break;  // the file shrank
    done += static_cast<size_t>(n);
  }
  bytes.resize(done);
  return {};
}

bool isReadableRegularFile(const std::string& nativePath) {
  Fd fd(::open(nativePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  struct stat st;
  return fd.get() >= 0 && ::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode);
}

namespace {

// Replaces the target with what `fill` writes into a fresh temporary file beside it (see the
// header for the rules). `fill` returns 0 or an errno value.
template <class Fill>
FileOutcome replaceAtomically(const std::string& nativePath, Fill&& fill) {
  if (nativePath.empty()) return FileOutcome::failure(ENOENT);
  namespace fs = std::filesystem;
  fs::path target(nativePath);
  struct stat st;
  bool exists = false;
  if (::lstat(nativePath.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    // Replace the file the link names, not the link.
    std::error_code ec;
    fs::path resolved = fs::weakly_canonical(target, ec);
    if (ec) return FileOutcome::failure(ec.value());
    target = resolved;
  }
  if (::stat(target.c_str(), &st) == 0) {
    exists = true;
    if (!S_ISREG(st.st_mode)) return refuseKind(st.st_mode);
    // Read-only is the owner's write permission, refused whoever the caller is (FileServices.h).
    if (isReadOnly(st)) return FileOutcome::failure(EACCES, "the file is read-only");
  } else if (errno != ENOENT) {
    return FileOutcome::failure(errno);
  }
  if (target.filename().empty()) return FileOutcome::failure(EISDIR);

  std::string tmp;
  int fdNum = -1;
  for (int attempt = 0; attempt < 100 && fdNum < 0; ++attempt) {
    tmp = temporaryNameFor(target);
    fdNum = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fdNum < 0 && errno != EEXIST) return FileOutcome::failure(errno);
  }
  if (fdNum < 0) return FileOutcome::failure(EEXIST);
  Fd fd(fdNum);
  auto fail = [&](int err) {
    ::unlink(tmp.c_str());
    return FileOutcome::failure(err);
  };
  if (exists && ::fchmod(fd.get(), st.st_mode & 07777) != 0) return fail(errno);
  if (const int err = fill(fd.get()); err != 0) return fail(err);
  if (::fsync(fd.get()) != 0) return fail(errno);
  if (const int err = fd.closeNow(); err != 0) return fail(err);
  if (::rename(tmp.c_str(), target.c_str()) != 0) return fail(errno);
  return {};
}

}  // namespace

FileOutcome writeFileAtomically(const std::string& nativePath, std::span<const uint8_t> bytes) {
  return replaceAtomically(nativePath, [&](int fd) { return writeAll(fd, bytes); });
}

FileOutcome copyFileAtomically(const std::string& fromPath, const std::string& toPath) {
  Fd from(::open(fromPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (from.get() < 0) return FileOutcome::failure(errno);
  struct stat st;
  if (::fstat(from.get(), &st) != 0) return FileOutcome::failure(errno);
  if (!S_ISREG(st.st_mode)) return refuseKind(st.st_mode);
  return replaceAtomically(toPath, [&](int to) {
    std::vector<uint8_t> buffer(size_t{1} << 16);
    while (true) {
      const ssize_t n = ::read(from.get(), buffer.data(), buffer.size());
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return errno;
      if (n == 0) return 0;
      if (const int err = writeAll(to, std::span<const uint8_t>(buffer.data(), static_cast<size_t>(n))); err != 0)
        return err;
    }
  });
}

FileOutcome writeFileAtomically(const std::string& nativePath, std::string_view text) {
  return writeFileAtomically(
      nativePath, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

}  // namespace zxp::services
