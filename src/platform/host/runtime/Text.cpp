#include "platform/host/runtime/Text.h"

#include "platform/base/CodePage.h"
#include "platform/base/HostError.h"

namespace zxp::host {
namespace {

// The code point at s[i] and its length; a malformed subsequence is one U+FFFD.
size_t decode(std::string_view s, size_t i, char32_t& cp) {
  size_t len = 0;
  cp = decodeUtf8(s.substr(i), len);
  return len;
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

std::string UCase(std::string_view text) { return upperCaseText(text); }
std::string LCase(std::string_view text) { return lowerCaseText(text); }

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
