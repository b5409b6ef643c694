"""Python values to VARIANTs and back, and the error a refused call raises."""
import ctypes
import datetime
import math
from ctypes import byref, c_int32

from . import _com as com
from ._com import VARIANT


class HostError(Exception):
    """A call the library refused: the host error number and its description.

    `number` is the host runtime's error number (13 "Type mismatch", 9 "Subscript out of range",
    ...); `source` names the object that raised it when the library said so."""

    def __init__(self, number, description, source=""):
        super().__init__(number, description)
        self.number = number
        self.description = description
        self.source = source

    def __str__(self):
        return "%d: %s" % (self.number, self.description)


# What the dispatch interface's own refusals mean to the host (no EXCEPINFO comes with them).
_REFUSALS = {
    com.DISP_E_TYPEMISMATCH: (13, "Type mismatch"),
    com.DISP_E_OVERFLOW: (6, "Overflow"),
    com.DISP_E_BADINDEX: (9, "Subscript out of range"),
    com.DISP_E_BADPARAMCOUNT: (450, "Wrong number of arguments or invalid property assignment"),
    com.DISP_E_PARAMNOTFOUND: (448, "Named argument not found"),
    com.DISP_E_NONAMEDARGS: (446, "Object doesn't support named arguments"),
    com.DISP_E_MEMBERNOTFOUND: (438, "Object doesn't support this property or method"),
    com.DISP_E_UNKNOWNNAME: (438, "Object doesn't support this property or method"),
    com.DISP_E_PARAMNOTOPTIONAL: (449, "Argument not optional"),
    com.DISP_E_BADVARTYPE: (458, "Variable uses an Automation type not supported"),
    com.E_OUTOFMEMORY: (7, "Out of memory"),
    com.E_INVALIDARG: (5, "Invalid procedure call or argument"),
    com.E_NOINTERFACE: (430, "Class does not support Automation or does not support expected interface"),
}


def error_of(hr, excep=None):
    """The HostError for a failed call's HRESULT and (for DISP_E_EXCEPTION) its record, whose
    strings are freed here."""
    if hr == com.DISP_E_EXCEPTION and excep is not None:
        description = com.take_bstr(excep.bstrDescription)
        source = com.take_bstr(excep.bstrSource)
        com.take_bstr(excep.bstrHelpFile)
        excep.bstrDescription = excep.bstrSource = excep.bstrHelpFile = None
        scode = excep.scode & 0xFFFFFFFF
        number = scode & 0xFFFF if (scode & 0xFFFF0000) == 0x800A0000 else excep.scode
        return HostError(number, description, source)
    number, text = _REFUSALS.get(hr, (hr, "Automation error 0x%08X" % (hr & 0xFFFFFFFF)))
    return HostError(number, text)


def check(hr, excep=None):
    if hr < 0:
        raise error_of(hr, excep)
    return hr


class Colour(int):
    """An OLE colour (0x00BBGGRR) built from red, green and blue; any int is a colour too."""

    def __new__(cls, red, green=None, blue=None):
        if green is None and blue is None:
            return super().__new__(cls, red)
        for c in (red, green, blue):
            if not 0 <= c <= 255:
                raise ValueError("colour channels are 0 to 255")
        return super().__new__(cls, red | green << 8 | blue << 16)

    @property
    def rgb(self):
        return (self & 0xFF, self >> 8 & 0xFF, self >> 16 & 0xFF)

    def __repr__(self):
        return "Colour(%d, %d, %d)" % self.rgb


def rgb(red, green, blue):
    return Colour(red, green, blue)


_EPOCH = datetime.datetime(1899, 12, 30)


