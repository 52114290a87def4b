# shellcheck shell=bash
# Helpers for the end-to-end tests: each tests/e2e/test_*.sh sources this file, starts the real
# Snapvane.exe in the environment of scripts/wine-env.sh, drives it as a person would (xdotool)
# and checks what a person would see (screenshots) and what Windows itself says about the
# windows (winprobe). scripts/test.sh runs them all; one alone (with the build and the
# environment it needs):  scripts/test.sh --e2e window_pair
#
# Counting: Ok / Fail / Check / CheckEq print "ok ..." or "FAIL ..." lines; at exit the counts
# go to $E2E_RESULT_FILE as "PASSED FAILED", and every process the test started is ended.
set -u

kE2eRoot=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
readonly kE2eRoot
readonly kE2eTools=$kE2eRoot/tests/e2e/tools
# Debian's python3, which has PIL (another python3 may come first in PATH).
readonly kPython=/usr/bin/python3
# Between two input steps: Wine handles X events asynchronously, and a click that arrives
# before the window has processed the previous one is lost or goes to the wrong window.
readonly kInputPause=0.2
# The titles of the program's two windows.
readonly kPanel='| Tolvard | Snapvane | 1.1 |'
readonly kFrame='SV - Border'

E2E_NAME=$(basename "$0" .sh)
E2E_DIR=${E2E_LOG_DIR:-$kE2eRoot/build/test-logs/e2e}/$E2E_NAME
rm -rf "$E2E_DIR"
mkdir -p "$E2E_DIR"

_gE2ePassed=0
_gE2eFailed=0
_gE2ePids=()
SNAPVANE_PID=
SNAPVANE_STARTED=

if [[ -z ${WINEPREFIX:-} || -z ${WINE:-} || -z ${DISPLAY:-} ]]; then
  echo "no test environment: run this through scripts/test.sh --e2e ${E2E_NAME#test_}" >&2
  exit 2
fi

Log() { printf '%s\n' "$*" | sed 's/^/  /'; }

Ok() {
  _gE2ePassed=$((_gE2ePassed + 1))
  echo "ok $1"
}

Fail() {
  _gE2eFailed=$((_gE2eFailed + 1))
  echo "FAIL $1"
  shift
  local detail
  for detail in "$@"; do printf '%s\n' "$detail" | sed 's/^/     /'; done
}

# Check DESCRIPTION COMMAND...: ok when the command succeeds; its output goes to the log.
Check() {
  local what=$1 out
  shift
  if out=$("$@" 2>&1); then
    Ok "$what"
    [[ -n $out ]] && Log "$out"
    return 0
  fi
  Fail "$what" "$out"
  return 1
}

# CheckEq DESCRIPTION EXPECTED ACTUAL
CheckEq() {
  if [[ $2 == "$3" ]]; then
    Ok "$1 ($3)"
    return 0
  fi
  Fail "$1" "expected: $2" "actual:   $3"
  return 1
}

# The end of every test: stop what it started, hand over the counts.
_E2eFinish() {
  local entry pid started
  for entry in "${_gE2ePids[@]}"; do
    read -r pid started <<<"$entry"
    if _Alive "$pid" "$started"; then
      kill "$pid" 2>/dev/null
      for _ in 1 2 3 4 5 6 7 8 9 10; do _Alive "$pid" "$started" || break; sleep 0.2; done
      _Alive "$pid" "$started" && kill -9 "$pid" 2>/dev/null
    fi
    wait "$pid" 2>/dev/null
  done
  echo "== $E2E_NAME: $_gE2ePassed passed, $_gE2eFailed failed"
  [[ -n ${E2E_RESULT_FILE:-} ]] && echo "$_gE2ePassed $_gE2eFailed" >"$E2E_RESULT_FILE"
}
trap _E2eFinish EXIT
trap 'exit 143' TERM INT

# Remembers a PID to end at the end of the test, with its process's start: once that process
# has ended, the system gives its PID to other programs (another test's, another run's), and
# none of them may be ended in its place.
Track() { _gE2ePids+=("$1 $(_StartedAt "$1")"); }

