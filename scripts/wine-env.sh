# shellcheck shell=bash
# A private environment for running Snapvane.exe and its tests under Wine: its own Xvfb on a
# display found free at run time, its own Wine prefix under build/wine/, a persistent
# wineserver, Wine's virtual desktop with its shell (taskbar, Start button) and, when asked, a
# private CUPS whose default printer writes PDF files. Source it, then:
#
#   WineEnvUp [--name NAME] [--size WxH] [--printer] [--host-display]
#   "$WINE" some.exe ...     # DISPLAY, WINEPREFIX, WINEDEBUG, ... are exported
#   WineEnvDown              # ends, by PID, everything WineEnvUp started
#
# --name NAME      prefix build/wine/NAME, state (pids, logs, cups) build/wine/NAME.state
#                  (default "test"); one environment per name at a time (a lock says so)
# --size WxH       screen and virtual desktop size (default 1280x1024, at least that)
# --printer        private cupsd with a cups-pdf queue as the default printer; the PDFs land in
#                  $WINE_ENV_PDF_DIR
# --host-display   use the X display in $DISPLAY (it must answer) instead of a private Xvfb,
#                  and no virtual desktop: the program's windows are ordinary windows there
#
# Exported: DISPLAY WINEPREFIX WINEARCH WINEDEBUG WINEDLLOVERRIDES WINE WINESERVER
# SNAPVANE_WINE_ARCH (win32 or win64) WINE_ENV_STATE, and with --printer CUPS_SERVER and
# WINE_ENV_PDF_DIR. $WINE_ENV_STATE/env holds the same exports, for a second shell to source.
#
# Wine's processes are 32-bit for a win32 prefix. Where the kernel cannot run 32-bit programs
# (no IA-32 emulation, "Exec format error"), the environment is a 64-bit prefix run by wine64,
# for an x86_64 build of the same sources; SNAPVANE_WINE_ARCH says which one is in use. Set
# SNAPVANE_WINE_ARCH beforehand to choose.

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
_WineEnvKillPidFile() {
  local file=$1 pid
  [[ -f $file ]] || return 0
  pid=$(<"$file")
  if [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null
    _WineEnvPoll 50 eval "! kill -0 $pid" || kill -9 "$pid" 2>/dev/null
  fi
  wait "$pid" 2>/dev/null
  rm -f "$file"
}

# Builds the template prefix once (wineboot -i takes ~12 s); each environment copies it (~1 s).
_WineEnvTemplate() {
  local template=$WINE_ENV_ROOT/template-$SNAPVANE_WINE_ARCH
  local lockFd
  exec {lockFd}>"$WINE_ENV_ROOT/template.lock"
  flock "$lockFd"
  if [[ ! -f $template/system.reg ]]; then
    _WineEnvLog "creating the template prefix $template (once)"
    rm -rf "$template.tmp"
    # Its own short-lived wineserver: the one for the template's path, gone after -w.
    if ! WINEPREFIX=$template.tmp "$WINE" wineboot -i </dev/null >"$WINE_ENV_ROOT/template.log" 2>&1; then
      _WineEnvLog "wineboot failed, see $WINE_ENV_ROOT/template.log"
      exec {lockFd}>&-
      return 1
    fi
    WINEPREFIX=$template.tmp "$WINESERVER" -w
    mv "$template.tmp" "$template"
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
    3>"$state/display" </dev/null >"$state/xvfb.log" 2>&1 &
  echo $! >"$state/xvfb.pid"
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
    </dev/null >"$root/log/cupsd.out" 2>&1 &
  echo $! >"$state/cupsd.pid"
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

# Registry of the run: no crash dialog (winedbg would wait for a click), and the virtual
# desktop with its shell, or none on a host display.
_WineEnvRegistry() {
  local size=$1 hostDisplay=$2 reg=$WINE_ENV_STATE/env.reg
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
  } >"$reg"
  "$WINE" regedit /S "Z:${reg//\//\\}" </dev/null >/dev/null 2>&1
}

WineEnvUp() {
  local name=test size=1280x1024 printer=0 hostDisplay=0
  while (($#)); do
    case $1 in
      --name) name=$2; shift ;;
      --size) size=$2; shift ;;
      --printer) printer=1 ;;
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
  WINESERVER=$kWineLibDir/wineserver64
  [[ -x $WINESERVER ]] || WINESERVER=$kWineLibDir/wineserver32
  export WINESERVER
  export WINEDEBUG=-all
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
  setsid "$WINESERVER" -f -p </dev/null >"$WINE_ENV_STATE/wineserver.log" 2>&1 &
  echo $! >"$WINE_ENV_STATE/wineserver.pid"
  # Wait for its socket (the server works in its own directory and creates it there): a wine
  # process started before it exists would start a second server of its own.
  local serverPid
  serverPid=$(<"$WINE_ENV_STATE/wineserver.pid")
  if ! _WineEnvPoll 100 test -S "/proc/$serverPid/cwd/socket"; then
    _WineEnvLog "wineserver did not start (see $WINE_ENV_STATE/wineserver.log)"
    return 1
  fi

  _WineEnvRegistry "$size" "$hostDisplay"
  if ((!hostDisplay)); then
    # Create the desktop now rather than with the first program; it lives until the server ends.
    setsid "$WINE" explorer "/desktop=$kWineDesktopName,$size" </dev/null >"$WINE_ENV_STATE/explorer.log" 2>&1 &
    echo $! >"$WINE_ENV_STATE/explorer.pid"
    if ! _WineEnvPoll 200 xdotool search --name "^$kWineDesktopName - Wine desktop\$"; then
      _WineEnvLog "the virtual desktop did not appear"
      return 1
    fi
  fi

  {
    local var
    for var in DISPLAY WINEPREFIX WINEARCH WINEDEBUG WINEDLLOVERRIDES WINE WINESERVER \
      SNAPVANE_WINE_ARCH WINE_ENV_STATE CUPS_SERVER WINE_ENV_PDF_DIR; do
      [[ -n ${!var:-} ]] && printf 'export %s=%q\n' "$var" "${!var}"
    done
  } >"$WINE_ENV_STATE/env"
  _WineEnvLog "up: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX ($SNAPVANE_WINE_ARCH)${CUPS_SERVER:+ printer}"
}

WineEnvDown() {
  local state=${WINE_ENV_STATE:-}
  [[ -n $state && -d $state ]] || return 0
  # Every wine process of this prefix (the programs under test, explorer, services) ends with
  # its wineserver; then the server, cupsd and Xvfb by their PIDs.
  [[ -n ${WINEPREFIX:-} ]] && timeout 10 "$WINESERVER" -k 2>/dev/null
  _WineEnvKillPidFile "$state/explorer.pid"
  _WineEnvKillPidFile "$state/wineserver.pid"
  _WineEnvKillPidFile "$state/cupsd.pid"
  if [[ -f $state/cups-instance-conf ]]; then
    rm -f "$(<"$state/cups-instance-conf")" "$state/cups-instance-conf"
  fi
  _WineEnvKillPidFile "$state/xvfb.pid"
  if [[ -n ${_WINE_ENV_LOCK_FD:-} ]]; then
    exec {_WINE_ENV_LOCK_FD}>&-
    unset _WINE_ENV_LOCK_FD
  fi
  unset WINE_ENV_STATE CUPS_SERVER WINE_ENV_PDF_DIR
}
