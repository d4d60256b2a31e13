# Shared by the checks that start the launcher on a screen of its own and look
# at its window. Sourced, not run; the caller defines fail().
#
#   xscreen_start SIZE FOLDER   an Xvfb screen of WIDTHxHEIGHT at 96 dpi; exports
#                               DISPLAY and sets xscreen_pid
#   xscreen_stop
#   window_wait LOG             waits up to 30 s for the launcher's window; sets
#                               window (xwininfo's report) or fails with LOG's text
#   window_value FIELD          a number from the report ("Width", "Absolute upper-left X")
#   window_shows_background SHOT
#                               photographs the window into SHOT and prints how far
#                               its top differs from the background picture (0 alike)

window_title="Velmarch v8.4"

xscreen_start() {
    # Xvfb picks a free display and names it once it takes connections.
    rm -f "$2/xscreen-display"
    Xvfb -displayfd 3 -screen 0 "$1x24" -dpi 96 -nolisten tcp 3>"$2/xscreen-display" \
        >/dev/null 2>&1 &
    xscreen_pid=$!
    for _ in $(seq 1 100); do
        [ -s "$2/xscreen-display" ] && break
        sleep 0.1
    done
    [ -s "$2/xscreen-display" ] || fail "Xvfb did not start"
    DISPLAY=":$(cat "$2/xscreen-display")"
    export DISPLAY
}

xscreen_stop() {
    [ -z "${xscreen_pid:-}" ] || kill "$xscreen_pid" 2>/dev/null || true
    xscreen_pid=""
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
    convert "$1" -crop 700x220+0+0 +repage \
        \( "$(dirname "$0")/../resources/bg.jpg" -filter point -resize 700x700 \
        -crop 700x220+0+0 +repage \) -metric RMSE -compare -format '%[distortion]' info:
}