def date_value(d):
    """A date as the host's number: days since 1899-12-30, the time as the fraction (before the
    epoch the fraction still counts forward from the day's start: -1.25 is 1899-12-29 06:00)."""
    if not isinstance(d, datetime.datetime):
        d = datetime.datetime(d.year, d.month, d.day)
    if d.tzinfo is not None:
        d = d.replace(tzinfo=None)
    delta = d - _EPOCH
    fraction = (delta.seconds + delta.microseconds / 1e6) / 86400.0
    return delta.days + fraction if delta.days >= 0 else delta.days - fraction


def date_of(value):
    days = math.floor(value) if value >= 0 else math.ceil(value)
    fraction = abs(value - days)
    # The host keeps whole seconds: round away the double's noise.
    seconds = round(fraction * 86400)
    return _EPOCH + datetime.timedelta(days=days, seconds=seconds)


# Set by the package: wraps an IDispatch pointer (AddRef'd for the wrapper) as a Python object,
# and tells whether a Python object is one of those wrappers.
wrap = None
dispatch_of = None


def to_variant(value, v):
    """Fills the VARIANT v (empty) with a Python value; v then owns what it points to (clear it
    with VariantClear). TypeError for a value no VARIANT holds."""
    if value is None:
        v.vt = com.VT_EMPTY
    elif value is True or value is False:
        v.vt = com.VT_BOOL
        v.boolVal = -1 if value else 0
    elif isinstance(value, int):
        if -2 ** 31 <= value < 2 ** 31:
            v.vt = com.VT_I4
            v.lVal = value
        elif -2 ** 63 <= value < 2 ** 63:
            v.vt = com.VT_I8
            v.llVal = value
        else:
            raise OverflowError("%d does not fit in 64 bits" % value)
    elif isinstance(value, float):
        v.vt = com.VT_R8
        v.dblVal = value
    elif isinstance(value, str):
        v.vt = com.VT_BSTR
        v.ptr = com.bstr(value)
    elif isinstance(value, (datetime.datetime, datetime.date)):
        v.vt = com.VT_DATE
        v.date = date_value(value)
    elif isinstance(value, (list, tuple)):
        array = com.SafeArrayCreateVector(com.VT_VARIANT, 0, len(value))
        if not array:
            raise MemoryError("no array of %d values" % len(value))
        element = VARIANT()
        index = c_int32()
        try:
            for i, item in enumerate(value):
                to_variant(item, element)
                index.value = i
                hr = com.SafeArrayPutElement(array, byref(index), byref(element))
                com.VariantClear(byref(element))
                check(hr)
        except BaseException:
            com.SafeArrayDestroy(array)
            raise
        v.vt = com.VT_ARRAY | com.VT_VARIANT
        v.ptr = array
    else:
        pointer = dispatch_of(value)
        if pointer is None:
            raise TypeError("a %s cannot be passed to the library (numbers, strings, bools, dates, "
                            "lists, None and library objects can)" % type(value).__name__)
        com.add_ref(pointer)
        v.vt = com.VT_DISPATCH
        v.ptr = pointer


def from_variant(v):
    """The Python value of a VARIANT (which keeps what it owns)."""
    vt = v.vt
    if vt & com.VT_BYREF:
        return from_reference(v)
    if vt in (com.VT_EMPTY, com.VT_NULL, com.VT_ERROR, com.VT_VOID):
        return None
    if vt == com.VT_I4 or vt == com.VT_INT:
        return v.lVal
    if vt == com.VT_BSTR:
        return com.bstr_text(v.ptr)
    if vt == com.VT_BOOL:
        return v.boolVal != 0
    if vt == com.VT_I2:
        return v.iVal
    if vt == com.VT_R8:
        return v.dblVal
    if vt == com.VT_R4:
        return v.fltVal
    if vt == com.VT_DATE:
        return date_of(v.date)
    if vt == com.VT_DISPATCH or vt == com.VT_UNKNOWN:
        if not v.ptr:
            return None
        com.add_ref(v.ptr)
        return wrap(v.ptr)
    if vt == com.VT_ARRAY | com.VT_VARIANT:
        return array_items(v.ptr)
    if vt in (com.VT_I8, com.VT_UI8):
        return v.llVal if vt == com.VT_I8 else v.ullVal
    if vt == com.VT_UI1:
        return v.bVal
    if vt == com.VT_I1:
        return v.cVal
    if vt == com.VT_UI2:
        return v.uiVal
    if vt in (com.VT_UI4, com.VT_UINT):
        return v.ulVal
    if vt == com.VT_CY:
        return v.cyVal / 10000.0
    raise TypeError("the library answered a value of type %d, which has no Python value" % vt)


