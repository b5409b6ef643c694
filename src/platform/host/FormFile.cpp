#include "platform/host/FormFile.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/base/CodePage.h"
#include "platform/base/HostError.h"
#include "platform/gfx/Font.h"
#include "platform/host/FontLimits.h"
#include "platform/host/NoCase.h"

namespace zxp::host {

FormFileError::FormFileError(int line, const std::string& message)
    : HostError(errInvalidFileFormat, "line " + std::to_string(line) + ": " + message),
      line_(line),
      message_(message) {}

// ---- Base64 ---------------------------------------------------------------------------------

namespace {
constexpr char kB64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int b64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}
}  // namespace

std::string base64Encode(const std::vector<uint8_t>& bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    uint32_t v = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
    out += kB64[(v >> 18) & 63];
    out += kB64[(v >> 12) & 63];
    out += kB64[(v >> 6) & 63];
    out += kB64[v & 63];
  }
  if (i < bytes.size()) {
    uint32_t v = bytes[i] << 16;
    if (i + 1 < bytes.size()) v |= bytes[i + 1] << 8;
    out += kB64[(v >> 18) & 63];
    out += kB64[(v >> 12) & 63];
    out += (i + 1 < bytes.size()) ? kB64[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::optional<std::vector<uint8_t>> base64Decode(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::vector<uint8_t> out;
  out.reserve(text.size() / 4 * 3);
  for (size_t i = 0; i < text.size(); i += 4) {
    bool last = i + 4 == text.size();
    int a = b64Value(text[i]), b = b64Value(text[i + 1]);
    if (a < 0 || b < 0) return std::nullopt;
    char c3 = text[i + 2], c4 = text[i + 3];
    if (last && c3 == '=' && c4 == '=') {
      if (b & 15) return std::nullopt;  // non-canonical trailing bits
      out.push_back(static_cast<uint8_t>((a << 2) | (b >> 4)));
      break;
    }
    int c = b64Value(c3);
    if (c < 0) return std::nullopt;
    if (last && c4 == '=') {
      if (c & 3) return std::nullopt;
      out.push_back(static_cast<uint8_t>((a << 2) | (b >> 4)));
      out.push_back(static_cast<uint8_t>(((b & 15) << 4) | (c >> 2)));
      break;
    }
    int d = b64Value(c4);
    if (d < 0) return std::nullopt;
    out.push_back(static_cast<uint8_t>((a << 2) | (b >> 4)));
    out.push_back(static_cast<uint8_t>(((b & 15) << 4) | (c >> 2)));
    out.push_back(static_cast<uint8_t>(((c & 3) << 6) | d));
  }
  return out;
}

// ---- Writing ----------------------------------------------------------------------------------

namespace {

bool isIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool isIdentChar(char c) { return isIdentStart(c) || (c >= '0' && c <= '9'); }

bool isIdentifier(std::string_view s) {
  if (s.empty() || !isIdentStart(s[0])) return false;
  for (char c : s) {
    if (!isIdentChar(c)) return false;
  }
  return true;
}

// Appends one ASCII character of a quoted string, escaped when it is a quote, a backslash or a
// control character.
void appendQuotedAscii(std::string& out, char ch) {
  static constexpr char hex[] = "0123456789ABCDEF";
  const auto c = static_cast<unsigned char>(ch);
  switch (c) {
    case '"': out += "\\\""; return;
    case '\\': out += "\\\\"; return;
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    default:
      if (c < 0x20 || c == 0x7F) {
        out += "\\x";
        out += hex[c >> 4];
        out += hex[c & 15];
      } else {
        out += ch;
      }
  }
}

// A string for the file: quoted, with every byte that is not part of well-formed UTF-8 escaped,
// so that a written file is always valid UTF-8 text and reads back to the same bytes.
std::string quote(std::string_view s) {
  std::string out = "\"";
  size_t i = 0;
  while (i < s.size()) {
    size_t len = 1;
    const auto c = static_cast<unsigned char>(s[i]);
    if (c >= 0x80) {
      const char32_t cp = decodeUtf8(s.substr(i), len);
      const bool wellFormed = cp != kReplacementCharacter || s.substr(i, len) == "\xEF\xBF\xBD";
      if (!wellFormed) {
        for (size_t k = 0; k < len; ++k) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned char>(s[i + k]));
          out += buf;
        }
        i += len;
        continue;
      }
      out.append(s.data() + i, len);
    } else {
      appendQuotedAscii(out, s[i]);
    }
    i += len;
  }
  out += '"';
  return out;
}

// A name or key: bare when it is an identifier that is not a keyword of the format.
std::string nameText(std::string_view s) {
  if (isIdentifier(s) && !equalsNoCase(s, "Begin") && !equalsNoCase(s, "End")) return std::string(s);
  return quote(s);
}

template <class F>
std::string shortest(F v) {
  char buf[64];
  auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v);
  (void)ec;
  return std::string(buf, p);
}

