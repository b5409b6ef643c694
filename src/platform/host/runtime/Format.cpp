#include "platform/host/runtime/Format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

#include "platform/base/Scratch.h"
#include "platform/host/NoCase.h"
#include "platform/host/runtime/DateParse.h"
#include "platform/host/runtime/Numeric.h"
#include "platform/host/runtime/Text.h"

namespace zxp::host {
namespace {

// ---- Small text helpers --------------------------------------------------------------------------

void appendInt(std::string& out, long long v, int minWidth = 1) {
  char buf[24];
  auto res = std::to_chars(buf, buf + sizeof buf, v < 0 ? -v : v);
  const int len = static_cast<int>(res.ptr - buf);
  if (v < 0) out.push_back('-');
  if (len < minWidth) out.append(static_cast<size_t>(minWidth - len), '0');
  out.append(buf, static_cast<size_t>(len));
}

// ---- Compiled patterns ---------------------------------------------------------------------------

enum class Kind : uint8_t { None, Number, Date, String };

enum class T : uint8_t {
  Lit,
  // numbers
  Int, Point, Frac, Comma, Percent, Exp, ExpDigit,
  // dates
  DateSep, TimeSep, GeneralDate, Day, Day2, DayAbbr, DayName, ShortDate, LongDate, Weekday, Week,
  Month, Month2, MonthAbbr, MonthName, Minute, Minute2, Quarter, DayOfYear, Year2, Year4,
  Hour, Hour2, Second, Second2, LongTime, AmPmUpper, AmPmLower, APUpper, APLower, AmPmLocale,
  // texts
  CharOrSpace, CharOrNothing,
};

struct Item {
  T type = T::Lit;
  bool zero = false;        // number placeholders: '0' rather than '#'; Comma: shown literally
  char expChar = 'E';       // Exp
  bool expPlus = false;     // Exp: "E+" shows the sign of positive exponents too
  int index = 0;            // Comma: integer placeholders before it
  std::string lit;          // Lit
};

struct Section {
  std::vector<Item> items;
  bool empty = true;
  // numbers
  int intCount = 0, firstZero = -1, fracCount = 0, expZeros = 0, scale = 0, percent = 0;
  std::vector<bool> fracZero;
  bool grouping = false, scientific = false;
  // dates
  bool twelveHour = false;
  // texts
  int placeholders = 0;
  char caseMode = 0;  // '<', '>' or 0
  bool leftToRight = false;
};

struct Compiled {
  Kind kind = Kind::None;
  int count = 0;
  std::array<Section, 4> sections;
};

// Length of an AM/PM token at s[i] ("AM/PM" 5, "AMPM" 4, "A/P" 3), 0 when there is none.
int matchAmPm(std::string_view s, size_t i) {
  auto at = [&](std::string_view w) { return i + w.size() <= s.size() && equalsNoCase(s.substr(i, w.size()), w); };
  if (at("am/pm")) return 5;
  if (at("ampm")) return 4;
  if (at("a/p")) return 3;
  return 0;
}

// Counted up to 6, the longest date token ("dddddd"): a pattern of a long run of one letter
// ("MMMM...M") is read token by token, so counting the whole run each time would take time
// quadratic in its length.
size_t runLength(std::string_view s, size_t i, char lower) {
  constexpr size_t kLongestToken = 6;
  size_t k = i;
  while (k < s.size() && k - i < kLongestToken && asciiLower(s[k]) == lower) ++k;
  return k - i;
}

// Skips a quoted text or an escaped character starting at s[i]; appends what it shows to lit.
// Returns false when s[i] starts neither.
bool takeLiteral(std::string_view s, size_t& i, std::string& lit) {
  if (s[i] == '"') {
    const size_t close = s.find('"', i + 1);
    const size_t end = close == std::string_view::npos ? s.size() : close;
    lit.append(s.substr(i + 1, end - i - 1));
    i = close == std::string_view::npos ? s.size() : close + 1;
    return true;
  }
  if (s[i] == '\\') {
    const size_t len = utf8CharLength(s, i + 1);
    lit.append(s.substr(i + 1, len));
    i += 1 + len;
    return true;
  }
  return false;
}

void addLit(Section& sec, std::string_view text) {
  if (text.empty()) return;
  if (sec.items.empty() || sec.items.back().type != T::Lit) sec.items.push_back(Item{});
  sec.items.back().lit.append(text);
}

void add(Section& sec, T type) {
  Item it;
  it.type = type;
  sec.items.push_back(std::move(it));
}

// Appends the literal or the plain character at s[i] and advances.
void literalAt(Section& sec, std::string_view s, size_t& i) {
  std::string lit;
  if (takeLiteral(s, i, lit)) {
    addLit(sec, lit);
    return;
  }
  const size_t len = utf8CharLength(s, i);
  addLit(sec, s.substr(i, len));
  i += len;
}

Kind classify(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    std::string skip;
    if (takeLiteral(s, i, skip)) continue;
    const char c = s[i];
    const char lc = asciiLower(c);
    switch (c) {
      case '0': case '#': case '%': case '.': case ',':
        return Kind::Number;
      case '@': case '&': case '<': case '>': case '!':
        return Kind::String;
      case 'E': case 'e':
        if (i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-')) return Kind::Number;
        break;
      default:
        break;
    }
    if (lc == 'd' || lc == 'm' || lc == 'y' || lc == 'h' || lc == 'n' || lc == 's' || lc == 'w' || lc == 'q' ||
        lc == 'c')
      return Kind::Date;
    if (lc == 't' && runLength(s, i, 't') >= 5) return Kind::Date;
    if (lc == 'a' && matchAmPm(s, i) > 0) return Kind::Date;
    i += utf8CharLength(s, i);
  }
  return Kind::None;
}

void compileNumber(std::string_view s, Section& sec) {
  bool hasPoint = false;
  for (size_t i = 0; i < s.size();) {
    const char c = s[i];
    if (c == '0' || c == '#') {
      Item it;
      it.zero = c == '0';
      if (sec.scientific) {
        it.type = T::ExpDigit;
        if (it.zero) ++sec.expZeros;
      } else if (!hasPoint) {
        it.type = T::Int;
        if (it.zero && sec.firstZero < 0) sec.firstZero = sec.intCount;
        ++sec.intCount;
      } else {
        it.type = T::Frac;
        sec.fracZero.push_back(it.zero);
        ++sec.fracCount;
      }
      sec.items.push_back(std::move(it));
      ++i;
    } else if (c == '.' && !hasPoint && !sec.scientific) {
      hasPoint = true;
      add(sec, T::Point);
      ++i;
    } else if (c == ',' && !sec.scientific) {
      Item it;
      it.type = T::Comma;
      it.index = hasPoint ? -1 : sec.intCount;
      sec.items.push_back(std::move(it));
      ++i;
    } else if (c == '%') {
      add(sec, T::Percent);
      if (sec.percent < 64) ++sec.percent;
      ++i;
    } else if ((c == 'E' || c == 'e') && !sec.scientific && i + 2 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-') &&
               (s[i + 2] == '0' || s[i + 2] == '#')) {
      Item it;
      it.type = T::Exp;
      it.expChar = c;
      it.expPlus = s[i + 1] == '+';
      sec.items.push_back(std::move(it));
      sec.scientific = true;
      i += 2;
    } else {
      literalAt(sec, s, i);
    }
  }
  // A separator with integer placeholders on both sides groups thousands; one after the last
  // integer placeholder (left of the decimal point, or after every placeholder) divides by 1000;
  // one before any placeholder, or between fraction placeholders, is an ordinary character.
  for (size_t k = 0; k < sec.items.size(); ++k) {
    Item& it = sec.items[k];
    if (it.type != T::Comma) continue;
    bool scales = false;
    if (it.index < 0) {
      scales = true;
      for (size_t j = k + 1; j < sec.items.size(); ++j)
        if (sec.items[j].type == T::Frac) scales = false;
    } else if (it.index == 0) {
      scales = false;
    } else if (it.index < sec.intCount) {
      sec.grouping = true;
      continue;
    } else {
      scales = true;
    }
    if (!scales) it.zero = true;  // shown as ","
    else if (sec.scale < 64) ++sec.scale;
  }
}

void compileDate(std::string_view s, Section& sec) {
  bool lastWasHour = false;
  for (size_t i = 0; i < s.size();) {
    const char c = s[i];
    const char lc = asciiLower(c);
    T type = T::Lit;
    size_t take = 1;
    switch (lc) {
      case '/': type = T::DateSep; break;
      case ':': type = T::TimeSep; break;
      case 'c': type = T::GeneralDate; break;
      case 'q': type = T::Quarter; break;
      case 'd': {
        take = std::min<size_t>(runLength(s, i, 'd'), 6);
        static constexpr T kDays[] = {T::Day, T::Day2, T::DayAbbr, T::DayName, T::ShortDate, T::LongDate};
        type = kDays[take - 1];
        break;
      }
      case 'w':
        take = std::min<size_t>(runLength(s, i, 'w'), 2);
        type = take == 2 ? T::Week : T::Weekday;
        break;
      case 'm': {
        take = std::min<size_t>(runLength(s, i, 'm'), 4);
        static constexpr T kMonths[] = {T::Month, T::Month2, T::MonthAbbr, T::MonthName};
        type = kMonths[take - 1];
        if (lastWasHour && take <= 2) type = take == 2 ? T::Minute2 : T::Minute;
        break;
      }
      case 'y': {
        const size_t run = runLength(s, i, 'y');
        take = run >= 4 ? 4 : run >= 2 ? 2 : 1;
        type = take == 4 ? T::Year4 : take == 2 ? T::Year2 : T::DayOfYear;
        break;
      }
      case 'h':
        take = std::min<size_t>(runLength(s, i, 'h'), 2);
        type = take == 2 ? T::Hour2 : T::Hour;
        break;
      case 'n':
        take = std::min<size_t>(runLength(s, i, 'n'), 2);
        type = take == 2 ? T::Minute2 : T::Minute;
        break;
      case 's':
        take = std::min<size_t>(runLength(s, i, 's'), 2);
        type = take == 2 ? T::Second2 : T::Second;
        break;
      case 't':
        if (runLength(s, i, 't') >= 5) {
          type = T::LongTime;
          take = 5;
        }
        break;
      case 'a':
        if (const int len = matchAmPm(s, i)) {
          take = static_cast<size_t>(len);
          const bool upper = c == 'A';
          type = len == 5 ? (upper ? T::AmPmUpper : T::AmPmLower)
                 : len == 3 ? (upper ? T::APUpper : T::APLower)
                            : T::AmPmLocale;
          sec.twelveHour = true;
        }
        break;
      default:
        break;
    }
    if (type == T::Lit) {
      literalAt(sec, s, i);
      continue;
    }
    add(sec, type);
    if (type != T::DateSep && type != T::TimeSep) lastWasHour = type == T::Hour || type == T::Hour2;
    i += take;
  }
}

void compileString(std::string_view s, Section& sec) {
  for (size_t i = 0; i < s.size();) {
    const char c = s[i];
    if (c == '@' || c == '&') {
      add(sec, c == '@' ? T::CharOrSpace : T::CharOrNothing);
      ++sec.placeholders;
      ++i;
    } else if (c == '<' || c == '>') {
      sec.caseMode = c;
      ++i;
    } else if (c == '!') {
      sec.leftToRight = true;
      ++i;
    } else {
      literalAt(sec, s, i);
    }
  }
}

std::unique_ptr<Compiled> compile(std::string_view pattern) {
  auto c = std::make_unique<Compiled>();
  // Split into sections at semicolons outside quotes and escapes (at most four).
  std::array<std::string_view, 4> texts;
  size_t start = 0;
  for (size_t i = 0; i < pattern.size() && c->count < 3;) {
    std::string skip;
    if (takeLiteral(pattern, i, skip)) continue;
    if (pattern[i] == ';') {
      texts[c->count++] = pattern.substr(start, i - start);
      start = i + 1;
    }
    i += utf8CharLength(pattern, i);
  }
  std::string_view rest = pattern.substr(std::min(start, pattern.size()));
  if (c->count == 3) rest = rest.substr(0, std::min(rest.size(), rest.find(';')));  // a fifth is ignored
  texts[c->count++] = rest;
  for (int k = 0; k < c->count && c->kind == Kind::None; ++k) c->kind = classify(texts[k]);
  for (int k = 0; k < c->count; ++k) {
    Section& sec = c->sections[k];
    sec.empty = texts[k].empty();
    switch (c->kind) {
      case Kind::Date: compileDate(texts[k], sec); break;
      case Kind::String: compileString(texts[k], sec); break;
      default: compileNumber(texts[k], sec); break;
    }
  }
  return c;
}

// A few recently used patterns stay compiled (controls format with the same pattern over and
// over: a column, a clock panel).
const Compiled& compiledPattern(std::string_view pattern, std::unique_ptr<Compiled>& scratch) {
  constexpr size_t kSlots = 8, kMaxCachedLength = 128;
  struct Slot {
    std::string key;
    std::unique_ptr<Compiled> value;
  };
  ZXP_SCRATCH std::array<Slot, kSlots> cache;
  ZXP_SCRATCH size_t next = 0;
  for (Slot& s : cache)
    if (s.value && s.key == pattern) return *s.value;
  if (pattern.size() > kMaxCachedLength) {
    scratch = compile(pattern);
    return *scratch;
  }
  Slot& slot = cache[next];
  next = (next + 1) % kSlots;
  slot.key.assign(pattern);
  slot.value = compile(pattern);
  return *slot.value;
}

// ---- Numbers -----------------------------------------------------------------------------------

std::string renderNumberSection(const Section& sec, double absValue, bool minus) {
  DecimalDigits dd = toDecimalDigits(absValue);
  if (!dd.isZero()) dd.exponent += 2 * sec.percent - 3 * sec.scale;
  long expValue = 0;
  if (sec.scientific) {
    if (!dd.isZero()) {
      expValue = dd.exponent - sec.intCount;
      dd.exponent = sec.intCount;
    }
    dd.roundTo(sec.fracCount);
    if (!dd.isZero() && dd.exponent > sec.intCount) {  // 9.99 rounded up to 10.0
      dd.exponent = sec.intCount;
      ++expValue;
    }
  } else {
    dd.roundTo(sec.fracCount);
  }
  std::string intStr = dd.integerDigits();
  const std::string fracStr = dd.fractionDigits(sec.fracCount);
  int fracShown = sec.fracCount;
  while (fracShown > 0 && !sec.fracZero[fracShown - 1] && fracStr[fracShown - 1] == '0') --fracShown;
  const int minInt = sec.firstZero < 0 ? 0 : sec.intCount - sec.firstZero;
  if (static_cast<int>(intStr.size()) < minInt) intStr.insert(0, static_cast<size_t>(minInt) - intStr.size(), '0');

  std::string out;
  out.reserve(intStr.size() + sec.fracCount + 16);
  if (minus) out.push_back('-');
  const long total = static_cast<long>(intStr.size());
  auto emitDigit = [&](long i) {
    out.push_back(intStr[static_cast<size_t>(i)]);
    const long p = total - 1 - i;
    if (sec.grouping && p > 0 && p % 3 == 0) out.push_back(locale::kThousandsSeparator);
  };
  int intSeen = 0, fracSeen = 0;
  for (const Item& it : sec.items) {
    switch (it.type) {
      case T::Lit: out.append(it.lit); break;
      case T::Comma:
        if (it.zero) out.push_back(',');
        break;
      case T::Int: {
        const int k = intSeen++;
        if (k == 0)
          for (long i = 0; i < total - sec.intCount; ++i) emitDigit(i);  // digits beyond the placeholders
        const long idx = total - sec.intCount + k;
        if (idx >= 0) emitDigit(idx);
        break;
      }
      case T::Point:
        if (sec.intCount == 0)
          for (long i = 0; i < total; ++i) emitDigit(i);
        out.push_back(locale::kDecimalPoint);
        break;
      case T::Frac: {
        const int j = fracSeen++;
        if (j < fracShown) out.push_back(fracStr[static_cast<size_t>(j)]);
        break;
      }
      case T::Percent: out.push_back('%'); break;
      case T::Exp:
        out.push_back(it.expChar);
        if (expValue < 0) out.push_back('-');
        else if (it.expPlus) out.push_back('+');
        appendInt(out, expValue < 0 ? -expValue : expValue, std::max(sec.expZeros, 1));
        break;
      default: break;
    }
  }
  return out;
}

std::string formatNumber(const Compiled& c, double x) {
  if (!std::isfinite(x)) return numberToText(x);
  int k = 0;
  bool minus = false;
  if (x < 0 && c.count >= 2 && !c.sections[1].empty) k = 1;
  else if (x == 0 && c.count >= 3 && !c.sections[2].empty) k = 2;
  else minus = x < 0;
  const Section& sec = c.sections[k];
  if (sec.empty) {  // only an empty positive section is left: the default text
    return numberToText(x);
  }
  return renderNumberSection(sec, std::fabs(x), minus);
}

// ---- Dates -------------------------------------------------------------------------------------

int hour12(int h) { return h % 12 == 0 ? 12 : h % 12; }

void appendShortDate(std::string& out, const DateParts& p) {
  appendInt(out, p.month);
  out.push_back(locale::kDateSeparator);
  appendInt(out, p.day);
  out.push_back(locale::kDateSeparator);
  appendInt(out, p.year);
}

void appendLongDate(std::string& out, Date d, const DateParts& p) {
  out += WeekdayName(Weekday(d));
  out += ", ";
  out += MonthName(p.month);
  out.push_back(' ');
  appendInt(out, p.day);
  out += ", ";
  appendInt(out, p.year);
}

void appendLongTime(std::string& out, const DateParts& p) {
  appendInt(out, hour12(p.hour));
  out.push_back(locale::kTimeSeparator);
  appendInt(out, p.minute, 2);
  out.push_back(locale::kTimeSeparator);
  appendInt(out, p.second, 2);
  out.push_back(' ');
  out += p.hour < 12 ? locale::kAM : locale::kPM;
}

void appendGeneralDate(std::string& out, Date d, const DateParts& p) {
  const bool hasDate = dayNumber(d) != 0;
  const bool hasTime = secondsOfDay(d) != 0;
  if (hasDate) appendShortDate(out, p);
  if (hasDate && hasTime) out.push_back(' ');
  if (hasTime || !hasDate) appendLongTime(out, p);
}

std::string renderDateSection(const Section& sec, Date d, FirstDayOfWeek firstDay, FirstWeekOfYear firstWeek) {
  const DateParts p = splitDate(d);
  std::string out;
  out.reserve(32);
  const int hour = sec.twelveHour ? hour12(p.hour) : p.hour;
  const bool am = p.hour < 12;
  for (const Item& it : sec.items) {
    switch (it.type) {
      case T::Lit: out.append(it.lit); break;
      case T::DateSep: out.push_back(locale::kDateSeparator); break;
      case T::TimeSep: out.push_back(locale::kTimeSeparator); break;
      case T::GeneralDate: appendGeneralDate(out, d, p); break;
      case T::Day: appendInt(out, p.day); break;
      case T::Day2: appendInt(out, p.day, 2); break;
      case T::DayAbbr: out += WeekdayName(Weekday(d), true); break;
      case T::DayName: out += WeekdayName(Weekday(d)); break;
      case T::ShortDate: appendShortDate(out, p); break;
      case T::LongDate: appendLongDate(out, d, p); break;
      case T::Weekday: appendInt(out, Weekday(d, firstDay)); break;
      case T::Week: appendInt(out, WeekOfYear(d, firstDay, firstWeek)); break;
      case T::Month: appendInt(out, p.month); break;
      case T::Month2: appendInt(out, p.month, 2); break;
      case T::MonthAbbr: out += MonthName(p.month, true); break;
      case T::MonthName: out += MonthName(p.month); break;
      case T::Quarter: appendInt(out, (p.month - 1) / 3 + 1); break;
      case T::DayOfYear: appendInt(out, DayOfYear(d)); break;
      case T::Year2: appendInt(out, p.year % 100, 2); break;
      case T::Year4: appendInt(out, p.year); break;
      case T::Hour: appendInt(out, hour); break;
      case T::Hour2: appendInt(out, hour, 2); break;
      case T::Minute: appendInt(out, p.minute); break;
      case T::Minute2: appendInt(out, p.minute, 2); break;
      case T::Second: appendInt(out, p.second); break;
      case T::Second2: appendInt(out, p.second, 2); break;
      case T::LongTime: appendLongTime(out, p); break;
      case T::AmPmUpper: out += am ? "AM" : "PM"; break;
      case T::AmPmLower: out += am ? "am" : "pm"; break;
      case T::APUpper: out.push_back(am ? 'A' : 'P'); break;
      case T::APLower: out.push_back(am ? 'a' : 'p'); break;
      case T::AmPmLocale: out += am ? locale::kAM : locale::kPM; break;
      default: break;
    }
  }
  return out;
}

// ---- Texts -------------------------------------------------------------------------------------

std::string renderStringSection(const Section& sec, std::string_view text) {
  std::string cased;
  if (sec.caseMode == '>') cased = UCase(text);
  else if (sec.caseMode == '<') cased = LCase(text);
  else cased.assign(text);
  std::string out;
  if (sec.placeholders == 0) {
    for (const Item& it : sec.items) out.append(it.lit);
    out += cased;
    return out;
  }
  const std::vector<std::string_view> chars = utf8Characters(cased);
  const long n = static_cast<long>(chars.size());
  const long places = sec.placeholders;
  long k = 0;
  for (const Item& it : sec.items) {
    if (it.type == T::Lit) {
      out.append(it.lit);
      continue;
    }
    long ci;
    if (sec.leftToRight) {
      ci = k;
    } else {
      // Characters fill the placeholders from the right; those left over go before the first.
      if (k == 0)
        for (long i = 0; i < n - places; ++i) out.append(chars[static_cast<size_t>(i)]);
      ci = k - (places - n);
    }
    if (ci >= 0 && ci < n) out.append(chars[static_cast<size_t>(ci)]);
    else if (it.type == T::CharOrSpace) out.push_back(' ');
    if (sec.leftToRight && k == places - 1)
      for (long i = places; i < n; ++i) out.append(chars[static_cast<size_t>(i)]);  // left over: after the last
    ++k;
  }
  return out;
}

std::string formatText(const Compiled& c, std::string_view text) {
  const int k = text.empty() && c.count >= 2 ? 1 : 0;
  return renderStringSection(c.sections[k], text);
}

// ---- Named formats -----------------------------------------------------------------------------

enum class Named {
  GeneralNumber, Currency, Fixed, Standard, Percent, Scientific, YesNo, TrueFalse, OnOff,
  GeneralDate, LongDate, MediumDate, ShortDate, LongTime, MediumTime, ShortTime,
};

struct NamedFormat {
  std::string_view name;
  Named id;
  std::string_view pattern;  // the user-defined pattern it stands for, when there is one
};

constexpr NamedFormat kNamed[] = {
    {"General Number", Named::GeneralNumber, ""},
    {"Currency", Named::Currency, "$#,##0.00;($#,##0.00)"},
    {"Fixed", Named::Fixed, "0.00"},
    {"Standard", Named::Standard, "#,##0.00"},
    {"Percent", Named::Percent, "0.00%"},
    {"Scientific", Named::Scientific, "0.00E+00"},
    {"Yes/No", Named::YesNo, ""},
    {"True/False", Named::TrueFalse, ""},
    {"On/Off", Named::OnOff, ""},
    {"General Date", Named::GeneralDate, "c"},
    {"Long Date", Named::LongDate, "dddddd"},
    {"Medium Date", Named::MediumDate, "dd-mmm-yy"},
    {"Short Date", Named::ShortDate, "ddddd"},
    {"Long Time", Named::LongTime, "ttttt"},
    {"Medium Time", Named::MediumTime, "hh:nn AM/PM"},
    {"Short Time", Named::ShortTime, "hh:nn"},
};

const NamedFormat* findNamed(std::string_view pattern) {
  if (pattern.size() < 5 || pattern.size() > 14) return nullptr;
  for (const NamedFormat& n : kNamed)
    if (equalsNoCase(pattern, n.name)) return &n;
  return nullptr;
}

std::string defaultText(const FormatValue& v) {
  switch (v.kind()) {
    case FormatValue::Kind::Boolean: return v.number() != 0 ? "True" : "False";
    case FormatValue::Kind::Number: return numberToText(v.number());
    case FormatValue::Kind::Date:
      return isValidDate(v.number()) ? dateToText(Date{v.number()}) : numberToText(v.number());
    case FormatValue::Kind::Text: return v.text();
    default: return {};
  }
}

// The number a value stands for (Booleans -1/0, dates their serial, numeric texts their value).
std::optional<double> numberOf(const FormatValue& v) {
  switch (v.kind()) {
    case FormatValue::Kind::Boolean:
    case FormatValue::Kind::Number:
    case FormatValue::Kind::Date: return v.number();
    case FormatValue::Kind::Text:
      if (auto n = parseNumber(v.text())) return n;
      if (auto d = parseDate(v.text())) return d->serial;
      return std::nullopt;
    default: return std::nullopt;
  }
}

std::string formatNamed(const FormatValue& v, const NamedFormat& named, FirstDayOfWeek firstDay,
                        FirstWeekOfYear firstWeek) {
  if (!named.pattern.empty()) return Format(v, named.pattern, firstDay, firstWeek);
  const auto n = numberOf(v);
  if (!n) return defaultText(v);
  switch (named.id) {
    case Named::YesNo: return *n != 0 ? "Yes" : "No";
    case Named::TrueFalse: return *n != 0 ? "True" : "False";
    case Named::OnOff: return *n != 0 ? "On" : "Off";
    default: return numberToText(*n);
  }
}

}  // namespace

std::string dateToText(Date d) {
  std::string out;
  appendGeneralDate(out, d, splitDate(d));
  return out;
}

std::string Format(const FormatValue& value, std::string_view pattern, FirstDayOfWeek firstDay,
                   FirstWeekOfYear firstWeek) {
  using K = FormatValue::Kind;
  if (pattern.empty()) return defaultText(value);
  if (const NamedFormat* named = findNamed(pattern)) return formatNamed(value, *named, firstDay, firstWeek);

  std::unique_ptr<Compiled> scratch;
  const Compiled& c = compiledPattern(pattern, scratch);

  if (value.kind() == K::Empty) return c.kind == Kind::String ? formatText(c, "") : std::string();
  if (value.kind() == K::Null) {
    if (c.kind == Kind::String && c.count >= 2) return renderStringSection(c.sections[1], "");
    if ((c.kind == Kind::Number || c.kind == Kind::None) && c.count >= 4 && !c.sections[3].empty)
      return renderNumberSection(c.sections[3], 0.0, false);
    return {};
  }
  if (c.kind == Kind::String) return formatText(c, defaultText(value));

  // A text is formatted as the number or the date it reads as; otherwise it stays as it is.
  double number = value.number();
  if (value.kind() == K::Text) {
    if (auto n = parseNumber(value.text())) number = *n;
    else if (auto d = parseDate(value.text())) number = d->serial;
    else return value.text();
  }
  if (c.kind == Kind::Date) {
    if (!isValidDate(number)) return defaultText(value);
    return renderDateSection(c.sections[0], Date{number}, firstDay, firstWeek);
  }
  return formatNumber(c, number);
}

}  // namespace zxp::host
