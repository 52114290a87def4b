#!/bin/bash
# The benchmark command: how fast Snapvane captures and saves, how quickly it starts, how much
# memory it holds, how evenly its series ticks, whether memory and GDI objects stay flat over
# a long series and whether it wakes up while idle. Everything runs under Wine on a private 1920x1080 Xvfb screen showing a
# photo-like picture; the command-line tools a user would otherwise use and a native floor
# (XGetImage and a BMP writer, no Wine) are measured on the same screen in the same run.
#
#   scripts/bench.sh [PART...] [--rounds N] [--build-dir DIR]
#
#   PART      capture  in-process grab and save, the steps under them, the series tick, and
#                      the whole-process tools (import, scrot, xwd, the native floor)
#             startup  process start to both windows mapped, idle resident memory; against
#                      a trivial Win32 window under the same Wine, bare and with Snapvane's
#                      manifest, started in turn
#             series   60 ticks of a running 1 s series: error and drift
#             soak     10,000 series captures through the real handlers: PASS or FAIL
#             idle     wake-ups of the idle program (context switches of its threads over
#                      5 s) with the pointer resting over its windows and elsewhere; against
#                      the trivial window
#             (default: all five, then the report)
#   --rounds N         capture rounds, interleaved to spread a shared machine's load (3)
#   --starts N         start-ups of each program, interleaved (10)
#   --build-dir DIR    where the Windows programs are built (build/bench/<arch>)
#   --quick            a smoke run with few repetitions (1 round, 10 starts of each -> 3,
#                      60 ticks -> 10, 10,000 captures -> 1,000): the figures are not the goals'.
#
# Output in build/bench/: results.tsv (every figure), report.md (tables and goals),
# capture.png (chart). The exit status is non-zero when a part could not run or the soak failed.
set -u

kRoot=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly kRoot
readonly kOut=$kRoot/build/bench
readonly kScreen=1920x1080
readonly kSizes=(324x180 1280x720 1920x1080)
readonly kPython=/usr/bin/python3  # Debian's, with PIL
# ImageMagick's own import and convert, whatever else may come first in PATH.
readonly kImport=/usr/bin/import

gBuildDir=
gRounds=3
gRuns=100        # in-process captures per size and round
gProcessRuns=20  # whole-process captures per tool, size and round
gStarts=10
gTicks=60
gCaptures=10000
gIdleSeconds=5   # each idle count
gIdleSettle=3.5  # after a move: the tooltip's 0.5 s to show and 2.5 s to go are not idle
gParts=()
gStatus=0
gBackdropPid=

Say() { echo "[bench] $*" >&2; }

# Runs "${@:2}" and appends its RESULT lines to results.tsv; all its output goes to log $1.
Measure() {
  local log=$kOut/logs/$1 out status
  shift
  out=$(mktemp)
  echo "+ $*" >>"$log"
  "$@" >"$out" 2>>"$log"
  status=$?
  cat "$out" >>"$log"
  grep '^RESULT' "$out" | cut -f2- >>"$kOut/results.tsv"
  rm -f "$out"
  ((status == 0)) || Say "failed ($status): $* (log: ${log#"$kRoot"/})"
  return $status
}

Result() { printf '%s\t%s\n' "$1" "$2" >>"$kOut/results.tsv"; }

Build() {
  local arch=$1 log=$kOut/logs/build.log
  gBuildDir=${gBuildDir:-$kOut/$arch}
  local toolchain=$kRoot/cmake/toolchain-i686-w64-mingw32.cmake
  [[ $arch == win64 ]] && toolchain=$kRoot/cmake/toolchain-x86_64-w64-mingw32.cmake
  Say "building the $arch programs in ${gBuildDir#"$kRoot"/}"
  { cmake -S "$kRoot" -B "$gBuildDir" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
      -DSNAPVANE_TESTS=OFF &&
      cmake --build "$gBuildDir" --parallel "$(nproc)" --target Snapvane snapvane_bench trivial_window trivial_manifest winprobe \
        ctlprobe; } \
    >>"$log" 2>&1 || { Say "build failed, see $log"; return 1; }
  local tool
  mkdir -p "$kOut/native"
  for tool in xgrab proctime mapwatch; do
    g++ -std=c++20 -O2 -Wall "$kRoot/bench/native/$tool.cpp" -o "$kOut/native/$tool" -lX11 >>"$log" 2>&1 ||
      { Say "building $tool failed, see $log"; return 1; }
  done
}

