#!/bin/sh
# A scripted session with the live designer on a real X display (Xvfb), driven from outside by
# xdotool as a person would: one control of each family drawn on the form, a property set in the
# panel, Save As, New, Open, F5 run and F5 stop, Save. The saved file must hold the controls and
# the property; saving after the run must write the same bytes. Exit 77 (skipped) when Xvfb or
# xdotool is missing.
# usage: xsession.sh DESIGNER WORKDIR
set -u
designer=$1
work=$2
command -v Xvfb >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1 || { echo "no Xvfb or xdotool: skipped"; exit 77; }
rm -rf "$work" && mkdir -p "$work" || exit 1
fail() { echo "xsession: $*"; [ -f "$work/designer.log" ] && cat "$work/designer.log"; exit 1; }

# A display of our own; the designer fills it less its frame allowance (1384 x 852). -noreset:
# by default the server resets whenever its last client leaves (each xdotool call is one), and a
# program connecting during the reset is refused, so SDL would quietly pick its offscreen driver.
display=":$(( 70 + $$ % 200 ))"
Xvfb "$display" -screen 0 1400x900x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill $designer_pid $xvfb 2>/dev/null' EXIT
designer_pid=
for _ in $(seq 50); do DISPLAY=$display xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
export DISPLAY=$display
unset SDL_VIDEODRIVER

"$designer" --landmarks 1384 852 >"$work/landmarks" || fail "no landmarks"
at() { awk -v k="$1" '$1 == k { print $2, $3 }' "$work/landmarks"; }
"$designer" >"$work/designer.log" 2>&1 &
designer_pid=$!
# Polled rather than `search --sync`: a window that comes and goes while xdotool walks the tree
# (the backend's own start-up windows) makes xdotool fail with BadWindow; the next look succeeds.
win=
for _ in $(seq 150); do
  win=$(xdotool search --name "ZorvaXP designer" 2>/dev/null | head -1)
  [ -n "$win" ] && break
  kill -0 "$designer_pid" 2>/dev/null || fail "the designer exited before showing its window"
  sleep 0.1
done
[ -n "$win" ] || fail "no window"
xdotool windowfocus "$win" 2>/dev/null
sleep 0.5

# Waits (up to 15 s, for a loaded machine) until a file exists and its time differs from $2.
written() {
  for _ in $(seq 150); do
    [ -f "$1" ] && [ "$(stat -c %y "$1")" != "$2" ] && return 0
    sleep 0.1
  done
  return 1
}
click() { xdotool mousemove --window "$win" $1 click 1; sleep 0.25; }
set -- $(at form); fx=$1; fy=$2
# draw CLASS X1 Y1 X2 Y2 (form pixels): pick the tool, drag the rectangle.
draw() {
  click "$(at "tool:$1")"
  xdotool mousemove --window "$win" $((fx + $2)) $((fy + $3)) mousedown 1
  sleep 0.1
  xdotool mousemove --window "$win" $((fx + ($2 + $4) / 2)) $((fy + ($3 + $5) / 2))
  sleep 0.1
  xdotool mousemove --window "$win" $((fx + $4)) $((fy + $5)) mouseup 1
  sleep 0.3
}
draw ZorvaXPButton 220 10 300 36
draw ZorvaXPFrame 10 10 200 120
draw ZorvaXPLabel 220 50 380 80
draw ZorvaXPSpin 220 90 320 112
draw ZorvaXPDPicker 10 140 160 164
draw ZorvaXPListBox 10 180 300 300
draw ZorvaXPStatusBar 10 320 470 345

# The button's caption through the property panel.
click "$((fx + 260)) $((fy + 23))"
click "$(at property:Caption)"
xdotool key End
for _ in $(seq 24); do xdotool key BackSpace; done
xdotool type --delay 30 "Saved OK"
xdotool key Return
sleep 0.3

file="$work/session.zxf"
click "$(at path)"
xdotool type --delay 10 "$file"
click "$(at button:cmdSaveAs)"
written "$file" none || fail "Save As wrote nothing"
for c in ZorvaXPButton1 ZorvaXPFrame1 ZorvaXPLabel1 ZorvaXPSpin1 ZorvaXPDPicker1 ZorvaXPListBox1 ZorvaXPStatusBar1; do
  grep -q "Begin [A-Za-z]* $c\$" "$file" || fail "$c is not in the file"
done
grep -q 'Caption = String "Saved OK"' "$file" || fail "the caption set in the panel is not in the file"
cp "$file" "$work/first.zxf"

# New, then Open the file again, run it and stop, and save: the same bytes.
click "$(at button:cmdNew)"
click "$(at path)"
xdotool type --delay 10 "$file"
click "$(at button:cmdOpen)"
sleep 0.5
xdotool key F5
sleep 1
xdotool key F5
sleep 0.5
before=$(stat -c %y "$file")
click "$(at button:cmdSave)"
written "$file" "$before" || fail "Save wrote nothing"
cmp -s "$file" "$work/first.zxf" || fail "saving after open, run and stop changed the file"
kill "$designer_pid" 2>/dev/null
wait "$designer_pid" 2>/dev/null
echo "xsession: 1 passed, 0 failed"
exit 0
