#include "UnixProgram.h"

#include <windows.h>

#include "platform/base/WideText.h"

namespace zxp::test::win32 {

std::string unixPath(const std::string& windowsPath) {
  using Convert = char*(CDECL*)(const wchar_t*);
  // Through void*: the loader's FARPROC is no function type of this shape.
  const auto convert = reinterpret_cast<Convert>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return {};
  char* unix = convert(base::widen(windowsPath).c_str());
  if (!unix) return {};
  std::string out = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return out;
}

std::string runUnixProgram(const std::string& program, const std::vector<std::string>& args) {
  // Wine does not connect a Unix program to the pipes of the platform, so a shell sends its
  // output to a temporary file, read here when the program has ended.
  wchar_t folder[MAX_PATH], file[MAX_PATH];
  if (!GetTempPathW(MAX_PATH, folder) || !GetTempFileNameW(folder, L"zxp", 0, file)) return "no temporary file";
  const std::string out = unixPath(base::narrow(file));
  if (out.empty()) return "not under Wine: no Unix programs to run";
  // Each argument in the platform's quoting, which Wine splits back into the program's argv.
  auto quoted = [](const std::string& a) {
    std::string q = "\"";
    for (char c : a) q += c == '"' ? std::string("\\\"") : std::string(1, c);
    return q + "\"";
  };
  // The shell renames the output when the program has ended: Wine does not track a Unix
  // program as a process the platform can wait for.
  std::string line = "\"Z:/bin/sh\" -c " + quoted("out=$1; shift; \"$@\" >\"$out.part\" 2>&1; mv \"$out.part\" \"$out.done\"") +
                     " sh " + quoted(out) + " " + quoted(program);
  for (const std::string& a : args) line += " " + quoted(a);
  std::wstring wide = base::widen(line);
  STARTUPINFOW start{};
  start.cb = sizeof start;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &process)) {
    DeleteFileW(file);
    return "could not start " + program + " (error " + std::to_string(GetLastError()) + ")";
  }
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  const std::wstring doneFile = std::wstring(file) + L".done";
  for (int i = 0; i < 3000 && GetFileAttributesW(doneFile.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(10);
  std::string text;
  HANDLE h = CreateFileW(doneFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) text = program + " did not finish within 30 seconds";
  else {
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0) text.append(buffer, n);
    CloseHandle(h);
  }
  DeleteFileW(doneFile.c_str());
  DeleteFileW(file);
  return text;
}

}  // namespace zxp::test::win32
