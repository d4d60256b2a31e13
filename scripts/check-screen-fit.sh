#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that the launcher's window, frame included, lies inside the work area
# of the screen it is on: on screens of common laptop sizes and scales with a
# taskbar, and on two screens side by side at different scales, opened on
# each and moved to the other. At 100 %, where it fits, it is the designed
# 700 by 700. On the Steam Deck's 1280 by 800 its smallest text is at least
# 12 pixels high. On Linux, under Plasma's settings (its own font DPI) the
# window looks exactly as it does without them, and a screen that shrinks
# and grows back takes the window with it. The window manager is icewm,
# which draws a frame and a taskbar; the scale is Qt's
# (QT_SCREEN_SCALE_FACTORS) on Linux and Windows' own display scale (Wine's
# LogPixels, one for every screen) for the Windows program.
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
. "$(dirname "$0")/test-screens.sh"

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

# Starts the launcher at these per-cent scales, one per screen.
start() {
    if [ "$kind" = windows ]; then
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
            /d $((96 * $1 / 100)) /f >/dev/null 2>&1
        # Wine draws the Windows frame itself, as Windows does, instead of
        # leaving it to the window manager; the X window is then the window
        # with its frame, placed by Wine in the work area the taskbar leaves.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
        # A Linux desktop may ask every Qt program for Wayland, and Proton
        # passes that on to the Windows program.
        (cd "$launcher" && exec env -u WINEPATH QT_QPA_PLATFORM=wayland wine "Velmarch 8.4.exe") \
            >"$work/fit.log" 2>&1 &
    else
        factors=$(for percent in "$@"; do echo "$percent"; done | awk '{ printf "%s%s", sep, $1 / 100; sep = ";" }')
        if [ "${desktop:-}" = plasma ]; then
            # Plasma's scale turns Qt's own off and sets a font DPI to match.
            desktop_settings="QT_AUTO_SCREEN_SCALE_FACTOR=0 QT_FONT_DPI=$((96 * $1 / 100))"
        else
            # Qt reads 96 dpi from the screen's size in whole millimetres (96.1
            # for 1366 pixels); Windows says 96.
            desktop_settings="QT_FONT_DPI=96"
        fi
        # shellcheck disable=SC2086
        (cd "$launcher" && exec env QT_QPA_PLATFORM=xcb $desktop_settings QT_SCREEN_SCALE_FACTORS="$factors" \
            XDG_DATA_HOME="$work/sample/AppData" "$program") >"$work/fit.log" 2>&1 &
    fi
    started=$!
    window_wait "$work/fit.log"
}

# Prints where the window is on AREA ("X Y WIDTH HEIGHT", the work area) and
# fails unless the window and its frame lie inside. The Linux program's X
# window is the window's inside, framed by the window manager; Wine's is the
# window with the frame Wine draws.
measure() {
    what=$1
    set -- $2
    x=$(window_value 'Absolute upper-left X')
    y=$(window_value 'Absolute upper-left Y')
    width=$(window_value Width)
    height=$(window_value Height)
    if [ "$kind" = windows ]; then
        set -- "$@" 0 0 0 0
    else
        set -- "$@" $(window_frame)
    fi
    [ $# = 8 ] || fail "the window manager named no frame for the window"
    left=$((x - $5))
    top=$((y - $7))
    right=$((x + width + $6))
    bottom=$((y + height + $8))
    echo "check-screen-fit: $what: window ${width}x$height at $x,$y, with its frame $left,$top to $right,$bottom in $3x$4+$1+$2"
    [ "$left" -ge "$1" ] && [ "$top" -ge "$2" ] && [ "$right" -le $(($1 + $3)) ] &&
        [ "$bottom" -le $(($2 + $4)) ] || fail "the window does not fit on $what"
}

# The height in pixels of the window's smallest text, "Screenshot mode" (13
# points at 100 %), from the top of its h and d to its foot: the lowest run of
# rows with gold ink in the options' column between the theme list and the
# campaigns (Wine's window, with the frame it draws, lies a little lower). A
# row gold nearly across is the list's, not text.
smallest_text() {
    width=$(window_value Width)
    import -window root -crop "${width}x$(window_value Height)+$(window_value 'Absolute upper-left X')+$(window_value 'Absolute upper-left Y')" \
        +repage "$work/text.png"
    convert "$work/text.png" -crop "$((130 * width / 700))x$((80 * width / 700))+$((30 * width / 700))+$((345 * width / 700))" \
        +repage txt:- |
        awk 'NR > 1 { split($1, at, /[,:]/); gsub(/[()]/, "", $2); split($2, c, ",")
                     if (c[2] > 50 && c[2] > 0.9 * c[1] && c[2] > 2 * c[3]) gold[at[2] + 0]++
                     if (at[2] + 0 > last) last = at[2] + 0
                     if (at[1] + 1 > wide) wide = at[1] + 1 }
             function ink(y) { return gold[y] > 0 && gold[y] < 0.9 * wide }
             END { for (foot = last; foot >= 0 && !ink(foot); foot--) ;
                   for (top = foot; top > 0 && ink(top - 1); top--) ;
                   print foot < 0 ? 0 : foot - top + 1 }'
}

