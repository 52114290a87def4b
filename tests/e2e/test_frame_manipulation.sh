#!/bin/bash
# Placing the capture frame as a person does: the pointer's shape over each part of the band,
# CTRL+drag on the band (also on the grip) moves the frame by the mouse's way, drags on the
# right edge, the bottom edge and the grip resize it with any mouse button, presses without
# exactly CTRL on the left or top band do nothing, the frame shows its new size only, it stops
# at 15 x 15, and the readout in the control panel's status bar follows all of it.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/lib_capture.sh
source "$(dirname "$0")/lib_capture.sh"

# The pointer over a point of the frame: its cursor, as X shows it (Wine shows the system
# cursors as the theme's named cursors). Two small moves, so that the frame sees the pointer
# arrive.
CursorAt() {
  xdotool mousemove "$1" "$2"
  sleep 0.15
  xdotool mousemove $(($1 + 1)) "$2"
  sleep 0.3
  "$kPython" "$kE2eTools/xcursor.py"
}

# CheckCursor WHAT X Y NAME...: the cursor over X,Y is one of the names.
CheckCursor() {
  local what=$1 x=$2 y=$3 name seen
  shift 3
  seen=$(CursorAt "$x" "$y")
  for name in "$@"; do
    [[ $seen == "$name" ]] && { Ok "$what ($seen)"; return; }
  done
  Fail "$what" "expected one of: $*" "actual:   $seen"
}

# CheckFrame WHAT X Y W H: the frame window's place and size, and the readout showing them.
CheckFrame() {
  WinInfo "$kFrame"
  CheckEq "$1: frame at $2,$3 of $4 x $5" "$2,$3 $4x$5" "$WIN_X,$WIN_Y ${WIN_W}x$WIN_H"
  CheckEq "$1: the readout shows it" "$(ExpectedReadout "$2" "$3" "$4" "$5")" "$(Readout)"
}

readonly kSizeWe=(h_double_arrow sb_h_double_arrow ew-resize size_hor col-resize)
readonly kSizeNs=(v_double_arrow sb_v_double_arrow ns-resize size_ver row-resize)
readonly kSizeNwse=(top_left_corner bottom_right_corner bd_double_arrow size_fdiag nwse-resize)
readonly kSizeAll=(fleur size_all move all-scroll)
readonly kArrow=(left_ptr default arrow top_left_arrow)

readonly gBackdropX=690 gBackdropY=60
ShowBackdrop "$gBackdropX" "$gBackdropY" 580 440 120 || Fail "backdrop window shows"
StartCapturePair

WinInfo "$kFrame"
x=$WIN_X y=$WIN_Y w=$WIN_W h=$WIN_H
CheckEq "the readout at start shows the frame's place and the capture size" \
  "$(ExpectedReadout "$x" "$y" "$w" "$h")" "$(Readout)"

# ---- the pointer's shape over each zone ------------------------------------------------
CheckCursor "cursor over the right band: left-right arrow" $((x + w - 3)) $((y + 90)) "${kSizeWe[@]}"
CheckCursor "cursor over the bottom band: up-down arrow" $((x + 120)) $((y + h - 3)) "${kSizeNs[@]}"
CheckCursor "cursor over the grip: diagonal arrow" $((x + w - 3)) $((y + h - 3)) "${kSizeNwse[@]}"
CheckCursor "cursor over the bottom band 12 px from the corner: diagonal arrow" $((x + w - 12)) $((y + h - 3)) \
  "${kSizeNwse[@]}"
CheckCursor "cursor over the top band: the arrow" $((x + 120)) $((y + 3)) "${kArrow[@]}"
xdotool keydown ctrl
sleep 0.2
CheckCursor "cursor over the top band with CTRL held: four-headed arrow" $((x + 120)) $((y + 3)) "${kSizeAll[@]}"
CheckCursor "cursor over the grip with CTRL held: four-headed arrow" $((x + w - 3)) $((y + h - 3)) "${kSizeAll[@]}"
xdotool keyup ctrl
sleep 0.2
# CTRL pressed on the focused frame with the pointer elsewhere: the four-headed arrow in the
# client areas of the program's windows, but not over a title bar. A click on the top band,
# which does nothing else, gives the frame the focus.
Click $((x + 120)) $((y + 3))
WinInfo "$kPanel"
xdotool mousemove $((WIN_CLIENT_X + 420)) $((WIN_CLIENT_Y + 30))
sleep 0.2
xdotool keydown ctrl
sleep 0.2
CheckCursor "CTRL on the frame, the pointer over the control panel's header: four-headed arrow" \
  $((WIN_CLIENT_X + 421)) $((WIN_CLIENT_Y + 30)) "${kSizeAll[@]}"
eval "$(Probe nchit "$kPanel" caption)"
CheckCursor "CTRL on the frame, the pointer over the control panel's title bar: the arrow" "$HIT_X" "$HIT_Y" \
  "${kArrow[@]}"
xdotool keyup ctrl
sleep 0.2

# ---- CTRL+drag moves ----------------------------------------------------------------------
xdotool keydown ctrl
Drag $((x + 150)) $((y + 3)) $((x + 150 + 48)) $((y + 3 + 36))
xdotool keyup ctrl
sleep 0.2
WinInfo "$kFrame"
CheckEq "CTRL+drag on the top band moves the frame by the mouse's way (48, 36)" \
  "$((x + 48)),$((y + 36)) ${w}x$h" "$WIN_X,$WIN_Y ${WIN_W}x$WIN_H"
