#include "platform/host/runtime/Numeric.h"

#include <charconv>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zxp::host {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// "&H..." and "&O..." (s starts with '&'). asLong: the literal carried the Long type suffix, so
// it is 32-bit whatever its length.
std::optional<double> parseRadix(std::string_view s, bool asLong) {
  if (s.size() < 3) return std::nullopt;
  const char kind = s[1];
  const bool hex = kind == 'H' || kind == 'h';
  if (!hex && kind != 'O' && kind != 'o') return std::nullopt;
  const std::string_view body = s.substr(2);
  if (body.size() > (hex ? 8u : 11u)) return std::nullopt;
  uint64_t v = 0;
  for (char c : body) {
    int d;
    if (isDigit(c)) d = c - '0';
    else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return std::nullopt;
    if (!hex && d > 7) return std::nullopt;
    v = v * (hex ? 16 : 8) + static_cast<uint64_t>(d);
  }
  if (v > 0xFFFFFFFFull) return std::nullopt;
  // Short literals are 16-bit Integers, longer ones 32-bit Longs, both two's complement.
  if (!asLong && (hex ? body.size() <= 4 : v <= 0xFFFF)) return static_cast<double>(static_cast<int16_t>(static_cast<uint16_t>(v)));
  return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(v)));
}

}  // namespace

std::optional<double> parseLongRadixLiteral(std::string_view text) {
  const std::string_view s = trimBlanks(text);
  if (s.size() < 4 || s.front() != '&' || s.back() != '&') return std::nullopt;
  return parseRadix(s.substr(0, s.size() - 1), true);
}

std::optional<double> parseNumber(std::string_view text) {
  const std::string_view s = trimBlanks(text);
  if (s.empty()) return std::nullopt;
  if (s[0] == '&') return parseRadix(s, false);

  size_t i = 0;
  const size_t n = s.size();
  bool paren = false, closed = false, currency = false;
  int sign = 0;  // 0 none, +1, -1
  // The decorations around the digits: at most one sign and one currency symbol in all, an
  // opening parenthesis before the digits and its closing one after them, in any order and with
  // blanks between them and the digits ("- 5", "5 -", "$ 5", "-(5)", "( $5 )").
  auto takeDecorations = [&](bool before) {
    while (i < n) {
      if (isBlank(s[i])) {
        ++i;
      } else if ((s[i] == '+' || s[i] == '-') && sign == 0) {
        sign = s[i] == '-' ? -1 : 1;
        ++i;
      } else if (s[i] == '$' && !currency) {
        currency = true;
        ++i;
      } else if (before && s[i] == '(' && !paren) {
        paren = true;
        ++i;
      } else if (!before && s[i] == ')' && paren && !closed) {
        closed = true;
        ++i;
      } else {
        break;
      }
    }
  };
  takeDecorations(true);

  // Mantissa: integer digits (with thousands groups), decimal point, fraction digits. The clean
  // copy holds what from_chars reads.
  std::string clean;
  clean.reserve(s.size() + 1);
  int mantissaDigits = 0;
  int intDigits = 0, leadingZeros = 0;  // to tell overflow from underflow below
  bool seenNonZero = false;
  auto put = [&](char ch) { clean.push_back(ch); };
  // Thousands separators are ignored wherever they stand after the first digit, in the integer
  // part and after the decimal point alike ("1,00" is 100, "1,,000" 1000, "1.5,000" 1.5).
  while (i < n && (isDigit(s[i]) || (s[i] == ',' && mantissaDigits > 0))) {
    if (s[i] != ',') {
      ++mantissaDigits;
      if (s[i] != '0') seenNonZero = true;
      if (seenNonZero) ++intDigits;
      if (seenNonZero || clean.empty()) put(s[i]);
    }
    ++i;
  }
  if (clean.empty()) put('0');
  if (i < n && s[i] == '.') {
    put('.');
    ++i;
    while (i < n && (isDigit(s[i]) || (s[i] == ',' && mantissaDigits > 0))) {
      if (s[i] != ',') {
        ++mantissaDigits;
        if (s[i] != '0') seenNonZero = true;
        else if (!seenNonZero) ++leadingZeros;
        put(s[i]);
      }
      ++i;
    }
  }
  if (mantissaDigits == 0) return std::nullopt;
  long exponent = 0;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    put('e');
    ++i;
    bool negExp = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) {
      negExp = s[i] == '-';
      put(s[i]);
      ++i;
    }
    int expDigits = 0;
    while (i < n && isDigit(s[i])) {
      if (exponent < 100000) exponent = exponent * 10 + (s[i] - '0');
      put(s[i]);
      ++i;
      ++expDigits;
    }
    if (expDigits == 0) return std::nullopt;
    if (negExp) exponent = -exponent;
  }
  takeDecorations(false);
  if (paren != closed || i != n) return std::nullopt;

  double value = 0.0;
  const auto res = std::from_chars(clean.data(), clean.data() + clean.size(), value);
  if (res.ec == std::errc::result_out_of_range) {
    if (!seenNonZero) return 0.0;
    const long magnitude = (intDigits > 0 ? intDigits : -leadingZeros) + exponent;
    if (magnitude > 0) return std::nullopt;  // beyond the largest double: the host's Overflow
    value = 0.0;                             // below the smallest: zero
  } else if (res.ec != std::errc() || res.ptr != clean.data() + clean.size()) {
    return std::nullopt;
  }
  if (!std::isfinite(value)) return std::nullopt;
  // A minus sign and parentheses together are one negation, not two.
  if (paren || sign < 0) value = -value;
  return value;
}

