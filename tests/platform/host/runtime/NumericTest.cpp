// The numeric test and conversions: IsNumeric/CDbl, CInt/CLng with banker's rounding, CStr of
// numbers and the decimal digits Format rounds with.
#include "platform/host/runtime/Numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <string>

namespace zxp::host {
namespace {

struct ParseRow {
  const char* text;
  std::optional<double> value;
};

// Each text parses to its value (or to none) and IsNumeric agrees.
void expectParses(std::initializer_list<ParseRow> rows) {
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string("\"") + r.text + "\"");
    const auto got = parseNumber(r.text);
    ASSERT_EQ(got.has_value(), r.value.has_value());
    EXPECT_EQ(IsNumeric(r.text), r.value.has_value());
    if (got) {
      EXPECT_DOUBLE_EQ(*got, *r.value);
    }
  }
}

TEST(RuntimeNumeric, ParseNumberAndIsNumeric) {
  expectParses({
      // Not numbers.
      {"", std::nullopt}, {" ", std::nullopt}, {".", std::nullopt}, {"-", std::nullopt}, {"+", std::nullopt},
      {"$", std::nullopt}, {"1e", std::nullopt}, {"5e+", std::nullopt}, {"e5", std::nullopt},
      {"1.2.3", std::nullopt}, {"abc", std::nullopt}, {"1 2", std::nullopt}, {"--5", std::nullopt},
      {"+-5", std::nullopt}, {"-5-", std::nullopt}, {"$$5", std::nullopt},
      {"1e400", std::nullopt}, {"&H", std::nullopt}, {"&HG", std::nullopt}, {"&O8", std::nullopt},
      {"&H123456789", std::nullopt}, {"12abc", std::nullopt}, {"1_000", std::nullopt},
      // Numbers.
      {"0", 0.0}, {"7", 7.0}, {" 12 ", 12.0}, {"\t7\t", 7.0}, {"-1.5e3", -1500.0}, {"1,000", 1000.0},
      {"12,345,678.25", 12345678.25}, {"$5", 5.0}, {"5$", 5.0}, {"-$5", -5.0}, {"$-5", -5.0}, {"+5", 5.0},
      {"5-", -5.0}, {"($1,234.56)", -1234.56}, {"1.", 1.0}, {".5", 0.5}, {"007", 7.0},
      {"1E+05", 1e5}, {"1e-2", 0.01}, {"2.5E3", 2500.0}, {"1e-400", 0.0}, {"0e99999", 0.0},
      {"&H10", 16.0}, {"&hff", 255.0}, {"&HFFFF", -1.0}, {"&H8000", -32768.0}, {"&H10000", 65536.0},
      {"&HFFFFFFFF", -1.0}, {"&O17", 15.0}, {"&O177777", -1.0},
  });
}

TEST(RuntimeNumeric, ThousandsSeparatorsAreIgnoredAfterTheFirstDigit) {
  expectParses({
      {"1,00", 100.0}, {"12,34", 1234.0}, {"1,2345", 12345.0}, {"123,", 123.0}, {"1,,000", 1000.0},
      {"1.5,000", 1.5}, {"1,000,00", 100000.0}, {"1000,000", 1000000.0}, {"1.,5", 1.5},
      {"-1,0", -10.0}, {"$1,2.5", 12.5}, {"1,0e2", 1000.0}, {"(1,0)", -10.0},
      // Before the first digit a separator is no part of a number.
      {",100", std::nullopt}, {",", std::nullopt}, {".,5", std::nullopt}, {"-,5", std::nullopt},
      {"1e1,0", std::nullopt},  // nor inside the exponent
  });
}

TEST(RuntimeNumeric, BlanksMayStandBetweenSignOrCurrencyAndTheDigits) {
  expectParses({
      {"- 5", -5.0}, {"5 -", -5.0}, {"$ 5", 5.0}, {"5 $", 5.0}, {"+ 5", 5.0}, {"- $ 5", -5.0},
      {"$ - 5", -5.0}, {"( 5 )", -5.0}, {"-\t2.5", -2.5}, {" 5 - ", -5.0},
      // Blanks between digits still split a text into two numbers.
      {"1 000", std::nullopt}, {"1. 5", std::nullopt}, {"- 5 -", std::nullopt}, {"$ 5 $", std::nullopt},
  });
}

TEST(RuntimeNumeric, SignAndParenthesesAreOneNegation) {
  expectParses({
      {"-(5)", -5.0}, {"(-5)", -5.0}, {"(5-)", -5.0}, {"(5)-", -5.0}, {"-($5)", -5.0}, {"- (5)", -5.0}, {"(5)", -5.0},
      {"--1", std::nullopt}, {"-(-5)", std::nullopt}, {"((5))", std::nullopt}, {"(5", std::nullopt},
      {"5)", std::nullopt}, {"-(5", std::nullopt}, {")5(", std::nullopt},
  });
}

