// The host's Format function, English (United States) locale.
//
// Format(value, pattern) turns a value into text:
//   - no pattern: the value's default text (numbers as CStr shows them, dates as "General Date",
//     Booleans as "True"/"False", texts unchanged);
//   - a named format, matched without regard to case: "General Number", "Currency", "Fixed",
//     "Standard", "Percent", "Scientific", "Yes/No", "True/False", "On/Off", "General Date",
//     "Long Date", "Medium Date", "Short Date", "Long Time", "Medium Time", "Short Time";
//   - a user-defined pattern, whose kind is set by its first significant character:
//       numbers   0 # . , % E+ E- e+ e-, up to four sections "positive;negative;zero;null";
//       dates     c d dd ddd dddd ddddd dddddd w ww m mm mmm mmmm q y yy yyyy h hh n nn s ss
//                 ttttt AM/PM am/pm A/P a/p AMPM, ":" and "/" as the locale's separators, "m"
//                 or "mm" straight after an hour token meaning minutes; letters are matched
//                 without regard to case;
//       texts     @ & < > !, two sections "text;empty or null text";
//     in every kind "\x" shows x, "quoted text" shows as it stands, and any character the kind
//     does not know shows as itself.
// A text value that reads as a number (IsNumeric) is formatted as that number, one that reads as
// a date (IsDate) as that date; any other text comes back unformatted unless the pattern is a
// text pattern. A number used with a date pattern is taken as a date serial; one outside the
// date range comes back as its default text. Format never fails: whatever the input, some text
// comes back.
//
// Numbers are reduced to 15 significant digits before rounding, and round half away from zero,
// as the host's Format does (so 1.005 with "0.00" is "1.01", 2.5 with "0" is "3"). A negative
// number shown through the positive section gets a leading "-" even when it rounds to zero
// ("-0.00"), as on the host.
#pragma once

#include <string>
#include <string_view>
#include <type_traits>

#include "platform/host/runtime/Date.h"

namespace zxp::host {

// The host's locale settings the runtime uses (English, United States).
namespace locale {
inline constexpr std::string_view kShortDate = "m/d/yyyy";
inline constexpr std::string_view kLongDate = "dddd, mmmm d, yyyy";
inline constexpr std::string_view kLongTime = "h:nn:ss AM/PM";
inline constexpr char kDateSeparator = '/';
inline constexpr char kTimeSeparator = ':';
inline constexpr char kDecimalPoint = '.';
inline constexpr char kThousandsSeparator = ',';
inline constexpr std::string_view kCurrencySymbol = "$";
inline constexpr std::string_view kAM = "AM";
inline constexpr std::string_view kPM = "PM";
}  // namespace locale

// A value as Format sees it: Empty, Null, Boolean, a number, a date or a text.
class FormatValue {
 public:
  enum class Kind { Empty, Null, Boolean, Number, Date, Text };

  FormatValue() = default;
  FormatValue(bool b) : kind_(Kind::Boolean), number_(b ? -1.0 : 0.0) {}
  template <class T>
    requires(std::is_arithmetic_v<T> && !std::is_same_v<T, bool>)
  FormatValue(T n) : kind_(Kind::Number), number_(static_cast<double>(n)) {}
  FormatValue(Date d) : kind_(Kind::Date), number_(d.serial) {}
  FormatValue(std::string_view s) : kind_(Kind::Text), text_(s) {}
  FormatValue(const std::string& s) : kind_(Kind::Text), text_(s) {}
  FormatValue(const char* s) : kind_(Kind::Text), text_(s ? s : "") {}

  static FormatValue null() {
    FormatValue v;
    v.kind_ = Kind::Null;
    return v;
  }

  Kind kind() const { return kind_; }
  // Booleans as -1/0, dates as their serial.
  double number() const { return number_; }
  const std::string& text() const { return text_; }

 private:
  Kind kind_ = Kind::Empty;
  double number_ = 0.0;
  std::string text_;
};

// Format(value, pattern, first day of week, first week of year). The two settings only affect
// the "w" and "ww" tokens; their defaults (Sunday, the week of January 1) are the locale's.
std::string Format(const FormatValue& value, std::string_view pattern = {},
                   FirstDayOfWeek firstDay = FirstDayOfWeek::Sunday,
                   FirstWeekOfYear firstWeek = FirstWeekOfYear::Jan1);

// The default text of a date ("General Date"): "2/29/2024 6:30:15 PM", the date alone when the
// time is midnight, the time alone on day 0.
std::string dateToText(Date d);

}  // namespace zxp::host
