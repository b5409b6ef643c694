#include "foundation/clsFileSystemObj.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <new>

#include "platform/base/CodePage.h"
#include "platform/base/HostError.h"
#include "platform/host/runtime/Text.h"
#include "platform/services/FileIo.h"
#include "platform/services/ShellFolders.h"
#include "platform/services/VersionInfo.h"

namespace zxp {

namespace fs = std::filesystem;
using services::hostErrorForErrno;
using services::isReadOnly;

namespace {

// The platform's buffers for returned paths hold 260 characters, the terminating NUL included.
constexpr size_t kPathBuffer = 260;

// A text result: cut at the first NUL, then stripped of leading and trailing spaces.
std::string textResult(std::string_view text) { return std::string(host::Trim(services::untilNul(text))); }

// A path result, which the platform hands back only when it fits its buffer.
std::string pathResult(std::string_view path) {
  std::string text = textResult(path);
  if (utf8Length(services::untilNul(path)) >= kPathBuffer) return std::string();
  return text;
}

// This machine's form of a path that names one entry. Returns 0 or an errno value (EINVAL for
// an invalid name, wildcards included).
int entryPath(const std::string& apiPath, std::string& native) {
  if (const int err = services::toNativePath(apiPath, native); err != 0) return err;
  return services::hasWildcards(native) ? EINVAL : 0;
}

bool isFolder(const std::string& native) {
  struct stat st;
  return stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Raises the host's error for a failed operation. A missing entry whose folder is missing too
// is "Path not found", as on the platform, whose calls tell the two apart.
[[noreturn]] void raise(int err, const std::string& native, bool folder) {
  if (err == ENOENT && !folder && !native.empty()) {
    const fs::path parent = fs::path(native).parent_path();
    if (!parent.empty() && !isFolder(parent.string())) err = ENOTDIR;
  }
  throw HostError(hostErrorForErrno(err, folder));
}

std::string nativeOrRaise(const std::string& apiPath, bool folder) {
  std::string native;
  if (const int err = entryPath(apiPath, native); err != 0) raise(err, native, folder);
  return native;
}

struct stat statOrRaise(const std::string& native) {
  struct stat st;
  if (stat(native.c_str(), &st) != 0) raise(errno, native, false);
  return st;
}

// Boolean and text calls answer False or the empty text whatever goes wrong inside; raising
// calls turn an exhausted memory into the host's "Out of memory".
template <class F>
bool answer(F&& f) noexcept {
  try {
    return f();
  } catch (...) {
    return false;
  }
}

template <class F>
std::string text(F&& f) noexcept {
  try {
    return f();
  } catch (...) {
    return std::string();
  }
}

template <class F>
auto raising(F&& f) {
  try {
    return f();
  } catch (const std::bad_alloc&) {
    throw HostError(errOutOfMemory);
  }
}

// Copies a regular file to a destination that does not exist, keeping its modification time;
// removes what it made when it fails.
bool copyKeepingTime(const std::string& from, const std::string& to) {
  std::error_code ec;
  if (!fs::copy_file(from, to, fs::copy_options::none, ec)) {
    if (ec != std::errc::file_exists) fs::remove(to, ec);
    return false;
  }
  const fs::file_time_type time = fs::last_write_time(from, ec);
  if (!ec) fs::last_write_time(to, time, ec);
  return true;
}

bool isDriveName(std::string_view name) {
  const bool letter = !name.empty() && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
  return letter && (name.size() == 1 || (name[1] == ':' && (name.size() == 2 ||
                                                            (name.size() == 3 && (name[2] == '\\' || name[2] == '/')))));
}

bool canList(const std::string& native) {
  DIR* dir = opendir(native.c_str());
  if (dir == nullptr) return false;
  closedir(dir);
  return true;
}

}  // namespace

const host::MemberTable& clsFileSystemObj::memberTable() const {
  using C = clsFileSystemObj;
  static const host::MemberTable table = host::ClassMembers<C>("clsFileSystemObj")
                                             .method("CopyFile", &C::CopyFile).params({"dstFilePath", "srcFilePath", "blnOverwirte"})
                                             .method("CreateFolder", &C::CreateFolder).params({"lpstrFilePath"})
                                             .method("DeleteFile", &C::DeleteFile).params({"lpstrFilePath"})
                                             .method("DeleteFolder", &C::DeleteFolder).params({"lpStrFolderPath"})
                                             .method("DriverExists", &C::DriverExists).params({"lpstrDriveName"})
                                             .method("FileExists", &C::FileExists).params({"lpstrFilePath"})
                                             .method("FolderExists", &C::FolderExists).params({"lpStrFolderPath"})
                                             .method("GetBaseName", &C::GetBaseName).params({"lpStrLongPathName"})
                                             .method("GetAttributes", &C::GetAttributes).params({"lpStrPath"})
                                             .method("SetAttributes", &C::SetAttributes).params({"lpStrPath", "dstAttribute"})
                                             .method("GetFileSize", &C::GetFileSize).params({"lpStrPath"})
                                             .method("GetFileTitle", &C::GetFileTitle).params({"lpstrFilePath"})
                                             .method("GetFileVersion", &C::GetFileVersion).params({"lpStrPath"})
                                             .method("MoveFile", &C::MoveFile).params({"srcFilePath", "dstFilePath"})
                                             .method("GetWindowsFolderPath", &C::GetWindowsFolderPath)
                                             .method("GetTempoaryFolderPath", &C::GetTempoaryFolderPath)
                                             .method("GetSystemFolderPath", &C::GetSystemFolderPath)
                                             .method("GetFileDateAndTime", &C::GetFileDateAndTime).params({"lpstrFilePath"})
                                             .method("GetDesktopPath", &C::GetDesktopPath)
                                             .method("GetStartMenuPath", &C::GetStartMenuPath)
                                             .method("FilesCount", &C::FilesCount, 1).params({"lpStrPath", "lpstrFilter"})
                                             .method("FindFiles", &C::FindFiles).params({"lpStrPath", "lpstrFilter"})
                                             .build();
  return table;
}

std::string specialFolderPath(SpecialFolderIDs folder) {
  return text([&] { return pathResult(services::specialFolder(static_cast<int32_t>(folder))); });
}

bool clsFileSystemObj::CopyFile(const std::string& dstFilePath, const std::string& srcFilePath,
                                  bool blnOverwirte) const {
  return answer([&] {
    std::string from, to;
    if (entryPath(srcFilePath, from) != 0 || entryPath(dstFilePath, to) != 0) return false;
    struct stat src, dst;
    if (stat(from.c_str(), &src) != 0 || !S_ISREG(src.st_mode)) return false;
    if (stat(to.c_str(), &dst) != 0) return copyKeepingTime(from, to);
    // The destination exists: only a different, writable regular file may be replaced.
    if (!blnOverwirte || !S_ISREG(dst.st_mode) || isReadOnly(dst)) return false;
    if (dst.st_dev == src.st_dev && dst.st_ino == src.st_ino) return false;
    // Copied beside the destination and renamed over it: a failure leaves the old file whole.
    if (!services::copyFileAtomically(from, to)) return false;
    std::error_code ec;
    const fs::file_time_type time = fs::last_write_time(from, ec);
    if (!ec) fs::last_write_time(to, time, ec);
    return true;
  });
}

void clsFileSystemObj::CreateFolder(const std::string& lpstrFilePath) const {
  raising([&] {
    const std::string native = nativeOrRaise(lpstrFilePath, true);
    if (mkdir(native.c_str(), 0777) != 0) raise(errno, native, true);
  });
}

bool clsFileSystemObj::DeleteFile(const std::string& lpstrFilePath) const {
  return answer([&] {
    std::string native;
    if (entryPath(lpstrFilePath, native) != 0) return false;
    struct stat st;
    if (lstat(native.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    if (!S_ISLNK(st.st_mode) && isReadOnly(st)) return false;
    return unlink(native.c_str()) == 0;
  });
}

void clsFileSystemObj::DeleteFolder(const std::string& lpStrFolderPath) const {
  raising([&] {
    const std::string native = nativeOrRaise(lpStrFolderPath, true);
    struct stat st;
    if (lstat(native.c_str(), &st) != 0) raise(errno, native, true);
    if (!S_ISDIR(st.st_mode)) raise(ENOTDIR, native, true);
    if (isReadOnly(st)) raise(EACCES, native, true);
    if (rmdir(native.c_str()) != 0) raise(errno, native, true);
  });
}

bool clsFileSystemObj::DriverExists(const std::string& lpstrDriveName) const {
  return answer([&] {
    const std::string_view name = services::untilNul(lpstrDriveName);
    if (isDriveName(name)) return (name[0] == 'C' || name[0] == 'c') && canList(".");
    std::string native;
    return entryPath(lpstrDriveName, native) == 0 && canList(native);
  });
}

bool clsFileSystemObj::FileExists(const std::string& lpstrFilePath) const {
  return answer([&] {
    std::string native;
    if (entryPath(lpstrFilePath, native) != 0) return false;
    // Opened and closed at once; non-blocking so that a pipe without a writer does not wait.
    const int fd = open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return false;
    struct stat st;
    const bool file = fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
    close(fd);
    return file;
  });
}

bool clsFileSystemObj::FolderExists(const std::string& lpStrFolderPath) const {
  return answer([&] { return !services::findFiles(lpStrFolderPath).empty(); });
}

std::string clsFileSystemObj::GetBaseName(const std::string& lpStrLongPathName) const {
  return text([&] {
    std::string native;
    struct stat st;
    if (entryPath(lpStrLongPathName, native) != 0 || stat(native.c_str(), &st) != 0) return std::string();
    return pathResult(lpStrLongPathName);
  });
}

int32_t clsFileSystemObj::GetAttributes(const std::string& lpStrPath) const {
  return raising([&] {
    const std::string native = nativeOrRaise(lpStrPath, false);
    return services::attributesOf(statOrRaise(native), services::lastPathPart(native));
  });
}

void clsFileSystemObj::SetAttributes(const std::string& lpStrPath, int32_t dstAttribute) const {
  raising([&] {
    constexpr int32_t kSettable = vbReadOnly | vbHidden | vbSystem | vbArchive;
    if ((dstAttribute & ~kSettable) != 0) throw HostError(errInvalidProcedureCall);
    const std::string native = nativeOrRaise(lpStrPath, false);
    statOrRaise(native);
    if (const int err = services::setReadOnly(native, (dstAttribute & vbReadOnly) != 0); err != 0) {
      raise(err, native, false);
    }
  });
}

int32_t clsFileSystemObj::GetFileSize(const std::string& lpStrPath) const {
  return raising([&] {
    const std::string native = nativeOrRaise(lpStrPath, false);
    const struct stat st = statOrRaise(native);
    if (S_ISDIR(st.st_mode)) raise(EISDIR, native, false);
    return static_cast<int32_t>(static_cast<uint32_t>(st.st_size));
  });
}

std::string clsFileSystemObj::GetFileTitle(const std::string& lpstrFilePath) const {
  return text([&] {
    const std::string_view path = services::untilNul(lpstrFilePath);
    if (!isValidUtf8(path)) return std::string();
    const size_t cut = path.find_last_of("\\/:");
    const std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
    if (name.empty() || name.find_first_of("*?<>|\"") != std::string_view::npos) return std::string();
    for (const char c : name) {
      if (static_cast<unsigned char>(c) < 0x20) return std::string();
    }
    return pathResult(name);
  });
}

std::string clsFileSystemObj::GetFileVersion(const std::string& lpStrPath) const {
  return text([&] {
    std::string native;
    if (entryPath(lpStrPath, native) != 0) return std::string();
    const auto version = services::readFileVersion(native);
    return version ? textResult(version->text()) : std::string();
  });
}

bool clsFileSystemObj::MoveFile(const std::string& srcFilePath, const std::string& dstFilePath) const {
  return answer([&] {
    std::string from, to;
    if (entryPath(srcFilePath, from) != 0 || entryPath(dstFilePath, to) != 0) return false;
    struct stat src, dst;
    if (lstat(from.c_str(), &src) != 0 || lstat(to.c_str(), &dst) == 0) return false;
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    int err = errno;
    if (err == EINVAL || err == ENOSYS) {
      // The file system cannot promise not to replace; the destination was absent just now.
      if (rename(from.c_str(), to.c_str()) == 0) return true;
      err = errno;
    }
    if (err != EXDEV || !S_ISREG(src.st_mode)) return false;
    // Another file system: a file is copied and the original removed.
    if (!copyKeepingTime(from, to)) return false;
    if (unlink(from.c_str()) != 0) {
      unlink(to.c_str());
      return false;
    }
    return true;
  });
}

std::string clsFileSystemObj::GetWindowsFolderPath() const {
  return text([] { return pathResult(services::windowsFolder()); });
}

std::string clsFileSystemObj::GetTempoaryFolderPath() const {
  return text([] { return pathResult(services::temporaryFolder()); });
}

std::string clsFileSystemObj::GetSystemFolderPath() const {
  return text([] { return pathResult(services::systemFolder()); });
}

host::Date clsFileSystemObj::GetFileDateAndTime(const std::string& lpstrFilePath) const {
  return raising([&] {
    const std::string native = nativeOrRaise(lpstrFilePath, false);
    statOrRaise(native);
    std::error_code ec;
    const fs::file_time_type time = fs::last_write_time(native, ec);
    if (ec) raise(ec.value(), native, false);
    // A time outside the host's dates (years 100 to 9999) has no date to give.
    const auto date = host::localDateFromFileTime(time);
    if (!date) throw HostError(errOverflow);
    return *date;
  });
}

std::string clsFileSystemObj::GetDesktopPath() const {
  return specialFolderPath(SpecialFolderIDs::sfidCOMMON_DESKTOPDIRECTORY);
}

std::string clsFileSystemObj::GetStartMenuPath() const {
  return specialFolderPath(SpecialFolderIDs::sfidCOMMON_STARTMENU);
}

int32_t clsFileSystemObj::FilesCount(const std::string& lpStrPath, const std::string& lpstrFilter) const {
  try {
    const size_t count = services::findFiles(lpStrPath + "\\" + lpstrFilter).size();
    return static_cast<int32_t>(std::min<size_t>(count, INT32_MAX));
  } catch (...) {
    return 0;
  }
}

std::string clsFileSystemObj::FindFiles(const std::string& lpStrPath, const std::string& lpstrFilter) const {
  return text([&] {
    std::string joined;
    for (const std::string& name : services::findFiles(lpStrPath + "\\" + lpstrFilter)) {
      if (!joined.empty()) joined += '|';
      joined += sanitizeUtf8(name);
    }
    return textResult(joined);
  });
}

// ---- Enumerations as type information shows them ----

const host::EnumType& describeEnum(SpecialFolderIDs) {
  static const host::EnumType t{"SpecialFolderIDs", {{"sfidDESKTOP", 0}, {"sfidPROGRAMS", 2}, {"sfidPERSONAL", 5}, {"sfidFAVORITES", 6}, {"sfidSTARTUP", 7}, {"sfidRECENT", 8}, {"sfidSENDTO", 9}, {"sfidSTARTMENU", 11}, {"sfidDESKTOPDIRECTORY", 16}, {"sfidNETHOOD", 19}, {"sfidFONTS", 20}, {"sfidTEMPLATES", 21}, {"sfidCOMMON_STARTMENU", 22}, {"sfidCOMMON_PROGRAMS", 23}, {"sfidCOMMON_STARTUP", 24}, {"sfidCOMMON_DESKTOPDIRECTORY", 25}, {"sfidAPPDATA", 26}, {"sfidPRINTHOOD", 27}, {"sfidProgramFiles", 65536}, {"sfidCommonFiles", 65537}}};
  return t;
}

}  // namespace zxp
