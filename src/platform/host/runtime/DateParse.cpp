#include "platform/host/runtime/DateParse.h"

#include <array>
#include <cstring>
#include <vector>

#include "platform/host/NoCase.h"

namespace zxp::host {
namespace {

struct Token {
  enum Kind { Number, Word, Sep } kind;
  int value = 0;   // Number: its value; Word: month 1..12, weekday 101..107, AM 201, PM 202
  int digits = 0;  // Number: digit count
  char sep = 0;    // Sep: the separator character (' ' for blanks)
};

constexpr int kAM = 201, kPM = 202;

// Month 1..12, weekday 101..107, AM/PM, or 0 for a word the parser does not know.
int classifyWord(std::string_view w) {
  static constexpr std::array<const char*, 12> kMonths = {"january", "february", "march",     "april",
                                                          "may",     "june",     "july",      "august",
                                                          "september", "october", "november", "december"};
  static constexpr std::array<const char*, 7> kDays = {"sunday",   "monday", "tuesday", "wednesday",
                                                       "thursday", "friday", "saturday"};
  if (w == "am") return kAM;
  if (w == "pm") return kPM;
  auto matches = [&](const char* full) {
    // The full name or its first three letters (and "sept").
    return w == full || (w.size() == 3 && w == std::string_view(full, 3)) ||
           (w == "sept" && std::strcmp(full, "september") == 0);
  };
  for (size_t i = 0; i < kMonths.size(); ++i)
    if (matches(kMonths[i])) return static_cast<int>(i) + 1;
  for (size_t i = 0; i < kDays.size(); ++i)
    if (matches(kDays[i])) return static_cast<int>(i) + 101;
  return 0;
}

bool tokenize(std::string_view s, std::vector<Token>& out) {
  size_t i = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (c >= '0' && c <= '9') {
      Token t{Token::Number};
      while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        if (++t.digits > 4) return false;  // no date or time part has more than four digits
        t.value = t.value * 10 + (s[i] - '0');
        ++i;
      }
      out.push_back(t);
    } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
      char word[16];
      size_t len = 0;
      while (i < s.size() && ((s[i] >= 'a' && s[i] <= 'z') || (s[i] >= 'A' && s[i] <= 'Z'))) {
        if (len >= sizeof word) return false;
        word[len++] = asciiLower(s[i]);
        ++i;
      }
      Token t{Token::Word};
      t.value = classifyWord(std::string_view(word, len));
      if (t.value == 0) return false;
      out.push_back(t);
    } else if (c == ' ' || c == '\t') {
      while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
      out.push_back(Token{Token::Sep, 0, 0, ' '});
    } else if (c == '/' || c == '-' || c == '.' || c == ',' || c == ':') {
      out.push_back(Token{Token::Sep, 0, 0, c});
      ++i;
    } else {
      return false;
    }
  }
  return true;
}

struct Parsed {
  bool hasTime = false;
  int hour = 0, minute = 0, second = 0;
  int month = 0;  // from a month name
  int numbers[3] = {0, 0, 0};
  int digits[3] = {0, 0, 0};
  int count = 0;
};

bool isSep(const std::vector<Token>& t, size_t i, char c) {
  return i < t.size() && t[i].kind == Token::Sep && t[i].sep == c;
}

// Reads h:mm[:ss] [AM|PM] or h AM|PM starting at token i; advances i on success.
bool readTime(const std::vector<Token>& t, size_t& i, Parsed& p) {
  size_t k = i;
  int parts[3] = {t[k].value, 0, 0};
  int n = 1;
  ++k;
  while (n < 3 && isSep(t, k, ':') && k + 1 < t.size() && t[k + 1].kind == Token::Number) {
    parts[n++] = t[k + 1].value;
    k += 2;
  }
  if (isSep(t, k, ':')) return false;  // a dangling separator or a fourth part
  size_t m = k;
  if (isSep(t, m, ' ')) ++m;
  int designator = 0;
  if (m < t.size() && t[m].kind == Token::Word && (t[m].value == kAM || t[m].value == kPM)) {
    designator = t[m].value;
    k = m + 1;
  }
  if (n == 1 && designator == 0) return false;  // a plain number is not a time
  int h = parts[0];
  if (designator) {
    if (h > 12) return false;
    if (designator == kAM && h == 12) h = 0;
    if (designator == kPM && h < 12) h += 12;
  }
  if (h > 23 || parts[1] > 59 || parts[2] > 59) return false;
  p.hasTime = true;
  p.hour = h;
  p.minute = parts[1];
  p.second = parts[2];
  i = k;
  return true;
}