// A date as "yyyy-mm-dd", "yyyy-mm-dd hh:mm:ss" or, when it carries a fraction of a second or
// lies outside the calendar, its serial number: whatever reads back to the same bits.
std::string dateText(Date d) {
  if (isValidDate(d.serial)) {
    DateParts p = splitDate(d);
    auto exact = makeDate(p.year, p.month, p.day, p.hour, p.minute, p.second);
    if (exact && std::memcmp(&exact->serial, &d.serial, sizeof d.serial) == 0) {
      char buf[48];
      if (p.hour == 0 && p.minute == 0 && p.second == 0)
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", p.year, p.month, p.day);
      else
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute,
                      p.second);
      return buf;
    }
  }
  return shortest(d.serial);
}

void writeIndent(std::string& out, int depth) { out.append(static_cast<size_t>(depth) * 2, ' '); }

void writePicture(std::string& out, const std::vector<uint8_t>& bytes, int depth) {
  out += "Picture {\n";
  std::string b64 = base64Encode(bytes);
  constexpr size_t kLine = 76;
  for (size_t i = 0; i < b64.size(); i += kLine) {
    writeIndent(out, depth + 1);
    out.append(b64, i, kLine);
    out += '\n';
  }
  writeIndent(out, depth);
  out += '}';
}

// Colours read best in hexadecimal: Longs under a key that names a colour are written as &H..&.
bool namesColour(std::string_view key) {
  for (size_t i = 0; i + 5 <= key.size(); ++i) {
    if (equalsNoCase(key.substr(i, 5), "color") || (i + 6 <= key.size() && equalsNoCase(key.substr(i, 6), "colour")))
      return true;
  }
  return false;
}

std::string hexLong(int32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "&H%08X&", static_cast<uint32_t>(v));
  return buf;
}

void writeValue(std::string& out, const Variant& v, int depth) {
  using K = Variant::Kind;
  switch (v.kind()) {
    case K::Empty: out += "Empty"; return;
    case K::Boolean: {
      VBBool b = v.toVBBool();
      out += "Boolean ";
      out += b == vbTrue ? "True" : b == vbFalse ? "False" : std::to_string(b);
      return;
    }
    case K::Integer: out += "Integer " + std::to_string(v.toInteger()); return;
    case K::Long: out += "Long " + std::to_string(v.toLong()); return;
    case K::Single: out += "Single " + shortest(v.toSingle()); return;
    case K::Double: out += "Double " + shortest(v.toDouble()); return;
    case K::String: out += "String " + quote(*v.getIf<std::string>()); return;
    case K::Date: out += "Date " + dateText(v.toDate()); return;
    case K::Font: {
      FontRef f = v.toFont();
      if (!f) {
        out += "Font None";
        return;
      }
      const gfx::FontDesc& s = *f;
      out += "Font " + quote(s.name) + " " + shortest(s.size);
      if (s.bold()) out += " Bold";
      if (s.italic) out += " Italic";
      if (s.underline) out += " Underline";
      if (s.strikethrough) out += " Strikethrough";
      if (s.weight != (s.bold() ? 700 : 400)) out += " Weight=" + std::to_string(s.weight);
      if (s.charset != 0) out += " Charset=" + std::to_string(s.charset);
      return;
    }
    case K::Picture: {
      PictureRef p = v.toPicture();
      if (p.empty()) {
        out += "Picture None";
        return;
      }
      writePicture(out, gfx::savePicture(p), depth);
      return;
    }
    case K::Object:
    case K::Array:
      // Host objects (a data object) and arrays have no persistent form: the host's error for writing one.
      throw HostError(330, "Illegal parameter.  Can't write object because it does not support persistence.");
  }
}

