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

// The element at *index of one of our arrays, nullptr outside its bounds.
VARIANT* arrayElement(SAFEARRAY* a, const LONG* index) {
  if (!a || !index) return nullptr;
  const int64_t k = static_cast<int64_t>(*index) - a->rgsabound[0].lLbound;
  if (k < 0 || k >= static_cast<int64_t>(a->rgsabound[0].cElements)) return nullptr;
  return static_cast<VARIANT*>(a->pvData) + k;
}

}  // namespace zxp::library::com

// ---- The exported string and VARIANT helpers ------------------------------------------------

extern "C" {

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  if (length > (std::numeric_limits<uint32_t>::max() - 8) / 2) return nullptr;
  auto* block = static_cast<uint8_t*>(std::malloc(4 + size_t(length) * 2 + 2));
  if (!block) return nullptr;
  const uint32_t bytes = length * 2;
  std::memcpy(block, &bytes, 4);
  auto* s = reinterpret_cast<OLECHAR*>(block + 4);
  if (text) std::memcpy(s, text, size_t(length) * 2);
  else std::memset(s, 0, size_t(length) * 2);
  s[length] = 0;
  return s;
}

BSTR SysAllocString(const OLECHAR* text) {
  if (!text) return nullptr;
  UINT n = 0;
  while (text[n]) ++n;
  return SysAllocStringLen(text, n);
}

void SysFreeString(BSTR text) {
  if (text) std::free(reinterpret_cast<uint8_t*>(text) - 4);
}

UINT SysStringLen(BSTR text) {
  if (!text) return 0;
  uint32_t bytes = 0;
  std::memcpy(&bytes, reinterpret_cast<uint8_t*>(text) - 4, 4);
  return bytes / 2;
}

void VariantInit(VARIANT* v) {
  if (!v) return;
  std::memset(v, 0, sizeof *v);
}

HRESULT VariantClear(VARIANT* v) {
  if (!v) return E_INVALIDARG;
  if (!(v->vt & VT_BYREF)) {
    if (v->vt & VT_ARRAY) {
      const HRESULT hr = SafeArrayDestroy(v->parray);
      if (FAILED(hr)) return hr;
    } else if (v->vt == VT_BSTR) {
      SysFreeString(v->bstrVal);
    } else if ((v->vt == VT_DISPATCH || v->vt == VT_UNKNOWN) && v->punkVal) {
      v->punkVal->Release();
    }
  }
  VariantInit(v);
  return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src) {
  if (!dest || !src) return E_INVALIDARG;
  if (dest == src) return S_OK;
  const HRESULT cleared = VariantClear(dest);
  if (FAILED(cleared)) return cleared;
  VARIANT copy = *src;
  if (!(src->vt & VT_BYREF)) {
    if (src->vt & VT_ARRAY) {
      copy.parray = nullptr;
      if (src->parray) {
        const SAFEARRAY* a = src->parray;
        if (a->cDims != 1 || !(a->fFeatures & FADF_VARIANT)) return DISP_E_BADVARTYPE;
        copy.parray = SafeArrayCreateVector(VT_VARIANT, a->rgsabound[0].lLbound, a->rgsabound[0].cElements);
        if (!copy.parray) return E_OUTOFMEMORY;
        const auto* from = static_cast<const VARIANT*>(a->pvData);
        auto* to = static_cast<VARIANT*>(copy.parray->pvData);
        for (ULONG i = 0; i < a->rgsabound[0].cElements; ++i) {
          const HRESULT hr = VariantCopy(&to[i], &from[i]);
          if (FAILED(hr)) {
            SafeArrayDestroy(copy.parray);
            return hr;
          }
        }
      }
    } else if (src->vt == VT_BSTR && src->bstrVal) {
      copy.bstrVal = SysAllocStringLen(src->bstrVal, SysStringLen(src->bstrVal));
      if (!copy.bstrVal) return E_OUTOFMEMORY;
    } else if ((src->vt == VT_DISPATCH || src->vt == VT_UNKNOWN) && src->punkVal) {
      src->punkVal->AddRef();
    }
  }
  *dest = copy;
  return S_OK;
}

