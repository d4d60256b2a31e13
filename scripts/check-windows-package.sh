#!/bin/sh
# Checks the players' zip as a player gets it: unpacked into the launcher's
# folder of a sample installation, every library it loads is in it or is part
# of Windows, none is there for nothing, and the program started under Wine
# (on an Xvfb screen, with no path to the build's Qt) shows its window with
# the background picture drawn. Keeps a screenshot of the window, and what
# the program printed in BUILD-FOLDER/package-check.log.
#
#   check-windows-package.sh ZIP BUILD-FOLDER SCREENSHOT
set -eu
zip=$1
build=$2
screenshot=$3

export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
sample="$build/package-check"
rm -rf "$sample"
mkdir -p "$sample"
wineboot --init

# The sample installation is laid out by the Windows build's own tool, with
# the Windows stub game.
qt_bin=$(sed -n 's/^Qt5Core_DIR:PATH=\(.*\)\/lib\/cmake\/Qt5Core$/\1\/bin/p' "$build/CMakeCache.txt")
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
WINEPATH="Z:$qt_bin;Z:$runtime;Z:/usr/x86_64-w64-mingw32/lib" \
    wine "$build/bin/make_sample_installation.exe" "Z:$sample" >/dev/null
launcher="$sample/Napoleon/data/ZOLM/Launcher"
(cd "$launcher" && cmake -E tar xf "$zip")

fail() {
    echo "check-windows-package: $*" >&2
    exit 1
}

# Every import of every program and library in the zip.
imports() {
    find "$launcher" -iname '*.exe' -o -iname '*.dll' | while read -r file; do
        x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p'
    done | tr 'A-Z' 'a-z' | sort -u
}
system32="$WINEPREFIX/drive_c/windows/system32"
for dll in $(imports); do
    [ -e "$launcher/$dll" ] || ls "$launcher" | grep -qix "$dll" && continue
    ls "$system32" | grep -qix "$dll" || fail "$dll is loaded but neither packed nor part of Windows"
done
for dll in $(cd "$launcher" && ls *.dll); do
    imports | grep -qix "$dll" || fail "$dll is packed but nothing loads it"
done

# The program on a screen of its own. Xvfb picks a free display and names
# it once it takes connections; Wine started before that shows no window.
# Wine's desktop process, started above with no display, must end first: a
# program started while it runs would open its window on no screen.
wineserver -w
rm -f "$build/xvfb-display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$build/xvfb-display" >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do
    [ -s "$build/xvfb-display" ] && break
    sleep 0.1
done
[ -s "$build/xvfb-display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$build/xvfb-display")"
(cd "$launcher" && env -u WINEPATH \
    wine "Velmarch 8.4.exe" >"$build/package-check.log" 2>&1 &)

title="Velmarch v8.4"
geometry=""
started=$(date +%s)
for _ in $(seq 1 60); do
    geometry=$(xwininfo -name "$title" 2>/dev/null || true)
    [ -n "$geometry" ] && break
    sleep 0.5
done
[ -n "$geometry" ] || fail "no window titled \"$title\" appeared in 30 s; it printed: $(cat "$build/package-check.log")"
echo "check-windows-package: the window appeared after $(($(date +%s) - started)) s"
value() { echo "$geometry" | sed -n "s/^ *$1: *\([0-9]*\).*/\1/p"; }
# Give the window a moment to paint before it is photographed.
sleep 2
import -window root -crop "$(value Width)x$(value Height)+$(value 'Absolute upper-left X')+$(value 'Absolute upper-left Y')" \
    +repage "$screenshot"

# Above the controls the window shows nothing but its background: the
# compiled-in picture scaled without smoothing. Without it (no JPEG plugin)
# the window is black there.
picture="$(dirname "$0")/../resources/bg.jpg"
difference=$(convert "$screenshot" -crop 700x220+0+0 +repage \
    \( "$picture" -filter point -resize 700x700 -crop 700x220+0+0 +repage \) \
    -metric RMSE -compare -format '%[distortion]' info:)
awk "BEGIN { exit !($difference < 0.02) }" ||
    fail "the window does not show its background picture (difference $difference)"
echo "check-windows-package: window $(value Width)x$(value Height), background drawn (difference $difference)"
