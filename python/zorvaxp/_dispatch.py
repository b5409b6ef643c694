"""Objects of the library as Python objects: members by name through IDispatch, events through
connection points, lifetime through Release when Python drops the object."""
import ctypes
import inspect
import weakref
from ctypes import POINTER, byref, c_int32, c_uint, c_uint16, c_uint32, c_void_p

from . import _com as com
from . import _typeinfo as ti
from . import _values as values
from ._com import DISPPARAMS, EXCEPINFO, HRESULT, PV, VARIANT
from ._values import HostError, check, error_of

_classes = {}  # type name -> (ClassInfo, Python class)

# Exceptions raised by event handlers while the library was calling them: raised again in the
# Python code whose call into the library caused the event, once that call returns.
_pending = []


def raise_pending():
    if _pending:
        error = _pending.pop(0)
        del _pending[:]
        raise error


_IID = POINTER(com.GUID)
_invoke_types = (c_int32, _IID, c_uint32, c_uint16, POINTER(DISPPARAMS), POINTER(VARIANT), POINTER(EXCEPINFO),
                 POINTER(c_uint))
_put_name = c_int32(com.DISPID_PROPERTYPUT)


_NULL_IID = byref(com.IID_NULL)


def _invoker(pointer):
    """The object's Invoke (objects of one table share it)."""
    return com.method(pointer, 6, HRESULT, *_invoke_types)


class _Call:
    """The buffers of one call without arguments or with one (a get, a put): kept and reused, so
    a property costs one Invoke and no allocation. A call made while another is under way (from
    an event handler) takes buffers of its own."""

    __slots__ = ("argv", "params", "result", "excep", "result_ref", "excep_ref", "params_ref", "arg0_ref")

    def __init__(self):
        self.argv = (VARIANT * 1)()
        self.params = DISPPARAMS(self.argv, ctypes.pointer(_put_name), 1, 1)
        self.result = VARIANT()
        self.excep = EXCEPINFO()
        self.result_ref = byref(self.result)
        self.excep_ref = byref(self.excep)
        self.params_ref = byref(self.params)
        self.arg0_ref = byref(self.argv[0])


_free_calls = []
_no_params = byref(DISPPARAMS(None, None, 0, 0))


def ids_of_names(pointer, name):
    """The object's identifier for a member name (IDispatch::GetIDsOfNames); None when unknown."""
    data = name.encode("utf-16-le", "surrogatepass") + b"\0\0"
    buffer = ctypes.create_string_buffer(data, len(data))
    names = (PV * 1)(ctypes.cast(buffer, PV))
    out = c_int32(0)
    hr = com.method(pointer, 5, HRESULT, POINTER(com.GUID), POINTER(PV), c_uint, c_uint32, POINTER(c_int32))(
        pointer, byref(com.IID_NULL), names, 1, 0, byref(out))
    return out.value if hr == com.S_OK else None


def get(pointer, dispid):
    """A property get without indexes."""
    call = _free_calls.pop() if _free_calls else _Call()
    try:
        hr = _invoker(pointer)(pointer, dispid, _NULL_IID, 0, com.DISPATCH_PROPERTYGET, _no_params,
                               call.result_ref, call.excep_ref, None)
        if hr < 0:
            raise_pending()
            raise error_of(hr, call.excep)
        raise_pending()
        return values.from_variant(call.result)
    finally:
        com.VariantClear(call.result_ref)
        _free_calls.append(call)


_put_text, _put_long, _put_double, _put_bool = com.PutText, com.PutLong, com.PutDouble, com.PutBool


_QUICK_KINDS = frozenset((str, int, float, bool))


