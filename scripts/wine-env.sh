# shellcheck shell=bash
# A private environment for running Snapvane.exe and its tests under Wine: its own Xvfb on a
# display found free at run time, its own Wine prefix under build/wine/, a persistent
# wineserver, Wine's virtual desktop with its shell (taskbar, Start button) and, when asked, a
# private CUPS whose default printer writes PDF files. Source it, then:
#
#   WineEnvUp [--name NAME] [--size WxH] [--printer] [--full-disk] [--host-display]
#   "$WINE" some.exe ...     # DISPLAY, WINEPREFIX, WINEDEBUG, ... are exported
#   WineEnvDown              # ends, by PID, everything WineEnvUp started
#
# --name NAME      prefix build/wine/NAME, state (pids, logs, cups) build/wine/NAME.state
#                  (default "test"); one environment per name at a time (a lock says so)
# --size WxH       screen and virtual desktop size (default 1280x1024, at least that)
# --printer        private cupsd with a cups-pdf queue as the default printer; the PDFs land in
#                  $WINE_ENV_PDF_DIR. Beside it a second printer that Wine alone knows, never
#                  the default, whose jobs land in the file $WINE_ENV_SPARE_PRINTER_OUT; with
#                  WineEnvNoDefaultPrinter it is the only printer, and there is no default one
# --full-disk      a 256 KiB file system of its own as a drive, $WINE_ENV_FULL_DISK ("R:"),
#                  for writes that do not fit
# --host-display   use the X display in $DISPLAY (it must answer) instead of a private Xvfb,
#                  and no virtual desktop: the program's windows are ordinary windows there
#
# Exported: DISPLAY WINEPREFIX WINEARCH WINEDEBUG LC_ALL WINEDLLOVERRIDES WINE WINESERVER
# SNAPVANE_WINE_ARCH (win32 or win64) WINE_ENV_STATE, with --printer CUPS_SERVER
# WINE_ENV_PDF_DIR WINE_ENV_SPARE_PRINTER WINE_ENV_SPARE_PRINTER_OUT, with --full-disk
# WINE_ENV_FULL_DISK. $WINE_ENV_STATE/env holds the same exports, for a second shell to source.
#
# Faulty file systems for the tests of failing saves (root only; WineEnvDown undoes what is
# left): WineEnvMount tmpfs DIR SIZE, WineEnvMount ro DIR SOURCE, WineEnvMapDrive DIR (sets
# WINE_ENV_DRIVE), WineEnvUnmountAll.
#
# Windows programs are started by their file names with ".exe": a bare name goes through
# start.exe and ShellExecuteEx, one more process that can fail on a prefix's first start.
#
# Wine's processes are 32-bit for a win32 prefix. Where the kernel cannot run 32-bit programs
# (no IA-32 emulation, "Exec format error"), the environment is a 64-bit prefix run by wine64,
# for an x86_64 build of the same sources; SNAPVANE_WINE_ARCH says which one is in use. Set
# SNAPVANE_WINE_ARCH beforehand to choose. SNAPVANE_WINE_ARCH=wow32 is a 64-bit prefix whose
# 32-bit half is filled too, for the 32-bit exe emulated (scripts/emulate32/emulate32.sh, which
# makes it inside its namespace); SNAPVANE_WINE32 then names the loader that starts a 32-bit
# program.

WINE_ENV_ROOT=${WINE_ENV_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wine}
readonly kWineDesktopName=snapvane
readonly kWineLibDir=/usr/lib/wine

_WineEnvLog() { echo "[wine-env] $*" >&2; }

# Prints win32 when this machine can run 32-bit Wine, else win64 when wine64 is there.
WineEnvArch() {
  if [[ -n ${SNAPVANE_WINE_ARCH:-} ]]; then
    echo "$SNAPVANE_WINE_ARCH"
  elif "$kWineLibDir/wine" --version >/dev/null 2>&1; then
    echo win32
  elif [[ -x $kWineLibDir/wine64 ]]; then
    echo win64
  else
    _WineEnvLog "neither 32-bit Wine nor wine64 can run here"
    return 1
  fi
}

