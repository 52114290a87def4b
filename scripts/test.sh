#!/bin/bash
# The test command: installs what is missing, then runs the three tiers of tests and ends with
# one line "N passed, N failed" (ctest tests and end-to-end checks); the exit status is
# non-zero when anything failed or could not run.
#
#   scripts/test.sh [--tier native|win|e2e]... [--e2e NAME]...
#
#   native  the formatting check (.clang-format), the function lengths in src/
#           (tools/long_functions.py), the layering of src/ (tools/layering.py) and the pure
#           logic, built natively with AddressSanitizer and UBSan (preset native)
#   win     the sources built by clang, warnings as errors (preset clang-win32), and the
#           Windows tests, one wine process per test (preset win32, or win64 where this
#           machine cannot run 32-bit programs)
#   e2e     tests/e2e/test_*.sh (or only test_NAME.sh), which drive the real Snapvane.exe
#
# The win32 preset is always built: it is the shipped exe. Logs: build/test-logs/.
set -u

kRoot=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly kRoot
readonly kLogDir=$kRoot/build/test-logs
readonly kE2eTimeout=600

gPassed=0
gFailed=0
gTiers=()
gE2eNames=()
gWinPreset=
gE2eChild=

Say() { echo "[test] $*"; }

# Adds the counts of one step and tells how it went.
Count() {
  local what=$1 passed=$2 failed=$3
  gPassed=$((gPassed + passed))
  gFailed=$((gFailed + failed))
  Say "$what: $passed passed, $failed failed"
}

# Counts one step that could not run, and shows the end of its log.
CouldNotRun() {
  local what=$1 log=$2
  gFailed=$((gFailed + 1))
  Say "$what: FAILED (log: ${log#"$kRoot"/})"
  [[ -f $log ]] && tail -n 40 "$log" | sed 's/^/    /'
}

# Runs "${@:2}" with its output in log $1; the exit status is the command's.
Logged() {
  local log=$1
  shift
  echo "+ $*" >>"$log"
  "$@" >>"$log" 2>&1
}