void writeBag(std::string& out, const PropertyBag& bag, int depth) {
  for (const PropertyBag::Entry& e : bag.entries()) {
    writeIndent(out, depth);
    out += nameText(e.key);
    out += " = ";
    if (e.value.kind() == Variant::Kind::Long && namesColour(e.key)) out += "Long " + hexLong(e.value.toLong());
    else writeValue(out, e.value, depth);
    out += '\n';
  }
}

void writeControl(std::string& out, const ControlRecord& c, int depth) {
  writeIndent(out, depth);
  out += "Begin " + nameText(c.className) + " " + nameText(c.name) + "\n";
  const ExtenderRecord& x = c.extender;
  auto ext = [&](const char* key, const std::string& value) {
    writeIndent(out, depth + 1);
    out += "@";
    out += key;
    out += " = " + value + "\n";
  };
  if (x.index) ext("Index", std::to_string(*x.index));
  ext("Left", std::to_string(x.left));
  ext("Top", std::to_string(x.top));
  ext("Width", std::to_string(x.width));
  ext("Height", std::to_string(x.height));
  if (x.align != Align::vbAlignNone) ext("Align", std::to_string(static_cast<int16_t>(x.align)));
  if (x.tabIndex >= 0) ext("TabIndex", std::to_string(x.tabIndex));
  if (!x.tabStop) ext("TabStop", "False");
  if (!x.visible) ext("Visible", "False");
  if (x.defaultButton) ext("Default", "True");
  if (x.cancelButton) ext("Cancel", "True");
  writeBag(out, c.properties, depth + 1);
  for (const ControlRecord& child : c.children) writeControl(out, child, depth + 1);
  writeIndent(out, depth);
  out += "End\n";
}

}  // namespace

std::string formatFormValue(const Variant& value) {
  std::string out;
  writeValue(out, value, 0);
  return out;
}

std::string writeFormFile(const FormRecord& form) {
  std::string out = "ZorvaXP Form " + std::to_string(kFormFileVersion) + "\n";
  out += "Begin Form " + nameText(form.name) + "\n";
  writeBag(out, form.properties, 1);
  for (const ControlRecord& c : form.controls) writeControl(out, c, 1);
  out += "End\n";
  return out;
}

// ---- Parsing ----------------------------------------------------------------------------------

std::string excerpt(std::string_view s) {
  constexpr size_t kQuoted = 40;
  bool cut = false;
  if (s.size() > kQuoted) {
    size_t n = kQuoted;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    s = s.substr(0, n);
    cut = true;
  }
  std::string out;
  for (char c : s) out += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? '?' : c;
  if (cut) out += "...";
  return out;
}

namespace {

// One line of the file, consumed token by token.
class LineCursor {
 public:
  LineCursor(std::string_view text, int line) : s_(text), line_(line) {}

  [[noreturn]] void fail(const std::string& msg) const { throw FormFileError(line_, msg); }
  int line() const { return line_; }

