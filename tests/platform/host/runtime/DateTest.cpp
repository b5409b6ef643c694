// The date type: serials and their calendar parts, weekdays, weeks, the clock and system times.
#include "platform/host/runtime/Date.h"
#include "platform/ui/EventLoop.h"

#include <gtest/gtest.h>

#include "DatePartsPrint.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <fstream>

namespace zxp::host {
namespace {

struct SerialRow {
  double serial;
  DateParts parts;
};

// Serial <-> parts, both directions, including the edges of the range and the years around 1900.
TEST(RuntimeDate, SerialsAndParts) {
  const SerialRow rows[] = {
      {0.0, {1899, 12, 30, 0, 0, 0}}, {1.0, {1899, 12, 31, 0, 0, 0}}, {2.0, {1900, 1, 1, 0, 0, 0}},
      {60.0, {1900, 2, 28, 0, 0, 0}},  // no 1900-02-29: the day after is 61
      {61.0, {1900, 3, 1, 0, 0, 0}}, {25569.0, {1970, 1, 1, 0, 0, 0}}, {36526.0, {2000, 1, 1, 0, 0, 0}},
      {36585.0, {2000, 2, 29, 0, 0, 0}}, {45351.5, {2024, 2, 29, 12, 0, 0}}, {45351.75, {2024, 2, 29, 18, 0, 0}},
      {-1.25, {1899, 12, 29, 6, 0, 0}},  // negative: the fraction still counts forward
      {-1.75, {1899, 12, 29, 18, 0, 0}}, {-657434.0, {100, 1, 1, 0, 0, 0}}, {2958465.0, {9999, 12, 31, 0, 0, 0}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.serial);
    EXPECT_EQ(splitDate(Date{r.serial}), r.parts);
    const auto back = makeDate(r.parts.year, r.parts.month, r.parts.day, r.parts.hour, r.parts.minute, r.parts.second);
    ASSERT_TRUE(back.has_value());
    EXPECT_DOUBLE_EQ(back->serial, r.serial);
  }
}

TEST(RuntimeDate, TimeRoundsToTheNearestSecondAndCarries) {
  EXPECT_EQ(std::pair(secondsOfDay(Date{0.5 + 0.4 / 86400}), secondsOfDay(Date{0.5 + 0.6 / 86400})), std::pair(43200, 43201));
  EXPECT_EQ(splitDate(Date{45351.9999999}), (DateParts{2024, 3, 1, 0, 0, 0}));  // 0.009 s before midnight
  // Out-of-range serials and NaN clamp to a real date instead of producing garbage.
  EXPECT_EQ((std::vector<int>{splitDate(Date{1e300}).year, splitDate(Date{-1e300}).year, splitDate(Date{std::nan("")}).year}),
            (std::vector<int>{9999, 100, 1899}));
}

struct MakeRow {
  int y, m, d, h, n, s;
};

TEST(RuntimeDate, MakeDateRejectsImpossibleParts) {
  const MakeRow rejected[] = {
      {1900, 2, 29, 0, 0, 0}, {2023, 2, 29, 0, 0, 0}, {2024, 2, 30, 0, 0, 0}, {2024, 4, 31, 0, 0, 0},
      {2024, 13, 1, 0, 0, 0}, {2024, 0, 1, 0, 0, 0},  {2024, 1, 0, 0, 0, 0},  {99, 12, 31, 0, 0, 0},
      {10000, 1, 1, 0, 0, 0}, {2024, 1, 1, 24, 0, 0}, {2024, 1, 1, 0, 60, 0}, {2024, 1, 1, 0, 0, 60},
      {2024, 1, 1, -1, 0, 0},
  };
  for (const auto& r : rejected) {
    SCOPED_TRACE(testing::Message() << r.y << "-" << r.m << "-" << r.d << " " << r.h << ":" << r.n << ":" << r.s);
    EXPECT_FALSE(makeDate(r.y, r.m, r.d, r.h, r.n, r.s).has_value());
  }
}

struct LeapRow {
  int year;
  bool leap;
};

TEST(RuntimeDate, LeapYearsAndMonthLengths) {
  const LeapRow rows[] = {{1900, false}, {2000, true}, {2023, false}, {2024, true}, {2100, false}, {400, true}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.year);
    EXPECT_EQ(isLeapYear(r.year), r.leap);
    EXPECT_EQ(daysInMonth(r.year, 2), r.leap ? 29 : 28);
  }
  EXPECT_EQ((std::vector<int>{daysInMonth(2024, 4), daysInMonth(2024, 12), daysInMonth(2024, 13)}), (std::vector<int>{30, 31, 0}));
}

struct SerialArgsRow {
  int y, m, d;
  std::optional<double> serial;
};

TEST(RuntimeDate, DateSerialRollsOverAndMapsTwoDigitYears) {
  const SerialArgsRow rows[] = {
      {2024, 2, 29, 45351.0},
      {2024, 14, 1, 45689.0},       // 2025-02-01
      {2024, 3, 0, 45351.0},        // day 0: last day of February
      {2024, 1, -1, 45290.0},       // 2023-12-30
      {2024, 0, 1, 45261.0},        // month 0: December 2023
      {2024, -11, 1, 44927.0},      // 2023-01-01
      {24, 2, 29, 45351.0},         // 0..29 -> 2000s
      {30, 1, 1, 10959.0},          // 30..99 -> 1900s
      {99, 12, 31, 36525.0}, {100, 1, 1, -657434.0},
      {100, 1, 0, std::nullopt},    // before the first date
      {9999, 12, 32, std::nullopt}, // after the last
      {2147483647, 1, 1, std::nullopt}, {2024, 2147483647, 2147483647, std::nullopt},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << r.y << "," << r.m << "," << r.d);
    const auto got = DateSerial(r.y, r.m, r.d);
    ASSERT_EQ(got.has_value(), r.serial.has_value());
    if (got) {
      EXPECT_DOUBLE_EQ(got->serial, *r.serial);
    }
  }
  EXPECT_DOUBLE_EQ(TimeSerial(18, 0, 0)->serial, 0.75);
  EXPECT_DOUBLE_EQ(TimeSerial(0, 90, 0)->serial, 1.5 / 24);
  EXPECT_DOUBLE_EQ(TimeSerial(25, 0, 0)->serial, 1.0 + 1.0 / 24);
  EXPECT_EQ(splitDate(*TimeSerial(-1, 0, 0)), (DateParts{1899, 12, 29, 23, 0, 0}));
}

