#!/bin/bash
# The window pair as a person meets it: the control panel and the capture frame appear side by
# side, the frame is a red band with its grip around a see-through inside, minimizing and
# restoring the panel carries the frame along, "Minimize this" minimizes the panel alone,
# Alt+F4 on the frame only hides it, and closing the panel ends the program whatever state
# the frame is in.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/lib_capture.sh
source "$(dirname "$0")/lib_capture.sh"

readonly kApp='Snapvane 1.1'  # the application window, which carries the program's taskbar button
readonly kWsPopup=0x80000000 kWsCaption=0x00C00000 kWsThickFrame=0x00040000
readonly kWsSysMenu=0x00080000 kWsMinimizeBox=0x00020000 kWsMaximizeBox=0x00010000
readonly kWsExAppWindow=0x00040000 kWsExLayered=0x00080000
readonly kLwaColorKey=0x1

# The frame's picture in a screenshot, pixel by pixel (the backdrop shows behind its inside).
CheckFramePicture() {
  local what=$1 shot
  WinInfo "$kFrame" || return
  shot=$(Screenshot "$2")
  Check "$what" FramePixels "$shot" "$WIN_X" "$WIN_Y" "$WIN_W" "$WIN_H" "$gBackdropX" "$gBackdropY"
}

# A window of another program below where the frame appears, showing a pattern known pixel by
# pixel; it is there first, as Wine shows a later window above the earlier ones.
readonly gBackdropX=690 gBackdropY=60
ShowBackdrop "$gBackdropX" "$gBackdropY" 580 420 || Fail "backdrop window shows"

# ---- first run: appearance, minimize and restore of the pair, Alt+F4 on the frame, close --
StartPair
Ok "the control panel and the frame appear"

WinInfo "$kPanel"
CheckEq "control panel at 100,100, outer size 574 x 346" "100,100 574x346" "$WIN_X,$WIN_Y ${WIN_W}x$WIN_H"
if HasBits "$WIN_STYLE" $((kWsSysMenu | kWsMinimizeBox)) && ! HasBits "$WIN_STYLE" $kWsMaximizeBox &&
  ! HasBits "$WIN_STYLE" $kWsThickFrame; then
  Ok "control panel: system menu and minimize box, no maximize box, no sizing border"
else
  Fail "control panel: system menu and minimize box, no maximize box, no sizing border" "$(WinLine "$kPanel")"
fi

WinInfo "$kFrame"
CheckEq "frame beside the panel (left = 100 + 574 + 30) at its layout size" "704,100 336x192" \
  "$WIN_X,$WIN_Y ${WIN_W}x$WIN_H"
CheckEq "frame: client area and window the same size" "${WIN_W}x$WIN_H" "${WIN_CLIENT_W}x$WIN_CLIENT_H"
if HasBits "$WIN_STYLE" $kWsPopup && ! HasBits "$WIN_STYLE" $kWsCaption && ! HasBits "$WIN_STYLE" $kWsThickFrame; then
  Ok "frame: a borderless pop-up window"
else
  Fail "frame: a borderless pop-up window" "$(WinLine "$kFrame")"
fi
if HasBits "$WIN_EXSTYLE" $((kWsExAppWindow | kWsExLayered)) && [[ $WIN_OWNER == 0x0 ]]; then
  Ok "frame: layered, own taskbar button, no owner"
else
  Fail "frame: layered, own taskbar button, no owner" "$(WinLine "$kFrame")"
fi
CheckEq "frame: colour key 0x008000, colour key only" "0x008000 $kLwaColorKey" "$WIN_KEY $WIN_LAYERED_FLAGS"
eval "$(Probe taskbar "$kFrame")"
CheckEq "the taskbar shows a button for \"$kFrame\"" 1 "${BUTTON_VISIBLE:-0}"

CheckFramePicture "frame painted as its paint routine draws it; the window below shows through its inside" pair

ClickCaptionButton "$kPanel" min || Fail "the panel's minimize box is found"
if WaitWin "$kFrame" iconic 5000; then
  Ok "the panel's minimize box minimizes the frame too"
else
  Fail "the panel's minimize box minimizes the frame too" "$(WinLine "$kFrame")"
fi
WinInfo "$kPanel"
if [[ $WIN_VISIBLE == 0 || $WIN_ICONIC == 1 ]]; then
  Ok "the control panel no longer shows"
else
  Fail "the control panel no longer shows" "$(WinLine "$kPanel")"
fi
eval "$(Probe taskbar "$kApp")"
CheckEq "the program's taskbar button stays" 1 "${BUTTON_VISIBLE:-0}"

ClickTaskbarButton "$kApp" || Fail "the program's taskbar button is found"
if WaitWin "$kPanel" normal 5000 && WaitWin "$kFrame" normal 5000; then
  Ok "restoring from the taskbar button restores both windows"
