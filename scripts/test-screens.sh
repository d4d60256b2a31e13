# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the checks that start the launcher on a screen of its own and look
# at its window. Sourced, not run; the caller defines fail().
#
#   xscreen_start SIZE FOLDER   an Xvfb screen of WIDTHxHEIGHT at 96 dpi; exports
#                               DISPLAY and sets xscreen_pid
#   xscreen_start_two SIZE SIZE FOLDER
#                               two screens side by side as one desktop (Xinerama, as
#                               a graphics card with two monitors shows them); the
#                               first is the primary one
#   xscreen_start_resizable SIZE FOLDER
#                               one screen whose size xscreen_resize changes, as a
#                               monitor unplugged and another plugged in on its
#                               connector (a nested X server with RandR)
#   xscreen_resize SIZE
#   window_manager_start FOLDER [no-taskbar]
#                               icewm, which frames windows and by default keeps a
#                               taskbar at the bottom, announcing the work area beside it
#   xscreen_stop                stops the screens and the window manager
#   window_wait LOG             waits up to 30 s for the launcher's window; sets
#                               window (xwininfo's report) or fails with LOG's text
#   window_value FIELD          a number from the report ("Width", "Absolute upper-left X")
#   window_id                   the window's X id
#   press_classic RECORD LOG    clicks "Classic battles" and waits up to 20 s for the
#                               stub game's RECORD, or fails with LOG's text
#   window_shows_background SHOT
#                               photographs the window into SHOT and prints how far
#                               its top differs from the background picture at the
#                               window's size (0 alike)

window_title="Velmarch v8.4"

xscreen_start() {
    # Xvfb picks a free display and names it once it takes connections.
    rm -f "$2/xscreen-display"
    Xvfb -displayfd 3 -screen 0 "$1x24" -dpi 96 -nolisten tcp -noreset 3>"$2/xscreen-display" \
        >/dev/null 2>&1 &
    xscreen_pid=$!
    display_wait "$2/xscreen-display" Xvfb
    export DISPLAY
}

# X servers started with -displayfd name their display in FILE once they take
# connections; sets DISPLAY to it.
display_wait() {
    for _ in $(seq 1 100); do
        [ -s "$1" ] && break
        sleep 0.1
    done
    [ -s "$1" ] || fail "$2 did not start"
    DISPLAY=":$(cat "$1")"
}

# Xvfb's own screens cannot lie side by side, so a nested X server (Xephyr)
# shows two heads in one Xvfb screen. Without RandR, which would report the
# nested server's single window, programs see the heads through Xinerama.
xscreen_start_two() {
    xscreen_start "$((${1%x*} + ${2%x*}))x$(printf '%s\n%s\n' "${1#*x}" "${2#*x}" | sort -n | tail -n 1)" "$3"
    rm -f "$3/xscreen-display"
    Xephyr -displayfd 3 -screen "$1" -screen "$2" +xinerama -extension RANDR -dpi 96 -noreset \
        -nolisten tcp 3>"$3/xscreen-display" >/dev/null 2>&1 &
    xscreen_nested_pid=$!
    display_wait "$3/xscreen-display" Xephyr
}

xscreen_start_resizable() {
    xscreen_start 2560x1600 "$2"
    xscreen_outer=$DISPLAY
    rm -f "$2/xscreen-display"
    Xephyr -displayfd 3 -screen "$1" -resizeable -dpi 96 -nolisten tcp -noreset 3>"$2/xscreen-display" \
        >/dev/null 2>&1 &
    xscreen_nested_pid=$!
    display_wait "$2/xscreen-display" Xephyr
}

# Xephyr takes its host window's new size as its screen's, through RandR.
xscreen_resize() {
    DISPLAY=$xscreen_outer xdotool windowsize \
        "$(DISPLAY=$xscreen_outer xdotool search --class Xephyr | head -n 1)" "${1%x*}" "${1#*x}"
}

window_manager_start() {
    mkdir -p "$1/icewm"
    if [ "${2:-}" = no-taskbar ]; then
        echo "ShowTaskBar=0" >"$1/icewm/preferences"
    else
        : >"$1/icewm/preferences"
    fi
    ICEWM_PRIVCFG="$1/icewm" icewm >/dev/null 2>&1 &
    xscreen_wm_pid=$!
    # Ready once it names itself on the root window.
    for _ in $(seq 1 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    if [ "${2:-}" != no-taskbar ]; then
        for _ in $(seq 1 100); do
            xprop -root _NET_WORKAREA 2>/dev/null | grep -q = && break
            sleep 0.1
        done
    fi
}

xscreen_stop() {
    for pid in ${xscreen_wm_pid:-} ${xscreen_nested_pid:-} ${xscreen_pid:-}; do
        kill "$pid" 2>/dev/null || true
    done
    xscreen_pid=""
    xscreen_nested_pid=""
    xscreen_wm_pid=""
}

window_wait() {
    window=""
    for _ in $(seq 1 60); do
        window=$(xwininfo -name "$window_title" 2>/dev/null || true)
        [ -n "$window" ] && break
        sleep 0.5
    done
    [ -n "$window" ] || fail "no window titled \"$window_title\" appeared in 30 s; it printed: $(cat "$1")"
    # It may still be placed and painted.
    sleep 1
    window=$(xwininfo -name "$window_title")
}

# The frame the window manager drew around the window: "left right top bottom".
# It names it once the window is mapped, which may be a moment after.
window_frame() {
    for _ in $(seq 1 20); do
        frame=$(xprop -id "$(window_id)" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ,)
        [ -n "$frame" ] && break
        sleep 0.25
    done
    echo "$frame"
}

# The window's X id, for xprop and xdotool.
window_id() {
    echo "$window" | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p'
}

window_value() {
    echo "$window" | sed -n "s/^ *$1: *\(-*[0-9]*\).*/\1/p"
}

window_shows_background() {
    sleep 1 # a moment to paint
    import -window root -crop \
        "$(window_value Width)x$(window_value Height)+$(window_value 'Absolute upper-left X')+$(window_value 'Absolute upper-left Y')" \
        +repage "$1"
    # Above the controls the window shows nothing but its background: the
    # compiled-in picture scaled without smoothing. Without it (no JPEG
    # plugin) the window is black there.
    size=$(window_value Width)
    top="${size}x$((size * 220 / 700))+0+0"
    convert "$1" -crop "$top" +repage \
        \( "$(dirname "$0")/../resources/bg.jpg" -filter point -resize "${size}x$size!" \
        -crop "$top" +repage \) -metric RMSE -compare -format '%[distortion]' info:
}

# "Classic battles", where the window draws it at 100 %.
press_classic() {
    xdotool mousemove --sync $(($(window_value 'Absolute upper-left X') + 517)) \
        $(($(window_value 'Absolute upper-left Y') + 273)) click 1
    for _ in $(seq 1 200); do
        [ -f "$1" ] && break
        sleep 0.1
    done
    [ -f "$1" ] || fail "the game was not started; the launcher printed: $(cat "$2")"
}
