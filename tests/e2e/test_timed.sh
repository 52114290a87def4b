#!/bin/bash
# Timed captures as a person sees them. The countdown of "5 sec": red digits 5, 4, 3, 2, 1
# inside the frame, one a second, the frame above everything and the control panel out of the
# way meanwhile, then the picture in the countdown page's preview and both windows back as
# they were, neither of them on top any more; the space key starts it again, and again while it
# counts starts the count over. The series: Play asks for a file name and a folder while
# either is missing (also when a space typed into the file name presses it), fails to save into
# the Path box's hint while no folder was chosen, and a cancelled Browse empties the Path box;
# a folder chosen in the shell's folder browser, a file name typed, Play writes name0, name1,
# ... one a second into that folder, the space key pauses and resumes with the numbering going
# on, Stop ends it, and a new start begins at 0 again; a name with ":" is refused and writes
# nothing. Folders and names in Cyrillic, CJK and beyond the BMP, and a folder past 260
# characters: Browse, the Path box, its tooltip and the series' files.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/lib_capture.sh
source "$(dirname "$0")/lib_capture.sh"

readonly gBackdropX=690 gBackdropY=60
readonly kWsExTopmost=0x8

# SeriesFiles: the names of the series' files in the folder, in the order of their numbers.
SeriesFiles() { find "$gSeries" -maxdepth 1 -name 'shot*.bmp' -printf '%f\n' | sort -V | tr '\n' ' ' | sed 's/ $//'; }

# WaitSeriesFile N [SECONDS]: until shotN.bmp is there.
WaitSeriesFile() { WaitFile "$gSeries/shot$1.bmp" "${2:-4}"; }

# CheckPreviewAt WHAT X Y W H: W x H pixels of the capture from the preview's top-left corner,
# the preview lying in the panel of 281 x 163 at X, Y.
CheckPreviewAt() {
  local shot
  MoveAway
  sleep 0.3
  shot=$(Screenshot "preview-$(date +%s%N)")
  Check "$1" CapturePixels find "$shot" "$2" "$3" 281 163 "$4" "$5" "$OX" "$OY"
}

ShowBackdrop "$gBackdropX" "$gBackdropY" 580 440 180 || Fail "backdrop window shows"
StartCapturePair
WinInfo "$kFrame"
frameX=$WIN_X frameY=$WIN_Y
CW=$((WIN_W - 12)) CH=$((WIN_H - 12)) OX=$((WIN_X + 6 - gBackdropX)) OY=$((WIN_Y + 6 - gBackdropY))
WinInfo "$kPanel"
panelX=$WIN_X panelY=$WIN_Y

# The digits as the frame's label draws them: "Arial", 19 px, bold, red.
CtlProbe glyph Arial 19 5 4 3 2 1 >"$E2E_DIR/digits.txt"
# WatchCountdown SECONDS: the digits seen in the frame's top-left corner, in order.
WatchCountdown() {
  CapturePixels countdown "$1" $((frameX + 6)) $((frameY + 6)) 80 36 "$E2E_DIR/digits.txt" 2>>"$E2E_DIR/countdown.log"
}

# ---- the countdown ----------------------------------------------------------------------
ClickTab 'Advanced capturing'
CheckEq "the \"Countdown\" page shows first, its Copy, Save and Print disabled" "1 0 0 0" \
  "$(EnabledStates 'Start countdown' Copy Save '&Print')"
# "5 sec", the second item of the interval list.
ClickCtl '3 sec' ComboBox
Keys Down
Keys Return
FindCtl '5 sec' ComboBox || Fail "\"5 sec\" chosen in the interval list"
PageAt StartButton 'Start countdown'
Place CountPanel
countPanel="$PLACE_X $PLACE_Y"
WatchCountdown 9 >"$E2E_DIR/digits.out" &
watcher=$!
Track "$watcher"
sleep 0.5  # the watcher's first look comes before the start
Click "$CTL_CX" "$CTL_CY"
WinInfo "$kFrame"
if HasBits "$WIN_EXSTYLE" $kWsExTopmost; then
  Ok "during the countdown the frame stays on top"