// The text box's and the spin box's "numbers only" filter asks about one character at a time.
TEST(RuntimeNumeric, SingleCharactersForTheKeyFilter) {
  for (char c = '0'; c <= '9'; ++c) EXPECT_TRUE(IsNumeric(std::string(1, c))) << c;
  for (const char* s : {"-", "+", ".", ",", "$", " ", "a", "e", "E", "&", "(", "/"}) EXPECT_FALSE(IsNumeric(s)) << s;
}

struct RoundRow {
  double x;
  std::optional<int32_t> lng;
  std::optional<int16_t> integer;
};

TEST(RuntimeNumeric, IntegerConversionsRoundHalfToEven) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const RoundRow rows[] = {
      {0.5, 0, 0},           {1.5, 2, 2},           {2.5, 2, 2},           {3.5, 4, 4},
      {-0.5, 0, 0},          {-1.5, -2, -2},        {-2.5, -2, -2},        {2.4999, 2, 2},
      {2.5001, 3, 3},        {32767.4, 32767, 32767}, {32767.5, 32768, std::nullopt},
      {-32768.5, -32768, -32768}, {-32769, -32769, std::nullopt},
      {2147483647.4, 2147483647, std::nullopt}, {2147483647.5, std::nullopt, std::nullopt},
      {-2147483648.5, -2147483647 - 1, std::nullopt}, {1e20, std::nullopt, std::nullopt},
      {nan, std::nullopt, std::nullopt},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.x);
    EXPECT_EQ(CLng(r.x), r.lng);
    EXPECT_EQ(CInt(r.x), r.integer);
  }
  // Texts convert through the number they hold.
  EXPECT_EQ(std::tuple(CLng("2.5"), CLng("3.5"), CInt("abc")), std::tuple(2, 4, std::optional<int16_t>()));
}

struct TextRow {
  double x;
  const char* text;
};

TEST(RuntimeNumeric, NumberToTextIsTheHostsDefaultText) {
  const TextRow rows[] = {
      {0.0, "0"}, {-0.0, "0"}, {1.5, "1.5"}, {-42.0, "-42"}, {1234567.891, "1234567.891"}, {0.1 + 0.2, "0.3"},
      {1.0 / 3.0, "0.333333333333333"}, {123456789012345.0, "123456789012345"}, {1e15, "1E+15"},
      {1.5e300, "1.5E+300"}, {0.0001, "0.0001"}, {0.00001, "1E-05"}, {-1.5e-7, "-1.5E-07"},
      {std::numeric_limits<double>::infinity(), "1.#INF"}, {-std::numeric_limits<double>::infinity(), "-1.#INF"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.text);
    EXPECT_EQ(numberToText(r.x), r.text);
  }
  // Whole numbers at the edge of the digits asked for: as digits up to that many, in exponent
  // form from one more.
  EXPECT_EQ(numberToText(1234567.0, 7), "1234567");
  EXPECT_EQ(numberToText(-9999999.0, 7), "-9999999");
  EXPECT_EQ(numberToText(10000000.0, 7), "1E+07");
  EXPECT_EQ(numberToText(12345678.0, 7), "1.234568E+07");
  EXPECT_EQ(numberToText(999999999999999.0), "999999999999999");
  EXPECT_EQ(numberToText(-999999999999999.0), "-999999999999999");
  EXPECT_EQ(numberToText(4503599627370497.0, 17), "4503599627370497");
  EXPECT_EQ(numberToText(31.0, 1), "3E+01");
}

struct DigitsRow {
  double x;
  int decimals;
  const char* integer;
  const char* fraction;
};

TEST(RuntimeNumeric, DecimalDigitsRoundHalfUpAtFifteenDigits) {
  const DigitsRow rows[] = {
      {1.005, 2, "1", "01"},     // 1.00499999999999989... is 1.005 at 15 digits
      {2.5, 0, "3", ""},         {0.5, 0, "1", ""}, {0.49, 0, "", ""},         {9.995, 2, "10", "00"},
      {999.5, 0, "1000", ""},    {0.125, 2, "", "13"},
      {1234.5678, 2, "1234", "57"}, {1e20, 1, "100000000000000000000", "0"},
      {0.0, 3, "", "000"},       {0.000123, 2, "", "00"}, {123.0, -1, "120", ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << r.x << " to " << r.decimals);
    DecimalDigits d = toDecimalDigits(r.x);
    d.roundTo(r.decimals);
    EXPECT_EQ(d.integerDigits(), r.integer);
    EXPECT_EQ(d.fractionDigits(r.decimals > 0 ? r.decimals : 0), r.fraction);
  }
}

}  // namespace
}  // namespace zxp::host
