#!/bin/bash
# The run command: installs what is missing, builds Snapvane.exe and runs it under Wine until
# it ends. On the display in $DISPLAY when one answers; otherwise on a private Xvfb with Wine's
# virtual desktop, whose address is printed so that it can be looked at.
#
#   scripts/run.sh
#
# The Wine prefix is build/wine/run (fresh each run: the program keeps no state anyway).
set -u

kRoot=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly kRoot
readonly kLog=$kRoot/build/run.log

Say() { echo "[run] $*" >&2; }

# Runs "$@" with its output in the log; shows the end of the log when it fails.
Logged() {
  echo "+ $*" >>"$kLog"
  "$@" >>"$kLog" 2>&1 && return 0
  tail -n 30 "$kLog" >&2
  Say "failed: $* (log: ${kLog#"$kRoot"/})"
  return 1
}

Main() {
  cd "$kRoot" || exit 1
  mkdir -p build
  : >"$kLog"
  scripts/setup.sh || exit 1
  # shellcheck source=scripts/wine-env.sh
  source scripts/wine-env.sh
  local arch
  arch=$(WineEnvArch) || exit 1
  Say "building"
  Logged cmake --preset win32 && Logged cmake --build --preset win32 -j "$(nproc)" || exit 1
  if [[ $arch == win64 ]]; then
    # The shipped exe is 32-bit; this machine cannot run 32-bit programs, so the same sources
    # built for x86_64 run instead.
    Say "this machine cannot run 32-bit programs: running the win64 build"
    Logged cmake --preset win64 && Logged cmake --build --preset win64 -j "$(nproc)" || exit 1
  fi

  local hostDisplay=()
  if [[ -n ${DISPLAY:-} ]] && xdpyinfo >/dev/null 2>&1; then
    hostDisplay=(--host-display)
  fi
  trap 'WineEnvDown' EXIT
  trap 'exit 130' INT TERM
  WineEnvUp --name run "${hostDisplay[@]}" 2>>"$kLog" || { Say "the Wine environment did not start (log: $kLog)"; exit 1; }
  if ((${#hostDisplay[@]} == 0)); then
    Say "no display answers: Snapvane runs on the private display $DISPLAY. To look at it:"
    Say "  DISPLAY=$DISPLAY import -window root shot.png"
    Say "  DISPLAY=$DISPLAY xdotool mousemove 150 110 click 1"
    Say "It ends when its control panel is closed, or with Ctrl+C here."
  fi
  "$WINE" "build/$arch/Snapvane.exe" </dev/null
  local status=$?
  Say "Snapvane ended (status $status)"
  exit "$status"
}

Main "$@"
