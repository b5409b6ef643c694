// The component model's automation values on our host's values: BSTR strings (UTF-16 with a
// length prefix), VARIANTs to and from host::Variant, and the objects a VARIANT carries (a font,
// a picture, another dispatch object).
#pragma once

#include <string>
#include <string_view>

#include "library/TypeLibrary.h"
#include "platform/host/Variant.h"
#include "zorvaxp/zorvaxp_com.h"

namespace zxp::library::com {

std::string toUtf8(const OLECHAR* text, size_t length);
std::string toUtf8(const OLECHAR* text);  // NUL-terminated; empty for null
std::u16string toUtf16(std::string_view utf8);
BSTR allocBstr(std::string_view utf8);

inline const IID* asIid(const Guid& g) { return reinterpret_cast<const IID*>(&g); }
inline const Guid& asGuid(const IID& iid) { return reinterpret_cast<const Guid&>(iid); }
bool sameIid(const IID* a, const IID& b);

// Whether a VARIANT is an argument the caller left out (VT_ERROR with DISP_E_PARAMNOTFOUND).
bool isMissing(const VARIANT& v);
// A VARIANT (by reference or not) as a host value: S_OK, DISP_E_TYPEMISMATCH for a kind the host
// has no value for (VT_NULL), DISP_E_BADVARTYPE for an unknown type. An array of VARIANTs
// (VT_ARRAY | VT_VARIANT, one dimension) becomes an Array; an object, the host object it stands
// for (one of ours) or a reference to the client's object.
HRESULT toHost(const VARIANT& in, host::Variant& out);
// A host value into a VARIANT the caller owns (and later clears); objects are AddRef'd.
HRESULT fromHost(const host::Variant& in, VARIANT* out);

}  // namespace zxp::library::com