  void skipBlanks() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t')) ++pos_;
  }
  bool atEnd() {
    skipBlanks();
    return pos_ >= s_.size();
  }
  void expectEnd() {
    if (!atEnd()) fail("unexpected text '" + printable(s_.substr(pos_, 20)) + "' at the end of the line");
  }
  bool accept(char c) {
    skipBlanks();
    if (pos_ < s_.size() && s_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  void expect(char c, const char* what) {
    if (!accept(c)) fail(std::string("expected ") + what);
  }
  char peek() {
    skipBlanks();
    return pos_ < s_.size() ? s_[pos_] : '\0';
  }

  // A bare word: letters, digits, underscores (and, for numbers, signs, dots, '&').
  std::string_view word() {
    skipBlanks();
    size_t start = pos_;
    while (pos_ < s_.size() && s_[pos_] != ' ' && s_[pos_] != '\t' && s_[pos_] != '=' && s_[pos_] != '"' &&
           s_[pos_] != '{' && s_[pos_] != '}')
      ++pos_;
    return s_.substr(start, pos_ - start);
  }

  std::string quoted() {
    skipBlanks();
    if (pos_ >= s_.size() || s_[pos_] != '"') fail("expected a quoted string");
    ++pos_;
    std::string out;
    if (s_.size() - pos_ > 4096) out.reserve(s_.size() - pos_);  // a long string: one allocation
    while (true) {
      // The plain characters up to the next quote or escape, appended at once: a caption may
      // be megabytes long.
      size_t plain = pos_;
      while (plain < s_.size() && s_[plain] != '"' && s_[plain] != '\\') ++plain;
      out.append(s_.data() + pos_, plain - pos_);
      pos_ = plain;
      if (pos_ >= s_.size()) fail("unterminated string");
      char c = s_[pos_++];
      if (c == '"') return out;
      if (pos_ >= s_.size()) fail("unterminated string");
      char e = s_[pos_++];
      switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'x': {
          if (pos_ + 2 > s_.size()) fail("incomplete \\x escape");
          int hi = hexDigit(s_[pos_]), lo = hexDigit(s_[pos_ + 1]);
          if (hi < 0 || lo < 0) fail("invalid \\x escape");
          out += static_cast<char>((hi << 4) | lo);
          pos_ += 2;
          break;
        }
        default: fail(std::string("unknown escape \\") + printable(std::string_view(&e, 1)));
      }
    }
  }

  // An identifier or a quoted string.
  std::string name(const char* what) {
    if (peek() == '"') return quoted();
    std::string_view w = word();
    if (!isIdentifier(w)) {
      if (w.empty()) fail(std::string("expected ") + what);
      fail(std::string("'") + printable(w) + "' is not a valid " + what);
    }
    return std::string(w);
  }

  static std::string printable(std::string_view s) { return excerpt(s); }

 private:
  static int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  std::string_view s_;
  size_t pos_ = 0;
  int line_;
};

class Parser {
 public:
  explicit Parser(std::string_view text) {
    // A UTF-8 byte-order mark, as some editors write one, is not part of the text.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    size_t start = 0;
    while (start <= text.size()) {
      size_t nl = text.find('\n', start);
      if (nl == std::string_view::npos) nl = text.size();
      std::string_view l = text.substr(start, nl - start);
      if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
      lines_.push_back(l);
      if (nl == text.size()) break;
      start = nl + 1;
    }
  }

  FormRecord parse() {
    // The file is UTF-8 text throughout; other bytes would show as replacement glyphs.
    for (size_t i = 0; i < lines_.size(); ++i) {
      if (!isValidUtf8(lines_[i]))
        throw FormFileError(static_cast<int>(i + 1), "the line is not valid UTF-8 text");
    }
    LineCursor header = nextSignificant("the header line 'ZorvaXP Form 1'");
    if (!equalsNoCase(header.word(), "ZorvaXP") || !equalsNoCase(header.word(), "Form"))
      header.fail("not a form file: expected 'ZorvaXP Form " + std::to_string(kFormFileVersion) + "'");
    std::string_view version = header.word();
    if (version != std::to_string(kFormFileVersion))
      header.fail("unsupported form file version '" + LineCursor::printable(version) + "'");
    header.expectEnd();

    LineCursor begin = nextSignificant("'Begin Form'");
    if (!equalsNoCase(begin.word(), "Begin") || !equalsNoCase(begin.word(), "Form"))
      begin.fail("expected 'Begin Form <name>'");
    FormRecord form;
    form.name = begin.name("form name");
    begin.expectEnd();
    parseBody(form.properties, nullptr, &form.controls, 1);
    // Nothing but blank lines and comments may follow.
    while (auto more = nextSignificantOrNone()) more->fail("text after the form's End");
    return form;
  }

 private:
  // Next line that is not blank nor a comment; nullopt at the end of the file.
  std::optional<LineCursor> nextSignificantOrNone() {
    while (next_ < lines_.size()) {
      std::string_view l = lines_[next_++];
      size_t i = l.find_first_not_of(" \t");
      if (i == std::string_view::npos || l[i] == '\'') continue;
      return LineCursor(l, static_cast<int>(next_));
    }
    return std::nullopt;
  }

