#!/bin/bash
# A capture and what a person gets from it: with a window of known pixels under the frame,
# "Capture bitmap" shows exactly the area inside the red band in the preview and enables
# Copy, Save and Print; Copy puts that picture on the clipboard (read by a native X client),
# Save writes it through the save dialog as a bitmap file named as typed plus the extension of
# the file type chosen there (a bitmap under ".jpg" too), the dialog asking before it replaces
# the file named in it, Print gives a one-page job "Snapvane bitmap" with the picture stretched
# into its print rectangle; names in Cyrillic, CJK and beyond the BMP, and a folder past 260
# characters, save all the same. The countdown page's Save and Print give its own capture,
# and the simple page's Print then uses the size the frame had when the countdown started.
# Each button also answers Alt with the letter its caption underlines.
# Second run, on a system with a printer but no default printer: ENTER and the space key
# capture, a clipboard held by another program and the missing default printer are told in
# message boxes, nothing is printed on the other printer, and the program goes on.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/lib_capture.sh
source "$(dirname "$0")/lib_capture.sh"
# shellcheck source=scripts/wine-env.sh
source "$kE2eRoot/scripts/wine-env.sh"  # WineEnvNoDefaultPrinter

readonly gBackdropX=690 gBackdropY=60

# CaptureGeometry: from the frame's window, the capture's size CW x CH and its top-left
# corner OX, OY in the backdrop's coordinates.
CaptureGeometry() {
  WinInfo "$kFrame"
  CW=$((WIN_W - 12)) CH=$((WIN_H - 12))
  OX=$((WIN_X + 6 - gBackdropX)) OY=$((WIN_Y + 6 - gBackdropY))
}

# CheckPreview WHAT W H: W x H pixels of the capture show from the preview's top-left corner
# (SimplePanel holds the preview).
CheckPreview() {
  local shot
  PageAt Capture '&Capture bitmap' || return
  Place SimplePanel
  MoveAway
  sleep 0.3
  shot=$(Screenshot "preview-$2x$3-$SECONDS")
  Check "$1" CapturePixels find "$shot" "$PLACE_X" "$PLACE_Y" "$PLACE_W" "$PLACE_H" "$2" "$3" "$OX" "$OY"
}