# Counts the tests of a ctest log: the summary line is "NN% tests passed, F tests failed out
# of T". A run that ends without that line, or that found no test, could not run. A test that
# ran to no verdict fails, by name: a skipped one (GTEST_SKIP), which ctest counts among the
# passed, and a disabled one, which it leaves out of the count.
CountCtest() {
  local what=$1 log=$2 status=$3 buildDir=$4 line total failed name skipped=() disabled=()
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [[ -z $line ]] || grep -q 'No tests were found' "$log"; then
    CouldNotRun "$what (no test ran, ctest status $status)" "$log"
    return
  fi
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  failed=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
  mapfile -t skipped < <(SkippedTests "$log" "$buildDir/Testing/Temporary/LastTest.log")
  mapfile -t disabled < <(NotRunTests "$log" Disabled)
  Count "$what" $((total - failed - ${#skipped[@]})) $((failed + ${#skipped[@]} + ${#disabled[@]}))
  if ((failed)); then
    sed -n '/The following tests FAILED/,$p' "$log" | sed 's/^/    /'
  fi
  if ((${#skipped[@]} + ${#disabled[@]})); then
    Say "tests that did not run, each a failure:"
    for name in "${skipped[@]}"; do echo "    $name (skipped)"; done
    for name in "${disabled[@]}"; do echo "    $name (disabled)"; done
  fi
}

# NotRunTests CTEST_LOG WHY: the tests that ctest lists apart as not run for that reason
# ("NN - Name (Skipped)", "(Disabled)"), one a line.
NotRunTests() {
  sed -n '/The following tests did not run:/,/^$/p' "$1" | sed -nE "s/^[[:space:]]*[0-9]+ - (.+) \\($2\\)\$/\\1/p"
}

# SkippedTests CTEST_LOG LAST_TEST_LOG: the names of the tests that were skipped, one a line.
# ctest tells those it saw skipped; a test added by hand rather than discovered passes for
# ctest whatever it prints, so gtest's own line "[  SKIPPED ] Suite.Name (N ms)" in the
# output of every test, which ctest keeps in LastTest.log, is read too.
SkippedTests() {
  {
    NotRunTests "$1" Skipped
    [[ -f $2 ]] && sed -nE 's/^\[  SKIPPED \] ([^ ]+) \([0-9]+ ms\)$/\1/p' "$2"
  } | sort -u
}

Setup() {
  local log=$kLogDir/setup.log
  Logged "$log" "$kRoot/scripts/setup.sh" || CouldNotRun "setup" "$log"
}

# One check of the sources, counted as one test: its log, and on failure what it found.
SourceCheck() {
  local what=$1 log=$kLogDir/$2
  shift 2
  if Logged "$log" "$@"; then
    Count "$what" 1 0
  else
    Count "$what" 0 1
    grep -v '^+ ' "$log" | sed 's/^/    /'
  fi
}

# The sources follow .clang-format; no function in src/ is longer than 60 lines
# (tools/long_functions.py); the layers of src/ include only downward (tools/layering.py).
SourceChecks() {
  SourceCheck "formatting" format.log "$kRoot/scripts/format-check.sh"
  SourceCheck "function lengths" long-functions.log python3 "$kRoot/tools/long_functions.py" "$kRoot/src"
  SourceCheck "layering" layering.log python3 "$kRoot/tools/layering.py" "$kRoot/src"
}

NativeTier() {
  local log=$kLogDir/native.log start=$SECONDS
  if ! Logged "$log" cmake --preset native || ! Logged "$log" cmake --build --preset native; then
    CouldNotRun "native build" "$log"
    return
  fi
  Logged "$log" ctest --preset native --parallel "$(nproc)"
  CountCtest "native tests ($((SECONDS - start)) s)" "$log" $? "$kRoot/build/native"
}

# Builds the shipped win32 exe and, where 32-bit code cannot run here, the win64 build that
# the Windows tiers then test; sets gWinPreset when the build to test is there.
WindowsBuild() {
  local arch preset log start=$SECONDS
  arch=$(WineEnvArch) || { CouldNotRun "wine" /dev/null; return; }
  local targets
  for preset in win32 win64; do
    [[ $preset == win64 && $arch != win64 ]] && continue
    log=$kLogDir/build-$preset.log
    # The 32-bit build that no tier runs whole: the shipped exe, and the probe that reads its
    # clipboard from a 32-bit program (test_shipped_exe.sh); the release test packs it.
    targets=()
    [[ $preset == win32 && $arch != win32 ]] && targets=(--target Snapvane ctlprobe)
    if Logged "$log" cmake --preset "$preset" && Logged "$log" cmake --build --preset "$preset" "${targets[@]}"; then
      Say "built preset $preset ($((SECONDS - start)) s)"
    else
      CouldNotRun "build of preset $preset" "$log"
      [[ $preset == "$arch" ]] && return
    fi
  done
  [[ $arch == win64 ]] && Say "note: this machine cannot run 32-bit programs; the Windows tests run the win64 build"
  gWinPreset=$arch
}

# The sources built by a second compiler, clang for 32-bit mingw-w64, warnings as errors
# (preset clang-win32): one check. Nothing of that build runs; the shipped exe is gcc's.
SecondCompiler() {
  local what="second compiler: clang for mingw-w64, warnings as errors" log=$kLogDir/build-clang-win32.log
  local start=$SECONDS
  if Logged "$log" cmake --preset clang-win32 && Logged "$log" cmake --build --preset clang-win32; then
    Count "$what ($((SECONDS - start)) s)" 1 0
  else
    CouldNotRun "$what" "$log"
  fi
}

EnvironmentUp() {
  local log=$kLogDir/wine-env.log
  # The prefix and logs of a run stay for a look afterwards; the next run replaces them.
  WineEnvUp --name test --printer --full-disk >>"$log" 2>&1 || { CouldNotRun "test environment" "$log"; return 1; }
  return 0
}

WinTier() {
  local log=$kLogDir/win.log start=$SECONDS
  # One at a time: every test opens real windows on the one desktop, and focus is shared.
  Logged "$log" ctest --preset "$gWinPreset"
  CountCtest "Windows tests ($((SECONDS - start)) s)" "$log" $? "$kRoot/build/$gWinPreset"
}

E2eTier() {
  local buildDir=$kRoot/build/$gWinPreset
  export SNAPVANE_EXE=$buildDir/Snapvane.exe
  export WINPROBE=$buildDir/tests/e2e/winprobe.exe
  export E2E_LOG_DIR=$kLogDir/e2e
  mkdir -p "$E2E_LOG_DIR"
  local scripts=() name
  if ((${#gE2eNames[@]})); then
    for name in "${gE2eNames[@]}"; do scripts+=("$kRoot/tests/e2e/test_$name.sh"); done
  else
    scripts=("$kRoot"/tests/e2e/test_*.sh)
  fi
  local script base results status start passed failed
  for script in "${scripts[@]}"; do
    [[ -f $script ]] || { CouldNotRun "e2e: no $script" /dev/null; continue; }
    base=$(basename "$script" .sh)
    results=$E2E_LOG_DIR/$base.result
    rm -f "$results"
    start=$SECONDS
    # In the background, so that a Ctrl+C reaches the trap at once (timeout runs the test in
    # a process group of its own, which the terminal's signal does not reach).
    E2E_RESULT_FILE=$results timeout -k 10 "$kE2eTimeout" bash "$script" >"$E2E_LOG_DIR/$base.log" 2>&1 &
    gE2eChild=$!
    wait "$gE2eChild"
    status=$?
    gE2eChild=
    # The test's verdicts and what it said about each failure, for the person watching.
    awk '/^(ok|FAIL) / { print "    " $0; failing = /^FAIL/; next }
         failing && /^     / { print "    " $0; next } { failing = 0 }' "$E2E_LOG_DIR/$base.log"
    if [[ -f $results ]]; then
      read -r passed failed <"$results"
      Count "e2e $base ($((SECONDS - start)) s)" "$passed" "$failed"
      ((status == 0 || failed > 0)) || CouldNotRun "e2e $base ended with status $status" "$E2E_LOG_DIR/$base.log"
    else
      CouldNotRun "e2e $base (status $status, no result)" "$E2E_LOG_DIR/$base.log"
    fi
  done
}

Cleanup() {
  trap - EXIT INT TERM
  # The environment first: its end ends every wine process, so a running test stops waiting.
  WineEnvDown >>"$kLogDir/wine-env.log" 2>&1
  if [[ -n $gE2eChild ]]; then
    kill -TERM "$gE2eChild" 2>/dev/null
    wait "$gE2eChild" 2>/dev/null
  fi
}

Main() {
  while (($#)); do
    case $1 in
      --tier) gTiers+=("$2"); shift ;;
      --e2e) gE2eNames+=("$2"); gTiers+=(e2e); shift ;;
      -h | --help) sed -n '2,16p' "$0"; exit 0 ;;
      *) echo "unknown option $1" >&2; exit 2 ;;
    esac
    shift
  done
  ((${#gTiers[@]})) || gTiers=(native win e2e)
  local tiers=" ${gTiers[*]} "

  cd "$kRoot" || exit 1
  rm -rf "$kLogDir"
  mkdir -p "$kLogDir"
  export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
  # shellcheck source=scripts/wine-env.sh
  source "$kRoot/scripts/wine-env.sh"
  trap Cleanup EXIT
  trap 'Say "interrupted"; Cleanup; echo "$gPassed passed, $((gFailed + 1)) failed"; exit 130' INT TERM

  local start=$SECONDS
  Setup
  [[ $tiers == *" native "* ]] && SourceChecks
  [[ $tiers == *" native "* ]] && NativeTier
  if [[ $tiers == *" win "* || $tiers == *" e2e "* ]]; then
    [[ $tiers == *" win "* ]] && SecondCompiler
    WindowsBuild
    if [[ -n $gWinPreset ]] && EnvironmentUp; then
      [[ $tiers == *" win "* ]] && WinTier
      [[ $tiers == *" e2e "* ]] && E2eTier
    fi
    Cleanup
  fi
  Say "done in $((SECONDS - start)) s; logs in ${kLogDir#"$kRoot"/}"
  echo "$gPassed passed, $gFailed failed"
  ((gFailed == 0 && gPassed > 0))
}

Main "$@"
