// libFuzzer target for the host runtime's Format and the parsers behind it: random patterns
// with random numbers, dates, texts, Booleans, Null and Empty, and the same bytes as texts for
// the numeric test, the date parser and the text helpers. Everything must return; nothing may
// read or write out of bounds (the build adds AddressSanitizer and UBSan).
//
// Input layout: 8 bytes of a double, 1 selector byte, then the pattern, an optional 0x01 byte
// and the text.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/host/runtime/DateParse.h"
#include "platform/host/runtime/Format.h"
#include "platform/host/runtime/Numeric.h"
#include "platform/host/runtime/Text.h"

using namespace zxp::host;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 9) return 0;
  double x;
  std::memcpy(&x, data, sizeof x);
  const uint8_t selector = data[8];
  const std::string_view rest(reinterpret_cast<const char*>(data + 9), size - 9);
  const size_t cut = rest.find('\x01');
  const std::string_view pattern = rest.substr(0, cut);
  const std::string_view text = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 1);
  // Out-of-range settings are part of the input space too.
  const auto firstDay = static_cast<FirstDayOfWeek>(selector % 9);
  const auto firstWeek = static_cast<FirstWeekOfYear>((selector / 9) % 5);

  size_t total = 0;
  total += Format(x, pattern, firstDay, firstWeek).size();
  total += Format(Date{x}, pattern, firstDay, firstWeek).size();
  total += Format(static_cast<double>(static_cast<int32_t>(selector) - 128) / 7.0, pattern).size();
  total += Format(std::string(text), pattern, firstDay, firstWeek).size();
  total += Format(std::string(pattern), std::string(text)).size();
  total += Format((selector & 1) != 0, pattern).size();
  total += Format(FormatValue::null(), pattern).size();
  total += Format(FormatValue(), pattern).size();

  if (auto n = parseNumber(text)) total += Format(*n, "#,##0.00").size();
  if (auto d = parseDate(text)) total += Format(*d, "dd-mm-yyyy hh:nn:ss").size();
  total += UCase(text).size() + LCase(text).size() + Trim(text).size();
  total += static_cast<size_t>(StrComp(text, pattern, (selector & 2) ? CompareMethod::Text : CompareMethod::Binary) + 1);
  total += Split(text, pattern.substr(0, 3), (selector & 4) ? 3 : -1, (selector & 8) ? CompareMethod::Text : CompareMethod::Binary).count();
  if (auto l = CLng(x)) total += static_cast<size_t>(*l & 1);
  total += static_cast<size_t>(WeekOfYear(Date{x}, firstDay, firstWeek));
  total += static_cast<size_t>(DatePart(pattern.substr(0, 4), Date{x}, firstDay, firstWeek).value_or(0));
  int64_t amount;
  std::memcpy(&amount, data, sizeof amount);
  if (auto d = DateAdd(pattern.substr(0, 4), amount, Date{x})) total += static_cast<size_t>(Day(*d));
  // Keep the results alive so the calls are not optimised away.
  volatile size_t sink = total;
  (void)sink;
  return 0;
}
