"""A form built in code: two buttons and a check box, a click handler, a click through the
platform's input, and the form saved and rendered (build_form.zxf, build_form.png here)."""
import zorvaxp as zx

form = zx.Form(caption="Built in Python", width=4800, height=2400)
ok = form.add("ZorvaXPButton", "cmdOK", left=360, top=360, width=1500, height=450)
ok.Caption = "&OK"
ok.ButtonStyle = zx.enums.ButtonStyle.Vista
cancel = form.add("ZorvaXPButton", "cmdCancel", left=2040, top=360, width=1500, height=450)
cancel.Caption = "Cancel"
cancel.ButtonStyle = zx.enums.ButtonStyle.XP
check = form.add("ZorvaXPCheckBox", "chkRemember", left=360, top=1080, width=3000, height=300)
check.Caption = "Remember me"

clicks = []


@ok.on("Click")
def clicked():
    clicks.append("OK")
    check.Value = 1


zx.input.click(ok)
assert clicks == ["OK"], clicks
form.save("build_form.zxf")
form.render("build_form.png")
zx.run()  # a live window when a display exists; returns at once headless
print("clicked:", clicks, "- wrote build_form.zxf and build_form.png")
