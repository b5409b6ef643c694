#include "platform/host/runtime/Text.h"

#include "platform/gfx/TextLayout.h"
#include "platform/host/HostError.h"

namespace zxp::host {
namespace {

// Decodes one UTF-8 character at s[i]; returns its length (1 for an invalid byte, whose value
// is then taken as the code point).
size_t decode(std::string_view s, size_t i, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  size_t len = 0;
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  if ((b0 & 0xE0) == 0xC0) {
    len = 2;
    cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3;
    cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4;
    cp = b0 & 0x07;
  } else {
    cp = b0;
    return 1;
  }
  if (i + len > s.size()) {
    cp = b0;
    return 1;
  }
  for (size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      cp = b0;
      return 1;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  // Overlong forms, surrogates and values beyond Unicode are not characters: keep the byte.
  static constexpr char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    cp = b0;
    return 1;
  }
  return len;
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
    const size_t len = decode(text, i, cp);
    const bool invalid = len == 1 && cp >= 0x80;
    const char32_t mapped = invalid ? cp : map(cp);
    if (mapped == cp) out.append(text.substr(i, len));  // keeps invalid bytes as they are
    else if (mapped < 0x80) out.push_back(static_cast<char>(mapped));
    else out += gfx::encodeUtf8(std::u32string_view(&mapped, 1));
    i += len;
  }
  return out;
}

// Walks a text as UTF-16 code units.
struct Utf16Reader {
  std::string_view s;
  size_t i = 0;
  char16_t pendingLow = 0;

  bool next(char16_t& unit) {
    if (pendingLow) {
      unit = pendingLow;
      pendingLow = 0;
      return true;
    }
    if (i >= s.size()) return false;
    char32_t cp;
    i += decode(s, i, cp);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      unit = static_cast<char16_t>(0xD800 + (cp >> 10));
      pendingLow = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      unit = static_cast<char16_t>(cp);
    }
    return true;
  }
};

int compareUtf16(std::string_view a, std::string_view b) {
  Utf16Reader ra{a}, rb{b};
  for (;;) {
    char16_t ua = 0, ub = 0;
    const bool ha = ra.next(ua), hb = rb.next(ub);
    if (!ha || !hb) return ha == hb ? 0 : (ha ? 1 : -1);
    if (ua != ub) return ua < ub ? -1 : 1;
  }
}

size_t findFrom(std::string_view text, std::string_view sep, size_t from, CompareMethod method,
                const std::string& upperText, const std::string& upperSep) {
  if (method == CompareMethod::Binary) return text.find(sep, from);
  return std::string_view(upperText).find(upperSep, from);
}

}  // namespace

std::string UCase(std::string_view text) { return mapCase(text, upper); }
std::string LCase(std::string_view text) { return mapCase(text, lower); }

std::string_view LTrim(std::string_view text) {
  const size_t p = text.find_first_not_of(' ');
  return p == std::string_view::npos ? std::string_view{} : text.substr(p);
}

std::string_view RTrim(std::string_view text) {
  const size_t p = text.find_last_not_of(' ');
  return p == std::string_view::npos ? std::string_view{} : text.substr(0, p + 1);
}

std::string_view Trim(std::string_view text) { return RTrim(LTrim(text)); }

int StrComp(std::string_view a, std::string_view b, CompareMethod method) {
  if (method == CompareMethod::Text) return compareUtf16(UCase(a), UCase(b));
  return compareUtf16(a, b);
}

const std::string& TextList::operator()(long index) const {
  if (!has(index)) throw HostError(errSubscriptOutOfRange);
  return items_[static_cast<size_t>(index - 1)];
}

std::string_view TextList::itemOr(long index, std::string_view fallback) const {
  return has(index) ? std::string_view(items_[static_cast<size_t>(index - 1)]) : fallback;
}

TextList Split(std::string_view text, std::string_view separator, long limit, CompareMethod method) {
  std::vector<std::string> items;
  if (text.empty() || limit == 0) return TextList(std::move(items));
  if (separator.empty() || limit == 1) {
    items.emplace_back(text);
    return TextList(std::move(items));
  }
  // Case-insensitive search runs on the upper-case forms. Every case pair covered keeps its
  // UTF-8 length, so positions found in the upper-case copy are positions in the text; the
  // length check only guards that assumption.
  std::string upperText, upperSep;
  if (method == CompareMethod::Text) {
    upperText = UCase(text);
    upperSep = UCase(separator);
    if (upperText.size() != text.size() || upperSep.size() != separator.size()) method = CompareMethod::Binary;
  }
  size_t start = 0;
  for (;;) {
    if (limit > 0 && static_cast<long>(items.size()) == limit - 1) break;
    const size_t p = findFrom(text, separator, start, method, upperText, upperSep);
    if (p == std::string_view::npos) break;
    items.emplace_back(text.substr(start, p - start));
    start = p + separator.size();
  }
  items.emplace_back(text.substr(start));
  return TextList(std::move(items));
}

size_t utf8CharLength(std::string_view text, size_t pos) {
  if (pos >= text.size()) return 0;
  char32_t cp;
  return decode(text, pos, cp);
}

std::vector<std::string_view> utf8Characters(std::string_view text) {
  std::vector<std::string_view> out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t cp;
    const size_t len = decode(text, i, cp);
    out.push_back(text.substr(i, len));
    i += len;
  }
  return out;
}

}  // namespace zxp::host