bool IsNumeric(std::string_view text) { return parseNumber(text).has_value(); }

double roundHalfEven(double x) {
  if (!std::isfinite(x)) return x;
  const double f = std::floor(x);
  const double diff = x - f;
  if (diff > 0.5) return f + 1;
  if (diff < 0.5) return f;
  return std::fmod(f, 2.0) == 0.0 ? f : f + 1;
}

std::optional<int32_t> CLng(double x) {
  const double r = roundHalfEven(x);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) return std::nullopt;
  return static_cast<int32_t>(r);
}

std::optional<int16_t> CInt(double x) {
  const double r = roundHalfEven(x);
  if (!(r >= -32768.0 && r <= 32767.0)) return std::nullopt;
  return static_cast<int16_t>(r);
}

std::optional<int32_t> CLng(std::string_view text) {
  const auto v = parseNumber(text);
  return v ? CLng(*v) : std::nullopt;
}

std::optional<int16_t> CInt(std::string_view text) {
  const auto v = parseNumber(text);
  return v ? CInt(*v) : std::nullopt;
}

std::string numberToText(double x) { return numberToText(x, 15); }

std::string numberToText(double x, int significantDigits) {
  if (std::isnan(x)) return "-1.#IND";
  if (std::isinf(x)) return x > 0 ? "1.#INF" : "-1.#INF";
  if (x == 0.0) return "0";
  char buf[40];
  const int digits = std::clamp(significantDigits, 1, 17);
  // A whole number with no more digits than asked for prints as its digits (what %G gives it):
  // the usual case (day numbers, counts, sizes), without the formatted-output machinery.
  static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9,
                                       1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17};
  if (std::fabs(x) < kPowers[std::min(digits, 15)] && x == std::trunc(x)) {
    const auto res = std::to_chars(buf, buf + sizeof buf, static_cast<int64_t>(x));
    return std::string(buf, res.ptr);
  }
  const int len = std::snprintf(buf, sizeof buf, "%.*G", digits, x);
  return std::string(buf, len > 0 ? static_cast<size_t>(len) : 0);
}

DecimalDigits toDecimalDigits(double x) {
  DecimalDigits d;
  if (!std::isfinite(x) || x == 0.0) return d;
  char buf[40];
  const auto res = std::to_chars(buf, buf + sizeof buf - 1, std::fabs(x), std::chars_format::scientific, 14);
  *res.ptr = '\0';  // d.dddddddddddddde+XX
  const char* p = buf;
  d.digits.push_back(*p++);
  if (*p == '.') ++p;
  while (isDigit(*p)) d.digits.push_back(*p++);
  if (*p == 'e') ++p;
  d.exponent = std::atoi(p) + 1;
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  return d;
}

void DecimalDigits::roundTo(int decimals) {
  if (digits.empty()) return;
  const long keep = static_cast<long>(exponent) + decimals;
  if (keep >= static_cast<long>(digits.size())) return;
  if (keep < 0) {
    digits.clear();
    exponent = 0;
    return;
  }
  const bool up = digits[static_cast<size_t>(keep)] >= '5';
  digits.resize(static_cast<size_t>(keep));
  if (up) {
    size_t k = digits.size();
    while (k > 0 && digits[k - 1] == '9') digits[--k] = '0';
    if (k == 0) {
      digits.insert(digits.begin(), '1');
      ++exponent;
    } else {
      ++digits[k - 1];
    }
  }
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  if (digits.empty()) exponent = 0;
}

std::string DecimalDigits::integerDigits() const {
  if (digits.empty() || exponent <= 0) return {};
  std::string out = digits.substr(0, static_cast<size_t>(exponent));
  if (static_cast<size_t>(exponent) > digits.size()) out.append(static_cast<size_t>(exponent) - digits.size(), '0');
  return out;
}

std::string DecimalDigits::fractionDigits(int decimals) const {
  std::string out;
  for (int j = 0; j < decimals; ++j) {
    const long idx = static_cast<long>(exponent) + j;
    out.push_back(idx >= 0 && idx < static_cast<long>(digits.size()) ? digits[static_cast<size_t>(idx)] : '0');
  }
  return out;
}

}  // namespace zxp::host
