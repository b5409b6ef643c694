// Format: named formats, number, date and text patterns, the controls' default patterns, and
// what happens to values the pattern does not fit.
#include "platform/host/runtime/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zxp::host {
namespace {

struct Row {
  FormatValue value;
  const char* pattern;
  const char* expected;
};

void expectRows(std::initializer_list<Row> rows, FirstDayOfWeek firstDay = FirstDayOfWeek::Sunday,
                FirstWeekOfYear firstWeek = FirstWeekOfYear::Jan1) {
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "pattern \"" << r.pattern << "\" value " << Format(r.value));
    EXPECT_EQ(Format(r.value, r.pattern, firstDay, firstWeek), r.expected);
  }
}

// Thursday 2024-02-29 18:30:15, and the same day at midnight.
const Date kLeapEvening = *makeDate(2024, 2, 29, 18, 30, 15);
const Date kLeapDay = *makeDate(2024, 2, 29);

TEST(RuntimeFormat, NamedNumberFormats) {
  expectRows({
      {1234.5678, "General Number", "1234.5678"}, {-0.5, "General Number", "-0.5"},
      {1234.5678, "Currency", "$1,234.57"}, {-1234.5678, "Currency", "($1,234.57)"}, {0, "Currency", "$0.00"},
      {5, "CURRENCY", "$5.00"}, {1234.5678, "Fixed", "1234.57"}, {-0.5, "Fixed", "-0.50"}, {0.005, "Fixed", "0.01"},
      {1234.5678, "Standard", "1,234.57"}, {-1234567.891, "Standard", "-1,234,567.89"}, {0.125, "Percent", "12.50%"},
      {12.3456, "Percent", "1234.56%"}, {1234.5678, "Scientific", "1.23E+03"}, {0.000123, "Scientific", "1.23E-04"},
      {9.999, "Scientific", "1.00E+01"}, {0, "Scientific", "0.00E+00"}, {0, "Yes/No", "No"}, {5, "Yes/No", "Yes"},
      {true, "True/False", "True"}, {0.0, "True/False", "False"}, {0, "On/Off", "Off"}, {-1, "on/off", "On"},
      {"1234.5", "Currency", "$1,234.50"}, {"abc", "Currency", "abc"}, {"0", "Yes/No", "No"},
  });
}

TEST(RuntimeFormat, NamedDateFormats) {
  expectRows({
      {kLeapEvening, "General Date", "2/29/2024 6:30:15 PM"}, {kLeapDay, "General Date", "2/29/2024"},
      {Date{0.75}, "General Date", "6:00:00 PM"}, {Date{0.0}, "General Date", "12:00:00 AM"},
      {kLeapEvening, "Long Date", "Thursday, February 29, 2024"}, {kLeapEvening, "Medium Date", "29-Feb-24"},
      {kLeapEvening, "Short Date", "2/29/2024"}, {kLeapEvening, "short date", "2/29/2024"},
      {kLeapEvening, "Long Time", "6:30:15 PM"}, {kLeapEvening, "Medium Time", "06:30 PM"},
      {kLeapEvening, "Short Time", "18:30"}, {*makeDate(2024, 1, 5, 0, 5, 0), "Long Time", "12:05:00 AM"},
      {*makeDate(2024, 1, 5, 12, 0, 0), "Medium Time", "12:00 PM"}, {45351.75, "Short Date", "2/29/2024"},
      {"2024-02-29", "Long Date", "Thursday, February 29, 2024"}, {"not a date", "Short Date", "not a date"},
  });
}

