// The component runtime's own functions for Linux, where the platform has no component runtime:
// length-prefixed UTF-16 strings (BSTR), VARIANTs, one-dimensional arrays of VARIANTs, the task
// allocator, class identifiers from text and from program identifiers, and a registry read, with
// the semantics zorvaxp_com.h states. On Windows the platform's own libraries (oleaut32, ole32,
// advapi32) provide every one of these, so that strings, VARIANTs and arrays pass between the
// server and any client of the platform's component runtime; this file is then left out of the
// build (cmake/Windows.cmake).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "platform/services/Registry.h"
#include "zorvaxp/zorvaxp_com.h"

namespace {

// The element at *index of one of our arrays, nullptr outside its bounds.
VARIANT* arrayElement(SAFEARRAY* a, const LONG* index) {
  if (!a || !index) return nullptr;
  const int64_t k = static_cast<int64_t>(*index) - a->rgsabound[0].lLbound;
  if (k < 0 || k >= static_cast<int64_t>(a->rgsabound[0].cElements)) return nullptr;
  return static_cast<VARIANT*>(a->pvData) + k;
}

// Class identifiers and program identifiers are ASCII (letters, digits, periods, braces and
// hyphens); anything else cannot name a class.
bool asciiText(const OLECHAR* text, std::string& out) {
  for (; *text; ++text) {
    if (*text >= 0x80) return false;
    out += static_cast<char>(*text);
  }
  return true;
}

}  // namespace

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
  VARIANT* slot = arrayElement(a, index);
  if (!slot) return DISP_E_BADINDEX;
  return VariantCopy(slot, static_cast<const VARIANT*>(value));
}

HRESULT SafeArrayGetElement(SAFEARRAY* a, LONG* index, void* value) {
  if (!a || !index || !value) return E_INVALIDARG;
  const VARIANT* slot = arrayElement(a, index);
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
  std::string ascii;
  if (!asciiText(text, ascii) ||
      !zxp::services::parseClassId(ascii, clsid->Data1, clsid->Data2, clsid->Data3, clsid->Data4))
    return CO_E_CLASSSTRING;
  return S_OK;
}

HRESULT CLSIDFromProgID(const OLECHAR* progId, CLSID* clsid) {
  if (!progId || !clsid) return E_INVALIDARG;
  std::string name;
  if (!asciiText(progId, name)) return CO_E_CLASSSTRING;
  try {
    zxp::services::Registry r;
    if (!r.load()) return CO_E_CLASSSTRING;
    const zxp::services::RegistryValue* v = r.value("HKEY_CLASSES_ROOT\\" + name + "\\CLSID", "");
    if (!v || v->type != zxp::services::kRegSz ||
        !zxp::services::parseClassId(v->text, clsid->Data1, clsid->Data2, clsid->Data3, clsid->Data4))
      return CO_E_CLASSSTRING;
    return S_OK;
  } catch (const std::exception&) {
    return E_FAIL;
  }
}

LONG RegGetValueA(HKEY root, const char* subKey, const char* value, DWORD flags, DWORD* type, void* data,
                  DWORD* size) {
  std::string key;
  if (root == HKEY_CLASSES_ROOT) key = "HKEY_CLASSES_ROOT";
  else if (root == HKEY_CURRENT_USER) key = "HKEY_CURRENT_USER";
  else return 6;  // ERROR_INVALID_HANDLE
  if (subKey && *subKey) key += std::string("\\") + subKey;
  try {
    zxp::services::Registry r;
    if (!r.load()) return 1012;  // ERROR_CANTREAD
    const zxp::services::RegistryValue* v = r.value(key, value ? value : "");
    if (!v) return ERROR_FILE_NOT_FOUND;
    const bool wantSz = (flags & 0x2) || (flags & 0xFFFF) == RRF_RT_ANY || !(flags & 0xFFFF);
    const bool wantDword = (flags & 0x10) || (flags & 0xFFFF) == RRF_RT_ANY || !(flags & 0xFFFF);
    if ((v->type == zxp::services::kRegSz && !wantSz) || (v->type == zxp::services::kRegDword && !wantDword))
      return 1630;  // ERROR_UNSUPPORTED_TYPE
    if (type) *type = v->type;
    const DWORD need = v->type == zxp::services::kRegSz ? static_cast<DWORD>(v->text.size() + 1) : 4;
    if (!data) {
      if (size) *size = need;
      return ERROR_SUCCESS;
    }
    if (!size) return 87;  // ERROR_INVALID_PARAMETER
    if (*size < need) {
      *size = need;
      return ERROR_MORE_DATA;
    }
    if (v->type == zxp::services::kRegSz) std::memcpy(data, v->text.c_str(), need);
    else std::memcpy(data, &v->number, 4);
    *size = need;
    return ERROR_SUCCESS;
  } catch (const std::exception&) {
    return 1012;
  }
}

}  // extern "C"