# The daemons below run in sessions of their own (setsid keeps the PID): a Ctrl+C in the
# terminal reaches the tests, not the environment under them, which WineEnvDown then ends.

# Waits up to $1 tenths of a second for the command "${@:2}" to succeed.
_WineEnvPoll() {
  local tenths=$1 i
  shift
  for ((i = 0; i < tenths; i++)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  "$@" >/dev/null 2>&1
}

# Ends the process whose PID is in file $1: TERM, then KILL after 5 s.
# _WineEnvStartedAt PID: when the process of that PID started (clock ticks since boot, field 22
# of its stat); nothing when there is none.
_WineEnvStartedAt() {
  local stat fields
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 0
  read -ra fields <<<"${stat##*) }"
  echo "${fields[19]}"
}

# _WineEnvWritePid PID FILE: the PID and its start, so that a PID the system has since given to
# another program is told apart from the process started here.
_WineEnvWritePid() { echo "$1 $(_WineEnvStartedAt "$1")" >"$2"; }

_WineEnvKillPidFile() {
  local file=$1 pid started
  [[ -f $file ]] || return 0
  read -r pid started <"$file"
  if [[ -n $pid && -n $started && $(_WineEnvStartedAt "$pid") == "$started" ]]; then
    kill "$pid" 2>/dev/null
    _WineEnvPoll 50 eval "! kill -0 $pid" || kill -9 "$pid" 2>/dev/null
  fi
  wait "$pid" 2>/dev/null
  rm -f "$file"
}

# Prints the PIDs of Wine's processes in the prefix $1: those run by a loader of Wine's that
# carry the prefix in their environment (shells that export it are not among them).
_WineEnvPrefixPids() {
  local dir pid exe
  for dir in /proc/[0-9]*; do
    pid=${dir#/proc/}
    exe=$(readlink "$dir/exe" 2>/dev/null) || continue
    [[ $exe == "$kWineLibDir"/* ]] || continue
    tr '\0' '\n' <"$dir/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$1" && echo "$pid"
  done
}

# Ends what still runs in the prefix $1 once its wineserver is gone: a service that was being
# started as the server ended waits for a server that never comes, for ever.
_WineEnvEndPrefix() {
  local pids pid
  mapfile -t pids < <(_WineEnvPrefixPids "$1")
  ((${#pids[@]})) || return 0
  _WineEnvLog "ending what is left in $1: ${pids[*]}"
  kill "${pids[@]}" 2>/dev/null
  for pid in "${pids[@]}"; do
    _WineEnvPoll 30 eval "! kill -0 $pid" || kill -9 "$pid" 2>/dev/null
  done
}

# Builds the template prefix once (wineboot -i takes ~12 s); each environment copies it (~1 s).
# A second try, from scratch, when the first fails: the log of the failed one is shown.
_WineEnvTemplate() {
  local template=$WINE_ENV_ROOT/template-$SNAPVANE_WINE_ARCH log=$WINE_ENV_ROOT/template.log
  local lockFd try
  exec {lockFd}>"$WINE_ENV_ROOT/template.lock"
  flock "$lockFd"
  for try in 1 2; do
    [[ -f $template/system.reg ]] && break
    _WineEnvLog "creating the template prefix $template (once)"
    rm -rf "$template.tmp"
    # Its own short-lived wineserver: the one for the template's path, gone after -w.
    if WINEPREFIX=$template.tmp "$WINE" wineboot.exe -i </dev/null >"$log" 2>&1 {lockFd}>&- &&
      WINEPREFIX=$template.tmp timeout 120 "$WINESERVER" -w; then
      mv "$template.tmp" "$template"
    else
      _WineEnvLog "wineboot failed (try $try of 2); its log:"
      sed 's/^/    /' "$log" >&2
      WINEPREFIX=$template.tmp timeout 10 "$WINESERVER" -k 2>/dev/null
      _WineEnvEndPrefix "$template.tmp"
    fi
  done
  if [[ ! -f $template/system.reg ]]; then
    exec {lockFd}>&-
    return 1
  fi
  # Debian's Wine does not load its own TrueType fonts from /usr/share/wine/fonts: without
  # Marlett the caption buttons show as the letters "0 1 r", without Tahoma captions and
  # dialogs fall back to bitmap fonts. In the prefix's Fonts folder they are found.
  local font
  for font in /usr/share/wine/fonts/*.ttf; do
    [[ -e $font && ! -e $template/drive_c/windows/Fonts/${font##*/} ]] &&
      cp "$font" "$template/drive_c/windows/Fonts/"
  done
  exec {lockFd}>&-
  echo "$template"
}

# Private Xvfb on the first free display: -displayfd lets the server pick one and tell us
# once it accepts connections, so two runs never race for a number.
_WineEnvXvfb() {
  local size=$1 state=$2
  : >"$state/display"
  setsid Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset \
    3>"$state/display" </dev/null >"$state/xvfb.log" 2>&1 {_WINE_ENV_LOCK_FD}>&- &
  _WineEnvWritePid $! "$state/xvfb.pid"
  if ! _WineEnvPoll 100 test -s "$state/display"; then
    _WineEnvLog "Xvfb did not start:"
    cat "$state/xvfb.log" >&2
    return 1
  fi
  DISPLAY=:$(tr -d '[:space:]' <"$state/display")
  export DISPLAY
}

# Private cupsd with one cups-pdf queue as the default printer; 32-bit Wine loads
# libcups2:i386 and asks the server named by CUPS_SERVER (read when winspool loads, so it
# must be exported before any wine process starts).
_WineEnvCups() {
  local state=$1 name=$2
  local root=$state/cups
  # Named after the checkout too: two checkouts on one machine each have an environment "test".
  local instance
  instance=snapvane-$name-$(cksum <<<"$WINE_ENV_ROOT" | cut -d' ' -f1)
  mkdir -p "$root"/{etc,spool/tmp,cache,state,log,pdf,cups-pdf-spool}
  chmod 0755 "$root" "$root/etc" "$root/pdf"
  chmod 1777 "$root/spool/tmp" "$root/cups-pdf-spool"
  chgrp lp "$root/spool" "$root/cache" 2>/dev/null
  chmod 0770 "$root/spool"
  cat >"$root/etc/cups-files.conf" <<EOF
ServerRoot $root/etc
RequestRoot $root/spool
TempDir $root/spool/tmp
CacheDir $root/cache
StateDir $root/state
AccessLog $root/log/access_log
ErrorLog $root/log/error_log
PageLog $root/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
User lp
Group lp
SystemGroup root lpadmin
FileDevice Yes
Sandboxing Relaxed
Printcap $root/printcap
EOF
  cat >"$root/etc/cupsd.conf" <<EOF
LogLevel info
Listen $root/cups.sock
Browsing No
BrowseLocalProtocols none
DefaultAuthType None
WebInterface No
PreserveJobFiles No
MaxJobs 0
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
  # cups-pdf reads its settings from /etc/cups/cups-pdf-<instance>.conf (a path compiled
  # into it); the instance is named in the queue's device URI.
  cat >"/etc/cups/cups-pdf-$instance.conf" <<EOF
Out $root/pdf
AnonDirName $root/pdf
Spool $root/cups-pdf-spool
Log $root/log
LogType 3
Grp lp
UserUMask 0022
Label 0
TitlePref 1
DecodeHexStrings 1
EOF
  echo "/etc/cups/cups-pdf-$instance.conf" >"$state/cups-instance-conf"
  setsid cupsd -f -c "$root/etc/cupsd.conf" -s "$root/etc/cups-files.conf" \
    </dev/null >"$root/log/cupsd.out" 2>&1 {_WINE_ENV_LOCK_FD}>&- &
  _WineEnvWritePid $! "$state/cupsd.pid"
  export CUPS_SERVER=$root/cups.sock
  if ! _WineEnvPoll 100 eval 'lpstat -r | grep -q "is running"'; then
    _WineEnvLog "cupsd did not start (see $root/log)"
    return 1
  fi
  # lpadmin warns that printer drivers are deprecated; the queue works all the same.
  lpadmin -p SnapvanePDF -E -v "cups-pdf:/$instance" -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
    -D "Snapvane test printer" >/dev/null 2>&1 || { _WineEnvLog "lpadmin failed"; return 1; }
  lpadmin -d SnapvanePDF >/dev/null 2>&1 || { _WineEnvLog "lpadmin -d failed"; return 1; }
  export WINE_ENV_PDF_DIR=$root/pdf
}

# The spare printer: Wine's printers from CUPS come and go with the server, and whenever CUPS
# has a printer Wine makes one of them the default (the first, when CUPS names none). A
# printer that only Wine knows stays, and is the default only when made so. Its driver is
# Wine's PostScript driver with the PDF queue's PPD; its port is a file. Registry lines for
# the run's .reg file; the PPD is copied into the prefix.
readonly kWineSparePrinter="Snapvane spare printer"
_WineEnvSparePrinter() {
  local out=$WINE_ENV_STATE/spare-printer.ps dir env
  for dir in w32x86 x64; do
    mkdir -p "$WINEPREFIX/drive_c/windows/system32/spool/drivers/$dir/3"
    cp /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd "$WINEPREFIX/drive_c/windows/system32/spool/drivers/$dir/3/SnapvaneSpare.ppd"
  done
  for env in 'Windows NT x86' 'Windows x64'; do
    printf '[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Environments\\%s\\Drivers\\Version-3\\%s]\n' \
      "$env" "$kWineSparePrinter"
    printf '"Driver"="wineps.drv"\n"Configuration File"="wineps.drv"\n"Data File"="SnapvaneSpare.ppd"\n'
    printf '"Datatype"="RAW"\n"Version"=dword:00000003\n\n'
  done
  printf '[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Printers\\%s]\n' "$kWineSparePrinter"
  printf '"Name"="%s"\n"Printer Driver"="%s"\n"Port"="LPT2:"\n' "$kWineSparePrinter" "$kWineSparePrinter"
  printf '"Print Processor"="WinPrint"\n"Datatype"="RAW"\n"Attributes"=dword:00000000\n\n'
  # gdi32 finds a printer's driver under Devices; Wine's spooler writes a port named in
  # Spooler into that Unix file.
  printf '[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Devices]\n"%s"="wineps.drv,LPT2:"\n\n' \
    "$kWineSparePrinter"
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Printing\\Spooler]\n"LPT2:"="%s"\n\n' "$out"
  export WINE_ENV_SPARE_PRINTER=$kWineSparePrinter WINE_ENV_SPARE_PRINTER_OUT=$out
}

