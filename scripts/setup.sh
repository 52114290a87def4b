#!/bin/bash
# Installs what building, running and testing Snapvane needs on Debian 12, and nothing that is
# there already. Run as root; quiet when there is nothing to do.
#
#   scripts/setup.sh          install what is missing
#   scripts/setup.sh --check  only report what is missing (exit 1 if anything is)
set -u
export DEBIAN_FRONTEND=noninteractive

# Build: the native compiler for the pure logic and its sanitizer run, mingw-w64 for the exe.
# The x86_64 cross compiler and wine64 serve machines whose kernel cannot run 32-bit programs
# (no IA-32 emulation): there the same sources are built for x86_64 and tested under wine64.
# clang builds the sources a second time, for mingw-w64 with warnings as errors.
readonly kBuildPackages=(
  cmake g++ make git clang-format clang
  g++-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  googletest
)
# Run and test: Wine on a private Xvfb, X tools to look at and drive it, readers independent of
# the program (PIL, ImageMagick, xclip, poppler), a private CUPS with a PDF printer for printing,
# chattr for unwritable folders.
readonly kRunPackages=(
  wine wine32:i386 wine64 fonts-wine
  xvfb xserver-xephyr x11-utils xdotool imagemagick xclip
  python3 python3-pil
  cups-daemon cups-client printer-driver-cups-pdf libcups2:i386 poppler-utils
  e2fsprogs unzip  # unzip: the release test unpacks the zip
  # The shipped 32-bit exe where the kernel runs no 32-bit programs: 32-bit Wine under qemu's
  # user-mode emulation (tests/e2e/test_shipped_exe.sh, scripts/emulate32/).
  qemu-user-static
  # The benchmark (scripts/bench.sh): Xlib for the native floor, the tools it is compared with
  # (import is ImageMagick's), gnuplot for its chart.
  libx11-dev scrot x11-apps gnuplot-nox
)

# Prints the packages of "$@" that are not installed, one a line.
MissingPackages() {
  local pkg status
  for pkg in "$@"; do
    status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$pkg" 2>/dev/null)
    [[ $status == ii* ]] || echo "$pkg"
  done
}

Main() {
  local check=0
  [[ ${1:-} == --check ]] && check=1

  local missing
  mapfile -t missing < <(MissingPackages "${kBuildPackages[@]}" "${kRunPackages[@]}")
  # wine32:i386 and libcups2:i386 can only be found once dpkg knows the i386 architecture.
  local needI386=0
  dpkg --print-foreign-architectures | grep -qx i386 || needI386=1
  ((${#missing[@]} == 0 && needI386 == 0)) && return 0

  if ((check)); then
    ((needI386)) && echo "setup: the i386 architecture is not enabled" >&2
    ((${#missing[@]})) && echo "setup: missing packages: ${missing[*]}" >&2
    return 1
  fi
  if ((EUID != 0)); then
    echo "setup: missing ${missing[*]}; run scripts/setup.sh as root" >&2
    return 1
  fi

  ((needI386)) && dpkg --add-architecture i386
  local log
  log=$(mktemp /tmp/snapvane-setup.XXXXXX)
  if ! { apt-get update -q && apt-get install -y -q "${missing[@]}"; } >"$log" 2>&1; then
    tail -n 30 "$log" >&2
    echo "setup: installing ${missing[*]} failed (full log: $log)" >&2
    return 1
  fi
  rm -f "$log"
}

Main "$@"
