#include "platform/services/FileServices.h"

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "platform/base/CodePage.h"
#include "platform/base/HostError.h"

namespace zxp::services {

namespace {

// The platform's forms of the wildcards inside a search expression (see matchesWildcard).
constexpr char kDosStar = '<';  // "*" before a "." : any run, not past the name's last dot
constexpr char kDosQm = '>';    // "?" : one character, or nothing at a dot or the name's end
constexpr char kDosDot = '"';   // "." before a wildcard or at the end: a dot or the name's end

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Rewrites a search pattern into the expression the matcher runs, as the platform does before
// it searches. Wildcard-free patterns never reach here, so no literal '<', '>' or '"' is
// confused with these forms (and none of them is a valid character of a platform file name).
std::string searchExpression(std::string_view pattern) {
  if (pattern == "*.*") return "*";
  std::string expr(pattern);
  for (size_t i = 0; i < expr.size(); ++i) {
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    if (pattern[i] == '?') {
      expr[i] = kDosQm;
    } else if (pattern[i] == '*' && next == '.') {
      expr[i] = kDosStar;
    } else if (pattern[i] == '.' && (next == '?' || next == '*' || next == '\0')) {
      expr[i] = kDosDot;
    }
  }
  return expr;
}

// Matches name against a search expression. Memoised on (expression position, name position),
// so no pattern takes more than length x length steps.
class ExpressionMatcher {
 public:
  ExpressionMatcher(std::string_view name, std::string_view expr)
      : name_(name), expr_(expr), lastDot_(name.rfind('.')),
        memo_((expr.size() + 1) * (name.size() + 1), kUnknown) {}

  bool match(size_t e, size_t n) {
    int8_t& known = memo_[e * (name_.size() + 1) + n];
    if (known == kUnknown) known = compute(e, n) ? 1 : 0;
    return known == 1;
  }

 private:
  static constexpr int8_t kUnknown = -1;

  bool compute(size_t e, size_t n) {
    const size_t nameEnd = name_.size();
    if (e == expr_.size()) return n == nameEnd;
    switch (expr_[e]) {
      case '*':
        return match(e + 1, n) || (n < nameEnd && match(e, n + 1));
      case kDosStar:
        if (match(e + 1, n)) return true;
        return n < nameEnd && n != lastDot_ && match(e, n + 1);
      case kDosQm:
        if (n < nameEnd && name_[n] != '.') return match(e + 1, n + 1);
        // At a dot or the end the whole run of "?" matches nothing.
        while (e < expr_.size() && expr_[e] == kDosQm) ++e;
        return match(e, n);
      case kDosDot:
        if (n == nameEnd) return match(e + 1, n);
        return name_[n] == '.' && match(e + 1, n + 1);
      default:
        return n < nameEnd && upperAscii(name_[n]) == upperAscii(expr_[e]) && match(e + 1, n + 1);
    }
  }

  std::string_view name_;
  std::string_view expr_;
  size_t lastDot_;
  std::vector<int8_t> memo_;
};

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

// The platform's listing order: "." and ".." first, then by name ignoring ASCII case.
bool listedBefore(const std::string& a, const std::string& b) {
  const auto rank = [](const std::string& s) { return s == "." ? 0 : s == ".." ? 1 : 2; };
  if (rank(a) != rank(b)) return rank(a) < rank(b);
  const auto less = [](char x, char y) {
    return static_cast<unsigned char>(upperAscii(x)) < static_cast<unsigned char>(upperAscii(y));
  };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), less)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), less)) return false;
  return a < b;
}

}  // namespace

std::string_view untilNul(std::string_view text) { return text.substr(0, text.find('\0')); }

