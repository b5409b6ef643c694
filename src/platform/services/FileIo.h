// Reading and writing whole files safely, for every part of the project that touches a file named
// by a user: images, sounds, form files, PNG pictures, text exports.
//
// Reading (readRegularFile) opens without blocking and accepts only regular files, so a path
// naming a folder, a device such as /dev/zero or a pipe without a writer is refused at once
// instead of hanging the caller or reading without end; and it reads at most a given number of
// bytes, refusing larger files before allocating.
//
// Writing (writeFileAtomically) never leaves a half-written or lost file: the bytes go to a new
// temporary file in the target's folder, are flushed to the disk, and only then renamed over the
// target. Any failure (full disk, file-size limit, no permission) removes the temporary file and
// leaves the old target as it was. The target must be a regular file or not exist: a device,
// pipe, socket or folder is refused and never replaced. A symbolic link is followed, so the file
// it names is replaced and the link stays. A read-only target is refused, as the platform's file
// calls refuse to overwrite one. A new file gets the usual permissions (0666 less the umask), a
// replaced one keeps its own.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zxp::services {

// The outcome of a file operation: success, or an errno value with the reason in words.
struct FileOutcome {
  int error = 0;       // 0 on success, else an errno value
  std::string reason;  // empty on success, else e.g. "No space left on device"

  explicit operator bool() const { return error == 0; }
  static FileOutcome failure(int err, std::string_view why = {});
};

// Reads a whole regular file of at most maxBytes bytes. Refusals: EISDIR for a folder, EINVAL
// ("not a regular file") for devices, pipes and sockets, EFBIG for a larger file; else the
// errno of the failed call.
FileOutcome readRegularFile(const std::string& nativePath, uint64_t maxBytes, std::vector<uint8_t>& bytes);

// True when the path names a regular file this process may open for reading (without reading it).
bool isReadableRegularFile(const std::string& nativePath);

// Writes the bytes as the whole new content of the file, atomically (see above). Refusals: EISDIR
// for a folder, EINVAL ("not a regular file") for a device, pipe or socket, EACCES for a
// read-only file; else the errno of the failed call.
FileOutcome writeFileAtomically(const std::string& nativePath, std::span<const uint8_t> bytes);
FileOutcome writeFileAtomically(const std::string& nativePath, std::string_view text);

// Copies a regular file over a target by the same rules: the target is whole, old or new.
FileOutcome copyFileAtomically(const std::string& fromPath, const std::string& toPath);

}  // namespace zxp::services
