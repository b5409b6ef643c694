// UTF-8 <-> UTF-16 for the Windows build's calls of the platform's wide-character functions.
#pragma once

#ifdef _WIN32
#include <string>
#include <string_view>

namespace zxp::base {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace zxp::base
#endif
