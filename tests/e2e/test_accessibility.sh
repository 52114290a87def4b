#!/bin/bash
# The program as a screen reader and voice control find it, read from another process through
# Active Accessibility (tools/acctree.cpp): every showing object has a role, what a person acts
# on has a name and a default action, each object lies where the screen shows it (the object at
# its centre is itself, and a real click there does what the object says), pages switch, a
# series starts, pauses and stops, and the animation stops, by default actions alone; changes
# of name and state are read back as they happen. The keys added for what only the mouse
# reached: CTRL+TAB through the pages, ESC stops a series, the arrows place the frame. At 144 dpi
# the places follow the scale.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/lib_capture.sh
source "$(dirname "$0")/lib_capture.sh"

ACCTREE=${ACCTREE:-${WINPROBE%/*}/acctree.exe}

# Tree TITLE: the window's objects, one a line: depth, role, name, value, states, place,
# default action, shortcut (tab-separated).
Tree() { "$WINE" "$ACCTREE" tree "$1" 2>>"$E2E_DIR/acctree.err"; }
# Act NAME [N]: the default action of the N-th showing object of the control panel so named.
Act() { "$WINE" "$ACCTREE" do "$kPanel" "$@" >>"$E2E_DIR/acctree.log" 2>&1; }
# Node NAME: the line of the first showing object of the control panel so named.
Node() { Tree "$kPanel" | awk -F'\t' -v n="$1" '$3 == n && $5 !~ /invisible/ { print; exit }'; }
# Field LINE N: one field of a line.
Field() { cut -f"$2" <<<"$1"; }

# CheckTreeNamesAndRoles WHAT: every showing object has a role; every one a person acts on
# (it has a default action) or looks at (a picture, a link, a button, a tab) has a name.
CheckTreeNamesAndRoles() {
  local tree nameless
  tree=$(Tree "$kPanel")
  echo "$tree" >"$E2E_DIR/tree-$(date +%s%N).txt"
  nameless=$(awk -F'\t' '$5 !~ /invisible/ && ($2 == "" || ($3 == "" &&
      ($7 != "" || $2 ~ /^(graphic|link|push button|page tab|animation|property page)$/)))' <<<"$tree")
  if [[ -n $tree && -z $nameless ]]; then
    Ok "$1: every showing object has a role, and a name where a person acts on it or looks at it"
  else
    Fail "$1: every showing object has a role, and a name where a person acts on it or looks at it" "$nameless"
  fi
}

# CheckPlaces WHAT NAME...: each named object lies where the screen shows it: the object at the
# centre of its place is itself.
CheckPlaces() {
  local what=$1 name line x y w h hit
  shift
  for name in "$@"; do
    line=$(Node "$name")
    read -r x y w h <<<"$(Field "$line" 6)"
    hit=$("$WINE" "$ACCTREE" hit $((x + w / 2)) $((y + h / 2)) 2>>"$E2E_DIR/acctree.err")
    CheckEq "$what: the object at the centre of \"$name\" ($x,$y ${w}x$h) is itself" "$name" "$(Field "$hit" 3)"
  done
}

# ClickCentre NAME: a real click at the centre of the named object's place.
ClickCentre() {
  local x y w h
  read -r x y w h <<<"$(Field "$(Node "$1")" 6)"
  Click $((x + w / 2)) $((y + h / 2))
}

SeriesFiles() { find "$gSeries" -maxdepth 1 -name 'acc*.bmp' -printf '%f\n' | sort -V | tr '\n' ' ' | sed 's/ $//'; }

# ---- the tree as a screen reader finds it ---------------------------------------------------
readonly gBackdropX=690 gBackdropY=60
ShowBackdrop "$gBackdropX" "$gBackdropY" 580 440 180 || Fail "backdrop window shows"
StartCapturePair
# Libraries mapped into the running program, as the kernel sees its process.
Mapped() { grep -Eio '(oleacc|oleaut32)\.dll' "/proc/$SNAPVANE_PID/maps" | tr 'A-Z' 'a-z' | sort -u | tr '\n' ' '; }
CheckEq "while no assistive technology asks, oleacc.dll and oleaut32.dll are not loaded" "" "$(Mapped)"
CheckTreeNamesAndRoles "the simple page"
CheckEq "... the first request loads them" "oleacc.dll oleaut32.dll " "$(Mapped)"
tree=$(Tree "$kPanel")
CheckEq "the pages are tabs of a tab list, the simple one selected" \
  "Simple capturing:selected,selectable Advanced capturing:selectable About:selectable" \
  "$(awk -F'\t' '$2 == "page tab" { printf "%s%s:%s", sep, $3, $5; sep = " " }' <<<"$tree")"
CheckEq "\"show border\" is a link whose default action is Click" "link Click" \
  "$(awk -F'\t' '$3 == "show border" { print $2, $7; exit }' <<<"$tree")"
CheckEq "the preview is a graphic named \"Captured picture\"" "graphic" \
  "$(awk -F'\t' '$3 == "Captured picture" { print $2; exit }' <<<"$tree")"
CheckEq "the status bar's readout is read as it shows" "$(Readout)" \
  "$(awk -F'\t' '$2 == "static text" && $3 ~ /^x: / { print $3; exit }' <<<"$tree")"
CheckEq "the title's shadow is not read twice: the title once" 1 \
  "$(awk -F'\t' '$3 == "Snapvane 1.1"' <<<"$tree" | wc -l)"
WinInfo "$kFrame"
frame=$(Tree "$kFrame")
CheckEq "the frame is named, and its value is the area it captures" \
  "SV - Border|x $WIN_X, y $WIN_Y, $((WIN_W - 12)) by $((WIN_H - 12))" "$(head -1 <<<"$frame" | cut -f3,4 | tr '\t' '|')"
CheckPlaces "the simple page" "show border" "Select area within the red border."

RaisesFrame "a real click at the centre of \"show border\"'s place raises the frame" ClickCentre "show border"
ClickTab 'Simple capturing' >/dev/null  # the panel in the foreground, for the key
RaisesFrame "ALT+B raises the frame as \"show border\" does" Keys alt+b

# ---- pages and the series by default actions alone --------------------------------------
Act "Advanced capturing"
sleep 0.5
CheckEq "the tab's default action \"Switch\" shows the advanced page" "selected,selectable" \
  "$(Field "$(Node "Advanced capturing")" 5)"
Act "Capture regularily"
sleep 0.5
CheckTreeNamesAndRoles "the series page"
play=$(Node "Start capturing")
CheckEq "Play is a push button named \"Start capturing\", its action Press" "push button|Press" \
  "$(Field "$play" 2)|$(Field "$play" 7)"
CheckEq "Stop is a push button, unavailable while nothing runs, its key Esc" "push button|unavailable|Esc" \
  "$(Tree "$kPanel" | awk -F'\t' '$3 == "Stop capturing" { print $2 "|" $5 "|" $8; exit }')"
CheckPlaces "the series page" "Start capturing" "Stop capturing"
CheckEq "the lists and edit boxes are named by the labels beside them" \
  "Capture every:|Filename:|Filetype:|Path to where to save the bitmaps:" \
  "$(Tree "$kPanel" | awk -F'\t' '$2 != "static text" && $3 ~ /:$/ && $5 !~ /invisible/ { printf "%s%s", sep, $3; sep = "|" }')"

gSeries=$E2E_DIR/series
mkdir -p "$gSeries"
gLink=$(mktemp -u /tmp/snapvane-e2e-XXXXXX)
ln -s "$gSeries" "$gLink"
trap 'rm -f "$gLink"; _CaptureFinish' EXIT
BrowseTo "$gLink" 0
eval "$(CtlProbe ctl "$kPanel" Edit '*' 0)"  # Filename
Click "$CTL_CX" "$CTL_CY"
Keys ctrl+a
TypeText acc

# Listening as a screen reader does to what the program tells of its changes.
"$WINE" "$ACCTREE" events 6 >"$E2E_DIR/events.txt" 2>>"$E2E_DIR/acctree.err" &
Track $!
WaitFor() { local i; for ((i = 0; i < 50; i++)); do grep -q "$1" "$2" 2>/dev/null && return 0; sleep 0.1; done; return 1; }
WaitFor listening "$E2E_DIR/events.txt" || Fail "the event listener starts"
Act "Start capturing"
WaitFile "$gSeries/acc0.bmp" 4 && Ok "\"Press\" on Play starts the series: acc0.bmp at once" ||
  Fail "\"Press\" on Play starts the series: acc0.bmp at once" "$(SeriesFiles)"
WinInfo "$kFrame"
Check "... a bitmap of the area inside the frame's band, as a click writes it" CapturePixels files \
  $((WIN_W - 12)) $((WIN_H - 12)) $((WIN_X + 6 - gBackdropX)) $((WIN_Y + 6 - gBackdropY)) "$gSeries/acc0.bmp"
CheckEq "... Play is now named \"Pause capturing\", \"Recording...\" shows" "push button|Recording..." \
  "$(Field "$(Node "Pause capturing")" 2)|$(Field "$(Node "Recording...")" 3)"
CheckEq "... told as it happens: \"Recording...\" shown, Play's new name" "show Recording...|name Pause capturing" \
  "$(awk -F'\t' '$1 == "show" && $4 == "Recording..." { a = $1 " " $4 } $1 == "name" && $4 == "Pause capturing" {
      b = $1 " " $4 } END { print a "|" b }' "$E2E_DIR/events.txt")"
Act "Pause capturing"
sleep 0.5
paused=$(SeriesFiles)
CheckEq "\"Press\" again pauses: Play pressed, named \"Restore capturing\"" "pressed" \
  "$(Field "$(Node "Restore capturing")" 5)"
sleep 2
CheckEq "... and no file comes while paused" "$paused" "$(SeriesFiles)"
Act "Stop capturing"
sleep 0.5
CheckEq "\"Press\" on Stop ends it: Stop unavailable, Play \"Start capturing\" again" "unavailable|push button" \
  "$(Tree "$kPanel" | awk -F'\t' '$3 == "Stop capturing" { print $5; exit }')|$(Field "$(Node "Start capturing")" 2)"

# A real click at the centre of Play's place starts a series as the action did: acc0 again.
rm -f "$gSeries"/acc*.bmp
ClickCentre "Start capturing"
WaitFile "$gSeries/acc0.bmp" 4 && Ok "a click at the centre of Play's place starts the series" ||
  Fail "a click at the centre of Play's place starts the series" "$(SeriesFiles)"

# ---- keys for what only the mouse reached -----------------------------------------------------
ClickTab 'Capture regularily' >/dev/null  # the panel in the foreground, the keys for it
Keys Escape
sleep 0.5
CheckEq "ESC on the series page stops the series: Stop unavailable, \"Recording...\" hidden" "unavailable|" \
  "$(Tree "$kPanel" | awk -F'\t' '$3 == "Stop capturing" { print $5; exit }')|$(Field "$(Node "Recording...")" 3)"
Keys ctrl+Tab
sleep 0.3
CheckEq "CTRL+TAB from the series page shows About" "selected,selectable" "$(Field "$(Node About)" 5)"
Keys ctrl+Tab
sleep 0.3
CheckEq "CTRL+TAB from About goes round to the simple page" "selected,selectable" "$(Field "$(Node "Simple capturing")" 5)"
Keys ctrl+shift+Tab ctrl+shift+Tab
sleep 0.3
CheckEq "CTRL+SHIFT+TAB twice from the simple page shows the series page" "Capture regularily" \
  "$(Tree "$kPanel" | awk -F'\t' '$2 == "page tab" && $5 ~ /selected,/ { print $3 }' | tail -1)"

WinInfo "$kFrame"
x=$WIN_X y=$WIN_Y w=$WIN_W h=$WIN_H
Click $((x + 2)) $((y + h / 2))  # the left band: the frame takes the focus
Keys Right Right shift+Down ctrl+Up
sleep 0.3
WinInfo "$kFrame"
CheckEq "the arrows move the frame, SHIFT sizes it, CTRL steps by 10" \
  "$((x + 2)),$((y - 10)) ${w}x$((h + 1))" "$WIN_X,$WIN_Y ${WIN_W}x$WIN_H"
CheckEq "... the readout follows" "$(ExpectedReadout "$WIN_X" "$WIN_Y" "$WIN_W" "$WIN_H")" "$(Readout)"
CheckEq "... and so does the frame's value" "x $WIN_X, y $WIN_Y, $((WIN_W - 12)) by $((WIN_H - 12))" \
  "$(Tree "$kFrame" | head -1 | cut -f4)"

# ---- the animation stops by its action --------------------------------------------------------
Act About
sleep 0.5
CheckTreeNamesAndRoles "the About page"
anim=$(Tree "$kPanel" | awk -F'\t' '$2 == "animation" { print; exit }')
CheckEq "the animation is animated, its action Stop" "animated|Stop" "$(Field "$anim" 5)|$(Field "$anim" 7)"
read -r ax ay aw ah <<<"$(Field "$anim" 6)"
AnimationMoves "$ax" "$ay" "$aw" "$ah" && Ok "... it moves on the screen" || Fail "... it moves on the screen"
Act Stop
sleep 0.5
anim=$(Tree "$kPanel" | awk -F'\t' '$2 == "animation" { print; exit }')
CheckEq "its action stops it: named \"Play\", not animated, its action Play" "Play||Play" \
  "$(Field "$anim" 3)|$(Field "$anim" 5)|$(Field "$anim" 7)"
AnimationMoves "$ax" "$ay" "$aw" "$ah" && Fail "... and it stands still on the screen" ||
  Ok "... and it stands still on the screen"
Keys alt+a
sleep 0.5
CheckEq "ALT+A on the About page is a click on the animation: it plays again" "Stop|animated" \
  "$(Tree "$kPanel" | awk -F'\t' '$2 == "animation" { print $3 "|" $5; exit }')"
mapfile -t links < <(Tree "$kPanel" | awk -F'\t' '$2 == "link" && $5 !~ /invisible/ { print $3 }')
CheckEq "the e-mail and web addresses are links" 2 "${#links[@]}"
CheckPlaces "the About page" "Stop" "${links[@]}"

StopSnapvane

# ---- at 144 dpi: the places follow the scale ------------------------------------------------
# The same layout at one and a half times the size: each object's place is still where the
# screen shows it, and Play, 41 x 41 layout pixels, is 1.5 times as large.
read -r _ _ playW playH <<<"$(Field "$play" 6)"
"$WINE" reg.exe add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
trap 'rm -f "$gLink"; "$WINE" reg.exe delete "HKCU\\Control Panel\\Desktop" /v LogPixels /f >/dev/null 2>&1
  _CaptureFinish' EXIT
StartCapturePair
CheckTreeNamesAndRoles "at 144 dpi, the simple page"
CheckPlaces "at 144 dpi" "show border" "Simple capturing" "About"
Act "Advanced capturing"
Act "Capture regularily"
sleep 0.5
CheckPlaces "at 144 dpi" "Start capturing" "Stop capturing"
read -r _ _ w144 h144 <<<"$(Field "$(Node "Start capturing")" 6)"
CheckEq "at 144 dpi Play is one and a half times its size at 96 dpi" \
  "$(((playW * 3 + 1) / 2))x$(((playH * 3 + 1) / 2))" "${w144}x$h144"
StopSnapvane || true  # its status is the killed program's