def quick_put(pointer, dispid, value):
    """A put of an exact str, int within 32 bits, float or bool through the library's quick put;
    False (nothing done) for any other value."""
    kind = type(value)
    if kind not in _QUICK_KINDS or (kind is int and not -2147483648 <= value <= 2147483647):
        return False
    call = _free_calls.pop() if _free_calls else _Call()
    try:
        if kind is str:
            data = value.encode("utf-16-le", "surrogatepass")
            hr = _put_text(pointer, dispid, data, len(data) >> 1, call.excep_ref)
        elif kind is int:
            hr = _put_long(pointer, dispid, value, call.excep_ref)
        elif kind is float:
            hr = _put_double(pointer, dispid, value, call.excep_ref)
        else:
            hr = _put_bool(pointer, dispid, value, call.excep_ref)
        if _pending:
            raise_pending()
        if hr < 0:
            raise error_of(hr, call.excep)
    finally:
        _free_calls.append(call)
    return True


def put(pointer, dispid, flags, value, indexes=()):
    """A property put: the value first in DISPPARAMS under DISPID_PROPERTYPUT, then the indexes.
    A text, a 32-bit integer, a float or a Boolean goes through the library's quick put, which
    builds the same call in C."""
    if indexes:
        return _put_indexed(pointer, dispid, flags, value, indexes)
    if flags & com.DISPATCH_PROPERTYPUT and quick_put(pointer, dispid, value):
        return
    call = _free_calls.pop() if _free_calls else _Call()
    try:
        values.to_variant(value, call.argv[0])
        hr = _invoker(pointer)(pointer, dispid, _NULL_IID, 0, flags, call.params_ref, None, call.excep_ref, None)
        raise_pending()
        if hr < 0:
            raise error_of(hr, call.excep)
    finally:
        com.VariantClear(call.arg0_ref)
        _free_calls.append(call)


class _Arguments:
    """The buffers of a call with positional arguments only, kept per argument count and reused
    (a call made from an event handler while another is under way takes buffers of its own)."""

    __slots__ = ("argv", "refs", "params_ref", "result", "result_ref", "excep", "excep_ref")

    def __init__(self, count):
        self.argv = (VARIANT * count)()
        self.refs = [byref(self.argv[i]) for i in range(count)]
        self.params_ref = byref(DISPPARAMS(self.argv, None, count, 0))
        self.result = VARIANT()
        self.result_ref = byref(self.result)
        self.excep = EXCEPINFO()
        self.excep_ref = byref(self.excep)


_free_arguments = {}  # argument count -> [_Arguments]
# What a VARIANT holds without owning anything: such arguments need no VariantClear after a call.
_PLAIN = frozenset((com.VT_EMPTY, com.VT_NULL, com.VT_I2, com.VT_I4, com.VT_R4, com.VT_R8, com.VT_DATE,
                    com.VT_BOOL, com.VT_ERROR, com.VT_I8))


def _invoke_positional(pointer, dispid, flags, args):
    count = len(args)
    pool = _free_arguments.setdefault(count, [])
    call = pool.pop() if pool else _Arguments(count)
    argv = call.argv
    try:
        # DISPPARAMS holds the arguments last first.
        at = count
        for value in args:
            at -= 1
            if value is _MISSING:
                argv[at].vt = com.VT_ERROR
                argv[at].scode = com.DISP_E_PARAMNOTFOUND
            else:
                values.to_variant(value, argv[at])
        hr = _invoker(pointer)(pointer, dispid, _NULL_IID, 0, flags, call.params_ref, call.result_ref,
                               call.excep_ref, None)
        if hr < 0:
            raise_pending()
            raise error_of(hr, call.excep)
        result = call.result
        try:
            raise_pending()
            return values.from_variant(result)
        finally:
            if result.vt in _PLAIN:
                result.vt = com.VT_EMPTY
            else:
                com.VariantClear(call.result_ref)
    finally:
        for i in range(count):
            if argv[i].vt in _PLAIN:
                argv[i].vt = com.VT_EMPTY
            else:
                com.VariantClear(call.refs[i])
        pool.append(call)


