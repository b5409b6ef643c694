#include "platform/base/CodePage.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace zxp {

namespace {

// Windows-1252 bytes 0x80-0x9F. The undefined bytes map to the C1 control of the same number.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

struct Decoded {
  char32_t cp;
  size_t length;
  bool wellFormed;
};

Decoded decode(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  const unsigned char b0 = p[0];
  if (b0 < 0x80) return {b0, 1, true};

  // Number of continuation bytes, and the allowed range of the first one (Unicode table 3-7),
  // which rules out overlong forms, surrogates and values past U+10FFFF.
  size_t more;
  unsigned char lo = 0x80, hi = 0xBF;
  char32_t cp;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    more = 1;
    cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    more = 2;
    cp = b0 & 0x0F;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    more = 3;
    cp = b0 & 0x07;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    return {kReplacementCharacter, 1, false};  // continuation byte, C0, C1 or F5-FF as a lead
  }
  for (size_t i = 1; i <= more; ++i) {
    // A truncated or broken sequence: its valid prefix is one U+FFFD.
    if (i >= n || p[i] < lo || p[i] > hi) return {kReplacementCharacter, i, false};
    lo = 0x80;
    hi = 0xBF;
    cp = (cp << 6) | (p[i] & 0x3F);
  }
  return {cp, more + 1, true};
}

char32_t upper(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  switch (c) {
    case 0xFF: return 0x178;
    case 0x161: return 0x160;
    case 0x153: return 0x152;
    case 0x17E: return 0x17D;
    default: return c;
  }
}

char32_t lower(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  switch (c) {
    case 0x178: return 0xFF;
    case 0x160: return 0x161;
    case 0x152: return 0x153;
    case 0x17D: return 0x17E;
    default: return c;
  }
}

template <class Map>
std::string mapCase(std::string_view text, Map map) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t cp;
    size_t len = 0;
    cp = decodeUtf8(text.substr(i), len);
    const char32_t mapped = map(cp);
    if (mapped == cp) out.append(text.substr(i, len));  // also keeps malformed bytes as they are
    else appendUtf8(out, mapped);
    i += len;
  }
  return out;
}

}  // namespace

char32_t decodeUtf8(std::string_view text, size_t& length) {
  const Decoded d = decode(text);
  length = d.length;
  return d.cp;
}

size_t encodeUtf8(char32_t cp, char out[4]) {
  if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = kReplacementCharacter;
  if (cp < 0x80) {
    out[0] = static_cast<char>(cp);
    return 1;
  }
  if (cp < 0x800) {
    out[0] = static_cast<char>(0xC0 | (cp >> 6));
    out[1] = static_cast<char>(0x80 | (cp & 0x3F));
    return 2;
  }
  if (cp < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (cp >> 12));
    out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (cp & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | (cp >> 18));
  out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (cp & 0x3F));
  return 4;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
    return;
  }
  char bytes[4];
  out.append(bytes, encodeUtf8(cp, bytes));
}

size_t utf8Size(char32_t cp) {
  if (cp < 0x80) return 1;
  if (cp < 0x800) return 2;
  if (cp < 0x10000 || cp > 0x10FFFF) return 3;  // surrogates and values past the range: U+FFFD
  return 4;
}

size_t asciiPrefixLength(std::string_view text) {
  const char* p = text.data();
  const size_t n = text.size();
  size_t i = 0;
  // Eight bytes at a time: any byte with its top bit set ends the run.
  for (; i + 8 <= n; i += 8) {
    uint64_t word;
    std::memcpy(&word, p + i, 8);
    if (word & 0x8080808080808080ull) break;
  }
  while (i < n && static_cast<unsigned char>(p[i]) < 0x80) ++i;
  return i;
}

bool isValidUtf8(std::string_view text) {
  size_t i = asciiPrefixLength(text);
  while (i < text.size()) {
    const Decoded d = decode(text.substr(i));
    if (!d.wellFormed) return false;
    i += d.length;
  }
  return true;
}

std::string sanitizeUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const size_t run = asciiPrefixLength(text.substr(i));
    out.append(text.data() + i, run);
    i += run;
    if (i >= text.size()) break;
    const Decoded d = decode(text.substr(i));
    if (d.wellFormed) {
      out.append(text.data() + i, d.length);
    } else {
      out += '?';
    }
    i += d.length;
  }
  return out;
}

size_t utf8Length(std::string_view text) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); ++count) {
    i += decode(text.substr(i)).length;
  }
  return count;
}

char toCp1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (int i = 0; i < 32; ++i) {
    if (kCp1252High[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

char32_t fromCp1252(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kCp1252High[byte - 0x80];
  return byte;
}

ConvertProgress utf8ToCp1252(std::string_view utf8, std::span<char> out) {
  const auto* in = reinterpret_cast<const unsigned char*>(utf8.data());
  const size_t n = utf8.size();
  const size_t cap = out.size();
  size_t r = 0, w = 0;
  while (r < n && w < cap) {
    // Eight bytes at a time while they fit: all of them when they are ASCII, else the ASCII
    // bytes before the first one with its top bit set (the whole word is stored, but only
    // those bytes count as written).
    if (r + 8 <= n && w + 8 <= cap) {
      uint64_t word;
      std::memcpy(&word, in + r, 8);
      const uint64_t high = word & 0x8080808080808080ull;
      std::memcpy(out.data() + w, &word, 8);
      if (high == 0) {
        r += 8;
        w += 8;
        continue;
      }
      if constexpr (std::endian::native == std::endian::little) {
        const size_t ascii = static_cast<size_t>(std::countr_zero(high)) / 8;
        r += ascii;
        w += ascii;
      }
    }
    const unsigned char b = in[r];
    if (b < 0x80) {
      out[w++] = static_cast<char>(b);
      ++r;
    } else if ((b == 0xC2 || b == 0xC3) && r + 1 < n && (in[r + 1] & 0xC0) == 0x80) {
      // U+0080-U+00FF, the most common case in Western text: Latin-1 is the code page there.
      const char32_t cp = (char32_t(b & 0x1F) << 6) | (in[r + 1] & 0x3F);
      out[w++] = cp >= 0xA0 ? static_cast<char>(cp) : toCp1252(cp);
      r += 2;
    } else {
      const Decoded d = decode(utf8.substr(r));
      out[w++] = toCp1252(d.cp);
      r += d.length;
    }
  }
  return {r, w};
}

std::string utf8ToCp1252(std::string_view utf8) {
  std::string out(utf8.size(), '\0');  // never longer than the UTF-8 form
  const ConvertProgress progress = utf8ToCp1252(utf8, std::span<char>(out));
  out.resize(progress.written);
  return out;
}

std::string cp1252ToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (const char c : ansi) appendUtf8(out, fromCp1252(static_cast<unsigned char>(c)));
  return out;
}

std::string upperCaseText(std::string_view text) { return mapCase(text, upper); }
std::string lowerCaseText(std::string_view text) { return mapCase(text, lower); }

}  // namespace zxp
