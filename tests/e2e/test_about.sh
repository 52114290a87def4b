#!/bin/bash
# The About page as a person meets it: the help text, the animation that a click stops and the
# next click starts again (its hint saying what a click will do), the e-mail and web addresses
# that a click opens through the shell, each in the program registered for such addresses,
# and the space key, which does nothing there.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/lib_capture.sh
source "$(dirname "$0")/lib_capture.sh"

readonly kHelpLines=(
  'Snapvane is a simple but '
  'powerful screen capture device. It '
  'consist of to parts; one main form '
  'and one red border. Everything '
  'within the red border will be '
  'captured. To move the border push '
  'and hold CTRL and drag on the red '
  'area of the border. To resize it use '
  'the right side, the bottom or the '
  'bottomright corner of the border. '
  'Use the "Simple capturing" page for '
  'easy capturing. Look in "Advanced '
  'capturing" for more features. '
  'Hitting space also captures selected '
  'area. The "Minimize this" button '
  'minimizes only main form, not the '
  'red border. Go to the '
  'forum/guestbook on the website if '
  'you have other questions. '
  ''
  'Good luck!'
)
readonly kEmail=snapvane@tolvard.example kWeb=http://www.tolvard.example/snapvane

# ---- a program for mail and web addresses that records what it is given -------------------
# The shell opens an address with the command registered for its scheme (HKCR\mailto,
# HKCR\http); in the test's prefix that is winprobe's recorder instead of Wine's browser.
gOpened=$E2E_DIR/opened.txt
{
  printf 'REGEDIT4\n\n'
  for scheme in mailto http; do
    # @="\"Z:\\...\\winprobe.exe\" record \"Z:\\...\\opened.txt\" \"%1\"", as a .reg file writes it.
    printf '[HKEY_CLASSES_ROOT\\%s\\shell\\open\\command]\n@="\\"%s\\" record \\"%s\\" \\"%%1\\""\n\n' "$scheme" \
      "$(WinPath "$WINPROBE" | sed 's/\\/\\\\/g')" "$(WinPath "$gOpened" | sed 's/\\/\\\\/g')"
  done
} >"$E2E_DIR/recorder.reg"
"$WINE" regedit /S "$(WinPath "$E2E_DIR/recorder.reg")" </dev/null >/dev/null 2>&1

StartCapturePair
# The series' page as the sub-page of "Advanced capturing": there the space key would press
# Play, and with no file name Play says so at once.
ClickTab 'Advanced capturing'
ClickTab 'Capture regularily'
ClickTab 'About'
PageAt Memo1 '*' Edit || exit 1
helpText=$(printf '%s\r\n' "${kHelpLines[@]}")
CheckEq "the help text, line by line" "${helpText%$'\r'}" "$CTL_TEXT"

# ---- the space key does nothing here ---------------------------------------------------
WinInfo "$kPanel"
CheckEq "the control panel has the keyboard" 1 "$WIN_FOREGROUND"
Keys space
NoMessageBox "the space key on About presses nothing (Play would ask for a file name)" 'Advanced capturing' \
  'Simple capturing'
CheckEq "... and captures nothing" "0 0 0" "$(EnabledStates 'C&opy' '&Save' '&Print')"
ClickTab 'About'

# ---- the animation ---------------------------------------------------------------------
# HintOf NAME: the hint that the status bar shows with the pointer over the control (it moves
# there in two steps, so that the panel sees it arrive).
HintOf() {
  local SB_TEXT=
  Place "$1"
  xdotool mousemove $((PLACE_X + 6)) $((PLACE_Y + 6))
  sleep 0.15
  xdotool mousemove $((PLACE_X + 8)) $((PLACE_Y + 7))
  sleep 0.3
  eval "$(CtlProbe sbtext "$kPanel" 0)"
  printf '%s\n' "$SB_TEXT"
}

Place VrAnimate1
animation="$PLACE_X $PLACE_Y $PLACE_W $PLACE_H"
CheckEq "the animation's hint: \"Stop\"" Stop "$(HintOf VrAnimate1)"
# shellcheck disable=SC2086  # the area's four numbers
Check "the animation runs" AnimationMoves $animation
ClickPlace VrAnimate1
CheckEq "a click on it: its hint says \"Play\"" Play "$(HintOf VrAnimate1)"
# shellcheck disable=SC2086
if AnimationMoves $animation; then Fail "... and it stands still"; else Ok "... and it stands still"; fi
ClickPlace VrAnimate1
CheckEq "the next click: its hint says \"Stop\" again" Stop "$(HintOf VrAnimate1)"
# shellcheck disable=SC2086
Check "... and it runs again" AnimationMoves $animation

# ---- the addresses -----------------------------------------------------------------------
# OpenLink WHAT NAME HINT ADDRESS: the pointer over the link shows HINT in the status bar, a
# click opens ADDRESS in the program registered for it.
OpenLink() {
  local what=$1 i
  CheckEq "$what: the status bar says where it leads" "$3" "$(HintOf "$2")"
  rm -f "$gOpened"
  ClickPlace "$2" 10 6
  for ((i = 0; i < 100; i++)); do
    [[ -s $gOpened ]] && break
    sleep 0.1
  done
  CheckEq "$what: a click opens the address in the program registered for it" "$4" "$(cat "$gOpened" 2>/dev/null)"
}
OpenLink "the e-mail address" EmailAddress "Send an e-mail to $kEmail" "mailto:$kEmail"
OpenLink "the web address" httpAddress "Visit $kWeb" "$kWeb"
Check "the program goes on" SnapvaneRunning
