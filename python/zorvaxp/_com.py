"""The binary surface of libzorvaxp.so, as zorvaxp_com.h declares it, in ctypes.

Interfaces are pointers to a table of functions, each taking the object first; a call is made
through the table by slot number. Functions are built once per (table, slot) and reused, so a
call costs one ctypes call.
"""
import ctypes
import os
from ctypes import (POINTER, Structure, Union, byref, c_double, c_float, c_int, c_int8, c_int16,
                    c_int32, c_int64, c_size_t, c_uint, c_uint8, c_uint16, c_uint32, c_uint64,
                    c_void_p, c_char_p)

HRESULT = c_int32

S_OK = 0
S_FALSE = 1
E_NOINTERFACE = -2147467262
DISP_E_MEMBERNOTFOUND = -2147352573
DISP_E_PARAMNOTFOUND = -2147352572
DISP_E_TYPEMISMATCH = -2147352571
DISP_E_UNKNOWNNAME = -2147352570
DISP_E_NONAMEDARGS = -2147352569
DISP_E_BADVARTYPE = -2147352568
DISP_E_EXCEPTION = -2147352567
DISP_E_OVERFLOW = -2147352566
DISP_E_BADINDEX = -2147352565
DISP_E_BADPARAMCOUNT = -2147352562
DISP_E_PARAMNOTOPTIONAL = -2147352561
E_OUTOFMEMORY = -2147024882
E_INVALIDARG = -2147024809
E_POINTER = -2147467261

DISPATCH_METHOD = 1
DISPATCH_PROPERTYGET = 2
DISPATCH_PROPERTYPUT = 4
DISPATCH_PROPERTYPUTREF = 8
DISPID_PROPERTYPUT = -3
MEMBERID_NIL = -1

VT_EMPTY, VT_NULL, VT_I2, VT_I4, VT_R4, VT_R8, VT_CY, VT_DATE, VT_BSTR, VT_DISPATCH = range(10)
VT_ERROR, VT_BOOL, VT_VARIANT, VT_UNKNOWN = 10, 11, 12, 13
VT_I1, VT_UI1, VT_UI2, VT_UI4, VT_I8, VT_UI8, VT_INT, VT_UINT = 16, 17, 18, 19, 20, 21, 22, 23
VT_VOID, VT_SAFEARRAY, VT_USERDEFINED = 24, 27, 29
VT_ARRAY, VT_BYREF = 0x2000, 0x4000

INVOKE_FUNC, INVOKE_PROPERTYGET, INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF = 1, 2, 4, 8
TKIND_ENUM, TKIND_DISPATCH, TKIND_COCLASS = 0, 4, 5
TYPEFLAG_FCANCREATE = 0x2
TYPEFLAG_FCONTROL = 0x20
IMPLTYPEFLAG_FSOURCE = 0x2
GUIDKIND_DEFAULT_SOURCE_DISP_IID = 1


class GUID(Structure):
    _fields_ = [("Data1", c_uint32), ("Data2", c_uint16), ("Data3", c_uint16), ("Data4", c_uint8 * 8)]

    def __eq__(self, other):
        return isinstance(other, GUID) and bytes(self) == bytes(other)

    def __hash__(self):
        return hash(bytes(self))


def guid(text):
    """A GUID from "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX"."""
    h = text.strip("{}").replace("-", "")
    g = GUID(int(h[0:8], 16), int(h[8:12], 16), int(h[12:16], 16))
    for i in range(8):
        g.Data4[i] = int(h[16 + 2 * i:18 + 2 * i], 16)
    return g


IID_NULL = GUID()
IID_IUnknown = guid("00000000-0000-0000-C000-000000000046")
IID_IClassFactory = guid("00000001-0000-0000-C000-000000000046")
IID_IDispatch = guid("00020400-0000-0000-C000-000000000046")
IID_IConnectionPointContainer = guid("B196B284-BAB4-101A-B69C-00AA00341D07")
IID_IProvideClassInfo2 = guid("A6BC3AC0-DBAA-11CE-9DE3-00AA004BB851")


class _BRecord(Structure):
    _fields_ = [("pvRecord", c_void_p), ("pRecInfo", c_void_p)]


class _VariantValue(Union):
    _fields_ = [("llVal", c_int64), ("lVal", c_int32), ("bVal", c_uint8), ("iVal", c_int16),
                ("fltVal", c_float), ("dblVal", c_double), ("boolVal", c_int16), ("scode", c_int32),
                ("cyVal", c_int64), ("date", c_double), ("ptr", c_void_p), ("cVal", c_int8),
                ("uiVal", c_uint16), ("ulVal", c_uint32), ("ullVal", c_uint64), ("brecVal", _BRecord)]


class VARIANT(Structure):
    _anonymous_ = ("u",)
    _fields_ = [("vt", c_uint16), ("wReserved1", c_uint16), ("wReserved2", c_uint16),
                ("wReserved3", c_uint16), ("u", _VariantValue)]