else
  Fail "restoring from the taskbar button restores both windows" "$(WinLine "$kPanel")" "$(WinLine "$kFrame")"
  LogWindows
fi
WinInfo "$kPanel"
panelAt="$WIN_X,$WIN_Y"
WinInfo "$kFrame"
CheckEq "both back where they were" "100,100 704,100" "$panelAt $WIN_X,$WIN_Y"
sleep 0.5
CheckFramePicture "frame painted again after the restore" restored

# "show border" on either page raises the frame above a window of another program opened
# over it.
ClickTab 'Advanced capturing'
# The link of the advanced page is a panel of its own; the simple page's, a label, lies on
# its page, which has the same place in the window.
if PageAt Panel2 'show border'; then
  panel2="$CTL_CX $CTL_CY"
  shot=$(Screenshot show-border-advanced)
  Check "\"show border\" shows in red on the advanced page" "$kPython" -c '
import sys; from PIL import Image
x, y, w, h = map(int, sys.argv[2:6])
im = Image.open(sys.argv[1]).convert("RGB").crop((x, y, x + w, y + h))
red = sum(1 for p in im.getdata() if p[0] > 180 and p[1] < 80 and p[2] < 80)
sys.exit(0 if red >= 20 else "%d red pixels where the link is" % red)' "$shot" "$CTL_X" "$CTL_Y" "$CTL_W" "$CTL_H"
  # shellcheck disable=SC2086  # the two numbers of the point
  RaisesFrame '"show border" on the advanced page raises the frame above a window that covered it' Click $panel2
  ClickTab 'Simple capturing'
  Place Label3
  RaisesFrame '"show border" on the simple page raises the frame above a window that covered it' \
    Click $((PLACE_X + 20)) $((PLACE_Y + 5))
fi

# Alt+F4 goes to the window with the focus: a click on the frame's top band gives it that.
WinInfo "$kFrame"
Click $((WIN_X + WIN_W / 2)) $((WIN_Y + 2))
WinInfo "$kFrame"
Log "after the click on the band: $(WinLine "$kFrame") foreground=$WIN_FOREGROUND"
Keys alt+F4
if WaitWin "$kFrame" hidden 5000; then
  Ok "Alt+F4 on the frame hides it"
else
  Fail "Alt+F4 on the frame hides it" "$(WinLine "$kFrame")"
fi
sleep 1
Check "the program goes on after Alt+F4 on the frame" SnapvaneRunning
WinInfo "$kPanel"
CheckEq "the control panel still shows" "1 0" "$WIN_VISIBLE $WIN_ICONIC"

ClickCaptionButton "$kPanel" close || Fail "the panel's close box is found"
if WaitSnapvaneExit 10; then
  Ok "closing the control panel ends the program (frame hidden)"
else
  Fail "closing the control panel ends the program (frame hidden)" "$(WinLine "$kPanel")"
  StopSnapvane
fi

# ---- second run: "Minimize this", then close with the frame minimized -------------------
StartPair
WinInfo "$kPanel"
PAGE_X=$WIN_CLIENT_X PAGE_Y=$WIN_CLIENT_Y  # "Minimize this" lies on the window's client area
ClickPlace Minimize
if WaitWin "$kPanel" iconic 5000; then
  Ok "\"Minimize this\" minimizes the control panel"
else
  Fail "\"Minimize this\" minimizes the control panel" "$(WinLine "$kPanel")"
fi
sleep 0.5
WinInfo "$kFrame"
CheckEq "... and the frame stays showing where it was" "1 0 704,100" "$WIN_VISIBLE $WIN_ICONIC $WIN_X,$WIN_Y"
WinInfo "$kApp"
CheckEq "... and the application is not minimized" 0 "$WIN_ICONIC"
CheckFramePicture "... and the frame still shows its band around a see-through inside" minimize-this

# The frame minimized on its own and the panel back: no person's way leads from the state
# above to this one without other features, so winprobe puts the windows there.
Probe show "$kFrame" min && WaitWin "$kFrame" iconic 5000 >/dev/null
Probe show "$kPanel" restore && WaitWin "$kPanel" normal 5000 >/dev/null
WinInfo "$kFrame"
[[ $WIN_ICONIC == 1 ]] || Fail "winprobe minimizes the frame" "$(WinLine "$kFrame")"
ClickCaptionButton "$kPanel" close || Fail "the panel's close box is found"
if WaitSnapvaneExit 10; then
  Ok "closing the control panel ends the program (frame minimized)"
else
  Fail "closing the control panel ends the program (frame minimized)" "$(WinLine "$kPanel")"
  StopSnapvane
fi