int toNativePath(std::string_view apiPath, std::string& native) {
  apiPath = untilNul(apiPath);
  native.clear();
  if (apiPath.empty()) return ENOENT;
  if (!isValidUtf8(apiPath)) return EINVAL;
#ifndef _WIN32
  // A drive: only C, this machine's one file system.
  if (apiPath.size() >= 2 && apiPath[1] == ':' &&
      ((apiPath[0] >= 'A' && apiPath[0] <= 'Z') || (apiPath[0] >= 'a' && apiPath[0] <= 'z'))) {
    if (upperAscii(apiPath[0]) != 'C') return ENOENT;
    apiPath.remove_prefix(2);
    if (apiPath.empty()) apiPath = ".";  // the drive's current folder
  }
#endif
  // On Windows the drives are the platform's own and a path keeps its drive; the platform's file
  // calls take "/" as a separator too.
  native.assign(apiPath);
  std::replace(native.begin(), native.end(), '\\', '/');
  return 0;
}

bool hasWildcards(std::string_view text) { return text.find_first_of("*?") != std::string_view::npos; }

bool matchesWildcard(std::string_view name, std::string_view pattern) {
  const std::string expr = searchExpression(pattern);
  return ExpressionMatcher(name, expr).match(0, 0);
}

std::vector<std::string> findFiles(std::string_view apiPattern) {
  std::vector<std::string> found;
  std::string pattern;
  if (toNativePath(apiPattern, pattern) != 0) return found;

  const size_t slash = pattern.rfind('/');
  std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : pattern.substr(0, slash);
  std::string name = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
  // A pattern ending in a separator names no entry: the platform's search finds nothing for it.
  if (hasWildcards(folder) || name.empty()) return found;

  if (!hasWildcards(name)) {
    struct stat st;
    if (lstat((folder + "/" + name).c_str(), &st) == 0) found.push_back(name);
    return found;
  }

  std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
  if (!dir) return found;
  const std::string expr = searchExpression(name);
  while (const dirent* entry = readdir(dir.get())) {
    const std::string_view entryName(entry->d_name);
    if (ExpressionMatcher(entryName, expr).match(0, 0)) found.emplace_back(entryName);
  }
  std::sort(found.begin(), found.end(), listedBefore);
  return found;
}

std::string_view lastPathPart(std::string_view nativePath) {
  while (nativePath.size() > 1 && nativePath.back() == '/') nativePath.remove_suffix(1);
  const size_t slash = nativePath.rfind('/');
  if (slash == std::string_view::npos || nativePath == "/") return nativePath;
  return nativePath.substr(slash + 1);
}

int32_t attributesOf(const struct stat& st, std::string_view name) {
  int32_t attributes = vbNormal;
  if (isReadOnly(st)) attributes |= vbReadOnly;
  if (name.size() > 1 && name[0] == '.' && name != "..") attributes |= vbHidden;
  if (S_ISDIR(st.st_mode)) {
    attributes |= vbDirectory;
  } else if (S_ISREG(st.st_mode)) {
    attributes |= vbArchive;
  } else {
    attributes |= vbSystem;
  }
  return attributes;
}

int setReadOnly(const std::string& nativePath, bool readOnly) {
  struct stat st;
  if (stat(nativePath.c_str(), &st) != 0) return errno;
  mode_t mode = st.st_mode & 07777;
  if (readOnly) {
    mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
  } else if (isReadOnly(st)) {
    mode |= S_IWUSR;
  }
  if (mode != (st.st_mode & 07777) && chmod(nativePath.c_str(), mode) != 0) return errno;
  return 0;
}

int32_t hostErrorForErrno(int err, bool folder) {
  switch (err) {
    case ENOENT:
      return folder ? errPathNotFound : errFileNotFound;
    case ENOTDIR:
      return errPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return errPermissionDenied;
    case EINVAL:
    case EILSEQ:
    case ENAMETOOLONG:
      return errBadFileNameOrNumber;
    case ENOSPC:
    case EDQUOT:
      return errDiskFull;
    case EIO:
      return errDeviceIOError;
    case EMFILE:
    case ENFILE:
      return errTooManyFiles;
    case ENOMEM:
      return errOutOfMemory;
    case EXDEV:
      return errRenameAcrossDrives;
    default:  // EEXIST, ENOTEMPTY, EBUSY, EISDIR, ELOOP, ...
      return errPathFileAccess;
  }
}

}  // namespace zxp::services