# WineEnvNoDefaultPrinter: from here on this shell, and what it starts, sees a system with a
# printer but no default printer: CUPS out of reach, so Wine drops its CUPS printer and knows
# only the spare one, and no default. First the default is forgotten (Wine would otherwise
# make the spare printer the default when it drops the CUPS one). Nothing that runs with the
# CUPS server at the same time may print. Needs --printer.
WineEnvNoDefaultPrinter() {
  [[ -n ${WINE_ENV_SPARE_PRINTER:-} ]] || { _WineEnvLog "no spare printer: WineEnvUp --printer"; return 1; }
  export CUPS_SERVER=$WINE_ENV_STATE/no-cups.sock
  "$WINE" reg.exe delete 'HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows' /v Device /f \
    </dev/null >/dev/null 2>&1
  rm -f "$WINE_ENV_SPARE_PRINTER_OUT"
}

# ---- faulty file systems -----------------------------------------------------------------
# Each mount and drive letter is listed in a file of the state folder, one for each shell
# that made them, so that the shell, and in the end WineEnvDown, undoes exactly those.

# WineEnvMount tmpfs DIR SIZE: a file system of SIZE (256k, ...) at DIR, to be filled.
# WineEnvMount ro DIR SOURCE: the folder SOURCE, read-only, at DIR.
WineEnvMount() {
  local kind=$1 dir=$2 arg=$3
  mkdir -p "$dir" || return 1
  case $kind in
    tmpfs) mount -t tmpfs -o "size=$arg,mode=0777" snapvane-small-disk "$dir" || return 1 ;;
    ro)
      mount --bind "$arg" "$dir" || return 1
      mount -o remount,bind,ro "$dir" || { umount "$dir"; return 1; }
      ;;
    *) _WineEnvLog "WineEnvMount: unknown kind $kind"; return 2 ;;
  esac
  echo "mount $dir" >>"$WINE_ENV_STATE/faults.$BASHPID"
}

