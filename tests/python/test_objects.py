"""Classes, members by name, errors, events and lifetime through the dispatch interface."""
import gc
import hashlib
import pydoc
import weakref

import pytest

import zorvaxp as zx


def test_every_creatable_class_is_created_described_and_released():
    made = 0
    for name, (_clsid, creatable, control) in zx.classes().items():
        if not creatable or name.startswith("pPage"):  # property pages answer no IDispatch
            continue
        obj = zx.CreateObject("ZorvaXPProject." + name)
        assert type(obj).__name__ == name
        assert [m for m in dir(obj) if m[0].isupper() or m[0] == "z" or m[0] == "i"], name
        del obj
        made += 1
    assert made == 21  # 18 controls, GZorva, clsFileSystemObj, clsLItem
    gc.collect()
    assert zx.can_unload()
    with pytest.raises(zx.HostError) as page:
        zx.CreateObject("ZorvaXPProject.pPageLabel")
    assert page.value.number == 430
    with pytest.raises(zx.HostError) as unknown:
        zx.CreateObject("ZorvaXPProject.NoSuchClass")
    assert unknown.value.number == 429


def test_dropping_the_last_reference_releases_the_object():
    form = zx.Form()
    button = form.add("ZorvaXPButton", "cmd")
    gone = weakref.ref(form)
    del form  # the control keeps its form alive in the library
    button.Caption = "alive"
    assert button.Caption == "alive"
    assert not zx.can_unload()
    del button
    gc.collect()
    assert gone() is None and zx.can_unload()


def test_named_optional_and_parameter_array_arguments(form):
    grid = form.add("ZorvaXPListBox", "lst")
    grid.AddNewColumn("A")
    grid.AddNewColumn("B")
    for text in ["x\tB", "y\tB", "z\tB"]:
        grid.AddItem(text)  # nine optional arguments left out
    assert grid.FindItem("y", iStartRowIndex=2) == 2  # the column left out
    assert grid.FindItem("z", 1, 3) == 3
    assert grid.FindItem("z", iStartRowIndex=3, iColumnIndex=1) == 3
    assert grid.FindItem("z", zx.Missing, 3) == 3  # left out in place
    assert grid.FindItem("y", 1, 3) == -1
    grid.AddItemsByParamArray("p", "q")
    assert grid.ListCount == 5 and grid.TextMatrix[5, 1] == "q"
    with pytest.raises(TypeError):
        grid.FindItem("B", iNoSuchParameter=1)
    with pytest.raises(zx.HostError) as few:
        grid.FindItem()
    assert few.value.number == 450


def test_indexed_properties(form):
    tabs = form.add("ZorvaXPHookTab", "tab", width=4000, height=2500)
    assert tabs.TabsCount >= 3
    tabs.TabCaption[2] = "Renamed"
    assert tabs.TabCaption[2] == "Renamed"
    assert tabs.TabCaption(2) == "Renamed"
    with pytest.raises(TypeError):
        tabs.TabCaption = "not indexed"


def test_a_control_answers_its_sites_place_size_visibility_and_name(form):
    ok = form.add("ZorvaXPButton", "cmdOK", left=360, top=360, width=1500, height=450)
    ok.Caption = "OK"
    # A point inside the button (client 24..124 x 24..54, the window's frame before that).
    x, y = 74 + 3, 30 + 29
    background, face = form.pixel(x - 60, y), form.pixel(x, y)
    assert face != background
    assert (ok.Left, ok.Top, ok.Width, ok.Name) == (360, 360, 1500, "cmdOK")
    ok.Left = 1800
    ok.top = 900  # any case
    assert (ok.Left, ok.Top) == (1800, 900)
    # The button moved 96 by 36 pixels: its face is there now, the form's background here.
    assert (form.pixel(x + 96, y + 36), form.pixel(x, y)) == (face, background)
    ok.Visible = False
    assert ok.Visible is False
    with pytest.raises(zx.HostError):
        ok.Name = "other"  # read-only
    with pytest.raises(AttributeError):
        ok.NoSuchMember
    # The status bar's own Visible is per panel, and stays so.
    bar = form.add("ZorvaXPStatusBar", "sb")
    assert bar.Visible[1] in (True, False)


def test_refusals_are_host_errors_with_number_and_description(form):
    button = form.add("ZorvaXPButton", "cmd")
    with pytest.raises(zx.HostError) as mismatch:
        button.Enabled = "not a boolean"
    assert (mismatch.value.number, mismatch.value.description) == (13, "Type mismatch")
    grid = form.add("ZorvaXPListBox", "lst")
    with pytest.raises(zx.HostError) as out_of_range:
        grid.Item[99]
    assert (out_of_range.value.number, out_of_range.value.description) == (9, "Subscript out of range")
    assert "clsLItem" in out_of_range.value.source or "ListBox" in out_of_range.value.source
    with pytest.raises(AttributeError):
        button.NoSuchMember
    with pytest.raises(AttributeError):
        button.RedrawMe = 1  # a method
    button.Caption = "still works"
    assert button.Caption == "still works"


