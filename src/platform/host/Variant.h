// The host's typed value: what property bags store, late-bound calls pass and events carry when
// they are bound by name. It holds one of the host's value types:
//   Empty, Boolean (16-bit, True = -1), Integer (16-bit), Long (32-bit), Single, Double, String,
//   Date (days since 1899-12-30 as a double), Font and Picture (shared objects, possibly none),
//   Object: any other host object (a drag-and-drop DataObject, a list row), shared, possibly none;
//   and Array: a one-dimensional array of Variants (what a late-bound caller passes as a
//   SAFEARRAY, or a parameter array collects), shared and read-only once made.
// Conversions follow the host's coercion rules: numbers convert to each other with rounding to
// the nearest integer (halves to even) and an Overflow error (6) when out of range; text converts
// to numbers and Booleans when it reads as one, otherwise a Type mismatch error (13).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "platform/gfx/Picture.h"
#include "platform/gfx/Types.h"
#include "platform/host/runtime/Date.h"

namespace zxp::gfx {
struct FontDesc;
}  // namespace zxp::gfx

namespace zxp::host {

class Dispatchable;
class Variant;

// Fonts are immutable descriptions shared by reference; changing a font means setting a new one.
using FontRef = std::shared_ptr<const gfx::FontDesc>;
// Pictures are shared objects already (copies are the same picture); an empty one is none.
using PictureRef = gfx::Picture;

// A host object a Variant can carry by reference (Kind::Object). Such objects do not persist:
// a property bag or form file refuses to write one.
class HostObject {
 public:
  virtual ~HostObject() = default;
  // The host's TypeName of the object ("DataObject").
  virtual std::string typeName() const = 0;
  // The object's members when late-bound callers can reach them (nullptr: none).
  virtual Dispatchable* members() { return nullptr; }
};
using ObjectRef = std::shared_ptr<HostObject>;

// An array's elements from its lowest index to its highest.
using ArrayRef = std::shared_ptr<const std::vector<Variant>>;

// The host's VarType numbers for the kinds a Variant can hold (Font and Picture are objects).
enum class VarType : uint16_t {
  Empty = 0,
  Integer = 2,
  Long = 3,
  Single = 4,
  Double = 5,
  Date = 7,
  String = 8,
  Object = 9,
  Boolean = 11,
  Variant = 12,
  Array = 0x2000,  // added to the element type: an array of Variants is 0x200C
};

class Variant {
 public:
  enum class Kind : uint8_t { Empty, Boolean, Integer, Long, Single, Double, String, Date, Font, Picture, Object, Array };

  Variant() = default;
  Variant(bool b) : v_(Bool16{b ? vbTrue : vbFalse}) {}
  Variant(int16_t i) : v_(i) {}
  Variant(int32_t l) : v_(l) {}
  Variant(uint32_t colour) : v_(static_cast<int32_t>(colour)) {}  // OLE colours are Longs
  Variant(float f) : v_(f) {}
  Variant(double d) : v_(d) {}
  // Pointer-sized values (window-message parameters in hook events) travel as Doubles, which hold
  // every 32-bit value and every user-space address exactly.
  Variant(int64_t v) : v_(static_cast<double>(v)) {}
  Variant(uint64_t v) : v_(static_cast<double>(v)) {}
  Variant(std::string s) : v_(std::move(s)) {}
  Variant(std::string_view s) : v_(std::string(s)) {}
  Variant(const char* s) : v_(std::string(s ? s : "")) {}
  Variant(FontRef f) : v_(std::move(f)) {}
  Variant(PictureRef p) : v_(std::move(p)) {}
  Variant(ObjectRef o) : v_(std::move(o)) {}
  Variant(ArrayRef a) : v_(std::move(a)) {}
  static Variant array(std::vector<Variant> items);
  Variant(Date d) : v_(d) {}
  // Enumerations are stored as their declared width (16-bit Integer or 32-bit Long).
  template <class E>
    requires std::is_enum_v<E>
  Variant(E e) : Variant(static_cast<std::underlying_type_t<E>>(e)) {}

  // A 16-bit Boolean from its stored value (-1 True, 0 False; any other value is kept).
  static Variant fromVBBool(VBBool b) {
    Variant v;
    v.v_ = Bool16{b};
    return v;
  }