# The picture on the screen, shown before anything else so that it lies under every window
# shown later; it ends with the environment (or after an hour).
ShowBackdrop() {
  local out=$kOut/logs/backdrop.log
  "$WINE" "$gBuildDir/bench/snapvane_bench.exe" backdrop 3600 </dev/null >"$out" 2>&1 &
  gBackdropPid=$!
  local i
  for ((i = 0; i < 300; i++)); do
    grep -q BACKDROP_READY "$out" 2>/dev/null && { sleep 1; return 0; }
    sleep 0.1
  done
  Say "the backdrop did not show (log: $out)"
  return 1
}

# The area of a size, centred on the screen, as "X Y W H".
Area() {
  local w=${1%x*} h=${1#*x} sw=${kScreen%x*} sh=${kScreen#*x}
  echo $(((sw - w) / 2)) $(((sh - h) / 2)) "$w" "$h"
}

CapturePart() {
  local files=$kOut/files bench=$gBuildDir/bench/snapvane_bench.exe native=$kOut/native
  mkdir -p "$files"
  local round size x y w h
  for ((round = 1; round <= gRounds; round++)); do
    Say "capture round $round of $gRounds"
    for size in "${kSizes[@]}"; do
      read -r x y w h < <(Area "$size")
      Measure capture.log "$WINE" "$bench" grab --runs "$gRuns" --out "$files" "$size" || return 1
      Measure capture.log "$native/xgrab" --runs "$gRuns" "$x" "$y" "$w" "$h" "$files/floor-$size.bmp" || return 1
      Measure capture.log "$native/proctime" --name "process.floor.$size" --runs "$gProcessRuns" -- \
        "$native/xgrab" "$x" "$y" "$w" "$h" "$files/floor-process-$size.bmp" || return 1
      Measure capture.log "$native/proctime" --name "process.import.$size" --runs "$gProcessRuns" -- \
        "$kImport" -silent -window root -crop "${w}x$h+$x+$y" "BMP3:$files/import-$size.bmp" || return 1
      if command -v scrot >/dev/null; then
        Measure capture.log "$native/proctime" --name "process.scrot.$size" --runs "$gProcessRuns" -- \
          scrot --overwrite --autoselect "$x,$y,$w,$h" "$files/scrot-$size.bmp" || return 1
      fi
      # xwd has no way to take a part of the screen: the whole root window only.
      if [[ $size == "$kScreen" ]] && command -v xwd >/dev/null; then
        Measure capture.log "$native/proctime" --name "process.xwd.$size" --runs "$gProcessRuns" -- \
          xwd -root -silent -out "$files/xwd-$size.xwd" || return 1
      fi
    done
  done
  Say "the steps of a grab and a save; the series tick through the real handler"
  Measure anatomy.log "$WINE" "$bench" anatomy --runs "$((gRuns / 2))" --out "$files" "${kSizes[@]}" || return 1
  Measure tick.log "$WINE" "$bench" tick --runs "$gRuns" --out "$files" "${kSizes[@]}" || return 1
  # The program and the floor saw the same screen: their full-screen files hold the same pixels.
  "$kPython" "$kRoot/bench/report.py" same-pixels "$files/snapvane-$kScreen.bmp" "$files/floor-$kScreen.bmp" \
    >>"$kOut/results.tsv" || return 1
}

StartupPart() {
  local bench=$gBuildDir/bench native=$kOut/native run
  local snapvane=("$native/mapwatch" --key startup.snapvane --title "| Tolvard | Snapvane | 1.1 |" --title "SV - Border"
    -- "$WINE" "$gBuildDir/Snapvane.exe")
  local trivial=("$native/mapwatch" --key startup.trivial --title "Trivial window" -- "$WINE" "$bench/trivial_window.exe")
  # The same with Snapvane's libraries loaded first: how much of the difference they are.
  local trivialDlls=("$native/mapwatch" --key startup.trivial_dlls --title "Trivial window"
    -- "$WINE" "$bench/trivial_window.exe" --dlls)
  # And the same window started with Snapvane's manifest (activation context, comctl32 6 and
  # its theme, dpi awareness) and comctl32 loaded: the yardstick with what the
  # manifest asks of Wine before and after the entry point.
  local trivialManifest=("$native/mapwatch" --key startup.trivial_manifest --title "Trivial window"
    -- "$WINE" "$bench/trivial_manifest.exe" --dlls)
  Say "start-up: one unmeasured start of each (warm Wine), then $gStarts of each in turn"
  (cd "$kOut/files" && "${snapvane[@]}" && "${trivial[@]}" && "${trivialDlls[@]}" && "${trivialManifest[@]}") \
    >>"$kOut/logs/startup.log" 2>&1 ||
    { Say "a start did not show its windows (log: build/bench/logs/startup.log)"; return 1; }
  # Inside the process: the entry point's steps, each timed, in a new process every time.
  for ((run = 1; run <= gStarts; run++)); do
    Measure startup.log "$WINE" "$bench/snapvane_bench.exe" forms --out "$kOut/files" || return 1
  done
  for ((run = 1; run <= gStarts; run++)); do
    (cd "$kOut/files" && Measure startup.log "${snapvane[@]}" && Measure startup.log "${trivial[@]}" &&
      Measure startup.log "${trivialDlls[@]}" && Measure startup.log "${trivialManifest[@]}") || return 1
  done
}

SeriesPart() {
  Say "series: $gTicks ticks at 1 s"
  mkdir -p "$kOut/files/series"
  Measure series.log "$WINE" "$gBuildDir/bench/snapvane_bench.exe" series --ticks "$gTicks" --out "$kOut/files/series"
}

SoakPart() {
  Say "soak: $gCaptures series captures through the real handlers"
  rm -rf "$kOut/files/soak"
  mkdir -p "$kOut/files/soak"
  Measure soak.log "$WINE" "$gBuildDir/bench/snapvane_bench.exe" soak --captures "$gCaptures" --warmup 200 \
    --out "$kOut/files/soak"
  local status=$?
  grep -E '^(# |PASS|FAIL)' "$kOut/logs/soak.log" | sed 's/^# /  /' >&2
  Result soak.pass $((status == 0))
  return $status
}

# Context switches, voluntary and involuntary, of all threads of process $1: each wake-up of
# a thread costs some.
Switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ { n += $2 } END { print n + 0 }'; }

# IdleCount KEY PID X Y: the pointer moved to (X, Y) in two steps (a move inside a window, as a
# hand makes), then the process's switches over gIdleSeconds once it has settled.
IdleCount() {
  local key=$1 pid=$2 before count
  xdotool mousemove "$(($3 - 4))" "$(($4 - 2))"
  sleep 0.2
  xdotool mousemove "$3" "$4"
  sleep "$gIdleSettle"
  before=$(Switches "$pid")
  sleep "$gIdleSeconds"
  count=$(($(Switches "$pid") - before))
  Result "idle.$key" "$count"
  Say "  $key (pointer at $3,$4): $count switches"
}

# Starts "$@" in the background in the files folder; its PID in gIdlePid.
IdleStart() {
  (cd "$kOut/files" && exec "$@") </dev/null >>"$kOut/logs/idle.log" 2>&1 &
  gIdlePid=$!
}

IdleStop() {
  kill "$gIdlePid" 2>/dev/null
  wait "$gIdlePid" 2>/dev/null
}

IdlePart() {
  local probe=$gBuildDir/tests/e2e panel='| Tolvard | Snapvane | 1.1 |' elsewhere=(1900 300) px py pw
  local WIN_X WIN_Y WIN_W WIN_H WIN_CLIENT_X WIN_CLIENT_Y WIN_CLIENT_W WIN_CLIENT_H CTL_CX CTL_CY TAB_CX TAB_CY
  Say "idle: wake-ups over ${gIdleSeconds} s with the pointer still, the trivial window and Snapvane"
  Result idle.seconds "$gIdleSeconds"
  # Without the backdrop, which is topmost for Windows: over it, every point would be outside
  # the program as Windows sees it, and the pointer would never rest over the program.
  IdleEndBackdrop
  IdleStart "$WINE" "$gBuildDir/bench/trivial_window.exe"
  eval "$("$WINE" "$probe/winprobe.exe" wait "Trivial window" normal 30000)" ||
    { Say "the trivial window did not show"; IdleStop; return 1; }
  IdleCount trivial.elsewhere "$gIdlePid" "${elsewhere[@]}"
  IdleCount trivial.window "$gIdlePid" $((WIN_CLIENT_X + WIN_CLIENT_W / 2)) $((WIN_CLIENT_Y + WIN_CLIENT_H / 2))
  IdleStop

  IdleStart "$WINE" "$gBuildDir/Snapvane.exe"
  eval "$("$WINE" "$probe/winprobe.exe" wait "$panel" normal 30000)" ||
    { Say "Snapvane did not show"; IdleStop; return 1; }
  px=$WIN_CLIENT_X py=$WIN_CLIENT_Y pw=$WIN_CLIENT_W
  # The panel active, as after a click of the user's (comctl32's tab control lights a tab
  # under the pointer only in the active window): a click on the tab already selected.
  eval "$("$WINE" "$probe/ctlprobe.exe" tab "$panel" "Simple capturing")"
  xdotool mousemove "$TAB_CX" "$TAB_CY" click 1
  IdleCount snapvane.elsewhere "$gIdlePid" "${elsewhere[@]}"
  # The header: windowless controls on a panel, whose container waits for the pointer to leave.
  IdleCount snapvane.panel "$gIdlePid" $((px + pw / 2)) $((py + 10))
  eval "$("$WINE" "$probe/ctlprobe.exe" ctl "$panel" Button "&Capture bitmap")"
  IdleCount snapvane.button "$gIdlePid" "$CTL_CX" "$CTL_CY"
  eval "$("$WINE" "$probe/winprobe.exe" info "SV - Border")"
  IdleCount snapvane.band "$gIdlePid" $((WIN_X + 3)) $((WIN_Y + WIN_H / 2))
  # A tab that is not the selected one: comctl32 lights it and watches it with a timer.
  eval "$("$WINE" "$probe/ctlprobe.exe" tab "$panel" "Advanced capturing")"
  IdleCount snapvane.tab "$gIdlePid" "$TAB_CX" "$TAB_CY"
  # About shown (its animation plays: not idle), then left for the first page again.
  eval "$("$WINE" "$probe/ctlprobe.exe" tab "$panel" "About")"
  xdotool mousemove "$TAB_CX" "$TAB_CY" click 1
  IdleCount snapvane.about_showing "$gIdlePid" "${elsewhere[@]}"
  eval "$("$WINE" "$probe/ctlprobe.exe" tab "$panel" "Simple capturing")"
  xdotool mousemove "$TAB_CX" "$TAB_CY" click 1
  IdleCount snapvane.after_about "$gIdlePid" "${elsewhere[@]}"
  IdleCount snapvane.panel_after_about "$gIdlePid" $((px + pw / 2)) $((py + 10))
  IdleStop
  ShowBackdrop  # for the parts that follow
}

IdleEndBackdrop() {
  [[ -n $gBackdropPid ]] || return 0
  kill "$gBackdropPid" 2>/dev/null
  wait "$gBackdropPid" 2>/dev/null
  gBackdropPid=
}

MachineFacts() {
  {
    echo "cpu	$(lscpu | sed -n 's/^Model name: *//p' | head -n 1)"
    echo "cores	$(nproc)"
    echo "memory	$(free -g | awk '/^Mem:/ { print $2 " GiB" }')"
    echo "kernel	$(uname -sr)"
    echo "os	$(. /etc/os-release && echo "$PRETTY_NAME")"
    echo "wine	$("$WINE" --version 2>/dev/null) ($SNAPVANE_WINE_ARCH)"
    echo "screen	$kScreen x 24 bits, Xvfb, Wine virtual desktop"
    echo "date	$(date -u '+%Y-%m-%d %H:%M UTC')"
    echo "commit	$(git -C "$kRoot" rev-parse --short HEAD 2>/dev/null)"
  } >"$kOut/machine.tsv"
}

Cleanup() {
  trap - EXIT INT TERM
  if [[ -n $gBackdropPid ]]; then
    kill "$gBackdropPid" 2>/dev/null
    wait "$gBackdropPid" 2>/dev/null
  fi
  WineEnvDown >>"$kOut/logs/wine-env.log" 2>&1
}

Main() {
  while (($#)); do
    case $1 in
      capture | startup | series | soak | idle) gParts+=("$1") ;;
      --rounds) gRounds=$2; shift ;;
      --starts) gStarts=$2; shift ;;
      --quick) gRounds=1 gRuns=20 gProcessRuns=5 gStarts=3 gTicks=10 gCaptures=1000 ;;
      --build-dir) gBuildDir=$(realpath -m "$2"); shift ;;
      -h | --help) sed -n '2,25p' "$0"; exit 0 ;;
      *) echo "unknown argument $1" >&2; exit 2 ;;
    esac
    shift
  done
  ((${#gParts[@]})) || gParts=(capture startup series soak idle)

  mkdir -p "$kOut/logs" "$kOut/files"
  rm -f "$kOut"/logs/*.log "$kOut/results.tsv"
  "$kRoot/scripts/setup.sh" >"$kOut/logs/setup.log" 2>&1 || { Say "setup failed, see build/bench/logs/setup.log"; exit 1; }
  # shellcheck source=scripts/wine-env.sh
  source "$kRoot/scripts/wine-env.sh"
  local arch
  arch=$(WineEnvArch) || exit 1
  Build "$arch" || exit 1
  trap Cleanup EXIT
  trap 'Say interrupted; exit 130' INT TERM
  WineEnvUp --name bench --size "$kScreen" >>"$kOut/logs/wine-env.log" 2>&1 ||
    { Say "the Wine environment did not come up (build/bench/logs/wine-env.log)"; exit 1; }
  MachineFacts
  Result load.start "$(cut -d' ' -f1 /proc/loadavg)"
  ShowBackdrop || exit 1

  local part
  for part in "${gParts[@]}"; do
    case $part in
      capture) CapturePart || gStatus=1 ;;
      startup) StartupPart || gStatus=1 ;;
      series) SeriesPart || gStatus=1 ;;
      soak) SoakPart || gStatus=1 ;;
      idle) IdlePart || gStatus=1 ;;
    esac
  done
  Result load.end "$(cut -d' ' -f1 /proc/loadavg)"
  Cleanup
  "$kPython" "$kRoot/bench/report.py" report "$kOut" || gStatus=1
  [[ -f $kOut/report.md ]] && cat "$kOut/report.md"
  exit "$gStatus"
}

Main "$@"