# CheckPrintout WHAT PW PH CW CH OX OY: the one job of a print on the PDF printer (emptied
# before): titled "Snapvane bitmap", one page, on it the picture of CW x CH pixels of the
# backdrop from OX, OY stretched into the print rectangle of the printed size PW x PH, from
# (100, 100) to 6.6 times that size, rounded.
gPrintouts=0
CheckPrintout() {
  local what=$1 pw=$2 ph=$3 pdf= i info dpi page
  for ((i = 0; i < 150; i++)); do
    pdf=$(find "$WINE_ENV_PDF_DIR" -name '*.pdf' -print -quit)
    [[ -n $pdf ]] && WaitFile "$pdf" 5 && break
    sleep 0.1
  done
  if [[ -z $pdf ]]; then
    Fail "$what: a job on the default printer" "no PDF in $WINE_ENV_PDF_DIR"
    return 1
  fi
  info=$(pdfinfo "$pdf")
  CheckEq "$what: one job titled \"Snapvane bitmap\"" "Snapvane bitmap" "$(sed -n 's/^Title: *//p' <<<"$info")"
  CheckEq "... of one page" 1 "$(sed -n 's/^Pages: *//p' <<<"$info")"
  CheckEq "... and no more jobs" 1 "$(find "$WINE_ENV_PDF_DIR" -name '*.pdf' | wc -l)"
  # The page in printer pixels: rendered at the printer's resolution (its PPD's default); the
  # queue's printable area is the whole page, so page and printer pixels coincide.
  dpi=$(sed -n 's/^\*DefaultResolution: *\([0-9]*\)dpi.*/\1/p' "$WINE_ENV_STATE"/cups/etc/ppd/*.ppd | head -n 1)
  dpi=${dpi:-300}
  gPrintouts=$((gPrintouts + 1))
  page=$E2E_DIR/page$gPrintouts
  pdftoppm -r "$dpi" -f 1 -l 1 -png "$pdf" "$page"
  Check "$what: the ${4} x $5 picture fills the print rectangle (100,100)-($(((66 * pw + 5) / 10)),$(((66 * ph + 5) / 10))) of $pw x $ph at $dpi dpi, every pixel in place" \
    CapturePixels print "$page-1.png" 100 100 $(((66 * pw + 5) / 10)) $(((66 * ph + 5) / 10)) "$4" "$5" "$6" "$7"
  rm -f "$WINE_ENV_PDF_DIR"/*.pdf
}

# Resize DX DY: the frame's grip dragged by DX, DY; then CaptureGeometry.
Resize() {
  WinInfo "$kFrame"
  Drag $((WIN_X + WIN_W - 3)) $((WIN_Y + WIN_H - 3)) $((WIN_X + WIN_W - 3 + $1)) $((WIN_Y + WIN_H - 3 + $2))
  CaptureGeometry
}

# ButtonsEnabled: whether Copy, Save and Print are enabled, as "1 1 1".
ButtonsEnabled() { EnabledStates 'C&opy' '&Save' '&Print'; }

ShowBackdrop "$gBackdropX" "$gBackdropY" 580 440 180 || Fail "backdrop window shows"

# ---- first run: capture, copy, save, print ------------------------------------------------
StartCapturePair
CaptureGeometry
CheckEq "before the first capture Copy, Save and Print are disabled" "0 0 0" "$(ButtonsEnabled)"
ClickCtl '&Capture bitmap'
sleep 0.3
CheckEq "\"Capture bitmap\" enables Copy, Save and Print" "1 1 1" "$(ButtonsEnabled)"
WinInfo "$kFrame"
CheckEq "the capture gives the frame the focus" 1 "$WIN_FOREGROUND"
CheckPreview "the preview shows the area inside the red band, from its top-left corner" 300 150

# Alt with the underlined letter presses the button as a click does: C&opy.
ClickCaptionButton "$kPanel" caption
EmptyClipboard
Keys alt+o
ReadClipboard "$E2E_DIR/clipboard.bmp"
Check "Alt+O (\"C&opy\"): the clipboard holds the area inside the red band, ${CW} x $CH, pixel for pixel" \
  CapturePixels file "$E2E_DIR/clipboard.bmp" "$CW" "$CH" "$OX" "$OY"

# Save: the name typed in the dialog, without extension, with the first file type.
target=$E2E_DIR/saved/shot
mkdir -p "${target%/*}"
ClickCtl '&Save'
if WaitDialog 'Save As' 10000; then
  Ok "Save opens the save dialog"
  sleep 0.3
  eval "$(CtlProbe ctl 'Save As' Edit '*' 0)"
  if [[ $CTL_FOCUS == 1 ]]; then
    Ok "the save dialog opens with the keyboard in its file name box"
  else
    Fail "the save dialog opens with the keyboard in its file name box" \
      "the file name box has not the focus: what is typed goes nowhere"
    Click "$CTL_CX" "$CTL_CY"  # as a person would, to go on
  fi
  Keys ctrl+a
  xdotool type --delay 15 "$(WinPath "$target")"
  sleep 0.3
  Keys Return
  CheckSaved "Save writes the typed name plus \".bmp\": an independent reader sees in it the area inside the band" \
    "$target.bmp"
  Check "the file is a ${CW} x $CH bitmap at the display's 32 bits per pixel" \
    CapturePixels header "$target.bmp" "$CW" "$CH" 32
  [[ -e $target ]] && Fail "nothing is written under the name without extension" "$(ls -la "$target")"
  WaitNoDialog 'Save As' 3000 || { Fail "the save dialog closes"; Keys Escape; }
else
  Fail "Save opens the save dialog"
  LogWindows
fi

# SavedAs WHAT PATH [TYPED] [BUTTON]: a save (through BUTTON, or keys such as alt+s) of the
# full name, or TYPED, another form of it; PATH.bmp must then be the capture, and nothing else
# is written beside it.
SavedAs() {
  local what=$1 target=$2 typed=${3:-$(WinPath "$2")}
  SaveAs "$typed" "${4:-&Save}" || return
  CheckSaved "$what: the file has exactly that name plus \".bmp\" and holds the capture" "$target.bmp"
  CheckEq "$what: nothing else is written in its folder" "${target##*/}.bmp" "$(ls -A "${target%/*}")"
  WaitNoDialog 'Save As' 3000 || { Fail "$what: the save dialog closes"; Keys Escape; }
  Check "$what: the program goes on" SnapvaneRunning
}

