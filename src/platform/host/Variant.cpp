#include "platform/host/Variant.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/base/HostError.h"
#include "platform/host/FontLimits.h"
#include "platform/host/NoCase.h"
#include "platform/host/runtime/Format.h"
#include "platform/host/runtime/Numeric.h"

namespace zxp::host {

namespace {

[[noreturn]] void typeMismatch() { throw HostError(errTypeMismatch); }
[[noreturn]] void overflow() { throw HostError(errOverflow); }

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Rounds to an integer the host's way (halves to even) and checks the range [lo, hi].
int64_t roundChecked(double d, int64_t lo, int64_t hi) {
  if (std::isnan(d)) overflow();
  double r = std::nearbyint(d);  // default rounding mode: halves to even
  if (r < static_cast<double>(lo) || r > static_cast<double>(hi)) overflow();
  return static_cast<int64_t>(r);
}

}  // namespace

bool parseHostNumber(std::string_view text, double& out) {
  std::string_view s = trim(text);
  // A hexadecimal or octal literal may carry the Long type suffix: &H00C00000&.
  const size_t amp = s.find('&');
  const bool longLiteral = s.size() > 3 && s.back() == '&' && amp != std::string_view::npos && amp + 1 < s.size() &&
                           std::string_view("HhOo").find(s[amp + 1]) != std::string_view::npos;
  const std::optional<double> v = longLiteral ? parseLongRadixLiteral(s) : parseNumber(s);
  if (!v) return false;
  out = *v;
  return true;
}

VarType Variant::varType() const {
  switch (kind()) {
    case Kind::Empty: return VarType::Empty;
    case Kind::Boolean: return VarType::Boolean;
    case Kind::Integer: return VarType::Integer;
    case Kind::Long: return VarType::Long;
    case Kind::Single: return VarType::Single;
    case Kind::Double: return VarType::Double;
    case Kind::String: return VarType::String;
    case Kind::Date: return VarType::Date;
    case Kind::Font:
    case Kind::Picture:
    case Kind::Object: return VarType::Object;
    case Kind::Array: return static_cast<VarType>(static_cast<uint16_t>(VarType::Array) | uint16_t(VarType::Variant));
  }
  return VarType::Empty;
}

std::string Variant::typeName() const {
  switch (kind()) {
    case Kind::Empty: return "Empty";
    case Kind::Boolean: return "Boolean";
    case Kind::Integer: return "Integer";
    case Kind::Long: return "Long";
    case Kind::Single: return "Single";
    case Kind::Double: return "Double";
    case Kind::String: return "String";
    case Kind::Date: return "Date";
    case Kind::Font: return std::get<FontRef>(v_) ? "Font" : "Nothing";
    case Kind::Picture: return std::get<PictureRef>(v_).empty() ? "Nothing" : "Picture";
    case Kind::Object: {
      const ObjectRef& o = std::get<ObjectRef>(v_);
      return o ? o->typeName() : "Nothing";
    }
    case Kind::Array: return "Variant()";
  }
  return "Empty";
}

bool Variant::isNothing() const {
  switch (kind()) {
    case Kind::Empty: return true;
    case Kind::Font: return !std::get<FontRef>(v_);
    case Kind::Picture: return std::get<PictureRef>(v_).empty();
    case Kind::Object: return !std::get<ObjectRef>(v_);
    default: return false;
  }
}

bool Variant::isNumeric() const {
  switch (kind()) {
    case Kind::Empty:
    case Kind::Boolean:
    case Kind::Integer:
    case Kind::Long:
    case Kind::Single:
    case Kind::Double: return true;
    case Kind::String: {
      double d;
      return parseHostNumber(std::get<std::string>(v_), d);
    }
    default: return false;
  }
}

double Variant::toDouble() const {
  switch (kind()) {
    case Kind::Empty: return 0.0;
    case Kind::Boolean: return std::get<Bool16>(v_).v;
    case Kind::Integer: return std::get<int16_t>(v_);
    case Kind::Long: return std::get<int32_t>(v_);
    case Kind::Single: return std::get<float>(v_);
    case Kind::Double: return std::get<double>(v_);
    case Kind::Date: return std::get<Date>(v_).serial;
    case Kind::String: {
      const std::string& s = std::get<std::string>(v_);
      double d;
      if (parseHostNumber(s, d)) return d;
      if (equalsNoCase(trim(s), "True")) return -1.0;
      if (equalsNoCase(trim(s), "False")) return 0.0;
      typeMismatch();
    }
    case Kind::Font:
    case Kind::Picture:
    case Kind::Object:
    case Kind::Array: typeMismatch();
  }
  typeMismatch();
}

VBBool Variant::toVBBool() const {
  if (const Bool16* b = std::get_if<Bool16>(&v_)) return b->v;
  return toDouble() != 0.0 ? vbTrue : vbFalse;
}

int16_t Variant::toInteger() const {
  if (const int16_t* i = std::get_if<int16_t>(&v_)) return *i;
  if (const Bool16* b = std::get_if<Bool16>(&v_)) return b->v;
  return static_cast<int16_t>(roundChecked(toDouble(), INT16_MIN, INT16_MAX));
}

int32_t Variant::toLong() const {
  if (const int32_t* l = std::get_if<int32_t>(&v_)) return *l;
  return static_cast<int32_t>(roundChecked(toDouble(), INT32_MIN, INT32_MAX));
}

float Variant::toSingle() const {
  if (const float* f = std::get_if<float>(&v_)) return *f;
  double d = toDouble();
  if (std::isfinite(d) && std::fabs(d) > static_cast<double>(std::numeric_limits<float>::max())) overflow();
  return static_cast<float>(d);
}

Date Variant::toDate() const {
  if (const Date* d = std::get_if<Date>(&v_)) return *d;
  if (kind() == Kind::Boolean || kind() == Kind::String) typeMismatch();
  double serial = toDouble();
  if (!isValidDate(serial)) overflow();
  return Date(serial);
}

std::string Variant::toString() const {
  switch (kind()) {
    case Kind::Empty: return {};
    case Kind::Boolean: return std::get<Bool16>(v_).v ? "True" : "False";
    case Kind::Integer: return std::to_string(std::get<int16_t>(v_));
    case Kind::Long: return std::to_string(std::get<int32_t>(v_));
    case Kind::Single: return numberToText(std::get<float>(v_), 7);
    case Kind::Double: return numberToText(std::get<double>(v_));
    case Kind::String: return std::get<std::string>(v_);
    case Kind::Date: return dateToText(std::get<Date>(v_));  // the general date form
    case Kind::Font:
    case Kind::Picture:
    case Kind::Object:
    case Kind::Array: typeMismatch();
  }
  return {};
}

FontRef Variant::toFont() const {
  if (const FontRef* f = std::get_if<FontRef>(&v_)) {
    // A font that a form file could not carry would save a form that does not load again.
    if (*f && !fontNameFits((*f)->name))
      throw HostError(errInvalidPropertyValue, "a font name must have 1 to 31 characters");
    if (*f && !fontSizeFits((*f)->size)) throw HostError(errInvalidPropertyValue, "font size out of range");
    return *f;
  }
  if (kind() == Kind::Empty) return nullptr;
  typeMismatch();
}

PictureRef Variant::toPicture() const {
  if (const PictureRef* p = std::get_if<PictureRef>(&v_)) return *p;
  if (kind() == Kind::Empty) return PictureRef();
  typeMismatch();
}

ObjectRef Variant::toObject() const {
  if (const ObjectRef* o = std::get_if<ObjectRef>(&v_)) return *o;
  if (kind() == Kind::Empty) return nullptr;
  typeMismatch();
}

Variant Variant::array(std::vector<Variant> items) {
  return Variant(ArrayRef(std::make_shared<const std::vector<Variant>>(std::move(items))));
}

ArrayRef Variant::toArray() const {
  if (const ArrayRef* a = std::get_if<ArrayRef>(&v_)) return *a;
  if (kind() == Kind::Empty) return std::make_shared<const std::vector<Variant>>();
  typeMismatch();
}

Variant Variant::convertedTo(Kind k) const {
  if (isEmpty() || k == kind()) return *this;
  switch (k) {
    case Kind::Empty: return Variant();
    case Kind::Boolean: return fromVBBool(toVBBool());
    case Kind::Integer: return Variant(toInteger());
    case Kind::Long: return Variant(toLong());
    case Kind::Single: return Variant(toSingle());
    case Kind::Double: return Variant(toDouble());
    case Kind::String: return Variant(toString());
    case Kind::Date: return Variant(toDate());
    case Kind::Font: return Variant(toFont());
    case Kind::Picture: return Variant(toPicture());
    case Kind::Object: return Variant(toObject());
    case Kind::Array: return Variant(toArray());
  }
  return *this;
}

bool Variant::sameAs(const Variant& o) const {
  if (v_.index() != o.v_.index()) return false;
  switch (kind()) {
    case Kind::Empty: return true;
    case Kind::Boolean: return std::get<Bool16>(v_).v == std::get<Bool16>(o.v_).v;
    case Kind::Integer: return std::get<int16_t>(v_) == std::get<int16_t>(o.v_);
    case Kind::Long: return std::get<int32_t>(v_) == std::get<int32_t>(o.v_);
    case Kind::Single: {
      float a = std::get<float>(v_), b = std::get<float>(o.v_);
      return std::memcmp(&a, &b, sizeof a) == 0;
    }
    case Kind::Double: {
      double a = std::get<double>(v_), b = std::get<double>(o.v_);
      return std::memcmp(&a, &b, sizeof a) == 0;
    }
    case Kind::Date: {
      double a = std::get<Date>(v_).serial, b = std::get<Date>(o.v_).serial;
      return std::memcmp(&a, &b, sizeof a) == 0;
    }
    case Kind::String: return std::get<std::string>(v_) == std::get<std::string>(o.v_);
    case Kind::Font: return std::get<FontRef>(v_) == std::get<FontRef>(o.v_);
    case Kind::Picture: return std::get<PictureRef>(v_) == std::get<PictureRef>(o.v_);
    case Kind::Object: return std::get<ObjectRef>(v_) == std::get<ObjectRef>(o.v_);
    case Kind::Array: return std::get<ArrayRef>(v_) == std::get<ArrayRef>(o.v_);
  }
  return false;
}

bool operator==(const Variant& a, const Variant& b) {
  using K = Variant::Kind;
  auto isObject = [](K k) { return k == K::Font || k == K::Picture || k == K::Object || k == K::Array; };
  auto isNumberLike = [](K k) {
    return k == K::Boolean || k == K::Integer || k == K::Long || k == K::Single || k == K::Double || k == K::Date;
  };
  K ka = a.kind(), kb = b.kind();
  if (isObject(ka) || isObject(kb) || (ka == K::Empty && kb == K::Empty)) {
    if (a.isNothing() && b.isNothing()) return true;
    return a.sameAs(b);
  }
  if (ka == K::String && kb == K::String) return *a.getIf<std::string>() == *b.getIf<std::string>();
  if (ka == K::Empty) return kb == K::String ? b.getIf<std::string>()->empty() : b.toDouble() == 0.0;
  if (kb == K::Empty) return ka == K::String ? a.getIf<std::string>()->empty() : a.toDouble() == 0.0;
  if (isNumberLike(ka) && isNumberLike(kb)) return a.toDouble() == b.toDouble();
  return false;  // text against a number: never the same value for a bag's purposes
}

}  // namespace zxp::host