TEST(RuntimeFormat, NumberPatterns) {
  expectRows({
      {5, "0.00", "5.00"}, {1.005, "0.00", "1.01"}, {2.5, "0", "3"}, {-2.5, "0", "-3"}, {0.5, "#.##", ".5"},
      {5, "#.##", "5."}, {0, "#.##", "."}, {0, "#", ""}, {0.5, "0.0#", "0.5"}, {0.567, "0.0#", "0.57"},
      {123, "00000", "00123"}, {123456, "00", "123456"}, {12.5, ".00", "12.50"},
      {1234567.891, "#,##0.00", "1,234,567.89"}, {0.5, "#,##0.00", "0.50"}, {-1234.5, "#,##0.00", "-1,234.50"},
      {999.999, "#,##0.00", "1,000.00"}, {5, "000,000", "000,005"}, {-0.001, "0.00", "-0.00"},
      {1234567, "#,##0,", "1,235"}, {1234567, "0.0,,", "1.2"}, {1234567, "0,,.0", "1.2"},
      {1234.5, "0.0,0", "1234.5,0"}, {5551234567.0, "(000) 000-0000", "(555) 123-4567"}, {0.25, "0%", "25%"},
      {0.256, "0.0%", "25.6%"}, {5, "0;(0)", "5"}, {-5, "0;(0)", "(5)"}, {0, "0;(0);\\Z\\e\\r\\o", "Zero"},
      {0, "0;(0);\"nil\"", "nil"}, {-5, "0;;\\Z", "-5"}, {0, "0;;\\Z", "Z"}, {0.001, "0.00;-0.00;\\Z", "0.00"},
      {5, "$#,##0.00 \"USD\"", "$5.00 USD"}, {-5, "$0.00", "-$5.00"}, {5, "0 \\d\\a\\y\\s", "5 days"},
      {1, "0 kg", "1 kg"}, {5, ",0", ",5"}, {12345, "0.00E+00", "1.23E+04"}, {12345, "0.00E-00", "1.23E04"},
      {0.00012345, "0.00E-00", "1.23E-04"}, {12345, "0.00e+0", "1.23e+4"}, {123, ".00E+00", ".12E+03"},
      {-12345, "0.00E+00", "-1.23E+04"}, {1234.5, "00.0E+00", "12.3E+02"}, {5, "0.00\\", "5.00"},
      {5, "0 \xC2\xA4", "5 \xC2\xA4"}, {true, "0", "-1"}, {false, "0.00", "0.00"},
      {Date{45351.5}, "0.00", "45351.50"}, {"1234.5", "#,##0.00", "1,234.50"}, {" 12 ", "000", "012"},
      {"1,000", "0", "1000"}, {"$5", "0.00", "5.00"}, {"2024/2/29", "0", "45351"}, {"abc", "0.00", "abc"},
      {std::numeric_limits<double>::infinity(), "0.00", "1.#INF"},
  });
}

TEST(RuntimeFormat, DatePatterns) {
  expectRows({
      {kLeapEvening, "d", "29"}, {kLeapEvening, "dd", "29"}, {kLeapEvening, "ddd", "Thu"},
      {kLeapEvening, "dddd", "Thursday"}, {kLeapEvening, "ddddd", "2/29/2024"},
      {kLeapEvening, "dddddd", "Thursday, February 29, 2024"}, {kLeapEvening, "c", "2/29/2024 6:30:15 PM"},
      {kLeapEvening, "m", "2"}, {kLeapEvening, "mm", "02"}, {kLeapEvening, "mmm", "Feb"},
      {kLeapEvening, "mmmm", "February"}, {kLeapEvening, "q", "1"}, {kLeapEvening, "y", "60"},
      {kLeapEvening, "yy", "24"}, {kLeapEvening, "yyyy", "2024"}, {kLeapEvening, "yyy", "2460"},
      {kLeapEvening, "w", "5"}, {kLeapEvening, "ww", "9"}, {kLeapEvening, "h", "18"},
      {kLeapEvening, "hh:nn:ss", "18:30:15"},
      {kLeapEvening, "h:m:s", "18:30:15"},        // "m" after an hour is the minute
      {kLeapEvening, "hh mm", "18 30"},
      {kLeapEvening, "mm:ss", "02:15"},           // without an hour before it, "mm" is the month
      {kLeapEvening, "hh mmm", "18 Feb"}, {kLeapEvening, "ttttt", "6:30:15 PM"},
      {kLeapEvening, "h:nn AM/PM", "6:30 PM"}, {kLeapEvening, "h:nn am/pm", "6:30 pm"},
      {kLeapEvening, "h A/P", "6 P"}, {kLeapEvening, "h a/p", "6 p"}, {kLeapEvening, "hh AMPM", "06 PM"},
      {*makeDate(2024, 1, 5, 0, 5, 0), "h:nn AM/PM", "12:05 AM"}, {*makeDate(2024, 1, 5, 0, 5, 0), "hh:nn", "00:05"},
      {kLeapEvening, "DD-MM-YYYY", "29-02-2024"}, {kLeapEvening, "dd/mm/yyyy", "29/02/2024"},
      {kLeapEvening, "dd.mm.yyyy", "29.02.2024"}, {kLeapEvening, "h \\h", "18 h"},
      {kLeapEvening, "\\d\\d dd", "dd 29"}, {kLeapEvening, "\"Date:\" dd", "Date: 29"},
      {kLeapEvening, "dd x", "29 x"}, {*makeDate(100, 1, 1), "dd-mm-yyyy", "01-01-100"},
      {*makeDate(1900, 3, 1), "dd-mm-yyyy", "01-03-1900"}, {Date{61.0}, "yyyy-mm-dd", "1900-03-01"},
      {Date{60.0}, "yyyy-mm-dd", "1900-02-28"}, {Date{-1.25}, "yyyy-mm-dd hh:nn", "1899-12-29 06:00"},
      {45351.75, "dd-mm-yyyy hh:nn", "29-02-2024 18:00"},
      {1e10, "dd-mm-yyyy", "10000000000"},        // no such date: the number as it is
      {"2024/2/29", "dd-mm-yyyy", "29-02-2024"}, {"45351", "dd-mm-yyyy", "29-02-2024"},
      {"2023/2/29", "dd-mm-yyyy", "2023/2/29"},    // not a date: unformatted
      // Runs longer than a token are read as the longest token, again and again.
      {kLeapEvening, "mmmmmmmmm", "FebruaryFebruary2"}, {kLeapEvening, "yyyyyyy", "20242460"},
      {kLeapEvening, "ddddddddd", "Thursday, February 29, 2024Thu"}, {kLeapEvening, "tttttt", "6:30:15 PMt"},
  });
}