  Kind kind() const { return static_cast<Kind>(v_.index()); }
  VarType varType() const;
  // The host's TypeName: "Empty", "Boolean", "Integer", ..., "Font", "Picture" ("Nothing" for
  // an object reference that is not set).
  std::string typeName() const;
  bool isEmpty() const { return kind() == Kind::Empty; }
  // Empty, or an object kind that holds no object.
  bool isNothing() const;
  bool isNumeric() const;

  // Coercions (see the file comment). Empty converts to 0, False and "".
  VBBool toVBBool() const;
  bool toBool() const { return toVBBool() != vbFalse; }
  int16_t toInteger() const;
  int32_t toLong() const;
  float toSingle() const;
  double toDouble() const;
  std::string toString() const;
  Date toDate() const;
  // Objects: Empty gives none; any other non-object kind is a Type mismatch.
  FontRef toFont() const;
  PictureRef toPicture() const;
  ObjectRef toObject() const;
  // Arrays: Empty gives an empty array; any other kind is a Type mismatch.
  ArrayRef toArray() const;

  // Converts to the given kind (Empty stays Empty).
  Variant convertedTo(Kind k) const;

  // Typed access to the stored value without conversion; nullptr for another kind.
  template <class T>
  const T* getIf() const {
    return std::get_if<T>(&v_);
  }
  template <class T>
  T* getIf() {
    return std::get_if<T>(&v_);
  }

  // Identity of kind and value (Single and Double compare bitwise, so NaN equals itself and the
  // two zeros differ): what a round trip must preserve.
  bool sameAs(const Variant& o) const;

  // The host's comparison as used by property bags to decide whether a value equals its default:
  // numbers (Booleans and dates included) compare by value, text by content, objects by
  // identity, and an empty object equals Empty.
  friend bool operator==(const Variant& a, const Variant& b);

 private:
  struct Bool16 {
    VBBool v;
  };
  std::variant<std::monostate, Bool16, int16_t, int32_t, float, double, std::string, Date,
               FontRef, PictureRef, ObjectRef, ArrayRef>
      v_;
};

// Reads a number as the host does (the runtime's parseNumber: signs, "$", thousands separators,
// exponents, &H/&O literals, which may also carry the Long suffix "&"). False when the text is
// not a number.
bool parseHostNumber(std::string_view text, double& out);

// Converts to C++ value types through the coercions above (used by typed property reads and
// late-bound setters). Enumerations convert through their underlying type.
template <class T>
T variantAs(const Variant& v);
template <class T>
  requires std::is_enum_v<T>
T variantAs(const Variant& v) {
  return static_cast<T>(variantAs<std::underlying_type_t<T>>(v));
}
template <>
inline bool variantAs<bool>(const Variant& v) { return v.toBool(); }
template <>
inline int16_t variantAs<int16_t>(const Variant& v) { return v.toInteger(); }
template <>
inline int32_t variantAs<int32_t>(const Variant& v) { return v.toLong(); }
template <>
inline uint32_t variantAs<uint32_t>(const Variant& v) { return static_cast<uint32_t>(v.toLong()); }
template <>
inline int64_t variantAs<int64_t>(const Variant& v) { return static_cast<int64_t>(v.toDouble()); }
template <>
inline uint64_t variantAs<uint64_t>(const Variant& v) { return static_cast<uint64_t>(v.toDouble()); }
template <>
inline float variantAs<float>(const Variant& v) { return v.toSingle(); }
template <>
inline double variantAs<double>(const Variant& v) { return v.toDouble(); }
template <>
inline std::string variantAs<std::string>(const Variant& v) { return v.toString(); }
template <>
inline Date variantAs<Date>(const Variant& v) { return v.toDate(); }
template <>
inline FontRef variantAs<FontRef>(const Variant& v) { return v.toFont(); }
template <>
inline PictureRef variantAs<PictureRef>(const Variant& v) { return v.toPicture(); }
template <>
inline ObjectRef variantAs<ObjectRef>(const Variant& v) { return v.toObject(); }
template <>
inline ArrayRef variantAs<ArrayRef>(const Variant& v) { return v.toArray(); }
template <>
inline Variant variantAs<Variant>(const Variant& v) { return v; }

}  // namespace zxp::host
