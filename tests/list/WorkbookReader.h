// Reads a saved workbook back with an independent reader (openpyxl, through
// tests/list/read_workbook.py) and returns its description, one line per sheet, cell and width.
#pragma once

#include <cstdio>
#include <string>

#ifdef _WIN32
#include "windows/UnixProgram.h"
#endif

namespace zxp::testing {

inline std::string readWorkbook(const std::string& path) {
#ifdef _WIN32
  // Under Wine the reader is the machine's own Python, given the file's Unix path.
  return test::win32::runUnixProgram("/usr/bin/python3",
                                     {ZXP_SOURCE_DIR "/tests/list/read_workbook.py", test::win32::unixPath(path)});
#else
  const std::string command =
      "/usr/bin/python3 '" ZXP_SOURCE_DIR "/tests/list/read_workbook.py' '" + path + "' 2>&1";
  std::string out;
  if (FILE* p = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
    ::pclose(p);
  }
  return out;
#endif
}

}  // namespace zxp::testing