def invoke(pointer, dispid, flags, args=(), named=()):
    """Invoke with positional arguments in call order and named ones as (dispid, value) pairs;
    the result as a Python value."""
    if not named:
        return _invoke_positional(pointer, dispid, flags, args)
    count = len(args) + len(named)
    argv = (VARIANT * count)() if count else None
    ids = None
    try:
        # DISPPARAMS holds the named arguments first, then the positional ones last first.
        for k, (_, value) in enumerate(named):
            values.to_variant(value, argv[k])
        for i, value in enumerate(args):
            at = count - 1 - i
            if value is _MISSING:
                argv[at].vt = com.VT_ERROR
                argv[at].scode = com.DISP_E_PARAMNOTFOUND
            else:
                values.to_variant(value, argv[at])
        if named:
            ids = (c_int32 * len(named))(*[d for d, _ in named])
        params = DISPPARAMS(argv, ids, count, len(named))
        result = VARIANT()
        excep = EXCEPINFO()
        hr = _invoker(pointer)(pointer, dispid, _NULL_IID, 0, flags, byref(params), byref(result), byref(excep), None)
        if hr < 0:
            raise_pending()
            raise error_of(hr, excep)
        try:
            raise_pending()
            return values.from_variant(result)
        finally:
            com.VariantClear(byref(result))
    finally:
        for i in range(count):
            com.VariantClear(byref(argv[i]))


def _put_indexed(pointer, dispid, flags, value, indexes):
    count = 1 + len(indexes)
    argv = (VARIANT * count)()
    try:
        values.to_variant(value, argv[0])
        for i, index in enumerate(indexes):
            values.to_variant(index, argv[count - 1 - i])
        params = DISPPARAMS(argv, ctypes.pointer(_put_name), count, 1)
        excep = EXCEPINFO()
        hr = _invoker(pointer)(pointer, dispid, _NULL_IID, 0, flags, byref(params), None, byref(excep), None)
        raise_pending()
        if hr < 0:
            raise error_of(hr, excep)
    finally:
        for i in range(count):
            com.VariantClear(byref(argv[i]))


class _Missing:
    def __repr__(self):
        return "zorvaxp.Missing"


# An optional argument left out in the middle: f(1, Missing, 3).
_MISSING = _Missing()


