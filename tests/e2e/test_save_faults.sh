#!/bin/bash
# Saving where it cannot be done, as a person meets it: into a read-only folder, or over a file
# that another program holds open, the save ends with "Cannot create file <name>" and an
# earlier file of that name stays as it was; on a full disk it ends with "Stream write error"
# and leaves no part-written file; each time the message box is the program's
# ("Snapvane 1.1"), and the program goes on.
# The faults are real file systems: a read-only bind mount and a small full tmpfs, each
# mapped as a drive letter of the Wine prefix (root ignores chmod, so no mode bits).
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/lib_capture.sh
source "$(dirname "$0")/lib_capture.sh"

# shellcheck source=scripts/wine-env.sh
source "$kE2eRoot/scripts/wine-env.sh"  # its faulty file systems

# The drive letters and mounts go at the very end, once the program (whose current folder the
# save dialog may have moved onto a mount) has ended.
FaultsFinish() {
  _CaptureFinish
  WineEnvUnmountAll
}
trap FaultsFinish EXIT

# ---- the faulty folders -----------------------------------------------------------------
readonly kEarlier="an earlier file, not to be replaced"
roSource=$E2E_DIR/ro-source ro=$E2E_DIR/ro full=$E2E_DIR/full
mkdir -p "$roSource"
printf '%s\n' "$kEarlier" >"$roSource/old.bmp"
if WineEnvMount ro "$ro" "$roSource" && WineEnvMapDrive "$ro"; then
  roDrive=$WINE_ENV_DRIVE
else
  Fail "a read-only folder as a drive of its own (mount needs root)"
  exit 1
fi
# 256 KiB, of which a filler takes all but about 100 KiB: a 324 x 180 capture (233334 bytes)
# does not fit.
if WineEnvMount tmpfs "$full" 256k && WineEnvMapDrive "$full"; then
  head -c $((156 * 1024)) /dev/zero >"$full/filler" 2>/dev/null
  fullDrive=$WINE_ENV_DRIVE
else
  Fail "a small file system as a drive of its own (mount needs root)"
  exit 1
fi
Log "read-only folder: $roDrive, full disk: $fullDrive ($(df -k --output=avail "$full" | tail -n 1) KiB free)"

StartCapturePair
ClickCtl '&Capture bitmap'
sleep 0.3

# ---- a read-only folder -----------------------------------------------------------------
SaveAs "$roDrive\\old"
CheckMessage "saving into a read-only folder: \"Cannot create file\" with the full name" \
  "Cannot create file $roDrive\\old.bmp."
WaitNoDialog 'Save As' 2000 || { Fail "the save dialog has closed"; Keys Escape; }

# ---- a file that another program holds open ----------------------------------------------
locked=$E2E_DIR/locked
mkdir -p "$locked"
printf '%s\n' "$kEarlier" >"$locked/shot.bmp"
"$WINE" "$CTLPROBE" holdfile "$(WinPath "$locked/shot.bmp")" 6 >"$E2E_DIR/holdfile.out" 2>&1 &
holder=$!
Track "$holder"
for ((i = 0; i < 50; i++)); do grep -q FILE_HELD "$E2E_DIR/holdfile.out" 2>/dev/null && break; sleep 0.1; done
SaveAs "$(WinPath "$locked/shot")"
CheckMessage "saving over a file that another program holds open: \"Cannot create file\" with the full name" \
  "Cannot create file $(WinPath "$locked/shot.bmp")."
WaitNoDialog 'Save As' 2000 || { Fail "the save dialog has closed"; Keys Escape; }
CheckEq "the earlier file stays as it was" "$kEarlier" "$(cat "$locked/shot.bmp")"
CheckEq "... and nothing else is left in the folder" "shot.bmp" "$(ls "$locked")"
wait "$holder"
SaveAs "$(WinPath "$locked/shot")"
if WaitFile "$locked/shot.bmp" 5 && [[ $(stat -c %s "$locked/shot.bmp") == 233334 ]]; then
  Ok "once the file is free the same save replaces it"
else
  Fail "once the file is free the same save replaces it" "$(ls -la "$locked")"
fi

# ---- a full disk -------------------------------------------------------------------------
SaveAs "$fullDrive\\shot"
CheckMessage "saving onto a full disk: \"Stream write error\"" "Stream write error."
WaitNoDialog 'Save As' 2000 || { Fail "the save dialog has closed"; Keys Escape; }
# A failed write never leaves part of a picture behind: the half-written file is removed.
if [[ -f $full/shot.bmp ]]; then
  Fail "no part-written file is left on the full disk" "$(ls -la "$full")"
elif [[ -n $(ls -A "$full" | grep -v '^filler$') ]]; then
  Fail "no temporary file is left on the full disk" "$(ls -la "$full")"
else
  Ok "no part-written or temporary file is left on the full disk"
fi

# ---- the program goes on -----------------------------------------------------------------
rm -f "$full/filler"
SaveAs "$fullDrive\\shot"
if WaitFile "$full/shot.bmp" 5 && [[ $(stat -c %s "$full/shot.bmp") == 233334 ]]; then
  Ok "with room again the same save writes the whole file"
else
  Fail "with room again the same save writes the whole file" "$(ls -la "$full")"
fi
# ---- a removable disk, ejected after a save ----------------------------------------------
# A save must not leave the program's current folder where it saved: Windows refuses to eject
# a USB stick that a program's current folder is on until the program ends. The stick here is
# a file system of its own, whose unmount is refused as busy while the program holds it.
stick=$E2E_DIR/stick
if WineEnvMount tmpfs "$stick" 1m; then
  # As a person goes there: the stick's folder typed and opened in the dialog, then the name.
  SaveAs "$(WinPath "$stick")"
  sleep 0.8
  xdotool type --delay 15 shot
  Keys Return
  if WaitFile "$stick/shot.bmp" 5; then
    sleep 0.5
    if umount "$stick" 2>"$E2E_DIR/umount.log"; then
      Ok "a disk just saved to can be ejected, the program running on"
    else
      Fail "a disk just saved to can be ejected, the program running on" "$(cat "$E2E_DIR/umount.log")"
    fi
  else
    Fail "the save onto the removable disk writes the file" "$(ls -la "$stick")"
  fi
else
  Fail "a small file system standing for a removable disk (mount needs root)"
fi

NoMessageBox "no message box shows" 'Advanced capturing' 'Simple capturing'
Check "the program goes on" SnapvaneRunning
ClickCaptionButton "$kPanel" close
WaitSnapvaneExit 10 || StopSnapvane