struct WeekdayRow {
  int y, m, d;
  int weekdaySunday, weekdayMonday, dayOfYear, quarter;
};

TEST(RuntimeDate, WeekdayDayOfYearQuarter) {
  const WeekdayRow rows[] = {
      {1899, 12, 30, 7, 6, 364, 4}, {1900, 1, 1, 2, 1, 1, 1},   {1900, 3, 1, 5, 4, 60, 1},
      {2000, 1, 1, 7, 6, 1, 1},     {2000, 12, 31, 1, 7, 366, 4}, {2024, 2, 29, 5, 4, 60, 1},
      {2024, 7, 4, 5, 4, 186, 3},   {1899, 12, 29, 6, 5, 363, 4}, {100, 1, 1, 6, 5, 1, 1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << r.y << "-" << r.m << "-" << r.d);
    const Date d = *makeDate(r.y, r.m, r.d, 13, 0, 0);
    EXPECT_EQ(Weekday(d), r.weekdaySunday);
    EXPECT_EQ(Weekday(d, FirstDayOfWeek::System), r.weekdaySunday);
    EXPECT_EQ(Weekday(d, FirstDayOfWeek::Monday), r.weekdayMonday);
    EXPECT_EQ(DayOfYear(d), r.dayOfYear);
    EXPECT_EQ(Quarter(d), r.quarter);
  }
}

struct WeekRow {
  int y, m, d;
  FirstDayOfWeek first;
  FirstWeekOfYear week;
  int expected;
};

