#!/bin/bash
# A capture and what a person gets from it: with a window of known pixels under the frame,
# "Capture bitmap" shows exactly the area inside the red band in the preview and enables
# Copy, Save and Print; Copy puts that picture on the clipboard (read by a native X client),
# Save writes it through the save dialog as a bitmap file named as typed plus ".bmp", Print
# gives a one-page job "Snapvane bitmap" with the picture stretched into its print rectangle;
# names in Cyrillic, CJK and beyond the BMP, and a folder past 260 characters, save all the same.
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
# SimplePanel, which holds the preview, from the Capture button (layout places: 213, 9, 337 x
# 185 and 16, 104).
readonly kPreviewDx=$((213 - 16)) kPreviewDy=$((9 - 104)) kPreviewW=337 kPreviewH=185

# CaptureGeometry: from the frame's window, the capture's size CW x CH and its top-left
# corner OX, OY in the backdrop's coordinates.
CaptureGeometry() {
  WinInfo "$kFrame"
  CW=$((WIN_W - 12)) CH=$((WIN_H - 12))
  OX=$((WIN_X + 6 - gBackdropX)) OY=$((WIN_Y + 6 - gBackdropY))
}

# CheckPreview WHAT W H: W x H pixels of the capture show from the preview's top-left corner.
gPreviewArea=
CheckPreview() {
  local shot
  if [[ -z $gPreviewArea ]]; then
    FindCtl '&Capture bitmap' || { Fail "$1: the Capture button is found"; return; }
    gPreviewArea="$((CTL_X + kPreviewDx)) $((CTL_Y + kPreviewDy)) $kPreviewW $kPreviewH"
  fi
  MoveAway
  sleep 0.3
  shot=$(Screenshot "preview-$2x$3")
  # shellcheck disable=SC2086  # the area's four numbers
  Check "$1" CapturePixels find "$shot" $gPreviewArea "$2" "$3" "$OX" "$OY"
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

ClickCtl 'C&opy'
ReadClipboard "$E2E_DIR/clipboard.bmp"
Check "Copy: the clipboard holds the area inside the red band, ${CW} x $CH, pixel for pixel" \
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
  if WaitFile "$target.bmp" 10; then
    Ok "Save writes the typed name plus \".bmp\""
    Check "the file is a ${CW} x $CH bitmap at the display's 32 bits per pixel" \
      CapturePixels header "$target.bmp" "$CW" "$CH" 32
    Check "an independent reader sees in it the area inside the red band" \
      CapturePixels file "$target.bmp" "$CW" "$CH" "$OX" "$OY"
  else
    Fail "Save writes the typed name plus \".bmp\"" "$(ls -la "${target%/*}")"
    LogWindows
  fi
  [[ -e $target ]] && Fail "nothing is written under the name without extension" "$(ls -la "$target")"
  WaitNoDialog 'Save As' 3000 || { Fail "the save dialog closes"; Keys Escape; }
else
  Fail "Save opens the save dialog"
  LogWindows
fi

# SaveAs WHAT PATH [TYPED]: Save, the full name (or TYPED, another form of it) typed into the
# dialog's file name box, Enter; PATH.bmp must then be the capture, and nothing else is
# written beside it.
SaveAs() {
  local what=$1 target=$2 typed=${3:-$(WinPath "$2")}
  ClickCtl '&Save' || return
  if ! WaitDialog 'Save As' 10000; then
    Fail "$what: Save opens the save dialog"
    return
  fi
  sleep 0.3
  Keys ctrl+a
  TypeText "$typed"
  eval "$(CtlProbe ctl 'Save As' Edit '*' 0)"
  CheckEq "$what: the name shows in the file name box as typed" "$typed" "$CTL_TEXT"
  Keys Return
  if WaitFile "$target.bmp" 10; then
    Check "$what: the file has exactly that name plus \".bmp\" and holds the capture" \
      CapturePixels file "$target.bmp" "$CW" "$CH" "$OX" "$OY"
    CheckEq "$what: nothing else is written in its folder" "${target##*/}.bmp" "$(ls -A "${target%/*}")"
  else
    Fail "$what: Save writes the typed name plus \".bmp\"" "$(ls -la "${target%/*}")"
    LogWindows
  fi
  WaitNoDialog 'Save As' 3000 || { Fail "$what: the save dialog closes"; Keys Escape; }
  Check "$what: the program goes on" SnapvaneRunning
}

# Names outside any ANSI code page: Cyrillic, CJK and a character beyond the BMP, in the folder
# and in the name.
unicodeFolder=$E2E_DIR/'Снимки 截图 📷'
mkdir -p "$unicodeFolder"
SaveAs "a Unicode name" "$unicodeFolder/кадр 图片 🙂"
# A folder whose path is longer than the classic 260 characters (the system here allows it).
longFolder=$E2E_DIR/long/$(printf 'L%.0s' {1..120})/$(printf 'M%.0s' {1..100})
mkdir -p "$longFolder"
SaveAs "a path of more than 260 characters" "$longFolder/shot"
# The same, as Explorer's "Copy as path" gives it: in double quotes.
mkdir -p "$longFolder/pasted"
SaveAs "a quoted path of more than 260 characters" "$longFolder/pasted/shot" "\"$(WinPath "$longFolder/pasted/shot")\""

# Print, on the private CUPS PDF printer, the default printer of the test environment.
if [[ -n ${WINE_ENV_PDF_DIR:-} ]]; then
  rm -f "$WINE_ENV_PDF_DIR"/*.pdf
  ClickCtl '&Print'
  pdf=
  for ((i = 0; i < 150; i++)); do
    pdf=$(find "$WINE_ENV_PDF_DIR" -name '*.pdf' -print -quit)
    [[ -n $pdf ]] && WaitFile "$pdf" 5 && break
    sleep 0.1
  done
  if [[ -n $pdf ]]; then
    info=$(pdfinfo "$pdf")
    CheckEq "Print gives one job titled \"Snapvane bitmap\"" "Snapvane bitmap" "$(sed -n 's/^Title: *//p' <<<"$info")"
    CheckEq "... of one page" 1 "$(sed -n 's/^Pages: *//p' <<<"$info")"
    CheckEq "... and no more jobs" 1 "$(find "$WINE_ENV_PDF_DIR" -name '*.pdf' | wc -l)"
    # The page in printer pixels: rendered at the printer's resolution (its PPD's default);
    # the queue's printable area is the whole page, so page and printer pixels coincide.
    dpi=$(sed -n 's/^\*DefaultResolution: *\([0-9]*\)dpi.*/\1/p' "$WINE_ENV_STATE"/cups/etc/ppd/*.ppd | head -n 1)
    dpi=${dpi:-300}
    pdftoppm -r "$dpi" -f 1 -l 1 -png "$pdf" "$E2E_DIR/page"
    # From (100, 100) to 6.6 times the capture's size, rounded.
    Check "the picture fills the print rectangle (100,100)-($(((66 * CW + 5) / 10)),$(((66 * CH + 5) / 10))) at $dpi dpi, every pixel in place" \
      CapturePixels print "$E2E_DIR/page-1.png" 100 100 $(((66 * CW + 5) / 10)) $(((66 * CH + 5) / 10)) \
      "$CW" "$CH" "$OX" "$OY"
  else
    Fail "Print gives a job on the default printer" "no PDF in $WINE_ENV_PDF_DIR"
  fi
else
  Fail "the test environment has its PDF printer"
fi

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

# The space key with the frame focused captures too: the frame a little larger first.
WinInfo "$kFrame"
Drag $((WIN_X + WIN_W - 3)) $((WIN_Y + WIN_H - 3)) $((WIN_X + WIN_W - 3 + 40)) $((WIN_Y + WIN_H - 3 + 20))
CaptureGeometry
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
if WaitDialog "$kAppTitle" 5000; then
  CheckEq "Copy while another program holds the clipboard: a message box tells it" "Cannot open clipboard." "$DLG_TEXT"
  Keys Return
  WaitNoDialog "$kAppTitle" 3000 || Fail "Enter closes the message box"
else
  Fail "Copy while another program holds the clipboard: a message box tells it"
  LogWindows
fi
wait "$holder"
ReadClipboard "$E2E_DIR/clipboard-held.bmp"
Check "... and the clipboard keeps the earlier capture" \
  CapturePixels file "$E2E_DIR/clipboard-held.bmp" "$firstW" "$firstH" "$firstX" "$firstY"

[[ -n ${WINE_ENV_PDF_DIR:-} ]] && rm -f "$WINE_ENV_PDF_DIR"/*.pdf
ClickCtl '&Print'
if WaitDialog "$kAppTitle" 5000; then
  CheckEq "Print without a default printer: a message box tells it" \
    "There is no default printer currently selected." "$DLG_TEXT"
  CheckEq "... with an OK button" "OK" "$DLG_BUTTONS"
  Keys Return
  WaitNoDialog "$kAppTitle" 3000 || Fail "Enter closes the message box"
else
  Fail "Print without a default printer: a message box tells it"
  LogWindows
fi
sleep 0.5
if [[ -e ${WINE_ENV_SPARE_PRINTER_OUT:-} ]]; then
  Fail "... and nothing is printed" "a job on the printer that is not the default: $(ls -la "$WINE_ENV_SPARE_PRINTER_OUT")"
else
  Ok "... and nothing is printed on the printer that is not the default"
fi
[[ -n ${WINE_ENV_PDF_DIR:-} ]] && CheckEq "... nor on the PDF printer" 0 "$(find "$WINE_ENV_PDF_DIR" -name '*.pdf' | wc -l)"
Check "the program goes on" SnapvaneRunning
CheckEq "... with Copy, Save and Print still enabled" "1 1 1" "$(ButtonsEnabled)"