# WineEnvMapDrive DIR: the Unix folder DIR as the first free drive letter from R: on; sets
# WINE_ENV_DRIVE ("R:").
WineEnvMapDrive() {
  local letter link
  for letter in r s t u v w x y; do
    link=$WINEPREFIX/dosdevices/$letter:
    [[ -e $link || -L $link ]] && continue
    ln -s "$1" "$link" || return 1
    echo "drive $link" >>"$WINE_ENV_STATE/faults.$BASHPID"
    WINE_ENV_DRIVE=${letter^^}:
    return 0
  done
  _WineEnvLog "no free drive letter"
  return 1
}

# Undoes the mounts and drive letters of the list $1 (default: this shell's), the last first.
WineEnvUnmountAll() {
  local list=${1:-$WINE_ENV_STATE/faults.$BASHPID} kind path
  [[ -f $list ]] || return 0
  while read -r kind path; do
    case $kind in
      drive) rm -f "$path" ;;
      # A program that has its current folder there keeps it busy: then lazily.
      mount) mountpoint -q "$path" && { umount "$path" 2>/dev/null || umount -l "$path"; } ;;
    esac
  done < <(tac "$list")
  rm -f "$list"
}

# Registry of the run: no crash dialog (winedbg would wait for a click), and the virtual
# desktop with its shell, or none on a host display.
_WineEnvRegistry() {
  local size=$1 hostDisplay=$2 printer=$3 reg=$WINE_ENV_STATE/env.reg
  {
    printf 'REGEDIT4\n\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\n"ShowCrashDialog"=dword:00000000\n\n'
    if ((hostDisplay)); then
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\n"Desktop"=-\n\n'
    else
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\n"Desktop"="%s"\n\n' "$kWineDesktopName"
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\n"%s"="%s"\n\n' "$kWineDesktopName" "$size"
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops\\%s]\n"EnableShell"=dword:00000001\n\n' \
        "$kWineDesktopName"
    fi
    ((printer)) && _WineEnvSparePrinter
  } >"$reg"
  "$WINE" regedit.exe /S "Z:${reg//\//\\}" </dev/null >"$WINE_ENV_STATE/regedit.log" 2>&1
}

