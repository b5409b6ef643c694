// Case-insensitive name comparison (ASCII), the host's rule for property, member, event, class
// and control names: "caption" finds "Caption".
#pragma once

#include <string>
#include <string_view>

namespace zxp::host {

// Only A-Z fold, whatever the C library's locale says about other bytes.
inline char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

inline bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  }
  return true;
}

// The name in lower case: a key under which every spelling of a name meets.
inline std::string lowerKey(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = asciiLower(c);
  return out;
}

}  // namespace zxp::host