class Dispatch:
    """An object of the library. Its properties, methods and indexed properties are reached by
    name as its type information lists them (dir() shows them, help() describes them); events
    are bound with on(). Dropping the last Python reference releases the object."""

    __slots__ = ("_ptr", "_cls", "_sinks", "_handlers", "__weakref__")

    def __init__(self, pointer, cls):
        object.__setattr__(self, "_ptr", pointer)
        object.__setattr__(self, "_cls", cls)
        object.__setattr__(self, "_sinks", None)
        # Handlers live here, not in the sink the library holds: a handler that uses its own
        # object makes a cycle Python can collect, not a path from the sink registry.
        object.__setattr__(self, "_handlers", {})

    def __del__(self):
        pointer = getattr(self, "_ptr", None)
        if not pointer:
            return
        object.__setattr__(self, "_ptr", None)
        try:
            if self._sinks:
                for sink in self._sinks.values():
                    sink.disconnect()
            com.release(pointer)
        except Exception:  # the interpreter is shutting down: the process lets go of everything
            pass

    # ---- Members by name ----
    def _member(self, name):
        cls = self._cls
        m = cls.exact.get(name) or cls.members.get(name.lower())
        if m is None:
            m = self._site_member(name)
        if m is None:
            raise AttributeError("%s has no member %r" % (self._cls.name.lstrip("_"), name))
        return m

    def _site_member(self, name):
        """A member of the control's site (Left, Top, Width, Height, Visible, Name, TabIndex, ...):
        not in the class's type information, but the object answers it by name. Read and set as a
        property; remembered per class, names the object does not know included."""
        cls = self._cls
        site = cls.site
        key = name.lower()
        if key not in site:
            dispid = ids_of_names(self._ptr, name)
            m = None
            if dispid is not None:
                m = ti.Member(name, dispid, "property")
                m.readable = True
                m.put_flag = com.DISPATCH_PROPERTYPUT
            site[key] = m
        return site[key]

    def __getattr__(self, name):
        if name.startswith("__"):
            raise AttributeError(name)
        m = self._member(name)
        if m.kind == "method" or m.indexes:
            return BoundMember(self, m)
        return get(self._ptr, m.dispid)

    def __setattr__(self, name, value):
        dispid = self._cls.plain_puts.get(name)
        if dispid is not None and quick_put(self._ptr, dispid, value):
            return
        if name.startswith("_"):
            object.__setattr__(self, name, value)
            return
        m = self._member(name)
        if m.kind != "property" or not m.put_flag:
            raise AttributeError("%s.%s cannot be set" % (self._cls.name.lstrip("_"), m.name))
        if m.indexes:
            raise TypeError("%s is indexed: set %s[index] = value" % (m.name, m.name))
        put(self._ptr, m.dispid, m.put_flag, value)

    def __dir__(self):
        return sorted(set(object.__dir__(self)) | {m.name for m in self._cls.members.values()})

    def __eq__(self, other):
        return isinstance(other, Dispatch) and other._ptr == self._ptr

    def __hash__(self):
        return hash(self._ptr)

    def __repr__(self):
        return "<zorvaxp %s object>" % self._cls.name.lstrip("_")

    # ---- Events ----
    def on(self, event, handler=None):
        """Binds a handler to an event by name: obj.on("Click", fn), or as a decorator
        (@obj.on("Click")). A handler that takes a parameter gets the event's arguments as one
        EventArgs (by name or place; assigning a by-reference argument changes it for the
        control); a handler without parameters is called with none. Returns the handler."""
        if handler is None:
            return lambda fn: self.on(event, fn)
        if not callable(handler):
            raise TypeError("an event handler must be callable")
        cls = self._cls
        if cls.events is None:
            ti.read_events(self._ptr, cls)
        found = [(dispid, name) for dispid, (name, _) in cls.events.items() if name.lower() == event.lower()]
        if not found:
            raise AttributeError("%s raises no event %r" % (cls.name.lstrip("_"), event))
        if self._sinks is None:
            object.__setattr__(self, "_sinks", {})
        if self._sinks.get(0) is None:
            self._sinks[0] = EventSink(self, cls)
        self._handlers.setdefault(found[0][0], []).append((handler, _takes_arguments(handler)))
        return handler

    def off(self, event, handler=None):
        """Unbinds a handler (or every handler) of an event."""
        for dispid, (name, _) in (self._cls.events or {}).items():
            if name.lower() == event.lower() and dispid in self._handlers:
                self._handlers[dispid] = [(h, t) for h, t in self._handlers[dispid]
                                          if handler is not None and h is not handler]


class BoundMember:
    """A method, or an indexed property, of one object: call it, or index it (obj.Prop[i],
    obj.Prop[i, j] = value)."""

    __slots__ = ("_obj", "_m")

    def __init__(self, obj, member):
        self._obj = obj
        self._m = member

    def __call__(self, *args, **kwargs):
        m = self._m
        if m.kind == "property":
            if kwargs:
                raise TypeError("%s takes its indexes by place" % m.name)
            return invoke(self._obj._ptr, m.dispid, com.DISPATCH_PROPERTYGET, args)
        named = []
        if kwargs:
            lower = [p.lower() for p in m.params]
            for key, value in kwargs.items():
                try:
                    place = lower.index(key.lower())
                except ValueError:
                    raise TypeError("%s has no parameter %r (it takes %s)" % (m.name, key, ", ".join(m.params) or "none"))
                if place < len(args):
                    raise TypeError("%s got %r twice" % (m.name, key))
                named.append((place, value))
        return invoke(self._obj._ptr, m.dispid, com.DISPATCH_METHOD | com.DISPATCH_PROPERTYGET, args, named)

    def _indexes(self, key):
        return key if isinstance(key, tuple) else (key,)

    def __getitem__(self, key):
        if self._m.kind != "property":
            raise TypeError("%s is a method: call it" % self._m.name)
        return invoke(self._obj._ptr, self._m.dispid, com.DISPATCH_PROPERTYGET, self._indexes(key))

    def __setitem__(self, key, value):
        m = self._m
        if m.kind != "property" or not m.put_flag:
            raise TypeError("%s cannot be set" % m.name)
        put(self._obj._ptr, m.dispid, m.put_flag, value, self._indexes(key))

    @property
    def __doc__(self):
        return self._m.signature()

    def __repr__(self):
        return "<%s of %r>" % (self._m.signature(), self._obj)


