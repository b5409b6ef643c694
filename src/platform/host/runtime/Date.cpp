#include "platform/host/runtime/Date.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <ctime>
#include <utility>

#include "platform/host/NoCase.h"
#include "platform/ui/EventLoop.h"

namespace zxp::host {
namespace {

constexpr int64_t kUnixEpochSerial = 25569;  // 1970-01-01
constexpr int32_t kSecondsPerDay = 86400;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil); valid for
// any year that fits in 64 bits, so callers can range-check afterwards.
int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

// The serial of a calendar day and a time of day, with the host's encoding of negative dates.
double serialOf(int64_t dayIndex, int64_t seconds) {
  const double frac = static_cast<double>(seconds) / kSecondsPerDay;
  return dayIndex >= 0 ? static_cast<double>(dayIndex) + frac : static_cast<double>(dayIndex) - frac;
}

bool dayInRange(int64_t dayIndex) { return dayIndex >= kMinDateSerial && dayIndex <= kMaxDateSerial; }

// Calendar day and rounded second of a date, clamped into the valid range.
void decompose(Date d, int64_t& dayIndex, int32_t& seconds) {
  double s = d.serial;
  if (std::isnan(s)) s = 0.0;
  if (s <= kMinDateSerial - 1.0) s = kMinDateSerial;
  if (s >= kMaxDateSerial + 1.0) s = kMaxDateSerial + 86399.0 / kSecondsPerDay;
  const double whole = std::trunc(s);
  const double frac = std::fabs(s - whole);
  int64_t secs = static_cast<int64_t>(std::floor(frac * kSecondsPerDay + 0.5));
  dayIndex = static_cast<int64_t>(whole);
  if (secs >= kSecondsPerDay) {  // rounding carried into the next calendar day
    secs -= kSecondsPerDay;
    ++dayIndex;
  }
  if (dayIndex > kMaxDateSerial) {
    dayIndex = kMaxDateSerial;
    secs = kSecondsPerDay - 1;
  }
  seconds = static_cast<int32_t>(secs);
}

// Weekday 0..6 with 0 = firstDay.
int weekdayIndex(int64_t dayIndex, FirstDayOfWeek firstDay) {
  // Day 0 (1899-12-30) was a Saturday: Sunday-based index 6.
  int sundayBased = static_cast<int>(((dayIndex + 6) % 7 + 7) % 7);
  int first = firstDay == FirstDayOfWeek::System ? 1 : static_cast<int>(firstDay);
  if (first < 1 || first > 7) first = 1;
  return ((sundayBased - (first - 1)) % 7 + 7) % 7;
}

// The serial of the first day of week 1 of a year.
int64_t weekOneStart(int year, FirstDayOfWeek firstDay, FirstWeekOfYear firstWeek) {
  const int64_t jan1 = daysFromCivil(year, 1, 1) + kUnixEpochSerial;
  const int w = weekdayIndex(jan1, firstDay);
  switch (firstWeek) {
    case FirstWeekOfYear::FirstFourDays:
      return w <= 3 ? jan1 - w : jan1 - w + 7;
    case FirstWeekOfYear::FirstFullWeek:
      return w == 0 ? jan1 : jan1 - w + 7;
    default:
      return jan1 - w;
  }
}

int twoDigitYear(int year) {
  if (year >= 0 && year <= 29) return year + 2000;
  if (year >= 30 && year <= 99) return year + 1900;
  return year;
}

Date systemNow() {
  const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm lt{};
  localtime_r(&t, &lt);
  return makeDate(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday, lt.tm_hour, lt.tm_min,
                  lt.tm_sec < 60 ? lt.tm_sec : 59)
      .value_or(Date{});
}

NowSource& nowSlot() {
  static NowSource source;
  return source;
}

Date& virtualStartSlot() {
  static Date start = makeDate(2024, 1, 1, 0, 0, 0).value_or(Date{});
  return start;
}

}  // namespace