# The virtual desktop, made now rather than with the first program (it lives until the server
# ends), by explorer.exe itself. One that does not come (explorer ended, or no window within
# 30 s) is tried again, three times at most, and what explorer said is shown each time.
_WineEnvDesktop() {
  local size=$1 log=$WINE_ENV_STATE/explorer.log try i pid
  for ((try = 1; try <= 3; try++)); do
    setsid "$WINE" explorer.exe "/desktop=$kWineDesktopName,$size" </dev/null >"$log" 2>&1 {_WINE_ENV_LOCK_FD}>&- &
    pid=$!
    _WineEnvWritePid "$pid" "$WINE_ENV_STATE/explorer.pid"
    for ((i = 0; i < 300; i++)); do
      if xdotool search --name "^$kWineDesktopName - Wine desktop\$" >/dev/null 2>&1; then
        ((try > 1)) && _WineEnvLog "the virtual desktop appeared at try $try"
        return 0
      fi
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    _WineEnvLog "the virtual desktop did not appear (try $try of 3); explorer said:"
    sed 's/^/    /' "$log" >&2
    _WineEnvKillPidFile "$WINE_ENV_STATE/explorer.pid"
  done
  return 1
}

WineEnvUp() {
  local name=test size=1280x1024 printer=0 fullDisk=0 hostDisplay=0
  while (($#)); do
    case $1 in
      --name) name=$2; shift ;;
      --size) size=$2; shift ;;
      --printer) printer=1 ;;
      --full-disk) fullDisk=1 ;;
      --host-display) hostDisplay=1 ;;
      *) _WineEnvLog "unknown option $1"; return 2 ;;
    esac
    shift
  done
  local width=${size%x*} height=${size#*x}
  ((width < 1280)) && width=1280
  ((height < 1024)) && height=1024
  size=${width}x$height

  SNAPVANE_WINE_ARCH=$(WineEnvArch) || return 1
  export SNAPVANE_WINE_ARCH
  if [[ $SNAPVANE_WINE_ARCH == win32 ]]; then
    export WINE=$kWineLibDir/wine WINEARCH=win32
  else
    export WINE=$kWineLibDir/wine64 WINEARCH=win64
  fi
  [[ $SNAPVANE_WINE_ARCH == wow32 ]] && export SNAPVANE_WINE32=$kWineLibDir/wine
  WINESERVER=$kWineLibDir/wineserver64
  [[ -x $WINESERVER ]] || WINESERVER=$kWineLibDir/wineserver32
  export WINESERVER
  export WINEDEBUG=-all
  # UTF-8 on the Linux side: Wine takes the locale's character set for file names, the command
  # line and the keyboard's characters, and in the bare "C" locale a name outside ASCII (a
  # Cyrillic or CJK folder, an emoji) would not come through as it is.
  export LC_ALL=C.UTF-8
  # No Mono/Gecko install prompts, no menu entries or .desktop files written to $HOME.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

  mkdir -p "$WINE_ENV_ROOT"
  export WINE_ENV_STATE=$WINE_ENV_ROOT/$name.state
  # One environment per name: a second run in the same checkout would share the prefix.
  exec {_WINE_ENV_LOCK_FD}>"$WINE_ENV_ROOT/$name.lock"
  if ! flock -n "$_WINE_ENV_LOCK_FD"; then
    _WineEnvLog "the environment '$name' is in use by another run"
    exec {_WINE_ENV_LOCK_FD}>&-
    return 1
  fi
  # What an earlier run that did not end well left mounted there, first.
  local list
  for list in "$WINE_ENV_STATE"/faults.*; do [[ -f $list ]] && WineEnvUnmountAll "$list"; done
  rm -rf "$WINE_ENV_STATE"
  mkdir -p "$WINE_ENV_STATE"
  echo "$name" >"$WINE_ENV_STATE/name"

  if ((hostDisplay)); then
    if ! xdpyinfo >/dev/null 2>&1; then
      _WineEnvLog "the display '${DISPLAY:-}' does not answer"
      return 1
    fi
  else
    _WineEnvXvfb "$size" "$WINE_ENV_STATE" || return 1
  fi

  local template
  template=$(_WineEnvTemplate) || return 1
  export WINEPREFIX=$WINE_ENV_ROOT/$name
  rm -rf "$WINEPREFIX"
  cp -a "$template" "$WINEPREFIX"

  if ((printer)); then
    _WineEnvCups "$WINE_ENV_STATE" "$name" || return 1
  fi

  # A persistent wineserver: each wine process then starts in a fraction of a second. -f keeps
  # it in the foreground so $! is the server itself; its stdio is detached, or a pipe that a
  # wine process was started into (| tee, ctest) stays open until the server exits.
  setsid "$WINESERVER" -f -p </dev/null >"$WINE_ENV_STATE/wineserver.log" 2>&1 {_WINE_ENV_LOCK_FD}>&- &
  local serverPid=$!
  _WineEnvWritePid "$serverPid" "$WINE_ENV_STATE/wineserver.pid"
  # Wait for its socket (the server works in its own directory and creates it there): a wine
  # process started before it exists would start a second server of its own.
  if ! _WineEnvPoll 100 test -S "/proc/$serverPid/cwd/socket"; then
    _WineEnvLog "wineserver did not start (see $WINE_ENV_STATE/wineserver.log)"
    return 1
  fi

  _WineEnvRegistry "$size" "$hostDisplay" "$printer"
  if ((!hostDisplay)); then
    _WineEnvDesktop "$size" || return 1
  fi

  if ((fullDisk)); then
    if ! WineEnvMount tmpfs "$WINE_ENV_STATE/full-disk" 256k || ! WineEnvMapDrive "$WINE_ENV_STATE/full-disk"; then
      _WineEnvLog "no small file system for --full-disk (mount needs root)"
      return 1
    fi
    export WINE_ENV_FULL_DISK=$WINE_ENV_DRIVE
  fi

  {
    local var
    for var in DISPLAY WINEPREFIX WINEARCH WINEDEBUG LC_ALL WINEDLLOVERRIDES WINE WINESERVER \
      SNAPVANE_WINE_ARCH SNAPVANE_WINE32 WINE_ENV_STATE CUPS_SERVER WINE_ENV_PDF_DIR WINE_ENV_SPARE_PRINTER \
      WINE_ENV_SPARE_PRINTER_OUT WINE_ENV_FULL_DISK; do
      [[ -n ${!var:-} ]] && printf 'export %s=%q\n' "$var" "${!var}"
    done
  } >"$WINE_ENV_STATE/env"
  _WineEnvLog "up: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX ($SNAPVANE_WINE_ARCH)${CUPS_SERVER:+ printer}${WINE_ENV_FULL_DISK:+ full disk $WINE_ENV_FULL_DISK}"
}