else
  Fail "during the countdown the frame stays on top" "$(WinLine "$kFrame")"
fi
CheckEq "during the countdown the start button and Copy, Save and Print are disabled" "0 0 0 0" \
  "$(EnabledStates 'Start countdown' Copy Save '&Print')"
if WaitWin "$kPanel" iconic 4000; then
  Ok "during the countdown the control panel is minimized (\"Minimize this form when capturing\" is checked)"
else
  Fail "during the countdown the control panel is minimized (\"Minimize this form when capturing\" is checked)" \
    "$(WinLine "$kPanel")"
fi
wait "$watcher"
CheckEq "the frame shows 5, 4, 3, 2, 1 in red, then nothing" "none 5 4 3 2 1 none" "$(cat "$E2E_DIR/digits.out")"
Log "$(cat "$E2E_DIR/countdown.log")"
if WaitWin "$kPanel" normal 3000; then
  Ok "after the capture the control panel is back"
else
  Fail "after the capture the control panel is back" "$(WinLine "$kPanel")"
fi
sleep 0.5
WinInfo "$kPanel"
panelAfter="$WIN_X,$WIN_Y $(((WIN_EXSTYLE & kWsExTopmost) != 0))"
WinInfo "$kFrame"
CheckEq "... both windows at their places, neither of them on top of the others any more" \
  "panel $panelX,$panelY 0, frame $frameX,$frameY 0" \
  "panel $panelAfter, frame $WIN_X,$WIN_Y $(((WIN_EXSTYLE & kWsExTopmost) != 0))"
CheckEq "after the capture the start button and Copy, Save and Print are enabled" "1 1 1 1" \
  "$(EnabledStates 'Start countdown' Copy Save '&Print')"
# shellcheck disable=SC2086  # the panel's two numbers
CheckPreviewAt "the countdown page's preview holds the area inside the red band, without the frame's last digit" \
  $countPanel 250 130
EmptyClipboard
ClickCtl Copy
ReadClipboard "$E2E_DIR/countdown.bmp"
Check "its Copy gives the whole ${CW} x $CH picture of the area, pixel for pixel" \
  CapturePixels file "$E2E_DIR/countdown.bmp" "$CW" "$CH" "$OX" "$OY"

# The space key on the "Countdown" page starts it (the frame has the focus after a capture);
# pressed again while it counts, with the start button disabled, it starts the count over.
Click $((frameX + 100)) $((frameY + 2))
WatchCountdown 10 >"$E2E_DIR/digits-space.out" &
watcher=$!
Track "$watcher"
sleep 0.5
Keys space
sleep 2.2
Keys space
wait "$watcher"
digits=$(cat "$E2E_DIR/digits-space.out")
if [[ $digits =~ ^none\ 5\ 4(\ 3)?\ 5\ 4\ 3\ 2\ 1\ none$ ]]; then
  Ok "the space key starts the countdown at 5, and pressed again while it counts starts it over ($digits)"
else
  Fail "the space key starts the countdown at 5, and pressed again while it counts starts it over" \
    "expected: none 5 4 [3] 5 4 3 2 1 none" "actual:   $digits"
fi
WaitWin "$kPanel" normal 6000 >/dev/null || Fail "the second countdown ends" "$(WinLine "$kPanel")"
sleep 0.5
EmptyClipboard
ClickCtl Copy
ReadClipboard "$E2E_DIR/countdown-space.bmp"
Check "... and its picture too is the area, without the frame's last digit" \
  CapturePixels file "$E2E_DIR/countdown-space.bmp" "$CW" "$CH" "$OX" "$OY"