def array_items(array):
    if not array:
        return []
    low, high = c_int32(), c_int32()
    check(com.SafeArrayGetLBound(array, 1, byref(low)))
    check(com.SafeArrayGetUBound(array, 1, byref(high)))
    items = []
    element = VARIANT()
    index = c_int32()
    for i in range(low.value, high.value + 1):
        index.value = i
        check(com.SafeArrayGetElement(array, byref(index), byref(element)))
        try:
            items.append(from_variant(element))
        finally:
            com.VariantClear(byref(element))
    return items


# By-reference arguments (events): the value's C type per base VARTYPE.
_REF_TYPES = {com.VT_I2: ctypes.c_int16, com.VT_I4: ctypes.c_int32, com.VT_R4: ctypes.c_float,
              com.VT_R8: ctypes.c_double, com.VT_BOOL: ctypes.c_int16, com.VT_DATE: ctypes.c_double,
              com.VT_UI1: ctypes.c_uint8, com.VT_I8: ctypes.c_int64}


def from_reference(v):
    base = v.vt & ~com.VT_BYREF
    if not v.ptr:
        return None
    if base == com.VT_VARIANT:
        return from_variant(ctypes.cast(v.ptr, ctypes.POINTER(VARIANT))[0])
    shown = VARIANT()
    shown.vt = base
    if base in (com.VT_BSTR, com.VT_DISPATCH, com.VT_UNKNOWN) or base & com.VT_ARRAY:
        shown.ptr = ctypes.cast(v.ptr, ctypes.POINTER(ctypes.c_void_p))[0]
    elif base in _REF_TYPES:
        ctypes.memmove(byref(shown.u), v.ptr, ctypes.sizeof(_REF_TYPES[base]))
    else:
        return None
    return from_variant(shown)


def write_reference(v, value):
    """Writes a value through a by-reference VARIANT, converted to the type it points at.
    TypeError when the value does not fit that type."""
    base = v.vt & ~com.VT_BYREF
    if base == com.VT_VARIANT:
        target = ctypes.cast(v.ptr, ctypes.POINTER(VARIANT))[0]
        fresh = VARIANT()
        to_variant(value, fresh)
        com.VariantClear(byref(target))
        ctypes.memmove(byref(target), byref(fresh), ctypes.sizeof(VARIANT))
        return
    if base == com.VT_BSTR:
        if not isinstance(value, str):
            raise TypeError("this argument is a string")
        slot = ctypes.cast(v.ptr, ctypes.POINTER(ctypes.c_void_p))
        if slot[0]:
            com.SysFreeString(slot[0])
        slot[0] = com.bstr(value)
        return
    ctype = _REF_TYPES.get(base)
    if ctype is None:
        raise TypeError("this argument cannot be changed by a handler")
    if base == com.VT_BOOL:
        number = -1 if value else 0
    elif base == com.VT_DATE:
        number = date_value(value)
    elif isinstance(value, str) and len(value) == 1 and base in (com.VT_I2, com.VT_I4):
        number = ord(value)  # KeyAscii = "A"
    elif isinstance(value, (int, float)) and not isinstance(value, bool):
        number = value if base in (com.VT_R4, com.VT_R8) else int(value)
    else:
        raise TypeError("this argument is a number")
    ctypes.cast(v.ptr, ctypes.POINTER(ctype))[0] = number