bool isValidDate(double serial) {
  return serial > kMinDateSerial - 1.0 && serial < kMaxDateSerial + 1.0;
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

std::optional<Date> makeDate(int year, int month, int day, int hour, int minute, int second) {
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
    return std::nullopt;
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) return std::nullopt;
  const int64_t dayIndex = daysFromCivil(year, month, day) + kUnixEpochSerial;
  return Date{serialOf(dayIndex, int64_t{hour} * 3600 + minute * 60 + second)};
}

std::optional<Date> DateSerial(int year, int month, int day) {
  const int64_t y = twoDigitYear(year);
  const int64_t months = y * 12 + (int64_t{month} - 1);
  const int64_t ry = months >= 0 ? months / 12 : -((-months + 11) / 12);
  const int64_t rm = months - ry * 12 + 1;
  if (ry < -1000000 || ry > 1000000) return std::nullopt;  // keeps the day arithmetic in range
  const int64_t dayIndex = daysFromCivil(ry, rm, 1) + kUnixEpochSerial + (int64_t{day} - 1);
  if (!dayInRange(dayIndex)) return std::nullopt;
  return Date{static_cast<double>(dayIndex)};
}

std::optional<Date> TimeSerial(int hour, int minute, int second) {
  const int64_t total = int64_t{hour} * 3600 + int64_t{minute} * 60 + second;
  int64_t days = total / kSecondsPerDay;
  int64_t secs = total % kSecondsPerDay;
  if (secs < 0) {
    secs += kSecondsPerDay;
    --days;
  }
  if (!dayInRange(days)) return std::nullopt;
  return Date{serialOf(days, secs)};
}

int64_t dayNumber(Date d) {
  int64_t dayIndex;
  int32_t secs;
  decompose(d, dayIndex, secs);
  return dayIndex;
}

int32_t secondsOfDay(Date d) {
  int64_t dayIndex;
  int32_t secs;
  decompose(d, dayIndex, secs);
  return secs;
}

DateParts splitDate(Date d) {
  int64_t dayIndex;
  int32_t secs;
  decompose(d, dayIndex, secs);
  DateParts p;
  civilFromDays(dayIndex - kUnixEpochSerial, p.year, p.month, p.day);
  p.hour = secs / 3600;
  p.minute = secs / 60 % 60;
  p.second = secs % 60;
  return p;
}

int Year(Date d) { return splitDate(d).year; }
int Month(Date d) { return splitDate(d).month; }
int Day(Date d) { return splitDate(d).day; }
int Hour(Date d) { return secondsOfDay(d) / 3600; }
int Minute(Date d) { return secondsOfDay(d) / 60 % 60; }
int Second(Date d) { return secondsOfDay(d) % 60; }

int Weekday(Date d, FirstDayOfWeek firstDay) { return weekdayIndex(dayNumber(d), firstDay) + 1; }

int DayOfYear(Date d) {
  const int64_t dayIndex = dayNumber(d);
  const DateParts p = splitDate(d);
  return static_cast<int>(dayIndex - (daysFromCivil(p.year, 1, 1) + kUnixEpochSerial)) + 1;
}

int WeekOfYear(Date d, FirstDayOfWeek firstDay, FirstWeekOfYear firstWeek) {
  const int64_t dayIndex = dayNumber(d);
  const int year = splitDate(d).year;
  int64_t start = weekOneStart(year, firstDay, firstWeek);
  if (dayIndex < start) {
    start = weekOneStart(year - 1, firstDay, firstWeek);
  } else if (firstWeek == FirstWeekOfYear::FirstFourDays || firstWeek == FirstWeekOfYear::FirstFullWeek) {
    if (dayIndex >= weekOneStart(year + 1, firstDay, firstWeek)) return 1;
  }
  return static_cast<int>((dayIndex - start) / 7) + 1;
}

int Quarter(Date d) { return (Month(d) - 1) / 3 + 1; }

