// The well-known folders on Windows: the platform's own answers (GetWindowsDirectoryW,
// GetSystemDirectoryW, GetTempPathW, SHGetFolderPathW). The numbers 65536 and 65537 (program
// files, common files) are the platform's CSIDL_PROGRAM_FILES and CSIDL_PROGRAM_FILES_COMMON.
#include "platform/services/ShellFolders.h"

#include "platform/base/WideText.h"

#include <windows.h>
#include <shlobj.h>

namespace zxp::services {

namespace {

template <class Call>
std::string folder(Call call) {
  wchar_t buffer[MAX_PATH + 1] = {};
  const UINT n = call(buffer, MAX_PATH + 1);
  return n > 0 && n <= MAX_PATH ? base::narrow(std::wstring_view(buffer, n)) : std::string();
}

}  // namespace

std::string windowsFolder() { return folder([](wchar_t* b, UINT n) { return GetWindowsDirectoryW(b, n); }); }

std::string systemFolder() { return folder([](wchar_t* b, UINT n) { return GetSystemDirectoryW(b, n); }); }

std::string temporaryFolder() {  // with the trailing "\" the platform gives it
  return folder([](wchar_t* b, UINT n) { return static_cast<UINT>(GetTempPathW(n, b)); });
}

std::string specialFolder(int32_t folderId) {
  int csidl = folderId;
  if (folderId == 65536) csidl = CSIDL_PROGRAM_FILES;
  else if (folderId == 65537) csidl = CSIDL_PROGRAM_FILES_COMMON;
  else if (folderId < 0 || folderId > 0xFF) return std::string();
  wchar_t buffer[MAX_PATH] = {};
  if (SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer) != S_OK) return std::string();
  return base::narrow(buffer);
}

}  // namespace zxp::services
