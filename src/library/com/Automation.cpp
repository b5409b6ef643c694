#include "library/com/Automation.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "library/com/DispatchObject.h"

namespace zxp::library::com {

std::string toUtf8(const OLECHAR* s, size_t n) {
  std::string out;
  out.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    uint32_t c = s[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;  // a lone surrogate
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | c >> 12);
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | c >> 18);
      out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string toUtf8(const OLECHAR* s) {
  if (!s) return {};
  size_t n = 0;
  while (s[n]) ++n;
  return toUtf8(s, n);
}

std::u16string toUtf16(std::string_view u) {
  std::u16string out;
  out.reserve(u.size());
  for (size_t i = 0; i < u.size();) {
    const auto b = static_cast<uint8_t>(u[i]);
    uint32_t c = 0xFFFD;
    size_t len = 1;
    if (b < 0x80) {
      c = b;
    } else if ((b & 0xE0) == 0xC0) {
      len = 2;
    } else if ((b & 0xF0) == 0xE0) {
      len = 3;
    } else if ((b & 0xF8) == 0xF0) {
      len = 4;
    }
    if (len > 1) {
      if (i + len > u.size()) {
        len = 1;
      } else {
        c = b & (0x7F >> len);
        for (size_t k = 1; k < len; ++k) {
          const auto t = static_cast<uint8_t>(u[i + k]);
          if ((t & 0xC0) != 0x80) {
            c = 0xFFFD;
            len = 1;
            break;
          }
          c = c << 6 | (t & 0x3F);
        }
      }
    }
    i += len;
    if (c >= 0x10000 && c <= 0x10FFFF) {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<char16_t>(c > 0x10FFFF ? 0xFFFD : c);
    }
  }
  return out;
}

BSTR allocBstr(std::string_view utf8) {
  const std::u16string w = toUtf16(utf8);
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(w.data()), static_cast<UINT>(w.size()));
}

bool sameIid(const IID* a, const IID& b) { return a && std::memcmp(a, &b, sizeof(IID)) == 0; }

bool isMissing(const VARIANT& v) { return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND; }

namespace {

HRESULT objectToHost(IUnknown* unknown, host::Variant& out) {
  if (!unknown) {
    out = host::Variant(host::ObjectRef());
    return S_OK;
  }
  if (DispatchObject* ours = DispatchObject::from(unknown)) {
    out = ours->asVariant();
    return S_OK;
  }
  out = host::Variant(host::ObjectRef(std::make_shared<ForeignObject>(unknown)));
  return S_OK;
}

// An array of VARIANTs, one dimension: its elements from the lower bound up.
HRESULT arrayToHost(const SAFEARRAY* a, host::Variant& out) {
  if (!a) {
    out = host::Variant::array({});
    return S_OK;
  }
  if (a->cDims != 1 || !(a->fFeatures & FADF_VARIANT) || a->cbElements != sizeof(VARIANT)) return DISP_E_BADVARTYPE;
  const auto* items = static_cast<const VARIANT*>(a->pvData);
  std::vector<host::Variant> values(a->rgsabound[0].cElements);
  for (size_t i = 0; i < values.size(); ++i) {
    const VARIANT& v = items[i];
    if ((v.vt & VT_ARRAY) && !(v.vt & VT_BYREF)) return DISP_E_BADVARTYPE;  // no arrays of arrays
    const HRESULT hr = toHost(v, values[i]);
    if (FAILED(hr)) return hr;
  }
  out = host::Variant::array(std::move(values));
  return S_OK;
}

}  // namespace

