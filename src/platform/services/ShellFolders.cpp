#include "platform/services/ShellFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace zxp::services {

namespace {

std::string homeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  // No HOME: the user database's entry for this user.
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
  passwd entry;
  passwd* result = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 && result != nullptr &&
      result->pw_dir != nullptr) {
    return result->pw_dir;
  }
  return "/";
}

std::string inHome(const char* relative) {
  std::string home = homeFolder();
  if (home.back() != '/') home += '/';
  return home + relative;
}

}  // namespace

std::string windowsFolder() { return "/usr"; }

std::string systemFolder() { return "/usr/lib"; }

std::string temporaryFolder() {
  std::error_code ec;
  std::string folder = std::filesystem::temp_directory_path(ec).string();
  if (ec || folder.empty()) folder = "/tmp";
  if (folder.back() != '/') folder += '/';
  return folder;
}

std::string specialFolder(int32_t folderId) {
  switch (folderId) {
    case 0:   // desktop
    case 16:  // desktop folder
    case 25:  // common desktop folder
      return inHome("Desktop");
    case 2:   // programs
    case 11:  // start menu
      return inHome(".local/share/applications");
    case 22:  // common start menu
    case 23:  // common programs
      return "/usr/share/applications";
    case 7:
      return inHome(".config/autostart");
    case 24:
      return "/etc/xdg/autostart";
    case 5:
      return inHome("Documents");
    case 20:
      return "/usr/share/fonts";
    case 21:
      return inHome("Templates");
    case 26:
      return inHome(".config");
    case 65536:
      return "/opt";
    case 65537:
      return "/usr/local/lib";
    default:
      return std::string();
  }
}

}  // namespace zxp::services