# The work area the window manager announces beside its taskbar.
work_area() {
    xprop -root _NET_WORKAREA | sed -n 's/.*= *//p' | tr -d , | cut -d' ' -f1-4
}

# One screen WIDTHxHEIGHT with a taskbar, at a scale in per cent; the
# window's width and smallest text kept in window-WIDTHxHEIGHT-SCALE.
check() {
    xscreen_start "$1" "$work"
    window_manager_start "$work"
    start "$2"
    measure "$1 at $2 %${desktop:+ under Plasma's settings} with a taskbar" "$(work_area)"
    text=$(smallest_text)
    echo "check-screen-fit: $1 at $2 %: the smallest text is $text pixels high"
    if [ "$1" = 1280x800 ]; then
        [ "$text" -ge 12 ] || fail "on $1 at $2 % the smallest text is under 12 pixels high"
    fi
    # At 100 %, where it fits, the window is as designed.
    if [ "$2" = 100 ] && [ "$1" != 1024x600 ] && [ "$kind" = windows ]; then
        # Wine's window is 700 by 700 with the frame around it.
        [ "$(window_value Width)" -gt 700 ] && [ "$(window_value Width)" -le 720 ] ||
            fail "at 100 % the window is not 700 pixels wide"
    elif [ "$2" = 100 ] && [ "$1" != 1024x600 ]; then
        [ "$(window_value Width)" = 700 ] && [ "$(window_value Height)" = 700 ] ||
            fail "at 100 % the window is not 700x700"
    fi
    echo "$(window_value Width) $text" >"$work/window-$1-$2${desktop:+-$desktop}"
    stop
}

# Plasma's settings on the screen of an earlier check: text is sized in the
# window's pixels, not by the font DPI, so window and text are as large.
check_plasma() {
    desktop=plasma
    check "$1" "$2"
    desktop=""
    [ "$(cat "$work/window-$1-$2-plasma")" = "$(cat "$work/window-$1-$2")" ] ||
        fail "under Plasma's settings window and smallest text are $(cat "$work/window-$1-$2-plasma") pixels, not $(cat "$work/window-$1-$2")"
}

# A screen that shrinks to SMALLER and grows back, as when a monitor is
# unplugged and a smaller one, then the first, is plugged in on its
# connector: the window fits each time and is back at its size at the end,
# its background drawn anew for that scale.
check_resized() {
    xscreen_start_resizable "$1" "$work"
    window_manager_start "$work"
    start "$2"
    measure "$1 at $2 %" "$(work_area)"
    before=$(window_value Width)
    for size in "$3" "$1"; do
        xscreen_resize "$size"
        sleep 2
        window=$(xwininfo -name "$window_title")
        measure "the screen resized to $size" "$(work_area)"
        difference=$(window_shows_background "$work/resized.png")
        awk "BEGIN { exit !($difference < 0.02) }" ||
            fail "on the screen resized to $size the background is not drawn at the window's size (difference $difference)"
        echo "check-screen-fit: the background drawn at the window's size (difference $difference)"
    done
    [ "$(window_value Width)" = "$before" ] ||
        fail "the window is $(window_value Width) pixels wide after the screen grew back, not $before"
    stop
}

# Two screens side by side, the first the primary one: the window opens on
# it and is moved to the second, its frame to that screen's corner.
check_two() {
    xscreen_start_two "$1" "$3" "$work"
    # X11 has one work area for the whole desktop, so programs take each
    # screen whole; without a taskbar the screens are the work areas.
    window_manager_start "$work" no-taskbar
    start "$2" "$4"
    first_area="0 0 ${1%x*} ${1#*x}"
    second_area="${1%x*} 0 ${3%x*} ${3#*x}"
    measure "$1 at $2 % beside $3 at $4 %, opened" "$first_area"
    # Wine does not hear of a window moved by another X client, so the
    # Windows program is only opened on each screen.
    if [ "$kind" = windows ]; then
        stop
        return
    fi
    set -- "$@" $(window_frame)
    xdotool windowmove --sync "$(window_id)" $((${1%x*} + $5)) "$7" 2>/dev/null || true
    sleep 1
    window=$(xwininfo -name "$window_title")
    measure "moved to $3 at $4 %" "$second_area"
    stop
}

check 1920x1080 150
check 1920x1080 175
check 1366x768 125
check 1366x768 100
# The Steam Deck's screen.
check 1280x800 100
check 1280x800 125
check 1024x768 100
# A netbook's screen, where not even 7/8 fits: the window shrinks to fit whole.
check 1024x600 100
if [ "$kind" = windows ]; then
    check_two 1366x768 125 1920x1080 125
    check_two 1920x1080 125 1366x768 125
else
    check_two 1920x1080 150 1366x768 100
    check_two 1366x768 125 1920x1080 150
    check_plasma 1920x1080 150
    check_resized 1920x1080 150 1366x768
fi