TEST(RuntimeDate, WeekOfYearUnderEachSetting) {
  using F = FirstDayOfWeek;
  using W = FirstWeekOfYear;
  const WeekRow rows[] = {
      // Sunday first, week of January 1 (the list's FormatAColumn setting).
      {2024, 1, 1, F::Sunday, W::Jan1, 1}, {2024, 1, 6, F::Sunday, W::Jan1, 1}, {2024, 1, 7, F::Sunday, W::Jan1, 2},
      {2024, 12, 31, F::Sunday, W::Jan1, 53},
      {2000, 12, 31, F::Sunday, W::Jan1, 54},  // leap year starting on a Saturday
      {2023, 1, 1, F::Sunday, W::Jan1, 1}, {2024, 1, 1, F::System, W::System, 1}, {2024, 1, 7, F::Monday, W::Jan1, 1},
      {2024, 1, 8, F::Monday, W::Jan1, 2},
      // Monday first, first four-day week (the ISO rule).
      {2021, 1, 1, F::Monday, W::FirstFourDays, 53}, {2020, 12, 31, F::Monday, W::FirstFourDays, 53},
      {2019, 12, 30, F::Monday, W::FirstFourDays, 1}, {2026, 1, 1, F::Monday, W::FirstFourDays, 1},
      {2024, 1, 1, F::Monday, W::FirstFourDays, 1}, {2022, 1, 2, F::Monday, W::FirstFourDays, 52},
      // First full week.
      {2024, 1, 1, F::Sunday, W::FirstFullWeek, 53}, {2024, 1, 7, F::Sunday, W::FirstFullWeek, 1},
      {2023, 1, 1, F::Sunday, W::FirstFullWeek, 1}, {2023, 12, 31, F::Sunday, W::FirstFullWeek, 53},
      {2024, 12, 31, F::Sunday, W::FirstFullWeek, 52},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << r.y << "-" << r.m << "-" << r.d << " first " << static_cast<int>(r.first)
                                    << " week " << static_cast<int>(r.week));
    EXPECT_EQ(WeekOfYear(*makeDate(r.y, r.m, r.d), r.first, r.week), r.expected);
  }
}

TEST(RuntimeDate, MonthAndWeekdayNames) {
  const std::pair<int, const char*> months[] = {{1, "January"}, {2, "February"}, {5, "May"}, {9, "September"},
                                                {12, "December"}, {0, ""}, {13, ""}};
  for (const auto& [m, name] : months) {
    EXPECT_EQ(MonthName(m), name);
    EXPECT_EQ(MonthName(m, true), std::string(name).substr(0, 3));
  }
  EXPECT_EQ((std::vector<std::string>{WeekdayName(1), WeekdayName(4, true), WeekdayName(7),
                                      WeekdayName(1, false, FirstDayOfWeek::Monday), WeekdayName(7, true, FirstDayOfWeek::Monday),
                                      WeekdayName(8)}),
            (std::vector<std::string>{"Sunday", "Wed", "Saturday", "Monday", "Sun", ""}));
}

TEST(RuntimeDate, NowComesFromTheReplaceableSource) {
  setNowSource([] { return *makeDate(2024, 2, 29, 18, 30, 15); });
  EXPECT_EQ(std::tuple(Today().serial, Hour(TimeOfDay()), Second(Now()), TimeOfDay().serial < 1.0),
            std::tuple(45351.0, 18, 15, true));
  setNowSource(nullptr);  // back to the system clock
  EXPECT_GT(Now().serial, 45000.0);
  EXPECT_TRUE(isValidDate(Now().serial));
}

TEST(RuntimeDate, OnAVirtualClockNowIsTheStartDatePlusTheClock) {
  ui::resetWindowSystem();
  setNowSource(nullptr);
  EXPECT_EQ(splitDate(Now()), (DateParts{2024, 1, 1, 0, 0, 0}));
  ui::eventLoop().advance(((24 + 1) * 60 + 1) * 60 * 1000 + 1000 + 999);
  EXPECT_EQ(splitDate(Now()), (DateParts{2024, 1, 2, 1, 1, 1}));  // whole seconds

  // Before 1899-12-30 the serial keeps the host's encoding (negative day, positive time).
  const Date start = virtualStartDate();
  setVirtualStartDate(*makeDate(1899, 12, 28, 23, 0, 0));
  ui::resetWindowSystem();
  ui::eventLoop().advance(2 * 3600 * 1000);
  EXPECT_EQ(splitDate(Now()), (DateParts{1899, 12, 29, 1, 0, 0}));
  EXPECT_EQ(Now(), *makeDate(1899, 12, 29, 1, 0, 0));
  // Past the end of the range time stops at its last second.
  setVirtualStartDate(*makeDate(9999, 12, 31, 23, 0, 0));
  EXPECT_EQ(splitDate(Now()), (DateParts{9999, 12, 31, 23, 59, 59}));
  setVirtualStartDate(start);
  ui::resetWindowSystem();
}

