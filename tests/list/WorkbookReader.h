// Reads a saved workbook back with an independent reader (openpyxl, through
// tests/list/read_workbook.py) and returns its description, one line per sheet, cell and width.
#pragma once

#include <cstdio>
#include <string>

namespace zxp::testing {

inline std::string readWorkbook(const std::string& path) {
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
}

}  // namespace zxp::testing