# ---- another program in use during a countdown ------------------------------------------
# The countdown started, then another program taken into use: every key typed there arrives
# there, also when the count ends; the capture is made and the control panel comes back
# without taking the keyboard.
StartNotepad 60 560 900 420 || Fail "Wine's notepad starts beside Snapvane"
ClickCtl 'Start countdown'
sleep 0.5
ClickIntoNotepad || Fail "a click into notepad's text"
typed='counting down the quick brown fox'
xdotool type --delay 100 "$typed"
WaitWin "$kPanel" normal 8000 >/dev/null || Fail "the countdown ends with the control panel back" "$(WinLine "$kPanel")"
xdotool type --delay 100 ' jumps over the lazy dog'
typed+=' jumps over the lazy dog'
sleep 0.3
CheckEq "a countdown ending while notepad is in use: every key typed there arrives there" "$typed" "$(NotepadText)"
WinInfo "$kNotepad"
CheckEq "... notepad stays in the foreground" 1 "$WIN_FOREGROUND"
CheckEq "... the countdown has captured: its Copy, Save and Print are enabled" "1 1 1" \
  "$(EnabledStates Copy Save '&Print')"

# ---- the series: folder, file name, Play, pause, resume, Stop --------------------------
# The folder browser is walked with the keyboard (it takes no typed path): a short way to the
# test's folder through a link in /tmp.
gSeries=$E2E_DIR/series
mkdir -p "$gSeries"
gLink=$(mktemp -u /tmp/snapvane-e2e-XXXXXX)
ln -s "$gSeries" "$gLink"
trap 'rm -f "$gLink"; _CaptureFinish' EXIT

ClickTab 'Capture regularily'
PageAt Browse 'Browse...' || exit 1
Place RegPanel
regPanel="$PLACE_X $PLACE_Y"
readonly kNoNameOrPath="Enter filename and path."
# Play with neither a file name nor a folder: a warning, and nothing else.
ClickPlace Play
CheckMessage "Play with no file name: the warning \"$kNoNameOrPath\"" "$kNoNameOrPath" Warning 5000 &&
  CheckEq "... with an OK button" OK "$DLG_BUTTONS"
# A space typed into the file name is typed there and presses Play: no folder yet, so the
# warning again.
eval "$(CtlProbe ctl "$kPanel" Edit '*' 0)"  # Filename, above Path
Click "$CTL_CX" "$CTL_CY"
xdotool type --delay 20 shot
Keys space
CheckMessage "a space typed into the file name presses Play: with no folder, the warning" "$kNoNameOrPath" Warning 5000
eval "$(CtlProbe ctl "$kPanel" Edit '*' 0)"
CheckEq "... and is typed into the file name too" "shot " "$CTL_TEXT"
Click "$CTL_CX" "$CTL_CY"
Keys ctrl+a
xdotool type --delay 20 shot
# A folder typed into the Path box is not the save folder: with none chosen yet, the names
# begin with the Path box's hint, which no file can have.
eval "$(CtlProbe ctl "$kPanel" Edit '*' 1)"
Click "$CTL_CX" "$CTL_CY"
xdotool type --delay 20 "$(WinPath "$gSeries")"
ClickPlace Play
CheckMessage "Play before a folder was chosen: \"Cannot create file\" naming the Path box's hint" \
  'Cannot create file Path|Path to where to save the bitmaps\shot0.bmp.'
ClickPlace Stop
CheckEq "... Stop: the file name, the Path box and Browse can be changed again" "1 1 1" \
  "$(EnabledStates shot "$(WinPath "$gSeries")" 'Browse...')"
CheckEq "... and nothing is written into the folder typed into the Path box" "" "$(ls -A "$gSeries")"
# Browse cancelled: the Path box is emptied (the save folder with it), so Play warns again.
ClickCtl 'Browse...'
WaitDialog 'Browse for Folder' 5000 || Fail "Browse opens the folder browser"
Keys Escape
WaitNoDialog 'Browse for Folder' 3000 || Fail "Escape closes the folder browser"
eval "$(CtlProbe ctl "$kPanel" Edit '*' 1)"
CheckEq "a cancelled Browse empties the Path box" "" "$CTL_TEXT"
ClickPlace Play
CheckMessage "... and Play warns again" "$kNoNameOrPath" Warning 5000
BrowseTo "$gLink" 0
eval "$(CtlProbe ctl "$kPanel" Edit '*' 1)"
CheckEq "the chosen folder shows in the Path box (short enough to show whole)" "$(WinPath "$gLink")" "$CTL_TEXT"

