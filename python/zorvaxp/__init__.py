"""zorvaxp: the ZorvaXP controls from Python.

Everything goes through the library's component surface: objects are created through their
class factories, members are called by name through IDispatch as the type information lists
them, events arrive through connection points. No class has code of its own here: a member or a
control added to the library appears in Python at once.

    import zorvaxp as zx
    form = zx.Form(caption="Demo", width=4800, height=3600)
    ok = form.add("ZorvaXPButton", "cmdOK", left=360, top=360, width=1500, height=450)
    ok.Caption = "&OK"
    ok.ButtonStyle = zx.enums.ButtonStyleDType.Vista
    ok.on("Click", lambda: print("OK clicked"))
    zx.input.click(ok)
    form.render("demo.png")

The library is libzorvaxp.so beside this package (or in the folder above it), or the file that
ZORVAXP_LIBRARY names.
"""
import ctypes
import os
from ctypes import byref, c_int32, c_uint32

from . import _com as com
from . import _dispatch
from . import _typeinfo
from ._dispatch import BoundMember, Dispatch, EventArgs, _MISSING as Missing
from ._values import Colour, HostError, check, error_of, rgb

__all__ = ["Form", "Dispatch", "EventArgs", "HostError", "Colour", "rgb", "CreateObject", "Font", "Picture",
           "LoadPicture", "enums", "input", "advance", "run", "can_unload", "classes", "Missing"]

LIBRARY = com.LIBRARY_PATH
SERVER = "ZorvaXPProject"


def _encoded(text, what):
    if not isinstance(text, str):
        raise TypeError("%s must be a string" % what)
    return os.fsencode(text) if what == "path" else text.encode("utf-8")


def _path(p):
    return os.fsencode(os.fspath(p))


def _call_with_record(fn, *args):
    excep = com.EXCEPINFO()
    hr = fn(*args, byref(excep))
    _dispatch.raise_pending()
    if hr < 0:
        raise error_of(hr, excep)
    return hr


# ---- Classes and objects ----

_class_rows = None


def classes():
    """Every class of the type library: {name: (class identifier, creatable, control)}."""
    global _class_rows
    if _class_rows is None:
        _class_rows = {name: (clsid, bool(flags & com.TYPEFLAG_FCANCREATE), bool(flags & com.TYPEFLAG_FCONTROL))
                       for name, clsid, flags, _impl in _typeinfo.library_classes()}
    return _class_rows


def _class_name(prog_id):
    name = prog_id.split(".", 1)[1] if prog_id.lower().startswith(SERVER.lower() + ".") else prog_id
    for known in classes():
        if known.lower() == name.lower():
            return known
    raise HostError(429, "ActiveX component can't create object: no class %r" % prog_id)


def CreateObject(prog_id):
    """A new object of any creatable class, by program identifier ("ZorvaXPProject.clsLItem")
    or class name, through the class's factory. A control made this way sits on a small form of
    its own; Form.add places one on a form of yours."""
    name = _class_name(prog_id)
    clsid, creatable, _control = classes()[name]
    factory = com.PV()
    hr = com.DllGetClassObject(byref(clsid), byref(com.IID_IClassFactory), byref(factory))
    if hr < 0 or not creatable:
        raise HostError(429, "ActiveX component can't create object: %s" % prog_id)
    try:
        out = com.PV()
        create = com.method(factory.value, 3, com.HRESULT, com.PV, ctypes.POINTER(com.GUID), ctypes.POINTER(com.PV))
        check(create(factory.value, None, byref(com.IID_IDispatch), byref(out)))
    finally:
        com.release(factory.value)
    return _dispatch.wrap(out.value)


def Font(name="MS Sans Serif", size=8.25, bold=False, italic=False, underline=False, strikethrough=False):
    """A font object, for Font properties."""
    out = com.PV()
    check(com.FontCreate(_encoded(name, "name"), float(size), bool(bold), bool(italic), bool(underline),
                         bool(strikethrough), byref(out)))
    return _dispatch.wrap(out.value)


def Picture(source=None, data=None):
    """A picture object, for Picture properties: from an image file's path, or from its bytes
    (data=...). Neither gives the empty picture. HostError 53 for a missing file, 481 for bytes
    that are no picture."""
    if source is not None and data is not None:
        raise TypeError("a picture comes from a file or from bytes, not both")
    if isinstance(source, (bytes, bytearray, memoryview)):
        data, source = bytes(source), None
    if source is not None:
        try:
            with open(source, "rb") as f:
                data = f.read()
        except FileNotFoundError:
            raise HostError(53, "File not found: %s" % os.fspath(source))
    data = data or b""
    out = com.PV()
    _call_with_record(com.PictureLoad, data, len(data), byref(out))
    return _dispatch.wrap(out.value)