class EventArgs:
    """An event's arguments, by parameter name (any case) or place; a by-reference argument
    assigned here goes back to the control when the handler returns."""

    __slots__ = ("_event", "_names", "_values", "_changed")

    def __init__(self, event, names, vals):
        object.__setattr__(self, "_event", event)
        object.__setattr__(self, "_names", [n.lower() for n in names])
        object.__setattr__(self, "_values", vals)
        object.__setattr__(self, "_changed", set())

    def _place(self, key):
        if isinstance(key, int):
            return key
        try:
            return self._names.index(key.lower())
        except ValueError:
            raise AttributeError("event %s has no argument %r" % (self._event, key))

    def __getattr__(self, name):
        return self._values[self._place(name)]

    def __setattr__(self, name, value):
        place = self._place(name)
        self._values[place] = value
        self._changed.add(place)

    __getitem__ = __getattr__
    __setitem__ = __setattr__

    def __len__(self):
        return len(self._values)

    def __iter__(self):
        return iter(list(self._values))

    @property
    def event(self):
        return self._event

    def __repr__(self):
        return "<%s %s>" % (self._event, ", ".join("%s=%r" % kv for kv in zip(self._names, self._values)))


# ---- The event sink: an IDispatch written in Python ----

_sinks = {}  # the address of a sink's object -> EventSink


class _SinkObject(ctypes.Structure):
    _fields_ = [("vtbl", c_void_p), ("number", ctypes.c_size_t)]


_sink_of = _sinks.get  # the sink a call into the library's sink pointer reaches


@ctypes.CFUNCTYPE(HRESULT, c_void_p, _IID, POINTER(c_void_p))
def _sink_query_interface(this, iid, out):
    sink = _sink_of(this)
    wanted = iid[0]
    if sink and (wanted == com.IID_IUnknown or wanted == com.IID_IDispatch or wanted == sink.iid):
        out[0] = this
        sink.refs += 1
        return com.S_OK
    out[0] = None
    return com.E_NOINTERFACE


@ctypes.CFUNCTYPE(c_uint32, c_void_p)
def _sink_add_ref(this):
    sink = _sink_of(this)
    if not sink:
        return 0
    sink.refs += 1
    return sink.refs


@ctypes.CFUNCTYPE(c_uint32, c_void_p)
def _sink_release(this):
    sink = _sink_of(this)
    if not sink:
        return 0
    sink.refs -= 1
    if sink.refs == 0:
        _sinks.pop(this, None)
    return sink.refs


@ctypes.CFUNCTYPE(HRESULT, c_void_p, POINTER(c_uint))
def _sink_type_info_count(this, count):
    count[0] = 0
    return com.S_OK


@ctypes.CFUNCTYPE(HRESULT, c_void_p, c_uint, c_uint32, POINTER(c_void_p))
def _sink_type_info(this, index, lcid, out):
    out[0] = None
    return -2147467263  # E_NOTIMPL


@ctypes.CFUNCTYPE(HRESULT, c_void_p, _IID, c_void_p, c_uint, c_uint32, POINTER(c_int32))
def _sink_ids_of_names(this, iid, names, count, lcid, ids):
    return -2147467263


@ctypes.CFUNCTYPE(HRESULT, *((c_void_p,) + _invoke_types))
def _sink_invoke(this, dispid, iid, lcid, flags, params, result, excep, arg_err):
    sink = _sink_of(this)
    if not sink:
        return com.S_OK
    try:
        sink.deliver(dispid, params)
    except BaseException as error:  # the library is below us on the stack: hand it to Python later
        _pending.append(error)
    return com.S_OK


_SINK_VTABLE = (c_void_p * 7)(*[ctypes.cast(f, c_void_p) for f in (
    _sink_query_interface, _sink_add_ref, _sink_release, _sink_type_info_count, _sink_type_info,
    _sink_ids_of_names, _sink_invoke)])
_next_sink = [1]