  // The number of the file's last line (a newline at the very end does not start another).
  int lastLine() const {
    size_t n = lines_.size();
    if (n > 1 && lines_.back().empty()) --n;
    return static_cast<int>(n);
  }

  LineCursor nextSignificant(const std::string& expected) {
    auto l = nextSignificantOrNone();
    if (!l) throw FormFileError(lastLine(), "unexpected end of file: expected " + expected);
    return *l;
  }

  // Lines of a form or control up to its End.
  void parseBody(PropertyBag& bag, ExtenderRecord* ext, std::vector<ControlRecord>* children, int depth) {
    struct Seen {
      bool index = false, left = false, top = false, width = false, height = false, align = false,
           tabIndex = false, tabStop = false, visible = false, defaultButton = false, cancelButton = false;
    } seen;
    while (true) {
      LineCursor l = nextSignificant("'End'");
      if (l.peek() == '@') {
        l.accept('@');
        if (!ext) l.fail("extender values belong to controls, not to the form");
        parseExtender(l, *ext, seen);
        continue;
      }
      if (l.peek() == '"') {
        parseProperty(l, bag);
        continue;
      }
      LineCursor probe = l;
      std::string_view first = probe.word();
      if (equalsNoCase(first, "End")) {
        probe.expectEnd();
        return;
      }
      if (equalsNoCase(first, "Begin") && probe.peek() != '=') {
        if (depth >= kMaxFormNesting)
          probe.fail("controls nested deeper than " + std::to_string(kMaxFormNesting) + " levels");
        ControlRecord c;
        c.line = probe.line();
        c.className = probe.name("class name");
        c.name = probe.name("control name");
        probe.expectEnd();
        parseBody(c.properties, &c.extender, &c.children, depth + 1);
        children->push_back(std::move(c));
        continue;
      }
      parseProperty(l, bag);
    }
  }

  template <class T>
  static T integer(LineCursor& l, std::string_view text, const char* what) {
    double d = 0;
    if (!parseHostNumber(text, d) || d != std::floor(d))
      l.fail(std::string("expected ") + what + ", found '" + LineCursor::printable(text) + "'");
    if (d < static_cast<double>(std::numeric_limits<T>::min()) || d > static_cast<double>(std::numeric_limits<T>::max()))
      l.fail(std::string(what) + " out of range: " + LineCursor::printable(text));
    return static_cast<T>(d);
  }

  static bool boolean(LineCursor& l, std::string_view text) {
    if (equalsNoCase(text, "True")) return true;
    if (equalsNoCase(text, "False")) return false;
    return integer<int16_t>(l, text, "True or False") != 0;
  }

  void parseExtender(LineCursor& l, ExtenderRecord& x, auto& seen) {
    std::string key = l.name("extender key");
    l.expect('=', "'=' after the extender key");
    std::string_view v = l.word();
    auto once = [&](bool& flag) {
      if (flag) l.fail("extender value @" + LineCursor::printable(key) + " given twice");
      flag = true;
    };
    if (equalsNoCase(key, "Index")) {
      once(seen.index);
      x.index = integer<int16_t>(l, v, "an Integer");
      if (*x.index < 0) l.fail("a control array index cannot be negative");
    } else if (equalsNoCase(key, "Left")) {
      once(seen.left);
      x.left = integer<int32_t>(l, v, "a Long");
    } else if (equalsNoCase(key, "Top")) {
      once(seen.top);
      x.top = integer<int32_t>(l, v, "a Long");
    } else if (equalsNoCase(key, "Width")) {
      once(seen.width);
      x.width = integer<int32_t>(l, v, "a Long");
      if (x.width < 0) l.fail("a width cannot be negative");
    } else if (equalsNoCase(key, "Height")) {
      once(seen.height);
      x.height = integer<int32_t>(l, v, "a Long");
      if (x.height < 0) l.fail("a height cannot be negative");
    } else if (equalsNoCase(key, "Align")) {
      once(seen.align);
      int16_t a = integer<int16_t>(l, v, "an Integer");
      if (a < 0 || a > 4) l.fail("Align must be 0 to 4");
      x.align = static_cast<Align>(a);
    } else if (equalsNoCase(key, "TabIndex")) {
      once(seen.tabIndex);
      x.tabIndex = integer<int16_t>(l, v, "an Integer");
      if (x.tabIndex < 0) l.fail("a tab index cannot be negative");
    } else if (equalsNoCase(key, "TabStop")) {
      once(seen.tabStop);
      x.tabStop = boolean(l, v);
    } else if (equalsNoCase(key, "Visible")) {
      once(seen.visible);
      x.visible = boolean(l, v);
    } else if (equalsNoCase(key, "Default")) {
      once(seen.defaultButton);
      x.defaultButton = boolean(l, v);
    } else if (equalsNoCase(key, "Cancel")) {
      once(seen.cancelButton);
      x.cancelButton = boolean(l, v);
    } else {
      l.fail("unknown extender value @" + LineCursor::printable(key));
    }
    l.expectEnd();
  }