LoadPicture = Picture


# ---- Forms ----

class Controls:
    """A form's controls (containers' contents included) in the order they were added: by name
    (controls["cmdOK"]), by place, in a for loop; len() counts them."""

    def __init__(self, form):
        self._form = form

    def __len__(self):
        count = c_int32()
        check(com.FormControlCount(self._form._ptr, byref(count)))
        return count.value

    def _at(self, place):
        out, name = com.PV(), com.PV()
        check(com.FormControlAt(self._form._ptr, place, byref(out), byref(name)))
        return com.take_bstr(name.value), _dispatch.wrap(out.value)

    def names(self):
        return [self._at(i)[0] for i in range(len(self))]

    def __iter__(self):
        return iter([self._at(i)[1] for i in range(len(self))])

    def __contains__(self, name):
        return any(n.lower() == name.lower() for n in self.names())

    def __getitem__(self, key):
        if isinstance(key, int):
            count = len(self)
            if not -count <= key < count:
                raise IndexError("the form has %d controls" % count)
            return self._at(key % count)[1]
        for i, n in enumerate(self.names()):
            if n.lower() == key.lower():
                return self._at(i)[1]
        raise KeyError("the form has no control %r" % key)


class Form(Dispatch):
    """A form: a window holding controls. Form(caption=..., width=..., height=...) makes an
    empty one (sizes in twips, 15 to the pixel); Form.load(path) reads a form file. The form's
    own properties (Caption, BackColor, ForeColor, Font, ScaleWidth, ScaleHeight) are reached by
    name like any object's."""

    __slots__ = ()

    def __new__(cls, caption="", width=4800, height=3600, _pointer=None, _cls=None):
        return object.__new__(cls)

    def __init__(self, caption="", width=4800, height=3600, _pointer=None, _cls=None):
        if _pointer is None:
            out = com.PV()
            _call_with_record(com.FormCreate, _encoded(caption, "caption"), int(width), int(height), byref(out))
            _pointer = out.value
            try:
                _cls = _dispatch.class_info(_pointer)[0]
            except BaseException:
                com.release(_pointer)
                raise
        Dispatch.__init__(self, _pointer, _cls)

    @classmethod
    def load(cls, path):
        """Reads a form file. HostError 53 for a missing file, 321 ("path:line: what") for a
        malformed one."""
        out = com.PV()
        _call_with_record(com.FormLoad, _path(path), byref(out))
        return _dispatch.wrap(out.value)

    def save(self, path):
        """Writes the form file (each control writes its properties)."""
        _call_with_record(com.FormSave, self._ptr, _path(path))

    def add(self, class_name, name, left=0, top=0, width=1500, height=450, container=None):
        """Places a new control (class name or program identifier) on the form, or inside a
        container control of it; places and sizes in twips."""
        out = com.PV()
        parent = _dispatch.dispatch_of(container) if container is not None else None
        _call_with_record(com.FormAddControl, self._ptr, _encoded(class_name, "class"), _encoded(name, "name"),
                          int(left), int(top), int(width), int(height), parent, byref(out))
        return _dispatch.wrap(out.value)

    @property
    def controls(self):
        return Controls(self)

    def render(self, path):
        """Writes the form's window, frame included, as it shows now, to a PNG file."""
        _call_with_record(com.FormRender, self._ptr, _path(path))

    def pixel(self, x, y):
        """The colour (0xRRGGBB) of a pixel of the form's window, from its top-left corner."""
        out = c_uint32()
        hr = com.FormPixel(self._ptr, int(x), int(y), byref(out))
        if hr == com.E_INVALIDARG:
            raise IndexError("(%d, %d) is outside the form's window" % (x, y))
        check(hr)
        return out.value

    @property
    def hwnd(self):
        return input._window(self)


_dispatch._special["_Form"] = Form


# ---- Enumerations ----

