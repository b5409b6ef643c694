"""The zorvaxp package against PyQt5 (offscreen) on the same operations, measured in one run:
setting a caption, calling a method with three arguments, and an event delivered to a Python
handler. Prints each time per operation and the ratio zorvaxp / PyQt (the goal: at most 2).

    QT_QPA_PLATFORM=offscreen PYTHONPATH=build /usr/bin/python3 bench/python/dispatch_vs_qt.py [COUNT]

Each figure is the best of five runs of COUNT operations (default 100 000). Not a test: speed is
measured, never asserted, so a loaded machine cannot fail a build."""
import ctypes
import os
import sys
import time

os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")

import zorvaxp as zx  # noqa: E402
from PyQt5 import QtWidgets  # noqa: E402

COUNT = int(sys.argv[1]) if len(sys.argv) > 1 else 100_000


def best(fn, runs=5):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        fn()
        times.append(time.perf_counter() - start)
    return min(times) / COUNT


class _Floor:
    """The least an attribute set can cost on ctypes: a Python __setattr__ that finds a dispatch id
    and makes one foreign call, here the library's quick put on a NULL object (refused at once)."""
    __slots__ = ()
    _ids = {"Caption": -518}

    def __setattr__(self, name, value):
        dispid = self._ids.get(name)
        if dispid is not None and type(value) is str:
            data = value.encode("utf-16-le")
            zx._com.PutText(None, dispid, data, len(data) >> 1, None)


def floors(texts):
    """What ctypes itself costs, with no work in the library: an attribute set that reaches one
    foreign call, and a foreign call that calls one Python handler back (libc's qsort of two
    elements, whose single comparison is the callback). Both are measured beside PyQt's figures to
    show how much of the 2x goal is left for the library."""
    floor = _Floor()

    def attribute_set():
        for t in texts:
            floor.Caption = t

    compare = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda a, b: 0)
    qsort = ctypes.CDLL(None).qsort
    qsort.argtypes = [ctypes.c_void_p, ctypes.c_size_t, ctypes.c_size_t, type(compare)]
    qsort.restype = None
    pair = (ctypes.c_int * 2)(1, 2)

    def callback():
        for _ in range(COUNT):
            qsort(pair, 2, 4, compare)

    return [("floor: attribute set reaching one ctypes call", attribute_set),
            ("floor: ctypes call calling one Python handler back", callback)]


def main():
    app = QtWidgets.QApplication([])
    window = QtWidgets.QWidget()
    qbutton = QtWidgets.QPushButton("x", window)
    qtable = QtWidgets.QTableWidget(3, 2, window)
    qitem = QtWidgets.QTableWidgetItem("z")
    qslider = QtWidgets.QSlider(window)
    qslider.setRange(0, 1 << 30)
    window.show()
    app.processEvents()

    form = zx.Form(caption="bench", width=6000, height=4500)
    button = form.add("ZorvaXPButton", "cmd")
    grid = form.add("ZorvaXPListBox", "lst", top=600, width=4000, height=2000)
    grid.AddNewColumn("A")
    for text in ("x", "y", "z"):
        grid.AddItem(text)
    bar = form.add("ZorvaXPHScrollBar", "hsb", top=3000, width=3000, height=300)
    bar.Max = 32000

    texts = ["Caption %d" % (i % 10) for i in range(COUNT)]

    def zx_caption():
        for t in texts:
            button.Caption = t

    def qt_caption():
        for t in texts:
            qbutton.setText(t)

    def zx_method():
        for _ in range(COUNT):
            grid.FindItem("z", 1, 3)

    def qt_method():
        for _ in range(COUNT):
            qtable.setItem(2, 1, qtable.takeItem(2, 1) or qitem)

    zx_hits, qt_hits = [0], [0]

    def zx_handler():
        zx_hits[0] += 1

    def qt_handler(value):
        qt_hits[0] += 1

    bar.on("Change", zx_handler)
    qslider.valueChanged.connect(qt_handler)

    def zx_event():
        for i in range(COUNT):
            bar.Value = 1 + (i & 16383)

    def qt_event():
        for i in range(COUNT):
            qslider.setValue(1 + (i & 16383))

    rows = [("set a caption", zx_caption, qt_caption),
            ("method with three arguments", zx_method, qt_method),
            ("event to a Python handler (value set + handler)", zx_event, qt_event)]
    print("%d operations each, best of 5 runs" % COUNT)
    print("%-50s %12s %12s %8s" % ("operation", "zorvaxp us", "PyQt5 us", "ratio"))
    for name, ours, theirs in rows:
        a, b = best(ours), best(theirs)
        print("%-50s %12.3f %12.3f %8.2f" % (name, a * 1e6, b * 1e6, a / b))
    for name, fn in floors(texts):
        print("%-50s %12.3f" % (name, best(fn) * 1e6))
    assert zx_hits[0] > 0 and qt_hits[0] > 0, "no event reached a handler"
    window.close()


if __name__ == "__main__":
    main()