WineEnvDown() {
  local state=${WINE_ENV_STATE:-}
  [[ -n $state && -d $state ]] || return 0
  # Every wine process of this prefix (the programs under test, explorer, services) ends with
  # its wineserver; then the server, cupsd and Xvfb by their PIDs.
  [[ -n ${WINEPREFIX:-} ]] && timeout 10 "$WINESERVER" -k 2>/dev/null
  _WineEnvKillPidFile "$state/explorer.pid"
  _WineEnvKillPidFile "$state/wineserver.pid"
  [[ -n ${WINEPREFIX:-} ]] && _WineEnvEndPrefix "$WINEPREFIX"
  local list
  for list in "$state"/faults.*; do [[ -f $list ]] && WineEnvUnmountAll "$list"; done
  _WineEnvKillPidFile "$state/cupsd.pid"
  if [[ -f $state/cups-instance-conf ]]; then
    rm -f "$(<"$state/cups-instance-conf")" "$state/cups-instance-conf"
  fi
  _WineEnvKillPidFile "$state/xvfb.pid"
  if [[ -n ${_WINE_ENV_LOCK_FD:-} ]]; then
    exec {_WINE_ENV_LOCK_FD}>&-
    unset _WINE_ENV_LOCK_FD
  fi
  unset WINE_ENV_STATE CUPS_SERVER WINE_ENV_PDF_DIR WINE_ENV_SPARE_PRINTER WINE_ENV_SPARE_PRINTER_OUT \
    WINE_ENV_FULL_DISK
}