# _StartedAt PID: when the process of that PID started (clock ticks since boot, field 22 of
# its stat); nothing when there is none.
_StartedAt() {
  local stat fields
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 0
  read -ra fields <<<"${stat##*) }"
  echo "${fields[19]}"
}

# _Alive PID STARTED: the process of that PID is still the one that started then.
_Alive() { [[ -n $2 && $(_StartedAt "$1") == "$2" ]]; }

# ---- the program ------------------------------------------------------------------------

# Starts build/<preset>/Snapvane.exe (SNAPVANE_EXE) with the test folder as working folder,
# with the loader SNAPVANE_WINE (default: $WINE); its PID (the process is the wine loader
# turned Windows process) is in SNAPVANE_PID.
StartSnapvane() {
  [[ -f ${SNAPVANE_EXE:-} ]] || { Fail "Snapvane.exe exists (${SNAPVANE_EXE:-unset})"; return 1; }
  (cd "$E2E_DIR" && exec "${SNAPVANE_WINE:-$WINE}" "$SNAPVANE_EXE") </dev/null >>"$E2E_DIR/snapvane.log" 2>&1 &
  SNAPVANE_PID=$!
  SNAPVANE_STARTED=$(_StartedAt "$SNAPVANE_PID")
  Track "$SNAPVANE_PID"
  Log "started Snapvane.exe, pid $SNAPVANE_PID"
}

# StartPair: the program started, the control panel and the frame both showing; ends the test
# when it does not start.
StartPair() {
  StartSnapvane || exit 1
  if ! WaitWin "$kPanel" normal 30000 || ! WaitWin "$kFrame" normal 10000; then
    Fail "the control panel and the frame appear" "$(WinLine "$kPanel")" "$(WinLine "$kFrame")"
    LogWindows
    exit 1
  fi
}

SnapvaneRunning() { [[ -n $SNAPVANE_PID ]] && _Alive "$SNAPVANE_PID" "$SNAPVANE_STARTED"; }

# WaitSnapvaneExit SECONDS: succeeds when the process has ended within that time.
WaitSnapvaneExit() {
  local tenths=$(($1 * 10)) i
  for ((i = 0; i < tenths; i++)); do
    SnapvaneRunning || { wait "$SNAPVANE_PID" 2>/dev/null; return 0; }
    sleep 0.1
  done
  return 1
}

StopSnapvane() {
  SnapvaneRunning || return 0
  kill "$SNAPVANE_PID" 2>/dev/null
  WaitSnapvaneExit 5 || { SnapvaneRunning && kill -9 "$SNAPVANE_PID" 2>/dev/null; }
  wait "$SNAPVANE_PID" 2>/dev/null
}

# ---- windows, seen from the Win32 side -----------------------------------------------------

Probe() { "$WINE" "$WINPROBE" "$@"; }

readonly _kWinVars=(WIN_HWND WIN_X WIN_Y WIN_W WIN_H WIN_CLIENT_X WIN_CLIENT_Y WIN_CLIENT_W WIN_CLIENT_H WIN_VISIBLE
  WIN_ICONIC WIN_FOREGROUND WIN_STYLE WIN_EXSTYLE WIN_OWNER WIN_PID WIN_KEY WIN_LAYERED_FLAGS)
# Empties the WIN_* values, so that none is left from a window seen earlier.
_ForgetWin() {
  local var
  for var in "${_kWinVars[@]}"; do printf -v "$var" '%s' ''; done
}

# WinInfo TITLE: sets WIN_X WIN_Y WIN_W WIN_H WIN_CLIENT_X WIN_CLIENT_Y WIN_CLIENT_W
# WIN_CLIENT_H WIN_VISIBLE WIN_ICONIC WIN_FOREGROUND WIN_STYLE WIN_EXSTYLE WIN_OWNER WIN_PID
# WIN_KEY WIN_LAYERED_FLAGS. When there is no top-level window of that title the test fails
# there, and the values are empty: a window that vanished is not compared through what was
# last seen of another.
WinInfo() {
  _WinInfo "$1" && return 0
  Fail "the window \"$1\" is there"
  return 1
}
_WinInfo() {
  local out
  _ForgetWin
  out=$(Probe info "$1") || return 1
  eval "$out"
}