Date datePart(Date d) { return Date{static_cast<double>(dayNumber(d))}; }
Date timePart(Date d) { return Date{serialOf(0, secondsOfDay(d))}; }

namespace {

enum class Interval { Year, Quarter, Month, DayOfYear, Day, Weekday, Week, Hour, Minute, Second, Unknown };

Interval intervalOf(std::string_view s) {
  static constexpr std::pair<std::string_view, Interval> kNames[] = {
      {"yyyy", Interval::Year}, {"q", Interval::Quarter},  {"m", Interval::Month},  {"y", Interval::DayOfYear},
      {"d", Interval::Day},     {"w", Interval::Weekday},  {"ww", Interval::Week}, {"h", Interval::Hour},
      {"n", Interval::Minute},  {"s", Interval::Second}};
  for (const auto& [name, interval] : kNames)
    if (equalsNoCase(s, name)) return interval;
  return Interval::Unknown;
}

}  // namespace

std::optional<int> DatePart(std::string_view interval, Date d, FirstDayOfWeek firstDay, FirstWeekOfYear firstWeek) {
  switch (intervalOf(interval)) {
    case Interval::Year: return Year(d);
    case Interval::Quarter: return Quarter(d);
    case Interval::Month: return Month(d);
    case Interval::DayOfYear: return DayOfYear(d);
    case Interval::Day: return Day(d);
    case Interval::Weekday: return Weekday(d, firstDay);
    case Interval::Week: return WeekOfYear(d, firstDay, firstWeek);
    case Interval::Hour: return Hour(d);
    case Interval::Minute: return Minute(d);
    case Interval::Second: return Second(d);
    case Interval::Unknown: break;
  }
  return std::nullopt;
}

