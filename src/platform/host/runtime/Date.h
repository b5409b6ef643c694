// The host runtime's date type and the calendar arithmetic around it.
//
// A date is a double: whole days since 1899-12-30 (day 0), the time of day as the fraction.
// Before day 0 the integer part counts back while the fraction still counts forward from
// midnight, so -1.25 is 1899-12-29 06:00 (not 1899-12-28 18:00). The host's calendar is the
// proleptic Gregorian one without the spreadsheet's phantom 1900-02-29: serial 60 is 1900-03-01.
// Valid dates run from 100-01-01 (serial -657434) to 9999-12-31 (serial 2958465, plus the day's
// fraction); operations that would leave that range return an empty optional.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zxp::host {

struct Date {
  double serial = 0.0;

  constexpr Date() = default;
  constexpr explicit Date(double s) : serial(s) {}
  friend constexpr auto operator<=>(const Date&, const Date&) = default;
};

constexpr int32_t kMinDateSerial = -657434;  // 100-01-01
constexpr int32_t kMaxDateSerial = 2958465;  // 9999-12-31

// The first day of the week, numbered as the host numbers them (vbUseSystemDayOfWeek = 0 means
// the locale's, which for English (United States) is Sunday).
enum class FirstDayOfWeek : int { System = 0, Sunday = 1, Monday, Tuesday, Wednesday, Thursday, Friday, Saturday };

// Which week counts as week 1 of a year (vbUseSystem = 0 means the locale's: the week of Jan 1).
enum class FirstWeekOfYear : int { System = 0, Jan1 = 1, FirstFourDays = 2, FirstFullWeek = 3 };

// A date split into its calendar and clock parts. The time is rounded to the nearest second (as
// the host does when it shows or splits a date), which may carry into the next day.
struct DateParts {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0;
  friend bool operator==(const DateParts&, const DateParts&) = default;
};

// True when serial lies within 100-01-01 00:00:00 .. 9999-12-31 23:59:59.
bool isValidDate(double serial);

// Exact construction: year 100..9999, month 1..12, day within the month, hour 0..23, minute and
// second 0..59. Anything else is rejected.
std::optional<Date> makeDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// The host's DateSerial: month and day may overflow or underflow and roll into neighbouring
// months and years (month 13 is January of the next year, day 0 the last day of the previous
// month); years 0..29 mean 2000..2029 and 30..99 mean 1930..1999. Empty when the result is out of
// range.
std::optional<Date> DateSerial(int year, int month, int day);
// The host's TimeSerial: the time as a fraction of a day; overflowing parts roll over (negative
// totals give a negative time, as the host does).
std::optional<Date> TimeSerial(int hour, int minute, int second);

// Splits a date into its parts. A serial outside the valid range (or NaN) is clamped to the nearest
// end of the range first, so the result is always a real calendar date.
DateParts splitDate(Date d);

// The calendar day of a date as a day count (0 = 1899-12-30, -1 = 1899-12-29, whatever the sign
// of the fraction) and its time of day in seconds, both after rounding to the nearest second.
int64_t dayNumber(Date d);
int32_t secondsOfDay(Date d);  // 0..86399

int Year(Date d);
int Month(Date d);
int Day(Date d);
int Hour(Date d);
int Minute(Date d);
int Second(Date d);

// Weekday 1..7 counted from firstDay (Sunday = 1 with the default and with System).
int Weekday(Date d, FirstDayOfWeek firstDay = FirstDayOfWeek::Sunday);
// Day of the year, 1..366.
int DayOfYear(Date d);
// Week of the year under the two settings (the host's DatePart "ww"). With Jan1 week 1 is the week
// holding January 1 and the count runs up to 53 or 54 at the end of December; with FirstFourDays
// and FirstFullWeek the first days of January may belong to the previous year's last week and the
// last days of December to week 1.
int WeekOfYear(Date d, FirstDayOfWeek firstDay = FirstDayOfWeek::Sunday,
               FirstWeekOfYear firstWeek = FirstWeekOfYear::Jan1);
// Quarter 1..4.
int Quarter(Date d);

bool isLeapYear(int year);
int daysInMonth(int year, int month);  // 0 for a month outside 1..12

// The date part only (time dropped) and the time part only (date dropped, as a fraction of 0).
Date datePart(Date d);
Date timePart(Date d);

// DatePart(interval, date): "yyyy" year, "q" quarter, "m" month, "y" day of year, "d" day,
// "w" weekday, "ww" week of year, "h" hour, "n" minute, "s" second (intervals are matched
// without regard to case). Empty for an interval the host does not know (its error 5).
std::optional<int> DatePart(std::string_view interval, Date d, FirstDayOfWeek firstDay = FirstDayOfWeek::Sunday,
                            FirstWeekOfYear firstWeek = FirstWeekOfYear::Jan1);

// DateAdd(interval, number, date) with the same intervals ("y", "d" and "w" add days, "ww"
// weeks). Adding months, quarters or years keeps the time and clips the day to the length of the
// target month (January 31 + 1 month = February 29 in 2024). Empty for an unknown interval or a
// result outside the date range.
std::optional<Date> DateAdd(std::string_view interval, int64_t number, Date d);

// English (United States) month and weekday names: MonthName(1) = "January", MonthName(1, true)
// = "Jan"; WeekdayName(1) = "Sunday" with Sunday first. Out-of-range numbers give "".
std::string MonthName(int month, bool abbreviate = false);
std::string WeekdayName(int weekday, bool abbreviate = false, FirstDayOfWeek firstDay = FirstDayOfWeek::Sunday);

// ---- The clock --------------------------------------------------------------------------------
// "Now" comes from a replaceable source so that the event loop (and tests) decide what today is.
// An empty function restores the default: on a real event-loop clock the system clock in the
// local time zone; on a virtual clock (tests, headless rendering) the virtual start date plus the
// clock's time, so that time-dependent drawing is the same on every run and moves only when the
// test advances the clock.
using NowSource = std::function<Date()>;
void setNowSource(NowSource source);
const NowSource& nowSource();
// The date and time a virtual clock's t = 0 stands for; 2024-01-01 00:00:00 until set.
void setVirtualStartDate(Date start);
Date virtualStartDate();

Date Now();        // date and time
Date Today();      // the date part of Now (the host's Date function)
Date TimeOfDay();  // the time part of Now (the host's Time function)

// ---- Conversions from system times -----------------------------------------------------------
// Seconds since 1970-01-01 00:00:00 UTC taken as they stand (no time zone), as a date.
// Empty when the result lies outside the valid date range.
std::optional<Date> dateFromUnixTime(double unixSeconds);
// The same instant in the local time zone, to the whole second, as the host shows file and clock
// times.
std::optional<Date> localDateFromUnixTime(int64_t unixSeconds);
std::optional<Date> localDateFromSystemTime(std::chrono::system_clock::time_point tp);
std::optional<Date> localDateFromFileTime(std::filesystem::file_time_type ft);
// The inverse of dateFromUnixTime.
double unixTimeFromDate(Date d);

}  // namespace zxp::host
