"""What the type information says about a class: its members (dispatch ids, kinds, parameter
names, optional and parameter-array arguments, indexes), its events and its enumerations. Read
once per class and kept, so a call by name costs one Invoke."""
import ctypes
from ctypes import POINTER, byref, c_int32, c_uint, c_uint32, c_void_p

from . import _com as com
from ._com import FUNCDESC, HRESULT, PV, TYPEATTR, VARDESC
from ._values import check


def _call(obj, slot, *argtypes):
    return com.method(obj, slot, HRESULT, *argtypes)


def type_attr(info):
    out = POINTER(TYPEATTR)()
    check(_call(info, 3, POINTER(POINTER(TYPEATTR)))(info, byref(out)))
    attr = TYPEATTR.from_buffer_copy(out[0])
    com.method(info, 19, None, POINTER(TYPEATTR))(info, out)
    return attr


def type_name(info):
    name = PV()
    check(_call(info, 12, c_int32, POINTER(PV), PV, PV, PV)(info, com.MEMBERID_NIL, byref(name), None, None, None))
    return com.take_bstr(name.value)


def names_of(info, memid, most=64):
    names = (PV * most)()
    count = c_uint()
    check(_call(info, 7, c_int32, POINTER(PV), c_uint, POINTER(c_uint))(info, memid, names, most, byref(count)))
    return [com.take_bstr(names[i]) for i in range(count.value)]


def ref_type_info(info, href):
    out = PV()
    check(_call(info, 14, c_uint32, POINTER(PV))(info, href, byref(out)))
    return out.value


def funcs(info):
    """(memid, invkind, cParams, cParamsOpt, return vt, hreftype) for each function."""
    attr = type_attr(info)
    get = _call(info, 5, c_uint, POINTER(POINTER(FUNCDESC)))
    free = com.method(info, 20, None, POINTER(FUNCDESC))
    for i in range(attr.cFuncs):
        desc = POINTER(FUNCDESC)()
        check(get(info, i, byref(desc)))
        f = desc[0]
        yield (f.memid, f.invkind, f.cParams, f.cParamsOpt, f.elemdescFunc.tdesc.vt,
               (f.elemdescFunc.tdesc.ref or 0) & 0xFFFFFFFF)
        free(info, desc)


class Enumeration:
    """An enumeration of the type library: its members as attributes (names that are no Python
    identifier turn each run of spaces and hyphens into one underscore: IMG_16X16), and as a
    mapping of the library's own names."""

    def __init__(self, name, members):
        self._name = name
        self._members = dict(members)
        for key, value in members:
            setattr(self, python_name(key), value)

    def __getitem__(self, name):
        return self._members[name]

    def __iter__(self):
        return iter(self._members.items())

    def __len__(self):
        return len(self._members)

    def name_of(self, value):
        for key, v in self._members.items():
            if v == value:
                return key
        raise ValueError("%s has no member of value %r" % (self._name, value))

    def __repr__(self):
        return "<enumeration %s: %s>" % (self._name, ", ".join("%s=%d" % kv for kv in self._members.items()))


def python_name(name):
    out, gap = [], False
    for ch in name:
        if ch in " -":
            gap = True
            continue
        if gap and out:
            out.append("_")
        gap = False
        out.append(ch)
    return "".join(out)


_enums = {}


def enumeration(info, href):
    """The enumeration a member's type refers to (read once per name)."""
    e = ref_type_info(info, href)
    try:
        name = type_name(e)
        known = _enums.get(name)
        if known is not None:
            return known
        attr = type_attr(e)
        if attr.typekind != com.TKIND_ENUM:
            return None
        members = []
        get = _call(e, 6, c_uint, POINTER(POINTER(VARDESC)))
        free = com.method(e, 21, None, POINTER(VARDESC))
        for i in range(attr.cVars):
            desc = POINTER(VARDESC)()
            check(get(e, i, byref(desc)))
            members.append((names_of(e, desc[0].memid, 1)[0], desc[0].lpvarValue[0].lVal))
            free(e, desc)
        known = _enums[name] = Enumeration(name, members)
        return known
    finally:
        com.release(e)


class Member:
    __slots__ = ("name", "dispid", "kind", "params", "optional", "param_array", "indexes", "put_flag",
                 "readable", "enum")

    def __init__(self, name, dispid, kind):
        self.name = name
        self.dispid = dispid
        self.kind = kind  # "method" or "property"
        self.params = []
        self.optional = 0
        self.param_array = False
        self.indexes = 0
        self.put_flag = 0
        self.readable = False
        self.enum = None

    def signature(self):
        """The call as help() shows it: optional parameters in brackets, a parameter array starred."""
        count = len(self.params)
        array = 1 if self.param_array else 0
        first_optional = count - array - self.optional
        shown = []
        for i, p in enumerate(self.params):
            shown.append("*" + p if array and i == count - 1 else "[%s]" % p if i >= first_optional else p)
        return "%s(%s)" % (self.name, ", ".join(shown))


