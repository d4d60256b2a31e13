#!/bin/sh
# Checks that the launcher's window, frame included, lies inside the screen it
# opens on, on screens of common laptop sizes and scales, and that at 100 % it
# is the designed 700 by 700. Each screen is an Xvfb screen of that size; the
# scale is Qt's (QT_SCALE_FACTOR) on Linux, and Windows' own display scale
# (Wine's LogPixels) for the Windows program.
#
#   check-screen-fit.sh linux PROGRAM SAMPLE-TOOL WORK-FOLDER
#   check-screen-fit.sh windows LAUNCHER-FOLDER WORK-FOLDER   (WINEPREFIX set)
set -eu
kind=$1
if [ "$kind" = windows ]; then
    launcher=$2
    work=$3
else
    program=$2
    work=$4
    rm -rf "$work/sample"
    "$3" "$work/sample" >/dev/null
    launcher="$work/sample/Napoleon/data/ZOLM/Launcher"
fi
mkdir -p "$work"
. "$(dirname "$0")/xscreen.sh"

fail() {
    echo "check-screen-fit: $*" >&2
    exit 1
}

stop() {
    [ -z "${started:-}" ] || kill "$started" 2>/dev/null || true
    [ "$kind" != windows ] || wineserver -k 2>/dev/null || true
    xscreen_stop
    wait 2>/dev/null || true
    started=""
}
trap stop EXIT

# One screen: WIDTHxHEIGHT and a scale in per cent.
check() {
    size=$1
    percent=$2
    xscreen_start "$size" "$work"
    if [ "$kind" = windows ]; then
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
            /d $((96 * percent / 100)) /f >/dev/null 2>&1
        (cd "$launcher" && exec env -u WINEPATH wine "Velmarch 8.4.exe") >"$work/fit.log" 2>&1 &
    else
        (cd "$launcher" && exec env QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$(echo "$percent" |
            awk '{ print $1 / 100 }')" XDG_DATA_HOME="$work/sample/AppData" "$program") \
            >"$work/fit.log" 2>&1 &
    fi
    started=$!
    window_wait "$work/fit.log"
    x=$(window_value 'Absolute upper-left X')
    y=$(window_value 'Absolute upper-left Y')
    width=$(window_value Width)
    height=$(window_value Height)
    screen_width=${size%x*}
    screen_height=${size#*x}
    # The X window is the window's inside. The system places the frame at the
    # screen's corner (Xvfb has no window manager to draw one; Wine keeps the
    # Windows frame around the inside), and a Windows frame is as wide on the
    # right and at the bottom as on the left.
    right=$((x + width + x))
    bottom=$((y + height + x))
    echo "check-screen-fit: $size at $percent %: inside ${width}x$height, frame to $right,$bottom"
    [ "$right" -le "$screen_width" ] && [ "$bottom" -le "$screen_height" ] ||
        fail "the window does not fit on $size at $percent %"
    if [ "$percent" = 100 ]; then
        [ "$width" = 700 ] && [ "$height" = 700 ] || fail "at 100 % the window is not 700x700"
    fi
    stop
}

check 1920x1080 150
check 1920x1080 175
check 1366x768 125
check 1024x768 100