ClickPlace Play
start=$EPOCHREALTIME
if WaitSeriesFile 0 2; then
  Ok "Play writes shot0.bmp at once"
else
  Fail "Play writes shot0.bmp at once" "files: $(SeriesFiles)"
fi
WaitSeriesFile 2 4 || Fail "the series goes on: shot1.bmp and shot2.bmp" "files: $(SeriesFiles)"
Log "shot2.bmp after $("$kPython" -c "import sys; print(f'{float(sys.argv[1]) - float(sys.argv[2]):.2f}')" "$EPOCHREALTIME" "$start") s"
Check "one file a second (\"1 sec\"): shot0 to shot2 within 1.6 to 2.6 s" "$kPython" -c '
import os, sys
times = [os.stat(os.path.join(sys.argv[1], f"shot{i}.bmp")).st_mtime for i in range(3)]
print("written at +%.2f s, +%.2f s" % (times[1] - times[0], times[2] - times[0]))
sys.exit(not 1.6 <= times[2] - times[0] <= 2.6)' "$gSeries"
CheckEq "while running the file name, the Path box and Browse are disabled" "0 0 0" \
  "$(EnabledStates shot "$(WinPath "$gLink")" 'Browse...')"

# Pause and resume with the space key (the frame has the focus: each capture gives it).
Keys space
paused=$(SeriesFiles)
sleep 1.6
CheckEq "the space key pauses: no file while paused" "$paused" "$(SeriesFiles)"
count=$(wc -w <<<"$paused")
Keys space
if WaitSeriesFile "$count" 1; then
  Ok "the space key resumes: shot$count.bmp at once, the numbering going on"
else
  Fail "the space key resumes: shot$count.bmp at once, the numbering going on" "files: $(SeriesFiles)"
fi
WaitSeriesFile $((count + 1)) 3 || Fail "... and one a second again" "files: $(SeriesFiles)"
ClickPlace Stop
stopped=$(SeriesFiles)
sleep 1.4
CheckEq "Stop ends the series" "$stopped" "$(SeriesFiles)"
expected=$(for ((i = 0; i < $(wc -w <<<"$stopped"); i++)); do printf 'shot%d.bmp ' "$i"; done)
CheckEq "the files are numbered without a gap" "${expected% }" "$stopped"
files=()
for file in $stopped; do files+=("$gSeries/$file"); done
Check "each file is a ${CW} x $CH bitmap of the area inside the red band" \
  CapturePixels files "$CW" "$CH" "$OX" "$OY" "${files[@]}"
# shellcheck disable=SC2086  # the panel's two numbers
CheckPreviewAt "the series page's preview shows the last capture" $regPanel 250 130
CheckEq "after Stop they are enabled again" "1 1 1" "$(EnabledStates shot "$(WinPath "$gLink")" 'Browse...')"

# A new start begins at 0 again and replaces the earlier file without asking.
before=$(stat -c %Y.%y "$gSeries/shot0.bmp")
sleep 1
ClickPlace Play
for ((i = 0; i < 20; i++)); do
  [[ $(stat -c %Y.%y "$gSeries/shot0.bmp") != "$before" ]] && break
  sleep 0.1
done
ClickPlace Stop
if [[ $(stat -c %Y.%y "$gSeries/shot0.bmp") != "$before" ]]; then
  Ok "after Stop a new start writes shot0.bmp again, replacing the earlier one"
else
  Fail "after Stop a new start writes shot0.bmp again, replacing the earlier one" "files: $(SeriesFiles)"
fi