// The week rules themselves are the date tests' concern; here each setting reaches "w" and "ww".
TEST(RuntimeFormat, WeekTokensFollowBothSettings) {
  const Date jan7th2024 = *makeDate(2024, 1, 7);
  expectRows({{jan7th2024, "ww", "2"}, {jan7th2024, "w", "1"}});
  expectRows({{*makeDate(2021, 1, 1), "ww", "53"}, {kLeapEvening, "w", "4"}}, FirstDayOfWeek::Monday,
             FirstWeekOfYear::FirstFourDays);
  expectRows({{*makeDate(2024, 1, 1), "ww", "53"}}, FirstDayOfWeek::Sunday, FirstWeekOfYear::FirstFullWeek);
}

// The date picker's masks with their separators, and the controls' default patterns.
TEST(RuntimeFormat, ControlPatterns) {
  expectRows({
      {kLeapEvening, "mm/dd/yy", "02/29/24"},     // MM-DD-YY with "/"
      {kLeapEvening, "yy.mm.dd", "24.02.29"},     // YY-MM-DD with a full stop
      {kLeapEvening, "mm-dd-yyyy", "02-29-2024"}, // MM-DD-YYYY (DD-MM-YYYY, the default, is above)
      {*makeDate(2024, 3, 5, 7, 8, 9), "hh:mm:ss", "07:08:09"},          // the tool bar's time panel
      {kLeapEvening, "dddd, mmmm - yyyy", "Thursday, February - 2024"},  // the calendar's today line
  });
}

TEST(RuntimeFormat, TextPatterns) {
  expectRows({
      {"abc", "@@@@@", "  abc"}, {"abc", "!@@@@@", "abc  "}, {"abc", "&&&&&", "abc"}, {"abc", ">", "ABC"},
      {"ABC", "<", "abc"}, {"abcdef", "@@@", "abcdef"}, {"abcdef", "!@@@", "abcdef"},
      {"5551234567", "@@@-@@@-@@@@", "555-123-4567"}, {"12345", "@@@-@@@-@@@@", "   -  1-2345"},
      {"abc", "\\x@@@", "xabc"}, {"ab", ">@@@\"!\"", " AB!"}, {"\xC3\xA9t\xC3\xA9", ">@@@@", " \xC3\x89T\xC3\x89"},
      {"", "@;\\e\\m\\p\\t\\y", "empty"}, {FormatValue::null(), "@;\\N\\u\\l\\l", "Null"},
      {FormatValue(), "@;\\e\\m\\p\\t\\y", "empty"}, {5, "@@@", "  5"}, {true, ">", "TRUE"},
      {kLeapDay, "@", "2/29/2024"},
  });
}

TEST(RuntimeFormat, DefaultTextsAndEmptyValues) {
  expectRows({
      {1234.5, "", "1234.5"}, {true, "", "True"}, {false, "", "False"}, {kLeapEvening, "", "2/29/2024 6:30:15 PM"},
      {"text", "", "text"}, {FormatValue(), "", ""}, {FormatValue(), "0.00", ""}, {FormatValue::null(), "", ""},
      {FormatValue::null(), "0.00", ""}, {FormatValue::null(), "0;-0;\\Z;\\N\\u\\l\\l", "Null"},
      {FormatValue::null(), "dd-mm-yyyy", ""},
  });
  EXPECT_EQ(dateToText(kLeapEvening), "2/29/2024 6:30:15 PM");
}

// A pattern is compiled once and reused; the cache must not confuse patterns or sections.
TEST(RuntimeFormat, ManyPatternsInTurn) {
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 20; ++i) {
      const std::string zeros(static_cast<size_t>(i % 7 + 1), '0');
      const std::string pattern = zeros + ";(" + zeros + ")";
      EXPECT_EQ(Format(-7, pattern), "(" + zeros.substr(1) + "7)");
      EXPECT_EQ(Format(7, pattern), zeros.substr(1) + "7");
    }
  }
  const std::string longPattern = std::string(300, '#') + "0.00";
  EXPECT_EQ(Format(1.5, longPattern), "1.50");
}

}  // namespace
}  // namespace zxp::host
