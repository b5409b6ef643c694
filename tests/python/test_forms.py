"""Forms from Python: built in code, loaded from form files, driven by input on the virtual
clock, saved, and drawn exactly as zorvaxp-render draws them."""
import os
import subprocess

import pytest

import zorvaxp as zx


def test_a_form_loaded_driven_and_saved_keeps_its_text(examples, tmp_path):
    first, second = tmp_path / "first.zxf", tmp_path / "second.zxf"
    zx.Form.load(examples / "buttons.zxf").save(first)  # the form file as the library writes it
    form = zx.Form.load(first)
    assert "cmdVista" in form.controls and len(form.controls) == 20
    clicks = []
    vista = form.controls["cmdVista"]
    vista.on("Click", lambda: clicks.append(1))
    zx.input.move(vista)
    zx.advance(100)  # hover polling runs on the clock
    zx.input.click()
    zx.input.key("Tab")
    zx.input.move(x=2000, y=2000)
    zx.advance(100)
    assert clicks == [1]
    form.save(second)
    assert second.read_text() == first.read_text()


def test_a_form_built_in_code_saves_what_was_set(tmp_path):
    form = zx.Form(caption="Built", width=4800, height=3600)
    ok = form.add("ZorvaXPButton", "cmdOK", left=360, top=360, width=1500, height=450)
    ok.Caption = "&OK"
    frame = form.add("ZorvaXPFrame", "fra", left=360, top=1000, width=3000, height=1500)
    form.add("ZorvaXPCheckBox", "chk", left=120, top=300, width=2000, height=300, container=frame)
    form.Caption = "Renamed"
    form.save(tmp_path / "built.zxf")
    text = (tmp_path / "built.zxf").read_text()
    assert 'Caption = String "&OK"' in text
    assert text.index("Begin ZorvaXPFrame fra") < text.index("Begin ZorvaXPCheckBox chk")
    again = zx.Form.load(tmp_path / "built.zxf")
    assert again.controls["cmdOK"].Caption == "&OK" and again.Caption == "Renamed"
    with pytest.raises(zx.HostError) as duplicate:
        form.add("ZorvaXPButton", "cmdOK")
    assert duplicate.value.number == 5
    with pytest.raises(zx.HostError) as unknown:
        form.add("NoSuchControl", "x")
    assert unknown.value.number == 429


def test_bad_form_files_are_host_errors_with_the_line(tmp_path):
    with pytest.raises(zx.HostError) as missing:
        zx.Form.load(tmp_path / "absent.zxf")
    assert missing.value.number == 53
    bad = tmp_path / "bad.zxf"
    bad.write_text("ZorvaXP Form 1\nBegin Form Form1\n  Begin NoSuchClass x\n  End\nEnd\n")
    with pytest.raises(zx.HostError) as malformed:
        zx.Form.load(bad)
    assert malformed.value.number == 321
    assert malformed.value.description.startswith(str(bad) + ":3: ")


def test_the_render_matches_zorvaxp_render(examples, tmp_path):
    render = os.environ.get("ZXP_RENDER")
    if not render:
        pytest.skip("ZXP_RENDER names no zorvaxp-render (ctest sets it)")
    for name in ("buttons.zxf", "toggles.zxf"):
        theirs, ours = tmp_path / ("theirs-" + name + ".png"), tmp_path / ("ours-" + name + ".png")
        subprocess.run([render, str(examples / name), "--out", str(theirs)], check=True, capture_output=True)
        form = zx.Form.load(examples / name)
        form.render(ours)
        assert ours.read_bytes() == theirs.read_bytes(), name


def test_pixels_follow_what_the_controls_draw():
    form = zx.Form(caption="Pixels", width=3000, height=1500)
    label = form.add("ZorvaXPLabel", "lbl", left=0, top=0, width=1500, height=750)
    label.Caption = ""
    x, y = 50, 40  # inside the label, below the form's caption bar
    label.GradientColor1 = zx.rgb(255, 0, 0)
    label.GradientColor2 = zx.rgb(255, 0, 0)
    assert form.pixel(x, y) == 0xFF0000  # pixels are 0xRRGGBB
    label.GradientColor1 = zx.rgb(0, 0, 255)
    label.GradientColor2 = zx.rgb(0, 0, 255)
    assert form.pixel(x, y) == 0x0000FF
    assert form.pixel(0, y) != 0x0000FF  # the form's frame
    with pytest.raises(IndexError):
        form.pixel(10000, 10)


def test_run_returns_at_once_without_a_display():
    form = zx.Form()
    assert zx.run() is False
    del form


def test_a_form_its_user_closed_refuses_calls_and_crashes_nothing():
    form = zx.Form(caption="Close me", width=3000, height=1500)
    button = form.add("ZorvaXPButton", "cmd")
    clicks = []
    button.on("Click", lambda: clicks.append(1))
    form.pixel(0, 0)  # brought to the top and active: the keys go to it
    zx.input.key("F4", held=["Alt"])
    zx.advance(20)  # the form unloads once its messages are done
    with pytest.raises(zx.HostError) as gone:
        button.Caption
    assert gone.value.number == 91
    with pytest.raises(zx.HostError):
        form.add("ZorvaXPButton", "another")
    with pytest.raises(zx.HostError):
        zx.input.click(button)
    assert clicks == []
    del button  # its event connection went with the control: releasing touches nothing


def test_controls_by_name_place_and_in_order(tmp_path):
    form = zx.Form()
    names = ["cmdA", "lblB", "chkC"]
    for name, cls in zip(names, ["ZorvaXPButton", "ZorvaXPLabel", "ZorvaXPCheckBox"]):
        form.add(cls, name)
    controls = form.controls
    assert len(controls) == 3 and controls.names() == names
    assert [type(c).__name__ for c in controls] == ["ZorvaXPButton", "ZorvaXPLabel", "ZorvaXPCheckBox"]
    assert type(controls[-1]).__name__ == "ZorvaXPCheckBox" and "LBLB" in controls
    with pytest.raises(IndexError):
        controls[3]
    with pytest.raises(KeyError):
        controls["nothing"]
    with pytest.raises(zx.HostError) as unwritable:
        form.save(tmp_path / "no-such-folder" / "f.zxf")
    assert unwritable.value.number == 75
    with pytest.raises(ValueError):
        zx.input.key("NoSuchKey")