# Names outside any ANSI code page: Cyrillic, CJK and a character beyond the BMP, in the folder
# and in the name; the dialog opened with Alt+S ("&Save").
unicodeFolder=$E2E_DIR/'Снимки 截图 📷'
mkdir -p "$unicodeFolder"
SavedAs "a Unicode name, Save by Alt+S" "$unicodeFolder/кадр 图片 🙂" "" alt+s
# A folder whose path is longer than the classic 260 characters (the system here allows it).
longFolder=$E2E_DIR/long/$(printf 'L%.0s' {1..120})/$(printf 'M%.0s' {1..100})
mkdir -p "$longFolder"
SavedAs "a path of more than 260 characters" "$longFolder/shot"
# The same, as Explorer's "Copy as path" gives it: in double quotes.
mkdir -p "$longFolder/pasted"
SavedAs "a quoted path of more than 260 characters" "$longFolder/pasted/shot" "\"$(WinPath "$longFolder/pasted/shot")\""

# ---- the file type chosen in the dialog, and the question before a file is replaced ------
# ChooseType FROM TO: in the open save dialog's list of types, which shows FROM, the type TO
# chosen (a click opens the list; Home, Down to the type, Enter).
readonly kFileTypes=('Bitmaps (*.bmp)' 'JPEG Image File (*.jpg)' 'Compuserve GIF (*.gif)')
ChooseType() {
  local type
  eval "$(CtlProbe ctl 'Save As' ComboBox "$1")" && Click "$CTL_CX" "$CTL_CY"
  Keys Home
  for type in "${kFileTypes[@]}"; do
    [[ $type == "$2" ]] && break
    Keys Down
  done
  Keys Return
  eval "$(CtlProbe ctl 'Save As' ComboBox "$2")" && [[ $CTL_HWND != 0x0 ]] ||
    Fail "\"$2\" chosen in the save dialog's list of types"
}
types=$E2E_DIR/types
mkdir -p "$types"
readonly kEarlier="an earlier file, not to be replaced"
printf '%s\n' "$kEarlier" >"$types/old.bmp"

OpenSaveDialog
ChooseType 'Bitmaps (*.bmp)' 'JPEG Image File (*.jpg)'
NameInSaveDialog "$(WinPath "$types/typed")"
CheckSaved "the type \"JPEG Image File (*.jpg)\": the typed name plus \".jpg\", holding the capture" "$types/typed.jpg"
Check "... as a ${CW} x $CH bitmap all the same" CapturePixels header "$types/typed.jpg" "$CW" "$CH" 32
WaitNoDialog 'Save As' 3000 || { Fail "the save dialog closes"; Keys Escape; }

# The name of an existing file typed: the dialog asks first. No: back in the dialog, nothing
# written; Yes: the name plus the type's extension written, the file named left as it was.
OpenSaveDialog
eval "$(CtlProbe ctl 'Save As' ComboBox 'JPEG Image File (*.jpg)')"
CheckEq "the dialog opens with the type chosen last" 'JPEG Image File (*.jpg)' "$CTL_TEXT"
# Answer WHAT KEY: the save dialog asks before it replaces the file (a box it owns, with Yes
# and No, whose title and text are the system's: GetSaveFileName's OFN_OVERWRITEPROMPT); the
# key y or n answers it.
Answer() {
  WaitQuestion 'Save As' 5000 || { Fail "$1: the save dialog asks first" "$(LogWindows)"; return 1; }
  CheckEq "$1: the save dialog asks first" "&Yes|&No: ... exists ..." "$DLG_BUTTONS: ${DLG_TEXT//*exists*/... exists ...}"
  Keys "$2"
}
NameInSaveDialog "$(WinPath "$types/old.bmp")"
Answer "the name of an existing file typed, No" n
# Back in the dialog, which takes the name again: nothing was written meanwhile.
if WaitDialog 'Save As' 3000 && eval "$(CtlProbe ctl 'Save As' Edit '*' 0)" && [[ $CTL_ENABLED == 1 ]]; then
  Ok "... No: back in the save dialog"
else
  Fail "... No: back in the save dialog" "$(LogWindows)"
