// The host runtime's numbers: the numeric test (IsNumeric), the text-to-number conversion that
// goes with it (CDbl), the integer conversions with round-half-to-even (CInt, CLng) and the
// default text of a number (CStr, the "General Number" format).
//
// Locale: English (United States): decimal point ".", thousands separator ",", currency "$".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zxp::host {

// Reads a text as the host reads a number. Accepted, with blanks (spaces, tabs) around:
//   an optional sign, written before or after the number (one sign in all), an optional "$"
//   before or after the digits, and parentheses around the whole for a negative amount; blanks
//   may stand between any of these and the digits ("- 5" and "5 -" are -5, "$ 5" is 5); a minus
//   sign and parentheses together are one negation ("-(5)" and "(-5)" are -5, as is "+(5)");
//   digits with at most one decimal point, at least one digit in all;
//   thousands separators anywhere after the first digit, ignored: "1,00" is 100, "12,34" is
//   1234, "123," is 123, "1,,000" is 1000, and after the decimal point too ("1.5,000" is 1.5);
//   an exponent "E" or "e", an optional sign and at least one digit;
//   or "&H" followed by 1..8 hexadecimal digits / "&O" followed by 1..11 octal digits, taken as
//   a 16-bit signed value up to four hex digits (&HFFFF = -1) and a 32-bit one above.
// Rejected: "", ".", "-", ",", ",100" (a separator before any digit), "--1", "1e", "1.2.3",
//   "1 2", values beyond the range of a double.
std::optional<double> parseNumber(std::string_view text);
// A hexadecimal or octal literal with the Long type suffix ("&HFF00&", "&O17&"): always a 32-bit
// value, so "&HFF00&" is 65280 where "&HFF00" is -256. Empty for anything else.
std::optional<double> parseLongRadixLiteral(std::string_view text);
// IsNumeric for a text: parseNumber succeeds.
bool IsNumeric(std::string_view text);

// Round to the nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2), as the
// host's integer conversions do. Not-a-number and infinities come back unchanged.
double roundHalfEven(double x);

// CLng / CInt: rounded half to even; empty when the result leaves the 32-/16-bit range (the
// host's Overflow) or the value is not a number.
std::optional<int32_t> CLng(double x);
std::optional<int16_t> CInt(double x);
// The same from a text (empty when the text is not numeric).
std::optional<int32_t> CLng(std::string_view text);
std::optional<int16_t> CInt(std::string_view text);
// CDbl from a text: parseNumber.
inline std::optional<double> CDbl(std::string_view text) { return parseNumber(text); }

// The host's default text for a number (CStr, Format "General Number"): up to 15 significant
// digits, no thousands separator, the exponent form ("1E+15", "1.5E-05") when the decimal
// exponent is below -4 or at least 15. Negative zero prints as "0"; infinities and not-a-number
// print as the host shows them ("1.#INF", "-1.#INF", "-1.#IND").
std::string numberToText(double x);
// The same with another number of significant digits (7 for a Single).
std::string numberToText(double x, int significantDigits);

// ---- Decimal digits ----------------------------------------------------------------------------
// A non-negative decimal number as digits: value = 0.d1 d2 d3 ... x 10^exponent. digits has no
// leading and no trailing zeros; empty digits is zero. This is how Format sees a double: the
// double is first reduced to 15 significant digits (as the host does), so 1.005 is "1005" with
// exponent 1 and rounds to 1.01.
struct DecimalDigits {
  std::string digits;
  int exponent = 0;

  bool isZero() const { return digits.empty(); }
  // Rounds half up (away from zero) to `decimals` places after the decimal point (decimals may
  // be negative).
  void roundTo(int decimals);
  // The integer part as digits without leading zeros ("" for zero) and the first `decimals`
  // digits of the fraction, padded with zeros.
  std::string integerDigits() const;
  std::string fractionDigits(int decimals) const;
};
// |x| to 15 significant digits; x must be finite.
DecimalDigits toDecimalDigits(double x);

}  // namespace zxp::host
