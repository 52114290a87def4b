# shellcheck shell=bash
# shellcheck disable=SC2034,SC2154  # constants for the tests; kE2eTools, kPython, ... of lib.sh
# Helpers of the end-to-end tests of capturing, on top of lib.sh (source lib.sh first): the
# program's controls found by their texts (ctlprobe), the status bar readout, dialogs and
# message boxes, drags, and the checks of captured pictures against winprobe's backdrop
# pattern (tools/capture_pixels.py).

readonly kAppTitle='Snapvane 1.1'  # also the caption of the program's message boxes
readonly kCapturePixels=$kE2eTools/capture_pixels.py
# Beside winprobe.exe in the build folder.
CTLPROBE=${CTLPROBE:-${WINPROBE%/*}/ctlprobe.exe}

CtlProbe() { "$WINE" "$CTLPROBE" "$@"; }

# StartCapturePair: the program started, both windows showing; ends the test when it does not
# start.
StartCapturePair() {
  StartPair
  # The first paint of both windows, before anyone looks at them.
  sleep 0.5
}

# Readout: the frame readout, panel 1 of the control panel's status bar.
Readout() {
  local SB_TEXT=
  eval "$(CtlProbe sbtext "$kPanel" 1)" || return 1
  printf '%s\n' "$SB_TEXT"
}

# ExpectedReadout L T W H: the readout for a frame window at L,T of size W x H.
ExpectedReadout() { echo "x: $1, y: $2  |  width: $(($3 - 12)), height: $(($4 - 12))"; }

# FindCtl TEXT [CLASS] [N]: sets CTL_* (screen place, CTL_ENABLED, CTL_TEXT) of a visible
# control of the control panel.
FindCtl() { eval "$(CtlProbe ctl "$kPanel" "${2:-*}" "$1" "${3:-0}")" && [[ $CTL_HWND != 0x0 ]]; }

# EnabledStates TEXT...: whether the visible controls of the control panel with these texts
# are enabled, as "1 0 ..." ("-" where there is none).
EnabledStates() {
  local ENABLED=
  eval "$(CtlProbe enabled "$kPanel" "$@")"
  echo "$ENABLED"
}

# ClickCtl TEXT [CLASS]: clicks the middle of a visible control of the control panel.
ClickCtl() {
  FindCtl "$@" || { Fail "control \"$1\" found on the control panel"; return 1; }
  Click "$CTL_CX" "$CTL_CY"
}

# ClickTab TEXT: clicks a tab of the control panel (page or sub-page).
ClickTab() {
  local out
  out=$(CtlProbe tab "$kPanel" "$1") || { Fail "tab \"$1\" found"; return 1; }
  eval "$out"
  Click "$TAB_CX" "$TAB_CY"
  eval "$(CtlProbe tab "$kPanel" "$1")"
  [[ $TAB_SELECTED == 1 ]] || { Fail "tab \"$1\" chosen by a click"; return 1; }
}

# WaitDialog TITLE [MS]: until a dialog box of that title shows; sets DLG_* (DLG_TEXT: its
# static texts, one a line; DLG_BUTTONS: its buttons' captions, "|" between them).
WaitDialog() {
  local out
  out=$(CtlProbe dialog "$1" "${2:-10000}") || return 1
  eval "$out"
}

# WaitNoDialog TITLE [MS]: until no dialog box of that title shows.
WaitNoDialog() { CtlProbe nodialog "$1" "${2:-10000}" >/dev/null; }

# WaitQuestion TITLE [MS]: until the dialog box of that title asks a question (a box it owns);
# sets DLG_* of that box.
WaitQuestion() {
  local out
  out=$(CtlProbe question "$1" "${2:-10000}") || return 1
  eval "$out"
}

# TypeText TEXT: typed key by key as a person would, whatever its characters: xdotool puts a
# character that the keyboard map lacks (Cyrillic, CJK, an emoji) on a spare key for the
# stroke, and Wine turns it into the character (the locale of the environment is UTF-8). Each
# such stroke changes the keyboard map, which Wine reads again before the next key: faster
# than 60 ms a key, keys are lost. Plain ASCII goes at the usual pace.
TypeText() {
  local delay=15
  LC_ALL=C grep -q '[^ -~]' <<<"$1" && delay=60
  xdotool type --delay "$delay" -- "$1"
  sleep "$kInputPause"
}

# ReadClipboard FILE: the clipboard's bitmap as a native X program pastes it.
ReadClipboard() { timeout 5 xclip -selection clipboard -t image/bmp -o >"$1" 2>>"$E2E_DIR/xclip.err"; }
# EmptyClipboard: nothing on the clipboard, so that a copy that did not happen is not taken for
# one (the clipboard outlives the program: another run may have put the same picture there).
EmptyClipboard() { CtlProbe emptyclip || Fail "the clipboard is emptied"; }

# ---- places of the layout ----------------------------------------------------------------
# Where the control panel's layout puts the controls that a test clicks or looks at, in
# client pixels of the page (or window) that holds them at 96 dpi, the screen's here:
# "left top width height" (0 where the layout leaves a size to the control).
declare -rA kPlaces=(
  [Minimize]='478 59 87 17'  # of the control panel's client area
  [Label3]='16 24 0 0' [Capture]='16 104 185 30' [SimplePanel]='213 9 337 185'
  [Panel2]='480 8 73 17'
  [StartButton]='8 64 137 33' [CountPanel]='259 1 281 161'
  [Play]='24 24 41 41' [Stop]='80 24 41 41' [Browse]='178 142 64 21' [RegPanel]='259 1 281 163'
  [VrAnimate1]='20 20 65 65' [EmailAddress]='80 150 0 0' [httpAddress]='88 174 0 0' [Memo1]='311 11 233 180'
)

# PageAt NAME TEXT [CLASS]: PAGE_X, PAGE_Y, where the page (or window) that holds the windowed
# control NAME has its client area's corner on the screen, found from that control's window
# (by its TEXT, ctlprobe's "*" for any).
PageAt() {
  local left top
  FindCtl "$2" "${3:-*}" || { Fail "control \"$2\" ($1) found on the control panel"; return 1; }
  read -r left top _ <<<"${kPlaces[$1]}"
  PAGE_X=$((CTL_X - left)) PAGE_Y=$((CTL_Y - top))
}

# Place NAME: PLACE_X PLACE_Y PLACE_W PLACE_H, where the control NAME lies on the screen on the
# page of the last PageAt, and its middle PLACE_CX PLACE_CY.
Place() {
  local left top width height
  read -r left top width height <<<"${kPlaces[$1]}"
  PLACE_X=$((PAGE_X + left)) PLACE_Y=$((PAGE_Y + top)) PLACE_W=$width PLACE_H=$height
  PLACE_CX=$((PLACE_X + width / 2)) PLACE_CY=$((PLACE_Y + height / 2))
}

# ClickPlace NAME [DX DY]: a click on the middle of the control NAME of the page of the last
# PageAt, or DX, DY into it (for a label, whose size is its text's).
ClickPlace() {
  Place "$1"
  if (($# > 1)); then Click $((PLACE_X + $2)) $((PLACE_Y + $3)); else Click "$PLACE_CX" "$PLACE_CY"; fi
}

# ---- message boxes and the save dialog -------------------------------------------------

# CheckMessage WHAT TEXT [TITLE] [MS]: a message box of that title (the program's by default)
# shows TEXT within MS (8 s); Enter closes it. Its DLG_* stay for more checks.
CheckMessage() {
  local title=${3:-$kAppTitle}
  if WaitDialog "$title" "${4:-8000}"; then
    CheckEq "$1" "$2" "$DLG_TEXT"
    Keys Return
    WaitNoDialog "$title" 3000 || Fail "Enter closes the message box \"$title\""
  else
    Fail "$1" "no message box \"$title\""
    LogWindows
    return 1
  fi
}

# NoMessageBox WHAT TAB TAB_BACK: the program shows no message box (an error, or the series'
# "Warning"), also none that what was done before is still to bring: the control panel first
# takes a click on the tab TAB and one on TAB_BACK, the page it was on (a box of the program
# would hold the panel, and a handler still running would see the clicks only after it), and
# only then no box is there.
NoMessageBox() {
  local title
  if ! ClickTab "$2" || ! ClickTab "$3"; then
    Fail "$1: the control panel answers"
    return 1
  fi
  for title in "$kAppTitle" Warning; do
    if WaitDialog "$title" 0; then
      Fail "$1" "a message box \"$title\": $DLG_TEXT"
      Keys Return
      return 1
    fi
  done
  Ok "$1"
}

# SaveAs NAME [BUTTON]: OpenSaveDialog BUTTON, then NameInSaveDialog NAME.
SaveAs() { OpenSaveDialog "${2:-&Save}" && NameInSaveDialog "$1"; }

# OpenSaveDialog [BUTTON]: the save dialog opened by the save button BUTTON ("&Save" by default;
# keys such as alt+s press them instead).
OpenSaveDialog() {
  local opener=${1:-&Save}
  if [[ $opener == alt+* ]]; then
    Keys "$opener"
  else
    ClickCtl "$opener" || return 1
  fi
  WaitDialog 'Save As' 10000 || { Fail "$opener opens the save dialog"; LogWindows; return 1; }
  sleep 0.3
}

# NameInSaveDialog NAME: NAME typed into the open save dialog's file name box (clicked first:
# the dialog does not always put the keyboard there), as it shows there, then Enter.
NameInSaveDialog() {
  eval "$(CtlProbe ctl 'Save As' Edit '*' 0)"
  Click "$CTL_CX" "$CTL_CY"
  Keys ctrl+a
  TypeText "$1"
  eval "$(CtlProbe ctl 'Save As' Edit '*' 0)"
  CheckEq "the save dialog's file name box shows the name as typed" "$1" "$CTL_TEXT"
  Keys Return
}

# ---- the frame and what the screen shows ---------------------------------------------

# MoveFrame DX DY: the frame moved by DX, DY (CTRL+drag on its top band); sets WIN_* of it.
MoveFrame() {
  WinInfo "$kFrame"
  xdotool keydown ctrl
  Drag $((WIN_X + 100)) $((WIN_Y + 2)) $((WIN_X + 100 + $1)) $((WIN_Y + 2 + $2))
  xdotool keyup ctrl
  sleep 0.3
  WinInfo "$kFrame"
}

# RaisesFrame WHAT COMMAND...: with a window of another program over the frame (the red band's
# corner no longer shows on the screen), COMMAND brings the frame above it: the corner shows.
RaisesFrame() {
  local what=$1
  shift
  WinInfo "$kFrame"
  ShowCover $((WIN_X - 20)) $((WIN_Y - 20)) $((WIN_W + 40)) $((WIN_H + 40)) || Fail "$what: a window covers the frame"
  [[ $(_BandCorner covered) == "255 0 0" ]] && Fail "$what: the covering window hides the frame" "the band still shows"
  "$@"
  sleep 0.5
  CheckEq "$what" "255 0 0" "$(_BandCorner raised)"
  CloseCover
}
_BandCorner() { Pixel "$(Screenshot "band-$1-$SECONDS")" $((WIN_X + 2)) $((WIN_Y + 2)); }

# AnimationMoves X Y W H: the screen there shows more than one picture in eight screenshots one
# after another (well over a second; an animation steps every 150 ms).
AnimationMoves() {
  local i
  MoveAway
  for ((i = 0; i < 8; i++)); do import -window root -crop "${3}x$4+$1+$2" rgb:- | md5sum; done |
    sort -u | wc -l | grep -qvx 1
}

# CheckSaved WHAT PATH: PATH is written (within 10 s) and holds the capture of CW x CH from OX,
# OY of the backdrop.
CheckSaved() {
  if WaitFile "$2" 10; then
    Check "$1" CapturePixels file "$2" "$CW" "$CH" "$OX" "$OY"
  else
    Fail "$1" "not written: $(ls -la "${2%/*}")"
    LogWindows
  fi
}

# NothingWithin PATH SECONDS: PATH does not appear within that time.
NothingWithin() {
  local i
  for ((i = 0; i < $2 * 10; i++)); do
    [[ -e $1 ]] && return 1
    sleep 0.1
  done
}

# Wine's notepad: another program in use beside Snapvane.
readonly kNotepad='Untitled - Notepad'

# StartNotepad X Y W H: notepad started and put there (without being activated); fails when
# it does not show.
StartNotepad() {
  "$WINE" notepad.exe </dev/null >>"$E2E_DIR/notepad.log" 2>&1 &
  Track $!
  WaitWin "$kNotepad" visible 20000 >/dev/null || return 1
  Probe move "$kNotepad" "$@" && sleep 0.3
}

# ClickIntoNotepad: a click into notepad's text, which makes it the program in use.
ClickIntoNotepad() {
  eval "$(CtlProbe ctl "$kNotepad" Edit '*' 0)" && [[ $CTL_HWND != 0x0 ]] || return 1
  Click $((CTL_X + CTL_W - 20)) $((CTL_Y + CTL_H - 20))
}

# NotepadText: what notepad's text holds.
NotepadText() {
  local CTL_TEXT=
  eval "$(CtlProbe ctl "$kNotepad" Edit '*' 0)"
  printf '%s\n' "$CTL_TEXT"
}

# MoveAway: the pointer off the program's windows, so no tooltip or hover covers a screenshot.
MoveAway() {
  xdotool mousemove 1200 900
  sleep "$kInputPause"
}

# Drag X0 Y0 X1 Y1 [BUTTON]: press, move there in steps, release (the system's move and size
# loop follows the steps).
Drag() {
  local x0=$1 y0=$2 x1=$3 y1=$4 button=${5:-1} s
  xdotool mousemove "$x0" "$y0"
  sleep "$kInputPause"
  xdotool mousedown "$button"
  sleep "$kInputPause"
  for s in 1 2 3 4 5 6; do
    xdotool mousemove $((x0 + (x1 - x0) * s / 6)) $((y0 + (y1 - y0) * s / 6))
    sleep 0.1
  done
  sleep "$kInputPause"
  xdotool mouseup "$button"
  sleep 0.4
}

# WaitFile PATH [SECONDS]: until the file exists and its size has stopped changing.
WaitFile() {
  local file=$1 tenths=$((${2:-10} * 10)) i size last=-1
  for ((i = 0; i < tenths; i++)); do
    if [[ -f $file ]]; then
      size=$(stat -c %s "$file")
      [[ $size == "$last" ]] && return 0
      last=$size
    fi
    sleep 0.1
  done
  return 1
}

# WinPath PATH: the Windows name of a Unix path (drive Z: is the root).
WinPath() { printf 'Z:%s\n' "${1//\//\\}"; }

# CapturePixels ...: tools/capture_pixels.py (see its help).
CapturePixels() { "$kPython" "$kCapturePixels" "$@"; }

# BrowseTo LINK DEPTH: Browse, and in the folder browser the folder LINK (in /tmp) or, DEPTH
# levels under it, each level the only folder of the one above; OK with Enter.
BrowseTo() {
  local level
  ClickCtl 'Browse...'
  if ! WaitDialog 'Browse for Folder' 5000; then
    Fail "Browse opens the folder browser"
    LogWindows
    return 1
  fi
  CheckEq "Browse opens the folder browser titled \"Select folder\"" "Select folder" "$DLG_TEXT"
  sleep 0.4
  # The OK button has the focus; Shift+Tab goes to the tree: Desktop, its first child "/".
  Keys shift+Tab
  Keys Home
  Keys Down
  Keys Right
  sleep 0.5
  xdotool type --delay 30 tmp
  sleep 0.3
  Keys Right
  sleep 0.8
  xdotool type --delay 30 "${1#/tmp/}"
  sleep 0.4
  for ((level = 0; level < $2; level++)); do
    Keys Right  # opens the folder
    sleep 0.6
    Keys Right  # its first folder
    sleep 0.3
  done
  Keys Return
  WaitNoDialog 'Browse for Folder' 3000 || { Fail "the folder browser closes"; Keys Escape; }
}

# The backdrop of ShowBackdrop runs in a background subshell, so lib.sh's end of test stops the
# subshell but not winprobe under it, and the window would stay up for its whole lifetime over
# the next tests: closed here by its title at the end of the test.
_CaptureFinish() {
  local i
  for ((i = 0; i < 5; i++)); do
    Probe close 'winprobe backdrop' >/dev/null 2>&1 || break
    sleep 0.2
  done
  _E2eFinish
}
trap _CaptureFinish EXIT
