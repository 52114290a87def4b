# shellcheck shell=bash
# The shipped 32-bit Snapvane.exe on a machine whose kernel cannot run 32-bit programs (no IA-32
# emulation: "Exec format error"). 32-bit Wine runs under Debian's qemu-user-static, which the
# kernel reaches through a binfmt_misc entry registered in a private user and mount namespace
# (each user namespace has a binfmt_misc of its own from Linux 6.7 on): nothing outside the
# namespace changes. Wine's 64-bit side (wineserver, explorer, services, 64-bit programs) runs
# natively; only the 32-bit processes are emulated. Source it, then:
#
#   Emulate32Run SCRIPT ARGS...   runs the script again inside a new namespace; its exit status
#                                 is the script's. Inside, EMULATE32_INSIDE=1.
#   Emulate32Setup                inside: binfmt_misc mounted, qemu-i386 registered for 32-bit
#                                 ELF programs, and the preload that mends qemu 7.2's
#                                 MAP_FIXED_NOREPLACE (noreplace.c) built and exported
#
# The Wine prefix for it is SNAPVANE_WINE_ARCH=wow32 of scripts/wine-env.sh, made inside the
# namespace: made outside, the prefix's 32-bit half stays empty.

kEmulate32Dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
readonly kEmulate32Dir
readonly kQemuI386=/usr/bin/qemu-i386-static

_Emulate32Log() { echo "[emulate32] $*" >&2; }

Emulate32Run() {
  if [[ ! -x $kQemuI386 ]]; then
    _Emulate32Log "no $kQemuI386 (package qemu-user-static)"
    return 1
  fi
  # Root inside is root outside (uid 0 maps to 0): files made inside stay root's.
  EMULATE32_INSIDE=1 unshare --user --map-root-user --mount --fork bash "$@"
}

# The preload, for 32-bit processes only: ld.so puts its library folder for $LIB, so a 64-bit
# process finds an empty stand-in of the same name.
_Emulate32Preload() {
  local dir=${WINE_ENV_ROOT:?}/emulate32
  local lib32=$dir/lib/i386-linux-gnu/noreplace.so lib64=$dir/lib/x86_64-linux-gnu/noreplace.so
  if [[ ! -f $lib32 || $kEmulate32Dir/noreplace.c -nt $lib32 || ! -f $lib64 ]]; then
    mkdir -p "${lib32%/*}" "${lib64%/*}"
    gcc -m32 -O2 -fPIC -shared -nostdlib "$kEmulate32Dir/noreplace.c" -o "$lib32" || return 1
    gcc -O2 -fPIC -shared -nostdlib -x c /dev/null -o "$lib64" || return 1
  fi
  export LD_PRELOAD="$dir/\$LIB/noreplace.so"
}

Emulate32Setup() {
  [[ -n ${EMULATE32_INSIDE:-} ]] || { _Emulate32Log "Emulate32Setup runs inside Emulate32Run only"; return 1; }
  mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc || return 1
  # i386 ELF executables (class 32, little-endian, machine 3), as qemu's own configuration
  # names them; "F" opens the emulator now, so it is found from any mount namespace.
  local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  printf '%s' ":snapvane-i386:M::$magic:$mask:$kQemuI386:F" >/proc/sys/fs/binfmt_misc/register || return 1
  _Emulate32Preload || { _Emulate32Log "the preload could not be built (gcc -m32)"; return 1; }
}

# Emulate32Hung PID: true when the emulated program shows what its hang under qemu looks like:
# two or more of its threads waiting in read(2) on one and the same file (a wake-up pipe of
# Wine's), which never happens to the program running natively.
Emulate32Hung() {
  local task fds=()
  for task in /proc/"$1"/task/*; do
    read -r number fd _ <"$task/syscall" 2>/dev/null || continue
    [[ $number == 0 ]] && fds+=("$fd")  # x86_64 read: qemu's host threads are 64-bit
  done
  ((${#fds[@]} >= 2)) && [[ -n $(printf '%s\n' "${fds[@]}" | sort | uniq -d) ]]
}