# ---- another program in use during a series ---------------------------------------------
# Recording what a person does in another program is what a series is for: each capture moves
# the focus within Snapvane only, and every key typed into the other program arrives there (a
# space that reached Snapvane would pause the series).
ClickPlace Play
WaitSeriesFile 0 2 || Fail "Play starts the series again" "files: $(SeriesFiles)"
touch "$E2E_DIR/typing.mark"
ClickIntoNotepad || Fail "a click into notepad's text"
Keys ctrl+a
typed='a series runs while pack my box with five dozen liquor jugs'
typingStart=$SECONDS
xdotool type --delay 200 "$typed"  # some seconds: several ticks of the series
typingTime=$((SECONDS - typingStart))
WinInfo "$kNotepad"
notepadForeground=$WIN_FOREGROUND
written=$(find "$gSeries" -maxdepth 1 -name 'shot*.bmp' -newer "$E2E_DIR/typing.mark" | wc -l)
ClickPlace Stop
CheckEq "a 1 s series running while notepad is in use: every key typed there arrives there" "$typed" \
  "$(NotepadText)"
CheckEq "... notepad stays in the foreground through every capture" 1 "$notepadForeground"
# One file a second, give or take the second the typing began and ended in.
if ((typingTime >= 4 && written >= typingTime - 2)); then
  Ok "... and the series goes on meanwhile: $written files in $typingTime s of typing"
else
  Fail "... and the series goes on meanwhile, a file a second" "$written files in $typingTime s: $(SeriesFiles)"
fi

# ---- a file name that no file can have -------------------------------------------------
# A ":" typed into the file name would make a hidden stream of a file "a" (under Wine a file
# "a:b0.bmp" nobody asked for): the save is refused with the full name, nothing appears in the
# folder, and the retry after pause and resume tries the same number again.
# CheckRefused WHAT: the program's message box names a:b0.bmp in the series' folder; Enter.
CheckRefused() { CheckMessage "$1" "Cannot create file $(WinPath "$gLink")\\a:b0.bmp." "$kAppTitle" 5000; }
# FolderList: everything in the series' folder, in one line.
FolderList() { ls -A "$gSeries" | tr '\n' ' ' | sed 's/ $//'; }
listed=$(FolderList)
eval "$(CtlProbe ctl "$kPanel" Edit '*' 0)"  # Filename
Click "$CTL_CX" "$CTL_CY"
Keys ctrl+a
xdotool type --delay 20 'a:b'
sleep 0.3
ClickPlace Play
CheckRefused "Play with \"a:b\" as the file name: \"Cannot create file\" with the full name"
sleep 1.2
CheckEq "... and no file appears in the folder" "$listed" "$(FolderList)"
ClickPlace Play  # pause
sleep 0.3
ClickPlace Play  # resume: the capture again, at once
CheckRefused "... the retry names number 0 again: the counter did not advance"
ClickPlace Stop
CheckEq "... and still no file appears" "$listed" "$(FolderList)"

# ---- folders and names outside any ANSI code page, and past 260 characters --------------
# PathTip WHAT FOLDER: pointing at the Path box shows the whole folder as its tooltip, on the
# screen however long it is, and in the status bar.
PathTip() {
  local screenW screenH
  read -r screenW screenH < <(xdotool getdisplaygeometry)
  eval "$(CtlProbe ctl "$kPanel" Edit '*' 1)"
  xdotool mousemove "$CTL_CX" "$CTL_CY"
  if WaitWin "$(WinPath "$2")" visible 3000; then
    if ((WIN_X >= 0 && WIN_Y >= 0 && WIN_X + WIN_W <= screenW && WIN_Y + WIN_H <= screenH)); then
      Ok "$1: the tooltip of the Path box shows the whole folder, on the screen ($WIN_X,$WIN_Y ${WIN_W}x$WIN_H)"
    else
      Fail "$1: the tooltip of the Path box lies on the screen" "$WIN_X,$WIN_Y ${WIN_W}x$WIN_H on ${screenW}x$screenH"
    fi
    Screenshot "tip-${1// /-}" >/dev/null
  else
    Fail "$1: the tooltip of the Path box shows the whole folder"
    LogWindows
  fi
  local SB_TEXT=
  eval "$(CtlProbe sbtext "$kPanel" 0)"
  CheckEq "$1: ... and the status bar too" "$(WinPath "$2")" "$SB_TEXT"
  MoveAway
}

