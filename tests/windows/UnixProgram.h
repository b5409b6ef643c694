// Runs a program of the machine Wine runs on (a Linux ELF file), from a test in
// zorvaxp-tests.exe: Wine's process creation starts such a file itself, which the platform's
// command interpreter (and so popen) refuses to. Only UnixProgram.cpp sees the platform's headers.
#pragma once

#include <string>
#include <vector>

namespace zxp::test::win32 {

// The Unix path of a path of the platform (Wine's own conversion); empty outside Wine.
std::string unixPath(const std::string& windowsPath);
// Runs `program` (a Unix path) with `args` and returns what it wrote to its standard output
// and error; a text saying why when it could not start.
std::string runUnixProgram(const std::string& program, const std::vector<std::string>& args);

}  // namespace zxp::test::win32