TEST(RuntimeDate, SystemTimes) {
  EXPECT_DOUBLE_EQ(dateFromUnixTime(0)->serial, 25569.0);
  EXPECT_DOUBLE_EQ(dateFromUnixTime(86400 * 1.5)->serial, 25570.5);
  EXPECT_EQ(splitDate(*dateFromUnixTime(-25569.0 * 86400 - 86400 + 6 * 3600)), (DateParts{1899, 12, 29, 6, 0, 0}));
  EXPECT_FALSE(dateFromUnixTime(1e18) || dateFromUnixTime(std::nan("")));
  EXPECT_DOUBLE_EQ(unixTimeFromDate(Date{25570.5}), 86400 * 1.5);

  // In UTC the local conversion is the plain one; file times go through the same path.
  const char* oldTz = std::getenv("TZ");
  const std::string saved = oldTz ? oldTz : "";
  setenv("TZ", "UTC0", 1);
  tzset();
  EXPECT_DOUBLE_EQ(localDateFromUnixTime(1709229015)->serial, makeDate(2024, 2, 29, 17, 50, 15)->serial);
  EXPECT_FALSE(localDateFromUnixTime(INT64_MAX).has_value());
  const auto path = std::filesystem::temp_directory_path() / "zxp-runtime-date-test.txt";
  std::ofstream(path) << "x";
  const auto stamp = std::chrono::system_clock::from_time_t(1709229015);
  std::filesystem::last_write_time(path, std::chrono::file_clock::from_sys(stamp));
  EXPECT_DOUBLE_EQ(localDateFromFileTime(std::filesystem::last_write_time(path))->serial,
                   makeDate(2024, 2, 29, 17, 50, 15)->serial);
  EXPECT_DOUBLE_EQ(localDateFromSystemTime(stamp)->serial, makeDate(2024, 2, 29, 17, 50, 15)->serial);
  std::filesystem::remove(path);
  if (oldTz) {
    setenv("TZ", saved.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}

struct PartRow {
  const char* interval;
  std::optional<int> value;
};

TEST(RuntimeDate, DatePartByInterval) {
  const Date d = *makeDate(2024, 2, 29, 18, 30, 15);
  const PartRow rows[] = {{"yyyy", 2024}, {"q", 1},  {"m", 2},  {"M", 2},  {"y", 60},  {"d", 29},
                          {"w", 5},       {"ww", 9}, {"h", 18}, {"n", 30}, {"s", 15},  {"x", std::nullopt},
                          {"", std::nullopt}, {"mm", std::nullopt}};
  for (const auto& r : rows) EXPECT_EQ(DatePart(r.interval, d), r.value) << r.interval;
  EXPECT_EQ(DatePart("w", d, FirstDayOfWeek::Monday), 4);
}

struct AddRow {
  const char* interval;
  int64_t number;
  Date from;
  std::optional<Date> to;
};

TEST(RuntimeDate, DateAddByInterval) {
  const Date jan31 = *makeDate(2024, 1, 31, 18, 0, 0);
  const AddRow rows[] = {
      {"m", 1, jan31, makeDate(2024, 2, 29, 18, 0, 0)},      // clipped to the month's length
      {"m", 13, jan31, makeDate(2025, 2, 28, 18, 0, 0)}, {"m", -2, jan31, makeDate(2023, 11, 30, 18, 0, 0)},
      {"q", 1, jan31, makeDate(2024, 4, 30, 18, 0, 0)}, {"yyyy", 1, *makeDate(2024, 2, 29), makeDate(2025, 2, 28)},
      {"d", 30, jan31, makeDate(2024, 3, 1, 18, 0, 0)}, {"y", -31, jan31, makeDate(2023, 12, 31, 18, 0, 0)},
      {"ww", 1, jan31, makeDate(2024, 2, 7, 18, 0, 0)}, {"h", 6, jan31, makeDate(2024, 2, 1, 0, 0, 0)},
      {"n", -1, *makeDate(2024, 1, 1), makeDate(2023, 12, 31, 23, 59, 0)},
      {"s", -1, Date{0.0}, makeDate(1899, 12, 29, 23, 59, 59)},  // across day 0 into negative serials
      {"d", 1, Date{-1.25}, makeDate(1899, 12, 30, 6, 0, 0)}, {"d", 1, *makeDate(9999, 12, 31), std::nullopt},
      {"yyyy", -1, *makeDate(100, 6, 1), std::nullopt}, {"m", INT64_MAX, jan31, std::nullopt},
      {"z", 1, jan31, std::nullopt},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << r.interval << " " << r.number << " from " << r.from.serial);
    const auto got = DateAdd(r.interval, r.number, r.from);
    ASSERT_EQ(got.has_value(), r.to.has_value());
    if (got) {
      EXPECT_NEAR(got->serial, r.to->serial, 1e-9);
    }
  }
}

}  // namespace
}  // namespace zxp::host
