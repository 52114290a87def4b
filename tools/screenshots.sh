#!/bin/bash
# The control panel on each of its pages at 100 %, 150 % and 200 %, as docs/ shows them:
# Snapvane.exe started in a private Wine environment whose screen has that dpi (LogPixels),
# the tabs clicked as a person clicks them, and the panel's window cut out of the screen.
#
#   tools/screenshots.sh            # writes docs/panel-<scale>-<page>.png
#
# Needs the build (cmake --preset win32 && cmake --build --preset win32) and what
# scripts/setup.sh installs.
set -u
kRoot=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$kRoot" || exit 1
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
arch=$(WineEnvArch) || exit 1
buildDir=$kRoot/build/$arch
export SNAPVANE_EXE=$buildDir/Snapvane.exe
export WINPROBE=$buildDir/tests/e2e/winprobe.exe
export E2E_LOG_DIR=$kRoot/build/screenshots
WineEnvUp --name screenshots >/dev/null || exit 1
trap WineEnvDown EXIT

for scale in 100 150 200; do
  dpi=$((96 * scale / 100))
  "$WINE" reg.exe add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  SHOT_SCALE=$scale bash -c '
    source tests/e2e/lib.sh
    source tests/e2e/lib_capture.sh
    StartCapturePair
    Shoot() {  # the panel window, pointer away, into docs/panel-SCALE-NAME.png
      MoveAway
      sleep 0.7
      WinInfo "$kPanel" || exit 1
      import -window root -crop "${WIN_W}x${WIN_H}+${WIN_X}+${WIN_Y}" +repage \
        "docs/panel-$SHOT_SCALE-$1.png"
      echo "docs/panel-$SHOT_SCALE-$1.png (${WIN_W} x ${WIN_H})"
    }
    Shoot simple
    ClickTab "Advanced capturing" && ClickTab "Countdown" && Shoot countdown
    ClickTab "Capture regularily" && Shoot regularly
    ClickTab "About" && Shoot about
    StopSnapvane || true
  ' || exit 1
done
"$WINE" reg.exe delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
