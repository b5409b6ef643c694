// The date parser behind IsDate/CDate/DateValue, and the calendar's month searches made with it.
#include "platform/host/runtime/DateParse.h"

#include <gtest/gtest.h>

#include "DatePartsPrint.h"

#include <initializer_list>
#include <string>

namespace zxp::host {
namespace {

// "Today" for texts without a year: 2024-06-15 10:00.
class RuntimeDateParse : public testing::Test {
 protected:
  void SetUp() override {
    setNowSource([] { return *makeDate(2024, 6, 15, 10, 0, 0); });
  }
  void TearDown() override { setNowSource(nullptr); }
};

struct AcceptRow {
  const char* text;
  DateParts parts;
};

// Each text is a date (IsDate agrees) with the given parts.
void expectDates(std::initializer_list<AcceptRow> rows) {
  for (const auto& r : rows) {
    SCOPED_TRACE(r.text);
    const auto d = parseDate(r.text);
    ASSERT_TRUE(d.has_value());
    EXPECT_TRUE(IsDate(r.text));
    EXPECT_EQ(splitDate(*d), r.parts);
  }
}

TEST_F(RuntimeDateParse, AcceptedTexts) {
  expectDates({
      {"2024/2/29", {2024, 2, 29, 0, 0, 0}}, {"2024-02-29", {2024, 2, 29, 0, 0, 0}},
      {"2024/02/01", {2024, 2, 1, 0, 0, 0}},
      {"2/29/2024", {2024, 2, 29, 0, 0, 0}},    // the short-date order, month first
      {"02/03/2024", {2024, 2, 3, 0, 0, 0}},    // ambiguous: month first wins
      {"29/02/2024", {2024, 2, 29, 0, 0, 0}},   // no month 29: day first
      {"29.02.2024", {2024, 2, 29, 0, 0, 0}}, {"  2024 / 2 / 29  ", {2024, 2, 29, 0, 0, 0}},
      {"2/29/24", {2024, 2, 29, 0, 0, 0}},      // two-digit years: 00..29 -> 2000s
      {"1/1/29", {2029, 1, 1, 0, 0, 0}},
      {"1/1/30", {1930, 1, 1, 0, 0, 0}},        // 30..99 -> 1900s
      {"12/31/99", {1999, 12, 31, 0, 0, 0}},
      {"99/1/2", {1999, 1, 2, 0, 0, 0}},        // a first number above 31 is a year
      {"100/1/1", {100, 1, 1, 0, 0, 0}}, {"9999/12/31", {9999, 12, 31, 0, 0, 0}},
      {"2024/2/29 18:30", {2024, 2, 29, 18, 30, 0}}, {"2024-02-29 6:30:15 PM", {2024, 2, 29, 18, 30, 15}},
      {"2024-02-29 6:30:15pm", {2024, 2, 29, 18, 30, 15}}, {"18:30 2024/2/29", {2024, 2, 29, 18, 30, 0}},
      {"2/29/2024 12:00:00 AM", {2024, 2, 29, 0, 0, 0}}, {"2/29/2024 12:05 PM", {2024, 2, 29, 12, 5, 0}},
      {"February 29, 2024", {2024, 2, 29, 0, 0, 0}}, {"Thursday, February 29, 2024", {2024, 2, 29, 0, 0, 0}},
      {"29-Feb-24", {2024, 2, 29, 0, 0, 0}}, {"29 feb 2024", {2024, 2, 29, 0, 0, 0}},
      {"Sept 3, 2024", {2024, 9, 3, 0, 0, 0}}, {"Feb 2024", {2024, 2, 1, 0, 0, 0}}, {"Mar 5", {2024, 3, 5, 0, 0, 0}},
      {"2/2024", {2024, 2, 1, 0, 0, 0}}, {"2024/2", {2024, 2, 1, 0, 0, 0}},
      {"3/4", {2024, 3, 4, 0, 0, 0}},           // month/day of the current year
      {"29/2", {2024, 2, 29, 0, 0, 0}},
      {"1.5", {2024, 1, 5, 0, 0, 0}},           // the host's lenient reading, as a date
      {"18:30", {1899, 12, 30, 18, 30, 0}},     // a time alone lies on day 0
      {"6 PM", {1899, 12, 30, 18, 0, 0}}, {"12:00 AM", {1899, 12, 30, 0, 0, 0}},
      {"23:59:59", {1899, 12, 30, 23, 59, 59}},
  });
}

TEST_F(RuntimeDateParse, RejectedTexts) {
  const char* rows[] = {
      "", "   ", "abc", "45351", "2024",             // no date at all; a lone number is a number
      "2023/2/29", "1900/2/29", "2024/2/30", "2024/4/31", "31/4/2024",  // impossible days
      "2024/13/01", "13/13/2024", "2024/0/1",       // impossible months
      "0099/1/1", "10000/1/1", "2024/2/29/1",       // years out of range, too many parts
      "24:00", "12:60", "12:00:60", "13:00 PM", "1:2:3:4", "12:", "2024/2/29 25:00",
      "2024//2/29", "/2024/2/29", "2024/2/29/", "2024/2/29 PM", "PM", "Feb", "Thursday",
      "Feb Mar 2024", "2024-02-29T18:30", "2/29/2023", "29/2/2023", "1/2/3/4",
      "123456/1/1", "2024/2/29 18:30 19:00", "\xC3\xA9t\xC3\xA9",
      "13/31", "29/2", "2/29 1",  // two numbers that make no month/day, day/month or month/year
  };
  setNowSource([] { return *makeDate(2023, 6, 15); });  // "2/29" is no date in 2023
  for (const char* text : rows) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(parseDate(text).has_value());
    EXPECT_FALSE(IsDate(text));
  }
}

// Three numbers that are no month/day/year: year/month/day with a two-digit year comes before
// day/month/year.
TEST_F(RuntimeDateParse, ThreeNumbersTryYearMonthDayBeforeDayMonthYear) {
  expectDates({
      {"24/2/29", {2024, 2, 29, 0, 0, 0}},
      {"24.2.29", {2024, 2, 29, 0, 0, 0}},   // the full stop is a date separator
      {"24-02-29", {2024, 2, 29, 0, 0, 0}},
      {"30/1/15", {1930, 1, 15, 0, 0, 0}},   // the year window applies to the leading year
      {"13/1/5", {2013, 1, 5, 0, 0, 0}},
      {"31/1/32", {1932, 1, 31, 0, 0, 0}},   // no 32nd day: day/month/year
      {"30/4/31", {1931, 4, 30, 0, 0, 0}},   // no 31 April: day/month/year
      {"2/3/4", {2004, 2, 3, 0, 0, 0}},      // month/day/year still comes first
  });
  EXPECT_FALSE(parseDate("31/4/31").has_value());  // none of the three orders is a date
}

// Two numbers that are neither month/day nor day/month of the current year: month and two-digit
// year, on the first of the month.
TEST_F(RuntimeDateParse, TwoNumbersFallBackToMonthAndShortYear) {
  setNowSource([] { return *makeDate(2023, 6, 15); });  // no 29 February this year
  expectDates({
      {"2/29", {2029, 2, 1, 0, 0, 0}}, {"2.29", {2029, 2, 1, 0, 0, 0}}, {"2/30", {1930, 2, 1, 0, 0, 0}},
      {"4/31", {1931, 4, 1, 0, 0, 0}},
      {"2/28", {2023, 2, 28, 0, 0, 0}},  // a month/day still wins
      {"28/2", {2023, 2, 28, 0, 0, 0}},  // and so does a day/month
  });
  // In a leap year "2/29" is the day itself.
  setNowSource([] { return *makeDate(2024, 6, 15); });
  EXPECT_EQ(splitDate(*parseDate("2/29")), (DateParts{2024, 2, 29, 0, 0, 0}));
}

TEST_F(RuntimeDateParse, DateValueAndTimeValue) {
  EXPECT_DOUBLE_EQ(DateValue("2024/2/29 18:00")->serial, 45351.0);
  EXPECT_DOUBLE_EQ(TimeValue("2024/2/29 18:00")->serial, 0.75);
  EXPECT_FALSE(DateValue("2024/2/30").has_value());
}

// The calendar finds a month's length by trying "year/month/day" for growing days.
int lastDayOfMonth(int month, int year) {
  int last = 0;
  for (int day = 1; day <= 31; ++day)
    if (IsDate(std::to_string(year) + "/" + std::to_string(month) + "/" + std::to_string(day))) last = day;
  return last;
}

TEST_F(RuntimeDateParse, CalendarMonthSearches) {
  const int rows[][3] = {{2, 2024, 29}, {2, 2023, 28}, {2, 1900, 28}, {2, 2000, 29}, {4, 2024, 30},
                         {12, 2024, 31}, {1, 1800, 31}, {2, 9999, 28}};
  for (const auto& r : rows) EXPECT_EQ(lastDayOfMonth(r[0], r[1]), r[2]) << r[0] << "/" << r[1];
}

}  // namespace
}  // namespace zxp::host