class DISPPARAMS(Structure):
    _fields_ = [("rgvarg", POINTER(VARIANT)), ("rgdispidNamedArgs", POINTER(c_int32)),
                ("cArgs", c_uint), ("cNamedArgs", c_uint)]


class EXCEPINFO(Structure):
    _fields_ = [("wCode", c_uint16), ("wReserved", c_uint16), ("bstrSource", c_void_p),
                ("bstrDescription", c_void_p), ("bstrHelpFile", c_void_p), ("dwHelpContext", c_uint32),
                ("pvReserved", c_void_p), ("pfnDeferredFillIn", c_void_p), ("scode", c_int32)]


class SAFEARRAYBOUND(Structure):
    _fields_ = [("cElements", c_uint32), ("lLbound", c_int32)]


class TYPEDESC(Structure):
    _fields_ = [("ref", c_void_p), ("vt", c_uint16)]  # ref: lptdesc, or hreftype in its low 32 bits


class IDLDESC(Structure):
    _fields_ = [("dwReserved", c_size_t), ("wIDLFlags", c_uint16)]


class ELEMDESC(Structure):
    _fields_ = [("tdesc", TYPEDESC), ("idldesc", IDLDESC)]  # PARAMDESC has IDLDESC's layout


class TYPEATTR(Structure):
    _fields_ = [("guid", GUID), ("lcid", c_uint32), ("dwReserved", c_uint32), ("memidConstructor", c_int32),
                ("memidDestructor", c_int32), ("lpstrSchema", c_void_p), ("cbSizeInstance", c_uint32),
                ("typekind", c_int), ("cFuncs", c_uint16), ("cVars", c_uint16), ("cImplTypes", c_uint16),
                ("cbSizeVft", c_uint16), ("cbAlignment", c_uint16), ("wTypeFlags", c_uint16),
                ("wMajorVerNum", c_uint16), ("wMinorVerNum", c_uint16), ("tdescAlias", TYPEDESC),
                ("idldescType", IDLDESC)]


class FUNCDESC(Structure):
    _fields_ = [("memid", c_int32), ("lprgscode", c_void_p), ("lprgelemdescParam", POINTER(ELEMDESC)),
                ("funckind", c_int), ("invkind", c_int), ("callconv", c_int), ("cParams", c_int16),
                ("cParamsOpt", c_int16), ("oVft", c_int16), ("cScodes", c_int16), ("elemdescFunc", ELEMDESC),
                ("wFuncFlags", c_uint16)]


class VARDESC(Structure):
    _fields_ = [("memid", c_int32), ("lpstrSchema", c_void_p), ("lpvarValue", POINTER(VARIANT)),
                ("elemdescVar", ELEMDESC), ("wVarFlags", c_uint16), ("varkind", c_int)]


class LibraryNotFound(ImportError):
    """libzorvaxp.so was neither named by ZORVAXP_LIBRARY nor found beside the package."""


def _find_library():
    named = os.environ.get("ZORVAXP_LIBRARY")
    if named:
        if not os.path.isfile(named):
            raise LibraryNotFound("ZORVAXP_LIBRARY names %r, which is no file" % named)
        return named
    here = os.path.dirname(os.path.abspath(__file__))
    for folder in (here, os.path.dirname(here)):
        candidate = os.path.join(folder, "libzorvaxp.so")
        if os.path.isfile(candidate):
            return candidate
    raise LibraryNotFound("libzorvaxp.so is not beside the zorvaxp package (%s); "
                          "set ZORVAXP_LIBRARY to its path" % here)


LIBRARY_PATH = _find_library()
lib = ctypes.CDLL(LIBRARY_PATH)


def _declare(name, restype, *argtypes):
    f = getattr(lib, name)
    f.restype = restype
    f.argtypes = list(argtypes)
    return f