fi
CheckEq "... and nothing is written" "old.bmp typed.jpg" "$(ls "$types" | tr '\n' ' ' | sed 's/ $//')"
Keys Return
Answer "the same name again, Yes" y
CheckSaved "... Yes: the name plus the type's \".jpg\" holds the capture" "$types/old.bmp.jpg"
CheckEq "... and the file named in the dialog stays as it was" "$kEarlier" "$(cat "$types/old.bmp")"
WaitNoDialog 'Save As' 3000 || { Fail "the save dialog closes"; Keys Escape; }

# "old" with the first type: no file of that name, so no question, and old.bmp is replaced.
OpenSaveDialog
ChooseType 'JPEG Image File (*.jpg)' 'Bitmaps (*.bmp)'
NameInSaveDialog "$(WinPath "$types/old")"
WaitNoDialog 'Save As' 5000 || { Fail "the name without extension: no question" "$(LogWindows)"; Keys Escape; }
for ((i = 0; i < 50; i++)); do [[ $(head -c 2 "$types/old.bmp") == BM ]] && break; sleep 0.1; done  # a bitmap now
CheckSaved "... old.bmp is replaced by the capture" "$types/old.bmp"

# ---- Print on the simple page (Alt+P, "&Print"), on the default printer --------------------
# The environment's default printer is a private CUPS PDF printer.
simpleW=$CW simpleH=$CH
rm -f "$WINE_ENV_PDF_DIR"/*.pdf
Keys alt+p
CheckPrintout "Alt+P (\"&Print\")" "$CW" "$CH" "$CW" "$CH" "$OX" "$OY"

# ---- the countdown page's Save and Print -------------------------------------------------
# The frame is made larger before the countdown starts, and larger again while it counts: the
# capture is of the frame at its end, the printed size the one at its start, also for the
# simple page's Print afterwards.
ClickTab 'Advanced capturing'
ClickCtl '3 sec' ComboBox
Keys Down
Keys Return
FindCtl '5 sec' ComboBox || Fail "\"5 sec\" chosen in the interval list"
Resize 40 20
startW=$CW startH=$CH
ClickCtl 'Start countdown'
WaitWin "$kPanel" iconic 4000 >/dev/null || Fail "the countdown starts" "$(WinLine "$kPanel")"
Resize 30 24
WaitWin "$kPanel" normal 8000 >/dev/null || Fail "the countdown ends with the control panel back" "$(WinLine "$kPanel")"
sleep 0.5
ClickCaptionButton "$kPanel" caption
rm -f "$WINE_ENV_PDF_DIR"/*.pdf
Keys alt+p
CheckPrintout "the countdown page's Print (Alt+P): its capture of ${CW} x $CH, in the size at the countdown's start" \
  "$startW" "$startH" "$CW" "$CH" "$OX" "$OY"
SaveAs "$(WinPath "$E2E_DIR/saved/countdown")" Save
CheckSaved "the countdown page's Save writes its capture, ${CW} x $CH" "$E2E_DIR/saved/countdown.bmp"
WaitNoDialog 'Save As' 3000 || { Fail "the save dialog closes"; Keys Escape; }
ClickTab 'Simple capturing'
rm -f "$WINE_ENV_PDF_DIR"/*.pdf
ClickCtl '&Print'
CheckPrintout "then the simple page's Print: its own capture, in the size at the countdown's start" \
  "$startW" "$startH" "$simpleW" "$simpleH" "$OX" "$OY"
MoveFrame 20 16
CaptureGeometry
ClickCaptionButton "$kPanel" caption
Keys alt+c
sleep 0.3
CheckPreview "Alt+C (\"&Capture bitmap\") captures the frame at its new place" 300 150
EmptyClipboard
ClickCtl 'C&opy'
ReadClipboard "$E2E_DIR/clipboard-alt-c.bmp"
Check "... all ${CW} x $CH of it" CapturePixels file "$E2E_DIR/clipboard-alt-c.bmp" "$CW" "$CH" "$OX" "$OY"

ClickCaptionButton "$kPanel" close
WaitSnapvaneExit 10 || { Fail "the program ends when the control panel is closed"; StopSnapvane; }

# ---- second run, no default printer: ENTER, space, a held clipboard, Print --------------
# A printer is installed but none is the default: the environment's spare printer, whose jobs
# land in a file. A program that printed anyway would leave a job there.
if WineEnvNoDefaultPrinter; then
  Check "a printer is installed all the same (\"$WINE_ENV_SPARE_PRINTER\")" "$WINE" reg.exe query \
    "HKLM\\System\\CurrentControlSet\\Control\\Print\\Printers\\$WINE_ENV_SPARE_PRINTER" /v Name
else
  Fail "a system with a printer but no default printer"
fi
StartCapturePair
WinInfo "$kFrame"
# A smaller frame: the grip dragged up and left, 200 x 120 inside the band.
Drag $((WIN_X + WIN_W - 3)) $((WIN_Y + WIN_H - 3)) $((WIN_X + WIN_W - 3 - (WIN_W - 212))) \
  $((WIN_Y + WIN_H - 3 - (WIN_H - 132)))
CaptureGeometry
CheckEq "the frame is resized to a capture of 200 x 120" "200x120" "${CW}x$CH"
ClickCaptionButton "$kPanel" caption
Keys Return
sleep 0.3
CheckEq "ENTER on the control panel captures: Copy, Save and Print enabled" "1 1 1" "$(ButtonsEnabled)"
CheckPreview "ENTER: the preview shows the new capture whole" "$CW" "$CH"
ClickCtl 'C&opy'
ReadClipboard "$E2E_DIR/clipboard-enter.bmp"
Check "Copy puts the ${CW} x $CH capture on the clipboard" \
  CapturePixels file "$E2E_DIR/clipboard-enter.bmp" "$CW" "$CH" "$OX" "$OY"
firstW=$CW firstH=$CH firstX=$OX firstY=$OY

# The space key on the control panel: held down it does nothing (for longer than a capture
# takes after the release), released it captures; the frame moved and a little larger first.
MoveFrame 24 18
Resize 40 20
ClickCaptionButton "$kPanel" caption
xdotool keydown space
sleep 1
newX=$OX newY=$OY
OX=$firstX OY=$firstY
CheckPreview "the space key held down on the control panel: no capture yet" "$firstW" "$firstH"
OX=$newX OY=$newY
xdotool keyup space
sleep 0.3
CheckPreview "... released: the control panel captures the frame's new area (${CW} x $CH)" "$CW" "$CH"

# The space key with the frame focused captures too: the frame larger again first.
Resize 20 10
Click $((WIN_X + 100)) $((WIN_Y + 2))  # the top band: the frame takes the focus
Keys space
sleep 0.3
CheckPreview "the space key on the focused frame captures its new area (${CW} x $CH)" "$CW" "$CH"

# Another program holds the clipboard: Copy reports it, and the clipboard keeps what it had.
"$WINE" "$CTLPROBE" holdclip 5 >"$E2E_DIR/holdclip.out" 2>&1 &
holder=$!
Track "$holder"
for ((i = 0; i < 50; i++)); do grep -q CLIPBOARD_HELD "$E2E_DIR/holdclip.out" 2>/dev/null && break; sleep 0.1; done
ClickCtl 'C&opy'
CheckMessage "Copy while another program holds the clipboard: a message box tells it" "Cannot open clipboard."
wait "$holder"
ReadClipboard "$E2E_DIR/clipboard-held.bmp"
Check "... and the clipboard keeps the earlier capture" \
  CapturePixels file "$E2E_DIR/clipboard-held.bmp" "$firstW" "$firstH" "$firstX" "$firstY"

[[ -n ${WINE_ENV_PDF_DIR:-} ]] && rm -f "$WINE_ENV_PDF_DIR"/*.pdf
ClickCtl '&Print'
CheckMessage "Print without a default printer: a message box tells it" \
  "There is no default printer currently selected." && CheckEq "... with an OK button" "OK" "$DLG_BUTTONS"
# Wine's spooler writes a job's file as the document ends: given the time the Windows tests
# give a job asked for there by name.
if NothingWithin "${WINE_ENV_SPARE_PRINTER_OUT:-}" 5; then
  Ok "... and nothing is printed on the printer that is not the default"
else
  Fail "... and nothing is printed" "a job on the printer that is not the default: $(ls -la "$WINE_ENV_SPARE_PRINTER_OUT")"
fi
[[ -n ${WINE_ENV_PDF_DIR:-} ]] && CheckEq "... nor on the PDF printer" 0 "$(find "$WINE_ENV_PDF_DIR" -name '*.pdf' | wc -l)"
Check "the program goes on" SnapvaneRunning
CheckEq "... with Copy, Save and Print still enabled" "1 1 1" "$(ButtonsEnabled)"
