"""Every kind of value crosses the dispatch interface and comes back as the same Python value;
what has no VARIANT is refused before any call."""
import datetime

import pytest

import zorvaxp as zx


def test_strings_numbers_and_booleans_round_trip(form):
    box = form.add("ZorvaXPTextBox", "txt")
    for text in ["", "plain", "Grüße, ☃ and 𝄞", 'quote " and tab\t']:
        box.Text = text
        assert box.Text == text
    label = form.add("ZorvaXPLabel", "lbl")
    label.Caption = 12.5  # the host's conversion to String
    assert label.Caption == "12.5"
    button = form.add("ZorvaXPButton", "cmd")
    button.Enabled = False
    assert button.Enabled is False
    button.Enabled = 1  # a number is a Boolean to the host
    assert button.Enabled is True
    bar = form.add("ZorvaXPHScrollBar", "hsb")
    bar.Max = 1000
    bar.Value = 250
    assert bar.Value == 250 and isinstance(bar.Value, int)


def test_colours_are_ole_colours(form):
    button = form.add("ZorvaXPButton", "cmd")
    button.ForeColorNormal = zx.rgb(255, 0, 128)
    assert button.ForeColorNormal == 0x8000FF
    assert zx.Colour(button.ForeColorNormal).rgb == (255, 0, 128)
    with pytest.raises(ValueError):
        zx.rgb(256, 0, 0)


def test_dates_round_trip_to_the_second(form):
    picker = form.add("ZorvaXPDPicker", "dtp")
    picker.Value = datetime.date(2024, 2, 29)
    assert picker.Value == datetime.datetime(2024, 2, 29)
    picker.Value = datetime.date(1899, 12, 29)  # before the host's day 0
    assert picker.Value == datetime.datetime(1899, 12, 29)
    # The time of day goes along: the host writes the date it was given as text.
    grid = form.add("ZorvaXPListBox", "lst")
    grid.AddNewColumn("When")
    grid.AddItem("")
    grid.TextMatrix[1, 1] = datetime.datetime(2024, 2, 29, 13, 45, 10)
    assert grid.TextMatrix[1, 1] == "2/29/2024 1:45:10 PM"


def test_empty_none_and_arrays(form):
    grid = form.add("ZorvaXPListBox", "lst")
    grid.AddNewColumn("A")
    assert grid.AddItemsByArray(["a", "b", "c"]) is True
    assert [grid.TextMatrix[row, 1] for row in (1, 2, 3)] == ["a", "b", "c"]
    grid.AddItemsByArray(("d", 5, None))
    assert grid.ListCount == 6
    assert grid.TextMatrix[5, 1] == "5"


def test_fonts_and_pictures(form, tmp_path, examples):
    button = form.add("ZorvaXPButton", "cmd")
    button.Font = zx.Font("Tahoma", 12, bold=True)
    font = button.Font
    assert (font.Name, font.Size, font.Bold, font.Italic) == ("Tahoma", 12, True, False)
    assert button.Picture is None  # none yet
    # A picture from a file's bytes and from the file itself: a 2 x 1 BMP.
    bmp = (b"BM" + (62).to_bytes(4, "little") + bytes(4) + (54).to_bytes(4, "little") +
           (40).to_bytes(4, "little") + (2).to_bytes(4, "little") + (1).to_bytes(4, "little") +
           (1).to_bytes(2, "little") + (24).to_bytes(2, "little") + bytes(24) + bytes([0, 0, 255, 0, 255, 0, 0, 0]))
    button.Picture = zx.Picture(data=bmp)
    assert (button.Picture.Type, button.Picture.Width > 0) == (1, True)
    path = tmp_path / "pic.bmp"
    path.write_bytes(bmp)
    button.Picture = zx.Picture(str(path))
    assert button.Picture.Type == 1
    button.Picture = zx.Picture()  # the empty picture
    assert button.Picture is None
    with pytest.raises(zx.HostError) as bad:
        zx.Picture(data=b"no picture at all")
    assert bad.value.number == 481
    with pytest.raises(zx.HostError) as missing:
        zx.Picture(str(tmp_path / "absent.png"))
    assert missing.value.number == 53


def test_row_objects_travel_both_ways(form):
    grid = form.add("ZorvaXPListBox", "lst")
    grid.AddNewColumn("Name")
    grid.AddNewColumn("Size")
    row = zx.CreateObject("ZorvaXPProject.clsLItem")
    row.lvInitColumns(2)
    row.iCell[1] = "alpha"
    row.iCell[2] = "3"
    assert grid.AddItemEx(row) is True
    got = grid.Item[1]
    assert got.iCell[1] == "alpha" and got.iCell[2] == "3"
    got.iCell[2] = "4"  # the live row
    assert grid.TextMatrix[1, 2] == "4"


@pytest.mark.parametrize("value", [object(), b"bytes", {"a": 1}, {1, 2}, 1j, [1, object()]])
def test_values_without_a_variant_are_type_errors_before_the_call(form, value):
    label = form.add("ZorvaXPLabel", "lbl")
    label.Caption = "kept"
    with pytest.raises(TypeError):
        label.Caption = value
    assert label.Caption == "kept"


def _general_put(obj, name, value):
    """The put as any other call makes it: DISPPARAMS built in Python and Invoke."""
    from zorvaxp import _com as com
    from zorvaxp import _dispatch
    member = obj._member(name)
    _dispatch.invoke(obj._ptr, member.dispid, com.DISPATCH_PROPERTYPUT, (), ((com.DISPID_PROPERTYPUT, value),))


def _outcome(obj, name, value, put):
    try:
        put(obj, name, value)
    except zx.HostError as error:
        return ("refused", error.number)
    return ("set", getattr(obj, name))


# Texts, 32-bit integers, floats and Booleans take the library's quick put; its outcome, value or
# refusal, is the general call's for each kind and at each edge (integers just past 32 bits and
# enumeration members go the general way).
@pytest.mark.parametrize("prop,value", [
    ("Caption", "a\0b"), ("Caption", "lone \ud800 surrogate"), ("Caption", ""), ("Caption", 2 ** 31 - 1),
    ("Caption", -2 ** 31), ("Caption", 2 ** 31), ("Caption", 1e300), ("Caption", True),
    ("Enabled", "no boolean"), ("Enabled", 0.0), ("Enabled", 7), ("Enabled", False), ("Enabled", "True"),
    ("ButtonStyle", 2 ** 31 - 1), ("ButtonStyle", 1.5), ("ButtonStyle", "1"),
])
def test_the_quick_put_and_the_general_call_agree(form, prop, value):
    quick = form.add("ZorvaXPButton", "quick")
    general = form.add("ZorvaXPButton", "general")
    assert _outcome(quick, prop, value, setattr) == _outcome(general, prop, value, _general_put)