class ClassInfo:
    """A class as its type information describes it."""

    def __init__(self, name, members):
        self.name = name
        self.members = members  # lower-case name -> Member
        self.exact = {m.name: m for m in members.values()}  # the library's spelling -> Member
        self.events = None      # dispid -> (name, parameter names), read on first use
        self.events_iid = None
        self.site = {}          # lower-case name -> Member of a control's site (None: not one)
        # The library's spelling -> dispid of the properties a plain value is put to directly.
        self.plain_puts = {m.name: m.dispid for m in members.values()
                           if m.kind == "property" and m.put_flag & com.DISPATCH_PROPERTYPUT and not m.indexes}

    def describe(self):
        lines = ["%s: members of the library's class %s" % (self.name.lstrip("_"), self.name.lstrip("_")), ""]
        props = sorted((m for m in self.members.values() if m.kind == "property"), key=lambda m: m.name.lower())
        methods = sorted((m for m in self.members.values() if m.kind == "method"), key=lambda m: m.name.lower())
        if props:
            lines.append("Properties:")
            for m in props:
                access = "read/write" if m.readable and m.put_flag else "read-only" if m.readable else "write-only"
                index = "[%s]" % ", ".join(m.params[:m.indexes]) if m.indexes else ""
                kind = " (%s)" % m.enum._name if m.enum is not None else ""
                lines.append("  %s%s  %s%s" % (m.name, index, access, kind))
        if methods:
            lines.append("Methods:")
            for m in methods:
                lines.append("  " + m.signature())
        return "\n".join(lines)


def read_class(info):
    members = {}
    for memid, invkind, nparams, nopt, vt, href in funcs(info):
        names = names_of(info, memid)
        if not names:
            continue
        key = names[0].lower()
        m = members.get(key)
        if m is None:
            kind = "method" if invkind == com.INVOKE_FUNC else "property"
            m = members[key] = Member(names[0], memid, kind)
        params = names[1:]
        if invkind == com.INVOKE_FUNC:
            m.params = params
            m.param_array = nopt == -1
            m.optional = max(nopt, 0)
        elif invkind == com.INVOKE_PROPERTYGET:
            m.readable = True
            m.indexes = nparams
            if params:
                m.params = params
            if vt == com.VT_USERDEFINED:
                m.enum = enumeration(info, href)
        else:
            m.put_flag = com.DISPATCH_PROPERTYPUTREF if invkind == com.INVOKE_PROPERTYPUTREF else com.DISPATCH_PROPERTYPUT
            m.indexes = nparams - 1
            if params and not m.params:
                m.params = params
    return ClassInfo(type_name(info), members)


def read_events(obj, cls):
    """The class's outgoing interface: its identifier and each event's name and parameters."""
    cls.events = {}
    provider = com.query_interface(obj, com.IID_IProvideClassInfo2)
    if not provider:
        return
    try:
        iid = com.GUID()
        if _call(provider, 4, c_uint32, POINTER(com.GUID))(provider, com.GUIDKIND_DEFAULT_SOURCE_DISP_IID,
                                                          byref(iid)) != com.S_OK:
            return
        coclass = PV()
        check(_call(provider, 3, POINTER(PV))(provider, byref(coclass)))
    finally:
        com.release(provider)
    try:
        attr = type_attr(coclass.value)
        for i in range(attr.cImplTypes):
            flags = c_int32()
            check(_call(coclass.value, 9, c_uint, POINTER(c_int32))(coclass.value, i, byref(flags)))
            if not flags.value & com.IMPLTYPEFLAG_FSOURCE:
                continue
            href = c_uint32()
            check(_call(coclass.value, 8, c_uint, POINTER(c_uint32))(coclass.value, i, byref(href)))
            events = ref_type_info(coclass.value, href.value)
            try:
                for memid, _invkind, _n, _o, _vt, _h in funcs(events):
                    names = names_of(events, memid)
                    cls.events[memid] = (names[0], names[1:])
            finally:
                com.release(events)
        cls.events_iid = iid
    finally:
        com.release(coclass.value)


def type_library():
    out = PV()
    check(com.GetTypeLib(byref(out)))
    return out.value


def library_classes():
    """(name, class identifier, type flags) of every class of the type library."""
    tlib = type_library()
    try:
        count = com.method(tlib, 3, c_uint)(tlib)
        rows = []
        for i in range(count):
            info = PV()
            check(_call(tlib, 4, c_uint, POINTER(PV))(tlib, i, byref(info)))
            try:
                attr = type_attr(info.value)
                rows.append((type_name(info.value), attr.guid, attr.wTypeFlags, attr.cImplTypes))
            finally:
                com.release(info.value)
        return rows
    finally:
        com.release(tlib)


def default_interface(clsid):
    """The default dispatch interface's type information of a class (caller releases it)."""
    tlib = type_library()
    try:
        coclass = PV()
        check(_call(tlib, 6, POINTER(com.GUID), POINTER(PV))(tlib, byref(clsid), byref(coclass)))
    finally:
        com.release(tlib)
    try:
        href = c_uint32()
        if _call(coclass.value, 8, c_uint, POINTER(c_uint32))(coclass.value, 0, byref(href)) != com.S_OK:
            return None
        out = PV()
        # A class whose members the library does not describe (a page) has no interface to read.
        if _call(coclass.value, 14, c_uint32, POINTER(PV))(coclass.value, href.value, byref(out)) != com.S_OK:
            return None
        return out.value
    finally:
        com.release(coclass.value)


def all_enumerations():
    """Every enumeration some class's property refers to, by name."""
    for _name, clsid, _flags, impl in library_classes():
        if not impl:
            continue
        info = default_interface(clsid)
        if not info:
            continue
        try:
            for _memid, invkind, _n, _o, vt, href in funcs(info):
                if invkind == com.INVOKE_PROPERTYGET and vt == com.VT_USERDEFINED:
                    enumeration(info, href)
        finally:
            com.release(info)
    return _enums


__all__ = ["ClassInfo", "Member", "Enumeration", "read_class", "read_events", "library_classes",
           "all_enumerations", "type_name", "c_void_p"]