// ---- Arrays: one dimension of VARIANTs, the elements in one block after the descriptor ----

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT cDims, SAFEARRAYBOUND* bounds) {
  if (vt != VT_VARIANT || cDims != 1 || !bounds) return nullptr;
  return SafeArrayCreateVector(vt, bounds[0].lLbound, bounds[0].cElements);
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG count) {
  if (vt != VT_VARIANT) return nullptr;
  if (count > (std::numeric_limits<size_t>::max() - sizeof(SAFEARRAY)) / sizeof(VARIANT)) return nullptr;
  if (count > 0 && static_cast<int64_t>(lowerBound) + count - 1 > std::numeric_limits<LONG>::max()) return nullptr;
  auto* a = static_cast<SAFEARRAY*>(std::calloc(1, sizeof(SAFEARRAY) + size_t(count) * sizeof(VARIANT)));
  if (!a) return nullptr;
  a->cDims = 1;
  a->fFeatures = FADF_VARIANT;
  a->cbElements = sizeof(VARIANT);
  a->pvData = reinterpret_cast<uint8_t*>(a) + sizeof(SAFEARRAY);
  a->rgsabound[0].cElements = count;
  a->rgsabound[0].lLbound = lowerBound;
  return a;  // calloc: every element is VT_EMPTY
}

HRESULT SafeArrayDestroy(SAFEARRAY* a) {
  if (!a) return S_OK;
  if (a->cLocks) return E_UNEXPECTED;
  auto* items = static_cast<VARIANT*>(a->pvData);
  for (ULONG i = 0; i < a->rgsabound[0].cElements; ++i) VariantClear(&items[i]);
  std::free(a);
  return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* a) { return a ? a->cDims : 0; }

HRESULT SafeArrayGetLBound(SAFEARRAY* a, UINT dim, LONG* bound) {
  if (!a || !bound) return E_INVALIDARG;
  if (dim != 1) return DISP_E_BADINDEX;
  *bound = a->rgsabound[0].lLbound;
  return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* a, UINT dim, LONG* bound) {
  if (!a || !bound) return E_INVALIDARG;
  if (dim != 1) return DISP_E_BADINDEX;
  *bound = static_cast<LONG>(static_cast<int64_t>(a->rgsabound[0].lLbound) + a->rgsabound[0].cElements - 1);
  return S_OK;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* a, VARTYPE* vt) {
  if (!a || !vt) return E_INVALIDARG;
  *vt = VT_VARIANT;
  return S_OK;
}

HRESULT SafeArrayPutElement(SAFEARRAY* a, LONG* index, void* value) {
  if (!a || !index || !value) return E_INVALIDARG;
  VARIANT* slot = zxp::library::com::arrayElement(a, index);
  if (!slot) return DISP_E_BADINDEX;
  return VariantCopy(slot, static_cast<const VARIANT*>(value));
}

HRESULT SafeArrayGetElement(SAFEARRAY* a, LONG* index, void* value) {
  if (!a || !index || !value) return E_INVALIDARG;
  const VARIANT* slot = zxp::library::com::arrayElement(a, index);
  if (!slot) return DISP_E_BADINDEX;
  auto* out = static_cast<VARIANT*>(value);
  VariantInit(out);
  return VariantCopy(out, slot);
}

HRESULT SafeArrayAccessData(SAFEARRAY* a, void** data) {
  if (!a || !data) return E_INVALIDARG;
  ++a->cLocks;
  *data = a->pvData;
  return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* a) {
  if (!a) return E_INVALIDARG;
  if (!a->cLocks) return E_UNEXPECTED;
  --a->cLocks;
  return S_OK;
}

void* CoTaskMemAlloc(size_t bytes) { return std::malloc(bytes ? bytes : 1); }

void CoTaskMemFree(void* block) { std::free(block); }

HRESULT CLSIDFromString(const OLECHAR* text, CLSID* clsid) {
  if (!text || !clsid) return E_INVALIDARG;
  zxp::library::Guid g;
  if (!zxp::library::Guid::parse(zxp::library::com::toUtf8(text), g)) return CO_E_CLASSSTRING;
  std::memcpy(clsid, &g, sizeof g);
  return S_OK;
}

}  // extern "C"
