// The platform's file services on this machine (POSIX file systems): path translation, the
// platform's directory search with its wildcard rules, file attributes and error numbers.
//
// Paths. The API takes UTF-8 paths with "\" or "/" as separators. A path is cut at its first NUL
// (the platform's paths are NUL-terminated), and must be well-formed UTF-8: file names on this
// machine are UTF-8, and malformed bytes make the name invalid. A leading drive "C:" stands for
// this machine's one file system: "C:\x" is "/x" and "C:x" is "x" relative to the current
// folder (drive C's current folder is the process's). Other drive letters name no drive here.
// Lengths are this machine's (255 bytes a name, 4095 a path); longer names fail as invalid.
//
// Attributes (the host's VbFileAttribute bits) map onto this machine as follows:
//   vbReadOnly   the owner may not write (no owner write permission). Setting it removes every
//                write permission; clearing it gives the owner write permission back. As on the
//                platform, a read-only file is not deleted or overwritten by the file services
//                and a read-only folder is not removed, whoever the caller is.
//   vbHidden     the name starts with "." (other than "." and ".."). Derived from the name, so
//                setting or clearing it has no effect.
//   vbSystem     a device, pipe or socket: not a regular file and not a folder. Cannot be set.
//   vbDirectory  a folder.
//   vbArchive    every regular file (this machine keeps no archive flag). Cannot be changed.
// Symbolic links are followed, as the platform's calls follow its links.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zxp {

// The host's file attribute bits.
enum VbFileAttribute : int32_t {
  vbNormal = 0,
  vbReadOnly = 1,
  vbHidden = 2,
  vbSystem = 4,
  vbVolume = 8,
  vbDirectory = 16,
  vbArchive = 32,
  vbAlias = 64,
};

}  // namespace zxp

namespace zxp::services {

// The path's text up to its first NUL, as the platform reads a path.
std::string_view untilNul(std::string_view text);

// Translates an API path into this machine's form ("\" becomes "/"; on Linux the drive C: is the
// root and other drives do not exist, on Windows drives are the platform's). Returns 0, or an
// errno value: EINVAL for a malformed path (bad UTF-8), ENOENT for an empty path or a drive that
// does not exist here.
int toNativePath(std::string_view apiPath, std::string& native);

// True when the text holds the search wildcards "*" or "?", which no file name may contain.
bool hasWildcards(std::string_view text);

// The platform's name matching for a directory search, case-insensitive for ASCII letters.
// "*" matches any run of characters and "?" one character; the pattern "*.*" matches every name,
// with or without a dot. The platform's refinements for dotted names apply: a "*" right before
// a "." does not run past the name's last dot, a "?" matches nothing at a dot or at the end of
// the name ("a??" matches "a"), and a "." before a wildcard or at the end of the pattern also
// matches the end of the name ("*." matches names without an extension).
bool matchesWildcard(std::string_view name, std::string_view pattern);

// The platform's directory search: every entry matching the last part of the pattern within the
// folder the rest of it names, "." and ".." included when they match. A pattern that ends with a
// separator has no last part and finds nothing; a last part without wildcards looks up that one
// name. Wildcards outside the last part, missing or unreadable folders and invalid paths find
// nothing. Names are the raw names on disk (possibly not UTF-8), "." and ".." first, then in
// the platform's listing order: by name compared case-insensitively, then byte by byte.
std::vector<std::string> findFiles(std::string_view apiPattern);

// The attribute bits of a file system entry, from its status and the last part of its name.
int32_t attributesOf(const struct stat& st, std::string_view name);
// The last part of a native path, trailing separators ignored ("/a/b/" gives "b").
std::string_view lastPathPart(std::string_view nativePath);

// Whether the entry carries the read-only attribute (see above).
inline bool isReadOnly(const struct stat& st) { return (st.st_mode & S_IWUSR) == 0; }
// Sets or clears the read-only attribute as described above. Returns 0 or an errno value.
int setReadOnly(const std::string& nativePath, bool readOnly);

// The host's error number for an errno value of a file operation. `folder` says that the
// operation works on folders, where a missing path is "Path not found" (76) rather than "File
// not found" (53).
int32_t hostErrorForErrno(int err, bool folder);

}  // namespace zxp::services
