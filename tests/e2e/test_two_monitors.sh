#!/bin/bash
# Two monitors side by side, as a person with a second screen has them: a frame moved across
# the boundary captures exactly what lies under it on both monitors, and a frame partly off
# every screen (below the smaller second monitor) captures without an error what lies under
# it on the monitor, and black below it.
#
# The screens: a nested X server (Xephyr) on the test display with two screens joined by
# Xinerama, 1280 x 1024 and 1280 x 800 side by side, and RandR left out so that Wine reads
# the monitors from Xinerama. Wine runs there without its virtual desktop (which is one
# monitor), in a prefix of its own copied from the test's.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/lib_capture.sh
source "$(dirname "$0")/lib_capture.sh"

readonly kLeftW=1280 kLeftH=1024 kRightW=1280 kRightH=800

# ---- the two screens and a prefix of their own ---------------------------------------------
command -v Xephyr >/dev/null || { Fail "Xephyr is installed (scripts/setup.sh)"; exit 1; }
: >"$E2E_DIR/display"
Xephyr -displayfd 3 -screen "${kLeftW}x$kLeftH" -screen "${kRightW}x$kRightH" +xinerama -extension RANDR \
  -nolisten tcp -noreset 3>"$E2E_DIR/display" </dev/null >"$E2E_DIR/xephyr.log" 2>&1 &
Track $!
for _ in $(seq 100); do [[ -s $E2E_DIR/display ]] && break; sleep 0.1; done
[[ -s $E2E_DIR/display ]] || { Fail "the nested X server with two screens starts" "$(cat "$E2E_DIR/xephyr.log")"; exit 1; }
DISPLAY=:$(tr -d '[:space:]' <"$E2E_DIR/display")
export DISPLAY

export WINEPREFIX=$E2E_DIR/prefix
cp -a "${WINE_ENV_ROOT:-$kE2eRoot/build/wine}/template-$SNAPVANE_WINE_ARCH" "$WINEPREFIX" ||
  { Fail "a prefix of its own is made"; exit 1; }
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\n"ShowCrashDialog"=dword:00000000\n\n' \
  >"$E2E_DIR/two.reg"
"$WINE" regedit /S "$(WinPath "$E2E_DIR/two.reg")" </dev/null >/dev/null 2>&1
# Everything of this prefix ends with its own wineserver, at the end of the test.
_TwoMonitorsFinish() {
  "$WINESERVER" -k 2>/dev/null
  _CaptureFinish
}
trap _TwoMonitorsFinish EXIT

eval "$(Probe monitors)"
CheckEq "Wine sees two monitors side by side" "2 0,0,${kLeftW}x$kLeftH ${kLeftW},0,${kRightW}x$kRightH" \
  "$MONITOR_COUNT $MONITORS"

# ---- a frame across the boundary ------------------------------------------------------------
# Under both places of the frame below: across the boundary, and down to the second monitor's
# bottom.
readonly gBackdropX=1000 gBackdropY=60
ShowBackdrop "$gBackdropX" "$gBackdropY" 900 $((kRightH - 60)) || Fail "backdrop window shows across the boundary"
StartCapturePair
sleep 1
WinInfo "$kFrame"
# Without a window manager no window has the keyboard until it is clicked: a click on the
# frame's top band, which does nothing else, gives it the keyboard, and so the CTRL key.
Click $((WIN_X + 100)) $((WIN_Y + 3))
# CTRL+drag on the top band, to 1130: the frame from 1130 to 1466, across 1280.
MoveFrame $((1130 - WIN_X)) 20
Screenshot across >/dev/null
if ((WIN_X < kLeftW && WIN_X + WIN_W > kLeftW)); then
  Ok "the frame lies across the boundary ($WIN_X..$((WIN_X + WIN_W)))"
else
  Fail "the frame lies across the boundary" "$(WinLine "$kFrame")"
fi
CW=$((WIN_W - 12)) CH=$((WIN_H - 12)) OX=$((WIN_X + 6 - gBackdropX)) OY=$((WIN_Y + 6 - gBackdropY))
ClickCtl '&Capture bitmap'
sleep 0.3
ClickCtl 'C&opy'
sleep 0.3
ReadClipboard "$E2E_DIR/across.bmp"
Check "the capture holds what lies under the frame on both monitors, pixel for pixel" \
  CapturePixels file "$E2E_DIR/across.bmp" "$CW" "$CH" "$OX" "$OY"

# ---- a frame partly off every screen ---------------------------------------------------------
# Below the second monitor, which is lower than the first: the lower part of the capture lies
# on no screen.
WinInfo "$kFrame"
MoveFrame $((1500 - WIN_X)) $((kRightH - 100 - WIN_Y))
if ((WIN_X >= kLeftW && WIN_Y + WIN_H > kRightH)); then
  Ok "the frame lies partly below the second monitor ($WIN_X,$WIN_Y ${WIN_W}x$WIN_H)"
else
  Fail "the frame lies partly below the second monitor" "$(WinLine "$kFrame")"
fi
CW=$((WIN_W - 12)) CH=$((WIN_H - 12)) OX=$((WIN_X + 6 - gBackdropX)) OY=$((WIN_Y + 6 - gBackdropY))
ClickCtl '&Capture bitmap'
NoMessageBox "a capture partly off every screen raises no error" 'Advanced capturing' 'Simple capturing'
ClickCtl 'C&opy'
sleep 0.3
ReadClipboard "$E2E_DIR/off.bmp"
# The program neither clips the area nor fills what lies beyond the screens: it takes what the
# copy from the screen gives there, black (X holds no pixels beyond its screens).
Check "... and the picture holds what lies under the frame on the monitor, pixel for pixel, black below it" \
  CapturePixels file "$E2E_DIR/off.bmp" "$CW" "$CH" "$OX" "$OY" $((kRightH - WIN_Y - 6))

# Alt+F4 on the control panel (a click on its header gives it the keyboard): without a window
# manager the caption buttons are Wine's own drawing, which this test is not about.
ClickClient "$kPanel" 420 30
Keys alt+F4
if WaitSnapvaneExit 10; then
  Ok "closing the control panel ends the program"
else
  Fail "closing the control panel ends the program" "$(WinLine "$kPanel")"
  StopSnapvane
fi
exit 0