PV = c_void_p
DllGetClassObject = _declare("DllGetClassObject", HRESULT, POINTER(GUID), POINTER(GUID), POINTER(PV))
DllCanUnloadNow = _declare("DllCanUnloadNow", HRESULT)
SysAllocStringLen = _declare("SysAllocStringLen", PV, c_char_p, c_uint)
SysFreeString = _declare("SysFreeString", None, PV)
SysStringLen = _declare("SysStringLen", c_uint, PV)
VariantClear = _declare("VariantClear", HRESULT, POINTER(VARIANT))
SafeArrayCreateVector = _declare("SafeArrayCreateVector", PV, c_uint16, c_int32, c_uint32)
SafeArrayDestroy = _declare("SafeArrayDestroy", HRESULT, PV)
SafeArrayGetLBound = _declare("SafeArrayGetLBound", HRESULT, PV, c_uint, POINTER(c_int32))
SafeArrayGetUBound = _declare("SafeArrayGetUBound", HRESULT, PV, c_uint, POINTER(c_int32))
SafeArrayPutElement = _declare("SafeArrayPutElement", HRESULT, PV, POINTER(c_int32), POINTER(VARIANT))
SafeArrayGetElement = _declare("SafeArrayGetElement", HRESULT, PV, POINTER(c_int32), POINTER(VARIANT))
InputMoveToWindow = _declare("ZorvaXPInputMoveToWindow", HRESULT, c_uint32)
InputClick = _declare("ZorvaXPInputClick", HRESULT)
InputAdvance = _declare("ZorvaXPInputAdvance", HRESULT, c_int32)
InputMoveTo = _declare("ZorvaXPInputMoveTo", HRESULT, c_uint32, c_int32, c_int32)
InputButton = _declare("ZorvaXPInputButton", HRESULT, c_int32, c_int32)
InputKey = _declare("ZorvaXPInputKey", HRESULT, c_int32)
InputKeyState = _declare("ZorvaXPInputKeyState", HRESULT, c_int32, c_int32)
InputType = _declare("ZorvaXPInputType", HRESULT, c_char_p)
FormCreate = _declare("ZorvaXPFormCreate", HRESULT, c_char_p, c_int32, c_int32, POINTER(PV), POINTER(EXCEPINFO))
FormLoad = _declare("ZorvaXPFormLoad", HRESULT, c_char_p, POINTER(PV), POINTER(EXCEPINFO))
FormSave = _declare("ZorvaXPFormSave", HRESULT, PV, c_char_p, POINTER(EXCEPINFO))
FormAddControl = _declare("ZorvaXPFormAddControl", HRESULT, PV, c_char_p, c_char_p, c_int32, c_int32, c_int32,
                          c_int32, PV, POINTER(PV), POINTER(EXCEPINFO))
FormControlCount = _declare("ZorvaXPFormControlCount", HRESULT, PV, POINTER(c_int32))
FormControlAt = _declare("ZorvaXPFormControlAt", HRESULT, PV, c_int32, POINTER(PV), POINTER(PV))
WindowOf = _declare("ZorvaXPWindowOf", HRESULT, PV, POINTER(c_uint32))
FormRender = _declare("ZorvaXPFormRender", HRESULT, PV, c_char_p, POINTER(EXCEPINFO))
FormPixel = _declare("ZorvaXPFormPixel", HRESULT, PV, c_int32, c_int32, POINTER(c_uint32))
PutText = _declare("ZorvaXPPutText", HRESULT, PV, c_int32, c_char_p, c_uint, POINTER(EXCEPINFO))
PutLong = _declare("ZorvaXPPutLong", HRESULT, PV, c_int32, c_int32, POINTER(EXCEPINFO))
PutDouble = _declare("ZorvaXPPutDouble", HRESULT, PV, c_int32, c_double, POINTER(EXCEPINFO))
PutBool = _declare("ZorvaXPPutBool", HRESULT, PV, c_int32, c_int32, POINTER(EXCEPINFO))
FontCreate = _declare("ZorvaXPFontCreate", HRESULT, c_char_p, c_double, c_int32, c_int32, c_int32, c_int32,
                      POINTER(PV))
PictureLoad = _declare("ZorvaXPPictureLoad", HRESULT, c_char_p, c_size_t, POINTER(PV), POINTER(EXCEPINFO))
GetTypeLib = _declare("ZorvaXPGetTypeLib", HRESULT, POINTER(PV))
Run = _declare("ZorvaXPRun", HRESULT)

# ---- Calls through an interface's table of functions ----

_methods = {}


def method(obj, slot, restype, *argtypes):
    """The function at `slot` of the object's table, as a callable taking the object first."""
    table = PV.from_address(obj).value
    key = (table, slot)
    f = _methods.get(key)
    if f is None:
        address = ctypes.cast(table, POINTER(PV))[slot]
        f = ctypes.CFUNCTYPE(restype, PV, *argtypes)(address)
        _methods[key] = f
    return f


def add_ref(obj):
    return method(obj, 1, c_uint32)(obj)


def release(obj):
    return method(obj, 2, c_uint32)(obj)


def query_interface(obj, iid):
    out = PV()
    hr = method(obj, 0, HRESULT, POINTER(GUID), POINTER(PV))(obj, byref(iid), byref(out))
    return out.value if hr == S_OK else None


def bstr_text(b):
    """A BSTR's text (None reads as empty)."""
    if not b:
        return ""
    n = SysStringLen(b)
    return ctypes.string_at(b, n * 2).decode("utf-16-le", "surrogatepass")


def bstr(text):
    data = text.encode("utf-16-le", "surrogatepass")
    return SysAllocStringLen(data, len(data) // 2)


def take_bstr(b):
    """A BSTR's text; the BSTR is freed."""
    text = bstr_text(b)
    if b:
        SysFreeString(b)
    return text
