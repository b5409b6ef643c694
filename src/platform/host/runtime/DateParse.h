// The host's date parser (CDate/DateValue/IsDate on a text), English (United States) locale:
// short-date order month/day/year, date separator "/", time separator ":", AM/PM designators.
//
// Accepted texts, with blanks around and between the parts:
//   dates of three numbers separated by "/", "-", "." or blanks: year first when the first
//     number has three or four digits or exceeds 31 ("2024/2/29", "2024-02-29"); otherwise in
//     the short-date order month/day/year, and when that is no date, year/month/day with a
//     two-digit year ("24/2/29" is 2024-02-29) and then day/month/year ("29/02/2024"), as the
//     host's lenient parser does;
//   two numbers: month/day of the current year ("2/28"), day/month when that fails ("28/2"), or
//     month/year and year/month (day 1) when one of them is a year ("2/2024"); two small numbers
//     that make neither month/day nor day/month are month and two-digit year, day 1 ("2/29" in
//     a year without 29 February is 2029-02-01, "2/30" is 1930-02-01);
//   a month name, full or abbreviated, with a day, a year or both ("February 29, 2024",
//     "29-Feb-24", "Feb 2024"); a weekday name is allowed and ignored ("Thursday, February 29,
//     2024");
//   a time h:mm or h:mm:ss, with or without AM/PM, or an hour with AM/PM ("6 PM"), before or after
//     the date or alone (a time alone is a time on day 0, 1899-12-30).
// Two-digit years are the host's: 0..29 are 2000..2029, 30..99 are 1930..1999. Years of three or
// four digits must lie in 100..9999. Impossible dates (2023/2/29, month 13) and times (24:00,
// 12:60) are rejected, as is a lone number ("45351" is a number, not a date).
// "Today" for partial dates comes from the runtime's now-source (Date.h).
#pragma once

#include <optional>
#include <string_view>

#include "platform/host/runtime/Date.h"

namespace zxp::host {

// The date and time a text names; empty when it names none.
std::optional<Date> parseDate(std::string_view text);
bool IsDate(std::string_view text);
// Only the date part (time dropped) / only the time part (date dropped).
std::optional<Date> DateValue(std::string_view text);
std::optional<Date> TimeValue(std::string_view text);

}  // namespace zxp::host