  void parseProperty(LineCursor& l, PropertyBag& bag) {
    std::string key = l.name("property name");
    l.expect('=', "'=' after the property name");
    if (bag.contains(key)) l.fail("property '" + LineCursor::printable(key) + "' given twice");
    Variant value = parseValue(l);
    l.expectEnd();
    bag.set(key, std::move(value), l.line());
  }

  template <class F>
  static F real(LineCursor& l, std::string_view text, const char* what) {
    F v{};
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || p != text.data() + text.size() || ec == std::errc::invalid_argument)
      l.fail(std::string("expected ") + what + ", found '" + LineCursor::printable(text) + "'");
    if (ec == std::errc::result_out_of_range) l.fail(std::string(what) + " out of range: " + LineCursor::printable(text));
    return v;
  }

  Variant parseValue(LineCursor& l) {
    std::string_view type = l.word();
    if (type.empty()) l.fail("expected a value type (Boolean, Integer, Long, Single, Double, String, Date, Font, Picture or Empty)");
    if (equalsNoCase(type, "Empty")) return Variant();
    if (equalsNoCase(type, "String")) return Variant(l.quoted());
    if (equalsNoCase(type, "Font")) return parseFont(l);
    if (equalsNoCase(type, "Picture")) return parsePicture(l);
    std::string_view text = l.word();
    if (equalsNoCase(type, "Boolean")) {
      if (equalsNoCase(text, "True")) return Variant(true);
      if (equalsNoCase(text, "False")) return Variant(false);
      return Variant::fromVBBool(integer<int16_t>(l, text, "True, False or an Integer"));
    }
    if (equalsNoCase(type, "Integer")) return Variant(integer<int16_t>(l, text, "an Integer"));
    if (equalsNoCase(type, "Long")) return Variant(integer<int32_t>(l, text, "a Long"));
    if (equalsNoCase(type, "Single")) return Variant(real<float>(l, text, "a Single"));
    if (equalsNoCase(type, "Double")) return Variant(real<double>(l, text, "a Double"));
    if (equalsNoCase(type, "Date")) return Variant(parseDate(l, text));
    l.fail("unknown value type '" + LineCursor::printable(type) + "'");
  }