bool collect(const std::vector<Token>& t, Parsed& p) {
  bool weekday = false;
  bool needSep = false;    // two date elements need a separator between them
  int pendingSeps = 0;     // non-blank separators since the last element
  bool any = false;
  for (size_t i = 0; i < t.size();) {
    const Token& tok = t[i];
    if (tok.kind == Token::Sep) {
      if (tok.sep == ':') return false;
      if (tok.sep != ' ') {
        if (!any || ++pendingSeps > 1) return false;
      }
      needSep = false;
      ++i;
      continue;
    }
    if (tok.kind == Token::Number) {
      const bool timeFollows = isSep(t, i + 1, ':') ||
                               (i + 1 < t.size() && t[i + 1].kind == Token::Word && t[i + 1].value > 200) ||
                               (isSep(t, i + 1, ' ') && i + 2 < t.size() && t[i + 2].kind == Token::Word &&
                                t[i + 2].value > 200);
      if (timeFollows) {
        if (p.hasTime || !readTime(t, i, p)) return false;
        any = true;
        needSep = true;
        pendingSeps = 0;
        continue;
      }
      if (needSep || p.count == 3) return false;
      p.numbers[p.count] = tok.value;
      p.digits[p.count] = tok.digits;
      ++p.count;
    } else {  // Word
      if (tok.value > 200) return false;  // AM/PM without a time before it
      if (tok.value > 100) {
        if (weekday) return false;
        weekday = true;
      } else {
        if (p.month) return false;
        p.month = tok.value;
      }
    }
    any = true;
    needSep = tok.kind == Token::Number;
    pendingSeps = 0;
    ++i;
  }
  return pendingSeps == 0;  // no separator may end the text
}

bool yearLike(int value, int digits) { return digits >= 3 || value > 31; }

int expandYear(int value, int digits) {
  if (digits <= 2) return value < 30 ? 2000 + value : 1900 + value;
  return value;  // three or four digits: as written (makeDate checks 100..9999)
}

std::optional<Date> ymd(int y, int yDigits, int m, int d) { return makeDate(expandYear(y, yDigits), m, d); }

std::optional<Date> resolveDate(const Parsed& p) {
  const int* v = p.numbers;
  const int* dg = p.digits;
  if (p.month) {
    if (p.count == 1) {
      if (yearLike(v[0], dg[0])) return ymd(v[0], dg[0], p.month, 1);
      return makeDate(Year(Today()), p.month, v[0]);
    }
    if (p.count == 2) {
      if (yearLike(v[0], dg[0])) return ymd(v[0], dg[0], p.month, v[1]);
      return ymd(v[1], dg[1], p.month, v[0]);
    }
    return std::nullopt;
  }
  if (p.count == 2) {
    if (yearLike(v[0], dg[0])) return ymd(v[0], dg[0], v[1], 1);
    if (yearLike(v[1], dg[1])) return ymd(v[1], dg[1], v[0], 1);
    const int year = Year(Today());
    if (auto d = makeDate(year, v[0], v[1])) return d;  // month/day of this year
    if (auto d = makeDate(year, v[1], v[0])) return d;  // day/month of this year
    return ymd(v[1], dg[1], v[0], 1);                   // month and two-digit year, day 1
  }
  if (p.count == 3) {
    if (yearLike(v[0], dg[0])) return ymd(v[0], dg[0], v[1], v[2]);
    if (auto d = ymd(v[2], dg[2], v[0], v[1])) return d;  // month/day/year, the short-date order
    if (auto d = ymd(v[0], dg[0], v[1], v[2])) return d;  // year/month/day with a short year
    return ymd(v[2], dg[2], v[1], v[0]);                  // day/month/year
  }
  return std::nullopt;
}

}  // namespace

std::optional<Date> parseDate(std::string_view text) {
  if (text.size() > 256) return std::nullopt;
  std::vector<Token> tokens;
  tokens.reserve(16);
  if (!tokenize(text, tokens)) return std::nullopt;
  // Drop blanks at both ends.
  while (!tokens.empty() && tokens.front().kind == Token::Sep && tokens.front().sep == ' ') tokens.erase(tokens.begin());
  while (!tokens.empty() && tokens.back().kind == Token::Sep && tokens.back().sep == ' ') tokens.pop_back();
  if (tokens.empty()) return std::nullopt;
  Parsed p;
  if (!collect(tokens, p)) return std::nullopt;
  const bool hasDate = p.count > 0 || p.month != 0;
  if (!hasDate) {
    if (!p.hasTime) return std::nullopt;
    return makeDate(1899, 12, 30, p.hour, p.minute, p.second);
  }
  const auto day = resolveDate(p);
  if (!day) return std::nullopt;
  if (!p.hasTime) return day;
  const DateParts parts = splitDate(*day);
  return makeDate(parts.year, parts.month, parts.day, p.hour, p.minute, p.second);
}

bool IsDate(std::string_view text) { return parseDate(text).has_value(); }

std::optional<Date> DateValue(std::string_view text) {
  const auto d = parseDate(text);
  return d ? std::optional<Date>(datePart(*d)) : std::nullopt;
}

std::optional<Date> TimeValue(std::string_view text) {
  const auto d = parseDate(text);
  return d ? std::optional<Date>(timePart(*d)) : std::nullopt;
}

}  // namespace zxp::host