def test_dir_and_help_come_from_the_type_information(form):
    grid = form.add("ZorvaXPListBox", "lst")
    names = dir(grid)
    assert {"AddItem", "FindItem", "TextMatrix", "GridLines"} <= set(names)
    text = pydoc.render_doc(grid, renderer=pydoc.plaintext)
    assert "FindItem(iFindString, [iColumnIndex], [iStartRowIndex])" in text
    assert "TextMatrix[" in text and "GridLines" in text
    assert grid.FindItem.__doc__ == "FindItem(iFindString, [iColumnIndex], [iStartRowIndex])"


def test_enumerations_from_the_type_information(form):
    assert zx.enums.ButtonStyleDType.Vista == 0 and zx.enums.ButtonStyleDType.XP == 1
    assert zx.enums.ButtonStyle is zx.enums.ButtonStyleDType  # by the property that uses it
    assert zx.enums.PicSizeDtype.IMG_16X16 == 16 and zx.enums.PicSizeDtype["IMG 16X16"] == 16
    assert zx.enums.LGLBoth if hasattr(zx.enums, "LGLBoth") else True
    button = form.add("ZorvaXPButton", "cmd")
    button.ButtonStyle = zx.enums.ButtonStyle.XP
    assert button.ButtonStyle == 1
    with pytest.raises(AttributeError):
        zx.enums.NoSuchEnumeration


def test_events_reach_python_handlers(form):
    button = form.add("ZorvaXPButton", "cmd", left=300, top=300)
    seen = []

    @button.on("Click")
    def clicked():
        seen.append("Click")

    button.on("MouseDown", lambda e: seen.append(("MouseDown", e.Button, e.event)))
    zx.input.click(button)
    assert seen[0][:2] == ("MouseDown", 1) and seen[-1] == "Click"
    button.off("Click")
    seen.clear()
    zx.input.click(button)
    assert "Click" not in seen
    with pytest.raises(AttributeError):
        button.on("NoSuchEvent", clicked)


def test_by_reference_arguments_are_writable_from_handlers(form):
    box = form.add("ZorvaXPTextBox", "txt", width=3000, height=400)

    @box.on("KeyPress")
    def upper(e):
        if ord("a") <= e.KeyAscii <= ord("z"):
            e.KeyAscii = e.KeyAscii - 32
        elif e.KeyAscii == ord("-"):
            e.KeyAscii = 0  # swallowed

    box.Text = ""
    zx.input.click(box)
    zx.input.type_text("ab-c")
    assert box.Text == "ABC"


def test_a_handler_error_is_raised_in_the_caller(form):
    button = form.add("ZorvaXPButton", "cmd")
    button.on("Click", lambda: 1 / 0)
    with pytest.raises(ZeroDivisionError):
        zx.input.click(button)
    button.Caption = "after"
    assert button.Caption == "after"


def test_non_visual_classes(tmp_path):
    files = zx.CreateObject("ZorvaXPProject.clsFileSystemObj")
    path = tmp_path / "a.txt"
    path.write_text("hello")
    assert files.FileExists(str(path)) is True
    assert files.FileExists(str(tmp_path / "absent")) is False
    g = zx.CreateObject("GZorva")
    text = "Grüße"
    assert g.zGZorva_MD5(text) == hashlib.md5(text.encode("cp1252")).hexdigest().upper()


def test_handlers_may_call_the_object_while_its_call_is_under_way(form):
    bar = form.add("ZorvaXPHScrollBar", "hsb", width=3000, height=300)
    bar.Max = 100
    seen = []
    bar.on("Change", lambda: seen.append((bar.Value, bar.Max)))
    bar.Value = 42  # the put is still in the library while the handler reads
    assert seen == [(42, 100)]


def test_an_object_whose_handler_uses_it_is_released_when_dropped():
    form = zx.Form()
    bar = form.add("ZorvaXPHScrollBar", "hsb")
    bar.on("Change", lambda: bar.Value)  # the handler holds its own object
    bar.Value = 3
    del bar, form
    gc.collect()
    assert zx.can_unload()


def test_numbers_out_of_a_property_range_overflow(form):
    bar = form.add("ZorvaXPHScrollBar", "hsb")
    with pytest.raises(zx.HostError) as overflow:
        bar.Max = 2 ** 40  # passed as a 64-bit number: too big for the property's Long
    assert overflow.value.number == 6
    with pytest.raises(OverflowError):
        bar.Max = 2 ** 70


def test_classes_are_found_by_program_identifier_or_name_in_any_case():
    assert type(zx.CreateObject("zorvaxpproject.clslitem")).__name__ == "clsLItem"
    assert type(zx.CreateObject("clsFileSystemObj")).__name__ == "clsFileSystemObj"