  // "yyyy-mm-dd" with an optional "hh:mm:ss", or a serial number.
  static Date parseDate(LineCursor& l, std::string_view text) {
    int y, mo, d;
    if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
      if (!digits(text.substr(0, 4), y) || !digits(text.substr(5, 2), mo) || !digits(text.substr(8, 2), d))
        l.fail("expected a date as yyyy-mm-dd, found '" + LineCursor::printable(text) + "'");
      int h = 0, mi = 0, se = 0;
      if (!l.atEnd()) {
        std::string_view t = l.word();
        if (t.size() != 8 || t[2] != ':' || t[5] != ':' || !digits(t.substr(0, 2), h) || !digits(t.substr(3, 2), mi) ||
            !digits(t.substr(6, 2), se))
          l.fail("expected a time as hh:mm:ss, found '" + LineCursor::printable(t) + "'");
      }
      auto date = makeDate(y, mo, d, h, mi, se);
      if (!date) l.fail("not a valid date: " + LineCursor::printable(text));
      return *date;
    }
    double serial = real<double>(l, text, "a date (yyyy-mm-dd or a serial number)");
    if (!isValidDate(serial)) l.fail("date out of range: " + LineCursor::printable(text));
    return Date(serial);
  }

  static bool digits(std::string_view s, int& out) {
    out = 0;
    for (char c : s) {
      if (c < '0' || c > '9') return false;
      out = out * 10 + (c - '0');
    }
    return !s.empty();
  }

  Variant parseFont(LineCursor& l) {
    if (l.peek() != '"') {
      if (equalsNoCase(l.word(), "None")) return Variant(FontRef());
      l.fail("expected the font's name in quotes, or None");
    }
    gfx::FontDesc s;
    s.name = l.quoted();
    if (!fontNameFits(s.name)) l.fail("a font name must have 1 to 31 characters");
    std::string_view sizeText = l.word();
    s.size = real<double>(l, sizeText, "a font size in points");
    if (!fontSizeFits(s.size)) l.fail("font size out of range: " + LineCursor::printable(sizeText));
    bool weightGiven = false, bold = false;
    s.charset = 0;
    while (!l.atEnd()) {
      std::string_view w = l.word();
      if (w.empty()) l.fail("unexpected character in the font description");
      if (equalsNoCase(w, "Bold")) bold = true;
      else if (equalsNoCase(w, "Italic")) s.italic = true;
      else if (equalsNoCase(w, "Underline")) s.underline = true;
      else if (equalsNoCase(w, "Strikethrough")) s.strikethrough = true;
      else if (equalsNoCase(w, "Weight")) {
        l.expect('=', "'=' after Weight");
        s.weight = integer<int16_t>(l, l.word(), "a font weight");
        if (s.weight < 0 || s.weight > 1000) l.fail("font weight out of range");
        weightGiven = true;
      } else if (equalsNoCase(w, "Charset")) {
        l.expect('=', "'=' after Charset");
        s.charset = integer<int16_t>(l, l.word(), "a character set");
        if (s.charset < 0 || s.charset > 255) l.fail("character set out of range");
      } else {
        l.fail("unknown font attribute '" + LineCursor::printable(w) + "'");
      }
    }
    if (!weightGiven) s.setBold(bold);
    else if (bold && !s.bold()) l.fail("Bold contradicts the weight given");
    return Variant(std::make_shared<const gfx::FontDesc>(std::move(s)));
  }

  Variant parsePicture(LineCursor& l) {
    if (!l.accept('{')) {
      if (equalsNoCase(l.word(), "None")) return Variant(PictureRef());
      l.fail("expected '{' and the picture's base64 lines, or None");
    }
    l.expectEnd();
    int startLine = l.line();
    std::string b64;
    while (true) {
      if (next_ >= lines_.size())
        throw FormFileError(startLine, "picture not closed with '}' before the end of the file");
      std::string_view raw = lines_[next_++];
      LineCursor data(raw, static_cast<int>(next_));
      if (data.accept('}')) {
        data.expectEnd();
        break;
      }
      // A line of base64 text: letters, digits, '+', '/' and the closing '=' padding.
      std::string_view chunk = raw;
      while (!chunk.empty() && (chunk.front() == ' ' || chunk.front() == '\t')) chunk.remove_prefix(1);
      while (!chunk.empty() && (chunk.back() == ' ' || chunk.back() == '\t')) chunk.remove_suffix(1);
      for (char c : chunk) {
        if (b64Value(c) < 0 && c != '=') data.fail("invalid character in picture data");
      }
      b64 += chunk;
    }
    auto bytes = base64Decode(b64);
    if (!bytes) throw FormFileError(startLine, "picture data is not valid base64");
    if (bytes->empty()) throw FormFileError(startLine, "empty picture data (write None for no picture)");
    gfx::PictureLoad loaded = gfx::loadPicture(*bytes);
    if (!loaded.ok()) throw FormFileError(startLine, "cannot load the picture: " + loaded.error);
    // A saved picture of length 0 (its tag and length alone) loads as no picture; a file states
    // that as None, so the data is refused with what it holds.
    if (loaded.picture.empty())
      throw FormFileError(startLine, "the saved picture's length is 0: it holds no picture (write None for no picture)");
    return Variant(loaded.picture);
  }

  std::vector<std::string_view> lines_;
  size_t next_ = 0;
};

}  // namespace

FormRecord parseFormFile(std::string_view text) { return Parser(text).parse(); }

}  // namespace zxp::host