# WaitWin TITLE STATE [MS]: until the window is exists|visible|normal|iconic|hidden|gone,
# 10 s at most by default; sets the WIN_* of WinInfo when the window is there.
WaitWin() {
  local out status
  _ForgetWin
  out=$(Probe wait "$1" "$2" "${3:-10000}")
  status=$?
  eval "$out"
  return $status
}

# Describes a window in one line, for the log.
WinLine() {
  _WinInfo "$1" || { echo "'$1': no such window"; return; }
  echo "'$1': ${WIN_X},${WIN_Y} ${WIN_W}x${WIN_H} visible=$WIN_VISIBLE iconic=$WIN_ICONIC" \
    "style=$WIN_STYLE ex=$WIN_EXSTYLE owner=$WIN_OWNER key=$WIN_KEY flags=$WIN_LAYERED_FLAGS"
}

# HasBits VALUE MASK: all bits of MASK set in VALUE.
HasBits() { (( ($1 & $2) == $2 )); }

# ShowBackdrop X Y W H: the pattern window of winprobe at the bottom of the z-order. Show it
# before the windows that are to lie above it: Wine raises X windows but never lowers one, so
# on the screen a window shown later covers those shown before, whatever the z-order says.
ShowBackdrop() { _ShowPattern backdrop "$@"; }

# ShowCover X Y W H: the same pattern in a window of another program opened over the others
# (title "winprobe cover"), until CloseCover.
ShowCover() { _ShowPattern cover "$@"; }
CloseCover() {
  Probe close 'winprobe cover' >/dev/null 2>&1
  Probe wait 'winprobe cover' gone 5000 >/dev/null 2>&1
}

# _ShowPattern backdrop|cover X Y W H [SECONDS]: winprobe's pattern window, once it shows.
_ShowPattern() {
  local kind=$1 out=$E2E_DIR/$1.out
  shift
  "$WINE" "$WINPROBE" "$kind" "$@" 600 >"$out" 2>&1 &  # directly, so the PID tracked is the probe's
  Track $!
  local i
  for ((i = 0; i < 100; i++)); do
    grep -q _READY "$out" 2>/dev/null && { sleep 0.3; return 0; }
    sleep 0.1
  done
  return 1
}

# Lists every top-level window into the log (when something was not as expected).
LogWindows() { Probe list | sed 's/^/  /'; }

# ---- input, as a person gives it ---------------------------------------------------------

Click() {
  xdotool mousemove "$1" "$2"
  sleep "$kInputPause"
  xdotool click "${3:-1}"
  sleep "$kInputPause"
}

Keys() {
  xdotool key "$@"
  sleep "$kInputPause"
}

# ClickCaptionButton TITLE min|max|close|caption: where the window itself says that part is.
ClickCaptionButton() {
  local out
  out=$(Probe nchit "$1" "$2") || return 1
  eval "$out"
  Click "$HIT_X" "$HIT_Y"
}

# ClickTaskbarButton TITLE: the button of that window on the virtual desktop's taskbar.
ClickTaskbarButton() {
  local out
  out=$(Probe taskbar "$1") || return 1
  eval "$out"
  Click "$BUTTON_X" "$BUTTON_Y"
}

# ClickClient TITLE X Y: a point of the window's client area (layout coordinates).
ClickClient() {
  WinInfo "$1" || return 1
  Click $((WIN_CLIENT_X + $2)) $((WIN_CLIENT_Y + $3))
}

# ---- what is on the screen -------------------------------------------------------------

# Screenshot NAME: the whole screen into $E2E_DIR/NAME.png; prints the path.
Screenshot() {
  local file=$E2E_DIR/$1.png
  import -window root "$file"
  echo "$file"
}

# Pixel PNG X Y: "R G B" of one pixel.
Pixel() {
  "$kPython" -c 'import sys; from PIL import Image
print(*Image.open(sys.argv[1]).convert("RGB").getpixel((int(sys.argv[2]), int(sys.argv[3]))))' "$@"
}

# FramePixels PNG X Y W H BACKDROP_X BACKDROP_Y: every pixel of the frame window at X,Y as
# its paint routine draws it, and its inside showing the backdrop (tools/frame_pixels.py).
FramePixels() { "$kPython" "$kE2eTools/frame_pixels.py" "$@"; }