class _Enumerations:
    """The type library's enumerations by name (zx.enums.ButtonStyleDType.Vista). A property's
    name also finds its enumeration when every class that has that property uses the same one
    (zx.enums.ButtonStyle)."""

    def __init__(self):
        self._by_name = None

    def _load(self):
        if self._by_name is None:
            found = dict(_typeinfo.all_enumerations())
            by_property = {}
            for cls_name, (clsid, _c, _k) in classes().items():
                info = _typeinfo.default_interface(clsid)
                if not info:
                    continue
                try:
                    members = _typeinfo.read_class(info).members
                finally:
                    com.release(info)
                for m in members.values():
                    if m.enum is not None:
                        by_property.setdefault(m.name, set()).add(m.enum._name)
            aliases = {prop: found[next(iter(names))] for prop, names in by_property.items()
                       if len(names) == 1 and prop not in found}
            self._by_name = {**aliases, **found}
        return self._by_name

    def __getattr__(self, name):
        if name.startswith("_"):
            raise AttributeError(name)
        try:
            return self._load()[name]
        except KeyError:
            raise AttributeError("the type library has no enumeration %r" % name) from None

    def __dir__(self):
        return sorted(self._load())


enums = _Enumerations()


# ---- Input, time and the loop ----

class _Input:
    """The platform's input, as a user gives it: the pending events are processed after each
    step, so a test reads like a user's actions."""

    _KEYS = {"f4": 115, "f10": 121, "backspace": 8, "tab": 9, "enter": 13, "return": 13, "shift": 16, "control": 17, "ctrl": 17,
             "alt": 18, "escape": 27, "esc": 27, "space": 32, "pageup": 33, "pagedown": 34, "end": 35,
             "home": 36, "left": 37, "up": 38, "right": 39, "down": 40, "insert": 45, "delete": 46}
    _BUTTONS = {"left": 1, "right": 2, "middle": 4, 1: 1, 2: 2, 4: 4}

    def _window(self, target):
        hwnd = c_uint32()
        pointer = _dispatch.dispatch_of(target)
        if pointer is None:
            raise TypeError("input goes to a form or a control of the library")
        if com.WindowOf(pointer, byref(hwnd)) < 0:
            raise HostError(91, "Object variable or With block variable not set (%r has no window now)" % target)
        return hwnd.value

    def _done(self, hr):
        _dispatch.raise_pending()
        check(hr)

    def move(self, target=None, x=None, y=None):
        """Moves the cursor: to a control's (or form's) centre, to a point of its client area
        (move(ctl, x, y)), or to a screen point (move(x=..., y=...))."""
        if target is None:
            self._done(com.InputMoveTo(0, int(x), int(y)))
        elif x is None:
            self._done(com.InputMoveToWindow(self._window(target)))
        else:
            self._done(com.InputMoveTo(self._window(target), int(x), int(y)))

    def press(self, button="left"):
        self._done(com.InputButton(self._BUTTONS[button], 1))

    def release(self, button="left"):
        self._done(com.InputButton(self._BUTTONS[button], 0))

    def click(self, target=None, button="left"):
        """A click at the cursor, or at a control's centre."""
        if target is not None:
            self.move(target)
        if button == "left":
            self._done(com.InputClick())
        else:
            self.press(button)
            self.release(button)

    def _code(self, key):
        if isinstance(key, str):
            vk = self._KEYS.get(key.lower())
            if vk is None and len(key) == 1 and key.isalnum():
                vk = ord(key.upper())
            if vk is None:
                raise ValueError("no key named %r" % key)
            return vk
        return int(key)

    def key(self, key, held=()):
        """A key down and up: a virtual key code, a letter or digit, or a name ("Enter", "Tab",
        "Escape", "Left", "F4", ...), with keys held around it (key("F4", held=["Alt"]))."""
        held = [self._code(k) for k in held]
        code = self._code(key)
        for k in held:
            self._done(com.InputKeyState(k, 1))
        try:
            self._done(com.InputKey(code))
        finally:
            for k in reversed(held):
                self._done(com.InputKeyState(k, 0))

    def type_text(self, text):
        """Types text into the control that has the focus, key by key."""
        self._done(com.InputType(_encoded(text, "text")))


input = _Input()


def advance(ms):
    """Lets ms milliseconds pass on the library's clock; timers fire as they come due."""
    if ms < 0:
        raise ValueError("time only goes forward")
    hr = com.InputAdvance(int(ms))
    _dispatch.raise_pending()
    check(hr)


def run():
    """Runs the forms in a desktop window until the last one closes, when a display exists;
    without one it processes what is pending and returns at once. True after a live session."""
    hr = com.Run()
    _dispatch.raise_pending()
    check(hr)
    return hr == com.S_OK


def can_unload():
    """Whether the library holds no object any more (every object released)."""
    return com.DllCanUnloadNow() == com.S_OK