class EventSink:
    """One connection from an object's connection point to its Python handlers (which the
    object keeps; the sink only knows the object weakly)."""

    def __init__(self, owner, cls):
        pointer = owner._ptr
        self.owner = weakref.ref(owner)
        self.number = _next_sink[0]
        _next_sink[0] += 1
        self.iid = cls.events_iid
        self.events = cls.events
        self.refs = 1
        self.cookie = 0
        self.point = None
        self.struct = _SinkObject(ctypes.cast(_SINK_VTABLE, c_void_p), self.number)
        _sinks[ctypes.addressof(self.struct)] = self
        container = com.query_interface(pointer, com.IID_IConnectionPointContainer)
        if not container:
            raise HostError(459, "Object does not source automation events")
        try:
            point = PV()
            check(com.method(container, 4, HRESULT, _IID, POINTER(PV))(container, byref(self.iid), byref(point)))
        finally:
            com.release(container)
        self.point = point.value
        cookie = c_uint32()
        check(com.method(self.point, 5, HRESULT, c_void_p, POINTER(c_uint32))(
            self.point, ctypes.addressof(self.struct), byref(cookie)))
        self.cookie = cookie.value

    def deliver(self, dispid, params):
        owner = self.owner()
        handlers = owner._handlers.get(dispid) if owner is not None else None
        if not handlers:
            return
        if not any(takes for _, takes in handlers):  # nobody reads the arguments, none changes
            for handler, _ in list(handlers):
                handler()
            return
        name, names = self.events.get(dispid, ("event %d" % dispid, []))
        params = params[0]
        count = params.cArgs
        raw = [params.rgvarg[count - 1 - i] for i in range(count)]
        args = EventArgs(name, names + ["arg%d" % i for i in range(len(names), count)],
                         [values.from_variant(v) for v in raw])
        for handler, takes in list(handlers):
            if takes:
                handler(args)
            else:
                handler()
        for place in sorted(args._changed):
            v = raw[place]
            if not v.vt & com.VT_BYREF:
                raise TypeError("argument %s of %s is passed by value" % (args._names[place], name))
            values.write_reference(v, args._values[place])

    def disconnect(self):
        if self.point:
            com.method(self.point, 6, HRESULT, c_uint32)(self.point, self.cookie)
            com.release(self.point)
            self.point = None
        # Our own reference: the sink goes once the library has let go of it too.
        _sink_release(ctypes.addressof(self.struct))


def _takes_arguments(handler):
    try:
        sig = inspect.signature(handler)
    except (TypeError, ValueError):
        return True
    for p in sig.parameters.values():
        if p.kind in (p.POSITIONAL_ONLY, p.POSITIONAL_OR_KEYWORD, p.VAR_POSITIONAL):
            return True
    return False


# ---- Wrapping pointers ----

def class_info(pointer):
    """The class of an object, read from its type information once per class."""
    info = PV()
    check(com.method(pointer, 4, HRESULT, c_uint, c_uint32, POINTER(PV))(pointer, 0, 0, byref(info)))
    try:
        name = ti.type_name(info.value)
        known = _classes.get(name)
        if known is None:
            cls = ti.read_class(info.value)
            known = _classes[name] = (cls, _python_class(cls))
        return known
    finally:
        com.release(info.value)


_special = {}  # type name -> Python class for objects with more than members (the form)


def _python_class(cls):
    base = _special.get(cls.name, Dispatch)
    doc = cls.describe()
    return type(cls.name.lstrip("_"), (base,), {"__slots__": (), "__doc__": doc, "__module__": "zorvaxp"})


def wrap(pointer):
    """A Python object for an IDispatch pointer whose reference it takes over."""
    try:
        cls, pyclass = class_info(pointer)
    except BaseException:
        com.release(pointer)
        raise
    obj = object.__new__(pyclass)
    Dispatch.__init__(obj, pointer, cls)
    return obj


def dispatch_of(value):
    if isinstance(value, Dispatch):
        return value._ptr
    other = getattr(value, "_as_parameter_of_zorvaxp", None)
    return other() if other is not None else None


values.wrap = wrap
values.dispatch_of = dispatch_of