std::optional<Date> DateAdd(std::string_view interval, int64_t number, Date d) {
  constexpr int64_t kLimit = int64_t{1} << 40;  // far beyond any valid result; keeps sums exact
  if (number > kLimit || number < -kLimit || !isValidDate(d.serial)) return std::nullopt;
  const int64_t day = dayNumber(d);
  const int64_t secs = secondsOfDay(d);
  int64_t months = 0, days = 0, seconds = 0;
  switch (intervalOf(interval)) {
    case Interval::Year: months = number * 12; break;
    case Interval::Quarter: months = number * 3; break;
    case Interval::Month: months = number; break;
    case Interval::DayOfYear:
    case Interval::Day:
    case Interval::Weekday: days = number; break;
    case Interval::Week: days = number * 7; break;
    case Interval::Hour: seconds = number * 3600; break;
    case Interval::Minute: seconds = number * 60; break;
    case Interval::Second: seconds = number; break;
    case Interval::Unknown: return std::nullopt;
  }
  int64_t newDay = day + days;
  if (months != 0) {
    const DateParts p = splitDate(d);
    const int64_t total = int64_t{p.year} * 12 + (p.month - 1) + months;
    const int64_t y = total >= 0 ? total / 12 : -((-total + 11) / 12);
    const int m = static_cast<int>(total - y * 12) + 1;
    if (y < 100 || y > 9999) return std::nullopt;
    const int dayOfMonth = std::min(p.day, daysInMonth(static_cast<int>(y), m));
    newDay = daysFromCivil(y, m, dayOfMonth) + kUnixEpochSerial;
  }
  int64_t newSecs = secs + seconds;
  newDay += newSecs >= 0 ? newSecs / kSecondsPerDay : -((-newSecs + kSecondsPerDay - 1) / kSecondsPerDay);
  newSecs = ((newSecs % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay;
  if (!dayInRange(newDay)) return std::nullopt;
  return Date{serialOf(newDay, newSecs)};
}

std::string MonthName(int month, bool abbreviate) {
  static constexpr std::array<const char*, 12> kNames = {
      "January", "February", "March",     "April",   "May",      "June",
      "July",    "August",   "September", "October", "November", "December"};
  if (month < 1 || month > 12) return {};
  std::string name = kNames[month - 1];
  return abbreviate ? name.substr(0, 3) : name;
}

std::string WeekdayName(int weekday, bool abbreviate, FirstDayOfWeek firstDay) {
  static constexpr std::array<const char*, 7> kNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                        "Thursday", "Friday", "Saturday"};
  if (weekday < 1 || weekday > 7) return {};
  int first = firstDay == FirstDayOfWeek::System ? 1 : static_cast<int>(firstDay);
  if (first < 1 || first > 7) first = 1;
  std::string name = kNames[(weekday - 1 + first - 1) % 7];
  return abbreviate ? name.substr(0, 3) : name;
}

void setNowSource(NowSource source) { nowSlot() = std::move(source); }
const NowSource& nowSource() { return nowSlot(); }

void setVirtualStartDate(Date start) { virtualStartSlot() = start; }
Date virtualStartDate() { return virtualStartSlot(); }

Date Now() {
  const NowSource& source = nowSlot();
  if (source) return source();
  if (const ui::VirtualClock* clock = ui::virtualClock()) {
    // The start plus the clock's whole seconds, as the system clock gives them.
    int64_t day = 0;
    int32_t second = 0;
    decompose(virtualStartSlot(), day, second);
    const int64_t total = second + clock->now() / 1000;
    const int64_t days = total / kSecondsPerDay;
    if (day + days > kMaxDateSerial) return Date{serialOf(kMaxDateSerial, kSecondsPerDay - 1)};
    return Date{serialOf(day + days, total - days * kSecondsPerDay)};
  }
  return systemNow();
}
Date Today() { return datePart(Now()); }
Date TimeOfDay() { return timePart(Now()); }

std::optional<Date> dateFromUnixTime(double unixSeconds) {
  if (!std::isfinite(unixSeconds)) return std::nullopt;
  const double days = std::floor(unixSeconds / kSecondsPerDay);
  if (days < kMinDateSerial - kUnixEpochSerial || days > kMaxDateSerial - kUnixEpochSerial) return std::nullopt;
  const double secs = unixSeconds - days * kSecondsPerDay;  // 0 <= secs < 86400
  const int64_t dayIndex = static_cast<int64_t>(days) + kUnixEpochSerial;
  const double frac = secs / kSecondsPerDay;
  return Date{dayIndex >= 0 ? static_cast<double>(dayIndex) + frac : static_cast<double>(dayIndex) - frac};
}

std::optional<Date> localDateFromUnixTime(int64_t unixSeconds) {
  // Outside about +-300000 years time_t conversion is pointless; the range check below rejects.
  if (unixSeconds < -100000000000LL || unixSeconds > 300000000000LL) return std::nullopt;
  const std::time_t t = static_cast<std::time_t>(unixSeconds);
  std::tm lt{};
  if (!localtime_r(&t, &lt)) return std::nullopt;
  return makeDate(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday, lt.tm_hour, lt.tm_min,
                  lt.tm_sec < 60 ? lt.tm_sec : 59);
}

std::optional<Date> localDateFromSystemTime(std::chrono::system_clock::time_point tp) {
  const auto secs = std::chrono::floor<std::chrono::seconds>(tp).time_since_epoch().count();
  return localDateFromUnixTime(static_cast<int64_t>(secs));
}

std::optional<Date> localDateFromFileTime(std::filesystem::file_time_type ft) {
  const auto sys = std::chrono::file_clock::to_sys(ft);
  const auto secs = std::chrono::floor<std::chrono::seconds>(sys).time_since_epoch().count();
  return localDateFromUnixTime(static_cast<int64_t>(secs));
}

double unixTimeFromDate(Date d) {
  const double whole = std::trunc(d.serial);
  const double frac = std::fabs(d.serial - whole);
  return (whole - kUnixEpochSerial + frac) * kSecondsPerDay;
}

}  // namespace zxp::host
