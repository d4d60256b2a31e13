#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the players' zip as a player gets it: unpacked into the launcher's
# folder of a sample installation, every library it loads is in it or is part
# of Windows, none is there for nothing, each has its licence in the zip
# (THIRD-PARTY.txt, licenses/), and the program started under Wine
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
"$(dirname "$0")/check-third-party.sh" "$launcher" $(cd "$launcher" && find . -iname '*.dll' | sed 's|^\./||')

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

# The program on a screen of its own. Wine's desktop process, started above
# with no display, must end first: a program started while it runs would
# open its window on no screen.
. "$(dirname "$0")/xscreen.sh"
wineserver -w
xscreen_start 1024x768 "$build"
trap 'wineserver -k 2>/dev/null || true; xscreen_stop' EXIT
# At 100 %, whatever scale an earlier check left in the prefix.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
started=$(date +%s)
(cd "$launcher" && env -u WINEPATH \
    wine "Velmarch 8.4.exe" >"$build/package-check.log" 2>&1 &)
window_wait "$build/package-check.log"
echo "check-windows-package: the window appeared after $(($(date +%s) - started)) s"
difference=$(window_shows_background "$screenshot")
awk "BEGIN { exit !($difference < 0.02) }" ||
    fail "the window does not show its background picture (difference $difference)"
echo "check-windows-package: window $(window_value Width)x$(window_value Height), background drawn (difference $difference)"