HRESULT toHost(const VARIANT& in, host::Variant& out) {
  const bool byRef = (in.vt & VT_BYREF) != 0;
  const VARTYPE vt = in.vt & ~VT_BYREF;
  if (byRef && !in.byref) return E_POINTER;
  if (vt & VT_ARRAY) {
    if ((vt & ~VT_ARRAY) != VT_VARIANT) return DISP_E_BADVARTYPE;
    return arrayToHost(byRef ? *in.pparray : in.parray, out);
  }
  switch (vt) {
    case VT_EMPTY: out = host::Variant(); return S_OK;
    case VT_I2: out = host::Variant(byRef ? *in.piVal : in.iVal); return S_OK;
    case VT_I4:
    case VT_INT: out = host::Variant(byRef ? *in.plVal : in.lVal); return S_OK;
    case VT_I1: out = host::Variant(static_cast<int16_t>(byRef ? *static_cast<int8_t*>(in.byref) : in.cVal)); return S_OK;
    case VT_UI1: out = host::Variant(static_cast<int16_t>(byRef ? *in.pbVal : in.bVal)); return S_OK;
    case VT_UI2: out = host::Variant(static_cast<int32_t>(byRef ? *static_cast<uint16_t*>(in.byref) : in.uiVal)); return S_OK;
    case VT_UI4:
    case VT_UINT: {
      const uint32_t u = byRef ? *static_cast<uint32_t*>(in.byref) : in.ulVal;
      out = u <= static_cast<uint32_t>(std::numeric_limits<int32_t>::max()) ? host::Variant(static_cast<int32_t>(u))
                                                                            : host::Variant(static_cast<double>(u));
      return S_OK;
    }
    case VT_I8: out = host::Variant(static_cast<double>(byRef ? *static_cast<int64_t*>(in.byref) : in.llVal)); return S_OK;
    case VT_UI8: out = host::Variant(static_cast<double>(byRef ? *static_cast<uint64_t*>(in.byref) : in.ullVal)); return S_OK;
    case VT_R4: out = host::Variant(byRef ? *in.pfltVal : in.fltVal); return S_OK;
    case VT_R8: out = host::Variant(byRef ? *in.pdblVal : in.dblVal); return S_OK;
    case VT_CY: out = host::Variant(static_cast<double>(byRef ? *static_cast<int64_t*>(in.byref) : in.cyVal) / 10000.0); return S_OK;
    case VT_DATE: out = host::Variant(host::Date(byRef ? *in.pdate : in.date)); return S_OK;
    case VT_BOOL: out = host::Variant::fromVBBool(byRef ? *in.pboolVal : in.boolVal); return S_OK;
    case VT_BSTR: {
      const BSTR s = byRef ? *in.pbstrVal : in.bstrVal;
      out = host::Variant(s ? toUtf8(s, SysStringLen(s)) : std::string());
      return S_OK;
    }
    case VT_DISPATCH:
    case VT_UNKNOWN: return objectToHost(byRef ? *static_cast<IUnknown**>(in.byref) : in.punkVal, out);
    case VT_VARIANT:
      if (!byRef) return DISP_E_BADVARTYPE;
      if (in.pvarVal->vt == (VT_BYREF | VT_VARIANT)) return DISP_E_BADVARTYPE;  // no chains
      return toHost(*in.pvarVal, out);
    case VT_NULL:
    case VT_ERROR: return DISP_E_TYPEMISMATCH;
    default: return DISP_E_BADVARTYPE;
  }
}

HRESULT fromHost(const host::Variant& in, VARIANT* out) {
  if (!out) return E_POINTER;
  VariantInit(out);
  using K = host::Variant::Kind;
  switch (in.kind()) {
    case K::Empty: return S_OK;
    case K::Boolean:
      out->vt = VT_BOOL;
      out->boolVal = in.toVBBool();
      return S_OK;
    case K::Integer:
      out->vt = VT_I2;
      out->iVal = *in.getIf<int16_t>();
      return S_OK;
    case K::Long:
      out->vt = VT_I4;
      out->lVal = *in.getIf<int32_t>();
      return S_OK;
    case K::Single:
      out->vt = VT_R4;
      out->fltVal = *in.getIf<float>();
      return S_OK;
    case K::Double:
      out->vt = VT_R8;
      out->dblVal = *in.getIf<double>();
      return S_OK;
    case K::Date:
      out->vt = VT_DATE;
      out->date = in.getIf<host::Date>()->serial;
      return S_OK;
    case K::String:
      out->vt = VT_BSTR;
      out->bstrVal = allocBstr(*in.getIf<std::string>());
      return out->bstrVal ? S_OK : E_OUTOFMEMORY;
    case K::Array: {
      const host::ArrayRef items = in.toArray();
      SAFEARRAY* a = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(items->size()));
      if (!a) return E_OUTOFMEMORY;
      auto* slots = static_cast<VARIANT*>(a->pvData);
      for (size_t i = 0; i < items->size(); ++i) {
        const HRESULT hr = fromHost((*items)[i], &slots[i]);
        if (FAILED(hr)) {
          SafeArrayDestroy(a);
          return hr;
        }
      }
      out->vt = VT_ARRAY | VT_VARIANT;
      out->parray = a;
      return S_OK;
    }
    case K::Font:
    case K::Picture:
    case K::Object: {
      out->vt = VT_DISPATCH;
      out->pdispVal = nullptr;
      if (in.isNothing()) return S_OK;
      if (in.kind() == K::Object) {
        if (auto* foreign = dynamic_cast<ForeignObject*>(in.getIf<host::ObjectRef>()->get())) {
          out->pdispVal = foreign->dispatch();
          if (out->pdispVal) out->pdispVal->AddRef();
          return S_OK;
        }
      }
      out->pdispVal = DispatchObject::forValue(in);
      return out->pdispVal ? S_OK : E_OUTOFMEMORY;
    }
  }
  return DISP_E_BADVARTYPE;
}

}  // namespace zxp::library::com
