"""The zorvaxp package against PyQt5 (offscreen) on the same operations, measured in one run:
setting a caption, calling a method with three arguments, and an event delivered to a Python
handler. Prints each time per operation and the ratio zorvaxp / PyQt (the goal: at most 2).

    QT_QPA_PLATFORM=offscreen PYTHONPATH=build /usr/bin/python3 bench/python/dispatch_vs_qt.py [COUNT]

Each figure is the best of five runs of COUNT operations (default 100 000). Not a test: speed is
measured, never asserted, so a loaded machine cannot fail a build."""
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
    assert zx_hits[0] > 0 and qt_hits[0] > 0, "no event reached a handler"
    window.close()


if __name__ == "__main__":
    main()