# SeriesInto WHAT FOLDER NAME: the series started with NAME typed, its first two files named
# exactly NAME0.bmp and NAME1.bmp in FOLDER, and stopped.
SeriesInto() {
  local what=$1 folder=$2 name=$3
  eval "$(CtlProbe ctl "$kPanel" Edit '*' 0)"  # Filename
  Click "$CTL_CX" "$CTL_CY"
  Keys ctrl+a
  TypeText "$name"
  eval "$(CtlProbe ctl "$kPanel" Edit '*' 0)"
  CheckEq "$what: the file name shows as typed" "$name" "$CTL_TEXT"
  ClickPlace Play
  WaitFile "$folder/${name}1.bmp" 4
  ClickPlace Stop
  CheckEq "$what: the series writes files of exactly that name there" "${name}0.bmp ${name}1.bmp" \
    "$(find "$folder" -maxdepth 1 -type f -printf '%f\n' | sort -V | head -n 2 | tr '\n' ' ' | sed 's/ $//')"
  Check "$what: ... each a ${CW} x $CH bitmap of the area" CapturePixels files "$CW" "$CH" "$OX" "$OY" \
    "$folder/${name}0.bmp" "$folder/${name}1.bmp"
  NoMessageBox "$what: no message box shows" Countdown 'Capture regularily'
}

# Cyrillic, CJK and an emoji: in the folder, and typed into the file name (without a blank:
# the space key on the panel is the page's action, Play).
gUnicode=$E2E_DIR/unicode
mkdir -p "$gUnicode/Снимки 截图 📷"
gLinkUnicode=$(mktemp -u /tmp/snapvane-e2e-XXXXXX)
ln -s "$gUnicode" "$gLinkUnicode"
gLong=$E2E_DIR/long
gLongFolder=$gLong/$(printf 'L%.0s' {1..120})/$(printf 'M%.0s' {1..120})
mkdir -p "$gLongFolder"
gLinkLong=$(mktemp -u /tmp/snapvane-e2e-XXXXXX)
ln -s "$gLong" "$gLinkLong"
trap 'rm -f "$gLink" "$gLinkUnicode" "$gLinkLong"; _CaptureFinish' EXIT

BrowseTo "$gLinkUnicode" 1
eval "$(CtlProbe ctl "$kPanel" Edit '*' 1)"
unicodePath=$(WinPath "$gLinkUnicode/Снимки 截图 📷")
if [[ $CTL_TEXT == "$unicodePath" || $CTL_TEXT == *'...\Снимки 截图 📷' ]]; then
  Ok "a Unicode folder: the Path box shows it, shortened to fit at most ($CTL_TEXT)"
else
  Fail "a Unicode folder: the Path box shows it, shortened to fit at most" "folder: $unicodePath" "shown:  $CTL_TEXT"
fi
PathTip "a Unicode folder" "$gLinkUnicode/Снимки 截图 📷"
SeriesInto "a Unicode folder and name" "$gUnicode/Снимки 截图 📷" "кадр图片🙂"

BrowseTo "$gLinkLong" 2
longPath=$(WinPath "$gLinkLong/${gLongFolder#"$gLong"/}")
Log "the long folder: ${#longPath} characters"
eval "$(CtlProbe ctl "$kPanel" Edit '*' 1)"
CheckEq "a folder of ${#longPath} characters: the Path box shows its last name" "${gLongFolder##*/}" "$CTL_TEXT"
PathTip "a folder of ${#longPath} characters" "$gLinkLong/${gLongFolder#"$gLong"/}"
SeriesInto "a folder of ${#longPath} characters" "$gLongFolder" "long"

NoMessageBox "no message box shows" Countdown 'Capture regularily'
Check "the program goes on" SnapvaneRunning