# The readout follows each step of the move with the place before that step (the system's
# WM_MOVING announces a step before it is done), and nothing follows the last step: after the
# drag it shows a place on the way, short of the end (which one depends on how many of the
# mouse's steps the system took one by one).
readout=$(Readout)
if [[ $readout =~ ^x:\ (-?[0-9]+),\ y:\ (-?[0-9]+)\ \ \|\ \ width:\ $((w - 12)),\ height:\ $((h - 12))$ ]] &&
  ((BASH_REMATCH[1] > x && BASH_REMATCH[1] < x + 48 && BASH_REMATCH[2] > y && BASH_REMATCH[2] < y + 36)); then
  Ok "the readout followed the move up to a step before the end ($readout)"
else
  Fail "the readout followed the move up to a step before the end" \
    "expected: x between $x and $((x + 48)), y between $y and $((y + 36)), both ends left out" "actual:   $readout"
fi
x=$WIN_X y=$WIN_Y

xdotool keydown ctrl
Drag $((x + w - 3)) $((y + h - 3)) $((x + w - 3 - 24)) $((y + h - 3 + 18))
xdotool keyup ctrl
sleep 0.2
WinInfo "$kFrame"
CheckEq "CTRL+drag on the grip moves the frame, it does not resize it" \
  "$((x - 24)),$((y + 18)) ${w}x$h" "$WIN_X,$WIN_Y ${WIN_W}x$WIN_H"
x=$WIN_X y=$WIN_Y

# ---- presses that do nothing ------------------------------------------------------------
Drag $((x + 3)) $((y + 90)) $((x + 3 + 40)) $((y + 90 + 20))
Drag $((x + 150)) $((y + 3)) $((x + 150 + 40)) $((y + 3 + 20))
WinInfo "$kFrame"
CheckEq "without CTRL a drag on the left or the top band does nothing" "$x,$y ${w}x$h" \
  "$WIN_X,$WIN_Y ${WIN_W}x$WIN_H"
xdotool keydown ctrl shift
Drag $((x + 150)) $((y + 3)) $((x + 150 + 40)) $((y + 3 + 20))
xdotool keyup ctrl shift
sleep 0.2
WinInfo "$kFrame"
CheckEq "CTRL+SHIFT is not CTRL: a drag on the top band does nothing" "$x,$y ${w}x$h" "$WIN_X,$WIN_Y ${WIN_W}x$WIN_H"

# ---- resizing, with each of the three buttons -------------------------------------------
# The system's size loop, which the press hands over to, ends when the left button goes up or
# at Enter or Esc (Wine's loop, as Windows' own): after a drag with another button the frame
# follows the mouse until then, so Enter ends it there.
Drag $((x + w - 3)) $((y + 90)) $((x + w - 3 + 40)) $((y + 90 + 25))
CheckFrame "drag on the right band: wider by 40, as high as before" "$x" "$y" $((w + 40)) "$h"
w=$((w + 40))
Drag $((x + 120)) $((y + h - 3)) $((x + 120 + 25)) $((y + h - 3 - 30)) 2
Keys Return
CheckFrame "middle-button drag on the bottom band, then Enter: 30 lower, as wide as before" "$x" "$y" "$w" $((h - 30))
h=$((h - 30))
Drag $((x + w - 3)) $((y + h - 3)) $((x + w - 3 + 30)) $((y + h - 3 + 44)) 3
Keys Return
CheckFrame "right-button drag on the grip, then Enter: resized both ways" "$x" "$y" $((w + 30)) $((h + 44))
w=$((w + 30)) h=$((h + 44))

# A quick second press of a button comes to the window as a double-click; it starts the
# resize as a first press does. The first press is on the top band 7 px from the right, where
# no zone is, the second a moment later one pixel further right, in the right edge's zone.
for button in 3 2; do
  xdotool mousemove $((x + w - 7)) $((y + 4))
  sleep 0.15
  xdotool mousemove $((x + w - 7)) $((y + 3))
  sleep 0.15
  xdotool click "$button"
  sleep 0.08
  xdotool mousemove $((x + w - 6)) $((y + 3))
  sleep 0.08
  xdotool mousedown "$button"
  sleep 0.15
  for s in 1 2 3 4 5 6; do
    xdotool mousemove $((x + w - 6 + 4 * s)) $((y + 3))
    sleep 0.1
  done
  sleep "$kInputPause"
  xdotool mouseup "$button"
  sleep 0.3
  Keys Return
  CheckFrame "a quick second press of button $button on the band resizes as the first would" "$x" "$y" $((w + 24)) "$h"
  WinInfo "$kFrame"
  w=$WIN_W
done

MoveAway
sleep 0.3
shot=$(Screenshot resized)
Check "the frame shows its band and grip at the new size only, the window below through its inside" \
  FramePixels "$shot" "$x" "$y" "$w" "$h" "$gBackdropX" "$gBackdropY"

# ---- the smallest frame -------------------------------------------------------------------
Drag $((x + w - 3)) $((y + h - 3)) $((x - 60)) $((y - 60))
CheckFrame "the grip dragged far up and left stops at the smallest frame" "$x" "$y" 15 15
